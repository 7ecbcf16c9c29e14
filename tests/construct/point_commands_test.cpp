// Triangle centres, coordinate points (typed, following values, pasted lists) and the point turned
// on a circle: update rules, cells, undo texts, the selection afterwards and the remembered entries.
#include "construct_fixture.h"

#include "points/misc_points.h"
#include "points/triangle_centres.h"

namespace {

using PointCommands = ConstructTest;

TEST_F(PointCommands, TheFiveCentresOfThreeSelectedPoints) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 3, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    const struct {
        UINT id;
        const char* cls;
        const char16_t* undo;
    } rows[] = {{ID_CREATE_POINT_TRIANGLE_G, "CGVerBarycenter", u"添加三角形重心"},
                {ID_CREATE_POINT_TRIANGLE_O, "CGVerExcenter", u"添加三角形外心"},
                {ID_CREATE_POINT_TRIANGLE_I, "CGVerIncenter", u"添加三角形内心"},
                {ID_CREATE_POINT_TRIANGLE_H, "CGVerOrthocenter", u"添加三角形垂心"},
                {ID_CREATE_POINT_TRIANGLE_E, "CGVerEscenter", u"添加三角形旁心"}};
    for (const auto& row : rows) {
        // A selected line does not disable them.
        Select({c->m_id, ab->m_id, a->m_id, b->m_id});
        EXPECT_TRUE(Enabled(row.id));
        const PageSnapshot before = TakeSnapshot(*m_page);
        Run(row.id);
        EXPECT_EQ(ClassesFrom(before.nextId), std::vector<std::string>{row.cls});
        EXPECT_EQ(Parents(m_page->FindCell(before.nextId)), (std::vector<WORD>{c->m_id, a->m_id, b->m_id}));
        ExpectUndoStep<CCmdAddCell>(row.undo);
        ExpectUndoRedo(before);
        Select({a->m_id, b->m_id});
        EXPECT_FALSE(Enabled(row.id));
    }
    ExpectNear(*Cell<CGVertex>(ab->m_id + 1), 4.0 / 3, 1, 0); // the centroid
}

TEST_F(PointCommands, OnePointFromTypedNumbersOrFollowingSelectedValues) {
    CGTmVariable* m = AddValue(2.5f, u"m");
    CGTmVariable* n = AddValue(-1.0f, u"n");
    std::vector<CString> names;
    Script<CDlgCoordinates>([&](CDlgCoordinates& dlg) {
        names = dlg.m_valueNames;
        dlg.m_mode = CDlgCoordinates::kSingle;
        dlg.m_text[0] = u"1.5";
        dlg.m_text[1] = u"abc"; // no number: 0
        dlg.m_text[2] = u"-2";
    });
    RunOn(ID_CREATE_POINT_COORDINATES, {});
    auto* fixed = LastAt<CGVertex>(1.5, 0, -2);
    ASSERT_NE(fixed, nullptr);
    EXPECT_STREQ(fixed->GetRuntimeClass()->m_lpszClassName, "CGVertex");
    ExpectUndoStep<CCmdAddCell>(u"添加坐标点");
    EXPECT_TRUE(names.empty());

    // x from the second selected value, y and z typed.
    Script<CDlgCoordinates>([&](CDlgCoordinates& dlg) {
        names = dlg.m_valueNames;
        dlg.m_chosen[0] = true;
        dlg.m_chosenRow[0] = 1;
        dlg.m_text[1] = u"3";
    });
    RunOn(ID_CREATE_POINT_COORDINATES, {n->m_id, m->m_id});
    EXPECT_EQ(names, (std::vector<CString>{CString(u"n"), CString(u"m")}));
    auto* follower = LastAt<CGVerCoordinates>(2.5, 3, 0);
    ASSERT_NE(follower, nullptr);
    EXPECT_EQ(Parents(follower), (std::vector<WORD>{n->m_id, m->m_id}));
    EXPECT_EQ(follower->m_sourceX, 2);
    EXPECT_EQ(follower->m_sourceY, 0);
    ExpectUndoStep<CCmdAddCell>(u"添加由度量值绘制的点");
    m->m_param1 = 7.0f;
    Changed(m);
    ExpectNear(*follower, 7, 3, 0);

    // At most three values, all of them scalar values; Cancel makes nothing.
    CGTmVector* v = Vector(u"v", 1, 2, 3);
    Select({m->m_id, v->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_COORDINATES));
    CGTmVariable* k = AddValue(1, u"k");
    Select({m->m_id, n->m_id, k->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_COORDINATES)) << "three values: one for each coordinate";
    Select({m->m_id, n->m_id, k->m_id, AddValue(1, u"j")->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_COORDINATES));
    m_answer = IDCANCEL;
    const int steps = m_page->m_cmdProcessor.GetCount();
    RunOn(ID_CREATE_POINT_COORDINATES, {m->m_id});
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
}

TEST_F(PointCommands, APastedListMakesSelectedPointsAndIsRememberedForTheNextTime) {
    CGVertex* old = AddPoint(9, 9, 9);
    CString opened;
    CString text = u"1,2,3\r\n4;5;6\r\n7\t8";
    Script<CDlgCoordinates>([&](CDlgCoordinates& dlg) {
        opened = dlg.m_pointText;
        dlg.m_mode = CDlgCoordinates::kSeveral;
        dlg.m_pointText = text;
    });
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_POINT_COORDINATES, {old->m_id});
    EXPECT_TRUE(opened.IsEmpty());
    EXPECT_EQ(ClassesFrom(before.nextId), (std::vector<std::string>{"CGVertex", "CGVertex"}));
    ExpectNear(*Cell<CGVertex>(before.nextId), 1, 2, 3);
    ExpectNear(*Cell<CGVertex>(before.nextId + 1), 4, 5, 6);
    EXPECT_EQ(Ids(m_page->m_selPoints),
              (std::vector<WORD>{old->m_id, before.nextId, WORD(before.nextId + 1)}));
    EXPECT_EQ(Ids(m_page->m_selAll), Ids(m_page->m_selPoints));
    EXPECT_TRUE(Cell<CGVertex>(before.nextId)->m_selected);
    ExpectUndoStep<CCmdAddCells>(u"添加2个坐标点", 2);
    ExpectUndoRedo(before);

    // "e" parts tokens; a fourth number is left over.
    text = u"-1.5 2e3 4";
    RunOn(ID_CREATE_POINT_COORDINATES, {});
    EXPECT_EQ(opened, CString(u"1,2,3\r\n4;5;6\r\n7\t8"));
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 1), -1.5, 2, 3);
    ExpectUndoStep<CCmdAddCells>(u"添加1个坐标点", 1);

    // The single-point mode leaves the remembered text alone.
    Script<CDlgCoordinates>([&](CDlgCoordinates& dlg) {
        opened = dlg.m_pointText;
        dlg.m_pointText = u"0,0,0";
    });
    RunOn(ID_CREATE_POINT_COORDINATES, {});
    RunOn(ID_CREATE_POINT_COORDINATES, {});
    EXPECT_EQ(opened, CString(u"-1.5 2e3 4"));
}

TEST_F(PointCommands, APointTurnedOnACircleFromAValueOrAPointsParameter) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    CGTmVariable* value = AddValue(0.5f, u"t");
    CGVertex* point = AddPoint(5, 5, 5);
    point->m_param1 = 1.0f;
    std::vector<std::pair<float, int>> shown;
    Script<CDlgAngle>([&](CDlgAngle& dlg) {
        EXPECT_EQ(dlg.m_nIDTemplate, 199u);
        shown.emplace_back(dlg.m_angle, dlg.m_unit);
        if (shown.size() == 1) {
            dlg.m_angle = 30.0f;
            dlg.m_unit = CDlgAngle::kRadians;
        } else {
            dlg.m_angle = 90.0f;
            dlg.m_unit = CDlgAngle::kDegrees;
        }
    });
    Select({point->m_id, circle->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_ROT_INCIRCLE));
    Run(ID_CREATE_POINT_ROT_INCIRCLE);
    auto* turned = Cell<CGVerInCircleRot>(m_page->m_nextId - 1);
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(Parents(turned), (std::vector<WORD>{point->m_id, circle->m_id}));
    EXPECT_EQ(turned->m_angle, 30.0f);
    ExpectUndoStep<CCmdAddCell>(u"添加圆上旋转点");

    // The value; the dialog opens with the last entry; degrees are turned into radians.
    RunOn(ID_CREATE_POINT_ROT_INCIRCLE, {circle->m_id, value->m_id});
    turned = Cell<CGVerInCircleRot>(m_page->m_nextId - 1);
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(Parents(turned)[0], value->m_id);
    EXPECT_EQ(turned->m_angle, 90.0f * 0.017453292f);
    ExpectNear(*turned, 2 * std::cos(0.5 + 1.5707963), 2 * std::sin(0.5 + 1.5707963), 0);
    EXPECT_EQ(shown, (std::vector<std::pair<float, int>>{{90.0f, 0}, {30.0f, 1}}));
    EXPECT_EQ(g_constructEntries.m_angle, 90.0f);

    // Update rule and the class tests of the handler.
    Select({circle->m_id, value->m_id, point->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_ROT_INCIRCLE));
    CGLine* line = Line(0, 0, 0, 1, 0, 0);
    Select({line->m_id, point->m_id});
    m_page->m_selCurves.AddTail(line->m_id); // a stale list: no circle there
    const int steps = m_page->m_cmdProcessor.GetCount();
    m_doc->OnCreatePointRotIncircle();
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
    EXPECT_EQ(shown.size(), 2u);
}

} // namespace
