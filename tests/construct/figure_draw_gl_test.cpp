// The solids of the construct commands drawn into an offscreen framebuffer: the edges of the default
// prism that its hidden-surface faces hide come out dashed, the others solid.
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "model/line.h"
#include "support/render_fixture.h"
#include "view/view_camera.h"

#include <memory>

namespace {

class FigureDrawTest : public RenderFixture {
protected:
    QSize FrameSize() const override { return QSize(600, 500); }
    void SetUp() override {
        RenderFixture::SetUp();
        m_doc = std::make_unique<CHalvixDoc>();
    }
    void TearDown() override {
        m_doc.reset();
        RenderFixture::TearDown();
    }

    struct F3 {
        double x, y, z;
    };
    static F3 Pos(const CGCell* cell) {
        const auto* p = static_cast<const CGVertex*>(cell);
        return {p->m_x, p->m_y, p->m_z};
    }
    static F3 Sub(F3 a, F3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    static double Dot(F3 a, F3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
    static F3 Cross(F3 a, F3 b) {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }

    // Whether the face turns away from the viewer: its normal, taken outward from the solid's centre,
    // points away from the eye (the eye looks along -z of its frame; the view is orthographic).
    bool FacesAway(const CGFace& face, F3 centre) {
        const F3 a = Pos(m_page->FindCell(face.m_parents[0])), b = Pos(m_page->FindCell(face.m_parents[1]));
        const F3 c = Pos(m_page->FindCell(face.m_parents[2]));
        F3 n = Cross(Sub(b, a), Sub(c, a));
        if (Dot(n, Sub(a, centre)) < 0)
            n = {-n.x, -n.y, -n.z};
        // The direction to the eye in world coordinates: the third row of the modelview's rotation.
        const F3 eye = {g_modelviewMatrix[2], g_modelviewMatrix[6], g_modelviewMatrix[10]};
        return Dot(n, eye) < 0;
    }
    // Along the middle of an edge's image, one sample a pixel: true where there is ink.
    std::vector<bool> InkAlong(F3 a, F3 b) {
        const auto pa = ToPixel(a.x, a.y, a.z), pb = ToPixel(b.x, b.y, b.z);
        const double length = std::hypot(double(pb[0] - pa[0]), double(pb[1] - pa[1]));
        std::vector<bool> ink;
        for (double t = 0.2; t <= 0.8; t += 1.0 / length)
            ink.push_back(InkNear(int(pa[0] + t * (pb[0] - pa[0])), int(pa[1] + t * (pb[1] - pa[1]))));
        return ink;
    }

    std::unique_ptr<CHalvixDoc> m_doc;
};

TEST_F(FigureDrawTest, TheDefaultPrismDrawsItsHiddenEdgesDashed) {
    // Seen from above and in front, as the samples show their solids.
    SetViewRotation(-62.0, -25.0);
    m_doc->OnPrism();
    ASSERT_EQ(m_page->m_cells.GetCount(), 20);
    std::vector<CGLine*> edges;
    std::vector<CGFace*> faces;
    F3 centre{0, 0, 0};
    int points = 0;
    for (WORD id : m_page->m_cells.Keys()) {
        CGCell* cell = m_page->FindCell(id);
        cell->m_labelHidden = 1; // labels would ink the edges
        if (auto* line = DYNAMIC_DOWNCAST(CGLine, cell))
            edges.push_back(line);
        else if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell))
            faces.push_back(face);
        else if (cell->IsKindOf(RUNTIME_CLASS(CGVertex))) {
            const F3 p = Pos(cell);
            centre = {centre.x + p.x, centre.y + p.y, centre.z + p.z};
            ++points;
        }
    }
    ASSERT_EQ(edges.size(), 9u);
    ASSERT_EQ(faces.size(), 5u);
    centre = {centre.x / points, centre.y / points, centre.z / points};
    for (CGFace* face : faces)
        EXPECT_EQ(face->m_style, 0) << "hidden-surface faces";
    DrawPage();

    int hidden = 0, visible = 0;
    for (CGLine* edge : edges) {
        // An edge is hidden when both faces that meet at it turn away.
        const WORD a = edge->m_parents[0], b = edge->m_parents[1];
        int away = 0, meeting = 0;
        for (CGFace* face : faces) {
            bool hasA = false, hasB = false;
            for (WORD c : face->m_parents) {
                hasA |= c == a;
                hasB |= c == b;
            }
            if (hasA && hasB) {
                ++meeting;
                away += FacesAway(*face, centre) ? 1 : 0;
            }
        }
        ASSERT_EQ(meeting, 2) << edge->m_name.ToQString().toStdString();
        const std::vector<bool> ink = InkAlong(Pos(m_page->FindCell(a)), Pos(m_page->FindCell(b)));
        ASSERT_GT(ink.size(), 20u);
        const double inked = double(std::count(ink.begin(), ink.end(), true)) / double(ink.size());
        int gaps = 0;
        for (size_t i = 1; i < ink.size(); ++i)
            gaps += (ink[i - 1] && !ink[i]) ? 1 : 0;
        if (away == 2) {
            ++hidden;
            EXPECT_GT(inked, 0.3) << edge->m_name.ToQString().toStdString();
            EXPECT_LT(inked, 0.9) << edge->m_name.ToQString().toStdString();
            EXPECT_GE(gaps, 3) << "dashed: " << edge->m_name.ToQString().toStdString();
        } else {
            ++visible;
            EXPECT_EQ(gaps, 0) << "solid: " << edge->m_name.ToQString().toStdString();
            EXPECT_GT(inked, 0.97) << edge->m_name.ToQString().toStdString();
        }
    }
    EXPECT_GE(hidden, 1);
    EXPECT_GE(visible, 6);
}

} // namespace
