// CGLocus: the chain from the driver to the traced point, sampling with the gaps bisected, the point
// at a driver parameter, the parameter nearest to the mouse ray, the record and the description; the
// drivers the locus command accepts and their ranges.
#include "dynamics/curves.h"

#include "dynamics/curves_shared.h"
#include "model/constrained_points.h"
#include "model/page.h"
#include "points/confined_points.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGLocus, CGCell, 1)

namespace {

// Bisection goes on while the bracket is wider than this.
constexpr float kBisectionWidth = 1e-8f;

} // namespace

CGLocus::CGLocus() {
    m_color.r = g_colorArcSolid.r;
    m_color.g = g_colorArcSolid.g;
    m_color.b = g_colorArcSolid.b;
    SetBreakDistance(kDefaultBreak);
}

CGLocus::CGLocus(WORD id, WORD driver, WORD traced, float t0, float t1) {
    m_id = id;
    m_t0 = t0;
    m_t1 = t1;
    // The chain is walked before the locus links itself into the driver's children.
    const std::vector<WORD> chain = CollectChain(driver, traced);
    AddParent(driver);
    for (WORD cell : chain)
        AddParent(cell);
    AddParent(traced);
    m_name = u"轨迹";
    SetBreakDistance(kDefaultBreak);
    m_color.r = g_colorArcSolid.r;
    m_color.g = g_colorArcSolid.g;
    m_color.b = g_colorArcSolid.b;
    m_sampleCount = 0;
    m_step = kDefaultStep;
    Recompute();
}

CGLocus::~CGLocus() = default;

std::vector<WORD> CGLocus::CollectChain(WORD driverId, WORD tracedId) {
    std::vector<WORD> chain;
    CGPage* page = g_pCurPage;
    CGCell* driver = HxFindCell(driverId);
    CGCell* traced = HxFindCell(tracedId);
    if (!page || !driver || !traced)
        return chain;
    std::vector<WORD> descendants, ancestors;
    page->CollectDescendantIds(*driver, descendants);
    traced->MarkAncestors();
    page->CollectMarkedIds(ancestors);
    std::set_intersection(descendants.begin(), descendants.end(), ancestors.begin(), ancestors.end(),
                          std::back_inserter(chain));
    return chain;
}

bool CGLocus::IsDriverClass(const CGCell* point) {
    if (!point || !point->IsKindOf(RUNTIME_CLASS(CGVerFree)))
        return false;
    // Points with two or three degrees of freedom drive nothing along a range.
    for (const CRuntimeClass* c :
         {RUNTIME_CLASS(CGVerFreeXyz), RUNTIME_CLASS(CGVerFreeHenchman), RUNTIME_CLASS(CGVerFree2dHenchman),
          RUNTIME_CLASS(CGVerFreeUpright), RUNTIME_CLASS(CGVerFreeInFace), RUNTIME_CLASS(CGVerFreeInPlane)}) {
        if (point->IsKindOf(c))
            return false;
    }
    return true;
}

void CGLocus::DriverRange(const CGCell* driver, float& t0, float& t1) {
    t0 = 0.0f;
    t1 = 1.0f;
    if (!driver)
        return;
    if (driver->IsKindOf(RUNTIME_CLASS(CGVerFreeUprightEquid)) ||
        driver->IsKindOf(RUNTIME_CLASS(CGVerFreeEquilateral)) ||
        driver->IsKindOf(RUNTIME_CLASS(CGVerFreeInCircle))) {
        t1 = 6.2831f;
    } else if (const auto* onLocus = DYNAMIC_DOWNCAST(CGVerFreeInLocus, driver)) {
        if (const CGLocus* locus = onLocus->GetLocus()) {
            t0 = locus->m_t0;
            t1 = locus->m_t1;
        }
    } else if (const auto* onCurve = DYNAMIC_DOWNCAST(CGVerFreeInCurve, driver)) {
        if (const CGCurve* curve = onCurve->GetCurve()) {
            t0 = float(curve->m_tMin);
            t1 = float(curve->m_tMax);
            if (t1 < t0) {
                t0 = 0.0f;
                t1 = 10.0f;
            }
        }
    }
}

CGCell* CGLocus::Driver() const {
    return m_parents.GetSize() > 0 ? HxFindCell(m_parents[0]) : nullptr;
}

float CGLocus::EffectiveStep() const {
    return m_step > 0.0f ? m_step : kDefaultStep;
}

void CGLocus::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_t0 << m_t1 << m_step;
        return;
    }
    ar >> m_t0 >> m_t1 >> m_step;
    // A step of 0 or below (or no number) would divide the range by nothing.
    if (!(m_step > 0.0f))
        m_step = kDefaultStep;
    m_sampleCount = 0;
    m_samples.clear();
    m_sampleParameters.clear();
}

BOOL CGLocus::PointAtParameter(float p[3], float t) {
    const auto fail = [p] {
        p[0] = kUndefinedSampleX;
        p[1] = 0.0f;
        p[2] = 0.0f;
        return FALSE;
    };
    const int count = int(m_parents.GetSize());
    CGCell* driver = count > 0 ? HxFindCell(m_parents[0]) : nullptr;
    // Only a free point with one parameter is driven: the parameter word of any other cell (a
    // value, a circle) holds something else.
    if (!IsDriverClass(driver))
        return fail();
    // The chain is computed anew for this parameter: a pass of its own.
    HxBeginRecomputePass();
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

void CGLocus::StoreSample(int i, const float p[3], float t) {
    m_sampleParameters[size_t(i)] = t;
    float* s = &m_samples[size_t(i) * 3];
    s[0] = p[0];
    s[1] = p[1];
    s[2] = p[2];
}

void CGLocus::Recompute() {
    CGCell* driver = Driver();
    if (!IsDriverClass(driver) || m_parents.GetSize() < 2) {
        m_valid = false;
        m_sampleCount = 0;
        m_samples.clear();
        return;
    }
    // While the user drags the driver the path stays as it is: only the point on it moves.
    if (g_draggedId != 0 && g_draggedId == driver->m_id)
        return;
    if (m_sampleCount == 0 || size_t(m_sampleCount) * 3 > m_samples.size()) {
        const double count = std::trunc(std::fabs(double(m_t1 - m_t0)) / double(EffectiveStep())) + 2.0;
        // A range that would take more samples than a locus holds, or that is no number.
        if (!(count <= double(kMaxPathSamples))) {
            m_valid = false;
            m_sampleCount = 0;
            m_samples.clear();
            m_samples.shrink_to_fit();
            return;
        }
        m_sampleCount = int(count);
        m_samples.assign(size_t(m_sampleCount + 1) * 3, 0.0f);
    }
    m_sampleParameters.assign(size_t(m_sampleCount), 0.0f);
    const float saved = driver->m_param1;
    const int n = m_sampleCount;
    const float dt = (m_t1 - m_t0) / float(n - 1);
    float p[3];
    bool previous = PointAtParameter(p, m_t0) != FALSE;
    StoreSample(0, p, m_t0);
    m_valid = previous;
    for (int i = 1; i < n; ++i) {
        const float t = i == n - 1 ? m_t1 : m_t0 + float(i) * dt;
        const bool defined = PointAtParameter(p, t) != FALSE;
        StoreSample(i, p, t);
        if (defined && !previous) {
            // Where the point begins to exist: sample i - 1 takes the first point found.
            m_valid = true;
            float a = t - dt, b = t;
            for (float h = std::fabs(dt); h > kBisectionWidth;) {
                h /= 2.0f;
                const float m = (a + b) / 2.0f;
                float q[3];
                if (PointAtParameter(q, m)) {
                    b = m;
                    StoreSample(i - 1, q, m);
                } else {
                    a = m;
                }
            }
        } else if (!defined && previous) {
            // Where it ends: sample i takes the last point found.
            float a = t - dt, b = t;
            for (float h = std::fabs(dt); h > kBisectionWidth;) {
                h /= 2.0f;
                const float m = (a + b) / 2.0f;
                float q[3];
                if (PointAtParameter(q, m)) {
                    a = m;
                    StoreSample(i, q, m);
                    m_valid = true;
                } else {
                    b = m;
                }
            }
        }
        // The state of this sample for the next step is that at t, not the bisection's.
        previous = defined;
    }
    PointAtParameter(p, saved);
    for (int i = n - 1; i >= 0; --i) {
        const float* s = Sample(i);
        if (IsDefined(s)) {
            HxSetPathLabelAnchor(*this, s);
            break;
        }
    }
}

const float* CGLocus::Sample(int i) const {
    if (i < 0 || i >= m_sampleCount || size_t(i) * 3 + 3 > m_samples.size())
        return nullptr;
    return &m_samples[size_t(i) * 3];
}

BOOL CGLocus::NearestParameter(float point[3], double& f, double& distance, int mode) {
    const auto fail = [&] {
        point[0] = 1.0e38f;
        point[1] = 0.0f;
        point[2] = 0.0f;
        f = 0.0;
        distance = 1.0e38;
        return FALSE;
    };
    CGCell* driver = Driver();
    if (!driver || m_sampleCount < 2)
        return fail();
    const CHxPickRay ray = CHxPickRay::Current();
    double best = 1e30;
    int index = -1;
    for (int i = 0; i < m_sampleCount; ++i) {
        const float* s = Sample(i);
        if (!s)
            break;
        if (!(s[0] <= 1e38f))
            continue;
        const double d = ray.Distance(s[0], s[1], s[2]);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    if (index < 0)
        return fail();
    const float dt = (m_t1 - m_t0) / float(m_sampleCount - 1);
    float tBest = size_t(index) < m_sampleParameters.size() ? m_sampleParameters[size_t(index)]
                                                            : float(index) * dt + m_t0;
    const float saved = driver->m_param1;
    HxFineSearch(tBest, dt, m_t0, m_t1, [&](double t) {
        float q[3];
        if (!PointAtParameter(q, float(t)))
            return;
        const double d = ray.Distance(q[0], q[1], q[2]);
        if (d < best) {
            best = d;
            tBest = float(t);
        }
    });
    float q[3];
    const BOOL found = PointAtParameter(q, tBest);
    float back[3];
    PointAtParameter(back, saved);
    if (!found)
        return fail();
    for (int i = 0; i < 3; ++i)
        point[i] = q[i];
    f = tBest;
    if (mode == 1)
        f = m_t1 != m_t0 ? (double(tBest) - m_t0) / (double(m_t1) - m_t0) : 0.0;
    distance = best;
    return TRUE;
}

CString CGLocus::GetDescription() {
    const int count = int(m_parents.GetSize());
    const CGCell* traced = count > 0 ? HxFindCell(m_parents[count - 1]) : nullptr;
    const CGCell* driver = Driver();
    CString text;
    text.Format(u"点%s以点%s移动的轨迹", traced ? traced->m_name : CString(),
                driver ? driver->m_name : CString());
    return text;
}
