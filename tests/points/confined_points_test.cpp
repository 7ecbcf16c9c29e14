// The point inside a face, the point in a plane and the follower at equal height: placement, drags,
// refused drags, validity, descriptions and records.
#include "points/confined_points.h"

#include "model/cell_kinds.h"

#include "points_fixture.h"

namespace {

class ConfinedPointsTest : public PointsTest {
protected:
    // The square A(0, 0, 0), B(4, 0, 0), C(4, 4, 0), D(0, 4, 0) and its face "ABCD".
    CGFace* MakeSquare() {
        m_a = AddPoint(0, 0, 0);
        m_b = AddPoint(4, 0, 0);
        m_c = AddPoint(4, 4, 0);
        m_d = AddPoint(0, 4, 0);
        return AddFace({m_a->m_id, m_b->m_id, m_c->m_id, m_d->m_id});
    }
    CGVertex* m_a = nullptr;
    CGVertex* m_b = nullptr;
    CGVertex* m_c = nullptr;
    CGVertex* m_d = nullptr;
};

} // namespace

TEST_F(ConfinedPointsTest, FacePointByItsFanWeights) {
    CGFace* face = MakeSquare();
    auto* p = Add<CGVerFreeInFace>(face->m_id, 0.5f, 0.25f);
    EXPECT_EQ(p->m_fanIndex, 1);
    EXPECT_EQ(p->m_color, g_colorFreePoint);
    EXPECT_TRUE(HxIsFreePoint(p));
    ExpectValidAt(*p, 2, 1, 0); // A/2 + B/4 + C/4
    ExpectSynced(*p);
    EXPECT_EQ(face->m_children.GetTail(), p->m_id);
    EXPECT_EQ(p->GetDescription(), u"多边形ABCD内的自由点");
    // The corners carry the point; SyncVertex computes it again.
    MovePoint(m_c, 8, 4, 2);
    ExpectAt(*p, 3, 1, 0.5f);
    p->m_weight0 = 0.0f;
    p->SyncVertex();
    ExpectAt(*p, 7, 3, 1.5f); // B/4 + 3C/4
    // Invalid while the face is, valid again after.
    m_b->m_valid = false;
    MovePoint(m_d, 0, 4, 0);
    EXPECT_FALSE(face->m_valid);
    ExpectInvalidAt(*p, 7, 3, 1.5f);
    m_b->m_valid = true;
    MovePoint(m_c, 4, 4, 0);
    ExpectValidAt(*p, 4, 3, 0);
    // Only the face's flag is asked, not the corners' own.
    m_c->m_valid = false;
    p->Recompute();
    EXPECT_TRUE(p->m_valid);
    m_c->m_valid = true;
    // A fan index that names no triangle.
    for (int bad : {0, 3, -7}) {
        p->m_fanIndex = bad;
        p->Recompute();
        EXPECT_FALSE(p->m_valid) << bad;
    }
    p->m_fanIndex = 2;
    p->m_weight0 = 0.5f;
    p->Recompute();
    ExpectValidAt(*p, 1, 2, 0); // A/2 + C/4 + D/4
    // A parent that is no face: invalid, and not dragged.
    auto* onPoint = Add<CGVerFreeInFace>(m_a->m_id, 0.5f, 0.25f);
    EXPECT_FALSE(onPoint->m_valid);
    EXPECT_EQ(onPoint->GetDescription(), u"多边形内的自由点");
    const CPointState before = StateOf(*onPoint);
    RayDownZ(1, 1);
    onPoint->ConstrainToCarrier();
    EXPECT_EQ(StateOf(*onPoint), before);
}

TEST_F(ConfinedPointsTest, FacePointDraggedStaysInsideItsPolygon) {
    CGFace* face = MakeSquare();
    auto* p = Add<CGVerFreeInFace>(face->m_id, 0.5f, 0.25f);
    CTestMidpoint* m = AddMidpoint(p->m_id, m_a->m_id);
    CDragRun drag(*m_page, *p);
    // Into the first fan triangle ABC, then across the diagonal AC into ACD: the fan index and the
    // weights change.
    struct Step {
        double x, y;
        int fan;
        float weight0, weightK;
    };
    for (Step s : {Step{3, 1, 1, 0.25f, 0.5f}, Step{1, 3, 2, 0.25f, 0.25f}}) {
        RayDownZ(s.x, s.y);
        drag.Move();
        ExpectAt(*p, float(s.x), float(s.y), 0);
        ExpectSynced(*p);
        EXPECT_EQ(p->m_fanIndex, s.fan);
        EXPECT_FLOAT_EQ(p->m_weight0, s.weight0);
        EXPECT_FLOAT_EQ(p->m_weightK, s.weightK);
        ExpectAt(*m, float(s.x / 2), float(s.y / 2), 0);
    }
    // Outside: beyond BC, beyond AD (found only after the walk), and along the face's plane.
    const CPointState before = StateOf(*p);
    for (auto ray : {std::pair{5.0, 1.0}, std::pair{-1.0, 2.0}, std::pair{2.0, -0.5}, std::pair{2.0, 9.0}}) {
        RayDownZ(ray.first, ray.second);
        drag.Move();
        EXPECT_EQ(StateOf(*p), before) << ray.first << " " << ray.second;
        EXPECT_EQ(p->m_fanIndex, 2);
    }
    RayAlongX(2, 0);
    drag.Move();
    EXPECT_EQ(StateOf(*p), before);
    ExpectAt(*m, 0.5f, 1.5f, 0);
    // The recomputed point from the new weights is where the drag put it.
    p->Recompute();
    ExpectNear(*p, 1, 3, 0, 1e-6);
}

TEST_F(ConfinedPointsTest, FacePointOnATiltedPolygonWithAnObliqueRay) {
    // The pentagon in the plane x + z = 2, walked in its three fan triangles ABC, ACD, ADE.
    CGVertex* a = AddPoint(0, 0, 2);
    CGVertex* b = AddPoint(2, 0, 0);
    CGVertex* c = AddPoint(2, 2, 0);
    CGVertex* d = AddPoint(1, 3, 1);
    CGVertex* e = AddPoint(0, 2, 2);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id, d->m_id, e->m_id});
    auto* p = Add<CGVerFreeInFace>(face->m_id, 0.2f, 0.2f);
    // The ray from (10.3, 2, 11.7) towards (-9.7, 2, -8.3) meets the plane at (0.3, 2, 1.7), in ADE
    // with the weights 0.15, 0.3 (and 0.55 for E).
    SetRay(10.3, 2, 11.7, -9.7, 2, -8.3);
    p->ConstrainToCarrier();
    ExpectNear(*p, 0.3, 2, 1.7);
    EXPECT_EQ(p->m_fanIndex, 3);
    EXPECT_NEAR(p->m_weight0, 0.15, 1e-5);
    EXPECT_NEAR(p->m_weightK, 0.3, 1e-5);
    p->Recompute();
    ExpectNear(*p, 0.3, 2, 1.7, 1e-5);
    // Through (1, 0.5, 1): in ABC.
    SetRay(11, 0.5, 11, -9, 0.5, -9);
    p->ConstrainToCarrier();
    EXPECT_EQ(p->m_fanIndex, 1);
    ExpectNear(*p, 1, 0.5, 1);
}

TEST_F(ConfinedPointsTest, PlanePointFollowsTheMouseAnywhereInItsPlane) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(2, 0, 0);
    CGVertex* c = AddPoint(0, 2, 0);
    auto* p = Add<CGVerFreeInPlane>(a->m_id, b->m_id, c->m_id, 0.25f, 0.25f);
    ExpectValidAt(*p, 0.5f, 1, 0);
    EXPECT_EQ(p->GetDescription(), u"三点ABC所在平面内的自由点");
    EXPECT_EQ(p->m_color, g_colorFreePoint);
    // Outside the triangle: weights beyond [0, 1].
    RayDownZ(5, -3);
    CDragRun(*m_page, *p).Move();
    ExpectAt(*p, 5, -3, 0);
    ExpectSynced(*p);
    EXPECT_FLOAT_EQ(p->m_weightA, 0.0f);
    EXPECT_FLOAT_EQ(p->m_weightB, 2.5f);
    // The plane tilts with C: the weights carry the point along.
    MovePoint(c, 0, 2, 2);
    ExpectAt(*p, 5, -3, -3);
    // A ray along the plane leaves the point, and so do collinear points, which span no plane.
    MovePoint(c, 0, 2, 0);
    const CPointState before = StateOf(*p);
    const float weights[2] = {p->m_weightA, p->m_weightB};
    RayAlongX(1, 0);
    p->ConstrainToCarrier();
    EXPECT_EQ(StateOf(*p), before);
    EXPECT_EQ(p->m_weightA, weights[0]);
    MovePoint(c, 4, 0, 0);
    RayDownZ(1, 1);
    p->ConstrainToCarrier();
    EXPECT_EQ(p->m_weightB, weights[1]);
    // Invalid while a point is, valid again after.
    a->m_valid = false;
    MovePoint(b, 2, 0, 0);
    EXPECT_FALSE(p->m_valid);
    a->m_valid = true;
    MovePoint(c, 0, 2, 0);
    ExpectValidAt(*p, 5, -3, 0);

    // (A - B) x (C - B) = (0, 0, -0.0004) for a tiny triangle: the ray meets the plane, but no
    // projection's determinant reaches 0.001, and the weights are kept.
    MovePoint(b, 0.02f, 0, 0);
    MovePoint(c, 0, 0.02f, 0);
    p->m_weightA = p->m_weightB = 0.5f;
    RayDownZ(3, 3);
    p->ConstrainToCarrier();
    ExpectAt(*p, 3, 3, 0);
    EXPECT_EQ(p->m_weightA, 0.5f);
    EXPECT_EQ(p->m_weightB, 0.5f);
    p->Recompute();
    ExpectAt(*p, 0.01f, 0, 0);
}

TEST_F(ConfinedPointsTest, FollowerKeepsTheLeadersHeight) {
    auto* leader = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    auto* p = Add<CGVerFree2dHenchman>(4.0f, 6.0f, leader->m_id);
    EXPECT_EQ(p->m_offsetX, 3.0f);
    EXPECT_EQ(p->m_offsetY, 4.0f);
    ExpectValidAt(*p, 4, 6, 3);
    ExpectSynced(*p);
    EXPECT_EQ(p->GetDescription(), u"随点A移动且等z值的自由点");
    EXPECT_EQ(leader->m_children.GetTail(), p->m_id);
    // The leader dragged up (Ctrl held: in the plane of constant y): the follower keeps its offset
    // and the leader's height.
    g_dragKeepZ = 0;
    {
        CDragRun drag(*m_page, *leader);
        RayAlongY(1, 8);
        drag.Move();
    }
    g_dragKeepZ = 1;
    ExpectAt(*p, 4, 6, 8);
    // Dragged itself: in the horizontal plane through it, the offset taken from where it lands.
    RayDownZ(7.25, -2.5);
    p->ConstrainToCarrier();
    ExpectAt(*p, 7.25f, -2.5f, 8);
    EXPECT_EQ(p->m_offsetX, 6.25f);
    EXPECT_EQ(p->m_offsetY, -4.5f);
    g_snapToGrid = 1;
    RayDownZ(-3.4, 5.6);
    p->ConstrainToCarrier();
    ExpectAt(*p, -3, 6, 8);
    g_snapToGrid = 0;
    // Refused: a ray almost along the horizontal plane, and a hit beyond 200.
    const CPointState before = StateOf(*p);
    SetRay(100, 0, 8 + 4.5, -100, 0, 8 - 4.5);
    p->ConstrainToCarrier();
    EXPECT_EQ(StateOf(*p), before);
    RayDownZ(250, 0);
    p->ConstrainToCarrier();
    EXPECT_EQ(StateOf(*p), before);
    EXPECT_EQ(p->m_offsetX, -4.0f);
    // An oblique ray: the hit of the plane z = 8.
    SetRay(10, 0, 18, -10, 0, -2);
    p->ConstrainToCarrier();
    ExpectAt(*p, 0, 0, 8);

    // A place given by other means: SyncVertex keeps it and takes the offset from it.
    leader->SetPosition(1, 2, 5);
    p->m_x = 10.0f;
    p->m_y = 0.0f;
    p->SyncVertex();
    ExpectAt(*p, 10, 0, 5);
    ExpectSynced(*p);
    EXPECT_EQ(p->m_offsetX, 9.0f);
    EXPECT_EQ(p->m_offsetY, -2.0f);
    // Invalid while the leader is, valid again after.
    leader->m_valid = false;
    Changed(leader);
    EXPECT_FALSE(p->m_valid);
    leader->m_valid = true;
    MovePoint(leader, 0, 0, 0);
    ExpectValidAt(*p, 9, -2, 0);
}

TEST_F(ConfinedPointsTest, Records) {
    CGFace* face = MakeSquare();
    auto* inFace = Add<CGVerFreeInFace>(face->m_id, 0.25f, 0.125f);
    inFace->m_fanIndex = 2;
    inFace->Recompute();
    ExpectRecord<CGVerFreeInFace>(
        inFace, PointRecord("CGVerFreeInFace", *inFace).I32(2).F32(0.25f).F32(0.125f).Bytes());
    // A fan index of the file that names no triangle loads, and makes the point invalid.
    std::vector<BYTE> damaged = Stored(inFace);
    damaged[damaged.size() - 12] = 9;
    auto odd = Loaded<CGVerFreeInFace>(damaged);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->m_fanIndex, 9);
    odd->Recompute();
    EXPECT_FALSE(odd->m_valid);

    auto* inPlane = Add<CGVerFreeInPlane>(m_a->m_id, m_b->m_id, m_d->m_id, -0.5f, 1.25f);
    ExpectRecord<CGVerFreeInPlane>(inPlane,
                                   PointRecord("CGVerFreeInPlane", *inPlane).F32(-0.5f).F32(1.25f).Bytes());

    auto* leader = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    auto* follower = Add<CGVerFree2dHenchman>(4.0f, 6.0f, leader->m_id);
    ExpectRecord<CGVerFree2dHenchman>(
        follower, PointRecord("CGVerFree2dHenchman", *follower).F32(3.0f).F32(4.0f).Bytes());
}
