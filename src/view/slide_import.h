// Slide import ("从幻灯片导入文本"): the dialog's fields, the slides' texts as rich text, our own
// drawing of a shape as a picture, the placement and the table arithmetic, and the import itself,
// which makes one new page per slide of a ".pptx" presentation read by our slide source.
#pragma once

#include "platform/afx.h"
#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"
#include "slides/slide_draw.h"
#include "slides/slide_place.h"
#include "slides/slide_text.h"

#include <QElapsedTimer>
#include <QImage>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CHalvixDoc;
class QTextDocument;
struct HxLayoutBudget;

// "从PPT导入文本": the source, the range of slides (1 to 100 each) and whether the shapes become
// editable objects; the help text is shown read-only.
class CDlgPPT : public CDialog {
    DECLARE_DYNAMIC(CDlgPPT)
public:
    static constexpr UINT IDD = 236;
    static constexpr int kFrom = 1000;
    static constexpr int kTo = 1001;
    static constexpr int kHelp = 1002;
    static constexpr int kConvert = 1003;
    static constexpr int kSource = 1004;
    static constexpr int kMinSlide = 1;
    static constexpr int kMaxSlide = 100;

    CDlgPPT() : CDialog(IDD) {}

    static const char16_t* const kHelpText;

    CString m_source = u"导入源";
    int m_from = 1;
    int m_to = 1;
    BOOL m_convert = TRUE;
    CString m_help = kHelpText;
};

// The file types offered by the import's file dialog.
extern const char16_t* const g_slideFileFilter;  // "PowerPoint Files(*.ppt;*.pptx)|*.ppt;*.pptx||"
extern const char16_t* const g_slideTableFailed; // "转换表格时出现错误，未找到外框线!"
// Said once after an import that cut texts to the editor's length: their number, and the length.
extern const char16_t* const g_slideTextsShortened; // "有%d个文本超过%d个字符，导入时已截去..."
// Said once after an import some of whose pictures were drawn from less than their texts would
// show: their number, the characters an import lays out and the combining marks drawn on a letter.
extern const char16_t* const g_slidePicturesReduced; // "有%d个文本的图片只画出了一部分：..."
// Said once after an import some of whose texts were left out because their pictures held nothing
// dark: their number, and the slides they were on (HxSlideNumberList).
extern const char16_t* const g_slideTextsLeftOut; // "有%d个文本没有导入（位于幻灯片%s）：..."
// Said once after an import some of whose texts show only in part: lines past the slide's edge (a
// picture shows what the slide shows) or past the largest picture or the import's pixels: their
// number, and the slides they were on (HxSlideNumberList).
extern const char16_t* const g_slideTextsCut; // "有%d个文本超出了幻灯片的边界...（位于幻灯片%s）。"
// Slide numbers as a message names them: the first kSlideNumbersNamed joined by "、", then "等" when
// there are more ("2、5、7、9、12等").
constexpr size_t kSlideNumbersNamed = 5;
CString HxSlideNumberList(const std::vector<int>& numbers);
// Said once after an import that took longer than its time: the seconds, and the pictures drawn
// after that from a short beginning of their texts, or left out.
extern const char16_t* const g_slideTimeReduced; // "导入用时超过%d秒，此后有%d个文本的图片..."
// Said once after an import that left out shapes holding text (groups, which are drawn only without
// conversion): their number, and how to have them drawn.
extern const char16_t* const g_slideShapesLeftOut; // "有%d个含有文本的组合图形没有导入：..."
// Said when memory runs out in the program while what the drawing handed back is read or the pages
// are built: the import makes nothing and the document is as it was; the text after it (%s) asks
// for fewer slides only when the range holds more than one (g_slideFewerSlides).
extern const char16_t* const g_slideOutOfMemory; // "导入失败：导入幻灯片时内存不足，文档没有改变……%s。"
// An import whose drawing failed: the drawing program could not be started (its path), ended without
// finishing (a signal or an exit), handed back what it cannot have drawn, or ran out of memory; the
// lesson is as it was before.
extern const char16_t* const g_slideDrawerMissing; // "导入失败：无法启动绘制幻灯片的程序“%s”……"
extern const char16_t* const g_slideDrawerCrashed; // "导入失败：绘制幻灯片的程序意外终止……"
extern const char16_t* const g_slideDrawerFaulty; // "导入失败：绘制幻灯片的程序送回的数据有误……"
extern const char16_t* const g_slideDrawerOutOfMemory; // "导入失败：绘制幻灯片时内存不足……"
// An import whose time ran out: the slides not imported (HxSlideRangeText), the seconds, and the
// slides imported; or, with none imported, the seconds and the slides.
extern const char16_t* const g_slideTimeUp; // "第%s张幻灯片没有导入：导入用时超过%d秒……"
// Asking for fewer slides only when the range holds more than one.
extern const char16_t* const g_slideTimeUpNothing; // "导入失败：导入用时超过%d秒，第%s张幻灯片都没有导入……"
extern const char16_t* const g_slideTimeUpNothingOne; // "导入失败：导入用时超过%d秒，第%s张幻灯片没有导入……"
// A presentation whose slides could not be counted for the dialog: the file and the seconds it
// took; or the file, when memory ran out.
extern const char16_t* const g_slideReadingTimeUp;      // "无法导入“%s”：读取演示文稿用时超过%d秒，已停止。"
extern const char16_t* const g_slideReadingOutOfMemory; // "无法导入“%s”：内存不足。"
// The progress window's title and texts (the presentation being read; the slide being drawn, and
// how many the import has).
extern const char16_t* const g_slideProgressTitle;   // "从幻灯片导入文本"
extern const char16_t* const g_slideProgressReading; // "正在读取演示文稿……"
extern const char16_t* const g_slideProgressSlide;   // "正在导入第%d张幻灯片（共%d张）……"
// Slides from..to as a message names them: "4" or "4-12".
CString HxSlideRangeText(int from, int to);
// The message of a presentation that cannot be imported: the file, and what is wrong with it.
CString HxSlideRefusalText(HxPptxError error, const CString& path);

// The import of the slides from..to (ordered, the last cut to the presentation's) of a deck into new
// pages after the current one; `convert` as the dialog's check box; drawn here, in this process (the
// slides' drawing and the pages' building are those of the program's import, without the drawing
// program between them).  `afterNewPage` runs after each page is added and made current (the view
// turns to the plane view there).  An import that would pass one of its `bounds` (HxSlideImportCostOf;
// the lesson's stored length now and what the import adds to it) shows its refusal (HxSlideRefusalOf)
// and makes nothing.  Once the import is over, g_slideShapesLeftOut says how many shapes holding text
// it left out (groups, when converting); texts longer than the rich-text editor holds are cut to its
// length, and g_slideTextsShortened says how many; g_slidePicturesReduced how many pictures were drawn
// from less than they would show (past kSlideImportMaxLaidOut characters, or marks past
// kMaxShownMarks), g_slideTextsLeftOut how many texts were left out because their pictures held
// nothing dark, and on which slides (every slide leaves its page, empty when nothing of it was made),
// g_slideTextsCut how many show only in part, and on which slides, and g_slideTimeReduced how many
// were drawn from a short beginning once the import had taken its time.  Memory running out in the
// drawing (or too little of it left for the next shape) makes no page and says
// g_slideDrawerOutOfMemory.  False when it made nothing.
bool HxImportSlideDeck(CHalvixDoc* doc, const HxSlideDeck& deck, int from, int to, bool convert,
                       const std::function<void()>& afterNewPage,
                       const HxSlideImportBounds& bounds = HxSlideImportBounds());

// The whole import's time, from the dialog's OK: past it the drawing is stopped, the slides drawn by
// then keep their pages and those not reached are named (g_slideTimeUp).
constexpr int kSlideImportTotalSeconds = 20;
// The address space the drawing program may take: every picture and layout an import's bounds let
// through, with room to spare.  A build with the address sanitizer reserves terabytes of address
// space for its shadow before main: its drawing program runs without the limit.
#if defined(__SANITIZE_ADDRESS__)
#define HX_ADDRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HX_ADDRESS_SANITIZED 1
#endif
#endif
#ifdef HX_ADDRESS_SANITIZED
constexpr qint64 kSlideDrawerAddressSpace = 0;
#else
constexpr qint64 kSlideDrawerAddressSpace = 2LL << 30;
#endif
// The drawing program's file name, looked for beside the running program.
extern const char* const g_slideDrawerName; // "halvix-slides"

// How the program's import runs its drawing: the program (empty: g_slideDrawerName beside the
// running program), arguments put before the import's own, the whole import's time in milliseconds,
// and the drawing program's address space (0: not limited).  Tests point it at stand-ins.
struct HxSlideDrawerSettings {
    QString program;
    QStringList arguments;
    qint64 milliseconds = kSlideImportTotalSeconds * 1000LL;
    qint64 addressSpace = kSlideDrawerAddressSpace;
};
HxSlideDrawerSettings& HxSlideDrawer();

// The number of slides the presentation at `path` lists, for the import's dialog, counted by the
// drawing program (HxSlideDrawer, "--count") as HxCountPptxFile counts them, while a progress window
// says that the presentation is read and offers 取消, the event loop running throughout; within
// HxSlideDrawer().milliseconds.  0 when it was not counted: a presentation refused shows
// HxSlideRefusalText; a drawing program that cannot start, fails, hands back anything malformed, runs
// out of memory or out of the time says so; 取消 says nothing.
int HxCountPresentationSlides(const CString& path);

// The import of the slides from..to of the presentation at `path`, whose first `slides` slides the
// dialog offered, as the program does it: the drawing program (HxSlideDrawer) reads the presentation
// and prices the import (a presentation it cannot read shows HxSlideRefusalText; a price past one of
// `bounds`, with the lesson's stored length now, shows its refusal as HxImportSlideDeck does), then
// draws the slides while a progress window says that it reads, then which slide it draws, and offers
// 取消, the event loop running throughout; what the program hands back is read as untrusted input
// (HxSlideRecordReader) and the pages are built of it.  The whole import ends within
// HxSlideDrawer().milliseconds of `started` (the dialog's OK): when the time runs out the slides
// drawn by then keep their pages (g_slideTimeUp names the others, or g_slideTimeUpNothing says that
// none was imported).  取消 makes nothing and says nothing; a drawing program that cannot start,
// fails, hands back anything malformed or runs out of memory makes nothing and says so.  The messages
// after the import are those of HxImportSlideDeck.  False when it made nothing.
bool HxImportDrawnSlides(CHalvixDoc* doc, const CString& path, int slides, int from, int to, bool convert,
                         const std::function<void()>& afterNewPage, const QElapsedTimer& started,
                         const HxSlideImportBounds& bounds = HxSlideImportBounds());

// ID_CREATE_TEXT3: the file dialog, the slides counted (HxCountPresentationSlides), the dialog, then
// the import (HxImportDrawnSlides); nothing of the presentation is read in this process.  A file that
// cannot be read shows HxSlideRefusalText and changes nothing.  TRUE when pages were made (the
// document is then modified).
BOOL HxImportSlides(CHalvixDoc* doc, const std::function<void()>& afterNewPage);
// The part after the file dialog, for a chosen file.
BOOL HxImportSlideFile(CHalvixDoc* doc, const CString& path, const std::function<void()>& afterNewPage);
