// Iterations and traces drawn into an offscreen framebuffer: the colour of each depth, the iteration's
// own colour and the selection's, the points of every level on the screen, the value table's grid,
// the pick names of the figures and of the name's handle, and a trace drawn at every step in its own
// colour.
#include "iterate_fixture.h"

#include "model/free_points.h"
#include "support/gl_page_fixture.h"
#include "view/view_colors.h"

#include <cmath>

namespace {

class IterateGlTest : public IterateFixtureT<GlPageFixture> {
protected:
    void SetUp() override {
        IterateFixtureT<GlPageFixture>::SetUp();
        CRecorder::s_readColor = true;
    }
    static CRgba Rgb(double hue) {
        double rgb[3];
        HslToRgb(rgb, hue, 1.0, 0.5);
        return CRgba{HxColorChannel(rgb[0]), HxColorChannel(rgb[1]), HxColorChannel(rgb[2]), 255};
    }
    static bool Near(CRgba a, CRgba b, int tolerance = 2) {
        return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
               std::abs(a.b - b.b) <= tolerance;
    }
};

} // namespace

TEST_F(IterateGlTest, EachDepthHasItsHueAndTheOtherModesOneColour) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    DrawOnlyTheRecorder(it);
    it->m_style = CGIterate::kDepthColors;
    glColor3f(0.1f, 0.2f, 0.3f);
    it->DrawOnTop();
    ASSERT_EQ(log.size(), 3u);
    for (int level = 1; level <= 3; ++level) {
        double rgb[3];
        HslToRgb(rgb, 1.0 - level / 4.0, 1.0, 0.5);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(log[size_t(level - 1)].color[i], rgb[i], 1e-6) << level;
    }
    EXPECT_TRUE(g_useObjectColors);

    // Its own colour at every level; the selection's while selected (the depth colours give way).
    log.clear();
    it->m_style = CGIterate::kOwnColor;
    it->m_color = CRgba{0, 255, 0, 255};
    it->DrawOnTop();
    for (const CRecorded& r : log)
        EXPECT_EQ(r.color[1], 1.0f);
    log.clear();
    it->m_style = CGIterate::kDepthColors;
    it->m_selected = true;
    it->DrawOnTop();
    ASSERT_EQ(log.size(), 3u);
    for (const CRecorded& r : log) {
        EXPECT_EQ(r.color[0], 1.0f);
        EXPECT_EQ(r.color[1], 0.0f);
        EXPECT_EQ(r.color[2], 1.0f);
    }
    EXPECT_TRUE(g_useObjectColors);
    // In a pass where cells must not colour (picking), nothing is coloured and the flag stays off.
    log.clear();
    it->m_selected = false;
    g_useObjectColors = FALSE;
    glColor3f(0.25f, 0.25f, 0.25f);
    it->DrawOnTop();
    for (const CRecorded& r : log)
        EXPECT_EQ(r.color[0], 0.25f);
    EXPECT_FALSE(g_useObjectColors);
    g_useObjectColors = TRUE;
}

TEST_F(IterateGlTest, ThePointsOfEveryLevelAreOnTheScreenInTheirDepthsColours) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    it->m_style = CGIterate::kDepthColors;
    for (CGVertex* p : {d, e, f})
        p->m_size = 4.0f;
    it->DrawOnTop();
    // D of level 1 stands at (0, -1.5), E of level 2 at (-1.5, -0.75).
    EXPECT_TRUE(Near(At(0.0f, -1.5f), Rgb(0.75))) << int(At(0, -1.5f).r) << "," << int(At(0, -1.5f).g);
    EXPECT_TRUE(Near(At(-1.5f, -0.75f), Rgb(0.5)));
    // Nothing where only the construction itself stands (the iteration does not draw level 0).
    EXPECT_EQ(At(0.0f, -3.0f), kWhite);
    EXPECT_EQ(d->m_x, 0.0f);
    EXPECT_EQ(d->m_y, -3.0f);
}

TEST_F(IterateGlTest, TheTableIsDrawnBesideTheNameInTheScreenPlane) {
    BuildTriangle();
    Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested()}, 2);
    DrawOnlyTheRecorder(it);
    // The screen items stand at z = -50: a projection deep enough to show them.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    it->m_labelPos[0] = -3.5f;
    it->m_labelPos[1] = 3.8625f; // the table's top edge on pixel row 60
    it->DrawOnTop();
    EXPECT_EQ(it->TableRows(), 3);
    EXPECT_GT(it->TableRightEdge(), -3.5f + 3 * 8 * g_unitLength);
    EXPECT_EQ(Opaque(Pixel(8, 60)), (CRgba{64, 64, 64, 255})) << "the grid's top line";
    // Solid only: no table.
    Clear();
    it->SetSolidOnly(true);
    it->DrawOnTop();
    EXPECT_EQ(Pixel(8, 60), kWhite);
}

TEST_F(IterateGlTest, PickNamesOfTheFiguresAndOfTheNamesHandle) {
    BuildTriangle();
    Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested()}, 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    it->m_labelPos[0] = -3.0f;
    it->m_labelPos[1] = 3.0f;
    auto records = Pick([&] { it->DrawForPick(3); });
    bool figures = false, handle = false;
    for (const auto& names : records) {
        figures = figures || names == std::vector<GLuint>({7, it->m_id});
        handle = handle || names == std::vector<GLuint>({3, it->m_id});
    }
    EXPECT_TRUE(figures);
    EXPECT_TRUE(handle);
    EXPECT_TRUE(Pick([&] { it->DrawForPick(2); }).empty()) << "only the arrow tool's pick";
    it->m_valid = false;
    EXPECT_TRUE(Pick([&] { it->DrawForPick(3); }).empty());
    // Moved by its handle.
    g_mouseDX = 20;
    g_mouseDY = 10;
    it->MoveLabel();
    EXPECT_FLOAT_EQ(it->m_labelPos[0], -2.0f);
    EXPECT_FLOAT_EQ(it->m_labelPos[1], 2.5f);
}

TEST_F(IterateGlTest, ATraceDrawsThePointAtEveryStepInItsOwnColour) {
    CGArc* circle = Insert(new CGArc(NextId(), 0, 0, 0, 2, 0, 0, 0, 2, 0, 0.0f, 6.2831855f, CGArc::kCircle));
    const WORD id = NextId();
    auto* p = Insert(new CGVerFreeInCircle(id, NextVertex(), CString(u"P"), circle->m_id, 1.0f));
    auto* trace = Insert(new CGTrack(NextId(), {p->m_id}, {1}, 0, 0.0f, 6.2831855f, 1.5707964f,
                                     CGTrack::kSolidMode, CGTrack::kTraceColor));
    trace->DrawOnTop();
    const CRgba green{0, 128, 0, 255};
    EXPECT_EQ(Opaque(At(2.0f, 0.0f)), green);
    EXPECT_EQ(Opaque(At(0.0f, 2.0f)), green);
    EXPECT_EQ(Opaque(At(-2.0f, 0.0f)), green);
    EXPECT_EQ(Opaque(At(0.0f, -2.0f)), green);
    EXPECT_FLOAT_EQ(p->m_param1, 1.0f);
    EXPECT_NEAR(p->m_x, 2.0 * std::cos(1.0), 1e-5);
    EXPECT_TRUE(g_useObjectColors);
    // Picked under class 9.
    auto records = Pick([&] { trace->DrawForPick(3); });
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0], std::vector<GLuint>({9, trace->m_id}));
}
