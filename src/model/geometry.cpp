// Geometry routines: float inputs, single-precision differences, double arithmetic, float outputs.
#include "model/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

struct V3 {
    double x, y, z;
};

// b - a, the difference taken in single precision.
V3 Diff(const float* b, const float* a) {
    return {double(b[0] - a[0]), double(b[1] - a[1]), double(b[2] - a[2])};
}
V3 ToV3(const float* p) {
    return {p[0], p[1], p[2]};
}
double Dot(const V3& a, const V3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Norm2(const V3& a) {
    return Dot(a, a);
}
V3 Sub(const V3& a, const V3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// base + t d, stored as floats.
void StorePoint(const float* base, double t, const V3& d, float* out) {
    out[0] = float(base[0] + t * d.x);
    out[1] = float(base[1] + t * d.y);
    out[2] = float(base[2] + t * d.z);
}

void SetIf(float* target, double value) {
    if (target)
        *target = float(value);
}
void SetIf(double* target, double value) {
    if (target)
        *target = value;
}

// The unsigned angle between u and w, 0 for a zero vector or a cosine that is not finite.
double UnsignedAngle(const V3& u, const V3& w) {
    double uw = Norm2(u) * Norm2(w);
    if (uw == 0.0)
        return 0.0;
    double c = Dot(u, w) / std::sqrt(uw);
    if (!std::isfinite(c))
        return 0.0;
    return std::acos(std::clamp(c, -1.0, 1.0));
}

// Distance from the point x to the line through p with the direction e (|e| > 0).
double DistanceToLine(const V3& x, const float* p, const V3& e) {
    V3 w = Sub(x, ToV3(p));
    return std::sqrt(Norm2(Cross(w, e)) / Norm2(e));
}

} // namespace

BOOL IntersectLinesF(const float* p0, const float* p1, const float* q0, const float* q1, float* out, float* t,
                     float* s) {
    V3 d = Diff(p1, p0), e = Diff(q1, q0), w = Diff(q0, p0);
    V3 n = Cross(d, e);
    if (std::fabs(Dot(w, n)) > 2.0)
        return FALSE;
    if (Norm2(n) < 1e-9)
        return FALSE;
    double tt;
    double nx2 = n.x * n.x, ny2 = n.y * n.y, nz2 = n.z * n.z;
    if (nz2 > nx2 && nz2 > ny2)
        tt = (w.x * e.y - w.y * e.x) / n.z;
    else if (ny2 > nx2)
        tt = (w.z * e.x - w.x * e.z) / n.y;
    else
        tt = (w.y * e.z - w.z * e.y) / n.x;
    StorePoint(p0, tt, d, out);
    SetIf(t, tt);
    // The parameter on the second line is read off the stored point.
    double ss;
    if (std::fabs(e.x) > 0.0001)
        ss = double(out[0] - q0[0]) / e.x;
    else if (std::fabs(e.y) > 0.0001)
        ss = double(out[1] - q0[1]) / e.y;
    else if (std::fabs(e.z) > 0.0001)
        ss = double(out[2] - q0[2]) / e.z;
    else
        return FALSE;
    SetIf(s, ss);
    return TRUE;
}

BOOL CommonPerpendicularF(const float* p0, const float* p1, const float* q0, const float* q1, float* out) {
    V3 d = Diff(p1, p0), e = Diff(q1, q0);
    V3 n = Cross(d, e);
    V3 m = Cross(e, n);
    double md = Dot(m, d);
    if (std::fabs(md) < 1e-5)
        return FALSE;
    double t = Dot(m, Diff(q0, p0)) / md;
    StorePoint(p0, t, d, out);
    return TRUE;
}

float DistanceLinesF(const float* p0, const float* p1, const float* q0, const float* q1) {
    V3 d = Diff(p1, p0), e = Diff(q1, q0), w = Diff(q0, p0);
    V3 n = Cross(d, e);
    double nw = std::fabs(Dot(n, w));
    if (nw > 1e-5)
        return float(nw / std::sqrt(Norm2(n)));
    if (std::fabs(n.x) < 1e-5 && std::fabs(n.y) < 1e-5 && std::fabs(n.z) < 1e-5) {
        double l = Norm2(d);
        double sq = Norm2(w);
        if (l > 1e-5) {
            double wd = Dot(w, d);
            sq -= wd * wd / l;
        }
        // Rounding can take a zero distance a hair below zero.
        return float(std::sqrt(std::max(sq, 0.0)));
    }
    return 0.0f;
}

float AngleBetweenLinesF(const float* p0, const float* p1, const float* q0, const float* q1) {
    V3 d = Diff(p1, p0), e = Diff(q1, q0);
    double dd = Norm2(d), ee = Norm2(e);
    if (dd < 1e-5 || ee < 1e-5)
        return 0.0f;
    double c = std::fabs(Dot(d, e)) / std::sqrt(dd * ee);
    if (!std::isfinite(c))
        return 0.0f;
    return float(std::acos(std::min(c, 1.0)));
}

float AngleLinePlaneF(const float* p0, const float* p1, const float* a, const float* b, const float* c) {
    V3 d = Diff(p1, p0);
    V3 n = Cross(Diff(c, b), Diff(a, b));
    double dd = Norm2(d), nn = Norm2(n);
    if (dd < 1e-10 || nn < 1e-9)
        return 0.0f;
    double s = std::min(std::fabs(Dot(n, d)) / std::sqrt(nn * dd), 1.0);
    return float(std::asin(s));
}

float DihedralAngleF(const float* a1, const float* b1, const float* c1, const float* a2, const float* b2,
                     const float* c2) {
    V3 na = Cross(Diff(b1, a1), Diff(c1, a1));
    V3 nb = Cross(Diff(b2, a2), Diff(c2, a2));
    double aa = Norm2(na), bb = Norm2(nb);
    if (aa < 1e-10 || bb < 1e-9)
        return 0.0f;
    double c = Dot(na, nb) / std::sqrt(aa * bb);
    if (!std::isfinite(c))
        return 0.0f;
    return float(kPi - std::acos(std::clamp(c, -1.0, 1.0)));
}

double FootOnLineF(const float* p, const float* a, const float* b, float* out) {
    V3 d = Diff(b, a);
    double l = Norm2(d);
    double t = std::fabs(l) >= 1e-5 ? Dot(Diff(p, a), d) / l : 0.0;
    StorePoint(a, t, d, out);
    return t;
}

BOOL FootOnPlaneF(const float* p, const float* a, const float* b, const float* c, float* out) {
    V3 n = Cross(Diff(a, b), Diff(c, b));
    double nn = Norm2(n);
    if (nn >= 1e-5) {
        double t = Dot(Diff(b, p), n) / nn;
        StorePoint(p, t, n, out);
    } else if (Norm2(Diff(b, a)) >= 1e-5) {
        FootOnLineF(p, a, b, out);
    } else {
        FootOnLineF(p, b, c, out);
    }
    return TRUE;
}

float DistancePointPlaneF(const float* p, const float* a, const float* b, const float* c) {
    V3 n = Cross(Diff(a, b), Diff(c, b));
    double len = std::sqrt(Norm2(n));
    if (len > 1e-5)
        return float(std::fabs(Dot(n, ToV3(p)) - Dot(n, ToV3(b))) / len);
    return float(std::sqrt(Norm2(Diff(p, b))));
}

BOOL IntersectLinePlaneF(const float* p0, const float* p1, const float* a, const float* b, const float* c,
                         float* out, float* t) {
    V3 n = Cross(Diff(a, b), Diff(c, b));
    V3 d = Diff(p1, p0);
    double nd = Dot(n, d);
    if (std::fabs(nd) < 1e-5)
        return FALSE;
    double tt = Dot(n, Diff(b, p0)) / nd;
    StorePoint(p0, tt, d, out);
    SetIf(t, tt);
    return TRUE;
}

float OrientedAngleF(float ux, float uy, float uz, float wx, float wy, float wz, float nx, float ny,
                     float nz) {
    float uu = ux * ux + uy * uy + uz * uz;
    float ww = wx * wx + wy * wy + wz * wz;
    if (uu * ww == 0.0f)
        return 0.0f;
    V3 u{ux, uy, uz}, w{wx, wy, wz};
    double c = Dot(u, w) / std::sqrt(Norm2(u) * Norm2(w));
    if (!std::isfinite(c))
        return 0.0f;
    double angle = std::acos(std::clamp(c, -1.0, 1.0));
    float kx = uy * wz - uz * wy;
    float ky = uz * wx - ux * wz;
    float kz = ux * wy - uy * wx;
    if (kx * nx + ky * ny + kz * nz < 0.0f)
        angle = 2.0 * kPi - angle;
    return float(angle);
}

float AngleThreePointsF(const float* p, const float* o, const float* q) {
    return float(UnsignedAngle(Diff(p, o), Diff(q, o)));
}

float RotationAngleF(const float* a, const float* o, const float* b) {
    V3 u = Diff(a, o), w = Diff(b, o);
    double theta = UnsignedAngle(u, w);
    V3 k = Cross(u, w);
    for (double component : {k.z, k.x, k.y}) {
        if (component > 1e-5)
            return float(theta);
        if (component < -1e-5)
            return float(2.0 * kPi - theta);
    }
    return float(2.0 * kPi - theta);
}

void RotatePointAboutAxisF(const float* u, const float* c, float angle, const float* p, float* out) {
    float cs = float(std::cos(double(angle)));
    float sn = float(std::sin(double(angle)));
    float k = 1.0f - cs;
    float ux = u[0], uy = u[1], uz = u[2];
    float r[3][3] = {
        {cs + k * ux * ux, k * ux * uy - sn * uz, k * ux * uz + sn * uy},
        {k * ux * uy + sn * uz, cs + k * uy * uy, k * uy * uz - sn * ux},
        {k * ux * uz - sn * uy, k * uy * uz + sn * ux, cs + k * uz * uz},
    };
    float v[3] = {p[0] - c[0], p[1] - c[1], p[2] - c[2]};
    for (int i = 0; i < 3; ++i)
        out[i] = c[i] + (r[i][0] * v[0] + r[i][1] * v[1] + r[i][2] * v[2]);
}

BOOL PlaneCoordinatesF(const float* p, const float* q, const float* o, const float* x, float* s, float* t) {
    V3 e1 = Diff(p, o), e2 = Diff(q, o), w = Diff(x, o);
    const double a1[3] = {e1.x, e1.y, e1.z}, a2[3] = {e2.x, e2.y, e2.z}, aw[3] = {w.x, w.y, w.z};
    static constexpr int kPairs[3][2] = {{0, 1}, {1, 2}, {0, 2}};
    for (const auto& pair : kPairs) {
        int i = pair[0], j = pair[1];
        double det = a1[i] * a2[j] - a2[i] * a1[j];
        if (std::fabs(det) > 0.001) {
            SetIf(s, (aw[i] * a2[j] - aw[j] * a2[i]) / det);
            SetIf(t, (aw[j] * a1[i] - aw[i] * a1[j]) / det);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL IntersectLineSphereF(const float* p0, const float* p1, const float* x, BOOL side, float* out, float* t,
                          double r) {
    V3 d = Diff(p1, p0);
    double l = Norm2(d);
    double t0 = std::fabs(l) < 1e-5 ? 0.0 : Dot(Diff(x, p0), d) / l;
    float foot[3];
    StorePoint(p0, t0, d, foot);
    float hx = x[0] - foot[0], hy = x[1] - foot[1], hz = x[2] - foot[2];
    float h = std::sqrt(hx * hx + hy * hy + hz * hz);
    SetIf(t, t0);
    if (std::fabs(r - h) < 1e-5) {
        std::copy(foot, foot + 3, out);
        return TRUE;
    }
    if (h - r > 0.001)
        return FALSE;
    // A line without direction meets the sphere nowhere in particular.
    if (!(l > 0.0))
        return FALSE;
    double rest = r * r - double(h) * double(h);
    double k = rest < 0.0 ? 0.0 : std::sqrt(rest) / std::sqrt(l);
    if (!side)
        k = -k;
    StorePoint(foot, k, d, out);
    SetIf(t, t0 + k);
    return TRUE;
}

double ClampToBorderF(const float* a, const float* b, const float* p, const float* q, float* out, double* t) {
    V3 d = Diff(b, a), e = Diff(q, p);
    V3 n = Cross(d, e);
    double nn = Norm2(n), ee = Norm2(e), dd = Norm2(d);
    if (nn >= 1e-9) {
        V3 m = Cross(e, n);
        double tt = Dot(m, Diff(p, a)) / Dot(m, d);
        if (tt >= 0.0 && tt <= 1.0) {
            StorePoint(a, tt, d, out);
            SetIf(t, tt);
            return std::fabs(Dot(n, Diff(p, a))) / std::sqrt(nn);
        }
        const float* end = tt > 1.0 ? b : a;
        std::copy(end, end + 3, out);
        SetIf(t, tt > 1.0 ? 1.0 : 0.0);
        return DistanceToLine(ToV3(end), p, e);
    }
    if (ee >= 1e-9) {
        double tt = dd >= 1e-9 ? 0.5 : 0.0;
        V3 x{a[0] + tt * d.x, a[1] + tt * d.y, a[2] + tt * d.z};
        StorePoint(a, tt, d, out);
        SetIf(t, tt);
        return DistanceToLine(x, p, e);
    }
    double tt = dd < 1e-9 ? 0.0 : std::clamp(Dot(Diff(p, a), d) / dd, 0.0, 1.0);
    V3 x{a[0] + tt * d.x, a[1] + tt * d.y, a[2] + tt * d.z};
    StorePoint(a, tt, d, out);
    SetIf(t, tt);
    return std::sqrt(Norm2(Sub(ToV3(p), x)));
}

double DistancePointSegmentF(const float* a, const float* b, const float* p, double* t) {
    V3 d = Diff(b, a);
    double l = Norm2(d);
    V3 pa = Diff(p, a);
    if (std::fabs(l) < 1e-9) {
        SetIf(t, 0.0);
        return std::sqrt(Norm2(pa));
    }
    double tt = Dot(pa, d) / l;
    if (tt < 0.0) {
        SetIf(t, 0.0);
        return std::sqrt(Norm2(pa));
    }
    if (tt > 1.0) {
        SetIf(t, 1.0);
        return std::sqrt(Norm2(Diff(p, b)));
    }
    SetIf(t, tt);
    return std::sqrt(Norm2(Cross(pa, d)) / l);
}
