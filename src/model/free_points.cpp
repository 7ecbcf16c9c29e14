// The free points: construction in the free-point colour, the move in space, the points on lines and
// circles with their records, recomputation and drags, and the shared point-on-line and follower
// routines.
#include "model/free_points.h"

#include "view/view_globals.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerFree, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerFreeXyz, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeInLine, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeInCircle, CGVerFree, 1)

namespace {

// A drag hit may not leave this cube.
constexpr float kSpaceLimit = 200.0f;
// The near-minus-far component below which the ray meets the drag plane too obliquely.
constexpr double kObliqueLimit = 10.0;

bool AllFinite(const float p[3]) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The base

CGVerFree::CGVerFree(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z)
    : CGVertex(id, vertexIndex, name, x, y, z) {
    m_color.r = g_colorFreePoint.r;
    m_color.g = g_colorFreePoint.g;
    m_color.b = g_colorFreePoint.b;
}

CString CGVerFree::GetDescription() {
    return CString(u"自由点");
}

void CGVerFree::StorePosition(float x, float y, float z) {
    m_x = x;
    m_y = y;
    m_z = z;
    CGVertex::SyncVertex();
}

CGVertex* CGVerFree::PointParent(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[i]));
}

CString CGVerFree::PointParentName(int i) const {
    const CGVertex* point = PointParent(i);
    return point ? point->m_name : CString();
}

BOOL CGVerFree::MoveInSpace() {
    const double* far = g_pickRayFar;
    const double dir[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    // The kept coordinate: z, or y while Ctrl is held.
    const int axis = g_dragKeepZ ? 2 : 1;
    if (std::fabs(dir[axis]) < kObliqueLimit)
        return FALSE;
    const double kept = axis == 2 ? m_z : m_y;
    const double s = (kept - far[axis]) / dir[axis];
    float c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = float(far[i] + s * dir[i]);
    // A ray that is no number (a broken view) moves nothing either.
    if (!AllFinite(c))
        return FALSE;
    for (float v : c) {
        if (std::fabs(v) > kSpaceLimit)
            return FALSE;
    }
    if (g_snapToGrid) {
        for (float& v : c)
            v = std::floor(v + 0.5f);
    }
    StorePosition(c);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Free in space

CGVerFreeXyz::CGVerFreeXyz(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z)
    : CGVerFree(id, vertexIndex, name, x, y, z) {}

void CGVerFreeXyz::ConstrainToCarrier() {
    MoveInSpace();
}

CString CGVerFreeXyz::GetDescription() {
    return CString(u"全自由点");
}

// ---------------------------------------------------------------------------------------------
// On a line

BOOL HxPointOnLine(const CGCell* cell, float t, float out[3]) {
    const CGLine* line = DYNAMIC_DOWNCAST(CGLine, cell);
    if (!line || !line->m_valid)
        return FALSE;
    const CGVertex* a = line->GetEnd(0);
    const CGVertex* b = line->GetEnd(1);
    if (!a || !b)
        return FALSE;
    out[0] = a->m_x + t * (b->m_x - a->m_x);
    out[1] = a->m_y + t * (b->m_y - a->m_y);
    out[2] = a->m_z + t * (b->m_z - a->m_z);
    return TRUE;
}

CGVerFreeInLine::CGVerFreeInLine() {
    m_param1 = 0.5f;
}

CGVerFreeInLine::CGVerFreeInLine(WORD id, DWORD vertexIndex, const CString& name, WORD lineId, float t)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    m_param1 = t;
    AddParent(lineId);
    Recompute();
}

CGLine* CGVerFreeInLine::GetLine() const {
    return m_parents.GetSize() > 0 ? DYNAMIC_DOWNCAST(CGLine, HxFindCell(m_parents[0])) : nullptr;
}

void CGVerFreeInLine::Recompute() {
    float p[3];
    if (!HxPointOnLine(GetLine(), m_param1, p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeInLine::SyncVertex() {
    Recompute();
}

void CGVerFreeInLine::ConstrainToCarrier() {
    const CGLine* line = GetLine();
    if (!line)
        return;
    float p[3];
    double t = 0.0, distance = 0.0;
    if (!line->NearestPoint(p, t, distance, 0) || !AllFinite(p) || !std::isfinite(t))
        return;
    StorePosition(p);
    m_param1 = float(t);
}

CString CGVerFreeInLine::GetDescription() {
    const CGLine* line = GetLine();
    return HxFormat(u"线%s上的点", line ? line->m_name : CString());
}

// ---------------------------------------------------------------------------------------------
// On a circle

CGVerFreeInCircle::CGVerFreeInCircle() {
    m_param1 = 1.0f;
}

CGVerFreeInCircle::CGVerFreeInCircle(WORD id, DWORD vertexIndex, const CString& name, WORD circleId, float t)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    m_param1 = t;
    AddParent(circleId);
    Recompute();
}

CGArc* CGVerFreeInCircle::GetCircle() const {
    return m_parents.GetSize() > 0 ? DYNAMIC_DOWNCAST(CGArc, HxFindCell(m_parents[0])) : nullptr;
}

void CGVerFreeInCircle::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    HxSerializeFloats(ar, m_center, 3);
    HxSerializeFloats(ar, m_axisU, 3);
    HxSerializeFloats(ar, m_axisV, 3);
    HxSerializeFloats(ar, m_normal, 3);
}

void CGVerFreeInCircle::PlaceFromKeptCircle() {
    const float c = float(std::cos(double(m_param1)));
    const float s = float(std::sin(double(m_param1)));
    float p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = m_center[i] + c * m_axisU[i] + s * m_axisV[i];
    StorePosition(p);
}

void CGVerFreeInCircle::Recompute() {
    const CGArc* circle = GetCircle();
    if (!circle || !circle->m_valid) {
        m_valid = false;
        return;
    }
    m_valid = true;
    for (int i = 0; i < 3; ++i) {
        m_center[i] = circle->m_center[i];
        m_axisU[i] = circle->m_axisU[i];
        m_axisV[i] = circle->m_axisV[i];
    }
    const double ux = m_axisU[0], uy = m_axisU[1], uz = m_axisU[2];
    const double vx = m_axisV[0], vy = m_axisV[1], vz = m_axisV[2];
    m_normal[0] = float(uy * vz - uz * vy);
    m_normal[1] = float(uz * vx - ux * vz);
    m_normal[2] = float(ux * vy - uy * vx);
    PlaceFromKeptCircle();
}

void CGVerFreeInCircle::SyncVertex() {
    PlaceFromKeptCircle();
}

void CGVerFreeInCircle::ConstrainToCarrier() {
    const CGArc* circle = GetCircle();
    if (!circle)
        return;
    float p[3];
    double angle = 0.0, distance = 0.0;
    if (!circle->NearestPoint(p, angle, distance, 0) || !AllFinite(p) || !std::isfinite(angle))
        return;
    StorePosition(p);
    m_param1 = float(angle);
}

CString CGVerFreeInCircle::GetDescription() {
    const CGArc* circle = GetCircle();
    return HxFormat(u"圆%s上的点", circle ? circle->m_name : CString());
}

// ---------------------------------------------------------------------------------------------
// Shared routines

BOOL HxFollowerPosition(WORD masterId, const float offset[3], float out[3]) {
    const CGVertex* master = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(masterId));
    if (!master || !master->m_valid)
        return FALSE;
    out[0] = master->m_x + offset[0];
    out[1] = master->m_y + offset[1];
    out[2] = master->m_z + offset[2];
    return TRUE;
}

void HxSerializeFloats(CArchive& ar, float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (ar.IsStoring())
            ar << values[i];
        else
            ar >> values[i];
    }
}
