// The horizontal circles on a point and on a value and the arc of a circle between two points: frames,
// reversal, arcs across angle 0, no circle and back, descriptions and records.
#include "points/constructed_arcs.h"

#include "model/arc_circles.h"

#include "points_fixture.h"

#include <cmath>

namespace {

class ConstructedArcsTest : public PointsTest {
protected:
    static void ExpectVec(const float* v, double x, double y, double z, double tolerance = 1e-6) {
        EXPECT_NEAR(v[0], x, tolerance);
        EXPECT_NEAR(v[1], y, tolerance);
        EXPECT_NEAR(v[2], z, tolerance);
    }
    // The label hangs at the circle point of the label angle plus the label offset.
    static void ExpectLabelPlaced(const CGArc& arc) {
        double q[3];
        arc.PointAtAngle(arc.m_labelAngle, q);
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(arc.m_labelPos[i], float(q[i] + arc.m_labelOffset[i]));
    }
    // The circle record: the class tag, the common record, then the frame and the label.
    static ByteBuilder ArcRecord(const char* className, const CGArc& arc) {
        ByteBuilder b;
        b.NewClass(className);
        CommonRecord common;
        common.id = arc.m_id;
        common.name = arc.m_name.Str();
        common.valid = arc.m_valid;
        common.kind = arc.m_kind;
        for (int i = 0; i < 3; ++i)
            common.labelPos[i] = arc.m_labelPos[i];
        common.color = CRgba{0, 128, 0, 255};
        for (WORD parent : arc.m_parents)
            common.parents.push_back(parent);
        common.AppendTo(b);
        for (const float* v : {arc.m_center, arc.m_axisU, arc.m_axisV})
            b.F32(v[0]).F32(v[1]).F32(v[2]);
        b.F32(arc.m_startAngle).F32(arc.m_endAngle).U8(1).F32(1.0f);
        b.F32(0.5f).F32(0.5f).F32(0.5f);
        return b;
    }
};

} // namespace

TEST_F(ConstructedArcsTest, HorizontalCircleOverAPoint) {
    CGVertex* o = AddPoint(1, 2, 3);
    CGVertex* p = AddPoint(4, 6, 10);
    auto* circle = Insert(new CGArcPoint2(NextId(), o->m_id, p->m_id, CGArc::kCircle));
    EXPECT_TRUE(circle->m_valid);
    EXPECT_EQ(circle->m_name, u"c1");
    EXPECT_EQ(circle->m_extA2, 0);
    EXPECT_EQ(circle->m_color, g_colorArcSolid);
    ExpectVec(circle->m_center, 1, 2, 3);
    ExpectVec(circle->m_axisU, 3, 4, 0);
    ExpectVec(circle->m_axisV, -4, 3, 0);
    EXPECT_FLOAT_EQ(circle->m_radius, 5.0f);
    ExpectLabelPlaced(*circle);
    EXPECT_EQ(o->m_children.GetTail(), circle->m_id);
    EXPECT_EQ(p->m_children.GetTail(), circle->m_id);
    EXPECT_EQ(circle->GetDescription(), u"以点A为圆心，过点B的平置圆");
    // Raising the point changes nothing; moving the centre carries the circle in its plane z = 3.
    MovePoint(p, 4, 6, -20);
    ExpectVec(circle->m_axisU, 3, 4, 0);
    MovePoint(o, 1, 2, 0);
    ExpectVec(circle->m_center, 1, 2, 0);
    ExpectVec(circle->m_axisU, 3, 4, 0);
    ExpectLabelPlaced(*circle);
    // Straight above the centre there is no circle; sideways again, the horizontal distance.
    MovePoint(p, 1, 2, 7);
    EXPECT_FALSE(circle->m_valid);
    MovePoint(p, 1, -0.5f, 7);
    EXPECT_TRUE(circle->m_valid);
    EXPECT_FLOAT_EQ(circle->m_radius, 2.5f);
    ExpectVec(circle->m_axisU, 0, -2.5, 0);
    ExpectVec(circle->m_axisV, 2.5, 0, 0);
    // Invalid while the centre or the point is; the centre is taken before the point is asked.
    p->m_valid = false;
    MovePoint(o, 0, 0, 1);
    EXPECT_FALSE(circle->m_valid);
    ExpectVec(circle->m_center, 0, 0, 1);
    p->m_valid = true;
    o->m_valid = false;
    MovePoint(p, 3, 0, 1);
    EXPECT_FALSE(circle->m_valid);
    o->m_valid = true;
    MovePoint(p, 3, 0, 1);
    EXPECT_TRUE(circle->m_valid);
    ExpectVec(circle->m_axisU, 3, 0, 0);
}

TEST_F(ConstructedArcsTest, ReversedHorizontalArcsRunTheOtherWay) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* p = AddPoint(2, 0, 5);
    auto* sector = Insert(new CGArcPoint2(NextId(), o->m_id, p->m_id, CGArc::kSector));
    sector->m_startAngle = 0.0f;
    sector->m_endAngle = float(kPi / 2);
    double q[3];
    sector->PointAt(1.0, q);
    EXPECT_NEAR(q[1], 2.0, 1e-6); // the quarter towards +y
    EXPECT_EQ(sector->GetDescription(), u"以点A为圆心，过点B的平置扇形");
    sector->m_extA2 = 1;
    sector->Recompute();
    ExpectVec(sector->m_axisV, 0, -2, 0);
    sector->PointAt(1.0, q);
    EXPECT_NEAR(q[1], -2.0, 1e-6); // the same angles now towards -y
    // Recomputation leaves the sweep alone.
    EXPECT_EQ(sector->m_endAngle, float(kPi / 2));
    EXPECT_EQ(sector->GetDescription(), u"以点A为圆心，过点B的平置扇形反向");
    const char16_t* kinds[] = {u"以点A为圆心，过点B的平置圆反向", u"以点A为圆心，过点B的平置弧反向",
                               u"以点A为圆心，过点B的平置圆面反向", u"以点A为圆心，过点B的平置扇形反向",
                               u"以点A为圆心，过点B的平置弓形反向"};
    for (BYTE kind = 0; kind < 5; ++kind) {
        sector->m_kind = kind;
        EXPECT_EQ(sector->GetDescription(), kinds[kind]);
    }
    sector->m_kind = 5;
    EXPECT_EQ(sector->GetDescription(), u"");
}

TEST_F(ConstructedArcsTest, HorizontalCircleOnAValue) {
    CGVertex* o = AddPoint(1, 1, 4);
    CGTmVariable* r = AddValue(-3.0f, u"r");
    auto* circle = Insert(new CGArcCenterR(NextId(), o->m_id, r->m_id, CGArc::kCircle));
    EXPECT_TRUE(circle->m_valid);
    EXPECT_EQ(circle->m_name, u"c1");
    EXPECT_EQ(circle->m_radius, 3.0f);
    ExpectVec(circle->m_center, 1, 1, 4);
    ExpectVec(circle->m_axisU, 3, 0, 0);
    ExpectVec(circle->m_axisV, 0, 3, 0);
    ExpectLabelPlaced(*circle);
    EXPECT_EQ(r->m_children.GetTail(), circle->m_id);
    EXPECT_EQ(circle->GetDescription(), u"以点A为圆心，r为半径的圆");
    // A value of 0 keeps a circle, of radius 1e-20.
    r->m_param1 = 0.0f;
    Changed(r);
    EXPECT_TRUE(circle->m_valid);
    EXPECT_EQ(circle->m_radius, 1e-20f);
    EXPECT_EQ(circle->m_axisU[0], 1e-20f);
    r->m_param1 = 0.5f;
    circle->m_extA2 = 1;
    Changed(r);
    ExpectVec(circle->m_axisV, 0, -0.5, 0);
    // Invalid while the value is, and on a parent that is no value.
    r->m_valid = false;
    Changed(r);
    EXPECT_FALSE(circle->m_valid);
    r->m_valid = true;
    Changed(r);
    EXPECT_TRUE(circle->m_valid);
    CGVertex* notValue = AddPoint(0, 0, 0);
    auto* onPoint = Insert(new CGArcCenterR(NextId(), o->m_id, notValue->m_id, CGArc::kDisc));
    EXPECT_FALSE(onPoint->m_valid);
    EXPECT_EQ(onPoint->m_name, u"c2");
    const char16_t* kinds[] = {u"以点A为圆心，r为半径的圆反向", u"以点A为圆心，r为半径的平置弧反向",
                               u"以点A为圆心，r为半径的平置圆面反向", u"以点A为圆心，r为半径的平置扇形反向",
                               u"以点A为圆心，r为半径的平置弓形反向"};
    for (BYTE kind = 0; kind < 5; ++kind) {
        circle->m_kind = kind;
        EXPECT_EQ(circle->GetDescription(), kinds[kind]);
    }
}

TEST_F(ConstructedArcsTest, ArcOfACircleBetweenTwoPoints) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    const float s3 = float(std::sqrt(3.0));
    CGVertex* a = AddPoint(1, -s3, 0); // at 300 degrees
    CGVertex* b = AddPoint(1, s3, 0);  // at 60 degrees
    auto* arc = Insert(new CGArcInCircle(NextId(), a->m_id, b->m_id, circle->m_id));
    EXPECT_TRUE(arc->m_valid);
    EXPECT_EQ(arc->m_name, u"c2");
    EXPECT_EQ(arc->m_kind, CGArc::kArc);
    EXPECT_EQ(arc->m_radius, 2.0f);
    ExpectVec(arc->m_axisU, 2, 0, 0);
    // From A across angle 0 to B: the end lies a turn on.
    EXPECT_NEAR(arc->m_startAngle, 5 * kPi / 3, 1e-5);
    EXPECT_NEAR(arc->m_endAngle, 7 * kPi / 3, 1e-5);
    double q[3];
    arc->PointAt(0.5, q);
    EXPECT_NEAR(q[0], 2.0, 1e-5);
    EXPECT_NEAR(q[1], 0.0, 1e-5);
    ExpectLabelPlaced(*arc);
    EXPECT_EQ(arc->GetDescription(), u"圆c1上两点A、B间的弧");
    EXPECT_EQ(circle->m_children.GetTail(), arc->m_id);
    // Swapped, the arc runs the short way round from B to A.
    auto* back = Insert(new CGArcInCircle(NextId(), b->m_id, a->m_id, circle->m_id));
    EXPECT_NEAR(back->m_startAngle, kPi / 3, 1e-5);
    EXPECT_NEAR(back->m_endAngle, 5 * kPi / 3, 1e-5);
    // Points off the circle count by their direction in its plane.
    MovePoint(a, -5, 0, 9);
    EXPECT_NEAR(arc->m_startAngle, kPi, 1e-5);
    EXPECT_NEAR(arc->m_endAngle, 7 * kPi / 3, 1e-5);
    // The same angle: an empty sweep.
    MovePoint(b, -1, 0, 0);
    EXPECT_TRUE(arc->m_valid);
    EXPECT_NEAR(arc->m_startAngle, kPi, 1e-5);
    EXPECT_EQ(arc->m_startAngle, arc->m_endAngle);
    // A point on the centre has angle 0.
    MovePoint(b, 0, 0, 0);
    EXPECT_EQ(arc->m_endAngle, float(2 * kPi));
    EXPECT_NEAR(arc->m_startAngle, kPi, 1e-5);
}

TEST_F(ConstructedArcsTest, ArcFollowsItsCircleAndNeedsAllItsParents) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* p = AddPoint(0, 0, 2);
    CGVertex* axis = AddPoint(1, 0, 0);
    // The circle about the x axis through (0, 0, 2): U along z; V = +-y by its reversal.
    auto* circle = Insert(new CGArcPointN(NextId(), o->m_id, p->m_id, axis->m_id, CGArc::kCircle, 0));
    ASSERT_TRUE(circle->m_valid);
    ExpectVec(circle->m_axisV, 0, -2, 0);
    CGVertex* a = AddPoint(7, 0, 2);  // along U
    CGVertex* b = AddPoint(7, -2, 0); // along V
    auto* arc = Insert(new CGArcInCircle(NextId(), a->m_id, b->m_id, circle->m_id));
    EXPECT_NEAR(arc->m_startAngle, 0, 1e-6);
    EXPECT_NEAR(arc->m_endAngle, kPi / 2, 1e-6);
    ExpectVec(arc->m_center, 0, 0, 0);
    // The circle reversed: V turns round, and so does the sense in which the arc runs.
    circle->m_extA2 = 1;
    circle->Recompute();
    Changed(circle);
    EXPECT_NEAR(arc->m_startAngle, 0, 1e-6);
    EXPECT_NEAR(arc->m_endAngle, 3 * kPi / 2, 1e-5);
    // Invalid while the circle, A or B is; valid again after.
    for (CGCell* parent : {static_cast<CGCell*>(circle), static_cast<CGCell*>(a), static_cast<CGCell*>(b)}) {
        parent->m_valid = false;
        arc->Recompute();
        EXPECT_FALSE(arc->m_valid);
        parent->m_valid = true;
        arc->Recompute();
        EXPECT_TRUE(arc->m_valid);
    }
    // Parents of the wrong class.
    auto* wrong = Insert(new CGArcInCircle(NextId(), a->m_id, circle->m_id, b->m_id));
    EXPECT_FALSE(wrong->m_valid);
}

TEST_F(ConstructedArcsTest, RecordsAreTheCircleRecord) {
    CGVertex* o = AddPoint(1, 2, 3);
    CGVertex* p = AddPoint(4, 6, 3);
    auto* circle = Insert(new CGArcPoint2(NextId(), o->m_id, p->m_id, CGArc::kSegment));
    ExpectRecord<CGArcPoint2>(circle, ArcRecord("CGArcPoint2", *circle).Bytes());
    CGArc* c = AddCircle(0, 0, 0, 1);
    auto* arc = Insert(new CGArcInCircle(NextId(), o->m_id, p->m_id, c->m_id));
    ExpectRecord<CGArcInCircle>(arc, ArcRecord("CGArcInCircle", *arc).Bytes());
    CGTmVariable* r = AddValue(2.0f, u"r");
    auto* plain = Insert(new CGArcCenterR(NextId(), o->m_id, r->m_id, CGArc::kDisc));
    ExpectRecord<CGArcCenterR>(plain, ArcRecord("CGArcCenterR", *plain).Bytes());
    // The reversal travels in the common record.
    auto* onValue = Insert(new CGArcCenterR(NextId(), o->m_id, r->m_id, CGArc::kArc));
    onValue->m_extA2 = 1;
    onValue->Recompute();
    auto value = Loaded<CGArcCenterR>(Stored(onValue));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->m_extA2, 1);
    ExpectVec(value->m_axisV, 0, -2, 0);
    EXPECT_EQ(Stored(value.get()), Stored(onValue));
}
