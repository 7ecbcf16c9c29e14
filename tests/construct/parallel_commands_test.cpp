// Parallel and perpendicular constructions: the points on parallels, parallel lines, the common
// perpendicular, the parallel copy of a face and the perpendicular square, with their update rules,
// cells, undo steps and the direction dialog.
#include "construct_fixture.h"

#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "points/misc_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "view/view_colors.h"

#include <cmath>

namespace {

using ParallelCommands = ConstructTest;

TEST_F(ParallelCommands, UpdateRulesFollowTheSelectionCounts) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGLine* bc = AddLine(b->m_id, c->m_id);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    const UINT parL = ID_CREATE_POINT_PAR_L, parV = ID_CREATE_POINT_PAR_V, lines = ID_CREATE_LINE_PARALLEL,
               common = ID_CREATE_LINE_COMMON, parface = ID_CREATE_FACE_PARFACE,
               perline = ID_CREATE_FACE_PERLINE;
    const struct {
        std::vector<WORD> selection;
        std::vector<UINT> on, off;
    } rows[] = {
        {{a->m_id, b->m_id, c->m_id}, {parL}, {parV, lines, common}},
        {{a->m_id}, {parV}, {parL, lines, parface}},
        {{a->m_id, ab->m_id, bc->m_id}, {lines, common}, {perline}},
        {{a->m_id, b->m_id, c->m_id, ab->m_id}, {lines, parL, perline}, {parV}},
        {{a->m_id, b->m_id, ab->m_id, bc->m_id}, {common}, {lines}},
        {{a->m_id, face->m_id}, {parface, parV}, {lines}},
        {{ab->m_id}, {perline}, {lines, common}},
    };
    for (const auto& row : rows) {
        Select({});
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        for (UINT id : row.on)
            EXPECT_TRUE(Enabled(id)) << id << " with " << row.selection.size() << " selected";
        for (UINT id : row.off)
            EXPECT_FALSE(Enabled(id)) << id << " with " << row.selection.size() << " selected";
    }
}

TEST_F(ParallelCommands, PointsOnParallelsToALineOrATypedDirection) {
    CGVertex* a = AddPoint(1, 1, 1);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(0, 2, 0);
    RunOn(ID_CREATE_POINT_PAR_L, {a->m_id, b->m_id, c->m_id});
    auto* q = LastAt<CGVerFreeParVecPP>(1, 9, 1);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(Parents(q), (std::vector<WORD>{a->m_id, b->m_id, c->m_id}));
    ExpectUndoStep<CCmdAddCell>(u"添加平行线上点");

    // The dialog opens with 1, 1, 1 every time; Cancel makes nothing.
    std::vector<float> shown;
    Script<CDlgVector>([&](CDlgVector& dlg) {
        EXPECT_EQ(dlg.m_nIDTemplate, 197u);
        shown = {dlg.m_x, dlg.m_y, dlg.m_z};
        dlg.m_x = 0;
        dlg.m_y = 0;
        dlg.m_z = -2;
    });
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_POINT_PAR_V, {a->m_id});
    EXPECT_EQ(shown, (std::vector<float>{1, 1, 1}));
    EXPECT_EQ(TakeSnapshot(*m_page), before);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 1);
    m_answer = IDOK;
    RunOn(ID_CREATE_POINT_PAR_V, {a->m_id});
    EXPECT_EQ(shown, (std::vector<float>{1, 1, 1}));
    auto* v = LastAt<CGVerFreeParVector>(1, 1, -7);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->m_dir[2], -1.0f);
    ExpectUndoStep<CCmdAddCell>(u"添加定向直线上的点");
}

TEST_F(ParallelCommands, ParallelLinesThroughOnePointOrThroughEachPoint) {
    CGVertex* p = AddPoint(0, 0, 5);
    CGLine* l1 = Line(0, 0, 0, 1, 0, 0);
    CGLine* l2 = Line(0, 0, 0, 0, 1, 0);
    CGLine* l3 = Line(0, 0, 0, 0, 0, 1);
    CGVertex* q = AddPoint(3, 3, 3);
    for (auto [selection, throughs, parallels] :
         {std::tuple{std::vector<WORD>{l2->m_id, p->m_id, l1->m_id, l3->m_id},
                     std::vector<WORD>{p->m_id, p->m_id, p->m_id}, std::vector<CGLine*>{l2, l1, l3}},
          {std::vector<WORD>{q->m_id, l1->m_id, p->m_id}, std::vector<WORD>{q->m_id, p->m_id},
           std::vector<CGLine*>{l1, l1}}}) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD first = m_page->m_nextId;
        Select({});
        for (WORD id : selection)
            m_page->SelectCell(id);
        Run(ID_CREATE_LINE_PARALLEL);
        ASSERT_EQ(m_page->m_nextId, first + 2 * throughs.size());
        for (size_t i = 0; i < throughs.size(); ++i) {
            auto* free = Cell<CGVerFreeParVecPP>(WORD(first + 2 * i));
            auto* line = Cell<CGLine>(WORD(first + 2 * i + 1));
            ASSERT_TRUE(free && line);
            EXPECT_EQ(Parents(free), (std::vector<WORD>{throughs[i], parallels[i]->m_parents[0],
                                                        parallels[i]->m_parents[1]}));
            EXPECT_EQ(Parents(line), (std::vector<WORD>{throughs[i], free->m_id}));
            EXPECT_EQ(line->m_kind, CGLine::kLine);
        }
        ExpectUndoStep<CCmdAddCells>(u"添加平行线", int(2 * throughs.size()));
        ExpectUndoRedo(before);
    }
}

TEST_F(ParallelCommands, TheCommonPerpendicularOfTwoSkewLines) {
    CGLine* x = Line(0, 0, 0, 1, 0, 0);
    CGLine* y = Line(2, -1, 3, 2, 1, 3);
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_LINE_COMMON, {y->m_id, x->m_id});
    EXPECT_EQ(ClassesFrom(before.nextId),
              (std::vector<std::string>{"CGVerCommonperpen", "CGVerCommonperpen", "CGLine"}));
    const std::vector<CGCell*> made = MadeFrom(before.nextId);
    EXPECT_EQ(Parents(made[0]), (std::vector<WORD>{y->m_id, x->m_id}));
    EXPECT_EQ(Parents(made[1]), (std::vector<WORD>{x->m_id, y->m_id}));
    ExpectNear(*static_cast<CGVertex*>(made[0]), 2, 0, 3);
    ExpectNear(*static_cast<CGVertex*>(made[1]), 2, 0, 0);
    EXPECT_EQ(Parents(made[2]), (std::vector<WORD>{made[0]->m_id, made[1]->m_id}));
    EXPECT_EQ(made[2]->m_kind, CGLine::kSegment);
    ExpectUndoStep<CCmdAddCells>(u"添加公垂线段", 3);
    ExpectUndoRedo(before);
}

TEST_F(ParallelCommands, TheParallelCopyOfAPentagonThroughAPoint) {
    CList<WORD, WORD> corners;
    for (int i = 0; i < 5; ++i)
        corners.AddTail(
            AddPoint(float(std::cos(i * 1.2566370614)), float(std::sin(i * 1.2566370614)), 0)->m_id);
    auto* pentagon = Insert(new CGFace(NextId(), corners, RGB(1, 2, 3)));
    CGVertex* p = AddPoint(0, 0, 4);
    const PageSnapshot before = TakeSnapshot(*m_page);
    HxResetAutoColors();
    const COLORREF expected = NextAutoColor();
    HxResetAutoColors();
    RunOn(ID_CREATE_FACE_PARFACE, {pentagon->m_id, p->m_id});
    EXPECT_EQ(
        ClassesFrom(before.nextId),
        (std::vector<std::string>{"CGVerTranslate", "CGLine", "CGVerTranslate", "CGLine", "CGVerTranslate",
                                  "CGLine", "CGVerTranslate", "CGLine", "CGLine", "CGFace"}));
    const std::vector<CGCell*> made = MadeFrom(before.nextId);
    // Corners P, then the other corners moved by V1 -> P, joined as they come, the last back to P.
    const std::vector<WORD> v = Ids(corners);
    std::vector<WORD> copy{p->m_id};
    for (int i = 1; i < 5; ++i) {
        const CGCell* corner = made[size_t(2 * i - 2)];
        EXPECT_EQ(Parents(corner), (std::vector<WORD>{v[size_t(i)], v[0], p->m_id}));
        EXPECT_EQ(Parents(made[size_t(2 * i - 1)]), (std::vector<WORD>{copy.back(), corner->m_id}));
        ExpectNear(*static_cast<const CGVertex*>(corner), std::cos(i * 1.2566370614) - 1,
                   std::sin(i * 1.2566370614), 4);
        copy.push_back(corner->m_id);
    }
    EXPECT_EQ(Parents(made[8]), (std::vector<WORD>{copy.back(), p->m_id}));
    EXPECT_EQ(Parents(made[9]), copy);
    EXPECT_EQ(made[9]->m_color.ToColorRef(), expected);
    ExpectUndoStep<CCmdAddCells>(u"添加面的平行面", 10);
    ExpectUndoRedo(before);
}

TEST_F(ParallelCommands, TheParallelCopyOfATriangleThroughAPoint) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 3, 0);
    CList<WORD, WORD> corners;
    for (CGVertex* v : {a, b, c})
        corners.AddTail(v->m_id);
    auto* triangle = Insert(new CGFace(NextId(), corners, RGB(1, 2, 3)));
    CGVertex* p = AddPoint(1, 1, 2);
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_FACE_PARFACE, {triangle->m_id, p->m_id});
    EXPECT_EQ(ClassesFrom(before.nextId),
              (std::vector<std::string>{"CGVerTranslate", "CGLine", "CGVerTranslate", "CGLine", "CGLine",
                                        "CGFace"}));
    const std::vector<CGCell*> made = MadeFrom(before.nextId);
    // P, then B and C moved by the vector A -> P: a triangle of three corners over ABC.
    EXPECT_EQ(Parents(made[0]), (std::vector<WORD>{b->m_id, a->m_id, p->m_id}));
    EXPECT_EQ(Parents(made[2]), (std::vector<WORD>{c->m_id, a->m_id, p->m_id}));
    ExpectNear(*static_cast<const CGVertex*>(made[0]), 5, 1, 2);
    ExpectNear(*static_cast<const CGVertex*>(made[2]), 1, 4, 2);
    EXPECT_EQ(Parents(made[1]), (std::vector<WORD>{p->m_id, made[0]->m_id}));
    EXPECT_EQ(Parents(made[3]), (std::vector<WORD>{made[0]->m_id, made[2]->m_id}));
    EXPECT_EQ(Parents(made[4]), (std::vector<WORD>{made[2]->m_id, p->m_id}));
    auto* copy = static_cast<CGFace*>(made[5]);
    EXPECT_EQ(Parents(copy), (std::vector<WORD>{p->m_id, made[0]->m_id, made[2]->m_id}));
    EXPECT_EQ(copy->GetCornerCount(), 3);
    ExpectUndoStep<CCmdAddCells>(u"添加面的平行面", 6);
    ExpectUndoRedo(before);
}

TEST_F(ParallelCommands, ThePerpendicularSquareThroughAPointOrAboutTheLinesFirstPoint) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVertex* p = AddPoint(1, 2, 0);
    const std::vector<std::string> classes{"CGVerFootpl",    "CGVerSymmetryP", "CGVerPerpenEquid",
                                           "CGVerSymmetryP", "CGLine",         "CGLine",
                                           "CGLine",         "CGLine",         "CGFace"};
    PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_FACE_PERLINE, {ab->m_id, p->m_id});
    EXPECT_EQ(ClassesFrom(before.nextId), classes);
    std::vector<CGCell*> made = MadeFrom(before.nextId);
    auto* foot = static_cast<CGVertex*>(made[0]);
    EXPECT_EQ(foot->m_name, CString(u"O"));
    EXPECT_EQ(foot->m_hidden, 1);
    ExpectNear(*foot, 1, 0, 0);
    // P, Q, S, R about the foot, square to AB.
    const WORD s = made[1]->m_id, q = made[2]->m_id, r = made[3]->m_id;
    EXPECT_EQ(Parents(made[2]), (std::vector<WORD>{foot->m_id, p->m_id, b->m_id}));
    ExpectNear(*static_cast<CGVertex*>(made[1]), 1, -2, 0);
    ExpectNear(*static_cast<CGVertex*>(made[2]), 1, 0, -2);
    ExpectNear(*static_cast<CGVertex*>(made[3]), 1, 0, 2);
    EXPECT_EQ(Parents(made[8]), (std::vector<WORD>{p->m_id, q, s, r}));
    EXPECT_EQ(Parents(made[4]), (std::vector<WORD>{p->m_id, q}));
    EXPECT_EQ(Parents(made[7]), (std::vector<WORD>{r, p->m_id}));
    ExpectUndoStep<CCmdAddCells>(u"添加线的垂面", 9);
    ExpectUndoRedo(before);

    // The foot on B itself: the plane comes from A.
    CGVertex* overB = AddPoint(4, 0, 3);
    RunOn(ID_CREATE_FACE_PERLINE, {overB->m_id, ab->m_id});
    EXPECT_EQ(Parents(Cell<CGCell>(m_page->m_nextId - 7)),
              (std::vector<WORD>{WORD(m_page->m_nextId - 9), overB->m_id, a->m_id}));

    // Without a point: a free corner U square to AB at A, and W, V, X about A.
    before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_FACE_PERLINE, {ab->m_id});
    EXPECT_EQ(ClassesFrom(before.nextId),
              (std::vector<std::string>{"CGVerFreeUpright", "CGVerSymmetryP", "CGVerPerpenEquid",
                                        "CGVerSymmetryP", "CGLine", "CGLine", "CGLine", "CGLine", "CGFace"}));
    made = MadeFrom(before.nextId);
    const WORD u = made[0]->m_id, v = made[1]->m_id, w = made[2]->m_id, x = made[3]->m_id;
    EXPECT_EQ(Parents(made[1]), (std::vector<WORD>{u, a->m_id}));
    EXPECT_EQ(Parents(made[2]), (std::vector<WORD>{a->m_id, u, b->m_id}));
    EXPECT_EQ(Parents(made[8]), (std::vector<WORD>{u, w, v, x}));
    const auto* corner = static_cast<CGVertex*>(made[0]);
    const auto* opposite = static_cast<CGVertex*>(made[1]);
    ExpectNear(*opposite, -corner->m_x, -corner->m_y, -corner->m_z);
    EXPECT_NEAR(corner->m_x, 0.0, 1e-6);
}

} // namespace
