// CCreateSubaDlg ("组件属性"): the fields of the component dialog, the rules by which its controls are
// enabled or shown and the defaults a newly chosen kind puts in, the preset materials, and the filling
// from (and clip mode for) a component.  Its window shows it through its presenter.
#pragma once

#include "platform/afx.h"

class CGSubassembly;

// A preset material: ambient, diffuse and specular red, green, blue (alpha 1), and the shininess as a
// fraction of 128.
struct CMaterialPreset {
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float shininess;
};
constexpr int kMaterialPresetCount = 25;
// Row 0 "选择材质" is OpenGL's default material; rows 1 to 24 the published set ("祖母绿" ... "黄橡胶").
extern const CMaterialPreset g_materialPresets[kMaterialPresetCount];
extern const char16_t* const g_materialPresetNames[kMaterialPresetCount];
// The view's current material (g_materialAmbient ...) from a preset row (the shininess times 128);
// false, changing nothing, for a row outside the table.
bool HxApplyMaterialPreset(int row);

// The texture list: "不使用", then "图1" to "图15".
constexpr int kSubassemblyTextureChoices = 16;

class CCreateSubaDlg : public CDialog {
    DECLARE_DYNAMIC(CCreateSubaDlg)
public:
    enum { IDD = 349 };
    // Controls.
    static constexpr int kTextEdit = 1002;
    static constexpr int kPlane1Check = 1003;
    static constexpr int kPlane2Check = 1005;
    static constexpr int kStyleLitRadio = 1007;         // "光照处理"
    static constexpr int kClipCheck = 1008;             // "裁 剪"
    static constexpr int kStyleWireRadio = 1010;        // "线框模式"
    static constexpr int kDragLockCheck = 1012;         // "锁定拖移"
    static constexpr int kColoringOwnRadio = 1013;      // "外颜色内银灰"
    static constexpr int kColoringMaterialRadio = 1014; // "外定义内颜色"
    static constexpr int kFontCombo = 1015;
    static constexpr int kTextureList = 1019;
    static constexpr int kMaterialList = 1234;
    static constexpr int kKindList = 1242; // "图元类型"
    static constexpr int kCenterEdits[3] = {1260, 1261, 1262};
    static constexpr int kAxisEdits[3] = {1263, 1264, 1265};
    static constexpr int kScaleEdits[3] = {1266, 1267, 1268};
    static constexpr int kPlane1Edits[4] = {1269, 1275, 1276, 1277};
    static constexpr int kPlane2Edits[4] = {1270, 1278, 1280, 1281};
    static constexpr int kSpinEdit = 1274;       // "转角"
    static constexpr int kMaterialButton = 1285; // "另定义材质"

    CCreateSubaDlg() : CDialog(IDD) {}
    static CString Title() { return CString(u"组件属性"); }

    // What the controls show besides the fields: enabled (or, for the plane check boxes, shown).
    struct CControlStates {
        bool fontEnabled = false;
        bool clipEnabled = false;
        bool planeChecksShown = false;
        bool plane1EditsEnabled = false;
        bool plane2EditsEnabled = false;
        bool textureEnabled = false;
        bool materialEnabled = false; // the material list and "另定义材质"
    };
    CControlStates States() const;
    // Textures are offered for the cube and the kinds from C60 on.
    static bool TextureAllowed(int kind) { return kind == 2 || kind >= 6; }

    // Opening: a kind that takes no texture has none.
    void OnOpen();
    // A newly chosen kind: 3D text loses its clipping; the texture goes when the kind takes none; the
    // text becomes the kind's name; centre, axis and scale take the kind's defaults (the spin angle and
    // the planes stay).
    void OnKindChanged(int kind);
    // The clip mode a component takes: 1, 2 or 3 from the plane boxes while clipping is ticked (0 when
    // neither is), 0 otherwise.
    int ClipMode() const;
    // The fields from a component; when it has its own material, the view's current material becomes
    // that material first.
    void FillFrom(const CGSubassembly& cell);

    int m_kind = 0;
    CString m_text = u"3d文字";
    CString m_fontName = u"宋体";
    float m_center[3] = {-10.0f, 0.0f, 0.0f};
    float m_scale[3] = {10.0f, 10.0f, 10.0f};
    float m_axis[3] = {0.0f, -1.0f, 0.0f};
    float m_spin = 0.0f;
    int m_dragLock = 0;
    int m_style = 0;    // 0 "光照处理", 1 "线框模式"
    int m_texture = 0;  // index of the texture list
    int m_coloring = 0; // 0 "外颜色内银灰", 1 "外定义内颜色"
    int m_material = 0; // index of the material list
    int m_clip = 0;
    int m_plane1On = 0;
    int m_plane2On = 0;
    double m_plane1[4] = {0.0, 0.0, 1.0, 0.0};
    double m_plane2[4] = {0.0, -1.0, 0.0, 0.0};
};
