// What one slide import costs, counted before the first page: the rich text its editable texts keep
// (as the writer writes it), the lesson it would make, the work of its texts, paragraphs, line
// breaks, cells and members; its time bound; and memory running out, which never kills the program.
#include "document/document_test_support.h"
#include "slides/pptx_reader.h"
#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "pptx_files.h"
#include "slide_deck_fixture.h"
#include "slide_shapes.h"
#include "slides/slide_place.h"
#include "support/archive_helpers.h"
#include "support/child_process.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTextDocument>

#include <functional>
#include <string_view>

#include <malloc.h>
#include <sys/resource.h>

using namespace PptxFiles;
using namespace SlideShapes;

// A cell whose record is 2,046 MiB long though it costs no memory: the same block of zeros stored
// again and again.  A lesson holding it is a little smaller than the largest the program saves.
class CNearlyFullRecordCell : public CGCell {
    DECLARE_SERIAL(CNearlyFullRecordCell)
public:
    static constexpr qint64 kRecordBytes = 2046LL << 20;
    void Serialize(CArchive& ar) override {
        CGCell::Serialize(ar);
        if (!ar.IsStoring())
            return;
        StoreZeros(ar, kRecordBytes);
    }
};
IMPLEMENT_SERIAL(CNearlyFullRecordCell, CGCell, 1)

namespace {

// A slide of `count` text boxes of 90 x 30 points, each one paragraph of one run of `text`.
QString RunBoxes(int count, const QString& text) {
    QString out;
    for (int i = 0; i < count; ++i)
        out += TextBox(3 + i, (i % 10) * 60.0, (i / 10) * 40.0, 90, 30, Paragraph(TextRun(text)));
    return out;
}

// The hostile decks: each `slides` long, imported whole.
struct Family {
    const char* what;
    std::function<QByteArray()> bytes;
    int slides;
};
std::vector<Family> Families() {
    return {
        {"4,000 texts of 32,766 tabs",
         [] {
             return Presentation({RunBoxes(40, QStringLiteral("a") + QString(32766, u'\t'))},
                                 std::vector<int>(100, 0));
         },
         100},
        {"4,000 texts of 32,766 line breaks",
         [] {
             return Presentation({RunBoxes(40, QStringLiteral("a") + QString(32766, u'\n'))},
                                 std::vector<int>(100, 0));
         },
         100},
        {"a table of 200 x 200 letters listed 10 times",
         [] {
             return Presentation({SquareCellTable(200, 200, QStringLiteral("a"))}, std::vector<int>(10, 0));
         },
         10},
        {"a table of 200 x 100 cells of 300 letters listed 10 times",
         [] {
             return Presentation({SquareCellTable(200, 100, QString(300, u'a'))}, std::vector<int>(10, 0));
         },
         10},
        {"a group of 1,999 boxes listed 100 times",
         [] {
             QString members;
             for (int i = 0; i < 1999; ++i)
                 members += TextBox(3 + i, (i % 40) * 15.0, (i / 40) * 9.0, 12, 9,
                                    Paragraph(SizedRun(QStringLiteral("a"), 6)));
             return Presentation({Group(2, 0, 0, 720, 540, 0, 0, 720, 540, members)},
                                 std::vector<int>(100, 0));
         },
         100},
        {"500 texts of 9,999 paragraphs of a letter",
         [] {
             const QString paragraphs = Paragraph(TextRun(QStringLiteral("a"))).repeated(9999);
             QString boxes;
             for (int i = 0; i < 5; ++i)
                 boxes += TextBox(3 + i, 0, 0, 90, 30, paragraphs);
             return Presentation({boxes}, std::vector<int>(100, 0));
         },
         100},
        {"ten slides of 2,000 boxes of 1,000 short lines",
         [] {
             const QString lines = QStringLiteral("ab\n").repeated(999) + QStringLiteral("ab");
             return Presentation(std::vector<QString>(10, RunBoxes(2000, lines)));
         },
         10},
    };
}

QString GroupOf(const QString& members, int id = 2) {
    return Group(id, 0, 0, 720, 540, 0, 0, 720, 540, members);
}

// A text of 32,767 runs of a letter, each in a typeface or a colour of its own, in a box of `side`
// points a side (600 x 400 without one).
QString RunsOfTheirOwn(bool typefaces, double side = 0) {
    QString runs;
    for (int i = 0; i < 32767; ++i)
        runs += TextRun(
            QStringLiteral("a"),
            typefaces ? QStringLiteral("<a:rPr lang=\"en-US\"><a:latin typeface=\"F%1\"/></a:rPr>").arg(i)
                      : QStringLiteral("<a:rPr lang=\"en-US\"><a:solidFill><a:srgbClr val=\"%1\"/>"
                                       "</a:solidFill></a:rPr>")
                            .arg(i * 4, 6, 16, QChar(u'0')));
    return TextBox(3, 0, 0, side > 0 ? side : 600, side > 0 ? side : 400, Paragraph(runs));
}

// The decks whose pictures cost more to lay out than their characters say: a box of 3,072 points a
// side of type a point high holding 2.5 million characters of Thai words without a space between
// them, or 2 million of Latin and Greek letter by letter; 32,767 runs of a letter, each in a typeface
// or a colour of its own.
std::vector<Family> LayoutFamilies() {
    auto onePointBox = [](const QString& text) {
        return Presentation({TextBox(3, 0, 0, 3072, 3072, Paragraph(SizedRun(text, 1)))});
    };
    auto runsOfTheirOwn = [](bool typefaces, double side) {
        return Presentation({RunsOfTheirOwn(typefaces, side)});
    };
    return {
        {"2.5 million characters of Thai in one-point type",
         [onePointBox] {
             QString thai = QStringLiteral("สวัสดีครับผมชื่อสมชายยินดีที่ได้รู้จัก").repeated(2500000 / 38 + 1);
             thai.truncate(2500000);
             return onePointBox(thai);
         },
         1},
        {"2 million letters of Latin and Greek by turns in one-point type",
         [onePointBox] { return onePointBox(QStringLiteral("aα").repeated(1000000)); }, 1},
        {"32,767 runs each in a typeface of its own", [runsOfTheirOwn] { return runsOfTheirOwn(true, 3072); },
         1},
        {"32,767 runs each in a colour of its own", [runsOfTheirOwn] { return runsOfTheirOwn(false, 600); },
         1},
    };
}

// The decks whose drawn texts lay out hundreds of letters each, and whose texts hold a run for each
// letter, listed as often as the work they were priced at before let them: a group of 1,999 boxes of
// 90 x 30 points, each showing its 300 letters, listed 59 times; groups 31 deep, each of 63 such boxes
// and the next group, listed 60 times; the text of runs of their own typefaces or colours listed 51
// times.
std::vector<Family> PricedFamilies() {
    return {
        {"a group of 1,999 boxes of 300 letters listed 59 times",
         [] { return Presentation({GroupOf(LetterBoxes(1999, 3, 300, 90, 30))}, std::vector<int>(59, 0)); },
         59},
        {"groups 31 deep of boxes of 300 letters listed 60 times",
         [] {
             QString shapes;
             for (int depth = 0; depth < 31; ++depth)
                 shapes = GroupOf(LetterBoxes(63, 3 + 63 * depth, 300, 90, 30) + shapes, 5000 + depth);
             return Presentation({shapes}, std::vector<int>(60, 0));
         },
         60},
        {"32,767 runs each in a typeface of its own listed 51 times",
         [] { return Presentation({RunsOfTheirOwn(true)}, std::vector<int>(51, 0)); }, 51},
        {"32,767 runs each in a colour of its own listed 51 times",
         [] { return Presentation({RunsOfTheirOwn(false)}, std::vector<int>(51, 0)); }, 51},
    };
}

class SlideCostTest : public SlideDeckTest {
protected:
    void ExpectNothingImported() {
        EXPECT_EQ(m_doc->GetPageCount(), 1);
        EXPECT_FALSE(m_doc->IsModified());
    }
    // The text of an editable item's rich text.
    static QString PlainTextOf(const CGTextbit& item) {
        QTextDocument doc;
        EXPECT_TRUE(HxRtfToDocument(UnpackRtfBytes(item.m_text1), doc));
        return HxRichPlainText(doc);
    }
};

HxSlideRun SlideRun(const QString& text) {
    HxSlideRun run;
    run.text = text;
    return run;
}

// The bytes the writer writes for a slide text as the import's paste makes it.
qint64 WrittenBytes(const HxSlideText& text) {
    QTextDocument doc;
    HxSlideTextToDocument(text.Beginning(CDlgRtEdit::kMaxTextLength), true, doc);
    return HxDocumentToRtf(doc).size();
}

} // namespace

TEST(SlideCost, TheKeptRichTextIsCountedAsTheWriterWritesIt) {
    std::vector<std::pair<const char*, HxSlideText>> texts;
    texts.emplace_back("tabs", OneParagraph(QStringLiteral("a") + QString(32766, u'\t')));
    texts.emplace_back("line breaks", OneParagraph(QStringLiteral("a") + QString(32766, u'\n')));
    texts.emplace_back("a letter and signs the RTF escapes", OneParagraph(QStringLiteral("x{y}\\z")));
    // Paragraphs of every alignment, and empty ones.
    HxSlideText paragraphs;
    for (int i = 0; i < 9999; ++i) {
        HxSlideParagraph& p = paragraphs.paragraphs.emplace_back();
        p.align = i % 4;
        if (i % 3 != 2)
            p.runs.push_back(SlideRun(QStringLiteral("a")));
    }
    texts.emplace_back("9,999 paragraphs", paragraphs);
    // Runs whose formats change each time: weight, slant, underline, position, face, size, colour
    // (near-white made black), Chinese and Latin faces, faces with signs the font table escapes.
    HxSlideText runs;
    HxSlideParagraph& line = runs.paragraphs.emplace_back();
    const QString faces[] = {QString(),
                             QStringLiteral("黑体"),
                             QStringLiteral("Arial"),
                             QStringLiteral("SimSun"),
                             QStringLiteral("F{a;c}e\\"),
                             QStringLiteral("楷体_GB2312"),
                             QStringLiteral("ﬀ字体")};
    for (int i = 0; i < 3000; ++i) {
        HxSlideRun run = SlideRun(i % 5 == 0 ? QStringLiteral("正") : QStringLiteral("ab"));
        run.bold = i % 2;
        run.italic = i % 3 == 0;
        run.underline = i % 7 == 0;
        run.baseline = i % 4 == 0 ? 30 : i % 4 == 1 ? -25 : 0;
        run.face = faces[i % 7];
        run.points = i % 11 == 0 ? 0 : 8 + i % 13;
        run.hasColor = i % 6 != 0;
        run.color = i % 9 == 0 ? qRgb(250, 250, 250) : qRgb(i % 256, (i * 7) % 256, (i * 13) % 256);
        line.runs.push_back(run);
    }
    texts.emplace_back("3,000 runs of changing formats", runs);
    // Characters past ASCII: below U+8000 ("\uN?"), from it on ("\u-N?"), halves of characters
    // beyond the first plane, and control characters (left out).
    texts.emplace_back("Chinese below U+8000", OneParagraph(QStringLiteral("正方体的棱").repeated(7000)));
    texts.emplace_back("Chinese from U+8000", OneParagraph(QStringLiteral("锥面顶角高").repeated(7000)));
    texts.emplace_back("characters of two halves", OneParagraph(QStringLiteral("𝑥𝑦").repeated(5000)));
    texts.emplace_back("control characters", OneParagraph(QStringLiteral("a\x01\x02\x7f b")));
    // Characters that start paragraphs in the middle of a run, one run of nothing else among them.
    HxSlideText breaking = OneParagraph(QStringLiteral("a\rb") + QChar(0x2029) + QStringLiteral("c") +
                                        QChar(0x2028) + QChar(0xFDD0) + QChar(0xFDD1) + QStringLiteral("d"));
    breaking.paragraphs[0].align = 1;
    breaking.paragraphs[0].runs.push_back(SlideRun(QStringLiteral("\r\r")));
    breaking.paragraphs[0].runs.back().bold = true;
    texts.emplace_back("paragraph breaks within runs", breaking);
    // A text of no paragraph at all: its document has an empty one.
    texts.emplace_back("no paragraph", HxSlideText());
    // Longer than the editor holds: counted as far as the import keeps it.
    texts.emplace_back("40,000 letters", OneParagraph(QString(40000, u'w')));
    for (const auto& [what, text] : texts) {
        SCOPED_TRACE(what);
        const qint64 written = WrittenBytes(text);
        const qint64 counted = HxSlideTextRtfBytes(text, CDlgRtEdit::kMaxTextLength);
        EXPECT_GE(counted, written);
        // A few bytes over at most: the Latin faces' character set is counted as three digits.
        EXPECT_LE(counted, written + 16);
    }
    // Whole, without a length.
    QTextDocument doc;
    HxSlideTextToDocument(texts.back().second, true, doc);
    EXPECT_EQ(HxSlideTextRtfBytes(texts.back().second), HxDocumentToRtf(doc).size());
}

TEST(SlideCost, TheKeptRichTextOfBulletsNumbersIndentsAndSpacingIsCountedExactly) {
    // Bulleted and numbered paragraphs at two levels, with margins, hanging indents, spacing before
    // and after and line spacing in percent and in points, as the reader gives them (the bullets in
    // the text's face, so that every face's character set is counted as written).
    DeckStyles styles;
    styles.body = QStringLiteral(
        "<a:lvl1pPr marL=\"342900\" indent=\"-342900\" algn=\"just\"><a:lnSpc><a:spcPct "
        "val=\"90000\"/></a:lnSpc>"
        "<a:spcBef><a:spcPts val=\"1000\"/></a:spcBef><a:buChar char=\"•\"/><a:defRPr "
        "sz=\"2800\"/></a:lvl1pPr>"
        "<a:lvl2pPr marL=\"742950\" indent=\"-285750\"><a:lnSpc><a:spcPts val=\"3000\"/></a:lnSpc><a:spcAft>"
        "<a:spcPct val=\"50000\"/></a:spcAft><a:buClr><a:srgbClr val=\"FF0000\"/></a:buClr><a:buSzPct "
        "val=\"75000\"/><a:buAutoNum type=\"romanLcParenR\"/><a:defRPr sz=\"2400\"/></a:lvl2pPr>");
    QString paragraphs;
    for (int i = 0; i < 40; ++i)
        paragraphs += StyledParagraph(QStringLiteral("lvl=\"%1\"").arg(i % 3 == 2 ? 1 : 0),
                                      i % 7 == 6 ? QStringLiteral("<a:buNone/>") : QString(),
                                      TextRun(QStringLiteral("第%1项 {x}").arg(i)));
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Presentation({Placeholder(3, QString(), 1, paragraphs)}, styles), deck), kPptxOk);
    std::vector<std::pair<const char*, HxSlideText>> texts;
    texts.emplace_back("bulleted and numbered paragraphs", deck.slides[0].shapes[0].text);
    // Every paragraph format at once, in a run that starts paragraphs of its own: each repeats it.
    HxSlideText formatted;
    HxSlideParagraph& p = formatted.paragraphs.emplace_back();
    p.align = 2;
    p.margin = 27;
    p.indent = -18.5;
    p.spaceBefore = 6;
    p.spaceAfter = 12.25;
    p.lineSpacing = 24;
    p.lineSpacingPoints = true;
    p.bulleted = true;
    p.runs.push_back(SlideRun(QStringLiteral("1.\t")));
    p.runs.push_back(SlideRun(QStringLiteral("a\rb") + QChar(0x2029) + QStringLiteral("c")));
    p.runs.push_back(SlideRun(QStringLiteral("\r\r")));
    formatted.paragraphs.push_back(p);
    formatted.paragraphs.back().bulleted = false;
    formatted.paragraphs.back().lineSpacingPoints = false;
    texts.emplace_back("formatted paragraphs broken within their runs", formatted);
    for (const auto& [what, text] : texts) {
        SCOPED_TRACE(what);
        EXPECT_EQ(HxSlideTextRtfBytes(text), WrittenBytes(text));
        for (const qsizetype length : {qsizetype(1), qsizetype(3), text.Length() / 2, text.Length() - 1}) {
            SCOPED_TRACE(length);
            QTextDocument doc;
            HxSlideTextToDocument(text.Beginning(length), true, doc);
            EXPECT_EQ(HxSlideTextRtfBytes(text, length), HxDocumentToRtf(doc).size());
        }
    }
    // The paragraphs' formats are written: the margins, indents, spacing and tab stops in twips, the
    // lines kept 84 twips more from each side (the box's insets of 7.2 points less the document's own
    // margin of 3).
    QTextDocument doc;
    HxSlideTextToDocument(formatted, true, doc);
    const QByteArray rtf = HxDocumentToRtf(doc);
    EXPECT_TRUE(rtf.contains("\\pard\\qr\\li624\\ri84\\fi-370\\sb120\\sa245\\sl-480\\slmult0\\tx370 "))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\pard\\qr\\li624\\ri84\\fi-370\\sb120\\sa245\\sl58\\slmult1 "))
        << rtf.constData();
}

TEST_F(SlideCostTest, TextsOfTabsOrLineBreaksAsLongAsTheEditorHoldsAreRefusedForTheRichTextTheyKeep) {
    // 4,000 texts of "a" and 32,766 tabs: written "\tab " each, 625 MiB of rich text; of line breaks,
    // "\line " each, 750 MiB.
    for (const int family : {0, 1}) {
        const Family deck = Families()[size_t(family)];
        SCOPED_TRACE(deck.what);
        m_messages.clear();
        EXPECT_FALSE(Import(deck.bytes(), true, deck.slides));
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0],
                  family == 0 ? CString(u"导入的文本过多，保存它们约需626MB，超过128MB，请删减演示文稿中过长"
                                        u"的文本，或缩小幻灯片范围!")
                              : CString(u"导入的文本过多，保存它们约需751MB，超过128MB，请删减演示文稿中过长"
                                        u"的文本，或缩小幻灯片范围!"));
        ExpectNothingImported();
    }
}

TEST_F(SlideCostTest, TheWorkOfCellsMembersParagraphsAndLineBreaksIsBounded) {
    // The large tables and the group drawn as pictures lay out each cell and member; the texts of
    // many paragraphs and the boxes of many lines make each paragraph and line: refused before the
    // first page, as editable texts and as pictures.
    const std::vector<Family> families = Families();
    for (size_t family = 2; family < families.size(); ++family) {
        const QByteArray bytes = families[family].bytes();
        HxSlideDeck deck;
        ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        for (const bool convert : {true, false}) {
            SCOPED_TRACE(families[family].what);
            SCOPED_TRACE(convert ? "converted" : "drawn");
            // A group is left out when converting; the paragraphs and lines are drawn as short
            // beginnings (the box shows a few lines of each).
            const bool imported = (family == 4 && convert) || (family >= 5 && !convert);
            const HxSlideImportCost cost = HxSlideImportCostOf(deck, 1, families[family].slides, convert);
            EXPECT_EQ(cost.work > kSlideImportMaxWork, !imported) << cost.work;
            if (imported)
                continue;
            EXPECT_LE(cost.items, kSlideImportMaxItems);
            EXPECT_LE(cost.pixels, kSlideImportMaxPixels);
            m_messages.clear();
            EXPECT_FALSE(HxImportSlideDeck(m_doc.get(), deck, 1, families[family].slides, convert, nullptr));
            ASSERT_EQ(m_messages.size(), 1u);
            // The boxes of lines made editable keep more rich text than an import keeps ("\line " a
            // line break), which is said first.
            const QString said = m_messages[0].ToQString();
            if (cost.textBytes > kSlideImportMaxTextBytes)
                EXPECT_TRUE(said.startsWith(QStringLiteral("导入的文本过多，保存它们约需")))
                    << said.toStdString();
            else
                EXPECT_TRUE(said.startsWith(QStringLiteral(
                    "导入的内容过于繁杂（文本、段落、换行或表格单元格过多），约为一次导入限度的")))
                    << said.toStdString();
            // Each deck is more than one slide: fewer of them is a way to import it.
            EXPECT_TRUE(said.endsWith(QStringLiteral("，或缩小幻灯片范围!"))) << said.toStdString();
            ExpectNothingImported();
        }
    }
    // The price follows what is made: a drawn table costs about what as many drawn boxes do, and a
    // paragraph or line break of an editable text far more than a letter.
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Presentation({SquareCellTable(100, 100, QStringLiteral("a")),
                                       RunBoxes(100, QStringLiteral("a")), RunBoxes(1, QString(9999, u'a')),
                                       RunBoxes(1, QStringLiteral("a") + QString(9999, u'\n'))}),
                         deck),
              kPptxOk);
    const qint64 table = HxSlideImportCostOf(deck, 1, 1, false).work;
    const qint64 boxes = HxSlideImportCostOf(deck, 2, 2, false).work;
    EXPECT_GT(table, 50 * boxes);
    const qint64 letters = HxSlideImportCostOf(deck, 3, 3, true).work;
    const qint64 breaks = HxSlideImportCostOf(deck, 4, 4, true).work;
    EXPECT_GT(breaks, 10 * letters);
}

TEST_F(SlideCostTest, DrawnTextsArePricedByWhatTheyLayOutAndRunsByWhatTheyCost) {
    // Each deck passes the work bound, drawn and converted (groups are left out when converting, and
    // say so; the runs are drawn within it).
    for (const Family& family : PricedFamilies()) {
        SCOPED_TRACE(family.what);
        HxSlideDeck deck;
        ASSERT_EQ(HxReadPptx(family.bytes(), deck), kPptxOk);
        const bool runs = std::string_view(family.what).find("runs") != std::string_view::npos;
        const bool convert = runs;
        EXPECT_GT(HxSlideImportCostOf(deck, 1, family.slides, convert).work, kSlideImportMaxWork);
        m_messages.clear();
        EXPECT_FALSE(HxImportSlideDeck(m_doc.get(), deck, 1, family.slides, convert, nullptr));
        ASSERT_EQ(m_messages.size(), 1u);
        // The texts of a run a letter are priced mostly for their changes of format, and said so.
        EXPECT_TRUE(m_messages[0].ToQString().startsWith(
            runs ? QStringLiteral("导入的内容过于繁杂（逐字改变字号或格式的文字过多），约为一次导入限度的")
                 : QStringLiteral(
                       "导入的内容过于繁杂（文本、段落、换行或表格单元格过多），约为一次导入限度的")))
            << m_messages[0].ToQString().toStdString();
        ExpectNothingImported();
    }
    // A drawn text costs the letters of the beginning its box shows, up to the short beginning every
    // picture lays out: a box of 90 x 30 points shows 300 letters of 6 points, one of 12 x 9 a few.
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Presentation({GroupOf(LetterBoxes(1999, 3, 300, 90, 30)),
                                       GroupOf(LetterBoxes(1999, 3, 1, 90, 30)),
                                       GroupOf(LetterBoxes(1999, 3, 300, 12, 9)),
                                       GroupOf(LetterBoxes(1999, 3, 5000, 90, 30))}),
                         deck),
              kPptxOk);
    auto work = [&deck](int slide) { return HxSlideImportCostOf(deck, slide, slide, false).work; };
    EXPECT_GT(work(1), 3 * work(2));
    EXPECT_LT(work(3), work(1) / 2);
    EXPECT_GT(work(3), work(2));
    EXPECT_EQ(work(4), work(1)) << "a longer text lays out no more of itself";
    // A box narrower than its characters lays its beginning out twice.
    auto boxes = [](double width) {
        QString out;
        for (int i = 0; i < 100; ++i)
            out += TextBox(3 + i, 0, 0, width, 10, Paragraph(TextRun(QStringLiteral("a"))));
        return GroupOf(out);
    };
    ASSERT_EQ(HxReadPptx(Presentation({boxes(10), boxes(30)}), deck), kPptxOk);
    EXPECT_GT(work(1), work(2) + 100 * 500);
    // The cells of a table drawn as a picture alike: cells of 90 x 30 points in type of 18 points show
    // 63 letters.
    auto table = [](qsizetype letters) {
        return Table(4, 0, 0, {90}, std::vector<double>(20, 30),
                     std::vector<QString>(20, Cell(QString(letters, u'a'))));
    };
    ASSERT_EQ(HxReadPptx(Presentation({table(1), table(63), table(300), table(5000)}), deck), kPptxOk);
    for (const bool convert : {true, false}) {
        EXPECT_GT(HxSlideImportCostOf(deck, 2, 2, convert).work,
                  HxSlideImportCostOf(deck, 1, 1, convert).work);
        EXPECT_EQ(HxSlideImportCostOf(deck, 3, 3, convert).work,
                  HxSlideImportCostOf(deck, 2, 2, convert).work);
        EXPECT_EQ(HxSlideImportCostOf(deck, 4, 4, convert).work,
                  HxSlideImportCostOf(deck, 2, 2, convert).work);
    }
}

TEST_F(SlideCostTest, TheTimeIsReadBetweenTheCellsAndMembersOfOneShape) {
    // A group of six boxes and a table of twenty rows, each box or cell showing 2,000 letters of 8
    // points (more than the short beginning of a picture drawn late).  The clock says a second has
    // passed each time it is read (before the shape, and before each of its texts and each beginning
    // a text lays out: twice a text here); the import may take six and a half: it is past its time
    // while the shape is drawn, and what is left of it is drawn from short beginnings.
    const QString letters = QStringLiteral("abcd efgh ").repeated(200);
    QString members;
    for (int i = 0; i < 6; ++i)
        members +=
            TextBox(3 + i, (i % 3) * 400.0, (i / 3) * 300.0, 400, 300, Paragraph(SizedRun(letters, 8)));
    const QString cell =
        QStringLiteral("<a:tc><a:txBody><a:bodyPr/><a:lstStyle/>%1</a:txBody><a:tcPr/></a:tc>")
            .arg(Paragraph(SizedRun(letters, 8)));
    const QString shapes[] = {
        Group(2, 0, 0, 1200, 600, 0, 0, 1200, 600, members),
        Table(4, 0, 0, {400}, std::vector<double>(20, 150), std::vector<QString>(20, cell)),
    };
    for (const QString& shape : shapes) {
        const QByteArray bytes = Presentation({shape});
        // Without a time: drawn whole, nothing said.
        HxSlideImportBounds whole;
        whole.clock = [] { return qint64(0); };
        m_messages.clear();
        ASSERT_TRUE(Import(bytes, false, 1, whole));
        EXPECT_TRUE(m_messages.empty());
        std::vector<CGTextbit*> texts = CellsOf<CGTextbit>(g_pCurPage);
        ASSERT_EQ(texts.size(), 1u);
        const std::vector<BYTE> drawnWhole = texts[0]->m_bits;

        HxSlideImportBounds bounds;
        bounds.milliseconds = 6500;
        bounds.clock = [reads = qint64(0)]() mutable { return 1000 * reads++; };
        ASSERT_TRUE(Import(bytes, false, 1, bounds));
        texts = CellsOf<CGTextbit>(g_pCurPage);
        ASSERT_EQ(texts.size(), 1u);
        ASSERT_EQ(m_messages.size(), 1u);
        const QString said = m_messages[0].ToQString();
        EXPECT_TRUE(said.startsWith(QStringLiteral("导入用时超过7秒，此后有"))) << said.toStdString();
        // Some of its texts but not all were drawn late.
        const int late = QRegularExpression(QStringLiteral("此后有(\\d+)个")).match(said).captured(1).toInt();
        EXPECT_GE(late, 1) << said.toStdString();
        EXPECT_LT(late, shape.startsWith(QStringLiteral("<p:grpSp")) ? 6 : 20);
        auto dark = [](const std::vector<BYTE>& bits) {
            qint64 n = 0;
            for (BYTE b : bits)
                n += __builtin_popcount(b);
            return n;
        };
        EXPECT_GT(dark(texts[0]->m_bits), 0);
        EXPECT_LT(dark(texts[0]->m_bits), dark(drawnWhole) * 9 / 10);
    }
}

TEST_F(SlideCostTest, AnImportThatWouldMakeTheLessonLargerThanASaveWritesIsRefused) {
    EXPECT_EQ(HxSlideImportBounds().lessonBytes, qint64(kHxMaxDocumentBytes));
    CGPage* first = g_pCurPage;
    AddPoint(first, 1, 2, 3);
    const qint64 stored = qint64(m_doc->StoredLength());
    // Ten texts of 30,000 characters from U+8000 on, nine bytes of rich text each: 2.6 MiB, in a lesson
    // that may hold 2 MiB.
    const QByteArray bytes = Presentation({RunBoxes(10, QStringLiteral("锥面顶角高").repeated(6000))});
    HxSlideImportBounds bounds;
    bounds.lessonBytes = 2 << 20;
    EXPECT_FALSE(Import(bytes, true, 1, bounds));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"导入后文档过大，保存它约需3MB，超过文档的上限2MB，请先另存、精简当前文"
                                     u"档，或删减演示文稿中的文本!"));
    ExpectNothingImported();
    EXPECT_EQ(qint64(m_doc->StoredLength()), stored);
    // Drawn as pictures, they keep no text and fit; their lines past the slide's bottom are said.
    m_messages.clear();
    EXPECT_TRUE(Import(bytes, false, 1, bounds));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(
        m_messages[0],
        CString(u"有10个文本超出了幻灯片的边界或导入的图片大小的限度，超出的部分没有画出（位于幻灯片1）。"));
    EXPECT_LE(qint64(m_doc->StoredLength()), bounds.lessonBytes);
}

TEST_F(SlideCostTest, AnImportIntoALessonCloseToTheLargestASaveWritesIsRefusedWithTheLessonsSize) {
    // A lesson of 2,046 MiB and more, and ten editable texts of 30,000 characters from U+8000 on
    // (2.6 MiB of rich text): together past the 2,048 MB a save writes, which the message says (not
    // what the import alone adds).
    AddCell(g_pCurPage, new CNearlyFullRecordCell);
    const qint64 stored = qint64(m_doc->StoredLength());
    ASSERT_GT(stored, CNearlyFullRecordCell::kRecordBytes);
    ASSERT_LT(stored, CNearlyFullRecordCell::kRecordBytes + (1 << 20));
    const QByteArray bytes = Presentation({RunBoxes(10, QStringLiteral("锥面顶角高").repeated(6000))});
    EXPECT_FALSE(Import(bytes, true));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"导入后文档过大，保存它约需2049MB，超过文档的上限2048MB，请先另存、精简"
                                     u"当前文档，或删减演示文稿中的文本!"));
    ExpectNothingImported();
    // Drawn as pictures, the texts keep no rich text and the lesson stays within what a save writes;
    // their lines past the slide's bottom are said.
    m_messages.clear();
    EXPECT_TRUE(Import(bytes, false));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(
        m_messages[0],
        CString(u"有10个文本超出了幻灯片的边界或导入的图片大小的限度，超出的部分没有画出（位于幻灯片1）。"));
    EXPECT_EQ(m_doc->GetPageCount(), 2);
    EXPECT_LE(m_doc->StoredLength(), kHxMaxDocumentBytes);
}

TEST_F(SlideCostTest, WhatTheLessonGrowsByIsNeverMoreThanCounted) {
    // Editable texts (of tabs, paragraphs, runs, Chinese), a table made a grid with its texts, a table
    // of 20 rows and a group drawn as pictures, imported into a lesson that holds a page already.
    const QString bold = QStringLiteral("<a:rPr lang=\"en-US\" b=\"1\" sz=\"1200\"/>");
    const QString slides[] = {
        RunBoxes(20, QStringLiteral("x\ty\tz")) +
            TextBox(40, 0, 0, 300, 200,
                    Paragraph(TextRun(QStringLiteral("ab"), bold) + TextRun(QStringLiteral("正方体")))
                        .repeated(300)),
        Table(4, 60, 100, {100, 80, 80}, {30, 30, 30},
              {Cell(QStringLiteral("A")) + Cell(QStringLiteral("B")) + Cell(QStringLiteral("C")),
               Cell(QStringLiteral("D")) + Cell(QString()) + Cell(QStringLiteral("F")),
               Cell(QStringLiteral("G")) + Cell(QStringLiteral("H")) + Cell(QStringLiteral("棱"))}),
        SquareCellTable(20, 3, QStringLiteral("a")) +
            Group(50, 0, 0, 200, 100, 0, 0, 200, 100, RunBoxes(5, QStringLiteral("member"))),
    };
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const bool convert : {true, false}) {
        for (int slide = 0; slide < 3; ++slide) {
            SCOPED_TRACE(slide);
            const QByteArray bytes = Presentation({slides[slide]});
            HxSlideDeck deck;
            ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
            const HxSlideImportCost cost = HxSlideImportCostOf(deck, 1, 1, convert);
            const qint64 before = qint64(m_doc->StoredLength());
            ASSERT_TRUE(Import(bytes, convert));
            const qint64 grown = qint64(m_doc->StoredLength()) - before;
            // A text frame's lines past its box are drawn past it (an editable one's picture holds
            // them all): the rows its picture has past its box's come on top of what was counted.
            qint64 pastBoxes = 0;
            const auto& shapes = deck.slides[0].shapes;
            if (std::all_of(shapes.begin(), shapes.end(),
                            [](const HxSlideShape& s) { return s.kind == HxSlideShape::kText; })) {
                const auto items = SlideShapes::CellsOf<CGTextbit>(g_pCurPage);
                ASSERT_EQ(items.size(), shapes.size());
                for (size_t i = 0; i < items.size(); ++i)
                    pastBoxes += qint64(items[i]->m_width + 31) / 32 * 4 *
                                 std::max(items[i]->m_height - HxPlaceSlideBox(shapes[i].box).pixelHeight, 0);
            }
            EXPECT_LE(grown, cost.storedBytes + pastBoxes) << convert;
            // Not far more: the records are counted with room to spare, and a picture as large as its
            // box (the one-bit picture of a drawing keeps only the part with ink).
            if (convert) {
                EXPECT_LE(cost.storedBytes, grown * 3 / 2 + 256 * (cost.items + 1));
            }
        }
    }
}

TEST_F(SlideCostTest, PastItsTimeAnImportDrawsWhatIsLeftFromAShortBeginningAndSaysSo) {
    // Six boxes of 2,000 letters in type of 8 points, each showing all of it.  The clock says a second
    // has passed for each text drawn; the import may take two and a half.
    const QString letters = QStringLiteral("abcd efgh ").repeated(200);
    QString boxes;
    for (int i = 0; i < 6; ++i)
        boxes += TextBox(3 + i, 0, 0, 400, 300, Paragraph(SizedRun(letters, 8)));
    const QByteArray bytes = Presentation({boxes});
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        HxSlideImportBounds bounds;
        bounds.milliseconds = 2500;
        m_messages.clear();
        ASSERT_TRUE(ImportTimed(bytes, convert, 1, bounds, [](int shapes) { return qint64(shapes) * 1000; }));
        const std::vector<CGTextbit*> texts = CellsOf<CGTextbit>(g_pCurPage);
        ASSERT_EQ(texts.size(), 6u);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], CString(u"导入用时超过3秒，此后有3个文本的图片只画出了开头的一部分或没有画出"
                                         u"（可编辑的文本仍然完整）。"));
        // The first three are drawn whole, the last three from less; editable texts keep all.
        auto dark = [](const CGTextbit* item) {
            qint64 bits = 0;
            for (BYTE b : item->m_bits)
                bits += __builtin_popcount(b);
            return bits;
        };
        EXPECT_EQ(dark(texts[0]), dark(texts[2]));
        EXPECT_LT(dark(texts[3]), dark(texts[0]) / 2);
        EXPECT_EQ(dark(texts[3]), dark(texts[5]));
        if (convert) {
            for (const CGTextbit* item : texts)
                EXPECT_EQ(PlainTextOf(*item), letters);
        }
    }
    // A clock that never passes the time draws all whole and says nothing.
    HxSlideImportBounds bounds;
    bounds.clock = [] { return qint64(0); };
    m_messages.clear();
    ASSERT_TRUE(Import(bytes, false, 1, bounds));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SlideCostTest, MemoryRunningOutAfterTheFirstSlideMakesNoPageAndLeavesTheDocumentAsItWas) {
    // The first slide a letter, the second a box whose picture is 4,096 pixels a side: in a process
    // without the memory for that picture the drawing stops on the second slide, and the import
    // fails whole: the first slide's page is not made either.
    const QByteArray bytes =
        Presentation({TextBox(3, 0, 0, 90, 30, Paragraph(TextRun(QStringLiteral("a")))),
                      TextBox(3, 0, 0, 3072, 3072, Paragraph(TextRun(QStringLiteral("b"))))});
    for (const bool convert : {true, false}) {
        ASSERT_FALSE(m_doc->IsModified());
        const int result = HxRunInChild(
            [&] {
                HxRenderSlideShape(TextShape(OneParagraph(QStringLiteral("a")), 20, 20));
                malloc_trim(0);
                HxCapChildMemory(24LL << 20);
                if (Import(bytes, convert, 2))
                    return 2;
                if (m_messages.size() != 1 ||
                    m_messages[0] != CString(u"导入失败：绘制幻灯片时内存不足，文档没有改变。"
                                             u"请缩小幻灯片范围，或精简演示文稿中过大、过多的文本。"))
                    return 3;
                return m_doc->GetPageCount() == 1 && !m_doc->IsModified() ? 0 : 4;
            },
            -1, 60);
        EXPECT_EQ(result, 0) << (convert ? "converted" : "drawn");
    }
}

// Whether an import in a child process whose address space is capped (by `cap`) ends normally:
// imported, refused or stopped with its message, the open lesson's first page as it was.
int ImportsInCappedChild(const std::function<bool()>& import, const std::vector<CString>& messages,
                         const std::function<void()>& cap) {
    CGPage* first = g_pCurPage;
    const WORD cells = first->m_nextId;
    return HxRunInChild(
        [&] {
            cap();
            if (!import() && messages.empty())
                return 2; // stopped without a word
            return first->m_nextId == cells && first->FindCell(cells - 1) != nullptr ? 0 : 3;
        },
        -1, 60);
}

void CapAddressSpace(rlim_t bytes) {
    rlimit space{bytes, bytes};
    setrlimit(RLIMIT_AS, &space);
}

TEST_F(SlideCostTest, EachHostileDeckEndsNormallyInAnAddressSpaceOfOneGigabyte) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit on it can hold";
#endif
    // Each deck, as editable texts and as pictures, in a process of 1 GB of address space (the tabs in
    // 500 to 740 MB, where the rich text they kept left Qt's text layout without memory).
    AddPoint(g_pCurPage, 1, 2, 3);
    std::vector<Family> families = Families();
    for (Family& family : LayoutFamilies())
        families.push_back(std::move(family));
    for (Family& family : PricedFamilies())
        families.push_back(std::move(family));
    for (const Family& family : families) {
        const QByteArray bytes = family.bytes();
        const bool tabs = std::string_view(family.what).find("tabs") != std::string_view::npos;
        for (const rlim_t megabytes : tabs ? std::vector<rlim_t>{500, 600, 740} : std::vector<rlim_t>{1024}) {
            for (const bool convert : {true, false}) {
                const int result =
                    ImportsInCappedChild([&] { return Import(bytes, convert, family.slides); }, m_messages,
                                         [megabytes] { CapAddressSpace(megabytes << 20); });
                EXPECT_EQ(result, 0) << family.what << (convert ? ", converted" : ", drawn") << " in "
                                     << megabytes << " MB";
            }
        }
    }
}

TEST_F(SlideCostTest, TextsAsLargeAsAnImportKeepsStopWithAMessageWhenMemoryIsShort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit on it can hold";
#endif
    // 800 texts of "a" and 32,766 tabs, 125 MiB of rich text (within what an import keeps), with
    // 40 to 120 MB of address space left: the import stops with its message where the memory for
    // the next text is not to be had, before Qt's text layout would be left without it.
    AddPoint(g_pCurPage, 1, 2, 3);
    const QByteArray bytes =
        Presentation({RunBoxes(40, QStringLiteral("a") + QString(32766, u'\t'))}, std::vector<int>(20, 0));
    for (const long long megabytes : {40, 80, 120}) {
        const int result = ImportsInCappedChild([&] { return Import(bytes, true, 20); }, m_messages,
                                                [megabytes] { HxCapChildMemory(megabytes << 20); });
        EXPECT_EQ(result, 0) << megabytes << " MB";
    }
}

TEST_F(SlideCostTest, GroupsHoldingTextLeftOutWhenConvertingAreSaidAfterTheImport) {
    // A slide of a group of 1,999 small text boxes listed 100 times: converted, each slide is an empty
    // page, and one message says how many groups were left out and how to have them drawn.
    const Family group = Families()[4];
    ASSERT_TRUE(Import(group.bytes(), true, group.slides));
    EXPECT_EQ(m_doc->GetPageCount(), 1 + 100);
    EXPECT_TRUE(CellsOf<CGCell>(g_pCurPage).empty());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"有100个含有文本的组合图形没有导入：转换为Halvix中可编辑文本时不导入组合图形。"
                      u"清除“转换为Halvix中可编辑文本”后再导入，组合图形会作为图片导入。"));
    // Groups whose text is deep inside (a group in a group, a table's cell) count each once beside the
    // texts made; a group of pictures only, a picture and an empty text box are nothing to say.
    const QString deep = Group(5, 0, 0, 200, 100, 0, 0, 200, 100,
                               Group(6, 0, 0, 200, 100, 0, 0, 200, 100,
                                     TextBox(7, 0, 0, 90, 30, Paragraph(TextRun(QStringLiteral("深"))))));
    const QString cell =
        Group(8, 0, 200, 200, 100, 0, 0, 200, 100, Table(9, 0, 0, {100}, {30}, {Cell(QStringLiteral("格"))}));
    const QString silent = Group(10, 0, 0, 200, 100, 0, 0, 200, 100, PptxFiles::Picture(11, 0, 0, 90, 90)) +
                           PptxFiles::Picture(12, 300, 0, 90, 90) + TextBox(13, 0, 300, 90, 30, QString()) +
                           Group(14, 0, 0, 200, 100, 0, 0, 200, 100,
                                 TextBox(15, 0, 0, 90, 30, Paragraph(TextRun(QStringLiteral("  ")))));
    m_messages.clear();
    ASSERT_TRUE(Import(Presentation({deep + cell + silent + RunBoxes(2, QStringLiteral("a"))}), true));
    EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 2u);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].ToQString().startsWith(QStringLiteral("有2个含有文本的组合图形没有导入")))
        << m_messages[0].ToQString().toStdString();
    // One group is said as well: the message does not wait for a second.
    m_messages.clear();
    ASSERT_TRUE(Import(Presentation({deep + RunBoxes(2, QStringLiteral("a"))}), true));
    EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 2u);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"有1个含有文本的组合图形没有导入：转换为Halvix中可编辑文本时不导入组合图形。"
                      u"清除“转换为Halvix中可编辑文本”后再导入，组合图形会作为图片导入。"));
    m_messages.clear();
    ASSERT_TRUE(Import(Presentation({silent + RunBoxes(2, QStringLiteral("a"))}), true));
    EXPECT_TRUE(m_messages.empty());
    // Drawn, the groups are pictures and nothing is left out.
    ASSERT_TRUE(Import(Presentation({deep + cell + silent}), false));
    EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 2u);
    EXPECT_TRUE(m_messages.empty());
}
