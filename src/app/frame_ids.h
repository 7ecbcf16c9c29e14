// Command ids and window messages of the main frame and the application object.
#pragma once

#include "platform/types.h"

constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_VIEW_COLOR = 32781;
constexpr UINT ID_CUSTOM_TOOL = 33621;
constexpr UINT ID_CREATE_LINE = 33429;
constexpr UINT ID_VIEW_PANEL = 34104;
constexpr UINT ID_VIEW_MINI = 34135;
constexpr UINT ID_SLIDER_TX = 34139;
constexpr UINT ID_SLIDER_TY = 34140;
constexpr UINT ID_SLIDER_TZ = 34141;
constexpr UINT ID_STATUS_TOOLS = 34028;
constexpr UINT ID_STATUS_LINK = 33818;

// Status bar panes: the information pane and the current-page pane, with their element indices
// (a separator lies between them).
constexpr UINT ID_STATUSBAR_PANE_INFO = 120;
constexpr UINT ID_STATUSBAR_PANE_PAGE = 121;
constexpr int HX_STATUS_ELEMENT_INFO = 0;
constexpr int HX_STATUS_ELEMENT_PAGE = 2;

// The colour of the selection, sent to the view with the colour in wParam.
constexpr UINT UM_APPLY_COLOR = 0x7E9;
