// Picture files into images: BMP, JPEG and PNG through Qt's readers, GIF through giflib, chosen by
// the file's content; images of fewer than 24 bits per pixel made true colour; and the packed pixel
// layout the textures and documents use.
#pragma once

#include "platform/afx.h"

#include <QImage>

// Error codes reported with a failed load, in the Windows manner.
constexpr DWORD HX_E_FAIL = 0x80004005;
constexpr DWORD HX_E_FILE_NOT_FOUND = 0x80070002;
constexpr DWORD HX_E_ACCESS_DENIED = 0x80070005;
constexpr DWORD HX_E_OUT_OF_MEMORY = 0x8007000E;

// The picture of a file (the first frame of an animated GIF).  On failure `image` is null and
// `errorCode` and `errorText` say why.  Damaged or truncated files fail; they never crash.
bool HxLoadImageFile(const CString& path, QImage& image, DWORD& errorCode, CString& errorText);
// The same over bytes in memory.
bool HxLoadImageData(const QByteArray& data, QImage& image, DWORD& errorCode, CString& errorText);

// Bits per pixel of an image as loaded.
int HxImageBitsPerPixel(const QImage& image);
// An image of fewer (or more) than 24 or 32 bits per pixel becomes 24-bit colour; false when the
// conversion fails.  24- and 32-bit images are left as they are.
bool MakeTrueColourImage(QImage& image);

// Bytes in one row of the packed layout: 3 per pixel, padded with zeros to a multiple of 4.
constexpr int HxPackedRowBytes(int width) {
    return (3 * width + 3) / 4 * 4;
}
// The packed layout of a 24- or 32-bit image: rows bottom-up, blue, green, red per pixel, rows padded
// with zero bytes to a multiple of 4; a new[] block of HxPackedRowBytes(width) * height bytes, or null
// when the image is empty or not of 24 or 32 bits.
BYTE* HxPackImagePixels(const QImage& image);
