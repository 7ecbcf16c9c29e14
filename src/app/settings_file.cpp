// The per-user settings file: where it lives, its fields in order, and reading it without trusting
// what it holds.
#include "app/settings_file.h"

#include "document/doc_globals.h"
#include "document/neighbour_services.h"
#include "model/model_globals.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr const char16_t* kDefaultFont = u"Times New Roman";
constexpr ULONGLONG kMaxSettingsBytes = 1 << 20;

// The colours of the colour block, in the order each pass writes their bytes.
CRgba* const kBlockColors[9] = {&g_colorSelection, &g_colorPoint,    &g_colorFreePoint,
                                &g_colorObject,    &g_colorArcSolid, &g_colorLabel,
                                &g_colorText,      &g_colorValue,    &g_colorTable};
float* const kLightVectors[4] = {g_lightAmbient, g_lightDiffuse, g_lightSpecular, g_lightPosition};

// Everything the file holds, read in full before any of it is applied.
struct SettingsRecord {
    CString labelFont, measureFont;
    int labelHeight = 0, measureHeight = 0;
    float lineWidth = 0.0f, pointSize = 0.0f;
    float background[4] = {};
    CRgba colors[9];
    float light[4][4] = {};
    int fps = 0, disableDoubleClick = 0, trackball = 0, labelAutoScale = 0;
};

float Finite(float value, float present) {
    return std::isfinite(value) ? value : present;
}

float Clamped(float value, float low, float high, float present) {
    return std::isfinite(value) ? std::clamp(value, low, high) : present;
}

void Apply(const SettingsRecord& r) {
    g_labelFontName = r.labelFont.IsEmpty() ? CString(kDefaultFont) : r.labelFont;
    g_textFontName = r.measureFont.IsEmpty() ? CString(kDefaultFont) : r.measureFont;
    g_labelFontHeight = std::clamp(r.labelHeight, 8, 500);
    g_fontHeight = std::clamp(r.measureHeight, 8, 500);
    g_lineWidth = Clamped(r.lineWidth, 0.5f, 5.0f, g_lineWidth);
    g_pointSize = Clamped(r.pointSize, 0.5f, 10.0f, g_pointSize);
    for (int i = 0; i < 4; ++i) {
        g_backgroundColor[i] = Clamped(r.background[i], 0.0f, 1.0f, g_backgroundColor[i]);
        for (int k = 0; k < 4; ++k)
            kLightVectors[k][i] = Finite(r.light[k][i], kLightVectors[k][i]);
    }
    for (int c = 0; c < 9; ++c)
        *kBlockColors[c] = r.colors[c];
    g_animationFps = std::clamp(r.fps, 1, 100);
    g_disableDoubleClick = r.disableDoubleClick;
    g_trackballMode = r.trackball;
    g_labelAutoScale = r.labelAutoScale;
}

} // namespace

QString HxSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Halvix");
}

QString HxSettingsFilePath() {
    return HxSettingsFolder() + QStringLiteral("/config601.dat");
}

void HxStoreSettings(CArchive& ar) {
    ar << g_labelFontName << g_textFontName << g_labelFontHeight << g_fontHeight << g_lineWidth
       << g_pointSize;
    // The colour block goes by component: every red value first, then every green one, ...
    for (int i = 0; i < 4; ++i) {
        ar << g_backgroundColor[i];
        for (CRgba* color : kBlockColors)
            ar << (*color)[i];
        for (float* vector : kLightVectors)
            ar << vector[i];
    }
    ar << g_animationFps << g_disableDoubleClick << g_trackballMode << g_labelAutoScale;
}

void HxLoadSettings(CArchive& ar) {
    SettingsRecord r;
    ar >> r.labelFont >> r.measureFont >> r.labelHeight >> r.measureHeight >> r.lineWidth >> r.pointSize;
    for (int i = 0; i < 4; ++i) {
        ar >> r.background[i];
        for (CRgba& color : r.colors)
            ar >> color[i];
        for (auto& vector : r.light)
            ar >> vector[i];
    }
    ar >> r.fps >> r.disableDoubleClick >> r.trackball >> r.labelAutoScale;
    Apply(r);
}

void HxResetPreferenceSettings() {
    HxResetDocumentSettings();
    g_colorObject = {0, 0, 128, 255};
    g_colorLabel = {0, 0, 0, 255};
    g_colorPoint = {128, 0, 0, 255};
    g_colorFreePoint = {255, 0, 0, 255};
    g_colorArcSolid = {0, 128, 0, 255};
    g_colorSelection = {255, 0, 255, 255};
    g_colorText = {0, 0, 152, 255};
    g_colorValue = {0, 0, 0, 255};
    g_colorTable = {64, 64, 64, 255};
    std::fill(g_backgroundColor, g_backgroundColor + 4, 1.0f);
    g_animationFps = 25;
    g_disableDoubleClick = 0;
    g_trackballMode = 0;
    g_labelAutoScale = 1;
}

bool LoadSaveSettings(bool store) {
    const QString folder = HxSettingsFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return false;
    const CString path = CString::FromQString(HxSettingsFilePath());
    if (store) {
        // Written whole beside the old file and moved over it: a full disk leaves the old
        // settings in place, never an empty file.
        CMemFile bytes;
        try {
            CArchive ar(&bytes, CArchive::store);
            HxStoreSettings(ar);
            ar.Close();
        } catch (const CException&) {
            return false;
        }
        return HxWriteFileSafely(path, bytes.Data());
    }
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return false;
    // The file holds two font names and some numbers: anything large is not one of ours.
    if (file.GetLength() > kMaxSettingsBytes)
        return false;
    try {
        CArchive ar(&file, CArchive::load);
        HxLoadSettings(ar);
        return true;
    } catch (const CException&) {
        // A damaged file changes nothing: the settings in memory stay.
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
