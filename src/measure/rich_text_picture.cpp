// The one-bit picture of the rich text: the beginning of a text that shows in it, copied, priced
// against a layout budget, cut and laid out, and drawn.
#include "measure/rich_text.h"

#include "platform/bitmap_bits.h"
#include "view/glyph_font.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// The narrowest characters of a font (a dot, an i, a space) are about a quarter of its size wide,
// and its lines at least as high as its size.
constexpr double kNarrowestCharacter = 0.25;
constexpr double kLowestLine = 1.0;

// The character of `text` at `i` (a pair of halves read as one, `i` then left on the second).
char32_t CharacterAt(const QString& text, qsizetype& i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        ++i;
        return QChar::surrogateToUcs4(text[i - 1], text[i]);
    }
    return text[i].unicode();
}

// Combining marks and the joiners, which join the character before them into one cluster.
bool Combining(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return c == 0x200C || c == 0x200D;
    }
}

// The spans of a text (from, to) that hold the combining marks past kMaxShownMarks of each row of
// them.
std::vector<std::pair<qsizetype, qsizetype>> MarksPastTheShown(const QString& text) {
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    int marks = 0;
    qsizetype from = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype start = i;
        if (Combining(CharacterAt(text, i))) {
            if (++marks == kMaxShownMarks + 1)
                from = start;
            continue;
        }
        if (from >= 0)
            spans.emplace_back(from, start);
        marks = 0;
        from = -1;
    }
    if (from >= 0)
        spans.emplace_back(from, text.size());
    return spans;
}

} // namespace

qsizetype HxCapCombiningMarks(QTextDocument& doc) {
    // The spans to remove (document positions), found first and removed from the last.
    std::vector<std::pair<int, int>> spans;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (const auto& [from, to] : MarksPastTheShown(block.text()))
            spans.emplace_back(block.position() + int(from), block.position() + int(to));
    if (spans.empty())
        return 0;
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    qsizetype removed = 0;
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->second, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        removed += it->second - it->first;
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    return removed;
}

namespace {

// A copy of the document's first `end` characters (positions 0 .. end - 1; all of them as clone()
// copies them), of each row of combining marks the first kMaxShownMarks (`marksCut` those left out),
// not laid out: it has no layout yet, so that it can still be cut without laying it out.
std::unique_ptr<QTextDocument> CopyBeginning(const QTextDocument& doc, int end, qsizetype& marksCut) {
    if (end >= doc.characterCount() - 1) {
        std::unique_ptr<QTextDocument> copy(doc.clone());
        marksCut = HxCapCombiningMarks(*copy);
        return copy;
    }
    QTextCursor part(doc.begin());
    part.setPosition(end, QTextCursor::KeepAnchor);
    const QTextDocumentFragment beginning(part);
    auto copy = std::make_unique<QTextDocument>();
    copy->rootFrame()->setFrameFormat(doc.rootFrame()->frameFormat());
    copy->setDefaultTextOption(doc.defaultTextOption());
    copy->setIndentWidth(doc.indentWidth());
    copy->setDefaultFont(doc.defaultFont());
    QTextCursor(copy.get()).insertFragment(beginning);
    marksCut = HxCapCombiningMarks(*copy);
    return copy;
}

// Where the last line of a laid-out document starts, in its pixels.
double LastLineTop(const QTextDocument& doc) {
    const QTextBlock last = doc.lastBlock();
    const double top = doc.documentLayout()->blockBoundingRect(last).top();
    const QTextLayout* layout = last.layout();
    if (!layout || layout->lineCount() == 0)
        return top;
    return layout->position().y() + layout->lineAt(layout->lineCount() - 1).y();
}

// Whether a paragraph's text is read from left to right whatever follows it: its first character
// with a direction is one read from left to right, and none of its characters is read from right to
// left or turns the reading (an isolate that takes the direction of what it holds included).
bool LeftToRightOnly(const QString& text) {
    bool strong = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (QChar::direction(CharacterAt(text, i))) {
        case QChar::DirL:
            strong = true;
            break;
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
        case QChar::DirFSI:
            return false;
        default:
            break;
        }
    }
    return strong;
}

// Whether the last line of a laid-out beginning shows in the picture as the line of the whole text
// that starts where it starts (the text after the beginning being of the beginning's last format):
// a line wider than the text's width, made as wide as itself (in a box narrower than its characters
// each line holds a word, however long), whose bottom reaches the picture's bottom (no later line
// shows) and which ends a line's height or more past the picture's right side (the characters at
// the cut do not show), in a paragraph read from left to right (its start is on the left).
bool LastLineShowsAsWhole(const QTextDocument& doc, double height) {
    const double width = doc.textWidth();
    const QTextBlock last = doc.lastBlock();
    const QTextLayout* layout = last.layout();
    if (width <= 0 || !layout || layout->lineCount() == 0)
        return false;
    const QTextLine line = layout->lineAt(layout->lineCount() - 1);
    const double natural = line.naturalTextWidth();
    return natural > width && line.width() + 0.5 >= natural &&
           layout->position().x() + line.x() + natural >= width + line.height() &&
           layout->position().y() + line.y() + line.height() >= height && LeftToRightOnly(last.text());
}

// Where the line of a laid-out document that holds `position` starts, in its pixels.
double TopOfLineHolding(const QTextDocument& doc, int position) {
    const QTextBlock block = doc.findBlock(position);
    const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    if (!layout || layout->lineCount() == 0)
        return LastLineTop(doc);
    const QTextLine line = layout->lineForTextPosition(position - block.position());
    return layout->position().y() + (line.isValid() ? line.y() : 0.0);
}

bool IsObject(const QTextCharFormat& f) {
    return f.isImageFormat() || f.objectType() != QTextFormat::NoObject;
}

// Whether characters of the format `later` make a line no taller than those of `earlier` do (in a
// document of the default font `standard`): the same font but for a size no larger, at the same
// position to the baseline.  Never for objects.
bool NoTaller(const QTextCharFormat& later, const QTextCharFormat& earlier, const QFont& standard) {
    if (IsObject(later) || IsObject(earlier) || later.verticalAlignment() != earlier.verticalAlignment())
        return false;
    QFont a = later.font().resolve(standard), b = earlier.font().resolve(standard);
    auto pixels = [](const QFont& font) {
        return font.pixelSize() > 0 ? double(font.pixelSize()) : font.pointSizeF() * 4.0 / 3.0;
    };
    if (!(pixels(a) <= pixels(b)))
        return false;
    a.setPointSizeF(12);
    b.setPointSizeF(12);
    return a == b;
}

// Whether the characters of `doc` from `end` to the end of their paragraph make no line taller than
// the character before `end` (NoTaller); false when `end` starts a paragraph.
bool RestNoTaller(const QTextDocument& doc, int end) {
    const QTextBlock block = doc.findBlock(end);
    if (end <= 0 || !block.isValid() || block.position() >= end)
        return false;
    bool first = true;
    QTextCharFormat cut;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.position() + fragment.length() < end)
            continue; // before the character at the cut
        const QTextCharFormat f = fragment.charFormat();
        if (first) {
            if (IsObject(f))
                return false;
            cut = f;
            first = false;
        } else if (!NoTaller(f, cut, doc.defaultFont())) {
            return false;
        }
    }
    return true;
}

} // namespace

qsizetype HxShownLengthEstimate(double width, double height, double smallestPixels) {
    // Lines of the narrowest characters of the smallest size, each line one character more (the one
    // that breaks it), and two lines more: the one the bottom cuts and one that starts below it.
    // Too few only costs a longer beginning laid out again.
    const double size = std::isfinite(smallestPixels) ? std::max(smallestPixels, 1.0) : 1.0;
    const double w = std::isfinite(width) ? std::clamp(width, 1.0, 1.0e6) : 1.0;
    const double h = std::isfinite(height) ? std::clamp(height, 1.0, 1.0e6) : 1.0;
    const double perLine = std::floor(w / (size * kNarrowestCharacter)) + 1;
    const double lines = std::floor(h / (size * kLowestLine)) + 2;
    return qsizetype(std::min(perLine * lines, 1.0e12));
}

namespace {

// What laying out a beginning not yet laid out costs, in HxLayoutBudget's units: a unit a character
// (a paragraph's end one); and broken at word boundaries, an unbroken run of W characters in lines
// of at least p characters W² / (128 p) more: finding where each of its lines ends passes the rest
// of the run (p is taken as the lines' width over twice the largest characters' size).
class CLayoutCost {
public:
    CLayoutCost(const QTextDocument& doc, double width) {
        double largest = doc.defaultFont().pixelSize() > 0 ? doc.defaultFont().pixelSize()
                                                           : doc.defaultFont().pointSizeF() * 4.0 / 3.0;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            QTextCharFormat previous;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.hasProperty(QTextFormat::FontPixelSize))
                    largest = std::max(largest, double(f.intProperty(QTextFormat::FontPixelSize)));
                else if (f.hasProperty(QTextFormat::FontPointSize))
                    largest = std::max(largest, f.fontPointSize() * 4.0 / 3.0);
                // Broken at word boundaries, each line of a run broken inside is as high as the rest
                // of the run: broken anywhere, as high as itself.  The same when no character of a
                // paragraph is taller than one before it.
                if (m_breakFree && it != block.begin() && !NoTaller(f, previous, doc.defaultFont()))
                    m_breakFree = false;
                previous = f;
            }
            const QString text = block.text();
            QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
            qsizetype start = 0;
            m_lastRun = text.isEmpty() ? -1 : block.position();
            for (qsizetype at = breaks.toNextBoundary(); at > 0; at = breaks.toNextBoundary()) {
                m_runs.emplace_back(block.position() + start, at - start);
                m_breakFree = m_breakFree && at == text.size();
                m_lastRun = block.position() + start;
                start = at;
            }
            if (block.next().isValid())
                m_runs.emplace_back(block.position() + text.size(), 1); // the paragraph's end
        }
        const double line = std::isfinite(width) ? width - 2 * doc.documentMargin() : 1.0;
        m_perLine = std::max(1.0, std::floor(line / (2 * std::max(largest, 1.0))));
    }

    // Whether no paragraph may break inside: each is one unbroken run, whose lines are those of
    // breaking anywhere, none of its characters taller than one before it.
    bool BreakFree() const { return m_breakFree; }
    // Where the unbroken run the text ends in starts (-1 when its last paragraph is empty).
    qsizetype LastRun() const { return m_lastRun; }

    // The cost of the first `end` positions (all of them by default), and the longest beginning
    // that costs at most `allowed` (its end, and its cost); `anywhere` when the runs are broken
    // anywhere (each line then passes only itself).
    qsizetype Cost(bool anywhere, qsizetype end = std::numeric_limits<qsizetype>::max()) const {
        double cost = 0;
        for (const auto& [start, length] : m_runs) {
            const double w = double(std::min<qsizetype>(length, std::max<qsizetype>(end - start, 0)));
            cost += w + (anywhere ? 0.0 : w * w / (128.0 * m_perLine));
        }
        return qsizetype(std::min(cost, 1.0e15));
    }
    std::pair<qsizetype, qsizetype> Fitting(qsizetype allowed, bool anywhere) const {
        double cost = 0;
        const double k = 128.0 * m_perLine;
        for (const auto& [start, length] : m_runs) {
            const double w = double(length);
            const double full = w + (anywhere ? 0.0 : w * w / k);
            if (cost + full > double(allowed)) {
                // The most of the run that fits: w + w² / k <= what is left.
                const double left = double(allowed) - cost;
                const double fits = anywhere ? left : (std::sqrt(1.0 + 4.0 * left / k) - 1.0) * k / 2.0;
                const qsizetype taken = std::clamp<qsizetype>(qsizetype(fits), 0, length);
                return {start + taken, Cost(anywhere, start + taken)};
            }
            cost += full;
        }
        return {std::numeric_limits<qsizetype>::max(), qsizetype(cost)};
    }

private:
    std::vector<std::pair<qsizetype, qsizetype>> m_runs; // (document position, length)
    bool m_breakFree = true;
    qsizetype m_lastRun = -1;
    double m_perLine = 1;
};

// The document from `position` on removed (a character in two halves kept whole), without a layout.
void CutAt(QTextDocument& doc, qsizetype position) {
    const int end = doc.characterCount() - 1;
    int at = int(std::min<qsizetype>(position, end));
    if (at >= end)
        return;
    if (at > 0 && doc.characterAt(at - 1).isHighSurrogate() && doc.characterAt(at).isLowSurrogate())
        --at;
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.setPosition(at);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    doc.setUndoRedoEnabled(undo);
}

// Lays the beginning out `width` pixels wide (when it is asked), broken anywhere or as the document
// breaks its lines, objects drawn as placeholder boxes: they are known before the first layout.
void LayOut(QTextDocument& doc, double width, bool anywhere) {
    if (anywhere) {
        QTextOption option = doc.defaultTextOption();
        option.setWrapMode(QTextOption::WrapAnywhere);
        doc.setDefaultTextOption(option);
    }
    HxInstallRichObjectHandler(doc);
    doc.setTextWidth(width);
}

// Whether a line of a laid-out document is wider than its paragraph's room (a character wider than
// a line, which breaking at word boundaries lays out otherwise).
bool HasOverfullLine(const QTextDocument& doc) {
    doc.documentLayout()->documentSize(); // every line laid out
    const double room = doc.textWidth() - 2 * doc.documentMargin();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat f = block.blockFormat();
        double paragraph = room - f.leftMargin() - f.rightMargin() - f.indent() * doc.indentWidth();
        if (const QTextList* list = block.textList())
            paragraph -= list->format().indent() * doc.indentWidth();
        const QTextLayout* layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i)
            if (layout->lineAt(i).naturalTextWidth() > paragraph - (i == 0 ? f.textIndent() : 0.0) + 0.5)
                return true;
    }
    return false;
}

} // namespace

std::unique_ptr<QTextDocument>
HxLayOutShownBeginning(qsizetype firstLength, double width, double height,
                       const std::function<HxShownBeginning(qsizetype length)>& beginning,
                       HxLayoutBudget* budget) {
    // Lines are broken one after the other, each by the text from its start to just past its end:
    // every line of a beginning but its last is a line of the whole text, so once that last line
    // starts below the picture, what the picture shows is laid out.  But each line of an unbroken run
    // broken inside is as high as the rest of the run: when the text after the beginning is taller
    // than where it is cut, the lines of the run the beginning ends in are not the whole text's, and
    // what the picture shows is laid out once the first of them starts below it.
    constexpr qsizetype kLongest = std::numeric_limits<qsizetype>::max() / 4;
    // What the budget lets a beginning cost now (a beginning of its minimum is always laid out).
    auto allowance = [budget] {
        return budget ? std::max(budget->left, HxLayoutBudget::kMinimum)
                      : std::numeric_limits<qsizetype>::max();
    };
    for (qsizetype length = std::max<qsizetype>(firstLength, 1);; length = std::min(length, kLongest) * 4) {
        const qsizetype allowed = allowance();
        bool cutShort = length > allowed;
        const qsizetype asked = std::min(length, allowed);
        // The beginning, cut where what is left allows, laid out broken anywhere when its paragraphs
        // are unbroken runs (the same lines, each found by passing only itself) unless a character is
        // wider than a line; else at word boundaries.
        qsizetype lastRun = -1;
        auto make = [&](bool tryAnywhere, qsizetype most, bool& anywhere) {
            HxShownBeginning part = beginning(asked);
            const CLayoutCost cost(*part.doc, width);
            lastRun = cost.LastRun();
            anywhere = tryAnywhere && cost.BreakFree() && part.doc->rootFrame()->childFrames().isEmpty() &&
                       part.doc->defaultTextOption().wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
            qsizetype charged = cost.Cost(anywhere);
            if (charged > most) {
                const auto [end, fitting] = cost.Fitting(most, anywhere);
                CutAt(*part.doc, end);
                part.whole = false;
                part.restNoTaller = false;
                cutShort = true;
                charged = fitting;
            }
            LayOut(*part.doc, width, anywhere);
            if (budget) {
                budget->laidOut += charged;
                budget->left = std::max<qsizetype>(budget->left - charged, 0);
            }
            return part;
        };
        bool anywhere = false;
        HxShownBeginning part = make(true, allowed, anywhere);
        if (anywhere && HasOverfullLine(*part.doc))
            part = make(false, allowance(), anywhere);
        const bool shown =
            part.whole ||
            (part.restNoTaller ? LastLineTop(*part.doc) >= height || LastLineShowsAsWhole(*part.doc, height)
                               : (lastRun >= 0 ? TopOfLineHolding(*part.doc, int(lastRun))
                                               : LastLineTop(*part.doc)) >= height);
        if (shown || cutShort) {
            if (budget && (!shown || part.marksCut > 0))
                ++budget->reduced;
            return std::move(part.doc);
        }
    }
}

namespace {

// The size in pixels of the smallest characters of a document (superscripts and subscripts drawn
// at two thirds of theirs) among those a picture width x height pixels can show: the document is
// walked while the characters before are fewer than the picture holds of the smallest found so
// far.  Placeholder boxes of objects do not count.
double SmallestCharacterPixels(const QTextDocument& doc, double width, double height) {
    auto pixels = [](const QFont& font) {
        return font.pixelSize() > 0 ? double(font.pixelSize()) : font.pointSizeF() * 4.0 / 3.0;
    };
    const double standard = pixels(doc.defaultFont());
    double smallest = std::numeric_limits<double>::infinity();
    auto shows = [&](int position) {
        return position <=
               HxShownLengthEstimate(width, height, std::isfinite(smallest) ? smallest : standard);
    };
    for (QTextBlock b = doc.begin(); b.isValid() && shows(b.position()); b = b.next())
        for (auto it = b.begin(); !it.atEnd() && shows(it.fragment().position()); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat() || f.objectType() != QTextFormat::NoObject)
                continue;
            double size = f.hasProperty(QTextFormat::FontPixelSize)
                              ? f.intProperty(QTextFormat::FontPixelSize)
                          : f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() * 4.0 / 3.0
                                                                      : standard;
            if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript ||
                f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                size *= 2.0 / 3.0;
            smallest = std::min(smallest, size);
        }
    return std::isfinite(smallest) ? smallest : standard;
}

} // namespace

std::unique_ptr<QTextDocument> HxRichTextShownPart(const QTextDocument& doc, int width, int height,
                                                   HxLayoutBudget* budget) {
    // A table sizes its columns by all its cells: a document with one (pasted into the editor) is
    // laid out whole.
    const int length = doc.characterCount() - 1;
    const bool hasTable = !doc.rootFrame()->childFrames().isEmpty();
    const qsizetype first = HxShownLengthEstimate(width, height, SmallestCharacterPixels(doc, width, height));
    return HxLayOutShownBeginning(
        first, width, height,
        [&](qsizetype part) {
            HxShownBeginning shown;
            const int end = hasTable ? length : int(std::min<qsizetype>(length, part));
            shown.whole = end >= length;
            shown.doc = CopyBeginning(doc, end, shown.marksCut);
            shown.restNoTaller = !shown.whole && RestNoTaller(doc, end);
            return shown;
        },
        budget);
}

std::vector<BYTE> HxRenderRichText(const QTextDocument& doc, int width, int height, int* outWidth,
                                   int* outHeight, HxLayoutBudget* budget) {
    const int w = std::clamp(width, 1, HxRtfLimits::kMaxPictureSide);
    const int h = std::clamp(height, 1, HxRtfLimits::kMaxPictureSide);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    // An empty document draws nothing (and is not cloned: cloning one whose only paragraph is a
    // list item reads a list that the copy has not).
    if (doc.isEmpty())
        return BitmapToMonochrome(image, outWidth, outHeight, TRUE);
    HxInstallFontSubstitutions();
    // Only the beginning that shows in the picture is laid out (a long text would take long).
    const std::unique_ptr<QTextDocument> copy = HxRichTextShownPart(doc, w, h, budget);
    {
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        context.clip = QRectF(0, 0, w, h);
        painter.setClipRect(context.clip);
        copy->documentLayout()->draw(&painter, context);
    }
    return BitmapToMonochrome(image, outWidth, outHeight, TRUE);
}
