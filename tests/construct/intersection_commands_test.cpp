// The intersection, midpoint, trisection and N-division commands: their update rules, the case each
// selection takes (lines, faces, circles, and the counted crossings of curves and loci once their
// kinds are installed), the dialogs' answers, the counts recorded, and the branches that make
// nothing.
#include "construct_fixture.h"

#include "construct/curve_crossings.h"
#include "construct/point_dialogs.h"
#include "dynamics/curves.h"
#include "dynamics/ink.h"
#include "model/dependent_points.h"
#include "points/intersection_points.h"
#include "points/scaled_points.h"

#include <tuple>

namespace {

class CTestCurve : public CGCurve {
public:
    explicit CTestCurve(WORD id) {
        m_id = id;
        m_name = u"f";
    }
    void PointAt(double t, double out[3]) override {
        out[0] = t;
        out[1] = 0.0;
        out[2] = 0.0;
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

class CTestLocus : public CGLocus {
public:
    explicit CTestLocus(WORD id) {
        m_id = id;
        m_name = u"g";
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

// The crossings the test installs: how many there are now, and every point made (its index and
// objects), each a fixed point tied to the two objects.
int g_crossingCount = 3;
std::vector<std::tuple<int, WORD, WORD>> g_made;
int CountCrossings(WORD, WORD, int, float out[3]) {
    out[0] = out[1] = out[2] = 0.0f;
    return g_crossingCount;
}
CGVertex* MakeCrossing(CCellMaker& make, int index, WORD first, WORD second) {
    g_made.emplace_back(index, first, second);
    CGVertex* p = make.AddPoint<CGVertex>(float(index), 0.0f, 0.0f);
    p->AddParent(first);
    p->AddParent(second);
    return p;
}

class IntersectionCommands : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        g_crossingCount = 3;
        g_made.clear();
    }
    void TearDown() override {
        InstallCrossings(false);
        ConstructTest::TearDown();
    }
    static void InstallCrossings(bool on) {
        for (int i = 0; i < kCrossingPairCount; ++i)
            HxSetCrossingKind(CCrossingPair(i), on ? CountCrossings : nullptr, on ? MakeCrossing : nullptr);
    }
    CTestCurve* AddCurve() { return Insert(new CTestCurve(NextId())); }
    CTestLocus* AddLocus() { return Insert(new CTestLocus(NextId())); }
    CGInkmarks* AddInk() {
        const float points[6] = {0, 0, -50, 1, 1, -50};
        return Insert(new CGInkmarks(NextId(), new CStroke(2, points)));
    }
    // Nothing made, recorded, marked or drawn.  (The stand-in curves, loci and ink have no record,
    // so the page is compared by its cells and counters.)
    void ExpectNothingMade(UINT id, std::initializer_list<WORD> selection) {
        m_doc->SetModifiedFlag(FALSE);
        m_viewUpdates = 0;
        const int steps = m_page->m_cmdProcessor.GetCount();
        const WORD next = m_page->m_nextId;
        const int cells = CellCount();
        Select(selection);
        Run(id);
        EXPECT_EQ(m_page->m_nextId, next);
        EXPECT_EQ(CellCount(), cells);
        EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_EQ(m_viewUpdates, 0);
    }
};

TEST_F(IntersectionCommands, UpdateRulesByKindAndCount) {
    CGLine* l1 = Line(0, 0, 0, 4, 0, 0);
    CGLine* l2 = Line(0, 1, 0, 0, 5, 0);
    CGFace* f = AddFace({l1->m_parents[0], l1->m_parents[1], l2->m_parents[1]});
    CGArc* c1 = AddCircle(0, 0, 0, 3);
    CGArc* c2 = AddCircle(1, 0, 0, 3);
    CTestCurve* q = AddCurve();
    CTestLocus* g = AddLocus();
    CGInkmarks* ink = AddInk();
    CGVertex* p = AddPoint(7, 7, 7);
    CGVertex* p2 = AddPoint(8, 7, 7);
    const struct {
        std::vector<WORD> selection;
        bool before, after; // without and with the crossings of curves and loci installed
    } rows[] = {
        {{l1->m_id, l2->m_id}, true, true},
        {{l1->m_id, f->m_id}, true, true},
        {{l1->m_id, c1->m_id}, true, true},
        {{f->m_id, c1->m_id}, true, true},
        {{c1->m_id, c2->m_id}, true, true},
        {{l1->m_id, q->m_id}, false, true},
        {{g->m_id, l1->m_id}, false, true},
        {{f->m_id, q->m_id}, false, false},
        {{c1->m_id, q->m_id}, false, true},
        {{g->m_id, c1->m_id}, false, true},
        {{q->m_id, g->m_id}, false, true},
        {{c1->m_id, ink->m_id}, false, false},
        {{l1->m_id, ink->m_id}, false, false},
        {{l1->m_id}, false, false},
        {{c1->m_id}, false, false},
        {{p->m_id, p2->m_id}, false, false},
        {{l1->m_id, l2->m_id, c1->m_id}, true, true},
    };
    for (bool installed : {false, true}) {
        InstallCrossings(installed);
        for (const auto& row : rows) {
            Select({});
            for (WORD id : row.selection)
                m_page->SelectCell(id);
            EXPECT_EQ(Enabled(ID_CREATE_POINT_INTER), installed ? row.after : row.before)
                << row.selection.size() << " " << row.selection[0] << (installed ? " installed" : "");
        }
    }
    // Midpoints and division points: a segment, or exactly two points.
    for (UINT id : {ID_CREATE_POINT_MIDDLE, ID_CREATE_POINT_DIV3, ID_CREATE_POINT_DIVN}) {
        Select({p->m_id, p2->m_id});
        EXPECT_TRUE(Enabled(id));
        Select({l1->m_id});
        EXPECT_TRUE(Enabled(id));
        Select({p->m_id});
        EXPECT_FALSE(Enabled(id));
        Select({p->m_id, p2->m_id, l1->m_parents[0]});
        EXPECT_FALSE(Enabled(id));
    }
}

TEST_F(IntersectionCommands, LinesFacesAndCircles) {
    CGLine* l1 = Line(-4, 0, 0, 4, 0, 0);
    CGLine* l2 = Line(1, -3, 0, 1, 3, 0);
    CGLine* vertical = Line(2, 0, -5, 2, 0, 5);
    CGFace* f = Face(std::array<float, 3>{-5, -5, 1}.data(), std::array<float, 3>{5, -5, 1}.data(),
                     std::array<float, 3>{0, 5, 1}.data());
    CGArc* c1 = AddCircle(0, 0, 0, 3);
    CGArc* c2 = AddCircle(4, 0, 0, 3);
    const struct {
        std::vector<WORD> selection;
        std::vector<std::string> classes;
        const char16_t* undo;
        bool one;
    } rows[] = {
        {{l1->m_id, l2->m_id}, {"CGVerIntersection"}, u"添加两线交点", true},
        {{vertical->m_id, f->m_id}, {"CGVerIntersectionLF"}, u"添加线与面交点", true},
        {{l1->m_id, c1->m_id}, {"CGVerIntersectionLS", "CGVerIntersectionLS"}, u"添加线与圆的交点", false},
        {{c1->m_id, f->m_id}, {"CGVerIntersectionCF", "CGVerIntersectionCF"}, u"添加圆与面交点", false},
        {{c1->m_id, c2->m_id}, {"CGVerIntersectionSS", "CGVerIntersectionSS"}, u"添加两圆交点", false},
    };
    for (const auto& row : rows) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD first = m_page->m_nextId;
        Select({});
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        Run(ID_CREATE_POINT_INTER);
        ASSERT_EQ(ClassesFrom(first), row.classes) << row.classes[0];
        if (row.one)
            ExpectUndoStep<CCmdAddCell>(row.undo);
        else
            ExpectUndoStep<CCmdAddCells>(row.undo, 2);
        ExpectUndoRedo(before);
    }
    // Where they meet: (1, 0, 0); (2, 0, 1); the circle's roots 0 and 1 on the line.
    const WORD first = WORD(m_page->m_nextId - 8);
    ExpectValidAt(*Cell<CGVertex>(first), 1, 0, 0);
    EXPECT_EQ(Parents(Cell<CGCell>(first)), (std::vector<WORD>{l1->m_id, l2->m_id}));
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 1)), 2, 0, 1);
    auto* r0 = Cell<CGVerIntersectionLS>(WORD(first + 2));
    auto* r1 = Cell<CGVerIntersectionLS>(WORD(first + 3));
    EXPECT_EQ(r0->m_kind, 0);
    EXPECT_EQ(r1->m_kind, 1);
    EXPECT_EQ(Parents(r0), (std::vector<WORD>{l1->m_id, c1->m_id}));
    EXPECT_NEAR(std::abs(r0->m_x), 3.0f, 1e-5);
    // The circle comes first whichever was selected first.
    EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 4))), (std::vector<WORD>{c1->m_id, f->m_id}));
    EXPECT_EQ(Cell<CGCell>(WORD(first + 7))->m_kind, 1);
}

TEST_F(IntersectionCommands, ALineThatMissesTheCircleStillGivesBothRoots) {
    CGLine* l = Line(-4, 9, 0, 4, 9, 0);
    CGArc* c = AddCircle(0, 0, 0, 3);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_INTER, {c->m_id, l->m_id});
    ASSERT_EQ(ClassesFrom(first).size(), 2u);
    EXPECT_FALSE(Cell<CGVertex>(first)->m_valid);
    EXPECT_FALSE(Cell<CGVertex>(WORD(first + 1))->m_valid);
    // Moved so that they meet, both appear.
    MoveLine(l, -4, 1, 0, 4, 1, 0);
    EXPECT_TRUE(Cell<CGVertex>(first)->m_valid);
    EXPECT_TRUE(Cell<CGVertex>(WORD(first + 1))->m_valid);
}

TEST_F(IntersectionCommands, CountedCrossingsAsManyAsTheDialogAsks) {
    InstallCrossings(true);
    CGLine* l = Line(0, 0, 0, 1, 0, 0);
    CGArc* c = AddCircle(0, 0, 0, 3);
    CTestCurve* q = AddCurve();
    CTestCurve* q2 = AddCurve();
    CTestLocus* g = AddLocus();
    CTestLocus* g2 = AddLocus();
    int opened = -1;
    Script<CDlgIntersectionNum>([&](CDlgIntersectionNum& d) {
        opened = d.m_number;
        d.m_number = 2;
    });
    // The parents in the order line, circle, curve, locus, whichever was selected first.
    const struct {
        std::vector<WORD> selection;
        WORD first, second;
        const char16_t* undo;
    } rows[] = {
        {{l->m_id, q->m_id}, l->m_id, q->m_id, u"添加直线与曲线的交点"},
        {{g->m_id, l->m_id}, l->m_id, g->m_id, u"添加直线与轨迹的交点"},
        {{q->m_id, c->m_id}, c->m_id, q->m_id, u"添加圆与曲线的交点"},
        {{g->m_id, c->m_id}, c->m_id, g->m_id, u"添加圆与轨迹的交点"},
        {{q2->m_id, q->m_id}, q2->m_id, q->m_id, u"添加曲线与曲线的交点"},
        {{g2->m_id, g->m_id}, g2->m_id, g->m_id, u"添加轨迹与轨迹的交点"},
        {{g->m_id, q->m_id}, q->m_id, g->m_id, u"添加曲线与轨迹的交点"},
    };
    for (const auto& row : rows) {
        g_made.clear();
        opened = -1;
        Select({});
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        const WORD first = m_page->m_nextId;
        Run(ID_CREATE_POINT_INTER);
        EXPECT_EQ(opened, 3) << "the dialog opens with the count there is";
        EXPECT_EQ(g_made, (std::vector<std::tuple<int, WORD, WORD>>{{0, row.first, row.second},
                                                                    {1, row.first, row.second}}));
        ExpectUndoStep<CCmdAddCells>(row.undo, 2);
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
        EXPECT_EQ(m_page->m_nextId, first);
        EXPECT_EQ(m_page->FindCell(first), nullptr);
        ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
        EXPECT_EQ(Parents(Cell<CGCell>(WORD(first + 1))), (std::vector<WORD>{row.first, row.second}));
    }
}

TEST_F(IntersectionCommands, TheCrossingDialogBoundsAndRefusals) {
    InstallCrossings(true);
    CGLine* l = Line(0, 0, 0, 1, 0, 0);
    CTestCurve* q = AddCurve();
    // Forty crossings: the dialog opens with 40; more than 32 is never made.
    g_crossingCount = 40;
    int opened = 0;
    Script<CDlgIntersectionNum>([&](CDlgIntersectionNum& d) {
        opened = d.m_number;
        d.m_number = 50;
    });
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_INTER, {l->m_id, q->m_id});
    EXPECT_EQ(opened, 40);
    EXPECT_EQ(m_page->m_nextId, first + 32);
    ExpectUndoStep<CCmdAddCells>(u"添加直线与曲线的交点", 32);

    // Cancel, or 0: nothing.
    g_crossingCount = 3;
    Script<CDlgIntersectionNum>([](CDlgIntersectionNum& d) { d.m_number = 0; });
    ExpectNothingMade(ID_CREATE_POINT_INTER, {l->m_id, q->m_id});
    Script<CDlgIntersectionNum>([](CDlgIntersectionNum& d) { d.m_number = 2; });
    m_answer = IDCANCEL;
    ExpectNothingMade(ID_CREATE_POINT_INTER, {l->m_id, q->m_id});
    m_answer = IDOK;

    // Not installed: no dialog, nothing.
    InstallCrossings(false);
    const int dialogs = m_dialogCount;
    ExpectNothingMade(ID_CREATE_POINT_INTER, {l->m_id, q->m_id});
    EXPECT_EQ(m_dialogCount, dialogs);
}

TEST_F(IntersectionCommands, ASelectionThatFitsNoCaseMakesNothing) {
    InstallCrossings(true);
    CGLine* l = Line(0, 0, 0, 1, 0, 0);
    CGArc* c = AddCircle(0, 0, 0, 3);
    CGInkmarks* ink = AddInk();
    CTestCurve* q = AddCurve();
    CGFace* f = AddFace({l->m_parents[0], l->m_parents[1], AddPoint(0, 5, 0)->m_id});
    const int dialogs = m_dialogCount;
    ExpectNothingMade(ID_CREATE_POINT_INTER, {l->m_id, ink->m_id});
    ExpectNothingMade(ID_CREATE_POINT_INTER, {c->m_id, ink->m_id});
    ExpectNothingMade(ID_CREATE_POINT_INTER, {f->m_id, q->m_id});
    ExpectNothingMade(ID_CREATE_POINT_INTER, {l->m_id});
    ExpectNothingMade(ID_CREATE_POINT_INTER, {});
    EXPECT_EQ(m_dialogCount, dialogs);
}

// ---------------------------------------------------------------------------------------------
// Midpoints and division points

TEST_F(IntersectionCommands, MidpointsOfSegmentsOrOfTwoPoints) {
    CGLine* l1 = Line(0, 0, 0, 2, 0, 0);
    CGLine* l2 = Line(0, 0, 0, 0, 4, 0);
    CGLine* l3 = Line(0, 0, 0, 0, 0, 6);
    const PageSnapshot before = TakeSnapshot(*m_page);
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_MIDDLE, {l3->m_id, l1->m_id, l2->m_id});
    ASSERT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGVerMid", "CGVerMid", "CGVerMid"}));
    EXPECT_EQ(Parents(Cell<CGCell>(first)), std::vector<WORD>{l3->m_id});
    ExpectValidAt(*Cell<CGVertex>(first), 0, 0, 3);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 2)), 0, 2, 0);
    ExpectUndoStep<CCmdAddCells>(u"添加多个中点", 3);
    ExpectUndoRedo(before);

    first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_MIDDLE, {l1->m_id});
    ExpectUndoStep<CCmdAddCell>(u"添加一个中点");
    // Two points (a segment selected besides): the builder's point at ratio 1/2 from the first.
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 4, 4);
    first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_MIDDLE, {b->m_id, l1->m_id, a->m_id});
    ASSERT_EQ(ClassesFrom(first), std::vector<std::string>{"CGVerScale"});
    EXPECT_EQ(Parents(Cell<CGCell>(first)), (std::vector<WORD>{a->m_id, b->m_id}));
    ExpectValidAt(*Cell<CGVertex>(first), 2, 2, 2);
    ExpectUndoStep<CCmdAddCell>(u"添加一个中点");
}

TEST_F(IntersectionCommands, TrisectionRecordsThePointsMade) {
    CGLine* l1 = Line(0, 0, 0, 3, 0, 0);
    CGLine* l2 = Line(0, 0, 0, 0, 6, 0);
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_DIV3, {l1->m_id, l2->m_id});
    ASSERT_EQ(ClassesFrom(first).size(), 4u);
    ExpectValidAt(*Cell<CGVertex>(first), 1, 0, 0);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 1)), 2, 0, 0);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 3)), 0, 4, 0);
    ExpectUndoStep<CCmdAddCells>(u"添加三等分点", 4);

    // A line whose points are gone gives no points: only those made are recorded.
    CGLine* broken = AddLine(l1->m_parents[0], l1->m_parents[1]);
    broken->m_parents.SetSize(1);
    first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_DIV3, {broken->m_id, l2->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 2);
    ExpectUndoStep<CCmdAddCells>(u"添加三等分点", 2);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first);
    EXPECT_NE(m_page->FindCell(broken->m_id), nullptr) << "undo removes only what was made";
    ExpectNothingMade(ID_CREATE_POINT_DIV3, {broken->m_id});
}

TEST_F(IntersectionCommands, NDivisionThroughItsDialog) {
    CGLine* l1 = Line(0, 0, 0, 5, 0, 0);
    CGLine* l2 = Line(0, 0, 0, 0, 10, 0);
    Script<DlgDivPoint>([](DlgDivPoint& d) {
        EXPECT_EQ(d.m_n, 2);
        EXPECT_FALSE(d.m_onlyFirst);
        d.m_n = 5;
    });
    WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_DIVN, {l1->m_id, l2->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 8);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 3)), 4, 0, 0);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 4)), 0, 2, 0);
    ExpectUndoStep<CCmdAddCells>(u"添加N等分点", 8);

    Script<DlgDivPoint>([](DlgDivPoint& d) {
        d.m_n = 5;
        d.m_onlyFirst = TRUE;
    });
    first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_DIVN, {l1->m_id, l2->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 2);
    ExpectUndoStep<CCmdAddCells>(u"添加N等分点", 2);
    first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_DIVN, {l1->m_id});
    ExpectUndoStep<CCmdAddCell>(u"添加一个N等分点");
    ExpectValidAt(*Cell<CGVertex>(first), 1, 0, 0);

    // Two points, N = 256: 255 points at once.
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(256, 0, 0);
    Script<DlgDivPoint>([](DlgDivPoint& d) { d.m_n = 256; });
    first = m_page->m_nextId;
    RunOn(ID_CREATE_POINT_DIVN, {a->m_id, b->m_id});
    EXPECT_EQ(m_page->m_nextId, first + 255);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 254)), 255, 0, 0);

    // Cancelled, or an N the dialog would have refused: nothing.
    m_answer = IDCANCEL;
    ExpectNothingMade(ID_CREATE_POINT_DIVN, {l1->m_id});
    m_answer = IDOK;
    Script<DlgDivPoint>([](DlgDivPoint& d) { d.m_n = 1; });
    ExpectNothingMade(ID_CREATE_POINT_DIVN, {l1->m_id});
    Script<DlgDivPoint>([](DlgDivPoint& d) { d.m_n = 257; });
    ExpectNothingMade(ID_CREATE_POINT_DIVN, {l1->m_id});
}

TEST_F(IntersectionCommands, DivisionOfManySegmentsThatWouldPassTheLastIdIsRefused) {
    CGLine* l1 = Line(0, 0, 0, 5, 0, 0);
    CGLine* l2 = Line(0, 0, 0, 0, 10, 0);
    m_page->m_nextId = 0xFFFE - 300;
    Script<DlgDivPoint>([](DlgDivPoint& d) { d.m_n = 256; });
    ExpectNothingMade(ID_CREATE_POINT_DIVN, {l1->m_id, l2->m_id});
    EXPECT_EQ(m_messages, std::vector<CString>{CString(g_pageFullMessage)});
}

TEST(IntersectionDialogFields, DefaultsAndThePromptTexts) {
    CDlgIntersectionNum count;
    EXPECT_EQ(count.m_number, 0);
    EXPECT_EQ(CDlgIntersectionNum::IDD, 279);
    EXPECT_EQ(
        CDlgIntersectionNum::PromptFor(3),
        CString(u"当前状态有3 "
                u"个交点，请输入你要添加的个数：\n\r（多余的交点在条件适合时才会显示；按“取消”不添加）"));
    EXPECT_EQ(CDlgIntersectionNum::PromptFor(31).Left(12), CString(u"当前状态有31 个交点，"));
    EXPECT_EQ(CDlgIntersectionNum::PromptFor(32),
              CString(u"当前状态至少有32 个交点，请输入你要添加的个数：\n\r（不超过32个；按“取消”不添加）"));
    DlgDivPoint division;
    EXPECT_EQ(division.m_n, 2);
    EXPECT_FALSE(division.m_onlyFirst);
    EXPECT_EQ(DlgDivPoint::IDD, 285);
}

} // namespace
