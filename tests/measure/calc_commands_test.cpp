// The calculation, new-parameter and step commands: their update rules, what the dialogs are given
// and what their answers make, the undo steps, the parameter names across a cancel, and the plus and
// minus keys on parameters, iterations, other values and no selection.
#include "construct/construct_fixture.h"
#include "dynamics/iterate.h"
#include "measure/calc_commands.h"
#include "measure/calc_dialogs.h"
#include "measure/calculator.h"
#include "measure/measurements.h"

#include <cmath>

namespace {

class CalcCommands : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        g_parameterCounter = 1;
    }
    void TearDown() override {
        g_parameterCounter = 1;
        ConstructTest::TearDown();
    }
    // A parameter as the command makes it, with the dialog answered by `fill`.
    CGTmVarParameter* NewParameter(std::function<void(CDlgParameter&)> fill) {
        Script<CDlgParameter>(std::move(fill));
        const WORD id = m_page->m_nextId;
        Run(ID_MEASURE_PARAMETER);
        return Cell<CGTmVarParameter>(id);
    }
    void Step(UINT id, std::initializer_list<WORD> selection) {
        Select(selection);
        Run(id);
    }
};

TEST_F(CalcCommands, CalculationIsEnabledForScalarValuesOnly) {
    CGTmVariable* m = AddValue(2.0f, u"m");
    CGTmVector* v = Vector(u"v", 1, 2, 3);
    Select({});
    EXPECT_TRUE(Enabled(ID_MEASURE_FUN));
    Select({m->m_id});
    EXPECT_TRUE(Enabled(ID_MEASURE_FUN));
    Select({m->m_id, v->m_id});
    EXPECT_FALSE(Enabled(ID_MEASURE_FUN));
    Select({AddPoint(0, 0, 0)->m_id, m->m_id});
    EXPECT_TRUE(Enabled(ID_MEASURE_FUN));
    EXPECT_TRUE(Enabled(ID_MEASURE_PARAMETER));
    EXPECT_TRUE(Enabled(ID_PARAMETER_STEP_UP));
    EXPECT_TRUE(Enabled(ID_PARAMETER_STEP_DOWN));
}

TEST_F(CalcCommands, CalculationOverTheSelectedValues) {
    CGTmVariable* m = AddValue(2.0f, u"m");
    CGTmVariable* unnamed = AddValue(3.0f, u"");
    CGTmVariable* sum = AddValue(4.0f, u"a+b");
    sum->m_style = 1;
    sum->m_text3 = u"<e>a</e><e>+</e><e>b</e>";
    sum->m_param4 = HX_PREC_PLUS;
    CDlgCalculator seen;
    Script<CDlgCalculator>([&](CDlgCalculator& dlg) {
        seen.m_title = dlg.m_title;
        seen.m_mode = dlg.m_mode;
        seen.m_names = dlg.m_names;
        seen.m_nameMarkups = dlg.m_nameMarkups;
        seen.m_values = dlg.m_values;
        seen.m_precedences = dlg.m_precedences;
        seen.m_expression = dlg.m_expression;
        dlg.m_expression = u"No3*No1+No2";
        dlg.m_resultMarkup = u"<#><l>No3No1<e>+</e>No2</l></#>";
        dlg.m_showAsAngle = TRUE;
    });
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_MEASURE_FUN, {sum->m_id, m->m_id, unnamed->m_id});
    EXPECT_EQ(seen.m_title, u"新建计算");
    EXPECT_EQ(seen.m_mode, CDlgCalculator::kModeCalculation);
    EXPECT_EQ(seen.m_expression, u"0");
    EXPECT_EQ(seen.m_names, (std::vector<CString>{u"a+b", u"m", u"     "}));
    EXPECT_EQ(seen.m_nameMarkups,
              (std::vector<CString>{u"<e>a</e><e>+</e><e>b</e>", u"<e>m</e>", u"<e>     </e>"}));
    EXPECT_EQ(seen.m_values, (std::vector<double>{4.0, 2.0, 3.0}));
    EXPECT_EQ(seen.m_precedences, (std::vector<int>{2, 17, 17}));

    auto* calc = Cell<CGTmVarCalculator>(before.nextId);
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(ClassesFrom(before.nextId), std::vector<std::string>{"CGTmVarCalculator"});
    EXPECT_EQ(Parents(calc), (std::vector<WORD>{sum->m_id, m->m_id, unnamed->m_id}));
    EXPECT_EQ(calc->m_expression, u"No3*No1+No2");
    EXPECT_EQ(calc->m_extA1, 1);
    EXPECT_FLOAT_EQ(calc->m_param1, 14.0f);
    EXPECT_EQ(calc->m_name, u"[ ]*[a+b]+[m]");
    EXPECT_EQ(calc->m_text3,
              u"<#><l><e> </e><b><#><l><e>a</e><e>+</e><e>b</e></l></#></b><e>+</e><e>m</e></l></#>");
    EXPECT_EQ(calc->m_text, u" =" + CGTmVariable::FormatNumber(14.0f, 0.01f, true));
    ExpectUndoStep<CCmdAddCell>(u"添加一个表达式");
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    ExpectUndoRedo(before);
}

TEST_F(CalcCommands, CancelledCalculationTakesNoId) {
    CGTmVariable* m = AddValue(2.0f, u"m");
    CGTmVector* v = Vector(u"v", 1, 2, 3);
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_MEASURE_FUN, {m->m_id});
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNothingDone(before);
    // The command itself refuses what its update rule refuses.
    m_answer = IDOK;
    RunOn(ID_MEASURE_FUN, {m->m_id, v->m_id});
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNothingDone(before);
    // With nothing selected the dialog has no values; the new cell takes the id a cancel left.
    Script<CDlgCalculator>([](CDlgCalculator& dlg) {
        EXPECT_EQ(dlg.ValueCount(), 0);
        dlg.m_expression = u"2^10";
    });
    RunOn(ID_MEASURE_FUN, {});
    auto* calc = Cell<CGTmVarCalculator>(before.nextId);
    ASSERT_NE(calc, nullptr);
    EXPECT_FLOAT_EQ(calc->m_param1, 1024.0f);
    EXPECT_EQ(calc->m_extA1, 0);
}

TEST_F(CalcCommands, ParameterNamesAdvanceOnlyWithACreation) {
    std::vector<CString> offered;
    m_answer = IDCANCEL;
    Script<CDlgParameter>([&](CDlgParameter& dlg) { offered.push_back(dlg.m_name); });
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_MEASURE_PARAMETER);
    Run(ID_MEASURE_PARAMETER);
    ExpectNothingDone(before);
    m_answer = IDOK;
    CGTmVarParameter* t1 = NewParameter([&](CDlgParameter& dlg) { offered.push_back(dlg.m_name); });
    ASSERT_NE(t1, nullptr);
    EXPECT_EQ(t1->m_name, u"t1");
    ExpectUndoStep<CCmdAddCell>(u"添加新参数");
    ExpectUndoRedo(before);
    // The counter belongs to the program: another page, another document, still the next number.
    {
        CHalvixDoc other;
        other.OnNewDocument();
        AfxGetCommandRouter().SetChain({&other});
        Run(ID_MEASURE_PARAMETER);
        EXPECT_EQ(other.GetPage(0)->m_cells.GetCount(), 1);
        AfxGetCommandRouter().SetChain({m_doc.get()});
    }
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
    Run(ID_MEASURE_PARAMETER);
    EXPECT_EQ(offered, (std::vector<CString>{u"t1", u"t1", u"t1", u"t2", u"t3"}));
    EXPECT_EQ(g_parameterCounter, 4);
}

TEST_F(CalcCommands, ParameterFromTheDialogsFields) {
    // Defaults: value 10 in a range of 0 to 20, plain, no slider, name shown.
    CGTmVarParameter* plain = NewParameter([](CDlgParameter& dlg) {
        EXPECT_FLOAT_EQ(dlg.m_value, 10.0f);
        EXPECT_FLOAT_EQ(dlg.m_end, 20.0f);
        EXPECT_FALSE(dlg.m_integer || dlg.m_angle || dlg.m_showSlider || dlg.m_hideName);
    });
    ASSERT_NE(plain, nullptr);
    EXPECT_FLOAT_EQ(plain->m_param1, 10.0f);
    EXPECT_FLOAT_EQ(plain->m_minimum, 0.0f);
    EXPECT_FLOAT_EQ(plain->m_maximum, 20.0f);
    EXPECT_EQ(plain->m_extA1, 0);
    EXPECT_EQ(plain->m_kind, 0);
    EXPECT_EQ(plain->m_labelHidden, 0);
    EXPECT_EQ(plain->m_text, u"10");

    // Whole values: 3.6 shows 4 and stays 3.6 in the accumulator.
    CGTmVarParameter* whole = NewParameter([](CDlgParameter& dlg) {
        dlg.m_name = u"n";
        dlg.m_value = 3.6f;
        dlg.SetInteger(TRUE);
        dlg.m_showSlider = TRUE;
        dlg.m_hideName = TRUE;
    });
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->m_name, u"n");
    EXPECT_FLOAT_EQ(whole->m_param1, 4.0f);
    EXPECT_FLOAT_EQ(whole->m_extA3, 3.6f);
    EXPECT_EQ(whole->m_extA1, 1);
    EXPECT_EQ(whole->m_kind, 1);
    EXPECT_EQ(whole->m_labelHidden, 1);
    EXPECT_EQ(whole->m_text, u"4");

    // Degrees typed, radians kept: value and range in radians, angle mode.
    CGTmVarParameter* angle = NewParameter([](CDlgParameter& dlg) {
        dlg.m_value = 30.0f;
        dlg.m_start = -90.0f;
        dlg.m_end = 90.0f;
        dlg.SetAngle(TRUE);
    });
    ASSERT_NE(angle, nullptr);
    EXPECT_FLOAT_EQ(angle->m_param1, 30.0f * kParameterDegree);
    EXPECT_FLOAT_EQ(angle->m_minimum, -90.0f * kParameterDegree);
    EXPECT_FLOAT_EQ(angle->m_maximum, 90.0f * kParameterDegree);
    EXPECT_EQ(angle->m_extA1, 2);
    EXPECT_EQ(angle->m_text, u"30.00°");
    // Half a whole rounds away from zero.
    CGTmVarParameter* half = NewParameter([](CDlgParameter& dlg) {
        dlg.m_value = -2.5f;
        dlg.SetInteger(TRUE);
    });
    ASSERT_NE(half, nullptr);
    EXPECT_FLOAT_EQ(half->m_param1, -3.0f);
}

TEST_F(CalcCommands, StepKeysMoveTheSelectedParameter) {
    CGTmVarParameter* whole = NewParameter([](CDlgParameter& dlg) {
        dlg.m_value = 3.6f;
        dlg.SetInteger(TRUE);
    });
    ASSERT_NE(whole, nullptr);
    // A calculation built on it follows each step.
    CList<WORD, WORD> parents;
    parents.AddTail(whole->m_id);
    auto* twice = Insert(new CGTmVarCalculator(NextId(), parents, u"No1*2", HX_EMPTY_FORMULA));
    ASSERT_FLOAT_EQ(twice->m_param1, 8.0f);
    const int undoSteps = m_page->m_cmdProcessor.GetCount();
    m_doc->SetModifiedFlag(FALSE);
    Step(ID_PARAMETER_STEP_UP, {whole->m_id});
    EXPECT_FLOAT_EQ(whole->m_param1, 5.0f);
    EXPECT_FLOAT_EQ(whole->m_extA3, 5.0f);
    EXPECT_EQ(whole->m_text, u"5");
    EXPECT_FLOAT_EQ(twice->m_param1, 10.0f);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), undoSteps) << "no undo step";
    EXPECT_TRUE(m_doc->IsModified());
    Step(ID_PARAMETER_STEP_DOWN, {whole->m_id});
    Step(ID_PARAMETER_STEP_DOWN, {whole->m_id});
    EXPECT_FLOAT_EQ(whole->m_param1, 3.0f);
    EXPECT_FLOAT_EQ(twice->m_param1, 6.0f);

    // The slider's range does not hold the keys back.
    CGTmVarParameter* top = NewParameter([](CDlgParameter& dlg) {
        dlg.m_value = 20.0f;
        dlg.m_showSlider = TRUE;
    });
    ASSERT_NE(top, nullptr);
    Step(ID_PARAMETER_STEP_UP, {top->m_id});
    EXPECT_FLOAT_EQ(top->m_param1, 21.0f);
    EXPECT_EQ(top->m_text, u"21");
    top->m_param1 = 0.25f;
    Step(ID_PARAMETER_STEP_DOWN, {top->m_id});
    EXPECT_FLOAT_EQ(top->m_param1, -0.75f);
}

TEST_F(CalcCommands, StepKeysLeaveOtherValuesAlone) {
    CGTmVariable* m = AddValue(2.0f, u"m");
    CGTmVariable* n = AddValue(5.0f, u"n");
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    const PageSnapshot before = TakeSnapshot(*m_page);
    Select({m->m_id});
    // The page's last pick hit a and b: a walk would select one of them.
    m_page->m_walkClass = 1;
    m_page->m_walkList.AddTail(a->m_id);
    m_page->m_walkList.AddTail(b->m_id);
    Run(ID_PARAMETER_STEP_UP);
    EXPECT_FLOAT_EQ(m->m_param1, 2.0f);
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{m->m_id});
    ExpectNothingDone(before);
    // A single text of another class is left alone too.
    auto* text = new CGTmSingleline;
    text->m_id = NextId();
    Insert(text);
    const PageSnapshot withText = TakeSnapshot(*m_page);
    Select({text->m_id});
    m_page->m_walkClass = 1;
    m_page->m_walkList.AddTail(a->m_id);
    Run(ID_PARAMETER_STEP_DOWN);
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{text->m_id});
    ExpectNothingDone(withText);
    // Two values: neither a single value nor a single text, so the selection walks, values unchanged.
    Select({m->m_id, n->m_id});
    m_page->m_walkClass = 1;
    m_page->m_walkList.AddTail(a->m_id);
    m_page->m_walkList.AddTail(b->m_id);
    Run(ID_PARAMETER_STEP_UP);
    EXPECT_FLOAT_EQ(m->m_param1, 2.0f);
    EXPECT_FLOAT_EQ(n->m_param1, 5.0f);
    EXPECT_EQ(m_viewUpdates, 1);
}

TEST_F(CalcCommands, StepKeysWalkTheSelectionWithoutAParameter) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(0, 0, 0);
    // The last pick hit a, b and c and selected a.
    Select({a->m_id});
    m_page->m_walkClass = 1;
    for (CGVertex* p : {a, b, c})
        m_page->m_walkList.AddTail(p->m_id);
    std::vector<std::pair<int, CString>> status;
    HxSetStatusTextHandler([&](int pane, const CString& text) { status.push_back({pane, text}); });
    Run(ID_PARAMETER_STEP_UP);
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{b->m_id});
    Run(ID_PARAMETER_STEP_UP);
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{c->m_id});
    Run(ID_PARAMETER_STEP_DOWN);
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{b->m_id});
    ASSERT_EQ(status.size(), 3u);
    EXPECT_EQ(status[0].first, 0);
    EXPECT_FALSE(status[0].second.IsEmpty());
    EXPECT_EQ(m_viewUpdates, 3);
    EXPECT_FALSE(m_doc->IsModified()) << "a walk changes no object";
    HxSetStatusTextHandler(nullptr);
}

TEST_F(CalcCommands, StepKeysChangeAnIterationsDepth) {
    auto* iterate = new CGIterate;
    iterate->m_id = NextId();
    Insert(iterate);
    iterate->m_chain.assign(4000, 1); // one branch: at most 32000 / 4000 = 8 levels
    iterate->m_depth = 1;
    std::vector<std::tuple<CString, CString, UINT>> boxes;
    HxSetMessageBoxHandler([&](const CString& text, const CString& caption, UINT type) {
        boxes.push_back({text, caption, type});
        return IDOK;
    });
    Select({iterate->m_id});
    ASSERT_EQ(m_page->m_selTexts.GetCount(), 1);
    Run(ID_PARAMETER_STEP_DOWN);
    EXPECT_EQ(iterate->m_depth, 1) << "never below 1";
    EXPECT_EQ(iterate->DefaultDepth(), 8);
    for (int k = 0; k < 8; ++k)
        Run(ID_PARAMETER_STEP_UP);
    EXPECT_EQ(iterate->m_depth, 9);
    EXPECT_TRUE(boxes.empty()) << "the advice comes only beyond the suggestion";
    Run(ID_PARAMETER_STEP_UP);
    EXPECT_EQ(iterate->m_depth, 10) << "the advice does not hold the step back";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(boxes[0]), u"建议深度为1-8的整数");
    EXPECT_EQ(std::get<1>(boxes[0]), u"迭代深度");
    EXPECT_EQ(std::get<2>(boxes[0]), UINT(MB_ICONINFORMATION));
    EXPECT_TRUE(m_doc->IsModified());
    Run(ID_PARAMETER_STEP_DOWN);
    EXPECT_EQ(iterate->m_depth, 9);

    // An iteration whose depth follows a value is left alone.
    iterate->m_param1 = 1.0f;
    Run(ID_PARAMETER_STEP_UP);
    Run(ID_PARAMETER_STEP_DOWN);
    EXPECT_EQ(iterate->m_depth, 9);
}

TEST(IterationDepth, SuggestedDepthByBranchesAndCells) {
    CGIterate it;
    EXPECT_EQ(it.m_depth, 3);
    EXPECT_EQ(it.m_name, u"迭代");
    const struct {
        int branches;
        size_t cells;
        int depth;
    } rows[] = {
        {1, 0, 1000},   {1, 10, 1000}, {1, 32, 1000},
        {1, 33, 969},   {1, 32001, 0}, {2, 10, 10}, // log2(32000 / 20) = 10.6
        {3, 5, 7},                                  // log3(2 * 32000 / 15) = 7.6
        {2, 40000, -1},                             // a ratio below 1: no level at all
    };
    for (const auto& r : rows) {
        it.m_branchCount = r.branches;
        it.m_chain.assign(r.cells, 1);
        EXPECT_EQ(it.DefaultDepth(), r.depth) << r.branches << " branches, " << r.cells << " cells";
    }
    it.m_depth = CGIterate::kMaxDepth;
    EXPECT_FALSE(it.RaiseDepth());
    EXPECT_EQ(it.m_depth, 1000);
    it.m_itemCount = 3;
    EXPECT_EQ(it.GetDescription(), u"3个对象的迭代图");
}

} // namespace
