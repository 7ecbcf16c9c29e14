// The icons of the right triangle, component and 3D text commands, on the ribbon's 32 x 32 grid.
#include "app/ribbon_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QPen Pen(const QColor& color, double width = 1.8) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

const bool g_registered = [] {
    // A triangle with the right angle marked at its lower left corner.
    HxAddRibbonIcon(QStringLiteral("right-triangle"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF a(5, 27), b(27, 27), c(5, 6);
        p.setPen(Pen(pal.stroke));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({a, b, c}));
        p.setPen(Pen(pal.accent, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(5, 21), QPointF(11, 21), QPointF(11, 27)}));
    });
    // A shaded cube beside a ball: a ready-made solid.
    HxAddRibbonIcon(QStringLiteral("component-solid"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF front[4] = {{3, 13}, {17, 13}, {17, 28}, {3, 28}};
        const QPointF top[4] = {{3, 13}, {9, 7}, {23, 7}, {17, 13}};
        const QPointF side[4] = {{17, 13}, {23, 7}, {23, 22}, {17, 28}};
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(pal.orange);
        p.drawPolygon(front, 4);
        p.setBrush(pal.orange.lighter(130));
        p.drawPolygon(top, 4);
        p.setBrush(pal.orange.darker(130));
        p.drawPolygon(side, 4);
        QRadialGradient shade(QPointF(23, 19), 9);
        shade.setColorAt(0, pal.accent.lighter(160));
        shade.setColorAt(1, pal.accent);
        p.setBrush(shade);
        p.drawEllipse(QPointF(25, 23), 6, 6);
    });
    // The letter A extruded: its face over its shifted outline.
    HxAddRibbonIcon(QStringLiteral("text-3d"), [](QPainter& p, const HxIconPalette& pal) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setBold(true);
        font.setPixelSize(26);
        QPainterPath glyph;
        glyph.addText(QPointF(5, 26), font, QStringLiteral("A"));
        p.setPen(Pen(pal.stroke, 1.0));
        p.setBrush(pal.green.darker(140));
        p.drawPath(glyph.translated(3, -3));
        p.setBrush(pal.green);
        p.drawPath(glyph);
    });
    return true;
}();

} // namespace
