// Services of the view and of the application shell that the document and the page code use: the
// trace picture flag and the per-user settings file (app/settings_file.cpp).
#pragma once

#include "platform/afx.h"

#include <functional>

// The view keeps its picture of the traces and snapshots drawn so far while this is 0; edits and
// page switches that discard it set it to 1.  It is the view's g_traceImageEmpty under the name the
// document's code uses.
extern BYTE& g_traceImageStale;

// The per-user settings file (fonts, sizes, colours, light, frame rate, switches): store false reads
// it into the preference variables, true writes them.  TRUE when the file was read or written; a
// missing, unreadable or damaged file leaves the variables as they were.
bool LoadSaveSettings(bool store);

// The keyboard focus and the drawing view, for the page switch: a switch is refused while a dialog
// holds the focus.  The handler is asked with take set to give the view the focus first; it answers
// whether the view has it (afterwards).  Without a handler (no windows) the view always has it.
using HxViewFocusHandler = std::function<bool(bool take)>;
void HxSetViewFocusHandler(HxViewFocusHandler handler);
// Gives the drawing view the focus; false when another window keeps it.
bool HxFocusDrawingView();
// Whether the drawing view has the focus.
bool HxDrawingViewHasFocus();
