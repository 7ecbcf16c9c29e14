// CFormatParaDlg ("段落", dialog 239): a paragraph format of the rich-text editor edited in
// centimetres and points: alignment, indents, spacing before and after, line spacing and numbering.
#pragma once

#include "platform/afx.h"

#include <QString>

// A paragraph format: what is stated (mask) and the values, lengths in twips.
enum : DWORD {
    PARA_ALIGNMENT = 0x0008,
    PARA_STARTINDENT = 0x0001,
    PARA_RIGHTINDENT = 0x0002,
    PARA_OFFSET = 0x0004,
    PARA_SPACEBEFORE = 0x0040,
    PARA_SPACEAFTER = 0x0080,
    PARA_LINESPACING = 0x0100,
    PARA_NUMBERING = 0x0020,
    PARA_NUMBERINGSTART = 0x8000,
    PARA_NUMBERINGSTYLE = 0x2000,
    PARA_NUMBERINGTAB = 0x4000,
};

struct CParaFormat {
    DWORD mask = 0;
    int alignment = 1;    // 1 left, 2 right, 3 centre
    LONG startIndent = 0; // the first line's indent from the margin
    LONG rightIndent = 0;
    LONG offset = 0; // the other lines' indent from the first line
    LONG spaceBefore = 0;
    LONG spaceAfter = 0;
    int lineSpacingRule = 0; // 0 single, 1 one and a half, 2 double, 3 at least, 4 exactly, 5 multiple
    LONG lineSpacing = 0;    // twips, or twentieths of a line for rule 5
    int numbering = 0;       // 0 none, 1 bullet, 2 arabic, 3 a b c, 4 A B C, 5 i ii, 6 I II, 7 other
    int numberingStart = 1;
    int numberingStyle = 0; // 0 "1)", 0x100 "(1)", 0x200 "1.", 0x300 " 1"
    LONG numberingTab = 0;
};

class CFormatParaDlg : public CDialog {
    DECLARE_DYNAMIC(CFormatParaDlg)
public:
    static constexpr UINT IDD = 239;
    explicit CFormatParaDlg(const CParaFormat& pf = CParaFormat());

    // The fields from the format (what opening the dialog shows), and the format from the fields
    // (what OK gives back).
    void LoadFromFormat();
    CParaFormat StoreToFormat() const;
    // Which of the first number, the tab and the numbering format a numbering choice enables.
    static void NumberingControls(int numbering, bool& start, bool& tab, bool& format);
    // A new line-spacing choice: the value it puts in the value edit (unchanged for the first
    // three, which disable it) and whether the edit is enabled.
    static bool SpacingValueFor(int index, double& value);
    // The leading number of a text such as "12 pt" or "1.5 cm" (0 when there is none).
    static double LeadingNumber(const QString& text);
    // The number of a typed text: a number, alone or followed by the unit given (any case), with
    // blanks around; false for anything else ("abc", "1x", "12 cm" where "pt" is meant).
    static bool ReadNumber(const QString& text, const QString& unit, double& value);

    CParaFormat m_pf;
    int m_alignment = -1;      // 1195: "左对齐", "右对齐", "居  中"; -1 none
    double m_left = 0;         // 1189 cm
    double m_right = 0;        // 1190 cm
    double m_firstLine = 0;    // 1191 cm
    int m_before = 0;          // 1192 pt
    int m_after = 0;           // 1193 pt
    int m_spacing = -1;        // 1196: "单倍行距" ... "多倍行距"; -1 none
    double m_spacingValue = 0; // 1197
    int m_numbering = 0;       // 1200
    int m_numberFormat = 2;    // 1017: "1)", "(1)", "1.", " 1"
    int m_numberStart = 1;     // 1201
    double m_numberTab = 0;    // 1202 cm
};
