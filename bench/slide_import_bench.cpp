// Slide import of long texts: a presentation (a few KB, deflated) whose text box holds one unbroken
// word of 1 MiB, imported drawn as a picture (conversion off) and as an editable text; a table of
// 20 rows or of 20 columns (each drawn as a picture) with that word in one cell; a word of 15 MiB imported
// either way; slides of 2,000 small text boxes, each one word of 4,100 characters (or of 20, for
// comparison), one slide (46 KB) or ten (424 KB, 20,000 objects), either way; a table of 19 x 19 cells of
// 40,000 characters each, either way.  Each case reads the file and imports its slides into new pages.
// The counter rss_mb is how much the process grew in the case's first iteration, peak_mb the
// process's largest resident size in it (from where it was at its start); file_kb is the
// presentation's size.  Aims: the boxes of long words within three times those of short words plus
// 1.5 s, ten slides of them within seconds and 400 MB, the table at once.  A Release build here gave,
// drawn / converted: boxes of 4,100-character words 0.54 s / 1.04 s (of 20 characters 0.36 s /
// 0.50 s), ten slides of them 4.8 s, 262 MB / 10.3 s, 320 MB, the table 0.33 s / 0.95 s; laid out
// from a fixed first 4,096 characters, the same cases took 29 s / 27 s, 625 s / 445 s and 14 s / 20 s.
#include "document/halvix_doc.h"
#include "pptx_files.h"
#include "view/slide_import.h"

#include "process_memory.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace PptxFiles;

namespace {

QByteArray WordBox(qsizetype length) {
    return Presentation({TextBox(3, 0, 0, 300, 120, Paragraph(TextRun(QString(length, u'w'))))});
}

QByteArray WordInTable(qsizetype length) {
    std::vector<QString> rows(20, Cell(QStringLiteral("a")) + Cell(QStringLiteral("b")));
    rows[3] = Cell(QString(length, u'w')) + Cell(QStringLiteral("b"));
    return Presentation({Table(4, 10, 10, {200, 50}, std::vector<double>(20, 20), rows)});
}

QByteArray WordInTableOf20Columns(qsizetype length) {
    std::vector<QString> rows(2);
    for (int c = 0; c < 20; ++c) {
        rows[0] += Cell(c == 3 ? QString(length, u'w') : QStringLiteral("a"));
        rows[1] += Cell(QStringLiteral("b"));
    }
    return Presentation({Table(4, 10, 10, std::vector<double>(20, 30), {20, 20}, rows)});
}

// A slide of 2,000 text boxes 90 x 30 points, each holding one word of `length` characters.
QString SlideOfWordBoxes(qsizetype length) {
    QString shapes;
    for (int i = 0; i < 2000; ++i)
        shapes += TextBox(3 + i, (i % 40) * 15.0, (i / 40) * 9.0, 90, 30,
                          Paragraph(TextRun(QString(length, QChar(u'a' + i % 26)))));
    return shapes;
}

QByteArray TableOfLongCells(int side, qsizetype length) {
    std::vector<QString> rows(static_cast<size_t>(side));
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            rows[size_t(r)] += Cell(QString(length, QChar(u'a' + (r + c) % 26)));
    return Presentation(
        {Table(4, 0, 0, std::vector<double>(size_t(side), 36), std::vector<double>(size_t(side), 27), rows)});
}

void Import(benchmark::State& state, const QByteArray& bytes, bool convert, int slides = 1) {
    HxSetScreenSizeOverride(1920, 1080);
    HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    bool first = true;
    for (auto _ : state) {
        const long before = HxResidentKb();
        if (first)
            HxResetPeakResident();
        {
            auto doc = std::make_unique<CHalvixDoc>();
            doc->OnNewDocument();
            doc->OnInitialUpdate();
            HxSlideDeck deck;
            if (HxReadPptx(bytes, deck) != kPptxOk)
                state.SkipWithError("not read");
            else if (!HxImportSlideDeck(doc.get(), deck, 1, slides, convert, nullptr))
                state.SkipWithError("not imported");
            if (first) {
                state.counters["rss_mb"] = double(HxResidentKb() - before) / 1024.0;
                state.counters["peak_mb"] = double(HxPeakResidentKb()) / 1024.0;
            }
            first = false;
        }
    }
    HxSetMessageBoxHandler(nullptr);
    state.counters["file_kb"] = double(bytes.size()) / 1024.0;
}

// Range: 1 converted into an editable text (cut to the editor's length), 0 drawn as a picture.
void BM_WordOf1MibInATextBox(benchmark::State& state) {
    Import(state, WordBox(1 << 20), state.range(0) != 0);
}

void BM_WordOf1MibInATableOf20Rows(benchmark::State& state) {
    Import(state, WordInTable(1 << 20), true);
}

void BM_WordOf1MibInATableOf20Columns(benchmark::State& state) {
    Import(state, WordInTableOf20Columns(1 << 20), true);
}

void BM_WordOf15MibInATextBox(benchmark::State& state) {
    Import(state, WordBox(15 << 20), state.range(0) != 0);
}

// Ranges: the word's length; 1 converted into editable texts, 0 drawn as pictures.
void BM_SlideOf2000WordBoxes(benchmark::State& state) {
    Import(state, Presentation({SlideOfWordBoxes(state.range(0))}), state.range(1) != 0);
}

// Ten such slides: 20,000 objects, as many as an import makes.
void BM_TenSlidesOf2000WordBoxes(benchmark::State& state) {
    Import(state, Presentation(std::vector<QString>(10, SlideOfWordBoxes(state.range(0)))),
           state.range(1) != 0, 10);
}

void BM_TableOf19x19CellsOf40000Characters(benchmark::State& state) {
    Import(state, TableOfLongCells(19, 40000), state.range(0) != 0);
}

} // namespace

BENCHMARK(BM_WordOf1MibInATextBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordOf1MibInATableOf20Rows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordOf1MibInATableOf20Columns)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordOf15MibInATextBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SlideOf2000WordBoxes)
    ->ArgsProduct({{20, 4100}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_TenSlidesOf2000WordBoxes)
    ->ArgsProduct({{4100}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_TableOf19x19CellsOf40000Characters)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
