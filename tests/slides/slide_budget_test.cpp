// The bounds of one slide import: what it would add, counted before the first page (the pictures'
// pixels, the rich text its editable texts keep) and refused past its limits with the document
// unchanged; what its pictures lay out (combining marks on a letter, the import's characters, at
// most twice the minimum past what is left), reduced and said; texts whose pictures hold nothing
// dark, left out on their slide's page and said with the slides; and memory running out, which
// stops it with the document kept.
#include "document/document_test_support.h"
#include "slides/pptx_reader.h"
#include "measure/rich_text.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "pptx_files.h"
#include "slide_shapes.h"
#include "support/child_process.h"
#include "view/picture_export.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

#include <malloc.h>

using namespace PptxFiles;
using namespace SlideShapes;

namespace {

QString Letter() {
    return Paragraph(TextRun(QStringLiteral("a")));
}

// `count` text boxes of `side` points a side, each holding `paragraphs`.
QString SquareBoxes(int count, double side, const QString& paragraphs) {
    QString out;
    for (int i = 0; i < count; ++i)
        out += TextBox(3 + i, 0, 0, side, side, paragraphs);
    return out;
}

// The combining marks in the longest row of them in a document's text.
int LongestRowOfMarks(const QString& text) {
    int longest = 0, row = 0;
    for (QChar c : text) {
        row = c.category() == QChar::Mark_NonSpacing ? row + 1 : 0;
        longest = std::max(longest, row);
    }
    return longest;
}

class SlideBudgetTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        g_unitLength = 0.05f;
    }
    // The slides 1..slides of a presentation imported, as the dialog's OK does.
    bool Import(const QByteArray& bytes, bool convert, int slides = 1) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        return HxImportSlideDeck(m_doc.get(), deck, 1, slides, convert, [this] { ++m_pagesTurned; });
    }
    void ExpectNothingImported() {
        EXPECT_EQ(m_doc->GetPageCount(), 1);
        EXPECT_EQ(m_pagesTurned, 0);
        EXPECT_FALSE(m_doc->IsModified());
    }
    int m_pagesTurned = 0;
};

} // namespace

TEST_F(SlideBudgetTest, PicturesOfMoreThanTheirPixelsAreRefusedBeforeTheFirstPage) {
    // Thirty boxes of 3,072 points a side holding "a": a picture 4,096 pixels a side each, whether
    // the editable text keeps it or the shape is drawn; 503 million pixels in all.
    const QByteArray bytes = Presentation({SquareBoxes(30, 3072, Letter())});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    for (const bool convert : {true, false}) {
        EXPECT_EQ(HxSlideImportCostOf(deck, 1, 1, convert).pixels, 30LL * 4096 * 4096);
        m_messages.clear();
        EXPECT_FALSE(Import(bytes, convert));
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], CString(u"导入的图片过大，共需504百万像素，超过500百万像素，请缩小演示文稿中"
                                         u"过大的文本框、表格或组合!"));
        ExpectNothingImported();
    }
    // A table's editable cells keep a picture each; drawn, it is one picture of its size; a text
    // box without text and a picture make none.
    const QString table = Table(
        4, 0, 0, {100, 200}, {30, 60},
        {Cell(QStringLiteral("a")) + Cell(QString()), Cell(QStringLiteral("b")) + Cell(QStringLiteral("c"))});
    ASSERT_EQ(HxReadPptx(Presentation({table + TextBox(9, 0, 0, 50, 50, QString()) +
                                       PptxFiles::Picture(10, 0, 0, 90, 90)}),
                         deck),
              kPptxOk);
    EXPECT_EQ(HxSlideImportCostOf(deck, 1, 1, true).pixels, 133LL * 40 + 133 * 80 + 267 * 80);
    EXPECT_EQ(HxSlideImportCostOf(deck, 1, 1, false).pixels, 400LL * 120);
}

TEST_F(SlideBudgetTest, EditableTextsKeepingTooMuchRichTextAreRefused) {
    // A slide of five boxes of 40,000 Chinese characters listed a hundred times: each text is cut to
    // the editor's 32,767 characters, written nine bytes each (characters from U+8000 on are written
    // "\u-NNNNN?"), 141 MiB in all.
    const QString text = Paragraph(TextRun(QStringLiteral("锥面顶角高").repeated(8000)));
    QString boxes;
    for (int i = 0; i < 5; ++i)
        boxes += TextBox(3 + i, 0, 0, 90, 30, text);
    const QByteArray bytes = Presentation({boxes}, std::vector<int>(100, 0));
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    EXPECT_GT(HxSlideImportCostOf(deck, 1, 100, true).textBytes, 500LL * 32767 * 9);
    EXPECT_EQ(HxSlideImportCostOf(deck, 1, 100, false).textBytes, 0) << "pictures keep no text";
    EXPECT_FALSE(Import(bytes, true, 100));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"导入的文本过多，保存它们约需141MB，超过128MB，请删减演示文稿中过长的"
                                     u"文本，或缩小幻灯片范围!"));
    ExpectNothingImported();
    // Fewer slides are within the limit.
    EXPECT_LE(HxSlideImportCostOf(deck, 1, 43, true).textBytes, kSlideImportMaxTextBytes);
}

TEST_F(SlideBudgetTest, PicturesLayOutAtMostTheImportsCharactersAndSaySo) {
    // One unbroken word of 4 MiB in type of one point in a box of 3,072 points a side: the box
    // shows all of it, more than an import draws.
    const QByteArray bytes =
        Presentation({TextBox(3, 0, 0, 3072, 3072, Paragraph(SizedRun(QString(4 << 20, u'w'), 1)))});
    const int result = HxRunInChild(
        [&] {
            HxCapChildMemory(1LL << 30);
            if (!Import(bytes, false))
                return 2;
            const auto texts = CellsOf<CGTextbit>(g_pCurPage);
            if (texts.size() != 1 || texts[0]->m_bits.empty())
                return 3;
            return m_messages.size() == 1 &&
                           m_messages[0] ==
                               CString(u"有1个文本的图片只画出了一部分：导入时绘制的文字超过2000000个"
                                       u"字符（泰文等文字、每种新字体和每处格式变化计得更多），"
                                       u"或一个字母上的附加符号超过30个。")
                       ? 0
                       : 4;
        },
        -1, 60);
    EXPECT_EQ(result, 0);

    // What a budget allows: the beginning it leaves, then at least a short one each.
    HxLayoutBudget budget;
    budget.left = 100000;
    const HxSlideShape shape = TextShape(OneParagraph(QString(1 << 20, u'w'), 1), 3072, 3072);
    EXPECT_FALSE(HxRenderSlideShape(shape, &budget).isNull());
    EXPECT_EQ(budget.laidOut, 100000);
    EXPECT_EQ(budget.left, 0);
    EXPECT_EQ(budget.reduced, 1);
    HxRenderSlideShape(shape, &budget);
    EXPECT_EQ(budget.laidOut, 100000 + HxLayoutBudget::kMinimum);
    EXPECT_EQ(budget.reduced, 2);
    // A text that shows whole within what is left is not reduced.
    HxRenderSlideShape(TextShape(OneParagraph(QStringLiteral("short")), 90, 30), &budget);
    EXPECT_EQ(budget.reduced, 2);
}

TEST(SlideBudget, ALongUnbrokenRunCountsTheSearchForTheEndsOfItsLines) {
    // A word of 200,000 characters in type of one point in a box 90 points wide (lines of about a
    // hundred characters), after two spaces: broken at word boundaries, finding where each of its
    // lines ends passes the rest of it.  What is left of the budget allows a beginning of it.
    const HxSlideText spaced = OneParagraph(QStringLiteral("  ") + QString(200000, u'w'), 1);
    HxLayoutBudget budget;
    budget.left = 1000000;
    const std::unique_ptr<QTextDocument> shown = HxSlideTextShownPart(spaced, 120, 4096, &budget);
    EXPECT_LT(shown->characterCount() - 1, 100000);
    EXPECT_GT(budget.laidOut, 900000);
    EXPECT_LE(budget.laidOut, 1000000);
    EXPECT_EQ(budget.reduced, 1);
    // The word alone is one unbroken run, broken anywhere as breaking at word boundaries breaks it,
    // each line found by passing itself: it counts its characters, and shows whole.
    HxLayoutBudget alone;
    alone.left = 1000000;
    EXPECT_EQ(
        HxSlideTextShownPart(OneParagraph(QString(200000, u'w'), 1), 120, 4096, &alone)->characterCount() - 1,
        200000);
    EXPECT_EQ(alone.laidOut, 200000);
    EXPECT_EQ(alone.reduced, 0);
}

TEST(SlideBudget, ALetterUnderThousandsOfMarksIsDrawnUnderThirty) {
    const HxSlideText marked = OneParagraph(MarkedLetter(100000));
    // Drawn: the part laid out holds the letter and thirty marks, and looks as they do alone.
    const std::unique_ptr<QTextDocument> shown = HxSlideTextShownPart(marked, 120, 40);
    EXPECT_EQ(shown->toPlainText(), MarkedLetter(kMaxShownMarks));
    EXPECT_EQ(HxRenderSlideShape(TextShape(marked, 90, 30)),
              HxRenderSlideShape(TextShape(OneParagraph(MarkedLetter(kMaxShownMarks)), 90, 30)));
    // Counted as reduced in a budget.
    HxLayoutBudget budget;
    HxRenderSlideShape(TextShape(marked, 90, 30), &budget);
    EXPECT_EQ(budget.reduced, 1);
    HxRenderSlideShape(TextShape(OneParagraph(MarkedLetter(kMaxShownMarks)), 90, 30), &budget);
    EXPECT_EQ(budget.reduced, 1) << "thirty marks are drawn whole";

    // The editor's picture the same way; rows of marks between letters each keep thirty.
    QTextDocument doc;
    QTextCursor(&doc).insertText(MarkedLetter(50000) + QStringLiteral(" b") + MarkedLetter(40));
    const std::unique_ptr<QTextDocument> part = HxRichTextShownPart(doc, 160, 60);
    EXPECT_EQ(part->toPlainText(),
              MarkedLetter(kMaxShownMarks) + QStringLiteral(" b") + MarkedLetter(kMaxShownMarks));
    EXPECT_EQ(LongestRowOfMarks(doc.toPlainText()), 50000) << "the text itself is kept";
    QTextDocument capped;
    QTextCursor(&capped).insertText(part->toPlainText());
    int w = 0, h = 0, cw = 0, ch = 0;
    EXPECT_TRUE(HxRenderRichText(doc, 160, 60, &w, &h) == HxRenderRichText(capped, 160, 60, &cw, &ch));
}

TEST_F(SlideBudgetTest, ALetterUnderManyMarksIsImportedUnderThirtyAndSaidSo) {
    const QByteArray bytes = Presentation({TextBox(3, 0, 0, 90, 30, Paragraph(TextRun(MarkedLetter(20000)))) +
                                           TextBox(4, 0, 40, 90, 30, Paragraph(TextRun(MarkedLetter(30))))});
    for (const bool convert : {true, false}) {
        m_messages.clear();
        ASSERT_TRUE(Import(bytes, convert));
        EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 2u);
        ASSERT_EQ(m_messages.size(), 1u) << convert;
        EXPECT_EQ(m_messages[0], CString(u"有1个文本的图片只画出了一部分：导入时绘制的文字超过2000000个字符"
                                         u"（泰文等文字、每种新字体和每处格式变化计得更多），"
                                         u"或一个字母上的附加符号超过30个。"));
    }
}

TEST_F(SlideBudgetTest, MemoryRunningOutStopsTheImportAndLeavesTheDocumentAsItWas) {
    // Twenty boxes of 3,072 points a side (335 million pixels, within the limit), in a process that
    // has not the memory for one of their pictures.
    CGPage* first = g_pCurPage;
    AddPoint(first, 1, 2, 3);
    const WORD cells = first->m_nextId;
    const QByteArray bytes = Presentation({SquareBoxes(20, 3072, Letter())});
    for (const bool convert : {true, false}) {
        const int result = HxRunInChild(
            [&] {
                // The fonts loaded first, as a session has them; the memory earlier tests freed given
                // back, so that a picture needs memory of its own.
                HxRenderSlideShape(TextShape(OneParagraph(QStringLiteral("a")), 20, 20));
                malloc_trim(0);
                HxCapChildMemory(24LL << 20);
                bool imported = true;
                try {
                    imported = Import(bytes, convert);
                } catch (...) {
                    return 2; // it escaped the import
                }
                if (imported || m_messages.size() != 1 || m_messages[0] != CString(g_slideDrawerOutOfMemory))
                    return 3;
                // The document is as it was: its one page, its first page's objects.
                return m_doc->GetPageCount() == 1 && m_doc->m_pages.GetHead() == first &&
                               !m_doc->IsModified() && first->m_nextId == cells &&
                               first->FindCell(cells - 1) != nullptr
                           ? 0
                           : 4;
            },
            -1, 60);
        EXPECT_EQ(result, 0) << (convert ? "converted" : "drawn");
    }
}

TEST(SlideBudget, PastWhatIsLeftATextLaysOutOneBeginningOfTheMinimum) {
    // Boxes narrower than their 18-point letters holding one word: broken anywhere first, then again
    // at word boundaries (each line holds a letter), the search for the beginning that shows
    // starting from a few letters.  Past what is left a text lays out one beginning of the minimum,
    // which shows what the whole word does.
    for (const double width : {2.0, 20.0})
        for (const int letters : {1000, 5000, 100000}) {
            const HxSlideShape shape = TextShape(OneParagraph(QString(letters, u'w')), width, 61.5);
            const QImage whole = HxRenderSlideShape(shape);
            for (const qsizetype left : {qsizetype(0), qsizetype(38), qsizetype(200), qsizetype(300)}) {
                SCOPED_TRACE(testing::Message()
                             << width << " points wide, " << letters << " letters, " << left << " left");
                HxLayoutBudget budget;
                budget.left = left;
                EXPECT_EQ(HxRenderSlideShape(shape, &budget), whole);
                EXPECT_LE(budget.laidOut, left + 2 * HxLayoutBudget::kMinimum);
                if (width < 3) { // narrower than the margin: the search does not end before the budget
                    EXPECT_GT(budget.laidOut, left) << "the minimum is laid out past what is left";
                    EXPECT_EQ(budget.reduced, 1);
                }
            }
        }
}

TEST(SlideBudget, PastWhatIsLeftASmallBoxLaysOutTheShortBeginningItShows) {
    // A box of 12 x 9 points shows a few of its 300 letters: once the budget is spent it lays out
    // the short beginning its size asks for, not the minimum, and draws what it draws with the budget
    // whole; a large box lays out the minimum.
    const HxSlideShape small = TextShape(OneParagraph(QString(300, u'w')), 12, 9);
    HxLayoutBudget budget;
    budget.left = 0;
    EXPECT_EQ(HxRenderSlideShape(small, &budget), HxRenderSlideShape(small));
    EXPECT_GT(budget.laidOut, 0);
    EXPECT_LT(budget.laidOut, HxLayoutBudget::kMinimum / 4);
    EXPECT_EQ(budget.reduced, 0);

    const HxSlideShape large = TextShape(OneParagraph(QString(5000, u'w')), 600, 400);
    HxLayoutBudget spent;
    spent.left = 0;
    HxRenderSlideShape(large, &spent);
    EXPECT_GE(spent.laidOut, HxLayoutBudget::kMinimum);
    EXPECT_LE(spent.laidOut, 2 * HxLayoutBudget::kMinimum);
    EXPECT_EQ(spent.reduced, 1);
}

namespace {

// Thai as it is written, without spaces between words: `length` characters.
QString ThaiText(qsizetype length) {
    QString text = QStringLiteral("สวัสดีครับผมชื่อสมชายยินดีที่ได้รู้จัก").repeated(int(length / 38 + 1));
    text.truncate(length);
    return text;
}

bool HasInk(const QImage& image) {
    int width = 0, height = 0;
    return !HxPictureToMonochrome(image, &width, &height).empty();
}

} // namespace

TEST(SlideBudget, AThaiRunPastTheBudgetIsDrawnFromTheBeginningThatFits) {
    // 60,000 characters of Thai in 9-point type in a box 3,072 points a side, which shows all of
    // them: priced four units a character, past a budget of 100,000, so cut inside the run.
    const HxSlideShape shape = TextShape(OneParagraph(ThaiText(60000), 9), 3072, 3072);
    HxLayoutBudget budget;
    budget.left = 100000;
    const std::unique_ptr<QTextDocument> part = HxSlideTextShownPart(shape.text, 4096, 4096, &budget);
    EXPECT_GT(part->characterCount() - 1, 10000);
    EXPECT_LT(part->characterCount() - 1, 30000);
    EXPECT_LE(budget.laidOut, 100000);
    EXPECT_EQ(budget.reduced, 1);
    HxLayoutBudget drawing;
    drawing.left = 100000;
    EXPECT_TRUE(HasInk(HxRenderSlideShape(shape, &drawing)));
    EXPECT_EQ(drawing.reduced, 1);
}

namespace {

CString TextsLeftOut(int texts, const char16_t* slides) {
    return HxFormat(
        u"有%d个文本没有导入（位于幻灯片%s）：画出的图片中没有任何笔画（文本框比一个字还窄、字号过小、"
        u"颜色过浅、缺少显示其文字的字体，或导入时绘制的文字已超过限度）。",
        texts, CString(slides));
}

// The objects of the pages after the first.
std::vector<size_t> ObjectsOfNewPages(CHalvixDoc& doc) {
    std::vector<size_t> objects;
    for (int i = 1; i < doc.GetPageCount(); ++i)
        objects.push_back(CellsOf<CGCell>(doc.GetPage(i)).size());
    return objects;
}

} // namespace

TEST_F(SlideBudgetTest, TextsWhosePicturesHoldNothingDarkAreLeftOutOnTheirPageAndSaidWithTheirSlides) {
    // White letters, drawn white on white: their slide leaves an empty page, and the slide after it
    // its picture.
    const QString whiteBox = TextBox(
        3, 0, 0, 90, 30,
        Paragraph(TextRun(QStringLiteral("abc"),
                          QStringLiteral("<a:rPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>"
                                         "</a:rPr>"))));
    const QByteArray white =
        Presentation({whiteBox, TextBox(3, 0, 0, 90, 30, Paragraph(TextRun(QStringLiteral("abc"))))});
    CGPage* first = g_pCurPage;
    ASSERT_TRUE(Import(white, false, 2));
    EXPECT_EQ(m_doc->GetPageCount(), 3);
    EXPECT_EQ(m_doc->GetPage(0), first);
    EXPECT_EQ(ObjectsOfNewPages(*m_doc), (std::vector<size_t>{0, 1}));
    EXPECT_EQ(m_pagesTurned, 2);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], TextsLeftOut(1, u"1"));

    // Once the import has taken its time each text lays out what its minimum allows: nothing of a
    // text in a typeface not met before past the first sixteen (its loading costs more).  Sixteen
    // boxes in typefaces of their own on the first slide; the second holds one in a seventeenth.
    QString faces;
    for (int i = 0; i < 16; ++i)
        faces += TextBox(3 + i, 0, 0, 90, 30,
                         Paragraph(TextRun(QStringLiteral("abc"),
                                           QStringLiteral("<a:rPr lang=\"en-US\"><a:latin typeface=\"F%1\"/>"
                                                          "</a:rPr>")
                                               .arg(i))));
    const QString seventeenth = TextBox(
        3, 0, 0, 90, 30,
        Paragraph(TextRun(QStringLiteral("abc"),
                          QStringLiteral("<a:rPr lang=\"en-US\"><a:latin typeface=\"F16\"/></a:rPr>"))));
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Presentation({faces, seventeenth}), deck), kPptxOk);
    HxSlideImportBounds late;
    late.clock = [calls = 0]() mutable { return calls++ == 0 ? qint64(0) : qint64(1) << 40; }; // late at once
    m_messages.clear();
    ASSERT_TRUE(HxImportSlideDeck(m_doc.get(), deck, 1, 2, false, nullptr, late));
    EXPECT_EQ(m_doc->GetPageCount(), 5);
    EXPECT_EQ(CellsOf<CGTextbit>(m_doc->GetPage(3)).size(), 16u);
    EXPECT_TRUE(CellsOf<CGCell>(m_doc->GetPage(4)).empty());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], TextsLeftOut(1, u"2")) << "left out, not drawn in part";
}

TEST_F(SlideBudgetTest, ASlideWhoseTextsDrawNothingKeepsItsPageAndIsNamed) {
    // A box 2 points wide (three pixels, narrower than one letter of 18-point type) draws nothing.
    const QString narrow =
        TextBox(3, 0, 0, 2, 30, Paragraph(TextRun(QStringLiteral("abcdefghijklmnopqrst"))));
    const QString word = TextBox(3, 0, 0, 90, 30, Paragraph(TextRun(QStringLiteral("abc"))));
    ASSERT_TRUE(Import(Presentation({word, narrow, word}), false, 3));
    EXPECT_EQ(m_doc->GetPageCount(), 4);
    EXPECT_EQ(ObjectsOfNewPages(*m_doc), (std::vector<size_t>{1, 0, 1}));
    EXPECT_EQ(m_doc->GetPage(3)->m_title, CString(u"第四页")) << "slide 3 on a page of its own";
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], TextsLeftOut(1, u"2"));

    // A deck of such a slide alone adds its page, empty, and says so.
    m_messages.clear();
    m_doc->SetModifiedFlag(FALSE);
    EXPECT_TRUE(Import(Presentation({narrow + narrow}), false));
    EXPECT_EQ(m_doc->GetPageCount(), 5);
    EXPECT_TRUE(CellsOf<CGCell>(g_pCurPage).empty());
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], TextsLeftOut(2, u"1"));

    // Many slides are named up to five, then "等".
    m_messages.clear();
    ASSERT_TRUE(Import(Presentation({word, narrow, narrow, word, narrow, narrow, narrow, narrow}), false, 8));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], TextsLeftOut(6, u"2、3、5、6、7等"));
}

TEST(SlideNumbers, AMessageNamesAFewAndThenSaysThereAreMore) {
    EXPECT_EQ(HxSlideNumberList({}), CString());
    EXPECT_EQ(HxSlideNumberList({7}), CString(u"7"));
    EXPECT_EQ(HxSlideNumberList({1, 2, 3, 4, 5}), CString(u"1、2、3、4、5"));
    EXPECT_EQ(HxSlideNumberList({1, 2, 3, 4, 5, 100}), CString(u"1、2、3、4、5等"));
}

TEST_F(SlideBudgetTest, AMillionCharactersOfThaiInTypeOfAPointMakeAPictureOrAreLeftOut) {
    // One box 3,072 points a side of a million characters of Thai a point high, drawn from the
    // beginning the import's budget allows.  Without a Thai face the boxes drawn for its characters
    // are too faint for a one-bit picture: left out then, and said so (its page stays, empty), but
    // never a picture said to be drawn in part that holds nothing.
    const QByteArray bytes =
        Presentation({TextBox(3, 0, 0, 3072, 3072, Paragraph(SizedRun(ThaiText(1000000), 1)))});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    HxLayoutBudget budget;
    budget.left = kSlideImportMaxLaidOut;
    const bool ink = HasInk(HxRenderSlideShape(deck.slides[0].shapes[0], &budget));
    EXPECT_EQ(budget.reduced, 1);
    ASSERT_TRUE(Import(bytes, false)) << "its page is made either way";
    ASSERT_EQ(m_messages.size(), 1u);
    if (ink) {
        EXPECT_EQ(m_doc->GetPageCount(), 2);
        EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 1u);
        EXPECT_TRUE(m_messages[0].ToQString().startsWith(QStringLiteral("有1个文本的图片只画出了一部分")));
    } else {
        EXPECT_EQ(m_doc->GetPageCount(), 2);
        EXPECT_TRUE(CellsOf<CGCell>(g_pCurPage).empty());
        EXPECT_TRUE(m_messages[0].ToQString().startsWith(QStringLiteral("有1个文本没有导入（位于幻灯片1）")));
    }
}
