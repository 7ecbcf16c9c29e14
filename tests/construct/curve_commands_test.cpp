// The locus, curve and point-on-object commands: their update rules, each branch, the ranges the locus
// takes from its driver, what the curve dialog is given and gives back, the random start of a point
// on an object, the undo steps, and the branches that make and record nothing.
#include "construct_fixture.h"

#include "construct/point_dialogs.h"
#include "dynamics/curve_dialogs.h"
#include "dynamics/curves.h"
#include "dynamics/ink.h"
#include "model/free_points.h"
#include "platform/random.h"
#include "points/confined_points.h"
#include "points/crossing_points.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CurveCommandsTest : public ConstructTest {
protected:
    // D on a circle of radius 2 about O, M the midpoint of O and D.
    void BuildCircleDriver() {
        m_o = AddPoint(0, 0, 0);
        m_circle = AddCircle(0, 0, 0, 2.0f);
        m_driver = Add<CGVerFreeInCircle>(m_circle->m_id, 0.5f);
        m_m = AddMidpoint(m_o->m_id, m_driver->m_id);
    }
    // The two random numbers the command draws after seeding with `seed`.
    static std::pair<float, float> Draw(unsigned seed) {
        HxSrand(seed);
        const float r1 = float(HxRand() / 32767.0);
        const float r2 = float(HxRand() / 32767.0 * (1.0 - r1));
        return {r1, r2};
    }
    // A seed whose first draw r1 falls in [low, high).
    static unsigned SeedWithFirstIn(double low, double high) {
        for (unsigned seed = 1; seed < 100000; ++seed) {
            const float r1 = Draw(seed).first;
            if (r1 >= low && r1 < high)
                return seed;
        }
        ADD_FAILURE() << "no seed";
        return 1;
    }

    CGVertex* m_o = nullptr;
    CGArc* m_circle = nullptr;
    CGVerFreeInCircle* m_driver = nullptr;
    CTestMidpoint* m_m = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Locus

TEST_F(CurveCommandsTest, LocusFromEitherSelectionOrder) {
    BuildCircleDriver();
    for (auto order : {std::pair{m_driver->m_id, m_m->m_id}, std::pair{m_m->m_id, m_driver->m_id}}) {
        Select({order.first, order.second});
        EXPECT_TRUE(Enabled(ID_CREATE_LOCUS));
        const WORD first = m_page->m_nextId;
        const PageSnapshot before = TakeSnapshot(*m_page);
        Run(ID_CREATE_LOCUS);
        auto* locus = Cell<CGLocus>(first);
        ASSERT_NE(locus, nullptr);
        EXPECT_EQ(m_page->m_nextId, first + 1);
        EXPECT_EQ(Parents(locus), (std::vector<WORD>{m_driver->m_id, m_m->m_id}));
        EXPECT_EQ(locus->m_t0, 0.0f);
        EXPECT_EQ(locus->m_t1, 6.2831f);
        EXPECT_TRUE(locus->m_valid);
        ExpectUndoStep<CCmdAddCell>(u"添加轨迹");
        EXPECT_TRUE(m_doc->IsModified());
        ExpectUndoRedo(before);
        // No mark is left on any cell.
        ForEachCell(m_page->m_cells, [](CGCell* c) { EXPECT_FALSE(c->m_mark) << c->m_id; });
    }
}

TEST_F(CurveCommandsTest, LocusRangesByDriver) {
    // A point on a segment sweeps 0 to 1.
    CGLine* segment = Line(0, 0, 0, 4, 0, 0);
    auto* onLine = Add<CGVerFreeInLine>(segment->m_id, 0.5f);
    CTestMidpoint* m = AddMidpoint(segment->GetEnd(0)->m_id, onLine->m_id);
    RunOn(ID_CREATE_LOCUS, {onLine->m_id, m->m_id});
    auto* locus = Cell<CGLocus>(m_page->m_nextId - 1);
    ASSERT_NE(locus, nullptr);
    EXPECT_EQ(locus->m_t0, 0.0f);
    EXPECT_EQ(locus->m_t1, 1.0f);
    // A point on a curve entered backwards sweeps 0 to 10; on a curve, its range.
    auto* curve = Insert(new CGCurve(NextId(), IdList({}), u"t", u"0", u"0", u"-2", u"3", 0.1f, 0));
    auto* onCurve = Add<CGVerFreeInCurve>(curve->m_id, 0.0f);
    CTestMidpoint* mc = AddMidpoint(segment->GetEnd(0)->m_id, onCurve->m_id);
    RunOn(ID_CREATE_LOCUS, {mc->m_id, onCurve->m_id});
    locus = Cell<CGLocus>(m_page->m_nextId - 1);
    ASSERT_NE(locus, nullptr);
    EXPECT_EQ(locus->m_t0, -2.0f);
    EXPECT_EQ(locus->m_t1, 3.0f);
    curve->m_tMin = 3.0;
    curve->m_tMax = -2.0;
    float t0, t1;
    CGLocus::DriverRange(onCurve, t0, t1);
    EXPECT_EQ(t0, 0.0f);
    EXPECT_EQ(t1, 10.0f);
    // A point on that locus sweeps the locus's range.
    auto* onLocus = Add<CGVerFreeInLocus>(locus->m_id, 0.0f);
    CGLocus::DriverRange(onLocus, t0, t1);
    EXPECT_EQ(t0, -2.0f);
    EXPECT_EQ(t1, 3.0f);
}

TEST_F(CurveCommandsTest, LocusRefusedWithoutADriverAndItsDescendant) {
    BuildCircleDriver();
    CGVertex* loose = AddPoint(5, 5, 5);
    auto* free = Add<CGVerFreeXyz>(1.0f, 2.0f, 3.0f);
    CTestMidpoint* onFree = AddMidpoint(free->m_id, m_o->m_id);
    const std::initializer_list<WORD> refused[] = {
        {m_driver->m_id},                         // one point
        {m_driver->m_id, loose->m_id},            // not built on the driver
        {m_o->m_id, m_m->m_id},                   // O is no free point with one parameter
        {free->m_id, onFree->m_id},               // two degrees of freedom
        {m_driver->m_id, m_m->m_id, loose->m_id}, // three points
    };
    for (const auto& selection : refused) {
        Select(selection);
        EXPECT_FALSE(Enabled(ID_CREATE_LOCUS));
        const PageSnapshot before = TakeSnapshot(*m_page);
        Run(ID_CREATE_LOCUS);
        ExpectNothingDone(before);
    }
}

// ---------------------------------------------------------------------------------------------
// Curve

TEST_F(CurveCommandsTest, CurveDialogOpensWithTheDefaultsAndTheSelectedValues) {
    CGTmVariable* a = AddValue(1.5f, u"a");
    CGTmVariable* unnamed = AddValue(2.5f, u"");
    Select({unnamed->m_id, a->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_CURVE));
    CDlgCurve seen;
    Script<CDlgCurve>([&](CDlgCurve& d) {
        for (int i = 0; i < 5; ++i)
            seen.m_texts[i] = d.m_texts[i];
        seen.m_names = d.m_names;
        seen.m_nameMarkups = d.m_nameMarkups;
        seen.m_values = d.m_values;
        seen.m_precedences = d.m_precedences;
        seen.m_breakDistance = d.m_breakDistance;
    });
    const WORD first = m_page->m_nextId;
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_CREATE_CURVE);
    EXPECT_EQ(seen.m_texts[0], CString(u"t"));
    EXPECT_EQ(seen.m_texts[1], CString(u"6*sin(t)"));
    EXPECT_EQ(seen.m_texts[2], CString(u"0"));
    EXPECT_EQ(seen.m_texts[3], CString(u"-8"));
    EXPECT_EQ(seen.m_texts[4], CString(u"8"));
    EXPECT_EQ(seen.m_breakDistance, 4.0f);
    EXPECT_EQ(seen.m_names, (std::vector<CString>{u"     ", u"a"}));
    EXPECT_EQ(seen.m_nameMarkups, (std::vector<CString>{u"<e>     </e>", u"<e>a</e>"}));
    EXPECT_EQ(seen.m_values, (std::vector<double>{0.0, 2.5, 1.5}));
    EXPECT_EQ(seen.m_precedences, (std::vector<int>{17, 17, 17}));
    // Confirmed unchanged: x = t, y = 6 sin t, z = 0 for t from -8 to 8, on the values in order.
    auto* curve = Cell<CGCurve>(first);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(Parents(curve), (std::vector<WORD>{unnamed->m_id, a->m_id}));
    EXPECT_TRUE(curve->m_valid);
    EXPECT_EQ(curve->m_tMin, -8.0);
    EXPECT_EQ(curve->m_tMax, 8.0);
    EXPECT_NEAR(curve->Sample(1)[1], 6 * std::sin(-8 + 16.0 / (curve->m_sampleCount - 1)), 1e-9);
    EXPECT_EQ(curve->BreakDistance(), 4.0f);
    ExpectUndoStep<CCmdAddCell>(u"添加曲线");
    ExpectUndoRedo(before);
}

TEST_F(CurveCommandsTest, CurveTakesTheDialogsChoicesAndABreakOfNothingIsFour) {
    Script<CDlgCurve>([](CDlgCurve& d) {
        d.ChooseExample(8); // "圆": cylindrical, radius 5
        d.m_display = kCurveAuto;
        d.m_breakDistance = 0.0f;
    });
    Run(ID_CREATE_CURVE);
    auto* curve = Cell<CGCurve>(m_page->m_nextId - 1);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->CoordinateKind(), CGCurve::kCylindrical);
    EXPECT_EQ(curve->m_step, 0.1f);
    EXPECT_EQ(curve->m_style, kCurveAuto);
    EXPECT_EQ(curve->BreakDistance(), 4.0f);
    const double* s = curve->Sample(3);
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(std::hypot(s[0], s[1]), 5.0, 1e-9);
    Script<CDlgCurve>([](CDlgCurve& d) { d.m_breakDistance = 2.5f; });
    Run(ID_CREATE_CURVE);
    EXPECT_EQ(Cell<CGCurve>(m_page->m_nextId - 1)->BreakDistance(), 2.5f);
}

TEST_F(CurveCommandsTest, CurveCancelledMakesNothing) {
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_CREATE_CURVE);
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNothingDone(before);
}

// ---------------------------------------------------------------------------------------------
// A point on an object

TEST_F(CurveCommandsTest, PointOnObjectChoosesTheCarrierInItsOrder) {
    CGLine* line = Line(0, 0, 0, 10, 0, 0);
    const float a[3] = {0, 0, 5}, b[3] = {4, 0, 5}, c[3] = {0, 4, 5};
    CGFace* face = Face(a, b, c);
    CGArc* circle = AddCircle(0, 0, -3, 2.0f);
    auto* curve = Insert(new CGCurve(NextId(), IdList({}), u"t", u"t", u"0", u"0", u"1", 0.1f, 0));
    BuildCircleDriver();
    auto* locus = Insert(new CGLocus(NextId(), m_driver->m_id, m_m->m_id, 0.0f, 6.2831f));
    const WORD p1 = face->m_parents[0], p2 = face->m_parents[1], p3 = face->m_parents[2];
    struct Case {
        std::vector<WORD> selection;
        const char* className;
        const char16_t* undo;
    } cases[] = {
        {{face->m_id, line->m_id}, "CGVerFreeInLine", u"添加线上的点"},     // lines first
        {{face->m_id, circle->m_id}, "CGVerFreeInCircle", u"添加圆上的点"}, // then curves
        {{locus->m_id}, "CGVerFreeInLocus", u"添加轨迹上的点"},
        {{curve->m_id}, "CGVerFreeInCurve", u"添加曲线上的点"},
        {{face->m_id, p1, p2, p3}, "CGVerFreeInFace", u"添加多边形内的点"}, // then faces
        {{p1, p2, p3}, "CGVerFreeInPlane", u"添加三点确定的平面内的点"},
    };
    for (const Case& k : cases) {
        m_page->ClearSelection();
        for (WORD id : k.selection)
            m_page->SelectCell(id);
        EXPECT_TRUE(Enabled(ID_CREATE_POINT_ONOBJECT)) << k.className;
        const WORD first = m_page->m_nextId;
        const DWORD vertex = m_page->m_nextVertex;
        const PageSnapshot before = TakeSnapshot(*m_page);
        Run(ID_CREATE_POINT_ONOBJECT);
        CGCell* made = m_page->FindCell(first);
        ASSERT_NE(made, nullptr) << k.className;
        EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, k.className);
        EXPECT_EQ(m_page->m_nextVertex, vertex + 1);
        EXPECT_TRUE(made->m_valid) << k.className;
        EXPECT_EQ(m_page->m_selAll.GetCount(), 0);
        EXPECT_EQ(m_page->m_selPoints.GetCount(), 0);
        ExpectUndoStep<CCmdAddCell>(k.undo);
        ExpectUndoRedo(before);
    }
}

TEST_F(CurveCommandsTest, PointOnObjectStartsAtTheRandomDraws) {
    CGLine* line = Line(0, 0, 0, 10, 0, 0);
    CGArc* circle = AddCircle(0, 0, 0, 2.0f);
    const float a[3] = {0, 0, 0}, b[3] = {4, 0, 0}, c[3] = {0, 4, 0};
    CGFace* face = Face(a, b, c);
    const unsigned seed = SeedWithFirstIn(0.2, 0.8);
    const auto [r1, r2] = Draw(seed);
    HxSrand(seed);
    RunOn(ID_CREATE_POINT_ONOBJECT, {line->m_id});
    EXPECT_FLOAT_EQ(Cell<CGVerFree>(m_page->m_nextId - 1)->m_param1, r1);
    HxSrand(seed);
    RunOn(ID_CREATE_POINT_ONOBJECT, {circle->m_id});
    EXPECT_FLOAT_EQ(Cell<CGVerFree>(m_page->m_nextId - 1)->m_param1, r1 * 6.283f);
    HxSrand(seed);
    RunOn(ID_CREATE_POINT_ONOBJECT, {face->m_id});
    auto* inFace = Cell<CGVerFreeInFace>(m_page->m_nextId - 1);
    ASSERT_NE(inFace, nullptr);
    EXPECT_FLOAT_EQ(inFace->m_weight0, r1);
    EXPECT_FLOAT_EQ(inFace->m_weightK, r2);
    EXPECT_LE(r1 + r2, 1.0f);
    // Within 0.05 of a line's ends the point starts at the middle.
    for (auto [low, high] : {std::pair{0.0, 0.05}, std::pair{0.951, 1.0}}) {
        HxSrand(SeedWithFirstIn(low, high));
        RunOn(ID_CREATE_POINT_ONOBJECT, {line->m_id});
        EXPECT_EQ(Cell<CGVerFree>(m_page->m_nextId - 1)->m_param1, 0.5f);
    }
}

TEST_F(CurveCommandsTest, PointOnAnInkMarkOrOnNothingMakesAndRecordsNothing) {
    const float xy[6] = {0, 0, -50, 1, 1, -50};
    auto* ink = Insert(new CGInkmarks(NextId(), new CStroke(2, xy)));
    CGVertex* p = AddPoint(1, 2, 3);
    Select({ink->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_POINT_ONOBJECT));
    const WORD nextId = m_page->m_nextId;
    const DWORD nextVertex = m_page->m_nextVertex;
    const int cells = CellCount();
    Run(ID_CREATE_POINT_ONOBJECT);
    EXPECT_EQ(m_page->m_nextId, nextId);
    EXPECT_EQ(m_page->m_nextVertex, nextVertex);
    EXPECT_EQ(CellCount(), cells);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 0);
    EXPECT_EQ(m_page->m_selCurves.GetCount(), 1); // the selection stays
    // Nothing else selected (the ink taken away): disabled, and nothing either.
    m_page->m_cells.RemoveKey(ink->m_id);
    delete ink;
    Select({p->m_id});
    EXPECT_FALSE(Enabled(ID_CREATE_POINT_ONOBJECT));
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_CREATE_POINT_ONOBJECT);
    ExpectNothingDone(before);
}

// ---------------------------------------------------------------------------------------------
// The intersection command on real curves and loci

TEST_F(CurveCommandsTest, IntersectionCommandMakesTheCrossingsOfALineAndACurve) {
    auto* sine = Insert(new CGCurve(NextId(), IdList({}), u"t", u"sin(t)", u"0", u"-3*pi", u"3*pi", 0.2f, 0));
    CGLine* axis = Line(-20, 0, 0, 20, 0, 0);
    BuildCircleDriver();
    auto* locus = Insert(new CGLocus(NextId(), m_driver->m_id, m_m->m_id, 0.0f, 6.2831f));
    Select({sine->m_id, axis->m_id});
    ASSERT_TRUE(Enabled(ID_CREATE_POINT_INTER));
    int offered = -1;
    Script<CDlgIntersectionNum>([&](CDlgIntersectionNum& d) { offered = d.m_number; });
    const WORD first = m_page->m_nextId;
    Run(ID_CREATE_POINT_INTER);
    EXPECT_EQ(offered, 7);
    ASSERT_EQ(m_page->m_nextId, first + 7);
    for (int k = 0; k < 7; ++k) {
        auto* p = Cell<CGVerIntersectionLQ>(WORD(first + k));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->m_kind, k);
        ExpectValidAt(*p, (k - 3) * kPi, 0, 0, 1e-4);
    }
    ExpectUndoStep<CCmdAddCells>(u"添加直线与曲线的交点", 7);
    // The circle of the driver and the locus of M (the unit circle) do not meet: two points asked
    // for all the same, invalid until they do.
    Select({locus->m_id, m_circle->m_id});
    Script<CDlgIntersectionNum>([&](CDlgIntersectionNum& d) {
        offered = d.m_number;
        d.m_number = 2;
    });
    const WORD next = m_page->m_nextId;
    Run(ID_CREATE_POINT_INTER);
    EXPECT_EQ(offered, 0);
    auto* c0 = Cell<CGVerIntersectionCG>(next);
    ASSERT_NE(c0, nullptr);
    EXPECT_EQ(Parents(c0), (std::vector<WORD>{m_circle->m_id, locus->m_id}));
    EXPECT_FALSE(c0->m_valid);
    EXPECT_FLOAT_EQ(m_driver->m_param1, 0.5f);
}

// ---------------------------------------------------------------------------------------------
// Properties

TEST_F(CurveCommandsTest, LocusPropertiesKeepARangeThatIsNotAscending) {
    BuildCircleDriver();
    auto* locus = Insert(new CGLocus(NextId(), m_driver->m_id, m_m->m_id, 0.0f, 6.2831f));
    Select({locus->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Script<CDlgLocus>([](CDlgLocus& d) {
        EXPECT_EQ(d.m_from, 0.0f);
        EXPECT_EQ(d.m_to, 6.2831f);
        EXPECT_EQ(d.m_step, 0.01f);
        d.m_from = 3.0f;
        d.m_to = 1.0f;
        d.m_step = -0.05f;
        d.m_display = kCurveVisibleOnly;
    });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_messages, (std::vector<CString>{u"参数要从小到大"}));
    EXPECT_EQ(locus->m_t0, 0.0f);
    EXPECT_EQ(locus->m_t1, 6.2831f);
    EXPECT_EQ(locus->m_step, 0.05f);
    EXPECT_EQ(locus->m_style, kCurveVisibleOnly);
    EXPECT_EQ(locus->m_sampleCount, int(std::trunc(6.2831 / double(0.05f))) + 2);
    Script<CDlgLocus>([](CDlgLocus& d) {
        d.m_from = 1.0f;
        d.m_to = 2.0f;
    });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(locus->m_t0, 1.0f);
    EXPECT_EQ(locus->m_t1, 2.0f);
}

TEST_F(CurveCommandsTest, CurvePropertiesCompileTheNewTexts) {
    auto* curve = Insert(new CGCurve(NextId(), IdList({}), u"t", u"0", u"0", u"0", u"1", 0.1f, 0));
    auto* p = Add<CGVerFreeInCurve>(curve->m_id, 0.5f);
    Select({curve->m_id});
    Script<CDlgCurve>([](CDlgCurve& d) {
        EXPECT_EQ(d.m_texts[0], CString(u"t"));
        EXPECT_EQ(d.m_values, (std::vector<double>{0.0}));
        d.m_texts[1] = u"2*t";
    });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(curve->m_expressions[1], CString(u"2*t"));
    ExpectNear(*p, 0.5, 1.0, 0);
}

} // namespace
