// Convex hulls and the figures on them: the hull of 480 points (the builder's limit) on a sphere and in
// a ball, one fold step of a dodecahedron's net (the step and its drawing passes into an offscreen
// framebuffer; run under xvfb-run) and one cut step of a dodecahedron (the plane that splits every part).
#include "model/page.h"
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/split.h"
#include "view/view_globals.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <cmath>
#include <memory>

namespace {

// 480 points spread evenly over a sphere (all of them vertices), or drawn at random in a ball.
std::vector<double> SpherePoints(bool ball) {
    std::vector<double> p;
    unsigned state = 12345;
    auto random = [&state] {
        state = state * 1103515245u + 12345u;
        return double((state >> 8) & 0xFFFF) / 65535.0;
    };
    for (int i = 0; i < kMaxHullPoints; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / kMaxHullPoints, r = std::sqrt(1.0 - z * z), a = i * 2.399963;
        const double s = ball ? 10.0 * std::cbrt(random()) : 10.0;
        p.insert(p.end(), {s * r * std::cos(a), s * r * std::sin(a), s * z});
    }
    return p;
}

void HullOf480(benchmark::State& state, bool ball) {
    const std::vector<double> points = SpherePoints(ball);
    CGPolyhedron hull;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildConvexHull(points.data(), kMaxHullPoints, hull));
    state.counters["vertices"] = double(hull.m_points.size());
    state.counters["faces"] = double(hull.m_faces.size());
}
void BM_HullOf480PointsOnASphere(benchmark::State& state) {
    HullOf480(state, false);
}
void BM_HullOf480PointsInABall(benchmark::State& state) {
    HullOf480(state, true);
}
BENCHMARK(BM_HullOf480PointsOnASphere)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HullOf480PointsInABall)->Unit(benchmark::kMillisecond);

// A page with the dodecahedron preset as its hull.
struct HullPage {
    CGPage page;
    CGPolyhedron* hull = new CGPolyhedron;
    HullPage() {
        g_pCurPage = &page;
        g_cellMap = &page.m_cells;
        const std::vector<double> points = HxHullPresetPoints(8);
        hull->m_id = page.m_nextId++;
        BuildConvexHull(points.data(), int(points.size() / 3), *hull);
        page.m_cells.SetAt(hull->m_id, hull);
    }
    ~HullPage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    template <class T> T* Add(T* cell) {
        page.m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
};

// An offscreen framebuffer of 800 x 600 with an orthographic view of the figure.
struct GlTarget {
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    bool Start() {
        QSurfaceFormat f;
        f.setProfile(QSurfaceFormat::CompatibilityProfile);
        f.setVersion(2, 1);
        f.setDepthBufferSize(24);
        surface.setFormat(f);
        surface.create();
        context.setFormat(f);
        if (!context.create() || !context.makeCurrent(&surface))
            return false;
        fbo = std::make_unique<QOpenGLFramebufferObject>(800, 600, QOpenGLFramebufferObject::Depth);
        if (!fbo->bind())
            return false;
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-20, 20, -15, 15, -50, 50);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotated(-60, 1, 0, 0);
        return true;
    }
};
GlTarget* g_gl = nullptr;

// One tick of the net's animation button: the fold parameter moves, the net syncs, and the passes
// that draw it run (depth, hidden and visible edges, points on top).
void BM_FoldStepDodecahedron(benchmark::State& state) {
    if (!g_gl) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    HullPage figure;
    auto* net = figure.Add(new CGFold(figure.page.m_nextId++, figure.hull->m_id, u"展开图",
                                      CGFold::kStyleAuto, CGFold::kSpreadByLevel));
    const float top = float(net->m_deepestLevel + 1);
    for (auto _ : state) {
        net->m_param1 = net->m_param1 + 0.03f > top ? 0.0f : net->m_param1 + 0.03f;
        net->SyncVertex();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        net->DrawDepth();
        net->DrawHidden();
        net->DrawVisible();
        net->DrawOnTop();
        glFinish();
    }
    state.counters["levels"] = net->m_deepestLevel;
}
BENCHMARK(BM_FoldStepDodecahedron)->Unit(benchmark::kMicrosecond);

// The building of the net's tree, which the net's recomputation (loading, undo) does.
void BM_NetTreeDodecahedron(benchmark::State& state) {
    HullPage figure;
    auto* net = figure.Add(new CGFold(figure.page.m_nextId++, figure.hull->m_id, u"展开图",
                                      CGFold::kStyleAuto, CGFold::kSpreadByLevel));
    for (auto _ : state)
        net->Recompute();
}
BENCHMARK(BM_NetTreeDodecahedron)->Unit(benchmark::kMicrosecond);

// One step of the cut's animation that applies a plane: the last of `planes` fixed planes, cutting every
// part made by the planes before it.
void CutStep(benchmark::State& state, int32_t planes) {
    HullPage figure;
    auto* cut = figure.Add(new CGSplit(figure.page.m_nextId++, figure.hull->m_id, planes, 0, 2.0));
    size_t parts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cut->Recompute();
        // The hull's copy, then one plane a step: t just past each whole number applies the next.
        for (int32_t k = -1; k < planes - 1; ++k) {
            cut->m_param1 = float(k) + 0.02f;
            cut->SyncVertex();
        }
        cut->m_param1 = float(planes - 1) + 0.02f;
        state.ResumeTiming();
        cut->SyncVertex();
        parts = cut->m_parts.size();
    }
    state.counters["parts"] = double(parts);
}
void BM_CutStepDodecahedron3Planes(benchmark::State& state) {
    CutStep(state, 3);
}
void BM_CutStepDodecahedron10Planes(benchmark::State& state) {
    CutStep(state, 10);
}
BENCHMARK(BM_CutStepDodecahedron3Planes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CutStepDodecahedron10Planes)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    GlTarget gl;
    if (gl.Start())
        g_gl = &gl;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_gl = nullptr;
    return 0;
}
