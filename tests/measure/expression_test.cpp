// The expression language: the syntax automaton's states, values and validity, the formula
// markup of compiled texts, the counters and the order of evaluation, and bad input.
#include "formula/bin_tree.h"
#include "measure/expression_counters.h"
#include "measure/fun_parser.h"
#include "platform/local_time.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();   // no value: the text fails
constexpr double kInvalid = std::numeric_limits<double>::infinity(); // compiles, no finite value

class ExpressionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (double& c : g_counters)
            c = 0.0;
        HxSrand(1);
        HxSetLocalTimeSource([] {
            HxLocalTime t;
            t.year = 2016, t.month = 7, t.day = 18, t.dayOfWeek = 1;
            t.hour = 14, t.minute = 30, t.second = 25, t.milliseconds = 120;
            return t;
        });
        Declare(u"No1,No2,t,");
    }
    void TearDown() override { HxSetLocalTimeSource({}); }

    // Declares the list and gives No1 = 3, No2 = 4, t = 0.5.
    void Declare(const char16_t* list) {
        p.SetVariables(list);
        const double values[] = {3.0, 4.0, 0.5};
        for (size_t i = 0; i < p.m_values.size() && i < 3; ++i)
            p.m_values[i] = values[i];
    }
    // Sets the text, checks it (keeping the result as owners do) and parses.
    int Compile(const CString& text) {
        p.SetText(text);
        p.m_lastCheck = p.CheckSyntax();
        p.Parse();
        return p.m_lastCheck;
    }
    double Value(const CString& text) {
        Compile(text);
        double v = 0;
        return p.GetValue(&v) ? v : kInvalid;
    }

    CFunParser p;
};

struct Case {
    const char16_t* text;
    int automaton; // what CheckSyntax returns
    int state;     // the parser's state after the check
    double value;  // kNone: not compiled; kInvalid: no finite value
};

TEST_F(ExpressionTest, TextsCheckCompileAndEvaluate) {
    const double pi = 3.141592653589793;
    const Case cases[] = {
        {u"", 1, 2, kNone},
        {u"   ", 1, 2, kNone},
        {u"(1+2", 2, 3, kNone},
        {u"1+2)", 0, 3, kNone},
        {u"(1+$", 0, 3, kNone},
        {u"(No1", 5, 3, kNone},
        {u"No1+no2", 7, 4, 7.0},
        {u"No1+", 6, 2, kNone},
        {u"No3", 5, 2, kNone},
        {u"No3+1", 0, 2, kNone},
        {u"sin(No1)", 7, 4, std::sin(3.0)},
        {u"sin No1", 5, 2, kNone},
        {u"sinNo1", 5, 2, kNone},
        {u"pi(2)", 0, 3, kNone},
        {u"No1(2)", 0, 3, kNone},
        {u"foo(2)", 0, 3, kNone},
        {u".5+1.", 3, 2, kNone},
        {u".5+1", 2, 4, 1.5},
        {u"1.2.3", 0, 2, kNone},
        {u"-(-3)", 7, 4, 3.0},
        {u"+3", 2, 4, 3.0},
        {u"2*-3", 0, 2, kNone},
        {u"2*(-3)", 7, 4, -6.0},
        {u"2^3^2", 2, 4, 64.0},
        {u"8/4/2", 2, 4, 1.0},
        {u"-2^2", 2, 4, -4.0},
        {u"-No1*No2", 7, 4, -12.0},
        {u"2+3*4^2", 2, 4, 50.0},
        {u"(2+3)*4", 2, 4, 20.0},
        {u"7%3", 2, 4, 1.0},
        {u"2(3)", 0, 3, kNone},
        {u"2x", 0, 2, kNone},
        {u")(", 0, 3, kNone},
        {u"SIN(PI/2)", 7, 4, 1.0},
        {u"e", 7, 4, 2.718281828459045},
        {u"sin(t)^2", 2, 4, std::sin(0.5) * std::sin(0.5)},
        {u"2^sin(t)", 7, 4, std::pow(2.0, std::sin(0.5))},
        // Functions and their domains.
        {u"cot(0)", 7, 4, kInvalid},
        {u"sqrt(-1)", 7, 4, kInvalid},
        {u"ln(0)", 7, 4, kInvalid},
        {u"1/0", 2, 4, kInvalid},
        {u"arcsin(2)", 7, 4, kInvalid},
        {u"cbrt(-8)", 7, 4, -2.0},
        {u"int(-0.5)", 7, 4, -1.0},
        {u"int(-2.5)", 7, 4, -3.0},
        {u"round(-0.5)", 7, 4, -1.0},
        {u"round(2.5)", 7, 4, 3.0},
        {u"sgn(0)+sgn(-3)*10+sgn(2)*100", 2, 4, 90.0},
        {u"inol(0)+inol(1)", 7, 4, 1.0},
        {u"inol(0.3)*10+inol(2)+inol(-1)", 7, 4, 10.0},
        {u"abs(-2)+exp(0)+lg(100)+tanh(0)+cosh(0)+sinh(0)", 7, 4, 6.0},
        {u"arctan(1)*4+arccos(1)+tan(0)+cos(pi)", 7, 4, pi - 1.0},
        {u"5.5%2", 2, 4, 1.5},
        {u"rand(0)", 7, 4, 0.0},
        // Spaces: the compiled text is the one the check accepted.
        {u"( -3)", 7, 4, -3.0},
        {u"2*( -3)", 7, 4, -6.0},
        {u"1 2", 2, 4, 12.0},
        {u"co s (0)", 7, 4, 1.0},
        {u"No 1 + 1", 2, 4, 4.0},
        {u"( +2)*3", 2, 4, 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        EXPECT_EQ(Compile(c.text), c.automaton);
        if (std::isnan(c.value)) {
            EXPECT_EQ(p.m_state, c.state);
            double v = 1;
            EXPECT_FALSE(p.GetValue(&v));
            EXPECT_EQ(v, 0.0);
            continue;
        }
        EXPECT_EQ(p.m_state, HX_PARSER_COMPILED);
        double v = 0;
        bool valid = p.GetValue(&v);
        EXPECT_EQ(valid, !std::isinf(c.value));
        if (valid) {
            EXPECT_NEAR(v, c.value, 1e-12);
        }
    }
}

// Markup of compiled texts (No1, No2 and t declared), and what the formula reader makes of it.
TEST_F(ExpressionTest, MarkupBracketsByPrecedence) {
    const struct {
        const char16_t* text;
        const char16_t* markup;
    } cases[] = {
        {u"No1+no2", u"No1<e>+</e>No2"},
        {u"No1-No2", u"No1<e>\u2212</e>No2"},
        {u"2*(No1+No2)", u"<e>2</e><b><#><l>No1<e>+</e>No2</l></#></b>"},
        {u"2*3", u"<e>2</e><e>\u00D7</e><e>3</e>"},
        {u"2*t", u"<e>2</e><e>t</e>"},
        {u"No1*2^t", u"No1<e>\u00D7</e><^><#><l><e>2</e></l></#><#><l><e>t</e></l></#></^>"},
        {u"No1/No2", u"<f><#><l>No1</l></#><#><l>No2</l></#></f>"},
        {u"t^2", u"<^><#><l><e>t</e></l></#><#><l><e>2</e></l></#></^>"},
        {u"(No1+No2)^2", u"<^><b><#><l>No1<e>+</e>No2</l></#></b><#><l><e>2</e></l></#></^>"},
        {u"pi^2", u"<^><#><l><e>\u03C0</e></l></#><#><l><e>2</e></l></#></^>"},
        {u"No1+(No2+t)", u"No1<e>+</e><b><#><l>No2<e>+</e><e>t</e></l></#></b>"},
        {u"(No1+No2)+t", u"No1<e>+</e>No2<e>+</e><e>t</e>"},
        {u"No1-(No2-t)", u"No1<e>\u2212</e><b><#><l>No2<e>\u2212</e><e>t</e></l></#></b>"},
        {u"No1*No2+t", u"No1No2<e>+</e><e>t</e>"},
        {u"(No1+No2)*t", u"<b><#><l>No1<e>+</e>No2</l></#></b><e>t</e>"},
        {u"7%(2*t)", u"<e>7</e><e>%</e><b><#><l><e>2</e><e>t</e></l></#></b>"},
        {u"sin(t)*t", u"<e>sin</e><b><#><l><e>t</e></l></#></b><e>\u00B7</e><e>t</e>"},
        {u"sin(t)*(t+1)", u"<e>sin</e><b><#><l><e>t</e></l></#></b><e>\u00B7</e><b><#><l><e>t</e><e>+</"
                          u"e><e>1</e></l></#></b>"},
        {u"sin(No1/No2)", u"<e>sin</e><f><#><l>No1</l></#><#><l>No2</l></#></f>"},
        {u"sin(t)^2",
         u"<^><b><#><l><e>sin</e><b><#><l><e>t</e></l></#></b></l></#></b><#><l><e>2</e></l></#></^>"},
        {u"-No1*No2", u"<e>-</e>No1No2"},
        {u"-(No1+No2)", u"<e>-</e><b><#><l>No1<e>+</e>No2</l></#></b>"},
        {u"-(No1/No2)", u"<e>-</e><f><#><l>No1</l></#><#><l>No2</l></#></f>"},
        {u"2*(-3)", u"<e>2</e><b><#><l><e>-</e><e>3</e></l></#></b>"},
        {u"No1+(-3)", u"No1<e>+</e><b><#><l><e>-</e><e>3</e></l></#></b>"},
        {u"sqrt(No1)", u"<r><#><l>No1</l></#></r>"},
        {u"cbrt(-8)", u"<r><#><l><e>-</e><e>8</e></l></#><#><l><e>3</e></l></#></r>"},
        {u"1 2", u"<e>12</e>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        Compile(c.text);
        ASSERT_EQ(p.m_state, HX_PARSER_COMPILED);
        CString markup = p.GetMarkup();
        EXPECT_EQ(markup, u"<#><l>" + CString(c.markup) + u"</l></#>");
        // With the parents' labels in place of the variables, the formula engine reads it whole.
        CBinTree doc;
        std::unique_ptr<CNode> node(
            doc.ParseMarkup(HxReplaceVariableTokens(markup, [](int n, CString& label) {
                label = n == 1 ? u"<e>AB</e>" : u"<e>CD</e>";
                return true;
            })));
        EXPECT_TRUE(node && doc.IsLastParseComplete());
    }
    CFunParser empty;
    EXPECT_EQ(empty.GetMarkup(), HX_EMPTY_FORMULA);
}

// The precedence an owner gives a variable (a parent whose label is a sum) brackets it.
TEST_F(ExpressionTest, VariablePrecedenceBracketsItsLabel) {
    p.m_precedences[0] = HX_PREC_PLUS;
    p.m_precedences[1] = HX_PREC_DIVIDE;
    Compile(u"No1*2+No2*t");
    EXPECT_EQ(p.GetMarkup(),
              u"<#><l><b><#><l>No1</l></#></b><e>\u00D7</e><e>2</e><e>+</e>No2<e>t</e></l></#>");
    EXPECT_EQ(p.m_pRoot->m_precedence, HX_PREC_PLUS);
}

TEST_F(ExpressionTest, StatesGuardEachStep) {
    CFunParser fresh;
    double v = 5;
    EXPECT_EQ(fresh.m_state, HX_PARSER_NEW);
    EXPECT_EQ(fresh.m_lastCheck, 1);
    EXPECT_EQ(fresh.CheckSyntax(), 0); // nothing to check
    fresh.Parse();
    EXPECT_FALSE(fresh.GetValue(&v));
    EXPECT_EQ(v, 0.0);

    // Without variables the arrays stay empty; the check lower-cases the text in place.
    fresh.SetVariables(u"");
    EXPECT_EQ(fresh.m_state, HX_PARSER_DECLARED);
    EXPECT_TRUE(fresh.m_values.empty());
    fresh.SetText(u"2^10+PI-Pi");
    EXPECT_EQ(fresh.CheckSyntax(), 7);
    EXPECT_EQ(fresh.m_text, u"2^10+pi-pi");
    EXPECT_EQ(fresh.CheckSyntax(), 0); // only once per text
    fresh.Parse();
    EXPECT_TRUE(fresh.GetValue(&v));
    EXPECT_NEAR(v, 1024.0, 1e-12);

    // A text that fails leaves the earlier tree (its markup) but no value.
    CString markup = fresh.GetMarkup();
    fresh.SetText(u"2+");
    fresh.CheckSyntax();
    fresh.Parse();
    EXPECT_FALSE(fresh.GetValue(&v));
    EXPECT_EQ(fresh.GetMarkup(), markup);
}

// A new list replaces the old one: no two names share an index, and old names are gone.
TEST_F(ExpressionTest, RedeclaringStartsFromTheNewList) {
    p.SetVariables(u"a,B,a,,c d");
    EXPECT_EQ(p.m_variableCount, 3);
    WORD i = 9;
    EXPECT_EQ(p.LookupVariable(u"b", &i), 1);
    EXPECT_EQ(i, 1);
    EXPECT_EQ(p.LookupVariable(u"c d", &i), 1); // spaces belong to the name
    EXPECT_EQ(p.m_precedences, std::vector<int>(3, 17));

    Compile(u"a*10+b");
    p.SetVariables(u"b,e2,");
    EXPECT_EQ(p.m_state, HX_PARSER_DECLARED);
    double v = 1;
    EXPECT_FALSE(p.GetValue(&v)); // the old tree is not evaluated
    EXPECT_EQ(p.LookupVariable(u"a", &i), 0);
    EXPECT_EQ(p.LookupVariable(u"b", &i), 1);
    EXPECT_EQ(i, 0);
    p.m_values = {2.0, 5.0};
    EXPECT_DOUBLE_EQ(Value(u"b*10+e2"), 25.0);
    EXPECT_EQ(p.GetMarkup(), u"<#><l>b<e>\u00D7</e><e>10</e><e>+</e>e2</l></#>");

    // Indexes are 16-bit: names past the 65,536th are not declared.
    CString many;
    for (int k = 1; k <= 70000; ++k)
        many.AppendFormat(u"No%d,", k);
    p.SetVariables(many);
    EXPECT_EQ(p.m_variableCount, 65536);
    EXPECT_EQ(p.LookupVariable(u"no65536", &i), 1);
    EXPECT_EQ(i, 65535);
    EXPECT_EQ(p.LookupVariable(u"no65537", &i), 0);
}

// Operands are evaluated in a fixed order, so the counters' side effects are predictable.
TEST_F(ExpressionTest, CountersAndOrderOfEvaluation) {
    EXPECT_EQ(Value(u"set1(2)+get(1)"), 2.0); // plus: right first
    EXPECT_EQ(g_counters[0], 2.0);
    EXPECT_EQ(Value(u"get(1)-set1(5)"), -3.0); // minus: left first
    EXPECT_EQ(Value(u"get(1)*set1(7)"), 49.0); // multiply: right first
    EXPECT_EQ(Value(u"set3(5)"), 5.0);
    EXPECT_EQ(Value(u"get(3)"), 5.0);
    g_counters[5] = 40.0;
    EXPECT_EQ(Value(u"get(0)+get(7)+get(-1)+get(6)"), 160.0);
    EXPECT_EQ(Value(u"get(5.9)+get(-0.9)"), 40.0); // truncated toward zero
    // accum keeps counting from wherever the counter stands, on every evaluation.
    EXPECT_EQ(Value(u"accum(9)"), 41.0);
    double v = 0;
    p.GetValue(&v);
    EXPECT_EQ(v, 42.0);
    EXPECT_EQ(Value(u"accum(6)+accum(2)"), 44.0);
    EXPECT_EQ(g_counters[1], 1.0);
    // Selectors that are not finite or do not fit an int take the fallback (counter 6).
    g_counters[5] = 0.5;
    EXPECT_EQ(Value(u"get(10000000000)+get(0/0)+get(1/0)+get(-1/0)"), 2.0);
    EXPECT_EQ(Value(u"accum(-10000000000)"), 1.5);
    EXPECT_EQ(Value(u"set6(-1)+set2(1)+set4(3)+set5(4)"), 7.0);
    EXPECT_EQ(g_counters[5], -1.0);
}

TEST_F(ExpressionTest, RandDrawsAfterItsArgument) {
    HxSrand(1);
    EXPECT_DOUBLE_EQ(Value(u"rand(1)"), 41 / 32767.0);
    HxSrand(1);
    EXPECT_DOUBLE_EQ(Value(u"rand(rand(32767))"), 41.0 * 18467 / 32767.0);
}

TEST_F(ExpressionTest, TimeReadsTheClock) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {
        {u"time(1)", 14},
        {u"time(2)", 30},
        {u"time(3)", 25},
        {u"time(4)", 120},
        {u"time(5)", 2016.0718},
        {u"time(6)", 2016},
        {u"time(7)", 7},
        {u"time(8)", 18},
        {u"time(9)", 1},
        {u"time(11)", 14 + 30 / 60.0 + 25 / 3600.0},
        {u"time(12)", 30 + 25 / 60.0},
        {u"time(13)", 25.12},
        {u"time(0)", 14.302512},
        {u"time(10)", 14.302512},
        {u"time(14)", 14.302512},
        {u"time(0/0)", 14.302512},
        {u"time(1/0)", 14.302512},
        {u"time(-10000000000)", 14.302512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        EXPECT_NEAR(Value(c.text), c.value, 1e-9);
    }
}

TEST_F(ExpressionTest, HostileTexts) {
    // Numbers beyond double: an infinity (no value), or 0 when too small.
    EXPECT_EQ(Value(u"1" + CString(u'0', 400)), kInvalid);
    EXPECT_EQ(Value(u"0." + CString(u'0', 400) + u"1+2"), 2.0);
    // A text past the length limit fails where it passes the limit.
    CString longText = u"1";
    while (longText.GetLength() <= HX_MAX_EXPRESSION_LENGTH)
        longText += u"+1";
    EXPECT_EQ(Compile(longText), 0);
    EXPECT_EQ(p.m_state, HX_PARSER_TO_CHECK);
    EXPECT_EQ(Value(longText.Left(HX_MAX_EXPRESSION_LENGTH - 1)), HX_MAX_EXPRESSION_LENGTH / 2);
    // Blanks do not count: a text is checked the same with and without them, at the limit too.
    EXPECT_EQ(Value(CString(u' ', HX_MAX_EXPRESSION_LENGTH) + u"1"), 1.0);
    EXPECT_EQ(Value(u"1" + CString(u' ', 3 * HX_MAX_EXPRESSION_LENGTH) + u"+2"), 3.0);
    CString atLimit = longText.Left(HX_MAX_EXPRESSION_LENGTH - 1);
    for (const CString& text : {atLimit, longText}) {
        CString blanks;
        for (int k = 0; k < text.GetLength(); ++k)
            blanks += CString(u"  ") + CString(text[k], 1);
        EXPECT_EQ(Compile(blanks), Compile(text)) << text.GetLength();
    }
    // Deep nesting within the limit compiles, evaluates and writes its markup.
    CString deep;
    for (int k = 0; k < HX_MAX_EXPRESSION_LENGTH / 3 - 1; ++k)
        deep += u"-(";
    deep += u"1" + CString(u')', HX_MAX_EXPRESSION_LENGTH / 3 - 1);
    EXPECT_EQ(std::fabs(Value(deep)), 1.0);
    EXPECT_GT(p.GetMarkup().GetLength(), deep.GetLength());
    // Characters outside the language, NUL and non-ASCII letters among them.
    EXPECT_EQ(Compile(CString(u"1+\0"
                              "2",
                              4)),
              0);
    EXPECT_EQ(Compile(u"\u00C91+2"), 0);
}

TEST_F(ExpressionTest, VariableTokensReplacedWhole) {
    auto names = [](int n, CString& text) {
        if (n < 1 || n > 12)
            return false;
        text.Format(u"[P%dNo%d]", n, n + 1); // inserted texts are not scanned again
        return true;
    };
    EXPECT_EQ(HxReplaceVariableTokens(u"No1+no10*NO12-nO2/No13+No+no", names),
              u"[P1No2]+[P10No11]*[P12No13]-[P2No3]/No13+No+no");
    EXPECT_EQ(HxReplaceVariableTokens(u"No1No2<e>No</e>No0", names), u"[P1No2][P2No3]<e>No</e>No0");
    CString huge = u"No" + CString(u'9', 30);
    EXPECT_EQ(HxReplaceVariableTokens(huge + u"1", names), huge + u"1");
}

// A node whose operand is missing gives no value and writes what it has.
TEST_F(ExpressionTest, MissingOperandsGiveNoValue) {
    CFunParser owner;
    auto* m = new minus;
    m->m_pRight = new constant(3, u"3");
    owner.m_pRoot = m;
    EXPECT_TRUE(std::isnan(m->Evaluate()));
    EXPECT_EQ(m->GetMarkup(), u"<e>\u2212</e><e>3</e>");
    for (CFunNode* n : {(CFunNode*)new power, (CFunNode*)new divide, (CFunNode*)new multiply,
                        (CFunNode*)new sqrtnode, (CFunNode*)new getnode, (CFunNode*)new opposite}) {
        std::unique_ptr<CFunNode> node(n);
        EXPECT_TRUE(std::isnan(node->Evaluate()) || node->Evaluate() == g_counters[5]);
        CBinTree doc;
        std::unique_ptr<CNode> read(doc.ParseMarkup(HxBoxMarkup(node->GetMarkup())));
        EXPECT_TRUE(read);
    }
}

} // namespace
