// Command ids handled by the view.
#pragma once

#include "platform/types.h"

constexpr UINT ID_VIEW_TSFM_RESET = 32776;      // "三维视图复位" (Home)
constexpr UINT ID_VIEW_PROJ_PERSPEC = 32777;    // "中心投影"
constexpr UINT ID_VIEW_PROJ_ID_ORTHO = 32778;   // "正(等测)投影"
constexpr UINT ID_VIEW_PROJ_ID_XIEERCE = 32779; // "斜(二测)投影"
constexpr UINT ID_VIEW_PAN_DOWN = 33281;        // Shift+Down
constexpr UINT ID_VIEW_PAN_UP = 33282;          // Shift+Up
constexpr UINT ID_VIEW_PAN_LEFT = 33283;        // Shift+Left
constexpr UINT ID_VIEW_PAN_RIGHT = 33285;       // Shift+Right
constexpr UINT ID_VIEW_ZOOM_OUT = 33286;        // Alt+Down
constexpr UINT ID_VIEW_ZOOM_IN = 33287;         // Alt+Up
constexpr UINT ID_ANIMA_DA = 34074;             // "放大"
constexpr UINT ID_ANIMA_XIAO = 34075;           // "缩小"
constexpr UINT ID_VIEW_COLOR_RINGS = 33304;     // Ctrl+Alt+C: the coloured rings
