// Device contexts in the GDI manner: LOGFONT, pens, brushes, regions and the CDC interface that the
// formula layout measures and draws through.  The back ends are dc_painter.h (QPainter) and
// dc_fixed.h (fixed character metrics for tests).
#pragma once

#include "platform/cstring.h"
#include "platform/types.h"

#include <vector>

constexpr int LF_FACESIZE = 32;

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE GB2312_CHARSET = 134;

constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE ANTIALIASED_QUALITY = 4;

struct LOGFONT {
    LONG lfHeight = 0; // < 0: character (em) height in pixels; > 0: cell height; 0: a default size
    LONG lfWidth = 0;  // average character width; 0 keeps the face's own proportions
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_DONTCARE;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = ANSI_CHARSET;
    BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
    BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
    BYTE lfQuality = DEFAULT_QUALITY;
    BYTE lfPitchAndFamily = 0;
    WCHAR lfFaceName[LF_FACESIZE] = {};

    bool operator==(const LOGFONT& o) const;
};

// The face name of a LOGFONT, and setting it: longer names are cut to 31 units so that the field
// always keeps its terminator.
CString HxGetFaceName(const LOGFONT& lf);
void HxSetFaceName(LOGFONT& lf, const CString& face);

// Pen styles, background modes and DrawText flags.
constexpr int PS_SOLID = 0;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_EXTERNALLEADING = 0x0200;
constexpr UINT DT_NOPREFIX = 0x0800;

struct HxPen {
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_color = 0;
    bool operator==(const HxPen&) const = default;
};

struct HxBrush {
    bool m_null = false;
    COLORREF m_color = 0xFFFFFF;
    bool operator==(const HxBrush&) const = default;
};

// A region: the union of rectangles.
class CRgn {
public:
    void SetRectEmpty() { m_rects.clear(); }
    void UnionRect(const CRect& r) {
        if (!r.IsRectEmpty())
            m_rects.push_back(r);
    }
    bool IsEmpty() const { return m_rects.empty(); }
    bool PtInRegion(CPoint p) const;
    CRect GetRgnBox() const;
    const std::vector<CRect>& Rects() const { return m_rects; }

private:
    std::vector<CRect> m_rects;
};

// A drawing surface with GDI's state and calls.  The state (font, pen, brush, text colour) is kept
// here; a back end measures and draws with it.  Coordinates are logical: a window origin set with
// SetWindowOrg is subtracted by the back end.
class CDC {
public:
    virtual ~CDC() = default;

    // Each Select returns what was selected before, so callers put it back.
    LOGFONT SelectFont(const LOGFONT& font);
    HxPen SelectPen(const HxPen& pen);
    HxBrush SelectBrush(const HxBrush& brush);
    COLORREF SetTextColor(COLORREF color);
    int SetBkMode(int mode);
    CPoint SetWindowOrg(int x, int y);

    const LOGFONT& GetCurrentFont() const { return m_font; }
    const HxPen& GetCurrentPen() const { return m_pen; }
    const HxBrush& GetCurrentBrush() const { return m_brush; }
    COLORREF GetTextColor() const { return m_textColor; }
    int GetBkMode() const { return m_bkMode; }
    CPoint GetWindowOrg() const { return m_windowOrg; }

    // The extent of a text in the current font: its width, and the font's cell height (also for
    // an empty text, as GetTextExtentPoint32 reports it).
    virtual CSize GetTextExtent(const CString& text) = 0;
    // Text with the top-left corner of its cell at (x, y), in the text colour.
    virtual void TextOut(int x, int y, const CString& text) = 0;
    // One line of text placed in a rectangle by the DT_ flags.
    virtual void DrawText(const CString& text, const CRect& rect, UINT format) = 0;
    CPoint MoveTo(int x, int y);
    // A line with the current pen from the current position; the position moves to (x, y).
    void LineTo(int x, int y);
    // A closed polygon filled with the current brush and outlined with the current pen.
    virtual void Polygon(const CPoint* points, int count) = 0;
    // The dotted rectangle of an empty slot (drawn by inverting every other pixel of the border).
    virtual void DrawFocusRect(const CRect& rect) = 0;
    virtual void FillSolidRect(const CRect& rect, COLORREF color) = 0;
    virtual void FillRgn(const CRgn& region, COLORREF color) = 0;

protected:
    virtual void DrawLine(CPoint from, CPoint to) = 0;

    LOGFONT m_font;
    HxPen m_pen;
    HxBrush m_brush;
    COLORREF m_textColor = 0;
    int m_bkMode = OPAQUE;
    CPoint m_pos;
    CPoint m_windowOrg;
};

// The characters of the Symbol font are kept in documents as U+F020..U+F0FF (the font's code plus
// 0xF000).  These give the Unicode character each one shows, for drawing and measuring.
// With `symbolFace` (text in the "Symbol" face itself) the codes 0x20..0xFF are read the same way.
char16_t HxSymbolToUnicode(char16_t c, bool symbolFace = false);
CString HxMapSymbolText(const CString& text, bool symbolFace = false);
// The Symbol font's code (0x20..0xFF) of a character it shows, or 0 when it shows none such.
char16_t HxUnicodeToSymbol(char16_t c);
// Whether a face name is the Symbol font (compared without case).
bool HxIsSymbolFace(const CString& face);
