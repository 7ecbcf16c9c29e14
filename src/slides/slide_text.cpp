// A slide's text as a rich-text document, its colour, and the beginning of it that a box shows.
#include "slides/slide_text.h"

#include "measure/rich_text.h"
#include "measure/rich_text_format.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPixelsPerPoint = 4.0 / 3.0;
const char16_t* const kDefaultFace = u"宋体";

bool NearWhite(QRgb c) {
    return qRed(c) >= 221 && qGreen(c) >= 221 && qBlue(c) >= 221;
}

QRgb RunColor(const HxSlideRun& run, bool blackenNearWhite) {
    const QRgb c = run.hasColor ? run.color : qRgb(0, 0, 0);
    return blackenNearWhite && NearWhite(c) ? qRgb(0, 0, 0) : c;
}

} // namespace

HxSlideTextSides HxSlideTextSidesOf(const HxSlideText& text) {
    const double margin = kSlideDocumentMargin / kPixelsPerPoint;
    return {std::max(text.frame.left - margin, 0.0), std::max(text.frame.right - margin, 0.0)};
}

QTextBlockFormat HxSlideBlockFormat(const HxSlideParagraphFormat& paragraph, double left, double right) {
    QTextBlockFormat block;
    block.setAlignment(paragraph.align == 1   ? Qt::AlignHCenter
                       : paragraph.align == 2 ? Qt::AlignRight
                       : paragraph.align == 3 ? Qt::AlignJustify
                                              : Qt::AlignLeft);
    // Only what differs from a plain paragraph is stated.
    if (paragraph.margin + left != 0)
        block.setLeftMargin((paragraph.margin + left) * kPixelsPerPoint);
    if (right != 0)
        block.setRightMargin(right * kPixelsPerPoint);
    if (paragraph.indent != 0)
        block.setTextIndent(paragraph.indent * kPixelsPerPoint);
    if (paragraph.spaceBefore != 0)
        block.setTopMargin(paragraph.spaceBefore * kPixelsPerPoint);
    if (paragraph.spaceAfter != 0)
        block.setBottomMargin(paragraph.spaceAfter * kPixelsPerPoint);
    if (paragraph.lineSpacing > 0) {
        if (paragraph.lineSpacingPoints)
            block.setLineHeight(paragraph.lineSpacing * kPixelsPerPoint, QTextBlockFormat::FixedHeight);
        else
            block.setLineHeight(paragraph.lineSpacing, QTextBlockFormat::ProportionalHeight);
    }
    // The layout measures a line's tab stops from where the line starts: the first line's from the
    // margin and indent, so the margin lies as far from it as the indent hangs.
    if (paragraph.bulleted && paragraph.indent < 0)
        block.setTabPositions({QTextOption::Tab(-paragraph.indent * kPixelsPerPoint, QTextOption::LeftTab)});
    return block;
}

void HxSlideTextToDocument(const HxSlideText& text, bool blackenNearWhite, QTextDocument& doc) {
    // One edit without undo steps, and no layout made here: a slide's text holds no objects, and a
    // document that is only written out and copied from (the editor's paste) is then never laid out
    // whole, which takes long for a long text.  A layout the document has hears of it once.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    doc.clear();
    QFont font{QString::fromUtf16(kDefaultFace)};
    font.setPointSizeF(text.defaultPoints);
    doc.setDefaultFont(font);
    bool first = true;
    const HxSlideTextSides sides = HxSlideTextSidesOf(text);
    for (const HxSlideParagraph& paragraph : text.paragraphs) {
        const QTextBlockFormat block = HxSlideBlockFormat(paragraph, sides.left, sides.right);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const HxSlideRun& run : paragraph.runs) {
            QTextCharFormat f;
            const QString face = run.face.isEmpty() ? QString::fromUtf16(kDefaultFace) : run.face;
            f.setFontFamilies({face});
            f.setProperty(HxRtf::kFaceKey, face);
            // Faces with names beyond Latin letters are Chinese faces (GB2312) in the RTF.
            bool latin = true;
            for (QChar c : face)
                latin = latin && c.unicode() < 128;
            if (!latin)
                f.setProperty(HxRtf::kFontCharset, 134);
            f.setFontPointSize(run.points > 0 ? run.points : text.defaultPoints);
            f.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(run.italic);
            f.setFontUnderline(run.underline);
            if (run.baseline != 0)
                f.setVerticalAlignment(run.baseline > 0 ? QTextCharFormat::AlignSuperScript
                                                        : QTextCharFormat::AlignSubScript);
            f.setForeground(QColor::fromRgb(RunColor(run, blackenNearWhite)));
            const QStringList lines = run.text.split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    cursor.insertText(QString(QChar::LineSeparator), f);
                if (!lines[i].isEmpty())
                    cursor.insertText(lines[i], f);
            }
        }
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

QRgb HxSlideTextColor(const HxSlideText& text, bool blackenNearWhite) {
    for (const HxSlideParagraph& paragraph : text.paragraphs)
        for (size_t i = paragraph.bulleted ? 1 : 0; i < paragraph.runs.size(); ++i)
            if (!paragraph.runs[i].text.trimmed().isEmpty())
                return RunColor(paragraph.runs[i], blackenNearWhite);
    return qRgb(0, 0, 0);
}

namespace {

double RunPoints(const HxSlideText& text, const HxSlideRun& run) {
    return run.points > 0 ? run.points : text.defaultPoints;
}

// Whether the characters of a text from `end` (counted as HxSlideText::Length counts) to the end of
// their paragraph make no line taller than the character before `end` (as HxShownBeginning takes
// it): a size no larger, at the same position to the baseline.  False when `end` starts a paragraph.
bool RestNoTaller(const HxSlideText& text, qsizetype end) {
    qsizetype position = 0;
    for (const HxSlideParagraph& paragraph : text.paragraphs) {
        const HxSlideRun* cut = nullptr;
        for (const HxSlideRun& run : paragraph.runs) {
            if (!cut) {
                position += run.text.size();
                if (position >= end && !run.text.isEmpty())
                    cut = &run;
                continue;
            }
            if (RunPoints(text, run) > RunPoints(text, *cut) || run.baseline != cut->baseline)
                return false;
        }
        if (cut)
            return true;
        if (++position >= end)
            return false; // the cut is at the paragraph's end or the next one's start
    }
    return false;
}

} // namespace

// The text is walked while the characters before are fewer than the box holds of the smallest found
// so far.
double HxSlideTextSmallestPixels(const HxSlideText& text, double width, double height) {
    double points = std::numeric_limits<double>::infinity();
    qsizetype position = 0;
    for (const HxSlideParagraph& paragraph : text.paragraphs) {
        for (const HxSlideRun& run : paragraph.runs) {
            const double size = (std::isfinite(points) ? points : text.defaultPoints) * kPixelsPerPoint;
            if (position > HxShownLengthEstimate(width, height, size))
                return size;
            if (!run.text.isEmpty())
                points = std::min(points, RunPoints(text, run) * (run.baseline != 0 ? 2.0 / 3.0 : 1.0));
            position += run.text.size();
        }
        ++position; // the paragraph's end
    }
    return (std::isfinite(points) ? points : text.defaultPoints) * kPixelsPerPoint;
}

std::unique_ptr<QTextDocument> HxSlideTextShownPart(const HxSlideText& text, double width, double height,
                                                    HxLayoutBudget* budget) {
    const qsizetype first =
        HxShownLengthEstimate(width, height, HxSlideTextSmallestPixels(text, width, height));
    return HxLayOutShownBeginning(
        first, width, height,
        [&](qsizetype length) {
            HxShownBeginning part;
            bool cut = false;
            const HxSlideText beginning = text.Beginning(length, &cut);
            part.doc = std::make_unique<QTextDocument>();
            HxSlideTextToDocument(beginning, false, *part.doc);
            part.marksCut = HxCapCombiningMarks(*part.doc);
            part.whole = !cut;
            part.restNoTaller = cut && RestNoTaller(text, beginning.Length());
            return part;
        },
        budget);
}

HxSlideTextLayout HxLayOutSlideText(const HxSlideText& text, double width, double boxHeight, double above,
                                    double below, HxLayoutBudget* budget, bool tallAtTop) {
    const HxSlideTextFrame& frame = text.frame;
    HxSlideTextLayout layout;
    layout.left = std::min(frame.left * kPixelsPerPoint - kSlideDocumentMargin, 0.0);
    const double topInset = frame.top * kPixelsPerPoint, bottomInset = frame.bottom * kPixelsPerPoint;
    // A document's first paragraph starts at the document's margin, without the space before it
    // that its format states: the lines start that much lower.
    const double before = text.paragraphs.empty() ? 0.0 : text.paragraphs[0].spaceBefore * kPixelsPerPoint;
    layout.top = topInset - kSlideDocumentMargin + before;
    const bool anchored = frame.anchor != HxSlideTextFrame::kTop;
    const double reach = anchored ? above + below : below - layout.top;
    layout.doc = HxSlideTextShownPart(text, width, std::max(reach, 1.0), budget);
    layout.height = layout.doc->documentLayout()->documentSize().height();
    layout.whole = layout.doc->characterCount() - 1 >= text.Length();
    if (anchored && layout.whole) {
        const double room = boxHeight - topInset - bottomInset;
        const double lines = layout.height - 2 * kSlideDocumentMargin + before;
        layout.anchored = !tallAtTop || lines <= reach + 0.5;
        if (layout.anchored)
            layout.top += frame.anchor == HxSlideTextFrame::kBottom ? room - lines : (room - lines) / 2;
    }
    return layout;
}
