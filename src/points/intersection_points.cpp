// The intersection points of lines, planes and circles: their constructions in double precision
// from the parents' floats, the extent tests of the line kinds, and their descriptions.
#include "points/intersection_points.h"

#include "model/geometry.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerIntersection, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionLF, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionLS, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionSS, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionCF, CGVertex, 1)

namespace {

struct V3 {
    double x, y, z;
};

V3 ToV3(const float p[3]) {
    return {p[0], p[1], p[2]};
}
V3 Add(const V3& a, const V3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 Sub(const V3& a, const V3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 Scale(const V3& a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
double Dot(const V3& a, const V3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(const V3& a) {
    return std::sqrt(Dot(a, a));
}
void Store(const V3& p, float out[3]) {
    out[0] = float(p.x);
    out[1] = float(p.y);
    out[2] = float(p.z);
}

// Below this length a normal is no direction (a face on collinear corners, a circle without axes).
constexpr double kNoDirection = 1e-12;

// The extent of a line's kind at the parameter t, exact: segments and vectors 0..1, rays from 0;
// lines (and any other kind) everywhere.
bool WithinExtent(BYTE kind, float t) {
    switch (kind) {
    case CGLine::kSegment:
    case CGLine::kVector:
        return t >= 0.0f && t <= 1.0f;
    case CGLine::kRay:
        return t >= 0.0f;
    default:
        return true;
    }
}

// The same test widened by 1e-6 for crossings with circles; an unknown kind has no extent to test
// and gives no point.
bool WithinExtentLoosely(BYTE kind, float t) {
    switch (kind) {
    case CGLine::kSegment:
    case CGLine::kVector:
        return t >= -1e-6f && t <= 1.000001f;
    case CGLine::kRay:
        return t >= -1e-6f;
    case CGLine::kLine:
        return true;
    default:
        return false;
    }
}

CString Describe(const char16_t* format, const CString& first, const CString& second) {
    CString text;
    text.Format(format, first, second);
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Two lines

CGVerIntersection::CGVerIntersection(WORD id, DWORD vertexIndex, CString name, WORD line1, WORD line2)
    : CGVerConstructed(id, vertexIndex, name, {line1, line2}) {
    Recompute();
}

bool CGVerIntersection::ComputePosition(float out[3]) {
    const CGLine* first = LineParent(0);
    const CGLine* second = LineParent(1);
    float a0[3], a1[3], b0[3], b1[3];
    HxLineEnds(*first, a0, a1);
    HxLineEnds(*second, b0, b1);
    float t1 = 0.0f, t2 = 0.0f;
    if (!IntersectLinesF(a0, a1, b0, b1, out, &t1, &t2))
        return false;
    if (!WithinExtent(first->m_kind, t1) || !WithinExtent(second->m_kind, t2))
        return false;
    m_param1 = t1;
    return true;
}

CString CGVerIntersection::GetDescription() {
    return Describe(u"线%s与线%s的交点", ParentName(0), ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// A line and a plane

CGVerIntersectionLF::CGVerIntersectionLF(WORD id, DWORD vertexIndex, CString name, WORD line, WORD face)
    : CGVerConstructed(id, vertexIndex, name, {line, face}) {
    Recompute();
}

bool CGVerIntersectionLF::ComputePosition(float out[3]) {
    const CGLine* line = LineParent(0);
    float l0[3], l1[3], p0[3], p1[3], p2[3];
    HxLineEnds(*line, l0, l1);
    HxPlanePoints(*FaceParent(1), p0, p1, p2);
    float t = 0.0f;
    // The polygon plays no part: the whole plane counts.
    if (!IntersectLinePlaneF(l0, l1, p0, p1, p2, out, &t))
        return false;
    if (!WithinExtent(line->m_kind, t))
        return false;
    m_param1 = t;
    return true;
}

CString CGVerIntersectionLF::GetDescription() {
    return Describe(u"线%s与平面%s的交点", ParentName(0), ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// A line and a circle

CGVerIntersectionLS::CGVerIntersectionLS(WORD id, DWORD vertexIndex, CString name, BYTE root, WORD line,
                                         WORD circle)
    : CGVerConstructed(id, vertexIndex, name, {line, circle}) {
    m_kind = root;
    Recompute();
}

bool CGVerIntersectionLS::ComputePosition(float out[3]) {
    const CGLine* line = LineParent(0);
    const CGArc* circle = CircleParent(1);
    float l0[3], l1[3];
    HxLineEnds(*line, l0, l1);
    const V3 c = ToV3(circle->m_center), u = ToV3(circle->m_axisU), w = ToV3(circle->m_axisV);
    // The sphere about the centre through the circle, then the circle's plane; the other root is
    // never tried in place of the chosen one.
    float t = 0.0f;
    if (!IntersectLineSphereF(l0, l1, circle->m_center, m_kind != 0, out, &t, Length(u)))
        return false;
    if (std::fabs(Dot(Cross(u, w), Sub(ToV3(out), c))) >= 0.01)
        return false;
    return WithinExtentLoosely(line->m_kind, t);
}

CString CGVerIntersectionLS::GetDescription() {
    return Describe(u"线%s与圆%s的交点", ParentName(0), ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// Two circles

CGVerIntersectionSS::CGVerIntersectionSS(WORD id, DWORD vertexIndex, CString name, BYTE root, WORD circle1,
                                         WORD circle2)
    : CGVerConstructed(id, vertexIndex, name, {circle1, circle2}) {
    m_kind = root;
    Recompute();
}

bool CGVerIntersectionSS::ComputePosition(float out[3]) {
    const CGArc* first = CircleParent(0);
    const CGArc* second = CircleParent(1);
    const V3 c1 = ToV3(first->m_center), u1 = ToV3(first->m_axisU), w1 = ToV3(first->m_axisV);
    const V3 c2 = ToV3(second->m_center), u2 = ToV3(second->m_axisU), w2 = ToV3(second->m_axisV);
    const double r1 = Length(u1), r2 = Length(u2);
    if (r1 < 1e-4 || r2 < 1e-4)
        return false;
    // Unnormalised normals: the tolerances below are absolute on them.
    const V3 n1 = Cross(u1, w1), n2 = Cross(u2, w2);
    const double k1 = Dot(n1, c1), k2 = Dot(n2, c2);
    const V3 m = Cross(n1, n2);

    if (Length(m) < 0.1) {
        // One plane (or two parallel ones): the crossing of two circles in a plane.
        const V3 d = Sub(c2, c1);
        if (std::fabs(Dot(d, n1)) > 0.1)
            return false;
        const double dist = Length(d);
        // Concentric circles cross nowhere or everywhere: no point either way.
        if (dist < 1e-9)
            return false;
        if (std::fabs(r1 - r2) - dist > 1e-4 || dist - (r1 + r2) > 1e-4)
            return false;
        const double a = (dist * dist + r1 * r1 - r2 * r2) / (2.0 * dist);
        double h2 = r1 * r1 - a * a;
        if (h2 < 0.0)
            h2 = 0.0;
        const V3 mid = Add(c1, Scale(d, a / dist));
        const V3 q = Cross(n1, d);
        const double ql = Length(q);
        if (ql < kNoDirection)
            return false;
        double s = std::sqrt(h2) / ql;
        if (m_kind == 0)
            s = -s;
        Store(Add(mid, Scale(q, s)), out);
        return true;
    }

    // Two planes meeting in a line: a point of it from the first usable component of m, then the
    // crossing of that line with the first circle, which must also lie on the second.
    V3 q0;
    if (std::fabs(m.x) > 1e-4)
        q0 = {0.0, (k1 * n2.z - k2 * n1.z) / m.x, (k2 * n1.y - k1 * n2.y) / m.x};
    else if (std::fabs(m.y) > 1e-4)
        q0 = {(k2 * n1.z - k1 * n2.z) / m.y, 0.0, (k1 * n2.x - k2 * n1.x) / m.y};
    else if (std::fabs(m.z) > 1e-4)
        q0 = {(k1 * n2.y - k2 * n1.y) / m.z, (k2 * n1.x - k1 * n2.x) / m.z, 0.0};
    else
        return false;
    float p0[3], p1[3];
    Store(q0, p0);
    Store(Add(q0, m), p1);
    float t = 0.0f;
    if (!IntersectLineSphereF(p0, p1, first->m_center, m_kind != 0, out, &t, r1))
        return false;
    return std::fabs(Length(Sub(ToV3(out), c2)) - r2) < 0.01;
}

CString CGVerIntersectionSS::GetDescription() {
    return Describe(u"圆%s与圆%s的交点", ParentName(0), ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// A circle and a plane

CGVerIntersectionCF::CGVerIntersectionCF(WORD id, DWORD vertexIndex, CString name, BYTE root, WORD circle,
                                         WORD face)
    : CGVerConstructed(id, vertexIndex, name, {circle, face}) {
    m_kind = root;
    Recompute();
}

bool CGVerIntersectionCF::ComputePosition(float out[3]) {
    const CGArc* circle = CircleParent(0);
    float p0[3], p1[3], p2[3];
    HxPlanePoints(*FaceParent(1), p0, p1, p2);
    const V3 b = ToV3(p1);
    const V3 nfRaw = Cross(Sub(ToV3(p0), b), Sub(ToV3(p2), b));
    const V3 mRaw = Cross(ToV3(circle->m_axisU), ToV3(circle->m_axisV));
    const double nfLength = Length(nfRaw), mLength = Length(mRaw);
    if (nfLength < kNoDirection || mLength < kNoDirection)
        return false;
    const V3 nf = Scale(nfRaw, 1.0 / nfLength);
    const V3 m = Scale(mRaw, 1.0 / mLength);
    if (std::fabs(Dot(m, nf)) > 0.999999)
        return false; // parallel planes
    // q along the planes' common line, e in the circle's plane across it.
    const V3 qRaw = Cross(nf, m);
    const V3 q = Scale(qRaw, 1.0 / Length(qRaw));
    const V3 e = Cross(q, m);
    const V3 c = ToV3(circle->m_center);
    const double delta = Dot(nf, Sub(c, b));
    const double s = -delta / Dot(e, nf);
    // The foot of the centre on the common line, kept as floats as the point itself would be.
    float foot[3];
    Store(Add(c, Scale(e, s)), foot);
    const double radius = circle->m_radius;
    if (s * s > radius * radius)
        return false;
    const double h = std::sqrt(radius * radius - s * s);
    const double side = m_kind != 0 ? 1.0 : -1.0;
    Store(Add(ToV3(foot), Scale(q, side * h)), out);
    return true;
}

CString CGVerIntersectionCF::GetDescription() {
    return Describe(u"圆%s与平面%s的交点", ParentName(0), ParentName(1));
}
