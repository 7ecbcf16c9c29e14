// Points on objects: their constructions from the carrier and the parameter, the division point's
// ratio in the record, the border point's record, the two perpendicular feet, and the descriptions.
#include "points/object_points.h"

#include "dynamics/curves.h"

#include <bit>
#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CGVerInLineFt, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInLineFixedf, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInCircleFixedf, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInCircleScale, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInCurveFixedf, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInCurveFt, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInLocusFixedf, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInLocusFt, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInBorderFt, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerFootplEx, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerFootpfEx, CGVertex, 1)

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// a + t (b - a) of a line's two points, in single precision.
void LinePoint(const CGLine& line, float t, float out[3]) {
    float a[3], b[3];
    HxLineEnds(line, a, b);
    for (int i = 0; i < 3; ++i)
        out[i] = a[i] + t * (b[i] - a[i]);
}

// O + U cos t + V sin t of a circle, with single-precision sine and cosine.
void CirclePoint(const CGArc& circle, float t, float out[3]) {
    const float c = std::cos(t), s = std::sin(t);
    for (int i = 0; i < 3; ++i)
        out[i] = circle.m_center[i] + circle.m_axisU[i] * c + circle.m_axisV[i] * s;
}

// An angle into [0, 2 pi): angle - 2 pi floor(angle / 2 pi).
double ReduceAngle(double angle) {
    return angle - kTwoPi * std::floor(angle / kTwoPi);
}

// The traced point of a locus at the driver parameter t; the driver (the locus's first parent)
// stands where it stood afterwards.
bool LocusPointAt(CGLocus& locus, float t, float out[3]) {
    CGCell* driver = locus.m_parents.GetSize() > 0 ? HxFindCell(locus.m_parents[0]) : nullptr;
    if (!driver)
        return false;
    const float saved = driver->m_param1;
    const bool exists = locus.PointAtParameter(out, t) != FALSE;
    float back[3];
    locus.PointAtParameter(back, saved);
    return exists;
}

// The parameter word of a parent that is a point.
float ParameterOf(const CGVertex& point) {
    return point.m_param1;
}

struct D3 {
    double x, y, z;
};
D3 PosOf(const CGVertex& p) {
    return {p.m_x, p.m_y, p.m_z};
}
D3 Sub(const D3& a, const D3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const D3& a, const D3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
D3 Cross(const D3& a, const D3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
void Put(const D3& p, float out[3]) {
    out[0] = float(p.x);
    out[1] = float(p.y);
    out[2] = float(p.z);
}
// The foot on the line from p through q: p + s (q - p), s 0 when p and q (nearly) coincide.
D3 FootOnLine(const D3& a, const D3& p, const D3& q) {
    const D3 d = Sub(q, p);
    const double dd = Dot(d, d);
    const double s = dd < 1e-5 ? 0.0 : Dot(Sub(a, p), d) / dd;
    return {p.x + s * d.x, p.y + s * d.y, p.z + s * d.z};
}

CString Fixed(const char16_t* format, const CString& name, float t) {
    CString text;
    text.Format(format, name, double(t));
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// On a line

CGVerInLineFt::CGVerInLineFt(WORD id, DWORD vertexIndex, const CString& name, WORD line, WORD point)
    : CGVerConstructed(id, vertexIndex, name, {line, point}) {
    Recompute();
}

bool CGVerInLineFt::ComputePosition(float out[3]) {
    m_param1 = ParameterOf(*PointParent(1));
    LinePoint(*LineParent(0), m_param1, out);
    return true;
}

CString CGVerInLineFt::GetDescription() {
    CString text;
    text.Format(u"线%s上与%s同参数的点", ParentName(0), ParentName(1));
    return text;
}

CGVerInLineFixedf::CGVerInLineFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD line, float t)
    : CGVerConstructed(id, vertexIndex, name, {line}) {
    m_param1 = t;
    Recompute();
}

bool CGVerInLineFixedf::ComputePosition(float out[3]) {
    LinePoint(*LineParent(0), m_param1, out);
    return true;
}

CString CGVerInLineFixedf::GetDescription() {
    return Fixed(u"线%s上参数%f对应点", ParentName(0), m_param1);
}

// ---------------------------------------------------------------------------------------------
// On a circle

CGVerInCircleFixedf::CGVerInCircleFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD circle,
                                         float angle)
    : CGVerConstructed(id, vertexIndex, name, {circle}) {
    m_param1 = angle;
    Recompute();
}

bool CGVerInCircleFixedf::ComputePosition(float out[3]) {
    CirclePoint(*CircleParent(0), m_param1, out);
    return true;
}

CString CGVerInCircleFixedf::GetDescription() {
    return Fixed(u"圆%s上参数%f对应点", ParentName(0), m_param1);
}

CGVerInCircleScale::CGVerInCircleScale(WORD id, DWORD vertexIndex, const CString& name, WORD circle, WORD a,
                                       WORD b, float ratio)
    : CGVerConstructed(id, vertexIndex, name, {circle, a, b}), m_ratio(ratio) {
    Recompute();
}

void CGVerInCircleScale::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        m_extA2 = std::bit_cast<int>(m_ratio);
        m_extA3 = kRatioMark;
    }
    CGVerConstructed::Serialize(ar);
    if (ar.IsLoading()) {
        const float ratio = std::bit_cast<float>(m_extA2);
        m_ratio = m_extA3 == kRatioMark && std::isfinite(ratio) ? ratio : 0.5f;
    }
}

bool CGVerInCircleScale::ComputePosition(float out[3]) {
    const CGArc& circle = *CircleParent(0);
    const double a = ReduceAngle(ParameterOf(*PointParent(1)));
    double b = ReduceAngle(ParameterOf(*PointParent(2)));
    // The division runs from A in the direction of growing angle.
    if (a > b)
        b += kTwoPi;
    m_param1 = float((1.0 - m_ratio) * a + m_ratio * b);
    m_param1 = float(ReduceAngle(m_param1));
    CirclePoint(circle, m_param1, out);
    return true;
}

CString CGVerInCircleScale::GetDescription() {
    CString text;
    text.Format(u"圆%s上两点%s、 %s的分点", ParentName(0), ParentName(1), ParentName(2));
    return text;
}

// ---------------------------------------------------------------------------------------------
// On a curve

CGVerInCurveFixedf::CGVerInCurveFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD curve, float t)
    : CGVerConstructed(id, vertexIndex, name, {curve}) {
    m_param1 = t;
    Recompute();
}

bool CGVerInCurveFixedf::ComputePosition(float out[3]) {
    double p[3];
    CurveParent(0)->PointAt(m_param1, p);
    Put({p[0], p[1], p[2]}, out);
    return true;
}

CString CGVerInCurveFixedf::GetDescription() {
    return Fixed(u"曲线%s上参数%f对应点", ParentName(0), m_param1);
}

CGVerInCurveFt::CGVerInCurveFt(WORD id, DWORD vertexIndex, const CString& name, WORD curve, WORD point)
    : CGVerConstructed(id, vertexIndex, name, {curve, point}) {
    Recompute();
}

bool CGVerInCurveFt::ComputePosition(float out[3]) {
    CGCurve& curve = *CurveParent(0);
    const double t = ParameterOf(*PointParent(1));
    const bool inside = (curve.m_tMin <= t && t <= curve.m_tMax) || (curve.m_tMax <= t && t <= curve.m_tMin);
    if (!inside)
        return false;
    m_param1 = float(t);
    double p[3];
    curve.PointAt(t, p);
    Put({p[0], p[1], p[2]}, out);
    return true;
}

CString CGVerInCurveFt::GetDescription() {
    CString text;
    text.Format(u"曲线%s上与%s同参数的点", ParentName(0), ParentName(1));
    return text;
}

// ---------------------------------------------------------------------------------------------
// On a locus

CGVerInLocusFixedf::CGVerInLocusFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD locus, float t)
    : CGVerConstructed(id, vertexIndex, name, {locus}) {
    m_param1 = t;
    Recompute();
}

bool CGVerInLocusFixedf::ComputePosition(float out[3]) {
    return LocusPointAt(*LocusParent(0), m_param1, out);
}

CString CGVerInLocusFixedf::GetDescription() {
    CString text;
    text.Format(u"轨迹上与参数%f对应的点", double(m_param1));
    return text;
}

CGVerInLocusFt::CGVerInLocusFt(WORD id, DWORD vertexIndex, const CString& name, WORD locus, WORD point)
    : CGVerConstructed(id, vertexIndex, name, {locus, point}) {
    Recompute();
}

bool CGVerInLocusFt::ComputePosition(float out[3]) {
    CGLocus& locus = *LocusParent(0);
    const float t = ParameterOf(*PointParent(1));
    const bool inside = (locus.m_t0 <= t && t <= locus.m_t1) || (locus.m_t1 <= t && t <= locus.m_t0);
    if (!inside)
        return false;
    m_param1 = t;
    return LocusPointAt(locus, t, out);
}

CString CGVerInLocusFt::GetDescription() {
    CString text;
    text.Format(u"轨迹上与%s同参数的点", ParentName(1));
    return text;
}

// ---------------------------------------------------------------------------------------------
// On a polygon's border

CGVerInBorderFt::CGVerInBorderFt(WORD id, DWORD vertexIndex, const CString& name,
                                 const CList<WORD, WORD>& vertices, WORD point)
    : CGVerConstructed(id, vertexIndex, name, std::initializer_list<WORD>{}), m_count(vertices.GetCount()) {
    for (WORD vertex : vertices)
        AddParent(vertex);
    AddParent(point);
    Recompute();
}

int CGVerInBorderFt::ParentCount() const {
    // A count that no parent list can match (a damaged record) matches none.
    return m_count >= 1 && m_count < 0xFFFF ? m_count + 1 : -1;
}

void CGVerInBorderFt::SerializeOwn(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_count;
    else
        ar >> m_count;
}

void CGVerInBorderFt::Recompute() {
    // The reference point and the ends of its edge are what the point stands on; the other
    // vertices may be invalid.
    if (!ParentsUsable() || !PointParent(m_count)->m_valid) {
        m_valid = false;
        return;
    }
    float p[3];
    if (!ComputePosition(p) || !std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
        m_valid = false;
        return;
    }
    SetPosition(p[0], p[1], p[2]);
    m_valid = true;
}

bool CGVerInBorderFt::ComputePosition(float out[3]) {
    const int n = m_count;
    const float parameter = ParameterOf(*PointParent(n));
    m_param1 = parameter;
    double u = parameter;
    if (!std::isfinite(u))
        return false;
    if (u > n)
        u -= n * std::trunc(u / n);
    else if (u < 0.0)
        u -= n * (std::trunc(u / n) - 1.0);
    int i = int(std::trunc(u));
    float f;
    if (i >= n) {
        i = n - 1;
        f = 1.0f;
    } else {
        f = float(u - i);
    }
    const CGVertex* from = PointParent(i);
    const CGVertex* to = PointParent(i == n - 1 ? 0 : i + 1);
    if (!from->m_valid || !to->m_valid)
        return false;
    out[0] = from->m_x + f * (to->m_x - from->m_x);
    out[1] = from->m_y + f * (to->m_y - from->m_y);
    out[2] = from->m_z + f * (to->m_z - from->m_z);
    return true;
}

CString CGVerInBorderFt::GetDescription() {
    CString text;
    text.Format(u"%d边形边界线上与%s同参数的点", m_count, ParentName(m_count));
    return text;
}

// ---------------------------------------------------------------------------------------------
// Feet of perpendiculars

CGVerFootplEx::CGVerFootplEx(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD e)
    : CGVerConstructed(id, vertexIndex, name, {a, b, e}) {
    Recompute();
}

bool CGVerFootplEx::ComputePosition(float out[3]) {
    const D3 a = PosOf(*PointParent(0)), b = PosOf(*PointParent(1)), e = PosOf(*PointParent(2));
    const D3 c = Cross(Sub(b, a), Sub(e, a));
    if (std::fabs(c.x) < 1e-4 && std::fabs(c.y) < 1e-4 && std::fabs(c.z) < 1e-4) {
        // A on the line BE: a point one unit off, level and square to BE.
        const double gx = b.x - e.x, gy = b.y - e.y;
        const double l2 = gx * gx + gy * gy;
        if (l2 >= 1e-4) {
            const double l = std::sqrt(l2);
            Put({a.x + gy / l, a.y - gx / l, a.z}, out);
        } else {
            Put({a.x + 1.0, a.y, a.z}, out);
        }
        return true;
    }
    // A foot on B itself is a foot like any other: only a line without a direction has none.
    const D3 d = Sub(e, b);
    const double dd = Dot(d, d);
    if (dd < 1e-5)
        return false;
    const double s = Dot(Sub(a, b), d) / dd;
    Put({b.x + s * d.x, b.y + s * d.y, b.z + s * d.z}, out);
    return true;
}

CString CGVerFootplEx::GetDescription() {
    CString text;
    text.Format(u"线%s%s⊥线%s%s", ParentName(0), m_name, ParentName(1), ParentName(2));
    return text;
}

CGVerFootpfEx::CGVerFootpfEx(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD p1, WORD p2,
                             WORD p3)
    : CGVerConstructed(id, vertexIndex, name, {a, p1, p2, p3}) {
    Recompute();
}

bool CGVerFootpfEx::ComputePosition(float out[3]) {
    const D3 a = PosOf(*PointParent(0)), p1 = PosOf(*PointParent(1)), p2 = PosOf(*PointParent(2)),
             p3 = PosOf(*PointParent(3));
    const D3 n = Cross(Sub(p1, p2), Sub(p3, p2));
    const double nn = Dot(n, n);
    D3 x;
    if (nn >= 1e-5) {
        const double s = Dot(Sub(p2, a), n) / nn;
        x = {a.x + s * n.x, a.y + s * n.y, a.z + s * n.z};
    } else {
        // Collinear corners: the foot on their line.
        const D3 d12 = Sub(p1, p2);
        x = Dot(d12, d12) < 1e-5 ? FootOnLine(a, p2, p3) : FootOnLine(a, p1, p2);
    }
    const D3 ax = Sub(a, x);
    if (Dot(ax, ax) < 1e-4) {
        // A in the plane: one unit off it along the normal.
        D3 m = Cross(Sub(p1, p3), Sub(p2, p3));
        const double length = std::sqrt(Dot(m, m));
        if (length > 1e-4)
            m = {m.x / length, m.y / length, m.z / length};
        x = {a.x + m.x, a.y + m.y, a.z + m.z};
    }
    Put(x, out);
    return true;
}

CString CGVerFootpfEx::GetDescription() {
    CString text;
    text.Format(u"线%s%s⊥面%s%s%s", ParentName(0), m_name, ParentName(1), ParentName(2), ParentName(3));
    return text;
}
