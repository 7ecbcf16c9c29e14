// Where the import puts a slide's texts: the text body's insets and anchoring read through the
// placeholders' chain and a table cell's margins, texts shrunk to fit as stored, lines past the box
// drawn as the slide shows them (and those past the slide's edge said), the first paragraph's space
// before it, and converted table cells' texts at their insets; in both modes, each place worked out
// from the deck's own numbers.
#include "app/slide_import_ui.h"
#include "document/document_test_support.h"
#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_items.h"
#include "measure/text_items.h"
#include "model/free_points.h"
#include "pptx_files.h"
#include "slide_deck_fixture.h"
#include "slide_shapes.h"
#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"
#include "slides/slide_deck_draw.h"
#include "slides/slide_draw.h"
#include "slides/slide_records.h"
#include "slides/slide_text.h"
#include "support/page_snapshot.h"
#include "view/glyph_font.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>

#include <algorithm>

using namespace PptxFiles;

namespace {

constexpr double kPixel = 0.75; // points

QString Emus(double points) {
    return QString::number(Emu(points));
}

// A paragraph of one run of `points`, with its own paragraph properties.
QString SizedParagraph(const QString& text, double points, const QString& properties = QString()) {
    return QStringLiteral("<a:p>%1%2</a:p>")
        .arg(properties.isEmpty() ? QString() : QStringLiteral("<a:pPr>%1</a:pPr>").arg(properties),
             SizedRun(text, points));
}

// Where the ink of a one-bit picture lies on the slide, in points, the picture's lower left corner at
// (x, y) in the page's drawing units; and the rows of ink apart from each other (the lines drawn).
struct Ink {
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0;
    int bands = 0;
    double Middle() const { return (top + bottom) / 2; }
};
Ink InkOf(const CGTextbit& item, double x, double y) {
    const double unitsPerPoint = double(g_unitLength) * 4.0 / 3.0;
    const double left = 360.0 + x / unitsPerPoint, bottom = 270.0 - y / unitsPerPoint;
    const int rowBytes = (item.m_width + 31) / 32 * 4;
    Ink ink;
    int minColumn = item.m_width, maxColumn = -1, minRow = item.m_height, maxRow = -1;
    bool inBand = false;
    // Rows from the top down (the bits are stored from the bottom row up).
    for (int fromTop = 0; fromTop < item.m_height; ++fromTop) {
        const int row = item.m_height - 1 - fromTop;
        bool dark = false;
        for (int column = 0; column < item.m_width; ++column)
            if (item.m_bits[size_t(row * rowBytes + column / 8)] & (0x80 >> (column % 8))) {
                dark = true;
                minColumn = std::min(minColumn, column);
                maxColumn = std::max(maxColumn, column);
            }
        if (dark) {
            minRow = std::min(minRow, row);
            maxRow = std::max(maxRow, row);
        }
        ink.bands += dark && !inBand ? 1 : 0;
        inBand = dark;
    }
    if (maxColumn < 0)
        return ink;
    ink.any = true;
    ink.left = left + minColumn * kPixel;
    ink.right = left + (maxColumn + 1) * kPixel;
    ink.top = bottom - (maxRow + 1) * kPixel;
    ink.bottom = bottom - minRow * kPixel;
    return ink;
}
Ink InkOf(const CGTextbit& item) {
    return InkOf(item, item.m_labelPos[0], item.m_labelPos[1]);
}
Ink InkOf(const CGTbHenchman& item) {
    return InkOf(item, item.m_px, item.m_py);
}

class SlidePlacementTest : public SlideFileTest {
protected:
    // The imported slides' pages from the first new one: each with its one text item.
    std::vector<CGTextbit*> ImportedTexts(const std::vector<QString>& slides, bool convert,
                                          const DeckStyles& styles = DeckStyles()) {
        const int before = m_doc->GetPageCount();
        EXPECT_TRUE(Import(Presentation(slides, styles), 1, int(slides.size()), convert));
        std::vector<CGTextbit*> texts;
        POSITION pos = m_doc->m_pages.GetHeadPosition();
        for (int i = 0; pos; ++i) {
            CGPage* page = m_doc->m_pages.GetNext(pos);
            if (i < before)
                continue;
            const auto cells = SlideShapes::CellsOf<CGTextbit>(page);
            EXPECT_EQ(cells.size(), 1u) << "slide " << i - before + 1;
            texts.push_back(cells.empty() ? nullptr : cells[0]);
        }
        return texts;
    }
};

class SlidePlacementBothWays : public SlidePlacementTest, public ::testing::WithParamInterface<bool> {};

} // namespace

// ---------------------------------------------------------------------------------------------
// What the reader keeps

TEST(SlideTextFrame, InsetsAndAnchoringComeFromTheNearestPlaceThatStatesThem) {
    DeckStyles styles;
    // The master centres its titles and sets their left inset; the layout moves their top inset.
    styles.masterTitleBody = QStringLiteral("<a:bodyPr lIns=\"0\" anchor=\"ctr\"/>");
    styles.layoutTitleBody = QStringLiteral("<a:bodyPr tIns=\"%1\"/>").arg(Emus(20));
    styles.masterBodyBody = QStringLiteral("<a:bodyPr anchor=\"b\" bIns=\"%1\"/>").arg(Emus(9));
    const QString word = Paragraph(TextRun(QStringLiteral("棱柱")));
    const QByteArray bytes = Presentation(
        {TextBox(3, 0, 0, 100, 50, word) +
         WithBodyProperties(TextBox(4, 0, 0, 100, 50, word),
                            QStringLiteral("<a:bodyPr lIns=\"0\" tIns=\"%1\" rIns=\"%2\" anchor=\"b\"/>")
                                .arg(Emus(10), Emus(20))) +
         Placeholder(5, QStringLiteral("title"), -1, word) +
         WithBodyProperties(Placeholder(6, QStringLiteral("title"), -1, word),
                            QStringLiteral("<a:bodyPr anchor=\"t\" rIns=\"0\"/>")) +
         Placeholder(7, QString(), 1, word) +
         Table(8, 0, 0, {100, 100}, {40},
               {Cell(QStringLiteral("A")) +
                CellWithProperties(word,
                                   QStringLiteral("marL=\"0\" marT=\"%1\" anchor=\"ctr\"").arg(Emus(10)))})},
        styles);
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    const auto& shapes = deck.slides[0].shapes;
    ASSERT_EQ(shapes.size(), 6u);
    auto expect = [](const HxSlideTextFrame& f, int anchor, double left, double top, double right,
                     double bottom) {
        EXPECT_EQ(f.anchor, anchor);
        EXPECT_NEAR(f.left, left, 1e-9);
        EXPECT_NEAR(f.top, top, 1e-9);
        EXPECT_NEAR(f.right, right, 1e-9);
        EXPECT_NEAR(f.bottom, bottom, 1e-9);
    };
    // A text box: the defaults (91,440 EMU left and right, 45,720 top and bottom), then its own.
    expect(shapes[0].text.frame, HxSlideTextFrame::kTop, 7.2, 3.6, 7.2, 3.6);
    expect(shapes[1].text.frame, HxSlideTextFrame::kBottom, 0, 10, 20, 3.6);
    // A title: the layout's top inset, the master's anchoring and left inset; its own over them.
    expect(shapes[2].text.frame, HxSlideTextFrame::kMiddle, 0, 20, 7.2, 3.6);
    expect(shapes[3].text.frame, HxSlideTextFrame::kTop, 0, 20, 0, 3.6);
    // A body placeholder (matched by index on the layout, by its family on the master).
    expect(shapes[4].text.frame, HxSlideTextFrame::kBottom, 7.2, 3.6, 7.2, 9);
    // Table cells: their margins (tcPr), not their bodies'.
    expect(shapes[5].Cell(0, 0).text.frame, HxSlideTextFrame::kTop, 7.2, 3.6, 7.2, 3.6);
    expect(shapes[5].Cell(0, 1).text.frame, HxSlideTextFrame::kMiddle, 0, 10, 7.2, 3.6);

    // An inset or margin that is not a number refuses the file.
    HxSlideDeck bad;
    EXPECT_EQ(HxReadPptx(Presentation({WithBodyProperties(TextBox(3, 0, 0, 100, 50, word),
                                                          QStringLiteral("<a:bodyPr lIns=\"wide\"/>"))}),
                         bad),
              kPptxBadValue);
    EXPECT_EQ(HxReadPptx(Presentation({Table(8, 0, 0, {100}, {40},
                                             {CellWithProperties(word, QStringLiteral("marT=\"1e5\""))})}),
                         bad),
              kPptxBadValue);
}

TEST(SlideTextFrame, ATextShrunkToFitComesAtItsShrunkSizesAndSpacing) {
    // A body shrunk to 62.5 % of its sizes and 20 % less line spacing: 32 points come at 20, a
    // bullet of 40 points at 25, single spacing at 80 % and 90 % at 70 %; spacing in points stays.
    const QString fit =
        QStringLiteral("<a:bodyPr><a:normAutofit fontScale=\"62500\" lnSpcReduction=\"20000\"/></a:bodyPr>");
    const QString paragraphs =
        SizedParagraph(QStringLiteral("a"), 32) +
        SizedParagraph(QStringLiteral("b"), 32,
                       QStringLiteral("<a:lnSpc><a:spcPct val=\"90000\"/></a:lnSpc>")) +
        SizedParagraph(QStringLiteral("c"), 32,
                       QStringLiteral("<a:lnSpc><a:spcPts val=\"3000\"/></a:lnSpc>")) +
        SizedParagraph(QStringLiteral("d"), 32,
                       QStringLiteral("<a:buSzPts val=\"4000\"/><a:buChar char=\"&#8226;\"/>")) +
        Paragraph(TextRun(QStringLiteral("e")));
    HxSlideDeck deck;
    ASSERT_EQ(
        HxReadPptx(Presentation({WithBodyProperties(Placeholder(3, QString(), 1, paragraphs), fit)}), deck),
        kPptxOk);
    const HxSlideText& text = deck.slides[0].shapes[0].text;
    ASSERT_EQ(text.paragraphs.size(), 5u);
    EXPECT_DOUBLE_EQ(text.paragraphs[0].runs[0].points, 20);
    EXPECT_DOUBLE_EQ(text.paragraphs[0].lineSpacing, 80);
    EXPECT_FALSE(text.paragraphs[0].lineSpacingPoints);
    EXPECT_DOUBLE_EQ(text.paragraphs[1].lineSpacing, 70);
    EXPECT_DOUBLE_EQ(text.paragraphs[2].lineSpacing, 30);
    EXPECT_TRUE(text.paragraphs[2].lineSpacingPoints);
    ASSERT_TRUE(text.paragraphs[3].bulleted);
    EXPECT_DOUBLE_EQ(text.paragraphs[3].runs[0].points, 25);
    EXPECT_DOUBLE_EQ(text.paragraphs[3].runs[1].points, 20);
    // The body's own size (24 points from the master's body style) shrunk too.
    EXPECT_DOUBLE_EQ(text.defaultPoints, 15);
    // Without the shrinking, as stated.
    ASSERT_EQ(HxReadPptx(Presentation({Placeholder(3, QString(), 1, paragraphs)}), deck), kPptxOk);
    EXPECT_DOUBLE_EQ(deck.slides[0].shapes[0].text.paragraphs[0].runs[0].points, 32);
    EXPECT_DOUBLE_EQ(deck.slides[0].shapes[0].text.paragraphs[0].lineSpacing, 0);
}

// ---------------------------------------------------------------------------------------------
// Where the import puts them

TEST_P(SlidePlacementBothWays, TextsLieAtTheirAnchoringBetweenTheTopAndBottomInsets) {
    // One line of 24 points in a box 300 points tall, anchored at the top, the middle and the bottom
    // by the box, and a title centred by its master (in the layout's place, 36, 20, 648 x 90).
    const double size = 24;
    const QString line = SizedParagraph(QStringLiteral("棱柱的体积"), size);
    auto anchored = [&](const char* anchor) {
        return WithBodyProperties(TextBox(3, 100, 100, 400, 300, line),
                                  QStringLiteral("<a:bodyPr anchor=\"%1\"/>").arg(QLatin1String(anchor)));
    };
    DeckStyles styles;
    styles.masterTitleBody = QStringLiteral("<a:bodyPr anchor=\"ctr\"/>");
    const auto texts = ImportedTexts(
        {anchored("t"), anchored("ctr"), anchored("b"), Placeholder(3, QStringLiteral("title"), -1, line)},
        GetParam(), styles);
    ASSERT_EQ(texts.size(), 4u);
    std::vector<Ink> ink;
    for (CGTextbit* text : texts) {
        ASSERT_TRUE(text);
        ink.push_back(InkOf(*text));
        ASSERT_TRUE(ink.back().any);
    }
    const double top = 100 + 3.6, bottom = 400 - 3.6;
    // At the top: the line's ink starts below the top inset, within the line's leading.
    EXPECT_GE(ink[0].top, top);
    EXPECT_LE(ink[0].top, top + size / 2);
    // In the middle of the room between the insets.
    EXPECT_NEAR(ink[1].Middle(), (top + bottom) / 2, size / 4);
    // At the bottom: its ink ends above the bottom inset, within the line's descent.
    EXPECT_LE(ink[2].bottom, bottom);
    EXPECT_GE(ink[2].bottom, bottom - size / 2);
    // The title in the middle of its layout's box.
    EXPECT_NEAR(ink[3].Middle(), (20 + 3.6 + 110 - 3.6) / 2, size / 4);
}

TEST_P(SlidePlacementBothWays, InsetsKeepTheLinesFromTheBoxsSidesAndNarrowThem) {
    const double size = 20;
    const QString word = QStringLiteral("棱柱棱柱棱柱棱柱棱柱");
    // The line's width in the face the slides' texts are drawn in.
    HxInstallFontSubstitutions();
    QFont face(QStringLiteral("宋体"));
    face.setPointSizeF(size);
    const double line = QFontMetricsF(face).horizontalAdvance(word) * kPixel;
    ASSERT_GT(line, 5 * size);
    const QString inset =
        QStringLiteral("<a:bodyPr lIns=\"%1\" tIns=\"%2\" rIns=\"%1\"/>").arg(Emus(36), Emus(18));
    const auto texts = ImportedTexts(
        {// The defaults, then insets of their own: left, top and right.
         TextBox(3, 100, 100, 400, 100, SizedParagraph(word, size)),
         WithBodyProperties(TextBox(3, 100, 100, 400, 100, SizedParagraph(word, size)), inset),
         WithBodyProperties(
             TextBox(3, 100, 100, 400, 100, Paragraph(SizedRun(word, size), QStringLiteral("r"))), inset),
         // A box as wide as the line and the default insets: one line; 36 points each side less
         // room: two.
         TextBox(3, 100, 100, line + 2 * 7.2 + 1, 100, SizedParagraph(word, size)),
         WithBodyProperties(TextBox(3, 100, 100, line + 2 * 7.2 + 1, 100, SizedParagraph(word, size)),
                            inset)},
        GetParam());
    ASSERT_EQ(texts.size(), 5u);
    std::vector<Ink> ink;
    for (CGTextbit* text : texts) {
        ASSERT_TRUE(text);
        ink.push_back(InkOf(*text));
    }
    // The glyphs' own side bearings aside, within a sixth of the size.
    EXPECT_GE(ink[0].left, 100 + 7.2 - 0.5);
    EXPECT_LE(ink[0].left, 100 + 7.2 + size / 6);
    EXPECT_GE(ink[0].top, 100 + 3.6);
    EXPECT_GE(ink[1].left, 100 + 36 - 0.5);
    EXPECT_LE(ink[1].left, 100 + 36 + size / 6);
    EXPECT_GE(ink[1].top, 100 + 18);
    EXPECT_LE(ink[1].top, 100 + 18 + size / 2);
    EXPECT_LE(ink[2].right, 500 - 36 + 0.5);
    EXPECT_GE(ink[2].right, 500 - 36 - size / 6);
    EXPECT_EQ(ink[3].bands, 1);
    EXPECT_EQ(ink[4].bands, 2);
}

TEST_P(SlidePlacementBothWays, ABodyShrunkToFitComesAtItsSizeWithEveryParagraph) {
    // Ten paragraphs of 32 points in the master's body place (360 points tall), shrunk by the
    // presentation program to 62.5 % and 20 % less line spacing: ten lines of 20 points.
    QString paragraphs;
    for (int i = 0; i < 10; ++i)
        paragraphs += SizedParagraph(QStringLiteral("xo"), 32);
    const QString fit =
        QStringLiteral("<a:bodyPr><a:normAutofit fontScale=\"62500\" lnSpcReduction=\"20000\"/></a:bodyPr>");
    const auto texts =
        ImportedTexts({WithBodyProperties(Placeholder(3, QString(), 1, paragraphs), fit)}, GetParam());
    ASSERT_EQ(texts.size(), 1u);
    const Ink ink = InkOf(*texts[0]);
    EXPECT_EQ(ink.bands, 10);
    EXPECT_GE(ink.top, 130);
    EXPECT_LE(ink.bottom, 130 + 360);
    // A line of 20 points at 80 %: the ten lines no taller than 10 x 20 points.
    EXPECT_LE(ink.bottom - ink.top, 10 * 20.0);
    if (GetParam()) {
        const QByteArray rtf = UnpackRtfBytes(texts[0]->m_text1);
        EXPECT_TRUE(rtf.contains("\\fs40 ")) << rtf.constData();
        EXPECT_FALSE(rtf.contains("\\fs64"));
        EXPECT_TRUE(rtf.contains("\\sl192\\slmult1"));
    }
}

TEST_P(SlidePlacementBothWays, LinesPastTheBoxAreDrawnWhereTheSlideShowsThem) {
    // Four lines of 24 points in a box 40 points tall, at the top and anchored at the bottom (its
    // lines then run up past its top, as the slide grows them).
    const double size = 24;
    QString four;
    for (int i = 0; i < 4; ++i)
        four += SizedParagraph(QStringLiteral("xo"), size);
    // Eight such lines in boxes near the slide's bottom, anchored at the bottom and at the middle: they
    // fit on the slide only by running up past the box's top, and do.
    const QString eight = four + four;
    const auto texts = ImportedTexts(
        {TextBox(3, 100, 200, 300, 40, four),
         WithBodyProperties(TextBox(3, 100, 200, 300, 40, four), QStringLiteral("<a:bodyPr anchor=\"b\"/>")),
         WithBodyProperties(TextBox(3, 100, 440, 300, 40, eight), QStringLiteral("<a:bodyPr anchor=\"b\"/>")),
         WithBodyProperties(TextBox(3, 100, 380, 300, 40, eight), QStringLiteral("<a:bodyPr anchor=\"ctr\"/>"))},
        GetParam());
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_TRUE(m_messages.empty());
    const Ink down = InkOf(*texts[0]), up = InkOf(*texts[1]);
    EXPECT_EQ(down.bands, 4);
    EXPECT_GE(down.top, 200 + 3.6);
    EXPECT_GT(down.bottom, 240 + 2 * size);
    EXPECT_EQ(up.bands, 4);
    EXPECT_LE(up.bottom, 240 - 3.6);
    EXPECT_LT(up.top, 200 - 2 * size);
    const Ink risen = InkOf(*texts[2]), centred = InkOf(*texts[3]);
    EXPECT_EQ(risen.bands, 8);
    EXPECT_LE(risen.bottom, 480 - 3.6);
    EXPECT_LT(risen.top, 440 - 5 * size);
    EXPECT_EQ(centred.bands, 8);
    EXPECT_NEAR(centred.Middle(), 400, size);
    if (GetParam()) {
        // The editor holds every line: its rectangle is the picture, as wide as the box.
        for (CGTextbit* text : texts) {
            EXPECT_EQ(text->m_width, 400);
            EXPECT_FLOAT_EQ(text->m_param2, 400.0f);
            EXPECT_FLOAT_EQ(text->m_param3, float(text->m_height));
            EXPECT_GT(text->m_height * kPixel, 4 * size);
        }
    }
}

TEST_P(SlidePlacementBothWays, TextsStillCutAreSaidWithTheirSlides) {
    // Slide 2 runs six lines of 24 points from 480 points down, past the slide's bottom (540);
    // slide 3 holds a text taller than the largest picture (400 lines of 24 points).
    QString six, many;
    for (int i = 0; i < 6; ++i)
        six += SizedParagraph(QStringLiteral("xo"), 24);
    for (int i = 0; i < 400; ++i)
        many += SizedParagraph(QStringLiteral("xo"), 24);
    const QString word = SizedParagraph(QStringLiteral("棱柱"), 24);
    const auto texts = ImportedTexts({TextBox(3, 100, 100, 300, 40, word), TextBox(3, 100, 480, 300, 40, six),
                                      TextBox(3, 100, 100, 300, 40, many)},
                                     GetParam());
    ASSERT_EQ(texts.size(), 3u);
    ASSERT_EQ(m_messages.size(), 1u);
    // Drawn, slide 2 is cut at the slide's edge; editable, its picture holds it all, off the slide.
    const char16_t* said =
        GetParam()
            ? u"有1个文本超出了幻灯片的边界或导入的图片大小的限度，超出的部分没有画出（位于幻灯片3）。"
            : u"有2个文本超出了幻灯片的边界或导入的图片大小的限度，超出的部分没有画出（位于幻灯片2、3）。";
    EXPECT_EQ(m_messages[0], CString(said)) << m_messages[0].ToQString().toStdString();
    const Ink edge = InkOf(*texts[1]);
    if (GetParam()) {
        EXPECT_EQ(edge.bands, 6);
        EXPECT_GT(edge.bottom, 540);
        EXPECT_EQ(texts[2]->m_height, 4096);
    } else {
        // The lines down to the slide's bottom, and none past it.
        EXPECT_LE(edge.bottom, 540);
        EXPECT_GE(edge.bottom, 540 - 24);
        EXPECT_GE(edge.bands, 2);
        EXPECT_LT(edge.bands, 6);
        EXPECT_LE(InkOf(*texts[2]).bottom, 540);
        EXPECT_GE(InkOf(*texts[2]).bottom, 540 - 24);
    }
}

TEST_P(SlidePlacementBothWays, SlidesOfEverySizeLieAroundTheirOwnCentre) {
    // A word in the middle of a 16:9, 16:10 or A4 slide lands in the page's, a table at the slide's
    // corner at the page's: its grid's anchor converted, its frame's ink drawn.
    for (const auto& [w, h] : {std::pair{960.0, 540.0}, {720.0, 450.0}, {780.0, 540.0}}) {
        auto deck = Entries({WithBodyProperties(TextBox(3, w / 2 - 150, h / 2 - 30, 300, 60,
                                                        Paragraph(TextRun(QStringLiteral("棱柱")), "ctr")),
                                                QStringLiteral("<a:bodyPr anchor=\"ctr\"/>")) +
                             Table(4, 0, 0, {300}, {60}, {Cell(QStringLiteral("棱"))})});
        for (auto& entry : deck)
            entry.second.replace("cx=\"9144000\" cy=\"6858000\"",
                                 QStringLiteral("cx=\"%1\" cy=\"%2\"").arg(Emus(w), Emus(h)).toUtf8());
        ASSERT_TRUE(Import(Zip(deck), 1, 1, GetParam()));
        CGPage* page = m_doc->m_pages.GetTail();
        const auto pictures = SlideShapes::CellsOf<CGTextbit>(page);
        ASSERT_EQ(pictures.size(), 2u); // the word, and the table drawn or its cell's text
        const Ink word = InkOf(*pictures[0]);
        EXPECT_NEAR(word.left + word.right, 720, 6) << w;
        EXPECT_NEAR(word.Middle(), 270, 6) << h;
        // The page's corner, in points from the left and top of a 4:3 slide around the same centre.
        const double left = 360 - w / 2, top = 270 - h / 2;
        if (GetParam()) {
            const auto anchors = SlideShapes::CellsOf<CGVerFreeXyz>(page);
            ASSERT_EQ(anchors.size(), 1u);
            float at[3];
            anchors[0]->GetPosition(at);
            const double unitsPerPoint = double(g_unitLength) * 4.0 / 3.0;
            EXPECT_NEAR(360 + at[0] / unitsPerPoint, left, 0.01) << w;
            EXPECT_NEAR(270 - at[1] / unitsPerPoint, top, 0.01) << h;
        } else {
            const Ink grid = InkOf(*pictures[1]);
            EXPECT_NEAR(grid.left, left, 1) << w;
            EXPECT_NEAR(grid.top, top, 1) << h;
        }
        const HxTablePlan plan = HxPlanSlideTable(SlideShapes::OneCellTable({}, 300, 60), {w, h});
        EXPECT_LT(
            QLineF(plan.x0, plan.y0, -w / 2 * g_unitLength * 4 / 3, h / 2 * g_unitLength * 4 / 3).length(),
            1e-5);
    }
}

TEST_P(SlidePlacementBothWays, ASlideComesBackTheSameWhateverSlidesComeBeforeIt) {
    // Forty lines in a box anchored at its middle (taller than the slide: begun at the box's top inset),
    // imported alone and after the slide before it.  Slide 3: a hundred lines of forty narrow letters,
    // more than a picture of the slide's height lays out.
    const QString path = Write(Presentation(
        {TextBox(3, 100, 100, 300, 40, SizedParagraph(QStringLiteral("棱柱"), 24)),
         WithBodyProperties(TextBox(3, 100, 200, 300, 100, SizedParagraph(QStringLiteral("xo"), 18).repeated(40)),
                            QStringLiteral("<a:bodyPr anchor=\"ctr\"/>")),
         WithBodyProperties(
             TextBox(3, 100, 200, 300, 100, SizedParagraph(QString(40, u'l'), 18).repeated(100)),
             QStringLiteral("<a:bodyPr anchor=\"ctr\"/>"))}));
    ASSERT_TRUE(ImportFile(path, 2, 2, GetParam()));
    CGPage* alone = m_doc->m_pages.GetTail();
    ASSERT_TRUE(ImportFile(path, 1, 2, GetParam()));
    EXPECT_EQ(TakeSnapshot(*alone), TakeSnapshot(*m_doc->m_pages.GetTail()));
    const Ink ink = InkOf(*SlideShapes::CellsOf<CGTextbit>(alone).at(0));
    EXPECT_NEAR(ink.top, 200 + 3.6 + 4.5, 4.5);
    // Made editable, its picture holds every line from there, past the slide's bottom; drawn, the
    // lines down to the slide's bottom.
    ASSERT_TRUE(ImportFile(path, 3, 3, GetParam()));
    const Ink tall = InkOf(*SlideShapes::CellsOf<CGTextbit>(m_doc->m_pages.GetTail()).at(0));
    EXPECT_NEAR(tall.top, 200 + 3.6 + 4.5, 4.5);
    if (GetParam()) {
        EXPECT_EQ(ink.bands, 40);
        EXPECT_EQ(tall.bands, 100);
    } else {
        EXPECT_LE(tall.bottom, 540 + kPixel);
        EXPECT_GE(tall.bottom, 540 - 2 * 18);
    }
}

TEST_P(SlidePlacementBothWays, TheFirstParagraphsSpaceBeforeIsKept) {
    const double size = 24, before = 24;
    const QString spaced =
        SizedParagraph(QStringLiteral("棱柱"), size,
                       QStringLiteral("<a:spcBef><a:spcPts val=\"%1\"/></a:spcBef>").arg(before * 100));
    const auto texts = ImportedTexts({TextBox(3, 100, 100, 300, 100, spaced)}, GetParam());
    ASSERT_EQ(texts.size(), 1u);
    const Ink ink = InkOf(*texts[0]);
    EXPECT_GE(ink.top, 100 + 3.6 + before);
    EXPECT_LE(ink.top, 100 + 3.6 + before + size / 2);
}

INSTANTIATE_TEST_SUITE_P(BothWays, SlidePlacementBothWays, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Editable" : "Drawn";
                         });

TEST_F(SlidePlacementTest, ConvertedCellTextsLieAtTheirCellsInsets) {
    // A table at (60, 100) of two columns of 200 points and two rows of 80: the first cell's text at
    // the default margins, the second's at 36 points left and 18 top, the third's anchored at the
    // bottom, and the fourth's at the defaults.
    const double size = 20;
    const QString word = SizedParagraph(QStringLiteral("棱柱"), size);
    const QByteArray bytes = Presentation({Table(
        4, 60, 100, {200, 200}, {80, 80},
        {CellWithProperties(word, QString()) +
             CellWithProperties(word, QStringLiteral("marL=\"%1\" marT=\"%2\"").arg(Emus(36), Emus(18))),
         CellWithProperties(word, QStringLiteral("anchor=\"b\"")) + CellWithProperties(word, QString())})});
    ASSERT_TRUE(Import(bytes, 1, 1, true));
    const auto texts = SlideShapes::CellsOf<CGTbHenchman>(g_pCurPage);
    ASSERT_EQ(texts.size(), 4u);
    std::vector<Ink> ink;
    for (CGTbHenchman* text : texts) {
        ink.push_back(InkOf(*text));
        ASSERT_TRUE(ink.back().any);
    }
    const std::vector<Ink> placed = ink;
    // The page's texts by their places: the lower row's first (the table is built from its last row).
    std::sort(ink.begin(), ink.end(), [](const Ink& a, const Ink& b) {
        return std::pair(a.top > 150, a.left) < std::pair(b.top > 150, b.left);
    });
    EXPECT_GE(ink[0].left, 60 + 7.2 - 0.5);
    EXPECT_LE(ink[0].left, 60 + 7.2 + size / 6);
    EXPECT_GE(ink[0].top, 100 + 3.6);
    EXPECT_LE(ink[0].top, 100 + 3.6 + size / 2);
    EXPECT_GE(ink[1].left, 260 + 36 - 0.5);
    EXPECT_LE(ink[1].left, 260 + 36 + size / 6);
    EXPECT_GE(ink[1].top, 100 + 18);
    EXPECT_LE(ink[1].top, 100 + 18 + size / 2);
    EXPECT_LE(ink[2].bottom, 260 - 3.6);
    EXPECT_GE(ink[2].bottom, 260 - 3.6 - size / 2);
    EXPECT_GE(ink[3].left, 260 + 7.2 - 0.5);
    EXPECT_LE(ink[3].top, 180 + 3.6 + size / 2);

    // Undone and done again, the texts follow their points where they were.
    CGPage* page = g_pCurPage;
    int steps = 0;
    while (page->m_cmdProcessor.GetCurrent() && page->m_cmdProcessor.Undo())
        ++steps;
    EXPECT_TRUE(SlideShapes::CellsOf<CGTbHenchman>(page).empty());
    for (int i = 0; i < steps; ++i)
        ASSERT_TRUE(page->m_cmdProcessor.Redo());
    const auto again = SlideShapes::CellsOf<CGTbHenchman>(page);
    ASSERT_EQ(again.size(), 4u);
    for (size_t i = 0; i < again.size(); ++i) {
        again[i]->Recompute();
        const Ink after = InkOf(*again[i]);
        EXPECT_DOUBLE_EQ(after.left, placed[i].left);
        EXPECT_DOUBLE_EQ(after.top, placed[i].top);
    }
}

TEST(SlideDrawnTable, CellTextsAreLaidOutAtTheirCellsInsets) {
    // A drawn table of one cell 200 x 80 points, its text 36 points from the left and anchored at
    // the bottom 3.6 points up: the ink within the cell's frame lies there.
    HxSlideText text = SlideShapes::OneParagraph(QStringLiteral("棱柱"), 20);
    text.frame.left = 36;
    text.frame.anchor = HxSlideTextFrame::kBottom;
    const HxSlideShape table = SlideShapes::OneCellTable(text, 200, 80);
    const QImage image = HxRenderSlideShape(table);
    int left = image.width(), bottom = -1;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GE(left * kPixel, 36 - 0.5);
    EXPECT_LE(left * kPixel, 36 + 20 / 6.0);
    EXPECT_LE((bottom + 1) * kPixel, 80 - 3.6);
    EXPECT_GE((bottom + 1) * kPixel, 80 - 3.6 - 10);
}

TEST_F(SlidePlacementTest, ALessonSavedBeforeKeepsItsTextsAndANewImportKeepsItsInsetsWhenSaved) {
    // An editable text as an earlier import made it (a picture the box's size, rich text without
    // the insets), saved and opened again: as it was.
    CDlgRtEdit editor;
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("棱柱"), CDlgRtEdit::DefaultCharFormat());
    ASSERT_TRUE(editor.TakeDocument(doc, 400, 80));
    auto* old = new CGTextbit(g_pCurPage->m_nextId, 0, 0, std::vector<BYTE>());
    HxTakeRichText(*old, editor);
    old->m_labelPos[0] = -17.0f;
    old->m_labelPos[1] = 4.0f;
    AddCell(g_pCurPage, old);
    const CString oldRtf = old->m_text1;
    const std::vector<BYTE> oldBits = old->m_bits;
    // And a text imported now, its insets in its paragraphs' margins.
    ASSERT_TRUE(
        Import(Presentation({TextBox(3, 100, 200, 300, 60, SizedParagraph(QStringLiteral("正方体"), 24))}), 1,
               1, true));
    const auto imported = SlideShapes::CellsOf<CGTextbit>(g_pCurPage);
    ASSERT_EQ(imported.size(), 1u);
    const CString newRtf = imported[0]->m_text1;
    const int newHeight = imported[0]->m_height;
    const float newY = imported[0]->m_labelPos[1];

    ASSERT_TRUE(Load(Store()));
    POSITION pos = m_doc->m_pages.GetHeadPosition();
    CGPage* first = m_doc->m_pages.GetNext(pos);
    CGPage* second = m_doc->m_pages.GetNext(pos);
    const auto kept = SlideShapes::CellsOf<CGTextbit>(first);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0]->m_text1, oldRtf);
    EXPECT_EQ(kept[0]->m_bits, oldBits);
    EXPECT_EQ(kept[0]->m_width, 400);
    EXPECT_EQ(kept[0]->m_height, 80);
    EXPECT_FLOAT_EQ(kept[0]->m_labelPos[0], -17.0f);
    const auto reopened = SlideShapes::CellsOf<CGTextbit>(second);
    ASSERT_EQ(reopened.size(), 1u);
    EXPECT_EQ(reopened[0]->m_text1, newRtf);
    EXPECT_EQ(reopened[0]->m_height, newHeight);
    EXPECT_FLOAT_EQ(reopened[0]->m_labelPos[1], newY);
    // The editor opens it with the lines kept 7.2 points from the box's sides: the document's own
    // margin (3 points) and 4.2 points of the paragraph's.
    CDlgRtEdit opened;
    HxOpenRichText(*reopened[0], opened);
    QTextDocument text;
    ASSERT_TRUE(opened.LoadDocument(text));
    EXPECT_NEAR(text.begin().blockFormat().leftMargin(), 4.2 * 4 / 3, 0.1);
    EXPECT_NEAR(text.begin().blockFormat().rightMargin(), 4.2 * 4 / 3, 0.1);
}

TEST(SlideDrawing, LinesPastTheBoxStayWithinTheImportsPixelsAndTheLessonsBytes) {
    // Four lines of 24 points in a box 40 points tall (53 pixels): drawn past it while the import's
    // pixels and the lesson's bytes have room past what the price counted; with none, within the box,
    // and counted as cut.
    QString four;
    for (int i = 0; i < 4; ++i)
        four += SizedParagraph(QStringLiteral("xo"), 24);
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Presentation({TextBox(3, 100, 100, 300, 40, four)}), deck), kPptxOk);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        const HxSlideImportCost price = HxSlideImportCostOf(deck, 1, 1, convert);
        HxSlideImportBounds noPixels;
        noPixels.pixels = price.pixels;
        const struct {
            const char* what;
            HxSlideImportBounds bounds;
            qint64 stored;
            bool past;
        } cases[] = {
            {"room", HxSlideImportBounds(), 0, true},
            {"no pixels left", noPixels, 0, false},
            {"no bytes left", HxSlideImportBounds(), HxSlideImportBounds().lessonBytes - price.storedBytes,
             false},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            HxSlideRecordReader reader(1, 1, convert, c.bounds);
            reader.Feed(HxSlideRecords::Hello());
            HxDrawSlideDeck(
                deck, 1, 1, convert, c.bounds, [&reader](const QByteArray& record) { reader.Feed(record); },
                c.stored);
            ASSERT_EQ(reader.GetState(), HxSlideRecordReader::kDone);
            const HxDrawnSlide& slide = reader.Slides().at(0);
            ASSERT_EQ(slide.shapes.size(), 1u);
            const HxDrawnShape& shape = slide.shapes[0];
            const double height = convert ? shape.text.pictureHeight * kPixel : shape.box.height;
            if (c.past) {
                EXPECT_GT(height, 4 * 24.0);
                EXPECT_EQ(slide.textsCut, 0);
            } else {
                EXPECT_LE(height, 40.0);
                EXPECT_EQ(slide.textsCut, 1);
            }
        }
    }
}

TEST(SlideDrawing, TheRowsDrawnPastTheBoxesOfOneImportAreBounded) {
    // A hundred boxes 720 points wide and 20 tall, each of fifteen lines of 24 points: each picture
    // would take some 450 rows of 960 pixels past its box.  The first ones do, until the import's
    // pixels past the boxes (kSlideOverflowPixels) are taken; the rest keep to their boxes, cut.
    QString lines, boxes;
    for (int i = 0; i < 15; ++i)
        lines += SizedParagraph(QStringLiteral("xo"), 24);
    for (int i = 0; i < 100; ++i)
        boxes += TextBox(3 + i, 0, 0, 720, 20, lines);
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Presentation({boxes}), deck), kPptxOk);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        HxSlideRecordReader reader(1, 1, convert, HxSlideImportBounds());
        reader.Feed(HxSlideRecords::Hello());
        HxDrawSlideDeck(deck, 1, 1, convert, HxSlideImportBounds(),
                        [&reader](const QByteArray& record) { reader.Feed(record); });
        ASSERT_EQ(reader.GetState(), HxSlideRecordReader::kDone);
        const HxDrawnSlide& slide = reader.Slides().at(0);
        ASSERT_EQ(slide.shapes.size(), 100u);
        qint64 past = 0;
        int grown = 0;
        for (const HxDrawnShape& shape : slide.shapes) {
            const double height = convert ? shape.text.pictureHeight * kPixel : shape.box.height;
            const qint64 rows = std::lround((height - 20) / kPixel);
            past += std::max<qint64>(rows, 0) * 960;
            grown += rows > 300 ? 1 : 0;
        }
        EXPECT_LE(past, kSlideOverflowPixels);
        EXPECT_GE(past, kSlideOverflowPixels - 2 * 960 * 480);
        EXPECT_GT(grown, 50);
        EXPECT_EQ(slide.textsCut, 100 - grown);
    }
}

TEST(SlideRecords, ACellsTextMayBeginBelowItsTopAndTextsCutAreCounted) {
    namespace R = HxSlideRecords;
    const HxSlideBox table{0, 0, 100, 30};
    const std::vector<HxSlideBox> cells{{0, 0, 100, 30}};
    auto text = [](int height) {
        HxDrawnText t;
        t.pictureWidth = 133;
        t.pictureHeight = height;
        t.editorWidth = 133;
        t.editorHeight = height;
        t.rtf = CString(u"{\\rtf1 a}");
        t.picture.assign(size_t((133 + 31) / 32 * 4 * height), 0);
        return t;
    };
    HxDrawnSlide counts;
    counts.number = 1;
    counts.textsCut = 3;
    for (const int height : {40, 39, 1, 0, 41}) {
        SCOPED_TRACE(height);
        HxSlideRecordReader reader(1, 1, true, HxSlideImportBounds());
        const QByteArray stream = R::Hello() + R::SlideBegin(1, 1) + R::TableBegin(table, 1, 1, cells) +
                                  R::CellText(0, text(height)) + R::TableEnd() + R::SlideEnd(counts) +
                                  R::Done();
        // As wide as its cell (133 pixels) and 1 to 40 pixels tall (the cell's 30 points).
        const bool fits = height >= 1 && height <= 40;
        ASSERT_EQ(reader.Feed(stream), fits ? HxSlideRecordReader::kDone : HxSlideRecordReader::kFaulty);
        if (fits) {
            EXPECT_EQ(reader.Slides()[0].textsCut, 3);
        }
    }
    // A text frame's picture stays its box's size exactly (the box says where it lies).
    HxSlideRecordReader frame(1, 1, true, HxSlideImportBounds());
    EXPECT_EQ(frame.Feed(R::Hello() + R::SlideBegin(1, 1) + R::Text(table, text(39))),
              HxSlideRecordReader::kFaulty);
    // A negative count of texts cut is refused.
    counts.textsCut = -1;
    HxSlideRecordReader negative(1, 1, true, HxSlideImportBounds());
    EXPECT_EQ(negative.Feed(R::Hello() + R::SlideBegin(1, 1) + R::SlideEnd(counts)),
              HxSlideRecordReader::kFaulty);
}
