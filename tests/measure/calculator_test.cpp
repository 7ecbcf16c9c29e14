// The calculated value: its name and label from its parents (ten and more of them too), its value
// as the figure moves, invalid parents and results, the angle modes, its record, its reload and the
// document it lives in.
#include "construct/construct_fixture.h"
#include "document/doc_globals.h"
#include "formula/bin_tree.h"
#include "measure/calculator.h"
#include "measure/expression_counters.h"
#include "measure/measurements.h"
#include "platform/file.h"

#include <cmath>

namespace {

class CalculatorCellTest : public ConstructTest {
protected:
    // |AB| between two new points, shown as a formula when asked.
    CGTmVarDistancePP* Distance(float ax, float ay, float az, float bx, float by, float bz, bool formula) {
        const WORD a = AddPoint(ax, ay, az)->m_id;
        const WORD b = AddPoint(bx, by, bz)->m_id;
        auto* d = Insert(new CGTmVarDistancePP(NextId(), a, b));
        if (formula) {
            d->m_style = 1;
            d->UpdateName();
        }
        return d;
    }
    CGTmVarCalculator* Calculate(std::initializer_list<WORD> parents, const char16_t* expression) {
        CList<WORD, WORD> list;
        for (WORD id : parents)
            list.AddTail(id);
        return Insert(new CGTmVarCalculator(NextId(), list, expression, HX_EMPTY_FORMULA));
    }
};

TEST_F(CalculatorCellTest, SumOfTwoDistancesFollowsTheFigure) {
    CGTmVarDistancePP* ab = Distance(0, 0, 0, 3, 4, 0, true);
    CGTmVarDistancePP* cd = Distance(0, 0, 0, 0, 0, 2, true);
    CGTmVarCalculator* sum = Calculate({ab->m_id, cd->m_id}, u"No1+No2");
    EXPECT_EQ(sum->m_name, u"[|AB|]+[|CD|]");
    EXPECT_EQ(sum->m_text3, u"<#><l><e>|AB|</e><e>+</e><e>|CD|</e></l></#>");
    EXPECT_EQ(sum->GetDescription(), u"计算：No1+No2");
    EXPECT_EQ(sum->m_style, 1);
    EXPECT_EQ(sum->m_param4, HX_PREC_PLUS);
    EXPECT_TRUE(sum->m_valid);
    EXPECT_FLOAT_EQ(sum->m_param1, 7.0f);
    EXPECT_EQ(sum->m_text, u" =7");
    EXPECT_EQ(Parents(sum), (std::vector<WORD>{ab->m_id, cd->m_id}));
    EXPECT_TRUE(ab->m_children.Find(sum->m_id));
    // Moving B recomputes the distance, then the sum.
    MovePoint(Cell<CGVertex>(2), 6, 8, 0);
    EXPECT_FLOAT_EQ(sum->m_param1, 12.0f);
    EXPECT_EQ(sum->m_text, u" =12");
    // A parent shown plainly lends its name.
    cd->m_style = 0;
    sum->UpdateName();
    EXPECT_EQ(sum->m_text3, u"<#><l><e>|AB|</e><e>+</e><e>|CD|</e></l></#>");
    cd->m_name = u"";
    sum->UpdateName();
    EXPECT_EQ(sum->m_name, u"[|AB|]+[ ]");
    EXPECT_EQ(sum->m_text3, u"<#><l><e>|AB|</e><e>+</e><e> </e></l></#>");
}

// A calculation whose label is a sum is bracketed where another calculation multiplies it.
TEST_F(CalculatorCellTest, ParentLabelsAreBracketedByTheirPrecedence) {
    CGTmVarDistancePP* ab = Distance(0, 0, 0, 3, 4, 0, true);
    CGTmVarDistancePP* cd = Distance(0, 0, 0, 0, 0, 2, true);
    CGTmVarCalculator* sum = Calculate({ab->m_id, cd->m_id}, u"No1+No2");
    CGTmVarCalculator* twice = Calculate({sum->m_id}, u"No1*2");
    EXPECT_EQ(twice->m_text3, u"<#><l><b><#><l><#><l><e>|AB|</e><e>+</e><e>|CD|</e></l></#></l></#></b>"
                              u"<e>\u00D7</e><e>2</e></l></#>");
    EXPECT_EQ(twice->m_param4, HX_PREC_MULTIPLY);
    EXPECT_EQ(twice->m_name, u"[[|AB|]+[|CD|]]*2");
    EXPECT_FLOAT_EQ(twice->m_param1, 14.0f);
    // Its label stays readable by the formula engine.
    CBinTree doc;
    std::unique_ptr<CNode> node(doc.ParseMarkup(twice->m_text3));
    EXPECT_TRUE(node && doc.IsLastParseComplete());
    // A product needs no brackets under a sum.
    CGTmVarCalculator* plus = Calculate({twice->m_id, ab->m_id}, u"No1+No2");
    EXPECT_EQ(plus->m_text3.Find(u"<b>"), plus->m_text3.Find(u"<b><#><l><#><l><e>|AB|"));
    EXPECT_FLOAT_EQ(plus->m_param1, 19.0f);
}

TEST_F(CalculatorCellTest, InvalidResultsAndParents) {
    CGTmVarDistancePP* ab = Distance(0, 0, 0, 0, 0, 0, false);
    CGTmVarCalculator* inverse = Calculate({ab->m_id}, u"1/No1");
    EXPECT_FALSE(inverse->m_valid);
    EXPECT_EQ(inverse->m_text, u" = ? ");
    MovePoint(Cell<CGVertex>(2), 0, 0, 4);
    EXPECT_TRUE(inverse->m_valid);
    EXPECT_FLOAT_EQ(inverse->m_param1, 0.25f);
    EXPECT_EQ(inverse->m_text, u" =0.25");

    // A finite result beyond the float's range is no value either.
    CGTmVarCalculator* huge = Calculate({ab->m_id}, u"No1^200");
    EXPECT_FALSE(huge->m_valid);
    CGTmVarCalculator* big = Calculate({}, u"10^39");
    EXPECT_FALSE(big->m_valid);
    EXPECT_TRUE(std::isinf(big->m_param1)) << "the value is kept whatever its validity";
    CGTmVarCalculator* sqrtNeg = Calculate({ab->m_id}, u"sqrt(-No1)");
    EXPECT_FALSE(sqrtNeg->m_valid);

    // A parent without a value: invalid at once, the expression not evaluated at all.
    g_counters[0] = 0.0;
    CGTmVarCalculator* counting = Calculate({inverse->m_id}, u"accum(1)+No1");
    EXPECT_TRUE(counting->m_valid);
    EXPECT_EQ(g_counters[0], 1.0);
    MovePoint(Cell<CGVertex>(2), 0, 0, 0);
    EXPECT_FALSE(inverse->m_valid);
    EXPECT_FALSE(counting->m_valid);
    EXPECT_EQ(g_counters[0], 1.0);
    EXPECT_FLOAT_EQ(counting->m_param1, 1.25f) << "the last value is kept";
}

TEST_F(CalculatorCellTest, NoParentsAndWrongTexts) {
    CGTmVarCalculator* fixed = Calculate({}, u"2^10");
    EXPECT_TRUE(fixed->m_valid);
    EXPECT_EQ(fixed->m_text, u" =1024");
    EXPECT_EQ(fixed->m_name, u"2^10");
    EXPECT_EQ(fixed->m_text3, u"<#><l><^><#><l><e>2</e></l></#><#><l><e>10</e></l></#></^></l></#>");
    EXPECT_EQ(fixed->m_param4, HX_PREC_POWER);

    for (const char16_t* text : {u"2+", u"No1", u"", u"(1"}) {
        CGTmVarCalculator* wrong = Calculate({}, text);
        EXPECT_FALSE(wrong->m_valid) << CString(text).ToUtf8();
        EXPECT_EQ(wrong->m_text3, HX_EMPTY_FORMULA);
        EXPECT_EQ(wrong->m_param4, HX_PREC_NAME);
        EXPECT_EQ(wrong->m_text, wrong->m_name.IsEmpty() ? u"? " : u" = ? ");
    }
    // A fixed name stays; the value still follows.
    fixed->m_nameFixed = true;
    fixed->m_name = u"k";
    fixed->UpdateName();
    EXPECT_EQ(fixed->m_name, u"k");
}

// Twelve parents: every NoK is its own parent, No1 never the start of No10 to No12.
TEST_F(CalculatorCellTest, TwelveParentsAreNamedWhole) {
    std::vector<WORD> ids;
    for (int k = 1; k <= 12; ++k) {
        CString name;
        name.Format(u"v%d", k);
        ids.push_back(AddValue(float(k), name.GetString())->m_id);
    }
    CList<WORD, WORD> list;
    for (WORD id : ids)
        list.AddTail(id);
    auto* calc = Insert(new CGTmVarCalculator(NextId(), list, u"No12-No1+no10*NO11", HX_EMPTY_FORMULA));
    EXPECT_TRUE(calc->m_valid);
    EXPECT_FLOAT_EQ(calc->m_param1, 12 - 1 + 10 * 11);
    EXPECT_EQ(calc->m_name, u"[v12]-[v1]+[v10]*[v11]");
    EXPECT_EQ(calc->m_text3, u"<#><l><e>v12</e><e>\u2212</e><e>v1</e><e>+</e><e>v10</e><e>v11</e></l></#>");
    // A parent's name that looks like a variable is put in as it is.
    Cell<CGCell>(ids[0])->m_name = u"No2";
    calc->UpdateName();
    EXPECT_EQ(calc->m_name, u"[v12]-[No2]+[v10]*[v11]");
}

TEST_F(CalculatorCellTest, AngleModesShowDegrees) {
    CGTmVarCalculator* angle = Calculate({}, u"pi/3");
    EXPECT_EQ(angle->m_text, u" =1.05");
    angle->m_extA1 = 1;
    angle->Recompute();
    EXPECT_EQ(angle->m_text, u" =" + CGTmVariable::FormatNumber(angle->m_param1, 0.01f, true));
    EXPECT_EQ(angle->m_text, u" =60.00°");
    angle->UpdateName();
    EXPECT_EQ(angle->m_text, u" =60.00°");
    angle->m_extA1 = 2;
    angle->Recompute();
    EXPECT_EQ(angle->m_text, u" =60.00°");
    angle->m_style = 0;
    angle->FormatValue();
    EXPECT_EQ(angle->m_text, u"60.00°");
}

// The record is the text item's followed by the expression; nothing of the parser is stored, and a
// loaded item compiles again at its first recomputation.
TEST_F(CalculatorCellTest, RecordAndReload) {
    CGTmVarDistancePP* ab = Distance(0, 0, 0, 3, 4, 0, true);
    CGTmVarCalculator* calc = Calculate({ab->m_id}, u"No1*2");
    calc->m_extA1 = 1;
    calc->Recompute();
    const std::vector<BYTE> bytes = Stored(calc);
    CommonRecord r;
    r.id = calc->m_id;
    r.name = u"[|AB|]*2";
    r.style = 1;
    r.labelHidden = 0;
    r.labelPos[0] = calc->m_labelPos[0];
    r.labelPos[1] = calc->m_labelPos[1];
    r.color = calc->m_color;
    r.size = 0.01f;
    r.param[0] = 10.0f;
    r.param4 = HX_PREC_MULTIPLY;
    r.parents = {ab->m_id};
    r.extA1 = 1;
    r.extA2 = 1;
    r.text3 = u"<#><l><e>|AB|</e><e>\u00D7</e><e>2</e></l></#>";
    ByteBuilder expected;
    expected.NewClass("CGTmVarCalculator");
    r.AppendTo(expected);
    expected.Str(u" =" + std::u16string(CGTmVariable::FormatNumber(10.0f, 0.01f, true).Str())).Str(u"No1*2");
    EXPECT_EQ(bytes, expected.Bytes());

    auto back = Loaded<CGTmVarCalculator>(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_expression, u"No1*2");
    EXPECT_EQ(back->m_compiled, 0);
    EXPECT_EQ(back->m_parser.m_state, HX_PARSER_NEW);
    EXPECT_EQ(Stored(back.get()), bytes);
    ExpectEveryCutRefused<CGTmVarCalculator>(bytes);
    // In the page it recompiles from the stored text and follows its parent again.
    CGTmVarCalculator* loaded = back.release();
    m_page->m_cells.RemoveKey(calc->m_id);
    delete calc;
    Insert(loaded);
    MovePoint(Cell<CGVertex>(2), 6, 8, 0);
    EXPECT_EQ(loaded->m_compiled, 1);
    EXPECT_FLOAT_EQ(loaded->m_param1, 20.0f);
}

// In a document: stored, loaded and recomputed from the loaded parents.
TEST_F(CalculatorCellTest, DocumentWithCalculationsLoadsAndRecomputes) {
    std::vector<WORD> ids;
    for (int k = 1; k <= 11; ++k) {
        CString name;
        name.Format(u"m%d", k);
        ids.push_back(AddValue(0.5f * k, name.GetString())->m_id);
    }
    CList<WORD, WORD> list;
    for (WORD id : ids)
        list.AddTail(id);
    auto* calc = Insert(new CGTmVarCalculator(NextId(), list, u"No11*No1+No10", HX_EMPTY_FORMULA));
    ASSERT_FLOAT_EQ(calc->m_param1, 5.5f * 0.5f + 5.0f);
    const WORD id = calc->m_id;

    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    // Move this page's cells into the document's page, which becomes current.
    std::vector<WORD> all;
    for (int k = 1; k < m_page->m_nextId; ++k)
        all.push_back(WORD(k));
    for (WORD k : all) {
        CGCell* cell = m_page->FindCell(k);
        m_page->m_cells.RemoveKey(k);
        page->m_cells.SetAt(k, cell);
    }
    page->m_nextId = m_page->m_nextId;
    const std::vector<BYTE> file = doc.StoreToBytes();

    CHalvixDoc loaded;
    CMemFile memory(file);
    ASSERT_TRUE(loaded.ReadDocument(memory, u"calc.hvx"));
    auto* back = DYNAMIC_DOWNCAST(CGTmVarCalculator, g_pCurPage->FindCell(id));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_compiled, 1) << "recomputed after loading";
    EXPECT_FLOAT_EQ(back->m_param1, 7.75f);
    EXPECT_EQ(back->m_name, u"[m11]*[m1]+[m10]");
    auto* first = g_pCurPage->FindCell(ids[0]);
    first->m_param1 = 2.0f;
    first->MarkDescendants();
    g_pCurPage->CollectMarkedIds(g_pCurPage->m_scratchIds);
    g_pCurPage->UpdateCellsById(g_pCurPage->m_scratchIds);
    EXPECT_FLOAT_EQ(back->m_param1, 5.5f * 2.0f + 5.0f);
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
}

} // namespace
