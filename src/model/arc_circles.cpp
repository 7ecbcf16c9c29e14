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

// Vectors of single-precision components: the constructions compute in float, so that a circle
// comes out the same, to the last bit, whenever its points are the same.
struct F3 {
    float x, y, z;
};

F3 Pos(const CGVertex& p) {
    return {p.m_x, p.m_y, p.m_z};
}
F3 Sub(const F3& a, const F3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
F3 Scale(const F3& a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float Dot(const F3& a, const F3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
F3 Cross(const F3& a, const F3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
bool IsFinite(const F3& a) {
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}
void Store(float* target, const F3& v) {
    target[0] = v.x;
    target[1] = v.y;
    target[2] = v.z;
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
    const F3 p1 = Pos(*GetPointParent(0));
    const F3 p2 = Pos(*GetPointParent(1));
    const F3 p3 = Pos(*GetPointParent(2));
    const F3 d1 = Sub(p1, p2);
    const F3 d2 = Sub(p3, p2);
    const F3 c = Cross(d1, d2);
    // The tolerance is absolute: a tiny triangle counts as collinear.
    if (std::fabs(c.z) < 0.01f && std::fabs(c.y) < 0.01f && std::fabs(c.x) < 0.01f) {
        m_valid = false;
        return;
    }
    // The circumcentre as weights of the three points.
    const float a = Dot(d1, d1), cc = Dot(d2, d2), k = Dot(d1, d2);
    const float den = 2.0f * (k * k - a * cc);
    const float w1 = (k - a) * cc / den;
    const float w3 = (k - cc) * a / den;
    const float w2 = 1.0f - w1 - w3;
    const F3 center = {w1 * p1.x + w2 * p2.x + w3 * p3.x, w1 * p1.y + w2 * p2.y + w3 * p3.y,
                       w1 * p1.z + w2 * p2.z + w3 * p3.z};
    const F3 u = Sub(p1, center);
    const float radius = std::sqrt(Dot(u, u));
    // V in the plane of the points, square to U, turned so that the sweep passes P2.
    const F3 nu = Cross(Cross(d2, d1), u);
    const F3 v = Scale(nu, radius / std::sqrt(Dot(nu, nu)));
    if (!std::isfinite(radius) || !IsFinite(center) || !IsFinite(v)) {
        m_valid = false; // far beyond any drawable circle: keep the last frame
        return;
    }
    Store(m_center, center);
    Store(m_axisU, u);
    Store(m_axisV, v);
    m_radius = radius;
    if (m_sweepFromPoints) {
        // From P1 over P2 to P3: twice the angle's supplement at P2, in double precision.
        const double beta = std::acos(std::clamp(double(k) / std::sqrt(double(a) * double(cc)), -1.0, 1.0));
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
    const F3 o = Pos(*GetPointParent(0));
    // The centre and U follow the points even when the circle then has no plane.
    const F3 u = Sub(Pos(*GetPointParent(1)), o);
    const F3 w = Sub(Pos(*GetPointParent(2)), o);
    Store(m_center, o);
    Store(m_axisU, u);
    const float uu = Dot(u, u);
    const float wLength = std::sqrt(Dot(w, w));
    if (uu == 0.0f || wLength == 0.0f) {
        m_valid = false;
        return;
    }
    const float radius = std::sqrt(uu);
    m_radius = radius;
    const float uw = Dot(u, w);
    const float t = uw / uu;
    if (m_sweepFromPoints) {
        const float angle = std::acos(std::clamp(uw / (radius * wLength), -1.0f, 1.0f));
        m_endAngle = std::isfinite(angle) ? angle : 0.0f;
    }
    // The part of OB square to OA spans the plane.  B on the line OA leaves none, up to the
    // rounding of the points' coordinates.
    const F3 across = Sub(w, Scale(u, t));
    const float acrossLength = std::sqrt(Dot(across, across));
    if (!(acrossLength > 1e-6f * wLength)) {
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
    const F3 o = Pos(*GetPointParent(0));
    const F3 u = Sub(Pos(*GetPointParent(1)), o);
    const F3 axis = Sub(Pos(*GetPointParent(2)), o);
    const F3 across = Cross(axis, u);
    Store(m_center, o);
    Store(m_axisU, u);
    const float uu = Dot(u, u);
    const float acrossLength2 = Dot(across, across);
    // A at the centre, or A on the axis line: no circle.
    if (uu < 0.0001f || acrossLength2 < 0.0001f) {
        m_valid = false;
        return;
    }
    const float radius = std::sqrt(uu);
    m_radius = radius;
    float scale = radius / std::sqrt(acrossLength2);
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
