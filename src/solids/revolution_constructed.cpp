// The solids of revolution built on points: linking to their parents, recomputing from the points'
// positions in parent order, and their descriptions by the points' names.
#include "solids/revolution_constructed.h"

#include "model/vertex.h"

#include <cmath>

IMPLEMENT_SERIAL(CGSphereCN, CGSphere, 1)
IMPLEMENT_SERIAL(CGCylinderCPC, CGCylinder, 1)
IMPLEMENT_SERIAL(CGConeCPV, CGCone, 1)
IMPLEMENT_SERIAL(CGFrustumCP2, CGFrustum, 1)

namespace {

// Parent i when it is a valid point; null when it is missing, no point, or invalid.
const CGVertex* ValidPoint(const CGCell& cell, int i) {
    if (i >= cell.m_parents.GetSize())
        return nullptr;
    const CGVertex* p = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(cell.m_parents[i]));
    return p && p->m_valid ? p : nullptr;
}

CString ParentName(const CGCell& cell, int i) {
    if (i >= cell.m_parents.GetSize())
        return CString();
    const CGCell* p = HxFindCell(cell.m_parents[i]);
    return p ? p->m_name : CString();
}

void Link(CGCell& cell, WORD id, std::initializer_list<WORD> parents) {
    cell.m_id = id;
    for (WORD parent : parents)
        cell.AddParent(parent);
}

// b - a, and its length computed in double.
float Difference(const CGVertex& a, const CGVertex& b, float out[3]) {
    out[0] = b.m_x - a.m_x;
    out[1] = b.m_y - a.m_y;
    out[2] = b.m_z - a.m_z;
    return float(std::sqrt(double(out[0]) * out[0] + double(out[1]) * out[1] + double(out[2]) * out[2]));
}

float Distance(const CGVertex& a, const CGVertex& b) {
    float d[3];
    return Difference(a, b, d);
}

void TakeCenter(float center[3], const CGVertex& o) {
    center[0] = o.m_x;
    center[1] = o.m_y;
    center[2] = o.m_z;
}

// The cylinder's and the cone's recomputation: base centre, rim point, top centre or apex.
void RecomputeFrame(CGCell& cell, CRevFrame& f) {
    cell.m_valid = false;
    const CGVertex* o = ValidPoint(cell, 0);
    if (!o)
        return;
    TakeCenter(f.m_center, *o);
    const CGVertex* r = ValidPoint(cell, 1);
    if (!r)
        return;
    f.m_radius = Distance(*o, *r);
    const CGVertex* v = ValidPoint(cell, 2);
    if (!v)
        return;
    f.m_height = Difference(*o, *v, f.m_axis);
    cell.m_valid = true;
}

} // namespace

// ---- Sphere ----

CGSphereCN::CGSphereCN(WORD id, WORD center, WORD pole) {
    Link(*this, id, {center, pole});
    TakeNewLook();
    Recompute();
}

void CGSphereCN::Recompute() {
    m_valid = false;
    const CGVertex* o = ValidPoint(*this, 0);
    if (!o)
        return;
    TakeCenter(m_center, *o);
    const CGVertex* n = ValidPoint(*this, 1);
    if (!n)
        return;
    m_radius = Difference(*o, *n, m_axis);
    m_valid = true;
}

CString CGSphereCN::GetDescription() {
    CString s;
    s.Format(u"以%s为球心，北极点为%s的球", ParentName(*this, 0).GetString(),
             ParentName(*this, 1).GetString());
    return s;
}

// ---- Cylinder ----

CGCylinderCPC::CGCylinderCPC(WORD id, WORD baseCenter, WORD rimPoint, WORD topCenter) {
    Link(*this, id, {baseCenter, rimPoint, topCenter});
    TakeNewLook();
    Recompute();
}

void CGCylinderCPC::Recompute() {
    RecomputeFrame(*this, *this);
}

CString CGCylinderCPC::GetDescription() {
    const CString o = ParentName(*this, 0), r = ParentName(*this, 1), v = ParentName(*this, 2);
    CString s;
    s.Format(u"以%s%s为轴，%s%s为底面半径的圆柱", o.GetString(), v.GetString(), o.GetString(), r.GetString());
    return s;
}

// ---- Cone ----

CGConeCPV::CGConeCPV(WORD id, WORD baseCenter, WORD rimPoint, WORD apex) {
    Link(*this, id, {baseCenter, rimPoint, apex});
    TakeNewLook();
    Recompute();
}

void CGConeCPV::Recompute() {
    RecomputeFrame(*this, *this);
}

CString CGConeCPV::GetDescription() {
    const CString o = ParentName(*this, 0), r = ParentName(*this, 1), v = ParentName(*this, 2);
    CString s;
    s.Format(u"以%s为顶点，%s%s为底面半径的圆锥", v.GetString(), o.GetString(), r.GetString());
    return s;
}

// ---- Frustum ----

CGFrustumCP2::CGFrustumCP2(WORD id, WORD bottomCenter, WORD bottomRim, WORD topCenter, WORD topRim) {
    Link(*this, id, {bottomCenter, bottomRim, topCenter, topRim});
    TakeNewLook();
    Recompute();
}

void CGFrustumCP2::Recompute() {
    RecomputeFrame(*this, *this);
    if (!m_valid)
        return;
    m_valid = false;
    const CGVertex* o2 = ValidPoint(*this, 2);
    const CGVertex* r2 = ValidPoint(*this, 3);
    if (!r2)
        return;
    // With no bottom radius there is no ratio to take: the last one stays, finite.
    if (m_radius > 0.0f)
        m_topRatio = float(double(Distance(*o2, *r2)) / double(m_radius));
    m_valid = true;
}

CString CGFrustumCP2::GetDescription() {
    const CString o1 = ParentName(*this, 0), r1 = ParentName(*this, 1), o2 = ParentName(*this, 2),
                  r2 = ParentName(*this, 3);
    CString s;
    s.Format(u"以%s%s为轴，%s%s、%s%s为两底半径的圆台", o1.GetString(), o2.GetString(), o1.GetString(),
             r1.GetString(), o2.GetString(), r2.GetString());
    return s;
}
