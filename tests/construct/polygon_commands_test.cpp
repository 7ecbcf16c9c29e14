// The polygon commands: the default figures with their fixed names, places, label offsets and
// counts, the figures on selected points, the inscribed polygon with its remembered side count,
// the update rules and the undo steps.
#include "construct_fixture.h"

#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "points/confined_points.h"
#include "points/misc_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"

#include <QString>

#include <cmath>
#include <string>

namespace {

using PolygonCommands = ConstructTest;

struct CCorner {
    const char16_t* name;
    double x, y;
};

struct CDefaultFigure {
    UINT id;
    const char16_t* undo;
    int cells;
    std::vector<CCorner> corners; // the named points, in id order
    std::vector<const char16_t*> hidden;
};

const double kRoot3 = std::sqrt(3.0);

const CDefaultFigure kDefaults[] = {
    {ID_CREATE_PLANE_EQUILATERAL,
     u"添加等边三角形",
     7,
     {{u"A", -5, -5}, {u"B", 5, -5}, {u"C", 0, 5 * kRoot3 - 5}},
     {}},
    {ID_CREATE_PLANE_SQUARE,
     u"添加正方形",
     9,
     {{u"A", -5, -5}, {u"B", 5, -5}, {u"D", -5, 5}, {u"C", 5, 5}},
     {}},
    {ID_CREATE_PLANE_RECT,
     u"添加矩形",
     10,
     {{u"A", -6, -4}, {u"B", 6, -4}, {u"A'", -6, -4}, {u"D", -6, 4}, {u"C", 6, 4}},
     {u"A'"}},
    {ID_CREATE_PLANE_FIVE,
     u"添加正五边形",
     11,
     {{u"A", -4, -6},
      {u"B", 4, -6},
      {u"C", 6.472136, 1.608452},
      {u"D", 0, 6.310879},
      {u"E", -6.472136, 1.608452}},
     {}},
    {ID_CREATE_PLANE_SIX,
     u"添加正六边形",
     13,
     {{u"A", -3, -5},
      {u"B", 3, -5},
      {u"C", 6, 3 * kRoot3 - 5},
      {u"F", -6, 3 * kRoot3 - 5},
      {u"D", 3, 6 * kRoot3 - 5},
      {u"E", -3, 6 * kRoot3 - 5}},
     {}},
    {ID_CREATE_PLANE_ISOCELES,
     u"添加等腰三角形",
     9,
     {{u"B", -5, -6}, {u"C", 5, -6}, {u"D", 0, -6}, {u"D'", 0, -6}, {u"A", 0, 6}},
     {u"D", u"D'"}},
    {ID_CREATE_PLANE_PARALL,
     u"添加平行四边形",
     9,
     {{u"A", -5, -3}, {u"B", 5, -3}, {u"D", -2, 3}, {u"C", 8, 3}},
     {}},
};

TEST_F(PolygonCommands, DefaultFiguresHaveTheirFixedNamesPlacesAndCounts) {
    for (const CDefaultFigure& figure : kDefaults) {
        SCOPED_TRACE(CString(figure.undo).ToQString().toStdString());
        Select({});
        // The fixed names are taken even when the page already uses them.
        m_page->m_labelLetter = 'A';
        const WORD first = m_page->m_nextId;
        const PageSnapshot before = TakeSnapshot(*m_page);
        ASSERT_TRUE(Run(figure.id));
        ASSERT_EQ(m_page->m_nextId - first, figure.cells);
        ExpectUndoStep<CCmdAddCells>(figure.undo, figure.cells);
        std::vector<CGVertex*> points;
        int faces = 0, segments = 0;
        for (CGCell* cell : MadeFrom(first)) {
            ASSERT_NE(cell, nullptr);
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, cell))
                points.push_back(p);
            else if (cell->IsKindOf(RUNTIME_CLASS(CGFace)))
                ++faces;
            else if (auto* line = DYNAMIC_DOWNCAST(CGLine, cell); line && line->m_kind == CGLine::kSegment)
                ++segments;
        }
        EXPECT_EQ(faces, 1);
        ASSERT_EQ(points.size(), figure.corners.size());
        EXPECT_EQ(segments, figure.cells - 1 - int(points.size()));
        for (size_t i = 0; i < points.size(); ++i) {
            const CCorner& corner = figure.corners[i];
            EXPECT_EQ(points[i]->m_name, CString(corner.name));
            // Single-precision turns, one after another: a few ten-thousandths off.
            EXPECT_NEAR(points[i]->m_x, corner.x, 5e-4) << i;
            EXPECT_NEAR(points[i]->m_y, corner.y, 5e-4) << i;
            bool hidden = false;
            for (const char16_t* name : figure.hidden)
                hidden = hidden || CString(name) == points[i]->m_name;
            EXPECT_EQ(points[i]->m_hidden != 0, hidden) << i;
        }
        // The first vertex is free in space, the second tied to it.
        EXPECT_TRUE(points[0]->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)));
        EXPECT_TRUE(points[1]->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)));
        EXPECT_FLOAT_EQ(points[0]->m_labelOffset[0], -1.1f);
        EXPECT_FLOAT_EQ(points[0]->m_labelOffset[1], -0.8f);
        EXPECT_FLOAT_EQ(points[1]->m_labelOffset[1], -0.8f);
        ExpectUndoRedo(before);
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    }
}

TEST_F(PolygonCommands, DefaultFiguresScaleWithTheUnitLength) {
    g_unitLength = 0.1f; // s = 2
    ASSERT_TRUE(Run(ID_CREATE_PLANE_SQUARE));
    auto* d = Cell<CGVertex>(3);
    ASSERT_NE(d, nullptr);
    EXPECT_NEAR(d->m_x, -10.0, 1e-4);
    EXPECT_NEAR(d->m_y, 10.0, 1e-4);
    EXPECT_FLOAT_EQ(d->m_labelOffset[0], -2.2f);
    EXPECT_FLOAT_EQ(d->m_labelOffset[1], -1.0f);
    // The raised helper of the rectangle stays 1.0 above A whatever the unit.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    ASSERT_TRUE(Run(ID_CREATE_PLANE_RECT));
    auto* a = Cell<CGVertex>(1);
    auto* raised = Cell<CGVertex>(3);
    ASSERT_NE(raised, nullptr);
    EXPECT_NEAR(raised->m_z - a->m_z, 1.0, 1e-6);
    EXPECT_NEAR(Cell<CGVertex>(4)->m_y, 8.0, 1e-4) << "D at 8 s from A";
}

TEST_F(PolygonCommands, DraggingTheSecondVertexTurnsTheSquare) {
    ASSERT_TRUE(Run(ID_CREATE_PLANE_SQUARE));
    auto* b = Cell<CGVertex>(2);
    // B moved to (-5, 5): the side AB now runs along +y, so D lies at A + (-10, 0).
    MovePoint(b, -5.0f, 5.0f, 0.0f);
    ExpectValidAt(*Cell<CGVertex>(3), -15.0, -5.0, 0.0, 1e-4);
    ExpectValidAt(*Cell<CGVertex>(4), -15.0, 5.0, 0.0, 1e-4);
}

struct COnPoints {
    UINT id;
    const char16_t* undo;
    int cells;
    std::vector<CCorner> made; // the new points in id order
};

// Two selected points (0, 0, 0) and (4, 0, 0): the figures start level, on the left of P1 -> P2.
const COnPoints kOnTwoPoints[] = {
    {ID_CREATE_PLANE_EQUILATERAL, u"添加等边三角形", 4, {{u"C", 2, 2 * kRoot3}}},
    {ID_CREATE_PLANE_SQUARE, u"添加正方形", 6, {{u"D", 0, 4}, {u"C", 4, 4}}},
    {ID_CREATE_PLANE_RECT, u"添加矩形", 6, {{u"D", 0, 8}, {u"C", 4, 8}}},
    {ID_CREATE_PLANE_FIVE,
     u"添加正五边形",
     12,
     {{u"0", 2, 0},
      {u"1", 2, 2},
      {u"2", 2, 3.804226},
      {u"3", 4, 3.804226},
      {u"C", 5.236068, 3.804226},
      {u"D", 2, 6.155367},
      {u"E", -1.236068, 3.804226}}},
    {ID_CREATE_PLANE_SIX,
     u"添加正六边形",
     11,
     {{u"O", 2, 2 * kRoot3},
      {u"C", 6, 2 * kRoot3},
      {u"D", 4, 4 * kRoot3},
      {u"E", 0, 4 * kRoot3},
      {u"F", -2, 2 * kRoot3}}},
    {ID_CREATE_PLANE_ISOCELES, u"添加等腰三角形", 5, {{u"D", 2, 0}, {u"C", 2, 8}}},
};

TEST_F(PolygonCommands, FiguresOnTwoPointsMakeNoFace) {
    for (const COnPoints& figure : kOnTwoPoints) {
        SCOPED_TRACE(CString(figure.undo).ToQString().toStdString());
        m_page->m_labelLetter = 'A';
        CGVertex* p1 = AddPoint(0, 0, 0);
        CGVertex* p2 = AddPoint(4, 0, 0);
        Select({p1->m_id, p2->m_id});
        const WORD first = m_page->m_nextId;
        const PageSnapshot before = TakeSnapshot(*m_page);
        ASSERT_TRUE(Run(figure.id));
        ASSERT_EQ(m_page->m_nextId - first, figure.cells);
        ExpectUndoStep<CCmdAddCells>(figure.undo, figure.cells);
        size_t k = 0;
        for (CGCell* cell : MadeFrom(first)) {
            EXPECT_FALSE(cell->IsKindOf(RUNTIME_CLASS(CGFace)));
            auto* p = DYNAMIC_DOWNCAST(CGVertex, cell);
            if (!p)
                continue;
            ASSERT_LT(k, figure.made.size());
            EXPECT_EQ(p->m_name, CString(figure.made[k].name)) << k;
            EXPECT_NEAR(p->m_x, figure.made[k].x, 1e-4) << k;
            EXPECT_NEAR(p->m_y, figure.made[k].y, 1e-4) << k;
            EXPECT_NEAR(p->m_z, 0.0, 1e-4) << k;
            ++k;
        }
        EXPECT_EQ(k, figure.made.size());
        ExpectUndoRedo(before);
    }
}

TEST_F(PolygonCommands, LabelsReadInOrderAroundTheFigure) {
    CGVertex* p1 = AddPoint(0, 0, 0);
    CGVertex* p2 = AddPoint(4, 0, 0);
    m_page->m_labelLetter = 'C';
    RunOn(ID_CREATE_PLANE_SQUARE, {p1->m_id, p2->m_id});
    // The fourth vertex is made first but takes the later name.
    EXPECT_EQ(Cell<CGVertex>(3)->m_name, CString(u"D"));
    EXPECT_EQ(Cell<CGVertex>(4)->m_name, CString(u"C"));
    // The isosceles apex takes the first new name, its hidden midpoint the second.
    m_page->m_labelLetter = 'P';
    RunOn(ID_CREATE_PLANE_ISOCELES, {p1->m_id, p2->m_id});
    const WORD m = WORD(m_page->m_nextId - 4);
    EXPECT_EQ(Cell<CGVerMid>(m)->m_name, CString(u"Q"));
    EXPECT_NE(Cell<CGVerMid>(m)->m_hidden, 0);
    EXPECT_EQ(Cell<CGVerFreeUpright>(WORD(m + 1))->m_name, CString(u"P"));
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), CString(u"R"));
}

TEST_F(PolygonCommands, ParallelogramOnThreePoints) {
    CGVertex* p1 = AddPoint(0, 0, 0);
    CGVertex* p2 = AddPoint(4, 0, 0);
    CGVertex* p3 = AddPoint(5, 3, 0);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_PLANE_PARALL, {p1->m_id, p2->m_id, p3->m_id});
    ASSERT_EQ(m_page->m_nextId - first, 5);
    ExpectValidAt(*Cell<CGVerTranslate>(first), 1.0, 3.0, 0.0);
    ExpectUndoStep<CCmdAddCells>(u"添加平行四边形", 5);
}

TEST_F(PolygonCommands, UpdateRulesCountPointsOnly) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGArc* circle = AddCircle(0, 0, 0, 5);
    const struct {
        std::vector<WORD> selection;
        bool noneOrTwo, parallelogram;
    } rows[] = {
        {{}, true, true},
        {{a->m_id}, false, false},
        {{a->m_id, b->m_id}, true, false},
        {{a->m_id, b->m_id, c->m_id}, false, true},
        {{circle->m_id}, true, true},
        {{circle->m_id, a->m_id}, false, false},
    };
    for (const auto& row : rows) {
        m_page->ClearSelection();
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        EXPECT_EQ(Enabled(ID_CREATE_PLANE_POLY), row.noneOrTwo) << row.selection.size();
        EXPECT_EQ(Enabled(ID_CREATE_PLANE_SQUARE), row.noneOrTwo) << row.selection.size();
        EXPECT_EQ(Enabled(ID_CREATE_PLANE_PARALL), row.parallelogram) << row.selection.size();
    }
}

TEST_F(PolygonCommands, OtherPointCountsMakeNothing) {
    CGVertex* a = AddPoint(0, 0, 0);
    Select({a->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    ASSERT_TRUE(Run(ID_CREATE_PLANE_SQUARE));
    ASSERT_TRUE(Run(ID_CREATE_PLANE_PARALL));
    ExpectNothingDone(before);
}

TEST_F(PolygonCommands, InscribedPolygonInTheSelectedCircleRemembersItsSideCount) {
    CGArc* circle = AddCircle(1, 2, 0, 5);
    std::vector<int> offered;
    int answer = 5;
    Script<CDlgNumber>([&](CDlgNumber& dlg) {
        offered.push_back(dlg.m_number);
        dlg.m_number = answer;
    });
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_PLANE_POLY, {circle->m_id});
    ASSERT_EQ(m_page->m_nextId - first, 10);
    ExpectUndoStep<CCmdAddCells>(u"圆内接正5边形", 10);
    auto* v0 = Cell<CGVerFreeInCircle>(first);
    ASSERT_NE(v0, nullptr);
    ExpectValidAt(*v0, 1 + 5 * std::cos(1.0), 2 + 5 * std::sin(1.0), 0.0, 1e-4);
    auto* v1 = Cell<CGVerInCircleRot>(WORD(first + 1));
    ASSERT_NE(v1, nullptr);
    const double turned = 1.0 + 2 * kPi / 5;
    ExpectValidAt(*v1, 1 + 5 * std::cos(turned), 2 + 5 * std::sin(turned), 0.0, 1e-4);
    auto* closing = Cell<CGLine>(WORD(m_page->m_nextId - 1));
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(closing->m_parents[1], first);
    // The next time the dialog opens with 5; cancelling makes nothing.
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_PLANE_POLY, {circle->m_id});
    EXPECT_EQ(TakeSnapshot(*m_page), before);
    EXPECT_EQ(offered, (std::vector<int>{4, 5}));
    // A hundred sides make 200 cells.
    m_answer = IDOK;
    answer = 100;
    const WORD hundred = m_page->m_nextId;
    RunOn(ID_CREATE_PLANE_POLY, {circle->m_id});
    EXPECT_EQ(m_page->m_nextId - hundred, 200);
    ExpectUndoStep<CCmdAddCells>(u"圆内接正100边形", 200);
    // An answer past the buffer of one run makes nothing, though it is remembered.
    answer = 101;
    const WORD past = m_page->m_nextId;
    RunOn(ID_CREATE_PLANE_POLY, {circle->m_id});
    EXPECT_EQ(m_page->m_nextId, past);
    EXPECT_EQ(g_inscribedPolygonSides, 101);
}

TEST_F(PolygonCommands, InscribedPolygonWithoutACircleMakesTheDefaultTriangle) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_PLANE_POLY, {a->m_id, b->m_id});
    EXPECT_EQ(m_dialogCount, 0);
    ASSERT_EQ(m_page->m_nextId - first, 7);
    ExpectUndoStep<CCmdAddCells>(u"圆内接正3边形", 7);
    auto* circle = Cell<CGArc>(first);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->m_name.Left(1), CString(u"c"));
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 1)), 10 * std::cos(1.0), 10 * std::sin(1.0), 0.0, 1e-4);
    EXPECT_EQ(g_inscribedPolygonSides, 3);
    // The dialog then opens with 3.
    int offered = 0;
    Script<CDlgNumber>([&](CDlgNumber& dlg) { offered = dlg.m_number; });
    RunOn(ID_CREATE_PLANE_POLY, {first});
    EXPECT_EQ(offered, 3);
}

} // namespace
