// The trace picture flag and the focus of the drawing view.
#include "document/neighbour_services.h"

int g_traceImageStale = 1;

namespace {
HxViewFocusHandler g_viewFocusHandler;
} // namespace

void HxSetViewFocusHandler(HxViewFocusHandler handler) {
    g_viewFocusHandler = std::move(handler);
}

bool HxFocusDrawingView() {
    return !g_viewFocusHandler || g_viewFocusHandler(true);
}

bool HxDrawingViewHasFocus() {
    return !g_viewFocusHandler || g_viewFocusHandler(false);
}
