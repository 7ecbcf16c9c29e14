// Start values of the view's process-wide state.
#include "view/view_globals.h"

#include "view/label_hooks.h"
#include "view/view_colors.h"
#include "view/vertex_array.h"
#include "view/view_tool_globals.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr double kStartRotation[4] = {0.786566092485493, -0.6035533905932737, -0.07945931129894555,
                                      -0.10355339059327374};
constexpr float kStartBackground[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr int kStartClientWidth = 800;
constexpr int kStartClientHeight = 600;
} // namespace

float g_viewTransX = 0.0f;
float g_viewTransY = 0.0f;
float g_viewTransZ = -50.0f;
double g_viewRotation[4] = {kStartRotation[0], kStartRotation[1], kStartRotation[2], kStartRotation[3]};
float g_viewZoom = 1.0f;
int g_projectionType = 1;
float g_unitLength = 0.05f;
float g_backgroundColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
BYTE g_viewLocked = 0;
BYTE g_dragLocked = 0;
float g_viewSpeed = 1.0f;
int g_coordDisplayFlags = 0;

int g_clientWidth = kStartClientWidth;
int g_clientHeight = kStartClientHeight;
float g_pixelScaleX = 1.0f / ((kStartClientWidth - 1) * 0.5f);
float g_pixelScaleY = 1.0f / ((kStartClientHeight - 1) * 0.5f);

CMediaPlayer* g_pMediaPlayer = nullptr;
double g_modelviewMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
double g_projectionMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
int g_viewport[4] = {0, 0, kStartClientWidth, kStartClientHeight};

double g_pickRayNear[3] = {0, 0, 0};
double g_pickRayFar[3] = {0, 0, 0};
float g_viewDirX = 0.0f;
float g_viewDirY = 0.0f;
float g_viewDirZ = 0.0f;

BYTE g_dragKeepZ = 1;
BYTE g_snapToGrid = 0;
WORD g_draggedId = 0;
int g_dragMode = 0;
BYTE g_dragMoved = 0;
float g_labelPickAxisA[3] = {0, 0, 0};
float g_labelPickAxisB[3] = {0, 0, 0};

int g_mouseTool = 1;
int g_mouseX = 0;
int g_mouseY = 0;
int g_mouseDX = 0;
int g_mouseDY = 0;
int g_pressX = 0;
int g_pressY = 0;

float* g_vertexArray = nullptr;
int g_vertexArrayCapacity = 200;
unsigned int g_listBase = 0;
int g_modelviewStackDepth = 32;
int g_screenWidth = kStartClientWidth;
int g_screenHeight = kStartClientHeight;
BYTE g_traceImageEmpty = 1;

float* HxVertexSlot(DWORD index) {
    if (!g_vertexArray || g_vertexArrayCapacity < 0 || index >= DWORD(g_vertexArrayCapacity) + 10)
        return nullptr;
    return g_vertexArray + size_t(index) * 3;
}

void HxResetViewGlobals() {
    g_viewTransX = 0.0f;
    g_viewTransY = 0.0f;
    g_viewTransZ = -50.0f;
    std::copy(std::begin(kStartRotation), std::end(kStartRotation), g_viewRotation);
    g_viewZoom = 1.0f;
    g_projectionType = 1;
    g_unitLength = 0.05f;
    std::copy(std::begin(kStartBackground), std::end(kStartBackground), g_backgroundColor);
    g_viewLocked = 0;
    g_dragLocked = 0;
    g_viewSpeed = 1.0f;
    g_coordDisplayFlags = 0;
    g_pMediaPlayer = nullptr;

    g_clientWidth = kStartClientWidth;
    g_clientHeight = kStartClientHeight;
    g_pixelScaleX = 1.0f / ((kStartClientWidth - 1) * 0.5f);
    g_pixelScaleY = 1.0f / ((kStartClientHeight - 1) * 0.5f);

    std::copy(std::begin(kIdentity), std::end(kIdentity), g_modelviewMatrix);
    std::copy(std::begin(kIdentity), std::end(kIdentity), g_projectionMatrix);
    g_viewport[0] = 0;
    g_viewport[1] = 0;
    g_viewport[2] = kStartClientWidth;
    g_viewport[3] = kStartClientHeight;

    std::fill(std::begin(g_pickRayNear), std::end(g_pickRayNear), 0.0);
    std::fill(std::begin(g_pickRayFar), std::end(g_pickRayFar), 0.0);
    g_viewDirX = g_viewDirY = g_viewDirZ = 0.0f;

    g_dragKeepZ = 1;
    g_snapToGrid = 0;
    g_draggedId = 0;
    g_dragMode = 0;
    g_dragMoved = 0;
    std::fill(std::begin(g_labelPickAxisA), std::end(g_labelPickAxisA), 0.0f);
    std::fill(std::begin(g_labelPickAxisB), std::end(g_labelPickAxisB), 0.0f);

    g_mouseTool = 1;
    g_mouseX = g_mouseY = g_mouseDX = g_mouseDY = 0;
    g_pressX = g_pressY = 0;

    delete[] g_vertexArray;
    g_vertexArray = nullptr;
    g_vertexArrayCapacity = 200;
    g_listBase = 0;
    g_modelviewStackDepth = 32;
    g_screenWidth = kStartClientWidth;
    g_screenHeight = kStartClientHeight;
    g_traceImageEmpty = 1;

    HxResetAutoColors();
    HxSetLabelRenderers(nullptr, nullptr);
    HxResetViewToolGlobals();
    HxSetVertexArrayGrowthFails(false);
}

namespace {
CWnd* g_drawingViewWindow = nullptr;
} // namespace

CWnd* HxDrawingViewWindow() {
    return g_drawingViewWindow;
}

void HxSetDrawingViewWindow(CWnd* view) {
    g_drawingViewWindow = view;
}
