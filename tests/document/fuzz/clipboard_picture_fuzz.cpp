// Fuzz target: the clipboard's picture made into the pixels of a picture item.  The first byte
// chooses the source: 0, a device bitmap whose width, height, row bytes (16 bits each) and depth (8
// bits) come next and whose bits follow; else, picture file bytes as another program offers them,
// which are also decoded as the bitmap-text paste decodes them and made into its one-bit mask and
// into a picture item's rows (the picture commands' conversions), whatever their format.
#include "document/clipboard_picture.h"
#include "platform/image_reading.h"
#include "view/picture_export.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void Convert(const HxClipboardBitmap& bitmap) {
    std::vector<BYTE> rgb;
    const HxPictureResult result = HxConvertClipboardBitmap(bitmap, rgb);
    if (result != HxPictureResult::Ok) {
        Check(rgb.empty());
        return;
    }
    Check(HxImageSizeAllowed(bitmap.width, bitmap.height));
    Check((long long)rgb.size() == HxPictureRowBytes(bitmap.width) * bitmap.height);
}

// The picture decoded within the program's limits, then the bitmap text's mask (rows of
// ((w + 31) / 32) x 4 bytes, cropped to the dark pixels) and a picture item's rows.
void ConvertDecoded(const QByteArray& bytes) {
    QImage image;
    DWORD code = 0;
    CString why;
    if (!HxLoadImageData(bytes, image, code, why) || image.isNull())
        return;
    Check(HxImageSizeAllowed(image.width(), image.height()));
    int width = 0, height = 0;
    const std::vector<BYTE> mask = HxPictureToMonochrome(image, &width, &height);
    if (!mask.empty()) {
        // Cropped at whole bytes: up to the image's width rounded up to 8.
        Check(width > 0 && height > 0 && width <= (image.width() + 7) / 8 * 8 && height <= image.height());
        Check((long long)mask.size() >= (width + 31LL) / 32 * 4 * height);
    }
    const std::vector<BYTE> rows = HxPictureRows(image);
    if (!rows.empty())
        Check((long long)rows.size() == HxPictureRowBytes(image.width()) * image.height());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    HxClipboardBitmap bitmap;
    if (data[0] == 0) {
        if (size < 8)
            return 0;
        auto word = [&](size_t at) { return int(int16_t(data[at] | (data[at + 1] << 8))); };
        bitmap.width = word(1);
        bitmap.height = word(3);
        bitmap.widthBytes = word(5);
        bitmap.bitsPerPixel = data[7];
        bitmap.bits.assign(data + 8, data + size);
        Convert(bitmap);
        return 0;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    ConvertDecoded(bytes);
    if (!HxBitmapFromPictureBytes(bytes, bitmap)) {
        Check(bitmap.bits.empty());
        return 0;
    }
    Check(bitmap.widthBytes > 0 && bitmap.bits.size() == size_t(bitmap.widthBytes) * size_t(bitmap.height));
    Convert(bitmap);
    return 0;
}
