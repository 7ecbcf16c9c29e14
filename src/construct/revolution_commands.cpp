// The cylinder, cone and frustum commands: a solid of revolution on the corners of a right triangle
// (a right trapezium for the frustum) that the user selected, completed from two points, or on default
// points that stay draggable, with its base circles, as one undo step.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "points/translated_points.h"
#include "solids/revolution_constructed.h"

#include <cmath>

namespace {

enum class CRevKind { Cylinder, Cone, Frustum };

// Dot products of the legs above this (on the points' own coordinates, unnormalised) are no right
// angle.
constexpr double kRightAngleTolerance = 0.01;

double DotOfLegs(const CGVertex& corner, const CGVertex& a, const CGVertex& b) {
    const double u[3] = {double(corner.m_x) - a.m_x, double(corner.m_y) - a.m_y, double(corner.m_z) - a.m_z};
    const double v[3] = {double(corner.m_x) - b.m_x, double(corner.m_y) - b.m_y, double(corner.m_z) - b.m_z};
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
}

// The points of the figure in their roles: P1 top centre (apex), P2 bottom centre, P3 on the bottom
// circle, P4 on the top circle (frustum).
struct CRevPoints {
    WORD p1 = 0, p2 = 0, p3 = 0, p4 = 0;
};

// Cells and points a run makes, by command and by the number of points it builds on (0, 2 or all).
struct CRevCounts {
    int cells;
    int points;
};
CRevCounts CountsFor(CRevKind kind, int used, int all) {
    int points = used == 0 ? 3 : (used == 2 ? 1 : 0); // of P1, P2 and P3
    if (kind == CRevKind::Frustum && used < all)
        ++points; // P4
    if (kind == CRevKind::Cylinder)
        ++points; // the point of the top circle
    const int circles = kind == CRevKind::Cone ? 1 : 2;
    return {points + 1 + circles, points};
}

// Runs one of the three commands on the current page.
void BuildSolid(CHalvixDoc& doc, CRevKind kind) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> selected = HxSelectedCells<CGVertex>(page->m_selPoints);
    const int all = kind == CRevKind::Frustum ? 4 : 3;
    const int n = int(selected.size());
    if (n != 0 && n != 2 && n < all)
        return; // nothing to build on: nothing happens
    if (n >= all) {
        if (std::abs(DotOfLegs(*selected[1], *selected[0], *selected[2])) > kRightAngleTolerance) {
            AfxMessageBox(kind == CRevKind::Frustum ? u"所选前三点P1,P2,P3不满足P1P2垂直于P2P3."
                                                    : u"所选三点P1,P2,P3不满足P1P2垂直于P2P3.",
                          MB_OK);
            return;
        }
        if (kind == CRevKind::Frustum &&
            std::abs(DotOfLegs(*selected[0], *selected[1], *selected[3])) > kRightAngleTolerance) {
            AfxMessageBox(u"所选三点P1,P2,P4不满足P1P2垂直于P1P4.", MB_OK);
            return;
        }
    }
    const int used = n >= all ? all : n;
    const CRevCounts counts = CountsFor(kind, used, all);
    CConstruction run(doc);
    if (!run.Reserve(counts.cells, counts.points))
        return;

    CRevPoints p;
    if (used == 0) {
        p.p2 = run.AddPoint<CGVerFreeXyz>(0.0f, 0.0f, -4.0f)->m_id;
        p.p1 = run.AddPoint<CGVerFreeParVector>(0.0f, 0.0f, 1.0f, p.p2)->m_id;
    } else {
        p.p1 = selected[0]->m_id;
        p.p2 = selected[1]->m_id;
    }
    if (used < all) {
        p.p3 = run.AddPoint<CGVerFreeUpright>(p.p2, p.p1)->m_id;
        if (kind == CRevKind::Frustum) {
            auto* p4 = run.AddPoint<CGVerFreeParVecPP>(p.p1, p.p2, p.p3);
            p4->m_param1 = 4.0f;
            p4->Recompute();
            p.p4 = p4->m_id;
        }
    } else {
        p.p3 = selected[2]->m_id;
        if (kind == CRevKind::Frustum)
            p.p4 = selected[3]->m_id;
    }

    switch (kind) {
    case CRevKind::Cylinder: {
        run.AddCell<CGCylinderCPC>(p.p2, p.p3, p.p1);
        const WORD q = run.AddPoint<CGVerTranslate>(p.p3, p.p2, p.p1)->m_id;
        run.AddCell<CGArcPointN>(p.p2, p.p3, p.p1, BYTE(0), DWORD(1));
        run.AddCell<CGArcPointN>(p.p1, q, p.p2, BYTE(0), DWORD(1));
        run.CommitCells(u"添加圆柱");
        break;
    }
    case CRevKind::Cone:
        run.AddCell<CGConeCPV>(p.p2, p.p3, p.p1);
        run.AddCell<CGArcPointN>(p.p2, p.p3, p.p1, BYTE(0), DWORD(1));
        run.CommitCells(u"添加圆锥");
        break;
    case CRevKind::Frustum:
        run.AddCell<CGFrustumCP2>(p.p2, p.p3, p.p1, p.p4);
        run.AddCell<CGArcPointN>(p.p2, p.p3, p.p1, BYTE(0), DWORD(1));
        run.AddCell<CGArcPointN>(p.p1, p.p4, p.p2, BYTE(0), DWORD(1));
        run.CommitCells(u"添加圆台");
        break;
    }
}

int SelectedPointCount() {
    return g_pCurPage ? g_pCurPage->m_selPoints.GetCount() : -1;
}

} // namespace

void CHalvixDoc::AddRevolutionCommands() {
    OnCommandId(ID_CREATE_CYLINDER, &CHalvixDoc::OnCylinder);
    OnCommandId(ID_CREATE_CONE, &CHalvixDoc::OnCone);
    OnCommandId(ID_CREATE_PLATFORM, &CHalvixDoc::OnFrustum);
    OnUpdateId(ID_CREATE_CYLINDER, &CHalvixDoc::OnUpdateCylinderCone);
    OnUpdateId(ID_CREATE_CONE, &CHalvixDoc::OnUpdateCylinderCone);
    OnUpdateId(ID_CREATE_PLATFORM, &CHalvixDoc::OnUpdateFrustum);
}

void CHalvixDoc::OnCylinder() {
    BuildSolid(*this, CRevKind::Cylinder);
}

void CHalvixDoc::OnCone() {
    BuildSolid(*this, CRevKind::Cone);
}

void CHalvixDoc::OnFrustum() {
    BuildSolid(*this, CRevKind::Frustum);
}

void CHalvixDoc::OnUpdateCylinderCone(CCmdUI* pCmdUI) {
    const int p = SelectedPointCount();
    pCmdUI->Enable(p == 0 || p == 2 || p == 3);
}

void CHalvixDoc::OnUpdateFrustum(CCmdUI* pCmdUI) {
    const int p = SelectedPointCount();
    pCmdUI->Enable(p == 0 || p == 2 || p == 4);
}
