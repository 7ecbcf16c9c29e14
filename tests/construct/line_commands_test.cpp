// The line commands: update rules, lines through points, kinds of selected lines changed in place,
// the line tool and its button image, perpendiculars by each branch, and the single points on
// perpendiculars, on parallels to the axes and following a point.
#include "construct_fixture.h"

#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "points/confined_points.h"
#include "points/object_points.h"

namespace {

class LineCommands : public ConstructTest {
protected:
    // Points A(0, 0, 0), B(4, 0, 0), C(4, 3, 0), D(0, 3, 5); lines AB and CD; the faces ABC and ABD.
    void MakeFigure() {
        a = AddPoint(0, 0, 0);
        b = AddPoint(4, 0, 0);
        c = AddPoint(4, 3, 0);
        d = AddPoint(0, 3, 5);
        ab = AddLine(a->m_id, b->m_id);
        cd = AddLine(c->m_id, d->m_id);
        abc = AddFace({a->m_id, b->m_id, c->m_id});
        abd = AddFace({a->m_id, b->m_id, d->m_id});
    }
    CGVertex *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    CGLine *ab = nullptr, *cd = nullptr;
    CGFace *abc = nullptr, *abd = nullptr;
};

TEST_F(LineCommands, UpdateRulesFollowTheSelectionCounts) {
    MakeFigure();
    const UINT seg = ID_CREATE_LINE_SEGMENT, ray = ID_CREATE_LINE_HALF, perp = ID_CREATE_LINE_PERPENDICULAR,
               sc = ID_CREATE_POINT_PER_SC, eq = ID_CREATE_POINT_PER_EQ, px = ID_CREATE_POINT_PAR_X,
               fol = ID_CREATE_POINT_VECTOR, two = ID_CREATE_POINT_2DZ;
    struct Row {
        std::vector<WORD> selection;
        std::vector<UINT> on, off;
    };
    const Row rows[] = {
        {{}, {seg, ray}, {perp, sc, eq, px, fol, two}},
        {{a->m_id}, {px, fol, two}, {seg, ray, perp, sc}},
        {{a->m_id, ab->m_id}, {seg, perp, px}, {sc}},
        {{a->m_id, abc->m_id, abd->m_id}, {perp}, {sc}},
        {{a->m_id, b->m_id}, {seg, sc, eq}, {perp, px}},
        {{a->m_id, b->m_id, abc->m_id}, {perp, sc}, {}},
        {{a->m_id, b->m_id, ab->m_id, cd->m_id}, {seg}, {perp}},
        {{a->m_id, b->m_id, c->m_id}, {perp, sc, eq}, {px}},
        {{a->m_id, b->m_id, c->m_id, d->m_id}, {seg}, {perp, sc, eq}},
        {{ab->m_id, cd->m_id}, {seg, ray}, {perp, px}},
    };
    for (const Row& row : rows) {
        m_page->ClearSelection();
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        for (UINT id : row.on)
            EXPECT_TRUE(Enabled(id)) << id << " with " << row.selection.size() << " selected";
        for (UINT id : row.off)
            EXPECT_FALSE(Enabled(id)) << id << " with " << row.selection.size() << " selected";
    }
}

TEST_F(LineCommands, TwoPointsGiveOneLineOfEachKindWithItsUndoText) {
    MakeFigure();
    const std::pair<UINT, const char16_t*> commands[] = {{ID_CREATE_LINE_SEGMENT, u"添加线"},
                                                         {ID_CREATE_LINE_HALF, u"添加射线"},
                                                         {ID_CREATE_LINE_STRAIGHT, u"添加直线"},
                                                         {ID_CREATE_LINE_VECTOR, u"添加有向线段"}};
    BYTE kind = 0;
    for (auto [id, text] : commands) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        RunOn(id, {c->m_id, a->m_id});
        auto* line = Cell<CGLine>(m_page->m_nextId - 1);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->m_kind, kind);
        EXPECT_EQ(Parents(line), (std::vector<WORD>{c->m_id, a->m_id}));
        EXPECT_EQ(line->m_name, CString(u"CA"));
        ExpectUndoStep<CCmdAddCell>(text);
        ExpectUndoRedo(before);
        // The button of the line tool shows the kind.
        EXPECT_EQ(m_images.back(), (std::pair<UINT, int>{ID_CREATE_LINE_TOOL, kind + 2}));
        ++kind;
    }
    // Three points: a closed chain of three.
    RunOn(ID_CREATE_LINE_VECTOR, {a->m_id, b->m_id, c->m_id});
    ExpectUndoStep<CCmdAddCells>(u"添加多条有向线段", 3);
}

TEST_F(LineCommands, SelectedLinesChangeKindWithoutAnUndoStepAndTheirDescendantsFollow) {
    MakeFigure();
    auto* mid = Add<CGVerMid>(ab->m_id);
    mid->m_x = 99.0f;
    const int steps = m_page->m_cmdProcessor.GetCount();
    RunOn(ID_CREATE_LINE_VECTOR, {ab->m_id, cd->m_id});
    EXPECT_EQ(ab->m_kind, CGLine::kVector);
    EXPECT_EQ(cd->m_kind, CGLine::kVector);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
    // The line's descendants were recomputed (the midpoint is back in its place).
    ExpectNear(*mid, 2, 0, 0);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED), std::vector<LPARAM>{LPARAM(m_page->m_pageId)});
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    EXPECT_EQ(g_lineToolKind, CGLine::kVector);
}

TEST_F(LineCommands, NothingSelectedStartsTheLineToolAndASinglePointChangesNothing) {
    MakeFigure();
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_LINE_STRAIGHT, {});
    EXPECT_EQ(m_toolsSelected, std::vector<int>{3});
    EXPECT_EQ(g_lineToolKind, CGLine::kLine);
    EXPECT_EQ(m_images, (std::vector<std::pair<UINT, int>>{{ID_CREATE_LINE_TOOL, 4}}));
    ExpectNothingDone(before);
    // Without the update rule, one point and no line: nothing at all.
    Select({a->m_id, abc->m_id});
    m_doc->OnCreateLineSegment();
    EXPECT_EQ(m_toolsSelected.size(), 1u);
    ExpectNothingDone(before);
    // Without a view the tool still changes.
    HxSetMouseToolSelector(nullptr);
    g_mouseTool = 1;
    RunOn(ID_CREATE_LINE_SEGMENT, {});
    EXPECT_EQ(g_mouseTool, 3);
}

TEST_F(LineCommands, PerpendicularsAlternateFootAndLineInTheBranchOrder) {
    MakeFigure();
    CGVertex* p = AddPoint(1, 1, 4);
    RunOn(ID_CREATE_LINE_VECTOR, {});
    struct Row {
        std::vector<WORD> selection;
        const char* foot;
        std::vector<std::vector<WORD>> parents; // of each foot
    };
    const Row rows[] = {
        {{p->m_id, ab->m_id, cd->m_id},
         "CGVerFootplEx",
         {{p->m_id, a->m_id, b->m_id}, {p->m_id, c->m_id, d->m_id}}},
        {{abd->m_id, p->m_id, abc->m_id},
         "CGVerFootpfEx",
         {{p->m_id, a->m_id, b->m_id, d->m_id}, {p->m_id, a->m_id, b->m_id, c->m_id}}},
        {{c->m_id, p->m_id, ab->m_id},
         "CGVerFootplEx",
         {{c->m_id, a->m_id, b->m_id}, {p->m_id, a->m_id, b->m_id}}},
        {{c->m_id, abc->m_id, d->m_id},
         "CGVerFootpfEx",
         {{c->m_id, a->m_id, b->m_id, c->m_id}, {d->m_id, a->m_id, b->m_id, c->m_id}}},
        {{p->m_id, a->m_id, b->m_id}, "CGVerFootplEx", {{p->m_id, a->m_id, b->m_id}}},
    };
    for (const Row& row : rows) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD first = m_page->m_nextId;
        Select({});
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        Run(ID_CREATE_LINE_PERPENDICULAR);
        const size_t n = row.parents.size();
        ASSERT_EQ(m_page->m_nextId, first + 2 * n) << row.foot;
        for (size_t i = 0; i < n; ++i) {
            CGCell* foot = m_page->FindCell(WORD(first + 2 * i));
            auto* line = Cell<CGLine>(WORD(first + 2 * i + 1));
            ASSERT_TRUE(foot && line);
            EXPECT_STREQ(foot->GetRuntimeClass()->m_lpszClassName, row.foot);
            EXPECT_EQ(Parents(foot), row.parents[i]);
            EXPECT_EQ(Parents(line), (std::vector<WORD>{row.parents[i][0], foot->m_id}));
            EXPECT_EQ(line->m_kind, CGLine::kVector);
        }
        ExpectUndoStep<CCmdAddCells>(u"添加垂线", int(2 * n));
        ExpectUndoRedo(before);
    }
    // The foot of P on AB, and on the plane ABC.
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 2), 1, 0, 0);
}

TEST_F(LineCommands, SeveralPointsAndLinesWithOneFaceDropPerpendicularsOnTheFace) {
    MakeFigure();
    CGVertex* p = AddPoint(1, 1, 4);
    RunOn(ID_CREATE_LINE_VECTOR, {});
    const WORD first = m_page->m_nextId;
    Select({p->m_id, ab->m_id, d->m_id, cd->m_id, abc->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_LINE_PERPENDICULAR));
    Run(ID_CREATE_LINE_PERPENDICULAR);
    ASSERT_EQ(m_page->m_nextId, first + 4);
    for (int i = 0; i < 2; ++i) {
        const WORD from = i == 0 ? p->m_id : d->m_id;
        CGCell* foot = m_page->FindCell(WORD(first + 2 * i));
        ASSERT_NE(foot, nullptr);
        EXPECT_STREQ(foot->GetRuntimeClass()->m_lpszClassName, "CGVerFootpfEx");
        EXPECT_EQ(Parents(foot), (std::vector<WORD>{from, a->m_id, b->m_id, c->m_id}));
        EXPECT_EQ(Parents(Cell<CGLine>(WORD(first + 2 * i + 1))), (std::vector<WORD>{from, foot->m_id}));
    }
    // The feet lie in the plane z = 0 of ABC, under P and D.
    ExpectNear(*Cell<CGVertex>(first), 1, 1, 0);
    ExpectNear(*Cell<CGVertex>(WORD(first + 2)), 0, 3, 0);
    ExpectUndoStep<CCmdAddCells>(u"添加垂线", 4);
}

TEST_F(LineCommands, PointsOnPerpendicularsOnParallelsToTheAxesAndFollowers) {
    MakeFigure();
    struct Row {
        UINT id;
        std::vector<WORD> selection;
        const char* cls;
        const char16_t* undo;
        std::vector<WORD> parents;
    };
    const Row rows[] = {
        {ID_CREATE_POINT_PER_SC,
         {b->m_id, a->m_id},
         "CGVerFreeUpright",
         u"添加垂线上的伸缩点",
         {b->m_id, a->m_id}},
        {ID_CREATE_POINT_PER_SC,
         {a->m_id, b->m_id, c->m_id},
         "CGVerFreePerpen",
         u"添加垂线上的伸缩点",
         {a->m_id, b->m_id, c->m_id}},
        {ID_CREATE_POINT_PER_EQ,
         {a->m_id, b->m_id},
         "CGVerFreeUprightEquid",
         u"添加垂线上的等距点",
         {a->m_id, b->m_id}},
        {ID_CREATE_POINT_PER_EQ,
         {a->m_id, b->m_id, c->m_id},
         "CGVerPerpenEquid",
         u"添加垂线上的等距点",
         {a->m_id, b->m_id, c->m_id}},
        {ID_CREATE_POINT_PAR_X, {c->m_id}, "CGVerFreeParVector", u"添加平行于x轴的直线上点", {c->m_id}},
        {ID_CREATE_POINT_PAR_Y, {c->m_id}, "CGVerFreeParVector", u"添加平行于y轴的直线上点", {c->m_id}},
        {ID_CREATE_POINT_PAR_Z, {c->m_id}, "CGVerFreeParVector", u"添加平行于z轴的直线上点", {c->m_id}},
        {ID_CREATE_POINT_VECTOR, {d->m_id}, "CGVerFreeHenchman", u"添加自由随从点", {d->m_id}},
        {ID_CREATE_POINT_2DZ, {d->m_id}, "CGVerFree2dHenchman", u"添加二维随从点", {d->m_id}},
    };
    for (const Row& row : rows) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        Select({});
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        Run(row.id);
        CGCell* made = m_page->FindCell(m_page->m_nextId - 1);
        ASSERT_NE(made, nullptr);
        EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, row.cls);
        EXPECT_EQ(Parents(made), row.parents);
        ExpectUndoStep<CCmdAddCell>(row.undo);
        ExpectUndoRedo(before);
    }
    // The point on the parallel to z sits 8 along z from C; the followers were made at x 5, y 0.
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 3), 4, 3, 8);
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 2), 5, 0, 0);
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 1), 5, 0, 5);
    MovePoint(d, 1, 3, 6);
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 2), 6, 0, 1);
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 1), 6, 0, 6);
    // Four points (only without the update rule): nothing.
    const int steps = m_page->m_cmdProcessor.GetCount();
    Select({a->m_id, b->m_id, c->m_id, d->m_id});
    m_doc->OnCreatePointPerSc();
    m_doc->OnCreatePointPerEq();
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
}

} // namespace
