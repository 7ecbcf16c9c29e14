// The free points held by a relation: the orbit frame, recomputation and drag of the orbit points,
// the points on a line through A with their shared drag, and the follower; records and descriptions.
#include "model/constrained_points.h"

#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGVerFreeUpright, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeUprightEquid, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeEquilateral, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeParVector, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeParVecPP, CGVerFreeParVector, 1)
IMPLEMENT_SERIAL(CGVerFreePerpen, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeHenchman, CGVerFree, 1)

namespace {

// A segment shorter than this has no direction of its own: the orbit frame takes (1, 0, 0).
constexpr float kShortSegment = 0.001f;
// Below this in x and y a direction runs along the z axis.
constexpr float kAlongZ = 0.00001f;
// The turn of an orbit point per mouse move while the ray runs along its plane.
constexpr float kOrbitStep = 0.02f;
// Stands in for a zero length or denominator.
constexpr double kTiny = 0.00001;

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void Cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool AllFinite(const float p[3]) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The orbit frame

CGVerFreeOrbit::CGVerFreeOrbit(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    AddParent(a);
    AddParent(b);
}

BOOL CGVerFreeOrbit::ResolveEnds(const CGVertex*& a, const CGVertex*& b) {
    a = PointParent(0);
    b = PointParent(1);
    if (!a || !b || !a->m_valid || !b->m_valid) {
        m_valid = false;
        return FALSE;
    }
    return TRUE;
}

float CGVerFreeOrbit::RebuildFrame(const CGVertex& a, const CGVertex& b) {
    const float d[3] = {b.m_x - a.m_x, b.m_y - a.m_y, b.m_z - a.m_z};
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (length <= kShortSegment) {
        m_dir[0] = 1.0f;
        m_dir[1] = 0.0f;
        m_dir[2] = 0.0f;
    } else {
        for (int i = 0; i < 3; ++i)
            m_dir[i] = d[i] / length;
    }
    const float dx = m_dir[0], dy = m_dir[1], dz = m_dir[2];
    if (std::fabs(dx) < kAlongZ && std::fabs(dy) < kAlongZ) {
        // Along z either way: the same frame for both senses.
        m_e1[0] = 0.0f;
        m_e1[1] = 1.0f;
        m_e1[2] = 0.0f;
        m_e2[0] = -1.0f;
        m_e2[1] = 0.0f;
        m_e2[2] = 0.0f;
    } else {
        const float h = std::sqrt(dx * dx + dy * dy);
        m_e1[0] = -dy / h;
        m_e1[1] = dx / h;
        m_e1[2] = 0.0f;
        m_e2[0] = -dz * m_e1[1];
        m_e2[1] = dz * m_e1[0];
        m_e2[2] = m_e1[1] * dx - m_e1[0] * dy;
    }
    return length;
}

void CGVerFreeOrbit::OrbitPosition(const float centre[3], float radius, float angle, float out[3]) const {
    const float rc = radius * float(std::cos(double(angle)));
    const float rs = radius * float(std::sin(double(angle)));
    for (int i = 0; i < 3; ++i)
        out[i] = centre[i] + rc * m_e1[i] + rs * m_e2[i];
}

BOOL CGVerFreeOrbit::HitOrbitPlane(const float centre[3], double zeroDen, double hit[3]) const {
    const double* nearPt = g_pickRayNear;
    const double ray[3] = {g_pickRayFar[0] - nearPt[0], g_pickRayFar[1] - nearPt[1],
                           g_pickRayFar[2] - nearPt[2]};
    const double d[3] = {m_dir[0], m_dir[1], m_dir[2]};
    double den = Dot(d, ray);
    if (den == 0.0) {
        if (zeroDen == 0.0)
            return FALSE;
        den = zeroDen;
    }
    const float dc = m_dir[0] * centre[0] + m_dir[1] * centre[1] + m_dir[2] * centre[2];
    const double u = -(Dot(d, nearPt) - double(dc)) / den;
    for (int i = 0; i < 3; ++i)
        hit[i] = nearPt[i] + u * ray[i];
    return TRUE;
}

BOOL CGVerFreeOrbit::HitOrbitPlaneOrTurn(const float centre[3], float radius, float& angle, double hit[3]) {
    if (HitOrbitPlane(centre, 0.0, hit))
        return TRUE;
    angle += kOrbitStep;
    float p[3];
    OrbitPosition(centre, radius, angle, p);
    StorePosition(p);
    return FALSE;
}

float CGVerFreeOrbit::AngleOf(const double v[3], float length) const {
    const double e1[3] = {m_e1[0], m_e1[1], m_e1[2]};
    const double e2[3] = {m_e2[0], m_e2[1], m_e2[2]};
    double cosine = Dot(e1, v) / double(length);
    // The length is rounded to float, which can push the cosine of a hit on the e1 axis just past
    // 1 or -1; that hit lies at the angle 0 or pi, not at "no angle".
    if (std::isfinite(cosine))
        cosine = std::clamp(cosine, -1.0, 1.0);
    float angle = float(std::acos(cosine));
    if (!std::isfinite(angle))
        return 0.0f;
    if (Dot(e2, v) < 0.0)
        angle = -angle;
    return angle;
}

void CGVerFreeOrbit::DragOnCircle(const float centre[3], float radius, double hit[3]) {
    const double v[3] = {hit[0] - centre[0], hit[1] - centre[1], hit[2] - centre[2]};
    const double length = std::sqrt(Dot(v, v));
    // A hit on the centre gives no direction: the point stays where it was.
    if (!(length > 0.0) || !std::isfinite(length))
        return;
    float p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = float(centre[i] + radius / length * v[i]);
    if (!AllFinite(p))
        return;
    m_param1 = AngleOf(v, float(length));
    StorePosition(p);
}

void CGVerFreeOrbit::SerializeRadiusAndFrame(CArchive& ar) {
    HxSerializeFloats(ar, &m_radius, 1);
    HxSerializeFloats(ar, m_dir, 3);
    HxSerializeFloats(ar, m_e1, 3);
    HxSerializeFloats(ar, m_e2, 3);
}

// ---------------------------------------------------------------------------------------------
// PA square to AB, free radius

CGVerFreeUpright::CGVerFreeUpright() {
    m_param2 = 8.0f;
    m_param3 = 0.0f;
}

CGVerFreeUpright::CGVerFreeUpright(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b)
    : CGVerFreeOrbit(id, vertexIndex, name, a, b) {
    m_param2 = 8.0f;
    m_param3 = 0.0f;
    Recompute();
}

void CGVerFreeUpright::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    HxSerializeFloats(ar, &m_param2, 1);
    HxSerializeFloats(ar, &m_param3, 1);
    HxSerializeFloats(ar, m_dir, 3);
    HxSerializeFloats(ar, m_e1, 3);
    HxSerializeFloats(ar, m_e2, 3);
}

void CGVerFreeUpright::Recompute() {
    const CGVertex *a, *b;
    if (!ResolveEnds(a, b))
        return;
    RebuildFrame(*a, *b);
    float centre[3], p[3];
    a->GetPosition(centre);
    OrbitPosition(centre, m_param2, m_param3, p);
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeUpright::ConstrainToCarrier() {
    const CGVertex* a = PointParent(0);
    if (!a)
        return;
    float centre[3];
    a->GetPosition(centre);
    double hit[3];
    if (!HitOrbitPlaneOrTurn(centre, m_param2, m_param3, hit))
        return;
    const double v[3] = {hit[0] - centre[0], hit[1] - centre[1], hit[2] - centre[2]};
    const float r = float(std::sqrt(Dot(v, v)));
    const float p[3] = {float(hit[0]), float(hit[1]), float(hit[2])};
    if (!AllFinite(p) || !std::isfinite(r))
        return;
    m_param2 = r;
    m_param3 = AngleOf(v, r);
    StorePosition(p);
}

CString CGVerFreeUpright::GetDescription() {
    const CString a = PointParentName(0), b = PointParentName(1);
    return HxFormat(u"%s%s⊥%s%s", m_name, a, a, b);
}

// ---------------------------------------------------------------------------------------------
// PA square to AB, PA = AB

CGVerFreeUprightEquid::CGVerFreeUprightEquid(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b)
    : CGVerFreeOrbit(id, vertexIndex, name, a, b) {
    m_param1 = 0.0f;
    Recompute();
}

void CGVerFreeUprightEquid::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializeRadiusAndFrame(ar);
}

void CGVerFreeUprightEquid::Recompute() {
    const CGVertex *a, *b;
    if (!ResolveEnds(a, b))
        return;
    m_radius = RebuildFrame(*a, *b);
    float centre[3], p[3];
    a->GetPosition(centre);
    OrbitPosition(centre, m_radius, m_param1, p);
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeUprightEquid::SyncVertex() {
    const CGVertex* a = PointParent(0);
    if (!a) {
        CGVertex::SyncVertex();
        return;
    }
    float centre[3], p[3];
    a->GetPosition(centre);
    OrbitPosition(centre, m_radius, m_param1, p);
    StorePosition(p);
}

void CGVerFreeUprightEquid::ConstrainToCarrier() {
    const CGVertex* a = PointParent(0);
    if (!a)
        return;
    float centre[3];
    a->GetPosition(centre);
    double hit[3];
    if (!HitOrbitPlaneOrTurn(centre, m_radius, m_param1, hit))
        return;
    DragOnCircle(centre, m_radius, hit);
}

CString CGVerFreeUprightEquid::GetDescription() {
    const CString a = PointParentName(0), b = PointParentName(1);
    return HxFormat(u"%s%s⊥%s%s，%s%s=%s%s", m_name, a, a, b, m_name, a, a, b);
}

// ---------------------------------------------------------------------------------------------
// PAB equilateral

CGVerFreeEquilateral::CGVerFreeEquilateral(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b)
    : CGVerFreeOrbit(id, vertexIndex, name, a, b) {
    m_param1 = 0.0f;
    Recompute();
}

void CGVerFreeEquilateral::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializeRadiusAndFrame(ar);
}

BOOL CGVerFreeEquilateral::Midpoint(float out[3]) const {
    const CGVertex* a = PointParent(0);
    const CGVertex* b = PointParent(1);
    if (!a || !b)
        return FALSE;
    out[0] = (a->m_x + b->m_x) * 0.5f;
    out[1] = (a->m_y + b->m_y) * 0.5f;
    out[2] = (a->m_z + b->m_z) * 0.5f;
    return TRUE;
}

void CGVerFreeEquilateral::Recompute() {
    const CGVertex *a, *b;
    if (!ResolveEnds(a, b))
        return;
    m_radius = RebuildFrame(*a, *b);
    float centre[3], p[3];
    Midpoint(centre);
    OrbitPosition(centre, m_radius * kHeightRatio, m_param1, p);
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeEquilateral::SyncVertex() {
    float centre[3], p[3];
    if (!Midpoint(centre)) {
        CGVertex::SyncVertex();
        return;
    }
    OrbitPosition(centre, m_radius * kHeightRatio, m_param1, p);
    StorePosition(p);
}

void CGVerFreeEquilateral::ConstrainToCarrier() {
    float centre[3];
    if (!Midpoint(centre))
        return;
    double hit[3];
    HitOrbitPlane(centre, kTiny, hit);
    DragOnCircle(centre, m_radius * kHeightRatio, hit);
}

CString CGVerFreeEquilateral::GetDescription() {
    return HxFormat(u"%s、%s、%s成等边", m_name, PointParentName(0), PointParentName(1));
}

// ---------------------------------------------------------------------------------------------
// Points on a line through A

BOOL CGVerFreeOnAxis::PlaceOnAxis(const float axis[3]) {
    const CGVertex* a = PointParent(0);
    if (!a || !a->m_valid) {
        m_valid = false;
        return FALSE;
    }
    const float s = m_param1;
    m_valid = true;
    StorePosition(a->m_x + s * axis[0], a->m_y + s * axis[1], a->m_z + s * axis[2]);
    return TRUE;
}

CGVerFreeOnAxis::EAxisDrag CGVerFreeOnAxis::DragAlongAxis(const float axis[3]) {
    const CGVertex* a = PointParent(0);
    if (!a)
        return kNotMoved;
    const float av[3] = {a->m_x, a->m_y, a->m_z};
    const float here[3] = {m_x, m_y, m_z};
    double u[3], w[3], fromA[3];
    for (int i = 0; i < 3; ++i) {
        const float nearF = float(g_pickRayNear[i]);
        u[i] = here[i] - av[i];
        w[i] = float(g_pickRayFar[i]) - nearF;
        fromA[i] = nearF - av[i];
    }
    // m lies in the plane of u and the ray, square to the ray: the plane through the ray with
    // normal m meets the line where it passes nearest to the ray.
    double c[3], m[3];
    Cross(u, w, c);
    Cross(w, c, m);
    const double den = Dot(m, u);
    if (!(std::fabs(den) >= kTiny))
        return kAlongRay;
    const double lambda = Dot(fromA, m) / den;
    float p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = float(av[i] + lambda * u[i]);
    if (!AllFinite(p))
        return kNotMoved;
    const double offset[3] = {p[0] - av[0], p[1] - av[1], p[2] - av[2]};
    const double ax[3] = {axis[0], axis[1], axis[2]};
    float s = float(std::sqrt(Dot(offset, offset)));
    if (Dot(offset, ax) < 0.0)
        s = -s;
    m_param1 = s;
    StorePosition(p);
    return kMoved;
}

// ---------------------------------------------------------------------------------------------
// AP parallel to a direction

CGVerFreeParVector::CGVerFreeParVector() {
    m_param1 = 5.0f;
}

CGVerFreeParVector::CGVerFreeParVector(WORD id, DWORD vertexIndex, const CString& name, float dx, float dy,
                                       float dz, WORD a)
    : CGVerFreeOnAxis(id, vertexIndex, name) {
    float length = float(std::sqrt(double(dx) * dx + double(dy) * dy + double(dz) * dz));
    if (length == 0.0f)
        length = float(kTiny);
    m_dir[0] = dx / length;
    m_dir[1] = dy / length;
    m_dir[2] = dz / length;
    m_param1 = 8.0f;
    AddParent(a);
    Recompute();
}

void CGVerFreeParVector::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    HxSerializeFloats(ar, m_dir, 3);
}

void CGVerFreeParVector::Recompute() {
    PlaceOnAxis(m_dir);
}

void CGVerFreeParVector::SyncVertex() {
    Recompute();
}

void CGVerFreeParVector::ConstrainToCarrier() {
    if (DragAlongAxis(m_dir) != kAlongRay)
        return;
    const CGVertex* a = PointParent(0);
    m_param1 = 0.1f;
    StorePosition(a->m_x + 0.1f * m_dir[0], a->m_y + 0.1f * m_dir[1], a->m_z + 0.1f * m_dir[2]);
}

CString CGVerFreeParVector::GetDescription() {
    return HxFormat(u"向量%s%s∥（%.4f,%.4f,%.4f）", PointParentName(0), m_name, m_dir[0], m_dir[1], m_dir[2]);
}

// ---------------------------------------------------------------------------------------------
// AP parallel to BC

CGVerFreeParVecPP::CGVerFreeParVecPP(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerFreeParVector(id, vertexIndex, name, 5.0f, 0.0f, 0.0f, a) {
    AddParent(b);
    AddParent(c);
    Recompute();
}

void CGVerFreeParVecPP::Recompute() {
    const CGVertex* b = PointParent(1);
    const CGVertex* c = PointParent(2);
    if (!b || !c || !b->m_valid || !c->m_valid) {
        m_valid = false;
        return;
    }
    const float d[3] = {c->m_x - b->m_x, c->m_y - b->m_y, c->m_z - b->m_z};
    float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (length == 0.0f)
        length = float(kTiny);
    for (int i = 0; i < 3; ++i)
        m_dir[i] = d[i] / length;
    CGVerFreeParVector::Recompute();
}

CString CGVerFreeParVecPP::GetDescription() {
    return HxFormat(u"%s%s∥%s%s", m_name, PointParentName(0), PointParentName(1), PointParentName(2));
}

// ---------------------------------------------------------------------------------------------
// AP square to the plane ABC

CGVerFreePerpen::CGVerFreePerpen() {
    m_param1 = 8.0f;
}

CGVerFreePerpen::CGVerFreePerpen(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerFreeOnAxis(id, vertexIndex, name) {
    m_param1 = 8.0f;
    AddParent(a);
    AddParent(b);
    AddParent(c);
    Recompute();
}

void CGVerFreePerpen::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    HxSerializeFloats(ar, m_normal, 3);
}

void CGVerFreePerpen::Recompute() {
    const CGVertex* a = PointParent(0);
    const CGVertex* b = PointParent(1);
    const CGVertex* c = PointParent(2);
    if (!a || !b || !c || !a->m_valid || !b->m_valid || !c->m_valid) {
        m_valid = false;
        return;
    }
    const double ab[3] = {b->m_x - a->m_x, b->m_y - a->m_y, b->m_z - a->m_z};
    const double ac[3] = {c->m_x - a->m_x, c->m_y - a->m_y, c->m_z - a->m_z};
    double n[3];
    Cross(ab, ac, n);
    double length = std::sqrt(Dot(n, n));
    if (length < kTiny)
        length = kTiny;
    for (int i = 0; i < 3; ++i)
        m_normal[i] = float(n[i] / length);
    PlaceOnAxis(m_normal);
}

void CGVerFreePerpen::SyncVertex() {
    const CGVertex* a = PointParent(0);
    if (!a) {
        CGVertex::SyncVertex();
        return;
    }
    const float s = m_param1;
    StorePosition(a->m_x + s * m_normal[0], a->m_y + s * m_normal[1], a->m_z + s * m_normal[2]);
}

void CGVerFreePerpen::ConstrainToCarrier() {
    if (DragAlongAxis(m_normal) != kAlongRay)
        return;
    m_param1 = 0.01f;
    StorePosition(m_x, m_y, m_z + 0.01f);
}

CString CGVerFreePerpen::GetDescription() {
    const CString a = PointParentName(0);
    return HxFormat(u"%s%s⊥面%s%s%s", m_name, a, a, PointParentName(1), PointParentName(2));
}

// ---------------------------------------------------------------------------------------------
// The follower

CGVerFreeHenchman::CGVerFreeHenchman(WORD id, DWORD vertexIndex, const CString& name, float x, float y,
                                     float z, WORD master)
    : CGVerFree(id, vertexIndex, name, x, y, z) {
    AddParent(master);
    TakeOffsetFromMaster();
}

void CGVerFreeHenchman::TakeOffsetFromMaster() {
    if (const CGVertex* master = PointParent(0)) {
        m_offset[0] = m_x - master->m_x;
        m_offset[1] = m_y - master->m_y;
        m_offset[2] = m_z - master->m_z;
    }
}

void CGVerFreeHenchman::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    HxSerializeFloats(ar, m_offset, 3);
}

void CGVerFreeHenchman::Recompute() {
    float p[3];
    if (m_parents.GetSize() < 1 || !HxFollowerPosition(m_parents[0], m_offset, p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeHenchman::SyncVertex() {
    CGVertex::SyncVertex();
    TakeOffsetFromMaster();
}

void CGVerFreeHenchman::ConstrainToCarrier() {
    if (MoveInSpace())
        TakeOffsetFromMaster();
}

CString CGVerFreeHenchman::GetDescription() {
    return HxFormat(u"随点%s移动的自由点", PointParentName(0));
}
