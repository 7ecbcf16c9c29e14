// Command ids of the document's option, display and insertion commands.  Where no table of the
// program gives a number, the number is our own (marked so).
#pragma once

#include "platform/types.h"

constexpr UINT ID_FILE_OPTIONS = 33328;      // "文档选项...": our own number
constexpr UINT ID_VIEW_WEIGHT_JIA = 33322;   // "增加+(&A)": our own number
constexpr UINT ID_VIEW_WEIGHT_JIAN = 33323;  // "减小-(&S)": our own number
constexpr UINT ID_VIEW_WEIGHT_MOREN = 33324; // "默认值(&D)": our own number
constexpr UINT ID_VIEW_WEIGHT_SHURU = 33326; // "输入值(&I)..."
constexpr UINT ID_VIEW_TRANSLUCENT = 33327;  // "透明材质(&A)": our own number
constexpr UINT ID_CREATE_TABLE = 33329;      // "表格(&B)..."
constexpr UINT ID_CREATE_CUBOIDXYZ = 33330;  // "轴向长方体": our own number
constexpr UINT ID_AUTOBTN = 33332;           // "设置为切入时自动": our own number
constexpr UINT ID_AUTOBTNDEL = 33333;        // "取消当前页自动按钮" (Ctrl+K): our own number
constexpr UINT ID_AUTODELALL = 33334;        // "取消各页自动按钮": our own number
constexpr UINT ID_EDIT_BTN_MEDIA = 33512;    // "命令序列(&C)..."

// The undo texts of the insertions.
inline constexpr const char16_t* kUndoInsertMtfText = u"插入MTF彩色文本";
inline constexpr const char16_t* kUndoInsertPicture = u"插入图片";
inline constexpr const char16_t* kUndoAddTable = u"添加表格";
