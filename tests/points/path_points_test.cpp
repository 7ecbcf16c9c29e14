// Points on compound and combined paths: the parameterisations with their wrap and kept fractions, drags,
// drawn points at a fixed or a driver's parameter, the limits on pieces, descriptions and records.
#include "points/path_points.h"

#include "dynamics/curves.h"
#include "points_fixture.h"

#include <cmath>

namespace {

// The nearest point a test piece reports, as the test sets it, and the mode it was asked in.
struct CNearestAnswer {
    BOOL Answer(float point[3], double& f, double& distance, int mode) {
        m_lastMode = mode;
        if (!m_found)
            return FALSE;
        std::copy(m_point, m_point + 3, point);
        f = m_f;
        distance = m_distance;
        return TRUE;
    }
    bool m_found = true;
    float m_point[3] = {0.0f, 0.0f, 0.0f};
    double m_f = 0.0;
    double m_distance = 1e9;
    int m_lastMode = -1;
};

// A curve for the tests: (t, 10, t^2) over [0, 2].
class CTestCurve : public CGCurve, public CNearestAnswer {
public:
    explicit CTestCurve(WORD id) {
        m_id = id;
        m_tMin = 0.0;
        m_tMax = 2.0;
    }
    void PointAt(double t, double out[3]) override {
        out[0] = t;
        out[1] = 10.0;
        out[2] = t * t;
    }
    BOOL NearestParameter(float p[3], double& f, double& d, int mode) override {
        return Answer(p, f, d, mode);
    }
};

// A locus for the tests over its driver range [0, 1], on the parents the test gives (the driver
// first, the traced point last).
class CTestLocus : public CGLocus, public CNearestAnswer {
public:
    CTestLocus(WORD id, WORD driver, WORD traced) {
        m_id = id;
        AddParent(driver);
        AddParent(traced);
    }
    BOOL NearestParameter(float p[3], double& f, double& d, int mode) override {
        return Answer(p, f, d, mode);
    }
};

class PathPointsTest : public PointsTest {
protected:
    // Three segments: (0, 0, 0)-(1, 0, 0), (1, 0, 0)-(1, 2, 0), (1, 2, 0)-(3, 2, 0).
    std::vector<WORD> MakeThreeSegments() {
        CGVertex* p[4] = {AddPoint(0, 0, 0), AddPoint(1, 0, 0), AddPoint(1, 2, 0), AddPoint(3, 2, 0)};
        m_points.assign(p, p + 4);
        std::vector<WORD> ids;
        for (int i = 0; i < 3; ++i)
            ids.push_back(AddLine(p[i]->m_id, p[i + 1]->m_id)->m_id);
        return ids;
    }
    // The segment (2, 0, 0)-(1, 0, 0) of length 1 and the upper unit semicircle about the origin.
    std::vector<WORD> MakeSegmentAndSemicircle() {
        CGVertex* a = AddPoint(2, 0, 0);
        CGVertex* b = AddPoint(1, 0, 0);
        m_points = {a, b};
        WORD segment = AddLine(a->m_id, b->m_id)->m_id;
        m_arc = AddCircle(0, 0, 0, 1, CGArc::kArc, 0.0f, float(kPi));
        return {segment, m_arc->m_id};
    }
    CList<WORD, WORD> List(const std::vector<WORD>& ids) {
        CList<WORD, WORD> list;
        for (WORD id : ids)
            list.AddTail(id);
        return list;
    }
    // The locus of the midpoint of Q(0, 1, 0) and a driver running along (0, 5, 0)-(4, 5, 0): at
    // the driver parameter u it is (2u, 3, 0).
    CTestLocus* MakeLocus() {
        CGVertex* s0 = AddPoint(0, 5, 0);
        CGVertex* s1 = AddPoint(4, 5, 0);
        CGLine* track = AddLine(s0->m_id, s1->m_id);
        m_driver = Add<CGVerFreeInLine>(track->m_id, 0.25f);
        CGVertex* q = AddPoint(0, 1, 0);
        m_traced = AddMidpoint(m_driver->m_id, q->m_id);
        return Insert(new CTestLocus(NextId(), m_driver->m_id, m_traced->m_id));
    }
    // Selects the cells as the user would before the combined-path command.
    void SelectAll(const std::vector<WORD>& ids) {
        for (WORD id : ids)
            m_page->m_selAll.AddTail(id);
    }

    std::vector<CGVertex*> m_points;
    CGArc* m_arc = nullptr;
    CGVerFreeInLine* m_driver = nullptr;
    CTestMidpoint* m_traced = nullptr;
};

} // namespace

TEST_F(PathPointsTest, CompoundPathParameterWrapsOnAWorkingCopy) {
    std::vector<WORD> pieces = MakeThreeSegments();
    auto* p = Add<CGVerFreeInBorder>(List(pieces), 4.5f);
    EXPECT_TRUE(p->m_valid);
    EXPECT_EQ(p->m_pieceCount, 3);
    EXPECT_EQ(p->m_color, g_colorFreePoint);
    // 4.5 on three pieces is 1.5: the middle of the second; the stored parameter stays.
    ExpectAt(*p, 1, 1, 0);
    EXPECT_EQ(p->m_param1, 4.5f);
    ExpectSynced(*p);
    EXPECT_EQ(p->GetDescription(), u"3段曲线组成的复合路径上的点");
    for (WORD piece : pieces) {
        const CGCell* cell = m_page->FindCell(piece);
        EXPECT_EQ(cell->m_children.GetTail(), p->m_id);
    }
    struct Case {
        float t;
        float x, y;
    };
    // 3 is the end of the last piece; -0.5 is 2.5 and -3 is 3; 6 comes round to 0.
    for (Case c : {Case{3.0f, 3, 2}, Case{-0.5f, 2, 2}, Case{-3.0f, 3, 2}, Case{6.0f, 0, 0},
                   Case{0.25f, 0.25f, 0}, Case{2.0f, 1, 2}, Case{-6.5f, 2, 2}}) {
        p->m_param1 = c.t;
        p->SyncVertex();
        ExpectValidAt(*p, c.x, c.y, 0);
        EXPECT_EQ(p->m_param1, c.t);
    }
    // Only the piece in use must be valid.
    p->m_param1 = 1.5f;
    m_page->FindCell(pieces[2])->m_valid = false;
    p->Recompute();
    EXPECT_TRUE(p->m_valid);
    // The second segment loses its end: invalid, and back once the end is.
    m_points[2]->m_valid = false;
    MovePoint(m_points[1], 1, 0, 0);
    EXPECT_FALSE(m_page->FindCell(pieces[1])->m_valid);
    ExpectInvalidAt(*p, 1, 1, 0);
    m_points[2]->m_valid = true;
    MovePoint(m_points[2], 1, 4, 0);
    ExpectValidAt(*p, 1, 2, 0);
}

TEST_F(PathPointsTest, CompoundPathOfPointsIsAClosedPolygonAndIsDraggedAlongIt) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    auto* p = Add<CGVerFreeInBorder>(List({a->m_id, b->m_id, c->m_id}), 2.5f);
    ExpectValidAt(*p, 0, 2, 0); // midway from the third point back to the first
    p->m_param1 = 1.5f;
    p->Recompute();
    ExpectAt(*p, 2, 2, 0);
    // The next point must be valid too.
    c->m_valid = false;
    p->Recompute();
    EXPECT_FALSE(p->m_valid);
    c->m_valid = true;
    p->m_param1 = 0.5f;
    p->Recompute();
    ExpectValidAt(*p, 2, 0, 0);

    CTestMidpoint* m = AddMidpoint(p->m_id, c->m_id);
    CDragRun drag(*m_page, *p);
    // Onto AB; near the closing edge from C back to A; equally near the first and the last edge (at
    // A): the first wins; near the hypotenuse.
    struct Step {
        double rx, ry, x, y;
        float t;
    };
    for (Step s : {Step{2, -1, 2, 0, 0.5f}, Step{-1, 1, 0, 1, 2.75f}, Step{-1, -1, 0, 0, 0.0f},
                   Step{3, 3, 2, 2, 1.5f}}) {
        RayDownZ(s.rx, s.ry);
        drag.Move();
        ExpectNear(*p, s.x, s.y, 0);
        EXPECT_FLOAT_EQ(p->m_param1, s.t);
        ExpectSynced(*p);
        ExpectNear(*m, s.x / 2, (s.y + 4) / 2, 0);
    }
    // What the drag left is what recomputation gives.
    p->Recompute();
    ExpectNear(*p, 2, 2, 0);
}

TEST_F(PathPointsTest, CompoundPathDraggedAlongItsPieces) {
    CTestLocus* locus = MakeLocus();
    std::vector<WORD> segments = MakeThreeSegments();
    CGArc* quarter = AddCircle(5, 5, 0, 2, CGArc::kArc, 0.0f, float(kPi / 2));
    auto* curve = Insert(new CTestCurve(NextId()));
    auto* p = Add<CGVerFreeInBorder>(List({segments[0], locus->m_id, quarter->m_id, curve->m_id}), 0.5f);
    locus->m_point[0] = 9.0f;
    locus->m_f = 0.2;
    locus->m_distance = 0.75;
    curve->m_point[2] = 4.0f;
    curve->m_f = 0.9;
    curve->m_distance = 0.1;
    // Down through (0.5, 0.3): the segment is 0.3 away, the curve nearer still.
    RayDownZ(0.5, 0.3);
    p->ConstrainToCarrier();
    EXPECT_FLOAT_EQ(p->m_param1, 3.9f);
    ExpectAt(*p, 0, 0, 4);
    EXPECT_EQ(curve->m_lastMode, 1);
    EXPECT_EQ(locus->m_lastMode, 1);
    // The curve farther off: the segment.
    curve->m_distance = 5.0;
    p->ConstrainToCarrier();
    EXPECT_FLOAT_EQ(p->m_param1, 0.5f);
    ExpectAt(*p, 0.5f, 0, 0);
    // Onto the quarter arc at its middle.
    RayDownZ(5 + 2 * std::cos(kPi / 4), 5 + 2 * std::sin(kPi / 4));
    p->ConstrainToCarrier();
    EXPECT_NEAR(p->m_param1, 2.5, 1e-6);
    ExpectNear(*p, 5 + std::sqrt(2.0), 5 + std::sqrt(2.0), 0);
    // A piece that finds no nearest point refuses the whole step.
    const CPointState before = StateOf(*p);
    curve->m_found = false;
    RayDownZ(0.5, 0.3);
    p->ConstrainToCarrier();
    EXPECT_EQ(StateOf(*p), before);
}

TEST_F(PathPointsTest, LengthPathOfASegmentAndASemicircle) {
    std::vector<WORD> pieces = MakeSegmentAndSemicircle();
    SelectAll(pieces);
    m_page->m_selAll.AddTail(900); // no such cell: left out
    auto* p = Add<CGVerFreeInPaths>();
    ASSERT_EQ(p->m_parents.GetSize(), 2);
    EXPECT_EQ(p->m_pieceCount, 2);
    EXPECT_EQ(p->m_param1, 0.6f);
    EXPECT_EQ(p->GetDescription(), u"2条线段或圆弧合成的组合路径上的点");
    EXPECT_NEAR(p->m_totalLength, 1 + kPi, 1e-6);
    EXPECT_NEAR(p->m_pieceEnds[0], 1 / (1 + kPi), 1e-7);
    EXPECT_DOUBLE_EQ(p->m_pieceEnds[1], 1.0);
    // 0.5 lies on the semicircle (the segment covers 0 .. 1/(1 + pi)): at the angle pi/2 - 1/2.
    p->m_param1 = 0.5f;
    p->Recompute();
    ExpectValidAt(*p, 0.479426, 0.877583, 0);
    ExpectSynced(*p);
    // On the segment, and the parameter brought into [0, 1] and kept so.
    p->m_param1 = 1.1f;
    p->Recompute();
    EXPECT_NEAR(p->m_param1, 0.1, 1e-6);
    ExpectNear(*p, 2 - 0.1 * (1 + kPi), 0, 0, 1e-5);
    p->m_param1 = -0.25f;
    p->Recompute();
    EXPECT_EQ(p->m_param1, 0.75f);
    p->m_param1 = 1.0f;
    p->Recompute();
    ExpectNear(*p, -1, 0, 0);
    // SyncVertex places the point with the fractions kept from the last recomputation.
    m_points[0]->SetPosition(float(1 + kPi), 0, 0); // now the segment is as long as the semicircle ...
    p->m_param1 = 0.5f;
    p->SyncVertex();
    ExpectNear(*p, 0.479426, 0.877583, 0);
    p->Recompute(); // ... until the pieces are measured again
    ExpectNear(*p, 1, 0, 0, 1e-5);
}

TEST_F(PathPointsTest, LengthPathDrag) {
    std::vector<WORD> pieces = MakeSegmentAndSemicircle();
    SelectAll(pieces);
    auto* p = Add<CGVerFreeInPaths>();
    CTestMidpoint* m = AddMidpoint(p->m_id, m_points[0]->m_id);
    CDragRun drag(*m_page, *p);
    // Down through (0, 2): the top of the semicircle beats the segment's end (1, 0, 0).
    RayDownZ(0, 2);
    drag.Move();
    ExpectNear(*p, 0, 1, 0);
    const double c0 = 1 / (1 + kPi);
    EXPECT_NEAR(p->m_param1, c0 + 0.5 * (1 - c0), 1e-6);
    ExpectNear(*m, 1, 0.5, 0);
    // Down through (1.75, 0.5): the segment at its fraction 0.25.
    RayDownZ(1.75, 0.5);
    drag.Move();
    ExpectAt(*p, 1.75f, 0, 0);
    EXPECT_NEAR(p->m_param1, 0.25 * c0, 1e-7);
    p->Recompute();
    ExpectNear(*p, 1.75, 0, 0, 1e-6);
    // A piece parallel to the ray finds no nearest point: the step is refused.
    m_points[0]->SetPosition(1, 0, 5);
    p->Recompute();
    const CPointState before = StateOf(*p);
    RayDownZ(0, 2);
    p->ConstrainToCarrier();
    EXPECT_EQ(StateOf(*p), before);
}

TEST_F(PathPointsTest, LengthPathWithoutALength) {
    CGVertex* a = AddPoint(1, 1, 1);
    CGVertex* b = AddPoint(1, 1, 1);
    std::vector<WORD> pieces = {AddLine(a->m_id, b->m_id)->m_id, AddLine(b->m_id, a->m_id)->m_id};
    SelectAll(pieces);
    auto* p = Add<CGVerFreeInPaths>();
    EXPECT_FALSE(p->m_valid);
    // Dragging needs the fractions of a recomputation.
    RayDownZ(1, 1);
    p->ConstrainToCarrier();
    ExpectAt(*p, 0, 0, 0);
    p->SyncVertex();
    ExpectAt(*p, 0, 0, 0);
    MovePoint(b, 3, 1, 1);
    EXPECT_TRUE(p->m_valid);
    ExpectNear(*p, 2.6, 1, 1, 1e-5); // 0.6 of a path of 2 + 2: a fifth into the second
    // A piece that is no segment or arc.
    CGVertex* c = AddPoint(0, 0, 0);
    m_page->m_selAll.RemoveAll();
    SelectAll({pieces[0], c->m_id});
    EXPECT_FALSE(Add<CGVerFreeInPaths>()->m_valid);
    // Nothing selected.
    m_page->m_selAll.RemoveAll();
    auto* none = Add<CGVerFreeInPaths>();
    EXPECT_FALSE(none->m_valid);
    EXPECT_EQ(none->m_pieceCount, 0);
}

TEST_F(PathPointsTest, LengthPathOfMoreThan32PiecesHasNoPoint) {
    std::vector<WORD> pieces;
    CGVertex* previous = AddPoint(0, 0, 0);
    for (int i = 1; i <= 33; ++i) {
        CGVertex* next = AddPoint(float(i), 0, 0);
        pieces.push_back(AddLine(previous->m_id, next->m_id)->m_id);
        previous = next;
    }
    SelectAll(pieces);
    auto* p = Add<CGVerFreeInPaths>();
    EXPECT_EQ(p->m_pieceCount, 33);
    EXPECT_FALSE(p->m_valid);
    // 32 pieces are a path.
    pieces.pop_back();
    m_page->m_selAll.RemoveAll();
    SelectAll(pieces);
    auto* q = Add<CGVerFreeInPaths>();
    ExpectValidAt(*q, 0.6 * 32, 0, 0, 1e-4);
    EXPECT_DOUBLE_EQ(q->m_pieceEnds[31], 1.0);
}

TEST_F(PathPointsTest, DrawnPointsOnACombinedPath) {
    std::vector<WORD> pieces = MakeSegmentAndSemicircle();
    auto* p = Add<CGVerInPaths>(List(pieces), BYTE(0), -0.25f);
    EXPECT_TRUE(p->m_valid);
    EXPECT_EQ(p->m_param1, 0.75f);
    EXPECT_EQ(p->m_pieceCount, 2);
    // 0.75 of the path: 0.75 (1 + pi) - 1 along the semicircle.
    const double angle = 0.75 * (1 + kPi) - 1;
    ExpectNear(*p, std::cos(angle), std::sin(angle), 0);
    EXPECT_EQ(p->m_color, g_colorPoint);
    EXPECT_EQ(p->GetDescription(), u"组合路径上绘制的参数为0.750000的点");
    // At a driver's parameter: a value, the last parent.
    CGTmVariable* t = AddValue(0.5f, u"t");
    std::vector<WORD> withDriver = pieces;
    withDriver.push_back(t->m_id);
    auto* q = Add<CGVerInPaths>(List(withDriver), BYTE(1), 0.0f);
    EXPECT_TRUE(q->m_valid);
    EXPECT_EQ(q->m_pieceCount, 2);
    ExpectNear(*q, 0.479426, 0.877583, 0);
    EXPECT_EQ(q->GetDescription(), u"组合路径上绘制的与t同参的点");
    t->m_param1 = 2.1f; // brought into [0, 1]
    Changed(t);
    EXPECT_NEAR(q->m_param1, 0.1, 1e-6);
    ExpectNear(*q, 2 - 0.1 * (1 + kPi), 0, 0, 1e-5);
    t->m_valid = false;
    Changed(t);
    EXPECT_FALSE(q->m_valid);
    t->m_valid = true;
    Changed(t);
    EXPECT_TRUE(q->m_valid);
    // A driver and nothing to run on.
    auto* lone = Add<CGVerInPaths>(List({t->m_id}), BYTE(1), 0.0f);
    EXPECT_FALSE(lone->m_valid);
    auto* empty = Add<CGVerInPaths>(CList<WORD, WORD>(), BYTE(1), 0.0f);
    EXPECT_FALSE(empty->m_valid);
    EXPECT_EQ(empty->GetDescription(), u"组合路径上绘制的与同参的点");
}

TEST_F(PathPointsTest, DrawnPointsOnACompoundPath) {
    std::vector<WORD> pieces = MakeThreeSegments();
    auto* p = Add<CGVerInBorder>(List(pieces), BYTE(0), 4.5f);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, 1, 1, 0);
    EXPECT_EQ(p->m_param1, 4.5f);
    EXPECT_EQ(p->m_pieceCount, 3);
    EXPECT_EQ(p->GetDescription(), u"复合路径上绘制的参数为4.500000的点");
    // At the parameter of a point on another compound path.
    auto* driver = Add<CGVerFreeInBorder>(List(pieces), 2.5f);
    std::vector<WORD> withDriver = pieces;
    withDriver.push_back(driver->m_id);
    auto* q = Add<CGVerInBorder>(List(withDriver), BYTE(1), 0.0f);
    EXPECT_TRUE(q->m_valid);
    ExpectAt(*q, 2, 2, 0);
    EXPECT_EQ(q->GetDescription(), u"复合路径上绘制的与F同参的点");
    RayDownZ(1.2, 0.5);
    CDragRun(*m_page, *driver).Move();
    EXPECT_FLOAT_EQ(q->m_param1, 1.25f);
    ExpectAt(*q, 1, 0.5f, 0);
    // Points as pieces make no polygon here.
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    EXPECT_FALSE(Add<CGVerInBorder>(List({a->m_id, b->m_id}), BYTE(0), 0.5f)->m_valid);
    EXPECT_FALSE(Add<CGVerInBorder>(List({driver->m_id}), BYTE(1), 0.5f)->m_valid);
}

TEST_F(PathPointsTest, RecordsOfThePathPoints) {
    std::vector<WORD> pieces = MakeThreeSegments();
    // The parameter travels in the common record, the piece count after the point.
    auto* border = Add<CGVerFreeInBorder>(List(pieces), 1.5f);
    ASSERT_EQ(PointCommon(*border).param[0], 1.5f);
    const std::vector<BYTE> bytes = PointRecord("CGVerFreeInBorder", *border).I32(3).Bytes();
    auto back = ExpectRecord<CGVerFreeInBorder>(border, bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_pieceCount, 3);
    // A count above the parents' or below 0 is refused.
    for (int bad : {4, -1}) {
        std::vector<BYTE> damaged(bytes.begin(), bytes.end() - 4);
        const std::vector<BYTE> count = ByteBuilder().I32(bad).Bytes();
        damaged.insert(damaged.end(), count.begin(), count.end());
        EXPECT_THROW(Loaded<CGVerFreeInBorder>(damaged), CArchiveException) << bad;
    }

    SelectAll(pieces);
    auto* paths = Add<CGVerFreeInPaths>();
    auto pathsBack =
        ExpectRecord<CGVerFreeInPaths>(paths, PointRecord("CGVerFreeInPaths", *paths).I32(3).Bytes());
    ASSERT_TRUE(pathsBack);
    EXPECT_EQ(pathsBack->m_totalLength, 0.0); // rebuilt by the first recomputation
    // Loaded, it is placed again only once recomputed.
    pathsBack->m_vertexIndex = NextVertex();
    pathsBack->m_param1 = 0.0f;
    pathsBack->SyncVertex();
    EXPECT_EQ(Pos(*pathsBack), Pos(*paths));
    pathsBack->Recompute();
    ExpectAt(*pathsBack, 0, 0, 0);

    auto* drawn = Add<CGVerInPaths>(List(pieces), BYTE(0), 0.5f);
    EXPECT_EQ(Stored(drawn), PointRecord("CGVerInPaths", *drawn).Bytes());
    // The mode travels in the kind byte.
    auto* drawnBorder = Add<CGVerInBorder>(List(pieces), BYTE(0), 0.5f);
    drawnBorder->m_kind = 1;
    ExpectRecord<CGVerInBorder>(drawnBorder, PointRecord("CGVerInBorder", *drawnBorder).Bytes());
}
