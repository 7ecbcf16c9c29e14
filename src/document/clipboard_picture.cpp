// The clipboard's picture, or any picture, as the pixels of a picture item, and the scale that fits
// it into the view.
#include "document/clipboard_picture.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

long long HxPictureRowBytes(long long width) {
    return (24 * width + 31) / 32 * 4;
}

HxPictureResult HxConvertClipboardBitmap(const HxClipboardBitmap& bitmap, std::vector<BYTE>& rgb) {
    rgb.clear();
    const int bits = bitmap.bitsPerPixel;
    if (bits != 16 && bits != 24 && bits != 32)
        return HxPictureResult::BadDepth;
    const long long w = bitmap.width, h = bitmap.height, stride = bitmap.widthBytes;
    const long long bytesPerPixel = bits / 8;
    // The rows must hold their pixels, and the bits their rows: a shorter source is never read past.
    if (w <= 0 || h <= 0 || stride < w * bytesPerPixel)
        return HxPictureResult::BadData;
    if (!HxImageSizeAllowed(w, h))
        return HxPictureResult::TooLarge;
    if ((long long)bitmap.bits.size() / stride < h)
        return HxPictureResult::BadData;
    const long long rowBytes = HxPictureRowBytes(w);
    rgb.assign(size_t(rowBytes * h), 0);
    for (long long r = 0; r < h; ++r) {
        const BYTE* src = bitmap.bits.data() + r * stride;
        BYTE* dst = rgb.data() + (h - 1 - r) * rowBytes;
        for (long long x = 0; x < w; ++x, dst += 3) {
            if (bits == 16) {
                const unsigned v = unsigned(src[2 * x]) | (unsigned(src[2 * x + 1]) << 8);
                dst[0] = BYTE((v >> 8) & 0xF8);
                dst[1] = BYTE((v >> 3) & 0xFC);
                dst[2] = BYTE((v << 3) & 0xF8);
            } else {
                const BYTE* p = src + x * bytesPerPixel;
                dst[0] = p[2];
                dst[1] = p[1];
                dst[2] = p[0];
            }
        }
    }
    return HxPictureResult::Ok;
}

std::vector<BYTE> HxPictureRows(const QImage& picture) {
    if (picture.isNull() || !HxImageSizeAllowed(picture.width(), picture.height()))
        return {};
    QImage rgb;
    if (picture.hasAlphaChannel()) {
        QImage onWhite(picture.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, picture);
        painter.end();
        rgb = onWhite.convertToFormat(QImage::Format_RGB888);
    } else {
        rgb = picture.convertToFormat(QImage::Format_RGB888);
    }
    if (rgb.isNull())
        return {};
    const long long w = rgb.width(), h = rgb.height(), rowBytes = HxPictureRowBytes(w);
    std::vector<BYTE> rows(size_t(rowBytes * h), 0);
    for (long long y = 0; y < h; ++y)
        std::memcpy(rows.data() + (h - 1 - y) * rowBytes, rgb.constScanLine(int(y)), size_t(3 * w));
    return rows;
}

double HxPictureFitScale(int width, int height, int clientWidth, int clientHeight) {
    if (width <= 0 || height <= 0 || clientWidth <= 0 || clientHeight <= 0)
        return 1.0;
    const double maxW = 0.98 * clientWidth, maxH = 0.98 * clientHeight;
    if (width <= maxW && height <= maxH)
        return 1.0;
    return std::min(maxW / width, maxH / height);
}
