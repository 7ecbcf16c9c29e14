// The QPainter back end of CDC: text through Qt fonts resolved from LOGFONTs, lines, polygons,
// focus rectangles and fills on any paint device (normally a QImage).
#pragma once

#include "platform/dc.h"

#include <QFont>

#include <memory>
#include <span>
#include <vector>

class QImage;
class QPainter;

// The Qt font that stands for a LOGFONT: the face resolved to a family installed here ("Times New
// Roman" to Liberation Serif, the Chinese faces to WenQuanYi Micro Hei, "Symbol" to a symbol
// family), the height as GDI reads it (negative: em height, positive: cell height), the weight,
// italic, underline and, with a width, a horizontal stretch.
QFont HxQFontFromLogFont(const LOGFONT& lf);
// The installed family that a face name resolves to.
QString HxResolveFontFamily(const CString& face, BYTE charset);

// The extent of a text in a font as the painter measures it (GetTextExtent of CPainterDC), and the
// advance of each of its characters in whole pixels (their sum is the extent's width).
CSize HxPainterTextExtent(const LOGFONT& font, const CString& text);
std::vector<int> HxPainterCharAdvances(const LOGFONT& font, const CString& text);

// A Windows face name with no font of its own here, and the installed family drawn in its place.
struct HxFaceSubstitute {
    const char16_t* face;
    const char* family;
};
// The Latin faces of Windows onto the Liberation families, the Chinese faces onto WenQuanYi Micro Hei.
std::span<const HxFaceSubstitute> HxFaceSubstitutes();

class CPainterDC : public CDC {
public:
    // Draws with a painter owned by the caller.
    explicit CPainterDC(QPainter* painter);
    // Opens a painter of its own on the image (closed when the DC is destroyed).
    explicit CPainterDC(QImage* image);
    ~CPainterDC() override;

    CSize GetTextExtent(const CString& text) override;
    void TextOut(int x, int y, const CString& text) override;
    void DrawText(const CString& text, const CRect& rect, UINT format) override;
    void Polygon(const CPoint* points, int count) override;
    void DrawFocusRect(const CRect& rect) override;
    void FillSolidRect(const CRect& rect, COLORREF color) override;
    void FillRgn(const CRgn& region, COLORREF color) override;

    QPainter* Painter() const { return m_painter; }

protected:
    void DrawLine(CPoint from, CPoint to) override;

private:
    // The text as drawn in the current font (Symbol codes become their Unicode characters).
    QString DrawnText(const CString& text) const;

    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
};
