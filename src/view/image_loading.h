// Picture files into images (decoded within the program's picture limits, the kind chosen by the
// file's content); images of fewer than 24 bits per pixel made true colour; and the packed pixel
// layout the textures and documents use.
#pragma once

#include "platform/afx.h"
#include "platform/image_reading.h"

#include <QImage>

// The picture of a file (the first frame of an animated GIF).  On failure `image` is null and
// `errorCode` and `errorText` say why.  Damaged or truncated files fail; they never crash.  Only a
// regular file is read: a pipe or a device is refused at once.  HxLoadImageData (from
// platform/image_reading.h) does the same over bytes in memory.
bool HxLoadImageFile(const CString& path, QImage& image, DWORD& errorCode, CString& errorText);

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
