// The component dialog's window offscreen: the lists and what the opening shows, the rules as the
// kind, clipping, colouring and style are changed, a preset material made current, the material
// editor opened from it, numbers refused with the dialog kept open, and the fields written back on OK.
#include "app/light_editors.h"
#include "app/subassembly_dlg_ui.h"
#include "solids/subassembly.h"
#include "view/view_settings.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace {

using D = CCreateSubaDlg;

class SubassemblyDialogWindow : public ::testing::Test {
protected:
    void SetUp() override {
        HxResetViewSettings();
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxResetViewSettings();
    }
    static QCheckBox* Check(CHxExchangeDialog& w, int id) { return qobject_cast<QCheckBox*>(w.Control(id)); }
    static bool PlaneEditsEnabled(CHxExchangeDialog& w, const int (&ids)[4]) {
        bool all = true, none = true;
        for (int id : ids) {
            all = all && w.Edit(id)->isEnabled();
            none = none && !w.Edit(id)->isEnabled();
        }
        EXPECT_TRUE(all || none) << "a plane's four edits go together";
        return all;
    }
    std::vector<CString> m_messages;
};

} // namespace

TEST_F(SubassemblyDialogWindow, TheOpeningShowsTheDefaultsWithTheirControlsEnabledAsTheyAllow) {
    D fields;
    CCreateSubaWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("组件属性"));
    ASSERT_EQ(window.KindList()->count(), 15);
    EXPECT_EQ(window.KindList()->itemText(14), QStringLiteral("茶壶"));
    EXPECT_EQ(window.KindList()->currentIndex(), 0);
    ASSERT_EQ(window.TextureList()->count(), 16);
    EXPECT_EQ(window.TextureList()->itemText(0), QStringLiteral("不使用"));
    EXPECT_EQ(window.TextureList()->itemText(15), QStringLiteral("图15"));
    ASSERT_EQ(window.MaterialList()->count(), 25);
    EXPECT_EQ(window.MaterialList()->itemText(0), QStringLiteral("选择材质"));
    EXPECT_EQ(window.MaterialList()->itemText(11), QStringLiteral("黄金"));
    EXPECT_EQ(window.Edit(D::kTextEdit)->text(), QStringLiteral("3d文字"));
    EXPECT_EQ(window.Edit(D::kCenterEdits[0])->text(), QStringLiteral("-10"));
    EXPECT_EQ(window.Edit(D::kAxisEdits[1])->text(), QStringLiteral("-1"));
    EXPECT_EQ(window.Edit(D::kPlane2Edits[1])->text(), QStringLiteral("-1"));
    // 3D text: the font, no clipping, no texture; the material only with "外定义内颜色".
    EXPECT_TRUE(window.Control(D::kFontCombo)->isEnabled());
    EXPECT_FALSE(Check(window, D::kClipCheck)->isEnabled());
    EXPECT_TRUE(Check(window, D::kPlane1Check)->isHidden());
    EXPECT_FALSE(window.TextureList()->isEnabled());
    EXPECT_FALSE(window.MaterialList()->isEnabled());
    EXPECT_FALSE(window.Button(D::kMaterialButton)->isEnabled());
    EXPECT_TRUE(window.StyleGroup()->button(0)->isChecked());
    EXPECT_TRUE(window.ColoringGroup()->button(0)->isChecked());
}

TEST_F(SubassemblyDialogWindow, AChosenKindSetsItsPlacementTextAndTheControls) {
    D fields;
    fields.m_spin = 20.0f;
    CCreateSubaWindow window(fields);
    // The cube shows the texture list; its placement, keeping the spin.
    window.KindList()->setCurrentIndex(kSubassemblyCube);
    EXPECT_EQ(window.Edit(D::kTextEdit)->text(), QStringLiteral("正六面体"));
    EXPECT_EQ(window.Edit(D::kCenterEdits[0])->text(), QStringLiteral("0"));
    EXPECT_EQ(window.Edit(D::kAxisEdits[2])->text(), QStringLiteral("1"));
    EXPECT_EQ(window.Edit(D::kScaleEdits[1])->text(), QStringLiteral("10"));
    EXPECT_EQ(window.Edit(D::kSpinEdit)->text(), QStringLiteral("20"));
    EXPECT_TRUE(window.TextureList()->isEnabled());
    EXPECT_FALSE(window.Control(D::kFontCombo)->isEnabled());
    EXPECT_TRUE(Check(window, D::kClipCheck)->isEnabled());
    window.TextureList()->setCurrentIndex(3);
    // The wire frame takes no texture; lit again, the list is back.
    window.StyleGroup()->button(1)->click();
    EXPECT_FALSE(window.TextureList()->isEnabled());
    window.StyleGroup()->button(0)->click();
    EXPECT_TRUE(window.TextureList()->isEnabled());
    // The octahedron: no texture list, the texture gone.
    window.KindList()->setCurrentIndex(kSubassemblyOctahedron);
    EXPECT_FALSE(window.TextureList()->isEnabled());
    EXPECT_EQ(window.TextureList()->currentIndex(), 0);
    // The dodecahedron's own scale.
    window.KindList()->setCurrentIndex(kSubassemblyDodecahedron);
    EXPECT_EQ(window.Edit(D::kScaleEdits[0])->text(), QStringLiteral("6"));
    // Clipping: the plane boxes show, each plane's edits follow its box.
    Check(window, D::kClipCheck)->click();
    EXPECT_FALSE(Check(window, D::kPlane1Check)->isHidden());
    EXPECT_FALSE(PlaneEditsEnabled(window, D::kPlane1Edits));
    Check(window, D::kPlane1Check)->click();
    EXPECT_TRUE(PlaneEditsEnabled(window, D::kPlane1Edits));
    EXPECT_FALSE(PlaneEditsEnabled(window, D::kPlane2Edits));
    Check(window, D::kClipCheck)->click();
    EXPECT_TRUE(Check(window, D::kPlane1Check)->isHidden());
    EXPECT_FALSE(PlaneEditsEnabled(window, D::kPlane1Edits));
    Check(window, D::kClipCheck)->click();
    EXPECT_TRUE(PlaneEditsEnabled(window, D::kPlane1Edits)) << "the plane's box kept its tick";
    // 3D text after clipping: every clipping control cleared and hidden.
    window.KindList()->setCurrentIndex(kSubassemblyText);
    EXPECT_FALSE(Check(window, D::kClipCheck)->isChecked());
    EXPECT_FALSE(Check(window, D::kClipCheck)->isEnabled());
    EXPECT_FALSE(Check(window, D::kPlane1Check)->isChecked());
    EXPECT_TRUE(Check(window, D::kPlane1Check)->isHidden());
    EXPECT_FALSE(PlaneEditsEnabled(window, D::kPlane1Edits));
    EXPECT_EQ(window.Edit(D::kCenterEdits[0])->text(), QStringLiteral("-12"));
    EXPECT_EQ(window.Edit(D::kAxisEdits[1])->text(), QStringLiteral("-1"));
    EXPECT_EQ(window.Edit(D::kSpinEdit)->text(), QStringLiteral("20"));
}

TEST_F(SubassemblyDialogWindow, APresetMaterialBecomesCurrentAtOnce) {
    D fields;
    CCreateSubaWindow window(fields);
    window.ColoringGroup()->button(1)->click();
    EXPECT_TRUE(window.MaterialList()->isEnabled());
    EXPECT_TRUE(window.Button(D::kMaterialButton)->isEnabled());
    window.MaterialList()->setCurrentIndex(11);
    emit window.MaterialList()->activated(11);
    EXPECT_FLOAT_EQ(g_materialDiffuse[0], 0.75164f);
    EXPECT_FLOAT_EQ(g_materialShininess, 51.2f);
    window.MaterialList()->setCurrentIndex(0);
    emit window.MaterialList()->activated(0);
    EXPECT_FLOAT_EQ(g_materialSpecular[0], 0.0f) << "\"选择材质\": OpenGL's default material";
    window.ColoringGroup()->button(0)->click();
    EXPECT_FALSE(window.MaterialList()->isEnabled());
    EXPECT_FALSE(window.Button(D::kMaterialButton)->isEnabled());
}

TEST_F(SubassemblyDialogWindow, AnotherMaterialIsDefinedInTheMaterialEditor) {
    D fields;
    fields.m_coloring = 1;
    CCreateSubaWindow window(fields);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* editor = dynamic_cast<CMatEditor*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        shown = true;
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("材质属性"));
        editor->m_shine->Edit()->setText(QStringLiteral("100"));
        editor->m_pViewWnd = nullptr;
        editor->OkButton()->click();
    });
    window.Button(D::kMaterialButton)->click();
    EXPECT_TRUE(shown);
    EXPECT_FLOAT_EQ(g_materialShininess, 100.0f) << "applied on OK";
}

TEST_F(SubassemblyDialogWindow, OkWritesTheFieldsBackOnceEveryNumberReads) {
    D fields;
    CCreateSubaWindow window(fields);
    window.KindList()->setCurrentIndex(kSubassemblyTorus);
    window.Edit(D::kCenterEdits[1])->setText(QStringLiteral(" 2.5 "));
    window.Edit(D::kScaleEdits[2])->setText(QStringLiteral("x"));
    Check(window, D::kClipCheck)->click();
    Check(window, D::kPlane2Check)->click();
    window.Edit(D::kPlane2Edits[3])->setText(QStringLiteral("-0.125"));
    window.Button(D::kDragLockCheck)->click();
    window.TextureList()->setCurrentIndex(7);
    window.accept();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"请输入一个数字。"));
    EXPECT_NE(window.result(), int(QDialog::Accepted)) << "the dialog stays open";
    EXPECT_EQ(fields.m_scale[2], 10.0f) << "the refused number is not taken";
    window.Edit(D::kScaleEdits[2])->setText(QStringLiteral("4"));
    window.accept();
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_EQ(fields.m_kind, kSubassemblyTorus);
    EXPECT_EQ(fields.m_text, CString(u"圆环"));
    EXPECT_EQ(fields.m_center[1], 2.5f);
    EXPECT_EQ(fields.m_scale[2], 4.0f);
    EXPECT_EQ(fields.m_clip, 1);
    EXPECT_EQ(fields.m_plane2On, 1);
    EXPECT_EQ(fields.m_plane2[3], -0.125);
    EXPECT_EQ(fields.ClipMode(), 2);
    EXPECT_EQ(fields.m_dragLock, 1);
    EXPECT_EQ(fields.m_texture, 7);
}

TEST_F(SubassemblyDialogWindow, TheDialogIsThePresenterOfItsClass) {
    D fields;
    QTimer::singleShot(0, [] {
        auto* window = dynamic_cast<CCreateSubaWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->KindList()->setCurrentIndex(kSubassemblyC60);
        window->accept();
    });
    EXPECT_EQ(fields.DoModal(), IDOK);
    EXPECT_EQ(fields.m_kind, kSubassemblyC60);
}
