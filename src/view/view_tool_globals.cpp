// The view's tool and animation state.
#include "view/view_tool_globals.h"

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
