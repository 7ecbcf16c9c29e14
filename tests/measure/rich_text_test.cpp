// The rich text of bitmap text items: packing into the item's string, RTF read and written back,
// kept groups byte for byte, bad input refused or clamped, and the one-bit picture.
#include "measure/fuzz/rich_text_checks.h"
#include "measure/rich_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

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

int SetBits(const std::vector<BYTE>& bits) {
    int n = 0;
    for (BYTE b : bits)
        n += __builtin_popcount(b);
    return n;
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
