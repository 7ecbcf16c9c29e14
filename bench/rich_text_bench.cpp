// Long rich text: reading 200,000 paragraphs (800 KB) and their picture (which looks only at the
// paragraphs it can show for their sizes: 10 ms here, 58 ms when it looked at all of them), the
// picture of one unbroken 400 KB word, a 10 MB text read and drawn, the editor opening a 10 MB text
// (refused: longer than it holds) and a text at its limit (shown, laid out, OK with its picture).
// The counter rss_mb is how much the process grew while the case's documents were alive (its first
// iteration).
#include "app/rich_text_editor_ui.h"
#include "measure/rich_text.h"

#include "process_memory.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <memory>

namespace {

QByteArray Rtf(const QByteArray& body) {
    return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
           "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs52 " +
           body + "\\par\r\n}";
}

// 200,000 paragraphs, 800 KB.
QByteArray Paragraphs200k() {
    return Rtf(QByteArray("\\par").repeated(200000));
}

// About 10 MB: lines of text in paragraphs, or one word.
QByteArray TenMegabytes(bool oneWord) {
    return Rtf(oneWord ? QByteArray(10 << 20, 'x')
                       : QByteArray("A line of the text, with words\\par\r\n").repeated((10 << 20) / 36));
}

void RecordGrowth(benchmark::State& state, long before, long after) {
    state.counters["rss_mb"] = double(after - before) / 1024.0;
}

// Read into a document laid out as the editor's is.
void BM_ReadParagraphs200k(benchmark::State& state) {
    const QByteArray rtf = Paragraphs200k();
    bool first = true;
    for (auto _ : state) {
        const long before = HxResidentKb();
        QTextDocument doc;
        HxInstallRichObjectHandler(doc);
        doc.setTextWidth(584);
        if (!HxRtfToDocument(rtf, doc))
            state.SkipWithError("not read");
        if (first)
            RecordGrowth(state, before, HxResidentKb());
        first = false;
    }
    state.counters["bytes"] = double(rtf.size());
}

// The picture of 200,000 paragraphs: only those it can show are looked at for their sizes.
void BM_PictureOf200kParagraphs(benchmark::State& state) {
    QTextDocument doc;
    if (!HxRtfToDocument(Paragraphs200k(), doc))
        state.SkipWithError("not read");
    for (auto _ : state) {
        int w = 0, h = 0;
        benchmark::DoNotOptimize(HxRenderRichText(doc, 584, 135, &w, &h).data());
    }
}

void BM_PictureOfA400KbWord(benchmark::State& state) {
    QTextDocument doc;
    if (!HxRtfToDocument(Rtf(QByteArray(400 << 10, 'x')), doc))
        state.SkipWithError("not read");
    for (auto _ : state) {
        int w = 0, h = 0;
        benchmark::DoNotOptimize(HxRenderRichText(doc, 584, 135, &w, &h).data());
    }
}

// A 10 MB text read without a limit and its picture made (the program reads stored rich text only
// in the editor, which stops at its limit).  Range 1: one word, whose paragraph the document's
// layout lays out whole on its first step (one unbroken line), which is most of its memory.
void BM_ReadAndPicture10Mb(benchmark::State& state) {
    const QByteArray rtf = TenMegabytes(state.range(0) != 0);
    bool first = true;
    for (auto _ : state) {
        const long before = HxResidentKb();
        QTextDocument doc;
        if (!HxRtfToDocument(rtf, doc))
            state.SkipWithError("not read");
        int w = 0, h = 0;
        benchmark::DoNotOptimize(HxRenderRichText(doc, 584, 135, &w, &h).data());
        if (first)
            RecordGrowth(state, before, HxResidentKb());
        first = false;
    }
    state.counters["bytes"] = double(rtf.size());
}

// The editor opened on a 10 MB item: refused with its message once it has read past its limit.
void BM_EditorOpens10Mb(benchmark::State& state) {
    CDlgRtEdit fields;
    fields.m_rtf = PackRtfBytes(TenMegabytes(state.range(0) != 0));
    int refused = 0;
    HxSetMessageBoxHandler([&](const CString&, const CString&, UINT) {
        ++refused;
        return IDOK;
    });
    for (auto _ : state) {
        CDlgRtEditWindow window(fields);
        if (window.OnInitDialog() != -1)
            state.SkipWithError("a 10 MB text was opened");
    }
    HxSetMessageBoxHandler(nullptr);
    state.counters["refused"] = refused;
}

// The editor on a text as long as it holds: shown, laid out whole, then OK with its picture.  Range:
// the size in half points (52: 26 points, the default; up to 3276, the largest).
void BM_EditorAtItsLimit(benchmark::State& state) {
    CDlgRtEdit fields;
    fields.m_rtf = PackRtfBytes("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\pard\\f0\\fs" +
                                QByteArray::number(state.range(0)) + " " +
                                QByteArray(CDlgRtEdit::kMaxTextLength, 'x') + "\\par}");
    bool first = true;
    for (auto _ : state) {
        const long before = HxResidentKb();
        CDlgRtEditWindow window(fields);
        if (window.OnInitDialog() != 0)
            state.SkipWithError("not opened");
        window.show();
        const QSizeF size = window.Editor()->document()->documentLayout()->documentSize();
        QApplication::processEvents();
        state.counters["lines"] = window.Editor()->document()->begin().layout()->lineCount();
        state.counters["height"] = size.height();
        window.OnOK();
        if (fields.m_picture.empty())
            state.SkipWithError("no picture");
        if (first)
            RecordGrowth(state, before, HxResidentKb());
        first = false;
    }
}

} // namespace

BENCHMARK(BM_ReadParagraphs200k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PictureOf200kParagraphs)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_PictureOfA400KbWord)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ReadAndPicture10Mb)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EditorOpens10Mb)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditorAtItsLimit)
    ->Arg(52)
    ->Arg(144)
    ->Arg(400)
    ->Arg(3276)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
