// The move button: a free point stepped towards its target on whatever carries it (space, a line, a
// circle, a curve, a locus, a face, a plane, a closed border, the horizontal plane), stopping at the
// place of the carrier nearest to the target.
#include "dynamics/buttons.h"

#include "dynamics/curves.h"
#include "model/cell_kinds.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/geometry.h"
#include "points/confined_points.h"
#include "points/path_points.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CGButnMove, CGButton, 1)

namespace {

// The fine search near the nearest sample takes steps of a thousandth of the speed; a speed so small
// that the window would take more steps than this is searched with this many.
constexpr double kMaxFineSteps = 100000.0;

struct V3 {
    double x, y, z;
};
V3 Of(const float* p) {
    return {p[0], p[1], p[2]};
}
V3 Of(const CGVertex& v) {
    return {v.m_x, v.m_y, v.m_z};
}
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator*(double k, V3 a) {
    return {k * a.x, k * a.y, k * a.z};
}
double Dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Distance2(const CGVertex& p, const CGVertex& q) {
    const V3 d = Of(p) - Of(q);
    return Dot(d, d);
}
void ToFloats(V3 v, float out[3]) {
    out[0] = float(v.x);
    out[1] = float(v.y);
    out[2] = float(v.z);
}

// The foot of t on the plane of v0, v1, v2; when the three do not span a plane, the foot on the line
// they lie on (v1 to v2 when v0 = v1, else v0 to v1).
V3 FootOnPlane(V3 t, V3 v0, V3 v1, V3 v2) {
    const V3 e1 = v0 - v1, e2 = v2 - v1;
    const V3 n = Cross(e1, e2);
    const double n2 = Dot(n, n);
    if (n2 >= 1e-5)
        return t + (Dot(v1 - t, n) / n2) * n;
    if (Dot(e1, e1) < 1e-5) {
        const double l = Dot(e2, e2);
        return v1 + (l < 1e-5 ? 0.0 : Dot(t - v1, e2) / l) * e2;
    }
    const V3 e3 = v1 - v0;
    const double l = Dot(e3, e3);
    return v0 + (l < 1e-5 ? 0.0 : Dot(t - v0, e3) / l) * e3;
}

// The search window about tau, inside the range from start to end (either way round).
void FineWindow(double start, double end, double tau, double delta, double& low, double& high) {
    if (end > start) {
        low = std::max(start, tau - delta);
        high = std::min(end, tau + delta);
    } else {
        const double d = -delta;
        low = std::max(end, tau - d);
        high = std::min(start, tau + d);
    }
}

// Calls visit(t) for t from the window's low end while t lies below its high end, in steps of a
// thousandth of the speed (never more than kMaxFineSteps of them).
template <class F> void FineSearch(double low, double high, double speed, F&& visit) {
    if (!(high > low) || !std::isfinite(high - low))
        return;
    double step = speed / 1000.0;
    const double least = (high - low) / kMaxFineSteps;
    if (!(step >= least))
        step = least;
    const double count = std::ceil((high - low) / step);
    for (long k = 0; k < long(std::min(count, kMaxFineSteps + 1.0)); ++k) {
        const double t = low + double(k) * step;
        if (!(t < high))
            break;
        visit(t);
    }
}

} // namespace

CGButnMove::CGButnMove(WORD id, const CString& caption, WORD movingId, WORD targetId, float speed, BYTE kind)
    : CGButton(id, caption) {
    m_speed = speed;
    m_kind = kind;
    m_direction = 1;
    AddParent(movingId);
    AddParent(targetId);
    const CGCell* moving = HxFindCell(movingId);
    const CGCell* target = HxFindCell(targetId);
    if (!moving || !moving->m_valid || !target || !target->m_valid)
        m_valid = false;
}

int CGButnMove::KindForPoint(const CGCell* point) {
    if (!point)
        return -1;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeInLine)))
        return kOnLine;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) || point->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)))
        return kInSpace;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeInCircle)))
        return kOnCircle;
    if (HxIsOfClassNamed(point, "CGVerFreeInCurve"))
        return kOnCurve;
    if (HxIsOfClassNamed(point, "CGVerFreeInLocus"))
        return kOnLocus;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeInFace)))
        return kInFace;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane)))
        return kInPlane;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)))
        return kInHorizontalPlane;
    return -1;
}

void CGButnMove::UpdateName() {
    if (m_nameFixed || m_parents.GetSize() < 2)
        return;
    const CGCell* moving = HxFindCell(m_parents[0]);
    const CGCell* target = HxFindCell(m_parents[1]);
    if (!moving || !target)
        return;
    const CString caption = moving->m_name + CString(u"→") + target->m_name;
    if (caption != m_name)
        SetCaption(caption);
}

CString CGButnMove::GetDescription() {
    const CGCell* moving = m_parents.GetSize() > 0 ? HxFindCell(m_parents[0]) : nullptr;
    const CGCell* target = m_parents.GetSize() > 1 ? HxFindCell(m_parents[1]) : nullptr;
    return HxFormat(u"点%s向点%s移动的动画按钮", moving ? moving->m_name : CString(),
                    target ? target->m_name : CString());
}

BOOL CGButnMove::Step() {
    if (!m_valid || m_kind > kInHorizontalPlane || m_parents.GetSize() < 2)
        return TRUE;
    if (!DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0])) ||
        !DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[1])))
        return TRUE;
    switch (m_kind) {
    case kInSpace:
        return StepFree(false);
    case kInHorizontalPlane:
        return StepFree(true);
    case kOnLine:
    case kOnCircle:
        return StepLineOrCircle();
    case kOnCurve:
        return StepCurve();
    case kOnLocus:
        return StepLocus();
    case kInFace:
        return StepInFace();
    case kInPlane:
        return StepInPlane();
    default:
        return StepOnBorder();
    }
}

BOOL CGButnMove::StepFree(bool horizontal) {
    auto* p = static_cast<CGVertex*>(HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    V3 d = Of(*t) - Of(*p);
    if (horizontal)
        d.z = 0.0;
    const double l = std::sqrt(Dot(d, d));
    const double step = 5.0 * double(m_speed);
    if (step > l) {
        p->m_x = t->m_x;
        p->m_y = t->m_y;
        if (!horizontal)
            p->m_z = t->m_z;
        return TRUE;
    }
    const V3 moved = Of(*p) + (step / l) * d;
    p->m_x = float(moved.x);
    p->m_y = float(moved.y);
    if (!horizontal)
        p->m_z = float(moved.z);
    return FALSE;
}

BOOL CGButnMove::StepLineOrCircle() {
    auto* p = static_cast<CGVertex*>(HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    float& lambda = p->m_param1;
    const float h = float(m_direction) * 0.5f * m_speed;
    const float lambda0 = lambda;
    const double d0 = Distance2(*p, *t);
    // Probe two half steps ahead, then two behind; go one half step the way that comes closer.
    lambda = lambda0 + 2.0f * h;
    p->SyncVertex();
    if (Distance2(*p, *t) < d0) {
        lambda = lambda0 + h;
        return FALSE;
    }
    lambda = lambda0 - 2.0f * h;
    p->SyncVertex();
    if (Distance2(*p, *t) < d0) {
        m_direction = -m_direction;
        lambda = lambda0 - h;
        return FALSE;
    }
    // Neither side comes closer: the nearest place lies between the two half steps.
    lambda = lambda0 - h;
    p->SyncVertex();
    const V3 a = Of(*p);
    const float aLambda = lambda;
    if (m_kind == kOnLine) {
        lambda = lambda0 + h;
        p->SyncVertex();
        const V3 b = Of(*p);
        const double l = Dot(b - a, b - a);
        if (l <= 0.0) {
            lambda = lambda0;
            return TRUE;
        }
        const double s = Dot(Of(*t) - a, b - a) / l;
        lambda = float((1.0 - s) * double(aLambda) + s * double(lambda0 + h));
        return TRUE;
    }
    const auto* circle =
        DYNAMIC_DOWNCAST(CGArc, p->m_parents.IsEmpty() ? nullptr : HxFindCell(p->m_parents[0]));
    if (!circle) {
        lambda = lambda0;
        return TRUE;
    }
    const V3 k = Of(circle->m_center);
    const V3 n = Cross(Of(circle->m_axisU), Of(circle->m_axisV));
    const double n2 = Dot(n, n);
    V3 tk = Of(*t) - k;
    if (n2 > 0.0)
        tk = tk - (Dot(tk, n) / n2) * n;
    const V3 ak = a - k;
    const double m = Dot(ak, ak) * Dot(tk, tk);
    if (std::fabs(m) < 1e-5) {
        lambda = lambda0;
        return TRUE;
    }
    double alpha = std::acos(Dot(ak, tk) / std::sqrt(m));
    if (std::isnan(alpha))
        alpha = 0.0;
    lambda = float(h > 0.0f ? double(aLambda) + alpha : double(aLambda) - alpha);
    return TRUE;
}

BOOL CGButnMove::StepCurve() {
    auto* p = static_cast<CGVertex*>(HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    auto* curve = DYNAMIC_DOWNCAST(CGCurve, p->m_parents.IsEmpty() ? nullptr : HxFindCell(p->m_parents[0]));
    if (!curve || curve->m_sampleCount < 2)
        return TRUE;
    const V3 target = Of(*t);
    double best = 1e30;
    int index = -1;
    for (int i = 0; i < curve->m_sampleCount; ++i) {
        const double* s = curve->Sample(i);
        if (!s)
            break;
        const V3 d = V3{s[0], s[1], s[2]} - target;
        const double e = Dot(d, d);
        if (e < best) {
            best = e;
            index = i;
        }
    }
    if (index < 0)
        return TRUE;
    const double start = curve->m_tMin, end = curve->m_tMax;
    const double delta = (end - start) / double(curve->m_sampleCount - 1);
    double tau = start + double(index) * delta;
    float& lambda = p->m_param1;
    if (double(lambda - m_speed) > tau) {
        lambda -= m_speed;
        return FALSE;
    }
    if (tau > double(lambda + m_speed)) {
        lambda += m_speed;
        return FALSE;
    }
    double low, high;
    FineWindow(start, end, tau, delta, low, high);
    FineSearch(low, high, m_speed, [&](double x) {
        double q[3];
        curve->PointAt(x, q);
        const V3 d = V3{q[0], q[1], q[2]} - target;
        const double e = Dot(d, d);
        if (e < best) {
            best = e;
            tau = x;
        }
    });
    lambda = float(tau);
    return TRUE;
}

BOOL CGButnMove::StepLocus() {
    auto* p = static_cast<CGVertex*>(HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    auto* locus = DYNAMIC_DOWNCAST(CGLocus, p->m_parents.IsEmpty() ? nullptr : HxFindCell(p->m_parents[0]));
    if (!locus || locus->m_sampleCount < 2)
        return TRUE;
    // Single precision, as the locus keeps its samples.
    float best = 1e30f;
    int index = -1;
    for (int i = 0; i < locus->m_sampleCount; ++i) {
        const float* s = locus->Sample(i);
        if (!s)
            break;
        const float dx = s[0] - t->m_x, dy = s[1] - t->m_y, dz = s[2] - t->m_z;
        const float e = dx * dx + dy * dy + dz * dz;
        if (e < best) {
            best = e;
            index = i;
        }
    }
    if (index < 0)
        return TRUE;
    const float start = locus->m_t0, end = locus->m_t1;
    const float delta = (end - start) / float(locus->m_sampleCount - 1);
    float tau = start + float(index) * delta;
    float& lambda = p->m_param1;
    if (lambda - m_speed > tau) {
        lambda -= m_speed;
        return FALSE;
    }
    if (tau > lambda + m_speed) {
        lambda += m_speed;
        return FALSE;
    }
    double low, high;
    FineWindow(start, end, tau, delta, low, high);
    // Evaluating the locus moves its driver: put the chain back afterwards.
    CGCell* driver = locus->m_parents.IsEmpty() ? nullptr : HxFindCell(locus->m_parents[0]);
    const float saved = driver ? driver->m_param1 : 0.0f;
    FineSearch(low, high, m_speed, [&](double at) {
        const float x = float(at);
        float q[3];
        locus->PointAtParameter(q, x);
        const float dx = q[0] - t->m_x, dy = q[1] - t->m_y, dz = q[2] - t->m_z;
        const float e = dx * dx + dy * dy + dz * dz;
        if (e < best) {
            best = e;
            tau = x;
        }
    });
    if (driver) {
        float q[3];
        locus->PointAtParameter(q, saved);
    }
    lambda = tau;
    return TRUE;
}

BOOL CGButnMove::StepInFace() {
    auto* p = DYNAMIC_DOWNCAST(CGVerFreeInFace, HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    const CGFace* face = p ? p->GetFace() : nullptr;
    if (!face)
        return TRUE;
    const int n = int(face->m_parents.GetSize());
    std::vector<const CGVertex*> corners;
    for (int i = 0; i < n; ++i) {
        const CGVertex* c = face->GetCorner(i);
        if (!c)
            return TRUE;
        corners.push_back(c);
    }
    if (n < 3)
        return TRUE;
    float q[3];
    ToFloats(FootOnPlane(Of(*t), Of(*corners[0]), Of(*corners[1]), Of(*corners[2])), q);
    if (!face->TestPoint(q))
        face->NearestBoundaryPoint(q, q[0], q[1], q[2]);
    const V3 d = Of(q) - Of(*p);
    const double l = std::sqrt(Dot(d, d));
    const bool arrives = double(m_speed) >= l;
    float m[3];
    if (arrives)
        std::copy(q, q + 3, m);
    else
        ToFloats(Of(*p) + (double(m_speed) / l) * d, m);
    // The fan triangle (V0, Vi, Vi+1) that holds the new place gives the point's weights.
    for (int i = 1; i <= n - 2; ++i) {
        const float v0[3] = {corners[0]->m_x, corners[0]->m_y, corners[0]->m_z};
        const float vi[3] = {corners[i]->m_x, corners[i]->m_y, corners[i]->m_z};
        const float vj[3] = {corners[i + 1]->m_x, corners[i + 1]->m_y, corners[i + 1]->m_z};
        float a = 0.0f, b = 0.0f;
        if (!PlaneCoordinatesF(v0, vi, vj, m, &a, &b))
            continue;
        if (b >= 0.0f && 1.0f - a - b >= 0.0f) {
            p->m_fanIndex = i;
            p->m_weight0 = a;
            p->m_weightK = b;
            return arrives ? TRUE : FALSE;
        }
    }
    return TRUE;
}

BOOL CGButnMove::StepInPlane() {
    auto* p = DYNAMIC_DOWNCAST(CGVerFreeInPlane, HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    if (!p || p->m_parents.GetSize() < 3)
        return TRUE;
    const CGVertex* v[3];
    for (int i = 0; i < 3; ++i) {
        v[i] = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(p->m_parents[i]));
        if (!v[i])
            return TRUE;
    }
    const V3 q = FootOnPlane(Of(*t), Of(*v[0]), Of(*v[1]), Of(*v[2]));
    const V3 d = q - Of(*p);
    const double l = std::sqrt(Dot(d, d));
    const bool arrives = double(m_speed) >= l;
    float m[3];
    ToFloats(arrives ? q : Of(*p) + (double(m_speed) / l) * d, m);
    const float a[3] = {v[0]->m_x, v[0]->m_y, v[0]->m_z};
    const float b[3] = {v[1]->m_x, v[1]->m_y, v[1]->m_z};
    const float c[3] = {v[2]->m_x, v[2]->m_y, v[2]->m_z};
    float s = 0.0f, w = 0.0f;
    if (!PlaneCoordinatesF(a, b, c, m, &s, &w))
        return TRUE; // no plane to move in
    p->m_weightA = s;
    p->m_weightB = w;
    return arrives ? TRUE : FALSE;
}

BOOL CGButnMove::StepOnBorder() {
    auto* p = static_cast<CGVertex*>(HxFindCell(m_parents[0]));
    const auto* t = static_cast<CGVertex*>(HxFindCell(m_parents[1]));
    const auto* border = DYNAMIC_DOWNCAST(CGVerFreeInBorder, p);
    const int m = border ? border->m_pieceCount : 0;
    if (m < 1 || p->m_parents.GetSize() < m)
        return TRUE;
    std::vector<const CGVertex*> corners;
    for (int i = 0; i < m; ++i) {
        const CGVertex* c = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(p->m_parents[i]));
        if (!c)
            return TRUE;
        corners.push_back(c);
    }
    const float target[3] = {t->m_x, t->m_y, t->m_z};
    double best = 1e300, bestU = 0.0;
    int bestI = 0;
    for (int i = 0; i < m; ++i) {
        const CGVertex* a = corners[i];
        const CGVertex* b = corners[(i + 1) % m];
        const float pa[3] = {a->m_x, a->m_y, a->m_z};
        const float pb[3] = {b->m_x, b->m_y, b->m_z};
        double u = 0.0;
        const double dist = DistancePointSegmentF(pa, pb, target, &u);
        if (dist < best) {
            best = dist;
            bestI = i;
            bestU = u;
        }
    }
    float& lambda = p->m_param1;
    const double g = double(bestI) + bestU;
    const double delta = g - double(lambda);
    if (double(m_speed) > std::fabs(delta) || std::fabs(delta) > double(m_speed) + double(m)) {
        lambda = float(g);
        return TRUE;
    }
    if ((2.0 * delta > 0.0 && 2.0 * delta < double(m)) || 2.0 * delta < -double(m)) {
        lambda += m_speed;
    } else {
        lambda -= m_speed;
        if (lambda < 0.0f)
            lambda += float(m);
    }
    return FALSE;
}
