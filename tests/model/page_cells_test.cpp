// Page operations on cells: automatic names through the whole cycle and back after a cancelled
// construction, recomputation in ascending id order, selection marks and deletion sets, the
// places of new screen items, and lists that still hold ids of cells no longer in the page.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "support/page_fixture.h"
#include "model_checks.h"

#include <string>
#include <tuple>

namespace {

class PageCellsTest : public PageFixture {
protected:
    // Selects a cell into one kind list and the all-selected list.
    void Select(CGCell* cell, CList<WORD, WORD>& list) {
        cell->m_selected = true;
        list.AddTail(cell->m_id);
        m_page->m_selAll.AddTail(cell->m_id);
    }
};

// The expected automatic point names, in order: A..Z, then with 1..9, ', 0.
std::vector<std::u16string> NameCycle() {
    std::vector<std::u16string> names;
    for (char16_t suffix : std::u16string(u" 123456789'0")) {
        for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
            std::u16string name(1, letter);
            if (suffix != u' ')
                name += suffix;
            names.push_back(name);
        }
    }
    return names;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Automatic names

TEST_F(PageCellsTest, CircleNamesCountThroughAByte) {
    CString name;
    EXPECT_EQ(m_page->MakeAutoLabel(name, CGPage::kAutoLabelCircle), u"c1");
    EXPECT_EQ(name, u"c1");
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelCircle), u"c2");
    for (int i = 3; i <= 255; ++i)
        m_page->MakeAutoLabel(CGPage::kAutoLabelCircle);
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelCircle), u"c0");
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelCircle), u"c1");
    // Circle names leave the point names alone.
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), u"A");
}

TEST_F(PageCellsTest, DamagedCountersRestartTheNames) {
    m_page->m_labelLetter = 0;
    m_page->m_labelSuffix = 'x';
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), u"A");
    m_page->m_labelLetter = char(0xC1);
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), u"A");
}

TEST_F(PageCellsTest, CancelledConstructionHandsIdsAndNamesBack) {
    CGVertex* a = AddPoint(0, 0, 0);
    m_page->m_constructMarker = m_page->m_nextId;
    CGVertex *b = AddPoint(1, 0, 0), *c = AddPoint(2, 0, 0);
    AddLine(a->m_id, b->m_id);
    AddLine(b->m_id, c->m_id);
    ASSERT_EQ(m_page->m_nextId, 6);
    ASSERT_EQ(b->m_name, u"B");
    a->m_highlighted = true;
    EXPECT_EQ(m_page->RemoveCellsAfterMarker(), -1);
    EXPECT_EQ(m_page->m_cells.GetCount(), 1);
    EXPECT_EQ(m_page->m_nextId, 2);
    EXPECT_EQ(m_page->m_constructMarker, 0);
    EXPECT_TRUE(a->m_children.IsEmpty());
    EXPECT_FALSE(a->m_highlighted);
    CGVertex* again = AddPoint(1, 1, 1);
    EXPECT_EQ(again->m_id, 2);
    EXPECT_EQ(again->m_name, u"B");

    // Nothing in progress: nothing happens.
    EXPECT_EQ(m_page->RemoveCellsAfterMarker(), 0);
    m_page->m_constructMarker = -1;
    EXPECT_EQ(m_page->RemoveCellsAfterMarker(), 0);
    EXPECT_EQ(m_page->m_cells.GetCount(), 2);
}

TEST_F(PageCellsTest, CancellingTwoPointsAnywhereInTheCycleGivesTheirNamesAgain) {
    // Over every step of the cycle, the wraps from one suffix to the next and from "Z0" back to
    // "A" included: two points made and cancelled, then the first made for good.
    std::vector<std::u16string> cycle = NameCycle();
    for (size_t i = 0; i < cycle.size() + 1; ++i) {
        const std::u16string& first = cycle[i % cycle.size()];
        const std::u16string& second = cycle[(i + 1) % cycle.size()];
        m_page->m_constructMarker = m_page->m_nextId;
        ASSERT_EQ(AddPoint(0, 0, 0)->m_name, first.c_str()) << i;
        ASSERT_EQ(AddPoint(0, 0, 0)->m_name, second.c_str()) << i;
        ASSERT_EQ(m_page->RemoveCellsAfterMarker(), -1);
        ASSERT_EQ(AddPoint(0, 0, 0)->m_name, first.c_str()) << i;
    }
}

TEST_F(PageCellsTest, CancelKeepsNamesOfPointsTheUserCouldNotSee) {
    AddPoint(0, 0, 0); // A
    m_page->m_constructMarker = m_page->m_nextId;
    AddPoint(1, 0, 0)->m_hidden = 1;       // B
    AddPoint(2, 0, 0)->m_labelHidden = 1;  // C
    AddPoint(3, 0, 0)->m_nameFixed = true; // D
    m_page->RemoveCellsAfterMarker();
    EXPECT_EQ(m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), u"E");
}

TEST_F(PageCellsTest, CancelDuringAToolApplicationReportsTheIdsItStillHolds) {
    AddPoint(0, 0, 0);
    m_page->m_toolFirstId = m_page->m_nextId; // 2
    for (int i = 0; i < 3; ++i)
        AddPoint(float(i), 1, 0);
    m_page->m_toolNewCount = 3;
    m_page->m_toolState = new CWordArray; // any owned object stands for the tool state
    m_page->m_constructMarker = 4;
    EXPECT_EQ(m_page->RemoveCellsAfterMarker(), 2);
    EXPECT_EQ(m_page->m_toolNewCount, 2);
    EXPECT_EQ(m_page->m_nextId, 4);
    EXPECT_EQ(m_page->m_toolState, nullptr);
}

TEST_F(PageCellsTest, CancelDropsTheRemovedIdsFromEveryList) {
    CGVertex* a = AddPoint(0, 0, 0);
    m_page->m_constructMarker = m_page->m_nextId;
    CGVertex* b = AddPoint(1, 0, 0);
    Select(a, m_page->m_selPoints);
    Select(b, m_page->m_selPoints);
    m_page->m_tracedCells.AddTail(b->m_id);
    m_page->m_recomputeIds = {a->m_id, b->m_id};
    g_draggedId = b->m_id;
    m_page->RemoveCellsAfterMarker();
    EXPECT_EQ(Ids(m_page->m_selPoints), std::vector<WORD>{1});
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>{1});
    EXPECT_TRUE(m_page->m_tracedCells.IsEmpty());
    EXPECT_EQ(m_page->m_recomputeIds, std::vector<WORD>{1});
    EXPECT_EQ(g_draggedId, 0);
}

// ---------------------------------------------------------------------------------------------
// Recomputation in dependency order

TEST_F(PageCellsTest, MovingAPointRecomputesADiamondInAscendingIdOrder) {
    // Enough cells that the map's own walking order (15..1, 31..16, ...) differs from id order.
    CGVertex *a = AddPoint(0, 0, 0), *p = AddPoint(4, 0, 0), *q = AddPoint(0, 4, 0);
    for (int i = 0; i < 14; ++i)
        AddPoint(10, 10, float(i));                     // unrelated points, ids 4..17
    CTestMidpoint* m1 = AddMidpoint(a->m_id, p->m_id);  // 18
    CTestMidpoint* m2 = AddMidpoint(a->m_id, q->m_id);  // 19
    CTestMidpoint* d = AddMidpoint(m2->m_id, m1->m_id); // 20
    CGLine* line = AddLine(d->m_id, a->m_id);           // 21
    CTestMidpoint* e = AddMidpoint(d->m_id, a->m_id);   // 22
    AddMidpoint(q->m_id, p->m_id);                      // 23, not below a
    std::vector<WORD> order;
    CTestMidpoint::s_log = &order;
    MovePoint(a, 8.0f, 8.0f, 0.0f);
    EXPECT_EQ(order, (std::vector<WORD>{m1->m_id, m2->m_id, d->m_id, e->m_id}));
    EXPECT_EQ(m_page->m_scratchIds, (std::vector<WORD>{18, 19, 20, 21, 22}));
    // Every cell saw its parents' new places.
    EXPECT_EQ(m1->m_x, 6.0f);
    EXPECT_EQ(m2->m_y, 6.0f);
    EXPECT_EQ(d->m_x, 5.0f);
    EXPECT_EQ(d->m_y, 5.0f);
    EXPECT_EQ(e->m_x, 6.5f);
    EXPECT_EQ(Slot(e->m_vertexIndex)[0], 6.5f);
    EXPECT_FLOAT_EQ(line->m_labelPos[0], 6.5f + 0.5f);
    // Collecting cleared every mark.
    for (WORD id = 1; id < m_page->m_nextId; ++id)
        EXPECT_FALSE(m_page->FindCell(id)->m_mark) << id;
}

TEST_F(PageCellsTest, InvalidityPassesDownInTheSameSweep) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0);
    CTestMidpoint* m = AddMidpoint(a->m_id, b->m_id);
    CTestMidpoint* n = AddMidpoint(m->m_id, b->m_id);
    CGLine* line = AddLine(n->m_id, a->m_id);
    a->m_valid = false;
    MovePoint(a, 1, 1, 1);
    EXPECT_FALSE(m->m_valid);
    EXPECT_FALSE(n->m_valid);
    EXPECT_FALSE(line->m_valid);
    EXPECT_EQ(m_page->m_cells.GetCount(), 5); // nothing is removed
}

TEST_F(PageCellsTest, SelectionMarksAndDeletionSet) {
    CGVertex *a = AddPoint(0, 0, 0), *p = AddPoint(4, 0, 0), *q = AddPoint(0, 4, 0);
    CTestMidpoint* m1 = AddMidpoint(a->m_id, p->m_id);
    CTestMidpoint* m2 = AddMidpoint(a->m_id, q->m_id);
    CTestMidpoint* d = AddMidpoint(m1->m_id, m2->m_id);
    CGLine* line = AddLine(d->m_id, q->m_id);
    Select(m1, m_page->m_selPoints);
    g_draggedId = a->m_id;
    CList<WORD, WORD> ids;
    ids.AddTail(99); // appended after what is there
    m_page->CollectDeletionIds(ids);
    EXPECT_EQ(Ids(ids), (std::vector<WORD>{99, m1->m_id, d->m_id, line->m_id}));
    EXPECT_EQ(m_page->m_scratchIds, (std::vector<WORD>{m1->m_id, d->m_id, line->m_id}));
    EXPECT_EQ(g_draggedId, 0);

    m1->m_selected = false;
    d->m_selected = true;
    m_page->MarkSelectionWithAncestors();
    std::vector<WORD> marked;
    m_page->CollectMarkedIds(marked);
    EXPECT_EQ(marked, (std::vector<WORD>{a->m_id, p->m_id, q->m_id, m1->m_id, m2->m_id, d->m_id}));
}

TEST_F(PageCellsTest, DescendantsGatheredWhileMarkingAreThoseOfAWalkOfThePage) {
    // A diamond with ids above 64 (several words of the id bits), a tail and a cell apart.
    for (int i = 0; i < 70; ++i)
        AddPoint(float(i), 0, 0);
    CGVertex *a = AddPoint(0, 0, 0), *p = AddPoint(4, 0, 0), *q = AddPoint(0, 4, 0);
    CTestMidpoint* m1 = AddMidpoint(a->m_id, p->m_id);
    CTestMidpoint* m2 = AddMidpoint(a->m_id, q->m_id);
    CTestMidpoint* d = AddMidpoint(m1->m_id, m2->m_id);
    AddLine(d->m_id, q->m_id);
    AddMidpoint(p->m_id, q->m_id);
    for (CGCell* root : std::initializer_list<CGCell*>{a, p, q, m1, d}) {
        std::vector<WORD> walked, gathered{1, 2, 3};
        root->MarkDescendants();
        m_page->CollectMarkedIds(walked);
        m_page->CollectDescendantIds(*root, gathered);
        EXPECT_EQ(gathered, walked) << root->m_id;
        std::vector<WORD> left;
        m_page->CollectMarkedIds(left);
        EXPECT_TRUE(left.empty()) << "no mark stays behind";
    }
}

TEST_F(PageCellsTest, WalkersSkipIdsNoLongerInThePage) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0);
    CGLine* line = AddLine(a->m_id, b->m_id);
    m_page->UpdateCellsById({1, 77, line->m_id, 65535});
    m_page->UpdateTextsById({77, line->m_id});
    EXPECT_TRUE(line->m_valid);
    m_page->m_selPoints.AddTail(77);
    m_page->m_selValues.AddTail(78);
    m_page->m_selOthers.AddTail(79);
    m_page->SetLabelStyleOfSelection(RGB(1, 2, 3));
    m_page->SetFlagOnSelection(0);
    EXPECT_FALSE(m_page->ColorSelection(CGPage::kAutoColor));
    EXPECT_EQ(m_page->CountSelectedVariables(), 0);
    m_page->ClearSelection();
    EXPECT_TRUE(m_page->m_selPoints.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Selection

TEST_F(PageCellsTest, ClearSelectionEmptiesEveryListAndTellsTheFrame) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGLine* line = AddLine(a->m_id, AddPoint(1, 0, 0)->m_id);
    Select(a, m_page->m_selPoints);
    Select(line, m_page->m_selLines);
    m_page->m_walkList.AddTail(a->m_id);
    m_page->m_pageSelected = 1;
    m_page->m_pageId = 3;

    CWnd frame;
    AfxSetMainWnd(&frame);
    std::vector<HxMessageRecord> sent;
    HxSetMessageObserver([&](const HxMessageRecord& r) { sent.push_back(r); });
    m_page->ClearSelection();
    HxSetMessageObserver(nullptr);
    AfxSetMainWnd(nullptr);

    EXPECT_FALSE(a->m_selected);
    EXPECT_FALSE(line->m_selected);
    for (const CList<WORD, WORD>* list :
         {&m_page->m_selPoints, &m_page->m_selLines, &m_page->m_selFaces, &m_page->m_selSolids,
          &m_page->m_selCurves, &m_page->m_selTexts, &m_page->m_selValues, &m_page->m_selButtons,
          &m_page->m_selOthers, &m_page->m_selAll, &m_page->m_walkList})
        EXPECT_TRUE(list->IsEmpty());
    EXPECT_EQ(m_page->m_pageSelected, 0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].target, &frame);
    EXPECT_EQ(sent[0].message, UM_SELECTION_CHANGED);
    EXPECT_EQ(sent[0].wParam, 2u);
    EXPECT_EQ(sent[0].lParam, 40003);
    EXPECT_FALSE(sent[0].posted);
}

TEST_F(PageCellsTest, CountSelectedVariablesCountsValuesOnly) {
    auto* value = new CGTmVariable;
    value->m_id = NextId();
    Insert(value);
    auto* vector = new CGTmVector;
    vector->m_id = NextId();
    Insert(vector);
    m_page->m_selValues.AddTail(value->m_id);
    m_page->m_selValues.AddTail(vector->m_id);
    EXPECT_EQ(m_page->CountSelectedVariables(), 1);
}

// ---------------------------------------------------------------------------------------------
// Places of new screen items

// Places are in units of 20 unit lengths (1 at the start); rows are 1.5 apart.
TEST_F(PageCellsTest, TextItemsGoDownColumnsFromTheUpperRight) {
    ASSERT_FLOAT_EQ(20.0f * g_unitLength, 1.0f);
    auto place = [&](int rows, float x, float y, int slot) {
        float px, py;
        m_page->PlaceNewTextItem(px, py, rows);
        EXPECT_FLOAT_EQ(px, x);
        EXPECT_FLOAT_EQ(py, y);
        EXPECT_EQ(slot ? m_page->m_textSlot : 0, slot); // 0: not asked
    };
    place(1, 13, 11, 1);
    place(1, 13, 9.5f, 2);
    EXPECT_EQ(m_page->m_lastTextX, 13.0f);
    EXPECT_EQ(m_page->m_lastTextY, 9.5f);
    // The row at -11.5 is past the bottom (-11), so the sixteenth item starts the next column.
    for (int i = 3; i <= 14; ++i)
        place(1, 13, 11 - 1.5f * float(i - 1), i);
    place(1, 13, -10, 15);
    place(1, 1, 11, 17);
    place(3, 1, 6.5f, 16 + 3 + 3); // a three-row item goes three rows down
    // Past the last column it comes back to the first.
    m_page->m_lastTextX = -23.0f;
    m_page->m_lastTextY = -10.0f;
    place(1, 13, 11, 0);
    // After a load the last position is unknown and the slot counter places the item: 16 rows a
    // column, so the seventeenth item tops the second column; slot 64 wraps.
    using Row = std::tuple<int, float, float>;
    for (auto [slot, x, y] : {Row{16, 1, 11}, Row{15, 13, -11.5f}, Row{64, 13, 11}}) {
        m_page->m_lastTextX = 1000.0f;
        m_page->m_textSlot = slot;
        place(1, x, y, slot == 64 ? 1 : 0);
    }
}

TEST_F(PageCellsTest, ButtonsGoDownColumnsFromTheUpperLeft) {
    auto place = [&](float x, float y, int slot) {
        float px, py;
        m_page->PlaceNewButton(px, py);
        EXPECT_FLOAT_EQ(px, x);
        EXPECT_FLOAT_EQ(py, y);
        EXPECT_EQ(slot ? m_page->m_buttonSlot : 0, slot);
    };
    for (int i = 1; i <= 16; ++i)
        place(-18, 12 - 1.5f * float(i - 1), i);
    place(-13, 12, 17);
    // Past the last column it comes back to the first.
    m_page->m_lastButtonX = 17.0f;
    m_page->m_lastButtonY = -10.5f;
    place(-18, 12, 0);
    // Slot mode wraps after 128 slots.
    m_page->m_lastButtonX = -1000.0f;
    m_page->m_buttonSlot = 128;
    place(-18, 12, 1);
}

TEST_F(PageCellsTest, FlatObjectsOutsideTheWindowComeBackIn) {
    auto* text = new CGTextmap;
    text->m_id = NextId();
    text->m_labelPos[0] = -30.0f;
    text->m_labelPos[1] = 5.0f;
    Insert(text);
    auto* button = new CGButton;
    button->m_id = NextId();
    button->m_labelPos[0] = 25.0f;
    button->m_labelPos[1] = -16.0f;
    Insert(button);
    auto* picture = new CGTextbit;
    picture->m_id = NextId();
    picture->m_labelPos[1] = 3.0f;
    Insert(picture);
    CGVertex* point = AddPoint(100.0f, 100.0f, 0.0f);
    EXPECT_EQ(m_page->BringFlatObjectsIntoView(20.0f, 15.0f), 2);
    EXPECT_EQ(text->m_labelPos[0], -16.0f);
    EXPECT_EQ(text->m_labelPos[1], 5.0f);
    EXPECT_EQ(button->m_labelPos[0], 16.0f);
    EXPECT_EQ(button->m_labelPos[1], -11.0f);
    EXPECT_EQ(picture->m_labelPos[1], 3.0f);
    EXPECT_EQ(point->m_x, 100.0f);
}
