// The view's keyboard bindings: key combinations that run view commands through the command
// routing, active while the view's window is active.
#pragma once

#include "platform/afx.h"

#include <QKeySequence>

#include <vector>

struct CAccelerator {
    QKeyCombination key;
    UINT id;
};

// Home, Shift with the arrows (pan), Alt with Up and Down (zoom), Ctrl+Alt+C (coloured rings), F7
// (the figure to the clipboard).
const std::vector<CAccelerator>& HxViewAccelerators();

class QWidget;
// One shortcut per binding, owned by `owner` and active in its window; a key runs its command
// through AfxGetCommandRouter, or through `fallback` when no target of the routing takes it.
void HxInstallAccelerators(QWidget* owner, CCmdTarget* fallback);
