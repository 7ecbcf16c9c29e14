// Drawings of the object tree's and the panes' icons on the 32 x 32 grid of the ribbon icons.
#include "app/object_icons.h"

#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPen Pen(const QColor& color, double width = 2.0) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Dot(QPainter& p, QPointF c, double r, const QColor& color) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, r, r);
    p.restore();
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double width = 2.4) {
    p.save();
    p.setPen(Pen(color, width));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len > 0) {
        const QPointF u = d / len, n(-u.y(), u.x());
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPolygon(QPolygonF({to + u * 3.0, to - u * 5.0 + n * 5.0, to - u * 5.0 - n * 5.0}));
    }
    p.restore();
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p, const HxIconPalette& pal, const QRectF& r, const QColor& fill) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 7, r.top());
    path.lineTo(r.right(), r.top() + 7);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Pen(pal.stroke, 1.6));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
    p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

// A magnifying glass with a minus bar, the pen left on the bar's colour.
void Magnifier(QPainter& p, const HxIconPalette& pal) {
    p.setPen(Pen(pal.stroke, 2.2));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(13, 13), 9, 9);
    p.setPen(Pen(pal.stroke, 4.0));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(Pen(pal.accent, 2.4));
    p.drawLine(QPointF(9, 13), QPointF(17, 13));
}

// A box in projection: one face filled, the outline of the others and one more edge.
void ProjectedBox(QPainter& p, const HxIconPalette& pal, const QPointF (&face)[4], const QPolygonF& outline,
                  const QLineF& edge) {
    p.setPen(Pen(pal.stroke, 1.6));
    p.setBrush(pal.fill);
    p.drawPolygon(face, 4);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(outline);
    p.drawLine(edge);
}

// A window with its side and bottom panes filled.
void PanesWindow(QPainter& p, const HxIconPalette& pal, const QColor& paneFill) {
    p.setPen(Pen(pal.stroke, 1.6));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setBrush(paneFill);
    p.drawRect(QRectF(3, 5, 8, 22));
    p.drawRect(QRectF(3, 23, 26, 4));
}

void Register() {
    HxAddRibbonIcon(QStringLiteral("tree-document"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(7, 3, 19, 26), QColor(255, 255, 255));
        p.setPen(Pen(pal.accent, 1.6));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({QPointF(16, 11), QPointF(11, 23), QPointF(22, 23)}));
        p.drawLine(QPointF(16, 11), QPointF(18, 19));
        p.drawLine(QPointF(18, 19), QPointF(22, 23));
    });
    HxAddRibbonIcon(QStringLiteral("tree-page"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(6, 4, 20, 24), pal.fill);
        p.setPen(Pen(pal.stroke, 1.4));
        for (int y : {14, 19, 24})
            p.drawLine(QPointF(10, y), QPointF(22, y));
    });
    HxAddRibbonIcon(QStringLiteral("tree-free-point"), [](QPainter& p, const HxIconPalette& pal) {
        Arrow(p, {16, 16}, {28, 16}, pal.stroke, 1.8);
        Arrow(p, {16, 16}, {16, 4}, pal.stroke, 1.8);
        Arrow(p, {16, 16}, {7, 25}, pal.stroke, 1.8);
        Dot(p, {16, 16}, 5.2, pal.point);
    });
    HxAddRibbonIcon(QStringLiteral("tree-fixed-point"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.drawLine(QPointF(5, 27), QPointF(27, 27));
        p.drawLine(QPointF(5, 27), QPointF(5, 5));
        Dot(p, {17, 15}, 5.5, pal.point.darker(140));
    });
    HxAddRibbonIcon(QStringLiteral("tree-cone"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF apex(16, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({apex, QPointF(4, 24), QPointF(28, 24)}));
        p.setPen(Pen(pal.stroke, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawLine(apex, QPointF(4, 24));
        p.drawLine(apex, QPointF(28, 24));
        const QRectF base(4, 20, 24, 8);
        p.drawArc(base, 180 * 16, 180 * 16);
        QPen dash = Pen(pal.stroke, 1.4);
        dash.setDashPattern({2.0, 2.0});
        p.setPen(dash);
        p.drawArc(base, 0, 180 * 16);
    });
    HxAddRibbonIcon(QStringLiteral("tree-curve"), [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath path;
        path.moveTo(3, 24);
        path.cubicTo(10, -4, 16, 34, 29, 8);
        p.setPen(Pen(pal.green, 2.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    });
    HxAddRibbonIcon(QStringLiteral("tree-locus"), [](QPainter& p, const HxIconPalette& pal) {
        QPen dots = Pen(pal.green, 2.6);
        dots.setDashPattern({0.1, 2.2});
        p.setPen(dots);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4, 7, 24, 18));
        Dot(p, {28, 16}, 3.6, pal.point);
    });
    HxAddRibbonIcon(QStringLiteral("tree-text"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(3, 5, 26, 22), 3, 3);
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(17);
        f.setBold(true);
        p.setFont(f);
        p.setPen(pal.accent);
        p.drawText(QRectF(3, 5, 26, 22), Qt::AlignCenter, QStringLiteral("T"));
    });
    HxAddRibbonIcon(QStringLiteral("tree-value"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(2, 8, 28, 16), 3, 3);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(pal.orange.darker(130));
        p.drawText(QRectF(2, 8, 28, 16), Qt::AlignCenter, QStringLiteral("1.5"));
    });
    HxAddRibbonIcon(QStringLiteral("tree-button"), [](QPainter& p, const HxIconPalette& pal) {
        QLinearGradient g(0, 8, 0, 24);
        g.setColorAt(0, pal.accent.lighter(140));
        g.setColorAt(1, pal.accent);
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(3, 8, 26, 16), 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        p.drawPolygon(QPolygonF({QPointF(13, 11), QPointF(13, 21), QPointF(21, 16)}));
    });
    HxAddRibbonIcon(QStringLiteral("tree-iterate"), [](QPainter& p, const HxIconPalette& pal) {
        p.setBrush(Qt::NoBrush);
        double size = 24;
        QPointF c(16, 16);
        for (int k = 0; k < 3; ++k) {
            p.setPen(Pen(k == 2 ? pal.accent : pal.stroke, 1.6));
            p.save();
            p.translate(c);
            p.rotate(k * 20.0);
            p.drawRect(QRectF(-size / 2, -size / 2, size, size));
            p.restore();
            size *= 0.68;
        }
    });
    HxAddRibbonIcon(QStringLiteral("tree-surface"), [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath path;
        path.moveTo(3, 20);
        path.cubicTo(9, 12, 14, 26, 20, 18);
        path.lineTo(29, 10);
        path.cubicTo(24, 16, 18, 4, 12, 12);
        path.closeSubpath();
        p.setPen(Pen(pal.stroke, 1.6));
        p.setBrush(pal.fill);
        p.drawPath(path);
        p.setPen(Pen(pal.stroke, 1.0));
        p.drawLine(QPointF(9, 16), QPointF(17, 8));
        p.drawLine(QPointF(14, 18), QPointF(23, 11));
    });
    HxAddRibbonIcon(QStringLiteral("tree-other"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.6));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({QPointF(16, 3), QPointF(28, 10), QPointF(28, 23), QPointF(16, 29),
                                 QPointF(4, 23), QPointF(4, 10)}));
        p.drawLine(QPointF(16, 16), QPointF(16, 29));
        p.drawLine(QPointF(16, 16), QPointF(4, 10));
        p.drawLine(QPointF(16, 16), QPointF(28, 10));
    });

    // The object pane's toolbar and the page commands.
    HxAddRibbonIcon(QStringLiteral("collapse"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.6));
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(4, 4, 10, 10));
        p.drawLine(QPointF(7, 9), QPointF(11, 9));
        p.drawLine(QPointF(9, 14), QPointF(9, 26));
        p.drawLine(QPointF(9, 20), QPointF(16, 20));
        p.drawLine(QPointF(9, 26), QPointF(16, 26));
        p.setPen(Pen(pal.accent, 3.0));
        p.drawLine(QPointF(19, 20), QPointF(28, 20));
        p.drawLine(QPointF(19, 26), QPointF(28, 26));
    });
    HxAddRibbonIcon(QStringLiteral("refresh"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.green, 3.0));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawPolygon(QPolygonF({QPointF(19, 3), QPointF(27, 8), QPointF(18, 12)}));
    });
    HxAddRibbonIcon(QStringLiteral("delete"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.point, 3.6));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
    });
    HxAddRibbonIcon(QStringLiteral("cut"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(10, 3), QPointF(20, 20));
        p.drawLine(QPointF(22, 3), QPointF(12, 20));
        p.drawEllipse(QPointF(10, 24), 4.5, 4.5);
        p.drawEllipse(QPointF(22, 24), 4.5, 4.5);
    });
    HxAddRibbonIcon(QStringLiteral("copy"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(4, 3, 16, 20), QColor(255, 255, 255));
        Sheet(p, pal, QRectF(12, 9, 16, 20), pal.fill);
    });
    HxAddRibbonIcon(QStringLiteral("paste"), [](QPainter& p, const HxIconPalette& pal) {
        // A clipboard board with its clip, and a sheet laid on it.
        p.setPen(Pen(pal.stroke, 1.6));
        p.setBrush(pal.orange);
        p.drawRoundedRect(QRectF(4, 5, 18, 24), 2.0, 2.0);
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(9, 2, 8, 5), 1.5, 1.5);
        Sheet(p, pal, QRectF(13, 12, 15, 18), QColor(255, 255, 255));
    });
    HxAddRibbonIcon(QStringLiteral("select-page"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(5, 3, 20, 26), QColor(255, 255, 255));
        p.setPen(Pen(pal.accent, 3.0));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(10, 17), QPointF(14, 22), QPointF(22, 11)}));
    });
    HxAddRibbonIcon(QStringLiteral("new-page"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(4, 3, 20, 26), QColor(255, 255, 255));
        Dot(p, {23, 23}, 7.5, pal.green);
        p.setPen(Pen(QColor(255, 255, 255), 2.4));
        p.drawLine(QPointF(23, 19), QPointF(23, 27));
        p.drawLine(QPointF(19, 23), QPointF(27, 23));
    });
    HxAddRibbonIcon(QStringLiteral("page-prev"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(9, 3, 19, 26), pal.fill);
        Arrow(p, {20, 16}, {6, 16}, pal.accent, 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("page-next"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(4, 3, 19, 26), pal.fill);
        Arrow(p, {12, 16}, {26, 16}, pal.accent, 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("page-up"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(4, 9, 16, 20), pal.fill);
        Arrow(p, {24, 26}, {24, 6}, pal.accent, 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("page-down"), [](QPainter& p, const HxIconPalette& pal) {
        Sheet(p, pal, QRectF(4, 3, 16, 20), pal.fill);
        Arrow(p, {24, 6}, {24, 26}, pal.accent, 3.0);
    });
    HxAddRibbonIcon(QStringLiteral("fullscreen-exit"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 2.6));
        p.setBrush(Qt::NoBrush);
        for (QPointF c : {QPointF(11, 11), QPointF(21, 11), QPointF(11, 21), QPointF(21, 21)}) {
            const double sx = c.x() < 16 ? -1 : 1, sy = c.y() < 16 ? -1 : 1;
            p.drawPolyline(QPolygonF({QPointF(c.x() + sx * 7, c.y()), c, QPointF(c.x(), c.y() + sy * 7)}));
        }
    });
    HxAddRibbonIcon(QStringLiteral("zoom-in"), [](QPainter& p, const HxIconPalette& pal) {
        Magnifier(p, pal);
        p.drawLine(QPointF(13, 9), QPointF(13, 17));
    });
    HxAddRibbonIcon(QStringLiteral("zoom-out"),
                    [](QPainter& p, const HxIconPalette& pal) { Magnifier(p, pal); });
    // The three projections of a box: central (receding edges meet), orthographic, oblique.
    HxAddRibbonIcon(QStringLiteral("projection-central"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF f[4] = {{4, 12}, {18, 12}, {18, 28}, {4, 28}};
        const QPointF b[4] = {{14, 5}, {24, 5}, {24, 17}, {14, 17}};
        ProjectedBox(p, pal, f, QPolygonF({f[0], b[0], b[1], b[2], f[2]}), QLineF(f[1], b[1]));
        Dot(p, {30, 2}, 2.0, pal.accent);
    });
    HxAddRibbonIcon(QStringLiteral("projection-ortho"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF top[4] = {{16, 3}, {28, 9}, {16, 15}, {4, 9}};
        ProjectedBox(
            p, pal, top,
            QPolygonF({QPointF(4, 9), QPointF(4, 23), QPointF(16, 29), QPointF(28, 23), QPointF(28, 9)}),
            QLineF(16, 15, 16, 29));
    });
    HxAddRibbonIcon(QStringLiteral("projection-oblique"), [](QPainter& p, const HxIconPalette& pal) {
        const QPointF f[4] = {{3, 12}, {19, 12}, {19, 28}, {3, 28}};
        ProjectedBox(
            p, pal, f,
            QPolygonF({QPointF(3, 12), QPointF(11, 4), QPointF(27, 4), QPointF(27, 20), QPointF(19, 28)}),
            QLineF(19, 12, 27, 4));
    });
    HxAddRibbonIcon(QStringLiteral("show-hidden"), [](QPainter& p, const HxIconPalette& pal) {
        QPainterPath eye;
        eye.moveTo(3, 16);
        eye.quadTo(16, 3, 29, 16);
        eye.quadTo(16, 29, 3, 16);
        p.setPen(Pen(pal.stroke, 1.8));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(eye);
        Dot(p, {16, 16}, 5.0, pal.accent);
        Dot(p, {16, 16}, 2.0, pal.stroke);
    });
    HxAddRibbonIcon(QStringLiteral("panes-hide"), [](QPainter& p, const HxIconPalette& pal) {
        PanesWindow(p, pal, pal.fill);
        p.setPen(Pen(pal.point, 2.6));
        p.drawLine(QPointF(16, 11), QPointF(25, 20));
        p.drawLine(QPointF(25, 11), QPointF(16, 20));
    });
    HxAddRibbonIcon(QStringLiteral("panes-show"), [](QPainter& p, const HxIconPalette& pal) {
        PanesWindow(p, pal, pal.accent);
        p.setPen(Pen(pal.green, 2.6));
        p.drawPolyline(QPolygonF({QPointF(15, 15), QPointF(19, 19), QPointF(26, 11)}));
    });
}

constexpr const char* kImageNames[] = {
    "tree-page",  "tree-fixed-point", "tree-free-point", "line-segment", "polygon",      "circle",
    "tree-curve", "tree-locus",       "tree-text",       "tree-value",   "tree-button",  "cylinder",
    "tree-cone",  "frustum",          "sphere",          "tree-iterate", "tree-surface", "tree-other",
};

} // namespace

void HxRegisterObjectIcons() {
    static const bool registered = [] {
        Register();
        return true;
    }();
    (void)registered;
}

QString HxObjectIconName(int image) {
    if (image == 20)
        return QStringLiteral("tree-document");
    if (image >= 0 && image < int(std::size(kImageNames)))
        return QString::fromLatin1(kImageNames[image]);
    return QStringLiteral("tree-other");
}

QIcon HxObjectIcon(int image) {
    HxRegisterObjectIcons();
    return HxRibbonIcon(HxObjectIconName(image));
}
