// The positioning-figure command: the fixed copy of a selected hull or section (cells, names,
// positions, colours, one undo step that leaves the source alone), the message for any other selected
// object, the silent refusals, and the dialog's figures: each type's builder with the dialog's
// fields, the typed cube, cancel, and a builder that makes nothing.
#include "construct_fixture.h"

#include "construct/static_figure_commands.h"
#include "construct/static_figure_dialog.h"
#include "model/face.h"
#include "solids/fold.h"
#include "solids/polyhedron.h"
#include "solids/revolution.h"
#include "solids/section.h"
#include "view/view_colors.h"

#include <cmath>

namespace {

using D = CDlgStaticHalvix;

class StaticFigureCommand : public ConstructTest {
protected:
    void TearDown() override {
        HxSetVertexArrayGrowthFails(false);
        ConstructTest::TearDown();
    }
    // A hull of the cube with corners (±half, ±half, ±half).
    CGPolyhedron* AddCubeHull(double half = 2.0) {
        std::vector<double> cube;
        for (int i = 0; i < 8; ++i)
            cube.insert(cube.end(), {i & 1 ? half : -half, i & 2 ? half : -half, i & 4 ? half : -half});
        auto* hull = new CGPolyhedron;
        hull->m_id = NextId();
        EXPECT_TRUE(BuildConvexHull(cube.data(), 8, *hull));
        return Insert(hull);
    }
    // The command with the dialog answered by `script` (its fields as opened kept in m_opened).
    void RunDialog(std::function<void(D&)> script, std::initializer_list<WORD> selection = {}) {
        Script<D>([this, script](D& d) {
            m_opened = {d.m_type,      d.m_length, d.m_width, d.m_height,
                        d.m_sideCount, d.m_radius, d.m_ratio, d.m_axisZ};
            if (script)
                script(d);
        });
        RunOn(ID_CREATE_STATICFIGURE, selection);
    }
    int Made(WORD first) const { return int(m_page->m_nextId) - int(first); }

    // The fields the dialog opened with.
    struct COpened {
        int m_type = -2;
        float m_length = 0, m_width = 0, m_height = 0;
        int m_sideCount = 0;
        float m_radius = 0, m_ratio = 0, m_axisZ = 0;
    } m_opened;
};

// ---------------------------------------------------------------------------------------------
// The dialog

TEST_F(StaticFigureCommand, IsAlwaysEnabledAndOpensTheDialogWithItsDefaults) {
    EXPECT_TRUE(Enabled(ID_CREATE_STATICFIGURE));
    const WORD first = m_page->m_nextId;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunDialog(nullptr);
    EXPECT_EQ(m_dialogCount, 1);
    EXPECT_EQ(m_opened.m_type, 0);
    EXPECT_FLOAT_EQ(m_opened.m_length, 12.0f);
    EXPECT_FLOAT_EQ(m_opened.m_width, 8.0f);
    EXPECT_FLOAT_EQ(m_opened.m_height, 10.0f);
    EXPECT_EQ(m_opened.m_sideCount, 6);
    EXPECT_FLOAT_EQ(m_opened.m_radius, 8.0f);
    EXPECT_FLOAT_EQ(m_opened.m_ratio, 0.5f);
    EXPECT_FLOAT_EQ(m_opened.m_axisZ, 1.0f);
    // The defaults give the 12 x 8 x 10 cuboid about the origin.
    ASSERT_EQ(Made(first), 26);
    ExpectNear(*Cell<CGVertex>(first), -6, -4, -5);
    ExpectNear(*Cell<CGVertex>(WORD(first + 6)), 6, 4, 5);
    EXPECT_EQ(Cell<CGVertex>(WORD(first + 6))->m_name, CString(u"C1"));
    ExpectUndoStep<CCmdAddCells>(u"添加静态图", 26);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    ExpectUndoRedo(before);
}

TEST_F(StaticFigureCommand, EachTypeCallsItsBuilderWithTheDialogsFields) {
    const struct Row {
        int type;
        int count;
        const char* lastClass;
    } rows[] = {
        {D::kCuboid, 26, "CGFace"},
        {D::kPrism, 6 * 5 + 2, "CGFace"},
        {D::kPyramid, 4 * 5 + 2, "CGFace"},
        {D::kFrustum, 6 * 5 + 2, "CGFace"},
        {D::kPolygon, 2 * 5 + 1, "CGFace"},
        {D::kTetrahedron, 14, "CGFace"},
        {D::kCube, 26, "CGFace"},
        {D::kOctahedron, 26, "CGFace"},
        {D::kDodecahedron, 62, "CGFace"},
        {D::kIcosahedron, 62, "CGFace"},
        {D::kCircle, 2, "CGArc"},
        {D::kCylinder, 5, "CGCylinder"},
        {D::kCone, 4, "CGCone"},
        {D::kRoundFrustum, 5, "CGFrustum"},
        {D::kSphere, 5, "CGArc"},
    };
    int steps = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        const WORD first = m_page->m_nextId;
        RunDialog([&](D& d) {
            d.m_type = row.type;
            d.m_sideCount = 5;
            d.m_radius = 3.0f;
            d.m_height = 4.0f;
            d.m_ratio = 0.25f;
            d.m_centreX = 10.0f;
            d.m_centreY = 20.0f;
            d.m_centreZ = 30.0f;
            d.m_axisX = 1.0f;
            d.m_axisZ = 0.0f;
        });
        ASSERT_EQ(Made(first), row.count);
        EXPECT_EQ(ClassesFrom(first).back(), row.lastClass);
        ExpectUndoStep<CCmdAddCells>(u"添加静态图", row.count);
        EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), ++steps);
        auto* a = Cell<CGVertex>(first);
        ASSERT_NE(a, nullptr);
        const double d = std::hypot(a->m_x - 10.0, a->m_y - 20.0, a->m_z - 30.0);
        switch (row.type) {
        case D::kPrism:
        case D::kPyramid:
        case D::kFrustum:
            // A base corner: radius 3 about the axis, half the height below the centre.
            EXPECT_NEAR(std::hypot(a->m_x - 10.0, a->m_y - 20.0), 3.0, 1e-5);
            EXPECT_FLOAT_EQ(a->m_z, 28.0f);
            break;
        case D::kPolygon:
        case D::kTetrahedron:
        case D::kCube:
        case D::kOctahedron:
        case D::kDodecahedron:
        case D::kIcosahedron:
            EXPECT_NEAR(d, 3.0, 1e-4) << "the radius is the circumradius";
            break;
        case D::kCircle:
        case D::kSphere:
            ExpectNear(*a, 10, 20, 30);
            break;
        case D::kCylinder:
        case D::kCone:
        case D::kRoundFrustum:
            // The bottom centre, half the height back along the axis (1, 0, 0).
            ExpectNear(*a, 8, 20, 30);
            break;
        default:
            break;
        }
        if (row.type == D::kFrustum) {
            auto* a1 = Cell<CGVertex>(WORD(first + 5));
            EXPECT_NEAR(std::hypot(a1->m_x - 10.0, a1->m_y - 20.0), 0.75, 1e-5) << "the ratio field";
        }
        if (row.type == D::kPrism) {
            auto* a1 = Cell<CGVertex>(WORD(first + 5));
            EXPECT_NEAR(std::hypot(a1->m_x - 10.0, a1->m_y - 20.0), 3.0, 1e-5) << "ratio 1";
        }
        if (row.type == D::kRoundFrustum) {
            auto* frustum = Cell<CGFrustum>(WORD(first + 4));
            ASSERT_NE(frustum, nullptr);
        }
    }
}

TEST_F(StaticFigureCommand, ATypedTypeBoxAddsTheCubeOfEdgeTenAtTheCentre) {
    const WORD first = m_page->m_nextId;
    RunDialog([](D& d) {
        d.m_type = -1;
        d.m_centreX = 1.0f;
        d.m_centreY = 2.0f;
        d.m_centreZ = 3.0f;
    });
    ASSERT_EQ(Made(first), 26);
    ExpectNear(*Cell<CGVertex>(first), -4, -3, -2);
    ExpectNear(*Cell<CGVertex>(WORD(first + 6)), 6, 7, 8);
    ExpectUndoStep<CCmdAddCells>(u"添加静态图", 26);
}

TEST_F(StaticFigureCommand, CancelChangesNothing) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    m_answer = IDCANCEL;
    RunDialog(nullptr);
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNothingDone(before);
}

TEST_F(StaticFigureCommand, AFigureThatCannotBeMadeRecordsNothingButUpdatesTheViews) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    g_vertexArrayCapacity = int(m_page->m_nextVertex);
    HxSetVertexArrayGrowthFails(true);
    RunDialog([](D& d) { d.m_type = D::kIcosahedron; });
    const PageSnapshot now = TakeSnapshot(*m_page);
    EXPECT_EQ(now, before) << SnapshotDifference(now, before);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
}

TEST_F(StaticFigureCommand, OnlyTheOtherObjectsDecideBetweenCopyAndDialog) {
    CGPolyhedron* hull = AddCubeHull();
    CGPolyhedron* second = AddCubeHull(1.0);
    auto* sphere = Insert(new CGSphere(NextId(), 0, 0, 0, 2, 0, 0, 2));
    // A sphere is a solid, not another object: the dialog opens.
    m_answer = IDCANCEL;
    RunDialog(nullptr, {sphere->m_id});
    EXPECT_EQ(m_dialogCount, 1);
    // Two hulls: the dialog again.
    RunDialog(nullptr, {hull->m_id, second->m_id});
    EXPECT_EQ(m_dialogCount, 2);
    EXPECT_TRUE(m_messages.empty());
}

// ---------------------------------------------------------------------------------------------
// Copies of a hull and a section

TEST_F(StaticFigureCommand, AHullBecomesAPolyhedronOfFixedPointsEdgesAndFaces) {
    CGPolyhedron* hull = AddCubeHull();
    CGVertex* other = AddPoint(9, 9, 9); // takes "A"
    const CGPolyhedron copyOfHull(*hull);
    const size_t n = hull->m_points.size(), e = hull->m_edges.size(), f = hull->m_faces.size();
    ASSERT_EQ(n, 8u);
    const PageSnapshot before = TakeSnapshot(*m_page);
    std::vector<COLORREF> colors;
    {
        const int h = g_autoColorHueIndex, l = g_autoColorLightnessIndex, s = g_autoColorSaturationIndex;
        for (size_t i = 0; i < f; ++i)
            colors.push_back(NextAutoColor());
        g_autoColorHueIndex = h;
        g_autoColorLightnessIndex = l;
        g_autoColorSaturationIndex = s;
    }
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_STATICFIGURE, {hull->m_id, other->m_id});
    EXPECT_EQ(m_dialogCount, 0);
    ASSERT_EQ(Made(first), int(n + e + f));
    ExpectUndoStep<CCmdAddCells>(u"添加凸多面体定位图", int(n + e + f));
    EXPECT_TRUE(m_doc->IsModified());
    // The points in the hull's order, named on from B.
    for (size_t i = 0; i < n; ++i) {
        auto* p = Cell<CGVertex>(WORD(first + i));
        ASSERT_NE(p, nullptr);
        EXPECT_STREQ(p->GetRuntimeClass()->m_lpszClassName, "CGVertex");
        ExpectNear(*p, hull->m_points[i].x, hull->m_points[i].y, hull->m_points[i].z);
        EXPECT_EQ(p->m_name, CString(char16_t(u'B' + i)));
    }
    for (size_t i = 0; i < e; ++i) {
        auto* line = Cell<CGLine>(WORD(first + n + i));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(Parents(line), (std::vector<WORD>{WORD(first + hull->m_edges[i].first),
                                                    WORD(first + hull->m_edges[i].second)}));
    }
    for (size_t i = 0; i < f; ++i) {
        auto* face = Cell<CGFace>(WORD(first + n + e + i));
        ASSERT_NE(face, nullptr);
        std::vector<WORD> corners;
        for (int k : hull->m_faces[i].loop)
            corners.push_back(WORD(first + k));
        EXPECT_EQ(Parents(face), corners);
        EXPECT_EQ(face->m_color.ToColorRef(), colors[i]) << "new automatic colours";
    }
    // The hull is left as it was.
    EXPECT_EQ(hull->m_points.size(), copyOfHull.m_points.size());
    EXPECT_TRUE(hull->m_children.IsEmpty());
    ExpectUndoRedo(before);
}

TEST_F(StaticFigureCommand, ASectionBecomesAPolygonDrawnFilled) {
    CGPolyhedron* hull = AddCubeHull();
    CGVertex* a = AddPoint(-5, -5, 0);
    CGVertex* b = AddPoint(5, -5, 0);
    CGVertex* c = AddPoint(0, 5, 0);
    CList<WORD, WORD> corners;
    for (WORD id : {a->m_id, b->m_id, c->m_id})
        corners.AddTail(id);
    CGFace* plane = Insert(new CGFace(NextId(), corners, RGB(1, 2, 3)));
    auto* section = Insert(new CGSection(NextId(), hull->m_id, plane->m_id));
    ASSERT_EQ(section->m_polygon.size(), 4u) << "the square across the cube";

    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_STATICFIGURE, {section->m_id});
    ASSERT_EQ(Made(first), 9);
    ExpectUndoStep<CCmdAddCells>(u"添加多边形", 9);
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVertex", "CGVertex", "CGVertex", "CGVertex", "CGLine", "CGLine",
                                        "CGLine", "CGLine", "CGFace"}));
    for (size_t i = 0; i < 4; ++i) {
        const PolyPoint& p = section->m_polygon[i];
        ExpectNear(*Cell<CGVertex>(WORD(first + i)), p.x, p.y, p.z);
    }
    EXPECT_EQ(Cell<CGVertex>(first)->m_name, CString(u"D"));
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 4))), (std::vector<WORD>{first, WORD(first + 1)}));
    EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 7))), (std::vector<WORD>{WORD(first + 3), first}));
    auto* face = Cell<CGFace>(WORD(first + 8));
    EXPECT_EQ(Parents(face), (std::vector<WORD>{first, WORD(first + 1), WORD(first + 2), WORD(first + 3)}));
    EXPECT_EQ(face->m_style, CGFace::kStyleFilled);
    ExpectUndoRedo(before);

    // A triangle: 7 cells.
    section->m_polygon = {MakePoint(0, 0, 0), MakePoint(1, 0, 0), MakePoint(0, 1, 0)};
    const WORD next = m_page->m_nextId;
    RunOn(ID_CREATE_STATICFIGURE, {section->m_id});
    EXPECT_EQ(Made(next), 7);
}

TEST_F(StaticFigureCommand, AnyOtherObjectIsRefusedWithAMessage) {
    CGPolyhedron* hull = AddCubeHull();
    auto* net = Insert(new CGFold(NextId(), hull->m_id, u"展开图", 0, 0));
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_STATICFIGURE, {net->m_id});
    EXPECT_EQ(m_messages, (std::vector<CString>{u"请选择凸包或截面图！"}));
    EXPECT_EQ(m_dialogCount, 0);
    ExpectNothingDone(before);
}

TEST_F(StaticFigureCommand, HullsAndSectionsOutsideTheCountsAreLeftSilently) {
    // A hull of 3 points and one of 101; a section of 2 points and one of 101.
    auto* small = new CGPolyhedron;
    small->m_id = NextId();
    small->m_points = {MakePoint(0, 0, 0), MakePoint(1, 0, 0), MakePoint(0, 1, 0)};
    Insert(small);
    auto* large = new CGPolyhedron;
    large->m_id = NextId();
    large->m_points.resize(101);
    Insert(large);
    CGPolyhedron* hull = AddCubeHull();
    CGVertex* a = AddPoint(-5, -5, 0);
    CGVertex* b = AddPoint(5, -5, 0);
    CGVertex* c = AddPoint(0, 5, 0);
    CGFace* plane = Insert(new CGFace(NextId(), a->m_id, b->m_id, c->m_id, RGB(1, 2, 3)));
    auto* section = Insert(new CGSection(NextId(), hull->m_id, plane->m_id));
    // A hull whose face names a point it does not have is not copied either.
    CGPolyhedron* broken = AddCubeHull();
    broken->m_faces[0].loop[0] = 8;

    // (The damaged hulls have no record to compare: the page is checked by its counters.)
    const WORD nextId = m_page->m_nextId;
    const int cells = CellCount();
    for (WORD id : {small->m_id, large->m_id, broken->m_id}) {
        RunOn(ID_CREATE_STATICFIGURE, {id});
    }
    for (size_t count : {size_t(2), size_t(101)}) {
        section->m_polygon.assign(count, MakePoint(1, 2, 3));
        RunOn(ID_CREATE_STATICFIGURE, {section->m_id});
    }
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_dialogCount, 0);
    EXPECT_EQ(m_page->m_nextId, nextId);
    EXPECT_EQ(CellCount(), cells);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 0);
}

} // namespace
