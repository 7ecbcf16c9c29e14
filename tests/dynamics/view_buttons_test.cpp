// The view buttons: their passes tick by tick (a 90-degree turn in 51 ticks, the end set exactly,
// pauses, loops, the way back), a zero axis, a duration below one tick, the records byte by byte, the
// defaults and the upgrade of older turn records.
#include "button_fixture.h"

#include "view/view_camera.h"
#include "view/view_globals.h"

#include <cmath>

namespace {

constexpr double kDegree = 0.017453292519943295;

class ViewButtonTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        g_viewTransX = 0.0f;
        g_viewTransY = 0.0f;
        g_viewTransZ = -50.0f;
        g_viewZoom = 1.0f;
        g_viewRotation[0] = 1.0;
        g_viewRotation[1] = g_viewRotation[2] = g_viewRotation[3] = 0.0;
    }
    // The start orientation of the tests: 30 degrees about x.
    static void StartOrientation(double q[4]) { QuaternionFromAxisAngle(q, 30.0 * kDegree, 1, 0, 0); }
    CGButnRotate* AddTurn(float angle, float seconds, int backAndForth = 0, BYTE repeat = 0,
                          float pause = 0.0f, float ax = 0.0f, float ay = 0.0f, float az = 1.0f) {
        double s[4];
        StartOrientation(s);
        return AddButton<CGButnRotate>(CString(u"视旋转"), float(s[0]), float(s[1]), float(s[2]), float(s[3]),
                                       ax, ay, az, angle, backAndForth, repeat, seconds, pause);
    }
    // S (x) R(angle about the axis), as the view must show it.
    static void Expected(const CGButnRotate& b, double degrees, double out[4]) {
        const double s[4] = {b.m_param2, b.m_startRotation[0], b.m_startRotation[1], b.m_startRotation[2]};
        double r[4];
        QuaternionFromAxisAngle(r, degrees * kDegree, b.m_axis[0], b.m_axis[1], b.m_axis[2]);
        QuaternionMultiply(s, r, out);
    }
    static void ExpectView(const double q[4], double tolerance = 1e-12) {
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(g_viewRotation[i], q[i], tolerance) << i;
    }
    static void ExpectViewExactly(const double q[4]) {
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(g_viewRotation[i], q[i]) << i;
    }
    // One tick of the button alone, as the page steps it.
    static bool StepOnce(CGButton* b) { return b->Step() != FALSE; }
};

} // namespace

TEST_F(ViewButtonTest, ANinetyDegreeTurnInTwoSecondsLandsOnItsEndAtTheFiftyFirstTick) {
    CGButnRotate* turn = AddTurn(90.0f, 2.0f);
    EXPECT_EQ(turn->PassTicks(), 50);
    double q[4];
    // Tick 1 sets the start.
    EXPECT_FALSE(StepOnce(turn));
    Expected(*turn, 0.0, q);
    ExpectView(q);
    // Ticks 2 to 50 turn 1.8 degrees each.
    for (int tick = 2; tick <= 50; ++tick) {
        EXPECT_FALSE(StepOnce(turn)) << tick;
        Expected(*turn, 1.8 * (tick - 1), q);
        ExpectView(q, 1e-12);
    }
    // Tick 51 sets the end exactly, from the whole angle, and finishes.
    EXPECT_TRUE(StepOnce(turn));
    double end[4], r[4];
    QuaternionFromAxisAngle(r, double(90.0f) * kDegree, 0, 0, 1);
    const double s[4] = {turn->m_param2, turn->m_startRotation[0], turn->m_startRotation[1],
                         turn->m_startRotation[2]};
    QuaternionMultiply(s, r, end);
    ExpectView(end, 1e-15);
    double exact[4];
    turn->RotationAt(double(90.0f) * kDegree, exact);
    ExpectViewExactly(exact);
    EXPECT_EQ(turn->m_tickCount, 0);
}

TEST_F(ViewButtonTest, ThePageRunsATurnUntilItFinishes) {
    CGButnRotate* turn = AddTurn(90.0f, 2.0f);
    ASSERT_TRUE(Start(turn));
    EXPECT_EQ(Tick(100), 51);
    EXPECT_TRUE(Running().empty());
    EXPECT_FALSE(turn->m_running);
    double q[4];
    Expected(*turn, 90.0, q);
    ExpectView(q, 1e-12);
}

TEST_F(ViewButtonTest, AZeroAxisLeavesTheViewAtTheStart) {
    CGButnRotate* turn = AddTurn(90.0f, 1.0f, 0, 0, 0.0f, 0.0f, 0.0f, 0.0f);
    double s[4];
    StartOrientation(s);
    const double start[4] = {double(float(s[0])), double(float(s[1])), double(float(s[2])),
                             double(float(s[3]))};
    for (int tick = 1; tick <= 26; ++tick) {
        const bool done = StepOnce(turn);
        EXPECT_EQ(done, tick == 26) << tick;
        ExpectView(start, 1e-12);
    }
}

TEST_F(ViewButtonTest, TurnThereAndBackInALoopPausesAtEachEnd) {
    // 4 ticks a pass, a pause of 0.08 s = trunc(25 x 0.08 + 1) = 3 ticks counted, left at the 4th.
    CGButnRotate* turn = AddTurn(40.0f, 0.16f, 1, 1, 0.08f);
    ASSERT_EQ(turn->PassTicks(), 4);
    std::vector<double> angles;
    auto angleNow = [&] {
        // The turn from the start to the view, in degrees, signed by the z component.
        const double s[4] = {turn->m_param2, -turn->m_startRotation[0], -turn->m_startRotation[1],
                             -turn->m_startRotation[2]};
        double d[4];
        QuaternionMultiply(s, g_viewRotation, d);
        return std::round(2.0 * std::atan2(d[3], d[0]) / kDegree * 1000.0) / 1000.0;
    };
    for (int tick = 0; tick < 26; ++tick) {
        EXPECT_FALSE(StepOnce(turn));
        angles.push_back(angleNow());
    }
    const std::vector<double> expected = {0,  10, 20, 30, // out
                                          40, 40, 40, 40, // at the end, the pause counted
                                          30, 20, 10,     // back
                                          0,  0,  0,  0,  // at the start
                                          10, 20, 30,     // out again
                                          40, 40, 40, 40, 30, 20, 10, 0};
    EXPECT_EQ(angles, expected);
}

TEST_F(ViewButtonTest, OneWayZoomEndsExactlyOnItsTarget) {
    auto* zoom = AddButton<CGButnScale>(CString(u"视缩放"), 0.7f, 2.3f, 0, BYTE(0), 1.0f, 0.0f);
    ASSERT_TRUE(Start(zoom));
    EXPECT_EQ(Tick(100), 26);
    EXPECT_EQ(g_viewZoom, 2.3f);
    // Halfway it is between the two.
    ASSERT_TRUE(Start(zoom));
    Tick(13);
    EXPECT_GT(g_viewZoom, 1.0f);
    EXPECT_LT(g_viewZoom, 2.0f);
}

TEST_F(ViewButtonTest, APanThereAndBackInALoopKeepsMovingBetweenTheMarks) {
    auto* pan = AddButton<CGButnTranslate>(CString(u"视平移"), 0.0f, 0.0f, -50.0f, 4.0f, -2.0f, -40.0f, 1,
                                           BYTE(1), 0.2f, 0.04f);
    ASSERT_EQ(pan->PassTicks(), 5);
    ASSERT_TRUE(Start(pan));
    std::vector<float> xs;
    for (int tick = 0; tick < 30; ++tick) {
        ASSERT_EQ(Tick(1), 1);
        xs.push_back(g_viewTransX);
        EXPECT_TRUE(pan->m_running);
    }
    // Each end is set exactly and held for the pause (trunc(25 x 0.04 + 1) = 2, left at the 3rd).
    EXPECT_EQ(xs[0], 0.0f);
    EXPECT_EQ(xs[5], 4.0f);
    EXPECT_EQ(xs[6], 4.0f);
    EXPECT_EQ(xs[7], 4.0f);
    EXPECT_LT(xs[8], 4.0f);
    EXPECT_EQ(xs[12], 0.0f);
    EXPECT_EQ(xs[14], 0.0f);
    EXPECT_GT(xs[15], 0.0f);
    EXPECT_EQ(xs[19], 4.0f);
}

TEST_F(ViewButtonTest, ADurationBelowOneTickJumpsToTheEnd) {
    auto* zoom = AddButton<CGButnScale>(CString(u"视缩放"), 1.0f, 3.0f, 0, BYTE(0), 0.01f, 0.0f);
    EXPECT_EQ(zoom->PassTicks(), 1);
    EXPECT_FALSE(StepOnce(zoom));
    EXPECT_EQ(g_viewZoom, 1.0f);
    EXPECT_TRUE(StepOnce(zoom));
    EXPECT_EQ(g_viewZoom, 3.0f);
    for (float seconds : {0.0f, -5.0f, std::nanf(""), 1e30f}) {
        zoom->m_seconds = seconds;
        EXPECT_GE(zoom->PassTicks(), 1) << seconds;
    }
}

TEST_F(ViewButtonTest, AClickStopsAndTheNextPressResumes) {
    auto* pan = AddButton<CGButnTranslate>(CString(u"视平移"), 0.0f, 0.0f, -50.0f, 10.0f, 0.0f, -50.0f, 0,
                                           BYTE(0), 0.4f, 0.0f);
    ASSERT_TRUE(Start(pan));
    Tick(4);
    const float reached = g_viewTransX;
    EXPECT_GT(reached, 0.0f);
    m_page->StartButton(FALSE, pan->m_id);
    g_viewTransX = -3.0f; // the user pans meanwhile
    ASSERT_TRUE(Start(pan));
    Tick(1);
    EXPECT_FLOAT_EQ(g_viewTransX, -3.0f + 10.0f / 10.0f) << "it goes on from the stored tick";
    EXPECT_EQ(Tick(100), 6);
    EXPECT_EQ(g_viewTransX, 10.0f);
}

TEST_F(ViewButtonTest, ValuesThatAreNoNumbersLeaveTheCameraAlone) {
    auto* zoom = AddButton<CGButnScale>(CString(u"视缩放"), std::nanf(""), INFINITY, 0, BYTE(0), 0.2f, 0.0f);
    g_viewZoom = 1.5f;
    ASSERT_TRUE(Start(zoom));
    Tick(20);
    EXPECT_EQ(g_viewZoom, 1.5f);
    auto* turn = AddButton<CGButnRotate>(CString(u"视旋转"), std::nanf(""), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                         1.0f, 90.0f, 0, BYTE(0), 0.2f, 0.0f);
    ASSERT_TRUE(Start(turn));
    Tick(20);
    EXPECT_EQ(g_viewRotation[0], 1.0);
}

TEST_F(ViewButtonTest, RecordsByteByByte) {
    CGButnRotate* turn = AddTurn(-135.5f, 3.0f, 1, 1, 0.5f, 0.0f, 0.6f, 0.8f);
    turn->m_tickCount = 7;
    turn->m_returning = 1;
    ByteBuilder expected = ButtonRecord("CGButnRotate", *turn);
    for (float v : turn->m_startRotation)
        expected.F32(v);
    expected.F32(0.0f).F32(0.6f).F32(0.8f).I32(1).U8(1).F32(3.0f);
    auto back = ExpectRecord<CGButnRotate>(turn, expected.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_param2, turn->m_param2) << "w travels in the common record";
    EXPECT_EQ(back->m_param3, -135.5f) << "and the angle";
    EXPECT_EQ(back->m_extA3, 0.5f) << "and the pause";
    EXPECT_EQ(back->m_tickCount, 0);
    EXPECT_EQ(back->m_returning, 0);
    // Any repeat byte that is not 0 reads as 1.
    std::vector<BYTE> bytes = expected.Bytes();
    bytes[bytes.size() - 5] = 9;
    EXPECT_EQ(Loaded<CGButnRotate>(bytes)->m_repeat, 1);

    auto* pan = AddButton<CGButnTranslate>(CString(u"视平移"), 1.0f, 2.0f, -50.0f, -3.0f, 4.5f, -60.0f, 0,
                                           BYTE(1), 2.5f, 0.0f);
    expected = ButtonRecord("CGButnTranslate", *pan);
    expected.F32(1).F32(2).F32(-50).F32(-3).F32(4.5f).F32(-60).I32(0).U8(1).F32(2.5f);
    ExpectRecord<CGButnTranslate>(pan, expected.Bytes());

    auto* zoom = AddButton<CGButnScale>(CString(u"视缩放"), 0.5f, 4.0f, 1, BYTE(0), 1.25f, 2.0f);
    expected = ButtonRecord("CGButnScale", *zoom);
    expected.F32(0.5f).F32(4.0f).I32(1).U8(0).F32(1.25f);
    ExpectRecord<CGButnScale>(zoom, expected.Bytes());
}

TEST_F(ViewButtonTest, DefaultsDescriptionsAndPlaces) {
    CGButnRotate turn;
    EXPECT_EQ(turn.m_name, CString(u"视转动"));
    EXPECT_EQ(turn.m_param2, 1.0f);
    EXPECT_EQ(turn.GetDescription(), CString(u"控制视图转动的动作按钮"));
    CGButnTranslate pan;
    EXPECT_EQ(pan.m_name, CString(u"视平移"));
    EXPECT_EQ(pan.GetDescription(), CString(u"控制视图平移的动作按钮"));
    CGButnScale zoom;
    EXPECT_EQ(zoom.m_name, CString(u"视缩放"));
    EXPECT_EQ(zoom.GetDescription(), CString(u"控制视图缩放的动作按钮"));
    for (CGButnView* b :
         {static_cast<CGButnView*>(&turn), static_cast<CGButnView*>(&pan), static_cast<CGButnView*>(&zoom)})
        EXPECT_TRUE(b->m_parents.IsEmpty());
    // New view buttons take the next button places.
    CGButnRotate* first = AddTurn(10.0f, 1.0f);
    CGButnRotate* second = AddTurn(10.0f, 1.0f);
    EXPECT_FLOAT_EQ(first->m_labelPos[0], -18.0f);
    EXPECT_FLOAT_EQ(second->m_labelPos[1], first->m_labelPos[1] - 1.5f);
}
