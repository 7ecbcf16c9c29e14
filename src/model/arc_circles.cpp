// The constructed circles: construction from three points, the frame of each construction computed
// again from the points, and their descriptions.
#include "model/arc_circles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CGArcCircle3P, CGArc, 1)
IMPLEMENT_SERIAL(CGArcCenterP, CGArc, 1)
IMPLEMENT_SERIAL(CGArcPointN, CGArc, 1)

namespace {

struct V3 {
    double x, y, z;
};

// b - a, the difference taken in single precision.
V3 Diff(const CGVertex& b, const CGVertex& a) {
    return {double(b.m_x - a.m_x), double(b.m_y - a.m_y), double(b.m_z - a.m_z)};
}
V3 Scale(const V3& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
V3 Add(const V3& a, const V3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
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
V3 Pos(const CGVertex& p) {
    return {p.m_x, p.m_y, p.m_z};
}
bool IsFinite(const V3& a) {
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}
void Store(float* target, const V3& v) {
    target[0] = float(v.x);
    target[1] = float(v.y);
    target[2] = float(v.z);
}

// One description format per figure kind; a kind without one describes as the empty text.
const char16_t* FormatOfKind(BYTE kind, const char16_t* const (&formats)[5]) {
    return kind < 5 ? formats[kind] : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Through three points

CGArcCircle3P::CGArcCircle3P(WORD id, WORD p1, WORD p2, WORD p3, BYTE kind) {
    LinkConstructed(id, kind, {p1, p2, p3});
    Recompute();
}

void CGArcCircle3P::Recompute() {
    if (m_parents.GetSize() < 3) {
        m_valid = false;
        return;
    }
    if (!CheckPointParents())
        return; // the frame and the label keep their last values
    const CGVertex& p1 = *GetPointParent(0);
    const CGVertex& p2 = *GetPointParent(1);
    const CGVertex& p3 = *GetPointParent(2);
    const V3 d1 = Diff(p1, p2);
    const V3 d2 = Diff(p3, p2);
    const V3 c = Cross(d1, d2);
    // The tolerance is absolute: a tiny triangle counts as collinear.
    if (std::fabs(c.z) < 0.01 && std::fabs(c.y) < 0.01 && std::fabs(c.x) < 0.01) {
        m_valid = false;
        return;
    }
    // The circumcentre as weights of the three points.
    const double a = Dot(d1, d1), cc = Dot(d2, d2), k = Dot(d1, d2);
    const double den = 2.0 * (k * k - a * cc);
    const double w1 = (k - a) * cc / den;
    const double w3 = (k - cc) * a / den;
    const double w2 = 1.0 - w1 - w3;
    const V3 center = Add(Add(Scale(Pos(p1), w1), Scale(Pos(p2), w2)), Scale(Pos(p3), w3));
    const V3 u = Sub(Pos(p1), center);
    const double radius = std::sqrt(Dot(u, u));
    // V in the plane of the points, square to U, turned so that the sweep passes P2.
    const V3 nu = Cross(Cross(d2, d1), u);
    const double nuLength = std::sqrt(Dot(nu, nu));
    const V3 v = Scale(nu, radius / nuLength);
    if (!std::isfinite(radius) || !IsFinite(center) || !IsFinite(v)) {
        m_valid = false; // far beyond any drawable circle: keep the last frame
        return;
    }
    Store(m_center, center);
    Store(m_axisU, u);
    Store(m_axisV, v);
    m_radius = float(radius);
    if (m_sweepFromPoints) {
        // From P1 over P2 to P3: twice the angle's supplement at P2.
        const double beta = std::acos(std::clamp(k / std::sqrt(a * cc), -1.0, 1.0));
        const double end = 2.0 * (std::numbers::pi - beta);
        m_endAngle = std::isfinite(end) ? float(end) : 0.0f;
    }
    // Nearly collinear points give huge circles: invalid, but computed.
    m_valid = m_radius <= 10000.0f;
    if (m_valid)
        PlaceLabel();
}

CString CGArcCircle3P::GetDescription() {
    static const char16_t* const formats[5] = {u"过三点%s、%s、%s的圆", u"过三点%s、%s、%s的弧",
                                               u"过三点%s、%s、%s的圆面", u"过三点%s、%s、%s的扇形",
                                               u"过三点%s、%s、%s的弓形"};
    CString text;
    if (const char16_t* format = FormatOfKind(m_kind, formats))
        text.Format(format, ParentName(0), ParentName(1), ParentName(2));
    return text;
}

// ---------------------------------------------------------------------------------------------
// Centre and two points

CGArcCenterP::CGArcCenterP(WORD id, WORD o, WORD a, WORD b, BYTE kind) {
    LinkConstructed(id, kind, {o, a, b});
    Recompute();
}

void CGArcCenterP::Recompute() {
    if (m_parents.GetSize() < 3) {
        m_valid = false;
        return;
    }
    if (!CheckPointParents())
        return;
    const CGVertex& o = *GetPointParent(0);
    const CGVertex& a = *GetPointParent(1);
    const CGVertex& b = *GetPointParent(2);
    // The centre and U follow the points even when the circle then has no plane.
    const V3 u = Diff(a, o);
    const V3 w = Diff(b, o);
    Store(m_center, Pos(o));
    Store(m_axisU, u);
    const double uu = Dot(u, u);
    const double wLength = std::sqrt(Dot(w, w));
    if (uu == 0.0 || wLength == 0.0) {
        m_valid = false;
        return;
    }
    const double radius = std::sqrt(uu);
    m_radius = float(radius);
    const double uw = Dot(u, w);
    const double t = uw / uu;
    if (m_sweepFromPoints) {
        const double angle = std::acos(std::clamp(uw / (radius * wLength), -1.0, 1.0));
        m_endAngle = std::isfinite(angle) ? float(angle) : 0.0f;
    }
    // The part of OB square to OA spans the plane.  B on the line OA leaves none, up to the
    // rounding of the points' coordinates.
    const V3 across = Sub(w, Scale(u, t));
    const double acrossLength = std::sqrt(Dot(across, across));
    if (!(acrossLength > 1e-6 * wLength)) {
        m_valid = false;
        return;
    }
    Store(m_axisV, Scale(across, radius / acrossLength));
    m_valid = true;
    PlaceLabel();
}

CString CGArcCenterP::GetDescription() {
    static const char16_t* const formats[5] = {
        u"以点%s为圆心，过点%s、%s的圆", u"以点%s为圆心，过点%s、%s的弧", u"以点%s为圆心，过点%s、%s的圆面",
        u"以点%s为圆心，过点%s、%s的扇形", u"以点%s为圆心，过点%s、%s的弓形"};
    CString text;
    if (const char16_t* format = FormatOfKind(m_kind, formats))
        text.Format(format, ParentName(0), ParentName(1), ParentName(2));
    return text;
}

// ---------------------------------------------------------------------------------------------
// Centre, point and axis

CGArcPointN::CGArcPointN(WORD id, WORD o, WORD a, WORD p, BYTE kind, DWORD reversed) {
    m_extA2 = int(reversed);
    LinkConstructed(id, kind, {o, a, p});
    Recompute();
}

void CGArcPointN::Recompute() {
    if (m_parents.GetSize() < 3) {
        m_valid = false;
        return;
    }
    if (!CheckPointParents())
        return;
    const CGVertex& o = *GetPointParent(0);
    const CGVertex& a = *GetPointParent(1);
    const CGVertex& p = *GetPointParent(2);
    const V3 u = Diff(a, o);
    const V3 axis = Diff(p, o);
    const V3 across = Cross(axis, u);
    Store(m_center, Pos(o));
    Store(m_axisU, u);
    const double uu = Dot(u, u);
    const double acrossLength2 = Dot(across, across);
    // A at the centre, or A on the axis line: no circle.
    if (uu < 0.0001 || acrossLength2 < 0.0001) {
        m_valid = false;
        return;
    }
    const double radius = std::sqrt(uu);
    m_radius = float(radius);
    double scale = radius / std::sqrt(acrossLength2);
    if (m_extA2 > 0)
        scale = -scale;
    Store(m_axisV, Scale(across, scale));
    m_valid = true;
    PlaceLabel();
}

CString CGArcPointN::GetDescription() {
    static const char16_t* const formats[5] = {
        u"以点%s为圆心，过点%s且垂直于%s%s的圆%s", u"以点%s为圆心，过点%s且垂直于%s%s的弧%s",
        u"以点%s为圆心，过点%s且垂直于%s%s的圆面%s", u"以点%s为圆心，过点%s且垂直于%s%s的扇形%s",
        u"以点%s为圆心，过点%s且垂直于%s%s的弓形%s"};
    CString text;
    if (const char16_t* format = FormatOfKind(m_kind, formats))
        text.Format(format, ParentName(0), ParentName(1), ParentName(0), ParentName(2),
                    m_extA2 > 0 ? u"反向" : u"");
    return text;
}
