// The icons of the action-button commands, on the ribbon's 32 x 32 grid: a raised screen button with
// its blue handle, and on it what the button does (a play mark, an arrow to a target, an eye, a
// chain of buttons, a link).
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

QPen Pen(const QColor& color, double width = 1.8) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A small screen button: the handle on the left, the raised face.
void ScreenButton(QPainter& p, const HxIconPalette& pal, QRectF r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(51, 102, 255));
    p.drawRect(QRectF(r.left() - 3.5, r.top(), 3.5, r.height()));
    p.setBrush(QColor(140, 135, 120));
    p.drawRect(r);
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(r.adjusted(0, 0, -1.2, -1.2));
    p.setBrush(QColor(224, 219, 204));
    p.drawRect(r.adjusted(1.2, 1.2, -1.2, -1.2));
    p.setPen(Pen(pal.stroke, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

void Dot(QPainter& p, const QColor& color, QPointF c, double r = 2.6) {
    HxIconDot(p, color, c, r);
}

void ArrowHead(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double size = 4.5;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(
        QPolygonF({to, QPointF(to.x() - size * std::cos(a - 0.5), to.y() - size * std::sin(a - 0.5)),
                   QPointF(to.x() - size * std::cos(a + 0.5), to.y() - size * std::sin(a + 0.5))}));
    p.restore();
}

const bool g_added = [] {
    HxAddRibbonIcon(QStringLiteral("button-animation"), [](QPainter& p, const HxIconPalette& pal) {
        // A point running round a circle, and the button that drives it.
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(19, 11), 9, 7);
        p.setPen(Pen(pal.orange, 1.8));
        p.drawArc(QRectF(10, 4, 18, 14), 200 * 16, 70 * 16);
        ArrowHead(p, QPointF(14.5, 17.2), QPointF(17.5, 18.0), pal.orange);
        Dot(p, pal.point, QPointF(12.3, 15.3));
        ScreenButton(p, pal, QRectF(6, 21, 20, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawPolygon(QPolygonF({QPointF(14, 22.8), QPointF(19, 25), QPointF(14, 27.2)}));
    });
    HxAddRibbonIcon(QStringLiteral("button-move"), [](QPainter& p, const HxIconPalette& pal) {
        // A point moving along a line towards its target.
        p.setPen(Pen(pal.stroke, 1.4));
        p.drawLine(QPointF(3, 15), QPointF(29, 5));
        p.setPen(Pen(pal.orange, 1.8));
        p.drawLine(QPointF(8, 13.1), QPointF(19, 8.8));
        ArrowHead(p, QPointF(8, 13.1), QPointF(21, 8.0), pal.orange);
        Dot(p, pal.point, QPointF(6, 13.8));
        Dot(p, pal.stroke, QPointF(25, 6.5), 2.2);
        ScreenButton(p, pal, QRectF(6, 21, 20, 8));
    });
    HxAddRibbonIcon(QStringLiteral("button-hide-show"), [](QPainter& p, const HxIconPalette& pal) {
        // An eye, half struck through.
        QPainterPath eye;
        eye.moveTo(4, 11);
        eye.quadTo(16, 1, 28, 11);
        eye.quadTo(16, 21, 4, 11);
        p.setPen(Pen(pal.stroke, 1.5));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(eye);
        p.setBrush(pal.accent);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(16, 11), 4, 4);
        p.setPen(Pen(pal.point, 1.8));
        p.drawLine(QPointF(22, 3), QPointF(10, 19));
        ScreenButton(p, pal, QRectF(6, 21, 20, 8));
    });
    HxAddRibbonIcon(QStringLiteral("button-series"), [](QPainter& p, const HxIconPalette& pal) {
        // Three buttons run one after another.
        ScreenButton(p, pal, QRectF(6, 2, 14, 7));
        ScreenButton(p, pal, QRectF(10, 12, 14, 7));
        ScreenButton(p, pal, QRectF(14, 22, 14, 7));
        p.setPen(Pen(pal.orange, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(22, 6), QPointF(27, 9));
        ArrowHead(p, QPointF(22, 6), QPointF(27.5, 11), pal.orange);
        p.drawLine(QPointF(26, 16), QPointF(30, 19));
        ArrowHead(p, QPointF(26, 16), QPointF(30.5, 21), pal.orange);
    });
    HxAddRibbonIcon(QStringLiteral("button-link"), [](QPainter& p, const HxIconPalette& pal) {
        // Two chain links.
        p.setBrush(Qt::NoBrush);
        p.save();
        p.translate(16, 11);
        p.rotate(-35);
        p.setPen(Pen(pal.accent, 2.4));
        p.drawRoundedRect(QRectF(-12, -3.5, 12, 7), 3.5, 3.5);
        p.setPen(Pen(pal.stroke, 2.4));
        p.drawRoundedRect(QRectF(-2, -3.5, 12, 7), 3.5, 3.5);
        p.restore();
        ScreenButton(p, pal, QRectF(6, 21, 20, 8));
    });
    return true;
}();

} // namespace
