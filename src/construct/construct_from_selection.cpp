// CHalvixDoc::ConstructFromSelection: for each tool button and gallery a table of rows on the
// counts and kinds of the current page's selection; the first row that holds runs its command or
// builds its own small figure (followers, reflections, points from values, the horizontal segment,
// the three regular square frustums).
#include "construct/construct_from_selection.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "dynamics/ink.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "points/misc_points.h"
#include "points/path_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "platform/random.h"
#include "view/view_colors.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

namespace C = HxSelectionCommands;

namespace {

std::function<void(UINT)> g_commandObserver;

// The counts the tables read, in the order they are read.
struct CSelection {
    int P = 0, L = 0, F = 0, S = 0, R = 0, T = 0, V = 0, B = 0, O = 0, N = 0;
    int Rc = 0;  // true circles and arcs among the circles-arcs-curves list
    int Ri = 0;  // that list without ink marks
    int cls = 0; // the first point: 1 a point on a path, 2 a point in a face, else 0
    CGCell* firstPoint = nullptr;
};

int ClassOfPoint(const CGCell* point) {
    if (!point || !point->IsKindOf(RUNTIME_CLASS(CGVerFree)))
        return 0;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeInFace)) || point->IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane)))
        return 2;
    if (point->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) || point->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)) ||
        point->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) ||
        point->IsKindOf(RUNTIME_CLASS(CGVerFreeUpright)))
        return 0;
    return 1;
}

CSelection ReadSelection(const CGPage& page) {
    CSelection s;
    s.P = page.m_selPoints.GetCount();
    s.L = page.m_selLines.GetCount();
    s.F = page.m_selFaces.GetCount();
    s.S = page.m_selSolids.GetCount();
    s.R = page.m_selCurves.GetCount();
    s.T = page.m_selTexts.GetCount();
    s.V = page.m_selValues.GetCount();
    s.B = page.m_selButtons.GetCount();
    s.O = page.m_selOthers.GetCount();
    s.N = s.P + s.L + s.F + s.S + s.R + s.T + s.V + s.B + s.O;
    int ink = 0;
    for (WORD id : page.m_selCurves) {
        CGCell* cell = page.FindCell(id);
        s.Rc += DYNAMIC_DOWNCAST(CGArc, cell) != nullptr ? 1 : 0;
        ink += cell && cell->IsKindOf(RUNTIME_CLASS(CGInkmarks)) ? 1 : 0;
    }
    s.Ri = s.R - ink;
    if (s.P > 0) {
        s.firstPoint = page.FindCell(page.m_selPoints.GetHead());
        s.cls = ClassOfPoint(s.firstPoint);
    }
    return s;
}

double RandUnit() {
    return double(HxRand()) / double(HX_RAND_MAX);
}

} // namespace

namespace {
// The view's tool buttons and play command build from the selection through the document.
const bool g_viewServiceInstalled = [] {
    HxGetViewServices().constructFromSelection = [](CHalvixDoc& doc, int kind) {
        return doc.ConstructFromSelection(kind);
    };
    return true;
}();
} // namespace

void HxSetSelectionCommandObserver(std::function<void(UINT id)> observer) {
    g_commandObserver = std::move(observer);
}

namespace {

// Runs a command's handler on the current selection, exactly as if the user had chosen it: through
// the program's routing, or, without one, the document's own message map.
void RunCommand(CHalvixDoc& doc, UINT id) {
    if (g_commandObserver)
        g_commandObserver(id);
    if (!AfxGetCommandRouter().Execute(id))
        doc.OnCmdMsg(id, CN_COMMAND, nullptr);
}

// ---- Own builds ----

// One point followed by a new free point at a random offset: x 2 to 5 units, y 2 to 5 either way,
// z -3 to 3.
void BuildFollower(CHalvixDoc& doc, CGVertex& p) {
    const double dx = 3.0 * RandUnit() + 2.0;
    const double s = 2.0 * RandUnit() - 1.0;
    const double m = 3.0 * RandUnit() + 2.0;
    const double dz = 6.0 * RandUnit() - 3.0;
    CConstruction run(doc);
    if (!run.Reserve(1, 1))
        return;
    run.AddPoint<CGVerFreeHenchman>(float(p.m_x + dx), float(p.m_y + (s > 0.0 ? m : -m)), float(p.m_z + dz),
                                    p.m_id);
    run.CommitCell(u"添加三维随动点");
}

// The first point reflected in the second point, in the line or in the face's plane; named after
// it with "'".
void BuildSymmetricPoint(CHalvixDoc& doc, const CGPage& page, const CSelection& s) {
    auto* p = DYNAMIC_DOWNCAST(CGVertex, s.firstPoint);
    if (!p)
        return;
    CConstruction run(doc);
    if (!run.Reserve(1, 1))
        return;
    const CString name = p->m_name + u"'";
    if (s.P == 2) {
        run.AddNamedPoint<CGVerSymmetryP>(name, p->m_id, page.m_selPoints.GetTail());
    } else if (s.L == 1) {
        run.AddNamedPoint<CGVerSymmetryL>(name, p->m_id, page.m_selLines.GetHead());
    } else {
        run.AddNamedPoint<CGVerSymmetryF>(name, p->m_id, page.m_selFaces.GetHead());
    }
    run.CommitCell(u"添加对称点");
}

// A point whose coordinates are the selected values, in selection order; a coordinate without a
// value stays 0.
void BuildValuePoint(CHalvixDoc& doc, const CGPage& page, int values) {
    CConstruction run(doc);
    if (!run.Reserve(1, 1))
        return;
    run.AddPoint<CGVerCoordinates>(page.m_selValues, 1, values >= 2 ? 2 : 0, values >= 3 ? 3 : 0, 0.0f, 0.0f,
                                   0.0f);
    run.CommitCell(u"添加由度量值绘制的点");
}

// A segment from the point to a new point sliding on the parallel to the x axis through it.
void BuildHorizontalSegment(CHalvixDoc& doc, WORD p) {
    CConstruction run(doc);
    if (!run.Reserve(2, 1))
        return;
    const WORD q = run.AddPoint<CGVerFreeParVector>(1.0f, 0.0f, 0.0f, p)->m_id;
    run.AddCell<CGLine>(p, q, CGLine::kSegment);
    run.CommitCells(u"添加水平线段");
}

// The twelve edges and six faces of a frustum whose bottom corners are b[0..3] and top corners
// t[0..3] (t[i] over b[i]).
void FrustumEdgesAndFaces(CConstruction& run, const WORD b[4], const WORD t[4]) {
    for (int i = 0; i < 4; ++i)
        run.AddCell<CGLine>(b[i], b[(i + 1) % 4], CGLine::kSegment);
    for (int i = 0; i < 4; ++i)
        run.AddCell<CGLine>(t[i], t[(i + 1) % 4], CGLine::kSegment);
    for (int i = 0; i < 4; ++i)
        run.AddCell<CGLine>(b[i], t[i], CGLine::kSegment);
    run.AddCell<CGFace>(b[0], b[1], b[2], b[3], NextAutoColor());
    run.AddCell<CGFace>(t[0], t[1], t[2], t[3], NextAutoColor());
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        run.AddCell<CGFace>(b[i], b[j], t[j], t[i], NextAutoColor());
    }
}

// A square about the z axis from the point renamed "A", and the top half as large on the other
// side of the origin.
void BuildCentredFrustum(CHalvixDoc& doc, CGVertex& a) {
    CConstruction run(doc);
    if (!run.Reserve(25, 7))
        return;
    // The point is renamed inside the step: undo gives it its own name back.
    run.KeepName(a.m_id);
    a.m_name = CString(u"A");
    a.m_flag2 = true;
    a.UpdateName();
    const WORD b =
        run.AddPoint<CGVerRotate>(a.m_id, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.5707963705062866f)->m_id;
    const WORD c = run.AddPoint<CGVerSymmetry>(a.m_id, BYTE(3))->m_id;
    const WORD d = run.AddPoint<CGVerSymmetry>(b, BYTE(3))->m_id;
    const WORD a1 = run.AddNamedPoint<CGVerScaleO>(u"A1", c, -0.5f)->m_id;
    const WORD b1 = run.AddNamedPoint<CGVerScaleO>(u"B1", d, -0.5f)->m_id;
    const WORD c1 = run.AddNamedPoint<CGVerScaleO>(u"C1", a.m_id, -0.5f)->m_id;
    const WORD d1 = run.AddNamedPoint<CGVerScaleO>(u"D1", b, -0.5f)->m_id;
    const WORD bottom[4] = {a.m_id, b, c, d};
    const WORD top[4] = {a1, b1, c1, d1};
    FrustumEdgesAndFaces(run, bottom, top);
    run.CommitCells(u"添加正四棱台");
}

// Squares centred at the line's two points, square to the line.
void BuildLineFrustum(CHalvixDoc& doc, const CGLine& line) {
    if (line.m_parents.GetSize() < 2)
        return;
    const WORD e1 = line.m_parents[0], e2 = line.m_parents[1];
    CConstruction run(doc);
    if (!run.Reserve(26, 8))
        return;
    auto* p1 = run.AddPoint<CGVerFreeUpright>(e1, e2);
    p1->m_param2 = 10.0f;
    p1->m_param3 = 2.4f;
    p1->Recompute();
    constexpr float kQuarter = 1.5707963705062866f;
    const WORD p2 = run.AddPoint<CGVerRotateX>(p1->m_id, line.m_id, kQuarter, BYTE(0))->m_id;
    const WORD p3 = run.AddPoint<CGVerSymmetryP>(p1->m_id, e1)->m_id;
    const WORD p4 = run.AddPoint<CGVerSymmetryP>(p2, e1)->m_id;
    auto* q1 = run.AddPoint<CGVerFreeParVecPP>(e2, e1, p1->m_id);
    q1->m_param1 = 5.0f;
    q1->Recompute();
    const WORD q2 = run.AddPoint<CGVerRotateX>(q1->m_id, line.m_id, kQuarter, BYTE(0))->m_id;
    const WORD q3 = run.AddPoint<CGVerSymmetryP>(q1->m_id, e2)->m_id;
    const WORD q4 = run.AddPoint<CGVerSymmetryP>(q2, e2)->m_id;
    const WORD bottom[4] = {p1->m_id, p2, p3, p4};
    const WORD top[4] = {q1->m_id, q2, q3, q4};
    FrustumEdgesAndFaces(run, bottom, top);
    run.CommitCells(u"添加正四棱台");
}

// A square base below the origin, its apex straight above its centre, and the frustum the frustum
// builder cuts from that pyramid.
void BuildDefaultFrustum(CHalvixDoc& doc) {
    CConstruction run(doc);
    if (!run.Reserve(29, 10))
        return;
    const WORD p1 = run.AddPoint<CGVerFreeXyz>(-6.0f, -6.0f, -5.0f)->m_id;
    const WORD p2 = run.AddPoint<CGVerFreeHenchman>(6.0f, -6.0f, -5.0f, p1)->m_id;
    const WORD p3 = run.AddPoint<CGVerFreeUprightEquid>(p1, p2)->m_id;
    const WORD p4 = run.AddPoint<CGVerTranslate>(p2, p1, p3)->m_id;
    run.AddCell<CGLine>(p1, p2, CGLine::kSegment);
    run.AddCell<CGLine>(p2, p4, CGLine::kSegment);
    run.AddCell<CGLine>(p4, p3, CGLine::kSegment);
    run.AddCell<CGLine>(p3, p1, CGLine::kSegment);
    const WORD base = run.AddCell<CGFace>(p1, p2, p4, p3, NextAutoColor())->m_id;
    auto* m = run.AddPoint<CGVerScale>(p4, p1, 0.5f);
    m->m_labelHidden = 1;
    auto* apex = run.AddNamedPoint<CGVerFreePerpen>(CString(u"V"), m->m_id, p1, p2);
    apex->m_labelHidden = 1;
    apex->m_param1 = 16.0f;
    apex->Recompute();
    // The builder's cells take the page's next ids: they join this run's undo step.
    run.Page().BuildFrustum(apex->m_id, base);
    run.CommitCells(u"添加正四棱台");
}

} // namespace

int CHalvixDoc::ConstructFromSelection(int kind) {
    CGPage* page = g_pCurPage;
    if (!page)
        return 0;
    const CSelection s = ReadSelection(*page);
    if (s.N == 0 && kind < 5)
        return 0;
    switch (kind) {
    case 1: { // point tool: the number of new points
        const WORD before = page->m_nextVertex;
        if (s.L == s.N && s.L != 2)
            RunCommand(*this, C::kPointMiddle);
        else if (s.N == 1 && (s.F == 1 || s.R == 1))
            RunCommand(*this, C::kPointOnObject);
        else if (s.N == 1 && s.P == 1) {
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, s.firstPoint))
                BuildFollower(*this, *p);
        } else if (s.N == 2 && (s.L == 2 || s.Ri == 2 || (s.L == 1 && (s.Ri == 1 || s.F == 1)) ||
                                (s.Rc == 1 && s.F == 1)))
            RunCommand(*this, C::kPointInter);
        else if (s.N == 2 && (s.P == 2 || (s.P == 1 && (s.L == 1 || s.F == 1))))
            BuildSymmetricPoint(*this, *page, s);
        else if (s.N == 2 && s.Ri == 1 && s.cls == 1)
            RunCommand(*this, C::kPointInObjFt);
        else if (s.N == 3 && s.P == 3)
            RunCommand(*this, C::kPointPerEq);
        else if (s.V >= 1 && s.V <= 3 && s.V == s.N)
            BuildValuePoint(*this, *page, s.V);
        else if (s.V >= 1 && s.V <= 3 && ((s.N == 2 && (s.L == 1 || s.Ri == 1)) || s.N == s.P + 1))
            RunCommand(*this, C::kPointInObjFt);
        else if ((s.V == 0 || s.V > 3) && s.P == s.N && s.P >= 4)
            RunCommand(*this, C::kPointInObjFt);
        return int(WORD(page->m_nextVertex - before));
    }
    case 2: // line tool
        if ((s.P == s.N && s.P >= 2) || s.L == s.N) {
            static constexpr UINT kLineKinds[4] = {C::kLineSegment, C::kLineHalf, C::kLineStraight,
                                                   C::kLineVector};
            if (g_lineToolKind >= 0 && g_lineToolKind <= 3)
                RunCommand(*this, kLineKinds[g_lineToolKind]);
            return 1;
        }
        if (s.P == 1 && s.N == 1) {
            BuildHorizontalSegment(*this, page->m_selPoints.GetHead());
            return 1;
        }
        if (s.N >= 2 && s.P == 1 && (s.L + 1 == s.N || s.F + 1 == s.N)) {
            RunCommand(*this, C::kLinePerpendicular);
            return 1;
        }
        if (s.N >= 2 && s.L == 1 && s.P + 1 == s.N) {
            RunCommand(*this, C::kLineParallel);
            return 1;
        }
        return 0;
    case 3: // face tool
        if (s.P == s.N && s.P >= 3)
            RunCommand(*this, C::kFace);
        else if (s.F == s.N)
            RunCommand(*this, C::kFill);
        else if (s.N == 2 && s.P == 1 && s.F == 1)
            RunCommand(*this, C::kFaceParface);
        else if (s.L == 1 && (s.N == 1 || (s.N == 2 && s.P == 1)))
            RunCommand(*this, C::kFacePerline);
        else
            return 0;
        return 1;
    case 4: // circle tool
        // One point: the horizontal circle on it (no later row can hold with one point).
        if ((s.P == s.N && s.P == 1) || (s.P == s.N && s.P == 2))
            RunCommand(*this, C::kCirclePnz2);
        else if (s.N == 2 && s.P == 1 && s.V == 1)
            RunCommand(*this, C::kCircleCentreRadius);
        else if (s.P == s.N && s.P == 3)
            RunCommand(*this, C::kCircle3p);
        else if (s.Rc == s.N)
            RunCommand(*this, C::kFill);
        else
            return 0;
        return 1;
    case 5: // prism gallery
        if (s.N == 1 && s.P == 1)
            OnCuboidAxis(page->m_selPoints.GetHead());
        else if (s.N == 2 && s.P == 1 && s.F == 1)
            RunCommand(*this, C::kSolidPrism);
        else if ((s.N == 2 && s.P == 2) || (s.N == 3 && s.P == 3))
            RunCommand(*this, C::kCylinder);
        else
            RunCommand(*this, C::kBox);
        return 0;
    case 6: // pyramid gallery
        if (s.N == 1 && s.P == 1)
            OnPyramidTriangleRegular(page->m_selPoints.GetHead());
        else if (s.N == 2 && s.P == 1 && s.F == 1)
            RunCommand(*this, C::kSolidPyramid);
        else if ((s.N == 2 && s.P == 2) || (s.N == 3 && s.P == 3))
            RunCommand(*this, C::kCone);
        else
            OnTetrahedronRegular(0);
        return 0;
    case 7: // frustum gallery
        if (s.N == 1 && s.P == 1) {
            if (auto* a = DYNAMIC_DOWNCAST(CGVertex, s.firstPoint))
                BuildCentredFrustum(*this, *a);
        } else if (s.N == 1 && s.L == 1) {
            if (auto* line = DYNAMIC_DOWNCAST(CGLine, page->FindCell(page->m_selLines.GetHead())))
                BuildLineFrustum(*this, *line);
        } else if (s.N == 2 && s.P == 1 && s.F == 1)
            RunCommand(*this, C::kSolidTrun);
        else if ((s.N == 2 && s.P == 2) || (s.N == 4 && s.P == 4))
            RunCommand(*this, C::kPlatform);
        else
            BuildDefaultFrustum(*this);
        return 0;
    case 8: // sphere gallery
        RunCommand(*this, s.N == 2 && s.P == 2 ? C::kGeo : C::kSphereBody);
        return 0;
    case 9: // measure-and-calculate gallery
        if (s.N == 0 || s.V == s.N)
            RunCommand(*this, C::kMeasureFun);
        else if (s.N == 1 && s.P == 1)
            RunCommand(*this, s.cls == 1 ? C::kMeasurePt : C::kMeasurePxyz);
        else if (s.N == 1 && s.L == 1)
            RunCommand(*this, C::kMeasureDpp);
        else if (s.N == 1 && s.F == 1)
            RunCommand(*this, C::kMeasureArea);
        else if (s.N == 1 && s.Rc == 1)
            RunCommand(*this, C::kMeasureLenC);
        else if (s.N == 1 && s.S == 1)
            RunCommand(*this, C::kMeasureVolumeS);
        else if (s.N == 1)
            RunCommand(*this, C::kMeasureFun);
        else if (s.N >= 2 && (s.L == s.N || s.P == s.N))
            RunCommand(*this, C::kMeasureDpp);
        else if (s.N == 2 && s.P == 1 && (s.L == 1 || s.Rc == 1))
            RunCommand(*this, C::kMeasurePt);
        else
            RunCommand(*this, C::kMeasureFun);
        return 0;
    case 10: // text-and-label gallery
        if (s.N == 1 || (s.N >= 2 && s.T == s.N))
            RunCommand(*this, C::kLabelModify);
        else if (s.N >= 2 && s.P == s.N)
            RunCommand(*this, C::kBatchLabels);
        else if (HxGetViewServices().insertMtfColourText)
            HxGetViewServices().insertMtfColourText(*this, CPoint(500, 300), 0);
        return 0;
    case 11: { // curve-and-locus gallery
        const WORD before = page->m_nextId;
        if (s.N == 2 && s.P == 2) {
            RunCommand(*this, C::kLocus);
            if (page->m_nextId == before)
                RunCommand(*this, C::kCurve);
        } else if (s.cls == 1 && s.N == 1 + s.V && (s.V == 0 || s.V == 2)) {
            RunCommand(*this, C::kTrack);
            if (page->m_nextId == before)
                RunCommand(*this, C::kCurve);
        } else {
            RunCommand(*this, C::kCurve);
        }
        return 0;
    }
    case 12: // play command: action buttons
        // With nothing selected nothing is built: the view opens the media player instead.
        if (s.N == 0)
            return 0;
        if (s.N == 1 && s.P == 1) {
            RunCommand(*this, s.cls == 1 || s.cls == 2 ? C::kButtonAnimation : C::kButtonHideShow);
        } else if (s.N == 1 && s.V == 1) {
            const CGCell* value = page->FindCell(page->m_selValues.GetHead());
            const bool parameter = value && value->IsKindOf(RUNTIME_CLASS(CGTmVarParameter));
            RunCommand(*this, parameter ? C::kButtonAnimation : C::kButtonHideShow);
        } else if (s.N == 2 && s.P == 2) {
            const CGCell* p = s.firstPoint;
            const bool movable = p &&
                                 (s.cls == 1 || s.cls == 2 || p->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) ||
                                  p->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) ||
                                  p->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman))) &&
                                 !p->IsKindOf(RUNTIME_CLASS(CGVerFreeInPaths)) &&
                                 !p->IsKindOf(RUNTIME_CLASS(CGVerFreeInBorder));
            RunCommand(*this, movable ? C::kButtonMove : C::kButtonHideShow);
        } else if (s.B >= 2 && s.B == s.N) {
            RunCommand(*this, C::kButtonSeries);
        } else {
            RunCommand(*this, C::kButtonHideShow);
        }
        return 1;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// The galleries

void CHalvixDoc::AddGalleryCommands() {
    OnCommandId(ID_CREATE_PRISM, &CHalvixDoc::OnCreatePrismGallery);
    OnCommandId(ID_CREATE_PYRAMID, &CHalvixDoc::OnCreatePyramidGallery);
    OnCommandId(ID_CREATE_FRUSTUM, &CHalvixDoc::OnCreateFrustumGallery);
    OnCommandId(ID_CREATE_SPHERE, &CHalvixDoc::OnCreateSphereGallery);
    OnCommandId(ID_CREATE_MEASCALC, &CHalvixDoc::OnCreateMeasCalcGallery);
    OnCommandId(ID_CREATE_TEXTLABEL, &CHalvixDoc::OnCreateTextLabelGallery);
    OnCommandId(ID_CREATE_CURVE_LOCUS, &CHalvixDoc::OnCreateCurveLocusGallery);
}

void CHalvixDoc::OnCreatePrismGallery() {
    ConstructFromSelection(5);
}

void CHalvixDoc::OnCreatePyramidGallery() {
    ConstructFromSelection(6);
}

void CHalvixDoc::OnCreateFrustumGallery() {
    ConstructFromSelection(7);
}

void CHalvixDoc::OnCreateSphereGallery() {
    ConstructFromSelection(8);
}

void CHalvixDoc::OnCreateMeasCalcGallery() {
    ConstructFromSelection(9);
}

void CHalvixDoc::OnCreateTextLabelGallery() {
    ConstructFromSelection(10);
}

void CHalvixDoc::OnCreateCurveLocusGallery() {
    ConstructFromSelection(11);
}
