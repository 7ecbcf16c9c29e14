// Undo and redo of the current page from the view, closing a custom tool being applied into its own
// step first, the colour the main frame's colour button sends (the selection's, or the ink's), the
// current material given to the one selected component, and the plane axes.
#include "view/halvix_view.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "measure/scale_line.h"
#include "dynamics/ink.h"
#include "model/page.h"
#include "solids/subassembly.h"
#include "view/view_globals.h"
#include "view/view_tool_globals.h"

void CHalvixView::OnEditUndo() {
    CGPage* page = g_pCurPage;
    if (!m_pDocument || !page)
        return;
    // A step taken back changes the lesson: the file saved before it holds what is gone now.
    if (g_mouseTool != 6) {
        m_toolStage = 0;
        m_polyVertexCount = 0;
        if (page->m_cmdProcessor.Undo())
            SetModified();
    } else {
        // A tool application in progress becomes its own step, which this undo takes back.
        CloseRunningTool();
        if (page->m_cmdProcessor.Undo())
            SetModified();
        page->m_constructMarker = -1;
    }
    ClearHover();
    RenderScene();
}

void CHalvixView::OnEditRedo() {
    CGPage* page = g_pCurPage;
    if (!m_pDocument || !page)
        return;
    if (page->m_cmdProcessor.Redo())
        SetModified();
    RenderScene();
}

void CHalvixView::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_cmdProcessor.CanUndo());
}

void CHalvixView::OnUpdateEditRedo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_cmdProcessor.CanRedo() && g_mouseTool != 6);
}

LRESULT CHalvixView::OnApplyColor(WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    CGPage* page = g_pCurPage;
    if (!m_pDocument || !page)
        return 1;
    const auto color = COLORREF(wParam);
    if (page->ColorSelection(color)) {
        page->ClearSelection();
        SetModified();
        RenderScene();
        return 1;
    }
    // Nothing selected: the colour is the pen's.  The automatic colour (a set high byte) gives the
    // pen's own red back.
    if ((color & 0xFF000000) != 0) {
        g_currentColor.r = 255;
        g_currentColor.g = 0;
        g_currentColor.b = 0;
    } else {
        g_currentColor.r = GetRValue(color);
        g_currentColor.g = GetGValue(color);
        g_currentColor.b = GetBValue(color);
    }
    RenderScene();
    return 1;
}

void CHalvixView::OnCreateAxes2D() {
    if (!m_pDocument || !g_pCurPage)
        return;
    CConstruction run(*m_pDocument);
    // Room for the origin, the four ends, two arrows and the scale.
    if (!run.Reserve(8, 5))
        return;
    HxBuildAxes2D(run);
    run.CommitCells(u"添加2维坐标轴");
    OnView2D();
}

LRESULT CHalvixView::OnMaterialChanged(WPARAM, LPARAM) {
    CGPage* page = g_pCurPage;
    if (!m_pDocument || !page)
        return 1;
    if (page->m_selOthers.GetCount() == 1) {
        if (auto* cell = DYNAMIC_DOWNCAST(CGSubassembly, page->FindCell(page->m_selOthers.GetHead()))) {
            cell->TakeCurrentMaterial();
            SetModified();
            RenderScene();
        }
    }
    return 0;
}
