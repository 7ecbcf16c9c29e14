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
#include <cmath>
#include <set>

namespace {

constexpr double kPixelsPerPoint = 4.0 / 3.0;

// What a drawing is given besides its shape: the budget its texts are laid out within, and what is
// asked before each text is laid out (whether to draw it, given what its large characters cover).
struct CDrawing {
    HxLayoutBudget* budget = nullptr;
    const std::function<bool(qint64 cover)>& beforeText;
};

// A laid-out text drawn with its top left at `origin`, what lies outside `shown` left out.
void DrawLaidOut(QPainter& painter, const HxSlideTextLayout& laid, const QPointF& origin,
                 const QRectF& shown) {
    painter.setClipRect(shown);
    painter.translate(origin);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = shown.translated(-origin);
    laid.doc->documentLayout()->draw(&painter, context);
}

// A text in its box (in the picture's pixels), placed in it as the slide places it and drawn where
// it shows within `clip`: laid out only as far as that shows it, in lines as wide as the box up to the
// picture's largest side.
void DrawText(QPainter& painter, const HxSlideText& text, const QRectF& box, const QRectF& clip,
              const QSize& picture, const CDrawing& drawing) {
    const QRectF shown = clip.intersected(QRectF(QPointF(0, 0), QSizeF(picture)));
    if (!text.HasText() || box.width() < 1 || box.height() < 1 || shown.isEmpty())
        return;
    const double width = std::min(box.width(), double(HxRtfLimits::kMaxPictureSide));
    const double above = std::max(box.top() - shown.top(), 0.0), below = shown.bottom() - box.top();
    if (below <= 0 || box.left() >= picture.width() || box.left() + width <= 0)
        return; // nothing of it in the picture
    if (drawing.beforeText) {
        // The outlines of large characters are filled over the whole picture, wherever the box clips
        // them.
        const double height = std::min(above + below, double(HxRtfLimits::kMaxPictureSide));
        const qsizetype length =
            HxShownLengthEstimate(width, height, HxSlideTextSmallestPixels(text, width, height));
        if (!drawing.beforeText(HxSlideTextCoverPixels(text, length, picture.width(), picture.height()))) {
            if (drawing.budget)
                ++drawing.budget->reduced;
            return;
        }
    }
    HxSlideTextLayout laid = HxLayOutSlideText(text, width, box.height(), above, below, drawing.budget);
    const QPointF origin = box.topLeft() + QPointF(laid.left, laid.top);
    painter.save();
    DrawLaidOut(painter, laid, origin, shown);
    painter.restore();
}

QRectF PixelBox(const HxSlideBox& box, double left, double top) {
    return QRectF((box.left - left) * kPixelsPerPoint, (box.top - top) * kPixelsPerPoint,
                  box.width * kPixelsPerPoint, box.height * kPixelsPerPoint);
}

void DrawShape(QPainter& painter, const HxSlideShape& shape, double left, double top, const QSize& picture,
               const CDrawing& drawing) {
    switch (shape.kind) {
    case HxSlideShape::kText: {
        const QRectF box = PixelBox(shape.box, left, top);
        DrawText(painter, shape.text, box, box, picture, drawing);
        break;
    }
    case HxSlideShape::kTable: {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::NoBrush);
        std::set<std::pair<double, double>> drawn; // a merged cell once
        for (const HxSlideCell& cell : shape.cells) {
            if (!drawn.insert({cell.box.left, cell.box.top}).second)
                continue;
            const QRectF r = PixelBox(cell.box, left, top);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            DrawText(painter, cell.text, r, r, picture, drawing);
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

HxSlideTextSpan HxSlideTextSpanOf(const HxSlideBox& box, double slideHeight, int extraRows) {
    // The slide's top and bottom, in pixels below the box's top.
    const double slideTop = -box.top * kPixelsPerPoint;
    const double slideBottom = (slideHeight - box.top) * kPixelsPerPoint;
    const double boxHeight = HxSlidePixelSide(box.height);
    HxSlideTextSpan span;
    span.above = std::min(std::max(-slideTop, 0.0), double(extraRows));
    span.below = std::max(std::min(slideBottom, boxHeight + extraRows), boxHeight);
    return span;
}

HxSlideFramePicture HxRenderSlideTextFrame(const HxSlideShape& shape, double slideHeight, int extraRows,
                                           HxLayoutBudget* budget,
                                           const std::function<bool(qint64 cover)>& beforeText) {
    HxInstallFontSubstitutions();
    HxSlideFramePicture out;
    out.place = shape.box;
    const int width = HxSlidePixelSide(shape.box.width), boxHeight = HxSlidePixelSide(shape.box.height);
    // The slide's top, in pixels below the box's top.
    const double slideTop = -shape.box.top * kPixelsPerPoint;
    // Where the lines may show: the box, and the slide past it as far as the rows to be had reach.
    const HxSlideTextSpan span = HxSlideTextSpanOf(shape.box, slideHeight, extraRows);
    const double above = span.above, below = span.below;
    const double most = double(HxRtfLimits::kMaxPictureSide);
    const QRectF box(0, 0, shape.box.width * kPixelsPerPoint, shape.box.height * kPixelsPerPoint);
    // Laid out first, the picture then made as large as the lines that show need.
    HxSlideTextLayout laid;
    bool drawn = false;
    if (shape.text.HasText() && box.width() >= 1 && box.height() >= 1) {
        if (beforeText) {
            const double height = std::min(above + below, most);
            const double w = std::min(box.width(), most);
            const qsizetype length =
                HxShownLengthEstimate(w, height, HxSlideTextSmallestPixels(shape.text, w, height));
            drawn =
                beforeText(HxSlideTextCoverPixels(shape.text, length, width, int(std::min(height, most))));
            if (!drawn && budget)
                ++budget->reduced;
        } else {
            drawn = true;
        }
    }
    int top = 0, bottom = boxHeight;
    if (drawn) {
        laid = HxLayOutSlideText(shape.text, std::min(box.width(), most), box.height(), above, below, budget,
                                 true);
        // Past the box, as far as the slide's edge.
        if (laid.LinesTop() < -0.5)
            top = int(std::floor(std::max(laid.top, std::min(slideTop, 0.0))));
        if (laid.LinesBottom() > boxHeight + 0.5)
            bottom = int(std::ceil(std::min(laid.top + laid.height, below)));
        // At most the largest picture: the lines nearest the box's anchored side kept.
        if (bottom - top > int(most)) {
            if (shape.text.frame.anchor == HxSlideTextFrame::kBottom)
                top = bottom - int(most);
            else
                bottom = top + int(most);
        }
        if (bottom - top - boxHeight > extraRows) {
            top = 0; // no more pixels to be had: the box, as before
            bottom = boxHeight;
        }
        out.cut = laid.LinesTop() < top - 0.5 || laid.LinesBottom() > bottom + 0.5;
        if (top != 0 || bottom != boxHeight) {
            out.place.top = shape.box.top + top / kPixelsPerPoint;
            out.place.height = (bottom - top) / kPixelsPerPoint;
        }
    }
    out.image = QImage(width, bottom - top, QImage::Format_RGB32);
    if (out.image.isNull())
        return out;
    out.image.fill(Qt::white);
    if (!drawn)
        return out;
    QPainter painter(&out.image);
    const QRectF shown(0, 0, width, bottom - top);
    DrawLaidOut(painter, laid, QPointF(laid.left, laid.top - top), shown);
    painter.end();
    return out;
}
