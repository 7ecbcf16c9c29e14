// Surfaces drawn by the page's passes into an offscreen framebuffer: lit, textured with the two-sided
// rule seen from the front and from the back, translucent (in its colour on both sides) and
// selected, as a wire grid, invalid, picked; the display list made when no context was current at
// the recomputation, and released through the deletion queue.
#include "support/render_fixture.h"

#include "dynamics/surface.h"
#include "view/view_globals.h"

#include <cmath>
#include <functional>

namespace {

// 400 x 300 pixels, 20 pixels a unit, the origin at pixel (200, 150).
class SurfaceDrawTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        glGenTextures(3, m_textures);
        const GLubyte colours[3][4] = {{255, 0, 0, 255}, {255, 255, 0, 255}, {0, 0, 255, 255}};
        for (int i = 0; i < 3; ++i) {
            glBindTexture(GL_TEXTURE_2D, m_textures[i]);
            GLubyte pixels[16];
            for (int k = 0; k < 16; ++k)
                pixels[k] = colours[i][k % 4];
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        s_textures = m_textures;
        // Textures 1 (red), 2 (yellow) and 3 (blue).
        HxSetTextureBinder([](int number) {
            if (number < 1 || number > 3)
                return false;
            glBindTexture(GL_TEXTURE_2D, s_textures[number - 1]);
            return true;
        });
    }
    void TearDown() override {
        HxSetTextureBinder(nullptr);
        glDeleteTextures(3, m_textures);
        RenderFixture::TearDown();
    }
    // The square -3..3 in the plane z = 0, facing +z (the viewer).
    CGSurface* Square(BYTE style, int texture = 0, int twoSided = 0, const char16_t* uEnd = u"3",
                      double step = 1.0) {
        const double mapping[CGSurface::kMappingCount] = {1, 0, 0, 1, 0, 0};
        auto* s = new CGSurface(NextId(), {}, u"u", u"v", u"0", u"-3", uEnd, u"-3", u"3", style, texture,
                                twoSided, 0, 0, step, step, mapping);
        if (style == CGSurface::kStyleTranslucent)
            s->m_color.a = 90;
        return Insert(s);
    }
    static void LookFromBehind() {
        // Half a turn about y: the scene's back faces the viewer.
        g_viewRotation[0] = 0.0;
        g_viewRotation[1] = 0.0;
        g_viewRotation[2] = 1.0;
        g_viewRotation[3] = 0.0;
    }
    static bool IsGreen(const std::array<int, 4>& p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; }
    static bool IsMagenta(const std::array<int, 4>& p) { return p[0] > p[1] + 60 && p[2] > p[1] + 60; }
    static bool IsWhite(const std::array<int, 4>& p) { return p[0] + p[1] + p[2] > 740; }
    int CountIn(int x0, int y0, int x1, int y1, const std::function<bool(const std::array<int, 4>&)>& test) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += test(Pixel(x, y)) ? 1 : 0;
        return n;
    }
    std::vector<std::vector<GLuint>> PickAll() {
        std::vector<GLuint> buffer(1024);
        glSelectBuffer(GLsizei(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(GLuint(-1));
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        ApplyViewCamera();
        m_page->DrawPickNames(3);
        const GLint hits = glRenderMode(GL_RENDER);
        std::vector<std::vector<GLuint>> records;
        size_t at = 0;
        for (GLint i = 0; i < hits; ++i) {
            const GLuint count = buffer[at];
            records.emplace_back(buffer.begin() + long(at) + 3, buffer.begin() + long(at) + 3 + count);
            at += 3 + count;
        }
        return records;
    }

    GLuint m_textures[3] = {0, 0, 0};
    inline static GLuint* s_textures = nullptr;
};

} // namespace

TEST_F(SurfaceDrawTest, ALitSurfaceFillsItsSquareInItsColour) {
    Square(CGSurface::kStyleLit);
    DrawPage();
    // 6 units square: pixels 140..260 across, 90..210 up.
    EXPECT_TRUE(IsGreen(Pixel(200, 150)));
    EXPECT_EQ(CountIn(145, 95, 255, 205, IsWhite), 0) << "filled";
    EXPECT_TRUE(IsWhite(Pixel(270, 150)));
    EXPECT_TRUE(IsWhite(Pixel(200, 220)));
}

TEST_F(SurfaceDrawTest, FrontAndBackTexturesByTheTwoSidedRule) {
    CGSurface* surface = Square(CGSurface::kStyleLit, 1);
    DrawPage();
    EXPECT_EQ(Pixel(200, 150), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // One-sided: the back shows the front texture too.
    LookFromBehind();
    DrawPage();
    EXPECT_EQ(Pixel(200, 150), (std::array<int, 4>{255, 0, 0, 255}));
    // Two-sided with front texture 1: texture 3 behind, 1 in front.
    surface->m_twoSided = 1;
    DrawPage();
    EXPECT_EQ(Pixel(200, 150), (std::array<int, 4>{0, 0, 255, 255}));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << "culling is switched off again";
    SetPlaneViewRotation();
    DrawPage();
    EXPECT_EQ(Pixel(200, 150), (std::array<int, 4>{255, 0, 0, 255}));
    // Front texture 3: the back is bare.
    surface->m_frontTexture = 3;
    DrawPage();
    EXPECT_EQ(Pixel(200, 150), (std::array<int, 4>{0, 0, 255, 255}));
    LookFromBehind();
    DrawPage();
    const auto back = Pixel(200, 150);
    EXPECT_FALSE(IsWhite(back));
    EXPECT_NE(back, (std::array<int, 4>{0, 0, 255, 255}));
    EXPECT_NE(back, (std::array<int, 4>{255, 0, 0, 255}));
    // Untextured: the back material of the lit pass, grey.
    EXPECT_EQ(back[0], back[1]);
    EXPECT_EQ(back[1], back[2]);
    // Selected: no texture, the selection colour.
    SetPlaneViewRotation();
    surface->m_selected = true;
    DrawPage();
    EXPECT_TRUE(IsMagenta(Pixel(200, 150)));
}

TEST_F(SurfaceDrawTest, TranslucentShowsWhatIsBehindAndSelectedIsOpaque) {
    CGSurface* surface = Square(CGSurface::kStyleTranslucent);
    DrawPage();
    const auto seen = Pixel(200, 150);
    EXPECT_FALSE(IsWhite(seen));
    EXPECT_GT(seen[0], 100) << "the white behind shows through";
    EXPECT_GT(seen[1], seen[0]);
    surface->m_selected = true;
    DrawPage();
    const auto selected = Pixel(200, 150);
    EXPECT_TRUE(IsMagenta(selected));
    EXPECT_LT(selected[1], 40) << "opaque";
}

TEST_F(SurfaceDrawTest, ATranslucentSurfaceIsTintedByItsColourFromTheFrontAndFromTheBack) {
    CGSurface* surface = Square(CGSurface::kStyleTranslucent);
    surface->m_color.r = 255;
    surface->m_color.g = 0;
    surface->m_color.b = 0;
    const auto reddish = [](const std::array<int, 4>& p) { return p[0] > p[1] + 40 && p[0] > p[2] + 40; };
    DrawPage();
    const auto front = Pixel(200, 150);
    EXPECT_TRUE(reddish(front)) << front[0] << " " << front[1] << " " << front[2];
    // From behind the surface's back faces the viewer: red over the white as well, not grey.
    LookFromBehind();
    DrawPage();
    const auto back = Pixel(200, 150);
    EXPECT_TRUE(reddish(back)) << back[0] << " " << back[1] << " " << back[2];
    EXPECT_FALSE(back[0] == back[1] && back[1] == back[2]);
    EXPECT_GT(back[1], 0) << "the white behind shows through";
}

TEST_F(SurfaceDrawTest, AWireGridIsLinesWithGapsBetween) {
    // Step 1.1 over 6 units: trunc(6 / 1.1 + 2) = 7 samples, lines at every whole unit.
    CGSurface* surface = Square(CGSurface::kStyleWire, 0, 0, u"3", 1.1);
    DrawPage();
    // x = 0 is pixel column 200, y = 0 row 150.
    EXPECT_TRUE(InkNear(200, 130));
    EXPECT_TRUE(InkNear(180, 150));
    EXPECT_FALSE(InkAt(190, 140)) << "inside a cell";
    EXPECT_FALSE(InkAt(210, 160));
    // In the lit passes it draws nothing.
    surface->m_style = CGSurface::kStyleLit;
    surface->BuildDisplayList();
    DrawPage();
    EXPECT_TRUE(IsGreen(Pixel(210, 160)));
}

TEST_F(SurfaceDrawTest, AnInvalidSurfaceIsNeitherDrawnNorPicked) {
    CGSurface* broken = Square(CGSurface::kStyleLit, 0, 0, u"1/0");
    EXPECT_FALSE(broken->m_valid);
    DrawPage();
    EXPECT_EQ(InkIn(0, 0, m_w, m_h), 0);
    EXPECT_TRUE(PickAll().empty());
    // A valid one is picked under class 9 with its id, from pick mode 3.
    CGSurface* surface = Square(CGSurface::kStyleLit);
    const auto hits = PickAll();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (std::vector<GLuint>{9, surface->m_id}));
    surface->m_hidden = 1;
    EXPECT_TRUE(PickAll().empty());
}

TEST_F(SurfaceDrawTest, AListMadeAtTheNextDrawingAndReleasedThroughTheQueue) {
    // Recomputed while no context is current: the list waits for the drawing.
    m_context.doneCurrent();
    CGSurface* surface = Square(CGSurface::kStyleLit);
    EXPECT_TRUE(surface->m_valid);
    ASSERT_TRUE(m_context.makeCurrent(&m_surface));
    ASSERT_TRUE(m_fbo->bind());
    // The fixture's state again, as the view sets it when its context comes back.
    glViewport(0, 0, m_w, m_h);
    HxApplyDefaultGlState();
    ApplyProjection(g_projectionType);
    DrawPage();
    EXPECT_TRUE(IsGreen(Pixel(200, 150)));
    // A change of the texts is sampled again: the square shrinks to its left half.
    CString end(u"0");
    std::swap(surface->m_texts[CGSurface::kUEnd], end);
    surface->Invalidate();
    surface->Recompute();
    DrawPage();
    EXPECT_TRUE(IsGreen(Pixel(180, 150)));
    EXPECT_TRUE(IsWhite(Pixel(220, 150)));
    // Deleted, its list goes through the queue.
    const size_t pending = HxPendingGlDeletions();
    m_page->m_cells.RemoveKey(surface->m_id);
    delete surface;
    EXPECT_EQ(HxPendingGlDeletions(), pending + 1);
    HxFlushGlDeletions();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
}
