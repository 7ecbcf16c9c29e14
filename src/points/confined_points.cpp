// The points inside a face, in a plane and at a leader's height: construction, records,
// recomputation from weights and offsets, and the drags that rewrite them.
#include "points/confined_points.h"

#include "view/view_globals.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerFreeInFace, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeInPlane, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFree2dHenchman, CGVerFree, 1)

namespace {

constexpr float kThird = 1.0f / 3.0f;
// Below this in size the ray's component along a plane's normal counts as running along the plane.
constexpr double kAlongPlane = 1e-5;
// Below this in size a projection's determinant gives no usable weights.
constexpr double kFlatProjection = 0.001;
// The follower's drag: the ray's z component below which it meets the horizontal plane too
// obliquely, and the cube no hit may leave.
constexpr double kObliqueLimit = 10.0;
constexpr double kSpaceLimit = 200.0;

void Diff(const CGVertex& p, const CGVertex& q, double out[3]) {
    out[0] = double(p.m_x) - q.m_x;
    out[1] = double(p.m_y) - q.m_y;
    out[2] = double(p.m_z) - q.m_z;
}

void Diff(const double p[3], const CGVertex& q, double out[3]) {
    out[0] = p[0] - q.m_x;
    out[1] = p[1] - q.m_y;
    out[2] = p[2] - q.m_z;
}

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

bool Finite(const double p[3]) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// Where the mouse ray meets the plane through p0, p1 and p2 (normal (p0 - p1) x (p2 - p1)); false
// when the ray runs along it.
bool HitPlane(const CGVertex& p0, const CGVertex& p1, const CGVertex& p2, double hit[3]) {
    double a[3], c[3];
    Diff(p0, p1, a);
    Diff(p2, p1, c);
    const double n[3] = {a[1] * c[2] - a[2] * c[1], a[2] * c[0] - a[0] * c[2], a[0] * c[1] - a[1] * c[0]};
    const double* nearPt = g_pickRayNear;
    const double d[3] = {g_pickRayFar[0] - nearPt[0], g_pickRayFar[1] - nearPt[1],
                         g_pickRayFar[2] - nearPt[2]};
    const double dn = Dot(d, n);
    if (std::fabs(dn) < kAlongPlane)
        return false;
    const double toP1[3] = {p1.m_x - nearPt[0], p1.m_y - nearPt[1], p1.m_z - nearPt[2]};
    const double s = Dot(toP1, n) / dn;
    for (int i = 0; i < 3; ++i)
        hit[i] = nearPt[i] + s * d[i];
    return Finite(hit);
}

// s and t with r = s e1 + t e2, by Cramer's rule in the first of the x-y, y-z and x-z projections
// whose determinant exceeds kFlatProjection in size; false when none does.
bool SolveWeights(const double r[3], const double e1[3], const double e2[3], double& s, double& t) {
    static const int kAxes[3][2] = {{0, 1}, {1, 2}, {0, 2}};
    for (const auto& axes : kAxes) {
        const int i = axes[0], j = axes[1];
        const double det = e1[i] * e2[j] - e1[j] * e2[i];
        if (std::fabs(det) > kFlatProjection) {
            s = (r[i] * e2[j] - r[j] * e2[i]) / det;
            t = (e1[i] * r[j] - e1[j] * r[i]) / det;
            return true;
        }
    }
    return false;
}

// w0 P0 + wk Pk + (1 - w0 - wk) Pk1 in single precision.
void WeightedPoint(const CGVertex& p0, const CGVertex& pk, const CGVertex& pk1, float w0, float wk,
                   float out[3]) {
    const float w1 = 1.0f - w0 - wk;
    out[0] = w0 * p0.m_x + wk * pk.m_x + w1 * pk1.m_x;
    out[1] = w0 * p0.m_y + wk * pk.m_y + w1 * pk1.m_y;
    out[2] = w0 * p0.m_z + wk * pk.m_z + w1 * pk1.m_z;
}

bool Finite(const float p[3]) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

void SerializeTwo(CArchive& ar, float& a, float& b) {
    if (ar.IsStoring())
        ar << a << b;
    else
        ar >> a >> b;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Inside a face

CGVerFreeInFace::CGVerFreeInFace() : m_weight0(kThird), m_weightK(kThird) {}

CGVerFreeInFace::CGVerFreeInFace(WORD id, DWORD vertexIndex, const CString& name, WORD face, float weight0,
                                 float weightK)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f), m_fanIndex(1), m_weight0(weight0),
      m_weightK(weightK) {
    AddParent(face);
    Recompute();
}

CGFace* CGVerFreeInFace::GetFace() const {
    return m_parents.GetSize() > 0 ? DYNAMIC_DOWNCAST(CGFace, HxFindCell(m_parents[0])) : nullptr;
}

void CGVerFreeInFace::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    if (ar.IsStoring())
        ar << m_fanIndex << m_weight0 << m_weightK;
    else
        ar >> m_fanIndex >> m_weight0 >> m_weightK;
}

void CGVerFreeInFace::Recompute() {
    const CGFace* face = GetFace();
    // A fan index from a file may name no triangle of this face: no point then.
    if (!face || !face->m_valid || m_fanIndex < 1 || m_fanIndex > int(face->m_parents.GetSize()) - 2) {
        m_valid = false;
        return;
    }
    const CGVertex* v0 = face->GetCorner(0);
    const CGVertex* vk = face->GetCorner(m_fanIndex);
    const CGVertex* vk1 = face->GetCorner(m_fanIndex + 1);
    if (!v0 || !vk || !vk1) {
        m_valid = false;
        return;
    }
    float p[3];
    WeightedPoint(*v0, *vk, *vk1, m_weight0, m_weightK, p);
    if (!Finite(p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeInFace::SyncVertex() {
    Recompute();
}

void CGVerFreeInFace::ConstrainToCarrier() {
    const CGFace* face = GetFace();
    if (!face)
        return;
    const int count = int(face->m_parents.GetSize());
    const CGVertex* v0 = face->GetCorner(0);
    const CGVertex* v1 = face->GetCorner(1);
    const CGVertex* v2 = face->GetCorner(2);
    double hit[3];
    if (count < 3 || !v0 || !v1 || !v2 || !HitPlane(*v0, *v1, *v2, hit))
        return;
    // Walk the fan from V0: across the edge V0 Vk+1 lies the next triangle; beyond the far edge or
    // behind V0 lies the outside, and the point cannot be dragged there.
    for (int k = 1; k <= count - 2; ++k) {
        const CGVertex* vk = face->GetCorner(k);
        const CGVertex* vk1 = face->GetCorner(k + 1);
        if (!vk || !vk1)
            return;
        double r[3], e1[3], e2[3];
        Diff(hit, *vk1, r);
        Diff(*v0, *vk1, e1);
        Diff(*vk, *vk1, e2);
        double s = 0.0, t = 0.0;
        if (!SolveWeights(r, e1, e2, s, t))
            return;
        const double w = 1.0 - s - t;
        if (s >= 0.0 && t >= 0.0 && w >= 0.0) {
            StorePosition(float(hit[0]), float(hit[1]), float(hit[2]));
            m_fanIndex = k;
            m_weight0 = float(s);
            m_weightK = float(t);
            return;
        }
        if (s < 0.0 || (t < 0.0 && w < 0.0))
            return;
    }
}

CString CGVerFreeInFace::GetDescription() {
    const CGFace* face = GetFace();
    return HxFormat(u"多边形%s内的自由点", face ? face->m_name : CString());
}

// ---------------------------------------------------------------------------------------------
// In a plane

CGVerFreeInPlane::CGVerFreeInPlane() : m_weightA(kThird), m_weightB(kThird) {}

CGVerFreeInPlane::CGVerFreeInPlane(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c,
                                   float weightA, float weightB)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f), m_weightA(weightA), m_weightB(weightB) {
    AddParent(a);
    AddParent(b);
    AddParent(c);
    Recompute();
}

void CGVerFreeInPlane::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializeTwo(ar, m_weightA, m_weightB);
}

void CGVerFreeInPlane::Recompute() {
    const CGVertex* a = PointParent(0);
    const CGVertex* b = PointParent(1);
    const CGVertex* c = PointParent(2);
    if (m_parents.GetSize() != 3 || !a || !b || !c || !a->m_valid || !b->m_valid || !c->m_valid) {
        m_valid = false;
        return;
    }
    float p[3];
    WeightedPoint(*a, *b, *c, m_weightA, m_weightB, p);
    if (!Finite(p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeInPlane::SyncVertex() {
    Recompute();
}

void CGVerFreeInPlane::ConstrainToCarrier() {
    const CGVertex* a = PointParent(0);
    const CGVertex* b = PointParent(1);
    const CGVertex* c = PointParent(2);
    double hit[3];
    if (!a || !b || !c || !HitPlane(*a, *b, *c, hit))
        return;
    StorePosition(float(hit[0]), float(hit[1]), float(hit[2]));
    double r[3], e1[3], e2[3];
    Diff(hit, *c, r);
    Diff(*a, *c, e1);
    Diff(*b, *c, e2);
    double s = 0.0, t = 0.0;
    if (SolveWeights(r, e1, e2, s, t)) {
        m_weightA = float(s);
        m_weightB = float(t);
    }
}

CString CGVerFreeInPlane::GetDescription() {
    return HxFormat(u"三点%s%s%s所在平面内的自由点", PointParentName(0), PointParentName(1),
                    PointParentName(2));
}

// ---------------------------------------------------------------------------------------------
// At a leader's height

CGVerFree2dHenchman::CGVerFree2dHenchman(WORD id, DWORD vertexIndex, const CString& name, float x, float y,
                                         WORD leader)
    : CGVerFree(id, vertexIndex, name, x, y, 0.0f) {
    AddParent(leader);
    TakeOffsetFromLeader();
    Recompute();
}

void CGVerFree2dHenchman::TakeOffsetFromLeader() {
    if (const CGVertex* leader = PointParent(0)) {
        m_offsetX = m_x - leader->m_x;
        m_offsetY = m_y - leader->m_y;
    }
}

void CGVerFree2dHenchman::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializeTwo(ar, m_offsetX, m_offsetY);
}

void CGVerFree2dHenchman::Recompute() {
    const CGVertex* leader = PointParent(0);
    if (!leader || !leader->m_valid) {
        m_valid = false;
        return;
    }
    const float p[3] = {leader->m_x + m_offsetX, leader->m_y + m_offsetY, leader->m_z};
    if (!Finite(p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFree2dHenchman::SyncVertex() {
    if (const CGVertex* leader = PointParent(0))
        m_z = leader->m_z;
    StorePosition(m_x, m_y, m_z);
    TakeOffsetFromLeader();
}

void CGVerFree2dHenchman::ConstrainToCarrier() {
    const double dir[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    if (std::fabs(dir[2]) < kObliqueLimit)
        return;
    const double* far = g_pickRayFar;
    const double s = (double(m_z) - far[2]) / dir[2];
    double hit[3];
    for (int i = 0; i < 3; ++i) {
        hit[i] = far[i] + s * dir[i];
        if (!std::isfinite(hit[i]) || std::fabs(hit[i]) > kSpaceLimit)
            return;
        if (g_snapToGrid)
            hit[i] = std::floor(hit[i] + 0.5);
    }
    const CGVertex* leader = PointParent(0);
    StorePosition(float(hit[0]), float(hit[1]), leader ? leader->m_z : m_z);
    TakeOffsetFromLeader();
}

CString CGVerFree2dHenchman::GetDescription() {
    return HxFormat(u"随点%s移动且等z值的自由点", PointParentName(0));
}
