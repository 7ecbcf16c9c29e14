// Hostile pictures against the picture limits: a GIF frame far larger than its screen refused before
// any decoding, a large frame in a small screen decoded a row at a time (the peak measured by the
// loader's own count), screens and BMP headers beyond the limits, and the clipboard's pictures from
// other programs held to the same limits.
#include "image_test_support.h"

#include "platform/clipboard.h"
#include "platform/image_reading.h"
#include "view/picture_export.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A 41-byte GIF: a 10 x 10 screen with a two-colour table and one 65535 x 65535 frame.
QByteArray HugeFrameGif() {
    QByteArray b("GIF89a");
    PutLe(b, 10, 2);
    PutLe(b, 10, 2);
    b.append("\x80\x00\x00", 3);
    b.append("\x00\x00\x00\xFF\xFF\xFF", 6);
    b.append(',');
    PutLe(b, 0, 4);
    PutLe(b, 0xFFFF, 2);
    PutLe(b, 0xFFFF, 2);
    b.append("\x00\x02\x02\x44\x01\x00\x3B", 7); // no local table, min code 2, one data block
    return b;
}

struct Decoded {
    bool ok;
    DWORD code = 0;
    HxImageCost cost;
    QImage image;
};

Decoded Decode(const QByteArray& bytes) {
    Decoded d{};
    CString text;
    d.ok = HxLoadImageData(bytes, d.image, d.code, text, &d.cost);
    return d;
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ImageLimitsTest, HugeGifFrameIsRefusedBeforeDecoding) {
    const QByteArray gif = HugeFrameGif();
    EXPECT_LT(gif.size(), 64);
    const Decoded d = Decode(gif);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.code, HX_E_OUT_OF_MEMORY);
    EXPECT_EQ(d.cost.peakBytes, 0);
    EXPECT_EQ(d.cost.pixelsDecoded, 0);
}

TEST(ImageLimitsTest, LargeFrameInASmallScreenCostsOneRowBeyondTheScreen) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.gif"));
    const int side = 2000;
    std::vector<BYTE> pixels(size_t(side) * side, 1);
    ASSERT_TRUE(WriteTestGif(path, 16, 16, 0, 0, side, side, {{0, 0, 0}, {255, 0, 0}}, pixels));
    const Decoded d = Decode(FileBytes(path));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.image.size(), QSize(16, 16));
    EXPECT_EQ(d.image.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_EQ(d.cost.pixelsDecoded, (long long)side * side);
    EXPECT_LE(d.cost.peakBytes, 16 * 16 + side); // the screen and one row, never the frame
}

TEST(ImageLimitsTest, ScreensAndHeadersBeyondTheLimitsAreRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tall.gif"));
    ASSERT_TRUE(WriteTestGif(path, 1, int(kHxMaxImageSide) + 1, 0, 0, 1, 1, {{0, 0, 0}, {9, 9, 9}}, {1}));
    Decoded d = Decode(FileBytes(path));
    EXPECT_TRUE(!d.ok && d.code == HX_E_OUT_OF_MEMORY);

    // A BMP header of 12000 x 12000 pixels over a few bytes.
    QByteArray bmp = Bmp16(1, 1, {0});
    for (int offset : {18, 22})
        for (int i = 0; i < 4; ++i)
            bmp[offset + i] = char((12000 >> (8 * i)) & 0xFF);
    d = Decode(bmp);
    EXPECT_TRUE(!d.ok && d.code == HX_E_OUT_OF_MEMORY);
    EXPECT_EQ(d.cost.peakBytes, 0);
    EXPECT_TRUE(HxImageSizeAllowed(kHxMaxImageSide, 4096));
    EXPECT_FALSE(HxImageSizeAllowed(kHxMaxImageSide, 4097));
}

TEST(ImageLimitsTest, ClipboardPicturesOfOtherProgramsKeepTheLimits) {
    QImage small(3, 2, QImage::Format_RGB32);
    small.fill(qRgb(10, 20, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(small.save(&buffer, "PNG"));

    HxClipboardBitmap bitmap;
    EXPECT_FALSE(HxBitmapFromPictureBytes(HugeFrameGif(), bitmap));
    EXPECT_TRUE(bitmap.bits.empty());
    ASSERT_TRUE(HxBitmapFromPictureBytes(png, bitmap));
    EXPECT_EQ(std::pair(bitmap.width, bitmap.height), std::pair(3, 2));

    // Offered as file bytes under a picture type, as another program offers them.
    CClipboardBackend& clipboard = HxGetClipboard();
    for (const auto& [type, bytes, ok] :
         {std::tuple{"image/gif", HugeFrameGif(), false}, std::tuple{"image/png", png, true}}) {
        auto* mime = new QMimeData;
        mime->setData(QString::fromLatin1(type), bytes);
        QGuiApplication::clipboard()->setMimeData(mime);
        EXPECT_TRUE(clipboard.HasBitmap()) << type;
        int width = 0, height = 0;
        EXPECT_EQ(!ClipboardBitmapToMonochrome(&width, &height).empty(), ok) << type;
        EXPECT_EQ(clipboard.GetBitmap(bitmap), ok) << type;
    }
    EXPECT_EQ(bitmap.bitsPerPixel, 32);
    EXPECT_EQ(std::vector<BYTE>(bitmap.bits.begin(), bitmap.bits.begin() + 3),
              std::vector<BYTE>({30, 20, 10}));
    QGuiApplication::clipboard()->clear();
}
