// The layout of the rich text's one-bit picture: a beginning cut where the format of a word changes
// is drawn as the whole word, and what laying out a text costs (scripts whose line breaks come from
// a dictionary, changes of script) is counted against a layout budget.
#include "measure/rich_text.h"
#include "rich_text_pictures.h"

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
