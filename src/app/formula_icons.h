// The pictures of the formula editor's controls, drawn here: structure buttons typeset by the
// formula engine itself, the built-in formulas, the symbol palette's images, the arrow types of
// the node style dialog and the format toolbar's own buttons.
#pragma once

#include "platform/afx.h"

#include <QIcon>
#include <QPixmap>

#include <vector>

// The structure that insert command code `code` (1 to 20) builds, typeset small with its empty
// slots shown as dotted boxes.
QIcon HxStructureIcon(int code);
// Built-in formula `index` typeset and scaled down to fit the size given.
QPixmap HxFormulaTemplatePicture(int index, int maxWidth, int maxHeight);
// The 128 symbol images, 20 x 20, in the order of the symbol palette's characters.
const std::vector<QPixmap>& HxSymbolImages();
// The image of arrow type `type` (0 to 13), 16 x 13 on transparent.
QPixmap HxArrowTypeImage(int type);
// The format toolbar's buttons by command id (OK, colour, bold, italic, underline, symbols, cut,
// copy, paste, undo, redo); a null icon for other ids.
QIcon HxFormatToolIcon(UINT id);
