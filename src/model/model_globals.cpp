// Start values of the cell model's process-wide state.
#include "model/model_globals.h"

#include "model/cell_draw.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr float kPointSize = 6.0f;
constexpr float kLineWidth = 2.0f;
constexpr CRgba kColorObject{0, 0, 128, 255};
constexpr CRgba kColorLabel{0, 0, 0, 255};
constexpr CRgba kColorPoint{128, 0, 0, 255};
constexpr CRgba kColorFreePoint{255, 0, 0, 255};
constexpr CRgba kColorArcSolid{0, 128, 0, 255};
constexpr CRgba kColorSelection{255, 0, 255, 255};
constexpr CRgba kColorText{0, 0, 152, 255};
constexpr CRgba kColorValue{0, 0, 0, 255};
constexpr CRgba kColorTable{64, 64, 64, 255};
constexpr CRgba kCurrentColor{255, 0, 0, 255};
} // namespace

CGPage* g_pCurPage = nullptr;
CCellMap* g_cellMap = nullptr;
BOOL g_saveGfFormat = FALSE;

float g_pointSize = kPointSize;
float g_lineWidth = kLineWidth;

CRgba g_colorObject = kColorObject;
CRgba g_colorLabel = kColorLabel;
CRgba g_colorPoint = kColorPoint;
CRgba g_colorFreePoint = kColorFreePoint;
CRgba g_colorArcSolid = kColorArcSolid;
CRgba g_colorSelection = kColorSelection;
CRgba g_colorText = kColorText;
CRgba g_colorValue = kColorValue;
CRgba g_colorTable = kColorTable;
CRgba g_currentColor = kCurrentColor;
BOOL g_useObjectColors = TRUE;
int g_textureUseCount[4] = {0, 0, 0, 0};
BOOL g_tracing = FALSE;
unsigned g_recomputePass = 0;
std::vector<WORD> g_finishedButtons;
std::vector<WORD> g_buttonsToStart;
int g_commandWaitTicks = 0;

void HxResetModelGlobals() {
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    g_saveGfFormat = FALSE;
    g_pointSize = kPointSize;
    g_lineWidth = kLineWidth;
    g_colorObject = kColorObject;
    g_colorLabel = kColorLabel;
    g_colorPoint = kColorPoint;
    g_colorFreePoint = kColorFreePoint;
    g_colorArcSolid = kColorArcSolid;
    g_colorSelection = kColorSelection;
    g_colorText = kColorText;
    g_colorValue = kColorValue;
    g_colorTable = kColorTable;
    g_currentColor = kCurrentColor;
    g_useObjectColors = TRUE;
    std::fill(std::begin(g_textureUseCount), std::end(g_textureUseCount), 0);
    HxSetTextureBinder(nullptr);
    g_tracing = FALSE;
    g_finishedButtons.clear();
    g_buttonsToStart.clear();
    g_commandWaitTicks = 0;
}
