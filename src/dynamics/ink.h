// Ink: the strokes the pen draws over the view, and the ink cell that keeps saved strokes on the
// page.  The ink cell's record and drawing belong to the ink code and come with it; here are what
// the view's pen and drag use.
#pragma once

#include "model/cell.h"
#include "model/model_globals.h"

#include <vector>

// One stroke: its points (x, y in the screen-aligned plane of the view's overlays, z = -50) and
// its colour, taken from the pen colour g_currentColor when it is made.
class CStroke : public CObject {
    DECLARE_DYNAMIC(CStroke)
public:
    // Copies x and y of `count` points of three floats each.
    CStroke(int count, const float* points);
    // A connected line through the points in the stroke's colour (the caller sets the width).
    void Draw() const;

    int GetCount() const { return int(m_points.size() / 3); }
    std::vector<float> m_points;
    CRgba m_color;
};

// Saved ink on the page: strokes moved with the pan and by their offset.
class CGInkmarks : public CGCell {
    DECLARE_DYNAMIC(CGInkmarks)
public:
    // Name "Ink Marks", line width 3, the stroke's colour and its bounding box; owns the stroke.
    explicit CGInkmarks(WORD id, CStroke* first);
    ~CGInkmarks() override;
    // Adds a stroke (owned from now on) and widens the bounding box.
    void AddStroke(CStroke* stroke);

    std::vector<CStroke*> m_strokes;
    float m_offset[2] = {0.0f, 0.0f};
    float m_box[4] = {8000.0f, 8000.0f, -8000.0f, -8000.0f}; // min x, min y, max x, max y
};
