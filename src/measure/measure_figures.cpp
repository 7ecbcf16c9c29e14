// The measurements of figures: a polygon's area, a tetrahedron's volume, a circle's or arc's
// radius, area and length, a point's path parameter and its place on a line or an arc.  A face,
// circle or arc that is invalid makes its measurement invalid, as every other parent does.
#include "measure/measurements.h"

#include "model/arc.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGTmVarArea, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarVolume, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarRadius, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarAreaCircle, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarLenArc, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarPara, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarParaPInL, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVarParaPInY, CGTmVariable, 1)

namespace {

constexpr float kPiF = 3.1415927f;
constexpr float kTwoPiF = 6.2831855f;
constexpr double kTwoPi = 6.283185307179586;

template <class T> bool Usable(const T* cell) {
    return cell && cell->m_valid;
}

struct V {
    double x, y, z;
};
V Of(const CGVertex& p) {
    return {p.m_x, p.m_y, p.m_z};
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
double Norm(const V& a) {
    return std::sqrt(Dot(a, a));
}

// The radius of a circle, |U|, in single precision.
float RadiusOf(const CGArc& arc) {
    const float* u = arc.m_axisU;
    return std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
}

// Circles and discs are whole figures; arcs, sectors and segments take their part of the turn.
bool IsWhole(const CGArc& arc) {
    return arc.m_kind == CGArc::kCircle || arc.m_kind == CGArc::kDisc;
}

float SweepPart(const CGArc& arc) {
    return IsWhole(arc) ? 1.0f : std::fabs(arc.m_endAngle - arc.m_startAngle) / kTwoPiF;
}

CString Fmt(const char16_t* format, const CString& a) {
    return HxFormat(format, a);
}

// The common parts of the one-circle measurements: "r ( c)", "<_><e>r</e><e>c</e></_>".
CString CircleName(const char16_t* letter, const CString& c) {
    return CString(letter) + u" ( " + c + u")";
}
CString CircleMarkup(const char16_t* letter, const CString& c) {
    return CString(u"<_><e>") + letter + u"</e><e>" + c + u"</e></_>";
}

} // namespace

double HxArcSweepFraction(double theta, double start, double end) {
    auto reduce = [](double a) {
        a = std::fmod(a, kTwoPi);
        return a < 0.0 ? a + kTwoPi : a;
    };
    const double a = reduce(theta - start);
    const double s = reduce(end - start);
    // A sweep of no width has nothing to divide: the point counts as at its start.
    if (s < 1e-7)
        return 0.0;
    if (a <= s)
        return a / s;
    return 2.0 * a - s < kTwoPi ? 1.0 : 0.0;
}

// ---------------------------------------------------------------------------------------------
// Polygon area and tetrahedron volume

CGTmVarArea::CGTmVarArea(WORD id, WORD face) {
    Construct(id, {face});
    UpdateName();
    Recompute();
}

void CGTmVarArea::UpdateName() {
    const CString f = ParentName(0);
    SetNames(CircleName(u"S", f), CircleMarkup(u"S", f));
    CGTmVariable::UpdateName();
}

void CGTmVarArea::Recompute() {
    const CGFace* face = Parent<CGFace>(0);
    if (!Usable(face)) {
        SetValue(false, 0.0);
        return;
    }
    std::vector<V> corners;
    for (WORD id : face->m_parents) {
        const CGVertex* v = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(id));
        if (!v) {
            SetValue(false, 0.0);
            return;
        }
        corners.push_back(Of(*v));
    }
    // Each fan triangle counts with its own magnitude: exact for convex polygons.
    double area = 0.0;
    for (size_t i = 2; i < corners.size(); ++i)
        area += 0.5 * Norm(Cross(Sub(corners[i - 1], corners[0]), Sub(corners[i], corners[0])));
    SetValue(true, area);
}

CString CGTmVarArea::GetDescription() {
    return Fmt(u"度量值：多边形%s面积", ParentName(0));
}

CGTmVarVolume::CGTmVarVolume(WORD id, WORD a, WORD b, WORD c, WORD d) {
    Construct(id, {a, b, c, d});
    UpdateName();
    Recompute();
}

void CGTmVarVolume::UpdateName() {
    const CString a = ParentName(0), b = ParentName(1), c = ParentName(2), d = ParentName(3);
    SetNames(CString(u"V ( ") + a + b + c + d + u")",
             CString(u"<_><e>V</e><e>") + a + u"-" + b + c + d + u"</e></_>");
    CGTmVariable::UpdateName();
}

void CGTmVarVolume::Recompute() {
    const CGVertex* p[4];
    for (int i = 0; i < 4; ++i) {
        p[i] = Parent<CGVertex>(i);
        if (!Usable(p[i])) {
            SetValue(false, 0.0);
            return;
        }
    }
    const V a = Of(*p[0]);
    SetValue(true, std::fabs(Dot(Sub(Of(*p[1]), a), Cross(Sub(Of(*p[2]), a), Sub(Of(*p[3]), a)))) / 6.0);
}

CString CGTmVarVolume::GetDescription() {
    return HxFormat(u"度量值：四面体%s%s%s%s体积", ParentName(0), ParentName(1), ParentName(2),
                    ParentName(3));
}

// ---------------------------------------------------------------------------------------------
// Circles and arcs

#define HX_CIRCLE_MEASUREMENT(c, letter, description)                                                        \
    c::c(WORD id, WORD circle) {                                                                             \
        Construct(id, {circle});                                                                             \
        UpdateName();                                                                                        \
        Recompute();                                                                                         \
    }                                                                                                        \
    void c::UpdateName() {                                                                                   \
        const CString name = ParentName(0);                                                                  \
        SetNames(CircleName(letter, name), CircleMarkup(letter, name));                                      \
        CGTmVariable::UpdateName();                                                                          \
    }                                                                                                        \
    CString c::GetDescription() {                                                                            \
        return Fmt(description, ParentName(0));                                                              \
    }

HX_CIRCLE_MEASUREMENT(CGTmVarRadius, u"r", u"度量值：圆（弧）%s的半径")
HX_CIRCLE_MEASUREMENT(CGTmVarAreaCircle, u"S", u"度量值：圆（扇形）%s的面积")
HX_CIRCLE_MEASUREMENT(CGTmVarLenArc, u"P", u"度量值：圆（弧）%s的周长")

void CGTmVarRadius::Recompute() {
    const CGArc* arc = Parent<CGArc>(0);
    SetValue(Usable(arc), Usable(arc) ? RadiusOf(*arc) : 0.0);
}

void CGTmVarAreaCircle::Recompute() {
    const CGArc* arc = Parent<CGArc>(0);
    if (!Usable(arc)) {
        SetValue(false, 0.0);
        return;
    }
    const float r = RadiusOf(*arc);
    SetValue(true, kPiF * r * r * SweepPart(*arc));
}

void CGTmVarLenArc::Recompute() {
    const CGArc* arc = Parent<CGArc>(0);
    if (!Usable(arc)) {
        SetValue(false, 0.0);
        return;
    }
    SetValue(true, kTwoPiF * RadiusOf(*arc) * SweepPart(*arc));
}

// ---------------------------------------------------------------------------------------------
// Positions

CGTmVarPara::CGTmVarPara(WORD id, WORD point) {
    Construct(id, {point});
    UpdateName();
    Recompute();
}

void CGTmVarPara::UpdateName() {
    const CString p = ParentName(0);
    SetNames(CString(u"t (") + p + u")", Fmt(u"<_><e>t</e><e>%s</e></_>", p));
    CGTmVariable::UpdateName();
}

void CGTmVarPara::Recompute() {
    const CGVertex* p = Parent<CGVertex>(0);
    SetValue(Usable(p), Usable(p) ? double(p->m_param1) : 0.0);
}

CString CGTmVarPara::GetDescription() {
    return Fmt(u"度量值：%s点的动画参数", ParentName(0));
}

CGTmVarParaPInL::CGTmVarParaPInL(WORD id, WORD point, WORD line) {
    Construct(id, {point, line});
    UpdateName();
    Recompute();
}

void CGTmVarParaPInL::UpdateName() {
    const CString p = ParentName(0), l = ParentName(1);
    SetNames(p + u"在线" + l + u"上", HxFormat(u"<e>%s在线%s上</e>", p, l));
    CGTmVariable::UpdateName();
}

void CGTmVarParaPInL::Recompute() {
    const CGVertex* p = Parent<CGVertex>(0);
    const CGLine* line = Parent<CGLine>(1);
    const CGVertex* a = line ? line->GetEnd(0) : nullptr;
    const CGVertex* b = line ? line->GetEnd(1) : nullptr;
    if (!Usable(p) || !Usable(line) || !a || !b) {
        SetValue(false, 0.0);
        return;
    }
    const V d = Sub(Of(*b), Of(*a));
    const double dd = Dot(d, d);
    double t = dd < 1e-6 ? 0.0 : Dot(Sub(Of(*p), Of(*a)), d) / dd;
    switch (line->m_kind) {
    case CGLine::kRay:
        t = std::max(t, 0.0);
        break;
    case CGLine::kLine:
        break;
    default: // segments and vectors
        t = std::clamp(t, 0.0, 1.0);
        break;
    }
    SetValue(true, t);
}

CString CGTmVarParaPInL::GetDescription() {
    return HxFormat(u"点%s在线%s上的相对位置", ParentName(0), ParentName(1));
}

CGTmVarParaPInY::CGTmVarParaPInY(WORD id, WORD point, WORD circle) {
    Construct(id, {point, circle});
    UpdateName();
    Recompute();
}

void CGTmVarParaPInY::UpdateName() {
    const CString p = ParentName(0), c = ParentName(1);
    SetNames(p + u"在圆弧" + c + u"上", HxFormat(u"<e>%s在圆弧%s上</e>", p, c));
    CGTmVariable::UpdateName();
}

void CGTmVarParaPInY::Recompute() {
    const CGVertex* p = Parent<CGVertex>(0);
    const CGArc* arc = Parent<CGArc>(1);
    if (!Usable(p) || !Usable(arc)) {
        SetValue(false, 0.0);
        return;
    }
    const V u{arc->m_axisU[0], arc->m_axisU[1], arc->m_axisU[2]};
    const V v{arc->m_axisV[0], arc->m_axisV[1], arc->m_axisV[2]};
    const V c{arc->m_center[0], arc->m_center[1], arc->m_center[2]};
    const V w = Sub(Of(*p), c);
    // The angle of w's projection into the plane, from U towards V.
    const V n = Cross(u, v);
    const double nn = Dot(n, n);
    double theta = 0.0;
    if (nn > 0.0) {
        const double k = Dot(w, n) / nn;
        const V in{w.x - k * n.x, w.y - k * n.y, w.z - k * n.z};
        const double lu = Norm(u), li = Norm(in);
        if (lu > 0.0 && li > 1e-12) {
            theta = std::acos(std::clamp(Dot(in, u) / (lu * li), -1.0, 1.0));
            if (Dot(in, v) < 0.0)
                theta = kTwoPi - theta;
        }
    }
    if (IsWhole(*arc))
        SetValue(true, theta / kTwoPi);
    else
        SetValue(true, HxArcSweepFraction(theta, arc->m_startAngle, arc->m_endAngle));
}

CString CGTmVarParaPInY::GetDescription() {
    return HxFormat(u"点%s在圆弧%s上的相对位置", ParentName(0), ParentName(1));
}
