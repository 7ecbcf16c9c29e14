// A slide's text as a rich-text document, its colour, and the beginning of it that a box shows.
#pragma once

#include "slides/pptx_reader.h"

#include <memory>

class QTextDocument;
class QTextBlockFormat;
struct HxLayoutBudget;

// The margin a document keeps on each side, in pixels (a document's own default).
constexpr double kSlideDocumentMargin = 4;

// A paragraph's format in a document's units: its alignment, its left margin and first line's
// indent, its spacing before and after, its line spacing, and for a bulleted paragraph whose bullet
// hangs a tab stop at the margin, where its text starts after the bullet; its lines kept `left` and
// `right` points more from the document's sides (HxSlideTextSides).
QTextBlockFormat HxSlideBlockFormat(const HxSlideParagraphFormat& paragraph, double left = 0,
                                    double right = 0);
// What the lines of a text keep from a document's sides besides the document's margin, in points:
// its box's left and right insets less that margin (none where an inset is smaller).
struct HxSlideTextSides {
    double left = 0, right = 0;
};
HxSlideTextSides HxSlideTextSidesOf(const HxSlideText& text);

// A text of the slides as a rich-text document, its lines kept from the sides by its box's insets
// (HxSlideTextSidesOf); with `blackenNearWhite`, runs whose red, green and
// blue are all 221 or more become black (they would vanish on the white of the picture).  The
// document is filled in one edit without undo steps; it is laid out only when asked to.
void HxSlideTextToDocument(const HxSlideText& text, bool blackenNearWhite, QTextDocument& doc);
// The colour of a text (its first run with a visible character, bullets and numbers aside, near-white
// made black with `blackenNearWhite`; black without one).
QRgb HxSlideTextColor(const HxSlideText& text, bool blackenNearWhite);

// The size in pixels of the smallest characters of a text (superscripts and subscripts at two thirds of
// theirs) among those a box `width` x `height` pixels can show.
double HxSlideTextSmallestPixels(const HxSlideText& text, double width, double height);
// The beginning of a text that shows in a box `width` x `height` pixels, laid out `width` wide as the
// whole text would be as far as the box reaches: first as many characters as HxShownLengthEstimate
// gives for the box and the smallest characters of the text's part that the box can show, more as
// HxLayOutShownBeginning says (a long text would take long to lay out whole); of each row of
// combining marks the first kMaxShownMarks.  With a `budget`, as much as it allows.
std::unique_ptr<QTextDocument> HxSlideTextShownPart(const HxSlideText& text, double width, double height,
                                                    HxLayoutBudget* budget = nullptr);

// A text laid out in its box as the slide places it: `width` pixels wide, its lines kept from the
// sides by the box's insets, from the top inset and the first paragraph's space before it down when
// anchored at the top (the document's layout leaves that space out), else at the middle
// or the bottom of the room between the top and bottom insets of a box `boxHeight` pixels high (a
// text taller than the room runs past both sides, or past the top).  Laid out as far as lines are
// wanted: `below` pixels below the box's top when anchored at the top; a text anchored otherwise
// is laid out as far as `above` + `below` (a span it may show in, with the box in it), and when it
// is taller than that it is placed as at the top (with `tallAtTop`, whenever its lines are taller
// than the span; else when it is not laid out whole within it).  With a `budget`, as much as it
// allows.
struct HxSlideTextLayout {
    // The beginning laid out; its left side, pixels right of the box's (0 or less); its top, pixels
    // below the box's top (negative: above it); its height as laid out, its margins included; and
    // whether it holds every line of the text.
    std::unique_ptr<QTextDocument> doc;
    double left = 0;
    double top = 0;
    double height = 0;
    bool whole = true;
    // Whether it lies at its box's middle or bottom as anchored (false: at the top).
    bool anchored = false;
    // Where its lines begin and end, pixels below the box's top.
    double LinesTop() const { return top + kSlideDocumentMargin; }
    double LinesBottom() const { return top + height - kSlideDocumentMargin; }
};
HxSlideTextLayout HxLayOutSlideText(const HxSlideText& text, double width, double boxHeight, double above,
                                    double below, HxLayoutBudget* budget = nullptr, bool tallAtTop = false);
