// The calculation dialog's rules: its variables, the keypad's state from the text before the caret,
// the check, compilation and evaluation of the whole expression into the prompt and the preview;
// and the parameter dialog's exclusive check boxes.
#include "measure/calc_dialogs.h"

#include "model/cell.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDlgCalculator, CDialog)
IMPLEMENT_DYNAMIC(CDlgParameter, CDialog)

const char16_t* const CDlgCalculator::kFirstPrompt = u"在下面输入一个表达式，可插入度量值或函数：";
const char16_t* const CDlgCalculator::kIncompletePrompt = u"请继续输入……";
const char16_t* const CDlgCalculator::kErrorPrompt = u"表达式错误，请修改！";

const int CDlgCalculator::kDigitKeys[10] = {1061, 1027, 1030, 1034, 1038, 1042, 1046, 1049, 1056, 1058};

const std::vector<CDlgCalculator::CKey>& CDlgCalculator::Keys() {
    static const std::vector<CKey> keys = [] {
        std::vector<CKey> k;
        static const char16_t* const digits[10] = {u"0", u"1", u"2", u"3", u"4",
                                                   u"5", u"6", u"7", u"8", u"9"};
        for (int i = 0; i < 10; ++i)
            k.push_back({kDigitKeys[i], digits[i], digits[i]});
        k.insert(k.end(), {{kKeyPoint, u".", u"."},
                           {kKeyPlus, u"\u253C", u"+"},
                           {kKeyMinus, u"\u2500", u"-"},
                           {kKeyTimes, u"\u00D7", u"*"},
                           {kKeyDivide, u"\u00F7", u"/"},
                           {kKeyMod, u"mod", u"%"},
                           {kKeyPower, u"^", u"^"},
                           {kKeyOpen, u"(", u"("},
                           {kKeyClose, u")", u")"},
                           {kKeyPi, u"\u03C0", u"Pi"},
                           {kKeyE, u"e", u"e"},
                           {kKeyT, u"t", u"t"},
                           {kKeyU, u"u", u"u"},
                           {kKeyV, u"v", u"v"},
                           {kKeyBack, u"\u2190", u""}});
        return k;
    }();
    return keys;
}

const std::vector<const char16_t*>& CDlgCalculator::FunctionNames() {
    static const std::vector<const char16_t*> names = {
        u"sin",  u"cos",   u"tan",    u"cot",    u"sqrt",   u"cbrt", u"exp",  u"lg",   u"ln",   u"abs",
        u"int",  u"round", u"sgn",    u"rand",   u"accum",  u"get",  u"set1", u"set2", u"set3", u"set4",
        u"set5", u"set6",  u"arcsin", u"arccos", u"arctan", u"sinh", u"cosh", u"tanh", u"time"};
    return names;
}

CDlgCalculator::CDlgCalculator() : CDialog(IDD) {}

void CDlgCalculator::DescribeValue(const CGCell& value, CString& name, CString& markup, double& number,
                                   int& precedence) {
    name = value.m_name.IsEmpty() ? CString(u"     ") : value.m_name;
    const bool formula = value.m_style == 1;
    markup = formula ? value.m_text3 : u"<e>" + name + u"</e>";
    number = double(value.m_param1);
    precedence = formula ? value.m_param4 : HX_PREC_NAME;
}

void CDlgCalculator::OfferValue(const CGCell& value) {
    CString name, markup;
    double number;
    int precedence;
    DescribeValue(value, name, markup, number, precedence);
    m_names.push_back(name);
    m_nameMarkups.push_back(markup);
    m_values.push_back(number);
    m_precedences.push_back(precedence);
}

CString CDlgCalculator::ParameterPrefix() const {
    if (m_mode == kModeCurve)
        return u"t,";
    if (m_mode == kModeSurface)
        return u"u,v,";
    return CString();
}

void CDlgCalculator::OnInitDialog() {
    CString list = ParameterPrefix();
    for (int k = 1; k <= ValueCount(); ++k)
        list.AppendFormat(u"No%d,", k);
    m_parser.SetVariables(list);
    for (size_t i = 0; i < m_parser.m_values.size(); ++i) {
        m_parser.m_values[i] = i < m_values.size() ? m_values[i] : 0.0;
        m_parser.m_precedences[i] = i < m_precedences.size() ? m_precedences[i] : HX_PREC_NAME;
    }
    LOGFONT font;
    font.lfHeight = 18;
    font.lfCharSet = 0;
    HxSetFaceName(font, u"Times New Roman");
    m_preview.m_defaultFont = font;
    m_previewOffset = 0;
}

bool CDlgCalculator::Refresh(int caret) {
    m_caret = std::clamp(caret, 0, m_expression.GetLength());

    // The keypad follows what the text before the caret allows next.
    const CString before = m_expression.Left(m_caret);
    m_parser.SetText(before);
    m_caretState = m_parser.CheckSyntax();
    m_parser.m_lastCheck = m_caretState;
    int depth = 0;
    for (char16_t c : before.Str())
        depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
    m_bracketOpen = depth > 0;

    m_parser.SetText(m_expression);
    const int whole = m_parser.CheckSyntax();
    m_parser.m_lastCheck = whole;
    m_parser.Parse();
    m_parsed = m_parser.m_state == HX_PARSER_COMPILED;
    if (!m_parsed) {
        // The preview keeps the last formula that compiled.
        m_prompt = whole != HX_SYNTAX_ERROR ? kIncompletePrompt : kErrorPrompt;
        return false;
    }

    const CString display = DisplayText();
    const CString markup = MarkupWithNames();
    double value = 0.0;
    if (m_parser.GetValue(&value)) {
        m_prompt.Format(u"%s=%.4f", display, value);
        // The formula's rows without their outer box, followed by "=" and the value.
        const CString rows = markup.Mid(6, markup.GetLength() - 6 - 8);
        m_previewMarkup.Format(u"<#><l>%s<e>=%g</e></l></#>", rows, value);
    } else {
        m_prompt = display + u"=?";
        m_previewMarkup = markup;
    }
    m_preview.SetMarkup(m_previewMarkup);
    return true;
}

bool CDlgCalculator::IsEnabled(int id) const {
    const int s = m_caretState;
    auto in = [s](std::initializer_list<int> states) {
        return std::find(states.begin(), states.end(), s) != states.end();
    };
    if (std::find(std::begin(kDigitKeys), std::end(kDigitKeys), id) != std::end(kDigitKeys))
        return s != HX_SYNTAX_ERROR && s != HX_SYNTAX_COMPLETE;
    switch (id) {
    case kKeyPoint:
        return in({1, 2, 6});
    case kKeyPlus:
    case kKeyMinus:
        return in({1, 2, 4, 5, 7});
    case kKeyTimes:
    case kKeyDivide:
    case kKeyMod:
    case kKeyPower:
        return in({2, 4, 5, 7});
    case kKeyClose:
        return in({2, 4, 5, 7}) && m_bracketOpen;
    case kKeyOpen:
    case kKeyPi:
    case kKeyE:
    case kKeyT:
    case kKeyU:
    case kKeyV:
    case kValueList:
    case kFunctionList:
        return in({1, 5, 6});
    case kKeyBack:
        return m_caret > 0;
    case IDOK:
        return m_parsed;
    default:
        return true;
    }
}

void CDlgCalculator::Splice(const CString& text, int selStart, int selEnd) {
    const int length = m_expression.GetLength();
    selStart = std::clamp(selStart, 0, length);
    selEnd = std::clamp(selEnd, selStart, length);
    m_expression = m_expression.Left(selStart) + text + m_expression.Mid(selEnd);
    Refresh(selStart + text.GetLength());
}

void CDlgCalculator::Insert(const CString& text, int selStart, int selEnd) {
    Splice(text, std::min(selStart, selEnd), std::max(selStart, selEnd));
}

void CDlgCalculator::Backspace(int selStart, int selEnd) {
    const int start = std::min(selStart, selEnd);
    Splice(CString(), std::max(0, start - 1), std::max(selStart, selEnd));
}

void CDlgCalculator::InsertValue(int row, int selStart, int selEnd) {
    if (row < 1 || row > ValueCount())
        return;
    CString name;
    name.Format(u"No%d", row);
    Insert(name, selStart, selEnd);
}

void CDlgCalculator::InsertFunction(int row, int selStart, int selEnd) {
    if (row < 1 || row > int(FunctionNames().size()))
        return;
    Insert(CString(FunctionNames()[size_t(row - 1)]) + u"(", selStart, selEnd);
}

CString CDlgCalculator::DisplayText() const {
    return HxReplaceVariableTokens(m_expression, [this](int k, CString& text) {
        if (k < 1 || k > ValueCount())
            return false;
        text = u"[" + m_names[size_t(k - 1)] + u"]";
        return true;
    });
}

CString CDlgCalculator::MarkupWithNames() {
    return HxReplaceVariableTokens(m_parser.GetMarkup(), [this](int k, CString& text) {
        if (k < 1 || k > int(m_nameMarkups.size()))
            return false;
        text = m_nameMarkups[size_t(k - 1)];
        return true;
    });
}

void CDlgCalculator::OnOK() {
    m_resultMarkup = m_parser.GetMarkup();
}

void CDlgParameter::SetInteger(BOOL on) {
    m_integer = on;
    if (on)
        m_angle = FALSE;
}

void CDlgParameter::SetAngle(BOOL on) {
    m_angle = on;
    if (on)
        m_integer = FALSE;
}
