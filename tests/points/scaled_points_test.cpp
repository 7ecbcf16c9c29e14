// Scaled and reflected points on hand-computed figures: the ratios, the stand-in ratio 10000, the masks
// of the coordinate reflections, the mirrors of a point, a line and a plane, and their descriptions.
#include "points/scaled_points.h"

#include "points_fixture.h"

namespace {

using ScaledPointsTest = PointsTest;

} // namespace

// Dilations

TEST_F(ScaledPointsTest, RatioOfThreePointsTakesTheFirstCoordinateThatMoves) {
    CGVertex* p = AddPoint(4, 2, 6);
    CGVertex* o = AddPoint(0, 0, 0);
    // A, C, D on a line parallel to the x axis: the x differences decide, k = AC : AD = 1 : 2.
    CGVertex* a = AddPoint(1, 1, 0);
    CGVertex* c = AddPoint(2, 1, 0);
    CGVertex* d = AddPoint(3, 1, 0);
    auto* s = Add<CGVerScaleP>(p->m_id, o->m_id, a->m_id, c->m_id, d->m_id);
    ExpectValidAt(*s, 2, 1, 3, 0);
    ExpectSynced(*s);
    EXPECT_EQ(s->GetDescription(), u"点A以点B为中心，按比 CD：CE 缩放的点");
    struct Case {
        CGVertex* moved;
        float x, y, z;
        double ex, ey, ez;
    };
    for (Case m : {
             Case{c, 0, 1, 0, -2, -1, -3}, // C on the other side of A: a negative ratio
             Case{c, 1, 1, 0, 0, 0, 0},    // C on A: the image sits on O
             Case{c, 2, 1, 0, 2, 1, 3},
             Case{d, 1, 1, 0, 40000, 20000, 60000}, // D on A: the stand-in ratio 10000
             // The z differences come first, even where x moves too (nothing checks collinearity).
             Case{d, 5, 1, 1, 0, 0, 0}, Case{c, 2, 1, 2, 8, 4, 12}, Case{d, 1, 3, 0, 0, 0, 0}, // only y left
             Case{c, 1, 7, 0, 12, 6, 18},
             Case{o, 1, 1, 1, 10, 4, 16}, // about another centre: P k + (1 - k) O
         }) {
        MovePoint(m.moved, m.x, m.y, m.z);
        ExpectValidAt(*s, m.ex, m.ey, m.ez, 0);
    }
}

TEST_F(ScaledPointsTest, RatioOfTwoLengths) {
    CGVertex* p = AddPoint(2, 0, 0);
    CGVertex* o = AddPoint(0, 0, 0);
    CGLine* l1 = Line(0, 0, 0, 0, 3, 0); // C, D
    CGLine* l2 = Line(5, 5, 5, 5, 5, 3); // E, F
    auto* s = Add<CGVerScaleL>(p->m_id, o->m_id, l1->m_id, l2->m_id);
    ExpectValidAt(*s, 3, 0, 0, 0);
    EXPECT_EQ(s->GetDescription(), u"点A以点B为中心，按比 |CD|：|EF| 缩放的点");
    // Lengths have no sign.
    MovePoint(l1->GetEnd(1), 0, -6, 0);
    ExpectNear(*s, 6, 0, 0, 0);
    // A second line of no length: the stand-in ratio.
    MovePoint(l2->GetEnd(1), 5, 5, 5);
    ExpectValidAt(*s, 20000, 0, 0, 0);
    // Only the lines' own flags are asked.
    l2->GetEnd(0)->m_valid = false;
    s->Recompute();
    EXPECT_TRUE(s->m_valid);
    l2->GetEnd(0)->m_valid = true;
    MovePoint(l2->GetEnd(1), 5, 5, 8);
    ExpectValidAt(*s, 4, 0, 0, 0);
}

TEST_F(ScaledPointsTest, RatioOfAValue) {
    CGVertex* p = AddPoint(3, 1, 0);
    CGVertex* o = AddPoint(1, 1, 0);
    CGTmVariable* k = AddValue(2, u"k");
    auto* s = Add<CGVerScaleM>(p->m_id, o->m_id, k->m_id);
    ExpectNear(*s, 5, 1, 0, 0);
    EXPECT_EQ(s->GetDescription(), u"点A以点B为中心，以值k为比例缩放的点");
    // k = -1 reflects in O, k = 1 leaves P, k = 0 gives O.
    for (auto [value, x] : {std::pair{-1.0f, -1.0}, {1.0f, 3.0}, {0.0f, 1.0}}) {
        k->m_param1 = value;
        Changed(k);
        ExpectNear(*s, x, 1, 0, 0);
    }
    EXPECT_FALSE(Add<CGVerScaleM>(p->m_id, o->m_id, Vector(u"v", 1, 1, 1)->m_id)->m_valid);
}

TEST_F(ScaledPointsTest, FixedRatios) {
    CGVertex* p = AddPoint(4, -2, 6);
    CGVertex* o = AddPoint(2, 2, 2);
    auto* half = Add<CGVerScale>(p->m_id, o->m_id, 0.5f);
    ExpectNear(*half, 3, 0, 4, 0);
    EXPECT_EQ(half->GetDescription(), u"点A以点B为中心，按比0.5000缩放的点");
    auto* about = Add<CGVerScaleO>(p->m_id, -2.0f);
    ExpectNear(*about, -8, 4, -12, 0);
    EXPECT_EQ(about->GetDescription(), u"点A以原点为中心，按比-2.0000缩放的点");
    MovePoint(p, 1, 1, 1);
    ExpectNear(*half, 1.5, 1.5, 1.5, 0);
    ExpectNear(*about, -2, -2, -2, 0);
    // Single-precision steps in the order P k + (1 - k) O: 1 and 3 at 0.1 give 2.7999997, where
    // O + k (P - O) would give 2.8.
    CGVertex* one = AddPoint(1, 3, 0);
    CGVertex* three = AddPoint(3, 3, 0);
    auto* tenth = Add<CGVerScale>(one->m_id, three->m_id, 0.1f);
    EXPECT_EQ(tenth->m_x, 2.7999997f);
    EXPECT_EQ(tenth->m_y, 2.9999998f);
}

// Reflections

TEST_F(ScaledPointsTest, ReflectionInTheCoordinateElements) {
    CGVertex* p = AddPoint(1, 2, 3);
    struct Case {
        BYTE mask;
        float x, y, z;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, 1, 2, 3, u"点A关于对称点"},       {1, -1, 2, 3, u"点A关于yoz面对称点"},
        {2, 1, -2, 3, u"点A关于xoz面对称点"}, {3, -1, -2, 3, u"点A关于z轴对称点"},
        {4, 1, 2, -3, u"点A关于xoy面对称点"}, {5, -1, 2, -3, u"点A关于y轴对称点"},
        {6, 1, -2, -3, u"点A关于x轴对称点"},  {7, -1, -2, -3, u"点A关于原点对称点"},
        {9, -1, 2, 3, u"点A关于对称点"}, // only the three low bits reflect; no element is named
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mask));
        auto* s = Add<CGVerSymmetry>(p->m_id, c.mask);
        ExpectValidAt(*s, c.x, c.y, c.z, 0);
        EXPECT_EQ(s->GetDescription(), CString(c.text));
    }
    EXPECT_EQ(CGVerSymmetry::ElementName(7), u"原点");
    EXPECT_EQ(CGVerSymmetry::ElementName(255), u"");
}

TEST_F(ScaledPointsTest, ReflectionInAPoint) {
    CGVertex* p = AddPoint(1, 2, 3);
    CGVertex* c = AddPoint(0, 1, -1);
    auto* s = Add<CGVerSymmetryP>(p->m_id, c->m_id);
    ExpectNear(*s, -1, 0, -5, 0);
    EXPECT_EQ(s->GetDescription(), u"点A关于点B对称点");
    MovePoint(p, 0, 1, -1);
    ExpectNear(*s, 0, 1, -1, 0); // on the mirror: itself
    MovePoint(c, 1, 1, 1);
    ExpectNear(*s, 2, 1, 3, 0);
}

TEST_F(ScaledPointsTest, ReflectionInALine) {
    CGVertex* p = AddPoint(1, 1, 0);
    CGLine* l = Line(0, 0, 0, 2, 0, 0); // B, C
    auto* s = Add<CGVerSymmetryL>(p->m_id, l->m_id);
    ExpectValidAt(*s, 1, -1, 0);
    EXPECT_EQ(s->GetDescription(), u"点A关于直线BC对称点");
    // The whole line counts, beyond its points too; a foot on the line's first point is a foot like
    // any other; on the mirror: itself.
    for (auto [x, y, z] : {std::tuple{5.0f, 0.0f, 2.0f}, {0.0f, 3.0f, 0.0f}, {1.5f, 0.0f, 0.0f}}) {
        MovePoint(p, x, y, z);
        ExpectValidAt(*s, x, -y, -z);
    }
    // A line whose points coincide mirrors nothing, until they part.
    MovePoint(l->GetEnd(1), 0, 0, 0);
    ExpectInvalidAt(*s, 1.5, 0, 0);
    MovePoint(l->GetEnd(1), 0, 0, 1);
    ExpectValidAt(*s, -1.5, 0, 0);
}

TEST_F(ScaledPointsTest, ReflectionInAPlane) {
    CGVertex* p = AddPoint(1, 2, 3);
    const float a[] = {0, 0, 0}, b[] = {1, 0, 0}, c[] = {0, 1, 0};
    CGFace* f = Face(a, b, c); // B, C, D
    auto* s = Add<CGVerSymmetryF>(p->m_id, f->m_id);
    ExpectValidAt(*s, 1, 2, -3);
    EXPECT_EQ(s->GetDescription(), u"点A关于平面BCD对称点");
    // The plane x = y.
    MovePoint(f->GetCorner(1), 0, 0, 1);
    MovePoint(f->GetCorner(2), 1, 1, 0);
    ExpectNear(*s, 2, 1, 3);
    // Collinear corners: the mirror falls back to the line of the first two, the z axis.
    MovePoint(f->GetCorner(2), 0, 0, 2);
    ExpectValidAt(*s, -1, -2, 3);
    // On the mirror: itself.
    MovePoint(p, 0, 0, 7);
    ExpectNear(*s, 0, 0, 7);
}
