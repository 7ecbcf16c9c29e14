// The free points on a curve and on a locus: placing them at their parameter, the start of a point on
// a locus where its traced point exists, their drags along the path and their descriptions.
#include "dynamics/curves.h"

#include <algorithm>

IMPLEMENT_SERIAL(CGVerFreeInCurve, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeInLocus, CGVerFree, 1)

namespace {

// The parameter brought into [min(a, b), max(a, b)].
float Clamp(float t, double a, double b) {
    const double low = std::min(a, b), high = std::max(a, b);
    if (!(double(t) >= low))
        return float(low);
    if (double(t) > high)
        return float(high);
    return t;
}

CString NameOf(const CGCell* cell) {
    return cell ? cell->m_name : CString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// On a curve

CGVerFreeInCurve::CGVerFreeInCurve(WORD id, DWORD vertexIndex, const CString& name, WORD curve, float t)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    m_param1 = t;
    AddParent(curve);
    Recompute();
}

CGCurve* CGVerFreeInCurve::GetCurve() const {
    return m_parents.GetSize() > 0 ? DYNAMIC_DOWNCAST(CGCurve, HxFindCell(m_parents[0])) : nullptr;
}

void CGVerFreeInCurve::Recompute() {
    CGCurve* curve = GetCurve();
    if (!curve || !curve->m_valid) {
        m_valid = false;
        return;
    }
    m_param1 = Clamp(m_param1, curve->m_tMin, curve->m_tMax);
    double p[3] = {0.0, 0.0, 0.0};
    curve->PointAt(m_param1, p);
    StorePosition(float(p[0]), float(p[1]), float(p[2]));
    m_valid = true;
}

void CGVerFreeInCurve::SyncVertex() {
    Recompute();
}

void CGVerFreeInCurve::ConstrainToCarrier() {
    CGCurve* curve = GetCurve();
    float point[3];
    double t, distance;
    if (!curve || !curve->NearestParameter(point, t, distance, 0))
        return;
    m_param1 = float(t);
    StorePosition(point);
}

CString CGVerFreeInCurve::GetDescription() {
    CString text;
    text.Format(u"自定义曲线%s上的点", NameOf(GetCurve()));
    return text;
}

// ---------------------------------------------------------------------------------------------
// On a locus

CGVerFreeInLocus::CGVerFreeInLocus() {
    m_param1 = 0.5f;
}

CGVerFreeInLocus::CGVerFreeInLocus(WORD id, DWORD vertexIndex, const CString& name, WORD locus, float t)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    m_param1 = t;
    AddParent(locus);
    Recompute();
    const CGLocus* carrier = GetLocus();
    if (!carrier || !carrier->m_valid || m_valid)
        return;
    // The first parameter of the range, in the locus's steps, where the traced point exists.
    const double low = std::min(carrier->m_t0, carrier->m_t1);
    const double high = std::max(carrier->m_t0, carrier->m_t1);
    const double step = carrier->EffectiveStep();
    for (int k = 0; k <= kMaxPathSamples; ++k) {
        const double u = low + double(k) * step;
        if (!(u <= high))
            break;
        m_param1 = float(u);
        Recompute();
        if (m_valid)
            break;
    }
}

CGLocus* CGVerFreeInLocus::GetLocus() const {
    return m_parents.GetSize() > 0 ? DYNAMIC_DOWNCAST(CGLocus, HxFindCell(m_parents[0])) : nullptr;
}

void CGVerFreeInLocus::Recompute() {
    CGLocus* locus = GetLocus();
    CGCell* driver = locus ? locus->Driver() : nullptr;
    if (!locus || !locus->m_valid || !driver) {
        m_valid = false;
        return;
    }
    m_param1 = Clamp(m_param1, locus->m_t0, locus->m_t1);
    const float saved = driver->m_param1;
    float p[3];
    if (locus->PointAtParameter(p, m_param1)) {
        StorePosition(p);
        m_valid = true;
    } else {
        m_valid = false;
    }
    float back[3];
    locus->PointAtParameter(back, saved);
}

void CGVerFreeInLocus::SyncVertex() {
    Recompute();
}

void CGVerFreeInLocus::ConstrainToCarrier() {
    CGLocus* locus = GetLocus();
    float point[3];
    double t, distance;
    if (!locus || !locus->NearestParameter(point, t, distance, 0))
        return;
    m_param1 = float(t);
    StorePosition(point);
}

CString CGVerFreeInLocus::GetDescription() {
    CString text;
    text.Format(u"%s上点", NameOf(GetLocus()));
    return text;
}
