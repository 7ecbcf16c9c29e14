// Drags run as the view runs them: the descendants are collected once when the drag begins and
// recomputed in ascending id order after every move onto the carrier; constrained points keep their
// relations while dragged; a point with a thousand descendants.
#include "free_point_fixture.h"

#include "model/arc_circles.h"

#include <cmath>

namespace {

double Distance(const CGVertex& p, const CGVertex& q) {
    const double d[3] = {double(p.m_x) - q.m_x, double(p.m_y) - q.m_y, double(p.m_z) - q.m_z};
    return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

// (q - p) . (s - r)
double DotOf(const CGVertex& p, const CGVertex& q, const CGVertex& r, const CGVertex& s) {
    return (double(q.m_x) - p.m_x) * (double(s.m_x) - r.m_x) +
           (double(q.m_y) - p.m_y) * (double(s.m_y) - r.m_y) +
           (double(q.m_z) - p.m_z) * (double(s.m_z) - r.m_z);
}

class FreePointDragTest : public FreePointTest {
protected:
    bool AnyMarked() const {
        for (WORD id : m_page->m_cells.Keys()) {
            CGCell* cell = m_page->m_cells.Find(id);
            if (cell->m_mark)
                return true;
        }
        return false;
    }
    // A few rays from several sides, each through a point near the origin.
    static void RayNumber(int i) {
        const double x = 0.7 * i - 2, y = 1.3 - 0.4 * i, z = 0.5 * (i % 3);
        const double dir[3] = {30.0 * std::sin(i), 25.0 * std::cos(1.7 * i), 200.0 - 40.0 * (i % 4)};
        SetRay(x + dir[0], y + dir[1], z + dir[2], x - dir[0], y - dir[1], z - dir[2]);
    }
};

} // namespace

TEST_F(FreePointDragTest, DescendantsFollowAFreePointInSpace) {
    auto* p = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* o = AddPoint(4, 0, 0);
    CGLine* po = AddLine(p->m_id, o->m_id);
    CTestMidpoint* m = AddMidpoint(p->m_id, o->m_id);
    auto* q = Add<CGVerFreeInLine>(po->m_id, 0.25f);
    auto* h = Add<CGVerFreeHenchman>(1.0f, 1.0f, 1.0f, p->m_id);
    CTestMidpoint* mq = AddMidpoint(q->m_id, h->m_id);

    std::vector<WORD> log;
    CTestMidpoint::s_log = &log;
    CDragRun drag(*m_page, *p);
    EXPECT_EQ(g_draggedId, p->m_id);
    const std::vector<WORD> expected = {po->m_id, m->m_id, q->m_id, h->m_id, mq->m_id};
    EXPECT_EQ(m_page->m_scratchIds, expected);
    EXPECT_FALSE(AnyMarked());

    RayDownZ(2, 2);
    drag.Move();
    ExpectAt(*p, 2, 2, 0);
    ExpectAt(*m, 3, 1, 0);
    ExpectAt(*q, 2.5f, 1.5f, 0);
    ExpectAt(*h, 3, 3, 1);
    ExpectAt(*mq, 2.75f, 2.25f, 0.5f);
    ExpectSynced(*q);
    EXPECT_EQ(log, (std::vector<WORD>{m->m_id, mq->m_id}));
    // A refused move leaves the point and its descendants where they were.
    RayDownZ(300, 0);
    drag.Move();
    ExpectAt(*p, 2, 2, 0);
    ExpectAt(*mq, 2.75f, 2.25f, 0.5f);
    CTestMidpoint::s_log = nullptr;
}

TEST_F(FreePointDragTest, PointsOnCarriersDragTheirDescendants) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* onLine = Add<CGVerFreeInLine>(ab->m_id, 0.5f);
    CGVertex* c = AddPoint(0, 4, 0);
    CTestMidpoint* m = AddMidpoint(onLine->m_id, c->m_id);
    // A circle about the point on the line through C, and a point on that circle.
    CGVertex* d = AddPoint(1, 1, 0);
    auto* circle = Insert(new CGArcCenterP(NextId(), onLine->m_id, c->m_id, d->m_id, CGArc::kCircle));
    auto* onCircle = Add<CGVerFreeInCircle>(circle->m_id, 0.0f);
    ExpectNear(*onCircle, 0, 4, 0);

    {
        CDragRun drag(*m_page, *onLine);
        RayDownZ(3, 1);
        drag.Move();
        ExpectAt(*onLine, 3, 0, 0);
        ExpectAt(*m, 1.5f, 2, 0);
        EXPECT_TRUE(circle->m_valid);
        ExpectNear(*onCircle, 0, 4, 0); // angle 0 is the direction of C
        EXPECT_FLOAT_EQ(circle->m_radius, 5.0f);
        // Beyond the segment's end the point stops there, and so do the descendants.
        RayDownZ(9, 1);
        drag.Move();
        ExpectAt(*onLine, 4, 0, 0);
        ExpectAt(*m, 2, 2, 0);
    }
    EXPECT_EQ(g_draggedId, 0);
    {
        // Dragging the point on the circle moves it alone: it has no descendants.
        CDragRun drag(*m_page, *onCircle);
        EXPECT_TRUE(m_page->m_scratchIds.empty());
        RayDownZ(4, -8);
        drag.Move();
        ExpectNear(*onCircle, 4, -4 * std::sqrt(2.0), 0, 1e-5);
    }
}

TEST_F(FreePointDragTest, ConstrainedPointsKeepTheirRelationsWhileDragged) {
    CGVertex *a = AddPoint(0.5f, -1, 0.25f), *b = AddPoint(2, 1, 1.5f), *c = AddPoint(-1, 2, 0.5f);
    auto* upright = Add<CGVerFreeUpright>(a->m_id, b->m_id);
    auto* equid = Add<CGVerFreeUprightEquid>(a->m_id, b->m_id);
    auto* equilateral = Add<CGVerFreeEquilateral>(a->m_id, b->m_id);
    auto* parallel = Add<CGVerFreeParVecPP>(a->m_id, b->m_id, c->m_id);
    auto* perpen = Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id);
    const double ab = Distance(*a, *b);
    // (B - A) x (C - A), the normal of the plane ABC.
    const double u[3] = {1.5, 2, 1.25}, v[3] = {-1.5, 3, 0.25};
    const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const double nLength = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);

    for (CGVerFree* p : std::vector<CGVerFree*>{upright, equid, equilateral, parallel, perpen}) {
        SCOPED_TRACE(p->GetRuntimeClass()->m_lpszClassName);
        CTestMidpoint* follower = AddMidpoint(p->m_id, c->m_id);
        CDragRun drag(*m_page, *p);
        ASSERT_EQ(m_page->m_scratchIds, std::vector<WORD>{follower->m_id});
        int moved = 0;
        for (int i = 0; i < 12; ++i) {
            const CPointState before = StateOf(*p);
            RayNumber(i);
            drag.Move();
            if (!(StateOf(*p) == before))
                ++moved;
            ExpectSynced(*p);
            EXPECT_FLOAT_EQ(follower->m_x, (p->m_x + c->m_x) * 0.5f);
            EXPECT_FLOAT_EQ(follower->m_z, (p->m_z + c->m_z) * 0.5f);
            if (p == upright || p == equid) {
                EXPECT_NEAR(DotOf(*a, *p, *a, *b), 0.0, 1e-4); // PA square to AB
            }
            if (p == equid) {
                EXPECT_NEAR(Distance(*p, *a), ab, 1e-5);
            }
            if (p == equilateral) {
                EXPECT_NEAR(Distance(*p, *a), ab, 1e-5);
                EXPECT_NEAR(Distance(*p, *b), ab, 1e-5);
            }
            if (p == parallel) {
                // AP x BC = 0
                const double ap[3] = {double(p->m_x) - a->m_x, double(p->m_y) - a->m_y,
                                      double(p->m_z) - a->m_z};
                const double bc[3] = {-3, 1, -1};
                EXPECT_NEAR(ap[1] * bc[2] - ap[2] * bc[1], 0.0, 1e-4);
                EXPECT_NEAR(ap[2] * bc[0] - ap[0] * bc[2], 0.0, 1e-4);
                EXPECT_NEAR(ap[0] * bc[1] - ap[1] * bc[0], 0.0, 1e-4);
            }
            if (p == perpen) {
                // AP along the normal: its part square to n is zero.
                const double ap[3] = {double(p->m_x) - a->m_x, double(p->m_y) - a->m_y,
                                      double(p->m_z) - a->m_z};
                const double along = (ap[0] * n[0] + ap[1] * n[1] + ap[2] * n[2]) / nLength;
                EXPECT_NEAR(ap[0] * ap[0] + ap[1] * ap[1] + ap[2] * ap[2], along * along, 1e-3);
            }
        }
        EXPECT_GT(moved, 8);
        // After the drag the parameters place the point where it was left (up to the precision
        // of an angle taken back from its float cosine).
        const CPointState left = StateOf(*p);
        p->Recompute();
        ExpectNear(*p, left.x, left.y, left.z, 2e-3);
    }
}

TEST_F(FreePointDragTest, ThousandDescendantsFollowFromOneCollection) {
    // Room for 1,502 points.
    delete[] g_vertexArray;
    g_vertexArrayCapacity = 2000;
    g_vertexArray = new float[size_t(g_vertexArrayCapacity + 10) * 3]();

    auto* p = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* origin = AddPoint(0, 0, 0);
    std::vector<CGVertex*> anchors;
    std::vector<CTestMidpoint*> first, second;
    for (int k = 0; k < 500; ++k) {
        anchors.push_back(AddPoint(float(k), float(k % 7), 0));
        first.push_back(AddMidpoint(p->m_id, anchors.back()->m_id));
        second.push_back(AddMidpoint(first.back()->m_id, origin->m_id));
    }

    std::vector<WORD> log;
    CTestMidpoint::s_log = &log;
    CDragRun drag(*m_page, *p);
    const std::vector<WORD> collected = m_page->m_scratchIds;
    ASSERT_EQ(collected.size(), 1000u);
    EXPECT_TRUE(std::is_sorted(collected.begin(), collected.end()));
    EXPECT_FALSE(AnyMarked());
    // A cell built on the point after the drag began is not in the collected list.
    CTestMidpoint* late = AddMidpoint(p->m_id, origin->m_id);

    for (int step = 1; step <= 5; ++step) {
        log.clear();
        RayDownZ(2.0 * step, -4.0 * step);
        drag.Move();
        ExpectAt(*p, 2.0f * step, -4.0f * step, 0);
        // Every descendant once, in ascending id order; the list itself is not collected again.
        EXPECT_EQ(log, collected);
        EXPECT_EQ(m_page->m_scratchIds, collected);
        EXPECT_FALSE(AnyMarked());
        for (int k = 0; k < 500; k += 37) {
            const float ax = anchors[k]->m_x, ay = anchors[k]->m_y;
            ExpectAt(*first[k], (p->m_x + ax) * 0.5f, (p->m_y + ay) * 0.5f, 0);
            ExpectAt(*second[k], (p->m_x + ax) * 0.25f, (p->m_y + ay) * 0.25f, 0);
        }
        ExpectSynced(*second.back());
    }
    ExpectAt(*late, 0, 0, 0);
    CTestMidpoint::s_log = nullptr;
}
