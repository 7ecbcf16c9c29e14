// The view widget on the X server: it shows a white area, lends its context to work outside
// painting, and routes the camera commands.
#include "gl_test_fixture.h"
#include "model/page.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_ids.h"

#include <QTest>

namespace {
class ViewWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAllGlobals();
        HxSetGlContextProvider(nullptr);
    }
    void TearDown() override {
        HxSetGlContextProvider(nullptr);
        ResetAllGlobals();
    }
};
} // namespace

TEST_F(ViewWidgetTest, ShowsWhiteAndLendsItsContext) {
    CHalvixView view;
    view.resize(320, 240);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QImage frame = view.grabFramebuffer();
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(frame.pixel(300, 200), qRgb(255, 255, 255));

    view.doneCurrent();
    ASSERT_TRUE(HxMakeGlCurrent());
    EXPECT_EQ(QOpenGLContext::currentContext(), view.context());
    // A projection command outside painting goes through the view's context.
    view.SetProjectionOblique();
    EXPECT_EQ(g_projectionType, 2);
    double want[16];
    ComputeProjectionMatrix(HX_PROJ_OBLIQUE, want);
    EXPECT_NEAR(g_projectionMatrix[8], want[8], 1e-7);
}

TEST_F(ViewWidgetTest, CameraCommandsThroughTheRouting) {
    CHalvixView view;
    CGPage page;
    g_pCurPage = &page;
    page.m_timerMode = 5;

    ASSERT_TRUE(view.OnCmdMsg(ID_VIEW_PROJ_PERSPEC, CN_COMMAND, nullptr));
    EXPECT_EQ(g_projectionType, 0);
    double q[4];
    EulerToQuaternion(q, -70, 0, -20);
    EXPECT_NEAR(g_viewRotation[0], q[0], 1e-12);
    EXPECT_NEAR(g_viewRotation[3], q[3], 1e-12);
    CCmdUI ui;
    for (UINT id : {ID_VIEW_PROJ_PERSPEC, ID_VIEW_PROJ_ID_ORTHO, ID_VIEW_PROJ_ID_XIEERCE}) {
        ui.m_nID = id;
        ASSERT_TRUE(view.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui));
        EXPECT_EQ(ui.m_check, id == ID_VIEW_PROJ_PERSPEC ? 1 : 0);
    }
    ASSERT_TRUE(view.OnCmdMsg(ID_VIEW_PROJ_ID_ORTHO, CN_COMMAND, nullptr));
    EulerToQuaternion(q, -54.73561031724535, 0, -135);
    EXPECT_NEAR(g_viewRotation[1], q[1], 1e-12);

    view.OnCmdMsg(ID_ANIMA_DA, CN_COMMAND, nullptr);
    EXPECT_FLOAT_EQ(g_viewZoom, 1.2f);
    view.OnCmdMsg(ID_VIEW_ZOOM_OUT, CN_COMMAND, nullptr);
    view.OnCmdMsg(ID_ANIMA_XIAO, CN_COMMAND, nullptr);
    EXPECT_FLOAT_EQ(g_viewZoom, 0.8f);
    view.OnCmdMsg(ID_VIEW_PAN_RIGHT, CN_COMMAND, nullptr);
    view.OnCmdMsg(ID_VIEW_PAN_UP, CN_COMMAND, nullptr);
    EXPECT_EQ(g_viewTransX, 1.0f);
    EXPECT_EQ(g_viewTransY, 1.0f);

    // Home: the camera comes back, the labelled grid becomes the axes, the sliders follow.
    int sliders[3] = {-1, -1, -1};
    HxSetPanSliderHandler([&](int x, int y, int z) {
        sliders[0] = x;
        sliders[1] = y;
        sliders[2] = z;
    });
    g_coordDisplayFlags = 2 | 4;
    view.SetTimer(1, 40);
    ASSERT_TRUE(view.OnCmdMsg(ID_VIEW_TSFM_RESET, CN_COMMAND, nullptr));
    EXPECT_EQ(g_viewTransX, 0.0f);
    EXPECT_EQ(g_viewZoom, 1.0f);
    EXPECT_NEAR(g_viewRotation[0], 0.786566092485493, 1e-12);
    EXPECT_EQ(g_coordDisplayFlags, 1 | 4);
    EXPECT_FALSE(view.IsTimerSet(1));
    EXPECT_EQ(sliders[0], 0);
    EXPECT_EQ(sliders[2], 0);

    // While action buttons run, Home moves the camera and leaves the rest to their next tick.
    page.m_timerMode = 0;
    g_viewTransX = 5.0f;
    g_coordDisplayFlags = 2;
    sliders[0] = -1;
    view.SetTimer(1, 40);
    view.ResetView();
    EXPECT_EQ(g_viewTransX, 0.0f);
    EXPECT_EQ(g_coordDisplayFlags, 2);
    EXPECT_TRUE(view.IsTimerSet(1));
    EXPECT_EQ(sliders[0], -1);
    view.KillTimer(1);

    // The view lock.
    g_viewLocked = 1;
    view.OnCmdMsg(ID_VIEW_ZOOM_IN, CN_COMMAND, nullptr);
    view.OnCmdMsg(ID_VIEW_PAN_LEFT, CN_COMMAND, nullptr);
    EXPECT_EQ(g_viewZoom, 1.0f);
    EXPECT_EQ(g_viewTransX, 0.0f);

    HxSetPanSliderHandler(nullptr);
    g_pCurPage = nullptr;
}
