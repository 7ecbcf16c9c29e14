// The iterate and trace commands as the user runs them: their update rules, every refusal with its
// text and caption and nothing changed, the dialogs answered, the new cell as one undo step, and the
// properties of an iteration (a value as its depth) and of a trace.
#include "iterate_fixture.h"

#include "construct/construct_fixture.h"
#include "document/doc_construct_ids.h"
#include "dynamics/curves.h"
#include "dynamics/iterate_dialogs.h"
#include "measure/vector_items.h"
#include "model/free_points.h"

namespace {

class IterateCommandsTest : public IterateFixtureT<ConstructTest> {
protected:
    void SetUp() override {
        IterateFixtureT<ConstructTest>::SetUp();
        HxSetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
            m_messages.push_back(text);
            m_captions.push_back(caption);
            m_types.push_back(type);
            return IDOK;
        });
    }
    // The command refused with exactly this text and caption, and nothing changed.
    void ExpectRefused(UINT id, const char16_t* text, const char16_t* caption) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        m_messages.clear();
        m_captions.clear();
        m_types.clear();
        Run(id);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], CString(text));
        EXPECT_EQ(m_captions[0], CString(caption));
        EXPECT_EQ(m_types[0] & MB_ICONMASK, MB_ICONERROR);
        EXPECT_EQ(m_dialogCount, 0);
        ExpectNothingDone(before);
        ForEachCell(m_page->m_cells, [](CGCell* cell) { EXPECT_FALSE(cell->m_mark) << cell->m_id; });
    }
    std::vector<CString> m_captions;
    std::vector<UINT> m_types;
};

} // namespace

TEST_F(IterateCommandsTest, TheUpdateRuleWantsAPointOrOnlyValues) {
    BuildTriangle();
    auto* v = Insert(new CGTmVarParameter(NextId(), CString(u"v"), 1.0f));
    auto* vector = Vector(u"u", 1, 0, 0);
    Select({});
    EXPECT_FALSE(Enabled(ID_TRANS_ITERATE));
    Select({a->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_ITERATE));
    Select({v->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_ITERATE));
    Select({v->m_id, vector->m_id});
    EXPECT_FALSE(Enabled(ID_TRANS_ITERATE)) << "a vector is no value";
    Select({a->m_id, vector->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_ITERATE));
}

TEST_F(IterateCommandsTest, EveryRefusalHasItsTextAndCaption) {
    BuildTriangle();
    auto* w = Insert(new CXValue(NextId(), d->m_id, u"w"));
    CGVertex* lone = AddPoint(5, 5, 0);
    Select({w->m_id});
    ExpectRefused(ID_TRANS_ITERATE, u"所选值不独立。\r\n请重新选择！", u"选择不合条件");
    Select({a->m_id, d->m_id});
    ExpectRefused(ID_TRANS_ITERATE,
                  u"迭代的时候您不能将迭代点构造于当前的迭代对象上。\r\n这些对象不可作为原象出现！",
                  u"与原象相冲突");
    Select({lone->m_id});
    ExpectRefused(ID_TRANS_ITERATE, u"不合条件，无法构建初像。\r\n请重新选择！", u"丢失初像");
    // A free value whose descendants hold no value has no image either.
    auto* v = Insert(new CGTmVarParameter(NextId(), CString(u"v"), 1.0f));
    CGVertex* g = AddPoint(1, 1, 0);
    AddMidpoint(g->m_id, lone->m_id);
    Select({g->m_id, v->m_id});
    ExpectRefused(ID_TRANS_ITERATE, u"不合条件，无法构建初像。\r\n请重新选择！", u"丢失初像");
}

TEST_F(IterateCommandsTest, TheDialogsMappingsBecomeOneIterationAsOneUndoStep) {
    BuildTriangle();
    // The iteration hides the labels of what it draws (not undone): hidden already here.
    for (CGCell* cell : std::vector<CGCell*>{d, e, f, recorder})
        cell->m_labelHidden = 1;
    Select({a->m_id, b->m_id, c->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD id = m_page->m_nextId;
    Script<CDlgIterate>([&](CDlgIterate& dlg) {
        EXPECT_EQ(dlg.m_sourceCount, 3);
        for (WORD image : Nested()) {
            for (size_t row = 0; row < dlg.m_images.size(); ++row)
                if (dlg.m_images[row].id == image)
                    dlg.ChooseImage(int(row));
        }
        EXPECT_TRUE(dlg.m_okEnabled);
        dlg.m_depth = 5;
    });
    Run(ID_TRANS_ITERATE);
    auto* it = Cell<CGIterate>(id);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->m_depth, 5);
    EXPECT_EQ(it->m_idSets, (std::vector<std::vector<WORD>>{{a->m_id, b->m_id, c->m_id}, Nested()}));
    EXPECT_EQ(it->m_itemCount, 3);
    EXPECT_EQ(it->m_pointCount, 3);
    ExpectUndoStep<CCmdAddCell>(u"添加迭代图");
    EXPECT_TRUE(m_doc->IsModified());
    ExpectUndoRedo(before);

    // Cancelled, or left with a mapping incomplete, nothing.
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;
    Select({a->m_id, b->m_id, c->m_id});
    const PageSnapshot again = TakeSnapshot(*m_page);
    m_script = nullptr;
    m_answer = IDCANCEL;
    Run(ID_TRANS_ITERATE);
    ExpectNothingDone(again, 1);
    m_answer = IDOK;
    Run(ID_TRANS_ITERATE);
    ExpectNothingDone(again, 1);
}

TEST_F(IterateCommandsTest, TheTraceCommandsRefusals) {
    BuildTriangle();
    CGArc* circle = AddCircle(0, 0, 0, 2);
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, 1.0f);
    auto* v = Insert(new CGTmVarParameter(NextId(), CString(u"v"), 1.0f));
    auto* w = Insert(new CXValue(NextId(), d->m_id, u"w"));
    // The update rule: a path point with none or two values, or a parameter with none or two more.
    Select({p->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_TRACK));
    Select({a->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_TRACK)) << "a fixed point drives nothing";
    Select({p->m_id, v->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_TRACK));
    Select({v->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_TRACK));
    Select({w->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_TRACK)) << "a measured value is no parameter";

    Select({a->m_id});
    ExpectRefused(ID_CREATE_TRACK, u"选择的不是路径点，无法构建。\r\n请重新选择！", u"形迹");
    Select({p->m_id, v->m_id});
    ExpectRefused(ID_CREATE_TRACK, u"应选择2个度量值\r\n请重新选择！", u"形迹");
    Select({});
    ExpectRefused(ID_CREATE_TRACK, u"不合条件，无法构建。\r\n请重新选择！", u"形迹");
    Select({w->m_id});
    ExpectRefused(ID_CREATE_TRACK, u"选择的不是可变参数，无法构建。\r\n请重新选择！", u"形迹");
    Select({v->m_id, w->m_id});
    ExpectRefused(ID_CREATE_TRACK, u"应选择3个度量值\r\n请重新选择！", u"形迹");
    // Only a value built on the point: nothing to draw.
    auto* only = Add<CGVerFreeInCircle>(circle->m_id, 2.0f);
    Insert(new CXValue(NextId(), only->m_id, u"z"));
    Select({only->m_id});
    ExpectRefused(ID_CREATE_TRACK, u"后代无适合绘制的图元，无法构建。\r\n请重新选择！", u"形迹");
}

TEST_F(IterateCommandsTest, ATraceOfThePointOnACircleTakesTheCircleRange) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, 1.0f);
    CGVertex* q = AddPoint(2, 0, 0);
    CGVertex* m = AddMidpoint(p->m_id, q->m_id);
    Insert(new CXValue(NextId(), m->m_id, u"w"));
    auto* r = Insert(new CRecorder(NextId(), m->m_id, &log));
    Select({p->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD id = m_page->m_nextId;
    Script<CDlgTrack>([&](CDlgTrack& dlg) {
        EXPECT_TRUE(dlg.m_newTrace);
        // The value built on the point is recomputed by nothing it draws: left out.
        EXPECT_EQ(dlg.m_ids, std::vector<WORD>({p->m_id, m->m_id, r->m_id}));
        EXPECT_EQ(dlg.m_start, 0.0f);
        EXPECT_EQ(dlg.m_end, 6.2831855f);
        EXPECT_EQ(dlg.m_step, 0.05235988f);
        EXPECT_FALSE(dlg.m_dynamic);
        EXPECT_EQ(dlg.m_flags, std::vector<WORD>({1, 1, 1}));
        dlg.SetTraced(0, false); // the driver
        dlg.m_displayMode = 1;
        dlg.m_colorMode = 1;
    });
    Run(ID_CREATE_TRACK);
    auto* trace = Cell<CGTrack>(id);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(trace->m_traced, std::vector<WORD>({1, 2}));
    EXPECT_EQ(trace->m_tMax, 6.2831855f);
    EXPECT_EQ(trace->m_kind, 1);
    EXPECT_EQ(trace->m_style, 1);
    ExpectUndoStep<CCmdAddCell>(u"添加形迹");
    ExpectUndoRedo(before);
}

TEST_F(IterateCommandsTest, ATraceOfThePointOnACurveOrALocusOffersItsRange) {
    // The trace command on `point` (with a figure built on it): the range and step its dialog offers.
    struct Offer {
        float start, end, step;
    };
    auto offered = [&](CGVertex* point) {
        CGVertex* q = AddPoint(2, 0, 0);
        AddMidpoint(point->m_id, q->m_id);
        Select({point->m_id});
        Offer offer{-100, -100, -100};
        int shown = 0;
        Script<CDlgTrack>([&](CDlgTrack& dlg) {
            ++shown;
            offer = {dlg.m_start, dlg.m_end, dlg.m_step};
        });
        const WORD id = m_page->m_nextId;
        Run(ID_CREATE_TRACK);
        EXPECT_EQ(shown, 1);
        // What was offered and confirmed is the trace's range.
        if (auto* trace = Cell<CGTrack>(id)) {
            EXPECT_EQ(trace->m_tMin, offer.start);
            EXPECT_EQ(trace->m_tMax, offer.end);
        } else {
            ADD_FAILURE() << "no trace";
        }
        return offer;
    };
    auto* parabola =
        Insert(new CGCurve(NextId(), IdList({}), u"t", u"t^2", u"0", u"-2", u"3", 0.1f, CGCurve::kCartesian));
    ASSERT_TRUE(parabola->m_valid);
    const Offer curve = offered(Add<CGVerFreeInCurve>(parabola->m_id, 0.5f));
    EXPECT_EQ(curve.start, -2.0f);
    EXPECT_EQ(curve.end, 3.0f);
    EXPECT_EQ(curve.step, 0.02f) << "the step stays the dialog's own";

    // A curve whose range a value has turned round (from 5 to 2) offers 0 to 1.
    auto* from = Insert(new CGTmVarParameter(NextId(), CString(u"a"), 5.0f));
    auto* turned =
        Insert(new CGCurve(NextId(), IdList({from->m_id}), u"t", u"1", u"0", u"No1", u"2", 0.1f, 0));
    ASSERT_GT(turned->m_tMin, turned->m_tMax);
    const Offer round = offered(Add<CGVerFreeInCurve>(turned->m_id, 0.5f));
    EXPECT_EQ(round.start, 0.0f);
    EXPECT_EQ(round.end, 1.0f);

    // A locus offers its driver's range.
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(10, 0, 0);
    auto* driver = Add<CGVerFreeInLine>(AddLine(a->m_id, b->m_id)->m_id, 0.3f);
    CGVertex* traced = AddMidpoint(driver->m_id, AddPoint(0, 4, 0)->m_id);
    auto* locus = Insert(new CGLocus(NextId(), driver->m_id, traced->m_id, 0.25f, 0.75f));
    const Offer onLocus = offered(Add<CGVerFreeInLocus>(locus->m_id, 0.5f));
    EXPECT_EQ(onLocus.start, 0.25f);
    EXPECT_EQ(onLocus.end, 0.75f);
}

TEST_F(IterateCommandsTest, ATraceOfAParameterWithItsDynamicRange) {
    auto* v = Insert(new CGTmVarParameter(NextId(), CString(u"v"), 1.0f));
    auto* lo = Insert(new CGTmVarParameter(NextId(), CString(u"a"), 0.0f));
    auto* hi = Insert(new CGTmVarParameter(NextId(), CString(u"b"), 1.0f));
    auto* r = Insert(new CRecorder(NextId(), v->m_id, &log));
    Select({v->m_id, lo->m_id, hi->m_id});
    Script<CDlgTrack>([&](CDlgTrack& dlg) {
        EXPECT_EQ(dlg.m_ids, std::vector<WORD>({v->m_id, lo->m_id, hi->m_id, r->m_id}));
        EXPECT_TRUE(dlg.m_dynamic);
        EXPECT_EQ(dlg.m_end, 1.0f);
        EXPECT_EQ(dlg.m_step, 0.02f);
        dlg.m_start = -1.0f;
        dlg.m_end = 2.0f;
        dlg.m_step = 0.25f;
    });
    const WORD id = m_page->m_nextId;
    Run(ID_CREATE_TRACK);
    auto* trace = Cell<CGTrack>(id);
    ASSERT_NE(trace, nullptr);
    EXPECT_TRUE(trace->DynamicRange());
    EXPECT_EQ(trace->m_traced, std::vector<WORD>({3}));
    trace->DrawVisible();
    EXPECT_EQ(log.size(), 4u) << "0, 0.25, 0.5, 0.75 between the two values";
    // A step the dialog would refuse never reaches the cell.
    Script<CDlgTrack>([](CDlgTrack& dlg) { dlg.m_step = 0.0f; });
    const WORD next = m_page->m_nextId;
    Run(ID_CREATE_TRACK);
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(IterateCommandsTest, PropertiesOfAnIterationTakeASelectedValueAsItsDepth) {
    auto* n = Insert(new CGTmVarParameter(NextId(), CString(u"n"), 4.0f));
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    auto* after = Insert(new CGTmVarParameter(NextId(), CString(u"after"), 2.0f));
    auto* vector = Vector(u"u", 1, 0, 0);
    int dialogs = 0;
    CGIterate* expected = it;
    Script<CDlgPropertyIterate>([&](CDlgPropertyIterate& dlg) {
        ++dialogs;
        EXPECT_EQ(dlg.m_pIterate, expected);
    });
    // A vector, or a value made after the iteration, is refused and the dialog opens all the same.
    Select({it->m_id, vector->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_messages.back(), u"未能添加含参数的迭代\n选中的不是一个数值参数！");
    Select({it->m_id, after->m_id});
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_messages.back(), u"未能添加含参数的迭代\n选中的参数必须先于迭代之前创建（父不能小于子）！");
    EXPECT_FALSE(it->DepthFromValue());
    EXPECT_EQ(dialogs, 2);
    // A value before it becomes the depth's source.
    Select({it->m_id, n->m_id});
    Run(ID_EDIT_PROPERTY);
    EXPECT_TRUE(it->DepthFromValue());
    EXPECT_EQ(it->m_depth, 4);
    EXPECT_EQ(m_messages.back(), u"选中的参数将作为迭代深度，建议控制在1-1000，否则可能运行缓慢！");
    EXPECT_TRUE(m_doc->IsModified());
    n->m_param1 = 9.0f;
    Changed(n);
    EXPECT_EQ(it->m_depth, 9) << "it follows the value";
    // The other two advices.
    CGIterate* second = Iterate({Nested()}, 3);
    expected = second;
    second->m_chain.resize(40, second->m_chain.front());
    n->m_param1 = 5000.0f;
    Select({second->m_id, n->m_id});
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_messages.back(), u"参数的当前值较大，建议深度为1-800，请控制参数值范围！");
    CGIterate* third = Iterate({Nested()}, 3);
    expected = third;
    n->m_param1 = -2.0f;
    Select({third->m_id, n->m_id});
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_messages.back(), u"参数的当前值为负，建议深度为1-1000，请控制参数值范围");
    EXPECT_EQ(third->m_depth, 0);
}

TEST_F(IterateCommandsTest, PropertiesOfATraceRewriteItsRangeModesAndFigures) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, 1.0f);
    CGVertex* m = AddMidpoint(p->m_id, AddPoint(2, 0, 0)->m_id);
    auto* r = Insert(new CRecorder(NextId(), m->m_id, &log));
    auto* trace = Insert(new CGTrack(NextId(), {p->m_id, m->m_id, r->m_id}, {0, 1, 1}, 0, 0.0f, 1.0f, 0.5f,
                                     CGTrack::kSolidMode, CGTrack::kOwnColors));
    Select({trace->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Script<CDlgTrack>([&](CDlgTrack& dlg) {
        EXPECT_FALSE(dlg.m_newTrace);
        EXPECT_EQ(dlg.m_flags, std::vector<WORD>({0, 1, 1}));
        EXPECT_EQ(dlg.m_step, 0.5f);
        dlg.SetTraced(1, false); // the midpoint (row 0 is the driver)
        dlg.m_start = 3.0f;
        dlg.m_end = 1.0f;
        dlg.m_step = 0.5f;
        dlg.m_displayMode = 2;
    });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(trace->m_traced, std::vector<WORD>({2}));
    EXPECT_EQ(trace->m_tMin, 1.0f);
    EXPECT_EQ(trace->m_tMax, 3.0f);
    EXPECT_EQ(trace->m_sweepStart, 1.0f);
    EXPECT_EQ(trace->m_kind, CGTrack::kShowAll);
    EXPECT_TRUE(m_doc->IsModified());
}
