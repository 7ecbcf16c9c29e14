// The foot of the common perpendicular, the point on values and the circle points at another cell's
// parameter: positions, no solution and back, descriptions and (damaged) records.
#include "points/misc_points.h"

#include "points_fixture.h"

#include <cmath>

namespace {

class SpecialPointsTest : public PointsTest {};

} // namespace

TEST_F(SpecialPointsTest, CommonPerpendicularFeet) {
    CGVertex* a0 = AddPoint(0, 0, 0);
    CGVertex* a1 = AddPoint(1, 0, 0);
    CGVertex* b0 = AddPoint(2, 0, 3);
    CGVertex* b1 = AddPoint(2, 1, 3);
    CGLine* a = AddLine(a0->m_id, a1->m_id);
    CGLine* b = AddLine(b0->m_id, b1->m_id, CGLine::kLine);
    auto* onA = Add<CGVerCommonperpen>(a->m_id, b->m_id);
    auto* onB = Add<CGVerCommonperpen>(b->m_id, a->m_id);
    // The x axis and the line x = 2, z = 3 along y: the feet lie beyond the segments' ends.
    ExpectValidAt(*onA, 2, 0, 0);
    ExpectNear(*onB, 2, 0, 3);
    ExpectSynced(*onA);
    EXPECT_EQ(onA->GetDescription(), u"直线AB上与直线CD距离最小的点");
    EXPECT_EQ(onB->GetDescription(), u"直线CD上与直线AB距离最小的点");
    EXPECT_EQ(a->m_children.GetHead(), onA->m_id);
    // Parallel lines have no common perpendicular: invalid where they were, back when they turn.
    MovePoint(b1, 3, 0, 3);
    EXPECT_FALSE(onA->m_valid);
    EXPECT_FALSE(onB->m_valid);
    ExpectNear(*onA, 2, 0, 0);
    MovePoint(b1, 2, 0, 4); // now along z through (2, 0, 3)
    ExpectValidAt(*onA, 2, 0, 0);
    ExpectNear(*onB, 2, 0, 0);
    // An invalid line, or a parent that is no line.
    a->m_valid = false;
    Changed(a);
    EXPECT_FALSE(onA->m_valid);
    EXPECT_FALSE(onB->m_valid);
    auto* onPoint = Add<CGVerCommonperpen>(a0->m_id, b->m_id);
    EXPECT_FALSE(onPoint->m_valid);
}

TEST_F(SpecialPointsTest, PointOnValues) {
    CGTmVariable* v1 = AddValue(2.0f, u"m1");
    CGTmVariable* v2 = AddValue(-3.0f, u"m2");
    auto* p = Add<CGVerCoordinates>(IdList({v1->m_id, v2->m_id}), 2, 0, 1, 9.0f, 7.0f, 5.0f);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, -3, 7, 2);
    ExpectSynced(*p);
    EXPECT_EQ(p->GetDescription(), u"根据值绘制点（m2,7.0000,m1）");
    // x follows the second value, z the first; y keeps its number.
    v2->m_param1 = 1.5f;
    Changed(v2);
    ExpectAt(*p, 1.5f, 7, 2);
    // Every value must be valid, also one that gives no coordinate.
    auto* yOnly = Add<CGVerCoordinates>(IdList({v1->m_id, v2->m_id}), 0, 1, 0, 9.0f, 7.0f, 5.0f);
    ExpectAt(*yOnly, 9, 2, 5);
    v2->m_valid = false;
    Changed(v2);
    EXPECT_FALSE(yOnly->m_valid);
    EXPECT_FALSE(p->m_valid);
    v2->m_valid = true;
    v1->m_param1 = -4.0f;
    Changed(v1);
    EXPECT_TRUE(yOnly->m_valid);
    ExpectAt(*yOnly, 9, -4, 5);
    ExpectAt(*p, 1.5f, 7, -4);
}

TEST_F(SpecialPointsTest, PointOnValuesTakesAtMostThreeAndOnlyValues) {
    // No values: a point that never moves.
    auto* fixed = Add<CGVerCoordinates>(CList<WORD, WORD>(), 0, 0, 0, 1.25f, -2.0f, 0.5f);
    ExpectValidAt(*fixed, 1.25f, -2, 0.5f);
    ExpectSynced(*fixed);
    fixed->Recompute();
    ExpectAt(*fixed, 1.25f, -2, 0.5f);
    EXPECT_EQ(fixed->GetDescription(), u"根据值绘制点（1.2500,-2.0000,0.5000）");
    CGTmVariable* v[4] = {AddValue(1, u"a"), AddValue(2, u"b"), AddValue(3, u"c"), AddValue(4, u"d")};
    auto* p = Add<CGVerCoordinates>(IdList({v[0]->m_id, v[1]->m_id, v[2]->m_id, v[3]->m_id}), 3, 2, 1, 0.0f,
                                    0.0f, 0.0f);
    ASSERT_EQ(p->m_parents.GetSize(), 3);
    EXPECT_TRUE(v[3]->m_children.IsEmpty());
    ExpectAt(*p, 3, 2, 1);
    // A source that names no value.
    auto* beyond = Add<CGVerCoordinates>(IdList({v[0]->m_id}), 2, 0, 0, 0.0f, 0.0f, 0.0f);
    EXPECT_FALSE(beyond->m_valid);
    EXPECT_EQ(beyond->GetDescription(), u"根据值绘制点（,0.0000,0.0000）");
    // A parent that is a point, not a value.
    CGVertex* a = AddPoint(1, 1, 1);
    EXPECT_FALSE(Add<CGVerCoordinates>(IdList({a->m_id}), 1, 0, 0, 0.0f, 0.0f, 0.0f)->m_valid);
}

TEST_F(SpecialPointsTest, PointOnValuesRecord) {
    CGTmVariable* v1 = AddValue(2.0f, u"m1");
    CGTmVariable* v2 = AddValue(-3.0f, u"m2");
    auto* p = Add<CGVerCoordinates>(IdList({v1->m_id, v2->m_id}), 2, 0, 1, 9.0f, 7.0f, 5.0f);
    const std::vector<BYTE> bytes = PointRecord("CGVerCoordinates", *p).I32(2).I32(0).I32(1).Bytes();
    ExpectRecord<CGVerCoordinates>(p, bytes);
    // A source beyond the parents, a negative one, or a fourth parent: a damaged record.
    for (int field : {0, 1, 2}) {
        for (int bad : {3, -1}) {
            std::vector<BYTE> damaged = bytes;
            const size_t at = damaged.size() - 12 + 4 * size_t(field);
            damaged[at] = BYTE(bad & 0xFF);
            damaged[at + 1] = damaged[at + 2] = damaged[at + 3] = bad < 0 ? 0xFF : 0;
            EXPECT_THROW(Loaded<CGVerCoordinates>(damaged), CArchiveException) << field << " " << bad;
        }
    }
    p->m_parents.Add(AddValue(0, u"m3")->m_id);
    p->m_parents.Add(AddValue(0, u"m4")->m_id);
    EXPECT_THROW(Loaded<CGVerCoordinates>(Stored(p)), CArchiveException);
}

TEST_F(SpecialPointsTest, CirclePointTurnedFromAnotherPointsParameter) {
    CGArc* circle = AddCircle(1, 2, 0, 2);
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, 0.5f);
    auto* q = Add<CGVerInCircleRot>(p->m_id, circle->m_id, float(kPi / 2));
    EXPECT_TRUE(q->m_valid);
    const float theta = 0.5f + float(kPi / 2);
    EXPECT_EQ(q->m_param1, theta);
    ExpectNear(*q, 1 + 2 * std::cos(theta), 2 + 2 * std::sin(theta), 0);
    ExpectSynced(*q);
    EXPECT_EQ(q->GetDescription(), u"在圆c1上绕圆心按点A的参数再旋转90.0000度的点");
    // Angle 0: the very point P.
    auto* same = Add<CGVerInCircleRot>(p->m_id, circle->m_id, 0.0f);
    ExpectNear(*same, p->m_x, p->m_y, p->m_z, 1e-6);
    EXPECT_EQ(same->GetDescription(), u"在圆c1上绕圆心按点A的参数再旋转0.0000度的点");
    // P dragged round the circle: the turned point follows.
    RayDownZ(1, 5);
    CDragRun(*m_page, *p).Move();
    EXPECT_FLOAT_EQ(p->m_param1, float(kPi / 2));
    ExpectNear(*q, -1, 2, 0);
    // Chained: a point turned from the turned point.
    auto* r = Add<CGVerInCircleRot>(q->m_id, circle->m_id, float(kPi / 2));
    ExpectNear(*r, 1, 0, 0);
    // The parameter is taken from P before the circle is asked: an invalid circle leaves it set.
    circle->m_valid = false;
    p->m_param1 = 0.0f;
    q->Recompute();
    EXPECT_FALSE(q->m_valid);
    EXPECT_EQ(q->m_param1, float(kPi / 2));
    ExpectNear(*q, -1, 2, 0);
    circle->m_valid = true;
    p->m_valid = false;
    p->m_param1 = 1.0f;
    q->Recompute();
    EXPECT_FALSE(q->m_valid);
    EXPECT_EQ(q->m_param1, float(kPi / 2)); // an invalid P gives nothing
    p->m_valid = true;
    q->Recompute();
    EXPECT_TRUE(q->m_valid);
    EXPECT_EQ(q->m_param1, 1.0f + float(kPi / 2));
}

TEST_F(SpecialPointsTest, CirclePointTurnedFromAValueAndItsRecord) {
    CGArc* circle = AddCircle(0, 0, 3, 1);
    CGTmVariable* value = AddValue(float(kPi), u"t");
    auto* q = Add<CGVerInCircleRot>(value->m_id, circle->m_id, float(-kPi / 2));
    ExpectNear(*q, 0, 1, 3);
    EXPECT_EQ(q->m_param1, float(kPi) + float(-kPi / 2)); // stored in the common record
    auto back =
        ExpectRecord<CGVerInCircleRot>(q, PointRecord("CGVerInCircleRot", *q).F32(float(-kPi / 2)).Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetDescription(), u"在圆c1上绕圆心按点t的参数再旋转-90.0000度的点");
}

TEST_F(SpecialPointsTest, CirclePointAtTheSameParameter) {
    // A quarter arc: the point is not held to its sweep.
    CGArc* arc = AddCircle(1, 1, 1, 2, CGArc::kArc, 0.0f, float(kPi / 2));
    CGTmVariable* value = AddValue(float(kPi), u"t");
    auto* q = Add<CGVerInCircleFt>(arc->m_id, value->m_id);
    EXPECT_TRUE(q->m_valid);
    EXPECT_EQ(q->m_param1, float(kPi));
    ExpectNear(*q, -1, 1, 1);
    EXPECT_EQ(q->GetDescription(), u"圆c1上与t同参数的点");
    value->m_param1 = float(kPi / 2);
    Changed(value);
    ExpectNear(*q, 1, 3, 1);
    // On the parameter of a point on another circle.
    CGArc* other = AddCircle(0, 0, 0, 5);
    auto* p = Add<CGVerFreeInCircle>(other->m_id, 0.25f);
    auto* same = Add<CGVerInCircleFt>(arc->m_id, p->m_id);
    ExpectNear(*same, 1 + 2 * std::cos(0.25), 1 + 2 * std::sin(0.25), 1);
    EXPECT_EQ(same->GetDescription(), u"圆c1上与B同参数的点");
    // Invalid while either parent is; the parameter word then keeps its value.
    value->m_valid = false;
    value->m_param1 = 0.0f;
    Changed(value);
    EXPECT_FALSE(q->m_valid);
    EXPECT_EQ(q->m_param1, float(kPi / 2));
    value->m_valid = true;
    arc->m_valid = false;
    Changed(value);
    EXPECT_FALSE(q->m_valid);
    arc->m_valid = true;
    Changed(value);
    ExpectValidAt(*q, 3, 1, 1);
    // The circle must be a circle.
    CGVertex* a = AddPoint(0, 0, 0);
    EXPECT_FALSE(Add<CGVerInCircleFt>(a->m_id, value->m_id)->m_valid);
    // Its record is the point record.
    EXPECT_EQ(Stored(q), PointRecord("CGVerInCircleFt", *q).Bytes());
}
