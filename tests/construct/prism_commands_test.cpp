// The prism commands: the default cuboid, cube, parallelepiped, axis cuboid, triangular and regular
// pentagonal prisms (counts, classes, names, hidden helpers, start positions, what dragging keeps),
// the prism on a selected top vertex and base face with the vertex's name given back on undo, and
// the one undo step each records.
#include "construct_fixture.h"

#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "view/view_colors.h"

#include <QString>

#include <cmath>
#include <map>

namespace {

class PrismCommands : public ConstructTest {
protected:
    // The points among the cells made from `first`, by name.
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
    static double Dot(const CGVertex* o, const CGVertex* a, const CGVertex* b) {
        return double(a->m_x - o->m_x) * (b->m_x - o->m_x) + double(a->m_y - o->m_y) * (b->m_y - o->m_y) +
               double(a->m_z - o->m_z) * (b->m_z - o->m_z);
    }
    int Count(WORD first, const char* cls) {
        int n = 0;
        for (const std::string& c : ClassesFrom(first))
            n += c == cls ? 1 : 0;
        return n;
    }
    // Every cell valid, every face's colour the next of the sequence in the order made.
    void ExpectValidAndColoured(WORD first, int faces) {
        HxResetAutoColors();
        std::vector<COLORREF> colors;
        for (int i = 0; i < faces; ++i)
            colors.push_back(NextAutoColor());
        int f = 0;
        for (CGCell* cell : MadeFrom(first)) {
            EXPECT_TRUE(cell->m_valid) << cell->m_id;
            if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell)) {
                ASSERT_LT(f, faces);
                EXPECT_EQ(face->m_color.ToColorRef(), colors[size_t(f++)]) << cell->m_id;
            }
        }
        EXPECT_EQ(f, faces);
    }
    // Runs a default-figure command on an empty selection and checks its one step.
    WORD RunDefault(UINT id, int cells, const char16_t* undo) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD first = m_page->m_nextId;
        RunOn(id, {});
        EXPECT_EQ(m_page->m_nextId, first + cells) << id;
        ExpectUndoStep<CCmdAddCells>(undo, cells);
        EXPECT_TRUE(m_doc->IsModified());
        ExpectUndoRedo(before);
        return first;
    }
};

TEST_F(PrismCommands, TheCuboidStartsAsATwelveByEightByEightBoxAndStaysRectangular) {
    const WORD first = RunDefault(ID_CREATE_CUBOID, 26, u"添加长方体");
    ExpectValidAndColoured(first, 6);
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 8u);
    // The base reads A B C D although C was made after D; the top is named after the base.
    const std::vector<std::string> classes = ClassesFrom(first);
    EXPECT_EQ(
        std::vector<std::string>(classes.begin(), classes.begin() + 10),
        (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeHenchman", "CGVerFreeUpright", "CGVerTranslate",
                                  "CGFace", "CGLine", "CGLine", "CGLine", "CGLine", "CGVerFreePerpen"}));
    EXPECT_EQ(Cell<CGVertex>(WORD(first + 2))->m_name, CString(u"D"));
    EXPECT_EQ(Cell<CGVertex>(WORD(first + 3))->m_name, CString(u"C"));
    EXPECT_EQ(Cell<CGVertex>(WORD(first + 9))->m_name, CString(u"A1"));
    EXPECT_EQ(Parents(Cell<CGFace>(WORD(first + 4))),
              (std::vector<WORD>{first, WORD(first + 1), WORD(first + 3), WORD(first + 2)}));
    const struct {
        const char16_t* name;
        float x, y, z;
    } corners[] = {{u"A", -6, -4, -4}, {u"B", 6, -4, -4}, {u"C", 6, 4, -4}, {u"D", -6, 4, -4},
                   {u"A1", -6, -4, 4}, {u"B1", 6, -4, 4}, {u"C1", 6, 4, 4}, {u"D1", -6, 4, 4}};
    for (const auto& c : corners) {
        ASSERT_TRUE(pts.count(c.name)) << CString(c.name).ToQString().toStdString();
        ExpectValidAt(*pts[c.name], c.x, c.y, c.z);
    }
    // Dragging B keeps AD square to AB and C = B + D - A.
    CGVertex* b = pts[u"B"];
    MovePoint(b, 6, 2, -4);
    EXPECT_NEAR(Dot(pts[u"A"], pts[u"B"], pts[u"D"]), 0.0, 1e-4);
    ExpectNear(*pts[u"C"], pts[u"B"]->m_x + pts[u"D"]->m_x + 6, pts[u"B"]->m_y + pts[u"D"]->m_y + 4, -4,
               1e-4);
    EXPECT_NEAR(Dist(pts[u"B"], pts[u"B1"]), 8.0, 1e-4);
}

TEST_F(PrismCommands, TheCubeIsACubeWhoseTopCannotBeDragged) {
    const WORD first = RunDefault(ID_CREATE_BOX, 26, u"添加正方体");
    ExpectValidAndColoured(first, 6);
    auto pts = PointsFrom(first);
    ExpectValidAt(*pts[u"A"], -5, -5, -5);
    ExpectValidAt(*pts[u"D"], -5, 5, -5);
    ExpectValidAt(*pts[u"C1"], 5, 5, 5);
    EXPECT_STREQ(pts[u"A1"]->GetRuntimeClass()->m_lpszClassName, "CGVerPerpenEquid");
    EXPECT_FALSE(pts[u"A1"]->IsKindOf(RUNTIME_CLASS(CGVerFree))) << "not draggable";
    // Turning D about AB keeps every edge 10.
    auto* d = DYNAMIC_DOWNCAST(CGVerFreeUprightEquid, pts[u"D"]);
    ASSERT_NE(d, nullptr);
    d->m_param1 = 1.0f;
    d->SyncVertex();
    Changed(d);
    for (auto [p, q] : {std::pair{u"A", u"D"}, {u"D", u"C"}, {u"A", u"A1"}, {u"C", u"C1"}, {u"B1", u"C1"}})
        EXPECT_NEAR(Dist(pts[p], pts[q]), 10.0, 1e-4);
    EXPECT_NEAR(Dot(pts[u"A"], pts[u"B"], pts[u"A1"]), 0.0, 1e-3);
    EXPECT_NEAR(Dot(pts[u"A"], pts[u"D"], pts[u"A1"]), 0.0, 1e-3);
}

TEST_F(PrismCommands, TheParallelepipedFollowsAOnly) {
    const WORD first = RunDefault(ID_CREATE_SOLID_PARALL, 26, u"添加平行六面体");
    auto pts = PointsFrom(first);
    ExpectValidAt(*pts[u"D"], -4, 5, -4);
    ExpectValidAt(*pts[u"C"], 8, 5, -4);
    ExpectValidAt(*pts[u"A1"], -3, -4, 4);
    ExpectValidAt(*pts[u"C1"], 11, 6, 4);
    EXPECT_EQ(Count(first, "CGVerFreeHenchman"), 3);
    MovePoint(pts[u"A"], -6, -5, -2);
    ExpectValidAt(*pts[u"A1"], -3, -4, 6);
    ExpectValidAt(*pts[u"D"], -4, 5, -2);
}

TEST_F(PrismCommands, TheAxisCuboidOnAGivenOriginOrANewOne) {
    CGVertex* o = AddPoint(1, 2, 3);
    const PageSnapshot before = TakeSnapshot(*m_page);
    WORD first = m_page->m_nextId;
    m_doc->OnCuboidAxis(o->m_id);
    EXPECT_EQ(m_page->m_nextId, first + 25);
    ExpectUndoStep<CCmdAddCells>(u"添加轴向长方体", 25);
    ExpectUndoRedo(before);
    EXPECT_EQ(ClassesFrom(first)[0], "CGVerFreeParVector");
    auto pts = PointsFrom(first);
    // The given origin is the base's first corner: the top over it is named after it.
    EXPECT_EQ(o->m_name, CString(u"A"));
    EXPECT_EQ(pts.count(u"E"), 0u) << "the top took a name and was renamed";
    ExpectValidAt(*pts[u"B"], 13, 2, 3);
    ExpectValidAt(*pts[u"D"], 1, 11, 3);
    ExpectValidAt(*pts[u"C"], 13, 11, 3);
    ExpectValidAt(*pts[u"A1"], 1, 2, 11);
    ExpectValidAt(*pts[u"C1"], 13, 11, 11);
    // Dragging B changes the length along x only.
    pts[u"B"]->m_param1 = 5.0f;
    pts[u"B"]->SyncVertex();
    Changed(pts[u"B"]);
    ExpectValidAt(*pts[u"C1"], 6, 11, 11);

    // No id, an id that names no point, a line: a new origin at (0, 0, 0).
    CGLine* line = AddLine(o->m_id, pts[u"B"]->m_id);
    for (WORD id : {WORD(0), WORD(999), line->m_id}) {
        first = m_page->m_nextId;
        m_doc->OnCuboidAxis(id);
        EXPECT_EQ(m_page->m_nextId, first + 26) << id;
        ExpectUndoStep<CCmdAddCells>(u"添加轴向长方体", 26);
        EXPECT_STREQ(Cell<CGCell>(first)->GetRuntimeClass()->m_lpszClassName, "CGVerFreeXyz");
        ExpectValidAt(*Cell<CGVertex>(first), 0, 0, 0);
    }
}

TEST_F(PrismCommands, TheDefaultPrismTakesItsFixedNamesWhateverThePageHolds) {
    CGVertex* a = AddPoint(0, 0, 0); // "A" already on the page
    const char letter = m_page->m_labelLetter;
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_SOLID_PRISM, {a->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 20);
    ExpectUndoStep<CCmdAddCells>(u"添加棱柱", 20);
    EXPECT_EQ(m_page->m_labelLetter, letter) << "fixed names take no automatic ones";
    ExpectValidAndColoured(first, 5);
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 6u);
    EXPECT_EQ(ClassesFrom(first)[0], "CGVerFreeXyz");
    ExpectValidAt(*pts[u"A"], -8, -5, -6);
    ExpectValidAt(*pts[u"A1"], -8, -5, 6);
    EXPECT_STREQ(pts[u"A1"]->GetRuntimeClass()->m_lpszClassName, "CGVerSymmetry");
    // B follows A a third of a turn counter-clockwise about z; C the other way.
    const double r = std::hypot(8.0, 5.0), a0 = std::atan2(-5.0, -8.0);
    ExpectValidAt(*pts[u"B"], r * std::cos(a0 + 2 * kPi / 3), r * std::sin(a0 + 2 * kPi / 3), -6, 1e-4);
    ExpectValidAt(*pts[u"C"], r * std::cos(a0 - 2 * kPi / 3), r * std::sin(a0 - 2 * kPi / 3), -6, 1e-4);
    ExpectValidAt(*pts[u"B1"], pts[u"B"]->m_x, pts[u"B"]->m_y, 6, 1e-4);
    // Dragging A up keeps A1 its mirror image.
    MovePoint(pts[u"A"], -8, -5, -2);
    ExpectValidAt(*pts[u"A1"], -8, -5, 2);
    ExpectValidAt(*pts[u"C1"], pts[u"C"]->m_x, pts[u"C"]->m_y, 2, 1e-4);
}

TEST_F(PrismCommands, APrismOnASelectedTopVertexAndFaceGivesItsNameBackOnUndo) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(4, 0, 0);
    CGVertex* r = AddPoint(0, 4, 0);
    CGFace* face = AddFace({p->m_id, q->m_id, r->m_id});
    CGVertex* t = AddPoint(1, 1, 6);
    CGLine* pt = AddLine(p->m_id, t->m_id);
    EXPECT_EQ(t->m_name, CString(u"D"));
    EXPECT_EQ(pt->m_name, CString(u"AD"));
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_SOLID_PRISM, {t->m_id, face->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 12) << "no default points";
    ExpectUndoStep<CCmdAddCells>(u"添加棱柱", 12);
    EXPECT_EQ(t->m_name, CString(u"A1"));
    EXPECT_EQ(pt->m_name, CString(u"AA1")) << "what is named after the vertex follows";

    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first);
    EXPECT_EQ(t->m_name, CString(u"D"));
    EXPECT_EQ(pt->m_name, CString(u"AD"));
    EXPECT_TRUE(t->m_flag2);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(t->m_name, CString(u"A1"));
    EXPECT_EQ(Cell<CGVertex>(first)->m_name, CString(u"B1"));

    // Two points and a face, or nothing: the default prism.
    CGVertex* s = AddPoint(9, 9, 9);
    const WORD next = m_page->m_nextId;
    RunOn(ID_CREATE_SOLID_PRISM, {t->m_id, s->m_id, face->m_id});
    EXPECT_EQ(m_page->m_nextId, next + 20);
}

TEST_F(PrismCommands, ABuilderThatMakesNothingRecordsNothing) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(4, 0, 0);
    CGVertex* r = AddPoint(0, 4, 0);
    CGFace* face = AddFace({p->m_id, q->m_id, r->m_id});
    CGVertex* t = AddPoint(1, 1, 6);
    g_vertexArrayCapacity = int(m_page->m_nextVertex);
    HxSetVertexArrayGrowthFails(true);
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_SOLID_PRISM, {t->m_id, face->m_id});
    RunOn(ID_CREATE_SOLID_TRUN, {t->m_id, face->m_id});
    EXPECT_EQ(m_messages.size(), 2u);
    ExpectNothingDone(before);
    EXPECT_EQ(t->m_name, CString(u"D"));
    // Every default figure ends at once too.
    for (UINT id : {ID_CREATE_CUBOID, ID_CREATE_BOX, ID_CREATE_SOLID_PARALL, ID_CREATE_SOLID_PRISM,
                    ID_CREATE_SOLID_FIVEPRISM, ID_CREATE_SOLID_PYRAMID, ID_CREATE_SOLID_TRUN,
                    ID_CREATE_SOLID_TETRAHEDRON, ID_CREATE_SOLID_SIXTRUN})
        RunOn(id, {});
    m_doc->OnCuboidAxis(0);
    m_doc->OnPyramidTriangleRegular(0);
    m_doc->OnTetrahedronRegular(0);
    EXPECT_EQ(m_messages.size(), 14u);
    ExpectNothingDone(before);
}

TEST_F(PrismCommands, ThePentagonalPrismStaysRegularWithItsHelpersHidden) {
    const WORD first = RunDefault(ID_CREATE_SOLID_FIVEPRISM, 36, u"添加正五棱柱");
    ExpectValidAndColoured(first, 7);
    auto pts = PointsFrom(first);
    ASSERT_EQ(pts.size(), 14u);
    for (const char16_t* name : {u"0", u"2", u"3"})
        EXPECT_NE(pts[name]->m_hidden, 0) << CString(name).ToQString().toStdString();
    for (const char16_t* name : {u"1", u"A", u"B", u"C", u"D", u"E", u"A1", u"E1"})
        EXPECT_EQ(pts[name]->m_hidden, 0) << CString(name).ToQString().toStdString();
    ExpectValidAt(*pts[u"1"], 1, 0, -5);
    auto expectRegular = [&] {
        const char16_t* ring[5] = {u"A", u"B", u"C", u"D", u"E"};
        const double side = Dist(pts[u"A"], pts[u"B"]);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(Dist(pts[ring[i]], pts[ring[(i + 1) % 5]]), side, 1e-3) << i;
            EXPECT_NEAR(Dist(pts[ring[i]], pts[ring[(i + 2) % 5]]), side * 1.6180340, 2e-3) << i;
        }
        EXPECT_NEAR(Dist(pts[u"A"], pts[u"A1"]), 8.0, 1e-3);
    };
    expectRegular();
    EXPECT_NEAR(pts[u"C"]->m_z, -5.0f, 1e-5);
    // Turning "1" tilts the pentagon about AB; it stays regular.
    auto* one = DYNAMIC_DOWNCAST(CGVerFreeUprightEquid, pts[u"1"]);
    one->m_param1 = 0.7f;
    one->SyncVertex();
    Changed(one);
    expectRegular();
    EXPECT_GT(std::abs(pts[u"D"]->m_z + 5.0f), 1.0f);
}

} // namespace
