// CGSplit: its planes, the step machine that applies one plane per unit of t, the split of a
// polyhedron by a plane with its section loops, and the drawing of the parts and the information text.
#include "solids/split.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "solids/section.h"
#include "view/glyph_lists.h"
#include "view/label_hooks.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <utility>

IMPLEMENT_SERIAL(CGSplit, CGCell, 1)

const PolyFace g_defaultCutPlanes3[3] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
const PolyFace g_defaultCutPlanes10[10] = {{-1, -1, -1, 2}, {1, 1, -1, 2}, {-1, 1, 1, 2}, {1, -1, 1, 2},
                                           {2, 1, 0, 0},    {1, 0, 2, 0},  {0, 2, 1, 0},  {4, -1, 0, 1},
                                           {-1, 0, 4, 1},   {0, 4, -1, 1}};

namespace {

constexpr double kEps = 0.0001;

uint64_t PairKey(int32_t u, int32_t v) {
    if (u > v)
        std::swap(u, v);
    return (uint64_t(uint32_t(u)) << 32) | uint32_t(v);
}

// A point of the section in a face: its number in A and in B, and where it lies.
struct SectionPoint {
    int32_t a = -1;
    int32_t b = -1;
    PolyPoint at;
};

struct Link {
    int32_t from;
    int32_t to;
};

// Follows a part's section links round from the smallest linked point, adding each link as an edge
// and the loop as the section face on the plane with the given normal.  0, or the failure code.
int32_t CloseSection(const std::vector<Link>& links, CGPolyhedron& part, const PolyPoint& normal,
                     int32_t missing, int32_t unused) {
    std::map<int32_t, int32_t> next;
    for (const Link& l : links)
        next.emplace(l.from, l.to);
    if (next.empty())
        return missing;
    const int32_t start = next.begin()->first;
    PolyFace face(normal.x, normal.y, normal.z, 0.0);
    face.red = face.green = face.blue = 0.5;
    size_t used = 0;
    for (int32_t at = start;;) {
        auto it = next.find(at);
        if (it == next.end())
            return missing;
        face.loop.push_back(at);
        part.m_edges.push_back(PolyEdge{at, it->second});
        ++used;
        at = it->second;
        if (at == start)
            break;
        if (used >= links.size())
            return unused; // a cycle that never comes back to the start
    }
    if (used != links.size())
        return unused;
    part.m_faces.push_back(std::move(face));
    return 0;
}

// An edge of the polyhedron that lies in the plane is met by both faces along it, and both give the
// same link: it is one edge of the section.
void AddLink(std::vector<Link>& links, int32_t from, int32_t to) {
    for (const Link& l : links) {
        if (l.from == from && l.to == to)
            return;
    }
    links.push_back(Link{from, to});
}

bool ClosesUp(const CGPolyhedron& p) {
    return int64_t(p.m_points.size()) - int64_t(p.m_edges.size()) + int64_t(p.m_faces.size()) == 2;
}

} // namespace

int32_t SplitPolyhedronByPlane(const PolyFace& plane, const CGPolyhedron& source, CGPolyhedron& A,
                               CGPolyhedron& B, double displacement) {
    A.ClearGeometry();
    B.ClearGeometry();
    const std::vector<PolyPoint>& P = source.m_points;
    const PolyPoint n = plane.Normal();
    const PolyPoint shift = n * displacement;
    std::vector<int> side(P.size(), 0);
    bool above = false, below = false;
    for (size_t i = 0; i < P.size(); ++i) {
        const double s = plane.Evaluate(P[i]);
        side[i] = s < -kEps ? -1 : s > kEps ? 1 : 0;
        above = above || side[i] > 0;
        below = below || side[i] < 0;
    }
    if (!above) {
        B = source;
        B.m_offsetOrigin = source.m_offsetOrigin;
        B.m_offsetStep = PolyPoint{};
        return 2;
    }
    if (!below) {
        A = source;
        A.m_offsetOrigin = source.m_offsetOrigin + shift;
        A.m_offsetStep = shift;
        return 1;
    }

    // Points: those in the plane belong to both parts.
    std::vector<int32_t> inA(P.size(), -1), inB(P.size(), -1);
    for (size_t i = 0; i < P.size(); ++i) {
        if (side[i] >= 0) {
            inA[i] = int32_t(A.m_points.size());
            A.m_points.push_back(P[i]);
        }
        if (side[i] <= 0) {
            inB[i] = int32_t(B.m_points.size());
            B.m_points.push_back(P[i]);
        }
    }
    auto valid = [&](int32_t v) { return v >= 0 && size_t(v) < P.size(); };
    // Edges: one crossing point for each edge that crosses the plane, shared by both parts.
    std::unordered_map<uint64_t, SectionPoint> crossings;
    for (const PolyEdge& e : source.m_edges) {
        if (!valid(e.first) || !valid(e.second))
            return 0;
        const int32_t u = e.first, v = e.second;
        const int su = side[size_t(u)], sv = side[size_t(v)];
        if (su >= 0 && sv >= 0 && (su | sv) != 0) {
            A.m_edges.push_back(PolyEdge{inA[size_t(u)], inA[size_t(v)]});
        } else if (su <= 0 && sv <= 0 && (su | sv) != 0) {
            B.m_edges.push_back(PolyEdge{inB[size_t(u)], inB[size_t(v)]});
        } else if (su * sv < 0) {
            const PolyPoint& pu = P[size_t(u)];
            const PolyPoint D = P[size_t(v)] - pu;
            const double q = Dot(n, D);
            const PolyPoint X = std::fabs(q) <= kEps ? pu : pu - D * ((Dot(n, pu) + plane.d) / q);
            SectionPoint x{int32_t(A.m_points.size()), int32_t(B.m_points.size()), X};
            A.m_points.push_back(X);
            B.m_points.push_back(X);
            const int32_t high = su > 0 ? u : v, low = su > 0 ? v : u;
            A.m_edges.push_back(PolyEdge{inA[size_t(high)], x.a});
            B.m_edges.push_back(PolyEdge{x.b, inB[size_t(low)]});
            crossings[PairKey(u, v)] = x;
        }
    }

    // Faces: each splits into its part above and its part below; the points where its boundary meets
    // the plane give one directed section link for each part.
    std::vector<Link> linksA, linksB;
    for (const PolyFace& face : source.m_faces) {
        if (face.loop.empty())
            continue;
        PolyFace faceA = face, faceB = face;
        faceA.loop.clear();
        faceB.loop.clear();
        std::vector<SectionPoint> section;
        const PolyPoint* lastAbove = nullptr;
        const PolyPoint* lastBelow = nullptr;
        int32_t previous = face.loop.back();
        auto cross = [&](int32_t p, int32_t c) {
            auto it = crossings.find(PairKey(p, c));
            if (it == crossings.end())
                return false; // the face's boundary is not among the edges
            faceA.loop.push_back(it->second.a);
            faceB.loop.push_back(it->second.b);
            section.push_back(it->second);
            return true;
        };
        for (int32_t corner : face.loop) {
            if (!valid(corner) || !valid(previous))
                return 0;
            const int sc = side[size_t(corner)], sp = side[size_t(previous)];
            if (sc > 0) {
                if (sp < 0 && !cross(previous, corner))
                    return 0;
                faceA.loop.push_back(inA[size_t(corner)]);
                lastAbove = &P[size_t(corner)];
            } else if (sc == 0) {
                faceA.loop.push_back(inA[size_t(corner)]);
                faceB.loop.push_back(inB[size_t(corner)]);
                section.push_back(SectionPoint{inA[size_t(corner)], inB[size_t(corner)], P[size_t(corner)]});
            } else {
                if (sp > 0 && !cross(previous, corner))
                    return 0;
                faceB.loop.push_back(inB[size_t(corner)]);
                lastBelow = &P[size_t(corner)];
            }
            previous = corner;
        }
        if (faceA.loop.size() > 2)
            A.m_faces.push_back(std::move(faceA));
        if (faceB.loop.size() > 2)
            B.m_faces.push_back(std::move(faceB));
        if (section.size() > 2)
            return -4;
        if (section.size() < 2)
            continue;
        const SectionPoint& s0 = section[0];
        const SectionPoint& s1 = section[1];
        const PolyPoint nf = face.Normal();
        const PolyPoint* q = lastAbove ? lastAbove : lastBelow;
        if (!q)
            return -3;
        const double v = Dot(Cross(s0.at - *q, s1.at - *q), nf);
        if (v == 0.0)
            return lastAbove ? -1 : -2;
        // Seen from the corner above, a positive turn runs the section from S1 to S0 in A; from the
        // corner below the other way round.
        const bool s1ToS0InA = (v > 0.0) == (lastAbove != nullptr);
        if (s1ToS0InA) {
            AddLink(linksA, s1.a, s0.a);
            AddLink(linksB, s0.b, s1.b);
        } else {
            AddLink(linksA, s0.a, s1.a);
            AddLink(linksB, s1.b, s0.b);
        }
    }

    if (linksA.size() < 3)
        return -5;
    if (int32_t r = CloseSection(linksA, A, n * -1.0, -6, -7))
        return r;
    if (int32_t r = CloseSection(linksB, B, n, -8, -9))
        return r;
    A.m_offsetOrigin = source.m_offsetOrigin + shift;
    A.m_offsetStep = shift;
    B.m_offsetOrigin = source.m_offsetOrigin;
    B.m_offsetStep = PolyPoint{};
    return ClosesUp(A) && ClosesUp(B) ? 3 : 0;
}

// ---------------------------------------------------------------------------------------------
// The cell

CGSplit::CGSplit() = default;

CGSplit::CGSplit(WORD id, WORD hullId, int32_t planeCount, int32_t useFaces, double displacement) {
    m_planeCount = std::clamp(planeCount, int32_t(1), kMaxPlanes);
    m_id = id;
    AddParent(hullId);
    if (CGPolyhedron* hull = Hull())
        m_color = hull->m_color;
    m_displacement = displacement;
    m_useFaces = useFaces;
    if (m_useFaces) {
        const int selected = g_pCurPage ? int(g_pCurPage->m_selFaces.GetCount()) : 0;
        if (selected == 0)
            m_useFaces = 0;
        else if (selected < m_planeCount)
            m_planeCount = selected;
    }
    if (m_useFaces) {
        int taken = 0;
        for (WORD face : g_pCurPage->m_selFaces) {
            if (taken++ == m_planeCount)
                break;
            AddParent(face);
        }
        m_ownPlanes.assign(size_t(m_planeCount), PolyFace());
    }
    Recompute();
}

CGSplit::~CGSplit() = default;

void CGSplit::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_planeCount << m_useFaces << m_displacement;
        return;
    }
    ar >> m_planeCount >> m_useFaces >> m_displacement;
    // The fixed tables hold ten planes, and each face plane is a parent after the hull.
    m_planeCount = std::clamp(m_planeCount, int32_t(1), kMaxPlanes);
    if (m_useFaces) {
        const int32_t faces = int32_t(m_parents.GetSize()) - 1;
        if (faces < 1)
            m_useFaces = 0;
        else
            m_planeCount = std::min(m_planeCount, faces);
    }
}

CString CGSplit::GetDescription() {
    return CString(u"多面体分割图");
}

CString CGSplit::InfoText() const {
    return HxFormat(u"planes:  %d      parts :  %d", m_planesUsed, m_partCount);
}

CGPolyhedron* CGSplit::Hull() const {
    return m_parents.IsEmpty() ? nullptr : DYNAMIC_DOWNCAST(CGPolyhedron, HxFindCell(m_parents[0]));
}

const CGSplit* CGSplit::OtherCutHidingHull(const CGPolyhedron& hull) const {
    for (WORD childId : hull.m_children) {
        const auto* cut = DYNAMIC_DOWNCAST(CGSplit, HxFindCell(childId));
        if (cut && cut != this && cut->m_hullHiddenBefore >= 0 && cut->Hull() == &hull)
            return cut;
    }
    return nullptr;
}

void CGSplit::LeavePage() {
    const int before = std::exchange(m_hullHiddenBefore, -1);
    CGPolyhedron* hull = Hull();
    if (before < 0 || !hull || OtherCutHidingHull(*hull))
        return;
    hull->m_hidden = before;
}

void CGSplit::DeleteParts() {
    m_parts.clear();
}

void CGSplit::Recompute() {
    m_planesUsed = 0;
    m_param1 = 0.0f;
    DeleteParts();
    m_partCount = 0;
    CGPolyhedron* hull = Hull();
    if (!hull || !hull->m_valid) {
        m_valid = false;
        return;
    }
    hull->m_hidden = 0;
    m_hullHiddenBefore = -1;
    m_planeCount = std::clamp(m_planeCount, int32_t(1), kMaxPlanes);
    if (!m_useFaces) {
        m_planes = m_planeCount < 4 ? g_defaultCutPlanes3 : g_defaultCutPlanes10;
        m_valid = true;
        return;
    }
    // One plane per face parent: a count set past them would step beyond the planes.
    const int32_t count = std::min(m_planeCount, int32_t(m_parents.GetSize()) - 1);
    if (count >= 1)
        m_planeCount = count;
    m_ownPlanes.resize(size_t(std::max(count, int32_t(0))));
    m_planes = m_ownPlanes.data();
    for (int32_t p = 1; p <= count; ++p) {
        PolyFace plane(0.0, 0.0, 0.0, 0.0); // corners on one line give no plane: it cuts nothing
        bool faceValid = false;
        HxPlaneOfFace(m_parents[p], plane, faceValid);
        if (!faceValid) {
            m_valid = false;
            return;
        }
        m_ownPlanes[size_t(p - 1)] = plane;
    }
    m_valid = count >= 1;
}

void CGSplit::SyncVertex() {
    if (!m_valid || !m_planes)
        return;
    float t = m_param1;
    const int32_t n = m_planeCount;
    int32_t k = m_planesUsed;
    if (t < 0.0001f || m_parts.empty()) {
        t = 0.0f;
        k = 0;
        DeleteParts();
    }
    auto finish = [&] {
        m_param1 = t;
        m_planesUsed = k;
    };
    if (t > float(n) + 0.1f) {
        finish();
        return;
    }
    // At most one plane per step: a jump far past the next whole number is pulled back to just after it.
    if (t > float(k) + 0.1f)
        t = float(k) + 0.001f;
    if (float(k) - 0.99f > t)
        t = float(k) - 0.99f;
    if (t >= float(k) + 0.00001f) {
        ++k;
        if (k >= n + 1) {
            k = n;
            finish();
            return;
        }
        for (auto& part : m_parts)
            part->m_param1 = 0.0f;
    } else if (!m_parts.empty()) {
        for (auto& part : m_parts)
            part->m_param1 = t - std::trunc(t - 0.00001f);
        finish();
        return;
    }
    m_planesUsed = k;
    m_param1 = t;
    Cut();
    m_partCount = int32_t(m_parts.size());
}

void CGSplit::Cut() {
    const int32_t k = m_planesUsed;
    if (k == 0 || m_parts.empty()) {
        DeleteParts();
        CGPolyhedron* hull = Hull();
        if (!hull || hull->m_faces.size() < 4)
            return;
        // Under a second cut the hull is hidden already: what counts is how it was before the first.
        if (m_hullHiddenBefore < 0) {
            const CGSplit* other = OtherCutHidingHull(*hull);
            m_hullHiddenBefore = other ? other->m_hullHiddenBefore : hull->m_hidden;
        }
        hull->m_hidden = 1;
        m_parts.push_back(std::make_unique<CGPolyhedron>(*hull));
        m_param1 = 0.001f;
        return;
    }
    const PolyFace& plane = m_planes[k - 1];
    const size_t old = m_parts.size();
    for (size_t i = 0; i < old; ++i) {
        auto a = std::make_unique<CGPolyhedron>();
        auto b = std::make_unique<CGPolyhedron>();
        const int32_t result = SplitPolyhedronByPlane(plane, *m_parts[i], *a, *b, m_displacement);
        if (result == 1) {
            m_parts.push_back(std::move(a));
        } else if (result == 2) {
            m_parts.push_back(std::move(b));
        } else if (result == 3) {
            m_parts.push_back(std::move(a));
            m_parts.push_back(std::move(b));
        } else if (result < 1) {
            AfxMessageBox(u"切割时发生错误", MB_OK);
        }
    }
    m_parts.erase(m_parts.begin(), m_parts.begin() + long(old));
}

void CGSplit::DrawParts(int mode) const {
    for (const auto& part : m_parts)
        part->DrawPart(mode);
}

void CGSplit::DrawDepth() {
    if (!HxIsDrawable(*this) || m_style == CGPolyhedron::kStyleLit)
        return;
    DrawParts(1);
}

void CGSplit::DrawLit() {
    if (!HxIsDrawable(*this) || m_style != CGPolyhedron::kStyleLit)
        return;
    if (g_useObjectColors)
        HxGlColor(m_color);
    DrawParts(1);
}

void CGSplit::DrawVisible() {
    if (!HxIsDrawable(*this) || (m_style == CGPolyhedron::kStyleLit && !m_selected))
        return;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    DrawParts(0);
}

void CGSplit::DrawHidden() {
    if (m_style != CGPolyhedron::kStyleAuto)
        return;
    DrawVisible();
}

void CGSplit::DrawOnTop() {
    if (!HxIsDrawable(*this) || HxInThreeViewLayout())
        return;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    // Fixed in the view, above the figure: only the pan moves it.
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(g_viewTransX, g_viewTransY, 0.0f);
    const CString glyphs = HxLabelGlyphLists(InfoText());
    if (!glyphs.IsEmpty() && HxRasterPosForGlyphs(-2.0, 11.0, -50.0, glyphs))
        glCallLists(glyphs.GetLength(), GL_UNSIGNED_SHORT, glyphs.GetString());
    glPopMatrix();
}

void CGSplit::DrawForPick(int mode) {
    if (!HxIsDrawable(*this) || HxInThreeViewLayout() || mode < 3)
        return;
    glLoadName(kPickClassPolyhedron);
    glPushName(m_id);
    DrawParts(1);
    glPopName();
}
