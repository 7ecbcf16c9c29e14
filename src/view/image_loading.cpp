// Picture decoding: giflib for GIF (first frame on its logical screen), Qt's readers for the rest.
#include "view/image_loading.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// The largest picture accepted: 16384 pixels a side and 2^28 pixels in all.
constexpr long long kMaxSide = 16384;
constexpr long long kMaxPixels = 1LL << 28;

struct GifSource {
    const QByteArray* data;
    qsizetype pos;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int count) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    qsizetype left = src->data->size() - src->pos;
    int n = int(std::min<qsizetype>(left, std::max(count, 0)));
    if (n > 0)
        std::memcpy(out, src->data->constData() + src->pos, size_t(n));
    src->pos += n;
    return n;
}

bool Fail(DWORD code, const QString& text, DWORD& errorCode, CString& errorText) {
    errorCode = code;
    errorText = CString::FromQString(text);
    return false;
}

bool DecodeGif(const QByteArray& data, QImage& image, DWORD& errorCode, CString& errorText) {
    GifSource source{&data, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadGifBytes, &error);
    if (!gif)
        return Fail(HX_E_FAIL, QString::fromUtf8(GifErrorString(error)), errorCode, errorText);
    struct Closer {
        GifFileType* gif;
        ~Closer() {
            int e = 0;
            DGifCloseFile(gif, &e);
        }
    } closer{gif};

    // A frame cut short leaves part of its pixels unread: the file counts as damaged.
    if (DGifSlurp(gif) != GIF_OK)
        return Fail(HX_E_FAIL, QString::fromUtf8(GifErrorString(gif->Error)), errorCode, errorText);
    if (gif->ImageCount < 1 || !gif->SavedImages[0].RasterBits)
        return Fail(HX_E_FAIL, QStringLiteral("GIF file holds no image"), errorCode, errorText);

    const SavedImage& frame = gif->SavedImages[0];
    const GifImageDesc& desc = frame.ImageDesc;
    const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!colors || colors->ColorCount <= 0 || !colors->Colors)
        return Fail(HX_E_FAIL, QStringLiteral("GIF file has no colour table"), errorCode, errorText);
    if (desc.Width <= 0 || desc.Height <= 0)
        return Fail(HX_E_FAIL, QStringLiteral("GIF image is empty"), errorCode, errorText);

    long long width = gif->SWidth > 0 ? gif->SWidth : desc.Left + desc.Width;
    long long height = gif->SHeight > 0 ? gif->SHeight : desc.Top + desc.Height;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("GIF image is too large"), errorCode, errorText);

    const int colorCount = std::min(colors->ColorCount, 256);
    QImage canvas(int(width), int(height), QImage::Format_Indexed8);
    if (canvas.isNull())
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("Out of memory"), errorCode, errorText);
    QList<QRgb> table;
    for (int i = 0; i < colorCount; ++i)
        table.push_back(qRgb(colors->Colors[i].Red, colors->Colors[i].Green, colors->Colors[i].Blue));
    canvas.setColorTable(table);
    int background = gif->SColorMap && gif->SBackGroundColor < colorCount ? gif->SBackGroundColor : 0;
    canvas.fill(uint(background));

    int transparent = -1;
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK)
        transparent = gcb.TransparentColor;

    for (int y = 0; y < desc.Height; ++y) {
        long long dy = (long long)desc.Top + y;
        if (dy < 0 || dy >= height)
            continue;
        const GifByteType* src = frame.RasterBits + (size_t)y * (size_t)desc.Width;
        uchar* dst = canvas.scanLine(int(dy));
        for (int x = 0; x < desc.Width; ++x) {
            long long dx = (long long)desc.Left + x;
            if (dx < 0 || dx >= width)
                continue;
            int index = src[x];
            if (index == transparent)
                continue;
            dst[dx] = uchar(index < colorCount ? index : 0);
        }
    }
    image = canvas;
    return true;
}
} // namespace

bool HxLoadImageData(const QByteArray& data, QImage& image, DWORD& errorCode, CString& errorText) {
    image = QImage();
    if (data.startsWith("GIF8"))
        return DecodeGif(data, image, errorCode, errorText);
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
                           (long long)size.width() * size.height() > kMaxPixels))
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("Image is too large"), errorCode, errorText);
    QImage loaded;
    if (!reader.read(&loaded) || loaded.isNull()) {
        QString why = reader.errorString();
        if (why.isEmpty())
            why = QStringLiteral("Unknown image format");
        return Fail(HX_E_FAIL, why, errorCode, errorText);
    }
    image = loaded;
    return true;
}

bool HxLoadImageFile(const CString& path, QImage& image, DWORD& errorCode, CString& errorText) {
    image = QImage();
    QFile file(path.ToQString());
    if (!file.exists())
        return Fail(HX_E_FILE_NOT_FOUND, QStringLiteral("The file cannot be found"), errorCode, errorText);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(HX_E_ACCESS_DENIED, file.errorString(), errorCode, errorText);
    if (file.size() > kMaxPixels * 4)
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("Image is too large"), errorCode, errorText);
    QByteArray data = file.readAll();
    return HxLoadImageData(data, image, errorCode, errorText);
}

int HxImageBitsPerPixel(const QImage& image) {
    return image.isNull() ? 0 : image.depth();
}

bool MakeTrueColourImage(QImage& image) {
    if (image.isNull())
        return false;
    const int bpp = image.depth();
    if (bpp == 24 || bpp == 32)
        return true;
    QImage converted = image.convertToFormat(QImage::Format_RGB888);
    if (converted.isNull())
        return false;
    image = converted;
    return true;
}

BYTE* HxPackImagePixels(const QImage& source) {
    if (source.isNull() || source.width() <= 0 || source.height() <= 0)
        return nullptr;
    QImage image = source;
    const int bpp = image.depth();
    if (bpp != 24 && bpp != 32)
        return nullptr;
    // 32-bit pixels are read as QRgb words; everything else goes through RGB888.
    bool bgra = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    if (!bgra) {
        if (image.format() == QImage::Format_ARGB32_Premultiplied) {
            image = image.convertToFormat(QImage::Format_ARGB32);
            bgra = true;
        } else if (image.format() != QImage::Format_RGB888) {
            image = image.convertToFormat(QImage::Format_RGB888);
        }
        if (image.isNull())
            return nullptr;
    }
    const int width = image.width(), height = image.height();
    const size_t rowBytes = size_t(HxPackedRowBytes(width));
    BYTE* pixels = new (std::nothrow) BYTE[rowBytes * size_t(height)];
    if (!pixels)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        const uchar* src = image.constScanLine(y);
        BYTE* dst = pixels + rowBytes * size_t(height - 1 - y);
        if (bgra) {
            const QRgb* words = reinterpret_cast<const QRgb*>(src);
            for (int x = 0; x < width; ++x) {
                dst[3 * x] = BYTE(qBlue(words[x]));
                dst[3 * x + 1] = BYTE(qGreen(words[x]));
                dst[3 * x + 2] = BYTE(qRed(words[x]));
            }
        } else {
            for (int x = 0; x < width; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
        }
        std::fill(dst + 3 * size_t(width), dst + rowBytes, BYTE(0));
    }
    return pixels;
}
