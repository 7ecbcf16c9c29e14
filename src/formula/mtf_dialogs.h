// The fields of the formula editor dialog CMtfDlg ("MTF彩色数学格式文本编辑", dialog 259) and of the
// matrix size dialog CDlgMatrix ("矩阵", dialog 260).  Callers fill them, run DoModal and read them
// back after IDOK; the windows are shown by the program (app/mtf_dlg_ui.cpp).
#pragma once

#include "formula/bin_tree.h"
#include "platform/afx.h"

class CMtfDlg : public CDialog {
    DECLARE_DYNAMIC(CMtfDlg)
public:
    static constexpr UINT IDD = 259;
    CMtfDlg() : CDialog(IDD) {}

    CString m_markup = HX_EMPTY_FORMULA; // in: the formula to edit; out: the edited formula
    COLORREF m_backColor = 0;            // in: the formula's background
    COLORREF m_textColor = 0;            // in: its default text colour
    int m_fontMode = 0;                  // in: below 2 the default font becomes "宋体", 134, 35
    CPoint m_openAt{-1, -1};             // in: where on the screen it opens (negative: centred)
    int m_editorLeft = 300;              // out: the editor's screen position when OK was pressed
    int m_editorTop = 300;
    bool m_empty = true; // out: the edited formula is empty

    // The dialog's size for a formula of `formula` size (the editor asks at every paint): 40 wider
    // and 120 higher, kept 12 pixels inside the screen's right edge and 64 inside its bottom edge
    // from the dialog's left and top, and at least 600 x 256.
    static CSize SizeForFormula(CSize formula, CPoint dialogTopLeft, CSize screen);
};

class CDlgMatrix : public CDialog {
    DECLARE_DYNAMIC(CDlgMatrix)
public:
    static constexpr UINT IDD = 260;
    CDlgMatrix() : CDialog(IDD) {}

    int m_rows = 2;    // edit 1000 "行数"
    int m_columns = 2; // edit 1001 "列数"
    // Whether a count is accepted (1 to 10).
    static bool IsValidCount(int n) { return n >= 1 && n <= 10; }
};
