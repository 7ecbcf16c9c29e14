// Printing a document of 20 pages (a labelled cube on each, turned a little more from page to page)
// into a PDF file through the drawing view of 800 x 600: every page made current, drawn and read back,
// then framed and scaled on its sheet.  Runs under an X server (xvfb-run).  With HALVIX_PRINT_OUT set
// to a folder, the last PDF and the first sheet drawn as a PNG are left there to be looked at.
#include "document/halvix_doc.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/halvix_view.h"
#include "view/print_sheet.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int kPages = 20;

// Eight corners and twelve edges of a cube of side 8 on the current page.
void AddCube(CGPage& page) {
    WORD ids[8];
    for (int i = 0; i < 8; ++i) {
        const float x = (i & 1) ? 4.0f : -4.0f, y = (i & 2) ? 4.0f : -4.0f, z = (i & 4) ? 4.0f : -4.0f;
        auto* p = new CGVertex(page.m_nextId++, page.m_nextVertex++,
                               page.MakeAutoLabel(CGPage::kAutoLabelPoint), x, y, z);
        p->m_labelHidden = 0;
        page.m_cells.SetAt(p->m_id, p);
        ids[i] = p->m_id;
    }
    const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                              {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges) {
        auto* l = new CGLine(page.m_nextId++, ids[e[0]], ids[e[1]], CGLine::kSegment);
        page.m_cells.SetAt(l->m_id, l);
    }
    page.RebuildVertexArray();
}

struct CPrintSetup {
    std::unique_ptr<CHalvixDoc> doc;
    std::unique_ptr<CHalvixView> view;
    bool Start() {
        HxInitInstallFolder();
        doc = std::make_unique<CHalvixDoc>();
        if (!doc->OnNewDocument())
            return false;
        for (int i = 1; i < kPages; ++i)
            doc->AppendPage(HxPageTitle(i + 1));
        for (int i = 0; i < kPages; ++i) {
            CGPage* page = doc->GetPage(i);
            doc->SetCurrentPage(page);
            AddCube(*page);
            // Each page turned a little further about the vertical axis.
            const double a = 0.05 * i;
            page->m_viewRot[3] = float(std::cos(a));
            page->m_viewRot[0] = 0.0f;
            page->m_viewRot[1] = 0.0f;
            page->m_viewRot[2] = float(std::sin(a));
        }
        doc->SetCurrentPage(doc->GetPage(0));
        view = std::make_unique<CHalvixView>();
        view->SetDocument(doc.get());
        view->resize(800, 600);
        view->show();
        return QTest::qWaitForWindowExposed(view.get()) && view->IsCreated();
    }
};

void BM_PrintTwentyPagesToPdf(benchmark::State& state) {
    CPrintSetup setup;
    if (!setup.Start()) {
        state.SkipWithError("no drawing view (run under xvfb-run)");
        return;
    }
    QTemporaryDir dir;
    const QString out = qEnvironmentVariable("HALVIX_PRINT_OUT");
    const QString pdf = (out.isEmpty() ? dir.path() : out) + QStringLiteral("/print-bench.pdf");
    std::vector<double> times;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        if (!setup.view->PrintTo(printer)) {
            state.SkipWithError("printing failed");
            return;
        }
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() * 1e3);
    }
    std::sort(times.begin(), times.end());
    state.counters["print_ms"] = times[times.size() / 2];
    state.counters["pdf_kb"] = double(QFileInfo(pdf).size()) / 1024.0;
    if (!out.isEmpty()) {
        // The first sheet as a picture at 100 dots an inch (A4: 827 x 1169).
        QImage sheet(827, 1169, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        CPainterPrintJob job(painter, sheet.rect(), [] { return false; });
        setup.view->PrintDocument(job, 1, 1);
        painter.end();
        sheet.save(out + QStringLiteral("/print-sheet-1.png"));
    }
}
BENCHMARK(BM_PrintTwentyPagesToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(CHalvixView::RequiredFormat());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
