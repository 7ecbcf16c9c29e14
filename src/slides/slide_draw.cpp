// Our own drawing of a slide's shape on white: its texts, a table's grid and cells, a group's members.
#include "slides/slide_draw.h"

#include "measure/rich_text.h"
#include "slides/slide_cost.h"
#include "slides/slide_place.h"
#include "slides/slide_text.h"
#include "view/glyph_font.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <set>

namespace {

constexpr double kPixelsPerPoint = 4.0 / 3.0;

// What a drawing is given besides its shape: the budget its texts are laid out within, and what is
// asked before each text is laid out (whether to draw it, given what its large characters cover).
struct CDrawing {
    HxLayoutBudget* budget = nullptr;
    const std::function<bool(qint64 cover)>& beforeText;
};

// A text in its box (in the picture's pixels), laid out only as far as the picture shows it: in
// lines as wide as the box up to the picture's largest side, and down to the picture's bottom.
void DrawText(QPainter& painter, const HxSlideText& text, const QRectF& box, const QSize& picture,
              const CDrawing& drawing) {
    if (!text.HasText() || box.width() < 1 || box.height() < 1)
        return;
    const double width = std::min(box.width(), double(HxRtfLimits::kMaxPictureSide));
    const double height = std::min(box.height(), picture.height() - box.top());
    if (height <= 0 || box.left() >= picture.width() || box.left() + width <= 0)
        return; // nothing of it in the picture
    if (drawing.beforeText) {
        // The outlines of large characters are filled over the whole picture, wherever the box clips
        // them.
        const qsizetype shown =
            HxShownLengthEstimate(width, height, HxSlideTextSmallestPixels(text, width, height));
        if (!drawing.beforeText(HxSlideTextCoverPixels(text, shown, picture.width(), picture.height()))) {
            if (drawing.budget)
                ++drawing.budget->reduced;
            return;
        }
    }
    const std::unique_ptr<QTextDocument> doc = HxSlideTextShownPart(text, width, height, drawing.budget);
    painter.save();
    painter.translate(box.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, width, height);
    painter.setClipRect(context.clip);
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
}

QRectF PixelBox(const HxSlideBox& box, double left, double top) {
    return QRectF((box.left - left) * kPixelsPerPoint, (box.top - top) * kPixelsPerPoint,
                  box.width * kPixelsPerPoint, box.height * kPixelsPerPoint);
}

void DrawShape(QPainter& painter, const HxSlideShape& shape, double left, double top, const QSize& picture,
               const CDrawing& drawing) {
    switch (shape.kind) {
    case HxSlideShape::kText:
        DrawText(painter, shape.text, PixelBox(shape.box, left, top), picture, drawing);
        break;
    case HxSlideShape::kTable: {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::NoBrush);
        std::set<std::pair<double, double>> drawn; // a merged cell once
        for (const HxSlideCell& cell : shape.cells) {
            if (!drawn.insert({cell.box.left, cell.box.top}).second)
                continue;
            const QRectF r = PixelBox(cell.box, left, top);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            DrawText(painter, cell.text, r, picture, drawing);
        }
        break;
    }
    case HxSlideShape::kGroup:
        for (const HxSlideShape& member : shape.members)
            DrawShape(painter, member, left, top, picture, drawing);
        break;
    default:
        break;
    }
}

} // namespace

QImage HxRenderSlideShape(const HxSlideShape& shape, HxLayoutBudget* budget,
                          const std::function<bool(qint64 cover)>& beforeEachText) {
    // The faces of the slides' texts ("宋体" and the like) are drawn in the fonts the program puts in
    // their place, as the editor's pictures are, whatever was drawn before.
    HxInstallFontSubstitutions();
    QImage image(HxSlidePixelSide(shape.box.width), HxSlidePixelSide(shape.box.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(image.rect());
    DrawShape(painter, shape, shape.box.left, shape.box.top, image.size(), CDrawing{budget, beforeEachText});
    painter.end();
    return image;
}
