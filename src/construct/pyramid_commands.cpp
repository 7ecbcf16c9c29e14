// The pyramid, frustum and tetrahedron commands: the pyramid and the frustum on a selected apex and
// base face (or a default triangular one), the regular square pyramid, the regular triangular
// pyramid on a point, the regular hexagonal frustum and the regular tetrahedron, each one undo step.
#include "construct/construct_ids.h"
#include "construct/solid_commands.h"
#include "document/halvix_doc.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "points/triangle_centres.h"
#include "view/view_colors.h"

#include <cmath>

namespace {

// The height that makes the lateral edges of a pyramid on a square of side 10 (or a triangle of side
// 12) as long as its base edges: 4 sqrt(6).
constexpr float kRegularHeight = 9.7979593f;

// The apex on the normal of the base through O, at the distance given (the normal (A - O) x (B - O)).
WORD AddApex(CConstruction& run, const CString* name, WORD o, WORD a, WORD b, float height) {
    auto* apex =
        name ? run.AddNamedPoint<CGVerFreePerpen>(*name, o, a, b) : run.AddPoint<CGVerFreePerpen>(o, a, b);
    apex->m_param1 = height;
    apex->Recompute();
    return apex->m_id;
}

} // namespace

void CHalvixDoc::AddPyramidCommands() {
    OnCommandId(ID_CREATE_SOLID_PYRAMID, &CHalvixDoc::OnPyramid);
    OnCommandId(ID_CREATE_SOLID_TRUN, &CHalvixDoc::OnPyramidFrustum);
    OnCommandId(ID_CREATE_SOLID_TETRAHEDRON, &CHalvixDoc::OnPyramidSquareRegular);
    OnCommandId(ID_CREATE_SOLID_SIXTRUN, &CHalvixDoc::OnFrustumHexagonRegular);
}

void CHalvixDoc::OnPyramid() {
    if (!g_pCurPage || HxBuildOnSelection(*this, &CGPage::BuildPyramid, u"添加棱锥"))
        return;
    CConstruction run(*this);
    if (!run.Reserve(15, 5))
        return;
    const CBaseTriangle base = HxAddDefaultTriangle(run);
    auto* o = run.AddNamedPoint<CGVerBarycenter>(CString(u"O"), base.a, base.b, base.c);
    o->m_labelHidden = 1;
    // V 15 above the centroid: on the z axis at height 9.
    const CString v = u"V";
    const WORD apex = AddApex(run, &v, o->m_id, base.a, base.b, 15.0f);
    run.Page().BuildPyramid(apex, base.face);
    run.CommitCells(u"添加棱锥");
}

void CHalvixDoc::OnPyramidFrustum() {
    if (!g_pCurPage || HxBuildOnSelection(*this, &CGPage::BuildFrustum, u"添加棱台"))
        return;
    // The default triangular frustum, built here: its top is half the base and follows A, B and C.
    CConstruction run(*this);
    if (!run.Reserve(21, 8))
        return;
    const CBaseTriangle base = HxAddDefaultTriangle(run);
    auto* d = run.AddNamedPoint<CGVerScale>(CString(u"D"), base.b, base.c, 0.5f); // the middle of BC
    d->m_labelHidden = 1;
    // A1 is D reflected in the origin: over A at half its distance from the z axis, at height 6.
    const WORD a1 = run.AddNamedPoint<CGVerSymmetry>(CString(u"A1"), d->m_id, BYTE(7))->m_id;
    const WORD b1 =
        run.AddNamedPoint<CGVerRotate>(CString(u"B1"), a1, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, kThirdTurn)
            ->m_id;
    const WORD c1 =
        run.AddNamedPoint<CGVerRotate>(CString(u"C1"), a1, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -kThirdTurn)
            ->m_id;
    HxAddEdges(run, {a1, b1, c1});
    run.AddCell<CGFace>(a1, b1, c1, NextAutoColor());
    for (auto [p, q] : {std::pair{base.a, a1}, {base.b, b1}, {base.c, c1}})
        run.AddCell<CGLine>(p, q, CGLine::kSegment);
    run.AddCell<CGFace>(base.a, base.b, b1, a1, NextAutoColor());
    run.AddCell<CGFace>(base.b, base.c, c1, b1, NextAutoColor());
    run.AddCell<CGFace>(base.c, base.a, a1, c1, NextAutoColor());
    run.CommitCells(u"添加棱台");
}

void CHalvixDoc::OnPyramidSquareRegular() {
    CConstruction run(*this);
    if (!g_pCurPage || !run.Reserve(19, 6))
        return;
    // The square base as the cube's: D square to AB at A and as long, C = B + D - A.
    const WORD a = run.AddPoint<CGVerFreeXyz>(-5.0f, -5.0f, -5.0f)->m_id;
    const WORD b = run.AddPoint<CGVerFreeHenchman>(5.0f, -5.0f, -5.0f, a)->m_id;
    const CString nameC = run.Page().MakeAutoLabel(CGPage::kAutoLabelPoint);
    const WORD d = run.AddPoint<CGVerFreeUprightEquid>(a, b)->m_id;
    const WORD c = run.AddNamedPoint<CGVerTranslate>(nameC, b, a, d)->m_id;
    HxAddEdges(run, {a, b, c, d});
    const WORD o = run.AddNamedPoint<CGVerScale>(CString(u"O"), c, a, 0.5f)->m_id; // the centre
    const WORD apex = AddApex(run, nullptr, o, a, b, kRegularHeight);
    const WORD face = run.AddCell<CGFace>(a, b, c, d, NextAutoColor())->m_id;
    run.Page().BuildPyramid(apex, face);
    run.CommitCells(u"添加正四棱锥");
}

void CHalvixDoc::OnPyramidTriangleRegular(WORD pointId) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CGVertex* given = pointId != 0 ? DYNAMIC_DOWNCAST(CGVertex, page->FindCell(pointId)) : nullptr;
    CConstruction run(*this);
    if (!run.Reserve(given ? 14 : 15, 5))
        return;
    CGVertex* a = given ? given : run.AddPoint<CGVerFreeXyz>(-6.0f, -3.4641016f, -5.0f);
    const WORD b = run.AddPoint<CGVerFreeHenchman>(a->m_x + 12.0f, a->m_y, a->m_z, a->m_id)->m_id;
    const WORD c = run.AddPoint<CGVerFreeEquilateral>(a->m_id, b)->m_id;
    HxAddEdges(run, {a->m_id, b, c});
    const WORD face = run.AddCell<CGFace>(a->m_id, b, c, NextAutoColor())->m_id;
    const WORD o = run.AddNamedPoint<CGVerBarycenter>(CString(u"O"), a->m_id, b, c)->m_id;
    // All six edges 12 at first.
    const WORD apex = AddApex(run, nullptr, o, a->m_id, b, kRegularHeight);
    page->BuildPyramid(apex, face);
    run.CommitCells(u"添加正三棱锥");
}

void CHalvixDoc::OnFrustumHexagonRegular() {
    CConstruction run(*this);
    if (!g_pCurPage || !run.Reserve(41, 15))
        return;
    const WORD a = run.AddPoint<CGVerFreeXyz>(-5.0f, -5.0f, -5.0f)->m_id;
    const WORD b = run.AddPoint<CGVerFreeHenchman>(5.0f, -5.0f, -5.0f, a)->m_id;
    // The centre O makes an equilateral triangle with A and B; the other corners follow from it.
    const WORD o = run.AddNamedPoint<CGVerFreeEquilateral>(CString(u"O"), a, b)->m_id;
    const WORD c = run.AddPoint<CGVerTranslate>(o, a, b)->m_id;
    const WORD d = run.AddPoint<CGVerSymmetryP>(a, o)->m_id;
    const WORD e = run.AddPoint<CGVerSymmetryP>(b, o)->m_id;
    const WORD f = run.AddPoint<CGVerSymmetryP>(c, o)->m_id;
    HxAddEdges(run, {a, b, c, d, e, f});
    CList<WORD, WORD> corners;
    for (WORD p : {a, b, c, d, e, f})
        corners.AddTail(p);
    const WORD face = run.AddCell<CGFace>(corners, NextAutoColor())->m_id;
    // The lateral edges meet 15 above O; the point keeps its empty name.
    const CString none;
    const WORD apex = AddApex(run, &none, o, a, b, 15.0f);
    run.Page().BuildFrustum(apex, face);
    run.CommitCells(u"添加正六棱台");
}

void CHalvixDoc::OnTetrahedronRegular(WORD) {
    CConstruction run(*this);
    if (!g_pCurPage || !run.Reserve(14, 4))
        return;
    // Edge 16, the base a quarter of the height below the origin: the solid starts centred there.
    const WORD a = run.AddPoint<CGVerFreeXyz>(-8.0f, -4.6188021f, -3.2659864f)->m_id;
    const WORD b = run.AddPoint<CGVerFreeHenchman>(8.0f, -4.6188021f, -3.2659864f, a)->m_id;
    const WORD c = run.AddPoint<CGVerFreeEquilateral>(a, b)->m_id;
    const WORD ab = HxAddEdges(run, {a, b, c});
    // D is C turned about AB by the dihedral angle arccos(1/3).
    const float dihedral = float(std::acos(1.0 / 3.0));
    const WORD d = run.AddPoint<CGVerRotateX>(c, ab, dihedral, BYTE(0))->m_id;
    for (WORD p : {a, b, c})
        run.AddCell<CGLine>(d, p, CGLine::kSegment);
    run.AddCell<CGFace>(c, b, a, NextAutoColor());
    run.AddCell<CGFace>(b, c, d, NextAutoColor());
    run.AddCell<CGFace>(c, a, d, NextAutoColor());
    run.AddCell<CGFace>(a, b, d, NextAutoColor());
    run.CommitCells(u"添加正四面体");
}
