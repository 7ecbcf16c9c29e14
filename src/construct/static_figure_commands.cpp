// The positioning-figure command: a fixed copy of the selected hull (a polyhedron of points, edges and
// faces) or section (a polygon), or a fixed figure chosen in the dialog "添加定位图", each as one undo
// step.  The copies keep nothing of what they were taken from.
#include "construct/static_figure_commands.h"

#include "construct/construction.h"
#include "construct/static_figure_dialog.h"
#include "document/halvix_doc.h"
#include "model/face.h"
#include "model/line.h"
#include "model/vertex.h"
#include "solids/polyhedron.h"
#include "solids/section.h"
#include "view/view_colors.h"

#include <vector>

const char16_t* const kUndoAddStaticFigure = u"添加静态图";
const char16_t* const kUndoAddHullFigure = u"添加凸多面体定位图";
const char16_t* const kUndoAddPolygonFigure = u"添加多边形";
const char16_t* const g_selectHullOrSectionMessage = u"请选择凸包或截面图！";

namespace {

// The most points a copied hull or section may have.
constexpr size_t kMaxCopiedPoints = 100;

// Whether every edge end and face corner of the hull is one of its points, and every face has three
// corners or more: only then can the copy stand on the points it makes.
bool IsWholeHull(const CGPolyhedron& hull) {
    const int n = int(hull.m_points.size());
    auto inside = [n](int k) { return k >= 0 && k < n; };
    for (const PolyEdge& e : hull.m_edges) {
        if (!inside(e.first) || !inside(e.second))
            return false;
    }
    for (const PolyFace& f : hull.m_faces) {
        if (f.loop.size() < 3 || f.loop.size() > size_t(CGFace::kMaxCorners))
            return false;
        for (int k : f.loop) {
            if (!inside(k))
                return false;
        }
    }
    return true;
}

void AddHullFigure(CHalvixDoc& doc, const CGPolyhedron& hull) {
    const size_t n = hull.m_points.size();
    if (n < 4 || n > kMaxCopiedPoints || !IsWholeHull(hull))
        return;
    CConstruction run(doc);
    if (!run.Reserve(int(n + hull.m_edges.size() + hull.m_faces.size()), int(n)))
        return;
    // Hull point i becomes the point with id base + i.
    std::vector<WORD> ids;
    for (const PolyPoint& p : hull.m_points)
        ids.push_back(run.AddPoint<CGVertex>(float(p.x), float(p.y), float(p.z))->m_id);
    for (const PolyEdge& e : hull.m_edges)
        run.AddCell<CGLine>(ids[size_t(e.first)], ids[size_t(e.second)], CGLine::kSegment);
    for (const PolyFace& f : hull.m_faces) {
        CList<WORD, WORD> corners;
        for (int k : f.loop)
            corners.AddTail(ids[size_t(k)]);
        run.AddCell<CGFace>(corners, NextAutoColor());
    }
    run.CommitCells(kUndoAddHullFigure);
}

void AddPolygonFigure(CHalvixDoc& doc, const std::vector<PolyPoint>& polygon) {
    const size_t n = polygon.size();
    if (n < 3 || n > kMaxCopiedPoints)
        return;
    CConstruction run(doc);
    if (!run.Reserve(int(2 * n + 1), int(n)))
        return;
    CList<WORD, WORD> corners;
    for (const PolyPoint& p : polygon)
        corners.AddTail(run.AddPoint<CGVertex>(float(p.x), float(p.y), float(p.z))->m_id);
    WORD previous = corners.GetHead();
    bool first = true;
    for (WORD id : corners) {
        if (!first)
            run.AddCell<CGLine>(previous, id, CGLine::kSegment);
        first = false;
        previous = id;
    }
    run.AddCell<CGLine>(corners.GetTail(), corners.GetHead(), CGLine::kSegment);
    run.AddCell<CGFace>(corners, NextAutoColor())->m_style = CGFace::kStyleFilled;
    run.CommitCells(kUndoAddPolygonFigure);
}

void AddStaticFigure(CHalvixDoc& doc) {
    CDlgStaticHalvix d;
    if (d.DoModal() != IDOK)
        return;
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    using D = CDlgStaticHalvix;
    const float x = d.m_centreX, y = d.m_centreY, z = d.m_centreZ;
    CConstruction run(doc);
    switch (d.m_type) {
    case D::kCuboid:
        page->BuildStaticCuboid(x, y, z, d.m_length, d.m_width, d.m_height);
        break;
    case D::kPrism:
        page->BuildStaticPrism(x, y, z, d.m_sideCount, d.m_radius, d.m_height, 1.0f);
        break;
    case D::kPyramid:
        page->BuildStaticPyramid(x, y, z, d.m_sideCount, d.m_radius, d.m_height);
        break;
    case D::kFrustum:
        page->BuildStaticPrism(x, y, z, d.m_sideCount, d.m_radius, d.m_height, d.m_ratio);
        break;
    case D::kPolygon:
        page->BuildStaticRegularPolygon(x, y, z, d.m_sideCount, d.m_radius);
        break;
    case D::kTetrahedron:
        page->BuildStaticTetrahedron(x, y, z, d.m_radius);
        break;
    case D::kCube: {
        // The radius is the circumradius: the edge is 2/√3 of it.
        const float e = d.m_radius * 1.1547005f;
        page->BuildStaticCuboid(x, y, z, e, e, e);
        break;
    }
    case D::kOctahedron:
        page->BuildStaticOctahedron(x, y, z, d.m_radius);
        break;
    case D::kDodecahedron:
        page->BuildStaticDodecahedron(x, y, z, d.m_radius);
        break;
    case D::kIcosahedron:
        page->BuildStaticIcosahedron(x, y, z, d.m_radius);
        break;
    case D::kCircle:
        page->BuildStaticCircle(x, y, z, d.m_radius, d.m_axisX, d.m_axisY, d.m_axisZ);
        break;
    case D::kCylinder:
        page->BuildStaticCylinder(x, y, z, d.m_radius, d.m_height, d.m_axisX, d.m_axisY, d.m_axisZ);
        break;
    case D::kCone:
        page->BuildStaticCone(x, y, z, d.m_radius, d.m_height, d.m_axisX, d.m_axisY, d.m_axisZ);
        break;
    case D::kRoundFrustum:
        page->BuildStaticFrustum(x, y, z, d.m_radius, d.m_height, d.m_ratio, d.m_axisX, d.m_axisY, d.m_axisZ);
        break;
    case D::kSphere:
        page->BuildStaticSphere(x, y, z, d.m_radius, d.m_axisX, d.m_axisY, d.m_axisZ);
        break;
    default:
        // The type box was typed into: the cube of edge 10.
        page->BuildStaticCuboid(x, y, z, 10.0f, 10.0f, 10.0f);
        break;
    }
    // A figure that could not be made records nothing, but the views are updated all the same.
    if (run.Count() > 0)
        run.CommitCells(kUndoAddStaticFigure);
    else
        doc.UpdateAllViews(nullptr);
}

} // namespace

void CHalvixDoc::AddStaticFigureCommands() {
    OnCommandId(ID_CREATE_STATICFIGURE, &CHalvixDoc::OnLocatorFigure);
}

void CHalvixDoc::OnLocatorFigure() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    if (page->m_selOthers.GetCount() == 1) {
        CGCell* cell = HxFindCell(page->m_selOthers.GetHead());
        if (auto* hull = DYNAMIC_DOWNCAST(CGPolyhedron, cell))
            AddHullFigure(*this, *hull);
        else if (auto* section = DYNAMIC_DOWNCAST(CGSection, cell))
            AddPolygonFigure(*this, section->m_polygon);
        else
            AfxMessageBox(g_selectHullOrSectionMessage, MB_OK);
        return;
    }
    AddStaticFigure(*this);
}
