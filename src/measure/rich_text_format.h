// What the RTF reader and writer share: the properties they keep in text formats and the
// conversions between twips and the document's pixels.
#pragma once

#include <QTextFormat>

#include <cmath>

namespace HxRtf {

// A character standing for a kept group: its object type and the properties of its format.
constexpr int kKeptGroupObject = QTextFormat::UserObject + 41;
constexpr int kGroupBytes = QTextFormat::UserProperty + 41; // QByteArray: the group as read
constexpr int kGroupBox = QTextFormat::UserProperty + 42;   // QSizeF: placeholder box in pixels
// Of a character format: the character set of its font as the font table gave it.
constexpr int kFontCharset = QTextFormat::UserProperty + 43;
// Of the root frame: the groups read before the text (QList<QByteArray>).
constexpr int kHeaderGroups = QTextFormat::UserProperty + 44;
// Of a list format: the first number (\pnstart).
constexpr int kListStart = QTextFormat::UserProperty + 45;
// Of a character format: its face once more, as a string.  A document tells its formats apart by a
// hash that sees a list of families only by its length: a text of thousands of runs, each in a face
// of its own, would have each new run's format compared with every one before it.
constexpr int kFaceKey = QTextFormat::UserProperty + 46;

// The document's pixels are 96 to the inch: 15 twips each.
inline double TwipsToPixels(int twips) {
    return twips / 15.0;
}
inline int PixelsToTwips(double pixels) {
    return int(std::lround(pixels * 15.0));
}

} // namespace HxRtf
