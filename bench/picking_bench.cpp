// The mouse on the real view widget of 800 x 600 pixels under an X server (xvfb-run): one step of a
// drag of a free point with 10,000 descendants (with the frame it redraws shown, and with the view
// hidden), one click pick on a page of 2,002 cells (77 cubes of points, edges and faces), and a
// drag step of a corner of one of those cubes until its frame is on screen.
#include "document/halvix_doc.h"
#include "model/face.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "view/halvix_view.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>

#include <GL/glu.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

CHalvixView* g_view = nullptr;
CHalvixDoc* g_doc = nullptr;

// The current page emptied, for a new scene.
CGPage& FreshPage() {
    g_doc->OnNewDocument();
    g_doc->InitialUpdateAllViews();
    return *g_pCurPage;
}

template <class T> T* Put(CGPage& page, T* cell) {
    page.m_cells.SetAt(cell->m_id, cell);
    return cell;
}

// A free point at the origin with `count` followers, each at its own offset: all descend from it.
CGVerFree* FollowerPage(CGPage& page, int count) {
    auto* p = Put(page, new CGVerFreeXyz(page.m_nextId++, page.m_nextVertex++, u"P", 0, 0, 0));
    for (int i = 0; i < count; ++i) {
        const float x = float(i % 100) * 0.15f - 7.5f, y = float(i / 100) * 0.1f - 5.0f;
        Put(page, new CGVerFreeHenchman(page.m_nextId++, page.m_nextVertex++, u"", x, y, 1.0f, p->m_id));
    }
    return p;
}

// 77 cubes (2,002 cells); the first corner of the middle cube is a free point.
CGVerFree* CubePage(CGPage& page) {
    CGVerFree* corner = nullptr;
    for (int j = 0; j < 7; ++j)
        for (int i = 0; i < 11; ++i) {
            const float cx = (float(i) - 5.0f) * 1.7f, cy = (float(j) - 3.0f) * 1.7f, side = 1.2f;
            WORD p[8];
            for (int k = 0; k < 8; ++k) {
                const float x = cx + ((k & 1) ? side : 0.0f) - side / 2;
                const float y = cy + ((k & 2) ? side : 0.0f) - side / 2;
                const float z = (k & 4) ? side : 0.0f;
                const WORD id = page.m_nextId++;
                const CString name = page.MakeAutoLabel(CGPage::kAutoLabelPoint);
                CGVertex* v = (i == 5 && j == 3 && k == 0)
                                  ? static_cast<CGVertex*>(
                                        corner = new CGVerFreeXyz(id, page.m_nextVertex++, name, x, y, z))
                                  : new CGVertex(id, page.m_nextVertex++, name, x, y, z);
                Put(page, v);
                p[k] = id;
            }
            static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                             {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
            for (const auto& e : edges)
                Put(page, new CGLine(page.m_nextId++, p[e[0]], p[e[1]], CGLine::kSegment));
            static const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
            for (const auto& f : faces)
                Put(page,
                    new CGFace(page.m_nextId++, p[f[0]], p[f[1]], p[f[2]], p[f[3]], RGB(200, 200, 255)));
        }
    return corner;
}

// The client pixel of a world point with the view's kept matrices.
CPoint PixelOf(double x, double y, double z) {
    double wx, wy, wz;
    gluProject(x, y, z, g_modelviewMatrix, g_projectionMatrix, g_viewport, &wx, &wy, &wz);
    return CPoint(LONG(wx), LONG(kHeight - wy));
}

// Presses the point and moves the mouse back and forth by a few pixels, each step timed: the move,
// then (when the view is shown) the events it leaves, until the frame it asked for is painted and
// put on the window.
void DragSteps(benchmark::State& state, CGVerFree* point, bool visible) {
    g_pCurPage->RebuildVertexArray();
    g_view->RenderScene();
    const CPoint at = PixelOf(point->m_x, point->m_y, point->m_z);
    // Points stacked under the mouse: clicking again cycles through them.
    for (int tries = 0; tries < 20; ++tries) {
        g_view->OnLButtonDown(MK_LBUTTON, at);
        if (g_draggedId == point->m_id)
            break;
        g_view->OnLButtonUp(0, at);
    }
    if (g_draggedId != point->m_id) {
        std::fprintf(stderr, "at %d %d, dragged %d, point %d, walk class %d, status %s, client %d x %d\n",
                     int(at.x), int(at.y), g_draggedId, point->m_id, g_pCurPage->m_walkClass,
                     HxGetStatusText(0).ToQString().toUtf8().constData(), g_clientWidth, g_clientHeight);
        state.SkipWithError("the point was not picked");
        return;
    }
    if (!visible)
        g_view->hide();
    int step = 0;
    for (auto _ : state) {
        ++step;
        g_view->OnMouseMove(MK_LBUTTON, CPoint(at.x + (step % 2 ? 3 : -3), at.y + (step % 3) - 1));
        if (visible)
            QCoreApplication::processEvents();
    }
    g_view->OnLButtonUp(0, at);
    if (!visible)
        g_view->show();
    state.counters["descendants"] = double(g_pCurPage->m_scratchIds.size());
    state.counters["cells"] = double(g_pCurPage->m_cells.GetCount());
}

void BM_DragStep10000Descendants(benchmark::State& state) {
    SetPlaneViewRotation();
    CGVerFree* p = FollowerPage(FreshPage(), 10000);
    DragSteps(state, p, true);
}
void BM_DragStep10000DescendantsNoFrame(benchmark::State& state) {
    SetPlaneViewRotation();
    CGVerFree* p = FollowerPage(FreshPage(), 10000);
    DragSteps(state, p, false);
}
void BM_DragStep2000Cells(benchmark::State& state) {
    CGVerFree* corner = CubePage(FreshPage());
    DragSteps(state, corner, true);
}

void BM_Pick2000Cells(benchmark::State& state) {
    CGPage& page = FreshPage();
    CubePage(page);
    page.RebuildVertexArray();
    g_view->RenderScene();
    int pickClass = 0;
    WORD id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g_view->PickAt(kWidth / 2, kHeight / 2, &pickClass, &id, FALSE));
        page.ClearSelection();
    }
    state.counters["cells"] = double(page.m_cells.GetCount());
}

BENCHMARK(BM_DragStep10000Descendants)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DragStep10000DescendantsNoFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(BM_DragStep2000Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Pick2000Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    HxInitInstallFolder();
    auto doc = std::make_unique<CHalvixDoc>();
    auto view = std::make_unique<CHalvixView>();
    view->SetDocument(doc.get());
    doc->m_onInitialUpdateViews = [&] { view->OnInitialUpdate(); };
    view->resize(kWidth, kHeight);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()) || !view->IsCreated()) {
        std::fprintf(stderr, "picking bench: the view could not be set up (run under xvfb-run)\n");
        return 1;
    }
    g_view = view.get();
    g_doc = doc.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_view = nullptr;
    g_doc = nullptr;
    view.reset();
    doc.reset();
    return 0;
}
