// Command ids and window messages of the formula editor: its control, dialog and toolbars.
#pragma once

#include "document/display_ids.h" // ID_EDIT_SELECT_ALL
#include "document/halvix_doc.h"  // ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE
#include "platform/afx.h"

constexpr UINT ID_EDIT_CLEAR = 57632;
constexpr UINT ID_MTF_EXIT = 57602; // closes the editor's dialog
constexpr UINT ID_CHAR_BOLD = 33352;
constexpr UINT ID_CHAR_ITALIC = 33353;
constexpr UINT ID_CHAR_UNDERLINE = 33354;
constexpr UINT ID_MTF_SYMBOL = 33358; // "插入常用符号\n插入符号"
constexpr UINT ID_MTF_FONT = 33530;   // the font dialog
constexpr UINT ID_MTF_IMPORT = 33531;
constexpr UINT ID_MTF_EXPORT = 33532;
constexpr UINT ID_MTF_COLOR = 33562; // "为选择的结构设置颜色\n颜色"
// Insert structure code 1 to 20: 33540 to 33559.
constexpr UINT ID_MTF_STRUCT_FIRST = 33540;
constexpr UINT ID_MTF_STRUCT_LAST = 33559;
// The colour commands: 2000 to 2015 are colours, the range up to 2029 is taken and ignored.
constexpr UINT ID_MTF_COLOR_FIRST = 2000;
constexpr UINT ID_MTF_COLOR_RANGE_LAST = 2029;

// From the control to its parent: the formula's size (wParam width, lParam height) at every paint,
// and OK.
constexpr UINT UM_FORMULA_SIZE = 0x809;
constexpr UINT UM_FORMULA_OK = 0x80D;
// Give the focus back to the editor.
constexpr UINT UM_FORMAT_FOCUS = 0x803;
constexpr UINT WM_CHAR = 0x0102;

// The prompt of a command: status text, a newline, the tool tip.
CString HxFormulaCommandPrompt(UINT id);
