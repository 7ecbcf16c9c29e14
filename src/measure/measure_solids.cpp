// The surfaces and volumes of the solids of revolution, in single precision from the solid's
// radius r, height h and top ratio k.  An invalid solid makes its measurement invalid.
#include "measure/measurements.h"

#include "solids/revolution.h"

#include <cmath>

IMPLEMENT_SERIAL(CGTmVarAreaCylinder, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAreaCone, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAreaFrustum, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAreaSphere, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVolumeCylinder, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVolumeCone, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVolumeFrustum, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVolumeSphere, CGTmVariable, 1)

namespace {

constexpr float kPiF = 3.1415927f;
constexpr float kTwoPiF = 6.2831855f;
constexpr float kFourPiF = 12.566371f;
constexpr float kFourThirdsPiF = 4.1887903f;

float Area(const CGCylinder& c) {
    const float r = c.m_radius, h = c.m_height;
    return kTwoPiF * r * h + kTwoPiF * r * r;
}
float Area(const CGCone& c) {
    const float r = c.m_radius, h = c.m_height;
    return kPiF * r * (std::sqrt(r * r + h * h) + r);
}
float Area(const CGFrustum& f) {
    const float r = f.m_radius, h = f.m_height, k = f.m_topRatio;
    const float slant = std::sqrt(r * r * (1.0f - k) * (1.0f - k) + h * h);
    return kPiF * r * (1.0f + k) * slant + kPiF * r * r * (1.0f + k * k);
}
float Area(const CGSphere& s) {
    return kFourPiF * s.m_radius * s.m_radius;
}
float Volume(const CGCylinder& c) {
    return kPiF * c.m_radius * c.m_radius * c.m_height;
}
float Volume(const CGCone& c) {
    return kPiF * c.m_radius * c.m_radius * c.m_height / 3.0f;
}
float Volume(const CGFrustum& f) {
    const float k = f.m_topRatio;
    return kPiF * f.m_radius * f.m_radius * f.m_height * (k * k + k + 1.0f) / 3.0f;
}
float Volume(const CGSphere& s) {
    return kFourThirdsPiF * s.m_radius * s.m_radius * s.m_radius;
}

} // namespace

// "S ( 圆柱)" and "度量值：圆柱全面积"; "V ( 球)" and "度量值：球体积".
#define HX_SOLID_MEASUREMENT(c, solid, letter, compute, description)                                         \
    c::c(WORD id, WORD parent) {                                                                             \
        Construct(id, {parent});                                                                             \
        UpdateName();                                                                                        \
        Recompute();                                                                                         \
    }                                                                                                        \
    void c::UpdateName() {                                                                                   \
        const CString name = ParentName(0);                                                                  \
        SetNames(CString(letter u" ( ") + name + u")",                                                       \
                 CString(u"<_><e>" letter u"</e><e>") + name + u"</e></_>");                                 \
        CGTmVariable::UpdateName();                                                                          \
    }                                                                                                        \
    void c::Recompute() {                                                                                    \
        const solid* s = Parent<solid>(0);                                                                   \
        SetValue(s && s->m_valid, s && s->m_valid ? double(compute(*s)) : 0.0);                              \
    }                                                                                                        \
    CString c::GetDescription() {                                                                            \
        return HxFormat(description, ParentName(0));                                                         \
    }

HX_SOLID_MEASUREMENT(CGTmVarAreaCylinder, CGCylinder, u"S", Area, u"度量值：%s全面积")
HX_SOLID_MEASUREMENT(CGTmVarAreaCone, CGCone, u"S", Area, u"度量值：%s全面积")
HX_SOLID_MEASUREMENT(CGTmVarAreaFrustum, CGFrustum, u"S", Area, u"度量值：%s全面积")
HX_SOLID_MEASUREMENT(CGTmVarAreaSphere, CGSphere, u"S", Area, u"度量值：%s表面积")
HX_SOLID_MEASUREMENT(CGTmVarVolumeCylinder, CGCylinder, u"V", Volume, u"度量值：%s体积")
HX_SOLID_MEASUREMENT(CGTmVarVolumeCone, CGCone, u"V", Volume, u"度量值：%s体积")
HX_SOLID_MEASUREMENT(CGTmVarVolumeFrustum, CGFrustum, u"V", Volume, u"度量值：%s体积")
HX_SOLID_MEASUREMENT(CGTmVarVolumeSphere, CGSphere, u"V", Volume, u"度量值：%s体积")
