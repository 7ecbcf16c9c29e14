// A slide's text as a rich-text document, its colour, and the beginning of it that a box shows.
#pragma once

#include "slides/pptx_reader.h"

#include <memory>

class QTextDocument;
class QTextBlockFormat;
struct HxLayoutBudget;

// A paragraph's format in a document's units: its alignment, its left margin and first line's
// indent, its spacing before and after, its line spacing, and for a bulleted paragraph whose bullet
// hangs a tab stop at the margin, where its text starts after the bullet.
QTextBlockFormat HxSlideBlockFormat(const HxSlideParagraphFormat& paragraph);

// A text of the slides as a rich-text document; with `blackenNearWhite`, runs whose red, green and
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
