// Components drawn by the page's passes into a framebuffer (looking down z, 20 pixels a unit) and
// picked: a lit cube with the view's textures, a textured sphere, the own material against the view's
// lighting, 3D text from outline glyphs (made at draw time, deleted through the queue), the wire
// frames, the clip planes in the oriented frame before the scale, the selected shape's axes, and the
// pick under class 11.
#include "solids/shapes.h"
#include "solids/subassembly.h"
#include "support/render_fixture.h"
#include "view/pick_pass.h"
#include "view/view_display_lists.h"

#include <GL/gl.h>

namespace {

// Textures 1 to 4 of the view, each of one colour: red, green, blue, yellow.
GLuint g_testTextures[4] = {};
bool BindTestTexture(int number) {
    if (number < 1 || number > 4 || g_testTextures[number - 1] == 0)
        return false;
    glBindTexture(GL_TEXTURE_2D, g_testTextures[number - 1]);
    return true;
}

class ComponentsDrawTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        glGenTextures(4, g_testTextures);
        const GLubyte colors[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
        for (int t = 0; t < 4; ++t) {
            std::vector<GLubyte> pixels;
            for (int i = 0; i < 16; ++i)
                pixels.insert(pixels.end(), colors[t], colors[t] + 3);
            glBindTexture(GL_TEXTURE_2D, g_testTextures[t]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        HxSetTextureBinder(BindTestTexture);
    }
    void TearDown() override {
        HxSetTextureBinder(nullptr);
        // The cells' lists go with the page; their names are queued, then deleted with the context.
        m_page.reset();
        HxFlushGlDeletions();
        glDeleteTextures(4, g_testTextures);
        std::fill(std::begin(g_testTextures), std::end(g_testTextures), 0u);
        RenderFixture::TearDown();
    }
    CGSubassembly* Add(BYTE kind, float scale, BYTE style = 0) {
        const double p1[4] = {0, 0, 1, 0}, p2[4] = {0, 0, -1, 0};
        return Insert(new CGSubassembly(NextId(), kind, style, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, scale, scale,
                                        scale, CGSubassembly::kClipNone, p1, p2));
    }
    std::array<int, 4> At(double x, double y) {
        const auto p = ToPixel(x, y, 0);
        return Pixel(p[0], p[1]);
    }
    bool InkAtWorld(double x, double y) { return IsInk(At(x, y)); }
};

} // namespace

TEST_F(ComponentsDrawTest, ALitCubeShowsTheViewsTexturesAndASphereItsOwnTexture) {
    CGSubassembly* cube = Add(kSubassemblyCube, 4.0f);
    cube->m_texture = 9; // whatever the number, the cube shows the first three textures
    DrawPage();
    // Seen from above: the +z face, texture 1, unlit and uncoloured.
    EXPECT_EQ(At(0.5, 0.5), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(At(-1.5, 1.5), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_FALSE(InkAtWorld(2.5, 0.0)) << "edge 4";
    EXPECT_TRUE(cube->HasShapeList()) << "the shape went into a display list at draw time";
    // Turned about x by a quarter (axis -y): the y = +h face, texture 2, faces the viewer.
    cube->m_axis[1] = -1.0f;
    cube->m_axis[2] = 0.0f;
    DrawPage();
    EXPECT_EQ(At(0.5, 0.5), (std::array<int, 4>{0, 255, 0, 255}));
    // Without a texture number: the plain cube, lit, in its own colour.
    cube->m_texture = 0;
    DrawPage();
    const auto lit = At(0.5, 0.5);
    EXPECT_GT(lit[0], lit[1]);
    EXPECT_GT(lit[1], lit[2]);
    EXPECT_LT(lit[2], 80);
    // A sphere takes its texture number's texture outside.
    cube->m_hidden = 1;
    CGSubassembly* sphere = Add(kSubassemblySphere, 3.0f);
    sphere->m_texture = 4;
    DrawPage();
    EXPECT_EQ(At(0.0, 0.0), (std::array<int, 4>{255, 255, 0, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(ComponentsDrawTest, TheOwnMaterialLightsTheOutsideInsteadOfTheColour) {
    CGSubassembly* sphere = Add(kSubassemblySphere, 3.0f);
    DrawPage();
    const auto plain = At(0.0, 0.0);
    EXPECT_GT(plain[0], plain[2] + 80) << "the view's lighting in the orange colour";
    const float blue[4] = {0, 0, 1, 1}, dim[4] = {0, 0, 0.3f, 1}, none[4] = {0, 0, 0, 1};
    std::copy(blue, blue + 4, sphere->m_diffuse);
    std::copy(dim, dim + 4, sphere->m_ambient);
    std::copy(none, none + 4, sphere->m_specular);
    sphere->m_ownMaterial = 1;
    DrawPage();
    const auto own = At(0.0, 0.0);
    EXPECT_GT(own[2], own[0] + 80) << "the component's blue material";
    EXPECT_LT(own[1], 40);
}

TEST_F(ComponentsDrawTest, ThreeDTextIsDrawnFromOutlineGlyphsMadeAtDrawTime) {
    CGSubassembly* text = Add(kSubassemblyText, 4.0f);
    text->m_name = u"HH";
    text->m_text1 = u"Liberation Sans";
    EXPECT_FALSE(text->HasGlyphLists()) << "no lists before a context draws it";
    DrawPage();
    ASSERT_TRUE(text->HasGlyphLists());
    EXPECT_EQ(text->m_text2.GetLength(), 2);
    EXPECT_FALSE(text->m_flag2);
    // Two H of about 0.7 em each, 4 units to the em: the stems rise from the baseline at y = 0.
    const int ink =
        InkIn(ToPixel(0, 0, 0)[0], ToPixel(0, 0, 0)[1], ToPixel(5.5, 3.5, 0)[0], ToPixel(5.5, 3.5, 0)[1]);
    EXPECT_GT(ink, 400);
    EXPECT_EQ(InkIn(0, 0, ToPixel(-0.5, 0, 0)[0], m_h), 0) << "nothing left of the start";
    EXPECT_TRUE(InkAtWorld(0.3, 1.0)) << "the first stem";
    // A new text: new glyphs, the old lists queued for deletion and deleted by the next frame.
    text->m_name = u"I";
    DrawPage();
    EXPECT_EQ(text->m_text2.GetLength(), 1);
    EXPECT_FALSE(InkAtWorld(4.0, 1.0));
    // A changed kind drops the lists; they are made again when the text is drawn once more.
    text->DropDisplayLists();
    EXPECT_GT(HxPendingGlDeletions(), 0u);
    HxFlushGlDeletions();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
    DrawPage();
    EXPECT_TRUE(text->HasGlyphLists());
    EXPECT_TRUE(InkAtWorld(0.3, 1.0));
    // The wire frame: the outlines in the visible-edge pass.
    text->m_style = 1;
    DrawPage();
    EXPECT_TRUE(text->HasGlyphLists());
    EXPECT_FALSE(InkAtWorld(0.55, 1.0)) << "inside the stem: outlines only";
}

TEST_F(ComponentsDrawTest, EveryKindDrawsSolidAndWire) {
    for (int kind = 1; kind < kSubassemblyKindCount; ++kind) {
        for (BYTE style : {BYTE(0), BYTE(1)}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " style " << int(style));
            CGSubassembly* cell = Add(BYTE(kind), 3.0f, style);
            // Seen a little from the side, so that flat shapes show too.
            cell->m_axis[1] = -0.5f;
            DrawPage();
            EXPECT_GT(InkIn(0, 0, m_w, m_h), style == 0 ? 500 : 100);
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
            cell->m_hidden = 1;
            DrawPage();
            EXPECT_EQ(InkIn(0, 0, m_w, m_h), 0) << "hidden";
            m_page->m_cells.RemoveKey(cell->m_id);
            delete cell;
        }
    }
}

TEST_F(ComponentsDrawTest, ClipPlanesCutInTheOrientedFrameBeforeTheScale) {
    CGSubassembly* sphere = Add(kSubassemblySphere, 4.0f);
    // Keep x >= 1: one unit of the unscaled frame, not four.
    sphere->m_clipMode = CGSubassembly::kClipPlane1;
    sphere->m_plane1[0] = 1.0;
    sphere->m_plane1[2] = 0.0;
    sphere->m_plane1[3] = -1.0;
    DrawPage();
    EXPECT_FALSE(InkAtWorld(0.5, 0.0));
    EXPECT_TRUE(InkAtWorld(1.5, 0.0));
    EXPECT_TRUE(InkAtWorld(3.5, 0.0));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE1)) << "switched off again";
    // Plane 2 alone: keep x <= 0.
    sphere->m_clipMode = CGSubassembly::kClipPlane2;
    sphere->m_plane2[0] = -1.0;
    sphere->m_plane2[2] = 0.0;
    DrawPage();
    EXPECT_TRUE(InkAtWorld(-1.5, 0.0));
    EXPECT_FALSE(InkAtWorld(1.5, 0.0));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE2));
    // Both: the slab -1 <= x <= 1.
    sphere->m_clipMode = CGSubassembly::kClipBoth;
    sphere->m_plane1[3] = 1.0;
    sphere->m_plane2[3] = 1.0;
    DrawPage();
    EXPECT_TRUE(InkAtWorld(0.0, 0.0));
    EXPECT_FALSE(InkAtWorld(2.0, 0.0));
    EXPECT_FALSE(InkAtWorld(-2.0, 0.0));
    // The plane z >= 1 of a shape turned onto +x keeps x >= 1 of the world; the spin turns it on.
    sphere->m_clipMode = CGSubassembly::kClipPlane1;
    sphere->m_plane1[0] = 0.0;
    sphere->m_plane1[2] = 1.0;
    sphere->m_plane1[3] = -1.0;
    sphere->m_axis[0] = 1.0f;
    sphere->m_axis[2] = 0.0f;
    DrawPage();
    EXPECT_FALSE(InkAtWorld(0.5, 0.0));
    EXPECT_TRUE(InkAtWorld(1.5, 0.0));
    sphere->m_plane1[0] = 1.0; // the shape's own x runs along the world's -z: no cut in x, y
    sphere->m_plane1[2] = 0.0;
    sphere->m_plane1[3] = 0.0;
    sphere->m_spin = 90.0f; // now its x runs along +y: keep y >= 0
    DrawPage();
    EXPECT_TRUE(InkAtWorld(0.0, 1.5));
    EXPECT_FALSE(InkAtWorld(0.0, -1.5));
}

TEST_F(ComponentsDrawTest, ASelectedComponentShowsItsAxesAndIsPickedUnderClassEleven) {
    CGSubassembly* cube = Add(kSubassemblyCube, 2.0f);
    m_page->m_threeView = 0;
    DrawPage();
    EXPECT_FALSE(InkAtWorld(8.0, 0.0));
    // The view's axes list (+3) is called in the shape's frame when it is selected.
    GLuint lists = glGenLists(HX_LIST_AXES + 1);
    g_listBase = lists;
    glNewList(lists + HX_LIST_AXES, GL_COMPILE);
    glBegin(GL_LINES);
    glVertex3d(0, 0, 0);
    glVertex3d(8, 0, 0);
    glEnd();
    glEndList();
    cube->m_selected = true;
    DrawPage();
    EXPECT_TRUE(InkNear(ToPixel(8.0, 0, 0)[0] - 2, ToPixel(8.0, 0, 0)[1]));
    g_listBase = 0;
    glDeleteLists(lists, HX_LIST_AXES + 1);
    cube->m_selected = false;

    DrawPage();
    std::vector<CPickHit> hits;
    const auto centre = ToPixel(0.5, 0.5, 0);
    ASSERT_EQ(HxRunPickPass(*m_page, centre[0], centre[1], 10, 10, HX_PICK_ALL, 1024, hits), 1);
    EXPECT_EQ(hits[0], (CPickHit{kPickClassSubassembly, cube->m_id}));
    const auto beside = ToPixel(5.0, 5.0, 0);
    EXPECT_EQ(HxRunPickPass(*m_page, beside[0], beside[1], 10, 10, HX_PICK_ALL, 1024, hits), 0);
    // Not by the drawing tools' pick, not while hidden, not in the three views.
    EXPECT_EQ(HxRunPickPass(*m_page, centre[0], centre[1], 10, 10, HX_PICK_GEOMETRY, 1024, hits), 0);
    cube->m_hidden = 1;
    EXPECT_EQ(HxRunPickPass(*m_page, centre[0], centre[1], 10, 10, HX_PICK_ALL, 1024, hits), 0);
    cube->m_hidden = 0;
    m_page->m_threeView = 1;
    EXPECT_EQ(HxRunPickPass(*m_page, centre[0], centre[1], 10, 10, HX_PICK_ALL, 1024, hits), 0);
    m_page->m_threeView = 0;
}

TEST_F(ComponentsDrawTest, TheTeapotAndTheC60LeaveTheStateAsTheyFoundIt) {
    for (bool wire : {false, true}) {
        glFrontFace(GL_CCW);
        glMatrixMode(GL_MODELVIEW);
        GLint depth = 0, depthAfter = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        DrawTeapot(wire ? 10 : 7, 1.0, wire ? GL_LINE : GL_FILL);
        DrawC60(wire);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
        EXPECT_EQ(depthAfter, depth);
        GLint front = 0;
        glGetIntegerv(GL_FRONT_FACE, &front);
        EXPECT_EQ(front, GL_CCW);
        EXPECT_FALSE(glIsEnabled(GL_MAP2_VERTEX_3));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        GLfloat color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_EQ(color[2], 1.0f) << "the C60 leaves the bond colour";
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}
