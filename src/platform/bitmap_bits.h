// Device bitmaps (QImages) turned into bytes: one-bit dark-pixel masks, RGBA texture bytes, packed
// DIBs and ".bmp" files.  A null image stands for "no bitmap", an empty byte vector for "none".
#pragma once

#include "platform/afx.h"

#include <QImage>

#include <vector>

// The dark pixels of a bitmap of 1, 16, 24 or 32 bits per pixel as a one-bit mask: rows of
// (width + 31) / 32 x 4 bytes, bottom-up, most significant bit first.  A pixel of 24 or 32 bits is
// dark when the mean of its colour bytes is below 192; of 16 bits by the same test on its
// expanded bytes; of one bit when it is black.  Unless keepSize, the mask is cropped to its dark
// pixels at whole bytes (and is empty when there are none); `cropped`, when given, receives where the
// crop's lower left corner lay in the bitmap, in pixels from its left and from its bottom (0, 0
// for a mask kept whole or empty).  Other depths give an empty mask.
std::vector<BYTE> BitmapToMonochrome(const QImage& bitmap, int* width, int* height, BOOL keepSize,
                                     CPoint* cropped = nullptr);

// A bitmap of 16, 24 or 32 bits per pixel as RGBA bytes, width x 4 a row, bottom-up; pixels of the
// key colour get the key alpha, all others 255.  Other depths give an empty result.
std::vector<BYTE> BitmapToBits(const QImage& bitmap, int* width, int* height, COLORREF key, BYTE keyAlpha);

constexpr DWORD BI_RGB = 0;

// A packed DIB of a bitmap of 1, 24 or 32 bits per pixel (16-bit bitmaps are written with 32): the
// 40-byte BITMAPINFOHEADER (one plane, the bit count, the compression given), a colour table of 2^bits
// entries of 4 bytes for depths up to 8, then the rows bottom-up, each padded to a multiple of 4 bytes.  Only
// uncompressed bits (BI_RGB) can be made; other compressions, other depths and a null bitmap give
// an empty result.
std::vector<BYTE> BitmapToDib(const QImage& bitmap, DWORD compression);
// A ".bmp" file of a packed DIB: "BM", the file size (DIB + 14), two reserved zero words and the
// offset of the bits (14 + header + colour table), then the DIB.  Empty for an empty DIB.
std::vector<BYTE> HxBmpFileBytes(const std::vector<BYTE>& dib);

// Little-endian stores used by the file writers.
void HxPutWord(std::vector<BYTE>& out, WORD v);
void HxPutDword(std::vector<BYTE>& out, DWORD v);
void HxSetDword(std::vector<BYTE>& out, size_t at, DWORD v);
