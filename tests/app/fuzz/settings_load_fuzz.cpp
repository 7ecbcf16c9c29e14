// Fuzz target: arbitrary bytes read as the settings file "config601.dat".  Whatever the bytes, the
// read takes the values held whole and built-in ones for the rest, leaves every setting within the
// ranges the preferences allow, and stores and reads back to the same bytes.
#include "app/settings_file.h"
#include "model/model_globals.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

std::vector<BYTE> Stored() {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        HxStoreSettings(ar);
        ar.Close();
    }
    return file.Data();
}

int Load(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    return HxLoadSettings(ar);
}

void CheckRanges() {
    Check(g_animationFps >= 1 && g_animationFps <= 100);
    Check(g_labelFontHeight >= 8 && g_labelFontHeight <= 500 && g_fontHeight >= 8 && g_fontHeight <= 500);
    Check(g_lineWidth >= 0.5f && g_lineWidth <= 5.0f && g_pointSize >= 0.5f && g_pointSize <= 10.0f);
    for (float c : g_backgroundColor)
        Check(c >= 0.0f && c <= 1.0f);
    Check(!g_labelFontName.IsEmpty() && !g_textFontName.IsEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HxResetPreferenceSettings();
    const std::vector<BYTE> defaults = Stored();
    const int count = Load(std::vector<BYTE>(data, data + size));
    Check(count >= 0 && count <= kSettingsValueCount);
    CheckRanges();
    // Nothing read: everything built in.
    if (count == 0)
        Check(Stored() == defaults);
    const std::vector<BYTE> stored = Stored();
    Check(Load(stored) == kSettingsValueCount);
    Check(Stored() == stored);
    return 0;
}
