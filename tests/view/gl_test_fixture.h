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
    // Pixels in [x0, x1) x [y0, y1) that are clearly not white.
    int InkedPixels(int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                auto p = Pixel(x, y);
                if (p[0] + p[1] + p[2] < 600)
                    ++n;
            }
        return n;
    }
    // The rows and columns holding ink, as a box (x0, y0, x1, y1), or all -1 without ink.
    std::array<int, 4> InkBox() {
        std::array<int, 4> box{kSize, kSize, -1, -1};
        std::vector<GLubyte> all(size_t(kSize * kSize * 4));
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const GLubyte* p = &all[size_t((y * kSize + x) * 4)];
                if (p[0] + p[1] + p[2] < 600) {
                    box[0] = std::min(box[0], x);
                    box[1] = std::min(box[1], y);
                    box[2] = std::max(box[2], x);
                    box[3] = std::max(box[3], y);
                }
            }
        if (box[2] < 0)
            box = {-1, -1, -1, -1};
        return box;
    }
};
