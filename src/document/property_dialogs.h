// The fields of the property dialogs the properties command opens for points, lines, faces, circles,
// solids of revolution, the plane axes, the page and its traces, pictures: what the command fills in, the
// enabling rules the windows follow, and what it reads back after OK.
#pragma once

#include "model/page.h"
#include "platform/afx.h"

// Controls every element dialog has.
struct CElementDialogIds {
    static constexpr int kDescription = 1098; // read-only
    static constexpr int kLabelEdit = 1002;
    static constexpr int kLabelHiddenCheck = 1005; // "隐藏标签"
    static constexpr int kHiddenCheck = 1003;      // "隐藏对象"
    static constexpr int kApplyToAllCheck = 1131;
    static constexpr int kTextureList = 1015; // "纹理图": "不使用", "图1" .. "图15"
    static constexpr int kTextureChoices = 16;
};

// "点的属性".
class CDlgPropertyPoint : public CDialog, public CElementDialogIds {
    DECLARE_DYNAMIC(CDlgPropertyPoint)
public:
    enum { IDD = 220 };
    static constexpr int kEditX = 1000, kEditY = 1001, kEditZ = 1009;
    static constexpr int kEditT = 1011;
    static constexpr int kSizeEdit = 1014;
    static constexpr int kShapeRadio = 1007;      // "圆形", "隐形", "球形（光照处理）"
    static constexpr int kVisibilityRadio = 1022; // "总可见", "被遮住时不可见（点或标签）"
    static constexpr float kMinSize = 0.5f, kMaxSize = 20.0f;
    // Which coordinates can be typed.
    static constexpr int kNoCoordinates = 0, kCoordinatesXyz = 1, kCoordinatesXy = 2;

    CDlgPropertyPoint() : CDialog(IDD) {}

    CString m_description;
    BOOL m_labelHidden = TRUE;
    BOOL m_hidden = FALSE;
    CString m_label;
    float m_x = 0.0f, m_y = 0.0f, m_z = 0.0f;
    float m_t = 0.0f;
    float m_size = 4.5f;
    BOOL m_applyToAll = FALSE;
    int m_shape = 0;
    int m_visibility = 0;
    int m_coordinateMode = kNoCoordinates;
    bool m_paramEditable = false;
};

// "线属性".
class CDlgPropertyLine : public CDialog, public CElementDialogIds {
    DECLARE_DYNAMIC(CDlgPropertyLine)
public:
    enum { IDD = 191 };
    static constexpr int kStyleRadio = 1007; // "自动虚实", "仅实线", "全实线", "全虚线", "光照处理"
    static constexpr int kKindRadio = 1025; // "线段", "射线", "直线", "向量"
    static constexpr int kWidthEdit = 1018;
    static constexpr float kMinWidth = 0.5f, kMaxWidth = 20.0f;

    CDlgPropertyLine() : CDialog(IDD) {}

    int m_style = 0;
    int m_kind = 0;
    CString m_description;
    BOOL m_labelHidden = TRUE;
    BOOL m_hidden = FALSE;
    CString m_label;
    float m_width = 1.5f;
    BOOL m_applyToAll = FALSE;
};

// "面属性".
class CDlgPropertyFace : public CDialog, public CElementDialogIds {
    DECLARE_DYNAMIC(CDlgPropertyFace)
public:
    enum { IDD = 189 };
    static constexpr int kStyleRadio = 1007; // "参与消隐", "填充颜色", "填充斜线", "光照处理", "半透明材质"

    CDlgPropertyFace() : CDialog(IDD) {}
    // Only lit and translucent faces show a texture.
    static bool TextureEnabled(int style) { return style > 2; }

    int m_style = 0;
    CString m_description;
    BOOL m_labelHidden = TRUE;
    BOOL m_hidden = FALSE;
    CString m_label;
    BOOL m_applyToAll = FALSE;
    int m_texture = 0;
};

// "圆（弧）属性".
class CDlgPropertyCircle : public CDialog, public CElementDialogIds {
    DECLARE_DYNAMIC(CDlgPropertyCircle)
public:
    enum { IDD = 192 };
    static constexpr int kKindRadio = 1025; // "圆", "弧", "圆面", "扇形面", "弓形面"
    static constexpr int kFromEdit = 1000, kToEdit = 1001;
    static constexpr int kArcRadio = 1043; // "自动", "自定义:"
    static constexpr int kWidthEdit = 1009;
    static constexpr int kStyleRadio =
        1055; // "自动虚实", "光照处理", "半透明材质", "全实线", "全虚线", "仅实线"
    static constexpr float kMinWidth = 1.0f, kMaxWidth = 20.0f;

    CDlgPropertyCircle() : CDialog(IDD) {}
    // The filled kinds drawn lit or translucent show a texture.
    static bool TextureEnabled(int kind, int style) { return kind > 1 && (style == 1 || style == 2); }
    // The sweep is typed only when it is the user's own.
    static bool ArcEditsEnabled(int arcMode) { return arcMode == 1; }

    int m_kind = 0;
    float m_from = 0.0f;
    float m_to = 360.0f;
    int m_arcMode = 0;
    CString m_description;
    BOOL m_labelHidden = TRUE;
    BOOL m_hidden = FALSE;
    CString m_label;
    float m_width = 1.5f;
    int m_style = 0;
    int m_texture = 0;
};

// "旋转体属性": a sphere, cylinder, cone or frustum.
class CDlgPropertySolid : public CDialog {
    DECLARE_DYNAMIC(CDlgPropertySolid)
public:
    enum { IDD = 227 };
    static constexpr int kStyleRadio = 1007; // "立几模式", "实线网格", "光照处理", "半透明材质"
    static constexpr int kDescription = 1098;
    static constexpr int kHiddenCheck = 1003;
    static constexpr int kTextureList = 1015;

    CDlgPropertySolid() : CDialog(IDD) {}
    static bool TextureEnabled(int style) { return style == 2 || style == 3; }

    int m_style = 0;
    CString m_description;
    BOOL m_hidden = FALSE;
    int m_texture = 0;
};

// "追踪属性": what the page's traces keep.
class CDlgTrace : public CDialog {
    DECLARE_DYNAMIC(CDlgTrace)
public:
    enum { IDD = 223 };
    static constexpr int kModeRadio = 1007; // "本页内只追踪点与线，无消隐", "可追踪所有对象，包含面、标签"

    CDlgTrace() : CDialog(IDD) {}

    int m_mode = 0;
};

// "2维轴部件属性": the numbers and spacings of the plane axes.
class CDlgProScaleLine : public CDialog {
    DECLARE_DYNAMIC(CDlgProScaleLine)
public:
    enum { IDD = 356 };
    static constexpr int kKindRadio = 1007;  // "普通数值型", "三角函数型"
    static constexpr int kXOnlyCheck = 1003; // " 不显示y轴上刻度线及刻度值"
    static constexpr int kAutoCheck = 1005;  // "自动调整间距"
    static constexpr int kTickList = 1015;   // "刻度线间距"
    static constexpr int kValueList = 1019;  // "刻度值间距"
    static constexpr int kSpacingCount = 13;
    static const float kSpacings[kSpacingCount]; // 0.1, 0.2, 0.5, 1 ... 1000
    static const char16_t* const kSpacingTexts[kSpacingCount];
    static const char16_t* const kTickTooWide;    // "刻度线间距不能大于刻度值间距！"
    static const char16_t* const kValueTooNarrow; // "刻度值间距不能小于刻度线间距！"

    CDlgProScaleLine() : CDialog(IDD) {}
    // The entry shown for a stored spacing: the last whose value - 1e-6 is not above it (0 when none).
    static int SpacingIndex(float spacing);
    // A tick spacing chosen wider than the value spacing falls back to it; a value spacing chosen
    // narrower than the tick spacing is raised to it.  Each returns the refusal's message, or null
    // when the choice stands.
    const char16_t* ChooseTickSpacing(int index);
    const char16_t* ChooseValueSpacing(int index);

    int m_kind = 0;
    BOOL m_xOnly = FALSE;
    BOOL m_autoSpacing = TRUE;
    int m_tickIndex = 4;
    int m_valueIndex = 4;
};

// "页属性": the page's title, background, unit length and dashed lines behind lit solids.
class CDlgPageProperty : public CDialog {
    DECLARE_DYNAMIC(CDlgPageProperty)
public:
    enum { IDD = 357 };
    static constexpr int kUnitEdit = 1037; // "单位长" in "象素"
    static constexpr int kUnitSlider = 1286;
    static constexpr int kColorButton = 1127;   // "背景颜色"
    static constexpr int kTitleEdit = 1002;     // "页名称"
    static constexpr int kDashedCheck = 1003;   // "被光照物体遮住的线显示虚线"
    static constexpr int kDefaultButton = 1027; // "默认"
    static constexpr int kMinUnit = 5, kMaxUnit = kMaxUnitsPerLength, kDefaultUnit = 20;

    CDlgPageProperty() : CDialog(IDD) {}

    int m_unitPixels = kDefaultUnit;
    COLORREF m_background = RGB(255, 255, 255);
    CString m_title;
    BOOL m_dashedBehindLit = TRUE;
};

// "图片属性": the two zoom factors of a picture.
class CDlgImagePropy : public CDialog {
    DECLARE_DYNAMIC(CDlgImagePropy)
public:
    enum { IDD = 275 };
    static constexpr int kWidthEdit = 1000;     // "宽度"
    static constexpr int kHeightEdit = 1001;    // "高度"
    static constexpr int kSizeText = 1175;      // after "大小："
    static constexpr int kRestoreButton = 1027; // "恢复原始比例（1, 1）"
    // A factor of zero would fold the picture into nothing that can be seen or picked again.
    static const char16_t* const kZeroFactor; // "缩放比不能为0！"
    static bool FactorAccepted(float factor);

    CDlgImagePropy() : CDialog(IDD) {}

    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    CString m_size; // set by the caller: the picture's description
};
