// The page's builders of fixed round figures (a circle, a cylinder, a cone, a frustum and a sphere
// about a centre and an axis, with their centre points and circles) and of the points dividing a
// segment into equal parts.
#include "construct/construction.h"
#include "model/arc.h"
#include "model/page.h"
#include "model/vertex.h"
#include "points/scaled_points.h"
#include "solids/revolution.h"

#include <cmath>

namespace {

constexpr float kFullTurn = 6.2831855f;

struct F3 {
    float x, y, z;
};

// The two radius vectors, each of length r, of a circle square to the direction d: u horizontal and
// v = d x u turned towards d's rise; along z (either way) u = (r, 0, 0) and v = (0, r, 0).  All in
// single precision.
void CircleFrame(float r, F3 d, F3& u, F3& v) {
    if (std::fabs(d.x) > 0.001f || std::fabs(d.y) > 0.001f) {
        const float h = std::sqrt(d.y * d.y + d.x * d.x);
        u = {r * -d.y / h, r * d.x / h, 0.0f};
        const F3 w = {-d.x * d.z, -d.y * d.z, d.x * d.x + d.y * d.y};
        const float lw = std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z);
        v = {r * w.x / lw, r * w.y / lw, r * w.z / lw};
    } else {
        u = {r, 0.0f, 0.0f};
        v = {0.0f, r, 0.0f};
    }
}

CGVertex* AddFixedPoint(CCellMaker& make, F3 p) {
    return make.AddPoint<CGVertex>(p.x, p.y, p.z);
}

CGArc* AddCircle(CCellMaker& make, F3 c, F3 u, F3 v) {
    return make.AddCell<CGArc>(c.x, c.y, c.z, u.x, u.y, u.z, v.x, v.y, v.z, 0.0f, kFullTurn, CGArc::kCircle);
}

// The axis of a solid of revolution: its unit direction and its two end centres P0 and P1, a height
// h apart and halfway about m; a direction too short to turn stands along +z.
struct CAxis {
    F3 unit, p0, p1;
};
CAxis AxisAbout(F3 m, float h, F3 a) {
    const float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    CAxis axis;
    if (length >= 0.001f) {
        axis.unit = {a.x / length, a.y / length, a.z / length};
        const F3 half = {axis.unit.x * h * 0.5f, axis.unit.y * h * 0.5f, axis.unit.z * h * 0.5f};
        axis.p0 = {m.x - half.x, m.y - half.y, m.z - half.z};
        axis.p1 = {m.x + half.x, m.y + half.y, m.z + half.z};
    } else {
        axis.unit = {0.0f, 0.0f, 1.0f};
        axis.p0 = {m.x, m.y, m.z - h * 0.5f};
        axis.p1 = {m.x, m.y, m.z + h * 0.5f};
    }
    return axis;
}

enum class CRoundKind { Cylinder, Cone, Frustum };

// The solids of revolution: bottom centre, top centre (the apex of the cone), the bottom circle, the
// top circle (none for the cone; q times as large for the frustum), then the solid.
int BuildRoundSolid(CGPage& page, CRoundKind kind, F3 m, float r, float h, float q, F3 a) {
    CCellMaker make(page);
    if (!make.Reserve(kind == CRoundKind::Cone ? 4 : 5, 2))
        return 0;
    const CAxis axis = AxisAbout(m, h, a);
    F3 u, v;
    CircleFrame(r, axis.unit, u, v);
    AddFixedPoint(make, axis.p0);
    AddFixedPoint(make, axis.p1);
    AddCircle(make, axis.p0, u, v);
    const F3 p = axis.p0, d = axis.unit;
    switch (kind) {
    case CRoundKind::Cylinder:
        AddCircle(make, axis.p1, u, v);
        make.AddCell<CGCylinder>(p.x, p.y, p.z, r, h, d.x, d.y, d.z);
        break;
    case CRoundKind::Cone:
        make.AddCell<CGCone>(p.x, p.y, p.z, r, h, d.x, d.y, d.z);
        break;
    case CRoundKind::Frustum:
        AddCircle(make, axis.p1, {q * u.x, q * u.y, q * u.z}, {q * v.x, q * v.y, q * v.z});
        make.AddCell<CGFrustum>(p.x, p.y, p.z, r, h, d.x, d.y, d.z, q);
        break;
    }
    return make.Count();
}

} // namespace

int CGPage::BuildStaticCircle(float cx, float cy, float cz, float radius, float ax, float ay, float az) {
    CCellMaker make(*this);
    if (!make.Reserve(2, 1))
        return 0;
    const F3 m = {cx, cy, cz};
    F3 u, v;
    CircleFrame(radius, {ax, ay, az}, u, v);
    AddFixedPoint(make, m);
    AddCircle(make, m, u, v);
    return make.Count();
}

int CGPage::BuildStaticCylinder(float cx, float cy, float cz, float radius, float height, float ax, float ay,
                                float az) {
    return BuildRoundSolid(*this, CRoundKind::Cylinder, {cx, cy, cz}, radius, height, 1.0f, {ax, ay, az});
}

int CGPage::BuildStaticCone(float cx, float cy, float cz, float radius, float height, float ax, float ay,
                            float az) {
    return BuildRoundSolid(*this, CRoundKind::Cone, {cx, cy, cz}, radius, height, 1.0f, {ax, ay, az});
}

int CGPage::BuildStaticFrustum(float cx, float cy, float cz, float radius, float height, float ratio,
                               float ax, float ay, float az) {
    return BuildRoundSolid(*this, CRoundKind::Frustum, {cx, cy, cz}, radius, height, ratio, {ax, ay, az});
}

int CGPage::BuildStaticSphere(float cx, float cy, float cz, float radius, float ax, float ay, float az) {
    CCellMaker make(*this);
    if (!make.Reserve(5, 1))
        return 0;
    const F3 m = {cx, cy, cz};
    // The axis w from the centre to the north pole, as long as the radius, and the equator's frame.
    F3 w, u, v;
    if (std::fabs(ax) > 0.001f || std::fabs(ay) > 0.001f) {
        const float length = std::sqrt(ax * ax + ay * ay + az * az);
        w = {radius * ax / length, radius * ay / length, radius * az / length};
        CircleFrame(radius, w, u, v);
    } else {
        w = {0.0f, 0.0f, radius};
        u = {radius, 0.0f, 0.0f};
        v = {0.0f, radius, 0.0f};
    }
    AddFixedPoint(make, m);
    make.AddCell<CGSphere>(m.x, m.y, m.z, radius, w.x, w.y, w.z);
    // Three great circles: the equator, then the two meridians through the axis.
    AddCircle(make, m, u, v);
    AddCircle(make, m, v, w);
    AddCircle(make, m, w, u);
    return make.Count();
}

int CGPage::BuildDivisionPoints(WORD a, WORD b, int n, BOOL onlyFirst) {
    if (n < 2 || !DYNAMIC_DOWNCAST(CGVertex, FindCell(a)) || !DYNAMIC_DOWNCAST(CGVertex, FindCell(b)))
        return 0;
    const int count = onlyFirst ? 1 : n - 1;
    CCellMaker make(*this);
    if (!make.Reserve(count, count))
        return 0;
    for (int k = 1; k <= count; ++k) {
        // k/n of the way from A to B, the product taken in double precision.
        make.AddPoint<CGVerScale>(b, a, float(k * (1.0 / n)));
    }
    return make.Count();
}
