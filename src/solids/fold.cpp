// CGFold: the unfolding tree of a hull's faces, the fold factor of each level, and the drawing of the
// net through a chain of hinge transforms.
#include "solids/fold.h"

#include "model/cell_draw.h"
#include "solids/polyhedron.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

IMPLEMENT_SERIAL(CGFold, CGCell, 1)

int32_t g_nextNetTexture = 8;

namespace {

constexpr double kEps = 0.0001;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegrees = 57.29577951308232;
constexpr int32_t kFirstNetTexture = 8;
constexpr int32_t kLastNetTexture = 14;

// acos of a cosine that rounding may have pushed slightly past ±1; no angle for a cosine that is not
// a number at all (a zero-length vector).
double SafeAcos(double c) {
    if (!std::isfinite(c))
        return 0.0;
    return std::acos(std::clamp(c, -1.0, 1.0));
}

double SafeSqrt(double v) {
    return v > 0.0 ? std::sqrt(v) : 0.0;
}

uint64_t EdgeKey(int32_t u, int32_t v) {
    return (uint64_t(uint32_t(u)) << 32) | uint32_t(v);
}

PolyPoint Unit(const PolyPoint& p) {
    const double length = Length(p);
    return length > kEps ? p * (1.0 / length) : p;
}

int32_t TakeNetTexture() {
    if (g_nextNetTexture < kFirstNetTexture || g_nextNetTexture > kLastNetTexture)
        g_nextNetTexture = kFirstNetTexture;
    const int32_t texture = g_nextNetTexture;
    g_nextNetTexture = texture >= kLastNetTexture ? kFirstNetTexture : texture + 1;
    return texture;
}

// A face laid flat: corner 0 at the origin, corner 1 on the negative x axis, the others at y ≥ 0 by
// their distances from corners 0 and 1.
std::vector<FoldPoint2> LayFlat(const std::vector<int32_t>& loop, const std::vector<PolyPoint>& P) {
    std::vector<FoldPoint2> polygon(loop.size());
    if (loop.size() < 2)
        return polygon;
    const PolyPoint& p0 = P[size_t(loop[0])];
    const PolyPoint& p1 = P[size_t(loop[1])];
    const double base = Length(p1 - p0);
    polygon[1] = FoldPoint2{-base, 0.0};
    for (size_t k = 2; k < loop.size(); ++k) {
        const PolyPoint& pk = P[size_t(loop[k])];
        const double d = Length(pk - p0);
        const double far = Length(p1 - pk);
        const double denominator = 2.0 * d * base;
        double c = denominator > 0.0 ? (d * d + base * base - far * far) / denominator : 1.0;
        c = std::isfinite(c) ? std::clamp(c, -1.0, 1.0) : 1.0;
        polygon[k] = FoldPoint2{-d * c, d * SafeSqrt(1.0 - c * c)};
    }
    return polygon;
}

std::vector<FoldPoint2> TextureCoordinates(const std::vector<FoldPoint2>& polygon) {
    std::vector<FoldPoint2> coords(polygon.size());
    if (polygon.empty())
        return coords;
    double minX = polygon[0].x, maxX = minX, minY = polygon[0].y, maxY = minY;
    for (const FoldPoint2& p : polygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double w = maxX - minX, h = maxY - minY;
    for (size_t i = 0; i < polygon.size(); ++i)
        coords[i] =
            FoldPoint2{w > 0.0 ? (polygon[i].x - minX) / w : 0.0, h > 0.0 ? (polygon[i].y - minY) / h : 0.0};
    return coords;
}

} // namespace

double PlanarAngle(const FoldPoint2& p, const FoldPoint2& q) {
    const double theta =
        SafeAcos((p.x * q.x + p.y * q.y) / std::sqrt((p.x * p.x + p.y * p.y) * (q.x * q.x + q.y * q.y)));
    const double z = p.x * q.y - q.x * p.y;
    if (z < -kEps)
        return kTwoPi - theta;
    if (z > kEps)
        return theta;
    return theta > 1.57 ? kPi : 0.0;
}

FoldPoint2 PlaceByDistances(const FoldPoint2& A, const FoldPoint2& B, const FoldPoint2& Q) {
    auto squared = [](const FoldPoint2& p, const FoldPoint2& q) {
        return (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y);
    };
    const double qa = squared(A, Q);
    const double ab = squared(A, B);
    const double s = 2.0 * std::sqrt(qa * ab);
    if (std::fabs(s) <= kEps)
        return A;
    const double c = std::clamp(-(qa + ab - squared(B, Q)) / s, -1.0, 1.0);
    return FoldPoint2{std::sqrt(qa) * c, SafeSqrt(1.0 - c * c) * std::sqrt(qa)};
}

CGFold::CGFold() = default;

CGFold::CGFold(WORD id, WORD hullId, const CString& name, BYTE style, int32_t spreadMode) {
    m_id = id;
    m_name = name;
    m_style = style;
    m_spreadMode = spreadMode;
    AddParent(hullId);
    m_param1 = 1.0f;
    if (auto* hull = DYNAMIC_DOWNCAST(CGPolyhedron, HxFindCell(hullId))) {
        hull->m_style = CGPolyhedron::kStyleVisible;
        BuildUnfoldingTree(*hull);
    }
}

void CGFold::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring())
        ar << m_spreadMode;
    else
        ar >> m_spreadMode;
}

void CGFold::Recompute() {
    CGPolyhedron* hull =
        m_parents.IsEmpty() ? nullptr : DYNAMIC_DOWNCAST(CGPolyhedron, HxFindCell(m_parents[0]));
    if (hull) {
        BuildUnfoldingTree(*hull);
        return;
    }
    m_nodes.clear();
    m_root = -1;
    m_deepestLevel = 0;
}

CString CGFold::GetDescription() {
    return CString(u"多面体展开图");
}

void CGFold::BuildUnfoldingTree(CGPolyhedron& hull) {
    m_nodes.clear();
    m_root = -1;
    m_deepestLevel = 0;
    std::vector<PolyFace>& faces = hull.m_faces;
    const std::vector<PolyPoint>& P = hull.m_points;
    if (faces.empty())
        return;

    // Centres, the base face (lowest centre) and every face's height above the base plane.
    size_t base = 0;
    for (size_t f = 0; f < faces.size(); ++f) {
        PolyFace& face = faces[f];
        PolyPoint sum;
        for (int32_t v : face.loop)
            sum = sum + P[size_t(v)];
        const double count = face.loop.empty() ? 1.0 : double(face.loop.size());
        face.centre[0] = sum.x / count;
        face.centre[1] = sum.y / count;
        face.centre[2] = sum.z / count;
        if (face.centre[2] < faces[base].centre[2])
            base = f;
    }
    const PolyFace basePlane = faces[base];
    for (PolyFace& face : faces)
        face.height = -basePlane.Evaluate(MakePoint(face.centre[0], face.centre[1], face.centre[2]));
    // A plane read from a damaged file may give no number: such faces sort last.
    auto key = [](double h) { return std::isnan(h) ? std::numeric_limits<double>::infinity() : h; };
    std::stable_sort(faces.begin(), faces.end(),
                     [&](const PolyFace& a, const PolyFace& b) { return key(a.height) < key(b.height); });

    // One node per face, and which face owns each directed edge.
    std::unordered_map<uint64_t, int> edgeOwner;
    m_nodes.resize(faces.size());
    for (size_t f = 0; f < faces.size(); ++f) {
        const PolyFace& face = faces[f];
        FoldNode& node = m_nodes[f];
        node.polygon = LayFlat(face.loop, P);
        const size_t n = face.loop.size();
        for (size_t k = 0; k < n; ++k)
            edgeOwner[EdgeKey(face.loop[k], face.loop[(k + 1) % n])] = int(f);
        node.normal[0] = face.a;
        node.normal[1] = face.b;
        node.normal[2] = face.c;
        node.height = face.height;
        node.texture = TakeNetTexture();
        node.texCoords = TextureCoordinates(node.polygon);
    }
    // Neighbours across each edge: the face with the reverse edge, or none where the set is open.
    for (size_t f = 0; f < faces.size(); ++f) {
        const std::vector<int32_t>& loop = faces[f].loop;
        FoldNode& node = m_nodes[f];
        const size_t n = loop.size();
        node.neighbours.assign(n, -1);
        node.normalAngles.assign(n, 0.0);
        const PolyPoint ni = MakePoint(node.normal[0], node.normal[1], node.normal[2]);
        for (size_t k = 0; k < n; ++k) {
            auto it = edgeOwner.find(EdgeKey(loop[(k + 1) % n], loop[k]));
            if (it == edgeOwner.end())
                continue;
            const int j = it->second;
            node.neighbours[k] = j;
            const FoldNode& other = m_nodes[size_t(j)];
            const PolyPoint nj = MakePoint(other.normal[0], other.normal[1], other.normal[2]);
            node.normalAngles[k] = SafeAcos(Dot(ni, nj) / (Length(ni) * Length(nj)));
        }
    }

    // The root: the base face turned from the horizontal plane through its first corner into place.
    FoldNode& root = m_nodes[0];
    m_root = 0;
    root.placed = true;
    root.level = 0;
    const std::vector<int32_t>& rootLoop = faces[0].loop;
    if (!rootLoop.empty()) {
        const PolyPoint& p0 = P[size_t(rootLoop[0])];
        m_position[0] = p0.x;
        m_position[1] = p0.y;
        m_position[2] = p0.z;
    }
    if (rootLoop.size() >= 2) {
        const PolyPoint u = Unit(P[size_t(rootLoop[0])] - P[size_t(rootLoop[1])]);
        const PolyPoint m = Unit(faces[0].Normal() * -1.0);
        PolyPoint w{1.0, 0.0, 0.0};
        if (std::fabs(m.x) > kEps || std::fabs(m.y) > kEps) {
            w = Unit(MakePoint(-m.y, m.x, 0.0));
            root.hingeAngle = PlanarAngle(FoldPoint2{1.0, 0.0}, FoldPoint2{w.x, w.y}) * kDegrees;
            root.foldAngle = SafeAcos(m.z) * kDegrees;
        }
        root.ownAngle = SafeAcos(Dot(w, u)) * kDegrees;
        if (Dot(Cross(w, u), m) < 0.0)
            root.ownAngle = 360.0 - root.ownAngle;
    }

    // Hinge the other faces on their lowest placed neighbour, pass after pass, until every face is
    // placed or a pass places none (a face set that is not closed or not connected).
    for (bool placedAny = true, waiting = true; placedAny && waiting;) {
        placedAny = false;
        waiting = false;
        for (size_t i = 0; i < m_nodes.size(); ++i) {
            FoldNode& node = m_nodes[i];
            if (node.placed)
                continue;
            int parent = -1;
            size_t k = 0;
            for (size_t e = 0; e < node.neighbours.size(); ++e) {
                const int j = node.neighbours[e];
                if (j < 0 || !m_nodes[size_t(j)].placed)
                    continue;
                if (parent < 0 || m_nodes[size_t(j)].height < m_nodes[size_t(parent)].height) {
                    parent = j;
                    k = e;
                }
            }
            if (parent < 0) {
                waiting = true;
                continue;
            }
            placedAny = true;
            FoldNode& hinge = m_nodes[size_t(parent)];
            hinge.children.push_back(int(i));
            node.parent = parent;
            node.level = hinge.level + 1;
            m_deepestLevel = std::max(m_deepestLevel, node.level);
            node.edge = int32_t(k);
            node.placed = true;
            auto at = std::find(hinge.neighbours.begin(), hinge.neighbours.end(), int(i));
            if (at == hinge.neighbours.end())
                continue; // the edge is not shared both ways: the face stays in its parent's frame
            const size_t j = size_t(at - hinge.neighbours.begin());
            node.parentEdge = int32_t(j);
            const size_t n = node.polygon.size(), hn = hinge.polygon.size();
            const FoldPoint2& A = node.polygon[k];
            const FoldPoint2& B = node.polygon[(k + 1) % n];
            const FoldPoint2& E = hinge.polygon[j];
            const FoldPoint2& F = hinge.polygon[(j + 1) % hn];
            node.hingePoint = F;
            node.hingeAngle = PlanarAngle(FoldPoint2{1.0, 0.0}, FoldPoint2{F.x - E.x, F.y - E.y}) * kDegrees;
            node.foldAngle = node.normalAngles[k] * kDegrees;
            const FoldPoint2 offset = PlaceByDistances(A, B, node.polygon[0]);
            node.ownOffset[0] = offset.x;
            node.ownOffset[1] = offset.y;
            node.ownOffset[2] = 0.0;
            node.ownAngle = PlanarAngle(FoldPoint2{A.x - B.x, A.y - B.y}, FoldPoint2{1.0, 0.0}) * kDegrees;
        }
    }

    // Each level below the root takes one entry of the modelview stack while the net is drawn.
    if (m_deepestLevel >= g_modelviewStackDepth - 2)
        AfxMessageBox(u"矩阵栈已满，显示可能不正常！", MB_OK);
}

double CGFold::FoldFactor(int32_t spreadMode, int32_t level, double t) {
    const double i = std::trunc(t - 0.0000000001);
    if (spreadMode == kSpreadTogether) {
        if (i < 1.0)
            return level == 0 ? t - i : 0.0;
        return level == 0 ? 1.0 : t - i;
    }
    const double l = double(level);
    if (l == i)
        return t - i;
    return l < i ? 1.0 : 0.0;
}

void CGFold::DrawFoldNode(int index, int faceMode, int32_t spreadMode, double t) const {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    DrawFoldNode(index, faceMode, spreadMode, t, g_modelviewStackDepth - depth);
}

void CGFold::DrawFoldNode(int index, int faceMode, int32_t spreadMode, double t, int stackLeft) const {
    // A level past the matrix stack would lose the matrices the rest of the frame is drawn with.
    if (t < 0.0 || index < 0 || size_t(index) >= m_nodes.size() || stackLeft < 1)
        return;
    const FoldNode& node = m_nodes[size_t(index)];
    const double f = FoldFactor(spreadMode, node.level, t);
    glPushMatrix();
    glTranslated(node.hingePoint.x, node.hingePoint.y, 0.0);
    glRotated(node.hingeAngle, 0.0, 0.0, 1.0);
    glRotated(node.foldAngle * f, 1.0, 0.0, 0.0);
    glTranslated(node.ownOffset[0], node.ownOffset[1], node.ownOffset[2]);
    glRotated(node.ownAngle, 0.0, 0.0, 1.0);
    switch (faceMode) {
    case kFaceFill:
    case kFaceOutline:
    case kFacePoints:
        glBegin(faceMode == kFaceFill ? GL_POLYGON : faceMode == kFaceOutline ? GL_LINE_LOOP : GL_POINTS);
        for (const FoldPoint2& p : node.polygon)
            glVertex2d(p.x, p.y);
        glEnd();
        break;
    case kFaceTextured:
        if (!HxBindTexture(node.texture + 1))
            glBindTexture(GL_TEXTURE_2D, 0);
        glNormal3d(0.0, 0.0, -1.0);
        glBegin(GL_POLYGON);
        for (size_t i = 0; i < node.polygon.size(); ++i) {
            if (i < node.texCoords.size())
                glTexCoord2d(node.texCoords[i].x, node.texCoords[i].y);
            glVertex2d(node.polygon[i].x, node.polygon[i].y);
        }
        glEnd();
        break;
    default:
        break;
    }
    for (int child : node.children)
        DrawFoldNode(child, faceMode, spreadMode, t, stackLeft - 1);
    glPopMatrix();
}

void CGFold::DrawNet(int faceMode) const {
    glPushMatrix();
    glTranslated(m_position[0], m_position[1], m_position[2]);
    DrawFoldNode(m_root, faceMode, m_spreadMode, double(m_param1));
    glPopMatrix();
}

void CGFold::DrawDepth() {
    if (!HxIsDrawable(*this) || m_style == kStyleLit || !HasRoot())
        return;
    DrawNet(kFaceFill);
}

void CGFold::DrawLit() {
    if (!HxIsDrawable(*this) || m_style != kStyleLit || !HasRoot())
        return;
    if (g_useObjectColors)
        HxGlColor(m_color);
    glEnable(GL_TEXTURE_2D);
    DrawNet(kFaceTextured);
    glDisable(GL_TEXTURE_2D);
}

void CGFold::DrawVisible() {
    if (!HxIsDrawable(*this) || !HasRoot() || (m_style == kStyleLit && !m_selected))
        return;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    DrawNet(kFaceOutline);
}

void CGFold::DrawHidden() {
    if (m_style != kStyleAuto)
        return;
    DrawVisible();
}

void CGFold::DrawOnTop() {
    if (!HxIsDrawable(*this) || m_style != kStyleAuto || !HasRoot())
        return;
    if (g_useObjectColors)
        HxGlColor(m_color);
    DrawNet(kFacePoints);
}

void CGFold::DrawForPick(int mode) {
    if (!HxIsDrawable(*this) || HxInThreeViewLayout() || mode < 3)
        return;
    glLoadName(kPickClassPolyhedron);
    glPushName(m_id);
    if (HasRoot())
        DrawNet(kFaceFill);
    glPopName();
}

float CGFold::ClosedParameter() const {
    return m_spreadMode == kSpreadTogether ? 2.0f : float(m_deepestLevel + 1);
}
