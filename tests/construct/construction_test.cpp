// The construction sequence: ids, vertex indices and names of the new cells, the one undo step and
// its undo and redo cell by cell, ids taken again after an undo, the modified flag and the view
// update, and the refusals (the vertex array cannot grow; the page's counters near 65535).
#include "construct_fixture.h"

#include "model/constrained_points.h"

namespace {

using ConstructionSequence = ConstructTest;

TEST_F(ConstructionSequence, FourRaysAreOneUndoStepWhoseIdsAreTakenAgainAfterUndo) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(1, 1, 0);
    CGVertex* d = AddPoint(0, 1, 0);
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_CREATE_LINE_HALF, {a->m_id, b->m_id, c->m_id, d->m_id});

    ASSERT_EQ(m_page->m_nextId, first + 4);
    const WORD ends[4][2] = {{a->m_id, b->m_id}, {b->m_id, c->m_id}, {c->m_id, d->m_id}, {d->m_id, a->m_id}};
    for (int i = 0; i < 4; ++i) {
        auto* ray = Cell<CGLine>(WORD(first + i));
        ASSERT_NE(ray, nullptr);
        EXPECT_EQ(ray->m_kind, CGLine::kRay);
        EXPECT_EQ(Parents(ray), (std::vector<WORD>{ends[i][0], ends[i][1]}));
    }
    ExpectUndoStep<CCmdAddCells>(u"添加多条射线", 4);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 1);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 1);
    EXPECT_EQ(g_lineToolKind, CGLine::kRay);
    // The selection stays the user's.
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{a->m_id, b->m_id, c->m_id, d->m_id}));
    ExpectUndoRedo(before);

    // Undone, the ids are free again; the automatic names go on from where they were.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first);
    const DWORD vertex = m_page->m_nextVertex;
    RunOn(ID_CREATE_POINT_PAR_X, {a->m_id});
    auto* p = Cell<CGVerFreeParVector>(first);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_vertexIndex, vertex);
    EXPECT_EQ(p->m_name, CString(u"E"));
    EXPECT_EQ(m_page->m_nextVertex, vertex + 1);
    ExpectSynced(*p);
    ExpectUndoStep<CCmdAddCell>(u"添加平行于x轴的直线上点");
    // The redo tail of the rays is gone.
    EXPECT_FALSE(m_page->m_cmdProcessor.CanRedo());
}

TEST_F(ConstructionSequence, AutomaticNamesRunThroughTheSuffixes) {
    CGVertex* a = AddPoint(0, 0, 0);
    m_page->m_labelLetter = 'Z';
    Select({a->m_id});
    Run(ID_CREATE_POINT_PAR_Y);
    Run(ID_CREATE_POINT_PAR_Z);
    EXPECT_EQ(Cell<CGVertex>(m_page->m_nextId - 2)->m_name, CString(u"Z"));
    EXPECT_EQ(Cell<CGVertex>(m_page->m_nextId - 1)->m_name, CString(u"A1"));
}

TEST_F(ConstructionSequence, AVertexArrayThatCannotGrowEndsTheCommandWithNothingChanged) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(2, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    g_vertexArrayCapacity = int(m_page->m_nextVertex);
    HxSetVertexArrayGrowthFails(true);
    const PageSnapshot before = TakeSnapshot(*m_page);
    for (auto [id, selection] : {std::pair{ID_CREATE_POINT_PAR_X, std::vector<WORD>{a->m_id}},
                                 {ID_CREATE_LINE_PERPENDICULAR, {a->m_id, b->m_id, ab->m_id}},
                                 {ID_CREATE_FACE_PERLINE, {ab->m_id}}}) {
        m_messages.clear();
        m_page->ClearSelection();
        for (WORD s : selection)
            m_page->SelectCell(s);
        Run(id);
        EXPECT_EQ(m_messages, std::vector<CString>{CString(u"内存不足,请立即保存数据关闭程序!")}) << id;
    }
    ExpectNothingDone(before);

    // Room enough: no growth is asked for.  A growth that works makes room first.
    g_vertexArrayCapacity = int(m_page->m_nextVertex) + 1;
    RunOn(ID_CREATE_POINT_PAR_X, {a->m_id});
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 1);
    HxSetVertexArrayGrowthFails(false);
    RunOn(ID_CREATE_FACE_PERLINE, {ab->m_id});
    EXPECT_GE(g_vertexArrayCapacity, int(m_page->m_nextVertex));
    ExpectSynced(*Cell<CGVertex>(m_page->m_nextId - 6));
}

TEST_F(ConstructionSequence, ALargeConstructionGrowsTheArrayForAllItsPoints) {
    // 300 pasted points where the array has room for ten more: one step of 100 is not enough.
    g_vertexArrayCapacity = int(m_page->m_nextVertex) + 10;
    CString text;
    for (int i = 0; i < 300; ++i)
        text += HxFormat(u"%d,%d,%d\r\n", i, -i, 2 * i);
    Script<CDlgCoordinates>([&](CDlgCoordinates& dlg) {
        dlg.m_mode = CDlgCoordinates::kSeveral;
        dlg.m_pointText = text;
    });
    RunOn(ID_CREATE_POINT_COORDINATES, {});
    ASSERT_EQ(CellCount(), 300);
    EXPECT_GE(g_vertexArrayCapacity, int(m_page->m_nextVertex));
    for (WORD id = 1; id <= 300; ++id)
        ExpectSynced(*Cell<CGVertex>(id));
    ExpectNear(*Cell<CGVertex>(300), 299, -299, 598);
}

TEST_F(ConstructionSequence, APageWhoseCountersWouldPass65535RefusesWithAMessage) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    // Two ids left (65533 and 65534): three cells are refused, one or two are made.
    m_page->m_nextId = 0xFFFD;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_LINE_STRAIGHT, {a->m_id, b->m_id, c->m_id});
    EXPECT_EQ(m_messages, std::vector<CString>{CString(g_pageFullMessage)});
    ExpectNothingDone(before);
    RunOn(ID_CREATE_LINE_STRAIGHT, {a->m_id, b->m_id});
    RunOn(ID_CREATE_POINT_PAR_X, {a->m_id});
    EXPECT_EQ(m_page->m_nextId, 0xFFFF);
    EXPECT_NE(Cell<CGVertex>(0xFFFE), nullptr);
    RunOn(ID_CREATE_POINT_PAR_X, {a->m_id});
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_page->m_nextId, 0xFFFF);

    // The vertex counter likewise.
    m_page->m_nextId = 100;
    m_page->m_nextVertex = 0xFFFF;
    const int cells = CellCount();
    RunOn(ID_CREATE_POINT_PAR_X, {a->m_id});
    EXPECT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(CellCount(), cells);
}

} // namespace
