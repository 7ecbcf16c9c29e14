// Command ids and window messages of the main frame, the object pane and the application object.
#pragma once

#include "document/display_ids.h" // ID_SELECT_PAGE
#include "document/halvix_doc.h"   // ID_EDIT_PROPERTY
#include "document/tool_commands.h" // the tool menu's ids
#include "platform/types.h"
#include "view/view_ids.h"

constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_HELP_FINDER = 57667;
constexpr UINT ID_HELP_SAMPLE = 33129;
constexpr UINT ID_HELP_PESOURCE = 33130; // "资源中心"
constexpr UINT ID_QUICK_HELP = 33640;    // "绘图工具快捷帮助(&F)..."
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

// Full screen and the panes (ID_VIEW_FULLSCREEN, ID_VIEW_ESCAPE and ID_VIEW_MEDIA_CLOSE are the view's).
constexpr UINT ID_VIEW_FULLSCREEN_ENTER = 32790;
constexpr UINT ID_VIEW_FULLSCREEN_LEAVE = 32786;
constexpr UINT ID_VIEW_HIDE_PANES = 32784;
constexpr UINT ID_VIEW_SHOW_PANES = 32785; // "显示所有面板"
constexpr UINT ID_VIEW_FULLSCREEN_TOOLBAR = 33271;
constexpr UINT ID_FULLSCREEN_TOOLBAR = 32878; // the full-screen toolbar's own id

// The object pane's commands.
constexpr UINT ID_TREE_COLLAPSE = 33533;  // "折叠分支到页"
constexpr UINT ID_TREE_REBUILD = 34123;   // "刷新并展开当前页对象列表"
constexpr UINT ID_PAGE_MOVE_UP = 34127;   // "当前页前移"
constexpr UINT ID_PAGE_MOVE_DOWN = 34128; // "当前页后移"

// Tool sets under the custom-tool button: set k is 34000 + k, tool n is 20000 + n (the ids are
// the document's tool commands'); their images follow 69.
constexpr int HX_TOOLSET_IMAGE_BASE = 69;

// Status bar panes: the information pane and the current-page pane, with their element indices
// (a separator lies between them).
constexpr UINT ID_STATUSBAR_PANE_INFO = 120;
constexpr UINT ID_STATUSBAR_PANE_PAGE = 121;
constexpr int HX_STATUS_ELEMENT_INFO = 0;
constexpr int HX_STATUS_ELEMENT_PAGE = 2;

// The colour of the selection, sent to the view with the colour in wParam.
constexpr UINT UM_APPLY_COLOR = 0x7E9;
// The quick-help window is gone (wParam: the window).
constexpr UINT UM_QUICKHELP_CLOSED = 0x80B;
