// User-defined tools: a tool of 50 cells (two free points and 24 segments each with its midpoint,
// every segment from the first point to the midpoint before) applied with F5 to 200 selected points
// (100 applications, 4,800 new cells as one undo step), and that step undone.
#include "document/halvix_doc.h"
#include "document/tool_commands.h"
#include "document/tool_record.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "model/line.h"
#include "view/view_globals.h"
#include "view/view_tool_globals.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>
#include <string>

namespace {

constexpr int kPairs = 100;

struct CToolPage {
    std::unique_ptr<CHalvixDoc> doc;
    CGPage* page = nullptr;
    CRecord* tool = nullptr;
    std::vector<WORD> points;
    int before = 0;

    // The 200 points selected again (undoing an addition clears the selection).
    void SelectPoints() {
        page->ClearSelection();
        for (WORD id : points) {
            page->FindCell(id)->m_selected = true;
            page->SelectCell(id);
        }
    }
};

WORD Free(CGPage* page, float x, float y, float z) {
    const WORD id = page->m_nextId++;
    page->m_cells.SetAt(id, new CGVerFreeXyz(id, page->m_nextVertex++, page->MakeAutoLabel(1), x, y, z));
    return id;
}

// The 50-cell construction made into the document's tool, then 200 free points selected.
CToolPage MakeToolPage() {
    HxSetScreenSizeOverride(1920, 1080);
    HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    CToolPage t;
    t.doc = std::make_unique<CHalvixDoc>();
    t.doc->OnNewDocument();
    t.page = g_pCurPage;
    CGPage* page = t.page;
    const WORD a = Free(page, 0, 0, 0);
    WORD end = Free(page, 8, 4, 2);
    for (int i = 0; i < 24; ++i) {
        const WORD line = page->m_nextId++;
        page->m_cells.SetAt(line, new CGLine(line, a, end, CGLine::kSegment));
        const WORD mid = page->m_nextId++;
        page->m_cells.SetAt(mid, new CGVerMid(mid, page->m_nextVertex++, page->MakeAutoLabel(1), line));
        end = mid;
    }
    page->SelectAllOfKind(0);
    t.tool = page->CreateTool();
    t.doc->m_tools.AddTail(t.tool);
    g_pCurrentTool = t.tool;
    g_mouseTool = 1;
    page->ClearSelection();
    for (int i = 0; i < 2 * kPairs; ++i)
        t.points.push_back(Free(page, float(i % 17), float(i / 17), float(i % 5)));
    page->RebuildVertexArray();
    t.SelectPoints();
    t.before = page->m_cells.GetCount();
    return t;
}

void BM_ToolAppliedByF5(benchmark::State& state) {
    CToolPage t = MakeToolPage();
    if (!t.tool || t.tool->m_cellCount != 50) {
        state.SkipWithError("the tool is not 50 cells");
        return;
    }
    for (auto _ : state) {
        t.doc->OnToolApply();
        state.PauseTiming();
        const int made = t.page->m_cells.GetCount() - t.before;
        t.page->m_cmdProcessor.Undo();
        t.SelectPoints();
        state.ResumeTiming();
        if (made != kPairs * 48) {
            state.SkipWithError(("F5 made " + std::to_string(made) + " cells").c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPairs * 48);
    g_pCurrentTool = nullptr;
}
BENCHMARK(BM_ToolAppliedByF5)->Unit(benchmark::kMillisecond);

void BM_ToolApplicationUndone(benchmark::State& state) {
    CToolPage t = MakeToolPage();
    for (auto _ : state) {
        state.PauseTiming();
        t.SelectPoints();
        t.doc->OnToolApply();
        state.ResumeTiming();
        t.page->m_cmdProcessor.Undo();
        if (t.page->m_cells.GetCount() != t.before) {
            state.SkipWithError("the undo left cells");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPairs * 48);
    g_pCurrentTool = nullptr;
}
BENCHMARK(BM_ToolApplicationUndone)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
