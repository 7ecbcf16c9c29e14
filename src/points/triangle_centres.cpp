// The triangle centres and the bisector points: their constructions in single precision, with the
// absolute degeneracy tolerances of each, and their descriptions.
#include "points/triangle_centres.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerBarycenter, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerExcenter, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIncenter, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerOrthocenter, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerEscenter, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerBisectorA, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerBisectorEA, CGVertex, 1)

namespace {

// Below this in size every component of the doubled area vector, the three points count as
// collinear (an absolute test in squared drawing units).
constexpr float kCollinear = 0.01f;
// Below this a perimeter or a length sum counts as zero.
constexpr float kTiny = 1e-6f;

float Distance(const float p[3], const float q[3]) {
    const float d[3] = {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
    return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

// wa A + wc C + (1 - wa - wc) B, the weights of the circumcentre and the orthocentre.
void Weighted(const float a[3], const float b[3], const float c[3], float wa, float wc, float out[3]) {
    const float wb = 1.0f - wa - wc;
    for (int i = 0; i < 3; ++i)
        out[i] = wa * a[i] + wc * c[i] + wb * b[i];
}

// The dot products of a = A - B and b = C - B, or false when the triangle is (nearly) flat.
bool SideProducts(const float a3[3], const float b3[3], const float c3[3], float& aa, float& bb, float& ab) {
    const float a[3] = {a3[0] - b3[0], a3[1] - b3[1], a3[2] - b3[2]};
    const float b[3] = {c3[0] - b3[0], c3[1] - b3[1], c3[2] - b3[2]};
    const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    if (std::fabs(n[0]) < kCollinear && std::fabs(n[1]) < kCollinear && std::fabs(n[2]) < kCollinear)
        return false;
    aa = a[0] * a[0] + a[1] * a[1] + a[2] * a[2];
    bb = b[0] * b[0] + b[1] * b[1] + b[2] * b[2];
    ab = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    return true;
}

// (|BC| A + sb |CA| B + |AB| C) / (|BC| + sb |CA| + |AB|): the incentre for sb = 1, the excentre at B
// for sb = -1; false while the divisor is below kTiny.
bool SideLengthCentre(const float a[3], const float b[3], const float c[3], float sb, float out[3]) {
    const float la = Distance(b, c), lb = sb * Distance(c, a), lc = Distance(a, b);
    const float p = la + lb + lc;
    if (p < kTiny)
        return false;
    for (int i = 0; i < 3; ++i)
        out[i] = (la * a[i] + lb * b[i] + lc * c[i]) / p;
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The common part

bool CGVerTriangle::ParentsUsable() const {
    return m_parents.GetSize() == 3 && CGVerDependent::ParentsUsable();
}

void CGVerTriangle::Corners(float a[3], float b[3], float c[3]) const {
    PointParent(0)->GetPosition(a);
    PointParent(1)->GetPosition(b);
    PointParent(2)->GetPosition(c);
}

CString CGVerTriangle::TriangleText(const char16_t* what) const {
    return CString(u"△") + PointParentName(0) + PointParentName(1) + PointParentName(2) + what;
}

// ---------------------------------------------------------------------------------------------
// Centroid

CGVerBarycenter::CGVerBarycenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerBarycenter::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    for (int i = 0; i < 3; ++i)
        out[i] = (a[i] + b[i] + c[i]) / 3.0f;
    return true;
}

CString CGVerBarycenter::GetDescription() {
    return TriangleText(u"的重心");
}

// ---------------------------------------------------------------------------------------------
// Circumcentre

CGVerExcenter::CGVerExcenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerExcenter::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    float aa, bb, ab;
    if (!SideProducts(a, b, c, aa, bb, ab))
        return false;
    const float d = 2.0f * (ab * ab - aa * bb);
    Weighted(a, b, c, (ab - aa) * bb / d, (ab - bb) * aa / d, out);
    return true;
}

CString CGVerExcenter::GetDescription() {
    return TriangleText(u"的外心");
}

// ---------------------------------------------------------------------------------------------
// Incentre

CGVerIncenter::CGVerIncenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerIncenter::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    return SideLengthCentre(a, b, c, 1.0f, out);
}

CString CGVerIncenter::GetDescription() {
    return TriangleText(u"的内心");
}

// ---------------------------------------------------------------------------------------------
// Orthocentre

CGVerOrthocenter::CGVerOrthocenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerOrthocenter::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    float aa, bb, ab;
    if (!SideProducts(a, b, c, aa, bb, ab))
        return false;
    const float d = ab * ab - aa * bb;
    Weighted(a, b, c, (ab - bb) * ab / d, (ab - aa) * ab / d, out);
    return true;
}

CString CGVerOrthocenter::GetDescription() {
    return TriangleText(u"的垂心");
}

// ---------------------------------------------------------------------------------------------
// Excentre

CGVerEscenter::CGVerEscenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerEscenter::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    return SideLengthCentre(a, b, c, -1.0f, out);
}

CString CGVerEscenter::GetDescription() {
    return TriangleText(u"的旁心");
}

// ---------------------------------------------------------------------------------------------
// Bisector points

CGVerBisectorA::CGVerBisectorA(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerBisectorA::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    const float l1 = Distance(b, c), l2 = Distance(b, a);
    const float s = l1 + l2 > kTiny ? l1 / (l1 + l2) : 0.0f;
    for (int i = 0; i < 3; ++i)
        out[i] = (1.0f - s) * c[i] + s * a[i];
    return true;
}

CString CGVerBisectorA::GetDescription() {
    CString text;
    text.Format(u"角%s%s%s的平分线上点", PointParentName(0), PointParentName(1), PointParentName(2));
    return text;
}

CGVerBisectorEA::CGVerBisectorEA(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
    : CGVerTriangle(id, vertexIndex, name, a, b, c) {
    Recompute();
}

bool CGVerBisectorEA::ComputePosition(float out[3]) {
    float a[3], b[3], c[3];
    Corners(a, b, c);
    const float l1 = Distance(b, c), l2 = Distance(b, a);
    if (std::fabs(l1 - l2) <= kTiny) {
        for (int i = 0; i < 3; ++i)
            out[i] = b[i] + (c[i] - a[i]);
        return true;
    }
    const float s = l1 / (l1 - l2);
    for (int i = 0; i < 3; ++i)
        out[i] = (1.0f - s) * c[i] + s * a[i];
    return true;
}

CString CGVerBisectorEA::GetDescription() {
    CString text;
    text.Format(u"角%s%s%s的外角平分线上点", PointParentName(0), PointParentName(1), PointParentName(2));
    return text;
}
