// Page records: storing and loading a page of 10,000 linked cells through dynamic creation.
#include "model/page.h"

#include <benchmark/benchmark.h>

namespace {

// Cells 1..n, each built on the two before it, named like points.
void FillPage(CGPage& page, int n) {
    g_cellMap = &page.m_cells;
    for (int i = 1; i <= n; ++i) {
        auto* cell = new CGCell;
        cell->m_id = WORD(i);
        cell->m_name.Format(u"P%d", i);
        page.m_cells.SetAt(cell->m_id, cell);
        if (i > 2) {
            cell->AddParent(WORD(i - 2));
            cell->AddParent(WORD(i - 1));
        }
    }
    page.m_nextId = WORD(n + 1);
    g_cellMap = nullptr;
}

std::vector<BYTE> StorePage(CGPage& page) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    page.Serialize(ar);
    ar.Close();
    return file.Detach();
}

void BM_StorePage(benchmark::State& state) {
    CGPage page;
    FillPage(page, int(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        std::vector<BYTE> data = StorePage(page);
        bytes = data.size();
        benchmark::DoNotOptimize(data.data());
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StorePage)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LoadPage(benchmark::State& state) {
    CGPage page;
    FillPage(page, int(state.range(0)));
    std::vector<BYTE> data = StorePage(page);
    for (auto _ : state) {
        CMemFile file(data);
        CArchive ar(&file, CArchive::load);
        CGPage back;
        back.Serialize(ar);
        benchmark::DoNotOptimize(back.m_cells.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadPage)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_StoreAndLoadPage(benchmark::State& state) {
    CGPage page;
    FillPage(page, int(state.range(0)));
    for (auto _ : state) {
        std::vector<BYTE> data = StorePage(page);
        CMemFile file(std::move(data));
        CArchive ar(&file, CArchive::load);
        CGPage back;
        back.Serialize(ar);
        benchmark::DoNotOptimize(back.m_cells.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StoreAndLoadPage)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
