// The calculation command (an expression over the selected values, typed in the calculation
// dialog), the new-parameter command and the plus and minus keys that step the selected parameter
// or iteration depth, or else walk the selection.
#include "measure/calc_commands.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "dynamics/iterate.h"
#include "measure/calc_dialogs.h"
#include "measure/calculator.h"

#include <cmath>

const char16_t* const g_calculationUndoName = u"添加一个表达式";
const char16_t* const g_parameterUndoName = u"添加新参数";

int g_parameterCounter = 1;

namespace {

// The status bar's information pane.
constexpr int kInfoPane = 0;

} // namespace

void CHalvixDoc::AddCalculationCommands() {
    OnCommandId(ID_MEASURE_FUN, &CHalvixDoc::OnMeasureCalculate);
    OnUpdateId(ID_MEASURE_FUN, &CHalvixDoc::OnUpdateMeasureCalculate);
    OnCommandId(ID_MEASURE_PARAMETER, &CHalvixDoc::OnMeasureNewParameter);
    OnCommandId(ID_PARAMETER_STEP_UP, &CHalvixDoc::OnParameterStepUp);
    OnCommandId(ID_PARAMETER_STEP_DOWN, &CHalvixDoc::OnParameterStepDown);
}

void CHalvixDoc::OnUpdateMeasureCalculate(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && page->m_selValues.GetCount() == page->CountSelectedVariables());
}

void CHalvixDoc::OnMeasureCalculate() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    // Every selected value must be a scalar: the update rule says so, and the command is sure of it.
    const std::vector<CGTmVariable*> values = HxSelectedCells<CGTmVariable>(page->m_selValues);
    if (int(values.size()) != page->m_selValues.GetCount())
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    CDlgCalculator dlg;
    dlg.m_title = u"新建计算";
    for (const CGTmVariable* value : values)
        dlg.OfferValue(*value);
    if (dlg.DoModal() != IDOK)
        return;
    CList<WORD, WORD> parents;
    for (const CGTmVariable* value : values)
        parents.AddTail(value->m_id);
    auto* calc = run.AddCell<CGTmVarCalculator>(parents, dlg.m_expression, dlg.m_resultMarkup);
    calc->m_extA1 = dlg.m_showAsAngle ? 1 : 0;
    calc->Recompute();
    run.CommitCell(g_calculationUndoName);
}

void CHalvixDoc::OnMeasureNewParameter() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    CDlgParameter dlg;
    dlg.m_name.Format(u"t%d", g_parameterCounter);
    if (dlg.DoModal() != IDOK)
        return;
    ++g_parameterCounter;
    const float k = dlg.m_angle ? kParameterDegree : 1.0f;
    const float value = dlg.m_value * k;
    auto* parameter = run.AddCell<CGTmVarParameter>(dlg.m_name, value);
    parameter->m_minimum = dlg.m_start * k;
    parameter->m_maximum = dlg.m_end * k;
    parameter->m_param1 = value;
    parameter->m_labelHidden = dlg.m_hideName ? 1 : 0;
    parameter->m_kind = dlg.m_showSlider ? 1 : 0;
    if (dlg.m_integer) {
        parameter->m_extA1 = 1;
        parameter->m_extA3 = value;
        parameter->m_param1 = std::round(value);
    } else {
        parameter->m_extA1 = dlg.m_angle ? 2 : 0;
    }
    parameter->UpdateName();
    run.CommitCell(g_parameterUndoName);
}

void CHalvixDoc::OnParameterStepUp() {
    StepParameter(1);
}

void CHalvixDoc::OnParameterStepDown() {
    StepParameter(-1);
}

void CHalvixDoc::StepParameter(int direction) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    if (page->m_selValues.GetCount() == 1) {
        auto* parameter = DYNAMIC_DOWNCAST(CGTmVarParameter, page->FindCell(page->m_selValues.GetHead()));
        if (!parameter)
            return;
        // The slider's range does not hold the keys back.
        parameter->m_param1 += float(direction);
        if (parameter->m_extA1 == 1) {
            parameter->m_extA3 = parameter->m_param1;
            parameter->m_param1 = std::round(parameter->m_param1);
        }
        std::vector<WORD> ids;
        page->CollectDescendantIds(*parameter, ids);
        parameter->Recompute();
        page->UpdateCellsById(ids);
        SetModifiedFlag(TRUE);
        UpdateAllViews(nullptr);
        return;
    }
    if (page->m_selTexts.GetCount() == 1) {
        auto* iterate = DYNAMIC_DOWNCAST(CGIterate, page->FindCell(page->m_selTexts.GetHead()));
        if (!iterate || iterate->DepthFromValue())
            return;
        if (direction < 0) {
            iterate->LowerDepth();
        } else {
            const int suggested = iterate->DefaultDepth();
            if (iterate->m_depth > suggested) {
                CString advice;
                advice.Format(u"建议深度为1-%d的整数", suggested);
                HxMessageBox(advice, u"迭代深度", MB_ICONINFORMATION);
            }
            iterate->RaiseDepth();
        }
        SetModifiedFlag(TRUE);
        UpdateAllViews(nullptr);
        return;
    }
    CString status;
    if (direction > 0)
        page->SelectNextObject(status);
    else
        page->SelectPreviousObject(status);
    if (!status.IsEmpty())
        HxSetStatusText(kInfoPane, status);
    UpdateAllViews(nullptr);
}
