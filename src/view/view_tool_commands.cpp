// The view's tool buttons (point, line, face and circle, which first try to build from the
// selection), box select, region screenshot, the grid, erasing traces and ink, the object snapshot,
// the double click on the drawing area, and the cursor of each tool.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "document/tool_record.h"
#include "document/undo_cmds.h"
#include "dynamics/ink.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/view_globals.h"
#include "view/view_ids.h"
#include "view/view_services.h"
#include "view/view_settings.h"
#include "view/view_tool_globals.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr UINT_PTR kAnimationTimer = 1;
// The document's properties command (ID_EDIT_PROPERTY).
constexpr UINT kPropertiesCommand = 32851;

// The pen of the ink tool: a slanted nib with its tip at the hot spot.
QCursor PenCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    const QPointF body[] = {{2, 30}, {6, 20}, {24, 2}, {30, 8}, {12, 26}};
    p.drawPolygon(body, 5);
    p.drawLine(QPointF(6, 20), QPointF(12, 26));
    p.end();
    return QCursor(pixmap, 2, 30);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Closing a custom tool, and the common first step of the tool buttons

void CHalvixView::CloseRunningTool() {
    CGPage* page = g_pCurPage;
    if (!g_pCurrentTool || !page)
        return;
    const int n = page->RemoveCellsAfterMarker();
    if (n >= 1) {
        RecordStep(new CCmdAddCells(n, CString(u"使用工具：") + g_pCurrentTool->m_name));
    } else if (n == -1) {
        // The tool's pending input starts again, and the step before can no longer be undone alone.
        page->m_toolNextCondition = 0;
        if (CCmd* current = page->m_cmdProcessor.GetCurrent()) {
            current->m_undoable = 0;
            page->m_cmdProcessor.UpdateMenu();
        }
    }
}

void CHalvixView::StopAnimationTimer() {
    if (IsTimerSet(kAnimationTimer))
        KillTimer(kAnimationTimer);
    g_animationRunning = 0;
}

void CHalvixView::ResetToolState() {
    CloseRunningTool();
    if (g_animationRunning)
        StopAnimationTimer();
}

// ---------------------------------------------------------------------------------------------
// Tool buttons

namespace {

struct CToolButton {
    UINT id;
    int kind; // what the selection may build
    int tool;
};

constexpr CToolButton kToolButtons[] = {
    {ID_CREATE_POINT, 1, 2},
    {ID_CREATE_LINE_TOOL, 2, 3},
    {ID_CREATE_POLYGON, 3, 4},
    {ID_CREATE_CIRCLE, 4, 5},
};

} // namespace

static void RunToolButton(CHalvixView& view, const CToolButton& button) {
    view.ResetToolState();
    CHalvixDoc* doc = view.GetDocument();
    if (!doc)
        return;
    int built = 0;
    if (HxGetViewServices().constructFromSelection)
        built = HxGetViewServices().constructFromSelection(*doc, button.kind);
    if (built == 0) {
        g_mouseTool = button.tool;
        if (button.tool == 3) {
            view.m_curPoint[0] = view.m_curPoint[1] = view.m_curPoint[2] = -1000.0;
        }
    }
    view.m_toolStage = 0;
    if (button.tool == 4)
        view.m_polyVertexCount = 0;
    view.UpdateToolCursor();
    view.RenderScene();
}

void CHalvixView::OnPointTool() {
    RunToolButton(*this, kToolButtons[0]);
}

void CHalvixView::OnLineTool() {
    RunToolButton(*this, kToolButtons[1]);
}

void CHalvixView::OnFaceTool() {
    RunToolButton(*this, kToolButtons[2]);
}

void CHalvixView::OnCircleTool() {
    RunToolButton(*this, kToolButtons[3]);
}

void CHalvixView::OnUpdateToolButton(CCmdUI* pCmdUI) {
    int tool = 0;
    for (const CToolButton& button : kToolButtons)
        if (button.id == pCmdUI->m_nID)
            tool = button.tool;
    if (pCmdUI->m_nID == ID_CUSTOM_TOOL_BUTTON)
        tool = 6;
    pCmdUI->SetCheck(tool != 0 && g_mouseTool == tool ? 1 : 0);
    // The frame runs the custom-tool button itself.
    if (pCmdUI->m_nID == ID_CUSTOM_TOOL_BUTTON)
        pCmdUI->ContinueRouting();
}

void CHalvixView::OnBoxSelect() {
    CloseRunningTool();
    ClearHover();
    g_mouseTool = 7;
    if (g_pCurPage)
        g_pCurPage->m_timerMode = 5;
    m_toolStage = 0;
    UpdateToolCursor();
    RenderScene();
}

void CHalvixView::OnUpdateBoxSelect(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_mouseTool == 7 ? 1 : 0);
}

void CHalvixView::OnRegionScreenshot() {
    ClearHover();
    g_mouseTool = 8;
    if (g_animationRunning)
        StopAnimationTimer();
    m_toolStage = 1;
    UpdateToolCursor();
}

void CHalvixView::OnToggleGrid() {
    g_coordDisplayFlags ^= 4;
    RenderScene();
}

void CHalvixView::OnUpdateToggleGrid(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck((g_coordDisplayFlags & 4) ? 1 : 0);
}

void CHalvixView::OnEraseTraces() {
    g_traceImageEmpty = 1;
    DeleteInkStrokes();
    RenderScene();
}

void CHalvixView::OnUpdateEraseTraces(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_traceImageEmpty == 0 || m_inkStrokes.GetSize() > 0);
}

void CHalvixView::OnEraseInk() {
    if (m_inkStrokes.GetSize() == 0)
        return;
    DeleteInkStrokes();
    RenderScene();
}

void CHalvixView::OnUpdateEraseInk(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_inkStrokes.GetSize() > 0);
}

void CHalvixView::OnInkTool() {
    CloseRunningTool();
    ClearHover();
    g_mouseTool = 9;
    m_toolStage = 0;
    if (g_animationRunning)
        StopAnimationTimer();
    if (m_inkPoints.empty())
        m_inkPoints.assign(size_t(kInkBufferPoints) * 3, 0.0f);
    m_inkPointCount = 0;
    UpdateToolCursor();
    RenderScene();
}

void CHalvixView::OnUpdateInkTool(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_mouseTool == 9 ? 1 : 0);
}

void CHalvixView::OnSaveInk() {
    if (!m_pDocument || m_inkStrokes.GetSize() == 0)
        return;
    std::vector<CStroke*> strokes;
    for (int i = 0; i < m_inkStrokes.GetSize(); ++i)
        if (CStroke* stroke = m_inkStrokes[i])
            strokes.push_back(stroke);
    if (HxSaveInk(m_pDocument, strokes, g_viewTransX, g_viewTransY, g_lineWidth) > 0)
        m_inkStrokes.RemoveAll(); // the cells own the strokes now
}

void CHalvixView::OnSnapshot() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool setHere = page->m_snapshot == 0;
    if (setHere)
        page->m_snapshot = 1;
    page->m_tracedCells.RemoveAll();
    for (POSITION pos = page->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page->m_cells.GetNextAssoc(pos, id, cell);
        if (cell->m_selected)
            page->m_tracedCells.AddTail(id);
    }
    page->ClearSelection();
    RedrawBackground();
    page->m_tracedCells.RemoveAll();
    if (setHere)
        page->m_snapshot = 0;
    RenderScene();
    QGuiApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------------------------------------
// Double click

void CHalvixView::OnLButtonDblClk(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (g_disableDoubleClick)
        return;
    bool erased = false;
    if (g_traceImageEmpty == 0) {
        g_traceImageEmpty = 1;
        RenderScene();
        erased = true;
    }
    if (m_inkStrokes.GetSize() > 0) {
        OnEraseInk();
        erased = true;
    }
    if (erased || !m_pDocument || g_mouseTool != 1)
        return;
    CGPage* page = g_pCurPage;
    if (!page || MouseBlocked())
        return;
    int pickClass = 0;
    WORD id = 0;
    if (!PickAt(point.x, point.y, &pickClass, &id, FALSE))
        id = 0;
    CGCell* cell = id != 0 ? page->FindCell(id) : nullptr;
    // A name is what the user aims at when the mouse is on its letters, whatever passes under them
    // and wherever the label's pick spot lies; only a point (beside which its own name sits) goes
    // before it.
    const bool onPoint =
        cell && (pickClass == 1 || (pickClass == 0 && cell->IsKindOf(RUNTIME_CLASS(CGVertex))));
    if (pickClass != 3 && !onPoint) {
        if (CGCell* named = LabelUnder(point.x, point.y)) {
            EditLabel(*named);
            return;
        }
    }
    if (cell && pickClass == 3) {
        EditLabel(*cell);
        return;
    }
    if (cell && pickClass == 10) {
        HxPostButtonPress(this, id);
        return;
    }
    if (cell) {
        page->ClearSelection();
        cell->m_selected = true;
        page->m_selAll.AddTail(id);
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(UM_SELECTION_CHANGED, 1, LPARAM(id));
        page->KindListOf(cell).AddTail(id);
        RenderScene();
        // The properties of the selected cell, when the document has its properties command.
        AfxGetCommandRouter().Execute(kPropertiesCommand);
        return;
    }
    if (id != 0)
        return; // an id that is not in the page
    // Empty space: the next page, unless this is the last one.
    CGPage* last =
        m_pDocument->GetPageCount() > 0 ? m_pDocument->GetPage(m_pDocument->GetPageCount() - 1) : nullptr;
    if (last && last != page)
        m_pDocument->GoToNextPage();
}

// ---------------------------------------------------------------------------------------------
// Cursor

void CHalvixView::UpdateToolCursor() {
    switch (g_mouseTool) {
    case 7:
    case 8:
        setCursor(Qt::CrossCursor);
        break;
    case 9: {
        static const QCursor pen = PenCursor();
        setCursor(pen);
        break;
    }
    default:
        unsetCursor();
        break;
    }
}
