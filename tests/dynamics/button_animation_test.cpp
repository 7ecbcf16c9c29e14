// The animation button: sweeps on hand-computed cases (the tick that reaches a bound, the pause
// counted at 25 ticks a second, back and forth, repeats, the restart state kept across finish, stop
// and save), the random walks in a plane and in a face, values in integer mode, and the driven cell
// followed by everything built on it through the page's tick.
#include "button_fixture.h"

#include "measure/calculator.h"
#include "measure/text_items.h"
#include "platform/random.h"
#include "points/confined_points.h"
#include "solids/fold.h"
#include "solids/polyhedron.h"
#include "solids/split.h"
#include "support/class_stand_ins.h"

#include <QString>

#include <cmath>

namespace {

// A model cell known by name only: its parameter is its turning angle, brought up to date by
// SyncVertex.
inline constexpr char kModelName[] = "CGModel3ds";
class CModelStandIn : public CNamedStandIn<kModelName> {
public:
    void SyncVertex() override {
        ++m_syncs;
        m_angleSeen = m_param1;
    }
    int m_syncs = 0;
    float m_angleSeen = -1.0f;
};

class AnimationButtonTest : public ButtonTest {
protected:
    // The values a sweep leaves in its driven value tick by tick, until it finishes (or `most`).
    std::vector<float> Sweep(CGButnAnimation* button, CGCell* driven, int most, int* finishedAt = nullptr) {
        std::vector<float> values;
        for (int tick = 1; tick <= most; ++tick) {
            const BOOL done = button->Step();
            values.push_back(driven->m_param1);
            if (done) {
                if (finishedAt)
                    *finishedAt = tick;
                break;
            }
        }
        return values;
    }
};

} // namespace

TEST_F(AnimationButtonTest, ForwardOnceRunsUpAndFinishesReadyToStartAgain) {
    CGTmVariable* value = AddValue(0.0f, u"a");
    CGButnAnimation* button = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kForward, 0, 0.25f);
    EXPECT_EQ(button->m_state, CGButnAnimation::kRising);
    int finishedAt = 0;
    EXPECT_EQ(Sweep(button, value, 10, &finishedAt), (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f, 1.0f}));
    EXPECT_EQ(finishedAt, 5) << "the tick past the bound ends it";
    EXPECT_EQ(button->m_state, CGButnAnimation::kRestart);
    // The next press starts from the lower bound.
    EXPECT_FALSE(button->Step());
    EXPECT_EQ(value->m_param1, 0.0f);
    EXPECT_EQ(button->m_state, CGButnAnimation::kRising);
}

TEST_F(AnimationButtonTest, BackAndForthRestsAtTheTopForTheWholePause) {
    // 25 ticks a second and a pause of 1 s: the limit is 26, exceeded at the 27th count.
    EXPECT_EQ(CGButnAnimation::PauseLimit(1.0f), 26);
    CGTmVariable* value = AddValue(0.0f, u"a");
    CGButnAnimation* button =
        AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kBackAndForth, 0, 0.3f, 1.0f);
    int finishedAt = 0;
    const std::vector<float> values = Sweep(button, value, 100, &finishedAt);
    ASSERT_GE(values.size(), 31u);
    EXPECT_FLOAT_EQ(values[2], 0.9f);
    int atTop = 0;
    for (float v : values)
        atTop += v == 1.0f ? 1 : 0;
    EXPECT_EQ(atTop, 27) << "from the tick that reached the top, that one included";
    EXPECT_EQ(values[3], 1.0f);
    EXPECT_EQ(values[29], 1.0f);
    EXPECT_FLOAT_EQ(values[30], 0.7f) << "down from the 28th tick";
    // Down to the bottom and, without repeat, the end.
    EXPECT_EQ(values.back(), 0.0f);
    EXPECT_EQ(finishedAt, 34);
    EXPECT_EQ(button->m_state, CGButnAnimation::kRestart);
}

TEST_F(AnimationButtonTest, RepeatsJumpBackOrTurnAfterThePause) {
    // Forward with repeat: at the top, a pause of 0 s (one tick more), then from the bottom again.
    CGTmVariable* value = AddValue(0.0f, u"a");
    CGButnAnimation* forward = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kForward, 1, 0.5f);
    EXPECT_EQ(Sweep(forward, value, 7), (std::vector<float>{0.5f, 1.0f, 1.0f, 1.0f, 0.0f, 0.5f, 1.0f}));
    // Backward with repeat starts falling from where the value is, and restarts at the top.
    value->m_param1 = 1.0f;
    CGButnAnimation* backward = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kBackward, 1, 0.5f);
    EXPECT_EQ(backward->m_state, CGButnAnimation::kFalling);
    EXPECT_EQ(Sweep(backward, value, 6), (std::vector<float>{0.5f, 0.0f, 0.0f, 0.0f, 1.0f, 0.5f}));
    // Back and forth with repeat keeps turning.
    value->m_param1 = 0.0f;
    CGButnAnimation* both = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kBackAndForth, 1, 0.5f);
    EXPECT_EQ(Sweep(both, value, 10),
              (std::vector<float>{0.5f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f, 1.0f}));
}

TEST_F(AnimationButtonTest, BoundsAndSpeedsAtTheirEdges) {
    CGTmVariable* value = AddValue(0.5f, u"a");
    // min = max forward without repeat: the first step reaches the top and ends rising.
    CGButnAnimation* flat = AddSweep(value->m_id, 0.5f, 0.5f, CGButnAnimation::kForward, 0, 0.01f);
    EXPECT_TRUE(flat->Step());
    EXPECT_EQ(value->m_param1, 0.5f);
    EXPECT_EQ(flat->m_state, CGButnAnimation::kRising);
    // A speed wider than the range lands on the bound at once.
    value->m_param1 = 0.0f;
    CGButnAnimation* fast = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kForward, 0, 5.0f);
    EXPECT_TRUE(fast->Step());
    EXPECT_EQ(value->m_param1, 1.0f);
    // A value below the range is lifted onto it by the first step.
    value->m_param1 = -3.0f;
    CGButnAnimation* below = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kForward, 0, 0.25f);
    EXPECT_FALSE(below->Step());
    EXPECT_EQ(value->m_param1, 0.0f);
    // A state no sweep sets (a damaged record) starts over from the bottom.
    below->m_state = 7;
    value->m_param1 = 0.6f;
    EXPECT_FALSE(below->Step());
    EXPECT_EQ(value->m_param1, 0.0f);
    EXPECT_EQ(below->m_state, CGButnAnimation::kRising);
}

TEST_F(AnimationButtonTest, PauseLimitsInTicks) {
    struct Case {
        int fps;
        float seconds;
        int limit;
    };
    for (const Case& c :
         {Case{25, 1.0f, 26}, {25, 0.0f, 1}, {30, 0.5f, 16}, {25, 0.02f, 1}, {10, 2.5f, 26}}) {
        g_animationFps = c.fps;
        EXPECT_EQ(CGButnAnimation::PauseLimit(c.seconds), c.limit) << c.fps << " " << c.seconds;
    }
    EXPECT_EQ(CGButnAnimation::PauseLimit(std::nanf("")), 0) << "no number: no pause";
    EXPECT_GT(CGButnAnimation::PauseLimit(1e30f), 0);
}

TEST_F(AnimationButtonTest, AValueInIntegerModeKeepsItsUnroundedCopy) {
    CGTmVariable* value = AddValue(0.0f, u"n");
    value->m_extA1 = 1;
    CGButnAnimation* button = AddSweep(value->m_id, 0.0f, 2.0f, CGButnAnimation::kBackAndForth, 0, 0.3f);
    for (int i = 0; i < 20; ++i) {
        const BOOL done = button->Step();
        EXPECT_EQ(value->m_extA3, value->m_param1) << i;
        if (done)
            break;
    }
    // Not in integer mode, the third word is left alone.
    CGTmVariable* plain = AddValue(0.0f, u"m");
    plain->m_extA3 = 42.0f;
    AddSweep(plain->m_id, 0.0f, 2.0f, CGButnAnimation::kForward, 0, 0.3f)->Step();
    EXPECT_EQ(plain->m_extA3, 42.0f);
}

TEST_F(AnimationButtonTest, InvalidButtonsAndOtherKindsFinishAtOnce) {
    CGTmVariable* value = AddValue(0.25f, u"a");
    CGButnAnimation* button = AddSweep(value->m_id, 0.0f, 1.0f, CGButnAnimation::kForward, 1, 0.25f);
    button->m_valid = false;
    EXPECT_TRUE(button->Step());
    EXPECT_EQ(value->m_param1, 0.25f) << "the driven value is not touched";
    button->m_valid = true;
    button->m_kind = 5;
    EXPECT_TRUE(button->Step());
    EXPECT_EQ(value->m_param1, 0.25f);
    // A walk whose driven cell is of the wrong class has nothing to walk.
    button->m_kind = CGButnAnimation::kWalkInFace;
    EXPECT_TRUE(button->Step());
    // The constructor marks a button on an invalid cell invalid.
    value->m_valid = false;
    EXPECT_FALSE(AddSweep(value->m_id, 0.0f, 1.0f, 0, 0, 0.1f)->m_valid);
}

TEST_F(AnimationButtonTest, DescriptionsNameTheDrivenCell) {
    CGTmVariable* value = AddValue(0.0f, u"t");
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    auto* p = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.5f);
    EXPECT_EQ(AddSweep(value->m_id, 0, 1, 0, 0, 0.1f)->GetDescription(), CString(u"参数t的动画按钮"));
    EXPECT_EQ(AddSweep(p->m_id, 0, 1, 0, 0, 0.1f)->GetDescription(),
              CString(u"点") + p->m_name + u"的动画按钮");
    EXPECT_EQ(CGButton().GetDescription(), CString(u"动作按钮"));
}

TEST_F(AnimationButtonTest, APlaneWalkStaysInItsSquareAndCountsItsSteps) {
    HxSrand(1);
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    auto* p = Add<CGVerFreeInPlane>(a->m_id, b->m_id, c->m_id, 0.3f, 0.3f);
    auto* walk = AddButton<CGButnAnimation>(CString(u"动画"), p->m_id, 0.0f, 120.0f, 0, BYTE(0), 0.5f, 0.0f);
    walk->m_kind = CGButnAnimation::kWalkInPlane;
    ASSERT_TRUE(Start(walk));
    int lastDirection = walk->m_state;
    int steps = 0;
    while (walk->m_running && steps < 1000) {
        const float before[2] = {p->m_weightA, p->m_weightB};
        m_page->StepButtons();
        ++steps;
        if (!walk->m_running)
            break;
        EXPECT_NE(walk->m_state + lastDirection, 3) << "a step never turns the last one back";
        lastDirection = walk->m_state;
        EXPECT_GE(p->m_weightA, -3.0f);
        EXPECT_LE(p->m_weightA, 3.0f);
        EXPECT_GE(p->m_weightB, -3.0f);
        EXPECT_LE(p->m_weightB, 3.0f);
        // One coordinate moved by the speed, or stayed at the edge.
        const float moved = std::fabs(p->m_weightA - before[0]) + std::fabs(p->m_weightB - before[1]);
        EXPECT_TRUE(std::fabs(moved - 0.5f) < 1e-4f || moved == 0.0f) << moved;
        // The point follows its weights.
        ExpectNear(*p, p->m_weightB, 1.0f - p->m_weightA - p->m_weightB, 0.0, 1e-4);
    }
    EXPECT_EQ(steps, 122) << "121 steps (0 to 120), then the tick that finishes";
    EXPECT_EQ(walk->m_min, 0.0f) << "ready for the next press";
}

TEST_F(AnimationButtonTest, AFaceWalkStaysInTheFanTrianglesOfItsFace) {
    HxSrand(7);
    CGVertex* v[5] = {AddPoint(0, 0, 0), AddPoint(4, 0, 0), AddPoint(5, 3, 0), AddPoint(2, 5, 0),
                      AddPoint(-1, 3, 0)};
    CGFace* face = AddFace({v[0]->m_id, v[1]->m_id, v[2]->m_id, v[3]->m_id, v[4]->m_id});
    auto* p = Add<CGVerFreeInFace>(face->m_id, 0.3f, 0.3f);
    auto* walk =
        AddButton<CGButnAnimation>(CString(u"动画"), p->m_id, 0.0f, 2000.0f, 0, BYTE(0), 0.05f, 0.0f);
    walk->m_kind = CGButnAnimation::kWalkInFace;
    ASSERT_TRUE(Start(walk));
    std::vector<int> triangles(5, 0);
    for (int i = 0; i < 2000 && walk->m_running; ++i) {
        m_page->StepButtons();
        ASSERT_GE(p->m_fanIndex, 1);
        ASSERT_LE(p->m_fanIndex, 3);
        ++triangles[size_t(p->m_fanIndex)];
        const float b = p->m_weightK, c = 1.0f - p->m_weight0 - p->m_weightK;
        EXPECT_GE(b, -1e-5f) << i;
        EXPECT_GE(c, -1e-5f) << i;
        EXPECT_LE(b + c, 1.0f + 1e-5f) << i;
        EXPECT_TRUE(p->m_valid);
    }
    EXPECT_GT(triangles[1] + triangles[3], 0) << "the walk crosses from one fan triangle to another";
    EXPECT_GT(triangles[2], 0);
}

TEST_F(AnimationButtonTest, TheTickMovesThePointAndEverythingBuiltOnIt) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(10, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    auto* p = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.0f);
    CTestMidpoint* m = AddMidpoint(p->m_id, c->m_id);
    CGButnAnimation* button = AddSweep(p->m_id, 0.0f, 1.0f, CGButnAnimation::kForward, 0, 0.25f);
    ASSERT_TRUE(Start(button));
    for (int tick = 1; tick <= 4; ++tick) {
        EXPECT_TRUE(m_page->StepButtons());
        ExpectValidAt(*p, 2.5 * tick, 0, 0);
        ExpectSynced(*p);
        ExpectValidAt(*m, 1.25 * tick, 2, 0);
    }
    EXPECT_FALSE(m_page->StepButtons()) << "past the end: no button runs any more";
    EXPECT_FALSE(button->m_running);
}

TEST_F(AnimationButtonTest, NetsCutsAndModelsFollowTheirParameter) {
    // A model is driven through its parameter and SyncVertex, which the page calls every tick.
    auto* model = new CModelStandIn;
    model->m_id = NextId();
    Insert(model);
    CGButnAnimation* turn = AddSweep(model->m_id, 0.0f, 6.283f, CGButnAnimation::kForward, 0, 0.02f);
    ASSERT_TRUE(Start(turn));
    for (int i = 0; i < 10; ++i)
        m_page->StepButtons();
    EXPECT_EQ(model->m_syncs, 10);
    EXPECT_FLOAT_EQ(model->m_param1, 0.2f);
    EXPECT_EQ(model->m_angleSeen, model->m_param1);
    ASSERT_TRUE(m_page->StartButton(FALSE, turn->m_id));

    // A cut of a cube by the three fixed planes: one plane a unit of the parameter.
    std::vector<double> cube;
    for (int i = 0; i < 8; ++i)
        cube.insert(cube.end(), {i & 1 ? 2.0 : -2.0, i & 2 ? 2.0 : -2.0, i & 4 ? 2.0 : -2.0});
    auto* hull = new CGPolyhedron;
    hull->m_id = NextId();
    ASSERT_TRUE(BuildConvexHull(cube.data(), 8, *hull));
    Insert(hull);
    auto* cut = Insert(new CGSplit(NextId(), hull->m_id, 3, 0, 2.0));
    EXPECT_EQ(cut->FullCutParameter(), 3.0f);
    CGButnAnimation* cutting =
        AddSweep(cut->m_id, 0.0f, cut->FullCutParameter(), CGButnAnimation::kForward, 0, 0.5f);
    ASSERT_TRUE(Start(cutting));
    // The cut takes at most one more plane a tick (it holds its parameter back meanwhile).
    EXPECT_LT(Tick(100), 12);
    EXPECT_FALSE(cutting->m_running);
    EXPECT_EQ(cut->m_param1, 3.0f);
    EXPECT_EQ(cut->m_planesUsed, 3);
    EXPECT_EQ(cut->m_partCount, 8);

    // A net folds from its base (1) up to the closed solid: 2 all at once, the deepest level + 1
    // level by level.
    auto* together = Insert(new CGFold(NextId(), hull->m_id, u"展开图", 1, CGFold::kSpreadTogether));
    auto* byLevel = Insert(new CGFold(NextId(), hull->m_id, u"展开图", 1, CGFold::kSpreadByLevel));
    EXPECT_EQ(together->ClosedParameter(), 2.0f);
    EXPECT_EQ(byLevel->ClosedParameter(), float(byLevel->m_deepestLevel + 1));
    EXPECT_GE(byLevel->m_deepestLevel, 1);
    CGButnAnimation* fold =
        AddSweep(together->m_id, 1.0f, together->ClosedParameter(), CGButnAnimation::kForward, 0, 0.25f);
    ASSERT_TRUE(Start(fold));
    Tick(2);
    EXPECT_EQ(together->FoldParameter(), 1.5f);
}

TEST_F(AnimationButtonTest, AUserParameterSweptInIntegerModeCarriesItsCalculations) {
    // The parameter of the new-parameter command, with a slider from 0 to 10 in whole numbers,
    // and a calculated value built on it.
    auto* t = Insert(new CGTmVarParameter(NextId(), u"t", 0.0f));
    t->m_kind = 1;
    t->m_minimum = 0.0f;
    t->m_maximum = 10.0f;
    t->m_integerMode = 1;
    t->SyncVertex();
    CList<WORD, WORD> parents;
    parents.AddTail(t->m_id);
    auto* doubled = Insert(new CGTmVarCalculator(NextId(), parents, u"No1*2", u"<#><l></l></#>"));
    CGButnAnimation* button = AddSweep(t->m_id, 0.0f, 3.0f, CGButnAnimation::kForward, 0, 0.4f);
    ASSERT_TRUE(button->m_valid);
    ASSERT_TRUE(Start(button));

    std::vector<float> seen;
    std::vector<float> twice;
    for (int tick = 0; tick < 12 && !Running().empty(); ++tick) {
        Tick();
        seen.push_back(t->m_param1);
        twice.push_back(doubled->m_param1);
        // The unrounded copy is the accumulator the slider keeps for whole steps.
        EXPECT_EQ(t->m_accumulator, t->m_param1) << tick;
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 3.0f);
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_FLOAT_EQ(twice[i], 2.0f * seen[i]) << "the calculation follows tick " << i;
    EXPECT_TRUE(Running().empty());
    // The shown text is the parameter's own, brought up to date by the page's tick.
    EXPECT_NE(t->m_text.Find(u"3"), -1) << t->m_text.ToQString().toStdString();
    EXPECT_EQ(t->SliderFraction(), 0.3f);
}
