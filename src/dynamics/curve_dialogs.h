// The fields of the curve dialog (coordinate system, the three equations and the range of t edited
// in the calculation dialog, step, draw level, break distance, the example curves) and of the locus
// dialog.  The windows show them through their presenters.
#pragma once

#include "platform/afx.h"

#include <vector>

class CGCell;

// "曲线属性": a parametric curve's equations over t and how it is sampled and drawn.
class CDlgCurve : public CDialog {
    DECLARE_DYNAMIC(CDlgCurve)
public:
    enum { IDD = 202 };
    static constexpr int kCartesianButton = 1007;
    static constexpr int kSphericalButton = 1008;
    static constexpr int kCylindricalButton = 1010;
    static constexpr int kEditX = 1000;
    static constexpr int kEditY = 1001;
    static constexpr int kEditZ = 1002;
    static constexpr int kEditFrom = 1004;
    static constexpr int kEditTo = 1006;
    static constexpr int kEditStep = 1009;
    static constexpr int kOnTopButton = 1055;
    static constexpr int kOnTopDashedButton = 1023;
    static constexpr int kVisibleOnlyButton = 1024;
    static constexpr int kAutoButton = 1025;
    static constexpr int kEditBreak = 1029;
    static constexpr int kExampleList = 1015;
    static constexpr int kButtonX = 1027;
    static constexpr int kButtonY = 1030;
    static constexpr int kButtonZ = 1034;
    static constexpr int kButtonFrom = 1038;
    static constexpr int kButtonTo = 1042;
    // The step's range.
    static constexpr float kLeastStep = 0.0001f;
    static constexpr float kMostStep = 1.0f;

    // The example curves: name, the five texts (x, y, z, from, to), the step and the coordinate
    // system.
    struct CExample {
        const char16_t* name;
        const char16_t* texts[5];
        float step;
        int system;
    };
    static constexpr int kExampleCount = 20;
    static const CExample& Example(int row);
    // The captions of the three equation buttons in a coordinate system.
    static const char16_t* EquationLabel(int system, int which);

    CDlgCurve() : CDialog(IDD) {}

    // The variables of the equations: first the parameter t's entry (value 0, precedence 17), then
    // each value offered, in the order of the curve's parents.
    void AddParameterEntry();
    void OfferValue(const CGCell& value);
    // A row of the example list: its texts, step and coordinate system into the fields.
    void ChooseExample(int row);
    // The calculation dialog over the equation `which` (0 to 2: mode 1, "编辑参数方程", t and the
    // values) or over an end of the range (3 from, 4 to: mode 0, "编辑参数范围", the values only); on
    // OK its expression replaces the text.  IDOK or IDCANCEL.
    INT_PTR EditExpression(int which);

    int m_system = 0;     // "空间直角", "球坐标系", "柱坐标系"
    CString m_texts[5];   // x, y, z, from, to
    float m_step = 0.05f; // 0.0001 .. 1
    int m_display = 0;    // "全实线", "全虚线", "仅实线", "自动虚实"
    float m_breakDistance = 4.0f;
    // The variables the calculation dialog offers: per value its name and markup (N entries); the
    // values and precedences with the parameter t first (N + 1 entries).
    std::vector<CString> m_names;
    std::vector<CString> m_nameMarkups;
    std::vector<double> m_values;
    std::vector<int> m_precedences;
};

// "轨迹属性": a locus's label, visibility, driver range, step, draw level and break distance.
class CDlgLocus : public CDialog {
    DECLARE_DYNAMIC(CDlgLocus)
public:
    enum { IDD = 219 };
    static constexpr int kDescription = 1098;
    static constexpr int kEditLabel = 1004;
    static constexpr int kHiddenCheck = 1008;
    static constexpr int kEditFrom = 1000;
    static constexpr int kEditTo = 1001;
    static constexpr int kEditStep = 1002;
    static constexpr int kDisplayButton = 1055;
    static constexpr int kEditBreak = 1029;
    static constexpr float kLeastStep = 0.0001f;
    static constexpr float kMostStep = 0.5f;

    CDlgLocus() : CDialog(IDD) {}

    CString m_description;
    CString m_label;
    BOOL m_hidden = FALSE;
    float m_from = 0.0f;
    float m_to = 6.3f;
    float m_step = 0.1f; // 0.0001 .. 0.5
    int m_display = 0;   // "全实线", "全虚线", "仅实线", "自动虚实"
    float m_breakDistance = 4.0f;
};
