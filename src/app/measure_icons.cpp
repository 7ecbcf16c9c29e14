// The icons of the Measure commands and of the plane axes, on the ribbon's 32 x 32 grid: the
// measured figure in the stroke colour, what is measured in the accent colour.
#include "app/ribbon_icons.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace {

void Dot(QPainter& p, const QColor& color, QPointF c, double r = 2.6) {
    HxIconDot(p, color, c, r);
}

// A short text (a letter, a sign) in the accent colour, its box given on the grid.
void Letter(QPainter& p, const QColor& color, const QRectF& box, const QString& text, double size = 11) {
    p.save();
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(int(size));
    font.setItalic(true);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

// A distance marker between a and b: a line with short bars at both ends.
void Span(QPainter& p, const QColor& color, QPointF a, QPointF b) {
    p.save();
    p.setPen(HxIconPen(color, 1.4));
    p.drawLine(a, b);
    QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (len > 0) {
        const QPointF n(-d.y() / len * 3.0, d.x() / len * 3.0);
        p.drawLine(a - n, a + n);
        p.drawLine(b - n, b + n);
    }
    p.restore();
}

// An arc marking an angle at c from direction a0 (degrees) over span degrees.
void AngleArc(QPainter& p, const QColor& color, QPointF c, double r, double a0, double span) {
    p.save();
    p.setPen(HxIconPen(color, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int(a0 * 16), int(span * 16));
    p.restore();
}

void Plane(QPainter& p, const HxIconPalette& pal, QPolygonF corners, bool accent = false) {
    p.save();
    p.setPen(HxIconPen(accent ? pal.accent : pal.stroke, 1.4));
    p.setBrush(accent ? pal.fill : QBrush(QColor(0, 0, 0, 0)));
    p.drawPolygon(corners);
    p.restore();
}

void Axes(QPainter& p, const HxIconPalette& pal) {
    p.setPen(HxIconPen(pal.stroke, 1.4));
    p.drawLine(QPointF(5, 27), QPointF(5, 4));
    p.drawLine(QPointF(5, 27), QPointF(29, 27));
}

void CoordinateIcon(QPainter& p, const HxIconPalette& pal, const QString& letter) {
    Axes(p, pal);
    p.setPen(HxIconPen(pal.accent, 1.2, Qt::DashLine));
    p.drawLine(QPointF(18, 14), QPointF(18, 27));
    p.drawLine(QPointF(18, 14), QPointF(5, 14));
    Dot(p, pal.point, QPointF(18, 14), 3.0);
    Letter(p, pal.accent, QRectF(19, 1, 13, 13), letter);
}

void Cylinder(QPainter& p, const HxIconPalette& pal) {
    p.setPen(HxIconPen(pal.stroke, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(6, 4, 20, 7));
    p.drawArc(QRectF(6, 22, 20, 7), 180 * 16, 180 * 16);
    p.drawLine(QPointF(6, 7.5), QPointF(6, 25.5));
    p.drawLine(QPointF(26, 7.5), QPointF(26, 25.5));
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("measure-x"), [](QPainter& p, const HxIconPalette& pal) {
        CoordinateIcon(p, pal, QStringLiteral("x"));
    });
    HxAddRibbonIcon(QStringLiteral("measure-y"), [](QPainter& p, const HxIconPalette& pal) {
        CoordinateIcon(p, pal, QStringLiteral("y"));
    });
    HxAddRibbonIcon(QStringLiteral("measure-z"), [](QPainter& p, const HxIconPalette& pal) {
        CoordinateIcon(p, pal, QStringLiteral("z"));
    });
    HxAddRibbonIcon(QStringLiteral("measure-point-xyz"), [](QPainter& p, const HxIconPalette& pal) {
        Dot(p, pal.point, QPointF(7, 22), 3.0);
        Letter(p, pal.accent, QRectF(3, 4, 27, 14), QStringLiteral("(x,y,z)"), 9);
    });
    HxAddRibbonIcon(QStringLiteral("measure-point-value"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(3, 24), QPointF(29, 24));
        Dot(p, pal.stroke, QPointF(3, 24), 2.2);
        Dot(p, pal.stroke, QPointF(29, 24), 2.2);
        Dot(p, pal.point, QPointF(19, 24), 3.2);
        Letter(p, pal.accent, QRectF(12, 4, 14, 14), QStringLiteral("t"));
    });
    HxAddRibbonIcon(QStringLiteral("measure-vector"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(4, 27), QPointF(24, 9));
        p.setBrush(pal.stroke);
        p.drawPolygon(QPolygonF({QPointF(27, 6), QPointF(19, 9), QPointF(24, 14)}));
        Letter(p, pal.accent, QRectF(2, 1, 18, 13), QStringLiteral("(x,y)"), 8);
    });
    HxAddRibbonIcon(QStringLiteral("measure-distance"), [](QPainter& p, const HxIconPalette& pal) {
        Dot(p, pal.stroke, QPointF(5, 22), 2.8);
        Dot(p, pal.stroke, QPointF(27, 12), 2.8);
        Span(p, pal.accent, QPointF(5, 22), QPointF(27, 12));
        Letter(p, pal.accent, QRectF(6, 22, 16, 10), QStringLiteral("d"));
    });
    HxAddRibbonIcon(QStringLiteral("measure-distance-pl"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(2, 27), QPointF(30, 27));
        Dot(p, pal.point, QPointF(16, 6), 2.8);
        Span(p, pal.accent, QPointF(16, 6), QPointF(16, 27));
    });
    HxAddRibbonIcon(QStringLiteral("measure-distance-pf"), [](QPainter& p, const HxIconPalette& pal) {
        Plane(p, pal, QPolygonF({QPointF(2, 28), QPointF(22, 28), QPointF(30, 18), QPointF(10, 18)}));
        Dot(p, pal.point, QPointF(16, 4), 2.8);
        Span(p, pal.accent, QPointF(16, 4), QPointF(16, 23));
    });
    HxAddRibbonIcon(QStringLiteral("measure-distance-ll"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(2, 8), QPointF(30, 4));
        p.drawLine(QPointF(4, 28), QPointF(28, 22));
        Span(p, pal.accent, QPointF(16, 6.3), QPointF(17.5, 24.9));
    });
    HxAddRibbonIcon(QStringLiteral("measure-angle-ll"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(4, 26), QPointF(30, 26));
        p.drawLine(QPointF(4, 26), QPointF(26, 6));
        AngleArc(p, pal.accent, QPointF(4, 26), 13, 0, 42);
    });
    HxAddRibbonIcon(QStringLiteral("measure-angle-lf"), [](QPainter& p, const HxIconPalette& pal) {
        Plane(p, pal, QPolygonF({QPointF(2, 29), QPointF(22, 29), QPointF(30, 19), QPointF(10, 19)}));
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawLine(QPointF(12, 24), QPointF(26, 3));
        p.setPen(HxIconPen(pal.accent, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 24), QPointF(26, 24));
        AngleArc(p, pal.accent, QPointF(12, 24), 9, 0, 56);
    });
    HxAddRibbonIcon(QStringLiteral("measure-angle-ff"), [](QPainter& p, const HxIconPalette& pal) {
        Plane(p, pal, QPolygonF({QPointF(2, 27), QPointF(16, 30), QPointF(30, 24), QPointF(16, 21)}));
        Plane(p, pal, QPolygonF({QPointF(16, 21), QPointF(30, 24), QPointF(26, 4), QPointF(12, 2)}), true);
        AngleArc(p, pal.stroke, QPointF(22, 23), 7, 80, 120);
    });
    HxAddRibbonIcon(QStringLiteral("measure-angle"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.drawPolyline(QPolygonF({QPointF(28, 6), QPointF(6, 24), QPointF(29, 26)}));
        for (QPointF c : {QPointF(28, 6), QPointF(6, 24), QPointF(29, 26)})
            Dot(p, pal.point, c, 2.6);
        AngleArc(p, pal.accent, QPointF(6, 24), 11, -5, 44);
    });
    HxAddRibbonIcon(QStringLiteral("measure-area"), [](QPainter& p, const HxIconPalette& pal) {
        Plane(p, pal, QPolygonF({QPointF(4, 26), QPointF(14, 5), QPointF(28, 11), QPointF(24, 27)}), true);
        Letter(p, pal.accent, QRectF(8, 10, 16, 14), QStringLiteral("S"), 12);
    });
    HxAddRibbonIcon(QStringLiteral("measure-volume"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF a(4, 26), b(22, 29), c(29, 17), d(14, 3);
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({a, b, c, d}));
        p.drawLine(b, d);
        p.setPen(HxIconPen(pal.stroke, 1.1, Qt::DashLine));
        p.drawLine(a, c);
        Letter(p, pal.accent, QRectF(8, 12, 12, 12), QStringLiteral("V"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("measure-circle-length"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.accent, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        Letter(p, pal.stroke, QRectF(9, 9, 14, 14), QStringLiteral("P"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("measure-circle-area"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(pal.fill);
        p.drawPie(QRectF(4, 4, 24, 24), 20 * 16, 250 * 16);
        Letter(p, pal.accent, QRectF(7, 12, 12, 12), QStringLiteral("S"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("measure-radius"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        Dot(p, pal.stroke, QPointF(16, 16), 2.0);
        Span(p, pal.accent, QPointF(16, 16), QPointF(26.4, 10));
        Letter(p, pal.accent, QRectF(12, 17, 12, 11), QStringLiteral("r"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("measure-solid-area"), [](QPainter& p, const HxIconPalette& pal) {
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawRect(QRectF(6, 7.5, 20, 18));
        p.restore();
        Cylinder(p, pal);
        Letter(p, pal.accent, QRectF(9, 11, 14, 12), QStringLiteral("S"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("measure-solid-volume"), [](QPainter& p, const HxIconPalette& pal) {
        Cylinder(p, pal);
        Letter(p, pal.accent, QRectF(9, 11, 14, 12), QStringLiteral("V"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("axes-2d"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.5));
        p.setBrush(pal.stroke);
        p.drawLine(QPointF(2, 18), QPointF(27, 18));
        p.drawLine(QPointF(12, 30), QPointF(12, 5));
        p.drawPolygon(QPolygonF({QPointF(30, 18), QPointF(25, 15.5), QPointF(25, 20.5)}));
        p.drawPolygon(QPolygonF({QPointF(12, 2), QPointF(9.5, 7), QPointF(14.5, 7)}));
        p.setPen(HxIconPen(pal.accent, 1.3));
        for (double x : {6.0, 17.0, 22.0})
            p.drawLine(QPointF(x, 18), QPointF(x, 15));
        for (double y : {8.0, 13.0, 23.0, 28.0})
            p.drawLine(QPointF(12, y), QPointF(15, y));
    });
    return true;
}();

} // namespace
