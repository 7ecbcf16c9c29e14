// CDlgMtfNodeType ("样式", dialog 268): the style of the formula structure at the caret, either the
// arrow type of an arrow label (mode 0, an image list of the 14 types) or the glyph text of a big
// operator or fence (mode 1, typed in the Symbol font) or the word of a limit (mode 2).
#pragma once

#include "platform/afx.h"

class QLineEdit;

class CDlgMtfNodeType : public CDialog {
    DECLARE_DYNAMIC(CDlgMtfNodeType)
public:
    static constexpr UINT IDD = 268;
    static constexpr int kArrowTypeCount = 14;
    CDlgMtfNodeType() : CDialog(IDD) {}

    CString m_text;      // edit 1000
    int m_typeIndex = 0; // image combo 1015
    int m_typeCount = 1; // how many arrow types are offered
    int m_mode = 0;      // 0 arrow type, 1 symbol text in the Symbol font, 2 text in the dialog font
};

// The names of the arrow types in list order.
const char16_t* HxArrowTypeName(int type);

// The Symbol font's text as it shows: each Symbol code (U+F020..U+F0FF, or a typed character taken
// as a code of that font) becomes the character the font draws; and back.
CString HxSymbolTextShown(const CString& codes);
CString HxSymbolTextCodes(const CString& shown);
