// The icons of the hull, net, section and cut commands, on the ribbon's 32 x 32 grid.
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPolygonF>

namespace {

QPen Pen(const QColor& color, double width = 1.6) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A box seen from above and in front: its front, top and side faces.
struct CIconBox {
    QPolygonF front, top, side;
};
CIconBox Box(double x, double y, double w, double h, double depth) {
    const QPointF a(x, y), b(x + w, y), c(x + w, y + h), d(x, y + h);
    const QPointF e(x + depth, y - depth), f(x + w + depth, y - depth), g(x + w + depth, y + h - depth);
    return {QPolygonF({a, b, c, d}), QPolygonF({a, e, f, b}), QPolygonF({b, f, g, c})};
}

void PaintBox(QPainter& p, const CIconBox& box, const QColor& colour, const QColor& stroke) {
    p.setPen(Pen(stroke, 1.3));
    p.setBrush(colour);
    p.drawPolygon(box.front);
    p.setBrush(colour.lighter(130));
    p.drawPolygon(box.top);
    p.setBrush(colour.darker(125));
    p.drawPolygon(box.side);
}

const bool g_registered = [] {
    // Points wrapped by a solid: the hull's faces round its marked corners.
    HxAddRibbonIcon(QStringLiteral("hull"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF top(16, 3), left(4, 13), right(28, 12), front(14, 20), low(9, 28), lowRight(24, 27);
        p.setPen(Pen(pal.stroke, 1.3));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({top, left, front}));
        p.setBrush(pal.accent.lighter(150));
        p.drawPolygon(QPolygonF({top, front, right}));
        p.setBrush(pal.accent.lighter(120));
        p.drawPolygon(QPolygonF({left, low, front}));
        p.setBrush(pal.accent);
        p.drawPolygon(QPolygonF({front, low, lowRight, right}));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.point);
        for (const QPointF& q : {top, left, right, front, low, lowRight})
            p.drawEllipse(q, 2.0, 2.0);
    });
    // The cross-shaped net of a cube, one face folding up.
    HxAddRibbonIcon(QStringLiteral("hull-net"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.2));
        p.setBrush(pal.green.lighter(150));
        for (const QRectF& r : {QRectF(10, 3, 8, 8), QRectF(2, 11, 8, 8), QRectF(10, 11, 8, 8),
                                QRectF(18, 11, 8, 8), QRectF(10, 19, 8, 8)})
            p.drawRect(r);
        // The face beside the bottom one, turned up about their shared edge.
        p.setBrush(pal.orange);
        p.drawPolygon(QPolygonF({QPointF(18, 19), QPointF(18, 27), QPointF(25, 31), QPointF(29, 23)}));
        p.setPen(Pen(pal.accent, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(19, 13, 12, 12), -90 * 16, 70 * 16);
    });
    // A box cut by a slanted plane: the section polygon filled across it.
    HxAddRibbonIcon(QStringLiteral("hull-section"), [](QPainter& p, const HxIconPalette& pal) {
        PaintBox(p, Box(4, 10, 18, 18, 6), pal.fill, pal.stroke);
        p.setPen(Pen(pal.point, 1.4));
        p.setBrush(QColor(196, 255, 225, 220));
        p.drawPolygon(QPolygonF({QPointF(4, 22), QPointF(22, 14), QPointF(28, 8), QPointF(10, 16)}));
    });
    // A box cut in two, its upper part moved off along the plane's normal.
    HxAddRibbonIcon(QStringLiteral("hull-cut"), [](QPainter& p, const HxIconPalette& pal) {
        PaintBox(p, Box(3, 19, 18, 9, 6), pal.accent.lighter(140), pal.stroke);
        PaintBox(p, Box(7, 9, 18, 7, 6), pal.orange, pal.stroke);
        p.setPen(Pen(pal.point, 1.3));
        p.drawLine(QPointF(28, 18), QPointF(28, 10));
        p.drawLine(QPointF(28, 10), QPointF(26, 13));
        p.drawLine(QPointF(28, 10), QPointF(30, 13));
    });
    return true;
}();

} // namespace
