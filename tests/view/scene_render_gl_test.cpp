// Frames of the view in an 800 x 600 offscreen framebuffer: set-up, labels, projections, three-view
// quadrants and captions, tool overlays, the kept trace image and the drawing area.
#include "image_test_support.h"
#include "support/render_fixture.h"
#include "view/glyph_lists.h"
#include "view/label_hooks.h"
#include "view/texture_loading.h"
#include "view/texture_text.h"
#include "view/view_display_lists.h"
#include "view/view_globals.h"

#include <QCoreApplication>

namespace {

// 800 x 600 pixels, 20 a unit: the origin at pixel (400, 300).
class SceneRenderTest : public RenderFixture {
protected:
    QSize FrameSize() const override { return QSize(800, 600); }
    void SetUp() override {
        RenderFixture::SetUp();
        g_installFolder = CString::FromQString(QCoreApplication::applicationDirPath());
        m_renderer = std::make_unique<CSceneRenderer>();
        ASSERT_TRUE(m_renderer->InitOpenGL());
        ASSERT_TRUE(m_renderer->OnSize(m_w, m_h));
        SetPlaneViewRotation();
    }
    void TearDown() override {
        m_renderer->ReleaseOpenGL();
        m_renderer.reset();
        RenderFixture::TearDown();
    }
    void Frame() { m_renderer->DrawFrame(); }
    CGVertex* Point(float x, float y, float z, bool label = false) {
        CGVertex* p = AddPoint(x, y, z);
        p->m_labelHidden = label ? 0 : 1;
        return p;
    }
    bool IsColour(int x, int y, int r, int g, int b, int tolerance = 40) {
        auto p = Pixel(x, y);
        return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
               std::abs(p[2] - b) <= tolerance;
    }

    std::unique_ptr<CSceneRenderer> m_renderer;
};

} // namespace

TEST(CoordinateReadout, WholeNumbersWithoutDecimals) {
    const double p[3] = {2.0000004, 2.25, -0.5};
    EXPECT_EQ(FormatCoordinateReadout(p, false), u"( 2, 2.3, -0.5 )");
    EXPECT_EQ(FormatCoordinateReadout(p, true), u"   ( 2, 2.3, -0.5 )");
    const double q[3] = {-3.0, 0.0, 10.04};
    EXPECT_EQ(FormatCoordinateReadout(q, false), u"( -3, 0, 10.0 )");
}

TEST(CoordinateReadout, PlacedClearOfTheLabelAndInsideTheArea) {
    // A point at (x, y) of an 800 x 600 area; a text 150 wide and 20 high.
    const int area[4] = {0, 0, 800, 600};
    struct Case {
        double x, y;
        int dx, dy;
        const char* where;
    } cases[] = {
        {400, 300, 16, -26, "below the point, right of the mouse pointer"},
        {700, 300, -156, -26, "left of the point near the right edge"},
        {400, 10, -156, 10, "above the point, on the left, near the bottom edge"},
        {100, 10, -98, 10, "never past the left edge"},
    };
    for (const Case& c : cases) {
        int dx = 0, dy = 0;
        CoordinateReadoutOffset(c.x, c.y, 150, 20, area, dx, dy);
        EXPECT_EQ(dx, c.dx) << c.where;
        EXPECT_EQ(dy, c.dy) << c.where;
    }
    // The quadrant of the direct view in three views counts from its own corner.
    const int quadrant[4] = {400, 0, 400, 300};
    int dx = 0, dy = 0;
    CoordinateReadoutOffset(760, 150, 150, 20, quadrant, dx, dy);
    EXPECT_EQ(dx, -156);
}

TEST(TraceImage, RowsPaddedWithRoomToSpare) {
    EXPECT_EQ(TraceImageBytes(800, 600), size_t((800 * 24 + 271) / 32 * 4) * 610);
    EXPECT_GE(TraceImageBytes(801, 1), size_t((801 * 3 + 3) / 4 * 4));
    EXPECT_EQ(TraceImageBytes(0, 10), 0u);
}

TEST_F(SceneRenderTest, SetUpMakesListsTexturesGlyphsAndState) {
    ASSERT_NE(g_listBase, 0u);
    for (int list : {HX_LIST_CIRCLE, HX_LIST_ARROW_HEAD, HX_LIST_COLOR_RINGS, HX_LIST_AXES, HX_LIST_GRID,
                     HX_LIST_DISK, HX_LIST_SPHERE, HX_LIST_CYLINDER, HX_LIST_CONE, HX_LIST_WIRE_CYLINDER2,
                     HX_LIST_WIRE_SPHERE, HX_LIST_WIRE_DISK, HX_LIST_WIRE_CYLINDER, HX_LIST_WIRE_CONE})
        EXPECT_TRUE(glIsList(g_listBase + list)) << list;
    for (UINT name : g_textureIds)
        EXPECT_TRUE(glIsTexture(name));
    ASSERT_NE(g_pTextureText, nullptr);
    EXPECT_GT(g_pTextureText->GetUsedTextureCount(), 200);
    EXPECT_NE(g_labelGlyphBase, 0u);
    EXPECT_TRUE(HxHasLabelGlyphLists());
    EXPECT_EQ(GetLabelGlyphLists(u"A"), CString(char16_t(g_labelGlyphBase + 'A' - 32)));
    const int lengths[5] = {3, 3, 3, 3, 5};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m_renderer->m_captionGlyphs[i].GetLength(), lengths[i]);

    GLint pattern = 0;
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    EXPECT_EQ(pattern, 0x03FF);
    GLfloat offset = 0;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &offset);
    EXPECT_FLOAT_EQ(offset, 1.6f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    GLfloat diffuse[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.8f);
    GLint twoSided = 0;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSided);
    EXPECT_EQ(twoSided, GL_TRUE);

    // Released with the view: nothing of it is left.
    const UINT base = g_listBase;
    m_renderer->ReleaseOpenGL();
    EXPECT_EQ(g_listBase, 0u);
    EXPECT_FALSE(glIsList(base + HX_LIST_AXES));
    EXPECT_EQ(g_pTextureText, nullptr);
    EXPECT_FALSE(HxHasLabelGlyphLists());
    EXPECT_TRUE(m_renderer->m_captionGlyphs[0].IsEmpty());
    ASSERT_TRUE(m_renderer->InitOpenGL()) << "and made again";
}

TEST_F(SceneRenderTest, AMissingInstallationImageStopsTheSetUp) {
    m_renderer->ReleaseOpenGL();
    g_installFolder = u"/nonexistent/halvix";
    MessageRecorder messages;
    CSceneRenderer renderer;
    EXPECT_FALSE(renderer.InitOpenGL());
    EXPECT_FALSE(renderer.IsGlReady());
    EXPECT_EQ(messages.texts.size(), 1u) << "the document texture's loader says which file";
    // Such a view shows only its background.
    Point(0, 0, 0);
    g_backgroundColor[0] = g_backgroundColor[1] = g_backgroundColor[2] = 0.0f;
    renderer.DrawFrame();
    EXPECT_EQ(InkIn(395, 295, 405, 305), 100);
    EXPECT_TRUE(IsColour(400, 300, 0, 0, 0, 0));
    renderer.ReleaseOpenGL();
}

TEST_F(SceneRenderTest, LabelsAppearBesideTheirPoints) {
    CGVertex* a = Point(0, 0, 0, true);   // textured glyphs
    CGVertex* b = Point(-10, 5, 0, true); // bitmap glyph lists
    b->m_extB1 = 1;
    CGVertex* c = Point(-10, -6, 0, true); // a Chinese name
    c->m_name = u"甲乙";
    Frame();
    // The label starts 4 unit lengths (4 pixels) right of its point and rises from there.
    for (CGVertex* p : {a, b, c}) {
        const int x = 400 + int(p->m_x * 20), y = 300 + int(p->m_y * 20);
        EXPECT_TRUE(InkNear(x, y)) << "the point itself";
        EXPECT_GT(InkIn(x + 4, y + 2, x + 40, y + 30), 40) << p->m_name.ToUtf8();
        EXPECT_EQ(InkIn(x - 40, y - 10, x - 6, y + 30), 0) << p->m_name.ToUtf8();
        EXPECT_EQ(InkIn(x - 10, y - 40, x + 40, y - 6), 0) << p->m_name.ToUtf8();
    }
    // In the label colour, not the point's.
    a->m_labelColor = CRgba{0, 160, 0, 255};
    Frame();
    int green = 0;
    for (int y = 302; y < 330; ++y)
        for (int x = 404; x < 440; ++x) {
            auto p = Pixel(x, y);
            green += (p[1] > 100 && p[0] < 80 && p[2] < 80) ? 1 : 0;
        }
    EXPECT_GT(green, 20);
}

TEST_F(SceneRenderTest, TheThreeProjections) {
    Point(0, 0, 0);
    Point(5, 0, 10);
    struct Case {
        int type;
        int x, y; // where (5, 0, 10) lands
    };
    // Orthographic: straight on; central: 50 / 40 larger; oblique: z recedes down and left at half
    // length (cos 45 / 2 per unit).
    const Case cases[3] = {
        {HX_PROJ_ORTHOGRAPHIC, 500, 300}, {HX_PROJ_CENTRAL, 525, 300}, {HX_PROJ_OBLIQUE, 429, 229}};
    for (const Case& c : cases) {
        ApplyProjection(c.type);
        Frame();
        EXPECT_TRUE(InkNear(400, 300)) << "the origin in the middle, projection " << c.type;
        EXPECT_TRUE(InkNear(c.x, c.y)) << c.type;
        for (const Case& other : cases)
            if (other.type != c.type) {
                EXPECT_FALSE(InkNear(other.x, other.y)) << c.type << " " << other.type;
            }
    }
}

TEST_F(SceneRenderTest, ThreeViewQuadrantsWithTheirCaptions) {
    Point(3, 0, 0);
    m_page->m_threeView = 1;
    m_page->m_threeViewPersp = true;
    Frame();
    // Each quadrant shows the scene at half size around its middle: the front view (upper left) and
    // the top view (lower left) see x to the left, the left view (upper right) sees it coming out.
    EXPECT_TRUE(InkNear(170, 450));
    EXPECT_TRUE(InkNear(600, 450));
    EXPECT_TRUE(InkNear(170, 150));
    EXPECT_TRUE(InkNear(630, 150)) << "the camera's own view, plane view here";
    EXPECT_FALSE(InkNear(230, 450));
    // Captions at the upper left of each quadrant, in the selection colour.
    for (auto origin : {std::array<int, 2>{0, 300}, {400, 300}, {0, 0}, {400, 0}}) {
        int magenta = 0;
        for (int y = origin[1] + 255; y < origin[1] + 295; ++y)
            for (int x = origin[0] + 8; x < origin[0] + 90; ++x)
                magenta += IsColour(x, y, 255, 0, 255, 60) ? 1 : 0;
        EXPECT_GT(magenta, 30) << origin[0] << "," << origin[1];
    }

    // Without the camera's own view the lower right stays empty and is the kept viewport.
    m_page->m_threeViewPersp = false;
    Frame();
    EXPECT_EQ(InkIn(400, 0, 800, 300), 0);
    EXPECT_TRUE(InkNear(170, 450));
    EXPECT_EQ((std::array<int, 4>{g_viewport[0], g_viewport[1], g_viewport[2], g_viewport[3]}),
              (std::array<int, 4>{400, 0, 400, 300}));

    // Quadrants of 320 x 240 pixels or less carry no captions.
    ASSERT_TRUE(m_renderer->OnSize(640, 480));
    Frame();
    EXPECT_TRUE(InkNear(160 - 30, 360)) << "the front view of a 640 x 480 area";
    EXPECT_EQ(InkIn(5, 400, 120, 478), 0);
}

TEST_F(SceneRenderTest, DrawingToolsShowTheCursorPointAndItsCoordinates) {
    g_mouseTool = 2;
    m_renderer->m_curPoint[0] = 2.0;
    m_renderer->m_curPoint[1] = 1.0;
    m_renderer->m_curPoint[2] = 0.0;
    Frame();
    EXPECT_TRUE(IsColour(440, 320, 255, 0, 255, 60)) << "the point in the selection colour";
    EXPECT_GT(InkIn(456, 280, 660, 318), 60) << "( 2, 1, 0 ) below and right of it";
    EXPECT_EQ(InkIn(444, 322, 620, 352), 0) << "where the point's label goes";
    EXPECT_EQ(InkIn(430, 300, 450, 316), 0) << "no coordinate lines unless asked";

    m_renderer->m_showCoordLines = 1;
    Frame();
    EXPECT_GT(InkIn(438, 296, 443, 316), 4) << "down to the x axis";

    // The arrow tool shows them only while it drags.
    g_mouseTool = 1;
    Frame();
    EXPECT_EQ(InkIn(380, 280, 700, 400), 0);
    g_dragMoved = 1;
    Frame();
    EXPECT_GT(InkIn(456, 280, 680, 318), 60);
    // No point: nothing.
    m_renderer->m_curPoint[0] = m_renderer->m_curPoint[1] = m_renderer->m_curPoint[2] = -1000.0;
    Frame();
    EXPECT_EQ(InkIn(0, 0, 800, 600), 0);
}

TEST_F(SceneRenderTest, BackgroundAndWindowOverlays) {
    g_backgroundColor[0] = g_backgroundColor[1] = 0.0f;
    g_backgroundColor[2] = 0.5f;
    Frame();
    EXPECT_TRUE(IsColour(5, 5, 0, 0, 128, 2));
    EXPECT_TRUE(IsColour(795, 595, 0, 0, 128, 2));
    g_backgroundColor[0] = g_backgroundColor[1] = g_backgroundColor[2] = 1.0f;
    m_page->m_pageSelected = 1;
    Frame();
    EXPECT_TRUE(IsColour(2, 300, 255, 0, 255, 80) || IsColour(1, 300, 255, 0, 255, 80));
    EXPECT_FALSE(InkNear(400, 300));
    m_page->m_pageSelected = 0;
    m_renderer->m_showBorders = 1;
    Frame();
    // The full-screen boundary: 1024 x 768 is wider than the area, its top and bottom are outside.
    EXPECT_EQ(InkIn(0, 250, 800, 350), 0);
    m_renderer->m_showBorders = 0;
    m_renderer->m_showColorRings = 1;
    Frame();
    int coloured = 0;
    for (int x = 300; x < 500; x += 5) {
        auto p = Pixel(x, 300);
        coloured += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 100 ? 1 : 0;
    }
    EXPECT_GT(coloured, 20);
}

TEST_F(SceneRenderTest, KeptTraceImageStaysUntilTheAreaChanges) {
    CGLine* line = AddLine(Point(-5, 4, 0)->m_id, Point(5, 4, 0)->m_id);
    line->m_labelHidden = 1;
    m_page->m_tracedCells.AddTail(line->m_id);
    EXPECT_EQ(g_traceImageEmpty, 1);
    m_renderer->RedrawBackground();
    EXPECT_EQ(g_traceImageEmpty, 0);
    // The traced segment leaves the page's drawing, but its trace stays in the background.
    line->m_hidden = 1;
    m_page->m_tracedCells.RemoveAll();
    Frame();
    EXPECT_TRUE(InkNear(400, 380));
    ASSERT_TRUE(m_renderer->OnSize(800, 600));
    EXPECT_EQ(g_traceImageEmpty, 1);
    Frame();
    EXPECT_FALSE(InkNear(400, 380));
}

TEST_F(SceneRenderTest, DrawingAreaAndPixelScales) {
    EXPECT_FALSE(m_renderer->OnSize(2, 300));
    EXPECT_FALSE(m_renderer->OnSize(300, 0));
    EXPECT_EQ(g_clientWidth, 800);
    ASSERT_TRUE(m_renderer->OnSize(401, 301));
    EXPECT_FLOAT_EQ(g_pixelScaleX, 1.0f / 200.0f);
    EXPECT_FLOAT_EQ(g_pixelScaleY, 1.0f / 150.0f);
    EXPECT_EQ(g_viewport[2], 401);
    double want[16];
    ComputeProjectionMatrix(g_projectionType, want);
    EXPECT_NEAR(g_projectionMatrix[0], want[0], 1e-6);
    // A larger area than any before makes the kept image again.
    ASSERT_TRUE(m_renderer->OnSize(4000, 300));
    EXPECT_GE(m_renderer->m_traceImage.size(), TraceImageBytes(4000, 300));
}
