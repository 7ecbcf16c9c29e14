// The OpenGL stack the view relies on: a compatibility context on the X server, immediate mode,
// depth test, read-back from an offscreen framebuffer.
#include "view/halvix_view.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {
struct GlFixture : ::testing::Test {
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    void SetUp() override {
        surface.setFormat(CHalvixView::RequiredFormat());
        surface.create();
        context.setFormat(CHalvixView::RequiredFormat());
        ASSERT_TRUE(context.create());
        ASSERT_TRUE(context.makeCurrent(&surface));
        QOpenGLFramebufferObjectFormat f;
        f.setAttachment(QOpenGLFramebufferObject::Depth);
        fbo = std::make_unique<QOpenGLFramebufferObject>(64, 64, f);
        ASSERT_TRUE(fbo->bind());
        glViewport(0, 0, 64, 64);
    }
    void TearDown() override {
        fbo.reset();
        context.doneCurrent();
    }
    std::array<GLubyte, 4> Pixel(int x, int y) {
        std::array<GLubyte, 4> p{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    }
};
} // namespace

TEST_F(GlFixture, CompatibilityProfileWithFixedFunctionPipeline) {
    EXPECT_EQ(context.format().profile() == QSurfaceFormat::CoreProfile, false);
    EXPECT_GE(context.format().depthBufferSize(), 24);
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
}

TEST_F(GlFixture, ImmediateModeQuadIsDrawnAndReadBack) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3ub(200, 20, 30);
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, -0.5f, 0);
    glVertex3f(0.5f, -0.5f, 0);
    glVertex3f(0.5f, 0.5f, 0);
    glVertex3f(-0.5f, 0.5f, 0);
    glEnd();
    glFinish();
    auto centre = Pixel(32, 32);
    EXPECT_EQ(centre[0], 200);
    EXPECT_EQ(centre[1], 20);
    EXPECT_EQ(centre[2], 30);
    auto corner = Pixel(2, 2);
    EXPECT_EQ(corner[0], 255);
    EXPECT_EQ(corner[1], 255);
    EXPECT_EQ(corner[2], 255);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlFixture, DepthTestGreaterAndLineStippleAreAvailable) {
    glClearColor(1, 1, 1, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    // A near quad fills depth; a far quad drawn with GL_GREATER shows only where it is behind.
    glDepthFunc(GL_LESS);
    glColor3ub(0, 0, 255);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, 0); glVertex3f(0, -1, 0); glVertex3f(0, 1, 0); glVertex3f(-1, 1, 0);
    glEnd();
    glDepthFunc(GL_GREATER);
    glColor3ub(0, 255, 0);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, -0.5f); glVertex3f(1, -1, -0.5f); glVertex3f(1, 1, -0.5f); glVertex3f(-1, 1, -0.5f);
    glEnd();
    glDisable(GL_DEPTH_TEST);
    glFinish();
    auto left = Pixel(16, 32);  // the far quad is behind the near one here: drawn
    auto right = Pixel(48, 32); // nothing in front, depth 1.0 is not greater: not drawn
    EXPECT_EQ(left[1], 255);
    EXPECT_EQ(left[2], 0);
    EXPECT_EQ(right[0], 255);
    EXPECT_EQ(right[1], 255);
    EXPECT_EQ(right[2], 255);

    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x00FF);
    EXPECT_TRUE(glIsEnabled(GL_LINE_STIPPLE));
    glDisable(GL_LINE_STIPPLE);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
