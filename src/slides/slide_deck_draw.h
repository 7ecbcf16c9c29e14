// The drawing of a presentation's slides for an import, as the drawing program does it: each text
// made editable through the rich-text editor's paste, or each shape drawn by our own renderer, handed
// on as records (HxSlideRecords) for the window to build its pages of.
#pragma once

#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"

#include <QByteArray>

#include <functional>

// The pixels the pictures of one import's texts may take past their boxes, where their lines run past
// a box and are drawn as the slide shows them (some fifty pictures of a slide's size): past them, the
// texts stay within their boxes, and are counted as cut.
constexpr qint64 kSlideOverflowPixels = 32LL << 20;

// Draws the slides from..to (cut as the import cuts them) of `deck`, with `convert` as the dialog's
// check box, and hands each record to `out` as soon as it is made (after the hello, which the caller
// hands on first): each slide's begin, its shapes and its end, and done.  Texts of a frame or a table's cell
// become editable texts (cut to the editor's length); groups are left out when converting; tables of 20 rows
// or columns, and every shape when not converting, become pictures cropped to their dark pixels.  A text or
// picture that holds nothing dark is left out and counted with its slide.  The texts are laid out
// within the import's layout budget (kSlideImportMaxLaidOut); once `bounds.milliseconds` have passed
// (on `bounds.clock`, a steady clock when it has none) what is still to draw lays out a short
// beginning of each text.  When memory runs out (or too little of it is left for the next shape), the
// out-of-memory record ends what it hands on.  A text frame whose lines run past its box is drawn
// past it as the slide shows it (an editable one's picture holds every line) while the pictures
// stay within the import's pixels, and the lesson (of `stored` bytes before the import) within the
// largest it may be; else within its box, and counted as cut.
void HxDrawSlideDeck(const HxSlideDeck& deck, int from, int to, bool convert,
                     const HxSlideImportBounds& bounds,
                     const std::function<void(const QByteArray& record)>& out, qint64 stored = 0);
