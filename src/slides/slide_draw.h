// Our own drawing of a slide's shape on white: its texts, a table's grid and cells, a group's members.
#pragma once

#include "slides/pptx_reader.h"

#include <QImage>

#include <functional>

struct HxLayoutBudget;

// A shape drawn by our own renderer on white, at 4/3 pixels a point (texts, table grids and their
// texts, a group's members; nothing of pictures and other shapes), each side 1 to 4096 pixels.  A
// text lies in its box as the slide places it (HxLayOutSlideText), cut at the box, and is laid out
// only as far as the picture shows it: in lines as wide as its box up to the picture's largest
// side; with a `budget`, as much as it allows.
// `beforeEachText` runs before each text that shows in the picture is laid out (a table's cells and
// a group's members each), given the pixels its large characters would cover
// (HxSlideTextCoverPixels of the beginning the box shows, in the whole picture): it may lower what
// is left of the budget, and false leaves the text out (counted as reduced in the budget).
QImage HxRenderSlideShape(const HxSlideShape& shape, HxLayoutBudget* budget = nullptr,
                          const std::function<bool(qint64 cover)>& beforeEachText = {});

// Where the lines of a text frame may show, in pixels above its box's top and below it: the box, and
// the slide past it up to its top and down to its bottom (`slideHeight` points) as far as `extraRows`
// rows more than the box's reach.  A text anchored at its box's middle or bottom that is taller than
// that is placed as at the top (HxLayOutSlideText), as a drawn and an editable text alike.
struct HxSlideTextSpan {
    double above = 0, below = 0;
};
HxSlideTextSpan HxSlideTextSpanOf(const HxSlideBox& box, double slideHeight, int extraRows);

// A text frame drawn as the slide shows it: its text placed in its box as the slide places it, and
// lines that run past the box's top or bottom drawn past it as far as the slide's edge (the picture
// then as wide as the box, and as tall as those lines need, at most 4096 pixels and at most
// `extraRows` rows more than the box's; else the box's, as the rest of a shape's picture is), and laid
// out only as far as that picture may reach.  `place` is where the picture lies on the slide; `cut`
// tells that lines lie past it.  `beforeText` and the budget as for HxRenderSlideShape.
struct HxSlideFramePicture {
    QImage image; // null when its memory was not to be had
    HxSlideBox place;
    bool cut = false;
};
HxSlideFramePicture HxRenderSlideTextFrame(const HxSlideShape& shape, double slideHeight, int extraRows,
                                           HxLayoutBudget* budget = nullptr,
                                           const std::function<bool(qint64 cover)>& beforeText = {});
