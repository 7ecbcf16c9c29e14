// The surface and view-button dialog windows offscreen: titles, the expression labels of each
// coordinate system, the texture controls enabled by the display mode, the texture and the mapping,
// the examples, the expression buttons through the calculation dialog, steps refused outside their
// range, the interval shown only where it applies, the fields written back on OK, the presenters
// behind DoModal, and where the ribbon and the keys offer the commands.
#include "app/main_frame.h"
#include "app/ribbon_definition.h"
#include "app/ribbon_icons.h"
#include "app/surface_dialog_ui.h"
#include "app/view_button_dialogs_ui.h"
#include "document/halvix_doc.h"
#include "dynamics/edit_ids.h"
#include "measure/calc_dialogs.h"
#include "view/context_menus.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <vector>

namespace {

class EditDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetDialogRunner(nullptr);
    }
    static bool On(CHxExchangeDialog& window, int id) {
        QWidget* w = window.Control(id);
        EXPECT_NE(w, nullptr) << id;
        return w && w->isEnabled();
    }
    static bool Shown(CHxExchangeDialog& window, int id) { return !window.Control(id)->isHidden(); }
    static void Click(CHxExchangeDialog& window, int id) {
        QAbstractButton* b = window.Button(id);
        ASSERT_NE(b, nullptr) << id;
        b->click();
    }
    static void Type(CHxExchangeDialog& window, int id, const char16_t* text) {
        QLineEdit* e = window.Edit(id);
        ASSERT_NE(e, nullptr) << id;
        e->setText(QString::fromUtf16(text));
    }
    static QString Text(CHxExchangeDialog& window, int id) { return window.Edit(id)->text(); }
    template <class W> static W* Find(CHxExchangeDialog& window, int id) {
        return qobject_cast<W*>(window.Control(id));
    }

    std::vector<CString> m_messages;
};

using S = CDlgSurface;

// The window DoModal shows, found once it is up, then answered.
template <class Window> void AnswerNextWindow(std::function<void(Window&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        answer(*window);
    });
}

} // namespace

TEST_F(EditDialogWindows, TheSurfaceDialogOpensWithItsDefaults) {
    CDlgSurface fields;
    CSurfaceWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("曲面属性"));
    EXPECT_EQ(Text(window, S::kEditX), QStringLiteral("5*cos(u)"));
    EXPECT_EQ(Text(window, S::kEditVFrom), QStringLiteral("-8"));
    EXPECT_EQ(Text(window, S::kUStep), QStringLiteral("0.2"));
    EXPECT_EQ(Text(window, S::kVStep), QStringLiteral("1"));
    EXPECT_TRUE(window.Button(S::kCartesian)->isChecked());
    EXPECT_TRUE(window.Button(S::kLit)->isChecked());
    EXPECT_TRUE(window.Button(S::kAutomatic)->isChecked());
    auto* texture = Find<QComboBox>(window, S::kTexture);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->count(), 16);
    EXPECT_EQ(texture->itemText(0), QStringLiteral("不使用"));
    EXPECT_EQ(texture->itemText(15), QStringLiteral("图15"));
    EXPECT_EQ(texture->currentIndex(), 1);
    EXPECT_TRUE(window.Button(S::kBackTexture)->isChecked());
    EXPECT_EQ(window.Button(S::kBackTexture)->text(),
              QStringLiteral("两面纹理不同：正面非3号时反面为3号；正面为3号反面无"));
    auto* examples = Find<QComboBox>(window, S::kExampleList);
    ASSERT_TRUE(examples);
    EXPECT_EQ(examples->count(), 24);
    EXPECT_EQ(examples->itemText(20), QStringLiteral("莫比乌斯带"));
    // Automatic mapping: the coefficients wait behind "定义变换：".
    EXPECT_TRUE(On(window, S::kAutomatic));
    EXPECT_FALSE(On(window, S::kSScale));
    Click(window, S::kDefined);
    EXPECT_TRUE(On(window, S::kSScale));
    EXPECT_TRUE(On(window, S::kTOffset));
    Click(window, S::kAutomatic);
    EXPECT_FALSE(On(window, S::kTScale));
}

TEST_F(EditDialogWindows, TheCoordinateSystemNamesTheExpressions) {
    CDlgSurface fields;
    CSurfaceWindow window(fields);
    EXPECT_EQ(window.Button(S::kButtonX)->text(), QStringLiteral("x(u,v)="));
    Click(window, S::kSpherical);
    EXPECT_EQ(window.Button(S::kButtonX)->text(), QStringLiteral(" r(u,v)="));
    EXPECT_EQ(window.Button(S::kButtonY)->text(), QStringLiteral("θ(u,v)="));
    EXPECT_EQ(window.Button(S::kButtonZ)->text(), QStringLiteral("φ(u,v)="));
    Click(window, S::kCylindrical);
    EXPECT_EQ(window.Button(S::kButtonX)->text(), QStringLiteral("θ(u,v)="));
    EXPECT_EQ(window.Button(S::kButtonY)->text(), QStringLiteral("ρ(u,v)="));
    EXPECT_EQ(window.Button(S::kButtonZ)->text(), QStringLiteral(" z(u,v)="));
    EXPECT_EQ(window.Button(S::kButtonUFrom)->text(), QStringLiteral("u:从"));
    EXPECT_EQ(window.Button(S::kButtonVTo)->text(), QStringLiteral("到"));
}

TEST_F(EditDialogWindows, WireFrameMakesTextureImpossibleAndLitModeGivesItBack) {
    CDlgSurface fields;
    CSurfaceWindow window(fields);
    Click(window, S::kWire);
    for (int id : {S::kTexture, S::kBackTexture, S::kAutomatic, S::kDefined, S::kSScale})
        EXPECT_FALSE(On(window, id)) << id;
    Click(window, S::kLit);
    EXPECT_TRUE(On(window, S::kTexture));
    EXPECT_TRUE(On(window, S::kBackTexture));
    // Translucent: a texture, but no back texture.
    Click(window, S::kTranslucent);
    EXPECT_TRUE(On(window, S::kTexture));
    EXPECT_FALSE(On(window, S::kBackTexture));
    EXPECT_TRUE(On(window, S::kAutomatic));
    // No texture: no mapping and no back texture.
    Click(window, S::kLit);
    Find<QComboBox>(window, S::kTexture)->setCurrentIndex(0);
    EXPECT_FALSE(On(window, S::kBackTexture));
    EXPECT_FALSE(On(window, S::kAutomatic));
    EXPECT_FALSE(On(window, S::kDefined));
    // A wire frame opened so has its controls off from the start.
    CDlgSurface wire;
    wire.m_displayMode = 2;
    CSurfaceWindow second(wire);
    EXPECT_FALSE(On(second, S::kTexture));
}

TEST_F(EditDialogWindows, ChoosingTheExamplePlane) {
    CDlgSurface fields;
    fields.m_texture = 4;
    fields.m_back = FALSE;
    CSurfaceWindow window(fields);
    Type(window, S::kEditZ, u"u*v");
    auto* examples = Find<QComboBox>(window, S::kExampleList);
    examples->setCurrentIndex(15);
    emit examples->activated(15);
    EXPECT_EQ(Text(window, S::kEditX), QStringLiteral("u"));
    EXPECT_EQ(Text(window, S::kEditZ), QStringLiteral("0"));
    EXPECT_EQ(Text(window, S::kUStep), QStringLiteral("8"));
    EXPECT_EQ(Text(window, S::kVStep), QStringLiteral("8"));
    EXPECT_EQ(Find<QComboBox>(window, S::kTexture)->currentIndex(), 1);
    EXPECT_TRUE(window.Button(S::kBackTexture)->isChecked());
    EXPECT_TRUE(window.Button(S::kCartesian)->isChecked());
    // 耳坠: cylindrical, texture 1, no back texture.
    examples->setCurrentIndex(14);
    emit examples->activated(14);
    EXPECT_TRUE(window.Button(S::kCylindrical)->isChecked());
    EXPECT_EQ(window.Button(S::kButtonY)->text(), QStringLiteral("ρ(u,v)="));
    EXPECT_FALSE(window.Button(S::kBackTexture)->isChecked());
    EXPECT_EQ(Text(window, S::kEditVTo), QStringLiteral("14.1372"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_x, CString(u".2*v*cos(v)"));
    EXPECT_EQ(fields.m_system, 2);
    EXPECT_EQ(fields.m_uStep, 0.2);
}

TEST_F(EditDialogWindows, TheExpressionButtonsAndTheStepRange) {
    CDlgSurface fields;
    CSurfaceWindow window(fields);
    CString title;
    HxSetDialogRunner([&](CDialog& dialog) {
        auto* calc = dynamic_cast<CDlgCalculator*>(&dialog);
        EXPECT_NE(calc, nullptr);
        if (!calc)
            return INT_PTR(IDCANCEL);
        title = calc->m_title;
        calc->m_expression = calc->m_expression + u"+1";
        return INT_PTR(IDOK);
    });
    Type(window, S::kEditZ, u"2*v");
    Click(window, S::kButtonZ);
    EXPECT_EQ(title, CString(u"编辑参数方程"));
    EXPECT_EQ(Text(window, S::kEditZ), QStringLiteral("2*v+1")) << "from the text as typed";
    Click(window, S::kButtonUTo);
    EXPECT_EQ(title, CString(u"编辑参数范围"));
    EXPECT_EQ(Text(window, S::kEditUTo), QStringLiteral("2*pi+1"));
    HxSetDialogRunner(nullptr);

    for (const char16_t* bad : {u"0.0005", u"11", u"x"}) {
        Type(window, S::kUStep, bad);
        window.accept();
        EXPECT_NE(window.result(), QDialog::Accepted) << CString(bad).ToUtf8();
    }
    EXPECT_EQ(m_messages.size(), 3u);
    Type(window, S::kUStep, u"10");
    Type(window, S::kVStep, u"0.001");
    Click(window, S::kDefined);
    Type(window, S::kSOffset, u"0.5");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_uStep, 10.0);
    EXPECT_EQ(fields.m_vStep, 0.001);
    EXPECT_EQ(fields.m_mapping, 1);
    EXPECT_EQ(fields.m_sOffset, 0.5);
    EXPECT_EQ(fields.m_z, CString(u"2*v+1"));
}

TEST_F(EditDialogWindows, ViewButtonDialogsShowTheIntervalOnlyWhereItApplies) {
    using D = CDlgViewButton;
    CDlgViewRotate rotate;
    rotate.m_angle = 90.0f;
    rotate.m_axis[2] = 1.0f;
    CViewRotateWindow window(rotate);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("视旋转按钮"));
    EXPECT_EQ(Text(window, D::kCaption), QStringLiteral("视旋转"));
    EXPECT_EQ(Text(window, D::kSeconds), QStringLiteral("5"));
    EXPECT_TRUE(window.Button(D::kOneWay)->isChecked());
    EXPECT_TRUE(window.Button(D::kOnce)->isChecked());
    for (int id : {D::kInterval, D::kIntervalLabel, D::kIntervalUnit})
        EXPECT_FALSE(Shown(window, id)) << "one way, once";
    Click(window, D::kBothWays);
    EXPECT_TRUE(Shown(window, D::kInterval));
    Click(window, D::kOneWay);
    EXPECT_FALSE(Shown(window, D::kInterval));
    Click(window, D::kLoop);
    EXPECT_TRUE(Shown(window, D::kIntervalUnit));
    Type(window, D::kInterval, u"1.5");
    Type(window, CDlgViewRotate::kAngle, u"-45");
    Type(window, D::kCaption, u"转");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(rotate.m_angle, -45.0f);
    EXPECT_EQ(rotate.m_repeat, 1);
    EXPECT_EQ(rotate.m_direction, 0);
    EXPECT_EQ(rotate.m_interval, 1.5f);
    EXPECT_EQ(rotate.m_caption, CString(u"转"));

    // The properties of a turn show its start without letting it change.
    CDlgViewRotate shown;
    shown.m_startReadOnly = true;
    CViewRotateWindow readOnly(shown);
    EXPECT_TRUE(readOnly.Edit(CDlgViewRotate::kStartW)->isReadOnly());

    CDlgViewTrans pan;
    pan.m_direction = 1;
    CViewTransWindow panWindow(pan);
    EXPECT_EQ(panWindow.windowTitle(), QStringLiteral("视平移按钮"));
    EXPECT_EQ(Text(panWindow, D::kCaption), QStringLiteral("视平移"));
    EXPECT_TRUE(Shown(panWindow, D::kInterval));
    Type(panWindow, CDlgViewTrans::kEndZ, u"-40");
    Type(panWindow, D::kSeconds, u"abc");
    panWindow.accept();
    EXPECT_NE(panWindow.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages.size(), 1u);
    Type(panWindow, D::kSeconds, u"2");
    panWindow.accept();
    EXPECT_EQ(panWindow.result(), QDialog::Accepted);
    EXPECT_EQ(pan.m_end[2], -40.0f);
    EXPECT_EQ(pan.m_seconds, 2.0f);

    CDlgViewScale zoom;
    CViewScaleWindow zoomWindow(zoom);
    EXPECT_EQ(zoomWindow.windowTitle(), QStringLiteral("视缩放按钮"));
    EXPECT_EQ(Text(zoomWindow, D::kCaption), QStringLiteral("视缩放"));
    Type(zoomWindow, CDlgViewScale::kEndZoom, u"2.5");
    zoomWindow.accept();
    EXPECT_EQ(zoom.m_endZoom, 2.5f);
}

TEST_F(EditDialogWindows, DoModalShowsTheRegisteredWindows) {
    CDlgSurface surface;
    AnswerNextWindow<CSurfaceWindow>([](CSurfaceWindow& window) {
        window.Edit(S::kEditX)->setText(QStringLiteral("3"));
        window.accept();
    });
    EXPECT_EQ(surface.DoModal(), IDOK);
    EXPECT_EQ(surface.m_x, CString(u"3"));
    CDlgViewScale zoom;
    AnswerNextWindow<CViewScaleWindow>([](CViewScaleWindow& window) { window.reject(); });
    EXPECT_EQ(zoom.DoModal(), IDCANCEL);
    CDlgViewTrans pan;
    AnswerNextWindow<CViewTransWindow>([](CViewTransWindow& window) { window.accept(); });
    EXPECT_EQ(pan.DoModal(), IDOK);
    CDlgViewRotate rotate;
    AnswerNextWindow<CViewRotateWindow>([](CViewRotateWindow& window) { window.accept(); });
    EXPECT_EQ(rotate.DoModal(), IDOK);
}

TEST(EditCommandPlaces, TheRibbonKeysAndMenusOfferEveryCommand) {
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def, &error))
        << error.toStdString();
    auto find = [&def](const char16_t* category, UINT id) -> const HxRibbonBaseElement* {
        for (const auto& c : def.categories) {
            if (c.name != category)
                continue;
            for (const auto& panel : c.panels)
                for (const auto& e : panel.elements)
                    if (const HxRibbonBaseElement* found = e->FindByID(id))
                        return found;
        }
        return nullptr;
    };
    CHalvixDoc doc;
    struct Place {
        UINT id;
        const char16_t* category;
        const char16_t* prompt;
    };
    const Place places[] = {
        {ID_VIEW_RENDERSOLID, u"常用", u"选中的点线面体显示（或取消显示）为光照下的实体"},
        {ID_EDIT_REVERSE, u"常用", u"改变选取的线、面或圆的方向"},
        {ID_EDIT_SPLIT, u"常用", u"选取的点、圆、体从其父辈中分离独立，转化为定位图"},
        {ID_EDIT_BTN_START, u"常用", u"标志视变换的起始状态（图形位置、视角、缩放比例）"},
        {ID_EDIT_BTN_END, u"动画", u"标志视变换的目标状态（图形位置、视角、缩放比例）"},
        {ID_EDIT_BTN_TRANSLATE, u"动画", u"添加视平移按钮"},
        {ID_EDIT_BTN_ROTATE, u"动画", u"添加视旋转按钮"},
        {ID_EDIT_BTN_ZOOM, u"常用", u"添加视缩放按钮"},
        {ID_EDIT_FLUSH, u"动画", u"对选中的按钮、度量或图文与最后一个左对齐，并且纵向等距重排"},
        {ID_CREATE_SURFACE, u"构造", u"选中（可含参）或不选度量值，由参数方程创建曲面（可贴图片）"},
    };
    for (const Place& p : places) {
        const HxRibbonBaseElement* e = find(p.category, p.id);
        ASSERT_NE(e, nullptr) << p.id;
        EXPECT_EQ(e->GetDescription(), CString(p.prompt)) << p.id;
        EXPECT_TRUE(HxHasRibbonIcon(e->GetIconName())) << p.id;
        EXPECT_TRUE(doc.HasCommandHandler(p.id)) << p.id;
    }
    for (UINT id : {ID_VIEW_RENDERSOLID, ID_EDIT_REVERSE, ID_EDIT_SPLIT, ID_EDIT_FLUSH})
        EXPECT_TRUE(doc.HasUpdateHandler(id)) << id;
    EXPECT_TRUE(doc.HasCommandHandler(ID_EDIT_COMPACT));

    // The keys: F8, F9 and Ctrl+Alt+Z.
    QKeyCombination key;
    ASSERT_TRUE(HxCommandKey(ID_EDIT_BTN_START, &key));
    EXPECT_EQ(key, QKeyCombination(Qt::Key_F8));
    ASSERT_TRUE(HxCommandKey(ID_EDIT_BTN_END, &key));
    EXPECT_EQ(key, QKeyCombination(Qt::Key_F9));
    ASSERT_TRUE(HxCommandKey(ID_EDIT_COMPACT, &key));
    EXPECT_EQ(key, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Z));

    // The context menus: separate on the point's, reverse on the line's and the face's.
    auto idOf = [](const std::vector<CContextMenuItem>& items, const char16_t* text) {
        for (const CContextMenuItem& item : items)
            if (CString(item.text) == CString(text))
                return item.id;
        return UINT(0);
    };
    EXPECT_EQ(idOf(HxContextMenuItems(IDR_POPUP_POINT), u"分离点"), ID_EDIT_SPLIT);
    EXPECT_EQ(idOf(HxContextMenuItems(IDR_POPUP_LINE), u"线反向"), ID_EDIT_REVERSE);
    EXPECT_EQ(idOf(HxContextMenuItems(IDR_POPUP_FACE), u"面反向"), ID_EDIT_REVERSE);
    EXPECT_EQ(idOf(HxContextMenuItems(IDR_POPUP_POINT), u"光照处理"), ID_VIEW_RENDERSOLID);
}
