// The clipboard's picture made into the pixels of a picture item: rows of red, green and blue from the
// bottom up, each padded to 4 bytes; and the scale a picture too large for the drawing area gets.
#pragma once

#include "platform/afx.h"
#include "platform/image_reading.h"

#include <QImage>

#include <vector>

enum class HxPictureResult {
    Ok,
    BadDepth, // not 16, 24 or 32 bits per pixel
    BadData,  // no pixels, or rows too short for their width, or fewer bytes than rows
    TooLarge, // more pixels than the program takes
};

// The bytes of one row of the picture item: ((24 x width + 31) div 32) x 4.
long long HxPictureRowBytes(long long width);

// The pixels of a device bitmap of 16 (5-6-5), 24 or 32 bits, turned upside down and reordered to red,
// green, blue (5 and 6 bit channels moved to the top of their bytes).  `rgb` is left empty unless the
// result is Ok.  Pictures beyond the program's picture limits (kHxMaxImageSide a side,
// kMaxPicturePixels in all) are TooLarge.
constexpr long long kMaxPicturePixels = kHxMaxImagePixels;
HxPictureResult HxConvertClipboardBitmap(const HxClipboardBitmap& bitmap, std::vector<BYTE>& rgb);

// A picture of 24 or 32 bits as the pixels of a picture item (rows of red, green, blue from the bottom
// up, each padded to 4 bytes); transparent parts are laid on white.  Empty for a null picture or one
// beyond the program's picture limits.
std::vector<BYTE> HxPictureRows(const QImage& picture);

// The scale of a picture of width x height pixels shown in a drawing area of clientWidth x
// clientHeight: 1 when it fits into 0.98 of the area each way, else the smaller of the two ratios that
// make it fit.
double HxPictureFitScale(int width, int height, int clientWidth, int clientHeight);
