// Fuzz target: arbitrary bytes read as a picture (GIF, BMP, JPEG, PNG, by content) within the
// program's picture limits, then made true colour and packed as a texture.  The decoder's own
// count of what it held stays within the limits.
#include "platform/image_reading.h"
#include "view/image_loading.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage image;
    DWORD code = 0;
    CString text;
    HxImageCost cost;
    const bool loaded = HxLoadImageData(bytes, image, code, text, &cost);
    // At most the screen and one row of a GIF, or one picture of eight bytes a pixel.
    Check(cost.peakBytes <= kHxMaxImagePixels * 8);
    Check(cost.pixelsDecoded <= kHxMaxImagePixels);
    if (!loaded) {
        Check(image.isNull() && (code == HX_E_FAIL || code == HX_E_OUT_OF_MEMORY));
        return 0;
    }
    Check(HxImageSizeAllowed(image.width(), image.height()));
    if (MakeTrueColourImage(image)) {
        std::unique_ptr<BYTE[]> packed(HxPackImagePixels(image));
        Check(packed != nullptr);
    }
    return 0;
}
