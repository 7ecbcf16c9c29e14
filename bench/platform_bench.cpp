// Archive throughput: strings and word lists, the bulk of every page record.
#include "platform/afx.h"

#include <benchmark/benchmark.h>

static void BM_StoreLoadStrings(benchmark::State& state) {
    CString s(u"点A、B 确定的线段");
    for (auto _ : state) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            for (int i = 0; i < state.range(0); ++i)
                ar << s;
            ar.Close();
        }
        file.Seek(0, CFile::begin);
        CArchive ar(&file, CArchive::load);
        CString t;
        for (int i = 0; i < state.range(0); ++i)
            ar >> t;
        benchmark::DoNotOptimize(t);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StoreLoadStrings)->Arg(10000);

static void BM_WordMapInsertWalk(benchmark::State& state) {
    for (auto _ : state) {
        CMap<WORD, WORD, WORD, WORD> map;
        for (int k = 1; k <= state.range(0); ++k)
            map.SetAt(WORD(k), WORD(k));
        unsigned sum = 0;
        for (POSITION p = map.GetStartPosition(); p;) {
            WORD k, v;
            map.GetNextAssoc(p, k, v);
            sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_WordMapInsertWalk)->Arg(10000);

BENCHMARK_MAIN();
