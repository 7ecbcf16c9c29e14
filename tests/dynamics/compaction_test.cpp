// Compaction of the numbering (Ctrl+Alt+Z): pages numbered 1, 2, ... in order, each page's cells 1,
// 2, ... in the order of their ids with every id they hold renumbered (parents, children, page links,
// the start button, iterations), what else of a page holds ids emptied first, the undo histories
// emptied, and the document saved and loaded afterwards.
#include "button_fixture.h"

#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "dynamics/edit_ids.h"
#include "dynamics/iterate.h"

#include <memory>

namespace {

class CompactionTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        m_doc = std::make_unique<CHalvixDoc>();
        ASSERT_TRUE(m_doc->OnNewDocument());
        m_doc->m_onFillObjectTree = [this] { ++m_treeFills; };
    }
    void TearDown() override {
        m_doc.reset();
        g_pCurPage = m_page.get();
        g_cellMap = &m_page->m_cells;
        HxSetMessageBoxHandler(nullptr);
        ButtonTest::TearDown();
    }
    // Makes a page current as the document does.
    static void MakeCurrent(CGPage* page) {
        g_pCurPage = page;
        g_cellMap = &page->m_cells;
    }
    // A cell of the current page under the id given.
    template <class T> T* Put(WORD id, T* cell) {
        cell->m_id = id;
        g_pCurPage->m_cells.SetAt(id, cell);
        g_pCurPage->m_nextId = WORD(id + 1);
        return cell;
    }
    CGVertex* PointAt(WORD id, float x) {
        return Put(id, new CGVertex(id, g_pCurPage->m_nextVertex++, CString(u"P"), x, 0.0f, 0.0f));
    }
    static std::vector<WORD> Keys(const CGPage& page) {
        std::vector<WORD> ids;
        for (int id = 1; id <= 0xFFFF; ++id)
            if (page.FindCell(WORD(id)))
                ids.push_back(WORD(id));
        return ids;
    }

    std::unique_ptr<CHalvixDoc> m_doc;
    std::vector<CString> m_messages;
    int m_treeFills = 0;
};

} // namespace

TEST_F(CompactionTest, PagesWithGapsInTheirIdsAreNumberedFromOneAndSaveAndLoad) {
    CGPage* first = m_doc->GetPage(0);
    CGPage* second = m_doc->AppendPage(u"第二页");
    CGPage* third = m_doc->AppendPage(u"第三页");
    first->m_pageId = 3;
    second->m_pageId = 5;
    third->m_pageId = 9;
    m_doc->m_pageCounter = 9;

    MakeCurrent(second);
    CGVertex* far = PointAt(20, 1.0f);

    MakeCurrent(first);
    CGVertex* a = PointAt(3, 0.0f);
    CGVertex* b = PointAt(7, 4.0f);
    CGLine* ab = Put(12, new CGLine(12, a->m_id, b->m_id, CGLine::kSegment));
    auto* link = Put(15, new CGButnLink(15, u"下一页", CGButnLink::kToPage, 5, u"第二页"));
    auto* lost = Put(16, new CGButnLink(16, u"无效", CGButnLink::kToPage, 4, u"?"));
    auto* turn = Put(30, new CGButnRotate(30, u"视旋转", 1, 0, 0, 0, 0, 0, 1, 90, 0, 0, 1, 0));
    first->m_autoButton = 30;
    // Ids held besides the cells: selection, running buttons, traces, marks, the undo history.
    first->SelectCell(a->m_id);
    first->SelectCell(ab->m_id);
    first->m_runningButtons.AddTail(turn->m_id);
    turn->m_running = true;
    first->m_tracedCells.AddTail(b->m_id);
    first->m_recomputeIds = {12};
    first->m_transformMarks.m_axisId = 12;
    first->m_cmdProcessor.Submit(new CCmdModifiPoint(a->m_id, u"移动"));
    second->m_cmdProcessor.Submit(new CCmdModifiPoint(far->m_id, u"移动"));

    m_doc->OnCompactDocument();

    EXPECT_EQ(m_messages, (std::vector<CString>{kCompactedMessage}));
    EXPECT_EQ(m_treeFills, 1);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(first->m_pageId, 1);
    EXPECT_EQ(second->m_pageId, 2);
    EXPECT_EQ(third->m_pageId, 3);
    EXPECT_EQ(m_doc->m_pageCounter, 3);
    EXPECT_EQ(Keys(*first), (std::vector<WORD>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(first->m_nextId, 7);
    EXPECT_EQ(a->m_id, 1);
    EXPECT_EQ(b->m_id, 2);
    EXPECT_EQ(ab->m_id, 3);
    EXPECT_EQ(Parents(ab), (std::vector<WORD>{1, 2}));
    EXPECT_EQ(Ids(a->m_children), (std::vector<WORD>{3}));
    EXPECT_EQ(Ids(b->m_children), (std::vector<WORD>{3}));
    EXPECT_EQ(link->m_id, 4);
    EXPECT_EQ(link->m_pageId, 2) << "the page formerly numbered 5";
    EXPECT_EQ(lost->m_pageId, 0) << "a page that was not there";
    EXPECT_EQ(turn->m_id, 6);
    EXPECT_EQ(first->m_autoButton, 6);
    EXPECT_EQ(Keys(*second), (std::vector<WORD>{1}));
    EXPECT_EQ(second->m_nextId, 2);
    EXPECT_EQ(far->m_id, 1);
    EXPECT_EQ(Keys(*third), std::vector<WORD>{});
    EXPECT_EQ(third->m_nextId, 1);
    for (CGPage* page : {first, second, third}) {
        EXPECT_EQ(page->m_cmdProcessor.GetCount(), 0) << page->m_pageId;
        EXPECT_TRUE(page->m_selAll.IsEmpty());
        EXPECT_TRUE(page->m_selPoints.IsEmpty());
        EXPECT_TRUE(page->m_runningButtons.IsEmpty());
        EXPECT_TRUE(page->m_tracedCells.IsEmpty());
        EXPECT_TRUE(page->m_recomputeIds.empty());
    }
    EXPECT_FALSE(a->m_selected);
    EXPECT_FALSE(turn->m_running);
    EXPECT_EQ(first->m_transformMarks.m_axisId, 0);

    // Saved and loaded: the same numbering, and new cells continue it.
    const std::vector<BYTE> file = m_doc->StoreToBytes();
    CHalvixDoc loaded;
    CMemFile memory(file);
    ASSERT_TRUE(loaded.ReadDocument(memory, u"compacted.hvx"));
    ASSERT_EQ(loaded.GetPageCount(), 3);
    CGPage* back = loaded.GetPage(0);
    EXPECT_EQ(back->m_pageId, 1);
    EXPECT_EQ(loaded.GetPage(1)->m_pageId, 2);
    EXPECT_EQ(loaded.m_pageCounter, 3);
    EXPECT_EQ(Keys(*back), (std::vector<WORD>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(back->m_nextId, 7);
    EXPECT_EQ(back->m_autoButton, 6);
    EXPECT_EQ(Parents(back->FindCell(3)), (std::vector<WORD>{1, 2}));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CGButnLink, back->FindCell(4))->m_pageId, 2);
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CGButnRotate, back->FindCell(6)));
    EXPECT_EQ(Keys(*loaded.GetPage(1)), (std::vector<WORD>{1}));
}

TEST_F(CompactionTest, IterationsAreRemappedThroughTheirOwnIds) {
    CGPage* page = m_doc->GetPage(0);
    MakeCurrent(page);
    CGVertex* a = PointAt(4, 0.0f);
    CGVertex* b = PointAt(9, 1.0f);
    auto* iterate = Put(11, new CGIterate);
    iterate->AddParent(a->m_id);
    iterate->m_chain = {a->m_id, b->m_id, 99};
    iterate->m_drawables = {b->m_id};
    m_doc->OnCompactDocument();
    EXPECT_EQ(iterate->m_id, 3);
    EXPECT_EQ(Parents(iterate), (std::vector<WORD>{1}));
    EXPECT_EQ(iterate->m_chain, (std::vector<WORD>{1, 2, 0})) << "an id of no cell is left unresolved";
    EXPECT_EQ(iterate->m_drawables, (std::vector<WORD>{2}));
}

TEST_F(CompactionTest, AConstructionInProgressIsCancelledFirst) {
    CGPage* page = m_doc->GetPage(0);
    MakeCurrent(page);
    PointAt(2, 0.0f);
    PointAt(5, 1.0f);
    page->m_constructMarker = 5;
    m_doc->OnCompactDocument();
    EXPECT_EQ(Keys(*page), (std::vector<WORD>{1}));
    EXPECT_EQ(page->m_nextId, 2);
    EXPECT_EQ(page->m_constructMarker, 0);
}

TEST_F(CompactionTest, TheKeyReachesTheCommand) {
    AfxGetCommandRouter().SetChain({m_doc.get()});
    MakeCurrent(m_doc->GetPage(0));
    PointAt(8, 0.0f);
    EXPECT_TRUE(AfxGetCommandRouter().Execute(ID_EDIT_COMPACT));
    EXPECT_EQ(Keys(*m_doc->GetPage(0)), (std::vector<WORD>{1}));
    AfxGetCommandRouter().SetChain({});
}
