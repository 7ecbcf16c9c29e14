// The icons of the iteration, trace, point and style commands on the ribbon's 32 x 32 grid: what
// exists in the stroke colour, what the command adds in the accent or point colour.
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace {

void Dot(QPainter& p, const QColor& color, QPointF c, double r = 2.6) {
    HxIconDot(p, color, c, r);
}

const bool g_registered = [] {
    // Triangles nested by their midpoints, each smaller one in a lighter hue.
    HxAddRibbonIcon(QStringLiteral("iterate"), [](QPainter& p, const HxIconPalette& pal) {
        QPointF a(3, 28), b(29, 28), c(16, 4);
        const QColor colors[4] = {pal.stroke, pal.accent, pal.green, pal.orange};
        for (const QColor& color : colors) {
            p.setPen(HxIconPen(color, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(QPolygonF({a, b, c}));
            const QPointF ab = (a + b) / 2, bc = (b + c) / 2, ca = (c + a) / 2;
            a = ab;
            b = bc;
            c = ca;
        }
    });
    // A segment swept along a circle: copies at every step.
    HxAddRibbonIcon(QStringLiteral("track"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF o(16, 17);
        p.setPen(HxIconPen(pal.stroke, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(o, 12, 12);
        for (int i = 0; i < 8; ++i) {
            const double t = i * 0.5;
            const QPointF q(o.x() + 12 * std::cos(t), o.y() - 12 * std::sin(t));
            p.setPen(HxIconPen(pal.accent, 1.3));
            p.drawLine(QPointF(4, 30), q);
        }
        Dot(p, pal.point, QPointF(o.x() + 12 * std::cos(3.5), o.y() - 12 * std::sin(3.5)), 2.8);
    });
    // A point free in space: the point with three axes.
    HxAddRibbonIcon(QStringLiteral("point-free3"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF o(16, 18);
        p.setPen(HxIconPen(pal.stroke, 1.4));
        p.drawLine(o, QPointF(29, 18));
        p.drawLine(o, QPointF(16, 4));
        p.drawLine(o, QPointF(6, 28));
        p.setPen(HxIconPen(pal.accent, 1.2, Qt::DashLine));
        p.drawRect(QRectF(QPointF(7, 6), QPointF(25, 26)));
        Dot(p, pal.point, o, 3.6);
    });
    // Two points of a circle and the point dividing the arc between them.
    HxAddRibbonIcon(QStringLiteral("point-divide-circle"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF o(16, 16);
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(o, 12, 12);
        p.setPen(HxIconPen(pal.accent, 2.4));
        p.drawArc(QRectF(4, 4, 24, 24), 0 * 16, 120 * 16);
        Dot(p, pal.stroke, QPointF(28, 16));
        Dot(p, pal.stroke, QPointF(16 + 12 * std::cos(2.094), 16 - 12 * std::sin(2.094)));
        Dot(p, pal.point, QPointF(16 + 12 * std::cos(1.047), 16 - 12 * std::sin(1.047)), 3.2);
    });
    // A point dropped square onto a line.
    HxAddRibbonIcon(QStringLiteral("point-projection"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 2.0));
        p.drawLine(QPointF(3, 26), QPointF(29, 26));
        p.setPen(HxIconPen(pal.accent, 1.4, Qt::DashLine));
        p.drawLine(QPointF(14, 6), QPointF(14, 26));
        p.setPen(HxIconPen(pal.accent, 1.1));
        p.drawPolyline(QPolygonF({QPointF(14, 22), QPointF(18, 22), QPointF(18, 26)}));
        Dot(p, pal.stroke, QPointF(14, 6));
        Dot(p, pal.point, QPointF(14, 26), 3.2);
    });
    // Two carriers with points at the same parameter.
    HxAddRibbonIcon(QStringLiteral("point-same-parameter"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(3, 9), QPointF(29, 9));
        p.drawLine(QPointF(3, 24), QPointF(22, 24));
        Dot(p, pal.stroke, QPointF(13.4, 9));
        Dot(p, pal.point, QPointF(10.6, 24), 3.2);
        p.setPen(HxIconPen(pal.accent, 1.1, Qt::DashLine));
        p.drawLine(QPointF(13.4, 11), QPointF(10.6, 22));
    });
    // A path of a segment and an arc with a point on it.
    HxAddRibbonIcon(QStringLiteral("point-compound-path"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(3, 26), QPointF(16, 26));
        p.drawArc(QRectF(10, 6, 20, 20), 270 * 16, 180 * 16);
        p.drawLine(QPointF(20, 6), QPointF(8, 6));
        Dot(p, pal.point, QPointF(29.5, 16), 3.2);
    });
    // A brush that paints one style onto others.
    HxAddRibbonIcon(QStringLiteral("format-painter"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(pal.fill);
        p.drawRoundedRect(QRectF(4, 4, 22, 9), 2, 2);
        p.drawLine(QPointF(26, 8), QPointF(29, 8));
        p.drawLine(QPointF(29, 8), QPointF(29, 16));
        p.drawLine(QPointF(29, 16), QPointF(16, 16));
        p.drawLine(QPointF(16, 16), QPointF(16, 19));
        p.setBrush(pal.stroke);
        p.drawRect(QRectF(14, 19, 4, 10));
        Dot(p, pal.point, QPointF(7, 25), 2.4);
        Dot(p, pal.point, QPointF(24, 25), 2.4);
    });
    // A show/hide button and objects joining it.
    HxAddRibbonIcon(QStringLiteral("button-add-objects"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.4));
        p.setBrush(pal.fill);
        p.drawRoundedRect(QRectF(3, 18, 18, 11), 2, 2);
        p.setPen(HxIconPen(pal.accent, 1.4, Qt::DashLine));
        p.drawLine(QPointF(12, 18), QPointF(22, 8));
        Dot(p, pal.point, QPointF(24, 6), 3.0);
        p.setPen(HxIconPen(pal.green, 2.2));
        p.drawLine(QPointF(25, 20), QPointF(25, 28));
        p.drawLine(QPointF(21, 24), QPointF(29, 24));
    });
    // Objects outside the frame moved back in.
    HxAddRibbonIcon(QStringLiteral("flat-objects-in"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(6, 6, 20, 20));
        p.setPen(HxIconPen(pal.accent, 1.8));
        p.drawLine(QPointF(30, 16), QPointF(19, 16));
        p.drawLine(QPointF(19, 16), QPointF(23, 12));
        p.drawLine(QPointF(19, 16), QPointF(23, 20));
        Dot(p, pal.point, QPointF(15, 16), 2.8);
    });
    return true;
}();

} // namespace
