// The icons of the construct commands, on the ribbon's 32 x 32 grid: perpendiculars and parallels
// (the given figure in the stroke colour, what the command adds in the accent colour), triangle
// centres, coordinate points, the point turned on a circle and the following point, the point on an
// object, the locus and the curve.
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

void Dot(QPainter& p, const QColor& color, QPointF c, double r = 2.8) {
    HxIconDot(p, color, c, r);
}

// The small square that marks a right angle at corner c, its legs along u and v (unit steps).
void RightAngle(QPainter& p, const QColor& color, QPointF c, QPointF u, QPointF v) {
    p.save();
    p.setPen(HxIconPen(color, 1.2));
    const double s = 4.0;
    p.drawPolyline(QPolygonF({c + s * u, c + s * u + s * v, c + s * v}));
    p.restore();
}

// A parallelogram standing for a plane or a face.
void Plane(QPainter& p, const HxIconPalette& pal, QPolygonF corners, bool added) {
    p.save();
    p.setPen(HxIconPen(added ? pal.accent : pal.stroke, 1.5));
    p.setBrush(added ? pal.fill : QBrush(Qt::NoBrush));
    p.drawPolygon(corners);
    p.restore();
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("point-parallel"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 2.0));
        p.drawLine(QPointF(4, 24), QPointF(20, 24));
        Dot(p, pal.stroke, QPointF(4, 24), 2.4);
        Dot(p, pal.stroke, QPointF(20, 24), 2.4);
        p.setPen(HxIconPen(pal.accent, 1.8, Qt::DashLine));
        p.drawLine(QPointF(8, 10), QPointF(28, 10));
        Dot(p, pal.stroke, QPointF(8, 10), 2.4);
        Dot(p, pal.point, QPointF(24, 10), 3.2);
    });
    HxAddRibbonIcon(QStringLiteral("triangle-centre"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.setBrush(Qt::NoBrush);
        const QPointF a(3, 27), b(29, 27), c(12, 5);
        p.drawPolygon(QPolygonF({a, b, c}));
        p.setPen(HxIconPen(pal.accent, 1.2, Qt::DashLine));
        p.drawLine(a, (b + c) / 2);
        p.drawLine(b, (a + c) / 2);
        p.drawLine(c, (a + b) / 2);
        Dot(p, pal.point, (a + b + c) / 3, 3.0);
    });
    // The angle at B with its bisector (internal) or the bisector of its supplement (external).
    for (const bool external : {false, true}) {
        const QString name =
            external ? QStringLiteral("angle-bisector-external") : QStringLiteral("angle-bisector");
        HxAddRibbonIcon(name, [external](QPainter& p, const HxIconPalette& pal) {
            const QPointF b(6, 26), a(29, 26), c(20, 4);
            p.setPen(HxIconPen(pal.stroke, 1.8));
            p.drawLine(b, a);
            p.drawLine(b, c);
            if (external) {
                p.setPen(HxIconPen(pal.stroke, 1.2, Qt::DashLine));
                p.drawLine(b, QPointF(2, 26));
            }
            // The internal bisector direction is the sum of the unit arms; the external one is
            // perpendicular to it.
            const QPointF u = (a - b) / std::hypot(a.x() - b.x(), a.y() - b.y());
            const QPointF v = (c - b) / std::hypot(c.x() - b.x(), c.y() - b.y());
            QPointF d = u + v;
            if (external)
                d = QPointF(-d.y(), d.x());
            d /= std::hypot(d.x(), d.y());
            p.setPen(HxIconPen(pal.accent, 1.8));
            p.drawLine(b, b + d * (external ? 14.0 : 26.0));
            Dot(p, pal.point, b, 2.8);
        });
    }
    HxAddRibbonIcon(QStringLiteral("circle-arc"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setPen(HxIconPen(pal.accent, 2.4));
        p.drawArc(QRectF(4, 4, 24, 24), -30 * 16, 150 * 16);
        Dot(p, pal.point, QPointF(16 + 12 * std::cos(0.5236), 16 + 12 * std::sin(0.5236)), 2.8);
        Dot(p, pal.point, QPointF(16 + 12 * std::cos(2.0944), 16 - 12 * std::sin(2.0944)), 2.8);
    });
    HxAddRibbonIcon(QStringLiteral("coordinates"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.drawLine(QPointF(8, 26), QPointF(8, 3));
        p.drawLine(QPointF(8, 26), QPointF(30, 26));
        p.drawLine(QPointF(8, 26), QPointF(2, 31));
        p.setPen(HxIconPen(pal.accent, 1.2, Qt::DashLine));
        p.drawLine(QPointF(22, 12), QPointF(22, 26));
        p.drawLine(QPointF(22, 12), QPointF(8, 12));
        Dot(p, pal.point, QPointF(22, 12), 3.2);
    });
    HxAddRibbonIcon(QStringLiteral("circle-rotate"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setPen(HxIconPen(pal.accent, 1.6));
        p.drawArc(QRectF(8, 8, 16, 16), 0, 90 * 16);
        p.drawLine(QPointF(16, 16), QPointF(28, 16));
        p.drawLine(QPointF(16, 16), QPointF(16, 4));
        Dot(p, pal.stroke, QPointF(28, 16), 2.6);
        Dot(p, pal.point, QPointF(16, 4), 3.2);
    });
    HxAddRibbonIcon(QStringLiteral("point-follow"), [](QPainter& p, const HxIconPalette& pal) {
        Dot(p, pal.stroke, QPointF(7, 24), 3.2);
        p.setPen(HxIconPen(pal.accent, 1.6, Qt::DashLine));
        p.drawLine(QPointF(7, 24), QPointF(24, 9));
        Dot(p, pal.point, QPointF(24, 9), 3.2);
        p.setPen(HxIconPen(pal.accent, 1.4));
        p.drawLine(QPointF(16, 28), QPointF(28, 28));
        p.drawLine(QPointF(28, 28), QPointF(25, 25));
        p.drawLine(QPointF(28, 28), QPointF(25, 31));
    });
    HxAddRibbonIcon(QStringLiteral("line-perpendicular"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 2.0));
        p.drawLine(QPointF(3, 26), QPointF(29, 26));
        p.setPen(HxIconPen(pal.accent, 2.0));
        p.drawLine(QPointF(14, 5), QPointF(14, 26));
        RightAngle(p, pal.accent, QPointF(14, 26), QPointF(1, 0), QPointF(0, -1));
        Dot(p, pal.point, QPointF(14, 5), 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("line-parallel"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 2.0));
        p.drawLine(QPointF(3, 24), QPointF(29, 16));
        p.setPen(HxIconPen(pal.accent, 2.0));
        p.drawLine(QPointF(3, 14), QPointF(29, 6));
        Dot(p, pal.point, QPointF(12, 11.2), 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("line-common"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 2.0));
        p.drawLine(QPointF(3, 8), QPointF(29, 8));
        p.drawLine(QPointF(6, 30), QPointF(26, 18));
        p.setPen(HxIconPen(pal.accent, 2.0));
        p.drawLine(QPointF(16, 8), QPointF(16, 24));
        Dot(p, pal.point, QPointF(16, 8), 2.6);
        Dot(p, pal.point, QPointF(16, 24), 2.6);
    });
    HxAddRibbonIcon(QStringLiteral("face-parallel"), [](QPainter& p, const HxIconPalette& pal) {
        Plane(p, pal, QPolygonF({QPointF(2, 28), QPointF(20, 28), QPointF(30, 20), QPointF(12, 20)}), false);
        Plane(p, pal, QPolygonF({QPointF(2, 12), QPointF(20, 12), QPointF(30, 4), QPointF(12, 4)}), true);
        Dot(p, pal.point, QPointF(2, 12), 2.8);
    });
    HxAddRibbonIcon(QStringLiteral("face-perpendicular"), [](QPainter& p, const HxIconPalette& pal) {
        Plane(p, pal, QPolygonF({QPointF(9, 4), QPointF(23, 8), QPointF(23, 28), QPointF(9, 24)}), true);
        p.setPen(HxIconPen(pal.stroke, 2.0));
        p.drawLine(QPointF(2, 16), QPointF(30, 16));
        Dot(p, pal.point, QPointF(16, 16), 2.8);
    });
    // Polygons: the figure filled in the accent colour, its corners as points.
    auto polygon = [](QPolygonF corners) {
        return [corners](QPainter& p, const HxIconPalette& pal) {
            p.save();
            p.setPen(HxIconPen(pal.accent, 1.6));
            p.setBrush(pal.fill);
            p.drawPolygon(corners);
            p.restore();
            for (const QPointF& c : corners)
                Dot(p, pal.point, c, 2.2);
        };
    };
    HxAddRibbonIcon(QStringLiteral("polygon-equilateral"),
                    polygon(QPolygonF({QPointF(4, 26), QPointF(28, 26), QPointF(16, 5)})));
    HxAddRibbonIcon(QStringLiteral("polygon-isosceles"),
                    polygon(QPolygonF({QPointF(8, 27), QPointF(24, 27), QPointF(16, 3)})));
    HxAddRibbonIcon(QStringLiteral("polygon-square"),
                    polygon(QPolygonF({QPointF(6, 26), QPointF(26, 26), QPointF(26, 6), QPointF(6, 6)})));
    HxAddRibbonIcon(QStringLiteral("polygon-rectangle"),
                    polygon(QPolygonF({QPointF(3, 24), QPointF(29, 24), QPointF(29, 9), QPointF(3, 9)})));
    HxAddRibbonIcon(QStringLiteral("polygon-parallelogram"),
                    polygon(QPolygonF({QPointF(3, 25), QPointF(22, 25), QPointF(29, 8), QPointF(10, 8)})));
    HxAddRibbonIcon(QStringLiteral("polygon-pentagon"),
                    polygon(QPolygonF(
                        {QPointF(9, 27), QPointF(23, 27), QPointF(28, 13), QPointF(16, 4), QPointF(4, 13)})));
    HxAddRibbonIcon(QStringLiteral("polygon-hexagon"),
                    polygon(QPolygonF({QPointF(10, 27), QPointF(22, 27), QPointF(28, 16), QPointF(22, 5),
                                       QPointF(10, 5), QPointF(4, 16)})));
    HxAddRibbonIcon(QStringLiteral("polygon-inscribed"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.4));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        const QPolygonF square({QPointF(16, 3), QPointF(29, 16), QPointF(16, 29), QPointF(3, 16)});
        p.setPen(HxIconPen(pal.accent, 1.6));
        p.drawPolygon(square);
        for (const QPointF& c : square)
            Dot(p, pal.point, c, 2.2);
    });
    HxAddRibbonIcon(QStringLiteral("point-on-object"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 17), 12, 10);
        Dot(p, pal.point, QPointF(26.4, 12), 3.2);
    });
    HxAddRibbonIcon(QStringLiteral("locus"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.4));
        p.drawLine(QPointF(4, 28), QPointF(28, 28));
        Dot(p, pal.stroke, QPointF(12, 28), 2.6);
        p.setPen(HxIconPen(pal.accent, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 28), QPointF(18, 9));
        QPainterPath path;
        path.moveTo(3, 18);
        path.cubicTo(8, 4, 22, 4, 29, 16);
        p.setPen(HxIconPen(pal.green, 2.2));
        p.drawPath(path);
        Dot(p, pal.point, QPointF(18, 7.6), 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("curve"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.2));
        p.drawLine(QPointF(2, 16), QPointF(30, 16));
        p.drawLine(QPointF(16, 3), QPointF(16, 29));
        QPainterPath path;
        path.moveTo(2, 16);
        for (int i = 1; i <= 28; ++i)
            path.lineTo(2 + i, 16 - 9 * std::sin(i * 3.14159265 / 7.0));
        p.setPen(HxIconPen(pal.green, 2.2));
        p.drawPath(path);
    });
    return true;
}();

} // namespace
