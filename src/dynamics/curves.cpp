// The curve's point at a fraction of its range, the locus's point at a driver parameter, and the
// samples of both.
#include "dynamics/curves.h"

#include "model/vertex.h"

IMPLEMENT_DYNAMIC(CGCurve, CGCell)
IMPLEMENT_DYNAMIC(CGLocus, CGCell)

void CGCurve::PointAtRatio(double out[3], double f) {
    if (f >= 0.0 && f <= 1.0 && m_tMin < m_tMax)
        PointAt(m_tMin + f * (m_tMax - m_tMin), out);
    else
        PointAt(m_tMax, out);
}

BOOL CGLocus::PointAtParameter(float p[3], float t) {
    const auto fail = [p] {
        p[0] = 3e38f;
        p[1] = 0.0f;
        p[2] = 0.0f;
        return FALSE;
    };
    const int count = int(m_parents.GetSize());
    CGCell* driver = count > 0 ? HxFindCell(m_parents[0]) : nullptr;
    if (!driver)
        return fail();
    driver->m_param1 = t;
    driver->SyncVertex();
    for (int i = 1; i < count; ++i) {
        if (CGCell* cell = HxFindCell(m_parents[i]))
            cell->Recompute();
    }
    const CGVertex* traced = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[count - 1]));
    if (!traced || !traced->m_valid)
        return fail();
    traced->GetPosition(p);
    return TRUE;
}

const double* CGCurve::Sample(int i) const {
    if (i < 0 || i >= m_sampleCount || size_t(i) * 3 + 3 > m_samples.size())
        return nullptr;
    return &m_samples[size_t(i) * 3];
}

const float* CGLocus::Sample(int i) const {
    if (i < 0 || i >= m_sampleCount || size_t(i) * 3 + 3 > m_samples.size())
        return nullptr;
    return &m_samples[size_t(i) * 3];
}
