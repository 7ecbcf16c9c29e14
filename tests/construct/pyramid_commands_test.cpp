// The pyramid, frustum and tetrahedron commands: the default triangular pyramid and frustum, the
// regular square pyramid, the regular triangular pyramid on a point or a new one, the regular
// hexagonal frustum and the regular tetrahedron (counts, classes, names, hidden labels, start
// positions, regularity kept while dragging), the builds on a selected apex and face, and their steps.
#include "construct_fixture.h"

#include "model/constrained_points.h"
#include "model/free_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "points/triangle_centres.h"

#include <cmath>
#include <map>

namespace {

class PyramidCommands : public ConstructTest {
protected:
    std::map<std::u16string, CGVertex*> PointsFrom(WORD first) {
        std::map<std::u16string, CGVertex*> points;
        for (CGCell* cell : MadeFrom(first))
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, cell))
                points[p->m_name.Str()] = p;
        return points;
    }
    static double Dist(const CGVertex* a, const CGVertex* b) {
        return std::hypot(double(a->m_x - b->m_x), double(a->m_y - b->m_y), double(a->m_z - b->m_z));
    }
    WORD RunDefault(UINT id, int cells, const char16_t* undo) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD first = m_page->m_nextId;
        RunOn(id, {});
        EXPECT_EQ(m_page->m_nextId, first + cells) << id;
        ExpectUndoStep<CCmdAddCells>(undo, cells);
        ExpectUndoRedo(before);
        for (CGCell* cell : MadeFrom(first))
            EXPECT_TRUE(cell->m_valid) << cell->m_id;
        return first;
    }
    int Faces(WORD first) {
        int n = 0;
        for (CGCell* cell : MadeFrom(first))
            n += cell->IsKindOf(RUNTIME_CLASS(CGFace)) ? 1 : 0;
        return n;
    }
    void Turn(CGVertex* p, float angle) {
        p->m_param1 = angle;
        p->SyncVertex();
        Changed(p);
    }
};

TEST_F(PyramidCommands, TheDefaultPyramidStandsOverTheCentroidOfItsTriangle) {
    const WORD first = RunDefault(ID_CREATE_SOLID_PYRAMID, 15, u"添加棱锥");
    EXPECT_EQ(Faces(first), 4);
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 5u);
    EXPECT_STREQ(pts[u"O"]->GetRuntimeClass()->m_lpszClassName, "CGVerBarycenter");
    EXPECT_NE(pts[u"O"]->m_labelHidden, 0);
    EXPECT_EQ(pts[u"O"]->m_hidden, 0);
    EXPECT_EQ(pts[u"V"]->m_labelHidden, 0);
    ExpectValidAt(*pts[u"O"], 0, 0, -6, 1e-4);
    ExpectValidAt(*pts[u"V"], 0, 0, 9, 1e-4);
    EXPECT_EQ(ClassesFrom(first)[8], "CGVerFreePerpen");
    // The lateral faces come from the builder: V with each base edge.
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 10))),
              (std::vector<WORD>{pts[u"V"]->m_id, pts[u"A"]->m_id, pts[u"B"]->m_id}));
}

TEST_F(PyramidCommands, TheDefaultFrustumKeepsItsTopHalfTheBase) {
    const WORD first = RunDefault(ID_CREATE_SOLID_TRUN, 21, u"添加棱台");
    EXPECT_EQ(Faces(first), 5);
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 7u);
    EXPECT_NE(pts[u"D"]->m_labelHidden, 0);
    ExpectValidAt(*pts[u"A1"], -4, -2.5, 6, 1e-4);
    for (auto [p, q] : {std::pair{u"A", u"B"}, {u"B", u"C"}, {u"C", u"A"}})
        EXPECT_NEAR(Dist(pts[std::u16string(p) + u"1"], pts[std::u16string(q) + u"1"]),
                    Dist(pts[p], pts[q]) / 2, 1e-4);
    // Dragged, the top stays half the base.
    MovePoint(pts[u"A"], -10, -2, -6);
    for (auto [p, q] : {std::pair{u"A", u"B"}, {u"B", u"C"}, {u"C", u"A"}})
        EXPECT_NEAR(Dist(pts[std::u16string(p) + u"1"], pts[std::u16string(q) + u"1"]),
                    Dist(pts[p], pts[q]) / 2, 1e-4);
    // The lateral faces join each base edge to its top edge.
    const std::vector<std::string> classes = ClassesFrom(first);
    EXPECT_EQ(std::vector<std::string>(classes.end() - 6, classes.end()),
              (std::vector<std::string>{"CGLine", "CGLine", "CGLine", "CGFace", "CGFace", "CGFace"}));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 18))),
              (std::vector<WORD>{pts[u"A"]->m_id, pts[u"B"]->m_id, pts[u"B1"]->m_id, pts[u"A1"]->m_id}));
}

TEST_F(PyramidCommands, TheRegularSquarePyramidStandsOverTheCentreOfItsSquare) {
    const WORD first = RunDefault(ID_CREATE_SOLID_TETRAHEDRON, 19, u"添加正四棱锥");
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 6u);
    ExpectValidAt(*pts[u"O"], 0, 0, -5, 1e-4);
    EXPECT_EQ(pts[u"O"]->m_labelHidden, 0) << "the centre's label is shown";
    CGVertex* apex = pts[u"E"];
    ASSERT_NE(apex, nullptr);
    ExpectValidAt(*apex, 0, 0, 4.7979593, 1e-4);
    // The apex is made before the base face.
    const std::vector<std::string> classes = ClassesFrom(first);
    EXPECT_EQ(classes[9], "CGVerFreePerpen");
    EXPECT_EQ(classes[10], "CGFace");
    // Equal lateral edges over a square of side 10, 4 sqrt(6) high; so while the square turns.
    auto expectRegular = [&] {
        for (const char16_t* corner : {u"A", u"B", u"C", u"D"})
            EXPECT_NEAR(Dist(apex, pts[corner]), std::sqrt(96.0 + 50.0), 1e-3);
        EXPECT_NEAR(Dist(pts[u"A"], pts[u"D"]), 10.0, 1e-4);
        EXPECT_NEAR(Dist(pts[u"C"], pts[u"D"]), 10.0, 1e-4);
    };
    expectRegular();
    Turn(pts[u"D"], 0.5f);
    expectRegular();
}

TEST_F(PyramidCommands, TheRegularTriangularPyramidOnAPointOrANewOne) {
    const WORD first = m_page->m_nextId;
    m_doc->OnPyramidTriangleRegular(0);
    EXPECT_EQ(m_page->m_nextId, first + 15);
    ExpectUndoStep<CCmdAddCells>(u"添加正三棱锥", 15);
    auto pts = PointsFrom(first);
    ExpectValidAt(*pts[u"A"], -6, -3.4641016, -5);
    ExpectValidAt(*pts[u"C"], 0, 6.9282032, -5, 1e-4);
    ExpectValidAt(*pts[u"O"], 0, 0, -5, 1e-4);
    CGVertex* apex = pts[u"D"];
    ExpectValidAt(*apex, 0, 0, 4.7979593, 1e-4);
    // A regular tetrahedron of edge 12 at first.
    for (auto [p, q] : {std::pair{u"A", u"B"}, {u"B", u"C"}, {u"A", u"D"}, {u"C", u"D"}})
        EXPECT_NEAR(Dist(pts[p], pts[q]), 12.0, 1e-3);

    CGVertex* given = AddPoint(1, 2, 3);
    const WORD next = m_page->m_nextId;
    m_doc->OnPyramidTriangleRegular(given->m_id);
    EXPECT_EQ(m_page->m_nextId, next + 14);
    ExpectUndoStep<CCmdAddCells>(u"添加正三棱锥", 14);
    auto built = PointsFrom(next);
    EXPECT_EQ(Parents(built[u"F"]), std::vector<WORD>{given->m_id}) << "B follows the given point";
    ExpectValidAt(*built[u"F"], 13, 2, 3);
    // An id that names no point: a new A.
    CGLine* line = AddLine(given->m_id, built[u"F"]->m_id);
    const WORD third = m_page->m_nextId;
    m_doc->OnPyramidTriangleRegular(line->m_id);
    EXPECT_EQ(m_page->m_nextId, third + 15);
}

TEST_F(PyramidCommands, TheRegularHexagonalFrustumCutsHalfwayToItsApex) {
    const WORD first = RunDefault(ID_CREATE_SOLID_SIXTRUN, 41, u"添加正六棱台");
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 14u);
    ExpectValidAt(*pts[u"O"], 0, -5 + 8.660254, -5, 1e-4);
    const char16_t* ring[6] = {u"A", u"B", u"C", u"D", u"E", u"F"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(Dist(pts[ring[i]], pts[ring[(i + 1) % 6]]), 10.0, 1e-3) << i;
        EXPECT_NEAR(Dist(pts[ring[i]], pts[u"O"]), 10.0, 1e-3) << i;
        CGVertex* top = pts[std::u16string(ring[i]) + u"1"];
        ASSERT_NE(top, nullptr);
        EXPECT_NEAR(top->m_z, 2.5f, 1e-4) << "halfway up to the apex 15 above O";
    }
    CGVertex* apex = pts[u""];
    ASSERT_NE(apex, nullptr) << "the apex keeps its empty name";
    ExpectValidAt(*apex, 0, 3.660254, 10, 1e-4);
    EXPECT_EQ(Faces(first), 8);
}

TEST_F(PyramidCommands, TheRegularTetrahedronStaysRegular) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    m_doc->OnTetrahedronRegular(12345);
    EXPECT_EQ(m_page->m_nextId, first + 14);
    ExpectUndoStep<CCmdAddCells>(u"添加正四面体", 14);
    ExpectUndoRedo(before);
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeHenchman", "CGVerFreeEquilateral", "CGLine",
                                        "CGLine", "CGLine", "CGVerRotateX", "CGLine", "CGLine", "CGLine",
                                        "CGFace", "CGFace", "CGFace", "CGFace"}));
    auto pts = PointsFrom(first);
    const WORD a = pts[u"A"]->m_id, b = pts[u"B"]->m_id, c = pts[u"C"]->m_id, d = pts[u"D"]->m_id;
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 6))), (std::vector<WORD>{c, WORD(first + 3)}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 10))), (std::vector<WORD>{c, b, a}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 13))), (std::vector<WORD>{a, b, d}));
    // Centred at the origin, D on the z axis above the base.
    ExpectValidAt(*pts[u"D"], 0, 0, 9.797959, 1e-3);
    auto expectRegular = [&] {
        for (auto [p, q] :
             {std::pair{u"A", u"B"}, {u"A", u"C"}, {u"A", u"D"}, {u"B", u"C"}, {u"B", u"D"}, {u"C", u"D"}})
            EXPECT_NEAR(Dist(pts[p], pts[q]), Dist(pts[u"A"], pts[u"B"]), 1e-3);
    };
    expectRegular();
    MovePoint(pts[u"A"], -9, -6, -2);
    expectRegular();
    Turn(pts[u"C"], 0.6f);
    expectRegular();
    // Four faces in four successive colours.
    EXPECT_NE(Cell<CGFace>(WORD(first + 10))->m_color, Cell<CGFace>(WORD(first + 11))->m_color);
}

TEST_F(PyramidCommands, BuildsOnASelectedApexAndFace) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(4, 0, 0);
    CGVertex* r = AddPoint(4, 4, 0);
    CGVertex* s = AddPoint(0, 4, 0);
    CGFace* face = AddFace({p->m_id, q->m_id, r->m_id, s->m_id});
    CGVertex* v = AddPoint(2, 2, 8);
    PageSnapshot before = TakeSnapshot(*m_page);
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_SOLID_PYRAMID, {v->m_id, face->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 8);
    ExpectUndoStep<CCmdAddCells>(u"添加棱锥", 8);
    EXPECT_EQ(v->m_name, CString(u"E"));
    ExpectUndoRedo(before);

    before = TakeSnapshot(*m_page);
    first = m_page->m_nextId;
    RunOn(ID_CREATE_SOLID_TRUN, {face->m_id, v->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 18);
    ExpectUndoStep<CCmdAddCells>(u"添加棱台", 18);
    EXPECT_EQ(Cell<CGVertex>(WORD(first + 1))->m_name, CString(u"A1"));
    ExpectUndoRedo(before);
}

} // namespace
