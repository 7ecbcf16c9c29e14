// The camera's OpenGL side: a compatibility context, the projection and modelview matrices the
// driver holds equal the ones computed without it, and no zero axis handed to OpenGL.
#include "gl_test_fixture.h"
#include "model/page.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <GL/glu.h>

#include <cmath>

namespace {
void ExpectMatrix(const double* got, const double* want, double eps) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(got[i], want[i], eps * std::max(1.0, std::abs(want[i]))) << i;
}
} // namespace

TEST_F(GlViewTest, ProjectionChangesLoadAndReadBackTheMatrix) {
    // The view draws with the fixed-function pipeline: a compatibility profile with a depth buffer.
    EXPECT_NE(context.format().profile(), QSurfaceFormat::CoreProfile);
    EXPECT_GE(context.format().depthBufferSize(), 24);
    CGPage page;
    g_pCurPage = &page;
    for (int type = 0; type < 3; ++type) {
        ApplyProjection(type);
        EXPECT_EQ(g_projectionType, type);
        EXPECT_EQ(page.m_projection, type);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        double want[16];
        ComputeProjectionMatrix(type, want);
        ExpectMatrix(g_projectionMatrix, want, 1e-6);
    }
    // An unknown type leaves the identity.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetProjection(7);
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ExpectMatrix(m, identity, 0);
    glMatrixMode(GL_MODELVIEW);
    g_pCurPage = nullptr;
}

TEST_F(GlViewTest, CameraAndQuadrantMatricesMatchTheArithmetic) {
    glMatrixMode(GL_MODELVIEW);
    g_viewTransX = 1.5f;
    g_viewZoom = 1.7f;
    double want[16];
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            SetPlaneViewRotation(); // w = 1: no turn, no zero axis handed to OpenGL
        glLoadIdentity();
        ApplyViewCamera();
        ComputeViewCameraMatrix(want);
        ExpectMatrix(g_modelviewMatrix, want, 1e-6);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    for (int q = HX_VIEW_FRONT; q <= HX_VIEW_TOP; ++q) {
        glLoadIdentity();
        ApplyThreeViewCamera(q);
        ComputeThreeViewMatrix(q, want);
        ExpectMatrix(g_modelviewMatrix, want, 1e-6);
    }
}

TEST_F(GlViewTest, ThePickRayMeetsWhatWasDrawnUnderTheMouse) {
    // Read back the real matrices of an orthographic frame and unproject the centre of a drawn dot.
    g_clientWidth = kSize;
    g_clientHeight = kSize;
    ApplyProjection(HX_PROJ_ORTHOGRAPHIC);
    glGetIntegerv(GL_VIEWPORT, g_viewport);
    glLoadIdentity();
    ApplyViewCamera();
    const float point[3] = {1.0f, 0.5f, 0.0f};
    double win[3];
    gluProject(point[0], point[1], point[2], g_modelviewMatrix, g_projectionMatrix, g_viewport, &win[0],
               &win[1], &win[2]);
    ASSERT_TRUE(ComputePickRay(int(std::lround(win[0])), int(std::lround(kSize - win[1]))));
    // The ray passes within a pixel of the point.
    double d[3] = {g_pickRayNear[0] - g_pickRayFar[0], g_pickRayNear[1] - g_pickRayFar[1],
                   g_pickRayNear[2] - g_pickRayFar[2]};
    double w[3] = {point[0] - g_pickRayFar[0], point[1] - g_pickRayFar[1], point[2] - g_pickRayFar[2]};
    double c[3] = {d[1] * w[2] - d[2] * w[1], d[2] * w[0] - d[0] * w[2], d[0] * w[1] - d[1] * w[0]};
    double dist = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]) /
                  std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    EXPECT_LT(dist, 2 * g_unitLength);
}
