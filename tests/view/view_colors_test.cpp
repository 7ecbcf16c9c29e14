// The HSL conversion and the automatic colour sequence.
#include "view/view_colors.h"

#include "support/model_fixture.h"

namespace {
class ViewColorsTest : public ModelTest {};

COLORREF Rgb(int r, int g, int b) {
    return RGB(BYTE(r), BYTE(g), BYTE(b));
}
} // namespace

TEST_F(ViewColorsTest, HslToRgbOfThePrimariesAndGrey) {
    double rgb[3];
    HslToRgb(rgb, 0.0, 1.0, 0.5);
    EXPECT_DOUBLE_EQ(rgb[0], 1.0);
    EXPECT_DOUBLE_EQ(rgb[1], 0.0);
    EXPECT_DOUBLE_EQ(rgb[2], 0.0);
    HslToRgb(rgb, 1.0 / 3.0, 1.0, 0.5);
    EXPECT_NEAR(rgb[0], 0.0, 1e-12);
    EXPECT_NEAR(rgb[1], 1.0, 1e-12);
    EXPECT_NEAR(rgb[2], 0.0, 1e-12);
    HslToRgb(rgb, 2.0 / 3.0, 1.0, 0.5);
    EXPECT_NEAR(rgb[0], 0.0, 1e-12);
    EXPECT_NEAR(rgb[1], 0.0, 1e-12);
    EXPECT_NEAR(rgb[2], 1.0, 1e-12);
    HslToRgb(rgb, 0.3, 0.0, 0.42);
    EXPECT_EQ(rgb[0], 0.42);
    EXPECT_EQ(rgb[1], 0.42);
    EXPECT_EQ(rgb[2], 0.42);
    // Lightness below one half: q = l (1 + s).
    HslToRgb(rgb, 0.5, 0.5, 0.25);
    EXPECT_DOUBLE_EQ(rgb[0], 0.125);
    EXPECT_DOUBLE_EQ(rgb[1], 0.375);
    EXPECT_DOUBLE_EQ(rgb[2], 0.375);
}

TEST_F(ViewColorsTest, ChannelsRoundHalfUp) {
    EXPECT_EQ(HxColorChannel(0.0), 0);
    EXPECT_EQ(HxColorChannel(1.0), 255);
    EXPECT_EQ(HxColorChannel(0.7), 179);
    EXPECT_EQ(HxColorChannel(0.3), 77);
}

TEST_F(ViewColorsTest, FirstColoursOnWhite) {
    EXPECT_EQ(NextAutoColor(), Rgb(255, 179, 179));
    EXPECT_EQ(NextAutoColor(), Rgb(179, 255, 179));
    EXPECT_EQ(NextAutoColor(), Rgb(179, 179, 255));
    EXPECT_EQ(NextAutoColor(), Rgb(255, 255, 179));
    EXPECT_EQ(g_autoColorHueIndex, 4);
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

TEST_F(ViewColorsTest, SequenceRunsHueThenLightnessThenSaturation) {
    std::vector<COLORREF> colours;
    for (int i = 0; i < 73; ++i)
        colours.push_back(NextAutoColor());
    EXPECT_EQ(colours[12], Rgb(255, 102, 102)); // hue 0, lightness 0.7
    EXPECT_EQ(colours[24], Rgb(255, 26, 26));   // hue 0, lightness 0.55
    EXPECT_EQ(colours[36], Rgb(236, 198, 198)); // hue 0, saturation 0.5, lightness 0.85
    EXPECT_EQ(colours[72], colours[0]);
    EXPECT_EQ(g_autoColorHueIndex, 1);
    EXPECT_EQ(g_autoColorLightnessIndex, 0);
    EXPECT_EQ(g_autoColorSaturationIndex, 0);
}
