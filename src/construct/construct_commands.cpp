// The message map of the construct commands and the update handlers they share, each enabling
// from the element counts of the current page's selection lists alone.
#include "construct/construct_ids.h"
#include "document/halvix_doc.h"
#include "measure/rich_text_dialog.h"

namespace {

struct CSelectionCounts {
    int points = 0, lines = 0, faces = 0, curves = 0, values = 0;
};

CSelectionCounts Counts() {
    CSelectionCounts n;
    if (const CGPage* page = g_pCurPage) {
        n.points = page->m_selPoints.GetCount();
        n.lines = page->m_selLines.GetCount();
        n.faces = page->m_selFaces.GetCount();
        n.curves = page->m_selCurves.GetCount();
        n.values = page->m_selValues.GetCount();
    }
    return n;
}

} // namespace

void CHalvixDoc::AddConstructCommands() {
    OnCommandId(ID_CREATE_LINE_SEGMENT, &CHalvixDoc::OnCreateLineSegment);
    OnCommandId(ID_CREATE_LINE_HALF, &CHalvixDoc::OnCreateLineHalf);
    OnCommandId(ID_CREATE_LINE_STRAIGHT, &CHalvixDoc::OnCreateLineStraight);
    OnCommandId(ID_CREATE_LINE_VECTOR, &CHalvixDoc::OnCreateLineVector);
    for (UINT id :
         {ID_CREATE_LINE_SEGMENT, ID_CREATE_LINE_HALF, ID_CREATE_LINE_STRAIGHT, ID_CREATE_LINE_VECTOR})
        OnUpdateId(id, &CHalvixDoc::OnUpdateCreateLine);
    OnCommandId(ID_CREATE_LINE_PERPENDICULAR, &CHalvixDoc::OnCreateLinePerpendicular);
    OnUpdateId(ID_CREATE_LINE_PERPENDICULAR, &CHalvixDoc::OnUpdateLinePerpendicular);
    OnCommandId(ID_CREATE_POINT_PER_SC, &CHalvixDoc::OnCreatePointPerSc);
    OnCommandId(ID_CREATE_POINT_PER_EQ, &CHalvixDoc::OnCreatePointPerEq);
    OnUpdateId(ID_CREATE_POINT_PER_SC, &CHalvixDoc::OnUpdateTwoOrThreePoints);
    OnUpdateId(ID_CREATE_POINT_PER_EQ, &CHalvixDoc::OnUpdateTwoOrThreePoints);
    OnCommandId(ID_CREATE_POINT_PAR_X, &CHalvixDoc::OnCreatePointParX);
    OnCommandId(ID_CREATE_POINT_PAR_Y, &CHalvixDoc::OnCreatePointParY);
    OnCommandId(ID_CREATE_POINT_PAR_Z, &CHalvixDoc::OnCreatePointParZ);
    OnCommandId(ID_CREATE_POINT_VECTOR, &CHalvixDoc::OnCreatePointVector);
    OnCommandId(ID_CREATE_POINT_2DZ, &CHalvixDoc::OnCreatePoint2dz);
    OnCommandId(ID_CREATE_POINT_PAR_V, &CHalvixDoc::OnCreatePointParV);
    for (UINT id : {ID_CREATE_POINT_PAR_X, ID_CREATE_POINT_PAR_Y, ID_CREATE_POINT_PAR_Z,
                    ID_CREATE_POINT_VECTOR, ID_CREATE_POINT_2DZ, ID_CREATE_POINT_PAR_V})
        OnUpdateId(id, &CHalvixDoc::OnUpdateOnePoint);

    OnCommandId(ID_CREATE_POINT_PAR_L, &CHalvixDoc::OnCreatePointParL);
    OnUpdateId(ID_CREATE_POINT_PAR_L, &CHalvixDoc::OnUpdateThreePoints);
    OnCommandId(ID_CREATE_LINE_PARALLEL, &CHalvixDoc::OnCreateLineParallel);
    OnUpdateId(ID_CREATE_LINE_PARALLEL, &CHalvixDoc::OnUpdateLineParallel);
    OnCommandId(ID_CREATE_LINE_COMMON, &CHalvixDoc::OnCreateLineCommon);
    OnUpdateId(ID_CREATE_LINE_COMMON, &CHalvixDoc::OnUpdateTwoLines);
    OnCommandId(ID_CREATE_FACE_PARFACE, &CHalvixDoc::OnCreateFaceParface);
    OnUpdateId(ID_CREATE_FACE_PARFACE, &CHalvixDoc::OnUpdatePointAndFace);
    OnCommandId(ID_CREATE_FACE_PERLINE, &CHalvixDoc::OnCreateFacePerline);
    OnUpdateId(ID_CREATE_FACE_PERLINE, &CHalvixDoc::OnUpdateOneLine);

    OnCommandId(ID_CREATE_POINT_TRIANGLE_G, &CHalvixDoc::OnCreatePointTriangleG);
    OnCommandId(ID_CREATE_POINT_TRIANGLE_O, &CHalvixDoc::OnCreatePointTriangleO);
    OnCommandId(ID_CREATE_POINT_TRIANGLE_I, &CHalvixDoc::OnCreatePointTriangleI);
    OnCommandId(ID_CREATE_POINT_TRIANGLE_H, &CHalvixDoc::OnCreatePointTriangleH);
    OnCommandId(ID_CREATE_POINT_TRIANGLE_E, &CHalvixDoc::OnCreatePointTriangleE);
    OnUpdateRange(ID_CREATE_POINT_TRIANGLE_G, ID_CREATE_POINT_TRIANGLE_E, &CHalvixDoc::OnUpdateThreePoints);
    OnCommandId(ID_CREATE_POINT_COORDINATES, &CHalvixDoc::OnCreatePointCoordinates);
    OnUpdateId(ID_CREATE_POINT_COORDINATES, &CHalvixDoc::OnUpdatePointCoordinates);
    OnCommandId(ID_CREATE_POINT_ROT_INCIRCLE, &CHalvixDoc::OnCreatePointRotIncircle);
    OnUpdateId(ID_CREATE_POINT_ROT_INCIRCLE, &CHalvixDoc::OnUpdatePointRotIncircle);
    OnCommandId(ID_CREATE_CIRCLE_ARC, &CHalvixDoc::OnCreateCircleArc);
    OnUpdateId(ID_CREATE_CIRCLE_ARC, &CHalvixDoc::OnUpdateCircleArc);
    // The bisectors share the rule of the triangle centres.
    OnCommandId(ID_CREATE_LINE_ANGLE, &CHalvixDoc::OnCreateLineAngle);
    OnCommandId(ID_CREATE_LINE_ANGLE_E, &CHalvixDoc::OnCreateLineAngleE);
    OnUpdateId(ID_CREATE_LINE_ANGLE, &CHalvixDoc::OnUpdateThreePoints);
    OnUpdateId(ID_CREATE_LINE_ANGLE_E, &CHalvixDoc::OnUpdateThreePoints);
    // The rich-text item: always enabled.
    OnCommandId(ID_CREATE_TEXT2, &CHalvixDoc::OnCreateText2);
    AddCurveCommands();
}

// Enabled unless a single point and no line are selected (with nothing selected the line tool
// starts).
void CHalvixDoc::OnUpdateCreateLine(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable(g_pCurPage && !(n.points == 1 && n.lines == 0));
}

void CHalvixDoc::OnUpdateLinePerpendicular(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable((n.points == 1 && (n.lines > 0 || n.faces > 0)) ||
                   (n.points > 1 && (n.lines == 1 || n.faces == 1)) ||
                   (n.points == 3 && n.lines == 0 && n.faces == 0));
}

void CHalvixDoc::OnUpdateTwoOrThreePoints(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable(n.points == 2 || n.points == 3);
}

// Three points, whatever else is selected.
void CHalvixDoc::OnUpdateThreePoints(CCmdUI* pCmdUI) {
    pCmdUI->Enable(Counts().points == 3);
}

void CHalvixDoc::OnUpdateLineParallel(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable((n.points == 1 && n.lines >= 1) || (n.points >= 2 && n.lines == 1));
}

void CHalvixDoc::OnUpdateTwoLines(CCmdUI* pCmdUI) {
    pCmdUI->Enable(Counts().lines == 2);
}

void CHalvixDoc::OnUpdatePointAndFace(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable(n.points == 1 && n.faces == 1);
}

// At most three values, all of them scalar values (none enables it too).
void CHalvixDoc::OnUpdatePointCoordinates(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable(g_pCurPage && n.values <= 3 && g_pCurPage->CountSelectedVariables() == n.values);
}

// One circle or curve, and one value or one point besides.
void CHalvixDoc::OnUpdatePointRotIncircle(CCmdUI* pCmdUI) {
    const CSelectionCounts n = Counts();
    pCmdUI->Enable(n.curves == 1 && n.values + n.points == 1);
}
