// Points and lines drawn into an offscreen framebuffer in each of their passes, and their pick
// names in OpenGL selection mode.
#include "support/gl_page_fixture.h"
#include "view/label_hooks.h"

#include <functional>

namespace {

class CellDrawGlTest : public GlPageFixture {
protected:
    // The pixel at world (x, y) after a draw on a cleared frame.
    CRgba After(const std::function<void()>& draw, float x = 0, float y = 0) {
        Clear();
        draw();
        return At(x, y);
    }
};

} // namespace

TEST_F(CellDrawGlTest, DiscPointDrawsInItsPassOnly) {
    CGVertex* a = AddPoint(0.0f, 0.0f, 0.0f);
    a->m_labelHidden = 1;
    const CRgba own = Opaque(g_colorPoint);
    EXPECT_EQ(After([&] { a->DrawVisible(); }), kWhite); // style 0 is drawn on top
    EXPECT_EQ(After([&] { a->DrawOnTop(); }), own);
    EXPECT_EQ(At(1, 1), kWhite);
    a->m_style = 1;
    EXPECT_EQ(After([&] { a->DrawOnTop(); }), kWhite);
    EXPECT_EQ(After([&] { a->DrawVisible(); }), own);
    // Label-only styles and hidden or invalid points draw no figure.
    for (BYTE style : {2, 3}) {
        a->m_style = style;
        EXPECT_EQ(After([&] {
                      a->DrawOnTop();
                      a->DrawVisible();
                  }),
                  kWhite)
            << int(style);
    }
    a->m_style = 0;
    a->m_hidden = 1;
    EXPECT_EQ(After([&] {
                  a->DrawOnTop();
                  a->DrawPlain();
              }),
              kWhite);
    a->m_hidden = 0;
    a->m_valid = false;
    EXPECT_EQ(After([&] { a->DrawOnTop(); }), kWhite);
}

TEST_F(CellDrawGlTest, SelectedPointsGrowAndTakeTheSelectionColour) {
    CGVertex* a = AddPoint(0.0f, 0.0f, 0.0f);
    a->m_labelHidden = 1;
    a->m_selected = true;
    a->m_highlighted = true; // the selection look wins
    a->DrawOnTop();
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 9.0f);
    EXPECT_EQ(At(0, 0), g_colorSelection);
    a->m_size = 17.0f;
    a->DrawOnTop();
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 20.0f);

    a->m_selected = false;
    a->m_size = 6.0f;
    EXPECT_EQ(After([&] { a->DrawOnTop(); }), (CRgba{127, 255, 255, 255})); // highlighted: inverted
    EXPECT_EQ(After([&] { a->DrawPlain(); }), Opaque(g_colorPoint));        // plain ignores the looks
    // Without object colours the pass keeps the current colour.
    g_useObjectColors = FALSE;
    glColor3ub(1, 2, 3);
    EXPECT_EQ(After([&] { a->DrawOnTop(); }), (CRgba{1, 2, 3, 255}));
}

TEST_F(CellDrawGlTest, BallPointInTheLitPass) {
    BuildBaseLists();
    CGVertex* a = AddPoint(1.0f, 1.0f, 0.0f);
    a->m_style = 4;
    a->m_size = 20.0f; // radius 20 x 0.05 = 1 unit
    a->m_labelHidden = 1;
    EXPECT_EQ(After([&] { a->DrawOnTop(); }, 1, 1), kWhite); // no disc
    EXPECT_EQ(After([&] { a->DrawLit(); }, 1, 1), Opaque(g_colorPoint));
    EXPECT_EQ(At(1.6f, 1.0f), Opaque(g_colorPoint));
    EXPECT_EQ(At(2.5f, 1.0f), kWhite);
}

TEST_F(CellDrawGlTest, SegmentRayAndLineExtents) {
    CGVertex *a = AddPoint(-1.0f, 0.0f, 0.0f), *b = AddPoint(1.0f, 0.0f, 0.0f);
    a->m_labelHidden = b->m_labelHidden = 1;
    const CRgba own = Opaque(g_colorObject);
    // Where each kind is drawn at x = -2, -0.9, 0, 2 and 3.8 (the edge of the view).
    const struct {
        BYTE kind;
        bool drawn[5];
    } rows[] = {{CGLine::kSegment, {false, true, true, false, false}},
                {CGLine::kRay, {false, true, true, true, true}},
                {CGLine::kLine, {true, true, true, true, true}}};
    const float xs[5] = {-2.0f, -0.9f, 0.0f, 2.0f, 3.8f};
    for (const auto& r : rows) {
        CGLine* line = AddLine(a->m_id, b->m_id, r.kind);
        Clear();
        line->DrawVisible();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(At(xs[i], 0), r.drawn[i] ? own : kWhite) << int(r.kind) << " at " << xs[i];
    }
    // A ray from a point far from the origin with a short direction still runs along its own line.
    CGVertex *c = AddPoint(0.0f, 3.0f, 0.0f), *d = AddPoint(0.001f, 3.0f, 0.0f);
    CGLine* shortRay = AddLine(c->m_id, d->m_id, CGLine::kRay);
    EXPECT_EQ(After([&] { shortRay->DrawVisible(); }, 3.0f, 3.0f), own);
    EXPECT_EQ(At(-1.0f, 3.0f), kWhite);
}

TEST_F(CellDrawGlTest, LineStylesChooseTheirPasses) {
    CGVertex *a = AddPoint(-3.0f, 0.0f, 0.0f), *b = AddPoint(3.0f, 0.0f, 0.0f);
    CGLine* line = AddLine(a->m_id, b->m_id);
    line->m_style = 2;
    EXPECT_EQ(After([&] {
                  line->DrawVisible();
                  line->DrawHidden();
              }),
              kWhite);
    EXPECT_EQ(After([&] { line->DrawOnTop(); }), Opaque(g_colorObject));

    // Style 3: dashed on top, ten pixels drawn and six left out.
    Clear();
    line->m_style = 3;
    line->DrawOnTop();
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    int drawn = 0;
    for (int x = 8; x < 56; ++x)
        drawn += Pixel(x, 32) == Opaque(g_colorObject);
    EXPECT_GT(drawn, 20);
    EXPECT_LT(drawn, 40);
    // Only style 0 takes part in the hidden pass; styles 0 and 1 in the visible one.
    line->m_style = 1;
    EXPECT_EQ(After([&] { line->DrawHidden(); }), kWhite);
    line->m_style = 0;
    line->m_selected = true;
    EXPECT_EQ(After([&] { line->DrawHidden(); }), g_colorSelection);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, g_lineWidth);
}

TEST_F(CellDrawGlTest, VectorArrowHeadFacesTheViewer) {
    CGVertex *a = AddPoint(-3.0f, 0.0f, 0.0f), *b = AddPoint(2.0f, 0.0f, 0.0f);
    a->m_labelHidden = b->m_labelHidden = 1;
    CGLine* vector = AddLine(a->m_id, b->m_id, CGLine::kVector);
    // s = 20 x 0.05 / 1 = 1: barbs 1.15 behind the tip and 0.35 to each side.
    vector->DrawOnTop();
    EXPECT_EQ(At(1.5f, 0.1f), Opaque(g_colorObject));
    EXPECT_EQ(At(1.0f, 0.25f), Opaque(g_colorObject));
    EXPECT_EQ(At(0.0f, 0.0f), kWhite); // style 0: the shaft is the visible pass's
    EXPECT_EQ(At(1.0f, 0.6f), kWhite);

    // Squared length below s: no head.
    b->SetPosition(-2.1f, 0.0f, 0.0f);
    EXPECT_EQ(After([&] { vector->DrawOnTop(); }, -2.4f, 0.1f), kWhite);

    // Seen along its direction: no head.
    Clear();
    b->SetPosition(-3.0f, 0.0f, 5.0f);
    vector->DrawOnTop();
    for (int x = 0; x < kSize; x += 4)
        for (int y = 0; y < kSize; y += 4)
            ASSERT_EQ(Pixel(x, y), kWhite);
}

TEST_F(CellDrawGlTest, LitTubes) {
    BuildBaseLists();
    CGVertex *a = AddPoint(-1.0f, 0.0f, 0.0f), *b = AddPoint(1.0f, 0.0f, 0.0f);
    CGLine* segment = AddLine(a->m_id, b->m_id);
    segment->m_style = 4;
    segment->m_size = 5.0f; // radius 0.3
    EXPECT_EQ(After([&] { segment->DrawVisible(); }), kWhite);
    EXPECT_EQ(After([&] { segment->DrawLit(); }, 0, 0.2f), Opaque(g_colorObject));
    EXPECT_EQ(At(1.5f, 0), kWhite);

    // A short line becomes a tube of length 60 centred on its midpoint: it crosses the view.
    CGLine* line = AddLine(a->m_id, b->m_id, CGLine::kLine);
    line->m_style = 4;
    EXPECT_EQ(After([&] { line->DrawLit(); }, -3.8f, 0), Opaque(g_colorObject));
    EXPECT_EQ(At(3.8f, 0), Opaque(g_colorObject));

    // A vector ends in a cone.
    Clear();
    b->SetPosition(3.0f, 0.0f, 0.0f);
    CGLine* vector = AddLine(a->m_id, b->m_id, CGLine::kVector);
    vector->m_style = 4;
    vector->m_size = 2.0f; // shaft radius 0.12, cone 0.312
    vector->DrawLit();
    EXPECT_EQ(At(1.2f, 0.15f), Opaque(g_colorObject)); // in the cone near its base
    EXPECT_EQ(At(0.0f, 0.15f), kWhite);                // beside the thinner shaft
    EXPECT_EQ(At(0.0f, 0.0f), Opaque(g_colorObject));

    // With coinciding ends nothing is drawn.
    b->SetPosition(-1.0f, 0.0f, 0.0f);
    EXPECT_EQ(After([&] { line->DrawLit(); }, -3.8f, 0), kWhite);
}

TEST_F(CellDrawGlTest, LabelsUseTheRegisteredRenderers) {
    static std::vector<CString> drawn;
    static float where[3];
    static float color[4];
    drawn.clear();
    GLuint glyph = glGenLists(1);
    glNewList(glyph, GL_COMPILE);
    glBegin(GL_POINTS);
    glVertex3f(-3.0f, -3.0f, 0.0f);
    glEnd();
    glEndList();
    static GLuint s_glyph = glyph;
    s_glyph = glyph;
    HxSetLabelRenderers(
        [](const CString& text) {
            drawn.push_back(u"lists:" + text);
            return CString(std::u16string(size_t(text.GetLength()), char16_t(s_glyph)));
        },
        [](const CString& text, float x, float y, float z, const float* rgba) {
            drawn.push_back(text);
            where[0] = x;
            where[1] = y;
            where[2] = z;
            std::copy(rgba, rgba + 4, color);
        });
    CGVertex* a = AddPoint(1.0f, 2.0f, 0.0f);
    a->m_labelColor = CRgba{0, 51, 255, 255};
    a->DrawOnTop();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0], u"A");
    EXPECT_EQ(where[0], a->m_labelPos[0]);
    EXPECT_EQ(where[2], a->m_labelPos[2]);
    EXPECT_EQ(std::vector<float>(color, color + 4), (std::vector<float>{0.0f, 0.2f, 1.0f, 1.0f}));
    // Without the cells' colours a label takes the current one.
    g_useObjectColors = FALSE;
    glColor4f(0.5f, 0.25f, 0.0f, 1.0f);
    a->DrawOnTop();
    EXPECT_EQ(std::vector<float>(color, color + 4), (std::vector<float>{0.5f, 0.25f, 0.0f, 1.0f}));
    g_useObjectColors = TRUE;
    drawn.pop_back();

    a->m_extB1 = 1;
    a->m_labelColor = CRgba{0, 200, 0, 255};
    glPointSize(3.0f);
    a->DrawOnTop();
    a->DrawOnTop(); // the glyph string is built once
    EXPECT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1], u"lists:A");
    EXPECT_FALSE(a->m_flag2);
    EXPECT_EQ(a->m_text2.GetLength(), 1);
    EXPECT_EQ(At(-3.0f, -3.0f), (CRgba{0, 200, 0, 255}));
    glDeleteLists(glyph, 1);
}

TEST_F(CellDrawGlTest, PickNamesOfPointsLabelsAndLines) {
    g_labelPickAxisA[1] = 0.5f;
    g_labelPickAxisB[0] = 0.5f;
    CGVertex *a = AddPoint(0.0f, 0.0f, 0.0f), *b = AddPoint(2.0f, 0.0f, 0.0f);
    CGLine* line = AddLine(a->m_id, b->m_id);
    const GLuint idA = a->m_id;
    const GLuint idLine = line->m_id;
    using Records = std::vector<std::vector<GLuint>>;

    EXPECT_TRUE(Pick([&] { a->DrawForPick(1); }).empty());
    EXPECT_EQ(Pick([&] { a->DrawForPick(2); }), (Records{{1, idA}}));
    EXPECT_EQ(Pick([&] { a->DrawForPick(3); }), (Records{{1, idA}, {3, idA}}));
    EXPECT_EQ(Pick([&] { a->DrawForPick(0); }), (Records{{3, idA}}));
    a->m_labelHidden = 1;
    EXPECT_TRUE(Pick([&] { a->DrawForPick(0); }).empty());

    EXPECT_TRUE(Pick([&] { line->DrawForPick(0); }).empty());
    EXPECT_TRUE(Pick([&] { line->DrawForPick(1); }).empty());
    EXPECT_EQ(Pick([&] { line->DrawForPick(2); }), (Records{{2, idLine}}));
    line->m_labelHidden = 0;
    EXPECT_EQ(Pick([&] { line->DrawForPick(3); }), (Records{{2, idLine}, {3, idLine}}));
    line->m_hidden = 1;
    EXPECT_TRUE(Pick([&] { line->DrawForPick(3); }).empty());

    // The page's point pass: points only, mode 0 (their labels).
    b->m_labelHidden = 1;
    a->m_labelHidden = 0;
    EXPECT_EQ(Pick([&] { m_page->DrawPickNamesVertices(); }), (Records{{3, idA}}));
}
