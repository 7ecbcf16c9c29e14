// The translated and rotated points: translations in single precision, the axes and angles of the
// rotations, their records and their descriptions.
#include "points/translated_points.h"

#include "measure/text_items.h"
#include "model/free_points.h"
#include "model/geometry.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerTranslate, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerTranslateM, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerTranslateStc, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerRotate, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerRotateA, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerRotateA2, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerRotateX, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerRotateXA, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerRotateXA2, CGVertex, 1)

namespace {

// Radians as the descriptions show them: degrees in single precision.
double Degrees(float radians) {
    return double(radians * 57.29578f);
}

// The oriented angle ABC (at B, from BA to BC).
float AngleOfPoints(const CGVertex* a, const CGVertex* b, const CGVertex* c) {
    float pa[3], pb[3], pc[3];
    a->GetPosition(pa);
    b->GetPosition(pb);
    c->GetPosition(pc);
    return RotationAngleF(pa, pb, pc);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Translations

CGVerTranslate::CGVerTranslate(WORD id, DWORD vertexIndex, CString name, WORD p, WORD a, WORD b)
    : CGVerConstructed(id, vertexIndex, name, {p, a, b}) {
    Recompute();
}

bool CGVerTranslate::ComputePosition(float out[3]) {
    const CGVertex& p = *PointParent(0);
    const CGVertex& a = *PointParent(1);
    const CGVertex& b = *PointParent(2);
    out[0] = (b.m_x + p.m_x) - a.m_x;
    out[1] = (b.m_y + p.m_y) - a.m_y;
    out[2] = (b.m_z + p.m_z) - a.m_z;
    return true;
}

CString CGVerTranslate::GetDescription() {
    return HxFormat(u"点%s按向量%s%s平移的点", ParentName(0), ParentName(1), ParentName(2));
}

CGVerTranslateM::CGVerTranslateM(WORD id, DWORD vertexIndex, CString name, WORD p, WORD v)
    : CGVerConstructed(id, vertexIndex, name, {p, v}) {
    Recompute();
}

bool CGVerTranslateM::ComputePosition(float out[3]) {
    const CGVertex& p = *PointParent(0);
    const CGTmVector& v = *VectorParent(1);
    out[0] = v.m_vx + p.m_x;
    out[1] = v.m_vy + p.m_y;
    out[2] = v.m_vz + p.m_z;
    return true;
}

CString CGVerTranslateM::GetDescription() {
    return HxFormat(u"点%s按向量%s平移的点", ParentName(0), ParentName(1));
}

CGVerTranslateStc::CGVerTranslateStc(WORD id, DWORD vertexIndex, CString name, WORD p, float dx, float dy,
                                     float dz)
    : CGVerConstructed(id, vertexIndex, name, {p}) {
    m_offset[0] = dx;
    m_offset[1] = dy;
    m_offset[2] = dz;
    Recompute();
}

void CGVerTranslateStc::SerializeOwn(CArchive& ar) {
    HxSerializeFloats(ar, m_offset, 3);
}

bool CGVerTranslateStc::ComputePosition(float out[3]) {
    return HxFollowerPosition(m_parents[0], m_offset, out) != FALSE;
}

CString CGVerTranslateStc::GetDescription() {
    return HxFormat(u"点%s按向量（%.4f,%.4f,%.4f）平移的点", ParentName(0), double(m_offset[0]),
                    double(m_offset[1]), double(m_offset[2]));
}

// ---------------------------------------------------------------------------------------------
// Rotations about a fixed axis

CGVerRotateFixedAxis::CGVerRotateFixedAxis(WORD id, DWORD vertexIndex, const CString& name,
                                           std::initializer_list<WORD> parents, float dirX, float dirY,
                                           float dirZ, float axisX, float axisY, float axisZ)
    : CGVerConstructed(id, vertexIndex, name, parents), m_direction{dirX, dirY, dirZ}, m_axisPoint{axisX,
                                                                                                   axisY,
                                                                                                   axisZ} {}

void CGVerRotateFixedAxis::SerializeOwn(CArchive& ar) {
    HxSerializeFloats(ar, m_direction, 3);
    HxSerializeFloats(ar, m_axisPoint, 3);
}

bool CGVerRotateFixedAxis::RotateP(float angle, float out[3]) const {
    // The turn needs a unit direction: one of another length would scale along the axis as well.
    const float* d = m_direction;
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;
    const float unit[3] = {d[0] / length, d[1] / length, d[2] / length};
    float p[3];
    PointParent(0)->GetPosition(p);
    RotatePointAboutAxisF(unit, m_axisPoint, angle, p, out);
    return true;
}

CString CGVerRotateFixedAxis::DescribeAxis() const {
    return HxFormat(u"点%s绕过点（%.4f,%.4f,%.4f）且方向为（%.4f,%.4f,%.4f）的轴旋转", ParentName(0),
                    double(m_axisPoint[0]), double(m_axisPoint[1]), double(m_axisPoint[2]),
                    double(m_direction[0]), double(m_direction[1]), double(m_direction[2]));
}

CGVerRotate::CGVerRotate(WORD id, DWORD vertexIndex, CString name, WORD p, float dirX, float dirY, float dirZ,
                         float axisX, float axisY, float axisZ, float angle)
    : CGVerRotateFixedAxis(id, vertexIndex, name, {p}, dirX, dirY, dirZ, axisX, axisY, axisZ) {
    m_angle = angle;
    Recompute();
}

void CGVerRotate::SerializeOwn(CArchive& ar) {
    CGVerRotateFixedAxis::SerializeOwn(ar);
    HxSerializeFloats(ar, &m_angle, 1);
}

bool CGVerRotate::ComputePosition(float out[3]) {
    return RotateP(m_angle, out);
}

CString CGVerRotate::GetDescription() {
    return DescribeAxis() + HxFormat(u"%.4f度的点", Degrees(m_angle));
}

CGVerRotateA::CGVerRotateA(WORD id, DWORD vertexIndex, CString name, WORD p, float dirX, float dirY,
                           float dirZ, float axisX, float axisY, float axisZ, WORD a, WORD b, WORD c)
    : CGVerRotateFixedAxis(id, vertexIndex, name, {p, a, b, c}, dirX, dirY, dirZ, axisX, axisY, axisZ) {
    Recompute();
}

bool CGVerRotateA::ComputePosition(float out[3]) {
    return RotateP(AngleOfPoints(PointParent(1), PointParent(2), PointParent(3)), out);
}

CString CGVerRotateA::GetDescription() {
    return DescribeAxis() + HxFormat(u"的点,转角等于∠%s%s%s", ParentName(1), ParentName(2), ParentName(3));
}

CGVerRotateA2::CGVerRotateA2(WORD id, DWORD vertexIndex, CString name, WORD p, float dirX, float dirY,
                             float dirZ, float axisX, float axisY, float axisZ, WORD m)
    : CGVerRotateFixedAxis(id, vertexIndex, name, {p, m}, dirX, dirY, dirZ, axisX, axisY, axisZ) {
    Recompute();
}

bool CGVerRotateA2::ComputePosition(float out[3]) {
    return RotateP(ValueParent(1)->m_param1, out);
}

CString CGVerRotateA2::GetDescription() {
    return DescribeAxis() + HxFormat(u"的点,转角等于度量值%s", ParentName(1));
}

// ---------------------------------------------------------------------------------------------
// Rotations about a centre point or an axis line

CGVerRotateAboutX::CGVerRotateAboutX(WORD id, DWORD vertexIndex, const CString& name,
                                     std::initializer_list<WORD> parents, BYTE selector)
    : CGVerConstructed(id, vertexIndex, name, parents) {
    m_extA1 = selector;
}

HxParentRole CGVerRotateAboutX::RoleOf(int i) const {
    if (i == 1 && !AboutCenter())
        return HxParentRole::Line;
    return HxParentRole::Point;
}

bool CGVerRotateAboutX::RotateP(float angle, float out[3]) const {
    float axisPoint[3];
    float d[3] = {0.0f, 0.0f, 1.0f};
    if (AboutCenter()) {
        PointParent(1)->GetPosition(axisPoint);
    } else {
        float end[3];
        HxLineEnds(*LineParent(1), axisPoint, end);
        for (int i = 0; i < 3; ++i)
            d[i] = end[i] - axisPoint[i];
        const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        // A line whose points coincide has no direction to turn about.
        if (!(length > 0.0f) || !std::isfinite(length))
            return false;
        for (float& v : d)
            v /= length;
    }
    float p[3];
    PointParent(0)->GetPosition(p);
    RotatePointAboutAxisF(d, axisPoint, angle, p, out);
    return true;
}

CString CGVerRotateAboutX::DescribeAxis() const {
    return HxFormat(AboutCenter() ? u"点%s绕中心%s" : u"点%s绕轴%s", ParentName(0), ParentName(1));
}

CGVerRotateX::CGVerRotateX(WORD id, DWORD vertexIndex, CString name, WORD p, WORD x, float angle,
                           BYTE selector)
    : CGVerRotateAboutX(id, vertexIndex, name, {p, x}, selector) {
    m_angle = angle;
    Recompute();
}

void CGVerRotateX::SerializeOwn(CArchive& ar) {
    HxSerializeFloats(ar, &m_angle, 1);
}

bool CGVerRotateX::ComputePosition(float out[3]) {
    return RotateP(m_angle, out);
}

CString CGVerRotateX::GetDescription() {
    return DescribeAxis() + HxFormat(u"旋转%.4f度的点", Degrees(m_angle));
}

CGVerRotateXA::CGVerRotateXA(WORD id, DWORD vertexIndex, CString name, WORD p, WORD x, WORD a, WORD b, WORD c,
                             BYTE selector)
    : CGVerRotateAboutX(id, vertexIndex, name, {p, x, a, b, c}, selector) {
    Recompute();
}

bool CGVerRotateXA::ComputePosition(float out[3]) {
    return RotateP(AngleOfPoints(PointParent(2), PointParent(3), PointParent(4)), out);
}

CString CGVerRotateXA::GetDescription() {
    return DescribeAxis() + HxFormat(u"旋转∠%s%s%s的点", ParentName(2), ParentName(3), ParentName(4));
}

CGVerRotateXA2::CGVerRotateXA2(WORD id, DWORD vertexIndex, CString name, WORD p, WORD x, WORD m,
                               BYTE selector)
    : CGVerRotateAboutX(id, vertexIndex, name, {p, x, m}, selector) {
    Recompute();
}

HxParentRole CGVerRotateXA2::RoleOf(int i) const {
    return i == 2 ? HxParentRole::Value : CGVerRotateAboutX::RoleOf(i);
}

bool CGVerRotateXA2::ComputePosition(float out[3]) {
    return RotateP(ValueParent(2)->m_param1, out);
}

CString CGVerRotateXA2::GetDescription() {
    return DescribeAxis() + HxFormat(u"旋转的点,转角为度量值%s", ParentName(2));
}
