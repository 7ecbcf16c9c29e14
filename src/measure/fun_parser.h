// The expression parser: declares variables, checks an infix text with a character automaton,
// compiles it into a tree of expression nodes, evaluates it and writes it as formula markup.
#pragma once

#include "measure/fun_node.h"
#include "platform/collections.h"

#include <functional>
#include <string>
#include <vector>

// Parser states.
enum {
    HX_PARSER_NEW = 0,        // nothing declared
    HX_PARSER_DECLARED = 1,   // variables declared
    HX_PARSER_TO_CHECK = 2,   // a text to check; also a syntax error after a check
    HX_PARSER_UNBALANCED = 3, // a syntax error with unbalanced brackets
    HX_PARSER_CORRECT = 4,    // the syntax is correct
    HX_PARSER_COMPILED = 5,   // a tree exists and may be evaluated
};

// States of the syntax automaton, as CheckSyntax returns them: what the text before a caret
// allows next.
enum {
    HX_SYNTAX_ERROR = 0,
    HX_SYNTAX_OPERAND = 1,  // start, after "(": an operand, "(" or a sign may follow
    HX_SYNTAX_INTEGER = 2,  // in the integer digits of a number
    HX_SYNTAX_POINT = 3,    // just after a decimal point
    HX_SYNTAX_FRACTION = 4, // in the fraction digits
    HX_SYNTAX_NAME = 5,     // in a name
    HX_SYNTAX_OPERATOR = 6, // after an operator or a leading sign
    HX_SYNTAX_COMPLETE = 7, // after ")" or a variable or constant name
};

// Texts of more characters than this (blanks not counted) fail the check at the first character
// beyond it, so that no stored or typed text can build a tree deep enough to exhaust the stack
// while it is evaluated or written.
constexpr int HX_MAX_EXPRESSION_LENGTH = 4000;

class CFunParser {
public:
    CFunParser();
    ~CFunParser();
    CFunParser(const CFunParser&) = delete;
    CFunParser& operator=(const CFunParser&) = delete;

    // Declares the variables of a comma-separated list (a trailing comma allowed; "A"-"Z" taken
    // in lower case; a repeated name keeps its first index).  The list replaces any earlier one.
    // The values become 0.0 and the precedences 17; the state becomes 1.
    void SetVariables(const CString& list);
    // The text to check next (state 2).  Owners set the text again before every check.
    void SetText(const CString& text);
    // In state 2: lower-cases the text in place, runs the automaton and sets the state to 4
    // (correct), 2 (error) or 3 (error with unbalanced brackets).  Returns the automaton's final
    // state (0 to 7); 0 in any other parser state.
    int CheckSyntax();
    // In state 4: replaces the tree by the compilation of the text the check accepted; state 5.
    void Parse();
    // In state 5: evaluates into *value and tells whether the result is finite (a non-finite
    // result stays in *value).  In any other state: 0.0 and false.
    bool GetValue(double* value);
    // "<#><l>" + the tree's markup + "</l></#>", or the empty formula without a tree.
    CString GetMarkup();

    // 1 and the variable's index when the (lower-case) name is declared, else 0.
    int LookupVariable(const CString& name, WORD* index) const;
    // Places a node into the tree by its priority: down the right spine from the right operand of
    // start (from the root when start is null), the node takes the place of the first node whose
    // priority is not lower than its own, with that node as its left operand; else it becomes
    // the right operand at the spine's end.
    void InsertNode(CFunNode* start, CFunNode* node);
    // Deletes a node's operands and then the node.
    void DeleteTree(CFunNode* node);

    int m_variableCount = 0;
    CFunNode* m_pRoot = nullptr;
    CMap<CString, const CString&, WORD, WORD> m_variableMap;
    CString m_text;
    int m_lastCheck = 1; // where owners keep what the last CheckSyntax returned
    int m_state = HX_PARSER_NEW;
    std::vector<double> m_values;   // per variable, in index order; owners write them
    std::vector<int> m_precedences; // per variable: the display precedence its nodes take

private:
    bool IsOperand(const std::u16string& name) const;
    CFunNode* MakeNameNode(const std::u16string& name);

    // What the last successful check accepted, lower-case and without spaces: the parse reads
    // exactly this, so that it builds only what the automaton allowed.
    std::u16string m_accepted;
};

// Replaces every variable token of a parent in one left-to-right pass: "No" in any case followed
// by the longest run of digits, n, becomes what lookup gives for n (the token stays as it is when
// lookup returns false).  Inserted texts are never scanned again, and No1 never matches the start
// of No10.  Owners use it to put their parents' names and labels in place of the variables.
CString HxReplaceVariableTokens(const CString& text,
                                const std::function<bool(int n, CString& replacement)>& lookup);
