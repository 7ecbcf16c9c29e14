// The layout of the rich text's one-bit picture: a word whose size changes where its beginning is cut,
// or grows along it, is drawn as the whole word, one of many faces is laid out as far as it shows, and
// what laying out a text costs (scripts whose line breaks come from a dictionary, changes of script)
// is counted against a layout budget, and so is each typeface met for the first time.
#include "measure/rich_text.h"
#include "rich_text_pictures.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>

#include <memory>
#include <string>

namespace {

QByteArray Rtf(const QByteArray& body) {
    return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
           "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n" +
           body + "}";
}

// The format of the character at `position`.
QTextCharFormat FormatAt(const QTextDocument& doc, int position) {
    QTextCursor c(doc.begin());
    c.setPosition(position + 1);
    return c.charFormat();
}

} // namespace

// A word wider than its picture whose characters grow exactly where the first beginning laid out
// ends.  Each line of a word broken inside is as high as the rest of the word: the lines of the cut
// beginning are lower than the whole word's, so the search goes on to a longer beginning, and the
// picture is the whole word's.
TEST(RichTextShownPart, AWordWhoseFormatChangesWhereTheBeginningIsCutIsDrawnAsTheWholeWord) {
    // 9-point characters (12 pixels) up to the cut, then 12-point or 15-point ones; pictures
    // narrower than a character (each line but the first then holds the word), as high as the small
    // characters' first two lines, or taller.
    const int width = 13;
    for (const int height : {16, 30}) {
        const qsizetype first = HxShownLengthEstimate(width, height, 12.0);
        for (const QByteArray& rest : {QByteArray("\\fs24 "), QByteArray("\\fs30 ")}) {
            SCOPED_TRACE(rest.toStdString() + std::to_string(height));
            QTextDocument doc;
            ASSERT_TRUE(HxRtfToDocument(
                Rtf("\\pard\\f1\\fs18 " + QByteArray(first, 'W') + rest + QByteArray(4000, 'W') + "\\par"), doc));
            // The format changes at the first beginning's end, and not after it.
            ASSERT_NE(FormatAt(doc, int(first) - 1), FormatAt(doc, int(first)));
            ASSERT_EQ(FormatAt(doc, int(first)), FormatAt(doc, int(first) + 3999));
            const std::vector<BYTE> whole = WholeDocumentPicture(doc, width, height);
            int w = 0, h = 0;
            const std::vector<BYTE> drawn = HxRenderRichText(doc, width, height, &w, &h);
            EXPECT_GT(DarkBits(drawn), 0);
            EXPECT_TRUE(drawn == whole);
            EXPECT_LT(HxRichTextShownPart(doc, width, height)->characterCount() - 1, 400);
        }
    }
}

// A long word whose later characters are larger, in pictures wider than a character: its lines are
// as high as the rest of the word, as the whole word's are (broken anywhere they would be lower).
TEST(RichTextShownPart, AWordWhoseLaterCharactersAreLargerIsDrawnAsTheWholeWord) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(
        Rtf("\\pard\\fs20 " + QByteArray(3000, 'x') + "\\fs72 " + QByteArray(3000, 'W') + "\\par"), doc));
    for (const QSize size : {QSize(584, 135), QSize(120, 90)}) {
        const std::vector<BYTE> whole = WholeDocumentPicture(doc, size.width(), size.height());
        int w = 0, h = 0;
        const std::vector<BYTE> drawn = HxRenderRichText(doc, size.width(), size.height(), &w, &h);
        EXPECT_GT(DarkBits(drawn), 0);
        EXPECT_TRUE(drawn == whole) << size.width();
    }
}

// A word of 2,000 letters, each in a face of its own, as the editor's paste and the slide import
// make it: laid out as far as a small picture shows it, as the whole word is drawn.
TEST(RichTextShownPart, AWordOfManyFacesIsLaidOutAsFarAsItShows) {
    QTextDocument doc;
    HxSlideText slide;
    auto& runs = slide.paragraphs.emplace_back().runs;
    QTextCursor cursor(&doc);
    for (int i = 0; i < 2000; ++i) {
        QTextCharFormat f;
        f.setFontFamilies({QStringLiteral("Face %1").arg(i)});
        f.setFontPointSize(18);
        cursor.insertText(QStringLiteral("a"), f);
        HxSlideRun& run = runs.emplace_back();
        run.text = QStringLiteral("a");
        run.face = QStringLiteral("Face %1").arg(i);
        run.points = 18;
    }
    EXPECT_LT(HxRichTextShownPart(doc, 200, 100)->characterCount() - 1, 1000);
    EXPECT_LT(HxSlideTextShownPart(slide, 200, 100)->characterCount() - 1, 1000);
    const std::vector<BYTE> whole = WholeDocumentPicture(doc, 200, 100);
    int w = 0, h = 0;
    EXPECT_TRUE(HxRenderRichText(doc, 200, 100, &w, &h) == whole);
}

namespace {

// Thai words without a space between them (their line breaks come from a dictionary), `length`
// characters.
QString ThaiWords(qsizetype length) {
    QString text = QStringLiteral("สวัสดีครับผมชื่อสมชายยินดีที่ได้รู้จัก").repeated(int(length / 38 + 1));
    text.truncate(length);
    return text;
}

// A document of `text` in type of `points`.
std::unique_ptr<QTextDocument> TextOf(const QString& text, double points) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCharFormat f;
    f.setFontPointSize(points);
    QTextCursor(doc.get()).insertText(text, f);
    return doc;
}

} // namespace

// A long run of Thai and a text that changes its script at every letter cost what laying them out
// does, more than their characters: within a budget that the same number of Latin letters fits, they
// are laid out in part, and counted.
TEST(RichTextLayoutCost, DictionaryScriptsAndChangesOfScriptCostWhatTheirLayoutDoes) {
    const struct {
        const char* what;
        QString text;
        bool reduced;
    } cases[] = {
        {"Thai words without spaces", ThaiWords(100000), true},
        {"Latin and Greek letter by letter", QStringLiteral("aα").repeated(50000), true},
        {"Latin and Thai letter by letter", QStringLiteral("aก").repeated(50000), true},
        {"Latin letters", QString(100000, u'a'), false},
        {"Latin words", QStringLiteral("cube edge ").repeated(10000), false},
        {"Greek letters", QString(100000, u'α'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<QTextDocument> doc = TextOf(c.text, 1);
        HxLayoutBudget budget;
        budget.left = 200000;
        const std::unique_ptr<QTextDocument> shown = HxRichTextShownPart(*doc, 4096, 4096, &budget);
        const QString laidOut = shown->toPlainText();
        EXPECT_TRUE(c.text.startsWith(laidOut));
        EXPECT_LE(budget.laidOut, 200000);
        EXPECT_EQ(budget.reduced, c.reduced ? 1 : 0);
        if (c.reduced) {
            EXPECT_LT(laidOut.size(), c.text.size() / 2);
            EXPECT_GT(laidOut.size(), c.text.size() / 50);
        } else {
            EXPECT_EQ(laidOut, c.text);
        }
    }
}

// Thai as it is written, words a few hundred characters long between spaces, and a run longer than
// the layout's pieces of it: drawn as the whole text is, within an import's budget.
TEST(RichTextLayoutCost, OrdinaryThaiIsDrawnAsTheWholeText) {
    QString spaced;
    for (int i = 0; i < 12; ++i)
        spaced += ThaiWords(200 + 17 * i) + u' ';
    const struct {
        const char* what;
        QString text;
        double points;
        QSize picture;
    } cases[] = {
        {"words between spaces", spaced, 12, QSize(400, 300)},
        {"words between spaces, small", spaced, 9, QSize(300, 2000)},
        {"a run of 10,000 characters", ThaiWords(10000), 12, QSize(400, 300)},
        {"a run of 10,000 characters in a narrow picture", ThaiWords(10000), 12, QSize(13, 300)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<QTextDocument> doc = TextOf(c.text, c.points);
        const std::vector<BYTE> whole = WholeDocumentPicture(*doc, c.picture.width(), c.picture.height());
        HxLayoutBudget budget;
        budget.left = 2000000;
        int w = 0, h = 0;
        const std::vector<BYTE> drawn =
            HxRenderRichText(*doc, c.picture.width(), c.picture.height(), &w, &h, &budget);
        EXPECT_GT(DarkBits(drawn), 0);
        EXPECT_TRUE(drawn == whole);
        EXPECT_EQ(budget.reduced, 0);
    }
}

namespace {

// A document of `runs` runs of "a" in 12-point type, run i in the typeface "Face i % faces".
std::unique_ptr<QTextDocument> RunsInFaces(int runs, int faces) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    for (int i = 0; i < runs; ++i) {
        QTextCharFormat f;
        f.setFontFamilies({QStringLiteral("Face %1").arg(i % faces)});
        f.setFontPointSize(12);
        cursor.insertText(QStringLiteral("a"), f);
    }
    return doc;
}

} // namespace

// Each typeface the layout meets for the first time is looked for and loaded, which takes far longer
// than a letter: a text of thousands of typefaces of their own is laid out in part within a budget
// that a text of as many runs in two typefaces fits, and the typefaces met once are not priced again.
TEST(RichTextLayoutCost, EachTypefaceMetForTheFirstTimeCostsItsLoading) {
    for (const int faces : {3000, 2}) {
        SCOPED_TRACE(faces);
        const std::unique_ptr<QTextDocument> doc = RunsInFaces(3000, faces);
        HxLayoutBudget budget;
        budget.left = 200000;
        const std::unique_ptr<QTextDocument> shown = HxRichTextShownPart(*doc, 2000, 2000, &budget);
        EXPECT_LE(budget.laidOut, 200000);
        EXPECT_EQ(budget.reduced, faces > 2 ? 1 : 0);
        if (faces > 2)
            EXPECT_LT(shown->characterCount() - 1, 200);
        else
            EXPECT_EQ(shown->characterCount() - 1, 3000);
    }
    // Met in one picture, a hundred typefaces cost the next picture nothing more.
    const std::unique_ptr<QTextDocument> doc = RunsInFaces(100, 100);
    HxLayoutBudget budget;
    HxRichTextShownPart(*doc, 2000, 2000, &budget);
    const qsizetype first = budget.laidOut;
    HxRichTextShownPart(*doc, 2000, 2000, &budget);
    EXPECT_GE(first - (budget.laidOut - first), (100 - 16) * 2048);
    EXPECT_EQ(budget.reduced, 0);
}
