// The icons of the figure commands, on the ribbon's 32 x 32 grid: the hidden-surface face, the
// circles, the spheres and the coordinate frame, the intersection and division points, and the
// polyhedra (solids in a cabinet view, hidden edges dashed, the front faces tinted).
#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <utility>
#include <vector>

namespace {

QPen Pen(const QColor& color, double width = 1.8, bool dashed = false) {
    QPen pen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (dashed) {
        pen.setStyle(Qt::CustomDashLine);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({2.0, 2.0});
        QColor c = color;
        c.setAlphaF(0.7f);
        pen.setColor(c);
    }
    return pen;
}

void Dot(QPainter& p, const QColor& color, QPointF c, double r = 2.6) {
    HxIconDot(p, color, c, r);
}

// Cabinet view: x right, y away (half length at 45 degrees), z up; (0, 0, 0) at `origin`.
struct CView {
    QPointF origin;
    QPointF operator()(double x, double y, double z) const {
        return {origin.x() + x + 0.35 * y, origin.y() - z - 0.35 * y};
    }
};

// A solid given by its corners: the faces in `front` tinted, the edges drawn solid or (hidden)
// dashed.
struct CSolid {
    std::vector<QPointF> corners;
    std::vector<std::vector<int>> front;
    std::vector<std::pair<int, int>> edges, hidden;
};
void DrawSolid(QPainter& p, const HxIconPalette& pal, const CSolid& s) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(pal.fill);
    for (const auto& face : s.front) {
        QPolygonF polygon;
        for (int i : face)
            polygon << s.corners[size_t(i)];
        p.drawPolygon(polygon);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(pal.stroke, 1.4, true));
    for (auto [a, b] : s.hidden)
        p.drawLine(s.corners[size_t(a)], s.corners[size_t(b)]);
    p.setPen(Pen(pal.stroke, 1.7));
    for (auto [a, b] : s.edges)
        p.drawLine(s.corners[size_t(a)], s.corners[size_t(b)]);
    p.restore();
}

// A prism over a regular n-gon base in the plane z = 0 (radius r about (cx, cy)) to height h; the
// edges on the far side dashed.
CSolid RegularPrism(const CView& v, int n, double cx, double cy, double r, double h, double turn) {
    CSolid s;
    for (int level = 0; level < 2; ++level)
        for (int i = 0; i < n; ++i) {
            const double a = turn + 2.0 * M_PI * i / n;
            s.corners.push_back(v(cx + r * std::cos(a), cy + r * std::sin(a), level * h));
        }
    for (int i = 0; i < n; ++i) {
        const double a = turn + 2.0 * M_PI * (i + 0.5) / n;
        const bool far = std::sin(a) > 0.05; // the side faces away from the viewer
        const int j = (i + 1) % n;
        (far ? s.hidden : s.edges).push_back({i, j});
        s.edges.push_back({n + i, n + j});
        if (!far)
            s.front.push_back({i, j, n + j, n + i});
    }
    for (int i = 0; i < n; ++i) {
        const double prev = turn + 2.0 * M_PI * (i - 0.5) / n, next = turn + 2.0 * M_PI * (i + 0.5) / n;
        const bool far = std::sin(prev) > 0.05 && std::sin(next) > 0.05;
        (far ? s.hidden : s.edges).push_back({i, n + i});
    }
    return s;
}

// A pyramid (top scale 0) or frustum over a regular n-gon base.
CSolid RegularPyramid(const CView& v, int n, double cx, double cy, double r, double h, double turn,
                      double top) {
    CSolid s;
    for (int i = 0; i < n; ++i) {
        const double a = turn + 2.0 * M_PI * i / n;
        s.corners.push_back(v(cx + r * std::cos(a), cy + r * std::sin(a), 0));
    }
    const int apex = n;
    if (top <= 0.0) {
        s.corners.push_back(v(cx, cy, h));
    } else {
        for (int i = 0; i < n; ++i) {
            const double a = turn + 2.0 * M_PI * i / n;
            s.corners.push_back(v(cx + top * r * std::cos(a), cy + top * r * std::sin(a), h));
        }
    }
    auto upper = [&](int i) { return top <= 0.0 ? apex : n + i; };
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        const double mid = turn + 2.0 * M_PI * (i + 0.5) / n;
        const bool far = std::sin(mid) > 0.05;
        (far ? s.hidden : s.edges).push_back({i, j});
        if (top > 0.0)
            s.edges.push_back({n + i, n + j});
        if (!far)
            s.front.push_back(top > 0.0 ? std::vector<int>{i, j, n + j, n + i}
                                        : std::vector<int>{i, j, apex});
    }
    for (int i = 0; i < n; ++i) {
        const double prev = turn + 2.0 * M_PI * (i - 0.5) / n, next = turn + 2.0 * M_PI * (i + 0.5) / n;
        const bool far = std::sin(prev) > 0.05 && std::sin(next) > 0.05;
        (far ? s.hidden : s.edges).push_back({i, upper(i)});
    }
    return s;
}

// A box of the corners (0, 0, 0) to (w, d, h), its top shifted by (sx, sy).
CSolid Box(const CView& v, double w, double d, double h, double sx = 0.0, double sy = 0.0) {
    CSolid s;
    for (int k = 0; k < 8; ++k) {
        const double z = (k & 4) ? h : 0.0;
        const double shift = (k & 4) ? 1.0 : 0.0;
        s.corners.push_back(v(((k & 1) ? w : 0.0) + shift * sx, ((k & 2) ? d : 0.0) + shift * sy, z));
    }
    s.front = {{0, 1, 5, 4}, {4, 5, 7, 6}, {1, 3, 7, 5}};
    s.edges = {{0, 1}, {1, 3}, {4, 5}, {5, 7}, {7, 6}, {6, 4}, {0, 4}, {1, 5}, {3, 7}};
    s.hidden = {{0, 2}, {2, 3}, {2, 6}};
    return s;
}

void Circle(QPainter& p, const QColor& color, QPointF c, double rx, double ry, double width = 1.8) {
    p.setPen(Pen(color, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, rx, ry);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    p.setPen(Pen(color, 1.8));
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF l(to.x() - 5 * std::cos(a - 0.45), to.y() - 5 * std::sin(a - 0.45));
    const QPointF r(to.x() - 5 * std::cos(a + 0.45), to.y() - 5 * std::sin(a + 0.45));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({to, l, r}));
    p.restore();
}

void Label(QPainter& p, QPointF at, const QString& text, const QColor& color, int px = 9) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(true);
    p.save();
    p.setFont(f);
    p.setPen(color);
    p.drawText(at, text);
    p.restore();
}

void Segment(QPainter& p, const HxIconPalette& pal, QPointF a, QPointF b) {
    p.setPen(Pen(pal.stroke, 2.0));
    p.drawLine(a, b);
    Dot(p, pal.stroke, a, 2.2);
    Dot(p, pal.stroke, b, 2.2);
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("face-hidden"), [](QPainter& p, const HxIconPalette& pal) {
        const QPolygonF pentagon({{6, 24}, {22, 27}, {28, 14}, {17, 5}, {4, 12}});
        p.setPen(Pen(pal.accent, 1.6));
        p.setBrush(pal.fill);
        p.drawPolygon(pentagon);
        for (const QPointF& c : pentagon)
            Dot(p, pal.point, c);
    });
    HxAddRibbonIcon(QStringLiteral("circle-3p"), [](QPainter& p, const HxIconPalette& pal) {
        Circle(p, pal.accent, {16, 16}, 12, 12);
        for (double a : {0.5, 2.4, 4.3})
            Dot(p, pal.point, {16 + 12 * std::cos(a), 16 - 12 * std::sin(a)});
    });
    HxAddRibbonIcon(QStringLiteral("circle-cp"), [](QPainter& p, const HxIconPalette& pal) {
        Circle(p, pal.accent, {16, 16}, 12, 12);
        p.setPen(Pen(pal.stroke, 1.2, true));
        p.drawLine(QPointF(16, 16), QPointF(16 + 12 * std::cos(0.6), 16 - 12 * std::sin(0.6)));
        Dot(p, pal.stroke, {16, 16});
        for (double a : {0.6, 3.6})
            Dot(p, pal.point, {16 + 12 * std::cos(a), 16 - 12 * std::sin(a)});
    });
    HxAddRibbonIcon(QStringLiteral("circle-pn"), [](QPainter& p, const HxIconPalette& pal) {
        Circle(p, pal.accent, {15, 21}, 12, 5);
        Arrow(p, {15, 21}, {15, 4}, pal.stroke);
        Dot(p, pal.stroke, {15, 21});
        Dot(p, pal.point, {27, 21});
    });
    HxAddRibbonIcon(QStringLiteral("circle-horizontal"), [](QPainter& p, const HxIconPalette& pal) {
        Circle(p, pal.accent, {16, 18}, 13, 6);
        p.setPen(Pen(pal.stroke, 1.2, true));
        p.drawLine(QPointF(16, 18), QPointF(29, 18));
        Dot(p, pal.stroke, {16, 18});
        Dot(p, pal.point, {29, 18});
    });
    HxAddRibbonIcon(QStringLiteral("circle-cr"), [](QPainter& p, const HxIconPalette& pal) {
        Circle(p, pal.accent, {14, 18}, 11, 11);
        p.setPen(Pen(pal.stroke, 1.4));
        p.drawLine(QPointF(14, 18), QPointF(25, 18));
        Dot(p, pal.stroke, {14, 18});
        Label(p, {17, 15}, QStringLiteral("r"), pal.orange, 10);
        // The slider of the radius.
        p.setPen(Pen(pal.stroke, 1.2));
        p.drawLine(QPointF(20, 4), QPointF(31, 4));
        Dot(p, pal.orange, {27, 4}, 2.0);
    });
    HxAddRibbonIcon(QStringLiteral("sphere-body"), [](QPainter& p, const HxIconPalette& pal) {
        QRadialGradient g(QPointF(12, 11), 16);
        g.setColorAt(0, QColor(255, 255, 255, 200));
        g.setColorAt(1, pal.fill);
        p.setPen(Pen(pal.stroke, 1.6));
        p.setBrush(g);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setBrush(Qt::NoBrush);
        p.setPen(Pen(pal.accent, 1.2));
        p.drawArc(QRectF(3, 12, 26, 8), 180 * 16, 180 * 16); // the equator, front half
        p.drawArc(QRectF(10, 3, 12, 26), 90 * 16, 180 * 16); // a meridian
        p.setPen(Pen(pal.accent, 1.2, true));
        p.drawArc(QRectF(3, 12, 26, 8), 0, 180 * 16);
        // The right triangle O O' R.
        p.setPen(Pen(pal.orange, 1.4));
        p.drawPolygon(QPolygonF({{16, 16}, {16, 8}, {25, 8}}));
        Dot(p, pal.point, {16, 16}, 2.0);
        Dot(p, pal.point, {25, 8}, 2.0);
    });
    HxAddRibbonIcon(QStringLiteral("axes-frame"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF o(11, 22);
        Arrow(p, o, {29, 22}, QColor(220, 40, 40));
        Arrow(p, o, {22, 12}, QColor(30, 160, 60));
        Arrow(p, o, {11, 3}, QColor(40, 80, 220));
        Dot(p, pal.stroke, o, 2.2);
    });
    HxAddRibbonIcon(QStringLiteral("intersection"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.8));
        p.drawLine(QPointF(3, 26), QPointF(29, 8));
        p.drawLine(QPointF(5, 6), QPointF(27, 28));
        Dot(p, pal.point, {16.2, 17.1}, 3.2);
    });
    HxAddRibbonIcon(QStringLiteral("trisection"), [](QPainter& p, const HxIconPalette& pal) {
        Segment(p, pal, {3, 20}, {29, 20});
        for (double x : {3 + 26.0 / 3, 3 + 52.0 / 3})
            Dot(p, pal.point, {x, 20}, 3.0);
        Label(p, {12, 12}, QStringLiteral("3"), pal.accent, 11);
    });
    HxAddRibbonIcon(QStringLiteral("n-division"), [](QPainter& p, const HxIconPalette& pal) {
        Segment(p, pal, {3, 20}, {29, 20});
        for (int k = 1; k < 5; ++k)
            Dot(p, pal.point, {3 + 26.0 * k / 5, 20}, 2.4);
        Label(p, {12, 12}, QStringLiteral("N"), pal.accent, 11);
    });
    HxAddRibbonIcon(QStringLiteral("cuboid"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, Box(CView{{3, 28}}, 20, 14, 12));
    });
    HxAddRibbonIcon(QStringLiteral("parallelepiped"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, Box(CView{{2, 28}}, 17, 13, 15, 5, -3));
    });
    HxAddRibbonIcon(QStringLiteral("prism-triangle"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, RegularPrism(CView{{11, 27}}, 3, 0, 6, 11, 16, -M_PI / 2));
    });
    HxAddRibbonIcon(QStringLiteral("prism-pentagon"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, RegularPrism(CView{{13, 27}}, 5, 0, 6, 11, 15, -M_PI / 2));
    });
    HxAddRibbonIcon(QStringLiteral("pyramid-triangle"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, RegularPyramid(CView{{12, 28}}, 3, 0, 6, 12, 22, -M_PI / 2, 0.0));
    });
    HxAddRibbonIcon(QStringLiteral("pyramid-square"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, RegularPyramid(CView{{12, 28}}, 4, 0, 6, 12, 22, -M_PI / 4, 0.0));
    });
    HxAddRibbonIcon(QStringLiteral("frustum-triangle"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, RegularPyramid(CView{{12, 28}}, 3, 0, 6, 12, 16, -M_PI / 2, 0.5));
    });
    HxAddRibbonIcon(QStringLiteral("frustum-hexagon"), [](QPainter& p, const HxIconPalette& pal) {
        DrawSolid(p, pal, RegularPyramid(CView{{13, 28}}, 6, 0, 6, 12, 15, 0.0, 0.55));
    });
    return true;
}();

} // namespace
