// The nodes of a compiled expression: one class per operator, constant, variable and function.
// Each computes its value in double precision and writes itself as formula markup with the least
// brackets its display precedence needs.
#pragma once

#include "platform/cstring.h"

class CFunParser;

// Display precedences the markup writers compare (a node's precedence with its lowest bit cleared
// orders it; a few exact values tell the kind of an operand: 5 a fraction, 6 a unary minus,
// 10 a function).
constexpr int HX_PREC_PLUS = 2;
constexpr int HX_PREC_MINUS = 3;
constexpr int HX_PREC_MULTIPLY = 4;
constexpr int HX_PREC_DIVIDE = 5;
constexpr int HX_PREC_OPPOSITE = 6;
constexpr int HX_PREC_POWER = 8;
constexpr int HX_PREC_FUNCTION = 10;
constexpr int HX_PREC_NUMBER = 16;
constexpr int HX_PREC_NAME = 17; // variables of plain names, "pi" and "e"

// A node of the tree.  One-argument nodes (functions, unary minus) use only the right operand.
// Nodes are made and freed by their parser (operands first); an operand missing where one is read
// counts as no value (NaN), never as a crash.
class CFunNode {
public:
    CFunNode() = default;
    virtual ~CFunNode() = default;
    CFunNode(const CFunNode&) = delete;
    CFunNode& operator=(const CFunNode&) = delete;

    virtual double Evaluate();
    // The general rule: left part, "<e>" symbol "</e>", right part, each operand bracketed as its
    // display precedence needs.
    virtual CString GetMarkup();

    CFunNode* m_pLeft = nullptr;
    CFunNode* m_pRight = nullptr;
    CString m_symbol = u"?";
    int m_priority = 0;   // base priority + 10 per open bracket, while the tree is built
    int m_precedence = 0; // display precedence, for the markup

protected:
    CFunNode(const char16_t* symbol, int priority, int precedence)
        : m_symbol(symbol), m_priority(priority), m_precedence(precedence) {}
    static double ValueOf(CFunNode* node);
    double Argument() { return ValueOf(m_pRight); }
};

// The precedence a node is ordered by: its display precedence with the lowest bit cleared.
inline int HxOrderPrecedence(const CFunNode* node) {
    return node->m_precedence & ~1;
}
// "<b><#><l>" markup "</l></#></b>".
CString HxBracketMarkup(const CString& markup);
// "<#><l>" markup "</l></#>".
CString HxBoxMarkup(const CString& markup);

// A number, "pi" or "e".
class constant : public CFunNode {
public:
    constant(double value, const CString& symbol, int precedence = HX_PREC_NUMBER);
    double Evaluate() override;
    CString GetMarkup() override;
    double m_value;
};

// A declared variable: its value is the parser's current value at its index.
class variable : public CFunNode {
public:
    variable(CFunParser* parser, int index, const CString& symbol, int precedence);
    double Evaluate() override;
    CString GetMarkup() override;
    int m_index;
    CFunParser* m_pParser;
};

class plus : public CFunNode {
public:
    plus() : CFunNode(u"+", 1, HX_PREC_PLUS) {}
    double Evaluate() override;
};

class minus : public CFunNode {
public:
    minus() : CFunNode(u"\u2212", 1, HX_PREC_MINUS) {}
    double Evaluate() override;
};

class multiply : public CFunNode {
public:
    multiply() : CFunNode(u"", 2, HX_PREC_MULTIPLY) {}
    double Evaluate() override;
    // Chooses the symbol ("×", "·" or none) from the operands each time it is written.
    CString GetMarkup() override;
};

class divide : public CFunNode {
public:
    divide() : CFunNode(u"/", 2, HX_PREC_DIVIDE) {}
    double Evaluate() override;
    CString GetMarkup() override; // a fraction
};

class modnode : public CFunNode {
public:
    modnode() : CFunNode(u"%", 2, HX_PREC_MULTIPLY) {}
    double Evaluate() override;
};

// Unary minus.
class opposite : public CFunNode {
public:
    opposite() : CFunNode(u"\u2212", 3, HX_PREC_OPPOSITE) {}
    double Evaluate() override;
    CString GetMarkup() override;
};

class power : public CFunNode {
public:
    power() : CFunNode(u"^", 4, HX_PREC_POWER) {}
    double Evaluate() override;
    CString GetMarkup() override;
};

// The one-argument functions, named by what the user types.  The argument is always bracketed
// in the markup unless it is a fraction; square and cube roots are drawn as radicals.
#define HX_FUNCTION_NODE(cls, name)                                                                          \
    class cls : public CFunNode {                                                                            \
    public:                                                                                                  \
        cls() : CFunNode(name, 5, HX_PREC_FUNCTION) {}                                                       \
        double Evaluate() override;                                                                          \
    };

HX_FUNCTION_NODE(sinnode, u"sin")
HX_FUNCTION_NODE(cosnode, u"cos")
HX_FUNCTION_NODE(tannode, u"tan")
HX_FUNCTION_NODE(cotnode, u"cot")
HX_FUNCTION_NODE(arcsinnode, u"arcsin")
HX_FUNCTION_NODE(arccosnode, u"arccos")
HX_FUNCTION_NODE(arctannode, u"arctan")
HX_FUNCTION_NODE(sinhnode, u"sinh")
HX_FUNCTION_NODE(coshnode, u"cosh")
HX_FUNCTION_NODE(tanhnode, u"tanh")
HX_FUNCTION_NODE(absnode, u"abs")
HX_FUNCTION_NODE(expnode, u"exp")
HX_FUNCTION_NODE(lgnode, u"lg")
HX_FUNCTION_NODE(lnnode, u"ln")
HX_FUNCTION_NODE(intnode, u"int")     // floor
HX_FUNCTION_NODE(roundnode, u"round") // halves away from zero
HX_FUNCTION_NODE(sgnnode, u"sgn")
HX_FUNCTION_NODE(randnode, u"rand") // x times a fresh HxRand() / 32767
HX_FUNCTION_NODE(inolnode, u"inol") // 1 inside (0, 1), 0.5 at its ends, 0 outside
HX_FUNCTION_NODE(set1node, u"set1") // set1 ... set6 store x into a counter and return it
HX_FUNCTION_NODE(set2node, u"set2")
HX_FUNCTION_NODE(set3node, u"set3")
HX_FUNCTION_NODE(set4node, u"set4")
HX_FUNCTION_NODE(set5node, u"set5")
HX_FUNCTION_NODE(set6node, u"set6")
HX_FUNCTION_NODE(getnode, u"get")     // counter x (1 to 5), else counter 6
HX_FUNCTION_NODE(accumnode, u"accum") // counter x (1 to 6, else 6) raised by 1, its new value
HX_FUNCTION_NODE(timenode, u"time")   // a reading of the local clock chosen by x

#undef HX_FUNCTION_NODE

class sqrtnode : public CFunNode {
public:
    sqrtnode() : CFunNode(u"sqrt", 5, HX_PREC_FUNCTION) {}
    double Evaluate() override;
    CString GetMarkup() override;
};

class cbrtnode : public CFunNode {
public:
    cbrtnode() : CFunNode(u"cbrt", 5, HX_PREC_FUNCTION) {}
    double Evaluate() override;
    CString GetMarkup() override;
};

// Whether a (lower-case) name is one of the 30 function names.
bool HxIsFunctionName(std::u16string_view name);
// A new node of the function of that name, or null when it is none.
CFunNode* HxCreateFunctionNode(std::u16string_view name);
