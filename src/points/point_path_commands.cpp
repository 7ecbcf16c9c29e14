// The document's point commands: a full free point, the origin, the division point of two points
// on a circle, projection points, points on paths at another point's (or value's) parameter or at a
// typed one, and the free point on a compound path of pieces, points or a face's border.
#include "construct/construction.h"
#include "construct/input_dialogs.h"
#include "document/doc_construct_ids.h"
#include "document/halvix_doc.h"
#include "dynamics/curves.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "platform/random.h"
#include "points/misc_points.h"
#include "points/object_points.h"
#include "points/path_points.h"

#include <algorithm>

namespace {

// Degrees to radians as the command converts them (single precision).
constexpr float kRadiansPerDegree = 0.017453292f;

bool IsPathPiece(const CGCell* cell) {
    return cell && (cell->IsKindOf(RUNTIME_CLASS(CGLine)) || cell->IsKindOf(RUNTIME_CLASS(CGArc)) ||
                    cell->IsKindOf(RUNTIME_CLASS(CGCurve)) || cell->IsKindOf(RUNTIME_CLASS(CGLocus)));
}

bool IsCurveOrLocus(const CGCell* cell) {
    return cell && (cell->IsKindOf(RUNTIME_CLASS(CGCurve)) || cell->IsKindOf(RUNTIME_CLASS(CGLocus)));
}

// Every entry of the circle list is a circle, arc, curve or locus.
bool CurvesArePaths(const CGPage& page) {
    for (WORD id : page.m_selCurves) {
        const CGCell* cell = page.FindCell(id);
        if (!cell || !(cell->IsKindOf(RUNTIME_CLASS(CGArc)) || IsCurveOrLocus(cell)))
            return false;
    }
    return true;
}

// Where a free point on a compound path starts: between 0.2 and 0.8 of its first piece.
float RandomStart() {
    return float(HxRand()) / 32767.0f * 0.6f + 0.2f;
}

CList<WORD, WORD> ToList(const std::vector<WORD>& ids) {
    CList<WORD, WORD> list;
    for (WORD id : ids)
        list.AddTail(id);
    return list;
}

// A typed value ("输入值"); false when cancelled.
bool AskValue(float& value) {
    CDlgValue dlg;
    if (dlg.DoModal() != IDOK)
        return false;
    value = dlg.m_value;
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Free point, origin, division point, projections

void CHalvixDoc::OnCreateFree3Point() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    run.AddPoint<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    run.CommitCell(u"添加全自由点");
}

void CHalvixDoc::OnCreatePointOrigin() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    run.AddNamedPoint<CGVertex>(CString(u"O"), 0.0f, 0.0f, 0.0f);
    run.CommitCell(u"添加坐标原点O");
}

void CHalvixDoc::OnUpdatePointScaleIncircle(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && page->m_selCurves.GetCount() == 1 && page->m_selPoints.GetCount() == 2 &&
                   HxSelectedAs<CGArc>(page->m_selCurves, 0) != nullptr);
}

void CHalvixDoc::OnCreatePointScaleIncircle() {
    CGPage* page = g_pCurPage;
    if (!page || page->m_selPoints.GetCount() != 2)
        return;
    const CGArc* circle = HxSelectedAs<CGArc>(page->m_selCurves, 0);
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
    if (!circle || page->m_selCurves.GetCount() != 1 || points.size() != 2)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    float ratio = 0.5f;
    if (!AskValue(ratio))
        return;
    run.AddPoint<CGVerInCircleScale>(circle->m_id, points[0]->m_id, points[1]->m_id, ratio);
    run.CommitCell(u"添加圆上两点的分点");
}

void CHalvixDoc::OnUpdatePointTouying(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && page->m_selPoints.GetCount() >= 1 &&
                   (page->m_selLines.GetCount() >= 1 || page->m_selFaces.GetCount() >= 1));
}

// Every point on every line, then on every face, point by point.
void CHalvixDoc::OnCreatePointTouying() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
    const std::vector<CGLine*> lines = HxSelectedCells<CGLine>(page->m_selLines);
    const std::vector<CGFace*> faces = HxSelectedCells<CGFace>(page->m_selFaces);
    const int count = int(points.size() * (lines.size() + faces.size()));
    if (count == 0)
        return;
    CConstruction run(*this);
    if (!run.Reserve(count, count))
        return;
    for (const CGVertex* p : points) {
        for (const CGLine* line : lines) {
            if (line->m_parents.GetSize() >= 2)
                run.AddPoint<CGVerFootpl>(p->m_id, line->m_parents[0], line->m_parents[1]);
        }
        for (const CGFace* face : faces) {
            if (face->m_parents.GetSize() >= 3)
                run.AddPoint<CGVerFootpf>(p->m_id, face->m_parents[0], face->m_parents[1],
                                          face->m_parents[2]);
        }
    }
    run.CommitCells(u"添加投影点");
}

// ---------------------------------------------------------------------------------------------
// Points on paths at the same or a fixed parameter

void CHalvixDoc::OnUpdatePointInobjFt(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    if (!page || !CurvesArePaths(*page)) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const int v = page->CountSelectedVariables();
    const int p = page->m_selPoints.GetCount();
    const int l = page->m_selLines.GetCount();
    const int k = page->m_selCurves.GetCount();
    const int all = page->m_selAll.GetCount();
    const bool onlyThese = all == p + l + k + v && all != 0;
    const bool fits = (v == 0 && p == 0) || (v == 0 && p == 1 && l + k >= 1) ||
                      (v == 0 && p >= 4 && l == 0 && k == 0) || (v == 1 && p >= 3 && l == 0 && k == 0) ||
                      (v == 1 && p == 0 && l + k >= 1);
    pCmdUI->Enable(onlyThese && fits);
}

void CHalvixDoc::OnCreatePointInobjFt() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const int v = page->CountSelectedVariables();
    const int p = page->m_selPoints.GetCount();

    // The driver: a value, the one point, or the last of a polygon's points (the first point then
    // leaves the point list while the command runs and comes back at its end).
    WORD driver = 0;
    bool firstPointTakenOut = false;
    WORD firstPoint = 0;
    if (v == 1) {
        const auto values = HxSelectedCells<CGTmVariable>(page->m_selValues);
        if (values.empty())
            return;
        driver = values[0]->m_id;
    } else if (p == 1) {
        driver = page->m_selPoints.GetHead();
    } else if (p > 3) {
        driver = page->m_selPoints.GetTail();
        firstPoint = page->m_selPoints.RemoveHead();
        firstPointTakenOut = true;
    } else if (!(v == 0 && p == 0)) {
        AfxMessageBox(kOneDriverMessage, MB_OK);
        return;
    }
    struct CRestore {
        CGPage* page;
        bool active;
        WORD id;
        ~CRestore() {
            if (active)
                page->m_selPoints.AddTail(id);
        }
    } restore{page, firstPointTakenOut, firstPoint};
    if (driver != 0 && !page->FindCell(driver))
        return;

    std::vector<WORD> path;
    bool curveOrLocus = false;
    for (WORD id : page->m_selAll) {
        const CGCell* cell = page->FindCell(id);
        if (!IsPathPiece(cell))
            continue;
        path.push_back(id);
        curveOrLocus = curveOrLocus || IsCurveOrLocus(cell);
    }

    CConstruction run(*this);
    if (path.size() == 1) {
        CGCell* piece = page->FindCell(path[0]);
        if (!run.Reserve(1, 1))
            return;
        float value = 0.5f;
        if (piece->IsKindOf(RUNTIME_CLASS(CGArc))) {
            if (driver != 0) {
                run.AddPoint<CGVerInCircleFt>(piece->m_id, driver);
                run.CommitCell(u"添加圆上同参点");
                return;
            }
            CDlgAngle dlg;
            dlg.m_angle = 90.0f;
            dlg.m_unit = CDlgAngle::kDegrees;
            if (dlg.DoModal() != IDOK)
                return;
            const float angle =
                dlg.m_unit == CDlgAngle::kDegrees ? dlg.m_angle * kRadiansPerDegree : dlg.m_angle;
            run.AddPoint<CGVerInCircleFixedf>(piece->m_id, angle);
            run.CommitCell(u"添加圆上定参点");
        } else if (piece->IsKindOf(RUNTIME_CLASS(CGCurve))) {
            if (driver != 0) {
                run.AddPoint<CGVerInCurveFt>(piece->m_id, driver);
                run.CommitCell(u"添加曲线上同参点");
            } else if (AskValue(value)) {
                run.AddPoint<CGVerInCurveFixedf>(piece->m_id, value);
                run.CommitCell(u"添加曲线上定参点");
            }
        } else if (piece->IsKindOf(RUNTIME_CLASS(CGLocus))) {
            if (driver != 0) {
                run.AddPoint<CGVerInLocusFt>(piece->m_id, driver);
                run.CommitCell(u"添加轨迹上同参点");
            } else if (AskValue(value)) {
                run.AddPoint<CGVerInLocusFixedf>(piece->m_id, value);
                run.CommitCell(u"添加轨迹线上定参点");
            }
        } else if (piece->IsKindOf(RUNTIME_CLASS(CGLine))) {
            if (driver != 0) {
                run.AddPoint<CGVerInLineFt>(piece->m_id, driver);
                run.CommitCell(u"添加线上同参点");
            } else if (AskValue(value)) {
                run.AddPoint<CGVerInLineFixedf>(piece->m_id, value);
                run.CommitCell(u"添加线上定参点");
            }
        }
        return;
    }

    if ((p > 3 && v == 0) || (p > 2 && v == 1)) {
        // The polygon of the point list as it stands (without the first point when it was taken out).
        if (!run.Reserve(1, 1))
            return;
        run.AddPoint<CGVerInBorderFt>(page->m_selPoints, driver);
        run.CommitCell(u"添加折线上同参点");
        return;
    }

    if (path.size() < 2 || path.size() > size_t(kMaxPathPieces)) {
        AfxMessageBox(kPathObjectsMessage, MB_OK);
        return;
    }
    if (!run.Reserve(1, 1))
        return;
    BYTE mode = 1;
    float t = 0.0f;
    if (driver != 0) {
        path.push_back(driver);
    } else {
        mode = 0;
        if (!AskValue(t))
            return;
    }
    const CList<WORD, WORD> ids = ToList(path);
    if (curveOrLocus)
        run.AddPoint<CGVerInBorder>(ids, mode, t);
    else
        run.AddPoint<CGVerInPaths>(ids, mode, t);
    run.CommitCell(mode ? u"添加复合路径上同参点" : u"添加复合路径上定参点");
}

// ---------------------------------------------------------------------------------------------
// The free point on a compound path

void CHalvixDoc::OnUpdateCreatePointPath(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_selPoints.GetCount() > 2 || page->m_selFaces.GetCount() == 1 ||
                            page->m_selLines.GetCount() + page->m_selCurves.GetCount() > 1));
}

void CHalvixDoc::OnCreatePointPath() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;

    // The pieces by the first rule that fits: a face's border, the polygon through three or more
    // points, or lines, arcs, curves and loci.
    if (page->m_selFaces.GetCount() == 1) {
        const CGFace* face = HxSelectedAs<CGFace>(page->m_selFaces, 0);
        if (!face)
            return;
        const int corners = std::min<int>(face->GetCornerCount(), int(face->m_parents.GetSize()));
        std::vector<WORD> pieces;
        for (int i = 0; i < corners; ++i)
            pieces.push_back(face->m_parents[i]);
        run.AddPoint<CGVerFreeInBorder>(ToList(pieces), RandomStart());
        run.CommitCell(u"添加复合路径上的点");
        return;
    }
    if (page->m_selPoints.GetCount() >= 3) {
        run.AddPoint<CGVerFreeInBorder>(page->m_selPoints, RandomStart());
        run.CommitCell(u"添加复合路径上的点");
        return;
    }

    const int lines = page->m_selLines.GetCount();
    int arcs = 0, others = 0;
    for (WORD id : page->m_selCurves) {
        const CGCell* cell = page->FindCell(id);
        if (cell && cell->IsKindOf(RUNTIME_CLASS(CGArc)))
            ++arcs;
        else if (IsCurveOrLocus(cell))
            ++others;
    }
    const int all = page->m_selAll.GetCount();
    if (lines + arcs + others != all || all > kMaxPathPieces || all < 2) {
        AfxMessageBox(kPathPiecesMessage, MB_OK);
        return;
    }
    if (lines + arcs == all) {
        run.AddPoint<CGVerFreeInPaths>();
        run.CommitCell(u"添加复合路径上的点");
        return;
    }
    std::vector<WORD> pieces;
    for (WORD id : page->m_selAll) {
        if (!IsPathPiece(page->FindCell(id)))
            return;
        pieces.push_back(id);
    }
    if (pieces.size() < 2)
        return;
    run.AddPoint<CGVerFreeInBorder>(ToList(pieces), RandomStart());
    run.CommitCell(u"添加复合路径上的点");
}
