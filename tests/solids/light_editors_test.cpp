// The light and material editors offscreen: pages loaded from the light and the current material
// (slider positions, texts), slider moves, "应用" enabled by a change, one message per page on apply
// and the values copied back (the same again when applied twice), "确定" applying too, the shininess
// refused outside 0 to 128 when applied or left, and the material handed on to the view.
#include "app/light_editors.h"
#include "view/view_settings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include <vector>

namespace {

class LightEditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxResetViewSettings();
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        HxSetMessageObserver([this](const HxMessageRecord& m) {
            if (m.posted && m.message == UM_MATERIAL_CHANGED)
                m_posted.push_back(m.target);
        });
    }
    void TearDown() override {
        HxSetMessageObserver(nullptr);
        HxSetMessageBoxHandler(nullptr);
        while (HxPostedMessageCount() > 0)
            HxPumpPostedMessages();
        HxResetViewSettings();
    }
    int PostedTo(const CWnd* target) const {
        int n = 0;
        for (const CWnd* t : m_posted)
            n += t == target ? 1 : 0;
        return n;
    }
    std::vector<CString> m_messages;
    std::vector<CWnd*> m_posted;
};

} // namespace

TEST_F(LightEditorsTest, TheLightPagesShowTheLight) {
    CLightEditor editor(nullptr);
    editor.Initialize();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("灯光属性"));
    ASSERT_EQ(editor.GetPageCount(), 4);
    EXPECT_EQ(editor.GetPage(0)->Caption(), CString(u"环境光"));
    EXPECT_EQ(editor.GetPage(1)->Caption(), CString(u"散射光"));
    EXPECT_EQ(editor.GetPage(2)->Caption(), CString(u"镜面光"));
    EXPECT_EQ(editor.GetPage(3)->Caption(), CString(u"光源位置"));
    // The position (200, 100, 300): sliders 1200, 1100, 1300 and the texts with one decimal.
    const int positions[3] = {1200, 1100, 1300};
    const char* texts[3] = {"200.0", "100.0", "300.0"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(editor.m_position->Slider(i)->value(), positions[i]);
        EXPECT_EQ(editor.m_position->Slider(i)->maximum(), 2000);
        EXPECT_EQ(editor.m_position->Edit(i)->text(), QString::fromLatin1(texts[i]));
        EXPECT_TRUE(editor.m_position->Edit(i)->isReadOnly());
    }
    // A colour of 0.8 puts its slider at 800.
    EXPECT_EQ(editor.m_diffuse->Slider(0)->value(), 800);
    EXPECT_EQ(editor.m_diffuse->Slider(0)->maximum(), 1000);
    EXPECT_EQ(editor.m_diffuse->Slider(0)->tickInterval(), 100);
    EXPECT_EQ(editor.m_diffuse->Edit(0)->text(), QStringLiteral("0.80"));
    EXPECT_EQ(editor.m_ambient->Edit(2)->text(), QStringLiteral("0.20"));
    EXPECT_FALSE(editor.ApplyButton()->isEnabled()) << "nothing changed yet";
    EXPECT_EQ(editor.CancelButton()->text(), QStringLiteral("取消"));
}

TEST_F(LightEditorsTest, ApplyCopiesEveryPageBackOneMessagePerPage) {
    CLightEditor editor(nullptr);
    editor.Initialize();
    editor.m_diffuse->Slider(0)->setValue(850);
    EXPECT_EQ(editor.m_diffuse->Edit(0)->text(), QStringLiteral("0.85"));
    EXPECT_TRUE(editor.m_diffuse->IsModified());
    EXPECT_TRUE(editor.ApplyButton()->isEnabled());
    editor.m_position->Slider(2)->setValue(500);
    EXPECT_EQ(editor.m_position->Edit(2)->text(), QStringLiteral("-500.00"));
    EXPECT_FLOAT_EQ(g_lightDiffuse[0], 0.8f) << "nothing applied before Apply";
    editor.ApplyButton()->click();
    EXPECT_EQ(PostedTo(&editor), 4);
    EXPECT_FLOAT_EQ(g_lightDiffuse[0], 0.85f);
    EXPECT_FLOAT_EQ(g_lightPosition[2], -500.0f);
    EXPECT_FLOAT_EQ(g_lightPosition[3], 1.0f) << "w as loaded";
    EXPECT_FLOAT_EQ(g_lightDiffuse[3], 1.0f) << "alpha as loaded";
    EXPECT_FALSE(editor.ApplyButton()->isEnabled());
    // Applied again: the same values.
    editor.Apply();
    EXPECT_EQ(PostedTo(&editor), 8);
    EXPECT_FLOAT_EQ(g_lightDiffuse[0], 0.85f);
    EXPECT_FLOAT_EQ(g_lightPosition[2], -500.0f);
}

TEST_F(LightEditorsTest, OkAppliesTooAndCancelDoesNot) {
    {
        CLightEditor editor(nullptr);
        editor.Initialize();
        editor.m_specular->Slider(1)->setValue(300);
        editor.CancelButton()->click();
    }
    EXPECT_FLOAT_EQ(g_lightSpecular[1], 1.0f);
    {
        CLightEditor editor(nullptr);
        editor.Initialize();
        editor.m_specular->Slider(1)->setValue(300);
        editor.OkButton()->click();
        EXPECT_EQ(editor.result(), int(QDialog::Accepted));
    }
    EXPECT_FLOAT_EQ(g_lightSpecular[1], 0.3f) << "applied before the sheet closed";
}

TEST_F(LightEditorsTest, TheMaterialEditorCopiesTheMaterialAndTellsTheView) {
    g_materialShininess = 64.7f;
    CWnd view;
    CMatEditor editor;
    editor.m_pViewWnd = &view;
    editor.Initialize();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("材质属性"));
    ASSERT_EQ(editor.GetPageCount(), 4);
    EXPECT_EQ(editor.GetPage(3)->Caption(), CString(u"亮度"));
    EXPECT_EQ(editor.m_shine->Edit()->text(), QStringLiteral("64")) << "the shininess truncated";
    EXPECT_EQ(editor.m_specular->Slider(0)->value(), 200);
    editor.m_ambient->Slider(1)->setValue(1000);
    editor.m_shine->Step(1);
    EXPECT_EQ(editor.m_shine->Edit()->text(), QStringLiteral("65"));
    editor.Apply();
    EXPECT_FLOAT_EQ(g_materialAmbient[1], 1.0f);
    EXPECT_FLOAT_EQ(g_materialShininess, 65.0f);
    EXPECT_EQ(PostedTo(&editor), 4);
    EXPECT_EQ(PostedTo(&view), 4) << "each copy is passed on to the view";
    // The spin buttons keep within 0 to 128.
    editor.m_shine->Edit()->setText(QStringLiteral("128"));
    editor.m_shine->Step(1);
    EXPECT_EQ(editor.m_shine->Edit()->text(), QStringLiteral("128"));
    editor.m_shine->Edit()->setText(QStringLiteral("0"));
    editor.m_shine->Step(-1);
    EXPECT_EQ(editor.m_shine->Edit()->text(), QStringLiteral("0"));
}

TEST_F(LightEditorsTest, AShininessOutsideItsRangeIsRefusedWhenAppliedOrLeft) {
    CMatEditor editor;
    editor.m_pViewWnd = nullptr;
    editor.Initialize();
    auto* tabs = editor.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(3);
    editor.m_shine->Edit()->setText(QStringLiteral("200"));
    EXPECT_FALSE(editor.Apply());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"请输入一个在 0 和 128 之间的整数。"));
    EXPECT_FLOAT_EQ(g_materialShininess, 64.0f);
    EXPECT_EQ(PostedTo(&editor), 0) << "no page is applied while one refuses";
    editor.OkButton()->click();
    EXPECT_NE(editor.result(), int(QDialog::Accepted)) << "the sheet stays open";
    // Leaving the page is refused too.
    tabs->setCurrentIndex(0);
    EXPECT_EQ(tabs->currentIndex(), 3);
    editor.m_shine->Edit()->setText(QStringLiteral("abc"));
    EXPECT_FALSE(editor.Apply());
    EXPECT_EQ(m_messages.back(), CString(u"请输入一个整数。"));
    editor.m_shine->Edit()->setText(QStringLiteral("128"));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(editor.Apply());
    EXPECT_FLOAT_EQ(g_materialShininess, 128.0f);
}
