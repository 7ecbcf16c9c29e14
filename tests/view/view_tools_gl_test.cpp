// The right button, Escape, tool buttons, undo and redo keys, the double click, the label dialog, the
// colour message and the page link, with real mouse and key events.
#include "view_tools_fixture.h"

#include "document/tool_commands.h"
#include "document/tool_record.h"
#include "dynamics/ink.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "view/label_dialog.h"

#include <QTemporaryDir>

namespace {

constexpr UINT kPropertiesCommand = 32851; // ID_EDIT_PROPERTY

// The document's properties command, as far as these tests need it: who was selected when it ran.
class CPropertiesRecorder : public CCmdTarget {
public:
    CPropertiesRecorder() { OnCommandId(kPropertiesCommand, &CPropertiesRecorder::OnEditProperties); }
    void OnEditProperties() {
        ++m_calls;
        m_selected.clear();
        for (WORD id : g_pCurPage->m_selAll)
            m_selected.push_back(id);
    }
    int m_calls = 0;
    std::vector<WORD> m_selected;
};

class ToolsTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        AfxGetCommandRouter().SetChain({m_view.get(), &m_properties, m_doc.get()});
        m_view->activateWindow();
        m_view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    }
    void TearDown() override {
        g_pCurrentTool = nullptr;
        ViewToolsTest::TearDown();
    }

    // A custom tool in the middle of an application: its finished cells B and C (ids 2 and 3,
    // counted by the page), and the current input's floating cell and a new point D above the
    // construction marker.
    void StartToolApplication() {
        AddPoint(-5, -5); // A, the user's
        m_tool.m_name = u"中点工具";
        g_pCurrentTool = &m_tool;
        g_mouseTool = 6;
        m_page->m_toolFirstId = m_page->m_nextId;
        AddPoint(1, 1);
        AddPoint(2, 2);
        m_page->m_constructMarker = m_page->m_nextId;
        // The floating cell of the input has no name of the automatic sequence.
        auto* floating =
            Insert(new CGVerFreeXyz(m_page->m_nextId++, m_page->m_nextVertex++, CString(), 3.0f, 3.0f, 0.0f));
        floating->m_nameFixed = true;
        AddPoint(4, 4); // "D"
        m_page->m_toolNewCount = 4;
        Redraw();
    }
    void ExpectToolClosed() {
        EXPECT_EQ(m_page->m_nextId, 4) << "the ids of the pending input are handed back";
        EXPECT_EQ(m_page->FindCell(4), nullptr);
        EXPECT_EQ(m_page->FindCell(5), nullptr);
        EXPECT_NE(m_page->FindCell(3), nullptr);
        EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), CString(u"D")) << "and the name D";
        ExpectStep(u"使用工具：中点工具", 2);
        EXPECT_TRUE(m_doc->IsModified());
    }

    // A tool of the document made from the midpoint of two free points (the cells stay on the page,
    // nothing selected, no undo step), with the tool services in place; null when it could not be made.
    CRecord* AddMidpointTool() {
        HxInstallToolServices();
        auto* a = AddVertex<CGVerFreeXyz>(-4.0f, 0.0f, 0.0f);
        auto* b = AddVertex<CGVerFreeXyz>(4.0f, -4.0f, 0.0f);
        AddVertex<CGVerMid>(AddLine(a->m_id, b->m_id)->m_id);
        m_page->SelectAllOfKind(0);
        CRecord* tool = m_page->CreateTool();
        m_page->ClearSelection();
        if (!tool)
            return nullptr;
        tool->m_name = u"中点";
        m_doc->m_tools.AddTail(tool);
        return tool;
    }

    void AddStroke() {
        const float stroke[6] = {0, 0, -50, 1, 1, -50};
        m_view->m_inkStrokes.Add(new CStroke(2, stroke));
    }

    CPropertiesRecorder m_properties;
    CRecord m_tool;
};

} // namespace

TEST_F(ToolsTest, RightButtonAndEscapeEndDrawings) {
    ASSERT_TRUE(Run(ID_CREATE_LINE_TOOL));
    Click(Pixel(0, 0));
    ASSERT_EQ(m_view->m_toolStage, 2);
    const int cells = CellCount();
    RightClick(Pixel(4, 4));
    ExpectTool(1, 0);
    EXPECT_EQ(CellCount(), cells) << "the point made stays, with its own step";
    EXPECT_EQ(LastStepName(), CString(u"添加全自由点"));
    EXPECT_TRUE(m_menus.empty()) << "no context menu after a cancel";

    ASSERT_TRUE(Run(ID_CREATE_POLYGON));
    Click(Pixel(-4, 0));
    Click(Pixel(-4, 4));
    Click(Pixel(-8, 2));
    ASSERT_EQ(m_view->m_toolStage, 6);
    const int three = CellCount();
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_view->m_toolStage, 0);
    EXPECT_EQ(m_view->m_polyVertexCount, 0);
    EXPECT_EQ(g_mouseTool, 1);
    EXPECT_EQ(CellCount(), three) << "Escape builds no face";
}

// The right button, Escape, the arrow command and box select each close a custom tool being applied.
class ToolCloseTest : public ToolsTest, public ::testing::WithParamInterface<int> {};

TEST_P(ToolCloseTest, HandsBackThePendingIdsAndNames) {
    StartToolApplication();
    g_pCurPage->m_timerMode = 1;
    switch (GetParam()) {
    case 0:
        RightClick(Pixel(8, 6));
        break;
    case 1:
        Key(Qt::Key_Escape);
        break;
    case 2:
        ASSERT_TRUE(Run(ID_EDIT_SELECT));
        break;
    default:
        ASSERT_TRUE(Run(ID_EDIT_SELBOX));
        break;
    }
    ExpectToolClosed();
    EXPECT_EQ(g_mouseTool, GetParam() == 3 ? 7 : 1);
    EXPECT_EQ(m_view->m_toolStage, 0);
    EXPECT_TRUE(m_menus.empty());
    EXPECT_EQ(g_pCurPage->m_timerMode, GetParam() >= 2 ? 5 : 1);
    if (GetParam() == 2) {
        EXPECT_EQ(Update(ID_EDIT_SELECT).m_check, 1);
        EXPECT_EQ(Update(ID_CREATE_POINT).m_check, 0);
    }
}
INSTANTIATE_TEST_SUITE_P(Closers, ToolCloseTest, ::testing::Values(0, 1, 2, 3));

TEST_F(ToolsTest, ACancelledApplicationWhoseCountsDisagreeCannotBeUndoneAlone) {
    CGVertex* a = AddPoint(-5, -5);
    m_page->m_cmdProcessor.Submit(new CCmdAddCell(u"添加点"));
    m_tool.m_name = u"工具";
    g_pCurrentTool = &m_tool;
    g_mouseTool = 6;
    m_page->m_toolFirstId = m_page->m_nextId;
    m_page->m_constructMarker = m_page->m_nextId;
    AddPoint(1, 1);
    m_page->m_toolNewCount = 0;
    m_page->m_toolNextCondition = 2;
    RightClick(Pixel(8, 6));
    EXPECT_EQ(m_page->m_nextId, 2);
    EXPECT_EQ(m_page->m_toolNextCondition, 0);
    ASSERT_NE(LastStep(), nullptr);
    EXPECT_EQ(LastStep()->m_undoable, 0);
    EXPECT_FALSE(m_page->m_cmdProcessor.CanUndo());
    EXPECT_NE(m_page->FindCell(a->m_id), nullptr);
}

TEST_F(ToolsTest, RightButtonOfTheArrowToolSelectsAndShowsMenus) {
    CGVertex* a = AddPoint(-4, 0);
    CGVertex* b = AddPoint(4, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVertex* c = AddPoint(0, 4);
    Redraw();
    // Select A and C, then right-click C: C alone is selected and the point menu shows.
    Click(Pixel(-4, 0));
    Click(Pixel(0, 4));
    ASSERT_EQ(m_page->m_selAll.GetCount(), 2);
    RightClick(Pixel(0, 4));
    ASSERT_EQ(m_menus.size(), 1u);
    EXPECT_EQ(m_menus[0], IDR_POPUP_POINT);
    EXPECT_TRUE(c->m_selected);
    EXPECT_FALSE(a->m_selected);
    EXPECT_EQ(m_page->m_selAll.GetCount(), 1);
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 1);
    // A line: the line menu.
    RightClick(Pixel(1, 0));
    EXPECT_EQ(m_menus.back(), IDR_POPUP_LINE);
    EXPECT_TRUE(ab->m_selected);
    EXPECT_EQ(m_page->m_selAll.GetCount(), 1);
    // Empty space: the general menu, the selection kept.
    RightClick(Pixel(6, -6));
    EXPECT_EQ(m_menus.back(), IDR_POPUP_EDIT);
    EXPECT_TRUE(ab->m_selected);
    // The ink tool shows the general menu too.
    g_mouseTool = 9;
    RightClick(Pixel(0, 0));
    EXPECT_EQ(m_menus.back(), IDR_POPUP_EDIT);
    EXPECT_EQ(m_menus.size(), 4u);
}

TEST_F(ToolsTest, TheLabelDialogRenamesAndFixesTheName) {
    CGVertex* a = AddPoint(-4, 0);
    CGVertex* b = AddPoint(4, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    // The label one unit above the point, clear of the line.
    a->m_labelHidden = 0;
    a->m_labelOffset[1] = 1.0f;
    a->m_labelOffset[0] = a->m_labelOffset[2] = 0.0f;
    a->SyncVertex();
    m_page->SelectCell(b->m_id);
    Redraw();
    bool shown = false;
    HxSetDialogRunner([&](CDialog& dialog) {
        auto& dlg = static_cast<CDlgPropertyLabel&>(dialog);
        shown = true;
        EXPECT_EQ(dlg.m_label, CString(u"A"));
        EXPECT_TRUE(dlg.m_showLabel && dlg.m_autoName && dlg.m_autoScale && !dlg.m_applyToSelected);
        dlg.m_label = u"P";
        dlg.m_color = RGB(0, 128, 0);
        dlg.m_applyToSelected = TRUE;
        dlg.m_autoScale = FALSE;
        return INT_PTR(IDOK);
    });
    RightClick(Pixel(-4, 1));
    ASSERT_TRUE(shown);
    EXPECT_EQ(a->m_name, CString(u"P"));
    EXPECT_TRUE(a->m_nameFixed);
    EXPECT_EQ(ab->m_name, CString(u"PB")) << "names built on it follow";
    EXPECT_EQ(a->m_labelColor, (CRgba{0, 128, 0, 255}));
    EXPECT_EQ(b->m_labelColor, (CRgba{0, 128, 0, 255})) << "the colour went to the selection";
    EXPECT_EQ(a->m_extB1, 1);
    EXPECT_TRUE(b->m_selected) << "the selection is kept";
    EXPECT_TRUE(m_menus.empty());
    EXPECT_FALSE(m_page->m_cmdProcessor.CanUndo()) << "no undo step";
    EXPECT_TRUE(m_doc->IsModified());

    // Automatic naming back on: the name is built again from nothing else and freed.
    HxSetDialogRunner([&](CDialog& dialog) {
        auto& dlg = static_cast<CDlgPropertyLabel&>(dialog);
        EXPECT_FALSE(dlg.m_autoName);
        dlg.m_autoName = TRUE;
        dlg.m_showLabel = FALSE;
        return INT_PTR(IDOK);
    });
    RightClick(Pixel(-4, 1));
    EXPECT_FALSE(a->m_nameFixed);
    EXPECT_EQ(a->m_labelHidden, 1);
    // Cancel changes nothing.
    a->m_labelHidden = 0;
    Redraw();
    HxSetDialogRunner([&](CDialog&) { return INT_PTR(IDCANCEL); });
    RightClick(Pixel(-4, 1));
    EXPECT_EQ(a->m_labelHidden, 0);
}

// Stands for the media player's command (ahead of the view, which plays the media itself).
class CMediaRecorder : public CCmdTarget {
public:
    CMediaRecorder() { OnCommandId(ID_VIEW_MEDIA, &CMediaRecorder::OnMedia); }
    void OnMedia() { ++m_opened; }
    int m_opened = 0;
};

TEST_F(ToolsTest, PlayBuildsButtonsFromTheSelectionElseOpensTheMedia) {
    CMediaRecorder media;
    AfxGetCommandRouter().SetChain({&media, m_view.get(), m_doc.get()});
    std::vector<int> kinds;
    int answer = 1;
    HxGetViewServices().constructFromSelection = [&](CHalvixDoc&, int kind) {
        kinds.push_back(kind);
        return answer;
    };
    ASSERT_TRUE(Run(ID_CREATE_PLAY));
    EXPECT_EQ(media.m_opened, 0);
    answer = 0;
    ASSERT_TRUE(Run(ID_CREATE_PLAY));
    EXPECT_EQ(media.m_opened, 1);
    EXPECT_EQ(kinds, (std::vector<int>{12, 12}));
    // Through the document: with nothing selected nothing is built and the media opens.
    HxGetViewServices().constructFromSelection = [](CHalvixDoc& doc, int kind) {
        return doc.ConstructFromSelection(kind);
    };
    m_page->ClearSelection();
    const WORD next = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_PLAY));
    EXPECT_EQ(media.m_opened, 2);
    EXPECT_EQ(m_page->m_nextId, next);
    AfxGetCommandRouter().SetChain({m_view.get(), m_doc.get()});
}

TEST_F(ToolsTest, ADoubleClickOnANameOpensItsLabelDialog) {
    // A's name starts one unit above it; the segment CD runs through its letters, ten pixels up.
    CGVertex* a = AddPoint(-4, 0);
    CGVertex* c = AddPoint(-8, 1.5);
    CGVertex* d = AddPoint(0, 1.5);
    CGLine* cd = AddLine(c->m_id, d->m_id);
    a->m_labelHidden = 0;
    a->m_labelOffset[1] = 1.0f;
    a->m_labelOffset[0] = a->m_labelOffset[2] = 0.0f;
    a->SyncVertex();
    Redraw();
    std::vector<CString> labels;
    HxSetDialogRunner([&](CDialog& dialog) {
        if (auto* dlg = dynamic_cast<CDlgPropertyLabel*>(&dialog))
            labels.push_back(dlg->m_label);
        return INT_PTR(IDCANCEL);
    });
    // The letters are drawn from the name's start rightwards and upwards.
    const QPoint start = Pixel(-4, 1);
    const QRgb background = m_view->grabFramebuffer().pixel(Pixel(6, -6));
    bool inked = false;
    const QImage frame = m_view->grabFramebuffer();
    for (int dx = 0; dx < 16 && !inked; ++dx)
        for (int dy = 0; dy < 20 && !inked; ++dy)
            inked = frame.pixel(start + QPoint(dx, -dy)) != background &&
                    frame.pixel(start + QPoint(dx, -dy)) != frame.pixel(Pixel(-2, 1.5));
    ASSERT_TRUE(inked) << "the name is drawn where the test looks for it";
    DoubleClick(start + QPoint(6, -10));
    EXPECT_EQ(labels, std::vector<CString>{CString(u"A")}) << "on the letters, over the line";
    DoubleClick(start + QPoint(6, -4));
    EXPECT_EQ(labels.size(), 2u) << "on the letters";
    EXPECT_EQ(m_properties.m_calls, 0);
    // Away from any name the line is the object under the mouse; on the point, the point.
    labels.clear();
    DoubleClick(Pixel(-7, 1.5));
    EXPECT_TRUE(labels.empty());
    EXPECT_EQ(m_properties.m_selected, std::vector<WORD>{cd->m_id});
    DoubleClick(Pixel(-4, 0));
    EXPECT_TRUE(labels.empty());
    EXPECT_EQ(m_properties.m_selected, std::vector<WORD>{a->m_id});
}

TEST_F(ToolsTest, ToolButtonsBuildFromTheSelectionFirst) {
    std::vector<int> kinds;
    int answer = 1;
    HxGetViewServices().constructFromSelection = [&](CHalvixDoc&, int kind) {
        kinds.push_back(kind);
        return answer;
    };
    ASSERT_TRUE(Run(ID_CREATE_POINT));
    EXPECT_EQ(g_mouseTool, 1) << "built from the selection: the tool stays";
    m_view->m_polyVertexCount = 5;
    ASSERT_TRUE(Run(ID_CREATE_POLYGON));
    EXPECT_EQ(m_view->m_polyVertexCount, 0);
    EXPECT_EQ(g_mouseTool, 1);
    answer = 0;
    ASSERT_TRUE(Run(ID_CREATE_CIRCLE));
    EXPECT_EQ(g_mouseTool, 5);
    ASSERT_TRUE(Run(ID_CREATE_LINE_TOOL));
    EXPECT_EQ(g_mouseTool, 3);
    EXPECT_EQ(kinds, (std::vector<int>{1, 3, 4, 2}));
    EXPECT_EQ(Update(ID_CREATE_LINE_TOOL).m_check, 1);
    EXPECT_EQ(Update(ID_CREATE_CIRCLE).m_check, 0);
    EXPECT_EQ(Update(ID_EDIT_SELECT).m_check, 0);
    // The keys of the tool buttons.
    Key(Qt::Key_P, Qt::ShiftModifier);
    EXPECT_EQ(g_mouseTool, 2);
    Key(Qt::Key_F, Qt::ShiftModifier);
    EXPECT_EQ(g_mouseTool, 4);
}

TEST_F(ToolsTest, BoxSelectScreenshotGridEraseAndSnapshot) {
    // Box select leaves the timer running.
    Run(ID_ANIMA_PLAYSTOP);
    ASSERT_TRUE(g_animationRunning);
    ASSERT_TRUE(Run(ID_EDIT_SELBOX));
    EXPECT_EQ(g_mouseTool, 7);
    EXPECT_TRUE(g_animationRunning);
    EXPECT_EQ(m_view->cursor().shape(), Qt::CrossCursor);

    // The region screenshot stops it.
    g_pCurPage->m_timerMode = 1;
    ASSERT_TRUE(Run(ID_EDIT_COPYBIT));
    EXPECT_FALSE(g_animationRunning);
    ExpectTool(8, 1);

    // The grid bit.
    g_coordDisplayFlags = 1;
    ASSERT_TRUE(Run(ID_VIEW_GRID3));
    EXPECT_EQ(g_coordDisplayFlags, 5);
    EXPECT_EQ(Update(ID_VIEW_GRID3).m_check, 1);
    Run(ID_VIEW_GRID3);
    EXPECT_EQ(g_coordDisplayFlags, 1);

    // Erase: disabled with nothing to erase.
    EXPECT_FALSE(Update(ID_INK_ERASE).m_enabled);
    EXPECT_FALSE(Update(ID_VIEW_ERASE).m_enabled);
    AddStroke();
    EXPECT_TRUE(Update(ID_VIEW_ERASE).m_enabled);
    Run(ID_VIEW_ERASE);
    EXPECT_EQ(m_view->m_inkStrokes.GetSize(), 0);
    EXPECT_FALSE(Update(ID_VIEW_ERASE).m_enabled);

    // The snapshot keeps the selected point in the background image and leaves the page's lists.
    g_mouseTool = 1;
    CGVertex* p = AddPoint(6, 5);
    m_page->SelectCell(p->m_id);
    Redraw();
    ASSERT_TRUE(Run(ID_VIEW_SNAPSHOT));
    EXPECT_EQ(g_traceImageEmpty, 0);
    EXPECT_FALSE(p->m_selected);
    EXPECT_EQ(m_page->m_snapshot, 0);
    EXPECT_TRUE(m_page->m_tracedCells.IsEmpty());
    EXPECT_TRUE(Update(ID_VIEW_ERASE).m_enabled);
    // The point stays on screen after it moved away.
    p->SetPosition(-6, -5, 0);
    Redraw();
    const QImage frame = m_view->grabFramebuffer();
    const QRgb kept = frame.pixel(Pixel(6, 5));
    EXPECT_GT(qRed(kept), 90);
    EXPECT_LT(qGreen(kept), 150);
}

TEST_F(ToolsTest, ASnapshotStaysOnItsPage) {
    g_mouseTool = 1;
    CGPage* first = m_page;
    CGVertex* p = AddPoint(6, 5);
    first->SelectCell(p->m_id);
    Redraw();
    ASSERT_TRUE(Run(ID_VIEW_SNAPSHOT));
    ASSERT_EQ(g_traceImageEmpty, 0);
    const QRgb background = m_view->grabFramebuffer().pixel(Pixel(-6, 5));
    ASSERT_NE(m_view->grabFramebuffer().pixel(Pixel(6, 5)), background);
    // Another page shows nothing of the first page's snapshot, and neither does the first page
    // when it comes back: the kept picture went with the switch.
    m_doc->OnNewPage();
    ASSERT_NE(g_pCurPage, first);
    EXPECT_EQ(g_traceImageEmpty, 1);
    Redraw();
    EXPECT_EQ(m_view->grabFramebuffer().pixel(Pixel(6, 5)), background);
    m_doc->SetCurrentPage(first);
    p->SetPosition(-6, -5, 0);
    Redraw();
    EXPECT_EQ(m_view->grabFramebuffer().pixel(Pixel(6, 5)), background);
}

TEST_F(ToolsTest, UndoAndRedoFromTheKeys) {
    ASSERT_TRUE(Run(ID_CREATE_POLYGON));
    Click(Pixel(0, 0));
    Click(Pixel(4, 0));
    Click(Pixel(0, 3));
    RightClick(Pixel(6, 6));
    const int all = CellCount();
    ASSERT_EQ(LastStepName(), CString(u"添加三边形"));
    EXPECT_TRUE(Update(ID_EDIT_UNDO).m_enabled);
    EXPECT_FALSE(Update(ID_EDIT_REDO).m_enabled);

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CellCount(), all - 3);
    EXPECT_EQ(LastStepName(), CString(u"添加全自由点"));
    EXPECT_TRUE(Update(ID_EDIT_REDO).m_enabled);
    Key(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(CellCount(), all - 4);
    Key(Qt::Key_R, Qt::ControlModifier);
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(CellCount(), all);
    EXPECT_NE(NewestAs<CGFace>(), nullptr);
    EXPECT_EQ(LastStepName(), CString(u"添加三边形"));
    EXPECT_FALSE(Update(ID_EDIT_REDO).m_enabled);

    // An undo in the middle of a drawing ends the drawing.
    ASSERT_TRUE(Run(ID_CREATE_LINE_TOOL));
    Click(Pixel(-6, -4));
    ASSERT_EQ(m_view->m_toolStage, 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_view->m_toolStage, 0);
    EXPECT_EQ(CellCount(), all);
}

// An undo or a redo changes what the lesson holds: after either, the lesson counts as modified, so
// that quitting or opening another asks before the state on screen is lost.
TEST_F(ToolsTest, UndoAndRedoLeaveTheLessonModified) {
    QTemporaryDir dir;
    const CString path = CString::FromQString(dir.filePath(QStringLiteral("课件.hvx")));
    Key(Qt::Key_P, Qt::ShiftModifier);
    ASSERT_EQ(g_mouseTool, 2);
    const int before = CellCount();
    Click(Pixel(3, 2));
    ASSERT_EQ(CellCount(), before + 1);
    ASSERT_EQ(LastStepName(), CString(u"添加全自由点"));
    ASSERT_TRUE(m_doc->DoSave(path));
    ASSERT_FALSE(m_doc->IsModified());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CellCount(), before);
    EXPECT_TRUE(m_doc->IsModified()) << "the saved file holds the point the undo took away";
    ASSERT_TRUE(m_doc->DoSave(path));
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(CellCount(), before + 1);
    EXPECT_TRUE(m_doc->IsModified()) << "the saved file lacks the point the redo brought back";

    // The ribbon's and the menu's commands are the same; with nothing left to undo or redo the
    // lesson stays as saved.
    ASSERT_TRUE(m_doc->DoSave(path));
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_TRUE(m_doc->DoSave(path));
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_TRUE(m_doc->DoSave(path));
    m_view->OnEditRedo();
    EXPECT_FALSE(m_doc->IsModified()) << "nothing to redo";
}

// With a tool of the user's own chosen and none of its uses under way, an undo takes the last step
// back as any undo does, and the lesson counts as modified: the file saved before holds the point.
TEST_F(ToolsTest, AnUndoWithACustomToolChosenLeavesTheLessonModified) {
    QTemporaryDir dir;
    const CString path = CString::FromQString(dir.filePath(QStringLiteral("课件.hvx")));
    CRecord* tool = AddMidpointTool();
    ASSERT_NE(tool, nullptr);
    Key(Qt::Key_P, Qt::ShiftModifier);
    const int before = CellCount();
    Click(Pixel(3, 2));
    ASSERT_EQ(CellCount(), before + 1);
    ASSERT_EQ(LastStepName(), CString(u"添加全自由点"));

    ASSERT_TRUE(Run(20000));
    ASSERT_EQ(g_pCurrentTool, tool);
    ExpectTool(6, 0);
    ASSERT_EQ(m_page->m_constructMarker, -1) << "no use of the tool under way";
    ASSERT_TRUE(m_doc->DoSave(path));
    ASSERT_FALSE(m_doc->IsModified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CellCount(), before) << "the point's step is undone";
    EXPECT_EQ(g_mouseTool, 6);
    EXPECT_TRUE(m_doc->IsModified()) << "the saved file holds the point the undo took away";
}

// With nothing to undo an undo changes nothing: a saved lesson stays as saved, whatever the tool.
TEST_F(ToolsTest, AnUndoWithNothingToUndoLeavesASavedLessonUnmodified) {
    QTemporaryDir dir;
    const CString path = CString::FromQString(dir.filePath(QStringLiteral("课件.hvx")));
    ASSERT_NE(AddMidpointTool(), nullptr);
    ASSERT_FALSE(m_page->m_cmdProcessor.CanUndo());
    const int cells = CellCount();

    // The arrow.
    ASSERT_EQ(g_mouseTool, 1);
    ASSERT_TRUE(m_doc->DoSave(path));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(m_doc->IsModified()) << "the arrow";
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_FALSE(m_doc->IsModified()) << "the arrow, through the command";

    // The user's own tool, none of its uses under way.
    ASSERT_TRUE(Run(20000));
    ExpectTool(6, 0);
    ASSERT_EQ(m_page->m_constructMarker, -1);
    ASSERT_TRUE(m_doc->DoSave(path));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(m_doc->IsModified()) << "the user's tool";
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_FALSE(m_doc->IsModified()) << "the user's tool, through the command";
    EXPECT_EQ(CellCount(), cells);
}

TEST_F(ToolsTest, UndoWithACustomToolUndoesItsStepAtOnce) {
    StartToolApplication();
    m_page->m_cmdProcessor.Submit(new CCmdAddCell(u"添加点"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_page->m_constructMarker, -1);
    EXPECT_EQ(m_page->m_nextId, 2) << "the tool's step came and went";
    EXPECT_EQ(m_page->FindCell(2), nullptr);
    EXPECT_EQ(LastStepName(), CString(u"添加点"));
    // Redo is off while the custom tool is the tool, even with something to redo.
    EXPECT_TRUE(m_page->m_cmdProcessor.CanRedo());
    EXPECT_FALSE(Update(ID_EDIT_REDO).m_enabled);
}

TEST_F(ToolsTest, DoubleClickErasesFirstThenOpensProperties) {
    CGVertex* a = AddPoint(2, 2);
    CGVertex* b = AddPoint(-2, -2);
    Redraw();
    m_page->SelectCell(b->m_id);
    AddStroke();
    DoubleClick(Pixel(2, 2));
    EXPECT_EQ(m_view->m_inkStrokes.GetSize(), 0);
    EXPECT_EQ(m_properties.m_calls, 0) << "the first double click only erases";
    DoubleClick(Pixel(2, 2));
    EXPECT_EQ(m_properties.m_calls, 1);
    EXPECT_EQ(m_properties.m_selected, std::vector<WORD>{a->m_id});
    EXPECT_TRUE(a->m_selected);
    EXPECT_FALSE(b->m_selected);
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 1);

    // With the preference set nothing happens.
    g_disableDoubleClick = 1;
    DoubleClick(Pixel(-2, -2));
    EXPECT_EQ(m_properties.m_calls, 1);
    g_disableDoubleClick = 0;
    // Other tools: nothing.
    g_mouseTool = 3;
    DoubleClick(Pixel(-2, -2));
    EXPECT_EQ(m_properties.m_calls, 1);
}

TEST_F(ToolsTest, TheColourMessageColoursTheSelectionOrTheInk) {
    EXPECT_EQ(m_view->SendMessage(UM_VIEW_APPLY_COLOR, WPARAM(RGB(0, 0, 255)), 0), 1);
    EXPECT_EQ(g_currentColor, (CRgba{0, 0, 255, 255}));
    m_view->SendMessage(UM_VIEW_APPLY_COLOR, WPARAM(0xFF000000u), 0);
    EXPECT_EQ(g_currentColor, (CRgba{255, 0, 0, 255}));
    CGVertex* p = AddPoint(1, 1);
    m_page->SelectCell(p->m_id);
    m_view->SendMessage(UM_VIEW_APPLY_COLOR, WPARAM(RGB(0, 200, 0)), 0);
    EXPECT_EQ(p->m_color.g, 200);
    EXPECT_FALSE(p->m_selected);
    EXPECT_EQ(g_currentColor, (CRgba{255, 0, 0, 255})) << "the ink keeps its colour";
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(ToolsTest, DoubleClickOnEmptySpaceAndThePageLinkMessage) {
    DoubleClick(Pixel(5, 5));
    EXPECT_EQ(g_pCurPage, m_page) << "the last page stays";
    CGPage* second = m_doc->AppendPage(u"第二页");
    DoubleClick(Pixel(5, 5));
    EXPECT_EQ(g_pCurPage, second) << "a double click on empty space goes to the next page";
    EXPECT_EQ(m_view->SendMessage(UM_GOTO_PAGE, 0, m_page->m_pageId), 1);
    EXPECT_EQ(g_pCurPage, m_page);
    // A page that does not exist is reported.
    EXPECT_EQ(m_view->SendMessage(UM_GOTO_PAGE, 0, 77), 1);
    EXPECT_EQ(g_pCurPage, m_page);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"链接页不存在，请检查修改链接按钮！"));
    m_view->SetDocument(nullptr);
    EXPECT_EQ(m_view->SendMessage(UM_GOTO_PAGE, 0, second->m_pageId), 0);
    EXPECT_EQ(g_pCurPage, m_page);
    m_view->SetDocument(m_doc.get());
}

// A tool made from a midpoint and applied with the mouse: a move arms it, a click on A matches the
// first input, a click on empty space puts a new point for the second; one step "使用工具：" + name.
TEST_F(ToolsTest, AToolIsMatchedClickByClick) {
    HxInstallToolServices();
    auto* a = AddVertex<CGVerFreeXyz>(-4.0f, 0.0f, 0.0f);
    auto* b = AddVertex<CGVerFreeXyz>(4.0f, -4.0f, 0.0f);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* m = AddVertex<CGVerMid>(ab->m_id);
    m_page->SelectAllOfKind(0);
    CRecord* tool = m_page->CreateTool();
    ASSERT_NE(tool, nullptr);
    tool->m_name = u"中点";
    m_doc->m_tools.AddTail(tool);
    m_page->ClearSelection();
    (void)m;
    Redraw();
    ASSERT_TRUE(Run(20000));
    EXPECT_EQ(g_pCurrentTool, tool);
    ExpectTool(6, 0);
    const int before = CellCount();

    Hover(Pixel(0, 4));
    const WORD first = WORD(m_page->m_constructMarker);
    ASSERT_GT(first, 0) << "the first input's placeholder follows the mouse";
    Click(Pixel(-4, 0));
    EXPECT_EQ(m_page->FindCell(first), nullptr);
    EXPECT_GT(m_page->m_constructMarker, first);
    Hover(Pixel(6, 6));
    Click(Pixel(6, 6));
    EXPECT_EQ(m_page->m_constructMarker, -1) << "finished, armed for the next";
    ExpectStep(u"使用工具：中点", 4);
    EXPECT_EQ(CellCount(), before + 3);
    auto* mid = NewestAs<CGVertex>();
    ASSERT_NE(mid, nullptr);
    auto* clicked = Cell<CGVertex>(WORD(first + 1));
    ASSERT_NE(clicked, nullptr);
    ExpectAt(*mid, (clicked->m_x - 4.0) / 2, clicked->m_y / 2, clicked->m_z / 2, 1e-4);
    EXPECT_EQ(Parents(*Cell<CGLine>(WORD(first + 2)))[0], a->m_id);

    // Undone as one step; the right button ends the armed tool.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(CellCount(), before);
    RightClick(Pixel(8, 6));
    ExpectTool(1, 0);
    g_pCurrentTool = nullptr;
}
