// Test support for drawing cells: an offscreen framebuffer of 64 x 64 pixels with an orthographic
// view of world x, y from -4 to 4, the vertex array handed to OpenGL, pixel reads, the view's base
// display lists and a pick pass that returns the hit records.
#pragma once

#include "model/cell_draw.h"
#include "support/page_fixture.h"
#include "view/halvix_view.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <array>
#include <functional>
#include <memory>
#include <vector>

inline constexpr int kSize = 64;
inline constexpr CRgba kWhite{255, 255, 255, 255};

// World x, y from -4 to 4 fill the 64 x 64 framebuffer: 8 pixels a unit, the origin at (32, 32).
class GlPageFixture : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        m_surface.setFormat(CHalvixView::RequiredFormat());
        m_surface.create();
        m_context.setFormat(CHalvixView::RequiredFormat());
        ASSERT_TRUE(m_context.create());
        ASSERT_TRUE(m_context.makeCurrent(&m_surface));
        QOpenGLFramebufferObjectFormat f;
        f.setAttachment(QOpenGLFramebufferObject::Depth);
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(kSize, kSize, f);
        ASSERT_TRUE(m_fbo->bind());
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-4, 4, -4, 4, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glGetDoublev(GL_MODELVIEW_MATRIX, g_modelviewMatrix);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, g_vertexArray);
        // The state the view keeps between passes.
        glLineStipple(1, 0x03FF);
        glLineWidth(g_lineWidth);
        glDisable(GL_DEPTH_TEST);
        Clear();
    }
    void TearDown() override {
        if (g_listBase)
            glDeleteLists(g_listBase, 14);
        glDisableClientState(GL_VERTEX_ARRAY);
        m_fbo.reset();
        m_context.doneCurrent();
        PageFixture::TearDown();
    }
    void Clear() {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    CRgba Pixel(int x, int y) {
        glFinish();
        std::array<GLubyte, 4> p{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return CRgba{p[0], p[1], p[2], p[3]};
    }
    // The pixel at world (x, y).
    CRgba At(float x, float y) { return Pixel(int((x + 4.0f) * 8.0f), int((y + 4.0f) * 8.0f)); }
    static CRgba Opaque(CRgba c) { return CRgba{c.r, c.g, c.b, 255}; }

    // The view's base lists that the lit passes call: disk + 10, sphere + 11, cylinder + 12, cone + 13.
    void BuildBaseLists() {
        g_listBase = glGenLists(14);
        GLUquadric* q = gluNewQuadric();
        glNewList(g_listBase + 10, GL_COMPILE);
        gluDisk(q, 0, 1, 24, 2);
        glEndList();
        glNewList(g_listBase + 11, GL_COMPILE);
        gluSphere(q, 1, 48, 24);
        glEndList();
        glNewList(g_listBase + 12, GL_COMPILE);
        gluCylinder(q, 1, 1, 1, 48, 12);
        glEndList();
        glNewList(g_listBase + 13, GL_COMPILE);
        gluCylinder(q, 1, 0, 1, 48, 12);
        glEndList();
        gluDeleteQuadric(q);
    }

    // Runs a pick pass over the whole view and returns the hit records as name lists.
    std::vector<std::vector<GLuint>> Pick(const std::function<void()>& draw) {
        std::vector<GLuint> buffer(1024);
        glSelectBuffer(GLsizei(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(GLuint(-1));
        draw();
        GLint hits = glRenderMode(GL_RENDER);
        std::vector<std::vector<GLuint>> records;
        size_t at = 0;
        for (GLint i = 0; i < hits; ++i) {
            GLuint count = buffer[at];
            records.emplace_back(buffer.begin() + long(at) + 3, buffer.begin() + long(at) + 3 + count);
            at += 3 + count;
        }
        return records;
    }

    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
};
