// The icons of the media and print commands on the ribbon's 32 x 32 grid: the film strip of the
// player, its settings, the switch of the mouse between player and figure, closing it, and the
// printer with a lightning mark (straight to the printer) or a magnifier (preview).
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QPen Pen(const QColor& color, double width = 1.6) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A film frame with its sprocket holes.
void Film(QPainter& p, const HxIconPalette& pal, const QRectF& r) {
    p.setPen(Pen(pal.stroke, 1.4));
    p.setBrush(QColor(0x3a, 0x40, 0x4a));
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    for (double x = r.left() + 2; x < r.right() - 2; x += 4.5) {
        p.drawRect(QRectF(x, r.top() + 1.5, 2.2, 2));
        p.drawRect(QRectF(x, r.bottom() - 3.5, 2.2, 2));
    }
}

// The printer of the "print" icon, smaller, at the bottom left.
void Printer(QPainter& p, const HxIconPalette& pal) {
    p.setPen(Pen(pal.stroke, 1.4));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(7, 4, 12, 8));
    p.setBrush(pal.fill);
    p.drawRoundedRect(QRectF(2, 11, 22, 11), 2, 2);
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(7, 17, 12, 9));
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("media-play"), [](QPainter& p, const HxIconPalette& pal) {
        Film(p, pal, QRectF(2, 6, 28, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawPolygon(QPolygonF({QPointF(12, 10.5), QPointF(22, 16), QPointF(12, 21.5)}));
    });
    HxAddRibbonIcon(QStringLiteral("media-settings"), [](QPainter& p, const HxIconPalette& pal) {
        Film(p, pal, QRectF(2, 3, 24, 17));
        // The control bar below the picture.
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(QColor(0xe8, 0xec, 0xf2));
        p.drawRoundedRect(QRectF(2, 22, 28, 7), 2, 2);
        p.setPen(Pen(pal.accent, 2.0));
        p.drawLine(QPointF(10, 25.5), QPointF(27, 25.5));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawPolygon(QPolygonF({QPointF(4, 23.2), QPointF(8, 25.5), QPointF(4, 27.8)}));
    });
    HxAddRibbonIcon(QStringLiteral("media-control"), [](QPainter& p, const HxIconPalette& pal) {
        Film(p, pal, QRectF(2, 3, 20, 15));
        // A mouse pointer over it.
        QPainterPath arrow;
        arrow.moveTo(16, 12);
        arrow.lineTo(16, 29);
        arrow.lineTo(20, 25);
        arrow.lineTo(23, 31);
        arrow.lineTo(26, 29.5);
        arrow.lineTo(23, 24);
        arrow.lineTo(28.5, 23.5);
        arrow.closeSubpath();
        p.setPen(Pen(pal.stroke, 1.3));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(arrow);
    });
    HxAddRibbonIcon(QStringLiteral("media-close"), [](QPainter& p, const HxIconPalette& pal) {
        Film(p, pal, QRectF(2, 6, 28, 20));
        p.setPen(Pen(pal.point, 3.0));
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
    });
    HxAddRibbonIcon(QStringLiteral("print-direct"), [](QPainter& p, const HxIconPalette& pal) {
        Printer(p, pal);
        p.setPen(Pen(pal.stroke, 1.0));
        p.setBrush(pal.orange);
        p.drawPolygon(QPolygonF({QPointF(26, 8), QPointF(21, 19), QPointF(25, 19), QPointF(22, 30),
                                 QPointF(30, 15), QPointF(26, 15), QPointF(29, 8)}));
    });
    HxAddRibbonIcon(QStringLiteral("print-preview"), [](QPainter& p, const HxIconPalette& pal) {
        // A sheet with a framed picture, and a magnifier.
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(4, 2, 18, 24));
        p.setPen(Pen(pal.stroke, 1.0));
        p.setBrush(pal.fill);
        p.drawRect(QRectF(7, 7, 12, 12));
        p.setPen(Pen(pal.accent, 2.4));
        p.setBrush(QColor(255, 255, 255, 160));
        p.drawEllipse(QPointF(21, 20), 5.5, 5.5);
        p.drawLine(QPointF(25, 24), QPointF(30, 29));
    });
    return true;
}();

} // namespace
