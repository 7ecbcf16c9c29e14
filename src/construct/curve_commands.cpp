// The locus command (a driver and a point built on it), the curve command (equations in the curve
// dialog over the selected values), the command that puts a free point on a selected carrier at a
// random place, the crossings of curves and loci the intersection command makes, and the properties
// of a locus and of a curve.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "construct/curve_crossings.h"
#include "document/halvix_doc.h"
#include "dynamics/curve_dialogs.h"
#include "dynamics/curves.h"
#include "platform/random.h"
#include "points/confined_points.h"
#include "points/crossing_points.h"

#include <cmath>

namespace {

// Whether `traced` is built (directly or through other cells) on `driver`: the marks of the driver's
// descendants are read, then every mark of the page is cleared.
bool IsDescendant(CGPage& page, CGCell& driver, WORD traced) {
    driver.MarkDescendants();
    const CGCell* cell = page.FindCell(traced);
    const bool marked = cell && cell->m_mark;
    ForEachCell(page.m_cells, [](CGCell* c) { c->m_mark = false; });
    return marked;
}

// The driver and the traced point of a locus on the two selected points, in either order; false when
// they are not a free point with one parameter and a point built on it.
bool LocusPair(CGPage& page, WORD& driver, WORD& traced) {
    if (page.m_selPoints.GetCount() != 2)
        return false;
    const WORD first = page.m_selPoints.GetHead();
    const WORD second = page.m_selPoints.GetTail();
    for (const auto& [d, t] : {std::pair{first, second}, std::pair{second, first}}) {
        CGCell* candidate = page.FindCell(d);
        if (CGLocus::IsDriverClass(candidate) && IsDescendant(page, *candidate, t)) {
            driver = d;
            traced = t;
            return true;
        }
    }
    return false;
}

// The random start of a new free point: r1 in [0, 1], then r2 with r1 + r2 <= 1.
struct CRandomStart {
    float r1, r2;
};
CRandomStart DrawRandomStart() {
    CRandomStart start;
    start.r1 = float(HxRand() / 32767.0);
    start.r2 = float(HxRand() / 32767.0 * (1.0 - start.r1));
    return start;
}

// Refreshes what depends on a cell after its properties changed: the cell itself first, then its
// descendants in ascending order (with their texts after, when asked).
void RefreshDescendants(CGPage& page, CGCell& cell, bool texts) {
    cell.Recompute();
    std::vector<WORD> ids;
    page.CollectDescendantIds(cell, ids);
    page.UpdateCellsById(ids);
    if (texts)
        page.UpdateTextsById(ids);
}

// The variables of the curve dialog: the parameter t, then the values the curve is built on.
template <class Cells> void OfferVariables(CDlgCurve& dialog, const Cells& cells) {
    dialog.AddParameterEntry();
    for (const CGCell* cell : cells) {
        if (cell)
            dialog.OfferValue(*cell);
    }
}

// The point of crossing `index` of a pair, as the intersection command makes it.
template <class T> CGVertex* MakeCrossing(CCellMaker& make, int index, WORD first, WORD second) {
    return make.AddPoint<T>(BYTE(index), first, second);
}

// The intersection command's counted pairs: the searches and the point classes of the crossings.
void InstallCrossings() {
    HxSetCrossingKind(CCrossingPair::LineCurve, IntersectLineCurve, MakeCrossing<CGVerIntersectionLQ>);
    HxSetCrossingKind(CCrossingPair::LineLocus, IntersectLineLocus, MakeCrossing<CGVerIntersectionLG>);
    HxSetCrossingKind(CCrossingPair::CircleCurve, IntersectCircleCurve, MakeCrossing<CGVerIntersectionCQ>);
    HxSetCrossingKind(CCrossingPair::CircleLocus, IntersectCircleLocus, MakeCrossing<CGVerIntersectionCG>);
    HxSetCrossingKind(CCrossingPair::CurveCurve, IntersectCurveCurve, MakeCrossing<CGVerIntersectionQQ>);
    HxSetCrossingKind(CCrossingPair::LocusLocus, IntersectLocusLocus, MakeCrossing<CGVerIntersectionGG>);
    HxSetCrossingKind(CCrossingPair::CurveLocus, IntersectCurveLocus, MakeCrossing<CGVerIntersectionQG>);
}

} // namespace

void CHalvixDoc::AddCurveCommands() {
    InstallCrossings();
    OnCommandId(ID_CREATE_LOCUS, &CHalvixDoc::OnCreateLocus);
    OnUpdateId(ID_CREATE_LOCUS, &CHalvixDoc::OnUpdateCreateLocus);
    OnCommandId(ID_CREATE_CURVE, &CHalvixDoc::OnCreateCurve);
    OnCommandId(ID_CREATE_POINT_ONOBJECT, &CHalvixDoc::OnCreatePointOnObject);
    OnUpdateId(ID_CREATE_POINT_ONOBJECT, &CHalvixDoc::OnUpdatePointOnObject);
}

// ---------------------------------------------------------------------------------------------
// Locus

void CHalvixDoc::OnUpdateCreateLocus(CCmdUI* pCmdUI) {
    WORD driver, traced;
    pCmdUI->Enable(g_pCurPage && LocusPair(*g_pCurPage, driver, traced));
}

void CHalvixDoc::OnCreateLocus() {
    CGPage* page = g_pCurPage;
    WORD driverId, tracedId;
    if (!page || !LocusPair(*page, driverId, tracedId))
        return;
    float t0, t1;
    CGLocus::DriverRange(page->FindCell(driverId), t0, t1);
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGLocus>(driverId, tracedId, t0, t1);
    run.CommitCell(u"添加轨迹");
}

// ---------------------------------------------------------------------------------------------
// Curve

void CHalvixDoc::OnCreateCurve() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgCurve dlg;
    dlg.m_texts[CGCurve::kX] = u"t";
    dlg.m_texts[CGCurve::kY] = u"6*sin(t)";
    dlg.m_texts[CGCurve::kZ] = u"0";
    dlg.m_texts[CGCurve::kFrom] = u"-8";
    dlg.m_texts[CGCurve::kTo] = u"8";
    CList<WORD, WORD> parents;
    std::vector<const CGCell*> values;
    for (WORD id : page->m_selValues) {
        if (const CGCell* value = page->FindCell(id)) {
            parents.AddTail(id);
            values.push_back(value);
        }
    }
    OfferVariables(dlg, values);
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    if (dlg.DoModal() != IDOK)
        return;
    auto* curve = run.AddCell<CGCurve>(parents, dlg.m_texts[0], dlg.m_texts[1], dlg.m_texts[2],
                                       dlg.m_texts[3], dlg.m_texts[4], dlg.m_step, dlg.m_system);
    curve->m_style = BYTE(dlg.m_display);
    curve->SetBreakDistance(dlg.m_breakDistance > 1e-6f ? dlg.m_breakDistance : CGCurve::kDefaultBreak);
    run.CommitCell(u"添加曲线");
}

// ---------------------------------------------------------------------------------------------
// A point on an object

void CHalvixDoc::OnUpdatePointOnObject(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_selLines.GetCount() >= 1 || page->m_selPoints.GetCount() == 3 ||
                            page->m_selFaces.GetCount() >= 1 || page->m_selCurves.GetCount() >= 1));
}

void CHalvixDoc::OnCreatePointOnObject() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    const CRandomStart r = DrawRandomStart();
    // Lines before curves, curves before faces, faces before three points; a carrier of any other
    // kind (an ink mark) makes nothing, and nothing is recorded then.
    const char16_t* undoName = nullptr;
    if (const CGLine* line = HxSelectedAs<CGLine>(page->m_selLines, 0)) {
        float t = r.r1;
        if (std::fabs(t) < 0.05f || std::fabs(t - 1.0f) < 0.05f)
            t = 0.5f;
        run.AddPoint<CGVerFreeInLine>(line->m_id, t);
        undoName = u"添加线上的点";
    } else if (!page->m_selCurves.IsEmpty()) {
        CGCell* carrier = page->FindCell(page->m_selCurves.GetHead());
        if (DYNAMIC_DOWNCAST(CGArc, carrier)) {
            run.AddPoint<CGVerFreeInCircle>(carrier->m_id, r.r1 * 6.283f);
            undoName = u"添加圆上的点";
        } else if (DYNAMIC_DOWNCAST(CGLocus, carrier)) {
            run.AddPoint<CGVerFreeInLocus>(carrier->m_id, r.r1);
            undoName = u"添加轨迹上的点";
        } else if (DYNAMIC_DOWNCAST(CGCurve, carrier)) {
            run.AddPoint<CGVerFreeInCurve>(carrier->m_id, r.r1);
            undoName = u"添加曲线上的点";
        }
    } else if (const CGFace* face = HxSelectedAs<CGFace>(page->m_selFaces, 0)) {
        run.AddPoint<CGVerFreeInFace>(face->m_id, r.r1, r.r2);
        undoName = u"添加多边形内的点";
    } else if (page->m_selPoints.GetCount() == 3) {
        const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
        if (points.size() == 3) {
            run.AddPoint<CGVerFreeInPlane>(points[0]->m_id, points[1]->m_id, points[2]->m_id, r.r1, r.r2);
            undoName = u"添加三点确定的平面内的点";
        }
    }
    if (!undoName)
        return;
    page->ClearSelection();
    run.CommitCell(undoName);
}

// ---------------------------------------------------------------------------------------------
// Properties

BOOL CHalvixDoc::EditLocusProperties(CGLocus& locus) {
    CGPage* page = g_pCurPage;
    CDlgLocus dlg;
    dlg.m_description = locus.GetDescription();
    dlg.m_label = locus.m_name;
    dlg.m_hidden = locus.m_hidden != 0;
    dlg.m_from = locus.m_t0;
    dlg.m_to = locus.m_t1;
    dlg.m_step = locus.m_step;
    dlg.m_display = locus.m_style;
    if (locus.BreakDistance() > 1e-6f)
        dlg.m_breakDistance = locus.BreakDistance();
    const bool accepted = dlg.DoModal() == IDOK;
    if (accepted) {
        locus.m_name = dlg.m_label;
        locus.m_flag2 = true;
        locus.m_hidden = dlg.m_hidden ? 1 : 0;
        locus.m_style = BYTE(dlg.m_display);
        if (dlg.m_breakDistance > 1e-6f)
            locus.SetBreakDistance(dlg.m_breakDistance);
        if (dlg.m_to > dlg.m_from) {
            locus.m_t0 = dlg.m_from;
            locus.m_t1 = dlg.m_to;
        } else {
            HxMessageBox(u"参数要从小到大", u"取消修改参数范围", MB_OK | MB_ICONINFORMATION);
        }
        locus.m_step = std::fabs(dlg.m_step);
        locus.Resample();
        if (page)
            RefreshDescendants(*page, locus, true);
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page ? page->m_pageId : 0));
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return accepted;
}

BOOL CHalvixDoc::EditCurveProperties(CGCurve& curve) {
    CGPage* page = g_pCurPage;
    CDlgCurve dlg;
    for (int i = 0; i < CGCurve::kExpressionCount; ++i)
        dlg.m_texts[i] = curve.m_expressions[i];
    dlg.m_step = std::fabs(curve.m_step);
    dlg.m_system = std::max(0, curve.CoordinateKind());
    dlg.m_display = curve.m_style;
    dlg.m_breakDistance = curve.BreakDistance() > 1e-6f ? curve.BreakDistance() : CGCurve::kDefaultBreak;
    std::vector<const CGCell*> parents;
    for (WORD id : curve.m_parents)
        parents.push_back(HxFindCell(id));
    OfferVariables(dlg, parents);
    // A parent that is gone still stands for its variable: an empty one.
    for (size_t i = 0; i < parents.size(); ++i) {
        if (!parents[i]) {
            dlg.m_names.insert(dlg.m_names.begin() + long(i), CString(u"     "));
            dlg.m_nameMarkups.insert(dlg.m_nameMarkups.begin() + long(i), CString(u"<e>     </e>"));
            dlg.m_values.insert(dlg.m_values.begin() + long(i) + 1, 0.0);
            dlg.m_precedences.insert(dlg.m_precedences.begin() + long(i) + 1, 17);
        }
    }
    const bool accepted = dlg.DoModal() == IDOK;
    if (accepted) {
        curve.m_style = BYTE(dlg.m_display);
        curve.m_step = std::fabs(dlg.m_step);
        curve.SetCoordinateKind(dlg.m_system);
        curve.SetBreakDistance(dlg.m_breakDistance > 1e-6f ? dlg.m_breakDistance : CGCurve::kDefaultBreak);
        curve.SetExpressions(dlg.m_texts);
        if (page)
            RefreshDescendants(*page, curve, false);
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return accepted;
}
