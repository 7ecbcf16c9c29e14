// The document file: storing and loading a document of 20 pages and 5,000 cells in all (points and
// the segments between them), the load including the recomputation of every page and the view of
// the first page; store and load cycles of 20 pages of 5,000 cells each (100,000 cells), the first
// cycle in a fresh process and whether later ones slow down; an undo and redo of deleting a whole
// page; and lessons of 8 and of 30 pages of one camera photo each, saved and opened again, with the
// peak memory each step takes against the file's size.
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "model/line.h"
#include "view/view_globals.h"

#include "process_memory.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

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

// A lesson of `photos` pages, each with one picture of a 12-megapixel camera (4,000 x 3,000 pixels)
// inserted as 插入图片 inserts it on a page of its own; the pixels differ from page to page.
std::unique_ptr<CHalvixDoc> MakePhotoLesson(int photos) {
    constexpr int kWidth = 4000, kHeight = 3000;
    HxSetScreenSizeOverride(1920, 1080);
    g_clientWidth = 1600;
    g_clientHeight = 900;
    auto doc = std::make_unique<CHalvixDoc>();
    doc->OnNewDocument();
    for (int i = 0; i < photos; ++i) {
        if (i > 0)
            doc->OnNewPage();
        std::vector<BYTE> pixels(size_t(CGTextbit::PictureRowBytes(kWidth) * kHeight));
        for (size_t k = 0; k < pixels.size(); ++k)
            pixels[k] = BYTE(k * 7 + (k >> 12) * 13 + size_t(i) * 31);
        doc->InsertImage(kWidth, kHeight, std::move(pixels));
    }
    return doc;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Saves the lesson to a file and opens it again in a new document, once each (the lesson saved is
// gone before the open).  Counters: the file's size; each step's time; and the peak resident memory
// each step took beyond what the process held before it, in MB and per MB of the file (the open's
// includes the lesson it reads, so it cannot go below 1 when the lesson opens: reopened 1).
void BM_SaveAndOpenPhotoLesson(benchmark::State& state) {
    const int photos = int(state.range(0));
    int messages = 0;
    HxSetMessageBoxHandler([&](const CString&, const CString&, UINT) {
        ++messages;
        return IDOK;
    });
    QTemporaryDir dir;
    const CString path = CString::FromQString(dir.filePath(QStringLiteral("照片.hvx")));
    for (auto _ : state) {
        auto doc = MakePhotoLesson(photos);
        long before = HxResidentKb();
        HxResetPeakResident();
        auto start = std::chrono::steady_clock::now();
        const bool saved = doc->OnSaveDocument(path);
        const double saveSeconds = Seconds(start);
        const double savePeakMb = double(HxPeakResidentKb() - before) / 1024.0;
        doc.reset();

        before = HxResidentKb();
        HxResetPeakResident();
        start = std::chrono::steady_clock::now();
        auto opened = std::make_unique<CHalvixDoc>();
        const bool read = saved && opened->OnOpenDocument(path);
        const double openSeconds = Seconds(start);
        const double openPeakMb = double(HxPeakResidentKb() - before) / 1024.0;
        const bool whole = read && opened->GetPageCount() == photos;
        if (!saved)
            state.SkipWithError("the lesson was not saved");
        opened.reset();

        const double fileMb = double(QFileInfo(path.ToQString()).size()) / (1024.0 * 1024.0);
        state.SetIterationTime(saveSeconds + openSeconds);
        state.counters["file_mb"] = fileMb;
        state.counters["save_s"] = saveSeconds;
        state.counters["open_s"] = openSeconds;
        state.counters["save_peak_mb"] = savePeakMb;
        state.counters["open_peak_mb"] = openPeakMb;
        if (fileMb > 0) {
            state.counters["save_peak_x"] = savePeakMb / fileMb;
            state.counters["open_peak_x"] = openPeakMb / fileMb;
        }
        state.counters["reopened"] = whole ? 1 : 0;
        state.counters["messages"] = messages;
    }
    HxSetMessageBoxHandler(nullptr);
}
BENCHMARK(BM_SaveAndOpenPhotoLesson)
    ->Arg(8)
    ->Arg(30)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
