// Constrained free points: the orbit frame and the drags of the orbit points (free radius, fixed
// radius, equilateral) with their fallbacks and the hit on the centre, the points on a line through
// A, the follower, invalid parents, descriptions and records.
#include "model/page.h"

#include "free_point_fixture.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"

#include <array>
#include <initializer_list>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
const double kAngle34 = std::acos(0.6); // the angle of (3, 4) from the first axis

class ConstrainedPointsTest : public FreePointTest {
protected:
    static void ExpectVec(const float* v, float x, float y, float z) {
        EXPECT_FLOAT_EQ(v[0], x);
        EXPECT_FLOAT_EQ(v[1], y);
        EXPECT_FLOAT_EQ(v[2], z);
    }
    // The orbit frame: the direction of AB and the two axes square to it, three floats each.
    static void ExpectFrame(const CGVerFreeOrbit& p, std::array<float, 9> f) {
        ExpectVec(p.m_dir, f[0], f[1], f[2]);
        ExpectVec(p.m_e1, f[3], f[4], f[5]);
        ExpectVec(p.m_e2, f[6], f[7], f[8]);
    }
};

} // namespace

TEST_F(ConstrainedPointsTest, UprightPointTakesTheHitInItsPlane) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    auto* p = Add<CGVerFreeUpright>(a->m_id, b->m_id);
    EXPECT_TRUE(p->m_valid);
    EXPECT_EQ(p->m_color, g_colorFreePoint);
    ExpectAt(*p, 0, 8, 0);
    ExpectSynced(*p);
    ExpectFrame(*p, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    EXPECT_EQ(p->m_param2, 8.0f);
    EXPECT_EQ(p->m_param3, 0.0f);
    EXPECT_EQ(p->GetDescription(), u"CA⊥AB");

    // Along -x through (y 3, z 4): the plane x = 0 is met at (0, 3, 4): distance 5.
    DragAlongX(p, 3, 4);
    ExpectAt(*p, 0, 3, 4);
    ExpectSynced(*p);
    EXPECT_FLOAT_EQ(p->m_param2, 5.0f);
    EXPECT_FLOAT_EQ(p->m_param3, float(kAngle34));
    // Below the first axis towards -e2: a negative angle.
    DragAlongX(p, 3, -4);
    ExpectAt(*p, 0, 3, -4);
    EXPECT_FLOAT_EQ(p->m_param3, -float(kAngle34));
    // An oblique ray through the same hit.
    Drag(p, 10, 1, 2, -10, 5, 6);
    ExpectAt(*p, 0, 3, 4);
    EXPECT_FLOAT_EQ(p->m_param3, float(kAngle34));

    // B turns AB onto y: the frame turns, the point keeps its distance and angle.
    MovePoint(b, 0, 1, 0);
    ExpectFrame(*p, {0, 1, 0, -1, 0, 0, 0, 0, 1});
    ExpectNear(*p, -3, 0, 4);
    ExpectSynced(*p);

    // A ray along the plane y = 0: the point turns by 0.02 about A instead.
    DragAlongX(p, 2, 5);
    const double phi = kAngle34 + 0.02;
    EXPECT_FLOAT_EQ(p->m_param3, float(kAngle34) + 0.02f);
    EXPECT_FLOAT_EQ(p->m_param2, 5.0f);
    ExpectNear(*p, -5 * std::cos(phi), 0, 5 * std::sin(phi));

    // A hit on A itself: distance 0 and, having no direction, angle 0.
    DragAlongY(p, 0, 0);
    ExpectAt(*p, 0, 0, 0);
    EXPECT_EQ(p->m_param2, 0.0f);
    EXPECT_EQ(p->m_param3, 0.0f);
}

TEST_F(ConstrainedPointsTest, OrbitFrameAlongZAndOfAShortSegment) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(0, 0, 3);
    auto* p = Add<CGVerFreeUpright>(a->m_id, b->m_id);
    ExpectVec(p->m_e1, 0, 1, 0);
    ExpectVec(p->m_e2, -1, 0, 0);
    ExpectAt(*p, 0, 8, 0); // angle 0 is +y
    p->m_param3 = float(kPi / 2);
    p->Recompute();
    ExpectNear(*p, -8, 0, 0);
    // Both senses of AB give the same frame.
    MovePoint(b, 0, 0, -3);
    ExpectVec(p->m_dir, 0, 0, -1);
    ExpectVec(p->m_e2, -1, 0, 0);
    ExpectNear(*p, -8, 0, 0);
    // A segment of at most 0.001 has the direction (1, 0, 0).
    MovePoint(b, 0.0005f, 0.0005f, 0);
    EXPECT_TRUE(p->m_valid);
    ExpectFrame(*p, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    ExpectNear(*p, 0, 0, 8);
    // A general direction: e1 flat, e2 = d x e1.
    MovePoint(b, 0, 3, 4);
    ExpectFrame(*p, {0, 0.6f, 0.8f, -1, 0, 0, 0, -0.8f, 0.6f});
}

TEST_F(ConstrainedPointsTest, UprightEquidistantPointKeepsPAEqualToAB) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0);
    auto* p = Add<CGVerFreeUprightEquid>(a->m_id, b->m_id);
    ExpectAt(*p, 0, 2, 0);
    EXPECT_EQ(p->m_radius, 2.0f);
    EXPECT_EQ(p->GetDescription(), u"CA⊥AB，CA=AB");
    // The hit (0, 3, 4) only chooses the angle.
    DragAlongX(p, 3, 4);
    ExpectAt(*p, 0, 1.2f, 1.6f, float(kAngle34));
    ExpectSynced(*p);
    MovePoint(b, 4, 0, 0);
    ExpectNear(*p, 0, 2.4, 3.2);

    // A hit on the very centre has no direction: the point stays where it was.
    const CPointState before = StateOf(*p);
    DragAlongX(p, 0, 0);
    EXPECT_EQ(StateOf(*p), before);
    ExpectSynced(*p);

    // A hit on -e1 whose float distance rounds below the cosine's numerator: still the angle pi,
    // so the point stays on that side when AB changes.
    DragAlongX(p, -0.7, 0);
    ExpectAt(*p, 0, -4, 0, float(kPi));
    MovePoint(b, 5, 0, 0);
    ExpectNear(*p, 0, -5, 0, 1e-5);

    // A ray along the plane x = 0: a turn of 0.02 on the circle.
    DragAlongY(p, 0, 1);
    EXPECT_FLOAT_EQ(p->m_param1, float(kPi) + 0.02f);
    ExpectNear(*p, 0, 5 * std::cos(kPi + 0.02), 5 * std::sin(kPi + 0.02));

    // SyncVertex: the kept frame and radius about the current A.
    p->m_param1 = float(kPi / 2);
    a->m_x = 1;
    p->SyncVertex();
    ExpectNear(*p, 1, 0, 5);
    ExpectSynced(*p);
}

TEST_F(ConstrainedPointsTest, EquilateralPointCirclesTheMidpoint) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0);
    auto* p = Add<CGVerFreeEquilateral>(a->m_id, b->m_id);
    ExpectAt(*p, 1, 1.7320508f, 0);
    EXPECT_EQ(p->GetDescription(), u"C、A、B成等边");
    // The plane x = 1 is met at (1, 0, 3).
    DragAlongX(p, 0, 3);
    ExpectNear(*p, 1, 0, 1.7320508);
    EXPECT_FLOAT_EQ(p->m_param1, float(kPi / 2));
    // The hit on the midpoint leaves it where it was.
    const CPointState before = StateOf(*p);
    DragAlongX(p, 0, 0);
    EXPECT_EQ(StateOf(*p), before);
    // A ray along the plane meets it far away (den 0.00001): no turn of its own.
    p->m_param1 = 0;
    p->Recompute();
    DragDownZ(p, 5, 1);
    ExpectNear(*p, 1, 0, 1.7320508);
    EXPECT_NEAR(p->m_param1, kPi / 2, 1e-6);
    // The triangle follows A and B.
    MovePoint(b, 4, 0, 0);
    ExpectNear(*p, 2, 0, 2 * 1.7320508);
    // SyncVertex: the kept radius about the current midpoint.
    b->m_x = 6;
    p->m_param1 = 0;
    p->SyncVertex();
    ExpectNear(*p, 3, 2 * 1.7320508, 0);
}

TEST_F(ConstrainedPointsTest, PointParallelToADirection) {
    CGVertex* a = AddPoint(1, 1, 1);
    auto* p = Add<CGVerFreeParVector>(2.0f, 0.0f, 0.0f, a->m_id);
    ExpectVec(p->m_dir, 1, 0, 0);
    EXPECT_EQ(p->m_param1, 8.0f);
    ExpectAt(*p, 9, 1, 1);
    EXPECT_EQ(p->GetDescription(), u"向量AB∥（1.0000,0.0000,0.0000）");
    // Looking down at x = 4: the point of the line nearest to the ray.
    DragDownZ(p, 4, 5);
    ExpectAt(*p, 4, 1, 1, 3.0f);
    ExpectSynced(*p);
    // The other side of A: a negative distance, and the drag goes on from there.
    DragDownZ(p, -2, 5);
    ExpectAt(*p, -2, 1, 1, -3.0f);
    DragDownZ(p, 0, -5);
    ExpectAt(*p, 0, 1, 1, -1.0f);
    // Looking along the line: the point goes to 0.1 from A.
    DragAlongX(p, 1, 1);
    ExpectAt(*p, 1.1f, 1, 1, 0.1f);
    // A follows; SyncVertex recomputes.
    MovePoint(a, 0, 0, 0);
    ExpectAt(*p, 0.1f, 0, 0);
    p->m_param1 = 2;
    p->SyncVertex();
    ExpectAt(*p, 2, 0, 0);
    // On A itself there is no line to drag along: the same fallback.
    p->m_param1 = 0;
    p->Recompute();
    DragDownZ(p, 3, 3);
    ExpectAt(*p, 0.1f, 0, 0);

    auto* diagonal = Add<CGVerFreeParVector>(3.0f, 3.0f, 0.0f, a->m_id);
    EXPECT_EQ(diagonal->GetDescription(), u"向量AC∥（0.7071,0.7071,0.0000）");
    auto* none = Add<CGVerFreeParVector>(0.0f, 0.0f, 0.0f, a->m_id);
    ExpectVec(none->m_dir, 0, 0, 0);
    ExpectAt(*none, 0, 0, 0);
    EXPECT_TRUE(none->m_valid);
}

TEST_F(ConstrainedPointsTest, PointParallelToBC) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 1, 0), *c = AddPoint(1, 3, 0);
    auto* p = Add<CGVerFreeParVecPP>(a->m_id, b->m_id, c->m_id);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CGVerFreeParVector)));
    ExpectVec(p->m_dir, 0, 1, 0);
    ExpectAt(*p, 0, 8, 0);
    EXPECT_EQ(p->GetDescription(), u"DA∥BC");
    // B on C: no direction, the point sits on A; it comes back when they part.
    MovePoint(c, 1, 1, 0);
    EXPECT_TRUE(p->m_valid);
    ExpectVec(p->m_dir, 0, 0, 0);
    ExpectAt(*p, 0, 0, 0);
    MovePoint(c, 3, 1, 0);
    ExpectAt(*p, 8, 0, 0);
    // The same drag as a point parallel to a direction.
    DragDownZ(p, 5, 3);
    ExpectAt(*p, 5, 0, 0, 5.0f);
    MovePoint(c, 1, -1, 0);
    ExpectAt(*p, 0, -5, 0);
    // An invalid B or C, then valid again.
    b->m_valid = false;
    p->Recompute();
    EXPECT_FALSE(p->m_valid);
    ExpectAt(*p, 0, -5, 0);
    b->m_valid = true;
    p->Recompute();
    EXPECT_TRUE(p->m_valid);
}

TEST_F(ConstrainedPointsTest, PointSquareToAPlane) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0), *c = AddPoint(0, 1, 0);
    auto* p = Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id);
    ExpectVec(p->m_normal, 0, 0, 1);
    ExpectAt(*p, 0, 0, 8);
    EXPECT_EQ(p->GetDescription(), u"DA⊥面ABC");
    DragAlongX(p, 0, 3);
    ExpectAt(*p, 0, 0, 3, 3.0f);
    DragAlongX(p, 0, -2);
    ExpectAt(*p, 0, 0, -2, -2.0f);
    // Looking along the normal: the point is raised by 0.01, x and y stay.
    Drag(p, 0.5, 0.5, 100, 0.5, 0.5, -100);
    ExpectAt(*p, 0, 0, -1.99f, 0.01f);
    ExpectSynced(*p);
    p->Recompute();
    ExpectAt(*p, 0, 0, 0.01f);
    // SyncVertex: the kept normal about the current A.
    p->m_param1 = 2;
    a->m_x = 5;
    p->SyncVertex();
    ExpectAt(*p, 5, 0, 2);
    MovePoint(a, 0, 0, 0);

    // Collinear points: the normal is zero and the point sits on A.
    MovePoint(c, 2, 0, 0);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, 0, 0, 0);
    // A normal shorter than 0.00001 is divided by 0.00001: the point comes nearer to A.
    p->m_param1 = 8;
    MovePoint(c, 0, 0.000005f, 0);
    ExpectNear(*p, 0, 0, 8 * 0.5, 1e-5);
    // Any invalid corner.
    c->m_valid = false;
    p->Recompute();
    EXPECT_FALSE(p->m_valid);
}

TEST_F(ConstrainedPointsTest, HenchmanFollowsItsMasterAtItsOffset) {
    CGVertex* a = AddPoint(1, 2, 3);
    auto* h = Add<CGVerFreeHenchman>(4.0f, 2.0f, 3.0f, a->m_id);
    ExpectAt(*h, 4, 2, 3);
    ExpectVec(h->m_offset, 3, 0, 0);
    EXPECT_EQ(h->GetDescription(), u"随点A移动的自由点");
    MovePoint(a, 0, 0, 0);
    ExpectAt(*h, 3, 0, 0);
    ExpectSynced(*h);
    // Dragged in the plane z = 0: a new offset.
    DragDownZ(h, 5, 5);
    ExpectAt(*h, 5, 5, 0);
    ExpectVec(h->m_offset, 5, 5, 0);
    MovePoint(a, 1, 1, 1);
    ExpectAt(*h, 6, 6, 1);
    // Refused beyond 200: the offset stays.
    DragDownZ(h, 250, 0);
    ExpectAt(*h, 6, 6, 1);
    ExpectVec(h->m_offset, 5, 5, 0);
    // With Ctrl: the plane y = 6.
    g_dragKeepZ = 0;
    DragAlongY(h, 2, 3);
    ExpectAt(*h, 2, 6, 3);
    ExpectVec(h->m_offset, 1, 5, 2);
    // Edited coordinates become the offset.
    h->m_x = 10;
    h->SyncVertex();
    ExpectVec(h->m_offset, 9, 5, 2);
    ExpectSynced(*h);
    MovePoint(a, 0, 0, 0);
    ExpectAt(*h, 9, 5, 2);
    // An invalid master.
    a->m_valid = false;
    h->Recompute();
    EXPECT_FALSE(h->m_valid);
    ExpectAt(*h, 9, 5, 2);
    a->m_valid = true;
    h->Recompute();
    EXPECT_TRUE(h->m_valid);
}

TEST_F(ConstrainedPointsTest, InvalidParentsClearTheFlagAndKeepThePosition) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0), *c = AddPoint(0, 2, 0);
    std::vector<CGVerFree*> points = {
        Add<CGVerFreeUpright>(a->m_id, b->m_id),           Add<CGVerFreeUprightEquid>(a->m_id, b->m_id),
        Add<CGVerFreeEquilateral>(a->m_id, b->m_id),       Add<CGVerFreeParVector>(1.0f, 0.0f, 0.0f, a->m_id),
        Add<CGVerFreeParVecPP>(a->m_id, b->m_id, c->m_id), Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id),
        Add<CGVerFreeHenchman>(1.0f, 1.0f, 1.0f, a->m_id)};
    std::vector<CPointState> before;
    for (CGVerFree* p : points) {
        EXPECT_TRUE(p->m_valid) << p->GetRuntimeClass()->m_lpszClassName;
        before.push_back(StateOf(*p));
    }
    a->m_valid = false;
    a->MarkDescendants();
    m_page->CollectMarkedIds(m_page->m_scratchIds);
    m_page->UpdateCellsById(m_page->m_scratchIds);
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_FALSE(points[i]->m_valid) << points[i]->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(StateOf(*points[i]), before[i]);
    }
    a->m_valid = true;
    m_page->UpdateCellsById(m_page->m_scratchIds);
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_TRUE(points[i]->m_valid) << points[i]->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(StateOf(*points[i]), before[i]);
    }
    // A missing parent counts as an invalid one; descriptions leave its name out.
    auto* lost = Add<CGVerFreeUpright>(a->m_id, WORD(999));
    EXPECT_FALSE(lost->m_valid);
    EXPECT_EQ(lost->GetDescription(), u"KA⊥A");
    RayAlongX(1, 1);
    lost->ConstrainToCarrier(); // A is there: the drag itself works
    ExpectAt(*lost, 0, 1, 1);
}

TEST_F(ConstrainedPointsTest, RecordsAppendTheirFramesDirectionsAndOffsets) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0), *c = AddPoint(0, 2, 0);
    auto expectRecord = [&](CGVerFree* p, const char* name, std::initializer_list<float> own) {
        SCOPED_TRACE(name);
        const float offset = 4.0f * 0.05f;
        CommonRecord common{.id = p->m_id, .name = p->m_name.Str(), .labelHidden = 0,
                            .labelPos = {p->m_x + offset, p->m_y, p->m_z + offset},
                            .color = CRgba{255, 0, 0, 255}, .size = 6.0f,
                            .param = {p->m_param1, p->m_param2, p->m_param3}, .parents = Ids(p->m_parents),
                            .children = {}};
        ByteBuilder expected;
        expected.NewClass(name);
        common.AppendTo(expected);
        expected.F32(p->m_x).F32(p->m_y).F32(p->m_z).F32(offset).F32(0).F32(offset);
        for (float v : own)
            expected.F32(v);
        std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(p); });
        EXPECT_EQ(bytes, expected.Bytes());
        // Loaded back, the record stores the same bytes again.
        CObject* loaded = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
        ASSERT_NE(loaded, nullptr);
        EXPECT_STREQ(loaded->GetRuntimeClass()->m_lpszClassName, name);
        EXPECT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(CGVerFree)));
        EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << loaded; }), bytes);
        delete loaded;
    };

    auto* upright = Add<CGVerFreeUpright>(a->m_id, b->m_id);
    // e1 = (-dy/h, dx/h, 0) and e2 = (-dz e1y, dz e1x, ...) keep the signs of their zeros.
    expectRecord(upright, "CGVerFreeUpright", {8, 0, 1, 0, 0, -0.0f, 1, 0, -0.0f, -0.0f, 1});
    auto* equid = Add<CGVerFreeUprightEquid>(a->m_id, b->m_id);
    expectRecord(equid, "CGVerFreeUprightEquid", {2, 1, 0, 0, -0.0f, 1, 0, -0.0f, -0.0f, 1});
    auto* equilateral = Add<CGVerFreeEquilateral>(a->m_id, b->m_id);
    expectRecord(equilateral, "CGVerFreeEquilateral", {2, 1, 0, 0, -0.0f, 1, 0, -0.0f, -0.0f, 1});
    auto* parVector = Add<CGVerFreeParVector>(0.0f, 0.0f, -3.0f, a->m_id);
    expectRecord(parVector, "CGVerFreeParVector", {0, 0, -1});
    auto* parVecPP = Add<CGVerFreeParVecPP>(a->m_id, b->m_id, c->m_id);
    expectRecord(parVecPP, "CGVerFreeParVecPP", {-0.70710677f, 0.70710677f, 0});
    auto* perpen = Add<CGVerFreePerpen>(a->m_id, b->m_id, c->m_id);
    expectRecord(perpen, "CGVerFreePerpen", {0, 0, 1});
    auto* henchman = Add<CGVerFreeHenchman>(1.0f, 2.0f, 3.0f, b->m_id);
    expectRecord(henchman, "CGVerFreeHenchman", {-1, 2, 3});

    // The upright record repeats r and the angle: loading takes the repeated values.
    ByteBuilder r;
    r.F32(6.5f).F32(0.25f);
    CGVerFreeUpright back;
    std::vector<BYTE> own = StoreBytes([&](CArchive& ar) { upright->Serialize(ar); });
    std::copy(r.Bytes().begin(), r.Bytes().end(), own.end() - 11 * 4);
    LoadBytes(own, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_param2, 6.5f);
    EXPECT_EQ(back.m_param3, 0.25f);
    ExpectVec(back.m_e1, 0, 1, 0);

    // Cut short inside the appended fields.
    for (CGVerFree* p : std::initializer_list<CGVerFree*>{upright, equid, parVector, henchman}) {
        std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { p->Serialize(ar); });
        bytes.resize(bytes.size() - 3);
        std::unique_ptr<CObject> fresh(p->GetRuntimeClass()->CreateObject());
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { fresh->Serialize(ar); }), CArchiveException)
            << p->GetRuntimeClass()->m_lpszClassName;
    }
}

TEST_F(ConstrainedPointsTest, PageOfFreePointsStoresLoadsAndRecomputesToTheSamePlaces) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 1, 0), *c = AddPoint(0, 2, 1);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGArc* circle = Insert(new CGArc(NextId(), 1, 1, 1, 2, 0, 0, 0, 0, 2, 0, 1, CGArc::kArc));
    std::vector<CGVerFree*> points = {Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f),
                                      Add<CGVerFreeInLine>(ab->m_id, 0.3f),
                                      Add<CGVerFreeInCircle>(circle->m_id, 0.6f),
                                      Add<CGVerFreeUpright>(a->m_id, b->m_id),
                                      Add<CGVerFreeUprightEquid>(b->m_id, c->m_id),
                                      Add<CGVerFreeEquilateral>(c->m_id, a->m_id),
                                      Add<CGVerFreeParVector>(1.0f, 2.0f, 3.0f, b->m_id),
                                      Add<CGVerFreeParVecPP>(a->m_id, b->m_id, c->m_id),
                                      Add<CGVerFreePerpen>(c->m_id, b->m_id, a->m_id),
                                      Add<CGVerFreeHenchman>(5.0f, 5.0f, 5.0f, c->m_id)};
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });

    CGPage loaded;
    LoadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    g_pCurPage = &loaded;
    g_cellMap = &loaded.m_cells;
    std::vector<WORD> ids;
    for (WORD id : loaded.m_cells.Keys()) {
        CGCell* cell = loaded.m_cells.Find(id);
        cell->m_mark = true;
    }
    loaded.CollectMarkedIds(ids);
    loaded.UpdateCellsById(ids);
    for (CGVerFree* p : points) {
        auto* back = DYNAMIC_DOWNCAST(CGVerFree, loaded.FindCell(p->m_id));
        ASSERT_NE(back, nullptr) << p->m_id;
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, p->GetRuntimeClass()->m_lpszClassName);
        EXPECT_TRUE(back->m_valid);
        EXPECT_EQ(back->m_x, p->m_x) << back->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(back->m_y, p->m_y) << back->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(back->m_z, p->m_z) << back->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(back->GetDescription(), p->GetDescription());
    }
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
}
