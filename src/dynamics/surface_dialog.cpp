// The surface dialog's fields: the 24 examples, the labels of the coordinate systems, the enabling
// of the texture controls, the fields of a surface taken and written back, and the calculation
// dialog opened for one expression.
#include "dynamics/surface_dialog.h"

#include "dynamics/surface.h"
#include "measure/calc_dialogs.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CDlgSurface, CDialog)

// The expressions are kept exactly as they were given, blanks included.
const CDlgSurface::CExample CDlgSurface::kExamples[kExampleCount] = {
    {u"圆柱面", {u"5", u"u", u"v", u"0", u"2*pi", u"-8", u"8"}, 0.2, 1.0, 2, 1, true},
    {u"圆锥面", {u"8-v", u"u", u"2*v-8", u"0", u"2*pi", u"0", u"8"}, 0.2, 1.0, 2, 0, false},
    {u"球面", {u"6", u"v", u"u", u"0", u"2*pi", u"-pi", u"0"}, 0.2, 0.2, 1, 0, false},
    {u"椭球面",
     {u"10*cos(v)*cos(u)", u"10*cos(v)*sin(u)", u"8*sin(v)", u"0", u"2*pi", u"-pi/2", u"pi/2"},
     0.2617993878,
     0.2617993878,
     0,
     0,
     false},
    {u"双曲面1", {u"3/cos(v)", u"u", u"6*tan(v)", u"0", u"2*pi", u"-1", u"1"}, 0.2, 0.2, 2, 0, false},
    {u"双曲面2",
     {u"5*tan(v)*cos(u)", u"5*tan(v)*sin(u)", u"5/cos(v)-10", u"0", u"2*pi", u"0", u"1.2"},
     0.2,
     0.2,
     0,
     0,
     false},
    {u"椭圆抛物面",
     {u"3*v*cos(u)", u"3*v*sin(u)", u".5*v*v-4", u"0", u"2*pi", u"0", u"4"},
     0.2,
     0.5,
     0,
     0,
     false},
    {u"双曲抛物面", {u"u", u"v", u"0.16*(u^2-v^2)", u"-8", u"8", u"-8", u"8"}, 0.5, 0.5, 0, 0, false},
    {u"波浪", {u"u", u"v", u"sin(3*u)/(u+1)", u"0", u"12", u"0", u"2*pi"}, 0.5, 0.2, 2, 0, false},
    {u"网兜", {u"2*u", u"-2*v", u"u*u+v*v-8", u"-3", u"3", u"-3", u"3"}, 0.3, 0.3, 0, 0, false},
    {u"窝夫", {u"u", u"v", u"sin(u)*sin(v)", u"-10", u"10", u"-10", u"10"}, 0.4, 0.4, 0, 0, false},
    {u"沙滩", {u"u", u"v", u"sin(.1*u*v)", u"-10", u"10", u"-10", u"10"}, 0.4, 0.4, 0, 0, false},
    {u"叶片",
     {u"v*(3*u^2-v^2-1/3)", u"u*(3*v^2-u^2-1/3) ", u"-2*u*v", u"-1.5", u"1.5", u"-1.5", u"1.5"},
     0.2,
     0.2,
     0,
     0,
     false},
    {u"花瓶", {u"(cos(.5*v)+4)", u"u", u"v", u"0", u"2*pi", u"-9.4248", u"9.4248"}, 0.2, 0.2, 2, 2, true},
    {u"耳坠",
     {u".2*v*cos(v)", u"u", u"v-7.854", u"0", u"2*pi", u"-1.5708", u"14.1372"},
     0.2,
     0.2,
     2,
     1,
     false},
    {u"平面", {u"u", u"v", u"0", u"-10", u"10", u"-10", u"10"}, 8.0, 8.0, 0, 1, true},
    {u"圆面", {u"v*sin(u)", u"v*cos(u)", u"0", u"0", u"2*pi", u"0", u"12"}, 0.2, 0.5, 0, 0, false},
    {u"螺旋管", {u"4+sin(u)", u"v", u"cos(u)+0.4*v", u"0", u"2*pi", u"-20", u"20"}, 0.2, 0.2, 2, 0, false},
    {u"圆柱上的缎带", {u"6", u"u", u".5*u+.2*v", u"-6*pi", u"6*pi", u"-6", u"6"}, 0.2, 0.2, 2, 0, false},
    {u"八面粽",
     {u"8*(cos(u)*cos(v))^3", u"8* (cos(u)*sin(v))^3", u"8*sin(u)^3", u"-pi", u"pi", u"-pi/2", u"pi/2"},
     0.2,
     0.2,
     0,
     1,
     false},
    {u"莫比乌斯带",
     {u"12+3*v*cos(2*u/2)", u"u", u"3*v*sin(2*u/2)", u"0", u"2*pi", u"-1", u"1"},
     0.2,
     0.2,
     2,
     0,
     false},
    {u"曲面1", {u"v+.5*sin(u)", u"u", u"v", u"0", u"2*pi", u"0", u"2*pi"}, 0.2, 0.2, 1, 0, false},
    {u"曲面2", {u"1.5*sin(u)^2 +1.2*v^2", u"u", u"3*v", u"0", u"2*pi", u"-2", u"2"}, 0.2, 0.2, 2, 0, false},
    {u"曲面3", {u"v", u"u", u"2*v+3*sin(u)", u"0", u"2*pi", u"-3", u"3"}, 0.2, 0.2, 2, 0, false},
};

const int CDlgSurface::kButtons[7] = {kButtonX,   kButtonY,     kButtonZ,  kButtonUFrom,
                                      kButtonUTo, kButtonVFrom, kButtonVTo};
const int CDlgSurface::kEdits[7] = {kEditX, kEditY, kEditZ, kEditUFrom, kEditUTo, kEditVFrom, kEditVTo};

CDlgSurface::CDlgSurface() : CDialog(IDD) {
    // u and v come first among the variables the coordinates may use.
    m_values = {0.0, 0.0};
    m_precedences = {HX_PREC_NAME, HX_PREC_NAME};
}

CDlgSurface::CTextureEnabling CDlgSurface::TextureEnabling(int displayMode, int texture, int mapping) {
    if (displayMode == 2)
        return {false, false, false, false};
    if (texture == 0)
        return {true, false, false, false};
    return {true, displayMode == 0, true, mapping == 1};
}

void CDlgSurface::ExpressionLabels(int system, const char16_t* labels[3]) {
    static const char16_t* const kLabels[3][3] = {{u"x(u,v)=", u"y(u,v)=", u"z(u,v)="},
                                                  {u" r(u,v)=", u"θ(u,v)=", u"φ(u,v)="},
                                                  {u"θ(u,v)=", u"ρ(u,v)=", u" z(u,v)="}};
    const int k = std::clamp(system, 0, 2);
    for (int i = 0; i < 3; ++i)
        labels[i] = kLabels[k][i];
}

CString* CDlgSurface::TextOf(int id) {
    CString* texts[7] = {&m_x, &m_y, &m_z, &m_uFrom, &m_uTo, &m_vFrom, &m_vTo};
    for (int i = 0; i < 7; ++i) {
        if (kButtons[i] == id || kEdits[i] == id)
            return texts[i];
    }
    return nullptr;
}

void CDlgSurface::OfferValue(const CGCell& value) {
    CDlgCalculator entry;
    entry.OfferValue(value);
    m_names.push_back(entry.m_names.front());
    m_nameMarkups.push_back(entry.m_nameMarkups.front());
    m_values.push_back(entry.m_values.front());
    m_precedences.push_back(entry.m_precedences.front());
}

void CDlgSurface::TakeFrom(const CGSurface& surface) {
    CString* texts[7] = {&m_x, &m_y, &m_z, &m_uFrom, &m_uTo, &m_vFrom, &m_vTo};
    for (int i = 0; i < 7; ++i)
        *texts[i] = surface.m_texts[i];
    m_uStep = surface.m_uStep;
    m_vStep = surface.m_vStep;
    m_system = surface.CoordinateKind();
    m_displayMode = std::min<int>(surface.m_style, 2);
    m_texture = std::clamp(surface.m_frontTexture, 0, kTextureChoices - 1);
    m_back = surface.m_twoSided ? TRUE : FALSE;
    m_mapping = surface.m_mappingMode == CGSurface::kMappingDefined ? 1 : 0;
    m_sScale = surface.m_mapping[CGSurface::kSScale];
    m_sOffset = surface.m_mapping[CGSurface::kSOffset];
    m_tScale = surface.m_mapping[CGSurface::kTScale];
    m_tOffset = surface.m_mapping[CGSurface::kTOffset];
    m_reserved[0] = surface.m_mapping[CGSurface::kReserved1];
    m_reserved[1] = surface.m_mapping[CGSurface::kReserved2];
}

void CDlgSurface::WriteTo(CGSurface& surface) const {
    const CString* texts[7] = {&m_x, &m_y, &m_z, &m_uFrom, &m_uTo, &m_vFrom, &m_vTo};
    for (int i = 0; i < 7; ++i)
        surface.m_texts[i] = *texts[i];
    surface.m_uStep = std::fabs(m_uStep);
    surface.m_vStep = std::fabs(m_vStep);
    surface.m_param1 = float(m_system);
    surface.m_style = BYTE(m_displayMode);
    surface.m_frontTexture = m_texture;
    surface.m_twoSided = m_back ? 1 : 0;
    surface.m_mappingMode = m_mapping;
    surface.m_mapping[CGSurface::kSScale] = m_sScale;
    surface.m_mapping[CGSurface::kReserved1] = m_reserved[0];
    surface.m_mapping[CGSurface::kReserved2] = m_reserved[1];
    surface.m_mapping[CGSurface::kTScale] = m_tScale;
    surface.m_mapping[CGSurface::kSOffset] = m_sOffset;
    surface.m_mapping[CGSurface::kTOffset] = m_tOffset;
    surface.Invalidate();
}

void CDlgSurface::ApplyExample(int index) {
    if (index < 0 || index >= kExampleCount)
        return;
    const CExample& e = kExamples[index];
    CString* texts[7] = {&m_x, &m_y, &m_z, &m_uFrom, &m_uTo, &m_vFrom, &m_vTo};
    for (int i = 0; i < 7; ++i)
        *texts[i] = e.texts[i];
    m_uStep = e.uStep;
    m_vStep = e.vStep;
    m_system = e.system;
    m_texture = e.texture;
    m_back = e.back ? TRUE : FALSE;
    m_example = index;
}

bool CDlgSurface::EditExpression(int buttonId) {
    const int* at = std::find(std::begin(kButtons), std::end(kButtons), buttonId);
    if (at == std::end(kButtons))
        return false;
    const bool coordinate = at - std::begin(kButtons) < 3;
    CString* text = TextOf(buttonId);
    CDlgCalculator calc;
    calc.m_names = m_names;
    calc.m_nameMarkups = m_nameMarkups;
    if (coordinate) {
        calc.m_title = u"编辑参数方程";
        calc.m_mode = CDlgCalculator::kModeSurface;
        calc.m_values = m_values;
        calc.m_precedences = m_precedences;
    } else {
        // The ranges cannot use u and v.
        calc.m_title = u"编辑参数范围";
        calc.m_mode = CDlgCalculator::kModeCalculation;
        if (m_values.size() > 2)
            calc.m_values.assign(m_values.begin() + 2, m_values.end());
        if (m_precedences.size() > 2)
            calc.m_precedences.assign(m_precedences.begin() + 2, m_precedences.end());
    }
    calc.m_expression = *text;
    if (calc.DoModal() != IDOK)
        return false;
    *text = calc.m_expression;
    return true;
}
