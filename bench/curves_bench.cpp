// Sampling a locus of 2,000 samples over a chain of 50 cells, a parametric curve of 100,000 samples,
// and the crossings of a line with a locus of 2,000 samples.
#include "dynamics/curves.h"
#include "model/arc.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "points/crossing_points.h"
#include "view/view_globals.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A point half-way between its two parent points.
class CBenchMidpoint : public CGVertex {
public:
    CBenchMidpoint(WORD id, DWORD vertexIndex, WORD a, WORD b) {
        m_id = id;
        m_vertexIndex = vertexIndex;
        AddParent(a);
        AddParent(b);
        Recompute();
    }
    void Recompute() override {
        auto* a = static_cast<CGVertex*>(HxFindCell(m_parents[0]));
        auto* b = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
        m_valid = a->m_valid && b->m_valid;
        if (m_valid)
            SetPosition((a->m_x + b->m_x) * 0.5f, (a->m_y + b->m_y) * 0.5f, (a->m_z + b->m_z) * 0.5f);
    }
};

// The current page: a driver on a circle of radius 2 about the origin and a chain of midpoints
// built on it, each between the one before and a fixed point; a locus of the last over 2,000
// samples of the driver's circle.
struct BenchLocus {
    std::unique_ptr<CGPage> page = std::make_unique<CGPage>();
    CGVerFreeInCircle* driver = nullptr;
    CGLocus* locus = nullptr;

    explicit BenchLocus(int chain) {
        delete[] g_vertexArray;
        g_vertexArrayCapacity = chain + 50;
        g_vertexArray = new float[size_t(g_vertexArrayCapacity + 10) * 3]();
        g_pCurPage = page.get();
        g_cellMap = &page->m_cells;
        CGVertex* fixed = AddPoint(0.0f, 0.0f, 0.0f);
        auto* circle =
            Add(new CGArc(page->m_nextId++, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 6.2831855f, CGArc::kCircle));
        driver = Add(new CGVerFreeInCircle(page->m_nextId++, page->m_nextVertex++, u"D", circle->m_id, 0.5f));
        WORD last = driver->m_id;
        // The driver and the traced point are two of the chain's cells.
        for (int i = 0; i < chain - 2; ++i) {
            WORD id = page->m_nextId++;
            last = Add(new CBenchMidpoint(id, page->m_nextVertex++, last, fixed->m_id))->m_id;
        }
        // 6.2831 / 0.0031416 + 2: 2,001 samples.
        locus = Add(new CGLocus(page->m_nextId++, driver->m_id, last, 0.0f, 6.2831f));
        locus->m_step = 0.0031416f;
        locus->Resample();
        locus->Recompute();
    }
    ~BenchLocus() {
        page.reset();
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    template <class T> T* Add(T* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    CGVertex* AddPoint(float x, float y, float z) {
        WORD id = page->m_nextId++;
        return Add(new CGVertex(id, page->m_nextVertex++, u"A", x, y, z));
    }
};

void BM_LocusOverAChainOf50(benchmark::State& state) {
    BenchLocus bench(50);
    for (auto _ : state) {
        bench.locus->Resample();
        bench.locus->Recompute();
        benchmark::DoNotOptimize(bench.locus->m_samples.data());
    }
    state.counters["samples"] = bench.locus->m_sampleCount;
}
BENCHMARK(BM_LocusOverAChainOf50)->Unit(benchmark::kMillisecond);

void BM_CurveOf100000Samples(benchmark::State& state) {
    CGPage page;
    g_pCurPage = &page;
    g_cellMap = &page.m_cells;
    CList<WORD, WORD> none;
    CGCurve curve(1, none, u"5*cos(t)", u"5*sin(t)", u"t/100", u"0", u"1000", 0.01f, CGCurve::kCartesian);
    for (auto _ : state) {
        curve.Recompute();
        benchmark::DoNotOptimize(curve.m_samples.data());
    }
    state.counters["samples"] = curve.m_sampleCount;
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}
BENCHMARK(BM_CurveOf100000Samples)->Unit(benchmark::kMillisecond);

void BM_LineCrossingsOfALocusOf2000Samples(benchmark::State& state) {
    BenchLocus bench(3); // the locus of the midpoint of the driver and the origin: the unit circle
    CGVertex* a = bench.AddPoint(-3.0f, 0.2f, 0.0f);
    CGVertex* b = bench.AddPoint(3.0f, 0.2f, 0.0f);
    auto* line = bench.Add(new CGLine(bench.page->m_nextId++, a->m_id, b->m_id, CGLine::kLine));
    float p[3];
    int count = 0;
    for (auto _ : state) {
        count = IntersectLineLocus(line->m_id, bench.locus->m_id, 0, p);
        benchmark::DoNotOptimize(p);
    }
    state.counters["crossings"] = count;
    state.counters["samples"] = bench.locus->m_sampleCount;
}
BENCHMARK(BM_LineCrossingsOfALocusOf2000Samples)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
