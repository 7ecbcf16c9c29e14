// The icon drawings.  Each is drawn on a 32 x 32 grid: solids in a cabinet view with hidden edges
// dashed, points as red dots, faces tinted with the accent colour.
#include "app/ribbon_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

HxIconPalette g_iconPalette;

using Draw = std::function<void(QPainter&, const HxIconPalette&)>;

QPen Stroke(const HxIconPalette& pal, double width = 2.0) {
    QPen pen(pal.stroke, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

QPen Dashed(const HxIconPalette& pal, double width = 1.5) {
    QPen pen(pal.stroke, width, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    pen.setDashPattern({2.0, 2.0});
    QColor c = pal.stroke;
    c.setAlphaF(0.7f);
    pen.setColor(c);
    return pen;
}

void Dot(QPainter& p, const HxIconPalette& pal, QPointF c, double r = 3.2, QColor color = QColor()) {
    p.save();
    p.setPen(QPen(pal.stroke.lighter(100), 1.0));
    p.setBrush(color.isValid() ? color : pal.point);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, r, r);
    p.restore();
}

// Cabinet projection of a point of the unit grid: x right, y up, z away (half length at 45°).
QPointF Proj(double x, double y, double z, QPointF origin) {
    return {origin.x() + x + 0.5 * z * 0.7071, origin.y() - y - 0.5 * z * 0.7071};
}

void Poly(QPainter& p, const std::vector<QPointF>& pts, bool closed = true) {
    QPainterPath path;
    path.moveTo(pts[0]);
    for (size_t i = 1; i < pts.size(); ++i)
        path.lineTo(pts[i]);
    if (closed)
        path.closeSubpath();
    p.drawPath(path);
}

void Line(QPainter& p, QPointF a, QPointF b) {
    p.drawLine(a, b);
}

void Arrowhead(QPainter& p, QPointF from, QPointF to, double size, QColor color) {
    double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPointF l(to.x() - size * std::cos(a - 0.45), to.y() - size * std::sin(a - 0.45));
    QPointF r(to.x() - size * std::cos(a + 0.45), to.y() - size * std::sin(a + 0.45));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({to, l, r}));
    p.restore();
}

// A box of w x h x d at origin (lower left front corner), hidden edges dashed.
void Box(QPainter& p, const HxIconPalette& pal, QPointF o, double w, double h, double d, bool shade = true) {
    auto P = [&](double x, double y, double z) { return Proj(x, y, z, o); };
    if (shade) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({P(0, 0, 0), P(w, 0, 0), P(w, h, 0), P(0, h, 0)}));
        QColor top = pal.fill;
        top.setAlpha(top.alpha() / 2);
        p.setBrush(top);
        p.drawPolygon(QPolygonF({P(0, h, 0), P(w, h, 0), P(w, h, d), P(0, h, d)}));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Dashed(pal));
    Line(p, P(0, 0, 0), P(0, 0, d));
    Line(p, P(0, 0, d), P(w, 0, d));
    Line(p, P(0, 0, d), P(0, h, d));
    p.setPen(Stroke(pal, 1.8));
    Poly(p, {P(0, 0, 0), P(w, 0, 0), P(w, h, 0), P(0, h, 0)});
    Poly(p, {P(0, h, 0), P(0, h, d), P(w, h, d), P(w, h, 0)}, false);
    Poly(p, {P(w, 0, 0), P(w, 0, d), P(w, h, d)}, false);
}

void Ellipse(QPainter& p, QPointF c, double rx, double ry) {
    p.drawEllipse(c, rx, ry);
}

// Lower half of an ellipse solid, upper half dashed (a base circle seen from above).
void BaseEllipse(QPainter& p, const HxIconPalette& pal, QPointF c, double rx, double ry) {
    QRectF r(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry);
    p.setPen(Dashed(pal));
    p.drawArc(r, 0, 180 * 16);
    p.setPen(Stroke(pal, 1.8));
    p.drawArc(r, 180 * 16, 180 * 16);
}

void Text(QPainter& p, const QRectF& r, const QString& s, QColor color, double px, bool bold = true,
          Qt::Alignment align = Qt::AlignCenter) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(px));
    f.setBold(bold);
    p.save();
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, int(align), s);
    p.restore();
}

void RoundedPanel(QPainter& p, const HxIconPalette& pal, QRectF r, QColor fill) {
    p.setPen(Stroke(pal, 1.6));
    p.setBrush(fill);
    p.drawRoundedRect(r, 3, 3);
}

std::map<QString, Draw>& Drawings() {
    static std::map<QString, Draw> d;
    if (!d.empty())
        return d;

    d["generic"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(6, 6, 20, 20), pal.fill);
    };
    d["select"] = [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath a;
        a.moveTo(9, 4);
        a.lineTo(9, 25);
        a.lineTo(14, 20.5);
        a.lineTo(18, 28.5);
        a.lineTo(21.5, 27);
        a.lineTo(17.6, 19);
        a.lineTo(24, 18.5);
        a.closeSubpath();
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(a);
    };
    d["point"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.2));
        Line(p, {6, 26}, {26, 26});
        Line(p, {6, 26}, {6, 6});
        Dot(p, pal, {17, 14}, 4.5);
        Text(p, QRectF(18, 2, 14, 12), "A", pal.stroke, 10, false);
    };
    auto line = [](int kind) {
        return [kind](QPainter& p, const HxIconPalette& pal) {
            QPointF a(7, 24), b(25, 8);
            QPointF ext1 = a + (a - b) * 0.3, ext2 = b + (b - a) * 0.3;
            p.setPen(Stroke(pal, 2.2));
            if (kind == 0 || kind == 3)
                Line(p, a, b);
            else if (kind == 1)
                Line(p, a, ext2);
            else
                Line(p, ext1, ext2);
            if (kind == 3) {
                Arrowhead(p, a, b + (b - a) * 0.12, 8, pal.stroke);
                Dot(p, pal, a);
            } else {
                Dot(p, pal, a);
                Dot(p, pal, b);
            }
        };
    };
    d["line"] = line(0);
    d["line-segment"] = line(0);
    d["line-ray"] = line(1);
    d["line-full"] = line(2);
    d["line-vector"] = line(3);
    d["polygon"] = [](QPainter& p, const HxIconPalette& pal) {
        std::vector<QPointF> pts{{4, 24}, {20, 24}, {28, 9}, {12, 9}};
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(pal.fill);
        Poly(p, pts);
        for (auto& q : pts)
            Dot(p, pal, q, 2.6);
    };
    d["circle"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 2.0));
        p.setBrush(Qt::NoBrush);
        Ellipse(p, {16, 16}, 11, 11);
        Dot(p, pal, {16, 16}, 2.6);
        Dot(p, pal, {27, 16}, 2.6);
    };
    d["circle-pnz"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 2.0));
        p.setBrush(pal.fill);
        Ellipse(p, {16, 20}, 12, 6);
        p.setPen(Stroke(pal, 1.5));
        Line(p, {16, 20}, {16, 5});
        Arrowhead(p, {16, 20}, {16, 4}, 6, pal.stroke);
        Dot(p, pal, {16, 20}, 2.6);
    };
    d["prism"] = [](QPainter& p, const HxIconPalette& pal) { Box(p, pal, {4, 28}, 16, 16, 16); };
    d["cube"] = d["prism"];
    d["pyramid"] = [](QPainter& p, const HxIconPalette& pal) {
        QPointF o(4, 28);
        auto P = [&](double x, double y, double z) { return Proj(x, y, z, o); };
        QPointF apex = P(10, 22, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({P(0, 0, 0), P(20, 0, 0), apex}));
        p.setPen(Dashed(pal));
        Line(p, P(0, 0, 0), P(0, 0, 16));
        Line(p, P(0, 0, 16), P(20, 0, 16));
        Line(p, P(0, 0, 16), apex);
        p.setPen(Stroke(pal, 1.8));
        Poly(p, {P(0, 0, 0), P(20, 0, 0), P(20, 0, 16)}, false);
        Line(p, P(0, 0, 0), apex);
        Line(p, P(20, 0, 0), apex);
        Line(p, P(20, 0, 16), apex);
        Dot(p, pal, apex, 2.4);
    };
    d["frustum"] = [](QPainter& p, const HxIconPalette& pal) {
        QPointF o(4, 28);
        auto P = [&](double x, double y, double z) { return Proj(x, y, z, o); };
        std::vector<QPointF> bottom{P(0, 0, 0), P(20, 0, 0), P(20, 0, 16), P(0, 0, 16)};
        std::vector<QPointF> top{P(5, 16, 4), P(15, 16, 4), P(15, 16, 12), P(5, 16, 12)};
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({bottom[0], bottom[1], top[1], top[0]}));
        p.setPen(Dashed(pal));
        Line(p, bottom[0], bottom[3]);
        Line(p, bottom[3], bottom[2]);
        Line(p, bottom[3], top[3]);
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(Qt::NoBrush);
        Poly(p, {bottom[0], bottom[1], bottom[2]}, false);
        Poly(p, top);
        Line(p, bottom[0], top[0]);
        Line(p, bottom[1], top[1]);
        Line(p, bottom[2], top[2]);
    };
    d["sphere"] = [](QPainter& p, const HxIconPalette& pal) {
        QRadialGradient g(QPointF(12, 11), 16);
        QColor c1 = pal.accent.lighter(170), c2 = pal.accent;
        c1.setAlpha(90);
        c2.setAlpha(110);
        g.setColorAt(0, c1);
        g.setColorAt(1, c2);
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(g);
        Ellipse(p, {16, 16}, 12, 12);
        p.setBrush(Qt::NoBrush);
        BaseEllipse(p, pal, {16, 16}, 12, 4);
        Dot(p, pal, {16, 16}, 2.2);
    };
    d["cylinder"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawRect(QRectF(5, 8, 22, 17));
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(pal.fill);
        Ellipse(p, {16, 8}, 11, 4);
        p.setBrush(Qt::NoBrush);
        BaseEllipse(p, pal, {16, 25}, 11, 4);
        Line(p, {5, 8}, {5, 25});
        Line(p, {27, 8}, {27, 25});
    };
    d["cone"] = [](QPainter& p, const HxIconPalette& pal) {
        const QPointF apex(16, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({apex, QPointF(5, 25), QPointF(27, 25)}));
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(Qt::NoBrush);
        BaseEllipse(p, pal, {16, 25}, 11, 4);
        p.setPen(Stroke(pal, 1.8));
        Line(p, apex, {5, 25});
        Line(p, apex, {27, 25});
    };
    d["round-frustum"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({QPointF(10, 8), QPointF(22, 8), QPointF(27, 25), QPointF(5, 25)}));
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(pal.fill);
        Ellipse(p, {16, 8}, 6, 2.5);
        p.setBrush(Qt::NoBrush);
        BaseEllipse(p, pal, {16, 25}, 11, 4);
        p.setPen(Stroke(pal, 1.8));
        Line(p, {10, 8}, {5, 25});
        Line(p, {22, 8}, {27, 25});
    };
    d["static-figure"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(QPen(pal.green, 1.5));
        Line(p, {4, 28}, {30, 28});
        Line(p, {4, 28}, {4, 3});
        Line(p, {4, 28}, {15, 17});
        Box(p, pal, {9, 26}, 12, 12, 12);
    };
    d["curve-locus"] = [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath c;
        c.moveTo(4, 24);
        c.cubicTo(10, 2, 18, 32, 28, 8);
        p.setPen(QPen(pal.green, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(c);
        QPen dots(pal.stroke, 1.2, Qt::DotLine);
        p.setPen(dots);
        Line(p, {16, 17}, {16, 28});
        Dot(p, pal, {16, 17}, 3);
    };
    d["measure"] = [](QPainter& p, const HxIconPalette& pal) {
        p.save();
        p.translate(16, 16);
        p.rotate(-35);
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(QColor(0xf6, 0xc3, 0x4a));
        p.drawRoundedRect(QRectF(-14, -5, 28, 10), 1.5, 1.5);
        for (int i = -11; i <= 11; i += 4)
            p.drawLine(QPointF(i, -5), QPointF(i, i % 8 == 1 || i % 8 == -7 ? 1 : -1.5));
        p.restore();
    };
    d["calculate"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(7, 3, 18, 26), QColor(255, 255, 255));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawRect(QRectF(10, 6, 12, 6));
        p.setBrush(pal.stroke);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(10 + c * 4.5, 15 + r * 4.3, 2.8, 2.6));
    };
    d["text-label"] = [](QPainter& p, const HxIconPalette& pal) {
        Text(p, QRectF(2, 2, 22, 26), "A", pal.stroke, 22, true);
        p.setPen(QPen(pal.accent, 2.0, Qt::SolidLine, Qt::RoundCap));
        Line(p, {22, 10}, {22, 27});
        Line(p, {19, 10}, {25, 10});
        Line(p, {19, 27}, {25, 27});
    };
    d["play"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setBrush(QColor(255, 255, 255));
        p.drawPolygon(QPolygonF({QPointF(13, 9.5), QPointF(23, 16), QPointF(13, 22.5)}));
    };
    d["ink"] = [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath c;
        c.moveTo(3, 27);
        c.cubicTo(8, 20, 12, 30, 17, 24);
        p.setPen(QPen(pal.point, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(c);
        p.save();
        p.translate(21, 11);
        p.rotate(45);
        p.setPen(Stroke(pal, 1.5));
        p.setBrush(pal.orange);
        p.drawRect(QRectF(-3, -11, 6, 16));
        p.setBrush(pal.stroke);
        p.drawPolygon(QPolygonF({QPointF(-3, 5), QPointF(3, 5), QPointF(0, 10)}));
        p.restore();
    };
    d["custom-tool"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(pal.fill);
        QPainterPath gear;
        const int teeth = 8;
        for (int i = 0; i < teeth * 2; ++i) {
            double a = i * M_PI / teeth;
            double r = i % 2 ? 8.0 : 11.0;
            QPointF q(14 + r * std::cos(a), 14 + r * std::sin(a));
            i == 0 ? gear.moveTo(q) : gear.lineTo(q);
        }
        gear.closeSubpath();
        p.drawPath(gear);
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(14, 14), 3.5, 3.5);
        Dot(p, pal, {25, 25}, 5, pal.orange);
        Text(p, QRectF(20, 20, 10, 10), "+", QColor(255, 255, 255), 10, true);
    };
    d["toolset"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.5));
        p.setBrush(QColor(0xf6, 0xc3, 0x4a));
        QPainterPath f;
        f.moveTo(3, 9);
        f.lineTo(12, 9);
        f.lineTo(14, 12);
        f.lineTo(29, 12);
        f.lineTo(29, 27);
        f.lineTo(3, 27);
        f.closeSubpath();
        p.drawPath(f);
        p.setPen(Stroke(pal, 1.4));
        Line(p, {10, 22}, {22, 17});
        Dot(p, pal, {10, 22}, 2.2);
        Dot(p, pal, {22, 17}, 2.2);
    };
    d["color"] = [](QPainter& p, const HxIconPalette& pal) {
        // A paint bucket; the colour bar under it is drawn by the colour button.
        p.save();
        p.translate(14, 13);
        p.rotate(-30);
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(-7, -7, 14, 14), 2, 2);
        p.restore();
        p.setPen(Qt::NoPen);
        p.setBrush(pal.accent);
        QPainterPath drop;
        drop.moveTo(25, 12);
        drop.cubicTo(28, 17, 29, 20, 25, 21);
        drop.cubicTo(21, 20, 22, 17, 25, 12);
        p.drawPath(drop);
    };
    d["palette"] = [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath b;
        b.addEllipse(QPointF(16, 16), 13, 11);
        QPainterPath hole;
        hole.addEllipse(QPointF(21, 21), 3, 3);
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(QColor(0xfa, 0xf3, 0xe3));
        p.drawPath(b.subtracted(hole));
        Dot(p, pal, {10, 13}, 2.6, QColor(0xe0, 0x44, 0x36));
        Dot(p, pal, {16, 9}, 2.6, QColor(0xf0, 0xb4, 0x2a));
        Dot(p, pal, {22, 12}, 2.6, QColor(0x23, 0x9b, 0x5a));
        Dot(p, pal, {10, 20}, 2.6, QColor(0x2a, 0x78, 0xd6));
    };
    d["parameter"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 2.0));
        Line(p, {4, 20}, {28, 20});
        p.setBrush(pal.accent);
        p.setPen(Stroke(pal, 1.4));
        p.drawRoundedRect(QRectF(15, 14, 6, 12), 2, 2);
        Text(p, QRectF(2, 1, 28, 12), "a=1", pal.stroke, 9, false);
    };
    d["origin"] = [](QPainter& p, const HxIconPalette& pal) {
        QPointF o(12, 20);
        p.setPen(QPen(pal.stroke, 1.6, Qt::SolidLine, Qt::RoundCap));
        Line(p, o, {29, 20});
        Line(p, o, {12, 3});
        Line(p, o, {3, 29});
        Arrowhead(p, o, {30, 20}, 5, pal.stroke);
        Arrowhead(p, o, {12, 2}, 5, pal.stroke);
        Dot(p, pal, o, 3.2);
    };
    d["midpoint"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 2.0));
        Line(p, {4, 24}, {28, 8});
        Dot(p, pal, {4, 24}, 2.6, pal.stroke);
        Dot(p, pal, {28, 8}, 2.6, pal.stroke);
        Dot(p, pal, {16, 16}, 3.6);
    };
    d["point-perpendicular"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(pal.fill);
        Poly(p, {{2, 26}, {20, 26}, {30, 18}, {12, 18}});
        p.setPen(Stroke(pal, 2.0));
        Line(p, {16, 22}, {16, 4});
        Dot(p, pal, {16, 8}, 3.2);
    };
    auto axisPoint = [](const char* axis) {
        return [axis](QPainter& p, const HxIconPalette& pal) {
            p.setPen(QPen(pal.stroke, 1.4, Qt::DashLine));
            Line(p, {3, 24}, {29, 24});
            p.setPen(Stroke(pal, 2.0));
            Line(p, {6, 12}, {26, 12});
            Dot(p, pal, {12, 12}, 3.2);
            Text(p, QRectF(18, 14, 12, 12), axis, pal.accent, 10, true);
        };
    };
    d["point-par-x"] = axisPoint("x");
    d["point-par-y"] = axisPoint("y");
    d["point-par-z"] = axisPoint("z");
    d["property"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(5, 4, 22, 24), QColor(255, 255, 255));
        p.setPen(Stroke(pal, 1.4));
        for (int i = 0; i < 3; ++i) {
            double y = 10 + i * 6.5;
            Line(p, {9, y}, {23, y});
            Dot(p, pal, {11.0 + i * 5, y}, 2.4, pal.accent);
        }
    };
    // The preferences: three colour swatches above a slider.
    d["preferences"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(4, 5, 24, 22), QColor(255, 255, 255));
        const QColor swatches[3] = {QColor(220, 40, 40), QColor(40, 160, 60), QColor(40, 80, 220)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(swatches[i]);
            p.drawRect(QRectF(8 + i * 6, 9, 4.5, 7));
        }
        p.setPen(Stroke(pal, 1.4));
        Line(p, {8, 21}, {24, 21});
        Dot(p, pal, {18, 21}, 2.6, pal.accent);
    };
    d["view-2d"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(4, 6, 24, 20), pal.fill);
        Text(p, QRectF(4, 6, 24, 20), "2D", pal.stroke, 11, true);
    };
    d["view-3d"] = [](QPainter& p, const HxIconPalette& pal) {
        Box(p, pal, {5, 27}, 14, 14, 14);
        Text(p, QRectF(14, 14, 18, 16), "3D", pal.accent, 9, true);
    };
    d["lit-dashed"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.orange);
        p.drawEllipse(QPointF(9, 9), 5, 5);
        p.setPen(QPen(pal.orange, 1.4, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            Line(p, {9 + 7 * std::cos(a), 9 + 7 * std::sin(a)}, {9 + 9 * std::cos(a), 9 + 9 * std::sin(a)});
        }
        p.setPen(Dashed(pal, 2.0));
        Line(p, {10, 28}, {29, 16});
        p.setPen(Stroke(pal, 2.0));
        Line(p, {4, 20}, {16, 28});
    };
    d["object-pane"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(3, 5, 26, 22), QColor(255, 255, 255));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawRect(QRectF(4, 6, 9, 20));
        p.setPen(Stroke(pal, 1.2));
        Line(p, {13, 6}, {13, 26});
        for (int i = 0; i < 3; ++i)
            Line(p, {6, 11.0 + i * 5}, {11, 11.0 + i * 5});
    };
    d["mini"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(3, 5, 26, 22), QColor(255, 255, 255));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.accent);
        p.drawRect(QRectF(4, 6, 24, 4));
        p.setPen(QPen(pal.stroke, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        Poly(p, {{11, 20}, {16, 15}, {21, 20}}, false);
    };
    d["fullscreen"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(QPen(pal.stroke, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        Poly(p, {{4, 11}, {4, 4}, {11, 4}}, false);
        Poly(p, {{21, 4}, {28, 4}, {28, 11}}, false);
        Poly(p, {{28, 21}, {28, 28}, {21, 28}}, false);
        Poly(p, {{11, 28}, {4, 28}, {4, 21}}, false);
    };
    d["pan"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(QPen(pal.stroke, 1.8, Qt::SolidLine, Qt::RoundCap));
        Line(p, {16, 4}, {16, 28});
        Line(p, {4, 16}, {28, 16});
        for (auto [a, b] : std::vector<std::pair<QPointF, QPointF>>{
                 {{16, 16}, {16, 3}}, {{16, 16}, {16, 29}}, {{16, 16}, {3, 16}}, {{16, 16}, {29, 16}}})
            Arrowhead(p, a, b, 6, pal.stroke);
    };
    d["about"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.accent);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
        p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.5, 1.5);
    };
    d["help"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        Text(p, QRectF(3, 3, 26, 26), "?", QColor(255, 255, 255), 19, true);
    };
    d["quick-help"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(4, 4, 19, 24), QColor(255, 255, 255));
        p.setPen(Stroke(pal, 1.3));
        for (int i = 0; i < 4; ++i)
            Line(p, {8, 10.0 + i * 4.5}, {19, 10.0 + i * 4.5});
        Dot(p, pal, {24, 23}, 6.5, pal.green);
        Text(p, QRectF(17.5, 16.5, 13, 13), "?", QColor(255, 255, 255), 10, true);
    };
    d["samples"] = [](QPainter& p, const HxIconPalette& pal) {
        RoundedPanel(p, pal, QRectF(8, 3, 19, 23), QColor(255, 255, 255));
        RoundedPanel(p, pal, QRectF(4, 7, 19, 23), QColor(255, 255, 255));
        Box(p, pal, {8, 25}, 9, 9, 9);
    };
    d["web"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(pal.fill);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 5, 12);
        Line(p, {4, 16}, {28, 16});
        Line(p, {6, 10}, {26, 10});
        Line(p, {6, 22}, {26, 22});
    };
    d["exit"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.8));
        p.setBrush(Qt::NoBrush);
        Poly(p, {{17, 9}, {17, 4}, {5, 4}, {5, 28}, {17, 28}, {17, 23}}, false);
        p.setPen(QPen(pal.point, 2.2, Qt::SolidLine, Qt::RoundCap));
        Line(p, {11, 16}, {27, 16});
        Arrowhead(p, {11, 16}, {29, 16}, 7, pal.point);
    };
    auto doc = [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath d;
        d.moveTo(6, 3);
        d.lineTo(20, 3);
        d.lineTo(26, 9);
        d.lineTo(26, 29);
        d.lineTo(6, 29);
        d.closeSubpath();
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(d);
        Poly(p, {{20, 3}, {20, 9}, {26, 9}}, false);
    };
    d["new"] = [doc](QPainter& p, const HxIconPalette& pal) {
        doc(p, pal);
        Dot(p, pal, {23, 24}, 6, pal.green);
        Text(p, QRectF(17, 18, 12, 12), "+", QColor(255, 255, 255), 12, true);
    };
    d["open"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.5));
        p.setBrush(QColor(0xf6, 0xc3, 0x4a));
        Poly(p, {{3, 7}, {12, 7}, {14, 10}, {26, 10}, {26, 26}, {3, 26}});
        p.setBrush(QColor(0xfb, 0xdc, 0x84));
        Poly(p, {{3, 26}, {8, 15}, {30, 15}, {26, 26}});
    };
    d["save"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.6));
        p.setBrush(pal.accent);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(9, 4, 14, 8));
        p.drawRect(QRectF(8, 17, 16, 11));
    };
    d["print"] = [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Stroke(pal, 1.5));
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(9, 3, 14, 9));
        p.setBrush(pal.fill);
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(9, 18, 14, 10));
    };
    d["app"] = [](QPainter& p, const HxIconPalette&) {
        // The program's mark: a tetrahedron on a blue tile.
        QLinearGradient g(0, 0, 32, 32);
        g.setColorAt(0, QColor(0x3b, 0x8e, 0xea));
        g.setColorAt(1, QColor(0x1c, 0x4f, 0xa8));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
        QPointF a(16, 5), b(6, 24), c(26, 24), d(18, 19);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawPolygon(QPolygonF({a, b, c}));
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawPolygon(QPolygonF({a, d, c}));
        QPen white(QColor(255, 255, 255), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(white);
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({a, b, c}));
        Line(p, a, d);
        Line(p, d, c);
        QPen dash(QColor(255, 255, 255, 200), 1.3, Qt::DashLine);
        p.setPen(dash);
        Line(p, b, d);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0x8a, 0x65));
        p.drawEllipse(a, 2.4, 2.4);
    };
    return d;
}

class HxVectorIconEngine : public QIconEngine {
public:
    explicit HxVectorIconEngine(const QString& name) : m_name(name) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        HxPaintRibbonIcon(*painter, rect, m_name, mode == QIcon::Disabled);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new HxVectorIconEngine(m_name); }
    QString key() const override { return QStringLiteral("HxVectorIconEngine"); }

private:
    QString m_name;
};

} // namespace

void HxSetIconPalette(const HxIconPalette& palette) {
    g_iconPalette = palette;
}
const HxIconPalette& HxGetIconPalette() {
    return g_iconPalette;
}

void HxAddRibbonIcon(const QString& name, HxIconDrawing draw) {
    Drawings()[name] = std::move(draw);
}

bool HxHasRibbonIcon(const QString& name) {
    return Drawings().count(name) != 0;
}

QStringList HxRibbonIconNames() {
    QStringList names;
    for (const auto& [name, draw] : Drawings())
        names << name;
    return names;
}

QIcon HxRibbonIcon(const QString& name) {
    return QIcon(new HxVectorIconEngine(name));
}

void HxPaintRibbonIcon(QPainter& painter, const QRectF& rect, const QString& name, bool disabled) {
    auto it = Drawings().find(name);
    if (it == Drawings().end())
        it = Drawings().find(QStringLiteral("generic"));
    if (disabled) {
        // Draw in colour, then wash out: a disabled icon keeps its shape and loses its colour.
        QSize size = rect.size().toSize();
        if (size.isEmpty())
            return;
        qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        QImage img(size * dpr, QImage::Format_ARGB32_Premultiplied);
        img.setDevicePixelRatio(dpr);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size.width() / 32.0, size.height() / 32.0);
            it->second(p, g_iconPalette);
        }
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                QRgb c = qUnpremultiply(line[x]);
                int a = qAlpha(c);
                int g = std::min(255, qGray(c) / 2 + 110);
                line[x] = qPremultiply(qRgba(g, g, g, a * 2 / 5));
            }
        }
        painter.drawImage(rect.topLeft(), img);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 32.0, rect.height() / 32.0);
    it->second(painter, g_iconPalette);
    painter.restore();
}

QPen HxIconPen(const QColor& color, double width, Qt::PenStyle style) {
    QPen pen(color, width, style, Qt::RoundCap, Qt::RoundJoin);
    if (style == Qt::DashLine)
        pen.setDashPattern({2.0, 2.0});
    return pen;
}

void HxIconDot(QPainter& p, const QColor& color, QPointF c, double r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, r, r);
    p.restore();
}
