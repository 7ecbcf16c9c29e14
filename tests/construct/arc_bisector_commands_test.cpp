// The arc of a circle between two selected points and the internal and external angle bisectors:
// update rules, the cells and their parents, hand-computed positions, degenerate selections, the
// undo steps with undo and redo.
#include "construct_fixture.h"

#include "points/constructed_arcs.h"
#include "points/triangle_centres.h"

#include <cmath>

namespace {

using ArcBisectorCommands = ConstructTest;

TEST_F(ArcBisectorCommands, TheArcRunsFromTheFirstSelectedPointToTheSecondWhereverTheCircleStands) {
    CGArc* circle = AddCircle(0, 0, 0, 2); // U along x, V along y
    CGVertex* a = AddPoint(2, 0, 0);       // angle 0
    CGVertex* b = AddPoint(0, 2, 0);       // angle pi/2
    const struct {
        std::vector<WORD> selection;
        double start, end;
    } rows[] = {
        {{circle->m_id, a->m_id, b->m_id}, 0.0, kPi / 2},
        {{a->m_id, circle->m_id, b->m_id}, 0.0, kPi / 2},
        {{a->m_id, b->m_id, circle->m_id}, 0.0, kPi / 2},
        // The other order gives the other arc: from pi/2 round to 2 pi.
        {{b->m_id, a->m_id, circle->m_id}, kPi / 2, 2 * kPi},
    };
    for (const auto& row : rows) {
        m_page->ClearSelection();
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        ASSERT_TRUE(Enabled(ID_CREATE_CIRCLE_ARC));
        const PageSnapshot before = TakeSnapshot(*m_page);
        const DWORD vertex = m_page->m_nextVertex;
        Run(ID_CREATE_CIRCLE_ARC);
        EXPECT_EQ(ClassesFrom(before.nextId), std::vector<std::string>{"CGArcInCircle"});
        auto* arc = Cell<CGArcInCircle>(before.nextId);
        ASSERT_NE(arc, nullptr);
        const WORD first = row.selection[0] == circle->m_id ? row.selection[1] : row.selection[0];
        const WORD second = first == a->m_id ? b->m_id : a->m_id;
        EXPECT_EQ(Parents(arc), (std::vector<WORD>{first, second, circle->m_id}));
        EXPECT_TRUE(arc->m_valid);
        EXPECT_EQ(arc->m_kind, CGArc::kArc);
        EXPECT_NEAR(arc->m_startAngle, row.start, 1e-5);
        EXPECT_NEAR(arc->m_endAngle, row.end, 1e-5);
        EXPECT_EQ(m_page->m_nextVertex, vertex); // no point made
        ExpectUndoStep<CCmdAddCell>(u"添加圆上的弧");
        ExpectUndoRedo(before);
    }
}

TEST_F(ArcBisectorCommands, TheArcCommandWantsTwoPointsAndOneCircle) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    CGArc* other = AddCircle(0, 0, 1, 3);
    CGVertex* a = AddPoint(2, 0, 0);
    CGVertex* b = AddPoint(0, 2, 0);
    CGVertex* c = AddPoint(-2, 0, 0);
    Select({a->m_id, circle->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_CIRCLE_ARC));
    Select({a->m_id, b->m_id, c->m_id, circle->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_CIRCLE_ARC));
    Select({a->m_id, b->m_id, circle->m_id, other->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_CIRCLE_ARC));
    Select({a->m_id, b->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_CIRCLE_ARC));
    // A curve list holding something that is no circle (a stale list): nothing is made.
    CGLine* line = Line(0, 0, 0, 1, 0, 0);
    Select({a->m_id, b->m_id});
    m_page->m_selCurves.AddTail(line->m_id);
    EXPECT_FALSE(Enabled(ID_CREATE_CIRCLE_ARC));
    const PageSnapshot before = TakeSnapshot(*m_page);
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;
    m_doc->OnCreateCircleArc();
    ExpectNothingDone(before);
}

TEST_F(ArcBisectorCommands, DegenerateArcsAreMadeAndFollowTheirPoints) {
    CGArc* circle = AddCircle(1, 1, 0, 2);
    CGVertex* a = AddPoint(3, 1, 0);
    CGVertex* same = AddPoint(3, 1, 0); // on A
    CGVertex* off = AddPoint(6, 6, 4);  // off the circle and its plane: its direction counts
    RunOn(ID_CREATE_CIRCLE_ARC, {a->m_id, same->m_id, circle->m_id});
    auto* empty = Cell<CGArcInCircle>(m_page->m_nextId - 1);
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->m_valid);
    EXPECT_EQ(empty->m_startAngle, empty->m_endAngle); // no sweep
    RunOn(ID_CREATE_CIRCLE_ARC, {a->m_id, off->m_id, circle->m_id});
    auto* arc = Cell<CGArcInCircle>(m_page->m_nextId - 1);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->m_startAngle, 0.0, 1e-6);
    EXPECT_NEAR(arc->m_endAngle, kPi / 4, 1e-5);
    EXPECT_FLOAT_EQ(arc->m_radius, 2.0f);
    // Dragging a point moves the end; an invalid circle makes the arc invalid until it is back.
    MovePoint(off, 1, -5, 0);
    EXPECT_NEAR(arc->m_endAngle, 3 * kPi / 2, 1e-5);
    circle->m_valid = false;
    MovePoint(a, 3, 1, 0);
    EXPECT_FALSE(arc->m_valid);
    circle->m_valid = true;
    MovePoint(a, 3, 1, 0);
    EXPECT_TRUE(arc->m_valid);
}

TEST_F(ArcBisectorCommands, BisectorRaysOfTheAngleAtTheSecondPoint) {
    // The angle ABC of 60 degrees at B: BA along x (length 4), BC at 60 degrees (length 2).
    const float s3 = std::sqrt(3.0f);
    CGVertex* a = AddPoint(4, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(1, s3, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    const struct {
        UINT id;
        const char* cls;
        const char16_t* undo;
        double x, y; // where the point lies: on AC at 30 degrees, on line AC at 120 degrees
    } rows[] = {
        // AC divided in the ratio |BA| : |BC| = 2 : 1, internally and externally.
        {ID_CREATE_LINE_ANGLE, "CGVerBisectorA", u"添加角平分线", 2.0, 2.0 * s3 / 3.0},
        {ID_CREATE_LINE_ANGLE_E, "CGVerBisectorEA", u"添加外角平分线", -2.0, 2.0 * s3},
    };
    for (const auto& row : rows) {
        Select({a->m_id, ab->m_id, b->m_id, c->m_id}); // a selected line does not disable it
        ASSERT_TRUE(Enabled(row.id));
        const PageSnapshot before = TakeSnapshot(*m_page);
        Run(row.id);
        EXPECT_EQ(ClassesFrom(before.nextId), (std::vector<std::string>{row.cls, "CGLine"}));
        CGVertex* on = Cell<CGVertex>(before.nextId);
        auto* ray = Cell<CGLine>(WORD(before.nextId + 1));
        ASSERT_NE(on, nullptr);
        ASSERT_NE(ray, nullptr);
        EXPECT_EQ(Parents(on), (std::vector<WORD>{a->m_id, b->m_id, c->m_id}));
        EXPECT_EQ(Parents(ray), (std::vector<WORD>{b->m_id, on->m_id}));
        EXPECT_EQ(ray->m_kind, CGLine::kRay);
        EXPECT_TRUE(ray->m_valid);
        ExpectNear(*on, row.x, row.y, 0, 1e-5);
        ExpectUndoStep<CCmdAddCells>(row.undo, 2);
        ExpectUndoRedo(before);
        Select({a->m_id, b->m_id});
        EXPECT_FALSE(Enabled(row.id));
    }
    // The ray follows: with C moved to (0, 2, 0) the angle is right and the internal point lies at
    // 45 degrees on AC, at (4/3, 4/3) (AC divided 2 : 1).
    MovePoint(c, 0, 2, 0);
    ExpectNear(*Cell<CGVertex>(WORD(ab->m_id + 1)), 4.0 / 3.0, 4.0 / 3.0, 0, 1e-5);
}

TEST_F(ArcBisectorCommands, BisectorsOfDegenerateAnglesAreMadeWithFiniteValues) {
    CGVertex* a = AddPoint(1, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0); // the vertex on A
    CGVertex* c = AddPoint(1, 2, 0);
    for (UINT id : {ID_CREATE_LINE_ANGLE, ID_CREATE_LINE_ANGLE_E}) {
        const WORD first = m_page->m_nextId;
        RunOn(id, {a->m_id, b->m_id, c->m_id});
        ASSERT_EQ(m_page->m_nextId, first + 2);
        CGVertex* on = Cell<CGVertex>(first);
        ASSERT_NE(on, nullptr);
        EXPECT_TRUE(std::isfinite(on->m_x) && std::isfinite(on->m_y) && std::isfinite(on->m_z));
    }
    // All three on one place: the points stay there, nothing becomes infinite.
    MovePoint(c, 1, 0, 0);
    for (WORD id = WORD(c->m_id + 1); id < m_page->m_nextId; id += 2) {
        CGVertex* on = Cell<CGVertex>(id);
        ASSERT_NE(on, nullptr);
        ExpectNear(*on, 1, 0, 0);
    }
    // B between A and C (a straight angle): the internal point is B itself, the external one lies on
    // line AC.
    MovePoint(a, -1, 0, 0);
    MovePoint(b, 0, 0, 0);
    MovePoint(c, 2, 0, 0);
    ExpectNear(*Cell<CGVertex>(WORD(c->m_id + 1)), 0, 0, 0);
    ExpectNear(*Cell<CGVertex>(WORD(c->m_id + 3)), -4, 0, 0, 1e-5);
}

} // namespace
