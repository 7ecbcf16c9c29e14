// Pictures of the drawing: the crop box of the figure in a read-back frame, pictures saved as BMP,
// JPEG, GIF (giflib) or PNG, screen rectangles copied into bitmaps, bitmaps on the clipboard, and
// bitmaps made into one-bit dark-pixel masks or RGBA texture bytes.  A bitmap is a QImage; a null
// image stands for "no bitmap", an empty byte vector for "no mask".
#pragma once

#include "platform/afx.h"
#include "platform/bitmap_bits.h"

#include <QImage>

#include <vector>

// The background colour as bytes: each channel of g_backgroundColor times 255, truncated.
void HxBackgroundBytes(BYTE out[3]);

// The box of the non-background pixels of a frame read back bottom-up as RGBA rows (row 0 is the
// window's bottom row): left and bottom inclusive, right and top exclusive, widened by 4 pixels on
// each side that keeps more than 4 pixels of room.  A pixel is background when its red, green and
// blue equal `background` (alpha is ignored).  False when the frame holds only background.
bool HxFindFigureBox(const BYTE* rgba, int width, int height, const BYTE background[3], int* left, int* right,
                     int* top, int* bottom);

// A copy of what the screen shows inside a rectangle in screen coordinates, whatever window lies
// there; a null image for an empty rectangle or when the screen cannot be read.
QImage CaptureWindowRect(const CRect& rect);

// Puts a bitmap on the clipboard (as the clipboard's picture); false for a null bitmap or when there
// is no clipboard.
bool HxCopyBitmapToClipboard(const QImage& bitmap);

// The clipboard's picture as a cropped mask (BitmapToMonochrome); empty when the clipboard holds no
// usable picture or the picture has no dark pixel.
std::vector<BYTE> ClipboardBitmapToMonochrome(int* width, int* height);
// A picture of any format as that mask, as a device bitmap of the screen would give it: transparent
// parts laid on white, depths the mask does not take (palettes, grey levels, wide channels) made
// 32-bit first; `cropped` as BitmapToMonochrome gives it.
std::vector<BYTE> HxPictureToMonochrome(const QImage& picture, int* width, int* height,
                                        CPoint* cropped = nullptr);

// The picture formats of the Save As command by the file name's extension (any case): "bmp",
// "jpg" or "jpeg", "gif", "png"; an empty string for others.
QString HxPictureFormatOf(const CString& path);
// Writes a picture in the format of the path's extension.  On failure returns false and, when
// error is given, the text "Save image failed:\n<code> - <reason>": the code in hexadecimal, the
// reason in Chinese.
bool HxSavePicture(const QImage& picture, const CString& path, CString* error);
// The GIF writer: the picture's own colours when it has at most 256, else a median-cut palette.
// Returns a giflib error code (0 when written): E_GIF_ERR_WRITE_FAILED when the file could not be
// written, its cause then in fileError (when given).
int HxWriteGif(const QImage& picture, const QString& path, CFileException* fileError = nullptr);
