// The camera arithmetic on hand-computed cases: quaternions, turns, the trackball, projections, the
// camera matrix, the three-view quadrants, zoom and pan steps and the mouse ray.
#include "model/page.h"
#include "support/model_fixture.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {
constexpr double kEps = 1e-12;
const double kC45 = std::sqrt(0.5);

void ExpectNear(const double* got, std::initializer_list<double> want, double eps = kEps) {
    int i = 0;
    for (double w : want) {
        EXPECT_NEAR(got[i], w, eps) << i;
        ++i;
    }
}

// m (column-major) times (x, y, z, 1).
std::array<double, 4> Transform(const double* m, double x, double y, double z) {
    std::array<double, 4> r{};
    for (int i = 0; i < 4; ++i)
        r[size_t(i)] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
    return r;
}

const std::initializer_list<double> kStartRotation = {0.786566092485493, -0.6035533905932737,
                                                      -0.07945931129894555, -0.10355339059327374};

class CameraTest : public ModelTest {};
} // namespace

TEST_F(CameraTest, ViewRotationsEulerAnglesAndAxisAngles) {
    SetViewRotation(-75, -15);
    ExpectNear(g_viewRotation, kStartRotation);
    SetPlaneViewRotation();
    ExpectNear(g_viewRotation, {1, 0, 0, 0});
    // Turn about Z first, then about X: x = sin(a/2) cos(b/2), y = -sin(a/2) sin(b/2).
    SetViewRotation(90, 90);
    ExpectNear(g_viewRotation, {0.5, 0.5, -0.5, 0.5});
    SetViewRotation(0, 0);
    ExpectNear(g_viewRotation, {1, 0, 0, 0});

    // Euler angles compose X, then Y, then Z.
    double q[4];
    EulerToQuaternion(q, 90, 0, 90);
    ExpectNear(q, {0.5, 0.5, -0.5, 0.5});
    EulerToQuaternion(q, 90, 90, 0);
    ExpectNear(q, {0.5, 0.5, 0.5, 0.5});
    EulerToQuaternion(q, 0, 0, -90);
    ExpectNear(q, {kC45, 0, 0, -kC45});
    // The axis is normalised; a zero axis is no turn.
    QuaternionFromAxisAngle(q, M_PI / 2, 0, 0, 2);
    ExpectNear(q, {kC45, 0, 0, kC45});
    QuaternionFromAxisAngle(q, 1.0, 0, 0, 0);
    ExpectNear(q, {1, 0, 0, 0});
}

TEST_F(CameraTest, ProductsClampTheScalarAndAreNotRenormalised) {
    const double a[4] = {1.5, 0, 0, 0}, b[4] = {1, 0.1, 0, 0}, c[4] = {-1.2, 0, 0, 0};
    const double i[4] = {0, 1, 0, 0}, j[4] = {0, 0, 1, 0};
    double out[4];
    QuaternionMultiply(a, b, out);
    ExpectNear(out, {1.0, 0.15, 0, 0});
    QuaternionMultiply(c, b, out);
    EXPECT_EQ(out[0], -1.0);
    QuaternionMultiply(i, j, out); // i j = k, j i = -k
    ExpectNear(out, {0, 0, 0, 1});
    QuaternionMultiply(j, i, out);
    ExpectNear(out, {0, 0, 0, -1});
    double v[4] = {0, 1, 0, 0}; // the output may be one of the inputs
    QuaternionMultiply(v, j, v);
    ExpectNear(v, {0, 0, 0, 1});
}

TEST_F(CameraTest, WorldAxisTurnsAndTheTrackball) {
    SetPlaneViewRotation();
    RotateViewYaw(90);
    ExpectNear(g_viewRotation, {kC45, 0, 0, kC45});
    RotateViewPitch(90); // multiplied on the right
    ExpectNear(g_viewRotation, {0.5, 0.5, 0.5, 0.5});
    SetPlaneViewRotation();
    RotateViewRoll(-60);
    ExpectNear(g_viewRotation, {std::cos(M_PI / 6), 0, -0.5, 0});

    g_pixelScaleX = 1.0f / 400.0f; // an 801 x 601 area: pixel (400, 300) is the centre
    g_pixelScaleY = 1.0f / 300.0f;
    g_mouseX = 400;
    g_mouseY = 300;
    SetViewRotation(-75, -15);
    TrackballRotate(400, 300);
    ExpectNear(g_viewRotation, kStartRotation);
    // Centre to the right rim: a quarter arc about the screen's y, tripled; beyond the rim the same.
    for (int x : {800, 1000}) {
        SetPlaneViewRotation();
        TrackballRotate(x, 300);
        ExpectNear(g_viewRotation, {std::cos(3 * M_PI / 4), 0, std::sin(3 * M_PI / 4), 0}, 1e-6);
    }
    // A small move right: arc asin(0.1) about +y, tripled, applied before V = q_X(90).
    SetViewRotation(90, 0);
    TrackballRotate(440, 300);
    const double h = 1.5 * std::asin(0.1);
    ExpectNear(g_viewRotation,
               {std::cos(h) * kC45, std::cos(h) * kC45, std::sin(h) * kC45, -std::sin(h) * kC45}, 1e-6);
}

TEST_F(CameraTest, ProjectionMatricesForAnEightHundredBySixHundredArea) {
    double m[16];
    // Half the area in world units: w = 20 and h = 15 (up to the float unit length 0.05).
    const double w = 400.0 * double(0.05f), h = 300.0 * double(0.05f);
    ASSERT_TRUE(ComputeProjectionMatrix(HX_PROJ_ORTHOGRAPHIC, m));
    ExpectNear(m, {1 / w, 0, 0, 0, 0, 1 / h, 0, 0, 0, 0, -2.0 / 264, 0, 0, 0, -136.0 / 264, 1});
    EXPECT_NEAR(m[0], 0.05, 1e-9);
    ASSERT_TRUE(ComputeProjectionMatrix(HX_PROJ_CENTRAL, m));
    ExpectNear(m, {40 / (0.8 * w), 0, 0, 0, 0, 40 / (0.8 * h), 0, 0, 0, 0, -220.0 / 180, -1, 0, 0,
                   -8000.0 / 180, 0});
    EXPECT_NEAR(m[0], 2.5, 1e-7);
    ASSERT_TRUE(ComputeProjectionMatrix(HX_PROJ_OBLIQUE, m));
    const double k = 17.67766952966369, c = 0.7071067811865476;
    ExpectNear(m, {1 / w, 0, 0, 0, 0, 1 / h, 0, 0, -c / (2 * w), -c / (2 * h), -0.00909090909090909, 0,
                   -k / w, -k / h, -0.8181818181818182, 1});

    // The zoom is not part of the projection; an unknown type leaves the matrix alone.
    g_viewZoom = 3.0f;
    double again[16];
    ComputeProjectionMatrix(HX_PROJ_OBLIQUE, again);
    EXPECT_TRUE(std::equal(again, again + 16, m));
    EXPECT_FALSE(ComputeProjectionMatrix(3, m));
    EXPECT_EQ(m[0], 1 / w);

    // Oblique: the origin at the window centre, a unit toward the viewer recedes down-left at half length.
    double mv[16];
    ComputeViewCameraMatrix(mv); // translation (0, 0, -50)
    auto eye = Transform(mv, 0, 0, 0);
    auto clip = Transform(m, eye[0], eye[1], eye[2]);
    EXPECT_NEAR(clip[0] / clip[3], 0.0, kEps);
    EXPECT_NEAR(clip[1] / clip[3], 0.0, kEps);
    auto front = Transform(m, eye[0], eye[1], eye[2] + 1);
    EXPECT_NEAR(front[0] * w, -0.35355339059327373, kEps);
    EXPECT_NEAR(front[1] * h, -0.35355339059327373, kEps);
}

TEST_F(CameraTest, ProjectionChangeWithoutAContextStoresTheStateAndTheMatrix) {
    CGPage page;
    g_pCurPage = &page;
    ApplyProjection(HX_PROJ_CENTRAL);
    EXPECT_EQ(g_projectionType, 0);
    EXPECT_EQ(page.m_projection, 0);
    EXPECT_NEAR(g_projectionMatrix[0], 2.5, 1e-7);
    EXPECT_EQ(g_projectionMatrix[11], -1.0);
    ApplyProjection(HX_PROJ_OBLIQUE);
    EXPECT_EQ(page.m_projection, 2);
    EXPECT_NEAR(g_projectionMatrix[8], -0.7071067811865476 / 40, 1e-9);
    g_pCurPage = nullptr;
}

TEST_F(CameraTest, CameraMatrixTranslatesTurnsAndScales) {
    double m[16];
    SetPlaneViewRotation();
    g_viewZoom = 2.0f;
    ComputeViewCameraMatrix(m);
    ExpectNear(Transform(m, 1, 2, 3).data(), {2, 4, 6 - 50});
    // A front view: -90 degrees about x puts the z axis up the screen.
    SetViewRotation(-90, 0);
    EXPECT_NEAR(QuaternionAngleDegrees(g_viewRotation), 90.0, 1e-9);
    ComputeViewCameraMatrix(m);
    ExpectNear(Transform(m, 0, 0, 1).data(), {0, 2, -50});
    EXPECT_NEAR(Transform(m, 0, 1, 0)[2], -52, kEps);
}

TEST_F(CameraTest, ResetAndProjectionOrientations) {
    for (int type = 0; type < 3; ++type) {
        g_projectionType = type;
        g_viewTransX = 3;
        g_viewTransZ = -10;
        g_viewZoom = 4;
        ResetViewCamera();
        EXPECT_EQ((std::array<float, 4>{g_viewTransX, g_viewTransY, g_viewTransZ, g_viewZoom}),
                  (std::array<float, 4>{0, 0, -50, 1}));
        double q[4];
        const double* reset = g_projectionOrientations[type].reset;
        EulerToQuaternion(q, reset[0], 0, reset[1]);
        ExpectNear(g_viewRotation, {q[0], q[1], q[2], q[3]});
    }
    EXPECT_EQ(g_projectionOrientations[2].reset[0], -90.0);
    // The isometric command view: the x, y and z axes make equal angles with the line of sight.
    SetViewRotation(g_projectionOrientations[1].command[0], g_projectionOrientations[1].command[1]);
    double m[16];
    ComputeViewCameraMatrix(m);
    EXPECT_NEAR(std::abs(m[2]), std::abs(m[6]), 1e-9);
    EXPECT_NEAR(std::abs(m[6]), std::abs(m[10]), 1e-9);
}

TEST_F(CameraTest, ThreeViewQuadrantsCaptionsAndCameras) {
    struct Row {
        int view, w, h;
        std::array<int, 4> vp;
    };
    for (const Row& r :
         {Row{HX_VIEW_FRONT, 800, 600, {0, 300, 400, 300}}, Row{HX_VIEW_LEFT, 800, 600, {400, 300, 400, 300}},
          Row{HX_VIEW_TOP, 801, 601, {0, 0, 400, 300}}, Row{HX_VIEW_DIRECT, 800, 600, {400, 0, 400, 300}}}) {
        std::array<int, 4> vp{};
        ThreeViewViewport(r.view, r.w, r.h, vp.data());
        EXPECT_EQ(vp, r.vp) << r.view;
    }
    EXPECT_TRUE(ThreeViewCaptionsFit(800, 600));
    EXPECT_FALSE(ThreeViewCaptionsFit(641, 600)); // half width 320
    EXPECT_FALSE(ThreeViewCaptionsFit(800, 481)); // half height 240
    EXPECT_TRUE(ThreeViewCaptionsFit(642, 482));
    float pos[3];
    ThreeViewCaptionPosition(800, 600, pos);
    EXPECT_FLOAT_EQ(pos[0], -19.0f);
    EXPECT_FLOAT_EQ(pos[1], 11.0f);
    EXPECT_EQ(CString(g_viewCaptionTexts[HX_VIEW_FRONT]), CString(u"主视图"));
    EXPECT_EQ(CString(g_viewCaptionTexts[HX_VIEW_TOP]), CString(u"俯视图"));
    EXPECT_EQ(CString(g_viewCaptionTexts[HX_VIEW_DIRECT]), CString(u"直观图"));

    double m[16];
    ComputeThreeViewMatrix(HX_VIEW_FRONT, m); // x to the left, z up, y toward the viewer
    EXPECT_NEAR(Transform(m, 1, 0, 0)[0], -1, kEps);
    EXPECT_NEAR(Transform(m, 0, 0, 1)[1], 1, kEps);
    EXPECT_NEAR(Transform(m, 0, 1, 0)[2], -49, kEps);
    ComputeThreeViewMatrix(HX_VIEW_LEFT, m); // x toward the viewer, y to the right, z up
    EXPECT_NEAR(Transform(m, 1, 0, 0)[2], -49, kEps);
    EXPECT_NEAR(Transform(m, 0, 1, 0)[0], 1, kEps);
    EXPECT_NEAR(Transform(m, 0, 0, 1)[1], 1, kEps);
    ComputeThreeViewMatrix(HX_VIEW_TOP, m); // turned half round about z
    EXPECT_NEAR(Transform(m, 1, 0, 0)[0], -1, kEps);
    EXPECT_NEAR(Transform(m, 0, 1, 0)[1], -1, kEps);
}

TEST_F(CameraTest, ZoomAndPanStepsTheirLimitsAndTheLock) {
    struct Row {
        float from;
        bool in;
        float to;
    };
    for (const Row& r : {Row{0.3f, false, 0.1f}, Row{0.21f, false, 0.01f}, Row{0.2f, false, 0.01f},
                         Row{99.9f, true, 100.1f}, Row{100.1f, true, 100.0f}}) {
        g_viewZoom = r.from;
        EXPECT_TRUE(r.in ? ZoomViewIn() : ZoomViewOut());
        EXPECT_FLOAT_EQ(g_viewZoom, r.to) << r.from;
    }
    EXPECT_TRUE(PanViewUp());
    EXPECT_TRUE(PanViewRight());
    EXPECT_EQ(g_viewTransY, 1.0f);
    EXPECT_EQ(g_viewTransX, 1.0f);
    g_viewSpeed = -0.5f; // the signed speed is the step
    PanViewUp();
    PanViewLeft();
    EXPECT_EQ(g_viewTransY, 0.5f);
    EXPECT_EQ(g_viewTransX, 1.5f);
    PanViewDown();
    EXPECT_EQ(g_viewTransY, 1.0f);

    g_viewLocked = 1;
    g_viewZoom = 2.0f;
    for (auto step : {ZoomViewIn, ZoomViewOut, PanViewUp, PanViewDown, PanViewLeft, PanViewRight})
        EXPECT_FALSE(step());
    EXPECT_EQ(g_viewZoom, 2.0f);
    EXPECT_EQ(g_viewTransY, 1.0f);
    EXPECT_EQ(g_viewTransX, 1.5f);
}

TEST_F(CameraTest, PanSlidersShowTenTimesTheTranslationTruncated) {
    g_viewTransX = 1.25f;
    g_viewTransY = -0.37f;
    g_viewTransZ = -48.95f;
    std::array<int, 3> v{};
    PanSliderValues(v.data());
    EXPECT_EQ(v, (std::array<int, 3>{12, -3, 10}));
    std::array<int, 3> got{};
    HxSetPanSliderHandler([&](int x, int y, int z) { got = {x, y, z}; });
    UpdatePanSliders();
    HxSetPanSliderHandler(nullptr);
    EXPECT_EQ(got, v);
}

TEST_F(CameraTest, PickRayThroughTheOrthographicView) {
    ComputeProjectionMatrix(HX_PROJ_ORTHOGRAPHIC, g_projectionMatrix);
    ASSERT_TRUE(ComputePickRay(400, 300));
    ExpectNear(g_pickRayNear, {0, 0, 64}, 1e-9);
    EXPECT_NEAR(g_pickRayFar[2], -200, 1e-9);
    EXPECT_FLOAT_EQ(g_viewDirZ, 264.0f);
    EXPECT_FLOAT_EQ(g_viewDirX, 0.0f);
    // The window y is the height minus y, without one subtracted: pixel row 0 is the top edge.
    ASSERT_TRUE(ComputePickRay(0, 0));
    ExpectNear(g_pickRayNear, {-20, 15}, 1e-5);
    // A singular matrix gives no ray and leaves the old one.
    std::fill(g_projectionMatrix, g_projectionMatrix + 16, 0.0);
    EXPECT_FALSE(ComputePickRay(10, 10));
    EXPECT_NEAR(g_pickRayNear[1], 15, 1e-5);
}
