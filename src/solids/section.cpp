// CGSection: the plane of its face, the section polygon of the hull, its drawing and picking.
#include "solids/section.h"

#include "model/cell_draw.h"
#include "model/face.h"
#include "solids/polyhedron.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numeric>

IMPLEMENT_SERIAL(CGSection, CGCell, 1)

namespace {

constexpr double kEps = 0.0001;

double Cross2(const PolyPoint& p, const PolyPoint& q, const PolyPoint& r) {
    return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
}

} // namespace

bool HxPlaneOfFace(WORD faceId, PolyFace& plane, bool& valid) {
    auto* face = DYNAMIC_DOWNCAST(CGFace, HxFindCell(faceId));
    valid = false;
    if (!face || !face->m_valid)
        return false;
    PolyPoint q[3];
    for (int i = 0; i < 3; ++i) {
        const CGVertex* corner = face->GetCorner(i);
        if (!corner)
            return false;
        q[i] = MakePoint(corner->m_x, corner->m_y, corner->m_z);
    }
    valid = true;
    PolyPoint n = Cross(q[0] - q[1], q[2] - q[1]);
    const double length = Length(n);
    if (!(length > 0.0) || !std::isfinite(length))
        return false;
    n = n * (1.0 / length);
    plane = PolyFace(n.x, n.y, n.z, -Dot(n, q[1]));
    return true;
}

std::vector<int> ConvexHull2D(std::vector<PolyPoint>& points, std::vector<PolyPoint>* carried) {
    const size_t n = points.size();
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return PointBefore(points[a], points[b]); });
    std::vector<PolyPoint> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[i] = points[order[i]];
    points = std::move(sorted);
    if (carried && carried->size() == n) {
        std::vector<PolyPoint> moved(n);
        for (size_t i = 0; i < n; ++i)
            moved[i] = (*carried)[order[i]];
        *carried = std::move(moved);
    }
    std::vector<int> chain;
    if (n <= 2) {
        for (size_t i = 0; i < n; ++i)
            chain.push_back(int(i));
        return chain;
    }
    auto turnsRight = [&](size_t i) {
        const size_t c = chain.size();
        return Cross2(points[size_t(chain[c - 2])], points[size_t(chain[c - 1])], points[i]) <= 0.0;
    };
    chain = {0, 1};
    for (size_t i = 2; i < n; ++i) {
        while (chain.size() >= 2 && turnsRight(i))
            chain.pop_back();
        chain.push_back(int(i));
    }
    const size_t lower = chain.size();
    for (size_t i = n - 1; i-- > 0;) {
        while (chain.size() > lower && turnsRight(i))
            chain.pop_back();
        chain.push_back(int(i));
    }
    chain.pop_back(); // the last entry repeats the first
    return chain;
}

bool ArePointsCoplanar(const std::vector<PolyPoint>& points) {
    if (points.size() < 4)
        return true;
    const PolyPoint n = Cross(points[1] - points[0], points[2] - points[0]);
    const double d0 = Dot(n, points[0]);
    for (size_t i = 3; i < points.size(); ++i) {
        if (std::fabs(Dot(n, points[i]) - d0) > kEps)
            return false;
    }
    return true;
}

bool OrderCoplanarPolygon(std::vector<PolyPoint>& out, const std::vector<PolyPoint>& points) {
    if (!ArePointsCoplanar(points))
        return false;
    out.clear();
    if (points.size() <= 3) {
        out = points;
        return true;
    }
    // Drop the coordinate the plane faces most; the other two keep their cyclic order.
    const PolyPoint n = Cross(points[1] - points[0], points[2] - points[0]);
    const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    std::vector<PolyPoint> projected(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const PolyPoint& p = points[i];
        if (az >= ax && az >= ay)
            projected[i] = MakePoint(p.x, p.y, 0.0);
        else if (ax >= ay && ax >= az)
            projected[i] = MakePoint(p.y, p.z, 0.0);
        else
            projected[i] = MakePoint(p.z, p.x, 0.0);
    }
    std::vector<PolyPoint> carried = points;
    for (int index : ConvexHull2D(projected, &carried))
        out.push_back(carried[size_t(index)]);
    return true;
}

bool ComputeSectionPolygon(const PolyFace& plane, const CGPolyhedron& hull, std::vector<PolyPoint>& out) {
    const std::vector<PolyPoint>& P = hull.m_points;
    std::vector<int> side(P.size(), 0);
    std::vector<PolyPoint> found;
    bool above = false, below = false;
    for (size_t i = 0; i < P.size(); ++i) {
        const double s = plane.Evaluate(P[i]);
        if (s < -kEps) {
            side[i] = -1;
            below = true;
        } else if (s > kEps) {
            side[i] = 1;
            above = true;
        } else {
            found.push_back(P[i]);
        }
    }
    if (!above || !below)
        return false;
    const PolyPoint n = plane.Normal();
    for (const PolyEdge& e : hull.m_edges) {
        const size_t u = size_t(e.first), v = size_t(e.second);
        if (u >= P.size() || v >= P.size() || side[u] * side[v] >= 0)
            continue;
        const PolyPoint D = P[v] - P[u];
        const double q = Dot(n, D);
        if (std::fabs(q) > kEps)
            found.push_back(P[u] - D * ((Dot(n, P[u]) + plane.d) / q));
    }
    if (!OrderCoplanarPolygon(out, found))
        return false;
    return out.size() == found.size();
}

// ---------------------------------------------------------------------------------------------
// The cell

CGSection::CGSection() = default;

CGSection::CGSection(WORD id, WORD hullId, WORD faceId) {
    m_id = id;
    AddParent(hullId);
    AddParent(faceId);
    m_name = u"面与体截面图";
    m_color = g_colorObject;
    m_labelColor = CRgba{196, 255, 225, 255};
    Recompute();
}

void CGSection::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
}

void CGSection::Recompute() {
    m_polygon.clear();
    CGPolyhedron* hull =
        m_parents.GetSize() < 2 ? nullptr : DYNAMIC_DOWNCAST(CGPolyhedron, HxFindCell(m_parents[0]));
    if (!hull || !hull->m_valid) {
        m_valid = false;
        return;
    }
    PolyFace plane;
    bool faceValid = false;
    const bool hasPlane = HxPlaneOfFace(m_parents[1], plane, faceValid);
    m_valid = faceValid;
    // With no plane, or a plane beside the hull, the polygon stays empty; with a section point left
    // out it keeps the corners that remained.
    if (hasPlane)
        ComputeSectionPolygon(plane, *hull, m_polygon);
}

CString CGSection::GetDescription() {
    return CString(u"多面体与平面的截面图");
}

void CGSection::DrawFill() {
    if (!HxIsDrawable(*this) || m_polygon.empty())
        return;
    if (g_useObjectColors)
        HxGlColor(m_labelColor);
    glBegin(GL_POLYGON);
    for (const PolyPoint& p : m_polygon)
        glVertex3d(p.x, p.y, p.z);
    glEnd();
}

void CGSection::DrawOutline() {
    if (!HxIsDrawable(*this) || m_polygon.empty())
        return;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    glBegin(GL_LINE_LOOP);
    for (const PolyPoint& p : m_polygon)
        glVertex3d(p.x, p.y, p.z);
    glEnd();
}

void CGSection::DrawVisible() {
    DrawOutline();
}

void CGSection::DrawHidden() {
    DrawOutline();
}

void CGSection::DrawForPick(int mode) {
    if (!HxIsDrawable(*this) || mode < 3)
        return;
    glLoadName(kPickClassPolyhedron);
    glPushName(m_id);
    if (!m_polygon.empty()) {
        glBegin(GL_LINE_LOOP);
        for (const PolyPoint& p : m_polygon)
            glVertex3d(p.x, p.y, p.z);
        glEnd();
    }
    glPopName();
}
