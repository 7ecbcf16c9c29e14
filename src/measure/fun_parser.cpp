// The expression parser: variables, the syntax automaton, priority-insertion parsing.
#include "measure/fun_parser.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsLetter(char16_t c) {
    return c >= u'a' && c <= u'z';
}
char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// A number token (digits with at most one point, not ending in the point) as the C library's
// conversion reads it, whatever the process locale: too many digits give an infinity, too small
// a value 0.
double NumberValue(const std::u16string& text) {
    std::string ascii(text.begin(), text.end());
    double value = 0.0;
    auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        bool large = false;
        for (char c : ascii) {
            if (c == '.')
                break;
            large = large || c != '0';
        }
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

} // namespace

CFunParser::CFunParser() = default;

CFunParser::~CFunParser() {
    DeleteTree(m_pRoot);
}

void CFunParser::SetVariables(const CString& list) {
    // A new list starts from scratch: keeping the names of an earlier list while numbering the
    // new ones from 0 again would let two names share one value.
    m_variableMap.RemoveAll();
    WORD next = 0;
    CString name;
    auto declare = [&] {
        // Indexes are 16-bit: names past the 65,536th stay undeclared rather than share one.
        if (!name.IsEmpty() && m_variableMap.GetCount() <= 0xFFFF && !m_variableMap.Contains(name))
            m_variableMap[name] = next++;
        name.Empty();
    };
    for (char16_t c : list.Str()) {
        if (c == u',')
            declare();
        else
            name += Lower(c);
    }
    declare();
    m_variableCount = m_variableMap.GetCount();
    m_values.assign(size_t(m_variableCount), 0.0);
    m_precedences.assign(size_t(m_variableCount), HX_PREC_NAME);
    m_state = HX_PARSER_DECLARED;
}

void CFunParser::SetText(const CString& text) {
    m_text = text;
    m_state = HX_PARSER_TO_CHECK;
}

int CFunParser::LookupVariable(const CString& name, WORD* index) const {
    WORD i = 0;
    if (!m_variableMap.Lookup(name, i))
        return 0;
    if (index)
        *index = i;
    return 1;
}

bool CFunParser::IsOperand(const std::u16string& name) const {
    return name == u"pi" || name == u"e" || LookupVariable(CString(name), nullptr);
}

int CFunParser::CheckSyntax() {
    if (m_state != HX_PARSER_TO_CHECK)
        return 0;
    std::u16string& text = m_text.Str();
    for (char16_t& c : text)
        c = Lower(c);

    int state = HX_SYNTAX_OPERAND;
    int depth = 0;
    std::u16string name;
    // Blanks mean nothing and do not count toward the length limit: a text is checked the same
    // with and without them.
    int counted = 0;
    for (size_t i = 0; i < text.size() && state != HX_SYNTAX_ERROR; ++i) {
        char16_t c = text[i];
        if (c == u' ')
            continue;
        if (++counted > HX_MAX_EXPRESSION_LENGTH) {
            state = HX_SYNTAX_ERROR;
            break;
        }
        int next = HX_SYNTAX_ERROR;
        if (IsDigit(c)) {
            if (state == 1 || state == 2 || state == 6)
                next = 2;
            else if (state == 3 || state == 4)
                next = 4;
            else if (state == 5)
                next = 5;
        } else if (IsLetter(c)) {
            if (state == 1 || state == 5 || state == 6)
                next = 5;
        } else if (c == u'(') {
            ++depth;
            if (state == 1 || state == 6)
                next = 1;
            else if (state == 5)
                next = HxIsFunctionName(name) ? 1 : 0;
        } else if (c == u'.') {
            if (state == 1 || state == 2 || state == 6)
                next = 3;
        } else if (c == u'+' || c == u'-') {
            if (state == 1 || state == 2 || state == 4 || state == 7)
                next = 6;
            else if (state == 5)
                next = IsOperand(name) ? 6 : 0;
        } else if (c == u'*' || c == u'/' || c == u'^' || c == u'%') {
            if (state == 2 || state == 4 || state == 7)
                next = 6;
            else if (state == 5)
                next = IsOperand(name) ? 6 : 0;
        } else if (c == u')') {
            if (--depth < 0)
                next = 0;
            else if (state == 2 || state == 4 || state == 7)
                next = 7;
            else if (state == 5)
                next = IsOperand(name) ? 7 : 0;
        }
        if (next == HX_SYNTAX_NAME)
            name += c;
        else if (state == HX_SYNTAX_NAME)
            name.clear();
        state = next;
    }

    if (depth != 0 || state == 0 || state == 1 || state == 3 || state == 6) {
        m_state = depth != 0 ? HX_PARSER_UNBALANCED : HX_PARSER_TO_CHECK;
        return state;
    }
    if (state == HX_SYNTAX_NAME) {
        if (!IsOperand(name)) {
            m_state = HX_PARSER_TO_CHECK;
            return state;
        }
        state = HX_SYNTAX_COMPLETE;
    }
    m_state = HX_PARSER_CORRECT;
    m_accepted.clear();
    for (char16_t c : text)
        if (c != u' ')
            m_accepted += c;
    return state;
}

CFunNode* CFunParser::MakeNameNode(const std::u16string& name) {
    if (name == u"pi")
        return new constant(3.141592653589793, u"\u03C0", HX_PREC_NAME);
    if (name == u"e")
        return new constant(2.718281828459045, u"e", HX_PREC_NAME);
    WORD index = 0;
    if (!LookupVariable(CString(name), &index))
        return nullptr;
    CString symbol;
    if (name == u"t" || name == u"u" || name == u"v")
        symbol = u"<e>" + CString(name) + u"</e>";
    else if (name.size() >= 2 && name[0] == u'n' && name[1] == u'o')
        symbol = u"No" + CString(name.substr(2));
    else
        symbol = CString(name);
    int precedence = index < m_precedences.size() ? m_precedences[index] : HX_PREC_NAME;
    return new variable(this, index, symbol, precedence);
}

void CFunParser::Parse() {
    if (m_state != HX_PARSER_CORRECT)
        return;
    DeleteTree(m_pRoot);
    m_pRoot = nullptr;

    const std::u16string& s = m_accepted;
    int depth = 0;
    char16_t previous = u'('; // the text is read as if it followed an opening bracket
    size_t i = 0;
    while (i < s.size()) {
        char16_t c = s[i];
        size_t end = i + 1;
        CFunNode* node = nullptr;
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (IsDigit(c) || c == u'.') {
            while (end < s.size() && (IsDigit(s[end]) || s[end] == u'.'))
                ++end;
            std::u16string number = s.substr(i, end - i);
            node = new constant(NumberValue(number), CString(number));
        } else if (IsLetter(c)) {
            while (end < s.size() && (IsLetter(s[end]) || IsDigit(s[end])))
                ++end;
            std::u16string name = s.substr(i, end - i);
            node = end < s.size() && s[end] == u'(' ? HxCreateFunctionNode(name) : MakeNameNode(name);
        } else if (c == u'-' && previous == u'(') {
            node = new opposite;
        } else if (c == u'+' && previous != u'(') {
            node = new plus;
        } else if (c == u'-') {
            node = new minus;
        } else if (c == u'*') {
            node = new multiply;
        } else if (c == u'/') {
            node = new divide;
        } else if (c == u'%') {
            node = new modnode;
        } else if (c == u'^') {
            node = new power;
        }
        if (node) {
            node->m_priority += 10 * depth;
            InsertNode(nullptr, node);
        }
        previous = s[end - 1];
        i = end;
    }
    m_state = HX_PARSER_COMPILED;
}

void CFunParser::InsertNode(CFunNode* start, CFunNode* node) {
    CFunNode** link = start ? &start->m_pRight : &m_pRoot;
    while (*link && (*link)->m_priority < node->m_priority)
        link = &(*link)->m_pRight;
    node->m_pLeft = *link;
    *link = node;
}

void CFunParser::DeleteTree(CFunNode* node) {
    if (!node)
        return;
    DeleteTree(node->m_pLeft);
    DeleteTree(node->m_pRight);
    delete node;
}

bool CFunParser::GetValue(double* value) {
    if (m_state != HX_PARSER_COMPILED) {
        *value = 0.0;
        return false;
    }
    *value = m_pRoot ? m_pRoot->Evaluate() : std::numeric_limits<double>::quiet_NaN();
    return std::isfinite(*value);
}

CString CFunParser::GetMarkup() {
    if (!m_pRoot)
        return u"<#><l></l></#>";
    return u"<#><l>" + m_pRoot->GetMarkup() + u"</l></#>";
}

CString HxReplaceVariableTokens(const CString& text,
                                const std::function<bool(int n, CString& replacement)>& lookup) {
    const std::u16string& s = text.Str();
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (i + 2 < s.size() && Lower(s[i]) == u'n' && Lower(s[i + 1]) == u'o' && IsDigit(s[i + 2])) {
            size_t end = i + 2;
            long long n = 0;
            while (end < s.size() && IsDigit(s[end])) {
                if (n <= 0x7FFFFFFF)
                    n = n * 10 + (s[end] - u'0');
                ++end;
            }
            CString replacement;
            if (n <= 0x7FFFFFFF && lookup(int(n), replacement))
                out += replacement.Str();
            else
                out.append(s, i, end - i);
            i = end;
            continue;
        }
        out += s[i++];
    }
    return CString(std::move(out));
}
