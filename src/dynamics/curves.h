// The parametric curve and the locus as far as the points on paths and the move buttons use them:
// their ranges, their samples, and the point and nearest-point queries.  Their records, sampling,
// drawing and their own points come with the curve and locus code, which makes them concrete classes.
#pragma once

#include "model/cell.h"

#include <vector>

// A parametric curve over [m_tMin, m_tMax].
class CGCurve : public CGCell {
    DECLARE_DYNAMIC(CGCurve)
public:
    // The curve's point at the parameter t; only the curve's own parameter variable changes.
    virtual void PointAt(double t, double out[3]) = 0;
    // The point at m_tMin + f (m_tMax - m_tMin); outside [0, 1], or with an empty range, the
    // point at m_tMax.
    void PointAtRatio(double out[3], double f);
    // The curve point nearest to the mouse ray (g_pickRayNear, g_pickRayFar), its parameter (with
    // mode 1 the fraction PointAtRatio takes back) and its distance from the ray; FALSE on failure.
    virtual BOOL NearestParameter(float point[3], double& f, double& distance, int mode) = 0;

    // Sample i (x, y, z), or null outside 0 .. m_sampleCount - 1 or past the buffer.
    const double* Sample(int i) const;

    double m_tMin = 0.0;
    double m_tMax = 1.0;
    // The polyline the curve is drawn as: m_sampleCount points taken at equal steps from m_tMin to
    // m_tMax, three doubles each in m_samples (which may hold more).
    int m_sampleCount = 0;
    std::vector<double> m_samples;
};

// A locus: the path of its last parent (the traced point) while its first parent (the driver, a
// point whose parameter word holds the driver parameter) runs over [m_t0, m_t1].
class CGLocus : public CGCell {
    DECLARE_DYNAMIC(CGLocus)
public:
    // Sets the driver's parameter to t, places the driver on its carrier (SyncVertex) and
    // recomputes the other parents in order; TRUE with the traced point's position when it is then
    // valid, else FALSE with p = (3e38, 0, 0).  The figure stays at t: callers put it back with a
    // second call at the parameter they saved.
    BOOL PointAtParameter(float p[3], float t);
    // The locus point nearest to the mouse ray, its driver parameter u (with mode 1 the fraction
    // (u - m_t0) / (m_t1 - m_t0)) and its distance from the ray; FALSE when no sample is defined.
    virtual BOOL NearestParameter(float point[3], double& f, double& distance, int mode) = 0;

    // Sample i (x, y, z; x above 1e38 where the traced point does not exist), or null outside
    // 0 .. m_sampleCount - 1 or past the buffer.
    const float* Sample(int i) const;

    float m_t0 = 0.0f;
    float m_t1 = 1.0f;
    // The polyline of the locus: m_sampleCount points at equal driver steps from m_t0 to m_t1, three
    // floats each in m_samples (which may hold more).
    int m_sampleCount = 0;
    std::vector<float> m_samples;
};
