// The state of the view's tools and animation that other parts of the program read or set: the
// cell highlighted under a drawing tool, the kind of line the line tool draws, the custom tool
// being applied, and the animation timer (its rate and the double-click preference are settings,
// view_settings.h).
#pragma once

#include "platform/afx.h"

#include <functional>

class CRecord;

// The cell highlighted under the mouse of a drawing tool (its m_highlighted flag is set), 0 none.
extern WORD g_hoverId;
// The kind of the lines the line tool draws: 0 segment, 1 ray, 2 line, 3 vector.  The line-type
// commands set it.
extern int g_lineToolKind;
// The custom tool being applied with the mouse (tool 6), null when none; the tool commands set it
// and own the record.
extern CRecord* g_pCurrentTool;
// View timer 1 runs (the rotation or the running buttons of the current page).
extern BYTE g_animationRunning;

// The period of timer 1 in milliseconds: 1000 / g_animationFps (view_settings.h) in integer arithmetic, the
// rate taken within 1 to 1000 so that a damaged setting can neither divide by zero nor stop the timer.
UINT HxAnimationPeriod();

// Every global above back to its start value.
void HxResetViewToolGlobals();

// What commands outside the view ask of the view's tools and of the ribbon's buttons: a mouse tool
// made current (the view drops a drawing in progress; without a view only g_mouseTool changes), and
// the image of a ribbon button changed (the frame installs it; without a frame nothing happens).
using HxMouseToolSelector = std::function<void(int tool)>;
void HxSetMouseToolSelector(HxMouseToolSelector selector);
void HxSelectMouseTool(int tool);
using HxButtonImageSetter = std::function<void(UINT id, int image)>;
void HxSetButtonImageSetter(HxButtonImageSetter setter);
void HxSetButtonImage(UINT id, int image);
