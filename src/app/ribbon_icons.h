// The program's icons: small vector drawings made with QPainter on a 32-unit grid, crisp at any
// size, coloured for the current application look.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QRectF;

// The colours the drawings use; the application look sets them (dark looks draw light lines).
struct HxIconPalette {
    QColor stroke{0x33, 0x3d, 0x4a};
    QColor accent{0x2a, 0x78, 0xd6};
    QColor fill{0x2a, 0x78, 0xd6, 60};
    QColor point{0xe0, 0x44, 0x36};
    QColor green{0x23, 0x9b, 0x5a};
    QColor orange{0xf0, 0x92, 0x2a};
};
void HxSetIconPalette(const HxIconPalette& palette);
const HxIconPalette& HxGetIconPalette();

// The icon of a name; an unknown name gives a plain rounded square (and a known one is never that).
QIcon HxRibbonIcon(const QString& name);
bool HxHasRibbonIcon(const QString& name);
QStringList HxRibbonIconNames();
// Paints icon `name` into rect (used by the icon engine and by widgets that draw icons themselves).
void HxPaintRibbonIcon(QPainter& painter, const QRectF& rect, const QString& name, bool disabled = false);

// A drawing on the 32 x 32 grid, and the way other parts of the program add their own icons.
using HxIconDrawing = std::function<void(QPainter&, const HxIconPalette&)>;
void HxAddRibbonIcon(const QString& name, HxIconDrawing draw);

// What the drawings share: a pen with round caps and joins (dashes of 2 units), and a filled dot of
// radius r at c.
QPen HxIconPen(const QColor& color, double width = 1.8, Qt::PenStyle style = Qt::SolidLine);
void HxIconDot(QPainter& p, const QColor& color, QPointF c, double r);
