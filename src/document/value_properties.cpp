// The properties command on one value: a parameter or a calculation through its dialog, a vector
// shown with two or three components, any other value described.
#include "document/element_properties.h"

#include "measure/calc_commands.h"
#include "measure/calc_dialogs.h"
#include "measure/calculator.h"
#include "measure/text_items.h"
#include "model/page.h"

#include <cmath>
#include <vector>

namespace {

constexpr float kShownDegrees = 57.29578f;

// The value recomputed, then the names and the values of what is built on it.
void RefreshValue(CGPage& page, CGCell& value) {
    value.Recompute();
    value.MarkDescendants();
    page.CollectMarkedIds(page.m_recomputeIds);
    page.UpdateTextsById(page.m_recomputeIds);
    page.UpdateCellsById(page.m_recomputeIds);
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page.m_pageId));
}

BOOL EditParameter(CGPage& page, CGTmVarParameter& parameter) {
    CDlgParameter dlg;
    const bool wasAngle = parameter.m_integerMode == 2;
    const float shown = wasAngle ? kShownDegrees : 1.0f;
    dlg.m_name = parameter.m_name;
    dlg.m_value = parameter.m_param1 * shown;
    dlg.m_start = parameter.m_minimum * shown;
    dlg.m_end = parameter.m_maximum * shown;
    dlg.m_hideName = parameter.m_labelHidden ? TRUE : FALSE;
    dlg.m_showSlider = parameter.HasSlider() ? TRUE : FALSE;
    dlg.m_integer = parameter.m_integerMode == 1 ? TRUE : FALSE;
    dlg.m_angle = wasAngle ? TRUE : FALSE;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    const float k = dlg.m_angle ? kParameterDegree : 1.0f;
    parameter.m_minimum = dlg.m_start * k;
    parameter.m_maximum = dlg.m_end * k;
    parameter.m_labelHidden = dlg.m_hideName ? 1 : 0;
    parameter.m_kind = dlg.m_showSlider ? 1 : 0;
    if (dlg.m_name != parameter.m_name) {
        parameter.m_name = dlg.m_name;
        parameter.m_flag2 = true;
    }
    const float value = dlg.m_value * k;
    parameter.m_param1 = value;
    if (dlg.m_integer) {
        parameter.m_accumulator = value;
        parameter.m_param1 = std::round(value);
    }
    parameter.m_integerMode = dlg.m_integer ? 1 : dlg.m_angle ? 2 : 0;
    parameter.UpdateName();
    RefreshValue(page, parameter);
    return TRUE;
}

BOOL EditCalculation(CGPage& page, CGTmVarCalculator& calc) {
    CDlgCalculator dlg;
    dlg.m_title = u"编辑计算";
    dlg.m_expression = calc.m_expression;
    dlg.m_showAsAngle = calc.m_extA1 != 0 ? TRUE : FALSE;
    for (WORD id : calc.m_parents) {
        if (const CGCell* parent = page.FindCell(id))
            dlg.OfferValue(*parent);
    }
    if (dlg.DoModal() != IDOK)
        return FALSE;
    calc.ReplaceExpression(dlg.m_expression, dlg.m_resultMarkup);
    calc.m_extA1 = dlg.m_showAsAngle ? 1 : 0;
    calc.m_flag2 = true;
    // A name the user gave stays; otherwise the name follows the new expression.
    if (!calc.m_nameFixed)
        calc.UpdateName();
    RefreshValue(page, calc);
    return TRUE;
}

// Asks whether a vector should show the other number of components, and switches it.
void AskVectorForm(CGTmVector& vector) {
    CString text;
    if (vector.TwoComponents())
        text = HxFormat(u"%s (%.2f, %.2f)%s", vector.GetDescription(), double(vector.m_vx),
                        double(vector.m_vy), u"\n\n是否还要显示z值（三维形式）？");
    else
        text = HxFormat(u"%s (%.2f, %.2f, %.2f)%s", vector.GetDescription(), double(vector.m_vx),
                        double(vector.m_vy), double(vector.m_vz), u"\n\n是否想要不显示z值（二维形式）？");
    if (HxMessageBox(text, u"坐标形式", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    vector.m_extA1 = vector.TwoComponents() ? 0 : 1;
    vector.FormatValue();
}

} // namespace

BOOL HxEditValueProperties(CGPage& page, CGCell& value) {
    if (auto* parameter = DYNAMIC_DOWNCAST(CGTmVarParameter, &value))
        return EditParameter(page, *parameter);
    if (auto* calc = DYNAMIC_DOWNCAST(CGTmVarCalculator, &value))
        return EditCalculation(page, *calc);
    if (auto* vector = DYNAMIC_DOWNCAST(CGTmVector, &value)) {
        AskVectorForm(*vector);
        return FALSE;
    }
    AfxMessageBox(value.GetDescription(), MB_OK | MB_ICONINFORMATION);
    return FALSE;
}
