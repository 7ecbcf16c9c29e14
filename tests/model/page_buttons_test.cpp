// Running action buttons on a page: starting and stopping (with the members of series buttons),
// one animation tick after another, buttons asked to start by others, the recomputation list of
// the driven points, the traced cells, and running lists that name cells no longer in the page.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/expression_counters.h"
#include "support/page_fixture.h"
#include "model_checks.h"

namespace {

// Moves its driven point one unit along x per tick (without touching the vertex array, which the
// page's tick brings up to date) and completes after a given number of ticks.
class CTestAnimation : public CGButnAnimation {
public:
    CTestAnimation(WORD id, WORD driven, int ticks) : m_ticks(ticks) {
        m_id = id;
        AddParent(driven);
    }
    BOOL Step() override {
        ++m_steps;
        if (auto* point = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0])))
            point->m_x += 1.0f;
        return --m_ticks <= 0;
    }
    int m_ticks;
    int m_steps = 0;
};

// Asks for another button to start on its first tick and runs on.
class CTestStarter : public CGButton {
public:
    CTestStarter(WORD id, WORD other) : m_other(other) { m_id = id; }
    BOOL Step() override {
        if (!m_asked)
            g_buttonsToStart.push_back(m_other);
        m_asked = true;
        return FALSE;
    }
    WORD m_other;
    bool m_asked = false;
};

class PageButtonsTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        for (double& c : g_counters)
            c = 0.0;
        m_a = AddPoint(0, 0, 0);
        m_p = AddPoint(4, 0, 0);
        m_mid = AddMidpoint(m_a->m_id, m_p->m_id);
        m_line = AddLine(m_mid->m_id, m_p->m_id);
    }
    template <class T> T* AddButton(T* button) { return Insert(button); }
    CTestAnimation* AddAnimation(WORD driven, int ticks) {
        return Insert(new CTestAnimation(NextId(), driven, ticks));
    }
    CGButnPresentat* AddSeries(BYTE kind, std::initializer_list<WORD> members) {
        auto* series = new CGButnPresentat;
        series->m_id = NextId();
        series->m_kind = kind;
        for (WORD m : members)
            series->AddParent(m);
        return Insert(series);
    }
    std::vector<WORD> Running() { return Ids(m_page->m_runningButtons); }
    CGVertex* m_a = nullptr;
    CGVertex* m_p = nullptr;
    CTestMidpoint* m_mid = nullptr;
    CGLine* m_line = nullptr;
};

} // namespace

TEST_F(PageButtonsTest, TicksMoveTheDrivenPointAndWhatDependsOnIt) {
    CTestAnimation* anim = AddAnimation(m_a->m_id, 2);
    EXPECT_TRUE(m_page->StartButton(TRUE, anim->m_id));
    EXPECT_TRUE(anim->m_running);
    EXPECT_FALSE(m_page->StartButton(TRUE, anim->m_id)); // already running
    EXPECT_EQ(Running(), std::vector<WORD>{anim->m_id});
    // The view refreshes the running set after a start.
    m_page->MarkButtonDrivenCells();
    m_page->CollectMarkedIds(m_page->m_recomputeIds);
    // The button is a child of the point it drives, so it is recomputed too (its validity).
    EXPECT_EQ(m_page->m_recomputeIds, (std::vector<WORD>{m_mid->m_id, m_line->m_id, anim->m_id}));

    EXPECT_TRUE(m_page->StepButtons());
    EXPECT_EQ(m_a->m_x, 1.0f);
    EXPECT_EQ(Slot(m_a->m_vertexIndex)[0], 1.0f); // synchronised by the tick
    EXPECT_EQ(m_mid->m_x, 2.5f);
    EXPECT_TRUE(anim->m_running);

    // The second tick completes the action: the button leaves the list in the same tick.
    EXPECT_FALSE(m_page->StepButtons());
    EXPECT_EQ(m_a->m_x, 2.0f);
    EXPECT_EQ(m_mid->m_x, 3.0f);
    EXPECT_FALSE(anim->m_running);
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    EXPECT_TRUE(g_finishedButtons.empty());
}

TEST_F(PageButtonsTest, OneButtonFinishingLeavesTheOthersRunning) {
    CTestAnimation* shortOne = AddAnimation(m_a->m_id, 1);
    CTestAnimation* longOne = AddAnimation(m_p->m_id, 5);
    m_page->StartButton(TRUE, shortOne->m_id);
    m_page->StartButton(TRUE, longOne->m_id);
    EXPECT_TRUE(m_page->RestartButtonsAfterEdit());
    EXPECT_EQ(m_page->m_recomputeIds,
              (std::vector<WORD>{m_mid->m_id, m_line->m_id, shortOne->m_id, longOne->m_id}));
    EXPECT_TRUE(m_page->StepButtons());
    EXPECT_EQ(Running(), std::vector<WORD>{longOne->m_id});
    // The set was refreshed: now only the descendants of the long one's point.
    EXPECT_EQ(m_page->m_recomputeIds, (std::vector<WORD>{m_mid->m_id, m_line->m_id, longOne->m_id}));
    EXPECT_EQ(m_mid->m_x, 3.0f); // (1 + 5) / 2
}

TEST_F(PageButtonsTest, StopRefusesAnIdleButtonAndOtherCells) {
    CTestAnimation* anim = AddAnimation(m_a->m_id, 3);
    EXPECT_FALSE(m_page->StartButton(FALSE, anim->m_id));
    EXPECT_FALSE(m_page->StartButton(TRUE, m_a->m_id)); // a point is no button
    EXPECT_FALSE(m_page->StartButton(TRUE, 999));
    m_page->StartButton(TRUE, anim->m_id);
    EXPECT_TRUE(m_page->StartButton(FALSE, anim->m_id));
    EXPECT_FALSE(anim->m_running);
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
}

TEST_F(PageButtonsTest, ParallelSeriesStartsAndStopsAllMembers) {
    CTestAnimation* first = AddAnimation(m_a->m_id, 3);
    CTestAnimation* second = AddAnimation(m_p->m_id, 3);
    CGButnPresentat* series = AddSeries(0, {first->m_id, second->m_id});
    EXPECT_TRUE(m_page->StartButton(TRUE, series->m_id));
    EXPECT_EQ(Running(), (std::vector<WORD>{first->m_id, second->m_id, series->m_id}));
    EXPECT_TRUE(m_page->StartButton(FALSE, series->m_id));
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    EXPECT_FALSE(first->m_running);
    EXPECT_FALSE(second->m_running);
}

TEST_F(PageButtonsTest, SequentialSeriesStartsItsFirstMemberAndStopsTheCurrentOne) {
    CTestAnimation* first = AddAnimation(m_a->m_id, 3);
    CTestAnimation* second = AddAnimation(m_p->m_id, 3);
    CGButnPresentat* series = AddSeries(1, {first->m_id, second->m_id});
    series->m_param4 = 7;
    EXPECT_TRUE(m_page->StartButton(TRUE, series->m_id));
    EXPECT_EQ(series->m_param4, 0);
    EXPECT_EQ(Running(), (std::vector<WORD>{first->m_id, series->m_id}));
    // Now the second member runs.
    m_page->StartButton(FALSE, first->m_id);
    m_page->StartButton(TRUE, second->m_id);
    series->m_param4 = 1;
    EXPECT_TRUE(m_page->StartButton(FALSE, series->m_id));
    EXPECT_FALSE(second->m_running);
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    // A member index from a damaged record stops nothing else.
    m_page->StartButton(TRUE, series->m_id);
    series->m_param4 = 9;
    EXPECT_TRUE(m_page->StartButton(FALSE, series->m_id));
    EXPECT_TRUE(first->m_running);
}

TEST_F(PageButtonsTest, SeriesStartCheckOfItsLoop) {
    CTestAnimation* member = AddAnimation(m_a->m_id, 3);
    CGButnPresentat* series = AddSeries(0, {member->m_id});
    // A counting loop whose start lies beyond its end does not start, but sets its counter.
    series->m_extA1 = 2;
    series->m_counterNumber = 2;
    series->m_start = 5.0;
    series->m_end = 3.0;
    EXPECT_FALSE(m_page->StartButton(TRUE, series->m_id));
    EXPECT_FALSE(member->m_running);
    EXPECT_EQ(g_counters[1], 5.0);
    series->m_step = -1.0;
    EXPECT_TRUE(m_page->StartButton(TRUE, series->m_id));
    EXPECT_EQ(series->m_style, 1); // started
    EXPECT_TRUE(member->m_running);
    m_page->StartButton(FALSE, series->m_id);
    // A started loop is not checked again.
    series->m_step = 1.0;
    EXPECT_TRUE(series->CanStart());
    // While loop: runs while its counter is positive.
    series->m_style = 0;
    series->m_extA1 = 3;
    g_counters[1] = 0.0;
    EXPECT_FALSE(series->CanStart());
    g_counters[1] = 0.5;
    EXPECT_TRUE(series->CanStart());
    EXPECT_EQ(series->m_style, 1);
    // Until loop: always starts, never marks itself started.
    series->m_style = 0;
    series->m_extA1 = 4;
    EXPECT_TRUE(series->CanStart());
    EXPECT_EQ(series->m_style, 0);
    // A counter number outside 1..6 gives nothing to loop over.
    series->m_extA1 = 3;
    series->m_counterNumber = 7;
    EXPECT_FALSE(series->CanStart());
}

TEST_F(PageButtonsTest, ButtonsAskedForStartInTheSameTick) {
    CTestAnimation* anim = AddAnimation(m_a->m_id, 5);
    auto* starter = Insert(new CTestStarter(NextId(), anim->m_id));
    m_page->StartButton(TRUE, starter->m_id);
    EXPECT_TRUE(m_page->StepButtons());
    EXPECT_TRUE(anim->m_running);
    EXPECT_TRUE(g_buttonsToStart.empty());
    EXPECT_EQ(Running(), (std::vector<WORD>{starter->m_id, anim->m_id}));
    // The start changed the running set, so the tick refreshed the recomputation list.
    EXPECT_EQ(m_page->m_recomputeIds, (std::vector<WORD>{m_mid->m_id, m_line->m_id, anim->m_id}));
    EXPECT_EQ(anim->m_steps, 0); // it steps from the next tick on
}

TEST_F(PageButtonsTest, ResetStopsEverything) {
    CTestAnimation* anim = AddAnimation(m_a->m_id, 5);
    m_page->StartButton(TRUE, anim->m_id);
    m_page->RestartButtonsAfterEdit();
    m_page->ResetButtonStates();
    EXPECT_FALSE(anim->m_running);
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    EXPECT_TRUE(m_page->m_recomputeIds.empty());
    EXPECT_EQ(m_page->m_timerMode, 5);
    EXPECT_FALSE(m_page->RestartButtonsAfterEdit());
}

TEST_F(PageButtonsTest, RestartAfterEditFollowsTheRunningFlagsInMapOrder) {
    CTestAnimation* first = AddAnimation(m_a->m_id, 5);
    CTestAnimation* second = AddAnimation(m_p->m_id, 5);
    second->m_running = true; // as an undone deletion brings a running button back
    first->m_running = true;
    EXPECT_TRUE(m_page->RestartButtonsAfterEdit());
    // Keys below 16 walk from the highest down.
    EXPECT_EQ(Running(), (std::vector<WORD>{second->m_id, first->m_id}));
    EXPECT_EQ(m_page->m_recomputeIds,
              (std::vector<WORD>{m_mid->m_id, m_line->m_id, first->m_id, second->m_id}));
}

TEST_F(PageButtonsTest, TracedCellsDuringAnimationAndDragging) {
    CTestAnimation* anim = AddAnimation(m_a->m_id, 5);
    m_a->m_traced = true;
    m_line->m_traced = true;
    m_page->StartButton(TRUE, anim->m_id);
    m_page->RestartButtonsAfterEdit();
    EXPECT_EQ(Ids(m_page->m_tracedCells), (std::vector<WORD>{m_line->m_id, m_a->m_id}));
    EXPECT_TRUE(g_tracing);

    // Dragging: the collected ids and the dragged point.
    m_page->m_scratchIds = {m_mid->m_id, m_line->m_id};
    g_draggedId = m_a->m_id;
    m_page->RebuildTraceList(0);
    EXPECT_EQ(Ids(m_page->m_tracedCells), (std::vector<WORD>{m_line->m_id, m_a->m_id}));

    // The three-view layout keeps no traces.
    m_page->m_threeView = 1;
    m_page->RebuildTraceList(0);
    EXPECT_TRUE(m_page->m_tracedCells.IsEmpty());
    EXPECT_FALSE(g_tracing);
}

TEST_F(PageButtonsTest, StaleIdsInTheRunningAndRecomputeListsAreSkipped) {
    CTestAnimation* anim = AddAnimation(m_a->m_id, 5);
    m_page->StartButton(TRUE, anim->m_id);
    m_page->RestartButtonsAfterEdit();
    // An edit removed the line and another button without telling the lists.
    m_page->m_cells.RemoveKey(m_line->m_id);
    m_mid->m_children.RemoveAll();
    m_p->m_children.RemoveAll();
    delete m_line;
    m_line = nullptr;
    m_page->m_runningButtons.AddTail(200);
    m_page->m_tracedCells.AddTail(201);
    EXPECT_TRUE(m_page->StepButtons());
    EXPECT_EQ(Running(), std::vector<WORD>{anim->m_id}); // the missing one finished
    EXPECT_EQ(m_page->m_recomputeIds, (std::vector<WORD>{m_mid->m_id, anim->m_id}));
    EXPECT_EQ(m_mid->m_x, 2.5f);

    // Only a missing button left: the tick ends the animation.
    m_page->StartButton(FALSE, anim->m_id);
    m_page->m_runningButtons.AddTail(202);
    EXPECT_FALSE(m_page->StepButtons());
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());

    // After an edit with nothing running, the trace list no longer names removed cells.
    m_page->m_tracedCells.AddTail(203);
    EXPECT_FALSE(m_page->RestartButtonsAfterEdit());
    EXPECT_TRUE(m_page->m_tracedCells.IsEmpty());
}
