// The Measure menu: each command's enabling rule on the selection counts, the cells it makes with
// their parents, its one undo step and text, and handlers reached with cells of the wrong class.
#include "construct/construct_fixture.h"
#include "measure/measure_ids.h"
#include "measure/measurements.h"
#include "measure/vector_items.h"
#include "points/confined_points.h"
#include "solids/revolution.h"
#include "support/class_stand_ins.h"

#include <string>

namespace {

class MeasureCommandsTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        m_a = AddPoint(0, 0, 0);
        m_b = AddPoint(3, 4, 0);
        m_c = AddPoint(0, 4, 0);
        m_d = AddPoint(0, 0, 2);
        m_e = AddPoint(5, 5, 5);
        m_ab = AddLine(m_a->m_id, m_b->m_id);
        m_cd = AddLine(m_c->m_id, m_d->m_id);
        m_abc = AddFace({m_a->m_id, m_b->m_id, m_c->m_id});
        m_abd = AddFace({m_a->m_id, m_b->m_id, m_d->m_id});
        m_circle = AddCircle(0, 0, 0, 2, CGArc::kArc, 0.0f, 3.1415927f);
        m_onLine = Add<CGVerFreeInLine>(m_ab->m_id, 0.5f);
        m_onCircle = Add<CGVerFreeInCircle>(m_circle->m_id, 0.25f);
        m_inSpace = Add<CGVerFreeXyz>(1.0f, 1.0f, 1.0f);
        m_follower = Add<CGVerFreeHenchman>(2.0f, 2.0f, 2.0f, m_a->m_id);
        m_inFace = Add<CGVerFreeInFace>(m_abc->m_id, 0.3f, 0.3f);
        m_sphere = Insert(new CGSphere(NextId(), 0, 0, 0, 2, 0, 0, 1));
        m_cylinder = Insert(new CGCylinder(NextId(), 0, 0, 0, 2, 3, 0, 0, 1));
        m_cone = Insert(new CGCone(NextId(), 0, 0, 0, 3, 4, 0, 0, 1));
        m_frustum = Insert(new CGFrustum(NextId(), 0, 0, 0, 2, 3, 0, 0, 1, 0.5f));
    }
    // A curve that is no circle, of a class known by name only: it keeps no record, so a page
    // holding it cannot be compared by snapshots.
    void AddStandIns() {
        m_ink = new CInkmarksStandIn;
        m_ink->m_id = NextId();
        Insert(m_ink);
    }
    // Nothing was made: no cell, no undo step, the document unmodified and no view update.
    void ExpectNothingMade(WORD nextId) {
        EXPECT_EQ(m_page->m_nextId, nextId);
        EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_EQ(m_viewUpdates, 0);
    }

    // Runs the command on the selection and returns the new cells' class names.
    std::vector<std::string> Measure(UINT id, std::initializer_list<WORD> selection) {
        const WORD first = m_page->m_nextId;
        RunOn(id, selection);
        return ClassesFrom(first);
    }
    std::vector<WORD> Parents(WORD id) {
        std::vector<WORD> ids;
        for (WORD p : m_page->FindCell(id)->m_parents)
            ids.push_back(p);
        return ids;
    }

    CGVertex *m_a, *m_b, *m_c, *m_d, *m_e;
    CGLine *m_ab, *m_cd;
    CGFace *m_abc, *m_abd;
    CGArc* m_circle;
    CGVerFreeInLine* m_onLine;
    CGVerFreeInCircle* m_onCircle;
    CGVerFreeXyz* m_inSpace;
    CGVerFreeHenchman* m_follower;
    CGVerFreeInFace* m_inFace;
    CGCell* m_ink = nullptr;
    CGSphere* m_sphere = nullptr;
    CGCylinder* m_cylinder = nullptr;
    CGCone* m_cone = nullptr;
    CGFrustum* m_frustum = nullptr;
};

// Every rule of the Measure menu on selections that meet it and selections that just miss it.
TEST_F(MeasureCommandsTest, EnablingRules) {
    AddStandIns();
    const WORD a = m_a->m_id, b = m_b->m_id, c = m_c->m_id, d = m_d->m_id, e = m_e->m_id;
    const WORD ab = m_ab->m_id, cd = m_cd->m_id, f = m_abc->m_id, g = m_abd->m_id, circle = m_circle->m_id;
    const WORD ink = m_ink->m_id, sphere = m_sphere->m_id;
    const struct {
        UINT id;
        std::vector<WORD> selection;
        bool enabled;
    } rows[] = {
        {ID_MEASURE_COORD_X, {a}, true},
        {ID_MEASURE_COORD_Y, {a, ab}, false}, // one point alone
        {ID_MEASURE_COORD_Z, {a, b}, false},
        {ID_MEASURE_COORD_Z, {}, false},
        {ID_MEASURE_PXYZ, {a, ab, f}, true},
        {ID_MEASURE_PXYZ, {ab}, false},
        {ID_MEASURE_PT, {m_onLine->m_id}, true},
        {ID_MEASURE_PT, {m_onCircle->m_id}, true},
        {ID_MEASURE_PT, {m_inSpace->m_id}, false},
        {ID_MEASURE_PT, {m_follower->m_id}, false},
        {ID_MEASURE_PT, {m_inFace->m_id}, false},
        {ID_MEASURE_PT, {a}, false}, // a fixed point has no path
        {ID_MEASURE_PT, {a, ab}, true},
        {ID_MEASURE_PT, {a, circle}, true},
        {ID_MEASURE_PT, {a, ink}, false}, // a curve that is no circle
        {ID_MEASURE_PT, {a, ab, f}, false},
        {ID_MEASURE_VXYZ, {a, b}, true},
        {ID_MEASURE_VXYZ, {ab}, true},
        {ID_MEASURE_VXYZ, {a, b, c}, false},
        {ID_MEASURE_D_PP, {a, b}, true},
        {ID_MEASURE_D_PP, {ab}, true},
        {ID_MEASURE_D_PP, {a}, false},
        {ID_MEASURE_D_PL, {a, ab}, true},
        {ID_MEASURE_D_PL, {a, ab, cd}, false},
        {ID_MEASURE_D_PF, {a, f}, true},
        {ID_MEASURE_D_PF, {a, b, f}, false},
        {ID_MEASURE_D_LL, {ab, cd}, true},
        {ID_MEASURE_LLA, {ab, cd}, true},
        {ID_MEASURE_LLA, {ab, cd, a}, false},
        {ID_MEASURE_FFA, {f, g}, true},
        {ID_MEASURE_FFA, {f}, false},
        {ID_MEASURE_LFA, {ab, f}, true},
        {ID_MEASURE_LFA, {ab, f, a}, false},
        {ID_MEASURE_ANGLE, {a, b, c}, true},
        {ID_MEASURE_ANGLE, {a, b, c, ab}, false},
        {ID_MEASURE_AREA, {f}, true},
        {ID_MEASURE_AREA, {f, a}, false},
        {ID_MEASURE_VOLUME, {a, b, c, d}, true},
        {ID_MEASURE_VOLUME, {a, b, c, d, ab, f}, true}, // other kinds are not counted
        {ID_MEASURE_VOLUME, {a, b, c, d, e}, false},
        {ID_MEASURE_LEN_C, {circle}, true},
        {ID_MEASURE_AREA_C, {circle}, true},
        {ID_MEASURE_RADIUS, {circle, a}, false},
        {ID_MEASURE_RADIUS, {ink}, false},
        {ID_MEASURE_AREA_S, {sphere}, true},
        {ID_MEASURE_AREA_S, {m_cylinder->m_id}, true},
        {ID_MEASURE_VOLUME_S, {m_frustum->m_id}, true},
        {ID_MEASURE_VOLUME_S, {m_cone->m_id}, true},
        {ID_MEASURE_VOLUME_S, {sphere, a}, false},
        {ID_MEASURE_VOLUME_S, {sphere, m_cone->m_id}, false},
        {ID_MEASURE_VOLUME_S, {f}, false},
    };
    for (const auto& r : rows) {
        Select({});
        for (WORD id : r.selection)
            m_page->SelectCell(id);
        EXPECT_EQ(Enabled(r.id), r.enabled) << r.id << " with " << r.selection.size() << " selected";
    }
}

// One cell per command: its class, parents in order and undo text; one undo takes it back.
TEST_F(MeasureCommandsTest, SingleMeasurementsWithTheirUndoTexts) {
    const WORD a = m_a->m_id, b = m_b->m_id, c = m_c->m_id, d = m_d->m_id;
    const WORD ab = m_ab->m_id, cd = m_cd->m_id, f = m_abc->m_id, g = m_abd->m_id, circle = m_circle->m_id;
    const struct {
        UINT id;
        std::vector<WORD> selection;
        const char* cls;
        std::vector<WORD> parents;
        const char16_t* undo;
    } rows[] = {
        {ID_MEASURE_COORD_X, {a}, "CGTmVarCoordX", {a}, u"添加度量值：点坐标x值"},
        {ID_MEASURE_COORD_Y, {b}, "CGTmVarCoordY", {b}, u"添加度量值：点坐标y值"},
        {ID_MEASURE_COORD_Z, {c}, "CGTmVarCoordZ", {c}, u"添加度量值：点坐标z值"},
        {ID_MEASURE_PT, {m_onLine->m_id}, "CGTmVarPara", {m_onLine->m_id}, u"添加点的值"},
        {ID_MEASURE_PT, {a, cd}, "CGTmVarParaPInL", {a, cd}, u"添加点的值"},
        {ID_MEASURE_PT, {circle, b}, "CGTmVarParaPInY", {b, circle}, u"添加点的值"},
        {ID_MEASURE_VXYZ, {b, a}, "CGTmVectorPP", {b, a}, u"添加向量坐标：向量坐标"},
        {ID_MEASURE_VXYZ, {cd}, "CGTmVectorPP", {c, d}, u"添加向量坐标：向量坐标"},
        {ID_MEASURE_D_PL, {ab, d}, "CGTmVarDistancePL", {d, ab}, u"添加度量值：点到直线距离"},
        {ID_MEASURE_D_PF, {f, d}, "CGTmVarDistancePF", {d, f}, u"添加度量值：点到平面距离"},
        {ID_MEASURE_D_LL, {cd, ab}, "CGTmVarDistanceLL", {cd, ab}, u"添加度量值：直线与直线间距离"},
        {ID_MEASURE_LLA, {ab, cd}, "CGTmVarAngleLL", {ab, cd}, u"添加度量值：线线角"},
        {ID_MEASURE_FFA, {g, f}, "CGTmVarAngleFF", {g, f}, u"添加度量值：二面角"},
        {ID_MEASURE_LFA, {f, cd}, "CGTmVarAngleLF", {cd, f}, u"添加度量值：线面角"},
        {ID_MEASURE_ANGLE, {c, a, b}, "CGTmVarAngleP3", {c, a, b}, u"添加度量值：角"},
        {ID_MEASURE_AREA, {f}, "CGTmVarArea", {f}, u"添加度量值：多边形面积"},
        {ID_MEASURE_VOLUME, {d, ab, c, b, a}, "CGTmVarVolume", {d, c, b, a}, u"添加度量值：四面体体积"},
        {ID_MEASURE_LEN_C, {circle}, "CGTmVarLenArc", {circle}, u"添加度量值：圆周长（弧长）"},
        {ID_MEASURE_AREA_C, {circle}, "CGTmVarAreaCircle", {circle}, u"添加度量值：圆（扇形）面积"},
        {ID_MEASURE_RADIUS, {circle}, "CGTmVarRadius", {circle}, u"添加度量值：圆（弧）半径"},
    };
    for (const auto& r : rows) {
        m_doc->SetModifiedFlag(FALSE);
        m_viewUpdates = 0;
        const WORD first = m_page->m_nextId;
        Select({});
        for (WORD id : r.selection)
            m_page->SelectCell(id);
        ASSERT_TRUE(Enabled(r.id)) << r.cls;
        const PageSnapshot before = TakeSnapshot(*m_page);
        float x = 0, y = 0;
        {
            // Where the page puts the next text item (asked of a copy of its cursor).
            const float lastX = m_page->m_lastTextX, lastY = m_page->m_lastTextY;
            const BYTE slot = m_page->m_textSlot;
            m_page->PlaceNewTextItem(x, y, 1);
            m_page->m_lastTextX = lastX;
            m_page->m_lastTextY = lastY;
            m_page->m_textSlot = slot;
        }
        Run(r.id);
        ASSERT_EQ(ClassesFrom(first), std::vector<std::string>{r.cls}) << r.cls;
        EXPECT_EQ(Parents(first), r.parents) << r.cls;
        ExpectUndoStep<CCmdAddCell>(r.undo);
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_EQ(m_viewUpdates, 1);
        const CGCell* made = m_page->FindCell(first);
        EXPECT_FLOAT_EQ(made->m_labelPos[0], x) << r.cls;
        EXPECT_FLOAT_EQ(made->m_labelPos[1], y) << r.cls;
        ExpectUndoRedo(before);
    }
}

TEST_F(MeasureCommandsTest, DistancesOfAPathOfPointsOrOfTheLines) {
    const WORD a = m_a->m_id, b = m_b->m_id, c = m_c->m_id, d = m_d->m_id;
    WORD first = m_page->m_nextId;
    EXPECT_EQ(Measure(ID_MEASURE_D_PP, {a, b}).size(), 1u);
    EXPECT_EQ(Parents(first), (std::vector<WORD>{a, b}));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CGTmVariable, m_page->FindCell(first))->m_text, u"5");
    ExpectUndoStep<CCmdAddCells>(u"添加度量值：两点间距离", 1);

    // Three points: AB, BC, CA.
    first = m_page->m_nextId;
    const PageSnapshot before = TakeSnapshot(*m_page);
    EXPECT_EQ(Measure(ID_MEASURE_D_PP, {a, b, c}).size(), 3u);
    EXPECT_EQ(Parents(first), (std::vector<WORD>{a, b}));
    EXPECT_EQ(Parents(WORD(first + 1)), (std::vector<WORD>{b, c}));
    EXPECT_EQ(Parents(WORD(first + 2)), (std::vector<WORD>{c, a}));
    ExpectUndoStep<CCmdAddCells>(u"添加度量值：两点间距离", 3);
    ExpectUndoRedo(before);

    EXPECT_EQ(Measure(ID_MEASURE_D_PP, {d, c, b, a}).size(), 4u);
    // With a line selected the points are ignored: the lengths of the lines.
    first = m_page->m_nextId;
    EXPECT_EQ(Measure(ID_MEASURE_D_PP, {a, b, m_cd->m_id, c, m_ab->m_id}).size(), 2u);
    EXPECT_EQ(Parents(first), (std::vector<WORD>{c, d}));
    EXPECT_EQ(Parents(WORD(first + 1)), (std::vector<WORD>{a, b}));
}

TEST_F(MeasureCommandsTest, PositionVectorsOfEverySelectedPointInOneStep) {
    const WORD first = m_page->m_nextId;
    const PageSnapshot before = TakeSnapshot(*m_page);
    const std::vector<std::string> made =
        Measure(ID_MEASURE_PXYZ, {m_e->m_id, m_a->m_id, m_ab->m_id, m_b->m_id, m_c->m_id, m_d->m_id});
    EXPECT_EQ(made, std::vector<std::string>(5, "CGTmVectorPoint"));
    EXPECT_EQ(Parents(first), std::vector<WORD>{m_e->m_id});
    EXPECT_EQ(Parents(WORD(first + 4)), std::vector<WORD>{m_d->m_id});
    ExpectUndoStep<CCmdAddCells>(u"添加文本：点坐标", 5);
    // Placed one below the other.
    EXPECT_FLOAT_EQ(m_page->FindCell(WORD(first + 1))->m_labelPos[1],
                    m_page->FindCell(first)->m_labelPos[1] - 1.5f);
    ExpectUndoRedo(before);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first) << "one undo takes all five back";
}

// Handlers reached past their rules (another caller, a stale state) make nothing with cells of
// the wrong class: no cell, no undo step, the document unmodified.
TEST_F(MeasureCommandsTest, HandlersTestTheClassesTheyUse) {
    AddStandIns();
    const struct {
        UINT id;
        std::vector<WORD> selection;
    } rows[] = {
        {ID_MEASURE_PT, {m_a->m_id, m_ink->m_id}},  // the curve is no circle
        {ID_MEASURE_PT, {m_a->m_id}},               // a fixed point has no path parameter
        {ID_MEASURE_PT, {m_inSpace->m_id}},         // nor has a point free in space
        {ID_MEASURE_PT, {m_ab->m_id, m_abc->m_id}}, // no point at all
        {ID_MEASURE_LEN_C, {m_ink->m_id}},          // no circle
        {ID_MEASURE_AREA_C, {m_ink->m_id}},
        {ID_MEASURE_RADIUS, {m_ink->m_id}},
        {ID_MEASURE_VXYZ, {m_a->m_id, m_ab->m_id, m_cd->m_id}}, // neither two points nor one line
        {ID_MEASURE_VOLUME, {m_a->m_id, m_b->m_id, m_c->m_id}},
        {ID_MEASURE_D_PP, {m_a->m_id}},
        {ID_MEASURE_COORD_X, {m_ab->m_id}},
        {ID_MEASURE_ANGLE, {m_a->m_id, m_b->m_id}},
        {ID_MEASURE_LLA, {m_ab->m_id}},
    };
    for (const auto& r : rows) {
        Select({});
        for (WORD id : r.selection)
            m_page->SelectCell(id);
        const WORD next = m_page->m_nextId;
        m_doc->OnCmdMsg(r.id, CN_COMMAND, nullptr);
        ExpectNothingMade(next);
    }
    // Straight calls of the handlers, past the router.
    Select({m_a->m_id, m_ink->m_id});
    const WORD next = m_page->m_nextId;
    m_doc->OnMeasurePointValue();
    m_doc->OnMeasureRadius();
    ExpectNothingMade(next);
}

// The solid's class chooses the measurement and the undo text, tested cylinder, cone, frustum,
// sphere in that order.
TEST_F(MeasureCommandsTest, SurfacesAndVolumesOfSolidsByTheirClass) {
    const struct {
        UINT id;
        CGCell* solid;
        const char* cls;
        const char16_t* undo;
        const char16_t* text;
    } rows[] = {
        {ID_MEASURE_AREA_S, m_cylinder, "CGTmVarAreaCylinder", u"添加度量值：圆柱表面积", u"62.83"},
        {ID_MEASURE_AREA_S, m_cone, "CGTmVarAreaCone", u"添加度量值：圆锥表面积", u"75.40"},
        {ID_MEASURE_AREA_S, m_frustum, "CGTmVarAreaFrustum", u"添加度量值：圆台表面积", u"45.51"},
        {ID_MEASURE_AREA_S, m_sphere, "CGTmVarAreaSphere", u"添加度量值：球表面积", u"50.27"},
        {ID_MEASURE_VOLUME_S, m_cylinder, "CGTmVarVolumeCylinder", u"添加度量值：圆柱体积", u"37.70"},
        {ID_MEASURE_VOLUME_S, m_cone, "CGTmVarVolumeCone", u"添加度量值：圆锥体积", u"37.70"},
        {ID_MEASURE_VOLUME_S, m_frustum, "CGTmVarVolumeFrustum", u"添加度量值：圆台体积", u"21.99"},
        {ID_MEASURE_VOLUME_S, m_sphere, "CGTmVarVolumeSphere", u"添加度量值：球体积", u"33.51"},
    };
    for (const auto& r : rows) {
        const WORD first = m_page->m_nextId;
        const PageSnapshot before = TakeSnapshot(*m_page);
        EXPECT_EQ(Measure(r.id, {r.solid->m_id}), std::vector<std::string>{r.cls});
        EXPECT_EQ(Parents(first), std::vector<WORD>{r.solid->m_id});
        ExpectUndoStep<CCmdAddCell>(r.undo);
        EXPECT_EQ(DYNAMIC_DOWNCAST(CGTmVariable, m_page->FindCell(first))->m_text, r.text) << r.cls;
        ExpectUndoRedo(before);
    }
    // Reached with no solid of revolution selected: nothing.
    Select({m_abc->m_id});
    const WORD next = m_page->m_nextId;
    m_doc->OnMeasureAreaS();
    m_doc->OnMeasureVolumeS();
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(MeasureCommandsTest, MeasurementsFollowTheirParents) {
    const WORD first = m_page->m_nextId;
    Measure(ID_MEASURE_D_PP, {m_a->m_id, m_b->m_id});
    auto* d = DYNAMIC_DOWNCAST(CGTmVariable, m_page->FindCell(first));
    ASSERT_NE(d, nullptr);
    MovePoint(m_b, 0, 0, 7);
    EXPECT_EQ(d->m_text, u"7");
}

} // namespace
