// The fields of the input dialogs of the construct commands: a direction vector, point coordinates
// (one point from typed numbers or selected values, or a whole list of points as text) and an angle;
// the point text's check and its number tokens; the entries remembered for the rest of the run.
// The windows show them through their presenters.
#pragma once

#include "platform/afx.h"

#include <vector>

// "向量": three numbers x, y, z.
class CDlgVector : public CDialog {
    DECLARE_DYNAMIC(CDlgVector)
public:
    enum { IDD = 197 };
    static constexpr int kEditX = 1000;
    static constexpr int kEditY = 1001;
    static constexpr int kEditZ = 1002;

    CDlgVector() : CDialog(IDD) {}

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
};

// "输入角度": an angle and its unit.
class CDlgAngle : public CDialog {
    DECLARE_DYNAMIC(CDlgAngle)
public:
    enum { IDD = 199 };
    static constexpr int kEditAngle = 1090;
    static constexpr int kDegreesButton = 1007;
    static constexpr int kRadiansButton = 1008;
    static constexpr int kDegrees = 0;
    static constexpr int kRadians = 1;

    CDlgAngle() : CDialog(IDD) {}

    float m_angle = 0.0f;
    int m_unit = kDegrees;
};

// "alpha-透明度设置": an opacity in percent, set with a trackbar and shown as a text beside it.
class CDlgAlpha : public CDialog {
    DECLARE_DYNAMIC(CDlgAlpha)
public:
    enum { IDD = 201 };
    static constexpr int kTrackbar = 1093;
    static constexpr int kText = 1096;

    CDlgAlpha() : CDialog(IDD) {}

    // The trackbar moved: the opacity and the text "不透明度：%d%%" follow it.
    void SetOpacity(int percent);
    static CString OpacityText(int percent);

    int m_opacity = 100; // 0 .. 100
    CString m_text = u"不透明度：100%";
};

// "输入边数": the number of sides of a polygon, 3 to 100.
class CDlgNumber : public CDialog {
    DECLARE_DYNAMIC(CDlgNumber)
public:
    enum { IDD = 204 };
    static constexpr int kEditNumber = 1000;
    static constexpr int kLeast = 3;
    static constexpr int kMost = 100;

    CDlgNumber() : CDialog(IDD) {}

    int m_number = 3;
};

// "输入值": one number (a ratio, a parameter).
class CDlgValue : public CDialog {
    DECLARE_DYNAMIC(CDlgValue)
public:
    enum { IDD = 280 };
    static constexpr int kEditValue = 1000;

    CDlgValue() : CDialog(IDD) {}

    float m_value = 0.5f;
};

// "绘制坐标点": one point whose x, y and z are typed or chosen among the selected values (mode 0),
// or several points typed or pasted as text, one point a line (mode 1).
class CDlgCoordinates : public CDialog {
    DECLARE_DYNAMIC(CDlgCoordinates)
public:
    enum { IDD = 198 };
    static constexpr int kSingleButton = 1007;
    static constexpr int kSeveralButton = 1008;
    static constexpr int kComboX = 1015;
    static constexpr int kComboY = 1019;
    static constexpr int kComboZ = 1023;
    static constexpr int kPointText = 1096;
    static constexpr int kPresetList = 1026;
    static constexpr int kPasteButton = 1125;
    static constexpr int kClearButton = 1027;
    static constexpr int kTabButton = 1030;
    static constexpr int kStatusText = 1175;
    static constexpr int kSingle = 0;
    static constexpr int kSeveral = 1;

    // The status line and message texts.
    static const char16_t* const kTextValid; // "数据输入正确！可继续输入或按"确定"按钮。"
    static const char16_t* const kTextInvalid; // "数据不全或格式有误，请继续输入或修改！"
    static const char16_t* const kTextEnterPoints; // "请输入点的坐标！"
    static const char16_t* const kNoClipboardText; // "剪贴板上没有符合要求的数据！"

    // The preset point sets: their names, and the text a row inserts (numbers separated by tabs,
    // every line ended by CR LF).
    static constexpr int kPresetCount = 10;
    static const char16_t* PresetName(int row);
    static CString PresetText(int row);

    CDlgCoordinates() : CDialog(IDD) {}

    // Whether a point text is complete and well formed: lines of exactly three numbers separated by
    // tabs, commas or semicolons, ended by CR LF (the last line may go without); a number is a run
    // of digits, "." and signs with at most one "." and one sign.  An empty text, or one without a
    // complete line, is not.
    static bool IsValidPointText(const CString& text);
    // The status line for a point text: kTextValid or kTextInvalid.
    static const char16_t* StatusOf(const CString& text);
    // The point text split into its number tokens (each maximal run of digits, ".", "+" and "-";
    // every other character separates): into m_numbers.
    void BuildExpressionList();
    // The number a token or typed text reads as: its longest leading number ("1.5x" is 1.5), 0 when
    // it begins with none.
    static float ToNumber(const CString& text);

    int m_mode = kSingle;
    CString m_text[3] = {CString(u"0"), CString(u"0"), CString(u"0")};
    bool m_chosen[3] = {false, false, false}; // a selected value gives the coordinate ...
    int m_chosenRow[3] = {0, 0, 0};           // ... this one (its place in the selection)
    CString m_pointText;
    std::vector<CString> m_valueNames; // the selected values, by name, in selection order
    std::vector<CString> m_numbers;
};

// What the construct dialogs remember for the rest of the run (all documents; never stored): the
// last angle of the turn on a circle with its unit, and the point text of the coordinate dialog.
struct CConstructEntries {
    float m_angle = 90.0f;
    int m_angleUnit = CDlgAngle::kDegrees;
    CString m_pointText;
};
extern CConstructEntries g_constructEntries;
void HxResetConstructEntries();
