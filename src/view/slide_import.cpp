// Slide import: the slides of a presentation read by our slide source become pages of the document,
// their texts rich-text items, their tables table grids with texts in the cells, and, when they are
// not converted, our own drawing of them one-bit bitmap texts.
#include "view/slide_import.h"

#include "construct/construction.h"
#include "slides/slide_deck_draw.h"
#include "slides/slide_records.h"
#include "view/slide_pages.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_format.h"
#include "measure/rich_text_items.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "points/confined_points.h"
#include "view/view_globals.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>

#include <algorithm>
#include <climits>
#include <limits>
#include <memory>
#include <new>

IMPLEMENT_DYNAMIC(CDlgPPT, CDialog)

const char16_t* const CDlgPPT::kHelpText =
    u"\r\n 1.导入功能可以将已有幻灯片文本、表格等图形快速转换到Halvix中；\r\n\r\n "
    u"2.导入前请按课件要求编辑并保存好幻灯片，保存好当前Halvix文档；\r\n\r\n "
    u"3.导入时请稍等片刻，不要操作Halvix，结束后全屏浏览、双击文本即可编辑；\r\n\r\n "
    u"4.导入内容为文本框、含文本的图形框、表格、组合图形、嵌入的OLE对象等。";

const char16_t* const g_slideFileFilter = u"PowerPoint Files(*.ppt;*.pptx)|*.ppt;*.pptx||";
const char16_t* const g_slideTextsShortened =
    u"有%d个文本超过%d个字符，导入时已截去超出的部分，以便在编辑器中编辑。";
const char16_t* const g_slideTableFailed = u"转换表格时出现错误，未找到外框线!";
const char16_t* const g_slidePicturesReduced = u"有%d个文本的图片只画出了一部分：导入时绘制的文字超过%"
                                               u"d个字符（泰文等文字、每种新字体和每处格式变化计得更多），"
                                               u"或一个字母上的附加符号超过%d个。";
const char16_t* const g_slideTextsLeftOut =
    u"有%d个文本没有导入（位于幻灯片%s）：画出的图片中没有任何笔画（文本框比一个字还窄、字号过小、颜色过浅、"
    u"缺少显示其文字的字体，或导入时绘制的文字已超过限度）。";
const char16_t* const g_slideTextsCut =
    u"有%d个文本超出了幻灯片的边界或导入的图片大小的限度，超出的部分没有画出（位于幻灯片%s）。";
const char16_t* const g_slideTimeReduced =
    u"导入用时超过%d秒，此后有%d个文本的图片只画出了开头的一部分或没有画出（可编辑的文本仍然完整）。";
const char16_t* const g_slideShapesLeftOut =
    u"有%d个含有文本的组合图形没有导入：转换为Halvix中可编辑文本时不导入组合图形。"
    u"清除“转换为Halvix中可编辑文本”后再导入，组合图形会作为图片导入。";
const char16_t* const g_slideOutOfMemory =
    u"导入失败：导入幻灯片时内存不足，文档没有改变。请精简演示文稿中过大、过多的文本%s。";

const char16_t* const g_slideDrawerMissing =
    u"导入失败：无法启动绘制幻灯片的程序“%s”（它应与Halvix安装在同一文件夹中），文档没有改变。";
const char16_t* const g_slideDrawerCrashed = u"导入失败：绘制幻灯片的程序意外终止，文档没有改变。";
const char16_t* const g_slideDrawerFaulty = u"导入失败：绘制幻灯片的程序送回的数据有误，文档没有改变。";
const char16_t* const g_slideDrawerOutOfMemory =
    u"导入失败：绘制幻灯片时内存不足，文档没有改变。请缩小幻灯片范围，或精简演示文稿中过大、过多的文本。";
const char16_t* const g_slideTimeUp =
    u"第%s张幻灯片没有导入：导入用时超过%d秒，已停止。已经导入的第%s张幻灯片保留。";
const char16_t* const g_slideTimeUpNothing =
    u"导入失败：导入用时超过%d秒，第%s张幻灯片都没有导入，文档没有改变。请缩小幻灯片范围，或精简演示文稿。";
const char16_t* const g_slideTimeUpNothingOne =
    u"导入失败：导入用时超过%d秒，第%s张幻灯片没有导入，文档没有改变。请精简演示文稿。";
const char16_t* const g_slideReadingTimeUp = u"无法导入“%s”：读取演示文稿用时超过%d秒，已停止。";
const char16_t* const g_slideReadingOutOfMemory = u"无法导入“%s”：内存不足。";
const char16_t* const g_slideProgressTitle = u"从幻灯片导入文本";
const char16_t* const g_slideProgressReading = u"正在读取演示文稿……";
const char16_t* const g_slideProgressSlide = u"正在导入第%d张幻灯片（共%d张）……";

namespace {

void AddItem(CGPage& page, std::unique_ptr<CGTextbit> item, const char16_t* undoName) {
    ++page.m_nextId;
    page.m_cells.SetAt(item->m_id, item.get());
    item.release(); // the page's now
    page.m_cmdProcessor.Submit(new CCmdAddCell(undoName));
}

// An editable text's item takes what the editor's paste left, as the editor's OK gives it.
void TakeDrawnText(CGTextbit& item, HxDrawnText& text) {
    CDlgRtEdit editor;
    editor.m_name = text.name;
    editor.m_rtf = std::move(text.rtf);
    editor.m_picture = std::move(text.picture);
    editor.m_pictureWidth = text.pictureWidth;
    editor.m_pictureHeight = text.pictureHeight;
    editor.m_editorWidth = text.editorWidth;
    editor.m_editorHeight = text.editorHeight;
    HxTakeRichText(item, editor);
    if (text.colored) {
        item.m_color.r = BYTE(qRed(text.color));
        item.m_color.g = BYTE(qGreen(text.color));
        item.m_color.b = BYTE(qBlue(text.color));
    }
}

// The pages of the slides drawn: their editable texts, table grids and pictures, each one undo step
// of its page.
class CSlidePages {
public:
    // A shape of a slide of `slide`'s size, placed around the slide's centre.  False: stop the import
    // (the message has been shown).
    bool Shape(CGPage& page, HxDrawnShape& shape, const HxSlideSize& slide) {
        switch (shape.kind) {
        case HxDrawnShape::kText:
            TextFrame(page, shape, slide);
            return true;
        case HxDrawnShape::kTable:
            return Table(page, shape, slide);
        case HxDrawnShape::kPicture:
            Picture(page, shape, slide);
            return true;
        }
        return true;
    }

private:
    static void TextFrame(CGPage& page, HxDrawnShape& shape, const HxSlideSize& slide) {
        if (!page.CanTakeIds(1))
            return;
        const HxSlidePlace place = HxPlaceSlideBox(shape.box, slide);
        auto item = std::make_unique<CGTextbit>(page.m_nextId, 0, 0, std::vector<BYTE>());
        TakeDrawnText(*item, shape.text);
        item->m_labelPos[0] = place.x;
        item->m_labelPos[1] = place.y;
        AddItem(page, std::move(item), u"插入文本");
    }

    static bool Table(CGPage& page, HxDrawnShape& shape, const HxSlideSize& slide) {
        const HxSlideShape table = shape.TableShape();
        const HxTablePlan plan = HxPlanSlideTable(table, slide);
        const int made = page.BuildTable(shape.rows, shape.columns, TRUE, plan.x0, plan.y0,
                                         plan.columnWidths.data(), plan.rowHeights.data());
        if (made > 0)
            page.m_cmdProcessor.Submit(new CCmdAddCells(made, u"添加表格"));
        else
            return true; // the page could take no more objects
        const int base = int(page.m_nextId) - 5 * (shape.rows + 1) * shape.columns - 2;
        std::vector<HxDrawnText*> texts(size_t(shape.rows) * size_t(shape.columns), nullptr);
        for (auto& [index, text] : shape.cellTexts)
            texts[size_t(index)] = &text;
        for (const HxTableCellStep& step : plan.steps) {
            for (const auto& [hide, offset] : {std::pair{step.hideLeft, -7}, std::pair{step.hideBelow, -3}}) {
                if (!hide)
                    continue;
                const int id = base + 5 * step.k + offset;
                CGCell* line = id > 0 && id < 65536 ? page.FindCell(WORD(id)) : nullptr;
                if (!line) {
                    AfxMessageBox(g_slideTableFailed, MB_OK | MB_ICONEXCLAMATION);
                    return false;
                }
                line->m_hidden = 1;
            }
            HxDrawnText* text = texts[size_t((step.row - 1) * shape.columns + step.column - 1)];
            if (!step.Text() || !text || !page.CanTakeIds(1))
                continue;
            const int pointId = base + 5 * step.k;
            CGCell* point = pointId > 0 && pointId < 65536 ? page.FindCell(WORD(pointId)) : nullptr;
            auto* inFace = DYNAMIC_DOWNCAST(CGVerFreeInFace, point);
            if (!inFace) {
                AfxMessageBox(g_slideTableFailed, MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            // The text's picture, as wide as its cell, ends at the cell's bottom: its lower left corner
            // is the cell's (the face's second corner), where the point that carries it moves.
            inFace->m_weight0 = 0.0f;
            inFace->m_weightK = 1.0f;
            inFace->Recompute();
            auto item = std::make_unique<CGTbHenchman>(page.m_nextId, text->pictureWidth, text->pictureHeight,
                                                       std::vector<BYTE>(), point->m_id);
            TakeDrawnText(*item, *text);
            AddItem(page, std::move(item), u"插入附点文本");
        }
        return true;
    }

    // Our own drawing of the shape, as a one-bit text of its dark pixels, placed where they lay in
    // the shape's box: the crop only trims white.
    static void Picture(CGPage& page, HxDrawnShape& shape, const HxSlideSize& slide) {
        if (!page.CanTakeIds(1))
            return;
        const HxSlidePlace place = HxPlaceSlideBox(shape.box, slide);
        auto item =
            std::make_unique<CGTextbit>(page.m_nextId, shape.width, shape.height, std::move(shape.bits));
        item->m_kind = 0;
        // A pixel of the drawing is a screen unit: g_unitLength in the plane view.
        item->m_labelPos[0] = float(double(place.x) + double(shape.left) * double(g_unitLength));
        item->m_labelPos[1] = float(double(place.y) + double(shape.bottom) * double(g_unitLength));
        AddItem(page, std::move(item), u"粘贴图文");
    }
};

// What building a page costs in the program's window (a RelWithDebInfo build under Xvfb drawing in
// software: a page of ordinary slides 26-40 ms, of 2,000 small texts 80-95 ms, of 200 35 ms, a page
// of 196 MB of texts and pictures 0.9 s; the building alone, without the view, is under a hundredth
// of it, bench_slide_import), with half again for a loaded machine: a page of its own (the view
// turned to it and drawn), an object (an editable text or a picture), an object of a table's grid,
// and the bytes of rich text and pictures.
constexpr qint64 kPageMicroseconds = 45000;
constexpr qint64 kObjectMicroseconds = 40;
constexpr qint64 kGridObjectMicroseconds = 10;
constexpr qint64 kBytesPerMicrosecond = 350;

qint64 TextMicroseconds(const HxDrawnText& text) {
    return kObjectMicroseconds +
           (2 * qint64(text.rtf.GetLength()) + qint64(text.picture.size())) / kBytesPerMicrosecond;
}

// How the building of the pages ended.
enum class CBuildEnd {
    kBuilt,    // every slide has its page
    kStopped,  // the document could take no more pages, or a table's lines were not found (said)
    kTimeUp,   // the next page or shape would have passed the import's time: the slides not built
               // have no page, the page being built taken back
    kNoMemory, // memory ran out: every page made was taken back
};

// Whether building what is estimated at `microseconds` now would pass the deadline.
bool WouldPass(const HxSlideBuildDeadline& deadline, qint64 microseconds) {
    if (!deadline.started)
        return false;
    return deadline.started->nsecsElapsed() / 1000 + microseconds >
           (deadline.milliseconds - kSlideMessageMilliseconds) * 1000;
}

// The pages made after the first `pages` taken back, the last first, with what they hold and their
// undo histories: the page current before them current again, their numbers given back, the document
// modified as it was.
void TakeBackPages(CHalvixDoc& doc, int pages, BOOL modified) {
    while (doc.GetPageCount() > pages)
        if (!doc.TakeBackNewPage(true))
            break;
    doc.SetModifiedFlag(modified);
}

// An import of the slides from..to whose time (`seconds`) ran out before any of them was imported:
// fewer slides is a change only a range of more than one can make.
CString TimeUpNothingText(int from, int to, int seconds) {
    return HxFormat(to > from ? g_slideTimeUpNothing : g_slideTimeUpNothingOne, seconds,
                    HxSlideRangeText(from, to));
}

// g_slideOutOfMemory, asking for fewer slides when there are more than one; unsaid when even that
// cannot be had.
void SayOutOfMemory(int from, int to) {
    try {
        AfxMessageBox(HxFormat(g_slideOutOfMemory, from < to ? g_slideFewerSlides : u""),
                      MB_OK | MB_ICONEXCLAMATION);
    } catch (const std::bad_alloc&) {
    }
}

// The pages of the slides drawn, one after the current page for each (`built` of them), by the
// deadline.  The pages made stay unless memory runs out (kNoMemory: the caller takes them back); the
// document is modified when they do.
CBuildEnd BuildPages(CHalvixDoc* doc, std::vector<HxDrawnSlide>& slides,
                     const std::function<void()>& afterNewPage, const HxSlideBuildDeadline& deadline,
                     int& built) {
    built = 0;
    const int pages = doc->GetPageCount();
    // The pages made stay however the building ends but for memory, and closing the document asks to
    // save them.
    auto keepPages = [&](CBuildEnd end) {
        if (doc->GetPageCount() != pages)
            doc->SetModifiedFlag(TRUE);
        return end;
    };
    CSlidePages builder;
    try {
        for (HxDrawnSlide& slide : slides) {
            // A page that could not be finished in time is not begun.
            if (WouldPass(deadline, HxSlideBuildMicroseconds(slide)))
                return keepPages(CBuildEnd::kTimeUp);
            CGPage* before = g_pCurPage;
            doc->OnNewPage();
            if (g_pCurPage == before || !g_pCurPage)
                return keepPages(CBuildEnd::kStopped);
            if (afterNewPage)
                afterNewPage();
            // Every slide leaves its page, empty when nothing of it was made.
            for (HxDrawnShape& shape : slide.shapes) {
                if (WouldPass(deadline, HxSlideBuildMicroseconds(shape))) {
                    doc->TakeBackNewPage(true);
                    return keepPages(CBuildEnd::kTimeUp);
                }
                if (!builder.Shape(*g_pCurPage, shape, slide.size)) {
                    ++built;
                    return keepPages(CBuildEnd::kStopped);
                }
            }
            ++built;
            slide.shapes.clear(); // what the page took is given back
            // The window repaints and its timers run between the pages (a slide's page is built in
            // a tenth of a second or so); what the user does waits until the pages are built.
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    } catch (const std::bad_alloc&) {
        built = 0;
        return CBuildEnd::kNoMemory; // the pages are taken back after
    }
    return keepPages(CBuildEnd::kBuilt);
}

// What the import of these slides left out, said once each after it (what cannot be put together
// for want of memory is not said).
void SayWhatWasLeftOut(const std::vector<HxDrawnSlide>& slides, int softSeconds) try {
    int shapesLeftOut = 0, shortened = 0, reduced = 0, reducedLate = 0, textsLeftOut = 0, textsCut = 0;
    std::vector<int> slidesWithTextsLeftOut, slidesWithTextsCut;
    for (const HxDrawnSlide& slide : slides) {
        shapesLeftOut += slide.shapesLeftOut;
        shortened += slide.shortened;
        reduced += slide.reduced;
        reducedLate += slide.reducedLate;
        textsLeftOut += slide.textsLeftOut;
        if (slide.textsLeftOut > 0)
            slidesWithTextsLeftOut.push_back(slide.number);
        textsCut += slide.textsCut;
        if (slide.textsCut > 0)
            slidesWithTextsCut.push_back(slide.number);
    }
    if (shapesLeftOut > 0)
        AfxMessageBox(HxFormat(g_slideShapesLeftOut, shapesLeftOut), MB_OK | MB_ICONINFORMATION);
    if (shortened > 0)
        AfxMessageBox(HxFormat(g_slideTextsShortened, shortened, CDlgRtEdit::kMaxTextLength),
                      MB_OK | MB_ICONINFORMATION);
    if (reduced > 0)
        AfxMessageBox(HxFormat(g_slidePicturesReduced, reduced, int(kSlideImportMaxLaidOut), kMaxShownMarks),
                      MB_OK | MB_ICONINFORMATION);
    if (textsLeftOut > 0)
        AfxMessageBox(HxFormat(g_slideTextsLeftOut, textsLeftOut, HxSlideNumberList(slidesWithTextsLeftOut)),
                      MB_OK | MB_ICONINFORMATION);
    if (textsCut > 0)
        AfxMessageBox(HxFormat(g_slideTextsCut, textsCut, HxSlideNumberList(slidesWithTextsCut)),
                      MB_OK | MB_ICONINFORMATION);
    if (reducedLate > 0)
        AfxMessageBox(HxFormat(g_slideTimeReduced, softSeconds, reducedLate), MB_OK | MB_ICONINFORMATION);
} catch (const std::bad_alloc&) {
}

} // namespace

CString HxSlideDrawerMissingText() {
    return HxFormat(g_slideDrawerMissing,
                    CString::FromQString(HxSlideDrawer().program.isEmpty() ? QString::fromLatin1(g_slideDrawerName)
                                                                           : HxSlideDrawer().program));
}

qint64 HxStoredLengthOf(CHalvixDoc& doc) {
    try {
        return qint64(std::min<ULONGLONG>(doc.StoredLength(), ULONGLONG(std::numeric_limits<qint64>::max())));
    } catch (const CException&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}

qint64 HxSlideBuildMicroseconds(const HxDrawnShape& shape) {
    switch (shape.kind) {
    case HxDrawnShape::kText:
        return TextMicroseconds(shape.text);
    case HxDrawnShape::kTable: {
        qint64 cost = kGridObjectMicroseconds * CGPage::TableCellCount(shape.rows, shape.columns);
        for (const auto& [index, text] : shape.cellTexts)
            cost += TextMicroseconds(text);
        return cost;
    }
    case HxDrawnShape::kPicture:
        return kObjectMicroseconds + qint64(shape.bits.size()) / kBytesPerMicrosecond;
    }
    return kObjectMicroseconds;
}

qint64 HxSlideBuildMicroseconds(const HxDrawnSlide& slide) {
    qint64 cost = kPageMicroseconds;
    for (const HxDrawnShape& shape : slide.shapes)
        cost += HxSlideBuildMicroseconds(shape);
    return cost;
}

namespace {

// The wait cursor while the pages are made (not over the dialogs before).
struct CWaitCursor {
    bool shown = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    CWaitCursor() {
        if (shown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~CWaitCursor() {
        if (shown)
            QGuiApplication::restoreOverrideCursor();
    }
};

} // namespace

bool HxFinishSlideImport(CHalvixDoc* doc, const CString& path, int from, int to, HxSlideDrawingEnd end,
                         HxSlideRecordReader& reader, const std::function<void()>& afterNewPage, int seconds,
                         int softSeconds, const HxSlideBuildDeadline& deadline) {
    switch (end) {
    case HxSlideDrawingEnd::kCancelled:
        return false;
    case HxSlideDrawingEnd::kNotStarted:
        AfxMessageBox(HxSlideDrawerMissingText(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    case HxSlideDrawingEnd::kCrashed:
        AfxMessageBox(g_slideDrawerCrashed, MB_OK | MB_ICONEXCLAMATION);
        return false;
    case HxSlideDrawingEnd::kFaulty:
        AfxMessageBox(g_slideDrawerFaulty, MB_OK | MB_ICONEXCLAMATION);
        return false;
    case HxSlideDrawingEnd::kOutOfMemory:
        AfxMessageBox(g_slideDrawerOutOfMemory, MB_OK | MB_ICONEXCLAMATION);
        return false;
    case HxSlideDrawingEnd::kRefused:
        AfxMessageBox(HxSlideRefusalText(reader.Refusal(), path), MB_OK | MB_ICONEXCLAMATION);
        return false;
    case HxSlideDrawingEnd::kTooCostly:
        AfxMessageBox(reader.PriceRefusal(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    case HxSlideDrawingEnd::kNoMemory:
        reader.GiveBack();
        SayOutOfMemory(from, to);
        return false;
    case HxSlideDrawingEnd::kWhole:
    case HxSlideDrawingEnd::kTimeUp:
        break;
    }
    std::vector<HxDrawnSlide>& slides = reader.Slides();
    const int drawn = int(slides.size());
    if (end == HxSlideDrawingEnd::kTimeUp && drawn == 0) {
        AfxMessageBox(TimeUpNothingText(from, to, seconds), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const int pages = doc->GetPageCount();
    const BOOL modified = doc->IsModified();
    int built = 0;
    CBuildEnd how = CBuildEnd::kBuilt;
    {
        CWaitCursor wait;
        how = BuildPages(doc, slides, afterNewPage, deadline, built);
    }
    if (how == CBuildEnd::kStopped)
        return doc->GetPageCount() != pages;
    // The slides not drawn in time and those not built in time are named alike.
    CString timeUp;
    try {
        if (how == CBuildEnd::kTimeUp && built == 0)
            timeUp = TimeUpNothingText(from, to, seconds);
        else if (built < to - from + 1 && (how == CBuildEnd::kTimeUp || end == HxSlideDrawingEnd::kTimeUp))
            timeUp = HxFormat(g_slideTimeUp, HxSlideRangeText(from + built, to), seconds,
                              HxSlideRangeText(from, from + built - 1));
    } catch (const std::bad_alloc&) {
        how = CBuildEnd::kNoMemory;
    }
    if (how == CBuildEnd::kNoMemory) {
        TakeBackPages(*doc, pages, modified);
        reader.GiveBack();
        SayOutOfMemory(from, to);
        return false;
    }
    if (!timeUp.IsEmpty())
        AfxMessageBox(timeUp, MB_OK | MB_ICONEXCLAMATION);
    slides.resize(size_t(built));
    SayWhatWasLeftOut(slides, softSeconds);
    return doc->GetPageCount() != pages;
}

bool HxImportSlideDeck(CHalvixDoc* doc, const HxSlideDeck& deck, int from, int to, bool convert,
                       const std::function<void()>& afterNewPage, const HxSlideImportBounds& bounds) {
    if (!doc || deck.slides.empty())
        return false;
    HxCutSlideRange(deck, from, to);
    // Priced as the drawing program prices it, and refused the same way: all or nothing, an import
    // past a bound is refused before the first page.
    HxSlideRecordReader reader(from, to, convert, bounds);
    const qint64 stored = HxStoredLengthOf(*doc);
    reader.RequirePrice(stored);
    reader.Feed(HxSlideRecords::Hello());
    if (reader.Feed(HxSlideRecords::Price(HxSlideImportCostOf(deck, from, to, convert))) ==
        HxSlideRecordReader::kTooCostly)
        return HxFinishSlideImport(doc, CString(), from, to, HxSlideDrawingEnd::kTooCostly, reader, afterNewPage,
                                   kSlideImportTotalSeconds, int(HxRoundedUp(bounds.milliseconds, 1000)));
    {
        CWaitCursor wait;
        HxDrawSlideDeck(
            deck, from, to, convert, bounds, [&reader](const QByteArray& record) { reader.Feed(record); },
            stored);
    }
    HxSlideDrawingEnd end = HxSlideDrawingEnd::kFaulty;
    switch (reader.GetState()) {
    case HxSlideRecordReader::kDone:
        end = HxSlideDrawingEnd::kWhole;
        break;
    case HxSlideRecordReader::kOutOfMemory:
        end = HxSlideDrawingEnd::kOutOfMemory;
        break;
    case HxSlideRecordReader::kNoMemory:
        end = HxSlideDrawingEnd::kNoMemory;
        break;
    default:
        break;
    }
    return HxFinishSlideImport(doc, CString(), from, to, end, reader, afterNewPage, kSlideImportTotalSeconds,
                               int(HxRoundedUp(bounds.milliseconds, 1000)));
}

CString HxSlideRangeText(int from, int to) {
    return from >= to ? HxFormat(u"%d", from) : HxFormat(u"%d-%d", from, to);
}

CString HxSlideNumberList(const std::vector<int>& numbers) {
    CString list;
    for (size_t i = 0; i < numbers.size() && i < kSlideNumbersNamed; ++i)
        list += HxFormat(i == 0 ? u"%d" : u"、%d", numbers[i]);
    if (numbers.size() > kSlideNumbersNamed)
        list += u"等";
    return list;
}
CString HxSlideRefusalText(HxPptxError error, const CString& path) {
    const char16_t* why = u"文件已损坏。";
    switch (error) {
    case kPptxOk:
        return CString();
    case kPptxCannotOpen:
        why = u"文件不存在或无法读取。";
        break;
    case kPptxNotRegular:
        why = u"它不是普通文件（可能是文件夹、管道或设备）。";
        break;
    case kPptxOldBinary:
        why = u"这是旧的二进制PowerPoint文件（.ppt），不能导入。请先在演示软件中把它另存为.pptx格式。";
        break;
    case kPptxNotArchive:
        why = u"它不是PowerPoint演示文稿（.pptx），或者文件已损坏。";
        break;
    case kPptxMissingPart:
        why = u"演示文稿不完整，缺少其中列出的部分，文件可能已损坏。";
        break;
    case kPptxDamagedPart:
        why = u"文件已损坏，其中有无法解压的部分。";
        break;
    case kPptxBadXml:
        why = u"文件已损坏，其中有格式不正确的内容。";
        break;
    case kPptxTooLarge:
        why = u"文件或其中的某一部分太大，超出了导入的限度。";
        break;
    case kPptxFewerSlides:
        why = u"选择文件之后演示文稿已经改变，现在的幻灯片比所选的范围少，文档没有改变。请重新导入。";
        break;
    case kPptxPastLimits:
        why = u"文件中的部分、形状、组合的层次、表格的行列或段落过多，超出了导入的限度。";
        break;
    case kPptxNoSlides:
        why = u"演示文稿中没有幻灯片。";
        break;
    case kPptxBadValue:
        why = u"文件中有无效的数值，文件可能已损坏。";
        break;
    }
    return HxFormat(u"无法导入“%s”：%s", path, CString(why));
}

BOOL HxImportSlideFile(CHalvixDoc* doc, const CString& path, const std::function<void()>& afterNewPage) {
    if (!doc)
        return FALSE;
    // Nothing of the presentation is read in this process: the drawing program counts its slides
    // for the dialog, then reads, prices and draws those chosen.
    const int count = HxCountPresentationSlides(path);
    if (count <= 0)
        return FALSE;
    CDlgPPT dialog;
    dialog.m_source = path;
    dialog.m_to = std::min(count, CDlgPPT::kMaxSlide);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    // The import's time counts from the dialog's OK.
    QElapsedTimer started;
    started.start();
    return HxImportDrawnSlides(doc, path, std::min(count, HxPptxLimits::kMaxSlides), dialog.m_from, dialog.m_to,
                               dialog.m_convert != FALSE, afterNewPage, started);
}

BOOL HxImportSlides(CHalvixDoc* doc, const std::function<void()>& afterNewPage) {
    CFileDialog dialog(TRUE, u"PPT", CString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                       g_slideFileFilter);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    return HxImportSlideFile(doc, dialog.GetPathName(), afterNewPage);
}
