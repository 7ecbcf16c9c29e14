// The redraw of figures that draw others, a whole frame into an 800 x 600 framebuffer each: an
// iteration of a triangle with its midpoints by two mappings at depth 10 (2,046 copies of a 6-cell
// construction), and a trace of 200 steps of a point on a circle over a 20-cell figure (4,000 cells
// drawn).  Runs under an X server (xvfb-run).
#include "render_harness.h"

#include "dynamics/iterate.h"
#include "dynamics/track.h"
#include "model/arc.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <cmath>

namespace {

class CFigurePage {
public:
    CFigurePage() {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(200);
    }
    ~CFigurePage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    CGPage& Page() { return m_page; }
    template <class T> T* Add(T* cell) {
        m_page.m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    WORD NextId() { return m_page.m_nextId++; }
    WORD Point(float x, float y, float z) {
        return Add(new CGVertex(NextId(), m_page.m_nextVertex++, m_page.MakeAutoLabel(1), x, y, z))->m_id;
    }
    WORD Midpoint(WORD line) {
        return Add(new CGVerMid(NextId(), m_page.m_nextVertex++, m_page.MakeAutoLabel(1), line))->m_id;
    }

private:
    CGPage m_page;
};

// Times whole frames of the page as it stands.
void TimeFrames(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    g_harness->Renderer().DrawFrame();
    glFinish();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
}

void BM_RedrawIterationTwoMappingsDepth10(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CFigurePage f;
    const WORD a = f.Point(-12, -9, 0), b = f.Point(12, -9, 0), c = f.Point(0, 11, 0);
    const WORD ab = f.Add(new CGLine(f.NextId(), a, b, CGLine::kSegment))->m_id;
    const WORD bc = f.Add(new CGLine(f.NextId(), b, c, CGLine::kSegment))->m_id;
    const WORD ca = f.Add(new CGLine(f.NextId(), c, a, CGLine::kSegment))->m_id;
    const WORD d = f.Midpoint(ab), e = f.Midpoint(bc), m = f.Midpoint(ca);
    auto* it = f.Add(new CGIterate(f.NextId(), 3, 3, 10, {{a, b, c}, {a, d, m}, {d, b, e}}));
    it->m_style = CGIterate::kDepthColors;
    f.Page().RebuildVertexArray();
    TimeFrames(state);
    state.counters["figures"] = 2046;
    state.counters["chain"] = double(it->m_chain.size());
}
BENCHMARK(BM_RedrawIterationTwoMappingsDepth10)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

void BM_RedrawTraceOf200StepsOver20Cells(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CFigurePage f;
    const WORD circle =
        f.Add(new CGArc(f.NextId(), 0, 0, 0, 8, 0, 0, 0, 8, 0, 0.0f, 6.2831855f, CGArc::kCircle))->m_id;
    const WORD p =
        f.Add(new CGVerFreeInCircle(f.NextId(), f.Page().m_nextVertex++, CString(u"P"), circle, 0.0f))->m_id;
    std::vector<WORD> parents{p};
    std::vector<WORD> fixed;
    for (int k = 0; k < 10; ++k) {
        const float angle = 6.2831855f * float(k) / 10.0f;
        fixed.push_back(f.Point(3.0f * std::cos(angle), 3.0f * std::sin(angle), 4.0f));
    }
    for (WORD q : fixed) {
        const WORD segment = f.Add(new CGLine(f.NextId(), p, q, CGLine::kSegment))->m_id;
        parents.push_back(segment);
        parents.push_back(f.Midpoint(segment));
    }
    std::vector<WORD> flags(parents.size(), 1);
    flags[0] = 0;
    auto* trace = f.Add(new CGTrack(f.NextId(), parents, flags, 0, 0.0f, 6.2831855f, 6.2831855f / 200.0f,
                                    CGTrack::kAutoDashed, CGTrack::kOwnColors));
    f.Page().RebuildVertexArray();
    TimeFrames(state);
    state.counters["steps"] = trace->StepCount();
    state.counters["cells"] = double(parents.size() - 1);
}
BENCHMARK(BM_RedrawTraceOf200StepsOver20Cells)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunFrameBenchmarks(argc, argv, "iterate bench");
}
