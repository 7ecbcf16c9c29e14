// The view's tool and animation state.
#include "view/view_tool_globals.h"

#include "view/view_globals.h"
#include "view/view_settings.h"

#include <algorithm>

WORD g_hoverId = 0;
int g_lineToolKind = 0;
CRecord* g_pCurrentTool = nullptr;
BYTE g_animationRunning = 0;

UINT HxAnimationPeriod() {
    return UINT(1000 / std::clamp(g_animationFps, 1, 1000));
}

void HxResetViewToolGlobals() {
    g_hoverId = 0;
    g_lineToolKind = 0;
    g_pCurrentTool = nullptr;
    g_animationRunning = 0;
}

namespace {
HxMouseToolSelector g_mouseToolSelector;
HxButtonImageSetter g_buttonImageSetter;
} // namespace

void HxSetMouseToolSelector(HxMouseToolSelector selector) {
    g_mouseToolSelector = std::move(selector);
}

void HxSelectMouseTool(int tool) {
    if (g_mouseToolSelector)
        g_mouseToolSelector(tool);
    else
        g_mouseTool = tool;
}

void HxSetButtonImageSetter(HxButtonImageSetter setter) {
    g_buttonImageSetter = std::move(setter);
}

void HxSetButtonImage(UINT id, int image) {
    if (g_buttonImageSetter)
        g_buttonImageSetter(id, image);
}
