// Writes the files the picture, clipboard-picture and settings fuzzers start from: small pictures of
// every kind (GIF plain, interlaced, transparent, two frames, a frame beyond its screen), device
// bitmaps of 16, 24 and 32 bits, dark text on white in unusual formats for the bitmap-text paste,
// and the settings file of the built-in settings.
// Usage: make_file_seeds DIR   (writes DIR/image, DIR/picture and DIR/settings)
#include "app/settings_file.h"
#include "platform/afx.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <gif_lib.h>

#include <cstdio>
#include <vector>

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

int Append(GifFileType* gif, const GifByteType* bytes, int count) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
    return count;
}

struct Frame {
    int left, top, width, height;
    bool interlace;
};

// A GIF of four colours, one frame per entry, a transparent colour when asked.
QByteArray Gif(int screenW, int screenH, const std::vector<Frame>& frames, bool transparent) {
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    GifColorType colors[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, screenW, screenH, 2, 0, map);
    for (const Frame& f : frames) {
        if (transparent) {
            GraphicsControlBlock gcb{};
            gcb.TransparentColor = 2;
            GifByteType ext[4];
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(EGifGCBToExtension(&gcb, ext)), ext);
        }
        EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, nullptr);
        std::vector<GifPixelType> row(size_t(f.width));
        for (int y = 0; y < f.height; ++y) {
            for (int x = 0; x < f.width; ++x)
                row[size_t(x)] = GifPixelType((x + y) % 4);
            EGifPutLine(gif, row.data(), f.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

QByteArray Bitmap(int width, int height, int bits) {
    const int rowBytes = (width * bits / 8 + 3) / 4 * 4;
    QByteArray b(1, '\0');
    for (int v : {width, height, rowBytes})
        b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    b.append(char(bits));
    for (int i = 0; i < rowBytes * height; ++i)
        b.append(char(i * 7));
    return b;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 1;
    }
    QGuiApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"image", "picture", "settings"})
        dir.mkpath(QString::fromLatin1(sub));

    QImage picture(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            picture.setPixel(x, y, qRgba(30 * x, 50 * y, 128, x == 0 ? 0 : 255));
    const QString image = dir.filePath(QStringLiteral("image/"));
    Write(image + "a.png", Encoded(picture, "PNG"));
    Write(image + "b.bmp", Encoded(picture.convertToFormat(QImage::Format_RGB888), "BMP"));
    Write(image + "c.bmp", Encoded(picture.convertToFormat(QImage::Format_RGB16), "BMP"));
    Write(image + "d.jpg", Encoded(picture, "JPEG"));
    Write(image + "e.gif", Gif(7, 5, {{0, 0, 7, 5, false}}, false));
    Write(image + "f.gif", Gif(6, 9, {{0, 0, 6, 9, true}}, true));
    Write(image + "g.gif", Gif(8, 8, {{1, 1, 4, 4, false}, {0, 0, 8, 8, false}}, false));
    Write(image + "h.gif", Gif(4, 3, {{2, 1, 5, 5, false}}, true));

    const QString bitmaps = dir.filePath(QStringLiteral("picture/"));
    Write(bitmaps + "16.bin", Bitmap(5, 3, 16));
    Write(bitmaps + "24.bin", Bitmap(5, 3, 24));
    Write(bitmaps + "32.bin", Bitmap(4, 2, 32));
    Write(bitmaps + "png.bin", QByteArray(1, '\1') + Encoded(picture, "PNG"));
    Write(bitmaps + "gif.bin", QByteArray(1, '\1') + Gif(4, 3, {{0, 0, 4, 3, true}}, true));
    // Dark text on white, as the bitmap-text paste takes it, in unusual formats: palette, grey,
    // one bit, 16 bits per channel, with transparency, and as a JPEG.
    QImage text(24, 9, QImage::Format_RGB32);
    text.fill(Qt::white);
    for (int y = 2; y < 7; ++y)
        for (int x = 3; x < 20; x += 2)
            text.setPixel(x, y, qRgb(20, 20, 40));
    Write(bitmaps + "text-indexed.bin",
          QByteArray(1, '\1') + Encoded(text.convertToFormat(QImage::Format_Indexed8), "PNG"));
    Write(bitmaps + "text-grey.bin",
          QByteArray(1, '\1') + Encoded(text.convertToFormat(QImage::Format_Grayscale8), "PNG"));
    Write(bitmaps + "text-mono.bin",
          QByteArray(1, '\1') + Encoded(text.convertToFormat(QImage::Format_Mono), "BMP"));
    Write(bitmaps + "text-wide.bin",
          QByteArray(1, '\1') + Encoded(text.convertToFormat(QImage::Format_RGBA64), "PNG"));
    Write(bitmaps + "text-alpha.bin",
          QByteArray(1, '\1') + Encoded(text.convertToFormat(QImage::Format_ARGB32_Premultiplied), "PNG"));
    Write(bitmaps + "text.jpg.bin", QByteArray(1, '\1') + Encoded(text, "JPEG"));

    CMemFile settings;
    {
        CArchive ar(&settings, CArchive::store);
        HxResetPreferenceSettings();
        HxStoreSettings(ar);
        ar.Close();
    }
    const std::vector<BYTE>& bytes = settings.Data();
    Write(dir.filePath(QStringLiteral("settings/default.dat")),
          QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    return 0;
}
