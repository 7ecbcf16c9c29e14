// The command id, undo texts and message of the positioning-figure command (构造/定位图...).
#pragma once

#include "platform/types.h"

constexpr UINT ID_CREATE_STATICFIGURE = 33100;

extern const char16_t* const kUndoAddStaticFigure;  // "添加静态图"
extern const char16_t* const kUndoAddHullFigure;    // "添加凸多面体定位图"
extern const char16_t* const kUndoAddPolygonFigure; // "添加多边形"
// Shown when the one selected other object is neither a hull nor a section.
extern const char16_t* const g_selectHullOrSectionMessage; // "请选择凸包或截面图！"
