// The fields and rules of the surface dialog "曲面属性": the three coordinate expressions and the u
// and v ranges (each edited through the calculation dialog), the steps, the coordinate system, the
// display mode, the texture and its mapping, and the 24 example surfaces.  The window shows them
// through its presenter.
#pragma once

#include "platform/afx.h"

#include <vector>

class CGCell;
class CGSurface;

class CDlgSurface : public CDialog {
    DECLARE_DYNAMIC(CDlgSurface)
public:
    enum { IDD = 232 };
    // Control ids: the seven expression edits and the buttons that open them in the calculation
    // dialog.
    static constexpr int kEditX = 1000;
    static constexpr int kEditY = 1001;
    static constexpr int kEditZ = 1002;
    static constexpr int kEditUFrom = 1004;
    static constexpr int kEditUTo = 1006;
    static constexpr int kEditVFrom = 1014;
    static constexpr int kEditVTo = 1018;
    static constexpr int kButtonX = 1027;
    static constexpr int kButtonY = 1030;
    static constexpr int kButtonZ = 1034;
    static constexpr int kButtonUFrom = 1038;
    static constexpr int kButtonUTo = 1042;
    static constexpr int kButtonVFrom = 1046;
    static constexpr int kButtonVTo = 1049;
    static constexpr int kUStep = 1009;
    static constexpr int kVStep = 1011;
    static constexpr int kCartesian = 1007;
    static constexpr int kSpherical = 1008;
    static constexpr int kCylindrical = 1010;
    static constexpr int kLit = 1022;
    static constexpr int kTranslucent = 1023;
    static constexpr int kWire = 1025;
    static constexpr int kExampleList = 1019;
    static constexpr int kTexture = 1176;
    static constexpr int kBackTexture = 1131;
    static constexpr int kAutomatic = 1060;
    static constexpr int kDefined = 1063;
    static constexpr int kSScale = 1177;
    static constexpr int kSOffset = 1178;
    static constexpr int kTScale = 1179;
    static constexpr int kTOffset = 1180;

    // The steps' range.
    static constexpr double kLeastStep = 0.001;
    static constexpr double kMostStep = 10.0;
    // The texture choices "不使用", "图1" .. "图15".
    static constexpr int kTextureChoices = 16;

    // One example surface: the three expressions, the ranges, the steps, the coordinate system, the
    // front texture and the back-texture check.
    struct CExample {
        const char16_t* name;
        const char16_t* texts[7]; // x, y, z, u from, u to, v from, v to
        double uStep;
        double vStep;
        int system;
        int texture;
        bool back;
    };
    static constexpr int kExampleCount = 24;
    static const CExample kExamples[kExampleCount];

    // What the texture controls allow: the texture list, the back-texture check, the two mapping
    // buttons and the four coefficients.
    struct CTextureEnabling {
        bool texture, back, mapping, coefficients;
    };
    static CTextureEnabling TextureEnabling(int displayMode, int texture, int mapping);
    // The labels of the three expression buttons in a coordinate system.
    static void ExpressionLabels(int system, const char16_t* labels[3]);
    // The seven expression buttons and their edits, in the order of the texts (x, y, z, u from, u to,
    // v from, v to); and the text a button or edit id stands for (null for another id).
    static const int kButtons[7];
    static const int kEdits[7];
    CString* TextOf(int id);

    CDlgSurface();

    // The values the expressions may use: offers a value as the next variable No%d (its name, its
    // label markup and precedence, its current value), after u and v.
    void OfferValue(const CGCell& value);
    int ValueCount() const { return int(m_names.size()); }
    // The fields of an existing surface (its parents offered as values first by the caller), and
    // written back into it: the caller then recomputes it.
    void TakeFrom(const CGSurface& surface);
    void WriteTo(CGSurface& surface) const;
    // The example chosen in the list: the expressions, ranges, steps, coordinate system, front
    // texture and back-texture check take its values; the rest stays.
    void ApplyExample(int index);
    // One of the seven buttons: the calculation dialog over the offered values with the text, titled
    // "编辑参数方程" (the coordinates, u and v offered) or "编辑参数范围" (the ranges); on OK its
    // text replaces the field.  True after OK.
    bool EditExpression(int buttonId);

    CString m_x = u"5*cos(u)";
    CString m_y = u"5*sin(u)";
    CString m_z = u"v";
    CString m_uFrom = u"0";
    CString m_uTo = u"2*pi";
    CString m_vFrom = u"-8";
    CString m_vTo = u"8";
    double m_uStep = 0.2;
    double m_vStep = 1.0;
    int m_system = 0;      // 0 "空间直角", 1 "球坐标系", 2 "柱坐标系"
    int m_displayMode = 0; // 0 "光照模式", 1 "半透明材质", 2 "线框模式"
    int m_example = -1;
    int m_texture = 1; // 0 "不使用", k "图k"
    BOOL m_back = TRUE;
    int m_mapping = 0; // 0 "自动映射", 1 "定义变换："
    double m_sScale = 1.0;
    double m_sOffset = 0.0;
    double m_tScale = 1.0;
    double m_tOffset = 0.0;
    // The two reserved mapping values of a surface, carried through unchanged.
    double m_reserved[2] = {0.0, 0.0};

    // The offered values: per value its name and label markup; per variable (u, v, then the values)
    // its current value and precedence.
    std::vector<CString> m_names;
    std::vector<CString> m_nameMarkups;
    std::vector<double> m_values;
    std::vector<int> m_precedences;
};
