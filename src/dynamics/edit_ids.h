// Command ids of the edit commands (lighting, reversal, separate and locate, compaction, the view
// marks and the view buttons, alignment of screen items, the surface) and their undo texts and
// messages.
#pragma once

#include "platform/types.h"

constexpr UINT ID_VIEW_RENDERSOLID = 33276;   // "光照处理(&L)"
constexpr UINT ID_EDIT_REVERSE = 33277;       // "线面圆反向(&F)"
constexpr UINT ID_EDIT_SPLIT = 33284;         // "分离并定位(&W)"
constexpr UINT ID_EDIT_COMPACT = 33288;       // Ctrl+Alt+Z, no menu item
constexpr UINT ID_EDIT_BTN_START = 33293;     // "标志起始状态(&S)\tF8"
constexpr UINT ID_EDIT_BTN_END = 33294;       // "标志目标状态(&E)\tF9"
constexpr UINT ID_EDIT_BTN_TRANSLATE = 33296; // "视平移(&T)"
constexpr UINT ID_EDIT_BTN_ROTATE = 33297;    // "视旋转(&R)"
constexpr UINT ID_EDIT_BTN_ZOOM = 33299;      // "视缩放(&D)"
constexpr UINT ID_EDIT_FLUSH = 33301;         // "对齐平面对象(&I)"
constexpr UINT ID_CREATE_SURFACE = 33302;     // "曲面(&M)..."

inline constexpr const char16_t* kUndoSplit = u"分离定位";
inline constexpr const char16_t* kUndoAddViewTranslateButton = u"添加视平移按钮";
inline constexpr const char16_t* kUndoAddViewRotateButton = u"添加视旋转按钮";
inline constexpr const char16_t* kUndoAddViewZoomButton = u"添加视缩放按钮";
inline constexpr const char16_t* kUndoAddSurface = u"添加曲面";
inline constexpr const char16_t* kArcOnCircleMessage = u"圆上的弧要将其父圆反向";
inline constexpr const char16_t* kSurfaceRangeMessage =
    u"参数范围无法计算，或精度（步长）太小使采样点超过100万个，曲面无法显示，请修改！";
inline constexpr const char16_t* kCompactedMessage = u"整编完成，请保存后重新打开！";
