// Opening a file, folder or address with the user's default program (the shell's "open"), through a
// handler that tests replace with a recorder.
#pragma once

#include "platform/cstring.h"

#include <functional>

using HxShellOpenHandler = std::function<bool(const CString& target, const CString& workingDir)>;
// Null puts the default back (the desktop's handler for the target).
void HxSetShellOpenHandler(HxShellOpenHandler handler);
// TRUE when the target was handed on; the program started is not waited for.
BOOL HxShellOpen(const CString& target, const CString& workingDir = CString());
