// The rich text of the bitmap text items: our own reader and writer of the RTF the rich-text editor
// writes, the conversion to and from QTextDocument, the one-bit picture of the formatted text, and
// the packing of the RTF bytes into the item's string.
#pragma once

#include "platform/afx.h"

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QTextDocument>

#include <functional>
#include <memory>
#include <vector>

// Limits of the reader and the renderer: what lies beyond them is refused or clamped, so that a
// damaged item never makes the program recurse or allocate without bound.
struct HxRtfLimits {
    static constexpr int kMaxDepth = 64;     // group nesting; deeper input is refused
    static constexpr int kMaxFonts = 256;    // font-table entries kept; later ones are ignored
    static constexpr int kMinHalfPoints = 2; // \fs is clamped to 1 .. 1638 points
    static constexpr int kMaxHalfPoints = 3276;
    static constexpr int kMaxTwips = 31680;       // indents and spacing: at most 22 inches
    static constexpr int kMaxPictureSide = 4096;  // sides of the one-bit picture, in pixels
    static constexpr int kDefaultBoxTwips = 1440; // size of an object placeholder without \objw/\objh
};

// RTF bytes in the item's string: two bytes a UTF-16 unit (b0 | b1 << 8), an odd last byte paired
// with the terminating zero, and a zero after them.  Unpacking reads bytes up to the first zero.
CString PackRtfBytes(const QByteArray& rtf);
QByteArray UnpackRtfBytes(const CString& packed);

// Reads RTF into `doc` (cleared first).  The subset understood: the font and colour tables,
// \b \i \ul \super \sub \nosupersub \plain \f \fs \cf, \u with \uc, \'hh in the code page of the
// font's character set, \par \pard \line \tab, alignment, indents, paragraph spacing, line spacing
// and paragraph numbering (\pn).  Groups of unknown destinations ({\* ...}) and embedded objects
// and pictures ({\object ...}, {\pict ...}) are kept byte for byte: those before the text in the
// document's root frame, the others as object characters (objects and pictures drawn as a
// placeholder box).  Refused, with `error` set and `doc` left empty: input that is not RTF,
// nesting deeper than kMaxDepth, unbalanced groups, \binN longer than the bytes left, and, with a
// `maxLength` of 0 or more, text of more characters than that (paragraph ends and objects one
// each; `tooLong` set, and the reading stops there).  The document is filled in one edit, without
// undo steps: a layout it has lays it out afterwards, as far as it is asked to.
bool HxRtfToDocument(const QByteArray& rtf, QTextDocument& doc, CString* error = nullptr,
                     qsizetype maxLength = -1, bool* tooLong = nullptr);
// The document as RTF, in the form HxRtfToDocument reads (kept groups written back unchanged).
QByteArray HxDocumentToRtf(const QTextDocument& doc);

// The document's text without the characters that stand for kept groups.
QString HxRichPlainText(const QTextDocument& doc);
// An item's name from its plain text: the text itself up to 5 characters, else its first 4
// characters followed by "...".
CString HxRichTextShortName(const QString& plain);

// Makes the placeholder boxes of objects drawable in `doc` (the reader does this for its own
// documents; an editor showing a document calls it for the editor's layout).
void HxInstallRichObjectHandler(QTextDocument& doc);
// Whether a character format stands for a kept group, its bytes, and the box it is drawn in
// (points; empty for groups that are not drawn).
bool HxIsKeptGroup(const class QTextCharFormat& format);
QByteArray HxKeptGroupBytes(const class QTextCharFormat& format);
QSizeF HxKeptGroupBox(const class QTextCharFormat& format);

// The part of `doc` that shows in a picture `width` pixels wide and `height` high: a copy of its
// beginning laid out `width` pixels wide, as laid out in the whole document as far as the picture
// reaches (the copy's last line starts below it, or the copy is the whole document).  The first
// beginning tried is HxShownLengthEstimate's for the document's smallest characters.
std::unique_ptr<QTextDocument> HxRichTextShownPart(const QTextDocument& doc, int width, int height);
// The beginning of a long text that shows in a picture `height` pixels high, laid out: what
// `beginning` makes of the text's first `length` characters (`whole` set when that is all of it),
// laid out as the picture's width wants; the first `firstLength` characters, then beginnings four
// times as long each time while the last line of one starts above the picture's bottom and more is
// left.  A long text would take long to lay out whole.
std::unique_ptr<QTextDocument> HxLayOutShownBeginning(
    qsizetype firstLength, double height,
    const std::function<std::unique_ptr<QTextDocument>(qsizetype length, bool& whole)>& beginning);
// The first length to lay out of a text whose smallest characters are `smallestPixels` high in a
// picture `width` x `height` pixels: about as many of its narrowest characters as the picture's lines
// hold, so that a small picture lays out a short beginning.
qsizetype HxShownLengthEstimate(double width, double height, double smallestPixels);
// The one-bit picture of the document laid out `width` pixels wide, in a white picture of
// width x height pixels (each side clamped to 1 .. kMaxPictureSide): rows of ((w + 31) / 32) x 4
// bytes, bottom-up, most significant bit leftmost, a set bit where the text is dark.  Only the part
// that shows is laid out.
std::vector<BYTE> HxRenderRichText(const QTextDocument& doc, int width, int height, int* outWidth,
                                   int* outHeight);
