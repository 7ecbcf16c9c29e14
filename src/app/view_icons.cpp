// The icons of the edit and view commands on the ribbon's 32 x 32 grid: undo and redo, the two
// screen grabs, the rotation speed, the three views and the display switches (axes, grid,
// coordinate lines, snapping, the two locks, erasing and the snapshot).
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <tuple>

namespace {

constexpr double kPi = 3.14159265358979323846;

void Head(QPainter& p, QPointF tip, double angle, const QColor& color, double size = 6.0) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({tip, tip - QPointF(size * std::cos(angle - 0.5), size * std::sin(angle - 0.5)),
                             tip - QPointF(size * std::cos(angle + 0.5), size * std::sin(angle + 0.5))}));
    p.restore();
}

// The hook-shaped arrow of undo, pointing left; redo draws it mirrored.
void TurnArrow(QPainter& p, const HxIconPalette& pal, bool mirrored) {
    p.save();
    if (mirrored) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(25, 26);
    path.cubicTo(29, 16, 22, 9, 14, 10);
    path.lineTo(9, 10);
    p.setPen(HxIconPen(pal.accent, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    Head(p, QPointF(3, 10), kPi, pal.accent, 8.0);
    p.restore();
}

// A cube in the cabinet view of the other icons, at o (lower left front corner), size s.
struct CubeCorners {
    QPointF f[4]; // front: lower left, lower right, upper right, upper left
    QPointF b[4]; // back, the same order
};
CubeCorners Corners(QPointF o, double s) {
    const double dx = 0.45 * s, dy = -0.35 * s;
    CubeCorners c;
    c.f[0] = o;
    c.f[1] = o + QPointF(s, 0);
    c.f[2] = o + QPointF(s, -s);
    c.f[3] = o + QPointF(0, -s);
    for (int i = 0; i < 4; ++i)
        c.b[i] = c.f[i] + QPointF(dx, dy);
    return c;
}

// face: 0 none, 1 front, 2 left, 3 top tinted; hidden edges dashed.
void Cube(QPainter& p, const HxIconPalette& pal, QPointF o, double s, int face) {
    const CubeCorners c = Corners(o, s);
    p.save();
    p.setPen(Qt::NoPen);
    QColor tint = pal.accent;
    tint.setAlpha(150);
    p.setBrush(tint);
    if (face == 1)
        p.drawPolygon(QPolygonF({c.f[0], c.f[1], c.f[2], c.f[3]}));
    else if (face == 2)
        p.drawPolygon(QPolygonF({c.f[0], c.b[0], c.b[3], c.f[3]}));
    else if (face == 3)
        p.drawPolygon(QPolygonF({c.f[3], c.f[2], c.b[2], c.b[3]}));
    p.setBrush(Qt::NoBrush);
    p.setPen(HxIconPen(pal.stroke, 1.2, Qt::DashLine));
    p.drawLine(c.f[0], c.b[0]);
    p.drawLine(c.b[0], c.b[1]);
    p.drawLine(c.b[0], c.b[3]);
    p.setPen(HxIconPen(pal.stroke, 1.6));
    p.drawPolygon(QPolygonF({c.f[0], c.f[1], c.f[2], c.f[3]}));
    p.drawPolyline(QPolygonF({c.f[3], c.b[3], c.b[2], c.f[2]}));
    p.drawPolyline(QPolygonF({c.b[2], c.b[1], c.f[1]}));
    p.restore();
}

// A speed dial: an arc with the needle turned to the left (slower) or the right (faster).
void Dial(QPainter& p, const HxIconPalette& pal, bool faster) {
    const QPointF c(16, 21);
    p.setPen(HxIconPen(pal.stroke, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 8, 26, 26), -20 * 16, 220 * 16);
    p.setPen(HxIconPen(pal.stroke, 1.2));
    for (int k = 0; k <= 4; ++k) {
        const double a = (200.0 - 55.0 * k) * kPi / 180.0;
        p.drawLine(c + QPointF(10 * std::cos(a), -10 * std::sin(a)),
                   c + QPointF(13 * std::cos(a), -13 * std::sin(a)));
    }
    const double a = (faster ? 35.0 : 145.0) * kPi / 180.0;
    const QPointF tip = c + QPointF(11 * std::cos(a), -11 * std::sin(a));
    p.setPen(HxIconPen(faster ? pal.orange : pal.green, 2.4));
    p.drawLine(c, tip);
    p.setPen(Qt::NoPen);
    p.setBrush(pal.stroke);
    p.drawEllipse(c, 2.4, 2.4);
    // A chevron pair under the dial: back for slower, forward for faster.
    p.setPen(HxIconPen(faster ? pal.orange : pal.green, 1.8));
    const double dir = faster ? 1.0 : -1.0;
    for (double x : {13.0, 18.0})
        p.drawPolyline(
            QPolygonF({QPointF(x - 2 * dir, 25), QPointF(x + 2 * dir, 28), QPointF(x - 2 * dir, 31)}));
}

// The 2 x 2 layout of the three views, quadrant `lit` (0 front, 1 left, 2 top, 3 the direct view,
// -1 none) tinted.
void Quadrants(QPainter& p, const HxIconPalette& pal, int lit) {
    const QRectF cells[4] = {QRectF(3, 3, 12.5, 12.5), QRectF(16.5, 3, 12.5, 12.5),
                             QRectF(3, 16.5, 12.5, 12.5), QRectF(16.5, 16.5, 12.5, 12.5)};
    for (int k = 0; k < 4; ++k) {
        p.setPen(HxIconPen(pal.stroke, 1.3));
        p.setBrush(k == lit ? pal.fill : QBrush(Qt::NoBrush));
        p.drawRect(cells[k]);
    }
    p.setPen(HxIconPen(pal.accent, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 7, 6.5, 6.5));    // front: a square
    p.drawRect(QRectF(19.5, 7, 6.5, 6.5)); // left: a square
    p.drawRect(QRectF(6, 19.5, 6.5, 6.5)); // top: a square with its diagonal
    p.drawLine(QPointF(6, 19.5), QPointF(12.5, 26));
    Cube(p, pal, QPointF(18.5, 27.5), 6.5, 0); // the direct view
}

void Padlock(QPainter& p, const HxIconPalette& pal, QPointF o) {
    p.setPen(HxIconPen(pal.stroke, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(o.x() + 2, o.y(), 8, 10), 0, 180 * 16);
    p.drawLine(o + QPointF(2, 5), o + QPointF(2, 7));
    p.drawLine(o + QPointF(10, 5), o + QPointF(10, 7));
    p.setPen(HxIconPen(pal.stroke, 1.2));
    p.setBrush(pal.orange);
    p.drawRoundedRect(QRectF(o.x(), o.y() + 7, 12, 9), 1.5, 1.5);
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("undo"),
                    [](QPainter& p, const HxIconPalette& pal) { TurnArrow(p, pal, false); });
    HxAddRibbonIcon(QStringLiteral("redo"),
                    [](QPainter& p, const HxIconPalette& pal) { TurnArrow(p, pal, true); });
    // The whole figure to the clipboard: crop marks around a cube, the blank margin cut away.
    HxAddRibbonIcon(QStringLiteral("grab-full"), [](QPainter& p, const HxIconPalette& pal) {
        Cube(p, pal, QPointF(8, 25), 11, 1);
        p.setPen(HxIconPen(pal.point, 2.0));
        for (const auto& [x, y, sx, sy] : {std::tuple{3, 3, 1, 1}, std::tuple{29, 3, -1, 1},
                                           std::tuple{3, 29, 1, -1}, std::tuple{29, 29, -1, -1}}) {
            p.drawLine(QPointF(x, y), QPointF(x + 6 * sx, y));
            p.drawLine(QPointF(x, y), QPointF(x, y + 6 * sy));
        }
    });
    // A region of the view: a dashed frame drawn from a cross-hair corner.
    HxAddRibbonIcon(QStringLiteral("grab-region"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.accent, 1.6, Qt::DashLine));
        p.setBrush(pal.fill);
        p.drawRect(QRectF(9, 9, 19, 15));
        p.setPen(HxIconPen(pal.point, 1.8));
        p.drawLine(QPointF(9, 2), QPointF(9, 15));
        p.drawLine(QPointF(2, 9), QPointF(15, 9));
        // The mouse pointer at the far corner.
        QPainterPath pointer;
        pointer.moveTo(24, 20);
        pointer.lineTo(24, 31);
        pointer.lineTo(26.6, 28.4);
        pointer.lineTo(28.6, 32);
        pointer.lineTo(30.4, 31.2);
        pointer.lineTo(28.4, 27.6);
        pointer.lineTo(31.6, 27.4);
        pointer.closeSubpath();
        p.setPen(HxIconPen(pal.stroke, 1.2));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(pointer);
    });
    HxAddRibbonIcon(QStringLiteral("rotate-slower"),
                    [](QPainter& p, const HxIconPalette& pal) { Dial(p, pal, false); });
    HxAddRibbonIcon(QStringLiteral("rotate-faster"),
                    [](QPainter& p, const HxIconPalette& pal) { Dial(p, pal, true); });
    HxAddRibbonIcon(QStringLiteral("three-views"),
                    [](QPainter& p, const HxIconPalette& pal) { Quadrants(p, pal, -1); });
    // The standard views: the cube with the face looked at tinted.
    HxAddRibbonIcon(QStringLiteral("view-front"),
                    [](QPainter& p, const HxIconPalette& pal) { Cube(p, pal, QPointF(5, 28), 16, 1); });
    HxAddRibbonIcon(QStringLiteral("view-left"),
                    [](QPainter& p, const HxIconPalette& pal) { Cube(p, pal, QPointF(5, 28), 16, 2); });
    HxAddRibbonIcon(QStringLiteral("view-top"),
                    [](QPainter& p, const HxIconPalette& pal) { Cube(p, pal, QPointF(5, 28), 16, 3); });
    // The direct view beside the three: the quadrant of the intuitive drawing tinted.
    HxAddRibbonIcon(QStringLiteral("view-direct"),
                    [](QPainter& p, const HxIconPalette& pal) { Quadrants(p, pal, 3); });
    HxAddRibbonIcon(QStringLiteral("coord-axes"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF o(12, 20);
        p.setPen(HxIconPen(pal.point, 1.8));
        p.drawLine(o, QPointF(28, 20));
        Head(p, QPointF(30, 20), 0, pal.point);
        p.setPen(HxIconPen(pal.green, 1.8));
        p.drawLine(o, QPointF(12, 5));
        Head(p, QPointF(12, 3), -kPi / 2, pal.green);
        p.setPen(HxIconPen(pal.accent, 1.8));
        p.drawLine(o, QPointF(4, 28));
        Head(p, QPointF(2.6, 29.4), kPi * 0.75, pal.accent);
    });
    HxAddRibbonIcon(QStringLiteral("coord-grid"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.1));
        for (int k = 0; k <= 4; ++k) {
            p.drawLine(QPointF(4 + 6 * k, 4), QPointF(4 + 6 * k, 28));
            p.drawLine(QPointF(4, 4 + 6 * k), QPointF(28, 4 + 6 * k));
        }
        p.setPen(HxIconPen(pal.accent, 2.0));
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        p.drawLine(QPointF(16, 4), QPointF(16, 28));
    });
    // A point with its dashed box of coordinate lines down to the axes.
    HxAddRibbonIcon(QStringLiteral("coord-lines"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF o(6, 26), pt(24, 9);
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.drawLine(o, QPointF(30, 26));
        p.drawLine(o, QPointF(6, 2));
        p.setPen(HxIconPen(pal.accent, 1.3, Qt::DashLine));
        p.drawLine(pt, QPointF(pt.x(), 26));
        p.drawLine(pt, QPointF(6, pt.y()));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.point);
        p.drawEllipse(pt, 3.2, 3.2);
    });
    // A magnet pulling a point.
    HxAddRibbonIcon(QStringLiteral("snap"), [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath u;
        u.moveTo(5, 4);
        u.lineTo(5, 14);
        u.arcTo(QRectF(5, 6, 16, 16), 180, 180);
        u.lineTo(21, 4);
        p.setPen(QPen(pal.point, 5.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(u);
        p.setPen(QPen(QColor(0xb0, 0xb8, 0xc4), 5.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(5, 3), QPointF(5, 7));
        p.drawLine(QPointF(21, 3), QPointF(21, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.accent);
        p.drawEllipse(QPointF(26, 26), 3.2, 3.2);
        p.setPen(HxIconPen(pal.stroke, 1.2, Qt::DashLine));
        p.drawLine(QPointF(17, 22), QPointF(23.5, 24.5));
    });
    // The view's turning locked: a turn arrow with a padlock.
    HxAddRibbonIcon(QStringLiteral("lock-view"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.accent, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 20, 20), 60 * 16, 270 * 16);
        Head(p, QPointF(18.5, 4.2), -0.3, pal.accent, 6.5);
        Padlock(p, pal, QPointF(18, 14));
    });
    // Dragging locked: the four-way move arrows with a padlock.
    HxAddRibbonIcon(QStringLiteral("lock-drag"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.accent, 1.8));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        Head(p, QPointF(2, 12), kPi, pal.accent, 5);
        Head(p, QPointF(22, 12), 0, pal.accent, 5);
        Head(p, QPointF(12, 2), -kPi / 2, pal.accent, 5);
        Head(p, QPointF(12, 22), kPi / 2, pal.accent, 5);
        Padlock(p, pal, QPointF(18, 14));
    });
    // An eraser over a dotted trace.
    HxAddRibbonIcon(QStringLiteral("erase-traces"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.green, 1.6, Qt::DotLine));
        p.drawLine(QPointF(2, 28), QPointF(30, 28));
        p.save();
        p.translate(17, 14);
        p.rotate(-35);
        p.setPen(HxIconPen(pal.stroke, 1.4));
        p.setBrush(QColor(0xf2, 0x8b, 0x9a));
        p.drawRoundedRect(QRectF(-11, -5.5, 12, 11), 1.5, 1.5);
        p.setBrush(QColor(0xe8, 0xec, 0xf2));
        p.drawRoundedRect(QRectF(1, -5.5, 10, 11), 1.5, 1.5);
        p.restore();
    });
    // A camera: the selected objects frozen into the picture.
    HxAddRibbonIcon(QStringLiteral("snapshot"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(HxIconPen(pal.stroke, 1.6));
        p.setBrush(QColor(0xe8, 0xec, 0xf2));
        QPainterPath body;
        body.addRoundedRect(QRectF(3, 10, 26, 17), 3, 3);
        body.addRect(QRectF(11, 6, 10, 5));
        p.drawPath(body.simplified());
        p.setBrush(pal.fill);
        p.drawEllipse(QPointF(16, 18.5), 5.5, 5.5);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.point);
        p.drawEllipse(QPointF(25, 14), 1.6, 1.6);
    });
    return true;
}();

} // namespace
