// The scaled and reflected points: their ratios, images in single precision, records and
// descriptions.
#include "points/scaled_points.h"

#include "measure/text_items.h"
#include "model/free_points.h"
#include "model/geometry.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerScaleP, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerScaleL, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerScaleM, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerScale, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerScaleO, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerSymmetry, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerSymmetryP, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerSymmetryL, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerSymmetryF, CGVertex, 1)

namespace {

// The ratio that stands in for a division by zero: far out, but a point all the same.
constexpr float kNoRatio = 10000.0f;

// P k + (1 - k) O for each coordinate.
void Dilate(const CGVertex& p, const CGVertex& o, float k, float out[3]) {
    out[0] = p.m_x * k + (1.0f - k) * o.m_x;
    out[1] = p.m_y * k + (1.0f - k) * o.m_y;
    out[2] = p.m_z * k + (1.0f - k) * o.m_z;
}

// 2 M - P for each coordinate.
void Mirror(const float m[3], const CGVertex& p, float out[3]) {
    out[0] = m[0] * 2.0f - p.m_x;
    out[1] = m[1] * 2.0f - p.m_y;
    out[2] = m[2] * 2.0f - p.m_z;
}

float LengthOf(const CGLine& line) {
    float a[3], b[3];
    HxLineEnds(line, a, b);
    const float dx = b[0] - a[0], dy = b[1] - a[1], dz = b[2] - a[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Dilations

CGVerScaleP::CGVerScaleP(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, WORD a, WORD c, WORD d)
    : CGVerConstructed(id, vertexIndex, name, {p, o, a, c, d}) {
    Recompute();
}

bool CGVerScaleP::ComputePosition(float out[3]) {
    const CGVertex& a = *PointParent(2);
    const CGVertex& c = *PointParent(3);
    const CGVertex& d = *PointParent(4);
    // The points are taken to be collinear: the first coordinate in which AD moves decides.
    const float dx = d.m_x - a.m_x, dy = d.m_y - a.m_y, dz = d.m_z - a.m_z;
    const float ex = c.m_x - a.m_x, ey = c.m_y - a.m_y, ez = c.m_z - a.m_z;
    float k = kNoRatio;
    if (dz != 0.0f)
        k = ez / dz;
    else if (dx != 0.0f)
        k = ex / dx;
    else if (dy != 0.0f)
        k = ey / dy;
    Dilate(*PointParent(0), *PointParent(1), k, out);
    return true;
}

CString CGVerScaleP::GetDescription() {
    return HxFormat(u"点%s以点%s为中心，按比 %s%s：%s%s 缩放的点", ParentName(0), ParentName(1),
                    ParentName(2), ParentName(3), ParentName(2), ParentName(4));
}

CGVerScaleL::CGVerScaleL(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, WORD l1, WORD l2)
    : CGVerConstructed(id, vertexIndex, name, {p, o, l1, l2}) {
    Recompute();
}

bool CGVerScaleL::ComputePosition(float out[3]) {
    // Only the lines' own valid flags count, not those of their points.
    const float s1 = LengthOf(*LineParent(2));
    const float s2 = LengthOf(*LineParent(3));
    const float k = s2 != 0.0f ? s1 / s2 : kNoRatio;
    Dilate(*PointParent(0), *PointParent(1), k, out);
    return true;
}

CString CGVerScaleL::GetDescription() {
    return HxFormat(u"点%s以点%s为中心，按比 |%s|：|%s| 缩放的点", ParentName(0), ParentName(1),
                    ParentName(2), ParentName(3));
}

CGVerScaleM::CGVerScaleM(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, WORD m)
    : CGVerConstructed(id, vertexIndex, name, {p, o, m}) {
    Recompute();
}

bool CGVerScaleM::ComputePosition(float out[3]) {
    Dilate(*PointParent(0), *PointParent(1), ValueParent(2)->m_param1, out);
    return true;
}

CString CGVerScaleM::GetDescription() {
    return HxFormat(u"点%s以点%s为中心，以值%s为比例缩放的点", ParentName(0), ParentName(1), ParentName(2));
}

CGVerScale::CGVerScale(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, float k)
    : CGVerConstructed(id, vertexIndex, name, {p, o}) {
    m_ratio = k;
    Recompute();
}

void CGVerScale::SerializeOwn(CArchive& ar) {
    HxSerializeFloats(ar, &m_ratio, 1);
}

bool CGVerScale::ComputePosition(float out[3]) {
    Dilate(*PointParent(0), *PointParent(1), m_ratio, out);
    return true;
}

CString CGVerScale::GetDescription() {
    return HxFormat(u"点%s以点%s为中心，按比%.4f缩放的点", ParentName(0), ParentName(1), double(m_ratio));
}

CGVerScaleO::CGVerScaleO(WORD id, DWORD vertexIndex, CString name, WORD p, float k)
    : CGVerConstructed(id, vertexIndex, name, {p}) {
    m_ratio = k;
    Recompute();
}

void CGVerScaleO::SerializeOwn(CArchive& ar) {
    HxSerializeFloats(ar, &m_ratio, 1);
}

bool CGVerScaleO::ComputePosition(float out[3]) {
    const CGVertex& p = *PointParent(0);
    out[0] = p.m_x * m_ratio;
    out[1] = p.m_y * m_ratio;
    out[2] = p.m_z * m_ratio;
    return true;
}

CString CGVerScaleO::GetDescription() {
    return HxFormat(u"点%s以原点为中心，按比%.4f缩放的点", ParentName(0), double(m_ratio));
}

// ---------------------------------------------------------------------------------------------
// Reflections

CGVerSymmetry::CGVerSymmetry(WORD id, DWORD vertexIndex, CString name, WORD p, BYTE mask)
    : CGVerConstructed(id, vertexIndex, name, {p}) {
    m_mask = mask;
    Recompute();
}

void CGVerSymmetry::SerializeOwn(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_mask;
    else
        ar >> m_mask;
}

bool CGVerSymmetry::ComputePosition(float out[3]) {
    PointParent(0)->GetPosition(out);
    for (int i = 0; i < 3; ++i) {
        if (m_mask & (1 << i))
            out[i] = -out[i];
    }
    return true;
}

CString CGVerSymmetry::ElementName(BYTE mask) {
    static const char16_t* const kNames[8] = {u"",      u"yoz面", u"xoz面", u"z轴",
                                              u"xoy面", u"y轴",   u"x轴",   u"原点"};
    return CString(mask < 8 ? kNames[mask] : u"");
}

CString CGVerSymmetry::GetDescription() {
    return HxFormat(u"点%s关于%s对称点", ParentName(0), ElementName(m_mask));
}

CGVerSymmetryP::CGVerSymmetryP(WORD id, DWORD vertexIndex, CString name, WORD p, WORD c)
    : CGVerConstructed(id, vertexIndex, name, {p, c}) {
    Recompute();
}

bool CGVerSymmetryP::ComputePosition(float out[3]) {
    float c[3];
    PointParent(1)->GetPosition(c);
    Mirror(c, *PointParent(0), out);
    return true;
}

CString CGVerSymmetryP::GetDescription() {
    return HxFormat(u"点%s关于点%s对称点", ParentName(0), ParentName(1));
}

CGVerSymmetryL::CGVerSymmetryL(WORD id, DWORD vertexIndex, CString name, WORD p, WORD l)
    : CGVerConstructed(id, vertexIndex, name, {p, l}) {
    Recompute();
}

bool CGVerSymmetryL::ComputePosition(float out[3]) {
    const CGVertex& p = *PointParent(0);
    float a[3], b[3], q[3], foot[3];
    HxLineEnds(*LineParent(1), a, b);
    p.GetPosition(q);
    // Only a line whose points coincide (closer than the foot routine's tolerance) has no mirror;
    // a foot on the line's first point is a foot like any other.
    const float d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    if (std::fabs(double(d[0]) * d[0] + double(d[1]) * d[1] + double(d[2]) * d[2]) < 1e-5)
        return false;
    FootOnLineF(q, a, b, foot);
    Mirror(foot, p, out);
    return true;
}

CString CGVerSymmetryL::GetDescription() {
    return HxFormat(u"点%s关于直线%s对称点", ParentName(0), ParentName(1));
}

CGVerSymmetryF::CGVerSymmetryF(WORD id, DWORD vertexIndex, CString name, WORD p, WORD f)
    : CGVerConstructed(id, vertexIndex, name, {p, f}) {
    Recompute();
}

bool CGVerSymmetryF::ComputePosition(float out[3]) {
    const CGVertex& p = *PointParent(0);
    float a[3], b[3], c[3], q[3], foot[3];
    HxPlanePoints(*FaceParent(1), a, b, c);
    p.GetPosition(q);
    // A degenerate plane falls back to a foot on one of its lines: there is always a mirror image.
    FootOnPlaneF(q, a, b, c, foot);
    Mirror(foot, p, out);
    return true;
}

CString CGVerSymmetryF::GetDescription() {
    return HxFormat(u"点%s关于平面%s对称点", ParentName(0), ParentName(1));
}
