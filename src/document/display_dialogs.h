// The fields of the dialogs of the display commands: the batch point labels "点的标签", the parameter
// colour "颜色参数" and the system colour dialog.  Their windows live in the
// application and show these fields.
#pragma once

#include "platform/afx.h"

#include <vector>

// "点的标签": the letter and suffix the relabelled points start from, and whether their labels
// are shown.  Only the first character of each text counts; the letter must be one of "A" to "Z",
// the suffix one of " ", "0" to "9" and "'" (the cycle of automatic names).
class CDlgLabel : public CDialog {
    DECLARE_DYNAMIC(CDlgLabel)
public:
    static constexpr UINT IDD = 211;
    static constexpr int kLetterList = 1015;
    static constexpr int kSuffixList = 1019;
    static constexpr int kShowLabels = 1003;

    CDlgLabel() : CDialog(IDD) {}

    // The rows of the two lists: "A" to "Z"; " ", "0" to "9" and "'".
    static const std::vector<CString>& LetterRows();
    static const std::vector<CString>& SuffixRows();
    // The counter byte a text starts with, or 0 when the text is empty or its first character is
    // not one the naming cycle uses.
    static char LetterOf(const CString& text);
    static char SuffixOf(const CString& text);

    CString m_letter = u"A";
    CString m_suffix = u" ";
    BOOL m_showLabels = TRUE; // "显示所有被选中点的标签"
};

// "颜色参数": the modifier's label, its parameter range, and the choice between the two colour modes
// of its number of parameters (1: colour or grey; 3: RGB or HSL).
class CDlgParametricColor : public CDialog {
    DECLARE_DYNAMIC(CDlgParametricColor)
public:
    static constexpr UINT IDD = 246;
    static constexpr int kRangeFrom = 1000;
    static constexpr int kRangeTo = 1001;
    static constexpr int kLabel = 1002;
    static constexpr int kFirstChoice = 1007;
    static constexpr int kSecondChoice = 1010;

    CDlgParametricColor() : CDialog(IDD) {}

    // The texts of the two choices for the number of parameters.
    CString FirstChoiceText() const;
    CString SecondChoiceText() const;
    // The colour mode the answer gives: the base mode (1 or 3) plus the second choice.
    int Mode() const { return (m_parameters == 1 ? 1 : 3) + (m_choice != 0 ? 1 : 0); }

    CString m_label = u"Parametric Color";
    float m_from = 0.0f;
    float m_to = 1.0f;
    int m_choice = 0;     // 0 the first choice, 1 the second
    int m_parameters = 3; // 1 or 3 values
};

// The system colour dialog: the colour it opens with and the colour chosen.
class CMFCColorDialog : public CDialog {
    DECLARE_DYNAMIC(CMFCColorDialog)
public:
    explicit CMFCColorDialog(COLORREF color = 0) : CDialog(0), m_color(color) {}
    COLORREF GetColor() const { return m_color; }

    COLORREF m_color;
};
