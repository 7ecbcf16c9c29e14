// The vector commands of the Measure menu (normal vector, sum, difference, multiple, cross and dot
// products, length, mixed product, components), each as one undo step, and the label-edit command
// for measurements, formula texts and every other object.  Every handler tests the classes of the
// cells it uses again and makes nothing when they do not fit, however it was reached.
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "measure/measure_ids.h"
#include "measure/vector_items.h"
#include "model/face.h"
#include "model/vertex.h"
#include "view/label_dialog.h"

#include <vector>

namespace {

// The selected values split into scalars and vectors, in selection order.
struct CValues {
    int count = 0;
    std::vector<CGCell*> all;
    int scalars = 0;
};

CValues SelectedValues(const CGPage& page) {
    CValues v;
    v.count = page.m_selValues.GetCount();
    v.scalars = page.CountSelectedVariables();
    for (WORD id : page.m_selValues)
        v.all.push_back(page.FindCell(id));
    return v;
}

bool VectorsOnly(const CGPage& page, int count) {
    const CValues v = SelectedValues(page);
    return v.count == count && v.scalars == 0;
}

// The enabling rules by command.
bool NormalRule(const CGPage& p) {
    return p.m_selPoints.GetCount() == 3 || p.m_selFaces.GetCount() == 1;
}
bool TwoVectors(const CGPage& p) {
    return VectorsOnly(p, 2);
}
bool OneScalarOneVector(const CGPage& p) {
    return p.m_selValues.GetCount() == 2 && p.CountSelectedVariables() == 1;
}
bool OneVector(const CGPage& p) {
    return VectorsOnly(p, 1);
}
bool ThreeVectors(const CGPage& p) {
    return VectorsOnly(p, 3);
}

struct CVectorRule {
    UINT id;
    bool (*enabled)(const CGPage&);
};

const CVectorRule kVectorRules[] = {
    {ID_MEASURE_VECFN, NormalRule},        {ID_MEASURE_VEC_HE, TwoVectors},
    {ID_MEASURE_VEC_CHA, TwoVectors},      {ID_MEASURE_VEC_SHUCHENG, OneScalarOneVector},
    {ID_MEASURE_VEC_SHIJI, TwoVectors},    {ID_MEASURE_VEC_SHUJI, TwoVectors},
    {ID_MEASURE_VEC_MO, OneVector},        {ID_MEASURE_VEC_HUNJI, ThreeVectors},
    {ID_MEASURE_VEC_COMPONENT, OneVector},
};

// The first `n` selected values when the count is exactly n and every one is a vector item.
bool SelectedVectors(int n, std::vector<WORD>& ids) {
    const CGPage* page = g_pCurPage;
    if (!page || page->m_selValues.GetCount() != n)
        return false;
    ids.clear();
    for (WORD id : page->m_selValues) {
        const CGCell* cell = page->FindCell(id);
        if (!cell || !cell->IsKindOf(RUNTIME_CLASS(CGTmVector)))
            return false;
        ids.push_back(id);
    }
    return true;
}

// One vector result of class T on its parents, as one CCmdAddCell.
template <class T, class... Parents>
void AddOne(CHalvixDoc& doc, const char16_t* undoText, Parents... parents) {
    CConstruction run(doc);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<T>(parents...);
    run.CommitCell(undoText);
}

template <class T> void OnTwoVectors(CHalvixDoc& doc, const char16_t* undoText) {
    std::vector<WORD> ids;
    if (SelectedVectors(2, ids))
        AddOne<T>(doc, undoText, ids[0], ids[1]);
}

// The label's formula of a plain name.
CString NameMarkup(const CString& name) {
    return CString(u"<#><l><e>") + name + u"</e></l></#>";
}

// The cell whose label the command edits: the first selected point, else the first cell of the
// first kind list that holds one.
CGCell* LabelTarget(const CGPage& page) {
    for (const CList<WORD, WORD>* list :
         {&page.m_selPoints, &page.m_selLines, &page.m_selFaces, &page.m_selSolids, &page.m_selCurves,
          &page.m_selTexts, &page.m_selValues, &page.m_selButtons, &page.m_selOthers}) {
        if (!list->IsEmpty())
            return page.FindCell(list->GetHead());
    }
    return nullptr;
}

// A measurement's or text line's label through CDlgLabelMtf.
void EditTextLabel(CGPage& page, CGTextmap& text) {
    CDlgLabelMtf dialog;
    dialog.m_name = text.m_name;
    // A label that never had a formula gets one of its name, kept even when the dialog is cancelled.
    if (text.m_text3.IsEmpty())
        text.m_text3 = NameMarkup(text.m_name);
    dialog.m_markup = text.m_text3;
    dialog.m_display = text.m_style == 1 ? 1 : 0;
    dialog.m_labelType = text.m_nameFixed ? 1 : 0;
    if (dialog.DoModal() != IDOK)
        return;
    text.m_style = dialog.m_display == 1 ? 1 : 0;
    text.m_nameFixed = dialog.m_labelType == 1;
    if (text.m_nameFixed) {
        if (dialog.m_display == 1) {
            text.m_name = dialog.m_name;
            text.m_text3 = dialog.m_markup;
        } else if (dialog.m_name != text.m_name) {
            text.m_name = dialog.m_name;
            text.m_text3 = NameMarkup(dialog.m_name);
        }
    }
    text.UpdateName();
    text.Recompute();
    text.m_flag2 = true;
    std::vector<WORD> ids;
    page.CollectDescendantIds(text, ids);
    page.UpdateTextsById(ids);
    page.UpdateCellsById(ids);
}

// The automatic scaling of the selected formula texts (not those attached to points) switched on or
// off, after asking.
void ToggleFormulaScaling(CGPage& page) {
    if (HxMessageBox(u"改变自动缩放属性？", u"MTF文本属性修改", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (WORD id : page.m_selTexts) {
        auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, page.FindCell(id));
        if (!formula || formula->IsKindOf(RUNTIME_CLASS(CGTbMhc)))
            continue;
        formula->m_textureMode = formula->m_textureMode != 0 ? 0 : 1;
        if (formula->m_textureMode != 0 && !formula->HasTexture())
            formula->UpdateTexture();
    }
}

} // namespace

void CHalvixDoc::AddVectorCommands() {
    OnCommandId(ID_MEASURE_VECFN, &CHalvixDoc::OnMeasureVectorNormal);
    OnCommandId(ID_MEASURE_VEC_HE, &CHalvixDoc::OnMeasureVectorSum);
    OnCommandId(ID_MEASURE_VEC_CHA, &CHalvixDoc::OnMeasureVectorDifference);
    OnCommandId(ID_MEASURE_VEC_SHUCHENG, &CHalvixDoc::OnMeasureVectorMultiple);
    OnCommandId(ID_MEASURE_VEC_SHIJI, &CHalvixDoc::OnMeasureVectorCross);
    OnCommandId(ID_MEASURE_VEC_SHUJI, &CHalvixDoc::OnMeasureVectorDot);
    OnCommandId(ID_MEASURE_VEC_MO, &CHalvixDoc::OnMeasureVectorLength);
    OnCommandId(ID_MEASURE_VEC_HUNJI, &CHalvixDoc::OnMeasureVectorMixed);
    OnCommandId(ID_MEASURE_VEC_COMPONENT, &CHalvixDoc::OnMeasureVectorComponents);
    for (const CVectorRule& rule : kVectorRules)
        OnUpdateId(rule.id, &CHalvixDoc::OnUpdateVectorCommand);
    OnCommandId(ID_EDIT_LABELMOD, &CHalvixDoc::OnEditLabelModify);
}

void CHalvixDoc::OnUpdateVectorCommand(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    for (const CVectorRule& rule : kVectorRules) {
        if (rule.id == pCmdUI->m_nID) {
            pCmdUI->Enable(page && rule.enabled(*page));
            return;
        }
    }
    pCmdUI->Enable(FALSE);
}

// The unit normal of the three selected points, else of the first three corners of the one selected
// face.
void CHalvixDoc::OnMeasureVectorNormal() {
    const CGPage* page = g_pCurPage;
    if (!page)
        return;
    WORD a = 0, b = 0, c = 0;
    if (page->m_selPoints.GetCount() == 3) {
        const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
        if (points.size() != 3)
            return;
        a = points[0]->m_id;
        b = points[1]->m_id;
        c = points[2]->m_id;
    } else if (page->m_selFaces.GetCount() == 1) {
        const CGFace* face = HxSelectedAs<CGFace>(page->m_selFaces, 0);
        if (!face || face->m_parents.GetSize() < 3)
            return;
        a = face->m_parents[0];
        b = face->m_parents[1];
        c = face->m_parents[2];
    } else {
        return;
    }
    AddOne<CGTmVectorNface>(*this, u"添加向量坐标：平面法向量坐标", a, b, c);
}

void CHalvixDoc::OnMeasureVectorSum() {
    OnTwoVectors<CGTmVectorAdd>(*this, u"添加向量坐标：向量和");
}

void CHalvixDoc::OnMeasureVectorDifference() {
    OnTwoVectors<CGTmVectorMinus>(*this, u"添加向量坐标：向量差");
}

void CHalvixDoc::OnMeasureVectorCross() {
    OnTwoVectors<CGTmVectorCross>(*this, u"添加向量坐标：向量的向量积");
}

void CHalvixDoc::OnMeasureVectorDot() {
    OnTwoVectors<CGTmVarVectorDot>(*this, u"添加向量坐标：向量的数量积");
}

// The scalar comes first whatever the order in which the two values were selected.
void CHalvixDoc::OnMeasureVectorMultiple() {
    const CGPage* page = g_pCurPage;
    if (!page || page->m_selValues.GetCount() != 2)
        return;
    CGCell* first = HxSelectedAs<CGCell>(page->m_selValues, 0);
    CGCell* second = HxSelectedAs<CGCell>(page->m_selValues, 1);
    if (!first || !second)
        return;
    if (!(first->IsKindOf(RUNTIME_CLASS(CGTmVariable)) && second->IsKindOf(RUNTIME_CLASS(CGTmVector))))
        std::swap(first, second);
    if (!first->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || !second->IsKindOf(RUNTIME_CLASS(CGTmVector)))
        return;
    AddOne<CGTmVectorScaled>(*this, u"添加向量坐标：数乘向量", first->m_id, second->m_id);
}

void CHalvixDoc::OnMeasureVectorLength() {
    std::vector<WORD> ids;
    if (SelectedVectors(1, ids))
        AddOne<CGTmVarVectorLength>(*this, u"添加向量坐标：向量模", ids[0]);
}

void CHalvixDoc::OnMeasureVectorMixed() {
    std::vector<WORD> ids;
    if (SelectedVectors(3, ids))
        AddOne<CGTmVarVecProduct>(*this, u"添加向量坐标：向量混合积", ids[0], ids[1], ids[2]);
}

// x, y and z of the one selected vector, as one undo step of three cells.
void CHalvixDoc::OnMeasureVectorComponents() {
    std::vector<WORD> ids;
    if (!SelectedVectors(1, ids))
        return;
    CConstruction run(*this);
    if (!run.Reserve(3, 0))
        return;
    run.AddCell<CGTmVarVectorComponentX>(ids[0]);
    run.AddCell<CGTmVarVectorComponentY>(ids[0]);
    run.AddCell<CGTmVarVectorComponentZ>(ids[0]);
    run.CommitCells(u"添加计算值：向量分量");
}

// ---------------------------------------------------------------------------------------------
// The label edit

void CHalvixDoc::OnEditLabelModify() {
    CGPage* page = g_pCurPage;
    CGCell* cell = page ? LabelTarget(*page) : nullptr;
    if (!cell)
        return;
    if (auto* text = DYNAMIC_DOWNCAST(CGTextmap, cell)) {
        EditTextLabel(*page, *text);
    } else if (cell->IsKindOf(RUNTIME_CLASS(CGTbMtfText)) && !cell->IsKindOf(RUNTIME_CLASS(CGTbMhc))) {
        ToggleFormulaScaling(*page);
    } else {
        CDlgPropertyLabel dialog;
        dialog.FillFrom(*cell);
        if (dialog.DoModal() == IDOK)
            HxApplyLabelDialog(*page, *cell, dialog, true);
    }
    // Changed or not, the tree shows the names again and the document counts as changed.
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page->m_pageId));
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}
