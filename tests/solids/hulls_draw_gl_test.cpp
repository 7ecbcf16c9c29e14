// Hulls, nets, sections and cuts drawn into a framebuffer and picked: the styles of a hull, a section
// that vanishes beside its hull, a net unfolding and folding as its animation button drives it, and
// the parts of a cut drifting apart.
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/section.h"
#include "solids/split.h"
#include "support/gl_page_fixture.h"

#include "model/face.h"
#include "platform/random.h"

namespace {

constexpr CRgba kHullColor{128, 128, 196, 255};

class HullsDrawTest : public GlPageFixture {
protected:
    CGPolyhedron* AddCube(double h) {
        std::vector<double> p;
        for (int i = 0; i < 8; ++i)
            p.insert(p.end(), {i & 1 ? h : -h, i & 2 ? h : -h, i & 4 ? h : -h});
        auto* hull = new CGPolyhedron;
        hull->m_id = NextId();
        EXPECT_TRUE(BuildConvexHull(p.data(), 8, *hull));
        return Insert(hull);
    }
    int Ink() {
        glFinish();
        int n = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const CRgba p = Pixel(x, y);
                n += p.r + p.g + p.b < 600 ? 1 : 0;
            }
        return n;
    }
};

TEST_F(HullsDrawTest, AHullInItsStyles) {
    CGPolyhedron* hull = AddCube(2.0);
    hull->DrawVisible();
    EXPECT_EQ(At(2.0f, 0.5f), kHullColor);
    EXPECT_EQ(At(0.5f, 0.5f), kWhite) << "style 1 draws edges only";
    Clear();
    hull->m_style = CGPolyhedron::kStyleLit;
    hull->DrawVisible();
    EXPECT_EQ(At(2.0f, 0.5f), kWhite) << "lit and not selected: no edges";
    hull->DrawLit();
    EXPECT_EQ(At(0.5f, 0.5f), kHullColor);
    hull->m_selected = true;
    hull->DrawVisible();
    EXPECT_EQ(At(2.0f, 0.5f), g_colorSelection);
    // Picked under class 11, but not while the page shows three views.
    auto hits = Pick([&] { hull->DrawForPick(3); });
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (std::vector<GLuint>{11, hull->m_id}));
    m_page->m_threeView = 1;
    EXPECT_TRUE(Pick([&] { hull->DrawForPick(3); }).empty());
}

TEST_F(HullsDrawTest, ASectionIsFilledAndVanishesBesideTheHull) {
    CGPolyhedron* hull = AddCube(2.0);
    CList<WORD, WORD> corners;
    corners.AddTail(AddPoint(0, 0, 1)->m_id);
    corners.AddTail(AddPoint(1, 0, 1)->m_id);
    corners.AddTail(AddPoint(0, 1, 1)->m_id);
    auto* face = Insert(new CGFace(NextId(), corners, RGB(0, 0, 0)));
    auto* section = Insert(new CGSection(NextId(), hull->m_id, face->m_id));
    section->DrawFill();
    EXPECT_EQ(At(0.5f, 0.5f), (CRgba{196, 255, 225, 255}));
    section->DrawVisible();
    EXPECT_EQ(At(2.0f, 0.5f), g_colorObject);
    for (int i = 0; i < 3; ++i) {
        auto* p = static_cast<CGVertex*>(face->GetCorner(i));
        MovePoint(p, p->m_x, p->m_y, 7.0f);
    }
    Clear();
    section->DrawFill();
    section->DrawVisible();
    EXPECT_EQ(Ink(), 0);
}

TEST_F(HullsDrawTest, ANetUnfoldsAndFoldsUnderItsButton) {
    CGPolyhedron* hull = AddCube(0.5);
    auto* net =
        Insert(new CGFold(NextId(), hull->m_id, u"展开图", CGFold::kStyleAuto, CGFold::kSpreadByLevel));
    ASSERT_EQ(net->m_deepestLevel, 2);
    // The button runs the parameter from the closed solid down to the flat net and back.
    std::vector<int> areas;
    for (float t : {3.0f, 1.5f, 1.0f, 0.0f, 3.0f}) {
        net->m_param1 = t;
        net->SyncVertex();
        Clear();
        glColor3f(0, 0, 0);
        net->DrawDepth();
        areas.push_back(Ink());
    }
    // Seen from above: one face when closed, all six when flat, the sides half raised between.
    EXPECT_NEAR(areas[0], 64, 12);
    EXPECT_GT(areas[1], areas[0] + 100);
    EXPECT_LT(areas[1], areas[2] - 50);
    EXPECT_NEAR(areas[2], 6 * 64, 40);
    EXPECT_NEAR(areas[3], 6 * 64, 40);
    EXPECT_EQ(areas[4], areas[0]);
    auto hits = Pick([&] { net->DrawForPick(3); });
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0][1], net->m_id);
    // With room on the matrix stack for the net and its base only, the levels below are left out.
    g_modelviewStackDepth = 3;
    net->m_param1 = 0.0f;
    Clear();
    net->DrawDepth();
    EXPECT_NEAR(Ink(), 64, 12);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    net->m_param1 = -0.1f;
    Clear();
    net->DrawDepth();
    EXPECT_EQ(Ink(), 0) << "nothing below 0";
}

TEST_F(HullsDrawTest, TheCutsPartsDriftApart) {
    CGPolyhedron* hull = AddCube(1.0);
    auto* cut = Insert(new CGSplit(NextId(), hull->m_id, 1, 0, 2.0));
    for (float t : {0.03f, 0.06f, 0.999f}) {
        cut->m_param1 = t;
        cut->SyncVertex();
    }
    ASSERT_EQ(cut->m_parts.size(), 2u);
    glColor3f(0, 0, 0);
    cut->DrawDepth();
    EXPECT_NE(At(-0.5f, 0.5f), kWhite) << "the part below x = 0 stays";
    EXPECT_EQ(At(0.5f, 0.5f), kWhite);
    EXPECT_NE(At(2.5f, 0.5f), kWhite) << "the part above moved by the displacement";
    Clear();
    hull->DrawVisible();
    EXPECT_EQ(Ink(), 0) << "the hull is hidden while parts are shown";
}

} // namespace
