// The document's selection, visibility, label, fill and trace commands and the two display
// switches: each works on the current page, records no undo step and tells the object tree what
// changed.
#include "document/display_dialogs.h"
#include "document/display_ids.h"
#include "document/halvix_doc.h"
#include "document/neighbour_services.h"
#include "measure/text_items.h"
#include "measure/vector_items.h"
#include "model/arc.h"
#include "model/face.h"
#include "view/view_colors.h"
#include "view/view_settings.h"

namespace {

// UM_SELECTION_CHANGED to the main window with the code and the current page's tree item.
void NotifyTree(int code, bool send = false) {
    CWnd* frame = AfxGetMainWnd();
    if (!frame || !g_pCurPage)
        return;
    const LPARAM item = LPARAM(40000 + g_pCurPage->m_pageId);
    if (send)
        frame->SendMessage(UM_SELECTION_CHANGED, WPARAM(code), item);
    else
        frame->PostMessage(UM_SELECTION_CHANGED, WPARAM(code), item);
}

void NotifyTextsChanged(const CGPage& page) {
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page.m_pageId));
}

// The first selected cell met in the page's map order, or null.
CGCell* FirstSelectedInMapOrder(const CGPage& page) {
    CGCell* first = nullptr;
    ForEachCell(page.m_cells, [&](CGCell* cell) {
        if (!first && cell->m_selected)
            first = cell;
    });
    return first;
}

void SwapRgb(CRgba& a, CRgba& b) {
    for (int i = 0; i < 3; ++i)
        std::swap(a[i], b[i]);
}

bool SameRgb(const CRgba& a, const CRgba& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

} // namespace

void CHalvixDoc::AddSelectionCommands() {
    OnCommandId(ID_VIEW_HIDEOBJECTS, &CHalvixDoc::OnHideObjects);
    OnUpdateId(ID_VIEW_HIDEOBJECTS, &CHalvixDoc::OnUpdateHideObjects);
    OnCommandId(ID_VIEW_SHOWHIDE_LABEL, &CHalvixDoc::OnShowLabels);
    OnUpdateId(ID_VIEW_SHOWHIDE_LABEL, &CHalvixDoc::OnUpdateShowLabels);
    OnCommandId(ID_EDIT_SELECT_ALL, &CHalvixDoc::OnEditSelectAll);
    OnCommandId(ID_SELECT_POINT, &CHalvixDoc::OnSelectVisiblePoints);
    OnCommandId(ID_SELECT_LINE, &CHalvixDoc::OnSelectVisibleLines);
    OnCommandId(ID_SELECT_FACE, &CHalvixDoc::OnSelectVisibleFaces);
    OnCommandId(ID_SELECT_PARENTS, &CHalvixDoc::OnSelectParents);
    OnCommandId(ID_SELECT_CHILDREN, &CHalvixDoc::OnSelectChildren);
    OnUpdateId(ID_SELECT_PARENTS, &CHalvixDoc::OnUpdateHasSelection);
    OnUpdateId(ID_SELECT_CHILDREN, &CHalvixDoc::OnUpdateHasSelection);
    OnCommandId(ID_SELECT_PAGE, &CHalvixDoc::OnSelectPage);
    OnCommandId(ID_VIEW_FILL, &CHalvixDoc::OnFillColor);
    OnUpdateId(ID_VIEW_FILL, &CHalvixDoc::OnUpdateFillColor);
    OnCommandId(ID_EDIT_LABEL, &CHalvixDoc::OnEditBatchLabels);
    OnCommandId(ID_VIEW_TRACE, &CHalvixDoc::OnTraceObjects);
    OnUpdateId(ID_VIEW_TRACE, &CHalvixDoc::OnUpdateTraceObjects);
    OnCommandId(ID_VIEW_TRACE_ERASE, &CHalvixDoc::OnEraseTraces);
    OnUpdateId(ID_VIEW_TRACE_ERASE, &CHalvixDoc::OnUpdateEraseTraces);
    OnCommandId(ID_VIEW_DASHED_LIT, &CHalvixDoc::OnToggleDashedBehindLit);
    OnUpdateId(ID_VIEW_DASHED_LIT, &CHalvixDoc::OnUpdateDashedBehindLit);
    OnCommandId(ID_VIEW_LABEL_ZOOM_OFF, &CHalvixDoc::OnLabelAutoScaleOff);
    OnCommandId(ID_VIEW_LABEL_ZOOM_ON, &CHalvixDoc::OnLabelAutoScaleOn);
}

void CHalvixDoc::SetStatusText(const CString& text, int index) {
    HxSetStatusText(index, text);
}

// ---------------------------------------------------------------------------------------------
// Hiding and labels

void CHalvixDoc::OnHideObjects() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    for (WORD id : page->m_selAll) {
        if (CGCell* cell = page->FindCell(id))
            cell->m_hidden = 1;
    }
    page->ClearSelection();
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateHideObjects(CCmdUI* pCmdUI) {
    bool any = false;
    if (const CGPage* page = g_pCurPage) {
        for (WORD id : page->m_selAll) {
            const CGCell* cell = page->FindCell(id);
            any = any || (cell && cell->m_hidden == 0);
        }
    }
    pCmdUI->Enable(any);
}

void CHalvixDoc::OnShowLabels() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const CGCell* first = FirstSelectedInMapOrder(*page);
    if (first) {
        const int hidden = first->m_labelHidden != 0 ? 0 : 1;
        ForEachCell(page->m_cells, [&](CGCell* cell) {
            if (!cell->m_selected)
                return;
            cell->m_labelHidden = hidden;
            // A value or vector shows its name in its text: the text is built again.
            if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVector))) {
                cell->m_flag2 = true;
                cell->Recompute();
            }
        });
    }
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateShowLabels(CCmdUI* pCmdUI) {
    const CGCell* first = g_pCurPage ? FirstSelectedInMapOrder(*g_pCurPage) : nullptr;
    pCmdUI->Enable(first != nullptr);
    pCmdUI->SetText(!first || first->m_labelHidden != 0 ? u"显示标签" : u"隐藏标签");
}

// ---------------------------------------------------------------------------------------------
// Selection

void CHalvixDoc::OnEditSelectAll() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->SelectAllOfKind(0);
    NotifyTree(3);
    UpdateAllViews();
}

namespace {

void SelectVisible(CHalvixDoc& doc, int mode, int code) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->SelectAllOfKind(mode);
    if (!page->m_selAll.IsEmpty())
        NotifyTree(code);
    doc.UpdateAllViews();
}

} // namespace

void CHalvixDoc::OnSelectVisiblePoints() {
    SelectVisible(*this, 1, 5);
}

void CHalvixDoc::OnSelectVisibleLines() {
    SelectVisible(*this, 2, 6);
}

void CHalvixDoc::OnSelectVisibleFaces() {
    SelectVisible(*this, 3, 7);
}

void CHalvixDoc::OnSelectParents() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->SelectParents();
    NotifyTree(9);
    UpdateAllViews();
}

void CHalvixDoc::OnSelectChildren() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->SelectChildren();
    NotifyTree(10);
    UpdateAllViews();
}

void CHalvixDoc::OnSelectPage() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->m_pageSelected = 1;
    // The tree must show the page item chosen before anything else happens.
    NotifyTree(4, true);
    UpdateAllViews();
}

// ---------------------------------------------------------------------------------------------
// Fill

void CHalvixDoc::OnFillColor() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    for (WORD id : page->m_selFaces) {
        CGCell* face = page->FindCell(id);
        if (!face)
            continue;
        if (face->m_style == CGFace::kStyleFilled) {
            face->m_style = CGFace::kStyleDepthOnly;
        } else {
            if (face->m_style == CGFace::kStyleTranslucent)
                face->m_color.a = 255;
            face->m_style = CGFace::kStyleFilled;
        }
    }
    for (WORD id : page->m_selCurves) {
        auto* arc = DYNAMIC_DOWNCAST(CGArc, page->FindCell(id));
        if (!arc)
            continue;
        if (arc->m_kind >= 2) {
            // Filled back to an outline: the colours go back where they were.
            arc->m_kind = BYTE(arc->m_kind - 2);
            SwapRgb(arc->m_color, arc->m_labelColor);
        } else {
            arc->m_kind = BYTE(arc->m_kind + 2);
            if (SameRgb(arc->m_labelColor, g_colorLabel)) {
                // The outline colour goes to the label; the fill takes the next automatic colour.
                const CRgba outline = arc->m_color;
                arc->m_labelColor.r = outline.r;
                arc->m_labelColor.g = outline.g;
                arc->m_labelColor.b = outline.b;
                const COLORREF fill = NextAutoColor();
                arc->m_color.r = GetRValue(fill);
                arc->m_color.g = GetGValue(fill);
                arc->m_color.b = GetBValue(fill);
            } else {
                SwapRgb(arc->m_color, arc->m_labelColor);
            }
        }
    }
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateFillColor(CCmdUI* pCmdUI) {
    bool enable = false;
    if (const CGPage* page = g_pCurPage) {
        enable = !page->m_selFaces.IsEmpty();
        for (WORD id : page->m_selCurves)
            enable = enable || DYNAMIC_DOWNCAST(CGArc, page->FindCell(id)) != nullptr;
    }
    pCmdUI->Enable(enable);
}

// ---------------------------------------------------------------------------------------------
// Batch point labels

void CHalvixDoc::OnEditBatchLabels() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgLabel dlg;
    if (dlg.DoModal() != IDOK)
        return;
    // Only texts that start with a letter (a suffix) of the naming cycle move the counters: an
    // empty or foreign text would make names the cycle never gives back.
    const char letter = CDlgLabel::LetterOf(dlg.m_letter);
    const char suffix = CDlgLabel::SuffixOf(dlg.m_suffix);
    if (letter != 0 && suffix != 0) {
        page->m_labelLetter = letter;
        page->m_labelSuffix = suffix;
    }
    std::vector<WORD> marked;
    for (WORD id : page->m_selPoints) {
        CGCell* point = page->FindCell(id);
        if (!point)
            continue;
        point->m_name = page->MakeAutoLabel(CGPage::kAutoLabelPoint);
        point->m_flag2 = true;
        if (dlg.m_showLabels)
            point->m_labelHidden = 0;
        point->MarkDescendants();
    }
    page->CollectMarkedIds(marked);
    page->UpdateTextsById(marked);
    page->UpdateCellsById(marked);
    NotifyTextsChanged(*page);
    // The names are stored: closing must not lose them without asking.
    SetModifiedFlag();
    UpdateAllViews();
}

// ---------------------------------------------------------------------------------------------
// Traces and display switches

void CHalvixDoc::OnTraceObjects() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const CGCell* first = FirstSelectedInMapOrder(*page);
    if (!first)
        return;
    const bool traced = !first->m_traced;
    ForEachCell(page->m_cells, [&](CGCell* cell) {
        if (cell->m_selected)
            cell->m_traced = traced;
    });
    // The traced flag is stored with the cell.
    SetModifiedFlag();
}

void CHalvixDoc::OnUpdateTraceObjects(CCmdUI* pCmdUI) {
    const CGCell* first = g_pCurPage ? FirstSelectedInMapOrder(*g_pCurPage) : nullptr;
    pCmdUI->Enable(first != nullptr);
    pCmdUI->SetText(first && first->m_traced ? u"取消追踪" : u"追踪对象");
}

void CHalvixDoc::OnEraseTraces() {
    g_traceImageStale = 1;
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateEraseTraces(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_traceImageStale == 0);
}

void CHalvixDoc::OnToggleDashedBehindLit() {
    if (CGPage* page = g_pCurPage)
        page->m_dashedBehindLit = page->m_dashedBehindLit ? 0 : 1;
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateDashedBehindLit(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_pCurPage && g_pCurPage->m_dashedBehindLit ? 1 : 0);
}

void CHalvixDoc::OnLabelAutoScaleOff() {
    g_labelAutoScale = 0;
    UpdateAllViews();
}

void CHalvixDoc::OnLabelAutoScaleOn() {
    g_labelAutoScale = 1;
    UpdateAllViews();
}
