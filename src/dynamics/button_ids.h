// Command ids of the action-button commands ("编辑(&E)/操作类按钮(&B)") and their undo texts.
#pragma once

#include "platform/types.h"

constexpr UINT ID_EDIT_BTN_HIDESHOW = 32971;  // "隐藏/显示(&H)"
constexpr UINT ID_EDIT_BTN_ANIMATION = 32972; // "动画(&A)..."
constexpr UINT ID_EDIT_BTN_MOVE = 32973;      // "移动(&M)..."
constexpr UINT ID_EDIT_BTN_PRESENTAT = 32974; // "系列(&P)..."
constexpr UINT ID_EDIT_BTN_LINK = 32975;      // "链接(&L)...": our own number, no table gives one

// The undo texts of the buttons the commands add.
inline constexpr const char16_t* kUndoAddShowHideButton = u"添加显隐按钮";
inline constexpr const char16_t* kUndoAddAnimationButton = u"添加动画按钮";
inline constexpr const char16_t* kUndoAddMoveButton = u"添加移动按钮";
inline constexpr const char16_t* kUndoAddSeriesButton = u"添加系列按钮";
inline constexpr const char16_t* kUndoAddLinkButton = u"添加链接按钮";
// The move command's refusal of a point it cannot move.
inline constexpr const char16_t* kCannotMovePointMessage = u"选择点不能移动到目标位置！";
