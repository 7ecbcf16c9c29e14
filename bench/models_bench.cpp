// A generated 3DS model of 200,000 triangles in four meshes (four tori of 25,000 vertices and 50,000
// triangles): loading it into a model cell, the first frame at 800 x 600 (which makes its display list)
// and the frames after, lit and as a wire frame.  The frames run under an X server (xvfb-run).
#include "render_harness.h"

#include "model/page.h"
#include "solids/model3ds.h"
#include "support/model3ds_writer.h"
#include "view/gl_context.h"
#include "view/scene_renderer.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_settings.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The model file, written once into a temporary folder.
class CBenchModel {
public:
    CBenchModel() {
        std::vector<C3dsMaterialSpec> materials;
        std::vector<C3dsMeshSpec> meshes;
        const char* names[4] = {"Red", "Green", "Blue", "Gold"};
        const uint8_t colors[4][3] = {{200, 40, 40}, {40, 160, 60}, {50, 80, 200}, {220, 170, 40}};
        for (int i = 0; i < 4; ++i) {
            materials.push_back({names[i], colors[i][0], colors[i][1], colors[i][2], ""});
            const float x = (i % 2 ? 6.0f : -6.0f), y = (i / 2 ? 6.0f : -6.0f);
            meshes.push_back(
                Torus3ds(std::string("Torus") + char('1' + i), x, y, 0, 4, 1.5f, 250, 100, names[i]));
        }
        const std::vector<uint8_t> bytes = Write3ds(materials, meshes);
        m_path = m_dir.filePath(QStringLiteral("tori.3ds"));
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        m_bytes = bytes.size();
    }
    CString Path() const { return CString::FromQString(m_path); }
    size_t Bytes() const { return m_bytes; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    size_t m_bytes = 0;
};

CBenchModel* g_model = nullptr;

// A current page holding the model cell.
class CModelPage {
public:
    CModelPage() {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(10);
        const WORD id = m_page.m_nextId++;
        m_model = new CGModel3ds(id, g_model->Path(), 1);
        m_model->m_labelHidden = 1;
        m_page.m_cells.SetAt(id, m_model);
    }
    ~CModelPage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    CGModel3ds& Model() { return *m_model; }

private:
    CGPage m_page;
    CGModel3ds* m_model;
};

// Reading the file into a new model cell: the chunks, the normals in one pass, the box and scale.
void BM_LoadModel200k(benchmark::State& state) {
    size_t triangles = 0;
    for (auto _ : state) {
        CGModel3ds model(1, g_model->Path(), 1);
        triangles = model.m_model.FaceCount();
        benchmark::DoNotOptimize(model.m_scale);
    }
    state.counters["triangles"] = double(triangles);
    state.counters["file_MB"] = double(g_model->Bytes()) / 1e6;
}
BENCHMARK(BM_LoadModel200k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Times frames of the page of the model, each waited for until its pixels are done, after
// `beforeEach` (untimed) has run; the counter is their median.
void TimeFrames(benchmark::State& state, const std::function<void()>& beforeEach) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> frame;
    for (auto _ : state) {
        beforeEach();
        const auto t0 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        const double a = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(a);
        frame.push_back(a * 1e3);
    }
    state.counters["frame_ms"] = Median(frame);
}

// The first frame after the model was read: its display list is compiled while the frame is drawn.
void BM_FirstFrameModel200k(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CModelPage page;
    // Read again: the list is made anew by the next frame.
    TimeFrames(state, [&] { page.Model().Recompute(); });
}
BENCHMARK(BM_FirstFrameModel200k)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

// Frames of the model once its display list exists, lit (style 1) and as a wire frame (style 0).
void BM_FrameModel200k(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CModelPage page;
    page.Model().m_style = BYTE(state.range(0));
    g_harness->Renderer().DrawFrame();
    TimeFrames(state, [] {});
}
BENCHMARK(BM_FrameModel200k)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    HxSetMessageBoxHandler([](const CString& text, const CString&, UINT) {
        std::fprintf(stderr, "models bench: %s\n", text.ToUtf8().c_str());
        return IDOK;
    });
    CBenchModel model;
    g_model = &model;
    const int result = RunFrameBenchmarks(argc, argv, "models bench");
    g_model = nullptr;
    return result;
}
