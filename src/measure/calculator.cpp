// The calculated value: compiling its expression over its parents, recomputing, naming it after
// its parents and its record.
#include "measure/calculator.h"

#include "model/page.h"

#include <cmath>

IMPLEMENT_SERIAL(CGTmVarCalculator, CGTmVariable, 1)

CGTmVarCalculator::CGTmVarCalculator() = default;

CGTmVarCalculator::CGTmVarCalculator(WORD id, const CList<WORD, WORD>& parents, const CString& expression,
                                     const CString& markup) {
    m_id = id;
    for (WORD parent : parents)
        AddParent(parent);
    m_compiled = 0;
    m_expression = expression;
    m_text3 = markup;
    m_style = 1;
    UpdateName();
    Recompute();
    if (g_pCurPage)
        g_pCurPage->PlaceNewTextItem(m_labelPos[0], m_labelPos[1], 1);
}

void CGTmVarCalculator::Serialize(CArchive& ar) {
    CGTmVariable::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_expression;
    } else {
        ar >> m_expression;
        m_compiled = 0;
    }
}

void CGTmVarCalculator::ReplaceExpression(const CString& expression, const CString& markup) {
    m_expression = expression;
    m_text3 = markup;
    m_compiled = 0;
}

void CGTmVarCalculator::Compile() {
    CString list;
    for (int i = 1; i <= m_parents.GetSize(); ++i)
        list.AppendFormat(u"No%d,", i);
    m_parser.SetVariables(list);
    m_parser.SetText(m_expression);
    m_parser.m_lastCheck = m_parser.CheckSyntax();
    m_parser.Parse();
    m_compiled = 1;
}

void CGTmVarCalculator::Recompute() {
    if (!m_compiled)
        Compile();
    for (int i = 0; i < m_parents.GetSize(); ++i) {
        const CGCell* parent = HxFindCell(m_parents[i]);
        if (!parent || !parent->m_valid || size_t(i) >= m_parser.m_values.size()) {
            // A parent without a value leaves the expression unevaluated.
            m_valid = false;
            FormatValue();
            return;
        }
        m_parser.m_values[size_t(i)] = double(parent->m_param1);
    }
    double result = 0.0;
    bool valid = false;
    if (m_parser.m_state == HX_PARSER_COMPILED && m_parser.m_pRoot) {
        result = m_parser.m_pRoot->Evaluate();
        valid = std::isfinite(result);
    }
    // The value is kept whatever its validity; a finite double beyond the float's range counts as
    // no value, since the stored value would be an infinity.
    m_param1 = float(result);
    m_valid = valid && std::isfinite(m_param1);
    FormatValue();
}

void CGTmVarCalculator::UpdateName() {
    if (m_nameFixed)
        return;
    if (!m_compiled)
        Compile();
    const int count = m_parents.GetSize();
    if (count > 0) {
        // Each variable takes its parent's label precedence, so that a parent labelled with a sum is
        // bracketed where the expression multiplies it.
        for (int i = 0; i < count && size_t(i) < m_parser.m_precedences.size(); ++i) {
            const CGCell* parent = HxFindCell(m_parents[i]);
            m_parser.m_precedences[size_t(i)] =
                parent && parent->m_style == 1 ? parent->m_param4 : HX_PREC_NAME;
        }
        m_parser.SetText(m_expression);
        m_parser.m_lastCheck = m_parser.CheckSyntax();
        m_parser.Parse();
    }
    CString name = m_expression;
    CString markup = m_parser.GetMarkup();
    m_param4 = m_parser.m_pRoot ? m_parser.m_pRoot->m_precedence : HX_PREC_NAME;

    // Whole variable tokens, in one pass each: No1 never touches No10, and what is put in is not
    // read again.
    auto parentAt = [this](int k) -> const CGCell* {
        return k >= 1 && k <= m_parents.GetSize() ? HxFindCell(m_parents[k - 1]) : nullptr;
    };
    name = HxReplaceVariableTokens(name, [&](int k, CString& text) {
        if (k < 1 || k > m_parents.GetSize())
            return false;
        const CGCell* parent = parentAt(k);
        text = parent && !parent->m_name.IsEmpty() ? u"[" + parent->m_name + u"]" : CString(u"[ ]");
        return true;
    });
    markup = HxReplaceVariableTokens(markup, [&](int k, CString& text) {
        if (k < 1 || k > m_parents.GetSize())
            return false;
        const CGCell* parent = parentAt(k);
        if (parent && parent->m_style == 1)
            text = parent->m_text3;
        else
            text = parent && !parent->m_name.IsEmpty() ? u"<e>" + parent->m_name + u"</e>"
                                                       : CString(u"<e> </e>");
        return true;
    });
    m_name = name;
    m_text3 = markup;
    CGTmVariable::UpdateName();
    // The base shows radians unless the angle mode is 2; a calculation shows degrees for any mode.
    if (m_extA1 != 0 && m_extA1 != 2 && m_valid)
        m_text = (m_style == 1 ? CString(u" =") : CString()) + CalculatedNumber();
}

CString CGTmVarCalculator::GetDescription() {
    return CString(u"计算：") + m_expression;
}

CString CGTmVarCalculator::CalculatedNumber() const {
    if (m_extA1 == 0)
        return FormatNumber(m_param1, m_size, false);
    return FormatNumber(m_param1, m_size, true);
}

void CGTmVarCalculator::FormatValue() {
    const bool formula = m_style == 1 && m_labelHidden == 0;
    if (formula) {
        if (!m_valid)
            m_text = m_name.IsEmpty() ? u"? " : u" = ? ";
        else
            m_text = m_name.IsEmpty() ? CalculatedNumber() : CString(u" =") + CalculatedNumber();
    } else {
        m_text = m_valid ? CalculatedNumber() : CString(u"? ");
    }
    TextChanged(formula);
}
