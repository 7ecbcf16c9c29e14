// The dependent points: linking to their parents, the common recomputation frame, the midpoint, the
// perpendicular point of equal length, the feet on a line and on a plane, and their descriptions.
#include "model/dependent_points.h"

#include "model/geometry.h"
#include "model/line.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerMid, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerPerpenEquid, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerFootpl, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerFootpf, CGVertex, 1)

// ---------------------------------------------------------------------------------------------
// The common frame

CGVerDependent::CGVerDependent(WORD id, DWORD vertexIndex, const CString& name,
                               std::initializer_list<WORD> parents)
    : CGVertex(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    for (WORD parent : parents)
        AddParent(parent);
}

CGVertex* CGVerDependent::PointParent(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[i]));
}

CString CGVerDependent::PointParentName(int i) const {
    const CGVertex* point = PointParent(i);
    return point ? point->m_name : CString();
}

bool CGVerDependent::ParentsUsable() const {
    for (int i = 0; i < m_parents.GetSize(); ++i) {
        if (!PointParent(i))
            return false;
    }
    return true;
}

void CGVerDependent::Recompute() {
    // A parent that is missing or of the wrong class counts as an invalid one.
    if (!ParentsUsable()) {
        m_valid = false;
        return;
    }
    for (WORD parentId : m_parents) {
        if (!HxFindCell(parentId)->m_valid) {
            m_valid = false;
            return;
        }
    }
    float p[3];
    if (!ComputePosition(p) || !std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
        m_valid = false;
        return;
    }
    SetPosition(p[0], p[1], p[2]);
    m_valid = true;
}

// ---------------------------------------------------------------------------------------------
// Midpoint of a segment

CGVerMid::CGVerMid(WORD id, DWORD vertexIndex, const CString& name, WORD line)
    : CGVerDependent(id, vertexIndex, name, {line}) {
    Recompute();
}

bool CGVerMid::ParentsUsable() const {
    if (m_parents.GetSize() != 1)
        return false;
    const CGLine* line = DYNAMIC_DOWNCAST(CGLine, HxFindCell(m_parents[0]));
    return line && line->GetEnd(0) && line->GetEnd(1);
}

bool CGVerMid::ComputePosition(float out[3]) {
    // Only the line's valid flag is asked: its two points stand behind it.
    const CGLine* line = static_cast<const CGLine*>(HxFindCell(m_parents[0]));
    const CGVertex* a = line->GetEnd(0);
    const CGVertex* b = line->GetEnd(1);
    out[0] = (a->m_x + b->m_x) / 2.0f;
    out[1] = (a->m_y + b->m_y) / 2.0f;
    out[2] = (a->m_z + b->m_z) / 2.0f;
    return true;
}

CString CGVerMid::GetDescription() {
    const CGCell* line = m_parents.GetSize() > 0 ? HxFindCell(m_parents[0]) : nullptr;
    CString text;
    text.Format(u"线段%s的中点", line ? line->m_name : CString());
    return text;
}

// ---------------------------------------------------------------------------------------------
// Square to a plane at the distance AB

CGVerPerpenEquid::CGVerPerpenEquid(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerDependent(id, vertexIndex, name, {a, b, c}) {
    Recompute();
}

bool CGVerPerpenEquid::ComputePosition(float out[3]) {
    if (m_parents.GetSize() < 3)
        return false;
    const CGVertex& a = *PointParent(0);
    const CGVertex& b = *PointParent(1);
    const CGVertex& c = *PointParent(2);
    const float u[3] = {b.m_x - a.m_x, b.m_y - a.m_y, b.m_z - a.m_z};
    const float v[3] = {c.m_x - a.m_x, c.m_y - a.m_y, c.m_z - a.m_z};
    const float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    // Collinear points have no normal: the point stays on A.
    if (std::fabs(length) < 1e-5f)
        length = 1e-5f;
    const float scale = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]) / length;
    out[0] = a.m_x + scale * n[0];
    out[1] = a.m_y + scale * n[1];
    out[2] = a.m_z + scale * n[2];
    return true;
}

CString CGVerPerpenEquid::GetDescription() {
    const CString a = PointParentName(0), b = PointParentName(1), c = PointParentName(2);
    CString text;
    text.Format(u"%s%s⊥面%s%s%s，%s%s=%s%s", m_name, a, a, b, c, m_name, a, a, b);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Foot on a line

CGVerFootpl::CGVerFootpl(WORD id, DWORD vertexIndex, const CString& name, WORD p, WORD a, WORD b)
    : CGVerDependent(id, vertexIndex, name, {p, a, b}) {
    Recompute();
}

bool CGVerFootpl::ComputePosition(float out[3]) {
    if (m_parents.GetSize() < 3)
        return false;
    float p[3], a[3], b[3];
    PointParent(0)->GetPosition(p);
    PointParent(1)->GetPosition(a);
    PointParent(2)->GetPosition(b);
    // Only a line whose points coincide (closer than the foot routine's tolerance) has no foot; a
    // foot on A itself is a foot like any other.
    const float d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    if (std::fabs(double(d[0]) * d[0] + double(d[1]) * d[1] + double(d[2]) * d[2]) < 1e-5)
        return false;
    FootOnLineF(p, a, b, out);
    return true;
}

CString CGVerFootpl::GetDescription() {
    CString text;
    text.Format(u"点%s在直线%s%s的投影", PointParentName(0), PointParentName(1), PointParentName(2));
    return text;
}

// ---------------------------------------------------------------------------------------------
// Foot on a plane

CGVerFootpf::CGVerFootpf(WORD id, DWORD vertexIndex, const CString& name, WORD p, WORD a, WORD b, WORD c)
    : CGVerDependent(id, vertexIndex, name, {p, a, b, c}) {
    Recompute();
}

bool CGVerFootpf::ComputePosition(float out[3]) {
    if (m_parents.GetSize() < 4)
        return false;
    float p[3], a[3], b[3], c[3];
    PointParent(0)->GetPosition(p);
    PointParent(1)->GetPosition(a);
    PointParent(2)->GetPosition(b);
    PointParent(3)->GetPosition(c);
    return FootOnPlaneF(p, a, b, c, out) != FALSE;
}

CString CGVerFootpf::GetDescription() {
    CString text;
    text.Format(u"点%s在面%s%s%s的投影", PointParentName(0), PointParentName(1), PointParentName(2),
                PointParentName(3));
    return text;
}
