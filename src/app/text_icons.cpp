// The icons of the vector commands, the text, picture and table insertions, the command button and
// the display commands (weights, translucency, document options), on the ribbon's 32 x 32 grid.
#include "app/ribbon_icons.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

QPen Pen(const QColor& color, double width = 1.8) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Letter(QPainter& p, const QColor& color, const QRectF& box, const QString& text, double size = 11,
            bool italic = true) {
    p.save();
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(int(size));
    font.setItalic(italic);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

// An arrow from a to b with a filled head.
void Arrow(QPainter& p, const QColor& color, QPointF a, QPointF b) {
    p.save();
    p.setPen(Pen(color, 1.8));
    p.drawLine(a, b);
    const QPointF d = b - a;
    const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
    const QPointF u = d / len, n(-u.y(), u.x());
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({b, b - u * 6.0 + n * 3.0, b - u * 6.0 - n * 3.0}));
    p.restore();
}

// Two vectors from a common start and the sign of the operation between them.
void VectorPair(QPainter& p, const HxIconPalette& pal, const QString& sign) {
    Arrow(p, pal.stroke, QPointF(4, 28), QPointF(16, 8));
    Arrow(p, pal.stroke, QPointF(4, 28), QPointF(26, 24));
    Letter(p, pal.accent, QRectF(16, 4, 15, 15), sign, 14, false);
}

void Frame(QPainter& p, const QColor& color, const QRectF& r) {
    p.save();
    p.setPen(Pen(color, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

const bool g_registered = [] {
    HxAddRibbonIcon(QStringLiteral("vector-normal"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({QPointF(2, 26), QPointF(20, 26), QPointF(30, 18), QPointF(12, 18)}));
        Arrow(p, pal.accent, QPointF(16, 22), QPointF(16, 3));
    });
    HxAddRibbonIcon(QStringLiteral("vector-sum"),
                    [](QPainter& p, const HxIconPalette& pal) { VectorPair(p, pal, QStringLiteral("+")); });
    HxAddRibbonIcon(QStringLiteral("vector-difference"),
                    [](QPainter& p, const HxIconPalette& pal) { VectorPair(p, pal, QStringLiteral("−")); });
    HxAddRibbonIcon(QStringLiteral("vector-cross"),
                    [](QPainter& p, const HxIconPalette& pal) { VectorPair(p, pal, QStringLiteral("×")); });
    HxAddRibbonIcon(QStringLiteral("vector-dot"),
                    [](QPainter& p, const HxIconPalette& pal) { VectorPair(p, pal, QStringLiteral("·")); });
    HxAddRibbonIcon(QStringLiteral("vector-multiple"), [](QPainter& p, const HxIconPalette& pal) {
        Arrow(p, pal.stroke, QPointF(4, 28), QPointF(28, 6));
        Letter(p, pal.accent, QRectF(2, 2, 16, 16), QStringLiteral("λ"), 14);
    });
    HxAddRibbonIcon(QStringLiteral("vector-length"), [](QPainter& p, const HxIconPalette& pal) {
        Arrow(p, pal.stroke, QPointF(8, 24), QPointF(24, 8));
        p.setPen(Pen(pal.accent, 1.8));
        p.drawLine(QPointF(4, 4), QPointF(4, 28));
        p.drawLine(QPointF(28, 4), QPointF(28, 28));
    });
    HxAddRibbonIcon(QStringLiteral("vector-mixed"), [](QPainter& p, const HxIconPalette& pal) {
        Arrow(p, pal.stroke, QPointF(6, 26), QPointF(6, 5));
        Arrow(p, pal.stroke, QPointF(6, 26), QPointF(28, 26));
        Arrow(p, pal.stroke, QPointF(6, 26), QPointF(20, 14));
        Letter(p, pal.accent, QRectF(14, 2, 17, 12), QStringLiteral("[ ]"), 10, false);
    });
    HxAddRibbonIcon(QStringLiteral("vector-components"), [](QPainter& p, const HxIconPalette& pal) {
        Arrow(p, pal.stroke, QPointF(4, 28), QPointF(22, 12));
        Letter(p, pal.accent, QRectF(8, 0, 24, 12), QStringLiteral("x y z"), 9);
    });
    HxAddRibbonIcon(QStringLiteral("label-edit"), [](QPainter& p, const HxIconPalette& pal) {
        Letter(p, pal.stroke, QRectF(2, 4, 18, 18), QStringLiteral("A"), 16);
        p.setPen(Pen(pal.accent, 2.2));
        p.drawLine(QPointF(14, 28), QPointF(29, 13));
        p.setPen(Pen(pal.point, 2.2));
        p.drawLine(QPointF(27, 11), QPointF(30, 8));
    });
    HxAddRibbonIcon(QStringLiteral("formula-text"), [](QPainter& p, const HxIconPalette& pal) {
        Letter(p, pal.accent, QRectF(2, 2, 28, 14), QStringLiteral("a+b"), 11);
        p.setPen(Pen(pal.stroke, 1.4));
        p.drawLine(QPointF(5, 17), QPointF(27, 17));
        Letter(p, pal.point, QRectF(2, 17, 28, 13), QStringLiteral("2"), 11);
    });
    HxAddRibbonIcon(QStringLiteral("picture"), [](QPainter& p, const HxIconPalette& pal) {
        Frame(p, pal.stroke, QRectF(3, 5, 26, 22));
        p.setPen(Qt::NoPen);
        p.setBrush(pal.green);
        p.drawPolygon(
            QPolygonF({QPointF(5, 25), QPointF(13, 14), QPointF(19, 21), QPointF(22, 17), QPointF(27, 25)}));
        p.setBrush(pal.orange);
        p.drawEllipse(QPointF(22, 10), 2.5, 2.5);
    });
    HxAddRibbonIcon(QStringLiteral("bitmap-text"), [](QPainter& p, const HxIconPalette& pal) {
        Frame(p, pal.stroke, QRectF(3, 5, 26, 22));
        Letter(p, pal.stroke, QRectF(3, 5, 26, 22), QStringLiteral("Ab"), 14, false);
    });
    HxAddRibbonIcon(QStringLiteral("rich-text"), [](QPainter& p, const HxIconPalette& pal) {
        Frame(p, pal.stroke, QRectF(2, 4, 28, 24));
        Letter(p, pal.stroke, QRectF(3, 8, 14, 18), QStringLiteral("A"), 16, false);
        Letter(p, pal.accent, QRectF(14, 4, 12, 12), QStringLiteral("2"), 10, false);
        Letter(p, pal.accent, QRectF(15, 14, 14, 14), QStringLiteral("x"), 13, true);
    });
    HxAddRibbonIcon(QStringLiteral("slide-import"), [](QPainter& p, const HxIconPalette& pal) {
        // A slide with a title bar and lines of text, and an arrow into the page.
        p.fillRect(QRectF(2, 4, 20, 16), pal.fill);
        Frame(p, pal.stroke, QRectF(2, 4, 20, 16));
        p.fillRect(QRectF(5, 7, 14, 3), pal.orange);
        p.setPen(Pen(pal.stroke, 1.2));
        p.drawLine(QPointF(5, 13), QPointF(19, 13));
        p.drawLine(QPointF(5, 16), QPointF(15, 16));
        Arrow(p, pal.accent, QPointF(14, 22), QPointF(28, 29));
    });
    HxAddRibbonIcon(QStringLiteral("texture"), [](QPainter& p, const HxIconPalette& pal) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                p.fillRect(QRectF(4 + 6 * i, 4 + 6 * j, 6, 6), (i + j) % 2 ? pal.accent : pal.fill);
            }
        }
        Frame(p, pal.stroke, QRectF(4, 4, 24, 24));
    });
    HxAddRibbonIcon(QStringLiteral("table"), [](QPainter& p, const HxIconPalette& pal) {
        p.fillRect(QRectF(4, 5, 24, 6), pal.fill);
        p.setPen(Pen(pal.stroke, 1.3));
        p.drawRect(QRectF(4, 5, 24, 22));
        for (double y : {11.0, 16.5, 22.0})
            p.drawLine(QPointF(4, y), QPointF(28, y));
        for (double x : {12.0, 20.0})
            p.drawLine(QPointF(x, 5), QPointF(x, 27));
    });
    HxAddRibbonIcon(QStringLiteral("command-button"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(pal.fill);
        p.drawRoundedRect(QRectF(3, 9, 26, 14), 3, 3);
        for (int i = 0; i < 3; ++i)
            Arrow(p, pal.accent, QPointF(7 + 7 * i, 16), QPointF(11 + 7 * i, 16));
    });
    HxAddRibbonIcon(QStringLiteral("auto-button"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(pal.fill);
        p.drawRoundedRect(QRectF(3, 12, 26, 14), 3, 3);
        Letter(p, pal.accent, QRectF(3, 0, 26, 12), QStringLiteral("A"), 11, false);
    });
    HxAddRibbonIcon(QStringLiteral("weight"), [](QPainter& p, const HxIconPalette& pal) {
        double y = 6;
        for (double w : {1.0, 2.0, 3.5, 5.0}) {
            p.setPen(Pen(pal.stroke, w));
            p.drawLine(QPointF(5, y), QPointF(27, y));
            y += 6.5;
        }
    });
    HxAddRibbonIcon(QStringLiteral("weight-increase"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 4.0));
        p.drawLine(QPointF(4, 22), QPointF(22, 22));
        Letter(p, pal.accent, QRectF(16, 2, 15, 15), QStringLiteral("+"), 16, false);
    });
    HxAddRibbonIcon(QStringLiteral("weight-decrease"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.2));
        p.drawLine(QPointF(4, 22), QPointF(22, 22));
        Letter(p, pal.accent, QRectF(16, 2, 15, 15), QStringLiteral("−"), 16, false);
    });
    HxAddRibbonIcon(QStringLiteral("translucent"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.3));
        p.setBrush(pal.accent);
        p.drawRect(QRectF(4, 4, 16, 16));
        QColor glass = pal.fill;
        glass.setAlpha(110);
        p.setBrush(glass);
        p.drawRect(QRectF(12, 12, 16, 16));
    });
    HxAddRibbonIcon(QStringLiteral("document-options"), [](QPainter& p, const HxIconPalette& pal) {
        p.setPen(Pen(pal.stroke, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(
            QPolygonF({QPointF(6, 3), QPointF(20, 3), QPointF(26, 9), QPointF(26, 29), QPointF(6, 29)}));
        p.setPen(Pen(pal.accent, 1.4));
        for (double y : {12.0, 17.0, 22.0})
            p.drawLine(QPointF(10, y), QPointF(22, y));
    });
    return true;
}();

} // namespace
