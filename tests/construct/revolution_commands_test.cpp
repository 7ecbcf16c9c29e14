// The cylinder, cone and frustum commands: their update rules, the default figures and the figures
// completed from two points or built on a selected right triangle or trapezium, the refusals, and
// undo and redo of the one step each records.
#include "construct_fixture.h"

#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "points/translated_points.h"
#include "solids/revolution_constructed.h"

#include <cmath>

namespace {

class RevolutionCommands : public ConstructTest {
protected:
    static std::vector<float> Pos(const CGVertex* p) { return {p->m_x, p->m_y, p->m_z}; }
    static double Dist(const CGVertex* a, const CGVertex* b) {
        return std::sqrt(double(a->m_x - b->m_x) * (a->m_x - b->m_x) +
                         double(a->m_y - b->m_y) * (a->m_y - b->m_y) +
                         double(a->m_z - b->m_z) * (a->m_z - b->m_z));
    }
    static double Dot(const CGVertex* corner, const CGVertex* a, const CGVertex* b) {
        return double(a->m_x - corner->m_x) * (b->m_x - corner->m_x) +
               double(a->m_y - corner->m_y) * (b->m_y - corner->m_y) +
               double(a->m_z - corner->m_z) * (b->m_z - corner->m_z);
    }
    // A circle's kind, reversal flag and parents.
    static void ExpectCircle(CGCell* cell, std::vector<WORD> parents) {
        auto* circle = DYNAMIC_DOWNCAST(CGArcPointN, cell);
        ASSERT_NE(circle, nullptr);
        EXPECT_EQ(Parents(circle), parents);
        EXPECT_EQ(circle->m_kind, 0);
        EXPECT_EQ(circle->m_extA2, 1);
        EXPECT_TRUE(circle->m_valid);
    }
    // Moves a free point's parameter as an animation does and recomputes what depends on it.
    void SetParameter(CGVertex* p, float value) {
        p->m_param1 = value;
        p->SyncVertex();
        Changed(p);
    }
    // P1 above P2 with P3 square to P1P2 at P2 and P4 square to it at P1 (off by `error` along the leg).
    struct CRight {
        CGVertex *p1, *p2, *p3, *p4;
    };
    CRight RightTrapezium(float error = 0.0f) {
        CGVertex* p1 = AddPoint(1, 1, 6);
        CGVertex* p2 = AddPoint(1, 1, 1);
        CGVertex* p3 = AddPoint(4, 1, 1 + error);
        CGVertex* p4 = AddPoint(1, 3, 6);
        return {p1, p2, p3, p4};
    }
};

TEST_F(RevolutionCommands, UpdateRulesCountTheSelectedPointsOnly) {
    std::vector<WORD> points;
    for (int i = 0; i < 5; ++i)
        points.push_back(AddPoint(float(i), 0, 0)->m_id);
    CGLine* line = AddLine(points[0], points[1]);
    const struct {
        int selected;
        bool cylinderCone, frustum;
    } rows[] = {{0, true, true},  {1, false, false}, {2, true, true},
                {3, true, false}, {4, false, true},  {5, false, false}};
    for (const auto& row : rows) {
        for (bool withLine : {false, true}) {
            Select({});
            for (int i = 0; i < row.selected; ++i)
                m_page->SelectCell(points[size_t(i)]);
            if (withLine)
                m_page->SelectCell(line->m_id);
            EXPECT_EQ(Enabled(ID_CREATE_CYLINDER), row.cylinderCone) << row.selected;
            EXPECT_EQ(Enabled(ID_CREATE_CONE), row.cylinderCone) << row.selected;
            EXPECT_EQ(Enabled(ID_CREATE_PLATFORM), row.frustum) << row.selected;
        }
    }
}

TEST_F(RevolutionCommands, TheDefaultCylinderStandsOnTheFloorAndStaysDraggable) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_CYLINDER, {});
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeParVector", "CGVerFreeUpright",
                                        "CGCylinderCPC", "CGVerTranslate", "CGArcPointN", "CGArcPointN"}));
    ExpectUndoStep<CCmdAddCells>(u"添加圆柱", 7);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    auto* p2 = Cell<CGVertex>(first);
    auto* p1 = Cell<CGVertex>(WORD(first + 1));
    auto* p3 = Cell<CGVertex>(WORD(first + 2));
    auto* cylinder = Cell<CGCylinderCPC>(WORD(first + 3));
    auto* q = Cell<CGVertex>(WORD(first + 4));
    ASSERT_TRUE(p1 && p2 && p3 && cylinder && q);
    EXPECT_EQ(p2->m_name, u"A");
    EXPECT_EQ(p1->m_name, u"B");
    EXPECT_EQ(p3->m_name, u"C");
    EXPECT_EQ(q->m_name, u"D") << "the top circle's point is named too";
    EXPECT_EQ(Pos(p2), (std::vector<float>{0, 0, -4}));
    EXPECT_EQ(Parents(p1), std::vector<WORD>{p2->m_id});
    EXPECT_EQ(Parents(p3), (std::vector<WORD>{p2->m_id, p1->m_id}));
    EXPECT_EQ(Parents(cylinder), (std::vector<WORD>{p2->m_id, p3->m_id, p1->m_id}));
    EXPECT_EQ(Parents(q), (std::vector<WORD>{p3->m_id, p2->m_id, p1->m_id}));
    ExpectCircle(Cell<CGCell>(WORD(first + 5)), {p2->m_id, p3->m_id, p1->m_id});
    ExpectCircle(Cell<CGCell>(WORD(first + 6)), {p1->m_id, q->m_id, p2->m_id});
    EXPECT_TRUE(cylinder->m_valid);
    EXPECT_EQ(std::vector<float>(cylinder->m_center, cylinder->m_center + 3), Pos(p2));
    EXPECT_NEAR(Dot(p2, p1, p3), 0.0, 1e-5);
    EXPECT_FLOAT_EQ(cylinder->m_radius, float(Dist(p2, p3)));
    EXPECT_FLOAT_EQ(cylinder->m_height, float(Dist(p2, p1)));
    EXPECT_NEAR(Dist(q, p1), Dist(p3, p2), 1e-5) << "on the top circle";

    // The top centre slides on the vertical through the bottom centre only.
    SetParameter(p1, 3.0f);
    EXPECT_EQ(Pos(p1), (std::vector<float>{0, 0, -1}));
    EXPECT_FLOAT_EQ(cylinder->m_height, 3.0f);
    EXPECT_EQ(cylinder->m_axis[0], 0.0f);
    EXPECT_EQ(cylinder->m_axis[1], 0.0f);
    EXPECT_FLOAT_EQ(q->m_z, -1.0f);
    // The bottom centre carries the figure.
    MovePoint(p2, 2, 1, -4);
    EXPECT_EQ(std::vector<float>(cylinder->m_center, cylinder->m_center + 3), (std::vector<float>{2, 1, -4}));
    EXPECT_EQ(Pos(p1), (std::vector<float>{2, 1, -1}));
    ExpectUndoRedo(before);
}

TEST_F(RevolutionCommands, TheDefaultConeAndFrustum) {
    WORD first = m_page->m_nextId;
    PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_CONE, {});
    EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeParVector",
                                                            "CGVerFreeUpright", "CGConeCPV", "CGArcPointN"}));
    ExpectUndoStep<CCmdAddCells>(u"添加圆锥", 5);
    auto* cone = Cell<CGConeCPV>(WORD(first + 3));
    ASSERT_NE(cone, nullptr);
    EXPECT_EQ(cone->m_center[2], -4.0f);
    EXPECT_GT(cone->m_height, 0.0f);
    ExpectCircle(Cell<CGCell>(WORD(first + 4)), {first, WORD(first + 2), WORD(first + 1)});
    ExpectUndoRedo(before);

    first = m_page->m_nextId;
    before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_PLATFORM, {});
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGVerFreeParVector", "CGVerFreeUpright",
                                        "CGVerFreeParVecPP", "CGFrustumCP2", "CGArcPointN", "CGArcPointN"}));
    ExpectUndoStep<CCmdAddCells>(u"添加圆台", 7);
    auto* p2 = Cell<CGVertex>(first);
    auto* p1 = Cell<CGVertex>(WORD(first + 1));
    auto* p3 = Cell<CGVertex>(WORD(first + 2));
    auto* p4 = Cell<CGVertex>(WORD(first + 3));
    auto* frustum = Cell<CGFrustumCP2>(WORD(first + 4));
    ASSERT_TRUE(p1 && p2 && p3 && p4 && frustum);
    EXPECT_EQ(Parents(p4), (std::vector<WORD>{p1->m_id, p2->m_id, p3->m_id}));
    EXPECT_EQ(p4->m_param1, 4.0f);
    EXPECT_NEAR(Dist(p1, p4), 4.0, 1e-5);
    EXPECT_NEAR(Dot(p1, p2, p4), 0.0, 1e-4);
    EXPECT_EQ(Parents(frustum), (std::vector<WORD>{p2->m_id, p3->m_id, p1->m_id, p4->m_id}));
    EXPECT_NEAR(frustum->m_topRatio, 4.0 / Dist(p2, p3), 1e-6);
    ExpectCircle(Cell<CGCell>(WORD(first + 5)), {p2->m_id, p3->m_id, p1->m_id});
    ExpectCircle(Cell<CGCell>(WORD(first + 6)), {p1->m_id, p4->m_id, p2->m_id});
    // Sliding the top circle's point changes the ratio.
    SetParameter(p4, 2.0f);
    EXPECT_NEAR(frustum->m_topRatio, 2.0 / Dist(p2, p3), 1e-6);
    ExpectUndoRedo(before);
}

TEST_F(RevolutionCommands, TwoPointsGiveTheAxisAndTheRestIsMade) {
    CGVertex* p1 = AddPoint(0, 0, 5);
    CGVertex* p2 = AddPoint(0, 0, 0);
    const struct {
        UINT id;
        const char16_t* undo;
        int count;
        const char* solid;
    } rows[] = {{ID_CREATE_CYLINDER, u"添加圆柱", 5, "CGCylinderCPC"},
                {ID_CREATE_CONE, u"添加圆锥", 3, "CGConeCPV"},
                {ID_CREATE_PLATFORM, u"添加圆台", 5, "CGFrustumCP2"}};
    for (const auto& row : rows) {
        const WORD first = m_page->m_nextId;
        const PageSnapshot before = TakeSnapshot(*m_page);
        RunOn(row.id, {p1->m_id, p2->m_id});
        ExpectUndoStep<CCmdAddCells>(row.undo, row.count);
        auto* p3 = Cell<CGVerFreeUpright>(first);
        ASSERT_NE(p3, nullptr) << row.solid;
        EXPECT_EQ(Parents(p3), (std::vector<WORD>{p2->m_id, p1->m_id}));
        const bool frustum = row.id == ID_CREATE_PLATFORM;
        CGCell* solid = m_page->FindCell(WORD(first + (frustum ? 2 : 1)));
        ASSERT_NE(solid, nullptr);
        EXPECT_STREQ(solid->GetRuntimeClass()->m_lpszClassName, row.solid);
        EXPECT_EQ(solid->m_parents[0], p2->m_id);
        EXPECT_EQ(solid->m_parents[2], p1->m_id);
        EXPECT_TRUE(solid->m_valid);
        if (frustum) {
            EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 1))),
                      (std::vector<WORD>{p1->m_id, p2->m_id, p3->m_id}));
        }
        ExpectUndoRedo(before);
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    }
}

TEST_F(RevolutionCommands, ARightTriangleGivesTheSolidAndANearlyRightOneIsRefused) {
    CRight t = RightTrapezium();
    const WORD first = m_page->m_nextId;
    PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_CYLINDER, {t.p1->m_id, t.p2->m_id, t.p3->m_id});
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGCylinderCPC", "CGVerTranslate", "CGArcPointN", "CGArcPointN"}));
    ExpectUndoStep<CCmdAddCells>(u"添加圆柱", 4);
    auto* cylinder = Cell<CGCylinderCPC>(first);
    ASSERT_NE(cylinder, nullptr);
    // The axis runs from the second point to the first.
    EXPECT_EQ(std::vector<float>(cylinder->m_axis, cylinder->m_axis + 3), (std::vector<float>{0, 0, 5}));
    EXPECT_EQ(cylinder->m_radius, 3.0f);
    EXPECT_EQ(Pos(Cell<CGVertex>(WORD(first + 1))), (std::vector<float>{4, 1, 6}));
    EXPECT_TRUE(m_messages.empty());
    ExpectUndoRedo(before);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());

    RunOn(ID_CREATE_CONE, {t.p1->m_id, t.p2->m_id, t.p3->m_id});
    EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGConeCPV", "CGArcPointN"}));
    ExpectUndoStep<CCmdAddCells>(u"添加圆锥", 2);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());

    // Off by a dot product of 0.02 (a leg of 5 tipped by 0.004): refused, whatever the command.
    MovePoint(t.p3, 4, 1, 1.004f);
    EXPECT_NEAR(std::fabs(Dot(t.p2, t.p1, t.p3)), 0.02, 1e-4);
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;
    before = TakeSnapshot(*m_page);
    const int steps = m_page->m_cmdProcessor.GetCount();
    for (UINT id : {ID_CREATE_CYLINDER, ID_CREATE_CONE}) {
        m_messages.clear();
        RunOn(id, {t.p1->m_id, t.p2->m_id, t.p3->m_id});
        EXPECT_EQ(m_messages, std::vector<CString>{CString(u"所选三点P1,P2,P3不满足P1P2垂直于P2P3.")}) << id;
    }
    ExpectNothingDone(before, steps);
    // Within the tolerance the same points are taken.
    MovePoint(t.p3, 4, 1, 1.0019f);
    m_messages.clear();
    RunOn(ID_CREATE_CONE, {t.p1->m_id, t.p2->m_id, t.p3->m_id});
    EXPECT_TRUE(m_messages.empty());
    ExpectUndoStep<CCmdAddCells>(u"添加圆锥", 2);
}

TEST_F(RevolutionCommands, AnAngleALittleMoreThanARightAngleIsRefusedAsALittleLessIs) {
    CRight t = RightTrapezium();
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;
    // The angle at P2 opened past 90 degrees: a dot product of -0.02 (a leg of 5 tipped by 0.004 the
    // other way), refused by every command with its message.
    MovePoint(t.p3, 4, 1, 0.996f);
    EXPECT_NEAR(Dot(t.p2, t.p1, t.p3), -0.02, 1e-4);
    const PageSnapshot before = TakeSnapshot(*m_page);
    const int steps = m_page->m_cmdProcessor.GetCount();
    const struct {
        UINT id;
        std::vector<WORD> points;
        const char16_t* message;
    } refusals[] = {
        {ID_CREATE_CYLINDER, {t.p1->m_id, t.p2->m_id, t.p3->m_id}, u"所选三点P1,P2,P3不满足P1P2垂直于P2P3."},
        {ID_CREATE_CONE, {t.p1->m_id, t.p2->m_id, t.p3->m_id}, u"所选三点P1,P2,P3不满足P1P2垂直于P2P3."},
        {ID_CREATE_PLATFORM,
         {t.p1->m_id, t.p2->m_id, t.p3->m_id, t.p4->m_id},
         u"所选前三点P1,P2,P3不满足P1P2垂直于P2P3."},
    };
    for (const auto& r : refusals) {
        m_messages.clear();
        m_page->ClearSelection();
        for (WORD id : r.points)
            m_page->SelectCell(id);
        Run(r.id);
        EXPECT_EQ(m_messages, std::vector<CString>{CString(r.message)}) << r.id;
    }
    ExpectNothingDone(before, steps);

    // Within the tolerance on that side the points are taken.
    MovePoint(t.p3, 4, 1, 0.9981f);
    m_messages.clear();
    RunOn(ID_CREATE_CONE, {t.p1->m_id, t.p2->m_id, t.p3->m_id});
    EXPECT_TRUE(m_messages.empty());
    ExpectUndoStep<CCmdAddCells>(u"添加圆锥", 2);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());

    // The angle at P1 of a frustum, a little more and a little less than right: both refused.
    MovePoint(t.p3, 4, 1, 1);
    for (float z : {6.004f, 5.996f}) {
        MovePoint(t.p4, 1, 3, z);
        EXPECT_NEAR(std::fabs(Dot(t.p1, t.p2, t.p4)), 0.02, 1e-4);
        m_messages.clear();
        const int before4 = m_page->m_cells.GetCount();
        RunOn(ID_CREATE_PLATFORM, {t.p1->m_id, t.p2->m_id, t.p3->m_id, t.p4->m_id});
        EXPECT_EQ(m_messages, std::vector<CString>{CString(u"所选三点P1,P2,P4不满足P1P2垂直于P1P4.")}) << z;
        EXPECT_EQ(m_page->m_cells.GetCount(), before4);
    }
    MovePoint(t.p4, 1, 3, 6.0019f);
    m_messages.clear();
    RunOn(ID_CREATE_PLATFORM, {t.p1->m_id, t.p2->m_id, t.p3->m_id, t.p4->m_id});
    EXPECT_TRUE(m_messages.empty());
    ExpectUndoStep<CCmdAddCells>(u"添加圆台", 3);
}

TEST_F(RevolutionCommands, AFrustumOnARightTrapeziumChecksTheAngleAtP2First) {
    CRight t = RightTrapezium();
    const WORD first = m_page->m_nextId;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_PLATFORM, {t.p1->m_id, t.p2->m_id, t.p3->m_id, t.p4->m_id});
    EXPECT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGFrustumCP2", "CGArcPointN", "CGArcPointN"}));
    ExpectUndoStep<CCmdAddCells>(u"添加圆台", 3);
    auto* frustum = Cell<CGFrustumCP2>(first);
    ASSERT_NE(frustum, nullptr);
    EXPECT_EQ(frustum->m_radius, 3.0f);
    EXPECT_EQ(frustum->m_height, 5.0f);
    EXPECT_FLOAT_EQ(frustum->m_topRatio, 2.0f / 3.0f);
    ExpectUndoRedo(before);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    m_doc->SetModifiedFlag(FALSE);
    m_viewUpdates = 0;

    const PageSnapshot start = TakeSnapshot(*m_page);
    const int steps = m_page->m_cmdProcessor.GetCount();
    // The angle at P1 off: the second message.
    MovePoint(t.p4, 1, 3, 6.1f);
    RunOn(ID_CREATE_PLATFORM, {t.p1->m_id, t.p2->m_id, t.p3->m_id, t.p4->m_id});
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"所选三点P1,P2,P4不满足P1P2垂直于P1P4.")});
    // Both off: only the first.
    MovePoint(t.p3, 4, 1, 1.1f);
    m_messages.clear();
    RunOn(ID_CREATE_PLATFORM, {t.p1->m_id, t.p2->m_id, t.p3->m_id, t.p4->m_id});
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"所选前三点P1,P2,P3不满足P1P2垂直于P2P3.")});
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
    EXPECT_EQ(m_page->m_cells.GetCount(), int(start.cells.size()));
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 0);
}

TEST_F(RevolutionCommands, BranchesThatBuildNothingRecordNothing) {
    CRight t = RightTrapezium();
    const PageSnapshot before = TakeSnapshot(*m_page);
    // Reached without the update rule, as the dispatcher can: one point, or three for the frustum.
    Select({t.p1->m_id});
    m_doc->OnCylinder();
    m_doc->OnCone();
    m_doc->OnFrustum();
    Select({t.p1->m_id, t.p2->m_id, t.p3->m_id});
    m_doc->OnFrustum();
    ExpectNothingDone(before);
    EXPECT_TRUE(m_messages.empty());

    // No room in the vertex array: nothing either.
    g_vertexArrayCapacity = int(m_page->m_nextVertex);
    HxSetVertexArrayGrowthFails(true);
    for (UINT id : {ID_CREATE_CYLINDER, ID_CREATE_CONE, ID_CREATE_PLATFORM})
        RunOn(id, {});
    RunOn(ID_CREATE_CYLINDER, {t.p1->m_id, t.p2->m_id});
    ExpectNothingDone(before);
    // The cone on three points makes no point and needs no room.
    RunOn(ID_CREATE_CONE, {t.p1->m_id, t.p2->m_id, t.p3->m_id});
    ExpectUndoStep<CCmdAddCells>(u"添加圆锥", 2);
    HxSetVertexArrayGrowthFails(false);
}

} // namespace
