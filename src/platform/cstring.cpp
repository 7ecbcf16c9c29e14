// CString operations and the printf-style formatter behind Format.
#include "platform/cstring.h"

#include <QString>

#include <cmath>
#include <cstdio>
#include <cwctype>
#include <ostream>

CString::CString(const char* utf8) {
    if (utf8)
        m_s = QString::fromUtf8(utf8).toStdU16String();
}

CString CString::FromQString(const QString& s) { return CString(s.toStdU16String()); }
QString CString::ToQString() const { return QString::fromStdU16String(m_s); }
std::string CString::ToUtf8() const { return ToQString().toStdString(); }
CString CString::FromUtf8(std::string_view s) {
    return CString(QString::fromUtf8(s.data(), qsizetype(s.size())).toStdU16String());
}

int CString::Compare(const char16_t* s) const {
    int r = m_s.compare(s ? s : u"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

static char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return char16_t(c - u'A' + u'a');
    if (c < 0x80)
        return c;
    return QChar(c).toLower().unicode();
}

int CString::CompareNoCase(const char16_t* s) const {
    std::u16string_view b(s ? s : u"");
    size_t n = std::min(m_s.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = FoldCase(m_s[i]), y = FoldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (m_s.size() == b.size())
        return 0;
    return m_s.size() < b.size() ? -1 : 1;
}

CString CString::Left(int n) const {
    n = std::clamp(n, 0, GetLength());
    return CString(m_s.substr(0, size_t(n)));
}

CString CString::Right(int n) const {
    n = std::clamp(n, 0, GetLength());
    return CString(m_s.substr(m_s.size() - size_t(n)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int n) const {
    first = std::clamp(first, 0, GetLength());
    n = std::clamp(n, 0, GetLength() - first);
    return CString(m_s.substr(size_t(first), size_t(n)));
}

int CString::Find(char16_t c, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    size_t p = m_s.find(c, size_t(start));
    return p == std::u16string::npos ? -1 : int(p);
}

int CString::Find(const char16_t* s, int start) const {
    if (!s || start < 0 || start > GetLength())
        return -1;
    size_t p = m_s.find(s, size_t(start));
    return p == std::u16string::npos ? -1 : int(p);
}

int CString::ReverseFind(char16_t c) const {
    size_t p = m_s.rfind(c);
    return p == std::u16string::npos ? -1 : int(p);
}

int CString::FindOneOf(const char16_t* set) const {
    if (!set)
        return -1;
    size_t p = m_s.find_first_of(set);
    return p == std::u16string::npos ? -1 : int(p);
}

int CString::Replace(const char16_t* oldText, const char16_t* newText) {
    std::u16string_view o(oldText ? oldText : u"");
    std::u16string_view n(newText ? newText : u"");
    if (o.empty())
        return 0;
    int count = 0;
    std::u16string out;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(o, pos);
        if (hit == std::u16string::npos)
            break;
        out.append(m_s, pos, hit - pos);
        out.append(n);
        pos = hit + o.size();
        ++count;
    }
    if (count) {
        out.append(m_s, pos, std::u16string::npos);
        m_s = std::move(out);
    }
    return count;
}

int CString::Replace(char16_t oldChar, char16_t newChar) {
    int count = 0;
    for (auto& c : m_s)
        if (c == oldChar) {
            c = newChar;
            ++count;
        }
    return count;
}

int CString::Remove(char16_t c) {
    size_t before = m_s.size();
    std::erase(m_s, c);
    return int(before - m_s.size());
}

int CString::Insert(int index, const char16_t* s) {
    index = std::clamp(index, 0, GetLength());
    m_s.insert(size_t(index), s ? s : u"");
    return GetLength();
}

int CString::Insert(int index, char16_t c) {
    index = std::clamp(index, 0, GetLength());
    m_s.insert(m_s.begin() + index, c);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        m_s.erase(size_t(index), size_t(std::min(count, GetLength() - index)));
    return GetLength();
}

CString& CString::MakeUpper() {
    m_s = ToQString().toUpper().toStdU16String();
    return *this;
}

CString& CString::MakeLower() {
    m_s = ToQString().toLower().toStdU16String();
    return *this;
}

static bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0x3000; }

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsBlank(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_s.size();
    while (n > 0 && IsBlank(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft(char16_t c) {
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == c)
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight(char16_t c) {
    size_t n = m_s.size();
    while (n > 0 && m_s[n - 1] == c)
        --n;
    m_s.resize(n);
    return *this;
}

CString& CString::Trim(char16_t c) { return TrimRight(c).TrimLeft(c); }

CString CString::SpanIncluding(const char16_t* set) const {
    size_t p = m_s.find_first_not_of(set ? set : u"");
    return CString(m_s.substr(0, p));
}

CString CString::SpanExcluding(const char16_t* set) const {
    size_t p = m_s.find_first_of(set ? set : u"");
    return CString(m_s.substr(0, p));
}

CString CString::Tokenize(const char16_t* delims, int& start) const {
    std::u16string_view d(delims ? delims : u"");
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    size_t b = m_s.find_first_not_of(d, size_t(start));
    if (b == std::u16string::npos) {
        start = -1;
        return CString();
    }
    size_t e = m_s.find_first_of(d, b);
    if (e == std::u16string::npos)
        e = m_s.size();
    start = int(e) + 1;
    return CString(m_s.substr(b, e - b));
}

// ---------------------------------------------------------------------------------------------
// Formatting

namespace {

struct Spec {
    bool left = false, plus = false, space = false, alt = false, zero = false;
    int width = -1;
    int precision = -1;
    char conv = 0;
};

void AppendAscii(std::u16string& out, const std::string& s) {
    for (char c : s)
        out += char16_t((unsigned char)c);
}

std::string Pad(const std::string& body, const Spec& sp, bool numeric) {
    if (sp.width < 0 || int(body.size()) >= sp.width)
        return body;
    size_t fill = size_t(sp.width) - body.size();
    if (sp.left)
        return body + std::string(fill, ' ');
    if (sp.zero && numeric) {
        // Zeros go after the sign (and after a 0x prefix).
        size_t lead = 0;
        if (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' '))
            lead = 1;
        if (body.size() >= lead + 2 && body[lead] == '0' && (body[lead + 1] == 'x' || body[lead + 1] == 'X'))
            lead += 2;
        return body.substr(0, lead) + std::string(fill, '0') + body.substr(lead);
    }
    return std::string(fill, ' ') + body;
}

// Fixed notation with exact halves rounded away from zero.  The digits are taken from the
// exact binary value with 25 guard digits; a tie therefore shows as 5 followed by zeros.
std::string FixedAwayFromZero(double v, int precision, const Spec& sp) {
    if (!std::isfinite(v)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%f", v);
        return buf;
    }
    bool neg = std::signbit(v);
    double a = std::fabs(v);
    const int guard = 25;
    std::vector<char> buf(400 + size_t(precision) + guard);
    std::snprintf(buf.data(), buf.size(), "%.*f", precision + guard, a);
    std::string s(buf.data());
    size_t dot = s.find('.');
    std::string intPart = s.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    bool roundUp = frac.size() > size_t(precision) && frac[size_t(precision)] >= '5';
    std::string digits = intPart + frac.substr(0, size_t(precision));
    if (roundUp) {
        int i = int(digits.size()) - 1;
        while (i >= 0) {
            if (digits[size_t(i)] == '9') {
                digits[size_t(i)] = '0';
                --i;
            } else {
                ++digits[size_t(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            intPart.insert(intPart.begin(), '0');
        }
    }
    std::string ip = digits.substr(0, intPart.size());
    std::string fp = digits.substr(intPart.size());
    std::string out;
    if (neg)
        out += '-';
    else if (sp.plus)
        out += '+';
    else if (sp.space)
        out += ' ';
    out += ip;
    if (precision > 0 || sp.alt)
        out += '.';
    out += fp;
    return out;
}

std::string NarrowFlags(const Spec& sp) {
    std::string f = "%";
    if (sp.left) f += '-';
    if (sp.plus) f += '+';
    if (sp.space) f += ' ';
    if (sp.alt) f += '#';
    if (sp.zero) f += '0';
    if (sp.width >= 0) f += std::to_string(sp.width);
    if (sp.precision >= 0) {
        f += '.';
        f += std::to_string(sp.precision);
    }
    return f;
}

std::string Printf(const std::string& fmt, auto value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, fmt.c_str(), value);
    if (n < 0)
        return std::string();
    if (size_t(n) < sizeof small)
        return std::string(small, size_t(n));
    std::string big(size_t(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), fmt.c_str(), value);
    big.resize(size_t(n));
    return big;
}

} // namespace

std::u16string HxFormatV(std::u16string_view fmt, const HxFormatArg* args, size_t count) {
    std::u16string out;
    size_t next = 0;
    auto take = [&]() -> HxFormatArg {
        if (next < count)
            return args[next++];
        return HxFormatArg{};
    };
    auto asDouble = [](const HxFormatArg& a) {
        switch (a.kind) {
        case HxFormatArg::Double: return a.d;
        case HxFormatArg::UInt: return double(a.u);
        case HxFormatArg::Int: return double(a.i);
        default: return 0.0;
        }
    };
    auto asInt = [](const HxFormatArg& a) -> long long {
        switch (a.kind) {
        case HxFormatArg::Double: return std::isfinite(a.d) ? (long long)a.d : 0;
        case HxFormatArg::UInt: return (long long)a.u;
        case HxFormatArg::Int: return a.i;
        default: return 0;
        }
    };

    size_t i = 0;
    while (i < fmt.size()) {
        char16_t c = fmt[i++];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i >= fmt.size())
            break;
        if (fmt[i] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        Spec sp;
        for (; i < fmt.size(); ++i) {
            char16_t f = fmt[i];
            if (f == u'-') sp.left = true;
            else if (f == u'+') sp.plus = true;
            else if (f == u' ') sp.space = true;
            else if (f == u'#') sp.alt = true;
            else if (f == u'0') sp.zero = true;
            else break;
        }
        if (i < fmt.size() && fmt[i] == u'*') {
            int w = int(asInt(take()));
            if (w < 0) {
                sp.left = true;
                w = -w;
            }
            sp.width = w;
            ++i;
        } else {
            while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                sp.width = (sp.width < 0 ? 0 : sp.width) * 10 + (fmt[i] - u'0');
                ++i;
            }
        }
        if (i < fmt.size() && fmt[i] == u'.') {
            ++i;
            sp.precision = 0;
            if (i < fmt.size() && fmt[i] == u'*') {
                int p = int(asInt(take()));
                sp.precision = p < 0 ? -1 : p;
                ++i;
            } else {
                while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                    sp.precision = sp.precision * 10 + (fmt[i] - u'0');
                    ++i;
                }
            }
        }
        // Length modifiers carry no meaning here: arguments keep their own types.
        while (i < fmt.size() && (fmt[i] == u'h' || fmt[i] == u'l' || fmt[i] == u'L' || fmt[i] == u'I' ||
                                  fmt[i] == u'6' || fmt[i] == u'4' || fmt[i] == u'w' || fmt[i] == u'z'))
            ++i;
        if (i >= fmt.size())
            break;
        char16_t conv = fmt[i++];
        HxFormatArg a = take();
        switch (conv) {
        case u'd':
        case u'i': {
            std::string body = Printf(NarrowFlags(sp) + "lld", asInt(a));
            AppendAscii(out, body);
            break;
        }
        case u'u':
        case u'x':
        case u'X':
        case u'o': {
            unsigned long long v = a.kind == HxFormatArg::UInt ? a.u : (unsigned long long)asInt(a);
            if (a.kind == HxFormatArg::Int && a.i < 0 && a.i >= INT32_MIN)
                v = (unsigned long long)(unsigned)(int)a.i; // a negative int prints as its 32-bit pattern
            std::string body = Printf(NarrowFlags(sp) + "ll" + char(conv), v);
            AppendAscii(out, body);
            break;
        }
        case u'f':
        case u'F': {
            int prec = sp.precision < 0 ? 6 : sp.precision;
            std::string body = FixedAwayFromZero(asDouble(a), prec, sp);
            AppendAscii(out, Pad(body, sp, std::isfinite(asDouble(a))));
            break;
        }
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'a':
        case u'A': {
            std::string body = Printf(NarrowFlags(sp) + char(conv), asDouble(a));
            AppendAscii(out, body);
            break;
        }
        case u'c':
        case u'C': {
            if (a.kind == HxFormatArg::None)
                break;
            char16_t ch = a.kind == HxFormatArg::Str ? (a.s.empty() ? u'\0' : a.s[0]) : char16_t(asInt(a));
            std::u16string body(1, ch);
            if (sp.width > 1)
                body = sp.left ? body + std::u16string(size_t(sp.width - 1), u' ')
                               : std::u16string(size_t(sp.width - 1), u' ') + body;
            out += body;
            break;
        }
        case u's':
        case u'S': {
            std::u16string body;
            if (a.kind == HxFormatArg::Str)
                body = std::u16string(a.s);
            else if (a.kind == HxFormatArg::Double)
                AppendAscii(body, Printf("%g", a.d));
            else if (a.kind != HxFormatArg::None)
                AppendAscii(body, std::to_string(asInt(a)));
            if (sp.precision >= 0 && body.size() > size_t(sp.precision))
                body.resize(size_t(sp.precision));
            if (sp.width >= 0 && body.size() < size_t(sp.width)) {
                std::u16string fill(size_t(sp.width) - body.size(), u' ');
                body = sp.left ? body + fill : fill + body;
            }
            out += body;
            break;
        }
        case u'p': {
            AppendAscii(out, Printf("%016llX", (unsigned long long)asInt(a)));
            break;
        }
        default:
            // An unknown conversion is copied as it stands.
            out += u'%';
            out += conv;
            break;
        }
    }
    return out;
}

void PrintTo(const CString& s, std::ostream* os) { *os << '"' << s.ToUtf8() << '"'; }
