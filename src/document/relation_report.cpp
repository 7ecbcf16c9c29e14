// The relation report: the distances and angles of two points, lines or planes with the texts the
// properties command shows them in.
#include "document/relation_report.h"

#include "model/geometry.h"
#include "model/vertex.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegrees = 57.2957795131;
constexpr double kPi = 3.14159265358979323846;

// The valid point with that id, or null.
const CGVertex* ValidPoint(WORD id) {
    const auto* point = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(id));
    return point && point->m_valid ? point : nullptr;
}

// An element as the points it stands for: a point itself, or the first `count` parents of a line (2)
// or a face (3).  FALSE when the element or one of those points is missing or not valid.
struct Element {
    CString name;
    float p[3][3] = {};
};

BOOL TakeElement(WORD id, int count, Element& out) {
    CGCell* cell = HxFindCell(id);
    if (!cell || !cell->m_valid)
        return FALSE;
    out.name = cell->m_name;
    if (count == 1) {
        const CGVertex* point = ValidPoint(id);
        if (!point)
            return FALSE;
        point->GetPosition(out.p[0]);
        return TRUE;
    }
    if (cell->m_parents.GetSize() < count)
        return FALSE;
    for (int i = 0; i < count; ++i) {
        const CGVertex* point = ValidPoint(cell->m_parents[i]);
        if (!point)
            return FALSE;
        point->GetPosition(out.p[i]);
    }
    return TRUE;
}

// The distance of P from the line AB: the differences in single precision, the rest in double.
float PointLineDistance(const float* p, const float* a, const float* b) {
    const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float d[3] = {p[0] - a[0], p[1] - a[1], p[2] - a[2]};
    double s = double(d[0]) * d[0] + double(d[1]) * d[1] + double(d[2]) * d[2];
    const double uu = double(u[0]) * u[0] + double(u[1]) * u[1] + double(u[2]) * u[2];
    if (uu > double(1e-5f)) {
        const double du = double(d[0]) * u[0] + double(d[1]) * u[1] + double(d[2]) * u[2];
        s -= du * du / uu;
    }
    // Rounding can leave a point on the line a hair below zero.
    return float(std::sqrt(std::max(s, 0.0)));
}

} // namespace

BOOL HxRelationReport(HxRelation relation, WORD first, WORD second, CString& text, CString& title) {
    static constexpr int kPoints[6][2] = {{1, 2}, {1, 3}, {1, 1}, {2, 3}, {2, 2}, {3, 3}};
    const int* counts = kPoints[int(relation)];
    Element a, b;
    if (!TakeElement(first, counts[0], a) || !TakeElement(second, counts[1], b))
        return FALSE;
    switch (relation) {
    case HxRelation::PointLine:
        text = HxFormat(u"点 %s 到直线 %s 距离为 %g \n", a.name, b.name,
                        double(PointLineDistance(a.p[0], b.p[0], b.p[1])));
        title = u"点到直线距离";
        break;
    case HxRelation::PointPlane:
        text = HxFormat(u"点 %s 到平面 %s 距离为 %g \n", a.name, b.name,
                        double(DistancePointPlaneF(a.p[0], b.p[0], b.p[1], b.p[2])));
        title = u"点到平面距离";
        break;
    case HxRelation::TwoPoints: {
        const float dx = a.p[0][0] - b.p[0][0], dy = a.p[0][1] - b.p[0][1], dz = a.p[0][2] - b.p[0][2];
        text = HxFormat(u"点 %s 与点 %s 距离为 %g \n", a.name, b.name,
                        double(std::sqrt(dx * dx + dy * dy + dz * dz)));
        title = u"两点间距离";
        break;
    }
    case HxRelation::LinePlane: {
        const float angle = AngleLinePlaneF(a.p[0], a.p[1], b.p[0], b.p[1], b.p[2]);
        text = HxFormat(u"直线 %s 与平面 %s 相交，所成角为 %g°\n", a.name, b.name,
                        double(float(angle * kDegrees)));
        if (std::fabs(angle) < 1e-6) {
            const float dist = DistancePointPlaneF(a.p[0], b.p[0], b.p[1], b.p[2]);
            text = dist > 1e-6 ? HxFormat(u"直线 %s 与平面 %s 平行，距离为 %g", a.name, b.name, double(dist))
                               : HxFormat(u"直线 %s 在平面 %s 内", a.name, b.name);
        }
        title = u"直线与平面关系";
        break;
    }
    case HxRelation::TwoLines: {
        const float angle = AngleBetweenLinesF(a.p[0], a.p[1], b.p[0], b.p[1]);
        const float dist = DistanceLinesF(a.p[0], a.p[1], b.p[0], b.p[1]);
        text = HxFormat(u"直线 %s 与直线 %s 所成角为 %g°\n\n距离为 %g", a.name, b.name,
                        double(float(angle * kDegrees)), double(dist));
        title = u"两条直线关系";
        break;
    }
    case HxRelation::TwoPlanes: {
        const float angle = DihedralAngleF(a.p[0], a.p[1], a.p[2], b.p[0], b.p[1], b.p[2]);
        text = HxFormat(u"平面 %s 与平面 %s 相交，所成角为 %g°\n", a.name, b.name,
                        double(float(angle * kDegrees)));
        // Parallel planes come out at 0 or at 180 degrees, as their normals point.
        if (std::fabs(angle) < 1e-6 || std::fabs(kPi - angle) < 1e-6) {
            const float dist = DistancePointPlaneF(a.p[0], b.p[0], b.p[1], b.p[2]);
            text = dist > 1e-6 ? HxFormat(u"平面 %s 与平面 %s 平行，距离为 %g", a.name, b.name, double(dist))
                               : HxFormat(u"平面 %s 与平面 %s 重合", a.name, b.name);
        }
        title = u"两平面关系";
        break;
    }
    }
    return TRUE;
}
