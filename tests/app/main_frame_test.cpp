// The main frame: the ribbon and status bar it builds, the commands it handles (looks, minimising,
// the colour button, About), the status texts, the look kept in the settings, the keys and their
// tool tips, Qt's texts in Chinese, the file dialogs' types and folders, the resource links, the
// object pane's auto-hide mode under the pane commands.
#include "app_test_support.h"

#include "app/about_dlg.h"
#include "app/app_look.h"
#include "app/auto_hide_pane.h"
#include "app/file_dialog.h"
#include "app/frame_ids.h"
#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/object_icons.h"
#include "app/object_view.h"
#include "app/ribbon_icons.h"
#include "app/ribbon_bar.h"
#include "app/status_bar.h"
#include "app/view_tree.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/option_ids.h"
#include "document/tool_record.h"
#include "dynamics/button_press.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "support/archive_helpers.h"
#include "view/halvix_view.h"
#include "view/view_accelerators.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_ids.h"
#include "view/view_settings.h"

#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QStandardPaths>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include <sys/stat.h>

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

    // Frame commands show; commands of the document and view, not yet made, do not; About is the
    // application's.
    EXPECT_TRUE(ribbon->FindByID(ID_VIEW_MINI)->IsShown());
    EXPECT_FALSE(ribbon->FindByID(ID_APP_ABOUT)->IsShown()) << "no application object here";
    EXPECT_TRUE(ribbon->FindByID(ID_CREATE_LINE)->IsShown()) << "the view's line tool";
    EXPECT_TRUE(ribbon->FindByID(33628)->IsShown()) << "the prism gallery builds from the selection";
    for (UINT id : {ID_SLIDER_TX, ID_VIEW_PANEL, ID_VIEW_FULLSCREEN})
        EXPECT_TRUE(ribbon->FindByID(id)->IsShown()) << id;

    // The router goes to the view, then the document, then the frame.
    const auto& chain = AfxGetCommandRouter().Chain();
    ASSERT_GE(chain.size(), 3u);
    EXPECT_EQ(chain[0], static_cast<CCmdTarget*>(frame.GetView()));
    EXPECT_EQ(chain[1], static_cast<CCmdTarget*>(frame.GetDocument()));
    EXPECT_EQ(chain[2], static_cast<CCmdTarget*>(&frame));

    // Status texts go to their panes; an index without a pane changes nothing.
    HxSetStatusText(HX_STATUS_ELEMENT_PAGE, u"当前页：第二页");
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, u"文档作者：甲");
    EXPECT_EQ(frame.GetStatusBar()->GetElement(2)->GetText(), u"当前页：第二页");
    EXPECT_EQ(frame.GetStatusBar()->GetElement(0)->GetText(), u"文档作者：甲");
    HxSetStatusText(7, u"没有这个元素");
    EXPECT_EQ(frame.GetStatusBar()->GetElement(1)->GetKind(), HxRibbonKind::Separator);

    // The mini command toggles the ribbon.
    AfxGetCommandRouter().Execute(ID_VIEW_MINI);
    EXPECT_TRUE(ribbon->IsMinimized());
    AfxGetCommandRouter().Execute(ID_VIEW_MINI);
    EXPECT_FALSE(ribbon->IsMinimized());

    // Escape outside full screen explains itself.
    std::vector<CString> shown;
    HxSetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
        shown.push_back(text);
        return IDOK;
    });
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_ESCAPE));
    HxSetMessageBoxHandler(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0],
              u"ESC键 用于退出全屏或关闭影音\n可用 F4键 切换全屏状态\n\n欲结束绘图工具，请右击鼠标！");
}

TEST_F(MainFrameTest, LookIsRadioCheckedStoredAndRestored) {
    {
        CMainFrame frame;
        ASSERT_EQ(frame.OnCreate(), 0);
        EXPECT_EQ(frame.GetApplicationLook(), HX_DEFAULT_APPLICATION_LOOK);
        EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_APPLOOK_OFF_2007_BLACK));
        EXPECT_TRUE(frame.GetApplicationLook() == 332u && StoredLook() == 332u && HxGetCurrentLook() == 332u);
        EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 100)
            << "the black look is dark";

        for (UINT id = 331; id <= 335; ++id) {
            CCmdUI ui;
            ui.m_nID = id;
            AfxGetCommandRouter().Update(ui);
            EXPECT_TRUE(ui.m_radio && ui.m_enabled) << id;
            EXPECT_EQ(ui.m_check, id == 332 ? 1 : 0) << id;
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
    for (QVariant stored : {QVariant(9999), QVariant(QStringLiteral("blue"))}) {
        settings.setValue(QStringLiteral("Settings/ApplicationLook"), stored);
        settings.sync();
        EXPECT_EQ(HxReadApplicationLook(), HX_DEFAULT_APPLICATION_LOOK);
    }
    settings.remove(QStringLiteral("Settings/ApplicationLook"));
    settings.sync();
    EXPECT_EQ(HxReadApplicationLook(), 331u);
    // Every look id has colours of its own, the unknown ones the default's.
    for (UINT id = 325; id <= 335; ++id)
        EXPECT_EQ(HxGetLook(id).id, id);
    EXPECT_EQ(HxGetLook(12).id, 331u);
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
    EXPECT_TRUE(messages[0].target == frame.GetView() && messages[0].message == UM_APPLY_COLOR);
    EXPECT_EQ(messages[0].wParam, WPARAM(RGB(51, 153, 102)));
    EXPECT_FALSE(messages[0].posted);
    EXPECT_EQ(messages[1].wParam, WPARAM(0xFFFFFFFFu));
}

TEST_F(MainFrameTest, AboutRunsTheAboutDialog) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    int argc = 1;
    char name[] = "halvix";
    char* argv[] = {name, nullptr};
    CHalvixApp app(argc, argv);
    RouterScope scope({&app});
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

TEST_F(MainFrameTest, TitleFollowsTheDocumentAndRecentFilesShowInTheMenu) {
    QSettings().remove(QStringLiteral("Recent File List"));
    QTemporaryDir dir;
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    frame.StartDocument(CString());
    // The title bar and the tree's root name the document alike, untitled or not.
    auto treeName = [&] { return frame.GetViewTree()->GetRootItem()->text(0) + QStringLiteral(" - Halvix"); };
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("[未命名] - Halvix"));
    EXPECT_EQ(treeName(), frame.windowTitle());
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
    EXPECT_EQ(treeName(), frame.windowTitle());
    EXPECT_TRUE(QFile::exists(path));
    frame.GetDocument()->NewDocumentFile();
    EXPECT_EQ(treeName(), QStringLiteral("[未命名] - Halvix"));
    EXPECT_EQ(treeName(), frame.windowTitle());
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

// ---------------------------------------------------------------------------------------------
// Tool sets and the colour button

namespace {

// A tool of two free points and the segment between them.
CRecord* SegmentTool(const CString& name, const CString& comment) {
    auto* tool = new CRecord;
    tool->m_name = name;
    tool->m_comment = comment;
    auto* line = new CGLine;
    line->m_id = 2;
    line->m_parents.Add(0);
    line->m_parents.Add(1);
    tool->m_recordedCells.AddTail(new CGVertex(0, 0, u"A", 0, 0, 0));
    tool->m_recordedCells.AddTail(new CGVertex(1, 0, u"B", 1, 0, 0));
    tool->m_recordedCells.AddTail(line);
    tool->m_conditions.Add(new CCondition(0, u"点A", true));
    tool->m_conditions.Add(new CCondition(1, u"点B", true));
    EXPECT_TRUE(tool->Validate());
    return tool;
}

void WriteToolSet(const QString& path, const std::vector<std::pair<CString, CString>>& tools) {
    QDir().mkpath(QFileInfo(path).path());
    CRecordList list;
    for (const auto& [name, comment] : tools)
        list.AddTail(SegmentTool(name, comment));
    CFile file;
    ASSERT_TRUE(file.Open(CString::FromQString(path), CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    list.Serialize(ar);
    ar.Close();
    file.Close();
    HxDeleteRecords(list);
}

QByteArray ToQByteArray(const std::vector<BYTE>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST_F(MainFrameTest, ToolSetsUnderToolsBecomeButtonsWithTheirTools) {
    QTemporaryDir install;
    const QString tools = install.filePath(QStringLiteral("Tools"));
    WriteToolSet(tools + QStringLiteral("/几何工具.hvx"),
                 {{u"中垂线", u"两点的中垂线"}, {u"线段", u"连接两点"}});
    WriteToolSet(tools + QStringLiteral("/空集.hvx"), {});
    WriteBytes(tools + QStringLiteral("/坏文件.hvx"), QByteArray("\x01\x00\xff\xff\x07\x00garbage", 13));
    WriteBytes(tools + QStringLiteral("/说明.txt"), "not a tool set");
    WriteToolSet(tools + QStringLiteral("/子目录/立体工具.hvx"), {{u"对角线", u""}});
    WriteToolSet(tools + QStringLiteral("/大写.HVX"), {{u"不算", u""}});
    // A link back up the folder tree is not followed.
    QFile::link(tools, tools + QStringLiteral("/回路"));

    const CString savedInstall = g_installFolder;
    g_installFolder = CString::FromQString(install.path());
    CTestCommands commands; // the tools' commands, as the document will run them
    {
        CMainFrame frame;
        ASSERT_EQ(frame.OnCreate(), 0);
        RouterScope scope({&commands});
        ASSERT_NE(g_customToolButton, nullptr);
        HxRibbonButton* custom = g_customToolButton;
        // The sub-folder's set comes after, numbered on.
        // The four tool commands come first; the document's tools go between them and the sets.
        EXPECT_EQ(DescribeChildren(custom),
                  "创建新工具...#34210, 应用当前工具#34211, 显示脚本视图...#34212, 工具属性#34213, "
                  "工具文件夹, 几何工具#34000[中垂线#20000, 线段#20001], 立体工具#34001[对角线#20002]");
        EXPECT_EQ(custom->GetSubItem(4)->GetKind(), HxRibbonKind::Label);
        auto* first = dynamic_cast<HxRibbonButton*>(custom->GetSubItem(5));
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->GetToolTipText(), u"几何工具");
        EXPECT_EQ(first->GetDescription(),
                  CString(u"自定义工具集：") + CString::FromQString(tools + QStringLiteral("/几何工具.hvx")));
        EXPECT_EQ(first->GetSubItem(0)->GetDescription(), u"两点的中垂线");
        EXPECT_EQ(first->GetImageIndex(FALSE), 69);
        EXPECT_EQ(custom->GetSubItem(6)->GetImageIndex(FALSE), 70);
        EXPECT_EQ(first->GetSubItem(0)->GetImageIndex(FALSE), -1);
        EXPECT_TRUE(g_globalTools.GetCount() == 3 && g_toolCommandCount == 3 && g_toolSetCount == 2);
        EXPECT_EQ(g_globalTools.GetHead()->m_name, u"中垂线");

        // Shown once their commands exist; a tool runs through the router.
        HxUpdateElementState(custom, true);
        EXPECT_TRUE(first->IsShown());
        EXPECT_TRUE(first->GetSubItem(0)->IsShown());
        EXPECT_TRUE(HxExecuteRibbonCommand(20002));
        EXPECT_EQ(commands.m_runs, std::vector<UINT>({20002}));
    }
    EXPECT_TRUE(g_globalTools.IsEmpty()) << "the frame deletes its tools";
    EXPECT_EQ(g_toolCommandCount, 0);
    g_installFolder = savedInstall;
}

TEST_F(MainFrameTest, DamagedToolSetsAreSkippedWholeAndTheFrameStarts) {
    QTemporaryDir install;
    const QString tools = install.filePath(QStringLiteral("Tools"));
    WriteToolSet(tools + QStringLiteral("/a_good.hvx"), {{u"线段", u""}});
    // 501 more tools would pass the routed tool commands: that set is left out whole.
    WriteToolSet(tools + QStringLiteral("/b_many.hvx"),
                 std::vector<std::pair<CString, CString>>(501, {u"多", u""}));
    QFile good(tools + QStringLiteral("/a_good.hvx"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray whole = good.readAll();
    auto withCount = [&](char count) { return QByteArray(1, count) + whole.mid(1); };
    CRecord* broken = SegmentTool(u"断", u"");
    broken->m_conditions.GetAt(1)->m_id = 7; // an input without its cell
    CObList wrongClass;
    wrongClass.AddTail(new CGVertex(0, 0, u"A", 0, 0, 0));
    const std::vector<std::pair<const char*, QByteArray>> damaged = {
        {"c_null.hvx", QByteArray("\x01\x00\x00\x00", 4)},
        {"d_good_then_null.hvx", withCount(2) + QByteArray(2, 0)},
        {"e_not_whole.hvx", ToQByteArray(StoreBytes([&](CArchive& ar) {
             CRecordList list;
             list.AddTail(broken);
             list.Serialize(ar);
         }))},
        {"f_wrong_class.hvx", ToQByteArray(StoreBytes([&](CArchive& ar) { wrongClass.Serialize(ar); }))},
        {"g_count_beyond.hvx", withCount(char(0xFE))},
        {"h_empty.hvx", QByteArray()},
        {"i_too_large.hvx", whole + QByteArray(int(kMaxToolSetBytes), 0)},
    };
    delete broken;
    delete wrongClass.RemoveHead();
    for (const auto& [name, bytes] : damaged)
        WriteBytes(tools + u'/' + QString::fromLatin1(name), bytes);
    // A pipe, and a link to it, are never waited on.
    const QByteArray pipe = QFile::encodeName(tools + QStringLiteral("/j_pipe.hvx"));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    QFile::link(tools + QStringLiteral("/j_pipe.hvx"), tools + QStringLiteral("/k_link.hvx"));

    const CString savedInstall = g_installFolder;
    g_installFolder = CString::FromQString(install.path());
    {
        CMainFrame frame;
        ASSERT_EQ(frame.OnCreate(), 0);
        EXPECT_EQ(DescribeChildren(g_customToolButton),
                  "创建新工具...#34210, 应用当前工具#34211, 显示脚本视图...#34212, 工具属性#34213, "
                  "工具文件夹, a_good#34000[线段#20000]");
        EXPECT_TRUE(g_globalTools.GetCount() == 1 && g_toolCommandCount == 1 && g_toolSetCount == 1);
    }
    g_installFolder = savedInstall;
}

TEST_F(MainFrameTest, TheColourButtonShowsTheFirstSelectedObjectsColour) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    frame.StartDocument(CString());
    CGPage* page = g_pCurPage;
    ASSERT_NE(page, nullptr);
    auto* a = new CGVertex(1, 0, u"A", 0, 0, 0);
    a->m_color = CRgba{51, 153, 102, 255};
    auto* b = new CGVertex(2, 0, u"B", 0, 0, 0);
    b->m_color = CRgba{255, 0, 0, 255};
    page->m_cells.SetAt(1, a);
    page->m_cells.SetAt(2, b);
    page->m_nextId = 3;
    auto* colors = frame.GetRibbonBar()->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR);
    colors->SetColor(RGB(0, 0, 0));
    frame.SendMessage(UM_SELECTION_CHANGED, 1, 1);
    EXPECT_EQ(colors->GetColor(), RGB(0, 0, 0)) << "nothing selected: the colour stays";
    page->SelectCell(1);
    page->SelectCell(2);
    frame.SendMessage(UM_SELECTION_CHANGED, 1, 2);
    EXPECT_EQ(colors->GetColor(), RGB(51, 153, 102));
    EXPECT_EQ(g_selectedColor, RGB(51, 153, 102));
    frame.GetDocument()->DeleteContents();
}

TEST_F(MainFrameTest, EveryIconTheRibbonNamesIsDrawn) {
    HxRegisterObjectIcons();
    HxRibbonDefinition def;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def));
    std::vector<QString> missing;
    std::function<void(HxRibbonBaseElement*)> check = [&](HxRibbonBaseElement* e) {
        // "generic" is the empty placeholder square, no drawing of the command.
        if (!e->GetIconName().isEmpty() &&
            (!HxHasRibbonIcon(e->GetIconName()) || e->GetIconName() == QLatin1String("generic")))
            missing.push_back(e->GetIconName());
        e->ForEachChild(check);
    };
    for (auto& c : def.categories)
        for (auto& p : c.panels)
            for (auto& e : p.elements)
                check(e.get());
    for (auto& s : def.statusBar)
        check(s.element.get());
    check(def.application.get());
    for (const auto& [index, name] : def.images)
        if (!HxHasRibbonIcon(name))
            missing.push_back(name);
    EXPECT_TRUE(missing.empty()) << (missing.empty() ? std::string() : missing.front().toStdString());
    // The tree's images are drawings of their own.
    for (int image : {0, 1, 2, 6, 7, 8, 9, 10, 12, 15, 16, 17, 20})
        EXPECT_TRUE(HxHasRibbonIcon(HxObjectIconName(image))) << image;
    EXPECT_NE(HxObjectIconName(1), HxObjectIconName(2));
}

namespace {

// Takes every command first and records it.
class CCommandRecorder : public CCmdTarget {
public:
    CCommandRecorder() {
        OnCommandRange(1, 0xFFFF, &CCommandRecorder::OnRun);
        OnUpdateRange(1, 0xFFFF, &CCommandRecorder::OnUpdate);
    }
    void OnRun(UINT id) { m_runs.push_back(id); }
    void OnUpdate(CCmdUI* ui) { ui->Enable(TRUE); }
    std::vector<UINT> m_runs;
};

} // namespace

TEST_F(MainFrameTest, TheKeysOfTheCommandsRunThemAndShowInTheToolTips) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    const QList<QShortcut*> shortcuts = frame.findChildren<QShortcut*>();
    CCommandRecorder recorder;
    RouterScope scope({&recorder});
    // The keys a newcomer tries first, and the others the commands name.
    const struct {
        QKeyCombination key;
        UINT id;
        const char16_t* tip; // the tool tip of the command's first button, or null
    } keys[] = {
        {QKeyCombination(Qt::ControlModifier, Qt::Key_S), ID_FILE_SAVE, u"保存 (Ctrl+S)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_N), ID_FILE_NEW, u"新建 (Ctrl+N)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_O), ID_FILE_OPEN, u"打开 (Ctrl+O)"},
        {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O), ID_FILE_OPEN_ALL,
         u"打开 .hvx 或 .gf 文档 (Ctrl+Shift+O)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_V), ID_EDIT_PASTE, u"粘贴 (Ctrl+V)"},
        {QKeyCombination(Qt::Key_Delete), ID_EDIT_DELETE, u"删除 (Delete)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_G), ID_SELECT_PAGE, u"选择当前页 (Ctrl+G)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_K), ID_AUTOBTNDEL, u"取消当前页自动按钮 (Ctrl+K)"},
        {QKeyCombination(Qt::Key_PageUp), ID_VIEW_PAGEUP, u"上一页 (PageUp)"},
        {QKeyCombination(Qt::Key_F4), ID_VIEW_FULLSCREEN, u"切换全屏状态 (F4)"},
        {QKeyCombination(Qt::Key_Escape), ID_VIEW_ESCAPE, nullptr},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Z), ID_EDIT_UNDO, u"撤消 (Ctrl+Z)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_R), ID_EDIT_REDO, u"重做 (Ctrl+R)"},
        {QKeyCombination(Qt::Key_F7), ID_EDIT_PRINTSCR, u"抓取全图 (F7)"},
        {QKeyCombination(Qt::Key_Space), ID_ANIMA_PLAYSTOP, u"视变换启动与停止 (空格)"},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Up), ID_KEY_CTRL_UP, u"减速 (Ctrl+Up)"},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_P), ID_CREATE_POINT, u"点工具 (Shift+P)"},
        {QKeyCombination(Qt::Key_Home), ID_VIEW_TSFM_RESET, u"三维视图复位 (Home)"},
    };
    for (const auto& k : keys) {
        const QString name = QKeySequence(k.key).toString();
        QShortcut* found = nullptr;
        for (QShortcut* s : shortcuts)
            if (s->key() == QKeySequence(k.key))
                found = s;
        ASSERT_NE(found, nullptr) << name.toStdString();
        recorder.m_runs.clear();
        emit found->activated();
        EXPECT_EQ(recorder.m_runs, std::vector<UINT>{k.id}) << name.toStdString();
        if (!k.tip)
            continue;
        HxRibbonBaseElement* button = frame.GetRibbonBar()->FindByID(k.id);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_EQ(button->GetToolTipText(), k.tip);
    }
    // A key bound twice would run one command only; every button names its key once.
    std::set<std::pair<int, int>> seen;
    for (QShortcut* s : shortcuts) {
        if (s->context() != Qt::WidgetShortcut) {
            EXPECT_TRUE(seen.insert({s->key()[0].toCombined(), int(s->context())}).second)
                << s->key().toString().toStdString();
        }
    }
    EXPECT_EQ(frame.GetStatusBar()->FindElement(ID_VIEW_TSFM_RESET)->GetToolTipText(), u"三维 (Home)");
    EXPECT_EQ(frame.GetRibbonBar()->FindByID(ID_FILE_SAVE)->GetText(), u"保存\tCtrl+S")
        << "the menu's key column";
    EXPECT_EQ(HxKeyText(QKeyCombination(Qt::Key_PageDown)), u"PageDown");
    // Every key of the frame's and the view's tables is bound, to its command.
    for (const auto* table : {&HxFrameAccelerators(), &HxViewAccelerators()})
        for (const CAccelerator& a : *table) {
            const QString name = QKeySequence(a.key).toString();
            std::vector<UINT> ran;
            for (QShortcut* s : shortcuts)
                if (s->key() == QKeySequence(a.key)) {
                    recorder.m_runs.clear();
                    emit s->activated();
                    ran.insert(ran.end(), recorder.m_runs.begin(), recorder.m_runs.end());
                }
            EXPECT_NE(std::find(ran.begin(), ran.end(), a.id), ran.end()) << name.toStdString();
        }
}

TEST_F(MainFrameTest, QtsOwnTextsAreChinese) {
    ASSERT_TRUE(HxInstallChineseTranslations());
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    QDialogButtonBox ok(QDialogButtonBox::Ok);
    EXPECT_EQ(ok.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
}

TEST_F(MainFrameTest, FileDialogsNameTheirPatternsOnceAndStartInTheDocumentsFolder) {
    const struct {
        const char16_t* filter;
        QStringList shown;
    } cases[] = {
        {u"Halvix文档(*.hvx)|*.hvx||", {"Halvix文档(*.hvx)"}},
        {u"3D图形文档|*.hvx;*.gf||", {"3D图形文档 (*.hvx *.gf)"}},
        {u"Halvix文档(*.hvx)|*.hvx|图片文件(*.bmp)|*.bmp||", {"Halvix文档(*.hvx)", "图片文件(*.bmp)"}},
        {u"图片(*.png)|*.jpg||", {"图片(*.png) (*.jpg)"}},
    };
    for (const auto& c : cases) {
        CFileDialog dlg(TRUE, u"hvx", CString(), 0, c.filter);
        EXPECT_EQ(HxFileDialogFilters(dlg), c.shown) << c.shown.join('|').toStdString();
    }

    // The first dialog of a run: the documents folder (or home), never the working folder.
    QTemporaryDir work;
    const QString saved = QDir::currentPath();
    QDir::setCurrent(work.path());
    HxResetFileDialogFolder();
    g_lastDocumentPath.Empty();
    const QString first = HxFileDialogStartFolder();
    EXPECT_NE(first, work.path());
    EXPECT_TRUE(first == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) ||
                first == QDir::homePath());
    // Later ones: where the last document was.
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("课件")));
    g_lastDocumentPath = CString::FromQString(work.path() + QStringLiteral("/课件/正方体.hvx"));
    EXPECT_EQ(HxFileDialogStartFolder(), work.path() + QStringLiteral("/课件"));
    g_lastDocumentPath.Empty();
    QDir::setCurrent(saved);
}

TEST_F(MainFrameTest, ASaveAsFromAReadOnlyFolderStartsInTheDocumentsFolder) {
    QTemporaryDir work;
    const QString samples = work.path() + QStringLiteral("/Samples");
    ASSERT_TRUE(QDir().mkpath(samples));
    const QString sample = samples + QStringLiteral("/1-正方体.hvx");
    QFile file(sample);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_EQ(chmod(QFile::encodeName(samples).constData(), 0555), 0);
    HxResetFileDialogFolder();
    g_lastDocumentPath = CString::FromQString(sample);
    const QString documents = HxFileDialogStartFolder(true);
    EXPECT_NE(documents, samples);
    EXPECT_TRUE(documents == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) ||
                documents == QDir::homePath())
        << documents.toStdString();
    // The sample's own folder still opens documents; a save suggests the sample's name elsewhere.
    EXPECT_EQ(HxFileDialogStartFolder(false), samples);
    CFileDialog save(FALSE, u"hvx", CString::FromQString(sample), OFN_OVERWRITEPROMPT,
                     u"Halvix文档(*.hvx)|*.hvx||");
    const HxFileDialogStart start = HxFileDialogStartOf(save);
    EXPECT_EQ(start.folder, documents);
    EXPECT_EQ(start.selected, QStringLiteral("1-正方体.hvx"));
    CFileDialog open(TRUE, u"hvx", CString::FromQString(sample), 0, u"Halvix文档(*.hvx)|*.hvx||");
    EXPECT_EQ(HxFileDialogStartOf(open).selected, sample);
    // A writable folder keeps the whole path.
    ASSERT_EQ(chmod(QFile::encodeName(samples).constData(), 0755), 0);
    EXPECT_EQ(HxFileDialogStartOf(save).selected, sample);
    EXPECT_EQ(HxFileDialogStartFolder(true), samples);
    g_lastDocumentPath.Empty();
}

TEST_F(MainFrameTest, TheFileListWritesDatesSizesAndFoldersInChinese) {
    ASSERT_TRUE(HxInstallChineseTranslations());
    QTemporaryDir work;
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("课件")));
    QFile file(work.filePath(QStringLiteral("a.hvx")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(12345, 'x'));
    file.close();
    const QDateTime when(QDate(2024, 12, 7), QTime(8, 12));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();

    QFileDialog box;
    box.setOption(QFileDialog::DontUseNativeDialog);
    HxDressFileDialog(box);
    box.setDirectory(work.path());
    auto* proxy = box.proxyModel();
    ASSERT_NE(proxy, nullptr);
    auto* files = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
    ASSERT_NE(files, nullptr);
    auto folder = [&] { return proxy->mapFromSource(files->index(work.path())); };
    // The model reads the folder on a thread of its own.
    for (int i = 0; i < 500 && proxy->rowCount(folder()) < 2; ++i)
        QTest::qWait(10);
    ASSERT_EQ(proxy->rowCount(folder()), 2);
    const QModelIndex document = proxy->mapFromSource(files->index(work.filePath(QStringLiteral("a.hvx"))));
    const QModelIndex lesson = proxy->mapFromSource(files->index(work.filePath(QStringLiteral("课件"))));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    EXPECT_EQ(document.siblingAtColumn(3).data().toString(), chinese.toString(when, QLocale::ShortFormat));
    EXPECT_FALSE(document.siblingAtColumn(3).data().toString().contains(QStringLiteral("Dec")));
    EXPECT_EQ(document.siblingAtColumn(1).data().toString(), chinese.formattedDataSize(12345));
    EXPECT_EQ(lesson.siblingAtColumn(2).data().toString(), QStringLiteral("文件夹"));
    EXPECT_EQ(document.data().toString(), QStringLiteral("a.hvx"));
}

TEST_F(MainFrameTest, WithoutAnAddressTheResourceLinksAreDisabledAndSaySo) {
    int argc = 1;
    char name[] = "halvix";
    char* argv[] = {name, nullptr};
    CHalvixApp app(argc, argv);
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    RouterScope scope({&app});
    HxRibbon* ribbon = frame.GetRibbonBar();
    ribbon->SetActiveCategory(ribbon->GetCategory(ribbon->GetCategoryCount() - 1)); // 帮助
    frame.OnIdleUpdateCmdUI();
    for (HxRibbonBaseElement* e :
         {ribbon->FindByID(ID_HELP_PESOURCE), frame.GetStatusBar()->FindElement(ID_STATUS_LINK)}) {
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(e->IsDisabled()) << e->GetID();
        EXPECT_EQ(e->GetDescription(), u"尚未设置资源网站的地址，此命令不可用");
    }
}

TEST_F(MainFrameTest, ACommandsPromptShowsInTheInformationPaneWhileThePointerIsOnIt) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    HxRibbon* ribbon = frame.GetRibbonBar();
    ribbon->SetActiveCategory(ribbon->GetCategory(ribbon->GetCategoryCount() - 7)); // 构造
    frame.OnIdleUpdateCmdUI();
    ProcessEvents();
    HxRibbonBaseElement* info = frame.GetStatusBar()->GetElement(HX_STATUS_ELEMENT_INFO);
    const CString idle = info->GetText();

    // A disabled button tells what to select too (nothing is selected: the command is disabled).
    HxRibbonBaseElement* coordinates = ribbon->FindByID(33143); // ID_CREATE_POINT_COORDINATES
    HxRibbonBaseElement* common = ribbon->FindByID(32802);      // ID_CREATE_LINE_COMMON
    ASSERT_NE(coordinates, nullptr);
    ASSERT_NE(common, nullptr);
    EXPECT_TRUE(common->IsDisabled());
    for (const auto& [element, prompt] : {std::pair{coordinates, u"根据度量值（先选中）或输入值绘制坐标点"},
                                          std::pair{common, u"选中两线，画异面直线公垂线段"}}) {
        QWidget* button = ribbon->GetElementWidget(element);
        ASSERT_NE(button, nullptr);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        EXPECT_EQ(info->GetText(), prompt);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_EQ(info->GetText(), idle);
    }

    // The items of a button's menu prompt the same way (the triangle centres).
    HxRibbonBaseElement* centroid = ribbon->FindByID(33066);
    ASSERT_NE(centroid, nullptr);
    QWidget* centres = ribbon->GetElementWidget(centroid->GetParentElement());
    ASSERT_NE(centres, nullptr);
    QStatusTipEvent tip(QString::fromUtf16(u"选中三点，画三角形重心"));
    QApplication::sendEvent(centres, &tip);
    EXPECT_EQ(info->GetText(), u"选中三点，画三角形重心");
    // A text the program sets meanwhile stays when the prompt goes.
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, u"欲结束当前绘图，请右击鼠标！");
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(centres, &none);
    EXPECT_EQ(info->GetText(), u"欲结束当前绘图，请右击鼠标！");
}

TEST_F(MainFrameTest, TheLineCommandsShowTheirKindOnTheLineToolButton) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    HxRibbonBaseElement* tool = frame.GetRibbonBar()->FindByID(ID_CREATE_LINE);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetImageIndex(TRUE), 2);
    // Nothing selected: each command only makes the line tool current, showing its kind.
    const struct {
        UINT id;
        int image;
    } commands[] = {{32835, 3}, {32836, 4}, {32837, 5}, {32834, 2}};
    for (const auto& c : commands) {
        ASSERT_TRUE(AfxGetCommandRouter().Execute(c.id)) << c.id;
        EXPECT_EQ(tool->GetImageIndex(TRUE), c.image) << c.id;
        EXPECT_EQ(tool->GetImageIndex(FALSE), c.image) << c.id;
    }
    EXPECT_FALSE(frame.GetDocument()->IsModified());
}

TEST_F(MainFrameTest, ThePressOfAButtonWithoutACommandGoesOnToTheView) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    std::vector<HxMessageRecord> messages;
    HxSetMessageObserver([&](const HxMessageRecord& r) { messages.push_back(r); });
    // A page's start button above 10000 is posted to the main window as a message, not a command.
    HxPostButtonPress(&frame, 10001);
    HxPostButtonPress(&frame, 10000);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, UM_PRESS_BUTTON);
    EXPECT_EQ(messages[0].lParam, LPARAM(10001));
    EXPECT_EQ(messages[1].message, WM_COMMAND);
    EXPECT_EQ(messages[1].wParam, WPARAM(ID_ACTION_BUTTON_LAST));
    messages.clear();
    frame.SendMessage(UM_PRESS_BUTTON, 0, LPARAM(10001));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].target == frame.GetView() && messages[1].message == UM_PRESS_BUTTON);
    EXPECT_EQ(messages[1].lParam, LPARAM(10001));
    HxSetMessageObserver(nullptr);
    while (HxPostedMessageCount() > 0)
        HxPumpPostedMessages();
}

TEST_F(MainFrameTest, TheHideAndShowCommandsKeepTheObjectPanesAutoHideMode) {
    CMainFrame frame;
    ASSERT_EQ(frame.OnCreate(), 0);
    CObjectView* pane = frame.GetObjectView();
    CHxAutoHidePane* fold = frame.GetPaneAutoHide();
    ASSERT_TRUE(pane && fold);
    auto panelChecked = [] {
        CCmdUI ui;
        ui.m_nID = ID_VIEW_PANEL;
        AfxGetCommandRouter().Update(ui);
        return ui.m_check;
    };
    // The state after each command: folded, the dock hidden, the tab shown, the remembered mode.
    struct State {
        bool folded, dockHidden, tabShown;
        int mode;
        bool operator==(const State&) const = default;
    };
    auto state = [&] {
        return State{fold->IsAutoHide(), pane->isHidden(), !fold->TabBar()->isHidden(),
                     frame.GetRememberedPaneMode()};
    };
    ASSERT_TRUE(fold->EnableAutoHide());
    EXPECT_TRUE(state() == (State{true, true, true, CMainFrame::kPaneAutoHide}));
    EXPECT_EQ(panelChecked(), 0) << "folded away, not shown";
    EXPECT_FALSE(pane->toggleViewAction()->isEnabled()) << "the emptied dock cannot be shown";

    const struct {
        UINT command;
        State after;
        const char* what;
    } steps[] = {
        {ID_VIEW_HIDE_PANES, {false, true, false, CMainFrame::kPaneAutoHide}, "docked, then hidden"},
        {ID_VIEW_SHOW_PANES, {true, true, true, CMainFrame::kPaneAutoHide}, "folded again"},
        {ID_VIEW_PANEL, {false, false, false, CMainFrame::kPaneAutoHide}, "leaves the mode, shown"},
        {ID_VIEW_HIDE_PANES, {false, true, false, CMainFrame::kPaneShown}, "a docked pane hides"},
        {ID_VIEW_SHOW_PANES, {false, false, false, CMainFrame::kPaneShown}, "and comes back docked"},
        {ID_VIEW_PANEL, {false, true, false, CMainFrame::kPaneShown}, "hidden"},
        {ID_VIEW_PANEL, {false, false, false, CMainFrame::kPaneShown}, "shown"},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(AfxGetCommandRouter().Execute(step.command));
        const State now = state();
        EXPECT_TRUE(now == step.after) << step.what << ": folded " << now.folded << ", dock hidden "
                                       << now.dockHidden << ", tab " << now.tabShown << ", mode " << now.mode;
    }
    EXPECT_EQ(panelChecked(), 1);

    // Out and back: the panel lies over the drawing at the edge, the tree in it.
    ASSERT_TRUE(fold->EnableAutoHide());
    fold->SlideOut(false);
    EXPECT_TRUE(fold->IsSlidOut() && !fold->Panel()->isHidden());
    EXPECT_EQ(fold->Panel()->geometry(), fold->PanelRect());
    EXPECT_TRUE(fold->Panel()->isAncestorOf(frame.GetViewTree()));
    EXPECT_EQ(panelChecked(), 1);
    fold->SlideIn(false);
    EXPECT_TRUE(fold->Panel()->isHidden());
    fold->DisableAutoHide();
    EXPECT_TRUE(pane->isAncestorOf(frame.GetViewTree()));
    EXPECT_TRUE(pane->toggleViewAction()->isEnabled());
}
