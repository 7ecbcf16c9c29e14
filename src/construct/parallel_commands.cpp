// Parallel and perpendicular constructions: the point on the parallel through a point to a line
// of two points or to a typed direction, parallel lines, the common perpendicular of two lines,
// the congruent parallel copy of a face through a point and the square face perpendicular to a line.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "construct/input_dialogs.h"
#include "document/halvix_doc.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/line.h"
#include "points/misc_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "view/view_colors.h"

namespace {

std::vector<CGVertex*> SelectedPoints(const CGPage& page) {
    return HxSelectedCells<CGVertex>(page.m_selPoints);
}

// A line's two points, when it has them.
bool LineEnds(const CGLine* line, WORD& a, WORD& b) {
    if (!line || !line->GetEnd(0) || !line->GetEnd(1))
        return false;
    a = line->m_parents[0];
    b = line->m_parents[1];
    return true;
}

} // namespace

// A free point P with AP parallel to BC (A, B, C the three selected points).
void CHalvixDoc::OnCreatePointParL() {
    if (!g_pCurPage)
        return;
    const std::vector<CGVertex*> p = SelectedPoints(*g_pCurPage);
    if (p.size() != 3)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    run.AddPoint<CGVerFreeParVecPP>(p[0]->m_id, p[1]->m_id, p[2]->m_id);
    run.CommitCell(u"添加平行线上点");
}

// A free point on the line through the selected point along a typed direction (the dialog opens
// with 1, 1, 1).
void CHalvixDoc::OnCreatePointParV() {
    if (!g_pCurPage)
        return;
    const std::vector<CGVertex*> p = SelectedPoints(*g_pCurPage);
    if (p.empty())
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    CDlgVector dlg;
    dlg.m_x = dlg.m_y = dlg.m_z = 1.0f;
    if (dlg.DoModal() != IDOK)
        return;
    run.AddPoint<CGVerFreeParVector>(dlg.m_x, dlg.m_y, dlg.m_z, p[0]->m_id);
    run.CommitCell(u"添加定向直线上的点");
}

// Through one point, the parallel to each selected line; or through each selected point, the
// parallel to the one line: a free point Q on the parallel and the straight line PQ each.  The
// lines are taken in selection order until one lacks its two points.
void CHalvixDoc::OnCreateLineParallel() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> points = SelectedPoints(*page);
    std::vector<std::pair<WORD, CGLine*>> pairs; // through point, parallel to line
    if (points.size() == 1 && page->m_selLines.GetCount() >= 1) {
        for (WORD id : page->m_selLines) {
            auto* line = DYNAMIC_DOWNCAST(CGLine, page->FindCell(id));
            WORD a, b;
            if (!LineEnds(line, a, b))
                break;
            pairs.emplace_back(points[0]->m_id, line);
        }
    } else if (points.size() >= 2 && page->m_selLines.GetCount() == 1) {
        auto* line = DYNAMIC_DOWNCAST(CGLine, page->FindCell(page->m_selLines.GetHead()));
        WORD a, b;
        if (LineEnds(line, a, b)) {
            for (const CGVertex* point : points)
                pairs.emplace_back(point->m_id, line);
        }
    }
    if (pairs.empty())
        return;
    CConstruction run(*this);
    if (!run.Reserve(2 * int(pairs.size()), int(pairs.size())))
        return;
    for (const auto& [through, line] : pairs) {
        const WORD q = run.AddPoint<CGVerFreeParVecPP>(through, line->m_parents[0], line->m_parents[1])->m_id;
        run.AddCell<CGLine>(through, q, CGLine::kLine);
    }
    run.CommitCells(u"添加平行线");
}

// The feet of the common perpendicular on the first and on the second line, and the segment
// between them.
void CHalvixDoc::OnCreateLineCommon() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGLine*> lines = HxSelectedCells<CGLine>(page->m_selLines);
    if (lines.size() != 2)
        return;
    CConstruction run(*this);
    if (!run.Reserve(3, 2))
        return;
    const WORD first = run.AddPoint<CGVerCommonperpen>(lines[0]->m_id, lines[1]->m_id)->m_id;
    const WORD second = run.AddPoint<CGVerCommonperpen>(lines[1]->m_id, lines[0]->m_id)->m_id;
    run.AddCell<CGLine>(first, second, CGLine::kSegment);
    run.CommitCells(u"添加公垂线段");
}

// The face V1 ... Vn moved by V1 -> P: P and the translated V2 ... Vn, the segments of the border
// as they come, and the face in the next automatic colour.
void CHalvixDoc::OnCreateFaceParface() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> points = SelectedPoints(*page);
    const std::vector<CGFace*> faces = HxSelectedCells<CGFace>(page->m_selFaces);
    if (points.size() != 1 || faces.size() != 1)
        return;
    const CGFace& face = *faces[0];
    const int n = int(face.m_parents.GetSize());
    for (int i = 0; i < n; ++i) {
        if (!face.GetCorner(i))
            return;
    }
    if (n < 3)
        return;
    CConstruction run(*this);
    if (!run.Reserve(2 * n, n))
        return;
    const WORD v1 = face.m_parents[0];
    CList<WORD, WORD> corners;
    corners.AddTail(points[0]->m_id);
    for (int i = 1; i < n; ++i) {
        const WORD vertex = run.AddPoint<CGVerTranslate>(face.m_parents[i], v1, points[0]->m_id)->m_id;
        run.AddCell<CGLine>(corners.GetTail(), vertex, CGLine::kSegment);
        corners.AddTail(vertex);
    }
    run.AddCell<CGLine>(corners.GetTail(), corners.GetHead(), CGLine::kSegment);
    run.AddCell<CGFace>(corners, NextAutoColor());
    run.CommitCells(u"添加面的平行面");
}

// The square perpendicular to the line AB: through the selected point P, centred at its foot O
// (hidden) with the corners P, Q, S, R; without a point, about A with a free first corner U and
// the corners U, W, V, X.  Four segments and the face follow the corners.
void CHalvixDoc::OnCreateFacePerline() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    WORD a, b;
    if (!LineEnds(HxSelectedAs<CGLine>(page->m_selLines, 0), a, b))
        return;
    const std::vector<CGVertex*> points = SelectedPoints(*page);
    CConstruction run(*this);
    if (!run.Reserve(9, 4))
        return;
    WORD square[4];
    if (!points.empty()) {
        const WORD p = points[0]->m_id;
        auto* foot = run.AddNamedPoint<CGVerFootpl>(CString(u"O"), p, a, b);
        foot->m_hidden = 1;
        const WORD f = foot->m_id;
        const WORD s = run.AddPoint<CGVerSymmetryP>(p, f)->m_id;
        // With the foot on B the plane of F, P and B is none: A gives it.
        const auto* pb = DYNAMIC_DOWNCAST(CGVertex, page->FindCell(b));
        const float d[3] = {pb->m_x - foot->m_x, pb->m_y - foot->m_y, pb->m_z - foot->m_z};
        const bool awayFromB = d[0] * d[0] + d[1] * d[1] + d[2] * d[2] > 0.1f;
        const WORD q = run.AddPoint<CGVerPerpenEquid>(f, p, awayFromB ? b : a)->m_id;
        const WORD r = run.AddPoint<CGVerSymmetryP>(q, f)->m_id;
        square[0] = p, square[1] = q, square[2] = s, square[3] = r;
    } else {
        const WORD u = run.AddPoint<CGVerFreeUpright>(a, b)->m_id;
        const WORD v = run.AddPoint<CGVerSymmetryP>(u, a)->m_id;
        const WORD w = run.AddPoint<CGVerPerpenEquid>(a, u, b)->m_id;
        const WORD x = run.AddPoint<CGVerSymmetryP>(w, a)->m_id;
        square[0] = u, square[1] = w, square[2] = v, square[3] = x;
    }
    for (int i = 0; i < 4; ++i)
        run.AddCell<CGLine>(square[i], square[(i + 1) % 4], CGLine::kSegment);
    run.AddCell<CGFace>(square[0], square[1], square[2], square[3], NextAutoColor());
    run.CommitCells(u"添加线的垂面");
}
