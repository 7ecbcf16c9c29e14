// The label dialogs "标签属性": the one of points, lines, faces and other objects (dialog 222, opened
// by the view for a clicked label and by the label-edit command) and what its answer does to the
// cell: the name (fixed once typed), automatic naming, showing the label, its colour (also for the
// selected cells) and whether it scales with the view; and the one of measurements and text lines
// (dialog 263): plain or formula label, automatic or the user's.
#pragma once

#include "platform/afx.h"

class CGCell;
class CGPage;

class CDlgPropertyLabel : public CDialog {
    DECLARE_DYNAMIC(CDlgPropertyLabel)
public:
    static constexpr UINT IDD = 222;
    static constexpr int kLabelEdit = 1000;
    static constexpr int kCharacterList = 1015;
    static constexpr int kColorButton = 1027;
    static constexpr int kShowLabelCheck = 1005;
    static constexpr int kApplyColorCheck = 1008;
    static constexpr int kAutoNameCheck = 1012;
    static constexpr int kAutoScaleCheck = 1003;
    CDlgPropertyLabel() : CDialog(IDD) {}

    // The dialog's fields for a cell: its name, label colour, shown label, automatic name and
    // scaling label; the colour is not yet meant for the selected cells.
    void FillFrom(const CGCell& cell);

    CString m_label;                 // edit 1000
    COLORREF m_color = RGB(0, 0, 0); // colour button 1027
    BOOL m_showLabel = TRUE;         // 1005 "显示标签"
    BOOL m_autoName = TRUE;          // 1012 "自动命名"
    BOOL m_applyToSelected = FALSE;  // 1008 "将颜色用于选中的对象"
    BOOL m_autoScale = TRUE;         // 1003 "自动缩放（应用于选中的点线面圆）"
};

// Applies an accepted label dialog to the cell of the page: a new text becomes the fixed name and
// the names of the descendants are built again (a value or vector text recomputes to show it);
// otherwise a change of automatic naming fixes or frees the name, which is built again with the
// descendants' names and positions; then the label's visibility and colour (with the selected
// cells' labels when asked).  The scaling goes to the cell itself (the view's label dialog), or,
// with `scaleSelection` and only when it was changed, to every selected point, line, face and
// circle (the label-edit command).  Records no undo step.
void HxApplyLabelDialog(CGPage& page, CGCell& cell, const CDlgPropertyLabel& dlg,
                        bool scaleSelection = false);

// "标签属性" of a measurement, vector or text line: the label shown as text (0) or as a formula (1),
// named automatically (0) or by the user (1), the name and its formula markup.
class CDlgLabelMtf : public CDialog {
    DECLARE_DYNAMIC(CDlgLabelMtf)
public:
    static constexpr UINT IDD = 263;
    static constexpr int kTextFormat = 1007;
    static constexpr int kMathFormat = 1010;
    static constexpr int kAutoLabel = 1013;
    static constexpr int kCustomLabel = 1022;
    static constexpr int kName = 1000;
    static constexpr int kEdit = 1027;

    CDlgLabelMtf() : CDialog(IDD) {}

    // The name edit shows for a label of the user's as text, the "编辑" button for one as a formula;
    // an automatic label shows neither.
    bool ShowsName() const { return m_labelType == 1 && m_display == 0; }
    bool ShowsEditButton() const { return m_labelType == 1 && m_display == 1; }
    // "编辑": the formula editor on the markup, on a white background; its OK replaces the markup.
    // TRUE when it was replaced.
    BOOL EditMarkup();

    int m_display = 0;   // "文本格式", "数学格式"
    int m_labelType = 0; // "自动标签", "自定义标签"
    CString m_name;
    CString m_markup;
};

// The characters the dialog offers for names (list 1015).
const CString& HxLabelCharacters();
