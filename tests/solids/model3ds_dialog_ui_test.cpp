// The 3DS model's properties window: its title and controls filled from the fields, the file shown
// only, numbers refused with the window kept open, the fields written back on OK, and its presenter.
#include "app/model3ds_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QTimer>

#include <vector>

namespace {

class Model3dsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }
    static void Type(CHxExchangeDialog& window, int id, const char* text) {
        ASSERT_NE(window.Edit(id), nullptr) << id;
        window.Edit(id)->setText(QString::fromUtf8(text));
    }
    static void Fill(CDlg3ds& fields) {
        fields.m_fileName = u"/home/老师/模型/小屋.3ds";
        fields.m_center[0] = 1.5f;
        fields.m_center[1] = -2.0f;
        fields.m_center[2] = 0.25f;
        fields.m_scale = 0.125f;
        fields.m_displayMode = 1;
        fields.m_hide = 0;
    }
    std::vector<CString> m_messages;
};

TEST_F(Model3dsWindowTest, TheWindowShowsTheFieldsAndWritesThemBack) {
    CDlg3ds fields;
    Fill(fields);
    CModel3dsWindow window(fields);
    using D = CDlg3ds;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("3ds模型属性"));
    EXPECT_EQ(window.Edit(D::kFileNameEdit)->text(), QStringLiteral("/home/老师/模型/小屋.3ds"));
    EXPECT_TRUE(window.Edit(D::kFileNameEdit)->isReadOnly());
    EXPECT_EQ(window.Edit(D::kCenterXEdit)->text(), QStringLiteral("1.5"));
    EXPECT_EQ(window.Edit(D::kCenterYEdit)->text(), QStringLiteral("-2"));
    EXPECT_EQ(window.Edit(D::kCenterZEdit)->text(), QStringLiteral("0.25"));
    EXPECT_EQ(window.Edit(D::kScaleEdit)->text(), QStringLiteral("0.125"));
    EXPECT_TRUE(window.ModeGroup()->button(1)->isChecked());
    EXPECT_EQ(window.ModeGroup()->button(0)->text(), QStringLiteral("线框模式"));
    EXPECT_EQ(window.ModeGroup()->button(1)->text(), QStringLiteral("光照贴图"));
    EXPECT_EQ(window.Button(D::kModeRadio), window.ModeGroup()->button(0));
    EXPECT_EQ(window.Button(D::kHiddenCheck)->text(), QStringLiteral("隐藏对象"));
    EXPECT_FALSE(window.Button(D::kHiddenCheck)->isChecked());

    const struct {
        int id;
        const char* text;
    } refused[] = {{D::kCenterXEdit, "x"}, {D::kCenterZEdit, ""}, {D::kScaleEdit, "1e40"}};
    for (const auto& r : refused) {
        m_messages.clear();
        CModel3dsWindow again(fields);
        Type(again, r.id, r.text);
        again.accept();
        EXPECT_EQ(again.result(), 0) << r.text;
        EXPECT_EQ(m_messages, std::vector<CString>{CString(u"请输入一个数字。")}) << r.text;
        EXPECT_EQ(fields.m_scale, 0.125f);
    }

    Type(window, D::kCenterXEdit, " 4 ");
    Type(window, D::kCenterYEdit, "0");
    Type(window, D::kCenterZEdit, "-7.5");
    Type(window, D::kScaleEdit, "2");
    Type(window, D::kFileNameEdit, "changed.3ds");
    window.ModeGroup()->button(0)->click();
    window.Button(D::kHiddenCheck)->click();
    window.accept();
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_EQ((std::vector<float>(fields.m_center, fields.m_center + 3)), (std::vector<float>{4, 0, -7.5f}));
    EXPECT_EQ(fields.m_scale, 2.0f);
    EXPECT_EQ(fields.m_displayMode, 0);
    EXPECT_EQ(fields.m_hide, 1);
    EXPECT_EQ(fields.m_fileName, CString(u"/home/老师/模型/小屋.3ds")) << "the file is shown only";
}

TEST_F(Model3dsWindowTest, DoModalShowsTheRegisteredWindow) {
    CDlg3ds fields;
    Fill(fields);
    QTimer::singleShot(0, [] {
        auto* window = dynamic_cast<CModel3dsWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->ModeGroup()->button(0)->click();
        window->accept();
    });
    EXPECT_EQ(fields.DoModal(), IDOK);
    EXPECT_EQ(fields.m_displayMode, 0);
    QTimer::singleShot(0, [] {
        auto* window = dynamic_cast<CModel3dsWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->reject();
    });
    EXPECT_EQ(fields.DoModal(), IDCANCEL);
}

} // namespace
