// The arc of a selected circle between two selected points on it, and the internal and external
// bisectors of the angle at the middle one of three selected points, each drawn as a ray from it.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "model/arc.h"
#include "model/line.h"
#include "points/constructed_arcs.h"
#include "points/triangle_centres.h"

namespace {

// The point of class T on a bisector of the angle p1 p2 p3 (vertex p2) and the ray from p2 through
// it, as one step of two cells.
template <class T> void CreateBisector(CHalvixDoc& doc, const char16_t* undoText) {
    if (!g_pCurPage)
        return;
    const std::vector<CGVertex*> p = HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints);
    if (p.size() != 3)
        return;
    CConstruction run(doc);
    if (!run.Reserve(2, 1))
        return;
    const WORD on = run.AddPoint<T>(p[0]->m_id, p[1]->m_id, p[2]->m_id)->m_id;
    run.AddCell<CGLine>(p[1]->m_id, on, CGLine::kRay);
    run.CommitCells(undoText);
}

} // namespace

// From the first selected point to the second, on the selected circle whatever its place in the
// selection; no point is made.
void CHalvixDoc::OnCreateCircleArc() {
    if (!g_pCurPage)
        return;
    const std::vector<CGVertex*> p = HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints);
    CGArc* circle = HxSelectedAs<CGArc>(g_pCurPage->m_selCurves, 0);
    if (p.size() != 2 || !circle || g_pCurPage->m_selCurves.GetCount() != 1)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGArcInCircle>(p[0]->m_id, p[1]->m_id, circle->m_id);
    run.CommitCell(u"添加圆上的弧");
}

void CHalvixDoc::OnCreateLineAngle() {
    CreateBisector<CGVerBisectorA>(*this, u"添加角平分线");
}

void CHalvixDoc::OnCreateLineAngleE() {
    CreateBisector<CGVerBisectorEA>(*this, u"添加外角平分线");
}

// Two points and one curve that is a circle or an arc.
void CHalvixDoc::OnUpdateCircleArc(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && page->m_selPoints.GetCount() == 2 && page->m_selCurves.GetCount() == 1 &&
                   HxSelectedAs<CGArc>(page->m_selCurves, 0) != nullptr);
}
