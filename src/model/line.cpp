// CGLine: construction, record, name and description, recomputation, the label dragging and the
// line geometry (length, points at parameters, projection and the point nearest the mouse ray).
#include "model/line.h"

#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGLine, CGCell, 1)

namespace {

void Cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Scales the offset down to `limit` when it is longer.
void LimitLength(double v[3], double limit) {
    double length = std::sqrt(Dot(v, v));
    if (limit < length) {
        for (int i = 0; i < 3; ++i)
            v[i] *= limit / length;
    }
}

} // namespace

CGLine::CGLine() = default;

CGLine::CGLine(WORD id, WORD p1, WORD p2, BYTE kind) {
    m_id = id;
    AddParent(p1);
    AddParent(p2);
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (a && b) {
        m_name = a->m_name + b->m_name;
        m_labelPos[0] = (a->m_x + b->m_x) * 0.5f;
        m_labelPos[1] = (a->m_y + b->m_y) * 0.5f;
        m_labelPos[2] = (a->m_z + b->m_z) * 0.5f;
    }
    RefreshVertexIndices();
    m_kind = kind;
    m_labelT = 0.5f;
    for (float& v : m_labelOffset)
        v = 10.0f * g_unitLength;
    m_color.r = g_colorObject.r;
    m_color.g = g_colorObject.g;
    m_color.b = g_colorObject.b;
    Recompute();
}

void CGLine::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring())
        ar << m_labelT << m_labelOffset[0] << m_labelOffset[1] << m_labelOffset[2];
    else
        ar >> m_labelT >> m_labelOffset[0] >> m_labelOffset[1] >> m_labelOffset[2];
}

CGVertex* CGLine::GetEnd(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[i]));
}

void CGLine::RefreshVertexIndices() {
    for (int i = 0; i < 2; ++i) {
        if (CGVertex* end = GetEnd(i))
            m_vertexIndex[i] = end->m_vertexIndex;
    }
}

void CGLine::Recompute() {
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!a || !b || !a->m_valid || !b->m_valid) {
        m_valid = false;
        return;
    }
    m_valid = true;
    m_labelPos[0] = a->m_x + m_labelT * (b->m_x - a->m_x) + m_labelOffset[0];
    m_labelPos[1] = a->m_y + m_labelT * (b->m_y - a->m_y) + m_labelOffset[1];
    m_labelPos[2] = a->m_z + m_labelT * (b->m_z - a->m_z) + m_labelOffset[2];
}

void CGLine::UpdateName() {
    if (m_nameFixed)
        return;
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!a || !b)
        return;
    m_name = a->m_name + b->m_name;
    m_flag2 = true;
}

CString CGLine::GetDescription() {
    const char16_t* word = m_kind == kSegment ? u"线段"
                           : m_kind == kRay   ? u"射线"
                           : m_kind == kLine  ? u"直线"
                                              : u"向量";
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    CString text;
    text.Format(u"点%s、%s 确定的%s", a ? a->m_name : CString(), b ? b->m_name : CString(), word);
    return text;
}

float CGLine::GetLength() const {
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!a || !b)
        return 0.0f;
    double d[3] = {double(b->m_x - a->m_x), double(b->m_y - a->m_y), double(b->m_z - a->m_z)};
    return float(std::sqrt(Dot(d, d)));
}

void CGLine::PointAt(double t, double out[3]) const {
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!a || !b) {
        out[0] = out[1] = out[2] = 0.0;
        return;
    }
    out[0] = a->m_x + t * (double(b->m_x) - a->m_x);
    out[1] = a->m_y + t * (double(b->m_y) - a->m_y);
    out[2] = a->m_z + t * (double(b->m_z) - a->m_z);
}

float CGLine::ParameterOf(const float q[3]) const {
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!m_valid || !a || !b)
        return 0.0f;
    double d[3] = {double(b->m_x - a->m_x), double(b->m_y - a->m_y), double(b->m_z - a->m_z)};
    double length2 = Dot(d, d);
    if (length2 < 0.000001)
        return 0.0f;
    double w[3] = {double(q[0] - a->m_x), double(q[1] - a->m_y), double(q[2] - a->m_z)};
    double t = Dot(w, d) / length2;
    if (t > 1.0 && IsBounded())
        t = 1.0;
    if (t < 0.0 && m_kind != kLine)
        t = 0.0;
    return float(t);
}

bool CGLine::ClosestToMouseRay(const CGVertex& a, const CGVertex& b, float p[3], double& t) const {
    const double* nearPt = g_pickRayNear;
    double d[3] = {double(b.m_x - a.m_x), double(b.m_y - a.m_y), double(b.m_z - a.m_z)};
    double r[3] = {g_pickRayFar[0] - nearPt[0], g_pickRayFar[1] - nearPt[1], g_pickRayFar[2] - nearPt[2]};
    // m lies in the plane of d and r, square to r: the plane through the ray with normal m meets
    // the line where it passes closest to the ray.
    double c[3], m[3];
    Cross(d, r, c);
    Cross(r, c, m);
    double md = Dot(m, d);
    if (std::fabs(md) < 0.00001)
        return false;
    double w[3] = {nearPt[0] - a.m_x, nearPt[1] - a.m_y, nearPt[2] - a.m_z};
    double s = Dot(w, m) / md;
    p[0] = float(a.m_x + s * d[0]);
    p[1] = float(a.m_y + s * d[1]);
    p[2] = float(a.m_z + s * d[2]);
    double ad[3] = {std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])};
    if (ad[0] > ad[1] && ad[0] > ad[2])
        t = (double(p[0]) - a.m_x) / d[0];
    else if (ad[1] > ad[2])
        t = (double(p[1]) - a.m_y) / d[1];
    else if (ad[2] > 0.0)
        t = (double(p[2]) - a.m_z) / d[2];
    else
        t = 0.0;
    return true;
}

void CGLine::MoveLabel() {
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!a || !b)
        return;
    float p[3];
    double t;
    if (!ClosestToMouseRay(*a, *b, p, t))
        return;
    // The point of the ray closest to the line: the same construction with the roles swapped.
    const double* nearPt = g_pickRayNear;
    double d[3] = {double(b->m_x - a->m_x), double(b->m_y - a->m_y), double(b->m_z - a->m_z)};
    double r[3] = {g_pickRayFar[0] - nearPt[0], g_pickRayFar[1] - nearPt[1], g_pickRayFar[2] - nearPt[2]};
    double c[3], m[3];
    Cross(r, d, c);
    Cross(d, c, m);
    double mr = Dot(m, r);
    if (std::fabs(mr) < 0.00001)
        return;
    double w[3] = {a->m_x - nearPt[0], a->m_y - nearPt[1], a->m_z - nearPt[2]};
    double s = Dot(w, m) / mr;
    double q[3] = {nearPt[0] + s * r[0], nearPt[1] + s * r[1], nearPt[2] + s * r[2]};

    if ((IsBounded() && (t < 0.0 || t > 1.0)) || (m_kind == kRay && t < 0.0))
        return;
    m_labelT = float(t);
    double offset[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    LimitLength(offset, 40.0 * g_unitLength);
    for (int i = 0; i < 3; ++i) {
        m_labelOffset[i] = float(offset[i]);
        m_labelPos[i] = p[i] + m_labelOffset[i];
    }
}

BOOL CGLine::NearestPoint(float point[3], double& t, double& distance, int clampToSegment) const {
    CGVertex* a = GetEnd(0);
    CGVertex* b = GetEnd(1);
    if (!a || !b || !ClosestToMouseRay(*a, *b, point, t))
        return FALSE;
    const bool clamp = clampToSegment == 1;
    if (t > 1.0 && (IsBounded() || clamp)) {
        point[0] = b->m_x;
        point[1] = b->m_y;
        point[2] = b->m_z;
        t = 1.0;
    }
    if (t < 0.0 && (m_kind != kLine || clamp)) {
        point[0] = a->m_x;
        point[1] = a->m_y;
        point[2] = a->m_z;
        t = 0.0;
    }
    const double* nearPt = g_pickRayNear;
    double w[3] = {point[0] - nearPt[0], point[1] - nearPt[1], point[2] - nearPt[2]};
    double r[3] = {g_pickRayFar[0] - nearPt[0], g_pickRayFar[1] - nearPt[1], g_pickRayFar[2] - nearPt[2]};
    double r2 = Dot(r, r);
    double dist2 = Dot(w, w);
    if (r2 > 0.00001) {
        double wr = Dot(w, r);
        dist2 -= wr * wr / r2;
    }
    distance = std::sqrt(float(std::max(dist2, 0.0))); // rounding may leave a tiny negative
    return TRUE;
}
