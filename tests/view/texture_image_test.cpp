// Picture files into the texture buffers without an OpenGL context: the packed layout (rows bottom-up,
// blue-green-red, padded to 4 bytes), conversions below 24 bits, missing, damaged and absurd files.
#include "image_test_support.h"
#include "platform/dialog.h"
#include "platform/document.h"
#include "support/model_fixture.h"
#include "view/gl_context.h"
#include "view/image_loading.h"
#include "view/picture_commands.h"
#include "view/texture_loading.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <QtEndian>

#include <array>
#include <cstdlib>

#include <sys/stat.h>

namespace {
// Appends a GIF frame of width x height pixels at the screen's corner, with no colour table of its
// own, a few bytes of picture data and the trailer.
void AppendFrameAndEnd(QByteArray& gif, uint32_t width, uint32_t height) {
    gif.append(',');
    PutLe(gif, 0, 4);
    PutLe(gif, width, 2);
    PutLe(gif, height, 2);
    gif.append("\x00\x02\x02\x44\x01\x00\x3B", 7);
}

class TextureImageTest : public ModelTest {
protected:
    QTemporaryDir dir;
    void SetUp() override {
        ModelTest::SetUp();
        HxSetGlContextProvider(nullptr);
        HxReleaseViewTextures();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        HxReleaseViewTextures();
        ModelTest::TearDown();
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    CString CPath(const char* name) const { return CString::FromQString(Path(name)); }

    // The packed pixel (x, y counted from the picture's top) of document texture `slot`.
    static std::array<int, 3> Rgb(int slot, int x, int y) {
        const int row = HxPackedRowBytes(g_textureWidth[slot]);
        const BYTE* p = g_documentImages[slot] + size_t(row * (g_textureHeight[slot] - 1 - y) + 3 * x);
        return {p[2], p[1], p[0]};
    }
};

// A 5 x 3 picture with a distinct colour per pixel.
QImage FiveByThree() {
    QImage image(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, qRgb(10 * x + 1, 60 + 40 * y, 200 - 7 * x - 3 * y));
    return image;
}

void ExpectNear(std::array<int, 3> got, int r, int g, int b, int tolerance = 0) {
    EXPECT_LE(std::abs(got[0] - r), tolerance) << got[0] << " vs " << r;
    EXPECT_LE(std::abs(got[1] - g), tolerance) << got[1] << " vs " << g;
    EXPECT_LE(std::abs(got[2] - b), tolerance) << got[2] << " vs " << b;
}
} // namespace

TEST_F(TextureImageTest, TwentyFourBitBmpIsPackedBottomUpWithPaddedRows) {
    ASSERT_TRUE(FiveByThree().save(Path("a.bmp"), "BMP"));
    QFile f(Path("a.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    ASSERT_EQ(BYTE(bytes[28]), 24); // a 24-bit file stored bottom-up
    ASSERT_GT(qFromLittleEndian<qint32>(bytes.constData() + 22), 0);

    ASSERT_TRUE(LoadTextureImage(0, CPath("a.bmp"), false));
    EXPECT_EQ(std::pair(g_textureWidth[0], g_textureHeight[0]), std::pair(5, 3));
    EXPECT_EQ(g_textureBuiltIn[0], 0);
    ASSERT_NE(g_documentImages[0], nullptr);
    EXPECT_EQ(HxPackedRowBytes(5), 16);
    // The top row of the picture is the last row of the buffer, blue first.
    const BYTE* last = g_documentImages[0] + 2 * 16;
    EXPECT_EQ(std::vector<BYTE>(last, last + 3), (std::vector<BYTE>{200, 60, 1}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(g_documentImages[0][row * 16 + 15], 0) << row;
    ExpectNear(Rgb(0, 3, 1), 31, 100, 200 - 21 - 3);
    ExpectNear(Rgb(0, 4, 2), 41, 140, 200 - 28 - 6);
}

TEST_F(TextureImageTest, PngTrueColourPaletteAndAlpha) {
    ASSERT_TRUE(FiveByThree().save(Path("rgb.png"), "PNG"));
    ASSERT_TRUE(LoadTextureImage(1, CPath("rgb.png"), false));
    ExpectNear(Rgb(1, 2, 0), 21, 60, 186);

    // A palette picture (8 bits per pixel) is made true colour first.
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(7, 8, 9)});
    indexed.fill(2);
    indexed.setPixel(3, 1, 1);
    ASSERT_TRUE(indexed.save(Path("pal.png"), "PNG"));
    QImage loaded;
    DWORD code = 0;
    CString text;
    ASSERT_TRUE(HxLoadImageFile(CPath("pal.png"), loaded, code, text));
    EXPECT_LT(HxImageBitsPerPixel(loaded), 24);
    ASSERT_TRUE(LoadTextureImage(1, CPath("pal.png"), false));
    EXPECT_EQ(g_textureWidth[1], 4);
    ExpectNear(Rgb(1, 3, 1), 0, 128, 255);
    ExpectNear(Rgb(1, 0, 0), 7, 8, 9);

    // A 32-bit picture with alpha keeps three bytes per pixel: the colour, not the alpha.
    QImage alpha(4, 1, QImage::Format_ARGB32);
    alpha.fill(qRgba(200, 100, 50, 128));
    ASSERT_TRUE(alpha.save(Path("alpha.png"), "PNG"));
    ASSERT_TRUE(LoadTextureImage(2, CPath("alpha.png"), false));
    EXPECT_EQ(HxPackedRowBytes(4), 12);
    ExpectNear(Rgb(2, 1, 0), 200, 100, 50, 1);
}

TEST_F(TextureImageTest, SixteenBitBmpIsAccepted) {
    // 5-5-5: pure red and pure green.
    ASSERT_TRUE(WriteBytes(Path("h.bmp"), Bmp16(3, 2, {0x7C00, 0x03E0, 0x7C00, 0x03E0, 0x7C00, 0x03E0})));
    ASSERT_TRUE(LoadTextureImage(0, CPath("h.bmp"), false));
    EXPECT_EQ(g_textureWidth[0], 3);
    auto red = Rgb(0, 0, 0), green = Rgb(0, 1, 0);
    EXPECT_GE(red[0], 240);
    EXPECT_EQ(red[1], 0);
    EXPECT_GE(green[1], 240);
    EXPECT_EQ(green[2], 0);
}

TEST_F(TextureImageTest, GifFirstFrameOnItsScreen) {
    const std::vector<GifColor> colors = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    std::vector<BYTE> pixels(15);
    for (int i = 0; i < 15; ++i)
        pixels[size_t(i)] = BYTE(i % 4);
    ASSERT_TRUE(WriteTestGif(Path("p.gif"), 5, 3, 0, 0, 5, 3, colors, pixels));
    QImage loaded;
    DWORD code = 0;
    CString text;
    ASSERT_TRUE(HxLoadImageFile(CPath("p.gif"), loaded, code, text));
    EXPECT_EQ(HxImageBitsPerPixel(loaded), 8);
    ASSERT_TRUE(LoadTextureImage(0, CPath("p.gif"), false));
    EXPECT_EQ(std::pair(g_textureWidth[0], g_textureHeight[0]), std::pair(5, 3));
    ExpectNear(Rgb(0, 1, 0), 255, 0, 0); // index 1
    ExpectNear(Rgb(0, 2, 1), 0, 0, 255); // index 7 % 4 = 3
}

TEST_F(TextureImageTest, InterlacedGifRowsComeOutInDisplayOrder) {
    const std::vector<GifColor> colors = {{0, 0, 0},  {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0},
                                          {50, 0, 0}, {60, 0, 0}, {70, 0, 0}, {80, 0, 0}, {90, 0, 0}};
    std::vector<BYTE> pixels;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 2; ++x)
            pixels.push_back(BYTE(y));
    ASSERT_TRUE(WriteTestGif(Path("i.gif"), 2, 10, 0, 0, 2, 10, colors, pixels, true));
    ASSERT_TRUE(LoadTextureImage(0, CPath("i.gif"), false));
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(Rgb(0, 1, y)[0], 10 * y) << y;
}

TEST_F(TextureImageTest, GifFrameOffsetTransparencyAndBadIndicesStayInside) {
    const std::vector<GifColor> colors = {{9, 9, 9}, {255, 255, 0}, {0, 255, 255}};
    // A 2 x 2 frame at (3, 1) of a 4 x 3 screen: the column beyond the screen is dropped, index 2 is
    // transparent and shows the background (index 0).
    ASSERT_TRUE(WriteTestGif(Path("o.gif"), 4, 3, 3, 1, 2, 2, colors, {1, 1, 2, 1}, false, 2));
    ASSERT_TRUE(LoadTextureImage(0, CPath("o.gif"), false));
    EXPECT_EQ(std::pair(g_textureWidth[0], g_textureHeight[0]), std::pair(4, 3));
    ExpectNear(Rgb(0, 0, 0), 9, 9, 9);
    ExpectNear(Rgb(0, 3, 1), 255, 255, 0);
    ExpectNear(Rgb(0, 3, 2), 9, 9, 9);

    // A damaged file whose pixel codes (8 bits) run past its 4-entry colour table: such a pixel takes
    // entry 0 instead of a read past the table.
    const unsigned char raw[] = {'G', 'I', 'F', '8', '9', 'a', 2, 0,    1,    0,    0x81, 0,    0, 1,   2,
                                 3,   4,   5,   6,   7,   8,   9, 10,   11,   12,   0x2C, 0,    0, 0,   0,
                                 2,   0,   1,   0,   0,   8,   5, 0x00, 0x91, 0x05, 0x08, 0x08, 0, 0x3B};
    QImage decoded;
    DWORD code = 0;
    CString text;
    ASSERT_TRUE(
        HxLoadImageData(QByteArray(reinterpret_cast<const char*>(raw), sizeof raw), decoded, code, text))
        << text.ToUtf8();
    EXPECT_EQ(decoded.size(), QSize(2, 1));
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(decoded.pixel(1, 0), qRgb(4, 5, 6));
}

TEST_F(TextureImageTest, BuiltInImagesKeepNoPixelsAndMissingFilesKeepTheSlot) {
    ASSERT_TRUE(FiveByThree().save(Path("a.png"), "PNG"));
    ASSERT_TRUE(LoadTextureImage(1, CPath("a.png"), false));
    ASSERT_NE(g_documentImages[1], nullptr);
    ASSERT_TRUE(LoadTextureImage(1, CPath("a.png"), true));
    EXPECT_EQ(g_textureBuiltIn[1], 1);
    EXPECT_EQ(g_documentImages[1], nullptr);
    EXPECT_EQ(g_textureWidth[1], 5);
    EXPECT_FALSE(LoadTextureImage(3, CPath("a.png"), false));
    EXPECT_FALSE(LoadTextureImage(-1, CPath("a.png"), false));

    // A missing file is reported once and the slot keeps its picture.
    ASSERT_TRUE(LoadTextureImage(0, CPath("a.png"), false));
    BYTE* kept = g_documentImages[0];
    MessageRecorder messages;
    EXPECT_FALSE(LoadTextureImage(0, CPath("none.jpg"), true));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], CString(u"装入图象失败:\n80070002 - 找不到文件"));
    EXPECT_EQ(g_documentImages[0], kept);
    EXPECT_EQ(g_textureBuiltIn[0], 0);
    EXPECT_EQ(g_textureWidth[0], 5);
    EXPECT_FALSE(LoadTextureFromImage(CPath("none.jpg"), 7));
    EXPECT_EQ(messages.texts.size(), 1u); // silent
}

TEST_F(TextureImageTest, DamagedFilesFailCleanly) {
    ASSERT_TRUE(FiveByThree().save(Path("a.png"), "PNG"));
    QFile f(Path("a.png"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray png = f.readAll();
    ASSERT_TRUE(WriteBytes(Path("cut.png"), png.left(png.size() / 2)));
    ASSERT_TRUE(WriteBytes(Path("noise.jpg"), QByteArray(300, '\x5A')));
    ASSERT_TRUE(WriteBytes(Path("empty.bmp"), QByteArray()));
    const std::vector<GifColor> colors = {{0, 0, 0}, {255, 0, 0}};
    ASSERT_TRUE(WriteTestGif(Path("g.gif"), 40, 40, 0, 0, 40, 40, colors, std::vector<BYTE>(1600, 1)));
    QFile gf(Path("g.gif"));
    ASSERT_TRUE(gf.open(QIODevice::ReadOnly));
    QByteArray gif = gf.readAll();
    ASSERT_TRUE(WriteBytes(Path("cut.gif"), gif.left(gif.size() - 12)));
    ASSERT_TRUE(WriteBytes(Path("head.gif"), gif.left(8)));
    // A BMP header claiming a million by a million pixels.
    QByteArray huge = Bmp16(1, 1, {0});
    huge[18] = '\x40', huge[19] = '\x42', huge[20] = '\x0F', huge[21] = 0;
    huge[22] = '\x40', huge[23] = '\x42', huge[24] = '\x0F', huge[25] = 0;
    ASSERT_TRUE(WriteBytes(Path("huge.bmp"), huge));

    MessageRecorder messages;
    for (const char* name : {"cut.png", "noise.jpg", "empty.bmp", "cut.gif", "head.gif", "huge.bmp"}) {
        messages.texts.clear();
        EXPECT_FALSE(LoadTextureImage(2, CPath(name), false)) << name;
        ASSERT_EQ(messages.texts.size(), 1u) << name;
        EXPECT_EQ(messages.texts[0].Left(9), CString(u"装入图象失败:\n8")) << name;
        EXPECT_EQ(g_documentImages[2], nullptr);
        EXPECT_EQ(g_textureWidth[2], 0);
    }
}

// The reason after the code in the two loaders' messages: Chinese, no English word (the name of the
// GIF format aside).
bool ReasonIsChinese(const CString& message) {
    const int dash = message.Find(u" - ");
    if (dash < 0)
        return false;
    const QString reason = message.Mid(dash + 3).ToQString().remove(QStringLiteral("GIF"));
    if (reason.isEmpty())
        return false;
    for (QChar c : reason)
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
            return false;
    return true;
}

TEST_F(TextureImageTest, EveryFailureOfTheTwoLoadersIsGivenInChinese) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("folder")));
    ASSERT_EQ(::mkfifo(Path("pipe.png").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(Path("loop.png"), Path("loop.png")));
    ASSERT_TRUE(WriteBytes(Path("notes.png"), QByteArray("Just some notes, no picture.\n")));
    ASSERT_TRUE(WriteBytes(Path("empty.bmp"), QByteArray()));
    ASSERT_TRUE(FiveByThree().save(Path("a.png"), "PNG"));
    QFile f(Path("a.png"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray png = f.readAll();
    ASSERT_TRUE(WriteBytes(Path("cut.png"), png.left(png.size() / 2)));
    ASSERT_TRUE(WriteBytes(Path("sign.gif"), QByteArray("GIF89a")));
    const std::vector<GifColor> colors = {{0, 0, 0}, {255, 0, 0}};
    ASSERT_TRUE(WriteTestGif(Path("g.gif"), 40, 40, 0, 0, 40, 40, colors, std::vector<BYTE>(1600, 1)));
    QFile gf(Path("g.gif"));
    ASSERT_TRUE(gf.open(QIODevice::ReadOnly));
    const QByteArray gif = gf.readAll();
    ASSERT_TRUE(WriteBytes(Path("cut.gif"), gif.left(gif.size() - 12)));
    // The screen and its colour table, then the trailer at once.
    ASSERT_TRUE(WriteBytes(Path("blank.gif"), gif.left(13 + 6) + QByteArray(1, ';')));
    // A BMP header of 12000 x 12000 pixels over a few bytes.
    QByteArray tall = Bmp16(1, 1, {0});
    for (int offset : {18, 22})
        for (int i = 0; i < 4; ++i)
            tall[offset + i] = char((12000 >> (8 * i)) & 0xFF);
    ASSERT_TRUE(WriteBytes(Path("tall.bmp"), tall));
    // A GIF whose only frame is 65535 pixels a side on a 40 x 40 screen.
    QByteArray bigFrame = gif.left(13 + 6);
    AppendFrameAndEnd(bigFrame, 0xFFFF, 0xFFFF);
    ASSERT_TRUE(WriteBytes(Path("frame.gif"), bigFrame));
    // A 2 x 2 screen with no colour table, and a 1 x 1 frame with none of its own either.
    QByteArray bare("GIF89a");
    PutLe(bare, 2, 2);
    PutLe(bare, 2, 2);
    bare.append("\x00\x00\x00", 3);
    AppendFrameAndEnd(bare, 1, 1);
    ASSERT_TRUE(WriteBytes(Path("bare.gif"), bare));
    // A file longer than any picture taken, refused unread (sparse: nothing is written).
    QFile big(Path("big.jpg"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kHxMaxImageFileBytes + 1));
    big.close();

    struct Case {
        const char* name;
        const char16_t* codeAndReason;
    };
    const Case cases[] = {
        {"none.png", u"80070002 - 找不到文件"},            // missing
        {"folder", u"80070005 - 不是普通文件"},            // a folder
        {"pipe.png", u"80070005 - 不是普通文件"},          // a named pipe
        {"loop.png", u"80070005 - 无法打开文件"},          // a link to itself
        {"notes.png", u"80004005 - 不支持的图象格式"},     // text
        {"empty.bmp", u"80004005 - 不支持的图象格式"},     // nothing
        {"cut.png", u"80004005 - 图象文件已损坏"},         // cut in half
        {"sign.gif", u"80004005 - GIF文件中缺少屏幕描述"}, // the signature alone
        {"cut.gif", u"80004005 - GIF文件不完整"},          // cut inside the frame
        {"blank.gif", u"80004005 - GIF文件中没有图象"},    // a screen and no frame
        {"bare.gif", u"80004005 - GIF文件中缺少颜色表"},   // no colour table at all
        {"tall.bmp", u"8007000e - 图象太大"},              // the header's size
        {"frame.gif", u"8007000e - 图象太大"},             // the frame's size
        {"big.jpg", u"8007000e - 图象太大"},               // the file's length
    };
    CString chosen;
    HxSetDialogRunner([&chosen](CDialog& dialog) {
        auto* files = DYNAMIC_DOWNCAST(CFileDialog, &dialog);
        if (!files)
            return INT_PTR(IDCANCEL);
        files->SetResult(chosen);
        return INT_PTR(IDOK);
    });
    MessageRecorder messages;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chosen = CPath(c.name);
        messages.texts.clear();
        EXPECT_FALSE(LoadTextureImage(2, chosen, false));
        EXPECT_FALSE(HxInsertPictureFile(nullptr));
        ASSERT_EQ(messages.texts.size(), 2u);
        EXPECT_EQ(messages.texts[0], CString(u"装入图象失败:\n") + c.codeAndReason);
        EXPECT_EQ(messages.texts[1], CString(u"打开图象文件失败:\n") + c.codeAndReason);
        EXPECT_TRUE(ReasonIsChinese(messages.texts[0])) << messages.texts[0].ToUtf8();
        EXPECT_TRUE(ReasonIsChinese(messages.texts[1])) << messages.texts[1].ToUtf8();
    }
    HxSetDialogRunner(nullptr);
}

TEST_F(TextureImageTest, PackingAndTrueColour) {
    QImage grey(5, 2, QImage::Format_Grayscale8);
    grey.fill(7);
    EXPECT_EQ(HxPackImagePixels(grey), nullptr); // 8 bits: not packable before the conversion
    ASSERT_TRUE(MakeTrueColourImage(grey));
    EXPECT_EQ(HxImageBitsPerPixel(grey), 24);
    BYTE* packed = HxPackImagePixels(grey);
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(std::pair(packed[0], packed[14]), std::pair(BYTE(7), BYTE(7)));
    EXPECT_EQ(packed[15], 0);
    delete[] packed;
    EXPECT_EQ(HxPackImagePixels(QImage()), nullptr);
    QImage empty;
    EXPECT_FALSE(MakeTrueColourImage(empty));
    EXPECT_EQ(HxPackedRowBytes(1), 4);
    EXPECT_EQ(HxPackedRowBytes(4), 12);
}
