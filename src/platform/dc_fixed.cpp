// CFixedMetricsDC: deterministic text metrics and a record of the drawing calls.
#include "platform/dc_fixed.h"

#include <cstdlib>

int CFixedMetricsDC::CellHeight(const LOGFONT& lf) {
    long h = std::labs(long(lf.lfHeight));
    return h == 0 ? 16 : int(std::min(h, 100000L));
}

int CFixedMetricsDC::CharWidth(const LOGFONT& lf, char16_t c) {
    int w = lf.lfWidth > 0 ? int(std::min<LONG>(lf.lfWidth, 100000)) : std::max(1, CellHeight(lf) / 2);
    bool wide = (c >= 0x2E80 && c < 0xA000) || (c >= 0xAC00 && c < 0xD7A4) || (c >= 0xFF00 && c < 0xFF61);
    return wide ? 2 * w : w;
}

CSize CFixedMetricsDC::GetTextExtent(const CString& text) {
    long long w = 0;
    for (char16_t c : text.Str())
        w += CharWidth(m_font, c);
    return CSize(LONG(std::min<long long>(w, 1 << 30)), CellHeight(m_font));
}

CFixedMetricsDC::Op CFixedMetricsDC::NewOp(OpKind kind) const {
    Op op;
    op.kind = kind;
    op.font = m_font;
    op.pen = m_pen;
    op.brush = m_brush;
    op.color = m_textColor;
    return op;
}

void CFixedMetricsDC::TextOut(int x, int y, const CString& text) {
    Op op = NewOp(OpText);
    op.text = text;
    CSize ext = GetTextExtent(text);
    op.rect = CRect(x, y, x + ext.cx, y + ext.cy);
    m_ops.push_back(op);
}

void CFixedMetricsDC::DrawText(const CString& text, const CRect& rect, UINT format) {
    Op op = NewOp(OpDrawText);
    op.text = text;
    op.rect = rect;
    op.format = format;
    m_ops.push_back(op);
}

void CFixedMetricsDC::DrawLine(CPoint from, CPoint to) {
    Op op = NewOp(OpLine);
    op.from = from;
    op.to = to;
    m_ops.push_back(op);
}

void CFixedMetricsDC::Polygon(const CPoint* points, int count) {
    Op op = NewOp(OpPolygon);
    if (points && count > 0)
        op.points.assign(points, points + count);
    m_ops.push_back(op);
}

void CFixedMetricsDC::DrawFocusRect(const CRect& rect) {
    Op op = NewOp(OpFocusRect);
    op.rect = rect;
    m_ops.push_back(op);
}

void CFixedMetricsDC::FillSolidRect(const CRect& rect, COLORREF color) {
    Op op = NewOp(OpFillRect);
    op.rect = rect;
    op.color = color;
    m_ops.push_back(op);
}

void CFixedMetricsDC::FillRgn(const CRgn& region, COLORREF color) {
    for (const CRect& r : region.Rects())
        FillSolidRect(r, color);
}

std::vector<CFixedMetricsDC::Op> CFixedMetricsDC::OpsOf(OpKind kind) const {
    std::vector<Op> out;
    for (const Op& op : m_ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}
