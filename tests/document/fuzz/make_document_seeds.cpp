// Writes small documents to start the document fuzzer from: a new document, one of several pages
// with points, lines and a tool, its ".gf" copy, an older version, a page with every point on an
// object, one with a hull, its net, section and cuts, one with every measurement, vector item, a
// parameter and the plane axes' scale, one with every solid of revolution, one with a component of
// every kind, one with every action button, one with parameters and calculated values, one with
// 3DS models whose files are whole, damaged or missing, one with the figures of the construct
// commands (prisms, pyramids, frustums, spheres, the frame, fixed round figures, crossing and
// division points), one with surfaces and view buttons, one with ink marks, one with loci, curves,
// the points on them and their crossings, one with the polygons and colour modifiers of every mode,
// one with text items and command buttons, each with damaged variants of their records; with
// --paste, the clipboard blocks of a page (its cells, the page whole); with --toolset, tool-set
// files.
// Usage: make_document_seeds [--paste | --toolset] DIR
#include "document/halvix_doc.h"
#include "dynamics/color_modifier.h"
#include "text_item_seeds.h"
#include "dynamics/buttons.h"
#include "dynamics/curves.h"
#include "dynamics/ink.h"
#include "dynamics/iterate.h"
#include "dynamics/track.h"
#include "measure/calculator.h"
#include "measure/measurements.h"
#include "measure/scale_line.h"
#include "measure/vector_items.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "points/crossing_points.h"
#include "points/intersection_points.h"
#include "points/misc_points.h"
#include "points/object_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/model3ds.h"
#include "solids/revolution_constructed.h"
#include "solids/section.h"
#include "solids/split.h"
#include "solids/subassembly.h"
#include "surface_seeds.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <string>

namespace {

void Write(const std::string& path, const std::vector<BYTE>& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void AddFigure(CGPage* page, int points) {
    CCellMap* saved = g_cellMap;
    g_cellMap = &page->m_cells;
    for (int i = 0; i < points; ++i) {
        WORD id = page->m_nextId++;
        page->m_cells.SetAt(
            id, new CGVertex(id, page->m_nextVertex++, page->MakeAutoLabel(1), float(i), float(i * i), 2));
    }
    for (int i = 1; i < points; ++i) {
        WORD id = page->m_nextId++;
        page->m_cells.SetAt(id, new CGLine(id, WORD(i), WORD(i + 1), BYTE(i % 4)));
    }
    g_cellMap = saved;
}

// A face, circles and the point classes that follow them, on points 1 to 3 of the page.
void AddConstructions(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](CGCell* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell->m_id;
    };
    add(new CGFace(page->m_nextId++, 1, 2, 3, RGB(200, 120, 40)));
    WORD circle = add(new CGArcCircle3P(page->m_nextId++, 1, 2, 3, 0));
    add(new CGArcCenterP(page->m_nextId++, 1, 2, 3, 3));
    add(new CGVerMid(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 5));
    add(new CGVerFreeInCircle(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), circle, 0.25f));
    add(new CGVerFreeUpright(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 1, 2));
    add(new CGVerFootpf(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 4, 1, 2, 3));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
}

// Every point on an object, on the figure of AddFigure (4 points, 3 lines) and AddConstructions
// (circle 9, the point on it 12).  Curves and loci are not stored yet: their points stand on a
// line, which they cannot use.  Returns the cells, in the order made.
std::vector<CGVertex*> AddPointsOnObjects(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    std::vector<CGVertex*> made;
    auto add = [&](CGVertex* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        made.push_back(cell);
    };
    auto id = [&] { return page->m_nextId++; };
    auto vertex = [&] { return DWORD(page->m_nextVertex++); };
    auto name = [&] { return page->MakeAutoLabel(1); };
    CList<WORD, WORD> square;
    for (WORD corner : {1, 2, 3, 4})
        square.AddTail(corner);
    add(new CGVerInLineFt(id(), vertex(), name(), 5, 12));
    add(new CGVerInLineFixedf(id(), vertex(), name(), 6, 1.5f));
    add(new CGVerInCircleFixedf(id(), vertex(), name(), 9, 1.0f));
    add(new CGVerInCircleScale(id(), vertex(), name(), 9, 12, 1, 0.3f));
    add(new CGVerInCurveFixedf(id(), vertex(), name(), 7, 0.5f));
    add(new CGVerInCurveFt(id(), vertex(), name(), 7, 12));
    add(new CGVerInLocusFixedf(id(), vertex(), name(), 7, 0.5f));
    add(new CGVerInLocusFt(id(), vertex(), name(), 7, 12));
    add(new CGVerInBorderFt(id(), vertex(), name(), square, 12));
    add(new CGVerFootplEx(id(), vertex(), name(), 4, 1, 2));
    add(new CGVerFootpfEx(id(), vertex(), name(), 4, 1, 2, 3));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return made;
}

// A one-page document with the points on objects, damaged by `damage` before it is stored.
std::vector<BYTE> PointsOnObjectsDocument(void (*damage)(std::vector<CGVertex*>&)) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    AddFigure(page, 4);
    AddConstructions(page);
    std::vector<CGVertex*> made = AddPointsOnObjects(page);
    if (damage)
        damage(made);
    return doc.StoreToBytes();
}

// Loci and curves with the points that slide on them, stand at a parameter of them and cross them.
struct CLociFigures {
    CGLocus* locus = nullptr;
    CGLocus* second = nullptr;
    CGCurve* curve = nullptr;
    CGCurve* flat = nullptr;
    std::vector<CGVertex*> points;
};

// On the figure of AddFigure (4 points, 3 lines) and AddConstructions (circle 9, the point on it
// 12): the locus of the midpoint of point 1 and the point on the circle (of the segment between), a second
// locus of a point on the first, a curve on a value and a flat one, the points on them and the seven
// crossings.
CLociFigures AddLoci(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    CLociFigures f;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    auto id = [&] { return page->m_nextId++; };
    auto vertex = [&] { return DWORD(page->m_nextVertex++); };
    auto name = [&] { return page->MakeAutoLabel(1); };
    auto point = [&](CGVertex* cell) {
        add(cell);
        f.points.push_back(cell);
        return cell;
    };
    CGLine* spoke = add(new CGLine(id(), 1, 12, CGLine::kSegment));
    CGVertex* mid = point(new CGVerMid(id(), vertex(), name(), spoke->m_id));
    f.locus = add(new CGLocus(id(), 12, mid->m_id, 0.0f, 6.2831f));
    auto* onLocus =
        static_cast<CGVerFree*>(point(new CGVerFreeInLocus(id(), vertex(), name(), f.locus->m_id, 1.0f)));
    CGLine* spoke2 = add(new CGLine(id(), 2, onLocus->m_id, CGLine::kSegment));
    CGVertex* mid2 = point(new CGVerMid(id(), vertex(), name(), spoke2->m_id));
    f.second = add(new CGLocus(id(), onLocus->m_id, mid2->m_id, 0.0f, 6.2831f));
    f.second->m_step = 0.05f;
    auto* value = new CGTmVariable;
    value->m_id = id();
    add(value);
    value->m_name = u"a";
    value->m_param1 = 2.0f;
    CList<WORD, WORD> values;
    values.AddTail(value->m_id);
    f.curve = add(new CGCurve(id(), values, u"No1*cos(t)", u"No1*sin(t)", u"t/4", u"0", u"4*pi", 0.05f, 0));
    f.curve->m_style = kCurveAuto;
    CList<WORD, WORD> none;
    f.flat = add(new CGCurve(id(), none, u"3", u"t", u"0", u"-pi", u"pi", 0.1f, 2));
    f.flat->SetBreakDistance(2.0f);
    point(new CGVerFreeInCurve(id(), vertex(), name(), f.curve->m_id, 1.5f));
    point(new CGVerInCurveFixedf(id(), vertex(), name(), f.flat->m_id, 0.5f));
    point(new CGVerInLocusFixedf(id(), vertex(), name(), f.locus->m_id, 0.5f));
    point(new CGVerInLocusFt(id(), vertex(), name(), f.second->m_id, onLocus->m_id));
    for (BYTE n : {0, 1})
        point(new CGVerIntersectionLG(id(), vertex(), name(), n, 5, f.locus->m_id));
    point(new CGVerIntersectionLQ(id(), vertex(), name(), 0, 6, f.flat->m_id));
    point(new CGVerIntersectionCQ(id(), vertex(), name(), 1, 9, f.flat->m_id));
    point(new CGVerIntersectionCG(id(), vertex(), name(), 0, 9, f.locus->m_id));
    point(new CGVerIntersectionQQ(id(), vertex(), name(), 0, f.flat->m_id, f.curve->m_id));
    point(new CGVerIntersectionGG(id(), vertex(), name(), 2, f.locus->m_id, f.second->m_id));
    point(new CGVerIntersectionQG(id(), vertex(), name(), 31, f.flat->m_id, f.locus->m_id));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return f;
}

// A one-page document with the loci and curves, damaged by `damage` before it is stored.
std::vector<BYTE> LociDocument(const std::function<void(CLociFigures&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    AddFigure(page, 4);
    AddConstructions(page);
    CLociFigures figures = AddLoci(page);
    if (damage)
        damage(figures);
    return doc.StoreToBytes();
}

struct CHullFigures {
    CGPolyhedron* hull = nullptr;
    CGFold* net = nullptr;
    CGSplit* fixedCut = nullptr;
    CGSplit* faceCut = nullptr;
};

// A cube hull with its net, a section by a face, a cut by that face and a cut by the fixed planes.
CHullFigures AddHullFigures(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    CHullFigures f;
    const std::vector<double> cube = HxHullPresetPoints(6);
    f.hull = new CGPolyhedron;
    f.hull->m_id = page->m_nextId++;
    BuildConvexHull(cube.data(), int(cube.size() / 3), *f.hull);
    add(f.hull);
    f.net = add(new CGFold(page->m_nextId++, f.hull->m_id, u"展开图", 2, 1));
    WORD corners[3];
    for (int i = 0; i < 3; ++i) {
        corners[i] = page->m_nextId++;
        add(new CGVertex(corners[i], page->m_nextVertex++, page->MakeAutoLabel(1), float(i == 1),
                         float(i == 2), 1));
    }
    CGFace* face = add(new CGFace(page->m_nextId++, corners[0], corners[1], corners[2], RGB(1, 2, 3)));
    add(new CGSection(page->m_nextId++, f.hull->m_id, face->m_id));
    page->m_selFaces.AddTail(face->m_id);
    f.faceCut = add(new CGSplit(page->m_nextId++, f.hull->m_id, 3, 1, 2.0));
    page->m_selFaces.RemoveAll();
    f.fixedCut = add(new CGSplit(page->m_nextId++, f.hull->m_id, 3, 0, 2.0));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return f;
}

// The buttons the net and cut commands add: "折展" folding the net shut and open, "切割" applying
// every plane of each cut; with wild ranges the sweeps run past the ends the figures expect.
void AddHullButtons(CGPage* page, const CHullFigures& f, bool wild) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](WORD driven, const char16_t* caption, float min, float max, int mode, float pause) {
        auto* button =
            new CGButnAnimation(page->m_nextId++, caption, driven, min, max, mode, 0, 0.03f, pause);
        page->m_cells.SetAt(button->m_id, button);
    };
    add(f.net->m_id, u"折展", wild ? -5.0f : 1.0f, wild ? 40.0f : f.net->ClosedParameter(),
        CGButnAnimation::kBackAndForth, 1.0f);
    for (CGSplit* cut : {f.fixedCut, f.faceCut})
        add(cut->m_id, u"切割", wild ? 7.5f : 0.0f, wild ? -3.0f : cut->FullCutParameter(),
            CGButnAnimation::kForward, 0.0f);
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
}

// The buttons of a page: a sweep of a point on a line, a walk in a face, a move of a free point, a
// show/hide button, a series of the two animations with a counting loop, and links to the first page
// and to an address.  With `firstId` the buttons take ids from there on (above 10000 if asked).
struct CButtonFigures {
    CGButnAnimation* sweep = nullptr;
    CGButnAnimation* walk = nullptr;
    CGButnPresentat* series = nullptr;
    CGButnLink* link = nullptr;
};

CButtonFigures AddButtons(CGPage* page, WORD firstId) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    auto point = [&](float x, float y, float z) {
        return add(new CGVertex(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), x, y, z));
    };
    CGVertex* a = point(0, 0, 0);
    CGVertex* b = point(4, 0, 0);
    CGVertex* c = point(0, 4, 0);
    CGLine* ab = add(new CGLine(page->m_nextId++, a->m_id, b->m_id, 0));
    auto* onLine = add(
        new CGVerFreeInLine(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), ab->m_id, 0.5f));
    CGFace* face = add(new CGFace(page->m_nextId++, a->m_id, b->m_id, c->m_id, RGB(9, 9, 9)));
    auto* inFace = add(new CGVerFreeInFace(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1),
                                           face->m_id, 0.3f, 0.3f));
    auto* free =
        add(new CGVerFreeXyz(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 1, 1, 1));
    if (firstId > page->m_nextId)
        page->m_nextId = firstId;
    CButtonFigures f;
    f.sweep = add(new CGButnAnimation(page->m_nextId++, u"动画", onLine->m_id, 0, 1, 2, 1, 0.05f, 1.0f));
    f.walk = add(new CGButnAnimation(page->m_nextId++, u"动画", inFace->m_id, 0, 120, 0, 0, 0.02f, 0.0f));
    f.walk->m_kind = CGButnAnimation::kWalkInFace;
    add(new CGButnMove(page->m_nextId++, u"移动", free->m_id, c->m_id, 0.1f, CGButnMove::kInSpace));
    page->SelectCell(ab->m_id);
    page->SelectCell(face->m_id);
    add(new CGButnSHide(page->m_nextId++));
    page->ClearSelection();
    page->SelectCell(f.sweep->m_id);
    page->SelectCell(f.walk->m_id);
    f.series = add(new CGButnPresentat(page->m_nextId++, u"系列动作", 1, 0.5f));
    page->ClearSelection();
    f.series->m_extA1 = CGButnPresentat::kForLoop;
    f.series->m_counterNumber = 2;
    add(new CGButnLink(page->m_nextId++, u"首页", CGButnLink::kToPage, 1, u"第一页"));
    f.link =
        add(new CGButnLink(page->m_nextId++, u"网页", CGButnLink::kToTarget, 0, u"https://www.example.com/"));
    page->m_autoButton = f.sweep->m_id;
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return f;
}

// A one-page document with every button, damaged by `damage` before it is stored.
std::vector<BYTE> ButtonsDocument(WORD firstId, void (*damage)(CButtonFigures&)) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CButtonFigures figures = AddButtons(doc.GetPage(0), firstId);
    if (damage)
        damage(figures);
    return doc.StoreToBytes();
}

// The document with its first hull point count replaced.
std::vector<BYTE> WithPointCount(const std::vector<BYTE>& bytes, const CGPolyhedron& hull, int32_t count) {
    std::vector<BYTE> out = bytes;
    BYTE first[24];
    std::memcpy(first, &hull.m_points[0], sizeof first);
    auto at = std::search(out.begin(), out.end(), first, first + sizeof first);
    if (at - out.begin() >= 4)
        std::memcpy(&*(at - 4), &count, 4);
    return out;
}

// Parameters, distances and calculated values over them: two parents, a calculation over a
// calculation, eleven parents, a division by a zero distance, no parents, a text that does not
// compile.  Counters and the clock only ever enter a value times 0, so that a document stored again
// after loading holds the same values.  `damage` changes the calculations (in that order) before the document
// is stored.
std::vector<BYTE> CalculationsDocument(void (*damage)(std::vector<CGTmVarCalculator*>&)) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    std::vector<WORD> points;
    for (int i = 0; i < 4; ++i)
        points.push_back(add(new CGVertex(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1),
                                          float(i), float(i % 2), 0))
                             ->m_id);
    auto* ab = add(new CGTmVarDistancePP(page->m_nextId++, points[0], points[1]));
    ab->m_style = 1;
    ab->UpdateName();
    auto* zero = add(new CGTmVarDistancePP(page->m_nextId++, points[2], points[2]));
    std::vector<WORD> parameters;
    for (int i = 1; i <= 11; ++i) {
        CString name;
        name.Format(u"t%d", i);
        auto* t = add(new CGTmVarParameter(page->m_nextId++, name, 0.5f * float(i)));
        t->m_kind = BYTE(i % 2);
        t->m_extA1 = i == 3 ? 1 : 0;
        parameters.push_back(t->m_id);
    }
    auto calc = [&](std::initializer_list<WORD> parents, const char16_t* expression) {
        CList<WORD, WORD> list;
        for (WORD id : parents)
            list.AddTail(id);
        return add(new CGTmVarCalculator(page->m_nextId++, list, expression, u"<#><l></l></#>"));
    };
    std::vector<CGTmVarCalculator*> made;
    made.push_back(calc({ab->m_id, parameters[0]}, u"No1+No2*sin(No1)"));
    made.push_back(calc({made[0]->m_id}, u"No1^2/(1+No1)"));
    CList<WORD, WORD> eleven;
    for (WORD id : parameters)
        eleven.AddTail(id);
    made.push_back(add(new CGTmVarCalculator(page->m_nextId++, eleven, u"No11*No1-No10+sqrt(No2)+accum(1)*0",
                                             u"<#><l></l></#>")));
    made.push_back(calc({zero->m_id}, u"1/No1"));
    made.push_back(calc({}, u"2^10+round(time(5))*0"));
    made.push_back(calc({ab->m_id}, u"No1+"));
    made[1]->m_extA1 = 1;
    if (damage)
        damage(made);
    std::vector<BYTE> bytes = doc.StoreToBytes();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    return bytes;
}

// The measurements of a page, for damaging them before the document is stored.
struct CMeasureFigures {
    std::vector<CGTextmap*> items;
    CGTmVarParameter* parameter = nullptr;
    CGScaleline* scale = nullptr;
};

// Every measurement and vector class, a parameter with its slider and the plane axes' scale, on a
// figure of four points, two lines, a face and an arc (with a point on a line for its parameter).
CMeasureFigures AddMeasurements(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    CMeasureFigures f;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        if (auto* text = DYNAMIC_DOWNCAST(CGTextmap, static_cast<CGCell*>(cell)))
            f.items.push_back(text);
        return cell;
    };
    auto id = [&] { return page->m_nextId++; };
    WORD p[4];
    const float corners[4][3] = {{0, 0, 0}, {4, 0, 0}, {0, 3, 0}, {0, 0, 5}};
    for (int i = 0; i < 4; ++i)
        p[i] = add(new CGVertex(id(), page->m_nextVertex++, page->MakeAutoLabel(1), corners[i][0],
                                corners[i][1], corners[i][2]))
                   ->m_id;
    const WORD l1 = add(new CGLine(id(), p[0], p[1], 0))->m_id;
    const WORD l2 = add(new CGLine(id(), p[2], p[3], 2))->m_id;
    const WORD face = add(new CGFace(id(), p[0], p[1], p[2], RGB(90, 160, 220)))->m_id;
    const WORD arc = add(new CGArc(id(), 0, 0, 0, 2, 0, 0, 0, 2, 0, 0.0f, 2.0f, 1))->m_id;
    const WORD onLine =
        add(new CGVerFreeInLine(id(), page->m_nextVertex++, page->MakeAutoLabel(1), l1, 0.3f))->m_id;
    add(new CGTmVarCoordX(id(), p[1]));
    add(new CGTmVarCoordY(id(), p[2]));
    add(new CGTmVarCoordZ(id(), p[3]));
    add(new CGTmVarDistancePP(id(), p[0], p[1]))->m_style = 1;
    add(new CGTmVarDistancePL(id(), p[3], l1));
    add(new CGTmVarDistancePF(id(), p[3], face));
    add(new CGTmVarDistanceLL(id(), l1, l2));
    add(new CGTmVarAngleLL(id(), l1, l2))->m_extA1 = 2;
    add(new CGTmVarAngleLF(id(), l2, face))->m_extA1 = 2;
    add(new CGTmVarAngleFF(id(), face, face))->m_extA1 = 2;
    add(new CGTmVarAngleP3(id(), p[1], p[0], p[2]))->m_extA1 = 2;
    add(new CGTmVarArea(id(), face));
    add(new CGTmVarVolume(id(), p[0], p[1], p[2], p[3]));
    add(new CGTmVarRadius(id(), arc));
    add(new CGTmVarAreaCircle(id(), arc));
    add(new CGTmVarLenArc(id(), arc));
    add(new CGTmVarPara(id(), onLine));
    add(new CGTmVarParaPInL(id(), p[2], l1));
    add(new CGTmVarParaPInY(id(), p[1], arc));
    const WORD u = add(new CGTmVectorPP(id(), p[0], p[1]))->m_id;
    const WORD v = add(new CGTmVectorPP(id(), p[0], p[2]))->m_id;
    const WORD w = add(new CGTmVectorNface(id(), p[0], p[1], p[3]))->m_id;
    add(new CGTmVectorPoint(id(), p[3]))->m_extA1 = 1;
    add(new CGTmVectorAdd(id(), u, v));
    add(new CGTmVectorMinus(id(), u, v))->m_style = 1;
    add(new CGTmVectorCross(id(), u, v));
    f.parameter = add(new CGTmVarParameter(id(), u"k", 3.0f));
    f.parameter->m_kind = 1;
    f.parameter->m_param3 = 10.0f;
    add(new CGTmVectorScaled(id(), f.parameter->m_id, w));
    add(new CGTmVarVectorLength(id(), u));
    add(new CGTmVarVectorDot(id(), u, v));
    add(new CGTmVarVecProduct(id(), u, v, w));
    add(new CGTmVarVectorComponentX(id(), u));
    add(new CGTmVarVectorComponentY(id(), v));
    add(new CGTmVarVectorComponentZ(id(), w));
    // The solids of revolution and their surfaces and volumes.
    const WORD solids[4] = {add(new CGCylinder(id(), 0, 0, 0, 2, 3, 0, 0, 1))->m_id,
                            add(new CGCone(id(), 0, 0, 0, 2, 3, 0, 0, 1))->m_id,
                            add(new CGFrustum(id(), 0, 0, 0, 2, 3, 0, 0, 1, 0.5f))->m_id,
                            add(new CGSphere(id(), 0, 0, 0, 2, 0, 0, 1))->m_id};
    add(new CGTmVarAreaCylinder(id(), solids[0]));
    add(new CGTmVarAreaCone(id(), solids[1]));
    add(new CGTmVarAreaFrustum(id(), solids[2]));
    add(new CGTmVarAreaSphere(id(), solids[3]));
    add(new CGTmVarVolumeCylinder(id(), solids[0]));
    add(new CGTmVarVolumeCone(id(), solids[1]));
    add(new CGTmVarVolumeFrustum(id(), solids[2]));
    add(new CGTmVarVolumeSphere(id(), solids[3]));
    auto* text = new CGTmSingleline;
    text->m_id = id();
    text->m_text = u"单行文本";
    add(text);
    // The plane axes' scale on an origin and four axis ends.
    const WORD origin = add(new CGVertex(id(), page->m_nextVertex++, u"O", 0, 0, 0))->m_id;
    WORD ends[4];
    for (int i = 0; i < 4; ++i) {
        auto* end = add(new CGVerFreeParVector(id(), page->m_nextVertex++, u"E", i < 2 ? 1.0f : 0.0f,
                                               i < 2 ? 0.0f : 1.0f, 0.0f, origin));
        end->m_param1 = i % 2 == 0 ? -12.0f : 12.0f;
        end->Recompute();
        ends[i] = end->m_id;
    }
    f.scale = add(new CGScaleline(id(), origin, ends[0], ends[1], ends[2], ends[3], 0, 0, 0, 2.0f, 2.0f));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return f;
}

// A one-page document with the measurements, damaged by `damage` before it is stored.
std::vector<BYTE> MeasurementsDocument(const std::function<void(CMeasureFigures&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CMeasureFigures figures = AddMeasurements(doc.GetPage(0));
    if (damage)
        damage(figures);
    return doc.StoreToBytes();
}

// The bytes with the first archive string `text` (Unicode form) given another length prefix.
std::vector<BYTE> WithStringLength(std::vector<BYTE> bytes, const std::u16string& text, uint32_t length) {
    std::vector<BYTE> pattern = {0xFF, 0xFE, 0xFF, BYTE(text.size())};
    for (char16_t c : text) {
        pattern.push_back(BYTE(c & 0xFF));
        pattern.push_back(BYTE(c >> 8));
    }
    auto at = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    if (at == bytes.end())
        return bytes;
    // The long form: 0xFF, then 0xFFFF, then a 32-bit length.
    std::vector<BYTE> prefix = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int shift = 0; shift < 32; shift += 8)
        prefix.push_back(BYTE(length >> shift));
    const size_t offset = size_t(at - bytes.begin());
    bytes.erase(bytes.begin() + long(offset), bytes.begin() + long(offset) + 4);
    bytes.insert(bytes.begin() + long(offset), prefix.begin(), prefix.end());
    return bytes;
}

// Every solid of revolution, fixed and built on points, in every display style and with document
// and view textures; `damage` changes them before the document is stored.
struct CRevolutionFigures {
    std::vector<CGCell*> fixed;       // sphere, cylinder, cone, frustum
    std::vector<CGCell*> constructed; // the same built on points
    CGLine* line = nullptr;
};
std::vector<BYTE> RevolutionDocument(const std::function<void(CRevolutionFigures&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    auto point = [&](float x, float y, float z) {
        return add(new CGVertex(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), x, y, z))
            ->m_id;
    };
    const WORD o = point(0, 0, 0), r = point(3, 0, 0), v = point(0, 0, 5), t = point(0, 2, 5);
    CRevolutionFigures f;
    f.line = add(new CGLine(page->m_nextId++, o, v, 0));
    f.fixed = {add(new CGSphere(page->m_nextId++, 1, 2, 3, 2, 0, 0, -2)),
               add(new CGCylinder(page->m_nextId++, 0, 0, 0, 2, 4, 0, 1, 0)),
               add(new CGCone(page->m_nextId++, 5, 0, 0, 2, 4, 1, 0, 0)),
               add(new CGFrustum(page->m_nextId++, -5, 0, 0, 2, 4, 0, 0, 1, 1.0f))};
    f.constructed = {
        add(new CGSphereCN(page->m_nextId++, o, t)), add(new CGCylinderCPC(page->m_nextId++, o, r, v)),
        add(new CGConeCPV(page->m_nextId++, o, r, v)), add(new CGFrustumCP2(page->m_nextId++, o, r, v, t))};
    for (size_t i = 0; i < 4; ++i) {
        f.fixed[i]->m_style = BYTE(i);
        f.fixed[i]->m_param4 = int(i) + 1;
        f.constructed[i]->m_style = BYTE(3 - i);
        f.constructed[i]->m_param4 = int(i) * 4;
    }
    if (damage)
        damage(f);
    std::vector<BYTE> bytes = doc.StoreToBytes();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    return bytes;
}

// The figures of the construct commands, each on a page of its own and built by its command, with
// the fixed round figures, the crossings and division points of a circle and two segments; `damage`
// changes the first page's cells (by class name, in the order made) before the document is stored.
using CFiguresByClass = std::map<std::string, std::vector<CGCell*>>;
std::vector<BYTE> FiguresDocument(const std::function<void(CFiguresByClass&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    auto page = [&](int index) {
        CGPage* p = index < doc.GetPageCount() ? doc.GetPage(index) : doc.AppendPage(u"图");
        g_pCurPage = p;
        g_cellMap = &p->m_cells;
        return p;
    };
    // First page: a prism, a frustum of a pyramid, a tetrahedron, the sphere with its teaching figure
    // and the frame, all on top of each other.
    CGPage* first = page(0);
    doc.OnPrismPentagonRegular();
    doc.OnFrustumHexagonRegular();
    doc.OnTetrahedronRegular(0);
    doc.OnCreateBall();
    doc.OnCreateBase();
    page(1);
    doc.OnCuboid();
    doc.OnPyramid();
    doc.OnPyramidFrustum();
    CGPage* round = page(2);
    round->BuildStaticCylinder(0, 0, 0, 4, 6, 1, 1, 0);
    round->BuildStaticCone(8, 0, 0, 3, 5, 0, 0, -1);
    round->BuildStaticFrustum(-8, 0, 0, 3, 5, 0.5f, 0, 0, 0);
    round->BuildStaticSphere(0, 8, 0, 3, 0, 1, 1);
    round->BuildStaticCircle(0, -8, 0, 3, 1, 0, 0);
    // Crossings of two segments, a face and two circles; trisection and division points.
    auto point = [&](float x, float y, float z) {
        const WORD id = round->m_nextId++;
        round->m_cells.SetAt(id, new CGVertex(id, round->m_nextVertex++, round->MakeAutoLabel(1), x, y, z));
        return id;
    };
    auto select = [&](std::initializer_list<WORD> ids) {
        round->ClearSelection();
        for (WORD id : ids)
            round->SelectCell(id);
    };
    const WORD a = point(-5, -5, 1), b = point(5, 5, 1), c = point(5, -5, 1), d = point(-5, 5, 1);
    const WORD ab = round->m_nextId++;
    round->m_cells.SetAt(ab, new CGLine(ab, a, b, 0));
    const WORD cd = round->m_nextId++;
    round->m_cells.SetAt(cd, new CGLine(cd, c, d, 2));
    select({a, b, c});
    doc.OnCreateCircle3p();
    const WORD circle = WORD(round->m_nextId - 1);
    // A flat circle about C, in the plane of the first one.
    select({c});
    doc.OnCreateCirclePnz2();
    const WORD horizontal = WORD(round->m_nextId - 1);
    // A face tilted so that it cuts the flat circle and the segment.
    const WORD e = point(0, 0, -3);
    select({a, c, e});
    doc.OnCreateFace();
    const WORD face = WORD(round->m_nextId - 1);
    for (auto pair :
         {std::pair{ab, cd}, {ab, circle}, {circle, horizontal}, {horizontal, face}, {ab, face}}) {
        select({pair.first, pair.second});
        doc.OnPointIntersection();
    }
    select({ab, cd});
    doc.OnPointMiddle();
    doc.OnPointDiv3();
    select({a, d});
    doc.OnPointDiv3();

    CFiguresByClass cells;
    std::vector<WORD> ids = first->m_cells.Keys();
    std::sort(ids.begin(), ids.end());
    for (WORD id : ids) {
        CGCell* cell = first->FindCell(id);
        cells[cell->GetRuntimeClass()->m_lpszClassName].push_back(cell);
    }
    if (damage)
        damage(cells);
    std::vector<BYTE> bytes = doc.StoreToBytes();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    return bytes;
}

// A component of every kind, in a row, with the fields a document can hold: 3D text in its font, clip
// modes, an own material, textures (one a document texture), wire frames.
std::vector<CGSubassembly*> AddComponents(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    std::vector<CGSubassembly*> made;
    const double plane1[4] = {0.0, 0.0, 1.0, -0.25}, plane2[4] = {1.0, 0.0, 0.0, 0.0};
    for (int kind = 0; kind < kSubassemblyKindCount; ++kind) {
        auto* cell = new CGSubassembly(page->m_nextId++, BYTE(kind), BYTE(kind % 3 == 2), kind % 2, 0, 0,
                                       float(kind * 4 - 28), 0.0f, 0.0f, 0.0f, kind % 4 == 1 ? -1.0f : 0.0f,
                                       1.0f, float(kind * 10), 2.0f, 2.0f, 2.0f, kind % 4, plane1, plane2);
        if (kind == kSubassemblyText) {
            cell->m_name = u"Halvix立体";
            cell->m_text1 = u"楷体";
        }
        if (kind == kSubassemblyCube)
            cell->m_texture = 2;
        if (kind == kSubassemblySphere)
            cell->m_texture = 12;
        page->m_cells.SetAt(cell->m_id, cell);
        made.push_back(cell);
    }
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return made;
}

// The polygons of the polygon commands, built by their commands on a page of their own, and colour
// modifiers of every mode driven by parameters over the polygons' points, lines and faces; `damage`
// changes the modifiers before the document is stored.
std::vector<BYTE> ModifiersDocument(const std::function<void(std::vector<CGMdfColor*>&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    doc.OnTriangleEquilateral();
    doc.OnSquare();
    doc.OnRectangle();
    doc.OnPentagon();
    doc.OnHexagon();
    doc.OnTriangleIsosceles();
    doc.OnParallelogram();
    doc.OnPolygonInscribed();
    std::vector<WORD> values;
    for (int i = 0; i < 3; ++i) {
        auto* value = new CGTmVarParameter;
        value->m_id = page->m_nextId++;
        value->m_name = CString(char16_t(u'p' + i));
        value->m_param1 = 0.25f * float(i + 1);
        value->m_param2 = 0.0f;
        value->m_param3 = 1.0f;
        page->m_cells.SetAt(value->m_id, value);
        values.push_back(value->m_id);
    }
    std::vector<CGMdfColor*> modifiers;
    for (BYTE mode = CGMdfColor::kHue; mode <= CGMdfColor::kHsl; ++mode) {
        page->ClearSelection();
        for (int i = 0; i < (mode >= CGMdfColor::kRgb ? 3 : 1); ++i)
            page->SelectCell(values[size_t(i)]);
        // Targets of every kind the modifier takes: points, lines and faces of one polygon each.
        for (WORD id = WORD(1 + 9 * (mode - 1)); id < WORD(10 + 9 * (mode - 1)); ++id)
            page->SelectCell(id);
        auto* modifier = new CGMdfColor(page->m_nextId++, mode, 2.0f, mode, -1.0f);
        modifier->m_value1 = mode;
        page->m_cells.SetAt(modifier->m_id, modifier);
        modifiers.push_back(modifier);
    }
    page->ClearSelection();
    if (damage)
        damage(modifiers);
    std::vector<BYTE> bytes = doc.StoreToBytes();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    return bytes;
}

// 3DS models named by the paths their documents would hold, as written on Windows and here: found
// beside the document (whole, cut short, with a short main chunk, no model at all) or nowhere; a path
// too short to be read; buttons that turn two of them; `damage` changes the models before the
// document is stored.
std::vector<BYTE> ModelDocument(const std::function<void(std::vector<CGModel3ds*>&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    std::vector<CGModel3ds*> models;
    const char16_t* paths[] = {u"C:\\课件\\模型\\cube.3ds",
                               u"/home/老师/模型/cut.3ds",
                               u"D:\\past.3ds",
                               u"E:\\notes.3ds",
                               u"C:\\gone\\gone.3ds",
                               u"a.3d"};
    for (size_t i = 0; i < std::size(paths); ++i) {
        auto* model = new CGModel3ds;
        model->m_id = page->m_nextId++;
        model->m_path = paths[i];
        model->m_name = CGModel3ds::FileNameOf(model->m_path);
        model->m_style = BYTE(i % 2);
        model->m_center[0] = float(i) * 3.0f;
        model->m_scale = 0.5f;
        model->m_param1 = float(i) * 0.5f;
        page->m_cells.SetAt(model->m_id, model);
        models.push_back(model);
    }
    // The buttons that turn the first model (found) and the fifth (found nowhere), as the command
    // makes them.
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    for (size_t i : {size_t(0), size_t(4)}) {
        auto* button = new CGButnAnimation(page->m_nextId++, u"旋转模型", models[i]->m_id, 0.0f, 6.283f,
                                           CGButnAnimation::kForward, 0, 0.02f, 0.0f);
        page->m_cells.SetAt(button->m_id, button);
    }
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    if (damage)
        damage(models);
    return doc.StoreToBytes();
}

// Two ink cells: a red one of two strokes (3 and 2 points) moved by its offset, a blue one of one.
std::vector<BYTE> InkDocument() {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    const float p[] = {1.25f, 2.5f, -50.0f, 3.75f, -4.5f, -50.0f, 6.0f, 7.0f, -50.0f};
    auto* red = new CGInkmarks(page->m_nextId++, new CStroke(3, p));
    red->AddStroke(new CStroke(2, p + 3));
    red->m_labelPos[0] = 0.5f;
    red->m_labelPos[1] = -1.5f;
    page->m_cells.SetAt(red->m_id, red);
    auto* blue = new CGInkmarks(page->m_nextId++, new CStroke(2, p));
    blue->m_color = CRgba{0, 0, 255, 255};
    page->m_cells.SetAt(blue->m_id, blue);
    return doc.StoreToBytes();
}

// The bytes with the 32-bit value `from` that comes right before the float `next` replaced by `to`
// (at its first place).
std::vector<BYTE> WithCountBefore(std::vector<BYTE> bytes, int32_t from, float next, int32_t to) {
    BYTE pattern[8];
    std::memcpy(pattern, &from, 4);
    std::memcpy(pattern + 4, &next, 4);
    const auto at = std::search(bytes.begin(), bytes.end(), pattern, pattern + 8);
    if (at != bytes.end())
        std::memcpy(&*at, &to, 4);
    return bytes;
}

CRecord* PointTool() {
    auto* tool = new CRecord;
    tool->m_name = u"点";
    tool->m_recordedCells.AddTail(new CGVertex(0, 0, u"P", 0, 0, 0));
    tool->m_conditions.Add(new CCondition(0, u"点P", true));
    tool->Validate();
    return tool;
}

// A tool of two free points and the segment between them.
CRecord* SegmentTool() {
    auto* tool = new CRecord;
    tool->m_name = u"线段";
    tool->m_recordedCells.AddTail(new CGVertex(0, 0, u"A", 0, 0, 0));
    tool->m_recordedCells.AddTail(new CGVertex(1, 0, u"B", 1, 0, 0));
    auto* line = new CGLine;
    line->m_id = 2;
    line->m_parents.Add(0);
    line->m_parents.Add(1);
    tool->m_recordedCells.AddTail(line);
    tool->m_conditions.Add(new CCondition(0, u"点A", true));
    tool->m_conditions.Add(new CCondition(1, u"点B", true));
    tool->Validate();
    return tool;
}

// Iterations and traces: the triangle of midpoints iterated by one and by two mappings (one of them
// with a measured value in its table, one with its depth from a parameter), a point on a circle
// traced, and a parameter traced between two values.
struct CFigureRuns {
    CGIterate* nested = nullptr;
    CGIterate* tree = nullptr;
    CGIterate* byValue = nullptr;
    CGTmVarParameter* depth = nullptr;
    CGTrack* onCircle = nullptr;
    CGTrack* ofParameter = nullptr;
};

CFigureRuns AddFigureRuns(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    auto id = [&] { return page->m_nextId++; };
    auto point = [&](float x, float y) {
        return add(new CGVertex(id(), page->m_nextVertex++, page->MakeAutoLabel(1), x, y, 0))->m_id;
    };
    CFigureRuns f;
    f.depth = add(new CGTmVarParameter(id(), CString(u"n"), 3.0f));
    const WORD a = point(-3, -3), b = point(3, -3), c = point(-3, 3);
    const WORD ab = add(new CGLine(id(), a, b, 0))->m_id;
    const WORD bc = add(new CGLine(id(), b, c, 0))->m_id;
    const WORD ca = add(new CGLine(id(), c, a, 0))->m_id;
    auto mid = [&](WORD line) {
        return add(new CGVerMid(id(), page->m_nextVertex++, page->MakeAutoLabel(1), line))->m_id;
    };
    const WORD d = mid(ab), e = mid(bc), fm = mid(ca);
    add(new CGTmVarCoordX(id(), d));
    f.nested = add(new CGIterate(id(), 3, 3, 5, {{a, b, c}, {d, e, fm}}));
    f.tree = add(new CGIterate(id(), 3, 3, 3, {{a, b, c}, {a, d, fm}, {d, b, e}}));
    f.tree->m_style = CGIterate::kDepthColors;
    f.byValue = add(new CGIterate(id(), 3, 3, 2, {{a, b, c}, {e, fm, d}}));
    f.byValue->FollowDepthValue(f.depth->m_id);
    const WORD circle = add(new CGArc(id(), 0, 0, 0, 2, 0, 0, 0, 2, 0, 0.0f, 6.2831855f, 0))->m_id;
    const WORD on =
        add(new CGVerFreeInCircle(id(), page->m_nextVertex++, page->MakeAutoLabel(1), circle, 1.0f))->m_id;
    const WORD seg = add(new CGLine(id(), on, a, 0))->m_id;
    const WORD half = add(new CGVerMid(id(), page->m_nextVertex++, page->MakeAutoLabel(1), seg))->m_id;
    f.onCircle = add(new CGTrack(id(), {on, seg, half}, {1, 1, 1}, 0, 0.0f, 6.2831855f, 0.2f, 1, 1));
    const WORD lo = add(new CGTmVarParameter(id(), CString(u"lo"), 0.5f))->m_id;
    const WORD hi = add(new CGTmVarParameter(id(), CString(u"hi"), 2.5f))->m_id;
    CList<WORD, WORD> source;
    source.AddTail(f.depth->m_id);
    const WORD follower = add(new CGVerCoordinates(id(), page->m_nextVertex++, page->MakeAutoLabel(1), source,
                                                   1, 0, 0, 0, 1, 0))
                              ->m_id;
    f.ofParameter =
        add(new CGTrack(id(), {f.depth->m_id, lo, hi, follower}, {0, 0, 0, 1}, 1, 0.0f, 4.0f, 0.25f, 2, 0));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
    return f;
}

std::vector<BYTE> FigureRunsDocument(const std::function<void(CFigureRuns&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CFigureRuns f = AddFigureRuns(doc.GetPage(0));
    if (damage)
        damage(f);
    return doc.StoreToBytes();
}

std::vector<BYTE> Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Data();
}

// Tools made from constructions on a page as the new-tool command makes them: the midpoint of two
// free points, the foot of a point on the line through two others, the circle through three points
// and the sum of two parameters.
void AddMadeTools(CRecordList& list) {
    CGPage page;
    CGPage* saved = g_pCurPage;
    g_pCurPage = &page;
    g_cellMap = &page.m_cells;
    auto add = [&](auto* cell) {
        page.m_cells.SetAt(cell->m_id, cell);
        return cell->m_id;
    };
    auto id = [&] { return page.m_nextId++; };
    auto free = [&](float x, float y, float z) {
        return add(new CGVerFreeXyz(id(), page.m_nextVertex++, page.MakeAutoLabel(1), x, y, z));
    };
    auto make = [&](std::initializer_list<WORD> selection) {
        page.ClearSelection();
        for (WORD cell : selection) {
            page.FindCell(cell)->m_selected = true;
            page.SelectCell(cell);
        }
        if (CRecord* tool = page.CreateTool())
            list.AddTail(tool);
    };
    const WORD a = free(0, 0, 0), b = free(4, 0, 0);
    const WORD ab = add(new CGLine(id(), a, b, 0));
    make({a, b, ab, add(new CGVerMid(id(), page.m_nextVertex++, u"M", ab))});
    const WORD p = free(1, 3, 0);
    make({p, a, b, add(new CGVerFootpl(id(), page.m_nextVertex++, u"F", p, a, b))});
    make({a, b, p, add(new CGArcCircle3P(id(), a, b, p, 0))});
    const WORD x = add(new CGTmVarParameter(id(), u"x", 1.0f)),
               y = add(new CGTmVarParameter(id(), u"y", 2.0f));
    CList<WORD, WORD> parents;
    parents.AddTail(x);
    parents.AddTail(y);
    make({x, y, add(new CGTmVarCalculator(id(), parents, u"No1+No2", CString()))});
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
}

void WriteToolSets(const std::string& dir) {
    CRecordList list;
    Write(dir + "/empty.hvx", Store([&](CArchive& ar) { list.Serialize(ar); }));
    list.AddTail(PointTool());
    list.AddTail(SegmentTool());
    Write(dir + "/two.hvx", Store([&](CArchive& ar) { list.Serialize(ar); }));
    HxDeleteRecords(list);
    AddMadeTools(list);
    Write(dir + "/made.hvx", Store([&](CArchive& ar) { list.Serialize(ar); }));
    HxDeleteRecords(list);
}

void WriteClipboardBlocks(const std::string& dir, CGPage* page) {
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    page->SelectAllOfKind(0);
    Write(dir + "/cells.bin", Store([&](CArchive& ar) { page->WriteClipboardBlock(ar); }));
    page->m_pageSelected = 1;
    Write(dir + "/page.bin", Store([&](CArchive& ar) { page->WriteClipboardBlock(ar); }));
    page->m_pageSelected = 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string kind = argc == 3 ? argv[1] : "";
    if (argc < 2 || (argc == 3 && kind != "--paste" && kind != "--toolset")) {
        std::fprintf(stderr, "usage: %s [--paste | --toolset] DIR\n", argv[0]);
        return 1;
    }
    const std::string dir = argv[argc - 1];
    if (kind == "--toolset") {
        WriteToolSets(dir);
        return 0;
    }
    // Formula texts render their pictures with the application's fonts; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    HxSetScreenSizeOverride(1920, 1080);
    CHalvixDoc doc;
    doc.OnNewDocument();
    if (kind == "--paste") {
        CGPage* page = doc.GetPage(0);
        AddFigure(page, 4);
        AddConstructions(page);
        WriteClipboardBlocks(dir, page);
        return 0;
    }
    Write(dir + "/new.hvx", doc.StoreToBytes());
    for (const auto& [name, bytes] : HxTextItemSeedDocuments())
        Write(dir + "/" + name, bytes);

    AddFigure(doc.GetPage(0), 4);
    CGPage* second = doc.AppendPage(u"第二页");
    AddFigure(second, 3);
    CGPage* third = doc.AppendPage(u"第三页");
    AddFigure(third, 4);
    AddConstructions(third);
    doc.m_tools.AddTail(PointTool());
    Write(dir + "/pages.hvx", doc.StoreToBytes());
    {
        CGfFormatScope layout;
        Write(dir + "/pages.gf", doc.StoreToBytes());
    }
    doc.m_formatVersion = 310;
    Write(dir + "/old.hvx", doc.StoreToBytes());

    // The points on objects, and their records damaged: a border count that is not the parents',
    // a parent too many, a division ratio that is no number, a file cut short.
    Write(dir + "/objects.hvx", PointsOnObjectsDocument(nullptr));
    Write(dir + "/objects-border-count.hvx", PointsOnObjectsDocument([](std::vector<CGVertex*>& cells) {
              static_cast<CGVerInBorderFt*>(cells[8])->m_count = 9;
          }));
    Write(dir + "/objects-extra-parent.hvx",
          PointsOnObjectsDocument([](std::vector<CGVertex*>& cells) { cells[9]->m_parents.Add(2); }));
    Write(dir + "/objects-nan-ratio.hvx", PointsOnObjectsDocument([](std::vector<CGVertex*>& cells) {
              static_cast<CGVerInCircleScale*>(cells[3])->m_ratio = std::nanf("");
          }));
    std::vector<BYTE> cut = PointsOnObjectsDocument(nullptr);
    cut.resize(cut.size() * 3 / 4);
    Write(dir + "/objects-cut.hvx", cut);
    doc.m_formatVersion = CHalvixDoc::kCurrentVersion;

    // Every button, and their records damaged: a series member index past its members, ids above
    // 10000, a series without members and with a counter that is none, sweeps and loops in states and
    // kinds no command makes, a file cut short.
    Write(dir + "/buttons.hvx", ButtonsDocument(0, nullptr));
    Write(dir + "/buttons-member-index.hvx",
          ButtonsDocument(0, [](CButtonFigures& f) { f.series->m_param4 = 9; }));
    Write(dir + "/buttons-high-ids.hvx", ButtonsDocument(10500, nullptr));
    Write(dir + "/buttons-empty-series.hvx", ButtonsDocument(0, [](CButtonFigures& f) {
              f.series->m_parents.RemoveAll();
              f.series->m_counterNumber = 9;
              f.series->m_param4 = -4;
          }));
    Write(dir + "/buttons-odd-states.hvx", ButtonsDocument(0, [](CButtonFigures& f) {
              f.sweep->m_state = 77;
              f.sweep->m_mode = -3;
              f.walk->m_kind = 9;
              f.series->m_extA1 = 12;
              f.link->m_kind = 200;
          }));
    std::vector<BYTE> shortButtons = ButtonsDocument(0, nullptr);
    shortButtons.resize(shortButtons.size() * 2 / 3);
    Write(dir + "/buttons-cut.hvx", shortButtons);
    // Calculated values, and their records damaged: variables beyond the parents, a text past the
    // checked length, deep brackets, characters outside the language, values that are no numbers, a
    // file cut short.
    Write(dir + "/calcs.hvx", CalculationsDocument(nullptr));
    Write(dir + "/calcs-missing-variable.hvx", CalculationsDocument([](std::vector<CGTmVarCalculator*>& c) {
              c[0]->m_expression = u"No1+No7*no3";
          }));
    Write(dir + "/calcs-long-texts.hvx", CalculationsDocument([](std::vector<CGTmVarCalculator*>& c) {
              CString deep;
              for (int i = 0; i < 1500; ++i)
                  deep += u"-(";
              deep += u"No1" + CString(u')', 1500);
              c[1]->m_expression = deep;
              CString wide = u"No1";
              while (wide.GetLength() < 4100)
                  wide += u"+No1";
              c[2]->m_expression = wide;
          }));
    Write(dir + "/calcs-odd-texts.hvx", CalculationsDocument([](std::vector<CGTmVarCalculator*>& c) {
              c[0]->m_expression = CString(u"No1\0+\u00E9No2", 9);
              c[3]->m_expression = u"get(1e400)+time(0/0)*0+accum(-99999999999)*0";
              c[4]->m_expression = u"";
          }));
    Write(dir + "/calcs-nan-values.hvx", CalculationsDocument([](std::vector<CGTmVarCalculator*>& c) {
              for (CGTmVarCalculator* calc : c) {
                  calc->m_param1 = std::nanf("");
                  calc->m_param4 = -5;
                  calc->m_extA1 = 77;
              }
          }));
    std::vector<BYTE> calcCut = CalculationsDocument(nullptr);
    calcCut.resize(calcCut.size() * 2 / 3);
    Write(dir + "/calcs-cut.hvx", calcCut);

    CHullFigures figures = AddHullFigures(doc.AppendPage(u"第四页"));
    const std::vector<BYTE> hulls = doc.StoreToBytes();
    Write(dir + "/hulls.hvx", hulls);
    Write(dir + "/hulls-negative-count.hvx", WithPointCount(hulls, *figures.hull, -1));
    Write(dir + "/hulls-huge-count.hvx", WithPointCount(hulls, *figures.hull, 0x7FFFFFFF));
    CGPolyhedron& hull = *figures.hull;
    hull.m_edges.push_back(PolyEdge{0, 999});
    Write(dir + "/hulls-bad-edge.hvx", doc.StoreToBytes());
    hull.m_edges.pop_back();
    const std::vector<int32_t> loop = hull.m_faces[0].loop;
    hull.m_faces[0].loop[1] = -3;
    Write(dir + "/hulls-bad-corner.hvx", doc.StoreToBytes());
    hull.m_faces[0].loop.resize(2);
    Write(dir + "/hulls-short-loop.hvx", doc.StoreToBytes());
    hull.m_faces[0].loop = loop;
    figures.fixedCut->m_planeCount = 50;
    figures.faceCut->m_planeCount = 9;
    Write(dir + "/hulls-plane-counts.hvx", doc.StoreToBytes());
    figures.fixedCut->m_planeCount = 3;
    figures.faceCut->m_planeCount = 1;
    {
        // The hull page again with the buttons of the net and the cuts, once as the commands make
        // them and once with ranges past the figures' ends.
        CHalvixDoc withButtons;
        withButtons.OnNewDocument();
        CHullFigures made = AddHullFigures(withButtons.GetPage(0));
        AddHullButtons(withButtons.GetPage(0), made, false);
        Write(dir + "/hulls-buttons.hvx", withButtons.StoreToBytes());
        AddHullButtons(withButtons.GetPage(0), made, true);
        Write(dir + "/hulls-buttons-wild.hvx", withButtons.StoreToBytes());
    }

    // Every measurement, and damaged variants: spacings of the scale that would never end or are no
    // number, a slider without a range, texts that are cut or claim more than the file holds,

    // Loci and curves, and their records damaged: steps of nothing and below, ranges that ask for
    // billions of samples, texts that do not compile or are no numbers, a locus whose driver is no
    // point, crossing indices past the cap, a file cut short.
    Write(dir + "/loci.hvx", LociDocument(nullptr));
    Write(dir + "/loci-step-zero.hvx", LociDocument([](CLociFigures& f) {
              f.locus->m_step = 0.0f;
              f.second->m_step = -1.0f;
              f.curve->m_step = 0.0f;
              f.flat->m_step = -0.5f;
          }));
    Write(dir + "/loci-huge-ranges.hvx", LociDocument([](CLociFigures& f) {
              f.locus->m_t1 = 1e9f;
              f.second->m_t0 = -INFINITY;
              f.second->m_step = 1e-30f;
              CString texts[CGCurve::kExpressionCount] = {u"t", u"t", u"t", u"0", u"10^9"};
              f.curve->SetExpressions(texts);
              f.flat->m_step = 1e-9f;
          }));
    Write(dir + "/loci-broken-texts.hvx", LociDocument([](CLociFigures& f) {
              CString texts[CGCurve::kExpressionCount] = {u"sin(", u"No7", u"1/0", u"pi*", u"ln(0-1)"};
              f.curve->SetExpressions(texts);
              CString empty[CGCurve::kExpressionCount];
              f.flat->SetExpressions(empty);
              f.flat->SetCoordinateKind(9);
              f.flat->SetBreakDistance(std::nanf(""));
          }));
    Write(dir + "/loci-no-numbers.hvx", LociDocument([](CLociFigures& f) {
              f.locus->m_t0 = std::nanf("");
              f.second->m_step = std::nanf("");
              f.locus->SetBreakDistance(-1.0f);
              f.curve->m_step = INFINITY;
              for (CGVertex* p : f.points)
                  p->m_param1 = std::nanf("");
          }));
    Write(dir + "/loci-parents.hvx", LociDocument([](CLociFigures& f) {
              f.locus->m_parents[0] = 5; // a line drives it
              f.second->m_parents.RemoveAt(f.second->m_parents.GetSize() - 1);
              f.curve->m_parents.Add(3); // a point as a value
              for (CGVertex* p : f.points)
                  if (p->m_parents.GetSize() > 1)
                      std::swap(p->m_parents[0], p->m_parents[1]);
          }));
    Write(dir + "/loci-indices.hvx", LociDocument([](CLociFigures& f) {
              for (CGVertex* p : f.points)
                  p->m_kind = 255;
          }));
    std::vector<BYTE> lociCut = LociDocument(nullptr);
    lociCut.resize(lociCut.size() * 2 / 3);
    Write(dir + "/loci-cut.hvx", lociCut);
    // parents of the wrong class, numbers that are no numbers.
    Write(dir + "/measurements.hvx", MeasurementsDocument(nullptr));
    Write(dir + "/measurements-spacing-zero.hvx", MeasurementsDocument([](CMeasureFigures& f) {
              f.scale->m_autoSpacing = 0;
              f.scale->m_tickSpacing = 0.0f;
              f.scale->m_valueSpacing = -1.0f;
          }));
    Write(dir + "/measurements-spacing-tiny.hvx", MeasurementsDocument([](CMeasureFigures& f) {
              f.scale->m_autoSpacing = 0;
              f.scale->m_tickSpacing = 1e-30f;
              f.scale->m_valueSpacing = std::nanf("");
              f.scale->m_kind = 1;
          }));
    Write(dir + "/measurements-slider.hvx", MeasurementsDocument([](CMeasureFigures& f) {
              f.parameter->m_param2 = std::nanf("");
              f.parameter->m_param3 = -1e38f;
              f.parameter->m_extA1 = 1;
              f.parameter->m_extA3 = std::numeric_limits<float>::infinity();
          }));
    Write(dir + "/measurements-numbers.hvx", MeasurementsDocument([](CMeasureFigures& f) {
              for (CGTextmap* item : f.items) {
                  item->m_param1 = std::nanf("");
                  item->m_size = -1e30f;
                  item->m_extA2 = 0x7FFFFFFF;
              }
          }));
    Write(dir + "/measurements-parents.hvx", MeasurementsDocument([](CMeasureFigures& f) {
              // Each item's parents shifted onto other cells (lower ids, so the page still loads).
              for (CGTextmap* item : f.items)
                  for (int i = 0; i < item->m_parents.GetSize(); ++i)
                      item->m_parents[i] = WORD(1 + (item->m_parents[i] + 3) % 9);
          }));
    Write(dir + "/measurements-long-text.hvx", MeasurementsDocument([](CMeasureFigures& f) {
              f.items[3]->m_text = CString(u'9', 3000);
              f.items[4]->m_text3 = CString(u"<_><e>d</e><e>") + CString(u'x', 500) + u"</e></_>";
              f.items[5]->m_text3 = u"<_><e><e><e>";
          }));
    const std::vector<BYTE> measured =
        MeasurementsDocument([](CMeasureFigures& f) { f.items[0]->m_text = u"?X?"; });
    Write(dir + "/measurements-string-huge.hvx", WithStringLength(measured, u"?X?", 0x7FFFFFF0u));
    Write(dir + "/measurements-string-odd.hvx", WithStringLength(measured, u"?X?", 5));
    std::vector<BYTE> cutMeasured = MeasurementsDocument(nullptr);
    cutMeasured.resize(cutMeasured.size() * 2 / 3);
    Write(dir + "/measurements-cut.hvx", cutMeasured);

    // The solids of revolution, and their records damaged: numbers that are none, texture numbers
    // outside the table, a constructed solid on a line, one parent too few, one too many, a file
    // cut short in the middle of the solids.
    Write(dir + "/solids.hvx", RevolutionDocument(nullptr));
    Write(dir + "/solids-no-numbers.hvx", RevolutionDocument([](CRevolutionFigures& f) {
              auto* sphere = static_cast<CGSphere*>(f.fixed[0]);
              sphere->m_radius = std::nanf("");
              sphere->m_axis[0] = INFINITY;
              auto* frustum = static_cast<CGFrustum*>(f.fixed[3]);
              frustum->m_topRatio = -INFINITY;
              frustum->m_height = std::nanf("");
              static_cast<CGCone*>(f.fixed[2])->m_radius = 1e38f;
          }));
    Write(dir + "/solids-textures.hvx", RevolutionDocument([](CRevolutionFigures& f) {
              f.fixed[0]->m_param4 = 99;
              f.fixed[1]->m_param4 = -7;
              f.fixed[2]->m_param4 = 16;
              f.constructed[0]->m_param4 = 0x7FFFFFFF;
          }));
    Write(dir + "/solids-on-a-line.hvx", RevolutionDocument([](CRevolutionFigures& f) {
              f.constructed[1]->m_parents[2] = f.line->m_id;
              f.constructed[0]->m_parents[0] = f.line->m_id;
          }));
    Write(dir + "/solids-parent-counts.hvx", RevolutionDocument([](CRevolutionFigures& f) {
              f.constructed[3]->m_parents.RemoveAt(3);
              f.constructed[2]->m_parents.Add(f.constructed[2]->m_parents[0]);
              f.constructed[0]->m_parents.RemoveAll();
          }));
    std::vector<BYTE> solidsCut = RevolutionDocument(nullptr);
    solidsCut.resize(solidsCut.size() * 2 / 3);
    Write(dir + "/solids-cut.hvx", solidsCut);

    // Iterations and traces, and their records damaged: ids that name no cell (or a value where a
    // point must be), depths far beyond the figure's limit, id sets shorter than the item count,
    // traces whose step is zero, far too small or no number, a range that is none, a traced index
    // past the parents, a dynamic range without its values, a file cut short.
    Write(dir + "/iterations.hvx", FigureRunsDocument(nullptr));
    Write(dir + "/iterations-unresolved.hvx", FigureRunsDocument([](CFigureRuns& f) {
              f.nested->m_idSets[1][1] = 999;
              f.tree->m_chain[0] = 0;
              f.tree->m_values.push_back(4000);
              f.byValue->m_idSets[0][0] = f.depth->m_id;
          }));
    Write(dir + "/iterations-deep.hvx", FigureRunsDocument([](CFigureRuns& f) {
              f.nested->m_depth = 5000;
              f.tree->m_depth = 1000;
              f.depth->m_param1 = 1e9f;
          }));
    Write(dir + "/iterations-short-sets.hvx", FigureRunsDocument([](CFigureRuns& f) {
              f.nested->m_itemCount = 6;
              f.tree->m_branchCount = 7;
              f.byValue->m_pointCount = 0;
          }));
    Write(dir + "/iterations-points-beyond-items.hvx",
          FigureRunsDocument([](CFigureRuns& f) { f.nested->m_pointCount = 9; }));
    Write(dir + "/iterations-step-zero.hvx", FigureRunsDocument([](CFigureRuns& f) {
              f.onCircle->m_step = 0.0f;
              f.ofParameter->m_step = -1.0f;
          }));
    Write(dir + "/iterations-step-tiny.hvx", FigureRunsDocument([](CFigureRuns& f) {
              f.onCircle->m_step = 1e-9f;
              f.ofParameter->m_step = std::nanf("");
              f.ofParameter->m_tMax = INFINITY;
          }));
    Write(dir + "/iterations-traced-index.hvx",
          FigureRunsDocument([](CFigureRuns& f) { f.onCircle->m_traced.push_back(40); }));
    Write(dir + "/iterations-dynamic-alone.hvx", FigureRunsDocument([](CFigureRuns& f) {
              f.onCircle->m_dynamicRange = 1;
              f.onCircle->m_parents.SetSize(1);
              f.onCircle->m_traced.assign(1, 0);
          }));
    std::vector<BYTE> runsCut = FigureRunsDocument(nullptr);
    runsCut.resize(runsCut.size() * 2 / 3);
    Write(dir + "/iterations-cut.hvx", runsCut);

    // Components of every kind alone in a document, then their records damaged: a kind past the
    // last, clip modes that name no planes, a centre and a plane that are no numbers, a file cut
    // short in the middle of the components.
    CHalvixDoc components;
    components.OnNewDocument();
    std::vector<CGSubassembly*> made = AddComponents(components.GetPage(0));
    const std::vector<BYTE> whole = components.StoreToBytes();
    Write(dir + "/components.hvx", whole);
    auto damaged = [&](const char* name, const std::function<void()>& damage,
                       const std::function<void()>& undo) {
        damage();
        Write(dir + "/components-" + name + ".hvx", components.StoreToBytes());
        undo();
    };
    damaged(
        "kind", [&] { made[5]->m_kind = 15; }, [&] { made[5]->m_kind = 5; });
    damaged(
        "clip-mode", [&] { made[7]->m_clipMode = 7; }, [&] { made[7]->m_clipMode = 3; });
    damaged(
        "negative-clip", [&] { made[2]->m_clipMode = -1; }, [&] { made[2]->m_clipMode = 2; });
    damaged(
        "nan-centre", [&] { made[9]->m_center[2] = std::nanf(""); }, [&] { made[9]->m_center[2] = 0.0f; });
    damaged(
        "nan-plane", [&] { made[11]->m_plane2[1] = std::nan(""); }, [&] { made[11]->m_plane2[1] = 0.0; });
    std::vector<BYTE> shortened = whole;
    shortened.resize(shortened.size() / 2);
    Write(dir + "/components-cut.hvx", shortened);

    // The figures of the construct commands, and their records damaged: numbers that are none,
    // parents of the wrong kind (a face on a line, a point turned about a point instead of a
    // segment, a circle square to a line, a point on a face as on a line), a scaled point short of
    // a parent, a file cut short among the figures.
    Write(dir + "/figures.hvx", FiguresDocument(nullptr));
    Write(dir + "/figures-no-numbers.hvx", FiguresDocument([](CFiguresByClass& f) {
              static_cast<CGVertex*>(f["CGVerFreeXyz"][0])->m_x = std::nanf("");
              static_cast<CGVerScale*>(f["CGVerScale"][0])->m_ratio = INFINITY;
              static_cast<CGVerRotateX*>(f["CGVerRotateX"][0])->m_angle = std::nanf("");
              static_cast<CGArc*>(f["CGArcCenterP"][0])->m_endAngle = 1e30f;
              f["CGVerFreeParVector"][0]->m_param1 = -INFINITY;
          }));
    Write(dir + "/figures-parents.hvx", FiguresDocument([](CFiguresByClass& f) {
              CGCell* line = f["CGLine"][0];
              f["CGFace"][0]->m_parents[1] = line->m_id;
              f["CGVerRotateX"][0]->m_parents[1] = f["CGVerFreeXyz"][0]->m_id;
              f["CGArcPointN"][0]->m_parents[2] = line->m_id;
              f["CGVerFreeInLine"][0]->m_parents[0] = f["CGFace"][1]->m_id;
          }));
    Write(dir + "/figures-parent-count.hvx",
          FiguresDocument([](CFiguresByClass& f) { f["CGVerScaleP"][0]->m_parents.RemoveAt(4); }));
    std::vector<BYTE> figuresCut = FiguresDocument(nullptr);
    figuresCut.resize(figuresCut.size() * 3 / 5);
    Write(dir + "/figures-cut.hvx", figuresCut);
    // Polygons and colour modifiers, and the modifiers' records damaged: modes none of the four,
    // ranges that are no numbers or empty, parents that are gone or no values, a file cut short.
    Write(dir + "/modifiers.hvx", ModifiersDocument(nullptr));
    Write(dir + "/modifiers-modes.hvx", ModifiersDocument([](std::vector<CGMdfColor*>& m) {
              m[0]->m_kind = 0;
              m[1]->m_kind = 5;
              m[2]->m_kind = 255;
          }));
    Write(dir + "/modifiers-ranges.hvx", ModifiersDocument([](std::vector<CGMdfColor*>& m) {
              m[0]->m_rangeStart = std::nanf("");
              m[1]->m_rangeEnd = INFINITY;
              m[2]->m_rangeStart = m[2]->m_rangeEnd = 1.0f;
              m[3]->m_rangeEnd = -1e30f;
          }));
    Write(dir + "/modifiers-parents.hvx", ModifiersDocument([](std::vector<CGMdfColor*>& m) {
              m[0]->m_parents.RemoveAll();
              m[2]->m_parents.SetSize(2);
              m[1]->m_parents[0] = m[3]->m_id;
              m[3]->m_parents[0] = 1; // a point, not a value
          }));
    std::vector<BYTE> modifiersCut = ModifiersDocument(nullptr);
    modifiersCut.resize(modifiersCut.size() - 9);
    Write(dir + "/modifiers-cut.hvx", modifiersCut);
    // 3DS models (the document fuzzer keeps their files beside the documents it reads), and their
    // records damaged: numbers that are none, paths empty or very long, a file cut short.
    Write(dir + "/models.hvx", ModelDocument(nullptr));
    Write(dir + "/models-no-numbers.hvx", ModelDocument([](std::vector<CGModel3ds*>& m) {
              m[0]->m_scale = std::nanf("");
              m[1]->m_center[2] = INFINITY;
              m[2]->m_param1 = -INFINITY;
              m[3]->m_scale = 0.0f;
          }));
    Write(dir + "/models-paths.hvx", ModelDocument([](std::vector<CGModel3ds*>& m) {
              m[0]->m_path.Empty();
              m[1]->m_path = CString(u'/', 20000) + u"cube.3ds";
              m[2]->m_path = u"\\\\\\\\";
          }));
    std::vector<BYTE> modelsCut = ModelDocument(nullptr);
    modelsCut.resize(modelsCut.size() * 2 / 3);
    Write(dir + "/models-cut.hvx", modelsCut);

    // Surfaces and view buttons, and their records damaged.
    WriteSurfaceSeeds([&](const std::string& name, const std::vector<BYTE>& bytes) {
        Write(dir + "/" + name + ".hvx", bytes);
    });
    // Ink marks, and their records lying about their counts: points beyond the bytes, a negative
    // point count, a huge one, more strokes than bytes; a file cut short among the strokes.
    const std::vector<BYTE> ink = InkDocument();
    Write(dir + "/ink.hvx", ink);
    Write(dir + "/ink-point-count.hvx", WithCountBefore(ink, 3, 1.25f, 40));
    Write(dir + "/ink-negative-count.hvx", WithCountBefore(ink, 2, 3.75f, -7));
    Write(dir + "/ink-huge-count.hvx", WithCountBefore(ink, 2, 3.75f, 0x7FFFFFFF));
    std::vector<BYTE> inkStrokes = ink;
    const std::string strokeClass = "CStroke";
    const auto cls =
        std::search(inkStrokes.begin(), inkStrokes.end(), strokeClass.begin(), strokeClass.end());
    if (cls - inkStrokes.begin() >= 8)
        *(cls - 8) = 0xF0; // the stroke array's count (a WORD before the class tag): 2 becomes 240
    Write(dir + "/ink-stroke-count.hvx", inkStrokes);
    std::vector<BYTE> inkCut = ink;
    inkCut.resize(inkCut.size() - 30);
    Write(dir + "/ink-cut.hvx", inkCut);
    return 0;
}
