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
const char16_t* const g_slideTooManyItems = u"导入的对象过多，超过%d个，请缩小幻灯片范围!";
const char16_t* const g_slidePicturesTooLarge =
    u"导入的图片过大，共需%d百万像素，超过%d百万像素，请缩小幻灯片范围或演示文稿中过大的文本框!";
const char16_t* const g_slideTextTooLarge = u"导入的文本过多，保存它们约需%dMB，超过%dMB，请缩小幻灯片范围!";
const char16_t* const g_slideWorkTooLarge =
    u"导入的内容过于繁杂（文本、段落、换行或表格单元格过多），约为一次导入限度的%d%%，请缩小幻灯片范围!";
const char16_t* const g_slideLessonTooLarge =
    u"导入后文档过大，保存它约需%dMB，超过文档的上限%dMB，请缩小幻灯片范围或先另存、精简当前文档!";
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

constexpr double kPixelsPerPoint = 4.0 / 3.0;
const char16_t* const kDefaultFace = u"宋体";

bool NearWhite(QRgb c) {
    return qRed(c) >= 221 && qGreen(c) >= 221 && qBlue(c) >= 221;
}

QRgb RunColor(const HxSlideRun& run, bool blackenNearWhite) {
    const QRgb c = run.hasColor ? run.color : qRgb(0, 0, 0);
    return blackenNearWhite && NearWhite(c) ? qRgb(0, 0, 0) : c;
}

int PixelSide(double points) {
    if (!std::isfinite(points))
        return 1;
    return int(std::clamp(std::lround(std::clamp(points, 0.0, 1.0e6) * kPixelsPerPoint), 1L,
                          long(HxRtfLimits::kMaxPictureSide)));
}

} // namespace

void HxSlideTextToDocument(const HxSlideText& text, bool blackenNearWhite, QTextDocument& doc) {
    // One edit without undo steps, and no layout made here: a slide's text holds no objects, and a
    // document that is only written out and copied from (the editor's paste) is then never laid out
    // whole, which takes long for a long text.  A layout the document has hears of it once.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    doc.clear();
    QFont font{QString::fromUtf16(kDefaultFace)};
    font.setPointSizeF(text.defaultPoints);
    doc.setDefaultFont(font);
    bool first = true;
    for (const HxSlideParagraph& paragraph : text.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(paragraph.align == 1   ? Qt::AlignHCenter
                           : paragraph.align == 2 ? Qt::AlignRight
                           : paragraph.align == 3 ? Qt::AlignJustify
                                                  : Qt::AlignLeft);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const HxSlideRun& run : paragraph.runs) {
            QTextCharFormat f;
            const QString face = run.face.isEmpty() ? QString::fromUtf16(kDefaultFace) : run.face;
            f.setFontFamilies({face});
            f.setProperty(HxRtf::kFaceKey, face);
            // Faces with names beyond Latin letters are Chinese faces (GB2312) in the RTF.
            bool latin = true;
            for (QChar c : face)
                latin = latin && c.unicode() < 128;
            if (!latin)
                f.setProperty(HxRtf::kFontCharset, 134);
            f.setFontPointSize(run.points > 0 ? run.points : text.defaultPoints);
            f.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(run.italic);
            f.setFontUnderline(run.underline);
            if (run.baseline != 0)
                f.setVerticalAlignment(run.baseline > 0 ? QTextCharFormat::AlignSuperScript
                                                        : QTextCharFormat::AlignSubScript);
            f.setForeground(QColor::fromRgb(RunColor(run, blackenNearWhite)));
            const QStringList lines = run.text.split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    cursor.insertText(QString(QChar::LineSeparator), f);
                if (!lines[i].isEmpty())
                    cursor.insertText(lines[i], f);
            }
        }
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

QRgb HxSlideTextColor(const HxSlideText& text, bool blackenNearWhite) {
    for (const HxSlideParagraph& paragraph : text.paragraphs)
        for (const HxSlideRun& run : paragraph.runs)
            if (!run.text.trimmed().isEmpty())
                return RunColor(run, blackenNearWhite);
    return qRgb(0, 0, 0);
}

namespace {

double RunPoints(const HxSlideText& text, const HxSlideRun& run) {
    return run.points > 0 ? run.points : text.defaultPoints;
}

// Whether the characters of a text from `end` (counted as HxSlideText::Length counts) to the end of
// their paragraph make no line taller than the character before `end` (as HxShownBeginning takes
// it): a size no larger, at the same position to the baseline.  False when `end` starts a paragraph.
bool RestNoTaller(const HxSlideText& text, qsizetype end) {
    qsizetype position = 0;
    for (const HxSlideParagraph& paragraph : text.paragraphs) {
        const HxSlideRun* cut = nullptr;
        for (const HxSlideRun& run : paragraph.runs) {
            if (!cut) {
                position += run.text.size();
                if (position >= end && !run.text.isEmpty())
                    cut = &run;
                continue;
            }
            if (RunPoints(text, run) > RunPoints(text, *cut) || run.baseline != cut->baseline)
                return false;
        }
        if (cut)
            return true;
        if (++position >= end)
            return false; // the cut is at the paragraph's end or the next one's start
    }
    return false;
}

} // namespace

// The text is walked while the characters before are fewer than the box holds of the smallest found
// so far.
double HxSlideTextSmallestPixels(const HxSlideText& text, double width, double height) {
    double points = std::numeric_limits<double>::infinity();
    qsizetype position = 0;
    for (const HxSlideParagraph& paragraph : text.paragraphs) {
        for (const HxSlideRun& run : paragraph.runs) {
            const double size = (std::isfinite(points) ? points : text.defaultPoints) * kPixelsPerPoint;
            if (position > HxShownLengthEstimate(width, height, size))
                return size;
            if (!run.text.isEmpty())
                points = std::min(points, RunPoints(text, run) * (run.baseline != 0 ? 2.0 / 3.0 : 1.0));
            position += run.text.size();
        }
        ++position; // the paragraph's end
    }
    return (std::isfinite(points) ? points : text.defaultPoints) * kPixelsPerPoint;
}

std::unique_ptr<QTextDocument> HxSlideTextShownPart(const HxSlideText& text, double width, double height,
                                                    HxLayoutBudget* budget) {
    const qsizetype first =
        HxShownLengthEstimate(width, height, HxSlideTextSmallestPixels(text, width, height));
    return HxLayOutShownBeginning(
        first, width, height,
        [&](qsizetype length) {
            HxShownBeginning part;
            bool cut = false;
            const HxSlideText beginning = text.Beginning(length, &cut);
            part.doc = std::make_unique<QTextDocument>();
            HxSlideTextToDocument(beginning, false, *part.doc);
            part.marksCut = HxCapCombiningMarks(*part.doc);
            part.whole = !cut;
            part.restNoTaller = cut && RestNoTaller(text, beginning.Length());
            return part;
        },
        budget);
}

namespace {

// What a drawing is given besides its shape: the budget its texts are laid out within, and what is
// asked before each text is laid out (whether to draw it, given what its large characters cover).
struct CDrawing {
    HxLayoutBudget* budget = nullptr;
    const std::function<bool(qint64 cover)>& beforeText;
};

// A text in its box (in the picture's pixels), laid out only as far as the picture shows it: in
// lines as wide as the box up to the picture's largest side, and down to the picture's bottom.
void DrawText(QPainter& painter, const HxSlideText& text, const QRectF& box, const QSize& picture,
              const CDrawing& drawing) {
    if (!text.HasText() || box.width() < 1 || box.height() < 1)
        return;
    const double width = std::min(box.width(), double(HxRtfLimits::kMaxPictureSide));
    const double height = std::min(box.height(), picture.height() - box.top());
    if (height <= 0 || box.left() >= picture.width() || box.left() + width <= 0)
        return; // nothing of it in the picture
    if (drawing.beforeText) {
        // The outlines of large characters are filled over the whole picture, wherever the box clips
        // them.
        const qsizetype shown =
            HxShownLengthEstimate(width, height, HxSlideTextSmallestPixels(text, width, height));
        if (!drawing.beforeText(HxSlideTextCoverPixels(text, shown, picture.width(), picture.height()))) {
            if (drawing.budget)
                ++drawing.budget->reduced;
            return;
        }
    }
    const std::unique_ptr<QTextDocument> doc = HxSlideTextShownPart(text, width, height, drawing.budget);
    painter.save();
    painter.translate(box.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, width, height);
    painter.setClipRect(context.clip);
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
}

QRectF PixelBox(const HxSlideBox& box, double left, double top) {
    return QRectF((box.left - left) * kPixelsPerPoint, (box.top - top) * kPixelsPerPoint,
                  box.width * kPixelsPerPoint, box.height * kPixelsPerPoint);
}

void DrawShape(QPainter& painter, const HxSlideShape& shape, double left, double top, const QSize& picture,
               const CDrawing& drawing) {
    switch (shape.kind) {
    case HxSlideShape::kText:
        DrawText(painter, shape.text, PixelBox(shape.box, left, top), picture, drawing);
        break;
    case HxSlideShape::kTable: {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::NoBrush);
        std::set<std::pair<double, double>> drawn; // a merged cell once
        for (const HxSlideCell& cell : shape.cells) {
            if (!drawn.insert({cell.box.left, cell.box.top}).second)
                continue;
            const QRectF r = PixelBox(cell.box, left, top);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            DrawText(painter, cell.text, r, picture, drawing);
        }
        break;
    }
    case HxSlideShape::kGroup:
        for (const HxSlideShape& member : shape.members)
            DrawShape(painter, member, left, top, picture, drawing);
        break;
    default:
        break;
    }
}

} // namespace

QImage HxRenderSlideShape(const HxSlideShape& shape, HxLayoutBudget* budget,
                          const std::function<bool(qint64 cover)>& beforeEachText) {
    // The faces of the slides' texts ("宋体" and the like) are drawn in the fonts the program puts in
    // their place, as the editor's pictures are, whatever was drawn before.
    HxInstallFontSubstitutions();
    QImage image(PixelSide(shape.box.width), PixelSide(shape.box.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(image.rect());
    DrawShape(painter, shape, shape.box.left, shape.box.top, image.size(), CDrawing{budget, beforeEachText});
    painter.end();
    return image;
}

HxSlidePlace HxPlaceSlideBox(const HxSlideBox& box) {
    const double u = double(g_unitLength) * 4.0 / 3.0;
    HxSlidePlace place;
    place.x = float((box.left - 360.0) * u);
    place.y = float((270.0 - box.top - box.height) * u);
    place.pixelWidth = PixelSide(box.width);
    place.pixelHeight = PixelSide(box.height);
    return place;
}

HxTablePlan HxPlanSlideTable(const HxSlideShape& table) {
    HxTablePlan plan;
    const int rows = table.rows, columns = table.columns;
    if (rows < 1 || columns < 1 || table.cells.size() != size_t(rows) * size_t(columns))
        return plan;
    const double u = double(g_unitLength) * 4.0 / 3.0;
    const HxSlideBox& origin = table.Cell(0, 0).box;
    plan.x0 = float((origin.left - 360.0) * u);
    plan.y0 = float((270.0 - origin.top) * u);
    // Each row as high and each column as wide as its smallest cell.
    plan.rowHeights.assign(size_t(rows) + 1, 10000.0f);
    plan.columnWidths.assign(size_t(columns) + 1, 10000.0f);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c) {
            const HxSlideBox& box = table.Cell(r - 1, c - 1).box;
            plan.rowHeights[size_t(r)] = std::min(plan.rowHeights[size_t(r)], float(box.height * u));
            plan.columnWidths[size_t(c)] = std::min(plan.columnWidths[size_t(c)], float(box.width * u));
        }
    // Rows from the last up, the top of the cell below kept per column.
    std::vector<double> below(size_t(columns) + 1, -10000.0);
    for (int r = rows; r >= 1; --r) {
        double previousLeft = -10000.0;
        for (int c = 1; c <= columns; ++c) {
            const HxSlideBox& box = table.Cell(r - 1, c - 1).box;
            HxTableCellStep step;
            step.row = r;
            step.column = c;
            step.k = columns * r + c;
            step.hideLeft = c != 1 && !(box.left > previousLeft);
            step.hideBelow = r != rows && !(box.top < below[size_t(c)]);
            below[size_t(c)] = box.top;
            previousLeft = box.left;
            plan.steps.push_back(step);
        }
    }
    return plan;
}

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

qint64 RoundedUp(qint64 n, qint64 unit) {
    return std::min<qint64>((n + unit - 1) / unit, INT_MAX);
}

// Why an import of that cost into a lesson of `stored` bytes is refused; empty when it is not.
CString RefusalOf(const HxSlideImportCost& cost, qint64 stored, const HxSlideImportBounds& bounds) {
    if (cost.items > bounds.items)
        return HxFormat(g_slideTooManyItems, int(bounds.items));
    if (cost.pixels > bounds.pixels)
        return HxFormat(g_slidePicturesTooLarge, int(RoundedUp(cost.pixels, 1000000)),
                        int(bounds.pixels / 1000000));
    if (cost.textBytes > bounds.textBytes)
        return HxFormat(g_slideTextTooLarge, int(RoundedUp(cost.textBytes, 1 << 20)),
                        int(bounds.textBytes >> 20));
    if (cost.work > bounds.work)
        return HxFormat(g_slideWorkTooLarge,
                        int(RoundedUp(cost.work * 100, std::max<qint64>(bounds.work, 1))));
    if (cost.storedBytes > bounds.lessonBytes - stored)
        return HxFormat(g_slideLessonTooLarge, int(RoundedUp(stored + cost.storedBytes, 1 << 20)),
                        int(bounds.lessonBytes >> 20));
    return CString();
}

} // namespace

bool HxImportSlideDeck(CHalvixDoc* doc, const HxSlideDeck& deck, int from, int to, bool convert,
                       const std::function<void()>& afterNewPage, const HxSlideImportBounds& bounds) {
    if (!doc || deck.slides.empty())
        return false;
    HxCutSlideRange(deck, from, to);
    // All or nothing: an import past a bound is refused before the first page.
    const CString refusal =
        RefusalOf(HxSlideImportCostOf(deck, from, to, convert), StoredLengthOf(*doc), bounds);
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
            HxFormat(g_slideTimeReduced, int(RoundedUp(bounds.milliseconds, 1000)), importer.ReducedLate()),
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
