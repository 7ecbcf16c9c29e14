// The table grid of a page: hidden control points that move the whole table and size each column
// and row, the grid points that follow them, the segments and cell faces, a hidden point inside
// every cell, and the button that shows or hides the control points.
#include "model/page.h"

#include "construct/construction.h"
#include "dynamics/buttons.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "points/translated_points.h"
#include "view/vertex_array.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <array>

namespace {

constexpr int kMaxCount = 20;

// Hidden, and without its name shown: the table's points are only handles.
void HidePoint(CGCell& point) {
    point.m_hidden = 1;
    point.m_labelHidden = 1;
}

} // namespace

int CGPage::TableCellCount(int rows, int columns) {
    if (rows < 1 || columns < 1 || rows > kMaxCount || columns > kMaxCount)
        return 0;
    return 5 * rows * columns + 2 * (rows + columns) + 2;
}

int CGPage::BuildTable(int rows, int columns, BOOL fromData, float x0, float y0, const float* columnWidths,
                       const float* rowHeights) {
    ClearSelection();
    const int count = TableCellCount(rows, columns);
    if (count == 0)
        return 0;
    CCellMaker make(*this);
    if (!make.Reserve(count, (rows + 1) * (columns + 1) + rows * columns))
        return 0;

    // The default cell fills the drawing area with one cell of margin on each side.
    const float cellWidth = float(g_clientWidth) * g_unitLength / float(columns + 2);
    const float cellHeight = float(g_clientHeight) * g_unitLength / float(rows + 2);
    if (!fromData) {
        x0 = float(columns) * cellWidth * -0.5f;
        y0 = float(rows) * cellHeight * 0.5f;
    }
    const bool givenWidths = fromData && columnWidths;
    const bool givenHeights = fromData && rowHeights;

    auto hidden = [](auto* point) {
        HidePoint(*point);
        return point;
    };
    auto segment = [&make](WORD a, WORD b) {
        CGCell* line = make.AddCell<CGLine>(a, b, CGLine::kSegment);
        line->m_color.r = g_colorTable.r;
        line->m_color.g = g_colorTable.g;
        line->m_color.b = g_colorTable.b;
    };

    // G[i][j]: the anchor, the column points along row 0, the row points along column 0, and the grid
    // points at the lower right corner of every cell.
    std::array<std::array<WORD, kMaxCount + 1>, kMaxCount + 1> grid{};
    grid[0][0] = hidden(make.AddNamedPoint<CGVerFreeXyz>(u"Table", x0, y0, 0.0f))->m_id;
    m_selAll.AddTail(grid[0][0]);
    for (int j = 1; j <= columns; ++j) {
        auto* column = hidden(
            make.AddNamedPoint<CGVerFreeParVector>(HxFormat(u"%d", j), 1.0f, 0.0f, 0.0f, grid[0][j - 1]));
        column->m_param1 = givenWidths ? columnWidths[j] : cellWidth;
        column->Recompute();
        grid[0][j] = column->m_id;
        m_selAll.AddTail(column->m_id);
        segment(grid[0][j - 1], grid[0][j]);
    }
    for (int i = 1; i <= rows; ++i) {
        auto* row = hidden(
            make.AddNamedPoint<CGVerFreeParVector>(HxFormat(u"%d", i), 0.0f, 1.0f, 0.0f, grid[i - 1][0]));
        row->m_param1 = -(givenHeights ? rowHeights[i] : cellHeight);
        row->Recompute();
        grid[i][0] = row->m_id;
        m_selAll.AddTail(row->m_id);
        segment(grid[i - 1][0], grid[i][0]);
    }
    for (int i = 1; i <= rows; ++i) {
        for (int j = 1; j <= columns; ++j) {
            grid[i][j] = hidden(make.AddNamedPoint<CGVerTranslate>(HxFormat(u"V%d%d", i, j), grid[i][j - 1],
                                                                   grid[i - 1][j - 1], grid[i - 1][j]))
                             ->m_id;
            segment(grid[i][j - 1], grid[i][j]);
            segment(grid[i - 1][j], grid[i][j]);
            const WORD face = make.AddCell<CGFace>(grid[i - 1][j - 1], grid[i][j - 1], grid[i][j],
                                                   grid[i - 1][j], NextAutoColor())
                                  ->m_id;
            m_selAll.AddTail(
                hidden(make.AddNamedPoint<CGVerFreeInFace>(HxFormat(u"T%d%d", i, j), face, 0.1f, 0.8f))
                    ->m_id);
        }
    }
    // The button takes the control points gathered in the selection list as its targets.
    auto* button = make.AddCell<CGButnSHide>();
    button->SetCaption(u"显示控位点");
    button->m_style = 1;
    button->m_nameFixed = true;
    m_selAll.RemoveAll();
    return make.Count();
}
