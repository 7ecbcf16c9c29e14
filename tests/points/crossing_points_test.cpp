// Crossings of lines and circles with curves and loci and of curves and loci with each other, on
// cases worked out by hand: counts, positions, numbering along the line or the first object, the cap
// of 32, the extent of the line's kind, gaps, the common plane, the driver put back, the points that
// follow their pair and the tables kept for one page, pair and pass.
#include "dynamics/curves.h"
#include "model/free_points.h"
#include "points/crossing_points.h"
#include "points/points_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CrossingTest : public PointsTest {
protected:
    void SetUp() override {
        PointsTest::SetUp();
        HxResetCrossingTables();
    }
    CGCurve* AddCurve(const char16_t* x, const char16_t* y, const char16_t* z, const char16_t* from,
                      const char16_t* to, float step, std::initializer_list<WORD> parents = {}) {
        return Insert(new CGCurve(NextId(), IdList(parents), x, y, z, from, to, step, CGCurve::kCartesian));
    }
    // The locus of the midpoint of O and a point on the circle of radius 2 about O: the unit circle
    // about O in z = o[2], driven from 0 to 6.2831.
    CGLocus* UnitCircleLocus(float z = 0.0f, float t = 0.3f) {
        CGVertex* o = AddPoint(0, 0, z);
        CGArc* circle = AddCircle(0, 0, z, 2.0f);
        m_driver = Add<CGVerFreeInCircle>(circle->m_id, t);
        CTestMidpoint* m = AddMidpoint(o->m_id, m_driver->m_id);
        return Insert(new CGLocus(NextId(), m_driver->m_id, m->m_id, 0.0f, 6.2831f));
    }
    // Every crossing the search gives, in its order.
    template <class Search> static std::vector<std::vector<float>> All(Search search, WORD a, WORD b) {
        std::vector<std::vector<float>> all;
        float p[3];
        const int count = search(a, b, 0, p);
        for (int n = 0; n < count; ++n) {
            EXPECT_EQ(search(a, b, n, p), count);
            all.push_back({p[0], p[1], p[2]});
        }
        p[0] = 77.0f;
        EXPECT_EQ(search(a, b, count, p), 0);
        EXPECT_EQ(p[0], 77.0f); // untouched
        return all;
    }
    static void ExpectPoint(const std::vector<float>& p, double x, double y, double z,
                            double tolerance = 1e-4) {
        ASSERT_EQ(p.size(), 3u);
        EXPECT_NEAR(p[0], x, tolerance);
        EXPECT_NEAR(p[1], y, tolerance);
        EXPECT_NEAR(p[2], z, tolerance);
    }

    CGVerFreeInCircle* m_driver = nullptr;
};

// ---------------------------------------------------------------------------------------------
// A line against a curve or a locus

TEST_F(CrossingTest, LineCrossingsOfASineAreNumberedFromTheLinesFirstPoint) {
    CGCurve* sine = AddCurve(u"t", u"sin(t)", u"0", u"-3*pi", u"3*pi", 0.2f);
    CGLine* axis = Line(-20, 0, 0, 20, 0, 0);
    auto all = All(IntersectLineCurve, axis->m_id, sine->m_id);
    ASSERT_EQ(all.size(), 7u);
    for (int k = -3; k <= 3; ++k)
        ExpectPoint(all[size_t(k + 3)], k * kPi, 0, 0);
    // From the other end the order turns round.
    CGLine* back = Line(20, 0, 0, -20, 0, 0);
    auto reversed = All(IntersectLineCurve, back->m_id, sine->m_id);
    ASSERT_EQ(reversed.size(), 7u);
    ExpectPoint(reversed[0], 3 * kPi, 0, 0);
}

TEST_F(CrossingTest, TheLinesKindBoundsItsCrossings) {
    CGCurve* sine = AddCurve(u"t", u"sin(t)", u"0", u"-3*pi", u"3*pi", 0.2f);
    struct Case {
        BYTE kind;
        size_t count;
        double first;
    } cases[] = {{CGLine::kSegment, 1, kPi},
                 {CGLine::kVector, 1, kPi},
                 {CGLine::kRay, 3, kPi},
                 {CGLine::kLine, 7, -3 * kPi}};
    for (const Case& c : cases) {
        CGLine* line = Line(0.5f, 0, 0, 5, 0, 0, c.kind);
        auto all = All(IntersectLineCurve, line->m_id, sine->m_id);
        ASSERT_EQ(all.size(), c.count) << int(c.kind);
        ExpectPoint(all[0], c.first, 0, 0);
    }
}

TEST_F(CrossingTest, MoreThan32CrossingsCountAs32) {
    CGCurve* sine = AddCurve(u"t", u"sin(t)", u"0", u"0", u"40*pi", 0.2f);
    CGLine* axis = Line(-1, 0, 0, 200, 0, 0);
    auto all = All(IntersectLineCurve, axis->m_id, sine->m_id);
    ASSERT_EQ(all.size(), 32u);
    ExpectPoint(all[0], 0, 0, 0);
    ExpectPoint(all[31], 31 * kPi, 0, 0, 1e-3);
    // The same pair as crossing points: index 31 exists, index 32 does not.
    auto* last = Add<CGVerIntersectionLQ>(BYTE(31), axis->m_id, sine->m_id);
    EXPECT_TRUE(last->m_valid);
    auto* beyond = Add<CGVerIntersectionLQ>(BYTE(32), axis->m_id, sine->m_id);
    EXPECT_FALSE(beyond->m_valid);
}

TEST_F(CrossingTest, LineAgainstALocusInItsPlaneAndInSpaceLeavesTheDriverWhereItWas) {
    CGLocus* locus = UnitCircleLocus();
    ASSERT_TRUE(locus->m_valid);
    CGLine* chord = Line(-2, 0.5f, 0, 2, 0.5f, 0);
    auto all = All(IntersectLineLocus, chord->m_id, locus->m_id);
    ASSERT_EQ(all.size(), 2u);
    ExpectPoint(all[0], -std::sqrt(0.75), 0.5, 0);
    ExpectPoint(all[1], std::sqrt(0.75), 0.5, 0);
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.3f);
    ExpectNear(*m_driver, 2 * std::cos(0.3), 2 * std::sin(0.3), 0);
    // Upright through (0.6, 0.8): the search in space finds the one crossing.
    CGLine* upright = Line(0.6f, 0.8f, -1, 0.6f, 0.8f, 1, CGLine::kLine);
    auto up = All(IntersectLineLocus, upright->m_id, locus->m_id);
    ASSERT_EQ(up.size(), 1u);
    ExpectPoint(up[0], 0.6, 0.8, 0, 1e-3);
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.3f);
    // A line too short to have a direction crosses nothing.
    CGLine* dot = Line(0, 0, 0, 0, 0, 5e-5f);
    float p[3];
    EXPECT_EQ(IntersectLineLocus(dot->m_id, locus->m_id, 0, p), 0);
}

// ---------------------------------------------------------------------------------------------
// A circle against a curve or a locus

TEST_F(CrossingTest, CircleCrossingsAreNumberedAlongTheCurveOrLocus) {
    CGArc* circle = AddCircle(0, 0, 0, 2.0f);
    CGCurve* axis = AddCurve(u"t", u"0", u"0", u"-5", u"5", 0.1f);
    auto all = All(IntersectCircleCurve, circle->m_id, axis->m_id);
    ASSERT_EQ(all.size(), 2u);
    ExpectPoint(all[0], -2, 0, 0);
    ExpectPoint(all[1], 2, 0, 0);

    CGLocus* locus = UnitCircleLocus();
    CGArc* small = AddCircle(1, 0, 0, 0.5f);
    auto meet = All(IntersectCircleLocus, small->m_id, locus->m_id);
    ASSERT_EQ(meet.size(), 2u);
    // |p| = 1 and |p - (1, 0)| = 0.5: x = 0.875, the upper one first along the driver's range.
    ExpectPoint(meet[0], 0.875, std::sqrt(1 - 0.875 * 0.875), 0);
    ExpectPoint(meet[1], 0.875, -std::sqrt(1 - 0.875 * 0.875), 0);
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.3f);

    // A circle standing upright meets the flat curve in space, in its own plane.
    const float c[3] = {0, 0, 0}, u[3] = {3, 0, 0}, v[3] = {0, 0, 3};
    CGArc* upright = Circle(c, u, v);
    auto space = All(IntersectCircleCurve, upright->m_id, axis->m_id);
    ASSERT_EQ(space.size(), 2u);
    ExpectPoint(space[0], -3, 0, 0, 1e-3);
    ExpectPoint(space[1], 3, 0, 0, 1e-3);
}

// ---------------------------------------------------------------------------------------------
// Two polylines

TEST_F(CrossingTest, TwoCurvesInOnePlane) {
    CGCurve* rising = AddCurve(u"t", u"t", u"0", u"-5", u"5", 0.1f);
    CGCurve* falling = AddCurve(u"t", u"1-t", u"0", u"-5", u"5", 0.1f);
    auto all = All(IntersectCurveCurve, rising->m_id, falling->m_id);
    ASSERT_EQ(all.size(), 1u);
    ExpectPoint(all[0], 0.5, 0.5, 0);
    // Lifted by 1e-3 the second curve no longer shares the plane.
    CGCurve* lifted = AddCurve(u"t", u"1-t", u"0.001", u"-5", u"5", 0.1f);
    float p[3];
    EXPECT_EQ(IntersectCurveCurve(rising->m_id, lifted->m_id, 0, p), 0);
    // Both at height 2 (not flat by their texts): their samples share the plane.
    CGCurve* high1 = AddCurve(u"t", u"t", u"2", u"-5", u"5", 0.1f);
    CGCurve* high2 = AddCurve(u"t", u"1-t", u"2", u"-5", u"5", 0.1f);
    auto high = All(IntersectCurveCurve, high1->m_id, high2->m_id);
    ASSERT_EQ(high.size(), 1u);
    ExpectPoint(high[0], 0.5, 0.5, 2);
}

TEST_F(CrossingTest, ASegmentLongerThanTheGapLimitCrossesNothing) {
    CGCurve* coarse = AddCurve(u"t", u"0", u"0", u"-10", u"10", 5.0f); // steps of 5 in x
    CGCurve* upright = AddCurve(u"0.5", u"t", u"0", u"-5", u"5", 0.1f);
    float p[3];
    EXPECT_EQ(IntersectCurveCurve(coarse->m_id, upright->m_id, 0, p), 0);
    // The other way round the coarse curve's steps are gaps between its samples as well.
    EXPECT_EQ(IntersectCurveCurve(upright->m_id, coarse->m_id, 0, p), 0);
    // Steps of 20 / 7 (below the square root of 10) are joined, in either order.
    CGCurve* finer = AddCurve(u"t", u"0", u"0", u"-10", u"10", 3.0f);
    for (auto [a, b] : {std::pair{finer->m_id, upright->m_id}, std::pair{upright->m_id, finer->m_id}}) {
        auto all = All(IntersectCurveCurve, a, b);
        ASSERT_EQ(all.size(), 1u);
        ExpectPoint(all[0], 0.5, 0, 0);
    }
}

TEST_F(CrossingTest, CurveAgainstLocusAndTwoLoci) {
    CGLocus* locus = UnitCircleLocus();
    CGCurve* axis = AddCurve(u"t", u"0", u"0", u"-2", u"2", 0.05f);
    auto all = All(IntersectCurveLocus, axis->m_id, locus->m_id);
    ASSERT_EQ(all.size(), 2u);
    ExpectPoint(all[0], -1, 0, 0, 1e-3);
    ExpectPoint(all[1], 1, 0, 0, 1e-3);
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.3f);
    // A second unit circle about (1, 0): the crossings at x = 0.5.
    CGVertex* o = AddPoint(1, 0, 0);
    CGArc* circle = AddCircle(1, 0, 0, 2.0f);
    auto* driver = Add<CGVerFreeInCircle>(circle->m_id, 0.0f);
    CTestMidpoint* m = AddMidpoint(o->m_id, driver->m_id);
    auto* other = Insert(new CGLocus(NextId(), driver->m_id, m->m_id, 0.0f, 6.2831f));
    // Its midpoints lie on the circle of radius 1 about (1, 0).
    auto two = All(IntersectLocusLocus, locus->m_id, other->m_id);
    ASSERT_EQ(two.size(), 2u);
    ExpectPoint(two[0], 0.5, std::sqrt(0.75), 0, 1e-3);
    ExpectPoint(two[1], 0.5, -std::sqrt(0.75), 0, 1e-3);
}

// ---------------------------------------------------------------------------------------------
// The points and the kept tables

TEST_F(CrossingTest, CrossingPointsFollowTheirPairAndTheLastOnesGoWhenCrossingsDisappear) {
    CGTmVariable* height = AddValue(0.0f, u"h");
    CGArc* circle = AddCircle(0, 0, 0, 2.0f);
    CGCurve* curve = AddCurve(u"t", u"No1", u"0", u"-5", u"5", 0.1f, {height->m_id});
    auto* p0 = Add<CGVerIntersectionCQ>(BYTE(0), circle->m_id, curve->m_id);
    auto* p1 = Add<CGVerIntersectionCQ>(BYTE(1), circle->m_id, curve->m_id);
    ExpectValidAt(*p0, -2, 0, 0, 1e-4);
    ExpectValidAt(*p1, 2, 0, 0, 1e-4);
    EXPECT_EQ(p0->GetDescription(), CString(u"圆") + circle->m_name + u"与曲线No1的交点");
    height->m_param1 = 3.0f;
    curve->Recompute();
    Changed(curve);
    EXPECT_FALSE(p0->m_valid);
    EXPECT_FALSE(p1->m_valid);
    height->m_param1 = 1.0f;
    curve->Recompute();
    Changed(curve);
    ExpectValidAt(*p0, -std::sqrt(3.0), 1, 0, 1e-4);
    ExpectValidAt(*p1, std::sqrt(3.0), 1, 0, 1e-4);
}

TEST_F(CrossingTest, KeptTablesAnswerOnlyWithinThePassAndPageThatFilledThem) {
    CGTmVariable* shift = AddValue(0.0f, u"s");
    CGArc* circle = AddCircle(0, 0, 0, 2.0f);
    CGCurve* curve = AddCurve(u"t+No1", u"0", u"0", u"-5", u"5", 0.1f, {shift->m_id});
    float p[3];
    ASSERT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 0, p), 2);
    // The curve moves (x + 0.5) without a new pass: the next point of the pair reads the table.
    shift->m_param1 = 0.5f;
    curve->Recompute();
    ASSERT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 1, p), 2);
    EXPECT_NEAR(p[0], 2.0, 1e-4);
    // A new pass searches again.
    HxBeginRecomputePass();
    ASSERT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 0, p), 2);
    ASSERT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 1, p), 2);
    EXPECT_NEAR(p[0], 2.0, 1e-4);
    ASSERT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 0, p), 2);
    shift->m_param1 = 1.0f;
    curve->Recompute();
    // Another page with the same ids does not read this page's table.
    CGPage other;
    g_pCurPage = &other;
    const int count = IntersectCircleCurve(circle->m_id, curve->m_id, 1, p);
    g_pCurPage = m_page.get();
    ASSERT_EQ(count, 2);
    EXPECT_NEAR(p[0], 2.0, 1e-4);
    // Neither does a point that comes back to an index it has already been asked for.
    ASSERT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 0, p), 2);
    EXPECT_NEAR(p[0], -2.0, 1e-4);
    // A recomputation pass over the page begins a new pass.
    const unsigned before = g_recomputePass;
    m_page->UpdateCellsById({curve->m_id});
    EXPECT_NE(g_recomputePass, before);
}

TEST_F(CrossingTest, InvalidOrMissingParentsGiveNoCrossing) {
    CGArc* circle = AddCircle(0, 0, 0, 2.0f);
    CGCurve* curve = AddCurve(u"t", u"0", u"0", u"-5", u"5", 0.1f);
    CGCurve* empty = AddCurve(u"t", u"0", u"0", u"5", u"-5", 0.1f);
    CGLine* line = Line(-3, 0, 0, 3, 0, 0);
    float p[3];
    EXPECT_EQ(IntersectCircleCurve(circle->m_id, empty->m_id, 0, p), 0);
    EXPECT_EQ(IntersectCircleCurve(circle->m_id, 999, 0, p), 0);
    EXPECT_EQ(IntersectCircleLocus(circle->m_id, curve->m_id, 0, p), 0); // a curve is no locus
    EXPECT_EQ(IntersectLineCurve(circle->m_id, curve->m_id, 0, p), 0);   // a circle is no line
    circle->m_valid = false;
    EXPECT_EQ(IntersectCircleCurve(circle->m_id, curve->m_id, 0, p), 0);
    line->m_valid = false;
    EXPECT_EQ(IntersectLineCurve(line->m_id, curve->m_id, 0, p), 0);
}

TEST_F(CrossingTest, CrossingPointsStoreThePointRecordWithTheirIndexInTheKind) {
    CGArc* circle = AddCircle(0, 0, 0, 2.0f);
    CGCurve* curve = AddCurve(u"t", u"0", u"0", u"-5", u"5", 0.1f);
    auto* p = Add<CGVerIntersectionCQ>(BYTE(1), circle->m_id, curve->m_id);
    EXPECT_EQ(p->m_kind, 1);
    auto back = ExpectRecord<CGVerIntersectionCQ>(p, PointRecord("CGVerIntersectionCQ", *p).Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_kind, 1);
}

} // namespace
