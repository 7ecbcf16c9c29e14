// Intersection points of lines, planes and circles on hand-computed figures: line extents, tolerances,
// the two roots, the cases without a point and the point coming back.
#include "points/intersection_points.h"

#include "model/arc_circles.h"

#include "points_fixture.h"

#include <cmath>

namespace {

const double kSqrt3 = std::sqrt(3.0);

class IntersectionPointsTest : public PointsTest {
protected:
    // The two roots of a crossing of a and b, of class T.
    template <class T> std::pair<T*, T*> Roots(WORD a, WORD b) {
        return {Add<T>(BYTE(0), a, b), Add<T>(BYTE(1), a, b)};
    }
    // A circle of radius 2 about the origin in the plane z = 0.
    CGArc* Circle2(BYTE kind = CGArc::kCircle) {
        const float c[] = {0, 0, 0}, u[] = {2, 0, 0}, v[] = {0, 2, 0};
        return Circle(c, u, v, kind);
    }
};

} // namespace

// Two lines

TEST_F(IntersectionPointsTest, TwoSegmentsMeetWhereBothReach) {
    CGLine* ab = Line(0, 0, 0, 4, 0, 0);
    CGLine* cd = Line(1, -1, 0, 1, 3, 0);
    auto* x = Add<CGVerIntersection>(ab->m_id, cd->m_id);
    EXPECT_EQ(x->m_name, u"E");
    ExpectValidAt(*x, 1, 0, 0);
    ExpectSynced(*x);
    EXPECT_FLOAT_EQ(x->m_param1, 0.25f); // on AB
    ASSERT_EQ(x->m_parents.GetSize(), 2);
    EXPECT_EQ(x->m_parents[0], ab->m_id);
    EXPECT_EQ(x->m_parents[1], cd->m_id);
    EXPECT_EQ(ab->m_children.GetTail(), x->m_id);
    EXPECT_EQ(cd->m_children.GetTail(), x->m_id);
    EXPECT_EQ(x->m_color, (CRgba{128, 0, 0, 255}));
    EXPECT_EQ(x->GetDescription(), u"线AB与线CD的交点");

    // C above AB: CD stops short of AB, and the point keeps its place and parameter.
    CGVertex* c = cd->GetEnd(0);
    MovePoint(c, 1, 1, 0);
    ExpectInvalidAt(*x, 1, 0, 0);
    EXPECT_FLOAT_EQ(x->m_param1, 0.25f);
    // The same pair as a line reaches AB at the same place.
    cd->m_kind = CGLine::kLine;
    Changed(cd);
    ExpectValidAt(*x, 1, 0, 0);
    // A ray from C through D runs away from AB; turned round it meets it.
    cd->m_kind = CGLine::kRay;
    Changed(cd);
    EXPECT_FALSE(x->m_valid);
    MovePoint(cd->GetEnd(1), 1, -3, 0);
    EXPECT_TRUE(x->m_valid);
    // Moving the first line moves the parameter.
    MovePoint(ab->GetEnd(1), 2, 0, 0);
    EXPECT_FLOAT_EQ(x->m_param1, 0.5f);
    ExpectNear(*x, 1, 0, 0);
    // Beyond the end of AB: a vector has the segment's extent.
    MoveLine(cd, 3, 1, 0, 3, -3, 0);
    EXPECT_FALSE(x->m_valid);
    ab->m_kind = CGLine::kVector;
    Changed(ab);
    EXPECT_FALSE(x->m_valid);
    ab->m_kind = CGLine::kRay;
    Changed(ab);
    ExpectValidAt(*x, 3, 0, 0);
    EXPECT_FLOAT_EQ(x->m_param1, 1.5f);

    // The end of a segment and the start of a ray count.
    CGLine* atEnd = Line(4, 0, 0, 4, 2, 0);
    ab->m_kind = CGLine::kSegment;
    MovePoint(ab->GetEnd(1), 4, 0, 0);
    auto* e = Add<CGVerIntersection>(ab->m_id, atEnd->m_id);
    ExpectValidAt(*e, 4, 0, 0);
    EXPECT_EQ(e->m_param1, 1.0f);
    CGLine* ray = Line(2, 0, 0, 2, 5, 0, CGLine::kRay);
    auto* y = Add<CGVerIntersection>(ray->m_id, ab->m_id);
    ExpectValidAt(*y, 2, 0, 0);
    EXPECT_EQ(y->m_param1, 0.0f);
}

TEST_F(IntersectionPointsTest, NearlyCoplanarLinesMeetOnTheFirstUntilTheFigureGrowsAndParallelOnesNever) {
    // |(C - A) . ((B - A) x (D - C))| = 16 h: at h = 1/8 exactly 2, still a point, on AB.
    CGLine* ab = Line(0, 0, 0, 4, 0, 0);
    CGLine* cd = Line(1, -1, 0.125f, 1, 3, 0.125f);
    auto* x = Add<CGVerIntersection>(ab->m_id, cd->m_id);
    ExpectValidAt(*x, 1, 0, 0);
    // Twice the size: 8 times the measure, no point.
    MovePoint(ab->GetEnd(1), 8, 0, 0);
    MoveLine(cd, 2, -2, 0.25f, 2, 6, 0.25f);
    ExpectInvalidAt(*x, 1, 0, 0);
    // Skew by a unit: no point; back in the plane: the point is there again.
    MoveLine(cd, 2, -2, 1, 2, 6, 1);
    EXPECT_FALSE(x->m_valid);
    MoveLine(cd, 2, -2, 0, 2, 6, 0);
    ExpectValidAt(*x, 2, 0, 0);
    // Parallel lines, apart or one on the other, have no point.
    ab->m_kind = cd->m_kind = CGLine::kLine;
    MoveLine(cd, 0, 1, 0, 4, 1, 0);
    EXPECT_FALSE(x->m_valid);
    MoveLine(cd, 1, 0, 0, 3, 0, 0);
    EXPECT_FALSE(x->m_valid);
    MovePoint(cd->GetEnd(1), 3, 2, 0);
    ExpectValidAt(*x, 1, 0, 0);
}

TEST_F(IntersectionPointsTest, ParentsThatAreHiddenMissingOrOfAnotherClass) {
    CGLine* ab = Line(0, 0, 0, 4, 0, 0);
    CGLine* cd = Line(1, -1, 0, 1, 3, 0);
    auto* x = Add<CGVerIntersection>(ab->m_id, cd->m_id);
    // Hidden but valid: still a point.
    cd->m_hidden = 1;
    Changed(cd);
    EXPECT_TRUE(x->m_valid);
    // A point where a line belongs, and an id that names nothing.
    CGVertex* a = ab->GetEnd(0);
    auto* onPoint = Add<CGVerIntersection>(ab->m_id, a->m_id);
    EXPECT_FALSE(onPoint->m_valid);
    EXPECT_EQ(onPoint->GetDescription(), u"线AB与线A的交点");
    auto* onNothing = Add<CGVerIntersection>(ab->m_id, WORD(900));
    EXPECT_FALSE(onNothing->m_valid);
    EXPECT_EQ(onNothing->GetDescription(), u"线AB与线的交点");
    // A line that lost a point.
    m_page->m_cells.RemoveKey(a->m_id);
    x->Recompute();
    EXPECT_FALSE(x->m_valid);
    m_page->m_cells.SetAt(a->m_id, a);
    x->Recompute();
    EXPECT_TRUE(x->m_valid);
}

// A line and a plane

TEST_F(IntersectionPointsTest, LineMeetsTheWholePlaneOfAFace) {
    const float p0[] = {0, 0, 0}, p1[] = {1, 0, 0}, p2[] = {0, 1, 0};
    CGFace* f = Face(p0, p1, p2);
    CGLine* de = Line(0.5f, 0.5f, 2, 0.5f, 0.5f, -2);
    auto* x = Add<CGVerIntersectionLF>(de->m_id, f->m_id);
    ExpectValidAt(*x, 0.5, 0.5, 0);
    ExpectSynced(*x);
    EXPECT_FLOAT_EQ(x->m_param1, 0.5f);
    EXPECT_EQ(x->GetDescription(), u"线DE与平面ABC的交点");

    // Far outside the triangle: the plane goes on.
    CGVertex* d = de->GetEnd(0);
    CGVertex* e = de->GetEnd(1);
    MoveLine(de, 10, 10, 1, 10, 10, -3);
    ExpectValidAt(*x, 10, 10, 0);
    EXPECT_FLOAT_EQ(x->m_param1, 0.25f);
    // A segment that stops short; as a ray it reaches the plane.
    MovePoint(e, 10, 10, 0.5f);
    EXPECT_FALSE(x->m_valid);
    de->m_kind = CGLine::kRay;
    Changed(de);
    EXPECT_TRUE(x->m_valid);
    EXPECT_FLOAT_EQ(x->m_param1, 2.0f);
    de->m_kind = CGLine::kSegment;
    // Ending exactly on the plane counts.
    MovePoint(e, 10, 10, 0);
    EXPECT_TRUE(x->m_valid);
    EXPECT_EQ(x->m_param1, 1.0f);
    // Parallel to the plane, lying in it or not: no point.
    MovePoint(d, 12, 10, 0);
    EXPECT_FALSE(x->m_valid);
    MoveLine(de, 12, 10, 1, 10, 10, 1);
    EXPECT_FALSE(x->m_valid);
    // Tilting the face to the plane x = z brings the point back, beyond the segment's end.
    MovePoint(f->GetCorner(1), 1, 0, 1);
    EXPECT_FALSE(x->m_valid);
    de->m_kind = CGLine::kLine;
    Changed(de);
    ExpectValidAt(*x, 1, 10, 1);
    EXPECT_FLOAT_EQ(x->m_param1, 5.5f);
}

TEST_F(IntersectionPointsTest, PlaneOfCollinearCornersOrParentsSwappedHaveNoPoint) {
    const float p0[] = {0, 0, 0}, p1[] = {1, 0, 0}, p2[] = {2, 0, 0};
    CGFace* f = Face(p0, p1, p2);
    CGLine* de = Line(0.5f, 0.5f, 2, 0.5f, 0.5f, -2);
    EXPECT_FALSE(Add<CGVerIntersectionLF>(de->m_id, f->m_id)->m_valid);
    EXPECT_FALSE(Add<CGVerIntersectionLF>(f->m_id, de->m_id)->m_valid);
}

// A line and a circle

TEST_F(IntersectionPointsTest, LineThroughACircleGivesTheNearerAndTheFartherRoot) {
    CGArc* k = Circle2();
    CGLine* ab = Line(-4, 0, 0, 4, 0, 0);
    auto [r0, r1] = Roots<CGVerIntersectionLS>(ab->m_id, k->m_id);
    EXPECT_EQ(r0->m_kind, 0);
    EXPECT_EQ(r1->m_kind, 1);
    ExpectValidAt(*r0, -2, 0, 0);
    ExpectValidAt(*r1, 2, 0, 0);
    ExpectSynced(*r1);
    EXPECT_EQ(r1->m_param1, 0.0f); // not written by this class
    EXPECT_EQ(r0->GetDescription(), u"线AB与圆c1的交点");

    struct Case {
        float y;       // the line from (-4, y) to (4, y)
        double x0, x1; // the roots' x
        bool valid;
    };
    // Turned round, the farther root is the other point.
    MoveLine(ab, 4, 0, 0, -4, 0, 0);
    ExpectNear(*r0, 2, 0, 0);
    ExpectNear(*r1, -2, 0, 0);
    // A tangent and a line passing just outside (by less than 0.001) touch at the foot; further
    // out there is nothing, the points staying where they were; further in, two points again.
    for (Case c : {Case{2, 0, 0, true}, Case{2.0005f, 0, 0, true}, Case{2.01f, 0, 0, false},
                   Case{1, -kSqrt3, kSqrt3, true}}) {
        SCOPED_TRACE(c.y);
        const double y = c.valid ? c.y : 2.0005;
        MoveLine(ab, -4, c.y, 0, 4, c.y, 0);
        EXPECT_EQ(r0->m_valid, c.valid);
        EXPECT_EQ(r1->m_valid, c.valid);
        ExpectNear(*r0, c.x0, y, 0);
        ExpectNear(*r1, c.x1, y, 0);
    }
}

TEST_F(IntersectionPointsTest, EachRootHasItsOwnExtentTestAndTheLineMustMeetTheCirclesPlane) {
    CGArc* k = Circle2();
    // From the centre: the farther root lies on the segment, the nearer before its start.
    CGLine* ab = Line(0, 0, 0, 4, 0, 0);
    auto [r0, r1] = Roots<CGVerIntersectionLS>(ab->m_id, k->m_id);
    EXPECT_FALSE(r0->m_valid);
    ExpectValidAt(*r1, 2, 0, 0);
    // A ray as the segment; a line reaches both; a kind no line has tests no extent: no point.
    for (auto [kind, first, second] :
         {std::tuple{CGLine::kRay, false, true}, {CGLine::kLine, true, true}, {BYTE(7), false, false}}) {
        ab->m_kind = kind;
        Changed(ab);
        EXPECT_EQ(r0->m_valid, first) << int(kind);
        EXPECT_EQ(r1->m_valid, second) << int(kind);
        if (first)
            ExpectNear(*r0, -2, 0, 0);
    }
    ab->m_kind = CGLine::kSegment;
    // The segment's bounds are widened by 1e-6: a start 7.5e-7 of the segment short of the circle
    // still meets it, one 2.5e-6 short does not.
    MoveLine(ab, -1.999998f, 0, 0, 2, 0, 0);
    ExpectValidAt(*r0, -2, 0, 0);
    MovePoint(ab->GetEnd(0), -1.99999f, 0, 0);
    EXPECT_FALSE(r0->m_valid);
    EXPECT_TRUE(r1->m_valid); // exactly at the end: t = 1
    // Through the sphere about the circle but off its plane: no point; piercing the plane on the
    // circle itself: both roots there.
    MoveLine(ab, 1, 0, -4, 1, 0, 4);
    EXPECT_FALSE(r0->m_valid);
    EXPECT_FALSE(r1->m_valid);
    MoveLine(ab, 2, 0, -4, 2, 0, 4);
    ExpectValidAt(*r0, 2, 0, 0);
    ExpectValidAt(*r1, 2, 0, 0);
}

TEST_F(IntersectionPointsTest, LineAndCircleThatMoves) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(2, 0, 0);
    CGVertex* b = AddPoint(0, 1, 0);
    CGArcCenterP* k = Insert(new CGArcCenterP(NextId(), o->m_id, a->m_id, b->m_id, CGArc::kCircle));
    CGLine* line = Line(-4, 0, 0, 4, 0, 0);
    auto* r1 = Add<CGVerIntersectionLS>(BYTE(1), line->m_id, k->m_id);
    ExpectValidAt(*r1, 2, 0, 0);
    // A on the line OB: no circle, so no point; then a larger circle.
    MovePoint(a, 0, 3, 0);
    EXPECT_FALSE(k->m_valid);
    EXPECT_FALSE(r1->m_valid);
    MovePoint(a, 3, 0, 0);
    ExpectValidAt(*r1, 3, 0, 0);
}

// Two circles

TEST_F(IntersectionPointsTest, TwoCirclesInOnePlane) {
    CGArc* k1 = Circle2();
    CGVertex* o = AddPoint(2, 0, 0);
    CGVertex* a = AddPoint(4, 0, 0);
    CGVertex* b = AddPoint(2, 1, 0);
    CGArcCenterP* k2 = Insert(new CGArcCenterP(NextId(), o->m_id, a->m_id, b->m_id, CGArc::kDisc));
    auto [s0, s1] = Roots<CGVerIntersectionSS>(k1->m_id, k2->m_id);
    EXPECT_EQ(s0->GetDescription(), u"圆c1与圆c2的交点");
    // M = (1, 0, 0), h = sqrt 3, q = N1 x D along +y.
    ExpectValidAt(*s0, 1, -kSqrt3, 0);
    ExpectValidAt(*s1, 1, kSqrt3, 0);
    ExpectSynced(*s0);

    auto place = [&](float x, float y, float z, float r) {
        MovePoint(o, x, y, z);
        MovePoint(a, x + r, y, z);
        MovePoint(b, x, y + 1, z);
    };
    // Touching from outside: one point for both roots.
    place(4, 0, 0, 2);
    ExpectValidAt(*s0, 2, 0, 0);
    ExpectValidAt(*s1, 2, 0, 0);
    // Apart, one inside the other, concentric, or in parallel planes: no point.
    place(5, 0, 0, 2);
    ExpectInvalidAt(*s0, 2, 0, 0);
    EXPECT_FALSE(s1->m_valid);
    place(0.5f, 0, 0, 1);
    EXPECT_FALSE(s0->m_valid);
    place(0, 0, 0, 2);
    EXPECT_FALSE(s0->m_valid);
    EXPECT_TRUE(std::isfinite(s0->m_x));
    place(1, 0, 1, 2);
    EXPECT_FALSE(s0->m_valid);
    EXPECT_FALSE(s1->m_valid);
    // Back in the plane the points come back: M = (0, 1, 0), q = N1 x D along -x.
    place(0, 2, 0, 2);
    ExpectValidAt(*s0, kSqrt3, 1, 0);
    ExpectValidAt(*s1, -kSqrt3, 1, 0);
}

TEST_F(IntersectionPointsTest, SlightlyTiltedCirclesCountAsOnePlane) {
    // |N1 x N2| = 16 sin a: at 0.05 (below 0.1) the circles are taken to share the plane z = 0; in
    // their own planes they would only meet on the x axis, at no point of the second circle.
    const double s = 0.05 / 16.0, c = std::sqrt(1.0 - s * s);
    const float c2[] = {2, 0, 0}, u[] = {2, 0, 0};
    const float tilted[] = {0, float(2.0 * c), float(2.0 * s)};
    CGArc* k1 = Circle2();
    CGArc* k2 = Circle(c2, u, tilted);
    auto [s0, s1] = Roots<CGVerIntersectionSS>(k1->m_id, k2->m_id);
    ExpectValidAt(*s0, 1, -kSqrt3, 0);
    ExpectValidAt(*s1, 1, kSqrt3, 0);
}

TEST_F(IntersectionPointsTest, TwoCirclesInTwoPlanes) {
    CGArc* k1 = Circle2();
    // In the plane x = 1 about (1, 0, 0) with radius sqrt 3: both points of the common line x = 1,
    // z = 0 on the first circle lie on it; m = N1 x N2 runs along +y.
    const float r = float(kSqrt3);
    const float c2[] = {1, 0, 0}, u2[] = {0, r, 0}, v2[] = {0, 0, r};
    auto [s0, s1] = Roots<CGVerIntersectionSS>(k1->m_id, Circle(c2, u2, v2)->m_id);
    ExpectValidAt(*s0, 1, -kSqrt3, 0);
    ExpectValidAt(*s1, 1, kSqrt3, 0);
    // About (1, sqrt 3 - 1, 0) with radius 1 only the farther point lies on the second circle: the
    // other root is never tried in its place.
    const float c3[] = {1, float(kSqrt3 - 1.0), 0}, u3[] = {0, 1, 0}, v3[] = {0, 0, 1};
    auto [t0, t1] = Roots<CGVerIntersectionSS>(k1->m_id, Circle(c3, u3, v3)->m_id);
    EXPECT_FALSE(t0->m_valid);
    ExpectValidAt(*t1, 1, kSqrt3, 0);
    // A plane that misses the first circle; a circle without radius.
    const float c4[] = {3, 0, 0}, zero[] = {0, 0, 0};
    EXPECT_FALSE(Add<CGVerIntersectionSS>(BYTE(1), k1->m_id, Circle(c4, u3, v3)->m_id)->m_valid);
    CGArc* k5 = Circle(c2, zero, zero);
    EXPECT_FALSE(Add<CGVerIntersectionSS>(BYTE(1), k1->m_id, k5->m_id)->m_valid);
    EXPECT_FALSE(Add<CGVerIntersectionSS>(BYTE(1), k5->m_id, k1->m_id)->m_valid);
}

// A circle and a plane

TEST_F(IntersectionPointsTest, CircleMeetsThePlaneOfAFace) {
    CGArc* k = Circle2(CGArc::kSector);
    CGVertex* p = AddPoint(1, 0, 0);
    CGVertex* q = AddPoint(1, 1, 0);
    CGVertex* r = AddPoint(1, 0, 1);
    CGFace* f = AddFace({p->m_id, q->m_id, r->m_id});
    auto [f0, f1] = Roots<CGVerIntersectionCF>(k->m_id, f->m_id);
    EXPECT_EQ(f1->GetDescription(), u"圆c1与平面ABC的交点");
    // nf = (-1, 0, 0), q = nf x m = (0, 1, 0): root 1 along +y.
    ExpectValidAt(*f0, 1, -kSqrt3, 0);
    ExpectValidAt(*f1, 1, kSqrt3, 0);
    ExpectSynced(*f0);

    auto plane = [&](float x) {
        MovePoint(p, x, 0, 0);
        MovePoint(q, x, 1, 0);
        MovePoint(r, x, 0, 1);
    };
    // Touching: one point for both roots; beyond: none.
    plane(2);
    ExpectValidAt(*f0, 2, 0, 0);
    ExpectValidAt(*f1, 2, 0, 0);
    plane(3);
    EXPECT_FALSE(f0->m_valid);
    EXPECT_FALSE(f1->m_valid);
    // Tilted about the line x = 1, z = 0: the same two points.
    plane(1);
    MovePoint(r, 2, 0, 1);
    ExpectValidAt(*f0, 1, -kSqrt3, 0);
    ExpectValidAt(*f1, 1, kSqrt3, 0);
    // Parallel to the circle: no point, whatever the distance.
    MovePoint(p, 0, 0, 1);
    MovePoint(q, 1, 0, 1);
    MovePoint(r, 0, 1, 1);
    EXPECT_FALSE(f0->m_valid);
    EXPECT_FALSE(f1->m_valid);
    // Collinear corners span no plane.
    MovePoint(r, 2, 0, 1);
    EXPECT_FALSE(f0->m_valid);
    EXPECT_TRUE(std::isfinite(f0->m_x));
    plane(-1);
    ExpectValidAt(*f0, -1, -kSqrt3, 0);
    ExpectValidAt(*f1, -1, kSqrt3, 0);

    // A circle without axes meets no plane.
    const float c[] = {0, 0, 0};
    auto* x = Add<CGVerIntersectionCF>(BYTE(1), Circle(c, c, c)->m_id, f->m_id);
    EXPECT_FALSE(x->m_valid);
    EXPECT_TRUE(std::isfinite(x->m_x));
}
