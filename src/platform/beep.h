// The warning sound of a refused key and the pause after it, through handlers that the program
// installs (the bell) and tests replace with a recorder.
#pragma once

#include "platform/types.h"

#include <functional>

// Sounds the warning of `type` through the installed handler (nothing without one).
void MessageBeep(UINT type);
void HxSetBeepHandler(std::function<void(UINT type)> handler);
// Blocks the calling thread for `ms` milliseconds, or calls the installed handler instead.
void Sleep(DWORD ms);
void HxSetSleepHandler(std::function<void(DWORD ms)> handler);
