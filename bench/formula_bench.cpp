// The formula engine's speed: a formula of about 500 nodes laid out and rendered into an RGBA
// picture, and the time from a key press to the repainted editing control while typing (one key
// typed and one taken back per iteration, so the formula keeps its size).
#include "app/formula_ctrl.h"
#include "formula/bin_tree.h"

#include <benchmark/benchmark.h>

#include <QTest>

namespace {

// 70 fractions with a "+" between them: 70 x 7 + 69 + 2 = 561 nodes.
CString FiveHundredNodes() {
    CString markup = u"<#><l>";
    for (int i = 0; i < 70; ++i) {
        if (i)
            markup += u"<e>+</e>";
        markup += HxFormat(u"<f><#><l><e>a%d</e></l></#><#><l><e>b</e></l></#></f>", i);
    }
    markup += u"</l></#>";
    return markup;
}

void BM_Layout500NodesToRgba(benchmark::State& state) {
    CBinTree doc;
    if (!doc.SetMarkup(FiveHundredNodes())) {
        state.SkipWithError("markup refused");
        return;
    }
    int w = 0, h = 0;
    for (auto _ : state) {
        std::vector<BYTE> rgba = doc.MakeTexture(&w, &h, 0);
        benchmark::DoNotOptimize(rgba.data());
    }
    state.counters["width"] = w;
    state.counters["height"] = h;
}

void TypeAndRepaint(benchmark::State& state, const CString& markup) {
    CBinTree doc;
    doc.SetMarkup(markup);
    CFormulaCtrl ctrl;
    ctrl.resize(800, 300);
    ctrl.SetDocument(&doc);
    ctrl.show();
    if (!QTest::qWaitForWindowExposed(&ctrl)) {
        state.SkipWithError("the control is not shown");
        return;
    }
    ctrl.setFocus();
    ctrl.repaint();
    for (auto _ : state) {
        QTest::keyClick(&ctrl, Qt::Key_X);
        ctrl.repaint();
        QTest::keyClick(&ctrl, Qt::Key_Backspace);
        ctrl.repaint();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 2); // key presses
    if (ctrl.PaintedImage().isNull())
        state.SkipWithError("nothing was painted");
    state.counters["width"] = ctrl.PaintedImage().width();
}

void BM_KeyToRepaintEmptyFormula(benchmark::State& state) {
    TypeAndRepaint(state, HX_EMPTY_FORMULA);
}

void BM_KeyToRepaint500Nodes(benchmark::State& state) {
    TypeAndRepaint(state, FiveHundredNodes());
}

} // namespace

BENCHMARK(BM_Layout500NodesToRgba)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_KeyToRepaintEmptyFormula)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(BM_KeyToRepaint500Nodes)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
