// Start values of the document's process-wide state.
#include "document/doc_globals.h"

#include "document/tool_commands.h"
#include "document/tool_dialogs.h"

#include "model/model_globals.h"
#include "view/texture_loading.h"
#include "view/view_settings.h"

#include <algorithm>

int g_storeMtfImages = 0;
CString g_lastDocumentPath;
CString g_userName;

namespace {
constexpr float kDefaultViewMark[kViewMarkSize] = {0.0f, 0.0f, -50.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
} // namespace

float g_viewMarkStart[kViewMarkSize] = {0.0f, 0.0f, -50.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
float g_viewMarkTarget[kViewMarkSize] = {0.0f, 0.0f, -50.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

namespace {
constexpr float kAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr float kDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr float kSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kPosition[4] = {200.0f, 100.0f, 300.0f, 1.0f};
} // namespace

long long HxTexturePixelBytes(long long width, long long height) {
    return ((3 * (width + 1)) / 4) * 4 * height;
}

void HxResetDocumentSettings() {
    g_labelFontName = u"Times New Roman";
    g_labelFontHeight = 24;
    g_textFontName = u"Times New Roman";
    g_fontHeight = 24;
    g_lineWidth = 2.0f;
    g_pointSize = 6.0f;
    std::copy(kAmbient, kAmbient + 4, g_lightAmbient);
    std::copy(kDiffuse, kDiffuse + 4, g_lightDiffuse);
    std::copy(kSpecular, kSpecular + 4, g_lightSpecular);
    std::copy(kPosition, kPosition + 4, g_lightPosition);
}

COLORREF g_customColor = RGB(255, 0, 0);
int g_alphaPercent = 100;

void HxResetDocumentGlobals() {
    g_customColor = RGB(255, 0, 0);
    g_alphaPercent = 100;
    HxResetDocumentSettings();
    g_storeMtfImages = 0;
    std::fill(std::begin(g_textureUseCount), std::end(g_textureUseCount), 0);
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        delete[] g_documentImages[i];
        g_documentImages[i] = nullptr;
        g_textureBuiltIn[i] = 0;
        g_textureWidth[i] = 0;
        g_textureHeight[i] = 0;
    }
    g_lastDocumentPath.Empty();
    g_userName.Empty();
    // The tool commands' state (the tool menu itself belongs to whoever installed it).
    g_currentToolCommand = 0;
    g_docToolMenuCount = 0;
    HxDestroyToolScriptView();
    for (float* mark : {g_viewMarkStart, g_viewMarkTarget})
        std::copy(std::begin(kDefaultViewMark), std::end(kDefaultViewMark), mark);
}
