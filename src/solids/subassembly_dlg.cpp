// The component dialog's fields and rules, and the preset materials.
#include "solids/subassembly_dlg.h"

#include "solids/subassembly.h"
#include "view/view_settings.h"

IMPLEMENT_DYNAMIC(CCreateSubaDlg, CDialog)

const char16_t* const g_materialPresetNames[kMaterialPresetCount] = {
    u"选择材质", u"祖母绿", u"翡翠",     u"黑曜石", u"珍珠",   u"红宝石",   u"绿松石", u"黄铜",   u"青铜",
    u"铬",       u"红铜",   u"黄金",     u"白银",   u"黑塑料", u"青色塑料", u"绿塑料", u"红塑料", u"白塑料",
    u"黄塑料",   u"黑橡胶", u"青色橡胶", u"绿橡胶", u"红橡胶", u"白橡胶",   u"黄橡胶"};

// The widely published OpenGL material set; row 0 is OpenGL's own default.
const CMaterialPreset g_materialPresets[kMaterialPresetCount] = {
    {{0.2f, 0.2f, 0.2f}, {0.8f, 0.8f, 0.8f}, {0.0f, 0.0f, 0.0f}, 0.0f},
    {{0.0215f, 0.1745f, 0.0215f}, {0.07568f, 0.61424f, 0.07568f}, {0.633f, 0.727811f, 0.633f}, 0.6f},
    {{0.135f, 0.2225f, 0.1575f}, {0.54f, 0.89f, 0.63f}, {0.316228f, 0.316228f, 0.316228f}, 0.1f},
    {{0.05375f, 0.05f, 0.06625f}, {0.18275f, 0.17f, 0.22525f}, {0.332741f, 0.328634f, 0.346435f}, 0.3f},
    {{0.25f, 0.20725f, 0.20725f}, {1.0f, 0.829f, 0.829f}, {0.296648f, 0.296648f, 0.296648f}, 0.088f},
    {{0.1745f, 0.01175f, 0.01175f}, {0.61424f, 0.04136f, 0.04136f}, {0.727811f, 0.626959f, 0.626959f}, 0.6f},
    {{0.1f, 0.18725f, 0.1745f}, {0.396f, 0.74151f, 0.69102f}, {0.297254f, 0.30829f, 0.306678f}, 0.1f},
    {{0.329412f, 0.223529f, 0.027451f},
     {0.780392f, 0.568627f, 0.113725f},
     {0.992157f, 0.941176f, 0.807843f},
     0.21794872f},
    {{0.2125f, 0.1275f, 0.054f}, {0.714f, 0.4284f, 0.18144f}, {0.393548f, 0.271906f, 0.166721f}, 0.2f},
    {{0.25f, 0.25f, 0.25f}, {0.4f, 0.4f, 0.4f}, {0.774597f, 0.774597f, 0.774597f}, 0.6f},
    {{0.19125f, 0.0735f, 0.0225f}, {0.7038f, 0.27048f, 0.0828f}, {0.256777f, 0.137622f, 0.086014f}, 0.1f},
    {{0.24725f, 0.1995f, 0.0745f}, {0.75164f, 0.60648f, 0.22648f}, {0.628281f, 0.555802f, 0.366065f}, 0.4f},
    {{0.19225f, 0.19225f, 0.19225f}, {0.50754f, 0.50754f, 0.50754f}, {0.508273f, 0.508273f, 0.508273f}, 0.4f},
    {{0.0f, 0.0f, 0.0f}, {0.01f, 0.01f, 0.01f}, {0.5f, 0.5f, 0.5f}, 0.25f},
    {{0.0f, 0.1f, 0.06f}, {0.0f, 0.50980392f, 0.50980392f}, {0.50196078f, 0.50196078f, 0.50196078f}, 0.25f},
    {{0.0f, 0.0f, 0.0f}, {0.1f, 0.35f, 0.1f}, {0.45f, 0.55f, 0.45f}, 0.25f},
    {{0.0f, 0.0f, 0.0f}, {0.5f, 0.0f, 0.0f}, {0.7f, 0.6f, 0.6f}, 0.25f},
    {{0.0f, 0.0f, 0.0f}, {0.55f, 0.55f, 0.55f}, {0.7f, 0.7f, 0.7f}, 0.25f},
    {{0.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.0f}, {0.6f, 0.6f, 0.5f}, 0.25f},
    {{0.02f, 0.02f, 0.02f}, {0.01f, 0.01f, 0.01f}, {0.4f, 0.4f, 0.4f}, 0.078125f},
    {{0.0f, 0.05f, 0.05f}, {0.4f, 0.5f, 0.5f}, {0.04f, 0.7f, 0.7f}, 0.078125f},
    {{0.0f, 0.05f, 0.0f}, {0.4f, 0.5f, 0.4f}, {0.04f, 0.7f, 0.04f}, 0.078125f},
    {{0.05f, 0.0f, 0.0f}, {0.5f, 0.4f, 0.4f}, {0.7f, 0.04f, 0.04f}, 0.078125f},
    {{0.05f, 0.05f, 0.05f}, {0.5f, 0.5f, 0.5f}, {0.7f, 0.7f, 0.7f}, 0.078125f},
    {{0.05f, 0.05f, 0.0f}, {0.5f, 0.5f, 0.4f}, {0.7f, 0.7f, 0.04f}, 0.078125f},
};

bool HxApplyMaterialPreset(int row) {
    if (row < 0 || row >= kMaterialPresetCount)
        return false;
    const CMaterialPreset& m = g_materialPresets[row];
    for (int i = 0; i < 3; ++i) {
        g_materialAmbient[i] = m.ambient[i];
        g_materialDiffuse[i] = m.diffuse[i];
        g_materialSpecular[i] = m.specular[i];
    }
    g_materialAmbient[3] = g_materialDiffuse[3] = g_materialSpecular[3] = 1.0f;
    g_materialShininess = m.shininess * 128.0f;
    return true;
}

CCreateSubaDlg::CControlStates CCreateSubaDlg::States() const {
    CControlStates s;
    const bool text = m_kind == kSubassemblyText;
    s.fontEnabled = text;
    s.clipEnabled = !text;
    s.planeChecksShown = !text && m_clip != 0;
    s.plane1EditsEnabled = s.planeChecksShown && m_plane1On != 0;
    s.plane2EditsEnabled = s.planeChecksShown && m_plane2On != 0;
    // A texture is drawn only on a lit shape of a kind that takes one.
    s.textureEnabled = TextureAllowed(m_kind) && m_style == 0;
    s.materialEnabled = m_coloring == 1;
    return s;
}

void CCreateSubaDlg::OnOpen() {
    if (!TextureAllowed(m_kind))
        m_texture = 0;
}

void CCreateSubaDlg::OnKindChanged(int kind) {
    m_kind = kind;
    if (kind == kSubassemblyText) {
        m_plane1On = m_plane2On = 0;
        m_clip = 0;
    }
    if (!TextureAllowed(kind))
        m_texture = 0;
    if (kind >= 0 && kind < kSubassemblyKindCount)
        m_text = g_subassemblyKindNames[kind];
    const float center[3] = {kind == kSubassemblyText ? -12.0f : 0.0f, 0.0f, 0.0f};
    const float axis[3] = {0.0f, kind == kSubassemblyText ? -1.0f : 0.0f, 1.0f};
    const float scale = kind == kSubassemblyDodecahedron ? 6.0f : 10.0f;
    for (int i = 0; i < 3; ++i) {
        m_center[i] = center[i];
        m_axis[i] = axis[i];
        m_scale[i] = scale;
    }
}

int CCreateSubaDlg::ClipMode() const {
    if (!m_clip)
        return CGSubassembly::kClipNone;
    return (m_plane1On ? CGSubassembly::kClipPlane1 : 0) | (m_plane2On ? CGSubassembly::kClipPlane2 : 0);
}

void CCreateSubaDlg::FillFrom(const CGSubassembly& cell) {
    m_kind = cell.m_kind;
    m_style = cell.m_style == 0 ? 0 : 1;
    m_texture = cell.m_texture >= 0 && cell.m_texture < kSubassemblyTextureChoices ? cell.m_texture : 0;
    m_text = cell.m_name;
    m_fontName = cell.m_text1;
    for (int i = 0; i < 3; ++i) {
        m_center[i] = cell.m_center[i];
        m_axis[i] = cell.m_axis[i];
        m_scale[i] = cell.m_scale[i];
    }
    m_spin = cell.m_spin;
    m_coloring = cell.m_ownMaterial ? 1 : 0;
    m_dragLock = cell.m_fixed ? 1 : 0;
    m_clip = cell.m_clipMode > 0 ? 1 : 0;
    m_plane1On = cell.m_clipMode == CGSubassembly::kClipPlane1 || cell.m_clipMode == CGSubassembly::kClipBoth;
    m_plane2On = cell.m_clipMode == CGSubassembly::kClipPlane2 || cell.m_clipMode == CGSubassembly::kClipBoth;
    for (int i = 0; i < 4; ++i) {
        m_plane1[i] = cell.m_plane1[i];
        m_plane2[i] = cell.m_plane2[i];
    }
    if (cell.m_ownMaterial)
        cell.GiveCurrentMaterial();
}
