// ".mtf" formula files: their bytes, writing and reading back, and refusing what is not a formula.
#include "formula_test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

std::vector<BYTE> ReadBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray a = f.readAll();
    return std::vector<BYTE>(a.begin(), a.end());
}

void WriteBytes(const QString& path, const std::vector<BYTE>& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

CString PathIn(const QTemporaryDir& dir, const char* name) {
    return CString::FromQString(dir.filePath(name));
}

TEST(MtfFile, BytesAreAByteOrderMarkAndUtf16LittleEndian) {
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(u"<#><l><e>a中</e></l></#>"));
    QTemporaryDir dir;
    CString path = PathIn(dir, "f.mtf");
    ASSERT_TRUE(doc.SaveMtf(path));

    // Built from the layout: FF FE, then each UTF-16 unit low byte first; no terminator, no line end.
    std::vector<BYTE> expected = {0xFF, 0xFE};
    for (char16_t c : std::u16string(u"<#><l><e>a中</e></l></#>")) {
        expected.push_back(BYTE(c & 0xFF));
        expected.push_back(BYTE(c >> 8));
    }
    EXPECT_EQ(ReadBytes(dir.filePath("f.mtf")), expected);
    EXPECT_EQ(expected[22], 0x2D); // 中 = U+4E2D, the eleventh character
    EXPECT_EQ(expected[23], 0x4E);

    CBinTree back;
    ASSERT_TRUE(back.LoadMtf(path));
    EXPECT_EQ(back.GetMarkup(0), doc.GetMarkup(0));
    EXPECT_TRUE(back.GetLastError().IsEmpty());

    // An empty document saves the empty formula.
    CBinTree empty;
    ASSERT_TRUE(empty.SaveMtf(PathIn(dir, "e.mtf")));
    CString text;
    ASSERT_TRUE(CBinTree::MtfText(ReadBytes(dir.filePath("e.mtf")), text));
    EXPECT_EQ(text, CString(HX_EMPTY_FORMULA));

    // A trailing odd byte is ignored.
    std::vector<BYTE> odd = CBinTree::MtfBytes(u"<#><l><e>z</e></l></#>");
    odd.push_back(0x41);
    WriteBytes(dir.filePath("odd.mtf"), odd);
    ASSERT_TRUE(back.LoadMtf(PathIn(dir, "odd.mtf")));
    EXPECT_EQ(back.GetMarkup(2), CString(u"z"));
}

TEST(MtfFile, FilesThatAreNotFormulasAreRefusedAndTheFormulaStays) {
    QTemporaryDir dir;
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(u"<#><l><e>keep</e></l></#>"));
    const CString before = doc.GetMarkup(0);

    // No byte-order mark (a UTF-16BE file, a UTF-8 file), too short, empty, missing.
    std::vector<BYTE> bigEndian = {0xFE, 0xFF, 0x00, 0x3C};
    WriteBytes(dir.filePath("be.mtf"), bigEndian);
    std::string utf8 = "<#><l><e>x</e></l></#>";
    WriteBytes(dir.filePath("utf8.mtf"), std::vector<BYTE>(utf8.begin(), utf8.end()));
    WriteBytes(dir.filePath("one.mtf"), {0xFF});
    WriteBytes(dir.filePath("empty.mtf"), {});
    // A byte-order mark alone, or followed by text that is not markup.
    WriteBytes(dir.filePath("bom.mtf"), {0xFF, 0xFE});
    WriteBytes(dir.filePath("text.mtf"), CBinTree::MtfBytes(u"just some words"));
    for (const char* name :
         {"be.mtf", "utf8.mtf", "one.mtf", "empty.mtf", "bom.mtf", "text.mtf", "missing.mtf"}) {
        EXPECT_FALSE(doc.LoadMtf(PathIn(dir, name))) << name;
        EXPECT_FALSE(doc.GetLastError().IsEmpty()) << name;
        EXPECT_EQ(doc.GetMarkup(0), before) << name;
    }
    EXPECT_NE(doc.GetLastError().Find(u"missing.mtf"), -1) << "the message names the file";

    // A file that cannot be written is reported.
    CBinTree unsaved;
    EXPECT_FALSE(unsaved.SaveMtf(PathIn(dir, "no/such/folder/f.mtf")));
    EXPECT_FALSE(unsaved.GetLastError().IsEmpty());
}

TEST(MtfFile, DamagedMarkupLoadsWhatCanBeRead) {
    QTemporaryDir dir;
    CString markup = u"<#><l><e>abc</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f></l></#>";
    std::vector<BYTE> bytes = CBinTree::MtfBytes(markup);
    // Cut the file in the middle of the fraction, then fix the end so that it still has the shape.
    std::vector<BYTE> cut(bytes.begin(), bytes.begin() + 2 + 2 * 30);
    for (char16_t c : std::u16string(u"</e>"))
        cut.push_back(BYTE(c)), cut.push_back(0);
    WriteBytes(dir.filePath("cut.mtf"), cut);
    CBinTree doc;
    ASSERT_TRUE(doc.LoadMtf(PathIn(dir, "cut.mtf")));
    EXPECT_FALSE(doc.IsLastParseComplete());
    EXPECT_EQ(doc.GetMarkup(2).Left(3), CString(u"abc"));
    ExpectTreeConsistent(doc.m_pRoot);
}

} // namespace
