// The polygon commands: equilateral and isosceles triangles, squares, rectangles, parallelograms,
// regular pentagons and hexagons as live figures (a default figure in the horizontal plane, or the
// figure on the selected points), and regular polygons inscribed in a circle.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "construct/input_dialogs.h"
#include "document/halvix_doc.h"
#include "model/arc.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "points/misc_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <cmath>
#include <vector>

int g_inscribedPolygonSides = 4;

namespace {

// The turns of the default figures, in radians as single-precision values.
constexpr float kTurn60 = 1.0471976f;
constexpr float kTurn90 = 1.5707964f;
constexpr float kTurn108 = 1.8849556f;
constexpr float kTurn120 = 2.0943952f;
constexpr BYTE kAboutCentre = 1; // a CGVerRotateX turns about the vertical line through its centre

// Sets the given components of a default vertex's label offset (NAN leaves one as it is) and
// refreshes the point so that its label follows.
template <class P> P* Label(P* point, float x, float y) {
    if (!std::isnan(x))
        point->m_labelOffset[0] = x;
    if (!std::isnan(y))
        point->m_labelOffset[1] = y;
    point->SyncVertex();
    return point;
}

constexpr float kKeep = NAN;

// The selected points the figure is built on, in selection order; empty unless exactly `count`
// points are selected and all of them are points.
std::vector<WORD> SelectedPoints(const CGPage& page, int count) {
    std::vector<WORD> ids;
    if (page.m_selPoints.GetCount() != count)
        return ids;
    for (CGVertex* point : HxSelectedCells<CGVertex>(page.m_selPoints))
        ids.push_back(point->m_id);
    if (int(ids.size()) != count)
        ids.clear();
    return ids;
}

void Segment(CConstruction& run, WORD a, WORD b) {
    run.AddCell<CGLine>(a, b, CGLine::kSegment);
}

// The closed outline through the points.
void Outline(CConstruction& run, std::initializer_list<WORD> points) {
    const std::vector<WORD> v(points);
    for (size_t i = 0; i < v.size(); ++i)
        Segment(run, v[i], v[(i + 1) % v.size()]);
}

// The first vertex of a default figure: a free point in space at (x, y) s, its label offset
// (-1.1 s, -0.8 s); and the second, tied to it, at (x, y) s with the label offset y = -0.8 s.
CGVertex* FirstVertex(CConstruction& run, const char16_t* name, float s, float x, float y) {
    return Label(run.AddNamedPoint<CGVerFreeXyz>(name, x * s, y * s, 0.0f), -1.1f * s, -0.8f * s);
}

CGVertex* SecondVertex(CConstruction& run, const char16_t* name, float s, float x, float y, WORD first) {
    return Label(run.AddNamedPoint<CGVerFree2dHenchman>(name, x * s, y * s, first), kKeep, -0.8f * s);
}

// The command's sequence: room for `points` points (asked before the selection is looked at), then
// the figure of the branch the number of selected points gives.
enum class EBranch { None, Default, OnPoints };

EBranch Prepare(CConstruction& run, int cells, int points, int pointsNeeded) {
    CGPage& page = run.Page();
    if (!run.Reserve(cells, points))
        return EBranch::None;
    const int selected = page.m_selPoints.GetCount();
    if (selected == 0)
        return EBranch::Default;
    if (selected == pointsNeeded && int(SelectedPoints(page, pointsNeeded).size()) == pointsNeeded)
        return EBranch::OnPoints;
    return EBranch::None;
}

float SizeUnit() {
    return 20.0f * g_unitLength;
}

// The square or rectangle on the two selected points A, B: D upright over A (a point of class
// TUpright), C = D + (B - A) under the next automatic name, and the outline A, B, C, D.
template <class TUpright> void QuadrilateralOnTwoPoints(CConstruction& run, const CString& undoText) {
    CGPage& page = run.Page();
    const std::vector<WORD> p = SelectedPoints(page, 2);
    const CString third = page.MakeAutoLabel(CGPage::kAutoLabelPoint);
    const WORD d = run.AddPoint<TUpright>(p[0], p[1])->m_id;
    const WORD c = run.AddNamedPoint<CGVerTranslate>(third, d, p[0], p[1])->m_id;
    Outline(run, {p[0], p[1], c, d});
    run.CommitCells(undoText);
}

} // namespace

void CHalvixDoc::AddPolygonCommands() {
    OnCommandId(ID_CREATE_PLANE_EQUILATERAL, &CHalvixDoc::OnTriangleEquilateral);
    OnCommandId(ID_CREATE_PLANE_SQUARE, &CHalvixDoc::OnSquare);
    OnCommandId(ID_CREATE_PLANE_RECT, &CHalvixDoc::OnRectangle);
    OnCommandId(ID_CREATE_PLANE_FIVE, &CHalvixDoc::OnPentagon);
    OnCommandId(ID_CREATE_PLANE_SIX, &CHalvixDoc::OnHexagon);
    OnCommandId(ID_CREATE_PLANE_POLY, &CHalvixDoc::OnPolygonInscribed);
    OnCommandId(ID_CREATE_PLANE_ISOCELES, &CHalvixDoc::OnTriangleIsosceles);
    OnCommandId(ID_CREATE_PLANE_PARALL, &CHalvixDoc::OnParallelogram);
    for (UINT id :
         {ID_CREATE_PLANE_EQUILATERAL, ID_CREATE_PLANE_SQUARE, ID_CREATE_PLANE_RECT, ID_CREATE_PLANE_FIVE,
          ID_CREATE_PLANE_SIX, ID_CREATE_PLANE_POLY, ID_CREATE_PLANE_ISOCELES})
        OnUpdateId(id, &CHalvixDoc::OnUpdateNoneOrTwoPoints);
    OnUpdateId(ID_CREATE_PLANE_PARALL, &CHalvixDoc::OnUpdateParallelogram);
}

void CHalvixDoc::OnUpdateNoneOrTwoPoints(CCmdUI* pCmdUI) {
    const int points = g_pCurPage ? g_pCurPage->m_selPoints.GetCount() : -1;
    pCmdUI->Enable(points == 0 || points == 2);
}

void CHalvixDoc::OnUpdateParallelogram(CCmdUI* pCmdUI) {
    const int points = g_pCurPage ? g_pCurPage->m_selPoints.GetCount() : -1;
    pCmdUI->Enable(points == 0 || points == 3);
}

// ---------------------------------------------------------------------------------------------
// Triangles

void CHalvixDoc::OnTriangleEquilateral() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 7, 3, 2);
    if (branch == EBranch::None)
        return;
    if (branch == EBranch::OnPoints) {
        const std::vector<WORD> p = SelectedPoints(run.Page(), 2);
        const WORD c = run.AddPoint<CGVerFreeEquilateral>(p[0], p[1])->m_id;
        Outline(run, {p[0], p[1], c});
        run.CommitCells(u"添加等边三角形");
        return;
    }
    const float s = SizeUnit();
    const WORD a = FirstVertex(run, u"A", s, -5.0f, -5.0f)->m_id;
    const WORD b = SecondVertex(run, u"B", s, 5.0f, -5.0f, a)->m_id;
    const WORD c = run.AddNamedPoint<CGVerRotateX>(u"C", b, a, kTurn60, kAboutCentre)->m_id;
    run.AddCell<CGFace>(a, b, c, NextAutoColor());
    Outline(run, {a, b, c});
    run.CommitCells(u"添加等边三角形");
}

void CHalvixDoc::OnTriangleIsosceles() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 9, 5, 2);
    if (branch == EBranch::None)
        return;
    CGPage& page = run.Page();
    if (branch == EBranch::OnPoints) {
        const std::vector<WORD> p = SelectedPoints(page, 2);
        // The apex reads first although the hidden midpoint is made first.
        const CString apexName = page.MakeAutoLabel(CGPage::kAutoLabelPoint);
        auto* base = run.AddCell<CGLine>(p[0], p[1], CGLine::kSegment);
        auto* m = run.AddPoint<CGVerMid>(base->m_id);
        m->m_hidden = 1;
        const WORD a = run.AddNamedPoint<CGVerFreeUpright>(apexName, m->m_id, p[1])->m_id;
        Segment(run, p[1], a);
        Segment(run, a, p[0]);
        run.CommitCells(u"添加等腰三角形");
        return;
    }
    const float s = SizeUnit();
    const WORD b = FirstVertex(run, u"B", s, -5.0f, -6.0f)->m_id;
    const WORD c = SecondVertex(run, u"C", s, 5.0f, -6.0f, b)->m_id;
    auto* d = Label(run.AddNamedPoint<CGVerScale>(u"D", c, b, 0.5f), kKeep, -1.2f * s);
    d->m_hidden = 1;
    auto* raised = run.AddNamedPoint<CGVerTranslateStc>(u"D'", d->m_id, 0.0f, 0.0f, 1.0f);
    raised->m_hidden = 1;
    auto* a = run.AddNamedPoint<CGVerFreePerpen>(u"A", d->m_id, raised->m_id, c);
    a->m_param1 = 12.0f * s;
    a->Recompute();
    Segment(run, b, c);
    Segment(run, b, a->m_id);
    Segment(run, c, a->m_id);
    run.AddCell<CGFace>(a->m_id, b, c, NextAutoColor());
    run.CommitCells(u"添加等腰三角形");
}

// ---------------------------------------------------------------------------------------------
// Quadrilaterals

void CHalvixDoc::OnSquare() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 9, 4, 2);
    if (branch == EBranch::None)
        return;
    if (branch == EBranch::OnPoints) {
        QuadrilateralOnTwoPoints<CGVerFreeUprightEquid>(run, u"添加正方形");
        return;
    }
    const float s = SizeUnit();
    const WORD a = FirstVertex(run, u"A", s, -5.0f, -5.0f)->m_id;
    const WORD b = SecondVertex(run, u"B", s, 5.0f, -5.0f, a)->m_id;
    const WORD d =
        Label(run.AddNamedPoint<CGVerRotateX>(u"D", b, a, kTurn90, kAboutCentre), -1.1f * s, -0.5f * s)->m_id;
    const WORD c = Label(run.AddNamedPoint<CGVerTranslate>(u"C", d, a, b), kKeep, -0.5f * s)->m_id;
    run.AddCell<CGFace>(a, b, c, d, NextAutoColor());
    Outline(run, {a, b, c, d});
    run.CommitCells(u"添加正方形");
}

void CHalvixDoc::OnRectangle() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 10, 5, 2);
    if (branch == EBranch::None)
        return;
    if (branch == EBranch::OnPoints) {
        QuadrilateralOnTwoPoints<CGVerFreeUpright>(run, u"添加矩形");
        return;
    }
    const float s = SizeUnit();
    const WORD a = FirstVertex(run, u"A", s, -6.0f, -4.0f)->m_id;
    const WORD b = SecondVertex(run, u"B", s, 6.0f, -4.0f, a)->m_id;
    // Straight above A, so that the plane (A, A', B) stands upright and D stays level with A.
    auto* raised = run.AddNamedPoint<CGVerTranslateStc>(u"A'", a, 0.0f, 0.0f, 1.0f);
    raised->m_hidden = 1;
    auto* d = run.AddNamedPoint<CGVerFreePerpen>(u"D", a, raised->m_id, b);
    d->m_param1 = 8.0f * s;
    d->Recompute();
    Label(d, -1.1f * s, -0.5f * s);
    const WORD c = Label(run.AddNamedPoint<CGVerTranslate>(u"C", d->m_id, a, b), kKeep, -0.5f * s)->m_id;
    run.AddCell<CGFace>(a, b, c, d->m_id, NextAutoColor());
    Outline(run, {a, b, c, d->m_id});
    run.CommitCells(u"添加矩形");
}

void CHalvixDoc::OnParallelogram() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 9, 4, 3);
    if (branch == EBranch::None)
        return;
    if (branch == EBranch::OnPoints) {
        const std::vector<WORD> p = SelectedPoints(run.Page(), 3);
        const WORD d = run.AddPoint<CGVerTranslate>(p[0], p[1], p[2])->m_id;
        Outline(run, {p[0], p[1], p[2], d});
        run.CommitCells(u"添加平行四边形");
        return;
    }
    const float s = SizeUnit();
    const WORD a = FirstVertex(run, u"A", s, -5.0f, -3.0f)->m_id;
    const WORD b = SecondVertex(run, u"B", s, 5.0f, -3.0f, a)->m_id;
    const WORD d =
        Label(run.AddNamedPoint<CGVerFree2dHenchman>(u"D", -2.0f * s, 3.0f * s, a), -1.1f * s, -0.5f * s)
            ->m_id;
    const WORD c = Label(run.AddNamedPoint<CGVerTranslate>(u"C", d, a, b), kKeep, -0.5f * s)->m_id;
    run.AddCell<CGFace>(a, b, c, d, NextAutoColor());
    Outline(run, {a, b, c, d});
    run.CommitCells(u"添加平行四边形");
}

// ---------------------------------------------------------------------------------------------
// Regular pentagon and hexagon

void CHalvixDoc::OnPentagon() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 12, 9, 2);
    if (branch == EBranch::None)
        return;
    if (branch == EBranch::OnPoints) {
        // From the midpoint M of the first edge with the constants of the regular pentagon: the
        // handle H stands a/2 from M square to the edge, C and E lie at the height a sin 72 deg,
        // D at a tan(72 deg)/2 on the axis of symmetry.
        const std::vector<WORD> p = SelectedPoints(run.Page(), 2);
        auto* edge = run.AddCell<CGLine>(p[0], p[1], CGLine::kSegment);
        auto* m = run.AddNamedPoint<CGVerMid>(u"0", edge->m_id);
        m->m_hidden = 1;
        const WORD h = run.AddNamedPoint<CGVerFreeUprightEquid>(u"1", m->m_id, p[1])->m_id;
        auto* axis = run.AddNamedPoint<CGVerScale>(u"2", h, m->m_id, 1.9021130f);
        axis->m_hidden = 1;
        auto* t = run.AddNamedPoint<CGVerTranslate>(u"3", axis->m_id, m->m_id, p[1]);
        t->m_hidden = 1;
        const WORD c = run.AddPoint<CGVerScale>(t->m_id, axis->m_id, 1.6180340f)->m_id;
        const WORD d = run.AddPoint<CGVerScale>(h, m->m_id, 3.0776835f)->m_id;
        const WORD e = run.AddPoint<CGVerSymmetryP>(c, axis->m_id)->m_id;
        Segment(run, p[1], c);
        Segment(run, c, d);
        Segment(run, d, e);
        Segment(run, e, p[0]);
        run.CommitCells(u"添加正五边形");
        return;
    }
    const float s = SizeUnit();
    const WORD a = FirstVertex(run, u"A", s, -4.0f, -6.0f)->m_id;
    const WORD b = SecondVertex(run, u"B", s, 4.0f, -6.0f, a)->m_id;
    const WORD c =
        Label(run.AddNamedPoint<CGVerRotateX>(u"C", a, b, -kTurn108, kAboutCentre), kKeep, -0.8f * s)->m_id;
    const WORD d = run.AddNamedPoint<CGVerRotateX>(u"D", b, c, -kTurn108, kAboutCentre)->m_id;
    const WORD e =
        Label(run.AddNamedPoint<CGVerRotateX>(u"E", b, a, kTurn108, kAboutCentre), -1.1f * s, -0.8f * s)
            ->m_id;
    CList<WORD, WORD> corners;
    for (WORD id : {a, b, c, d, e})
        corners.AddTail(id);
    run.AddCell<CGFace>(corners, NextAutoColor());
    Outline(run, {a, b, c, d, e});
    run.CommitCells(u"添加正五边形");
}

void CHalvixDoc::OnHexagon() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    const EBranch branch = Prepare(run, 13, 7, 2);
    if (branch == EBranch::None)
        return;
    if (branch == EBranch::OnPoints) {
        const std::vector<WORD> p = SelectedPoints(run.Page(), 2);
        const WORD o = run.AddNamedPoint<CGVerFreeEquilateral>(u"O", p[0], p[1])->m_id;
        const WORD c = run.AddPoint<CGVerTranslate>(o, p[0], p[1])->m_id;
        const WORD d = run.AddPoint<CGVerSymmetryP>(p[0], o)->m_id;
        const WORD e = run.AddPoint<CGVerSymmetryP>(p[1], o)->m_id;
        const WORD f = run.AddPoint<CGVerSymmetryP>(c, o)->m_id;
        Outline(run, {p[0], p[1], c, d, e, f});
        run.CommitCells(u"添加正六边形");
        return;
    }
    const float s = SizeUnit();
    const WORD a = FirstVertex(run, u"A", s, -3.0f, -5.0f)->m_id;
    const WORD b = SecondVertex(run, u"B", s, 3.0f, -5.0f, a)->m_id;
    const WORD c =
        Label(run.AddNamedPoint<CGVerRotateX>(u"C", a, b, -kTurn120, kAboutCentre), 0.2f * s, -0.8f * s)
            ->m_id;
    const WORD f =
        Label(run.AddNamedPoint<CGVerRotateX>(u"F", b, a, kTurn120, kAboutCentre), -1.1f * s, -0.8f * s)
            ->m_id;
    const WORD d = run.AddNamedPoint<CGVerTranslate>(u"D", c, a, f)->m_id;
    const WORD e = Label(run.AddNamedPoint<CGVerTranslate>(u"E", f, b, c), -0.3f * s, kKeep)->m_id;
    CList<WORD, WORD> corners;
    for (WORD id : {a, b, c, d, e, f})
        corners.AddTail(id);
    run.AddCell<CGFace>(corners, NextAutoColor());
    Outline(run, {a, b, c, d, e, f});
    run.CommitCells(u"添加正六边形");
}

// ---------------------------------------------------------------------------------------------
// Inscribed regular polygon

void CHalvixDoc::OnPolygonInscribed() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CGArc* carrier = nullptr;
    int n = 3;
    if (page->m_selCurves.GetCount() == 1)
        carrier = DYNAMIC_DOWNCAST(CGArc, page->FindCell(page->m_selCurves.GetHead()));
    if (carrier) {
        CDlgNumber dlg;
        dlg.m_number = g_inscribedPolygonSides;
        if (dlg.DoModal() != IDOK)
            return;
        n = dlg.m_number;
        g_inscribedPolygonSides = n;
        // The dialog keeps its answer within 3 to 100; a caller that skipped it gets nothing.
        if (n < 3 || n > CDlgNumber::kMost)
            return;
    } else {
        g_inscribedPolygonSides = 3;
    }
    CConstruction run(*this);
    if (!run.Reserve(2 * n + (carrier ? 0 : 1), n))
        return;
    WORD circle = carrier ? carrier->m_id : 0;
    if (!carrier)
        circle = run.AddCell<CGArc>(0.0f, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f,
                                    float(2.0 * 3.14159265358979323846), CGArc::kCircle)
                     ->m_id;
    const WORD first = run.AddPoint<CGVerFreeInCircle>(circle, 1.0f)->m_id;
    const float step = float(2.0 * 3.14159265358979323846) / float(n);
    WORD previous = first;
    for (int i = 1; i < n; ++i) {
        const WORD vertex = run.AddPoint<CGVerInCircleRot>(first, circle, float(i) * step)->m_id;
        Segment(run, previous, vertex);
        previous = vertex;
    }
    Segment(run, previous, first);
    CString undo;
    undo.Format(u"圆内接正%d边形", n);
    run.CommitCells(undo);
}
