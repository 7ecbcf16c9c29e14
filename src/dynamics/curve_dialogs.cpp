// The curve and locus dialogs' classes: the example curves, the equation labels of each coordinate
// system, the variables offered to the calculation dialog and the editing of an equation or of an end
// of the range in it.
#include "dynamics/curve_dialogs.h"

#include "measure/calc_dialogs.h"
#include "measure/fun_node.h"

IMPLEMENT_DYNAMIC(CDlgCurve, CDialog)
IMPLEMENT_DYNAMIC(CDlgLocus, CDialog)

namespace {

constexpr int kC = 0; // Cartesian
constexpr int kS = 1; // spherical
constexpr int kY = 2; // cylindrical

const CDlgCurve::CExample kExamples[CDlgCurve::kExampleCount] = {
    {u"蝶形曲线", {u"(6*sin(t)+8*cos(360*t))", u"t", u"lg(1+t*60)*t", u"0", u"2*Pi"}, 0.001f, kS},
    {u"球面螺旋线", {u"8", u"t", u"40*t", u"0", u"Pi"}, 0.002f, kS},
    {u"蝴蝶结曲线", {u"6*t*sin(36*t)", u"5*t*cos(36*t)", u"5*t*sin(18*t)", u"-2", u"2"}, 0.001f, kC},
    {u"螺旋花曲线", {u"4+(2*sin(15*t))^2", u"6*t", u"t", u"-pi", u"pi"}, 0.005f, kY},
    {u"两相望曲线", {u"10", u"t*2*cos(t*20)", u"20*t", u"0", u"2*pi"}, 0.0001f, kS},
    {u"球形环绕曲线", {u"8", u"t", u"20*t", u"0", u"2*pi"}, 0.01f, kS},
    {u"花瓣线", {u"2*t", u"90*t", u"10*t", u"0", u"2*pi"}, 0.001f, kS},
    {u"四叶玫瑰线", {u"8*sin(2*t)", u"t", u"0", u"0", u"2*Pi"}, 0.01f, kY},
    {u"圆", {u"5", u"t", u"0", u"0", u"2*pi"}, 0.1f, kY},
    {u"椭圆", {u"5*cos(t)", u"4*sin(t)", u"0", u"0", u"2*pi"}, 0.05f, kC},
    {u"双曲线", {u"5/cos(t)", u"4*tan(t)", u"0", u"0", u"2*pi"}, 0.05f, kC},
    {u"抛物线", {u"4*t^2", u"4*t", u"0", u"-2", u"2"}, 0.05f, kC},
    {u"正弦曲线", {u"t", u"sin(t)", u"0", u"-3*pi", u"3*pi"}, 0.2f, kC},
    {u"余弦曲线", {u"t", u"cos(t)", u"0", u"-3*pi", u"3*pi"}, 0.2f, kC},
    {u"正切曲线", {u"t", u"tan(t)", u"0", u"-2.5*pi", u"2.5*pi"}, 0.02f, kC},
    {u"一次函数", {u"t", u"2*t-1", u"0", u"-4", u"5"}, 1.0f, kC},
    {u"二次函数", {u"t", u"t^2-2*t-3", u"0", u"-2.5", u"4.5"}, 0.2f, kC},
    {u"反比例函数", {u"t", u"1/t", u"0", u"-6", u"6"}, 0.05f, kC},
    {u"指数函数", {u"t", u"2^t", u"0", u"-4", u"3.2"}, 0.2f, kC},
    {u"对数函数", {u"t", u"ln(t)/ln(2)", u"0", u"0.01", u"10"}, 0.2f, kC},
};

const char16_t* const kEquationLabels[3][3] = {
    {u"x(t)=", u"y(t)=", u"z(t)="},
    {u" r(t)=", u"θ(t)=", u"φ(t)="},
    {u"ρ(t)=", u"θ(t)=", u" z(t)="},
};

} // namespace

const CDlgCurve::CExample& CDlgCurve::Example(int row) {
    return kExamples[row >= 0 && row < kExampleCount ? row : 0];
}

const char16_t* CDlgCurve::EquationLabel(int system, int which) {
    if (system < 0 || system > 2 || which < 0 || which > 2)
        return u"";
    return kEquationLabels[system][which];
}

void CDlgCurve::AddParameterEntry() {
    m_values.push_back(0.0);
    m_precedences.push_back(HX_PREC_NAME);
}

void CDlgCurve::OfferValue(const CGCell& value) {
    CString name, markup;
    double number;
    int precedence;
    CDlgCalculator::DescribeValue(value, name, markup, number, precedence);
    m_names.push_back(name);
    m_nameMarkups.push_back(markup);
    m_values.push_back(number);
    m_precedences.push_back(precedence);
}

void CDlgCurve::ChooseExample(int row) {
    if (row < 0 || row >= kExampleCount)
        return;
    const CExample& example = kExamples[row];
    for (int i = 0; i < 5; ++i)
        m_texts[i] = example.texts[i];
    m_step = example.step;
    m_system = example.system;
}

INT_PTR CDlgCurve::EditExpression(int which) {
    if (which < 0 || which > 4)
        return IDCANCEL;
    CDlgCalculator calculator;
    calculator.m_names = m_names;
    calculator.m_nameMarkups = m_nameMarkups;
    if (which < 3) {
        calculator.m_title = u"编辑参数方程";
        calculator.m_mode = CDlgCalculator::kModeCurve;
        calculator.m_values = m_values;
        calculator.m_precedences = m_precedences;
    } else {
        // The range declares no parameter: the values from their second entry on.
        calculator.m_title = u"编辑参数范围";
        calculator.m_mode = CDlgCalculator::kModeCalculation;
        if (m_values.size() > 1)
            calculator.m_values.assign(m_values.begin() + 1, m_values.end());
        if (m_precedences.size() > 1)
            calculator.m_precedences.assign(m_precedences.begin() + 1, m_precedences.end());
    }
    calculator.m_expression = m_texts[which];
    const INT_PTR result = calculator.DoModal();
    if (result == IDOK)
        m_texts[which] = calculator.m_expression;
    return result;
}
