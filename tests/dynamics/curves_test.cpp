// Curves and loci: the locus chain, its samples and the gaps it bisects, what resamples it and what
// does not; curve samples in the three coordinate systems and at the ends of the range, the sample
// bound and the steps of no length; the points that slide on both; the records.
#include "dynamics/curves.h"
#include "model/free_points.h"
#include "points/points_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A point one unit above its parent, existing only while the parent's y is not below 0.
class CTestUpperPoint : public CGVertex {
public:
    CTestUpperPoint(WORD id, DWORD vertex, WORD parent) {
        m_id = id;
        m_vertexIndex = vertex;
        m_name = u"T";
        AddParent(parent);
        Recompute();
    }
    void Recompute() override {
        ++s_recomputed;
        const auto* p = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0]));
        m_valid = p && p->m_valid && p->m_y >= 0.0f;
        if (m_valid)
            SetPosition(p->m_x, p->m_y, p->m_z + 1.0f);
    }
    inline static long s_recomputed = 0;
};

class CurvesTest : public PointsTest {
protected:
    // The driver D on the circle of radius 2 about O in z = 0, M the midpoint of O and D (the unit
    // circle), T above M where M.y >= 0, and N a second midpoint of O and D that T does not use.
    void BuildChain(float t = 0.5f) {
        m_o = AddPoint(0, 0, 0);
        m_circle = AddCircle(0, 0, 0, 2.0f);
        m_driver = Add<CGVerFreeInCircle>(m_circle->m_id, t);
        m_m = AddMidpoint(m_o->m_id, m_driver->m_id);
        m_n = AddMidpoint(m_o->m_id, m_driver->m_id);
        m_t = Insert(new CTestUpperPoint(NextId(), NextVertex(), m_m->m_id));
    }
    CGLocus* AddLocus(float t0, float t1) {
        return Insert(new CGLocus(NextId(), m_driver->m_id, m_t->m_id, t0, t1));
    }
    CGCurve* AddCurve(const char16_t* x, const char16_t* y, const char16_t* z, const char16_t* from,
                      const char16_t* to, float step, int kind, std::initializer_list<WORD> parents = {}) {
        return Insert(new CGCurve(NextId(), IdList(parents), x, y, z, from, to, step, kind));
    }
    static void ExpectSample(const double* s, double x, double y, double z, double tolerance = 1e-9) {
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(s[0], x, tolerance);
        EXPECT_NEAR(s[1], y, tolerance);
        EXPECT_NEAR(s[2], z, tolerance);
    }
    // The common record of a cell that is not a point.
    static CommonRecord CellCommon(const CGCell& c) {
        CommonRecord r;
        r.id = c.m_id;
        r.name = c.m_name.Str();
        r.valid = c.m_valid;
        r.hidden = c.m_hidden;
        r.labelHidden = c.m_labelHidden;
        r.style = c.m_style;
        r.kind = c.m_kind;
        for (int i = 0; i < 3; ++i)
            r.labelPos[i] = c.m_labelPos[i];
        r.color = c.m_color;
        r.labelColor = c.m_labelColor;
        r.size = c.m_size;
        r.param[0] = c.m_param1;
        r.param[1] = c.m_param2;
        r.param[2] = c.m_param3;
        r.param4 = c.m_param4;
        r.nameFixed = c.m_nameFixed;
        for (WORD parent : c.m_parents)
            r.parents.push_back(parent);
        for (WORD child : c.m_children)
            r.children.push_back(child);
        return r;
    }

    CGVertex* m_o = nullptr;
    CGArc* m_circle = nullptr;
    CGVerFreeInCircle* m_driver = nullptr;
    CTestMidpoint* m_m = nullptr;
    CTestMidpoint* m_n = nullptr;
    CTestUpperPoint* m_t = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Locus

TEST_F(CurvesTest, LocusChainIsTheDriversDescendantsThatTheTracedPointUses) {
    BuildChain();
    CGLocus* locus = AddLocus(0.0f, 6.2831f);
    ASSERT_EQ(locus->m_parents.GetSize(), 3);
    EXPECT_EQ(locus->m_parents[0], m_driver->m_id);
    EXPECT_EQ(locus->m_parents[1], m_m->m_id); // N and O are not in the chain
    EXPECT_EQ(locus->m_parents[2], m_t->m_id);
    for (CGCell* parent : std::initializer_list<CGCell*>{m_driver, m_m, m_t}) {
        bool linked = false;
        for (WORD child : parent->m_children)
            linked = linked || child == locus->m_id;
        EXPECT_TRUE(linked) << parent->m_id;
    }
    EXPECT_EQ(locus->m_name, CString(u"轨迹"));
    EXPECT_EQ(locus->GetDescription(), CString(u"点T以点") + m_driver->m_name + CString(u"移动的轨迹"));
    EXPECT_EQ(locus->m_step, 0.01f);
    EXPECT_EQ(locus->BreakDistance(), 4.0f);
    EXPECT_EQ(locus->m_color.g, 128);
    // No mark is left behind.
    ForEachCell(m_page->m_cells, [](CGCell* c) { EXPECT_FALSE(c->m_mark) << c->m_id; });
}

TEST_F(CurvesTest, LocusSamplesTheTracedPointAndBisectsBothEndsOfItsGap) {
    BuildChain(0.5f);
    // T exists for t in [0, pi]: the range begins and ends where it does not.
    CGLocus* locus = AddLocus(-1.0f, 4.0f);
    EXPECT_TRUE(locus->m_valid);
    const int n = int(std::trunc(5.0 / double(0.01f))) + 2;
    ASSERT_EQ(locus->m_sampleCount, n);
    const float dt = 5.0f / float(n - 1);
    int first = -1, last = -1;
    for (int i = 0; i < n; ++i) {
        const float* s = locus->Sample(i);
        ASSERT_NE(s, nullptr);
        if (!CGLocus::IsDefined(s)) {
            EXPECT_EQ(s[0], kUndefinedSampleX);
            continue;
        }
        if (first < 0)
            first = i;
        last = i;
        EXPECT_NEAR(s[0] * s[0] + s[1] * s[1], 1.0, 1e-5) << i;
        EXPECT_FLOAT_EQ(s[2], 1.0f);
    }
    // The sample before the first defined one at t took the point where T begins (t = 0), the one
    // after the last defined one where it ends (t = pi).
    const int begin = int(std::ceil(1.0f / dt)) - 1;
    EXPECT_EQ(first, begin);
    EXPECT_NEAR(locus->Sample(first)[0], 1.0, 1e-5);
    EXPECT_NEAR(locus->Sample(first)[1], 0.0, 1e-5);
    EXPECT_NEAR(locus->Sample(last)[0], -1.0, 1e-5);
    EXPECT_NEAR(locus->Sample(last)[1], 0.0, 1e-5);
    EXPECT_FALSE(CGLocus::IsDefined(locus->Sample(n - 1)));
    // The driver stands where it stood, and so does the chain.
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.5f);
    ExpectNear(*m_driver, 2 * std::cos(0.5), 2 * std::sin(0.5), 0);
    ExpectNear(*m_t, std::cos(0.5), std::sin(0.5), 1);
    // The label sits at the last defined sample.
    EXPECT_EQ(locus->m_labelPos[0], locus->Sample(last)[0]);
}

TEST_F(CurvesTest, LocusOfEqualEndsHasTwoSamplesAndAWhollyUndefinedOneIsInvalid) {
    BuildChain();
    CGLocus* same = AddLocus(1.0f, 1.0f);
    ASSERT_EQ(same->m_sampleCount, 2);
    EXPECT_EQ(same->Sample(0)[0], same->Sample(1)[0]);
    CGLocus* none = AddLocus(3.5f, 6.0f);
    EXPECT_FALSE(none->m_valid);
}

TEST_F(CurvesTest, DraggingTheDriverKeepsTheSamplesAndMovingAnotherAncestorResamples) {
    BuildChain(1.0f);
    CGLocus* locus = AddLocus(0.0f, 6.2831f);
    const std::vector<float> before = locus->m_samples;
    {
        CDragRun drag(*m_page, *m_driver);
        RayDownZ(-2.0, 0.1);
        drag.Move();
    }
    EXPECT_NEAR(m_driver->m_param1, std::atan2(0.1, -2.0), 1e-3);
    EXPECT_EQ(locus->m_samples, before);
    ExpectNear(*m_t, m_driver->m_x / 2, m_driver->m_y / 2, 1, 1e-5);
    // O is an ancestor of T outside the chain: the locus follows it.
    MovePoint(m_o, 2.0f, 0.0f, 0.0f);
    EXPECT_NE(locus->m_samples, before);
    // M = (O + D) / 2 with O = (2, 0, 0): the locus is the unit circle about (1, 0, 1), upper half.
    const float* s = locus->Sample(0);
    EXPECT_NEAR(s[0], 2.0, 1e-5);
    EXPECT_NEAR(s[2], 1.0, 1e-6);
    EXPECT_NEAR(m_driver->m_param1, std::atan2(0.1, -2.0), 1e-3);
}

TEST_F(CurvesTest, LocusStepOfNoLengthTakesTheDefaultAndTooManySamplesMakeItInvalid) {
    BuildChain();
    CGLocus* locus = AddLocus(0.0f, 1.0f);
    locus->m_step = 0.0f;
    locus->Resample();
    locus->Recompute();
    // 1 / 0.00999999978 truncates to 100.
    EXPECT_EQ(locus->m_sampleCount, 102);
    locus->m_step = -3.0f;
    locus->Resample();
    locus->Recompute();
    EXPECT_EQ(locus->m_sampleCount, 102);
    locus->m_t1 = 2.0e4f;
    locus->m_step = 0.01f;
    locus->Resample();
    locus->Recompute();
    EXPECT_FALSE(locus->m_valid);
    EXPECT_EQ(locus->m_sampleCount, 0);
    EXPECT_TRUE(locus->m_samples.empty());
    float p[3];
    double f = 1, d = 1;
    EXPECT_FALSE(locus->NearestParameter(p, f, d, 0));
}

TEST_F(CurvesTest, PointOnLocusStartsWhereTheTracedPointExistsAndSlidesUnderTheMouse) {
    BuildChain(0.5f);
    CGLocus* locus = AddLocus(-1.0f, 4.0f);
    auto* p = Add<CGVerFreeInLocus>(locus->m_id, 3.8f); // T does not exist at 3.8
    EXPECT_TRUE(p->m_valid);
    EXPECT_GE(p->m_param1, 0.0f);
    EXPECT_LE(p->m_param1, 0.011f);
    EXPECT_EQ(p->GetDescription(), CString(u"轨迹上点"));
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.5f);
    // Under the mouse at (-0.5, 0.9): the locus point on the unit circle in that direction.
    DragDownZ(p, -0.5, 0.9);
    const double angle = std::atan2(0.9, -0.5);
    EXPECT_NEAR(p->m_param1, angle, 2e-3);
    ExpectNear(*p, std::cos(angle), std::sin(angle), 1, 2e-3);
    ExpectSynced(*p);
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.5f);
    // Towards where T does not exist: the defined point nearest to the ray.
    DragDownZ(p, 0.0, -3.0);
    EXPECT_TRUE(std::fabs(p->m_y) < 0.02f) << p->m_y;
    // A parameter outside the range is brought into it.
    p->m_param1 = 9.0f;
    p->Recompute();
    EXPECT_FLOAT_EQ(p->m_param1, 4.0f);
    EXPECT_FALSE(p->m_valid);
}

TEST_F(CurvesTest, ALocusDrivenByAnythingButAFreePointWithOneParameterIsInvalid) {
    BuildChain();
    CGTmVariable* value = AddValue(7.5f, u"v");
    CGLocus* locus = AddLocus(0.0f, 1.0f);
    // As a damaged file may have it: a value, then a free point in space, in the driver's place.
    auto* free = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    for (CGCell* driver : std::initializer_list<CGCell*>{value, free}) {
        locus->m_parents[0] = driver->m_id;
        locus->Resample();
        locus->Recompute();
        EXPECT_FALSE(locus->m_valid);
        float p[3];
        EXPECT_FALSE(locus->PointAtParameter(p, 0.25f));
    }
    EXPECT_EQ(value->m_param1, 7.5f);
    ExpectAt(*free, 1.0f, 2.0f, 3.0f);
}

TEST_F(CurvesTest, LocusRecordHoldsTheRangeAndStepAndLoadsWithoutSamples) {
    BuildChain();
    CGLocus* locus = AddLocus(0.25f, 2.5f);
    locus->m_step = 0.05f;
    ByteBuilder b;
    b.NewClass("CGLocus");
    CellCommon(*locus).AppendTo(b);
    b.F32(0.25f).F32(2.5f).F32(0.05f);
    auto back = ExpectRecord<CGLocus>(locus, b.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_sampleCount, 0);
    EXPECT_TRUE(back->m_samples.empty());
    back->m_id = NextId();
    Insert(back.release())->Recompute();
}

TEST_F(CurvesTest, LocusRecordWithAStepOfNoLengthLoadsWithTheDefault) {
    BuildChain();
    CGLocus* locus = AddLocus(0.0f, 1.0f);
    for (float step : {0.0f, -1.0f, std::nanf("")}) {
        locus->m_step = step;
        const std::vector<BYTE> bytes = Stored(locus);
        auto back = Loaded<CGLocus>(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->m_step, CGLocus::kDefaultStep);
    }
}

// ---------------------------------------------------------------------------------------------
// Curve

TEST_F(CurvesTest, CartesianCurveSamplesEndAtTheRangeEnds) {
    CGCurve* curve = AddCurve(u"t", u"2*t", u"0", u"0", u"1", 0.1f, CGCurve::kCartesian);
    ASSERT_TRUE(curve->m_valid);
    // The float step widened: 1 / 0.100000001 + 2 truncates to 11.
    ASSERT_EQ(curve->m_sampleCount, 11);
    ExpectSample(curve->Sample(0), 0, 0, 0);
    ExpectSample(curve->Sample(5), 0.5, 1.0, 0, 1e-12);
    ExpectSample(curve->Sample(10), 1, 2, 0, 0);
    EXPECT_EQ(curve->Sample(11), nullptr);
    EXPECT_EQ(curve->m_name, CString(u"2*t"));
    EXPECT_EQ(curve->GetDescription(), CString(u"自定义曲线：x=t,y=2*t,z=0"));
    EXPECT_EQ(curve->m_labelPos[0], 1.0f);
    EXPECT_EQ(curve->m_labelPos[1], 2.0f);
}

TEST_F(CurvesTest, SphericalAndCylindricalCurves) {
    // rho 2, theta (from the z axis) t, phi 0: a half circle in the xz plane.
    CGCurve* sphere = AddCurve(u"2", u"t", u"0", u"0", u"pi", 0.01f, CGCurve::kSpherical);
    ASSERT_TRUE(sphere->m_valid);
    ExpectSample(sphere->Sample(0), 0, 0, 2); // theta 0: on the z axis at height rho
    ExpectSample(sphere->Sample(sphere->m_sampleCount - 1), 2 * std::sin(kPi), 0, -2);
    double p[3];
    sphere->PointAt(kPi / 2, p);
    EXPECT_NEAR(p[0], 2, 1e-12);
    EXPECT_NEAR(p[2], 0, 1e-12);
    // phi turns about the z axis.
    CGCurve* turned = AddCurve(u"3", u"pi/2", u"t", u"0", u"1", 0.5f, CGCurve::kSpherical);
    turned->PointAt(kPi / 2, p);
    EXPECT_NEAR(p[0], 0, 1e-12);
    EXPECT_NEAR(p[1], 3, 1e-12);
    EXPECT_NEAR(p[2], 0, 1e-12);
    // rho 3, theta t, z t: a helix.
    CGCurve* helix = AddCurve(u"3", u"t", u"t", u"0", u"2*pi", 0.1f, CGCurve::kCylindrical);
    ASSERT_TRUE(helix->m_valid);
    ExpectSample(helix->Sample(0), 3, 0, 0);
    ExpectSample(helix->Sample(helix->m_sampleCount - 1), 3, 0, 2 * kPi, 1e-9);
    // In cylindrical coordinates a value that is no number counts 0.
    CGCurve* broken = AddCurve(u"1/(t-t)", u"t", u"ln(0-1)", u"0", u"1", 0.5f, CGCurve::kCylindrical);
    ASSERT_TRUE(broken->m_valid);
    ExpectSample(broken->Sample(0), 0, 0, 0);
}

TEST_F(CurvesTest, CurveFollowsTheValuesItNames) {
    CGTmVariable* a = AddValue(2.0f, u"a");
    CGTmVariable* b = AddValue(3.0f, u"b");
    CGCurve* curve =
        AddCurve(u"No1*t", u"0", u"No2", u"0", u"No2", 0.5f, CGCurve::kCartesian, {a->m_id, b->m_id});
    ASSERT_TRUE(curve->m_valid);
    EXPECT_EQ(curve->m_tMax, 3.0);
    ExpectSample(curve->Sample(curve->m_sampleCount - 1), 6, 0, 3);
    a->m_param1 = -1.0f;
    Changed(a);
    ExpectSample(curve->Sample(curve->m_sampleCount - 1), -3, 0, 3);
    b->m_valid = false;
    Changed(b);
    EXPECT_FALSE(curve->m_valid);
    EXPECT_EQ(curve->m_sampleCount, 0);
}

TEST_F(CurvesTest, CurveRangesThatMakeItInvalid) {
    struct Case {
        const char16_t* from;
        const char16_t* to;
        float step;
    } cases[] = {
        {u"1", u"1", 0.1f},        // empty
        {u"2", u"1", 0.1f},        // backwards
        {u"0", u"10^9", 0.0001f},  // billions of samples
        {u"0", u"1/(1-1)", 0.1f},  // no finite end
        {u"0", u"sin(", 0.1f},     // does not compile
        {u"nonsense", u"1", 0.1f}, // an unknown name
    };
    for (const Case& c : cases) {
        CGCurve* curve = AddCurve(u"t", u"t", u"0", c.from, c.to, c.step, CGCurve::kCartesian);
        EXPECT_FALSE(curve->m_valid) << &c - cases;
        EXPECT_EQ(curve->m_sampleCount, 0);
        EXPECT_TRUE(curve->m_samples.empty());
    }
    // A step larger than the range: two samples, at the ends.
    CGCurve* two = AddCurve(u"t", u"0", u"0", u"0", u"0.5", 1.0f, CGCurve::kCartesian);
    EXPECT_EQ(two->m_sampleCount, 2);
    // A step of no length takes the dialog's default.
    for (float step : {0.0f, -0.5f}) {
        CGCurve* fine = AddCurve(u"t", u"0", u"0", u"0", u"1", step, CGCurve::kCartesian);
        EXPECT_EQ(fine->m_sampleCount, int(std::trunc(1.0 / double(CGCurve::kDefaultStep) + 2.0)));
    }
}

TEST_F(CurvesTest, PointOnCurveSlidesUnderTheMouseAndStaysInTheRange) {
    CGCurve* curve = AddCurve(u"t", u"t^2/4", u"0", u"-5", u"5", 0.05f, CGCurve::kCartesian);
    auto* p = Add<CGVerFreeInCurve>(curve->m_id, 1.0f);
    ExpectNear(*p, 1, 0.25, 0);
    EXPECT_EQ(p->GetDescription(), CString(u"自定义曲线t^2/4上的点"));
    DragDownZ(p, 1.234, 0.380689);
    EXPECT_NEAR(p->m_param1, 1.234, 1e-3);
    ExpectNear(*p, 1.234, 1.234 * 1.234 / 4, 0, 1e-3);
    ExpectSynced(*p);
    // Mode 1 gives the fraction of the range.
    float q[3];
    double f, d;
    ASSERT_TRUE(curve->NearestParameter(q, f, d, 1));
    EXPECT_NEAR(f, (1.234 + 5) / 10, 1e-4);
    double r[3];
    curve->PointAtRatio(r, 0.5);
    EXPECT_NEAR(r[0], 0, 1e-12);
    curve->PointAtRatio(r, 1.5);
    EXPECT_NEAR(r[0], 5, 1e-12);
    p->m_param1 = 9.0f;
    p->Recompute();
    EXPECT_FLOAT_EQ(p->m_param1, 5.0f);
    ExpectNear(*p, 5, 6.25, 0);
    // The range shrinks: the point follows into it; the curve breaks: the point is invalid.
    CString texts[CGCurve::kExpressionCount] = {u"t", u"t^2/4", u"0", u"-2", u"2"};
    curve->SetExpressions(texts);
    curve->Recompute();
    Changed(curve);
    EXPECT_FLOAT_EQ(p->m_param1, 2.0f);
    texts[CGCurve::kTo] = u"-3";
    curve->SetExpressions(texts);
    curve->Recompute();
    Changed(curve);
    EXPECT_FALSE(p->m_valid);
}

TEST_F(CurvesTest, CurveRecordHoldsTheTextsAndStepAndCompilesAgainWhenLoaded) {
    CGTmVariable* a = AddValue(2.0f, u"a");
    CGCurve* curve =
        AddCurve(u"No1*cos(t)", u"t", u"sin(t)", u"-pi", u"pi", 0.02f, CGCurve::kCylindrical, {a->m_id});
    curve->SetBreakDistance(2.5f);
    curve->m_style = kCurveAuto;
    ByteBuilder b;
    b.NewClass("CGCurve");
    CellCommon(*curve).AppendTo(b);
    b.Str(u"No1*cos(t)").Str(u"t").Str(u"sin(t)").Str(u"-pi").Str(u"pi").F32(0.02f);
    auto back = ExpectRecord<CGCurve>(curve, b.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_compiled, 0);
    EXPECT_EQ(back->m_sampleCount, 0);
    EXPECT_EQ(back->CoordinateKind(), CGCurve::kCylindrical);
    EXPECT_EQ(back->BreakDistance(), 2.5f);
    back->Recompute();
    ASSERT_EQ(back->m_sampleCount, curve->m_sampleCount);
    for (int i = 0; i < curve->m_sampleCount; i += 50)
        ExpectSample(back->Sample(i), curve->Sample(i)[0], curve->Sample(i)[1], curve->Sample(i)[2], 0);
}

TEST_F(CurvesTest, PointsOnCurveAndLocusKeepTheirParameterInThePointRecord) {
    CGCurve* curve = AddCurve(u"t", u"0", u"0", u"0", u"4", 0.1f, CGCurve::kCartesian);
    auto* p = Add<CGVerFreeInCurve>(curve->m_id, 1.5f);
    auto back = ExpectRecord<CGVerFreeInCurve>(p, PointRecord("CGVerFreeInCurve", *p).Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_param1, 1.5f);
    BuildChain();
    CGLocus* locus = AddLocus(0.0f, 3.0f);
    auto* q = Add<CGVerFreeInLocus>(locus->m_id, 1.0f);
    auto qBack = ExpectRecord<CGVerFreeInLocus>(q, PointRecord("CGVerFreeInLocus", *q).Bytes());
    ASSERT_TRUE(qBack);
    EXPECT_EQ(qBack->m_param1, 1.0f);
}

} // namespace
