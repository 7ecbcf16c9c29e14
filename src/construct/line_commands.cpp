// The line commands: segments, rays, lines and vectors through the selected points or the kind of
// the selected lines, the line tool, perpendiculars from points to lines and faces, and single
// points on perpendiculars, on parallels to the axes and following another point.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "points/object_points.h"
#include "view/view_ids.h"
#include "view/view_tool_globals.h"

namespace {

struct CLineTexts {
    const char16_t* one;
    const char16_t* many;
};

// The undo texts of the four kinds, one line and several.
constexpr CLineTexts kLineTexts[4] = {
    {u"添加线", u"添加多条线"},
    {u"添加射线", u"添加多条射线"},
    {u"添加直线", u"添加多条直线"},
    {u"添加有向线段", u"添加多条有向线段"},
};

const char16_t* const kPerpendicularText = u"添加垂线";

// The kind of the selected lines changed in place: no undo step; the lines and everything built
// on them recomputed in id order and their labels rebuilt, the object tree told.
void ChangeLineKinds(CHalvixDoc& doc, CGPage& page, BYTE kind) {
    const std::vector<CGLine*> lines = HxSelectedCells<CGLine>(page.m_selLines);
    for (CGLine* line : lines) {
        line->m_kind = kind;
        line->Recompute();
        line->MarkDescendants();
    }
    for (CGLine* line : lines)
        line->m_mark = true;
    page.CollectMarkedIds(page.m_scratchIds);
    page.UpdateCellsById(page.m_scratchIds);
    page.UpdateTextsById(page.m_scratchIds);
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page.m_pageId));
    doc.SetModifiedFlag(TRUE);
    doc.UpdateAllViews(nullptr);
}

// The four line commands: lines of `kind` joining the selected points in selection order (closed
// when more than two), the kind of the selected lines, or the line tool.
void CreateLines(CHalvixDoc& doc, BYTE kind) {
    g_lineToolKind = kind;
    HxSetButtonImage(ID_CREATE_LINE_TOOL, kind + 2);
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
    const int p = int(points.size());
    if (p >= 2) {
        const int count = p == 2 ? 1 : p;
        CConstruction run(doc);
        if (!run.Reserve(count, 0))
            return;
        for (int i = 0; i + 1 < p; ++i)
            run.AddCell<CGLine>(points[size_t(i)]->m_id, points[size_t(i) + 1]->m_id, kind);
        if (p > 2)
            run.AddCell<CGLine>(points.back()->m_id, points.front()->m_id, kind);
        if (p == 2)
            run.CommitCell(kLineTexts[kind].one);
        else
            run.CommitCells(kLineTexts[kind].many);
        return;
    }
    if (page->m_selLines.GetCount() > 0) {
        ChangeLineKinds(doc, *page, kind);
        return;
    }
    if (page->m_selPoints.IsEmpty())
        HxSelectMouseTool(3);
    // A single point and no line (only without the update rule): nothing to do, nothing changed.
}

// One point of class T on the first selected point(s): the single-point commands.
template <class T, class... Args> void CreatePoint(CHalvixDoc& doc, const char16_t* undoText, Args... args) {
    CConstruction run(doc);
    if (run.Reserve(1, 1)) {
        run.AddPoint<T>(args...);
        run.CommitCell(undoText);
    }
}

// The selected points of the current page, in selection order.
std::vector<CGVertex*> SelectedPoints() {
    return g_pCurPage ? HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints) : std::vector<CGVertex*>();
}

// The first selected point, or null.
CGVertex* FirstPoint() {
    const std::vector<CGVertex*> points = SelectedPoints();
    return points.empty() ? nullptr : points.front();
}

} // namespace

void CHalvixDoc::OnCreateLineSegment() {
    CreateLines(*this, CGLine::kSegment);
}

void CHalvixDoc::OnCreateLineHalf() {
    CreateLines(*this, CGLine::kRay);
}

void CHalvixDoc::OnCreateLineStraight() {
    CreateLines(*this, CGLine::kLine);
}

void CHalvixDoc::OnCreateLineVector() {
    CreateLines(*this, CGLine::kVector);
}

// Perpendiculars, by the first branch that fits: one point to each selected line, one point to each
// selected face, each point to the one line, each point to the one face, the first of three points
// to the line of the other two.  The cells alternate: foot, line from the point to its foot.
void CHalvixDoc::OnCreateLinePerpendicular() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
    const std::vector<CGLine*> lines = HxSelectedCells<CGLine>(page->m_selLines);
    const std::vector<CGFace*> faces = HxSelectedCells<CGFace>(page->m_selFaces);
    const size_t p = points.size();

    // The feet to make: from a point to a line (its two points) or to a face (its first three).
    struct CFoot {
        WORD point;
        WORD target[3];
        bool plane;
    };
    std::vector<CFoot> feet;
    auto toLine = [&](const CGVertex* point, const CGLine* line) {
        if (line->GetEnd(0) && line->GetEnd(1))
            feet.push_back({point->m_id, {line->m_parents[0], line->m_parents[1], 0}, false});
    };
    auto toFace = [&](const CGVertex* point, const CGFace* face) {
        if (face->GetCorner(0) && face->GetCorner(1) && face->GetCorner(2))
            feet.push_back({point->m_id, {face->m_parents[0], face->m_parents[1], face->m_parents[2]}, true});
    };
    if (p == 1 && !lines.empty()) {
        for (const CGLine* line : lines)
            toLine(points[0], line);
    } else if (p == 1 && !faces.empty()) {
        for (const CGFace* face : faces)
            toFace(points[0], face);
    } else if (p > 1 && lines.size() == 1) {
        for (const CGVertex* point : points)
            toLine(point, lines[0]);
    } else if (p > 1 && faces.size() == 1) {
        for (const CGVertex* point : points)
            toFace(point, faces[0]);
    } else if (p == 3 && lines.empty() && faces.empty()) {
        feet.push_back({points[0]->m_id, {points[1]->m_id, points[2]->m_id, 0}, false});
    }
    if (feet.empty())
        return;

    CConstruction run(*this);
    if (!run.Reserve(2 * int(feet.size()), int(feet.size())))
        return;
    const BYTE kind = BYTE(g_lineToolKind);
    for (const CFoot& f : feet) {
        const WORD foot =
            f.plane ? run.AddPoint<CGVerFootpfEx>(f.point, f.target[0], f.target[1], f.target[2])->m_id
                    : run.AddPoint<CGVerFootplEx>(f.point, f.target[0], f.target[1])->m_id;
        run.AddCell<CGLine>(f.point, foot, kind);
    }
    run.CommitCells(kPerpendicularText);
}

// A point on the perpendicular through the first point: free in the plane square to the line of
// two points, or on the perpendicular to the plane of three.
void CHalvixDoc::OnCreatePointPerSc() {
    const std::vector<CGVertex*> p = SelectedPoints();
    const char16_t* const text = u"添加垂线上的伸缩点";
    if (p.size() == 2)
        CreatePoint<CGVerFreeUpright>(*this, text, p[0]->m_id, p[1]->m_id);
    else if (p.size() == 3)
        CreatePoint<CGVerFreePerpen>(*this, text, p[0]->m_id, p[1]->m_id, p[2]->m_id);
}

// The same at the distance of the first two points.
void CHalvixDoc::OnCreatePointPerEq() {
    const std::vector<CGVertex*> p = SelectedPoints();
    const char16_t* const text = u"添加垂线上的等距点";
    if (p.size() == 2)
        CreatePoint<CGVerFreeUprightEquid>(*this, text, p[0]->m_id, p[1]->m_id);
    else if (p.size() == 3)
        CreatePoint<CGVerPerpenEquid>(*this, text, p[0]->m_id, p[1]->m_id, p[2]->m_id);
}

void CHalvixDoc::OnCreatePointParX() {
    if (CGVertex* a = FirstPoint())
        CreatePoint<CGVerFreeParVector>(*this, u"添加平行于x轴的直线上点", 1.0f, 0.0f, 0.0f, a->m_id);
}

void CHalvixDoc::OnCreatePointParY() {
    if (CGVertex* a = FirstPoint())
        CreatePoint<CGVerFreeParVector>(*this, u"添加平行于y轴的直线上点", 0.0f, 1.0f, 0.0f, a->m_id);
}

void CHalvixDoc::OnCreatePointParZ() {
    if (CGVertex* a = FirstPoint())
        CreatePoint<CGVerFreeParVector>(*this, u"添加平行于z轴的直线上点", 0.0f, 0.0f, 1.0f, a->m_id);
}

// A free point made at (5, 0, 0) that keeps its offset from the selected point.
void CHalvixDoc::OnCreatePointVector() {
    if (CGVertex* a = FirstPoint())
        CreatePoint<CGVerFreeHenchman>(*this, u"添加自由随从点", 5.0f, 0.0f, 0.0f, a->m_id);
}

// A free point made at x 5, y 0 that keeps its level offset from the selected point and its height.
void CHalvixDoc::OnCreatePoint2dz() {
    if (CGVertex* a = FirstPoint())
        CreatePoint<CGVerFree2dHenchman>(*this, u"添加二维随从点", 5.0f, 0.0f, a->m_id);
}
