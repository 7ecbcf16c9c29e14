// Frames per second of the view drawing a page of cubes (points with their labels, edges dashed
// behind hidden-surface faces) into an 800 x 600 framebuffer: 12 cubes (312 cells, 144 edges, 72
// faces) and 77 cubes (2,002 cells).  Runs under an X server (xvfb-run).
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/scene_renderer.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <cstdio>
#include <memory>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

QSurfaceFormat Format() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    return f;
}

// A page of cubes laid out in a grid of `columns` x `rows`, each 8 labelled points, 12 edges and 6
// faces that only hide what lies behind them.
class CCubePage {
public:
    CCubePage(int columns, int rows, float side, float spacing) {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(columns * rows * 8 + 50);
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < columns; ++i)
                AddCube((float(i) - 0.5f * float(columns - 1)) * spacing,
                        (float(j) - 0.5f * float(rows - 1)) * spacing, side);
        m_page.RebuildVertexArray();
    }
    ~CCubePage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    int CellCount() const { return m_page.m_cells.GetCount(); }

private:
    void AddCube(float cx, float cy, float side) {
        WORD p[8];
        for (int k = 0; k < 8; ++k) {
            const float x = cx + ((k & 1) ? side : 0.0f) - side / 2;
            const float y = cy + ((k & 2) ? side : 0.0f) - side / 2;
            const float z = (k & 4) ? side : 0.0f;
            WORD id = m_page.m_nextId++;
            auto* v = new CGVertex(id, m_page.m_nextVertex++, m_page.MakeAutoLabel(1), x, y, z);
            m_page.m_cells.SetAt(id, v);
            p[k] = id;
        }
        static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                         {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
        for (const auto& e : edges) {
            WORD id = m_page.m_nextId++;
            m_page.m_cells.SetAt(id, new CGLine(id, p[e[0]], p[e[1]], CGLine::kSegment));
        }
        static const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                        {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
        for (const auto& f : faces) {
            WORD id = m_page.m_nextId++;
            m_page.m_cells.SetAt(id, new CGFace(id, p[f[0]], p[f[1]], p[f[2]], p[f[3]], RGB(200, 200, 255)));
        }
    }

    CGPage m_page;
};

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

CRenderHarness* g_harness = nullptr;

void RenderCubes(benchmark::State& state, int columns, int rows, float side, float spacing) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CCubePage page(columns, rows, side, spacing);
    for (auto _ : state)
        g_harness->Renderer().DrawFrame();
    state.counters["cells"] = page.CellCount();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Render300Cells(benchmark::State& state) {
    RenderCubes(state, 4, 3, 3.0f, 4.5f);
}
void BM_Render2000Cells(benchmark::State& state) {
    RenderCubes(state, 11, 7, 1.2f, 1.7f);
}
BENCHMARK(BM_Render300Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Render2000Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    CRenderHarness harness;
    if (harness.Start())
        g_harness = &harness;
    else
        std::fprintf(stderr, "render bench: the view could not be set up\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_harness = nullptr;
    return 0;
}
