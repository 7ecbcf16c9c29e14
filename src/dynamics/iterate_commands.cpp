// The iterate command (the selected points and independent values as the pre-image, their mappings
// from the iteration dialog) and the properties of an iteration, with a selected value as its depth.
#include "construct/construction.h"
#include "document/doc_construct_ids.h"
#include "document/halvix_doc.h"
#include "dynamics/iterate.h"
#include "dynamics/iterate_dialogs.h"
#include "measure/text_items.h"
#include "model/vertex.h"

#include <algorithm>
#include <cmath>

namespace {

bool Listed(const CList<WORD, WORD>& list, WORD id) {
    return list.Find(id) != nullptr;
}

} // namespace

void CHalvixDoc::OnUpdateTransIterate(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    if (!page) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const int values = page->m_selValues.GetCount();
    pCmdUI->Enable(page->m_selPoints.GetCount() >= 1 ||
                   (values > 0 && page->CountSelectedVariables() == values));
}

void CHalvixDoc::OnTransIterate() {
    CGPage* page = g_pCurPage;
    if (!page || (page->m_selPoints.IsEmpty() && page->m_selValues.IsEmpty()))
        return;
    std::vector<WORD> scratch;
    auto refuse = [&](const char16_t* text, const char16_t* caption) {
        page->CollectMarkedIds(scratch); // clears every mark
        HxMessageBox(CString(text), CString(caption), MB_OK | MB_ICONERROR);
    };

    // The images are what is built on the selected points and values.
    for (WORD id : page->m_selPoints) {
        if (CGCell* point = page->FindCell(id); point && !point->m_mark)
            point->MarkDescendants();
    }
    for (WORD id : page->m_selValues) {
        CGCell* value = page->FindCell(id);
        if (!value)
            continue;
        if (value->m_parents.GetSize() > 0) {
            refuse(kIterateValueNotFree, kIterateValueNotFreeCaption);
            return;
        }
        value->MarkDescendants();
    }
    page->CollectMarkedIds(scratch);
    int imagePoints = 0, imageValues = 0;
    for (WORD id : scratch) {
        const CGCell* cell = page->FindCell(id);
        if (!cell)
            continue;
        const bool point = cell->IsKindOf(RUNTIME_CLASS(CGVertex));
        const bool value = cell->IsKindOf(RUNTIME_CLASS(CGTmVariable));
        if ((point && Listed(page->m_selPoints, id)) || (value && Listed(page->m_selValues, id))) {
            HxMessageBox(CString(kIterateConflict), CString(kIterateConflictCaption), MB_OK | MB_ICONERROR);
            return;
        }
        imagePoints += point ? 1 : 0;
        imageValues += value ? 1 : 0;
    }
    if ((!page->m_selPoints.IsEmpty() && imagePoints == 0) ||
        (!page->m_selValues.IsEmpty() && imageValues == 0)) {
        HxMessageBox(CString(kIterateNoImage), CString(kIterateNoImageCaption), MB_OK | MB_ICONERROR);
        return;
    }

    CDlgIterate dlg;
    dlg.Open(*page);
    // Every image of every mapping must be chosen (the dialog keeps OK disabled until they are).
    if (dlg.DoModal() != IDOK || dlg.m_tuples.size() < 2)
        return;
    for (const std::vector<WORD>& tuple : dlg.m_tuples) {
        if (std::find(tuple.begin(), tuple.end(), WORD(0)) != tuple.end())
            return;
    }
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGIterate>(dlg.m_sourceCount, dlg.m_pointCount,
                           std::clamp(dlg.m_depth, 0, CGIterate::kMaxDepth), std::move(dlg.m_tuples));
    run.CommitCell(u"添加迭代图");
}

// ---------------------------------------------------------------------------------------------
// Properties

BOOL CHalvixDoc::EditIterateProperties(CGIterate& iterate) {
    CGPage* page = g_pCurPage;
    if (!page)
        return FALSE;
    bool changed = false;
    // One selected value becomes the depth's source, when the iteration has none yet.
    if (page->m_selValues.GetCount() == 1 && !iterate.DepthFromValue()) {
        CGCell* value = page->FindCell(page->m_selValues.GetHead());
        if (!value || !value->IsKindOf(RUNTIME_CLASS(CGTmVariable))) {
            AfxMessageBox(kDepthValueNotVariable, MB_OK);
        } else if (value->m_id >= iterate.m_id) {
            AfxMessageBox(kDepthValueTooLate, MB_OK);
        } else {
            const float current = value->m_param1;
            iterate.FollowDepthValue(value->m_id);
            const int limit = iterate.DefaultDepth();
            const double depth = std::trunc(double(current));
            CString text;
            if (depth > limit)
                text.Format(kDepthValueLarge, limit);
            else if (depth < 0)
                text.Format(kDepthValueNegative, limit);
            else
                text.Format(kDepthValueTaken, limit);
            AfxMessageBox(text, MB_OK);
            iterate.Recompute();
            changed = true;
        }
    }
    CDlgPropertyIterate dlg;
    dlg.m_pIterate = &iterate;
    dlg.m_onChanged = [this] { UpdateAllViews(nullptr); };
    dlg.Open();
    dlg.DoModal();
    if (dlg.m_changed)
        changed = true;
    if (changed) {
        iterate.Recompute();
        SetModifiedFlag(TRUE);
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page->m_pageId));
    }
    UpdateAllViews(nullptr);
    return changed ? TRUE : FALSE;
}
