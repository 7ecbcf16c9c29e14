// The Measure menu: each command turns the current page's selection into measurements (or vector
// items) as one undo step, placed at the page's next text position; one update handler enables
// each command by its rule on the selection counts.  Every handler tests the classes of the cells
// it uses again and makes nothing when they do not fit, however it was reached.
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "measure/measure_ids.h"
#include "measure/measurements.h"
#include "measure/vector_items.h"
#include "model/arc.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "solids/revolution.h"

namespace {

struct CCounts {
    int points = 0, lines = 0, faces = 0, curves = 0, solids = 0, all = 0;
};

CCounts Counts(const CGPage& page) {
    return {page.m_selPoints.GetCount(), page.m_selLines.GetCount(),  page.m_selFaces.GetCount(),
            page.m_selCurves.GetCount(), page.m_selSolids.GetCount(), page.m_selAll.GetCount()};
}

// A free point that moves along a one-dimensional carrier (a line, a circle, a curve, a turn about
// an axis): what an animation can drive through its path parameter.
bool IsPathPoint(const CGCell* cell) {
    return cell && cell->IsKindOf(RUNTIME_CLASS(CGVerFree)) && !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeUpright)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeInFace)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane));
}

// The solids of revolution, in the order their class is tested.
const CRuntimeClass* const kSolidClasses[4] = {RUNTIME_CLASS(CGCylinder), RUNTIME_CLASS(CGCone),
                                               RUNTIME_CLASS(CGFrustum), RUNTIME_CLASS(CGSphere)};

// Which of kSolidClasses a cell is (the first that fits), or -1.
int SolidIndex(const CGCell* cell) {
    for (int i = 0; i < 4; ++i)
        if (cell && cell->IsKindOf(kSolidClasses[i]))
            return i;
    return -1;
}

CGCell* First(const CList<WORD, WORD>& list) {
    return list.IsEmpty() ? nullptr : HxFindCell(list.GetHead());
}

// The enabling rules.
bool OnePointAlone(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.points == 1 && n.all == 1;
}
bool SomePoint(const CGPage& p) {
    return Counts(p).points >= 1;
}
bool PathPointOrPosition(const CGPage& p) {
    const CCounts n = Counts(p);
    return (n.points == 1 && n.all == 1 && IsPathPoint(First(p.m_selPoints))) ||
           (n.points == 1 && n.lines == 1 && n.all == 2) ||
           (n.points == 1 && n.curves == 1 && n.all == 2 && DYNAMIC_DOWNCAST(CGArc, First(p.m_selCurves)));
}
bool TwoPointsOrALine(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.points == 2 || n.lines == 1;
}
bool Distances(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.points >= 2 || n.lines >= 1;
}
bool PointAndLine(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.points == 1 && n.lines == 1 && n.all == 2;
}
bool PointAndFace(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.points == 1 && n.faces == 1 && n.all == 2;
}
bool TwoLines(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.lines == 2 && n.all == 2;
}
bool TwoFaces(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.faces == 2 && n.all == 2;
}
bool LineAndFace(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.lines == 1 && n.faces == 1 && n.all == 2;
}
bool ThreePoints(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.points == 3 && n.all == 3;
}
bool OneFace(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.faces == 1 && n.all == 1;
}
bool FourPoints(const CGPage& p) {
    return Counts(p).points == 4;
}
bool OneCircle(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.curves == 1 && n.all == 1 && DYNAMIC_DOWNCAST(CGArc, First(p.m_selCurves));
}
bool OneSolid(const CGPage& p) {
    const CCounts n = Counts(p);
    return n.solids == 1 && n.all == 1 && SolidIndex(First(p.m_selSolids)) >= 0;
}

struct CRule {
    UINT id;
    bool (*enabled)(const CGPage&);
};

const CRule kRules[] = {
    {ID_MEASURE_COORD_X, OnePointAlone},  {ID_MEASURE_COORD_Y, OnePointAlone},
    {ID_MEASURE_COORD_Z, OnePointAlone},  {ID_MEASURE_PXYZ, SomePoint},
    {ID_MEASURE_PT, PathPointOrPosition}, {ID_MEASURE_VXYZ, TwoPointsOrALine},
    {ID_MEASURE_D_PP, Distances},         {ID_MEASURE_D_PL, PointAndLine},
    {ID_MEASURE_D_PF, PointAndFace},      {ID_MEASURE_D_LL, TwoLines},
    {ID_MEASURE_LLA, TwoLines},           {ID_MEASURE_FFA, TwoFaces},
    {ID_MEASURE_LFA, LineAndFace},        {ID_MEASURE_ANGLE, ThreePoints},
    {ID_MEASURE_AREA, OneFace},           {ID_MEASURE_VOLUME, FourPoints},
    {ID_MEASURE_LEN_C, OneCircle},        {ID_MEASURE_AREA_C, OneCircle},
    {ID_MEASURE_RADIUS, OneCircle},       {ID_MEASURE_AREA_S, OneSolid},
    {ID_MEASURE_VOLUME_S, OneSolid},
};

// One measurement of class T on its parents, as one CCmdAddCell.
template <class T, class... Parents>
void MeasureOne(CHalvixDoc& doc, const char16_t* undoText, Parents... parents) {
    if (!g_pCurPage)
        return;
    CConstruction run(doc);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<T>(parents...);
    run.CommitCell(undoText);
}

// The selected cell at place i of a list as class T, or null.
template <class T> T* Selected(const CList<WORD, WORD> CGPage::*list, int i = 0) {
    return g_pCurPage ? HxSelectedAs<T>(g_pCurPage->*list, i) : nullptr;
}

// The two points of a line, or false.
bool Ends(const CGLine* line, WORD& a, WORD& b) {
    const CGVertex* p = line ? line->GetEnd(0) : nullptr;
    const CGVertex* q = line ? line->GetEnd(1) : nullptr;
    if (!p || !q)
        return false;
    a = p->m_id;
    b = q->m_id;
    return true;
}

} // namespace

void CHalvixDoc::AddMeasureCommands() {
    OnCommandId(ID_MEASURE_COORD_X, &CHalvixDoc::OnMeasureCoordX);
    OnCommandId(ID_MEASURE_COORD_Y, &CHalvixDoc::OnMeasureCoordY);
    OnCommandId(ID_MEASURE_COORD_Z, &CHalvixDoc::OnMeasureCoordZ);
    OnCommandId(ID_MEASURE_PXYZ, &CHalvixDoc::OnMeasurePointXyz);
    OnCommandId(ID_MEASURE_PT, &CHalvixDoc::OnMeasurePointValue);
    OnCommandId(ID_MEASURE_VXYZ, &CHalvixDoc::OnMeasureVectorXyz);
    OnCommandId(ID_MEASURE_D_PP, &CHalvixDoc::OnMeasureDistancePP);
    OnCommandId(ID_MEASURE_D_PL, &CHalvixDoc::OnMeasureDistancePL);
    OnCommandId(ID_MEASURE_D_PF, &CHalvixDoc::OnMeasureDistancePF);
    OnCommandId(ID_MEASURE_D_LL, &CHalvixDoc::OnMeasureDistanceLL);
    OnCommandId(ID_MEASURE_LLA, &CHalvixDoc::OnMeasureAngleLL);
    OnCommandId(ID_MEASURE_FFA, &CHalvixDoc::OnMeasureAngleFF);
    OnCommandId(ID_MEASURE_LFA, &CHalvixDoc::OnMeasureAngleLF);
    OnCommandId(ID_MEASURE_ANGLE, &CHalvixDoc::OnMeasureAngle);
    OnCommandId(ID_MEASURE_AREA, &CHalvixDoc::OnMeasureArea);
    OnCommandId(ID_MEASURE_VOLUME, &CHalvixDoc::OnMeasureVolume);
    OnCommandId(ID_MEASURE_LEN_C, &CHalvixDoc::OnMeasureLengthC);
    OnCommandId(ID_MEASURE_AREA_C, &CHalvixDoc::OnMeasureAreaC);
    OnCommandId(ID_MEASURE_RADIUS, &CHalvixDoc::OnMeasureRadius);
    OnCommandId(ID_MEASURE_AREA_S, &CHalvixDoc::OnMeasureAreaS);
    OnCommandId(ID_MEASURE_VOLUME_S, &CHalvixDoc::OnMeasureVolumeS);
    for (const CRule& rule : kRules)
        OnUpdateId(rule.id, &CHalvixDoc::OnUpdateMeasure);
}

void CHalvixDoc::OnUpdateMeasure(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    for (const CRule& rule : kRules) {
        if (rule.id == pCmdUI->m_nID) {
            pCmdUI->Enable(page && rule.enabled(*page));
            return;
        }
    }
    pCmdUI->Enable(FALSE);
}

void CHalvixDoc::OnMeasureCoordX() {
    if (const CGVertex* p = Selected<CGVertex>(&CGPage::m_selPoints))
        MeasureOne<CGTmVarCoordX>(*this, u"添加度量值：点坐标x值", p->m_id);
}

void CHalvixDoc::OnMeasureCoordY() {
    if (const CGVertex* p = Selected<CGVertex>(&CGPage::m_selPoints))
        MeasureOne<CGTmVarCoordY>(*this, u"添加度量值：点坐标y值", p->m_id);
}

void CHalvixDoc::OnMeasureCoordZ() {
    if (const CGVertex* p = Selected<CGVertex>(&CGPage::m_selPoints))
        MeasureOne<CGTmVarCoordZ>(*this, u"添加度量值：点坐标z值", p->m_id);
}

// One position vector per selected point, in selection order.
void CHalvixDoc::OnMeasurePointXyz() {
    if (!g_pCurPage)
        return;
    const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints);
    CConstruction run(*this);
    if (points.empty() || !run.Reserve(int(points.size()), 0))
        return;
    for (const CGVertex* p : points)
        run.AddCell<CGTmVectorPoint>(p->m_id);
    run.CommitCells(u"添加文本：点坐标");
}

// The place of a point on the selected line or circle, else the path parameter of a point that
// moves along a path.
void CHalvixDoc::OnMeasurePointValue() {
    const CGPage* page = g_pCurPage;
    if (!page)
        return;
    const CCounts n = Counts(*page);
    const CGVertex* point = Selected<CGVertex>(&CGPage::m_selPoints);
    if (!point)
        return;
    if (n.lines == 1 && n.all == 2) {
        if (const CGLine* line = Selected<CGLine>(&CGPage::m_selLines))
            MeasureOne<CGTmVarParaPInL>(*this, u"添加点的值", point->m_id, line->m_id);
    } else if (n.curves == 1 && n.all == 2) {
        if (const CGArc* circle = Selected<CGArc>(&CGPage::m_selCurves))
            MeasureOne<CGTmVarParaPInY>(*this, u"添加点的值", point->m_id, circle->m_id);
    } else if (IsPathPoint(point)) {
        MeasureOne<CGTmVarPara>(*this, u"添加点的值", point->m_id);
    }
}

// The vector from the first to the second selected point, or along the one selected line.
void CHalvixDoc::OnMeasureVectorXyz() {
    const CGPage* page = g_pCurPage;
    if (!page)
        return;
    WORD a = 0, b = 0;
    if (page->m_selPoints.GetCount() == 2) {
        const CGVertex* p = Selected<CGVertex>(&CGPage::m_selPoints, 0);
        const CGVertex* q = Selected<CGVertex>(&CGPage::m_selPoints, 1);
        if (!p || !q)
            return;
        a = p->m_id;
        b = q->m_id;
    } else if (page->m_selLines.GetCount() != 1 || !Ends(Selected<CGLine>(&CGPage::m_selLines), a, b)) {
        return;
    }
    MeasureOne<CGTmVectorPP>(*this, u"添加向量坐标：向量坐标", a, b);
}

// The length of every selected line; without lines, the sides of the path through the selected
// points (closed when there are three or more).
void CHalvixDoc::OnMeasureDistancePP() {
    const CGPage* page = g_pCurPage;
    if (!page)
        return;
    std::vector<std::pair<WORD, WORD>> pairs;
    if (!page->m_selLines.IsEmpty()) {
        for (const CGLine* line : HxSelectedCells<CGLine>(page->m_selLines)) {
            WORD a, b;
            if (Ends(line, a, b))
                pairs.emplace_back(a, b);
        }
    } else {
        const std::vector<CGVertex*> points = HxSelectedCells<CGVertex>(page->m_selPoints);
        for (size_t i = 0; i + 1 < points.size(); ++i)
            pairs.emplace_back(points[i]->m_id, points[i + 1]->m_id);
        if (points.size() >= 3)
            pairs.emplace_back(points.back()->m_id, points.front()->m_id);
    }
    CConstruction run(*this);
    if (pairs.empty() || !run.Reserve(int(pairs.size()), 0))
        return;
    for (const auto& [a, b] : pairs)
        run.AddCell<CGTmVarDistancePP>(a, b);
    run.CommitCells(u"添加度量值：两点间距离");
}

void CHalvixDoc::OnMeasureDistancePL() {
    const CGVertex* p = Selected<CGVertex>(&CGPage::m_selPoints);
    const CGLine* l = Selected<CGLine>(&CGPage::m_selLines);
    if (p && l)
        MeasureOne<CGTmVarDistancePL>(*this, u"添加度量值：点到直线距离", p->m_id, l->m_id);
}

void CHalvixDoc::OnMeasureDistancePF() {
    const CGVertex* p = Selected<CGVertex>(&CGPage::m_selPoints);
    const CGFace* f = Selected<CGFace>(&CGPage::m_selFaces);
    if (p && f)
        MeasureOne<CGTmVarDistancePF>(*this, u"添加度量值：点到平面距离", p->m_id, f->m_id);
}

void CHalvixDoc::OnMeasureDistanceLL() {
    const CGLine* l = Selected<CGLine>(&CGPage::m_selLines, 0);
    const CGLine* m = Selected<CGLine>(&CGPage::m_selLines, 1);
    if (l && m)
        MeasureOne<CGTmVarDistanceLL>(*this, u"添加度量值：直线与直线间距离", l->m_id, m->m_id);
}

void CHalvixDoc::OnMeasureAngleLL() {
    const CGLine* l = Selected<CGLine>(&CGPage::m_selLines, 0);
    const CGLine* m = Selected<CGLine>(&CGPage::m_selLines, 1);
    if (l && m)
        MeasureOne<CGTmVarAngleLL>(*this, u"添加度量值：线线角", l->m_id, m->m_id);
}

void CHalvixDoc::OnMeasureAngleFF() {
    const CGFace* f = Selected<CGFace>(&CGPage::m_selFaces, 0);
    const CGFace* g = Selected<CGFace>(&CGPage::m_selFaces, 1);
    if (f && g)
        MeasureOne<CGTmVarAngleFF>(*this, u"添加度量值：二面角", f->m_id, g->m_id);
}

void CHalvixDoc::OnMeasureAngleLF() {
    const CGLine* l = Selected<CGLine>(&CGPage::m_selLines);
    const CGFace* f = Selected<CGFace>(&CGPage::m_selFaces);
    if (l && f)
        MeasureOne<CGTmVarAngleLF>(*this, u"添加度量值：线面角", l->m_id, f->m_id);
}

void CHalvixDoc::OnMeasureAngle() {
    const CGVertex* a = Selected<CGVertex>(&CGPage::m_selPoints, 0);
    const CGVertex* b = Selected<CGVertex>(&CGPage::m_selPoints, 1);
    const CGVertex* c = Selected<CGVertex>(&CGPage::m_selPoints, 2);
    if (a && b && c)
        MeasureOne<CGTmVarAngleP3>(*this, u"添加度量值：角", a->m_id, b->m_id, c->m_id);
}

void CHalvixDoc::OnMeasureArea() {
    if (const CGFace* f = Selected<CGFace>(&CGPage::m_selFaces))
        MeasureOne<CGTmVarArea>(*this, u"添加度量值：多边形面积", f->m_id);
}

// The tetrahedron of the first four selected points, whatever else is selected.
void CHalvixDoc::OnMeasureVolume() {
    const CGVertex* p[4];
    for (int i = 0; i < 4; ++i)
        if (!(p[i] = Selected<CGVertex>(&CGPage::m_selPoints, i)))
            return;
    MeasureOne<CGTmVarVolume>(*this, u"添加度量值：四面体体积", p[0]->m_id, p[1]->m_id, p[2]->m_id,
                              p[3]->m_id);
}

void CHalvixDoc::OnMeasureLengthC() {
    if (const CGArc* c = Selected<CGArc>(&CGPage::m_selCurves))
        MeasureOne<CGTmVarLenArc>(*this, u"添加度量值：圆周长（弧长）", c->m_id);
}

void CHalvixDoc::OnMeasureAreaC() {
    if (const CGArc* c = Selected<CGArc>(&CGPage::m_selCurves))
        MeasureOne<CGTmVarAreaCircle>(*this, u"添加度量值：圆（扇形）面积", c->m_id);
}

void CHalvixDoc::OnMeasureRadius() {
    if (const CGArc* c = Selected<CGArc>(&CGPage::m_selCurves))
        MeasureOne<CGTmVarRadius>(*this, u"添加度量值：圆（弧）半径", c->m_id);
}

// The whole surface of the first selected solid of revolution, by its class.
void CHalvixDoc::OnMeasureAreaS() {
    const CGCell* solid = Selected<CGCell>(&CGPage::m_selSolids);
    switch (SolidIndex(solid)) {
    case 0:
        MeasureOne<CGTmVarAreaCylinder>(*this, u"添加度量值：圆柱表面积", solid->m_id);
        break;
    case 1:
        MeasureOne<CGTmVarAreaCone>(*this, u"添加度量值：圆锥表面积", solid->m_id);
        break;
    case 2:
        MeasureOne<CGTmVarAreaFrustum>(*this, u"添加度量值：圆台表面积", solid->m_id);
        break;
    case 3:
        MeasureOne<CGTmVarAreaSphere>(*this, u"添加度量值：球表面积", solid->m_id);
        break;
    default: // no solid of revolution: nothing made, nothing recorded
        break;
    }
}

// The volume of the first selected solid of revolution, by its class.
void CHalvixDoc::OnMeasureVolumeS() {
    const CGCell* solid = Selected<CGCell>(&CGPage::m_selSolids);
    switch (SolidIndex(solid)) {
    case 0:
        MeasureOne<CGTmVarVolumeCylinder>(*this, u"添加度量值：圆柱体积", solid->m_id);
        break;
    case 1:
        MeasureOne<CGTmVarVolumeCone>(*this, u"添加度量值：圆锥体积", solid->m_id);
        break;
    case 2:
        MeasureOne<CGTmVarVolumeFrustum>(*this, u"添加度量值：圆台体积", solid->m_id);
        break;
    case 3:
        MeasureOne<CGTmVarVolumeSphere>(*this, u"添加度量值：球体积", solid->m_id);
        break;
    default:
        break;
    }
}
