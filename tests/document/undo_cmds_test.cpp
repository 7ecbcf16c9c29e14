// The undo commands: each command and its undo leave the page's cells, their records and the next id
// as they were, redo brings back the state after the command, the object tree hears of it in the
// right order, and a few hundred random commands undo and redo in full.
#include "document/undo_cmds.h"

#include "document/neighbour_services.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/face.h"
#include "support/page_fixture.h"
#include "support/page_snapshot.h"
#include "view/view_globals.h"

#include <random>
#include <tuple>

namespace {

// A line and a point whose name the tests can find.
class UndoTest : public PageFixture {
protected:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool posted;
        WORD nextId; // the page's next id when the message went out
    };

    void SetUp() override {
        PageFixture::SetUp();
        AfxSetMainWnd(&m_frame);
        HxSetMessageObserver([this](const HxMessageRecord& r) {
            m_messages.push_back({r.message, r.wParam, r.lParam, r.posted, m_page->m_nextId});
        });
        m_page->m_pageId = 3;
        g_textureCounter = 8;
    }
    void TearDown() override {
        HxSetMessageObserver(nullptr);
        HxPumpPostedMessages();
        AfxSetMainWnd(nullptr);
        PageFixture::TearDown();
    }

    CCmdProcessor& History() { return m_page->m_cmdProcessor; }

    template <class T> T* AddButton(WORD driven) {
        auto* button = new T;
        button->m_id = NextId();
        button->AddParent(driven);
        return Insert(button);
    }

    // Records the command of an edit made since `before` was taken and checks undo, redo and undo
    // again against the states before and after.
    void CheckUndoRedo(const PageSnapshot& before, CCmd* cmd, bool actsOnRedo = false) {
        History().Submit(cmd);
        if (actsOnRedo)
            cmd->Redo();
        PageSnapshot after = TakeSnapshot(*m_page);
        ASSERT_TRUE(History().Undo());
        EXPECT_EQ(TakeSnapshot(*m_page), before);
        ASSERT_TRUE(History().Redo());
        EXPECT_EQ(TakeSnapshot(*m_page), after);
        ASSERT_TRUE(History().Undo());
        EXPECT_EQ(TakeSnapshot(*m_page), before);
        ASSERT_TRUE(History().Redo());
    }

    // The tree's messages since the last call, one "kind wParam lParam @nextId" per message.
    std::string Seen() {
        std::string out;
        for (const Message& m : m_messages) {
            const char* kind = m.message == UM_CELLS_CHANGED         ? "cells"
                               : m.message == UM_SELECTION_CHANGED   ? "selection"
                               : m.message == UM_REBUILD_OBJECT_TREE ? "rebuild"
                                                                     : nullptr;
            if (kind)
                out += std::string(out.empty() ? "" : "; ") + kind + " " + std::to_string(LPARAM(m.wParam)) +
                       " " + std::to_string(m.lParam) + " @" + std::to_string(m.nextId) +
                       (m.posted ? " posted" : "");
        }
        m_messages.clear();
        return out;
    }

    CWnd m_frame;
    std::vector<Message> m_messages;
};

std::vector<WORD> Ids(const CList<WORD, WORD>& list) {
    std::vector<WORD> v;
    for (WORD id : list)
        v.push_back(id);
    return v;
}

// A cell without parents in the place of a constructed one: what separate-and-locate puts there.
CGCell* DetachedCopy(CGCell* cell) {
    CGCell* copy;
    if (auto* point = DYNAMIC_DOWNCAST(CGVertex, cell)) {
        auto* fixed = new CGVertex(point->m_id, point->m_vertexIndex, point->m_name, point->m_x, point->m_y,
                                   point->m_z);
        std::copy(point->m_labelOffset, point->m_labelOffset + 3, fixed->m_labelOffset);
        copy = fixed;
    } else {
        copy = new CGCell;
    }
    *copy = *cell;
    return copy;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Adding

TEST_F(UndoTest, AddCellUndoesAndRedoesWithTheNextIdAndTheTree) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(2, 0, 0);
    PageSnapshot before = TakeSnapshot(*m_page);
    AddLine(a->m_id, b->m_id);
    m_messages.clear();
    auto* cmd = new CCmdAddCell(u"添加线段");
    EXPECT_EQ(Seen(), "cells 1 0 @4");
    CheckUndoRedo(before, cmd);

    Seen();
    ASSERT_TRUE(History().Undo());
    // The selection is cleared first; the tree hears of the removal before the counter goes down.
    EXPECT_EQ(Seen(), "selection 2 40003 @4; cells -1 0 @4");
    EXPECT_EQ(m_page->m_nextId, 3);
    EXPECT_EQ(m_page->FindCell(3), nullptr);
    EXPECT_TRUE(a->m_children.IsEmpty());
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(Seen(), "cells 1 0 @4") << "after the counter went up";
    EXPECT_EQ(Ids(a->m_children), std::vector<WORD>{3});
}

TEST_F(UndoTest, AddCellsUndoesNewestFirstAndRecomputesOnRedo) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    PageSnapshot before = TakeSnapshot(*m_page);
    m_messages.clear();
    CTestMidpoint* m = AddMidpoint(a->m_id, b->m_id);
    AddLine(a->m_id, m->m_id);
    AddLine(m->m_id, b->m_id);
    auto* cmd = new CCmdAddCells(3, u"添加中点");
    EXPECT_EQ(Seen(), "cells 3 0 @6");
    CheckUndoRedo(before, cmd);

    Seen();
    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(Seen(), "selection 2 40003 @6; cells -3 0 @6");
    EXPECT_EQ(m_page->m_nextId, 3);
    EXPECT_EQ(m_page->m_cells.GetCount(), 2);
    EXPECT_EQ(m_page->m_nextVertex, 3) << "the vertex array renumbered without the midpoint";

    // Redo recomputes: the midpoint follows an end that moved while it was out of the page.
    b->SetPosition(8, 0, 0);
    std::vector<WORD> log;
    CTestMidpoint::s_log = &log;
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(log, std::vector<WORD>{3});
    EXPECT_FLOAT_EQ(m->m_x, 4.0f);
    EXPECT_EQ(Seen(), "cells 3 0 @6");
}

TEST_F(UndoTest, AddSkipsMissingIdsButStillLowersTheCounter) {
    for (int i = 0; i < 3; ++i)
        AddPoint(float(i), 0, 0);
    delete m_page->m_cells.Find(2); // a construction cancelled in between
    m_page->m_cells.RemoveKey(2);
    History().Submit(new CCmdAddCells(3, u"添加点"));
    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(m_page->m_nextId, 1);
    EXPECT_TRUE(m_page->m_cells.IsEmpty());
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(m_page->m_nextId, 4);
    EXPECT_TRUE(m_page->FindCell(1) && !m_page->FindCell(2) && m_page->FindCell(3));

    delete m_page->m_cells.Find(3); // the same for one cell
    m_page->m_cells.RemoveKey(3);
    History().Submit(new CCmdAddCell(u"添加点"));
    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(m_page->m_nextId, 3);
    EXPECT_EQ(m_page->m_cells.GetCount(), 1);
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(m_page->m_nextId, 4);
}

TEST_F(UndoTest, UndoStopsRunningButtonsAndDropsGoneIdsFromTheRecomputeAndTraceLists) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(2, 0, 0);
    auto* kept = AddButton<CGButnAnimation>(a->m_id);
    // A sweep over an empty range, forward and once: it ends in its first tick.
    kept->m_mode = CGButnAnimation::kForward;
    kept->m_repeat = 0;
    kept->m_max = kept->m_min;
    ASSERT_TRUE(m_page->StartButton(TRUE, kept->m_id));
    // A midpoint added while the animation runs joins the recomputation and the traces.
    CTestMidpoint* m = AddMidpoint(a->m_id, b->m_id);
    m->m_traced = true;
    m_page->MarkButtonDrivenCells();
    m_page->CollectMarkedIds(m_page->m_recomputeIds);
    m_page->RebuildTraceList(1);
    ASSERT_EQ(m_page->m_recomputeIds, (std::vector<WORD>{kept->m_id, m->m_id}));
    ASSERT_EQ(m_page->m_tracedCells.GetCount(), 1);
    History().Submit(new CCmdAddCell(u"添加中点"));
    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(m_page->m_recomputeIds, std::vector<WORD>{kept->m_id});
    EXPECT_TRUE(m_page->m_tracedCells.IsEmpty());
    EXPECT_TRUE(kept->m_running) << "the button itself was not removed";
    EXPECT_FALSE(m_page->StepButtons()) << "the next tick touches nothing that is gone";

    // Removed running buttons stop, and redo does not restart them.
    auto* button = AddButton<CGButnAnimation>(a->m_id);
    auto* other = AddButton<CGButnAnimation>(a->m_id);
    ASSERT_TRUE(m_page->StartButton(TRUE, button->m_id));
    ASSERT_TRUE(m_page->StartButton(TRUE, other->m_id));
    History().Submit(new CCmdAddCells(2, u"添加动画按钮"));
    ASSERT_TRUE(History().Undo());
    EXPECT_FALSE(button->m_running);
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    EXPECT_TRUE(m_page->m_recomputeIds.empty());
    ASSERT_TRUE(History().Redo());
    EXPECT_FALSE(button->m_running);
    EXPECT_FALSE(m_page->StepButtons()) << "nothing runs";
}

TEST_F(UndoTest, UndoingATextThatFollowsAPointGivesThePointsLabelBack) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* quiet = AddPoint(1, 0, 0);
    quiet->m_labelHidden = 1;
    const std::vector<BYTE> bits(4, 0xF0);

    // One text on a point whose label shows: one step.
    PageSnapshot before = TakeSnapshot(*m_page);
    Insert(new CGTbHenchman(NextId(), 4, 1, bits, a->m_id));
    ASSERT_EQ(a->m_labelHidden, 1) << "the text stands in the label's place";
    CheckUndoRedo(before, new CCmdAddCell(u"插入文本"));
    EXPECT_EQ(a->m_labelHidden, 1) << "hidden again on redo";

    // Several at once, newest removed first: a new point with a formula text on it, and texts on a
    // point whose label shows and on one whose label was hidden already.
    CGVertex* b = AddPoint(2, 0, 0);
    History().Submit(new CCmdAddCell(u"添加点"));
    before = TakeSnapshot(*m_page);
    CGVertex* c = AddPoint(3, 0, 0);
    Insert(new CGTbMhc(NextId(), u"<#><l><e>c</e></l></#>", RGB(255, 255, 255), c->m_id));
    Insert(new CGTbHenchman(NextId(), 4, 1, bits, b->m_id));
    Insert(new CGTbHenchman(NextId(), 4, 1, bits, quiet->m_id));
    ASSERT_TRUE(b->m_labelHidden == 1 && c->m_labelHidden == 1);
    CheckUndoRedo(before, new CCmdAddCells(4, u"添加"));
    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(b->m_labelHidden, 0);
    EXPECT_EQ(quiet->m_labelHidden, 1) << "hidden before the text: stays hidden";
    EXPECT_EQ(c->m_labelHidden, 0) << "kept by the step as it was before its text";
    ASSERT_TRUE(History().Redo());
    EXPECT_TRUE(b->m_labelHidden == 1 && c->m_labelHidden == 1 && quiet->m_labelHidden == 1);
}

// ---------------------------------------------------------------------------------------------
// Deleting

TEST_F(UndoTest, DeletionRemovesChildrenFirstAndRestoresParentsFirst) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(2, 0, 0);
    CGVertex* c = AddPoint(0, 2, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGLine* bc = AddLine(b->m_id, c->m_id);
    ASSERT_EQ(Ids(b->m_children), (std::vector<WORD>{ab->m_id, bc->m_id}));
    m_page->SelectCell(a->m_id);
    auto* ids = new CList<WORD, WORD>;
    m_page->CollectDeletionIds(*ids);
    ASSERT_EQ(Ids(*ids), (std::vector<WORD>{a->m_id, ab->m_id}));
    auto* cmd = new CCmdDelCells(ids, u"清除对象");
    m_messages.clear();
    PageSnapshot before = TakeSnapshot(*m_page);
    History().Submit(cmd);
    cmd->Redo();
    const std::string list = std::to_string(LPARAM(ids));
    EXPECT_EQ(Seen(), "selection 2 40003 @6; cells 0 " + list + " @6");
    EXPECT_EQ(m_page->FindCell(a->m_id), nullptr);
    EXPECT_EQ(Ids(b->m_children), std::vector<WORD>{bc->m_id});
    EXPECT_EQ(m_page->m_nextId, 6) << "deleted ids are not handed out again";
    EXPECT_EQ(m_page->m_nextVertex, 3);

    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(TakeSnapshot(*m_page), before);
    EXPECT_EQ(Ids(b->m_children), (std::vector<WORD>{bc->m_id, ab->m_id})) << "back at the tail";
    EXPECT_EQ(Seen(), "cells 1 " + list + " @6");
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(m_page->FindCell(ab->m_id), nullptr);
}

TEST_F(UndoTest, DeletionStopsRunningButtonsAndSkipsIdsThatAreGone) {
    CGVertex* p = AddPoint(0, 0, 0);
    auto* button = AddButton<CGButnMove>(p->m_id);
    ASSERT_TRUE(m_page->StartButton(TRUE, button->m_id));
    auto* ids = new CList<WORD, WORD>;
    ids->AddTail(p->m_id);
    ids->AddTail(77);
    ids->AddTail(button->m_id);
    auto* cmd = new CCmdDelCells(ids, u"清除对象");
    History().Submit(cmd);
    EXPECT_TRUE(cmd->Redo());
    EXPECT_TRUE(m_page->m_cells.IsEmpty());
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    EXPECT_FALSE(button->m_running);
    ASSERT_TRUE(History().Undo());
    EXPECT_FALSE(button->m_running);
    EXPECT_EQ(m_page->FindCell(button->m_id), button);
    EXPECT_EQ(m_page->m_cells.GetCount(), 2);
}

// ---------------------------------------------------------------------------------------------
// Moving a point

TEST_F(UndoTest, PointEditSwapsPositionAndParameterAndRecomputesDescendants) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CTestMidpoint* m = AddMidpoint(a->m_id, b->m_id);
    b->m_param1 = 0.25f;
    PageSnapshot before = TakeSnapshot(*m_page);
    auto* cmd = new CCmdModifiPoint(b->m_id, u"移动点");
    b->m_param1 = 0.75f;
    MovePoint(b, 4, 6, 2);
    g_traceImageStale = 0;
    CheckUndoRedo(before, cmd);
    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(b->m_param1, 0.25f);
    EXPECT_FLOAT_EQ(m->m_y, 0.0f);
    EXPECT_EQ(Slot(b->m_vertexIndex)[0], 4.0f) << "the vertex array follows";
    EXPECT_EQ(g_traceImageStale, 1);
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(b->m_param1, 0.75f);
    EXPECT_FLOAT_EQ(m->m_y, 3.0f);
}

// ---------------------------------------------------------------------------------------------
// Separating

TEST_F(UndoTest, SplitExchangesCellsAndUnlinksWithoutRecomputing) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CTestMidpoint* m = AddMidpoint(a->m_id, b->m_id);
    CGLine* line = AddLine(m->m_id, b->m_id);
    auto* cmd = new CCmdSplit(u"分离并定位");
    CGCell* replacement = DetachedCopy(m);
    cmd->m_cells.SetAt(m->m_id, replacement);
    m_messages.clear();
    PageSnapshot before = TakeSnapshot(*m_page);
    History().Submit(cmd);
    cmd->Redo();
    PageSnapshot after = TakeSnapshot(*m_page);
    EXPECT_EQ(m_page->FindCell(m->m_id), replacement);
    EXPECT_EQ(cmd->m_cells.Find(m->m_id), m);
    EXPECT_TRUE(replacement->m_parents.IsEmpty());
    EXPECT_EQ(Ids(replacement->m_children), std::vector<WORD>{line->m_id});
    EXPECT_EQ(Ids(a->m_children), std::vector<WORD>{});
    EXPECT_EQ(Ids(b->m_children), std::vector<WORD>{line->m_id});
    EXPECT_EQ(Seen(), "selection 2 40003 @5; rebuild 0 3 @5 posted");

    // Moving a former parent leaves the separated point where it is.
    MovePoint(b, 10, 0, 0);
    EXPECT_FLOAT_EQ(static_cast<CGVertex*>(replacement)->m_x, 2.0f);
    MovePoint(b, 4, 0, 0);
    EXPECT_EQ(TakeSnapshot(*m_page), after);

    ASSERT_TRUE(History().Undo());
    EXPECT_EQ(TakeSnapshot(*m_page), before);
    EXPECT_EQ(m_page->FindCell(m->m_id), m);
    EXPECT_EQ(Ids(b->m_children), (std::vector<WORD>{line->m_id, m->m_id})) << "relinked at the tail";
    ASSERT_TRUE(History().Redo());
    EXPECT_EQ(TakeSnapshot(*m_page), after);
}

// ---------------------------------------------------------------------------------------------
// Format painter

TEST_F(UndoTest, FormatPainterCopiesTheLastSelectedStyleOntoTheOthers) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(2, 0, 0);
    c->m_color = CRgba{1, 2, 3, 90};
    c->m_labelColor = CRgba{4, 5, 6, 7};
    c->m_size = 9.0f;
    c->m_style = 4;
    c->m_kind = c->m_labelHidden = c->m_extB1 = 1;
    c->m_param4 = 5;
    b->m_param4 = 2;
    for (CGVertex* p : {a, b, c})
        m_page->SelectCell(p->m_id);
    PageSnapshot before = TakeSnapshot(*m_page);
    auto* cmd = new CCmdMatchprop(u"格式刷");
    ASSERT_TRUE(cmd->TakeSelection(*m_page));
    EXPECT_EQ(cmd->m_objectKind, CCmdMatchprop::kPoints);
    EXPECT_EQ(cmd->m_source.m_id, c->m_id);
    ASSERT_EQ(cmd->m_targets.GetSize(), 2);
    EXPECT_TRUE(cmd->m_targets[0]->m_id == a->m_id && cmd->m_targets[1]->m_id == b->m_id);
    CheckUndoRedo(before, cmd, true);
    auto style = [](CGCell* x) {
        return std::tuple(x->m_color, x->m_labelColor, x->m_size, x->m_style, x->m_labelHidden);
    };
    EXPECT_EQ(style(a), style(c));
    EXPECT_EQ(a->m_param4, 0) << "points take no texture";
    EXPECT_EQ(b->m_param4, 2);
    EXPECT_EQ(g_textureCounter, 8);

    // Two of a kind are needed; lines come after points, so two lines and a point take the lines.
    m_page->ClearSelection();
    m_page->SelectCell(a->m_id);
    m_page->SelectCell(AddLine(a->m_id, b->m_id)->m_id);
    CCmdMatchprop lines(u"格式刷");
    EXPECT_FALSE(lines.TakeSelection(*m_page));
    m_page->SelectCell(AddLine(b->m_id, a->m_id)->m_id);
    EXPECT_TRUE(lines.TakeSelection(*m_page));
    EXPECT_EQ(lines.m_objectKind, CCmdMatchprop::kLines);
}

TEST_F(UndoTest, FormatPainterOnFacesKeepsColoursAndHandsOutTextureSlots) {
    std::vector<CGCell*> faces;
    for (int i = 0; i < 10; ++i) {
        auto* face = new CGFace;
        face->m_id = NextId();
        face->m_texCoordsDirty = false;
        Insert(face);
        face->m_color = CRgba{BYTE(10 * i), 20, 30, 255};
        faces.push_back(face);
        m_page->SelectCell(face->m_id);
    }
    faces[9]->m_param4 = 3; // the model is textured
    faces[9]->m_color = CRgba{200, 200, 200, 90};
    faces[2]->m_param4 = 12; // a target that has a texture keeps it
    auto* cmd = new CCmdMatchprop(u"格式刷");
    ASSERT_TRUE(cmd->TakeSelection(*m_page));
    EXPECT_EQ(cmd->m_objectKind, CCmdMatchprop::kFaces);
    History().Submit(cmd);
    cmd->Redo();
    std::vector<int> slots;
    for (int i = 0; i < 9; ++i)
        slots.push_back(faces[size_t(i)]->m_param4);
    EXPECT_EQ(slots, (std::vector<int>{9, 10, 12, 11, 12, 13, 14, 15, 9}));
    EXPECT_TRUE(static_cast<CGFace*>(faces[0])->m_texCoordsDirty) << "a new texture: coordinates again";
    EXPECT_FALSE(static_cast<CGFace*>(faces[2])->m_texCoordsDirty) << "kept its texture";
    EXPECT_EQ(g_textureCounter, 9);
    EXPECT_EQ(faces[4]->m_color, (CRgba{40, 20, 30, 90})) << "own colour, the model's opacity";
    ASSERT_TRUE(History().Undo());
    EXPECT_TRUE(faces[0]->m_param4 == 0 && faces[2]->m_param4 == 12);
    EXPECT_EQ(faces[4]->m_color, (CRgba{40, 20, 30, 255}));
    // An untextured model takes the targets' textures away.
    faces[9]->m_param4 = 0;
    CCmdMatchprop clear(u"格式刷");
    ASSERT_TRUE(clear.TakeSelection(*m_page));
    clear.Redo();
    EXPECT_EQ(faces[2]->m_param4, 0);
}

// ---------------------------------------------------------------------------------------------
// A long random history

TEST_F(UndoTest, RandomHistoryUndoesAndRedoesInFull) {
    History().m_maxCommands = 1000;
    std::mt19937 random(20261206);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    auto cellsOf = [&](auto predicate) {
        std::vector<CGCell*> found;
        for (POSITION pos = m_page->m_cells.GetStartPosition(); pos;) {
            WORD id;
            CGCell* cell;
            m_page->m_cells.GetNextAssoc(pos, id, cell);
            if (predicate(cell))
                found.push_back(cell);
        }
        std::sort(found.begin(), found.end(), [](CGCell* x, CGCell* y) { return x->m_id < y->m_id; });
        return found;
    };
    auto points = [&] { return cellsOf([](CGCell* c) { return c->IsKindOf(RUNTIME_CLASS(CGVertex)); }); };
    auto free = [&] {
        return cellsOf(
            [](CGCell* c) { return c->IsKindOf(RUNTIME_CLASS(CGVertex)) && c->m_parents.IsEmpty(); });
    };
    auto anyPointPair = [&](WORD& p, WORD& q) {
        std::vector<CGCell*> pts = points();
        if (pts.size() < 2)
            return false;
        p = pts[size_t(pick(int(pts.size())))]->m_id;
        do
            q = pts[size_t(pick(int(pts.size())))]->m_id;
        while (q == p);
        return true;
    };

    std::vector<PageSnapshot> states{TakeSnapshot(*m_page)};
    std::vector<std::string> kinds;
    const int commands = 320;
    while (int(states.size()) <= commands) {
        int op = pick(7);
        WORD p, q;
        if (op == 0 || points().size() < 3) {
            CGVertex* point = AddPoint(float(pick(20)), float(pick(20)), float(pick(20)));
            point->m_color = CRgba{BYTE(pick(256)), BYTE(pick(256)), 0, 255};
            point->m_size = float(1 + pick(9));
            point->m_style = BYTE(pick(6));
            History().Submit(new CCmdAddCell(u"添加点"));
            kinds.push_back("add");
        } else if (op == 1) {
            int n = 1 + pick(3);
            for (int i = 0; i < n && anyPointPair(p, q); ++i) {
                if (pick(2))
                    AddMidpoint(p, q);
                else
                    AddLine(p, q);
            }
            History().Submit(new CCmdAddCells(n, u"添加"));
            kinds.push_back("add n");
        } else if (op == 2) {
            std::vector<CGCell*> all = cellsOf([](CGCell*) { return true; });
            m_page->ClearSelection();
            m_page->SelectCell(all[size_t(pick(int(all.size())))]->m_id);
            auto* ids = new CList<WORD, WORD>;
            m_page->CollectDeletionIds(*ids);
            auto* cmd = new CCmdDelCells(ids, u"清除对象");
            History().Submit(cmd);
            cmd->Redo();
            kinds.push_back("delete");
        } else if (op == 3) {
            std::vector<CGCell*> movable = free();
            auto* point = static_cast<CGVertex*>(movable[size_t(pick(int(movable.size())))]);
            auto* cmd = new CCmdModifiPoint(point->m_id, u"移动点");
            point->m_param1 = float(pick(100)) / 100.0f;
            MovePoint(point, float(pick(20)), float(pick(20)), float(pick(20)));
            History().Submit(cmd);
            kinds.push_back("move");
        } else if (op == 4) {
            std::vector<CGCell*> dependent = cellsOf([](CGCell* c) { return !c->m_parents.IsEmpty(); });
            if (dependent.empty())
                continue;
            auto* cmd = new CCmdSplit(u"分离并定位");
            for (int i = 0; i < 2; ++i) {
                CGCell* cell = dependent[size_t(pick(int(dependent.size())))];
                if (!cmd->m_cells.Find(cell->m_id))
                    cmd->m_cells.SetAt(cell->m_id, DetachedCopy(cell));
            }
            History().Submit(cmd);
            cmd->Redo();
            kinds.push_back("split");
        } else {
            m_page->ClearSelection();
            std::vector<CGCell*> pts = points();
            for (int i = 0; i < 3; ++i)
                m_page->SelectCell(pts[size_t(pick(int(pts.size())))]->m_id);
            auto* cmd = new CCmdMatchprop(u"格式刷");
            if (!cmd->TakeSelection(*m_page)) {
                delete cmd;
                continue;
            }
            m_page->ClearSelection();
            History().Submit(cmd);
            cmd->Redo();
            kinds.push_back("style");
        }
        states.push_back(TakeSnapshot(*m_page));
    }
    ASSERT_EQ(History().GetCount(), commands);
    for (const char* kind : {"add", "add n", "delete", "move", "split", "style"})
        EXPECT_GE(std::count(kinds.begin(), kinds.end(), kind), 20) << kind;
    for (int i = commands; i > 0; --i) {
        ASSERT_TRUE(History().Undo()) << i;
        PageSnapshot now = TakeSnapshot(*m_page);
        ASSERT_EQ(now, states[size_t(i - 1)]) << "undo of command " << i << ", " << kinds[size_t(i - 1)]
                                              << ": " << SnapshotDifference(now, states[size_t(i - 1)]);
    }
    EXPECT_FALSE(History().CanUndo());
    for (int i = 1; i <= commands; ++i) {
        ASSERT_TRUE(History().Redo()) << i;
        PageSnapshot now = TakeSnapshot(*m_page);
        ASSERT_EQ(now, states[size_t(i)]) << "redo of command " << i << ", " << kinds[size_t(i - 1)] << ": "
                                          << SnapshotDifference(now, states[size_t(i)]);
    }
    EXPECT_FALSE(History().CanRedo());
}
