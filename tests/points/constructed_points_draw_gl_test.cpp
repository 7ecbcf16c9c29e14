// A constructed point drawn and picked by the page's passes only while it exists, where it was computed.
#include "points/intersection_points.h"

#include "support/gl_page_fixture.h"
#include "view/view_globals.h"

namespace {

class ConstructedPointsDrawGlTest : public GlPageFixture {
protected:
    void SetUp() override {
        GlPageFixture::SetUp();
        g_coordDisplayFlags = 0;
    }
    // A line whose points draw no figure and no label.
    CGLine* Line(float ax, float ay, float bx, float by) {
        CGVertex* a = AddPoint(ax, ay, 0);
        CGVertex* b = AddPoint(bx, by, 0);
        for (CGVertex* p : {a, b}) {
            p->m_style = 2;
            p->m_labelHidden = 1;
        }
        CGLine* line = AddLine(a->m_id, b->m_id);
        line->m_labelHidden = 1;
        return line;
    }
    template <class T, class... Args> T* Add(Args... args) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        T* p = Insert(new T(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), args...));
        p->m_labelHidden = 1;
        return p;
    }
    void DrawPage() {
        Clear();
        m_page->Draw();
    }
    // The hit records of the whole view that name the cell.
    std::vector<std::vector<GLuint>> HitsOf(WORD id) {
        std::vector<std::vector<GLuint>> hits = Pick([&] { m_page->DrawPickNames(2); });
        std::erase_if(hits, [id](const std::vector<GLuint>& h) { return h.size() < 2 || h[1] != id; });
        return hits;
    }
};

} // namespace

TEST_F(ConstructedPointsDrawGlTest, IntersectionPointIsDrawnOnlyWhileItExists) {
    CGLine* ab = Line(-3, 0, 3, 0);
    CGLine* cd = Line(1, -3, 1, 3);
    auto* x = Add<CGVerIntersection>(ab->m_id, cd->m_id);
    ASSERT_TRUE(x->m_valid);
    DrawPage();
    EXPECT_EQ(At(1, 0), Opaque(g_colorPoint));
    EXPECT_EQ(HitsOf(x->m_id), (std::vector<std::vector<GLuint>>{{kPickClassPoint, x->m_id}}));

    // CD no longer reaches AB: the lines are drawn, the point is not, and nothing picks it.
    CGVertex* c = cd->GetEnd(0);
    MovePoint(c, 1, 1, 0);
    ASSERT_FALSE(x->m_valid);
    DrawPage();
    EXPECT_NE(At(1, 0), Opaque(g_colorPoint));
    EXPECT_NE(At(1, 0), kWhite); // AB is still there
    EXPECT_TRUE(HitsOf(x->m_id).empty());

    // Moved across AB further on: the point is back, where the lines now meet.
    MovePoint(c, 2, -3, 0);
    MovePoint(cd->GetEnd(1), 2, 3, 0);
    ASSERT_TRUE(x->m_valid);
    DrawPage();
    EXPECT_EQ(At(2, 0), Opaque(g_colorPoint));
    EXPECT_NE(At(1, 0), Opaque(g_colorPoint));
    EXPECT_EQ(HitsOf(x->m_id).size(), 1u);
}
