// The page's render passes drawn into an offscreen framebuffer: edges dashed behind surfaces and
// solid in front, lit solids before or after the edges, translucent surfaces, the coordinate
// system, the traces and the pick names.
#include "support/render_fixture.h"
#include "view/view_display_lists.h"
#include "view/view_globals.h"

#include <functional>

namespace {

constexpr CRgba kRed{255, 0, 0, 255};

// The drawing area is 400 x 300 pixels, 20 pixels a unit, the origin at pixel (200, 150), x to the
// right and y up, z toward the viewer.
class PageDrawTest : public RenderFixture {
protected:
    // A point that draws no figure and no label, only its entry in the vertex array.
    CGVertex* Corner(float x, float y, float z) {
        CGVertex* p = AddPoint(x, y, z);
        p->m_style = 2;
        p->m_labelHidden = 1;
        return p;
    }
    CGLine* Segment(float x0, float y0, float z0, float x1, float y1, float z1, BYTE style = 0) {
        CGLine* line = AddLine(Corner(x0, y0, z0)->m_id, Corner(x1, y1, z1)->m_id);
        line->m_style = style;
        line->m_labelHidden = 1;
        return line;
    }
    // The square x0 <= x <= x1, |y| <= 3 at depth z.
    CGFace* Square(float x0, float x1, float z, CRgba color, BYTE style) {
        WORD a = Corner(x0, -3, z)->m_id, b = Corner(x1, -3, z)->m_id;
        WORD c = Corner(x1, 3, z)->m_id, d = Corner(x0, 3, z)->m_id;
        return AddFace({a, b, c, d}, color, style);
    }

    // Along the pixel row of y = 0 from x0 to x1 (pixels): true where the line's rows hold ink.
    std::vector<bool> InkRow(int x0, int x1) {
        std::vector<bool> row;
        for (int x = x0; x < x1; ++x)
            row.push_back(InkIn(x, 148, x + 1, 153) > 0);
        return row;
    }
    // Lengths of the runs of equal values in a row, starting with the first value.
    static std::vector<int> Runs(const std::vector<bool>& row) {
        std::vector<int> runs;
        for (size_t i = 0; i < row.size(); ++i) {
            if (i == 0 || row[i] != row[i - 1])
                runs.push_back(0);
            ++runs.back();
        }
        return runs;
    }
    // Pixels whose blue clearly exceeds their red: the segment's own colour (0, 0, 128).
    int LineColouredIn(int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 148; y < 153; ++y) {
                auto p = Pixel(x, y);
                if (p[2] > p[0] + 40)
                    ++n;
            }
        return n;
    }

    std::vector<std::vector<GLuint>> Pick(int x, int y, const std::function<void()>& draw) {
        std::vector<GLuint> buffer(1024);
        glSelectBuffer(GLsizei(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(GLuint(-1));
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix(x, y, 10, 10, g_viewport);
        glMultMatrixd(g_projectionMatrix);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        ApplyViewCamera();
        draw();
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        GLint hits = glRenderMode(GL_RENDER);
        std::vector<std::vector<GLuint>> records;
        size_t at = 0;
        for (GLint i = 0; i < hits; ++i) {
            GLuint count = buffer[at];
            records.emplace_back(buffer.begin() + long(at) + 3, buffer.begin() + long(at) + 3 + count);
            at += 3 + count;
        }
        return records;
    }
};

} // namespace

TEST_F(PageDrawTest, SegmentBehindAFaceIsDashedThereAndSolidInFront) {
    // The segment at z = -1 runs from x = -8 to 8; a hidden-surface face at z = 0 covers x >= 0.
    Segment(-8, 0, -1, 8, 0, -1);
    Square(0, 9, 0, g_colorObject, 0);
    DrawPage();

    EXPECT_EQ(ToPixel(0, 0, 0)[0], 200);
    // In front of nothing: solid from x = -7.5 to -0.5.
    std::vector<bool> front = InkRow(50, 190);
    EXPECT_EQ(std::count(front.begin(), front.end(), false), 0);
    // Behind the face: ten pixels drawn, six left out, again and again (inner runs only).
    const std::vector<bool> behind = InkRow(210, 350);
    std::vector<int> runs = Runs(behind);
    ASSERT_GE(runs.size(), 14u);
    for (size_t i = 1; i + 1 < runs.size(); ++i)
        EXPECT_NEAR(runs[i], behind[0] == (i % 2 == 0) ? 10 : 6, 2) << i;
    // The face itself is invisible: above the segment nothing is drawn.
    EXPECT_EQ(InkIn(210, 170, 370, 200), 0);
}

TEST_F(PageDrawTest, OnlyVisibleStyleLeavesOutWhatIsHidden) {
    Segment(-8, 0, -1, 8, 0, -1, 1);
    Square(0, 9, 0, g_colorObject, 0);
    DrawPage();
    EXPECT_GT(InkIn(50, 148, 190, 153), 130);
    EXPECT_EQ(InkIn(210, 148, 350, 153), 0);
    // A filled face (style 1) hides the segment and shows its colour.
    m_page->m_cells.Find(WORD(m_page->m_nextId - 1))->m_style = 1;
    DrawPage();
    auto p = Pixel(300, 150);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[2], 128) << "the face's colour over the segment";
}

TEST_F(PageDrawTest, LitSolidsComeBeforeOrAfterTheEdges) {
    Segment(-8, 0, -1, 8, 0, -1);
    Square(0, 9, 0, kRed, 3);
    // With the option on, the lit face is drawn before the edges: they come out dashed over it.
    m_page->m_dashedBehindLit = 1;
    DrawPage();
    EXPECT_GT(LineColouredIn(220, 340), 40);
    std::vector<bool> behind = InkRow(220, 340);
    EXPECT_EQ(std::count(behind.begin(), behind.end(), false), 0) << "the face fills the gaps";
    EXPECT_GT(Pixel(300, 200)[0], 100) << "the face is lit red";
    // With it off, the solid comes after the edges and covers them.
    m_page->m_dashedBehindLit = 0;
    DrawPage();
    EXPECT_EQ(LineColouredIn(220, 340), 0);
    EXPECT_GT(Pixel(300, 200)[0], 100);
    // In front of the solid the edge is solid either way.
    EXPECT_GT(LineColouredIn(60, 180), 200);
}

TEST_F(PageDrawTest, TranslucentFaceShowsWhatIsBehindIt) {
    Segment(-8, 0, -1, 8, 0, -1);
    Square(0, 9, 0, CRgba{255, 0, 0, 128}, 4);
    DrawPage();
    auto overLine = Pixel(300, 150);
    auto overWhite = Pixel(300, 200);
    auto bareLine = Pixel(100, 150);
    // The face colours what it covers, and the segment still shows through.
    EXPECT_GT(overWhite[0], 150);
    EXPECT_GT(overWhite[1], 30) << "white shows through";
    EXPECT_LT(overWhite[1], 200);
    EXPECT_GT(overLine[0], 80);
    EXPECT_LT(overLine[1] + 25, overWhite[1]) << "the dark segment shows through the red";
    EXPECT_EQ(bareLine[0], 0);
    EXPECT_EQ(bareLine[2], 128);
    // Not dashed: a translucent surface lays no depth before the edges.
    std::vector<bool> behind = InkRow(210, 350);
    EXPECT_EQ(std::count(behind.begin(), behind.end(), false), 0);
}

TEST_F(PageDrawTest, SpatialAxesInTheirColoursWithArrowHeads) {
    ASSERT_TRUE(HxBuildViewDisplayLists());
    g_coordDisplayFlags = 1;
    g_viewZoom = 0.5f; // the axes end at 6 units on the screen
    DrawPage();
    auto x = ToPixel(5, 0, 0);
    auto y = ToPixel(0, 5, 0);
    EXPECT_GT(Pixel(x[0], x[1])[0], 200);
    EXPECT_LT(Pixel(x[0], x[1])[1], 80);
    EXPECT_GT(Pixel(y[0], y[1])[1], 200);
    EXPECT_LT(Pixel(y[0], y[1])[0], 80);
    // The x head: 2 units long (0.64 wide) at zoom 0.5, so filled beside the axis near its end.
    auto head = ToPixel(11.2, 0.45, 0);
    EXPECT_GT(Pixel(head[0], head[1])[0], 200);
    auto outside = ToPixel(11.2, 1.5, 0);
    EXPECT_FALSE(InkAt(outside[0], outside[1]));
    HxDeleteViewDisplayLists();
}

TEST_F(PageDrawTest, PlaneAxesTickEveryTwoUnitsAtZoomOneAndEveryTenthAtTwenty) {
    g_coordDisplayFlags = 2;
    DrawPage();
    // Ticks rise 0.3 arrow sizes (6 pixels) above the axis.
    for (int x : {-8, -6, -4, -2, 2, 4, 6}) {
        auto p = ToPixel(x, 0.2, 0);
        EXPECT_TRUE(InkNear(p[0], p[1])) << x;
    }
    for (int x : {-3, -1, 1, 3, 5}) {
        auto p = ToPixel(x, 0.2, 0);
        EXPECT_FALSE(InkNear(p[0], p[1])) << x;
    }
    auto yTick = ToPixel(0.2, 4, 0);
    EXPECT_TRUE(InkNear(yTick[0], yTick[1]));
    // At zoom 20 the ticks come every tenth.
    g_viewZoom = 20.0f;
    DrawPage();
    auto tick = ToPixel(0.1, 0.01, 0);
    auto between = ToPixel(0.15, 0.01, 0);
    EXPECT_TRUE(InkNear(tick[0], tick[1]));
    EXPECT_FALSE(InkNear(between[0], between[1]));
}

TEST_F(PageDrawTest, PlaneAxesOutsideTheWindowAreLeftOut) {
    g_coordDisplayFlags = 2;
    g_viewTransY = 10.0f; // the x axis is pushed above the window
    DrawPage();
    // No x axis: the only ink is the y axis, a vertical band around x = 0.
    EXPECT_GT(InkIn(195, 0, 206, m_h), 250);
    EXPECT_EQ(InkIn(0, 0, 185, m_h), 0);
    EXPECT_EQ(InkIn(230, 0, m_w, m_h), 0);
    g_viewTransY = 0.0f;
    g_viewTransX = 12.0f; // and now the y axis leaves to the right
    DrawPage();
    EXPECT_EQ(InkIn(0, 0, m_w, 140), 0);
    EXPECT_EQ(InkIn(0, 160, m_w, m_h), 0);
}

TEST_F(PageDrawTest, TracesDrawOnlyTheTracedCells) {
    CGLine* traced = Segment(-8, 2, 0, 8, 2, 0);
    Segment(-8, -2, 0, 8, -2, 0);
    m_page->m_tracedCells.AddTail(traced->m_id);
    m_page->m_tracedCells.AddTail(WORD(999)); // a cell removed while it was traced
    auto drawTraces = [&] {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        ApplyViewCamera();
        m_page->DrawTraces();
        glPopMatrix();
        glFinish();
    };
    auto inkAt = [&](double x, double y) {
        auto p = ToPixel(x, y, 0);
        return InkNear(p[0], p[1]);
    };
    drawTraces();
    EXPECT_TRUE(inkAt(0, 2));
    EXPECT_FALSE(inkAt(0, -2));
    // Snapshot: every pass, but edges only of the traced cells; points of all cells on top.
    m_page->m_snapshot = 1;
    AddPoint(0, -4, 0)->m_labelHidden = 1;
    drawTraces();
    EXPECT_TRUE(inkAt(0, 2));
    EXPECT_FALSE(inkAt(0, -2));
    EXPECT_TRUE(inkAt(0, -4));
}

TEST_F(PageDrawTest, PickNamesOfEveryCell) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(6, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    ab->m_labelHidden = 1;
    b->m_labelHidden = 1;
    DrawPage(); // sets the kept modelview
    auto at = ToPixel(3, 0, 0);
    auto onLine = Pick(at[0], at[1], [&] { m_page->DrawPickNames(2); });
    ASSERT_EQ(onLine.size(), 1u);
    EXPECT_EQ(onLine[0], (std::vector<GLuint>{kPickClassLine, ab->m_id}));

    // At A in mode 3: the line, the point and its label (four unit lengths away), in map order
    // (ids 3, 2, 1).
    auto pa = ToPixel(0, 0, 0);
    auto hits = Pick(pa[0], pa[1], [&] { m_page->DrawPickNames(3); });
    std::vector<std::vector<GLuint>> want = {
        {kPickClassLine, ab->m_id}, {kPickClassPoint, a->m_id}, {kPickClassLabel, a->m_id}};
    EXPECT_EQ(hits, want);
    // Mode 0: only labels, the points' first, then those of every cell.
    g_labelPickAxisA[0] = 0.5f;
    g_labelPickAxisB[1] = 0.5f;
    auto label = ToPixel(a->m_labelPos[0], a->m_labelPos[1], a->m_labelPos[2]);
    hits = Pick(label[0], label[1], [&] { m_page->DrawPickNames(0); });
    want = {{kPickClassLabel, a->m_id}, {kPickClassLabel, a->m_id}};
    EXPECT_EQ(hits, want);
}
