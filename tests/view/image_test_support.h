// Test pictures written on the spot: GIF files through giflib, BMP files byte by byte, and a
// recorder of message boxes.
#pragma once

#include "platform/afx.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gif_lib.h>

#include <cstdint>
#include <utility>
#include <vector>

struct GifColor {
    BYTE r, g, b;
};

// A one-frame GIF: `pixels` are colour indices, row by row in display order; an interlaced frame is
// stored in the four passes of the format.  `transparent` >= 0 adds a graphics control block.
inline bool WriteTestGif(const QString& path, int screenW, int screenH, int left, int top, int w, int h,
                         const std::vector<GifColor>& colors, const std::vector<BYTE>& pixels,
                         bool interlace = false, int transparent = -1, int background = 0) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (!gif)
        return false;
    int bits = 1;
    while ((1 << bits) < int(colors.size()))
        ++bits;
    std::vector<GifColorType> table(size_t(1) << bits);
    for (size_t i = 0; i < colors.size(); ++i)
        table[i] = {colors[i].r, colors[i].g, colors[i].b};
    ColorMapObject* map = GifMakeMapObject(1 << bits, table.data());
    bool ok = EGifPutScreenDesc(gif, screenW, screenH, bits, background, map) == GIF_OK;
    if (ok && transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = transparent;
        GifByteType ext[4];
        size_t len = EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, left, top, w, h, interlace, nullptr) == GIF_OK;
    std::vector<int> order;
    if (interlace) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < h; y += step[pass])
                order.push_back(y);
    } else {
        for (int y = 0; y < h; ++y)
            order.push_back(y);
    }
    for (int y : order) {
        std::vector<GifPixelType> row(pixels.begin() + y * w, pixels.begin() + (y + 1) * w);
        ok = ok && EGifPutLine(gif, row.data(), w) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok;
}

inline void PutLe(QByteArray& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A bottom-up 16-bit (5-5-5) BMP; `pixels` row by row from the top.
inline QByteArray Bmp16(int w, int h, const std::vector<uint16_t>& pixels) {
    const int rowBytes = (w * 2 + 3) / 4 * 4;
    const uint32_t size = uint32_t(rowBytes * h), width = uint32_t(w), height = uint32_t(h);
    QByteArray b("BM");
    // File size, reserved, pixel offset; info size, width, height, planes, bits, BI_RGB, image size,
    // resolutions, colours used and important.
    const std::pair<uint32_t, int> header[] = {{54 + size, 4}, {0, 4},    {54, 4}, {40, 4}, {width, 4},
                                               {height, 4},    {1, 2},    {16, 2}, {0, 4},  {size, 4},
                                               {2835, 4},      {2835, 4}, {0, 4},  {0, 4}};
    for (auto [value, bytes] : header)
        PutLe(b, value, bytes);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x)
            PutLe(b, pixels[size_t(y * w + x)], 2);
        for (int p = w * 2; p < rowBytes; ++p)
            b.append('\0');
    }
    return b;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Records message boxes while alive.
struct MessageRecorder {
    std::vector<CString> texts;
    MessageRecorder() {
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            texts.push_back(text);
            return IDOK;
        });
    }
    ~MessageRecorder() { HxSetMessageBoxHandler(nullptr); }
};
