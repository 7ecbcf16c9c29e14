// Records of the drawing of slides that would have the window's reader touch what they do not hold:
// a field whose count claims more units or bytes than are left of its record (a text's name, rich
// text or picture, a cell text's, a picture's bits), and a picture record inside a table, whose
// shape would take the place of the table the cells' texts go to.  Each is refused before anything
// is read past the record.  A unit test program of its own, so that the sanitizer run reads them too.
#include "slide_record_samples.h"
#include "slides/slide_place.h"
#include "slides/slide_records.h"

#include <gtest/gtest.h>

#include <QtEndian>

using namespace HxSlideRecords;
using namespace SlideRecordSamples;

namespace {

// Where the fields of an editable text begin in its record: after the record's head (8 bytes) and
// box (four doubles), or after a cell text's head and index, come the picture's and the editor's
// sides, whether it is coloured and its colour (six numbers of 4 bytes); then the name, the rich
// text and the picture, each its count (4 bytes) and its units (2 bytes each) or bytes.
constexpr qsizetype kTextName = 8 + 4 * 8 + 6 * 4;
constexpr qsizetype kCellTextName = 8 + 4 + 6 * 4;
constexpr qsizetype kNameUnits = 3, kRtfUnits = 9;
constexpr qsizetype kRtfAfterName = 4 + 2 * kNameUnits;
constexpr qsizetype kPictureAfterName = kRtfAfterName + 4 + 2 * kRtfUnits;
// A picture record's bits: after its head, box and four numbers (its sides and its corner).
constexpr qsizetype kPictureBits = 8 + 4 * 8 + 4 * 4;

// `record` cut after its first `keep` bytes, then the count `claim` of the field that begins there
// and `held` bytes of it, with the record's length made what it now holds.
QByteArray Claiming(QByteArray record, qsizetype keep, quint32 claim, qsizetype held = 0) {
    record.truncate(keep);
    char count[4];
    qToLittleEndian(claim, count);
    record.append(count, 4);
    record.append(QByteArray(held, 'x'));
    qToLittleEndian(quint32(record.size() - 8), record.data() + 4);
    return record;
}

} // namespace

TEST(SlideRecordBounds, AFieldClaimingMoreThanItsRecordHoldsIsRefusedUnread) {
    // A box of 3,072 points a side: a picture of 4,096 pixels a side, the largest, of 2 MiB.
    const HxSlideBox large = Box(0, 0, 3072, 3072);
    const HxDrawnText text = TextOf(large);
    const quint32 pictureBytes = quint32(MaskBytes(4096, 4096));
    ASSERT_EQ(text.picture.size(), size_t(pictureBytes));
    // The most units a rich text may have: each claim below passes every other check of its field.
    const quint32 mostRtfUnits = kMaxRecordBytes / 2;
    const QByteArray textRecord = Text(large, text);
    const QByteArray cellRecord = CellText(0, text);
    const QByteArray pictureRecord = Picture(large, 4096, 4096, 0, 0, text.picture);
    const QByteArray table = TableBegin(large, 1, 1, {large});

    // Whole, the records are read: the fields begin where the cases below cut them.
    for (const QByteArray& shape : {textRecord, table + cellRecord + TableEnd(), pictureRecord}) {
        HxSlideRecordReader reader(1, 1, true, HxSlideImportBounds());
        ASSERT_EQ(reader.Feed(Stream({SlideBegin(1, 1), shape, SlideEnd(Counts(1)), Done()})),
                  HxSlideRecordReader::kDone)
            << reader.Fault();
        ASSERT_EQ(reader.Slides().size(), 1u);
        ASSERT_EQ(reader.Slides()[0].shapes.size(), 1u);
        const HxDrawnShape& read = reader.Slides()[0].shapes[0];
        if (read.kind == HxDrawnShape::kPicture) {
            EXPECT_EQ(read.bits.size(), size_t(pictureBytes));
        } else {
            const HxDrawnText& back = read.kind == HxDrawnShape::kText ? read.text : read.cellTexts.at(0).second;
            EXPECT_EQ(back.name, text.name);
            EXPECT_EQ(back.rtf, text.rtf);
            EXPECT_EQ(back.picture.size(), size_t(pictureBytes));
        }
    }

    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"a name of 64 units holding 5", Claiming(textRecord, kTextName, 64, 10)},
        {"a rich text of the most units holding none", Claiming(textRecord, kTextName + kRtfAfterName, mostRtfUnits)},
        {"a rich text a unit longer than what follows",
         Claiming(textRecord, kTextName + kRtfAfterName, kRtfUnits + 1, 2 * kRtfUnits)},
        {"a text's picture of 2 MiB holding 100 bytes",
         Claiming(textRecord, kTextName + kPictureAfterName, pictureBytes, 100)},
        {"a text's picture a byte short", Claiming(textRecord, kTextName + kPictureAfterName, pictureBytes,
                                                   qsizetype(pictureBytes) - 1)},
        {"a cell text's rich text of the most units",
         table + Claiming(cellRecord, kCellTextName + kRtfAfterName, mostRtfUnits)},
        {"a cell text's picture of 2 MiB holding none",
         table + Claiming(cellRecord, kCellTextName + kPictureAfterName, pictureBytes)},
        {"a picture's bits of 2 MiB holding none", Claiming(pictureRecord, kPictureBits, pictureBytes)},
        {"a picture's bits a byte short",
         Claiming(pictureRecord, kPictureBits, pictureBytes, qsizetype(pictureBytes) - 1)},
    };
    for (const auto& c : cases) {
        HxSlideRecordReader reader(1, 1, true, HxSlideImportBounds());
        EXPECT_EQ(reader.Feed(Stream({SlideBegin(1, 1), c.bytes})), HxSlideRecordReader::kFaulty) << c.what;
        EXPECT_STREQ(reader.Fault(), "a field claiming more than its record holds") << c.what;
        EXPECT_TRUE(reader.Slides().empty()) << c.what;
        EXPECT_EQ(reader.Current(), 1) << c.what;
    }
}

TEST(SlideRecordBounds, APictureInsideATableIsRefused) {
    const HxSlideBox box = Box(10, 20, 60, 30); // 80 x 40 pixels
    const std::vector<HxSlideBox> cells{Box(10, 20, 30, 30), Box(40, 20, 30, 30)};
    const std::vector<BYTE> bits(size_t(MaskBytes(8, 2)), 0x80);
    const QByteArray table = TableBegin(box, 1, 2, cells);
    const QByteArray picture = Picture(box, 8, 2, 0, 0, bits);

    // After the table's end the picture is a shape of its own.
    HxSlideRecordReader after(1, 1, true, HxSlideImportBounds());
    ASSERT_EQ(after.Feed(Stream({SlideBegin(1, 1), table, CellText(1, TextOf(cells[1])), TableEnd(), picture,
                                 SlideEnd(Counts(1)), Done()})),
              HxSlideRecordReader::kDone)
        << after.Fault();
    ASSERT_EQ(after.Slides().size(), 1u);
    const std::vector<HxDrawnShape>& shapes = after.Slides()[0].shapes;
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].kind, HxDrawnShape::kTable);
    ASSERT_EQ(shapes[0].cellTexts.size(), 1u);
    EXPECT_EQ(shapes[0].cellTexts[0].first, 1);
    EXPECT_EQ(shapes[1].kind, HxDrawnShape::kPicture);

    // Inside it, the picture is refused at once, whatever follows: the table's end and the slide's,
    // or a cell's text, which would go to the last shape begun (the picture, which has no cells).
    for (const auto& [what, bytes] : std::vector<std::pair<const char*, QByteArray>>{
             {"alone", Stream({SlideBegin(1, 1), table, picture})},
             {"then the table's end", Stream({SlideBegin(1, 1), table, picture, TableEnd(), SlideEnd(Counts(1)),
                                              Done()})},
             {"then a cell's text", Stream({SlideBegin(1, 1), table, picture, CellText(0, TextOf(cells[0])),
                                            TableEnd(), SlideEnd(Counts(1)), Done()})},
         }) {
        HxSlideRecordReader reader(1, 1, true, HxSlideImportBounds());
        EXPECT_EQ(reader.Feed(bytes), HxSlideRecordReader::kFaulty) << what;
        EXPECT_TRUE(reader.Slides().empty()) << what;
    }
}
