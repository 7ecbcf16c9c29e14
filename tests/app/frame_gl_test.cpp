// The program as it starts and ends (the settings file, the look and the pane layout kept for the
// next start, a document from the command line, the start refused), and the shown frame's full
// screen, panes, ribbon minimising and quick-help window.
#include "app_test_support.h"

#include "app/app_look.h"
#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/object_view.h"
#include "app/quick_help.h"
#include "app/ribbon_bar.h"
#include "app/settings_file.h"
#include "app/status_bar.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "model/page.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QFile>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class ProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UseTemporarySettings();
        HxInitInstallFolder();
    }
    void SetUp() override {
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        HxResetViewSettings();
        HxResetPreferenceSettings();
        QFile::remove(HxSettingsFilePath());
        QSettings(QStringLiteral("Vorlane"), QStringLiteral("Halvix")).remove(QStringLiteral("Settings"));
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        CHalvixApp::s_oleInit = nullptr;
        HxApplyLook(HX_DEFAULT_APPLICATION_LOOK);
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        HxResetViewSettings();
    }

    // An application object over the test's QApplication, started with these arguments.
    struct Program {
        int argc = 1;
        char name[8] = "halvix";
        char* argv[2] = {name, nullptr};
        CHalvixApp app{argc, argv};
        explicit Program(const QStringList& args = {QStringLiteral("halvix")}) { app.SetArguments(args); }
    };
};

} // namespace

TEST_F(ProgramTest, StartsAndEndsKeepingTheSettingsForTheNextStart) {
    {
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        CMainFrame* frame = program.app.GetMainFrame();
        ProcessEvents();
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(AfxGetMainWnd(), static_cast<CWnd*>(frame));
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("[未命名] - Halvix"));
        ASSERT_NE(g_pCurPage, nullptr);
        EXPECT_EQ(g_pCurPage->m_title, u"第一页");
        EXPECT_EQ(HxGetStatusText(HX_STATUS_ELEMENT_PAGE), u"当前页：第一页");
        EXPECT_EQ(AfxGetCommandRouter().Chain().back(), static_cast<CCmdTarget*>(&program.app));
        EXPECT_EQ(frame->GetViewTree()->GetRootItem()->child(0)->text(0), QStringLiteral("【 1】第一页"));

        // The user's choices of this run.
        g_animationFps = 40;
        g_labelFontName = u"楷体";
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_APPLOOK_OFF_2007_BLACK));
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));
        EXPECT_TRUE(frame->GetObjectView()->isHidden());
        EXPECT_FALSE(QFile::exists(HxSettingsFilePath()));
        EXPECT_TRUE(frame->close());
        EXPECT_TRUE(QFile::exists(HxSettingsFilePath())) << "written when the frame closes";
        program.app.ExitInstance(0);
    }
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    HxResetPreferenceSettings();
    ASSERT_EQ(g_animationFps, 25);
    {
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        CMainFrame* frame = program.app.GetMainFrame();
        ProcessEvents();
        EXPECT_TRUE(g_animationFps == 40 && g_labelFontName == u"楷体") << "read back at start";
        EXPECT_EQ(frame->GetApplicationLook(), UINT(ID_VIEW_APPLOOK_OFF_2007_BLACK));
        EXPECT_TRUE(frame->GetObjectView()->isHidden()) << "the pane layout is put back";
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));
        EXPECT_FALSE(frame->GetObjectView()->isHidden());
        EXPECT_TRUE(frame->close());
    }
}

TEST_F(ProgramTest, OpensTheDocumentNamedOnTheCommandLineOrRefusesTheStart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("立方体.hvx"));
    {
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        CHalvixDoc* doc = program.app.GetMainFrame()->GetDocument();
        doc->OnNewPage();
        ASSERT_TRUE(doc->OnSaveDocument(CString::FromQString(path)));
        doc->SetModifiedFlag(FALSE);
        program.app.GetMainFrame()->close();
    }
    {
        Program program({QStringLiteral("halvix"), path});
        ASSERT_TRUE(program.app.InitInstance());
        CHalvixDoc* doc = program.app.GetMainFrame()->GetDocument();
        EXPECT_TRUE(doc->GetPathName() == CString::FromQString(path) &&
                    g_lastDocumentPath == doc->GetPathName());
        EXPECT_EQ(doc->GetPageCount(), 2);
        EXPECT_EQ(program.app.GetMainFrame()->GetViewTree()->GetRootItem()->childCount(), 2);
        program.app.GetMainFrame()->close();
    }
    // A file that cannot be opened ends the start (after the document's own message).
    std::vector<CString> shown;
    HxSetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
        shown.push_back(text);
        return IDOK;
    });
    Program missing({QStringLiteral("halvix"), dir.filePath(QStringLiteral("没有.hvx"))});
    EXPECT_FALSE(missing.app.InitInstance());
    EXPECT_EQ(shown.size(), 1u);

    // A failed OLE start ends the program with its message.
    CHalvixApp::s_oleInit = [] { return false; };
    Program program;
    EXPECT_FALSE(program.app.InitInstance());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], u"OLE 初始化失败。  请确保 OLE 库是正确的版本。");
    EXPECT_EQ(program.app.GetMainFrame(), nullptr);
}

// The view draws formula-markup texts as one-bit pictures of the formula engine: the program puts
// the engine's renderer in place when it starts.
TEST_F(ProgramTest, TheStartGivesTheViewTheFormulaPicturesOfMarkupTexts) {
    HxSetFormulaMonochromeRenderer(nullptr);
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    ProcessEvents();
    ASSERT_TRUE(HxMakeGlCurrent());
    UINT lists = 0;
    int height = 0;
    const CString glyphs = BuildTextBitmapLists(
        u"<#><l><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f></l></#>", lists, height, 0);
    ASSERT_NE(lists, 0u);
    EXPECT_EQ(glyphs, CString(char16_t(lists)));
    EXPECT_GT(height, g_fontHeight) << "a fraction stands higher than one line";
    if (HxMakeGlCurrent())
        glDeleteLists(lists, 2);
    EXPECT_TRUE(frame->close());
}

TEST_F(ProgramTest, FullScreenPanesAndTheMiniRibbonHideAndShowTheBars) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    ProcessEvents();
    // Which of the ribbon, status bar, object pane and full-screen toolbar are hidden.
    auto hidden = [&] {
        ProcessEvents();
        return std::vector<bool>{frame->GetRibbonBar()->isHidden(), frame->GetStatusBar()->isHidden(),
                                 frame->GetObjectView()->isHidden(),
                                 frame->GetFullScreenToolBar()->isHidden()};
    };
    auto checked = [](UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        return ui.m_check;
    };
    ASSERT_EQ(hidden(), std::vector<bool>({false, false, false, true}));

    EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_FULLSCREEN));
    EXPECT_EQ(hidden(), std::vector<bool>({true, true, true, false})) << "the full-screen toolbar floats";
    EXPECT_TRUE(frame->IsFullScreen() && frame->isFullScreen());
    EXPECT_EQ(frame->GetRememberedPaneMode(), CMainFrame::kPaneShown);
    EXPECT_EQ(checked(ID_VIEW_FULLSCREEN), 1);
    AfxGetCommandRouter().Execute(ID_VIEW_FULLSCREEN_TOOLBAR);
    EXPECT_TRUE(frame->GetFullScreenToolBar()->isHidden());
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_ESCAPE)) << "Esc leaves full screen";
    EXPECT_FALSE(frame->IsFullScreen());
    EXPECT_EQ(hidden(), std::vector<bool>({false, false, false, true}));

    // With the pane closed before, it stays closed; the status bar comes back.
    AfxGetCommandRouter().Execute(ID_VIEW_PANEL);
    frame->EnterFullScreen();
    EXPECT_EQ(frame->GetRememberedPaneMode(), CMainFrame::kPaneHidden);
    frame->LeaveFullScreen();
    EXPECT_EQ(hidden(), std::vector<bool>({false, false, true, true}));
    AfxGetCommandRouter().Execute(ID_VIEW_PANEL);

    // Panes hide and show, and follow the mini ribbon.
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_HIDE_PANES));
    EXPECT_EQ(hidden(), std::vector<bool>({false, true, true, true}));
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_SHOW_PANES));
    EXPECT_EQ(hidden(), std::vector<bool>({false, false, false, true}));
    EXPECT_EQ(checked(ID_VIEW_PANEL), 1);
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_MINI));
    EXPECT_TRUE(frame->GetRibbonBar()->IsMinimized());
    EXPECT_TRUE(frame->GetObjectView()->isHidden());
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_MINI));
    EXPECT_FALSE(frame->GetObjectView()->isHidden());
    frame->close();
}

TEST_F(ProgramTest, QuickHelpOpensOnceAndAgainAfterItCloses) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_QUICK_HELP));
    CDlgFastHelp* help = frame->GetQuickHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), QStringLiteral("多功能绘图工具快捷帮助"));
    ASSERT_EQ(help->GetTabs()->count(), 16);
    EXPECT_EQ(help->GetTabs()->tabText(0), QStringLiteral("箭头工具"));
    EXPECT_EQ(help->GetTabs()->tabText(15), QStringLiteral("自定义工具"));
    EXPECT_TRUE(help->GetPageText(0).startsWith(QStringLiteral("\t\t箭头工具\n1.点选对象：\n")));
    EXPECT_EQ(help->GetPageText(15), QStringLiteral("\t\t自定义工具\n创建或使用一个自定义工具"));
    help->GetTabs()->setCurrentIndex(3);
    EXPECT_EQ(help->GetCurrentPage(), 3);

    EXPECT_TRUE(HxExecuteRibbonCommand(ID_QUICK_HELP));
    EXPECT_EQ(frame->GetQuickHelp(), help) << "one window at a time";

    help->reject();
    ProcessEvents();
    EXPECT_EQ(frame->GetQuickHelp(), nullptr) << "the window told its frame";
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_QUICK_HELP));
    ASSERT_NE(frame->GetQuickHelp(), nullptr);
    EXPECT_EQ(frame->GetQuickHelp()->GetCurrentPage(), 0);

    // No help file comes with the program: the help finder opens the same window.
    frame->GetQuickHelp()->reject();
    ProcessEvents();
    ASSERT_EQ(frame->GetQuickHelp(), nullptr);
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_HELP_FINDER));
    EXPECT_NE(frame->GetQuickHelp(), nullptr);
    frame->close();
}
