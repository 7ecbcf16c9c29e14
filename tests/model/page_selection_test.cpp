// Selection lists of a page: the kind list of each class, selecting and unselecting, selecting by
// kind, parents and children, lists rebuilt from the flags, and the + and - walk through the hits
// of the last pick with its status texts, messages and drag state.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/cell_kinds.h"
#include "model/face.h"
#include "model/free_points.h"
#include "solids/revolution_constructed.h"
#include "support/class_stand_ins.h"
#include "support/page_fixture.h"
#include "model_checks.h"

namespace {

inline constexpr char kSurfaceName[] = "CGSurface";
inline constexpr char kTrackName[] = "CGTrack";
inline constexpr char kIterateName[] = "CGIterate";
using CSurfaceStandIn = CNamedStandIn<kSurfaceName>;
using CTrackStandIn = CNamedStandIn<kTrackName>;
using CIterateStandIn = CNamedStandIn<kIterateName>;

class SelectionTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        AfxSetMainWnd(&m_frame);
        HxSetMessageObserver([this](const HxMessageRecord& r) {
            if (r.message == UM_SELECTION_CHANGED && r.posted)
                m_posted.emplace_back(r.wParam, r.lParam);
        });
    }
    void TearDown() override {
        HxSetMessageObserver(nullptr);
        HxPumpPostedMessages();
        AfxSetMainWnd(nullptr);
        PageFixture::TearDown();
    }
    template <class T> T* Add(T* cell) {
        cell->m_id = NextId();
        return Insert(cell);
    }
    // The walk as the view leaves it after an arrow-tool pick.
    void SetWalk(int pickClass, std::vector<WORD> ids) {
        m_page->m_walkClass = pickClass;
        m_page->m_walkList.RemoveAll();
        for (WORD id : ids)
            m_page->m_walkList.AddTail(id);
    }

    // One step of the + or - walk; the status text it leaves in place of an old one.
    CString Next() {
        CString status(u"旧");
        m_page->SelectNextObject(status);
        return status;
    }
    CString Previous() {
        CString status(u"旧");
        m_page->SelectPreviousObject(status);
        return status;
    }

    CWnd m_frame;
    std::vector<std::pair<WPARAM, LPARAM>> m_posted;
};

} // namespace

TEST_F(SelectionTest, EachClassGoesToItsKindList) {
    struct Case {
        CGCell* cell;
        CList<WORD, WORD>* list;
        int pickClass;
    };
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    std::vector<Case> cases = {
        {a, &m_page->m_selPoints, 1},
        {Add(new CGVerFreeXyz), &m_page->m_selPoints, 1},
        {AddLine(a->m_id, b->m_id), &m_page->m_selLines, 2},
        {Add(new CGFace), &m_page->m_selFaces, 8},
        {Add(new CGArc), &m_page->m_selCurves, 4},
        {Add(new CInkmarksStandIn), &m_page->m_selCurves, 4},
        {Add(new CGButnAnimation), &m_page->m_selButtons, 5},
        {Add(new CGTmVariable), &m_page->m_selValues, 6},
        {Add(new CGTmVector), &m_page->m_selValues, 6},
        {Add(new CGTextbit), &m_page->m_selTexts, 7},
        {Add(new CGTmSingleline), &m_page->m_selTexts, 7},
        {Add(new CGTbMhc), &m_page->m_selTexts, 7},
        {Add(new CIterateStandIn), &m_page->m_selTexts, 7},
        {Add(new CGSphere), &m_page->m_selSolids, 9},
        {Add(new CGConeCPV), &m_page->m_selSolids, 9},
        {Add(new CSurfaceStandIn), &m_page->m_selSolids, 9},
        {Add(new CColorModifierStandIn), &m_page->m_selOthers, 11},
        {Add(new CGTextmap), &m_page->m_selOthers, 11}, // a plain text line is none of the kinds
        {Add(new CGCell), &m_page->m_selOthers, 11},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(&m_page->KindListOf(c.cell), c.list) << c.cell->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(HxPickClassOf(HxSelectionKindOf(c.cell)), c.pickClass);
        EXPECT_EQ(m_page->KindListOfPickClass(c.pickClass), c.list);
    }
    for (int pickClass : {0, 3, 10, 12})
        EXPECT_EQ(m_page->KindListOfPickClass(pickClass), nullptr) << pickClass;
}

TEST_F(SelectionTest, SelectAndDeselectKeepFlagsAndListsInStep) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    EXPECT_TRUE(m_page->SelectCell(ab->m_id));
    EXPECT_TRUE(m_page->SelectCell(a->m_id));
    EXPECT_TRUE(m_page->SelectCell(a->m_id)); // not tested for: callers do
    EXPECT_FALSE(m_page->SelectCell(99));
    EXPECT_TRUE(a->m_selected);
    EXPECT_EQ(Ids(m_page->m_selAll), (std::vector<WORD>{ab->m_id, a->m_id, a->m_id}));
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{a->m_id, a->m_id}));
    EXPECT_EQ(Ids(m_page->m_selLines), std::vector<WORD>{ab->m_id});

    EXPECT_TRUE(m_page->DeselectCell(a->m_id));
    EXPECT_FALSE(a->m_selected);
    EXPECT_EQ(Ids(m_page->m_selAll), (std::vector<WORD>{ab->m_id, a->m_id})) << "only the first occurrence";
    EXPECT_FALSE(m_page->DeselectCell(99));

    // A cell missing from its kind list: the flag and the all-list still let go of it.
    b->m_selected = true;
    m_page->m_selAll.AddTail(b->m_id);
    EXPECT_FALSE(m_page->DeselectCell(b->m_id));
    EXPECT_FALSE(b->m_selected);
    EXPECT_EQ(Ids(m_page->m_selAll), (std::vector<WORD>{ab->m_id, a->m_id}));
}

TEST_F(SelectionTest, SelectAllOfKindTakesHiddenCellsOnlyInModeZero) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0), *hidden = AddPoint(2, 0, 0);
    hidden->m_hidden = 1;
    CGVertex* invalid = AddPoint(3, 0, 0);
    invalid->m_valid = false;
    CGLine* ab = AddLine(a->m_id, b->m_id);
    m_page->SelectCell(b->m_id);

    m_page->SelectAllOfKind(1);
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{b->m_id, a->m_id})) << "b kept its place";
    EXPECT_FALSE(hidden->m_selected);
    EXPECT_FALSE(invalid->m_selected);
    m_page->SelectAllOfKind(1);
    EXPECT_EQ(m_page->m_selAll.GetCount(), 2) << "nothing twice";
    m_page->SelectAllOfKind(2);
    EXPECT_EQ(Ids(m_page->m_selLines), std::vector<WORD>{ab->m_id});
    m_page->SelectAllOfKind(7);
    EXPECT_EQ(m_page->m_selAll.GetCount(), 3);

    m_page->SelectAllOfKind(0);
    EXPECT_TRUE(hidden->m_selected);
    EXPECT_TRUE(invalid->m_selected);
    EXPECT_EQ(m_page->m_selAll.GetCount(), 5);
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 4);
}

TEST_F(SelectionTest, ResetSelectionListsFollowsTheMapOrder) {
    std::vector<CGVertex*> points;
    for (int i = 0; i < 20; ++i)
        points.push_back(AddPoint(float(i), 0, 0));
    m_page->SelectCell(points[0]->m_id);
    m_page->SelectCell(points[19]->m_id);
    m_page->SelectCell(points[3]->m_id);
    m_page->ResetSelectionLists();
    // Keys 1..15 walk 15..1, then 20..16.
    EXPECT_EQ(Ids(m_page->m_selAll), (std::vector<WORD>{4, 1, 20}));
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{4, 1, 20}));
}

TEST_F(SelectionTest, ParentsAndChildrenReplaceTheSelection) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0), *c = AddPoint(0, 2, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGLine* bc = AddLine(b->m_id, c->m_id);
    c->m_hidden = 1;

    m_page->SelectCell(ab->m_id);
    m_page->SelectParents();
    EXPECT_FALSE(ab->m_selected);
    EXPECT_EQ(Ids(m_page->m_selAll), (std::vector<WORD>{b->m_id, a->m_id}));

    m_page->SelectChildren();
    EXPECT_EQ(Ids(m_page->m_selLines), (std::vector<WORD>{bc->m_id, ab->m_id}));
    EXPECT_TRUE(m_page->m_selPoints.IsEmpty());

    m_page->SelectParents();
    EXPECT_TRUE(c->m_selected) << "hidden parents too";
    EXPECT_EQ(m_page->m_selAll.GetCount(), 3);

    m_page->ClearSelection();
    m_page->SelectCell(a->m_id);
    m_page->SelectParents();
    EXPECT_TRUE(m_page->m_selAll.IsEmpty()) << "a fixed point has no parents";
}

TEST_F(SelectionTest, PlusStepsThroughThePointsUnderTheMouse) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(0, 0, 1), *c = AddPoint(0, 0, 2);
    m_page->SelectCell(a->m_id);
    SetWalk(1, {a->m_id, b->m_id, c->m_id});

    EXPECT_EQ(Next(), u"选择点B");
    EXPECT_FALSE(a->m_selected);
    EXPECT_TRUE(b->m_selected);
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{b->m_id});
    EXPECT_EQ(m_posted, (std::vector<std::pair<WPARAM, LPARAM>>{{0, a->m_id}, {0, b->m_id}, {1, b->m_id}}));
    EXPECT_EQ(g_draggedId, 0) << "a fixed point is not dragged";

    EXPECT_EQ(Next(), u"选择点C");
    m_posted.clear();
    EXPECT_EQ(Next(), u"选择点C");
    EXPECT_TRUE(c->m_selected) << "no wrap-around";
    EXPECT_TRUE(m_posted.empty());

    EXPECT_EQ(Previous(), u"选择点B");
    EXPECT_EQ(Previous(), u"选择点A");
    EXPECT_EQ(Ids(m_page->m_selPoints), std::vector<WORD>{a->m_id});
}

TEST_F(SelectionTest, WalkDoesNothingForLabelsOrWithoutASelectedHit) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(0, 0, 1);
    SetWalk(3, {a->m_id, b->m_id});
    m_page->SelectCell(a->m_id);
    EXPECT_TRUE(Next().IsEmpty());
    EXPECT_TRUE(a->m_selected);
    SetWalk(10, {a->m_id, b->m_id});
    Next();
    EXPECT_TRUE(a->m_selected);
    SetWalk(0, {a->m_id, b->m_id});
    Next();
    EXPECT_TRUE(a->m_selected);

    m_page->ClearSelection();
    SetWalk(1, {a->m_id, b->m_id});
    EXPECT_TRUE(Next().IsEmpty());
    EXPECT_FALSE(a->m_selected);
    EXPECT_FALSE(b->m_selected);
    EXPECT_TRUE(m_posted.empty());
}

TEST_F(SelectionTest, WalkPassesOverCellsThatAreGone) {
    CGVertex *a = AddPoint(0, 0, 0), *c = AddPoint(0, 0, 2);
    m_page->SelectCell(a->m_id);
    SetWalk(1, {a->m_id, 57, c->m_id});
    EXPECT_EQ(Next(), u"选择点B");
    EXPECT_TRUE(c->m_selected);
    // Everything after the selected one gone: it is let go, and nothing is selected.
    SetWalk(1, {c->m_id, 58, 59});
    EXPECT_TRUE(Next().IsEmpty());
    EXPECT_FALSE(c->m_selected);
}

TEST_F(SelectionTest, WalkSetsTheDragStateOfWhatItSelects) {
    auto* a = Add(new CGVerFreeXyz);
    auto* b = Add(new CGVerFreeXyz);
    b->m_name = u"P";
    m_page->SelectCell(a->m_id);
    SetWalk(1, {a->m_id, b->m_id});
    g_dragMoved = 1;
    EXPECT_EQ(Next(), u"选择点P");
    EXPECT_EQ(g_draggedId, b->m_id);
    EXPECT_EQ(g_dragMode, 1);
    EXPECT_EQ(g_dragMoved, 0);

    auto* b1 = Add(new CGButnAnimation);
    auto* b2 = Add(new CGButnAnimation);
    b2->m_name = u"动画";
    m_page->SelectCell(b1->m_id);
    SetWalk(5, {b1->m_id, b2->m_id});
    EXPECT_EQ(Next(), u"选择操作按钮动画");
    EXPECT_EQ(g_draggedId, b2->m_id);
    EXPECT_EQ(g_dragMode, 5);
}

TEST_F(SelectionTest, StatusTextsOfValuesTextsAndSolids) {
    // Values: the newly selected one always reads as a value; the last one by its class.
    auto* v = Add(new CGTmVariable);
    auto* w = Add(new CGTmVector);
    w->m_name = u"v";
    m_page->SelectCell(v->m_id);
    SetWalk(6, {v->m_id, w->m_id});
    EXPECT_EQ(Next(), u"选择度量值变量v");
    EXPECT_EQ(g_dragMode, 6);
    EXPECT_EQ(Next(), u"选择向量坐标v");

    // Pictures: "选择文本：" when the forward walk stops at one, "选择文本" otherwise.
    auto* t1 = Add(new CGTextbit);
    auto* t2 = Add(new CGTextbit);
    m_page->SelectCell(t1->m_id);
    SetWalk(7, {t1->m_id, t2->m_id});
    EXPECT_EQ(Next(), u"选择文本");
    EXPECT_EQ(g_dragMode, 7);
    EXPECT_EQ(Next(), u"选择文本：");
    m_page->ClearSelection();
    m_page->SelectCell(t2->m_id);
    SetWalk(7, {t2->m_id, t1->m_id});
    EXPECT_EQ(Previous(), u"选择文本");

    auto* line = Add(new CGTmSingleline);
    auto* iterate = Add(new CIterateStandIn);
    iterate->m_name = u"it";
    m_page->ClearSelection();
    m_page->SelectCell(line->m_id);
    SetWalk(7, {line->m_id, iterate->m_id});
    EXPECT_EQ(Next(), u"选择迭代图it");
    EXPECT_EQ(Previous(), u"选择E文本");
    EXPECT_EQ(g_dragMode, 6);

    auto* surface = Add(new CSurfaceStandIn);
    auto* track = Add(new CTrackStandIn);
    auto* sphere = Add(new CGSphere);
    sphere->m_name = u"球";
    m_page->ClearSelection();
    m_page->SelectCell(surface->m_id);
    SetWalk(9, {surface->m_id, track->m_id, sphere->m_id});
    EXPECT_EQ(Next(), u"选择图形的轨迹");
    EXPECT_EQ(Next(), u"选择旋转体球");
    Previous();
    EXPECT_EQ(Previous(), u"选择自定义曲面");
}
