// The action-button commands: their enabling rules, the presets the animation command gives its
// dialog by the driven object, the buttons made from the dialogs' fields as one undo step each, the
// move command's refusal, the series loop and the link target stored, and the properties of every
// button class through its dialog.
#include "construct/construct_fixture.h"

#include "button_fixture.h"
#include "dynamics/button_dialogs.h"
#include "dynamics/button_ids.h"
#include "points/confined_points.h"
#include "points/path_points.h"
#include "solids/fold.h"
#include "solids/polyhedron.h"
#include "solids/split.h"

#include <cmath>

namespace {

class ButtonCommandsTest : public ConstructTest {
protected:
    CGTmVarParameter* AddParameter(float v) {
        auto* p = new CGTmVarParameter;
        p->m_id = NextId();
        p->m_name = u"k";
        p->m_param1 = v;
        return Insert(p);
    }
    CGPolyhedron* AddCube() {
        std::vector<double> cube;
        for (int i = 0; i < 8; ++i)
            cube.insert(cube.end(), {i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
        auto* hull = new CGPolyhedron;
        hull->m_id = NextId();
        EXPECT_TRUE(BuildConvexHull(cube.data(), 8, *hull));
        return Insert(hull);
    }
    struct CAnimationPresets {
        float m_min = 0, m_max = 0, m_step = 0, m_pause = 0;
        int m_direction = 0, m_repeat = 0;
        CString m_caption, m_driven;
    };
    // The fields the animation dialog opened with for the selection given (the dialog is cancelled).
    CAnimationPresets PresetsFor(std::initializer_list<WORD> selection) {
        CAnimationPresets seen;
        Script<CDlgBtnAnimation>([&](CDlgBtnAnimation& d) {
            seen.m_min = d.m_min;
            seen.m_max = d.m_max;
            seen.m_step = d.m_step;
            seen.m_caption = d.m_caption;
            seen.m_driven = d.m_driven;
            seen.m_direction = d.m_direction;
            seen.m_repeat = d.m_repeat;
            seen.m_pause = d.m_pause;
        });
        m_answer = IDCANCEL;
        RunOn(ID_EDIT_BTN_ANIMATION, selection);
        m_answer = IDOK;
        return seen;
    }
    template <class T> T* Last() { return Cell<T>(WORD(m_page->m_nextId - 1)); }
};

} // namespace

TEST_F(ButtonCommandsTest, EnablingRules) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* onLine = Add<CGVerFreeInLine>(ab->m_id, 0.5f);
    auto* free = Add<CGVerFreeXyz>(1.0f, 1.0f, 1.0f);
    auto* follower = Add<CGVerFreeHenchman>(1.0f, 2.0f, 0.0f, a->m_id);
    auto* upright = Add<CGVerFreeUpright>(a->m_id, b->m_id);
    auto* perpen = Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id);
    auto* border = Add<CGVerFreeInBorder>(IdList({a->m_id, b->m_id, c->m_id}), 0.5f);
    CGTmVarParameter* parameter = AddParameter(1.0f);
    CGTmVariable* value = AddValue(1.0f, u"v");

    struct Case {
        const char* what;
        std::vector<WORD> selection;
        bool animation, move;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, false, false},
        {"a point on a line", {onLine->m_id}, true, false},
        {"a point free in space", {free->m_id}, false, false},
        {"a follower", {follower->m_id}, false, false},
        {"a point square to a line", {upright->m_id}, false, false},
        {"a fixed point", {a->m_id}, false, false},
        {"a point on a perpendicular", {perpen->m_id}, true, false},
        {"a parameter", {parameter->m_id}, true, false},
        {"a value that is no parameter", {value->m_id}, false, false},
        {"a fixed point and a parameter", {a->m_id, parameter->m_id}, true, false},
        {"two points, the first free", {free->m_id, b->m_id}, false, true},
        {"two points, the first on a line", {onLine->m_id, b->m_id}, false, true},
        {"two points, the first a follower", {follower->m_id, b->m_id}, false, true},
        {"two points, the first on a perpendicular", {perpen->m_id, b->m_id}, false, true},
        {"two points, the first square to a line", {upright->m_id, b->m_id}, false, false},
        {"two points, the first on a border", {border->m_id, b->m_id}, false, false},
        {"two points, the first fixed", {a->m_id, free->m_id}, false, false},
        {"three points", {free->m_id, b->m_id, c->m_id}, false, false},
    };
    for (const Case& t : cases) {
        m_page->ClearSelection();
        for (WORD id : t.selection)
            m_page->SelectCell(id);
        EXPECT_EQ(Enabled(ID_EDIT_BTN_ANIMATION), t.animation) << t.what;
        EXPECT_EQ(Enabled(ID_EDIT_BTN_MOVE), t.move) << t.what;
        EXPECT_EQ(Enabled(ID_EDIT_BTN_HIDESHOW), !t.selection.empty()) << t.what;
        EXPECT_TRUE(Enabled(ID_EDIT_BTN_LINK)) << t.what;
    }
    // The whole page selected is something to show and hide.
    m_page->ClearSelection();
    m_page->m_pageSelected = 1;
    EXPECT_TRUE(Enabled(ID_EDIT_BTN_HIDESHOW));
    m_page->m_pageSelected = 0;

    // Nets and cuts as the one other object.
    CGPolyhedron* hull = AddCube();
    auto* net = Insert(new CGFold(NextId(), hull->m_id, u"展开图", 1, 0));
    auto* cut = Insert(new CGSplit(NextId(), hull->m_id, 2, 0, 2.0));
    Select({net->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_BTN_ANIMATION));
    Select({cut->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_BTN_ANIMATION));
    Select({hull->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_BTN_ANIMATION));
    Select({net->m_id, cut->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_BTN_ANIMATION));

    // Series: two buttons or more.
    auto* b1 = Insert(new CGButnSHide(NextId()));
    auto* b2 = Insert(new CGButnSHide(NextId()));
    Select({b1->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_BTN_PRESENTAT));
    Select({b1->m_id, b2->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_BTN_PRESENTAT));
}

TEST_F(ButtonCommandsTest, AnimationPresetsByTheDrivenObject) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    CGArc* circle = AddCircle(0, 0, 0, 3);
    auto* onCircle = Add<CGVerFreeInCircle>(circle->m_id, 0.5f);
    auto* equilateral = Add<CGVerFreeEquilateral>(a->m_id, b->m_id);
    auto* perpen = Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id);
    auto* parallel = Add<CGVerFreeParVector>(1.0f, 0.0f, 0.0f, a->m_id);
    auto* border = Add<CGVerFreeInBorder>(IdList({a->m_id, b->m_id, c->m_id}), 0.5f);
    const auto f = [](double t, double* out) {
        out[0] = t;
        out[1] = 0.0;
        out[2] = 0.0;
    };
    auto* curve = Insert(new CTestCurve(NextId(), -1.0, 3.0, 11, f));
    auto* onCurve = Insert(new CTestPointOnCurve(NextId(), NextVertex(), curve->m_id, 0.0f));
    auto* reversed = Insert(new CTestCurve(NextId(), 3.0, -1.0, 11, f));
    auto* onReversed = Insert(new CTestPointOnCurve(NextId(), NextVertex(), reversed->m_id, 0.0f));
    auto* driver = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.5f);
    CTestMidpoint* traced = AddMidpoint(driver->m_id, c->m_id);
    auto* locus = Insert(new CTestLocus(NextId(), driver->m_id, traced->m_id, 0.25f, 0.75f, 11));
    auto* onLocus = Insert(new CTestPointOnLocus(NextId(), NextVertex(), locus->m_id, 0.5f));
    CGTmVarParameter* parameter = AddParameter(2.0f);
    CGPolyhedron* hull = AddCube();
    auto* together = Insert(new CGFold(NextId(), hull->m_id, u"展开图", 1, CGFold::kSpreadTogether));
    auto* byLevel = Insert(new CGFold(NextId(), hull->m_id, u"展开图", 1, CGFold::kSpreadByLevel));
    auto* cut = Insert(new CGSplit(NextId(), hull->m_id, 3, 0, 2.0));

    struct Case {
        const char* what;
        WORD id;
        float min, max, step;
    };
    const float byLevelEnd = float(byLevel->m_deepestLevel + 1);
    const std::vector<Case> cases = {
        {"on a circle", onCircle->m_id, 0.0f, 6.2831855f, 0.08726646f},
        {"equilateral", equilateral->m_id, 0.0f, 6.2831855f, 0.08726646f},
        {"on a perpendicular", perpen->m_id, 0.0f, 10.0f, 0.1f},
        {"parallel to a vector", parallel->m_id, 0.0f, 10.0f, 0.1f},
        {"on a border of three", border->m_id, 0.0f, 3.0f, 0.1f},
        {"on a curve", onCurve->m_id, -1.0f, 3.0f, 0.1f},
        {"on a curve run backwards", onReversed->m_id, 0.0f, 10.0f, 0.1f},
        {"on a locus", onLocus->m_id, 0.25f, 0.75f, 0.1f},
        {"a parameter", parameter->m_id, 0.0f, 1.0f, 0.1f},
        {"a net folded all at once", together->m_id, 1.0f, 2.0f, 0.1f},
        {"a net folded level by level", byLevel->m_id, 1.0f, byLevelEnd, 0.1f},
        {"a cut by three planes", cut->m_id, 0.0f, 3.0f, 0.1f},
    };
    for (const Case& t : cases) {
        const CAnimationPresets seen = PresetsFor({t.id});
        EXPECT_EQ(seen.m_min, t.min) << t.what;
        EXPECT_EQ(seen.m_max, t.max) << t.what;
        EXPECT_EQ(seen.m_step, t.step) << t.what;
        EXPECT_EQ(seen.m_caption, CString(u"动画")) << t.what;
        EXPECT_EQ(seen.m_driven, Cell<CGCell>(t.id)->GetDescription()) << t.what;
    }
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "cancelled: nothing made";
}

TEST_F(ButtonCommandsTest, TheAnimationCommandMakesItsButtonAsOneStep) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    auto* p = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.5f);
    const PageSnapshot before = TakeSnapshot(*m_page);
    Script<CDlgBtnAnimation>([](CDlgBtnAnimation& d) {
        EXPECT_EQ(d.m_direction, 2);
        d.m_caption = u"走";
        d.m_min = 0.25f;
        d.m_max = 0.75f;
        d.m_direction = 1;
        d.m_repeat = 1;
        d.m_step = 0.05f;
        d.m_pause = 2.0f;
    });
    RunOn(ID_EDIT_BTN_ANIMATION, {p->m_id});
    auto* button = Last<CGButnAnimation>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->m_name, CString(u"走"));
    EXPECT_EQ(Parents(button), std::vector<WORD>{p->m_id});
    EXPECT_EQ(button->m_kind, CGButnAnimation::kSweep);
    EXPECT_EQ(button->m_min, 0.25f);
    EXPECT_EQ(button->m_max, 0.75f);
    EXPECT_EQ(button->m_mode, CGButnAnimation::kBackward);
    EXPECT_EQ(button->m_repeat, 1);
    EXPECT_EQ(button->m_state, CGButnAnimation::kFalling);
    EXPECT_EQ(button->m_speed, 0.05f);
    EXPECT_EQ(button->m_extA3, 2.0f);
    ExpectUndoStep<CCmdAddCell>(u"添加动画按钮");
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    ExpectUndoRedo(before);
}

TEST_F(ButtonCommandsTest, PointsInFacesAndPlanesWalk) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    auto* inFace = Add<CGVerFreeInFace>(face->m_id, 0.3f, 0.3f);
    auto* inPlane = Add<CGVerFreeInPlane>(a->m_id, b->m_id, c->m_id, 0.3f, 0.3f);
    int frames = 0;
    Script<CDlgBtnAnimation2>([&](CDlgBtnAnimation2& d) {
        EXPECT_EQ(d.m_caption, CString(u"动画"));
        EXPECT_EQ(d.m_frames, 120.0f);
        EXPECT_EQ(d.m_step, 0.02f);
        d.m_frames = float(50 + 10 * frames++);
        d.m_step = 0.2f;
    });
    RunOn(ID_EDIT_BTN_ANIMATION, {inFace->m_id});
    auto* faceWalk = Last<CGButnAnimation>();
    ASSERT_NE(faceWalk, nullptr);
    EXPECT_EQ(faceWalk->m_kind, CGButnAnimation::kWalkInFace);
    EXPECT_EQ(faceWalk->m_min, 0.0f);
    EXPECT_EQ(faceWalk->m_max, 50.0f);
    EXPECT_EQ(faceWalk->m_speed, 0.2f);
    EXPECT_EQ(faceWalk->m_mode, 0);
    EXPECT_EQ(faceWalk->m_repeat, 0);
    EXPECT_EQ(faceWalk->m_extA3, 0.0f);
    RunOn(ID_EDIT_BTN_ANIMATION, {inPlane->m_id});
    EXPECT_EQ(Last<CGButnAnimation>()->m_kind, CGButnAnimation::kWalkInPlane);
    EXPECT_EQ(Last<CGButnAnimation>()->m_max, 60.0f);
    ExpectUndoStep<CCmdAddCell>(u"添加动画按钮");
    // A value that is no parameter: the menu item is off, but a direct call opens the general dialog.
    CGTmVariable* value = AddValue(3.0f, u"v");
    const CAnimationPresets seen = PresetsFor({value->m_id});
    EXPECT_EQ(seen.m_max, 1.0f);
    EXPECT_EQ(seen.m_driven, value->GetDescription());
}

TEST_F(ButtonCommandsTest, TheMoveCommandChoosesTheKindOrRefuses) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    auto* onLine = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.5f);
    Script<CDlgBtnMove>([&](CDlgBtnMove& d) {
        EXPECT_EQ(d.m_caption, onLine->m_name + u"→" + c->m_name);
        EXPECT_EQ(d.m_moving, onLine->m_name + u"： " + onLine->GetDescription());
        EXPECT_EQ(d.m_target, c->m_name + u"： " + c->GetDescription());
        EXPECT_EQ(d.m_step, 0.1f);
        d.m_step = 0.05f;
    });
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_EDIT_BTN_MOVE, {onLine->m_id, c->m_id});
    auto* move = Last<CGButnMove>();
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->m_kind, CGButnMove::kOnLine);
    EXPECT_EQ(Parents(move), (std::vector<WORD>{onLine->m_id, c->m_id}));
    EXPECT_EQ(move->m_speed, 0.05f);
    EXPECT_FALSE(move->m_nameFixed) << "the offered caption follows the points";
    ExpectUndoStep<CCmdAddCell>(u"添加移动按钮");
    ExpectUndoRedo(before);

    // A caption of the user's own stays when the points are renamed.
    Script<CDlgBtnMove>([](CDlgBtnMove& d) { d.m_caption = u"出发"; });
    RunOn(ID_EDIT_BTN_MOVE, {onLine->m_id, c->m_id});
    EXPECT_TRUE(Last<CGButnMove>()->m_nameFixed);

    // A point on a perpendicular is offered but cannot be moved: refused after the dialog.
    auto* perpen = Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id);
    m_script = nullptr;
    const int steps = m_page->m_cmdProcessor.GetCount();
    const WORD next = m_page->m_nextId;
    m_doc->SetModifiedFlag(FALSE);
    RunOn(ID_EDIT_BTN_MOVE, {perpen->m_id, c->m_id});
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"选择点不能移动到目标位置！")});
    EXPECT_EQ(m_page->m_nextId, next);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
    EXPECT_FALSE(m_doc->IsModified());
    // Cancel makes nothing either.
    m_answer = IDCANCEL;
    RunOn(ID_EDIT_BTN_MOVE, {onLine->m_id, c->m_id});
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(ButtonCommandsTest, TheShowHideCommandTakesTheSelectionAsTargets) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_EDIT_BTN_HIDESHOW, {ab->m_id, a->m_id});
    EXPECT_EQ(m_dialogCount, 0) << "no dialog";
    auto* button = Last<CGButnSHide>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(Parents(button), (std::vector<WORD>{ab->m_id, a->m_id}));
    ExpectUndoStep<CCmdAddCell>(u"添加显隐按钮");
    ExpectUndoRedo(before);
    // Called directly with nothing selected: a button without targets.
    RunOn(ID_EDIT_BTN_HIDESHOW, {});
    EXPECT_TRUE(Last<CGButnSHide>()->m_parents.IsEmpty());
}

TEST_F(ButtonCommandsTest, TheSeriesCommandStoresWhatItsLoopKeeps) {
    auto* b1 = Insert(new CGButnSHide(NextId()));
    auto* b2 = Insert(new CGButnSHide(NextId()));
    struct Case {
        int loop;
        int repeat, counter;
        double start, end, step;
    };
    for (const Case& t :
         {Case{0, 2, 1, 1.0, 3.0, 1.0}, Case{1, 5, 1, 1.0, 3.0, 1.0}, Case{2, 2, 4, -1.0, 7.0, 0.5},
          Case{3, 2, 6, 1.0, 3.0, 1.0}, Case{4, 2, 2, 1.0, 3.0, 1.0}}) {
        Script<CDlgBtnPresentat>([&](CDlgBtnPresentat& d) {
            EXPECT_EQ(d.m_caption, CString(u"系列动作"));
            d.m_mode = 1;
            d.m_pause = 0.5f;
            d.m_loopKind = t.loop;
            d.m_repeatCount = 5;
            d.m_counter = t.counter - 1;
            d.m_start = -1.0;
            d.m_end = 7.0;
            d.m_step = 0.5;
        });
        RunOn(ID_EDIT_BTN_PRESENTAT, {b2->m_id, b1->m_id});
        auto* series = Last<CGButnPresentat>();
        ASSERT_NE(series, nullptr);
        SCOPED_TRACE(t.loop);
        EXPECT_EQ(Parents(series), (std::vector<WORD>{b2->m_id, b1->m_id}));
        EXPECT_EQ(series->m_kind, 1);
        EXPECT_EQ(series->m_extA3, 0.5f);
        EXPECT_EQ(series->m_extA1, t.loop);
        EXPECT_EQ(series->m_repeatCount, t.repeat);
        EXPECT_EQ(series->m_counterNumber, t.counter);
        EXPECT_EQ(series->m_start, t.start);
        EXPECT_EQ(series->m_end, t.end);
        EXPECT_EQ(series->m_step, t.step);
        ExpectUndoStep<CCmdAddCell>(u"添加系列按钮");
    }
}

TEST_F(ButtonCommandsTest, TheLinkCommandStoresThePageOrTheAddress) {
    m_doc->OnNewDocument();
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    second->m_title = u"证明";
    m_doc->SetCurrentPage(m_doc->GetPage(0));
    Script<CDlgBtnLink>([&](CDlgBtnLink& d) {
        EXPECT_EQ(d.m_caption, CString(u"链接"));
        EXPECT_EQ(d.m_pageTitles, (std::vector<CString>{CString(u"第一页"), CString(u"证明")}));
        EXPECT_EQ(d.m_kind, 0);
        d.m_pageIndex = 1;
    });
    Run(ID_EDIT_BTN_LINK);
    CGPage* page = g_pCurPage;
    auto* toPage = DYNAMIC_DOWNCAST(CGButnLink, page->FindCell(WORD(page->m_nextId - 1)));
    ASSERT_NE(toPage, nullptr);
    EXPECT_EQ(toPage->m_kind, CGButnLink::kToPage);
    EXPECT_EQ(toPage->m_pageId, second->m_pageId);
    EXPECT_EQ(toPage->m_target, CString(u"证明"));
    EXPECT_EQ(page->m_cmdProcessor.GetCurrent()->m_name, CString(u"添加链接按钮"));

    Script<CDlgBtnLink>([](CDlgBtnLink& d) {
        d.m_kind = 1;
        d.m_hyperlink = u"/home/学生/作业.pdf";
    });
    Run(ID_EDIT_BTN_LINK);
    auto* toFile = DYNAMIC_DOWNCAST(CGButnLink, page->FindCell(WORD(page->m_nextId - 1)));
    ASSERT_NE(toFile, nullptr);
    EXPECT_EQ(toFile->m_kind, CGButnLink::kToTarget);
    EXPECT_EQ(toFile->m_target, CString(u"/home/学生/作业.pdf"));
}

TEST_F(ButtonCommandsTest, PropertiesOfEveryButtonThroughItsDialog) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    auto* p = Add<CGVerFreeXyz>(1.0f, 1.0f, 0.0f);
    auto* sweep = Insert(new CGButnAnimation(NextId(), u"动画", p->m_id, 0, 1, 0, 0, 0.1f, 0.0f));
    auto* move = Insert(new CGButnMove(NextId(), u"P→B", p->m_id, b->m_id, 0.1f, 0));
    Select({a->m_id, b->m_id});
    auto* showHide = Insert(new CGButnSHide(NextId()));
    Select({sweep->m_id, move->m_id});
    auto* series = Insert(new CGButnPresentat(NextId(), u"系列动作", 0, 0.0f));
    auto* link = Insert(new CGButnLink(NextId(), u"链接", 1, 0, u"https://a.cn"));
    m_page->ClearSelection();

    // The properties command takes one selected button, and nothing else, to its dialog.
    Select({sweep->m_id, a->m_id});
    EXPECT_EQ(HxFindPropertiesRule(*m_page), HxPropertiesRule::Point)
        << "a point goes first, to its own dialog";
    Select({sweep->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Script<CDlgBtnAnimation>([](CDlgBtnAnimation& d) {
        EXPECT_EQ(d.m_max, 1.0f);
        EXPECT_EQ(d.m_step, 0.1f);
        d.m_caption = u"转";
        d.m_max = 4.0f;
        d.m_repeat = 1;
        d.m_direction = 2;
    });
    m_posted.clear();
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(sweep->m_name, CString(u"转"));
    EXPECT_TRUE(sweep->m_flag2);
    EXPECT_FALSE(sweep->m_nameFixed);
    EXPECT_EQ(sweep->m_max, 4.0f);
    EXPECT_EQ(sweep->m_repeat, 1);
    EXPECT_EQ(sweep->m_mode, 2);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u);

    Script<CDlgBtnMove>([](CDlgBtnMove& d) {
        d.m_caption = u"回";
        d.m_step = 0.2f;
    });
    EXPECT_TRUE(m_doc->EditButtonProperties(*move));
    EXPECT_EQ(move->m_name, CString(u"回"));
    EXPECT_TRUE(move->m_nameFixed);
    EXPECT_EQ(move->m_speed, 0.2f);

    Script<CDlgBtnShide>([](CDlgBtnShide& d) {
        EXPECT_EQ(d.m_info, CString(u"此按钮显示或隐藏 2个对象"));
        EXPECT_EQ(d.m_action, 2);
        d.m_caption = u"藏";
        d.m_action = 3;
    });
    EXPECT_TRUE(m_doc->EditButtonProperties(*showHide));
    EXPECT_EQ(showHide->m_name, CString(u"隐藏")) << "a caption of one character is not taken";
    EXPECT_EQ(showHide->m_kind, CGButnSHide::kOneByOne);

    Script<CDlgBtnPresentat>([](CDlgBtnPresentat& d) {
        EXPECT_EQ(d.m_mode, 0);
        d.m_mode = 1;
        d.m_loopKind = 3;
        d.m_counter = 4;
    });
    EXPECT_TRUE(m_doc->EditButtonProperties(*series));
    EXPECT_EQ(series->m_kind, 1);
    EXPECT_EQ(series->m_extA1, 3);
    EXPECT_EQ(series->m_counterNumber, 5);

    // Link: the dialog lists the document's pages.
    m_doc->OnNewDocument();
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
    Script<CDlgBtnLink>([](CDlgBtnLink& d) {
        EXPECT_EQ(d.m_kind, 1);
        EXPECT_EQ(d.m_hyperlink, CString(u"https://a.cn"));
        d.m_hyperlink = u"https://b.cn";
    });
    EXPECT_TRUE(m_doc->EditButtonProperties(*link));
    EXPECT_EQ(link->m_target, CString(u"https://b.cn"));

    // Cancel changes nothing but still marks the document modified.
    m_doc->SetModifiedFlag(FALSE);
    m_answer = IDCANCEL;
    Script<CDlgBtnMove>([](CDlgBtnMove& d) { d.m_step = 9.0f; });
    EXPECT_FALSE(m_doc->EditButtonProperties(*move));
    EXPECT_EQ(move->m_speed, 0.2f);
    EXPECT_TRUE(m_doc->IsModified());
}
