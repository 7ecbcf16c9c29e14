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

// Everything the file holds, in memory.
struct SettingsRecord {
    CString labelFont, measureFont;
    int labelHeight = 0, measureHeight = 0;
    float lineWidth = 0.0f, pointSize = 0.0f;
    float background[4] = {};
    CRgba colors[9];
    float light[4][4] = {};
    int fps = 0, disableDoubleClick = 0, trackball = 0, labelAutoScale = 0;
};

SettingsRecord Capture() {
    SettingsRecord r;
    r.labelFont = g_labelFontName;
    r.measureFont = g_textFontName;
    r.labelHeight = g_labelFontHeight;
    r.measureHeight = g_fontHeight;
    r.lineWidth = g_lineWidth;
    r.pointSize = g_pointSize;
    for (int i = 0; i < 4; ++i) {
        r.background[i] = g_backgroundColor[i];
        for (int k = 0; k < 4; ++k)
            r.light[k][i] = kLightVectors[k][i];
    }
    for (int c = 0; c < 9; ++c)
        r.colors[c] = *kBlockColors[c];
    r.fps = g_animationFps;
    r.disableDoubleClick = g_disableDoubleClick;
    r.trackball = g_trackballMode;
    r.labelAutoScale = g_labelAutoScale;
    return r;
}

// The record as it is, unchecked.
void Restore(const SettingsRecord& r) {
    g_labelFontName = r.labelFont;
    g_textFontName = r.measureFont;
    g_labelFontHeight = r.labelHeight;
    g_fontHeight = r.measureHeight;
    g_lineWidth = r.lineWidth;
    g_pointSize = r.pointSize;
    for (int i = 0; i < 4; ++i) {
        g_backgroundColor[i] = r.background[i];
        for (int k = 0; k < 4; ++k)
            kLightVectors[k][i] = r.light[k][i];
    }
    for (int c = 0; c < 9; ++c)
        *kBlockColors[c] = r.colors[c];
    g_animationFps = r.fps;
    g_disableDoubleClick = r.disableDoubleClick;
    g_trackballMode = r.trackball;
    g_labelAutoScale = r.labelAutoScale;
}

float Finite(float value, float present) {
    return std::isfinite(value) ? value : present;
}

float Clamped(float value, float low, float high, float present) {
    return std::isfinite(value) ? std::clamp(value, low, high) : present;
}

// The record brought into the ranges the preferences allow; a value that is no number keeps the
// present one.
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

// Reads one value into `field` only when it is there whole; counts it.
template <class T> void ReadValue(CArchive& ar, T& field, int& count) {
    T value{};
    ar >> value;
    field = value;
    ++count;
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

int HxLoadSettings(CArchive& ar) {
    // What the file does not hold keeps its built-in value.
    const SettingsRecord present = Capture();
    HxResetPreferenceSettings();
    SettingsRecord r = Capture();
    Restore(present);
    int count = 0;
    try {
        ReadValue(ar, r.labelFont, count);
        ReadValue(ar, r.measureFont, count);
        ReadValue(ar, r.labelHeight, count);
        ReadValue(ar, r.measureHeight, count);
        ReadValue(ar, r.lineWidth, count);
        ReadValue(ar, r.pointSize, count);
        for (int i = 0; i < 4; ++i) {
            ReadValue(ar, r.background[i], count);
            for (CRgba& color : r.colors)
                ReadValue(ar, color[i], count);
            for (auto& vector : r.light)
                ReadValue(ar, vector[i], count);
        }
        ReadValue(ar, r.fps, count);
        ReadValue(ar, r.disableDoubleClick, count);
        ReadValue(ar, r.trackball, count);
        ReadValue(ar, r.labelAutoScale, count);
    } catch (const CArchiveException&) {
        // The file ends early or holds a string longer than what is left: the rest stays built in.
    }
    Apply(r);
    return count;
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
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
