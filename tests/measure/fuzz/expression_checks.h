// The invariants the expression fuzzer checks on every input, shared with the unit test that
// replays the kept inputs.  Input: UTF-8, either "list\ntext" (a variable list, then the expression)
// or the expression alone over "No1,No2,No3,t,u,v,".  The text is checked (also before a few caret
// positions, as the calculation dialog does), compiled, evaluated and written as markup; a broken
// invariant is reported to the failure handler.
#pragma once

#include "formula/bin_tree.h"
#include "measure/calc_dialogs.h"
#include "measure/expression_counters.h"
#include "measure/fun_parser.h"
#include "platform/local_time.h"
#include "platform/random.h"

#include <cmath>
#include <functional>
#include <memory>
#include <string_view>

namespace hx_expression_checks {

using Failure = std::function<void(const char* what, const CString& text)>;

inline Failure& FailureHandler() {
    static Failure handler;
    return handler;
}
inline void Fail(const char* what, const CString& text) {
    FailureHandler()(what, text);
}

// Every operator has both operands, every function and unary minus exactly its argument, and
// leaves have none: no node can read a missing operand.  Returns the depth.
inline int CheckTree(const CFunNode* node, const CString& text) {
    bool leaf = dynamic_cast<const constant*>(node) || dynamic_cast<const variable*>(node);
    bool unary = !leaf && (node->m_precedence == HX_PREC_FUNCTION || dynamic_cast<const opposite*>(node));
    if (leaf && (node->m_pLeft || node->m_pRight))
        Fail("leaf with operands", text);
    if (unary && (node->m_pLeft || !node->m_pRight))
        Fail("one-argument node without exactly its argument", text);
    if (!leaf && !unary && (!node->m_pLeft || !node->m_pRight))
        Fail("operator without both operands", text);
    int l = node->m_pLeft ? CheckTree(node->m_pLeft, text) : 0;
    int r = node->m_pRight ? CheckTree(node->m_pRight, text) : 0;
    return 1 + (l > r ? l : r);
}

inline void ResetEffects() {
    for (double& c : g_counters)
        c = 0.0;
    HxSrand(1);
}

struct Result {
    int automaton = -1;
    int state = -1;
    bool valid = false;
    double value = 0;
    CString markup;
};

// Whether the declared names are those of the default list, whose markup the formula engine reads
// whole once the parents' labels replace No1 to No3.
inline bool g_defaultList = true;

inline Result Compile(CFunParser& parser, const CString& text) {
    Result r;
    parser.SetText(text);
    r.automaton = parser.CheckSyntax();
    parser.m_lastCheck = r.automaton;
    if (r.automaton < 0 || r.automaton > 7)
        Fail("automaton state out of range", text);
    r.state = parser.m_state;
    if (r.state != HX_PARSER_TO_CHECK && r.state != HX_PARSER_UNBALANCED && r.state != HX_PARSER_CORRECT)
        Fail("parser state after a check", text);
    parser.Parse();
    if (r.state == HX_PARSER_CORRECT) {
        if (parser.m_state != HX_PARSER_COMPILED || !parser.m_pRoot)
            Fail("a correct text did not compile", text);
        int depth = CheckTree(parser.m_pRoot, text);
        ResetEffects();
        r.valid = parser.GetValue(&r.value);
        if (r.valid != std::isfinite(r.value))
            Fail("validity is not finiteness", text);
        r.markup = parser.GetMarkup();
        const std::u16string& m = r.markup.Str();
        if (m.rfind(u"<#><l>", 0) != 0 || m.size() < 14 || m.compare(m.size() - 8, 8, u"</l></#>") != 0)
            Fail("markup not wrapped in a formula", text);
        CBinTree doc;
        CString labelled = HxReplaceVariableTokens(r.markup, [](int n, CString& label) {
            label = u"<e>AB</e>";
            return true;
        });
        std::unique_ptr<CNode> read(doc.ParseMarkup(labelled));
        if (!read)
            Fail("markup not read by the formula engine", text);
        if (g_defaultList && depth < 30 && !doc.IsLastParseComplete())
            Fail("markup of a shallow tree read incompletely", text);
    } else {
        double v = 1;
        if (parser.GetValue(&v) || v != 0.0)
            Fail("a text that failed has a value", text);
    }
    return r;
}

// Runs every check on one input; failures go to `fail`.
inline void CheckInput(std::string_view all, const Failure& fail) {
    FailureHandler() = fail;

    static bool once = [] {
        HxSetLocalTimeSource([] {
            HxLocalTime t;
            t.year = 2024, t.month = 2, t.day = 29, t.hour = 23, t.minute = 59, t.second = 59;
            t.milliseconds = 999;
            return t;
        });
        return true;
    }();
    (void)once;

    CString list = u"No1,No2,No3,t,u,v,";
    g_defaultList = true;
    size_t newline = all.find('\n');
    if (newline != std::string_view::npos) {
        list = CString::FromUtf8(all.substr(0, newline));
        g_defaultList = false;
        all.remove_prefix(newline + 1);
    }
    CString text = CString::FromUtf8(all);

    CFunParser parser;
    parser.SetVariables(list);
    static const double values[] = {3.0, -0.5, 0.0, 1e300, 2.0, -7.25, 1e-300};
    static const int precedences[] = {17, 2, 3, 4, 5, 6, 8, 10, 16};
    for (size_t i = 0; i < parser.m_values.size(); ++i) {
        parser.m_values[i] = values[i % 7];
        parser.m_precedences[i] = precedences[i % 9];
    }

    // What the calculator checks while the caret moves through the text.
    for (int caret : {text.GetLength() / 3, text.GetLength() / 2, text.GetLength() - 1}) {
        if (caret > 0)
            Compile(parser, text.Left(caret));
    }

    Result whole = Compile(parser, text);
    // Checking the same (now lower-case) text again gives the same answer.
    Result again = Compile(parser, parser.m_text);
    if (again.automaton != whole.automaton || again.state != whole.state)
        Fail("a second check disagrees", text);

    // Spaces never change what a text means.
    CString packed = parser.m_text;
    packed.Remove(u' ');
    Result noSpaces = Compile(parser, packed);
    if (noSpaces.automaton != whole.automaton || noSpaces.state != whole.state)
        Fail("spaces change the check", text);
    if (whole.state == HX_PARSER_CORRECT) {
        bool same = whole.value == noSpaces.value || (std::isnan(whole.value) && std::isnan(noSpaces.value));
        if (!same || whole.valid != noSpaces.valid || whole.markup != noSpaces.markup)
            Fail("spaces change the compiled expression", text);
        // A new list leaves the old tree unevaluated until it is compiled again.
        parser.SetVariables(u"No1,");
        double v = 1;
        if (parser.GetValue(&v))
            Fail("evaluated after a new list", text);
        Compile(parser, text);
    }

    // The calculation dialog over three values, refreshed with the caret at a few places: OK is
    // offered exactly when the whole text compiles, and the prompt says which way it went.
    CDlgCalculator dlg;
    for (const char16_t* name : {u"AB", u"     ", u"No2"}) {
        dlg.m_names.push_back(name);
        dlg.m_nameMarkups.push_back(u"<e>" + CString(name) + u"</e>");
        dlg.m_values.push_back(2.5);
        dlg.m_precedences.push_back(HX_PREC_PLUS);
    }
    dlg.m_expression = text;
    dlg.OnInitDialog();
    for (int caret : {0, text.GetLength() / 2, text.GetLength()}) {
        ResetEffects();
        const bool parsed = dlg.Refresh(caret);
        if (parsed != dlg.IsEnabled(IDOK) || parsed != dlg.m_parsed)
            Fail("the calculation dialog offers OK for a text that does not compile", text);
        if (dlg.m_caretState < 0 || dlg.m_caretState > 7)
            Fail("the dialog's caret state is out of range", text);
        if (!parsed && dlg.m_prompt != CDlgCalculator::kIncompletePrompt &&
            dlg.m_prompt != CDlgCalculator::kErrorPrompt)
            Fail("the dialog's prompt of a text that does not compile", text);
        if (parsed && dlg.m_preview.m_pRoot == nullptr)
            Fail("the dialog's preview of a text that compiles is empty", text);
    }
}

} // namespace hx_expression_checks
