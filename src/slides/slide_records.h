// What the drawing of slides hands back to the window that builds the pages, record by record: per
// slide the editable texts with their pictures and rich text, the tables' cells and cell texts, the
// pictures drawn and the counts of what was left out; and the checked reading of those records,
// which takes nothing it has not checked against the import's bounds.
#pragma once

#include "platform/afx.h"
#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"

#include <QByteArray>

#include <functional>
#include <vector>

// An editable text as the rich-text editor's paste leaves it: its name, its RTF (packed two bytes a
// unit), its one-bit picture (rows of ((w + 31) / 32) x 4 bytes, bottom-up) and the formatting
// rectangle it was made of; and the item's colour when the text's is not near black.
struct HxDrawnText {
    CString name;
    CString rtf;
    std::vector<BYTE> picture;
    int pictureWidth = 0, pictureHeight = 0;
    int editorWidth = 0, editorHeight = 0;
    bool colored = false;
    QRgb color = 0;
};

// A shape of a slide as the page takes it.
struct HxDrawnShape {
    enum Kind : BYTE { kText = 1, kTable = 2, kPicture = 3 };
    Kind kind = kText;
    HxSlideBox box; // on the slide, in points
    // kText: its editable text.
    HxDrawnText text;
    // kTable: its grid (each cell's box, rows x columns row by row, as HxSlideShape keeps them) and
    // the texts of the cells that carry one, by index (row x columns + column, from 0).
    int rows = 0, columns = 0;
    std::vector<HxSlideBox> cellBoxes;
    std::vector<std::pair<int, HxDrawnText>> cellTexts;
    // kPicture: the dark part of our drawing of the shape, one bit a pixel, and where its lower left
    // corner lay in the drawing, in pixels from the box's left and from its bottom.
    int width = 0, height = 0, left = 0, bottom = 0;
    std::vector<BYTE> bits;

    // The table's shape as HxPlanSlideTable takes it (the cells' boxes, without their texts).
    HxSlideShape TableShape() const;
};

// A slide drawn: its shapes, and what the messages after the import count.
struct HxDrawnSlide {
    int number = 0;   // from 1
    HxSlideSize size; // the presentation's slide size: its shapes are placed around its centre
    std::vector<HxDrawnShape> shapes;
    int shapesLeftOut = 0; // shapes holding text left out (groups, when converting)
    int shortened = 0;     // texts cut to the editor's length
    int reduced = 0;       // pictures drawn from less than their texts would show, in time
    int reducedLate = 0;   // and after the import's time
    int textsLeftOut = 0;  // texts whose pictures held nothing dark
    int textsCut = 0;      // texts whose lines run past their pictures (past the slide's edge, or a bound)
};

// The records.  Each is a type (4 bytes), the length of what follows (4 bytes) and that many bytes;
// numbers little-endian, doubles as IEEE 754, strings as their UTF-16 units.
namespace HxSlideRecords {

enum Type : quint32 {
    kHello = 0x48534c44,      // the first record: kMagic and the version
    kSlideBegin = 0x42454753, // a slide's number, the number of slides of the import, the slide size
    kText = 0x54584554,       // a text frame: box, text
    kTableBegin = 0x42425354, // a table: box, rows, columns, each cell's box
    kCellText = 0x54454c43,   // the text of the cell at an index of the table begun
    kTableEnd = 0x45425354,   // the table begun is whole
    kPicture = 0x54434950,    // a picture: box, width, height, left, bottom, bits
    kSlideEnd = 0x444e4553,   // the slide's number and its counts
    kAllDrawn = 0x454e4f44,   // every slide has been drawn
    kMemoryOut = 0x4d454d4f,  // the drawing ran out of memory and stopped
    kUnreadable = 0x53464552, // the presentation could not be read: an HxPptxError
    kPrice = 0x45434950,      // what the import would add and the work it would do (HxSlideImportCost)
    kCount = 0x544e4f43,      // the number of slides the presentation lists
};
constexpr char kMagic[] = "HALVIX-SLIDES";
constexpr quint32 kVersion = 3;
// The largest number a price may say: far past what any presentation the reader takes costs, and
// small enough that the refusal's arithmetic (percentages, sums with the lesson's length) stays
// within 64 bits.
constexpr qint64 kLargestPrice = 10000000000000000LL;
// The largest record a reader takes: a text's rich text and picture with room to spare (the editor's
// 32,767 characters written with every control word the writer has, and 4,096 x 4,096 pixels).
constexpr quint32 kMaxRecordBytes = 24u << 20;
// The most bytes the drawing of `slides` slides can rightly send within `bounds`, and so the most a
// reader takes in all: the hello, the price, each slide's begin and end, the closing record (or the
// count), each object's fields and name at their longest, the rich text (`textBytes`), and the
// pictures' bits, rows padded
// to whole 32-bit words as the one-bit pictures keep them.  A row's padding is bounded by the rows
// the pictures may have (4,096 an object, and never more than their pixels): most of the bound with
// today's bounds (pictures a pixel wide keep 32 bits a pixel), where pictures wider than a word keep
// little more than `pixels` bits.
qint64 MostStreamBytes(const HxSlideImportBounds& bounds, int slides);

QByteArray Hello();
QByteArray SlideBegin(int number, int count, const HxSlideSize& size = HxSlideSize());
QByteArray Text(const HxSlideBox& box, const HxDrawnText& text);
QByteArray TableBegin(const HxSlideBox& box, int rows, int columns, const std::vector<HxSlideBox>& cellBoxes);
QByteArray CellText(int index, const HxDrawnText& text);
QByteArray TableEnd();
QByteArray Picture(const HxSlideBox& box, int width, int height, int left, int bottom,
                   const std::vector<BYTE>& bits);
QByteArray SlideEnd(const HxDrawnSlide& counts);
QByteArray Done();
QByteArray OutOfMemory();
QByteArray Refused(HxPptxError error);
QByteArray Price(const HxSlideImportCost& cost);
QByteArray Count(int slides);

} // namespace HxSlideRecords

// Reads the records of the drawing of the slides from..to (as the import cut them), with `convert`
// as the dialog's check box, fed in pieces as they come.  Every record is checked before anything of
// it is kept: its type in its place (a hello first, the slides in their order, each shape within its
// slide, the cells of a table within it), its length (at most kMaxRecordBytes, exactly what its
// fields take), every size, count and place (pictures 1 to 4,096 pixels a side with exactly the bytes
// their rows take, within their box; an editable text's picture of its box's size, a cell's as wide
// as its cell and no taller; tables of 1 to 19 rows and columns, only when converting, texts
// only in the cells that carry one, each once; places finite and within the reader's limits), and
// what the slides make in all against `bounds` (objects, pixels, rich text), and the bytes it takes
// in all against MostStreamBytes.  The first fault stops the reading for good (`Faulty`); what was
// read whole before it stays in `Slides`.
class HxSlideRecordReader {
public:
    enum State {
        kReading,     // more is awaited
        kDone,        // every slide came whole (a count: the count came)
        kOutOfMemory, // the drawing said it ran out of memory
        kRefused,     // the drawing said the presentation could not be read (`Refusal`)
        kFaulty,      // a record was malformed or past a bound (`Fault` says which, for the log)
        kTooCostly,   // the price passes one of the bounds (`PriceRefusal`)
        kNoMemory,    // memory ran out here while the records were read: nothing is kept
    };
    HxSlideRecordReader(int from, int to, bool convert, const HxSlideImportBounds& bounds);
    // Reads the records of a count of a presentation's slides: the hello, then the count (1 to the
    // most slides a presentation may list), the presentation's refusal or memory running out.
    static HxSlideRecordReader ForCount();

    // The drawing prices the import first: after the hello and before the first slide comes one
    // price, checked as untrusted (every number from 0 to kLargestPrice, the work of its causes adding
    // up to its work, a page for each slide of the range), and refused as HxSlideRefusalOf refuses it
    // with the reader's bounds for a lesson whose file is `stored` bytes long (kTooCostly).
    void RequirePrice(qint64 stored);
    // Called with each slide's number as it begins.
    void OnSlideBegun(std::function<void(int number)> begun) { m_begun = std::move(begun); }

    // Takes the next bytes; the state after them.  Once the state is not kReading, nothing more is
    // taken.  It throws nothing: when memory runs out, what was read is given back (kNoMemory).
    State Feed(const char* data, qsizetype size);
    State Feed(const QByteArray& bytes) { return Feed(bytes.constData(), bytes.size()); }
    State GetState() const { return m_state; }
    // The slides that came whole, in their order.
    std::vector<HxDrawnSlide>& Slides() { return m_slides; }
    // The number of the slide being drawn now (0 before the first).
    int Current() const { return m_current; }
    HxPptxError Refusal() const { return m_refusal; }
    const char* Fault() const { return m_fault; }
    // The price read (with RequirePrice), and the refusal of a price past a bound.
    const HxSlideImportCost& Price() const { return m_price; }
    const CString& PriceRefusal() const { return m_priceRefusal; }
    // The slides the presentation lists (a count read whole), or 0.
    int SlideCount() const { return m_slideCount; }
    // The most bytes it takes (MostStreamBytes of its bounds and slides).
    qint64 MostBytes() const { return m_mostBytes; }
    // Memory ran out: what was read is given back and nothing more is taken (kNoMemory).
    void GiveBack();

private:
    State Take(const char* data, qsizetype size);
    bool Record(quint32 type, const char* data, quint32 size);
    bool Fail(const char* why);
    bool ReadPrice(const char* data, quint32 size);

    int m_from, m_to;
    bool m_convert;
    HxSlideImportBounds m_bounds;
    State m_state = kReading;
    QByteArray m_pending;
    qint64 m_taken = 0;
    qint64 m_mostBytes;
    bool m_hello = false;
    int m_current = 0; // the slide begun and not yet ended, or 0
    int m_next;        // the number the next slide must have
    bool m_inTable = false;
    std::vector<bool> m_cellCarries; // the table's cells that carry a text (and have not yet had one)
    HxDrawnSlide m_slide;
    std::vector<HxDrawnSlide> m_slides;
    qint64 m_items = 0, m_pixels = 0, m_textBytes = 0;
    HxPptxError m_refusal = kPptxOk;
    const char* m_fault = "";
    bool m_counting = false;
    int m_slideCount = 0;
    bool m_priceRequired = false, m_priced = false;
    qint64 m_stored = 0;
    HxSlideImportCost m_price;
    CString m_priceRefusal;
    std::function<void(int)> m_begun;
};
