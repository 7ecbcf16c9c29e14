// The properties of picture and formula items: a picture's zoom factors through "图片属性", a
// formula text through the formula editor, a bitmap text described in a message.
#pragma once

#include "platform/afx.h"

#include <functional>

class CGCell;
class CGTbImage;
class CGTbMtfText;
class CDlgImagePropy;

void HxFillPictureDialog(CGTbImage& picture, CDlgImagePropy& dlg);
void HxApplyPictureDialog(CGTbImage& picture, const CDlgImagePropy& dlg);
BOOL HxEditPictureProperties(CGTbImage& picture);

// The formula editor on the item's markup, background and colour; on OK with a formula the markup
// and colour are taken and the picture rendered again.  `beforeEditing` runs before the editor
// opens (the views are brought up to date).
BOOL HxEditFormulaTextProperties(CGTbMtfText& text, const std::function<void()>& beforeEditing);

// The picture, formula and bitmap-text cases of the properties command: true when `cell` is one of
// them (its dialog or message shown), false for every other text item.
bool HxEditPictureOrFormulaItem(CGCell& cell, const std::function<void()>& beforeEditing);
