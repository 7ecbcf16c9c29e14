// The program as it starts and ends (the settings file, the look and the pane layout kept for the
// next start, a document from the command line, the start refused), the document textures of the
// document open, and the shown frame's full screen, panes (their auto-hide mode too), ribbon
// minimising, quick-help window (F1 too) and status bar under long texts.
#include "app_test_support.h"

#include "app/app_look.h"
#include "app/auto_hide_pane.h"
#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/object_view.h"
#include "app/quick_help.h"
#include "app/ribbon_bar.h"
#include "app/ribbon_widgets.h"
#include "app/settings_file.h"
#include "app/status_bar.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "model/face.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/halvix_view.h"
#include "view/texture_loading.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QAction>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

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

TEST_F(ProgramTest, TheObjectPaneFoldsToATabOnTheEdgeAndSlidesOut) {
    {
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        CMainFrame* frame = program.app.GetMainFrame();
        ProcessEvents();
        CObjectView* pane = frame->GetObjectView();
        CHxAutoHidePane* fold = frame->GetPaneAutoHide();
        ASSERT_NE(fold, nullptr);
        auto checked = [](UINT id) {
            CCmdUI ui;
            ui.m_nID = id;
            AfxGetCommandRouter().Update(ui);
            return ui.m_check;
        };
        auto inPanel = [&](QWidget* w) {
            for (; w; w = w->parentWidget())
                if (w == fold->Panel())
                    return true;
            return false;
        };

        // The pin of the pane's toolbar folds it to a tab on the edge it was docked at.
        QAction* pin = pane->GetToolBar()->findChild<QAction*>(QStringLiteral("AutoHidePin"));
        ASSERT_NE(pin, nullptr);
        pin->trigger();
        ProcessEvents();
        EXPECT_TRUE(fold->IsAutoHide() && pin->isChecked());
        EXPECT_EQ(fold->Alignment(), Qt::LeftDockWidgetArea);
        EXPECT_TRUE(pane->isHidden());
        EXPECT_FALSE(fold->TabBar()->isHidden());
        EXPECT_EQ(frame->toolBarArea(fold->TabBar()), Qt::LeftToolBarArea);
        EXPECT_TRUE(fold->Panel()->isHidden()) << "folded, not yet out";
        EXPECT_EQ(checked(ID_VIEW_PANEL), 0);

        // The pointer over the tab slides it out over the drawing, with the tree in it.
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(fold->Tab(), &enter);
        EXPECT_TRUE(fold->IsSlidOut());
        EXPECT_TRUE(inPanel(frame->GetViewTree()));
        EXPECT_EQ(checked(ID_VIEW_PANEL), 1);
        fold->SlideIn(false);
        fold->SlideOut(false);
        const QRect out = fold->Panel()->geometry();
        EXPECT_EQ(out.left(), frame->centralWidget()->geometry().left());
        EXPECT_EQ(out.height(), frame->centralWidget()->height());
        EXPECT_GE(out.width(), 180);
        // A press elsewhere in the window folds it back.
        QTest::mouseClick(frame->statusBar(), Qt::LeftButton);
        EXPECT_FALSE(fold->IsSlidOut());

        // Hiding the panes docks it first and remembers the mode; showing them folds it again.
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_HIDE_PANES));
        EXPECT_EQ(frame->GetRememberedPaneMode(), CMainFrame::kPaneAutoHide);
        EXPECT_FALSE(fold->IsAutoHide());
        EXPECT_TRUE(pane->isHidden() && fold->TabBar()->isHidden());
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_SHOW_PANES));
        EXPECT_TRUE(fold->IsAutoHide() && pane->isHidden());
        EXPECT_EQ(fold->Alignment(), Qt::LeftDockWidgetArea);
        EXPECT_FALSE(frame->statusBar()->isHidden());

        // Full screen hides the tab and puts it back after.
        frame->EnterFullScreen();
        EXPECT_TRUE(fold->TabBar()->isHidden());
        frame->LeaveFullScreen();
        EXPECT_TRUE(fold->IsAutoHide() && !fold->TabBar()->isHidden());

        // The mini ribbon slides an open pane in and leaves it folded.
        fold->SlideOut(false);
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_MINI));
        EXPECT_TRUE(fold->IsAutoHide() && !fold->IsSlidOut());
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_MINI));
        EXPECT_TRUE(fold->IsAutoHide() && pane->isHidden());

        // "对象面板" on a folded pane docks it again, shown; once more hides it.
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));
        EXPECT_FALSE(fold->IsAutoHide() || pin->isChecked());
        EXPECT_FALSE(pane->isHidden());
        EXPECT_EQ(frame->dockWidgetArea(pane), Qt::LeftDockWidgetArea);
        EXPECT_FALSE(inPanel(frame->GetViewTree()));
        EXPECT_EQ(pane->widget()->isHidden(), false);
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));
        EXPECT_TRUE(pane->isHidden());
        EXPECT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));

        // Docked on the right it folds to the right edge and slides out from there.
        frame->addDockWidget(Qt::RightDockWidgetArea, pane);
        ProcessEvents();
        ASSERT_TRUE(fold->EnableAutoHide());
        ProcessEvents();
        EXPECT_EQ(fold->Alignment(), Qt::RightDockWidgetArea);
        EXPECT_EQ(frame->toolBarArea(fold->TabBar()), Qt::RightToolBarArea);
        fold->SlideOut(false);
        EXPECT_EQ(fold->Panel()->geometry().right(), frame->centralWidget()->geometry().right());
        fold->DisableAutoHide();
        EXPECT_EQ(frame->dockWidgetArea(pane), Qt::RightDockWidgetArea);

        // A floating pane does not fold.
        pane->setFloating(true);
        EXPECT_FALSE(fold->EnableAutoHide());
        EXPECT_FALSE(fold->IsAutoHide() || pin->isChecked());
        pane->setFloating(false);
        frame->addDockWidget(Qt::LeftDockWidgetArea, pane);

        // Folded when the program ends, folded when it starts again.
        ASSERT_TRUE(fold->EnableAutoHide());
        EXPECT_TRUE(frame->close());
        program.app.ExitInstance(0);
    }
    {
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        CMainFrame* frame = program.app.GetMainFrame();
        ProcessEvents();
        CHxAutoHidePane* fold = frame->GetPaneAutoHide();
        EXPECT_TRUE(fold->IsAutoHide());
        EXPECT_EQ(fold->Alignment(), Qt::LeftDockWidgetArea);
        fold->DisableAutoHide();
        EXPECT_FALSE(frame->GetObjectView()->isHidden());
        EXPECT_TRUE(frame->close());
    }
}

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

TEST_F(ProgramTest, F1OpensTheQuickHelpThatAsksForIt) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    ProcessEvents();
    // Pressed in the drawing view, and (once the help closed) anywhere else in the window.
    for (int time = 0; time < 2; ++time) {
        SCOPED_TRACE(time);
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        ASSERT_EQ(frame->GetQuickHelp(), nullptr);
        QWidget* focus = time == 0 ? static_cast<QWidget*>(frame->GetView()) : frame->GetObjectView();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F1);
        ProcessEvents();
        CDlgFastHelp* help = frame->GetQuickHelp();
        ASSERT_NE(help, nullptr);
        bool asksForF1 = false;
        for (QLabel* label : help->findChildren<QLabel*>())
            asksForF1 = asksForF1 || label->text().contains(QStringLiteral("按F1键打开帮助文档"));
        EXPECT_TRUE(asksForF1);
        // Closed, it opens anew on the next F1.
        help->reject();
        ProcessEvents();
    }
    // The help finder's button names its key.
    HxRibbonBaseElement* finder = frame->GetRibbonBar()->FindByID(ID_HELP_FINDER);
    ASSERT_NE(finder, nullptr);
    EXPECT_NE(finder->GetToolTipText().Find(u"(F1)"), -1);
    frame->close();
}

TEST_F(ProgramTest, NoPromptOrStatusTextWidensTheWindowAndLongOnesAreCutShort) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    frame->showNormal();
    frame->resize(1000, 700);
    ProcessEvents();
    const QSize before = frame->size();
    ASSERT_EQ(before, QSize(1000, 700));
    HxStatusBar* bar = frame->GetStatusBar();
    HxRibbonBaseElement* info = bar->GetElement(HX_STATUS_ELEMENT_INFO);
    auto* infoLabel = qobject_cast<QLabel*>(bar->GetElementWidget(info));
    ASSERT_NE(infoLabel, nullptr);
    QWidget* link = bar->GetElementWidget(bar->FindElement(ID_STATUS_LINK));
    ASSERT_NE(link, nullptr);
    QWidget* pageLabel = bar->GetElementWidget(bar->GetElement(HX_STATUS_ELEMENT_PAGE));
    ASSERT_NE(pageLabel, nullptr);
    const int pageWidth = pageLabel->width();

    // The prompt of 定位图 (in the 工具 panel of 常用), and far longer texts from the program.
    HxRibbonBaseElement* staticFigure = frame->GetRibbonBar()->FindByID(33100);
    ASSERT_NE(staticFigure, nullptr);
    const QString figurePrompt = HxElementStatusTip(staticFigure);
    ASSERT_GT(QFontMetrics(infoLabel->font()).horizontalAdvance(figurePrompt), 500);
    QString longer;
    while (longer.size() < 600)
        longer += figurePrompt;
    const auto expectKept = [&](const char* what) {
        ProcessEvents();
        EXPECT_EQ(frame->size(), before) << what;
        EXPECT_LE(frame->minimumSizeHint().width(), before.width()) << what;
        EXPECT_LE(bar->width(), frame->width()) << what;
        // The right end of the bar stays in the window.
        EXPECT_LE(link->mapTo(frame, QPoint(link->width(), 0)).x(), frame->width()) << what;
        EXPECT_LE(infoLabel->width(), bar->width()) << what;
    };
    for (const QString& prompt : {figurePrompt, longer}) {
        QStatusTipEvent tip(prompt);
        QApplication::sendEvent(frame, &tip);
        EXPECT_EQ(info->GetText(), CString::FromQString(prompt));
        expectKept("a prompt");
        EXPECT_EQ(pageLabel->width(), pageWidth) << "the page pane keeps its text whole";
    }
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(frame, &none);
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, CString::FromQString(longer));
    expectKept("an information text");
    HxSetStatusText(HX_STATUS_ELEMENT_PAGE, u"当前页：" + CString::FromQString(longer));
    expectKept("a page title");

    // The least width of the window is what it was without the long texts.
    const int least = frame->minimumSizeHint().width();
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, u"就绪");
    HxSetStatusText(HX_STATUS_ELEMENT_PAGE, u"当前页：第一页");
    ProcessEvents();
    EXPECT_EQ(frame->minimumSizeHint().width(), least);
    // Short texts show whole.
    EXPECT_GE(infoLabel->width(), infoLabel->sizeHint().width());
    frame->close();
}

namespace {

// Level 0 of the three document textures, as the view's context holds them (rows of blue, green,
// red).
std::vector<std::vector<BYTE>> DocumentTexels() {
    std::vector<std::vector<BYTE>> all;
    if (!HxMakeGlCurrent())
        return all;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        glBindTexture(GL_TEXTURE_2D, g_textureIds[i]);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<BYTE> texels(size_t((3 * width + 3) / 4 * 4) * size_t(std::max(height, 0)));
        if (!texels.empty())
            glGetTexImage(GL_TEXTURE_2D, 0, 0x80E0 /* GL_BGR */, GL_UNSIGNED_BYTE, texels.data());
        all.push_back(std::move(texels));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return all;
}

// An 8 x 8 picture of one colour as the texels of a texture made from it.
std::vector<BYTE> PlainTexels(QRgb colour) {
    std::vector<BYTE> texels;
    for (int n = 0; n < 64; ++n)
        texels.insert(texels.end(), {BYTE(qBlue(colour)), BYTE(qGreen(colour)), BYTE(qRed(colour))});
    return texels;
}

} // namespace

TEST_F(ProgramTest, TheDocumentTexturesAreThoseOfTheDocumentThatIsOpen) {
    QTemporaryDir dir;
    const CString own = CString::FromQString(dir.filePath(QStringLiteral("纹理.hvx")));
    const QRgb colours[2] = {qRgb(200, 30, 10), qRgb(20, 160, 40)};
    std::vector<std::vector<BYTE>> builtIn;
    {
        // A document of the user's: textures 1 and 3 hold pictures of the user's, used by two faces.
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        ProcessEvents();
        builtIn = DocumentTexels();
        ASSERT_EQ(builtIn.size(), 3u);
        ASSERT_FALSE(builtIn[0].empty());
        CGPage* page = g_pCurPage;
        const float corners[3][2] = {{0, 0}, {5, 0}, {0, 5}};
        WORD ids[3];
        for (int i = 0; i < 3; ++i) {
            ids[i] = page->m_nextId++;
            page->m_cells.SetAt(ids[i], new CGVertex(ids[i], page->m_nextVertex++,
                                                     page->MakeAutoLabel(CGPage::kAutoLabelPoint),
                                                     corners[i][0], corners[i][1], 0.0f));
        }
        for (int texture : {1, 3}) {
            const QString picture = dir.filePath(QStringLiteral("%1.png").arg(texture));
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(colours[texture == 1 ? 0 : 1]);
            ASSERT_TRUE(image.save(picture));
            ASSERT_TRUE(LoadTextureImage(texture - 1, CString::FromQString(picture), false));
            const WORD id = page->m_nextId++;
            auto* face = new CGFace(id, ids[0], ids[1], ids[2], RGB(0, 0, 255));
            face->m_style = CGFace::kStyleLit;
            face->m_param4 = texture;
            page->m_cells.SetAt(id, face);
        }
        CHalvixDoc* doc = program.app.GetMainFrame()->GetDocument();
        ASSERT_TRUE(doc->OnSaveDocument(own));
        doc->SetModifiedFlag(FALSE);
        program.app.GetMainFrame()->close();
    }
    const std::vector<std::vector<BYTE>> ownTexels = {PlainTexels(colours[0]), builtIn[1],
                                                      PlainTexels(colours[1])};
    const auto expectTextures = [](const std::vector<std::vector<BYTE>>& expected, const char* when) {
        const std::vector<std::vector<BYTE>> now = DocumentTexels();
        ASSERT_EQ(now.size(), expected.size()) << when;
        for (size_t i = 0; i < now.size(); ++i)
            EXPECT_TRUE(now[i] == expected[i]) << when << ": texture " << i + 1;
    };
    {
        // Opened as the program starts (as the file manager opens it): read before the view exists.
        Program program({QStringLiteral("halvix"), own.ToQString()});
        ASSERT_TRUE(program.app.InitInstance());
        ProcessEvents();
        expectTextures(ownTexels, "opened at the start");
        program.app.GetMainFrame()->close();
    }
    {
        // A sample, then the user's document, then a new one, in one run.
        Program program;
        ASSERT_TRUE(program.app.InitInstance());
        ProcessEvents();
        CHalvixDoc* doc = program.app.GetMainFrame()->GetDocument();
        expectTextures(builtIn, "a new document at the start");
        ASSERT_TRUE(doc->OpenDocumentFile(g_installFolder + u"/Samples/6-旋转体.hvx", FALSE));
        ProcessEvents();
        expectTextures(builtIn, "a sample");
        ASSERT_TRUE(doc->OpenDocumentFile(own, FALSE));
        ProcessEvents();
        expectTextures(ownTexels, "the document after a sample");
        ASSERT_TRUE(doc->NewDocumentFile());
        ProcessEvents();
        expectTextures(builtIn, "a new document after it");
        ASSERT_TRUE(doc->OpenDocumentFile(own, FALSE));
        ProcessEvents();
        expectTextures(ownTexels, "the document again");
        program.app.GetMainFrame()->close();
    }
}
