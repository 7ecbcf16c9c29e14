// CGSplit: a convex hull cut into parts by up to ten planes, one plane for each unit of the cell's
// parameter t, the parts on the positive side of the newest plane drifting away along its normal with
// the fraction of t.  The planes come from selected faces or from two fixed tables.
#pragma once

#include "model/cell.h"
#include "solids/polyhedron.h"

#include <memory>

class CGSplit : public CGCell {
    DECLARE_SERIAL(CGSplit)
public:
    static constexpr int32_t kMaxPlanes = 10;

    CGSplit();
    // A cut of a hull (in g_cellMap) by planeCount planes (at most 10).  With useFaces the planes are
    // the first planeCount faces selected on the current page, which become parents 1, 2, ...; with
    // no face selected the fixed planes are used, with fewer the count is lowered to theirs.
    CGSplit(WORD id, WORD hullId, int32_t planeCount, int32_t useFaces, double displacement);
    ~CGSplit() override;

    // The common record, then the plane count, the use-faces flag and the displacement.  Loading
    // keeps the plane count within 1 to 10 and, with faces, within the faces the cut has as parents.
    void Serialize(CArchive& ar) override;
    // Back to the whole hull (no planes used, no parts, t = 0, the hull shown); invalid when the hull
    // or a plane face is invalid; the planes are taken from the faces again.
    void Recompute() override;
    // Brings the cut up to t: at most one more plane per call, the newest parts placed by the fraction.
    void SyncVertex() override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override; // the information text
    void DrawLit() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "多面体分割图"
    // Shows the hull again as it was before this cut hid it behind its parts, unless another cut of
    // the hull in the page still hides it.
    void LeavePage() override;

    // "planes:  %d      parts :  %d"
    CString InfoText() const;
    // The parameter at which every plane has cut: an animation of the cut runs from 0 up to it.
    float FullCutParameter() const { return float(m_planeCount); }
    const PolyFace* Planes() const { return m_planes; }

    int32_t m_planeCount = 3;
    int32_t m_planesUsed = 0;
    int32_t m_partCount = 1;
    int32_t m_useFaces = 0;
    double m_displacement = 2.0;
    std::vector<std::unique_ptr<CGPolyhedron>> m_parts;

private:
    void DeleteParts();
    CGPolyhedron* Hull() const;
    void Cut();
    void DrawParts(int mode) const;
    // Another cut of the same hull in the page that hides the hull behind its parts, or null.
    const CGSplit* OtherCutHidingHull(const CGPolyhedron& hull) const;

    const PolyFace* m_planes = nullptr; // m_ownPlanes or a fixed table
    std::vector<PolyFace> m_ownPlanes;
    // The hull's hidden flag from before the cuts hid it behind their parts, -1 while this cut hides
    // nothing.  Kept in memory only: a loaded cut has no parts and its hull is shown.
    int m_hullHiddenBefore = -1;
};

// The fixed planes: x = 0, y = 0, z = 0 for fewer than four planes, else ten planes around the origin.
extern const PolyFace g_defaultCutPlanes3[3];
extern const PolyFace g_defaultCutPlanes10[10];

// Splits a polyhedron by a plane into the part above it (A, moved by n × displacement) and the part
// below (B).  1: the polyhedron lies above (A is a copy), 2: below (B is a copy), 3: cut into A and B;
// 0 when a part does not close up (vertices − edges + faces ≠ 2); below 0 when the section could not
// be followed (-1 to -9, the step that failed).
int32_t SplitPolyhedronByPlane(const PolyFace& plane, const CGPolyhedron& source, CGPolyhedron& A,
                               CGPolyhedron& B, double displacement);
