// The intersection command (two lines, a line and a face, a line or a face and a circle, two circles,
// and the crossings with curves and loci, counted and chosen in a dialog), the midpoints, and the
// trisection and N-division points of selected segments or of two points.
#include "construct/construct_ids.h"
#include "construct/curve_crossings.h"
#include "construct/point_dialogs.h"
#include "document/halvix_doc.h"
#include "dynamics/curves.h"
#include "model/arc.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/line.h"
#include "points/intersection_points.h"

#include <algorithm>

namespace {

struct CCrossingKind {
    HxCrossingCounter count = nullptr;
    HxCrossingPointMaker make = nullptr;
};
CCrossingKind g_crossingKinds[kCrossingPairCount];

// What an object of the circles-and-curves list is, as the intersection command tells them apart.
enum class CCurveKind { Circle, Curve, Locus, Other };
CCurveKind KindOf(const CGCell* cell) {
    if (!cell)
        return CCurveKind::Other;
    if (cell->IsKindOf(RUNTIME_CLASS(CGArc)))
        return CCurveKind::Circle;
    if (cell->IsKindOf(RUNTIME_CLASS(CGCurve)))
        return CCurveKind::Curve;
    if (cell->IsKindOf(RUNTIME_CLASS(CGLocus)))
        return CCurveKind::Locus;
    return CCurveKind::Other; // an ink mark
}

// The selected object at a place of a list, by its kind.
CCurveKind SelectedKind(const CList<WORD, WORD>& list, int index) {
    return KindOf(HxSelectedAs<CGCell>(list, index));
}

// A pair of the circles-and-curves list that crosses in counted points: the pair, its objects in the
// order of the pair and the undo text.
struct CCountedCase {
    CCrossingPair pair;
    WORD first, second;
    const char16_t* undoText;
};

// The counted pair of a line with a curve or a locus.
bool LineCase(CCurveKind kind, WORD line, WORD object, CCountedCase& c) {
    if (kind == CCurveKind::Curve)
        c = {CCrossingPair::LineCurve, line, object, u"添加直线与曲线的交点"};
    else if (kind == CCurveKind::Locus)
        c = {CCrossingPair::LineLocus, line, object, u"添加直线与轨迹的交点"};
    else
        return false;
    return true;
}

// The counted pair of two objects of the circles-and-curves list other than two circles, in either
// selection order: the first parent is the circle, then the curve, then the locus.
bool CurvePairCase(CCurveKind k1, WORD id1, CCurveKind k2, WORD id2, CCountedCase& c) {
    if (k1 == CCurveKind::Other || k2 == CCurveKind::Other || (k1 == CCurveKind::Circle && k2 == k1))
        return false;
    if (int(k2) < int(k1)) {
        std::swap(k1, k2);
        std::swap(id1, id2);
    }
    struct CRow {
        CCurveKind k1, k2;
        CCrossingPair pair;
        const char16_t* undoText;
    };
    static const CRow rows[] = {
        {CCurveKind::Circle, CCurveKind::Curve, CCrossingPair::CircleCurve, u"添加圆与曲线的交点"},
        {CCurveKind::Circle, CCurveKind::Locus, CCrossingPair::CircleLocus, u"添加圆与轨迹的交点"},
        {CCurveKind::Curve, CCurveKind::Curve, CCrossingPair::CurveCurve, u"添加曲线与曲线的交点"},
        {CCurveKind::Locus, CCurveKind::Locus, CCrossingPair::LocusLocus, u"添加轨迹与轨迹的交点"},
        {CCurveKind::Curve, CCurveKind::Locus, CCrossingPair::CurveLocus, u"添加曲线与轨迹的交点"},
    };
    for (const CRow& row : rows) {
        if (row.k1 == k1 && row.k2 == k2) {
            c = {row.pair, id1, id2, row.undoText};
            return true;
        }
    }
    return false;
}

bool Ready(const CCountedCase& c) {
    return HxCrossingKindReady(c.pair);
}

// The crossing points of a counted pair: as many as the user asks for in the dialog, which opens with
// the number there are now; the points beyond them appear when the figure changes so that they
// exist.  Cancel, or 0, adds nothing.
void AddCountedCrossings(CHalvixDoc& doc, const CCountedCase& c) {
    const CCrossingKind& kind = g_crossingKinds[int(c.pair)];
    if (!kind.count || !kind.make)
        return;
    float where[3];
    CDlgIntersectionNum dialog;
    dialog.m_number = kind.count(c.first, c.second, 0, where);
    if (dialog.DoModal() != IDOK || dialog.m_number <= 0)
        return;
    const int n = std::min(dialog.m_number, int(CDlgIntersectionNum::kMaxNumber));
    CConstruction run(doc);
    if (!run.Reserve(n, n))
        return;
    for (int i = 0; i < n; ++i)
        kind.make(run, i, c.first, c.second);
    run.CommitCells(c.undoText);
}

struct CSelectionCounts {
    int points = 0, lines = 0, faces = 0, curves = 0;
};
CSelectionCounts Counts() {
    CSelectionCounts n;
    if (const CGPage* page = g_pCurPage) {
        n.points = page->m_selPoints.GetCount();
        n.lines = page->m_selLines.GetCount();
        n.faces = page->m_selFaces.GetCount();
        n.curves = page->m_selCurves.GetCount();
    }
    return n;
}

// The two points of a line as the division builder takes them; false for a line without two.
bool EndsOf(const CGLine& line, WORD& a, WORD& b) {
    if (line.m_parents.GetSize() < 2)
        return false;
    a = line.m_parents[0];
    b = line.m_parents[1];
    return true;
}

// The division points of the two selected points, or else of every selected segment, into n parts
// (only the first of each when onlyFirst), as one undo step with the texts for one point and more.
void AddDivisionPoints(CHalvixDoc& doc, int n, BOOL onlyFirst, const char16_t* one, const char16_t* many) {
    CGPage* page = g_pCurPage;
    if (!page || n < 2)
        return;
    CConstruction run(doc);
    if (page->m_selPoints.GetCount() == 2) {
        const std::vector<WORD> points = HxSelectedIds(page->m_selPoints);
        page->BuildDivisionPoints(points[0], points[1], n, onlyFirst);
    } else {
        const std::vector<CGLine*> lines = HxSelectedCells<CGLine>(page->m_selLines);
        const int each = onlyFirst ? 1 : n - 1;
        const long long count = (long long)(lines.size()) * each;
        if (lines.empty() || count > CGPage::kMaxCellId || !run.Reserve(int(count), int(count)))
            return;
        for (const CGLine* line : lines) {
            WORD a, b;
            if (EndsOf(*line, a, b))
                page->BuildDivisionPoints(a, b, n, onlyFirst);
        }
    }
    // The count recorded is the count made.
    if (run.Count() < 2)
        run.CommitCell(one);
    else
        run.CommitCells(many);
}

} // namespace

void HxSetCrossingKind(CCrossingPair pair, HxCrossingCounter count, HxCrossingPointMaker make) {
    g_crossingKinds[int(pair)] = {count, make};
}

bool HxCrossingKindReady(CCrossingPair pair) {
    const CCrossingKind& kind = g_crossingKinds[int(pair)];
    return kind.count && kind.make;
}

void CHalvixDoc::AddPointCommands() {
    OnCommandId(ID_CREATE_POINT_INTER, &CHalvixDoc::OnPointIntersection);
    OnUpdateId(ID_CREATE_POINT_INTER, &CHalvixDoc::OnUpdatePointIntersection);
    OnCommandId(ID_CREATE_POINT_MIDDLE, &CHalvixDoc::OnPointMiddle);
    OnCommandId(ID_CREATE_POINT_DIV3, &CHalvixDoc::OnPointDiv3);
    OnCommandId(ID_CREATE_POINT_DIVN, &CHalvixDoc::OnPointDivN);
    for (UINT id : {ID_CREATE_POINT_MIDDLE, ID_CREATE_POINT_DIV3, ID_CREATE_POINT_DIVN})
        OnUpdateId(id, &CHalvixDoc::OnUpdatePointDivision);
}

void CHalvixDoc::OnUpdatePointIntersection(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    const CGPage* page = g_pCurPage;
    bool enable = n.lines == 2 || (n.lines == 1 && n.faces == 1);
    CCountedCase c;
    if (!enable && page && n.curves == 1) {
        const CCurveKind kind = SelectedKind(page->m_selCurves, 0);
        if (n.lines == 1)
            enable = kind == CCurveKind::Circle || (LineCase(kind, 0, 0, c) && Ready(c));
        if (n.faces == 1)
            enable = enable || kind == CCurveKind::Circle;
    }
    if (!enable && page && n.curves == 2) {
        const CCurveKind k1 = SelectedKind(page->m_selCurves, 0), k2 = SelectedKind(page->m_selCurves, 1);
        enable = (k1 == CCurveKind::Circle && k2 == CCurveKind::Circle) ||
                 (CurvePairCase(k1, 0, k2, 0, c) && Ready(c));
    }
    pCmdUI->Enable(enable);
}

void CHalvixDoc::OnPointIntersection() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const CSelectionCounts n = Counts();
    CGLine* line = HxSelectedAs<CGLine>(page->m_selLines, 0);
    CGFace* face = HxSelectedAs<CGFace>(page->m_selFaces, 0);
    CGCell* object = HxSelectedAs<CGCell>(page->m_selCurves, 0);
    CConstruction run(*this);
    if (n.lines == 2) {
        CGLine* second = HxSelectedAs<CGLine>(page->m_selLines, 1);
        if (!line || !second || !run.Reserve(1, 1))
            return;
        run.AddPoint<CGVerIntersection>(line->m_id, second->m_id);
        run.CommitCell(u"添加两线交点");
        return;
    }
    if (n.lines == 1 && n.faces == 1) {
        if (!line || !face || !run.Reserve(1, 1))
            return;
        run.AddPoint<CGVerIntersectionLF>(line->m_id, face->m_id);
        run.CommitCell(u"添加线与面交点");
        return;
    }
    if (n.lines + n.faces == 1 && n.curves == 1) {
        const CCurveKind kind = KindOf(object);
        if (kind == CCurveKind::Circle) {
            // Both roots, also while the line or the plane misses the circle.
            if (!run.Reserve(2, 2))
                return;
            for (BYTE root = 0; root < 2; ++root) {
                if (line)
                    run.AddPoint<CGVerIntersectionLS>(root, line->m_id, object->m_id);
                else if (face)
                    run.AddPoint<CGVerIntersectionCF>(root, object->m_id, face->m_id);
            }
            run.CommitCells(line ? u"添加线与圆的交点" : u"添加圆与面交点");
            return;
        }
        CCountedCase c;
        if (line && LineCase(kind, line->m_id, object->m_id, c))
            AddCountedCrossings(*this, c);
        return;
    }
    if (n.curves == 2) {
        CGCell* second = HxSelectedAs<CGCell>(page->m_selCurves, 1);
        if (!object || !second)
            return;
        const CCurveKind k1 = KindOf(object), k2 = KindOf(second);
        if (k1 == CCurveKind::Circle && k2 == CCurveKind::Circle) {
            if (!run.Reserve(2, 2))
                return;
            for (BYTE root = 0; root < 2; ++root)
                run.AddPoint<CGVerIntersectionSS>(root, object->m_id, second->m_id);
            run.CommitCells(u"添加两圆交点");
            return;
        }
        CCountedCase c;
        if (CurvePairCase(k1, object->m_id, k2, second->m_id, c))
            AddCountedCrossings(*this, c);
    }
    // Any other selection fits no case: nothing is made.
}

// Some segment, or exactly two points.
void CHalvixDoc::OnUpdatePointDivision(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable(n.lines > 0 || n.points == 2);
}

void CHalvixDoc::OnPointMiddle() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    if (page->m_selPoints.GetCount() == 2) {
        AddDivisionPoints(*this, 2, FALSE, u"添加一个中点", u"添加多个中点");
        return;
    }
    const std::vector<CGLine*> lines = HxSelectedCells<CGLine>(page->m_selLines);
    const int n = int(lines.size());
    CConstruction run(*this);
    if (n == 0 || !run.Reserve(n, n))
        return;
    for (const CGLine* line : lines)
        run.AddPoint<CGVerMid>(line->m_id);
    if (n < 2)
        run.CommitCell(u"添加一个中点");
    else
        run.CommitCells(u"添加多个中点");
}

void CHalvixDoc::OnPointDiv3() {
    AddDivisionPoints(*this, 3, FALSE, u"添加一个三等分点", u"添加三等分点");
}

void CHalvixDoc::OnPointDivN() {
    DlgDivPoint dialog;
    if (dialog.DoModal() != IDOK || dialog.m_n < DlgDivPoint::kMinN || dialog.m_n > DlgDivPoint::kMaxN)
        return;
    AddDivisionPoints(*this, dialog.m_n, dialog.m_onlyFirst, u"添加一个N等分点", u"添加N等分点");
}
