// CGPage selection lists: selecting and unselecting one cell, selecting by kind, parents and
// children, rebuilding the lists from the flags, and the walk through the hits of the last pick
// with the + and - keys.
#include "model/page.h"

#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "view/view_globals.h"

namespace {

// Leaves marked just the cells that the list `relatives` (the parents or the children) of a cell
// names, for the cells of the selection lists.
template <class Ids> void MarkRelatives(CGPage& page, Ids CGCell::*relatives) {
    ForEachCell(page.m_cells, [](CGCell* cell) { cell->m_selected = false; });
    for (CList<WORD, WORD>* list :
         {&page.m_selPoints, &page.m_selLines, &page.m_selFaces, &page.m_selCurves, &page.m_selTexts,
          &page.m_selButtons, &page.m_selValues, &page.m_selSolids, &page.m_selOthers}) {
        for (WORD id : *list) {
            CGCell* cell = page.m_cells.Find(id);
            if (!cell)
                continue;
            for (WORD relativeId : cell->*relatives) {
                if (CGCell* relative = page.m_cells.Find(relativeId))
                    relative->m_selected = true;
            }
        }
    }
}

void RemoveFirst(CList<WORD, WORD>& list, WORD id) {
    if (POSITION pos = list.Find(id))
        list.RemoveAt(pos);
}

void PostSelectionChanged(WPARAM wParam, WORD id) {
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_SELECTION_CHANGED, wParam, LPARAM(id));
}

// The status text of the object the walk stopped at, and of one it has just selected.  The text of
// a picture item differs between the two walk directions.
CString StatusText(const CGCell* cell, int pickClass, bool newlySelected, bool forward) {
    const CString& name = cell->m_name;
    switch (pickClass) {
    case 1:
        return CString(u"选择点") + name;
    case 2:
        return CString(u"选择线") + name;
    case 4:
        return CString(u"选择") + name;
    case 5:
        return CString(u"选择操作按钮") + name;
    case 6:
        if (newlySelected || cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)))
            return CString(u"选择度量值变量") + name;
        return CString(u"选择向量坐标") + name;
    case 7:
        if (cell->IsKindOf(RUNTIME_CLASS(CGTextbit)))
            return CString(!newlySelected && forward ? u"选择文本：" : u"选择文本");
        if (cell->IsKindOf(RUNTIME_CLASS(CGTmSingleline)))
            return CString(u"选择E文本");
        return CString(u"选择迭代图") + name;
    case 8:
        return CString(u"选择面") + name;
    case 9:
        if (HxIsOfClassNamed(cell, "CGSurface"))
            return CString(u"选择自定义曲面");
        if (HxIsOfClassNamed(cell, "CGTrack"))
            return CString(u"选择图形的轨迹");
        return CString(u"选择旋转体") + name;
    default:
        return CString(u"选择") + name;
    }
}

// What a following mouse drag moves, once the walk has selected a cell.
void SetDragState(const CGCell* cell, int pickClass) {
    int mode = 0;
    switch (pickClass) {
    case 1:
        if (HxIsFreePoint(cell)) {
            mode = 1;
            g_dragMoved = 0;
        }
        break;
    case 5:
        mode = 5;
        break;
    case 6:
        mode = 6;
        break;
    case 7:
        if (cell->IsKindOf(RUNTIME_CLASS(CGTextbit)))
            mode = 7;
        else if (cell->IsKindOf(RUNTIME_CLASS(CGTmSingleline)))
            mode = 6;
        break;
    default:
        break;
    }
    if (mode != 0) {
        g_draggedId = cell->m_id;
        g_dragMode = mode;
    }
}

} // namespace

CList<WORD, WORD>& CGPage::KindListOf(const CGCell* cell) {
    switch (HxSelectionKindOf(cell)) {
    case HxSelectionKind::Points:
        return m_selPoints;
    case HxSelectionKind::Lines:
        return m_selLines;
    case HxSelectionKind::Faces:
        return m_selFaces;
    case HxSelectionKind::Curves:
        return m_selCurves;
    case HxSelectionKind::Buttons:
        return m_selButtons;
    case HxSelectionKind::Values:
        return m_selValues;
    case HxSelectionKind::Texts:
        return m_selTexts;
    case HxSelectionKind::Solids:
        return m_selSolids;
    case HxSelectionKind::Others:
        return m_selOthers;
    }
    return m_selOthers;
}

CList<WORD, WORD>* CGPage::KindListOfPickClass(int pickClass) {
    switch (pickClass) {
    case 1:
        return &m_selPoints;
    case 2:
        return &m_selLines;
    case 4:
        return &m_selCurves;
    case 5:
        return &m_selButtons;
    case 6:
        return &m_selValues;
    case 7:
        return &m_selTexts;
    case 8:
        return &m_selFaces;
    case 9:
        return &m_selSolids;
    case 11:
        return &m_selOthers;
    default:
        return nullptr;
    }
}

BOOL CGPage::SelectCell(WORD id) {
    CGCell* cell = m_cells.Find(id);
    if (!cell)
        return FALSE;
    cell->m_selected = true;
    m_selAll.AddTail(id);
    KindListOf(cell).AddTail(id);
    return TRUE;
}

BOOL CGPage::DeselectCell(WORD id) {
    CGCell* cell = m_cells.Find(id);
    if (!cell)
        return FALSE;
    cell->m_selected = false;
    RemoveFirst(m_selAll, id);
    CList<WORD, WORD>& kind = KindListOf(cell);
    POSITION pos = kind.Find(id);
    if (!pos)
        return FALSE;
    kind.RemoveAt(pos);
    return TRUE;
}

void CGPage::SelectAllOfKind(int mode) {
    if (mode < 0 || mode > 3)
        return;
    ForEachCell(m_cells, [&](CGCell* cell) {
        if (cell->m_selected)
            return;
        if (mode != 0) {
            if (cell->m_hidden != 0 || !cell->m_valid)
                return;
            HxSelectionKind wanted = mode == 1   ? HxSelectionKind::Points
                                     : mode == 2 ? HxSelectionKind::Lines
                                                 : HxSelectionKind::Faces;
            if (HxSelectionKindOf(cell) != wanted)
                return;
        }
        cell->m_selected = true;
        m_selAll.AddTail(cell->m_id);
        KindListOf(cell).AddTail(cell->m_id);
    });
}

void CGPage::ResetSelectionLists() {
    for (CList<WORD, WORD>* list : {&m_selPoints, &m_selLines, &m_selFaces, &m_selSolids, &m_selCurves,
                                    &m_selTexts, &m_selValues, &m_selButtons, &m_selOthers, &m_selAll})
        list->RemoveAll();
    ForEachCell(m_cells, [&](CGCell* cell) {
        if (cell->m_selected)
            SelectCell(cell->m_id);
    });
}

void CGPage::SelectParents() {
    MarkRelatives(*this, &CGCell::m_parents);
    ResetSelectionLists();
}

void CGPage::SelectChildren() {
    MarkRelatives(*this, &CGCell::m_children);
    ResetSelectionLists();
}

void CGPage::SelectNextObject(CString& status) {
    WalkObjects(true, status);
}

void CGPage::SelectPreviousObject(CString& status) {
    WalkObjects(false, status);
}

// Steps along m_walkList (from the head, or from the tail backwards): the selected one of the hit
// objects is unselected and the next one selected; the last one stays selected.  Ids of cells that
// have left the page since the pick are passed over.
void CGPage::WalkObjects(bool forward, CString& status) {
    status.Empty();
    if (m_walkClass == 0 || m_walkList.IsEmpty())
        return;
    CList<WORD, WORD>* kindList = KindListOfPickClass(m_walkClass);
    if (!kindList)
        return;
    bool found = false;
    POSITION pos = forward ? m_walkList.GetHeadPosition() : m_walkList.GetTailPosition();
    while (pos) {
        WORD id = forward ? m_walkList.GetNext(pos) : m_walkList.GetPrev(pos);
        CGCell* cell = m_cells.Find(id);
        if (!cell)
            continue;
        POSITION inKind = kindList->Find(id);
        if (inKind && pos) {
            kindList->RemoveAt(inKind);
            cell->m_selected = false;
            RemoveFirst(m_selAll, id);
            PostSelectionChanged(0, id);
            found = true;
            continue;
        }
        if (inKind) {
            status = StatusText(cell, m_walkClass, false, forward);
            if (found)
                PostSelectionChanged(0, id);
            return;
        }
        if (!found)
            continue;
        kindList->AddTail(id);
        cell->m_selected = true;
        m_selAll.AddTail(id);
        status = StatusText(cell, m_walkClass, true, forward);
        SetDragState(cell, m_walkClass);
        PostSelectionChanged(0, id);
        PostSelectionChanged(1, id);
        return;
    }
}
