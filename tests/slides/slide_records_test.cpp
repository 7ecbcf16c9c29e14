// The records the drawing of slides hands back: a drawing read back whole however it is cut into
// pieces, and every kind of malformed or oversized record refused before anything of it is kept.
#include "model/page.h"
#include "pptx_files.h"
#include "slides/slide_deck_draw.h"
#include "slides/slide_place.h"
#include "slides/slide_records.h"
#include "slide_record_samples.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>
#include <limits>
#include <random>

using namespace PptxFiles;
namespace R = HxSlideRecords;
using namespace SlideRecordSamples;

namespace {

HxSlideRecordReader::State Read(const QByteArray& bytes, int from = 1, int to = 1, bool convert = true,
                                const HxSlideImportBounds& bounds = HxSlideImportBounds()) {
    HxSlideRecordReader reader(from, to, convert, bounds);
    return reader.Feed(bytes);
}

} // namespace

TEST(SlideRecords, ADrawingIsReadBackWholeInPiecesOfAnySize) {
    // A deck of a text, a table with merged cells and a group, drawn as the drawing program draws it
    // (converted: the text and table become editable, the group is left out; drawn: three pictures).
    const QByteArray deckBytes =
        Presentation({TextBox(3, 100, 200, 300, 60, Paragraph(TextRun(QStringLiteral("正方体")))) +
                      Table(4, 60, 100, {100, 80}, {30, 30},
                            {Cell(QStringLiteral("A"), QStringLiteral("gridSpan=\"2\"")) +
                                 Cell(QString(), QStringLiteral("hMerge=\"1\"")),
                             Cell(QStringLiteral("C")) + Cell(QStringLiteral("D"))}) +
                      Group(5, 300, 300, 200, 100, 0, 0, 200, 100,
                            TextBox(6, 0, 0, 200, 100, Paragraph(TextRun(QStringLiteral("组内")))))});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(deckBytes, deck), kPptxOk);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        QByteArray bytes = R::Hello();
        HxDrawSlideDeck(deck, 1, 1, convert, HxSlideImportBounds(),
                        [&bytes](const QByteArray& record) { bytes += record; });
        for (const qsizetype piece : {qsizetype(1), qsizetype(7), qsizetype(4096), bytes.size()}) {
            HxSlideRecordReader reader(1, 1, convert, HxSlideImportBounds());
            HxSlideRecordReader::State state = HxSlideRecordReader::kReading;
            for (qsizetype at = 0; at < bytes.size(); at += piece)
                state = reader.Feed(bytes.constData() + at, std::min(piece, bytes.size() - at));
            ASSERT_EQ(state, HxSlideRecordReader::kDone) << piece << ": " << reader.Fault();
            ASSERT_EQ(reader.Slides().size(), 1u);
            const HxDrawnSlide& slide = reader.Slides()[0];
            EXPECT_EQ(slide.number, 1);
            ASSERT_EQ(slide.shapes.size(), convert ? 2u : 3u);
            if (convert) {
                EXPECT_EQ(slide.shapesLeftOut, 1);
                const HxDrawnShape& text = slide.shapes[0];
                EXPECT_EQ(text.kind, HxDrawnShape::kText);
                EXPECT_EQ(text.box.left, 100);
                EXPECT_EQ(text.text.pictureWidth, 400);
                EXPECT_EQ(text.text.name, CString(u"正方体"));
                EXPECT_TRUE(text.text.rtf.GetLength() > 10);
                const HxDrawnShape& table = slide.shapes[1];
                EXPECT_EQ(table.kind, HxDrawnShape::kTable);
                EXPECT_EQ(table.rows, 2);
                EXPECT_EQ(table.columns, 2);
                // The merged "A" and the two cells of the second row carry texts.
                ASSERT_EQ(table.cellTexts.size(), 3u);
            } else {
                for (const HxDrawnShape& shape : slide.shapes) {
                    EXPECT_EQ(shape.kind, HxDrawnShape::kPicture);
                    EXPECT_EQ(qint64(shape.bits.size()), qint64((shape.width + 31) / 32 * 4) * shape.height);
                }
            }
        }
    }
}

TEST(SlideRecords, MalformedRecordsAreRefusedAndNothingOfThemIsKept) {
    const HxSlideBox box = Box(10, 20, 30, 15); // 40 x 20 pixels
    const HxDrawnText text = TextOf(box);
    HxDrawnText wrongSize = text;
    wrongSize.pictureWidth = 41;
    wrongSize.picture = Bits(41, 20);
    HxDrawnText shortBits = text;
    shortBits.picture.pop_back();
    HxDrawnText longName = text;
    longName.name = CString(u'名', 65);
    // A colour the writer cannot write (it keeps 24 bits): the record's colour field changed after.
    HxDrawnText marked = text;
    marked.color = qRgb(0x12, 0x34, 0x56);
    QByteArray badColor = R::Text(box, marked);
    const qsizetype colorAt = badColor.indexOf(QByteArray::fromHex("56341200"));
    ASSERT_GT(colorAt, 0);
    badColor[colorAt + 3] = char(1);
    const std::vector<HxSlideBox> cells2x2{Box(0, 0, 50, 20), Box(50, 0, 50, 20), Box(0, 20, 50, 20),
                                           Box(50, 20, 50, 20)};
    const std::vector<HxSlideBox> merged{Box(0, 0, 100, 20), Box(0, 0, 100, 20), Box(0, 20, 50, 20),
                                         Box(50, 20, 50, 20)};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QByteArray trailing = R::SlideEnd(Counts(1));
    trailing.append('\0');
    qToLittleEndian(quint32(trailing.size() - 8), trailing.data() + 4);
    QByteArray badHello = R::Hello();
    qToLittleEndian(quint32(R::kVersion + 1), badHello.data() + badHello.size() - 4);
    HxDrawnSlide negative = Counts(1);
    negative.shortened = -1;

    const struct {
        const char* what;
        QByteArray bytes;
        bool convert = true;
    } cases[] = {
        {"no hello", R::SlideBegin(1, 1) + R::SlideEnd(Counts(1)) + R::Done()},
        {"another version", badHello + R::SlideBegin(1, 1)},
        {"the second slide first", Stream({R::SlideBegin(2, 1)})},
        {"a wrong count of slides", Stream({R::SlideBegin(1, 3)})},
        {"a slide begun twice", Stream({R::SlideBegin(1, 1), R::SlideBegin(1, 1)})},
        {"the end of another slide", Stream({R::SlideBegin(1, 1), R::SlideEnd(Counts(2))})},
        {"done before the slides", Stream({R::Done()})},
        {"done inside a slide", Stream({R::SlideBegin(1, 1), R::Done()})},
        {"a shape outside a slide", Stream({R::Text(box, text)})},
        {"an editable text while drawing", Stream({R::SlideBegin(1, 1), R::Text(box, text)}), false},
        {"a text whose picture is not its box's size",
         Stream({R::SlideBegin(1, 1), R::Text(box, wrongSize)})},
        {"a text short of its picture's bytes", Stream({R::SlideBegin(1, 1), R::Text(box, shortBits)})},
        {"a name too long", Stream({R::SlideBegin(1, 1), R::Text(box, longName)})},
        {"a colour past 24 bits", Stream({R::SlideBegin(1, 1), badColor})},
        {"a box not a number", Stream({R::SlideBegin(1, 1), R::Text(Box(nan, 0, 30, 15), text)})},
        {"a box of no end",
         Stream({R::SlideBegin(1, 1), R::Picture(Box(0, 0, inf, 15), 8, 1, 0, 0, Bits(8, 1))})},
        {"a box of a negative side",
         Stream({R::SlideBegin(1, 1), R::Picture(Box(0, 0, -3, 15), 8, 1, 0, 0, Bits(8, 1))})},
        {"a place past the limits",
         Stream({R::SlideBegin(1, 1), R::Picture(Box(2e12, 0, 30, 15), 8, 1, 0, 0, Bits(8, 1))})},
        {"a picture of no width", Stream({R::SlideBegin(1, 1), R::Picture(box, 0, 1, 0, 0, {})})},
        {"a picture wider than its box",
         Stream({R::SlideBegin(1, 1), R::Picture(box, 48, 1, 0, 0, Bits(48, 1))})},
        {"a picture past its box's top",
         Stream({R::SlideBegin(1, 1), R::Picture(box, 8, 10, 0, 11, Bits(8, 10))})},
        {"a picture left of its box",
         Stream({R::SlideBegin(1, 1), R::Picture(box, 8, 1, -8, 0, Bits(8, 1))})},
        {"a picture short of its bytes",
         Stream({R::SlideBegin(1, 1), R::Picture(box, 8, 2, 0, 0, Bits(8, 1))})},
        {"a table of 20 rows",
         Stream({R::SlideBegin(1, 1), R::TableBegin(box, 20, 1, std::vector<HxSlideBox>(20, box))})},
        {"a table with fewer cells than it says",
         Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2, {box})})},
        {"a table while drawing", Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2, cells2x2)}), false},
        {"a text of a merged-over cell",
         Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2, merged), R::CellText(1, TextOf(merged[1]))})},
        {"a cell's text twice",
         Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2, cells2x2), R::CellText(3, TextOf(cells2x2[3])),
                 R::CellText(3, TextOf(cells2x2[3]))})},
        {"a cell past the table", Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2, cells2x2),
                                          R::CellText(4, TextOf(cells2x2[3]))})},
        {"a cell's text outside a table", Stream({R::SlideBegin(1, 1), R::CellText(0, TextOf(cells2x2[0]))})},
        {"a slide ended inside a table",
         Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2, cells2x2), R::SlideEnd(Counts(1))})},
        {"a record longer than its fields", Stream({R::SlideBegin(1, 1), trailing})},
        {"a negative count", Stream({R::SlideBegin(1, 1), R::SlideEnd(negative)})},
        {"a record of no known type", Stream({R::SlideBegin(1, 1), QByteArray("ABCD\0\0\0\0", 8)})},
        {"a slide size not a number", Stream({R::SlideBegin(1, 1, {nan, 540})})},
        {"a slide size past the largest place", Stream({R::SlideBegin(1, 1, {720, -2e12})})},
    };
    for (const auto& c : cases) {
        HxSlideRecordReader reader(1, 1, c.convert, HxSlideImportBounds());
        EXPECT_EQ(reader.Feed(c.bytes), HxSlideRecordReader::kFaulty) << c.what;
        EXPECT_TRUE(reader.Slides().empty()) << c.what;
        // Nothing more is taken once the reading stopped.
        EXPECT_EQ(reader.Feed(Stream({R::SlideBegin(1, 1), R::SlideEnd(Counts(1)), R::Done()})),
                  HxSlideRecordReader::kFaulty)
            << c.what;
    }
    // The same stream made whole is read (the cases above fail for their one fault).
    EXPECT_EQ(
        Read(Stream({R::SlideBegin(1, 1), R::Text(box, text), R::TableBegin(box, 2, 2, merged),
                     R::CellText(0, TextOf(merged[0])), R::CellText(3, TextOf(merged[3])), R::TableEnd(),
                     R::Picture(box, 40, 20, 0, 0, Bits(40, 20)), R::SlideEnd(Counts(1)), R::Done()})),
        HxSlideRecordReader::kDone);
}

TEST(SlideRecords, ARecordClaimingMoreThanAnyRecordIsRefusedBeforeItsBytesCome) {
    // A picture record's head saying 2 GB: refused on its eight bytes, nothing buffered.
    QByteArray head(8, '\0');
    qToLittleEndian(quint32(R::kPicture), head.data());
    qToLittleEndian(quint32(0x80000000u), head.data() + 4);
    HxSlideRecordReader reader(1, 1, false, HxSlideImportBounds());
    EXPECT_EQ(reader.Feed(Stream({R::SlideBegin(1, 1)})), HxSlideRecordReader::kReading);
    EXPECT_EQ(reader.Feed(head), HxSlideRecordReader::kFaulty);
}

TEST(SlideRecords, WhatTheSlidesMakeIsBoundedAsTheImportIs) {
    const HxSlideBox box = Box(0, 0, 30, 15); // 40 x 20 pixels
    const QByteArray two = Stream({R::SlideBegin(1, 1), R::Text(box, TextOf(box)), R::Text(box, TextOf(box)),
                                   R::SlideEnd(Counts(1)), R::Done()});
    HxSlideImportBounds bounds;
    EXPECT_EQ(Read(two, 1, 1, true, bounds), HxSlideRecordReader::kDone);
    bounds.items = 1;
    EXPECT_EQ(Read(two, 1, 1, true, bounds), HxSlideRecordReader::kFaulty);
    bounds = HxSlideImportBounds();
    bounds.pixels = 40 * 20 + 1;
    EXPECT_EQ(Read(two, 1, 1, true, bounds), HxSlideRecordReader::kFaulty);
    bounds = HxSlideImportBounds();
    bounds.textBytes = 2 * TextOf(box).rtf.GetLength() + 1;
    EXPECT_EQ(Read(two, 1, 1, true, bounds), HxSlideRecordReader::kFaulty);
    // A table's grid counts its objects.
    bounds = HxSlideImportBounds();
    bounds.items = CGPage::TableCellCount(2, 2) - 1;
    EXPECT_EQ(Read(Stream({R::SlideBegin(1, 1), R::TableBegin(box, 2, 2,
                                                              {Box(0, 0, 5, 5), Box(5, 0, 5, 5),
                                                               Box(0, 5, 5, 5), Box(5, 5, 5, 5)})}),
                   1, 1, true, bounds),
              HxSlideRecordReader::kFaulty);
}

TEST(SlideRecords, TheSlidesWholeBeforeTheEndStayAndTheDrawingsOwnEndsAreTold) {
    const HxSlideBox box = Box(0, 0, 30, 15);
    HxSlideRecordReader reader(3, 5, false, HxSlideImportBounds());
    EXPECT_EQ(reader.Feed(Stream({R::SlideBegin(3, 3), R::Picture(box, 8, 1, 0, 0, Bits(8, 1)),
                                  R::SlideEnd(Counts(3, 2)), R::SlideBegin(4, 3)})),
              HxSlideRecordReader::kReading);
    EXPECT_EQ(reader.Current(), 4);
    ASSERT_EQ(reader.Slides().size(), 1u);
    EXPECT_EQ(reader.Slides()[0].number, 3);
    EXPECT_EQ(reader.Slides()[0].textsLeftOut, 2);
    EXPECT_EQ(reader.Feed(R::OutOfMemory()), HxSlideRecordReader::kOutOfMemory);

    HxSlideRecordReader refused(1, 1, true, HxSlideImportBounds());
    EXPECT_EQ(refused.Feed(Stream({R::Refused(kPptxOldBinary)})), HxSlideRecordReader::kRefused);
    EXPECT_EQ(refused.Refusal(), kPptxOldBinary);
    HxSlideRecordReader noReason(1, 1, true, HxSlideImportBounds());
    EXPECT_EQ(noReason.Feed(Stream({R::Refused(kPptxOk)})), HxSlideRecordReader::kFaulty);
}

TEST(SlideRecords, APriceComesBeforeTheSlidesIsCheckedAsUntrustedAndRefusedWithTheReadersBounds) {
    HxSlideImportCost cost;
    cost.items = 3;
    cost.pixels = 100;
    cost.textBytes = 50;
    cost.storedBytes = 400;
    cost.work = 10;
    cost.workOf = {4, 3, 2, 1};
    cost.pages = 2;
    const HxSlideBox box = Box(0, 0, 30, 15);
    auto slides = [&box](int first, int last) {
        QByteArray bytes;
        for (int n = first; n <= last; ++n)
            bytes += R::SlideBegin(n, 2) + R::Picture(box, 8, 1, 0, 0, Bits(8, 1)) + R::SlideEnd(Counts(n));
        return bytes;
    };
    // Within the bounds: the slides follow, each named as it begins though all come in one piece.
    {
        HxSlideRecordReader reader(4, 5, false, HxSlideImportBounds());
        reader.RequirePrice(0);
        std::vector<int> begun;
        reader.OnSlideBegun([&begun](int number) { begun.push_back(number); });
        QByteArray bytes = Stream({R::Price(cost)});
        for (int n = 4; n <= 5; ++n)
            bytes += R::SlideBegin(n, 2) + R::Picture(box, 8, 1, 0, 0, Bits(8, 1)) + R::SlideEnd(Counts(n));
        EXPECT_EQ(reader.Feed(bytes + R::Done()), HxSlideRecordReader::kDone) << reader.Fault();
        EXPECT_EQ(begun, (std::vector<int>{4, 5}));
        EXPECT_EQ(reader.Price().items, 3);
        EXPECT_EQ(reader.Price().workOf, cost.workOf);
        EXPECT_EQ(reader.Slides().size(), 2u);
    }
    // Past a bound of the reader's, or with the lesson's length past the largest lesson: refused as
    // HxSlideRefusalOf refuses it, before any slide.
    HxSlideImportBounds fewer;
    fewer.items = 2;
    const HxSlideImportBounds bounds;
    const struct {
        const char* what;
        HxSlideImportBounds bounds;
        qint64 stored;
        bool refused;
    } prices[] = {
        {"fewer objects", fewer, 0, true},
        {"a lesson a byte too long", bounds, bounds.lessonBytes - 399, true},
        {"a lesson as long as it may be", bounds, bounds.lessonBytes - 400, false},
    };
    for (const auto& p : prices) {
        HxSlideRecordReader reader(1, 2, true, p.bounds);
        reader.RequirePrice(p.stored);
        EXPECT_EQ(reader.Feed(Stream({R::Price(cost)}) + slides(1, 2)),
                  p.refused ? HxSlideRecordReader::kTooCostly : HxSlideRecordReader::kReading)
            << p.what;
        EXPECT_EQ(reader.PriceRefusal(), HxSlideRefusalOf(cost, p.stored, p.bounds)) << p.what;
        EXPECT_EQ(reader.PriceRefusal().IsEmpty(), !p.refused) << p.what;
        EXPECT_EQ(reader.Slides().size(), p.refused ? 0u : 2u) << p.what;
    }
    // Malformed, or out of its place.
    auto changed = [&cost](const std::function<void(HxSlideImportCost&)>& change) {
        HxSlideImportCost c = cost;
        change(c);
        return R::Price(c);
    };
    QByteArray cut = R::Price(cost);
    cut.chop(8);
    qToLittleEndian(quint32(cut.size() - 8), cut.data() + 4);
    const struct {
        const char* what;
        QByteArray bytes;
        bool required = true;
    } cases[] = {
        {"a negative number of objects", Stream({changed([](auto& c) { c.items = -1; })})},
        {"a negative part of the work",
         Stream({changed([](auto& c) { c.workOf = {12, -1, 0, 0}, c.work = 11; })})},
        {"pixels past the largest price",
         Stream({changed([](auto& c) { c.pixels = R::kLargestPrice + 1; })})},
        {"work past the largest price",
         Stream({changed([](auto& c) { c.work = c.workOf[0] = std::numeric_limits<qint64>::max(); })})},
        {"causes that do not add up", Stream({changed([](auto& c) { c.workOf[3] = 2; })})},
        {"a page too few", Stream({changed([](auto& c) { c.pages = 1; })})},
        {"a page too many", Stream({changed([](auto& c) { c.pages = 3; })})},
        {"a price short of its fields", Stream({cut})},
        {"a slide before the price", Stream({R::SlideBegin(1, 2)})},
        {"slides in their order with no price", Stream({})},
        {"done before the price", Stream({R::Done()})},
        {"a price twice", Stream({R::Price(cost), R::Price(cost)})},
        {"a price after a slide", Stream({R::Price(cost), R::SlideBegin(1, 2), R::Price(cost)})},
        {"a price not asked for", Stream({R::Price(cost)}), false},
        {"a count", Stream({R::Count(2)})},
    };
    for (const auto& c : cases) {
        HxSlideRecordReader reader(1, 2, true, HxSlideImportBounds());
        if (c.required)
            reader.RequirePrice(0);
        EXPECT_EQ(reader.Feed(c.bytes + slides(1, 2) + R::Done()), HxSlideRecordReader::kFaulty) << c.what;
        EXPECT_TRUE(reader.Slides().empty()) << c.what;
        EXPECT_TRUE(reader.PriceRefusal().IsEmpty()) << c.what;
    }
    // What the drawing program says before its price is taken.
    HxSlideRecordReader refused(1, 2, true, HxSlideImportBounds());
    refused.RequirePrice(0);
    EXPECT_EQ(refused.Feed(Stream({R::Refused(kPptxBadXml)})), HxSlideRecordReader::kRefused);
    HxSlideRecordReader memory(1, 2, true, HxSlideImportBounds());
    memory.RequirePrice(0);
    EXPECT_EQ(memory.Feed(Stream({R::OutOfMemory()})), HxSlideRecordReader::kOutOfMemory);
}

TEST(SlideRecords, ACountIsItsNumberOfSlidesOrWhyThereIsNone) {
    for (const int slides : {1, 7, 20000}) {
        HxSlideRecordReader reader = HxSlideRecordReader::ForCount();
        EXPECT_EQ(reader.Feed(Stream({R::Count(slides)})), HxSlideRecordReader::kDone) << slides;
        EXPECT_EQ(reader.SlideCount(), slides);
    }
    QByteArray trailing = R::Count(3);
    trailing.append('\0');
    qToLittleEndian(quint32(trailing.size() - 8), trailing.data() + 4);
    HxSlideImportCost cost;
    cost.pages = 1;
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"no slides", Stream({R::Count(0)})},
        {"more slides than a presentation lists", Stream({R::Count(20001)})},
        {"a negative count", Stream({R::Count(-1)})},
        {"a count longer than its field", Stream({trailing})},
        {"no hello", R::Count(3)},
        {"a slide", Stream({R::SlideBegin(1, 1)})},
        {"a price", Stream({R::Price(cost)})},
        {"done", Stream({R::Done()})},
    };
    for (const auto& c : cases) {
        HxSlideRecordReader reader = HxSlideRecordReader::ForCount();
        EXPECT_EQ(reader.Feed(c.bytes + R::Count(3)), HxSlideRecordReader::kFaulty) << c.what;
        EXPECT_EQ(reader.SlideCount(), 0) << c.what;
    }
    HxSlideRecordReader refused = HxSlideRecordReader::ForCount();
    EXPECT_EQ(refused.Feed(Stream({R::Refused(kPptxNoSlides)})), HxSlideRecordReader::kRefused);
    EXPECT_EQ(refused.Refusal(), kPptxNoSlides);
    HxSlideRecordReader memory = HxSlideRecordReader::ForCount();
    EXPECT_EQ(memory.Feed(Stream({R::OutOfMemory()})), HxSlideRecordReader::kOutOfMemory);
    // A drawing takes no count.
    EXPECT_EQ(Read(Stream({R::Count(1)})), HxSlideRecordReader::kFaulty);
}

TEST(SlideRecords, DamagedDrawingsNeverHandBackWhatTheyDoNotHold) {
    // A drawing of a text, a table and a group damaged at random, again and again (a byte changed, a
    // piece cut out, doubled or cut short, a length field replaced): the reader ends in one of its
    // states, and whatever it kept is whole: pictures with exactly the bytes their rows take, within
    // their box, and at most the slides asked for, in their order.
    const QByteArray deckBytes =
        Presentation({TextBox(3, 100, 200, 300, 60, Paragraph(TextRun(QStringLiteral("正方体")))) +
                      Table(4, 60, 100, {100, 80}, {30, 30},
                            {Cell(QStringLiteral("A")) + Cell(QStringLiteral("B")),
                             Cell(QStringLiteral("C")) + Cell(QStringLiteral("D"))}) +
                      Group(5, 300, 300, 200, 100, 0, 0, 200, 100,
                            TextBox(6, 0, 0, 200, 100, Paragraph(TextRun(QStringLiteral("组内")))))});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(deckBytes, deck), kPptxOk);
    std::mt19937 random(20261209);
    for (const bool convert : {true, false}) {
        QByteArray whole = R::Hello();
        HxDrawSlideDeck(deck, 1, 1, convert, HxSlideImportBounds(),
                        [&whole](const QByteArray& record) { whole += record; });
        int done = 0, faulty = 0;
        for (int round = 0; round < 1500; ++round) {
            QByteArray bytes = whole;
            const int changes = 1 + int(random() % 3);
            for (int c = 0; c < changes && !bytes.isEmpty(); ++c) {
                const qsizetype at = qsizetype(random() % quint32(bytes.size()));
                const qsizetype length = std::min<qsizetype>(1 + random() % 64, bytes.size() - at);
                switch (random() % 5) {
                case 0:
                    bytes[at] = char(random());
                    break;
                case 1:
                    bytes.remove(at, length);
                    break;
                case 2:
                    bytes.insert(at, bytes.mid(at, length));
                    break;
                case 3:
                    bytes.truncate(at);
                    break;
                default: {
                    // A record's length or a count at a 4-byte boundary replaced by a large or
                    // negative value.
                    const qsizetype aligned = at & ~qsizetype(3);
                    if (aligned + 4 <= bytes.size()) {
                        const quint32 values[] = {0xffffffffu, 0x7fffffffu, 0x80000000u, 1u << 24, 0u};
                        qToLittleEndian(values[random() % 5], bytes.data() + aligned);
                    }
                    break;
                }
                }
            }
            HxSlideRecordReader reader(1, 1, convert, HxSlideImportBounds());
            const HxSlideRecordReader::State state = reader.Feed(bytes);
            done += state == HxSlideRecordReader::kDone;
            faulty += state == HxSlideRecordReader::kFaulty;
            ASSERT_LE(reader.Slides().size(), 1u);
            for (const HxDrawnSlide& slide : reader.Slides()) {
                ASSERT_EQ(slide.number, 1);
                for (const HxDrawnShape& shape : slide.shapes) {
                    if (shape.kind == HxDrawnShape::kPicture) {
                        ASSERT_EQ(qint64(shape.bits.size()),
                                  qint64((shape.width + 31) / 32 * 4) * shape.height);
                        ASSERT_GE(shape.width, 1);
                        ASSERT_LE(shape.width, 4096);
                        // Within the box, cropped at whole bytes.
                        ASSERT_LE(shape.left + shape.width, (HxSlidePixelSide(shape.box.width) + 7) / 8 * 8);
                    } else if (shape.kind == HxDrawnShape::kText) {
                        ASSERT_EQ(qint64(shape.text.picture.size()),
                                  qint64((shape.text.pictureWidth + 31) / 32 * 4) * shape.text.pictureHeight);
                    } else {
                        ASSERT_EQ(qint64(shape.cellBoxes.size()), qint64(shape.rows) * shape.columns);
                        for (const auto& [index, text] : shape.cellTexts)
                            ASSERT_LT(index, shape.rows * shape.columns);
                    }
                }
            }
        }
        // Much damage is found; some (a changed letter of a text, a bit of a picture) is no damage the
        // reader can see, and a drawing cut short awaits the rest.
        EXPECT_GT(faulty, 500) << (convert ? "converted" : "drawn");
        EXPECT_GT(done, 0) << (convert ? "converted" : "drawn");
    }
}

TEST(SlideRecords, WhatAReaderTakesInAllIsWhatTheBoundsLetThrough) {
    // Today's bounds, by hand: 20,000 objects of 204 bytes of fields at most (a text's head 8, box
    // 32, sizes and colour 24, name 4 + 128, lengths 8), 128 MiB of rich text, and the bits of 500
    // million pixels in rows of at most 4,096 an object (81,920,000 rows): rows padded to words keep
    // at most (500,000,000 + 31 x 81,920,000) / 32 = 94,985,000 words; with 100 slides' begin (32
    // bytes: two numbers, a size) and end (36: seven), the hello (64), the price (88: ten numbers of 8 bytes)
    // and a refusal (12): 518,244,692 bytes.
    EXPECT_EQ(R::MostStreamBytes(HxSlideImportBounds(), 100),
              20000LL * 204 + (128LL << 20) + 4LL * 94985000 + 100 * (32 + 36) + 64 + 88 + 12);
    EXPECT_EQ(R::Hello().size(), 64);
    EXPECT_EQ(R::Price(HxSlideImportCost()).size(), 88);
    EXPECT_EQ(R::SlideBegin(1, 1).size() + R::SlideEnd(Counts(1)).size(), 32 + 36);

    // Small bounds: three objects, 405,504 pixels, 60 bytes of rich text, two slides.  The most they
    // let through: the price, three texts of the longest name, 10 units of rich text each and
    // pictures of 33 x 4,096 pixels (two words a row: the most padding 405,504 pixels in 12,288 rows
    // can have), then a refusal.  That stream is taken whole; a byte more is refused before anything
    // of it is read.
    HxSlideImportBounds bounds;
    bounds.items = 3;
    bounds.pixels = 3 * 33 * 4096;
    bounds.textBytes = 3 * 2 * 10;
    const HxSlideBox box = Box(0, 0, 24.75, 3072); // 33 x 4,096 pixels
    HxDrawnText text = TextOf(box, CString(u'名', 64));
    text.rtf = u"{\\rtf1 xy}";
    ASSERT_EQ(text.rtf.GetLength(), 10);
    ASSERT_EQ(text.picture.size(), 8u * 4096);
    HxSlideImportCost price;
    price.pages = 2;
    QByteArray most =
        Stream({R::Price(price), R::SlideBegin(1, 2), R::Text(box, text), R::Text(box, text),
                R::SlideEnd(Counts(1)), R::SlideBegin(2, 2), R::Text(box, text), R::SlideEnd(Counts(2))});
    const QByteArray refusal = R::Refused(kPptxBadXml);
    ASSERT_EQ(most.size() + refusal.size(), R::MostStreamBytes(bounds, 2));
    {
        HxSlideRecordReader reader(1, 2, true, bounds);
        reader.RequirePrice(0);
        EXPECT_EQ(reader.MostBytes(), R::MostStreamBytes(bounds, 2));
        EXPECT_EQ(reader.Feed(most), HxSlideRecordReader::kReading);
        EXPECT_EQ(reader.Feed(refusal), HxSlideRecordReader::kRefused);
        EXPECT_EQ(reader.Slides().size(), 2u);
    }
    {
        HxSlideRecordReader reader(1, 2, true, bounds);
        reader.RequirePrice(0);
        EXPECT_EQ(reader.Feed(most), HxSlideRecordReader::kReading);
        EXPECT_EQ(reader.Feed(refusal + '\0'), HxSlideRecordReader::kFaulty);
        EXPECT_STREQ(reader.Fault(), "more bytes than the import's bounds let through");
    }
}

TEST(SlideRecords, MemoryRunningOutWhileReadingGivesBackWhatWasRead) {
    // In a child whose address space has room for 40 MB more: slides of texts of 4,096 pixels a side
    // with 4 MiB of rich text each (some 10 MB a text) are fed until memory runs out.  The reader
    // then says so, keeps nothing, and takes nothing more; the memory it held is free again.
    const HxSlideBox box = Box(0, 0, 3072, 3072);
    HxDrawnText text = TextOf(box);
    text.rtf = CString(std::u16string(size_t(4) << 20, u'x'));
    const QByteArray record = R::Text(box, text);
    const int result = HxRunInChild([&] {
        HxCapChildMemory(40LL << 20);
        HxSlideRecordReader reader(1, 1, true, HxSlideImportBounds());
        if (reader.Feed(Stream({R::SlideBegin(1, 1)})) != HxSlideRecordReader::kReading)
            return 1;
        HxSlideRecordReader::State state = HxSlideRecordReader::kReading;
        for (int i = 0; i < 20 && state == HxSlideRecordReader::kReading; ++i)
            for (qsizetype at = 0; at < record.size() && state == HxSlideRecordReader::kReading; at += 65536)
                state = reader.Feed(record.constData() + at, std::min<qsizetype>(65536, record.size() - at));
        if (state != HxSlideRecordReader::kNoMemory)
            return 2;
        if (!reader.Slides().empty() || reader.Feed(R::SlideEnd(Counts(1))) != HxSlideRecordReader::kNoMemory)
            return 3;
        std::vector<char> again(size_t(30) << 20, 'x'); // what the reader held is free
        return again.back() == 'x' ? 0 : 4;
    });
    EXPECT_EQ(result, 0) << "1: not reading, 2: memory did not run out or was not said, 3: kept or took "
                            "more, 4 or -1: its memory not given back, "
                         << kChildThrew << ": memory running out left the reader";
}
