// The expression language: checking and compiling a 200-character expression, and evaluations of
// a compiled tree of 50 nodes.
#include "measure/fun_parser.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK_MAIN();
