// The rich text of the bitmap text items: our own reader and writer of the RTF the rich-text editor
// writes, the conversion to and from QTextDocument, the one-bit picture of the formatted text, and
// the packing of the RTF bytes into the item's string.
#pragma once

#include "platform/afx.h"

#include <QByteArray>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QTextDocument>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

// Limits of the reader and the renderer: what lies beyond them is refused or clamped, so that a
// damaged item never makes the program recurse or allocate without bound.
struct HxRtfLimits {
    static constexpr int kMaxDepth = 64;     // group nesting; deeper input is refused
    static constexpr int kMaxFonts = 256;    // font-table entries kept; later ones are ignored
    static constexpr int kMinHalfPoints = 2; // \fs is clamped to 1 .. 1638 points
    static constexpr int kMaxHalfPoints = 3276;
    static constexpr int kMaxTwips = 31680;       // indents, spacing and tab stops: at most 22 inches
    static constexpr int kMaxTabs = 64;           // tab stops of a paragraph; later ones are ignored
    static constexpr int kMaxPictureSide = 4096;  // sides of the one-bit picture, in pixels
    static constexpr int kDefaultBoxTwips = 1440; // size of an object placeholder without \objw/\objh
};

// RTF bytes in the item's string: two bytes a UTF-16 unit (b0 | b1 << 8), an odd last byte paired
// with the terminating zero, and a zero after them.  Unpacking reads bytes up to the first zero.
CString PackRtfBytes(const QByteArray& rtf);
QByteArray UnpackRtfBytes(const CString& packed);

// Reads RTF into `doc` (cleared first).  The subset understood: the font and colour tables,
// \b \i \ul \super \sub \nosupersub \plain \f \fs \cf, \u with \uc, \'hh in the code page of the
// font's character set, \par \pard \line \tab, alignment, indents, paragraph spacing, line spacing,
// tab stops (\tx, with \tqr \tqc \tqdec; the first kMaxTabs of a paragraph) and paragraph numbering
// (\pn).  Groups of unknown destinations ({\* ...}) and embedded objects and pictures ({\object ...},
// {\pict ...}) are kept byte for byte: those before the text in the document's root frame, the others
// as object characters (objects and pictures drawn as a placeholder box).  Refused, with `error` set
// and `doc` left empty: input that is not RTF, nesting deeper than kMaxDepth, unbalanced groups, \binN
// longer than the bytes left, and, with a `maxLength` of 0 or more, text of more characters than that
// (paragraph ends and objects one each; `tooLong` set, and the reading stops there).  The document is
// filled in one edit, without undo steps: a layout it has lays it out afterwards, as far as it is
// asked to.
bool HxRtfToDocument(const QByteArray& rtf, QTextDocument& doc, CString* error = nullptr,
                     qsizetype maxLength = -1, bool* tooLong = nullptr);
// The document as RTF, in the form HxRtfToDocument reads (kept groups written back unchanged).
QByteArray HxDocumentToRtf(const QTextDocument& doc);
// The control words the writer states a paragraph's format with after its \pard: alignment, indents,
// spacing, line spacing and tab stops (each as far from where a line starts as the document's
// layout measures it), each only when it is not the default.
QByteArray HxRtfParagraphWords(const class QTextBlockFormat& format);

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

// What the pictures of several texts may lay out together (all those of one slide import), in
// characters: each beginning laid out counts its characters, and, when its paragraphs are broken at
// word boundaries, about W² / (128 p) more for each unbroken run of W characters in lines of at least
// p characters (finding where each line of a run ends passes the rest of the run); 8 more for each
// change of script or format (each starts an item of the layout of its own), and 3 more for each
// character of a script whose line breaks come from a dictionary (Thai, Lao, Khmer, Myanmar); 2,048
// more for each typeface that no beginning laid out before met (`faces`: its font is looked for and
// loaded), past the first 16.  A picture whose text would want more than is left lays out what is
// left, or kMinimum when less is left, and counts as reduced: with less than kMinimum left, the
// first beginning a picture's size asks for and, when that does not show what the picture does, one
// of kMinimum; a text counts at most 2 x kMinimum past what was left when its picture began (a
// beginning of kMinimum laid out twice: broken anywhere, then at word boundaries when a character
// is wider than a line), the last beginning cut to that.  Breaking at word boundaries, a run of W
// characters holding n changes of script or format costs about 0.6 W n / p more: each of its lines
// passes the rest of the run item by item.
struct HxLayoutBudget {
    static constexpr qsizetype kMinimum = 256;
    qsizetype left = std::numeric_limits<qsizetype>::max();
    qsizetype laidOut = 0; // what every beginning laid out counted
    int reduced = 0;       // pictures drawn from less than their text would show
    QSet<QString> faces;   // the typefaces laid out so far
    // Runs before each beginning a text lays out, and may lower `left`: a time read while one long
    // text is laid out.
    std::function<void()> beforeEachBeginning;
};

// The most combining marks (and joiners) in a row that a picture lays out: a letter under more is
// drawn under the first of them (a text that keeps to the stream-safe form of Unicode has at most 30).
constexpr int kMaxShownMarks = 30;
// Removes from `doc` the combining marks past kMaxShownMarks of each row of them, in one edit; the
// number removed.
qsizetype HxCapCombiningMarks(QTextDocument& doc);

// A beginning of a text made for a picture (HxLayOutShownBeginning), not laid out and without a
// layout yet: `whole` when it holds all the text; `restNoTaller` when the text after it to the end of
// its paragraph makes no line taller than the character the beginning ends with (it is of a size no
// larger, at the same position to the baseline: faces of one size are taken to make lines of one
// height); `marksCut` the combining marks left out (HxCapCombiningMarks).
struct HxShownBeginning {
    std::unique_ptr<QTextDocument> doc;
    bool whole = false;
    bool restNoTaller = false;
    qsizetype marksCut = 0;
};

// The part of `doc` that shows in a picture `width` pixels wide and `height` high: a copy of its
// beginning laid out `width` pixels wide, as laid out in the whole document as far as the picture
// reaches (see HxLayOutShownBeginning).  The first beginning tried is HxShownLengthEstimate's for the
// smallest characters of the part of the document the picture can show.  With a `budget`, as much
// as it allows.
std::unique_ptr<QTextDocument> HxRichTextShownPart(const QTextDocument& doc, int width, int height,
                                                   HxLayoutBudget* budget = nullptr);
// The beginning of a long text that shows in a picture `width` x `height` pixels, laid out `width`
// pixels wide: what `beginning` makes of the text's first `length` characters; the first
// `firstLength` characters, then beginnings four times as long each time while the last line of one
// starts above the picture's bottom and more is left (a long text would take long to lay out whole);
// when the rest of the text's paragraph is taller than where the beginning is cut, while the first
// line that holds the unbroken run the beginning ends in starts above the bottom (each line of a run
// broken inside is as high as the rest of the run).  A last line that starts in the picture also
// ends the search when it is a line wider than the text's width (in a box narrower than its
// characters each line holds a word, however long) whose bottom reaches the picture's bottom and
// which ends a line's height or more past the picture's right side, in a paragraph read from left to
// right whose rest is no taller: the whole text's line shows the same.  A beginning whose paragraphs
// are each one unbroken run, none of its characters taller than one before it, is broken anywhere,
// which makes the same lines without searching the rest of the run for each (unless a character is
// wider than a line).  With a `budget`, each beginning is cut to what is left of it (at least
// HxLayoutBudget::kMinimum) and counted against it; with less than the minimum left, the
// beginning after the first is of the minimum and the last, and the text keeps to 2 x the minimum
// past what was left when it began.
std::unique_ptr<QTextDocument>
HxLayOutShownBeginning(qsizetype firstLength, double width, double height,
                       const std::function<HxShownBeginning(qsizetype length)>& beginning,
                       HxLayoutBudget* budget = nullptr);
// The first length to lay out of a text whose smallest characters are `smallestPixels` high in a
// picture `width` x `height` pixels: about as many of its narrowest characters as the picture's lines
// hold, so that a small picture lays out a short beginning.
qsizetype HxShownLengthEstimate(double width, double height, double smallestPixels);
// The one-bit picture of the document laid out `width` pixels wide, in a white picture of
// width x height pixels (each side clamped to 1 .. kMaxPictureSide): rows of ((w + 31) / 32) x 4
// bytes, bottom-up, most significant bit leftmost, a set bit where the text is dark.  Only the part
// that shows is laid out (with a `budget`, as much of it as the budget allows), and of each row of
// combining marks the first kMaxShownMarks.
std::vector<BYTE> HxRenderRichText(const QTextDocument& doc, int width, int height, int* outWidth,
                                   int* outHeight, HxLayoutBudget* budget = nullptr);
