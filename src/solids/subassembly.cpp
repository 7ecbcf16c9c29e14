// The component solid's drag.
#include "solids/subassembly.h"

#include "view/view_globals.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CGSubassembly, CGCell)

void CGSubassembly::DragCentre() {
    if (m_fixed || g_dragLocked)
        return;
    const double* o = g_pickRayNear;
    const float d[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    double t;
    if (g_dragKeepZ) {
        if (std::fabs(d[2]) < 10.0f)
            return;
        t = (double(m_center[2]) - o[2]) / d[2];
    } else {
        if (std::fabs(d[1]) < 10.0f)
            return;
        t = (double(m_center[1]) - o[1]) / d[1];
    }
    for (int i = 0; i < 3; ++i)
        m_center[i] = float(o[i] + t * d[i]);
}
