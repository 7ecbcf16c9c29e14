// Command ids of the selection, visibility, label, trace and colour commands of the document.
#pragma once

#include "platform/types.h"

// Selection.  Where no number was handed down with a command it has one of our own.
constexpr UINT ID_EDIT_SELECT_ALL = 57642; // "选择所有对象" (Ctrl+A)
constexpr UINT ID_SELECT_POINT = 33209;    // our own number: "选择所有可见点" (Ctrl+P)
constexpr UINT ID_SELECT_LINE = 33210;     // our own number: "选择所有可见线" (Ctrl+L)
constexpr UINT ID_SELECT_FACE = 33211;     // our own number: "选择所有可见面" (Ctrl+F)
constexpr UINT ID_SELECT_PARENTS = 33212;  // our own number: "选择父对象" (Ctrl+U)
constexpr UINT ID_SELECT_CHILDREN = 33197; // our own number: "选择子对象" (Ctrl+D)
constexpr UINT ID_SELECT_PAGE = 33199;     // "选择当前页" (Ctrl+G)

// Visibility, labels, fill and traces.
constexpr UINT ID_VIEW_HIDEOBJECTS = 33207;    // our own number: "隐藏对象"
constexpr UINT ID_VIEW_SHOWHIDE_LABEL = 33208; // our own number: "显示标签" / "隐藏标签"
constexpr UINT ID_VIEW_FILL = 33202;           // "填充颜色"
constexpr UINT ID_EDIT_LABEL = 33205;          // "批量修改点标签..."
constexpr UINT ID_VIEW_TRACE = 33198;          // our own number: "追踪对象" / "取消追踪"
constexpr UINT ID_VIEW_TRACE_ERASE = 33262;    // "擦除追踪踪迹"
constexpr UINT ID_VIEW_DASHED_LIT = 34132;     // "光照时显示虚线"
constexpr UINT ID_VIEW_LABEL_ZOOM_ON = 34170;  // "打开标签自动缩放"
constexpr UINT ID_VIEW_LABEL_ZOOM_OFF = 34171; // "关闭标签自动缩放"

// Colours: 2000 to 2015 named colours, then random, custom, transparency and parameter colours.
constexpr UINT ID_COLOR_FIRST = 2000;
constexpr UINT ID_COLOR_LAST = 2015;
constexpr UINT ID_COLOR26 = 2026; // "随机色"
constexpr UINT ID_COLOR27 = 2027; // "自定义颜色"
constexpr UINT ID_COLOR28 = 2028; // "设置透明度"
constexpr UINT ID_COLOR29 = 2029; // "参数颜色"
