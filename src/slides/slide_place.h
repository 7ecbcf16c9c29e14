// Where the shapes of a slide land on a page: a box's corner and size, and a table's grid.
#pragma once

#include "slides/pptx_reader.h"

#include <vector>

// The pixels of a side of `points`, at 4/3 a point: 1 to 4096.
int HxSlidePixelSide(double points);

// Where a shape lands: its lower left corner in drawing units around the centre of the slide it lies
// on (the page's origin is the slide's centre, whatever the slide's size), and its size in pixels.
struct HxSlidePlace {
    float x = 0, y = 0;
    int pixelWidth = 1, pixelHeight = 1;
};
HxSlidePlace HxPlaceSlideBox(const HxSlideBox& box, const HxSlideSize& slide = HxSlideSize());

// The table of a slide as the grid builder takes it, and what each of its cells does: the grid's
// top left corner (around the centre of `slide`, as HxPlaceSlideBox places), its column widths and row
// heights (from index 1), and, for the rows from the last to the first and the columns from the first to the
// last, whether the cell hides the line on its left (merged across) or below it (merged down), or else
// carries its text.
struct HxTableCellStep {
    int row = 0, column = 0; // from 1
    int k = 0;               // columns x row + column
    bool hideLeft = false;   // the object base + 5k - 7
    bool hideBelow = false;  // the object base + 5k - 3
    bool Text() const { return !hideLeft && !hideBelow; }
};
struct HxTablePlan {
    float x0 = 0, y0 = 0;
    std::vector<float> columnWidths; // [0] unused
    std::vector<float> rowHeights;   // [0] unused
    std::vector<HxTableCellStep> steps;
};
HxTablePlan HxPlanSlideTable(const HxSlideShape& table, const HxSlideSize& slide = HxSlideSize());
