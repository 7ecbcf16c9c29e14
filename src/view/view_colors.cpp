// The HSL conversion and the automatic colour sequence.
#include "view/view_colors.h"

#include "view/view_globals.h"

#include <cmath>

const double g_autoColorHues[12] = {0, 120, 240, 60, 180, 300, 90, 210, 330, 30, 150, 270};
const double g_autoColorLightness[3] = {0.85, 0.7, 0.55};
const double g_autoColorSaturation[2] = {1.0, 0.5};
int g_autoColorHueIndex = 0;
int g_autoColorLightnessIndex = 0;
int g_autoColorSaturationIndex = 0;

namespace {

double HueComponent(double p, double q, double t) {
    if (t < 0.0)
        t += 1.0;
    if (t > 1.0)
        t -= 1.0;
    if (6.0 * t < 1.0)
        return p + (q - p) * 6.0 * t;
    if (2.0 * t < 1.0)
        return q;
    if (3.0 * t < 2.0)
        return p + (q - p) * 6.0 * (2.0 / 3.0 - t);
    return p;
}

} // namespace

void HslToRgb(double rgb[3], double hue, double saturation, double lightness) {
    if (saturation == 0.0) {
        rgb[0] = rgb[1] = rgb[2] = lightness;
        return;
    }
    double q =
        lightness < 0.5 ? lightness * (1.0 + saturation) : lightness + saturation - lightness * saturation;
    double p = 2.0 * lightness - q;
    rgb[0] = HueComponent(p, q, hue + 1.0 / 3.0);
    rgb[1] = HueComponent(p, q, hue);
    rgb[2] = HueComponent(p, q, hue - 1.0 / 3.0);
}

BYTE HxColorChannel(double v) {
    return BYTE(static_cast<long long>(std::trunc(v * 255.0 + 0.5)) & 0xFF);
}

COLORREF NextAutoColor() {
    double hue = g_autoColorHues[g_autoColorHueIndex] / 360.0;
    double saturation = g_autoColorSaturation[g_autoColorSaturationIndex];
    double lightness = g_autoColorLightness[g_autoColorLightnessIndex];
    if (g_backgroundColor[0] + g_backgroundColor[1] + g_backgroundColor[2] < 2.0f)
        lightness = 1.0 - lightness;
    double rgb[3];
    HslToRgb(rgb, hue, saturation, lightness);

    if (++g_autoColorHueIndex >= 12) {
        g_autoColorHueIndex = 0;
        if (++g_autoColorLightnessIndex >= 3) {
            g_autoColorLightnessIndex = 0;
            g_autoColorSaturationIndex = (g_autoColorSaturationIndex + 1) % 2;
        }
    }
    return RGB(HxColorChannel(rgb[0]), HxColorChannel(rgb[1]), HxColorChannel(rgb[2]));
}

void HxResetAutoColors() {
    g_autoColorHueIndex = 0;
    g_autoColorLightnessIndex = 0;
    g_autoColorSaturationIndex = 0;
}
