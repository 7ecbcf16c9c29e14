// The one way to reach the view's OpenGL context from outside painting, and message boxes that
// must wait until drawing has finished.
#pragma once

#include "platform/afx.h"

#include <functional>

// Makes the view's context current (it is already current while the view paints) and reports
// whether a context is current afterwards.  The view installs a provider when its context exists;
// without one, the context that happens to be current (a test's) is used.  Callers skip their GL
// work when this returns false: a headless run has no context at all.
using HxGlContextProvider = std::function<bool()>;
void HxSetGlContextProvider(HxGlContextProvider provider);
bool HxMakeGlCurrent();
// True when some OpenGL context is current on this thread.
bool HxHasCurrentGlContext();

// Shows a message box once the event loop is idle again.  Used where the text arises while a
// frame is being drawn, when a modal box would re-enter the drawing.  A text already waiting is
// not queued twice.
void HxMessageBoxLater(const CString& text, UINT type = MB_OK);
