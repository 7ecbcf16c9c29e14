// What drawing slide texts costs beyond their letters, and the import's time read inside the work it
// bounds: large characters priced by the pixels their outlines cover (a group's member over the whole
// group picture), words whose letters change size priced by what breaking them costs, the time read
// before each beginning of one text and each member drawn, and what is drawn once it is over.
#include "slides/pptx_reader.h"
#include "measure/rich_text.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "pptx_files.h"
#include "slide_deck_fixture.h"
#include "slide_shapes.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QTextDocument>

using namespace PptxFiles;
using namespace SlideShapes;

namespace {

class SlideDrawCostTest : public SlideDeckTest {};

HxSlideText SteppingSizes(int runs) {
    HxSlideText text;
    HxSlideParagraph& paragraph = text.paragraphs.emplace_back();
    for (int i = 0; i < runs; ++i) {
        HxSlideRun& run = paragraph.runs.emplace_back();
        run.text = QStringLiteral("a");
        run.points = 1.0 + (i % 4700) * 0.01;
    }
    return text;
}

// One paragraph of `words` words of `letters` letters each, whose sizes go 1.00, 1.01, ... 1.99 points
// in turn within each word, the words apart by a space.
HxSlideText SteppingWords(int words, int letters) {
    HxSlideText text;
    HxSlideParagraph& paragraph = text.paragraphs.emplace_back();
    for (int w = 0; w < words; ++w) {
        if (w > 0) {
            HxSlideRun& space = paragraph.runs.emplace_back();
            space.text = QStringLiteral(" ");
            space.points = 1;
        }
        for (int i = 0; i < letters; ++i) {
            HxSlideRun& run = paragraph.runs.emplace_back();
            run.text = QStringLiteral("a");
            run.points = 1.0 + (i % 100) * 0.01;
        }
    }
    return text;
}

// The characters of a slide text's part laid out for a picture of `width` x `height` pixels.
qsizetype LaidOut(const HxSlideText& text, double width, double height, HxLayoutBudget& budget) {
    return HxSlideTextShownPart(text, width, height, &budget)->characterCount() - 1;
}

const CString kLargeTypeRefusal = u"导入的内容过于繁杂（大号文字过多），约为一次导入限度的";

// The share of the work bound `work` is, in percent rounded up, as the refusal says it.
CString PercentOfBound(qint64 work) {
    return CString::FromQString(
        QString::number((work * 100 + kSlideImportMaxWork - 1) / kSlideImportMaxWork));
}

} // namespace

TEST(SlideDrawCost, LargeCharactersCoverAsMuchOfThePictureAsTheirSizeReaches) {
    // A "W" of 4,000 points is 5,333 pixels: it covers the whole of a picture up to that size.
    EXPECT_EQ(HxSlideTextCoverPixels(OneParagraph(QStringLiteral("W"), 4000), 1, 4096, 4096), 4096LL * 4096);
    EXPECT_EQ(HxSlideTextCoverPixels(OneParagraph(QStringLiteral("W"), 4000), 1, 960, 720), 960LL * 720);
    // Of 60 points (80 pixels), its square; spaces cover nothing, and only the characters asked for count.
    EXPECT_EQ(HxSlideTextCoverPixels(OneParagraph(QStringLiteral("A B C"), 60), 5, 4096, 4096),
              3LL * 80 * 80);
    EXPECT_EQ(HxSlideTextCoverPixels(OneParagraph(QStringLiteral("A B C"), 60), 2, 4096, 4096), 80LL * 80);
    // Characters below the glyph cache's size are priced with the letters.
    EXPECT_EQ(HxSlideTextCoverPixels(OneParagraph(QString(1000, u'a'), 40), 1000, 4096, 4096), 0);
    // Text of the default size of a title (44 points) is below it; a run of no size takes the default.
    HxSlideText title = OneParagraph(QStringLiteral("WW"));
    title.defaultPoints = 72;
    EXPECT_EQ(HxSlideTextCoverPixels(title, 2, 4096, 4096), 2LL * 96 * 96);
}

TEST_F(SlideDrawCostTest, AGroupOfLettersOfFourThousandPointsIsRefusedForWhatItsMembersCover) {
    // Each member fills its letter's outline over the whole group picture: 1,999 such members, or
    // 200 listed five times, are refused before the first page.  Converted, the group is left out and
    // said.
    const QByteArray large = Presentation({LargeLetterGroup(1999, 4000, 2048, 1536)});
    const QByteArray listed = Presentation({LargeLetterGroup(200, 4000, 2048, 1536)}, std::vector<int>(5, 0));
    // Nearly all of the price is the large type: the message names it and says what to change in the
    // deck, and asks for fewer slides only of the five (one slide cannot be fewer).
    for (const auto& [bytes, slides] : {std::pair{large, 1}, std::pair{listed, 5}}) {
        const qint64 work = WorkOf(bytes, false, slides);
        EXPECT_GT(work, kSlideImportMaxWork);
        m_messages.clear();
        EXPECT_FALSE(Import(bytes, false, slides));
        EXPECT_EQ(m_doc->GetPageCount(), 1);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0],
                  kLargeTypeRefusal + PercentOfBound(work) +
                      CString(slides == 1 ? u"%，请缩小演示文稿中大号文字的字号!"
                                          : u"%，请缩小演示文稿中大号文字的字号，或缩小幻灯片范围!"));
    }
    m_messages.clear();
    EXPECT_TRUE(Import(large, true));
    EXPECT_EQ(m_doc->GetPageCount(), 2);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].ToQString().startsWith(QStringLiteral("有1个含有文本的组合图形没有导入")));
    // The same group of letters of 20 points costs what it did: imported, drawn.
    m_messages.clear();
    EXPECT_LT(WorkOf(Presentation({LargeLetterGroup(1999, 20, 2048, 1536)}), false),
              kSlideImportMaxWork / 10);
}

TEST_F(SlideDrawCostTest, AGroupMemberInASmallBoxIsPricedOverTheWholeGroupPicture) {
    // 1,999 members of 12 x 9 points in a group as large as the slide (960 x 720 pixels), each a "W"
    // of 4,000 points: each fills its letter's outline over the whole group picture, however small its
    // own box, and the group is refused for its large type.  The same boxes on the slide are pictures
    // of their own boxes' size each, and cost little.
    QString members;
    for (int i = 0; i < 1999; ++i)
        members += TextBox(3 + i, (i % 40) * 15.0, (i / 40) * 9.0, 12, 9,
                           Paragraph(SizedRun(QStringLiteral("W"), 4000)));
    const QByteArray grouped = Presentation({Group(2, 0, 0, 720, 540, 0, 0, 720, 540, members)});
    ASSERT_GT(WorkOf(grouped, false), kSlideImportMaxWork);
    EXPECT_FALSE(Import(grouped, false));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].ToQString().startsWith(kLargeTypeRefusal.ToQString()))
        << m_messages[0].ToQString().toStdString();
    EXPECT_LT(WorkOf(Presentation({members}), false), kSlideImportMaxWork / 10);
}

TEST_F(SlideDrawCostTest, LargeTypeInTextsMadeEditableIsPricedByWhatItCovers) {
    // 300 boxes of 720 x 540 points, each of 200 "W" of 100 points (133 pixels, drawn as outlines):
    // the pictures their editable texts keep are covered for some 270 million units, and the import
    // is refused before the first page, naming the large type.  Of 20 points they cost their letters.
    auto boxes = [](double points) {
        QString out;
        for (int i = 0; i < 300; ++i)
            out += TextBox(3 + i, 0, 0, 720, 540, Paragraph(SizedRun(QString(200, u'W'), points)));
        return Presentation({out});
    };
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(boxes(100), deck), kPptxOk);
    const HxSlideImportCost cost = HxSlideImportCostOf(deck, 1, 1, true);
    ASSERT_GT(cost.work, kSlideImportMaxWork);
    EXPECT_LE(cost.items, kSlideImportMaxItems);
    EXPECT_LE(cost.pixels, kSlideImportMaxPixels);
    EXPECT_LE(cost.textBytes, kSlideImportMaxTextBytes);
    EXPECT_EQ(cost.MainWorkCause(), HxSlideWorkCause::kLargeType);
    EXPECT_FALSE(Import(boxes(100), true));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].ToQString().startsWith(kLargeTypeRefusal.ToQString()))
        << m_messages[0].ToQString().toStdString();
    EXPECT_LT(WorkOf(boxes(20), true), kSlideImportMaxWork / 4);
}

TEST(SlideDrawCost, AWordWhoseLettersChangeSizeIsLaidOutAsFarAsItsBreakingCosts) {
    // 16,384 letters in one word, each a size of its own, in a box 35 points wide: each line breaks
    // it after passing the rest of the word letter by letter, which takes seconds for the whole word.
    // Within what an import lays out, a beginning of a few thousand letters is laid out, and the
    // picture says it shows less.
    const HxSlideText word = SteppingSizes(16384);
    HxLayoutBudget budget;
    budget.left = kSlideImportMaxLaidOut;
    const qsizetype laidOut = LaidOut(word, 35 * 4.0 / 3.0, 4096, budget);
    EXPECT_LT(laidOut, 4000);
    EXPECT_GT(laidOut, 256);
    EXPECT_EQ(budget.reduced, 1);
    EXPECT_LE(budget.laidOut, kSlideImportMaxLaidOut);
    // Broken anywhere (letters of one size), such a word costs its letters: laid out as far as it shows.
    HxLayoutBudget plain;
    plain.left = kSlideImportMaxLaidOut;
    EXPECT_GT(LaidOut(OneParagraph(QString(16384, u'a'), 6), 35 * 4.0 / 3.0, 4096, plain), 4000);
    EXPECT_EQ(plain.reduced, 0);
}

TEST(SlideDrawCost, EveryWordWhoseLettersChangeSizeInATextCountsAgainstWhatItsPictureLaysOut) {
    // Words of 1,000 letters each a size of its own, in a box 35 points wide that shows them all: one
    // such word is laid out whole within what an import lays out, eight are not (each line breaking
    // one passes the rest of that word, whichever word of the text it is).
    const double width = 35 * 4.0 / 3.0;
    HxLayoutBudget one;
    one.left = kSlideImportMaxLaidOut;
    EXPECT_EQ(LaidOut(SteppingWords(1, 1000), width, 4096, one), 1000);
    EXPECT_EQ(one.reduced, 0);
    HxLayoutBudget eight;
    eight.left = kSlideImportMaxLaidOut;
    EXPECT_LT(LaidOut(SteppingWords(8, 1000), width, 4096, eight), 4 * 1001);
    EXPECT_EQ(eight.reduced, 1);
    EXPECT_LE(eight.laidOut, kSlideImportMaxLaidOut);
    // Without a bound, the eight are laid out whole and counted as eight such words.
    HxLayoutBudget whole;
    EXPECT_EQ(LaidOut(SteppingWords(8, 1000), width, 4096, whole), 8 * 1001 - 1);
    EXPECT_EQ(whole.reduced, 0);
    EXPECT_GT(whole.laidOut, 7 * one.laidOut);
    EXPECT_LT(whole.laidOut, 9 * one.laidOut);
}

TEST(SlideDrawCost, TheTimeIsReadBeforeEachBeginningOneTextLaysOut) {
    // A budget spent by what runs before the first beginning lays out the minimum; the hook runs for
    // every beginning.
    const HxSlideText text = OneParagraph(QStringLiteral("abcd efgh ").repeated(20000), 8);
    HxLayoutBudget whole;
    whole.left = kSlideImportMaxLaidOut;
    int calls = 0;
    whole.beforeEachBeginning = [&calls] { ++calls; };
    const qsizetype all = LaidOut(text, 4096, 4096, whole);
    EXPECT_GT(all, 10000);
    EXPECT_GE(calls, 1);
    HxLayoutBudget spent;
    spent.left = kSlideImportMaxLaidOut;
    spent.beforeEachBeginning = [&spent] { spent.left = 0; };
    EXPECT_LE(LaidOut(text, 4096, 4096, spent), 2 * HxLayoutBudget::kMinimum);
    EXPECT_EQ(spent.reduced, 1);
}

TEST_F(SlideDrawCostTest, AnImportWhoseTimeEndsInsideOneTextDrawsItFromAShortBeginningAndSaysSo) {
    // One long text: the clock passes the import's time only after the readings before the text
    // (when the import begins, before the shape and before its text), that is while it is laid out.
    const QByteArray bytes = Presentation(
        {TextBox(3, 0, 0, 3072, 3072, Paragraph(SizedRun(QStringLiteral("abcd efgh ").repeated(2000), 8)))});
    for (const bool convert : {false, true}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        HxSlideImportBounds bounds;
        bounds.milliseconds = 1000;
        int calls = 0;
        bounds.clock = [&calls] { return ++calls <= 3 ? qint64(0) : qint64(1) << 40; };
        m_messages.clear();
        ASSERT_TRUE(Import(bytes, convert, 1, bounds));
        EXPECT_GT(calls, 3);
        EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 1u);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], CString(u"导入用时超过1秒，此后有1个文本的图片只画出了开头的一部分或没有画出"
                                         u"（可编辑的文本仍然完整）。"));
    }
}

TEST_F(SlideDrawCostTest, PastItsTimeAnImportDrawsLargeLettersOnlyForAFewMoreMembers) {
    // Ten members of a group of 3,072 points a side, each a "W" of 4,000 points over the whole picture
    // (4,096 pixels a side): late at once, two more are drawn, then the rest are left out and said.
    QString members;
    for (int i = 0; i < 10; ++i)
        members += TextBox(3 + i, 0, 0, 3072, 3072, Paragraph(SizedRun(QStringLiteral("W"), 4000)));
    const QByteArray bytes = Presentation({Group(2, 0, 0, 3072, 3072, 0, 0, 3072, 3072, members)});
    EXPECT_LT(WorkOf(bytes, false), kSlideImportMaxWork);
    HxSlideImportBounds late;
    late.clock = [calls = 0]() mutable { return calls++ == 0 ? qint64(0) : qint64(1) << 40; };
    ASSERT_TRUE(Import(bytes, false, 1, late));
    EXPECT_EQ(CellsOf<CGTextbit>(g_pCurPage).size(), 1u);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"导入用时超过8秒，此后有8个文本的图片只画出了开头的一部分或没有画出"
                                     u"（可编辑的文本仍然完整）。"));
}
