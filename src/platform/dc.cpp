// The device-context state shared by every back end, regions, face names and the Symbol-font table.
#include "platform/dc.h"

#include <cstring>

bool LOGFONT::operator==(const LOGFONT& o) const {
    return lfHeight == o.lfHeight && lfWidth == o.lfWidth && lfEscapement == o.lfEscapement &&
           lfOrientation == o.lfOrientation && lfWeight == o.lfWeight && lfItalic == o.lfItalic &&
           lfUnderline == o.lfUnderline && lfStrikeOut == o.lfStrikeOut && lfCharSet == o.lfCharSet &&
           lfOutPrecision == o.lfOutPrecision && lfClipPrecision == o.lfClipPrecision &&
           lfQuality == o.lfQuality && lfPitchAndFamily == o.lfPitchAndFamily &&
           std::memcmp(lfFaceName, o.lfFaceName, sizeof(lfFaceName)) == 0;
}

CString HxGetFaceName(const LOGFONT& lf) {
    int n = 0;
    while (n < LF_FACESIZE && lf.lfFaceName[n])
        ++n;
    return CString(lf.lfFaceName, n);
}

void HxSetFaceName(LOGFONT& lf, const CString& face) {
    int n = std::min(face.GetLength(), LF_FACESIZE - 1);
    std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
    for (int i = 0; i < n; ++i)
        lf.lfFaceName[i] = face[i];
}

bool CRgn::PtInRegion(CPoint p) const {
    for (const CRect& r : m_rects)
        if (r.PtInRect(p))
            return true;
    return false;
}

CRect CRgn::GetRgnBox() const {
    if (m_rects.empty())
        return CRect();
    CRect box = m_rects.front();
    for (const CRect& r : m_rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

LOGFONT CDC::SelectFont(const LOGFONT& font) {
    LOGFONT old = m_font;
    m_font = font;
    return old;
}

HxPen CDC::SelectPen(const HxPen& pen) {
    HxPen old = m_pen;
    m_pen = pen;
    return old;
}

HxBrush CDC::SelectBrush(const HxBrush& brush) {
    HxBrush old = m_brush;
    m_brush = brush;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    COLORREF old = m_textColor;
    m_textColor = color;
    return old;
}

int CDC::SetBkMode(int mode) {
    int old = m_bkMode;
    m_bkMode = mode;
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    CPoint old = m_windowOrg;
    m_windowOrg = CPoint(x, y);
    return old;
}

CPoint CDC::MoveTo(int x, int y) {
    CPoint old = m_pos;
    m_pos = CPoint(x, y);
    return old;
}

void CDC::LineTo(int x, int y) {
    CPoint to(x, y);
    if (m_pen.m_style != PS_NULL)
        DrawLine(m_pos, to);
    m_pos = to;
}

// The Symbol font's codes 0x20..0xFF and the characters they show (0: the code shows nothing
// that Unicode has, and is drawn as it is).
static const char16_t kSymbolTable[224] = {
    // 0x20
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B, 0x002C,
    0x2212, 0x002E, 0x002F,
    // 0x30
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C,
    0x003D, 0x003E, 0x003F,
    // 0x40
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B,
    0x039C, 0x039D, 0x039F,
    // 0x50
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B, 0x2234,
    0x005D, 0x22A5, 0x005F,
    // 0x60
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB,
    0x03BC, 0x03BD, 0x03BF,
    // 0x70
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C,
    0x007D, 0x223C, 0,
    // 0x80
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0x90
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190,
    0x2191, 0x2192, 0x2193,
    // 0xB0
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026,
    0x23D0, 0x23AF, 0x21B5,
    // 0xC0
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282,
    0x2286, 0x2208, 0x2209,
    // 0xD0
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0,
    0x21D1, 0x21D2, 0x21D3,
    // 0xE0
    0x25CA, 0x27E8, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7,
    0x23A8, 0x23A9, 0x23AA,
    // 0xF0
    0, 0x27E9, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC,
    0x23AD, 0};

char16_t HxSymbolToUnicode(char16_t c, bool symbolFace) {
    unsigned code;
    if (c >= 0xF020 && c <= 0xF0FF)
        code = c - 0xF000u;
    else if (symbolFace && c >= 0x20 && c <= 0xFF)
        code = c;
    else
        return c;
    char16_t u = kSymbolTable[code - 0x20];
    return u ? u : c;
}

char16_t HxUnicodeToSymbol(char16_t c) {
    // Plain ASCII that the font shows as itself keeps its code.
    for (unsigned code = 0x20; code <= 0xFF; ++code)
        if (kSymbolTable[code - 0x20] == c)
            return char16_t(code);
    return 0;
}

CString HxMapSymbolText(const CString& text, bool symbolFace) {
    CString out(text);
    std::u16string& s = out.Str();
    for (char16_t& c : s)
        c = HxSymbolToUnicode(c, symbolFace);
    return out;
}

bool HxIsSymbolFace(const CString& face) {
    return face.CompareNoCase(u"Symbol") == 0;
}
