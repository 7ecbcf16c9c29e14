// The one-bit picture of the rich text: the beginning of a text that shows in it, copied, priced
// against a layout budget, cut and laid out, and drawn.
#include "measure/rich_text.h"

#include "platform/bitmap_bits.h"
#include "view/glyph_font.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QSet>
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
// document of the default font `standard`): a size no larger, at the same position to the baseline.
// Faces and styles of one size are taken to make lines of one height (comparing their heights would
// load each face: a text of thousands of runs, each in a face of its own, would take seconds).
// Never for objects.
bool NoTaller(const QTextCharFormat& later, const QTextCharFormat& earlier, const QFont& standard) {
    if (IsObject(later) || IsObject(earlier) || later.verticalAlignment() != earlier.verticalAlignment())
        return false;
    auto pixels = [&standard](const QTextCharFormat& f) {
        const QFont font = f.font().resolve(standard);
        return font.pixelSize() > 0 ? double(font.pixelSize()) : font.pointSizeF() * 4.0 / 3.0;
    };
    return pixels(later) <= pixels(earlier);
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

// Scripts written without spaces between words, whose line breaks come from a dictionary (Thai; Lao,
// Khmer and Myanmar likewise): the break finder searches a run of Thai in a time that grows as the
// square of its length.
bool DictionaryScript(QChar::Script script) {
    return script == QChar::Script_Thai || script == QChar::Script_Lao || script == QChar::Script_Khmer ||
           script == QChar::Script_Myanmar;
}

// What laying out a beginning not yet laid out costs, in HxLayoutBudget's units: a unit a character
// (a paragraph's end one); and broken at word boundaries, an unbroken run of W characters in lines
// of at least p characters W² / (128 p) more: finding where each of its lines ends passes the rest
// of the run (p is taken as the lines' width over twice the largest characters' size), and it
// passes it item by item: kItemInRun x W x n / p more for a run holding n starts of new items (a
// word whose letters change size one by one takes seconds at a few thousand letters).  Each new
// item of the layout, where the script or the format changes, kItem more, and each character of a
// dictionary script kDictionary in all.  The runs are found by the break finder, but a run of
// dictionary characters longer than kDictionaryPiece is given to it in pieces of that length, as the
// layout gives them to it: whole, it would take seconds for a run of a million.  Each typeface the
// layout has not met before (in `known`, those of the beginnings laid out before) kNewFace more, but
// for the first kFreeFaces: the font is looked for and loaded.
class CLayoutCost {
public:
    // Measured, a million characters of one-point type laid out 4,096 pixels wide and drawn: Latin
    // letters 0.33 s, Chinese 0.48 s; changing script or format at every character 2.4 to 3.2 s; Thai
    // 1.3 s (Myanmar 1.2 s, Lao and Khmer 0.6 to 0.8 s), in proportion to its length from 65,000
    // characters to two million: the layout gives the break finder pieces of at most 4,096 of them.
    // A typeface of its own takes 0.5 ms to find and load when a few hundred are, more as they grow
    // in number: 32,767 in one text took 50 s.
    static constexpr double kItem = 8;
    // Measured, one word of letters whose sizes change at every letter, laid out 47 to 1,000 pixels
    // wide: some 400 ns more for each letter each of its lines passes, against 35 ns for a word of
    // one size (1.2 units a letter passed; a line of p letters passes the run's rest, p >= 1).
    static constexpr double kItemInRun = 0.6;
    static constexpr double kDictionary = 4;
    static constexpr double kNewFace = 2048;
    static constexpr qsizetype kFreeFaces = 16;
    static constexpr qsizetype kDictionaryPiece = 4096;

    CLayoutCost(const QTextDocument& doc, double width, const QSet<QString>* known = nullptr) {
        const QString standardFace = doc.defaultFont().family();
        QSet<QString> met;
        qsizetype free = std::max<qsizetype>(kFreeFaces - (known ? known->size() : 0), 0);
        double largest = doc.defaultFont().pixelSize() > 0 ? doc.defaultFont().pixelSize()
                                                           : doc.defaultFont().pointSizeF() * 4.0 / 3.0;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            std::vector<qsizetype> formats; // where a fragment starts, but the first
            QTextCharFormat previous;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.hasProperty(QTextFormat::FontPixelSize))
                    largest = std::max(largest, double(f.intProperty(QTextFormat::FontPixelSize)));
                else if (f.hasProperty(QTextFormat::FontPointSize))
                    largest = std::max(largest, f.fontPointSize() * 4.0 / 3.0);
                const QStringList families = f.fontFamilies().toStringList();
                const QString face = families.isEmpty() ? standardFace : families.join(u',');
                if ((!known || !known->contains(face)) && !met.contains(face)) {
                    met.insert(face);
                    m_newFaces.emplace_back(it.fragment().position(), face);
                    if (free > 0)
                        --free;
                    else
                        m_pricedFaces.push_back(it.fragment().position());
                }
                if (it != block.begin()) {
                    formats.push_back(it.fragment().position());
                    // Broken at word boundaries, each line of a run broken inside is as high as the
                    // rest of the run: broken anywhere, as high as itself.  The same when no character
                    // of a paragraph is taller than one before it.
                    if (m_breakFree && !NoTaller(f, previous, doc.defaultFont()))
                        m_breakFree = false;
                }
                previous = f;
            }
            const QString text = block.text();
            const std::vector<qsizetype> scripts = Scripts(text, block.position());
            std::set_union(formats.begin(), formats.end(), scripts.begin(), scripts.end(),
                           std::back_inserter(m_items));
            Runs(text, block.position());
            if (block.next().isValid())
                AddRun(block.position() + text.size(), 1); // the paragraph's end
        }
        const double line = std::isfinite(width) ? width - 2 * doc.documentMargin() : 1.0;
        m_perLine = std::max(1.0, std::floor(line / (2 * std::max(largest, 1.0))));
        m_dictionaryBefore.reserve(m_dictionary.size());
        qsizetype before = 0;
        for (const auto& [from, to] : m_dictionary) {
            m_dictionaryBefore.push_back(before);
            before += to - from;
        }
    }

    // Whether no paragraph may break inside: each is one unbroken run, whose lines are those of
    // breaking anywhere, none of its characters taller than one before it.
    bool BreakFree() const { return m_breakFree; }
    // Where the unbroken run the text ends in starts (-1 when its last paragraph is empty).
    qsizetype LastRun() const { return m_lastRun; }
    // Adds to `known` the typefaces first met in the first `end` positions.
    void AddFaces(qsizetype end, QSet<QString>& known) const {
        for (const auto& [position, face] : m_newFaces) {
            if (position >= end)
                break;
            known.insert(face);
        }
    }

    // The cost of the first `end` positions (all of them by default), and the longest beginning
    // that costs at most `allowed` (its end, and its cost); `anywhere` when the runs are broken
    // anywhere (each line then passes only itself).
    qsizetype Cost(bool anywhere, qsizetype end = std::numeric_limits<qsizetype>::max()) const {
        return qsizetype(std::min(Units(anywhere, end), 1.0e15));
    }
    std::pair<qsizetype, qsizetype> Fitting(qsizetype allowed, bool anywhere) const {
        const qsizetype last = m_runs.empty() ? 0 : m_runs.back().start + m_runs.back().length;
        if (Units(anywhere, last) <= double(allowed))
            return {std::numeric_limits<qsizetype>::max(), Cost(anywhere, last)};
        // The cost grows with the end: the last end within what is allowed.
        qsizetype fits = 0, over = last;
        while (over - fits > 1) {
            const qsizetype middle = fits + (over - fits) / 2;
            (Units(anywhere, middle) <= double(allowed) ? fits : over) = middle;
        }
        return {fits, Cost(anywhere, fits)};
    }

private:
    struct Run {
        qsizetype start, length;
        double linearBefore, squareBefore; // of the runs before it
        double itemsBefore;                // their lengths times the items inside them
    };

    void AddRun(qsizetype start, qsizetype length) {
        double linear = 0, square = 0, items = 0;
        if (!m_runs.empty()) {
            const Run& last = m_runs.back();
            linear = last.linearBefore + double(last.length);
            square = last.squareBefore + double(last.length) * double(last.length);
            items = last.itemsBefore + double(last.length) * ItemsIn(last.start, last.start + last.length);
        }
        m_runs.push_back(Run{start, length, linear, square, items});
    }

    // The new items that start inside (from, to): those at `from` start with the run.
    double ItemsIn(qsizetype from, qsizetype to) const {
        return double(std::lower_bound(m_items.begin(), m_items.end(), to) -
                      std::upper_bound(m_items.begin(), m_items.end(), from));
    }

    // Where a paragraph's script changes (document positions), as the layout's items change: common
    // characters (spaces, digits, punctuation) and marks take the script of the text before them.
    // The spans of dictionary characters are kept.
    std::vector<qsizetype> Scripts(const QString& text, qsizetype position) {
        std::vector<qsizetype> changes;
        QChar::Script script = QChar::Script_Common;
        qsizetype dictionary = -1; // where the span of dictionary characters being read starts
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype at = i;
            const char32_t c = CharacterAt(text, i);
            const QChar::Script own = QChar::script(c);
            if (DictionaryScript(own)) {
                if (dictionary < 0)
                    dictionary = at;
            } else if (dictionary >= 0) {
                m_dictionary.emplace_back(position + dictionary, position + at);
                dictionary = -1;
            }
            if (own == script || own <= QChar::Script_Common)
                continue;
            if (script <= QChar::Script_Common) {
                script = own;
                continue;
            }
            if (Combining(c))
                continue;
            changes.push_back(position + at);
            script = own;
        }
        if (dictionary >= 0)
            m_dictionary.emplace_back(position + dictionary, position + text.size());
        return changes;
    }

    // The unbroken runs of a paragraph, from the break finder; a long span of dictionary characters
    // in pieces, each of which ends a run (the layout breaks them there too).  A run that starts where
    // a piece does is taken to start with its span.
    void Runs(const QString& text, qsizetype position) {
        m_lastRun = text.isEmpty() ? -1 : position;
        qsizetype start = 0; // of the run being found
        auto find = [&](qsizetype from, qsizetype to, qsizetype span) {
            QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text.constData() + from, to - from);
            for (qsizetype at = breaks.toNextBoundary(); at > 0; at = breaks.toNextBoundary()) {
                AddRun(position + start, from + at - start);
                m_breakFree = m_breakFree && from + at == text.size();
                m_lastRun = position + (start == from && span >= 0 ? span : start);
                start = from + at;
            }
        };
        qsizetype from = 0, span = -1; // where the piece starts, and the span it was cut from
        for (auto it =
                 std::lower_bound(m_dictionary.begin(), m_dictionary.end(), std::pair{position, position});
             it != m_dictionary.end() && it->first < position + text.size(); ++it) {
            const qsizetype first = it->first - position, last = it->second - position;
            for (qsizetype cut = first + kDictionaryPiece; cut < last; cut += kDictionaryPiece) {
                find(from, cut, span);
                from = cut;
                span = first;
            }
        }
        find(from, text.size(), span);
    }

    // The units of the first `end` positions.
    double Units(bool anywhere, qsizetype end) const {
        const double k = 128.0 * m_perLine;
        double units = 0;
        const auto run = std::lower_bound(m_runs.begin(), m_runs.end(), end,
                                          [](const Run& r, qsizetype at) { return r.start < at; });
        if (run != m_runs.begin()) {
            const Run& partial = *std::prev(run); // the last run that starts before `end`
            const qsizetype cut = std::min(partial.length, end - partial.start);
            const double w = double(cut);
            units = partial.linearBefore + w;
            if (!anywhere)
                units += (partial.squareBefore + w * w) / k +
                         kItemInRun *
                             (partial.itemsBefore + w * ItemsIn(partial.start, partial.start + cut)) /
                             m_perLine;
        }
        units += kItem * double(std::lower_bound(m_items.begin(), m_items.end(), end) - m_items.begin());
        units += kNewFace * double(std::lower_bound(m_pricedFaces.begin(), m_pricedFaces.end(), end) -
                                   m_pricedFaces.begin());
        const auto span = std::lower_bound(m_dictionary.begin(), m_dictionary.end(), end,
                                           [](const auto& s, qsizetype at) { return s.first < at; });
        if (span != m_dictionary.begin()) {
            const size_t i = size_t(std::prev(span) - m_dictionary.begin());
            const auto& [from, to] = m_dictionary[i];
            units += (kDictionary - 1) * double(m_dictionaryBefore[i] + std::min(to, end) - from);
        }
        return units;
    }

    std::vector<Run> m_runs;                                   // in order, by document position
    std::vector<qsizetype> m_items;                            // where new items start, in order
    std::vector<std::pair<qsizetype, qsizetype>> m_dictionary; // spans of dictionary characters
    std::vector<qsizetype> m_dictionaryBefore;                 // the dictionary characters before each
    std::vector<std::pair<qsizetype, QString>> m_newFaces;     // where each typeface not known is first met
    std::vector<qsizetype> m_pricedFaces;                      // those of them past the free ones
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
    // What the text may lay out in all past what was left when it began: twice the minimum (a
    // beginning of the minimum laid out twice), however many beginnings it takes.
    const qsizetype textMost =
        budget ? std::min(budget->left, kLongest) + 2 * HxLayoutBudget::kMinimum : kLongest;
    qsizetype textLaidOut = 0;
    for (qsizetype length = std::max<qsizetype>(firstLength, 1);; length = std::min(length, kLongest) * 4) {
        if (budget && budget->beforeEachBeginning)
            budget->beforeEachBeginning();
        // Less than the minimum left: the first beginning as short as the picture lets it be (a
        // small box shows a few letters), then the minimum at once, and no other after it.
        const bool scant = budget && budget->left < HxLayoutBudget::kMinimum;
        if (scant && textLaidOut > 0)
            length = std::max(length, HxLayoutBudget::kMinimum);
        const bool last = scant && length >= HxLayoutBudget::kMinimum;
        const qsizetype allowed = std::min(allowance(), textMost - textLaidOut);
        bool cutShort = last || length > allowed;
        const qsizetype asked = std::min(length, allowed);
        // The beginning, cut where what is left allows, laid out broken anywhere when its paragraphs
        // are unbroken runs (the same lines, each found by passing only itself) unless a character is
        // wider than a line; else at word boundaries.
        qsizetype lastRun = -1;
        auto make = [&](bool tryAnywhere, qsizetype most, bool& anywhere) {
            HxShownBeginning part = beginning(asked);
            const CLayoutCost cost(*part.doc, width, budget ? &budget->faces : nullptr);
            lastRun = cost.LastRun();
            anywhere = tryAnywhere && cost.BreakFree() && part.doc->rootFrame()->childFrames().isEmpty() &&
                       part.doc->defaultTextOption().wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
            qsizetype charged = cost.Cost(anywhere);
            qsizetype laidOut = std::numeric_limits<qsizetype>::max();
            if (charged > most) {
                const auto [end, fitting] = cost.Fitting(most, anywhere);
                CutAt(*part.doc, end);
                part.whole = false;
                part.restNoTaller = false;
                cutShort = true;
                charged = fitting;
                laidOut = end;
            }
            LayOut(*part.doc, width, anywhere);
            textLaidOut += charged;
            if (budget) {
                cost.AddFaces(laidOut, budget->faces);
                budget->laidOut += charged;
                budget->left = std::max<qsizetype>(budget->left - charged, 0);
            }
            return part;
        };
        bool anywhere = false;
        HxShownBeginning part = make(true, allowed, anywhere);
        if (anywhere && HasOverfullLine(*part.doc)) {
            const qsizetype rest = std::min(allowance(), textMost - textLaidOut);
            if (rest > 0)
                part = make(false, rest, anywhere);
            else
                cutShort = true; // the lines broken anywhere stand for the text's
        }
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
