// Geometry routines on cases computed by hand, with every degenerate branch.
#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

struct P {
    float v[3];
    P(float x, float y, float z) : v{x, y, z} {}
    operator const float*() const { return v; }
};

void ExpectPoint(const float* got, float x, float y, float z, float tol = 1e-6f) {
    EXPECT_NEAR(got[0], x, tol);
    EXPECT_NEAR(got[1], y, tol);
    EXPECT_NEAR(got[2], z, tol);
}

} // namespace

TEST(IntersectLines, MeetsThroughEachComponentOfTheNormal) {
    float out[3], t = -1, s = -1;
    // Lines that miss each other by 0.4 still meet on the first line (|w . n| = 1.6 <= 2).
    ASSERT_TRUE(IntersectLinesF(P(0, 0, 0), P(2, 0, 0), P(1, -1, 0.4f), P(1, 1, 0.4f), out, &t, &s));
    ExpectPoint(out, 1, 0, 0);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_FLOAT_EQ(s, 0.5f);
    // Normal along y: solved with the y component.
    ASSERT_TRUE(IntersectLinesF(P(0, 0, 0), P(2, 0, 0), P(1, 0, -1), P(1, 0, 1), out, &t, &s));
    ExpectPoint(out, 1, 0, 0);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_FLOAT_EQ(s, 0.5f);
    // Normal along x.
    ASSERT_TRUE(IntersectLinesF(P(0, 0, 0), P(0, 2, 0), P(0, 1, -1), P(0, 1, 3), out, &t, &s));
    ExpectPoint(out, 0, 1, 0);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_FLOAT_EQ(s, 0.25f);
}

TEST(IntersectLines, SkewParallelAndPointLikeSecondLine) {
    float out[3] = {9, 9, 9}, t = 9, s = 9;
    // Skew by 1.5 with |d x e| = 4: 6 > 2.
    EXPECT_FALSE(IntersectLinesF(P(0, 0, 0), P(2, 0, 0), P(1, -1, 1.5f), P(1, 1, 1.5f), out, &t, &s));
    EXPECT_FALSE(IntersectLinesF(P(0, 0, 0), P(1, 0, 0), P(0, 1, 0), P(2, 1, 0), out, &t, &s));
    ExpectPoint(out, 9, 9, 9);
    // A second line shorter than 0.0001 in every component: the point and t are written first.
    EXPECT_FALSE(IntersectLinesF(P(0, 0, 0), P(10000, 0, 0), P(5, 0, 0), P(5, 0.00009f, 0), out, &t, &s));
    ExpectPoint(out, 5, 0, 0, 1e-4f);
    EXPECT_NEAR(t, 0.0005f, 1e-7);
    EXPECT_EQ(s, 9.0f);
}

TEST(CommonPerpendicular, FootOnTheFirstLine) {
    float out[3];
    ASSERT_TRUE(CommonPerpendicularF(P(0, 0, 0), P(1, 0, 0), P(3, 0, 1), P(3, 1, 1), out));
    ExpectPoint(out, 3, 0, 0);
    EXPECT_FALSE(CommonPerpendicularF(P(0, 0, 0), P(1, 0, 0), P(0, 1, 0), P(1, 1, 0), out));
}

TEST(DistanceLines, SkewParallelAndMeeting) {
    EXPECT_FLOAT_EQ(DistanceLinesF(P(0, 0, 0), P(1, 0, 0), P(3, 0, 1), P(3, 1, 1)), 1.0f);
    EXPECT_FLOAT_EQ(DistanceLinesF(P(0, 0, 0), P(2, 0, 0), P(1, 3, 4), P(5, 3, 4)), 5.0f);
    EXPECT_EQ(DistanceLinesF(P(0, 0, 0), P(1, 0, 0), P(2, -1, 0), P(2, 1, 0)), 0.0f);
    // A first "line" without length: the distance to the point.
    EXPECT_FLOAT_EQ(DistanceLinesF(P(0, 0, 0), P(0, 0, 0), P(3, 4, 0), P(5, 4, 0)), 5.0f);
    // The same line twice.
    EXPECT_EQ(DistanceLinesF(P(0, 0, 0), P(1, 1, 1), P(2, 2, 2), P(3, 3, 3)), 0.0f);
}

TEST(Angles, BetweenLines) {
    EXPECT_FLOAT_EQ(AngleBetweenLinesF(P(0, 0, 0), P(1, 0, 0), P(0, 0, 0), P(1, 1, 0)), float(kPi / 4));
    EXPECT_FLOAT_EQ(AngleBetweenLinesF(P(0, 0, 0), P(1, 0, 0), P(0, 0, 0), P(-1, 1, 0)), float(kPi / 4));
    EXPECT_FLOAT_EQ(AngleBetweenLinesF(P(0, 0, 0), P(1, 0, 0), P(5, 5, 5), P(5, 5, 9)), float(kPi / 2));
    EXPECT_EQ(AngleBetweenLinesF(P(0, 0, 0), P(1, 0, 0), P(2, 2, 2), P(2, 2, 2)), 0.0f);
    EXPECT_EQ(AngleBetweenLinesF(P(1, 1, 1), P(1, 1, 1), P(0, 0, 0), P(1, 0, 0)), 0.0f);
}

TEST(Angles, LineAndPlane) {
    P a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);
    EXPECT_FLOAT_EQ(AngleLinePlaneF(P(0, 0, 0), P(1, 0, 1), a, b, c), float(kPi / 4));
    EXPECT_FLOAT_EQ(AngleLinePlaneF(P(3, 3, 0), P(3, 3, -5), a, b, c), float(kPi / 2));
    EXPECT_EQ(AngleLinePlaneF(P(0, 0, 0), P(1, 1, 0), a, b, c), 0.0f);
    EXPECT_EQ(AngleLinePlaneF(P(1, 2, 3), P(1, 2, 3), a, b, c), 0.0f);
    EXPECT_EQ(AngleLinePlaneF(P(0, 0, 0), P(1, 0, 1), a, b, P(2, 0, 0)), 0.0f);
}

TEST(Angles, DihedralIsPiMinusTheAngleOfTheNormals) {
    P a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);
    EXPECT_FLOAT_EQ(DihedralAngleF(a, b, c, a, b, c), float(kPi));
    EXPECT_EQ(DihedralAngleF(a, b, c, a, c, b), 0.0f);
    EXPECT_FLOAT_EQ(DihedralAngleF(a, b, c, P(0, 0, 0), P(0, 1, 0), P(0, 0, 1)), float(kPi / 2));
    EXPECT_EQ(DihedralAngleF(a, b, P(2, 0, 0), a, b, c), 0.0f);
    EXPECT_EQ(DihedralAngleF(a, b, c, a, a, c), 0.0f);
}

TEST(Feet, OnALine) {
    float out[3];
    EXPECT_DOUBLE_EQ(FootOnLineF(P(1, 2, 3), P(0, 0, 0), P(2, 0, 0), out), 0.5);
    ExpectPoint(out, 1, 0, 0);
    EXPECT_DOUBLE_EQ(FootOnLineF(P(-4, 2, 3), P(0, 0, 0), P(2, 0, 0), out), -2.0);
    ExpectPoint(out, -4, 0, 0);
    EXPECT_EQ(FootOnLineF(P(1, 2, 3), P(5, 5, 5), P(5, 5, 5), out), 0.0);
    ExpectPoint(out, 5, 5, 5);
}

TEST(Feet, OnAPlaneAndItsCollinearFallbacks) {
    float out[3];
    EXPECT_TRUE(FootOnPlaneF(P(1, 2, 3), P(0, 0, 0), P(1, 0, 0), P(0, 1, 0), out));
    ExpectPoint(out, 1, 2, 0);
    EXPECT_TRUE(FootOnPlaneF(P(1, 2, 3), P(0, 0, 1), P(1, 0, 1), P(0, 1, 1), out));
    ExpectPoint(out, 1, 2, 1);
    // Collinear: the line through a and b.
    EXPECT_TRUE(FootOnPlaneF(P(1, 2, 3), P(0, 0, 0), P(2, 0, 0), P(4, 0, 0), out));
    ExpectPoint(out, 1, 0, 0);
    // a and b coincide: the line through b and c.
    EXPECT_TRUE(FootOnPlaneF(P(1, 2, 3), P(0, 0, 0), P(0, 0, 0), P(0, 4, 0), out));
    ExpectPoint(out, 0, 2, 0);
    // All three coincide: b itself.
    EXPECT_TRUE(FootOnPlaneF(P(1, 2, 3), P(7, 7, 7), P(7, 7, 7), P(7, 7, 7), out));
    ExpectPoint(out, 7, 7, 7);
}

TEST(Distances, PointToPlane) {
    EXPECT_FLOAT_EQ(DistancePointPlaneF(P(1, 2, 3), P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)), 3.0f);
    EXPECT_FLOAT_EQ(DistancePointPlaneF(P(1, 2, -3), P(0, 0, 1), P(1, 0, 1), P(0, 1, 1)), 4.0f);
    // Collinear: the distance to b.
    EXPECT_FLOAT_EQ(DistancePointPlaneF(P(1, 2, 3), P(0, 0, 0), P(2, 0, 0), P(4, 0, 0)),
                    float(std::sqrt(14.0)));
}

TEST(Intersections, LineAndPlane) {
    float out[3], t = 0;
    P a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);
    ASSERT_TRUE(IntersectLinePlaneF(P(1, 1, 5), P(1, 1, 3), a, b, c, out, &t));
    ExpectPoint(out, 1, 1, 0);
    EXPECT_FLOAT_EQ(t, 2.5f); // beyond the segment
    EXPECT_FALSE(IntersectLinePlaneF(P(0, 0, 1), P(1, 1, 1), a, b, c, out, &t));
    EXPECT_FALSE(IntersectLinePlaneF(P(0, 0, 1), P(0, 0, 2), a, b, P(2, 0, 0), out, &t));
}

TEST(Angles, OrientedAboutANormal) {
    EXPECT_FLOAT_EQ(OrientedAngleF(1, 0, 0, 0, 1, 0, 0, 0, 1), float(kPi / 2));
    EXPECT_FLOAT_EQ(OrientedAngleF(1, 0, 0, 0, 1, 0, 0, 0, -1), float(3 * kPi / 2));
    EXPECT_FLOAT_EQ(OrientedAngleF(1, 0, 0, -2, 0, 0, 0, 0, 1), float(kPi));
    EXPECT_EQ(OrientedAngleF(1, 0, 0, 3, 0, 0, 0, 0, 1), 0.0f);
    EXPECT_EQ(OrientedAngleF(0, 0, 0, 0, 1, 0, 0, 0, 1), 0.0f);
}

TEST(Angles, AtAVertex) {
    EXPECT_FLOAT_EQ(AngleThreePointsF(P(2, 1, 1), P(1, 1, 1), P(1, 3, 1)), float(kPi / 2));
    EXPECT_FLOAT_EQ(AngleThreePointsF(P(1, 0, 0), P(0, 0, 0), P(-1, 0, 0)), float(kPi));
    EXPECT_EQ(AngleThreePointsF(P(1, 0, 0), P(0, 0, 0), P(1, 0, 0)), 0.0f);
    EXPECT_EQ(AngleThreePointsF(P(0, 0, 0), P(0, 0, 0), P(1, 0, 0)), 0.0f);
}

TEST(Angles, RotationOrientedByZThenXThenY) {
    P o(0, 0, 0);
    // A quarter turn about z seen from +z, both ways.
    EXPECT_FLOAT_EQ(RotationAngleF(P(1, 0, 0), o, P(0, 1, 0)), float(kPi / 2));
    EXPECT_FLOAT_EQ(RotationAngleF(P(0, 1, 0), o, P(1, 0, 0)), float(3 * kPi / 2));
    // In the plane x = 0 the x component decides.
    EXPECT_FLOAT_EQ(RotationAngleF(P(0, 1, 0), o, P(0, 0, 1)), float(kPi / 2));
    EXPECT_FLOAT_EQ(RotationAngleF(P(0, 0, 1), o, P(0, 1, 0)), float(3 * kPi / 2));
    // In the plane y = 0 the y component decides.
    EXPECT_FLOAT_EQ(RotationAngleF(P(0, 0, 1), o, P(1, 0, 0)), float(kPi / 2));
    EXPECT_FLOAT_EQ(RotationAngleF(P(1, 0, 0), o, P(0, 0, 1)), float(3 * kPi / 2));
    // Parallel vectors: 2 pi minus the angle.
    EXPECT_FLOAT_EQ(RotationAngleF(P(1, 0, 0), o, P(2, 0, 0)), float(2 * kPi));
    EXPECT_FLOAT_EQ(RotationAngleF(P(1, 0, 0), o, P(-2, 0, 0)), float(kPi));
    EXPECT_FLOAT_EQ(RotationAngleF(P(0, 0, 0), o, P(1, 0, 0)), float(2 * kPi));
}

TEST(Rotation, AboutAnAxisThroughAPoint) {
    float out[3];
    RotatePointAboutAxisF(P(0, 0, 1), P(1, 0, 0), float(kPi / 2), P(2, 0, 5), out);
    ExpectPoint(out, 1, 1, 5);
    RotatePointAboutAxisF(P(1, 0, 0), P(0, 0, 0), float(kPi), P(0, 1, 0), out);
    ExpectPoint(out, 0, -1, 0);
    RotatePointAboutAxisF(P(0, 0, 1), P(0, 0, 0), -float(kPi / 2), P(1, 0, 0), out);
    ExpectPoint(out, 0, -1, 0);
    // A point on the axis stays.
    RotatePointAboutAxisF(P(0, 1, 0), P(3, 0, 3), 1.0f, P(3, 7, 3), out);
    ExpectPoint(out, 3, 7, 3);
}

TEST(PlaneCoordinates, SolvesByTheFirstUsablePair) {
    float s = 0, t = 0;
    ASSERT_TRUE(PlaneCoordinatesF(P(1, 0, 0), P(0, 1, 0), P(0, 0, 0), P(2, 3, 7), &s, &t));
    EXPECT_FLOAT_EQ(s, 2);
    EXPECT_FLOAT_EQ(t, 3);
    // Frame in the plane x = 0: the (y, z) pair.
    ASSERT_TRUE(PlaneCoordinatesF(P(0, 1, 0), P(0, 0, 1), P(0, 0, 0), P(0, 2, 5), &s, &t));
    EXPECT_FLOAT_EQ(s, 2);
    EXPECT_FLOAT_EQ(t, 5);
    // Frame in the plane y = 1: the (x, z) pair, relative to the origin o.
    ASSERT_TRUE(PlaneCoordinatesF(P(2, 1, 0), P(1, 1, 1), P(1, 1, 0), P(4, 1, 4), &s, &t));
    EXPECT_FLOAT_EQ(s, 3);
    EXPECT_FLOAT_EQ(t, 4);
    EXPECT_FALSE(PlaneCoordinatesF(P(1, 1, 1), P(2, 2, 2), P(0, 0, 0), P(4, 1, 4), &s, &t));
}

TEST(Intersections, LineAndSphere) {
    float out[3], t = 0;
    P p0(-10, 0, 0), p1(10, 0, 0);
    ASSERT_TRUE(IntersectLineSphereF(p0, p1, P(0, 0, 0), TRUE, out, &t, 5.0));
    ExpectPoint(out, 5, 0, 0);
    EXPECT_FLOAT_EQ(t, 0.75f);
    ASSERT_TRUE(IntersectLineSphereF(p0, p1, P(0, 0, 0), FALSE, out, &t, 5.0));
    ExpectPoint(out, -5, 0, 0);
    EXPECT_FLOAT_EQ(t, 0.25f);
    // Touching.
    ASSERT_TRUE(IntersectLineSphereF(p0, p1, P(2, 5, 0), TRUE, out, &t, 5.0));
    ExpectPoint(out, 2, 0, 0);
    EXPECT_FLOAT_EQ(t, 0.6f);
    // Missing by 0.0005 still touches at the foot; missing by 1 does not, and t holds the foot's.
    ASSERT_TRUE(IntersectLineSphereF(p0, p1, P(0, 5.0005f, 0), TRUE, out, &t, 5.0));
    ExpectPoint(out, 0, 0, 0);
    EXPECT_FLOAT_EQ(t, 0.5f);
    t = 0;
    EXPECT_FALSE(IntersectLineSphereF(p0, p1, P(4, 6, 0), TRUE, out, &t, 5.0));
    EXPECT_FLOAT_EQ(t, 0.7f);
    // A line without direction inside the sphere has no meeting point.
    EXPECT_FALSE(IntersectLineSphereF(P(1, 0, 0), P(1, 0, 0), P(0, 0, 0), TRUE, out, &t, 5.0));
    ASSERT_TRUE(IntersectLineSphereF(P(5, 0, 0), P(5, 0, 0), P(0, 0, 0), TRUE, out, &t, 5.0));
    ExpectPoint(out, 5, 0, 0);
}

TEST(ClampToBorder, NearestPointOfASegmentToALine) {
    float out[3];
    double t = -1;
    P a(0, 0, 0), b(4, 0, 0);
    EXPECT_DOUBLE_EQ(ClampToBorderF(a, b, P(1, -1, 2), P(1, 1, 2), out, &t), 2.0);
    ExpectPoint(out, 1, 0, 0);
    EXPECT_DOUBLE_EQ(t, 0.25);
    // Past either end: the end, and its distance to the line.
    EXPECT_DOUBLE_EQ(ClampToBorderF(a, b, P(6, -1, 2), P(6, 1, 2), out, &t), std::sqrt(8.0));
    ExpectPoint(out, 4, 0, 0);
    EXPECT_EQ(t, 1.0);
    EXPECT_DOUBLE_EQ(ClampToBorderF(a, b, P(-2, -1, 2), P(-2, 1, 2), out, &t), std::sqrt(8.0));
    ExpectPoint(out, 0, 0, 0);
    EXPECT_EQ(t, 0.0);
    // A line parallel to the edge: the midpoint.
    EXPECT_DOUBLE_EQ(ClampToBorderF(a, b, P(0, 1, 0), P(1, 1, 0), out, &t), 1.0);
    ExpectPoint(out, 2, 0, 0);
    EXPECT_EQ(t, 0.5);
    // A segment without length: its start.
    EXPECT_DOUBLE_EQ(ClampToBorderF(P(1, 1, 1), P(1, 1, 1), P(0, 1, 0), P(1, 1, 0), out, &t), 1.0);
    ExpectPoint(out, 1, 1, 1);
    EXPECT_EQ(t, 0.0);
    // A line that is a single point: the point projected onto the segment, clamped.
    EXPECT_DOUBLE_EQ(ClampToBorderF(a, b, P(3, 2, 0), P(3, 2, 0), out, &t), 2.0);
    ExpectPoint(out, 3, 0, 0);
    EXPECT_DOUBLE_EQ(t, 0.75);
    EXPECT_DOUBLE_EQ(ClampToBorderF(a, b, P(9, 0, 0), P(9, 0, 0), out, &t), 5.0);
    EXPECT_EQ(t, 1.0);
    EXPECT_DOUBLE_EQ(ClampToBorderF(P(2, 0, 0), P(2, 0, 0), P(2, 3, 4), P(2, 3, 4), out, &t), 5.0);
    EXPECT_EQ(t, 0.0);
}

TEST(Distances, PointToSegment) {
    double t = -1;
    P a(0, 0, 0), b(4, 0, 0);
    EXPECT_DOUBLE_EQ(DistancePointSegmentF(a, b, P(1, 3, 0), &t), 3.0);
    EXPECT_DOUBLE_EQ(t, 0.25);
    EXPECT_DOUBLE_EQ(DistancePointSegmentF(a, b, P(-3, 4, 0), &t), 5.0);
    EXPECT_EQ(t, 0.0);
    EXPECT_DOUBLE_EQ(DistancePointSegmentF(a, b, P(7, 4, 0), &t), 5.0);
    EXPECT_EQ(t, 1.0);
    EXPECT_DOUBLE_EQ(DistancePointSegmentF(a, a, P(3, 4, 0), &t), 5.0);
    EXPECT_EQ(t, 0.0);
}
