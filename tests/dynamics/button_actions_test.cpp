// The buttons that act in one tick or run others: show/hide in its four actions (with the caption a
// toggle rewrites), series buttons with pauses and every loop over the expression counters, member
// indices that name no member, and link buttons that post the page switch or open their target.
#include "button_fixture.h"

#include "platform/cmdtarget.h"
#include "platform/shell.h"
#include "view/view_globals.h"

namespace {

// Completes after a given number of steps, counting them; optionally sets a counter on a given step.
class CTicksButton : public CGButton {
public:
    CTicksButton(WORD id, int ticks) : m_ticks(ticks) { m_id = id; }
    BOOL Step() override {
        ++m_steps;
        if (m_setOnStep > 0 && m_steps == m_setOnStep && m_counter)
            *m_counter = m_value;
        return m_steps % m_ticks == 0 ? TRUE : FALSE;
    }
    int m_ticks;
    int m_steps = 0;
    int m_setOnStep = 0;
    double* m_counter = nullptr;
    double m_value = 0.0;
};

class ActionButtonTest : public ButtonTest {
protected:
    CTicksButton* AddTicks(int ticks) {
        auto* b = new CTicksButton(NextId(), ticks);
        return Insert(b);
    }
    // A series button on these members, made as the command makes it from the selected buttons.
    CGButnPresentat* AddSeries(int kind, std::initializer_list<CGButton*> members, float pause = 0.0f) {
        m_page->ClearSelection();
        for (CGButton* m : members)
            m_page->SelectCell(m->m_id);
        return AddButton<CGButnPresentat>(CString(u"系列"), kind, pause);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Show/hide

TEST_F(ActionButtonTest, ShowHideActsOnItsTargetsInOneTick) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    Select({a->m_id, ab->m_id});
    auto* button = AddButton<CGButnSHide>();
    EXPECT_EQ(Parents(button), (std::vector<WORD>{a->m_id, ab->m_id}));
    EXPECT_EQ(Ids(ab->m_children), std::vector<WORD>{button->m_id});
    EXPECT_EQ(button->m_name, CString(u"隐藏"));
    EXPECT_EQ(button->m_kind, CGButnSHide::kToggle);
    EXPECT_EQ(button->GetDescription(), CString(u"显示隐藏对象的动作按钮"));

    // Toggle: hide, and the caption names the next action; then show.
    ASSERT_TRUE(Start(button));
    EXPECT_FALSE(m_page->StepButtons()) << "done in its first tick";
    EXPECT_EQ(a->m_hidden, 1);
    EXPECT_EQ(ab->m_hidden, 1);
    EXPECT_EQ(button->m_name, CString(u"显示"));
    EXPECT_TRUE(button->m_flag2);
    EXPECT_TRUE(button->Step());
    EXPECT_EQ(a->m_hidden, 0);
    EXPECT_EQ(button->m_name, CString(u"隐藏"));
    EXPECT_EQ(b->m_hidden, 0) << "not a target";

    // Always show, always hide.
    button->m_kind = CGButnSHide::kHide;
    button->Step();
    button->Step();
    EXPECT_EQ(a->m_hidden + ab->m_hidden, 2);
    button->m_kind = CGButnSHide::kShow;
    button->Step();
    EXPECT_EQ(a->m_hidden + ab->m_hidden, 0);
    // Any other action does nothing and still finishes.
    button->m_kind = 9;
    EXPECT_TRUE(button->Step());
}

TEST_F(ActionButtonTest, ShowOneByOneThenHideAllAndStartAgain) {
    CGVertex* p[3] = {AddPoint(0, 0, 0), AddPoint(1, 0, 0), AddPoint(2, 0, 0)};
    for (CGVertex* v : p)
        v->m_hidden = 1;
    Select({p[0]->m_id, p[1]->m_id, p[2]->m_id});
    auto* button = AddButton<CGButnSHide>();
    button->m_kind = CGButnSHide::kOneByOne;
    auto shown = [&] {
        std::vector<int> s;
        for (CGVertex* v : p)
            s.push_back(v->m_hidden ? 0 : 1);
        return s;
    };
    const std::vector<std::vector<int>> expected = {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {0, 0, 0}, {1, 0, 0}};
    for (const auto& want : expected) {
        EXPECT_TRUE(button->Step());
        EXPECT_EQ(shown(), want);
    }
}

TEST_F(ActionButtonTest, AFixedCaptionKeepsAllButItsVerb) {
    CGVertex* a = AddPoint(0, 0, 0);
    Select({a->m_id});
    auto* button = AddButton<CGButnSHide>();
    button->m_nameFixed = true;
    button->m_name = CString(u"隐藏") + a->m_name;
    button->Step();
    EXPECT_EQ(button->m_name, CString(u"显示") + a->m_name);
    button->Step();
    EXPECT_EQ(button->m_name, CString(u"隐藏") + a->m_name);
    // Two characters or fewer stay as the user wrote them.
    button->m_name = u"开关";
    button->Step();
    EXPECT_EQ(button->m_name, CString(u"开关"));
    // Without targets the button acts on nothing and finishes.
    m_page->ClearSelection();
    auto* empty = AddButton<CGButnSHide>();
    EXPECT_TRUE(empty->m_parents.IsEmpty());
    EXPECT_TRUE(empty->Step());
}

// ---------------------------------------------------------------------------------------------
// Series

TEST_F(ActionButtonTest, InTurnTheNextMemberStartsTwoTicksAfterThePreviousFinished) {
    CTicksButton* first = AddTicks(3);
    CTicksButton* second = AddTicks(2);
    CGButnPresentat* series = AddSeries(1, {first, second});
    EXPECT_EQ(series->GetDescription(), CString(u"2个按钮的串行动作按钮"));
    ASSERT_TRUE(Start(series));
    EXPECT_EQ(Running(), (std::vector<WORD>{first->m_id, series->m_id}));
    std::vector<std::vector<WORD>> running;
    for (int i = 0; i < 12 && series->m_running; ++i) {
        m_page->StepButtons();
        running.push_back(Running());
    }
    const std::vector<WORD> both{first->m_id, series->m_id};
    const std::vector<WORD> alone{series->m_id};
    const std::vector<WORD> next{series->m_id, second->m_id};
    // first finishes in tick 3; pause 0 s: counted in ticks 4 and 5, second started at the end of 5.
    EXPECT_EQ(running, (std::vector<std::vector<WORD>>{both, both, alone, alone, next, next, alone, alone,
                                                       std::vector<WORD>{}}));
    EXPECT_EQ(second->m_steps, 2);
    EXPECT_FALSE(series->m_running);
}

TEST_F(ActionButtonTest, AtOnceTheSeriesEndsTheTickAfterItsLastMember) {
    CTicksButton* quick = AddTicks(1);
    CTicksButton* slow = AddTicks(4);
    CGButnPresentat* series = AddSeries(0, {quick, slow});
    EXPECT_EQ(series->GetDescription(), CString(u"2个按钮的并行动作按钮"));
    ASSERT_TRUE(Start(series));
    EXPECT_EQ(Running(), (std::vector<WORD>{quick->m_id, slow->m_id, series->m_id}));
    EXPECT_EQ(Tick(20), 5) << "the slow member ends in tick 4, the series in tick 5";
    EXPECT_EQ(quick->m_steps, 1);
    // Stopping the series stops the members that run.
    ASSERT_TRUE(Start(series));
    m_page->StepButtons();
    ASSERT_TRUE(m_page->StartButton(FALSE, series->m_id));
    EXPECT_TRUE(m_page->m_runningButtons.IsEmpty());
    EXPECT_FALSE(slow->m_running);
}

TEST_F(ActionButtonTest, FixedCountRunsTheMembersThatManyTimes) {
    CTicksButton* member = AddTicks(2);
    CGButnPresentat* series = AddSeries(0, {member});
    series->m_extA1 = CGButnPresentat::kFixedCount;
    series->m_repeatCount = 3;
    ASSERT_TRUE(Start(series));
    Tick(100);
    EXPECT_FALSE(series->m_running);
    EXPECT_EQ(member->m_steps, 6) << "three runs of two ticks";
    EXPECT_EQ(series->m_runNumber, 1) << "ready for the next press";
    series->m_repeatCount = 1;
    member->m_steps = 0;
    ASSERT_TRUE(Start(series));
    Tick(100);
    EXPECT_EQ(member->m_steps, 2) << "a count of 1 runs once";
}

TEST_F(ActionButtonTest, CountingLoopsOverTheSharedCounters) {
    CTicksButton* member = AddTicks(1);
    CGButnPresentat* series = AddSeries(1, {member});
    series->m_extA1 = CGButnPresentat::kForLoop;
    series->m_counterNumber = 3;
    series->m_start = 1.0;
    series->m_end = 3.0;
    series->m_step = 1.0;
    ASSERT_TRUE(Start(series));
    EXPECT_EQ(g_counters[2], 1.0);
    EXPECT_EQ(series->m_style, 1) << "started";
    Tick(100);
    EXPECT_FALSE(series->m_running);
    EXPECT_EQ(member->m_steps, 3);
    EXPECT_EQ(g_counters[2], 4.0) << "one past the end";
    EXPECT_EQ(series->m_style, 0) << "a stopped loop starts from its start again";
    // Counting down.
    series->m_start = 2.0;
    series->m_end = 0.0;
    series->m_step = -0.5;
    member->m_steps = 0;
    ASSERT_TRUE(Start(series));
    Tick(100);
    EXPECT_EQ(member->m_steps, 5);
    EXPECT_EQ(g_counters[2], -0.5);
    // A start beyond the end refuses: the press changes nothing.
    series->m_step = 0.5;
    member->m_steps = 0;
    EXPECT_FALSE(m_page->StartButton(TRUE, series->m_id));
    EXPECT_FALSE(member->m_running);
}

TEST_F(ActionButtonTest, WhileAndUntilLoopsTestTheirCounter) {
    // While: checked before each run; the member's third step makes the counter 0.
    CTicksButton* member = AddTicks(1);
    member->m_counter = &g_counters[0];
    member->m_setOnStep = 3;
    member->m_value = 0.0;
    CGButnPresentat* series = AddSeries(1, {member});
    series->m_extA1 = CGButnPresentat::kWhileLoop;
    g_counters[0] = 0.0;
    EXPECT_FALSE(m_page->StartButton(TRUE, series->m_id)) << "a counter that is not positive refuses";
    g_counters[0] = 1.0;
    ASSERT_TRUE(Start(series));
    Tick(100);
    EXPECT_EQ(member->m_steps, 3);
    EXPECT_FALSE(series->m_running);
    // Until: runs first, stops after the run in which the counter became positive.
    member->m_steps = 0;
    member->m_value = 2.0;
    member->m_setOnStep = 4;
    series->m_extA1 = CGButnPresentat::kUntilLoop;
    g_counters[0] = 0.0;
    ASSERT_TRUE(Start(series));
    EXPECT_EQ(series->m_style, 0) << "an until loop is never marked started";
    Tick(100);
    EXPECT_EQ(member->m_steps, 4);
    // A counter number outside 1 to 6 ends the loop after its run.
    series->m_counterNumber = 9;
    member->m_steps = 0;
    ASSERT_TRUE(Start(series));
    Tick(100);
    EXPECT_EQ(member->m_steps, 1);
}

TEST_F(ActionButtonTest, ANestedSeriesRunsItsMembersBeforeTheOuterOneMovesOn) {
    CTicksButton* a = AddTicks(2);
    CTicksButton* b = AddTicks(2);
    CTicksButton* c = AddTicks(1);
    CGButnPresentat* inner = AddSeries(1, {a, b});
    CGButnPresentat* outer = AddSeries(1, {inner, c});
    ASSERT_TRUE(Start(outer));
    EXPECT_EQ(Running(), (std::vector<WORD>{a->m_id, inner->m_id, outer->m_id}));
    while (outer->m_running && !c->m_running)
        m_page->StepButtons();
    EXPECT_EQ(a->m_steps, 2);
    EXPECT_EQ(b->m_steps, 2) << "the inner series is done before the outer one starts c";
    Tick(100);
    EXPECT_EQ(c->m_steps, 1);
}

TEST_F(ActionButtonTest, AMemberIndexThatNamesNoMemberIsIgnored) {
    CTicksButton* member = AddTicks(1);
    CGButnPresentat* series = AddSeries(1, {member});
    ASSERT_TRUE(Start(series));
    series->m_param4 = 7; // as a damaged record would leave it
    member->m_running = false;
    m_page->m_runningButtons.RemoveAll();
    m_page->m_runningButtons.AddTail(series->m_id);
    EXPECT_EQ(Tick(10), 2) << "no member to wait for: one tick of pause, then the end of the run";
    EXPECT_TRUE(m_page->StartButton(TRUE, series->m_id));
    series->m_param4 = -2;
    EXPECT_TRUE(m_page->StartButton(FALSE, series->m_id));
    EXPECT_TRUE(member->m_running) << "stopping touches no member for an index that names none";
    // Without members the series ends its run at once.
    m_page->ClearSelection();
    auto* empty = AddButton<CGButnPresentat>(CString(u"空"), 0, 0.0f);
    EXPECT_TRUE(empty->Step());
}

// ---------------------------------------------------------------------------------------------
// Link

TEST_F(ActionButtonTest, LinksPostThePageSwitchOrOpenTheirTarget) {
    CWnd view;
    HxSetDrawingViewWindow(&view);
    std::vector<HxMessageRecord> posted;
    HxSetMessageObserver([&](const HxMessageRecord& r) { posted.push_back(r); });
    std::vector<CString> opened;
    HxSetShellOpenHandler([&](const CString& target, const CString&) {
        opened.push_back(target);
        return false;
    });
    auto* toPage =
        AddButton<CGButnLink>(CString(u"第二页"), CGButnLink::kToPage, WORD(7), CString(u"第二页"));
    EXPECT_EQ(toPage->GetDescription(), CString(u"页链接按钮"));
    ASSERT_TRUE(Start(toPage));
    EXPECT_FALSE(m_page->StepButtons());
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].target, &view);
    EXPECT_EQ(posted[0].message, UM_GOTO_PAGE);
    EXPECT_EQ(posted[0].wParam, WPARAM(0));
    EXPECT_EQ(posted[0].lParam, LPARAM(7));
    EXPECT_TRUE(posted[0].posted) << "after the tick, not inside it";
    EXPECT_TRUE(opened.empty());

    // A file link hands its target to the desktop; a failure is not reported and it still finishes.
    // An empty target opens nothing.
    auto* toFile =
        AddButton<CGButnLink>(CString(u"资料"), CGButnLink::kToTarget, WORD(0), CString(u"/tmp/a b.pdf"));
    EXPECT_EQ(toFile->GetDescription(), CString(u"链接按钮"));
    EXPECT_TRUE(toFile->Step());
    auto* blank = AddButton<CGButnLink>(CString(u"空"), CGButnLink::kToTarget, WORD(0), CString());
    EXPECT_TRUE(blank->Step());
    EXPECT_EQ(opened, std::vector<CString>{CString(u"/tmp/a b.pdf")});
    EXPECT_EQ(posted.size(), 1u);

    HxSetShellOpenHandler(nullptr);
    HxSetMessageObserver(nullptr);
    HxSetDrawingViewWindow(nullptr);
    while (HxPostedMessageCount() > 0)
        HxPumpPostedMessages();
}
