// The measurements of coordinates, distances and angles of points, lines and faces.
#include "measure/measurements.h"

#include "model/face.h"
#include "model/geometry.h"
#include "model/line.h"

#include <cmath>

IMPLEMENT_SERIAL(CGTmVarCoordX, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarCoordY, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarCoordZ, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarDistancePP, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarDistancePL, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarDistancePF, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarDistanceLL, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAngleLL, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAngleLF, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAngleFF, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAngleP3, CGTmVariable, 1)

namespace {

// Usable parents: present, of the class, valid.
template <class T> bool Usable(const T* cell) {
    return cell && cell->m_valid;
}

// A point's position.
struct CPos {
    float v[3];
    explicit CPos(const CGVertex& p) : v{p.m_x, p.m_y, p.m_z} {}
};

// The two points of a line, or false when it has not both.
bool LinePoints(const CGLine& line, float a[3], float b[3]) {
    const CGVertex* p = line.GetEnd(0);
    const CGVertex* q = line.GetEnd(1);
    if (!p || !q)
        return false;
    p->GetPosition(a);
    q->GetPosition(b);
    return true;
}

// The first three vertices of a face, or false when it has fewer.
bool FacePlane(const CGFace& face, float a[3], float b[3], float c[3]) {
    float* out[3] = {a, b, c};
    if (face.m_parents.GetSize() < 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        const CGVertex* v = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(face.m_parents[i]));
        if (!v)
            return false;
        v->GetPosition(out[i]);
    }
    return true;
}

CString Fmt(const char16_t* format, const CString& a) {
    return HxFormat(format, a);
}
CString Fmt(const char16_t* format, const CString& a, const CString& b) {
    return HxFormat(format, a, b);
}
CString Fmt(const char16_t* format, const CString& a, const CString& b, const CString& c) {
    return HxFormat(format, a, b, c);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Coordinates

#define HX_COORDINATE(c, axis, letter, upper)                                                                \
    c::c(WORD id, WORD point) {                                                                              \
        Construct(id, {point});                                                                              \
        UpdateName();                                                                                        \
        Recompute();                                                                                         \
    }                                                                                                        \
    void c::UpdateName() {                                                                                   \
        const CString p = ParentName(0);                                                                     \
        SetNames(CString(letter u" (") + p + u")", Fmt(u"<_><e>" letter u"</e><e>%s</e></_>", p));           \
        CGTmVariable::UpdateName();                                                                          \
    }                                                                                                        \
    void c::Recompute() {                                                                                    \
        const CGVertex* p = Parent<CGVertex>(0);                                                             \
        SetValue(Usable(p), Usable(p) ? double(p->axis) : 0.0);                                              \
    }                                                                                                        \
    CString c::GetDescription() {                                                                            \
        return Fmt(u"度量值：%s点的" upper u"坐标", ParentName(0));                                          \
    }

HX_COORDINATE(CGTmVarCoordX, m_x, u"x", u"X")
HX_COORDINATE(CGTmVarCoordY, m_y, u"y", u"Y")
HX_COORDINATE(CGTmVarCoordZ, m_z, u"z", u"Z")

// ---------------------------------------------------------------------------------------------
// Distances

CGTmVarDistancePP::CGTmVarDistancePP(WORD id, WORD a, WORD b) {
    Construct(id, {a, b});
    UpdateName();
    Recompute();
}

void CGTmVarDistancePP::UpdateName() {
    const CString name = CString(u"|") + ParentName(0) + ParentName(1) + u"|";
    SetNames(name, Fmt(u"<e>%s</e>", name));
    CGTmVariable::UpdateName();
}

void CGTmVarDistancePP::Recompute() {
    const CGVertex* a = Parent<CGVertex>(0);
    const CGVertex* b = Parent<CGVertex>(1);
    if (!Usable(a) || !Usable(b)) {
        SetValue(false, 0.0);
        return;
    }
    const double dx = double(b->m_x) - a->m_x, dy = double(b->m_y) - a->m_y, dz = double(b->m_z) - a->m_z;
    SetValue(true, std::sqrt(dx * dx + dy * dy + dz * dz));
}

CString CGTmVarDistancePP::GetDescription() {
    return Fmt(u"度量值：两点%s、%s间距离", ParentName(0), ParentName(1));
}

// The name and markup of the distances and angles between two elements: "d ( P, l)", "∠l, m".
#define HX_TWO_ELEMENT_NAMES(c, symbol, prefix, suffix)                                                      \
    void c::UpdateName() {                                                                                   \
        const CString a = ParentName(0), b = ParentName(1);                                                  \
        SetNames(CString(prefix) + a + u", " + b + suffix,                                                   \
                 Fmt(u"<_><e>" symbol u"</e><e>%s,%s</e></_>", a, b));                                       \
        CGTmVariable::UpdateName();                                                                          \
    }

HX_TWO_ELEMENT_NAMES(CGTmVarDistancePL, u"d", u"d ( ", u")")
HX_TWO_ELEMENT_NAMES(CGTmVarDistancePF, u"d", u"d ( ", u")")
HX_TWO_ELEMENT_NAMES(CGTmVarDistanceLL, u"d", u"d ( ", u")")
HX_TWO_ELEMENT_NAMES(CGTmVarAngleLL, u"∠", u"∠", u"")
HX_TWO_ELEMENT_NAMES(CGTmVarAngleLF, u"∠", u"∠", u"")
HX_TWO_ELEMENT_NAMES(CGTmVarAngleFF, u"∠", u"∠", u"")

CGTmVarDistancePL::CGTmVarDistancePL(WORD id, WORD point, WORD line) {
    Construct(id, {point, line});
    UpdateName();
    Recompute();
}

void CGTmVarDistancePL::Recompute() {
    const CGVertex* p = Parent<CGVertex>(0);
    const CGLine* line = Parent<CGLine>(1);
    float a[3], b[3];
    if (!Usable(p) || !Usable(line) || !LinePoints(*line, a, b)) {
        SetValue(false, 0.0);
        return;
    }
    const double d[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    const double w[3] = {double(p->m_x) - a[0], double(p->m_y) - a[1], double(p->m_z) - a[2]};
    double s = w[0] * w[0] + w[1] * w[1] + w[2] * w[2];
    const double dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    if (std::fabs(dd) > 1e-5) {
        const double wd = w[0] * d[0] + w[1] * d[1] + w[2] * d[2];
        s -= wd * wd / dd;
    }
    // A point on the line can come out a hair below zero.
    SetValue(true, std::sqrt(std::max(s, 0.0)));
}

CString CGTmVarDistancePL::GetDescription() {
    return Fmt(u"度量值：点%s到直线%s的距离", ParentName(0), ParentName(1));
}

CGTmVarDistancePF::CGTmVarDistancePF(WORD id, WORD point, WORD face) {
    Construct(id, {point, face});
    UpdateName();
    Recompute();
}

void CGTmVarDistancePF::Recompute() {
    const CGVertex* p = Parent<CGVertex>(0);
    const CGFace* face = Parent<CGFace>(1);
    float v0[3], v1[3], v2[3];
    if (!Usable(p) || !Usable(face) || !FacePlane(*face, v0, v1, v2)) {
        SetValue(false, 0.0);
        return;
    }
    SetValue(true, DistancePointPlaneF(CPos(*p).v, v0, v1, v2));
}

CString CGTmVarDistancePF::GetDescription() {
    return Fmt(u"度量值：点%s到平面%s的距离", ParentName(0), ParentName(1));
}

CGTmVarDistanceLL::CGTmVarDistanceLL(WORD id, WORD line1, WORD line2) {
    Construct(id, {line1, line2});
    UpdateName();
    Recompute();
}

void CGTmVarDistanceLL::Recompute() {
    const CGLine* l = Parent<CGLine>(0);
    const CGLine* m = Parent<CGLine>(1);
    float a[3], b[3], c[3], d[3];
    if (!Usable(l) || !Usable(m) || !LinePoints(*l, a, b) || !LinePoints(*m, c, d)) {
        SetValue(false, 0.0);
        return;
    }
    SetValue(true, DistanceLinesF(a, b, c, d));
}

CString CGTmVarDistanceLL::GetDescription() {
    return Fmt(u"度量值：直线%s与直线%s间距离", ParentName(0), ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// Angles: they write their own text in degrees; an invalid parent shows the undefined value.

namespace {
void SetAngle(CGTmVariable& item, bool ok, float radians) {
    if (!ok) {
        item.m_valid = false;
        item.FormatValue();
        return;
    }
    item.m_param1 = radians;
    item.FormatAngle();
}
} // namespace

CGTmVarAngleLL::CGTmVarAngleLL(WORD id, WORD line1, WORD line2) {
    Construct(id, {line1, line2});
    UpdateName();
    Recompute();
}

void CGTmVarAngleLL::Recompute() {
    const CGLine* l = Parent<CGLine>(0);
    const CGLine* m = Parent<CGLine>(1);
    float a[3], b[3], c[3], d[3];
    const bool ok = Usable(l) && Usable(m) && LinePoints(*l, a, b) && LinePoints(*m, c, d);
    SetAngle(*this, ok, ok ? AngleBetweenLinesF(a, b, c, d) : 0.0f);
}

CString CGTmVarAngleLL::GetDescription() {
    return Fmt(u"度量值：直线%s与直线%s所成角", ParentName(0), ParentName(1));
}

CGTmVarAngleLF::CGTmVarAngleLF(WORD id, WORD line, WORD face) {
    Construct(id, {line, face});
    UpdateName();
    Recompute();
}

void CGTmVarAngleLF::Recompute() {
    const CGLine* l = Parent<CGLine>(0);
    const CGFace* f = Parent<CGFace>(1);
    float a[3], b[3], v0[3], v1[3], v2[3];
    const bool ok = Usable(l) && Usable(f) && LinePoints(*l, a, b) && FacePlane(*f, v0, v1, v2);
    SetAngle(*this, ok, ok ? AngleLinePlaneF(a, b, v0, v1, v2) : 0.0f);
}

CString CGTmVarAngleLF::GetDescription() {
    return Fmt(u"度量值：直线%s与平面%s所成角", ParentName(0), ParentName(1));
}

CGTmVarAngleFF::CGTmVarAngleFF(WORD id, WORD face1, WORD face2) {
    Construct(id, {face1, face2});
    UpdateName();
    Recompute();
}

void CGTmVarAngleFF::Recompute() {
    const CGFace* f = Parent<CGFace>(0);
    const CGFace* g = Parent<CGFace>(1);
    float a[3], b[3], c[3], d[3], e[3], h[3];
    const bool ok = Usable(f) && Usable(g) && FacePlane(*f, a, b, c) && FacePlane(*g, d, e, h);
    SetAngle(*this, ok, ok ? DihedralAngleF(a, b, c, d, e, h) : 0.0f);
}

CString CGTmVarAngleFF::GetDescription() {
    return Fmt(u"度量值：二平面%s、%s所成角", ParentName(0), ParentName(1));
}

CGTmVarAngleP3::CGTmVarAngleP3(WORD id, WORD a, WORD b, WORD c) {
    Construct(id, {a, b, c});
    UpdateName();
    Recompute();
}

void CGTmVarAngleP3::UpdateName() {
    const CString name = CString(u"∠") + ParentName(0) + ParentName(1) + ParentName(2);
    SetNames(name, Fmt(u"<e>%s</e>", name));
    CGTmVariable::UpdateName();
}

void CGTmVarAngleP3::Recompute() {
    const CGVertex* a = Parent<CGVertex>(0);
    const CGVertex* b = Parent<CGVertex>(1);
    const CGVertex* c = Parent<CGVertex>(2);
    const bool ok = Usable(a) && Usable(b) && Usable(c);
    SetAngle(*this, ok, ok ? AngleThreePointsF(CPos(*a).v, CPos(*b).v, CPos(*c).v) : 0.0f);
}

CString CGTmVarAngleP3::GetDescription() {
    return Fmt(u"度量值：∠%s%s%s", ParentName(0), ParentName(1), ParentName(2));
}
