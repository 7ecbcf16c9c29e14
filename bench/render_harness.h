// The view's drawing without a window, for the benchmarks that time frames: an offscreen OpenGL
// context with an 800 x 600 framebuffer and the view's set-up in it.  Runs under an X server
// (xvfb-run).
#pragma once

#include "view/scene_renderer.h"
#include "view/view_settings.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <memory>

constexpr int kWidth = 800;
constexpr int kHeight = 600;

inline QSurfaceFormat Format() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    return f;
}

class CRenderHarness {
public:
    bool Start() {
        m_surface.setFormat(Format());
        m_surface.create();
        m_context.setFormat(Format());
        if (!m_context.create() || !m_context.makeCurrent(&m_surface))
            return false;
        QOpenGLFramebufferObjectFormat f;
        f.setAttachment(QOpenGLFramebufferObject::Depth);
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight, f);
        if (!m_fbo->bind())
            return false;
        HxInitInstallFolder();
        m_renderer = std::make_unique<CSceneRenderer>();
        if (!m_renderer->InitOpenGL())
            return false;
        return m_renderer->OnSize(kWidth, kHeight);
    }
    ~CRenderHarness() {
        if (m_renderer)
            m_renderer->ReleaseOpenGL();
        m_renderer.reset();
        m_fbo.reset();
        m_context.doneCurrent();
    }
    CSceneRenderer& Renderer() { return *m_renderer; }

private:
    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    std::unique_ptr<CSceneRenderer> m_renderer;
};
