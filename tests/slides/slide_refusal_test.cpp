// The work of a slide import kept by what causes it, and what a refused import says: the bound it
// passes, what makes most of its work, what to change in the presentation, and fewer slides only when
// the range holds more than one.
#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"
#include "pptx_files.h"
#include "slide_deck_fixture.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace PptxFiles;

namespace {

// A cost past the work bound by half, a tenth of the bound each cause but `main`, which has the rest.
HxSlideImportCost WorkCost(HxSlideWorkCause main, qint64 pages) {
    HxSlideImportCost cost;
    cost.pages = pages;
    cost.workOf.fill(kSlideImportMaxWork / 10);
    cost.workOf[size_t(main)] = kSlideImportMaxWork * 12 / 10;
    cost.work = kSlideImportMaxWork * 15 / 10;
    return cost;
}

class SlideRefusalTest : public SlideDeckTest {};

} // namespace

TEST(SlideRefusal, EachBoundSaysWhatToChangeInThePresentationAndFewerSlidesOnlyForMoreThanOne) {
    const HxSlideImportBounds bounds;
    for (const qint64 pages : {1, 2, 12}) {
        SCOPED_TRACE(pages);
        const CString fewer = pages > 1 ? CString(u"，或缩小幻灯片范围!") : CString(u"!");
        HxSlideImportCost cost;
        cost.pages = pages;
        EXPECT_TRUE(HxSlideRefusalOf(cost, 0, bounds).IsEmpty());
        cost.items = kSlideImportMaxItems + 1;
        EXPECT_EQ(HxSlideRefusalOf(cost, 0, bounds),
                  CString(u"导入的对象过多，超过20000个，请减少演示文稿中的文本框和表格") + fewer);
        cost.items = 0;
        cost.pixels = 503316480;
        EXPECT_EQ(
            HxSlideRefusalOf(cost, 0, bounds),
            CString(u"导入的图片过大，共需504百万像素，超过500百万像素，请缩小演示文稿中过大的文本框、表格"
                    u"或组合") +
                fewer);
        cost.pixels = 0;
        cost.textBytes = 140LL << 20 | 1;
        EXPECT_EQ(HxSlideRefusalOf(cost, 0, bounds),
                  CString(u"导入的文本过多，保存它们约需141MB，超过128MB，请删减演示文稿中过长的文本") +
                      fewer);
        cost.textBytes = 0;
        cost.storedBytes = 3LL << 20;
        EXPECT_EQ(
            HxSlideRefusalOf(cost, 2047LL << 20, bounds),
            CString(u"导入后文档过大，保存它约需2050MB，超过文档的上限2048MB，请先另存、精简当前文档，或删减"
                    u"演示文稿中的文本") +
                fewer);
        // Within the bounds, nothing is said however many slides.
        EXPECT_TRUE(HxSlideRefusalOf(cost, 2044LL << 20, bounds).IsEmpty());
    }
}

TEST(SlideRefusal, TooMuchWorkNamesWhatMakesMostOfItAndWhatToChange) {
    const HxSlideImportBounds bounds;
    const std::pair<HxSlideWorkCause, const char16_t*> said[] = {
        {HxSlideWorkCause::kTexts,
         u"导入的内容过于繁杂（文本、段落、换行或表格单元格过多），约为一次导入限度的150%，"
         u"请减少演示文稿中的文本框、段落、换行或表格单元格"},
        {HxSlideWorkCause::kFormatChanges,
         u"导入的内容过于繁杂（逐字改变字号或格式的文字过多），约为一次导入限度的"
         u"150%，请减少演示文稿中逐字改变的字号或格式"},
        {HxSlideWorkCause::kLargeType,
         u"导入的内容过于繁杂（大号文字过多），约为一次导入限度的150%，请缩小演示文稿中大号文字的字号"},
        {HxSlideWorkCause::kPictures,
         u"导入的内容过于繁杂（要画的图片过大），约为一次导入限度的150%，请缩小演示文稿"
         u"中过大的文本框、表格或组合"},
    };
    for (const auto& [cause, message] : said) {
        SCOPED_TRACE(CString(message).ToUtf8());
        EXPECT_EQ(WorkCost(cause, 1).MainWorkCause(), cause);
        EXPECT_EQ(HxSlideRefusalOf(WorkCost(cause, 1), 0, bounds), CString(message) + CString(u"!"));
        EXPECT_EQ(HxSlideRefusalOf(WorkCost(cause, 3), 0, bounds),
                  CString(message) + CString(u"，或缩小幻灯片范围!"));
    }
    // A cause that makes the most of the work but not its half is still named.
    HxSlideImportCost spread;
    spread.workOf = {kSlideImportMaxWork / 4, kSlideImportMaxWork / 4, kSlideImportMaxWork / 4,
                     kSlideImportMaxWork / 2};
    spread.work = kSlideImportMaxWork * 5 / 4;
    EXPECT_EQ(spread.MainWorkCause(), HxSlideWorkCause::kPictures);
    EXPECT_TRUE(
        HxSlideRefusalOf(spread, 0, bounds)
            .ToQString()
            .startsWith(QStringLiteral("导入的内容过于繁杂（要画的图片过大），约为一次导入限度的125%")));
}

TEST(SlideRefusal, TheWorkOfEachCauseAddsUpToThePrice) {
    // Editable texts and pictures of texts, tables, groups, large type and runs of their own sizes:
    // what each cause costs makes the whole price, and the pages are the slides of the range.
    QString stepping;
    for (int i = 0; i < 300; ++i)
        stepping += SizedRun(QStringLiteral("a"), 1.0 + i * 0.01);
    const QByteArray bytes = Presentation(
        {TextBox(3, 0, 0, 90, 30, Paragraph(TextRun(QStringLiteral("ab cd"))) + Paragraph(stepping)),
         Table(3, 0, 0, {100, 200}, {30, 60},
               {Cell(QStringLiteral("a")) + Cell(QString()),
                Cell(QStringLiteral("b")) + Cell(QStringLiteral("c"))}),
         LargeLetterGroup(3, 4000, 300, 200) +
             TextBox(9, 0, 0, 600, 400, Paragraph(SizedRun(QStringLiteral("WW"), 90)))},
        {0, 1, 2, 2});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        const HxSlideImportCost cost = HxSlideImportCostOf(deck, 1, 4, convert);
        EXPECT_EQ(std::accumulate(cost.workOf.begin(), cost.workOf.end(), qint64(0)), cost.work);
        for (const qint64 part : cost.workOf)
            EXPECT_GT(part, 0);
        EXPECT_EQ(cost.pages, 4);
        EXPECT_EQ(HxSlideImportCostOf(deck, 3, 3, convert).pages, 1);
        EXPECT_EQ(HxSlideImportCostOf(deck, 4, 9, convert).pages, 1);
        EXPECT_EQ(HxSlideImportCostOf(deck, 2, 1, convert).pages, 2);
    }
    // The word of 300 sizes is its changes of format; the first slide's text without it costs no such
    // work.
    const QByteArray plain = Presentation(
        {TextBox(3, 0, 0, 90, 30,
                 Paragraph(TextRun(QStringLiteral("ab cd"))) + Paragraph(SizedRun(QString(300, u'a'), 1)))});
    HxSlideDeck plainDeck;
    ASSERT_EQ(HxReadPptx(plain, plainDeck), kPptxOk);
    for (const bool convert : {true, false}) {
        EXPECT_EQ(HxSlideImportCostOf(plainDeck, 1, 1, convert).WorkOf(HxSlideWorkCause::kFormatChanges), 0);
        EXPECT_GT(HxSlideImportCostOf(deck, 1, 1, convert).WorkOf(HxSlideWorkCause::kFormatChanges),
                  299 * 200);
    }
}

TEST_F(SlideRefusalTest, ARangeOfTwelveSlidesPastTheBoundIsAlsoAskedForFewerSlides) {
    // Twelve slides of a group of 20 letters "W" of 4,000 points over the group's picture: together
    // past the work bound, each of them far within it.  The message names the large type and asks
    // for fewer slides as well; six of them would be imported.
    const QByteArray bytes = Presentation(std::vector<QString>(12, LargeLetterGroup(20, 4000, 2048, 1536)));
    EXPECT_GT(WorkOf(bytes, false, 12), kSlideImportMaxWork);
    EXPECT_LT(WorkOf(bytes, false, 6), kSlideImportMaxWork);
    EXPECT_FALSE(Import(bytes, false, 12));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    ASSERT_EQ(m_messages.size(), 1u);
    const QString said = m_messages[0].ToQString();
    EXPECT_TRUE(said.startsWith(QStringLiteral("导入的内容过于繁杂（大号文字过多），约为一次导入限度的")))
        << said.toStdString();
    EXPECT_TRUE(said.endsWith(QStringLiteral("，请缩小演示文稿中大号文字的字号，或缩小幻灯片范围!")))
        << said.toStdString();
}
