// The face, circle, sphere and frame commands: their update rules, the cells each makes from the
// selection and as a default figure (classes, order, names, parents, positions, attributes), the
// branches that make nothing, and undo and redo of the one step each records.
#include "construct_fixture.h"

#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "points/constructed_arcs.h"
#include "solids/revolution_constructed.h"
#include "view/view_colors.h"

#include <cmath>

namespace {

class FaceCircleCommands : public ConstructTest {
protected:
    // Five points of a pentagon in the plane z = 1.
    std::vector<WORD> Pentagon() {
        std::vector<WORD> ids;
        for (int i = 0; i < 5; ++i) {
            const double a = 2.0 * kPi * i / 5;
            ids.push_back(AddPoint(float(4 * std::cos(a)), float(4 * std::sin(a)), 1)->m_id);
        }
        return ids;
    }
    void SelectFirst(const std::vector<WORD>& ids, int n) {
        Select({});
        for (int i = 0; i < n; ++i)
            m_page->SelectCell(ids[size_t(i)]);
    }
    static double Length(const float v[3]) { return std::hypot(double(v[0]), double(v[1]), double(v[2])); }
};

TEST_F(FaceCircleCommands, UpdateRulesCountTheSelection) {
    const std::vector<WORD> p = Pentagon();
    CGLine* line = AddLine(p[0], p[1]);
    const struct {
        int points;
        bool withLine, face, threePoints, ball, geo;
    } rows[] = {
        {0, false, false, false, true, true},   {0, true, false, false, true, true},
        {1, false, false, false, false, false}, {2, false, false, false, true, true},
        {2, true, false, false, true, false},   {3, false, true, true, false, false},
        {3, true, true, false, false, false},   {4, false, true, false, false, false},
        {5, true, true, false, false, false},
    };
    for (const auto& row : rows) {
        SelectFirst(p, row.points);
        if (row.withLine)
            m_page->SelectCell(line->m_id);
        SCOPED_TRACE(testing::Message() << row.points << (row.withLine ? " and a line" : ""));
        EXPECT_EQ(Enabled(ID_CREATE_FACE), row.face);
        for (UINT id : {ID_CREATE_CIRCLE_3P, ID_CREATE_CIRCLE_CP, ID_CREATE_CIRCLE_PN})
            EXPECT_EQ(Enabled(id), row.threePoints) << id;
        EXPECT_EQ(Enabled(ID_CREATE_BALL), row.ball);
        EXPECT_EQ(Enabled(ID_CREATE_GEO), row.geo);
        for (UINT id : {ID_CREATE_CIRCLE_PNZ2, ID_CREATE_CIRCLE_CR, ID_CREATE_BASE})
            EXPECT_TRUE(Enabled(id)) << id;
    }
}

TEST_F(FaceCircleCommands, AFaceThroughFivePointsInSelectionOrderTakesTheNextColours) {
    const std::vector<WORD> p = Pentagon();
    const PageSnapshot before = TakeSnapshot(*m_page);
    const COLORREF first = NextAutoColor(), second = NextAutoColor();
    HxResetAutoColors();
    const WORD id = m_page->m_nextId;
    RunOn(ID_CREATE_FACE, {p[2], p[0], p[4], p[1], p[3]});
    auto* face = Cell<CGFace>(id);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(Parents(face), (std::vector<WORD>{p[2], p[0], p[4], p[1], p[3]}));
    EXPECT_EQ(face->m_color.ToColorRef(), first);
    EXPECT_EQ(face->m_style, 0) << "a hidden-surface face";
    ExpectUndoStep<CCmdAddCell>(u"添加消隐面");
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    ExpectUndoRedo(before);
    RunOn(ID_CREATE_FACE, {p[0], p[1], p[2]});
    EXPECT_EQ(Cell<CGFace>(WORD(m_page->m_nextId - 1))->m_color.ToColorRef(), second);
}

TEST_F(FaceCircleCommands, CirclesOnThreePoints) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(3, 0, 0);
    CGVertex* b = AddPoint(0, 3, 0);
    const struct {
        UINT id;
        const char* cls;
        const char16_t* undo;
    } rows[] = {{ID_CREATE_CIRCLE_3P, "CGArcCircle3P", u"添加过三点的圆"},
                {ID_CREATE_CIRCLE_CP, "CGArcCenterP", u"添加心点圆"},
                {ID_CREATE_CIRCLE_PN, "CGArcPointN", u"添加已知圆心和法向点的圆"},
                {ID_CREATE_CIRCLE_PNZ2, "CGArcPointN", u"添加已知圆心和法向点的圆"}};
    for (const auto& row : rows) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD id = m_page->m_nextId;
        RunOn(row.id, {o->m_id, a->m_id, b->m_id});
        ASSERT_EQ(ClassesFrom(id), std::vector<std::string>{row.cls}) << row.id;
        auto* circle = Cell<CGArc>(id);
        EXPECT_EQ(Parents(circle), (std::vector<WORD>{o->m_id, a->m_id, b->m_id}));
        EXPECT_EQ(circle->m_kind, CGArc::kCircle);
        EXPECT_EQ(circle->m_extA2, 0) << "not reversed";
        ExpectUndoStep<CCmdAddCell>(row.undo);
        ExpectUndoRedo(before);
    }
    // About O through A square to OB: the radius is 3.
    EXPECT_FLOAT_EQ(Cell<CGArc>(WORD(m_page->m_nextId - 1))->m_radius, 3.0f);
}

TEST_F(FaceCircleCommands, HorizontalCirclesFromNothingOneOrTwoPoints) {
    // Nothing selected: a free centre at the origin and a point sliding parallel to x.
    const PageSnapshot empty = TakeSnapshot(*m_page);
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_CIRCLE_PNZ2, {});
    ASSERT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeParVector", "CGArcPoint2"}));
    auto* centre = Cell<CGVerFreeXyz>(first);
    auto* through = Cell<CGVerFreeParVector>(WORD(first + 1));
    auto* circle = Cell<CGArcPoint2>(WORD(first + 2));
    ExpectValidAt(*centre, 0, 0, 0);
    EXPECT_EQ(Parents(through), std::vector<WORD>{centre->m_id});
    EXPECT_FLOAT_EQ(through->m_dir[0], 1.0f);
    EXPECT_EQ(Parents(circle), (std::vector<WORD>{centre->m_id, through->m_id}));
    EXPECT_EQ(circle->m_style, 3);
    EXPECT_EQ(circle->m_kind, CGArc::kCircle);
    EXPECT_FLOAT_EQ(circle->m_radius, 8.0f);
    EXPECT_EQ(centre->m_name, CString(u"A"));
    ExpectUndoStep<CCmdAddCells>(u"添加水平放置的圆", 3);
    ExpectUndoRedo(empty);

    CGVertex* p = AddPoint(1, 2, 3);
    CGVertex* q = AddPoint(4, 6, 9);
    first = m_page->m_nextId;
    RunOn(ID_CREATE_CIRCLE_PNZ2, {p->m_id});
    EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGVerFreeParVector", "CGArcPoint2"}));
    ExpectUndoStep<CCmdAddCells>(u"添加水平放置的圆", 2);
    first = m_page->m_nextId;
    RunOn(ID_CREATE_CIRCLE_PNZ2, {p->m_id, q->m_id});
    EXPECT_EQ(ClassesFrom(first), std::vector<std::string>{"CGArcPoint2"});
    EXPECT_EQ(Parents(Cell<CGCell>(first)), (std::vector<WORD>{p->m_id, q->m_id}));
    EXPECT_FLOAT_EQ(Cell<CGArc>(first)->m_radius, 5.0f) << "the horizontal distance";
    ExpectUndoStep<CCmdAddCells>(u"添加水平放置的圆", 1);

    // Four points reach the routine only from outside the ribbon: nothing happens.
    CGVertex* r = AddPoint(0, 1, 0);
    CGVertex* s = AddPoint(0, 2, 0);
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;
    const PageSnapshot before = TakeSnapshot(*m_page);
    const int steps = m_page->m_cmdProcessor.GetCount();
    Select({p->m_id, q->m_id, r->m_id, s->m_id});
    m_doc->OnCreateCircleHorizontal();
    ExpectNothingDone(before, steps);
}

TEST_F(FaceCircleCommands, ACentreRadiusCircleOnANewParameterWithItsSlider) {
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_CIRCLE_CR, {});
    ASSERT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGTmVarParameter", "CGArcCenterR"}));
    auto* r = Cell<CGTmVarParameter>(WORD(first + 1));
    EXPECT_EQ(r->m_name, CString(u"r"));
    EXPECT_FLOAT_EQ(r->m_param1, 8.0f);
    EXPECT_FLOAT_EQ(r->m_minimum, 0.0f);
    EXPECT_FLOAT_EQ(r->m_maximum, 10.0f);
    EXPECT_EQ(r->m_kind, 1) << "the slider shown";
    auto* circle = Cell<CGArcCenterR>(WORD(first + 2));
    EXPECT_EQ(Parents(circle), (std::vector<WORD>{first, r->m_id}));
    EXPECT_EQ(circle->m_style, 3);
    EXPECT_TRUE(circle->m_valid);
    EXPECT_FLOAT_EQ(circle->m_radius, 8.0f);
    ExpectUndoStep<CCmdAddCells>(u"添加心径圆", 3);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(CellCount(), 0);
    EXPECT_EQ(m_page->m_nextId, first);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(ClassesFrom(first).size(), 3u);

    // A selected point and value: only the circle, its radius the value.
    CGVertex* o = AddPoint(1, 1, 1);
    CGTmVariable* value = AddValue(2.5f, u"m");
    first = m_page->m_nextId;
    RunOn(ID_CREATE_CIRCLE_CR, {o->m_id, value->m_id});
    ASSERT_EQ(ClassesFrom(first), std::vector<std::string>{"CGArcCenterR"});
    EXPECT_EQ(Parents(Cell<CGCell>(first)), (std::vector<WORD>{o->m_id, value->m_id}));
    EXPECT_FLOAT_EQ(Cell<CGArc>(first)->m_radius, 2.5f);
    ExpectUndoStep<CCmdAddCells>(u"添加心径圆", 1);

    // A vector is no radius, nor is one of two values: a new parameter stands in.
    CGTmVector* vector = Vector(u"v", 1, 2, 3);
    CGTmVariable* other = AddValue(1.0f, u"n");
    for (auto selection : {std::vector<WORD>{o->m_id, vector->m_id}, {o->m_id, value->m_id, other->m_id}}) {
        first = m_page->m_nextId;
        Select({});
        for (WORD id : selection)
            m_page->SelectCell(id);
        Run(ID_CREATE_CIRCLE_CR);
        EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGTmVarParameter", "CGArcCenterR"}));
        ExpectUndoStep<CCmdAddCells>(u"添加心径圆", 2);
    }
}

TEST_F(FaceCircleCommands, TheSphereBodyFromNothingIsFourteenCellsTiedToOAndN) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_BALL, {});
    ASSERT_EQ(
        ClassesFrom(first),
        (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeParVector", "CGSphereCN", "CGVerFreeUprightEquid",
                                  "CGArcPointN", "CGVerFreeInCircle", "CGArcCenterP", "CGVerFreeInCircle",
                                  "CGVerFootpl", "CGArcPointN", "CGLine", "CGLine", "CGLine", "CGFace"}));
    ExpectUndoStep<CCmdAddCells>(u"添加球体", 14);
    const WORD o = first, n = WORD(first + 1), e = WORD(first + 3), equator = WORD(first + 4);
    const WORD q = WORD(first + 5), meridian = WORD(first + 6), r = WORD(first + 7), o1 = WORD(first + 8);
    EXPECT_EQ(Cell<CGVertex>(o)->m_name, CString(u"O"));
    EXPECT_EQ(Cell<CGVertex>(n)->m_name, CString(u"A"));
    EXPECT_EQ(Cell<CGVertex>(o1)->m_name, CString(u"O'"));
    ExpectValidAt(*Cell<CGVertex>(n), 0, 0, 8);
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 2))), (std::vector<WORD>{o, n}));
    EXPECT_EQ(Parents(Cell<CGCell>(e)), (std::vector<WORD>{o, n}));
    EXPECT_EQ(Parents(Cell<CGCell>(equator)), (std::vector<WORD>{o, e, n}));
    EXPECT_EQ(Parents(Cell<CGCell>(q)), std::vector<WORD>{equator});
    EXPECT_FLOAT_EQ(Cell<CGCell>(q)->m_param1, 2.8f);
    auto* m = Cell<CGArcCenterP>(meridian);
    EXPECT_EQ(Parents(m), (std::vector<WORD>{o, n, q}));
    EXPECT_FLOAT_EQ(m->m_endAngle, 3.14159274f);
    EXPECT_FALSE(m->m_sweepFromPoints);
    EXPECT_FLOAT_EQ(Cell<CGCell>(r)->m_param1, 0.8f);
    EXPECT_EQ(Parents(Cell<CGCell>(o1)), (std::vector<WORD>{r, o, n}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 9))), (std::vector<WORD>{o1, r, n}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 10))), (std::vector<WORD>{o, o1}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 11))), (std::vector<WORD>{o, r}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 12))), (std::vector<WORD>{o1, r}));
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 13))), (std::vector<WORD>{o, o1, r}));
    // Everything valid, R on the sphere and O' its foot on the axis.
    for (CGCell* cell : MadeFrom(first))
        EXPECT_TRUE(cell->m_valid) << cell->GetRuntimeClass()->m_lpszClassName;
    auto* pr = Cell<CGVertex>(r);
    EXPECT_NEAR(std::hypot(pr->m_x, pr->m_y, pr->m_z), 8.0, 1e-4);
    ExpectValidAt(*Cell<CGVertex>(o1), 0, 0, pr->m_z);
    ExpectUndoRedo(before);

    // On two selected points: twelve cells.
    CGVertex* c = AddPoint(1, 1, 1);
    CGVertex* pole = AddPoint(1, 1, 4);
    const WORD next = m_page->m_nextId;
    RunOn(ID_CREATE_BALL, {c->m_id, pole->m_id});
    EXPECT_EQ(ClassesFrom(next).size(), 12u);
    EXPECT_EQ(Parents(Cell<CGCell>(next)), (std::vector<WORD>{c->m_id, pole->m_id}));
    ExpectUndoStep<CCmdAddCells>(u"添加球体", 12);
}

TEST_F(FaceCircleCommands, TheGeometricSphereAndTheBranchesThatMakeNothing) {
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_GEO, {});
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeParVector", "CGSphereCN",
                                        "CGVerFreeUprightEquid", "CGArcPointN"}));
    EXPECT_EQ(Cell<CGVertex>(first)->m_name, CString(u"O"));
    ExpectUndoStep<CCmdAddCells>(u"添加球", 5);
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(0, 0, 2);
    CGVertex* c = AddPoint(0, 1, 2);
    const WORD next = m_page->m_nextId;
    RunOn(ID_CREATE_GEO, {a->m_id, b->m_id});
    EXPECT_EQ(ClassesFrom(next),
              (std::vector<std::string>{"CGSphereCN", "CGVerFreeUprightEquid", "CGArcPointN"}));
    EXPECT_FLOAT_EQ(Cell<CGSphereCN>(next)->m_radius, 2.0f);
    ExpectUndoStep<CCmdAddCells>(u"添加球", 3);

    // One point (either sphere), three points (the geometric sphere): nothing at all.
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;
    const int steps = m_page->m_cmdProcessor.GetCount();
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_BALL, {a->m_id});
    RunOn(ID_CREATE_GEO, {a->m_id});
    Select({a->m_id, b->m_id, c->m_id});
    m_doc->OnCreateGeo();
    ExpectNothingDone(before, steps);
    // The sphere body takes the first two of three points.
    const WORD last = m_page->m_nextId;
    m_doc->OnCreateBall();
    EXPECT_EQ(Parents(Cell<CGCell>(last)), (std::vector<WORD>{a->m_id, b->m_id}));
}

TEST_F(FaceCircleCommands, TheFrameOnANewOriginOrTheSelectedPoint) {
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_BASE, {});
    ASSERT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVertex", "CGVerFreeParVector", "CGVerFreeParVector",
                                        "CGVerFreeParVector", "CGLine", "CGLine", "CGLine"}));
    ExpectUndoStep<CCmdAddCells>(u"添加标架", 7);
    EXPECT_EQ(Cell<CGVertex>(first)->m_name, CString(u"O"));
    EXPECT_EQ(m_page->m_labelLetter, 'A') << "fixed names take no automatic ones";
    const char16_t* names[3] = {u"x", u"y", u"z"};
    const CRgba colors[3] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    for (int i = 0; i < 3; ++i) {
        auto* end = Cell<CGVerFreeParVector>(WORD(first + 1 + i));
        EXPECT_EQ(end->m_name, CString(names[i]));
        EXPECT_EQ(end->m_style, 2);
        EXPECT_FLOAT_EQ(end->m_param1, 12.0f);
        ExpectValidAt(*end, i == 0 ? 12 : 0, i == 1 ? 12 : 0, i == 2 ? 12 : 0);
        auto* arrow = Cell<CGLine>(WORD(first + 4 + i));
        EXPECT_EQ(Parents(arrow), (std::vector<WORD>{first, end->m_id}));
        EXPECT_EQ(arrow->m_kind, CGLine::kVector);
        EXPECT_EQ(arrow->m_color, colors[i]);
    }

    // The length follows the unit length; one selected point is the origin.
    g_unitLength = 0.1f;
    CGVertex* p = AddPoint(1, 2, 3);
    const WORD next = m_page->m_nextId;
    RunOn(ID_CREATE_BASE, {p->m_id});
    EXPECT_EQ(ClassesFrom(next).size(), 6u);
    ExpectUndoStep<CCmdAddCells>(u"添加标架", 6);
    ExpectValidAt(*Cell<CGVertex>(next), 25, 2, 3);
    // Two points: a new origin again.
    CGVertex* q = AddPoint(0, 0, 1);
    const WORD third = m_page->m_nextId;
    RunOn(ID_CREATE_BASE, {p->m_id, q->m_id});
    EXPECT_EQ(ClassesFrom(third).size(), 7u);
}

TEST_F(FaceCircleCommands, WithoutRoomForItsPointsACommandMakesNothing) {
    CGVertex* a = AddPoint(0, 0, 0);
    g_vertexArrayCapacity = int(m_page->m_nextVertex);
    HxSetVertexArrayGrowthFails(true);
    const PageSnapshot before = TakeSnapshot(*m_page);
    for (UINT id : {ID_CREATE_CIRCLE_PNZ2, ID_CREATE_BALL, ID_CREATE_GEO, ID_CREATE_BASE})
        RunOn(id, {});
    RunOn(ID_CREATE_CIRCLE_PNZ2, {a->m_id});
    EXPECT_EQ(m_messages.size(), 5u);
    ExpectNothingDone(before);
}

} // namespace
