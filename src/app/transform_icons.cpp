// The icons of the transform commands, on the ribbon's 32 x 32 grid: the six marks (each with a
// small orange flag) and the four transforms (a figure and its image, the image tinted).
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

void Dot(QPainter& p, const QColor& color, QPointF c, double r = 2.8) {
    HxIconDot(p, color, c, r);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double width = 1.8) {
    p.save();
    p.setPen(HxIconPen(color, width));
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double size = 5.0;
    const QPointF tip = to;
    const QPointF base(to.x() - 0.8 * size * std::cos(a), to.y() - 0.8 * size * std::sin(a));
    p.drawLine(from, base);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(
        QPolygonF({tip, QPointF(to.x() - size * std::cos(a - 0.45), to.y() - size * std::sin(a - 0.45)),
                   QPointF(to.x() - size * std::cos(a + 0.45), to.y() - size * std::sin(a + 0.45))}));
    p.restore();
}

// The flag that tells a mark command: a pole with a small pennant in the upper right corner.
void Flag(QPainter& p, const HxIconPalette& pal) {
    p.save();
    p.setPen(HxIconPen(pal.stroke, 1.4));
    p.drawLine(QPointF(24, 3), QPointF(24, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(pal.orange);
    p.drawPolygon(QPolygonF({QPointF(24.5, 3), QPointF(31, 5.5), QPointF(24.5, 8)}));
    p.restore();
}

// A triangle; filled with the palette's tint when it is the image.
void Triangle(QPainter& p, const HxIconPalette& pal, QPointF a, QPointF b, QPointF c, bool image) {
    p.save();
    if (image) {
        p.setPen(HxIconPen(pal.accent, 1.8));
        p.setBrush(pal.fill);
    } else {
        p.setPen(HxIconPen(pal.stroke, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
    }
    p.drawPolygon(QPolygonF({a, b, c}));
    p.restore();
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("mark-center"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.accent, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(14, 18), 8, 8);
        p.drawLine(QPointF(14, 7), QPointF(14, 11));
        p.drawLine(QPointF(14, 25), QPointF(14, 29));
        p.drawLine(QPointF(3, 18), QPointF(7, 18));
        p.drawLine(QPointF(21, 18), QPointF(25, 18));
        Dot(p, pal.point, QPointF(14, 18), 3.0);
        Flag(p, pal);
    });
    HxAddRibbonIcon(QStringLiteral("mark-axis"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.3, Qt::DashDotLine));
        p.drawLine(QPointF(4, 29), QPointF(20, 6));
        Arrow(p, QPointF(8, 23.3), QPointF(18, 9), pal.accent, 2.0);
        Dot(p, pal.point, QPointF(8, 23.3), 2.6);
        Flag(p, pal);
    });
    HxAddRibbonIcon(QStringLiteral("mark-mirror"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.accent, 1.6));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({QPointF(3, 26), QPointF(10, 12), QPointF(22, 12), QPointF(15, 26)}));
        Dot(p, pal.point, QPointF(12.5, 19), 2.4);
        Flag(p, pal);
    });
    HxAddRibbonIcon(QStringLiteral("mark-ratio"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.drawLine(QPointF(3, 22), QPointF(26, 22));
        p.setPen(HxIconPen(pal.accent, 1.4));
        p.drawLine(QPointF(4, 27), QPointF(12, 27));
        p.drawLine(QPointF(4, 29.5), QPointF(24, 29.5));
        Dot(p, pal.point, QPointF(4, 22));
        Dot(p, pal.point, QPointF(12, 22));
        Dot(p, pal.point, QPointF(24, 22));
        Flag(p, pal);
    });
    HxAddRibbonIcon(QStringLiteral("mark-vector"), [](QPainter& p, const HxIconPalette& pal) {
        Arrow(p, QPointF(4, 27), QPointF(20, 11), pal.accent, 2.2);
        Dot(p, pal.point, QPointF(4, 27));
        Flag(p, pal);
    });
    HxAddRibbonIcon(QStringLiteral("mark-angle"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(4, 27), QPointF(24, 27));
        p.drawLine(QPointF(4, 27), QPointF(17, 10));
        p.setPen(HxIconPen(pal.accent, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-5, 18, 18, 18), 0, 52 * 16);
        Dot(p, pal.point, QPointF(4, 27), 2.4);
        Flag(p, pal);
    });

    HxAddRibbonIcon(QStringLiteral("trans-translate"), [](QPainter& p, const HxIconPalette& pal) {
        Triangle(p, pal, QPointF(3, 28), QPointF(14, 28), QPointF(5, 18), false);
        Triangle(p, pal, QPointF(16, 15), QPointF(27, 15), QPointF(18, 5), true);
        Arrow(p, QPointF(10, 21), QPointF(21, 10), pal.orange, 1.8);
    });
    HxAddRibbonIcon(QStringLiteral("trans-rotate"), [](QPainter& p, const HxIconPalette& pal) {
        // The image is the figure turned a quarter turn about the centre.
        const QPointF o(8, 24);
        Triangle(p, pal, QPointF(14, 26), QPointF(28, 26), QPointF(20, 18), false);
        Triangle(p, pal, QPointF(10, 18), QPointF(10, 4), QPointF(2, 12), true);
        p.setPen(HxIconPen(pal.orange, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(o.x() - 16, o.y() - 16, 32, 32), 12 * 16, 50 * 16);
        Arrow(p, QPointF(19.2, 12.6), QPointF(17.6, 11.2), pal.orange, 1.8);
        Dot(p, pal.point, o, 2.6);
    });
    HxAddRibbonIcon(QStringLiteral("trans-scale"), [](QPainter& p, const HxIconPalette& pal) {
        // The image is the figure stretched from the centre.
        const QPointF o(3, 29);
        p.setPen(HxIconPen(pal.stroke, 1.0, Qt::DashLine));
        p.drawLine(o, QPointF(20.6, 11.4));
        p.drawLine(o, QPointF(29.4, 24.6));
        Triangle(p, pal, QPointF(16.2, 24.6), QPointF(29.4, 24.6), QPointF(20.6, 11.4), true);
        Triangle(p, pal, QPointF(9, 27), QPointF(15, 27), QPointF(11, 21), false);
        Dot(p, pal.point, o, 2.6);
    });
    HxAddRibbonIcon(QStringLiteral("trans-reflect"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.orange, 1.6, Qt::DashDotLine));
        p.drawLine(QPointF(16, 2), QPointF(16, 30));
        Triangle(p, pal, QPointF(3, 26), QPointF(13, 26), QPointF(11, 8), false);
        Triangle(p, pal, QPointF(29, 26), QPointF(19, 26), QPointF(21, 8), true);
    });
    return true;
}();

} // namespace
