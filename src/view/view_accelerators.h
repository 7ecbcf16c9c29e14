// The view's keyboard bindings: key combinations that run view commands through the command
// routing.  Most are active while the view's window is active; the plain navigation keys (arrows,
// Space) only while the view has the keyboard focus, so that lists and editors of the window keep
// them.  F4, Esc and the page keys are the main frame's.
#pragma once

#include "platform/afx.h"

#include <QKeySequence>

#include <vector>

struct CAccelerator {
    QKeyCombination key;
    UINT id;
    bool viewFocusOnly = false;
};

// Home, Shift with the arrows (pan), Alt with Up and Down (zoom), Ctrl+Alt+C (coloured rings), F7
// (the figure to the clipboard), Ctrl+Z, Alt+Backspace and Ctrl+R (undo and redo), Shift with P, L,
// F and C (the drawing tools), Ctrl+B (region screenshot), Space (the rotation), the arrows and
// Ctrl with the arrows (turning, steering, nudging), F3 (three views), Ctrl+Alt+W (trackball).
const std::vector<CAccelerator>& HxViewAccelerators();

class QWidget;
// One shortcut per binding, owned by `owner` and active in its window (or, for the navigation keys,
// while `owner` has the focus); a key runs its command through AfxGetCommandRouter, or through
// `fallback` when no target of the routing takes it.
void HxInstallAccelerators(QWidget* owner, CCmdTarget* fallback);
