// Points on lines, circles, curves, loci and polygon borders, the division point of a circle and
// the perpendicular feet: hand-computed places, their invalid cases, descriptions and records.
#include "points/object_points.h"

#include "dynamics/curves.h"
#include "model/free_points.h"
#include "points_fixture.h"

#include <bit>
#include <cmath>

namespace {

// The curve (t, t², 1) over [m_tMin, m_tMax].
class CTestCurve : public CGCurve {
public:
    CTestCurve(WORD id, double tMin, double tMax) {
        m_id = id;
        m_name = u"q";
        m_tMin = tMin;
        m_tMax = tMax;
    }
    void PointAt(double t, double out[3]) override {
        out[0] = t;
        out[1] = t * t;
        out[2] = 1.0;
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

// The traced point of the test locus: one unit above its driver in y, none while the driver's x
// is beyond 3.
class CTestLift : public CGVertex {
public:
    CTestLift(WORD id, DWORD vertexIndex, WORD driver) {
        m_id = id;
        m_vertexIndex = vertexIndex;
        AddParent(driver);
        Recompute();
    }
    void Recompute() override {
        const auto* d = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0]));
        m_valid = d && d->m_valid && d->m_x <= 3.0f;
        if (m_valid)
            SetPosition(d->m_x, d->m_y + 1.0f, d->m_z);
    }
};

class CTestLocus : public CGLocus {
public:
    CTestLocus(WORD id, WORD driver, WORD traced) {
        m_id = id;
        AddParent(driver);
        AddParent(traced);
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

class ObjectPointsTest : public PointsTest {
protected:
    // A point whose parameter word holds t (the reference point of the shared-parameter kinds).
    CGVertex* Reference(float t) {
        CGVertex* p = AddPoint(9, 9, 9);
        p->m_param1 = t;
        return p;
    }
    template <class T> T* Cell(WORD id) { return DYNAMIC_DOWNCAST(T, m_page->FindCell(id)); }
    void SetParameter(CGVertex* p, float t) {
        p->m_param1 = t;
        Changed(p);
    }
};

} // namespace

TEST_F(ObjectPointsTest, PointsOnALineAtAFixedOrASharedParameter) {
    CGLine* ab = Line(0, 0, 0, 2, 0, 0);
    auto* fixed = Add<CGVerInLineFixedf>(ab->m_id, 1.5f);
    // No extent: beyond the segment's second point.
    ExpectValidAt(*fixed, 3, 0, 0);
    ExpectSynced(*fixed);
    EXPECT_EQ(fixed->GetDescription(), u"线AB上参数1.500000对应点");

    CGVertex* ref = Reference(0.25f);
    auto* shared = Add<CGVerInLineFt>(ab->m_id, ref->m_id);
    ExpectValidAt(*shared, 0.5, 0, 0);
    EXPECT_EQ(shared->m_param1, 0.25f);
    SetParameter(ref, -1.0f);
    ExpectValidAt(*shared, -2, 0, 0);
    EXPECT_EQ(shared->m_param1, -1.0f);
    EXPECT_EQ(shared->GetDescription(), u"线AB上与D同参数的点");
    MoveLine(ab, 0, 1, 0, 0, 3, 0);
    ExpectValidAt(*shared, 0, -1, 0);

    // Invalid with an invalid line or reference, and with a parent that is no line.
    ab->m_valid = false;
    Changed(ab);
    EXPECT_FALSE(shared->m_valid || fixed->m_valid);
    EXPECT_FALSE(Add<CGVerInLineFixedf>(ref->m_id, 0.5f)->m_valid);
}

TEST_F(ObjectPointsTest, PointsOnACircleAndTheDivisionRunningTowardsGrowingAngles) {
    CGArc* circle = AddCircle(1, 1, 0, 2);
    const float half = float(kPi / 2);
    auto* fixed = Add<CGVerInCircleFixedf>(circle->m_id, half);
    ExpectValidAt(*fixed, 1, 3, 0);
    EXPECT_EQ(fixed->GetDescription(), u"圆c1上参数1.570796对应点");

    const float deg = float(kPi / 180);
    auto* a = Add<CGVerFreeInCircle>(circle->m_id, 350 * deg);
    auto* b = Add<CGVerFreeInCircle>(circle->m_id, 10 * deg);
    struct Row {
        CGVertex *from, *to;
        float ratio;
        double degrees;
    };
    const Row rows[] = {{a, b, 0.5f, 0}, {b, a, 0.5f, 180}, {b, a, 0.25f, 95}, {a, b, 1.0f, 10}};
    for (const Row& row : rows) {
        auto* p = Add<CGVerInCircleScale>(circle->m_id, row.from->m_id, row.to->m_id, row.ratio);
        const double t = row.degrees * kPi / 180;
        ExpectValidAt(*p, 1 + 2 * std::cos(t), 1 + 2 * std::sin(t), 0, 1e-5);
        EXPECT_GE(p->m_param1, 0.0f);
        EXPECT_NEAR(std::remainder(p->m_param1 - t, 2 * kPi), 0.0, 1e-6) << row.degrees;
    }
    EXPECT_EQ(Cell<CGVerInCircleScale>(m_page->m_nextId - 1)->GetDescription(), u"圆c1上两点B、 C的分点");

    circle->m_valid = false;
    Changed(circle);
    EXPECT_FALSE(fixed->m_valid);
    EXPECT_FALSE(Cell<CGVerInCircleScale>(m_page->m_nextId - 1)->m_valid);
}

TEST_F(ObjectPointsTest, ADivisionRatioTravelsInTheRecordAndOlderRecordsReadAsOneHalf) {
    CGArc* circle = AddCircle(0, 0, 0, 1);
    CGVertex* a = AddPoint(1, 0, 0);
    CGVertex* b = AddPoint(0, 1, 0);
    auto* p = Add<CGVerInCircleScale>(circle->m_id, a->m_id, b->m_id, 0.3f);
    ByteBuilder expected;
    expected.NewClass("CGVerInCircleScale");
    CommonRecord common = PointCommon(*p);
    common.extA2 = std::bit_cast<int>(0.3f);
    common.extA3 = CGVerInCircleScale::kRatioMark;
    common.AppendTo(expected);
    expected.F32(p->m_x).F32(p->m_y).F32(p->m_z);
    expected.F32(p->m_labelOffset[0]).F32(p->m_labelOffset[1]).F32(p->m_labelOffset[2]);
    auto back = ExpectRecord<CGVerInCircleScale>(p, expected);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_ratio, 0.3f);

    // Without the mark (older files), or with a ratio that is no number, one half.
    for (auto [word, mark] :
         {std::pair{std::bit_cast<int>(0.3f), 0.0f}, {0x7FC00000, CGVerInCircleScale::kRatioMark}}) {
        ByteBuilder older;
        older.NewClass("CGVerInCircleScale");
        common.extA2 = word;
        common.extA3 = mark;
        common.AppendTo(older);
        older.F32(0).F32(0).F32(0).F32(0).F32(0).F32(0);
        auto loaded = Loaded<CGVerInCircleScale>(older);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->m_ratio, 0.5f);
    }
}

TEST_F(ObjectPointsTest, PointsOnACurveAtAFixedParameterOrOneWithinItsRange) {
    auto* curve = Insert(new CTestCurve(NextId(), 0.0, 2.0));
    auto* fixed = Add<CGVerInCurveFixedf>(curve->m_id, 3.0f);
    ExpectValidAt(*fixed, 3, 9, 1);
    EXPECT_EQ(fixed->GetDescription(), u"曲线q上参数3.000000对应点");

    CGVertex* ref = Reference(3.0f);
    auto* shared = Add<CGVerInCurveFt>(curve->m_id, ref->m_id);
    EXPECT_FALSE(shared->m_valid); // outside the range
    SetParameter(ref, 1.5f);
    ExpectValidAt(*shared, 1.5, 2.25, 1);
    EXPECT_EQ(shared->m_param1, 1.5f);
    EXPECT_EQ(shared->GetDescription(), u"曲线q上与B同参数的点");
    // A range that runs backwards counts the same.
    curve->m_tMin = 2.0;
    curve->m_tMax = 0.0;
    SetParameter(ref, 0.5f);
    ExpectValidAt(*shared, 0.5, 0.25, 1);
    SetParameter(ref, -0.5f);
    EXPECT_FALSE(shared->m_valid);
    EXPECT_FALSE(Add<CGVerInCurveFixedf>(ref->m_id, 1.0f)->m_valid); // no curve
}

TEST_F(ObjectPointsTest, PointsOnALocusLeaveTheDriverWhereItStood) {
    CGLine* carrier = Line(0, 0, 0, 4, 0, 0);
    auto* driver = Add<CGVerFreeInLine>(carrier->m_id, 0.25f);
    auto* traced = Insert(new CTestLift(NextId(), NextVertex(), driver->m_id));
    auto* locus = Insert(new CTestLocus(NextId(), driver->m_id, traced->m_id));
    locus->m_t0 = 0.0f;
    locus->m_t1 = 1.0f;
    auto* fixed = Add<CGVerInLocusFixedf>(locus->m_id, 0.5f);
    ExpectValidAt(*fixed, 2, 1, 0);
    EXPECT_EQ(fixed->GetDescription(), u"轨迹上与参数0.500000对应的点");
    ExpectAt(*driver, 1, 0, 0, 0.25f);
    ExpectAt(*traced, 1, 1, 0);

    CGVertex* ref = Reference(0.75f);
    auto* shared = Add<CGVerInLocusFt>(locus->m_id, ref->m_id);
    ExpectValidAt(*shared, 3, 1, 0);
    EXPECT_EQ(shared->GetDescription(), u"轨迹上与E同参数的点");
    // Beyond the driver range, or where the traced point does not exist.
    SetParameter(ref, 1.5f);
    EXPECT_FALSE(shared->m_valid);
    SetParameter(ref, 0.9f);
    EXPECT_FALSE(shared->m_valid);
    ExpectAt(*driver, 1, 0, 0, 0.25f);
    EXPECT_TRUE(traced->m_valid);
}

TEST_F(ObjectPointsTest, BorderPointsWrapTheParameterOntoTheEdges) {
    CList<WORD, WORD> square;
    std::vector<CGVertex*> v;
    for (auto [x, y] : {std::pair{0, 0}, {2, 0}, {2, 2}, {0, 2}}) {
        v.push_back(AddPoint(float(x), float(y), 0));
        square.AddTail(v.back()->m_id);
    }
    CGVertex* ref = Reference(0);
    auto* p = Add<CGVerInBorderFt>(square, ref->m_id);
    EXPECT_EQ(p->m_count, 4);
    EXPECT_EQ(p->GetDescription(), u"4边形边界线上与E同参数的点");
    const struct {
        float u;
        double x, y;
    } rows[] = {{4, 0, 0}, {4.5f, 1, 0}, {-0.5f, 0, 1}, {2.25f, 1.5, 2}, {1, 2, 0}, {-4, 0, 0}, {9.5f, 2, 1}};
    for (const auto& row : rows) {
        SetParameter(ref, row.u);
        ExpectValidAt(*p, row.x, row.y, 0);
        EXPECT_EQ(p->m_param1, row.u);
    }
    // Only the edge the point lies on counts.
    v[2]->m_valid = false;
    SetParameter(ref, 0.5f);
    EXPECT_TRUE(p->m_valid);
    SetParameter(ref, 1.5f);
    EXPECT_FALSE(p->m_valid);
    SetParameter(ref, NAN);
    EXPECT_FALSE(p->m_valid);

    v[2]->m_valid = true;
    SetParameter(ref, 0.5f);
    auto back = ExpectRecord<CGVerInBorderFt>(p, PointRecord("CGVerInBorderFt", *p).I32(4));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_count, 4);
    // A count that does not match the parents is a damaged record.
    for (int count : {3, 5, 0, -1, 0x7FFFFFFF})
        EXPECT_THROW(Loaded<CGVerInBorderFt>(PointRecord("CGVerInBorderFt", *p).I32(count)),
                     CArchiveException)
            << count;
}

TEST_F(ObjectPointsTest, LineFeetIncludingAFootOnTheLinesFirstPoint) {
    struct Row {
        float a[3], b[3], e[3];
        bool valid;
        double x, y, z;
    };
    const Row rows[] = {
        {{1, 1, 0}, {0, 0, 0}, {2, 0, 0}, true, 1, 0, 0},
        {{0, 3, 0}, {0, 0, 0}, {2, 0, 0}, true, 0, 0, 0},       // on B itself
        {{1, 0, 0}, {0, 0, 0}, {2, 0, 0}, true, 1, 1, 0},       // A on BE: level, one unit off
        {{0, 0, 2}, {0, 0, 0}, {0, 0, 5}, true, 1, 0, 2},       // BE vertical
        {{0, 5, 0}, {0, 0, 0}, {0.001f, 0, 0}, false, 0, 0, 0}, // no direction
    };
    for (const Row& row : rows) {
        const WORD a = AddPoint(row.a[0], row.a[1], row.a[2])->m_id;
        const WORD b = AddPoint(row.b[0], row.b[1], row.b[2])->m_id;
        const WORD e = AddPoint(row.e[0], row.e[1], row.e[2])->m_id;
        auto* foot = Add<CGVerFootplEx>(a, b, e);
        EXPECT_EQ(foot->m_valid, row.valid) << row.a[0] << row.a[1];
        if (row.valid)
            ExpectNear(*foot, row.x, row.y, row.z);
    }
    auto* first = Cell<CGVerFootplEx>(4);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetDescription(), u"线AD⊥线BC");
}

TEST_F(ObjectPointsTest, PlaneFeetOffThePlaneInItAndOnCollinearCorners) {
    struct Row {
        float a[3], p1[3], p2[3], p3[3];
        double x, y, z;
    };
    const Row rows[] = {
        {{0.3f, 0.4f, 5}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.3, 0.4, 0},
        {{0.3f, 0.4f, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.3, 0.4, 1}, // in the plane
        {{0.5f, 3, 0}, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, 0.5, 0, 0},      // on the corners' line
        {{0.5f, 3, 0}, {0, 0, 0}, {0, 0, 0}, {2, 0, 0}, 0.5, 0, 0},      // P1 on P2
    };
    for (const Row& row : rows) {
        const WORD a = AddPoint(row.a[0], row.a[1], row.a[2])->m_id;
        const WORD p1 = AddPoint(row.p1[0], row.p1[1], row.p1[2])->m_id;
        const WORD p2 = AddPoint(row.p2[0], row.p2[1], row.p2[2])->m_id;
        const WORD p3 = AddPoint(row.p3[0], row.p3[1], row.p3[2])->m_id;
        ExpectValidAt(*Add<CGVerFootpfEx>(a, p1, p2, p3), row.x, row.y, row.z);
    }
    EXPECT_EQ(Cell<CGVerFootpfEx>(5)->GetDescription(), u"线AE⊥面BCD");
}

TEST_F(ObjectPointsTest, RecordsAreThePointRecordAndWrongOrMissingParentsInvalidate) {
    CGLine* line = Line(0, 0, 0, 1, 0, 0);
    CGArc* circle = AddCircle(0, 0, 0, 1);
    auto* curve = Insert(new CTestCurve(NextId(), 0.0, 1.0));
    CGVertex* r = Reference(0.5f);
    CGVertex* q = AddPoint(0, 1, 0);
    CGVertex* s = AddPoint(0, 0, 1);
    const std::pair<const char*, CGVertex*> cells[] = {
        {"CGVerInLineFt", Add<CGVerInLineFt>(line->m_id, r->m_id)},
        {"CGVerInLineFixedf", Add<CGVerInLineFixedf>(line->m_id, 0.25f)},
        {"CGVerInCircleFixedf", Add<CGVerInCircleFixedf>(circle->m_id, 1.0f)},
        {"CGVerInCurveFixedf", Add<CGVerInCurveFixedf>(curve->m_id, 0.5f)},
        {"CGVerInCurveFt", Add<CGVerInCurveFt>(curve->m_id, r->m_id)},
        {"CGVerFootplEx", Add<CGVerFootplEx>(r->m_id, q->m_id, s->m_id)},
        {"CGVerFootpfEx", Add<CGVerFootpfEx>(r->m_id, q->m_id, s->m_id, line->GetEnd(0)->m_id)},
    };
    for (const auto& [name, cell] : cells) {
        EXPECT_TRUE(cell->m_valid) << name;
        ExpectRecord<CGVertex>(cell, PointRecord(name, *cell));
        // A record with one parent too many is damaged.
        CommonRecord common = PointCommon(*cell);
        common.parents.push_back(1);
        ByteBuilder extra;
        extra.NewClass(name);
        common.AppendTo(extra);
        extra.F32(0).F32(0).F32(0).F32(0).F32(0).F32(0);
        EXPECT_THROW(Loaded<CGVertex>(extra), CArchiveException) << name;
    }
    // A parent that is gone counts as an invalid one.
    m_page->m_cells.RemoveKey(q->m_id);
    Changed(r);
    EXPECT_FALSE(cells[5].second->m_valid);
    EXPECT_FALSE(cells[6].second->m_valid);
    delete q;
}
