// CGSection: the polygon in which the plane of a face cuts a convex hull, recomputed whenever the
// face's corners move, with the polygon routines it is built by.
#pragma once

#include "model/cell.h"
#include "solids/polyhedron_data.h"

class CGPolyhedron;

class CGSection : public CGCell {
    DECLARE_SERIAL(CGSection)
public:
    CGSection();
    // The section of a hull by the plane of a face (both already in g_cellMap), named "面与体截面图",
    // outlined in g_colorObject and filled in (196, 255, 225); computed at once.
    CGSection(WORD id, WORD hullId, WORD faceId);

    // The common record only: the polygon is computed again after loading.
    void Serialize(CArchive& ar) override;
    // Invalid when the hull or the face is missing or invalid.  Otherwise valid; the polygon is
    // emptied when the plane does not cut the hull or the face's first three corners give no plane,
    // so that nothing stale is drawn.
    void Recompute() override;
    void DrawFill() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "多面体与平面的截面图"

    std::vector<PolyPoint> m_polygon;

private:
    void DrawOutline();
};

// The plane of a face's first three corners (Q0, Q1, Q2): unit normal (Q0 - Q1) × (Q2 - Q1) and
// d = -(n · Q1).  False when a corner is missing or invalid (valid set false), or when the corners
// are collinear (valid stays true, plane untouched).
bool HxPlaneOfFace(WORD faceId, PolyFace& plane, bool& valid);

// The hull's points in the plane and its edges' crossings with it, ordered round the section.
// False with the output untouched when no point lies above or none below the plane; false also when
// a section point was left out of the convex polygon (the output then holds the corners that stay).
bool ComputeSectionPolygon(const PolyFace& plane, const CGPolyhedron& hull, std::vector<PolyPoint>& out);
// Coplanar points in their convex order (three or fewer in the order given).  False with the output
// untouched when they are not coplanar.
bool OrderCoplanarPolygon(std::vector<PolyPoint>& out, const std::vector<PolyPoint>& points);
bool ArePointsCoplanar(const std::vector<PolyPoint>& points);
// A monotone-chain hull of 2D points (x, y of each): the points are sorted in place by y, then x, and
// the indices of the hull's corners, counter-clockwise and without collinear points, are returned.
// `carried` is sorted along with the points when given.
std::vector<int> ConvexHull2D(std::vector<PolyPoint>& points, std::vector<PolyPoint>* carried = nullptr);
