// Slide import ("从幻灯片导入文本"): the dialog's fields, the slides' texts as rich text, our own
// drawing of a shape as a picture, the placement and the table arithmetic, and the import itself,
// which makes one new page per slide of a ".pptx" presentation read by our slide source.
#pragma once

#include "document/pptx_reader.h"
#include "platform/afx.h"

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

class CHalvixDoc;
class QTextDocument;

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
extern const char16_t* const g_slideFileFilter; // "PowerPoint Files(*.ppt;*.pptx)|*.ppt;*.pptx||"
extern const char16_t* const g_slideTableFailed; // "转换表格时出现错误，未找到外框线!"
// The message of an import that would make more objects than kSlideImportMaxItems, with the limit.
extern const char16_t* const g_slideTooManyItems; // "导入的对象过多，超过%d个，请缩小幻灯片范围!"
// Said once after an import that cut texts to the editor's length: their number, and the length.
extern const char16_t* const g_slideTextsShortened; // "有%d个文本超过%d个字符，导入时已截去..."
// The message of a presentation that cannot be imported: the file, and what is wrong with it.
CString HxSlideRefusalText(HxPptxError error, const CString& path);

// A text of the slides as a rich-text document; with `blackenNearWhite`, runs whose red, green and
// blue are all 221 or more become black (they would vanish on the white of the picture).  The
// document is filled in one edit without undo steps; it is laid out only when asked to.
void HxSlideTextToDocument(const HxSlideText& text, bool blackenNearWhite, QTextDocument& doc);
// The colour of a text (its first coloured run, near-white made black with `blackenNearWhite`;
// black without one).
QRgb HxSlideTextColor(const HxSlideText& text, bool blackenNearWhite);

// The beginning of a text that shows in a box `width` x `height` pixels, laid out `width` wide as the
// whole text would be as far as the box reaches: first as many characters as HxShownLengthEstimate
// gives for the box and the text's smallest characters, more while its last line starts above the
// box's bottom (a long text would take long to lay out whole).
std::unique_ptr<QTextDocument> HxSlideTextShownPart(const HxSlideText& text, double width, double height);

// A shape drawn by our own renderer on white, at 4/3 pixels a point (texts, table grids and their
// texts, a group's members; nothing of pictures and other shapes), each side 1 to 4096 pixels.
QImage HxRenderSlideShape(const HxSlideShape& shape);

// Where a shape lands: its lower left corner in drawing units around the centre of a 720 x 540
// point slide, and its size in pixels.
struct HxSlidePlace {
    float x = 0, y = 0;
    int pixelWidth = 1, pixelHeight = 1;
};
HxSlidePlace HxPlaceSlideBox(const HxSlideBox& box);

// The table of a slide as the grid builder takes it, and what each of its cells does: the grid's
// top left corner, its column widths and row heights (from index 1), and, for the rows from the last
// to the first and the columns from the first to the last, whether the cell hides the line on its
// left (merged across) or below it (merged down), or else carries its text.
struct HxTableCellStep {
    int row = 0, column = 0; // from 1
    int k = 0;               // columns x row + column
    bool hideLeft = false;   // the object base + 5k - 7
    bool hideBelow = false;  // the object base + 5k - 3
    bool Text() const { return !hideLeft && !hideBelow; }
};
struct HxTablePlan {
    float x0 = 0, y0 = 0;
    std::vector<float> columnWidths; // [0] unused
    std::vector<float> rowHeights;   // [0] unused
    std::vector<HxTableCellStep> steps;
};
HxTablePlan HxPlanSlideTable(const HxSlideShape& table);
// The smallest table that is drawn as a picture instead: 20 rows or 20 columns.
constexpr int kSlideTableAsPicture = 20;

// The objects the import of the slides from..to (ordered, cut as the import cuts them) would make
// at most with `convert` as the dialog's check box; pages that run out of ids make fewer.
qint64 HxCountSlideItems(const HxSlideDeck& deck, int from, int to, bool convert);
// The most objects one import makes, all its slides together.
constexpr qint64 kSlideImportMaxItems = 20000;

// The import of the slides from..to (ordered, the last cut to the presentation's) of a deck into new
// pages after the current one; `convert` as the dialog's check box.  `afterNewPage` runs after each
// page is added and made current (the view turns to the plane view there).  An import that would
// make more than kSlideImportMaxItems objects shows g_slideTooManyItems and makes nothing.  Texts
// longer than the rich-text editor holds are cut to its length, and g_slideTextsShortened says how
// many once the import is over.  False
// when it stopped on an error (the message is shown; the pages made so far stay) or made nothing.
bool HxImportSlideDeck(CHalvixDoc* doc, const HxSlideDeck& deck, int from, int to, bool convert,
                       const std::function<void()>& afterNewPage);

// ID_CREATE_TEXT3: the file dialog, the presentation read and checked whole, the dialog, then the
// import.  A file that cannot be read shows HxSlideRefusalText and changes nothing.
// TRUE when pages were made (the document is then modified).
BOOL HxImportSlides(CHalvixDoc* doc, const std::function<void()>& afterNewPage);
// The part after the file dialog, for a chosen file.
BOOL HxImportSlideFile(CHalvixDoc* doc, const CString& path, const std::function<void()>& afterNewPage);
