// The preferences dialog's fields: filling them from the drawing defaults, the presets, and applying
// them to the defaults, the fonts and OpenGL.
#include "app/preferences.h"

#include "model/model_globals.h"
#include "view/gl_context.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

IMPLEMENT_DYNAMIC(CDlgPreferonces, CDialog)

const int CDlgPreferonces::kColorButtons[kColorCount] = {1127, 1134, 1128, 1135, 1129,
                                                         1136, 1130, 1137, 1132, 1138};
const char16_t* const CDlgPreferonces::kColorNames[kColorCount] = {
    u"背景", u"选中", u"动点", u"静点", u"直线", u"曲线", u"标签", u"度量", u"文本", u"表格"};
const int CDlgPreferonces::kPresetButtons[kPresetCount] = {1027, 1049, 1056, 1046};
const char16_t* const CDlgPreferonces::kPresetNames[kPresetCount] = {u"白板投影", u"黑屏展示", u"打印输出",
                                                                     u"网页插图"};
const char16_t* const CDlgPreferonces::kSizes[kSizeCount] = {u" 8", u"12", u"14", u"16", u"18", u"20",
                                                             u"22", u"24", u"26", u"32", u"36"};

namespace {

// The nine object colours in the order of the colour buttons after the background.
CRgba* const kObjectColors[9] = {&g_colorSelection, &g_colorFreePoint, &g_colorPoint,
                                 &g_colorObject,    &g_colorArcSolid,  &g_colorLabel,
                                 &g_colorValue,     &g_colorText,      &g_colorTable};

struct Preset {
    COLORREF colors[CDlgPreferonces::kColorCount];
    const char16_t* size;
    float lineWidth;
    float pointSize;
};

const Preset kPresets[CDlgPreferonces::kPresetCount] = {
    {{RGB(255, 255, 255), RGB(255, 0, 255), RGB(255, 0, 0), RGB(128, 0, 0), RGB(0, 0, 128), RGB(0, 128, 0),
      RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 152), RGB(64, 64, 64)},
     u"18",
     2.0f,
     6.0f},
    {{RGB(0, 0, 0), RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 0, 255), RGB(0, 255, 0),
      RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 0), RGB(128, 128, 128)},
     u"18",
     1.5f,
     4.5f},
    {{RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0),
      RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(64, 64, 64)},
     u"12",
     1.5f,
     2.0f},
    {{RGB(255, 255, 255), RGB(255, 0, 255), RGB(255, 0, 0), RGB(128, 0, 0), RGB(0, 0, 128), RGB(0, 128, 0),
      RGB(0, 0, 0), RGB(128, 0, 128), RGB(0, 0, 152), RGB(64, 64, 64)},
     u"12",
     1.5f,
     3.0f},
};

CString PointsText(int pixels) {
    return HxFormat(u"%d", CDlgPreferonces::PointsFromPixels(pixels));
}

void SetLight(float* light, float a, float b, float c, float d) {
    light[0] = a;
    light[1] = b;
    light[2] = c;
    light[3] = d;
}

} // namespace

CDlgPreferonces::CDlgPreferonces() : CDialog(IDD), m_lineWidth(g_lineWidth), m_pointSize(g_pointSize) {}

int CDlgPreferonces::PointsFromPixels(int pixels) {
    return (pixels * 72 + 48) / 96;
}

int CDlgPreferonces::PixelsFromPoints(const CString& points) {
    const std::string text = points.ToQString().toStdString();
    double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value))
        value = 0.0;
    value = std::clamp(value, -1e6, 1e6);
    return std::clamp(int(value * 96.0 / 72.0 + 0.5), 8, 500);
}

void CDlgPreferonces::OnInitDialog() {
    m_colors[kBackground] = RGB(BYTE(g_backgroundColor[0] * 255.0f), BYTE(g_backgroundColor[1] * 255.0f),
                                BYTE(g_backgroundColor[2] * 255.0f));
    for (int i = 0; i < 9; ++i)
        m_colors[i + 1] = kObjectColors[i]->ToColorRef();
    m_labelFontName = g_labelFontName;
    m_measureFontName = g_textFontName;
    m_fps = g_animationFps;
    m_labelSize = PointsText(g_labelFontHeight);
    m_measureSize = PointsText(g_fontHeight);
    m_disableDoubleClick = g_disableDoubleClick ? TRUE : FALSE;
    m_rotateRelativeToScreen = g_trackballMode ? TRUE : FALSE;
}

void CDlgPreferonces::ApplyPreset(int preset) {
    if (preset < 0 || preset >= kPresetCount)
        return;
    const Preset& p = kPresets[preset];
    std::copy(p.colors, p.colors + kColorCount, m_colors);
    m_labelFontName = u"Times New Roman";
    m_measureFontName = u"Times New Roman";
    m_labelSize = p.size;
    m_measureSize = p.size;
    m_lineWidth = p.lineWidth;
    m_pointSize = p.pointSize;
    m_fps = 25;
    m_rotateRelativeToScreen = FALSE;
    // The light goes straight into the globals; OpenGL gets it when the settings are applied.
    SetLight(g_lightAmbient, 0.2f, 0.2f, 0.2f, 1.0f);
    SetLight(g_lightDiffuse, 0.8f, 0.8f, 0.8f, 1.0f);
    SetLight(g_lightSpecular, 1.0f, 1.0f, 1.0f, 1.0f);
    SetLight(g_lightPosition, 200.0f, 100.0f, 300.0f, 1.0f);
}

void CDlgPreferonces::ApplySettings() {
    const COLORREF background = m_colors[kBackground];
    g_backgroundColor[0] = float(GetRValue(background) / 255.0);
    g_backgroundColor[1] = float(GetGValue(background) / 255.0);
    g_backgroundColor[2] = float(GetBValue(background) / 255.0);
    for (int i = 0; i < 9; ++i) {
        kObjectColors[i]->r = GetRValue(m_colors[i + 1]);
        kObjectColors[i]->g = GetGValue(m_colors[i + 1]);
        kObjectColors[i]->b = GetBValue(m_colors[i + 1]);
    }
    if (m_labelFontName != g_labelFontName || m_measureFontName != g_textFontName) {
        g_labelFontName = m_labelFontName;
        g_textFontName = m_measureFontName;
        m_fontsChanged = 1;
    }
    const int labelPixels = PixelsFromPoints(m_labelSize);
    if (labelPixels != g_labelFontHeight) {
        g_labelFontHeight = labelPixels;
        m_fontsChanged = 1;
    }
    const int measurePixels = PixelsFromPoints(m_measureSize);
    if (measurePixels != g_fontHeight) {
        g_fontHeight = measurePixels;
        m_fontsChanged = 1;
    }
    g_lineWidth = m_lineWidth;
    g_pointSize = m_pointSize;
    g_animationFps = m_fps;
    if (HxMakeGlCurrent()) {
        glLineWidth(g_lineWidth);
        glPointSize(g_pointSize);
    }
    HxApplyLightToGl();
    g_disableDoubleClick = m_disableDoubleClick ? 1 : 0;
    g_trackballMode = m_rotateRelativeToScreen ? 1 : 0;
}
