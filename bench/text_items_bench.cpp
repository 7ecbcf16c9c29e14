// Frames of a page with 200 formula texts (half drawn as textures, half as pixels) and 50 pictures
// at 800 x 600 (run under an X server, xvfb-run): the first frame, which makes the textures, and the
// frames after it; the counters are the median frame time and the frames per second it gives.
#include "measure/text_items.h"
#include "model/page.h"
#include "render_harness.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <chrono>
#include <functional>

namespace {

class CTextPage {
public:
    CTextPage() {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(10);
        for (int i = 0; i < 200; ++i) {
            const WORD id = m_page.m_nextId++;
            const CString markup =
                HxFormat(u"<#><l><e>x</e><s><e>%d</e></s><e>+y=%d</e></l></#>", i % 9 + 1, i);
            auto* formula = new CGTbMtfText(id, markup, RGB(255, 255, 255), i % 2);
            formula->m_labelPos[0] = float(i % 10) * 4.0f - 20.0f;
            formula->m_labelPos[1] = float(i / 10) * 1.5f - 15.0f;
            m_page.m_cells.SetAt(id, formula);
            m_formulas.push_back(formula);
        }
        for (int i = 0; i < 50; ++i) {
            const WORD id = m_page.m_nextId++;
            const int w = 64, h = 48;
            std::vector<BYTE> pixels(size_t(CGTextbit::PictureRowBytes(w)) * h);
            for (size_t k = 0; k < pixels.size(); ++k)
                pixels[k] = BYTE(k * 13 + size_t(i) * 7);
            auto* picture = new CGTbImage(id, w, h, std::move(pixels));
            picture->m_labelPos[0] = float(i % 10) * 4.0f - 20.0f;
            picture->m_labelPos[1] = float(i / 10) * 3.0f + 2.0f;
            m_page.m_cells.SetAt(id, picture);
        }
    }
    ~CTextPage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    // Every texture made again at the next frame.
    void Restale() {
        for (CGTbMtfText* formula : m_formulas)
            formula->UpdateTexture();
    }

private:
    CGPage m_page;
    std::vector<CGTbMtfText*> m_formulas;
};

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
    const double ms = Median(frame);
    state.counters["frame_ms"] = ms;
    state.counters["fps"] = ms > 0.0 ? 1000.0 / ms : 0.0;
}

// Frames once the textures exist.
void BM_FrameTextPage(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CTextPage page;
    g_harness->Renderer().DrawFrame();
    TimeFrames(state, [] {});
}
BENCHMARK(BM_FrameTextPage)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

// A frame after every formula was rendered again (a colour change of all of them): the textures are
// filled again while it is drawn.
void BM_FrameTextPageNewTextures(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    ResetViewCamera();
    CTextPage page;
    g_harness->Renderer().DrawFrame();
    TimeFrames(state, [&] { page.Restale(); });
}
BENCHMARK(BM_FrameTextPageNewTextures)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunFrameBenchmarks(argc, argv, "text items bench");
}
