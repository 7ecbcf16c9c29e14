// One-bit masks, RGBA bytes, packed DIBs and ".bmp" files made from device bitmaps.
#include "platform/bitmap_bits.h"

#include <cstring>

namespace {

// The bitmap in the byte layout of a device bitmap of its depth (blue, green, red for 24 and 32
// bits), with its bits per pixel; 0 for depths that are not taken.
int DeviceLayout(const QImage& in, QImage& out) {
    switch (in.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        out = in;
        return 1;
    case QImage::Format_RGB16:
        out = in;
        return 16;
    case QImage::Format_BGR888:
        out = in;
        return 24;
    case QImage::Format_RGB888:
        out = in.convertToFormat(QImage::Format_BGR888);
        return 24;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        out = in;
        return 32;
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        out = in.convertToFormat(QImage::Format_ARGB32);
        return 32;
    default:
        return 0;
    }
}

int MaskRowBytes(int width) {
    return (width + 31) / 32 * 4;
}

} // namespace

std::vector<BYTE> BitmapToMonochrome(const QImage& bitmap, int* width, int* height, BOOL keepSize,
                                     CPoint* cropped) {
    if (cropped)
        *cropped = CPoint(0, 0);
    QImage image;
    const int bits = bitmap.isNull() ? 0 : DeviceLayout(bitmap, image);
    if (bits == 0)
        return {};
    const int w = image.width(), h = image.height();
    const int rowBytes = MaskRowBytes(w);
    std::vector<BYTE> mask(size_t(rowBytes) * size_t(h), 0);
    // Of a one-bit bitmap the darker of its two colours is the ink.
    int darkIndex = 0;
    if (bits == 1 && image.colorCount() >= 2 && qGray(image.color(0)) > qGray(image.color(1)))
        darkIndex = 1;
    for (int y = 0; y < h; ++y) {
        const uchar* line = image.constScanLine(y);
        BYTE* out = mask.data() + size_t(h - 1 - y) * size_t(rowBytes);
        for (int x = 0; x < w; ++x) {
            bool dark = false;
            if (bits == 32 || bits == 24) {
                const uchar* p = line + size_t(x) * size_t(bits / 8);
                dark = (int(p[0]) + p[1] + p[2]) / 3 < 192;
            } else if (bits == 16) {
                const unsigned v = unsigned(line[2 * x]) | (unsigned(line[2 * x + 1]) << 8);
                dark = (((v >> 3) & 0xFC) + (v >> 8) + ((v << 3) & 0xFF)) / 3 < 192;
            } else {
                dark = image.pixelIndex(x, y) == darkIndex;
            }
            if (dark)
                out[x / 8] |= BYTE(0x80 >> (x % 8));
        }
    }
    *width = w;
    *height = h;
    if (keepSize)
        return mask;

    int firstRow = -1, lastRow = -1, firstByte = rowBytes, lastByte = -1;
    for (int row = 0; row < h; ++row) {
        const BYTE* r = mask.data() + size_t(row) * size_t(rowBytes);
        for (int b = 0; b < rowBytes; ++b) {
            if (r[b] == 0)
                continue;
            if (firstRow < 0)
                firstRow = row;
            lastRow = row;
            firstByte = std::min(firstByte, b);
            lastByte = std::max(lastByte, b);
        }
    }
    if (firstRow < 0)
        return {};
    const int newWidth = (lastByte - firstByte + 1) * 8;
    const int newHeight = lastRow - firstRow + 1;
    const int newRowBytes = MaskRowBytes(newWidth);
    std::vector<BYTE> croppedMask(size_t(newRowBytes) * size_t(newHeight), 0);
    for (int row = 0; row < newHeight; ++row)
        std::memcpy(croppedMask.data() + size_t(row) * size_t(newRowBytes),
                    mask.data() + size_t(firstRow + row) * size_t(rowBytes) + size_t(firstByte),
                    size_t(lastByte - firstByte + 1));
    *width = newWidth;
    *height = newHeight;
    if (cropped) // the rows are bottom-up: the first kept one lies firstRow rows above the bottom
        *cropped = CPoint(firstByte * 8, firstRow);
    return croppedMask;
}

std::vector<BYTE> BitmapToBits(const QImage& bitmap, int* width, int* height, COLORREF key, BYTE keyAlpha) {
    QImage image;
    const int bits = bitmap.isNull() ? 0 : DeviceLayout(bitmap, image);
    if (bits != 16 && bits != 24 && bits != 32)
        return {};
    const int w = image.width(), h = image.height();
    std::vector<BYTE> out(size_t(w) * 4 * size_t(h));
    for (int y = 0; y < h; ++y) {
        const uchar* line = image.constScanLine(y);
        BYTE* row = out.data() + size_t(h - 1 - y) * size_t(w) * 4;
        for (int x = 0; x < w; ++x) {
            BYTE r, g, b;
            if (bits == 16) {
                const unsigned v = unsigned(line[2 * x]) | (unsigned(line[2 * x + 1]) << 8);
                r = BYTE(v >> 8);
                g = BYTE((v >> 3) & 0xFC);
                b = BYTE((v << 3) & 0xFF);
            } else {
                const uchar* p = line + size_t(x) * size_t(bits / 8);
                r = p[2];
                g = p[1];
                b = p[0];
            }
            BYTE* o = row + size_t(x) * 4;
            o[0] = r;
            o[1] = g;
            o[2] = b;
            o[3] = (r == GetRValue(key) && g == GetGValue(key) && b == GetBValue(key)) ? keyAlpha : 255;
        }
    }
    *width = w;
    *height = h;
    return out;
}

// ---------------------------------------------------------------------------------------------
// Packed DIBs and ".bmp" files

void HxPutWord(std::vector<BYTE>& out, WORD v) {
    out.push_back(BYTE(v & 0xFF));
    out.push_back(BYTE(v >> 8));
}

void HxPutDword(std::vector<BYTE>& out, DWORD v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(BYTE((v >> (8 * i)) & 0xFF));
}

void HxSetDword(std::vector<BYTE>& out, size_t at, DWORD v) {
    for (size_t i = 0; i < 4; ++i)
        out[at + i] = BYTE((v >> (8 * i)) & 0xFF);
}

static constexpr DWORD kInfoHeaderSize = 40;

std::vector<BYTE> BitmapToDib(const QImage& bitmap, DWORD compression) {
    QImage image;
    int bits = bitmap.isNull() ? 0 : DeviceLayout(bitmap, image);
    if (bits == 0 || compression != BI_RGB)
        return {};
    // Uncompressed 16-bit DIBs are 5-5-5: a 5-6-5 bitmap goes out at 32 bits instead.
    if (bits == 16) {
        image = image.convertToFormat(QImage::Format_RGB32);
        bits = 32;
    }
    const int w = image.width(), h = image.height();
    const size_t rowBytes = size_t((w * bits + 31) / 32 * 4);
    const int tableEntries = bits <= 8 ? 1 << bits : 0;
    std::vector<BYTE> dib;
    dib.reserve(kInfoHeaderSize + size_t(tableEntries) * 4 + rowBytes * size_t(h));
    HxPutDword(dib, kInfoHeaderSize);
    HxPutDword(dib, DWORD(w));
    HxPutDword(dib, DWORD(h)); // positive: rows bottom-up
    HxPutWord(dib, 1);
    HxPutWord(dib, WORD(bits));
    HxPutDword(dib, compression);
    HxPutDword(dib, DWORD(rowBytes * size_t(h)));
    for (int i = 0; i < 4; ++i) // resolutions and colour counts
        HxPutDword(dib, 0);
    for (int i = 0; i < tableEntries; ++i) {
        const QRgb c = i < image.colorCount() ? image.color(i) : qRgb(0, 0, 0);
        dib.push_back(BYTE(qBlue(c)));
        dib.push_back(BYTE(qGreen(c)));
        dib.push_back(BYTE(qRed(c)));
        dib.push_back(0);
    }
    // Qt keeps one-bit rows most significant bit first (Format_Mono) as a DIB does.
    if (image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Mono);
    const size_t used = size_t((w * bits + 7) / 8);
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = image.constScanLine(y);
        dib.insert(dib.end(), line, line + used);
        dib.insert(dib.end(), rowBytes - used, BYTE(0));
    }
    return dib;
}

std::vector<BYTE> HxBmpFileBytes(const std::vector<BYTE>& dib) {
    if (dib.size() < kInfoHeaderSize)
        return {};
    const WORD bitCount = WORD(dib[14] | (dib[15] << 8));
    const DWORD table = bitCount <= 8 ? (DWORD(1) << bitCount) * 4 : 0;
    std::vector<BYTE> file;
    file.reserve(14 + dib.size());
    file.push_back('B');
    file.push_back('M');
    HxPutDword(file, DWORD(dib.size() + 14));
    HxPutWord(file, 0);
    HxPutWord(file, 0);
    HxPutDword(file, 14 + kInfoHeaderSize + table);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}
