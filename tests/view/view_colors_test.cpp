// The HSL conversion and the automatic colour sequence.
#include "view/view_colors.h"

#include "support/model_fixture.h"

#include <array>

namespace {
class ViewColorsTest : public ModelTest {};

COLORREF Rgb(int r, int g, int b) {
    return RGB(BYTE(r), BYTE(g), BYTE(b));
}
} // namespace

TEST_F(ViewColorsTest, HslToRgbAndChannels) {
    struct Row {
        double h, s, l;
        std::array<double, 3> rgb;
    };
    // The primaries, a grey, and a lightness below one half (q = l (1 + s)).
    for (const Row& r : {Row{0.0, 1.0, 0.5, {1, 0, 0}}, Row{1.0 / 3.0, 1.0, 0.5, {0, 1, 0}},
                         Row{2.0 / 3.0, 1.0, 0.5, {0, 0, 1}}, Row{0.3, 0.0, 0.42, {0.42, 0.42, 0.42}},
                         Row{0.5, 0.5, 0.25, {0.125, 0.375, 0.375}}}) {
        SCOPED_TRACE(r.h);
        double rgb[3];
        HslToRgb(rgb, r.h, r.s, r.l);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(rgb[i], r.rgb[size_t(i)], 1e-12);
    }
    // Channels round half up.
    EXPECT_EQ(HxColorChannel(0.0), 0);
    EXPECT_EQ(HxColorChannel(1.0), 255);
    EXPECT_EQ(HxColorChannel(0.7), 179);
    EXPECT_EQ(HxColorChannel(0.3), 77);
}

TEST_F(ViewColorsTest, SequenceRunsHueThenLightnessThenSaturation) {
    std::vector<COLORREF> colours;
    for (int i = 0; i < 73; ++i)
        colours.push_back(NextAutoColor());
    EXPECT_EQ(colours[0], Rgb(255, 179, 179));
    EXPECT_EQ(colours[1], Rgb(179, 255, 179));
    EXPECT_EQ(colours[2], Rgb(179, 179, 255));
    EXPECT_EQ(colours[3], Rgb(255, 255, 179));
    EXPECT_EQ(colours[12], Rgb(255, 102, 102)); // hue 0, lightness 0.7
    EXPECT_EQ(colours[24], Rgb(255, 26, 26));   // hue 0, lightness 0.55
    EXPECT_EQ(colours[36], Rgb(236, 198, 198)); // hue 0, saturation 0.5, lightness 0.85
    EXPECT_EQ(colours[72], colours[0]);
    EXPECT_EQ(g_autoColorHueIndex, 1);
    EXPECT_EQ(g_autoColorLightnessIndex, 0);
    EXPECT_EQ(g_autoColorSaturationIndex, 0);
}

TEST_F(ViewColorsTest, FirstColourOnADarkBackground) {
    g_backgroundColor[0] = g_backgroundColor[1] = g_backgroundColor[2] = 0.0f;
    EXPECT_EQ(NextAutoColor(), Rgb(77, 0, 0));
    // Dark means r + g + b below 2.0.
    g_backgroundColor[0] = g_backgroundColor[1] = 1.0f;
    g_backgroundColor[2] = 0.0f;
    EXPECT_EQ(NextAutoColor(), Rgb(179, 255, 179));
    g_backgroundColor[2] = -0.01f;
    EXPECT_EQ(NextAutoColor(), Rgb(0, 0, 77));
}
