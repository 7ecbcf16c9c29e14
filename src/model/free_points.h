// The free points, which the user drags with the mouse: their common base with the drag operation,
// the point free in space, the point on a line and the point on a circle, and the small routines
// other point classes share with them.
#pragma once

#include "model/arc.h"
#include "model/line.h"
#include "model/vertex.h"

// A point the mouse can drag.  While it is dragged the view sets the pick ray (g_pickRayNear,
// g_pickRayFar, g_viewDirX/Y/Z) and g_dragKeepZ, then calls ConstrainToCarrier, which moves the
// point onto its carrier where the ray meets it (position, vertex-array entry, label anchor and the
// class's parameter) or leaves everything as it was; the view then recomputes the descendants it
// collected when the drag began.  The point itself is not recomputed during the drag.
class CGVerFree : public CGVertex {
    DECLARE_SERIAL(CGVerFree)
public:
    CGVerFree() = default; // as a point; a record of this class loads as a point no drag moves

    virtual void ConstrainToCarrier() {}
    CString GetDescription() override; // "自由点"

protected:
    // The point part at (x, y, z), drawn in the free-point colour (the alpha is the point's).
    CGVerFree(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z);

    // Stores the position, writes it into the vertex array and moves the label anchor, without
    // going through the virtual SyncVertex (which some free points turn into a recomputation).
    void StorePosition(float x, float y, float z);
    void StorePosition(const float p[3]) { StorePosition(p[0], p[1], p[2]); }
    // The move in space of a point dragged freely: in the plane z = const through the point, or
    // y = const while Ctrl is held (g_dragKeepZ 0); refused when the ray meets that plane too
    // obliquely (the near-minus-far component below 10) or the hit lies outside the cube of
    // +-200; rounded to whole units with g_snapToGrid.  TRUE when the point moved.
    BOOL MoveInSpace();
    // Parent i as a point, or null when it is missing or not a point; its name, or "".
    CGVertex* PointParent(int i) const;
    CString PointParentName(int i) const;
};

// A point free in space, at a position of its own.
class CGVerFreeXyz : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeXyz)
public:
    CGVerFreeXyz() = default;
    CGVerFreeXyz(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z);

    void ConstrainToCarrier() override; // MoveInSpace
    CString GetDescription() override;  // "全自由点"
};

// A point on a line, segment, ray or vector at the parameter t = m_param1 (0 at the line's first
// point, 1 at its second).  Invalid while the line is.
class CGVerFreeInLine : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInLine)
public:
    CGVerFreeInLine(); // t = 0.5
    CGVerFreeInLine(WORD id, DWORD vertexIndex, const CString& name, WORD lineId, float t);

    // A + t (B - A) of the line's current points.
    void Recompute() override;
    void SyncVertex() override; // Recompute
    // To the point of the line nearest to the pick ray, within the extent of the line's kind (a
    // segment or vector stops at its ends, a ray at its start); nothing while the line runs along
    // the ray.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "线AB上的点"

    CGLine* GetLine() const;
};

// A point on a circle or arc at the angle t = m_param1, with a copy of the circle kept from its
// last recomputation.  Invalid while the circle is.
class CGVerFreeInCircle : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInCircle)
public:
    CGVerFreeInCircle(); // t = 1, the kept circle all zero
    CGVerFreeInCircle(WORD id, DWORD vertexIndex, const CString& name, WORD circleId, float t);

    // The point record, then the kept centre, U, V and normal (12 floats).
    void Serialize(CArchive& ar) override;
    // Copies the circle and places the point at O + cos t U + sin t V.
    void Recompute() override;
    // The same formula from the kept copy, without asking the circle.
    void SyncVertex() override;
    // To the point of the circle nearest to the pick ray (within an arc's sweep), taking its
    // angle; nothing when the ray runs along the circle's plane.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "圆c1上的点"

    CGArc* GetCircle() const;

    float m_center[3] = {0.0f, 0.0f, 0.0f};
    float m_axisU[3] = {0.0f, 0.0f, 0.0f};
    float m_axisV[3] = {0.0f, 0.0f, 0.0f};
    float m_normal[3] = {0.0f, 0.0f, 0.0f}; // U x V

private:
    // O + cos t U + sin t V of the kept copy, in single precision.
    void PlaceFromKeptCircle();
};

// ---- Routines shared with other point classes ----

// The point at the parameter t of a line (A + t (B - A), per coordinate in single precision, with
// no extent test): FALSE when the cell is not a line, is invalid, or lacks a point.  The points on
// lines at a fixed parameter compute themselves with it too.
BOOL HxPointOnLine(const CGCell* line, float t, float out[3]);

// The position of a point that follows another at a fixed offset: the master's position plus the
// offset; FALSE when the master is missing, no point, or invalid.
BOOL HxFollowerPosition(WORD masterId, const float offset[3], float out[3]);

// The three floats that the records of followers, directions and normals append to the point record.
void HxSerializeFloats(CArchive& ar, float* values, int count);
