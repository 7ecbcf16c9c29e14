// Slide import: the slides of a presentation read by our slide source become pages of the document,
// their texts rich-text items, their tables table grids with texts in the cells, and, when they are
// not converted, our own drawing of them one-bit bitmap texts.
#include "view/slide_import.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_format.h"
#include "measure/rich_text_items.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "view/glyph_font.h"
#include "view/picture_export.h"
#include "view/view_globals.h"

#include <QAbstractTextDocumentLayout>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <set>

#include <sys/mman.h>

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
const char16_t* const g_slideTimeReduced =
    u"导入用时超过%d秒，此后有%d个文本的图片只画出了开头的一部分或没有画出（可编辑的文本仍然完整）。";
const char16_t* const g_slideShapesLeftOut =
    u"有%d个含有文本的组合图形没有导入：转换为Halvix中可编辑文本时不导入组合图形。"
    u"清除“转换为Halvix中可编辑文本”后再导入，组合图形会作为图片导入。";
const char16_t* const g_slideOutOfMemory =
    u"内存不足，导入已停止：已经导入的页面保留，其余的幻灯片没有导入。";

namespace {

// The text of a frame or a cell through the rich-text editor's paste: the editor's picture (laid out
// within `budget`), name and rich text, or nothing when the text is empty.  A text longer than the
// editor holds is cut to its length (`cut` set), so that it can be edited.
bool PasteText(CDlgRtEdit& editor, const HxSlideText& text, int width, int height, HxLayoutBudget& budget,
               bool& cut) {
    QTextDocument doc;
    HxSlideTextToDocument(text.Beginning(CDlgRtEdit::kMaxTextLength, &cut), true, doc);
    return editor.PasteRichText(doc, width, height, &budget);
}

void TakeEditor(CGTextbit& item, const CDlgRtEdit& editor, const HxSlideText& text) {
    HxTakeRichText(item, editor);
    const QRgb color = HxSlideTextColor(text, true);
    if (qRed(color) > 32 || qGreen(color) > 32 || qBlue(color) > 32) {
        item.m_color.r = BYTE(qRed(color));
        item.m_color.g = BYTE(qGreen(color));
        item.m_color.b = BYTE(qBlue(color));
    }
}

void AddItem(CGPage& page, std::unique_ptr<CGTextbit> item, const char16_t* undoName) {
    ++page.m_nextId;
    page.m_cells.SetAt(item->m_id, item.get());
    item.release(); // the page's now
    page.m_cmdProcessor.Submit(new CCmdAddCell(undoName));
}

// Whether `bytes` more of address space are to be had: mapped and given back at once, never
// touched.  Qt's text layout does not throw when an allocation fails, so what a shape needs is asked
// for before it is made.
bool AddressSpaceLeft(qint64 bytes) {
    void* block = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return false;
    munmap(block, size_t(bytes));
    return true;
}

// What making a picture of `pixels` and documents of `characters` (laid out as far as they show)
// takes at most besides what is kept: the picture in colour and in one bit, the documents and their
// layout (a text of short paragraphs takes some 230 bytes a character), and room for the rest.
qint64 MemoryFor(qint64 pixels, qint64 characters) {
    constexpr qint64 kRoom = 16LL << 20;
    constexpr qint64 kBytesPerCharacter = 256;
    return kRoom + pixels * 5 + characters * kBytesPerCharacter;
}

// The most characters a drawing of the shape lays out of one of its texts (a table's cells and a
// group's members included): what `allowance` lets it, and no more than four times the first
// beginning of the text's box (each beginning laid out is four times the one before, while the
// picture shows more).
qsizetype DrawnCharacters(const HxSlideShape& shape, qsizetype allowance) {
    auto drawn = [allowance](const HxSlideText& text, const HxSlideBox& box) -> qsizetype {
        const qsizetype length = text.Length();
        if (length == 0)
            return 0;
        const HxSlidePlace place = HxPlaceSlideBox(box);
        const qsizetype first =
            HxShownLengthEstimate(place.pixelWidth, place.pixelHeight,
                                  HxSlideTextSmallestPixels(text, place.pixelWidth, place.pixelHeight));
        return std::min({length, allowance, 4 * first});
    };
    qsizetype most = drawn(shape.text, shape.box);
    for (const HxSlideCell& cell : shape.cells)
        most = std::max(most, drawn(cell.text, cell.box));
    for (const HxSlideShape& member : shape.members)
        most = std::max(most, DrawnCharacters(member, allowance));
    return most;
}

class CSlideImporter {
public:
    CSlideImporter(CDlgRtEdit& editor, bool convert, const HxSlideImportBounds& bounds)
        : m_editor(editor), m_convert(convert), m_bounds(bounds) {
        m_budget.left = kSlideImportMaxLaidOut;
        // One long text may take long to lay out: the time is read before each beginning of it.
        m_budget.beforeEachBeginning = [this] { CheckTime(); };
        m_deadline = Now() + bounds.milliseconds;
    }

    // False: stop the import (the message has been shown).
    bool Shape(CGPage& page, const HxSlideShape& shape) {
        CheckTime();
        switch (HxSlideWayOf(shape, m_convert)) {
        case HxSlideWay::kTextFrame:
            return TextFrame(page, shape);
        case HxSlideWay::kTable:
            return Table(page, shape);
        case HxSlideWay::kPicture:
            return Picture(page, shape);
        default:
            m_shapesLeftOut += HxSlideTextsIn(shape) > 0 ? 1 : 0;
            return true;
        }
    }

    // The shapes left out so far that hold text (groups, when converting).
    int ShapesLeftOut() const { return m_shapesLeftOut; }

    // The texts made so far that were cut to the editor's length.
    int Shortened() const { return m_shortened; }
    // The pictures drawn so far from less than their texts would show, before the import's time was
    // over and after it.
    int Reduced() const { return m_late ? m_reducedInTime : m_budget.reduced; }
    int ReducedLate() const { return m_late ? m_budget.reduced - m_reducedInTime : 0; }
    // The texts left out so far: their pictures held nothing dark.
    int TextsLeftOut() const { return m_textsLeftOut; }
    // The slides they were on, each once, in the order met.
    const std::vector<int>& SlidesWithTextsLeftOut() const { return m_slidesWithTextsLeftOut; }
    // The number of the slide whose shapes come next, for what is said of them.
    void BeginSlide(int number) { m_slide = number; }

private:
    qint64 Now() const {
        if (m_bounds.clock)
            return m_bounds.clock();
        return m_timer.elapsed();
    }

    // Once the import has taken its time, what is left lays out no more than a short beginning of
    // each text (HxLayoutBudget::kMinimum): its pictures show less, its editable texts keep all.
    void CheckTime() {
        if (m_late || Now() < m_deadline)
            return;
        m_late = true;
        m_reducedInTime = m_budget.reduced;
        m_budget.left = 0;
    }

    // Whether a text of a drawn shape is drawn, given the pixels its large characters would cover:
    // past the import's time, only as long as what they cover stays within kSlideLateCoverPixels.
    bool MayDraw(qint64 cover) {
        CheckTime();
        if (!m_late || cover == 0)
            return true;
        if (cover > m_lateCoverLeft)
            return false;
        m_lateCoverLeft -= cover;
        return true;
    }

    // Memory running out for the next picture or text stops the import before it is begun.
    static void NeedMemory(qint64 bytes) {
        if (!AddressSpaceLeft(bytes))
            throw std::bad_alloc();
    }

    // The text through the editor's paste: false when it has no text.  A picture that could not be
    // made (its memory was not to be had) ends the import as memory running out does.
    bool Paste(const HxSlideText& text, const HxSlidePlace& place, bool& cut) {
        CheckTime();
        // The editor's document, and the copy of its beginning the picture is drawn from.
        NeedMemory(MemoryFor(qint64(place.pixelWidth) * place.pixelHeight,
                             2 * std::min<qsizetype>(text.Length(), CDlgRtEdit::kMaxTextLength)));
        if (!PasteText(m_editor, text, place.pixelWidth, place.pixelHeight, m_budget, cut))
            return false;
        if (m_editor.m_picture.empty())
            throw std::bad_alloc();
        return true;
    }

    bool TextFrame(CGPage& page, const HxSlideShape& shape) {
        if (!shape.text.HasText() || !page.CanTakeIds(1))
            return true;
        const HxSlidePlace place = HxPlaceSlideBox(shape.box);
        bool cut = false;
        if (!Paste(shape.text, place, cut))
            return true;
        m_shortened += cut ? 1 : 0;
        auto item = std::make_unique<CGTextbit>(page.m_nextId, 0, 0, std::vector<BYTE>());
        TakeEditor(*item, m_editor, shape.text);
        item->m_labelPos[0] = place.x;
        item->m_labelPos[1] = place.y;
        AddItem(page, std::move(item), u"插入文本");
        return true;
    }

    bool Table(CGPage& page, const HxSlideShape& shape) {
        const HxTablePlan plan = HxPlanSlideTable(shape);
        const int made = page.BuildTable(shape.rows, shape.columns, TRUE, plan.x0, plan.y0,
                                         plan.columnWidths.data(), plan.rowHeights.data());
        if (made > 0)
            page.m_cmdProcessor.Submit(new CCmdAddCells(made, u"添加表格"));
        else
            return true; // the page could take no more objects
        const int base = int(page.m_nextId) - 5 * (shape.rows + 1) * shape.columns - 2;
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
            if (!step.Text())
                continue;
            const HxSlideCell& cell = shape.Cell(step.row - 1, step.column - 1);
            if (!cell.text.HasText() || !page.CanTakeIds(1))
                continue;
            const HxSlidePlace size = HxPlaceSlideBox(cell.box);
            bool cut = false;
            if (!Paste(cell.text, size, cut))
                continue;
            const int pointId = base + 5 * step.k;
            CGCell* point = pointId > 0 && pointId < 65536 ? page.FindCell(WORD(pointId)) : nullptr;
            if (!point) {
                AfxMessageBox(g_slideTableFailed, MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            m_shortened += cut ? 1 : 0;
            auto item =
                std::make_unique<CGTbHenchman>(page.m_nextId, m_editor.m_pictureWidth,
                                               m_editor.m_pictureHeight, m_editor.m_picture, point->m_id);
            TakeEditor(*item, m_editor, cell.text);
            AddItem(page, std::move(item), u"插入附点文本");
        }
        return true;
    }

    // Our own drawing of the shape, as a one-bit text of its dark pixels.
    bool Picture(CGPage& page, const HxSlideShape& shape) {
        if (!page.CanTakeIds(1))
            return true;
        const HxSlidePlace size = HxPlaceSlideBox(shape.box);
        NeedMemory(MemoryFor(qint64(size.pixelWidth) * size.pixelHeight,
                             DrawnCharacters(shape, std::max(m_budget.left, HxLayoutBudget::kMinimum))));
        const int reduced = m_budget.reduced;
        // The time is read before each text of a table or group too: one shape may take long.
        const QImage image =
            HxRenderSlideShape(shape, &m_budget, [this](qint64 cover) { return MayDraw(cover); });
        if (image.isNull())
            throw std::bad_alloc(); // the picture's memory was not to be had
        int width = 0, height = 0;
        std::vector<BYTE> bits = HxPictureToMonochrome(image, &width, &height);
        if (bits.empty()) {
            // Nothing dark: nothing to paste, and its texts are left out, not drawn in part.
            m_budget.reduced = reduced;
            m_textsLeftOut += HxSlideTextsIn(shape);
            if (m_slidesWithTextsLeftOut.empty() || m_slidesWithTextsLeftOut.back() != m_slide)
                m_slidesWithTextsLeftOut.push_back(m_slide);
            return true;
        }
        const HxSlidePlace place = HxPlaceSlideBox(shape.box);
        auto item = std::make_unique<CGTextbit>(page.m_nextId, width, height, std::move(bits));
        item->m_kind = 0;
        item->m_labelPos[0] = place.x;
        item->m_labelPos[1] = place.y;
        AddItem(page, std::move(item), u"粘贴图文");
        return true;
    }

    CDlgRtEdit& m_editor;
    bool m_convert;
    const HxSlideImportBounds& m_bounds;
    int m_shortened = 0;
    int m_shapesLeftOut = 0;
    int m_textsLeftOut = 0;
    std::vector<int> m_slidesWithTextsLeftOut;
    int m_slide = 0;
    HxLayoutBudget m_budget;
    QElapsedTimer m_timer = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    qint64 m_deadline = 0;
    bool m_late = false;
    qint64 m_lateCoverLeft = kSlideLateCoverPixels;
    int m_reducedInTime = 0;
};

// The length a save of the document would write now; nothing when it cannot be counted (the save
// would say why).
qint64 StoredLengthOf(CHalvixDoc& doc) {
    try {
        return qint64(std::min<ULONGLONG>(doc.StoredLength(), ULONGLONG(std::numeric_limits<qint64>::max())));
    } catch (const CException&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}

} // namespace

bool HxImportSlideDeck(CHalvixDoc* doc, const HxSlideDeck& deck, int from, int to, bool convert,
                       const std::function<void()>& afterNewPage, const HxSlideImportBounds& bounds) {
    if (!doc || deck.slides.empty())
        return false;
    HxCutSlideRange(deck, from, to);
    // All or nothing: an import past a bound is refused before the first page.
    const CString refusal =
        HxSlideRefusalOf(HxSlideImportCostOf(deck, from, to, convert), StoredLengthOf(*doc), bounds);
    if (!refusal.IsEmpty()) {
        AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
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
    } wait;
    CDlgRtEdit editor;
    CSlideImporter importer(editor, convert, bounds);
    const int pages = doc->GetPageCount();
    // The pages made stay however the import ends, and closing the document asks to save them.
    auto keepPages = [&] {
        if (doc->GetPageCount() != pages)
            doc->SetModifiedFlag(TRUE);
    };
    bool whole = true;
    try {
        for (int n = from; n <= to && whole; ++n) {
            CGPage* before = g_pCurPage;
            doc->OnNewPage();
            if (g_pCurPage == before || !g_pCurPage) {
                keepPages();
                return false;
            }
            if (afterNewPage)
                afterNewPage();
            // Every slide leaves its page, empty when nothing of it was made.
            importer.BeginSlide(n);
            for (const HxSlideShape& shape : deck.Slide(size_t(n - 1)).shapes)
                if (!(whole = importer.Shape(*g_pCurPage, shape)))
                    break;
        }
    } catch (const std::bad_alloc&) {
        // What was being made is given back as the stack unwinds.
        keepPages();
        AfxMessageBox(g_slideOutOfMemory, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    keepPages();
    if (importer.ShapesLeftOut() > 0)
        AfxMessageBox(HxFormat(g_slideShapesLeftOut, importer.ShapesLeftOut()), MB_OK | MB_ICONINFORMATION);
    if (importer.Shortened() > 0)
        AfxMessageBox(HxFormat(g_slideTextsShortened, importer.Shortened(), CDlgRtEdit::kMaxTextLength),
                      MB_OK | MB_ICONINFORMATION);
    if (importer.Reduced() > 0)
        AfxMessageBox(
            HxFormat(g_slidePicturesReduced, importer.Reduced(), int(kSlideImportMaxLaidOut), kMaxShownMarks),
            MB_OK | MB_ICONINFORMATION);
    if (importer.TextsLeftOut() > 0)
        AfxMessageBox(HxFormat(g_slideTextsLeftOut, importer.TextsLeftOut(),
                               HxSlideNumberList(importer.SlidesWithTextsLeftOut())),
                      MB_OK | MB_ICONINFORMATION);
    if (importer.ReducedLate() > 0)
        AfxMessageBox(
            HxFormat(g_slideTimeReduced, int(HxRoundedUp(bounds.milliseconds, 1000)), importer.ReducedLate()),
            MB_OK | MB_ICONINFORMATION);
    return whole && doc->GetPageCount() != pages;
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
    // The whole presentation is read and checked before anything changes.
    HxSlideDeck deck;
    HxPptxError error = kPptxOk;
    try {
        error = HxReadPptxFile(path, deck);
    } catch (const std::bad_alloc&) {
        deck = HxSlideDeck();
        AfxMessageBox(HxFormat(u"无法导入“%s”：内存不足。", path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (error) {
        AfxMessageBox(HxSlideRefusalText(error, path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CDlgPPT dialog;
    dialog.m_source = path;
    dialog.m_to = std::min(deck.slideCount, CDlgPPT::kMaxSlide);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    const int pages = doc->GetPageCount();
    HxImportSlideDeck(doc, deck, dialog.m_from, dialog.m_to, dialog.m_convert != FALSE, afterNewPage);
    return doc->GetPageCount() != pages;
}

BOOL HxImportSlides(CHalvixDoc* doc, const std::function<void()>& afterNewPage) {
    CFileDialog dialog(TRUE, u"PPT", CString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                       g_slideFileFilter);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    return HxImportSlideFile(doc, dialog.GetPathName(), afterNewPage);
}
