// CGPolyhedron: the convex hull of a set of points as a drawing object.  It owns its points, edges and
// faces, keeps them once built, and is drawn in three styles; the cut also uses it, outside the page,
// for its parts, which drift along an offset while the cut runs.
#pragma once

#include "model/cell.h"
#include "solids/polyhedron_data.h"

class CGPolyhedron : public CGCell {
    DECLARE_SERIAL(CGPolyhedron)
public:
    // m_style
    static constexpr BYTE kStyleAuto = 0;    // "自动虚实": edges, dashed behind faces, and the vertices
    static constexpr BYTE kStyleVisible = 1; // "仅实线": the visible edges only
    static constexpr BYTE kStyleLit = 2;     // "光照处理": lit faces, edges only while selected

    // Colour (128, 128, 196), style 1, no geometry.
    CGPolyhedron();
    // A new cell (id 0, no parents) with the other's geometry, offsets, style and colour.
    CGPolyhedron(const CGPolyhedron& other);
    // The same fields as the copy; the rest of this cell stays as it is.
    CGPolyhedron& operator=(const CGPolyhedron& other);

    // The common record, then the points, edges and faces.  Loading refuses negative counts, counts
    // the bytes left cannot hold, coordinates that are not finite, faces of fewer than three corners
    // and corners or edge ends that are not points of the hull.  The offsets are not stored.
    void Serialize(CArchive& ar) override;
    void Recompute() override {} // built once: keeps its geometry and its valid flag
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawLit() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "凸包"

    void ClearGeometry();
    // The figure at its offset, whatever its flags: mode 1 the faces with their normals, mode 0 the
    // edges; other modes draw nothing.
    void DrawPart(int mode) const;

    // The position where the figure is drawn: offset origin + (t - 1) × offset step, t the parameter.
    PolyPoint Displacement() const;

    std::vector<PolyPoint> m_points;
    std::vector<PolyEdge> m_edges;
    std::vector<PolyFace> m_faces;
    PolyPoint m_offsetOrigin;
    PolyPoint m_offsetStep;

private:
    void DrawFaces(bool normals) const;
    void DrawEdges() const;
    void CopyFigure(const CGPolyhedron& other);
};

// Pick class of hulls, nets, sections and cuts: after points, lines, faces and solids.
constexpr unsigned int kPickClassPolyhedron = 11;

// Whether a cell may be drawn or picked in a pass of a figure hidden in the three-view layout.
bool HxInThreeViewLayout();
