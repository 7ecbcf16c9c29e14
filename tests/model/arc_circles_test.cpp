// Constructed circles: the frame from three points, through three points, by centre and two points
// and by centre, point and axis; every case without a circle, and the way back to a valid circle
// after a point moves; descriptions of every kind; the records by class name.
#include "model/arc_circles.h"

#include "support/archive_helpers.h"
#include "support/page_fixture.h"
#include "model_checks.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

class ArcCirclesTest : public PageFixture {
protected:
    CGArcCircle3P* Add3P(CGVertex* p1, CGVertex* p2, CGVertex* p3, BYTE kind = CGArc::kArc) {
        return Insert(new CGArcCircle3P(NextId(), p1->m_id, p2->m_id, p3->m_id, kind));
    }
    CGArcCenterP* AddCenterP(CGVertex* o, CGVertex* a, CGVertex* b, BYTE kind = CGArc::kArc) {
        return Insert(new CGArcCenterP(NextId(), o->m_id, a->m_id, b->m_id, kind));
    }
    CGArcPointN* AddPointN(CGVertex* o, CGVertex* a, CGVertex* p, DWORD reversed = 0) {
        return Insert(new CGArcPointN(NextId(), o->m_id, a->m_id, p->m_id, CGArc::kCircle, reversed));
    }
};

double Length(const float* v) {
    return std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
}
double Dot(const float* a, const float* b) {
    return double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
}

} // namespace

TEST_F(ArcCirclesTest, CircleThroughThreePointsRunsFromTheFirstOverTheSecond) {
    CGVertex *p1 = AddPoint(1, 0, 0), *p2 = AddPoint(0, 1, 0), *p3 = AddPoint(-1, 0, 0);
    CGArcCircle3P* arc = Add3P(p1, p2, p3);
    EXPECT_TRUE(arc->m_valid);
    EXPECT_EQ(arc->m_name, u"c1");
    EXPECT_EQ(arc->m_kind, CGArc::kArc);
    EXPECT_EQ(arc->m_color, g_colorArcSolid);
    ExpectNear3(0, 0, 0, arc->m_center);
    ExpectNear3(1, 0, 0, arc->m_axisU);
    ExpectNear3(0, 1, 0, arc->m_axisV);
    EXPECT_FLOAT_EQ(arc->m_radius, 1.0f);
    EXPECT_EQ(arc->m_startAngle, 0.0f);
    EXPECT_FLOAT_EQ(arc->m_endAngle, float(kPi));
    // The label hangs at angle 1 plus the offset.
    ExpectNear3(std::cos(1.0) + 0.5, std::sin(1.0) + 0.5, 0.5, arc->m_labelPos);
    // The sweep's ends are P1 and P3, half-way is P2.
    double p[3];
    arc->PointAt(1.0, p);
    EXPECT_NEAR(p[0], -1.0, 1e-6);
    arc->PointAt(0.5, p);
    EXPECT_NEAR(p[1], 1.0, 1e-6);

    // Centre (1, 1, 0), radius sqrt 2, three quarters of a turn.
    CGArcCircle3P* wide = Add3P(AddPoint(2, 0, 0), AddPoint(0, 2, 0), AddPoint(0, 0, 0), CGArc::kSector);
    EXPECT_EQ(wide->m_name, u"c2");
    ExpectNear3(1, 1, 0, wide->m_center);
    EXPECT_FLOAT_EQ(wide->m_radius, float(std::sqrt(2.0)));
    EXPECT_FLOAT_EQ(wide->m_endAngle, float(1.5 * kPi));
    EXPECT_NEAR(Dot(wide->m_axisU, wide->m_axisV), 0.0, 1e-6);
    EXPECT_NEAR(Length(wide->m_axisV), std::sqrt(2.0), 1e-6);
}

TEST_F(ArcCirclesTest, ThreePointArcTurnsWithItsMiddlePointAndLosesItsCircleOnTheLine) {
    CGVertex *p1 = AddPoint(1, 0, 0), *p2 = AddPoint(0, 1, 0), *p3 = AddPoint(-1, 0, 0);
    CGArcCircle3P* arc = Add3P(p1, p2, p3);
    // P2 to the other side of P1P3: the arc runs the other way round.
    MovePoint(p2, 0, -1, 0);
    EXPECT_TRUE(arc->m_valid);
    ExpectNear3(0, -1, 0, arc->m_axisV);
    double p[3];
    arc->PointAt(0.5, p);
    EXPECT_NEAR(p[1], -1.0, 1e-6);
    // Onto the line: no circle.  The frame stays as it was.
    MovePoint(p2, 0.3f, 0, 0);
    EXPECT_FALSE(arc->m_valid);
    ExpectNear3(0, -1, 0, arc->m_axisV);
    MovePoint(p2, 0, 1, 0);
    EXPECT_TRUE(arc->m_valid);
    ExpectNear3(0, 1, 0, arc->m_axisV);
    // Coincident points are collinear too.
    MovePoint(p3, 1, 0, 0);
    EXPECT_FALSE(arc->m_valid);
    MovePoint(p3, -1, 0, 0);
    EXPECT_TRUE(arc->m_valid);

    // The tolerance is absolute: a tiny triangle counts as collinear.
    CGArcCircle3P* tiny = Add3P(AddPoint(0, 0, 0), AddPoint(0.001f, 0, 0), AddPoint(0, 0.001f, 0));
    EXPECT_FALSE(tiny->m_valid);
}

TEST_F(ArcCirclesTest, HugeThreePointCircleIsComputedButInvalid) {
    CGVertex *p1 = AddPoint(-100, 0, 0), *p2 = AddPoint(0, 0.5f, 0), *p3 = AddPoint(100, 0, 0);
    CGArcCircle3P* arc = Add3P(p1, p2, p3);
    EXPECT_FALSE(arc->m_valid);
    EXPECT_NEAR(arc->m_radius, 10000.25, 0.01);
    EXPECT_NEAR(arc->m_center[1], -9999.75, 0.01);
    MovePoint(p2, 0, 10, 0);
    EXPECT_TRUE(arc->m_valid);
    EXPECT_NEAR(arc->m_radius, 505.0, 1e-3);
    // Flatter still, single precision has no circle at all: the frame stays as it was.
    MovePoint(p2, 0, 0.01f, 0);
    EXPECT_FALSE(arc->m_valid);
    EXPECT_NEAR(arc->m_radius, 505.0, 1e-3);
}

TEST_F(ArcCirclesTest, TheFramesAreComputedInSinglePrecision) {
    // An uneven triangle whose circumcentre differs in its last bits when computed in double.
    const float p[3][3] = {{0.1f, 0.2f, 0.3f}, {1.7f, -0.4f, 0.9f}, {-0.6f, 1.3f, 2.2f}};
    CGVertex *a = AddPoint(p[0][0], p[0][1], p[0][2]), *b = AddPoint(p[1][0], p[1][1], p[1][2]),
             *c = AddPoint(p[2][0], p[2][1], p[2][2]);
    CGArcCircle3P* arc = Add3P(a, b, c);
    float d1[3], d2[3];
    double e1[3], e2[3];
    for (int i = 0; i < 3; ++i) {
        d1[i] = p[0][i] - p[1][i];
        d2[i] = p[2][i] - p[1][i];
        e1[i] = d1[i];
        e2[i] = d2[i];
    }
    auto dot = [](const auto* u, const auto* v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; };
    const float fa = dot(d1, d1), fc = dot(d2, d2), fk = dot(d1, d2);
    const float fden = 2.0f * (fk * fk - fa * fc);
    const float w1 = (fk - fa) * fc / fden, w3 = (fk - fc) * fa / fden, w2 = 1.0f - w1 - w3;
    const double da = dot(e1, e1), dc = dot(e2, e2), dk = dot(e1, e2);
    const double dden = 2.0 * (dk * dk - da * dc);
    const double v1 = (dk - da) * dc / dden, v3 = (dk - dc) * da / dden, v2 = 1.0 - v1 - v3;
    bool differs = false;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(arc->m_center[i], w1 * p[0][i] + w2 * p[1][i] + w3 * p[2][i]) << i;
        differs |= arc->m_center[i] != float(v1 * p[0][i] + v2 * p[1][i] + v3 * p[2][i]);
    }
    EXPECT_TRUE(differs);
    // A page read again recomputes every circle to the same bits.
    const std::vector<BYTE> stored = StoreBytes([&](CArchive& ar) { ar << arc; });
    arc->Recompute();
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << arc; }), stored);
}

TEST_F(ArcCirclesTest, InvalidPointFreezesTheCircleUntilItIsValidAgain) {
    CGVertex *p1 = AddPoint(1, 0, 0), *p2 = AddPoint(0, 1, 0), *p3 = AddPoint(-1, 0, 0);
    CGArcCircle3P* arc = Add3P(p1, p2, p3);
    CGArcCenterP* centred = AddCenterP(p3, p1, p2);
    CGArcPointN* around = AddPointN(p3, p1, p2);
    const float labelBefore = arc->m_labelPos[0];
    p2->m_valid = false;
    MovePoint(p1, 3, 0, 0);
    for (CGArc* c : std::initializer_list<CGArc*>{arc, centred, around})
        EXPECT_FALSE(c->m_valid);
    EXPECT_EQ(arc->m_labelPos[0], labelBefore);
    ExpectNear3(0, 0, 0, arc->m_center);
    p2->m_valid = true;
    MovePoint(p1, 3, 0, 0);
    for (CGArc* c : std::initializer_list<CGArc*>{arc, centred, around})
        EXPECT_TRUE(c->m_valid);
    ExpectNear3(1, -1, 0, arc->m_center);

    // A parent that is missing, or is no point, counts as an invalid one.
    CGArcCenterP orphan(60, p1->m_id, p2->m_id, 59, CGArc::kCircle);
    EXPECT_FALSE(orphan.m_valid);
    EXPECT_EQ(orphan.GetDescription(), u"以点A为圆心，过点B、的圆");
    CGArcCircle3P onCircle(61, p1->m_id, p2->m_id, arc->m_id, CGArc::kCircle);
    EXPECT_FALSE(onCircle.m_valid);
    for (CGVertex* p : {p1, p2}) {
        p->m_children.RemoveTail();
        p->m_children.RemoveTail();
    }
    arc->m_children.RemoveAll();
}

TEST_F(ArcCirclesTest, KeptSweepNoLongerFollowsThePoints) {
    CGVertex *p1 = AddPoint(1, 0, 0), *p2 = AddPoint(0, 1, 0), *p3 = AddPoint(-1, 0, 0);
    CGArcCircle3P* arc = Add3P(p1, p2, p3);
    arc->m_sweepFromPoints = false;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(arc); });
    CObject* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    auto* back = DYNAMIC_DOWNCAST(CGArcCircle3P, loaded);
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(back->m_sweepFromPoints);
    EXPECT_FLOAT_EQ(back->m_radius, 1.0f);
    // Moving P3 a quarter turn on: the circle follows, the sweep stays at pi.
    m_page->m_cells.SetAt(arc->m_id, back);
    p3->SetPosition(0, -1, 0);
    back->Recompute();
    EXPECT_TRUE(back->m_valid);
    EXPECT_FLOAT_EQ(back->m_endAngle, float(kPi));
    arc->m_sweepFromPoints = true;
    arc->Recompute();
    EXPECT_FLOAT_EQ(arc->m_endAngle, float(1.5 * kPi));
    m_page->m_cells.SetAt(arc->m_id, arc);
    delete back;
}

TEST_F(ArcCirclesTest, CentreAndTwoPointsSweepsFromATowardsB) {
    CGVertex *o = AddPoint(1, 1, 1), *a = AddPoint(3, 1, 1), *b = AddPoint(1, 5, 1);
    CGArcCenterP* arc = AddCenterP(o, a, b, CGArc::kSector);
    EXPECT_TRUE(arc->m_valid);
    ExpectNear3(1, 1, 1, arc->m_center);
    ExpectNear3(2, 0, 0, arc->m_axisU);
    ExpectNear3(0, 2, 0, arc->m_axisV); // B need not lie on the circle
    EXPECT_FLOAT_EQ(arc->m_radius, 2.0f);
    EXPECT_FLOAT_EQ(arc->m_endAngle, float(0.5 * kPi));
    // B behind O: an obtuse angle AOB, up to pi.
    MovePoint(b, -1, 3, 1);
    EXPECT_FLOAT_EQ(arc->m_endAngle, float(0.75 * kPi));
    ExpectNear3(0, 2, 0, arc->m_axisV);
    MovePoint(b, -1, 0, 1);
    EXPECT_FLOAT_EQ(arc->m_endAngle, float(kPi - std::atan(0.5)));
    ExpectNear3(0, -2, 0, arc->m_axisV);

    // B on the line OA: the centre and U follow, but there is no plane.
    MovePoint(a, 4, 1, 1);
    MovePoint(b, -5, 1, 1);
    EXPECT_FALSE(arc->m_valid);
    ExpectNear3(3, 0, 0, arc->m_axisU);
    // Off the line again.
    MovePoint(b, -5, 1, 2);
    EXPECT_TRUE(arc->m_valid);
    ExpectNear3(0, 0, 3, arc->m_axisV);
    // A or B on the centre.
    MovePoint(a, 1, 1, 1);
    EXPECT_FALSE(arc->m_valid);
    MovePoint(a, 4, 1, 1);
    EXPECT_TRUE(arc->m_valid);
    MovePoint(b, 1, 1, 1);
    EXPECT_FALSE(arc->m_valid);
    MovePoint(o, 7, 2, 1);
    EXPECT_TRUE(arc->m_valid);
    ExpectNear3(7, 2, 1, arc->m_center);

    // B on the line OA up to the rounding of its coordinates.
    MovePoint(o, 0.1f, 0.2f, 0.3f);
    MovePoint(a, 0.2f, 0.4f, 0.6f);
    MovePoint(b, 0.7f, 1.4f, 2.1f);
    EXPECT_FALSE(arc->m_valid);
}

TEST_F(ArcCirclesTest, CentrePointAndAxisCircleIsSquareToTheAxis) {
    CGVertex *o = AddPoint(0, 0, 0), *a = AddPoint(2, 0, 0), *p = AddPoint(0, 0, 5);
    CGArcPointN* circle = AddPointN(o, a, p);
    EXPECT_TRUE(circle->m_valid);
    EXPECT_EQ(circle->m_extA2, 0);
    ExpectNear3(2, 0, 0, circle->m_axisU);
    ExpectNear3(0, 2, 0, circle->m_axisV);
    // The sweep is the base constructor's: 0 to 2 pi.
    EXPECT_EQ(circle->m_endAngle, 6.2831855f);
    // Its normal U x V points along OP.
    const float* u = circle->m_axisU;
    const float* v = circle->m_axisV;
    EXPECT_GT(u[0] * v[1] - u[1] * v[0], 0.0f);

    // Reversed: the point at pi/2 mirrored through the line OA.
    CGArcPointN* reversed = AddPointN(o, a, p, 1);
    EXPECT_EQ(reversed->m_extA2, 1);
    double q[3], r[3];
    circle->PointAt(0.25, q);
    reversed->PointAt(0.25, r);
    EXPECT_NEAR(q[1], 2.0, 1e-6);
    EXPECT_NEAR(r[1], -2.0, 1e-6);
    EXPECT_NEAR(q[0], r[0], 1e-6);

    // OA not square to OP: the circle lies in the plane through OA square to the plane OAP.
    MovePoint(p, 3, 0, 4);
    EXPECT_TRUE(circle->m_valid);
    ExpectNear3(0, 2, 0, circle->m_axisV);

    // A on the axis line, or at the centre: no circle.
    MovePoint(p, 4, 0, 0);
    EXPECT_FALSE(circle->m_valid);
    EXPECT_FALSE(reversed->m_valid);
    MovePoint(p, 0, 0, 5);
    EXPECT_TRUE(circle->m_valid);
    MovePoint(a, 0.005f, 0, 0);
    EXPECT_FALSE(circle->m_valid);
    ExpectNear3(0.005, 0, 0, circle->m_axisU); // the centre and U follow
    MovePoint(a, 0, 3, 0);
    EXPECT_TRUE(circle->m_valid);
    EXPECT_FLOAT_EQ(circle->m_radius, 3.0f);
}

TEST_F(ArcCirclesTest, DescriptionsOfEveryKind) {
    CGVertex *o = AddPoint(0, 0, 0), *a = AddPoint(2, 0, 0), *b = AddPoint(0, 2, 0);
    const char16_t* figures[] = {u"圆", u"弧", u"圆面", u"扇形", u"弓形"};
    auto expect = [](const char16_t* format, const char16_t* figure, const char16_t* tail = u"") {
        CString text;
        text.Format(format, figure, tail);
        return text;
    };
    for (BYTE kind = 0; kind < 5; ++kind) {
        auto* three = Insert(new CGArcCircle3P(NextId(), o->m_id, a->m_id, b->m_id, kind));
        EXPECT_EQ(three->GetDescription(), expect(u"过三点A、B、C的%s", figures[kind]));
        auto* centred = Insert(new CGArcCenterP(NextId(), o->m_id, a->m_id, b->m_id, kind));
        EXPECT_EQ(centred->GetDescription(), expect(u"以点A为圆心，过点B、C的%s", figures[kind]));
        auto* around = Insert(new CGArcPointN(NextId(), o->m_id, a->m_id, b->m_id, kind, 0));
        EXPECT_EQ(around->GetDescription(), expect(u"以点A为圆心，过点B且垂直于AC的%s%s", figures[kind]));
        around->m_extA2 = 1;
        EXPECT_EQ(around->GetDescription(),
                  expect(u"以点A为圆心，过点B且垂直于AC的%s%s", figures[kind], u"反向"));
    }
    CString n = Insert(new CGArcPointN(NextId(), o->m_id, a->m_id, b->m_id, 0, 3))->GetDescription();
    EXPECT_EQ(n, u"以点A为圆心，过点B且垂直于AC的圆反向"); // any flag above 0 is reversed
    // A kind without a figure describes as nothing; renamed points are read when asked.
    auto* odd = Insert(new CGArcCircle3P(NextId(), o->m_id, a->m_id, b->m_id, 7));
    EXPECT_EQ(odd->GetDescription(), u"");
    a->m_name = CString(u"Q");
    EXPECT_EQ(odd->m_name, u"c17");
    odd->m_kind = CGArc::kDisc;
    EXPECT_EQ(odd->GetDescription(), u"过三点A、Q、C的圆面");
}
