// The trace picture flag and the focus of the drawing view.
#include "document/neighbour_services.h"

#include "view/view_globals.h"

// One flag under both names: the document's edits and page switches discard the very picture the
// view draws from.
BYTE& g_traceImageStale = g_traceImageEmpty;

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
