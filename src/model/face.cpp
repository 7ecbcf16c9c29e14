// CGFace: construction, record, names and description, recomputation, the label dragged within the
// polygon, texture coordinates and the inside and nearest-edge queries.
#include "model/face.h"

#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGFace, CGCell, 1)

namespace {

struct V3 {
    double x, y, z;
};

V3 Pos(const CGVertex& p) {
    return {p.m_x, p.m_y, p.m_z};
}
// b - a, the difference taken in single precision.
V3 Diff(const CGVertex& b, const CGVertex& a) {
    return {double(b.m_x - a.m_x), double(b.m_y - a.m_y), double(b.m_z - a.m_z)};
}
V3 Diff(const float* b, const CGVertex& a) {
    return {double(b[0] - a.m_x), double(b[1] - a.m_y), double(b[2] - a.m_z)};
}
V3 Sub(const V3& a, const V3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const V3& a, const V3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

constexpr int kStartLabelTriangle = 1;
constexpr float kStartLabelWeight0 = 0.7f;
constexpr float kStartLabelWeightK = 0.1f;

} // namespace

CGFace::CGFace() = default;

CGFace::CGFace(WORD id, WORD p1, WORD p2, WORD p3, COLORREF color) {
    const WORD corners[] = {p1, p2, p3};
    Construct(id, corners, 3, color);
}

CGFace::CGFace(WORD id, WORD p1, WORD p2, WORD p3, WORD p4, COLORREF color) {
    const WORD corners[] = {p1, p2, p3, p4};
    Construct(id, corners, 4, color);
}

CGFace::CGFace(WORD id, const CList<WORD, WORD>& corners, COLORREF color) {
    std::vector<WORD> ids;
    for (WORD corner : corners) {
        if (int(ids.size()) == kMaxCorners)
            break;
        ids.push_back(corner);
    }
    Construct(id, ids.data(), int(ids.size()), color);
}

void CGFace::Construct(WORD id, const WORD* corners, int count, COLORREF color) {
    m_id = id;
    m_vertexCount = BYTE(count);
    m_vertexIndices.assign(size_t(count), 0);
    m_labelTriangle = kStartLabelTriangle;
    m_labelWeight0 = kStartLabelWeight0;
    m_labelWeightK = kStartLabelWeightK;
    m_param4 = 0;
    m_texCoords.clear();
    // The constructor names the face after all its corners; UpdateName keeps five at most.
    for (int i = 0; i < count; ++i) {
        AddParent(corners[i]);
        if (CGVertex* corner = GetCorner(i))
            m_name += corner->m_name;
    }
    RefreshVertexIndices();
    m_color.r = GetRValue(color);
    m_color.g = GetGValue(color);
    m_color.b = GetBValue(color);
    Recompute();
}

void CGFace::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_vertexCount << m_labelTriangle << m_labelWeight0 << m_labelWeightK;
        HxCountTextureUse(m_param4);
        return;
    }
    ar >> m_vertexCount >> m_labelTriangle >> m_labelWeight0 >> m_labelWeightK;
    // Every operation walks the corners by the count: it must be the parents' and make a polygon.
    if (m_vertexCount < 3 || m_vertexCount != m_parents.GetSize())
        throw CArchiveException(CArchiveException::badIndex);
    CheckLabelTriangle();
    m_vertexIndices.assign(m_vertexCount, 0); // filled when the page renumbers its vertex array
    m_texCoords.clear();
    m_texCoordsDirty = true;
}

void CGFace::CheckLabelTriangle() {
    const bool weightsUsable = std::isfinite(m_labelWeight0) && std::isfinite(m_labelWeightK);
    if (m_labelTriangle < 1 || m_labelTriangle > int(m_vertexCount) - 2 || !weightsUsable) {
        m_labelTriangle = kStartLabelTriangle;
        m_labelWeight0 = kStartLabelWeight0;
        m_labelWeightK = kStartLabelWeightK;
    }
}

CGVertex* CGFace::GetCorner(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[i]));
}

bool CGFace::GetCornerPositions(std::vector<const CGVertex*>& corners) const {
    corners.clear();
    if (m_vertexCount < 3 || m_parents.GetSize() != m_vertexCount)
        return false;
    for (int i = 0; i < m_vertexCount; ++i) {
        const CGVertex* corner = GetCorner(i);
        if (!corner)
            return false;
        corners.push_back(corner);
    }
    return true;
}

void CGFace::RefreshVertexIndices() {
    m_vertexIndices.resize(m_vertexCount, 0);
    for (int i = 0; i < m_vertexCount; ++i) {
        const CGVertex* corner = GetCorner(i);
        m_vertexIndices[size_t(i)] = corner ? corner->m_vertexIndex : 0;
    }
}

void CGFace::Recompute() {
    std::vector<const CGVertex*> corners;
    if (!GetCornerPositions(corners)) {
        m_valid = false;
        return;
    }
    for (const CGVertex* corner : corners) {
        if (!corner->m_valid) {
            m_valid = false;
            return;
        }
    }
    // Collinear, coincident or non-planar corners are drawn as they come.
    m_valid = true;
    PlaceLabel(corners);
    m_texCoordsDirty = true;
}

void CGFace::PlaceLabel(const std::vector<const CGVertex*>& corners) {
    CheckLabelTriangle();
    const CGVertex& p0 = *corners[0];
    const CGVertex& pk = *corners[size_t(m_labelTriangle)];
    const CGVertex& pk1 = *corners[size_t(m_labelTriangle) + 1];
    const float w0 = m_labelWeight0;
    const float wk = m_labelWeightK;
    const float wk1 = 1.0f - w0 - wk;
    m_labelPos[0] = w0 * p0.m_x + wk * pk.m_x + wk1 * pk1.m_x;
    m_labelPos[1] = w0 * p0.m_y + wk * pk.m_y + wk1 * pk1.m_y;
    m_labelPos[2] = w0 * p0.m_z + wk * pk.m_z + wk1 * pk1.m_z;
}

void CGFace::UpdateName() {
    if (m_nameFixed)
        return;
    CString name;
    const int count = std::min(int(m_vertexCount), 5);
    for (int i = 0; i < count; ++i) {
        if (const CGVertex* corner = GetCorner(i))
            name += corner->m_name;
    }
    m_name = name;
    m_flag2 = true;
}

CString CGFace::GetDescription() {
    CString text(u"点");
    for (int i = 0; i < m_parents.GetSize(); ++i) {
        if (i > 0)
            text += u"、";
        if (const CGVertex* corner = GetCorner(i))
            text += corner->m_name;
    }
    text += u"确定的面";
    return text;
}

void CGFace::MoveLabel() {
    std::vector<const CGVertex*> corners;
    if (!GetCornerPositions(corners))
        return;
    const CGVertex& p0 = *corners[0];
    const CGVertex& p1 = *corners[1];
    const V3 m = Cross(Diff(p0, p1), Diff(*corners[2], p1));
    const V3 nearPt{g_pickRayNear[0], g_pickRayNear[1], g_pickRayNear[2]};
    const V3 d = Sub(V3{g_pickRayFar[0], g_pickRayFar[1], g_pickRayFar[2]}, nearPt);
    const double dm = Dot(d, m);
    if (std::fabs(dm) < 1e-5)
        return; // the ray runs along the face's plane
    const double t = Dot(Sub(Pos(p1), nearPt), m) / dm;
    const V3 hit{nearPt.x + t * d.x, nearPt.y + t * d.y, nearPt.z + t * d.z};

    for (int k = 1; k + 1 < int(corners.size()); ++k) {
        const CGVertex& pk = *corners[size_t(k)];
        const CGVertex& pk1 = *corners[size_t(k) + 1];
        // hit - Pk+1 = s (P0 - Pk+1) + u (Pk - Pk+1), solved in the first coordinate plane in which
        // the triangle is not too thin.
        const V3 a = Diff(p0, pk1);
        const V3 b = Diff(pk, pk1);
        const V3 r = Sub(hit, Pos(pk1));
        const double ca[3] = {a.x, a.y, a.z};
        const double cb[3] = {b.x, b.y, b.z};
        const double cr[3] = {r.x, r.y, r.z};
        const int planes[3][2] = {{0, 1}, {1, 2}, {0, 2}};
        bool solved = false;
        double s = 0.0, u = 0.0;
        for (const auto& plane : planes) {
            const int i = plane[0], j = plane[1];
            const double det = ca[i] * cb[j] - cb[i] * ca[j];
            if (std::fabs(det) > 0.001) {
                s = (cr[i] * cb[j] - cr[j] * cb[i]) / det;
                u = (ca[i] * cr[j] - ca[j] * cr[i]) / det;
                solved = true;
                break;
            }
        }
        if (!solved)
            return;
        const double rest = 1.0 - s - u;
        if (s >= 0.0 && u >= 0.0 && rest >= 0.0) {
            m_labelPos[0] = float(hit.x);
            m_labelPos[1] = float(hit.y);
            m_labelPos[2] = float(hit.z);
            m_labelTriangle = k;
            m_labelWeight0 = float(s);
            m_labelWeightK = float(u);
            return;
        }
        if (s < 0.0 || (u < 0.0 && rest < 0.0))
            return; // outside the polygon
    }
}

void CGFace::ComputeTexCoords() {
    std::vector<const CGVertex*> corners;
    if (!GetCornerPositions(corners))
        return;
    const size_t n = corners.size();
    m_texCoords.assign(2 * n, 0.0f);
    std::vector<double> x(n, 0.0), y(n, 0.0);
    const CGVertex& p0 = *corners[0];
    const CGVertex& p1 = *corners[1];
    const double l01 = std::sqrt(std::max(Dot(Diff(p1, p0), Diff(p1, p0)), 1e-12));
    x[1] = l01;
    for (size_t i = 2; i < n; ++i) {
        const V3 toI = Diff(*corners[i], p0);
        const V3 fromP1 = Diff(*corners[i], p1);
        const double li2 = Dot(toI, toI);
        if (li2 < 1e-24)
            continue; // on corner 0: the origin of the unfolding
        const double li = std::sqrt(li2);
        // The sine is taken positive: all corners lie on one side of the first edge, as in a
        // convex face.
        const double c = std::clamp((li2 + l01 * l01 - Dot(fromP1, fromP1)) / (2.0 * li * l01), -1.0, 1.0);
        const double sn = std::sqrt(std::max(1.0 - c * c, 1e-12));
        x[i] = li * c;
        y[i] = li * sn;
    }
    double xMin = 1e35, yMin = 1e35, xMax = -1e35, yMax = -1e35;
    for (size_t i = 0; i < n; ++i) {
        xMin = std::min(xMin, x[i]);
        xMax = std::max(xMax, x[i]);
        yMin = std::min(yMin, y[i]);
        yMax = std::max(yMax, y[i]);
    }
    // A face without extent in a direction maps onto the edge of the image in that direction.
    const double width = xMax - xMin;
    const double height = yMax - yMin;
    for (size_t i = 0; i < n; ++i) {
        m_texCoords[2 * i] = width > 1e-12 ? float((x[i] - xMin) / width) : 0.0f;
        m_texCoords[2 * i + 1] = height > 1e-12 ? float((y[i] - yMin) / height) : 0.0f;
    }
    m_texCoordsDirty = false;
}

bool CGFace::TestPoint(const float q[3]) const {
    std::vector<const CGVertex*> corners;
    if (!GetCornerPositions(corners))
        return false;
    const V3 normal = Cross(Diff(*corners[1], *corners[0]), Diff(*corners[2], *corners[0]));
    const size_t n = corners.size();
    for (size_t i = 1; i <= n; ++i) {
        const CGVertex& start = *corners[i - 1];
        const CGVertex& end = *corners[i % n];
        if (Dot(Cross(Diff(end, start), Diff(q, start)), normal) < 0.0)
            return false;
    }
    return true;
}

void CGFace::NearestBoundaryPoint(const float q[3], float& x, float& y, float& z) const {
    std::vector<const CGVertex*> corners;
    if (!GetCornerPositions(corners)) {
        x = q[0];
        y = q[1];
        z = q[2];
        return;
    }
    const size_t n = corners.size();
    double best = 1e30;
    V3 nearest = Pos(*corners[0]);
    for (size_t i = 1; i <= n; ++i) {
        const CGVertex& a = *corners[i - 1];
        const CGVertex& b = *corners[i % n];
        const V3 ab = Diff(b, a);
        const V3 aq = Diff(q, a);
        const double length = std::sqrt(Dot(ab, ab));
        const double aq2 = Dot(aq, aq);
        double distance, t;
        if (length <= 0.0) {
            // A zero-length edge is its start point.
            distance = std::sqrt(aq2);
            t = 0.0;
        } else {
            const double p = Dot(aq, ab) / length;
            if (p < 0.0) {
                distance = std::sqrt(aq2);
                t = 0.0;
            } else if (p > length) {
                const V3 bq = Diff(q, b);
                distance = std::sqrt(Dot(bq, bq));
                t = 1.0;
            } else {
                distance = std::sqrt(std::max(aq2 - p * p, 0.0));
                t = p / length;
            }
        }
        if (distance < best) {
            best = distance;
            nearest = {a.m_x + t * ab.x, a.m_y + t * ab.y, a.m_z + t * ab.z};
        }
    }
    x = float(nearest.x);
    y = float(nearest.y);
    z = float(nearest.z);
}
