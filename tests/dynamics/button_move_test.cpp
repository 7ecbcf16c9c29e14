// The move button on each carrier: free in space and in the horizontal plane, on a line, a circle, a
// test curve (both ways round) and a test locus, in a face, in a plane and on a closed border; the
// place it stops at when the target lies off the carrier, the kinds of the point classes, and the
// caption that follows the points' names.
#include "button_fixture.h"

#include "points/confined_points.h"
#include "points/path_points.h"

#include <cmath>

namespace {

class MoveButtonTest : public ButtonTest {
protected:
    CGButnMove* AddMove(CGVertex* moving, CGVertex* target, float speed, int kind = -1) {
        if (kind < 0)
            kind = CGButnMove::KindForPoint(moving);
        return AddButton<CGButnMove>(moving->m_name + CString(u"→") + target->m_name, moving->m_id,
                                     target->m_id, speed, BYTE(kind));
    }
    // Ticks until the button finishes; the number of ticks.
    int RunToEnd(CGButnMove* button, int most = 5000) {
        EXPECT_TRUE(Start(button));
        const int ticks = Tick(most);
        EXPECT_FALSE(button->m_running) << "still moving after " << ticks << " ticks";
        return ticks;
    }
    CGVertex* Target(float x, float y, float z) { return AddPoint(x, y, z); }
};

} // namespace

TEST_F(MoveButtonTest, AFreePointWalksStraightToItsTargetAndSnapsOntoIt) {
    auto* p = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* t = Target(1, 0, 0);
    CGButnMove* move = AddMove(p, t, 0.01f);
    EXPECT_EQ(move->m_kind, CGButnMove::kInSpace);
    ASSERT_TRUE(Start(move));
    // 5 x speed = 0.05 a tick while more than that remains.
    float last = 0.0f;
    int ticks = 0;
    while (move->m_running && ticks < 100) {
        const float remaining = t->m_x - p->m_x;
        m_page->StepButtons();
        ++ticks;
        if (move->m_running) {
            EXPECT_NEAR(p->m_x - last, 0.05f, 1e-6f) << ticks;
            EXPECT_GE(remaining, 0.05f - 1e-6f);
        } else {
            EXPECT_LE(remaining, 0.05f + 1e-6f) << "it snaps in the tick where less than a step remains";
        }
        last = p->m_x;
    }
    EXPECT_TRUE(ticks == 20 || ticks == 21) << ticks;
    ExpectAt(*p, 1.0f, 0.0f, 0.0f);
    ExpectSynced(*p);
}

TEST_F(MoveButtonTest, FollowersMoveToTheTargetAndKeepTheirNewOffset) {
    CGVertex* leader = AddPoint(0, 0, 2);
    auto* follower = Add<CGVerFreeHenchman>(1.0f, 1.0f, 2.0f, leader->m_id);
    CGVertex* t = Target(1, 3, 2);
    EXPECT_EQ(CGButnMove::KindForPoint(follower), CGButnMove::kInSpace);
    RunToEnd(AddMove(follower, t, 0.05f));
    ExpectAt(*follower, 1, 3, 2);
    MovePoint(leader, 1, 0, 2);
    ExpectAt(*follower, 2, 3, 2);

    // In the horizontal plane: x and y reach the target's, z stays the leader's.
    auto* flat = Add<CGVerFree2dHenchman>(0.0f, 0.0f, leader->m_id);
    CGVertex* high = Target(3, 4, 9);
    CGButnMove* move = AddMove(flat, high, 0.2f);
    EXPECT_EQ(move->m_kind, CGButnMove::kInHorizontalPlane);
    EXPECT_EQ(RunToEnd(move), 5) << "5 units at 1 a tick, the last one snaps";
    ExpectAt(*flat, 3, 4, 2);
}

TEST_F(MoveButtonTest, OnALineItStopsAtTheFootOfTheTarget) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(10, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* p = Add<CGVerFreeInLine>(ab->m_id, 0.2f);
    CGButnMove* move = AddMove(p, Target(7, 3, 1), 0.02f);
    EXPECT_EQ(move->m_kind, CGButnMove::kOnLine);
    const int ticks = RunToEnd(move);
    EXPECT_NEAR(p->m_param1, 0.7f, 1e-4f);
    ExpectNear(*p, 7, 0, 0, 1e-3);
    EXPECT_GE(ticks, 49) << "half a step of the parameter a tick";
    EXPECT_EQ(move->m_direction, 1);
    // From beyond the foot the point turns back once and keeps that way.
    p->m_param1 = 0.95f;
    p->SyncVertex();
    RunToEnd(move);
    EXPECT_EQ(move->m_direction, -1);
    EXPECT_NEAR(p->m_param1, 0.7f, 1e-4f);
}

TEST_F(MoveButtonTest, OnACircleItTurnsTheShorterWayAndStopsAtTheTargetsAngle) {
    CGArc* circle = AddCircle(0, 0, 0, 5);
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, 0.0f);
    // The target at -1 radian, outside the circle and above its plane.
    CGVertex* t = Target(8 * std::cos(-1.0f), 8 * std::sin(-1.0f), 3);
    CGButnMove* move = AddMove(p, t, 0.1f);
    EXPECT_EQ(move->m_kind, CGButnMove::kOnCircle);
    ASSERT_TRUE(Start(move));
    int turns = 0, lastDirection = move->m_direction;
    for (int i = 0; i < 500 && move->m_running; ++i) {
        m_page->StepButtons();
        if (move->m_direction != lastDirection)
            ++turns;
        lastDirection = move->m_direction;
    }
    EXPECT_FALSE(move->m_running);
    EXPECT_LE(turns, 1);
    EXPECT_EQ(move->m_direction, -1);
    EXPECT_NEAR(p->m_param1, -1.0f, 1e-3f);
    ExpectNear(*p, 5 * std::cos(-1.0), 5 * std::sin(-1.0), 0, 5e-3);
    // A target above the centre gives no direction: the point stays where it was.
    CGVertex* above = Target(0, 0, 4);
    CGButnMove* stuck = AddMove(p, above, 0.1f);
    const float before = p->m_param1;
    RunToEnd(stuck);
    EXPECT_NEAR(p->m_param1, before, 1e-6f);
}

TEST_F(MoveButtonTest, OnACurveItStopsNearestTheTargetWhicheverWayTheRangeRuns) {
    const auto parabola = [](double t, double* out) {
        out[0] = t;
        out[1] = t * t;
        out[2] = 0.0;
    };
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "range 2 to -2" : "range -2 to 2");
        auto* curve =
            Insert(new CTestCurve(NextId(), reversed ? 2.0 : -2.0, reversed ? -2.0 : 2.0, 41, parabola));
        auto* p = Insert(new CTestPointOnCurve(NextId(), NextVertex(), curve->m_id, -1.5f));
        CGVertex* t = Target(1.0f, 2.0f, 0.0f);
        CGButnMove* move = AddMove(p, t, 0.01f);
        EXPECT_EQ(move->m_kind, CGButnMove::kOnCurve);
        RunToEnd(move);
        // The nearest place, by a search much finer than the button's.
        double best = 1e30, bestT = 0.0;
        for (double s = -2.0; s <= 2.0; s += 1e-6) {
            const double d = (s - 1.0) * (s - 1.0) + (s * s - 2.0) * (s * s - 2.0);
            if (d < best) {
                best = d;
                bestT = s;
            }
        }
        EXPECT_NEAR(p->m_param1, bestT, 2e-5);
        ExpectNear(*p, bestT, bestT * bestT, 0, 1e-4);
    }
}

TEST_F(MoveButtonTest, OnALocusItStopsNearestAndPutsTheLocusChainBack) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(10, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    auto* driver = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.3f);
    CTestMidpoint* traced = AddMidpoint(driver->m_id, c->m_id);
    // The locus of the midpoint: the segment (0, 2) to (5, 2) while the driver runs over [0, 1].
    auto* locus = Insert(new CTestLocus(NextId(), driver->m_id, traced->m_id, 0.0f, 1.0f, 21));
    auto* q = Insert(new CTestPointOnLocus(NextId(), NextVertex(), locus->m_id, 0.1f));
    ExpectNear(*q, 0.5, 2, 0);
    CGButnMove* move = AddMove(q, Target(4, 6, 0), 0.02f);
    EXPECT_EQ(move->m_kind, CGButnMove::kOnLocus);
    RunToEnd(move);
    EXPECT_NEAR(q->m_param1, 0.8f, 1e-4f);
    ExpectNear(*q, 4, 2, 0, 1e-3);
    EXPECT_FLOAT_EQ(driver->m_param1, 0.3f) << "the driver is back where it was";
    ExpectNear(*traced, 1.5, 2, 0);
}

TEST_F(MoveButtonTest, RealCurvesAndLociCarryTheirPointsToo) {
    auto* curve =
        Insert(new CGCurve(NextId(), IdList({}), u"t", u"t^2", u"0", u"-2", u"2", 0.1f, CGCurve::kCartesian));
    auto* p = Add<CGVerFreeInCurve>(curve->m_id, -1.5f);
    CGButnMove* onCurve = AddMove(p, Target(1.0f, 2.0f, 0.0f), 0.01f);
    EXPECT_EQ(onCurve->m_kind, CGButnMove::kOnCurve);
    RunToEnd(onCurve);
    // The nearest point of the parabola to (1, 2): 2t^3 - 3t - 1 = 0, t = (1 + sqrt 3) / 2.
    const double t = (1.0 + std::sqrt(3.0)) / 2.0;
    EXPECT_NEAR(p->m_param1, t, 1e-3);
    ExpectNear(*p, t, t * t, 0, 3e-3);

    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(10, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    auto* driver = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.3f);
    CTestMidpoint* traced = AddMidpoint(driver->m_id, c->m_id);
    auto* locus = Insert(new CGLocus(NextId(), driver->m_id, traced->m_id, 0.0f, 1.0f));
    auto* q = Add<CGVerFreeInLocus>(locus->m_id, 0.1f);
    ExpectNear(*q, 0.5, 2, 0);
    CGButnMove* onLocus = AddMove(q, Target(4, 6, 0), 0.02f);
    EXPECT_EQ(onLocus->m_kind, CGButnMove::kOnLocus);
    RunToEnd(onLocus);
    EXPECT_NEAR(q->m_param1, 0.8f, 1e-3f);
    ExpectNear(*q, 4, 2, 0, 5e-3);
    EXPECT_FLOAT_EQ(driver->m_param1, 0.3f) << "the driver is back where it was";
    ExpectNear(*traced, 1.5, 2, 0);
}

TEST_F(MoveButtonTest, InAFaceItStopsOnTheBorderOrAtTheFoot) {
    CGFace* square = AddFace(
        {AddPoint(0, 0, 0)->m_id, AddPoint(4, 0, 0)->m_id, AddPoint(4, 4, 0)->m_id, AddPoint(0, 4, 0)->m_id});
    auto* p = Add<CGVerFreeInFace>(square->m_id, 0.8f, 0.1f);
    // Beyond the right edge: the point comes to rest on that edge.
    CGButnMove* out = AddMove(p, Target(6, 2, 3), 0.1f);
    EXPECT_EQ(out->m_kind, CGButnMove::kInFace);
    RunToEnd(out);
    ExpectNear(*p, 4, 2, 0, 1e-4);
    // Above the face: at the foot.
    RunToEnd(AddMove(p, Target(1, 3, 5), 0.1f));
    ExpectNear(*p, 1, 3, 0, 1e-4);
    EXPECT_TRUE(p->m_valid);
    // A face of fewer than three corners is nothing to move in.
    square->m_parents.SetSize(2);
    CGButnMove* flat = AddMove(p, Target(2, 2, 0), 0.1f);
    EXPECT_TRUE(flat->Step());
    square->m_parents.SetSize(4);
}

TEST_F(MoveButtonTest, InAPlaneItEndsExactlyOnTheFoot) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 1);
    CGVertex* c = AddPoint(0, 1, 0);
    auto* p = Add<CGVerFreeInPlane>(a->m_id, b->m_id, c->m_id, 0.2f, 0.3f);
    // The plane z = x; the foot of (4, 1, 0) on it is (2, 1, 2).
    CGButnMove* move = AddMove(p, Target(4, 1, 0), 0.25f);
    EXPECT_EQ(move->m_kind, CGButnMove::kInPlane);
    RunToEnd(move);
    ExpectNear(*p, 2, 1, 2, 1e-5);
}

TEST_F(MoveButtonTest, OnAClosedBorderItGoesRoundTheShorterWay) {
    CGVertex* v[4] = {AddPoint(0, 0, 0), AddPoint(4, 0, 0), AddPoint(4, 4, 0), AddPoint(0, 4, 0)};
    auto* p = Add<CGVerFreeInBorder>(IdList({v[0]->m_id, v[1]->m_id, v[2]->m_id, v[3]->m_id}), 0.5f);
    ExpectNear(*p, 2, 0, 0);
    // The target beside the middle of the last edge: round by the start, not through edges 1 and 2.
    CGButnMove* move = AddMove(p, Target(-1, 2, 0), 0.25f, CGButnMove::kOnBorder);
    ASSERT_TRUE(Start(move));
    m_page->StepButtons();
    EXPECT_FLOAT_EQ(p->m_param1, 0.25f);
    m_page->StepButtons();
    EXPECT_FLOAT_EQ(p->m_param1, 0.0f);
    m_page->StepButtons();
    EXPECT_FLOAT_EQ(p->m_param1, 3.75f) << "below 0 it comes round from the end";
    Tick(100);
    EXPECT_FALSE(move->m_running);
    EXPECT_FLOAT_EQ(p->m_param1, 3.5f);
    ExpectNear(*p, 0, 2, 0);
}

TEST_F(MoveButtonTest, KindsOfPointClassesAndWhatCannotMove) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    EXPECT_EQ(CGButnMove::KindForPoint(a), -1) << "a fixed point";
    EXPECT_EQ(CGButnMove::KindForPoint(Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id)), -1);
    EXPECT_EQ(CGButnMove::KindForPoint(Add<CGVerFreeInBorder>(IdList({a->m_id, b->m_id, c->m_id}), 0.5f)),
              -1);
    EXPECT_EQ(CGButnMove::KindForPoint(nullptr), -1);
    // An invalid button, and a kind past the table, finish at once and move nothing.
    auto* p = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGButnMove* move = AddMove(p, b, 0.1f);
    move->m_valid = false;
    EXPECT_TRUE(move->Step());
    move->m_valid = true;
    move->m_kind = 9;
    EXPECT_TRUE(move->Step());
    ExpectAt(*p, 0, 0, 0);
}

TEST_F(MoveButtonTest, TheCaptionFollowsThePointsNamesUnlessFixed) {
    auto* p = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* t = Target(1, 0, 0);
    CGButnMove* move = AddMove(p, t, 0.1f);
    EXPECT_EQ(move->m_name, p->m_name + u"→" + t->m_name);
    EXPECT_EQ(move->GetDescription(), HxFormat(u"点%s向点%s移动的动画按钮", p->m_name, t->m_name));
    move->m_flag2 = false;
    move->UpdateName();
    EXPECT_FALSE(move->m_flag2) << "an unchanged caption is not measured again";
    p->m_name = u"M";
    move->UpdateName();
    EXPECT_EQ(move->m_name, CString(u"M→") + t->m_name);
    EXPECT_TRUE(move->m_flag2);
    move->m_nameFixed = true;
    move->m_name = u"走";
    p->m_name = u"N";
    move->UpdateName();
    EXPECT_EQ(move->m_name, CString(u"走"));
}

TEST_F(MoveButtonTest, TinyOrZeroSpeedsEndWithoutHangingOrLosingTheParameter) {
    // A speed so small that the fine search would take a thousand million steps takes at most
    // 100,000 of them.
    const auto line = [](double t, double* out) {
        out[0] = t;
        out[1] = 0.0;
        out[2] = 0.0;
    };
    auto* curve = Insert(new CTestCurve(NextId(), 0.0, 10.0, 11, line));
    auto* p = Insert(new CTestPointOnCurve(NextId(), NextVertex(), curve->m_id, 4.0f));
    CGButnMove* move = AddMove(p, Target(4.0f, 3.0f, 0.0f), 1e-9f);
    curve->m_evaluations = 0;
    EXPECT_TRUE(move->Step());
    EXPECT_LE(curve->m_evaluations, 100001);
    EXPECT_NEAR(p->m_param1, 4.0f, 1e-4f);
    // On a line, a speed of 0 gives two probes at the same place: the point stays, its parameter a
    // number.
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(10, 0, 0);
    auto* onLine = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.3f);
    EXPECT_TRUE(AddMove(onLine, Target(7, 2, 0), 0.0f)->Step());
    EXPECT_EQ(onLine->m_param1, 0.3f);
}
