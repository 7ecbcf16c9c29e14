// The document file: storing and loading a document of 20 pages and 5,000 cells in all (points and
// the segments between them), the load including the recomputation of every page and the view of
// the first page; store and load cycles of 20 pages of 5,000 cells each (100,000 cells), the first
// cycle in a fresh process and whether later ones slow down; also an undo and redo of deleting a
// whole page.
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "model/line.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace {

constexpr int kPages = 20;
constexpr int kCellsPerPage = 250;

// Points on a helix and the segments joining each point to the one before, in turn.
void FillPage(CGPage* page, int cellsPerPage = kCellsPerPage) {
    CCellMap* saved = g_cellMap;
    g_cellMap = &page->m_cells;
    WORD previous = 0;
    while (page->m_cells.GetCount() < cellsPerPage) {
        WORD id = page->m_nextId++;
        float t = float(id) * 0.1f;
        page->m_cells.SetAt(id, new CGVertex(id, page->m_nextVertex++,
                                             page->MakeAutoLabel(CGPage::kAutoLabelPoint), std::cos(t),
                                             std::sin(t), t));
        if (previous != 0 && page->m_cells.GetCount() < cellsPerPage) {
            WORD lineId = page->m_nextId++;
            page->m_cells.SetAt(lineId, new CGLine(lineId, previous, id, CGLine::kSegment));
        }
        previous = id;
    }
    g_cellMap = saved;
}

std::unique_ptr<CHalvixDoc> MakeDocument(int cellsPerPage = kCellsPerPage) {
    HxSetScreenSizeOverride(1920, 1080);
    auto doc = std::make_unique<CHalvixDoc>();
    doc->OnNewDocument();
    FillPage(doc->GetPage(0), cellsPerPage);
    for (int i = 1; i < kPages; ++i)
        FillPage(doc->AppendPage(HxFormat(u"第%d页", i + 1)), cellsPerPage);
    return doc;
}

void BM_StoreDocument(benchmark::State& state) {
    auto doc = MakeDocument();
    size_t bytes = 0;
    for (auto _ : state) {
        std::vector<BYTE> data = doc->StoreToBytes();
        bytes = data.size();
        benchmark::DoNotOptimize(data.data());
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations() * kPages * kCellsPerPage);
}
BENCHMARK(BM_StoreDocument)->Unit(benchmark::kMillisecond);

void BM_LoadDocument(benchmark::State& state) {
    auto doc = MakeDocument();
    std::vector<BYTE> data = doc->StoreToBytes();
    for (auto _ : state) {
        CMemFile file(data);
        if (!doc->ReadDocument(file, u"bench.hvx", FALSE))
            state.SkipWithError("the document did not load");
        benchmark::DoNotOptimize(doc->GetPageCount());
    }
    state.SetItemsProcessed(state.iterations() * kPages * kCellsPerPage);
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);

// Twenty cycles of storing the document and loading it back into the same document object, each
// timed: the first is that of a fresh process, the last shows whether repeating them slows down.
void BM_StoreAndLoad100000Cells(benchmark::State& state) {
    auto doc = MakeDocument(5000);
    std::vector<double> seconds;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CMemFile file(doc->StoreToBytes());
        if (!doc->ReadDocument(file, u"bench.hvx", FALSE))
            state.SkipWithError("the document did not load");
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.SetIterationTime(seconds.back());
    }
    state.counters["cells"] = double(kPages * 5000);
    if (!seconds.empty()) {
        state.counters["first_s"] = seconds.front();
        state.counters["last_s"] = seconds.back();
    }
}
BENCHMARK(BM_StoreAndLoad100000Cells)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DeletePageCellsUndoRedo(benchmark::State& state) {
    auto doc = MakeDocument();
    CGPage* page = g_pCurPage;
    for (auto _ : state) {
        page->SelectAllOfKind(0);
        auto* ids = new CList<WORD, WORD>;
        page->CollectDeletionIds(*ids);
        auto* cmd = new CCmdDelCells(ids, u"清除对象");
        page->m_cmdProcessor.Submit(cmd);
        cmd->Redo();
        page->m_cmdProcessor.Undo();
        page->m_cmdProcessor.Redo();
        page->m_cmdProcessor.Undo();
    }
    state.SetItemsProcessed(state.iterations() * kCellsPerPage);
}
BENCHMARK(BM_DeletePageCellsUndoRedo)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
