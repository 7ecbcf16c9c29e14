// Clicks of the arrow tool through real mouse events: the lowest class wins, repeated clicks cycle and
// toggle, Ctrl picks labels, empty space clears; the box select; a spot that overflows the buffer.
#include "view_mouse_fixture.h"

#include "view/pick_pass.h"

#include <array>

namespace {

class ViewPickTest : public ViewMouseTest {
protected:
    bool Selected(const CGCell* cell) const { return cell->m_selected && m_page->m_selAll.Find(cell->m_id); }
    // The sizes of the selection lists: all, points, lines, faces.
    std::array<int, 4> SelCounts() const {
        return {int(m_page->m_selAll.GetCount()), int(m_page->m_selPoints.GetCount()),
                int(m_page->m_selLines.GetCount()), int(m_page->m_selFaces.GetCount())};
    }
    // The walk list of the last pick as a vector.
    std::vector<WORD> WalkList() const {
        std::vector<WORD> ids;
        for (WORD id : m_page->m_walkList)
            ids.push_back(id);
        return ids;
    }
};

} // namespace

TEST_F(ViewPickTest, PointsBeforeLinesBeforeFaces) {
    CGVertex* a = AddPoint(-4, -4);
    CGVertex* b = AddPoint(4, -4);
    CGVertex* c = AddPoint(4, 4);
    CGVertex* d = AddPoint(-4, 4);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* face = Insert(new CGFace(m_page->m_nextId++, a->m_id, b->m_id, c->m_id, d->m_id, RGB(200, 200, 0)));
    Redraw();

    // The corner A lies on the segment and on the face: the point wins.
    Click(Pixel(-4, -4));
    EXPECT_EQ(m_page->m_walkClass, 1);
    EXPECT_TRUE(Selected(a));
    EXPECT_EQ(m_status, u"选择点A");
    // The middle of the segment lies on the face too: the line wins.
    Click(Pixel(0, -4));
    EXPECT_EQ(m_page->m_walkClass, 2);
    EXPECT_TRUE(Selected(ab));
    EXPECT_EQ(m_status, CString(u"选择线") + ab->m_name);
    // Inside the face.
    Click(Pixel(1, 1));
    EXPECT_EQ(m_page->m_walkClass, 8);
    EXPECT_TRUE(Selected(face));
    EXPECT_EQ(SelCounts(), (std::array<int, 4>{3, 1, 1, 1}));

    // Empty space clears the whole selection.
    Click(Pixel(8, 6));
    EXPECT_EQ(m_status, u"就绪");
    EXPECT_EQ(SelCounts(), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_FALSE(a->m_selected || ab->m_selected || face->m_selected);
}

TEST_F(ViewPickTest, RepeatedClicksCycleThroughStackedPoints) {
    CGVertex* p[3] = {AddPoint(1, 1), AddPoint(1, 1), AddPoint(1, 1)};
    Redraw();
    CWnd frame;
    AfxSetMainWnd(&frame);
    std::vector<HxMessageRecord> posted;
    HxSetMessageObserver([&](const HxMessageRecord& r) { posted.push_back(r); });

    Click(Pixel(1, 1));
    const std::vector<WORD> order = WalkList();
    ASSERT_EQ(order.size(), 3u);
    auto cell = [&](size_t i) { return m_page->FindCell(order[i]); };
    EXPECT_TRUE(cell(0)->m_selected);
    EXPECT_FALSE(cell(1)->m_selected || cell(2)->m_selected);
    // Each click unselects the one selected and takes the next one in record order.
    Click(Pixel(1, 1));
    EXPECT_FALSE(cell(0)->m_selected);
    EXPECT_TRUE(cell(1)->m_selected);
    Click(Pixel(1, 1));
    EXPECT_TRUE(cell(2)->m_selected);
    EXPECT_FALSE(cell(1)->m_selected);
    // The last one unselected, nothing taken.
    posted.clear();
    Click(Pixel(1, 1));
    for (CGVertex* point : p)
        EXPECT_FALSE(point->m_selected);
    EXPECT_EQ(m_status, CString(u"取消选择") + cell(2)->m_name);
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, UM_SELECTION_CHANGED);
    EXPECT_EQ(posted[0].wParam, 1u) << "the pick reports the cell it unselected";
    EXPECT_EQ(posted[1].wParam, 0u) << "the press reports it unselected";
    // And round again.
    Click(Pixel(1, 1));
    EXPECT_TRUE(cell(0)->m_selected);
    HxSetMessageObserver(nullptr);
    HxPumpPostedMessages();
    AfxSetMainWnd(nullptr);
}

TEST_F(ViewPickTest, CtrlPicksTheLabelOnly) {
    CGVertex* a = AddPoint(2, 2);
    a->m_labelHidden = 0;
    a->m_labelOffset[0] = a->m_labelOffset[1] = a->m_labelOffset[2] = 0.0f;
    a->SyncVertex();
    Redraw();

    Click(Pixel(2, 2));
    EXPECT_EQ(m_page->m_walkClass, 1);
    EXPECT_TRUE(a->m_selected);
    Click(Pixel(6, 6)); // away: clear

    // With Ctrl the label diamond (10 unit lengths about the anchor, here 10 pixels) is taken.
    Press(Pixel(2, 2), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(m_page->m_walkClass, 3);
    EXPECT_FALSE(a->m_selected) << "a label pick leaves the selection";
    EXPECT_EQ(g_dragMode, 3);
    EXPECT_EQ(g_draggedId, a->m_id);
    EXPECT_EQ(m_status, u"拖动标签A");
    // Looking straight down the half-axes are (0, 0.5, 0) and (0.5, 0, 0).
    EXPECT_FLOAT_EQ(g_labelPickAxisA[1], 0.5f);
    EXPECT_FLOAT_EQ(g_labelPickAxisB[0], 0.5f);
    EXPECT_FLOAT_EQ(g_labelPickAxisA[0], 0.0f);
    // Dragging it (Ctrl let go) moves the label in the point's horizontal plane, not the point.
    Move(Pixel(3, 1));
    Release(Pixel(3, 1));
    EXPECT_FLOAT_EQ(a->m_x, 2.0f);
    EXPECT_NEAR(a->m_labelPos[0], 3.0f, 1e-5);
    EXPECT_NEAR(a->m_labelPos[1], 1.0f, 1e-5);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(g_draggedId, 0);
    // A hidden label is not picked: Ctrl then hits nothing and clears.
    a->m_labelHidden = 1;
    Redraw();
    Click(Pixel(2, 2), Qt::ControlModifier);
    EXPECT_EQ(m_status, u"就绪");
}

TEST_F(ViewPickTest, BoxSelectsWhatLiesInsideOnceAndNoLabels) {
    CGVertex* a = AddPoint(-2, -2);
    CGVertex* b = AddPoint(2, 2);
    CGVertex* far = AddPoint(8, 6);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    // A label alone in the box selects nothing.
    far->m_labelHidden = 0;
    far->m_labelOffset[0] = -8.0f;
    far->m_labelOffset[1] = -6.0f;
    far->SyncVertex();
    a->m_labelHidden = 0;
    Redraw();

    g_mouseTool = 7;
    Press(Pixel(-3, 3));
    EXPECT_EQ(m_view->m_toolStage, 1);
    Move(Pixel(3, -3));
    Release(Pixel(3, -3));
    EXPECT_EQ(g_mouseTool, 1);
    EXPECT_EQ(m_view->m_toolStage, 0);
    EXPECT_TRUE(a->m_selected);
    EXPECT_TRUE(b->m_selected);
    EXPECT_TRUE(ab->m_selected);
    EXPECT_FALSE(far->m_selected);
    EXPECT_EQ(SelCounts(), (std::array<int, 4>{3, 2, 1, 0})) << "a point and its label count once";
}

// More hits than the 1024 words of a click hold (204 records): the pass runs again with a larger
// buffer instead of reporting nothing.
TEST_F(ViewPickTest, ACrowdedSpotStillPicks) {
    std::vector<CGVertex*> stack;
    for (int i = 0; i < 400; ++i) {
        CGVertex* p = AddPoint(-1, 2);
        p->m_labelHidden = 0;
        p->m_labelOffset[0] = p->m_labelOffset[1] = p->m_labelOffset[2] = 0.0f;
        p->SyncVertex();
        stack.push_back(p);
    }
    Redraw();
    Click(Pixel(-1, 2));
    EXPECT_EQ(m_page->m_walkClass, 1);
    EXPECT_EQ(m_page->m_walkList.GetCount(), 400);
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 1);
    EXPECT_TRUE(m_status.Find(u"选择点") == 0);

    // The box select's 2048 words overflow too.
    g_mouseTool = 7;
    Press(Pixel(-2, 3));
    Move(Pixel(0, 1));
    Release(Pixel(0, 1));
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 400);
}
