// The label dialog "标签属性" (dialog 222) that the view opens for a clicked label, and what its
// answer does to the cell: the name (fixed once typed), automatic naming, showing the label, its
// colour (also for the selected cells) and whether it scales with the view.
#pragma once

#include "platform/afx.h"

class CGCell;
class CGPage;

class CDlgPropertyLabel : public CDialog {
    DECLARE_DYNAMIC(CDlgPropertyLabel)
public:
    static constexpr UINT IDD = 222;
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
// descendants' names and positions; then the label's visibility, colour (with the selected cells'
// labels when asked) and scaling.  Records no undo step.
void HxApplyLabelDialog(CGPage& page, CGCell& cell, const CDlgPropertyLabel& dlg);

// The characters the dialog offers for names (list 1015).
const CString& HxLabelCharacters();
