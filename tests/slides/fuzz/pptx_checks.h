// The checks of the slide source's fuzzer, shared with the unit test that replays its kept corpus:
// arbitrary bytes read as a ".pptx" archive, then the import's reading steps on what it gives (each
// text as rich text, written as RTF and read back, never longer than the import counts it; each
// table's placement and arithmetic; what the import would add; our own drawing of the shapes, as
// many as an input's share of pixels and of characters laid out allows).  A broken invariant is
// reported through `fail`.
#pragma once

#include "slides/pptx_reader.h"
#include "measure/rich_text.h"
#include "slides/pptx_files.h"
#include "view/slide_import.h"

#include <QTextDocument>

#include <algorithm>

namespace hx_pptx_checks {

// What the drawings of one input may take: pixels of pictures (two of the largest size), and
// characters laid out, shared as an import shares them.
struct Drawing {
    qint64 pixelsLeft = 2 * 4096LL * 4096;
    HxLayoutBudget layout = [] {
        HxLayoutBudget budget;
        budget.left = 100000;
        return budget;
    }();
};

// The texts a shape draws (a table's cells and a group's members included).
inline qint64 TextsOf(const HxSlideShape& shape) {
    qint64 texts = shape.kind == HxSlideShape::kText ? 1 : 0;
    if (shape.kind == HxSlideShape::kTable)
        texts += qint64(shape.cells.size());
    for (const HxSlideShape& member : shape.members)
        texts += TextsOf(member);
    return texts;
}

// The combining marks in the longest row of them in a text.
inline int LongestRowOfMarks(const QString& text) {
    int longest = 0, row = 0;
    for (QChar c : text) {
        const QChar::Category category = c.category();
        row = category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
                      category == QChar::Mark_Enclosing
                  ? row + 1
                  : 0;
        longest = std::max(longest, row);
    }
    return longest;
}

template <class Fail> void CheckText(const HxSlideText& text, Fail&& fail) {
    QTextDocument doc;
    HxSlideTextToDocument(text, true, doc);
    QTextDocument back;
    const QByteArray rtf = HxDocumentToRtf(doc);
    if (!HxRtfToDocument(rtf, back))
        fail("the rich text of a slide's text does not read back");
    // What an import counts of the rich text an editable text keeps is never below what is written.
    if (HxSlideTextRtfBytes(text) < rtf.size())
        fail("the rich text of a slide's text is longer than counted");
    if (text.HasText() && HxRichPlainText(back).trimmed().isEmpty())
        fail("a slide's text lost its text as rich text");
    // Counted as the rich-text editor counts, and cut where the import cuts for the editor.
    if (doc.characterCount() - 1 != text.Length())
        fail("a slide's text is not as long as its rich text");
    bool cut = false;
    const HxSlideText half = text.Beginning(text.Length() / 2, &cut);
    if (half.Length() > text.Length() / 2 || (half.Length() < text.Length()) != cut)
        fail("the beginning of a slide's text is longer than asked, or says it was cut when it was not");
    if (text.Beginning(text.Length(), &cut).Length() != text.Length() || cut)
        fail("a slide's text cut at its own length lost characters");
}

template <class Fail> void CheckShape(const HxSlideShape& shape, int depth, Drawing& drawing, Fail&& fail) {
    if (depth > HxPptxLimits::kMaxGroupDepth + 1)
        fail("groups nested past the limit");
    switch (shape.kind) {
    case HxSlideShape::kText: {
        CheckText(shape.text, fail);
        // The part laid out for a picture keeps at most thirty marks in a row.
        const HxSlidePlace place = HxPlaceSlideBox(shape.box);
        if (shape.text.HasText() && LongestRowOfMarks(HxSlideTextShownPart(shape.text, place.pixelWidth,
                                                                           place.pixelHeight, &drawing.layout)
                                                          ->toPlainText()) > kMaxShownMarks)
            fail("a picture lays out more combining marks in a row than it shows");
        break;
    }
    case HxSlideShape::kTable: {
        if (shape.rows < 1 || shape.columns < 1 || shape.rows > HxPptxLimits::kMaxTableSide ||
            shape.columns > HxPptxLimits::kMaxTableSide ||
            shape.cells.size() != size_t(shape.rows) * size_t(shape.columns))
            fail("a table's grid does not match its cells");
        const HxTablePlan plan = HxPlanSlideTable(shape);
        if (plan.steps.size() != shape.cells.size())
            fail("a table's plan misses cells");
        for (const HxSlideCell& cell : shape.cells)
            CheckText(cell.text, fail);
        break;
    }
    case HxSlideShape::kGroup:
        for (const HxSlideShape& member : shape.members)
            CheckShape(member, depth + 1, drawing, fail);
        break;
    default:
        break;
    }
    const HxSlidePlace place = HxPlaceSlideBox(shape.box);
    if (place.pixelWidth < 1 || place.pixelHeight < 1 || place.pixelWidth > 4096 || place.pixelHeight > 4096)
        fail("a shape's pixel size is outside 1 .. 4096");
    // Our drawing of the shape, within the input's share: what it lays out is what is left of the
    // share, and a short beginning for each of its texts past that.
    const qint64 pixels = qint64(place.pixelWidth) * place.pixelHeight;
    if (pixels <= drawing.pixelsLeft) {
        drawing.pixelsLeft -= pixels;
        const qsizetype left = drawing.layout.left, laidOut = drawing.layout.laidOut;
        const QImage image = HxRenderSlideShape(shape, &drawing.layout);
        if (image.width() != place.pixelWidth || image.height() != place.pixelHeight)
            fail("our drawing of a shape has another size");
        if (drawing.layout.laidOut - laidOut > left + 2 * HxLayoutBudget::kMinimum * TextsOf(shape))
            fail("a drawing laid out more than its share");
    }
}

// The archive an input stands for.  An input "X\n" followed by XML parts separated by "\n====\n"
// is a presentation whose slides are those parts (one starting "<p:presentation" replaces the
// presentation part), put into a stored archive here: so the XML is fuzzed past the archive's
// checksums.  Any other input is the archive itself.
inline QByteArray ArchiveOf(const QByteArray& input) {
    if (!input.startsWith("X\n"))
        return input;
    QList<QByteArray> parts = input.mid(2).split('\n');
    std::vector<QByteArray> slides, pieces;
    QByteArray current;
    for (const QByteArray& line : parts) {
        if (line == "====") {
            pieces.push_back(current);
            current.clear();
            continue;
        }
        if (!current.isEmpty())
            current += '\n';
        current += line;
    }
    pieces.push_back(current);
    QByteArray presentation;
    for (QByteArray& piece : pieces) {
        if (piece.startsWith("<p:presentation") && presentation.isEmpty())
            presentation = piece;
        else if (slides.size() < 8)
            slides.push_back(piece);
    }
    auto entries = PptxFiles::Entries(std::vector<QString>(slides.size()));
    for (auto& [name, bytes] : entries) {
        if (name == QLatin1String("ppt/presentation.xml") && !presentation.isEmpty())
            bytes = presentation;
        for (size_t i = 0; i < slides.size(); ++i)
            if (name == QStringLiteral("ppt/slides/slide%1.xml").arg(i + 1))
                bytes = slides[i];
    }
    return PptxFiles::Zip(entries, true);
}

template <class Fail> void CheckInput(const QByteArray& input, Fail&& fail) {
    HxSlideDeck deck;
    const HxPptxError error = HxReadPptx(ArchiveOf(input), deck);
    if (error) {
        if (!deck.slides.empty() || deck.slideCount != 0)
            fail("a refused archive left slides behind");
        if (!HxSlideRefusalText(error, CString(u"f")).ToQString().startsWith(QStringLiteral("无法导入“f”：")))
            fail("a refusal is not said in words");
        return;
    }
    if (deck.slideCount < 1 || deck.slides.size() > size_t(HxPptxLimits::kMaxSlides) ||
        deck.slides.size() != size_t(std::min(deck.slideCount, HxPptxLimits::kMaxSlides)))
        fail("the slides read do not match the slides listed");
    Drawing drawing;
    for (size_t n = 0; n < deck.slides.size(); ++n) {
        const HxSlide& slide = deck.slides[n];
        // A repeated slide part stands for its first listing, which holds the shapes.
        if (slide.sameAs >= 0 && (size_t(slide.sameAs) >= n ||
                                  deck.slides[size_t(slide.sameAs)].sameAs >= 0 || !slide.shapes.empty()))
            fail("a repeated slide does not lead to its first listing");
        for (const HxSlideShape& shape : slide.shapes)
            CheckShape(shape, 0, drawing, fail);
    }
    // Unconverted, the import makes at most a picture of each shape of each slide it imports.
    qint64 shapes = 0;
    for (size_t n = 0; n < deck.slides.size(); ++n)
        shapes += qint64(deck.Slide(n).shapes.size());
    const int last = int(deck.slides.size());
    if (HxCountSlideItems(deck, 1, last, false) > shapes || HxCountSlideItems(deck, 1, last, true) < 0)
        fail("the objects an import would make are miscounted");
    // Each object it makes keeps at most a picture of the largest size, and pictures keep no rich
    // text; the lesson grows by the rich text kept and a one-bit picture of each, and more (the
    // records), and each object and page is work.
    for (const bool convert : {false, true}) {
        const HxSlideImportCost cost = HxSlideImportCostOf(deck, 1, last, convert);
        if (cost.pixels < 0 || cost.pixels > cost.items * 4096 * 4096 || cost.textBytes < 0 ||
            (!convert && cost.textBytes != 0))
            fail("what an import would add is miscounted");
        if (cost.storedBytes < cost.textBytes + cost.pixels / 8 + cost.items || cost.work < cost.items + last)
            fail("the lesson an import would make or its work is counted below what it adds");
        // The work by cause, which a refusal names, is the work and nothing else; a page a slide.
        qint64 parts = 0;
        bool negative = false;
        for (const qint64 part : cost.workOf) {
            parts += part;
            negative = negative || part < 0;
        }
        if (negative || parts != cost.work || cost.pages != last)
            fail("the work an import would do is split by cause other than it adds up");
    }
}

} // namespace hx_pptx_checks
