// The page commands: new pages and their titles, the page switch (its steps in order, each page's view
// restored, a tool half applied closed, the start button pressed), switches refused while a dialog
// has the focus, the deletion of objects (undoable) and of pages, and a new page taken back.
#include "edit_test_support.h"

#include "dynamics/buttons.h"
#include "model/free_points.h"

#include <map>

namespace {

using PageCommandsTest = EditCommandsTest;

// A running button of the stand-in class (the page steps and stops it).
CGButton* AddRunningButton(CGPage* page) {
    auto* button = new CGButton;
    button->m_id = page->m_nextId++;
    page->m_cells.SetAt(button->m_id, button);
    button->m_running = true;
    page->m_runningButtons.AddTail(button->m_id);
    return button;
}

} // namespace

TEST_F(PageCommandsTest, NewPagesAreTitledAndGoRightAfterTheCurrentOne) {
    for (int i = 0; i < 11; ++i)
        m_doc->OnNewPage();
    const std::vector<CString> expected = {u"第一页", u"第二页", u"第三页", u"第四页", u"第五页", u"第六页",
                                           u"第七页", u"第八页", u"第九页", u"第十页", u"第11页", u"第12页"};
    EXPECT_EQ(Titles(), expected) << "numerals to ten, then digits";
    EXPECT_TRUE(m_doc->m_pageCounter == 12 && g_pCurPage == Page(11) && g_pCurPage->m_pageId == 12);
    EXPECT_EQ(m_status[2], u"当前页：第12页");
    EXPECT_TRUE(HxPageTitle(0) == u"第0页" && HxPageTitle(100) == u"第100页");
    EXPECT_FALSE(m_doc->IsModified()) << "a new page is no edit";
    EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCount(), 0);

    // From the first page the new page goes between the first and the second; the tree is told
    // before it is in the list.
    m_doc->SetCurrentPage(Page(0));
    m_sent.clear();
    m_pageCountAtMessage.clear();
    m_doc->OnNewPage();
    EXPECT_EQ(Titles()[1], u"第13页");
    EXPECT_EQ(g_pCurPage, Page(1));
    ASSERT_EQ(Sent(UM_PAGES_CHANGED).size(), 1u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].wParam, 1u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].lParam, LPARAM(Page(1)));
    EXPECT_EQ(m_pageCountAtMessage[0], 12);

    // The last page deleted, then a new page: page numbers are never given again.
    m_doc->SetCurrentPage(Page(12));
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    m_doc->OnNewPage();
    EXPECT_EQ(g_pCurPage->m_pageId, 14);
    EXPECT_EQ(Titles().back(), u"第14页");
}

TEST_F(PageCommandsTest, TheSwitchRunsItsStepsInOrder) {
    CGPage* first = g_pCurPage;
    CGVertex* a = AddPoint(first, 1, 2, 3);
    first->SelectCell(a->m_id);
    CGButton* running = AddRunningButton(first);
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    CGButton* start = AddRunningButton(second);
    start->m_running = false;
    second->m_runningButtons.RemoveAll();
    second->m_autoButton = start->m_id;
    m_doc->SetCurrentPage(first);
    running->m_running = true;
    first->m_runningButtons.AddTail(running->m_id);
    first->SelectCell(a->m_id);
    g_tracing = TRUE;
    g_traceImageStale = 0;
    g_mouseTool = 3;
    m_log.clear();
    m_sent.clear();

    m_doc->SetCurrentPage(second);
    HxPumpPostedMessages();
    EXPECT_EQ(m_log, std::vector<std::string>({"ink", "selection", "status", "sliders", "update", "start"}));
    EXPECT_FALSE(running->m_running) << "the old page's buttons stop";
    EXPECT_TRUE(first->m_runningButtons.IsEmpty());
    EXPECT_TRUE(first->m_selAll.IsEmpty() && !a->m_selected);
    EXPECT_TRUE(g_tracing == FALSE && g_traceImageStale == 1);
    EXPECT_TRUE(g_pCurPage == second && g_cellMap == &second->m_cells);
    EXPECT_TRUE(g_mouseTool == 1 && second->m_timerMode == 5);
    EXPECT_EQ(m_status[2], u"当前页：第二页");
    EXPECT_EQ(second->m_cmdProcessor.GetMenuOwner(), &m_frame);
    const std::vector<HxMessageRecord> posted = Sent(WM_COMMAND);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_TRUE(posted[0].posted);
    EXPECT_EQ(posted[0].wParam, WPARAM(3024 + start->m_id));

    // A start id that names no button is forgotten; a page that is current already is not entered.
    m_doc->SetCurrentPage(first);
    second->m_autoButton = AddPoint(second, 0, 0, 0)->m_id;
    m_doc->SetCurrentPage(second);
    EXPECT_EQ(second->m_autoButton, 0);
    m_doc->SetCurrentPage(first);
    second->m_autoButton = 99;
    m_doc->SetCurrentPage(second);
    EXPECT_EQ(second->m_autoButton, 0);
    m_log.clear();
    EXPECT_TRUE(m_doc->GoToPageById(second->m_pageId, TRUE));
    EXPECT_TRUE(m_log.empty());
    m_doc->SetCurrentPage(nullptr);
    EXPECT_EQ(g_pCurPage, second);
}

TEST_F(PageCommandsTest, EachPageGetsItsOwnViewBack) {
    CGPage* first = g_pCurPage;
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    m_doc->SetCurrentPage(first);
    const float trans[3] = {2.0f, -3.0f, -40.0f}, rot[4] = {0.0f, 0.6f, 0.0f, 0.8f}; // x y z w
    std::copy(trans, trans + 3, second->m_viewTrans);
    std::copy(rot, rot + 4, second->m_viewRot);
    second->m_viewZoom = 1.5f;
    second->m_background[0] = 0.5f;
    second->m_background[3] = 0.25f;
    second->m_viewLocked = true;
    second->m_dragLocked = true;
    second->m_unitsPerLength = 40;
    second->m_projection = 0;

    // The first page's view as the user leaves it.
    g_viewTransX = 7.0f;
    g_viewZoom = 0.5f;
    m_doc->SetCurrentPage(second);
    EXPECT_FLOAT_EQ(first->m_viewTrans[0], 7.0f);
    EXPECT_FLOAT_EQ(first->m_viewZoom, 0.5f);
    EXPECT_EQ(std::vector<float>({g_viewTransX, g_viewTransY, g_viewTransZ}),
              std::vector<float>(trans, trans + 3));
    EXPECT_DOUBLE_EQ(g_viewRotation[0], 0.8f) << "w first";
    EXPECT_DOUBLE_EQ(g_viewRotation[2], 0.6f);
    EXPECT_FLOAT_EQ(g_viewZoom, 1.5f);
    EXPECT_TRUE(g_backgroundColor[0] == 0.5f && g_backgroundColor[3] == 0.25f);
    EXPECT_TRUE(g_viewLocked == 1 && g_dragLocked == 1);
    EXPECT_TRUE(g_unitLength == 1.0f / 40.0f && g_projectionType == 0);
    int sliders[3];
    PanSliderValues(sliders);
    EXPECT_EQ(std::vector<int>(sliders, sliders + 3), std::vector<int>({20, -30, 100}));

    m_doc->SetCurrentPage(first);
    EXPECT_TRUE(g_viewTransX == 7.0f && g_viewZoom == 0.5f && g_backgroundColor[0] == 1.0f);
    EXPECT_TRUE(g_viewLocked == 0 && g_dragLocked == 0);
    EXPECT_TRUE(g_unitLength == 1.0f / 20.0f && g_projectionType == 1);
    EXPECT_FLOAT_EQ(second->m_viewTrans[0], 2.0f) << "kept when it was left";
}

TEST_F(PageCommandsTest, ASwitchClosesAToolHalfAppliedAsOneStepOfThePageLeft) {
    CRecord tool;
    tool.m_name = u"中点";
    CGPage* first = g_pCurPage;
    // Inputs 1 and 2, cells 3 and 4 made by the tool, 5 the placeholder of its next input.
    for (int i = 0; i < 5; ++i)
        AddPoint(first, float(i), 0, 0);
    first->m_toolFirstId = 3;
    first->m_toolNewCount = 3;
    first->m_constructMarker = 5;
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    m_doc->SetCurrentPage(first);
    first->m_constructMarker = 5;
    g_pCurrentTool = &tool;
    m_doc->SetModifiedFlag(FALSE);
    m_log.clear();

    m_doc->SetCurrentPage(second);
    EXPECT_EQ(m_log.front(), "ink");
    EXPECT_EQ(m_log[1], "cells") << "the step is recorded before the selection is cleared";
    EXPECT_EQ(first->m_cells.GetCount(), 4);
    EXPECT_EQ(first->FindCell(5), nullptr);
    EXPECT_EQ(first->m_nextId, 5);
    ASSERT_EQ(first->m_cmdProcessor.GetCount(), 1);
    EXPECT_EQ(first->m_cmdProcessor.GetCurrent()->GetName(), u"使用工具：中点");
    EXPECT_TRUE(m_doc->IsModified());
    // Undone on its page, the step takes the tool's two cells.
    m_doc->SetCurrentPage(first);
    EXPECT_TRUE(first->m_cmdProcessor.Undo());
    EXPECT_EQ(first->m_cells.GetCount(), 2);

    // An ordinary construction cancelled by the switch: the step before it can no longer be undone;
    // with no step before it nothing else happens.
    first->m_cmdProcessor.Redo();
    AddPoint(first, 9, 9, 9);
    first->m_constructMarker = first->m_nextId - 1;
    first->m_toolFirstId = 0;
    first->m_toolNewCount = 0;
    m_doc->SetCurrentPage(second);
    EXPECT_EQ(first->m_cmdProcessor.GetCurrent()->m_undoable, 0);
    AddPoint(second, 1, 1, 1);
    second->m_constructMarker = 1;
    m_doc->SetCurrentPage(first);
    EXPECT_EQ(second->m_cells.GetCount(), 0);
    EXPECT_EQ(second->m_cmdProcessor.GetCount(), 0);
}

TEST_F(PageCommandsTest, SwitchesAreRefusedWhileADialogHasTheFocus) {
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    bool viewMayHaveFocus = false;
    std::vector<bool> asked;
    HxSetViewFocusHandler([&](bool take) {
        asked.push_back(take);
        return viewMayHaveFocus;
    });
    m_doc->GoToPrevPage();
    EXPECT_EQ(g_pCurPage, second);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, u"当前正打开对话框，不能切换页！");
    EXPECT_EQ(asked, std::vector<bool>({true})) << "the view is given the focus first";
    EXPECT_FALSE(m_doc->GoToPageById(1, TRUE));
    EXPECT_EQ(m_boxes.back().text, u"当前正打开对话框，链接按钮未能切换页！");
    EXPECT_EQ(g_pCurPage, second);
    EXPECT_TRUE(m_doc->GoToPageById(1, FALSE)) << "the tree's switch asks no focus";
    EXPECT_EQ(g_pCurPage, Page(0));
    m_doc->GoToNextPage();
    EXPECT_EQ(g_pCurPage, Page(0));
    EXPECT_EQ(m_boxes.size(), 3u);

    viewMayHaveFocus = true;
    m_doc->GoToNextPage();
    EXPECT_EQ(g_pCurPage, second);
    m_doc->GoToNextPage(); // the last page: nothing
    EXPECT_EQ(g_pCurPage, second);
    EXPECT_EQ(m_boxes.size(), 3u);
    EXPECT_FALSE(Enabled(ID_VIEW_PAGEDOWN));
    EXPECT_TRUE(Enabled(ID_VIEW_PAGEUP));
}

TEST_F(PageCommandsTest, DeletedObjectsTakeTheirDescendantsAndComeBackOnUndo) {
    CGPage* page = g_pCurPage;
    CGVertex* a = AddPoint(page, 0, 0, 0);
    CGVertex* b = AddPoint(page, 1, 0, 0);
    CGVertex* c = AddPoint(page, 0, 1, 0);
    CGLine* ab = AddLine(page, a->m_id, b->m_id);
    AddLine(page, b->m_id, c->m_id);
    EXPECT_FALSE(Enabled(ID_EDIT_DELETE));
    page->SelectCell(a->m_id);
    EXPECT_TRUE(Enabled(ID_EDIT_DELETE));
    m_doc->SetModifiedFlag(FALSE);
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_EDIT_DELETE));
    EXPECT_EQ(page->m_cells.GetCount(), 3);
    EXPECT_EQ(page->FindCell(ab->m_id), nullptr);
    EXPECT_EQ(Ids(b->m_children), std::vector<WORD>({5}));
    ASSERT_EQ(page->m_cmdProcessor.GetCount(), 1);
    EXPECT_EQ(page->m_cmdProcessor.GetCurrent()->GetName(), u"清除对象");
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(Sent(UM_CELLS_CHANGED).size(), 1u);
    EXPECT_EQ(Ids(*reinterpret_cast<const CList<WORD, WORD>*>(Sent(UM_CELLS_CHANGED)[0].lParam)),
              std::vector<WORD>({1, 4}));

    EXPECT_TRUE(page->m_cmdProcessor.Undo());
    EXPECT_EQ(page->m_cells.GetCount(), 5);
    EXPECT_EQ(Ids(page->FindCell(1)->m_children), std::vector<WORD>({4}));
    EXPECT_EQ(Ids(b->m_children), std::vector<WORD>({5, 4}));
    EXPECT_TRUE(page->m_cmdProcessor.Redo());
    EXPECT_EQ(page->m_cells.GetCount(), 3);

    // Nothing selected: nothing recorded.
    m_doc->OnEditDelete();
    EXPECT_EQ(page->m_cmdProcessor.GetCount(), 1);
}

TEST_F(PageCommandsTest, DeletingTheOnlyPageLeavesAFreshFirstPage) {
    g_pCurPage->m_title = u"封面";
    AddPoint(g_pCurPage, 0, 0, 0);
    m_doc->OnNewPage();
    m_doc->OnNewPage();
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    ASSERT_EQ(m_doc->GetPageCount(), 1);
    g_pCurPage->m_pageSelected = 1;
    g_tracing = TRUE;
    g_traceImageStale = 0;
    m_answer = IDCANCEL;
    m_doc->SetModifiedFlag(FALSE);
    m_doc->OnEditDelete();
    EXPECT_EQ(Titles(), std::vector<CString>({u"封面"})) << "Cancel keeps the page";
    EXPECT_TRUE(m_doc->IsModified()) << "and still counts as an edit";
    EXPECT_EQ(m_boxes.back().caption, u"页面被删除");
    EXPECT_EQ(m_boxes.back().type, UINT(MB_OKCANCEL | MB_ICONQUESTION));

    m_answer = IDOK;
    m_doc->OnEditDelete();
    ASSERT_EQ(m_doc->GetPageCount(), 1);
    CGPage* fresh = Page(0);
    EXPECT_TRUE(fresh->m_title == u"第一页" && fresh->m_pageId == 1 && fresh->m_cells.IsEmpty());
    EXPECT_EQ(m_doc->m_pageCounter, 1);
    EXPECT_TRUE(g_pCurPage == fresh && g_cellMap == &fresh->m_cells);
    EXPECT_EQ(m_status[2], u"当前页：第一页");
    EXPECT_TRUE(g_tracing == FALSE && g_traceImageStale == 1);
    EXPECT_EQ(m_treeFills, 1);
    m_doc->OnNewPage();
    EXPECT_EQ(g_pCurPage->m_title, u"第二页");
}

TEST_F(PageCommandsTest, TheLastPageGivesWayToThePreviousOneAnyOtherToTheNext) {
    m_doc->OnNewPage(); // 2
    m_doc->OnNewPage(); // 3
    m_sent.clear();
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第二页"}));
    EXPECT_EQ(g_pCurPage, Page(1));
    ASSERT_EQ(Sent(UM_PAGES_CHANGED).size(), 1u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].wParam, 2u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].lParam, 0);

    m_doc->SetCurrentPage(Page(0));
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    EXPECT_EQ(Titles(), std::vector<CString>({u"第二页"}));
    EXPECT_EQ(g_pCurPage, Page(0));
    EXPECT_EQ(m_status[2], u"当前页：第二页");
}

TEST_F(PageCommandsTest, APageIsNotDeletedWhenTheSwitchAwayIsRefused) {
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    second->m_pageSelected = 1;
    HxSetViewFocusHandler([](bool) { return false; });
    m_doc->SetModifiedFlag(FALSE);
    m_sent.clear();
    m_doc->OnEditDelete();
    EXPECT_EQ(m_doc->GetPageCount(), 2);
    EXPECT_EQ(g_pCurPage, second);
    EXPECT_TRUE(Sent(UM_PAGES_CHANGED).empty()) << "the tree keeps the page's item";
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[1].text, u"当前正打开对话框，不能切换页！");
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(PageCommandsTest, APageJustMadeAndHoldingNothingIsTakenBack) {
    EXPECT_FALSE(m_doc->TakeBackNewPage()) << "the first page has none before it";
    m_doc->OnNewPage(); // 2
    m_doc->SetCurrentPage(Page(0));
    m_doc->OnNewPage(); // 3, after the first
    m_doc->SetModifiedFlag(FALSE);
    m_sent.clear();
    EXPECT_TRUE(m_doc->TakeBackNewPage());
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第二页"}));
    EXPECT_EQ(g_pCurPage, Page(0)) << "the page before it is current again";
    ASSERT_EQ(Sent(UM_PAGES_CHANGED).size(), 1u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].wParam, 2u);
    EXPECT_FALSE(m_doc->IsModified());
    m_doc->OnNewPage();
    EXPECT_EQ(g_pCurPage->m_title, u"第三页") << "its number goes to the next new page";

    // Refused, changing nothing: a page holding an object, a page made before the last one.
    AddRunningButton(g_pCurPage);
    EXPECT_FALSE(m_doc->TakeBackNewPage());
    m_doc->SetCurrentPage(Page(2));
    EXPECT_EQ(g_pCurPage->m_title, u"第二页");
    EXPECT_FALSE(m_doc->TakeBackNewPage());
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第三页", u"第二页"}));
}

TEST_F(PageCommandsTest, APageJustMadeIsTakenBackWithWhatItHoldsWhenAsked) {
    // The pages an import made, each holding an object and its undo step, taken back the last first:
    // the page before them current again, their numbers given back.
    m_doc->OnNewPage(); // 2
    m_doc->SetCurrentPage(Page(0));
    m_doc->SetModifiedFlag(FALSE);
    for (int i = 0; i < 2; ++i) {
        m_doc->OnNewPage(); // 3, then 4, after the first
        AddRunningButton(g_pCurPage);
        g_pCurPage->m_cmdProcessor.Submit(new CCmdAddCell(u"添加按钮"));
    }
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第三页", u"第四页", u"第二页"}));
    m_sent.clear();
    EXPECT_FALSE(m_doc->TakeBackNewPage()) << "it holds an object";
    EXPECT_TRUE(m_doc->TakeBackNewPage(true));
    EXPECT_EQ(g_pCurPage, Page(1));
    EXPECT_TRUE(m_doc->TakeBackNewPage(true));
    EXPECT_EQ(g_pCurPage, Page(0));
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第二页"}));
    ASSERT_EQ(Sent(UM_PAGES_CHANGED).size(), 2u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[1].wParam, 2u);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_FALSE(m_doc->TakeBackNewPage(true)) << "the page made last before them is not current";
    m_doc->OnNewPage();
    EXPECT_EQ(g_pCurPage->m_title, u"第三页");
}
