// The ribbon colour button: the 40 named colours in 8 columns, the automatic button, and the
// colour chosen in its palette.
#include "app_test_support.h"

#include "app/frame_ids.h"
#include "app/main_frame.h"
#include "app/ribbon_widgets.h"

#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(ColorGallery, FortyNamedColoursInEightColumnsWithTheAutomaticButton) {
    HxRibbonColorButton button(ID_VIEW_COLOR, u"颜色");
    button.AddColorsGroup(u"旧", {{RGB(1, 2, 3), u"旧色"}});
    HxFillColorGallery(&button);

    ASSERT_EQ(button.GetGroupCount(), 1) << "the old groups are removed";
    EXPECT_TRUE(button.GetGroup(0).name.IsEmpty());
    ASSERT_EQ(button.GetColorCount(), 40);
    EXPECT_EQ(button.GetColumns(), 8);
    EXPECT_TRUE(button.HasAutomaticButton() && button.IsAutomaticButtonOnTop() &&
                button.IsAutomaticButtonBorder());
    EXPECT_EQ(button.GetAutomaticButtonLabel(), u"默认颜色");
    EXPECT_EQ(button.GetAutomaticButtonToolTip(), u"使用默认颜色");
    EXPECT_EQ(button.GetAutomaticColor(), 0xFFFFFFFFu);

    const auto& colors = button.GetGroup(0).colors;
    struct Expect {
        int index;
        COLORREF color;
        const char16_t* name;
    };
    const Expect expected[] = {
        {0, RGB(0, 0, 0), u"黑色"},         {1, RGB(153, 51, 0), u"褐色"},
        {7, RGB(51, 51, 51), u"灰色-80%"},  {14, RGB(102, 102, 153), u"蓝-灰"},
        {16, RGB(255, 0, 0), u"红色"},      {20, RGB(51, 204, 204), u"宝石蓝"},
        {24, RGB(255, 0, 255), u"粉红"},    {31, RGB(192, 192, 192), u"灰色-25%"},
        {35, RGB(204, 255, 204), u"浅绿 "}, {38, RGB(204, 153, 255), u"淡紫"},
        {39, RGB(255, 255, 255), u"白色"},
    };
    for (const Expect& e : expected) {
        EXPECT_EQ(colors[size_t(e.index)].color, e.color) << e.index;
        EXPECT_EQ(colors[size_t(e.index)].name, e.name) << e.index;
    }
    // Each name is registered for its colour; every colour of the table is different.
    EXPECT_EQ(button.GetColorName(RGB(255, 204, 0)), u"金色");
    EXPECT_EQ(button.GetColorName(RGB(1, 2, 3)), u"旧色") << "names once registered stay";
    for (size_t i = 0; i < colors.size(); ++i)
        for (size_t j = i + 1; j < colors.size(); ++j)
            EXPECT_NE(colors[i].color, colors[j].color) << i << " " << j;
}

TEST(ColorGallery, PaletteReportsTheChosenColour) {
    HxRibbonColorButton button(ID_VIEW_COLOR, u"颜色");
    HxFillColorGallery(&button);
    HxColorPalette palette(&button);

    std::vector<COLORREF> picked;
    QObject::connect(&palette, &HxColorPalette::ColorPicked, [&](COLORREF c) { picked.push_back(c); });
    QList<QToolButton*> swatches;
    for (QToolButton* b : palette.findChildren<QToolButton*>())
        if (b->objectName() == "HxColorSwatch")
            swatches.push_back(b);
    ASSERT_EQ(swatches.size(), 40);
    for (QToolButton* b : swatches)
        if (b->toolTip() == "海绿")
            b->click();
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked[0], RGB(51, 153, 102));

    auto* automatic = palette.findChild<QToolButton*>("HxColorAutomatic");
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(automatic->text() == "默认颜色" && automatic->toolTip() == "使用默认颜色");
    automatic->click();
    ASSERT_EQ(picked.size(), 2u);
    EXPECT_EQ(picked[1], 0xFFFFFFFFu);
}

TEST(ColorGallery, PickingInTheMenuSetsTheColourAndRunsTheCommand) {
    CTestCommands commands;
    HxRibbonColorButton button(105, u"颜色");
    HxFillColorGallery(&button);
    std::vector<UINT> ran;
    class Host : public HxRibbonWidgetHost {
    public:
        void OnElementChanged(HxRibbonBaseElement*, bool) override {}
        void OnElementRemoved(HxRibbonBaseElement*) override {}
    } host;
    host.SetCommandSink([&](UINT id) { ran.push_back(id); });
    QMenu menu;
    HxFillMenu(&host, &menu, &button);
    auto* palette = menu.findChild<HxColorPalette*>();
    ASSERT_NE(palette, nullptr);
    emit palette->ColorPicked(RGB(255, 204, 0));
    EXPECT_EQ(button.GetColor(), RGB(255, 204, 0));
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0], 105u);
}
