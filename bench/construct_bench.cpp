// The segment command on 5,000 selected points (5,000 segments, the chain closed, as one undo step),
// then the undo and the redo of that step.
#include "construct/construct_ids.h"
#include "document/halvix_doc.h"
#include "model/vertex.h"
#include "view/vertex_array.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr int kPoints = 5000;

// A new document whose first page holds kPoints points on a helix.
std::unique_ptr<CHalvixDoc> MakeDocument() {
    HxSetScreenSizeOverride(1920, 1080);
    auto doc = std::make_unique<CHalvixDoc>();
    doc->OnNewDocument();
    CGPage* page = g_pCurPage;
    EnsureVertexArray(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const WORD id = page->m_nextId++;
        const float t = float(i) * 0.01f;
        page->m_cells.SetAt(id, new CGVertex(id, page->m_nextVertex++,
                                             page->MakeAutoLabel(CGPage::kAutoLabelPoint), std::cos(t),
                                             std::sin(t), t));
    }
    return doc;
}

// Every point of the page selected, in id order.
void SelectAllPoints(CGPage* page) {
    page->ClearSelection();
    for (int id = 1; id <= kPoints; ++id)
        page->SelectCell(WORD(id));
}

void Segments() {
    AfxGetCommandRouter().Execute(ID_CREATE_LINE_SEGMENT);
}

void BM_SegmentCommand(benchmark::State& state) {
    auto doc = MakeDocument();
    AfxGetCommandRouter().SetChain({doc.get()});
    CGPage* page = g_pCurPage;
    for (auto _ : state) {
        state.PauseTiming();
        SelectAllPoints(page);
        state.ResumeTiming();
        Segments();
        state.PauseTiming();
        if (page->m_cells.GetCount() != 2 * kPoints)
            state.SkipWithError("the command did not make the segments");
        page->m_cmdProcessor.Undo();
        state.ResumeTiming();
    }
    state.counters["cells"] = double(kPoints);
    AfxGetCommandRouter().SetChain({});
}
BENCHMARK(BM_SegmentCommand)->Unit(benchmark::kMillisecond);

void BM_SegmentUndo(benchmark::State& state) {
    auto doc = MakeDocument();
    AfxGetCommandRouter().SetChain({doc.get()});
    CGPage* page = g_pCurPage;
    for (auto _ : state) {
        state.PauseTiming();
        SelectAllPoints(page);
        Segments();
        state.ResumeTiming();
        page->m_cmdProcessor.Undo();
    }
    AfxGetCommandRouter().SetChain({});
}
BENCHMARK(BM_SegmentUndo)->Unit(benchmark::kMillisecond);

void BM_SegmentRedo(benchmark::State& state) {
    auto doc = MakeDocument();
    AfxGetCommandRouter().SetChain({doc.get()});
    CGPage* page = g_pCurPage;
    SelectAllPoints(page);
    Segments();
    for (auto _ : state) {
        state.PauseTiming();
        page->m_cmdProcessor.Undo();
        state.ResumeTiming();
        page->m_cmdProcessor.Redo();
    }
    if (page->m_cells.GetCount() != 2 * kPoints)
        state.SkipWithError("the redo did not put the segments back");
    AfxGetCommandRouter().SetChain({});
}
BENCHMARK(BM_SegmentRedo)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
