// CString: a UTF-16 string with the operations the model uses, and printf-style Format.
#pragma once

#include "platform/types.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class QString;
class CString;

// One argument of Format, captured with its type so that no C varargs are involved.
struct HxFormatArg {
    enum Kind { None, Int, UInt, Double, Str };
    Kind kind = None; // None: a conversion with no argument left
    long long i = 0;
    unsigned long long u = 0;
    double d = 0;
    std::u16string_view s;
};

inline HxFormatArg HxMakeFormatArg(int v) { HxFormatArg a; a.kind = HxFormatArg::Int; a.i = v; return a; }
inline HxFormatArg HxMakeFormatArg(long v) { HxFormatArg a; a.kind = HxFormatArg::Int; a.i = v; return a; }
inline HxFormatArg HxMakeFormatArg(long long v) { HxFormatArg a; a.kind = HxFormatArg::Int; a.i = v; return a; }
inline HxFormatArg HxMakeFormatArg(short v) { return HxMakeFormatArg(int(v)); }
inline HxFormatArg HxMakeFormatArg(signed char v) { return HxMakeFormatArg(int(v)); }
inline HxFormatArg HxMakeFormatArg(char v) { return HxMakeFormatArg(int(v)); }
inline HxFormatArg HxMakeFormatArg(bool v) { return HxMakeFormatArg(int(v)); }
inline HxFormatArg HxMakeFormatArg(unsigned v) { HxFormatArg a; a.kind = HxFormatArg::UInt; a.u = v; a.i = (long long)v; return a; }
inline HxFormatArg HxMakeFormatArg(unsigned long v) { HxFormatArg a; a.kind = HxFormatArg::UInt; a.u = v; a.i = (long long)v; return a; }
inline HxFormatArg HxMakeFormatArg(unsigned long long v) { HxFormatArg a; a.kind = HxFormatArg::UInt; a.u = v; a.i = (long long)v; return a; }
inline HxFormatArg HxMakeFormatArg(unsigned short v) { return HxMakeFormatArg(unsigned(v)); }
inline HxFormatArg HxMakeFormatArg(unsigned char v) { return HxMakeFormatArg(unsigned(v)); }
inline HxFormatArg HxMakeFormatArg(char16_t v) { return HxMakeFormatArg(unsigned(v)); }
inline HxFormatArg HxMakeFormatArg(double v) { HxFormatArg a; a.kind = HxFormatArg::Double; a.d = v; return a; }
inline HxFormatArg HxMakeFormatArg(float v) { return HxMakeFormatArg(double(v)); }
inline HxFormatArg HxMakeFormatArg(const char16_t* v) {
    HxFormatArg a; a.kind = HxFormatArg::Str; a.s = v ? std::u16string_view(v) : std::u16string_view(u"(null)"); return a;
}
inline HxFormatArg HxMakeFormatArg(const std::u16string& v) { HxFormatArg a; a.kind = HxFormatArg::Str; a.s = v; return a; }
HxFormatArg HxMakeFormatArg(const CString& v);

// Formats with printf conversions (%s %c %d %i %u %x %X %o %f %e %g %%, flags, width, precision).
// "%.Nf" rounds exact halves away from zero; "%g" and "%e" follow the C library.
std::u16string HxFormatV(std::u16string_view fmt, const HxFormatArg* args, size_t count);

class CString {
public:
    CString() = default;
    CString(const char16_t* s) : m_s(s ? s : u"") {}
    CString(const char16_t* s, int n) : m_s(s ? std::u16string(s, size_t(std::max(n, 0))) : std::u16string()) {}
    CString(char16_t ch, int repeat = 1) : m_s(size_t(std::max(repeat, 0)), ch) {}
    CString(const std::u16string& s) : m_s(s) {}
    CString(std::u16string&& s) : m_s(std::move(s)) {}
    CString(std::u16string_view s) : m_s(s) {}
    // Narrow text is taken as UTF-8.
    explicit CString(const char* utf8);

    static CString FromQString(const QString& s);
    QString ToQString() const;
    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view s);

    int GetLength() const { return int(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char16_t GetAt(int i) const { return m_s.at(size_t(i)); }
    void SetAt(int i, char16_t c) { m_s.at(size_t(i)) = c; }
    char16_t operator[](int i) const { return m_s.at(size_t(i)); }
    const char16_t* GetString() const { return m_s.c_str(); }
    operator const char16_t*() const { return m_s.c_str(); }
    const std::u16string& Str() const { return m_s; }
    std::u16string& Str() { return m_s; }

    CString& operator=(const char16_t* s) { m_s = s ? s : u""; return *this; }
    CString& operator=(char16_t c) { m_s.assign(1, c); return *this; }
    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(const char16_t* s) { if (s) m_s += s; return *this; }
    CString& operator+=(char16_t c) { m_s += c; return *this; }

    int Compare(const char16_t* s) const;
    int CompareNoCase(const char16_t* s) const;

    CString Left(int n) const;
    CString Right(int n) const;
    CString Mid(int first) const;
    CString Mid(int first, int n) const;
    int Find(char16_t c, int start = 0) const;
    int Find(const char16_t* s, int start = 0) const;
    int ReverseFind(char16_t c) const;
    int FindOneOf(const char16_t* set) const;
    int Replace(const char16_t* oldText, const char16_t* newText);
    int Replace(char16_t oldChar, char16_t newChar);
    int Remove(char16_t c);
    int Insert(int index, const char16_t* s);
    int Insert(int index, char16_t c);
    int Delete(int index, int count = 1);
    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(char16_t c);
    CString& TrimLeft(char16_t c);
    CString& TrimRight(char16_t c);
    CString SpanIncluding(const char16_t* set) const;
    CString SpanExcluding(const char16_t* set) const;
    CString Tokenize(const char16_t* delims, int& start) const;

    template <class... A> void Format(const char16_t* fmt, const A&... args) {
        const HxFormatArg list[] = {HxMakeFormatArg(args)..., HxFormatArg{}};
        m_s = HxFormatV(fmt ? fmt : u"", list, sizeof...(A));
    }
    template <class... A> void AppendFormat(const char16_t* fmt, const A&... args) {
        const HxFormatArg list[] = {HxMakeFormatArg(args)..., HxFormatArg{}};
        m_s += HxFormatV(fmt ? fmt : u"", list, sizeof...(A));
    }

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_s == (b ? b : u""); }
    friend bool operator==(const char16_t* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char16_t* b) { return !(a == b); }
    friend bool operator!=(const char16_t* a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char16_t* b) { return CString(a.m_s + (b ? b : u"")); }
    friend CString operator+(const char16_t* a, const CString& b) { return CString((a ? a : u"") + b.m_s); }
    friend CString operator+(const CString& a, char16_t b) { return CString(a.m_s + b); }
    friend CString operator+(char16_t a, const CString& b) { return CString(a + b.m_s); }

private:
    std::u16string m_s;
};

inline HxFormatArg HxMakeFormatArg(const CString& v) {
    HxFormatArg a; a.kind = HxFormatArg::Str; a.s = v.Str(); return a;
}

// Formats into a new string.
template <class... A> CString HxFormat(const char16_t* fmt, const A&... args) {
    CString s;
    s.Format(fmt, args...);
    return s;
}

template <> struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::u16string>()(s.Str()); }
};

// Readable test output.
void PrintTo(const CString& s, std::ostream* os);
