// The fixed solids of revolution: construction, records (with the count of document textures) and
// descriptions.  Their drawing is in revolution_draw.cpp.
#include "solids/revolution.h"

IMPLEMENT_SERIAL(CGSphere, CGCell, 1)
IMPLEMENT_SERIAL(CGCylinder, CGCell, 1)
IMPLEMENT_SERIAL(CGCone, CGCell, 1)
IMPLEMENT_SERIAL(CGFrustum, CGCell, 1)

namespace {

void SerializeFloats(CArchive& ar, std::initializer_list<float*> fields) {
    for (float* f : fields) {
        if (ar.IsStoring())
            ar << *f;
        else
            ar >> *f;
    }
}

// Base centre, radius, height and axis: the record the cylinder and the cone share, which the
// frustum extends by its top ratio.
void SerializeFrame(CArchive& ar, CRevFrame& f) {
    SerializeFloats(ar, {&f.m_center[0], &f.m_center[1], &f.m_center[2], &f.m_radius, &f.m_height,
                         &f.m_axis[0], &f.m_axis[1], &f.m_axis[2]});
}

void SetFrame(CRevFrame& f, float cx, float cy, float cz, float radius, float height, float ax, float ay,
              float az) {
    f.m_center[0] = cx;
    f.m_center[1] = cy;
    f.m_center[2] = cz;
    f.m_radius = radius;
    f.m_height = height;
    f.m_axis[0] = ax;
    f.m_axis[1] = ay;
    f.m_axis[2] = az;
}

// New solids take the solid colour's red, green and blue and keep their own alpha.
void TakeSolidColor(CGCell& cell, const char16_t* name) {
    cell.m_name = name;
    cell.m_color.r = g_colorArcSolid.r;
    cell.m_color.g = g_colorArcSolid.g;
    cell.m_color.b = g_colorArcSolid.b;
}

} // namespace

// ---- Sphere ----

CGSphere::CGSphere() = default;

CGSphere::CGSphere(WORD id, float cx, float cy, float cz, float radius, float ax, float ay, float az) {
    m_id = id;
    m_center[0] = cx;
    m_center[1] = cy;
    m_center[2] = cz;
    m_radius = radius;
    m_axis[0] = ax;
    m_axis[1] = ay;
    m_axis[2] = az;
    TakeNewLook();
}

void CGSphere::TakeNewLook() {
    TakeSolidColor(*this, u"球");
}

void CGSphere::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    SerializeFloats(
        ar, {&m_center[0], &m_center[1], &m_center[2], &m_radius, &m_axis[0], &m_axis[1], &m_axis[2]});
    if (ar.IsStoring())
        HxCountTextureUse(m_param4);
}

CString CGSphere::GetDescription() {
    CString s;
    s.Format(u"以（%.4f，%.4f，%.4f）为球心，半径为%.4f.的球", m_center[0], m_center[1], m_center[2],
             m_radius);
    return s;
}

// ---- Cylinder ----

CGCylinder::CGCylinder() = default;

CGCylinder::CGCylinder(WORD id, float cx, float cy, float cz, float radius, float height, float ax, float ay,
                       float az) {
    m_id = id;
    SetFrame(*this, cx, cy, cz, radius, height, ax, ay, az);
    TakeNewLook();
}

void CGCylinder::TakeNewLook() {
    TakeSolidColor(*this, u"圆柱");
}

void CGCylinder::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    SerializeFrame(ar, *this);
    if (ar.IsStoring())
        HxCountTextureUse(m_param4);
}

CString CGCylinder::GetDescription() {
    CString s;
    s.Format(u"底面半径%.4f，高%.4f.的圆柱", m_radius, m_height);
    return s;
}

// ---- Cone ----

CGCone::CGCone() = default;

CGCone::CGCone(WORD id, float cx, float cy, float cz, float radius, float height, float ax, float ay,
               float az) {
    m_id = id;
    SetFrame(*this, cx, cy, cz, radius, height, ax, ay, az);
    TakeNewLook();
}

void CGCone::TakeNewLook() {
    TakeSolidColor(*this, u"圆锥");
}

void CGCone::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    SerializeFrame(ar, *this);
    if (ar.IsStoring())
        HxCountTextureUse(m_param4);
}

CString CGCone::GetDescription() {
    CString s;
    s.Format(u"底面半径%.4f，高%.4f的圆锥", m_radius, m_height);
    return s;
}

// ---- Frustum ----

CGFrustum::CGFrustum() = default;

CGFrustum::CGFrustum(WORD id, float cx, float cy, float cz, float radius, float height, float ax, float ay,
                     float az, float topRatio) {
    m_id = id;
    SetFrame(*this, cx, cy, cz, radius, height, ax, ay, az);
    m_topRatio = topRatio;
    TakeNewLook();
}

void CGFrustum::TakeNewLook() {
    TakeSolidColor(*this, u"圆台");
}

void CGFrustum::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    SerializeFrame(ar, *this);
    SerializeFloats(ar, {&m_topRatio});
    if (ar.IsStoring())
        HxCountTextureUse(m_param4);
}

CString CGFrustum::GetDescription() {
    CString s;
    s.Format(u"下底半径%.4f，上底半径%.4f，高%.4f.的圆台", m_radius, m_topRatio * m_radius, m_height);
    return s;
}
