// Pictures of the formula editor: structures and built-in formulas typeset by the engine, symbol
// images, arrow types and the format toolbar's buttons drawn with QPainter.
#include "app/formula_icons.h"

#include "app/formula_ids.h"
#include "formula/bin_tree.h"
#include "formula/box_node.h"
#include "formula/formula_editor.h"
#include "formula/formula_templates.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <map>

namespace {

// A picture scaled down (never up) to fit a size, on white made transparent.
QPixmap FitPicture(const QImage& picture, int maxWidth, int maxHeight) {
    if (picture.isNull())
        return QPixmap();
    QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = 0;
    }
    if (img.width() > maxWidth || img.height() > maxHeight)
        img = img.scaled(maxWidth, maxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(img);
}

// A picture centred on a transparent square.
QPixmap Centred(const QPixmap& picture, int width, int height) {
    QPixmap out(width, height);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawPixmap((width - picture.width()) / 2, (height - picture.height()) / 2, picture);
    return out;
}

} // namespace

QIcon HxStructureIcon(int code) {
    static std::map<int, QIcon> cache;
    auto it = cache.find(code);
    if (it != cache.end())
        return it->second;
    CBinTree doc;
    doc.m_defaultFont.lfHeight = 18;
    QIcon icon;
    if (doc.SetMarkup(HX_EMPTY_FORMULA)) {
        const int dims[2] = {2, 2};
        doc.m_pRoot->InsertStructure(code, nullptr, dims);
        doc.ApplyDefaultFont();
        icon = QIcon(Centred(FitPicture(doc.RenderBitmap(), 20, 20), 21, 20));
    }
    cache.emplace(code, icon);
    return icon;
}

QPixmap HxFormulaTemplatePicture(int index, int maxWidth, int maxHeight) {
    CBinTree doc;
    doc.m_defaultFont.lfHeight = 24;
    if (!doc.SetMarkup(HX_EMPTY_FORMULA))
        return QPixmap();
    CFormulaEditor editor;
    editor.SetDocument(&doc);
    if (!editor.InsertTemplate(index))
        return QPixmap();
    return FitPicture(doc.RenderBitmap(), maxWidth, maxHeight);
}

const std::vector<QPixmap>& HxSymbolImages() {
    static const std::vector<QPixmap> images = [] {
        std::vector<QPixmap> out;
        QFont font(QStringLiteral("宋体"));
        font.setPixelSize(15);
        for (int i = 0; i < HX_FORMULA_SYMBOL_COUNT; ++i) {
            QPixmap pm(20, 20);
            pm.fill(Qt::white);
            QPainter p(&pm);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, QString(QChar(HxFormulaSymbol(i))));
            out.push_back(pm);
        }
        return out;
    }();
    return images;
}

QPixmap HxArrowTypeImage(int type) {
    QPixmap pm(16, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    auto head = [&p](double x, double y, int dir, bool upper, bool lower) {
        if (upper)
            p.drawLine(QPointF(x, y), QPointF(x - 4 * dir, y - 3));
        if (lower)
            p.drawLine(QPointF(x, y), QPointF(x - 4 * dir, y + 3));
    };
    const double l = 1.5, r = 14.5, m = 6.5;
    switch (type) {
    case 0: // right arrow
        p.drawLine(QPointF(l, m), QPointF(r, m));
        head(r, m, 1, true, true);
        break;
    case 1: // left arrow
        p.drawLine(QPointF(l, m), QPointF(r, m));
        head(l, m, -1, true, true);
        break;
    case 2: // both ways
        p.drawLine(QPointF(l, m), QPointF(r, m));
        head(r, m, 1, true, true);
        head(l, m, -1, true, true);
        break;
    case 3:
    case 4:
    case 5:
    case 12:
    case 13: { // double arrows (12 and 13 with a bar at the tail)
        p.drawLine(QPointF(l + 1, m - 1.5), QPointF(r - 1, m - 1.5));
        p.drawLine(QPointF(l + 1, m + 1.5), QPointF(r - 1, m + 1.5));
        if (type == 3 || type == 5 || type == 12)
            head(r, m, 1, true, true);
        if (type == 4 || type == 5 || type == 13)
            head(l, m, -1, true, true);
        if (type == 12)
            p.drawLine(QPointF(l, m - 3), QPointF(l, m + 3));
        if (type == 13)
            p.drawLine(QPointF(r, m - 3), QPointF(r, m + 3));
        break;
    }
    case 6: // long equals
        p.drawLine(QPointF(l, m - 1.5), QPointF(r, m - 1.5));
        p.drawLine(QPointF(l, m + 1.5), QPointF(r, m + 1.5));
        break;
    case 7: // right over left
        p.drawLine(QPointF(l, m - 2.5), QPointF(r, m - 2.5));
        head(r, m - 2.5, 1, true, true);
        p.drawLine(QPointF(l, m + 2.5), QPointF(r, m + 2.5));
        head(l, m + 2.5, -1, true, true);
        break;
    default: { // harpoons: 8 both, 9 lower with a line, 10 upper with a line, 11 both with lines
        const bool upperHarpoon = type != 9;
        const bool lowerHarpoon = type != 10;
        if (upperHarpoon) {
            p.drawLine(QPointF(l, m - 2), QPointF(r, m - 2));
            head(r, m - 2, 1, true, false);
        }
        if (lowerHarpoon) {
            p.drawLine(QPointF(l, m + 2), QPointF(r, m + 2));
            head(l, m + 2, -1, false, true);
        }
        if (type == 9 || type == 11)
            p.drawLine(QPointF(l, 11.5), QPointF(r, 11.5));
        if (type == 10 || type == 11)
            p.drawLine(QPointF(l, 0.5), QPointF(r, 0.5));
        break;
    }
    }
    return pm;
}

QIcon HxFormatToolIcon(UINT id) {
    QPixmap pm(21, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor ink(0x33, 0x3d, 0x4a), accent(0x2a, 0x78, 0xd6);
    auto letter = [&p, &ink](const QString& text, bool bold, bool italic, bool underline) {
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(16);
        f.setBold(bold);
        f.setItalic(italic);
        f.setUnderline(underline);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(QRect(0, 0, 21, 20), Qt::AlignCenter, text);
    };
    auto page = [&p, &ink](QRectF r) {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(r);
        for (double y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
            p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    };
    auto curvedArrow = [&p, &accent](bool redo) {
        QPainterPath path;
        if (!redo) {
            path.moveTo(16, 15);
            path.cubicTo(17, 6, 9, 4, 5, 9);
        } else {
            path.moveTo(5, 15);
            path.cubicTo(4, 6, 12, 4, 16, 9);
        }
        p.setPen(QPen(accent, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        const QPointF tip = redo ? QPointF(16, 9) : QPointF(5, 9);
        const double d = redo ? -1 : 1;
        p.setBrush(accent);
        p.setPen(Qt::NoPen);
        p.drawPolygon(
            QPolygonF({tip + QPointF(-1 * d, -4), tip + QPointF(4 * d, 1), tip + QPointF(-2 * d, 3)}));
    };
    switch (id) {
    case IDOK:
        p.setPen(QPen(QColor(0x23, 0x9b, 0x5a), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4, 10), QPointF(9, 15), QPointF(17, 5)}));
        break;
    case ID_MTF_COLOR: {
        letter(QStringLiteral("A"), true, false, false);
        const QColor bands[3] = {Qt::red, QColor(0, 160, 0), Qt::blue};
        for (int i = 0; i < 3; ++i)
            p.fillRect(QRect(3 + 5 * i, 17, 5, 3), bands[i]);
        break;
    }
    case ID_CHAR_BOLD:
        letter(QStringLiteral("B"), true, false, false);
        break;
    case ID_CHAR_ITALIC:
        letter(QStringLiteral("I"), false, true, false);
        break;
    case ID_CHAR_UNDERLINE:
        letter(QStringLiteral("U"), false, false, true);
        break;
    case ID_MTF_SYMBOL:
        letter(QStringLiteral("Ω"), false, false, false);
        break;
    case ID_EDIT_CUT:
        p.setPen(QPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 12, 5, 5));
        p.drawEllipse(QRectF(13, 12, 5, 5));
        p.drawLine(QPointF(7, 12), QPointF(14, 2));
        p.drawLine(QPointF(14, 12), QPointF(7, 2));
        break;
    case ID_EDIT_COPY:
        page(QRectF(3.5, 2.5, 9, 11));
        page(QRectF(8.5, 6.5, 9, 11));
        break;
    case ID_EDIT_PASTE:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(0xd9, 0xb3, 0x6c));
        p.drawRoundedRect(QRectF(3.5, 3.5, 11, 14), 1.5, 1.5);
        p.setBrush(ink);
        p.drawRect(QRectF(6.5, 2, 5, 3));
        page(QRectF(9.5, 8.5, 8, 10));
        break;
    case ID_EDIT_UNDO:
        curvedArrow(false);
        break;
    case ID_EDIT_REDO:
        curvedArrow(true);
        break;
    default:
        return QIcon();
    }
    p.end();
    return QIcon(pm);
}
