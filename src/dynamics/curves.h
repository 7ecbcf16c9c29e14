// The parametric curve and the locus, both drawn as polylines of samples and used as paths (their
// point at a parameter and the parameter nearest to the mouse ray), and the free points that slide
// on them.
#pragma once

#include "measure/fun_parser.h"
#include "model/free_points.h"

#include <vector>

// The most samples a curve or locus takes: a range that would need more leaves it invalid (drawn
// and picked by nothing), as does any other failed recomputation.
constexpr int kMaxPathSamples = 1000000;
// What a sample of a locus holds where the traced point does not exist.
constexpr float kUndefinedSampleX = 3.0e38f;

// The draw levels of curves and loci (the display style byte).
enum HxCurveDrawLevel : BYTE {
    kCurveOnTop = 0,       // "全实线": solid, over everything
    kCurveOnTopDashed = 1, // "全虚线": dashed, over everything
    kCurveVisibleOnly = 2, // "仅实线": only where nothing covers it
    kCurveAuto = 3,        // "自动虚实": solid where seen, dashed where covered
};

// A curve x(t), y(t), z(t) (or r, theta, phi; or rho, theta, z) over [m_tMin, m_tMax], the range
// ends being expressions too.  Its parents are values (m_param1 of each), the variables No1, No2, ...
// of the expressions, which are compiled at the first recomputation after construction or loading.
// The coordinate kind is m_param1 and the break distance m_param3.
class CGCurve : public CGCell {
    DECLARE_SERIAL(CGCurve)
public:
    static constexpr int kCartesian = 0;
    static constexpr int kSpherical = 1;
    static constexpr int kCylindrical = 2;
    // The expressions, in record order.
    enum { kX = 0, kY = 1, kZ = 2, kFrom = 3, kTo = 4, kExpressionCount = 5 };
    // The step a curve takes when the one given or stored is no positive number: the dialog's.
    static constexpr float kDefaultStep = 0.05f;
    static constexpr float kDefaultBreak = 4.0f;

    // Empty texts, nothing compiled, step 0.1 (for loading).
    CGCurve();
    // The values as parents (No1, No2, ... in this order), the five texts, the step and the
    // coordinate kind; computed at once; named after the second coordinate's text.
    CGCurve(WORD id, const CList<WORD, WORD>& parents, const CString& x, const CString& y, const CString& z,
            const CString& from, const CString& to, float step, int kind);

    // The common record, then the five texts and the step.  Samples, range and parsers are not
    // stored: a loaded curve compiles and samples at its first recomputation.
    void Serialize(CArchive& ar) override;
    // Compiles when needed, takes the parents' values, evaluates the range and samples it.  Invalid
    // (no samples) when a parent is missing or invalid, a range end does not compile or is no
    // finite number, the range is empty (to <= from) or it would need more than kMaxPathSamples.
    void Recompute() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawPlain() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "自定义曲线：x=%s,y=%s,z=%s"

    // The curve's point at the parameter t; only the curve's own parameter variable changes.  A
    // coordinate that does not compile counts 0; in cylindrical coordinates so does one that is no
    // finite number.
    virtual void PointAt(double t, double out[3]);
    // The point at m_tMin + f (m_tMax - m_tMin); outside [0, 1], or with an empty range, the
    // point at m_tMax.
    void PointAtRatio(double out[3], double f);
    // The curve point nearest to the mouse ray (g_pickRayNear, g_pickRayFar), its parameter (with
    // mode 1 the fraction PointAtRatio takes back) and its distance from the ray; FALSE when the
    // curve has no samples.
    virtual BOOL NearestParameter(float point[3], double& f, double& distance, int mode);

    // Sample i (x, y, z), or null outside 0 .. m_sampleCount - 1 or past the buffer.
    const double* Sample(int i) const;

    int CoordinateKind() const;
    void SetCoordinateKind(int kind) { m_param1 = float(kind); }
    float BreakDistance() const { return m_param3; }
    void SetBreakDistance(float distance) { m_param3 = distance; }
    // New texts (the properties command): compiled again at the next recomputation.
    void SetExpressions(const CString texts[kExpressionCount]);
    // The step the sampling uses: the stored one, or kDefaultStep when that is no positive number.
    float EffectiveStep() const;

    double m_tMin = 0.0;
    double m_tMax = 1.0;
    // The polyline the curve is drawn as: m_sampleCount points taken at equal steps from m_tMin to
    // m_tMax, three doubles each in m_samples (which may hold more).
    int m_sampleCount = 0;
    std::vector<double> m_samples;
    CString m_expressions[kExpressionCount];
    CFunParser m_parsers[kExpressionCount];
    float m_step = 0.1f;
    BYTE m_compiled = 0;

private:
    // The variables ("No1,No2,..." for the range, "t," before them for the coordinates), the texts
    // checked and compiled.
    void Compile();
    // The value of a compiled parser over its current variables, finite or not; false when it has
    // no tree.
    bool Evaluate(int which, double& value);
    void ClearSamples();
};

// A locus: the path of its last parent (the traced point) while its first parent (the driver, a
// free point whose m_param1 is its one parameter) runs over [m_t0, m_t1].  Between them stand the
// cells that are both descendants of the driver and ancestors of the traced point, ascending: the
// chain that is computed again for every sample.  The break distance is m_param3.
class CGLocus : public CGCell {
    DECLARE_SERIAL(CGLocus)
public:
    // The step a locus takes when the one given or stored is no positive number: the command's.
    static constexpr float kDefaultStep = 0.01f;
    static constexpr float kDefaultBreak = 4.0f;

    // Step 0.1, no samples (for loading).
    CGLocus();
    // The chain from the driver to the traced point as parents, name "轨迹", step 0.01; sampled at
    // once.
    CGLocus(WORD id, WORD driver, WORD traced, float t0, float t1);
    ~CGLocus() override;

    // The common record, then t0, t1 and the step.  The samples are not stored.
    void Serialize(CArchive& ar) override;
    // Samples the traced point over the range with the places where it stops existing found by
    // bisection (nothing while the driver itself is being dragged); the driver is put back.  Valid
    // when at least one sample exists.
    void Recompute() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawPlain() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "点%s以点%s移动的轨迹"

    // Sets the driver's parameter to t, places the driver on its carrier (SyncVertex) and
    // recomputes the other parents in order; TRUE with the traced point's position when it is then
    // valid, else FALSE with p = (3e38, 0, 0).  The figure stays at t: callers put it back with a
    // second call at the parameter they saved.
    BOOL PointAtParameter(float p[3], float t);
    // The locus point nearest to the mouse ray, its driver parameter u (with mode 1 the fraction
    // (u - m_t0) / (m_t1 - m_t0)) and its distance from the ray; FALSE when no sample is defined or
    // the traced point does not exist at the parameter found.  The driver is put back.
    virtual BOOL NearestParameter(float point[3], double& f, double& distance, int mode);

    // Sample i (x, y, z; x above 1e38 where the traced point does not exist), or null outside
    // 0 .. m_sampleCount - 1 or past the buffer.
    const float* Sample(int i) const;
    static bool IsDefined(const float* sample) { return sample && sample[0] <= 1e38f; }

    CGCell* Driver() const;
    float BreakDistance() const { return m_param3; }
    void SetBreakDistance(float distance) { m_param3 = distance; }
    // The step the sampling uses: the stored one, or kDefaultStep when that is no positive number.
    float EffectiveStep() const;
    // Samples again at the next recomputation (a new range or step).
    void Resample() { m_sampleCount = 0; }

    // The cells of the chain from driver to traced, as the constructor links them.
    static std::vector<WORD> CollectChain(WORD driver, WORD traced);
    // Whether a point can drive a locus: a free point with one parameter.
    static bool IsDriverClass(const CGCell* point);
    // The driver's parameter range the locus command takes for that driver.
    static void DriverRange(const CGCell* driver, float& t0, float& t1);

    float m_t0 = 0.0f;
    float m_t1 = 1.0f;
    // The polyline of the locus: m_sampleCount points at equal driver steps from m_t0 to m_t1, three
    // floats each in m_samples (which may hold more).  0 until the next recomputation samples.
    int m_sampleCount = 0;
    float m_step = 0.1f;
    std::vector<float> m_samples;
    // The driver parameter each sample was taken at: its place in the equal steps, or where the
    // bisection of a gap's end found it.  The nearest search starts from there, so that a sample at
    // the end of a gap leads to a parameter where the traced point exists.
    std::vector<float> m_sampleParameters;

private:
    void StoreSample(int i, const float p[3], float t);
};

// A free point on a curve (its only parent) at the parameter t = m_param1.
class CGVerFreeInCurve : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInCurve)
public:
    CGVerFreeInCurve() = default;
    CGVerFreeInCurve(WORD id, DWORD vertexIndex, const CString& name, WORD curve, float t);

    // The parameter brought into the curve's range and the point placed there; invalid while the
    // curve is.
    void Recompute() override;
    void SyncVertex() override; // Recompute
    // To the curve point nearest to the mouse ray; nothing when the curve finds none.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "自定义曲线%s上的点"

    CGCurve* GetCurve() const;
};

// A free point on a locus (its only parent) at the driver parameter m_param1 (0.5 at first).
class CGVerFreeInLocus : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInLocus)
public:
    CGVerFreeInLocus(); // parameter 0.5
    // Placed at the parameter given; when the traced point does not exist there, at the first
    // parameter of the locus's range (in steps of the locus's step) where it does.
    CGVerFreeInLocus(WORD id, DWORD vertexIndex, const CString& name, WORD locus, float t);

    // The parameter brought into the locus's range and the traced point taken there (the locus's
    // driver put back afterwards); invalid while the locus is or where the traced point does not
    // exist.
    void Recompute() override;
    void SyncVertex() override; // Recompute
    // To the locus point nearest to the mouse ray; nothing when the locus finds none.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "%s上点"

    CGLocus* GetLocus() const;
};
