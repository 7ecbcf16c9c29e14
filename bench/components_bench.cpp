// One frame of the view with fifteen lit components, one of each kind (the cube textured, the text
// "Halvix"), into an 800 x 600 framebuffer: the frame as it is drawn again and again (the shapes and
// glyphs kept in display lists), and the frame that makes those lists first.  Runs under an X server
// (xvfb-run).
#include "model/page.h"
#include "solids/subassembly.h"
#include "view/gl_context.h"
#include "view/view_camera.h"

#include "render_harness.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

// Five columns of three, seen obliquely by the view's default camera.
class CComponentPage {
public:
    CComponentPage() {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        const double p1[4] = {0, 0, 1, 0}, p2[4] = {0, 0, -1, 0};
        for (int kind = 0; kind < kSubassemblyKindCount; ++kind) {
            const float x = float(kind % 5) * 7.0f - 14.0f, y = float(kind / 5) * 7.0f - 7.0f;
            const float scale = kind == kSubassemblyText ? 1.5f : 2.5f;
            auto* cell = new CGSubassembly(m_page.m_nextId++, BYTE(kind), 0, 0, 0, 0, x, y, 0, 0, 0, 1, 0,
                                           scale, scale, scale, CGSubassembly::kClipNone, p1, p2);
            if (kind == kSubassemblyText)
                cell->m_name = u"Halvix";
            if (kind == kSubassemblyCube)
                cell->m_texture = 1;
            m_page.m_cells.SetAt(cell->m_id, cell);
            m_cells.push_back(cell);
        }
    }
    ~CComponentPage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    void DropLists() {
        for (CGSubassembly* cell : m_cells)
            cell->DropDisplayLists();
    }

private:
    CGPage m_page;
    std::vector<CGSubassembly*> m_cells;
};

void Frames(benchmark::State& state, bool rebuildLists) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    using Clock = std::chrono::steady_clock;
    ResetViewCamera();
    CComponentPage page;
    g_harness->Renderer().DrawFrame();
    glFinish();
    std::vector<double> times;
    for (auto _ : state) {
        if (rebuildLists)
            page.DropLists();
        const auto t0 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        const double t = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(t);
        times.push_back(t * 1e3);
    }
    state.counters["frame_ms"] = Median(times);
}

void BM_FifteenLitComponents(benchmark::State& state) {
    Frames(state, false);
}
void BM_FifteenLitComponentsMakingTheirLists(benchmark::State& state) {
    Frames(state, true);
}
BENCHMARK(BM_FifteenLitComponents)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();
BENCHMARK(BM_FifteenLitComponentsMakingTheirLists)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunFrameBenchmarks(argc, argv, "components bench");
}
