// The fields and rules of the calculation dialog (an expression typed or built with a keypad over
// the selected values, checked as it grows, previewed as a formula with its value) and of the
// parameter dialog.  The windows show them through their presenters.
#pragma once

#include "formula/bin_tree.h"
#include "measure/fun_parser.h"
#include "platform/afx.h"

#include <vector>

class CGCell;

// "计算": the expression of a calculation (mode 0), of a curve over t (mode 1) or of a surface over
// u and v (mode 2), over the values No1 .. NoN offered by the opener.
class CDlgCalculator : public CDialog {
    DECLARE_DYNAMIC(CDlgCalculator)
public:
    enum { IDD = 190 };
    // Control ids.
    static constexpr int kPreview = 1246;
    static constexpr int kScrollBar = 1259;
    static constexpr int kPromptEdit = 1021;
    static constexpr int kExpressionEdit = 1024;
    static constexpr int kValueList = 1015;
    static constexpr int kFunctionList = 1019;
    static constexpr int kAngleCheck = 1003;
    // Keypad keys besides the digits.
    static constexpr int kKeyPoint = 1064;
    static constexpr int kKeyPlus = 1066;
    static constexpr int kKeyMinus = 1068;
    static constexpr int kKeyTimes = 1075;
    static constexpr int kKeyDivide = 1077;
    static constexpr int kKeyMod = 1069;
    static constexpr int kKeyPower = 1083;
    static constexpr int kKeyOpen = 1085;
    static constexpr int kKeyClose = 1087;
    static constexpr int kKeyPi = 1080;
    static constexpr int kKeyE = 1094;
    static constexpr int kKeyT = 1095;
    static constexpr int kKeyU = 1097;
    static constexpr int kKeyV = 1099;
    static constexpr int kKeyBack = 1089;

    static constexpr int kModeCalculation = 0;
    static constexpr int kModeCurve = 1;   // the parameter t
    static constexpr int kModeSurface = 2; // the parameters u and v

    // One key of the keypad: its caption and the text it inserts ("←" deletes instead).
    struct CKey {
        int id;
        const char16_t* caption;
        const char16_t* text;
    };
    static const std::vector<CKey>& Keys();
    // The digit keys "0" to "9", in that order.
    static const int kDigitKeys[10];
    // The function list after its first row.
    static const std::vector<const char16_t*>& FunctionNames();

    static const char16_t* const kFirstPrompt; // "在下面输入一个表达式，可插入度量值或函数："
    static const char16_t* const kIncompletePrompt; // "请继续输入……"
    static const char16_t* const kErrorPrompt;      // "表达式错误，请修改！"

    CDlgCalculator();

    // ---- What the opener sets before the dialog runs, and reads after OK ----
    CString m_title = u"计算";
    int m_mode = kModeCalculation;
    // Value K (1 .. N) at index K - 1: its name (five spaces when it has none) and the formula markup
    // that stands for it in the preview.
    std::vector<CString> m_names;
    std::vector<CString> m_nameMarkups;
    // Per declared variable, parameters first (t; u and v), then the N values: the current value
    // and the markup precedence (17 for a parameter or a plain name).  Missing entries count as 0
    // and 17.
    std::vector<double> m_values;
    std::vector<int> m_precedences;
    CString m_expression = u"0";
    BOOL m_showAsAngle = FALSE;
    CString m_resultMarkup = HX_EMPTY_FORMULA; // filled on OK

    // ---- The dialog's own state ----
    CString m_prompt = kFirstPrompt;
    CFunParser m_parser;
    CBinTree m_preview;                   // the formula the preview shows
    CString m_previewMarkup;              // what was loaded into it last
    int m_previewOffset = 0;              // horizontal scroll of the preview, in pixels
    int m_caretState = HX_SYNTAX_OPERAND; // what the text before the caret allows next
    bool m_bracketOpen = false;           // a "(" before the caret is still open
    int m_caret = 0;
    bool m_parsed = false; // the whole expression compiled at the last refresh

    // Offers a value as the next variable: its name (five spaces for none), its label markup and
    // precedence when it shows a formula label, else its name as markup with precedence 17, and its
    // value.  Openers call it in the order of the variables, after the parameters' entries.
    void OfferValue(const CGCell& value);
    // What a value offers: its name (five spaces for none), its markup, its value and precedence.
    static void DescribeValue(const CGCell& value, CString& name, CString& markup, double& number,
                              int& precedence);
    // The number of values offered (N).
    int ValueCount() const { return int(m_names.size()); }
    // The declared parameters before the values: "t," in mode 1, "u,v," in mode 2.
    CString ParameterPrefix() const;
    // Opening: declares the prefix and No1 .. NoN, copies each variable's value and precedence by
    // its declaration index and prepares the preview's font.
    void OnInitDialog();
    // The refresh after every change: checks the text before the caret (the keypad's state), checks
    // and compiles the whole expression and, when it compiles, evaluates it into the prompt and the
    // preview.  Returns whether the whole expression compiled (OK is enabled exactly then).
    bool Refresh(int caret);
    // Whether a key, list or button is enabled by the last refresh.
    bool IsEnabled(int id) const;
    // Inserts text at the caret in place of the selection [selStart, selEnd); the caret follows it.
    // Then refreshes.
    void Insert(const CString& text, int selStart, int selEnd);
    // "←": the character before the caret (or the selection) goes.  Then refreshes.
    void Backspace(int selStart, int selEnd);
    // Picking row `row` of the value list (No%d of the row) or of the function list (its name and
    // "("); row 0 does nothing.  Both refresh.
    void InsertValue(int row, int selStart, int selEnd);
    void InsertFunction(int row, int selStart, int selEnd);
    // The expression with every NoK written as "[" + name K + "]".
    CString DisplayText() const;
    // The parser's markup with every variable NoK in the markup of value K.
    CString MarkupWithNames();
    // OK: the result markup is the parser's markup of the whole expression.
    void OnOK();

private:
    void Splice(const CString& text, int selStart, int selEnd);
};

// "参数": a parameter's name, its current value and the range of its slider, and how it shows.
class CDlgParameter : public CDialog {
    DECLARE_DYNAMIC(CDlgParameter)
public:
    enum { IDD = 203 };
    static constexpr int kEditName = 1000;
    static constexpr int kEditValue = 1001;
    static constexpr int kEditStart = 1002;
    static constexpr int kEditEnd = 1004;
    static constexpr int kHideNameCheck = 1005;
    static constexpr int kSliderCheck = 1003;
    static constexpr int kIntegerCheck = 1008;
    static constexpr int kAngleCheck = 1012;

    CDlgParameter() : CDialog(IDD) {}

    // Whole values and angles exclude each other: checking one clears the other.
    void SetInteger(BOOL on);
    void SetAngle(BOOL on);

    CString m_name;
    float m_value = 10.0f;
    float m_start = 0.0f;
    float m_end = 20.0f;
    BOOL m_hideName = FALSE;
    BOOL m_showSlider = FALSE;
    BOOL m_integer = FALSE;
    BOOL m_angle = FALSE;
};
