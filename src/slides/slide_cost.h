// What one slide import would add and the work it would do, counted before its first page: objects,
// pixels, the rich text its editable texts keep as the writer writes it, what the lesson's file grows
// by and the work of making them; and the bounds an import keeps to.
#pragma once

#include "slides/pptx_reader.h"
#include "platform/cstring.h"
#include "platform/document.h"

#include <array>
#include <functional>
#include <limits>

// What the import makes of a shape: nothing, an editable text, a table grid with editable texts in
// its cells, or one picture of our own drawing.
enum class HxSlideWay { kLeftOut, kTextFrame, kTable, kPicture };
HxSlideWay HxSlideWayOf(const HxSlideShape& shape, bool convert);
// The texts of a shape that hold a visible character: its own, its cells' and its members' (at any
// depth).
int HxSlideTextsIn(const HxSlideShape& shape);
// The smallest table that is drawn as a picture instead: 20 rows or 20 columns.
constexpr int kSlideTableAsPicture = 20;

// The slides from..to as the import takes them: ordered, from the first, the last cut to the deck's.
void HxCutSlideRange(const HxSlideDeck& deck, int& from, int& to);
// The same for a deck of `slides` slides read (the first HxPptxLimits::kMaxSlides of those listed).
void HxCutSlideRange(int slides, int& from, int& to);

// The bytes of RTF the rich-text writer writes for a slide text made a document (HxSlideTextToDocument
// with near-white made black) cut to its first `maxLength` characters (as HxSlideText::Beginning cuts
// it), counted without making it: never fewer than the writer writes (the font and colour tables,
// the control words of paragraphs, runs' format changes, tabs and line breaks, "\uN?" for each unit
// past ASCII), and as many but for a few bytes of each font's name.
qint64 HxSlideTextRtfBytes(const HxSlideText& text,
                           qsizetype maxLength = std::numeric_limits<qsizetype>::max());

// The pixels the large characters of a text's first `length` characters (counted as
// HxSlideText::Length counts them) would cover, drawn into a picture `width` x `height` pixels: each
// visible character of kSlideLargeCharacterPixels or more (drawn as an outline rather than from the
// glyph cache) covers up to its size squared, as much of it as the picture holds, wherever its box
// clips it (the outline is filled over the whole picture).
constexpr double kSlideLargeCharacterPixels = 64;
qint64 HxSlideTextCoverPixels(const HxSlideText& text, qsizetype length, int width, int height);

// What the import of the slides from..to (ordered, cut as the import cuts them) would add at most
// with `convert` as the dialog's check box (pages that run out of ids make fewer objects): its
// objects (a table or group drawn as a picture is one); the pixels of the pictures it draws, one of
// the box's size for each text made editable (the item keeps it) and for each shape drawn; the bytes
// of rich text its editable texts keep (HxSlideTextRtfBytes, each text cut to the editor's length);
// the bytes the lesson's file grows by (the rich text, the pictures' bits, the records of the
// objects and pages); and its work, in units of about what a letter costs an editable text (see
// kSlideImportMaxWork): each text made editable or drawn, each cell and member of a drawn table or
// group, each paragraph, line break, run and character kept, the lines, runs and letters a picture
// lays out (twice in a box narrower than its characters), the pixels drawn, and the pixels the
// large characters it lays out cover (HxSlideTextCoverPixels: a member of a group or a cell of a
// table covers the whole picture of its group or table).  The work is also kept by what causes it
// (HxSlideWorkCause), so that a refusal can say what to change in the deck; and the pages the
// import makes, one a slide of the range (a slide listed again makes a page again).
enum class HxSlideWorkCause {
    // Texts, cells, members, paragraphs, line breaks and letters, with the objects and pages made.
    kTexts,
    // The runs after the first of each paragraph, each a change of format: a word whose letters change
    // size one by one is a run a letter, and almost nothing else.
    kFormatChanges,
    // The pixels large characters cover (HxSlideTextCoverPixels).
    kLargeType,
    // The pixels of the pictures drawn, and of those editable texts keep.
    kPictures,
};
constexpr size_t kSlideWorkCauses = 4;
struct HxSlideImportCost {
    qint64 items = 0;
    qint64 pixels = 0;
    qint64 textBytes = 0;
    qint64 storedBytes = 0;
    qint64 work = 0;
    std::array<qint64, kSlideWorkCauses> workOf{}; // `work` by HxSlideWorkCause: the parts add up to it
    qint64 pages = 0;

    qint64 WorkOf(HxSlideWorkCause cause) const { return workOf[size_t(cause)]; }
    // The cause of the largest part of the work (the first of equal ones).
    HxSlideWorkCause MainWorkCause() const;
};
HxSlideImportCost HxSlideImportCostOf(const HxSlideDeck& deck, int from, int to, bool convert);
// Its objects alone.
qint64 HxCountSlideItems(const HxSlideDeck& deck, int from, int to, bool convert);

// What one import adds at most, all its slides together: objects, pixels of pictures (about 60 MB
// of one-bit pictures, a few seconds of drawing), bytes of kept rich text; and the characters its
// pictures lay out (HxLayoutBudget), past which they are drawn from less than they would show.
constexpr qint64 kSlideImportMaxItems = 20000;
constexpr qint64 kSlideImportMaxPixels = 500000000;
constexpr qint64 kSlideImportMaxTextBytes = 128LL << 20;
constexpr qsizetype kSlideImportMaxLaidOut = 2000000;
// The work one import may do: a unit is about 20 ns here (a Release build), so about five seconds
// with the pictures' layout on top (kSlideImportMaxLaidOut).
constexpr qint64 kSlideImportMaxWork = 250000000;
// The time past which the pictures an import has still to draw lay out only a short beginning (it is
// read before each text, a table's cells and a group's members each, and before each beginning one
// text lays out); past it, the large characters of the texts still to draw may cover
// kSlideLateCoverPixels in all (some tenths of a second), and a text that would cover more is left
// out of its picture.
constexpr int kSlideImportMaxSeconds = 8;
constexpr qint64 kSlideLateCoverPixels = 32LL << 20;

// The bounds one import keeps to: those above and the largest lesson the program saves
// (kHxMaxDocumentBytes, counted with what the lesson holds already); its time read from `clock`
// (milliseconds from any start; a steady clock when none is given).  Tests lower them.
struct HxSlideImportBounds {
    qint64 items = kSlideImportMaxItems;
    qint64 pixels = kSlideImportMaxPixels;
    qint64 textBytes = kSlideImportMaxTextBytes;
    qint64 work = kSlideImportMaxWork;
    qint64 lessonBytes = qint64(kHxMaxDocumentBytes);
    qint64 milliseconds = kSlideImportMaxSeconds * 1000LL;
    std::function<qint64()> clock;
};

// The messages of a refused import: each says which bound it passes and what to change in the deck,
// and ends with g_slideFewerSlides (or nothing) before its "!": that is said only when the range
// holds more than one slide, as fewer slides cannot be chosen otherwise.
// More objects than kSlideImportMaxItems (the limit).
extern const char16_t* const g_slideTooManyItems; // "导入的对象过多，超过%d个，请减少演示文稿中...%s!"
// Pictures of more than kSlideImportMaxPixels pixels (their millions, and the limit's); editable texts
// keeping more than kSlideImportMaxTextBytes bytes of rich text (their MiB, and the limit's).
extern const char16_t* const g_slidePicturesTooLarge; // "导入的图片过大，共需%d百万像素，...%s!"
extern const char16_t* const g_slideTextTooLarge; // "导入的文本过多，保存它们约需%dMB，...%s!"
// Work past kSlideImportMaxWork: what causes most of it (g_slideWorkCauses), its share of the bound in
// percent, and what to change in the deck (g_slideWorkRemedies), both by HxSlideWorkCause.
extern const char16_t* const g_slideWorkTooLarge; // "导入的内容过于繁杂（%s），约为...的%d%%，请%s%s!"
extern const char16_t* const g_slideWorkCauses[kSlideWorkCauses];
extern const char16_t* const g_slideWorkRemedies[kSlideWorkCauses];
// A lesson larger than the program saves (its MiB, and the limit's).
extern const char16_t* const g_slideLessonTooLarge; // "导入后文档过大，保存它约需%dMB，...%s!"
extern const char16_t* const g_slideFewerSlides;    // "，或缩小幻灯片范围"
// n / unit rounded up, at most INT_MAX (the numbers of the messages).
qint64 HxRoundedUp(qint64 n, qint64 unit);
// Why an import of that cost into a lesson whose file is `stored` bytes long is refused: the message
// of the first bound it passes, which asks for fewer slides when the import makes more than one page;
// empty when it passes none.
CString HxSlideRefusalOf(const HxSlideImportCost& cost, qint64 stored, const HxSlideImportBounds& bounds);
