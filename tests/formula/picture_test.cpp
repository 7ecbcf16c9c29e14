// Pictures of formulas: RGBA textures with the keyed background, one-bit pictures with their colour
// report, ".bmp" files and enhanced metafiles read back by small readers here.
#include "formula/formula_render.h"
#include "formula_test_util.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstring>

namespace {

DWORD Dword(const std::vector<BYTE>& b, size_t at) {
    return b.size() < at + 4 ? 0
                             : DWORD(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (DWORD(b[at + 3]) << 24));
}
WORD Word(const std::vector<BYTE>& b, size_t at) {
    return b.size() < at + 2 ? 0 : WORD(b[at] | (b[at + 1] << 8));
}

std::vector<BYTE> ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray a = f.readAll();
    return std::vector<BYTE>(a.begin(), a.end());
}

// The records of an enhanced metafile: types in order, the texts of its text records, and the
// header's fields; false when the layout does not hold together.
struct EmfRead {
    std::vector<DWORD> types;
    std::vector<std::u16string> texts;
    LONG bounds[4] = {};
    std::u16string description;
    DWORD records = 0;
};
bool ReadEmf(const std::vector<BYTE>& b, EmfRead& out) {
    if (Dword(b, 0) != 1 || Dword(b, 40) != 0x464D4520 || Dword(b, 48) != b.size())
        return false;
    for (int i = 0; i < 4; ++i)
        out.bounds[i] = LONG(Dword(b, 8 + 4 * size_t(i)));
    out.records = Dword(b, 52);
    const DWORD nDesc = Dword(b, 60), offDesc = Dword(b, 64);
    for (DWORD i = 0; i < nDesc; ++i)
        out.description.push_back(char16_t(Word(b, offDesc + 2 * i)));
    size_t at = 0;
    while (at + 8 <= b.size()) {
        const DWORD type = Dword(b, at), size = Dword(b, at + 4);
        if (size < 8 || size % 4 || at + size > b.size())
            return false;
        out.types.push_back(type);
        if (type == 84) { // EMR_EXTTEXTOUTW: the count and the offset of the string
            const DWORD n = Dword(b, at + 44), off = Dword(b, at + 48);
            std::u16string s;
            for (DWORD i = 0; i < n; ++i)
                s.push_back(char16_t(Word(b, at + off + 2 * i)));
            out.texts.push_back(s);
        }
        at += size;
    }
    return at == b.size() && !out.types.empty() && out.types.back() == 14 && out.types.size() == out.records;
}

bool IsDark(QRgb p) {
    return (qRed(p) + qGreen(p) + qBlue(p)) / 3 < 192;
}

// The thickness of the longest horizontal line in a picture: the rows whose dark run spans most
// of the width.
int BarThickness(const QImage& image) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0, best = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = IsDark(image.pixel(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (best * 10 >= image.width() * 8)
            ++rows;
    }
    return rows;
}

const CString kFraction = u"<#><l><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f></l></#>";

} // namespace

TEST(FormulaPictures, TextureRowsRunBottomUpWithTheBackgroundKeyed) {
    for (BYTE alpha : {BYTE(0), BYTE(128)}) {
        int w = 0, h = 0;
        const std::vector<BYTE> rgba =
            RenderFormulaToBitmap(RGB(0, 0, 255), RGB(255, 255, 255), HX_EMPTY_FORMULA, alpha, &w, &h);
        // The empty row's placeholder at the default height 35: trunc(0.6 x 35) by 35.
        ASSERT_EQ(w, 21);
        ASSERT_EQ(h, 35);
        ASSERT_EQ(rgba.size(), size_t(w) * size_t(h) * 4);
        CBinTree doc;
        HxSetFaceName(doc.m_defaultFont, u"宋体");
        doc.m_defaultFont.lfCharSet = GB2312_CHARSET;
        doc.m_color = RGB(0, 0, 255);
        ASSERT_TRUE(doc.SetMarkup(HX_EMPTY_FORMULA));
        const QImage picture = doc.RenderBitmap();
        int opaque = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const BYTE* p = rgba.data() + (size_t(h - 1 - y) * size_t(w) + size_t(x)) * 4;
                const QRgb q = picture.pixel(x, y);
                ASSERT_EQ(p[0], qRed(q));
                ASSERT_EQ(p[1], qGreen(q));
                ASSERT_EQ(p[2], qBlue(q));
                const bool background = p[0] == 255 && p[1] == 255 && p[2] == 255;
                ASSERT_EQ(p[3], background ? alpha : 255);
                opaque += !background;
            }
        EXPECT_GT(opaque, 20); // the dotted placeholder
    }
}

TEST(FormulaPictures, TextThatIsNoFormulaGivesNoPicture) {
    for (const char16_t* text : {u"", u"abc", u"<bad>", u"<#><l>"}) {
        int w = -1, h = -1;
        COLORREF color = 7;
        EXPECT_TRUE(RenderFormulaToBitmap(0, RGB(255, 255, 255), text, 0, &w, &h).empty()) << U8(text);
        EXPECT_TRUE(RenderFormulaToMonochrome(&w, &h, text, &color, u"Times New Roman", 24).empty())
            << U8(text);
    }
    CBinTree none;
    int w = 0, h = 0;
    EXPECT_TRUE(none.MakeTexture(&w, &h, 0).empty());
    EXPECT_TRUE(none.MakeMetafile(false).empty());
    EXPECT_FALSE(none.SaveBmp(u"/nonexistent/x.bmp"));
}

TEST(FormulaPictures, MonochromeBitsArePaddedMostSignificantFirstWithTheRowColour) {
    int w = 0, h = 0, baseline = -1;
    COLORREF color = 1;
    std::vector<BYTE> bits =
        RenderFormulaToMonochrome(&w, &h, HX_EMPTY_FORMULA, &color, u"Times New Roman", 24, &baseline);
    EXPECT_EQ(w, 14); // trunc(0.6 x 24)
    EXPECT_EQ(h, 24);
    ASSERT_EQ(bits.size(), size_t(4 * 24)); // rows padded to 4 bytes
    EXPECT_GE(baseline, 0);
    EXPECT_LE(baseline, h);
    // Each bit is the picture's dark pixel, bottom row first.
    const QImage picture = HxMonochromeFormulaDocument().RenderBitmap();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(bool(bits[size_t(h - 1 - y) * 4 + size_t(x / 8)] & (0x80 >> (x % 8))),
                      IsDark(picture.pixel(x, y)));
    EXPECT_EQ(color, RGB(0, 0, 0));

    // The colour of the only row; with two rows the root's.
    struct Case {
        const char16_t* markup;
        COLORREF color;
    } cases[] = {{u"<#><l:color=ff><e>x</e></l></#>", RGB(255, 0, 0)},
                 {u"<#:color=ff00><l:color=ff><e>x</e></l><l><e>y</e></l></#>", RGB(0, 255, 0)}};
    for (const Case& c : cases) {
        bits = RenderFormulaToMonochrome(&w, &h, c.markup, &color, u"Times New Roman", 24);
        EXPECT_FALSE(bits.empty());
        EXPECT_EQ(color, c.color) << U8(c.markup);
    }
}

TEST(FormulaPictures, BmpFileIsAHeaderAndBottomUpRowsOnWhite) {
    QTemporaryDir dir;
    for (LONG height : {16L, 17L}) {
        CBinTree doc;
        doc.m_defaultFont.lfHeight = height;
        ASSERT_TRUE(doc.SetMarkup(kFraction));
        const CString path = CString::FromQString(dir.filePath(QString("f%1.bmp").arg(height)));
        ASSERT_TRUE(doc.SaveBmp(path));
        const std::vector<BYTE> b = ReadFile(path.ToQString());
        ASSERT_GE(b.size(), size_t(54));
        const int w = int(Dword(b, 18)), h = int(Dword(b, 22));
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(Dword(b, 2), b.size());
        EXPECT_EQ(Dword(b, 6), 0u);
        EXPECT_EQ(Dword(b, 10), 54u); // 14 + 40, no colour table at 32 bits
        EXPECT_EQ(Dword(b, 14), 40u);
        EXPECT_EQ(Word(b, 26), 1);
        EXPECT_EQ(Word(b, 28), 32);
        EXPECT_EQ(Dword(b, 30), 0u); // uncompressed
        EXPECT_EQ(Dword(b, 34), DWORD(w * h * 4));
        ASSERT_EQ(b.size(), size_t(54 + w * h * 4));
        // The picture as QImage reads it: rows bottom-up, blue-green-red.
        QImage picture =
            QImage::fromData(QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())), "BMP");
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu); // a white corner
        const BYTE* top = b.data() + 54 + size_t(h - 1) * size_t(w) * 4;
        EXPECT_EQ(QColor(top[2], top[1], top[0]).rgb(), picture.pixel(0, 0) | 0xFF000000);
        // The fraction bar: a one-pixel pen up to height 16, two pixels above.
        EXPECT_EQ(BarThickness(picture), height > 16 ? 2 : 1) << height;
    }
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(kFraction));
    EXPECT_FALSE(doc.SaveBmp(u"/nonexistent-folder/x.bmp"));
}

TEST(FormulaPictures, MetafileRecordsTheLayoutOfTheLastDisplay) {
    CTestEditor ed(u"<#><l><e>ab</e><f><#><l><e>x</e></l></#><#><l><e>y</e></l></#></f></l></#>");
    CBinTree& doc = ed.m_doc;
    ASSERT_FALSE(doc.RenderBitmap().isNull()); // laid out in the painter's metrics
    const CRect box = doc.m_pRoot->m_rect;

    EmfRead whole;
    const std::vector<BYTE> emf = doc.MakeMetafile(false);
    ASSERT_TRUE(ReadEmf(emf, whole));
    EXPECT_EQ(whole.description, std::u16string(u"xxz\0\0", 5));
    EXPECT_EQ(whole.texts, (std::vector<std::u16string>{u"ab", u"x", u"y"}));
    EXPECT_NE(std::find(whole.types.begin(), whole.types.end(), 54u), whole.types.end()); // the bar
    EXPECT_GE(whole.bounds[0], box.left);
    EXPECT_LE(whole.bounds[2], box.right);
    EXPECT_LE(whole.bounds[3], box.bottom);

    // Only the selection, drawn where the editor's last layout put it.
    ed.Relayout();
    const CRect row = doc.m_pRoot->m_rect;
    const int y = (row.top + row.bottom) / 2;
    ed.Click(0, y);
    ed.DragTo(2 * CFixedMetricsDC::CharWidth(doc.m_defaultFont, u'a'), y);
    ASSERT_EQ(ed.SelectionText(), CString(u"ab"));
    EmfRead part;
    ASSERT_TRUE(ReadEmf(doc.MakeMetafile(true), part));
    EXPECT_EQ(part.texts, std::vector<std::u16string>{u"ab"});

    QTemporaryDir dir;
    const CString path = CString::FromQString(dir.filePath("f.emf"));
    ASSERT_TRUE(doc.SaveEmf(path));
    EXPECT_EQ(ReadFile(path.ToQString()), doc.MakeMetafile(false));
}
