// The ribbon definition: the compiled-in file and the reader's handling of mistakes.
#include "app/frame_ids.h"
#include "app/ribbon_definition.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const HxRibbonBaseElement* FindIn(const HxRibbonDefinition::Category& c, UINT id) {
    for (const auto& p : c.panels)
        for (const auto& e : p.elements)
            if (HxRibbonBaseElement* found = e->FindByID(id))
                return found;
    return nullptr;
}

} // namespace

TEST(RibbonDefinition, CompiledFileHoldsTheFramesCategoriesAndElements) {
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def, &error))
        << error.toStdString();

    // Eight categories; the first, "常用", has the tools in its panel 1 with the custom-tool button.
    ASSERT_EQ(def.categories.size(), 8u);
    const auto& home = def.categories[0];
    EXPECT_EQ(home.name, u"常用");
    ASSERT_GE(home.panels.size(), 2u);
    EXPECT_EQ(home.panels[1].name, u"工具");
    std::set<UINT> tools;
    for (const auto& e : home.panels[1].elements)
        tools.insert(e->GetID());
    EXPECT_TRUE(tools.count(ID_CUSTOM_TOOL) && tools.count(ID_CREATE_LINE));

    // The colour button, the pan sliders and the looks 331-335 under "样式".
    const HxRibbonBaseElement* color = FindIn(home, ID_VIEW_COLOR);
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->GetKind(), HxRibbonKind::ColorButton);
    const HxRibbonDefinition::Category* view = nullptr;
    for (const auto& c : def.categories)
        if (FindIn(c, ID_SLIDER_TZ))
            view = &c;
    ASSERT_NE(view, nullptr);
    for (UINT id : {ID_SLIDER_TX, ID_SLIDER_TY, ID_SLIDER_TZ})
        EXPECT_EQ(FindIn(*view, id)->GetKind(), HxRibbonKind::Slider) << id;
    const auto* blue = FindIn(*view, 331);
    ASSERT_NE(blue, nullptr);
    ASSERT_NE(blue->GetParentElement(), nullptr);
    EXPECT_EQ(blue->GetParentElement()->GetText(), u"样式");
    EXPECT_EQ(blue->GetText(), u"蓝色(&B)");
    EXPECT_EQ(FindIn(*view, 335)->GetText(), u"浅青(&D)");
    EXPECT_EQ(FindIn(*view, 325), nullptr) << "only 331 to 335 are offered";

    // The line tool starts with image 2, the segment.
    EXPECT_EQ(FindIn(home, ID_CREATE_LINE)->GetImageIndex(TRUE), 2);
    EXPECT_TRUE(def.images.at(2) == "line-segment" && def.images.at(5) == "line-vector");

    // The application menu has About and exit.
    ASSERT_NE(def.application, nullptr);
    ASSERT_NE(def.application->FindByID(ID_APP_ABOUT), nullptr);
    EXPECT_EQ(def.application->FindByID(ID_APP_ABOUT)->GetText(), u"关于Halvix");
}

TEST(RibbonDefinition, StatusBarPartInOrder) {
    HxRibbonDefinition def;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def));
    ASSERT_GE(def.statusBar.size(), 4u);
    EXPECT_EQ(def.statusBar[1].element->GetKind(), HxRibbonKind::Separator);
    EXPECT_EQ(def.statusBar[2].element->GetID(), ID_STATUSBAR_PANE_PAGE);
    EXPECT_FALSE(def.statusBar[0].extended);

    // The tool group: 27 buttons, in the order of the status bar's tool row.
    const HxRibbonButtonsGroup* group = nullptr;
    for (const auto& s : def.statusBar)
        if (s.element->GetID() == ID_STATUS_TOOLS)
            group = dynamic_cast<const HxRibbonButtonsGroup*>(s.element.get());
    ASSERT_NE(group, nullptr);
    const UINT ids[] = {32771, 33610, 33429, 33612, 33611, 33628, 33627, 33626, 33629,
                        33648, 33624, 33643, 33625, 33100, 33173, 33677, 34040, 32796,
                        33056, 33058, 33059, 33060, 2027,  32851, 33221, 32776, 34132};
    std::vector<UINT> got;
    for (int i = 0; i < group->GetCount(); ++i)
        got.push_back(group->GetButton(i)->GetID());
    EXPECT_EQ(got, std::vector<UINT>(std::begin(ids), std::end(ids)));
    EXPECT_EQ(group->GetButton(26)->GetText(), u"光照时显示虚线");
}

TEST(RibbonDefinition, ElementsOfEveryKind) {
    const QByteArray xml = R"(<ribbon>
      <images><image index="3" icon="line-ray"/></images>
      <category text="甲">
        <panel text="一" icon="point">
          <button id="100" text="大" icon="point" size="large" tip="提示" desc="说明"/>
          <button id="101" text="菜单" menu="1"><button id="102" text="子"/><separator/><label text="组"/></button>
          <gallery id="103" text="图库" columns="3"><item text="甲" icon="prism"/><item id="104" text="乙" image="3"/></gallery>
          <colors id="105" text="颜色" columns="6"/>
          <check id="106" text="勾选"/>
          <slider id="107" text="X" min="-10" max="10" pos="4" width="80"/>
          <label text="标签"/>
          <link id="108" text="链接" url="http://localhost/"/>
        </panel>
      </category>
    </ribbon>)";
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxParseRibbonDefinition(xml, def, &error)) << error.toStdString();
    const auto& elements = def.categories.at(0).panels.at(0).elements;
    ASSERT_EQ(elements.size(), 8u);
    EXPECT_EQ(def.categories[0].panels[0].icon, "point");

    auto* big = dynamic_cast<HxRibbonButton*>(elements[0].get());
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(big->IsLarge() && big->GetIconName() == "point");
    EXPECT_TRUE(big->GetToolTipText() == u"提示" && big->GetDescription() == u"说明");

    auto* menu = dynamic_cast<HxRibbonButton*>(elements[1].get());
    ASSERT_EQ(menu->GetSubItemCount(), 3);
    EXPECT_FALSE(menu->HasDefaultCommand());
    EXPECT_EQ(menu->GetSubItem(1)->GetKind(), HxRibbonKind::Separator);
    EXPECT_EQ(menu->GetSubItem(2)->GetKind(), HxRibbonKind::Label);
    EXPECT_EQ(menu->FindByID(102), menu->GetSubItem(0));

    auto* gallery = dynamic_cast<HxRibbonGallery*>(elements[2].get());
    ASSERT_NE(gallery, nullptr);
    EXPECT_TRUE(gallery->GetCount() == 2 && gallery->GetIconsInRow() == 3 && gallery->GetItem(1).image == 3);
    EXPECT_EQ(gallery->PickItem(0), 103u) << "an item without a command runs the gallery's";
    EXPECT_EQ(gallery->GetSelectedItem(), 0);
    EXPECT_EQ(gallery->PickItem(1), 104u);
    EXPECT_EQ(gallery->PickItem(7), 0u);

    EXPECT_EQ(dynamic_cast<HxRibbonColorButton*>(elements[3].get())->GetColumns(), 6);
    EXPECT_EQ(elements[4]->GetKind(), HxRibbonKind::CheckBox);
    auto* slider = dynamic_cast<HxRibbonSlider*>(elements[5].get());
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(std::vector<int>(
                  {slider->GetRangeMin(), slider->GetRangeMax(), slider->GetPos(), slider->GetWidth()}),
              std::vector<int>({-10, 10, 4, 80}));
    EXPECT_EQ(elements[6]->GetKind(), HxRibbonKind::Label);
    EXPECT_EQ(dynamic_cast<HxRibbonLinkCtrl*>(elements[7].get())->GetLink(), u"http://localhost/");
}

TEST(RibbonDefinition, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* xml;
        const char* says;
    };
    const Case cases[] = {
        {"<ribbon><category text=\"a\"><panel text=\"b\">\n<buton id=\"1\"/></panel></category></ribbon>",
         "unknown element <buton>"},
        {"<ribbon><category text=\"a\"><panel text=\"b\">\n<button id=\"x1\"/></panel></category></ribbon>",
         "not a number"},
        {"<ribbon><category text=\"a\"><panel text=\"b\">\n<button "
         "id=\"70000\"/></panel></category></ribbon>",
         "out of range"},
        {"<ribbon><category text=\"a\"><panel text=\"b\">\n<button id=\"1\" "
         "size=\"huge\"/></panel></category></ribbon>",
         "size must be"},
        {"<ribbon><category text=\"a\"><button id=\"1\"/></category></ribbon>", "holds <panel>"},
        {"<ribbon><category text=\"a\"><panel text=\"b\"><button id=\"1\"><item "
         "text=\"i\"/></button></panel></category></ribbon>",
         "<item> belongs in a <gallery>"},
        {"<menu/>", "root element"},
        {"<ribbon><category text=\"a\">", "ribbon definition, line"},
        {"", "ribbon definition"},
    };
    for (const Case& c : cases) {
        HxRibbonDefinition def;
        QString error;
        EXPECT_FALSE(HxParseRibbonDefinition(QByteArray(c.xml), def, &error)) << c.xml;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
    }
    HxRibbonDefinition def;
    QString error;
    EXPECT_FALSE(HxLoadRibbonDefinition(QStringLiteral("/nonexistent/ribbon.xml"), def, &error));
    EXPECT_TRUE(error.contains("cannot read"));
}

TEST(RibbonDefinition, DisplayTextDropsMnemonicsAndAccelerators) {
    // Brackets without a mnemonic stay.
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"蓝色(&B)", u"蓝色"},
        {u"撤消 点(&U)\tCtrl+Z", u"撤消 点"},
        {u"&Open && close", u"Open & close"},
        {u"点(P)", u"点(P)"},
        {u"绘图工具快捷帮助(&F)...", u"绘图工具快捷帮助..."}};
    for (auto [text, shown] : cases)
        EXPECT_EQ(HxRibbonBaseElement::StripText(text), shown) << CString(text).ToUtf8();
}
