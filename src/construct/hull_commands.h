// Command ids, undo texts and the message of the hull, net, section and cut commands (the 多面体 panel
// of the 立体 category).
#pragma once

#include "platform/types.h"

class CGCell;

constexpr UINT ID_SECTION = 34133;    // a section of the selected hull by the selected face
constexpr UINT ID_TI_SPLIT = 34134;   // the selected hull cut by planes, with its button
constexpr UINT ID_FOLD = 34136;       // the net of the selected hull, with its button
constexpr UINT ID_POLYHEDRON = 34137; // a hull of the selected points or of a vertex set

extern const char16_t* const kUndoAddHull;    // "添加凸包"
extern const char16_t* const kUndoAddNet;     // "添加展开图"
extern const char16_t* const kUndoAddSection; // "添加截面图"
extern const char16_t* const kUndoAddCut;     // "添加多面体切割图"
// Shown when the hull is to wrap the selected points and fewer than four are selected.
extern const char16_t* const g_tooFewHullPointsMessage; // "至少选择四个不共面的点"

// Whether the properties command edits the cell through the hull, net or cut dialog (or tells about
// the section).
bool HxIsHullFigure(const CGCell* cell);
// Shown by the properties command for a section, which has nothing to edit.
extern const char16_t* const g_sectionPropertiesMessage;
