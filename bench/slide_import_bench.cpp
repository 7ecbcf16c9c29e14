// Slide import of long texts: a presentation (a few KB, deflated) whose text box holds one unbroken
// word of 1 MiB, imported drawn as a picture (conversion off) and as an editable text; a table of
// 20 rows or of 20 columns (each drawn as a picture) with that word in one cell; a word of 15 MiB imported
// either way. Each case reads the file and imports its slide into a new page.  The counter rss_mb is how much
// the process grew in the case's first iteration; file_kb is the presentation's size.
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

void Import(benchmark::State& state, const QByteArray& bytes, bool convert) {
    HxSetScreenSizeOverride(1920, 1080);
    HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    bool first = true;
    for (auto _ : state) {
        const long before = HxResidentKb();
        {
            auto doc = std::make_unique<CHalvixDoc>();
            doc->OnNewDocument();
            doc->OnInitialUpdate();
            HxSlideDeck deck;
            if (HxReadPptx(bytes, deck) != kPptxOk)
                state.SkipWithError("not read");
            else if (!HxImportSlideDeck(doc.get(), deck, 1, 1, convert, nullptr))
                state.SkipWithError("not imported");
            if (first)
                state.counters["rss_mb"] = double(HxResidentKb() - before) / 1024.0;
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

} // namespace

BENCHMARK(BM_WordOf1MibInATextBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordOf1MibInATableOf20Rows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordOf1MibInATableOf20Columns)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordOf15MibInATextBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
