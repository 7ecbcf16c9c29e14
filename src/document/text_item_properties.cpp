// The properties of picture and formula items: a picture's zoom factors through "图片属性", a
// formula text through the formula editor, a bitmap text described in a message.
#include "document/text_item_properties.h"

#include "document/property_dialogs.h"
#include "formula/mtf_dialogs.h"
#include "measure/text_items.h"

void HxFillPictureDialog(CGTbImage& picture, CDlgImagePropy& dlg) {
    dlg.m_scaleX = picture.m_scaleX;
    dlg.m_scaleY = picture.m_scaleY;
    dlg.m_size = picture.GetDescription();
}

void HxApplyPictureDialog(CGTbImage& picture, const CDlgImagePropy& dlg) {
    // The window refuses a factor of zero; one given by other means keeps the stored factor.
    if (CDlgImagePropy::FactorAccepted(dlg.m_scaleX))
        picture.m_scaleX = dlg.m_scaleX;
    if (CDlgImagePropy::FactorAccepted(dlg.m_scaleY))
        picture.m_scaleY = dlg.m_scaleY;
}

BOOL HxEditPictureProperties(CGTbImage& picture) {
    CDlgImagePropy dlg;
    HxFillPictureDialog(picture, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplyPictureDialog(picture, dlg);
    return TRUE;
}

BOOL HxEditFormulaTextProperties(CGTbMtfText& text, const std::function<void()>& beforeEditing) {
    CMtfDlg dlg;
    dlg.m_markup = text.m_markup;
    dlg.m_backColor = text.m_background;
    dlg.m_textColor = text.m_color.ToColorRef();
    if (beforeEditing)
        beforeEditing();
    if (dlg.DoModal() != IDOK || dlg.m_empty)
        return FALSE;
    text.m_markup = dlg.m_markup;
    text.m_color.r = GetRValue(dlg.m_textColor);
    text.m_color.g = GetGValue(dlg.m_textColor);
    text.m_color.b = GetBValue(dlg.m_textColor);
    text.UpdateTexture();
    return TRUE;
}

bool HxEditPictureOrFormulaItem(CGCell& cell, const std::function<void()>& beforeEditing) {
    if (auto* picture = DYNAMIC_DOWNCAST(CGTbImage, &cell)) {
        HxEditPictureProperties(*picture);
        return true;
    }
    if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, &cell)) {
        HxEditFormulaTextProperties(*formula, beforeEditing);
        return true;
    }
    if (auto* bitmap = DYNAMIC_DOWNCAST(CGTextbit, &cell); bitmap && bitmap->m_kind == 0) {
        AfxMessageBox(bitmap->GetDescription(), MB_OK | MB_ICONINFORMATION);
        return true;
    }
    return false;
}
