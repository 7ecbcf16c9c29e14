// The view's drawing in an offscreen context with an 800 x 600 framebuffer, for the benchmarks that
// time whole frames (run under an X server, xvfb-run), and the median of the times taken.
#pragma once

#include "view/scene_renderer.h"
#include "view/view_settings.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

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

// An offscreen context with an 800 x 600 framebuffer and the view's set-up in it.
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

inline CRenderHarness* g_harness = nullptr;

inline double Median(std::vector<double> v) {
    if (v.empty())
        return 0.0;
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// The main of a frame benchmark: the application and the harness, then the benchmarks registered.
inline int RunFrameBenchmarks(int argc, char** argv, const char* name) {
    QGuiApplication app(argc, argv);
    CRenderHarness harness;
    if (harness.Start())
        g_harness = &harness;
    else
        std::fprintf(stderr, "%s: the view could not be set up\n", name);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_harness = nullptr;
    return 0;
}
