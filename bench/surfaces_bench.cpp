// Surfaces: the display list of a 200 x 200 surface sampled and compiled (the lit mesh and the wire
// grid), and whole frames of a page holding a lit surface with its front and back textures drawn
// into an 800 x 600 framebuffer, reported as frames a second.  Runs under an X server (xvfb-run).
#include "render_harness.h"

#include "dynamics/surface.h"
#include "model/page.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>

namespace {

// A wavy sheet of 200 x 200 samples: 199 steps of 0.1 over u and v in -9.95..9.95.
class CSurfacePage {
public:
    explicit CSurfacePage(BYTE style) {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        const double mapping[CGSurface::kMappingCount] = {1, 0, 0, 1, 0, 0};
        m_surface = new CGSurface(m_page.m_nextId++, {}, u"u", u"v", u"sin(u)*cos(v)", u"-9.95", u"9.95",
                                  u"-9.95", u"9.95", style, 1, 1, CGSurface::kMappingAutomatic,
                                  CGSurface::kCartesian, 0.1, 0.1, mapping);
        m_page.m_cells.SetAt(m_surface->m_id, m_surface);
    }
    ~CSurfacePage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    CGSurface& Surface() { return *m_surface; }

private:
    CGPage m_page;
    CGSurface* m_surface;
};

void BuildList(benchmark::State& state, BYTE style) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    CSurfacePage page(style);
    for (auto _ : state) {
        page.Surface().BuildDisplayList();
        glFinish();
    }
    state.counters["columns"] = page.Surface().m_uCount;
    state.counters["rows"] = page.Surface().m_vCount;
}

void BM_DisplayListOf200x200LitSurface(benchmark::State& state) {
    BuildList(state, CGSurface::kStyleLit);
}
BENCHMARK(BM_DisplayListOf200x200LitSurface)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_DisplayListOf200x200WireGrid(benchmark::State& state) {
    BuildList(state, CGSurface::kStyleWire);
}
BENCHMARK(BM_DisplayListOf200x200WireGrid)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_FrameOfLitTexturedSurfaceAt800x600(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    using Clock = std::chrono::steady_clock;
    ResetViewCamera();
    CSurfacePage page(CGSurface::kStyleLit);
    g_harness->Renderer().DrawFrame();
    glFinish();
    double seconds = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        const double t = std::chrono::duration<double>(Clock::now() - t0).count();
        seconds += t;
        state.SetIterationTime(t);
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()) / seconds);
}
BENCHMARK(BM_FrameOfLitTexturedSurfaceAt800x600)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunFrameBenchmarks(argc, argv, "surfaces bench");
}
