// Long slide texts imported at a cost that follows their box: a small box or table cell, or one
// narrower than its characters, lays out a short beginning of a long text and draws what the whole
// text would, a large box draws a long text to its end, a box larger than its picture is laid out as
// far as the picture shows; a text becomes a document without being laid out, and read texts keep
// no spare room.
#include "pptx_files.h"
#include "slide_shapes.h"
#include "measure/rich_text.h"
#include "view/glyph_font.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>
#include <memory>

using namespace SlideShapes;

namespace {

// The whole text laid out `width` pixels wide, in the fonts the drawing puts in place of the slides'
// faces: the drawing sets them up before it lays out anything, and a test run alone has not yet drawn.
std::unique_ptr<QTextDocument> WholeLayout(const HxSlideText& text, double width) {
    HxInstallFontSubstitutions();
    auto doc = std::make_unique<QTextDocument>();
    HxSlideTextToDocument(text, false, *doc);
    doc->setTextWidth(width);
    doc->documentLayout()->documentSize();
    return doc;
}

// The whole text drawn in a picture of the shape (a table's cell framed first), where the slide
// places a text at the top of its box: its top inset (less the document's own margin) down.
QImage WholeTextDrawn(const HxSlideShape& shape, const HxSlideText& text) {
    const double width = shape.box.width * 4 / 3, height = shape.box.height * 4 / 3;
    QImage image(int(std::lround(width)), int(std::lround(height)), QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::unique_ptr<QTextDocument> doc = WholeLayout(text, width);
    QPainter painter(&image);
    if (shape.kind == HxSlideShape::kTable) {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.drawRect(QRectF(0, 0, width, height).adjusted(0, 0, -1, -1));
    }
    QAbstractTextDocumentLayout::PaintContext context;
    const QPointF origin(0, text.frame.top * 4 / 3 - 4);
    painter.setClipRect(QRectF(0, 0, width, height));
    painter.translate(origin);
    context.clip = QRectF(0, 0, width, height).translated(-origin);
    doc->documentLayout()->draw(&painter, context);
    return image;
}

bool DarkInRows(const QImage& image, int top, int bottom, int left = 0, int right = -1) {
    right = right < 0 ? image.width() - 1 : right;
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y)
        for (int x = left; x <= right; ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

TEST(SlideLongText, ASmallBoxLaysOutAShortBeginningAndDrawsWhatTheWholeTextWould) {
    const struct {
        const char* what;
        HxSlideText text;
    } texts[] = {
        {"a word of 4,100 characters", OneParagraph(QString(4100, u'w'))},
        {"words of 4,100 characters", OneParagraph(QStringLiteral("cube edge ").repeated(410))},
        {"Chinese of 4,100 characters", OneParagraph(QStringLiteral("正方体的棱").repeated(820))},
    };
    // A text box of 90 x 30 points and a table's cell of 36 x 27.
    for (const QSizeF box : {QSizeF(90, 30), QSizeF(36, 27)}) {
        for (const auto& t : texts) {
            SCOPED_TRACE(t.what);
            const std::unique_ptr<QTextDocument> shown =
                HxSlideTextShownPart(t.text, box.width() * 4 / 3, box.height() * 4 / 3);
            const qsizetype laidOut = shown->characterCount() - 1;
            EXPECT_GT(laidOut, 0);
            EXPECT_LT(laidOut, 400) << box.width() << " x " << box.height();
            const HxSlideShape shape = box.width() > 50 ? TextShape(t.text, box.width(), box.height())
                                                        : OneCellTable(t.text, box.width(), box.height());
            EXPECT_EQ(HxRenderSlideShape(shape), WholeTextDrawn(shape, t.text));
        }
    }
}

TEST(SlideLongText, ALongTextInALargeBoxIsDrawnToItsEnd) {
    // 6,000 characters of words of 16 points in a box of 720 x 1500 points (960 x 2000 pixels), as a
    // text box and as a table's cell: all of it shows, and its last line is drawn.
    const HxSlideText text = OneParagraph(QStringLiteral("the words of a line ").repeated(300), 16);
    const std::unique_ptr<QTextDocument> whole = WholeLayout(text, 960);
    const QTextBlock block = whole->lastBlock();
    const QTextLayout* layout = block.layout();
    ASSERT_GT(layout->lineCount(), 1);
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    const int top = int(std::floor(layout->position().y() + last.y()));
    const int bottom = int(std::ceil(layout->position().y() + last.y() + last.height()));
    ASSERT_LT(bottom, 1990) << "the whole text fits in the box";
    for (const HxSlideShape& shape : {TextShape(text, 720, 1500), OneCellTable(text, 720, 1500)}) {
        const QImage drawn = HxRenderSlideShape(shape);
        ASSERT_EQ(drawn.size(), QSize(960, 2000));
        // Ink in the last line, and none below it (the frame's sides left out).
        EXPECT_TRUE(DarkInRows(drawn, top, bottom, 2, 958)) << "the last line is drawn";
        EXPECT_FALSE(DarkInRows(drawn, bottom + 2, 1997, 2, 957));
    }
}

TEST(SlideLongText, ATextBecomesADocumentLaidOutOnlyWhenAsked) {
    // As long as the editor holds: the import's paste writes it out and copies its beginning.
    QTextDocument doc;
    HxSlideTextToDocument(OneParagraph(QString(32767, u'w')), true, doc);
    EXPECT_EQ(doc.characterCount() - 1, 32767);
    EXPECT_EQ(doc.begin().layout()->lineCount(), 0) << "not laid out";
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(doc.isUndoRedoEnabled());
    // Laid out when asked.
    doc.setTextWidth(400);
    doc.documentLayout()->documentSize();
    EXPECT_GT(doc.begin().layout()->lineCount(), 100);
}

TEST(SlideLongText, ReadTextsKeepNoSpareRoom) {
    // A deck keeps the texts of all its slides while they are imported: each no longer than it is.
    QString boxes;
    for (int i = 0; i < 20; ++i)
        boxes += PptxFiles::TextBox(3 + i, 0, 0, 90, 30,
                                    PptxFiles::Paragraph(PptxFiles::TextRun(QString(4100 + i, u'w'))));
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(PptxFiles::Presentation({boxes}), deck), kPptxOk);
    ASSERT_EQ(deck.slides.at(0).shapes.size(), 20u);
    for (const HxSlideShape& shape : deck.slides[0].shapes) {
        const QString& text = shape.text.paragraphs.at(0).runs.at(0).text;
        EXPECT_GE(text.size(), 4100);
        EXPECT_EQ(text.capacity(), text.size());
    }
}

TEST(SlideLongText, ABoxNarrowerThanItsCharactersLaysOutAShortBeginningAndDrawsWhatTheWholeTextWould) {
    // In a box narrower than a character each line but the first holds a word, however long, and
    // the box shows the start of each.
    HxSlideText paragraphs = OneParagraph(QString(2000, u'w'));
    paragraphs.paragraphs.push_back(paragraphs.paragraphs[0]);
    paragraphs.paragraphs.push_back(paragraphs.paragraphs[0]);
    // A word whose end is larger (its line is as high as its largest characters), and words read from
    // right to left (their lines end on the left): laid out further, drawn the same.
    HxSlideText largerEnd = OneParagraph(QString(2000, u'w'));
    largerEnd.paragraphs[0].runs.push_back(largerEnd.paragraphs[0].runs[0]);
    largerEnd.paragraphs[0].runs[1].points = 40;
    const struct {
        const char* what;
        HxSlideText text;
        bool shortBeginning;
    } texts[] = {
        {"a word of 4,100 characters", OneParagraph(QString(4100, u'w')), true},
        {"words of 4,100 characters", OneParagraph(QStringLiteral("cube edge ").repeated(410)), true},
        {"paragraphs of long words", paragraphs, true},
        {"a word whose end is larger", largerEnd, false},
        {"words read from right to left", OneParagraph(QStringLiteral("مرحبا ").repeated(700)), false},
    };
    // Text boxes 2 and 10 points wide (3 and 13 pixels, less than the margins and a character) and a
    // table's cell 2 points wide.
    for (const double width : {2.0, 10.0}) {
        for (const auto& t : texts) {
            SCOPED_TRACE(t.what);
            const std::unique_ptr<QTextDocument> shown = HxSlideTextShownPart(t.text, width * 4 / 3, 40);
            if (t.shortBeginning) {
                EXPECT_LT(shown->characterCount() - 1, 100) << width;
            }
            const HxSlideShape shape =
                width < 5 ? OneCellTable(t.text, width, 30) : TextShape(t.text, width, 30);
            EXPECT_EQ(HxRenderSlideShape(shape), WholeTextDrawn(shape, t.text)) << width;
        }
    }
}

TEST(SlideLongText, ThePartABoxCanShowChoosesTheFirstBeginning) {
    // 20,000 paragraphs of a word, then type of one point far below what the box shows: the first
    // beginning is one for the words' size.
    HxSlideText text;
    for (int i = 0; i < 20000; ++i)
        text.paragraphs.push_back(OneParagraph(QStringLiteral("edge")).paragraphs[0]);
    text.paragraphs.push_back(OneParagraph(QStringLiteral("x"), 1).paragraphs[0]);
    EXPECT_LT(HxSlideTextShownPart(text, 120, 40)->characterCount() - 1, 400);
    const HxSlideShape shape = TextShape(text, 90, 30);
    EXPECT_EQ(HxRenderSlideShape(shape), WholeTextDrawn(shape, text));
}

TEST(SlideLongText, ABoxLargerThanItsPictureIsLaidOutAsFarAsThePictureShows) {
    // Short lines in a box 30,000 points high: its picture is 4,096 pixels high, and the lines laid
    // out are those of a box as high as the picture.
    const HxSlideText lines = OneParagraph(QStringLiteral("ab\n").repeated(33000));
    HxLayoutBudget tall, asHigh;
    const QImage tallPicture = HxRenderSlideShape(TextShape(lines, 90, 30000), &tall);
    EXPECT_EQ(tallPicture, HxRenderSlideShape(TextShape(lines, 90, 3072), &asHigh));
    EXPECT_EQ(tall.laidOut, asHigh.laidOut);
    EXPECT_LT(asHigh.laidOut, 5000);
    // A box wider than the picture's largest side has lines as wide as that side.
    const HxSlideText words = OneParagraph(QStringLiteral("the words of a line ").repeated(2000));
    EXPECT_EQ(HxRenderSlideShape(TextShape(words, 1.0e6, 300)),
              HxRenderSlideShape(TextShape(words, 3072, 300)));
}

TEST(SlideLongText, AParagraphOfOneUnbrokenRunIsDrawnAsBrokenAtWordBoundaries) {
    // Words of 30,000 characters in type of one point, from left to right and from right to left, and
    // paragraphs of them, in a box 90 points wide and in one narrower than a character.
    HxSlideText paragraphs = OneParagraph(QString(30000, u'w'), 1);
    paragraphs.paragraphs.push_back(OneParagraph(QString(20000, u'x'), 2).paragraphs[0]);
    const HxSlideText texts[] = {OneParagraph(QString(30000, u'w'), 1),
                                 OneParagraph(QStringLiteral("مرحبا").repeated(6000), 1), paragraphs};
    for (const double width : {90.0, 1.0}) {
        for (const HxSlideText& text : texts) {
            const HxSlideShape shape = TextShape(text, width, 3072);
            EXPECT_EQ(HxRenderSlideShape(shape), WholeTextDrawn(shape, text)) << width;
        }
    }
}
