// Triangle centres of three selected points, points by coordinates (typed, following selected
// values, or a pasted list of points) and the point turned on a circle by a typed angle.
#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "construct/input_dialogs.h"
#include "document/halvix_doc.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "points/misc_points.h"
#include "points/triangle_centres.h"

namespace {

// The centre of class T of the triangle of the three selected points.
template <class T> void CreateCentre(CHalvixDoc& doc, const char16_t* undoText) {
    if (!g_pCurPage)
        return;
    const std::vector<CGVertex*> p = HxSelectedCells<CGVertex>(g_pCurPage->m_selPoints);
    if (p.size() != 3)
        return;
    CConstruction run(doc);
    if (!run.Reserve(1, 1))
        return;
    run.AddPoint<T>(p[0]->m_id, p[1]->m_id, p[2]->m_id);
    run.CommitCell(undoText);
}

// Degrees to radians as the command converts them (single precision).
constexpr float kRadiansPerDegree = 0.017453292f;

} // namespace

void CHalvixDoc::OnCreatePointTriangleG() {
    CreateCentre<CGVerBarycenter>(*this, u"添加三角形重心");
}

void CHalvixDoc::OnCreatePointTriangleO() {
    CreateCentre<CGVerExcenter>(*this, u"添加三角形外心");
}

void CHalvixDoc::OnCreatePointTriangleI() {
    CreateCentre<CGVerIncenter>(*this, u"添加三角形内心");
}

void CHalvixDoc::OnCreatePointTriangleH() {
    CreateCentre<CGVerOrthocenter>(*this, u"添加三角形垂心");
}

void CHalvixDoc::OnCreatePointTriangleE() {
    CreateCentre<CGVerEscenter>(*this, u"添加三角形旁心");
}

// One point from typed numbers or selected values, or every point of a point text (selected
// afterwards).
void CHalvixDoc::OnCreatePointCoordinates() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgCoordinates dlg;
    const std::vector<WORD> values = HxSelectedIds(page->m_selValues);
    for (WORD id : values) {
        const CGCell* value = page->FindCell(id);
        dlg.m_valueNames.push_back(value ? value->m_name : CString());
    }
    dlg.m_pointText = g_constructEntries.m_pointText;
    if (dlg.DoModal() != IDOK)
        return;

    if (dlg.m_mode == CDlgCoordinates::kSeveral) {
        g_constructEntries.m_pointText = dlg.m_pointText;
        dlg.BuildExpressionList();
        const int n = int(dlg.m_numbers.size()) / 3;
        CConstruction run(*this);
        if (n == 0 || !run.Reserve(n, n))
            return;
        for (int i = 0; i < n; ++i) {
            const float x = CDlgCoordinates::ToNumber(dlg.m_numbers[size_t(3 * i)]);
            const float y = CDlgCoordinates::ToNumber(dlg.m_numbers[size_t(3 * i + 1)]);
            const float z = CDlgCoordinates::ToNumber(dlg.m_numbers[size_t(3 * i + 2)]);
            CGVertex* point = run.AddPoint<CGVertex>(x, y, z);
            point->m_selected = true;
            page->m_selAll.AddTail(point->m_id);
            page->m_selPoints.AddTail(point->m_id);
        }
        CString text;
        text.Format(u"添加%d个坐标点", n);
        run.CommitCells(text);
        return;
    }

    // One point: a chosen value gives its 1-based place in the selection, a typed coordinate 0.
    int source[3];
    float coordinate[3];
    bool anyValue = false;
    for (int i = 0; i < 3; ++i) {
        const int row = dlg.m_chosenRow[i];
        if (dlg.m_chosen[i] && row >= 0 && row < int(values.size())) {
            source[i] = row + 1;
            coordinate[i] = 0.0f;
            anyValue = true;
        } else {
            source[i] = 0;
            coordinate[i] = CDlgCoordinates::ToNumber(dlg.m_text[i]);
        }
    }
    // The point follows only values (never a vector item or another cell the list may hold).
    if (anyValue && HxSelectedCells<CGTmVariable>(page->m_selValues).size() != values.size())
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    if (!anyValue) {
        run.AddPoint<CGVertex>(coordinate[0], coordinate[1], coordinate[2]);
        run.CommitCell(u"添加坐标点");
        return;
    }
    run.AddPoint<CGVerCoordinates>(page->m_selValues, source[0], source[1], source[2], coordinate[0],
                                   coordinate[1], coordinate[2]);
    run.CommitCell(u"添加由度量值绘制的点");
}

// The point of the selected circle at the selected value's value (or the selected point's
// parameter) plus a typed angle.
void CHalvixDoc::OnCreatePointRotIncircle() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const CGArc* circle = HxSelectedAs<CGArc>(page->m_selCurves, 0);
    WORD source = 0;
    if (page->m_selValues.GetCount() == 1) {
        if (const auto* value = HxSelectedAs<CGTmVariable>(page->m_selValues, 0))
            source = value->m_id;
    } else if (page->m_selPoints.GetCount() == 1) {
        if (const auto* point = HxSelectedAs<CGVertex>(page->m_selPoints, 0))
            source = point->m_id;
    }
    if (!circle || source == 0)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 1))
        return;
    CDlgAngle dlg;
    dlg.m_angle = g_constructEntries.m_angle;
    dlg.m_unit = g_constructEntries.m_angleUnit;
    if (dlg.DoModal() != IDOK)
        return;
    g_constructEntries.m_angle = dlg.m_angle;
    g_constructEntries.m_angleUnit = dlg.m_unit;
    const float angle = dlg.m_unit == CDlgAngle::kDegrees ? dlg.m_angle * kRadiansPerDegree : dlg.m_angle;
    run.AddPoint<CGVerInCircleRot>(source, circle->m_id, angle);
    run.CommitCell(u"添加圆上旋转点");
}
