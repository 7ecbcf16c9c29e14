// Points of a triangle on right, acute, flat, tiny and collapsed triangles, validity as corners move,
// descriptions and records.
#include "points/triangle_centres.h"

#include "points_fixture.h"

#include <cmath>

namespace {

class TriangleCentresTest : public PointsTest {
protected:
    template <class T> T* AddCentre(const CGVertex* a, const CGVertex* b, const CGVertex* c) {
        return Add<T>(a->m_id, b->m_id, c->m_id);
    }
    // A(4, 0, 0), B(0, 0, 0), C(0, 3, 0): |BC| = 3, |CA| = 5, |AB| = 4, the right angle at B.
    void MakeRightTriangle() {
        m_a = AddPoint(4, 0, 0);
        m_b = AddPoint(0, 0, 0);
        m_c = AddPoint(0, 3, 0);
    }
    CGVertex* m_a = nullptr;
    CGVertex* m_b = nullptr;
    CGVertex* m_c = nullptr;
};

} // namespace

TEST_F(TriangleCentresTest, CentresOfARightTriangle) {
    MakeRightTriangle();
    auto* centroid = AddCentre<CGVerBarycenter>(m_a, m_b, m_c);
    auto* circum = AddCentre<CGVerExcenter>(m_a, m_b, m_c);
    auto* in = AddCentre<CGVerIncenter>(m_a, m_b, m_c);
    auto* ortho = AddCentre<CGVerOrthocenter>(m_a, m_b, m_c);
    auto* ex = AddCentre<CGVerEscenter>(m_a, m_b, m_c);
    for (CGVertex* p :
         {static_cast<CGVertex*>(centroid), static_cast<CGVertex*>(circum), static_cast<CGVertex*>(in),
          static_cast<CGVertex*>(ortho), static_cast<CGVertex*>(ex)}) {
        EXPECT_TRUE(p->m_valid);
        ExpectSynced(*p);
        EXPECT_EQ(p->m_color, g_colorPoint);
    }
    ExpectNear(*centroid, 4.0 / 3.0, 1, 0);
    // The hypotenuse's midpoint; the right-angle corner; inradius 1; the excircle in the angle at B
    // has the radius of the half perimeter, 6.
    ExpectNear(*circum, 2, 1.5, 0);
    ExpectNear(*ortho, 0, 0, 0);
    ExpectNear(*in, 1, 1, 0);
    ExpectNear(*ex, 6, 6, 0);
    // Every centre links itself as a child of each corner, in creation order.
    std::vector<WORD> children;
    for (WORD child : m_a->m_children)
        children.push_back(child);
    EXPECT_EQ(children, (std::vector<WORD>{centroid->m_id, circum->m_id, in->m_id, ortho->m_id, ex->m_id}));
}

TEST_F(TriangleCentresTest, CentresOfAnAcuteTriangle) {
    // A(4, 0, 0), B(0, 0, 0), C(1, 3, 0): the perpendicular bisectors meet at (2, 1), the altitudes
    // at (1, 1).
    CGVertex* a = AddPoint(4, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(1, 3, 0);
    ExpectNear(*AddCentre<CGVerBarycenter>(a, b, c), 5.0 / 3.0, 1, 0);
    ExpectNear(*AddCentre<CGVerExcenter>(a, b, c), 2, 1, 0);
    ExpectNear(*AddCentre<CGVerOrthocenter>(a, b, c), 1, 1, 0);
    // The incentre and the excentre by their weights |BC|, |CA|, |AB| = sqrt 10, sqrt 18, 4.
    const double la = std::sqrt(10.0), lb = std::sqrt(18.0), lc = 4.0;
    const double p = la + lb + lc, q = la - lb + lc;
    ExpectNear(*AddCentre<CGVerIncenter>(a, b, c), (4 * la + lc) / p, 3 * lc / p, 0);
    auto* ex = AddCentre<CGVerEscenter>(a, b, c);
    ExpectNear(*ex, (4 * la + lc) / q, 3 * lc / q, 0, 1e-4);
    // The excentre always lies in the angle at the middle parent: A and C swapped, the same point.
    auto* swapped = AddCentre<CGVerEscenter>(c, b, a);
    ExpectNear(*swapped, ex->m_x, ex->m_y, ex->m_z);
    // Out of the plane z = 0 the same construction holds.
    MovePoint(c, 1, 3, 6);
    auto* centroid = AddCentre<CGVerBarycenter>(a, b, c);
    ExpectNear(*centroid, 5.0 / 3.0, 1, 2);
}

TEST_F(TriangleCentresTest, BisectorPoints) {
    MakeRightTriangle();
    auto* inner = AddCentre<CGVerBisectorA>(m_a, m_b, m_c);
    auto* outer = AddCentre<CGVerBisectorEA>(m_a, m_b, m_c);
    // The bisectors y = x and y = -x of the right angle at B meet AC (x/4 + y/3 = 1) at (12/7, 12/7)
    // and, outside the segment, at (-12, 12).
    ExpectNear(*inner, 12.0 / 7.0, 12.0 / 7.0, 0);
    ExpectNear(*outer, -12, 12, 0, 1e-4);
    // |BA| = |BC|: the midpoint of AC, and B + (C - A) for the external one (parallel to AC).
    MovePoint(m_a, 3, 0, 0);
    ExpectNear(*inner, 1.5, 1.5, 0);
    ExpectAt(*outer, -3, 3, 0);
    EXPECT_TRUE(outer->m_valid);
    // All three together: the internal point is C, the external one B + C - A = that point too.
    MovePoint(m_a, 0, 0, 0);
    MovePoint(m_c, 0, 0, 0);
    EXPECT_TRUE(inner->m_valid);
    ExpectAt(*inner, 0, 0, 0);
    ExpectAt(*outer, 0, 0, 0);
}

TEST_F(TriangleCentresTest, FlatAndTinyTrianglesHaveNoCircumcentreNorOrthocentre) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(3, 0, 0);
    auto* circum = AddCentre<CGVerExcenter>(a, b, c);
    auto* ortho = AddCentre<CGVerOrthocenter>(a, b, c);
    auto* in = AddCentre<CGVerIncenter>(a, b, c);
    auto* ex = AddCentre<CGVerEscenter>(a, b, c);
    EXPECT_FALSE(circum->m_valid);
    EXPECT_FALSE(ortho->m_valid);
    // Three distinct collinear points: the incentre is the middle one, on the segment.
    EXPECT_TRUE(in->m_valid);
    ExpectAt(*in, 1, 0, 0);
    // B on the segment AC: no excentre.
    EXPECT_FALSE(ex->m_valid);
    // A triangle whose doubled area vector stays below 0.01 in every component counts as flat:
    // (0.1, 0, 0) x (0, 0.05, 0) = (0, 0, 0.005).
    MovePoint(b, 0.1f, 0, 0);
    MovePoint(c, 0, 0.05f, 0);
    EXPECT_FALSE(circum->m_valid);
    EXPECT_FALSE(ortho->m_valid);
    EXPECT_TRUE(in->m_valid);
    EXPECT_TRUE(ex->m_valid);
    // Grown to (0.2, 0, 0) x (0, 0.1, 0) = (0, 0, 0.02): a triangle again, whose circumcentre is the
    // hypotenuse's midpoint.  The invalid points kept their last places until then.
    ExpectAt(*ortho, 0, 0, 0);
    MovePoint(b, 0.2f, 0, 0);
    MovePoint(c, 0, 0.1f, 0);
    EXPECT_TRUE(circum->m_valid);
    EXPECT_TRUE(ortho->m_valid);
    ExpectNear(*circum, 0.1, 0.05, 0, 1e-6);
    ExpectNear(*ortho, 0, 0, 0, 1e-6);
    ExpectSynced(*circum);
}

TEST_F(TriangleCentresTest, CoincidentCorners) {
    CGVertex* a = AddPoint(2, -1, 5);
    CGVertex* b = AddPoint(2, -1, 5);
    CGVertex* c = AddPoint(2, -1, 5);
    auto* centroid = AddCentre<CGVerBarycenter>(a, b, c);
    auto* in = AddCentre<CGVerIncenter>(a, b, c);
    auto* ex = AddCentre<CGVerEscenter>(a, b, c);
    EXPECT_TRUE(centroid->m_valid);
    ExpectAt(*centroid, 2, -1, 5);
    EXPECT_FALSE(in->m_valid); // the perimeter is below 1e-6
    EXPECT_FALSE(ex->m_valid);
    MovePoint(c, 2, 3, 5);
    EXPECT_TRUE(in->m_valid);
    // A and B together, C apart: |BC| = |CA| = 4 and |AB| = 0 put it on A and B.
    ExpectAt(*in, 2, -1, 5);
}

TEST_F(TriangleCentresTest, InvalidWhileACornerIsAndValidAgain) {
    MakeRightTriangle();
    auto* in = AddCentre<CGVerIncenter>(m_a, m_b, m_c);
    m_c->m_valid = false;
    MovePoint(m_a, 8, 0, 0);
    EXPECT_FALSE(in->m_valid);
    ExpectAt(*in, 1, 1, 0);
    m_c->m_valid = true;
    MovePoint(m_c, 0, 6, 0);
    EXPECT_TRUE(in->m_valid);
    ExpectNear(*in, 2, 2, 0); // the 6-8-10 triangle: inradius 2
    // A corner that is missing or no point counts as an invalid one.
    CGLine* line = AddLine(m_a->m_id, m_b->m_id);
    auto* onLine = Add<CGVerBarycenter>(line->m_id, m_b->m_id, m_c->m_id);
    EXPECT_FALSE(onLine->m_valid);
    auto* onNothing = Add<CGVerBarycenter>(WORD(900), m_b->m_id, m_c->m_id);
    EXPECT_FALSE(onNothing->m_valid);
    EXPECT_EQ(onNothing->GetDescription(), u"△BC的重心");
}

TEST_F(TriangleCentresTest, DescriptionsAndRecords) {
    MakeRightTriangle();
    auto* in = AddCentre<CGVerIncenter>(m_a, m_b, m_c);
    const std::pair<CGVertex*, const char16_t*> cells[] = {
        {AddCentre<CGVerBarycenter>(m_a, m_b, m_c), u"△ABC的重心"},
        {AddCentre<CGVerExcenter>(m_a, m_b, m_c), u"△ABC的外心"},
        {in, u"△ABC的内心"},
        {AddCentre<CGVerOrthocenter>(m_a, m_b, m_c), u"△ABC的垂心"},
        {AddCentre<CGVerEscenter>(m_c, m_a, m_b), u"△CAB的旁心"},
        {AddCentre<CGVerBisectorA>(m_a, m_b, m_c), u"角ABC的平分线上点"},
        {AddCentre<CGVerBisectorEA>(m_a, m_b, m_c), u"角ABC的外角平分线上点"},
    };
    // The point record under each class's own name.
    for (auto [cell, text] : cells) {
        const char* name = cell->GetRuntimeClass()->m_lpszClassName;
        SCOPED_TRACE(name);
        EXPECT_EQ(cell->GetDescription(), text);
        EXPECT_EQ(Stored(cell), PointRecord(name, *cell).Bytes());
    }
    EXPECT_EQ(CString(cells[4].second)[0], char16_t(0x25B3));
    m_a->m_name = CString(u"P1");
    EXPECT_EQ(cells[4].first->GetDescription(), u"△CP1B的旁心");

    // One record built from the values themselves: class, id, name, the point at (1, 1, 0), label
    // 0.2 off, and the second parameter word.
    in->m_param2 = 2.5f;
    ByteBuilder literal;
    literal.NewClass("CGVerIncenter");
    CommonRecord common;
    common.id = 4;
    common.name = u"D";
    common.labelHidden = 0;
    common.labelPos[0] = 1.0f + 4.0f * 0.05f;
    common.labelPos[1] = 1.0f;
    common.labelPos[2] = 4.0f * 0.05f;
    common.color = CRgba{128, 0, 0, 255};
    common.size = 6.0f;
    common.param[1] = 2.5f;
    common.parents = {1, 2, 3};
    common.AppendTo(literal);
    literal.F32(1).F32(1).F32(0).F32(4.0f * 0.05f).F32(0).F32(4.0f * 0.05f);
    auto back = ExpectRecord<CGVerIncenter>(in, literal.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_param2, 2.5f);
}
