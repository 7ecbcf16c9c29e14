// The calculation dialog's rules without its window: the variables of each mode, the keypad's state
// at chosen caret positions, the prompts and the preview of complete, incomplete and wrong texts,
// insertion at the caret, and the parameter dialog's exclusive checks.
#include "measure/calc_dialogs.h"
#include "measure/expression_counters.h"
#include "model/cell.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using D = CDlgCalculator;

// The keys and lists by what they stand for.
enum KeyClass { Digits, Point, Sign, Operator, OpenKey, Close, Operand, Lists, Back };

bool ClassEnabled(const D& d, KeyClass k) {
    switch (k) {
    case Digits: {
        bool all = true, any = false;
        for (int id : D::kDigitKeys) {
            all = all && d.IsEnabled(id);
            any = any || d.IsEnabled(id);
        }
        EXPECT_EQ(all, any) << "the digits go together";
        return all;
    }
    case Point:
        return d.IsEnabled(D::kKeyPoint);
    case Sign:
        EXPECT_EQ(d.IsEnabled(D::kKeyPlus), d.IsEnabled(D::kKeyMinus));
        return d.IsEnabled(D::kKeyPlus);
    case Operator:
        for (int id : {D::kKeyDivide, D::kKeyMod, D::kKeyPower})
            EXPECT_EQ(d.IsEnabled(id), d.IsEnabled(D::kKeyTimes)) << id;
        return d.IsEnabled(D::kKeyTimes);
    case OpenKey:
        return d.IsEnabled(D::kKeyOpen);
    case Close:
        return d.IsEnabled(D::kKeyClose);
    case Operand:
        for (int id : {D::kKeyE, D::kKeyT, D::kKeyU, D::kKeyV})
            EXPECT_EQ(d.IsEnabled(id), d.IsEnabled(D::kKeyPi)) << id;
        return d.IsEnabled(D::kKeyPi);
    case Lists:
        EXPECT_EQ(d.IsEnabled(D::kValueList), d.IsEnabled(D::kFunctionList));
        return d.IsEnabled(D::kValueList);
    case Back:
        return d.IsEnabled(D::kKeyBack);
    }
    return false;
}

class CalculatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (double& c : g_counters)
            c = 0.0;
    }
    // A calculation over `count` values named A, B, C, ... worth 1, 2, 3, ...
    void Offer(int count) {
        for (int k = 0; k < count; ++k) {
            const CString name(char16_t(u'A' + k));
            d.m_names.push_back(name);
            d.m_nameMarkups.push_back(u"<e>" + name + u"</e>");
            d.m_values.push_back(k + 1.0);
            d.m_precedences.push_back(HX_PREC_NAME);
        }
    }
    void Open(const CString& text) {
        d.m_expression = text;
        d.OnInitDialog();
        d.Refresh(text.GetLength());
    }
    D d;
};

TEST_F(CalculatorTest, NewCalculationOpensReadyWithZero) {
    Open(u"0");
    EXPECT_EQ(d.m_prompt, u"0=0.0000");
    EXPECT_TRUE(d.IsEnabled(IDOK));
    EXPECT_EQ(d.m_previewMarkup, u"<#><l><e>0</e><e>=0</e></l></#>");
    EXPECT_NE(d.m_preview.m_pRoot, nullptr);
    EXPECT_EQ(d.m_preview.m_defaultFont.lfHeight, 18);
    EXPECT_EQ(d.m_title, u"计算");
    D fresh;
    EXPECT_EQ(fresh.m_prompt, u"在下面输入一个表达式，可插入度量值或函数：");
    EXPECT_EQ(fresh.m_resultMarkup, u"<#><l></l></#>");
    EXPECT_EQ(D::FunctionNames().size(), 29u);
    EXPECT_EQ(D::Keys().size(), 25u); // the keypad
}

// The keypad enables exactly the tokens that may follow the text before the caret.
TEST_F(CalculatorTest, KeypadFollowsTheTextBeforeTheCaret) {
    Offer(2);
    const struct {
        const char16_t* text;
        int caret;
        int state;
        std::set<KeyClass> enabled;
    } cases[] = {
        {u"", 0, 1, {Digits, Point, Sign, OpenKey, Operand, Lists}},
        {u"No1+2", 0, 1, {Digits, Point, Sign, OpenKey, Operand, Lists}},
        {u"No1", 3, 7, {Sign, Operator, Back}},
        {u"No1+2", 3, 7, {Sign, Operator, Back}},
        {u"No1+2", 2, 5, {Digits, Sign, Operator, OpenKey, Operand, Lists, Back}},
        {u"2*(3", 4, 2, {Digits, Point, Sign, Operator, Close, Back}},
        {u"2*(3)", 5, 7, {Sign, Operator, Back}},
        {u"sin(No1", 7, 5, {Digits, Sign, Operator, OpenKey, Close, Operand, Lists, Back}},
        {u"2*", 2, 6, {Digits, Point, OpenKey, Operand, Lists, Back}},
        {u"1.", 2, 3, {Digits, Back}},
        {u"1.5", 3, 4, {Digits, Sign, Operator, Back}},
        {u"2**3", 4, 0, {Back}},
        {u"(", 1, 1, {Digits, Point, Sign, OpenKey, Operand, Lists, Back}},
        {u"pi", 2, 7, {Sign, Operator, Back}},
        {u"(pi", 3, 5, {Digits, Sign, Operator, OpenKey, Close, Operand, Lists, Back}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8() + " caret " + std::to_string(c.caret));
        d.m_expression = c.text;
        d.OnInitDialog();
        d.Refresh(c.caret);
        EXPECT_EQ(d.m_caretState, c.state);
        for (KeyClass k : {Digits, Point, Sign, Operator, OpenKey, Close, Operand, Lists, Back})
            EXPECT_EQ(ClassEnabled(d, k), c.enabled.count(k) == 1) << "key class " << k;
    }
}

TEST_F(CalculatorTest, PromptsTellCompleteIncompleteAndWrongTexts) {
    Offer(2);
    const struct {
        const char16_t* text;
        const char16_t* prompt;
        bool ok;
    } cases[] = {
        {u"No1+No2*2", u"[A]+[B]*2=5.0000", true},
        {u"No1+", u"请继续输入……", false},
        {u"(No1+2", u"请继续输入……", false},
        {u"2.", u"请继续输入……", false},
        {u"", u"请继续输入……", false},
        {u"2**3", u"表达式错误，请修改！", false},
        {u"No3", u"请继续输入……", false},
        {u"No1)", u"表达式错误，请修改！", false},
        {u"1/0", u"1/0=?", true},
        {u"sqrt(0-No1)", u"sqrt(0-[A])=?", true},
        {u"no1*NO2", u"[A]*[B]=2.0000", true},
        {u"1/3", u"1/3=0.3333", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        Open(c.text);
        EXPECT_EQ(d.m_prompt, c.prompt);
        EXPECT_EQ(d.IsEnabled(IDOK), c.ok);
    }
}

TEST_F(CalculatorTest, PreviewShowsNamesAndValue) {
    Offer(2);
    d.m_nameMarkups[0] = u"<e>|AB|</e>";
    d.m_precedences[1] = HX_PREC_PLUS; // value 2 shows a sum
    d.m_nameMarkups[1] = u"<e>x</e><e>+</e><e>y</e>";
    Open(u"No1*No2");
    EXPECT_EQ(d.m_previewMarkup,
              u"<#><l><e>|AB|</e><b><#><l><e>x</e><e>+</e><e>y</e></l></#></b><e>=2</e></l></#>");
    // The preview keeps its formula while the text does not compile.
    d.m_expression = u"No1*";
    d.Refresh(4);
    EXPECT_FALSE(d.m_parsed);
    EXPECT_EQ(d.m_previewMarkup,
              u"<#><l><e>|AB|</e><b><#><l><e>x</e><e>+</e><e>y</e></l></#></b><e>=2</e></l></#>");
    // No value: the formula alone.
    Open(u"No1/0");
    EXPECT_EQ(d.m_previewMarkup, u"<#><l><f><#><l><e>|AB|</e></l></#><#><l><e>0</e></l></#></f></l></#>");
    // OK hands back the parser's markup, with the variables.
    d.OnOK();
    EXPECT_EQ(d.m_resultMarkup, u"<#><l><f><#><l>No1</l></#><#><l><e>0</e></l></#></f></l></#>");
}

TEST_F(CalculatorTest, TwelveValuesAreNamedWhole) {
    Offer(12);
    Open(u"No12+No1+No10");
    EXPECT_EQ(d.m_prompt, u"[L]+[A]+[J]=23.0000");
    EXPECT_EQ(d.m_previewMarkup, u"<#><l><e>L</e><e>+</e><e>A</e><e>+</e><e>J</e><e>=23</e></l></#>");
}

// A curve declares t before the values, a surface u and v; a range (mode 0) only the values.
TEST_F(CalculatorTest, ModesDeclareTheirParametersFirst) {
    Offer(2);
    d.m_mode = D::kModeCurve;
    d.m_values = {0.5, 3.0, 4.0};
    d.m_precedences = {17, 17, 17};
    EXPECT_EQ(d.ParameterPrefix(), u"t,");
    Open(u"t*No1+No2");
    EXPECT_EQ(d.m_prompt, u"t*[A]+[B]=5.5000");
    WORD index = 9;
    ASSERT_EQ(d.m_parser.LookupVariable(u"t", &index), 1);
    EXPECT_EQ(index, 0);
    ASSERT_EQ(d.m_parser.LookupVariable(u"no2", &index), 1);
    EXPECT_EQ(index, 2);

    D surface;
    surface.m_mode = D::kModeSurface;
    surface.m_values = {2.0}; // v and nothing else given: 0
    surface.m_expression = u"u*10+v";
    surface.OnInitDialog();
    EXPECT_EQ(surface.ParameterPrefix(), u"u,v,");
    EXPECT_TRUE(surface.Refresh(6));
    EXPECT_EQ(surface.m_prompt, u"u*10+v=20.0000");

    D range;
    range.m_expression = u"t";
    range.OnInitDialog();
    range.Refresh(1);
    EXPECT_EQ(range.m_prompt, u"请继续输入……");
}

TEST_F(CalculatorTest, KeysAndListsInsertAtTheCaret) {
    Offer(3);
    Open(u"1+2");
    d.Insert(u"*", 1, 1);
    EXPECT_EQ(d.m_expression, u"1*+2");
    EXPECT_EQ(d.m_caret, 2);
    EXPECT_EQ(d.m_prompt, u"表达式错误，请修改！");
    // A selection is replaced.
    d.Insert(u"0", 1, 3);
    EXPECT_EQ(d.m_expression, u"102");
    EXPECT_EQ(d.m_caret, 2);
    d.InsertValue(3, 0, 0);
    EXPECT_EQ(d.m_expression, u"No3102");
    EXPECT_EQ(d.m_caret, 3);
    d.InsertValue(0, 0, 0); // the first row inserts nothing
    d.InsertValue(4, 0, 0);
    EXPECT_EQ(d.m_expression, u"No3102");
    d.InsertFunction(1, 0, 6);
    EXPECT_EQ(d.m_expression, u"sin(");
    d.InsertFunction(29, 4, 4);
    EXPECT_EQ(d.m_expression, u"sin(time(");
    d.InsertFunction(30, 4, 4);
    EXPECT_EQ(d.m_expression, u"sin(time(");
    // "←" takes the character before the caret, and with a selection that one too.
    d.Backspace(9, 9);
    EXPECT_EQ(d.m_expression, u"sin(time");
    EXPECT_EQ(d.m_caret, 8);
    d.Backspace(4, 8);
    EXPECT_EQ(d.m_expression, u"sin");
    EXPECT_EQ(d.m_caret, 3);
    d.Backspace(0, 0);
    EXPECT_EQ(d.m_expression, u"sin");
    EXPECT_EQ(d.m_caret, 0);
    EXPECT_FALSE(d.IsEnabled(D::kKeyBack));
    // Positions past the text stay at its end.
    d.Insert(u"(pi)", 99, 120);
    EXPECT_EQ(d.m_expression, u"sin(pi)");
    EXPECT_EQ(d.m_prompt, u"sin(pi)=0.0000");
}

// A value in formula display offers its label and precedence; any other its name, five spaces for
// none.
TEST_F(CalculatorTest, OfferedValuesStandForThemselves) {
    CGCell plain, unnamed, formula;
    plain.m_name = u"AB";
    plain.m_param1 = 2.5f;
    formula.m_name = u"x+y";
    formula.m_style = 1;
    formula.m_text3 = u"<e>x</e><e>+</e><e>y</e>";
    formula.m_param4 = HX_PREC_PLUS;
    formula.m_param1 = -1.0f;
    for (const CGCell* c : {&plain, &unnamed, &formula})
        d.OfferValue(*c);
    EXPECT_EQ(d.m_names, (std::vector<CString>{u"AB", u"     ", u"x+y"}));
    EXPECT_EQ(d.m_nameMarkups,
              (std::vector<CString>{u"<e>AB</e>", u"<e>     </e>", u"<e>x</e><e>+</e><e>y</e>"}));
    EXPECT_EQ(d.m_values, (std::vector<double>{2.5, 0.0, -1.0}));
    EXPECT_EQ(d.m_precedences, (std::vector<int>{17, 17, 2}));
    Open(u"No1*No3");
    EXPECT_EQ(d.m_prompt, u"[AB]*[x+y]=-2.5000");
    EXPECT_EQ(d.m_previewMarkup,
              u"<#><l><e>AB</e><b><#><l><e>x</e><e>+</e><e>y</e></l></#></b><e>=-2.5</e></l></#>");
}

TEST(ParameterDialog, IntegerAndAngleExcludeEachOther) {
    CDlgParameter p;
    EXPECT_EQ(p.m_value, 10.0f);
    EXPECT_EQ(p.m_start, 0.0f);
    EXPECT_EQ(p.m_end, 20.0f);
    p.SetInteger(TRUE);
    EXPECT_TRUE(p.m_integer);
    p.SetAngle(TRUE);
    EXPECT_TRUE(p.m_angle);
    EXPECT_FALSE(p.m_integer);
    p.SetAngle(FALSE);
    EXPECT_FALSE(p.m_angle);
    EXPECT_FALSE(p.m_integer);
    p.SetAngle(TRUE);
    p.SetInteger(TRUE);
    EXPECT_FALSE(p.m_angle);
}

} // namespace
