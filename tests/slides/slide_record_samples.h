// Pieces of the records the drawing of slides hands back, for the tests of their reader: boxes,
// editable texts and pictures of given sizes, a stream that starts with the hello, a slide's counts.
#pragma once

#include "slides/slide_place.h"
#include "slides/slide_records.h"

#include <initializer_list>
#include <vector>

namespace SlideRecordSamples {

inline HxSlideBox Box(double left, double top, double width, double height) {
    HxSlideBox box;
    box.left = left;
    box.top = top;
    box.width = width;
    box.height = height;
    return box;
}

// The bytes of a one-bit picture: rows of whole 32-bit words.
inline qint64 MaskBytes(int width, int height) {
    return qint64(width + 31) / 32 * 4 * height;
}

inline std::vector<BYTE> Bits(int width, int height) {
    return std::vector<BYTE>(size_t(MaskBytes(width, height)), 0x80);
}

// An editable text of a box, as the editor's paste makes it: the name (3 units by default) and the
// rich text "{\rtf1 x}" (9 units).
inline HxDrawnText TextOf(const HxSlideBox& box, const CString& name = u"正方体") {
    HxDrawnText text;
    text.pictureWidth = text.editorWidth = HxSlidePixelSide(box.width);
    text.pictureHeight = text.editorHeight = HxSlidePixelSide(box.height);
    text.picture.assign(size_t(MaskBytes(text.pictureWidth, text.pictureHeight)), 0x10);
    text.name = name;
    text.rtf = u"{\\rtf1 x}";
    text.colored = true;
    text.color = qRgb(200, 10, 20);
    return text;
}

// A stream of records: the hello, then what is given.
inline QByteArray Stream(std::initializer_list<QByteArray> records) {
    QByteArray bytes = HxSlideRecords::Hello();
    for (const QByteArray& r : records)
        bytes += r;
    return bytes;
}

inline HxDrawnSlide Counts(int number, int textsLeftOut = 0) {
    HxDrawnSlide counts;
    counts.number = number;
    counts.textsLeftOut = textsLeftOut;
    return counts;
}

} // namespace SlideRecordSamples
