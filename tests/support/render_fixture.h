// A current page drawn into an offscreen framebuffer with the view's state, projection and camera,
// and the pixels read back: what must or must not be coloured where.
#pragma once

#include "support/page_fixture.h"
#include "model/cell_draw.h"
#include "model/face.h"
#include "view/gl_context.h"
#include "view/halvix_view.h"
#include "view/scene_renderer.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_settings.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <array>
#include <memory>
#include <vector>

class RenderFixture : public PageFixture {
protected:
    // The drawing area in pixels: at the start unit length 20 pixels make one unit.
    virtual QSize FrameSize() const { return QSize(400, 300); }

    void SetUp() override {
        PageFixture::SetUp();
        HxResetViewSettings();
        HxSetGlContextProvider(nullptr);
        m_surface.setFormat(CHalvixView::RequiredFormat());
        m_surface.create();
        m_context.setFormat(CHalvixView::RequiredFormat());
        ASSERT_TRUE(m_context.create());
        ASSERT_TRUE(m_context.makeCurrent(&m_surface));
        QOpenGLFramebufferObjectFormat f;
        f.setAttachment(QOpenGLFramebufferObject::Depth);
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(FrameSize(), f);
        ASSERT_TRUE(m_fbo->bind());
        m_w = FrameSize().width();
        m_h = FrameSize().height();
        g_clientWidth = m_w;
        g_clientHeight = m_h;
        glViewport(0, 0, m_w, m_h);
        g_viewport[0] = g_viewport[1] = 0;
        g_viewport[2] = m_w;
        g_viewport[3] = m_h;
        HxApplyDefaultGlState();
        ApplyProjection(g_projectionType);
        HxBindVertexArray();
        // Looking down the z axis: x to the right, y up.
        SetPlaneViewRotation();
    }
    void TearDown() override {
        glDisableClientState(GL_VERTEX_ARRAY);
        m_fbo.reset();
        m_context.doneCurrent();
        PageFixture::TearDown();
    }

    // One frame of the current page with the camera (the view's part of a frame, without overlays).
    void DrawPage() {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glPushMatrix();
        ApplyViewCamera();
        m_page->Draw();
        glPopMatrix();
        glFinish();
    }

    std::array<int, 4> Pixel(int x, int y) {
        std::array<GLubyte, 4> p{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return {p[0], p[1], p[2], p[3]};
    }
    static bool IsInk(const std::array<int, 4>& p) { return p[0] + p[1] + p[2] < 600; }
    bool InkAt(int x, int y) { return IsInk(Pixel(x, y)); }
    // The window pixel of a world point under the camera of the last frame.
    std::array<int, 2> ToPixel(double x, double y, double z) {
        double wx, wy, wz;
        gluProject(x, y, z, g_modelviewMatrix, g_projectionMatrix, g_viewport, &wx, &wy, &wz);
        return {int(std::floor(wx)), int(std::floor(wy))};
    }
    // Inked pixels in [x0, x1) x [y0, y1).
    int InkIn(int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(m_h, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(m_w, x1); ++x)
                n += InkAt(x, y) ? 1 : 0;
        return n;
    }
    // Inked pixels of a 3 x 3 neighbourhood (lines are smoothed and may straddle two rows).
    bool InkNear(int x, int y) { return InkIn(x - 1, y - 1, x + 2, y + 2) > 0; }

    CGFace* AddFace(std::initializer_list<WORD> corners, CRgba color, BYTE style) {
        CList<WORD, WORD> list;
        for (WORD c : corners)
            list.AddTail(c);
        CGFace* face = Insert(new CGFace(NextId(), list, color.ToColorRef()));
        face->m_color.a = color.a;
        face->m_style = style;
        face->m_labelHidden = 1;
        return face;
    }

    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    int m_w = 0;
    int m_h = 0;
};
