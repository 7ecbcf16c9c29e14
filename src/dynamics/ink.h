// Ink: the strokes the pen draws over the view, and the ink cell that keeps saved strokes on the
// page, drawn on top of the scene in the screen plane, selectable, movable and stored.
#pragma once

#include "model/cell.h"

#include <vector>

// The pen colour, red at start.
extern CRgba g_inkColor;

// The colour a new stroke takes.  The pen has one colour: until the colour command keeps a single
// pen colour for ink and new objects, that is g_inkColor.
CRgba HxInkPenColor();

// One stroke: its points (x, y in the screen-aligned plane of the view's overlays, z = -50) and
// its colour.  Its record: the point count (int32), then x and y of each point (float32); z and the
// colour are not stored.
class CStroke : public CObject {
    DECLARE_SERIAL(CStroke)
public:
    // No points, colour (255, 0, 0, 0).
    CStroke();
    // Copies x and y of `count` points of three floats each; the colour is the pen's.
    CStroke(int count, const float* points);

    // Loading refuses a negative count and one beyond the bytes left (a damaged archive).
    void Serialize(CArchive& ar) override;
    // The line strip through the points in the stroke's own colour (the view's pending strokes).
    virtual void DrawColored() const;
    // The line strip only, in the colour already set (an ink cell's strokes).
    virtual void Draw() const;

    int GetCount() const { return int(m_points.size() / 3); }
    std::vector<float> m_points;
    CRgba m_color{255, 0, 0, 0};
};

// Saved ink on the page: strokes of one colour, moved with the pan and by the offset kept in the
// label anchor (x, y).  The cell's colour is its strokes', its size their line width.
class CGInkmarks : public CGCell {
    DECLARE_SERIAL(CGInkmarks)
public:
    // The bounding box reset only (loading).
    CGInkmarks();
    // Name "Ink Marks", line width 3, the stroke's colour and its bounding box; owns the stroke.
    CGInkmarks(WORD id, CStroke* first);
    ~CGInkmarks() override;
    // Adds a stroke (owned from now on) and widens the bounding box.
    void AddStroke(CStroke* stroke);

    // The common record, the bounding box (min x, max x, min y, max y), then the strokes as an
    // object array of CStroke.
    void Serialize(CArchive& ar) override;
    // In the screen plane moved by the pan and the offset: the bounding box in the selection colour
    // when selected, then the strokes in the cell's colour and width.  Neither drawn nor picked
    // when hidden or in the three-view layout.
    void DrawOnTop() override;
    // From pick mode 3, under class 4: the strokes.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "画笔留下的墨迹"

    std::vector<CStroke*> m_strokes;
    float m_box[4] = {8000.0f, -8000.0f, 8000.0f, -8000.0f}; // min x, max x, min y, max y

private:
    // Pushes the screen matrix moved by the pan and the offset; false when nothing is to be drawn.
    bool BeginScreen() const;
};

class CHalvixDoc;

// Keeps the view's pending strokes as ink cells of the current page ("保存墨迹"): the first stroke
// starts a cell, each following stroke of the same red, green and blue joins it, a stroke of
// another colour starts a new one.  Every new cell takes the label anchor (-panX, -panY), which
// cancels the pan its drawing adds, and the line width `lineWidth`.  One undo step "添加墨迹".
// The cells own the strokes from then on and `strokes` is emptied; without a document, a page or
// strokes, or when the page can take no more cells, nothing happens (the strokes stay pending).
// Returns the number of cells made.
int HxSaveInk(CHalvixDoc* doc, std::vector<CStroke*>& strokes, float panX, float panY, float lineWidth);
