// Translated and rotated points on hand-computed figures: single-precision sums, axes from a direction,
// a line or a centre, the oriented angle of three points, values, and the descriptions.
#include "points/translated_points.h"

#include "model/cell_kinds.h"
#include "model/free_points.h"

#include "points_fixture.h"

namespace {

constexpr float kHalfPi = 1.5707964f; // pi / 2 in single precision

using TranslatedPointsTest = PointsTest;

} // namespace

// Translations

TEST_F(TranslatedPointsTest, TranslationByTwoPoints) {
    CGVertex* p = AddPoint(1, 2, 3);
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 1, 1);
    auto* t = Add<CGVerTranslate>(p->m_id, a->m_id, b->m_id);
    EXPECT_EQ(t->m_name, u"D");
    ExpectValidAt(*t, 2, 3, 4, 0);
    ExpectSynced(*t);
    EXPECT_EQ(b->m_children.GetTail(), t->m_id);
    EXPECT_EQ(t->GetDescription(), u"点A按向量BC平移的点");
    MovePoint(b, -1, 0, 5);
    ExpectNear(*t, 0, 2, 8, 0);
    // A = B: the image sits on P.
    MovePoint(b, 0, 0, 0);
    ExpectNear(*t, 1, 2, 3, 0);
    // (B + P) - A, in that order and in single precision: P's 0.1 is lost next to 1e7.
    MovePoint(a, 1e7f, 0, 0);
    MovePoint(b, 1e7f, 0, 0);
    MovePoint(p, 0.1f, 2, 3);
    EXPECT_EQ(t->m_x, 0.0f);
}

TEST_F(TranslatedPointsTest, TranslationByAVectorItem) {
    CGVertex* p = AddPoint(1, 2, 3);
    CGTmVector* v = Vector(u"v", 1, -2, 0.5f);
    auto* t = Add<CGVerTranslateM>(p->m_id, v->m_id);
    ExpectValidAt(*t, 2, 0, 3.5, 0);
    EXPECT_EQ(t->GetDescription(), u"点A按向量v平移的点");
    v->m_vx = 0;
    v->m_vz = -3;
    Changed(v);
    ExpectNear(*t, 1, 0, 0, 0);
    // A value is no vector.
    EXPECT_FALSE(Add<CGVerTranslateM>(p->m_id, AddValue(2, u"m")->m_id)->m_valid);
}

TEST_F(TranslatedPointsTest, TranslationByAFixedVectorIsNoFreePoint) {
    CGVertex* p = AddPoint(1, 2, 3);
    auto* t = Add<CGVerTranslateStc>(p->m_id, 1.0f, -2.0f, 0.5f);
    ExpectValidAt(*t, 2, 0, 3.5, 0);
    EXPECT_EQ(t->GetDescription(), u"点A按向量（1.0000,-2.0000,0.5000）平移的点");
    EXPECT_FALSE(t->IsKindOf(RUNTIME_CLASS(CGVerFree)));
    EXPECT_FALSE(HxIsFreePoint(t));
    EXPECT_EQ(t->m_color, (CRgba{128, 0, 0, 255}));
    MovePoint(p, -1, -1, -1);
    ExpectNear(*t, 0, -3, -0.5, 0);
    // Writing the position back keeps the vector (a point that follows would take a new offset).
    t->SetPosition(9, 9, 9);
    EXPECT_EQ(t->m_offset[0], 1.0f);
    t->Recompute();
    ExpectNear(*t, 0, -3, -0.5, 0);
    ExpectNear(*Add<CGVerTranslateStc>(p->m_id, 0.0f, 0.0f, 0.0f), -1, -1, -1, 0);
}

// Rotations about a fixed axis

TEST_F(TranslatedPointsTest, RotationByAFixedAngle) {
    CGVertex* p = AddPoint(2, 1, 5);
    auto* r = Add<CGVerRotate>(p->m_id, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, kHalfPi);
    ExpectValidAt(*r, 1, 2, 5);
    ExpectSynced(*r);
    EXPECT_EQ(r->GetDescription(),
              u"点A绕过点（1.0000,1.0000,0.0000）且方向为（0.0000,0.0000,1.0000）的轴旋转"
              u"90.0000度的点");
    // Right-handed about +x: y turns into z.
    auto* aboutX = Add<CGVerRotate>(p->m_id, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, kHalfPi);
    ExpectNear(*aboutX, 2, -5, 1);
    MovePoint(p, 0, 1, 0);
    ExpectNear(*aboutX, 0, 0, 1);
    ExpectNear(*r, 1, 0, 0);
    // A direction of another length is taken as its unit vector; no direction turns nothing.
    auto* longer = Add<CGVerRotate>(p->m_id, 0.0f, 0.0f, 2.0f, 1.0f, 1.0f, 0.0f, kHalfPi);
    ExpectNear(*longer, 1, 0, 0);
    EXPECT_EQ(longer->m_direction[2], 2.0f); // kept as given
    auto* none = Add<CGVerRotate>(p->m_id, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, kHalfPi);
    EXPECT_FALSE(none->m_valid);
    EXPECT_EQ(none->GetDescription(),
              u"点A绕过点（1.0000,1.0000,0.0000）且方向为（0.0000,0.0000,0.0000）的轴旋转"
              u"90.0000度的点");
}

TEST_F(TranslatedPointsTest, RotationByTheOrientedAngleOfThreePoints) {
    CGVertex* p = AddPoint(1, 0, 0);
    CGVertex* a = AddPoint(1, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    auto* r = Add<CGVerRotateA>(p->m_id, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, a->m_id, b->m_id, c->m_id);
    ExpectValidAt(*r, 0, 1, 0); // a quarter turn
    EXPECT_EQ(r->GetDescription(),
              u"点A绕过点（0.0000,0.0000,0.0000）且方向为（0.0000,0.0000,1.0000）的轴旋转的点,转角等于∠BCD");
    // Clockwise seen from +z: three quarters; C beyond B from A: a half turn; C on the ray BA: a
    // full turn, back onto P.
    for (auto [cx, cy, x, y] :
         {std::tuple{0.0f, -1.0f, 0.0, -1.0}, {-3.0f, 0.0f, -1.0, 0.0}, {2.0f, 0.0f, 1.0, 0.0}}) {
        MovePoint(c, cx, cy, 0);
        ExpectNear(*r, x, y, 0);
    }
}

TEST_F(TranslatedPointsTest, RotationByAValue) {
    CGVertex* p = AddPoint(1, 0, 3);
    CGTmVariable* m = AddValue(float(kPi), u"m");
    auto* r = Add<CGVerRotateA2>(p->m_id, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, m->m_id);
    ExpectValidAt(*r, -1, 0, 3);
    EXPECT_EQ(
        r->GetDescription(),
        u"点A绕过点（0.0000,0.0000,0.0000）且方向为（0.0000,0.0000,1.0000）的轴旋转的点,转角等于度量值m");
    m->m_param1 = -kHalfPi; // radians, as they are
    Changed(m);
    ExpectNear(*r, 0, -1, 3);
    // A vector item is no value.
    CGTmVector* v = Vector(u"v", 1, 0, 0);
    EXPECT_FALSE(Add<CGVerRotateA2>(p->m_id, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, v->m_id)->m_valid);
}

// Rotations about a centre or an axis line

TEST_F(TranslatedPointsTest, RotationAboutALine) {
    CGVertex* p = AddPoint(2, 0, 0);
    CGLine* axis = Line(1, 0, 0, 1, 0, 2); // B, C: twice a unit, along +z
    auto* r = Add<CGVerRotateX>(p->m_id, axis->m_id, kHalfPi, BYTE(0));
    EXPECT_EQ(r->m_extA1, 0);
    EXPECT_FALSE(r->AboutCenter());
    ExpectValidAt(*r, 1, 1, 0);
    EXPECT_EQ(r->GetDescription(), u"点A绕轴BC旋转90.0000度的点");
    // The axis turned round turns the other way.
    CGVertex* b = axis->GetEnd(0);
    CGVertex* c = axis->GetEnd(1);
    MovePoint(b, 1, 0, 4);
    ExpectNear(*r, 1, -1, 0);
    // A line whose points coincide has no direction: no image until they part again.
    MovePoint(b, 1, 0, 2);
    ExpectInvalidAt(*r, 1, -1, 0);
    MovePoint(c, 1, 0, 0);
    ExpectValidAt(*r, 1, -1, 0);
    // Only the line's own flag is asked.
    c->m_valid = false;
    r->Recompute();
    EXPECT_TRUE(r->m_valid);
    // With the selector of a line, a point in X's place is of the wrong class.
    EXPECT_FALSE(Add<CGVerRotateX>(p->m_id, b->m_id, kHalfPi, BYTE(0))->m_valid);
}

TEST_F(TranslatedPointsTest, RotationAboutACentreTurnsInTheHorizontalPlane) {
    CGVertex* p = AddPoint(2, 1, 0);
    CGVertex* x = AddPoint(1, 1, 7);
    auto* r = Add<CGVerRotateX>(p->m_id, x->m_id, kHalfPi, BYTE(1));
    EXPECT_EQ(r->m_extA1, 1);
    EXPECT_TRUE(r->AboutCenter());
    ExpectValidAt(*r, 1, 2, 0);
    EXPECT_EQ(r->GetDescription(), u"点A绕中心B旋转90.0000度的点");
    MovePoint(p, 1, 0, -3);
    ExpectNear(*r, 2, 1, -3);
    MovePoint(x, 0, 0, 0);
    ExpectNear(*r, 0, 1, -3);
    // Any selector other than 0 means a centre; a line in the centre's place is of the wrong class.
    auto* seven = Add<CGVerRotateX>(p->m_id, x->m_id, kHalfPi, BYTE(7));
    EXPECT_TRUE(seven->AboutCenter());
    ExpectNear(*seven, 0, 1, -3);
    CGLine* line = Line(0, 0, 0, 0, 0, 1);
    EXPECT_FALSE(Add<CGVerRotateX>(p->m_id, line->m_id, kHalfPi, BYTE(1))->m_valid);
}

TEST_F(TranslatedPointsTest, RotationAboutXByThreePointsOrAValue) {
    CGVertex* p = AddPoint(2, 0, 0);
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(1, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    auto* byAngle = Add<CGVerRotateXA>(p->m_id, o->m_id, a->m_id, b->m_id, c->m_id, BYTE(1));
    ExpectValidAt(*byAngle, 0, 2, 0);
    EXPECT_EQ(byAngle->GetDescription(), u"点A绕中心B旋转∠CDE的点");
    CGLine* axis = Line(0, 0, 0, 0, 0, 1); // G, H
    auto* aboutLine = Add<CGVerRotateXA>(p->m_id, axis->m_id, a->m_id, b->m_id, c->m_id, BYTE(0));
    ExpectNear(*aboutLine, 0, 2, 0);
    EXPECT_EQ(aboutLine->GetDescription(), u"点A绕轴GH旋转∠CDE的点");
    MovePoint(c, 0, -1, 0);
    ExpectNear(*byAngle, 0, -2, 0);
    ExpectNear(*aboutLine, 0, -2, 0);

    CGTmVariable* m = AddValue(float(kPi), u"m");
    auto* byValue = Add<CGVerRotateXA2>(p->m_id, o->m_id, m->m_id, BYTE(1));
    ExpectNear(*byValue, -2, 0, 0);
    EXPECT_EQ(byValue->GetDescription(), u"点A绕中心B旋转的点,转角为度量值m");
    auto* byValueAboutLine = Add<CGVerRotateXA2>(p->m_id, axis->m_id, m->m_id, BYTE(0));
    ExpectNear(*byValueAboutLine, -2, 0, 0);
    EXPECT_EQ(byValueAboutLine->GetDescription(), u"点A绕轴GH旋转的点,转角为度量值m");
    m->m_param1 = kHalfPi;
    Changed(m);
    ExpectNear(*byValue, 0, 2, 0);
    ExpectNear(*byValueAboutLine, 0, 2, 0);
}

TEST_F(TranslatedPointsTest, DescriptionsShowDegreesOfTheStoredRadians) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* x = AddPoint(1, 0, 0);
    auto* r = Add<CGVerRotateX>(p->m_id, x->m_id, 1.0f, BYTE(1));
    EXPECT_EQ(r->GetDescription(), u"点A绕中心B旋转57.2958度的点");
    r->m_angle = -0.5f;
    EXPECT_EQ(r->GetDescription(), u"点A绕中心B旋转-28.6479度的点");
    auto* f = Add<CGVerRotate>(p->m_id, 0.6f, 0.0f, 0.8f, -1.25f, 0.0f, 2.5f, 3.1415927f);
    EXPECT_EQ(f->GetDescription(),
              u"点A绕过点（-1.2500,0.0000,2.5000）且方向为（0.6000,0.0000,0.8000）的轴旋转"
              u"180.0000度的点");
    // The names as they are now.
    x->m_name = CString(u"O");
    EXPECT_EQ(r->GetDescription(), u"点A绕中心O旋转-28.6479度的点");
}
