// CEmfDC: a device context that records what is drawn as an enhanced metafile (".emf" bytes):
// text, lines, polygons, focus rectangles and fills, measured as the painter measures them.
#pragma once

#include "platform/dc.h"

#include <vector>

// Record types of the enhanced metafile format that this writer uses.
enum : DWORD {
    EMR_HEADER = 1,
    EMR_EOF = 14,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_RECTANGLE = 43,
    EMR_LINETO = 54,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
};
constexpr DWORD HX_EMF_SIGNATURE = 0x464D4520; // " EMF"
constexpr DWORD HX_EMF_STOCK_NULL_BRUSH = 0x80000005;
constexpr DWORD HX_EMF_STOCK_BLACK_PEN = 0x80000007;
constexpr DWORD HX_EMF_STOCK_NULL_PEN = 0x80000008;
constexpr DWORD HX_EMF_STOCK_SYSTEM_FONT = 0x8000000D;

// The reference device of the pictures: a 1920 x 1080 screen at 96 pixels an inch.
constexpr int HX_EMF_DEVICE_WIDTH = 1920;
constexpr int HX_EMF_DEVICE_HEIGHT = 1080;

class CEmfDC : public CDC {
public:
    // Starts a metafile with its description (written as "text\0\0") and text mapping (one unit a
    // pixel).
    explicit CEmfDC(const CString& description);

    CSize GetTextExtent(const CString& text) override;
    void TextOut(int x, int y, const CString& text) override;
    void DrawText(const CString& text, const CRect& rect, UINT format) override;
    void Polygon(const CPoint* points, int count) override;
    void DrawFocusRect(const CRect& rect) override;
    void FillSolidRect(const CRect& rect, COLORREF color) override;
    void FillRgn(const CRgn& region, COLORREF color) override;

    // Ends the recording: the header with the bounds of what was drawn (its frame in hundredths of
    // a millimetre), the records, and the end record.  The DC records nothing more afterwards.
    std::vector<BYTE> Finish();
    // The box of what was drawn so far (device pixels, right and bottom exclusive); empty when
    // nothing was drawn.
    CRect Bounds() const { return m_bounds; }
    int RecordCount() const { return m_records; }

protected:
    void DrawLine(CPoint from, CPoint to) override;

private:
    // A record: type, size (filled in by End) and the fields.
    size_t Begin(DWORD type);
    void End(size_t start);
    void Put(DWORD v);
    void PutInt(int v) { Put(DWORD(v)); }
    void PutRect(const CRect& r);
    void Include(const CRect& r);
    // Brings the recorded pen, brush, font and text colour to the DC's current ones.
    void SyncPen();
    void SyncBrush();
    void SyncFont();
    void SyncTextColor();
    void SyncBkMode();
    void SelectObject(DWORD handle);
    void DeleteObject(DWORD handle);

    CString m_description;
    std::vector<BYTE> m_body;
    int m_records = 0;
    CRect m_bounds;
    bool m_finished = false;
    // What the metafile has selected: handles 1 pen, 2 brush, 3 font.
    bool m_penMade = false, m_brushMade = false, m_fontMade = false;
    HxPen m_emfPen;
    HxBrush m_emfBrush;
    LOGFONT m_emfFont;
    COLORREF m_emfTextColor = 0;
    bool m_textColorSet = false;
    int m_emfBkMode = 0;
    bool m_bkModeSet = false;
};
