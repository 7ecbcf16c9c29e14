// The vector items and the scalar measurements of vectors.  A parent of the wrong class (a damaged
// file) counts as missing: the item is invalid and keeps its last components or value.
#include "measure/vector_items.h"

#include "model/vertex.h"

#include <cmath>

IMPLEMENT_SERIAL(CGTmVectorPoint, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVectorPP, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVectorNface, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVectorAdd, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVectorMinus, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVectorCross, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVectorScaled, CGTmVector, 1)
IMPLEMENT_SERIAL(CGTmVarVectorLength, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVectorDot, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVecProduct, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVectorComponentX, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVectorComponentY, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVectorComponentZ, CGTmVariable, 1)

namespace {

struct V {
    double x = 0.0, y = 0.0, z = 0.0;
};
V Of(const CGVertex& p) {
    return {p.m_x, p.m_y, p.m_z};
}
V Of(const CGTmVector& v) {
    return {v.m_vx, v.m_vy, v.m_vz};
}
V Sub(const V& a, const V& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V Cross(const V& a, const V& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(const V& a, const V& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

template <class T> bool Usable(const T* cell) {
    return cell && cell->m_valid;
}

// Below this a normal has no direction: the three points are collinear.
constexpr double kNoNormal = 1e-12;

} // namespace

// ---------------------------------------------------------------------------------------------
// Vector items

CGTmVectorPoint::CGTmVectorPoint(WORD id, WORD point) {
    ConstructVector(id, {point});
    UpdateName();
    Recompute();
}

void CGTmVectorPoint::UpdateName() {
    const CString p = ParentName(0);
    SetNames(p, HxFormat(u"<e>%s</e>", p));
    CGTmVector::UpdateName();
}

void CGTmVectorPoint::Recompute() {
    const CGVertex* p = Parent<CGVertex>(0);
    const V v = Usable(p) ? Of(*p) : V{};
    SetVector(Usable(p), v.x, v.y, v.z);
}

CString CGTmVectorPoint::GetDescription() {
    return HxFormat(u"点%s的坐标", ParentName(0));
}

CGTmVectorPP::CGTmVectorPP(WORD id, WORD a, WORD b) {
    ConstructVector(id, {a, b});
    UpdateName();
    Recompute();
}

void CGTmVectorPP::UpdateName() {
    const CString a = ParentName(0), b = ParentName(1);
    SetNames(a + b, HxFormat(u"<v><e>%s%s</e></v>", a, b));
    CGTmVector::UpdateName();
}

void CGTmVectorPP::Recompute() {
    const CGVertex* a = Parent<CGVertex>(0);
    const CGVertex* b = Parent<CGVertex>(1);
    const bool ok = Usable(a) && Usable(b);
    const V d = ok ? Sub(Of(*b), Of(*a)) : V{};
    SetVector(ok, d.x, d.y, d.z);
}

CString CGTmVectorPP::GetDescription() {
    return HxFormat(u"向量%s%s的坐标", ParentName(0), ParentName(1));
}

CGTmVectorNface::CGTmVectorNface(WORD id, WORD a, WORD b, WORD c) {
    ConstructVector(id, {a, b, c});
    UpdateName();
    Recompute();
}

void CGTmVectorNface::UpdateName() {
    const CString a = ParentName(0), b = ParentName(1), c = ParentName(2);
    SetNames(HxFormat(u"n(%s%s%s)", a, b, c), HxFormat(u"<v><_><e>n</e><e>%s%s%s</e></_></v>", a, b, c));
    CGTmVector::UpdateName();
}

void CGTmVectorNface::Recompute() {
    const CGVertex* a = Parent<CGVertex>(0);
    const CGVertex* b = Parent<CGVertex>(1);
    const CGVertex* c = Parent<CGVertex>(2);
    if (!Usable(a) || !Usable(b) || !Usable(c)) {
        SetVector(false, 0, 0, 0);
        return;
    }
    const V n = Cross(Sub(Of(*b), Of(*a)), Sub(Of(*c), Of(*a)));
    const double length = std::sqrt(Dot(n, n));
    // Collinear points span no plane: no normal to show.
    if (!(length > kNoNormal)) {
        SetVector(false, 0, 0, 0);
        return;
    }
    SetVector(true, n.x / length, n.y / length, n.z / length);
}

CString CGTmVectorNface::GetDescription() {
    return HxFormat(u"平面%s%s%s的法向量", ParentName(0), ParentName(1), ParentName(2));
}

// Sums, differences and cross products: "[u]+[v]", "<l>u<e>+</e>v=</l>".
#define HX_VECTOR_OPERATION(c, sign, description, op)                                                        \
    c::c(WORD id, WORD u, WORD v) {                                                                          \
        ConstructVector(id, {u, v});                                                                         \
        UpdateName();                                                                                        \
        Recompute();                                                                                         \
    }                                                                                                        \
    void c::UpdateName() {                                                                                   \
        SetNames(HxFormat(u"[%s]" sign u"[%s]", ParentName(0), ParentName(1)),                               \
                 HxFormat(u"<l>%s<e>" sign u"</e>%s=</l>", ParentMarkup(0), ParentMarkup(1)));               \
        CGTmVector::UpdateName();                                                                            \
    }                                                                                                        \
    void c::Recompute() {                                                                                    \
        const CGTmVector* pu = Parent<CGTmVector>(0);                                                        \
        const CGTmVector* pv = Parent<CGTmVector>(1);                                                        \
        const bool ok = Usable(pu) && Usable(pv);                                                            \
        const V a = ok ? Of(*pu) : V{}, b = ok ? Of(*pv) : V{};                                              \
        const V r = op;                                                                                      \
        SetVector(ok, r.x, r.y, r.z);                                                                        \
    }                                                                                                        \
    CString c::GetDescription() {                                                                            \
        return HxFormat(description, ParentName(0), ParentName(1));                                          \
    }

HX_VECTOR_OPERATION(CGTmVectorAdd, u"+", u"向量%s，%s的和", (V{a.x + b.x, a.y + b.y, a.z + b.z}))
HX_VECTOR_OPERATION(CGTmVectorMinus, u"-", u"向量%s,%s的差", Sub(a, b))
HX_VECTOR_OPERATION(CGTmVectorCross, u"×", u"向量%s,%s的向量积", Cross(a, b))

CGTmVectorScaled::CGTmVectorScaled(WORD id, WORD k, WORD v) {
    ConstructVector(id, {k, v});
    UpdateName();
    Recompute();
}

void CGTmVectorScaled::UpdateName() {
    SetNames(HxFormat(u"[%s][%s]", ParentName(0), ParentName(1)),
             HxFormat(u"<l>%s%s=</l>", ParentMarkup(0), ParentMarkup(1)));
    CGTmVector::UpdateName();
}

void CGTmVectorScaled::Recompute() {
    const CGTmVariable* k = Parent<CGTmVariable>(0);
    const CGTmVector* v = Parent<CGTmVector>(1);
    const bool ok = Usable(k) && Usable(v);
    const double f = ok ? double(k->m_param1) : 0.0;
    const V a = ok ? Of(*v) : V{};
    SetVector(ok, f * a.x, f * a.y, f * a.z);
}

CString CGTmVectorScaled::GetDescription() {
    return HxFormat(u"数%s乘向量%s", ParentName(0), ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// Scalar measurements of vectors

CGTmVarVectorLength::CGTmVarVectorLength(WORD id, WORD v) {
    Construct(id, {v});
    UpdateName();
    Recompute();
}

void CGTmVarVectorLength::UpdateName() {
    SetNames(CString(u"|") + ParentName(0) + u"|", HxFormat(u"<b:type=3>%s</b>", ParentMarkup(0)));
    CGTmVariable::UpdateName();
}

void CGTmVarVectorLength::Recompute() {
    const CGTmVector* v = Parent<CGTmVector>(0);
    const V a = Usable(v) ? Of(*v) : V{};
    SetValue(Usable(v), std::sqrt(Dot(a, a)));
}

CString CGTmVarVectorLength::GetDescription() {
    return HxFormat(u"向量%s的模", ParentName(0));
}

CGTmVarVectorDot::CGTmVarVectorDot(WORD id, WORD u, WORD v) {
    Construct(id, {u, v});
    UpdateName();
    Recompute();
}

void CGTmVarVectorDot::UpdateName() {
    SetNames(CString(u"[") + ParentName(0) + u"]·" + u"[ " + ParentName(1) + u"]",
             HxFormat(u"<l>%s<e>·</e>%s</l>", ParentMarkup(0), ParentMarkup(1)));
    CGTmVariable::UpdateName();
}

void CGTmVarVectorDot::Recompute() {
    const CGTmVector* u = Parent<CGTmVector>(0);
    const CGTmVector* v = Parent<CGTmVector>(1);
    const bool ok = Usable(u) && Usable(v);
    SetValue(ok, ok ? Dot(Of(*u), Of(*v)) : 0.0);
}

CString CGTmVarVectorDot::GetDescription() {
    return HxFormat(u"向量%s与%s的数量积", ParentName(0), ParentName(1));
}

CGTmVarVecProduct::CGTmVarVecProduct(WORD id, WORD u, WORD v, WORD w) {
    Construct(id, {u, v, w});
    UpdateName();
    Recompute();
}

void CGTmVarVecProduct::UpdateName() {
    SetNames(
        CString(u"([ ") + ParentName(0) + u"]," + u"[ " + ParentName(1) + u"]," + u"[ " + ParentName(2) +
            u"])",
        HxFormat(u"<b><l>%s<e>,</e>%s<e>,</e>%s</l></b>", ParentMarkup(0), ParentMarkup(1), ParentMarkup(2)));
    CGTmVariable::UpdateName();
}

void CGTmVarVecProduct::Recompute() {
    const CGTmVector* u = Parent<CGTmVector>(0);
    const CGTmVector* v = Parent<CGTmVector>(1);
    const CGTmVector* w = Parent<CGTmVector>(2);
    const bool ok = Usable(u) && Usable(v) && Usable(w);
    SetValue(ok, ok ? Dot(Of(*u), Cross(Of(*v), Of(*w))) : 0.0);
}

CString CGTmVarVecProduct::GetDescription() {
    return HxFormat(u"向量%s、%s和%s的混合积", ParentName(0), ParentName(1), ParentName(2));
}

#define HX_VECTOR_COMPONENT(c, letter, member)                                                               \
    c::c(WORD id, WORD v) {                                                                                  \
        Construct(id, {v});                                                                                  \
        UpdateName();                                                                                        \
        Recompute();                                                                                         \
    }                                                                                                        \
    void c::UpdateName() {                                                                                   \
        SetNames(CString(letter u" (") + ParentName(0) + u")",                                               \
                 HxFormat(u"<_><e>" letter u"</e>%s</_>", ParentMarkup(0)));                                 \
        CGTmVariable::UpdateName();                                                                          \
    }                                                                                                        \
    void c::Recompute() {                                                                                    \
        const CGTmVector* v = Parent<CGTmVector>(0);                                                         \
        SetValue(Usable(v), Usable(v) ? double(v->member) : 0.0);                                            \
    }                                                                                                        \
    CString c::GetDescription() {                                                                            \
        return HxFormat(u"向量%s的" letter u"分量", ParentName(0));                                          \
    }

HX_VECTOR_COMPONENT(CGTmVarVectorComponentX, u"x", m_vx)
HX_VECTOR_COMPONENT(CGTmVarVectorComponentY, u"y", m_vy)
HX_VECTOR_COMPONENT(CGTmVarVectorComponentZ, u"z", m_vz)
