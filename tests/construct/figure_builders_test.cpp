// The page's figure builders on figures made in code: the prism, pyramid and frustum on triangles,
// squares and pentagons (cells, order, names, parents, positions, colours, the figure following its
// points), the fixed round figures and their frames, the division points, and what each does when
// the ids or the vertex array give out or its input is no figure.
#include "construct_fixture.h"

#include "model/free_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "solids/revolution.h"
#include "view/view_colors.h"

#include <array>
#include <cmath>

namespace {

class FigureBuilders : public ConstructTest {
protected:
    // A base face on points at the given positions, named automatically ("A", "B", ...).
    struct CBase {
        std::vector<CGVertex*> corners;
        CGFace* face;
    };
    CBase Base(std::initializer_list<std::array<float, 3>> corners) {
        CBase base;
        CList<WORD, WORD> ids;
        for (const auto& c : corners) {
            base.corners.push_back(AddPoint(c[0], c[1], c[2]));
            ids.AddTail(base.corners.back()->m_id);
        }
        base.face = Insert(new CGFace(NextId(), ids, RGB(1, 2, 3)));
        return base;
    }
    CBase Triangle() { return Base({{0, 0, 0}, {4, 0, 0}, {0, 3, 0}}); }
    CBase Square() { return Base({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}); }
    // The colours the next faces take: the automatic sequence from where it stands.
    static std::vector<COLORREF> NextColors(int n) {
        const int h = g_autoColorHueIndex, l = g_autoColorLightnessIndex, s = g_autoColorSaturationIndex;
        std::vector<COLORREF> colors;
        for (int i = 0; i < n; ++i)
            colors.push_back(NextAutoColor());
        g_autoColorHueIndex = h;
        g_autoColorLightnessIndex = l;
        g_autoColorSaturationIndex = s;
        return colors;
    }
    static double Dist(const CGVertex& a, const CGVertex& b) {
        return std::hypot(double(a.m_x - b.m_x), double(a.m_y - b.m_y), double(a.m_z - b.m_z));
    }
    // The page cannot give a single vertex index more, and the array cannot grow.
    void ExhaustVertexArray() {
        g_vertexArrayCapacity = int(m_page->m_nextVertex);
        HxSetVertexArrayGrowthFails(true);
    }
};

TEST_F(FigureBuilders, APrismOnATriangleRenamesItsTopVertexAndMakesTwelveCells) {
    const CBase base = Triangle();
    CGVertex* t = AddPoint(1, 1, 5);
    EXPECT_EQ(t->m_name, CString(u"D"));
    t->m_flag2 = false;
    const std::vector<COLORREF> colors = NextColors(4);
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildPrism(t->m_id, base.face->m_id), 12);
    EXPECT_EQ(m_page->m_nextId, first + 12);
    EXPECT_EQ(t->m_name, CString(u"A1"));
    EXPECT_TRUE(t->m_flag2) << "the label text is built again";
    EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGVerTranslate", "CGLine", "CGLine", "CGFace",
                                                            "CGVerTranslate", "CGLine", "CGLine", "CGFace",
                                                            "CGLine", "CGLine", "CGFace", "CGFace"}));
    const WORD a = base.corners[0]->m_id, b = base.corners[1]->m_id, c = base.corners[2]->m_id;
    auto* b1 = Cell<CGVerTranslate>(first);
    auto* c1 = Cell<CGVerTranslate>(WORD(first + 4));
    ASSERT_TRUE(b1 && c1);
    EXPECT_EQ(b1->m_name, CString(u"B1"));
    EXPECT_EQ(c1->m_name, CString(u"C1"));
    EXPECT_EQ(Parents(b1), (std::vector<WORD>{b, a, t->m_id}));
    ExpectValidAt(*b1, 5, 1, 5);
    ExpectValidAt(*c1, 1, 4, 5);
    // Top edge, lateral edge and lateral face of each step, then the closing ones and the top.
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 1))), (std::vector<WORD>{t->m_id, b1->m_id}));
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 2))), (std::vector<WORD>{b, b1->m_id}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 3))), (std::vector<WORD>{a, b, b1->m_id, t->m_id}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 7))), (std::vector<WORD>{b, c, c1->m_id, b1->m_id}));
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 8))), (std::vector<WORD>{c1->m_id, t->m_id}));
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 9))), (std::vector<WORD>{a, t->m_id}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 10))), (std::vector<WORD>{c, a, t->m_id, c1->m_id}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 11))), (std::vector<WORD>{t->m_id, b1->m_id, c1->m_id}));
    // The faces take the next colours of the sequence in the order made.
    const WORD faces[4] = {WORD(first + 3), WORD(first + 7), WORD(first + 10), WORD(first + 11)};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Cell<CGFace>(faces[i])->m_color.ToColorRef(), colors[size_t(i)]) << i;
    // No undo step: that is the caller's.
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);

    // The top follows the top vertex and the base.
    MovePoint(t, 0, 0, 8);
    ExpectValidAt(*b1, 4, 0, 8);
    MovePoint(base.corners[2], 0, 6, 0);
    ExpectValidAt(*c1, 0, 6, 8);
}

TEST_F(FigureBuilders, APrismOnAPentagonOccupiesTheNextTwentyIds) {
    const CBase base = Base({{0, 0, 0}, {4, 0, 0}, {5, 3, 0}, {2, 5, 0}, {-1, 3, 0}});
    CGVertex* t = AddPoint(0, 0, 6);
    m_page->m_nextId = 300;
    ASSERT_EQ(m_page->BuildPrism(t->m_id, base.face->m_id), 20);
    EXPECT_EQ(m_page->m_nextId, 320);
    for (WORD id = 300; id < 320; ++id)
        EXPECT_NE(m_page->FindCell(id), nullptr) << id;
    auto* top = Cell<CGFace>(319);
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(top->m_parents.GetSize(), 5);
    EXPECT_EQ(top->m_parents[0], t->m_id);
    for (int i = 1; i < 5; ++i) {
        auto* corner = Cell<CGVertex>(top->m_parents[i]);
        EXPECT_EQ(corner->m_name, base.corners[size_t(i)]->m_name + u"1");
        EXPECT_FLOAT_EQ(corner->m_z, 6.0f);
    }
}

TEST_F(FigureBuilders, APyramidMakesItsEdgesAndFacesWithoutAskingForPoints) {
    const CBase base = Square();
    CGVertex* v = AddPoint(2, 2, 6);
    // Not a single vertex index is left: the pyramid needs none.
    ExhaustVertexArray();
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildPyramid(v->m_id, base.face->m_id), 8);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGLine", "CGFace", "CGLine", "CGFace", "CGLine",
                                                            "CGFace", "CGLine", "CGFace"}));
    const auto& a = base.corners;
    EXPECT_EQ(Parents(Cell<CGLine>(first)), (std::vector<WORD>{v->m_id, a[1]->m_id}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 1))), (std::vector<WORD>{v->m_id, a[0]->m_id, a[1]->m_id}));
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 6))), (std::vector<WORD>{v->m_id, a[0]->m_id}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 7))), (std::vector<WORD>{v->m_id, a[3]->m_id, a[0]->m_id}));
    EXPECT_EQ(v->m_name, CString(u"E")) << "the apex keeps its name";
}

TEST_F(FigureBuilders, AFrustumCutsThePyramidHalfwayAndFollowsItsDraggedCut) {
    const CBase base = Square();
    CGVertex* v = AddPoint(2, 2, 8);
    const WORD first = m_page->m_nextId;
    // 4n + 2 cells: the hidden line, then the top vertices with their edges and faces, the top.
    ASSERT_EQ(m_page->BuildFrustum(v->m_id, base.face->m_id), 18);
    std::vector<std::string> expected = {"CGLine", "CGVerFreeInLine"};
    for (int i = 1; i < 4; ++i)
        expected.insert(expected.end(), {"CGVerScaleP", "CGLine", "CGLine", "CGFace"});
    expected.insert(expected.end(), {"CGLine", "CGLine", "CGFace", "CGFace"});
    EXPECT_EQ(ClassesFrom(first), expected);
    // The hidden line from the apex to the first corner carries the draggable cut.
    auto* lateral = Cell<CGLine>(first);
    ASSERT_NE(lateral, nullptr);
    EXPECT_NE(lateral->m_hidden, 0);
    EXPECT_EQ(Parents(lateral), (std::vector<WORD>{v->m_id, base.corners[0]->m_id}));
    auto* b0 = Cell<CGVerFreeInLine>(WORD(first + 1));
    ASSERT_NE(b0, nullptr);
    EXPECT_EQ(b0->m_name, CString(u"A1"));
    ExpectValidAt(*b0, 1, 1, 4);
    auto* b1 = Cell<CGVerScaleP>(WORD(first + 2));
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->m_name, CString(u"B1"));
    EXPECT_EQ(Parents(b1),
              (std::vector<WORD>{base.corners[1]->m_id, v->m_id, v->m_id, b0->m_id, base.corners[0]->m_id}));
    ExpectValidAt(*b1, 3, 1, 4);
    std::vector<CGVertex*> top = {b0, b1};
    for (WORD id = WORD(first + 3); id < m_page->m_nextId; ++id)
        if (auto* p = Cell<CGVerScaleP>(id))
            top.push_back(p);
    ASSERT_EQ(top.size(), 4u);
    ExpectValidAt(*top[3], 1, 3, 4);
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(m_page->m_nextId - 1))),
              (std::vector<WORD>{b0->m_id, b1->m_id, top[2]->m_id, top[3]->m_id}));

    // Dragged towards the apex the top shrinks, and stays parallel to the base.
    b0->m_param1 = 0.25f;
    b0->SyncVertex();
    Changed(b0);
    for (CGVertex* p : top)
        EXPECT_NEAR(p->m_z, 6.0f, 1e-5);
    EXPECT_NEAR(Dist(*top[0], *top[1]), 1.0, 1e-5);
}

TEST_F(FigureBuilders, WithoutRoomTheBuildersMakeNothingAndRenameNothing) {
    const CBase base = Triangle();
    CGVertex* t = AddPoint(0, 0, 5);
    CGLine* line = AddLine(base.corners[0]->m_id, base.corners[1]->m_id);
    ExhaustVertexArray();
    const PageSnapshot before = TakeSnapshot(*m_page);
    const int h = g_autoColorHueIndex;
    EXPECT_EQ(m_page->BuildPrism(t->m_id, base.face->m_id), 0);
    EXPECT_EQ(m_page->BuildFrustum(t->m_id, base.face->m_id), 0);
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(TakeSnapshot(*m_page), before);
    EXPECT_EQ(t->m_name, CString(u"D"));
    EXPECT_EQ(g_autoColorHueIndex, h) << "no colour taken";
    HxSetVertexArrayGrowthFails(false);

    // Ids run out (five left for six cells): refused with the page's message.
    m_messages.clear();
    m_page->m_nextId = 0xFFFE - 4;
    EXPECT_EQ(m_page->BuildPyramid(t->m_id, base.face->m_id), 0);
    EXPECT_EQ(m_messages, std::vector<CString>{CString(g_pageFullMessage)});

    // No face, no point, a face of too few corners: nothing.
    m_page->m_nextId = 100;
    EXPECT_EQ(m_page->BuildPrism(t->m_id, line->m_id), 0);
    EXPECT_EQ(m_page->BuildPyramid(line->m_id, base.face->m_id), 0);
    EXPECT_EQ(m_page->BuildFrustum(t->m_id, 999), 0);
    base.face->m_parents.SetSize(2);
    EXPECT_EQ(m_page->BuildPyramid(t->m_id, base.face->m_id), 0);
    EXPECT_EQ(m_page->m_nextId, 100);
}

// ---------------------------------------------------------------------------------------------
// Round figures

class RoundBuilders : public FigureBuilders {
protected:
    static void ExpectVector(const float v[3], float x, float y, float z) {
        EXPECT_NEAR(v[0], x, 1e-5);
        EXPECT_NEAR(v[1], y, 1e-5);
        EXPECT_NEAR(v[2], z, 1e-5);
    }
};

TEST_F(RoundBuilders, ACylinderStandsAboutItsCentreWithItsTwoCircles) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticCylinder(0, 0, 0, 8, 10, 0, 0, 1), 5);
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVertex", "CGVertex", "CGArc", "CGArc", "CGCylinder"}));
    ExpectNear(*Cell<CGVertex>(first), 0, 0, -5);
    ExpectNear(*Cell<CGVertex>(WORD(first + 1)), 0, 0, 5);
    EXPECT_EQ(Cell<CGVertex>(first)->m_name, CString(u"A"));
    for (WORD id : {WORD(first + 2), WORD(first + 3)}) {
        auto* circle = Cell<CGArc>(id);
        ExpectVector(circle->m_axisU, 8, 0, 0);
        ExpectVector(circle->m_axisV, 0, 8, 0);
        EXPECT_EQ(circle->m_kind, CGArc::kCircle);
        EXPECT_TRUE(circle->m_parents.IsEmpty());
    }
    EXPECT_EQ(Cell<CGArc>(WORD(first + 2))->m_name, CString(u"c1"));
    ExpectVector(Cell<CGArc>(WORD(first + 3))->m_center, 0, 0, 5);
    auto* cylinder = Cell<CGCylinder>(WORD(first + 4));
    ExpectVector(cylinder->m_center, 0, 0, -5);
    EXPECT_FLOAT_EQ(cylinder->m_radius, 8);
    EXPECT_FLOAT_EQ(cylinder->m_height, 10);
    ExpectVector(cylinder->m_axis, 0, 0, 1);
}

TEST_F(RoundBuilders, DownwardsTheSolidTurnsOverButKeepsTheFrameOfZ) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticCylinder(1, 2, 3, 4, 10, 0, 0, -1), 5);
    ExpectNear(*Cell<CGVertex>(first), 1, 2, 8);
    ExpectNear(*Cell<CGVertex>(WORD(first + 1)), 1, 2, -2);
    ExpectVector(Cell<CGArc>(WORD(first + 2))->m_axisU, 4, 0, 0);
    ExpectVector(Cell<CGArc>(WORD(first + 2))->m_axisV, 0, 4, 0);
    ExpectVector(Cell<CGCylinder>(WORD(first + 4))->m_axis, 0, 0, -1);

    // An axis too short to turn stands along +z; the length of the axis does not matter.
    const WORD next = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticCone(0, 0, 0, 2, 6, 0, 0, 0.0005f), 4);
    EXPECT_EQ(ClassesFrom(next), (std::vector<std::string>{"CGVertex", "CGVertex", "CGArc", "CGCone"}));
    ExpectNear(*Cell<CGVertex>(next), 0, 0, -3);
    ExpectNear(*Cell<CGVertex>(WORD(next + 1)), 0, 0, 3);
    ExpectVector(Cell<CGCone>(WORD(next + 3))->m_axis, 0, 0, 1);
}

TEST_F(RoundBuilders, CircleFramesAlongEveryAxis) {
    const struct {
        float ax, ay, az;
        float u[3], v[3];
    } rows[] = {
        {1, 0, 0, {0, 2, 0}, {0, 0, 2}},
        {0, 3, 0, {-2, 0, 0}, {0, 0, 2}},
        {0, 0, 1, {2, 0, 0}, {0, 2, 0}},
        {0, 0, -7, {2, 0, 0}, {0, 2, 0}},
        // Slanted: u horizontal, v square to u and to the axis, rising.
        {1, 0, 1, {0, 2, 0}, {-1.4142135f, 0, 1.4142135f}},
    };
    for (const auto& row : rows) {
        const WORD first = m_page->m_nextId;
        ASSERT_EQ(m_page->BuildStaticCircle(5, 6, 7, 2, row.ax, row.ay, row.az), 2);
        EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGVertex", "CGArc"}));
        ExpectNear(*Cell<CGVertex>(first), 5, 6, 7);
        auto* circle = Cell<CGArc>(WORD(first + 1));
        ExpectVector(circle->m_center, 5, 6, 7);
        ExpectVector(circle->m_axisU, row.u[0], row.u[1], row.u[2]);
        ExpectVector(circle->m_axisV, row.v[0], row.v[1], row.v[2]);
    }
}

TEST_F(RoundBuilders, AFrustumsTopCircleIsTheRatioOfItsBase) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticFrustum(0, 0, 2, 6, 4, 0.5f, 1, 0, 0), 5);
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVertex", "CGVertex", "CGArc", "CGArc", "CGFrustum"}));
    ExpectNear(*Cell<CGVertex>(first), -2, 0, 2);
    ExpectNear(*Cell<CGVertex>(WORD(first + 1)), 2, 0, 2);
    EXPECT_FLOAT_EQ(Cell<CGArc>(WORD(first + 2))->m_radius, 6);
    ExpectVector(Cell<CGArc>(WORD(first + 3))->m_axisU, 0, 3, 0);
    ExpectVector(Cell<CGArc>(WORD(first + 3))->m_axisV, 0, 0, 3);
    auto* frustum = Cell<CGFrustum>(WORD(first + 4));
    EXPECT_FLOAT_EQ(frustum->m_topRatio, 0.5f);
    EXPECT_FLOAT_EQ(frustum->m_height, 4);
    ExpectVector(frustum->m_axis, 1, 0, 0);
}

TEST_F(RoundBuilders, ASphereWithItsThreeGreatCircles) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticSphere(1, 1, 1, 3, 0, 0, 1), 5);
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVertex", "CGSphere", "CGArc", "CGArc", "CGArc"}));
    auto* sphere = Cell<CGSphere>(WORD(first + 1));
    EXPECT_FLOAT_EQ(sphere->m_radius, 3);
    ExpectVector(sphere->m_axis, 0, 0, 3);
    // The xy, yz and zx planes, in this order.
    const float frames[3][2][3] = {{{3, 0, 0}, {0, 3, 0}}, {{0, 3, 0}, {0, 0, 3}}, {{0, 0, 3}, {3, 0, 0}}};
    for (int i = 0; i < 3; ++i) {
        auto* circle = Cell<CGArc>(WORD(first + 2 + i));
        ExpectVector(circle->m_center, 1, 1, 1);
        ExpectVector(circle->m_axisU, frames[i][0][0], frames[i][0][1], frames[i][0][2]);
        ExpectVector(circle->m_axisV, frames[i][1][0], frames[i][1][1], frames[i][1][2]);
    }
    // A slanted axis keeps its direction at the sphere's radius; the equator is square to it.
    const WORD next = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticSphere(0, 0, 0, 2, 3, 0, 4), 5);
    ExpectVector(Cell<CGSphere>(WORD(next + 1))->m_axis, 1.2f, 0, 1.6f);
    auto* equator = Cell<CGArc>(WORD(next + 2));
    const float* u = equator->m_axisU;
    EXPECT_NEAR(u[0] * 1.2f + u[2] * 1.6f, 0.0f, 1e-5);
    EXPECT_NEAR(std::hypot(u[0], u[1], u[2]), 2.0f, 1e-5);
}

TEST_F(RoundBuilders, WithoutRoomNoRoundFigureIsMade) {
    ExhaustVertexArray();
    const PageSnapshot before = TakeSnapshot(*m_page);
    EXPECT_EQ(m_page->BuildStaticCircle(0, 0, 0, 1, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticCylinder(0, 0, 0, 1, 1, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticCone(0, 0, 0, 1, 1, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticFrustum(0, 0, 0, 1, 1, 0.5f, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticSphere(0, 0, 0, 1, 0, 0, 1), 0);
    EXPECT_EQ(m_messages.size(), 5u);
    EXPECT_EQ(TakeSnapshot(*m_page), before);
}

// ---------------------------------------------------------------------------------------------
// Division points

TEST_F(FigureBuilders, DivisionPointsLieAtEveryNthAndFollowTheEnds) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(8, 4, 0);
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 4, FALSE), 3);
    for (int k = 1; k <= 3; ++k) {
        auto* p = Cell<CGVerScale>(WORD(first + k - 1));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(Parents(p), (std::vector<WORD>{b->m_id, a->m_id}));
        EXPECT_FLOAT_EQ(p->m_ratio, float(k * (1.0 / 4)));
        ExpectValidAt(*p, 2.0 * k, 1.0 * k, 0);
    }
    EXPECT_EQ(Cell<CGVertex>(first)->m_name, CString(u"C"));
    MovePoint(a, 4, 0, 0);
    ExpectValidAt(*Cell<CGVertex>(first), 5, 1, 0);

    // Only the first; the midpoint; thirds with their ratio stored as the float of k/n.
    const WORD next = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 4, TRUE), 1);
    ExpectValidAt(*Cell<CGVertex>(next), 5, 1, 0);
    ASSERT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 2, FALSE), 1);
    ExpectValidAt(*Cell<CGVertex>(WORD(next + 1)), 6, 2, 0);
    ASSERT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 3, FALSE), 2);
    EXPECT_EQ(Cell<CGVerScale>(WORD(next + 3))->m_ratio, float(2 * (1.0 / 3)));
}

TEST_F(FigureBuilders, DivisionIntoManyPartsGrowsTheArrayForAllItsPoints) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(256, 0, 0);
    g_vertexArrayCapacity = int(m_page->m_nextVertex) + 10;
    ASSERT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 256, FALSE), 255);
    EXPECT_GE(g_vertexArrayCapacity, int(m_page->m_nextVertex));
    ExpectSynced(*Cell<CGVertex>(WORD(m_page->m_nextId - 1)));
    ExpectValidAt(*Cell<CGVertex>(WORD(m_page->m_nextId - 1)), 255, 0, 0);

    // Nothing for fewer than two parts, for ends that are no points, or without room.
    const int cells = CellCount();
    EXPECT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 1, FALSE), 0);
    EXPECT_EQ(m_page->BuildDivisionPoints(a->m_id, 999, 3, FALSE), 0);
    ExhaustVertexArray();
    EXPECT_EQ(m_page->BuildDivisionPoints(a->m_id, b->m_id, 3, TRUE), 0);
    EXPECT_EQ(CellCount(), cells);
}

} // namespace
