// Circles and arcs: the positioned circle with its name, description and angle normalisation, the
// circle record byte by byte, the label dragged around the circle, and the point, parameter and
// nearest-point queries on circles and on arcs that cross angle 0.
#include "model/arc.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"
#include "model_checks.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

class ArcTest : public PageFixture {
protected:
    // A circle of radius 2 about the origin in the plane z = 0.
    CGArc* AddCircle(BYTE kind = CGArc::kCircle, float start = 0.0f, float end = 6.2831855f) {
        return Insert(new CGArc(NextId(), 0, 0, 0, 2, 0, 0, 0, 2, 0, start, end, kind));
    }
    // An arc of radius 2 whose sweep is set as given, without normalisation.
    CGArc* AddArcRaw(float start, float end, BYTE kind = CGArc::kArc) {
        CGArc* arc = AddCircle(kind);
        arc->m_startAngle = start;
        arc->m_endAngle = end;
        return arc;
    }
    // The ray through the point of radius 2 at an angle (and radius r).
    static void RayAtAngle(double angle, double r = 2.0) {
        RayThrough(r * std::cos(angle), r * std::sin(angle));
    }
    static float ParameterAtAngle(const CGArc& arc, double angle) {
        const float q[3] = {float(2.0 * std::cos(angle)), float(2.0 * std::sin(angle)), 0.5f};
        return arc.ParameterOfPoint(q);
    }
};

} // namespace

TEST_F(ArcTest, DefaultCircleTakesTheCircleColour) {
    g_colorObject.a = 77;
    CGArc arc;
    EXPECT_EQ(arc.m_color, (CRgba{0, 128, 0, 77}));
    EXPECT_EQ(arc.m_labelColor, g_colorLabel);
}

TEST_F(ArcTest, PositionedCircleIsNamedDescribedAndLabelled) {
    CGArc* circle = AddCircle();
    EXPECT_EQ(circle->m_name, u"c1");
    EXPECT_EQ(AddCircle()->m_name, u"c2");
    EXPECT_EQ(circle->m_radius, 2.0f);
    EXPECT_EQ(circle->m_kind, CGArc::kCircle);
    EXPECT_EQ(circle->GetDescription(), u"以（0.0000，0.0000，0.0000）为圆心，半径为2.0000.的定位圆(弧)");
    // The label hangs at angle 1 plus 10 unit lengths in x, y and z.
    ExpectNear3(2.0 * std::cos(1.0) + 0.5, 2.0 * std::sin(1.0) + 0.5, 0.5, circle->m_labelPos);

    CGArc* other = Insert(new CGArc(NextId(), -1.5f, 0.25f, 3.0f, 0, 0, 3, 3, 0, 0, 0.0f, 1.0f, CGArc::kArc));
    EXPECT_EQ(other->GetDescription(), u"以（-1.5000，0.2500，3.0000）为圆心，半径为3.0000.的定位圆(弧)");
    // A positioned circle never changes by itself: recomputing only places the label again.
    other->m_labelAngle = 0.0f;
    other->m_valid = false;
    other->Recompute();
    EXPECT_FALSE(other->m_valid);
    ExpectNear3(-1.5 + 0.5, 0.25 + 0.5, 6.5, other->m_labelPos);
}

TEST_F(ArcTest, AnglesAreNormalisedByTheConstructor) {
    // An end of 2 pi, as a float a little above it, becomes a tiny angle: an almost empty arc.
    CGArc* full = AddCircle(CGArc::kArc, 0.0f, 6.2831855f);
    EXPECT_EQ(full->m_startAngle, 0.0f);
    EXPECT_FLOAT_EQ(full->m_endAngle, 1.7484555e-07f);
    // The end is raised above the start.
    CGArc* wrapped = AddCircle(CGArc::kArc, 7.0f, 1.0f);
    EXPECT_FLOAT_EQ(wrapped->m_startAngle, float(7.0 - 2.0 * kPi));
    EXPECT_EQ(wrapped->m_endAngle, 1.0f);
    CGArc* negative = AddCircle(CGArc::kArc, -1.0f, 0.5f);
    EXPECT_FLOAT_EQ(negative->m_startAngle, float(2.0 * kPi - 1.0));
    EXPECT_FLOAT_EQ(negative->m_endAngle, float(0.5 + 2.0 * kPi));
    CGArc* inRange = AddCircle(CGArc::kSector, 1.0f, 2.5f);
    EXPECT_EQ(inRange->m_startAngle, 1.0f);
    EXPECT_EQ(inRange->m_endAngle, 2.5f);

    EXPECT_DOUBLE_EQ(CGArc::ReduceAngle(-2.0 * kPi), 0.0);
    EXPECT_DOUBLE_EQ(CGArc::ReduceAngle(5.0 * kPi), kPi);
    EXPECT_DOUBLE_EQ(CGArc::ReduceAngle(-0.5), 2.0 * kPi - 0.5);
    EXPECT_EQ(CGArc::ReduceAngle(std::nan("")), 0.0);
}

TEST_F(ArcTest, RecordIsTheCommonRecordThenTheFrameAndTheLabel) {
    CGArc* arc = Insert(new CGArc(NextId(), 1, 2, 3, 2, 0, 0, 0, 2, 0, 0.5f, 2.0f, CGArc::kArc));
    arc->m_style = CGArc::kStyleOnTop;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { arc->Serialize(ar); });
    const float* l = arc->m_labelPos;
    CommonRecord common{.id = 1, .name = u"c1", .style = CGArc::kStyleOnTop, .kind = CGArc::kArc,
                        .labelPos = {l[0], l[1], l[2]}, .color = CRgba{0, 128, 0, 255}, .parents = {},
                        .children = {}};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.F32(1).F32(2).F32(3).F32(2).F32(0).F32(0).F32(0).F32(2).F32(0);
    expected.F32(0.5f).F32(2.0f).U8(1).F32(1.0f).F32(0.5f).F32(0.5f).F32(0.5f);
    EXPECT_EQ(bytes, expected.Bytes());

    // Loading takes the radius from U; any non-zero sweep byte reads as set.
    bytes[bytes.size() - 17] = 7;
    bytes[bytes.size() - 42] = 0x40; // the high byte of U's y: 2.0 (0x40000000)
    CGArc back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(back.m_sweepFromPoints);
    EXPECT_EQ(back.m_axisU[1], 2.0f);
    EXPECT_FLOAT_EQ(back.m_radius, std::sqrt(8.0f));
    EXPECT_EQ(back.m_center[2], 3.0f);
    EXPECT_EQ(back.m_endAngle, 2.0f);
    EXPECT_EQ(back.m_kind, CGArc::kArc);

    std::vector<BYTE> shorter(bytes.begin(), bytes.end() - 4);
    CGArc cut;
    EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);

    // A stored sweep flag of 0 stays 0.
    arc->m_sweepFromPoints = false;
    bytes = StoreBytes([&](CArchive& ar) { arc->Serialize(ar); });
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_FALSE(back.m_sweepFromPoints);
}

TEST_F(ArcTest, StoringCountsTheDocumentTexturesItUses) {
    CGArc* disc = AddCircle(CGArc::kDisc);
    disc->m_param4 = 2;
    StoreBytes([&](CArchive& ar) { disc->Serialize(ar); });
    EXPECT_EQ(g_textureUseCount[2], 1);
    disc->m_param4 = 4;
    StoreBytes([&](CArchive& ar) { disc->Serialize(ar); });
    EXPECT_EQ(g_textureUseCount[2], 1);
    disc->m_param4 = 3;
    StoreBytes([&](CArchive& ar) { disc->Serialize(ar); });
    EXPECT_EQ(g_textureUseCount[3], 1);
}

TEST_F(ArcTest, PointAtMeasuresCirclesFromAngleZeroAndArcsAlongTheirSweep) {
    CGArc* circle = AddCircle(CGArc::kCircle, 1.0f, 3.0f);
    double p[3];
    circle->PointAt(0.25, p);
    EXPECT_NEAR(p[0], 0.0, 1e-12);
    EXPECT_NEAR(p[1], 2.0, 1e-12);
    circle->m_kind = CGArc::kDisc;
    circle->PointAt(0.5, p);
    EXPECT_NEAR(p[0], -2.0, 1e-12);

    CGArc* arc = AddCircle(CGArc::kSegment, 0.5f, 2.5f);
    arc->PointAt(0.5, p);
    EXPECT_NEAR(p[0], 2.0 * std::cos(1.5), 1e-6);
    EXPECT_NEAR(p[1], 2.0 * std::sin(1.5), 1e-6);
    arc->PointAt(7.0, p); // limited to the sweep
    EXPECT_NEAR(p[0], 2.0 * std::cos(2.5), 1e-6);
    arc->PointAt(-1.0, p);
    EXPECT_NEAR(p[1], 2.0 * std::sin(0.5), 1e-6);
}

TEST_F(ArcTest, ParameterOfPointOnCirclesAndArcsAcrossAngleZero) {
    CGArc* circle = AddCircle();
    EXPECT_NEAR(ParameterAtAngle(*circle, 0.5 * kPi), 0.25, 1e-6);
    EXPECT_NEAR(ParameterAtAngle(*circle, 1.5 * kPi), 0.75, 1e-6);
    const float farOut[3] = {0.0f, -5.0f, 3.0f}; // off the plane and the circle: its direction counts
    EXPECT_NEAR(circle->ParameterOfPoint(farOut), 0.75, 1e-6);

    // The arc from 5.5 to 7.0 passes angle 0 at a third of its way.
    CGArc* arc = AddArcRaw(5.5f, 7.0f);
    EXPECT_NEAR(ParameterAtAngle(*arc, 6.0), 1.0 / 3.0, 1e-5);
    EXPECT_NEAR(ParameterAtAngle(*arc, 0.3), (0.3 + 2.0 * kPi - 5.5) / 1.5, 1e-5);
    EXPECT_NEAR(ParameterAtAngle(*arc, 0.7168), 1.0, 1e-3);
    // Outside the sweep: whichever end is nearer going round.
    EXPECT_EQ(ParameterAtAngle(*arc, 3.0), 1.0f);
    EXPECT_EQ(ParameterAtAngle(*arc, 4.0), 0.0f);
    // The centre itself has no direction: angle 0.
    const float centre[3] = {0, 0, 0};
    EXPECT_EQ(circle->ParameterOfPoint(centre), 0.0f);

    // An empty sweep gives 0, not NaN.
    CGArc* empty = AddArcRaw(0.0f, 0.0f, CGArc::kSector);
    EXPECT_EQ(ParameterAtAngle(*empty, 0.0), 0.0f);
    EXPECT_EQ(ParameterAtAngle(*empty, 2.0), 1.0f);
    EXPECT_EQ(ParameterAtAngle(*empty, 4.0), 0.0f);
}

TEST_F(ArcTest, NearestPointOnACircle) {
    CGArc* circle = AddCircle();
    float point[3];
    double param = 0, distance = 0;
    RayThrough(0.0, 3.0);
    ASSERT_TRUE(circle->NearestPoint(point, param, distance, 0));
    ExpectNear3(0.0, 2.0, 0.0, point);
    EXPECT_NEAR(param, 0.5 * kPi, 1e-6);
    EXPECT_NEAR(distance, 1.0, 1e-6);
    ASSERT_TRUE(circle->NearestPoint(point, param, distance, 1));
    EXPECT_NEAR(param, 0.25, 1e-6);

    // A ray along the circle's plane has no answer.
    RayInPlaneZ0();
    EXPECT_FALSE(circle->NearestPoint(point, param, distance, 1));
    ExpectNear3(0, 0, 0, point, 0.0);
    EXPECT_EQ(param, 0.0);
    EXPECT_EQ(distance, 1e200);
}

TEST_F(ArcTest, NearestPointKeepsToTheSweepOfAnArc) {
    CGArc* arc = AddCircle(CGArc::kArc, 0.0f, float(0.5 * kPi));
    float point[3];
    double param = 0, distance = 0;
    // Beyond the end but nearer to the start going on round: the start.
    RayAtAngle(5.5, 3.0);
    ASSERT_TRUE(arc->NearestPoint(point, param, distance, 1));
    ExpectNear3(2.0, 0.0, 0.0, point);
    EXPECT_EQ(param, 0.0);
    ASSERT_TRUE(arc->NearestPoint(point, param, distance, 0));
    EXPECT_EQ(param, 0.0);
    // Nearer to the end.
    RayAtAngle(2.5);
    ASSERT_TRUE(arc->NearestPoint(point, param, distance, 1));
    ExpectNear3(0.0, 2.0, 0.0, point);
    EXPECT_NEAR(param, 1.0, 1e-6);
    EXPECT_NEAR(distance, std::hypot(2.0 * std::cos(2.5), 2.0 * std::sin(2.5) - 2.0), 1e-5);

    // An arc across angle 0: the angle is moved into [start, end].
    CGArc* across = AddArcRaw(5.5f, 7.0f);
    RayAtAngle(0.3);
    ASSERT_TRUE(across->NearestPoint(point, param, distance, 0));
    EXPECT_NEAR(param, 0.3 + 2.0 * kPi, 1e-5);
    ExpectNear3(2.0 * std::cos(0.3), 2.0 * std::sin(0.3), 0.0, point);
    EXPECT_NEAR(distance, 0.0, 1e-5);
    ASSERT_TRUE(across->NearestPoint(point, param, distance, 1));
    EXPECT_NEAR(param, (0.3 + 2.0 * kPi - 5.5) / 1.5, 1e-5);
    RayAtAngle(6.0);
    ASSERT_TRUE(across->NearestPoint(point, param, distance, 0));
    EXPECT_NEAR(param, 6.0, 1e-5);
    RayAtAngle(3.0); // outside, nearer to the end (7.0)
    ASSERT_TRUE(across->NearestPoint(point, param, distance, 0));
    EXPECT_NEAR(param, 7.0, 1e-6);
    ExpectNear3(2.0 * std::cos(7.0), 2.0 * std::sin(7.0), 0.0, point);

    // A circle ignores the sweep.
    across->m_kind = CGArc::kDisc;
    ASSERT_TRUE(across->NearestPoint(point, param, distance, 1));
    EXPECT_NEAR(param, 3.0 / (2.0 * kPi), 1e-6);

    // An empty sweep: parameter 0, not NaN.
    CGArc* empty = AddArcRaw(0.0f, 0.0f);
    RayAtAngle(0.0);
    ASSERT_TRUE(empty->NearestPoint(point, param, distance, 1));
    EXPECT_EQ(param, 0.0);
}

TEST_F(ArcTest, LabelHangsAtTheDraggedAngleWithinFortyUnitLengths) {
    CGArc* circle = AddCircle();
    RayThrough(3.0, 0.0);
    circle->MoveLabel();
    EXPECT_NEAR(circle->m_labelAngle, 0.0, 1e-6);
    ExpectNear3(3.0, 0.0, 0.0, circle->m_labelPos);
    ExpectNear3(1.0, 0.0, 0.0, circle->m_labelOffset);

    // Far away: 40 unit lengths (2.0) from the circle point.
    RayThrough(0.0, 10.0);
    circle->MoveLabel();
    EXPECT_NEAR(circle->m_labelAngle, 0.5 * kPi, 1e-6);
    ExpectNear3(0.0, 2.0, 0.0, circle->m_labelOffset);
    ExpectNear3(0.0, 4.0, 0.0, circle->m_labelPos);
    // The label keeps its place relative to the circle.
    circle->m_center[0] = 5.0f;
    circle->Recompute();
    ExpectNear3(5.0, 4.0, 0.0, circle->m_labelPos);

    // A ray along the plane moves nothing.
    RayInPlaneZ0();
    circle->MoveLabel();
    ExpectNear3(5.0, 4.0, 0.0, circle->m_labelPos);
}
