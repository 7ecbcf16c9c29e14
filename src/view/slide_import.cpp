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
#include "view/picture_export.h"
#include "view/view_globals.h"

#include <QAbstractTextDocumentLayout>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

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

// The size in pixels of a text's smallest characters (superscripts and subscripts are drawn at two
// thirds of theirs).
double SmallestCharacterPixels(const HxSlideText& text) {
    double points = std::numeric_limits<double>::infinity();
    for (const HxSlideParagraph& paragraph : text.paragraphs)
        for (const HxSlideRun& run : paragraph.runs)
            if (!run.text.isEmpty())
                points = std::min(points, (run.points > 0 ? run.points : text.defaultPoints) *
                                              (run.baseline != 0 ? 2.0 / 3.0 : 1.0));
    return (std::isfinite(points) ? points : text.defaultPoints) * kPixelsPerPoint;
}

} // namespace

std::unique_ptr<QTextDocument> HxSlideTextShownPart(const HxSlideText& text, double width, double height) {
    const qsizetype first = HxShownLengthEstimate(width, height, SmallestCharacterPixels(text));
    return HxLayOutShownBeginning(first, height, [&](qsizetype length, bool& whole) {
        bool cut = false;
        auto doc = std::make_unique<QTextDocument>();
        HxSlideTextToDocument(text.Beginning(length, &cut), false, *doc);
        doc->setTextWidth(width);
        whole = !cut;
        return doc;
    });
}

namespace {

void DrawText(QPainter& painter, const HxSlideText& text, const QRectF& box) {
    if (!text.HasText() || box.width() < 1 || box.height() < 1)
        return;
    const std::unique_ptr<QTextDocument> doc = HxSlideTextShownPart(text, box.width(), box.height());
    painter.save();
    painter.translate(box.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, box.width(), box.height());
    painter.setClipRect(context.clip);
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
}

QRectF PixelBox(const HxSlideBox& box, double left, double top) {
    return QRectF((box.left - left) * kPixelsPerPoint, (box.top - top) * kPixelsPerPoint,
                  box.width * kPixelsPerPoint, box.height * kPixelsPerPoint);
}

void DrawShape(QPainter& painter, const HxSlideShape& shape, double left, double top) {
    switch (shape.kind) {
    case HxSlideShape::kText:
        DrawText(painter, shape.text, PixelBox(shape.box, left, top));
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
            DrawText(painter, cell.text, r);
        }
        break;
    }
    case HxSlideShape::kGroup:
        for (const HxSlideShape& member : shape.members)
            DrawShape(painter, member, left, top);
        break;
    default:
        break;
    }
}

} // namespace

QImage HxRenderSlideShape(const HxSlideShape& shape) {
    QImage image(PixelSide(shape.box.width), PixelSide(shape.box.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(image.rect());
    DrawShape(painter, shape, shape.box.left, shape.box.top);
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

// The text of a frame or a cell through the rich-text editor's paste: the editor's picture, name
// and rich text, or nothing when the text is empty.  A text longer than the editor holds is cut to
// its length (`cut` set), so that it can be edited.
bool PasteText(CDlgRtEdit& editor, const HxSlideText& text, int width, int height, bool& cut) {
    QTextDocument doc;
    HxSlideTextToDocument(text.Beginning(CDlgRtEdit::kMaxTextLength, &cut), true, doc);
    return editor.PasteRichText(doc, width, height);
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

void AddItem(CGPage& page, CGTextbit* item, const char16_t* undoName) {
    ++page.m_nextId;
    page.m_cells.SetAt(item->m_id, item);
    page.m_cmdProcessor.Submit(new CCmdAddCell(undoName));
}

// What the import makes of a shape.
enum class CSlideWay { kLeftOut, kTextFrame, kTable, kPicture };

CSlideWay WayOf(const HxSlideShape& shape, bool convert) {
    switch (shape.kind) {
    case HxSlideShape::kText:
        return convert ? CSlideWay::kTextFrame : CSlideWay::kPicture;
    case HxSlideShape::kTable:
        if (!convert || shape.rows >= kSlideTableAsPicture || shape.columns >= kSlideTableAsPicture)
            return CSlideWay::kPicture;
        return CSlideWay::kTable;
    case HxSlideShape::kGroup:
        return convert ? CSlideWay::kLeftOut : CSlideWay::kPicture;
    default:
        // Pictures, embedded objects and every other shape are left out.
        return CSlideWay::kLeftOut;
    }
}

// The objects the import makes of a shape at most: a text item for a frame with text, the grid and
// a text per carrying cell with text for a table, one picture otherwise (none for a text without
// text: its drawing is blank).
qint64 ItemsOf(const HxSlideShape& shape, bool convert) {
    switch (WayOf(shape, convert)) {
    case CSlideWay::kTextFrame:
        return shape.text.HasText() ? 1 : 0;
    case CSlideWay::kTable: {
        qint64 items = CGPage::TableCellCount(shape.rows, shape.columns);
        for (const HxTableCellStep& step : HxPlanSlideTable(shape).steps)
            if (step.Text() && shape.Cell(step.row - 1, step.column - 1).text.HasText())
                ++items;
        return items;
    }
    case CSlideWay::kPicture:
        return shape.kind == HxSlideShape::kText && !shape.text.HasText() ? 0 : 1;
    default:
        return 0;
    }
}

// The slides from..to as the import takes them: ordered, from the first, the last cut to the deck's.
void CutRange(const HxSlideDeck& deck, int& from, int& to) {
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 1);
    to = std::min<int>(to, int(deck.slides.size()));
}

class CSlideImporter {
public:
    CSlideImporter(CDlgRtEdit& editor, bool convert) : m_editor(editor), m_convert(convert) {}

    // False: stop the import (the message has been shown).
    bool Shape(CGPage& page, const HxSlideShape& shape) {
        switch (WayOf(shape, m_convert)) {
        case CSlideWay::kTextFrame:
            return TextFrame(page, shape);
        case CSlideWay::kTable:
            return Table(page, shape);
        case CSlideWay::kPicture:
            return Picture(page, shape);
        default:
            return true;
        }
    }

    // The texts made so far that were cut to the editor's length.
    int Shortened() const { return m_shortened; }

private:
    bool TextFrame(CGPage& page, const HxSlideShape& shape) {
        if (!shape.text.HasText() || !page.CanTakeIds(1))
            return true;
        const HxSlidePlace place = HxPlaceSlideBox(shape.box);
        bool cut = false;
        if (!PasteText(m_editor, shape.text, place.pixelWidth, place.pixelHeight, cut) ||
            m_editor.m_picture.empty())
            return true;
        m_shortened += cut ? 1 : 0;
        auto* item = new CGTextbit(page.m_nextId, 0, 0, std::vector<BYTE>());
        TakeEditor(*item, m_editor, shape.text);
        item->m_labelPos[0] = place.x;
        item->m_labelPos[1] = place.y;
        AddItem(page, item, u"插入文本");
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
            if (!PasteText(m_editor, cell.text, size.pixelWidth, size.pixelHeight, cut) ||
                m_editor.m_picture.empty())
                continue;
            const int pointId = base + 5 * step.k;
            CGCell* point = pointId > 0 && pointId < 65536 ? page.FindCell(WORD(pointId)) : nullptr;
            if (!point) {
                AfxMessageBox(g_slideTableFailed, MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            m_shortened += cut ? 1 : 0;
            auto* item = new CGTbHenchman(page.m_nextId, m_editor.m_pictureWidth, m_editor.m_pictureHeight,
                                          m_editor.m_picture, point->m_id);
            TakeEditor(*item, m_editor, cell.text);
            AddItem(page, item, u"插入附点文本");
        }
        return true;
    }

    // Our own drawing of the shape, as a one-bit text of its dark pixels.
    bool Picture(CGPage& page, const HxSlideShape& shape) {
        if (!page.CanTakeIds(1))
            return true;
        int width = 0, height = 0;
        std::vector<BYTE> bits = HxPictureToMonochrome(HxRenderSlideShape(shape), &width, &height);
        if (bits.empty())
            return true; // nothing dark: nothing to paste
        const HxSlidePlace place = HxPlaceSlideBox(shape.box);
        auto* item = new CGTextbit(page.m_nextId, width, height, std::move(bits));
        item->m_kind = 0;
        item->m_labelPos[0] = place.x;
        item->m_labelPos[1] = place.y;
        AddItem(page, item, u"粘贴图文");
        return true;
    }

    CDlgRtEdit& m_editor;
    bool m_convert;
    int m_shortened = 0;
};

} // namespace

qint64 HxCountSlideItems(const HxSlideDeck& deck, int from, int to, bool convert) {
    CutRange(deck, from, to);
    qint64 items = 0;
    for (int n = from; n <= to; ++n)
        for (const HxSlideShape& shape : deck.Slide(size_t(n - 1)).shapes)
            items += ItemsOf(shape, convert);
    return items;
}

bool HxImportSlideDeck(CHalvixDoc* doc, const HxSlideDeck& deck, int from, int to, bool convert,
                       const std::function<void()>& afterNewPage) {
    if (!doc || deck.slides.empty())
        return false;
    CutRange(deck, from, to);
    // All or nothing: an import past the bound is refused before the first page.
    if (HxCountSlideItems(deck, from, to, convert) > kSlideImportMaxItems) {
        AfxMessageBox(HxFormat(g_slideTooManyItems, int(kSlideImportMaxItems)), MB_OK | MB_ICONEXCLAMATION);
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
    CSlideImporter importer(editor, convert);
    bool whole = true;
    for (int n = from; n <= to && whole; ++n) {
        CGPage* before = g_pCurPage;
        doc->OnNewPage();
        if (g_pCurPage == before || !g_pCurPage)
            return false;
        if (afterNewPage)
            afterNewPage();
        for (const HxSlideShape& shape : deck.Slide(size_t(n - 1)).shapes)
            if (!(whole = importer.Shape(*g_pCurPage, shape)))
                break;
    }
    doc->SetModifiedFlag(TRUE);
    if (importer.Shortened() > 0)
        AfxMessageBox(HxFormat(g_slideTextsShortened, importer.Shortened(), CDlgRtEdit::kMaxTextLength),
                      MB_OK | MB_ICONINFORMATION);
    return whole;
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
    if (const HxPptxError error = HxReadPptxFile(path, deck)) {
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
