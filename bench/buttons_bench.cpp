// One tick of the animation timer with 20 running animation buttons, each sweeping a point along a
// line with 100 cells built on it (50 segments to fixed points and their midpoints, 2,000 dependent
// cells in all): the step of every button, the recomputation of what they drive and the frame drawn
// into an 800 x 600 framebuffer, timed together.  The aim is 40 ms, 25 ticks a second.  Runs under
// an X server (xvfb-run).
#include "render_harness.h"

#include "dynamics/buttons.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <cmath>

namespace {

constexpr int kButtons = 20;
constexpr int kSegmentsPerButton = 50;

class CButtonPage {
public:
    CButtonPage() {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(kButtons * (kSegmentsPerButton * 2 + 3) + 50);
        for (int b = 0; b < kButtons; ++b)
            AddFigure(b);
        m_page.RebuildVertexArray();
        for (WORD id : m_buttons)
            m_page.StartButton(TRUE, id);
        m_page.RefreshButtonAnimations();
    }
    ~CButtonPage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    int Dependents() const { return int(m_page.m_recomputeIds.size()) - kButtons; }
    int Running() const { return m_page.m_runningButtons.GetCount(); }
    CGPage& Page() { return m_page; }

private:
    WORD Add(CGCell* cell) {
        m_page.m_cells.SetAt(cell->m_id, cell);
        return cell->m_id;
    }
    WORD Point(float x, float y, float z) {
        return Add(new CGVertex(m_page.m_nextId++, m_page.m_nextVertex++, m_page.MakeAutoLabel(1), x, y, z));
    }
    // A point swept along a line across the band of row b, segments from it to fixed points on a
    // circle about the band's middle, and the midpoints of the segments.
    void AddFigure(int b) {
        const float y = -9.0f + 18.0f * float(b) / float(kButtons - 1);
        const WORD a = Point(-8.0f, y, 0.0f);
        const WORD c = Point(8.0f, y, 0.0f);
        const WORD track = Add(new CGLine(m_page.m_nextId++, a, c, CGLine::kSegment));
        const WORD driven = Add(new CGVerFreeInLine(m_page.m_nextId++, m_page.m_nextVertex++,
                                                    m_page.MakeAutoLabel(1), track, 0.0f));
        for (int k = 0; k < kSegmentsPerButton; ++k) {
            const float angle = 6.2831855f * float(k) / float(kSegmentsPerButton);
            const WORD fixed = Point(6.0f * std::cos(angle), y + 0.4f * std::sin(angle), 1.0f);
            const WORD segment = Add(new CGLine(m_page.m_nextId++, driven, fixed, CGLine::kSegment));
            Add(new CGVerMid(m_page.m_nextId++, m_page.m_nextVertex++, m_page.MakeAutoLabel(1), segment));
        }
        m_buttons.push_back(Add(new CGButnAnimation(m_page.m_nextId++, u"动画", driven, 0.0f, 1.0f,
                                                    CGButnAnimation::kBackAndForth, 1, 0.01f, 0.0f)));
    }

    CGPage m_page;
    std::vector<WORD> m_buttons;
};

void BM_TickOf20ButtonsDriving2000Cells(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    using Clock = std::chrono::steady_clock;
    ResetViewCamera();
    CButtonPage page;
    g_harness->Renderer().DrawFrame();
    glFinish();
    double stepping = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        page.Page().StepButtons();
        const auto t1 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        const auto t2 = Clock::now();
        stepping += std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
    }
    state.counters["running"] = page.Running();
    state.counters["dependents"] = page.Dependents();
    state.counters["cells"] = page.Page().m_cells.GetCount();
    state.counters["step_ms"] = benchmark::Counter(stepping * 1e3 / double(state.iterations()));
}
BENCHMARK(BM_TickOf20ButtonsDriving2000Cells)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunFrameBenchmarks(argc, argv, "buttons bench");
}
