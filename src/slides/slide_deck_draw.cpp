// The drawing of a presentation's slides for an import: editable texts through the editor's paste,
// pictures of our own drawing cropped to their dark pixels, handed on as records slide by slide.
#include "slides/slide_deck_draw.h"

#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "slides/slide_draw.h"
#include "slides/slide_place.h"
#include "slides/slide_records.h"
#include "slides/slide_text.h"
#include "view/picture_export.h"

#include <QElapsedTimer>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <new>

#include <sys/mman.h>

namespace {

// The text of a frame or a cell through the rich-text editor's paste: the editor's picture (laid out
// within `budget`), name and rich text, or nothing when the text is empty.
bool PasteText(CDlgRtEdit& editor, const HxSlideText& text, int width, int height, HxLayoutBudget& budget) {
    QTextDocument doc;
    HxSlideTextToDocument(text, true, doc);
    return editor.PasteRichText(doc, width, height, &budget);
}

// Whether a one-bit picture has a dark pixel.
bool AnyDark(const std::vector<BYTE>& bits) {
    return std::any_of(bits.begin(), bits.end(), [](BYTE b) { return b != 0; });
}

// Whether `bytes` more of address space are to be had: mapped and given back at once, never
// touched.  Qt's text layout does not throw when an allocation fails, so what a shape needs is asked
// for before it is made.
bool AddressSpaceLeft(qint64 bytes) {
    void* block = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return false;
    munmap(block, size_t(bytes));
    return true;
}

// What making a picture of `pixels` and documents of `characters` (laid out as far as they show)
// takes at most besides what is kept: the picture in colour and in one bit, the documents and their
// layout (a text of short paragraphs takes some 230 bytes a character), and room for the rest.
qint64 MemoryFor(qint64 pixels, qint64 characters) {
    constexpr qint64 kRoom = 16LL << 20;
    constexpr qint64 kBytesPerCharacter = 256;
    return kRoom + pixels * 5 + characters * kBytesPerCharacter;
}

// The most characters a drawing of the shape lays out of one of its texts (a table's cells and a
// group's members included): what `allowance` lets it, and no more than four times the first
// beginning of the text's box (each beginning laid out is four times the one before, while the
// picture shows more).
qsizetype DrawnCharacters(const HxSlideShape& shape, qsizetype allowance) {
    auto drawn = [allowance](const HxSlideText& text, const HxSlideBox& box) -> qsizetype {
        const qsizetype length = text.Length();
        if (length == 0)
            return 0;
        const int width = HxSlidePixelSide(box.width), height = HxSlidePixelSide(box.height);
        const qsizetype first =
            HxShownLengthEstimate(width, height, HxSlideTextSmallestPixels(text, width, height));
        return std::min({length, allowance, 4 * first});
    };
    qsizetype most = drawn(shape.text, shape.box);
    for (const HxSlideCell& cell : shape.cells)
        most = std::max(most, drawn(cell.text, cell.box));
    for (const HxSlideShape& member : shape.members)
        most = std::max(most, DrawnCharacters(member, allowance));
    return most;
}

class CSlideDeckDrawer {
public:
    CSlideDeckDrawer(bool convert, const HxSlideImportBounds& bounds, const HxSlideSize& slideSize,
                     qint64 extraPixels, qint64 extraBytes, const std::function<void(const QByteArray&)>& out)
        : m_convert(convert), m_bounds(bounds), m_out(out), m_slideSize(slideSize),
          m_extraPixels(extraPixels), m_extraBytes(extraBytes) {
        m_budget.left = kSlideImportMaxLaidOut;
        // One long text may take long to lay out: the time is read before each beginning of it.
        m_budget.beforeEachBeginning = [this] { CheckTime(); };
        m_deadline = Now() + bounds.milliseconds;
    }

    void Slide(int number, int count, const HxSlide& slide) {
        m_out(HxSlideRecords::SlideBegin(number, count, m_slideSize));
        HxDrawnSlide counts;
        counts.number = number;
        const int reduced = Reduced(), reducedLate = ReducedLate();
        m_counts = &counts;
        for (const HxSlideShape& shape : slide.shapes)
            Shape(shape);
        m_counts = nullptr;
        counts.reduced = Reduced() - reduced;
        counts.reducedLate = ReducedLate() - reducedLate;
        m_out(HxSlideRecords::SlideEnd(counts));
    }

private:
    qint64 Now() const {
        if (m_bounds.clock)
            return m_bounds.clock();
        return m_timer.elapsed();
    }

    // The pictures drawn so far from less than their texts would show, before the import's time was
    // over and after it.
    int Reduced() const { return m_late ? m_reducedInTime : m_budget.reduced; }
    int ReducedLate() const { return m_late ? m_budget.reduced - m_reducedInTime : 0; }

    // Once the import has taken its time, what is left lays out no more than a short beginning of
    // each text (HxLayoutBudget::kMinimum): its pictures show less, its editable texts keep all.
    void CheckTime() {
        if (m_late || Now() < m_deadline)
            return;
        m_late = true;
        m_reducedInTime = m_budget.reduced;
        m_budget.left = 0;
    }

    // Whether a text of a drawn shape is drawn, given the pixels its large characters would cover:
    // past the import's time, only as long as what they cover stays within kSlideLateCoverPixels.
    bool MayDraw(qint64 cover) {
        CheckTime();
        if (!m_late || cover == 0)
            return true;
        if (cover > m_lateCoverLeft)
            return false;
        m_lateCoverLeft -= cover;
        return true;
    }

    // The rows a picture `width` pixels wide may take past its box's: as many as the import's pixels
    // and the lesson's bytes left past what the boxes' pictures take (a one-bit row a whole number of
    // 32 bits).
    int ExtraRows(int width) const {
        const qint64 rowBytes = qint64(width + 31) / 32 * 4;
        return int(std::clamp<qint64>(std::min(m_extraPixels / width, m_extraBytes / rowBytes), 0,
                                      HxRtfLimits::kMaxPictureSide));
    }
    void TakeExtraRows(int width, int rows) {
        if (rows <= 0)
            return;
        m_extraPixels -= qint64(width) * rows;
        m_extraBytes -= qint64(width + 31) / 32 * 4 * rows;
    }

    // Memory running out for the next picture or text stops the drawing before it is begun.
    static void NeedMemory(qint64 bytes) {
        if (!AddressSpaceLeft(bytes))
            throw std::bad_alloc();
    }

    void Shape(const HxSlideShape& shape) {
        CheckTime();
        switch (HxSlideWayOf(shape, m_convert)) {
        case HxSlideWay::kTextFrame:
            if (shape.text.HasText()) {
                HxDrawnText text;
                HxSlideBox place;
                if (Paste(shape.text, shape.box, true, text, place))
                    m_out(HxSlideRecords::Text(place, text));
            }
            break;
        case HxSlideWay::kTable:
            Table(shape);
            break;
        case HxSlideWay::kPicture:
            Picture(shape);
            break;
        default:
            m_counts->shapesLeftOut += HxSlideTextsIn(shape) > 0 ? 1 : 0;
            break;
        }
    }

    // The text through the editor's paste, into `drawn`, its picture at `place` on the slide: false
    // when it has no text, or when its picture holds nothing dark (it is then left out, and counted).
    // The picture is as wide as the box and begins where the slide shows the text's lines; a text
    // frame's (`overflow`) holds every line, wherever the box ends (at most 4096 pixels, and the
    // import's pixels: else the box's, and the text counted as cut), a cell's ends at the cell's
    // bottom.  A text longer than the editor holds is cut to its length, so that it can be edited.
    // A picture that could not be made (its memory was not to be had) ends the drawing as memory
    // running out does.
    bool Paste(const HxSlideText& whole, const HxSlideBox& box, bool overflow, HxDrawnText& drawn,
               HxSlideBox& place) {
        CheckTime();
        const int most = HxRtfLimits::kMaxPictureSide;
        const int width = HxSlidePixelSide(box.width), boxHeight = HxSlidePixelSide(box.height);
        // The editor's document, the copy of its beginning the picture is drawn from, and the one its
        // lines are placed by.
        NeedMemory(MemoryFor(qint64(width) * (overflow ? most : boxHeight),
                             3 * std::min<qsizetype>(whole.Length(), CDlgRtEdit::kMaxTextLength)));
        bool cut = false;
        const HxSlideText text = whole.Beginning(CDlgRtEdit::kMaxTextLength, &cut);
        int top = 0, height = boxHeight;
        double left = 0;
        bool linesPast = false;
        {
            // The picture's own layout counts what it draws from less than its text would show.
            const int reduced = m_budget.reduced;
            // Laid out as far as its picture may reach.
            const int extra = overflow ? ExtraRows(width) : 0;
            const double reach = std::min(boxHeight + extra, most);
            const double boxPixels = box.height * 4.0 / 3.0;
            HxSlideTextLayout laid;
            if (overflow && text.frame.anchor != HxSlideTextFrame::kTop) {
                // Anchored at its box's middle or bottom: placed as its drawing places it, within
                // what the slide shows; taller than that, it starts at the box's top as a drawn one
                // does, and its picture holds every line from there.
                const HxSlideTextSpan span = HxSlideTextSpanOf(box, m_slideSize.height, extra);
                laid = HxLayOutSlideText(text, width, boxPixels, std::min(span.above, double(most)),
                                         std::min(span.below, double(most)), &m_budget, true);
                if (!laid.anchored) {
                    HxSlideText atTop = text;
                    atTop.frame.anchor = HxSlideTextFrame::kTop;
                    laid = HxLayOutSlideText(atTop, width, boxPixels, 0, reach, &m_budget);
                }
            } else {
                laid = HxLayOutSlideText(text, width, boxPixels, std::min(extra, most), reach, &m_budget);
            }
            m_budget.reduced = reduced;
            top = int(std::clamp<long>(std::lround(laid.top), overflow ? -most : 0, boxHeight - 1));
            height = boxHeight - top;
            if (overflow) {
                left = laid.left;
                height = std::min(std::max(int(std::ceil(laid.height)), height), most);
                if (height - boxHeight > ExtraRows(width)) {
                    top = std::clamp(top, 0, boxHeight - 1);
                    height = boxHeight - top;
                }
                linesPast = laid.LinesBottom() - top > height + 0.5;
            }
        }
        if (!PasteText(m_editor, text, width, height, m_budget))
            return false;
        if (m_editor.m_picture.empty())
            throw std::bad_alloc();
        if (!AnyDark(m_editor.m_picture)) {
            // An editable text that shows nothing is left out, as a drawn one is.
            ++m_counts->textsLeftOut;
            return false;
        }
        m_counts->shortened += cut ? 1 : 0;
        drawn.name = m_editor.m_name;
        drawn.rtf = m_editor.m_rtf;
        drawn.picture = std::move(m_editor.m_picture);
        m_editor.m_picture.clear();
        drawn.pictureWidth = m_editor.m_pictureWidth;
        drawn.pictureHeight = m_editor.m_pictureHeight;
        drawn.editorWidth = m_editor.m_editorWidth;
        drawn.editorHeight = m_editor.m_editorHeight;
        const QRgb color = HxSlideTextColor(text, true);
        drawn.colored = qRed(color) > 32 || qGreen(color) > 32 || qBlue(color) > 32;
        drawn.color = drawn.colored ? (color & 0xFFFFFF) : 0;
        TakeExtraRows(width, height - boxHeight);
        m_counts->textsCut += linesPast ? 1 : 0;
        place = box;
        place.left = box.left + left * 0.75;
        place.top = box.top + top * 0.75;
        place.height = height * 0.75;
        return true;
    }

    void Table(const HxSlideShape& shape) {
        std::vector<HxSlideBox> boxes;
        boxes.reserve(shape.cells.size());
        for (const HxSlideCell& cell : shape.cells)
            boxes.push_back(cell.box);
        m_out(HxSlideRecords::TableBegin(shape.box, shape.rows, shape.columns, boxes));
        for (const HxTableCellStep& step : HxPlanSlideTable(shape).steps) {
            if (!step.Text())
                continue;
            const HxSlideCell& cell = shape.Cell(step.row - 1, step.column - 1);
            HxDrawnText text;
            HxSlideBox place;
            if (cell.text.HasText() && Paste(cell.text, cell.box, false, text, place))
                m_out(HxSlideRecords::CellText((step.row - 1) * shape.columns + step.column - 1, text));
        }
        m_out(HxSlideRecords::TableEnd());
    }

    // Our own drawing of the shape, as a one-bit picture of its dark pixels.
    void Picture(const HxSlideShape& shape) {
        if (shape.kind == HxSlideShape::kText && !shape.text.HasText())
            return; // its drawing is blank
        const int width = HxSlidePixelSide(shape.box.width), boxHeight = HxSlidePixelSide(shape.box.height);
        // A text frame's picture may reach past its box, as far as the slide's edge.
        const qint64 pixels =
            qint64(width) * (shape.kind == HxSlideShape::kText ? HxRtfLimits::kMaxPictureSide : boxHeight);
        NeedMemory(
            MemoryFor(pixels, DrawnCharacters(shape, std::max(m_budget.left, HxLayoutBudget::kMinimum))));
        const int reduced = m_budget.reduced;
        HxSlideBox place = shape.box;
        bool cut = false;
        QImage image;
        // The time is read before each text of a table or group too: one shape may take long.
        const auto mayDraw = [this](qint64 cover) { return MayDraw(cover); };
        if (shape.kind == HxSlideShape::kText) {
            HxSlideFramePicture frame =
                HxRenderSlideTextFrame(shape, m_slideSize.height, ExtraRows(width), &m_budget, mayDraw);
            image = std::move(frame.image);
            place = frame.place;
            cut = frame.cut;
            TakeExtraRows(width, image.height() - boxHeight);
        } else {
            image = HxRenderSlideShape(shape, &m_budget, mayDraw);
        }
        if (image.isNull())
            throw std::bad_alloc(); // the picture's memory was not to be had
        int croppedWidth = 0, croppedHeight = 0;
        CPoint cropped;
        std::vector<BYTE> bits = HxPictureToMonochrome(image, &croppedWidth, &croppedHeight, &cropped);
        if (bits.empty()) {
            // Nothing dark: nothing to paste, and its texts are left out, not drawn in part.
            m_budget.reduced = reduced;
            m_reducedInTime = std::min(m_reducedInTime, m_budget.reduced);
            m_counts->textsLeftOut += HxSlideTextsIn(shape);
            return;
        }
        m_counts->textsCut += cut ? 1 : 0;
        m_out(HxSlideRecords::Picture(place, croppedWidth, croppedHeight, int(cropped.x), int(cropped.y),
                                      bits));
    }

    CDlgRtEdit m_editor;
    bool m_convert;
    const HxSlideImportBounds& m_bounds;
    const std::function<void(const QByteArray&)>& m_out;
    HxDrawnSlide* m_counts = nullptr;
    HxSlideSize m_slideSize;
    // The pixels the pictures may take past those of their boxes, and the bytes they may add to the
    // lesson past those counted: the import's bounds less what its price counted.
    qint64 m_extraPixels;
    qint64 m_extraBytes;
    HxLayoutBudget m_budget;
    QElapsedTimer m_timer = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    qint64 m_deadline = 0;
    bool m_late = false;
    qint64 m_lateCoverLeft = kSlideLateCoverPixels;
    int m_reducedInTime = 0;
};

} // namespace

void HxDrawSlideDeck(const HxSlideDeck& deck, int from, int to, bool convert,
                     const HxSlideImportBounds& bounds,
                     const std::function<void(const QByteArray& record)>& out, qint64 stored) {
    HxCutSlideRange(deck, from, to);
    try {
        const HxSlideImportCost cost = HxSlideImportCostOf(deck, from, to, convert);
        CSlideDeckDrawer drawer(convert, bounds, deck.Size(),
                                std::min(bounds.pixels - cost.pixels, kSlideOverflowPixels),
                                bounds.lessonBytes - stored - cost.storedBytes, out);
        for (int n = from; n <= to; ++n)
            drawer.Slide(n, to - from + 1, deck.Slide(size_t(n - 1)));
    } catch (const std::bad_alloc&) {
        // What was being made is given back as the stack unwinds; the record is a few bytes.
        out(HxSlideRecords::OutOfMemory());
        return;
    }
    out(HxSlideRecords::Done());
}
