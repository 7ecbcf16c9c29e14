// The properties command: its rules in order on the selection, the relation reports on hand-computed
// pairs of points, lines and faces, and the point, line, face, circle, solid, axes, page and trace
// dialogs filled from their cells and written back (with the point's undo steps), and the pictures'
// and formula texts' editors.
#include "construct/construct_fixture.h"

#include "document/element_properties.h"
#include "document/property_dialogs.h"
#include "document/text_item_properties.h"
#include "formula/mtf_dialogs.h"
#include "measure/text_items.h"
#include "dynamics/buttons.h"
#include "measure/calc_dialogs.h"
#include "measure/calculator.h"
#include "measure/scale_line.h"
#include "model/free_points.h"
#include "points/confined_points.h"
#include "solids/revolution.h"
#include "view/view_colors.h"

#include <cmath>
#include <numbers>

namespace {

class PropertiesCommandTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxSetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
            m_boxes.push_back({text, caption, type});
            return IDOK;
        });
        g_traceImageEmpty = 1;
    }
    void TearDown() override {
        g_traceImageEmpty = 1;
        ConstructTest::TearDown();
    }
    struct Box {
        CString text, caption;
        UINT type;
    };
    // The command on a selection; the one message box it showed (none: a failure).
    Box Report(std::initializer_list<WORD> selection) {
        m_boxes.clear();
        RunOn(ID_EDIT_PROPERTY, selection);
        EXPECT_EQ(m_boxes.size(), 1u);
        return m_boxes.empty() ? Box{} : m_boxes.back();
    }
    CGVertex* Named(CGVertex* p, const char16_t* name) {
        p->m_name = name;
        return p;
    }
    CGLine* NamedLine(float ax, float ay, float az, float bx, float by, float bz, const char16_t* name) {
        CGLine* l = Line(ax, ay, az, bx, by, bz);
        l->m_name = name;
        return l;
    }
    CGFace* NamedFace(std::initializer_list<float> p, const char16_t* name) {
        const float* v = p.begin();
        CGFace* f = Face(v, v + 3, v + 6);
        f->m_name = name;
        return f;
    }

    std::vector<Box> m_boxes;
};

using R = HxPropertiesRule;

TEST_F(PropertiesCommandTest, TheFirstRuleThatHoldsDecides) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGLine* l1 = AddLine(a->m_id, b->m_id);
    CGLine* l2 = Line(0, 1, 0, 1, 1, 0);
    CGFace* f1 = NamedFace({0, 0, 0, 1, 0, 0, 0, 1, 0}, u"α");
    CGFace* f2 = NamedFace({0, 0, 1, 1, 0, 1, 0, 1, 1}, u"β");
    CGArc* c = AddCircle(0, 0, 0, 3);
    auto* ball = Insert(new CGSphere(NextId(), 0, 0, 0, 2, 0, 0, 1));
    auto* button = Insert(new CGButnSHide(NextId()));
    const struct {
        std::initializer_list<WORD> selection;
        R rule;
    } cases[] = {
        {{a->m_id, l1->m_id, f1->m_id}, R::PointLine}, // a point, a line and a face: point to line
        {{f1->m_id, a->m_id}, R::PointPlane},
        {{a->m_id, button->m_id}, R::Point},
        {{a->m_id, b->m_id, l1->m_id}, R::TwoPoints},
        {{f1->m_id, l2->m_id}, R::LinePlane},
        {{l1->m_id, c->m_id}, R::Line},
        {{l1->m_id, l2->m_id, f1->m_id, f2->m_id}, R::TwoLines},
        {{f2->m_id, ball->m_id}, R::Face},
        {{f1->m_id, f2->m_id}, R::TwoPlanes},
        {{c->m_id, button->m_id}, R::Curve},
        {{ball->m_id, button->m_id}, R::Button},
        {{ball->m_id}, R::Solid},
        {{}, R::Page},
        {{a->m_id, b->m_id, AddPoint(2, 0, 0)->m_id}, R::Page}, // three points: nothing fits
    };
    for (const auto& k : cases) {
        Select(k.selection);
        EXPECT_EQ(HxFindPropertiesRule(*m_page), k.rule) << int(k.rule);
        EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    }
}

TEST_F(PropertiesCommandTest, ReportsOnPointsAndLines) {
    CGVertex* a = Named(AddPoint(0, 0, 0), u"A");
    CGVertex* b = Named(AddPoint(3, 4, 0), u"B");
    Box box = Report({a->m_id, b->m_id});
    EXPECT_EQ(box.text, CString(u"点 A 与点 B 距离为 5 \n"));
    EXPECT_EQ(box.caption, CString(u"两点间距离"));
    EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(m_doc->IsModified()) << "a report marks the document modified";
    EXPECT_EQ(m_dialogCount, 0);

    CGLine* x = NamedLine(0, 0, 0, 4, 0, 0, u"OX");
    CGVertex* p = Named(AddPoint(2, 0, 5), u"P");
    EXPECT_EQ(Report({x->m_id, p->m_id}).text, CString(u"点 P 到直线 OX 距离为 5 \n"));
    EXPECT_EQ(m_boxes.back().caption, CString(u"点到直线距离"));
    // A line whose two points coincide measures from its first point.
    CGLine* dot = NamedLine(1, 1, 0, 1, 1, 0, u"D");
    EXPECT_EQ(Report({p->m_id, dot->m_id}).text,
              HxFormat(u"点 P 到直线 D 距离为 %g \n", double(std::sqrt(27.0f))));

    // Skew lines at right angles 3 apart; parallel lines 2 apart; lines that meet at 60 degrees.
    CGLine* up = NamedLine(0, 0, 3, 0, 1, 3, u"l");
    EXPECT_EQ(Report({x->m_id, up->m_id}).text, CString(u"直线 OX 与直线 l 所成角为 90°\n\n距离为 3"));
    EXPECT_EQ(m_boxes.back().caption, CString(u"两条直线关系"));
    CGLine* parallel = NamedLine(0, 2, 0, 1, 2, 0, u"m");
    EXPECT_EQ(Report({parallel->m_id, x->m_id}).text, CString(u"直线 m 与直线 OX 所成角为 0°\n\n距离为 2"));
    CGLine* slope = NamedLine(0, 0, 0, 1, float(std::sqrt(3.0)), 0, u"n");
    EXPECT_EQ(Report({x->m_id, slope->m_id}).text, CString(u"直线 OX 与直线 n 所成角为 60°\n\n距离为 0"));
}

TEST_F(PropertiesCommandTest, ReportsOnPlanes) {
    CGFace* floor = NamedFace({0, 0, 0, 4, 0, 0, 0, 4, 0}, u"α");
    CGVertex* p = Named(AddPoint(1, 1, 3), u"P");
    EXPECT_EQ(Report({p->m_id, floor->m_id}).text, CString(u"点 P 到平面 α 距离为 3 \n"));
    EXPECT_EQ(m_boxes.back().caption, CString(u"点到平面距离"));

    // A line crossing the plane upright, one parallel to it 2 above, one lying in it.
    CGLine* upright = NamedLine(1, 1, 0, 1, 1, 1, u"a");
    EXPECT_EQ(Report({floor->m_id, upright->m_id}).text, CString(u"直线 a 与平面 α 相交，所成角为 90°\n"));
    EXPECT_EQ(m_boxes.back().caption, CString(u"直线与平面关系"));
    CGLine* above = NamedLine(0, 0, 2, 1, 0, 2, u"b");
    EXPECT_EQ(Report({above->m_id, floor->m_id}).text, CString(u"直线 b 与平面 α 平行，距离为 2"));
    CGLine* inside = NamedLine(0, 1, 0, 1, 0, 0, u"c");
    EXPECT_EQ(Report({inside->m_id, floor->m_id}).text, CString(u"直线 c 在平面 α 内"));

    // Parallel planes whichever way their normals point, a plane on itself, planes at right angles.
    CGFace* same = NamedFace({0, 0, 3, 1, 0, 3, 0, 1, 3}, u"β");
    CGFace* turned = NamedFace({0, 0, -2, 0, 1, -2, 1, 0, -2}, u"γ");
    CGFace* again = NamedFace({5, 5, 0, 6, 5, 0, 5, 6, 0}, u"δ");
    CGFace* wall = NamedFace({0, 0, 0, 1, 0, 0, 0, 0, 1}, u"ε");
    EXPECT_EQ(Report({floor->m_id, same->m_id}).text, CString(u"平面 α 与平面 β 平行，距离为 3"));
    EXPECT_EQ(m_boxes.back().caption, CString(u"两平面关系"));
    EXPECT_EQ(Report({floor->m_id, turned->m_id}).text, CString(u"平面 α 与平面 γ 平行，距离为 2"));
    EXPECT_EQ(Report({again->m_id, floor->m_id}).text, CString(u"平面 δ 与平面 α 重合"));
    EXPECT_EQ(Report({wall->m_id, floor->m_id}).text, CString(u"平面 ε 与平面 α 相交，所成角为 90°\n"));
}

TEST_F(PropertiesCommandTest, AReportOnAnInvalidElementShowsNothingAndChangesNothing) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGLine* l = AddLine(a->m_id, b->m_id);
    CGVertex* p = AddPoint(0, 5, 0);
    b->m_valid = false;
    m_boxes.clear();
    RunOn(ID_EDIT_PROPERTY, {p->m_id, l->m_id});
    RunOn(ID_EDIT_PROPERTY, {p->m_id, b->m_id});
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 0);
}

TEST_F(PropertiesCommandTest, AFreePointTakesNewCoordinatesAsOneUndoStep) {
    auto* p = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    CGVertex* q = AddPoint(3, 2, 1);
    CTestMidpoint* m = AddMidpoint(p->m_id, q->m_id);
    p->m_labelHidden = 0;
    Script<CDlgPropertyPoint>([&](CDlgPropertyPoint& d) {
        EXPECT_EQ(d.m_coordinateMode, CDlgPropertyPoint::kCoordinatesXyz);
        EXPECT_FALSE(d.m_paramEditable);
        EXPECT_EQ(d.m_description, p->GetDescription());
        EXPECT_EQ(d.m_label, p->m_name);
        EXPECT_FALSE(d.m_labelHidden);
        EXPECT_EQ(d.m_x, 1.0f);
        EXPECT_EQ(d.m_z, 3.0f);
        d.m_x = 5.0f;
        d.m_z = -1.0f;
        d.m_label = u"P";
        d.m_shape = 2;
        d.m_visibility = 1;
        d.m_size = 9.0f;
    });
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_EDIT_PROPERTY, {p->m_id});
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNear(*p, 5, 2, -1);
    ExpectNear(*m, 4, 2, 0);
    EXPECT_EQ(p->m_name, CString(u"P"));
    EXPECT_TRUE(p->m_nameFixed && p->m_flag2);
    EXPECT_EQ(p->m_style, 5);
    EXPECT_EQ(p->m_size, 9.0f);
    EXPECT_EQ(q->m_size, 6.0f) << "not asked for every point";
    ExpectUndoStep<CCmdModifiPoint>(u"修改点坐标");
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    ExpectNear(*p, 1, 2, 3);
    ExpectNear(*m, 2, 2, 2);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    ExpectNear(*m, 4, 2, 0);
    (void)before;

    // Unchanged coordinates record nothing; the style goes to every point when asked.
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint& d) {
        d.m_applyToAll = TRUE;
        d.m_shape = 1;
        d.m_size = 3.0f;
    });
    RunOn(ID_EDIT_PROPERTY, {p->m_id});
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 1);
    EXPECT_TRUE(q->m_style == 3 && q->m_size == 3.0f && m->m_style == 3);
}

TEST_F(PropertiesCommandTest, UndoingNewCoordinatesGivesBackTheNamesTheDialogRefreshed) {
    // A hexagon is named after its six corners when made; a refresh of the texts keeps five.
    std::vector<WORD> corners;
    for (int i = 0; i < 6; ++i)
        corners.push_back(AddPoint(float(std::cos(i)), float(std::sin(i)), 0)->m_id);
    CGFace* hexagon = Insert(
        new CGFace(NextId(), IdList({corners[0], corners[1], corners[2], corners[3], corners[4], corners[5]}),
                   RGB(1, 2, 3)));
    const CString madeName = hexagon->m_name;
    ASSERT_EQ(madeName.GetLength(), 6);
    CGVertex* a = Cell<CGVertex>(corners[0]);
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint& d) { d.m_z = 2.0f; });
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_EDIT_PROPERTY, {a->m_id});
    ExpectUndoStep<CCmdModifiPoint>(u"修改点坐标");
    const CString refreshed = hexagon->m_name;
    EXPECT_EQ(refreshed.GetLength(), 5);
    ExpectUndoRedo(before);
    EXPECT_EQ(hexagon->m_name, refreshed) << "redone";
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(hexagon->m_name, madeName);

    // A point renamed in the dialog keeps its new name after the undo (only its place goes back), and so
    // do the names built from it.
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint& d) {
        d.m_z = 3.0f;
        d.m_label = u"P";
    });
    RunOn(ID_EDIT_PROPERTY, {a->m_id});
    const CString renamed = hexagon->m_name;
    EXPECT_EQ(renamed.Left(1), CString(u"P"));
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(a->m_name, CString(u"P"));
    EXPECT_EQ(hexagon->m_name, renamed);
}

TEST_F(PropertiesCommandTest, WhichCoordinatesAPointOffers) {
    CGVertex* fixed = AddPoint(0, 0, 0);
    CGVertex* other = AddPoint(4, 0, 0);
    CGLine* line = AddLine(fixed->m_id, other->m_id);
    auto* onLine = Add<CGVerFreeInLine>(line->m_id, 0.25f);
    auto* follower = Add<CGVerFree2dHenchman>(1.0f, 1.0f, fixed->m_id);
    CTestMidpoint* middle = AddMidpoint(fixed->m_id, other->m_id);
    bool param = false;
    EXPECT_EQ(HxPointCoordinateMode(*fixed, param), CDlgPropertyPoint::kCoordinatesXyz);
    EXPECT_FALSE(param);
    EXPECT_EQ(HxPointCoordinateMode(*onLine, param), CDlgPropertyPoint::kNoCoordinates);
    EXPECT_TRUE(param);
    EXPECT_EQ(HxPointCoordinateMode(*follower, param), CDlgPropertyPoint::kCoordinatesXy);
    EXPECT_FALSE(param);
    EXPECT_EQ(HxPointCoordinateMode(*middle, param), CDlgPropertyPoint::kNoCoordinates);
    EXPECT_FALSE(param);

    // A point on a line takes its parameter as the undo step "修改动点参数".
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint& d) {
        EXPECT_EQ(d.m_t, 0.25f);
        d.m_t = 0.75f;
        d.m_x = 100.0f; // not editable: ignored
    });
    RunOn(ID_EDIT_PROPERTY, {onLine->m_id});
    ExpectNear(*onLine, 3, 0, 0);
    ExpectUndoStep<CCmdModifiPoint>(u"修改动点参数");
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    ExpectNear(*onLine, 1, 0, 0);

    // A follower in the plane takes x and y; z stays its leader's.
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint& d) {
        d.m_x = 2.0f;
        d.m_y = -3.0f;
        d.m_z = 7.0f;
    });
    RunOn(ID_EDIT_PROPERTY, {follower->m_id});
    ExpectNear(*follower, 2, -3, 0);
    MovePoint(fixed, 1, 1, 4);
    ExpectNear(*follower, 3, -2, 4); // the typed place is the new offset
}

TEST_F(PropertiesCommandTest, LineAndFaceDialogsWriteTheirFieldsBack) {
    CGLine* a = Line(0, 0, 0, 1, 0, 0);
    CGLine* b = Line(0, 1, 0, 1, 1, 0);
    Script<CDlgPropertyLine>([](CDlgPropertyLine& d) {
        EXPECT_EQ(d.m_width, 2.0f);
        d.m_style = 3;
        d.m_kind = CGLine::kVector;
        d.m_width = 4.5f;
        d.m_hidden = TRUE;
        d.m_applyToAll = TRUE;
    });
    RunOn(ID_EDIT_PROPERTY, {a->m_id});
    EXPECT_TRUE(a->m_style == 3 && a->m_kind == CGLine::kVector && a->m_size == 4.5f && a->m_hidden);
    EXPECT_TRUE(b->m_style == 3 && b->m_size == 4.5f && b->m_kind == CGLine::kSegment && !b->m_hidden);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "lines record no undo step";

    CGFace* f = NamedFace({0, 0, 0, 1, 0, 0, 0, 1, 0}, u"α");
    CGFace* g = NamedFace({0, 0, 1, 1, 0, 1, 0, 1, 1}, u"β");
    g->m_style = CGFace::kStyleLit;
    g->m_param4 = 2;
    g_textureCounter = 14;
    // Translucent with texture 5: alpha 90; every face takes the style, a face without a texture the
    // next slot.
    Script<CDlgPropertyFace>([](CDlgPropertyFace& d) {
        EXPECT_EQ(d.m_style, 0);
        d.m_style = CGFace::kStyleTranslucent;
        d.m_texture = 5;
        d.m_applyToAll = TRUE;
    });
    RunOn(ID_EDIT_PROPERTY, {f->m_id});
    EXPECT_EQ(f->m_style, CGFace::kStyleTranslucent);
    EXPECT_EQ(f->m_param4, 5);
    EXPECT_EQ(f->m_color.a, 90);
    EXPECT_EQ(g->m_style, CGFace::kStyleTranslucent);
    EXPECT_EQ(g->m_param4, 2) << "its own texture stays";
    EXPECT_EQ(g->m_color.a, 90);
    CGFace* h = NamedFace({0, 0, 2, 1, 0, 2, 0, 1, 2}, u"γ");
    Script<CDlgPropertyFace>([](CDlgPropertyFace& d) { d.m_applyToAll = TRUE; });
    RunOn(ID_EDIT_PROPERTY, {f->m_id});
    EXPECT_EQ(h->m_param4, 15) << "the next slot after 14";
    EXPECT_TRUE(h->m_texCoordsDirty);
    // Back to filled: opaque, the texture kept but not asked.
    Script<CDlgPropertyFace>([](CDlgPropertyFace& d) {
        d.m_style = CGFace::kStyleFilled;
        d.m_texture = 0;
    });
    RunOn(ID_EDIT_PROPERTY, {f->m_id});
    EXPECT_EQ(f->m_color.a, 255);
    EXPECT_EQ(f->m_param4, 5);
}

TEST_F(PropertiesCommandTest, ACircleTurnedIntoADiscTakesItsColoursApart) {
    CGArc* c = AddCircle(0, 0, 0, 3);
    const CRgba own = c->m_color;
    HxResetAutoColors();
    const COLORREF next = NextAutoColor();
    HxResetAutoColors();
    Script<CDlgPropertyCircle>([](CDlgPropertyCircle& d) {
        EXPECT_EQ(d.m_arcMode, 0);
        // A full turn is stored ending just past 0 (normalised), and shows so.
        EXPECT_NEAR(d.m_to, 0.0f, 1e-3);
        d.m_kind = CGArc::kSector;
        d.m_style = CGArc::kStyleTranslucent;
        d.m_arcMode = 1;
        d.m_from = 0.0f;
        d.m_to = 90.0f;
        d.m_texture = 7;
    });
    RunOn(ID_EDIT_PROPERTY, {c->m_id});
    EXPECT_EQ(c->m_labelColor.ToColorRef(), own.ToColorRef()) << "the outline keeps the circle's colour";
    EXPECT_EQ(c->m_color.ToColorRef(), next);
    EXPECT_EQ(c->m_color.a, 90);
    EXPECT_FALSE(c->m_sweepFromPoints);
    EXPECT_NEAR(c->m_endAngle - c->m_startAngle, std::numbers::pi / 2, 1e-6);
    EXPECT_EQ(c->m_param4, 7);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u);

    // Back to a circle: the colours change places again; the same angle twice is the full turn; an
    // outline takes no texture.
    Script<CDlgPropertyCircle>([](CDlgPropertyCircle& d) {
        d.m_kind = CGArc::kArc;
        d.m_style = CGArc::kStyleOutline;
        d.m_from = 30.0f;
        d.m_to = 30.0f;
        d.m_texture = 3;
    });
    RunOn(ID_EDIT_PROPERTY, {c->m_id});
    EXPECT_EQ(c->m_color.ToColorRef(), own.ToColorRef());
    EXPECT_EQ(c->m_labelColor.ToColorRef(), next);
    EXPECT_EQ(c->m_color.a, 255);
    EXPECT_NEAR(c->m_endAngle - c->m_startAngle, 2 * std::numbers::pi, 1e-5);
    EXPECT_EQ(c->m_param4, 7);
}

TEST_F(PropertiesCommandTest, SolidsAxesTracesAndThePage) {
    auto* ball = Insert(new CGSphere(NextId(), 0, 0, 0, 2, 0, 0, 1));
    Script<CDlgPropertySolid>([&](CDlgPropertySolid& d) {
        EXPECT_EQ(d.m_description, ball->GetDescription());
        d.m_style = kRevStyleTranslucent;
        d.m_texture = 4;
        d.m_hidden = TRUE;
    });
    RunOn(ID_EDIT_PROPERTY, {ball->m_id});
    EXPECT_TRUE(ball->m_style == kRevStyleTranslucent && ball->m_param4 == 4 && ball->m_hidden);
    EXPECT_EQ(ball->m_color.a, 90);

    // The axes: the spacing shown is the last one not above the stored one.
    EXPECT_EQ(CDlgProScaleLine::SpacingIndex(2.0f), 4);
    EXPECT_EQ(CDlgProScaleLine::SpacingIndex(0.3f), 1);
    EXPECT_EQ(CDlgProScaleLine::SpacingIndex(0.01f), 0);
    EXPECT_EQ(CDlgProScaleLine::SpacingIndex(5000.0f), 12);
    CDlgProScaleLine spacing;
    EXPECT_EQ(CString(spacing.ChooseTickSpacing(12)), CString(u"刻度线间距不能大于刻度值间距！"));
    EXPECT_EQ(spacing.m_tickIndex, 4) << "1000 falls back to 2";
    EXPECT_EQ(CString(spacing.ChooseValueSpacing(1)), CString(u"刻度值间距不能小于刻度线间距！"));
    EXPECT_EQ(spacing.m_valueIndex, 4);
    EXPECT_EQ(spacing.ChooseValueSpacing(6), nullptr);
    EXPECT_EQ(spacing.ChooseTickSpacing(5), nullptr);
    CGVertex* o = AddPoint(0, 0, 0);
    auto* axes =
        Insert(new CGScaleline(NextId(), o->m_id, o->m_id, o->m_id, o->m_id, o->m_id, 0, 0, 0, 2.0f, 5.0f));
    Script<CDlgProScaleLine>([](CDlgProScaleLine& d) {
        EXPECT_EQ(d.m_valueIndex, 5);
        d.m_kind = 1;
        d.m_xOnly = TRUE;
        d.m_autoSpacing = FALSE;
        d.m_tickIndex = 3;
        d.m_valueIndex = 6;
    });
    RunOn(ID_EDIT_PROPERTY, {axes->m_id});
    EXPECT_TRUE(axes->PiNumbers() && axes->XAxisOnly() && axes->m_autoSpacing == 0);
    EXPECT_TRUE(axes->m_tickSpacing == 1.0f && axes->m_valueSpacing == 10.0f);

    // Nothing selected: the page's dialog; while traces are kept, the trace dialog.
    m_posted.clear();
    Script<CDlgPageProperty>([](CDlgPageProperty& d) {
        EXPECT_EQ(d.m_unitPixels, 20);
        EXPECT_EQ(d.m_background, RGB(255, 255, 255));
        d.m_unitPixels = 40;
        d.m_title = u"封面";
        d.m_background = RGB(0, 0, 255);
        d.m_dashedBehindLit = FALSE;
    });
    RunOn(ID_EDIT_PROPERTY, {});
    EXPECT_EQ(m_page->m_title, CString(u"封面"));
    EXPECT_EQ(m_page->m_unitsPerLength, 40);
    EXPECT_FLOAT_EQ(g_unitLength, 0.025f);
    EXPECT_EQ(m_page->m_dashedBehindLit, 0);
    EXPECT_TRUE(g_backgroundColor[0] == 0.0f && g_backgroundColor[2] == 1.0f &&
                m_page->m_background[2] == 1.0f);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u);

    g_traceImageEmpty = 0;
    Script<CDlgTrace>([](CDlgTrace& d) {
        EXPECT_EQ(d.m_mode, 0);
        d.m_mode = 1;
    });
    RunOn(ID_EDIT_PROPERTY, {});
    EXPECT_EQ(m_page->m_snapshot, 1);
}

TEST_F(PropertiesCommandTest, ValuesOpenTheirDialogsOrSayWhatTheyAre) {
    // A parameter shown in degrees takes its new value, range and name back in radians.
    auto* t = Insert(new CGTmVarParameter(NextId(), u"t", 1.0f));
    t->m_integerMode = 2;
    t->m_minimum = 0.0f;
    t->m_maximum = float(std::numbers::pi);
    auto* twice = Insert(new CGTmVarCalculator(NextId(), IdList({t->m_id}), u"No1*2", u"<#><l>t*2</l></#>"));
    twice->Recompute();
    Script<CDlgParameter>([](CDlgParameter& d) {
        EXPECT_TRUE(d.m_angle && !d.m_integer);
        EXPECT_NEAR(d.m_end, 180.0f, 1e-3);
        d.m_value = 90.0f;
        d.m_name = u"θ";
        d.m_showSlider = TRUE;
    });
    RunOn(ID_EDIT_PROPERTY, {t->m_id});
    EXPECT_NEAR(t->m_param1, std::numbers::pi / 2, 1e-6);
    EXPECT_EQ(t->m_name, CString(u"θ"));
    EXPECT_TRUE(t->m_flag2 && !t->m_nameFixed && t->HasSlider());
    EXPECT_NEAR(twice->m_param1, std::numbers::pi, 1e-5) << "what is built on it follows";

    // A calculation takes a new expression over the same parents.
    Script<CDlgCalculator>([](CDlgCalculator& d) {
        EXPECT_EQ(d.m_title, CString(u"编辑计算"));
        EXPECT_EQ(d.m_expression, CString(u"No1*2"));
        EXPECT_EQ(d.ValueCount(), 1);
        d.m_expression = u"No1+1";
        d.m_resultMarkup = u"<#><l>θ+1</l></#>";
    });
    RunOn(ID_EDIT_PROPERTY, {twice->m_id});
    EXPECT_EQ(twice->m_expression, CString(u"No1+1"));
    EXPECT_NEAR(twice->m_param1, std::numbers::pi / 2 + 1, 1e-5);

    // A vector asks whether to show two components, and switches on Yes.
    CGTmVector* v = Vector(u"v", 1, 2, 3);
    HxSetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
        m_boxes.push_back({text, caption, type});
        return IDYES;
    });
    m_boxes.clear();
    RunOn(ID_EDIT_PROPERTY, {v->m_id});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, CString(u"坐标形式"));
    EXPECT_EQ(m_boxes[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(m_boxes[0].text,
              v->GetDescription() + CString(u" (1.00, 2.00, 3.00)\n\n是否想要不显示z值（二维形式）？"));
    EXPECT_TRUE(v->TwoComponents());
}

TEST_F(PropertiesCommandTest, CancelStillMarksTheDocumentModified) {
    CGVertex* a = AddPoint(0, 0, 0);
    m_answer = IDCANCEL;
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint& d) { d.m_x = 9.0f; });
    RunOn(ID_EDIT_PROPERTY, {a->m_id});
    ExpectNear(*a, 0, 0, 0);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
}

TEST_F(PropertiesCommandTest, PicturesAndFormulaTextsOpenTheirEditors) {
    // A picture: its zoom factors and its description as the size.
    const int side = 4;
    auto* picture = Insert(new CGTbImage(
        NextId(), side, 2, std::vector<BYTE>(size_t(CGTextbit::PictureRowBytes(side) * 2), BYTE(200))));
    picture->m_scaleX = 2.0f;
    Script<CDlgImagePropy>([&](CDlgImagePropy& d) {
        EXPECT_EQ(d.m_scaleX, 2.0f);
        EXPECT_EQ(d.m_scaleY, 1.0f);
        EXPECT_EQ(d.m_size, picture->GetDescription());
        d.m_scaleX = 1.5f;
        d.m_scaleY = -0.5f;
    });
    RunOn(ID_EDIT_PROPERTY, {picture->m_id});
    EXPECT_EQ(picture->m_scaleX, 1.5f);
    EXPECT_EQ(picture->m_scaleY, -0.5f) << "a negative factor mirrors the picture";
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "no undo step";
    // A factor of zero never reaches the picture; Cancel changes nothing.
    CDlgImagePropy zero;
    zero.m_scaleX = 0.0f;
    zero.m_scaleY = 3.0f;
    HxApplyPictureDialog(*picture, zero);
    EXPECT_EQ(picture->m_scaleX, 1.5f);
    EXPECT_EQ(picture->m_scaleY, 3.0f);
    m_answer = IDCANCEL;
    Script<CDlgImagePropy>([](CDlgImagePropy& d) { d.m_scaleX = 7.0f; });
    RunOn(ID_EDIT_PROPERTY, {picture->m_id});
    EXPECT_EQ(picture->m_scaleX, 1.5f);
    m_answer = IDOK;

    // A formula text: the editor gets its markup and colours, after the views were brought up to date.
    const CString before = u"<#><l>x</l></#>", after = u"<#><l>y+1</l></#>";
    auto* formula = Insert(new CGTbMtfText(NextId(), before, RGB(250, 240, 230), 0));
    formula->m_kind = 4;
    formula->m_color = {10, 20, 30, 255};
    int updatesBefore = -1;
    Script<CMtfDlg>([&](CMtfDlg& d) {
        EXPECT_EQ(d.m_markup, before);
        EXPECT_EQ(d.m_backColor, RGB(250, 240, 230));
        EXPECT_EQ(d.m_textColor, RGB(10, 20, 30));
        updatesBefore = m_viewUpdates;
        d.m_markup = after;
        d.m_empty = false;
    });
    const int updatesAtStart = m_viewUpdates;
    RunOn(ID_EDIT_PROPERTY, {formula->m_id});
    EXPECT_EQ(updatesBefore, updatesAtStart + 1) << "the views are updated before the editor opens";
    EXPECT_EQ(formula->m_markup, after);
    EXPECT_EQ(formula->m_color.a, 255);
    // An editor left empty keeps the formula.
    Script<CMtfDlg>([&](CMtfDlg& d) {
        d.m_markup = CString(u"<#><l></l></#>");
        d.m_empty = true;
    });
    RunOn(ID_EDIT_PROPERTY, {formula->m_id});
    EXPECT_EQ(formula->m_markup, after);

    // A bitmap text says what it is.
    auto* bitmap = Insert(new CGTextbit(NextId(), 32, 2, std::vector<BYTE>(8, BYTE(0xFF))));
    bitmap->m_kind = 0;
    m_boxes.clear();
    RunOn(ID_EDIT_PROPERTY, {bitmap->m_id});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, bitmap->GetDescription());
    EXPECT_EQ(m_boxes[0].type & MB_ICONINFORMATION, UINT(MB_ICONINFORMATION));
}

} // namespace
