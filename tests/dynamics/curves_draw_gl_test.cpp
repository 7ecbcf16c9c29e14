// Curves and loci drawn into an offscreen framebuffer: the passes of the four draw levels, the
// selection colour, the break between samples too far apart, the gaps of a locus, nothing for an
// invalid or hidden path, and the pick names.
#include "dynamics/curves.h"
#include "model/arc.h"
#include "model/free_points.h"
#include "support/gl_page_fixture.h"

namespace {

// The point its parent stands at, existing only while that is not below the x axis.
class CUpperPoint : public CGVertex {
public:
    CUpperPoint(WORD id, DWORD vertex, WORD parent) {
        m_id = id;
        m_vertexIndex = vertex;
        AddParent(parent);
        Recompute();
    }
    void Recompute() override {
        const auto* p = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0]));
        m_valid = p && p->m_valid && p->m_y >= 0.0f;
        if (m_valid)
            SetPosition(p->m_x, p->m_y, p->m_z);
    }
};

class CurvesDrawGlTest : public GlPageFixture {
protected:
    // y = 0 for x from -3 to 3, drawn in its own colour.
    CGCurve* AddAxis(BYTE level, float step = 0.5f) {
        CList<WORD, WORD> none;
        auto* curve = Insert(new CGCurve(NextId(), none, u"t", u"0", u"0", u"-3", u"3", step, 0));
        curve->m_style = level;
        curve->m_color = kOwn;
        curve->m_labelHidden = 1;
        return curve;
    }
    bool Lit(float x, float y, const CRgba& color) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (Pixel(int((x + 4.0f) * 8.0f), int((y + 4.0f) * 8.0f) + dy) == color)
                return true;
        }
        return false;
    }
    bool AllWhite() {
        for (int x = 0; x < kSize; ++x)
            for (int y = 0; y < kSize; ++y)
                if (Pixel(x, y) != kWhite)
                    return false;
        return true;
    }
    void DrawPass(CGCell& cell, int pass) {
        Clear();
        switch (pass) {
        case 0:
            cell.DrawVisible();
            break;
        case 1:
            cell.DrawHidden();
            break;
        default:
            cell.DrawOnTop();
            break;
        }
    }
    static constexpr CRgba kOwn{0, 128, 0, 255};
};

TEST_F(CurvesDrawGlTest, EachLevelDrawsInItsPasses) {
    // Passes: visible, hidden, on top.
    const bool drawn[4][3] = {
        {false, false, true}, {false, false, true}, {true, false, false}, {true, true, false}};
    for (BYTE level = 0; level < 4; ++level) {
        CGCurve* curve = AddAxis(level);
        for (int pass = 0; pass < 3; ++pass) {
            DrawPass(*curve, pass);
            EXPECT_EQ(Lit(1.3f, 0, kOwn), drawn[level][pass]) << int(level) << " " << pass;
        }
        m_page->m_cells.RemoveKey(curve->m_id);
        delete curve;
    }
}

TEST_F(CurvesDrawGlTest, DashedOnTopAndSelectedInTheSelectionColour) {
    CGCurve* curve = AddAxis(kCurveOnTopDashed);
    DrawPass(*curve, 2);
    int lit = 0, dark = 0;
    for (int x = 12; x < 52; ++x)
        (Pixel(x, 32) == kOwn ? lit : dark)++;
    EXPECT_GT(lit, 0);
    EXPECT_GT(dark, 0) << "a dashed line has holes";
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    curve->m_selected = true;
    curve->m_style = kCurveAuto;
    DrawPass(*curve, 0);
    EXPECT_FALSE(Lit(1.3f, 0, kOwn)) << "a selected curve is left to the top pass";
    DrawPass(*curve, 2);
    EXPECT_TRUE(Lit(1.3f, 0, Opaque(g_colorSelection)));
}

TEST_F(CurvesDrawGlTest, SamplesAtLeastTheBreakDistanceApartAreNotJoined) {
    CGCurve* curve = AddAxis(kCurveOnTop, 2.0f); // samples at -3, -1, 1, 3
    curve->SetBreakDistance(2.5f);
    DrawPass(*curve, 2);
    EXPECT_TRUE(Lit(0, 0, kOwn));
    curve->SetBreakDistance(1.5f);
    DrawPass(*curve, 2);
    EXPECT_FALSE(Lit(0, 0, kOwn));
    EXPECT_FALSE(Lit(-2, 0, kOwn));
    // A break of nothing means 4.
    curve->SetBreakDistance(0.0f);
    DrawPass(*curve, 2);
    EXPECT_TRUE(Lit(0, 0, kOwn));
}

TEST_F(CurvesDrawGlTest, InvalidOrHiddenPathsAreNotDrawnOrPicked) {
    CGCurve* curve = AddAxis(kCurveAuto);
    CList<WORD, WORD> none;
    auto* empty = Insert(new CGCurve(NextId(), none, u"t", u"0", u"0", u"3", u"-3", 0.5f, 0));
    empty->m_style = kCurveOnTop;
    for (int pass = 0; pass < 3; ++pass) {
        DrawPass(*empty, pass);
        EXPECT_TRUE(AllWhite()) << pass;
    }
    EXPECT_TRUE(Pick([&] { empty->DrawForPick(3); }).empty());
    // Picked at pass level 3 and above, as a circle-like object with its id.
    EXPECT_TRUE(Pick([&] { curve->DrawForPick(2); }).empty());
    const auto records = Pick([&] { curve->DrawForPick(3); });
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], (std::vector<GLuint>{kPickClassCircle, curve->m_id}));
    curve->m_hidden = 1;
    DrawPass(*curve, 0);
    EXPECT_TRUE(AllWhite());
}

TEST_F(CurvesDrawGlTest, ALocusLeavesItsGapsOpen) {
    // The driver on the circle of radius 2; the traced point is the driver itself while it is not
    // below the x axis: the upper half circle, and nothing (not even a chord) below.
    auto* circle = Insert(new CGArc(NextId(), 0, 0, 0, 2, 0, 0, 0, 2, 0, 0.0f, 6.2831855f, CGArc::kCircle));
    auto* driver = Insert(new CGVerFreeInCircle(NextId(), NextVertex(), u"D", circle->m_id, 0.5f));
    auto* traced = Insert(new CUpperPoint(NextId(), NextVertex(), driver->m_id));
    auto* locus = Insert(new CGLocus(NextId(), driver->m_id, traced->m_id, 0.0f, 6.2831f));
    locus->m_color = kOwn;
    locus->m_labelHidden = 1;
    locus->SetBreakDistance(10.0f); // the ends of the gap are 4 apart: only the gap keeps them apart
    ASSERT_TRUE(locus->m_valid);
    DrawPass(*locus, 2);
    EXPECT_TRUE(Lit(0, 1.95f, kOwn));
    EXPECT_FALSE(Lit(0, -1.95f, kOwn));
    EXPECT_FALSE(Lit(0, 0, kOwn));
    locus->m_hidden = 1;
    DrawPass(*locus, 2);
    EXPECT_TRUE(AllWhite());
}

} // namespace
