// The rich text of bitmap text items: packing into the item's string, RTF read and written back,
// font names and charsets, kept groups byte for byte, bad input refused or clamped at each limit,
// and the one-bit picture made of only what shows.
#include "measure/fuzz/rich_text_checks.h"
#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_format.h"
#include "platform/bitmap_bits.h"
#include "rich_text_pictures.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

QByteArray Rtf(const QByteArray& body) {
    return QByteArray(
               "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
               "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n") +
           body + "}";
}

struct TextRun {
    QString text;
    QTextCharFormat format;
};

std::vector<TextRun> Runs(const QTextDocument& doc) {
    std::vector<TextRun> runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            runs.push_back({it.fragment().text(), it.fragment().charFormat()});
        runs.push_back({QStringLiteral("\n"), {}});
    }
    return runs;
}

QString Family(const QTextCharFormat& f) {
    const QStringList l = f.fontFamilies().toStringList();
    return l.isEmpty() ? QString() : l.first();
}

// The format of the character at `position`.
QTextCharFormat FormatAt(const QTextDocument& doc, int position) {
    QTextCursor c(doc.begin());
    c.setPosition(position + 1);
    return c.charFormat();
}

int SetBits(const std::vector<BYTE>& bits) {
    int n = 0;
    for (BYTE b : bits)
        n += __builtin_popcount(b);
    return n;
}

// The tab stops a paragraph was read back with are those it was given: places and kinds, in order.
void ExpectTabStops(const QList<QTextOption::Tab>& read, const QList<QTextOption::Tab>& stops) {
    ASSERT_EQ(read.size(), stops.size());
    for (qsizetype i = 0; i < read.size(); ++i) {
        EXPECT_DOUBLE_EQ(read[i].position, stops[i].position) << i;
        EXPECT_EQ(read[i].type, stops[i].type) << i;
    }
}

} // namespace

TEST(RichTextPack, TwoBytesAUnitEndedByZero) {
    struct Case {
        QByteArray bytes;
        std::vector<char16_t> units;
    } cases[] = {
        {QByteArray("ab"), {u'a' | (u'b' << 8)}},
        {QByteArray("abc"), {u'a' | (u'b' << 8), u'c'}},
        {QByteArray(""), {}},
        {QByteArray("{\\"), {u'{' | (u'\\' << 8)}},
        {QByteArray("\xcb\xce\xcc", 3), {char16_t(0xCECB), char16_t(0x00CC)}},
    };
    for (const Case& c : cases) {
        const CString packed = PackRtfBytes(c.bytes);
        const QString s = packed.ToQString();
        ASSERT_EQ(size_t(s.size()), c.units.size()) << c.bytes.constData();
        for (size_t i = 0; i < c.units.size(); ++i)
            EXPECT_EQ(s[qsizetype(i)].unicode(), c.units[i]);
        EXPECT_EQ(UnpackRtfBytes(packed), c.bytes);
    }
    // Unpacking stops at the first zero byte, in either half of a unit.
    EXPECT_EQ(
        UnpackRtfBytes(CString::FromQString(QString(QChar(char16_t(0x0041))) + QChar(char16_t(0x4242)))),
        QByteArray("A"));
    EXPECT_EQ(UnpackRtfBytes(CString::FromQString(QString(QChar(char16_t(0x4100))))), QByteArray());
}

TEST(RichTextRead, RichEditOutputWithCodePageBytes) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(
        Rtf("{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\lang2052\\b\\f0"
            "\\fs52 \\'d6\\'d0\\'ce\\'c4\\b0\\f1 x\\super 2\\nosupersub\\sub i\\nosupersub\\par\r\n}"),
        doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("中文x2i"));
    const std::vector<TextRun> runs = Runs(doc);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, QStringLiteral("中文"));
    EXPECT_EQ(Family(runs[0].format), QStringLiteral("宋体"));
    EXPECT_EQ(runs[0].format.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(runs[0].format.fontPointSize(), 26.0);
    EXPECT_EQ(runs[1].text, QStringLiteral("x"));
    EXPECT_EQ(Family(runs[1].format), QStringLiteral("Times New Roman"));
    EXPECT_EQ(runs[1].format.fontWeight(), QFont::Normal);
    EXPECT_EQ(runs[2].format.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(runs[3].format.verticalAlignment(), QTextCharFormat::AlignSubScript);
    // The closing \par does not leave an empty paragraph behind.
    EXPECT_EQ(doc.blockCount(), 1);
}

TEST(RichTextRead, UnicodeEscapesSkipTheirFallback) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard\\uc1\\u945?\\u-1?b\\uc2\\u946\\'3f\\'3fc\\par}"), doc));
    EXPECT_EQ(doc.toPlainText(),
              QString(QChar(0x3B1)) + QChar(0xFFFF) + QChar('b') + QChar(0x3B2) + QChar('c'));
}

// A face's name is plain text whatever the font's character set: a symbol font's name is not read in
// the symbol code page (only its text is), and the groups a word processor puts into an entry
// (panose numbers, another name) are not part of the name.
TEST(RichTextRead, FontNamesArePlainTextWhateverTheCharset) {
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl"
                           "{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
                           "{\\f1\\fnil\\fcharset2 Symbol;}"
                           "{\\f2\\fnil\\fcharset2{\\*\\panose 05000000000000000000}Wingdings;}"
                           "{\\f3\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
                           "{\\*\\falt Times}Times New Roman;}"
                           "{\\f4\\fnil\\fcharset2 \\'b7\\'fb\\'ba\\'c5;}}\r\n"
                           "\\pard\\f1 \\'61\\f2 \\'4a\\f3 t\\f4 s\\f0 \\'d6\\'d0\\par}";
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(rtf, doc));
    const QStringList faces = {QStringLiteral("Symbol"), QStringLiteral("Wingdings"),
                               QStringLiteral("Times New Roman"), QStringLiteral("符号"),
                               QStringLiteral("宋体")};
    const int charsets[] = {2, 2, 0, 2, 134};
    auto check = [&](const QTextDocument& d) {
        const std::vector<TextRun> runs = Runs(d);
        ASSERT_EQ(runs.size(), 6u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(Family(runs[size_t(i)].format), faces[i]) << i;
            EXPECT_EQ(runs[size_t(i)].format.intProperty(HxRtf::kFontCharset), charsets[i]) << i;
        }
        // The text in a symbol font keeps its codes, the text in the Chinese font is Chinese.
        EXPECT_EQ(runs[0].text, QString(QChar(0xF061)));
        EXPECT_EQ(runs[1].text, QString(QChar(0xF04A)));
        EXPECT_EQ(runs[4].text, QStringLiteral("中"));
    };
    check(doc);
    // Saved under the same names, and read back the same.
    const QByteArray out = HxDocumentToRtf(doc);
    EXPECT_TRUE(out.contains("\\fcharset2 Symbol;}")) << out.constData();
    EXPECT_TRUE(out.contains("\\fcharset2 Wingdings;}")) << out.constData();
    EXPECT_TRUE(out.contains("\\fcharset0 Times New Roman;}")) << out.constData();
    EXPECT_TRUE(out.contains("\\fcharset2 \\'b7\\'fb\\'ba\\'c5;}")) << out.constData();
    QTextDocument back;
    ASSERT_TRUE(HxRtfToDocument(out, back));
    check(back);
    EXPECT_EQ(HxDocumentToRtf(back), out);
}

// Text whose face has no charset of its own (pasted text) is saved with the Chinese charset when its
// face is a Chinese one, by its Chinese or its Latin name; a charset the text has is kept.
TEST(RichTextWrite, ChineseFacesDeclareTheChineseCharset) {
    QTextDocument doc;
    QTextCursor c(&doc);
    for (const char* face : {"宋体", "楷体", "SimSun", "Times New Roman", "microsoft yahei"}) {
        QTextCharFormat f;
        f.setFontFamilies({QString::fromUtf8(face)});
        c.insertText(QStringLiteral("x"), f);
    }
    QTextCharFormat stated;
    stated.setFontFamilies({QStringLiteral("Arial")});
    stated.setProperty(HxRtf::kFontCharset, 134);
    c.insertText(QStringLiteral("y"), stated);
    const QByteArray out = HxDocumentToRtf(doc);
    for (const char* entry :
         {"{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}",
          "{\\f1\\fnil\\fcharset134 \\'bf\\'ac\\'cc\\'e5;}", "{\\f2\\fnil\\fcharset134 SimSun;}",
          "{\\f3\\fnil\\fcharset0 Times New Roman;}", "{\\f4\\fnil\\fcharset134 microsoft yahei;}",
          "{\\f5\\fnil\\fcharset134 Arial;}"})
        EXPECT_TRUE(out.contains(entry)) << entry << "\n" << out.constData();
}

// A document of 900 runs in 240 faces (Latin and Chinese names, some with a character set of their
// own, so that one face makes several entries) and 200 colours (some with a transparency, the same
// entry as without), most of them used again and again: written as the writer has always written it
// (tests/measure/data/many_fonts_and_colours.rtf), each font and colour listed once, in the order of
// first use.
TEST(RichTextWrite, ManyFontsAndColoursWrittenAsBefore) {
    QTextDocument doc;
    QTextCursor c(&doc);
    for (int i = 0; i < 900; ++i) {
        if (i > 0 && i % 150 == 0)
            c.insertBlock();
        const int face = (i * 37) % 240;
        QTextCharFormat f;
        f.setFontFamilies(
            {face % 5 == 0 ? QStringLiteral("楷体%1").arg(face) : QStringLiteral("Face %1").arg(face)});
        if (i % 11 == 0)
            f.setProperty(HxRtf::kFontCharset, i % 22 == 0 ? 134 : 2);
        if (i % 9 != 0) {
            const int k = (i * 13) % 200;
            QColor color = QColor::fromRgb((k * 53) & 255, (k * 97) & 255, (k * 31) & 255);
            if (i % 17 == 0)
                color.setAlpha(100);
            f.setForeground(color);
        }
        c.insertText(i % 3 == 0 ? QStringLiteral("中") : QStringLiteral("x"), f);
    }
    QFile file(QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                   .filePath(QStringLiteral("tests/measure/data/many_fonts_and_colours.rtf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray written = HxDocumentToRtf(doc);
    EXPECT_TRUE(written == file.readAll());
    // Each face with each of its character sets once (73 faces again with another), each colour once.
    EXPECT_EQ(written.count("\\fnil\\fcharset"), 240 + 73);
    EXPECT_EQ(written.count("\\red"), 200);
}

// What the editor writes is read back to the same document, and writing that gives the same bytes.
TEST(RichTextRoundTrip, EditorDocumentReadBackTheSame) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat song;
    song.setFontFamilies({QStringLiteral("宋体")});
    song.setFontPointSize(26);
    song.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("三角形{ABC}\\"), song);
    QTextCharFormat times = song;
    times.setFontFamilies({QStringLiteral("Times New Roman")});
    times.setFontWeight(QFont::Normal);
    times.setFontItalic(true);
    times.setFontPointSize(14);
    c.insertText(QStringLiteral("a"), times);
    QTextCharFormat sup = times;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("2"), sup);
    QTextCharFormat sub = times;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    sub.setFontUnderline(true);
    c.insertText(QStringLiteral("n"), sub);
    c.insertText(QStringLiteral("\tα∠"), song);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(24);
    centred.setTextIndent(-12);
    centred.setTopMargin(8);
    centred.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    c.insertBlock(centred);
    c.insertText(QStringLiteral("第二行"), song);
    c.insertBlock(QTextBlockFormat());
    QTextListFormat lf;
    lf.setStyle(QTextListFormat::ListDecimal);
    lf.setNumberSuffix(QStringLiteral(")"));
    c.createList(lf);
    c.insertText(QStringLiteral("one"), times);
    c.insertBlock();
    c.insertText(QStringLiteral("two"), times);

    const QByteArray rtf = HxDocumentToRtf(doc);
    QTextDocument back;
    CString error;
    ASSERT_TRUE(HxRtfToDocument(rtf, back, &error)) << error.ToQString().toStdString();
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    const std::vector<TextRun> a = Runs(doc), b = Runs(back);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(a[i].text.toStdString());
        EXPECT_EQ(b[i].text, a[i].text);
        if (a[i].text == QStringLiteral("\n"))
            continue;
        EXPECT_EQ(Family(b[i].format), Family(a[i].format));
        EXPECT_EQ(b[i].format.fontWeight(), a[i].format.fontWeight());
        EXPECT_EQ(b[i].format.fontItalic(), a[i].format.fontItalic());
        EXPECT_EQ(b[i].format.fontUnderline(), a[i].format.fontUnderline());
        EXPECT_EQ(b[i].format.verticalAlignment(), a[i].format.verticalAlignment());
        EXPECT_DOUBLE_EQ(b[i].format.fontPointSize(), a[i].format.fontPointSize());
    }
    const QTextBlock second = back.begin().next();
    EXPECT_EQ(second.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(second.blockFormat().leftMargin(), 24.0);
    EXPECT_DOUBLE_EQ(second.blockFormat().textIndent(), -12.0);
    EXPECT_DOUBLE_EQ(second.blockFormat().topMargin(), 8.0);
    EXPECT_EQ(second.blockFormat().lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    EXPECT_DOUBLE_EQ(second.blockFormat().lineHeight(), 150.0);
    const QTextBlock one = second.next();
    ASSERT_NE(one.textList(), nullptr);
    EXPECT_EQ(one.textList(), one.next().textList());
    EXPECT_EQ(one.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(one.textList()->format().numberSuffix(), QStringLiteral(")"));
    EXPECT_EQ(HxDocumentToRtf(back), rtf);
}

// Tab stops come back with their places and kinds, each paragraph its own; a paragraph without any
// states none, and the text after a tab starts at its stop.
TEST(RichTextRoundTrip, TabStopsKeepTheirPlacesAndKinds) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat hanging;
    hanging.setLeftMargin(48);
    hanging.setTextIndent(-48);
    QList<QTextOption::Tab> stops{QTextOption::Tab(48, QTextOption::LeftTab),
                                  QTextOption::Tab(200, QTextOption::RightTab),
                                  QTextOption::Tab(260, QTextOption::CenterTab),
                                  QTextOption::Tab(320, QTextOption::DelimiterTab, QChar('.'))};
    hanging.setTabPositions(stops);
    c.setBlockFormat(hanging);
    c.insertText(QStringLiteral("1.\t第一项"));
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("a\tb"));

    const QByteArray rtf = HxDocumentToRtf(doc);
    EXPECT_TRUE(rtf.contains("\\li720\\fi-720\\tx720\\tqr\\tx3000\\tqc\\tx3900\\tqdec\\tx4800 "))
        << rtf.constData();
    QTextDocument back;
    ASSERT_TRUE(HxRtfToDocument(rtf, back));
    const QList<QTextOption::Tab> read = back.begin().blockFormat().tabPositions();
    ASSERT_NO_FATAL_FAILURE(ExpectTabStops(read, stops));
    EXPECT_EQ(read[3].delimiter, QChar('.'));
    EXPECT_TRUE(back.begin().next().blockFormat().tabPositions().isEmpty());
    EXPECT_EQ(HxDocumentToRtf(back), rtf);

    // Laid out, the text after the tab starts at the stop: the paragraph's left margin.
    back.setDocumentMargin(0);
    back.setTextWidth(600);
    QTextLayout* layout = back.begin().layout();
    back.documentLayout()->documentSize(); // lays the document out
    ASSERT_GT(layout->lineCount(), 0);
    const QTextLine line = layout->lineAt(0);
    EXPECT_NEAR(line.cursorToX(0), 0.0, 0.5) << "the number hangs at the first line's indent";
    EXPECT_NEAR(line.cursorToX(3), 48.0, 0.5) << "the text after the tab starts at the stop";
}

// Groups of unknown destinations and embedded objects come back byte for byte.
TEST(RichTextRoundTrip, UnknownAndObjectGroupsKeptByteForByte) {
    const QByteArray generator = "{\\*\\generator Riched20 5.50.99.2050;}";
    const QByteArray unknown = "{\\*\\hxfuture {\\x1 nested \\'ff}\\bin2 {}}";
    const QByteArray object =
        "{\\object\\objemb{\\*\\objclass Equation.3}\\objw1200\\objh600{\\*\\objdata "
        "01050000\r\n02000000}{\\result{\\pict\\wmetafile8\\picwgoal1200\\pichgoal600 0100}}}";
    const QByteArray pict = "{\\pict\\dibitmap0\\picwgoal300\\pichgoal450 28000000}";
    const QByteArray input = Rtf(generator + "\\viewkind4\\uc1\\pard\\f0\\fs52 A" + object + "B" + unknown +
                                 "C" + pict + "\\par\r\n");
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(input, doc));
    EXPECT_EQ(HxRichPlainText(doc), QStringLiteral("ABC"));
    const QByteArray out = HxDocumentToRtf(doc);
    for (const QByteArray& g : {generator, unknown, object, pict})
        EXPECT_TRUE(out.contains(g)) << g.constData() << "\n---\n" << out.constData();
    // In their places: the object after A, the unknown group after B.
    EXPECT_LT(out.indexOf('A' + object), out.indexOf(object + 'B') + 1);
    EXPECT_GE(out.indexOf(object + "B" + unknown + "C"), 0) << out.constData();
    // The object's box from \objw/\objh, the picture's from its goal sizes (twips / 15).
    std::vector<QSizeF> boxes;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it)
        if (HxIsKeptGroup(it.fragment().charFormat()))
            boxes.push_back(HxKeptGroupBox(it.fragment().charFormat()));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], QSizeF(80, 40));
    EXPECT_EQ(boxes[1], QSizeF(0, 0));
    EXPECT_EQ(boxes[2], QSizeF(20, 30));
    // Read again, written again: the same bytes.
    QTextDocument again;
    ASSERT_TRUE(HxRtfToDocument(out, again));
    EXPECT_EQ(HxDocumentToRtf(again), out);
}

// The item's string ends at the first zero byte: a kept group holding zero bytes is kept as far as
// that string can hold it, binary data as hex digits and stray zero bytes dropped.
TEST(RichTextRoundTrip, ZeroBytesOfKeptGroupsMadeStorable) {
    const QByteArray group = QByteArray("{\\object\\objw300\\objh300{\\*\\objdata\\bin2 ") +
                             QByteArray("\0\x7f", 2) + "}}{\\*\\x a" + QByteArray("\0", 1) + "b}";
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf(QByteArray("\\pard A") + group + "\\par"), doc));
    const QByteArray out = HxDocumentToRtf(doc);
    EXPECT_FALSE(out.contains('\0'));
    EXPECT_TRUE(out.contains("{\\object\\objw300\\objh300{\\*\\objdata 007f}}")) << out.constData();
    EXPECT_TRUE(out.contains("{\\*\\x ab}")) << out.constData();
    EXPECT_EQ(UnpackRtfBytes(PackRtfBytes(out)), out);
}

TEST(RichTextRead, BadInputRefused) {
    const QByteArray deep = "{\\rtf1" + QByteArray(100, '{') + "x" + QByteArray(101, '}');
    const QByteArray deepKept = Rtf("\\pard A{\\*\\k" + QByteArray(100, '{') + QByteArray(101, '}'));
    struct Case {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"not rtf", QByteArray("hello")},
        {"empty", QByteArray()},
        {"deep nesting", deep},
        {"deep nesting in a kept group", deepKept},
        {"bin past the end", Rtf("\\pard A\\bin999 xy")},
        {"bin in a kept group past the end", Rtf("\\pard A{\\*\\data\\bin50 xy}")},
        {"unclosed", QByteArray("{\\rtf1{\\b text")},
        {"unclosed kept group", QByteArray("{\\rtf1 A{\\object\\objw5 ")},
        {"extra close", QByteArray("}{\\rtf1 A}")},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        CString error;
        EXPECT_FALSE(HxRtfToDocument(c.bytes, doc, &error)) << c.what;
        EXPECT_FALSE(error.IsEmpty()) << c.what;
        EXPECT_TRUE(doc.isEmpty()) << c.what;
    }
    // Nesting up to the limit is read.
    QTextDocument doc;
    const int d = HxRtfLimits::kMaxDepth - 1;
    EXPECT_TRUE(HxRtfToDocument("{\\rtf1" + QByteArray(d, '{') + "x" + QByteArray(d + 1, '}'), doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("x"));
}

TEST(RichTextRead, OutOfRangeValuesClamped) {
    QTextDocument doc;
    ASSERT_TRUE(
        HxRtfToDocument(Rtf("\\pard\\f1 a\\f77 b\\f-3\\fs999999 c\\fs0 d\\li99999999\\cf9 e\\par"), doc));
    const std::vector<TextRun> runs = Runs(doc);
    ASSERT_GE(runs.size(), 3u);
    // Fonts missing from the table keep the font in effect.
    EXPECT_EQ(runs[0].text, QStringLiteral("ab"));
    EXPECT_EQ(Family(runs[0].format), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(runs[1].format.fontPointSize(), HxRtfLimits::kMaxHalfPoints / 2.0);
    EXPECT_DOUBLE_EQ(runs[2].format.fontPointSize(), HxRtfLimits::kMinHalfPoints / 2.0);
    EXPECT_DOUBLE_EQ(doc.begin().blockFormat().leftMargin(), HxRtfLimits::kMaxTwips / 15.0);
    EXPECT_FALSE(runs[2].format.hasProperty(QTextFormat::ForegroundBrush));
}

// Each limit of the reader, at the limit and one past it.

TEST(RichTextLimits, GroupsNestUpTo64Deep) {
    auto nested = [](int n) { return "{\\rtf1" + QByteArray(n, '{') + "x" + QByteArray(n + 1, '}'); };
    // Groups of a kept destination count as deep as the others.
    auto kept = [](int n) { return "{\\rtf1 A{\\*\\k" + QByteArray(n, '{') + QByteArray(n, '}') + "}B}"; };
    QTextDocument doc;
    CString error;
    EXPECT_TRUE(HxRtfToDocument(nested(64), doc, &error));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("x"));
    EXPECT_FALSE(HxRtfToDocument(nested(65), doc, &error));
    EXPECT_EQ(error.ToQString(), QStringLiteral("RTF groups nest too deep"));
    EXPECT_TRUE(doc.isEmpty());
    error.Empty();
    EXPECT_TRUE(HxRtfToDocument(kept(63), doc, &error));
    EXPECT_EQ(HxRichPlainText(doc), QStringLiteral("AB"));
    EXPECT_FALSE(HxRtfToDocument(kept(64), doc, &error));
    EXPECT_EQ(error.ToQString(), QStringLiteral("RTF groups nest too deep"));
}

TEST(RichTextLimits, BinaryDataUpToTheBytesLeft) {
    struct Case {
        QByteArray rtf;
        const char* error; // nullptr: read
        const char* text;
    } cases[] = {
        {"{\\rtf1 A\\bin0 xy}", nullptr, "Axy"},
        {"{\\rtf1 A\\bin2 xy}", nullptr, "A"},
        // Data taking the closing brace leaves the group open; data longer than what is left is refused.
        {"{\\rtf1 A\\bin3 xy}", "RTF group not closed", ""},
        {"{\\rtf1 A\\bin4 xy}", "RTF \\bin runs past the end", ""},
        {"{\\rtf1 A\\bin-1 xy}", "RTF \\bin runs past the end", ""},
        {"{\\rtf1 A{\\*\\k\\bin2 xy}B}", nullptr, "AB"},
        {"{\\rtf1 A{\\*\\k\\bin4 xy}}", "RTF group not closed", ""},
        {"{\\rtf1 A{\\*\\k\\bin5 xy}}", "RTF \\bin runs past the end", ""},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        CString error;
        EXPECT_EQ(HxRtfToDocument(c.rtf, doc, &error), c.error == nullptr) << c.rtf.constData();
        EXPECT_EQ(error.ToQString(), QString::fromLatin1(c.error ? c.error : "")) << c.rtf.constData();
        EXPECT_EQ(HxRichPlainText(doc), QString::fromLatin1(c.text)) << c.rtf.constData();
    }
}

TEST(RichTextLimits, OnlyRtfIsRead) {
    struct Case {
        QByteArray rtf;
        bool read;
    } cases[] = {
        {" \r\n{\\rtf1 a}", true},   {"{\\rtf a}", true},   {"\t{\\rtf1 a}", false},
        {"x{\\rtf1 a}", false},      {"{\\rtx1 a}", false}, {"{\\rt", false},
        {"{\\rtf1 a}} after", true}, {"{\\rtf1 a", false},  {"{\\rtf1 {a}", false},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        CString error;
        EXPECT_EQ(HxRtfToDocument(c.rtf, doc, &error), c.read) << c.rtf.constData();
        EXPECT_EQ(error.IsEmpty(), c.read) << c.rtf.constData();
        EXPECT_EQ(doc.toPlainText(), c.read ? QStringLiteral("a") : QString()) << c.rtf.constData();
    }
}

TEST(RichTextLimits, FontTableKeepsItsFirst256Entries) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i <= 256; ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 F" + QByteArray::number(i) + ";}";
    rtf += "}\\pard\\f254 a\\f255 b\\f256 c\\par}";
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(rtf, doc));
    EXPECT_EQ(Family(FormatAt(doc, 0)), QStringLiteral("F254"));
    EXPECT_EQ(Family(FormatAt(doc, 1)), QStringLiteral("F255"));
    // The 257th entry is not kept: \f256 keeps the font in effect.
    EXPECT_EQ(Family(FormatAt(doc, 2)), QStringLiteral("F255"));
}

TEST(RichTextLimits, FontSizesFromOneTo1638Points) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard\\fs1 a\\fs2 b\\fs3 c\\fs3276 d\\fs3277 e"
                                    "\\fs99999999999999999999 f\\fs-7 g\\fs h\\par"),
                                doc));
    const double points[] = {1.0, 1.0, 1.5, 1638.0, 1638.0, 1638.0, 1.0, 1.0};
    for (int i = 0; i < 8; ++i)
        EXPECT_DOUBLE_EQ(FormatAt(doc, i).fontPointSize(), points[i]) << i;
}

TEST(RichTextLimits, LengthsUpTo22Inches) {
    // Each paragraph states one length; the document has 15 twips a pixel.
    const char* words[] = {"\\li31680",
                           "\\li31681",
                           "\\li-31681",
                           "\\ri31681",
                           "\\ri-31681",
                           "\\fi31681",
                           "\\fi-31681",
                           "\\sb31681",
                           "\\sb-1",
                           "\\sa31681",
                           "\\sa-1",
                           "\\sl31681",
                           "\\sl-31681",
                           "\\sl31680\\slmult1",
                           "\\li99999999999999999999"};
    QByteArray body;
    for (const char* w : words)
        body += QByteArray("\\pard") + w + " p\\par";
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf(body), doc));
    ASSERT_EQ(doc.blockCount(), int(std::size(words)));
    std::vector<QTextBlockFormat> f;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        f.push_back(b.blockFormat());
    EXPECT_DOUBLE_EQ(f[0].leftMargin(), 2112.0);
    EXPECT_DOUBLE_EQ(f[1].leftMargin(), 2112.0);
    EXPECT_DOUBLE_EQ(f[2].leftMargin(), -2112.0);
    EXPECT_DOUBLE_EQ(f[3].rightMargin(), 2112.0);
    EXPECT_DOUBLE_EQ(f[4].rightMargin(), -2112.0);
    EXPECT_DOUBLE_EQ(f[5].textIndent(), 2112.0);
    EXPECT_DOUBLE_EQ(f[6].textIndent(), -2112.0);
    EXPECT_DOUBLE_EQ(f[7].topMargin(), 2112.0);
    EXPECT_DOUBLE_EQ(f[8].topMargin(), 0.0);
    EXPECT_DOUBLE_EQ(f[9].bottomMargin(), 2112.0);
    EXPECT_DOUBLE_EQ(f[10].bottomMargin(), 0.0);
    EXPECT_EQ(f[11].lineHeightType(), int(QTextBlockFormat::MinimumHeight));
    EXPECT_DOUBLE_EQ(f[11].lineHeight(), 2112.0);
    EXPECT_EQ(f[12].lineHeightType(), int(QTextBlockFormat::FixedHeight));
    EXPECT_DOUBLE_EQ(f[12].lineHeight(), 2112.0);
    EXPECT_EQ(f[13].lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    EXPECT_DOUBLE_EQ(f[13].lineHeight(), 13200.0);
    EXPECT_DOUBLE_EQ(f[14].leftMargin(), 2112.0);
}

TEST(RichTextLimits, TabStopsUpTo22InchesAndSixtyFourAParagraph) {
    // Places clamped to 0 .. 22 inches; a \tx without a number is none; a kind without a \tx after
    // it does not carry over to the next paragraph; the first 64 stops of a paragraph are kept.
    QByteArray many = "\\pard";
    for (int i = 0; i < HxRtfLimits::kMaxTabs + 10; ++i)
        many += "\\tx" + QByteArray::number(15 * (i + 1));
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(
        Rtf("\\pard\\tx99999999999\\tx-300\\tx\\tqr p\\par\\pard\\tx150 q\\par" + many + " r\\par"), doc));
    ASSERT_EQ(doc.blockCount(), 3);
    const QList<QTextOption::Tab> first = doc.begin().blockFormat().tabPositions();
    ASSERT_EQ(first.size(), 2);
    EXPECT_DOUBLE_EQ(first[0].position, 2112.0);
    EXPECT_DOUBLE_EQ(first[1].position, 0.0);
    const QList<QTextOption::Tab> second = doc.begin().next().blockFormat().tabPositions();
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second[0].type, QTextOption::LeftTab);
    EXPECT_DOUBLE_EQ(second[0].position, 10.0);
    const QList<QTextOption::Tab> third = doc.lastBlock().blockFormat().tabPositions();
    ASSERT_EQ(third.size(), HxRtfLimits::kMaxTabs);
    EXPECT_DOUBLE_EQ(third.back().position, double(HxRtfLimits::kMaxTabs));
}

TEST(RichTextLimits, ObjectBoxesFromOnePixelTo22Inches) {
    // \objw in twips: missing or 0 gives an inch; 15 twips (a pixel) at least, 22 inches at most.
    const struct {
        const char* width;
        double pixels;
    } cases[] = {
        {"", 96.0},        {"\\objw0", 96.0},       {"\\objw14", 1.0},       {"\\objw15", 1.0},
        {"\\objw30", 2.0}, {"\\objw31680", 2112.0}, {"\\objw31681", 2112.0}, {"\\objw99999999", 2112.0}};
    for (const auto& c : cases) {
        QTextDocument doc;
        ASSERT_TRUE(HxRtfToDocument(
            Rtf(QByteArray("\\pard A{\\object") + c.width + "\\objh300{\\*\\objdata 00}}\\par"), doc));
        const QTextCharFormat f = FormatAt(doc, 1);
        ASSERT_TRUE(HxIsKeptGroup(f)) << c.width;
        EXPECT_EQ(HxKeptGroupBox(f), QSizeF(c.pixels, 20.0)) << c.width;
    }
    // A picture's box from its goal sizes, with the same bounds.
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard A{\\pict\\picwgoal31681\\pichgoal14 00}\\par"), doc));
    EXPECT_EQ(HxKeptGroupBox(FormatAt(doc, 1)), QSizeF(2112.0, 1.0));
}

TEST(RichTextLimits, FaceNamesUpTo128Characters) {
    auto faceOf = [](const QByteArray& name) {
        QTextDocument doc;
        EXPECT_TRUE(HxRtfToDocument("{\\rtf1{\\fonttbl{\\f0\\fcharset0 " + name + ";}}\\f0 x\\par}", doc));
        return Family(FormatAt(doc, 0));
    };
    EXPECT_EQ(faceOf(QByteArray(128, 'A')), QString(128, 'A'));
    EXPECT_EQ(faceOf(QByteArray(129, 'A')), QString(128, 'A'));
    // At most four times as many bytes or \u characters are gathered for a name, blanks included.
    EXPECT_EQ(faceOf(QByteArray(510, ' ') + "AB"), QStringLiteral("AB"));
    EXPECT_EQ(faceOf(QByteArray(511, ' ') + "AB"), QStringLiteral("A"));
    EXPECT_EQ(faceOf("\\u32?" + QByteArray(509, ' ') + "\\u65?\\u66?"), QStringLiteral("AB"));
    EXPECT_EQ(faceOf("\\u32?" + QByteArray(510, ' ') + "\\u65?\\u66?"), QStringLiteral("A"));
}

TEST(RichTextLimits, NumberTextsUpTo16Characters) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb " + QByteArray(16, '(') +
                                    "}{\\pntxta " + QByteArray(17, ')') + "}}one\\par"),
                                doc));
    ASSERT_NE(doc.begin().textList(), nullptr);
    const QTextListFormat lf = doc.begin().textList()->format();
    EXPECT_EQ(lf.numberPrefix(), QString(16, '('));
    EXPECT_EQ(lf.numberSuffix(), QString(16, ')'));
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb " + QByteArray(17, '(') +
                                    "}{\\pntxta " + QByteArray(16, ')') + "}}one\\par"),
                                doc));
    EXPECT_EQ(doc.begin().textList()->format().numberPrefix(), QString(16, '('));
    EXPECT_EQ(doc.begin().textList()->format().numberSuffix(), QString(16, ')'));
}

TEST(RichTextLimits, NumbersCharsetsAndColoursClamped) {
    struct Case {
        QByteArray words;
        int start, charset, red;
    } cases[] = {
        {"\\pnstart32767\\fcharset255\\red255", 32767, 255, 255},
        {"\\pnstart32768\\fcharset256\\red256", 32767, 255, 255},
        {"\\pnstart-1\\fcharset-1\\red-1", 0, 0, 0},
        {"\\pnstart0\\fcharset0\\red0", 0, 0, 0},
    };
    for (const Case& c : cases) {
        // The words are read where each belongs: \pnstart in the numbering, \fcharset in the font
        // table, \red in the colour table.
        const QList<QByteArray> w = c.words.split('\\');
        const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0\\" + w[2] + " F;}}{\\colortbl;\\" + w[3] +
                               "\\green1;}\\pard{\\*\\pn\\pnlvlbody\\pndec\\" + w[1] + "}\\cf1\\f0 a\\par}";
        QTextDocument doc;
        ASSERT_TRUE(HxRtfToDocument(rtf, doc)) << rtf.constData();
        ASSERT_NE(doc.begin().textList(), nullptr);
        EXPECT_EQ(doc.begin().textList()->format().intProperty(HxRtf::kListStart), c.start)
            << rtf.constData();
        EXPECT_EQ(FormatAt(doc, 0).intProperty(HxRtf::kFontCharset), c.charset) << rtf.constData();
        EXPECT_EQ(FormatAt(doc, 0).foreground().color(), QColor(c.red, 1, 0)) << rtf.constData();
    }
}

TEST(RichTextLimits, ColoursOnlyFromTheTable) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                                    "\\pard\\cf0 a\\cf2 b\\cf3 c\\cf-1 d\\par"),
                                doc));
    EXPECT_FALSE(FormatAt(doc, 0).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(FormatAt(doc, 1).foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(FormatAt(doc, 2).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(FormatAt(doc, 3).hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RichTextLimits, UnicodeFallbacksUpTo10Characters) {
    struct Case {
        const char* uc;
        const char* after;
    } cases[] = {{"\\uc0", "0123456789AB"}, {"\\uc-1", "0123456789AB"}, {"\\uc9", "9AB"},
                 {"\\uc10", "AB"},          {"\\uc11", "AB"},           {"", "123456789AB"}};
    for (const Case& c : cases) {
        QTextDocument doc;
        ASSERT_TRUE(HxRtfToDocument(Rtf(QByteArray("\\pard") + c.uc + "\\u945 0123456789AB\\par"), doc));
        EXPECT_EQ(doc.toPlainText(), QChar(0x3B1) + QString::fromLatin1(c.after)) << c.uc;
    }
}

// The editor takes at most 32,767 characters; reading stops as soon as a text is longer.
TEST(RichTextLimits, ReadUpToAGivenLength) {
    struct Case {
        QByteArray body;
        int length;
    } cases[] = {
        {"\\pard abcde\\par", 5},
        {"\\pard ab\\par cd\\par", 5},      // a paragraph end counts one
        {"\\pard ab{\\pict 00}cd\\par", 5}, // so does an object
        {"\\pard ab\\par cd", 5},
    };
    for (const Case& c : cases) {
        for (int max : {c.length, c.length - 1}) {
            QTextDocument doc;
            CString error;
            bool tooLong = true;
            const bool read = HxRtfToDocument(Rtf(c.body), doc, &error, max, &tooLong);
            EXPECT_EQ(read, max == c.length) << c.body.constData() << " " << max;
            EXPECT_EQ(tooLong, max != c.length) << c.body.constData() << " " << max;
            EXPECT_EQ(doc.characterCount() - 1, read ? c.length : 0) << c.body.constData();
            EXPECT_EQ(error.IsEmpty(), read);
        }
    }
    // A text far longer is refused without being read to its end.
    QByteArray body = "\\pard ";
    for (int i = 0; i < 100000; ++i)
        body += "abc\\par ";
    body += "{\\*\\unclosed";
    QTextDocument doc;
    CString error;
    bool tooLong = false;
    EXPECT_FALSE(HxRtfToDocument(Rtf(body), doc, &error, 1000, &tooLong));
    EXPECT_TRUE(tooLong);
    // Without a limit the same text is read as far as its damage.
    EXPECT_FALSE(HxRtfToDocument(Rtf(body), doc, &error, -1, &tooLong));
    EXPECT_FALSE(tooLong);
}

// The editor opens texts of up to 32,767 characters, rich or plain; a longer one is not read (and
// neither is a damaged one, which is not too long).
TEST(RichTextLimits, EditorLoadsUpTo32767Characters) {
    struct Case {
        QByteArray rtf;
        bool plain;
        bool loaded, tooLong;
    } cases[] = {
        {Rtf("\\pard " + QByteArray(32767, 'a') + "\\par"), false, true, false},
        {Rtf("\\pard " + QByteArray(32768, 'a') + "\\par"), false, false, true},
        {Rtf("\\pard " + QByteArray(32766, 'a') + "\\par\\pard b"), false, false, true},
        {QByteArray(32767, 'a'), true, true, false},
        {QByteArray(32768, 'a'), true, false, true},
        {"{\\rtf1 a", false, false, false},
    };
    for (const Case& c : cases) {
        CDlgRtEdit dlg;
        dlg.m_plainText = c.plain ? 1 : 0;
        dlg.m_rtf = c.plain ? CString::FromQString(QString::fromLatin1(c.rtf)) : PackRtfBytes(c.rtf);
        QTextDocument doc;
        bool tooLong = !c.tooLong;
        EXPECT_EQ(dlg.LoadDocument(doc, &tooLong), c.loaded) << c.rtf.size();
        EXPECT_EQ(tooLong, c.tooLong) << c.rtf.size();
        EXPECT_EQ(doc.isEmpty(), !c.loaded) << c.rtf.size();
    }
}

// A long text is read into a document that is laid out (as the editor's is) in one edit: its layout
// hears of the change once, not once a paragraph, as of a new document that it lays out only as far
// as it is asked to; and no undo steps are kept of the reading.
TEST(RichTextRead, ReadInOneEditWithoutUndoSteps) {
    QByteArray body;
    for (int i = 0; i < 2000; ++i)
        body += "\\pard\\qc\\f1 abc\\f0\\'d6\\'d0\\par\r\n";
    QTextDocument doc;
    HxInstallRichObjectHandler(doc);
    doc.setTextWidth(584);
    int changes = 0;
    QObject::connect(&doc, &QTextDocument::contentsChange, [&](int, int, int) { ++changes; });
    ASSERT_TRUE(HxRtfToDocument(Rtf(body), doc));
    EXPECT_EQ(doc.blockCount(), 2000);
    EXPECT_LE(changes, 3);
    EXPECT_EQ(doc.availableUndoSteps(), 0);
    EXPECT_TRUE(doc.isUndoRedoEnabled());
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("abc中"));
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.lastBlock().layout()->lineCount(), 0);
    EXPECT_GT(doc.documentLayout()->blockBoundingRect(doc.lastBlock()).top(), 2000 * 10.0);
    EXPECT_GT(doc.lastBlock().layout()->lineCount(), 0);
    // A refused text leaves the document empty and undoable as before.
    EXPECT_FALSE(HxRtfToDocument(Rtf(body + "{"), doc));
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_TRUE(doc.isUndoRedoEnabled());
}

TEST(RichTextName, ShortenedBeyondFiveCharacters) {
    struct Case {
        QString plain;
        QString name;
    } cases[] = {
        {QStringLiteral("abcde"), QStringLiteral("abcde")},
        {QStringLiteral("abcdefghijk"), QStringLiteral("abcd...")},
        {QStringLiteral("三角形内心O"), QStringLiteral("三角形内...")},
        {QStringLiteral(""), QStringLiteral("")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HxRichTextShortName(c.plain).ToQString(), c.name);
}

TEST(RichTextPicture, SizeAndBits) {
    QTextDocument empty;
    int w = 0, h = 0;
    std::vector<BYTE> bits = HxRenderRichText(empty, 584, 135, &w, &h);
    EXPECT_EQ(w, 584);
    EXPECT_EQ(h, 135);
    ASSERT_EQ(bits.size(), size_t((584 + 31) / 32 * 4 * 135));
    EXPECT_EQ(SetBits(bits), 0);

    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard\\b\\f1\\fs72 IIII\\par"), doc));
    bits = HxRenderRichText(doc, 100, 60, &w, &h);
    ASSERT_EQ(bits.size(), size_t(4 * 4 * 60));
    const int ink = SetBits(bits);
    EXPECT_GT(ink, 100);
    // The text lies in the top of the picture: the bottom rows (stored first) are white.
    for (int row = 0; row < 5; ++row)
        for (int b = 0; b < 16; ++b)
            EXPECT_EQ(bits[size_t(row * 16 + b)], 0) << row;
    // Bits beyond the width in each row's padding stay clear.
    for (int row = 0; row < 60; ++row)
        EXPECT_EQ(bits[size_t(row * 16 + 12)] & 0x0F, 0);

    // An object is drawn as a framed box.
    QTextDocument object;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard {\\object\\objw600\\objh300 {\\*\\objdata 00}}\\par"), object));
    bits = HxRenderRichText(object, 100, 60, &w, &h);
    EXPECT_GT(SetBits(bits), 2 * 40 + 2 * 20);
}

TEST(RichTextPicture, SidesClamped) {
    QTextDocument doc;
    int w = 0, h = 0;
    std::vector<BYTE> bits = HxRenderRichText(doc, 1000000, -5, &w, &h);
    EXPECT_EQ(w, HxRtfLimits::kMaxPictureSide);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(bits.size(), size_t(HxRtfLimits::kMaxPictureSide / 8));
}

// The picture lays out only the beginning of a long text, as far as its lines can show, and draws
// the same as from the whole text.
TEST(RichTextPicture, OnlyWhatShowsIsLaidOut) {
    // The whole text; less than half of it; more than the first part laid out, less than the whole.
    enum Expect { kWhole, kPart, kGrown };
    struct Case {
        const char* what;
        QByteArray body;
        Expect expect;
    } cases[] = {
        {"one long word", "\\pard\\fs52 " + QByteArray(20000, 'x') + "\\par", kPart},
        {"a long word in a huge font", "\\pard\\fs400 " + QByteArray(10000, 'W') + "\\par", kPart},
        {"many paragraphs", QByteArray("\\pard ").append(QByteArray("abc\\par ").repeated(10000)), kPart},
        {"words justified and centred",
         "\\pard\\qj " + QByteArray("wide words justify ").repeated(40) + "\\par\\pard\\qc " +
             QByteArray("the words of a line ").repeated(600) + "\\par",
         kPart},
        {"a numbered list",
         QByteArray("{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}\\fs20 item\\par ").repeated(2000), kPart},
        // Lines a point high: more than the first part shows.
        {"tiny lines", "\\pard\\fs2 " + QByteArray("ab cd ef ").repeated(60000) + "\\par", kGrown},
        // Lines set closer than their characters' size: more than the size tells.
        {"lines closer than their size",
         "\\pard\\sl-30\\slmult0\\fs24 " + QByteArray("ab cd ef ").repeated(30000) + "\\par", kGrown},
        {"a short text", "\\pard\\b\\fs72 IIII\\par", kWhole},
        {"a text longer than the first part, all shown",
         "\\pard\\fs2 " + QByteArray("ab ").repeated(2000) + "\\par", kWhole},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTextDocument doc;
        ASSERT_TRUE(HxRtfToDocument(Rtf(c.body), doc));
        for (const QSize size : {QSize(584, 135), QSize(300, 700)}) {
            const std::unique_ptr<QTextDocument> shown =
                HxRichTextShownPart(doc, size.width(), size.height());
            ASSERT_NE(shown, nullptr);
            const QString text = shown->toPlainText();
            EXPECT_TRUE(doc.toPlainText().startsWith(text));
            if (c.expect == kWhole) {
                EXPECT_EQ(text, doc.toPlainText());
            } else if (c.expect == kPart) {
                EXPECT_LT(text.size(), doc.characterCount() / 2);
            } else {
                EXPECT_GT(text.size(), 4096);
                EXPECT_LT(text.size(), doc.characterCount() - 1);
            }
            int w = 0, h = 0;
            const std::vector<BYTE> bits = HxRenderRichText(doc, size.width(), size.height(), &w, &h);
            EXPECT_GT(SetBits(bits), 0);
            EXPECT_TRUE(bits == WholeDocumentPicture(doc, size.width(), size.height()))
                << size.width() << " x " << size.height();
        }
    }
    // A table sizes its columns by all its cells: a document holding one is laid out whole.
    QTextDocument table;
    QTextCursor c(&table);
    c.insertText(QStringLiteral("words in a line ").repeated(1000));
    c.insertTable(2, 2);
    c.insertText(QStringLiteral("cell"));
    EXPECT_EQ(HxRichTextShownPart(table, 584, 135)->toPlainText(), table.toPlainText());
}

// A small picture lays out a short beginning of a long text, whatever its words, and draws what
// the whole text would.
TEST(RichTextPicture, ASmallPictureLaysOutAShortBeginning) {
    const struct Case {
        const char* what;
        QByteArray body;
    } cases[] = {
        {"one long word", "\\pard\\fs36 " + QByteArray(20000, 'w') + "\\par"},
        {"words", "\\pard\\fs36 " + QByteArray("cube edge ").repeated(2000) + "\\par"},
        {"paragraphs", "\\pard\\fs36 " + QByteArray("edge\\par ").repeated(4000)},
        {"objects among words",
         "\\pard\\fs36 " + QByteArray("edge {\\object\\objw600\\objh300 {\\*\\objdata 00}} ").repeated(2000) +
             "\\par"},
        {"a small size among large ones",
         "\\pard\\fs72 " + QByteArray(10000, 'W') + "\\fs20 " + QByteArray(10000, 'x') + "\\par"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTextDocument doc;
        ASSERT_TRUE(HxRtfToDocument(Rtf(c.body), doc));
        for (const QSize size : {QSize(120, 40), QSize(48, 36)}) {
            const std::unique_ptr<QTextDocument> shown =
                HxRichTextShownPart(doc, size.width(), size.height());
            EXPECT_GT(shown->characterCount(), 1);
            EXPECT_LT(shown->characterCount() - 1, 400) << size.width() << " x " << size.height();
            int w = 0, h = 0;
            EXPECT_TRUE(HxRenderRichText(doc, size.width(), size.height(), &w, &h) ==
                        WholeDocumentPicture(doc, size.width(), size.height()));
        }
    }
}

// A picture narrower than a character (each line then holds a word, however long) lays out a short
// beginning of a long word and draws what the whole word would.
TEST(RichTextPicture, APictureNarrowerThanACharacterLaysOutAShortBeginning) {
    for (const QByteArray& body : {"\\pard\\fs36 " + QByteArray(4100, 'w') + "\\par",
                                   "\\pard\\fs36 " + QByteArray("cube edge ").repeated(410) + "\\par"}) {
        QTextDocument doc;
        ASSERT_TRUE(HxRtfToDocument(Rtf(body), doc));
        for (const QSize size : {QSize(3, 40), QSize(13, 40)}) {
            EXPECT_LT(HxRichTextShownPart(doc, size.width(), size.height())->characterCount() - 1, 100);
            int w = 0, h = 0;
            const std::vector<BYTE> drawn = HxRenderRichText(doc, size.width(), size.height(), &w, &h);
            EXPECT_TRUE(drawn == WholeDocumentPicture(doc, size.width(), size.height()));
        }
    }
}

// A paragraph of one unbroken word, broken anywhere as breaking at word boundaries breaks it, draws
// what the whole word would.
TEST(RichTextPicture, AParagraphOfOneUnbrokenWordIsDrawnAsTheWholeWordWould) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(
        Rtf("\\pard\\fs2 " + QByteArray(30000, 'w') + "\\par\\fs4 " + QByteArray(20000, 'x') + "\\par"),
        doc));
    for (const QSize size : {QSize(120, 4096), QSize(2, 200)}) {
        int w = 0, h = 0;
        const std::vector<BYTE> drawn = HxRenderRichText(doc, size.width(), size.height(), &w, &h);
        EXPECT_TRUE(drawn == WholeDocumentPicture(doc, size.width(), size.height())) << size.width();
    }
}

// The size of the characters far below what a picture shows does not choose its first beginning.
TEST(RichTextPicture, ThePartAPictureCanShowChoosesTheFirstBeginning) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(
        Rtf("\\pard\\fs52 " + QByteArray("abc\\par ").repeated(20000) + "\\fs2 x\\par"), doc));
    EXPECT_LT(HxRichTextShownPart(doc, 584, 135)->characterCount() - 1, 2000);
    int w = 0, h = 0;
    const std::vector<BYTE> drawn = HxRenderRichText(doc, 584, 135, &w, &h);
    EXPECT_TRUE(drawn == WholeDocumentPicture(doc, 584, 135));
}

// The editor's picture of a long text in a large picture: 6,000 characters of words of 16 points
// all show, and their last line is drawn.
TEST(RichTextPicture, ALongTextInALargePictureIsDrawnToItsEnd) {
    QTextDocument doc;
    ASSERT_TRUE(HxRtfToDocument(
        Rtf("\\pard\\fs32 " + QByteArray("the words of a line ").repeated(300) + "\\par"), doc));
    const int width = 960, height = 2000;
    std::unique_ptr<QTextDocument> whole(doc.clone());
    whole->setTextWidth(width);
    whole->documentLayout()->documentSize();
    const QTextLayout* layout = whole->lastBlock().layout();
    ASSERT_GT(layout->lineCount(), 1);
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    const int top = int(std::floor(layout->position().y() + last.y()));
    const int bottom = int(std::ceil(layout->position().y() + last.y() + last.height()));
    ASSERT_LT(bottom, height - 10) << "the whole text fits in the picture";

    CDlgRtEdit editor;
    ASSERT_TRUE(editor.TakeDocument(doc, width, height));
    ASSERT_EQ(editor.m_pictureWidth, width);
    ASSERT_EQ(editor.m_pictureHeight, height);
    // Rows bottom-up: the dark bits of rows top..bottom from the top.
    const size_t stride = size_t((width + 31) / 32 * 4);
    auto darkRows = [&](int from, int to) {
        int dark = 0;
        for (int y = from; y <= to; ++y)
            for (size_t b = 0; b < stride; ++b)
                dark += __builtin_popcount(editor.m_picture[size_t(height - 1 - y) * stride + b]);
        return dark;
    };
    EXPECT_GT(darkRows(top, bottom), 0) << "the last line is drawn";
    EXPECT_EQ(darkRows(bottom + 2, height - 1), 0);
}

// The inputs kept from fuzzing the rich-text reader (the seeds and what the fuzzer found): each one
// passes every check the fuzzer makes.
TEST(RichTextCorpus, KeptInputsPassEveryCheck) {
    QDir dir(QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                 .filePath(QStringLiteral("tests/measure/fuzz/corpus-richtext")));
    ASSERT_TRUE(dir.exists()) << dir.path().toStdString();
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 3);
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        hx_rich_text_checks::CheckInput(
            file.readAll(), [&](const char* what) { ADD_FAILURE() << name.toStdString() << ": " << what; });
    }
}

// A tab stop that states no kind is a left one, whatever kind the stop before it had: written after
// right, centred and decimal stops it comes back left, and so does one read after them from RTF
// another program wrote.
TEST(RichTextRoundTrip, ALeftTabStopAfterAnotherKindStaysLeft) {
    const QList<QTextOption::Tab> stops{
        QTextOption::Tab(100, QTextOption::RightTab),  QTextOption::Tab(140, QTextOption::LeftTab),
        QTextOption::Tab(200, QTextOption::CenterTab), QTextOption::Tab(240, QTextOption::LeftTab),
        QTextOption::Tab(300, QTextOption::DelimiterTab, QChar('.')), QTextOption::Tab(360, QTextOption::LeftTab),
        QTextOption::Tab(400, QTextOption::LeftTab)};
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat format;
    format.setTabPositions(stops);
    c.setBlockFormat(format);
    c.insertText(QStringLiteral("a\tb\tc\td\te\tf\tg"));
    const QByteArray rtf = HxDocumentToRtf(doc);
    // Twips: 15 a pixel; a left stop is written without a kind.
    EXPECT_TRUE(rtf.contains("\\tqr\\tx1500\\tx2100\\tqc\\tx3000\\tx3600\\tqdec\\tx4500\\tx5400\\tx6000 "))
        << rtf.constData();
    QTextDocument back;
    ASSERT_TRUE(HxRtfToDocument(rtf, back));
    const QList<QTextOption::Tab> read = back.begin().blockFormat().tabPositions();
    ASSERT_NO_FATAL_FAILURE(ExpectTabStops(read, stops));
    EXPECT_EQ(HxDocumentToRtf(back), rtf);

    QTextDocument other;
    ASSERT_TRUE(HxRtfToDocument(Rtf("\\pard\\tqr\\tx1500\\tx3000\\tqc\\tx4500\\tqdec\\tx6000\\tx7500 x\\par"), other));
    const QList<QTextOption::Tab> kinds = other.begin().blockFormat().tabPositions();
    const QTextOption::TabType expected[] = {QTextOption::RightTab, QTextOption::LeftTab, QTextOption::CenterTab,
                                             QTextOption::DelimiterTab, QTextOption::LeftTab};
    ASSERT_EQ(kinds.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(kinds[i].type, expected[i]) << i;
}
