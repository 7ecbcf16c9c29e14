// The expression language: checking and compiling a 200-character expression, and evaluations of
// a compiled tree of 50 nodes; the measurements of a page recomputed and reformatted after one
// drag step of the point they measure, and 1,000 calculated values recomputed after one drag step.
#include "formula/bin_tree.h"
#include "measure/calculator.h"
#include "measure/fun_parser.h"
#include "measure/measurements.h"
#include "measure/vector_items.h"
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/view_globals.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

int CountNodes(const CFunNode* node) {
    return node ? 1 + CountNodes(node->m_pLeft) + CountNodes(node->m_pRight) : 0;
}

// A 200-character text over three measurements, with every kind of node.
const char16_t* const kText200 =
    u"sin(No1)*No2+(No2^2-3.5)/cbrt(No1+7)-abs(-No3)%2.25+sqrt(No1*No1+No2*No2)-round(No3/7)*lg(100)"
    u"+exp(0.5*No1)-cos(pi*No2/6)^2+int(No3-0.25)*arctan(No2/(1+No1))-tanh(No1)+ln(No3)*sinh(0.5)+No2%3"
    u"+1.234567";

void PrepareParser(CFunParser& parser) {
    parser.SetVariables(u"No1,No2,No3,");
    parser.m_values = {1.25, -2.5, 7.75};
}

void BM_CompileExpression200(benchmark::State& state) {
    CFunParser parser;
    PrepareParser(parser);
    CString text = kText200;
    for (auto _ : state) {
        parser.SetText(text);
        parser.m_lastCheck = parser.CheckSyntax();
        parser.Parse();
        benchmark::DoNotOptimize(parser.m_pRoot);
    }
    if (parser.m_state != HX_PARSER_COMPILED)
        state.SkipWithError("the bench text does not compile");
    state.counters["chars"] = text.GetLength();
    state.counters["nodes"] = CountNodes(parser.m_pRoot);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CompileExpression200);

void BM_Evaluate50Nodes(benchmark::State& state) {
    CFunParser parser;
    PrepareParser(parser);
    // 50 nodes: operands, operators and functions.
    parser.SetText(u"sin(No1)*No2+(No2^2-3.5)/cbrt(No1+7)-abs(-No3)+sqrt(No1*No1+No2*No2)"
                   u"-round(No3/7)+exp(0.5*No1)-cos(pi*No2/6)+ln(No3)+No1");
    parser.CheckSyntax();
    parser.Parse();
    int nodes = CountNodes(parser.m_pRoot);
    double value = 0;
    for (auto _ : state) {
        parser.m_values[0] += 1e-9;
        benchmark::DoNotOptimize(parser.GetValue(&value));
    }
    state.counters["nodes"] = nodes;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluate50Nodes);

// 1,000 measurements of every kind that a point can feed (coordinates, distances to points, lines
// and planes, angles, areas, volumes, position vectors and their lengths), all on the moved point A.
struct MeasuredPage {
    std::unique_ptr<CGPage> page = std::make_unique<CGPage>();
    CGVertex* moved = nullptr;
    int measurements = 0;

    MeasuredPage() {
        delete[] g_vertexArray;
        g_vertexArrayCapacity = 100;
        g_vertexArray = new float[size_t(g_vertexArrayCapacity + 10) * 3]();
        g_pCurPage = page.get();
        g_cellMap = &page->m_cells;
        moved = Point(0.5f, 0.25f, 1.0f);
        const WORD b = Point(4, 0, 0)->m_id, c = Point(0, 3, 0)->m_id, d = Point(0, 0, 5)->m_id;
        const WORD a = moved->m_id;
        const WORD ab = Add(new CGLine(Next(), a, b, CGLine::kSegment))->m_id;
        const WORD cd = Add(new CGLine(Next(), c, d, CGLine::kLine))->m_id;
        const WORD abc = Add(new CGFace(Next(), a, b, c, RGB(1, 2, 3)))->m_id;
        const WORD bcd = Add(new CGFace(Next(), b, c, d, RGB(1, 2, 3)))->m_id;
        while (measurements < 1000) {
            switch (measurements % 10) {
            case 0:
                Measure(new CGTmVarCoordX(Next(), a));
                break;
            case 1:
                Measure(new CGTmVarDistancePP(Next(), a, b));
                break;
            case 2:
                Measure(new CGTmVarDistancePL(Next(), a, cd));
                break;
            case 3:
                Measure(new CGTmVarDistancePF(Next(), a, bcd));
                break;
            case 4:
                Measure(new CGTmVarAngleLL(Next(), ab, cd));
                break;
            case 5:
                Measure(new CGTmVarAngleFF(Next(), abc, bcd));
                break;
            case 6:
                Measure(new CGTmVarArea(Next(), abc));
                break;
            case 7:
                Measure(new CGTmVarVolume(Next(), a, b, c, d));
                break;
            case 8:
                Measure(new CGTmVarAngleP3(Next(), b, a, c));
                break;
            default: {
                const WORD v = Add(new CGTmVectorPP(Next(), b, a))->m_id;
                ++measurements;
                Measure(new CGTmVarVectorLength(Next(), v));
                break;
            }
            }
        }
    }
    ~MeasuredPage() {
        page.reset();
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    WORD Next() { return page->m_nextId++; }
    template <class T> T* Add(T* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    void Measure(CGCell* cell) {
        Add(cell);
        ++measurements;
    }
    CGVertex* Point(float x, float y, float z) {
        const WORD id = Next();
        return Add(new CGVertex(id, page->m_nextVertex++, page->MakeAutoLabel(1), x, y, z));
    }
};

// One drag step: the point moves, its descendants (gathered once when the drag began) are
// recomputed in ascending id order, each measurement formatting its text again.
void BM_DragStepRecomputes1000Measurements(benchmark::State& state) {
    MeasuredPage bench;
    CGPage& page = *bench.page;
    bench.moved->MarkDescendants();
    page.CollectMarkedIds(page.m_scratchIds);
    float x = 0.5f;
    for (auto _ : state) {
        x += 0.001f;
        bench.moved->SetPosition(x, 0.25f, 1.0f);
        page.UpdateCellsById(page.m_scratchIds);
        benchmark::ClobberMemory();
    }
    state.counters["measurements"] = bench.measurements;
    state.counters["recomputed"] = double(page.m_scratchIds.size());
    state.SetItemsProcessed(state.iterations() * int64_t(page.m_scratchIds.size()));
}
BENCHMARK(BM_DragStepRecomputes1000Measurements)->Unit(benchmark::kMicrosecond);

// A free point, its x coordinate measured, and `count` calculated values over that coordinate and
// the calculation made just before (every tenth over the coordinate alone); one step of a drag of
// the point recomputes the measurement and then every calculation in id order.
void BM_RecomputeCalculationsAfterDragStep(benchmark::State& state) {
    const int count = int(state.range(0));
    delete[] g_vertexArray;
    g_vertexArrayCapacity = 100;
    g_vertexArray = new float[size_t(g_vertexArrayCapacity + 10) * 3]();
    auto page = std::make_unique<CGPage>();
    g_pCurPage = page.get();
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    CGVertex* point = add(new CGVertex(page->m_nextId++, page->m_nextVertex++, u"A", 1.0f, 2.0f, 0.0f));
    auto* x = add(new CGTmVarCoordX(page->m_nextId++, point->m_id));
    WORD previous = x->m_id;
    for (int i = 0; i < count; ++i) {
        CList<WORD, WORD> parents;
        parents.AddTail(x->m_id);
        if (i % 10 != 0)
            parents.AddTail(previous);
        const char16_t* text = i % 10 != 0 ? u"No1*0.5+sin(No2)/(1+No2^2)" : u"sqrt(abs(No1))+2";
        previous = add(new CGTmVarCalculator(page->m_nextId++, parents, text, HX_EMPTY_FORMULA))->m_id;
    }
    point->MarkDescendants();
    page->CollectMarkedIds(page->m_scratchIds);
    float px = 1.0f;
    for (auto _ : state) {
        px += 0.001f;
        point->SetPosition(px, 2.0f, 0.0f);
        page->UpdateCellsById(page->m_scratchIds);
        benchmark::ClobberMemory();
    }
    if (!page->FindCell(previous)->m_valid)
        state.SkipWithError("the last calculation has no value");
    state.counters["cells"] = double(page->m_scratchIds.size());
    state.SetItemsProcessed(state.iterations() * int64_t(page->m_scratchIds.size()));
    page.reset();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}
BENCHMARK(BM_RecomputeCalculationsAfterDragStep)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
