// What one slide import would add and the work it would do, counted from the slides before the
// first page is made: the rich text its editable texts keep, byte for byte as the writer writes it,
// the lesson it makes and the price of its work.
#include "slides/slide_cost.h"

#include "measure/rich_text.h"
#include "measure/rich_text_codepage.h"
#include "measure/rich_text_dialog.h"
#include "model/page.h"
#include "slides/slide_place.h"
#include "slides/slide_text.h"
#include "platform/cstring.h"

#include <QColor>
#include <QTextBlockFormat>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <string_view>

const char16_t* const g_slideTooManyItems = u"导入的对象过多，超过%d个，请减少演示文稿中的文本框和表格%s!";
const char16_t* const g_slidePicturesTooLarge =
    u"导入的图片过大，共需%d百万像素，超过%d百万像素，请缩小演示文稿中过大的文本框、表格或组合%s!";
const char16_t* const g_slideTextTooLarge =
    u"导入的文本过多，保存它们约需%dMB，超过%dMB，请删减演示文稿中过长的文本%s!";
const char16_t* const g_slideWorkTooLarge = u"导入的内容过于繁杂（%s），约为一次导入限度的%d%%，请%s%s!";
const char16_t* const g_slideWorkCauses[kSlideWorkCauses] = {
    u"文本、段落、换行或表格单元格过多",
    u"逐字改变字号或格式的文字过多",
    u"大号文字过多",
    u"要画的图片过大",
};
const char16_t* const g_slideWorkRemedies[kSlideWorkCauses] = {
    u"减少演示文稿中的文本框、段落、换行或表格单元格",
    u"减少演示文稿中逐字改变的字号或格式",
    u"缩小演示文稿中大号文字的字号",
    u"缩小演示文稿中过大的文本框、表格或组合",
};
const char16_t* const g_slideLessonTooLarge =
    u"导入后文档过大，保存它约需%dMB，超过文档的上限%dMB，请先另存、精简当前文档，或删减演示文稿中的文本%s!";
const char16_t* const g_slideFewerSlides = u"，或缩小幻灯片范围";

namespace {

// ---------------------------------------------------------------------------------------------
// The prices of the work, in units of about 20 ns (measured on a Release build: a text made
// editable costs some 50 us besides its characters, a text drawn some 30 us, a paragraph some 4 us to
// make and write, a run some 4 us, a line some 8 us and a letter some 0.4 us to lay out).

// A text made editable: its document, RTF, name and picture, whatever it holds.
constexpr qint64 kEditableTextWork = 2500;
// A text drawn in a picture (a text frame, or a cell or member of a drawn table or group).
constexpr qint64 kDrawnTextWork = 1600;
// A picture of our own drawing (its image, one-bit copy and item), a cell of a drawn table (its
// frame), an object of a table grid, a page.
constexpr qint64 kPictureWork = 500;
constexpr qint64 kCellFrameWork = 50;
constexpr qint64 kGridObjectWork = 100;
constexpr qint64 kPageWork = 1000;
// What an editable text keeps, each: a letter or a sign of ASCII, a character past it (its "\uN?"),
// a tab, a line break (a line of its own in the document), a run and a paragraph.
constexpr qint64 kLetterWork = 1;
constexpr qint64 kNonAsciiWork = 8;
constexpr qint64 kTabWork = 3;
constexpr qint64 kLineBreakWork = 40;
constexpr qint64 kRunWork = 200;
constexpr qint64 kParagraphWork = 200;
// What a picture lays out of a text: each line a line break or a paragraph starts, and each run, in
// the first beginning laid out; and each letter of that beginning up to the short one every picture
// lays out however little of HxLayoutBudget is left (the letters past it are bounded by the budget).
constexpr qint64 kShownBreakWork = 400;
constexpr qint64 kLaidOutLetterWork = 20;
// A box whose lines are narrower than its characters: its beginning laid out again, broken at word
// boundaries (a character wider than a line is laid out otherwise when broken anywhere).
constexpr qint64 kLaidOutAgainWork = 1000;
// The margin of a document laid out for a picture, each side, in pixels.
constexpr double kDocumentMargin = 4;
// Drawing and packing pixels into one-bit pictures: a unit for four.
constexpr qint64 kPixelsPerWork = 4;
// Filling the outlines of large characters: some 2.3 to 3 ns a pixel covered (measured, a "W" of
// 400 to 4,000 points in pictures of 960 x 720 to 4,096 pixels a side, clipped to a small box or
// not; up to three times that with other builds running), priced at a unit for four.
constexpr qint64 kCoveredPixelsPerWork = 4;

// ---------------------------------------------------------------------------------------------
// The lesson's file: the records of what an import makes (measured, with room to spare) besides the
// strings and pictures they hold.

constexpr qint64 kPageRecordBytes = 256;
constexpr qint64 kItemRecordBytes = 256;
constexpr qint64 kGridRecordBytes = 256;
// A string's length and marks in the file, and the item's name (at most 7 units).
constexpr qint64 kStringHeadBytes = 10;
constexpr qint64 kNameBytes = kStringHeadBytes + 14;

// ---------------------------------------------------------------------------------------------
// The RTF writer's bytes (CRtfWriter in rich_text.cpp), mirrored for a slide text.

constexpr qint64 Length(std::string_view s) {
    return qint64(s.size());
}

// The characters of QByteArray::number(n).
qint64 Digits(qint64 n) {
    qint64 digits = n < 0 ? 2 : 1;
    for (n = n < 0 ? -n : n; n >= 10; n /= 10)
        ++digits;
    return digits;
}

// Characters that make QTextCursor::insertText start a new paragraph.
bool BreaksParagraph(char16_t u) {
    return u == u'\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

// The bytes WriteText writes for one unit of a run's text ('\n' is a line separator by then).
qint64 TextBytes(char16_t u) {
    if (u == '\\' || u == '{' || u == '}')
        return 2;
    if (u == '\t')
        return Length("\\tab ");
    if (u == '\n' || u == 0x2028)
        return Length("\\line ");
    if (u >= 0x20 && u < 0x80)
        return 1;
    if (u >= 0x80)
        return Length("\\u?") + Digits(int16_t(u));
    return 0; // other control characters are left out
}

qint64 KeptWork(char16_t u) {
    if (u == '\t')
        return kTabWork;
    if (u == '\n' || u == 0x2028)
        return kLineBreakWork;
    if (BreaksParagraph(u))
        return kParagraphWork;
    return u < 0x80 ? kLetterWork : kNonAsciiWork;
}

// A run's format as the writer states it: colour, bold, italic, underline, position, font, size.
struct CRunState {
    qint64 color = 0;
    bool bold = false, italic = false, underline = false;
    int vAlign = 0;
    qint64 font = 0;
    int halfPoints = 24;
};

// The writer's font and colour tables for a text, in the order the writer makes them.
class CTables {
public:
    qint64 Font(const QString& face) {
        auto [it, added] = m_fonts.try_emplace(face, qint64(m_fonts.size()));
        if (added)
            m_fontBytes += FontBytes(it->second, face);
        return it->second;
    }
    qint64 Color(QRgb rgb) {
        auto [it, added] = m_colors.try_emplace(rgb, qint64(m_colors.size()) + 1);
        if (added)
            m_colorBytes +=
                Length("\\red\\green\\blue;") + Digits(qRed(rgb)) + Digits(qGreen(rgb)) + Digits(qBlue(rgb));
        return it->second;
    }
    qint64 Bytes() {
        if (m_fonts.empty())
            Font(QStringLiteral("宋体"));
        return m_fontBytes + (m_colors.empty() ? 0 : Length("{\\colortbl ;}\r\n") + m_colorBytes);
    }

private:
    // "{\fN\fnil\fcharsetC name;}": the name of a face beyond Latin letters in GB2312 ("\'hh" a
    // byte) or else as "\uN?"; a Latin name as it is, "\'hh" for the signs the RTF escapes, without
    // control characters and ';'.
    static qint64 FontBytes(qint64 index, const QString& face) {
        qint64 bytes = Length("{\\f\\fnil\\fcharset134 ;}") + Digits(index);
        bool latin = true;
        for (QChar c : face)
            latin = latin && c.unicode() < 128;
        if (latin) {
            for (QChar c : face) {
                const char16_t u = c.unicode();
                bytes += u < 0x20 || u == ';' ? 0 : u == '\\' || u == '{' || u == '}' ? 4 : 1;
            }
            return bytes;
        }
        QString name = face;
        name.removeIf([](QChar c) { return c.unicode() < 0x20 || c == QChar(';'); });
        const QByteArray encoded = HxRtfEncode(name, HxRtfFaceCodepage(134, 936));
        if (encoded.isEmpty() && !name.isEmpty()) {
            for (QChar c : name)
                bytes += TextBytes(c.unicode());
            return bytes;
        }
        for (char c : encoded)
            bytes += static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '{' || c == '}' ? 4 : 1;
        return bytes;
    }

    std::map<QString, qint64> m_fonts;
    std::map<QRgb, qint64> m_colors;
    qint64 m_fontBytes = 0, m_colorBytes = 0;
};

// A text's colour as HxSlideTextToDocument gives a run (near-white made black), as the writer keeps it.
QRgb RunRgb(const HxSlideRun& run) {
    const QRgb c = run.hasColor ? run.color : qRgb(0, 0, 0);
    const bool nearWhite = qRed(c) >= 221 && qGreen(c) >= 221 && qBlue(c) >= 221;
    return nearWhite ? qRgb(0, 0, 0) : qRgb(qRed(c), qGreen(c), qBlue(c));
}

// The control words WriteRun writes when the format changes from `was` to `now`, with their space.
qint64 FormatChangeBytes(const CRunState& was, const CRunState& now) {
    qint64 bytes = 0;
    if (now.color != was.color)
        bytes += Length("\\cf") + Digits(now.color);
    if (now.bold != was.bold)
        bytes += now.bold ? Length("\\b") : Length("\\b0");
    if (now.italic != was.italic)
        bytes += now.italic ? Length("\\i") : Length("\\i0");
    if (now.underline != was.underline)
        bytes += now.underline ? Length("\\ul") : Length("\\ulnone");
    if (now.vAlign != was.vAlign)
        bytes += now.vAlign == 1   ? Length("\\super")
                 : now.vAlign == 2 ? Length("\\sub")
                                   : Length("\\nosupersub");
    if (now.font != was.font)
        bytes += Length("\\f") + Digits(now.font);
    if (now.halfPoints != was.halfPoints)
        bytes += Length("\\fs") + Digits(now.halfPoints);
    return bytes > 0 ? bytes + 1 : 0;
}

// What an editable text keeps (its first `maxLength` characters), priced, and the first `shown`
// characters a picture lays out of it, counted.
struct CTextCount {
    qint64 rtfBytes = 0;
    qint64 work = 0;
    qint64 shownBreaks = 0; // line breaks and paragraph ends in the first beginning laid out
    qint64 shownRuns = 0;
    qint64 shownLetters = 0; // the characters of that beginning
};

// Walks a text as HxSlideText::Beginning cuts it to `kept` characters (nothing kept: 0) and to
// `shown` (the characters a picture lays out first), whichever is longer.
CTextCount CountText(const HxSlideText& text, qsizetype kept, qsizetype shown) {
    CTextCount count;
    CTables tables;
    CRunState state;
    qint64 body = 0;
    qsizetype position = 0, left = kept;
    bool keeping = kept > 0;
    const HxSlideTextSides sides = HxSlideTextSidesOf(text);
    for (size_t i = 0; i < text.paragraphs.size() && (keeping || position < shown); ++i) {
        const HxSlideParagraph& paragraph = text.paragraphs[i];
        if (i > 0) {
            if (position < shown)
                ++count.shownBreaks;
            ++position;
            keeping = keeping && left-- > 0;
        }
        // The control words of the paragraph's format (alignment, indents, spacing, tab stops), which
        // a paragraph a run's characters start repeats.
        qint64 format = 0;
        if (keeping) {
            format = HxRtfParagraphWords(HxSlideBlockFormat(paragraph, sides.left, sides.right)).size();
            body += (i > 0 ? Length("\\par\r\n") : 0) + Length("\\pard ") + format;
            count.work += kParagraphWork;
        }
        for (const HxSlideRun& run : paragraph.runs) {
            if (!keeping && position >= shown)
                break;
            const qsizetype size = run.text.size();
            if (size > 0 && position < shown) {
                ++count.shownRuns;
                count.shownBreaks +=
                    QStringView(run.text).first(std::min<qsizetype>(size, shown - position)).count(u'\n');
            }
            position += size;
            if (!keeping || size == 0)
                continue;
            const qsizetype taken = std::min(size, left);
            left -= taken;
            keeping = taken == size;
            // Characters that start a paragraph leave nothing of the run's format in the document: a
            // run of nothing else states no format.
            qsizetype breaks = 0, plain = 0;
            const QChar* units = run.text.constData();
            for (qsizetype k = 0; k < taken; ++k) {
                const char16_t u = units[k].unicode();
                // Letters and signs of ASCII the RTF keeps as they are, the most of any text.
                if (u >= 0x20 && u < 0x80 && u != '\\' && u != '{' && u != '}') {
                    ++plain;
                    continue;
                }
                count.work += KeptWork(u);
                if (BreaksParagraph(u))
                    ++breaks;
                else
                    body += TextBytes(u);
            }
            body += plain;
            count.work += plain * kLetterWork;
            body += breaks * (Length("\\par\r\n\\pard ") + format);
            if (breaks == taken)
                continue;
            CRunState now;
            now.color = tables.Color(RunRgb(run));
            now.bold = run.bold;
            now.italic = run.italic;
            now.underline = run.underline;
            now.vAlign = run.baseline > 0 ? 1 : run.baseline < 0 ? 2 : 0;
            now.font = tables.Font(run.face.isEmpty() ? QStringLiteral("宋体") : run.face);
            const double points = run.points > 0 ? run.points : text.defaultPoints;
            now.halfPoints = std::clamp(int(std::lround(points * 2)), HxRtfLimits::kMinHalfPoints,
                                        HxRtfLimits::kMaxHalfPoints);
            body += FormatChangeBytes(state, now);
            state = now;
            count.work += kRunWork;
        }
    }
    count.shownLetters = std::min<qint64>(position, shown);
    if (kept > 0) {
        if (text.paragraphs.empty())
            body += Length("\\pard "); // a document has a paragraph however empty
        count.rtfBytes = Length("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl") +
                         Length("}\r\n") + Length("\\viewkind4\\uc1") + body + Length("\\par\r\n}\r\n");
        count.rtfBytes += tables.Bytes();
    }
    return count;
}

// What a picture width x height pixels lays out first of a text (HxSlideTextShownPart's first
// beginning), and the lines of its smallest characters it shows, past which the lines a beginning
// starts are not laid out (the picture shows no more of them).
struct CShown {
    qsizetype length = 0;
    qint64 lines = 0;
    bool narrow = false; // lines narrower than its smallest characters
};
CShown ShownOf(const HxSlideText& text, double width, double height) {
    const double w = std::clamp(width, 1.0, double(HxRtfLimits::kMaxPictureSide));
    const double h = std::clamp(height, 1.0, double(HxRtfLimits::kMaxPictureSide));
    const double smallest = std::max(HxSlideTextSmallestPixels(text, w, h), 1.0);
    return {HxShownLengthEstimate(w, h, smallest), qint64(std::floor(h / smallest)) + 2,
            w - 2 * kDocumentMargin < smallest};
}

qint64 ShownWork(const CTextCount& count, const CShown& shown) {
    const qint64 letters =
        kLaidOutLetterWork * std::min<qint64>(count.shownLetters, HxLayoutBudget::kMinimum);
    return kShownBreakWork * (std::min(count.shownBreaks, 2 * shown.lines) + count.shownRuns) + letters +
           (shown.narrow ? kLaidOutAgainWork + letters : 0);
}

// Adds work of a cause to a cost.
void AddWork(HxSlideImportCost& cost, HxSlideWorkCause cause, qint64 units) {
    cost.work += units;
    cost.workOf[size_t(cause)] += units;
}

// The runs holding characters after the first such run of their paragraph, of those that start in
// the first `length` characters (counted as HxSlideText::Length counts them): the changes of format.
// Each costs a run's work (kRunWork kept, kShownBreakWork laid out) besides its letters.  A
// paragraph's first run costs as much but goes with its paragraph: many paragraphs of a word each are
// many paragraphs, not many changes of format.  Changes inside a word and at a space are not told
// apart, as the price does not tell them apart: a word whose letters change size one by one is
// nothing but changes, and a text that changes format at every word is made cheaper the same way, by
// changing it less often.
qint64 FormatChanges(const HxSlideText& text, qsizetype length) {
    qint64 changes = 0;
    qsizetype position = 0;
    for (size_t i = 0; i < text.paragraphs.size() && position < length; ++i) {
        if (i > 0)
            ++position; // the paragraph's end
        bool first = true;
        for (const HxSlideRun& run : text.paragraphs[i].runs) {
            if (position >= length)
                break;
            if (run.text.isEmpty())
                continue;
            changes += first ? 0 : 1;
            first = false;
            position += run.text.size();
        }
    }
    return changes;
}

// The work of a text's own (an editable text's `kept`, a drawn one's nothing) and of laying out what
// its picture shows, split into the changes of format and the rest.
void AddTextWork(HxSlideImportCost& cost, const HxSlideText& text, qint64 work, qsizetype kept,
                 qsizetype shown) {
    const qint64 changes =
        (kept > 0 ? kRunWork * FormatChanges(text, kept) : 0) + kShownBreakWork * FormatChanges(text, shown);
    // A run of nothing but paragraph ends is counted here but not priced: never more than the work.
    const qint64 format = std::min(changes, work);
    AddWork(cost, HxSlideWorkCause::kFormatChanges, format);
    AddWork(cost, HxSlideWorkCause::kTexts, work - format);
}

qint64 PixelsOf(const HxSlideBox& box) {
    const HxSlidePlace place = HxPlaceSlideBox(box);
    return qint64(place.pixelWidth) * place.pixelHeight;
}

// The bits of a one-bit picture of the box's size in the file, with its sides.
qint64 PictureBytes(const HxSlideBox& box) {
    const HxSlidePlace place = HxPlaceSlideBox(box);
    return 8 + (qint64(place.pixelWidth) + 31) / 32 * 4 * place.pixelHeight;
}

// A text made editable in a box (a text frame or a table's cell): its item.
void AddEditableText(const HxSlideText& text, const HxSlideBox& box, HxSlideImportCost& cost) {
    const HxSlidePlace place = HxPlaceSlideBox(box);
    const CShown shown = ShownOf(text, place.pixelWidth, place.pixelHeight);
    const CTextCount count = CountText(text, CDlgRtEdit::kMaxTextLength, shown.length);
    const qint64 pixels = PixelsOf(box);
    ++cost.items;
    cost.pixels += pixels;
    cost.textBytes += count.rtfBytes;
    // The RTF is kept packed two bytes a unit, and written so.
    cost.storedBytes +=
        kItemRecordBytes + kNameBytes + kStringHeadBytes + count.rtfBytes + 1 + PictureBytes(box);
    AddTextWork(cost, text, kEditableTextWork + count.work + ShownWork(count, shown),
                CDlgRtEdit::kMaxTextLength, shown.length);
    AddWork(cost, HxSlideWorkCause::kPictures, pixels / kPixelsPerWork);
    AddWork(cost, HxSlideWorkCause::kLargeType,
            HxSlideTextCoverPixels(text, shown.length, place.pixelWidth, place.pixelHeight) /
                kCoveredPixelsPerWork);
}

// The texts a shape drawn as a picture `picture` lays out: its own, its cells' (each merged cell
// once) and its members'.
void AddDrawnTexts(const HxSlideShape& shape, const HxSlidePlace& picture, HxSlideImportCost& cost) {
    auto drawn = [&cost, &picture](const HxSlideText& text, const HxSlideBox& box) {
        if (!text.HasText())
            return;
        const HxSlidePlace place = HxPlaceSlideBox(box);
        const CShown shown = ShownOf(text, place.pixelWidth, place.pixelHeight);
        AddTextWork(cost, text, kDrawnTextWork + ShownWork(CountText(text, 0, shown.length), shown), 0,
                    shown.length);
        AddWork(cost, HxSlideWorkCause::kLargeType,
                HxSlideTextCoverPixels(text, shown.length, picture.pixelWidth, picture.pixelHeight) /
                    kCoveredPixelsPerWork);
    };
    switch (shape.kind) {
    case HxSlideShape::kText:
        drawn(shape.text, shape.box);
        break;
    case HxSlideShape::kTable: {
        const HxSlideBox* last = nullptr;
        for (const HxSlideCell& cell : shape.cells) {
            // A merged cell repeats its box in the cells it covers: it is drawn once, and counted
            // once for those that follow it in its row (more often for those below, never less).
            if (last && last->left == cell.box.left && last->top == cell.box.top)
                continue;
            last = &cell.box;
            AddWork(cost, HxSlideWorkCause::kTexts, kCellFrameWork);
            drawn(cell.text, cell.box);
        }
        break;
    }
    case HxSlideShape::kGroup:
        for (const HxSlideShape& member : shape.members)
            AddDrawnTexts(member, picture, cost);
        break;
    default:
        break;
    }
}

// What the import makes of a shape at most: a text item for a frame with text, the grid and a text
// per carrying cell with text for a table, one picture otherwise (none for a text without text: its
// drawing is blank).
void AddCostOf(const HxSlideShape& shape, bool convert, HxSlideImportCost& cost) {
    switch (HxSlideWayOf(shape, convert)) {
    case HxSlideWay::kTextFrame:
        if (shape.text.HasText())
            AddEditableText(shape.text, shape.box, cost);
        break;
    case HxSlideWay::kTable: {
        const qint64 grid = CGPage::TableCellCount(shape.rows, shape.columns);
        cost.items += grid;
        cost.storedBytes += grid * kGridRecordBytes;
        AddWork(cost, HxSlideWorkCause::kTexts, grid * kGridObjectWork);
        for (const HxTableCellStep& step : HxPlanSlideTable(shape).steps) {
            const HxSlideCell& cell = shape.Cell(step.row - 1, step.column - 1);
            if (step.Text() && cell.text.HasText()) {
                AddEditableText(cell.text, cell.box, cost);
                cost.storedBytes += 12; // the point it follows
            }
        }
        break;
    }
    case HxSlideWay::kPicture:
        if (shape.kind != HxSlideShape::kText || shape.text.HasText()) {
            const qint64 pixels = PixelsOf(shape.box);
            ++cost.items;
            cost.pixels += pixels;
            cost.storedBytes += kItemRecordBytes + PictureBytes(shape.box);
            AddWork(cost, HxSlideWorkCause::kTexts, kPictureWork);
            AddWork(cost, HxSlideWorkCause::kPictures, pixels / kPixelsPerWork);
            AddDrawnTexts(shape, HxPlaceSlideBox(shape.box), cost);
        }
        break;
    default:
        break;
    }
}

} // namespace

qint64 HxSlideTextCoverPixels(const HxSlideText& text, qsizetype length, int width, int height) {
    const double w = std::max(width, 1), h = std::max(height, 1);
    double covered = 0;
    qsizetype position = 0;
    for (size_t i = 0; i < text.paragraphs.size() && position < length; ++i) {
        if (i > 0)
            ++position; // the paragraph's end
        for (const HxSlideRun& run : text.paragraphs[i].runs) {
            if (position >= length)
                break;
            const qsizetype size = run.text.size();
            const double pixels = (run.points > 0 ? run.points : text.defaultPoints) * 4.0 / 3.0;
            if (std::isfinite(pixels) && pixels >= kSlideLargeCharacterPixels) {
                qsizetype visible = 0;
                for (QChar c : QStringView(run.text).first(std::min(size, length - position)))
                    visible += c.isSpace() || c.isLowSurrogate() ? 0 : 1;
                covered += double(visible) * std::min(pixels, w) * std::min(pixels, h);
            }
            position += size;
        }
    }
    return qint64(std::min(covered, 1.0e15));
}

HxSlideWay HxSlideWayOf(const HxSlideShape& shape, bool convert) {
    switch (shape.kind) {
    case HxSlideShape::kText:
        return convert ? HxSlideWay::kTextFrame : HxSlideWay::kPicture;
    case HxSlideShape::kTable:
        if (!convert || shape.rows >= kSlideTableAsPicture || shape.columns >= kSlideTableAsPicture)
            return HxSlideWay::kPicture;
        return HxSlideWay::kTable;
    case HxSlideShape::kGroup:
        return convert ? HxSlideWay::kLeftOut : HxSlideWay::kPicture;
    default:
        // Pictures, embedded objects and every other shape are left out.
        return HxSlideWay::kLeftOut;
    }
}

int HxSlideTextsIn(const HxSlideShape& shape) {
    int texts = shape.text.HasText() ? 1 : 0;
    for (const HxSlideCell& cell : shape.cells)
        texts += cell.text.HasText() ? 1 : 0;
    for (const HxSlideShape& member : shape.members)
        texts += HxSlideTextsIn(member);
    return texts;
}

void HxCutSlideRange(const HxSlideDeck& deck, int& from, int& to) {
    HxCutSlideRange(int(deck.slides.size()), from, to);
}

void HxCutSlideRange(int slides, int& from, int& to) {
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 1);
    to = std::min(to, slides);
}

qint64 HxSlideTextRtfBytes(const HxSlideText& text, qsizetype maxLength) {
    return CountText(text, std::max<qsizetype>(maxLength, 1), 0).rtfBytes;
}

HxSlideImportCost HxSlideImportCostOf(const HxSlideDeck& deck, int from, int to, bool convert) {
    HxCutSlideRange(deck, from, to);
    // A slide listed again costs what it cost the first time.
    std::map<const HxSlide*, HxSlideImportCost> costs;
    HxSlideImportCost cost;
    for (int n = from; n <= to; ++n) {
        const HxSlide& slide = deck.Slide(size_t(n - 1));
        auto [it, added] = costs.try_emplace(&slide);
        if (added) {
            HxSlideImportCost& page = it->second;
            page.storedBytes = kPageRecordBytes;
            AddWork(page, HxSlideWorkCause::kTexts, kPageWork);
            for (const HxSlideShape& shape : slide.shapes)
                AddCostOf(shape, convert, page);
        }
        cost.items += it->second.items;
        cost.pixels += it->second.pixels;
        cost.textBytes += it->second.textBytes;
        cost.storedBytes += it->second.storedBytes;
        cost.work += it->second.work;
        for (size_t cause = 0; cause < kSlideWorkCauses; ++cause)
            cost.workOf[cause] += it->second.workOf[cause];
        ++cost.pages;
    }
    return cost;
}

qint64 HxCountSlideItems(const HxSlideDeck& deck, int from, int to, bool convert) {
    return HxSlideImportCostOf(deck, from, to, convert).items;
}

qint64 HxRoundedUp(qint64 n, qint64 unit) {
    return std::min<qint64>((n + unit - 1) / unit, INT_MAX);
}

HxSlideWorkCause HxSlideImportCost::MainWorkCause() const {
    return HxSlideWorkCause(std::max_element(workOf.begin(), workOf.end()) - workOf.begin());
}

CString HxSlideRefusalOf(const HxSlideImportCost& cost, qint64 stored, const HxSlideImportBounds& bounds) {
    // Fewer slides is a change only a range of more than one can make.
    const char16_t* const fewer = cost.pages > 1 ? g_slideFewerSlides : u"";
    if (cost.items > bounds.items)
        return HxFormat(g_slideTooManyItems, int(bounds.items), fewer);
    if (cost.pixels > bounds.pixels)
        return HxFormat(g_slidePicturesTooLarge, int(HxRoundedUp(cost.pixels, 1000000)),
                        int(bounds.pixels / 1000000), fewer);
    if (cost.textBytes > bounds.textBytes)
        return HxFormat(g_slideTextTooLarge, int(HxRoundedUp(cost.textBytes, 1 << 20)),
                        int(bounds.textBytes >> 20), fewer);
    if (cost.work > bounds.work) {
        const size_t cause = size_t(cost.MainWorkCause());
        return HxFormat(g_slideWorkTooLarge, g_slideWorkCauses[cause],
                        int(HxRoundedUp(cost.work * 100, std::max<qint64>(bounds.work, 1))),
                        g_slideWorkRemedies[cause], fewer);
    }
    if (cost.storedBytes > bounds.lessonBytes - stored)
        return HxFormat(g_slideLessonTooLarge, int(HxRoundedUp(stored + cost.storedBytes, 1 << 20)),
                        int(bounds.lessonBytes >> 20), fewer);
    return CString();
}
