// The view's context menus: the point, line and face menus and the general one, each a title and
// its items (text and command).  The items run their commands through the command routing, the
// view first; an item whose command nobody handles yet is shown disabled.
#pragma once

#include "platform/afx.h"

#include <functional>
#include <vector>

constexpr UINT IDR_POPUP_EDIT = 188;  // "弹出": other objects, empty space, the ink tool
constexpr UINT IDR_POPUP_POINT = 356; // "点的快捷菜单"
constexpr UINT IDR_POPUP_LINE = 357;  // "线的快捷菜单"
constexpr UINT IDR_POPUP_FACE = 358;  // "面的快捷菜单"

struct CContextMenuItem {
    const char16_t* text;
    UINT id; // 0: a command that has no number yet, always disabled
};

// The title and items of a menu; an unknown menu has no items.
const char16_t* HxContextMenuTitle(UINT menuId);
const std::vector<CContextMenuItem>& HxContextMenuItems(UINT menuId);

// Shows a context menu at a screen point and runs the chosen command.  The view installs the real
// one; tests install a recorder.  Returns at once when none is installed.
using HxContextMenuPresenter = std::function<void(UINT menuId, CPoint screenPoint)>;
void HxSetContextMenuPresenter(HxContextMenuPresenter presenter);
void HxShowContextMenu(UINT menuId, CPoint screenPoint);
