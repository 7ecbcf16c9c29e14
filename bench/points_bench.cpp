// Recomputation after moving one free point of a page of 10,000 dependent cells: midpoints and
// segments built in a chain (each on the one before) and in a wide fan (all on the moved point).
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
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
        if (!a->m_valid || !b->m_valid) {
            m_valid = false;
            return;
        }
        m_valid = true;
        SetPosition((a->m_x + b->m_x) * 0.5f, (a->m_y + b->m_y) * 0.5f, (a->m_z + b->m_z) * 0.5f);
    }
};

// The current page with a vertex array for every point, and the free point that moves.
struct BenchPage {
    std::unique_ptr<CGPage> page = std::make_unique<CGPage>();
    CGVertex* moved = nullptr;

    explicit BenchPage(int points) {
        delete[] g_vertexArray;
        g_vertexArrayCapacity = points + 50;
        g_vertexArray = new float[size_t(g_vertexArrayCapacity + 10) * 3]();
        g_pCurPage = page.get();
        g_cellMap = &page->m_cells;
    }
    ~BenchPage() {
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
        return Add(new CGVertex(id, page->m_nextVertex++, page->MakeAutoLabel(1), x, y, z));
    }
    CGVertex* AddMidpoint(WORD a, WORD b) {
        WORD id = page->m_nextId++;
        return Add(new CBenchMidpoint(id, page->m_nextVertex++, a, b));
    }
    CGLine* AddSegment(WORD a, WORD b) {
        WORD id = page->m_nextId++;
        return Add(new CGLine(id, a, b, CGLine::kSegment));
    }
};

constexpr int kDependents = 10000;

// M1 = mid(A, B), M(k+1) = mid(Mk, B), with the segment Mk M(k+1) beside each step.
std::unique_ptr<BenchPage> MakeChain() {
    auto bench = std::make_unique<BenchPage>(kDependents / 2 + 2);
    bench->moved = bench->AddPoint(0, 0, 0);
    CGVertex* b = bench->AddPoint(10, 0, 0);
    WORD previous = bench->AddMidpoint(bench->moved->m_id, b->m_id)->m_id;
    for (int i = 1; i < kDependents / 2; ++i) {
        WORD next = bench->AddMidpoint(previous, b->m_id)->m_id;
        bench->AddSegment(previous, next);
        previous = next;
    }
    bench->AddSegment(bench->moved->m_id, previous);
    return bench;
}

// Mk = mid(A, Pk) for fixed points Pk, with the segment Mk Pk beside each.
std::unique_ptr<BenchPage> MakeFan() {
    auto bench = std::make_unique<BenchPage>(kDependents + 1);
    bench->moved = bench->AddPoint(0, 0, 0);
    for (int i = 0; i < kDependents / 2; ++i) {
        CGVertex* p = bench->AddPoint(float(i % 100), float(i / 100), 1.0f);
        bench->AddSegment(bench->AddMidpoint(bench->moved->m_id, p->m_id)->m_id, p->m_id);
    }
    return bench;
}

// A drag: the descendants are collected once when the drag begins; every mouse move then sets
// the point and recomputes the collected ids in ascending order.
void DragMoves(benchmark::State& state, std::unique_ptr<BenchPage> (*make)()) {
    auto bench = make();
    CGPage& page = *bench->page;
    bench->moved->MarkDescendants();
    page.CollectMarkedIds(page.m_scratchIds);
    float x = 0.0f;
    for (auto _ : state) {
        x += 0.001f;
        bench->moved->SetPosition(x, 1.0f, 0.0f);
        page.UpdateCellsById(page.m_scratchIds);
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = double(page.m_scratchIds.size());
    state.SetItemsProcessed(state.iterations() * int64_t(page.m_scratchIds.size()));
}

// A single edit: the descendants gathered while they are marked, then recomputed.
void EditMoves(benchmark::State& state, std::unique_ptr<BenchPage> (*make)()) {
    auto bench = make();
    CGPage& page = *bench->page;
    float x = 0.0f;
    for (auto _ : state) {
        x += 0.001f;
        bench->moved->SetPosition(x, 1.0f, 0.0f);
        page.CollectDescendantIds(*bench->moved, page.m_scratchIds);
        page.UpdateCellsById(page.m_scratchIds);
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = double(page.m_scratchIds.size());
    state.SetItemsProcessed(state.iterations() * int64_t(page.m_scratchIds.size()));
}

void BM_DragChain(benchmark::State& state) {
    DragMoves(state, MakeChain);
}
void BM_DragFan(benchmark::State& state) {
    DragMoves(state, MakeFan);
}
void BM_EditChain(benchmark::State& state) {
    EditMoves(state, MakeChain);
}
void BM_EditFan(benchmark::State& state) {
    EditMoves(state, MakeFan);
}
BENCHMARK(BM_DragChain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragFan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditChain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditFan)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
