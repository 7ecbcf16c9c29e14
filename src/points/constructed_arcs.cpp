// The horizontal circles on a point and on a value, and the arc of a circle between two points:
// construction, frames computed again from the parents, and descriptions.
#include "points/constructed_arcs.h"

#include "measure/text_items.h"
#include "model/geometry.h"

#include <cmath>

IMPLEMENT_SERIAL(CGArcPoint2, CGArc, 1)
IMPLEMENT_SERIAL(CGArcCenterR, CGArc, 1)
IMPLEMENT_SERIAL(CGArcInCircle, CGArc, 1)

namespace {

// Below this horizontal distance the second point stands above or below the centre: no circle.
constexpr float kMinRadius = 1e-7f;
// The radius of a circle on a value of 0.
constexpr float kZeroRadius = 1e-20f;

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The horizontal circles

CGArcHorizontal::CGArcHorizontal(WORD id, WORD centre, WORD second, BYTE kind) {
    m_extA2 = 0;
    LinkConstructed(id, kind, {centre, second});
}

const CGVertex* CGArcHorizontal::TakeCentre() {
    const CGVertex* centre = GetPointParent(0);
    if (!centre || !centre->m_valid) {
        m_valid = false;
        return nullptr;
    }
    centre->GetPosition(m_center);
    return centre;
}

void CGArcHorizontal::SetHorizontalV(float ux, float uy) {
    m_axisV[0] = IsReversed() ? uy : -uy;
    m_axisV[1] = IsReversed() ? -ux : ux;
    m_axisV[2] = 0.0f;
}

CString CGArcHorizontal::DescribeKind(const char16_t* const (&formats)[5], const CString& second) const {
    CString text;
    if (m_kind < 5)
        text.Format(formats[m_kind], ParentName(0), second, IsReversed() ? u"反向" : u"");
    return text;
}

CGArcPoint2::CGArcPoint2(WORD id, WORD centre, WORD through, BYTE kind)
    : CGArcHorizontal(id, centre, through, kind) {
    Recompute();
}

void CGArcPoint2::Recompute() {
    const CGVertex* centre = TakeCentre();
    if (!centre)
        return;
    const CGVertex* through = GetPointParent(1);
    if (!through || !through->m_valid) {
        m_valid = false;
        return;
    }
    // Only the horizontal offset counts: raising the point changes nothing.
    const float dx = through->m_x - centre->m_x;
    const float dy = through->m_y - centre->m_y;
    const float radius = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(radius)) {
        m_valid = false;
        return;
    }
    m_axisU[0] = dx;
    m_axisU[1] = dy;
    m_axisU[2] = 0.0f;
    m_radius = radius;
    if (radius < kMinRadius) {
        m_valid = false;
        return;
    }
    SetHorizontalV(dx, dy);
    PlaceLabel();
    m_valid = true;
}

CString CGArcPoint2::GetDescription() {
    static const char16_t* const formats[5] = {
        u"以点%s为圆心，过点%s的平置圆%s", u"以点%s为圆心，过点%s的平置弧%s",
        u"以点%s为圆心，过点%s的平置圆面%s", u"以点%s为圆心，过点%s的平置扇形%s",
        u"以点%s为圆心，过点%s的平置弓形%s"};
    return DescribeKind(formats, ParentName(1));
}

CGArcCenterR::CGArcCenterR(WORD id, WORD centre, WORD value, BYTE kind)
    : CGArcHorizontal(id, centre, value, kind) {
    Recompute();
}

void CGArcCenterR::Recompute() {
    if (!TakeCentre())
        return;
    const CGTmVariable* value =
        m_parents.GetSize() > 1 ? DYNAMIC_DOWNCAST(CGTmVariable, HxFindCell(m_parents[1])) : nullptr;
    if (!value || !value->m_valid) {
        m_valid = false;
        return;
    }
    float radius = std::fabs(value->m_param1);
    if (!std::isfinite(radius)) {
        m_valid = false;
        return;
    }
    if (radius == 0.0f)
        radius = kZeroRadius;
    m_radius = radius;
    m_axisU[0] = radius;
    m_axisU[1] = 0.0f;
    m_axisU[2] = 0.0f;
    m_axisV[0] = 0.0f;
    m_axisV[1] = IsReversed() ? -radius : radius;
    m_axisV[2] = 0.0f;
    PlaceLabel();
    m_valid = true;
}

CString CGArcCenterR::GetDescription() {
    static const char16_t* const formats[5] = {
        u"以点%s为圆心，%s为半径的圆%s", u"以点%s为圆心，%s为半径的平置弧%s",
        u"以点%s为圆心，%s为半径的平置圆面%s", u"以点%s为圆心，%s为半径的平置扇形%s",
        u"以点%s为圆心，%s为半径的平置弓形%s"};
    const CGCell* value = m_parents.GetSize() > 1 ? HxFindCell(m_parents[1]) : nullptr;
    return DescribeKind(formats, value ? value->m_name : CString());
}

// ---------------------------------------------------------------------------------------------
// Arc of a circle between two points

CGArcInCircle::CGArcInCircle() {
    m_kind = kArc;
}

CGArcInCircle::CGArcInCircle(WORD id, WORD a, WORD b, WORD circle) {
    LinkConstructed(id, kArc, {a, b, circle});
    Recompute();
}

const CGArc* CGArcInCircle::Circle() const {
    return m_parents.GetSize() > 2 ? DYNAMIC_DOWNCAST(CGArc, HxFindCell(m_parents[2])) : nullptr;
}

void CGArcInCircle::Recompute() {
    const CGArc* circle = Circle();
    const CGVertex* ends[2] = {GetPointParent(0), GetPointParent(1)};
    if (m_parents.GetSize() != 3 || !circle || !circle->m_valid || !ends[0] || !ends[0]->m_valid ||
        !ends[1] || !ends[1]->m_valid) {
        m_valid = false;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        m_center[i] = circle->m_center[i];
        m_axisU[i] = circle->m_axisU[i];
        m_axisV[i] = circle->m_axisV[i];
    }
    m_radius = circle->m_radius;
    float n[3];
    Cross(m_axisU, m_axisV, n);
    float angles[2];
    for (int k = 0; k < 2; ++k) {
        // The point's direction from the centre, projected into the circle's plane.
        float d[3], nd[3], w[3];
        ends[k]->GetPosition(d);
        for (int i = 0; i < 3; ++i)
            d[i] -= m_center[i];
        Cross(n, d, nd);
        Cross(nd, n, w);
        angles[k] = OrientedAngleF(m_axisU[0], m_axisU[1], m_axisU[2], w[0], w[1], w[2], n[0], n[1], n[2]);
    }
    m_startAngle = angles[0];
    m_endAngle = angles[1];
    NormalizeAngles();
    PlaceLabel();
    m_valid = true;
}

CString CGArcInCircle::GetDescription() {
    const CGArc* circle = Circle();
    CString text;
    text.Format(u"圆%s上两点%s、%s间的弧", circle ? circle->m_name : CString(), ParentName(0), ParentName(1));
    return text;
}
