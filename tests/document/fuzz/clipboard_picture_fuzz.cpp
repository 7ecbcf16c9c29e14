// Fuzz target: the clipboard's picture made into the pixels of a picture item.  The first byte
// chooses the source: 0, a device bitmap whose width, height, row bytes (16 bits each) and depth (8
// bits) come next and whose bits follow; else, picture file bytes as another program offers them.
#include "document/clipboard_picture.h"

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
    if (!HxBitmapFromPictureBytes(bytes, bitmap)) {
        Check(bitmap.bits.empty());
        return 0;
    }
    Check(bitmap.widthBytes > 0 && bitmap.bits.size() == size_t(bitmap.widthBytes) * size_t(bitmap.height));
    Convert(bitmap);
    return 0;
}
