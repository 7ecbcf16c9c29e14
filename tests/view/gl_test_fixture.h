// An offscreen OpenGL context with a framebuffer to draw into and read pixels back, for the view's
// GL tests; every global starts from its start value.
#pragma once

#include "support/model_fixture.h"
#include "view/gl_context.h"
#include "view/halvix_view.h"
#include "view/view_settings.h"

#include <GL/gl.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

class GlViewTest : public ::testing::Test {
protected:
    static constexpr int kSize = 128;
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;

    void SetUp() override {
        ResetAllGlobals();
        HxResetViewSettings();
        HxSetGlContextProvider(nullptr);
        surface.setFormat(CHalvixView::RequiredFormat());
        surface.create();
        context.setFormat(CHalvixView::RequiredFormat());
        ASSERT_TRUE(context.create());
        ASSERT_TRUE(context.makeCurrent(&surface));
        QOpenGLFramebufferObjectFormat f;
        f.setAttachment(QOpenGLFramebufferObject::Depth);
        fbo = std::make_unique<QOpenGLFramebufferObject>(kSize, kSize, f);
        ASSERT_TRUE(fbo->bind());
        glViewport(0, 0, kSize, kSize);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        fbo.reset();
        context.doneCurrent();
        ResetAllGlobals();
    }

    // A projection of one unit per pixel with the origin at the lower left, identity modelview.
    void PixelProjection() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kSize, 0, kSize, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    std::array<GLubyte, 4> Pixel(int x, int y) {
        std::array<GLubyte, 4> p{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    }
    // Pixels in [x0, x1) x [y0, y1) that are clearly not white, and the box (x0, y0, x1, y1) of their
    // rows and columns (all -1 without ink).
    int InkedPixels(int x0, int y0, int x1, int y1, std::array<int, 4>* box = nullptr) {
        std::array<int, 4> b{kSize, kSize, -1, -1};
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                auto p = Pixel(x, y);
                if (p[0] + p[1] + p[2] < 600) {
                    ++n;
                    b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), std::max(b[3], y)};
                }
            }
        if (box)
            *box = n ? b : std::array<int, 4>{-1, -1, -1, -1};
        return n;
    }
    std::array<int, 4> InkBox() {
        std::array<int, 4> box;
        InkedPixels(0, 0, kSize, kSize, &box);
        return box;
    }
};
