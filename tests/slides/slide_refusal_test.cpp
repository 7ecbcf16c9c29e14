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
