// The trace of figures without a window: sweeps of a point on a circle and of a parameter, the passes
// each display mode runs, the figures' flags and the driver put back after every pass, the dynamic
// range, steps that would never end, and the record byte by byte and damaged.
#include "iterate_fixture.h"

#include "model/free_points.h"
#include "points/points_fixture.h"

#include <cmath>

namespace {

class TrackTest : public IterateFixtureT<PointsTest> {
protected:
    // A circle of radius 2 about the origin, P on it at t = 1, Q at (2, 0, 0), M the midpoint of PQ
    // and a recorder on M.
    void BuildCircle() {
        circle = AddCircle(0, 0, 0, 2);
        p = Add<CGVerFreeInCircle>(circle->m_id, 1.0f);
        q = AddPoint(2, 0, 0);
        m = AddMidpoint(p->m_id, q->m_id);
        recorder = Insert(new CRecorder(NextId(), m->m_id, &log));
    }
    CGTrack* Trace(std::vector<WORD> parents, std::vector<WORD> flags, int dynamic, float a, float b,
                   float step, BYTE display = CGTrack::kSolidMode) {
        return Insert(
            new CGTrack(NextId(), parents, flags, dynamic, a, b, step, display, CGTrack::kOwnColors));
    }
    std::string Passes() const {
        std::string s;
        for (const CRecorded& r : log)
            s += r.pass;
        return s;
    }
    void AllPasses(CGCell* cell) {
        for (auto pass : {&CGCell::DrawFill, &CGCell::DrawDepth, &CGCell::DrawHidden, &CGCell::DrawVisible,
                          &CGCell::DrawOnTop, &CGCell::DrawLit, &CGCell::DrawTranslucent})
            (cell->*pass)();
    }

    CGArc* circle = nullptr;
    CGVerFreeInCircle* p = nullptr;
    CGVertex* q = nullptr;
    CGVertex* m = nullptr;
};

} // namespace

TEST_F(TrackTest, APointOnACircleSweepsItsRangeAndEverythingIsPutBack) {
    BuildCircle();
    // The range given backwards is stored in order.
    CGTrack* trace = Trace({p->m_id, m->m_id, recorder->m_id}, {0, 0, 1}, 0, 6.2831855f, 0.0f, 1.5707964f);
    EXPECT_EQ(trace->m_tMin, 0.0f);
    EXPECT_EQ(trace->m_tMax, 6.2831855f);
    EXPECT_EQ(trace->m_traced, std::vector<WORD>({2}));
    EXPECT_EQ(trace->m_firstRecompute, 1);
    EXPECT_TRUE(trace->m_valid);
    EXPECT_EQ(trace->m_name, u"形迹");
    EXPECT_EQ(trace->GetDescription(), u"图形的轨迹");
    recorder->m_hidden = 1;
    recorder->m_labelHidden = 0;
    const std::vector<float> before = State();

    trace->DrawVisible();
    // Four steps: 2 pi itself is not reached below the end.
    ASSERT_EQ(log.size(), 4u);
    float t = 0.0f;
    for (const CRecorded& r : log) {
        const double px = 2.0 * std::cos(double(t)), py = 2.0 * std::sin(double(t));
        EXPECT_NEAR(r.x, (px + 2.0) / 2.0, 1e-5) << t;
        EXPECT_NEAR(r.y, py / 2.0, 1e-5) << t;
        // Shown, label hidden, while it is drawn.
        EXPECT_EQ(r.hidden, 0);
        EXPECT_EQ(r.labelHidden, 1);
        t += 1.5707964f;
    }
    EXPECT_EQ(State(), before) << "driver, figures, flags and vertex array as they were";
    EXPECT_EQ(p->m_param1, 1.0f);
    EXPECT_EQ(recorder->m_hidden, 1);
    EXPECT_EQ(recorder->m_labelHidden, 0);
}

TEST_F(TrackTest, EachDisplayModeRunsItsPasses) {
    BuildCircle();
    CGTrack* trace = Trace({p->m_id, m->m_id, recorder->m_id}, {0, 0, 1}, 0, 0.0f, 1.0f, 0.5f);
    AllPasses(trace);
    EXPECT_EQ(Passes(), "vvtt");
    log.clear();
    trace->m_kind = CGTrack::kAutoDashed;
    AllPasses(trace);
    EXPECT_EQ(Passes(), "ffddhhvvtt");
    log.clear();
    trace->m_kind = CGTrack::kShowAll;
    AllPasses(trace);
    EXPECT_EQ(Passes(), "ffddhhvvttlluu");
    // Hidden, nothing.
    log.clear();
    trace->m_hidden = 1;
    AllPasses(trace);
    EXPECT_TRUE(log.empty());
}

TEST_F(TrackTest, AParameterIsSweptAndGetsItsValueBack) {
    auto* n = Insert(new CGTmVarParameter(NextId(), CString(u"n"), 0.3f));
    auto* r = Insert(new CRecorder(NextId(), n->m_id, &log));
    CGTrack* trace = Trace({n->m_id, r->m_id}, {0, 1}, 0, 0.0f, 1.0f, 0.25f);
    trace->DrawOnTop();
    std::vector<float> params;
    for (const CRecorded& e : log)
        params.push_back(e.param);
    EXPECT_EQ(params, std::vector<float>({0.0f, 0.25f, 0.5f, 0.75f}));
    EXPECT_EQ(n->m_param1, 0.3f);
    EXPECT_EQ(r->m_param, 0.3f) << "recomputed from the value put back";
}

TEST_F(TrackTest, StepsThatWouldNeverEndDrawNothing) {
    BuildCircle();
    CGTrack* trace = Trace({p->m_id, m->m_id, recorder->m_id}, {0, 0, 1}, 0, 0.0f, 1.0f, 0.5f);
    EXPECT_EQ(trace->StepCount(), 2);
    const std::vector<float> before = State();
    for (float step : {0.0f, -0.5f, 1e-7f, std::nanf(""), INFINITY}) {
        trace->m_step = step;
        EXPECT_EQ(trace->StepCount(), -1) << step;
        AllPasses(trace);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(State(), before);
    // No width: nothing either.
    trace->SetRange(0.5f, 0.5f, 0.1f);
    EXPECT_EQ(trace->StepCount(), 0);
    trace->DrawVisible();
    EXPECT_TRUE(log.empty());
    // Fifty thousand steps are still drawn; a hundred thousand and one are not.
    trace->SetRange(0.0f, 500.0f, 0.01f);
    EXPECT_GT(trace->StepCount(), 49000) << "the float steps drift a little";
    trace->SetRange(0.0f, 100001.0f, 1.0f);
    EXPECT_EQ(trace->StepCount(), -1);
}

TEST_F(TrackTest, TheDynamicRangeComesFromTwoValuesAndMustStayInside) {
    BuildCircle();
    auto* lo = Insert(new CGTmVarParameter(NextId(), CString(u"a"), 1.0f));
    auto* hi = Insert(new CGTmVarParameter(NextId(), CString(u"b"), 2.0f));
    CGTrack* trace = Trace({p->m_id, lo->m_id, hi->m_id, m->m_id, recorder->m_id}, {0, 0, 0, 0, 1}, 1, 0.0f,
                           6.2831855f, 0.25f);
    EXPECT_EQ(trace->m_firstRecompute, 3);
    EXPECT_EQ(trace->GetDescription(), u"含参数范围的图形轨迹");
    EXPECT_TRUE(trace->m_valid);
    EXPECT_EQ(trace->m_sweepStart, 1.0f);
    EXPECT_EQ(trace->m_sweepEnd, 2.0f);
    trace->DrawVisible();
    EXPECT_EQ(log.size(), 4u) << "1, 1.25, 1.5, 1.75";
    // Outside [tmin, tmax]: invalid, nothing drawn, until the value comes back.
    hi->m_param1 = 7.0f;
    trace->Recompute();
    EXPECT_FALSE(trace->m_valid);
    log.clear();
    trace->DrawVisible();
    EXPECT_TRUE(log.empty());
    hi->m_param1 = 3.0f;
    trace->Recompute();
    EXPECT_TRUE(trace->m_valid);
    // A missing parent makes it invalid too.
    trace->m_parents[3] = 999;
    trace->Recompute();
    EXPECT_FALSE(trace->m_valid);
}

// ---------------------------------------------------------------------------------------------
// Record

namespace {

ByteBuilder TrackRecord(const CGTrack& t) {
    CommonRecord r;
    r.id = t.m_id;
    r.name = t.m_name.Str();
    r.valid = t.m_valid;
    r.labelHidden = t.m_labelHidden;
    r.style = t.m_style;
    r.kind = t.m_kind;
    r.color = t.m_color;
    r.labelColor = t.m_labelColor;
    r.size = t.m_size;
    for (WORD p : t.m_parents)
        r.parents.push_back(p);
    ByteBuilder b;
    b.NewClass("CGTrack");
    r.AppendTo(b);
    b.F32(t.m_tMin).F32(t.m_tMax).F32(t.m_step).I32(t.m_dynamicRange).I32(int(t.m_traced.size()));
    for (WORD i : t.m_traced)
        b.U16(i);
    return b;
}

} // namespace

TEST_F(TrackTest, TheRecordByteByByteAndItsDamage) {
    BuildCircle();
    CGTrack defaults;
    EXPECT_EQ(defaults.m_step, 0.5f);
    EXPECT_EQ(defaults.m_firstRecompute, 1);
    EXPECT_EQ(defaults.m_sweepStart, 0.0f);
    EXPECT_EQ(defaults.m_sweepEnd, 1.0f);
    EXPECT_EQ(defaults.m_color, (CRgba{0, 128, 0, 255}));

    CGTrack* trace =
        Trace({p->m_id, m->m_id, recorder->m_id}, {1, 0, 1}, 0, 0.5f, 3.0f, 0.25f, CGTrack::kShowAll);
    trace->m_style = CGTrack::kTraceColor;
    const std::vector<BYTE> bytes = TrackRecord(*trace).Bytes();
    auto back = ExpectRecord<CGTrack>(trace, bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_traced, std::vector<WORD>({0, 2}));
    EXPECT_EQ(back->m_tMin, 0.5f);
    EXPECT_EQ(back->m_tMax, 3.0f);
    EXPECT_EQ(back->m_sweepStart, 0.5f);
    EXPECT_EQ(back->m_sweepEnd, 3.0f);
    EXPECT_EQ(back->m_firstRecompute, 1);
    EXPECT_EQ(back->m_kind, CGTrack::kShowAll);

    // A traced index past the parents, a negative count, a count beyond the bytes, and a dynamic
    // range without its two values are refused.
    auto withTail = [&](std::function<void(ByteBuilder&)> tail, std::vector<WORD> parents) {
        CommonRecord r;
        r.id = trace->m_id;
        r.parents = parents;
        ByteBuilder b;
        b.NewClass("CGTrack");
        r.AppendTo(b);
        tail(b);
        return b.Bytes();
    };
    const std::vector<WORD> three{p->m_id, m->m_id, recorder->m_id};
    EXPECT_THROW(Loaded<CGTrack>(
                     withTail([](ByteBuilder& b) { b.F32(0).F32(1).F32(0.1f).I32(0).I32(1).U16(3); }, three)),
                 CArchiveException);
    EXPECT_THROW(
        Loaded<CGTrack>(withTail([](ByteBuilder& b) { b.F32(0).F32(1).F32(0.1f).I32(0).I32(-1); }, three)),
        CArchiveException);
    EXPECT_THROW(Loaded<CGTrack>(withTail(
                     [](ByteBuilder& b) { b.F32(0).F32(1).F32(0.1f).I32(0).I32(500).U16(0); }, three)),
                 CArchiveException);
    EXPECT_THROW(Loaded<CGTrack>(withTail([](ByteBuilder& b) { b.F32(0).F32(1).F32(0.1f).I32(1).I32(0); },
                                          {p->m_id, m->m_id})),
                 CArchiveException);
    // A step of zero loads (old files may hold one) and draws nothing.
    auto zero =
        Loaded<CGTrack>(withTail([](ByteBuilder& b) { b.F32(0).F32(1).F32(0).I32(0).I32(1).U16(2); }, three));
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->StepCount(), -1);
}
