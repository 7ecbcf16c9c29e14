// Faces, circles and arcs drawn into an offscreen framebuffer in the passes of their display styles,
// textured through the registered texture table, and their pick names and pick shapes.
#include "model/arc.h"
#include "model/face.h"
#include "support/gl_page_fixture.h"

#include <cmath>

namespace {

constexpr CRgba kRed{255, 0, 0, 255};
constexpr CRgba kBlue{0, 0, 255, 255};
constexpr CRgba kGreen{0, 255, 0, 255};
constexpr CRgba kYellow{255, 255, 0, 255};

GLuint s_texture = 0;

// The texture table of the tests: number 2 is a 2 x 2 image, red and blue below, green and yellow
// above; the other numbers have no texture.
bool BindTestTexture(int number) {
    if (number != 2)
        return false;
    glBindTexture(GL_TEXTURE_2D, s_texture);
    return true;
}

class FaceArcDrawGlTest : public GlPageFixture {
protected:
    void SetUp() override {
        GlPageFixture::SetUp();
        glGenTextures(1, &s_texture);
        glBindTexture(GL_TEXTURE_2D, s_texture);
        const GLubyte pixels[] = {255, 0, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255, 255, 255, 0, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override {
        glDeleteTextures(1, &s_texture);
        s_texture = 0;
        GlPageFixture::TearDown();
    }
    // A square face from (-2, -2) to (2, 2), corners in counter-clockwise order.
    CGFace* AddSquare() {
        CGVertex *a = AddPoint(-2, -2, 0), *b = AddPoint(2, -2, 0), *c = AddPoint(2, 2, 0);
        CGVertex* d = AddPoint(-2, 2, 0);
        for (CGVertex* p : {a, b, c, d})
            p->m_labelHidden = 1;
        return Insert(new CGFace(NextId(), a->m_id, b->m_id, c->m_id, d->m_id, RGB(200, 100, 0)));
    }
    // A circle of radius 2 about the origin in the plane z = 0.
    CGArc* AddCircle(BYTE kind, float start = 0.0f, float end = 6.0f) {
        return Insert(new CGArc(NextId(), 0, 0, 0, 2, 0, 0, 0, 2, 0, start, end, kind));
    }
    // Whether any pixel within one pixel of world (x, y) has the colour.
    bool Near(float x, float y, const CRgba& color) {
        const int px = int((x + 4.0f) * 8.0f), py = int((y + 4.0f) * 8.0f);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (Pixel(px + dx, py + dy) == color)
                    return true;
        return false;
    }
    bool AllWhite() {
        for (int x = 0; x < kSize; x += 2)
            for (int y = 0; y < kSize; y += 2)
                if (Pixel(x, y) != kWhite)
                    return false;
        return true;
    }
    // A pick of the 3 x 3 pixels around world (x, y).
    std::vector<std::vector<GLuint>> PickAt(float x, float y, const std::function<void()>& draw) {
        GLint viewport[4] = {0, 0, kSize, kSize};
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix((x + 4.0) * 8.0, (y + 4.0) * 8.0, 3.0, 3.0, viewport);
        glOrtho(-4, 4, -4, 4, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        auto records = Pick(draw);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        return records;
    }
};

using Records = std::vector<std::vector<GLuint>>;

} // namespace

TEST_F(FaceArcDrawGlTest, FaceStylesChooseTheirPasses) {
    CGFace* face = AddSquare();
    const CRgba own{200, 100, 0, 255};
    // Style 0 only writes depth: nothing behind it shows.
    face->DrawFill();
    face->DrawLit();
    EXPECT_TRUE(AllWhite());
    glEnable(GL_DEPTH_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    face->DrawDepth();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColor4ub(255, 0, 0, 255);
    glRectf(-3.0f, -3.0f, 3.0f, 3.0f); // at z = 0 as well: not nearer than the face
    glDisable(GL_DEPTH_TEST);
    EXPECT_EQ(At(0, 0), kWhite);
    EXPECT_EQ(At(-2.5f, 0), kRed);

    Clear();
    face->m_style = CGFace::kStyleFilled;
    face->DrawDepth();
    EXPECT_TRUE(AllWhite());
    face->DrawFill();
    EXPECT_EQ(At(0, 0), own);
    EXPECT_EQ(At(1.9f, 1.9f), own);
    EXPECT_EQ(At(2.5f, 0), kWhite);

    // Through the view's polygon stipple: every other column.
    Clear();
    GLubyte pattern[128];
    std::fill(std::begin(pattern), std::end(pattern), GLubyte(0xAA));
    glPolygonStipple(pattern);
    face->m_style = CGFace::kStyleStippled;
    face->DrawFill();
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));
    int drawn = 0;
    for (int x = 20; x < 44; ++x)
        drawn += Pixel(x, 32) == own;
    EXPECT_EQ(drawn, 12);

    // Selected: the fill pass in the selection colour whatever the style, no other pass.
    for (BYTE style : {0, 2, 3, 4}) {
        Clear();
        face->m_style = style;
        face->m_selected = true;
        face->DrawDepth();
        face->DrawLit();
        face->DrawTranslucent();
        EXPECT_TRUE(AllWhite()) << int(style);
        face->DrawFill();
        EXPECT_EQ(At(0, 0), g_colorSelection) << int(style);
    }
    // Hidden or invalid: nothing.
    Clear();
    face->m_hidden = 1;
    face->DrawFill();
    face->m_hidden = 0;
    face->m_valid = false;
    face->DrawFill();
    EXPECT_TRUE(AllWhite());
}

TEST_F(FaceArcDrawGlTest, TexturedFaceUsesTheRegisteredTexture) {
    CGFace* face = AddSquare();
    face->m_style = CGFace::kStyleLit;
    face->m_param4 = 2;
    // No texture table yet: the face is filled plainly.
    face->DrawLit();
    EXPECT_EQ(At(-1, -1), (CRgba{200, 100, 0, 255}));

    Clear();
    HxSetTextureBinder(BindTestTexture);
    face->DrawLit();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(At(-1, -1), kRed);
    EXPECT_EQ(At(1, -1), kBlue);
    EXPECT_EQ(At(-1, 1), kGreen);
    EXPECT_EQ(At(1, 1), kYellow);

    // A number the table does not have, or above 15: plain.
    Clear();
    face->m_param4 = 16;
    face->DrawLit();
    EXPECT_EQ(At(1, 1), (CRgba{200, 100, 0, 255}));
    face->m_param4 = 3;
    face->DrawLit();
    EXPECT_EQ(At(1, 1), (CRgba{200, 100, 0, 255}));
}

TEST_F(FaceArcDrawGlTest, FacePicksUnderItsClassOnlyForTheArrowTool) {
    g_labelPickAxisA[1] = 0.5f;
    g_labelPickAxisB[0] = 0.5f;
    CGFace* face = AddSquare();
    const GLuint id = face->m_id;
    EXPECT_TRUE(Pick([&] { face->DrawForPick(2); }).empty());
    EXPECT_EQ(Pick([&] { face->DrawForPick(3); }), (Records{{8, id}}));
    face->m_labelHidden = 0;
    EXPECT_EQ(Pick([&] { face->DrawForPick(1); }), (Records{{3, id}}));
    EXPECT_EQ(Pick([&] { face->DrawForPick(3); }), (Records{{8, id}, {3, id}}));
    face->m_valid = false;
    EXPECT_TRUE(Pick([&] { face->DrawForPick(3); }).empty());
}

TEST_F(FaceArcDrawGlTest, OutlinesAndAreasOfTheFiveKinds) {
    CGArc* circle = AddCircle(CGArc::kCircle, 1.0f, 1.5f); // a circle ignores its sweep
    circle->DrawFill();
    EXPECT_TRUE(AllWhite());
    circle->DrawVisible();
    EXPECT_TRUE(Near(2, 0, g_colorArcSolid));
    EXPECT_TRUE(Near(-2, 0, g_colorArcSolid));
    EXPECT_TRUE(Near(0, -2, g_colorArcSolid));
    EXPECT_EQ(At(0, 0), kWhite);

    Clear();
    CGArc* arc = AddCircle(CGArc::kArc, 0.0f, 1.5707964f);
    arc->DrawVisible();
    EXPECT_TRUE(Near(1.414f, 1.414f, g_colorArcSolid));
    EXPECT_FALSE(Near(-1.414f, 1.414f, g_colorArcSolid));
    EXPECT_FALSE(Near(0, -2, g_colorArcSolid));

    // A disc: the area in its colour, the outline in its label colour.
    Clear();
    CGArc* disc = AddCircle(CGArc::kDisc);
    disc->m_color = CRgba{0, 0, 200, 255};
    disc->m_labelColor = CRgba{200, 0, 0, 255};
    disc->DrawFill();
    EXPECT_EQ(At(0, 0), (CRgba{0, 0, 200, 255}));
    EXPECT_EQ(At(1.8f, 0.2f), (CRgba{0, 0, 200, 255}));
    EXPECT_EQ(At(2.3f, 0), kWhite);
    disc->DrawVisible();
    EXPECT_TRUE(Near(0, 2, CRgba{200, 0, 0, 255}));

    // A quarter sector and a half segment.
    Clear();
    CGArc* sector = AddCircle(CGArc::kSector, 0.0f, 1.5707964f);
    sector->DrawFill();
    EXPECT_EQ(At(0.8f, 0.8f), g_colorArcSolid);
    EXPECT_EQ(At(-0.8f, 0.8f), kWhite);
    EXPECT_EQ(At(0.8f, -0.8f), kWhite);
    Clear();
    CGArc* segment = AddCircle(CGArc::kSegment, 0.0f, 3.1415927f);
    segment->DrawFill();
    EXPECT_EQ(At(0, 1.5f), g_colorArcSolid);
    EXPECT_EQ(At(0, -0.5f), kWhite);
    // The segment of a quarter turn is cut off by its chord.
    segment->m_endAngle = 1.5707964f;
    Clear();
    segment->DrawFill();
    EXPECT_EQ(At(1.3f, 1.3f), g_colorArcSolid);
    EXPECT_EQ(At(0.7f, 0.7f), kWhite);
}

TEST_F(FaceArcDrawGlTest, CircleStylesChooseTheirPasses) {
    CGArc* circle = AddCircle(CGArc::kCircle);
    // Style 0 has a hidden part; style 5 does not.
    circle->DrawHidden();
    EXPECT_TRUE(Near(2, 0, g_colorArcSolid));
    Clear();
    circle->m_style = CGArc::kStyleVisibleOnly;
    circle->DrawHidden();
    circle->DrawOnTop();
    EXPECT_TRUE(AllWhite());
    circle->DrawVisible();
    EXPECT_TRUE(Near(2, 0, g_colorArcSolid));

    // On top, and on top dashed.
    Clear();
    circle->m_style = CGArc::kStyleOnTop;
    circle->DrawVisible();
    EXPECT_TRUE(AllWhite());
    circle->DrawOnTop();
    EXPECT_TRUE(Near(-2, 0, g_colorArcSolid));
    // The rows near angle 0 that the outline reaches: the dashes leave gaps.
    auto countNearAngleZero = [&] {
        int rows = 0;
        for (int y = 16; y < 48; ++y) {
            bool drawn = false;
            for (int x = 42; x <= 52; ++x)
                drawn = drawn || Pixel(x, y) == g_colorArcSolid;
            rows += drawn;
        }
        return rows;
    };
    const int solid = countNearAngleZero();
    Clear();
    circle->m_style = CGArc::kStyleOnTopDashed;
    circle->DrawOnTop();
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    const int dashed = countNearAngleZero();
    EXPECT_GT(dashed, 0);
    EXPECT_LT(dashed, solid);

}

TEST_F(FaceArcDrawGlTest, LitCirclesAreTubesAndLitDiscsAreTextured) {
    CGArc* circle = AddCircle(CGArc::kCircle);
    circle->m_style = CGArc::kStyleLit;
    circle->m_size = 10.0f; // a tube of radius 0.6
    circle->DrawVisible();
    circle->DrawTranslucent();
    EXPECT_TRUE(AllWhite());
    circle->DrawLit();
    EXPECT_EQ(At(2.4f, 0), g_colorArcSolid);
    EXPECT_EQ(At(-1.6f, 0), g_colorArcSolid);
    EXPECT_EQ(At(0, 0), kWhite);
    EXPECT_EQ(At(0, 2.8f), kWhite);

    // A lit disc with texture 2: the image on the square around the circle.
    Clear();
    HxSetTextureBinder(BindTestTexture);
    CGArc* disc = AddCircle(CGArc::kDisc);
    disc->m_style = CGArc::kStyleLit;
    disc->m_param4 = 2;
    disc->DrawLit();
    EXPECT_EQ(At(-1, -1), kRed);
    EXPECT_EQ(At(1, -1), kBlue);
    EXPECT_EQ(At(1, 1), kYellow);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // Selected and lit: the selection colour, no texture.
    Clear();
    disc->m_style = CGArc::kStyleLit;
    disc->m_selected = true;
    disc->DrawLit();
    EXPECT_EQ(At(1, 1), g_colorSelection);
}

TEST_F(FaceArcDrawGlTest, PlainDrawingIgnoresStylesAndLooks) {
    CGArc* sector = AddCircle(CGArc::kSector, 0.0f, 1.5707964f);
    sector->m_style = CGArc::kStyleLit;
    sector->m_selected = true;
    g_useObjectColors = FALSE;
    sector->DrawPlain();
    EXPECT_EQ(At(0.8f, 0.8f), g_colorArcSolid);
    sector->m_hidden = 1;
    Clear();
    sector->DrawPlain();
    EXPECT_TRUE(AllWhite());
}

TEST_F(FaceArcDrawGlTest, CirclesPickByTheirShapeUnderClassFour) {
    g_labelPickAxisA[1] = 0.5f;
    g_labelPickAxisB[0] = 0.5f;
    CGArc* circle = AddCircle(CGArc::kCircle);
    const GLuint id = circle->m_id;
    EXPECT_TRUE(PickAt(2, 0, [&] { circle->DrawForPick(1); }).empty());
    EXPECT_EQ(PickAt(2, 0, [&] { circle->DrawForPick(2); }), (Records{{4, id}}));
    EXPECT_TRUE(PickAt(0, 0, [&] { circle->DrawForPick(3); }).empty()); // inside a circle is nothing
    EXPECT_TRUE(PickAt(2.45f, 0, [&] { circle->DrawForPick(3); }).empty());

    // Lit, translucent and on-top circles pick by their tube, so a little further out.
    circle->m_size = 10.0f;
    for (BYTE style : {1, 2, 3, 4, 5}) {
        circle->m_style = style;
        EXPECT_EQ(PickAt(2.45f, 0, [&] { circle->DrawForPick(2); }), (Records{{4, id}})) << int(style);
    }
    // Filled kinds pick by their area in every style.
    CGArc* disc = AddCircle(CGArc::kDisc);
    disc->m_style = CGArc::kStyleLit;
    EXPECT_EQ(PickAt(0, 0, [&] { disc->DrawForPick(2); }), (Records{{4, GLuint(disc->m_id)}}));

    // The label only in the arrow tool's pick.
    circle->m_style = CGArc::kStyleOutline;
    circle->m_labelHidden = 0;
    const float* l = circle->m_labelPos;
    EXPECT_TRUE(PickAt(l[0], l[1], [&] { circle->DrawForPick(2); }).empty());
    EXPECT_EQ(PickAt(l[0], l[1], [&] { circle->DrawForPick(3); }), (Records{{3, id}}));
    circle->m_valid = false;
    EXPECT_TRUE(PickAt(2.45f, 0, [&] { circle->DrawForPick(3); }).empty());
}

namespace {

// The primitives a pass hands to OpenGL, counted in feedback mode: line segments, polygons and the
// vertices of the polygons.
struct Primitives {
    int lines = 0;
    int polygons = 0;
    int polygonVertices = 0;
    // Triangles however the driver splits quads: a convex polygon of n vertices is n - 2 of them.
    int Triangles() const { return polygonVertices - 2 * polygons; }
};

Primitives Feedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint size = glRenderMode(GL_RENDER);
    Primitives counted;
    for (GLint i = 0; i < size;) {
        const GLint token = GLint(buffer[size_t(i++)]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            ++counted.lines;
            i += 6;
        } else if (token == GL_POLYGON_TOKEN) {
            const GLint n = GLint(buffer[size_t(i++)]);
            ++counted.polygons;
            counted.polygonVertices += n;
            i += 3 * n;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += 3;
        } else {
            i += 1; // pass-through markers carry one value
        }
    }
    return counted;
}

} // namespace

TEST_F(FaceArcDrawGlTest, TessellationOfTurnsSweepsAndTubes) {
    // A full turn is 62 segments, whatever the sweep.
    CGArc* circle = AddCircle(CGArc::kCircle, 0.5f, 0.6f);
    EXPECT_EQ(Feedback([&] { circle->DrawVisible(); }).lines, 62);
    // A sweep of 0.35 has trunc(3.5) = 3 steps, raised to 4; a sweep of 1.5 has 15.
    CGArc* arc = AddCircle(CGArc::kArc, 1.0f, 1.35f);
    EXPECT_EQ(Feedback([&] { arc->DrawVisible(); }).lines, 4);
    arc->m_endAngle = 2.5f;
    EXPECT_EQ(Feedback([&] { arc->DrawVisible(); }).lines, 15);
    // A disc is a fan of 62 triangles about its centre; a sector of 15 steps has 15; a segment is one
    // polygon of its 16 arc points.
    CGArc* disc = AddCircle(CGArc::kDisc);
    EXPECT_EQ(Feedback([&] { disc->DrawFill(); }).Triangles(), 62);
    disc->m_kind = CGArc::kSector;
    disc->m_startAngle = 1.0f;
    disc->m_endAngle = 2.5f;
    EXPECT_EQ(Feedback([&] { disc->DrawFill(); }).Triangles(), 15);
    disc->m_kind = CGArc::kSegment;
    EXPECT_EQ(Feedback([&] { disc->DrawFill(); }).Triangles(), 16 - 2);
    // A lit circle of width 2: a tube of radius 0.12 in 62 strips of 25 vertex pairs (24 quads).
    circle->m_style = CGArc::kStyleLit;
    EXPECT_EQ(Feedback([&] { circle->DrawLit(); }).Triangles(), 62 * 24 * 2);
    // An arc's tube follows the sweep.
    arc->m_style = CGArc::kStyleLit;
    EXPECT_EQ(Feedback([&] { arc->DrawLit(); }).Triangles(), 15 * 24 * 2);
    // A sweep that is no number draws nothing; a damaged huge one stays bounded.
    arc->m_endAngle = std::nanf("");
    EXPECT_EQ(Feedback([&] { arc->DrawLit(); }).Triangles(), 0);
    arc->m_style = CGArc::kStyleOutline;
    arc->m_endAngle = 1e30f;
    EXPECT_EQ(Feedback([&] { arc->DrawVisible(); }).lines, 1000);
}
