// Free points drawn into an offscreen framebuffer: in the free-point colour, and not at all (nor
// picked) while their carrier is invalid.
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "support/gl_page_fixture.h"

namespace {

class FreePointsDrawGlTest : public GlPageFixture {
protected:
    template <class T, class... Args> T* Add(Args... args) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        T* p = Insert(new T(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), args...));
        p->m_labelHidden = 1;
        return p;
    }
    void DrawPoints(std::initializer_list<CGCell*> cells) {
        Clear();
        for (CGCell* c : cells)
            c->DrawOnTop();
    }
};

} // namespace

TEST_F(FreePointsDrawGlTest, FreePointsDrawInTheFreePointColour) {
    CGVertex* fixed = AddPoint(-2, 0, 0);
    fixed->m_labelHidden = 1;
    auto* free = Add<CGVerFreeXyz>(2.0f, 0.0f, 0.0f);
    auto* upright = Add<CGVerFreeUpright>(fixed->m_id, free->m_id);
    upright->m_param2 = 2; // (-2, 2, 0)
    upright->Recompute();
    DrawPoints({fixed, free, upright});
    EXPECT_EQ(At(-2, 0), Opaque(g_colorPoint));
    EXPECT_EQ(At(2, 0), Opaque(g_colorFreePoint));
    EXPECT_EQ(At(-2, 2), Opaque(g_colorFreePoint));
    EXPECT_EQ(At(0, 0), kWhite);
    // The selected look as for every point.
    free->m_selected = true;
    DrawPoints({free});
    EXPECT_EQ(At(2, 0), g_colorSelection);
}

TEST_F(FreePointsDrawGlTest, PointOnAnInvalidCarrierIsNeitherDrawnNorPicked) {
    CGVertex *a = AddPoint(-2, 0, 0), *b = AddPoint(2, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* p = Add<CGVerFreeInLine>(ab->m_id, 0.75f);
    auto hitsOf = [&] { return Pick([&] { p->DrawForPick(2); }); };
    ASSERT_EQ(hitsOf().size(), 1u);
    EXPECT_EQ(hitsOf()[0], (std::vector<GLuint>{kPickClassPoint, p->m_id}));

    b->m_valid = false;
    ab->Recompute();
    p->Recompute();
    EXPECT_FALSE(p->m_valid);
    DrawPoints({p});
    EXPECT_EQ(At(1, 0), kWhite);
    EXPECT_TRUE(hitsOf().empty());

    b->m_valid = true;
    ab->Recompute();
    p->Recompute();
    DrawPoints({p});
    EXPECT_EQ(At(1, 0), Opaque(g_colorFreePoint));
    EXPECT_EQ(hitsOf().size(), 1u);
}
