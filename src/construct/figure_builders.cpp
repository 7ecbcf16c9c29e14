// The page's builders that complete a dynamic solid on a base face: the prism over the face given its
// first top vertex, the pyramid given its apex, and the frustum cut from the pyramid given its apex.
// Every vertex they add is a constructed point tied to the base and the given vertex.
#include "construct/construction.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "view/view_colors.h"

namespace {

// The corners of a base face and the point given with it, as the builders take them: null when the
// face is no face of the page, has fewer than three corners, a corner is no point, or the given
// vertex is no point.
struct CBase {
    std::vector<WORD> corners;
    CGVertex* given = nullptr;
};
bool ReadBase(const CGPage& page, WORD vertexId, WORD faceId, CBase& base) {
    const auto* face = DYNAMIC_DOWNCAST(CGFace, page.FindCell(faceId));
    base.given = DYNAMIC_DOWNCAST(CGVertex, page.FindCell(vertexId));
    if (!face || !base.given || face->m_parents.GetSize() < 3)
        return false;
    for (WORD id : face->m_parents) {
        if (!DYNAMIC_DOWNCAST(CGVertex, page.FindCell(id)))
            return false;
        base.corners.push_back(id);
    }
    return true;
}

// A top vertex's name: its base vertex's name with "1".
CString TopName(const CGPage& page, WORD baseId) {
    return page.FindCell(baseId)->m_name + u"1";
}

// The four corners of the lateral face between base edge (a0, a1) and top edge (b0, b1).
CGFace* AddLateralFace(CCellMaker& make, WORD a0, WORD a1, WORD b1, WORD b0) {
    return make.AddCell<CGFace>(a0, a1, b1, b0, NextAutoColor());
}

// The top edges, lateral edges, lateral faces and the top face that the prism and the frustum share,
// once the top vertex B[i] of every base vertex A[i] exists: made in the order of the builders, the
// cells of edge i right after B[i] (which `makeTop` makes; B[0] is given).
template <class MakeTop>
void CloseSolid(CCellMaker& make, const std::vector<WORD>& a, WORD b0, MakeTop makeTop) {
    const size_t n = a.size();
    std::vector<WORD> b{b0};
    CList<WORD, WORD> top;
    top.AddTail(b0);
    for (size_t i = 1; i < n; ++i) {
        b.push_back(makeTop(i));
        top.AddTail(b[i]);
        make.AddCell<CGLine>(b[i - 1], b[i], CGLine::kSegment);
        make.AddCell<CGLine>(a[i], b[i], CGLine::kSegment);
        AddLateralFace(make, a[i - 1], a[i], b[i], b[i - 1]);
    }
    make.AddCell<CGLine>(b[n - 1], b[0], CGLine::kSegment);
    make.AddCell<CGLine>(a[0], b[0], CGLine::kSegment);
    AddLateralFace(make, a[n - 1], a[0], b[0], b[n - 1]);
    make.AddCell<CGFace>(top, NextAutoColor());
}

} // namespace

int CGPage::BuildPrism(WORD topId, WORD faceId) {
    CBase base;
    if (!ReadBase(*this, topId, faceId, base))
        return 0;
    const std::vector<WORD>& a = base.corners;
    const int n = int(a.size());
    CCellMaker make(*this);
    if (!make.Reserve(4 * n, n))
        return 0;
    // The given vertex stands over the first base vertex and is named after it; its label text is
    // built again, and so are those of what was built on it.
    CGVertex* t = base.given;
    t->m_name = TopName(*this, a[0]);
    t->m_flag2 = true;
    CollectDescendantIds(*t, m_scratchIds);
    const std::vector<WORD> renamed = m_scratchIds;
    UpdateTextsById(renamed);
    CloseSolid(make, a, topId, [&](size_t i) {
        return make.AddNamedPoint<CGVerTranslate>(TopName(*this, a[i]), a[i], a[0], topId)->m_id;
    });
    return make.Count();
}

int CGPage::BuildPyramid(WORD apexId, WORD faceId) {
    CBase base;
    if (!ReadBase(*this, apexId, faceId, base))
        return 0;
    const std::vector<WORD>& a = base.corners;
    const int n = int(a.size());
    // No point is made: the vertex array is not asked for room.
    CCellMaker make(*this);
    if (!make.Reserve(2 * n, 0))
        return 0;
    for (int i = 1; i < n; ++i) {
        make.AddCell<CGLine>(apexId, a[i], CGLine::kSegment);
        make.AddCell<CGFace>(apexId, a[i - 1], a[i], NextAutoColor());
    }
    make.AddCell<CGLine>(apexId, a[0], CGLine::kSegment);
    make.AddCell<CGFace>(apexId, a[n - 1], a[0], NextAutoColor());
    return make.Count();
}

int CGPage::BuildFrustum(WORD apexId, WORD faceId) {
    CBase base;
    if (!ReadBase(*this, apexId, faceId, base))
        return 0;
    const std::vector<WORD>& a = base.corners;
    const int n = int(a.size());
    CCellMaker make(*this);
    if (!make.Reserve(4 * n + 2, n))
        return 0;
    // The cut runs through a point dragged along the line from the apex to the first base vertex;
    // the line itself is not drawn.
    CGLine* lateral = make.AddCell<CGLine>(apexId, a[0], CGLine::kSegment);
    lateral->m_hidden = 1;
    const WORD b0 = make.AddNamedPoint<CGVerFreeInLine>(TopName(*this, a[0]), lateral->m_id, 0.5f)->m_id;
    CloseSolid(make, a, b0, [&](size_t i) {
        // A[i] scaled about the apex by |V B0| / |V A0|: on the line V A[i], in the plane through
        // B0 parallel to the base.
        return make.AddNamedPoint<CGVerScaleP>(TopName(*this, a[i]), a[i], apexId, apexId, b0, a[0])->m_id;
    });
    return make.Count();
}
