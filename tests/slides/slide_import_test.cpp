// The slide import: ".pptx" files written here read by our slide source (order, places in points,
// runs, merged table cells, groups, placeholders, damaged and hostile archives), and imported into
// pages (rich texts, table grids with their merged cells and cell texts, pictures drawn by us when
// not converted, every refusal changing nothing); and the dialog's window offscreen.
#include "app/slide_import_ui.h"
#include "document/document_test_support.h"
#include "slides/pptx_reader.h"
#include "fuzz/pptx_checks.h"
#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_items.h"
#include "measure/text_items.h"
#include "model/line.h"
#include "pptx_files.h"
#include "slide_deck_fixture.h"
#include "slide_shapes.h"
#include "support/child_process.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <tuple>

#include <sys/stat.h>

using namespace PptxFiles;

namespace {

const QString kRed =
    QStringLiteral("<a:rPr lang=\"zh-CN\" b=\"1\" sz=\"2400\"><a:solidFill><a:srgbClr val=\"FF0000\"/>"
                   "</a:solidFill></a:rPr>");
const QString kWhite =
    QStringLiteral("<a:rPr lang=\"zh-CN\" sz=\"2000\"><a:solidFill><a:srgbClr val=\"FAFAFA\"/>"
                   "</a:solidFill></a:rPr>");

QString TextSlide() {
    return TextBox(3, 100, 200, 300, 60,
                   Paragraph(TextRun(QStringLiteral("正方体"), kRed) + QStringLiteral("<a:br/>") +
                                 TextRun(QStringLiteral("x")) +
                                 TextRun(QStringLiteral("2"),
                                         QStringLiteral("<a:rPr lang=\"en-US\" baseline=\"30000\"/>")),
                             QStringLiteral("ctr")));
}

// A 3 x 3 table at (60, 100): "A" across the first two columns of row 1, "D" down rows 2 and 3 of
// column 1.
QString MergedTable() {
    return Table(4, 60, 100, {100, 80, 80}, {30, 30, 30},
                 {Cell(QStringLiteral("A"), QStringLiteral("gridSpan=\"2\"")) +
                      Cell(QString(), QStringLiteral("hMerge=\"1\"")) + Cell(QStringLiteral("C")),
                  Cell(QStringLiteral("D"), QStringLiteral("rowSpan=\"2\"")) + Cell(QStringLiteral("E")) +
                      Cell(QStringLiteral("F")),
                  Cell(QString(), QStringLiteral("vMerge=\"1\"")) + Cell(QStringLiteral("H")) +
                      Cell(QStringLiteral("I"))});
}

QString GroupAndPicture() {
    return Group(5, 100, 100, 200, 100, 0, 0, 400, 200,
                 TextBox(6, 0, 0, 200, 100, Paragraph(TextRun(QStringLiteral("组内")))) +
                     Picture(7, 200, 0, 200, 200)) +
           Picture(8, 400, 300, 100, 100);
}

// Groups within groups, `depth` deep, with a text box at the bottom.
QString Nested(int depth) {
    QString shapes = TextBox(100, 0, 0, 10, 10, Paragraph(TextRun(QStringLiteral("深"))));
    for (int i = 0; i < depth; ++i)
        shapes = Group(200 + i, 0, 0, 10, 10, 0, 0, 10, 10, shapes);
    return shapes;
}

// A stored archive with one byte of the presentation part's data changed (its checksum then fails).
QByteArray WrongChecksum(QByteArray archive) {
    const qsizetype at = archive.indexOf("<p:sldIdLst>");
    if (at >= 0)
        archive[at + 3] = 'S';
    return archive;
}

HxSlideDeck Read(const QByteArray& bytes, HxPptxError expected = kPptxOk) {
    HxSlideDeck deck;
    EXPECT_EQ(HxReadPptx(bytes, deck), expected);
    return deck;
}

QString Plain(const HxSlideText& text) {
    QString out;
    for (const HxSlideParagraph& p : text.paragraphs)
        for (const HxSlideRun& r : p.runs)
            out += r.text;
    return out;
}

void ExpectBox(const HxSlideBox& box, double left, double top, double width, double height) {
    EXPECT_NEAR(box.left, left, 1e-9);
    EXPECT_NEAR(box.top, top, 1e-9);
    EXPECT_NEAR(box.width, width, 1e-9);
    EXPECT_NEAR(box.height, height, 1e-9);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The slide source

TEST(PptxReader, SlidesComeInThePresentationsOrderWithPlacesInPoints) {
    const HxSlideDeck deck = Read(Presentation({TextSlide(), MergedTable(), GroupAndPicture()}, {2, 0, 1}));
    EXPECT_EQ(deck.slideCount, 3);
    ASSERT_EQ(deck.slides.size(), 3u);
    EXPECT_DOUBLE_EQ(deck.width, 720.0); // 9,144,000 EMU
    EXPECT_DOUBLE_EQ(deck.height, 540.0);
    ASSERT_EQ(deck.slides[0].shapes.size(), 2u);
    EXPECT_EQ(deck.slides[0].shapes[0].kind, HxSlideShape::kGroup);
    EXPECT_EQ(deck.slides[1].shapes[0].kind, HxSlideShape::kText);
    ExpectBox(deck.slides[1].shapes[0].box, 100, 200, 300, 60);
    EXPECT_EQ(deck.slides[2].shapes[0].kind, HxSlideShape::kTable);
    EXPECT_EQ(HxEmuToPoints(12700), 1.0);
}

TEST(PptxReader, RunsKeepTheirFormat) {
    const HxSlideDeck deck = Read(Presentation({TextSlide()}));
    const HxSlideText& text = deck.slides[0].shapes[0].text;
    ASSERT_EQ(text.paragraphs.size(), 1u);
    const HxSlideParagraph& p = text.paragraphs[0];
    EXPECT_EQ(p.align, 1);
    ASSERT_EQ(p.runs.size(), 4u);
    EXPECT_EQ(p.runs[0].text, QStringLiteral("正方体"));
    EXPECT_TRUE(p.runs[0].bold);
    EXPECT_DOUBLE_EQ(p.runs[0].points, 24.0);
    EXPECT_TRUE(p.runs[0].hasColor);
    EXPECT_EQ(p.runs[0].color, qRgb(255, 0, 0));
    EXPECT_EQ(p.runs[1].text, QStringLiteral("\n"));
    EXPECT_EQ(p.runs[3].text, QStringLiteral("2"));
    EXPECT_EQ(p.runs[3].baseline, 1);
    EXPECT_FALSE(p.runs[3].hasColor);
    EXPECT_TRUE(text.HasText());
}

TEST(PptxReader, SchemeColoursComeFromTheMastersTheme) {
    auto scheme = [](const char* name) {
        return QStringLiteral(
                   "<a:rPr lang=\"zh-CN\"><a:solidFill><a:schemeClr val=\"%1\"><a:lumMod val=\"75000\"/>"
                   "</a:schemeClr></a:solidFill></a:rPr>")
            .arg(QLatin1String(name));
    };
    const HxSlideDeck deck = Read(Presentation({TextBox(
        3, 0, 0, 100, 100,
        Paragraph(TextRun(QStringLiteral("a"), scheme("accent1")) +
                  TextRun(QStringLiteral("b"), scheme("tx2")) + TextRun(QStringLiteral("c"), scheme("bg1")) +
                  TextRun(QStringLiteral("d"), scheme("accent6"))))}));
    const std::vector<HxSlideRun>& runs = deck.slides[0].shapes[0].text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].color, qRgb(0x44, 0x72, 0xC4));
    EXPECT_EQ(runs[1].color, qRgb(0x44, 0x54, 0x6A));
    EXPECT_EQ(runs[2].color, qRgb(255, 255, 255));
    EXPECT_TRUE(runs[2].hasColor);
    EXPECT_FALSE(runs[3].hasColor) << "a colour the theme does not name keeps the default";
    // The item's colour is the first run's.
    EXPECT_EQ(HxSlideTextColor(deck.slides[0].shapes[0].text, true), qRgb(0x44, 0x72, 0xC4));
}

TEST(PptxReader, MergedCellsTellTheMergedCellsBoxAndText) {
    const HxSlideShape table = Read(Presentation({MergedTable()})).slides[0].shapes[0];
    ASSERT_EQ(table.kind, HxSlideShape::kTable);
    ASSERT_EQ(table.rows, 3);
    ASSERT_EQ(table.columns, 3);
    ExpectBox(table.Cell(0, 0).box, 60, 100, 180, 30);
    ExpectBox(table.Cell(0, 1).box, 60, 100, 180, 30);
    EXPECT_EQ(Plain(table.Cell(0, 1).text), QStringLiteral("A"));
    ExpectBox(table.Cell(0, 2).box, 240, 100, 80, 30);
    ExpectBox(table.Cell(1, 0).box, 60, 130, 100, 60);
    ExpectBox(table.Cell(2, 0).box, 60, 130, 100, 60);
    EXPECT_EQ(Plain(table.Cell(2, 0).text), QStringLiteral("D"));
    ExpectBox(table.Cell(2, 2).box, 240, 160, 80, 30);
    EXPECT_EQ(Plain(table.Cell(2, 2).text), QStringLiteral("I"));
}

TEST(PptxReader, GroupsMapTheirMembersAndPlaceholdersInheritTheirPlace) {
    const HxSlideDeck deck = Read(Presentation(
        {GroupAndPicture() +
         Placeholder(9, QStringLiteral("title"), -1, Paragraph(TextRun(QStringLiteral("标题")))) +
         Placeholder(10, QString(), 1, Paragraph(TextRun(QStringLiteral("正文"))))}));
    const std::vector<HxSlideShape>& shapes = deck.slides[0].shapes;
    ASSERT_EQ(shapes.size(), 4u);
    const HxSlideShape& group = shapes[0];
    ExpectBox(group.box, 100, 100, 200, 100);
    ASSERT_EQ(group.members.size(), 2u);
    // Child space 400 x 200 onto 200 x 100: half size.
    ExpectBox(group.members[0].box, 100, 100, 100, 50);
    EXPECT_EQ(group.members[1].kind, HxSlideShape::kPicture);
    ExpectBox(group.members[1].box, 200, 100, 100, 100);
    EXPECT_EQ(shapes[1].kind, HxSlideShape::kPicture);
    // The title from the layout, the body (idx 1) from the master through the layout; their sizes
    // from the master's text styles, a text box's the default.
    ExpectBox(shapes[2].box, 36, 20, 648, 90);
    EXPECT_DOUBLE_EQ(shapes[2].text.defaultPoints, 40.0);
    ExpectBox(shapes[3].box, 36, 130, 648, 360);
    EXPECT_DOUBLE_EQ(shapes[3].text.defaultPoints, 24.0);
    EXPECT_DOUBLE_EQ(group.members[0].text.defaultPoints, 18.0);
}

TEST(PptxReader, DamagedAndHostileArchivesAreRefusedWhole) {
    const std::vector<QString> slides{TextSlide(), MergedTable()};
    const QByteArray whole = Presentation(slides);
    const auto entries = Entries(slides);
    QString many;
    for (int i = 0; i < HxPptxLimits::kMaxShapes + 1; ++i)
        many += TextBox(10 + i, 0, 0, 10, 10, QString());
    const struct {
        const char* what;
        QByteArray bytes;
        HxPptxError error;
    } cases[] = {
        {"not an archive", QByteArray("PK not really a zip archive"), kPptxNotArchive},
        {"empty file", QByteArray(), kPptxNotArchive},
        {"an old binary .ppt", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 and more", 17), kPptxOldBinary},
        {"cut in half", whole.left(whole.size() / 2), kPptxNotArchive},
        {"no presentation part", Zip(Without(entries, QStringLiteral("ppt/presentation.xml"))),
         kPptxMissingPart},
        {"a listed slide missing", Zip(Without(entries, QStringLiteral("ppt/slides/slide2.xml"))),
         kPptxMissingPart},
        {"a slide that is no XML",
         Zip(Replacing(entries, QStringLiteral("ppt/slides/slide1.xml"), "<p:sld><p:cSld><p:spTree>")),
         kPptxBadXml},
        {"a slide with a DTD",
         Zip(Replacing(entries, QStringLiteral("ppt/slides/slide1.xml"),
                       "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaa\">]><x>&a;</x>")),
         kPptxBadXml},
        {"a part past its unpacked limit",
         Zip(Replacing(entries, QStringLiteral("ppt/slides/slide1.xml"),
                       QByteArray(HxPptxLimits::kMaxPartBytes + 1, ' '))),
         kPptxTooLarge},
        {"too many shapes", Presentation({many}), kPptxPastLimits},
        {"a place that is no number",
         Presentation({TextBox(3, 1, 1, 1, 1, QString())
                           .replace(QStringLiteral("x=\"12700\""), QStringLiteral("x=\"12abc\""))}),
         kPptxBadValue},
        {"a place beyond any slide",
         Presentation(
             {TextBox(3, 1, 1, 1, 1, QString())
                  .replace(QStringLiteral("x=\"12700\""), QStringLiteral("x=\"99999999999999999\""))}),
         kPptxBadValue},
        {"a part that fails its checksum", WrongChecksum(Zip(entries, true)), kPptxDamagedPart},
        {"no slides", Presentation({}), kPptxNoSlides},
        {"groups nested past the limit", Presentation({Nested(HxPptxLimits::kMaxGroupDepth + 1)}),
         kPptxPastLimits},
    };
    for (const auto& c : cases) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(c.bytes, deck), c.error) << c.what;
        EXPECT_TRUE(deck.slides.empty()) << c.what;
        EXPECT_EQ(deck.slideCount, 0) << c.what;
    }
    // Stored and deflated archives read alike; groups nested up to the limit are read.
    EXPECT_EQ(Read(Zip(entries, true)).slides.size(), 2u);
    EXPECT_EQ(Read(Presentation({Nested(HxPptxLimits::kMaxGroupDepth - 1)})).slides.size(), 1u);
}

TEST(PptxReader, ACountRefusesWhatThePresentationPartTellsAndOpensNoSlide) {
    // The count reads the package's relationships, the presentation part and its relationships, and
    // looks up the slides it lists: it refuses what the reading refuses of those, and counts a deck
    // whose slides, layout or master are damaged (the reading refuses it once it reads them).
    const std::vector<QString> slides{TextSlide(), MergedTable()};
    const QByteArray whole = Presentation(slides);
    const auto entries = Entries(slides);
    QString many;
    for (int i = 0; i < HxPptxLimits::kMaxShapes + 1; ++i)
        many += TextBox(10 + i, 0, 0, 10, 10, QString());
    const QString presentation = QStringLiteral("ppt/presentation.xml");
    QByteArray badSize;
    for (const auto& [name, bytes] : entries)
        if (name == presentation)
            badSize = QByteArray(bytes).replace("cx=\"9144000\"", "cx=\"9x\"");
    ASSERT_TRUE(badSize.contains("cx=\"9x\""));
    const struct {
        const char* what;
        QByteArray bytes;
        HxPptxError read, count; // count kPptxOk: the two slides are counted
    } cases[] = {
        {"not an archive", QByteArray("PK not really a zip archive"), kPptxNotArchive, kPptxNotArchive},
        {"an old binary .ppt", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 and more", 17), kPptxOldBinary,
         kPptxOldBinary},
        {"cut in half", whole.left(whole.size() / 2), kPptxNotArchive, kPptxNotArchive},
        {"no presentation part", Zip(Without(entries, presentation)), kPptxMissingPart, kPptxMissingPart},
        {"a presentation part that is no XML", Zip(Replacing(entries, presentation, "<p:presentation><p:sldIdLst>")),
         kPptxBadXml, kPptxBadXml},
        {"a slide size that is no number", Zip(Replacing(entries, presentation, badSize)), kPptxBadValue,
         kPptxBadValue},
        {"a presentation part that fails its checksum", WrongChecksum(Zip(entries, true)), kPptxDamagedPart,
         kPptxDamagedPart},
        {"no slides", Presentation({}), kPptxNoSlides, kPptxNoSlides},
        {"a listed slide missing", Zip(Without(entries, QStringLiteral("ppt/slides/slide2.xml"))),
         kPptxMissingPart, kPptxMissingPart},
        {"a slide that is no XML",
         Zip(Replacing(entries, QStringLiteral("ppt/slides/slide1.xml"), "<p:sld><p:cSld><p:spTree>")),
         kPptxBadXml, kPptxOk},
        {"a slide's relationships that are no XML",
         Zip(Replacing(entries, QStringLiteral("ppt/slides/_rels/slide1.xml.rels"), "<Relationships>")),
         kPptxBadXml, kPptxOk},
        {"a layout that is no XML",
         Zip(Replacing(entries, QStringLiteral("ppt/slideLayouts/slideLayout1.xml"), "<p:sldLayout>")),
         kPptxBadXml, kPptxOk},
        {"a master that is no XML",
         Zip(Replacing(entries, QStringLiteral("ppt/slideMasters/slideMaster1.xml"), "<p:sldMaster>")),
         kPptxBadXml, kPptxOk},
        {"a slide past its unpacked limit",
         Zip(Replacing(entries, QStringLiteral("ppt/slides/slide1.xml"),
                       QByteArray(HxPptxLimits::kMaxPartBytes + 1, ' '))),
         kPptxTooLarge, kPptxOk},
        {"too many shapes", Presentation({many, many}), kPptxPastLimits, kPptxOk},
    };
    for (const auto& c : cases) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(c.bytes, deck), c.read) << c.what;
        int count = -1;
        EXPECT_EQ(HxCountPptx(c.bytes, count), c.count) << c.what;
        EXPECT_EQ(count, c.count == kPptxOk ? 2 : 0) << c.what;
    }
    // The slides listed, however many: a part listed again counts again, past the hundred read too.
    int count = 0;
    EXPECT_EQ(HxCountPptx(Presentation({TextSlide()}, std::vector<int>(150, 0)), count), kPptxOk);
    EXPECT_EQ(count, 150);
    EXPECT_EQ(HxCountPptx(Presentation({TextSlide(), MergedTable(), GroupAndPicture()}, {2, 0, 1}), count), kPptxOk);
    EXPECT_EQ(count, 3);
    // Files as the reading takes them.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(HxCountPptxFile(CString::FromQString(dir.path()), count), kPptxNotRegular);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(HxCountPptxFile(CString::FromQString(dir.filePath(QStringLiteral("none.pptx"))), count),
              kPptxCannotOpen);
    const QString path = dir.filePath(QStringLiteral("deck.pptx"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(whole);
    }
    EXPECT_EQ(HxCountPptxFile(CString::FromQString(path), count), kPptxOk);
    EXPECT_EQ(count, 2);
}

TEST(PptxReader, AlternateContentTakesTheFallbackAndEmbeddedObjectsAreKnown) {
    const QString alternate =
        QStringLiteral(
            "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
            "<mc:Choice Requires=\"v\">%1</mc:Choice><mc:Fallback>%2</mc:Fallback></mc:AlternateContent>")
            .arg(TextBox(3, 0, 0, 10, 10, Paragraph(TextRun(QStringLiteral("choice")))),
                 TextBox(4, 0, 0, 10, 10, Paragraph(TextRun(QStringLiteral("fallback")))));
    const QString ole = QStringLiteral(
        "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"5\" "
        "name=\"Object\"/><p:cNvGraphicFramePr/><p:nvPr/>"
        "</p:nvGraphicFramePr><p:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"127000\" cy=\"127000\"/></p:xfrm>"
        "<a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/presentationml/2006/ole\"><p:oleObj "
        "progId=\"Equation.3\" r:id=\"rId3\"/></a:graphicData></a:graphic></p:graphicFrame>");
    const HxSlideDeck deck = Read(Presentation({alternate + ole}));
    const std::vector<HxSlideShape>& shapes = deck.slides[0].shapes;
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(Plain(shapes[0].text), QStringLiteral("fallback"));
    EXPECT_EQ(shapes[1].kind, HxSlideShape::kOle);
    ExpectBox(shapes[1].box, 0, 0, 10, 10);
}

// ---------------------------------------------------------------------------------------------
// Placement and the table's arithmetic

TEST(SlidePlacement, PointsAroundTheSlidesCentreInDrawingUnits) {
    const float saved = g_unitLength;
    g_unitLength = 0.05f;
    const HxSlidePlace place = HxPlaceSlideBox({100, 200, 300, 60});
    EXPECT_NEAR(place.x, (100 - 360) * 0.05 * 4 / 3, 1e-5); // -17.333
    EXPECT_NEAR(place.y, (270 - 200 - 60) * 0.05 * 4 / 3, 1e-5);
    EXPECT_EQ(place.pixelWidth, 400);
    EXPECT_EQ(place.pixelHeight, 80);
    // Sizes are kept within the pictures' limits.
    EXPECT_EQ(HxPlaceSlideBox({0, 0, 1e9, 0}).pixelWidth, 4096);
    EXPECT_EQ(HxPlaceSlideBox({0, 0, 1e9, 0}).pixelHeight, 1);
    g_unitLength = saved;
}

TEST(SlidePlacement, MergedCellsHideTheLinesBetweenThemAndTheRestCarryTheText) {
    const float saved = g_unitLength;
    g_unitLength = 0.05f;
    const HxSlideShape table = Read(Presentation({MergedTable()})).slides[0].shapes[0];
    const HxTablePlan plan = HxPlanSlideTable(table);
    const double u = 0.05 * 4 / 3;
    EXPECT_NEAR(plan.x0, (60 - 360) * u, 1e-5);
    EXPECT_NEAR(plan.y0, (270 - 100) * u, 1e-5);
    // Each column as wide as its narrowest cell, each row as high as its lowest.
    EXPECT_NEAR(plan.columnWidths[1], 100 * u, 1e-5);
    EXPECT_NEAR(plan.columnWidths[2], 80 * u, 1e-5);
    EXPECT_NEAR(plan.rowHeights[2], 30 * u, 1e-5);
    EXPECT_NEAR(plan.rowHeights[3], 30 * u, 1e-5);
    // Rows 3, 2, 1; columns 1, 2, 3.
    ASSERT_EQ(plan.steps.size(), 9u);
    std::vector<std::tuple<int, int, int, bool, bool>> got;
    for (const HxTableCellStep& s : plan.steps)
        got.emplace_back(s.row, s.column, s.k, s.hideLeft, s.hideBelow);
    const std::vector<std::tuple<int, int, int, bool, bool>> expected{
        {3, 1, 10, false, false}, {3, 2, 11, false, false}, {3, 3, 12, false, false},
        {2, 1, 7, false, true},   {2, 2, 8, false, false},  {2, 3, 9, false, false},
        {1, 1, 4, false, false},  {1, 2, 5, true, false},   {1, 3, 6, false, false},
    };
    EXPECT_EQ(got, expected);
    g_unitLength = saved;
}

// ---------------------------------------------------------------------------------------------
// The import into pages

class SlideImportTest : public SlideFileTest {
protected:
    // Imports a file with the dialog answered: the range and the check box; notes what the dialog
    // offered and the pages turned.
    BOOL Import(const QByteArray& bytes, int from, int to, bool convert) {
        return ImportFile(
            Write(bytes), from, to, convert,
            [this](const CDlgPPT& ppt) {
                m_offered = ppt.m_to;
                m_source = ppt.m_source;
            },
            [this] { ++m_pagesTurned; });
    }
    // The page at a place of the list (0 the first), made current.
    CGPage* GoTo(int index) {
        POSITION pos = m_doc->m_pages.GetHeadPosition();
        CGPage* page = nullptr;
        for (int i = 0; i <= index && pos; ++i)
            page = m_doc->m_pages.GetNext(pos);
        m_doc->SetCurrentPage(page);
        return page;
    }
    template <class T> std::vector<T*> Cells(CGPage* page) { return SlideShapes::CellsOf<T>(page); }
    std::vector<CString> UndoNames(CGPage* page) {
        std::vector<CString> names;
        while (CCmd* cmd = page->m_cmdProcessor.GetCurrent()) {
            names.insert(names.begin(), cmd->GetName());
            if (!page->m_cmdProcessor.Undo())
                break;
        }
        return names;
    }
    int m_offered = -1;
    CString m_source;
    int m_pagesTurned = 0;
};

TEST_F(SlideImportTest, TextFramesBecomeRichTextsOnePagePerSlide) {
    const QByteArray bytes = Presentation(
        {TextSlide(), TextBox(3, 0, 0, 200, 40, Paragraph(TextRun(QStringLiteral("白色"), kWhite))),
         TextBox(3, 0, 0, 200, 40, QString())});
    // From 3 to 1 imports 1 to 3; the dialog offered slides 1 to 3.
    ASSERT_TRUE(Import(bytes, 3, 1, true));
    EXPECT_EQ(m_offered, 3);
    EXPECT_TRUE(m_source.ToQString().endsWith(QStringLiteral("slides.pptx")));
    EXPECT_EQ(m_doc->GetPageCount(), 4);
    EXPECT_EQ(m_pagesTurned, 3);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(m_messages.empty());

    // The last page (slide 3) holds an empty text frame: nothing.
    EXPECT_TRUE(Cells<CGCell>(g_pCurPage).empty());

    GoTo(2);
    auto white = Cells<CGTextbit>(g_pCurPage);
    ASSERT_EQ(white.size(), 1u);
    // Near-white text arrives black: dark bits, and the default text colour kept.
    EXPECT_NE(std::count_if(white[0]->m_bits.begin(), white[0]->m_bits.end(), [](BYTE b) { return b != 0; }),
              0);
    EXPECT_EQ(white[0]->m_color.r, g_colorText.r);
    EXPECT_EQ(white[0]->m_color.b, g_colorText.b);

    GoTo(1);
    auto texts = Cells<CGTextbit>(g_pCurPage);
    ASSERT_EQ(texts.size(), 1u);
    CGTextbit* text = texts[0];
    EXPECT_EQ(text->m_kind, 1);
    // As wide as the box; it begins where the lines do, the top inset (3.6 points, 4.8 pixels) less
    // the document's own margin (4 pixels) below the box's top, a pixel rounded, and ends at its
    // bottom.
    EXPECT_EQ(text->m_width, 400);
    EXPECT_EQ(text->m_height, 79);
    EXPECT_FLOAT_EQ(text->m_param2, 400.0f);
    EXPECT_FLOAT_EQ(text->m_param3, 79.0f);
    EXPECT_NEAR(text->m_labelPos[0], (100 - 360) * 0.05 * 4 / 3, 1e-5);
    EXPECT_NEAR(text->m_labelPos[1], (270 - 200 - 60) * 0.05 * 4 / 3, 1e-5);
    EXPECT_EQ(text->m_color.r, 255);
    EXPECT_EQ(text->m_color.g, 0);
    // The rich text keeps the runs' formats.
    const QByteArray rtf = UnpackRtfBytes(text->m_text1);
    EXPECT_TRUE(rtf.contains("\\red255\\green0\\blue0")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\super")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\b")) << rtf.constData();
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(rtf, doc));
    EXPECT_TRUE(HxRichPlainText(doc).startsWith(QStringLiteral("正方体")));
    EXPECT_TRUE(text->m_name.ToQString().startsWith(QStringLiteral("正方体")));

    ASSERT_NE(g_pCurPage->m_cmdProcessor.GetCurrent(), nullptr);
    EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCurrent()->GetName(), u"插入文本");

    // The imported pages survive a save and a load, rich text and all.
    const CString storedRtf = text->m_text1;
    const std::vector<BYTE> picture = text->m_bits;
    ASSERT_TRUE(Load(Store()));
    EXPECT_EQ(m_doc->GetPageCount(), 4);
    auto loaded = Cells<CGTextbit>(GoTo(1));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0]->m_text1, storedRtf);
    EXPECT_EQ(loaded[0]->m_bits, picture);
    EXPECT_EQ(loaded[0]->m_kind, 1);
    EXPECT_FLOAT_EQ(loaded[0]->m_param2, 400.0f);
}

TEST_F(SlideImportTest, TablesBecomeGridsWithMergedCellsAndCellTexts) {
    ASSERT_TRUE(Import(Presentation({MergedTable()}), 1, 1, true));
    CGPage* page = g_pCurPage;
    // The table's own cells, then seven texts.
    EXPECT_EQ(int(page->m_nextId) - 1, CGPage::TableCellCount(3, 3) + 7);
    const WORD anchor = 1;
    ASSERT_EQ(page->FindCell(anchor)->m_name, u"Table");
    // The line below the first cell of row 2 (its merge down) and the one between the first two
    // cells of row 1 (their merge across) are hidden; no other line.
    std::vector<WORD> hidden;
    for (CGLine* line : Cells<CGLine>(page))
        if (line->m_hidden)
            hidden.push_back(line->m_id);
    EXPECT_EQ(hidden, std::vector<WORD>({WORD(anchor + 15), WORD(anchor + 29)}));
    // Each text follows the point of the cell that carries it.
    std::map<QString, QString> follows;
    for (CGTbHenchman* text : Cells<CGTbHenchman>(page)) {
        ASSERT_EQ(text->m_parents.GetSize(), 1);
        EXPECT_EQ(text->m_kind, 1);
        follows[text->m_name.ToQString()] = page->FindCell(text->m_parents[0])->m_name.ToQString();
    }
    const std::map<QString, QString> expected{{"A", "T11"}, {"C", "T13"}, {"E", "T22"}, {"F", "T23"},
                                              {"D", "T31"}, {"H", "T32"}, {"I", "T33"}};
    EXPECT_EQ(follows, expected);
    std::vector<CString> names{u"添加表格"};
    names.insert(names.end(), 7, CString(u"插入附点文本"));
    EXPECT_EQ(UndoNames(page), names);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SlideImportTest, GroupsAndPicturesAreSkippedWhenConverting) {
    ASSERT_TRUE(Import(Presentation({GroupAndPicture()}), 1, 1, true));
    EXPECT_EQ(m_doc->GetPageCount(), 2);
    EXPECT_TRUE(Cells<CGCell>(g_pCurPage).empty());
}

TEST_F(SlideImportTest, WithoutConversionOurDrawingBecomesOneBitTexts) {
    ASSERT_TRUE(Import(Presentation({TextSlide() + MergedTable() + GroupAndPicture()}), 1, 1, false));
    const auto texts = Cells<CGTextbit>(g_pCurPage);
    // The text frame, the table and the group; the pictures are left out.
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(Cells<CGCell>(g_pCurPage).size(), 3u);
    for (CGTextbit* text : texts) {
        EXPECT_EQ(text->m_kind, 0);
        EXPECT_GT(text->m_width, 0);
        EXPECT_GT(text->m_height, 0);
    }
    // The table's picture is cropped to its lines: 260 x 90 points is 347 x 120 pixels.
    EXPECT_NEAR(texts[1]->m_height, 120, 2);
    EXPECT_NEAR(texts[1]->m_labelPos[0], (60 - 360) * 0.05 * 4 / 3, 1e-5);
    EXPECT_EQ(UndoNames(g_pCurPage), std::vector<CString>(3, CString(u"粘贴图文")));
}

TEST_F(SlideImportTest, ATableOfTwentyRowsArrivesAsAPicture) {
    std::vector<QString> rows(20, Cell(QStringLiteral("r")) + Cell(QStringLiteral("s")));
    ASSERT_TRUE(
        Import(Presentation({Table(4, 10, 10, {50, 50}, std::vector<double>(20, 20), rows)}), 1, 1, true));
    const auto all = Cells<CGCell>(g_pCurPage);
    ASSERT_EQ(all.size(), 1u);
    ASSERT_NE(DYNAMIC_DOWNCAST(CGTextbit, all[0]), nullptr);
    EXPECT_EQ(all[0]->m_kind, 0);
}

TEST_F(SlideImportTest, ARefusedFileChangesNothing) {
    const std::vector<QString> slides{TextSlide()};
    const QByteArray whole = Presentation(slides);
    // What the count reads (the archive, the presentation part, the slides listed) is refused before
    // the dialog; what only a slide tells, after it, when the slides are read.
    const struct {
        QByteArray bytes;
        const char16_t* message;
        bool afterDialog = false;
    } cases[] = {
        {QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
         u"这是旧的二进制PowerPoint文件（.ppt），不能导入。请先在演示软件中把它另存为.pptx格式。"},
        {whole.left(whole.size() - 30), u"它不是PowerPoint演示文稿（.pptx），或者文件已损坏。"},
        {Zip(Without(Entries(slides), QStringLiteral("ppt/slides/slide1.xml"))),
         u"演示文稿不完整，缺少其中列出的部分，文件可能已损坏。"},
        {Zip(Replacing(Entries(slides), QStringLiteral("ppt/slides/slide1.xml"), "<p:sld>")),
         u"文件已损坏，其中有格式不正确的内容。", true},
        {Zip(Replacing(Entries(slides), QStringLiteral("ppt/presentation.xml"),
                       QByteArray(HxPptxLimits::kMaxPartBytes + 100, 'x'))),
         u"文件或其中的某一部分太大，超出了导入的限度。"},
    };
    for (const auto& c : cases) {
        m_messages.clear();
        bool asked = false;
        const QString path = Write(c.bytes);
        HxSetDialogRunner([&asked](CDialog&) -> INT_PTR {
            asked = true;
            return IDOK;
        });
        EXPECT_FALSE(HxImportSlideFile(m_doc.get(), CString::FromQString(path), nullptr));
        HxSetDialogRunner(nullptr);
        EXPECT_EQ(asked, c.afterDialog) << "a dialog only for a file whose slides are counted";
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0],
                  HxFormat(u"无法导入“%s”：%s", CString::FromQString(path), CString(c.message)));
        EXPECT_EQ(m_doc->GetPageCount(), 1);
        EXPECT_FALSE(m_doc->IsModified());
    }
    // A file that is not there.
    m_messages.clear();
    const CString none = CString::FromQString(m_dir.filePath(QStringLiteral("none.pptx")));
    EXPECT_FALSE(HxImportSlideFile(m_doc.get(), none, nullptr));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], HxFormat(u"无法导入“%s”：文件不存在或无法读取。", none));
}

TEST_F(SlideImportTest, CancellingTheDialogChangesNothing) {
    const QString path = Write(Presentation({TextSlide()}));
    HxSetDialogRunner([](CDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_FALSE(HxImportSlideFile(m_doc.get(), CString::FromQString(path), nullptr));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SlideImportTest, AskingForSlidesPastTheEndImportsUpToTheLast) {
    ASSERT_TRUE(Import(Presentation({TextSlide(), TextSlide()}), 2, 9, true));
    EXPECT_EQ(m_doc->GetPageCount(), 2);
    EXPECT_EQ(Cells<CGTextbit>(g_pCurPage).size(), 1u);
}

TEST_F(SlideImportTest, NearWhiteTurnsBlackAndLightTextThatShowsNothingIsLeftOutAndSaid) {
    auto colored = [](const char* rgb) {
        return QStringLiteral(
                   "<a:rPr lang=\"zh-CN\"><a:solidFill><a:srgbClr val=\"%1\"/></a:solidFill></a:rPr>")
            .arg(QLatin1String(rgb));
    };
    auto preset = [](const char* name) {
        return QStringLiteral(
                   "<a:rPr lang=\"zh-CN\"><a:solidFill><a:prstClr val=\"%1\"/></a:solidFill></a:rPr>")
            .arg(QLatin1String(name));
    };
    // Each text on its own slide: light cyan (204, 255, 255), the lightest colours that are kept in
    // each channel, the darkest that turn black, light cyan as a preset, and the darkest colours
    // that still colour the item.  The light colours that are kept draw nothing dark in the one-bit
    // picture the item shows: those texts would show nothing, and are left out and said.
    const std::vector<QString> runs{
        colored("CCFFFF"), colored("DCFFFF"), colored("FFDCFF"), colored("FFFFDC"), colored("DDDDDD"),
        preset("ltCyan"),  colored("210000"), colored("002100"), colored("000021"), colored("202020")};
    std::vector<QString> slides;
    for (const QString& run : runs)
        slides.push_back(TextBox(3, 100, 200, 300, 60, Paragraph(TextRun(QStringLiteral("青色"), run))));
    ASSERT_TRUE(Import(Presentation(slides), 1, int(slides.size()), true));
    const CRgba none = g_colorText;
    const struct {
        int r, g, b;          // the item's colour
        const char* rtfColor; // the run's colour in the rich text
        const char* lost;     // a colour the rich text must not hold
    } expected[] = {
        {204, 255, 255, "\\red204\\green255\\blue255", "\\red0\\green0\\blue0"},
        {220, 255, 255, "\\red220\\green255\\blue255", "\\red0\\green0\\blue0"},
        {255, 220, 255, "\\red255\\green220\\blue255", "\\red0\\green0\\blue0"},
        {255, 255, 220, "\\red255\\green255\\blue220", "\\red0\\green0\\blue0"},
        {none.r, none.g, none.b, "\\red0\\green0\\blue0", "\\red221"},
        {none.r, none.g, none.b, "\\red0\\green0\\blue0", "\\red224"},
        {33, 0, 0, "\\red33\\green0\\blue0", "\\red0\\green0\\blue0;"},
        {0, 33, 0, "\\red0\\green33\\blue0", "\\red0\\green0\\blue0;"},
        {0, 0, 33, "\\red0\\green0\\blue33", "\\red0\\green0\\blue0;"},
        {none.r, none.g, none.b, "\\red32\\green32\\blue32", "\\red0\\green0\\blue0;"},
    };
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(
        m_messages[0].ToQString().startsWith(QStringLiteral("有4个文本没有导入（位于幻灯片1、2、3、4）")))
        << m_messages[0].ToQString().toStdString();
    for (size_t n = 0; n < slides.size(); ++n) {
        const auto texts = Cells<CGTextbit>(GoTo(int(n) + 1));
        if (n < 4) {
            EXPECT_TRUE(texts.empty()) << n;
            continue;
        }
        ASSERT_EQ(texts.size(), 1u) << n;
        const CGTextbit* text = texts[0];
        EXPECT_EQ(std::tuple(int(text->m_color.r), int(text->m_color.g), int(text->m_color.b)),
                  std::tuple(expected[n].r, expected[n].g, expected[n].b))
            << n;
        const QByteArray rtf = UnpackRtfBytes(text->m_text1);
        EXPECT_TRUE(rtf.contains(expected[n].rtfColor)) << n << " " << rtf.constData();
        EXPECT_FALSE(rtf.contains(expected[n].lost)) << n << " " << rtf.constData();
    }
}

TEST(PptxReader, PresetColoursByTheirShortAndLongNames) {
    auto run = [](const char* name) {
        const HxSlideDeck deck = Read(Presentation(
            {TextBox(3, 0, 0, 10, 10,
                     Paragraph(TextRun(
                         QStringLiteral("a"),
                         QStringLiteral("<a:rPr><a:solidFill><a:prstClr val=\"%1\"/></a:solidFill></a:rPr>")
                             .arg(QLatin1String(name)))))}));
        if (deck.slides.empty() || deck.slides[0].shapes.empty() ||
            deck.slides[0].shapes[0].text.paragraphs.empty() ||
            deck.slides[0].shapes[0].text.paragraphs[0].runs.empty()) {
            ADD_FAILURE() << name << " not read";
            return HxSlideRun();
        }
        return deck.slides[0].shapes[0].text.paragraphs[0].runs[0];
    };
    const struct {
        const char* name;
        QRgb color;
    } presets[] = {
        {"ltCyan", qRgb(224, 255, 255)},
        {"lightCyan", qRgb(224, 255, 255)},
        {"dkBlue", qRgb(0, 0, 139)},
        {"darkBlue", qRgb(0, 0, 139)},
        {"medSeaGreen", qRgb(60, 179, 113)},
        {"mediumSeaGreen", qRgb(60, 179, 113)},
        {"ltGoldenrodYellow", qRgb(250, 250, 210)},
        {"dkOliveGreen", qRgb(85, 107, 47)},
        {"medVioletRed", qRgb(199, 21, 133)},
        {"cyan", qRgb(0, 255, 255)},
    };
    for (const auto& p : presets) {
        const HxSlideRun r = run(p.name);
        EXPECT_TRUE(r.hasColor) << p.name;
        EXPECT_EQ(r.color, p.color) << p.name;
    }
    EXPECT_FALSE(run("ltNothing").hasColor);
    EXPECT_FALSE(run("").hasColor);
}

TEST_F(SlideImportTest, DarkPresetColoursArriveInTheirColour) {
    ASSERT_TRUE(Import(Presentation({TextBox(
                           3, 100, 200, 300, 60,
                           Paragraph(TextRun(QStringLiteral("深蓝"),
                                             QStringLiteral("<a:rPr><a:solidFill><a:prstClr val=\"dkBlue\"/>"
                                                            "</a:solidFill></a:rPr>"))))}),
                       1, 1, true));
    const auto texts = Cells<CGTextbit>(g_pCurPage);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(std::tuple(int(texts[0]->m_color.r), int(texts[0]->m_color.g), int(texts[0]->m_color.b)),
              std::tuple(0, 0, 139));
    EXPECT_TRUE(UnpackRtfBytes(texts[0]->m_text1).contains("\\red0\\green0\\blue139"));
}

// ---------------------------------------------------------------------------------------------
// The bound of the whole import

namespace {

QString Boxes(int count) {
    QString out;
    for (int i = 0; i < count; ++i)
        out += TextBox(10 + i, 10, 10, 40, 20, Paragraph(TextRun(QStringLiteral("文"))));
    return out;
}

// Tables without text, each making only its grid.
QString EmptyTables(int count, int side) {
    QString out;
    const std::vector<QString> rows(size_t(side), [side] {
        QString row;
        for (int c = 0; c < side; ++c)
            row += Cell(QString());
        return row;
    }());
    for (int i = 0; i < count; ++i)
        out += Table(3000 + i, 10, 10, std::vector<double>(size_t(side), 20),
                     std::vector<double>(size_t(side), 10), rows);
    return out;
}

} // namespace

TEST_F(SlideImportTest, TheWholeImportMakesAtMostTwentyThousandObjects) {
    ASSERT_EQ(CGPage::TableCellCount(19, 19), 1883);
    ASSERT_EQ(CGPage::TableCellCount(1, 1), 11);
    // 10 x 1883 objects on the first slide and 106 x 11 + 4 on the second: 20,000; one more on
    // the third.
    const QByteArray bytes = Presentation({EmptyTables(10, 19), EmptyTables(106, 1) + Boxes(4), Boxes(1)});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    EXPECT_EQ(HxCountSlideItems(deck, 1, 2, true), 20000);
    EXPECT_EQ(HxCountSlideItems(deck, 3, 1, true), 20001);
    EXPECT_EQ(HxCountSlideItems(deck, 2, 9, true), 1171);
    EXPECT_EQ(HxCountSlideItems(deck, -4, 1, true), 18830);
    // Unconverted, each shape is one picture.
    EXPECT_EQ(HxCountSlideItems(deck, 1, 3, false), 10 + 106 + 4 + 1);

    ASSERT_FALSE(Import(bytes, 1, 3, true));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"导入的对象过多，超过20000个，请减少演示文稿中的文本框和表格，或缩小幻灯片范围!"));
    EXPECT_EQ(m_doc->GetPageCount(), 1) << "nothing is imported";
    EXPECT_EQ(m_pagesTurned, 0);
    EXPECT_FALSE(m_doc->IsModified());

    m_messages.clear();
    ASSERT_TRUE(Import(bytes, 1, 2, true));
    EXPECT_TRUE(m_messages.empty());
    ASSERT_EQ(m_doc->GetPageCount(), 3);
    EXPECT_EQ(int(GoTo(1)->m_nextId) - 1, 10 * 1883);
    EXPECT_EQ(int(GoTo(2)->m_nextId) - 1, 106 * 11 + 4);
}

TEST_F(SlideImportTest, TheObjectsCountedAreTheObjectsMade) {
    // Texts, tables with texts and merged cells, a group, pictures, an empty text and a table drawn
    // as a picture, converted and not.
    std::vector<QString> big(20, Cell(QStringLiteral("r")) + Cell(QStringLiteral("s")));
    const QString slide = TextSlide() + MergedTable() + GroupAndPicture() +
                          TextBox(30, 0, 0, 10, 10, QString()) +
                          Table(31, 10, 10, {50, 50}, std::vector<double>(20, 20), big);
    const QByteArray bytes = Presentation({slide, TextSlide()});
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    for (bool convert : {true, false}) {
        const int before = m_doc->GetPageCount();
        ASSERT_TRUE(Import(bytes, 1, 2, convert));
        int made = 0;
        for (int n = before; n < m_doc->GetPageCount(); ++n)
            made += int(GoTo(n)->m_nextId) - 1;
        EXPECT_EQ(HxCountSlideItems(deck, 1, 2, convert), made) << convert;
        EXPECT_EQ(made, convert ? CGPage::TableCellCount(3, 3) + 7 + 1 + 1 + 1 : 1 + 1 + 1 + 1 + 1)
            << convert;
    }
}

TEST_F(SlideImportTest, ASlideListedAHundredTimesIsBoundedAsAHundredSlides) {
    // One slide part of 201 texts listed 100 times: 20,100 objects.
    std::vector<QString> slides{Boxes(201)};
    const QByteArray bytes = Presentation(slides, std::vector<int>(100, 0));
    ASSERT_FALSE(Import(bytes, 1, 100, true));
    EXPECT_EQ(m_offered, 100);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"导入的对象过多，超过20000个，请减少演示文稿中的文本框和表格，或缩小幻灯片范围!"));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    EXPECT_FALSE(m_doc->IsModified());
    // A few of them are imported, each its own page with its texts.
    m_messages.clear();
    ASSERT_TRUE(Import(bytes, 99, 100, true));
    EXPECT_EQ(m_doc->GetPageCount(), 3);
    EXPECT_EQ(Cells<CGTextbit>(GoTo(1)).size(), 201u);
    EXPECT_EQ(Cells<CGTextbit>(GoTo(2)).size(), 201u);
}

TEST_F(SlideImportTest, FilesThatAreNoRegularFilesAreRefusedAtOnce) {
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.pptx"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zero = m_dir.filePath(QStringLiteral("zero.pptx"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString folder = m_dir.filePath(QStringLiteral("folder.pptx"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.pptx")));
    for (const QString& path : {pipe, zero, folder}) {
        // In a child that the alarm ends should it block, whose memory is bounded.
        const int result = HxRunInChild(
            [&] {
                HxCapChildMemory(1LL << 30);
                bool asked = false;
                HxSetDialogRunner([&asked](CDialog&) -> INT_PTR {
                    asked = true;
                    return IDOK;
                });
                BOOL imported = TRUE;
                try {
                    imported = HxImportSlideFile(m_doc.get(), CString::FromQString(path), nullptr);
                } catch (...) {
                    return 2; // out of memory
                }
                return !imported && !asked && m_messages.size() == 1 &&
                               m_messages[0] ==
                                   HxFormat(u"无法导入“%s”：它不是普通文件（可能是文件夹、管道或设备）。",
                                            CString::FromQString(path)) &&
                               m_doc->GetPageCount() == 1 && !m_doc->IsModified()
                           ? 0
                           : 1;
            },
            -1, 10);
        EXPECT_EQ(result, 0) << path.toStdString();
    }
}

TEST_F(SlideImportTest, EveryReasonOfARefusalIsSaidInWords) {
    const std::vector<QString> slides{TextSlide()};
    const auto entries = Entries(slides);
    // The value out of range is a slide's: refused once the slides are read, after the dialog.
    const struct {
        QByteArray bytes;
        const char16_t* message;
        bool afterDialog = false;
    } cases[] = {
        {WrongChecksum(Zip(entries, true)), u"文件已损坏，其中有无法解压的部分。"},
        {Presentation({}), u"演示文稿中没有幻灯片。"},
        {Presentation({TextBox(3, 1, 1, 1, 1, QString())
                           .replace(QStringLiteral("x=\"12700\""), QStringLiteral("x=\"1000000000001\""))}),
         u"文件中有无效的数值，文件可能已损坏。", true},
    };
    for (const auto& c : cases) {
        m_messages.clear();
        m_offered = -1;
        EXPECT_FALSE(Import(c.bytes, 1, 1, true));
        EXPECT_EQ(m_offered, c.afterDialog ? 1 : -1) << "a dialog only for a file whose slides are counted";
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], HxFormat(u"无法导入“%s”：%s",
                                          CString::FromQString(m_dir.filePath(QStringLiteral("slides.pptx"))),
                                          CString(c.message)));
        EXPECT_EQ(m_doc->GetPageCount(), 1);
        EXPECT_FALSE(m_doc->IsModified());
    }
}

// ---------------------------------------------------------------------------------------------
// The dialog's window

TEST(SlideImportWindow, ShowsItsFieldsAndRefusesSlidesOutsideOneToAHundred) {
    std::vector<CString> messages;
    HxSetMessageBoxHandler([&messages](const CString& text, const CString&, UINT) {
        messages.push_back(text);
        return IDOK;
    });
    CDlgPPT fields;
    fields.m_source = u"/tmp/课件.pptx";
    fields.m_to = 6;
    CSlideImportWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("从PPT导入文本"));
    EXPECT_EQ(window.Edit(CDlgPPT::kSource)->text(), QStringLiteral("/tmp/课件.pptx"));
    EXPECT_EQ(window.Edit(CDlgPPT::kFrom)->text(), QStringLiteral("1"));
    EXPECT_EQ(window.Edit(CDlgPPT::kTo)->text(), QStringLiteral("6"));
    EXPECT_TRUE(window.Button(CDlgPPT::kConvert)->isChecked());
    auto* help = qobject_cast<QPlainTextEdit*>(window.Control(CDlgPPT::kHelp));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isReadOnly());
    EXPECT_TRUE(help->toPlainText().contains(
        QStringLiteral("4.导入内容为文本框、含文本的图形框、表格、组合图形、嵌入的OLE对象等。")));
    for (const auto& [from, to] :
         {std::pair{"0", "5"}, std::pair{"1", "101"}, std::pair{"-3", "2"}, std::pair{"x", "2"}}) {
        window.Edit(CDlgPPT::kFrom)->setText(QString::fromUtf8(from));
        window.Edit(CDlgPPT::kTo)->setText(QString::fromUtf8(to));
        window.accept();
        EXPECT_NE(window.result(), QDialog::Accepted) << from << " " << to;
    }
    EXPECT_EQ(messages.size(), 4u);
    EXPECT_EQ(fields.m_from, 1);
    EXPECT_EQ(fields.m_to, 6);
    window.Edit(CDlgPPT::kFrom)->setText(QStringLiteral("100"));
    window.Edit(CDlgPPT::kTo)->setText(QStringLiteral("1"));
    window.Button(CDlgPPT::kConvert)->setChecked(false);
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_from, 100);
    EXPECT_EQ(fields.m_to, 1);
    EXPECT_FALSE(fields.m_convert);
    HxSetMessageBoxHandler(nullptr);
}

// ---------------------------------------------------------------------------------------------
// The fuzzer's kept corpus: seeds and findings, each read or refused with every check holding.

TEST(PptxCorpus, KeptInputsPassEveryCheck) {
    const QDir dir(QDir(QString::fromLocal8Bit(qgetenv("HALVIX_TEST_SOURCE_DIR")))
                       .filePath(QStringLiteral("tests/slides/fuzz/corpus-pptx")));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << dir.path().toStdString();
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        hx_pptx_checks::CheckInput(file.readAll(), [&name](const char* what) {
            ADD_FAILURE() << name.toStdString() << ": " << what;
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Long texts

namespace {

HxSlideRun MakeRun(const QString& text, bool bold = false) {
    HxSlideRun run;
    run.text = text;
    run.bold = bold;
    return run;
}

HxSlideParagraph Para(std::vector<HxSlideRun> runs, int align = 0) {
    HxSlideParagraph p;
    p.align = align;
    p.runs = std::move(runs);
    return p;
}

QString Joined(const HxSlideText& text) {
    QStringList paragraphs;
    for (const HxSlideParagraph& p : text.paragraphs) {
        QString s;
        for (const HxSlideRun& r : p.runs)
            s += r.text;
        paragraphs << s;
    }
    return paragraphs.join(u'|');
}

// A text box of one paragraph holding `text`.
QString LongBox(const QString& text, double width = 300, double height = 120) {
    return TextBox(3, 0, 0, width, height, Paragraph(TextRun(text)));
}

// The whole text laid out and drawn into a picture of the box (framed first, as a table's cell), as
// a drawing that lays out all of it, where the slide places a text at the top of its box: its top
// inset (less the document's own margin) down.
QImage WholeTextDrawn(const HxSlideText& text, const HxSlideBox& box, bool framed = false) {
    const double width = box.width * 4 / 3, height = box.height * 4 / 3;
    QImage image(int(std::lround(width)), int(std::lround(height)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QTextDocument doc;
    HxSlideTextToDocument(text, false, doc);
    doc.setTextWidth(width);
    QPainter painter(&image);
    if (framed) {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.drawRect(QRectF(0, 0, width, height).adjusted(0, 0, -1, -1));
    }
    QAbstractTextDocumentLayout::PaintContext context;
    const QPointF origin(0, text.frame.top * 4 / 3 - 4);
    painter.setClipRect(QRectF(0, 0, width, height));
    painter.translate(origin);
    context.clip = QRectF(0, 0, width, height).translated(-origin);
    doc.documentLayout()->draw(&painter, context);
    painter.end();
    return image;
}

} // namespace

TEST(SlideText, BeginningCountsParagraphEndsAndKeepsCharactersWhole) {
    const QString face = QString::fromUtf16(u"\U0001F600x"); // a character in two halves, then x
    HxSlideText text;
    text.defaultPoints = 44;
    text.paragraphs = {Para({MakeRun(QStringLiteral("a")), MakeRun(QStringLiteral("b"), true)}, 1),
                       Para({MakeRun(QStringLiteral("c\nd"))}), Para({MakeRun(face)}, 2)};
    EXPECT_EQ(text.Length(), 10);
    QTextDocument doc;
    HxSlideTextToDocument(text, false, doc);
    EXPECT_EQ(doc.characterCount() - 1, text.Length()) << "counted as the editor counts";

    bool cut = true;
    EXPECT_EQ(Joined(text.Beginning(10, &cut)), QString(QStringLiteral("ab|c\nd|") + face));
    EXPECT_FALSE(cut);
    const struct {
        qsizetype length;
        QString kept;
    } cases[] = {
        {0, QStringLiteral("")},
        {1, QStringLiteral("a")},
        {2, QStringLiteral("ab")},
        {3, QStringLiteral("ab|")},
        {5, QStringLiteral("ab|c\n")},
        {7, QStringLiteral("ab|c\nd|")},
        {8, QStringLiteral("ab|c\nd|")}, // not half of the character
        {9, QStringLiteral("ab|c\nd|") + face.left(2)},
    };
    for (const auto& c : cases) {
        const HxSlideText part = text.Beginning(c.length, &cut);
        EXPECT_TRUE(cut) << c.length;
        EXPECT_EQ(Joined(part), c.kept) << c.length;
        EXPECT_LE(part.Length(), c.length) << c.length;
        EXPECT_EQ(part.defaultPoints, 44);
    }
    // Formats and alignments stay with what is kept.
    const HxSlideText part = text.Beginning(7);
    ASSERT_EQ(part.paragraphs.size(), 3u);
    EXPECT_EQ(part.paragraphs[0].align, 1);
    EXPECT_TRUE(part.paragraphs[0].runs[1].bold);
    EXPECT_EQ(part.paragraphs[2].align, 2);
    EXPECT_TRUE(part.paragraphs[2].runs.empty());
}

TEST(SlideText, ALongTextIsDrawnAsTheWholeTextWouldBe) {
    // Paragraphs of words, an unbroken word of 20,000 characters and more words: only the part that
    // shows is laid out, and the picture is the same.
    HxSlideText text;
    QString words;
    for (int i = 0; i < 40; ++i)
        words += QStringLiteral("立方体 cube%1 ").arg(i);
    text.paragraphs = {Para({MakeRun(words, true)}, 1), Para({MakeRun(QString(20000, u'x'))}),
                       Para({MakeRun(words)}, 2)};
    for (const double height : {60.0, 300.0, 2000.0}) {
        HxSlideShape shape;
        shape.kind = HxSlideShape::kText;
        shape.box = {10, 10, 240, height};
        shape.text = text;
        const QImage drawn = HxRenderSlideShape(shape);
        EXPECT_EQ(drawn, WholeTextDrawn(text, shape.box)) << height;
    }
    // A table's cell the same way.
    const HxSlideShape table = SlideShapes::OneCellTable(text, 200, 100);
    const QImage cell = HxRenderSlideShape(table);
    EXPECT_EQ(cell, WholeTextDrawn(text, table.box, true));
}

TEST_F(SlideImportTest, ATableOfTwentyColumnsAndFewerRowsArrivesAsAPicture) {
    auto table = [](int rows, int columns) {
        QString row;
        for (int c = 0; c < columns; ++c)
            row += Cell(QStringLiteral("c%1").arg(c));
        return Table(4, 10, 10, std::vector<double>(size_t(columns), 30),
                     std::vector<double>(size_t(rows), 20), std::vector<QString>(size_t(rows), row));
    };
    ASSERT_TRUE(Import(Presentation({table(2, 20)}), 1, 1, true));
    const auto all = Cells<CGCell>(g_pCurPage);
    ASSERT_EQ(all.size(), 1u);
    ASSERT_NE(DYNAMIC_DOWNCAST(CGTextbit, all[0]), nullptr);
    EXPECT_EQ(all[0]->m_kind, 0);
    EXPECT_EQ(UndoNames(g_pCurPage), std::vector<CString>{CString(u"粘贴图文")});
    // 19 columns make a grid.
    ASSERT_TRUE(Import(Presentation({table(2, 19)}), 1, 1, true));
    EXPECT_EQ(Cells<CGTbHenchman>(g_pCurPage).size(), 38u);
}

TEST_F(SlideImportTest, AnUnbrokenWordOfAMebibyteIsDrawnAtOnce) {
    // Each import in a child that the alarm ends should it run long, its memory bounded.
    const QString word(1 << 20, u'w');
    const std::vector<QString> row(2, Cell(QStringLiteral("a")));
    std::vector<QString> rows(20, row[0] + row[1]);
    rows[3] = Cell(word) + row[1];
    // Two rows of twenty cells, the word in the first row's fourth.
    std::vector<QString> columns(2);
    for (int c = 0; c < 20; ++c) {
        columns[0] += c == 3 ? Cell(word) : row[0];
        columns[1] += row[0];
    }
    const struct {
        const char* what;
        QByteArray bytes;
        bool convert;
    } cases[] = {
        {"a text box drawn", Presentation({LongBox(word)}), false},
        {"a table of twenty rows",
         Presentation({Table(4, 10, 10, {200, 50}, std::vector<double>(20, 20), rows)}), true},
        {"a table of twenty columns",
         Presentation({Table(4, 10, 10, std::vector<double>(20, 30), {20, 20}, columns)}), true},
        {"a group drawn", Presentation({Group(5, 0, 0, 300, 120, 0, 0, 300, 120, LongBox(word))}), false},
    };
    for (const auto& c : cases) {
        const int result = HxRunInChild(
            [&] {
                HxCapChildMemory(512LL << 20);
                try {
                    if (!Import(c.bytes, 1, 1, c.convert))
                        return 2;
                } catch (...) {
                    return 3; // out of memory
                }
                const auto texts = Cells<CGTextbit>(g_pCurPage);
                if (texts.size() != 1 || texts[0]->m_kind != 0)
                    return 4;
                // The word's letters are drawn: dark bits.
                return std::any_of(texts[0]->m_bits.begin(), texts[0]->m_bits.end(), [](BYTE b) { return b; })
                           ? 0
                           : 5;
            },
            -1, 30);
        EXPECT_EQ(result, 0) << c.what;
    }
}

TEST_F(SlideImportTest, TextsLongerThanTheEditorHoldsAreCutToItAndCountedOnce) {
    const int limit = CDlgRtEdit::kMaxTextLength;
    // Exactly the limit: two paragraphs and the end between them.
    const QString first(limit / 2, u'a'), second(limit - limit / 2 - 1, u'b');
    ASSERT_TRUE(Import(
        Presentation({TextBox(3, 0, 0, 200, 40, Paragraph(TextRun(first)) + Paragraph(TextRun(second)))}), 1,
        1, true));
    // Not cut to the editor's length.  Its lines run far past the largest picture (4,096 pixels,
    // from the box's top): that is said.
    const CString cut =
        u"有1个文本超出了幻灯片的边界或导入的图片大小的限度，超出的部分没有画出（位于幻灯片1）。";
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], cut);
    auto editable = [](CGCell* cell, QString* plain) {
        CDlgRtEdit editor;
        HxOpenRichText(*cell, editor);
        QTextDocument doc;
        bool tooLong = true;
        const bool opened = editor.LoadDocument(doc, &tooLong) && !tooLong;
        *plain = HxRichPlainText(doc);
        return opened;
    };
    QString plain;
    auto texts = Cells<CGTextbit>(g_pCurPage);
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_TRUE(editable(texts[0], &plain));
    EXPECT_EQ(plain.size(), limit);

    // One past it in a text box, and far past it in two cells of a table: each is cut to the
    // limit, and one message after the import counts the three (and one the text box's lines past
    // its picture; a cell's end at its cell).
    m_messages.clear();
    const QString over(limit + 1, u'c');
    const QString far(200000, u'd');
    ASSERT_TRUE(Import(Presentation({LongBox(over) + Table(4, 10, 200, {100, 100}, {30},
                                                           {Cell(far) + Cell(QStringLiteral("短") + far)})}),
                       1, 1, true));
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], u"有3个文本超过32767个字符，导入时已截去超出的部分，以便在编辑器中编辑。");
    EXPECT_EQ(m_messages[1], cut);
    texts = Cells<CGTextbit>(g_pCurPage);
    ASSERT_EQ(texts.size(), 3u);
    std::vector<QString> kept;
    for (CGTextbit* text : texts) {
        ASSERT_TRUE(editable(text, &plain));
        EXPECT_EQ(plain.size(), limit);
        kept.push_back(plain.left(1));
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<QString>{QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("短")}));

    // Drawn as pictures (conversion off), nothing is cut to the editor's length; its lines past the
    // slide's bottom are said.
    m_messages.clear();
    ASSERT_TRUE(Import(Presentation({LongBox(over)}), 1, 1, false));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], cut);
    EXPECT_EQ(Cells<CGTextbit>(g_pCurPage).size(), 1u);
}

TEST_F(SlideImportTest, AWordOfFifteenMebibytesImportsInMemoryInProportion) {
    const QByteArray bytes = Presentation({LongBox(QString(15 << 20, u'z'))});
    EXPECT_LT(bytes.size(), 100 << 10) << "a small file";
    for (const bool convert : {true, false}) {
        const int result = HxRunInChild(
            [&] {
                HxCapChildMemory(512LL << 20);
                try {
                    if (!Import(bytes, 1, 1, convert))
                        return 2;
                } catch (...) {
                    return 3; // out of memory
                }
                // Cut to the editor's length when converted; its lines past the largest picture or
                // the slide's bottom said.
                return Cells<CGTextbit>(g_pCurPage).size() == 1 && m_messages.size() == (convert ? 2u : 1u)
                           ? 0
                           : 4;
            },
            -1, 30);
        EXPECT_EQ(result, 0) << (convert ? "converted" : "drawn");
    }
}

namespace {

// Where an imported picture lies on the slide, in points: the page's drawing units back to the
// slide's points (the slide's centre at the origin, 4/3 pixels a point, g_unitLength a pixel).
struct SlidePlace {
    double left, top, right, bottom;
};
SlidePlace PlaceOf(const CGTextbit& text) {
    const double unitsPerPoint = double(g_unitLength) * 4.0 / 3.0;
    SlidePlace p;
    p.left = 360.0 + double(text.m_labelPos[0]) / unitsPerPoint;
    p.bottom = 270.0 - double(text.m_labelPos[1]) / unitsPerPoint;
    p.right = p.left + text.m_width * 0.75;
    p.top = p.bottom - text.m_height * 0.75;
    return p;
}

} // namespace

TEST_F(SlideImportTest, DrawnTextsLandWhereTheSlideShowsThem) {
    // Each on a slide of its own, drawn as pictures: two lines of 24 points at the top of a box 380
    // points tall; a box from 450 points down reaching 210 points past the slide's bottom (540); a
    // title centred and one right-aligned in boxes across the slide; a box fitted to its line.
    const QString twoLines = Paragraph(SizedRun(QStringLiteral("底面积乘以高"), 24)) +
                             Paragraph(SizedRun(QStringLiteral("V = Sh"), 24));
    const std::vector<QString> slides{
        TextBox(3, 36, 100, 648, 380, twoLines),
        TextBox(3, 36, 450, 648, 300, Paragraph(SizedRun(QStringLiteral("拉长的文本框"), 24))),
        TextBox(3, 36, 20, 648, 90, Paragraph(SizedRun(QStringLiteral("棱柱"), 44), QStringLiteral("ctr"))),
        TextBox(3, 36, 20, 648, 90, Paragraph(SizedRun(QStringLiteral("棱柱"), 44), QStringLiteral("r"))),
        TextBox(3, 200, 300, 80, 30, Paragraph(SizedRun(QStringLiteral("棱柱"), 18))),
    };
    ASSERT_TRUE(Import(Presentation(slides), 1, int(slides.size()), false));
    EXPECT_TRUE(m_messages.empty());
    std::vector<SlidePlace> places;
    for (int n = 0; n < int(slides.size()); ++n) {
        const auto texts = Cells<CGTextbit>(GoTo(n + 1));
        ASSERT_EQ(texts.size(), 1u) << n;
        places.push_back(PlaceOf(*texts[0]));
    }
    // The two lines: below the box's top by its inset and the line's leading, far above its bottom
    // (480), two lines high.
    EXPECT_GT(places[0].top, 100.0);
    EXPECT_LT(places[0].top, 115.0);
    EXPECT_LT(places[0].bottom, 175.0);
    EXPECT_GE(places[0].left, 36.0 - 0.01);
    EXPECT_LT(places[0].left, 36.0 + 10.0);
    // The stretched box: its line where the slide shows it, above the slide's bottom.
    EXPECT_GT(places[1].top, 450.0);
    EXPECT_LT(places[1].top, 465.0);
    EXPECT_LT(places[1].bottom, 540.0);
    // The titles: centred about the slide's middle (360), and ending at the box's right (684).
    EXPECT_NEAR((places[2].left + places[2].right) / 2, 360.0, 3.0);
    EXPECT_LE(places[3].right, 684.0 + 0.01);
    EXPECT_GT(places[3].right, 684.0 - 10.0);
    EXPECT_GT(places[3].left, 500.0);
    // The fitted box: within it, its lower left corner where it was (the box's) up to the margins.
    EXPECT_GE(places[4].left, 200.0 - 0.01);
    EXPECT_LE(places[4].left, 200.0 + 10.0);
    EXPECT_LE(places[4].bottom, 330.0);
    EXPECT_GE(places[4].bottom, 330.0 - 3.6 - 8.0);
    EXPECT_GE(places[4].top, 300.0);
    EXPECT_LE(places[4].right, 280.0);
}

TEST_F(SlideImportTest, AnEditableTextThatShowsNothingIsLeftOutAndSaid) {
    // The middle slide of three holds one box 2 points wide of an 18-point word: converted, its
    // picture would hold nothing dark.  Three pages, the middle one empty, and a message naming it.
    const QString word = Paragraph(SizedRun(QStringLiteral("棱柱"), 18));
    const std::vector<QString> slides{TextBox(3, 100, 100, 200, 40, word), TextBox(3, 100, 100, 2, 40, word),
                                      TextBox(3, 100, 100, 200, 40, word)};
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        m_messages.clear();
        const int pages = m_doc->GetPageCount();
        ASSERT_TRUE(Import(Presentation(slides), 1, 3, convert));
        ASSERT_EQ(m_doc->GetPageCount(), pages + 3);
        EXPECT_EQ(Cells<CGTextbit>(GoTo(pages)).size(), 1u);
        EXPECT_TRUE(Cells<CGCell>(GoTo(pages + 1)).empty());
        EXPECT_EQ(Cells<CGTextbit>(GoTo(pages + 2)).size(), 1u);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_TRUE(m_messages[0].ToQString().startsWith(QStringLiteral("有1个文本没有导入（位于幻灯片2）")))
            << m_messages[0].ToQString().toStdString();
    }
}
