// Picture files read whole and decoded within the limits, true-colour conversion and the packed
// pixel layout.
#include "view/image_loading.h"

#include "platform/file.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <new>

bool HxLoadImageFile(const CString& path, QImage& image, DWORD& errorCode, CString& errorText) {
    image = QImage();
    auto fail = [&](DWORD code, HxImageFailure failure) {
        errorCode = code;
        errorText = HxImageFailureReason(failure);
        return false;
    };
    QFile file;
    switch (HxOpenRegularFile(file, path.ToQString())) {
    case CFileException::none:
        break;
    case CFileException::fileNotFound:
        return fail(HX_E_FILE_NOT_FOUND, HxImageFailure::NotFound);
    case CFileException::invalidFile:
        return fail(HX_E_ACCESS_DENIED, HxImageFailure::NotRegularFile);
    default:
        return fail(HX_E_ACCESS_DENIED, HxImageFailure::CannotOpen);
    }
    if (file.size() > kHxMaxImageFileBytes)
        return fail(HX_E_OUT_OF_MEMORY, HxImageFailure::TooLarge);
    const QByteArray data = file.readAll();
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
