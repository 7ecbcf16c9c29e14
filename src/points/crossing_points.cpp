// The crossings of lines and circles with the polylines of curves and loci (planar and spatial
// searches refined by bisection or by a shrinking local minimum search), of two polylines in a common
// horizontal plane, the tables kept between the points of one pair, and the seven point classes.
#include "points/crossing_points.h"

#include "dynamics/curves.h"
#include "model/page.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CGVerIntersectionLG, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionLQ, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionCQ, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionCG, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionQQ, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionGG, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerIntersectionQG, CGVertex, 1)

namespace {

struct P3 {
    double x = 0.0, y = 0.0, z = 0.0;
};
P3 operator-(const P3& a, const P3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const P3& a, const P3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Dot2(const P3& a, const P3& b) {
    return a.x * b.x + a.y * b.y;
}
P3 Cross(const P3& a, const P3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
template <class T> P3 Of(const T* p) {
    return {double(p[0]), double(p[1]), double(p[2])};
}
double Sign(double v) {
    return v > 0.0 ? 1.0 : -1.0;
}
// Where a locus's traced point does not exist it is far away; such a point is no crossing.
bool Undefined(const P3& p) {
    return !(p.x <= 1e30) || !std::isfinite(p.y) || !std::isfinite(p.z);
}

// A curve or a locus as the searches read it: its samples with their parameters, its point at any
// parameter, whether it lies flat in z = 0 by its definition, and its gap limit.
class CPath {
public:
    static bool Make(CGCell* cell, CPath& path) {
        if (auto* curve = DYNAMIC_DOWNCAST(CGCurve, cell)) {
            if (!curve->m_valid || curve->m_sampleCount < 2)
                return false;
            path.m_curve = curve;
            path.m_count = curve->m_sampleCount;
            path.m_start = curve->m_tMin;
            path.m_end = curve->m_tMax;
            return true;
        }
        if (auto* locus = DYNAMIC_DOWNCAST(CGLocus, cell)) {
            CGCell* driver = locus->Driver();
            if (!locus->m_valid || locus->m_sampleCount < 2 || !driver)
                return false;
            path.m_locus = locus;
            path.m_driver = driver;
            path.m_saved = driver->m_param1;
            path.m_count = locus->m_sampleCount;
            path.m_start = locus->m_t0;
            path.m_end = locus->m_t1;
            return true;
        }
        return false;
    }

    int Count() const { return m_count; }
    P3 Sample(int j) const {
        if (m_curve) {
            const double* s = m_curve->Sample(j);
            return s ? Of(s) : P3{3e38, 0.0, 0.0};
        }
        const float* s = m_locus->Sample(j);
        return s ? Of(s) : P3{3e38, 0.0, 0.0};
    }
    bool SampleDefined(int j) const { return !Undefined(Sample(j)); }
    // The step of the parameter between samples, and the parameter of sample j.
    double Step() const { return (m_end - m_start) / double(m_count - 1); }
    double ParameterOf(int j) const { return m_start + double(j) * Step(); }
    P3 At(double t) const {
        if (m_curve) {
            double p[3] = {0.0, 0.0, 0.0};
            m_curve->PointAt(t, p);
            return Of(p);
        }
        float p[3];
        m_locus->PointAtParameter(p, float(t));
        return Of(p);
    }
    // A curve whose third coordinate is the text "0" in Cartesian or cylindrical coordinates lies in
    // z = 0 whatever its samples.
    bool FlatByDefinition() const {
        return m_curve && m_curve->m_expressions[CGCurve::kZ] == CString(u"0") &&
               m_curve->CoordinateKind() != CGCurve::kSpherical;
    }
    // Every defined sample within tolerance of the height z.
    bool AllAtHeight(double z, double tolerance) const {
        for (int j = 0; j < m_count; ++j) {
            const P3 s = Sample(j);
            if (!Undefined(s) && !(std::fabs(s.z - z) < tolerance))
                return false;
        }
        return true;
    }
    // The first defined sample, if any.
    bool FirstDefined(P3& p) const {
        for (int j = 0; j < m_count; ++j) {
            p = Sample(j);
            if (!Undefined(p))
                return true;
        }
        return false;
    }
    // The squared step between neighbouring samples above which they are not joined, as the line
    // search reads it.
    double LineGapLimit() const {
        if (!m_curve)
            return 10.0;
        const double d = m_curve->BreakDistance();
        return d > 1e-6 ? d * d : 16.0;
    }
    // A locus's driver back where it stood when the search began.
    void Restore() const {
        if (m_locus) {
            float p[3];
            m_locus->PointAtParameter(p, m_saved);
        }
    }

private:
    CGCurve* m_curve = nullptr;
    CGLocus* m_locus = nullptr;
    CGCell* m_driver = nullptr;
    float m_saved = 0.0f;
    int m_count = 0;
    double m_start = 0.0, m_end = 0.0;
};

// A line's two points and kind, valid and far enough apart.
struct CLineData {
    P3 a, b;
    int kind = 0;
};
bool LineData(WORD id, CLineData& line) {
    const auto* cell = DYNAMIC_DOWNCAST(CGLine, HxFindCell(id));
    if (!cell || !cell->m_valid || !cell->GetEnd(0) || !cell->GetEnd(1))
        return false;
    float a[3], b[3];
    HxLineEnds(*cell, a, b);
    line.a = Of(a);
    line.b = Of(b);
    line.kind = cell->m_kind;
    return true;
}

struct CCircleData {
    P3 c, u, w;
    double r = 0.0;
};
bool CircleData(WORD id, CCircleData& circle) {
    const auto* cell = DYNAMIC_DOWNCAST(CGArc, HxFindCell(id));
    if (!cell || !cell->m_valid)
        return false;
    circle.c = Of(cell->m_center);
    circle.u = Of(cell->m_axisU);
    circle.w = Of(cell->m_axisV);
    circle.r = cell->m_radius;
    return true;
}

bool PathData(WORD id, CPath& path) {
    return CPath::Make(HxFindCell(id), path);
}

using CCrossings = std::vector<P3>;

// ---------------------------------------------------------------------------------------------
// The tables kept between the points of a pair

// What one search found, for the points of the same pair that follow in the same pass: a later
// point (a higher index) is answered from it; a point of a lower or equal index, another pair or
// page, or a new pass searches again.
struct CKeptTable {
    const CGPage* page = nullptr;
    WORD first = 0, second = 0;
    unsigned pass = 0;
    int lastIndex = 256;
    CCrossings crossings;
};
CKeptTable g_kept[5];
enum { kKeptCQ, kKeptCG, kKeptQQ, kKeptGG, kKeptQG };

int Answer(const CCrossings& crossings, int n, float out[3]) {
    const int count = int(crossings.size());
    if (n < 0 || count <= n)
        return 0;
    out[0] = float(crossings[size_t(n)].x);
    out[1] = float(crossings[size_t(n)].y);
    out[2] = float(crossings[size_t(n)].z);
    return count;
}

template <class Search> int Kept(int which, WORD id1, WORD id2, int n, float out[3], Search&& search) {
    CKeptTable& table = g_kept[which];
    if (table.page == g_pCurPage && table.first == id1 && table.second == id2 &&
        table.pass == g_recomputePass && n > table.lastIndex) {
        table.lastIndex = n;
        return Answer(table.crossings, n, out);
    }
    // The search runs into a table of its own: a locus evaluated while it searches may recompute
    // crossing points of other pairs, which use the kept tables too.
    CCrossings found;
    search(found);
    table.page = g_pCurPage;
    table.first = id1;
    table.second = id2;
    table.pass = g_recomputePass;
    table.lastIndex = n;
    table.crossings = std::move(found);
    return Answer(table.crossings, n, out);
}

// ---------------------------------------------------------------------------------------------
// Two polylines in one horizontal plane

void CrossPolylines(const CPath& a, const CPath& b, bool bothFlat, CCrossings& found) {
    double z = 0.0;
    if (!bothFlat) {
        P3 firstA, firstB;
        if (!a.FirstDefined(firstA) || !b.FirstDefined(firstB))
            return;
        z = firstB.z;
        if (!(std::fabs(firstA.z - firstB.z) < 1e-4) || !a.AllAtHeight(z, 1e-4) || !b.AllAtHeight(z, 1e-4))
            return;
    }
    for (int i = 1; i < a.Count() && int(found.size()) < kMaxCrossings; ++i) {
        const P3 a0 = a.Sample(i - 1), a1 = a.Sample(i);
        const P3 d = a1 - a0;
        const double dd = Dot2(d, d);
        // A gap of the first polyline (or a step of no length) crosses nothing.
        if (!(dd <= 10.0) || dd == 0.0)
            continue;
        const double length = std::sqrt(dd);
        double side = 0.0;
        bool crossed = false;
        P3 crossing;
        for (int j = 0; j < b.Count() && !crossed; ++j) {
            const P3 bj = b.Sample(j);
            const P3 e = bj - a1;
            const double c = (e.x * d.y - e.y * d.x) / length;
            if (std::fabs(c) < 1e-5) {
                if (Dot2(bj - a0, d) * Dot2(bj - a1, d) <= 0.0) {
                    crossing = bj;
                    crossed = true;
                } else {
                    side = 0.0;
                }
                continue;
            }
            if (side != 0.0 && side * c < 0.0) {
                const P3 g = bj - b.Sample(j - 1);
                const double denominator = g.y * d.x - g.x * d.y;
                if (Dot2(g, g) < 10.0 && denominator != 0.0) {
                    const double s = (g.y * e.x - g.x * e.y) / denominator;
                    if (s >= -1.0 && s <= 0.0) {
                        crossing = {a1.x + s * d.x, a1.y + s * d.y, 0.0};
                        crossed = true;
                        continue;
                    }
                }
            }
            side = Sign(c);
        }
        if (crossed)
            found.push_back({crossing.x, crossing.y, z});
    }
}

// ---------------------------------------------------------------------------------------------
// A line or a circle against a polyline

// The local minimum of g over [ps - h0, ps] (the sample at ps is sample, where g is gps), in quarter
// steps that shrink by four around the best parameter; true with the point and its parameter when g
// falls below accept there.
template <class G>
bool LocalMinimum(const CPath& path, double ps, const P3& sample, double h0, double gps, double accept, G&& g,
                  P3& point, double& parameter) {
    const double start = ps - h0;
    double lo = start, hi = ps;
    double best = gps, bestT = ps;
    P3 bestP = sample;
    for (double q = h0 / 4.0; std::fabs(q) > 1e-8; q /= 4.0) {
        for (int k = 0; k < 64; ++k) {
            const double t = lo + double(k) * q;
            if (h0 > 0.0 ? !(t < hi) : !(t > hi))
                break;
            const P3 p = path.At(t);
            const double v = g(p);
            if (v < best) {
                best = v;
                bestT = t;
                bestP = p;
            }
        }
        if (best < accept) {
            point = bestP;
            parameter = bestT;
            return !Undefined(bestP);
        }
        if (std::fabs(bestT - start) > 1e-8)
            lo = bestT - q;
        if (std::fabs(bestT - ps) > 1e-8)
            hi = bestT + q;
    }
    return false;
}

// A crossing of the line search with its parameter along the line.
struct CLineCrossing {
    P3 point;
    double t;
};

int CrossLine(WORD lineId, WORD pathId, int n, float out[3]) {
    CLineData line;
    CPath path;
    if (!LineData(lineId, line) || !PathData(pathId, path))
        return 0;
    const P3 a = line.a;
    const P3 D = line.b - line.a;
    const double L = std::sqrt(Dot(D, D));
    if (!(L >= 1e-4))
        return 0;
    const P3 u = {D.x / L, D.y / L, D.z / L};
    const double h0 = path.Step();
    const double gapLimit = path.LineGapLimit();
    const auto inExtent = [&](double t) {
        if (line.kind == 0 || line.kind == 3)
            return t >= 0.0 && t <= 1.0;
        if (line.kind == 1)
            return t >= 0.0;
        return true;
    };
    std::vector<CLineCrossing> found;
    const auto add = [&](const P3& p, double t) {
        if (inExtent(t) && !Undefined(p))
            found.push_back({p, t});
    };
    const bool planar = (path.FlatByDefinition() && std::fabs(a.z) < 1e-5 && std::fabs(line.b.z) < 1e-5) ||
                        (std::fabs(a.z - line.b.z) < 1e-5 && path.AllAtHeight(a.z, 1e-4));
    const int count = path.Count();
    if (planar) {
        const auto crossOf = [&](const P3& p) {
            const P3 e = p - a;
            return e.x * u.y - e.y * u.x;
        };
        double side = 0.0;
        for (int j = 0; j < count && int(found.size()) < kMaxCrossings; ++j) {
            const P3 s = path.Sample(j);
            const P3 e = s - a;
            if (Dot2(e, e) < 1e-8) {
                add(a, 0.0);
                side = 0.0;
                continue;
            }
            const double c = crossOf(s);
            if (std::fabs(c) < 1e-5) {
                add(s, Dot2(e, u) / L);
                side = 0.0;
                continue;
            }
            if (side * c < 0.0) {
                const P3 step = s - path.Sample(j - 1);
                if (Dot2(step, step) < gapLimit) {
                    double lo = path.ParameterOf(j - 1), hi = path.ParameterOf(j);
                    P3 p;
                    bool stopped = false, evaluated = false;
                    for (double h = h0; std::fabs(h) > 1e-8 && !stopped;) {
                        h /= 2.0;
                        const double mid = (lo + hi) / 2.0;
                        p = path.At(mid);
                        evaluated = true;
                        const P3 pe = p - a;
                        if (Dot2(pe, pe) < 1e-8) {
                            add(a, 0.0);
                            stopped = true;
                            break;
                        }
                        const double cm = crossOf(p);
                        if (std::fabs(cm) < 1e-5) {
                            add(p, Dot2(pe, u) / L);
                            stopped = true;
                            break;
                        }
                        if (Sign(cm) == Sign(c))
                            hi = mid;
                        else
                            lo = mid;
                    }
                    if (!stopped && evaluated)
                        add(p, Dot2(p - a, u) / L);
                }
            }
            side = Sign(c);
        }
    } else {
        const auto dist2 = [&](const P3& p) {
            const P3 e = p - a;
            const double along = Dot(e, u);
            return Dot(e, e) - along * along;
        };
        double prev = dist2(path.Sample(0));
        for (int j = 1; j < count && int(found.size()) < kMaxCrossings; ++j) {
            const P3 s = path.Sample(j);
            const double ps = path.ParameterOf(j);
            const P3 e = s - a;
            const double here = dist2(s);
            if (Dot(e, e) < 1e-6) {
                add(a, 0.0);
                prev = 1e30;
                continue;
            }
            if (here < 1e-8) {
                add(s, Dot(e, u) / L);
                prev = 1e30;
                continue;
            }
            const P3 step = s - path.Sample(j - 1);
            const double step2 = Dot(step, step);
            if (step2 < gapLimit && step2 > here && step2 > prev) {
                P3 p;
                double t;
                if (LocalMinimum(path, ps, s, h0, here, 1e-8, dist2, p, t)) {
                    add(p, Dot(p - a, u) / L);
                    prev = std::fabs(t - ps) < 1e-6 ? 1e30 : here;
                    continue;
                }
            }
            prev = here;
        }
    }
    path.Restore();
    std::stable_sort(found.begin(), found.end(),
                     [](const CLineCrossing& x, const CLineCrossing& y) { return x.t < y.t; });
    CCrossings points;
    for (const CLineCrossing& c : found)
        points.push_back(c.point);
    return Answer(points, n, out);
}

void CrossCircle(const CCircleData& circle, const CPath& path, CCrossings& found) {
    const P3& c = circle.c;
    const double r = circle.r;
    const double h0 = path.Step();
    const int count = path.Count();
    const bool horizontal = std::fabs(circle.u.z) < 1e-5 && std::fabs(circle.w.z) < 1e-5;
    const bool planar =
        horizontal && (path.AllAtHeight(c.z, 1e-4) || (path.FlatByDefinition() && std::fabs(c.z) < 1e-5));
    if (planar) {
        const auto f = [&](const P3& p) {
            const P3 e = p - c;
            return std::sqrt(Dot2(e, e)) - r;
        };
        double side = 0.0;
        for (int j = 0; j < count && int(found.size()) < kMaxCrossings; ++j) {
            const P3 s = path.Sample(j);
            const double fs = f(s);
            if (std::fabs(fs) < 1e-5) {
                if (!Undefined(s))
                    found.push_back(s);
                side = 0.0;
                continue;
            }
            if (side * fs < 0.0) {
                const P3 step = s - path.Sample(j - 1);
                if (Dot2(step, step) < 10.0) {
                    double lo = path.ParameterOf(j - 1), hi = path.ParameterOf(j);
                    P3 p;
                    bool stopped = false, evaluated = false;
                    for (double h = h0; std::fabs(h) > 1e-8;) {
                        h /= 2.0;
                        const double mid = (lo + hi) / 2.0;
                        p = path.At(mid);
                        evaluated = true;
                        const double fm = f(p);
                        if (std::fabs(fm) < 1e-5) {
                            stopped = true;
                            break;
                        }
                        if (Sign(fm) == Sign(fs))
                            hi = mid;
                        else
                            lo = mid;
                    }
                    if ((stopped || evaluated) && !Undefined(p))
                        found.push_back(p);
                }
            }
            side = Sign(fs);
        }
        return;
    }
    // In space: near the circle's sphere and in its plane (the normal unnormalised).
    const P3 normal = Cross(circle.u, circle.w);
    const auto inPlane = [&](const P3& p) { return std::fabs(Dot(normal, p - c)) < 0.01; };
    const auto f = [&](const P3& p) {
        const P3 e = p - c;
        return std::fabs(std::sqrt(Dot(e, e)) - r);
    };
    const P3 s0 = path.Sample(0) - c;
    double prev = std::sqrt(Dot(s0, s0)) - r;
    for (int j = 1; j < count && int(found.size()) < kMaxCrossings; ++j) {
        const P3 s = path.Sample(j);
        const double fs = f(s);
        if (fs < 1e-4) {
            if (inPlane(s) && !Undefined(s))
                found.push_back(s);
            prev = 1e30;
            continue;
        }
        const P3 step = s - path.Sample(j - 1);
        const double step2 = Dot(step, step);
        const double length = std::sqrt(step2);
        if (step2 < 10.0 && length > fs && length > prev) {
            P3 p;
            double t;
            if (LocalMinimum(path, path.ParameterOf(j), s, h0, fs, 1e-4, f, p, t)) {
                if (inPlane(p))
                    found.push_back(p);
                prev = std::fabs(t - path.ParameterOf(j)) < 1e-6 ? 1e30 : fs;
                continue;
            }
        }
        prev = fs;
    }
}

int CrossCircleWith(int which, WORD circleId, WORD pathId, int n, float out[3]) {
    CCircleData circle;
    CPath path;
    if (!CircleData(circleId, circle) || !PathData(pathId, path))
        return 0;
    return Kept(which, circleId, pathId, n, out, [&](CCrossings& found) {
        CrossCircle(circle, path, found);
        path.Restore();
    });
}

int CrossPaths(int which, WORD firstId, WORD secondId, int n, float out[3]) {
    CPath first, second;
    if (!PathData(firstId, first) || !PathData(secondId, second))
        return 0;
    return Kept(which, firstId, secondId, n, out, [&](CCrossings& found) {
        // Two curves flat by their definitions need no test of their samples.
        CrossPolylines(first, second,
                       which == kKeptQQ && first.FlatByDefinition() && second.FlatByDefinition(), found);
    });
}

} // namespace

int IntersectLineLocus(WORD line, WORD locus, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGLocus, HxFindCell(locus)))
        return 0;
    return CrossLine(line, locus, n, out);
}

int IntersectLineCurve(WORD line, WORD curve, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGCurve, HxFindCell(curve)))
        return 0;
    return CrossLine(line, curve, n, out);
}

int IntersectCircleCurve(WORD circle, WORD curve, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGCurve, HxFindCell(curve)))
        return 0;
    return CrossCircleWith(kKeptCQ, circle, curve, n, out);
}

int IntersectCircleLocus(WORD circle, WORD locus, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGLocus, HxFindCell(locus)))
        return 0;
    return CrossCircleWith(kKeptCG, circle, locus, n, out);
}

int IntersectCurveCurve(WORD curve1, WORD curve2, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGCurve, HxFindCell(curve1)) || !DYNAMIC_DOWNCAST(CGCurve, HxFindCell(curve2)))
        return 0;
    return CrossPaths(kKeptQQ, curve1, curve2, n, out);
}

int IntersectLocusLocus(WORD locus1, WORD locus2, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGLocus, HxFindCell(locus1)) || !DYNAMIC_DOWNCAST(CGLocus, HxFindCell(locus2)))
        return 0;
    return CrossPaths(kKeptGG, locus1, locus2, n, out);
}

int IntersectCurveLocus(WORD curve, WORD locus, int n, float out[3]) {
    if (!DYNAMIC_DOWNCAST(CGCurve, HxFindCell(curve)) || !DYNAMIC_DOWNCAST(CGLocus, HxFindCell(locus)))
        return 0;
    return CrossPaths(kKeptQG, curve, locus, n, out);
}

void HxResetCrossingTables() {
    for (CKeptTable& table : g_kept)
        table = CKeptTable();
}

// ---------------------------------------------------------------------------------------------
// The point classes

bool CGVerCrossing::ComputePosition(float out[3]) {
    const int index = m_kind;
    return SearchOfClass()(m_parents[0], m_parents[1], index, out) != 0;
}

CString CGVerCrossing::Describe(const char16_t* format) const {
    CString text;
    text.Format(format, ParentName(0), ParentName(1));
    return text;
}

#define HX_IMPLEMENT_CROSSING(Class, SearchFunction, Format)                                                 \
    Class::Class(WORD id, DWORD vertexIndex, const CString& name, BYTE index, WORD first, WORD second)       \
        : CGVerCrossing(id, vertexIndex, name, index, first, second) {                                       \
        Recompute();                                                                                         \
    }                                                                                                        \
    CString Class::GetDescription() {                                                                        \
        return Describe(Format);                                                                             \
    }                                                                                                        \
    CGVerCrossing::Search Class::SearchOfClass() const {                                                     \
        return SearchFunction;                                                                               \
    }

HX_IMPLEMENT_CROSSING(CGVerIntersectionLQ, IntersectLineCurve, u"直线%s与曲线%s的交点")
HX_IMPLEMENT_CROSSING(CGVerIntersectionCQ, IntersectCircleCurve, u"圆%s与曲线%s的交点")
HX_IMPLEMENT_CROSSING(CGVerIntersectionCG, IntersectCircleLocus, u"圆%s与轨迹%s的交点")
HX_IMPLEMENT_CROSSING(CGVerIntersectionQQ, IntersectCurveCurve, u"曲线%s与曲线%s的交点")
HX_IMPLEMENT_CROSSING(CGVerIntersectionGG, IntersectLocusLocus, u"轨迹%s与轨迹%s的交点")
HX_IMPLEMENT_CROSSING(CGVerIntersectionQG, IntersectCurveLocus, u"曲线%s与轨迹%s的交点")

#undef HX_IMPLEMENT_CROSSING

CGVerIntersectionLG::CGVerIntersectionLG(WORD id, DWORD vertexIndex, const CString& name, BYTE index,
                                         WORD first, WORD second)
    : CGVerCrossing(id, vertexIndex, name, index, first, second) {
    Recompute();
}

// The line's name only.
CString CGVerIntersectionLG::GetDescription() {
    CString text;
    text.Format(u"直线%s与轨迹的交点", ParentName(0));
    return text;
}

CGVerCrossing::Search CGVerIntersectionLG::SearchOfClass() const {
    return IntersectLineLocus;
}
