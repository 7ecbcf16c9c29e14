// The animation timer (its period, turning the view, stepping running buttons), the rotation commands
// and arrow keys, the view options, and confined free points dragged on their faces, planes and paths.
#include "view_tools_fixture.h"

#include "dynamics/buttons.h"
#include "model/free_points.h"
#include "points/confined_points.h"
#include "points/path_points.h"

#include <cmath>

namespace {

// A button that completes after a number of steps, counting them.
class CCountingButton : public CGButton {
public:
    BOOL Step() override { return ++m_steps >= m_stepsToRun ? TRUE : FALSE; }
    int m_steps = 0;
    int m_stepsToRun = 3;
};

class AnimationTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        m_view->activateWindow();
        m_view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    }
    CCountingButton* AddButton(int steps) {
        auto* button = new CCountingButton;
        button->m_id = m_page->m_nextId++;
        button->m_stepsToRun = steps;
        return Insert(button);
    }
    // The number of 2-degree turns about Z that lead from `from` to the present rotation, or -1.
    static int YawTicksFrom(const double* from, double stepDegrees) {
        double saved[4];
        std::copy(g_viewRotation, g_viewRotation + 4, saved);
        std::copy(from, from + 4, g_viewRotation);
        int found = -1;
        for (int k = 0; k <= 200 && found < 0; ++k) {
            bool same = true;
            for (int i = 0; i < 4; ++i)
                same = same && std::fabs(g_viewRotation[i] - saved[i]) < 1e-9;
            if (same)
                found = k;
            RotateViewYaw(stepDegrees);
        }
        std::copy(saved, saved + 4, g_viewRotation);
        return found;
    }
    // The present rotation is the one SetViewRotation gives for these angles.
    static void ExpectRotation(double a, double b) {
        double got[4];
        std::copy(g_viewRotation, g_viewRotation + 4, got);
        SetViewRotation(a, b);
        for (int i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(got[i], g_viewRotation[i]) << i;
    }
    void SelectOnly(CGCell* cell) {
        m_page->ClearSelection();
        m_page->SelectCell(cell->m_id);
    }
};

} // namespace

TEST(AnimationPeriod, ThousandMillisecondsOverTheRate) {
    // A broken rate of 0 never divides by zero.
    for (auto [fps, period] : {std::pair(25, 40u), {30, 33u}, {0, 1000u}, {5000, 1u}}) {
        g_animationFps = fps;
        EXPECT_EQ(HxAnimationPeriod(), period) << fps;
    }
    HxResetViewSettings();
    EXPECT_EQ(g_animationFps, 25);
}

TEST_F(AnimationTest, SpaceTurnsTheViewTwoDegreesATick) {
    double start[4];
    std::copy(g_viewRotation, g_viewRotation + 4, start);
    EXPECT_EQ(m_page->m_timerMode, 1);
    m_page->m_timerMode = 5;
    EXPECT_TRUE(Update(ID_ANIMA_PLAYSTOP).m_enabled);
    Key(Qt::Key_Space);
    ASSERT_TRUE(g_animationRunning);
    EXPECT_TRUE(m_view->IsTimerSet(1));
    EXPECT_EQ(m_page->m_timerMode, 1) << "no axis chosen: Z";
    EXPECT_EQ(Update(ID_ANIMA_PLAYSTOP).m_check, 1);
    QTest::qWait(300);
    Key(Qt::Key_Space);
    EXPECT_FALSE(g_animationRunning);
    EXPECT_FALSE(m_view->IsTimerSet(1));
    const int ticks = YawTicksFrom(start, 2.0);
    EXPECT_GE(ticks, 2) << "about 7 ticks of 40 ms";
    EXPECT_LE(ticks, 9);
    // Nothing turns once stopped.
    double stopped[4];
    std::copy(g_viewRotation, g_viewRotation + 4, stopped);
    QTest::qWait(100);
    EXPECT_EQ(YawTicksFrom(stopped, 2.0), 0);

    // The speed is the step and its sign the direction; Home stops the turning.
    g_viewSpeed = -0.5f;
    std::copy(g_viewRotation, g_viewRotation + 4, start);
    Key(Qt::Key_Space);
    QTest::qWait(150);
    Key(Qt::Key_Home);
    EXPECT_FALSE(g_animationRunning);
}

TEST_F(AnimationTest, TicksStepRunningButtonsUntilTheyFinish) {
    CCountingButton* button = AddButton(3);
    ASSERT_TRUE(Run(ID_ACTION_BUTTON_FIRST + button->m_id));
    EXPECT_TRUE(button->m_running);
    EXPECT_EQ(m_page->m_timerMode, 0);
    EXPECT_TRUE(g_animationRunning);
    EXPECT_FALSE(Update(ID_ANIMA_PLAYSTOP).m_enabled);
    double before[4];
    std::copy(g_viewRotation, g_viewRotation + 4, before);
    Key(Qt::Key_Space);
    EXPECT_TRUE(g_animationRunning) << "Space does nothing while buttons run";
    ASSERT_TRUE(QTest::qWaitFor([] { return !g_animationRunning; }, 3000));
    EXPECT_EQ(button->m_steps, 3);
    EXPECT_FALSE(button->m_running);
    EXPECT_EQ(m_page->m_timerMode, 1);
    EXPECT_FALSE(m_view->IsTimerSet(1));
    EXPECT_EQ(YawTicksFrom(before, 2.0), 0) << "the button ticks do not turn the view";

    // Pressing a running button's command stops it; the last one stops the timer.
    CCountingButton* first = AddButton(100000);
    CCountingButton* second = AddButton(100000);
    Run(ID_ACTION_BUTTON_FIRST + first->m_id);
    Run(ID_ACTION_BUTTON_FIRST + second->m_id);
    EXPECT_EQ(m_page->m_runningButtons.GetCount(), 2);
    Run(ID_ACTION_BUTTON_FIRST + first->m_id);
    EXPECT_FALSE(first->m_running);
    EXPECT_TRUE(g_animationRunning);
    EXPECT_EQ(m_page->m_timerMode, 0);
    Run(ID_ACTION_BUTTON_FIRST + second->m_id);
    EXPECT_FALSE(g_animationRunning);
    EXPECT_EQ(m_page->m_timerMode, 1);
    // A command for a cell that is no button does nothing.
    CGVertex* p = AddPoint(1, 1);
    Run(ID_ACTION_BUTTON_FIRST + p->m_id);
    EXPECT_FALSE(g_animationRunning);
}

TEST_F(AnimationTest, RotationCommandsAndSteeringKeys) {
    ASSERT_TRUE(Run(ID_ROT_XMINUS));
    EXPECT_EQ(m_page->m_timerMode, 2);
    EXPECT_LT(g_viewSpeed, 0.0f);
    EXPECT_TRUE(g_animationRunning);
    EXPECT_EQ(Update(ID_ROT_XMINUS).m_check, 1);
    EXPECT_EQ(Update(ID_ROT_XPLUS).m_check, 0);
    Run(ID_ROT_YPLUS);
    EXPECT_EQ(m_page->m_timerMode, 3);
    EXPECT_GT(g_viewSpeed, 0.0f);
    EXPECT_EQ(Update(ID_ROT_YPLUS).m_check, 1);

    // While it turns, the arrows steer.
    Key(Qt::Key_Left);
    EXPECT_EQ(m_page->m_timerMode, 1);
    EXPECT_FLOAT_EQ(g_viewSpeed, -1.0f);
    Key(Qt::Key_Left);
    EXPECT_FLOAT_EQ(g_viewSpeed, -1.0f);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_page->m_timerMode, 2);
    EXPECT_FLOAT_EQ(g_viewSpeed, 1.0f);
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(m_page->m_timerMode, 3);
    EXPECT_FLOAT_EQ(g_viewSpeed, -1.0f);
    // Ctrl+Up slows it down to about 0.02, Ctrl+Down speeds it up without bound.
    struct Step {
        float from; // the speed set first, or 0 to go on
        Qt::Key key;
        float want;
    };
    for (const Step& s : {Step{0.035f, Qt::Key_Up, 0.025f},
                          {0, Qt::Key_Up, 0.015f},
                          {0, Qt::Key_Up, 0.015f},
                          {0, Qt::Key_Down, 0.025f},
                          {-0.03f, Qt::Key_Up, -0.02f},
                          {0, Qt::Key_Down, -0.03f}}) {
        if (s.from != 0)
            g_viewSpeed = s.from;
        Key(s.key, Qt::ControlModifier);
        EXPECT_NEAR(g_viewSpeed, s.want, 1e-6);
    }
    Key(Qt::Key_Space);
    EXPECT_FALSE(g_animationRunning);
}

TEST_F(AnimationTest, ArrowKeysNudgeTheSelectedPointOrTurnTheView) {
    auto* p = AddVertex<CGVerFreeXyz>(1.0f, 1.0f, 0.0f);
    CGVertex* o = AddPoint(5, 1);
    CTestMidpoint* m = AddMidpoint(p->m_id, o->m_id);
    CGVertex* a = AddPoint(-4, -4);
    CGVertex* b = AddPoint(4, -4);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* onLine = AddVertex<CGVerFreeInLine>(ab->m_id, 0.5f);
    Redraw();

    SelectOnly(p);
    Key(Qt::Key_Right);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up, Qt::ControlModifier);
    ExpectAt(*p, 1.01, 1.01, 0.01, 1e-6);
    ExpectAt(*m, 3.005, 1.005, 0.005, 1e-6);
    EXPECT_TRUE(m_doc->IsModified());

    // A point on a line steps along it by 0.001 of its parameter.
    SelectOnly(onLine);
    Key(Qt::Key_Right);
    EXPECT_FLOAT_EQ(onLine->m_param1, 0.501f);
    ExpectAt(*onLine, 0.008, -4, 0, 1e-5);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_FLOAT_EQ(onLine->m_param1, 0.499f);

    // Two points selected: Right turns the view by one degree about Z.
    m_page->SelectCell(p->m_id);
    double before[4];
    std::copy(g_viewRotation, g_viewRotation + 4, before);
    Key(Qt::Key_Right);
    EXPECT_EQ(YawTicksFrom(before, 1.0), 1);
    // Locked, it stays.
    g_viewLocked = 1;
    std::copy(g_viewRotation, g_viewRotation + 4, before);
    Key(Qt::Key_Left);
    EXPECT_EQ(YawTicksFrom(before, 1.0), 0);
    g_viewLocked = 0;
    // Other tools leave the view alone.
    g_mouseTool = 3;
    Key(Qt::Key_Left);
    EXPECT_EQ(YawTicksFrom(before, 1.0), 0);
}

TEST_F(AnimationTest, CoordinateSystemThreeViewsAndStandardViews) {
    // In the plane view the coordinate system is the labelled grid.
    SetPlaneViewRotation();
    g_coordDisplayFlags = 0;
    Run(ID_VIEW_GRID);
    EXPECT_EQ(g_coordDisplayFlags, 2);
    EXPECT_EQ(Update(ID_VIEW_GRID).m_check, 1);
    Run(ID_VIEW_GRID);
    EXPECT_EQ(g_coordDisplayFlags, 0);
    // Elsewhere the axes, turned to the projection's view of them.
    SetViewRotation(-30.0, 10.0);
    Run(ID_VIEW_GRID);
    EXPECT_EQ(g_coordDisplayFlags, 1);
    ExpectRotation(-75.0, -105.0);

    // Three views: the orthographic projection and the fixed turn of the direct view.
    Run(ID_VIEW_PROJ_PERSPEC);
    ASSERT_EQ(g_projectionType, 0);
    g_traceImageEmpty = 0;
    Key(Qt::Key_F3);
    EXPECT_EQ(m_page->m_threeView, 1);
    EXPECT_EQ(g_projectionType, 1);
    EXPECT_EQ(g_traceImageEmpty, 1);
    EXPECT_DOUBLE_EQ(g_viewRotation[0], 0.2);
    EXPECT_DOUBLE_EQ(g_viewRotation[3], -0.79);
    EXPECT_EQ(Update(ID_VIEW_PORT).m_check, 1);
    Run(ID_VIEW_3VIEWSHOWPER);
    EXPECT_FALSE(m_page->m_threeViewPersp);
    Run(ID_VIEW_3VIEWSHOWPER);
    Key(Qt::Key_F3);
    EXPECT_EQ(m_page->m_threeView, 0);
    EXPECT_EQ(g_viewport[2], kWidth);

    // Front view: translation and zoom back, the axes only.
    g_viewTransX = 3.0f;
    g_viewZoom = 2.0f;
    g_coordDisplayFlags = 6;
    Run(ID_VIEW_PORT_F);
    EXPECT_EQ(g_viewTransX, 0.0f);
    EXPECT_EQ(g_viewZoom, 1.0f);
    EXPECT_EQ(g_coordDisplayFlags, 1);
    ExpectRotation(-90.0, 180.0);
    // The plane view: the identity, the labelled grid for the axes.
    Run(ID_VIEW_PORT_TT);
    EXPECT_EQ(g_viewRotation[0], 1.0);
    EXPECT_EQ(g_coordDisplayFlags, 2);
    // While buttons run the standard views do nothing.
    m_page->m_timerMode = 0;
    Run(ID_VIEW_PORT_T);
    EXPECT_EQ(g_viewRotation[0], 1.0);
}

TEST_F(AnimationTest, SwitchesAndTheirChecks) {
    struct Switch {
        UINT id;
        std::function<bool()> on;
    };
    const std::vector<Switch> switches = {
        {ID_VIEW_SNAP, [] { return g_snapToGrid != 0; }},
        {ID_VIEW_COORDLINE, [this] { return m_view->m_showCoordLines != 0; }},
        {ID_VIEW_LOCK, [this] { return g_viewLocked != 0 && m_page->m_viewLocked; }},
        {ID_VIEW_LOCKTOW, [this] { return g_dragLocked != 0 && m_page->m_dragLocked; }},
        {ID_VIEW_TRACKBALL, [] { return g_trackballMode != 0; }},
        {ID_VIEW_BORDERS, [this] { return m_view->m_showBorders != 0; }},
    };
    for (const Switch& s : switches) {
        EXPECT_FALSE(s.on()) << s.id;
        ASSERT_TRUE(Run(s.id)) << s.id;
        EXPECT_TRUE(s.on()) << s.id;
        EXPECT_EQ(Update(s.id).m_check, 1) << s.id;
        Run(s.id);
        EXPECT_FALSE(s.on()) << s.id;
        EXPECT_EQ(Update(s.id).m_check, 0) << s.id;
    }
    // Ctrl+Alt+W is the trackball's key.
    Key(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(g_trackballMode, 1);

    // Commands whose service is missing are disabled; with it they run.
    EXPECT_FALSE(Update(ID_EDIT_PREFERONCES).m_enabled);
    EXPECT_FALSE(Update(ID_CREATE_TEXT_MTF).m_enabled);
    int shown = 0;
    HxGetViewServices().runPreferences = [&] {
        ++shown;
        g_backgroundColor[0] = 0.5f;
        return 1;
    };
    EXPECT_TRUE(Update(ID_EDIT_PREFERONCES).m_enabled);
    g_traceImageEmpty = 0;
    Run(ID_EDIT_PREFERONCES);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(m_page->m_background[0], 0.5f);
    EXPECT_EQ(g_traceImageEmpty, 1);
    EXPECT_TRUE(m_doc->IsModified());
}

// ---------------------------------------------------------------------------------------------
// Confined points under the mouse

TEST_F(AnimationTest, ConfinedPointsStayOnTheirCarriersWhileDragged) {
    CGVertex* a = AddPoint(0, 0);
    CGVertex* b = AddPoint(4, 0);
    CGVertex* c = AddPoint(4, 4);
    CGVertex* d = AddPoint(0, 4);
    CList<WORD, WORD> corners;
    for (CGVertex* v : {a, b, c, d})
        corners.AddTail(v->m_id);
    auto* face = Insert(new CGFace(m_page->m_nextId++, corners, RGB(200, 200, 0)));
    face->m_style = CGFace::kStyleFilled;
    auto* inFace = AddVertex<CGVerFreeInFace>(face->m_id, 0.25f, 0.25f);
    Redraw();
    const QPoint at = Pixel(inFace->m_x, inFace->m_y);
    Press(at);
    Move(Pixel(3, 1));
    ExpectAt(*inFace, 3, 1, 0);
    EXPECT_TRUE(face->TestPoint(&inFace->m_x));
    // Outside the square the point stays where it last was inside.
    Move(Pixel(7, 6));
    Move(Pixel(-3, 2));
    Release(Pixel(-3, 2));
    ExpectAt(*inFace, 3, 1, 0);

    // A point in the plane of three points follows the mouse in that plane, tilted.
    a->SetPosition(0, 0, 0);
    CGVertex* e = AddPoint(-8, -6);
    CGVertex* f = AddPoint(-2, -6);
    CGVertex* g = AddPoint(-8, -2);
    g->SetPosition(-8, -2, 2);
    auto* inPlane = AddVertex<CGVerFreeInPlane>(e->m_id, f->m_id, g->m_id, 0.5f, 0.25f);
    Redraw();
    const QPoint planeAt = Pixel(inPlane->m_x, inPlane->m_y);
    Press(planeAt);
    Move(planeAt + QPoint(13, -9));
    Move(planeAt + QPoint(25, 4));
    Release(planeAt + QPoint(25, 4));
    // The plane z = (y + 6) / 2 through E, F, G.
    EXPECT_NEAR(inPlane->m_z, (inPlane->m_y + 6.0) / 2.0, 1e-4);
    EXPECT_GT(std::fabs(inPlane->m_x - -6.5), 0.5);

    // A point on the closed border of a triangle stays on it.
    CGVertex* p = AddPoint(5, -6);
    CGVertex* q = AddPoint(9, -6);
    CGVertex* r = AddPoint(5, -2);
    CList<WORD, WORD> border;
    for (CGVertex* v : {p, q, r})
        border.AddTail(v->m_id);
    auto* onBorder = AddVertex<CGVerFreeInBorder>(border, 0.5f);
    Redraw();
    ExpectAt(*onBorder, 7, -6, 0);
    Press(Pixel(7, -6));
    Move(Pixel(8, -7));
    ExpectAt(*onBorder, 8, -6, 0);
    Move(Pixel(8, -1));
    // Nearest to (8, -1) on the hypotenuse x + y = 3.
    EXPECT_NEAR(onBorder->m_x + onBorder->m_y, 3.0, 1e-4);
    EXPECT_NEAR(onBorder->m_x, 6.0, 1e-4);
    Release(Pixel(8, -1));
}
