// CEmfDC: GDI-shaped drawing calls written as enhanced-metafile records.
#include "platform/dc_emf.h"

#include "platform/bitmap_bits.h"
#include "platform/dc_painter.h"

#include <cmath>
#include <cstring>

namespace {

constexpr DWORD kPenHandle = 1, kBrushHandle = 2, kFontHandle = 3, kHandleCount = 4;
constexpr DWORD kHeaderSize = 108; // with both header extensions
constexpr DWORD kMmText = 1;
constexpr DWORD kGmCompatible = 1;
constexpr DWORD kBsSolid = 0, kBsNull = 1;

// Hundredths of a millimetre of a pixel count at 96 pixels an inch.
LONG FrameUnits(LONG pixels) {
    return LONG(std::lround(double(pixels) * 2540.0 / 96.0));
}

} // namespace

CEmfDC::CEmfDC(const CString& description) : m_description(description) {
    size_t r = Begin(EMR_SETMAPMODE);
    Put(kMmText);
    End(r);
    SyncBkMode();
}

void CEmfDC::SyncBkMode() {
    if (m_bkModeSet && m_emfBkMode == m_bkMode)
        return;
    size_t r = Begin(EMR_SETBKMODE);
    PutInt(m_bkMode);
    End(r);
    m_emfBkMode = m_bkMode;
    m_bkModeSet = true;
}

size_t CEmfDC::Begin(DWORD type) {
    const size_t start = m_body.size();
    Put(type);
    Put(0);
    return start;
}

void CEmfDC::End(size_t start) {
    while (m_body.size() % 4)
        m_body.push_back(0);
    HxSetDword(m_body, start + 4, DWORD(m_body.size() - start));
    ++m_records;
}

void CEmfDC::Put(DWORD v) {
    HxPutDword(m_body, v);
}

void CEmfDC::PutRect(const CRect& r) {
    PutInt(r.left);
    PutInt(r.top);
    PutInt(r.right);
    PutInt(r.bottom);
}

void CEmfDC::Include(const CRect& in) {
    CRect r = in;
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return;
    if (m_bounds.IsRectEmpty()) {
        m_bounds = r;
        return;
    }
    m_bounds.left = std::min(m_bounds.left, r.left);
    m_bounds.top = std::min(m_bounds.top, r.top);
    m_bounds.right = std::max(m_bounds.right, r.right);
    m_bounds.bottom = std::max(m_bounds.bottom, r.bottom);
}

void CEmfDC::SelectObject(DWORD handle) {
    size_t r = Begin(EMR_SELECTOBJECT);
    Put(handle);
    End(r);
}

void CEmfDC::DeleteObject(DWORD handle) {
    size_t r = Begin(EMR_DELETEOBJECT);
    Put(handle);
    End(r);
}

void CEmfDC::SyncPen() {
    if (m_penMade && m_emfPen == m_pen)
        return;
    if (m_penMade) {
        SelectObject(HX_EMF_STOCK_BLACK_PEN);
        DeleteObject(kPenHandle);
    }
    size_t r = Begin(EMR_CREATEPEN);
    Put(kPenHandle);
    PutInt(m_pen.m_style);
    PutInt(m_pen.m_width);
    PutInt(0);
    Put(m_pen.m_color & 0xFFFFFF);
    End(r);
    SelectObject(kPenHandle);
    m_emfPen = m_pen;
    m_penMade = true;
}

void CEmfDC::SyncBrush() {
    if (m_brushMade && m_emfBrush == m_brush)
        return;
    if (m_brushMade) {
        SelectObject(HX_EMF_STOCK_NULL_BRUSH);
        DeleteObject(kBrushHandle);
    }
    size_t r = Begin(EMR_CREATEBRUSHINDIRECT);
    Put(kBrushHandle);
    Put(m_brush.m_null ? kBsNull : kBsSolid);
    Put(m_brush.m_color & 0xFFFFFF);
    Put(0);
    End(r);
    SelectObject(kBrushHandle);
    m_emfBrush = m_brush;
    m_brushMade = true;
}

void CEmfDC::SyncFont() {
    if (m_fontMade && m_emfFont == m_font)
        return;
    if (m_fontMade) {
        SelectObject(HX_EMF_STOCK_SYSTEM_FONT);
        DeleteObject(kFontHandle);
    }
    // Symbol-font text is written as the Unicode characters it shows (see TextOut), so a reader
    // needs a Unicode face for it, not the Symbol font's own code page.
    LOGFONT lf = m_font;
    if (HxIsSymbolFace(HxGetFaceName(lf))) {
        HxSetFaceName(lf, u"Times New Roman");
        lf.lfCharSet = ANSI_CHARSET;
    }
    size_t r = Begin(EMR_EXTCREATEFONTINDIRECTW);
    Put(kFontHandle);
    PutInt(lf.lfHeight);
    PutInt(lf.lfWidth);
    PutInt(lf.lfEscapement);
    PutInt(lf.lfOrientation);
    PutInt(lf.lfWeight);
    for (BYTE b : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                   lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
        m_body.push_back(b);
    for (int i = 0; i < LF_FACESIZE; ++i)
        HxPutWord(m_body, WORD(lf.lfFaceName[i]));
    End(r);
    SelectObject(kFontHandle);
    m_emfFont = m_font;
    m_fontMade = true;
}

void CEmfDC::SyncTextColor() {
    if (m_textColorSet && m_emfTextColor == m_textColor)
        return;
    size_t r = Begin(EMR_SETTEXTCOLOR);
    Put(m_textColor & 0xFFFFFF);
    End(r);
    m_emfTextColor = m_textColor;
    m_textColorSet = true;
}

CSize CEmfDC::GetTextExtent(const CString& text) {
    return HxPainterTextExtent(m_font, text);
}

void CEmfDC::TextOut(int x, int y, const CString& text) {
    if (text.IsEmpty() || m_finished)
        return;
    SyncFont();
    SyncTextColor();
    SyncBkMode();
    const CString shown = HxMapSymbolText(text, HxIsSymbolFace(HxGetFaceName(m_font)));
    const std::vector<int> dx = HxPainterCharAdvances(m_font, text);
    const CSize ext = GetTextExtent(text);
    const CRect cell(x - m_windowOrg.x, y - m_windowOrg.y, x - m_windowOrg.x + ext.cx,
                     y - m_windowOrg.y + ext.cy);
    Include(cell);
    if (m_bkMode == OPAQUE) {
        // The cell is filled behind the text, as the painter does.
        FillSolidRect(CRect(x, y, x + ext.cx, y + ext.cy), RGB(255, 255, 255));
    }
    const DWORD n = DWORD(shown.GetLength());
    const DWORD offString = 76;
    const DWORD offDx = offString + (n * 2 + 3) / 4 * 4;
    size_t r = Begin(EMR_EXTTEXTOUTW);
    PutRect(CRect(cell.left, cell.top, cell.right - 1, cell.bottom - 1));
    Put(kGmCompatible);
    float one = 1.0f;
    DWORD scale;
    std::memcpy(&scale, &one, 4);
    Put(scale);
    Put(scale);
    PutInt(cell.left); // reference point: the top-left of the cell (top, left alignment)
    PutInt(cell.top);
    Put(n);
    Put(offString);
    Put(0); // options
    PutRect(CRect(0, 0, -1, -1));
    Put(offDx);
    for (char16_t c : shown.Str())
        HxPutWord(m_body, WORD(c));
    while ((m_body.size() - r) % 4)
        m_body.push_back(0);
    for (DWORD i = 0; i < n; ++i)
        PutInt(i < dx.size() ? dx[i] : 0);
    End(r);
}

void CEmfDC::DrawText(const CString& text, const CRect& rect, UINT format) {
    if (text.IsEmpty())
        return;
    // Placed as the painter places it; a metafile keeps no clipping of single lines.
    CSize ext = GetTextExtent(text);
    int x = rect.left, y = rect.top;
    if (format & DT_CENTER)
        x = rect.left + (rect.Width() - ext.cx) / 2;
    else if (format & DT_RIGHT)
        x = rect.right - ext.cx;
    if (format & DT_VCENTER)
        y = rect.top + (rect.Height() - ext.cy) / 2;
    else if (format & DT_BOTTOM)
        y = rect.bottom - ext.cy;
    TextOut(x, y, text);
}

void CEmfDC::DrawLine(CPoint from, CPoint to) {
    if (m_finished)
        return;
    SyncPen();
    const CPoint a(from.x - m_windowOrg.x, from.y - m_windowOrg.y);
    const CPoint b(to.x - m_windowOrg.x, to.y - m_windowOrg.y);
    const int half = std::max(1, m_pen.m_width) / 2;
    Include(CRect(std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half + 1,
                  std::max(a.y, b.y) + half + 1));
    size_t r = Begin(EMR_MOVETOEX);
    PutInt(a.x);
    PutInt(a.y);
    End(r);
    r = Begin(EMR_LINETO);
    PutInt(b.x);
    PutInt(b.y);
    End(r);
}

void CEmfDC::Polygon(const CPoint* points, int count) {
    if (!points || count < 2 || m_finished)
        return;
    SyncPen();
    SyncBrush();
    CRect box(points[0].x, points[0].y, points[0].x, points[0].y);
    for (int i = 0; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    box.OffsetRect(-m_windowOrg.x, -m_windowOrg.y);
    Include(CRect(box.left, box.top, box.right + 1, box.bottom + 1));
    size_t r = Begin(EMR_POLYGON16);
    PutRect(box);
    Put(DWORD(count));
    for (int i = 0; i < count; ++i) {
        HxPutWord(m_body, WORD(int16_t(std::clamp(points[i].x - m_windowOrg.x, -32768, 32767))));
        HxPutWord(m_body, WORD(int16_t(std::clamp(points[i].y - m_windowOrg.y, -32768, 32767))));
    }
    End(r);
}

void CEmfDC::DrawFocusRect(const CRect& rect) {
    if (rect.IsRectEmpty() || m_finished)
        return;
    // A dotted frame in black one pixel wide.
    const HxPen old = SelectPen(HxPen{PS_DOT, 1, RGB(0, 0, 0)});
    const CPoint oldPos = MoveTo(rect.left, rect.top);
    LineTo(rect.right - 1, rect.top);
    LineTo(rect.right - 1, rect.bottom - 1);
    LineTo(rect.left, rect.bottom - 1);
    LineTo(rect.left, rect.top);
    MoveTo(oldPos.x, oldPos.y);
    SelectPen(old);
}

void CEmfDC::FillSolidRect(const CRect& rect, COLORREF color) {
    if (rect.IsRectEmpty() || m_finished)
        return;
    const HxPen oldPen = SelectPen(HxPen{PS_NULL, 1, 0});
    const HxBrush oldBrush = SelectBrush(HxBrush{false, color});
    SyncPen();
    SyncBrush();
    CRect r = rect;
    r.OffsetRect(-m_windowOrg.x, -m_windowOrg.y);
    Include(r);
    // Without a pen a rectangle leaves its right and bottom edges out.
    size_t rec = Begin(EMR_RECTANGLE);
    PutRect(CRect(r.left, r.top, r.right + 1, r.bottom + 1));
    End(rec);
    SelectPen(oldPen);
    SelectBrush(oldBrush);
}

void CEmfDC::FillRgn(const CRgn& region, COLORREF color) {
    for (const CRect& r : region.Rects())
        FillSolidRect(r, color);
}

std::vector<BYTE> CEmfDC::Finish() {
    if (m_finished)
        return {};
    m_finished = true;
    std::vector<BYTE> desc;
    for (char16_t c : m_description.Str())
        HxPutWord(desc, WORD(c));
    HxPutWord(desc, 0);
    HxPutWord(desc, 0);
    const DWORD nDescription = DWORD(desc.size() / 2);
    while (desc.size() % 4)
        desc.push_back(0);
    const DWORD headerSize = kHeaderSize + DWORD(desc.size());
    const DWORD eofSize = 20;
    const DWORD total = headerSize + DWORD(m_body.size()) + eofSize;

    std::vector<BYTE> out;
    out.reserve(total);
    HxPutDword(out, EMR_HEADER);
    HxPutDword(out, headerSize);
    // Bounds in device pixels and the frame in hundredths of a millimetre, both inclusive.
    CRect b = m_bounds.IsRectEmpty() ? CRect(0, 0, 0, 0) : m_bounds;
    const LONG bounds[4] = {b.left, b.top, b.right - 1, b.bottom - 1};
    for (LONG v : bounds)
        HxPutDword(out, DWORD(v));
    const LONG frame[4] = {FrameUnits(b.left), FrameUnits(b.top), FrameUnits(b.right) - 1,
                           FrameUnits(b.bottom) - 1};
    for (LONG v : frame)
        HxPutDword(out, DWORD(v));
    HxPutDword(out, HX_EMF_SIGNATURE);
    HxPutDword(out, 0x00010000);
    HxPutDword(out, total);
    HxPutDword(out, DWORD(m_records + 2));
    HxPutWord(out, WORD(kHandleCount));
    HxPutWord(out, 0);
    HxPutDword(out, nDescription);
    HxPutDword(out, kHeaderSize);
    HxPutDword(out, 0); // palette entries
    HxPutDword(out, HX_EMF_DEVICE_WIDTH);
    HxPutDword(out, HX_EMF_DEVICE_HEIGHT);
    HxPutDword(out, DWORD(std::lround(HX_EMF_DEVICE_WIDTH * 25.4 / 96.0)));
    HxPutDword(out, DWORD(std::lround(HX_EMF_DEVICE_HEIGHT * 25.4 / 96.0)));
    HxPutDword(out, 0); // no pixel format
    HxPutDword(out, 0);
    HxPutDword(out, 0); // not OpenGL
    HxPutDword(out, DWORD(std::lround(HX_EMF_DEVICE_WIDTH * 25400.0 / 96.0)));
    HxPutDword(out, DWORD(std::lround(HX_EMF_DEVICE_HEIGHT * 25400.0 / 96.0)));
    out.insert(out.end(), desc.begin(), desc.end());
    out.insert(out.end(), m_body.begin(), m_body.end());
    HxPutDword(out, EMR_EOF);
    HxPutDword(out, eofSize);
    HxPutDword(out, 0);  // palette entries
    HxPutDword(out, 16); // where they would start
    HxPutDword(out, eofSize);
    return out;
}
