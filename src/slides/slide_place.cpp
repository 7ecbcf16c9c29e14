// Where the shapes of a slide land on a page: a box's corner and size, and a table's grid.
#include "slides/slide_place.h"

#include "measure/rich_text.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPixelsPerPoint = 4.0 / 3.0;

} // namespace

int HxSlidePixelSide(double points) {
    if (!std::isfinite(points))
        return 1;
    return int(std::clamp(std::lround(std::clamp(points, 0.0, 1.0e6) * kPixelsPerPoint), 1L,
                          long(HxRtfLimits::kMaxPictureSide)));
}

HxSlidePlace HxPlaceSlideBox(const HxSlideBox& box, const HxSlideSize& slide) {
    const double u = double(g_unitLength) * 4.0 / 3.0;
    HxSlidePlace place;
    place.x = float((box.left - slide.width / 2) * u);
    place.y = float((slide.height / 2 - box.top - box.height) * u);
    place.pixelWidth = HxSlidePixelSide(box.width);
    place.pixelHeight = HxSlidePixelSide(box.height);
    return place;
}

HxTablePlan HxPlanSlideTable(const HxSlideShape& table, const HxSlideSize& slide) {
    HxTablePlan plan;
    const int rows = table.rows, columns = table.columns;
    if (rows < 1 || columns < 1 || table.cells.size() != size_t(rows) * size_t(columns))
        return plan;
    const double u = double(g_unitLength) * 4.0 / 3.0;
    const HxSlideBox& origin = table.Cell(0, 0).box;
    plan.x0 = float((origin.left - slide.width / 2) * u);
    plan.y0 = float((slide.height / 2 - origin.top) * u);
    // Each row as high and each column as wide as its smallest cell.
    plan.rowHeights.assign(size_t(rows) + 1, 10000.0f);
    plan.columnWidths.assign(size_t(columns) + 1, 10000.0f);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c) {
            const HxSlideBox& box = table.Cell(r - 1, c - 1).box;
            plan.rowHeights[size_t(r)] = std::min(plan.rowHeights[size_t(r)], float(box.height * u));
            plan.columnWidths[size_t(c)] = std::min(plan.columnWidths[size_t(c)], float(box.width * u));
        }
    // Rows from the last up, the top of the cell below kept per column.
    std::vector<double> below(size_t(columns) + 1, -10000.0);
    for (int r = rows; r >= 1; --r) {
        double previousLeft = -10000.0;
        for (int c = 1; c <= columns; ++c) {
            const HxSlideBox& box = table.Cell(r - 1, c - 1).box;
            HxTableCellStep step;
            step.row = r;
            step.column = c;
            step.k = columns * r + c;
            step.hideLeft = c != 1 && !(box.left > previousLeft);
            step.hideBelow = r != rows && !(box.top < below[size_t(c)]);
            below[size_t(c)] = box.top;
            previousLeft = box.left;
            plan.steps.push_back(step);
        }
    }
    return plan;
}
