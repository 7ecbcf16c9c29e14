// A device context with fixed character metrics that records what is drawn: layouts measured with
// it come out the same on every machine, so tests can check them number by number.
#pragma once

#include "platform/dc.h"

#include <vector>

// Metrics: a character is |height| / 2 pixels wide (at least 1), or the font's lfWidth when that is
// set; CJK characters are twice as wide.  A text's extent is the sum of its characters' widths by
// |height| (a height of 0 counts as 16).
class CFixedMetricsDC : public CDC {
public:
    enum OpKind { OpText, OpDrawText, OpLine, OpPolygon, OpFocusRect, OpFillRect };
    struct Op {
        OpKind kind;
        CString text;
        CRect rect;                 // text cell, DrawText rectangle, focus or filled rectangle
        CPoint from, to;            // lines
        std::vector<CPoint> points; // polygons
        LOGFONT font;
        HxPen pen;
        HxBrush brush;
        COLORREF color = 0; // text colour, or the fill colour
        UINT format = 0;
    };

    static int CharWidth(const LOGFONT& lf, char16_t c);
    static int CellHeight(const LOGFONT& lf);

    CSize GetTextExtent(const CString& text) override;
    void TextOut(int x, int y, const CString& text) override;
    void DrawText(const CString& text, const CRect& rect, UINT format) override;
    void Polygon(const CPoint* points, int count) override;
    void DrawFocusRect(const CRect& rect) override;
    void FillSolidRect(const CRect& rect, COLORREF color) override;
    void FillRgn(const CRgn& region, COLORREF color) override;

    const std::vector<Op>& Ops() const { return m_ops; }
    void ClearOps() { m_ops.clear(); }
    // The drawn operations of one kind, in order.
    std::vector<Op> OpsOf(OpKind kind) const;

protected:
    void DrawLine(CPoint from, CPoint to) override;

private:
    Op NewOp(OpKind kind) const;
    std::vector<Op> m_ops;
};
