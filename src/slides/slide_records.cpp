// The records the drawing of slides hands back, written and read: the reader checks each field
// against what the drawing can rightly send before it keeps anything.
#include "slides/slide_records.h"

#include "measure/rich_text.h"
#include "model/page.h"
#include "slides/slide_place.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

// ---------------------------------------------------------------------------------------------
// Writing

class COut {
public:
    void U32(quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
    }
    void I32(int v) { U32(quint32(v)); }
    void I64(qint64 v) {
        char b[8];
        qToLittleEndian(v, b);
        m_bytes.append(b, 8);
    }
    void F64(double v) {
        quint64 bits = 0;
        std::memcpy(&bits, &v, 8);
        char b[8];
        qToLittleEndian(bits, b);
        m_bytes.append(b, 8);
    }
    void Box(const HxSlideBox& box) {
        F64(box.left);
        F64(box.top);
        F64(box.width);
        F64(box.height);
    }
    void Units(const CString& s) {
        const int n = s.GetLength();
        U32(quint32(n));
        const qsizetype at = m_bytes.size();
        m_bytes.resize(at + 2 * qsizetype(n));
        const char16_t* units = s.GetString();
        for (int i = 0; i < n; ++i)
            qToLittleEndian(quint16(units[i]), m_bytes.data() + at + 2 * i);
    }
    void Bits(const std::vector<BYTE>& bits) {
        U32(quint32(bits.size()));
        m_bytes.append(reinterpret_cast<const char*>(bits.data()), qsizetype(bits.size()));
    }
    void Text(const HxDrawnText& text) {
        I32(text.pictureWidth);
        I32(text.pictureHeight);
        I32(text.editorWidth);
        I32(text.editorHeight);
        U32(text.colored ? 1 : 0);
        U32(text.color & 0xFFFFFF);
        Units(text.name);
        Units(text.rtf);
        Bits(text.picture);
    }
    QByteArray Record(quint32 type) {
        QByteArray record;
        record.reserve(8 + m_bytes.size());
        char b[8];
        qToLittleEndian(type, b);
        qToLittleEndian(quint32(m_bytes.size()), b + 4);
        record.append(b, 8);
        record.append(m_bytes);
        return record;
    }

private:
    QByteArray m_bytes;
};

// ---------------------------------------------------------------------------------------------
// Reading

// The largest place or size a box may have, in points: far past what the slide source reads, and
// well within what the page's floats hold.
constexpr double kLargestPlace = 1.0e12;
// A place on the slide, or its size, within those limits.
bool Place(double v) {
    return std::isfinite(v) && std::fabs(v) <= kLargestPlace;
}
// The most a slide's counts may say: more than an import can make of anything.
constexpr int kLargestCount = 10000000;
// The longest name an item takes from the editor (it keeps five characters and an ellipsis).
constexpr quint32 kLongestName = 64;

class CIn {
public:
    CIn(const char* data, quint32 size) : m_p(data), m_left(size) {}
    bool Ok() const { return m_ok; }
    // Whether every byte was read.
    bool Whole() const { return m_ok && m_left == 0; }
    quint32 U32() {
        if (!Take(4))
            return 0;
        const quint32 v = qFromLittleEndian<quint32>(m_p - 4);
        return v;
    }
    int I32() { return int(U32()); }
    qint64 I64() {
        if (!Take(8))
            return 0;
        return qFromLittleEndian<qint64>(m_p - 8);
    }
    double F64() {
        if (!Take(8))
            return 0;
        const quint64 bits = qFromLittleEndian<quint64>(m_p - 8);
        double v = 0;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    bool Box(HxSlideBox& box) {
        box.left = F64();
        box.top = F64();
        box.width = F64();
        box.height = F64();
        return Check(Place(box.left) && Place(box.top) && Place(box.width) && box.width >= 0 &&
                     Place(box.height) && box.height >= 0);
    }
    // Whether a string's or bits' count claimed more than was left of the record.
    bool PastEnd() const { return m_pastEnd; }
    // A string of at most `most` units.
    bool Units(quint32 most, CString& s) {
        const quint32 n = U32();
        if (!Check(n <= most) || !Within(qint64(n) * 2))
            return false;
        std::u16string units(n, u'\0');
        for (quint32 i = 0; i < n; ++i)
            units[i] = char16_t(qFromLittleEndian<quint16>(m_p + 2 * i));
        Take(2 * n);
        s = CString(std::move(units));
        return true;
    }
    // Exactly `expected` bytes of bits.
    bool Bits(qint64 expected, std::vector<BYTE>& bits) {
        const quint32 n = U32();
        if (!Check(qint64(n) == expected) || !Within(n))
            return false;
        bits.assign(reinterpret_cast<const BYTE*>(m_p), reinterpret_cast<const BYTE*>(m_p) + n);
        Take(n);
        return true;
    }
    bool Check(bool ok) {
        m_ok = m_ok && ok;
        return m_ok;
    }

private:
    // Whether `bytes` more are left of the record: nothing is read past it.
    bool Within(qint64 bytes) {
        if (!m_ok || bytes <= qint64(m_left))
            return m_ok;
        m_pastEnd = true;
        return m_ok = false;
    }
    bool Take(quint32 n) {
        if (!m_ok || n > m_left)
            return m_ok = false;
        m_p += n;
        m_left -= n;
        return true;
    }
    const char* m_p;
    quint32 m_left;
    bool m_ok = true;
    bool m_pastEnd = false;
};

qint64 MaskBytes(int width, int height) {
    return qint64(width + 31) / 32 * 4 * height;
}

bool Side(int v) {
    return v >= 1 && v <= HxRtfLimits::kMaxPictureSide;
}

// An editable text made in a box: a picture of the box's size, as the editor's paste makes it (a
// cell's text, `shorter`, may begin below its cell's top: a picture as wide and no taller).
bool ReadText(CIn& in, const HxSlideBox& box, HxDrawnText& text, bool shorter = false) {
    text.pictureWidth = in.I32();
    text.pictureHeight = in.I32();
    text.editorWidth = in.I32();
    text.editorHeight = in.I32();
    const quint32 colored = in.U32();
    const quint32 color = in.U32();
    const int height = HxSlidePixelSide(box.height);
    if (!in.Check(text.pictureWidth == HxSlidePixelSide(box.width) &&
                  (shorter ? text.pictureHeight >= 1 && text.pictureHeight <= height
                           : text.pictureHeight == height) &&
                  Side(text.editorWidth) && Side(text.editorHeight) && colored <= 1 && color <= 0xFFFFFF))
        return false;
    text.colored = colored == 1;
    text.color = qRgb(int(color >> 16) & 0xFF, int(color >> 8) & 0xFF, int(color) & 0xFF);
    return in.Units(kLongestName, text.name) && in.Units(HxSlideRecords::kMaxRecordBytes / 2, text.rtf) &&
           in.Bits(MaskBytes(text.pictureWidth, text.pictureHeight), text.picture);
}

} // namespace

// ---------------------------------------------------------------------------------------------

qint64 HxSlideRecords::MostStreamBytes(const HxSlideImportBounds& bounds, int slides) {
    // Bounds past any import's (up to a terabyte of pixels or rich text) keep the sums within 64 bits.
    const qint64 items = std::clamp<qint64>(bounds.items, 0, qint64(1) << 31);
    const qint64 pixels = std::clamp<qint64>(bounds.pixels, 0, qint64(1) << 40);
    const qint64 textBytes = std::clamp<qint64>(bounds.textBytes, 0, qint64(1) << 40);
    const qint64 side = HxRtfLimits::kMaxPictureSide;
    // A picture's row of w pixels keeps ceil(w / 32) words, so k words take at least 32 (k - 1) + 1
    // pixels of their row: rows R holding P pixels keep at most (P + 31 R) / 32 words, and at most
    // side / 32 words a row.  A row holds a pixel at least and an object at most `side` rows.
    const qint64 rows = std::min(pixels, items * side);
    const qint64 usable = std::min(pixels, items * side * side);
    const qint64 words = std::min((usable + 31 * rows) / 32, rows * (side / 32));
    // The most bytes of fields an object's records take besides its rich text and bits: a text's
    // record (its head, box, sizes, colour, name at its longest and the lengths of its rich text and
    // bits).  A cell's text takes fewer, a picture 60 in all, and a table's grid (its begin and end,
    // at most 56 bytes and 32 a cell) well under 10 for each of the objects it counts.
    HxDrawnText longest;
    longest.name = CString(std::u16string(kLongestName, u'x'));
    const qint64 fields = Text(HxSlideBox(), longest).size();
    // The records other than objects: the hello, the price, each slide's begin and end, and the
    // closing record, at most one number (a refusal, or a count).
    const qint64 around =
        Hello().size() + Price(HxSlideImportCost()).size() +
        qint64(std::max(slides, 0)) * (SlideBegin(0, 0).size() + SlideEnd(HxDrawnSlide()).size()) + 8 + 4;
    return around + items * fields + textBytes + 4 * words;
}

HxSlideShape HxDrawnShape::TableShape() const {
    HxSlideShape table;
    table.kind = HxSlideShape::kTable;
    table.box = box;
    table.rows = rows;
    table.columns = columns;
    table.cells.resize(cellBoxes.size());
    for (size_t i = 0; i < cellBoxes.size(); ++i)
        table.cells[i].box = cellBoxes[i];
    return table;
}

namespace HxSlideRecords {

QByteArray Hello() {
    COut out;
    QByteArray magic(kMagic);
    for (char c : magic)
        out.U32(quint32(uchar(c)));
    out.U32(kVersion);
    return out.Record(kHello);
}

QByteArray SlideBegin(int number, int count, const HxSlideSize& size) {
    COut out;
    out.I32(number);
    out.I32(count);
    out.F64(size.width);
    out.F64(size.height);
    return out.Record(kSlideBegin);
}

QByteArray Text(const HxSlideBox& box, const HxDrawnText& text) {
    COut out;
    out.Box(box);
    out.Text(text);
    return out.Record(kText);
}

QByteArray TableBegin(const HxSlideBox& box, int rows, int columns,
                      const std::vector<HxSlideBox>& cellBoxes) {
    COut out;
    out.Box(box);
    out.I32(rows);
    out.I32(columns);
    for (const HxSlideBox& cell : cellBoxes)
        out.Box(cell);
    return out.Record(kTableBegin);
}

QByteArray CellText(int index, const HxDrawnText& text) {
    COut out;
    out.I32(index);
    out.Text(text);
    return out.Record(kCellText);
}

QByteArray TableEnd() {
    return COut().Record(kTableEnd);
}

QByteArray Picture(const HxSlideBox& box, int width, int height, int left, int bottom,
                   const std::vector<BYTE>& bits) {
    COut out;
    out.Box(box);
    out.I32(width);
    out.I32(height);
    out.I32(left);
    out.I32(bottom);
    out.Bits(bits);
    return out.Record(kPicture);
}

QByteArray SlideEnd(const HxDrawnSlide& counts) {
    COut out;
    out.I32(counts.number);
    out.I32(counts.shapesLeftOut);
    out.I32(counts.shortened);
    out.I32(counts.reduced);
    out.I32(counts.reducedLate);
    out.I32(counts.textsLeftOut);
    out.I32(counts.textsCut);
    return out.Record(kSlideEnd);
}

QByteArray Done() {
    return COut().Record(kAllDrawn);
}

QByteArray OutOfMemory() {
    return COut().Record(kMemoryOut);
}

QByteArray Refused(HxPptxError error) {
    COut out;
    out.U32(quint32(error));
    return out.Record(kUnreadable);
}

QByteArray Price(const HxSlideImportCost& cost) {
    COut out;
    for (qint64 v : {cost.items, cost.pixels, cost.textBytes, cost.storedBytes, cost.work})
        out.I64(v);
    for (qint64 v : cost.workOf)
        out.I64(v);
    out.I64(cost.pages);
    return out.Record(kPrice);
}

QByteArray Count(int slides) {
    COut out;
    out.I32(slides);
    return out.Record(kCount);
}

} // namespace HxSlideRecords

// ---------------------------------------------------------------------------------------------

HxSlideRecordReader::HxSlideRecordReader(int from, int to, bool convert, const HxSlideImportBounds& bounds)
    : m_from(from), m_to(to), m_convert(convert), m_bounds(bounds),
      m_mostBytes(HxSlideRecords::MostStreamBytes(bounds, to - from + 1)), m_next(from) {}

HxSlideRecordReader HxSlideRecordReader::ForCount() {
    HxSlideRecordReader reader(1, 0, false, HxSlideImportBounds());
    reader.m_counting = true;
    return reader;
}

void HxSlideRecordReader::RequirePrice(qint64 stored) {
    m_priceRequired = true;
    m_stored = stored;
}

bool HxSlideRecordReader::ReadPrice(const char* data, quint32 size) {
    if (!m_priceRequired || m_priced || m_current != 0 || m_next != m_from)
        return Fail("a price out of its place");
    CIn in(data, size);
    HxSlideImportCost cost;
    for (qint64* field : {&cost.items, &cost.pixels, &cost.textBytes, &cost.storedBytes, &cost.work})
        *field = in.I64();
    for (qint64& part : cost.workOf)
        part = in.I64();
    cost.pages = in.I64();
    if (!in.Whole())
        return Fail("a malformed price");
    qint64 parts = 0;
    for (qint64 v : {cost.items, cost.pixels, cost.textBytes, cost.storedBytes, cost.work, cost.pages})
        if (v < 0 || v > HxSlideRecords::kLargestPrice)
            return Fail("a price out of range");
    for (qint64 part : cost.workOf) {
        if (part < 0 || part > HxSlideRecords::kLargestPrice)
            return Fail("a price out of range");
        parts += part;
    }
    if (parts != cost.work)
        return Fail("a price whose causes do not add up to its work");
    if (cost.pages != qint64(m_to) - m_from + 1)
        return Fail("a price of another range");
    m_price = cost;
    m_priced = true;
    m_priceRefusal = HxSlideRefusalOf(cost, m_stored, m_bounds);
    if (m_priceRefusal.IsEmpty())
        return true;
    m_state = kTooCostly;
    return false;
}

bool HxSlideRecordReader::Fail(const char* why) {
    m_state = kFaulty;
    m_fault = why;
    m_pending.clear();
    return false;
}

HxSlideRecordReader::State HxSlideRecordReader::Feed(const char* data, qsizetype size) {
    if (m_state != kReading || size <= 0)
        return m_state;
    m_taken += size;
    if (m_taken > m_mostBytes) {
        Fail("more bytes than the import's bounds let through");
        return m_state;
    }
    try {
        return Take(data, size);
    } catch (const std::bad_alloc&) {
        GiveBack();
        return m_state;
    }
}

void HxSlideRecordReader::GiveBack() {
    // What was read goes, and with it the memory it took: the window goes on without it.
    m_state = kNoMemory;
    m_pending = QByteArray();
    m_slide = HxDrawnSlide();
    std::vector<HxDrawnSlide>().swap(m_slides);
    std::vector<bool>().swap(m_cellCarries);
}

HxSlideRecordReader::State HxSlideRecordReader::Take(const char* data, qsizetype size) {
    m_pending.append(data, size);
    qsizetype at = 0;
    while (m_state == kReading && m_pending.size() - at >= 8) {
        const char* head = m_pending.constData() + at;
        const quint32 type = qFromLittleEndian<quint32>(head);
        const quint32 length = qFromLittleEndian<quint32>(head + 4);
        // The length is checked before the record's bytes are waited for: a record claiming more
        // than any record takes is refused at once, not buffered.
        if (length > HxSlideRecords::kMaxRecordBytes) {
            Fail("a record longer than any record");
            return m_state;
        }
        if (m_pending.size() - at - 8 < qsizetype(length))
            break;
        if (!Record(type, head + 8, length))
            return m_state;
        at += 8 + qsizetype(length);
    }
    if (m_state == kReading)
        m_pending.remove(0, at);
    else
        m_pending.clear();
    return m_state;
}

bool HxSlideRecordReader::Record(quint32 type, const char* data, quint32 size) {
    using namespace HxSlideRecords;
    CIn in(data, size);
    if (!m_hello) {
        if (type != kHello)
            return Fail("no hello first");
        QByteArray magic(kMagic);
        bool same = true;
        for (char c : magic)
            same = same && in.U32() == quint32(uchar(c));
        if (!same || in.U32() != kVersion || !in.Whole())
            return Fail("a hello of another kind or version");
        m_hello = true;
        return true;
    }
    if (m_counting && type != kMemoryOut && type != kUnreadable && type != kCount)
        return Fail("a count's record of another kind");
    switch (type) {
    case kCount: {
        const int count = in.I32();
        if (!m_counting || !in.Whole() || count < 1 || count > HxPptxLimits::kMaxEntries)
            return Fail("a malformed count");
        m_slideCount = count;
        m_state = kDone;
        return false;
    }
    case kPrice:
        return ReadPrice(data, size);
    case kMemoryOut:
        if (!in.Whole())
            return Fail("a malformed memory record");
        m_state = kOutOfMemory;
        return false;
    case kUnreadable: {
        const quint32 error = in.U32();
        if (!in.Whole() || error < quint32(kPptxCannotOpen) || error > quint32(kPptxFewerSlides))
            return Fail("a malformed refusal");
        m_refusal = HxPptxError(error);
        m_state = kRefused;
        return false;
    }
    case kSlideBegin: {
        const int number = in.I32();
        const int count = in.I32();
        HxSlideSize size;
        size.width = in.F64();
        size.height = in.F64();
        if (!in.Whole() || m_current != 0 || number != m_next || number > m_to || count != m_to - m_from + 1)
            return Fail("a slide out of its order");
        if (!Place(size.width) || !Place(size.height))
            return Fail("a slide size out of range");
        if (m_priceRequired && !m_priced)
            return Fail("a slide before the price");
        m_current = number;
        m_slide = HxDrawnSlide();
        m_slide.number = number;
        m_slide.size = size;
        if (m_begun)
            m_begun(number);
        return true;
    }
    case kSlideEnd: {
        HxDrawnSlide counts;
        counts.number = in.I32();
        int* fields[] = {&counts.shapesLeftOut, &counts.shortened,    &counts.reduced,
                         &counts.reducedLate,   &counts.textsLeftOut, &counts.textsCut};
        for (int* field : fields)
            *field = in.I32();
        if (!in.Whole() || m_current == 0 || m_inTable || counts.number != m_current)
            return Fail("a slide's end out of its order");
        for (int* field : fields)
            if (*field < 0 || *field > kLargestCount)
                return Fail("a count out of range");
        m_slide.shapesLeftOut = counts.shapesLeftOut;
        m_slide.shortened = counts.shortened;
        m_slide.reduced = counts.reduced;
        m_slide.reducedLate = counts.reducedLate;
        m_slide.textsLeftOut = counts.textsLeftOut;
        m_slide.textsCut = counts.textsCut;
        m_slides.push_back(std::move(m_slide));
        m_slide = HxDrawnSlide();
        m_current = 0;
        ++m_next;
        return true;
    }
    case kAllDrawn:
        if (!in.Whole() || m_current != 0 || m_next != m_to + 1 || (m_priceRequired && !m_priced))
            return Fail("done before every slide");
        m_state = kDone;
        return false;
    default:
        break;
    }
    // The rest are shapes of the slide begun.
    if (m_current == 0)
        return Fail("a shape outside a slide");
    // A record whose text or bits claim more than the record holds is refused at that count, before
    // anything past the record is read.
    auto malformed = [&in, this](const char* why) {
        return Fail(in.PastEnd() ? "a field claiming more than its record holds" : why);
    };
    switch (type) {
    case kText: {
        HxDrawnShape shape;
        shape.kind = HxDrawnShape::kText;
        if (!m_convert || m_inTable)
            return Fail("an editable text while drawing or inside a table");
        if (!in.Box(shape.box) || !ReadText(in, shape.box, shape.text) || !in.Whole())
            return malformed("a malformed text");
        m_items += 1;
        m_pixels += qint64(shape.text.pictureWidth) * shape.text.pictureHeight;
        m_textBytes += 2LL * shape.text.rtf.GetLength();
        if (m_items > m_bounds.items || m_pixels > m_bounds.pixels || m_textBytes > m_bounds.textBytes)
            return Fail("texts past the import's bounds");
        m_slide.shapes.push_back(std::move(shape));
        return true;
    }
    case kTableBegin: {
        if (!m_convert || m_inTable)
            return Fail("a table while drawing or inside a table");
        HxDrawnShape shape;
        shape.kind = HxDrawnShape::kTable;
        in.Box(shape.box);
        shape.rows = in.I32();
        shape.columns = in.I32();
        if (!in.Ok() || shape.rows < 1 || shape.columns < 1 || shape.rows >= kSlideTableAsPicture ||
            shape.columns >= kSlideTableAsPicture)
            return Fail("a malformed table");
        shape.cellBoxes.resize(size_t(shape.rows) * size_t(shape.columns));
        for (HxSlideBox& cell : shape.cellBoxes)
            in.Box(cell);
        if (!in.Whole())
            return Fail("a malformed table");
        m_items += CGPage::TableCellCount(shape.rows, shape.columns);
        if (m_items > m_bounds.items)
            return Fail("tables past the import's bounds");
        m_cellCarries.assign(shape.cellBoxes.size(), false);
        for (const HxTableCellStep& step : HxPlanSlideTable(shape.TableShape()).steps)
            if (step.Text())
                m_cellCarries[size_t((step.row - 1) * shape.columns + step.column - 1)] = true;
        m_slide.shapes.push_back(std::move(shape));
        m_inTable = true;
        return true;
    }
    case kCellText: {
        if (!m_inTable)
            return Fail("a cell's text outside a table");
        HxDrawnShape& table = m_slide.shapes.back();
        const int index = in.I32();
        if (!in.Ok() || index < 0 || size_t(index) >= m_cellCarries.size() || !m_cellCarries[size_t(index)])
            return Fail("a text of a cell that carries none, or twice");
        m_cellCarries[size_t(index)] = false; // once
        HxDrawnText text;
        if (!ReadText(in, table.cellBoxes[size_t(index)], text, true) || !in.Whole())
            return malformed("a malformed cell text");
        m_items += 1;
        m_pixels += qint64(text.pictureWidth) * text.pictureHeight;
        m_textBytes += 2LL * text.rtf.GetLength();
        if (m_items > m_bounds.items || m_pixels > m_bounds.pixels || m_textBytes > m_bounds.textBytes)
            return Fail("cell texts past the import's bounds");
        table.cellTexts.emplace_back(index, std::move(text));
        return true;
    }
    case kTableEnd:
        if (!m_inTable || !in.Whole())
            return Fail("a table's end outside a table");
        m_inTable = false;
        return true;
    case kPicture: {
        if (m_inTable)
            return Fail("a picture inside a table");
        HxDrawnShape shape;
        shape.kind = HxDrawnShape::kPicture;
        in.Box(shape.box);
        shape.width = in.I32();
        shape.height = in.I32();
        shape.left = in.I32();
        shape.bottom = in.I32();
        if (!in.Ok())
            return Fail("a malformed picture");
        // The drawing is as large as the box; the dark part, cropped at whole bytes, lies in it.
        const int boxWidth = HxSlidePixelSide(shape.box.width),
                  boxHeight = HxSlidePixelSide(shape.box.height);
        if (!Side(shape.width) || !Side(shape.height) || shape.left < 0 || shape.bottom < 0 ||
            shape.left > (boxWidth + 7) / 8 * 8 - shape.width || shape.bottom > boxHeight - shape.height)
            return Fail("a picture past its box");
        if (!in.Bits(MaskBytes(shape.width, shape.height), shape.bits) || !in.Whole())
            return malformed("a malformed picture");
        m_items += 1;
        m_pixels += qint64(boxWidth) * boxHeight;
        if (m_items > m_bounds.items || m_pixels > m_bounds.pixels)
            return Fail("pictures past the import's bounds");
        m_slide.shapes.push_back(std::move(shape));
        return true;
    }
    default:
        return Fail("a record of no known type");
    }
}
