// The main frame: the ribbon and status bar it builds, the commands it handles (looks, minimising,
// the colour button, About), the status texts, and the look kept in the settings.
#include "app_test_support.h"

#include "app/about_dlg.h"
#include "app/app_look.h"
#include "app/main_frame.h"
#include "app/ribbon_bar.h"
#include "app/status_bar.h"
#include "document/halvix_doc.h"
#include "view/halvix_view.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <QApplication>
#include <QPalette>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseTemporarySettings(); }
    void SetUp() override {
        QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
        settings.remove(QStringLiteral("Settings/ApplicationLook"));
    }
    void TearDown() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageObserver(nullptr);
    }

    static UINT StoredLook() {
        QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
        return settings.value(QStringLiteral("Settings/ApplicationLook"), 0).toUInt();
    }
};

} // namespace

TEST_F(MainFrameTest, CreatesRibbonStatusBarAndFindsItsElements) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    HxRibbon* ribbon = frame.GetRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    EXPECT_EQ(frame.menuWidget(), ribbon);
    EXPECT_EQ(frame.statusBar(), frame.GetStatusBar());
    EXPECT_EQ(ribbon->GetCategory(ribbon->GetCategoryCount() - 8)->GetName(), u"常用");

    ASSERT_NE(g_customToolButton, nullptr);
    EXPECT_EQ(g_customToolButton->GetID(), ID_CUSTOM_TOOL);
    EXPECT_EQ(g_customToolButton->GetText(), u"自定义");
    EXPECT_TRUE(g_customToolButton->IsShown()) << "the frame handles it";

    auto* colors = ribbon->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(colors->GetColorCount(), 40);
    EXPECT_TRUE(colors->IsShown());

    // Frame commands show; commands of the document and view, not yet made, do not.
    EXPECT_TRUE(ribbon->FindByID(ID_VIEW_MINI)->IsShown());
    EXPECT_TRUE(ribbon->FindByID(ID_APP_ABOUT)->IsShown());
    EXPECT_TRUE(ribbon->FindByID(ID_CREATE_LINE)->IsShown()) << "the view's line tool";
    EXPECT_FALSE(ribbon->FindByID(33628)->IsShown()) << "the prism tool is not made yet";
    EXPECT_TRUE(ribbon->FindByID(ID_SLIDER_TX)->IsShown());
    EXPECT_FALSE(ribbon->FindByID(ID_VIEW_PANEL)->IsShown());
}

TEST_F(MainFrameTest, StatusTextsGoToTheirPanes) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    HxSetStatusText(HX_STATUS_ELEMENT_PAGE, u"当前页：第二页");
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, u"文档作者：甲");
    EXPECT_EQ(frame.GetStatusBar()->GetElement(2)->GetText(), u"当前页：第二页");
    EXPECT_EQ(frame.GetStatusBar()->GetElement(0)->GetText(), u"文档作者：甲");
    HxSetStatusText(7, u"没有这个元素");
    EXPECT_EQ(frame.GetStatusBar()->GetElement(1)->GetKind(), HxRibbonKind::Separator);
}

TEST_F(MainFrameTest, LookIsRadioCheckedStoredAndRestored) {
    {
        CMainFrame frame;
        ASSERT_EQ(frame.OnCreate(), 0);
        EXPECT_EQ(frame.GetApplicationLook(), HX_DEFAULT_APPLICATION_LOOK);
        EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_APPLOOK_OFF_2007_BLACK));
        EXPECT_EQ(frame.GetApplicationLook(), 332u);
        EXPECT_EQ(StoredLook(), 332u);
        EXPECT_EQ(HxGetCurrentLook(), 332u);
        EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 100)
            << "the black look is dark";

        for (UINT id = 331; id <= 335; ++id) {
            CCmdUI ui;
            ui.m_nID = id;
            AfxGetCommandRouter().Update(ui);
            EXPECT_TRUE(ui.m_radio);
            EXPECT_EQ(ui.m_check, id == 332 ? 1 : 0) << id;
            EXPECT_TRUE(ui.m_enabled);
        }
    }
    {
        CMainFrame frame;
        ASSERT_EQ(frame.OnCreate(), 0);
        EXPECT_EQ(frame.GetApplicationLook(), 332u) << "read back at start";
        // The looks in the ribbon's menu carry the radio mark of the current one.
        auto* silver = frame.GetRibbonBar()->FindByID(ID_VIEW_APPLOOK_OFF_2007_SILVER);
        HxUpdateElementState(silver, true);
        EXPECT_FALSE(silver->IsChecked());
        AfxGetCommandRouter().Execute(ID_VIEW_APPLOOK_OFF_2007_SILVER);
        HxUpdateElementState(silver, true);
        EXPECT_TRUE(silver->IsChecked());
        EXPECT_TRUE(silver->IsRadio());
        AfxGetCommandRouter().Execute(HX_DEFAULT_APPLICATION_LOOK);
    }
}

TEST_F(MainFrameTest, StoredLookOutsideTheRangeReadsAsTheDefault) {
    QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
    settings.setValue(QStringLiteral("Settings/ApplicationLook"), 9999);
    settings.sync();
    EXPECT_EQ(HxReadApplicationLook(), HX_DEFAULT_APPLICATION_LOOK);
    settings.setValue(QStringLiteral("Settings/ApplicationLook"), QStringLiteral("blue"));
    settings.sync();
    EXPECT_EQ(HxReadApplicationLook(), HX_DEFAULT_APPLICATION_LOOK);
    settings.remove(QStringLiteral("Settings/ApplicationLook"));
    settings.sync();
    EXPECT_EQ(HxReadApplicationLook(), 331u);
    // Every look id has colours of its own, the unknown ones the default's.
    for (UINT id = 325; id <= 335; ++id)
        EXPECT_EQ(HxGetLook(id).id, id);
    EXPECT_EQ(HxGetLook(12).id, 331u);
}

TEST_F(MainFrameTest, ViewMiniTogglesTheRibbon) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    EXPECT_FALSE(frame.GetRibbonBar()->IsMinimized());
    AfxGetCommandRouter().Execute(ID_VIEW_MINI);
    EXPECT_TRUE(frame.GetRibbonBar()->IsMinimized());
    AfxGetCommandRouter().Execute(ID_VIEW_MINI);
    EXPECT_FALSE(frame.GetRibbonBar()->IsMinimized());
}

TEST_F(MainFrameTest, ColourButtonSendsTheColourToTheView) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    std::vector<HxMessageRecord> messages;
    HxSetMessageObserver([&](const HxMessageRecord& r) { messages.push_back(r); });
    auto* colors = frame.GetRibbonBar()->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR);
    colors->SetColor(RGB(51, 153, 102));
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_COLOR));
    colors->SetColor(0xFFFFFFFF);
    AfxGetCommandRouter().Execute(ID_VIEW_COLOR);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].target, static_cast<CWnd*>(frame.GetView()));
    EXPECT_EQ(messages[0].message, UM_APPLY_COLOR);
    EXPECT_EQ(messages[0].wParam, WPARAM(RGB(51, 153, 102)));
    EXPECT_FALSE(messages[0].posted);
    EXPECT_EQ(messages[1].wParam, WPARAM(0xFFFFFFFFu));
}

TEST_F(MainFrameTest, AboutRunsTheAboutDialog) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    std::vector<std::string> shown;
    HxSetDialogRunner([&](CDialog& dlg) {
        shown.push_back(dlg.GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(dlg.m_nIDTemplate, 100u);
        return INT_PTR(IDOK);
    });
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_APP_ABOUT));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "CAboutDlg");
    EXPECT_EQ(CString(CAboutDlg::kTitle), u"关于 Halvix");
    EXPECT_EQ(CString(CAboutDlg::kText), u" Halvix V6.05");
}

TEST_F(MainFrameTest, RouterGoesToTheViewThenTheDocumentThenTheFrame) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    const auto& chain = AfxGetCommandRouter().Chain();
    ASSERT_GE(chain.size(), 3u);
    EXPECT_EQ(chain[0], static_cast<CCmdTarget*>(frame.GetView()));
    EXPECT_EQ(chain[1], static_cast<CCmdTarget*>(frame.GetDocument()));
    EXPECT_EQ(chain[2], static_cast<CCmdTarget*>(&frame));
}

TEST_F(MainFrameTest, TitleFollowsTheDocumentAndRecentFilesShowInTheMenu) {
    QSettings().remove(QStringLiteral("Recent File List"));
    QTemporaryDir dir;
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    frame.StartDocument(CString());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("[未命名] - Halvix"));
    HxRibbon* ribbon = frame.GetRibbonBar();
    for (UINT id :
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_SAVE_GF, ID_FILE_OPEN_ALL}) {
        HxRibbonBaseElement* item = ribbon->FindByID(id);
        ASSERT_NE(item, nullptr) << id;
        HxUpdateElementState(item, true);
        EXPECT_TRUE(item->IsShown()) << id;
    }
    EXPECT_FALSE(ribbon->FindByID(ID_FILE_MRU_FILE1)->IsShown()) << "no recent files yet";

    const QString path = dir.filePath(QStringLiteral("课件.hvx"));
    HxSetDialogRunner([&](CDialog& dlg) {
        static_cast<CFileDialog&>(dlg).SetResult(CString::FromQString(path));
        return INT_PTR(IDOK);
    });
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_FILE_SAVE_AS));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("课件.hvx - Halvix"));
    EXPECT_TRUE(QFile::exists(path));
    HxRibbonBaseElement* first = ribbon->FindByID(ID_FILE_MRU_FILE1);
    HxUpdateElementState(first, true);
    EXPECT_TRUE(first->IsShown());
    EXPECT_EQ(first->GetText(), u"&1 课件.hvx");
    EXPECT_FALSE(ribbon->FindByID(ID_FILE_MRU_FILE1 + 1)->IsShown());
    QSettings().remove(QStringLiteral("Recent File List"));
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksFirst) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    frame.StartDocument(CString());
    std::vector<CString> asked;
    int answer = IDCANCEL;
    HxSetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
        asked.push_back(text);
        return answer;
    });
    EXPECT_TRUE(frame.close()) << "nothing changed: no question";
    EXPECT_TRUE(asked.empty());
    frame.GetDocument()->SetModifiedFlag();
    EXPECT_FALSE(frame.close());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], u"是否保存对 [未命名] 的更改？");
    answer = IDNO;
    EXPECT_TRUE(frame.close());
    HxSetMessageBoxHandler(nullptr);
}

TEST_F(MainFrameTest, PanSlidersFollowAndMoveTheView) {
    HxResetViewGlobals();
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    HxRibbon* ribbon = frame.GetRibbonBar();
    auto* tx = ribbon->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TX);
    auto* ty = ribbon->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TY);
    auto* tz = ribbon->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TZ);
    ASSERT_TRUE(tx && ty && tz);
    EXPECT_EQ(tz->GetPos(), 0) << "z = -50 is the middle";

    // The view tells the frame after changing the translation (tenths, truncated).
    g_viewTransX = 1.27f;
    g_viewTransY = -3.0f;
    g_viewTransZ = -40.0f;
    UpdatePanSliders();
    EXPECT_EQ(tx->GetPos(), 12);
    EXPECT_EQ(ty->GetPos(), -30);
    EXPECT_EQ(tz->GetPos(), 100);

    // Moving a slider moves the view.
    tx->SetPos(-55);
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_SLIDER_TX));
    EXPECT_FLOAT_EQ(g_viewTransX, -5.5f);
    tz->SetPos(0);
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_SLIDER_TZ));
    EXPECT_FLOAT_EQ(g_viewTransZ, -50.0f);
    ty->SetPos(7);
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_SLIDER_TY));
    EXPECT_FLOAT_EQ(g_viewTransY, 0.7f);
    HxResetViewGlobals();
}
