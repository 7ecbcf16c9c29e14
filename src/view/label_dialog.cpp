// The label dialogs' fields and the effect of the label dialog on a cell.
#include "view/label_dialog.h"

#include "formula/mtf_dialogs.h"
#include "measure/text_items.h"
#include "model/page.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDlgPropertyLabel, CDialog)
IMPLEMENT_DYNAMIC(CDlgLabelMtf, CDialog)

void CDlgPropertyLabel::FillFrom(const CGCell& cell) {
    m_label = cell.m_name;
    m_color = RGB(cell.m_labelColor.r, cell.m_labelColor.g, cell.m_labelColor.b);
    m_showLabel = cell.m_labelHidden == 0;
    m_autoName = !cell.m_nameFixed;
    m_applyToSelected = FALSE;
    // A label drawn with the bitmap glyph lists keeps its size on the screen.
    m_autoScale = cell.m_extB1 == 0;
}

void HxApplyLabelDialog(CGPage& page, CGCell& cell, const CDlgPropertyLabel& dlg, bool scaleSelection) {
    const bool wasScaling = cell.m_extB1 == 0;
    std::vector<WORD> ids;
    if (dlg.m_label != cell.m_name) {
        cell.m_nameFixed = true;
        cell.m_name = dlg.m_label;
        cell.m_flag2 = true;
        if (cell.IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell.IsKindOf(RUNTIME_CLASS(CGTmVector)))
            cell.Recompute();
        page.CollectDescendantIds(cell, ids);
        page.UpdateTextsById(ids);
    } else if ((dlg.m_autoName != FALSE) != !cell.m_nameFixed) {
        cell.m_nameFixed = dlg.m_autoName == FALSE;
        cell.UpdateName();
        cell.m_flag2 = true;
        page.CollectDescendantIds(cell, ids);
        page.UpdateTextsById(ids);
        page.UpdateCellsById(ids);
    }
    cell.m_labelHidden = dlg.m_showLabel ? 0 : 1;
    cell.m_labelColor.r = GetRValue(dlg.m_color);
    cell.m_labelColor.g = GetGValue(dlg.m_color);
    cell.m_labelColor.b = GetBValue(dlg.m_color);
    if (dlg.m_applyToSelected)
        page.SetLabelStyleOfSelection(dlg.m_color);
    if (!scaleSelection)
        cell.m_extB1 = dlg.m_autoScale ? 0 : 1;
    else if ((dlg.m_autoScale != FALSE) != wasScaling)
        page.SetFlagOnSelection(dlg.m_autoScale ? 1 : 0);
    // The label's glyphs follow the new font choice.
    cell.m_flag2 = true;
}

BOOL CDlgLabelMtf::EditMarkup() {
    CMtfDlg editor;
    editor.m_markup = m_markup;
    editor.m_backColor = RGB(255, 255, 255);
    editor.m_textColor = RGB(0, 0, 0);
    if (editor.DoModal() != IDOK)
        return FALSE;
    m_markup = editor.m_markup;
    return TRUE;
}

const CString& HxLabelCharacters() {
    static const CString chars = [] {
        CString s;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            s += c;
        for (char16_t c = u'0'; c <= u'3'; ++c)
            s += c;
        s += u"'\"";
        for (const char16_t* range : {u"ah", u"kn", u"pt", u"xz"})
            for (char16_t c = range[0]; c <= range[1]; ++c)
                s += c;
        s += u"αβγδεθλπρφψω";
        return s;
    }();
    return chars;
}
