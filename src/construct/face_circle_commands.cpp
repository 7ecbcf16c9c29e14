// The face through the selected points, the circles (through three points, by a centre and two
// points, by a centre and an axis point, horizontal, by a centre and a radius value), the sphere with
// its teaching figure, the plain sphere and the coordinate frame, each with its default figure.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "measure/text_items.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/constructed_arcs.h"
#include "solids/revolution_constructed.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

namespace {

int SelectedCount(const CList<WORD, WORD> CGPage::*list) {
    return g_pCurPage ? (g_pCurPage->*list).GetCount() : -1;
}

// The first three selected points, in selection order; false when there are not three.
bool FirstThreePoints(WORD ids[3]) {
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints);
    if (points.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i)
        ids[i] = points[size_t(i)]->m_id;
    return true;
}

// One circle on the first three selected points.
template <class Circle, class... Extra>
void AddCircleOnThreePoints(CHalvixDoc& doc, const char16_t* undoText, Extra... extra) {
    WORD p[3];
    if (!g_pCurPage || !FirstThreePoints(p))
        return;
    CConstruction run(doc);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<Circle>(p[0], p[1], p[2], BYTE(0), extra...);
    run.CommitCell(undoText);
}

// The sphere on O and N with its equator through the point E square to ON at the distance |ON|.
WORD AddSphereWithEquator(CConstruction& run, WORD o, WORD n) {
    run.AddCell<CGSphereCN>(o, n);
    const WORD e = run.AddPoint<CGVerFreeUprightEquid>(o, n)->m_id;
    return run.AddCell<CGArcPointN>(o, e, n, BYTE(0), DWORD(0))->m_id;
}

// The spheres' centre and pole: new default points with nothing selected, else the first two
// selected points; false, with nothing made, for one point alone or (unless `more` allows them) more
// than two.  Room for `roomPoints` points and `cells` cells besides the default points.
bool SphereCentreAndPole(CConstruction& run, bool more, WORD& o, WORD& n, int roomPoints, int cells) {
    const std::vector<CGVertex*> selected = HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints);
    const size_t count = size_t(g_pCurPage->m_selPoints.GetCount());
    if (count == 1 || (count > 2 && !more) || selected.size() != count)
        return false;
    if (!run.Reserve(cells + (count == 0 ? 2 : 0), roomPoints))
        return false;
    if (count == 0) {
        o = run.AddNamedPoint<CGVerFreeXyz>(CString(u"O"), 0.0f, 0.0f, 0.0f)->m_id;
        n = run.AddPoint<CGVerFreeParVector>(0.0f, 0.0f, 1.0f, o)->m_id;
    } else {
        o = selected[0]->m_id;
        n = selected[1]->m_id;
    }
    return true;
}

constexpr float kPi = 3.14159274f;

} // namespace

void CHalvixDoc::AddFaceCircleCommands() {
    OnCommandId(ID_CREATE_FACE, &CHalvixDoc::OnCreateFace);
    OnUpdateId(ID_CREATE_FACE, &CHalvixDoc::OnUpdateThreeOrMorePoints);
    OnCommandId(ID_CREATE_CIRCLE_3P, &CHalvixDoc::OnCreateCircle3p);
    OnCommandId(ID_CREATE_CIRCLE_CP, &CHalvixDoc::OnCreateCircleCp);
    OnCommandId(ID_CREATE_CIRCLE_PN, &CHalvixDoc::OnCreateCirclePn);
    for (UINT id : {ID_CREATE_CIRCLE_3P, ID_CREATE_CIRCLE_CP, ID_CREATE_CIRCLE_PN})
        OnUpdateId(id, &CHalvixDoc::OnUpdateThreePointsOnly);
    OnCommandId(ID_CREATE_CIRCLE_PNZ2, &CHalvixDoc::OnCreateCirclePnz2);
    OnCommandId(ID_CREATE_CIRCLE_CR, &CHalvixDoc::OnCreateCircleCr);
    OnCommandId(ID_CREATE_BALL, &CHalvixDoc::OnCreateBall);
    OnUpdateId(ID_CREATE_BALL, &CHalvixDoc::OnUpdateCreateBall);
    OnCommandId(ID_CREATE_GEO, &CHalvixDoc::OnCreateGeo);
    OnUpdateId(ID_CREATE_GEO, &CHalvixDoc::OnUpdateCreateGeo);
    OnCommandId(ID_CREATE_BASE, &CHalvixDoc::OnCreateBase);
}

void CHalvixDoc::OnUpdateThreeOrMorePoints(CCmdUI* pCmdUI) {
    pCmdUI->Enable(SelectedCount(&CGPage::m_selPoints) >= 3);
}

// Three points and nothing else.
void CHalvixDoc::OnUpdateThreePointsOnly(CCmdUI* pCmdUI) {
    pCmdUI->Enable(SelectedCount(&CGPage::m_selPoints) == 3 && SelectedCount(&CGPage::m_selAll) == 3);
}

void CHalvixDoc::OnUpdateCreateBall(CCmdUI* pCmdUI) {
    const int points = SelectedCount(&CGPage::m_selPoints);
    pCmdUI->Enable(points == 0 || points == 2);
}

void CHalvixDoc::OnUpdateCreateGeo(CCmdUI* pCmdUI) {
    const int points = SelectedCount(&CGPage::m_selPoints);
    pCmdUI->Enable(points == 0 || (points == 2 && SelectedCount(&CGPage::m_selAll) == 2));
}

void CHalvixDoc::OnCreateFace() {
    if (!g_pCurPage)
        return;
    CList<WORD, WORD> corners;
    for (const CGVertex* point : HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints))
        corners.AddTail(point->m_id);
    CConstruction run(*this);
    if (corners.GetCount() < 3 || !run.Reserve(1, 0))
        return;
    run.AddCell<CGFace>(corners, NextAutoColor());
    run.CommitCell(u"添加消隐面");
}

void CHalvixDoc::OnCreateCircle3p() {
    AddCircleOnThreePoints<CGArcCircle3P>(*this, u"添加过三点的圆");
}

void CHalvixDoc::OnCreateCircleCp() {
    AddCircleOnThreePoints<CGArcCenterP>(*this, u"添加心点圆");
}

void CHalvixDoc::OnCreateCirclePn() {
    AddCircleOnThreePoints<CGArcPointN>(*this, u"添加已知圆心和法向点的圆", DWORD(0));
}

void CHalvixDoc::OnCreateCirclePnz2() {
    if (SelectedCount(&CGPage::m_selPoints) == 3)
        OnCreateCirclePn();
    else
        OnCreateCircleHorizontal();
}

void CHalvixDoc::OnCreateCircleHorizontal() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
    const int selected = page->m_selPoints.GetCount();
    if (selected > 2 || int(points.size()) != selected)
        return; // nothing happens
    CConstruction run(*this);
    if (!run.Reserve(3 - selected, 2 - selected))
        return;
    WORD centre, through;
    if (selected == 0)
        centre = run.AddPoint<CGVerFreeXyz>(0.0f, 0.0f, 0.0f)->m_id;
    else
        centre = points[0]->m_id;
    // With fewer than two points the circle's point slides on the line through the centre parallel
    // to the x axis.
    if (selected == 2)
        through = points[1]->m_id;
    else
        through = run.AddPoint<CGVerFreeParVector>(1.0f, 0.0f, 0.0f, centre)->m_id;
    run.AddCell<CGArcPoint2>(centre, through, BYTE(0))->m_style = CGArc::kStyleOnTop;
    run.CommitCells(u"添加水平放置的圆");
}

void CHalvixDoc::OnCreateCircleCr() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CGVertex* centrePoint = HxSelectedAs<CGVertex>(page->m_selPoints, 0);
    // A value gives the radius only when it is the one selected and a scalar.
    CGTmVariable* value =
        page->m_selValues.GetCount() == 1 ? HxSelectedAs<CGTmVariable>(page->m_selValues, 0) : nullptr;
    CConstruction run(*this);
    if (!run.Reserve(1 + (centrePoint ? 0 : 1) + (value ? 0 : 1), centrePoint ? 0 : 1))
        return;
    const WORD centre = centrePoint ? centrePoint->m_id : run.AddPoint<CGVerFreeXyz>(0.0f, 0.0f, 0.0f)->m_id;
    WORD radius;
    if (value) {
        radius = value->m_id;
    } else {
        auto* r = run.AddCell<CGTmVarParameter>(CString(u"r"), 8.0f);
        r->m_minimum = 0.0f;
        r->m_maximum = 10.0f;
        r->m_kind = 1; // the slider shown
        r->Recompute();
        radius = r->m_id;
    }
    run.AddCell<CGArcCenterR>(centre, radius, BYTE(0))->m_style = CGArc::kStyleOnTop;
    run.CommitCells(u"添加心径圆");
}

void CHalvixDoc::OnCreateBall() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    WORD o, n;
    if (!SphereCentreAndPole(run, true, o, n, 6, 12))
        return; // one point: nothing happens
    const WORD equator = AddSphereWithEquator(run, o, n);
    const WORD q = run.AddPoint<CGVerFreeInCircle>(equator, 2.8f)->m_id;
    // The meridian through N and Q: half a turn, not taken from its points.
    auto* meridian = run.AddCell<CGArcCenterP>(o, n, q, BYTE(0));
    meridian->m_endAngle = kPi;
    meridian->m_sweepFromPoints = false;
    const WORD r = run.AddPoint<CGVerFreeInCircle>(meridian->m_id, 0.8f)->m_id;
    // The parallel of latitude through R about its centre O' on the axis, and the right triangle
    // O O' R that links it to the sphere.
    const WORD o1 = run.AddNamedPoint<CGVerFootpl>(CString(u"O'"), r, o, n)->m_id;
    run.AddCell<CGArcPointN>(o1, r, n, BYTE(0), DWORD(0));
    run.AddCell<CGLine>(o, o1, CGLine::kSegment);
    run.AddCell<CGLine>(o, r, CGLine::kSegment);
    run.AddCell<CGLine>(o1, r, CGLine::kSegment);
    run.AddCell<CGFace>(o, o1, r, NextAutoColor());
    run.CommitCells(u"添加球体");
}

void CHalvixDoc::OnCreateGeo() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    WORD o, n;
    if (!SphereCentreAndPole(run, false, o, n, 3, 3))
        return;
    AddSphereWithEquator(run, o, n);
    run.CommitCells(u"添加球");
}

void CHalvixDoc::OnCreateBase() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CGVertex* given =
        page->m_selPoints.GetCount() == 1 ? HxSelectedAs<CGVertex>(page->m_selPoints, 0) : nullptr;
    CConstruction run(*this);
    if (!run.Reserve(given ? 6 : 7, 4))
        return;
    const WORD origin =
        given ? given->m_id : run.AddNamedPoint<CGVertex>(CString(u"O"), 0.0f, 0.0f, 0.0f)->m_id;
    // Arrows 12 drawing units long with the default unit length.
    const float length = g_unitLength * 20.0f * 12.0f;
    const struct {
        const char16_t* name;
        float dx, dy, dz;
        BYTE r, g, b;
    } axes[3] = {{u"x", 1, 0, 0, 255, 0, 0}, {u"y", 0, 1, 0, 0, 255, 0}, {u"z", 0, 0, 1, 0, 0, 255}};
    WORD ends[3];
    for (int i = 0; i < 3; ++i) {
        auto* end = run.AddNamedPoint<CGVerFreeParVector>(CString(axes[i].name), axes[i].dx, axes[i].dy,
                                                          axes[i].dz, origin);
        end->m_style = 2; // no figure, only the name
        end->m_param1 = length;
        end->Recompute();
        ends[i] = end->m_id;
    }
    for (int i = 0; i < 3; ++i) {
        auto* arrow = run.AddCell<CGLine>(origin, ends[i], CGLine::kSegment);
        arrow->m_kind = CGLine::kVector;
        arrow->m_color.r = axes[i].r;
        arrow->m_color.g = axes[i].g;
        arrow->m_color.b = axes[i].b;
        arrow->Recompute();
    }
    run.CommitCells(u"添加标架");
}
