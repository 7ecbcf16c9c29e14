// The document's point commands and its editing commands on existing objects: the full free point,
// the origin, the division point on a circle, projections, points at the same or a fixed parameter
// on every kind of path, the free point on a compound path with its random start, the objects of a
// show/hide button, the format painter and bringing planar objects back into view.
#include "construct_fixture.h"

#include "document/doc_construct_ids.h"
#include "dynamics/buttons.h"
#include "dynamics/curves.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "platform/document.h"
#include "platform/random.h"
#include "points/misc_points.h"
#include "points/object_points.h"
#include "points/path_points.h"
#include "support/class_stand_ins.h"

#include <cmath>

namespace {

// A straight curve from (0, 0, 0) to (t, 0, 0) over [0, 2].
class CLineCurve : public CGCurve {
public:
    explicit CLineCurve(WORD id) {
        m_id = id;
        m_tMin = 0.0;
        m_tMax = 2.0;
    }
    void PointAt(double t, double out[3]) override {
        out[0] = t;
        out[1] = out[2] = 0.0;
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

// A locus of its two parents, sampled nowhere.
class CPlainLocus : public CGLocus {
public:
    CPlainLocus(WORD id, WORD driver, WORD traced) {
        m_id = id;
        AddParent(driver);
        AddParent(traced);
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

class DocPointCommandsTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxSrand(1);
    }
    std::string LastClass() {
        CGCell* cell = m_page->FindCell(WORD(m_page->m_nextId - 1));
        return cell ? cell->GetRuntimeClass()->m_lpszClassName : "(none)";
    }
    CGLine* Segment(float ax, float ay, float bx, float by) { return Line(ax, ay, 0, bx, by, 0); }
};

} // namespace

TEST_F(DocPointCommandsTest, AFullFreePointAndTheOrigin) {
    EXPECT_TRUE(Enabled(ID_CREATE_FREE3_POINT));
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_ORIGIN));
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_CREATE_FREE3_POINT);
    auto* free = LastAt<CGVerFreeXyz>(0, 0, 0);
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->m_name, u"A");
    ExpectUndoStep<CCmdAddCell>(u"添加全自由点");
    ExpectUndoRedo(before);
    Run(ID_CREATE_POINT_ORIGIN);
    CGVertex* origin = LastAt<CGVertex>(0, 0, 0);
    ASSERT_NE(origin, nullptr);
    EXPECT_EQ(origin->GetRuntimeClass(), RUNTIME_CLASS(CGVertex));
    EXPECT_EQ(origin->m_name, u"O");
    ExpectUndoStep<CCmdAddCell>(u"添加坐标原点O");
}

TEST_F(DocPointCommandsTest, TheDivisionPointOfTwoPointsOnACircleTakesTheTypedRatio) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    auto* p = Add<CGVerFreeInCircle>(circle->m_id, 0.0f);
    auto* q = Add<CGVerFreeInCircle>(circle->m_id, float(kPi / 2));
    Select({circle->m_id, p->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_SCALE_INCIRCLE));
    Select({circle->m_id, p->m_id, q->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_SCALE_INCIRCLE));
    const PageSnapshot before = TakeSnapshot(*m_page);
    Script<CDlgValue>([](CDlgValue& dlg) {
        EXPECT_EQ(dlg.m_value, 0.5f);
        dlg.m_value = 0.5f;
    });
    Run(ID_CREATE_POINT_SCALE_INCIRCLE);
    auto* division = LastAt<CGVerInCircleScale>(2 * std::cos(kPi / 4), 2 * std::sin(kPi / 4), 0);
    ASSERT_NE(division, nullptr);
    EXPECT_EQ(Parents(division), std::vector<WORD>({circle->m_id, p->m_id, q->m_id}));
    ExpectUndoStep<CCmdAddCell>(u"添加圆上两点的分点");
    ExpectUndoRedo(before);
    // A curve in place of the circle does not enable it; a cancelled dialog makes nothing.
    auto* curve = Insert(new CLineCurve(NextId()));
    Select({curve->m_id, p->m_id, q->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_SCALE_INCIRCLE));
    Select({circle->m_id, p->m_id, q->m_id});
    m_answer = IDCANCEL;
    const WORD next = m_page->m_nextId;
    Run(ID_CREATE_POINT_SCALE_INCIRCLE);
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(DocPointCommandsTest, ProjectionsGoPointByPointOntoEveryLineThenEveryFace) {
    CGLine* line = Segment(-5, 0, 5, 0);
    const float a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {0, 1, 0};
    CGFace* face = Face(a, b, c);
    CGVertex* p1 = AddPoint(1, 2, 3);
    CGVertex* p2 = AddPoint(-2, 4, -1);
    Select({p1->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_TOUYING));
    Select({p1->m_id, line->m_id, face->m_id, p2->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_TOUYING));
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    Run(ID_CREATE_POINT_TOUYING);
    EXPECT_EQ(ClassesFrom(first),
              std::vector<std::string>({"CGVerFootpl", "CGVerFootpf", "CGVerFootpl", "CGVerFootpf"}));
    std::vector<CGCell*> made = MadeFrom(first);
    ExpectNear(*static_cast<CGVertex*>(made[0]), 1, 0, 0);
    ExpectNear(*static_cast<CGVertex*>(made[1]), 1, 2, 0);
    ExpectNear(*static_cast<CGVertex*>(made[2]), -2, 0, 0);
    ExpectNear(*static_cast<CGVertex*>(made[3]), -2, 4, 0);
    EXPECT_EQ(Parents(made[0]).front(), p1->m_id);
    EXPECT_EQ(Parents(made[2]).front(), p2->m_id);
    ExpectUndoStep<CCmdAddCells>(u"添加投影点", 4);
    ExpectUndoRedo(before);
}

TEST_F(DocPointCommandsTest, TheSameParameterUpdateRule) {
    CGLine* line = Segment(0, 0, 4, 0);
    CGLine* other = Segment(0, 1, 4, 1);
    CGArc* circle = AddCircle(0, 0, 0, 2);
    CGVertex* p[5];
    for (int i = 0; i < 5; ++i)
        p[i] = AddPoint(float(i), 5, 0);
    CGTmVariable* v = AddValue(0.5f, u"v");
    auto* vector = Vector(u"u", 1, 0, 0);
    auto* ink = new CInkmarksStandIn;
    ink->m_id = NextId();
    Insert(ink);
    struct Case {
        std::vector<WORD> selection;
        bool enabled;
    };
    const Case cases[] = {
        {{}, false},
        {{line->m_id}, true},
        {{line->m_id, other->m_id, circle->m_id}, true},
        {{p[0]->m_id, line->m_id}, true},
        {{p[0]->m_id}, false},
        {{p[0]->m_id, p[1]->m_id, line->m_id}, false},
        {{p[0]->m_id, p[1]->m_id, p[2]->m_id, p[3]->m_id}, true},
        {{p[0]->m_id, p[1]->m_id, p[2]->m_id}, false},
        {{p[0]->m_id, p[1]->m_id, p[2]->m_id, v->m_id}, true},
        {{v->m_id, line->m_id}, true},
        {{v->m_id}, false},
        {{v->m_id, p[0]->m_id, line->m_id}, false},
        {{vector->m_id, line->m_id}, false},
        {{ink->m_id, line->m_id}, false},
    };
    for (const Case& c : cases) {
        m_page->ClearSelection();
        for (WORD id : c.selection)
            m_page->SelectCell(id);
        EXPECT_EQ(Enabled(ID_CREATE_POINT_INOBJ_FT), c.enabled) << c.selection.size();
    }
}

TEST_F(DocPointCommandsTest, OneLineAtAPointsParameterOrAtATypedOne) {
    CGLine* line = Segment(0, 0, 4, 0);
    CGLine* carrier = Segment(0, 2, 2, 2);
    auto* driver = Add<CGVerFreeInLine>(carrier->m_id, 0.25f);
    Select({driver->m_id, line->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(m_dialogCount, 0) << "a point gives the parameter";
    auto* same = LastAt<CGVerInLineFt>(1, 0, 0);
    ASSERT_NE(same, nullptr);
    ExpectUndoStep<CCmdAddCell>(u"添加线上同参点");

    Select({line->m_id});
    Script<CDlgValue>([](CDlgValue& dlg) { dlg.m_value = 0.75f; });
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(m_dialogCount, 1);
    ASSERT_NE(LastAt<CGVerInLineFixedf>(3, 0, 0), nullptr);
    ExpectUndoStep<CCmdAddCell>(u"添加线上定参点");
}

TEST_F(DocPointCommandsTest, ACircleAtAPointsParameterOrAtATypedAngle) {
    CGArc* circle = AddCircle(0, 0, 0, 2);
    CGArc* other = AddCircle(10, 0, 0, 1);
    auto* driver = Add<CGVerFreeInCircle>(other->m_id, float(kPi));
    Select({circle->m_id, driver->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    ASSERT_NE(LastAt<CGVerInCircleFt>(-2, 0, 0), nullptr);
    ExpectUndoStep<CCmdAddCell>(u"添加圆上同参点");

    Select({circle->m_id});
    Script<CDlgAngle>([](CDlgAngle& dlg) {
        EXPECT_EQ(dlg.m_angle, 90.0f);
        EXPECT_EQ(dlg.m_unit, CDlgAngle::kDegrees);
    });
    Run(ID_CREATE_POINT_INOBJ_FT);
    auto* fixed = LastAt<CGVerInCircleFixedf>(0, 2, 0);
    ASSERT_NE(fixed, nullptr);
    EXPECT_FLOAT_EQ(fixed->m_param1, 90.0f * 0.017453292f);
    ExpectUndoStep<CCmdAddCell>(u"添加圆上定参点");
    Script<CDlgAngle>([](CDlgAngle& dlg) {
        dlg.m_angle = 3.1415927f;
        dlg.m_unit = CDlgAngle::kRadians;
    });
    Run(ID_CREATE_POINT_INOBJ_FT);
    ASSERT_NE(LastAt<CGVerInCircleFixedf>(-2, 0, 0), nullptr);
}

TEST_F(DocPointCommandsTest, CurvesAndLociHaveTheirOwnPoints) {
    auto* curve = Insert(new CLineCurve(NextId()));
    CGLine* carrier = Segment(0, 2, 4, 2);
    auto* driver = Add<CGVerFreeInLine>(carrier->m_id, 0.25f);
    CGVertex* traced = AddPoint(0, 0, 0);
    auto* locus = Insert(new CPlainLocus(NextId(), driver->m_id, traced->m_id));
    Select({curve->m_id, driver->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(LastClass(), "CGVerInCurveFt");
    ExpectUndoStep<CCmdAddCell>(u"添加曲线上同参点");
    Select({curve->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(LastClass(), "CGVerInCurveFixedf");
    ExpectUndoStep<CCmdAddCell>(u"添加曲线上定参点");
    Select({locus->m_id, driver->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(LastClass(), "CGVerInLocusFt");
    ExpectUndoStep<CCmdAddCell>(u"添加轨迹上同参点");
    Select({locus->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(LastClass(), "CGVerInLocusFixedf");
    ExpectUndoStep<CCmdAddCell>(u"添加轨迹线上定参点");
}

TEST_F(DocPointCommandsTest, FivePointsMakeABorderPointFromAllButTheFirst) {
    CGVertex* p[5];
    const float corners[5][2] = {{9, 9}, {0, 0}, {4, 0}, {4, 4}, {0, 4}};
    for (int i = 0; i < 5; ++i)
        p[i] = AddPoint(corners[i][0], corners[i][1], 0);
    // The last point drives: a border point on another square at its parameter.
    Select({p[0]->m_id, p[1]->m_id, p[2]->m_id, p[3]->m_id, p[4]->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    auto* border = Cell<CGVerInBorderFt>(m_page->m_nextId - 1);
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(Parents(border),
              std::vector<WORD>({p[1]->m_id, p[2]->m_id, p[3]->m_id, p[4]->m_id, p[4]->m_id}));
    EXPECT_EQ(border->m_count, 4);
    ExpectUndoStep<CCmdAddCell>(u"添加折线上同参点");
    EXPECT_EQ(Ids(m_page->m_selPoints),
              std::vector<WORD>({p[1]->m_id, p[2]->m_id, p[3]->m_id, p[4]->m_id, p[0]->m_id}))
        << "the first point ends up last";

    // A value drives the polygon of three points.
    CGTmVariable* v = AddValue(1.5f, u"v");
    Select({p[1]->m_id, p[2]->m_id, p[3]->m_id, v->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    border = Cell<CGVerInBorderFt>(m_page->m_nextId - 1);
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(Parents(border), std::vector<WORD>({p[1]->m_id, p[2]->m_id, p[3]->m_id, v->m_id}));
    // Two points and nothing else: which one drives?
    Select({p[1]->m_id, p[2]->m_id});
    const WORD next = m_page->m_nextId;
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(m_messages.back(), u"数值或路径上点只要选择一个！");
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(DocPointCommandsTest, PathsOfSeveralPiecesWithADriverOrATypedParameter) {
    CGLine* s1 = Segment(0, 0, 4, 0);
    CGLine* s2 = Segment(4, 0, 4, 4);
    CGTmVariable* v = AddValue(0.5f, u"v");
    Select({s1->m_id, s2->m_id, v->m_id});
    Run(ID_CREATE_POINT_INOBJ_FT);
    auto* paths = Cell<CGVerInPaths>(m_page->m_nextId - 1);
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(Parents(paths), std::vector<WORD>({s1->m_id, s2->m_id, v->m_id}));
    EXPECT_EQ(paths->m_kind, 1);
    ExpectNear(*paths, 4, 0, 0);
    ExpectUndoStep<CCmdAddCell>(u"添加复合路径上同参点");

    auto* curve = Insert(new CLineCurve(NextId()));
    Select({s2->m_id, curve->m_id});
    Script<CDlgValue>([](CDlgValue& dlg) { dlg.m_value = 1.5f; });
    Run(ID_CREATE_POINT_INOBJ_FT);
    auto* border = Cell<CGVerInBorder>(m_page->m_nextId - 1);
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->m_kind, 0);
    EXPECT_EQ(border->m_param1, 1.5f);
    ExpectUndoStep<CCmdAddCell>(u"添加复合路径上定参点");

    // More than 32 pieces are refused.
    std::vector<WORD> many;
    for (int i = 0; i < 33; ++i)
        many.push_back(Segment(float(i), 0, float(i) + 1, 0)->m_id);
    m_page->ClearSelection();
    for (WORD id : many)
        m_page->SelectCell(id);
    const WORD next = m_page->m_nextId;
    Run(ID_CREATE_POINT_INOBJ_FT);
    EXPECT_EQ(m_messages.back(), u"请选择线段、圆弧、曲线或轨迹对象至少两个,至多32个！");
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(DocPointCommandsTest, TheFreePointOnACompoundPathByTheFirstRuleThatFits) {
    const float a[3] = {0, 0, 0}, b[3] = {4, 0, 0}, c[3] = {4, 4, 0};
    CGFace* face = Face(a, b, c);
    CGVertex* extra = AddPoint(9, 9, 9);
    // One face (the points selected with it are ignored): its border, starting between 0.2 and 0.8
    // of the first edge by the platform's generator (seed 1 gives 41 first).
    Select({face->m_id, extra->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_PATH));
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_CREATE_POINT_PATH);
    auto* onFace = Cell<CGVerFreeInBorder>(m_page->m_nextId - 1);
    ASSERT_NE(onFace, nullptr);
    EXPECT_EQ(Parents(onFace), Parents(face));
    EXPECT_FLOAT_EQ(onFace->m_param1, 41.0f / 32767.0f * 0.6f + 0.2f);
    EXPECT_EQ(onFace->GetDescription(), u"3段曲线组成的复合路径上的点");
    ExpectUndoStep<CCmdAddCell>(u"添加复合路径上的点");
    ExpectUndoRedo(before);

    // Three points: the closed polygon through them.
    CGVertex* q[3] = {AddPoint(0, 0, 1), AddPoint(1, 0, 1), AddPoint(1, 1, 1)};
    Select({q[0]->m_id, q[1]->m_id, q[2]->m_id});
    Run(ID_CREATE_POINT_PATH);
    EXPECT_FLOAT_EQ(Cell<CGVerFreeInBorder>(m_page->m_nextId - 1)->m_param1,
                    18467.0f / 32767.0f * 0.6f + 0.2f);

    // A segment and an arc: the length path at 0.6; a segment and a curve: a piece path.
    CGLine* s = Segment(0, 0, 4, 0);
    CGArc* arc = AddCircle(4, 2, 0, 2, CGArc::kArc, -1.5707964f, 1.5707964f);
    Select({s->m_id, arc->m_id});
    Run(ID_CREATE_POINT_PATH);
    auto* paths = Cell<CGVerFreeInPaths>(m_page->m_nextId - 1);
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(paths->m_param1, 0.6f);
    auto* curve = Insert(new CLineCurve(NextId()));
    Select({s->m_id, curve->m_id});
    Run(ID_CREATE_POINT_PATH);
    EXPECT_EQ(LastClass(), "CGVerFreeInBorder");
}

TEST_F(DocPointCommandsTest, TheCompoundPathRefusesOtherObjectsAndTooMany) {
    CGLine* s1 = Segment(0, 0, 4, 0);
    CGLine* s2 = Segment(4, 0, 4, 4);
    CGVertex* p = AddPoint(9, 9, 0);
    auto* ink = new CInkmarksStandIn;
    ink->m_id = NextId();
    Insert(ink);
    const char16_t* refusal = u"请只选择线段、圆弧、曲线或轨迹对象至少两个,至多32个！";
    const WORD next = m_page->m_nextId;
    // Two segments and a point: enabled (points are pieces only from three on) but refused.
    Select({s1->m_id, s2->m_id, p->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_PATH));
    Run(ID_CREATE_POINT_PATH);
    EXPECT_EQ(m_messages.back(), refusal);
    Select({ink->m_id, s1->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_PATH));
    m_messages.clear();
    Run(ID_CREATE_POINT_PATH);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.back(), refusal);
    m_page->ClearSelection();
    for (int i = 0; i < 33; ++i)
        m_page->SelectCell(Segment(float(i), 5, float(i) + 1, 5)->m_id);
    const WORD before33 = m_page->m_nextId;
    Run(ID_CREATE_POINT_PATH);
    EXPECT_EQ(m_messages.back(), refusal);
    EXPECT_EQ(m_page->m_nextId, before33);
    EXPECT_GT(before33, next);
    Select({s1->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_PATH));
}

// ---------------------------------------------------------------------------------------------
// Editing what exists

TEST_F(DocPointCommandsTest, ObjectsJoinOrLeaveAShowHideButtonIfTheyCameBeforeIt) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(1, 0, 0);
    m_page->SelectCell(p->m_id);
    auto* button = Insert(new CGButnSHide(NextId()));
    CGVertex* later = AddPoint(2, 0, 0);
    EXPECT_EQ(Parents(button), std::vector<WORD>({p->m_id}));

    Select({q->m_id, button->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_BTN_ADDOBJ));
    Select({button->m_id, q->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_BTN_ADDOBJ)) << "the last selected button decides";
    Select({button->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_BTN_ADDOBJ));

    Select({q->m_id, later->m_id, button->m_id});
    const int steps = m_page->m_cmdProcessor.GetCount();
    Run(ID_EDIT_BTN_ADDOBJ);
    EXPECT_EQ(Parents(button), std::vector<WORD>({p->m_id, q->m_id}));
    EXPECT_EQ(Ids(q->m_children), std::vector<WORD>({button->m_id}));
    EXPECT_TRUE(later->m_children.IsEmpty());
    EXPECT_EQ(m_messages.back(), u"有些对象不能添加，它们生成于该按钮之后。");
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    EXPECT_FALSE(button->m_selected);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps) << "no undo step";
    EXPECT_TRUE(m_doc->IsModified());

    // Selected again, they leave; the empty button is advised against.
    m_messages.clear();
    Select({p->m_id, q->m_id, button->m_id});
    Run(ID_EDIT_BTN_ADDOBJ);
    EXPECT_TRUE(button->m_parents.GetSize() == 0);
    EXPECT_TRUE(p->m_children.IsEmpty());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.back(), u"当前按钮控制对象为空，建议删除它。");
}

TEST_F(DocPointCommandsTest, TheFormatPainterCopiesTheLastStyleAndUndoesAsOneStep) {
    CGVertex* p[3] = {AddPoint(0, 0, 0), AddPoint(1, 0, 0), AddPoint(2, 0, 0)};
    p[2]->m_color = CRgba{10, 20, 30, 255};
    p[2]->m_size = 9.0f;
    p[2]->m_style = 2;
    p[2]->m_labelHidden = 1;
    CGLine* line = Segment(0, 1, 1, 1);
    Select({p[0]->m_id, p[1]->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_STYLES));
    Select({p[0]->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_STYLES)) << "one point only";
    Select({p[0]->m_id, p[1]->m_id, line->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_STYLES)) << "two kinds";
    CGArc* c1 = AddCircle(0, 0, 0, 1);
    CGArc* c2 = AddCircle(0, 0, 0, 2);
    Select({c1->m_id, c2->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_STYLES));

    m_page->ClearSelection();
    const PageSnapshot before = TakeSnapshot(*m_page);
    Select({p[0]->m_id, p[1]->m_id, p[2]->m_id});
    Run(ID_EDIT_STYLES);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(p[i]->m_color, (CRgba{10, 20, 30, 255})) << i;
        EXPECT_EQ(p[i]->m_size, 9.0f);
        EXPECT_EQ(p[i]->m_style, 2);
        EXPECT_EQ(p[i]->m_labelHidden, 1);
    }
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    ExpectUndoStep<CCmdMatchprop>(u"点统一格式");
    EXPECT_TRUE(m_page->m_cmdProcessor.Undo());
    const PageSnapshot undone = TakeSnapshot(*m_page);
    EXPECT_EQ(undone, before) << SnapshotDifference(undone, before);

    Select({c1->m_id, c2->m_id});
    Run(ID_EDIT_STYLES);
    ExpectUndoStep<CCmdMatchprop>(u"圆统一格式");
    auto* curve = Insert(new CLineCurve(NextId()));
    Select({c1->m_id, c2->m_id, curve->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_STYLES)) << "circles count only when all are circles";
}

TEST_F(DocPointCommandsTest, PlanarObjectsOutsideTheScreenAreBroughtIn) {
    HxSetScreenSizeOverride(880, 680); // limits x 20, y 15 with the unit length 0.05
    // The command walks the document's pages: the test's page joins them for the test.
    m_doc->m_pages.AddTail(m_page.get());
    struct Leave {
        CHalvixDoc* doc;
        ~Leave() {
            doc->m_pages.RemoveAll();
            HxSetScreenSizeOverride(0, 0);
        }
    } leave{m_doc.get()};
    CGTmVariable* near = AddValue(1, u"a");
    near->m_labelPos[0] = 5;
    near->m_labelPos[1] = 5;
    Run(ID_VIEW_FLATOBJ_IN);
    EXPECT_EQ(m_messages.back(), u"当前文档中无越界对象，全屏显示或许可以看到！");
    EXPECT_FALSE(m_doc->IsModified());
    CGTmVariable* far = AddValue(1, u"b");
    far->m_labelPos[0] = 30;
    far->m_labelPos[1] = -40;
    Run(ID_VIEW_FLATOBJ_IN);
    EXPECT_EQ(m_messages.back(), u"当前文档中 1个 越界对象已经调整入境，请全屏显示、拖动修改！");
    EXPECT_FLOAT_EQ(far->m_labelPos[0], 16.0f);
    EXPECT_FLOAT_EQ(far->m_labelPos[1], -11.0f);
    EXPECT_TRUE(m_doc->IsModified());
}
