// CGTmVarCalculator: a value computed from an expression over other values (its parents, the
// variables No1, No2, ... in the order picked), shown as the expression typeset with the parents'
// labels in place of the variables, followed by the value.
#pragma once

#include "measure/fun_parser.h"
#include "measure/text_items.h"

class CGTmVarCalculator : public CGTmVariable {
    DECLARE_SERIAL(CGTmVarCalculator)
public:
    // Expression "0", nothing compiled (for loading).
    CGTmVarCalculator();
    // The parents in the order given, the expression as typed and the label markup the calculation
    // dialog showed; the name and value follow at once, then the item takes its place on the screen.
    CGTmVarCalculator(WORD id, const CList<WORD, WORD>& parents, const CString& expression,
                      const CString& markup);

    // The text item's record, then the expression.  The parser is not stored: a loaded item
    // compiles its expression at its first recomputation.
    void Serialize(CArchive& ar) override;
    // The parents' values into the variables and the expression evaluated: invalid at once when a
    // parent is, or when the result is no finite number (also once narrowed to the stored float).
    void Recompute() override;
    // The name and markup from the expression with each NoK replaced whole by parent K's name or
    // label, with brackets as the parents' label precedences need; the label precedence becomes
    // the root's, for calculations built on this one.
    void UpdateName() override;
    CString GetDescription() override; // "计算：" + the expression
    // The value text, in degrees (with "°") whenever the angle mode is not 0.
    void FormatValue() override;

    // A new expression for the same parents (the properties command): compiled again when next
    // recomputed or named.
    void ReplaceExpression(const CString& expression, const CString& markup);

    CString m_expression = u"0";
    CFunParser m_parser;
    BYTE m_compiled = 0;

private:
    // The variables No1 .. NoN of the parents, the expression checked and compiled.
    void Compile();
    // The number as shown, in degrees for any angle mode but 0.
    CString CalculatedNumber() const;
};
