// The prism commands: the cuboid, the cube, the parallelepiped and the axis-parallel cuboid on a
// parallelogram base, the prism on a selected base face and top vertex (or the default triangular
// prism) and the regular pentagonal prism.  Each builds its base of draggable and constructed points
// and lets the page's prism builder add the rest, as one undo step.
#include "construct/construct_ids.h"
#include "construct/solid_commands.h"
#include "document/halvix_doc.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "view/view_colors.h"

#include <vector>

namespace {

// The base ABCD of the parallelogram family, on A and B made by the caller: D, then C = B + D - A
// (its name taken before D's, so that the corners read A, B, C, D), the base face and the edges AB,
// BC, CD, DA.
struct CBaseFour {
    WORD c, d, face;
};
template <class MakeD> CBaseFour AddParallelogramBase(CConstruction& run, WORD a, WORD b, MakeD makeD) {
    CBaseFour base;
    const CString nameC = run.Page().MakeAutoLabel(CGPage::kAutoLabelPoint);
    base.d = makeD();
    base.c = run.AddNamedPoint<CGVerTranslate>(nameC, b, a, base.d)->m_id;
    base.face = run.AddCell<CGFace>(a, b, base.c, base.d, NextAutoColor())->m_id;
    HxAddEdges(run, {a, b, base.c, base.d});
    return base;
}

// A free point on the line through `origin` along an axis, at the distance given; named
// automatically.
WORD AddOnAxis(CConstruction& run, float dx, float dy, float dz, WORD origin, float distance) {
    auto* p = run.AddPoint<CGVerFreeParVector>(dx, dy, dz, origin);
    p->m_param1 = distance;
    p->Recompute();
    return p->m_id;
}

// The cuboid, the cube and the parallelepiped: A free, B following A, D by `makeD`, the top vertex
// over A by `makeTop`, then the prism.
template <class MakeD, class MakeTop>
void BuildOnParallelogram(CHalvixDoc& doc, const float a0[3], const float b0[3], MakeD makeD, MakeTop makeTop,
                          const char16_t* undoText) {
    CConstruction run(doc);
    if (!g_pCurPage || !run.Reserve(26, 8))
        return;
    const WORD a = run.AddPoint<CGVerFreeXyz>(a0[0], a0[1], a0[2])->m_id;
    const WORD b = run.AddPoint<CGVerFreeHenchman>(b0[0], b0[1], b0[2], a)->m_id;
    const CBaseFour base = AddParallelogramBase(run, a, b, [&] { return makeD(run, a, b); });
    const WORD top = makeTop(run, a, b, base.d);
    run.Page().BuildPrism(top, base.face);
    run.CommitCells(undoText);
}

} // namespace

WORD HxAddEdges(CConstruction& run, std::initializer_list<WORD> corners) {
    const std::vector<WORD> c(corners);
    const WORD first = run.Page().m_nextId;
    for (size_t i = 0; i < c.size(); ++i)
        run.AddCell<CGLine>(c[i], c[(i + 1) % c.size()], CGLine::kSegment);
    return first;
}

CBaseTriangle HxAddDefaultTriangle(CConstruction& run) {
    CBaseTriangle t;
    t.a = run.AddNamedPoint<CGVerFreeXyz>(CString(u"A"), -8.0f, -5.0f, -6.0f)->m_id;
    t.b = run.AddNamedPoint<CGVerRotate>(CString(u"B"), t.a, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, kThirdTurn)
              ->m_id;
    t.c = run.AddNamedPoint<CGVerRotate>(CString(u"C"), t.a, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -kThirdTurn)
              ->m_id;
    HxAddEdges(run, {t.a, t.b, t.c});
    t.face = run.AddCell<CGFace>(t.a, t.b, t.c, NextAutoColor())->m_id;
    return t;
}

bool HxBuildOnSelection(CHalvixDoc& doc, int (CGPage::*build)(WORD, WORD), const char16_t* undoText) {
    CGPage* page = g_pCurPage;
    if (page->m_selPoints.GetCount() != 1 || page->m_selFaces.GetCount() != 1)
        return false;
    CGVertex* vertex = HxSelectedAs<CGVertex>(page->m_selPoints, 0);
    CGFace* face = HxSelectedAs<CGFace>(page->m_selFaces, 0);
    if (!vertex || !face)
        return true; // nothing to build on: nothing happens
    CConstruction run(doc);
    run.KeepName(vertex->m_id);
    // A builder that made nothing (the ids or the vertex array gave out) records nothing.
    if ((page->*build)(vertex->m_id, face->m_id) > 0)
        run.CommitCells(undoText);
    return true;
}

void CHalvixDoc::AddPrismCommands() {
    OnCommandId(ID_CREATE_CUBOID, &CHalvixDoc::OnCuboid);
    OnCommandId(ID_CREATE_BOX, &CHalvixDoc::OnCube);
    OnCommandId(ID_CREATE_SOLID_PARALL, &CHalvixDoc::OnParallelepiped);
    OnCommandId(ID_CREATE_SOLID_PRISM, &CHalvixDoc::OnPrism);
    OnCommandId(ID_CREATE_SOLID_FIVEPRISM, &CHalvixDoc::OnPrismPentagonRegular);
}

void CHalvixDoc::OnCuboid() {
    // D square to AB at A, 8 away; the top 8 above the base, both draggable.
    const float a[3] = {-6.0f, -4.0f, -4.0f}, b[3] = {6.0f, -4.0f, -4.0f};
    BuildOnParallelogram(
        *this, a, b,
        [](CConstruction& run, WORD pa, WORD pb) { return run.AddPoint<CGVerFreeUpright>(pa, pb)->m_id; },
        [](CConstruction& run, WORD pa, WORD pb, WORD pd) {
            return run.AddNamedPoint<CGVerFreePerpen>(CString(), pa, pb, pd)->m_id;
        },
        u"添加长方体");
}

void CHalvixDoc::OnCube() {
    // D square to AB at A and as long; the top vertex follows A, B and D.
    const float a[3] = {-5.0f, -5.0f, -5.0f}, b[3] = {5.0f, -5.0f, -5.0f};
    BuildOnParallelogram(
        *this, a, b,
        [](CConstruction& run, WORD pa, WORD pb) {
            return run.AddPoint<CGVerFreeUprightEquid>(pa, pb)->m_id;
        },
        [](CConstruction& run, WORD pa, WORD pb, WORD pd) {
            return run.AddNamedPoint<CGVerPerpenEquid>(CString(), pa, pb, pd)->m_id;
        },
        u"添加正方体");
}

void CHalvixDoc::OnParallelepiped() {
    // D and the top vertex follow A wherever they are dragged.
    const float a[3] = {-6.0f, -5.0f, -4.0f}, b[3] = {6.0f, -5.0f, -4.0f};
    BuildOnParallelogram(
        *this, a, b,
        [](CConstruction& run, WORD pa, WORD) {
            return run.AddPoint<CGVerFreeHenchman>(-4.0f, 5.0f, -4.0f, pa)->m_id;
        },
        [](CConstruction& run, WORD pa, WORD, WORD) {
            return run.AddNamedPoint<CGVerFreeHenchman>(CString(), -3.0f, -4.0f, 4.0f, pa)->m_id;
        },
        u"添加平行六面体");
}

void CHalvixDoc::OnCuboidAxis(WORD originId) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    // Any point of the page may be the origin; anything else gives a new free origin.
    CGVertex* given = originId != 0 ? DYNAMIC_DOWNCAST(CGVertex, page->FindCell(originId)) : nullptr;
    CConstruction run(*this);
    if (!run.Reserve(given ? 25 : 26, 8))
        return;
    const WORD o = given ? given->m_id : run.AddPoint<CGVerFreeXyz>(0.0f, 0.0f, 0.0f)->m_id;
    // 12 along x, 9 along y, 8 along z whatever O is; each edge changes alone when its end is dragged.
    const WORD b = AddOnAxis(run, 1.0f, 0.0f, 0.0f, o, 12.0f);
    const CBaseFour base =
        AddParallelogramBase(run, o, b, [&] { return AddOnAxis(run, 0.0f, 1.0f, 0.0f, o, 9.0f); });
    const WORD top = AddOnAxis(run, 0.0f, 0.0f, 1.0f, o, 8.0f);
    page->BuildPrism(top, base.face);
    run.CommitCells(u"添加轴向长方体");
}

void CHalvixDoc::OnPrism() {
    if (!g_pCurPage || HxBuildOnSelection(*this, &CGPage::BuildPrism, u"添加棱柱"))
        return;
    // The default regular triangular prism; its names are fixed, whatever the page holds.
    CConstruction run(*this);
    if (!run.Reserve(20, 6))
        return;
    const CBaseTriangle base = HxAddDefaultTriangle(run);
    // A1 is A reflected in the plane z = 0: it stays above A.
    const WORD top = run.AddNamedPoint<CGVerSymmetry>(CString(u"A1"), base.a, BYTE(4))->m_id;
    run.Page().BuildPrism(top, base.face);
    run.CommitCells(u"添加棱柱");
}

void CHalvixDoc::OnPrismPentagonRegular() {
    CConstruction run(*this);
    if (!g_pCurPage || !run.Reserve(36, 14))
        return;
    const WORD a = run.AddPoint<CGVerFreeXyz>(-5.0f, -4.0f, -5.0f)->m_id;
    const WORD b = run.AddPoint<CGVerFreeHenchman>(5.0f, -6.0f, -5.0f, a)->m_id;
    const WORD ab = run.AddCell<CGLine>(a, b, CGLine::kSegment)->m_id;
    // The pentagon is regular wherever A, B and "1" are: "0" the middle of AB, "1" turns the plane
    // about AB, "2" on the perpendicular bisector at C's height, "3" half a side along AB from "2".
    auto* m = run.AddNamedPoint<CGVerMid>(CString(u"0"), ab);
    m->m_hidden = 1;
    const WORD m0 = m->m_id;
    const WORD m1 = run.AddNamedPoint<CGVerFreeUprightEquid>(CString(u"1"), m0, b)->m_id;
    auto* m2 = run.AddNamedPoint<CGVerScale>(CString(u"2"), m1, m0, 1.9021130f); // 2 sin 72°
    m2->m_hidden = 1;
    auto* m3 = run.AddNamedPoint<CGVerTranslate>(CString(u"3"), m2->m_id, m0, b);
    m3->m_hidden = 1;
    const WORD c = run.AddPoint<CGVerScale>(m3->m_id, m2->m_id, 1.6180340f)->m_id; // the golden ratio
    const WORD d = run.AddPoint<CGVerScale>(m1, m0, 3.0776835f)->m_id;             // tan 72°
    const WORD e = run.AddPoint<CGVerSymmetryP>(c, m2->m_id)->m_id;
    for (auto [p, q] : {std::pair{b, c}, {c, d}, {d, e}, {e, a}})
        run.AddCell<CGLine>(p, q, CGLine::kSegment);
    const WORD top = run.AddNamedPoint<CGVerFreePerpen>(CString(), a, b, d)->m_id;
    CList<WORD, WORD> corners;
    for (WORD p : {a, b, c, d, e})
        corners.AddTail(p);
    const WORD face = run.AddCell<CGFace>(corners, NextAutoColor())->m_id;
    run.Page().BuildPrism(top, face);
    run.CommitCells(u"添加正五棱柱");
}
