// Pressing an action button by its cell id: the one command range and the message the view, the
// view's mouse code and the page switch all use.
#pragma once

#include "platform/types.h"

class CWnd;

// The view's command ID_ACTION_BUTTON_FIRST + id presses the button with that id, for the ids up to
// kMaxButtonCommandId; for every id the message UM_PRESS_BUTTON with the id in lParam does the same.
constexpr UINT ID_ACTION_BUTTON_FIRST = 3024;
constexpr UINT ID_ACTION_BUTTON_LAST = 13024;
constexpr WORD kMaxButtonCommandId = WORD(ID_ACTION_BUTTON_LAST - ID_ACTION_BUTTON_FIRST);
constexpr UINT UM_PRESS_BUTTON = 0x813; // lParam: the button's cell id (to the view)

// Posts the press of the button with that id to the window (the drawing view, or the main window,
// which hands it on): the command for the ids that have one, the message for the others.
void HxPostButtonPress(CWnd* target, WORD id);
