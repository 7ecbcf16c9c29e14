// The icons of the edit commands on the ribbon's 32 x 32 grid: the view marks and the view buttons
// (a screen button under what it does to the view), lighting, reversal, separating, aligning and the
// parametric surface.
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace {

QPen Pen(const QColor& color, double width = 1.8) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Head(QPainter& p, QPointF from, QPointF to, const QColor& color) {
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

void SmallButton(QPainter& p, const HxIconPalette& pal, QRectF r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(51, 102, 255));
    p.drawRect(QRectF(r.left() - 3.5, r.top(), 3.5, r.height()));
    p.setBrush(QColor(224, 219, 204));
    p.drawRect(r);
    p.setPen(Pen(pal.stroke, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

// A small cube seen at an angle: the scene the view buttons move.
void Cube(QPainter& p, const HxIconPalette& pal, QPointF o, double s) {
    p.setPen(Pen(pal.stroke, 1.2));
    p.setBrush(pal.fill);
    p.drawRect(QRectF(o.x(), o.y(), s, s));
    const double d = s * 0.4;
    p.drawPolygon(QPolygonF(
        {o, QPointF(o.x() + d, o.y() - d), QPointF(o.x() + s + d, o.y() - d), QPointF(o.x() + s, o.y())}));
    p.drawPolygon(QPolygonF({QPointF(o.x() + s, o.y()), QPointF(o.x() + s + d, o.y() - d),
                             QPointF(o.x() + s + d, o.y() + s - d), QPointF(o.x() + s, o.y() + s)}));
}

// A flag with a number: the marks of the view states.
void Flag(QPainter& p, const HxIconPalette& pal, const QColor& color, const QString& text) {
    Cube(p, pal, QPointF(4, 14), 10);
    p.setPen(Pen(pal.stroke, 1.6));
    p.drawLine(QPointF(20, 4), QPointF(20, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({QPointF(20.5, 4), QPointF(30, 8), QPointF(20.5, 12)}));
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(pal.stroke);
    p.drawText(QRectF(20, 15, 12, 12), Qt::AlignCenter, text);
}

const bool g_added = [] {
    HxAddRibbonIcon(QStringLiteral("view-mark-start"), [](QPainter& p, const HxIconPalette& pal) {
        Flag(p, pal, pal.green, QStringLiteral("F8"));
    });
    HxAddRibbonIcon(QStringLiteral("view-mark-target"), [](QPainter& p, const HxIconPalette& pal) {
        Flag(p, pal, pal.point, QStringLiteral("F9"));
    });
    HxAddRibbonIcon(QStringLiteral("button-view-rotate"), [](QPainter& p, const HxIconPalette& pal) {
        Cube(p, pal, QPointF(10, 8), 9);
        p.setPen(Pen(pal.orange, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 2, 26, 18), 200 * 16, 140 * 16);
        Head(p, QPointF(23, 18.5), QPointF(27.5, 15.5), pal.orange);
        SmallButton(p, pal, QRectF(8, 22, 18, 7));
    });
    HxAddRibbonIcon(QStringLiteral("button-view-pan"), [](QPainter& p, const HxIconPalette& pal) {
        Cube(p, pal, QPointF(4, 8), 8);
        p.setPen(Pen(pal.orange, 1.8));
        p.drawLine(QPointF(15, 11), QPointF(26, 11));
        Head(p, QPointF(15, 11), QPointF(29, 11), pal.orange);
        SmallButton(p, pal, QRectF(8, 22, 18, 7));
    });
    HxAddRibbonIcon(QStringLiteral("button-view-zoom"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.8));
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(13, 10), 7, 7);
        p.drawLine(QPointF(18, 15), QPointF(24, 20));
        p.setPen(Pen(pal.accent, 1.8));
        p.drawLine(QPointF(10, 10), QPointF(16, 10));
        p.drawLine(QPointF(13, 7), QPointF(13, 13));
        SmallButton(p, pal, QRectF(8, 22, 18, 7));
    });
    HxAddRibbonIcon(QStringLiteral("render-solid"), [](QPainter& p, const HxIconPalette& pal) {
        QRadialGradient shade(QPointF(12, 11), 14);
        shade.setColorAt(0.0, QColor(255, 255, 255));
        shade.setColorAt(1.0, pal.accent.darker(130));
        p.setPen(Pen(pal.stroke, 1.0));
        p.setBrush(shade);
        p.drawEllipse(QPointF(16, 17), 11, 11);
        p.setPen(Pen(pal.orange, 1.6));
        p.drawLine(QPointF(4, 4), QPointF(8, 8));
        p.drawLine(QPointF(2, 9), QPointF(6, 10));
        p.drawLine(QPointF(9, 2), QPointF(10, 6));
    });
    HxAddRibbonIcon(QStringLiteral("reverse"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.accent, 2.0));
        p.drawLine(QPointF(5, 10), QPointF(25, 10));
        Head(p, QPointF(5, 10), QPointF(28, 10), pal.accent);
        p.setPen(Pen(pal.orange, 2.0));
        p.drawLine(QPointF(27, 22), QPointF(7, 22));
        Head(p, QPointF(27, 22), QPointF(4, 22), pal.orange);
    });
    HxAddRibbonIcon(QStringLiteral("split-locate"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.6));
        p.drawLine(QPointF(4, 26), QPointF(28, 26));
        p.setPen(QPen(pal.stroke, 1.2, Qt::DashLine));
        p.drawLine(QPointF(16, 26), QPointF(16, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.point);
        p.drawEllipse(QPointF(16, 8), 3.2, 3.2);
        p.setPen(Pen(pal.point, 1.4));
        p.drawLine(QPointF(11, 14), QPointF(21, 20));
        p.drawLine(QPointF(21, 14), QPointF(11, 20));
    });
    HxAddRibbonIcon(QStringLiteral("align-items"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.accent, 1.4));
        p.drawLine(QPointF(8, 3), QPointF(8, 29));
        for (int i = 0; i < 3; ++i)
            SmallButton(p, pal, QRectF(11, 4 + 9 * i, 16, 6));
    });
    HxAddRibbonIcon(QStringLiteral("surface"), [](QPainter& p, const HxIconPalette& pal) {
        // A saddle as a grid of curves.
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i <= 4; ++i) {
            const double t = i / 4.0;
            QPainterPath a;
            a.moveTo(4 + 8 * t, 10 + 14 * t);
            a.quadTo(16 + 4 * t, 4 + 22 * t * (1 - t) + 8 * t, 28 - 4 * t, 6 + 16 * t);
            p.setPen(Pen(i % 2 ? pal.accent : pal.stroke, 1.2));
            p.drawPath(a);
        }
        p.setPen(Pen(pal.green, 1.2));
        p.drawLine(QPointF(4, 10), QPointF(12, 24));
        p.drawLine(QPointF(28, 6), QPointF(24, 22));
    });
    return true;
}();

} // namespace
