// The measurements on hand-computed figures: values, texts at several precisions, names, markup and
// descriptions, invalid parents and valid again, recomputation when a parent moves or is renamed,
// and the record of every class by its registered name.
#include "measure/measurements.h"
#include "model/arc.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "solids/revolution_constructed.h"
#include "support/archive_helpers.h"
#include "support/page_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979;

class MeasurementsTest : public PageFixture {
protected:
    CGVertex* Point(float x, float y, float z, const char16_t* name = nullptr) {
        CGVertex* p = AddPoint(x, y, z);
        if (name)
            p->m_name = name;
        return p;
    }
    CGFace* Face(std::initializer_list<WORD> corners) {
        CList<WORD, WORD> list;
        for (WORD c : corners)
            list.AddTail(c);
        return Insert(new CGFace(NextId(), list, RGB(10, 20, 30)));
    }
    // A circle about (cx, cy, 0) of radius r in the plane z = 0, from start to end.
    CGArc* Circle(float cx, float cy, float r, float start, float end, BYTE kind) {
        return Insert(new CGArc(NextId(), cx, cy, 0, r, 0, 0, 0, r, 0, start, end, kind));
    }
    template <class T, class... Parents> T* Measure(Parents... parents) {
        return Insert(new T(NextId(), parents...));
    }
    // Moves a point and recomputes what depends on it, as a drag does.
    void Move(CGVertex* p, float x, float y, float z) { MovePoint(p, x, y, z); }
};

TEST_F(MeasurementsTest, CoordinatesOfAPoint) {
    CGVertex* a = Point(1.0f, -2.5f, 3.25f, u"A");
    auto* x = Measure<CGTmVarCoordX>(a->m_id);
    auto* y = Measure<CGTmVarCoordY>(a->m_id);
    auto* z = Measure<CGTmVarCoordZ>(a->m_id);
    EXPECT_EQ(x->m_name, u"x (A)");
    EXPECT_EQ(x->m_text3, u"<_><e>x</e><e>A</e></_>");
    EXPECT_EQ(y->m_name, u"y (A)");
    EXPECT_EQ(z->m_text3, u"<_><e>z</e><e>A</e></_>");
    EXPECT_EQ(x->GetDescription(), u"度量值：A点的X坐标");
    EXPECT_EQ(y->GetDescription(), u"度量值：A点的Y坐标");
    EXPECT_EQ(z->GetDescription(), u"度量值：A点的Z坐标");
    EXPECT_EQ(x->m_text, u"1");
    EXPECT_EQ(y->m_text, u"-2.50");
    EXPECT_EQ(z->m_text, u"3.25");
    z->m_size = 0.1f;
    z->Recompute();
    EXPECT_EQ(z->m_text, u"3.3") << "3.25 at one decimal, half away from zero";
    // Placed as new text items one below the other, linked as children of the point.
    EXPECT_FLOAT_EQ(x->m_labelPos[0], 13.0f);
    EXPECT_FLOAT_EQ(y->m_labelPos[1], x->m_labelPos[1] - 1.5f);
    EXPECT_EQ(a->m_children.GetCount(), 3);
    Move(a, 4.0f, 0.0f, 0.0f);
    EXPECT_EQ(x->m_param1, 4.0f);
    EXPECT_EQ(x->m_text, u"4");
    EXPECT_EQ(y->m_text, u"0");
}

TEST_F(MeasurementsTest, DistanceOfTwoPointsInvalidAndValidAgain) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(3, 4, 0, u"B");
    auto* d = Measure<CGTmVarDistancePP>(a->m_id, b->m_id);
    EXPECT_EQ(d->m_param1, 5.0f);
    EXPECT_EQ(d->m_name, u"|AB|");
    EXPECT_EQ(d->m_text3, u"<e>|AB|</e>");
    EXPECT_EQ(d->GetDescription(), u"度量值：两点A、B间距离");
    EXPECT_EQ(d->m_text, u"5");
    Move(b, 1, 1, 1);
    EXPECT_FLOAT_EQ(d->m_param1, std::sqrt(3.0f));
    EXPECT_EQ(d->m_text, u"1.73");

    b->m_valid = false;
    d->Recompute();
    EXPECT_FALSE(d->m_valid);
    EXPECT_EQ(d->m_text, u"? ");
    EXPECT_FLOAT_EQ(d->m_param1, std::sqrt(3.0f)) << "the last value stays";
    d->m_style = 1;
    d->Recompute();
    EXPECT_EQ(d->m_text, u" = ? ");
    b->m_valid = true;
    d->Recompute();
    EXPECT_TRUE(d->m_valid);
    EXPECT_EQ(d->m_text, u" =1.73");
}

TEST_F(MeasurementsTest, NamesFollowTheParentsUnlessFixed) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(1, 0, 0, u"B");
    auto* d = Measure<CGTmVarDistancePP>(a->m_id, b->m_id);
    b->m_name = u"Q";
    d->m_flag2 = false;
    d->UpdateName();
    EXPECT_EQ(d->m_name, u"|AQ|");
    EXPECT_EQ(d->m_text3, u"<e>|AQ|</e>");
    EXPECT_TRUE(d->m_flag2) << "the rendered name follows";
    d->m_nameFixed = true;
    b->m_name = u"R";
    d->UpdateName();
    EXPECT_EQ(d->m_name, u"|AQ|");
    EXPECT_EQ(d->GetDescription(), u"度量值：两点A、R间距离") << "descriptions always follow";
}

TEST_F(MeasurementsTest, PointToLine) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(2, 0, 0, u"B");
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVertex* p = Point(5, 3, 0, u"P");
    auto* d = Measure<CGTmVarDistancePL>(p->m_id, ab->m_id);
    EXPECT_EQ(d->m_name, u"d ( P, AB)");
    EXPECT_EQ(d->m_text3, u"<_><e>d</e><e>P,AB</e></_>");
    EXPECT_EQ(d->GetDescription(), u"度量值：点P到直线AB的距离");
    EXPECT_FLOAT_EQ(d->m_param1, 3.0f) << "to the line, not the segment";
    // Points on the line measure 0 (rounding would take the square root of a hair below 0).
    const float on[][3] = {{0.1f, 0, 0}, {1.7f, 0, 0}, {1e7f, 0, 0}, {-0.3f, 0, 0}};
    Move(b, 0.3f, 0.7f, 0.1f);
    for (const auto& q : on) {
        const float t = q[0];
        Move(p, t * 0.3f, t * 0.7f, t * 0.1f);
        EXPECT_TRUE(std::isfinite(d->m_param1)) << t;
        EXPECT_NEAR(d->m_param1, 0.0f, 1e-3f * std::max(1.0f, std::fabs(t))) << t;
        EXPECT_EQ(d->m_text.Find(u"nan"), -1);
    }
    // A degenerate line: the distance to its point.
    Move(b, 0, 0, 0);
    Move(p, 0, 4, 3);
    EXPECT_FLOAT_EQ(d->m_param1, 5.0f);
}

TEST_F(MeasurementsTest, PointToPlaneWhateverTheOrientation) {
    CGVertex* a = Point(0, 0, 0);
    CGVertex* b = Point(4, 0, 0);
    CGVertex* c = Point(4, 4, 0);
    CGVertex* d = Point(0, 4, 0);
    CGFace* up = Face({a->m_id, b->m_id, c->m_id, d->m_id});
    CGFace* down = Face({d->m_id, c->m_id, b->m_id, a->m_id});
    CGVertex* p = Point(1, 2, 3, u"P");
    auto* m1 = Measure<CGTmVarDistancePF>(p->m_id, up->m_id);
    auto* m2 = Measure<CGTmVarDistancePF>(p->m_id, down->m_id);
    EXPECT_FLOAT_EQ(m1->m_param1, 3.0f);
    EXPECT_FLOAT_EQ(m2->m_param1, 3.0f);
    EXPECT_EQ(m1->GetDescription(), CString(u"度量值：点P到平面") + up->m_name + u"的距离");
    // First three vertices collinear: the distance to the second vertex.
    Move(c, 8, 0, 0);
    EXPECT_FLOAT_EQ(m1->m_param1, std::sqrt(9.0f + 4.0f + 9.0f));
}

TEST_F(MeasurementsTest, DistanceOfTwoLines) {
    CGLine* l = AddLine(Point(0, 0, 0)->m_id, Point(1, 0, 0)->m_id);
    CGLine* m = AddLine(Point(0, 0, 2)->m_id, Point(0, 1, 2)->m_id);
    auto* d = Measure<CGTmVarDistanceLL>(l->m_id, m->m_id);
    EXPECT_FLOAT_EQ(d->m_param1, 2.0f) << "skew lines 2 apart";
    EXPECT_EQ(d->GetDescription(), CString(u"度量值：直线") + l->m_name + u"与直线" + m->m_name + u"间距离");
}

TEST_F(MeasurementsTest, AnglesOfLinesInDegrees) {
    CGVertex* o = Point(0, 0, 0, u"O");
    CGLine* l = AddLine(o->m_id, Point(1, 0, 0)->m_id);
    CGVertex* q = Point(0, 1, 0);
    CGLine* m = AddLine(o->m_id, q->m_id);
    auto* angle = Measure<CGTmVarAngleLL>(l->m_id, m->m_id);
    EXPECT_EQ(angle->m_name, CString(u"∠") + l->m_name + u", " + m->m_name);
    EXPECT_EQ(angle->m_text3, CString(u"<_><e>∠</e><e>") + l->m_name + u"," + m->m_name + u"</e></_>");
    EXPECT_NEAR(angle->m_param1, kPi / 2, 1e-6);
    EXPECT_EQ(angle->m_text, u"90.00°");
    // Lines at 120 degrees measure 60; parallel lines 0.
    Move(q, -0.5f, std::sqrt(3.0f) / 2, 0);
    EXPECT_EQ(angle->m_text, u"60.00°");
    angle->m_style = 1;
    angle->Recompute();
    EXPECT_EQ(angle->m_text, u"= 60.00°") << "the angles' own formula text";
    angle->m_labelHidden = 1;
    angle->Recompute();
    EXPECT_EQ(angle->m_text, u"= 60.00°") << "whether or not the name is shown";
    Move(q, -3, 0, 0);
    EXPECT_EQ(angle->m_text, u"= 0°");
    // An invalid line (only the lines are looked at, not their points): the undefined text.
    l->m_valid = false;
    angle->Recompute();
    EXPECT_FALSE(angle->m_valid);
    EXPECT_EQ(angle->m_text, u"? ") << "the name is hidden: plain";
    angle->m_labelHidden = 0;
    angle->Recompute();
    EXPECT_EQ(angle->m_text, u" = ? ");
    EXPECT_EQ(angle->GetDescription(),
              CString(u"度量值：直线") + l->m_name + u"与直线" + m->m_name + u"所成角");
}

TEST_F(MeasurementsTest, AngleOfALineAndAPlane) {
    CGFace* ground = Face({Point(0, 0, 0)->m_id, Point(1, 0, 0)->m_id, Point(0, 1, 0)->m_id});
    CGVertex* a = Point(2, 2, 0);
    CGVertex* b = Point(3, 5, 0);
    CGLine* l = AddLine(a->m_id, b->m_id);
    auto* angle = Measure<CGTmVarAngleLF>(l->m_id, ground->m_id);
    EXPECT_EQ(angle->m_text, u"0°") << "a line in the plane";
    Move(b, 2, 2, 7);
    EXPECT_EQ(angle->m_text, u"90.00°") << "along the normal";
    Move(b, 3, 2, 1);
    EXPECT_EQ(angle->m_text, u"45.00°");
    EXPECT_EQ(angle->GetDescription(),
              CString(u"度量值：直线") + l->m_name + u"与平面" + ground->m_name + u"所成角");
}

// Two planes measure the angle the dihedral routine gives, not folded to the acute angle.
TEST_F(MeasurementsTest, AngleOfTwoPlanesIsNotFolded) {
    CGVertex* a = Point(0, 0, 0);
    CGVertex* b = Point(0, 1, 0);
    CGFace* f = Face({a->m_id, Point(1, 0, 0)->m_id, b->m_id}); // normal -z
    const float c = std::cos(float(kPi / 3)), s = std::sin(float(kPi / 3));
    CGVertex* e = Point(c, 0, s);
    CGFace* g = Face({a->m_id, e->m_id, b->m_id});
    auto* angle = Measure<CGTmVarAngleFF>(f->m_id, g->m_id);
    EXPECT_NEAR(angle->m_param1, 2 * kPi / 3, 1e-5) << "normals 60 degrees apart";
    EXPECT_EQ(angle->m_text, u"120.00°");
    Move(e, -c, 0, s);
    EXPECT_NEAR(angle->m_param1, kPi / 3, 1e-5);
    EXPECT_EQ(angle->GetDescription(),
              CString(u"度量值：二平面") + f->m_name + u"、" + g->m_name + u"所成角");
}

TEST_F(MeasurementsTest, AngleOfThreePoints) {
    CGVertex* a = Point(3, 0, 0, u"A");
    CGVertex* b = Point(0, 0, 0, u"B");
    CGVertex* c = Point(0, 2, 0, u"C");
    auto* angle = Measure<CGTmVarAngleP3>(a->m_id, b->m_id, c->m_id);
    EXPECT_EQ(angle->m_name, u"∠ABC");
    EXPECT_EQ(angle->m_text3, u"<e>∠ABC</e>");
    EXPECT_EQ(angle->GetDescription(), u"度量值：∠ABC");
    EXPECT_EQ(angle->m_text, u"90.00°");
    angle->m_size = 1.0f;
    angle->Recompute();
    EXPECT_EQ(angle->m_text, u"90°");
    Move(c, 0, 0, 0);
    EXPECT_TRUE(angle->m_valid) << "a degenerate side measures 0, still valid";
    EXPECT_EQ(angle->m_text, u"0°");
}

TEST_F(MeasurementsTest, PolygonAreas) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(1, 0, 0, u"B");
    CGVertex* c = Point(1, 1, 0, u"C");
    CGVertex* d = Point(0, 1, 0, u"D");
    CGFace* square = Face({a->m_id, b->m_id, c->m_id, d->m_id});
    auto* area = Measure<CGTmVarArea>(square->m_id);
    EXPECT_EQ(area->m_param1, 1.0f);
    EXPECT_EQ(area->m_name, CString(u"S ( ") + square->m_name + u")");
    EXPECT_EQ(area->m_text3, CString(u"<_><e>S</e><e>") + square->m_name + u"</e></_>");
    EXPECT_EQ(area->GetDescription(), CString(u"度量值：多边形") + square->m_name + u"面积");
    CGFace* triangle = Face({Point(0, 0, 0)->m_id, Point(2, 0, 0)->m_id, Point(0, 2, 0)->m_id});
    EXPECT_EQ(Measure<CGTmVarArea>(triangle->m_id)->m_text, u"2");
    // Each fan triangle counts positively.
    Move(c, 0.25f, 0.25f, 0);
    EXPECT_FLOAT_EQ(area->m_param1, 0.125f + 0.125f);
}

TEST_F(MeasurementsTest, TetrahedronVolumeWhateverTheOrder) {
    CGVertex* p[4] = {Point(0, 0, 0, u"A"), Point(1, 0, 0, u"B"), Point(0, 1, 0, u"C"), Point(0, 0, 1, u"D")};
    auto* v = Measure<CGTmVarVolume>(p[0]->m_id, p[1]->m_id, p[2]->m_id, p[3]->m_id);
    EXPECT_NEAR(v->m_param1, 1.0 / 6, 1e-7);
    EXPECT_EQ(v->m_text, u"0.17");
    EXPECT_EQ(v->m_name, u"V ( ABCD)");
    EXPECT_EQ(v->m_text3, u"<_><e>V</e><e>A-BCD</e></_>");
    EXPECT_EQ(v->GetDescription(), u"度量值：四面体ABCD体积");
    auto* w = Measure<CGTmVarVolume>(p[2]->m_id, p[0]->m_id, p[3]->m_id, p[1]->m_id);
    EXPECT_EQ(w->m_param1, v->m_param1);
    p[3]->m_valid = false;
    w->Recompute();
    EXPECT_EQ(w->m_text, u"? ");
}

TEST_F(MeasurementsTest, CirclesAndArcs) {
    const float pi = 3.1415927f;
    CGArc* half = Circle(0, 0, 1, 0, pi, CGArc::kArc);
    CGArc* whole = Circle(5, 0, 1, 0, 2 * pi, CGArc::kCircle);
    auto* length = Measure<CGTmVarLenArc>(half->m_id);
    auto* area = Measure<CGTmVarAreaCircle>(half->m_id);
    auto* radius = Measure<CGTmVarRadius>(half->m_id);
    EXPECT_EQ(length->m_text, u"3.14");
    EXPECT_EQ(area->m_text, u"1.57");
    EXPECT_EQ(radius->m_text, u"1");
    EXPECT_EQ(Measure<CGTmVarLenArc>(whole->m_id)->m_text, u"6.28");
    EXPECT_EQ(Measure<CGTmVarAreaCircle>(whole->m_id)->m_text, u"3.14");
    const CString c = half->m_name;
    EXPECT_EQ(length->m_name, CString(u"P ( ") + c + u")");
    EXPECT_EQ(area->m_name, CString(u"S ( ") + c + u")");
    EXPECT_EQ(radius->m_name, CString(u"r ( ") + c + u")");
    EXPECT_EQ(radius->m_text3, CString(u"<_><e>r</e><e>") + c + u"</e></_>");
    EXPECT_EQ(length->GetDescription(), CString(u"度量值：圆（弧）") + c + u"的周长");
    EXPECT_EQ(area->GetDescription(), CString(u"度量值：圆（扇形）") + c + u"的面积");
    EXPECT_EQ(radius->GetDescription(), CString(u"度量值：圆（弧）") + c + u"的半径");
    // Sectors and segments take their part of the turn; discs are whole.
    half->m_kind = CGArc::kDisc;
    area->Recompute();
    EXPECT_EQ(area->m_text, u"3.14");
    half->m_kind = CGArc::kSector;
    area->Recompute();
    EXPECT_EQ(area->m_text, u"1.57");
}

// An invalid face, circle or solid makes its measurement invalid, like every other parent.
TEST_F(MeasurementsTest, InvalidFiguresGiveInvalidMeasurements) {
    CGFace* f = Face({Point(0, 0, 0)->m_id, Point(1, 0, 0)->m_id, Point(0, 1, 0)->m_id});
    CGArc* c = Circle(0, 0, 2, 0, 6.2831855f, CGArc::kCircle);
    auto* area = Measure<CGTmVarArea>(f->m_id);
    auto* radius = Measure<CGTmVarRadius>(c->m_id);
    EXPECT_TRUE(area->m_valid && radius->m_valid);
    f->m_valid = false;
    c->m_valid = false;
    area->Recompute();
    radius->Recompute();
    EXPECT_FALSE(area->m_valid);
    EXPECT_FALSE(radius->m_valid);
    EXPECT_EQ(area->m_text, u"? ");
    EXPECT_EQ(radius->m_text, u"? ");
    EXPECT_FLOAT_EQ(area->m_param1, 0.5f) << "the last value stays in the record";
    f->m_valid = c->m_valid = true;
    area->Recompute();
    radius->Recompute();
    EXPECT_EQ(area->m_text, u"0.50");
    EXPECT_EQ(radius->m_text, u"2");
}

TEST_F(MeasurementsTest, SurfacesAndVolumesOfSolids) {
    auto* cylinder = Insert(new CGCylinder(NextId(), 0, 0, 0, 2, 3, 0, 0, 1));
    auto* sphere = Insert(new CGSphere(NextId(), 0, 0, 0, 1, 0, 0, 1));
    auto* area = Measure<CGTmVarAreaCylinder>(cylinder->m_id);
    auto* volume = Measure<CGTmVarVolumeCylinder>(cylinder->m_id);
    auto* ball = Measure<CGTmVarAreaSphere>(sphere->m_id);
    auto* ballVolume = Measure<CGTmVarVolumeSphere>(sphere->m_id);
    EXPECT_EQ(area->m_text, u"62.83");
    EXPECT_EQ(volume->m_text, u"37.70");
    EXPECT_EQ(ball->m_text, u"12.57");
    EXPECT_EQ(ballVolume->m_text, u"4.19");
    EXPECT_EQ(area->m_name, CString(u"S ( ") + cylinder->m_name + u")");
    EXPECT_EQ(area->m_text3, CString(u"<_><e>S</e><e>") + cylinder->m_name + u"</e></_>");
    EXPECT_EQ(volume->m_name, CString(u"V ( ") + cylinder->m_name + u")");
    EXPECT_EQ(volume->m_text3, CString(u"<_><e>V</e><e>") + cylinder->m_name + u"</e></_>");
    EXPECT_EQ(area->GetDescription(), CString(u"度量值：") + cylinder->m_name + u"全面积");
    EXPECT_EQ(ball->GetDescription(), CString(u"度量值：") + sphere->m_name + u"表面积");
    EXPECT_EQ(volume->GetDescription(), CString(u"度量值：") + cylinder->m_name + u"体积");
    // A frustum with k = 1 measures like the cylinder, with k = 0 like the cone.
    auto* frustum = Insert(new CGFrustum(NextId(), 0, 0, 0, 2, 3, 0, 0, 1, 1.0f));
    auto* cone = Insert(new CGCone(NextId(), 0, 0, 0, 2, 3, 0, 0, 1));
    auto* frustumArea = Measure<CGTmVarAreaFrustum>(frustum->m_id);
    auto* frustumVolume = Measure<CGTmVarVolumeFrustum>(frustum->m_id);
    EXPECT_FLOAT_EQ(frustumArea->m_param1, area->m_param1);
    EXPECT_FLOAT_EQ(frustumVolume->m_param1, volume->m_param1);
    frustum->m_topRatio = 0.0f;
    frustumArea->Recompute();
    frustumVolume->Recompute();
    EXPECT_FLOAT_EQ(frustumArea->m_param1, Measure<CGTmVarAreaCone>(cone->m_id)->m_param1);
    EXPECT_FLOAT_EQ(frustumVolume->m_param1, Measure<CGTmVarVolumeCone>(cone->m_id)->m_param1);
    // An invalid solid: the measurement is invalid too, and valid again with it.
    cylinder->m_valid = false;
    area->Recompute();
    EXPECT_FALSE(area->m_valid);
    EXPECT_EQ(area->m_text, u"? ");
    cylinder->m_valid = true;
    area->Recompute();
    EXPECT_EQ(area->m_text, u"62.83");
}

TEST_F(MeasurementsTest, MeasurementsOfASolidOnPointsFollowThePoints) {
    CGVertex* o = Point(0, 0, 0);
    CGVertex* n = Point(0, 0, 1);
    auto* sphere = Insert(new CGSphereCN(NextId(), o->m_id, n->m_id));
    auto* volume = Measure<CGTmVarVolumeSphere>(sphere->m_id);
    EXPECT_EQ(volume->m_text, u"4.19");
    Move(n, 0, 0, 2);
    EXPECT_EQ(volume->m_text, u"33.51");
    // A wrong class where the solid belongs (a damaged file): invalid.
    auto* wrong = Measure<CGTmVarVolumeCylinder>(sphere->m_id);
    EXPECT_FALSE(wrong->m_valid);
}

TEST_F(MeasurementsTest, PlaceOfAPointOnALine) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(2, 0, 0, u"B");
    CGLine* ab = AddLine(a->m_id, b->m_id, CGLine::kSegment);
    CGVertex* p = Point(3, 1, 0, u"P");
    auto* t = Measure<CGTmVarParaPInL>(p->m_id, ab->m_id);
    EXPECT_EQ(t->m_name, u"P在线AB上");
    EXPECT_EQ(t->m_text3, u"<e>P在线AB上</e>");
    EXPECT_EQ(t->GetDescription(), u"点P在线AB上的相对位置");
    EXPECT_EQ(t->m_param1, 1.0f) << "beyond B on a segment";
    const struct {
        BYTE kind;
        float x, expected;
    } rows[] = {{CGLine::kLine, 3, 1.5f},   {CGLine::kLine, -1, -0.5f}, {CGLine::kRay, -1, 0.0f},
                {CGLine::kRay, 5, 2.5f},    {CGLine::kVector, 5, 1.0f}, {CGLine::kSegment, 1, 0.5f},
                {CGLine::kVector, -2, 0.0f}};
    for (const auto& r : rows) {
        ab->m_kind = r.kind;
        Move(p, r.x, 1, 0);
        EXPECT_FLOAT_EQ(t->m_param1, r.expected) << int(r.kind) << " at " << r.x;
    }
    Move(b, 0, 0, 0);
    EXPECT_EQ(t->m_param1, 0.0f) << "a line of no length";
}

TEST_F(MeasurementsTest, PlaceOfAPointOnAnArc) {
    const float pi = 3.1415927f;
    CGArc* quarter = Circle(0, 0, 2, 0, pi / 2, CGArc::kArc);
    CGVertex* p = Point(0, 0, 0, u"P");
    auto* t = Measure<CGTmVarParaPInY>(p->m_id, quarter->m_id);
    EXPECT_EQ(t->m_name, CString(u"P在圆弧") + quarter->m_name + u"上");
    EXPECT_EQ(t->GetDescription(), CString(u"点P在圆弧") + quarter->m_name + u"上的相对位置");
    EXPECT_EQ(t->m_param1, 0.0f) << "on the axis";
    const struct {
        double angle, expected;
    } rows[] = {{kPi / 4, 0.5}, {kPi, 1.0}, {7 * kPi / 4, 0.0}, {kPi / 2, 1.0}, {0.1, 0.1 / (kPi / 2)}};
    for (const auto& r : rows) {
        Move(p, float(3 * std::cos(r.angle)), float(3 * std::sin(r.angle)), 1.5f);
        EXPECT_NEAR(t->m_param1, r.expected, 1e-5) << r.angle;
    }
    quarter->m_kind = CGArc::kCircle;
    Move(p, -1, 0, 0);
    EXPECT_NEAR(t->m_param1, 0.5, 1e-6) << "half the turn of a whole circle";
    Move(p, 0, -1, 0);
    EXPECT_NEAR(t->m_param1, 0.75, 1e-6);
}

TEST(ArcSweepFraction, NearerEndOrStartAndNoSweep) {
    EXPECT_DOUBLE_EQ(HxArcSweepFraction(1.0, 0.5, 2.5), 0.25);
    EXPECT_DOUBLE_EQ(HxArcSweepFraction(3.0, 0.5, 2.5), 1.0);
    EXPECT_DOUBLE_EQ(HxArcSweepFraction(6.0, 0.5, 2.5), 0.0);
    // A sweep across 0: from 5.5 to 7.0 (0.72 past the turn).
    EXPECT_NEAR(HxArcSweepFraction(0.2, 5.5, 7.0), (0.2 + 2 * kPi - 5.5) / 1.5, 1e-12);
    // No sweep: 0, never 0 / 0.
    EXPECT_EQ(HxArcSweepFraction(1.0, 1.0, 1.0), 0.0);
    EXPECT_EQ(HxArcSweepFraction(2.0, 0.0, 6.283185307179586), 0.0) << "a whole turn reduces to none";
}

TEST_F(MeasurementsTest, AnimationParameterOfAPathPoint) {
    CGLine* l = AddLine(Point(0, 0, 0)->m_id, Point(4, 0, 0)->m_id);
    auto* p = Insert(new CGVerFreeInLine(NextId(), NextVertex(), u"P", l->m_id, 0.25f));
    auto* t = Measure<CGTmVarPara>(p->m_id);
    EXPECT_EQ(t->m_name, u"t (P)");
    EXPECT_EQ(t->m_text3, u"<_><e>t</e><e>P</e></_>");
    EXPECT_EQ(t->GetDescription(), u"度量值：P点的动画参数");
    EXPECT_EQ(t->m_text, u"0.25");
    p->m_param1 = 0.75f;
    p->Recompute();
    t->Recompute();
    EXPECT_EQ(t->m_text, u"0.75");
}

// Every class writes the record of CGTextmap under its own name and comes back as itself.
TEST_F(MeasurementsTest, EveryClassStoresItsRecordUnderItsName) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(1, 2, 2, u"B");
    CGVertex* c = Point(0, 1, 0, u"C");
    CGVertex* d = Point(0, 0, 1, u"D");
    CGLine* l = AddLine(a->m_id, b->m_id);
    CGLine* m = AddLine(c->m_id, d->m_id);
    CGFace* f = Face({a->m_id, c->m_id, d->m_id});
    CGArc* circle = Circle(0, 0, 1, 0, 3, CGArc::kArc);
    std::vector<CGTmVariable*> all = {
        Measure<CGTmVarCoordX>(a->m_id),
        Measure<CGTmVarCoordY>(a->m_id),
        Measure<CGTmVarCoordZ>(a->m_id),
        Measure<CGTmVarDistancePP>(a->m_id, b->m_id),
        Measure<CGTmVarDistancePL>(c->m_id, l->m_id),
        Measure<CGTmVarDistancePF>(b->m_id, f->m_id),
        Measure<CGTmVarDistanceLL>(l->m_id, m->m_id),
        Measure<CGTmVarAngleLL>(l->m_id, m->m_id),
        Measure<CGTmVarAngleLF>(l->m_id, f->m_id),
        Measure<CGTmVarAngleFF>(f->m_id, f->m_id),
        Measure<CGTmVarAngleP3>(a->m_id, b->m_id, c->m_id),
        Measure<CGTmVarArea>(f->m_id),
        Measure<CGTmVarVolume>(a->m_id, b->m_id, c->m_id, d->m_id),
        Measure<CGTmVarRadius>(circle->m_id),
        Measure<CGTmVarAreaCircle>(circle->m_id),
        Measure<CGTmVarLenArc>(circle->m_id),
        Measure<CGTmVarPara>(a->m_id),
        Measure<CGTmVarParaPInL>(c->m_id, l->m_id),
        Measure<CGTmVarParaPInY>(b->m_id, circle->m_id),
        Measure<CGTmVarAreaCylinder>(Insert(new CGCylinder(NextId(), 0, 0, 0, 1, 2, 0, 0, 1))->m_id),
        Measure<CGTmVarAreaCone>(Insert(new CGCone(NextId(), 0, 0, 0, 1, 2, 0, 0, 1))->m_id),
        Measure<CGTmVarAreaFrustum>(Insert(new CGFrustum(NextId(), 0, 0, 0, 1, 2, 0, 0, 1, 0.5f))->m_id),
        Measure<CGTmVarAreaSphere>(Insert(new CGSphere(NextId(), 0, 0, 0, 1, 0, 0, 1))->m_id),
        Measure<CGTmVarVolumeCylinder>(Insert(new CGCylinder(NextId(), 0, 0, 0, 1, 2, 0, 0, 1))->m_id),
        Measure<CGTmVarVolumeCone>(Insert(new CGCone(NextId(), 0, 0, 0, 1, 2, 0, 0, 1))->m_id),
        Measure<CGTmVarVolumeFrustum>(Insert(new CGFrustum(NextId(), 0, 0, 0, 1, 2, 0, 0, 1, 0.5f))->m_id),
        Measure<CGTmVarVolumeSphere>(Insert(new CGSphere(NextId(), 0, 0, 0, 1, 0, 0, 1))->m_id),
    };
    for (CGTmVariable* item : all) {
        const std::string name = item->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(item->GetRuntimeClass()->m_wSchema, 1u) << name;
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << item; });
        CObject* back = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { back = ar.ReadObject(RUNTIME_CLASS(CGTmVariable)); });
        ASSERT_NE(back, nullptr) << name;
        auto* value = DYNAMIC_DOWNCAST(CGTmVariable, back);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(std::string(back->GetRuntimeClass()->m_lpszClassName), name);
        EXPECT_EQ(value->m_text, item->m_text) << name;
        EXPECT_EQ(value->m_name, item->m_name) << name;
        EXPECT_EQ(value->m_param1, item->m_param1) << name;
        EXPECT_EQ(value->m_text3, item->m_text3) << name;
        delete back;
    }
}

} // namespace
