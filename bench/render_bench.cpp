// Frames of the view drawing a page of cubes (points with their labels, edges dashed behind
// hidden-surface faces) into an 800 x 600 framebuffer at about 300, 2,000, 5,000 and 10,000 cells,
// each frame timed beside the floor: a plain program that draws the same triangles, segments,
// points and label glyphs with one draw call per kind; and frames of a page of 50 solids of
// revolution in each display style.  Runs under an X server (xvfb-run).
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "solids/revolution.h"
#include "view/glyph_font.h"
#include "view/scene_renderer.h"
#include "view/texture_text.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include "render_harness.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QPainter>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

// `cubes` cubes laid out in rows about 19 units wide, each 8 labelled points, 12 edges and 6 faces
// that only hide what lies behind them.
class CCubePage {
public:
    explicit CCubePage(int cubes) {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(cubes * 8 + 50);
        const int columns = int(std::ceil(std::sqrt(double(cubes) * 4.0 / 3.0)));
        const int rows = (cubes + columns - 1) / columns;
        const float spacing = 19.0f / float(columns), side = 0.7f * spacing;
        for (int k = 0; k < cubes; ++k)
            AddCube((float(k % columns) - 0.5f * float(columns - 1)) * spacing,
                    (float(k / columns) - 0.5f * float(rows - 1)) * spacing, side);
        m_page.RebuildVertexArray();
    }
    ~CCubePage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    int CellCount() const { return m_page.m_cells.GetCount(); }
    const CGPage& Page() const { return m_page; }

private:
    void AddCube(float cx, float cy, float side) {
        WORD p[8];
        for (int k = 0; k < 8; ++k) {
            const float x = cx + ((k & 1) ? side : 0.0f) - side / 2;
            const float y = cy + ((k & 2) ? side : 0.0f) - side / 2;
            const float z = (k & 4) ? side : 0.0f;
            WORD id = m_page.m_nextId++;
            auto* v = new CGVertex(id, m_page.m_nextVertex++, m_page.MakeAutoLabel(1), x, y, z);
            m_page.m_cells.SetAt(id, v);
            p[k] = id;
        }
        static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                         {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
        for (const auto& e : edges) {
            WORD id = m_page.m_nextId++;
            m_page.m_cells.SetAt(id, new CGLine(id, p[e[0]], p[e[1]], CGLine::kSegment));
        }
        static const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                        {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
        for (const auto& f : faces) {
            WORD id = m_page.m_nextId++;
            m_page.m_cells.SetAt(id, new CGFace(id, p[f[0]], p[f[1]], p[f[2]], p[f[3]], RGB(200, 200, 255)));
        }
    }

    CGPage m_page;
};

// The floor: the page's faces as triangles, its edges as segments, its points and the glyph quads
// of its shown labels (one texture holding every glyph, colours per vertex), each kind in one call
// from arrays made once, in the view's default state and camera; points and labels on top.
class CFloorScene {
public:
    explicit CFloorScene(const CGPage& page) {
        for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
            WORD id;
            CGCell* cell;
            page.m_cells.GetNextAssoc(pos, id, cell);
            if (auto* v = DYNAMIC_DOWNCAST(CGVertex, cell)) {
                Push(m_points, v->m_x, v->m_y, v->m_z);
                m_pointSize = v->m_size;
                if (v->m_labelHidden == 0)
                    AddLabel(v->m_name, v->m_labelPos, v->m_labelColor);
            } else if (auto* line = DYNAMIC_DOWNCAST(CGLine, cell)) {
                for (int i = 0; i < 2; ++i)
                    if (const float* s = HxVertexSlot(line->m_vertexIndex[i]))
                        Push(m_segments, s[0], s[1], s[2]);
                m_lineColor = line->m_color;
            } else if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell)) {
                const CGVertex* c[4];
                for (int i = 0; i < 4; ++i)
                    c[i] = face->GetCorner(i);
                for (int i : {0, 1, 2, 0, 2, 3})
                    Push(m_triangles, c[i]->m_x, c[i]->m_y, c[i]->m_z);
                m_faceColor = face->m_color;
            }
        }
        BuildAtlas();
    }
    ~CFloorScene() {
        if (m_atlas)
            glDeleteTextures(1, &m_atlas);
    }

    void Draw() const {
        glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glPushMatrix();
        ApplyViewCamera();
        glEnableClientState(GL_VERTEX_ARRAY);
        glColor4ub(m_faceColor.r, m_faceColor.g, m_faceColor.b, m_faceColor.a);
        glVertexPointer(3, GL_FLOAT, 0, m_triangles.data());
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(m_triangles.size() / 3));
        glColor4ub(m_lineColor.r, m_lineColor.g, m_lineColor.b, m_lineColor.a);
        glVertexPointer(3, GL_FLOAT, 0, m_segments.data());
        glDrawArrays(GL_LINES, 0, GLsizei(m_segments.size() / 3));
        // Points and labels over everything, as the page shows them.
        glDepthFunc(GL_ALWAYS);
        glPointSize(m_pointSize);
        glVertexPointer(3, GL_FLOAT, 0, m_points.data());
        glDrawArrays(GL_POINTS, 0, GLsizei(m_points.size() / 3));
        glPointSize(g_pointSize);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m_atlas);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, m_glyphVertices.data());
        glTexCoordPointer(2, GL_FLOAT, 0, m_glyphTexCoords.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, m_glyphColors.data());
        glDrawArrays(GL_QUADS, 0, GLsizei(m_glyphVertices.size() / 3));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
        glDepthFunc(GL_LESS);
        glPopMatrix();
        HxBindVertexArray();
    }
    int GlyphCount() const { return int(m_glyphVertices.size() / 12); }

private:
    static void Push(std::vector<float>& v, float x, float y, float z) {
        v.push_back(x);
        v.push_back(y);
        v.push_back(z);
    }

    // The label's glyph quads as the view lays them out, from the glyph metrics of the view's font.
    void AddLabel(const CString& text, const float* at, CRgba color) {
        float right[3] = {float(g_modelviewMatrix[0]), float(g_modelviewMatrix[4]),
                          float(g_modelviewMatrix[8])};
        float up[3] = {float(g_modelviewMatrix[1]), float(g_modelviewMatrix[5]), float(g_modelviewMatrix[9])};
        for (float* v : {right, up}) {
            const float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            for (int c = 0; c < 3; ++c)
                v[c] /= len;
        }
        const float scale = float(g_labelFontHeight + 4) / float(CTextrueText::kGlyphSize);
        float p[3] = {at[0], at[1], at[2]};
        for (int i = 0; i < text.GetLength(); ++i) {
            const char16_t ch = text[i];
            CharInfo* info = nullptr;
            if (!g_pTextureText->m_latinGlyphs.Lookup(ch, info) &&
                !g_pTextureText->m_otherGlyphs.Lookup(ch, info))
                break;
            auto slot = m_slots.emplace(ch, int(m_slots.size())).first->second;
            const bool digit = ch >= u'0' && ch <= u'9';
            const float k = (digit ? scale * 0.75f : scale) * g_unitLength;
            const float w = float(info->m_abcB) * k, h = info->m_height * k;
            const float t = float(info->m_abcB) / float(CTextrueText::kGlyphSize);
            const float u0 = float(slot % 16) / 16.0f, v0 = float(slot / 16) / 16.0f;
            float q[3];
            for (int c = 0; c < 3; ++c)
                q[c] = p[c] + right[c] * (float(info->m_abcA) * k);
            const float corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
            const float tex[4][2] = {{0, 0}, {t, 0}, {t, 1}, {0, 1}};
            for (int n = 0; n < 4; ++n) {
                Push(m_glyphVertices, q[0] + right[0] * corners[n][0] + up[0] * corners[n][1],
                     q[1] + right[1] * corners[n][0] + up[1] * corners[n][1],
                     q[2] + right[2] * corners[n][0] + up[2] * corners[n][1]);
                m_glyphTexCoords.push_back(u0 + tex[n][0] / 16.0f);
                m_glyphTexCoords.push_back(v0 + tex[n][1] / 16.0f);
                for (BYTE b : {color.r, color.g, color.b, color.a})
                    m_glyphColors.push_back(b);
            }
            for (int c = 0; c < 3; ++c)
                p[c] += right[c] * (info->m_width * k);
        }
    }

    // The glyphs used, white on black in a 16 x 16 grid of 64-pixel cells, the coverage as alpha.
    void BuildAtlas() {
        QImage image(1024, 1024, QImage::Format_RGB32);
        image.fill(Qt::black);
        {
            QPainter painter(&image);
            painter.setFont(HxCreateFont(u"Times New Roman", CTextrueText::kGlyphSize, 700, true, true));
            painter.setPen(Qt::white);
            for (const auto& [ch, slot] : m_slots)
                painter.drawText(QRect((slot % 16) * 64, (15 - slot / 16) * 64, 64, 64), Qt::AlignLeft,
                                 QString(QChar(ch)));
        }
        std::vector<BYTE> alpha(size_t(1024) * 1024);
        for (int y = 0; y < 1024; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < 1024; ++x)
                alpha[size_t(1023 - y) * 1024 + size_t(x)] = BYTE(qRed(line[x]));
        }
        glGenTextures(1, &m_atlas);
        glBindTexture(GL_TEXTURE_2D, m_atlas);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, 1024, 1024, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }

    std::vector<float> m_triangles, m_segments, m_points;
    std::vector<float> m_glyphVertices, m_glyphTexCoords;
    std::vector<BYTE> m_glyphColors;
    std::map<char16_t, int> m_slots;
    CRgba m_faceColor, m_lineColor;
    float m_pointSize = 5.0f;
    GLuint m_atlas = 0;
};

// Each iteration draws the view's frame and then the floor's, each waited for until the pixels are
// done; the iteration time is the view's frame.  Counters: medians of both in milliseconds and of
// their ratio, pair by pair.
void RenderCubes(benchmark::State& state, int cubes) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    using Clock = std::chrono::steady_clock;
    ResetViewCamera();
    CCubePage page(cubes);
    g_harness->Renderer().DrawFrame(); // sets the camera the floor lays its labels out with
    CFloorScene floor(page.Page());
    std::vector<double> frame, plain, ratio;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        const auto t1 = Clock::now();
        floor.Draw();
        glFinish();
        const auto t2 = Clock::now();
        const double a = std::chrono::duration<double>(t1 - t0).count();
        const double b = std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(a);
        frame.push_back(a * 1e3);
        plain.push_back(b * 1e3);
        ratio.push_back(a / b);
    }
    state.counters["cells"] = page.CellCount();
    state.counters["glyphs"] = floor.GlyphCount();
    state.counters["frame_ms"] = Median(frame);
    state.counters["floor_ms"] = Median(plain);
    state.counters["ratio"] = Median(ratio);
}

void BM_Render300Cells(benchmark::State& state) {
    RenderCubes(state, 12);
}
void BM_Render2000Cells(benchmark::State& state) {
    RenderCubes(state, 77);
}
void BM_Render5000Cells(benchmark::State& state) {
    RenderCubes(state, 193);
}
void BM_Render10000Cells(benchmark::State& state) {
    RenderCubes(state, 385);
}
BENCHMARK(BM_Render300Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();
BENCHMARK(BM_Render2000Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();
BENCHMARK(BM_Render5000Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();
BENCHMARK(BM_Render10000Cells)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();

// 50 solids of revolution in a grid of 10 by 5, spheres, cylinders, cones and frustums in turn, all
// in one display style.
class CSolidsPage {
public:
    explicit CSolidsPage(BYTE style) {
        g_pCurPage = &m_page;
        g_cellMap = &m_page.m_cells;
        HxReplaceVertexArray(50);
        for (int k = 0; k < 50; ++k) {
            const float x = float(k % 10) * 2.2f - 9.9f, y = float(k / 10) * 2.6f - 5.2f;
            const WORD id = m_page.m_nextId++;
            CGCell* cell = nullptr;
            switch (k % 4) {
            case 0:
                cell = new CGSphere(id, x, y, 0.0f, 0.9f, 0.0f, 0.0f, 0.9f);
                break;
            case 1:
                cell = new CGCylinder(id, x, y, -0.9f, 0.8f, 1.8f, 0.0f, 0.0f, 1.0f);
                break;
            case 2:
                cell = new CGCone(id, x, y, -0.9f, 0.9f, 1.8f, 0.0f, 0.0f, 1.0f);
                break;
            default:
                cell = new CGFrustum(id, x, y, -0.9f, 0.9f, 1.8f, 0.0f, 0.0f, 1.0f, 0.5f);
                break;
            }
            cell->m_style = style;
            if (style == 3)
                cell->m_color.a = 90;
            m_page.m_cells.SetAt(id, cell);
        }
    }
    ~CSolidsPage() {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }

private:
    CGPage m_page;
};

// Frames per second of the page of solids, the frame waited for until its pixels are done.
void RenderSolids(benchmark::State& state) {
    if (!g_harness) {
        state.SkipWithError("no OpenGL context (run under xvfb-run)");
        return;
    }
    using Clock = std::chrono::steady_clock;
    ResetViewCamera();
    CSolidsPage page(BYTE(state.range(0)));
    g_harness->Renderer().DrawFrame();
    std::vector<double> frame;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_harness->Renderer().DrawFrame();
        glFinish();
        const double a = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(a);
        frame.push_back(a * 1e3);
    }
    const double median = Median(frame);
    state.counters["frame_ms"] = median;
    state.counters["fps"] = median > 0.0 ? 1000.0 / median : 0.0;
}
// Arguments: the display style, 0 outline, 1 wire mesh, 2 lit, 3 translucent.
BENCHMARK(RenderSolids)
    ->Name("BM_Render50Solids")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunFrameBenchmarks(argc, argv, "render bench");
}
