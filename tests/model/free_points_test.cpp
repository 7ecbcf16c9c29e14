// Free points in space, on lines and on circles: construction, drags onto the carrier with the
// keep-z and Ctrl planes, the obliqueness and box limits and grid snapping, the ends of each line
// kind, arcs, following the carrier, invalid carriers, records and descriptions.
#include "model/arc_circles.h"
#include "model/dependent_points.h"

#include "free_point_fixture.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

class FreePointsTest : public FreePointTest {
protected:
    CGLine* Line(float ax, float ay, float az, float bx, float by, float bz, BYTE kind) {
        CGVertex *a = AddPoint(ax, ay, az), *b = AddPoint(bx, by, bz);
        return AddLine(a->m_id, b->m_id, kind);
    }
    CGArc* Circle(float radius, float start, float end, BYTE kind) {
        WORD id = NextId();
        return Insert(new CGArc(id, 0, 0, 0, radius, 0, 0, 0, radius, 0, start, end, kind));
    }
};

} // namespace

TEST_F(FreePointsTest, FreePointsTakeTheFreePointColourAndTheirClasses) {
    g_colorObject.a = 200;
    auto* p = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(p->m_name, u"A");
    ExpectAt(*p, 1, 2, 3);
    ExpectSynced(*p);
    EXPECT_EQ(p->m_color, (CRgba{255, 0, 0, 200})); // the alpha is the point's
    EXPECT_EQ(p->m_size, 6.0f);
    EXPECT_EQ(p->GetDescription(), u"全自由点");

    g_colorFreePoint = CRgba{10, 20, 30, 40};
    CGLine* l = Line(0, 0, 0, 4, 0, 0, CGLine::kSegment);
    auto* q = Add<CGVerFreeInLine>(l->m_id, 0.25f);
    EXPECT_EQ(q->m_color, (CRgba{10, 20, 30, 200}));
}

// Every class of free point, not only the plain ones, takes the free-point colour.
TEST_F(FreePointsTest, DefaultColoursGiveFreePointsTheirOwnColour) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    auto* upright = Add<CGVerFreeUpright>(a->m_id, b->m_id);
    upright->m_color = CRgba{1, 2, 3, 4};
    m_page->ApplyDefaultColors();
    EXPECT_EQ(upright->m_color, (CRgba{255, 0, 0, 4}));
}

TEST_F(FreePointsTest, SpaceDragKeepsZOrWithCtrlY) {
    auto* p = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    // Straight down: the plane z = 3.
    DragDownZ(p, 5, 7);
    ExpectAt(*p, 5, 7, 3);
    ExpectSynced(*p);
    // An oblique ray: s = (3 + 100) / 200 along (20, -20, 200) from (-10, 20, -100).
    Drag(p, 10, 0, 100, -10, 20, -100);
    ExpectAt(*p, 0.3f, 9.7f, 3);
    // Ctrl held: the plane y = 9.7 instead, x and z change.
    g_dragKeepZ = 0;
    Drag(p, 4, 100, -5, 4, -100, -5);
    ExpectAt(*p, 4, 9.7f, -5);
    // s = (9.7 + 100) / 200 along (2, 200, 2) from (-1, -100, -1).
    Drag(p, 1, 100, 1, -1, -100, -1);
    EXPECT_NEAR(p->m_x, -1 + 2 * (9.7 + 100) / 200, 1e-5);
    EXPECT_FLOAT_EQ(p->m_y, 9.7f);
    EXPECT_NEAR(p->m_z, -1 + 2 * (9.7 + 100) / 200, 1e-5);
    ExpectSynced(*p);
}

TEST_F(FreePointsTest, SpaceDragRefusesObliqueRaysAndHitsOutsideTheBox) {
    auto* p = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    const CPointState start = StateOf(*p);
    // Nearly edge-on: the near-minus-far z of 9.99 is below the limit, however the ray runs.
    Drag(p, 0, 0, 4.995, 0.5, 0.5, -4.995);
    EXPECT_EQ(StateOf(*p), start);
    // With Ctrl it is the y component that counts.
    g_dragKeepZ = 0;
    Drag(p, 0, 4, 100, 0, -5.99, -100);
    EXPECT_EQ(StateOf(*p), start);
    g_dragKeepZ = 1;
    // The limit is on the raw component, not on a unit direction: z 10 against x -1000 is enough,
    // and a hit at exactly 200 is inside the box.
    Drag(p, 0, 0, 5, 1000, 0, -5);
    ExpectAt(*p, 200, 0, 3);
    ExpectSynced(*p);
    // 200.2 is outside: the whole move is ignored.
    const CPointState edge = StateOf(*p);
    Drag(p, 0, 0, 5, 1001, 0, -5);
    EXPECT_EQ(StateOf(*p), edge);
    // Negative sides too.
    DragDownZ(p, 5, -200.5);
    EXPECT_EQ(StateOf(*p), edge);
    DragDownZ(p, -200, -200);
    ExpectAt(*p, -200, -200, 3);
    // A ray that is no number moves nothing.
    SetRay(std::nan(""), 0, 100, 0, 0, -100);
    g_viewDirZ = 200;
    p->ConstrainToCarrier();
    ExpectAt(*p, -200, -200, 3);
}

TEST_F(FreePointsTest, GridSnapRoundsAllThreeCoordinates) {
    g_snapToGrid = 1;
    auto* p = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    SetRay(10, 0, 100, -10, 20, -100); // hits (0.3, 9.7, 3)
    p->ConstrainToCarrier();
    ExpectAt(*p, 0, 10, 3);
    ExpectSynced(*p);
    // The kept coordinate is rounded as well; halves go up.
    auto* q = Add<CGVerFreeXyz>(0.0f, 0.0f, 2.6f);
    DragDownZ(q, 1.5, -2.5);
    ExpectAt(*q, 2, -2, 3);
    // From then on the plane is z = 3.
    Drag(q, 0, 0, 100, 0.4, 0, -100);
    ExpectAt(*q, 0, 0, 3);
    // With Ctrl, the y plane and the rounding.
    g_dragKeepZ = 0;
    Drag(q, 7.4, 100, -1.6, 7.4, -100, -1.6);
    ExpectAt(*q, 7, 0, -2);
    // Without the snap the hit stays as it is.
    g_snapToGrid = 0;
    Drag(q, 7.4, 100, -1.6, 7.4, -100, -1.6);
    ExpectAt(*q, 7.4f, 0, -1.6f);
}

TEST_F(FreePointsTest, PointOnASegmentTakesTheNearestPointOfTheRay) {
    CGLine* l = Line(0, 0, 0, 4, 0, 0, CGLine::kSegment);
    auto* p = Add<CGVerFreeInLine>(l->m_id, 0.5f);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, 2, 0, 0);
    EXPECT_EQ(p->GetDescription(), u"线AB上的点");
    DragDownZ(p, 3, 1);
    ExpectAt(*p, 3, 0, 0, 0.75f);
    ExpectSynced(*p);
    // An oblique ray: the point of the line nearest to it.
    Drag(p, 1, 5, 100, 3, -5, -100);
    ExpectNear(*p, 2, 0, 0);
    EXPECT_NEAR(p->m_param1, 0.5, 1e-6);
}

TEST_F(FreePointsTest, PointOnEachLineKindKeepsToItsExtent) {
    struct Case {
        BYTE kind;
        double tBeyondB, tBeforeA;
    };
    for (Case c : {Case{CGLine::kSegment, 1.0, 0.0}, Case{CGLine::kVector, 1.0, 0.0},
                   Case{CGLine::kRay, 1.5, 0.0}, Case{CGLine::kLine, 1.5, -0.5}}) {
        SCOPED_TRACE(int(c.kind));
        CGLine* l = Line(0, 1, 0, 4, 1, 0, c.kind);
        auto* p = Add<CGVerFreeInLine>(l->m_id, 0.5f);
        DragDownZ(p, 6, 3);
        ExpectAt(*p, float(4 * c.tBeyondB), 1, 0, float(c.tBeyondB));
        DragDownZ(p, -2, 3);
        ExpectAt(*p, float(4 * c.tBeforeA), 1, 0, float(c.tBeforeA));
        ExpectSynced(*p);
    }
}

TEST_F(FreePointsTest, PointOnALineFollowsItAndStaysWhenTheLineRunsAlongTheRay) {
    CGLine* l = Line(0, 0, 0, 4, 0, 0, CGLine::kSegment);
    auto* p = Add<CGVerFreeInLine>(l->m_id, 0.5f);
    DragDownZ(p, 3, 1);
    // The carrier moves: the same ratio along the new line.
    MovePoint(l->GetEnd(1), 8, 4, 0);
    ExpectAt(*p, 6, 3, 0);
    ExpectSynced(*p);
    MovePoint(l->GetEnd(0), 0, 0, 4);
    ExpectAt(*p, 6, 3, 1);
    // SyncVertex recomputes from the line.
    l->GetEnd(1)->m_x = 0;
    p->SyncVertex();
    ExpectAt(*p, 0, 3, 1);

    // Looking straight along a vertical line: no nearest point, nothing changes.
    CGLine* vertical = Line(1, 1, 0, 1, 1, 4, CGLine::kLine);
    auto* q = Add<CGVerFreeInLine>(vertical->m_id, 0.25f);
    ExpectAt(*q, 1, 1, 1);
    const CPointState start = StateOf(*q);
    DragDownZ(q, 2, 2);
    EXPECT_EQ(StateOf(*q), start);
    // A line whose ends meet has no direction either.
    CGLine* dot = Line(2, 2, 2, 2, 2, 2, CGLine::kSegment);
    auto* r = Add<CGVerFreeInLine>(dot->m_id, 0.5f);
    ExpectAt(*r, 2, 2, 2);
    DragDownZ(r, 5, 5);
    ExpectAt(*r, 2, 2, 2);
    EXPECT_EQ(r->m_param1, 0.5f);
}

TEST_F(FreePointsTest, PointOnACircleTakesTheAngleOfTheRay) {
    CGArc* c = Circle(2, 0, float(2 * kPi), CGArc::kCircle);
    auto* p = Add<CGVerFreeInCircle>(c->m_id, 1.0f);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, 2 * std::cos(1.0f), 2 * std::sin(1.0f), 0);
    ExpectSynced(*p);
    EXPECT_EQ(p->GetDescription(), u"圆c1上的点");
    DragDownZ(p, 0, 5);
    ExpectNear(*p, 0, 2, 0);
    EXPECT_NEAR(p->m_param1, kPi / 2, 1e-6);
    ExpectSynced(*p);
    DragDownZ(p, -3, 0);
    ExpectNear(*p, -2, 0, 0);
    EXPECT_NEAR(p->m_param1, kPi, 1e-6);
    // Inside the circle the direction decides.
    Drag(p, 0.1, -0.1, 100, 0.1, -0.1, -100);
    ExpectNear(*p, std::sqrt(2.0), -std::sqrt(2.0), 0);
    EXPECT_NEAR(p->m_param1, 1.75 * kPi, 1e-6);

    // Edge-on: the ray runs in the circle's plane; nothing changes.
    const CPointState start = StateOf(*p);
    DragAlongX(p, 0.5, 0);
    EXPECT_EQ(StateOf(*p), start);
}

TEST_F(FreePointsTest, PointOnAnArcKeepsToItsSweep) {
    CGArc* arc = Circle(2, 0, float(kPi / 2), CGArc::kArc);
    auto* p = Add<CGVerFreeInCircle>(arc->m_id, 0.5f);
    ExpectAt(*p, 2 * std::cos(0.5f), 2 * std::sin(0.5f), 0);
    // Below the start, nearer to it going round: the start.
    DragDownZ(p, 1, -1);
    ExpectNear(*p, 2, 0, 0);
    EXPECT_EQ(p->m_param1, 0.0f);
    // Just past a half turn, nearer to the end.
    DragDownZ(p, -1, -0.2);
    ExpectNear(*p, 0, 2, 0);
    EXPECT_NEAR(p->m_param1, kPi / 2, 1e-6);
    // Within the sweep.
    DragDownZ(p, 1, 1);
    ExpectNear(*p, std::sqrt(2.0), std::sqrt(2.0), 0);
}

TEST_F(FreePointsTest, PointOnACircleFollowsItAtItsAngle) {
    CGVertex *o = AddPoint(1, 1, 1), *a = AddPoint(3, 1, 1), *b = AddPoint(1, 5, 1);
    auto* c = Insert(new CGArcCenterP(NextId(), o->m_id, a->m_id, b->m_id, CGArc::kCircle));
    auto* p = Add<CGVerFreeInCircle>(c->m_id, float(kPi / 2));
    ExpectNear(*p, 1, 3, 1);
    // The radius grows: the same angle on the new circle.
    MovePoint(a, 4, 1, 1);
    ExpectNear(*p, 1, 4, 1);
    ExpectSynced(*p);
    // The circle turns into the plane x = 1.
    MovePoint(a, 1, 1, 4);
    ExpectNear(*p, 1, 4, 1);
    MovePoint(b, 1, -3, 1);
    ExpectNear(*p, 1, -2, 1);
    MovePoint(o, 1, 0, 1);
    EXPECT_EQ(p->m_param1, float(kPi / 2));

    // SyncVertex reads the kept copy, not the circle, until the next Recompute.
    CGArc* fixed = Insert(new CGArc(NextId(), 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, float(2 * kPi), CGArc::kCircle));
    auto* q = Add<CGVerFreeInCircle>(fixed->m_id, 1.0f);
    fixed->m_center[0] = 10;
    q->m_param1 = 0;
    q->SyncVertex();
    ExpectAt(*q, 2, 0, 0);
    ExpectSynced(*q);
    q->Recompute();
    ExpectAt(*q, 12, 0, 0);
    // A drag does not refresh the copy either.
    fixed->m_center[0] = 20;
    DragDownZ(q, 20, 5);
    ExpectNear(*q, 20, 2, 0);
    EXPECT_EQ(q->m_center[0], 10.0f);
}

TEST_F(FreePointsTest, InvalidCarrierInvalidatesThePointUntilItRecovers) {
    // A circle through three points that fall onto one line.
    CGVertex *p1 = AddPoint(1, 0, 0), *p2 = AddPoint(0, 1, 0), *p3 = AddPoint(-1, 0, 0);
    auto* circle = Insert(new CGArcCircle3P(NextId(), p1->m_id, p2->m_id, p3->m_id, CGArc::kCircle));
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, float(kPi / 2));
    ExpectNear(*p, 0, 1, 0);
    MovePoint(p2, 0.3f, 0, 0);
    EXPECT_FALSE(circle->m_valid);
    EXPECT_FALSE(p->m_valid);
    ExpectNear(*p, 0, 1, 0); // where it was
    EXPECT_EQ(Slot(p->m_vertexIndex)[1], p->m_y);
    MovePoint(p2, 0, -2, 0); // a new circle: centre (0, -0.75, 0), radius 1.25
    EXPECT_TRUE(circle->m_valid);
    EXPECT_TRUE(p->m_valid);
    double q[3];
    circle->PointAtAngle(kPi / 2, q);
    ExpectNear(*p, q[0], q[1], q[2]);

    // A line whose end is a foot that disappears while A and B meet.
    CGVertex *top = AddPoint(1, 3, 0), *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0);
    auto* foot = Insert(new CGVerFootpl(NextId(), NextVertex(), CString(u"F"), top->m_id, a->m_id, b->m_id));
    CGLine* line = AddLine(foot->m_id, top->m_id);
    auto* r = Add<CGVerFreeInLine>(line->m_id, 0.5f);
    ExpectAt(*r, 1, 1.5f, 0);
    MovePoint(b, 0, 0, 0);
    EXPECT_FALSE(foot->m_valid);
    EXPECT_FALSE(line->m_valid);
    EXPECT_FALSE(r->m_valid);
    ExpectAt(*r, 1, 1.5f, 0);
    MovePoint(b, 0, 2, 0); // the foot of (1, 3, 0) on the y axis
    EXPECT_TRUE(r->m_valid);
    ExpectAt(*r, 0.5f, 3, 0);
    ExpectSynced(*r);

    // A carrier of the wrong class, or none at all.
    auto* onPoint = Add<CGVerFreeInLine>(a->m_id, 0.5f);
    EXPECT_FALSE(onPoint->m_valid);
    EXPECT_EQ(onPoint->GetDescription(), u"线上的点");
    auto* onNothing = Add<CGVerFreeInCircle>(WORD(999), 1.0f);
    EXPECT_FALSE(onNothing->m_valid);
    EXPECT_EQ(onNothing->GetDescription(), u"圆上的点");
    DragDownZ(onPoint, 1, 1);
    onNothing->ConstrainToCarrier();
    ExpectAt(*onNothing, 0, 0, 0);
}

TEST_F(FreePointsTest, RecordsAreThePointRecordAndTheKeptCircle) {
    auto* xyz = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    CGLine* l = Line(0, 0, 0, 4, 0, 0, CGLine::kSegment);
    auto* onLine = Add<CGVerFreeInLine>(l->m_id, 0.25f);
    CGArc* c = Circle(2, 0, float(2 * kPi), CGArc::kCircle);
    auto* onCircle = Add<CGVerFreeInCircle>(c->m_id, 0.0f);
    const float offset = 4.0f * 0.05f;

    auto common = [&](const CGVertex& p) {
        return CommonRecord{.id = p.m_id, .name = p.m_name.Str(), .labelHidden = 0,
                            .labelPos = {p.m_x + offset, p.m_y, p.m_z + offset},
                            .color = CRgba{255, 0, 0, 255}, .size = 6.0f, .param = {p.m_param1, 0, 0},
                            .parents = Ids(p.m_parents), .children = {}};
    };
    auto pointFields = [&](ByteBuilder& b, float x, float y, float z) {
        b.F32(x).F32(y).F32(z).F32(offset).F32(0).F32(offset);
    };

    ByteBuilder expected;
    expected.NewClass("CGVerFreeXyz");
    common(*xyz).AppendTo(expected);
    pointFields(expected, 1, 2, 3);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(xyz); }), expected.Bytes());

    ByteBuilder line;
    line.NewClass("CGVerFreeInLine");
    CommonRecord lineCommon = common(*onLine);
    EXPECT_EQ(lineCommon.param[0], 0.25f);
    lineCommon.AppendTo(line);
    pointFields(line, 1, 0, 0);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(onLine); }), line.Bytes());

    ByteBuilder circle;
    circle.NewClass("CGVerFreeInCircle");
    common(*onCircle).AppendTo(circle);
    pointFields(circle, 2, 0, 0);
    for (float v : {0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 4})
        circle.F32(v);
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(onCircle); });
    EXPECT_EQ(bytes, circle.Bytes());

    // Loaded, the point has its angle and kept circle: SyncVertex places it without the circle.
    CObject* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    auto* back = DYNAMIC_DOWNCAST(CGVerFreeInCircle, loaded);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_axisV[1], 2.0f);
    EXPECT_EQ(back->m_normal[2], 4.0f);
    back->m_param1 = float(kPi);
    back->m_vertexIndex = 0;
    back->SyncVertex();
    EXPECT_NEAR(back->m_x, -2, 1e-6);
    delete loaded;

    // Cut short inside the kept circle.
    std::vector<BYTE> own = StoreBytes([&](CArchive& ar) { onCircle->Serialize(ar); });
    std::vector<BYTE> shorter(own.begin(), own.end() - 2);
    CGVerFreeInCircle cut;
    EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);
}

TEST_F(FreePointsTest, PlainFreePointRecordLoadsAsAPointThatNoDragMoves) {
    // A point of the base class, as older documents hold them.
    ByteBuilder record;
    record.NewClass("CGVerFree");
    CommonRecord common{.id = 1, .name = u"P", .labelHidden = 0, .color = CRgba{255, 0, 0, 255}, .size = 6.0f,
                        .parents = {}, .children = {}};
    common.AppendTo(record);
    record.F32(1).F32(2).F32(3).F32(0).F32(0).F32(0);
    CObject* loaded = nullptr;
    LoadBytes(record, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    auto* p = DYNAMIC_DOWNCAST(CGVerFree, loaded);
    ASSERT_NE(p, nullptr);
    Insert(p);
    EXPECT_EQ(p->GetDescription(), u"自由点");
    EXPECT_EQ(p->m_color, (CRgba{255, 0, 0, 255}));
    p->m_vertexIndex = NextVertex();
    p->Recompute();
    EXPECT_TRUE(p->m_valid);
    DragDownZ(p, 5, 5);
    ExpectAt(*p, 1, 2, 3);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(p); }), record.Bytes());
}
