// The message map of the document's point, iteration, trace and style commands, and three of them
// that only edit what exists: the objects of a show/hide button, the format painter and bringing
// planar objects back into view.
#include "document/doc_construct_ids.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "dynamics/buttons.h"
#include "model/cell_kinds.h"
#include "view/view_globals.h"

#include <algorithm>

void CHalvixDoc::AddDocumentConstructCommands() {
    OnCommandId(ID_CREATE_FREE3_POINT, &CHalvixDoc::OnCreateFree3Point);
    OnCommandId(ID_CREATE_POINT_ORIGIN, &CHalvixDoc::OnCreatePointOrigin);
    OnCommandId(ID_CREATE_POINT_SCALE_INCIRCLE, &CHalvixDoc::OnCreatePointScaleIncircle);
    OnUpdateId(ID_CREATE_POINT_SCALE_INCIRCLE, &CHalvixDoc::OnUpdatePointScaleIncircle);
    OnCommandId(ID_CREATE_POINT_TOUYING, &CHalvixDoc::OnCreatePointTouying);
    OnUpdateId(ID_CREATE_POINT_TOUYING, &CHalvixDoc::OnUpdatePointTouying);
    OnCommandId(ID_CREATE_POINT_INOBJ_FT, &CHalvixDoc::OnCreatePointInobjFt);
    OnUpdateId(ID_CREATE_POINT_INOBJ_FT, &CHalvixDoc::OnUpdatePointInobjFt);
    OnCommandId(ID_CREATE_POINT_PATH, &CHalvixDoc::OnCreatePointPath);
    OnUpdateId(ID_CREATE_POINT_PATH, &CHalvixDoc::OnUpdateCreatePointPath);
    OnCommandId(ID_TRANS_ITERATE, &CHalvixDoc::OnTransIterate);
    OnUpdateId(ID_TRANS_ITERATE, &CHalvixDoc::OnUpdateTransIterate);
    OnCommandId(ID_CREATE_TRACK, &CHalvixDoc::OnCreateTrack);
    OnUpdateId(ID_CREATE_TRACK, &CHalvixDoc::OnUpdateCreateTrack);
    OnCommandId(ID_EDIT_BTN_ADDOBJ, &CHalvixDoc::OnEditBtnAddobj);
    OnUpdateId(ID_EDIT_BTN_ADDOBJ, &CHalvixDoc::OnUpdateEditBtnAddobj);
    OnCommandId(ID_EDIT_STYLES, &CHalvixDoc::OnEditStyles);
    OnUpdateId(ID_EDIT_STYLES, &CHalvixDoc::OnUpdateEditStyles);
    OnCommandId(ID_VIEW_FLATOBJ_IN, &CHalvixDoc::OnBringFlatObjectsIn);
}

// ---------------------------------------------------------------------------------------------
// The objects of a show/hide button

namespace {

// The last selected button when it is a show/hide button.
CGButnSHide* LastShowHideButton(const CGPage* page) {
    if (!page || page->m_selButtons.IsEmpty())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGButnSHide, page->FindCell(page->m_selButtons.GetTail()));
}

void RemoveChild(CGCell& parent, WORD child) {
    if (POSITION pos = parent.m_children.Find(child))
        parent.m_children.RemoveAt(pos);
}

} // namespace

void CHalvixDoc::OnUpdateEditBtnAddobj(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(LastShowHideButton(page) && page->m_selAll.GetCount() >= 2);
}

// Each selected object that the button shows or hides leaves it; any other joins it, unless it was
// made after the button (a target must come before the button it belongs to).  No undo step.
void CHalvixDoc::OnEditBtnAddobj() {
    CGPage* page = g_pCurPage;
    CGButnSHide* button = LastShowHideButton(page);
    if (!button)
        return;
    button->m_selected = false;
    bool refused = false;
    ForEachCell(page->m_cells, [&](CGCell* cell) {
        if (!cell->m_selected || cell == button)
            return;
        int place = -1;
        for (int i = 0; i < button->m_parents.GetSize(); ++i) {
            if (button->m_parents[i] == cell->m_id) {
                place = i;
                break;
            }
        }
        if (place >= 0) {
            button->m_parents.RemoveAt(place);
            RemoveChild(*cell, button->m_id);
        } else if (cell->m_id < button->m_id) {
            button->m_parents.Add(cell->m_id);
            cell->m_children.AddTail(button->m_id);
        } else {
            refused = true;
        }
    });
    if (refused)
        AfxMessageBox(kAddObjectsLater, MB_OK);
    if (button->m_parents.GetSize() == 0)
        AfxMessageBox(kAddObjectsEmpty, MB_OK);
    page->ClearSelection();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------------
// The format painter

namespace {

// Per kind (points, lines, faces, circles): 0 none selected, 2 one, 1 two or more.  Circles count
// only when every selected circle-list object is a circle or arc.
int KindCode(int count) {
    return count == 0 ? 0 : count == 1 ? 2 : 1;
}

int CircleCode(const CGPage& page) {
    for (WORD id : page.m_selCurves) {
        if (!HxIsOfClassNamed(page.FindCell(id), "CGArc"))
            return 2;
    }
    return KindCode(page.m_selCurves.GetCount());
}

} // namespace

void CHalvixDoc::OnUpdateEditStyles(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    if (!page) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const int codes = KindCode(page->m_selPoints.GetCount()) + KindCode(page->m_selLines.GetCount()) +
                      KindCode(page->m_selFaces.GetCount()) + CircleCode(*page);
    const bool others = !page->m_selTexts.IsEmpty() || !page->m_selValues.IsEmpty() ||
                        !page->m_selSolids.IsEmpty() || !page->m_selButtons.IsEmpty() ||
                        !page->m_selOthers.IsEmpty();
    pCmdUI->Enable(codes == 1 && !others);
}

// The last selected object of the first kind with two or more selected lends its style to the
// others of its kind; one undo step.
void CHalvixDoc::OnEditStyles() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    auto* cmd = new CCmdMatchprop(CString());
    if (!cmd->TakeSelection(*page)) {
        delete cmd;
        return;
    }
    static const char16_t* const names[] = {u"点统一格式", u"线统一格式", u"面统一格式", u"圆统一格式"};
    cmd->m_name = names[std::clamp(cmd->m_objectKind, 1, 4) - 1];
    page->ClearSelection();
    page->m_cmdProcessor.Submit(cmd);
    cmd->Redo();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Planar objects back into view

void CHalvixDoc::OnBringFlatObjectsIn() {
    const float x = float(GetSystemMetrics(SM_CXSCREEN) - 80) * g_unitLength * 0.5f;
    const float y = float(GetSystemMetrics(SM_CYSCREEN) - 80) * g_unitLength * 0.5f;
    int moved = 0;
    for (POSITION pos = m_pages.GetHeadPosition(); pos;)
        moved += m_pages.GetNext(pos)->BringFlatObjectsIntoView(x, y);
    if (moved > 0) {
        SetModifiedFlag(TRUE);
        UpdateAllViews(nullptr);
        CString text;
        text.Format(kFlatObjectsMoved, moved);
        AfxMessageBox(text, MB_OK);
    } else {
        AfxMessageBox(kFlatObjectsNone, MB_OK);
    }
}
