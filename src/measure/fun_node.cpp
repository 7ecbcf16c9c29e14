// Evaluation and markup of the expression nodes.
#include "measure/fun_node.h"

#include "measure/expression_counters.h"
#include "measure/fun_parser.h"
#include "platform/local_time.h"
#include "platform/random.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// The whole number a selector argument names, truncated toward zero.  Arguments that are not
// finite or do not fit an int name no valid selector (0), so they take the fallback of the
// function instead of an undefined conversion.
int Selector(double x) {
    if (!(x > -2147483649.0 && x < 2147483648.0))
        return 0;
    return int(x);
}

double& CounterOrLast(int k, int last) {
    double* counter = k >= 1 && k <= last ? HxExpressionCounter(k) : nullptr;
    return counter ? *counter : g_counters[5];
}

double SetCounter(int k, double x) {
    *HxExpressionCounter(k) = x;
    return x;
}

double ClockReading(int k) {
    HxLocalTime t = HxGetLocalTime();
    switch (k) {
    case 1:
        return t.hour;
    case 2:
        return t.minute;
    case 3:
        return t.second;
    case 4:
        return t.milliseconds;
    case 5:
        return t.year + t.month / 100.0 + t.day / 10000.0;
    case 6:
        return t.year;
    case 7:
        return t.month;
    case 8:
        return t.day;
    case 9:
        return t.dayOfWeek;
    case 11:
        return t.hour + t.minute / 60.0 + t.second / 3600.0;
    case 12:
        return t.minute + t.second / 60.0;
    case 13:
        return t.second + t.milliseconds / 1000.0;
    default:
        return t.hour + t.minute / 100.0 + t.second / 10000.0 + t.milliseconds / 10000000.0;
    }
}

} // namespace

CString HxBracketMarkup(const CString& markup) {
    return u"<b><#><l>" + markup + u"</l></#></b>";
}
CString HxBoxMarkup(const CString& markup) {
    return u"<#><l>" + markup + u"</l></#>";
}

double CFunNode::ValueOf(CFunNode* node) {
    return node ? node->Evaluate() : kNoValue;
}

double CFunNode::Evaluate() {
    return 0.0;
}

CString CFunNode::GetMarkup() {
    CString left, right;
    if (m_pLeft) {
        left = m_pLeft->GetMarkup();
        if (HxOrderPrecedence(m_pLeft) < HxOrderPrecedence(this))
            left = HxBracketMarkup(left);
    }
    if (m_pRight) {
        right = m_pRight->GetMarkup();
        int p = m_pRight->m_precedence;
        bool wrap = HxOrderPrecedence(m_pRight) <= HxOrderPrecedence(this) || p == HX_PREC_OPPOSITE ||
                    m_precedence == HX_PREC_FUNCTION;
        if (wrap && p != HX_PREC_DIVIDE)
            right = HxBracketMarkup(right);
    }
    return left + u"<e>" + m_symbol + u"</e>" + right;
}

constant::constant(double value, const CString& symbol, int precedence)
    : CFunNode(symbol.GetString(), 8, precedence), m_value(value) {}
double constant::Evaluate() {
    return m_value;
}
CString constant::GetMarkup() {
    return u"<e>" + m_symbol + u"</e>";
}

variable::variable(CFunParser* parser, int index, const CString& symbol, int precedence)
    : CFunNode(symbol.GetString(), 8, precedence), m_index(index), m_pParser(parser) {}
double variable::Evaluate() {
    // The parser's values are reallocated when it declares a new list; a node of an older tree
    // then has no value to read.
    if (!m_pParser || m_index < 0 || size_t(m_index) >= m_pParser->m_values.size())
        return kNoValue;
    return m_pParser->m_values[size_t(m_index)];
}
CString variable::GetMarkup() {
    return m_symbol;
}

double plus::Evaluate() {
    double r = ValueOf(m_pRight);
    return ValueOf(m_pLeft) + r;
}

double minus::Evaluate() {
    double l = ValueOf(m_pLeft);
    return l - ValueOf(m_pRight);
}

double multiply::Evaluate() {
    double r = ValueOf(m_pRight);
    return ValueOf(m_pLeft) * r;
}

CString multiply::GetMarkup() {
    CString left, right;
    bool rightBracketed = false;
    if (m_pLeft) {
        left = m_pLeft->GetMarkup();
        if (HxOrderPrecedence(m_pLeft) < HX_PREC_MULTIPLY)
            left = HxBracketMarkup(left);
    }
    int rp = m_pRight ? m_pRight->m_precedence : -1;
    if (m_pRight) {
        right = m_pRight->GetMarkup();
        if ((HxOrderPrecedence(m_pRight) <= HX_PREC_MULTIPLY || rp == HX_PREC_OPPOSITE) &&
            rp != HX_PREC_DIVIDE) {
            right = HxBracketMarkup(right);
            rightBracketed = true;
        }
    }
    if (rp == HX_PREC_DIVIDE || rp == HX_PREC_POWER || rp == HX_PREC_NUMBER)
        m_symbol = u'\u00D7';
    else if (m_pLeft && m_pLeft->m_precedence == HX_PREC_FUNCTION && (rp == HX_PREC_NAME || rightBracketed))
        m_symbol = u'\u00B7';
    else
        m_symbol.Empty();
    if (m_symbol.IsEmpty())
        return left + right;
    return left + u"<e>" + m_symbol + u"</e>" + right;
}

double divide::Evaluate() {
    double l = ValueOf(m_pLeft);
    return l / ValueOf(m_pRight);
}

CString divide::GetMarkup() {
    CString top = m_pLeft ? m_pLeft->GetMarkup() : CString();
    CString bottom = m_pRight ? m_pRight->GetMarkup() : CString();
    return u"<f>" + HxBoxMarkup(top) + HxBoxMarkup(bottom) + u"</f>";
}

double modnode::Evaluate() {
    double l = ValueOf(m_pLeft);
    return std::fmod(l, ValueOf(m_pRight));
}

double opposite::Evaluate() {
    return -Argument();
}

CString opposite::GetMarkup() {
    CString operand;
    if (m_pRight) {
        operand = m_pRight->GetMarkup();
        if (HxOrderPrecedence(m_pRight) <= HX_PREC_OPPOSITE && m_pRight->m_precedence != HX_PREC_DIVIDE)
            operand = HxBracketMarkup(operand);
    }
    return u"<e>-</e>" + operand;
}

double power::Evaluate() {
    double l = ValueOf(m_pLeft);
    return std::pow(l, ValueOf(m_pRight));
}

CString power::GetMarkup() {
    CString base = HxBoxMarkup(CString());
    if (m_pLeft) {
        CString markup = m_pLeft->GetMarkup();
        base = HxOrderPrecedence(m_pLeft) == HX_PREC_NUMBER ? HxBoxMarkup(markup) : HxBracketMarkup(markup);
    }
    CString exponent = HxBoxMarkup(m_pRight ? m_pRight->GetMarkup() : CString());
    return u"<^>" + base + exponent + u"</^>";
}

double sinnode::Evaluate() {
    return std::sin(Argument());
}
double cosnode::Evaluate() {
    return std::cos(Argument());
}
double tannode::Evaluate() {
    return std::tan(Argument());
}
double cotnode::Evaluate() {
    return 1.0 / std::tan(Argument());
}
double arcsinnode::Evaluate() {
    return std::asin(Argument());
}
double arccosnode::Evaluate() {
    return std::acos(Argument());
}
double arctannode::Evaluate() {
    return std::atan(Argument());
}
double sinhnode::Evaluate() {
    return std::sinh(Argument());
}
double coshnode::Evaluate() {
    return std::cosh(Argument());
}
double tanhnode::Evaluate() {
    return std::tanh(Argument());
}
double absnode::Evaluate() {
    return std::fabs(Argument());
}
double expnode::Evaluate() {
    return std::exp(Argument());
}
double lgnode::Evaluate() {
    return std::log10(Argument());
}
double lnnode::Evaluate() {
    return std::log(Argument());
}
double intnode::Evaluate() {
    return std::floor(Argument());
}
double roundnode::Evaluate() {
    return std::round(Argument());
}

double sgnnode::Evaluate() {
    double x = Argument();
    return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0;
}

double randnode::Evaluate() {
    double x = Argument();
    return x * (HxRand() / double(HX_RAND_MAX));
}

double inolnode::Evaluate() {
    double x = Argument();
    if (x > 0 && x < 1)
        return 1.0;
    if (x < 0 || x > 1)
        return 0.0;
    return 0.5; // 0, 1, and NaN, which is neither inside nor outside
}

double set1node::Evaluate() {
    return SetCounter(1, Argument());
}
double set2node::Evaluate() {
    return SetCounter(2, Argument());
}
double set3node::Evaluate() {
    return SetCounter(3, Argument());
}
double set4node::Evaluate() {
    return SetCounter(4, Argument());
}
double set5node::Evaluate() {
    return SetCounter(5, Argument());
}
double set6node::Evaluate() {
    return SetCounter(6, Argument());
}

double getnode::Evaluate() {
    return CounterOrLast(Selector(Argument()), 5);
}

double accumnode::Evaluate() {
    double& counter = CounterOrLast(Selector(Argument()), 6);
    counter += 1.0;
    return counter;
}

double timenode::Evaluate() {
    return ClockReading(Selector(Argument()));
}

double sqrtnode::Evaluate() {
    return std::sqrt(Argument());
}
CString sqrtnode::GetMarkup() {
    return u"<r>" + HxBoxMarkup(m_pRight ? m_pRight->GetMarkup() : CString()) + u"</r>";
}

double cbrtnode::Evaluate() {
    return std::cbrt(Argument());
}
CString cbrtnode::GetMarkup() {
    return u"<r>" + HxBoxMarkup(m_pRight ? m_pRight->GetMarkup() : CString()) + u"<#><l><e>3</e></l></#></r>";
}

namespace {

template <class T> CFunNode* Make() {
    return new T;
}

struct FunctionEntry {
    std::u16string_view name;
    CFunNode* (*create)();
};

const FunctionEntry kFunctions[] = {
    {u"sin", Make<sinnode>},       {u"cos", Make<cosnode>},       {u"tan", Make<tannode>},
    {u"cot", Make<cotnode>},       {u"arcsin", Make<arcsinnode>}, {u"arccos", Make<arccosnode>},
    {u"arctan", Make<arctannode>}, {u"sinh", Make<sinhnode>},     {u"cosh", Make<coshnode>},
    {u"tanh", Make<tanhnode>},     {u"sqrt", Make<sqrtnode>},     {u"cbrt", Make<cbrtnode>},
    {u"abs", Make<absnode>},       {u"exp", Make<expnode>},       {u"lg", Make<lgnode>},
    {u"ln", Make<lnnode>},         {u"int", Make<intnode>},       {u"round", Make<roundnode>},
    {u"sgn", Make<sgnnode>},       {u"rand", Make<randnode>},     {u"accum", Make<accumnode>},
    {u"get", Make<getnode>},       {u"set1", Make<set1node>},     {u"set2", Make<set2node>},
    {u"set3", Make<set3node>},     {u"set4", Make<set4node>},     {u"set5", Make<set5node>},
    {u"set6", Make<set6node>},     {u"inol", Make<inolnode>},     {u"time", Make<timenode>},
};

const FunctionEntry* FindFunction(std::u16string_view name) {
    for (const FunctionEntry& f : kFunctions)
        if (f.name == name)
            return &f;
    return nullptr;
}

} // namespace

bool HxIsFunctionName(std::u16string_view name) {
    return FindFunction(name) != nullptr;
}

CFunNode* HxCreateFunctionNode(std::u16string_view name) {
    const FunctionEntry* f = FindFunction(name);
    return f ? f->create() : nullptr;
}
