// CGArc: construction, record and description of the positioned circle, angle normalisation, the
// label dragged around the circle, and the point, parameter and nearest-point queries.
#include "model/arc.h"

#include "model/geometry.h"
#include "model/page.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CGArc, CGCell, 1)

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Below this a sweep counts as empty: parameters along it are 0.
constexpr double kEmptySweep = 1e-7;

struct V3 {
    double x, y, z;
};

V3 ToV3(const float* p) {
    return {p[0], p[1], p[2]};
}
V3 Sub(const V3& a, const V3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const V3& a, const V3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void SetColorRgb(CRgba& target, const CRgba& source) {
    target.r = source.r;
    target.g = source.g;
    target.b = source.b;
}

} // namespace

CGArc::CGArc() {
    SetColorRgb(m_color, g_colorArcSolid);
    for (float& v : m_labelOffset)
        v = 10.0f * g_unitLength;
}

CGArc::CGArc(WORD id, float cx, float cy, float cz, float ux, float uy, float uz, float vx, float vy,
             float vz, float start, float end, BYTE kind)
    : CGArc() {
    m_id = id;
    if (g_pCurPage)
        m_name = g_pCurPage->MakeAutoLabel(CGPage::kAutoLabelCircle);
    m_kind = kind;
    const float center[3] = {cx, cy, cz}, u[3] = {ux, uy, uz}, v[3] = {vx, vy, vz};
    std::copy(center, center + 3, m_center);
    std::copy(u, u + 3, m_axisU);
    std::copy(v, v + 3, m_axisV);
    m_startAngle = start;
    m_endAngle = end;
    // An end of exactly 2 pi (as a float, a little above it) becomes a tiny angle: such an arc is
    // almost empty, as files of positioned arcs have always had it.
    NormalizeAngles();
    m_sweepFromPoints = true;
    m_labelAngle = 1.0f;
    m_radius = float(std::sqrt(Dot(ToV3(m_axisU), ToV3(m_axisU))));
    PlaceLabel();
}

void CGArc::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        for (float v : m_center)
            ar << v;
        for (float v : m_axisU)
            ar << v;
        for (float v : m_axisV)
            ar << v;
        ar << m_startAngle << m_endAngle << m_sweepFromPoints << m_labelAngle;
        for (float v : m_labelOffset)
            ar << v;
        HxCountTextureUse(m_param4);
        return;
    }
    for (float& v : m_center)
        ar >> v;
    for (float& v : m_axisU)
        ar >> v;
    for (float& v : m_axisV)
        ar >> v;
    ar >> m_startAngle >> m_endAngle >> m_sweepFromPoints >> m_labelAngle;
    for (float& v : m_labelOffset)
        ar >> v;
    m_radius = float(std::sqrt(Dot(ToV3(m_axisU), ToV3(m_axisU))));
}

CString CGArc::GetDescription() {
    CString text;
    text.Format(u"以（%.4f，%.4f，%.4f）为圆心，半径为%.4f.的定位圆(弧)", m_center[0], m_center[1],
                m_center[2], m_radius);
    return text;
}

CGVertex* CGArc::GetPointParent(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[i]));
}

CString CGArc::ParentName(int i) const {
    const CGVertex* point = GetPointParent(i);
    return point ? point->m_name : CString();
}

bool CGArc::CheckPointParents() {
    for (int i = 0; i < m_parents.GetSize(); ++i) {
        const CGVertex* point = GetPointParent(i);
        if (!point || !point->m_valid) {
            m_valid = false;
            return false;
        }
    }
    return true;
}

void CGArc::LinkConstructed(WORD id, BYTE kind, std::initializer_list<WORD> points) {
    m_id = id;
    if (g_pCurPage)
        m_name = g_pCurPage->MakeAutoLabel(CGPage::kAutoLabelCircle);
    m_kind = kind;
    for (WORD point : points)
        AddParent(point);
}

void CGArc::Recompute() {
    PlaceLabel();
}

void CGArc::PointAtAngle(double angle, double out[3]) const {
    const double c = std::cos(angle), s = std::sin(angle);
    for (int i = 0; i < 3; ++i)
        out[i] = m_center[i] + m_axisU[i] * c + m_axisV[i] * s;
}

void CGArc::PlaceLabel() {
    double q[3];
    PointAtAngle(m_labelAngle, q);
    for (int i = 0; i < 3; ++i)
        m_labelPos[i] = float(q[i] + m_labelOffset[i]);
}

double CGArc::ReduceAngle(double angle) {
    if (!std::isfinite(angle))
        return 0.0;
    double k = std::trunc(angle / kTwoPi);
    if (angle < 0.0)
        k -= 1.0;
    double reduced = angle - k * kTwoPi;
    // A negative whole number of turns lands on 2 pi itself.
    if (reduced >= kTwoPi)
        reduced -= kTwoPi;
    return reduced;
}

void CGArc::NormalizeAngles() {
    const double start = ReduceAngle(m_startAngle);
    double end = ReduceAngle(m_endAngle);
    if (start > end)
        end += kTwoPi;
    m_startAngle = float(start);
    m_endAngle = float(end);
}

void CGArc::MoveLabel() {
    const V3 u = ToV3(m_axisU);
    const V3 n = Cross(u, ToV3(m_axisV));
    const V3 nearPt{g_pickRayNear[0], g_pickRayNear[1], g_pickRayNear[2]};
    const V3 d = Sub(V3{g_pickRayFar[0], g_pickRayFar[1], g_pickRayFar[2]}, nearPt);
    const double dn = Dot(d, n);
    if (dn == 0.0)
        return;
    const V3 o = ToV3(m_center);
    const double t = Dot(Sub(o, nearPt), n) / dn;
    const V3 hit{nearPt.x + t * d.x, nearPt.y + t * d.y, nearPt.z + t * d.z};
    const V3 w = Sub(hit, o);
    m_labelAngle = OrientedAngleF(m_axisU[0], m_axisU[1], m_axisU[2], float(w.x), float(w.y), float(w.z),
                                  float(n.x), float(n.y), float(n.z));
    double q[3];
    PointAtAngle(m_labelAngle, q);
    double offset[3] = {hit.x - q[0], hit.y - q[1], hit.z - q[2]};
    const double length = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
    const double limit = 40.0 * g_unitLength;
    if (length > limit) {
        for (double& v : offset)
            v *= limit / length;
    }
    for (int i = 0; i < 3; ++i) {
        m_labelOffset[i] = float(offset[i]);
        m_labelPos[i] = float(q[i] + m_labelOffset[i]);
    }
}

void CGArc::PointAt(double t, double out[3]) const {
    t = std::clamp(t, 0.0, 1.0);
    // Circles and discs are measured from angle 0, not from their start angle.
    const double angle = m_kind == kCircle || m_kind == kDisc
                             ? t * kTwoPi
                             : m_startAngle + t * (double(m_endAngle) - double(m_startAngle));
    PointAtAngle(angle, out);
}

BOOL CGArc::NearestPoint(float point[3], double& param, double& distance, int normalise) const {
    const V3 n = Cross(ToV3(m_axisU), ToV3(m_axisV));
    const V3 nearPt{g_pickRayNear[0], g_pickRayNear[1], g_pickRayNear[2]};
    const V3 d = Sub(V3{g_pickRayFar[0], g_pickRayFar[1], g_pickRayFar[2]}, nearPt);
    const double dn = Dot(d, n);
    if (dn == 0.0) {
        point[0] = point[1] = point[2] = 0.0f;
        param = 0.0;
        distance = 1e200;
        return FALSE;
    }
    const V3 o = ToV3(m_center);
    const double t = Dot(Sub(o, nearPt), n) / dn;
    const V3 w{nearPt.x + t * d.x - o.x, nearPt.y + t * d.y - o.y, nearPt.z + t * d.z - o.z};
    const double theta = OrientedAngleF(m_axisU[0], m_axisU[1], m_axisU[2], float(w.x), float(w.y),
                                        float(w.z), float(n.x), float(n.y), float(n.z));
    param = theta;
    const bool wholeTurn = m_kind == kCircle || m_kind == kDisc;
    double a = 0.0, s = 0.0;
    if (!wholeTurn) {
        // Keep to the sweep: beyond it, the nearer end going round the circle either way.
        a = ReduceAngle(theta - m_startAngle);
        s = ReduceAngle(double(m_endAngle) - double(m_startAngle));
        if (a > s) {
            if (2.0 * a - s >= kTwoPi) {
                param = m_startAngle;
                a = 0.0;
            } else {
                param = m_endAngle;
                a = s;
            }
        }
        if (param < m_startAngle)
            param += kTwoPi;
        else if (param > m_endAngle)
            param -= kTwoPi;
    }
    double p[3];
    PointAtAngle(param, p);
    for (int i = 0; i < 3; ++i)
        point[i] = float(p[i]);
    if (normalise == 1) {
        if (wholeTurn)
            param = theta / kTwoPi;
        else
            param = s < kEmptySweep ? 0.0 : a / s;
    }
    const V3 fromNear{point[0] - nearPt.x, point[1] - nearPt.y, point[2] - nearPt.z};
    double dist2 = Dot(fromNear, fromNear);
    const double d2 = Dot(d, d);
    if (d2 > 1e-5) {
        const double wd = Dot(fromNear, d);
        dist2 -= wd * wd / d2;
    }
    distance = std::sqrt(std::max(dist2, 0.0));
    return TRUE;
}

float CGArc::ParameterOfPoint(const float q[3]) const {
    const V3 u = ToV3(m_axisU);
    const V3 n = Cross(u, ToV3(m_axisV));
    const V3 w{double(q[0] - m_center[0]), double(q[1] - m_center[1]), double(q[2] - m_center[2])};
    // The part of w in the circle's plane, scaled by |n|².
    const V3 p = Cross(Cross(n, w), n);
    double theta = 0.0;
    const double up = Dot(u, u) * Dot(p, p);
    if (up != 0.0) {
        const double c = Dot(u, p) / std::sqrt(up);
        if (std::isfinite(c))
            theta = std::acos(std::clamp(c, -1.0, 1.0));
    }
    if (Dot(u, Cross(p, n)) < 0.0)
        theta = kTwoPi - theta;
    if (m_kind == kCircle || m_kind == kDisc)
        return float(theta / kTwoPi);
    const double a = ReduceAngle(theta - m_startAngle);
    const double s = ReduceAngle(double(m_endAngle) - double(m_startAngle));
    if (a <= s)
        return s < kEmptySweep ? 0.0f : float(a / s);
    return 2.0 * a - s < kTwoPi ? 1.0f : 0.0f;
}
