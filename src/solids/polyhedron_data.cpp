// Polyhedron records: face constructors, archive forms, and the convex hull builder (incremental, with
// an edge-mark table and coplanar points merged into the face they lie in).
#include "solids/polyhedron_data.h"

#include "platform/random.h"
#include "solids/polyhedron.h"

#include <cmath>
#include <unordered_set>

double Length(const PolyPoint& p) {
    return std::sqrt(Dot(p, p));
}

PolyFace::PolyFace(double a_, double b_, double c_, double d_) : a(a_), b(b_), c(c_), d(d_) {}

PolyFace::PolyFace(int32_t i, int32_t j, int32_t k, const std::vector<PolyPoint>& points) {
    loop = {i, j, k};
    const PolyPoint& p = points[size_t(i)];
    PolyPoint n = Cross(points[size_t(j)] - p, points[size_t(k)] - p);
    const double length = Length(n);
    if (length > 0.0001)
        n = n * (1.0 / length);
    a = n.x;
    b = n.y;
    c = n.z;
    d = -Dot(n, p);
}

void SerializeFace(PolyFace& face, CArchive& ar) {
    if (ar.IsStoring()) {
        ar << int32_t(face.loop.size());
        for (int32_t v : face.loop)
            ar << v;
        ar << face.a << face.b << face.c << face.d << face.side;
        ar << face.centre[0] << face.centre[1] << face.centre[2] << face.height;
        ar << face.red << face.green << face.blue;
        return;
    }
    int32_t n = 0;
    ar >> n;
    if (n > 0) {
        ar.CheckCount(ULONGLONG(n), 4);
        face.loop.reserve(face.loop.size() + size_t(n));
        for (int32_t i = 0; i < n; ++i) {
            int32_t v;
            ar >> v;
            face.loop.push_back(v);
        }
    }
    ar >> face.a >> face.b >> face.c >> face.d >> face.side;
    ar >> face.centre[0] >> face.centre[1] >> face.centre[2] >> face.height;
    ar >> face.red >> face.green >> face.blue;
}

void SerializeEdge(PolyEdge& edge, CArchive& ar) {
    if (ar.IsStoring())
        ar << edge.first << edge.second;
    else
        ar >> edge.first >> edge.second;
}

// ---------------------------------------------------------------------------------------------
// The hull builder

namespace {

constexpr double kEps = 0.0001;

// The edge-mark table: entry (u, v) belongs to the directed edge from u to v and holds the number of
// the last point that saw a face with that edge.  Numbers start at 3, so the cleared table marks none.
class CEdgeMarks {
public:
    explicit CEdgeMarks(int n) : m_n(size_t(n)), m_marks(m_n * m_n, 0) {}
    int32_t& At(int32_t u, int32_t v) { return m_marks[size_t(u) * m_n + size_t(v)]; }

private:
    size_t m_n;
    std::vector<int32_t> m_marks;
};

// Calls f(u, v) for each directed edge of a loop: consecutive pairs, then last to first.
template <class F> void ForEachLoopEdge(const std::vector<int32_t>& loop, F&& f) {
    const size_t n = loop.size();
    for (size_t i = 0; i < n; ++i)
        f(loop[i], loop[(i + 1) % n]);
}

double Distance(const PolyPoint& p, const PolyPoint& q) {
    return Length(p - q);
}

// The loop of a face with the coplanar point m put in: the corners that m does not see from inside
// the face are dropped and m takes their place.
std::vector<int32_t> MergeCoplanarPoint(const std::vector<int32_t>& loop, const PolyPoint& n,
                                        const std::vector<PolyPoint>& P, int32_t m) {
    const size_t count = loop.size();
    // w(edge i) > eps: m lies strictly on the inner side of the edge from corner i to corner i + 1.
    auto inside = [&](size_t i) {
        const PolyPoint& pm = P[size_t(m)];
        const PolyPoint u = P[size_t(loop[i])] - pm;
        const PolyPoint v = P[size_t(loop[(i + 1) % count])] - pm;
        return Dot(n, Cross(u, v)) > kEps;
    };
    size_t start = count;
    for (size_t i = 0; i < count; ++i) {
        if (inside(i)) {
            start = i;
            break;
        }
    }
    if (start == count)
        return loop; // m sees every edge from outside: nothing to merge into
    std::vector<int32_t> merged{loop[start]};
    size_t i = start;
    size_t walked = 0;
    while (walked < count && inside(i)) {
        merged.push_back(loop[(i + 1) % count]);
        i = (i + 1) % count;
        ++walked;
    }
    merged.push_back(m);
    // Corner i + 1 comes next; it stays only when m is inside its outgoing edge.
    for (size_t j = (i + 1) % count; j != start; j = (j + 1) % count) {
        if (inside(j))
            merged.push_back(loop[j]);
    }
    return merged;
}

} // namespace

bool BuildConvexHull(const double* points, int n, CGPolyhedron& target) {
    if (n > kMaxHullPoints)
        return false;
    target.ClearGeometry();
    if (n < 1 || !points)
        return false;
    std::vector<PolyPoint> P(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        P[size_t(i)] = MakePoint(points[3 * i], points[3 * i + 1], points[3 * i + 2]);
    if (n == 1) {
        target.m_points.push_back(P[0]);
        return false;
    }
    if (n == 2) {
        target.m_points = {P[0], P[1]};
        target.m_edges.push_back(PolyEdge{0, 1});
        return false;
    }

    // The first triangle: skip points between the two ends found so far, move an end outwards.
    int32_t i = 0, j = 1, k = 2;
    bool found = false;
    for (; k < n; ++k) {
        const double ij = Distance(P[size_t(i)], P[size_t(j)]);
        const double ik = Distance(P[size_t(i)], P[size_t(k)]);
        const double jk = Distance(P[size_t(j)], P[size_t(k)]);
        if (std::fabs(jk + ij - ik) <= kEps)
            j = k;
        else if (std::fabs(ik + ij - jk) <= kEps)
            i = k;
        else if (std::fabs(ik + jk - ij) <= kEps)
            continue;
        else {
            found = true;
            break;
        }
    }
    if (!found) {
        target.m_points = {P[size_t(i)], P[size_t(j)]};
        target.m_edges.push_back(PolyEdge{0, 1});
        return false;
    }

    std::vector<PolyFace> faces;
    faces.emplace_back(i, j, k, P);
    faces.emplace_back(i, k, j, P);
    CEdgeMarks marks(n);
    for (int32_t m = k + 1; m < n; ++m) {
        const PolyPoint& pm = P[size_t(m)];
        bool dropped = false;
        for (PolyFace& face : faces) {
            const double s = face.Evaluate(pm);
            face.side = s < -kEps ? -1 : s > kEps ? 1 : 0;
            if (face.side < 0)
                continue;
            ForEachLoopEdge(face.loop, [&](int32_t u, int32_t v) { marks.At(u, v) = m; });
            if (face.side == 0) {
                int positive = 0, negative = 0;
                const PolyPoint normal = face.Normal();
                ForEachLoopEdge(face.loop, [&](int32_t u, int32_t v) {
                    const PolyPoint& pu = P[size_t(u)];
                    const double w = Dot(normal, Cross(P[size_t(v)] - pu, pm - pu));
                    positive += w > kEps ? 1 : 0;
                    negative += w < -kEps ? 1 : 0;
                });
                if (positive == 0 || negative == 0) {
                    dropped = true; // inside or on the border of a face it is coplanar with
                    break;
                }
            }
        }
        if (dropped)
            continue;
        // Faces that see m give way to the fan from m over their horizon edges; the new faces come
        // after the faces kept, in the order they were made.
        std::vector<PolyFace> kept, added;
        kept.reserve(faces.size());
        for (PolyFace& face : faces) {
            if (face.side > 0) {
                ForEachLoopEdge(face.loop, [&](int32_t u, int32_t v) {
                    if (marks.At(v, u) != m)
                        added.emplace_back(u, v, m, P);
                });
            } else {
                if (face.side == 0)
                    face.loop = MergeCoplanarPoint(face.loop, face.Normal(), P, m);
                kept.push_back(std::move(face));
            }
        }
        for (PolyFace& face : added)
            kept.push_back(std::move(face));
        faces = std::move(kept);
    }

    // Number the vertices in the order the faces meet them, and colour each face.
    std::vector<int32_t> number(size_t(n), -1);
    for (PolyFace& face : faces) {
        for (int32_t v : face.loop) {
            if (number[size_t(v)] < 0) {
                number[size_t(v)] = int32_t(target.m_points.size());
                target.m_points.push_back(P[size_t(v)]);
            }
        }
        face.red = 0.5 + 0.5 * HxRand() / 32767.0;
        face.green = 0.5 + 0.5 * HxRand() / 32767.0;
        face.blue = 0.5 + 0.5 * HxRand() / 32767.0;
    }
    for (PolyFace& face : faces) {
        for (int32_t& v : face.loop)
            v = number[size_t(v)];
    }
    const size_t vertexCount = target.m_points.size();
    std::unordered_set<uint64_t> seen;
    for (const PolyFace& face : faces) {
        ForEachLoopEdge(face.loop, [&](int32_t u, int32_t v) {
            const uint64_t key = u < v ? (uint64_t(uint32_t(u)) << 32) | uint32_t(v)
                                       : (uint64_t(uint32_t(v)) << 32) | uint32_t(u);
            if (seen.insert(key).second)
                target.m_edges.push_back(PolyEdge{u, v});
        });
    }
    target.m_faces = std::move(faces);
    return vertexCount > 3;
}
