// The object tree: its items after filling, after cells are added, undone, redone and deleted,
// after cells and pages are renamed and pages added, deleted and moved; clicks on check boxes and
// labels selecting in the page (and the page's selection showing in the tree); page dragging; the
// status text and the highlight after a translation and a page switch; tool tips of cut items.
#include "app_test_support.h"

#include "app/main_frame.h"
#include "app/object_view.h"
#include "app/ribbon_bar.h"
#include "app/status_bar.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "model/cell_clipboard.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "points/transform_dialogs.h"
#include "view/halvix_view.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QShortcut>
#include <QTest>
#include <QToolBar>

#include <map>

#include <gtest/gtest.h>

namespace {

QStringList Texts(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

QStringList PageTitles(const CHalvixDoc* doc) {
    QStringList titles;
    for (POSITION pos = doc->m_pages.GetHeadPosition(); pos;)
        titles << doc->m_pages.GetNext(pos)->m_title.ToQString();
    return titles;
}

class ObjectTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UseTemporarySettings();
        HxInitInstallFolder(); // the drawing view needs the installation images
    }
    void SetUp() override {
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        m_frame = std::make_unique<CMainFrame>();
        AfxSetMainWnd(m_frame.get());
        ASSERT_EQ(m_frame->OnCreate(), 0);
        m_frame->StartDocument(CString());
        m_frame->resize(1000, 700);
        m_frame->show();
        m_doc = m_frame->GetDocument();
        m_tree = m_frame->GetViewTree();
        ASSERT_NE(m_tree, nullptr);
        EnsureVertexArray(100);
        ProcessEvents();
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        m_frame.reset();
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
    }

    // A free point made as the point tool makes one: one undo step.
    WORD AddPoint(const CString& name, float x, float y, float z) {
        CGPage* page = g_pCurPage;
        const WORD id = page->m_nextId;
        page->m_cells.SetAt(id, new CGVerFreeXyz(id, page->m_nextVertex++, name, x, y, z));
        ++page->m_nextId;
        page->m_cmdProcessor.Submit(new CCmdAddCell(u"添加点"));
        return id;
    }
    // A segment and its end points as one step of three cells.
    WORD AddSegment(const CString& a, const CString& b) {
        CGPage* page = g_pCurPage;
        const WORD first = page->m_nextId;
        page->m_cells.SetAt(first, new CGVerFreeXyz(first, page->m_nextVertex++, a, 0, 0, 0));
        page->m_cells.SetAt(first + 1, new CGVerFreeXyz(first + 1, page->m_nextVertex++, b, 4, 0, 0));
        page->m_cells.SetAt(first + 2, new CGLine(first + 2, first, first + 1, CGLine::kSegment));
        page->m_nextId = WORD(first + 3);
        page->m_cmdProcessor.Submit(new CCmdAddCells(3, u"添加线段"));
        return first + 2;
    }
    QTreeWidgetItem* PageItem(WORD pageId) const { return m_tree->FindPageItem(pageId); }
    QTreeWidgetItem* CellItem(WORD id) const {
        return CViewTree::FindCellItem(m_tree->FindCurrentPageItem(), id);
    }
    void ClickBox(QTreeWidgetItem* item) {
        m_tree->scrollToItem(item);
        m_tree->OnItemClick(m_tree->CheckBoxRect(item).center());
    }
    void ClickLabel(QTreeWidgetItem* item) {
        m_tree->scrollToItem(item);
        m_tree->OnItemClick(m_tree->LabelRect(item).center());
    }

    std::unique_ptr<CMainFrame> m_frame;
    CHalvixDoc* m_doc = nullptr;
    CViewTree* m_tree = nullptr;
};

} // namespace

TEST_F(ObjectTreeTest, FillListsTheDocumentItsPagesAndCells) {
    QTreeWidgetItem* root = m_tree->GetRootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("[未命名]"));
    EXPECT_TRUE(root->font(0).bold() && CViewTree::IsChecked(root));
    EXPECT_EQ(CViewTree::GetItemData(root), 0u);
    ASSERT_EQ(root->childCount(), 1);
    QTreeWidgetItem* page = root->child(0);
    EXPECT_EQ(page->text(0), QStringLiteral("【 1】第一页"));
    EXPECT_EQ(CViewTree::GetItemData(page), 40001u);
    EXPECT_EQ(CViewTree::GetItemLevel(page), CViewTree::kPageItem);

    const WORD line = AddSegment(u"A", u"B");
    EXPECT_EQ(Texts(page),
              QStringList({"  1. A----全自由点", "  2. B----全自由点",
                           "  3. AB----" + g_pCurPage->FindCell(line)->GetDescription().ToQString()}));
    QTreeWidgetItem* lineItem = CellItem(line);
    ASSERT_NE(lineItem, nullptr);
    EXPECT_EQ(Texts(lineItem), QStringList({"(1) A----全自由点", "(2) B----全自由点"}));
    EXPECT_EQ(CViewTree::GetItemLevel(lineItem->child(0)), CViewTree::kParentItem);
    EXPECT_TRUE(page->isExpanded());

    // A fill from the document gives the same items; a new document gives an empty page.
    m_tree->FillTree();
    EXPECT_EQ(Texts(m_tree->FindCurrentPageItem()).size(), 3);
    EXPECT_EQ(CViewTree::ImageOfCell(g_pCurPage->FindCell(1)), 2) << "free point";
    EXPECT_EQ(CViewTree::ImageOfCell(g_pCurPage->FindCell(line)), 3) << "line";
    m_doc->NewDocumentFile();
    EXPECT_TRUE(Texts(m_tree->FindCurrentPageItem()).isEmpty());

    // Cell items sort by their right-aligned ids.
    CGPage* fresh = g_pCurPage;
    for (WORD id : {123, 5, 12})
        fresh->m_cells.SetAt(id,
                             new CGVerFreeXyz(id, fresh->m_nextVertex++, HxFormat(u"P%d", int(id)), 0, 0, 0));
    fresh->m_nextId = 124;
    m_tree->Rebuild();
    EXPECT_EQ(Texts(m_tree->FindCurrentPageItem()),
              QStringList({"  5. P5----全自由点", " 12. P12----全自由点", "123. P123----全自由点"}));
}

TEST_F(ObjectTreeTest, AddingUndoingRedoingAndDeletingCellsKeepTheItems) {
    const WORD a = AddPoint(u"A", 1, 2, 3);
    const WORD line = AddSegment(u"B", u"C");
    QTreeWidgetItem* page = m_tree->FindCurrentPageItem();
    EXPECT_EQ(page->childCount(), 4);

    // Undo of the three-cell step removes its three items, redo brings them back.
    CCmdProcessor& history = g_pCurPage->m_cmdProcessor;
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Texts(page), QStringList({"  1. A----全自由点"}));
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(page->childCount(), 4);
    EXPECT_EQ(CellItem(line)->childCount(), 2);

    // Deleting B deletes the segment too; the items follow, and come back with the undo.
    g_pCurPage->SelectCell(WORD(line - 2));
    m_doc->OnEditDelete();
    EXPECT_EQ(Texts(page), QStringList({"  1. A----全自由点", "  3. C----全自由点"}));
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(page->childCount(), 4);
    EXPECT_NE(CellItem(line), nullptr);
    EXPECT_NE(CellItem(a), nullptr);
    // The undo of the first point: its item goes.
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Texts(page), QStringList());
}

TEST_F(ObjectTreeTest, RenamingACellOrAPageRewritesTheTexts) {
    const WORD line = AddSegment(u"A", u"B");
    QTreeWidgetItem* a = CellItem(1);
    EXPECT_TRUE(m_tree->CanEditLabel(a));
    EXPECT_FALSE(m_tree->CanEditLabel(m_tree->GetRootItem()));
    EXPECT_EQ(m_tree->LabelEditText(a), QStringLiteral("A")) << "the edit starts from the bare name";
    m_tree->OnEndLabelEdit(a, QStringLiteral("P"));
    EXPECT_EQ(g_pCurPage->FindCell(1)->m_name, u"P");
    EXPECT_TRUE(g_pCurPage->FindCell(1)->m_nameFixed);
    EXPECT_EQ(CellItem(1)->text(0), QStringLiteral("  1. P----全自由点"));
    EXPECT_EQ(CellItem(line)->child(0)->text(0), QStringLiteral("(1) P----全自由点"));
    EXPECT_TRUE(m_doc->IsModified()) << "a new name is kept by the next save";
    // The same name again changes nothing.
    EXPECT_FALSE(m_doc->RenameTreeItem(1, u"P", HxTreeItemKind::Cell));

    QTreeWidgetItem* page = m_tree->FindCurrentPageItem();
    EXPECT_EQ(m_tree->LabelEditText(page), QStringLiteral("第一页"));
    m_tree->OnEndLabelEdit(page, QStringLiteral("底面"));
    EXPECT_EQ(g_pCurPage->m_title, u"底面");
    EXPECT_EQ(page->text(0), QStringLiteral("【 1】底面"));
    EXPECT_EQ(HxGetStatusText(HX_STATUS_ELEMENT_PAGE), u"当前页：底面");
    m_tree->OnEndLabelEdit(page, QString());
    EXPECT_EQ(g_pCurPage->m_title, u"底面") << "an empty text renames nothing";
}

TEST_F(ObjectTreeTest, PagesAreInsertedAfterTheCurrentOneDeletedAndMoved) {
    QTreeWidgetItem* root = m_tree->GetRootItem();
    m_doc->OnNewPage();
    EXPECT_EQ(Texts(root), QStringList({"【 1】第一页", "【 2】第二页"}));
    EXPECT_EQ(g_pCurPage->m_title, u"第二页");
    EXPECT_EQ(m_tree->currentItem(), PageItem(2));
    // From the first page a new page goes between the two.
    m_tree->SelectPrevPage();
    EXPECT_EQ(g_pCurPage->m_pageId, 1);
    m_doc->OnNewPage();
    EXPECT_EQ(Texts(root), QStringList({"【 1】第一页", "【 2】第三页", "【 3】第二页"}));
    EXPECT_EQ(PageTitles(m_doc), QStringList({"第一页", "第三页", "第二页"}));

    // Deleting the selected page (after the question) takes its item; the next page is current.
    std::vector<CString> asked;
    HxSetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
        asked.push_back(text);
        return IDOK;
    });
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], u"您的操作将使当前页被删除。删除的页面无法恢复。您真的想执行删除？");
    EXPECT_EQ(Texts(root), QStringList({"【 1】第一页", "【 2】第二页"}));
    EXPECT_EQ(g_pCurPage->m_title, u"第二页");

    // The current page moves up: the items are renumbered, the document's list follows.
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_PAGE_MOVE_UP));
    EXPECT_EQ(Texts(root), QStringList({"【 1】第二页", "【 2】第一页"}));
    EXPECT_EQ(PageTitles(m_doc), QStringList({"第二页", "第一页"}));
    EXPECT_FALSE(HxExecuteRibbonCommand(ID_PAGE_MOVE_UP)) << "the first page cannot move up";
    EXPECT_EQ(PageTitles(m_doc), QStringList({"第二页", "第一页"}));
    EXPECT_FALSE(m_doc->MoveCurrentPage(0));
    EXPECT_FALSE(m_doc->MoveCurrentPage(-1));
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_PAGE_MOVE_DOWN));
    EXPECT_EQ(Texts(root), QStringList({"【 1】第一页", "【 2】第二页"}));

    // Deleting the only page left leaves a fresh first page.
    m_doc->OnEditDelete(); // nothing selected: nothing deleted
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    g_pCurPage->m_pageSelected = 1;
    m_doc->OnEditDelete();
    // The tree was filled again: a new root.
    EXPECT_EQ(Texts(m_tree->GetRootItem()), QStringList({"【 1】第一页"}));
    EXPECT_EQ(m_doc->m_pageCounter, 1);

    // Twelve pages are numbered with numerals to ten, then digits.
    for (int i = 0; i < 11; ++i)
        m_doc->AppendPage(u"x");
    m_tree->FillTree();
    m_tree->UpdateItemTexts(3, 0);
    QStringList texts = Texts(m_tree->GetRootItem());
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(QStringList({texts[0], texts[9], texts[10], texts[11]}),
              QStringList({"【 1】第一页", "【10】第十页", "【11】第11页", "【12】第12页"}));
}

TEST_F(ObjectTreeTest, CheckBoxesAndLabelsSelectInThePage) {
    const WORD line = AddSegment(u"A", u"B");
    CGPage* page = g_pCurPage;
    QTreeWidgetItem* a = CellItem(1);
    ClickBox(a);
    EXPECT_TRUE(page->FindCell(1)->m_selected);
    EXPECT_TRUE(CViewTree::IsChecked(a));
    ClickBox(CellItem(line));
    EXPECT_EQ(page->m_selAll.GetCount(), 2);
    ClickBox(a);
    EXPECT_FALSE(page->FindCell(1)->m_selected);
    EXPECT_FALSE(CViewTree::IsChecked(a));

    // The page's box selects every object of the page, and clears them again.
    QTreeWidgetItem* pageItem = m_tree->FindCurrentPageItem();
    ClickBox(pageItem);
    EXPECT_EQ(page->m_selAll.GetCount(), 3);
    EXPECT_TRUE(CViewTree::IsChecked(pageItem));
    for (int i = 0; i < pageItem->childCount(); ++i)
        EXPECT_TRUE(CViewTree::IsChecked(pageItem->child(i)));
    ClickBox(pageItem);
    EXPECT_TRUE(page->m_selAll.IsEmpty());
    EXPECT_FALSE(CViewTree::IsChecked(pageItem));
    EXPECT_FALSE(CViewTree::IsChecked(CellItem(1))) << "the page's cleared selection reaches the items";

    // A label makes its cell the only selection.
    ClickBox(a);
    ClickLabel(CellItem(2));
    EXPECT_EQ(page->m_selAll.GetCount(), 1);
    EXPECT_TRUE(page->FindCell(2)->m_selected);
    EXPECT_TRUE(CViewTree::IsChecked(CellItem(2)));
    EXPECT_FALSE(CViewTree::IsChecked(CellItem(1)));

    // The page's own changes reach the check boxes.
    page->ClearSelection();
    EXPECT_FALSE(CViewTree::IsChecked(CellItem(2)));
    page->FindCell(1)->m_hidden = 1;
    m_doc->OnShowAllObjects();
    EXPECT_TRUE(CViewTree::IsChecked(CellItem(1))) << "shown again and selected";
}

TEST_F(ObjectTreeTest, AnObjectOfAnotherPageSwitchesToThatPage) {
    AddPoint(u"A", 0, 0, 0);
    m_doc->OnNewPage();
    AddPoint(u"Q", 1, 1, 1);
    ASSERT_EQ(g_pCurPage->m_pageId, 2);
    QTreeWidgetItem* first = PageItem(1);
    first->setExpanded(true);
    QTreeWidgetItem* a = CViewTree::FindCellItem(first, 1);
    ASSERT_NE(a, nullptr);
    HxTreeItemKind kind;
    EXPECT_EQ(m_tree->GetItemCellId(a, &kind), 40001u) << "another page's object names its page";
    EXPECT_EQ(kind, HxTreeItemKind::Page);
    EXPECT_FALSE(m_tree->CanEditLabel(a));

    ClickLabel(a);
    EXPECT_EQ(g_pCurPage->m_pageId, 1);
    EXPECT_TRUE(g_pCurPage->FindCell(1)->m_selected);
    EXPECT_TRUE(CViewTree::IsChecked(CViewTree::FindCellItem(first, 1)));

    // A click on the other page's label only switches: its objects stay unselected.
    ClickLabel(PageItem(2));
    EXPECT_EQ(g_pCurPage->m_pageId, 2);
    EXPECT_TRUE(g_pCurPage->m_selAll.IsEmpty());
    EXPECT_EQ(HxGetStatusText(HX_STATUS_ELEMENT_PAGE), u"当前页：第二页");
}

TEST_F(ObjectTreeTest, OnlyTheCurrentPageIsDragged) {
    m_doc->OnNewPage();
    m_doc->OnNewPage();
    ASSERT_EQ(g_pCurPage->m_pageId, 3);
    m_tree->BeginPageDrag(PageItem(1));
    EXPECT_FALSE(m_tree->IsDragging()) << "another page's item does not drag";
    m_tree->BeginPageDrag(PageItem(3));
    ASSERT_TRUE(m_tree->IsDragging());
    m_tree->scrollToItem(PageItem(1));
    const QPoint target = m_tree->LabelRect(PageItem(1)).center();
    m_tree->DragMoveTo(target);
    EXPECT_EQ(m_tree->GetDropTarget(), PageItem(1));
    m_tree->EndPageDrag(target);
    EXPECT_FALSE(m_tree->IsDragging());
    EXPECT_EQ(PageTitles(m_doc), QStringList({"第三页", "第一页", "第二页"}));
    EXPECT_EQ(Texts(m_tree->GetRootItem()), QStringList({"【 1】第三页", "【 2】第一页", "【 3】第二页"}));

    // Auto-scroll: within ten pixels of an edge, more often the farther out.
    // At 5 and 195 the period is 6 (every sixth tick), at -45 it is 1.
    const int steps[][3] = {{100, 1, 0}, {5, 5, 0}, {5, 6, -1}, {-45, 1, -1}, {195, 6, 1}, {195, 7, 0}};
    for (const auto& s : steps)
        EXPECT_EQ(CViewTree::AutoScrollStep(s[0], 0, 200, s[1]), s[2]) << s[0] << " " << s[1];
}

TEST_F(ObjectTreeTest, RibbonDeleteFollowsTheSelection) {
    AddSegment(u"A", u"B");
    HxRibbon* ribbon = m_frame->GetRibbonBar();
    HxRibbonBaseElement* del = ribbon->FindByID(ID_EDIT_DELETE);
    ASSERT_NE(del, nullptr);
    HxUpdateElementState(del, true);
    EXPECT_TRUE(del->IsShown());
    EXPECT_TRUE(del->IsDisabled()) << "nothing selected";
    EXPECT_FALSE(HxExecuteRibbonCommand(ID_EDIT_DELETE));
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 3);

    g_pCurPage->SelectCell(1);
    HxUpdateElementState(del, true);
    EXPECT_FALSE(del->IsDisabled());
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_EDIT_DELETE));
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 1) << "A and the segment built on it";
    EXPECT_EQ(m_tree->FindCurrentPageItem()->childCount(), 1);

    // The pane's toolbar runs the same command.
    m_frame->GetObjectView()->OnIdleUpdate();
    QAction* paneDelete = m_frame->GetObjectView()->GetToolBarAction(ID_EDIT_DELETE);
    ASSERT_NE(paneDelete, nullptr);
    EXPECT_TRUE(paneDelete->isVisible());
    EXPECT_FALSE(paneDelete->isEnabled());
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_COPY}) {
        EXPECT_TRUE(m_frame->GetObjectView()->GetToolBarAction(id)->isVisible()) << id;
        EXPECT_FALSE(m_frame->GetObjectView()->GetToolBarAction(id)->isEnabled()) << id;
    }
}

TEST_F(ObjectTreeTest, CopiedObjectsAndPagesPasteIntoTheTree) {
    CMemoryClipboard clipboard;
    HxSetClipboardBackend(&clipboard);
    const WORD segment = AddSegment(u"A", u"B");
    HxRibbon* ribbon = m_frame->GetRibbonBar();
    for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE}) {
        HxRibbonBaseElement* e = ribbon->FindByID(id);
        ASSERT_NE(e, nullptr) << id;
        HxUpdateElementState(e, true);
        EXPECT_TRUE(e->IsShown()) << id;
        EXPECT_TRUE(e->IsDisabled()) << id;
    }

    // The pane's copy button, then the ribbon's paste: three new items under the page.
    g_pCurPage->SelectCell(segment);
    CObjectView* pane = m_frame->GetObjectView();
    pane->OnIdleUpdate();
    QAction* copy = pane->GetToolBarAction(ID_EDIT_COPY);
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_TRUE(clipboard.IsFormatAvailable(HxCellClipboardFormat()));
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_EDIT_PASTE));
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 6);
    QTreeWidgetItem* page = m_tree->FindCurrentPageItem();
    EXPECT_EQ(page->childCount(), 6);
    ASSERT_NE(CellItem(6), nullptr);
    EXPECT_EQ(CellItem(6)->childCount(), 2) << "the new segment under its two new ends";

    // The pane's cut: the segment goes, and its items.
    g_pCurPage->ClearSelection();
    g_pCurPage->SelectCell(6);
    pane->OnIdleUpdate();
    pane->GetToolBarAction(ID_EDIT_CUT)->trigger();
    EXPECT_EQ(g_pCurPage->FindCell(6), nullptr);
    EXPECT_EQ(page->childCount(), 5);

    // A copied page comes in as a new page item after the current one.
    g_pCurPage->m_pageSelected = 1;
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_EDIT_COPY));
    EXPECT_TRUE(HxExecuteRibbonCommand(ID_EDIT_PASTE));
    EXPECT_EQ(Texts(m_tree->GetRootItem()), QStringList({"【 1】第一页", "【 2】第二页"}));
    EXPECT_EQ(g_pCurPage->m_pageId, 2);
    EXPECT_EQ(m_tree->FindCurrentPageItem()->childCount(), 5);
    g_pCurPage->m_pageSelected = 0;

    // The edit keys run the same commands.
    std::map<QKeySequence, QShortcut*> keys;
    for (QShortcut* s : m_frame->findChildren<QShortcut*>())
        keys[s->key()] = s;
    const QKeySequence del(Qt::Key_Delete), c(Qt::CTRL | Qt::Key_C), x(Qt::CTRL | Qt::Key_X),
        v(Qt::CTRL | Qt::Key_V);
    for (const QKeySequence& key : {del, c, x, v})
        ASSERT_TRUE(keys.count(key)) << key.toString().toStdString();
    g_pCurPage->SelectCell(1);
    emit keys[c]->activated();
    emit keys[v]->activated();
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 6);
    g_pCurPage->ClearSelection();
    g_pCurPage->SelectCell(g_pCurPage->m_nextId - 1);
    emit keys[x]->activated();
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 5);
    g_pCurPage->SelectCell(1);
    emit keys[del]->activated();
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 3) << "A and the segment on it";
    HxSetClipboardBackend(nullptr);
}

TEST_F(ObjectTreeTest, PageLookUpsAndAMissingLinkedPage) {
    m_doc->OnNewPage();
    int position = 0;
    EXPECT_EQ(m_doc->FindPageByNumber(2, position), g_pCurPage);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(m_doc->FindPageByNumber(99, position), nullptr);
    EXPECT_EQ(position, 2) << "the number of pages walked";
    EXPECT_EQ(m_doc->GetTreeItemName(40001), u"第一页");
    EXPECT_EQ(m_doc->GetTreeItemName(40099), u"");

    std::vector<std::pair<CString, CString>> shown;
    HxSetMessageBoxHandler([&](const CString& text, const CString& caption, UINT) {
        shown.emplace_back(text, caption);
        return IDOK;
    });
    EXPECT_FALSE(m_doc->GoToPageById(99, TRUE));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, u"链接页不存在，请检查修改链接按钮！");
    EXPECT_EQ(shown[0].second, u"链接无效！");
    EXPECT_FALSE(m_doc->GoToPageById(99, FALSE));
    EXPECT_EQ(shown.size(), 1u) << "the tree's switch reports nothing";

    // Going to the current page changes nothing, not even the camera.
    g_viewTransX = 3.0f;
    EXPECT_TRUE(m_doc->GoToPageById(2, TRUE));
    EXPECT_FLOAT_EQ(g_viewTransX, 3.0f);
    // Each page keeps its own camera.
    EXPECT_TRUE(m_doc->GoToPageById(1, FALSE));
    EXPECT_FLOAT_EQ(g_viewTransX, 0.0f);
    EXPECT_TRUE(m_doc->GoToPageById(2, FALSE));
    EXPECT_FLOAT_EQ(g_viewTransX, 3.0f);
    EXPECT_EQ(g_mouseTool, 1);
}

TEST_F(ObjectTreeTest, ATranslationOrAPageSwitchLeavesNoStaleStatusOrHighlight) {
    auto info = [&] { return m_frame->GetStatusBar()->GetElement(HX_STATUS_ELEMENT_INFO)->GetText(); };
    // A segment translated by a typed vector: the copies are selected, the status names nothing old.
    const WORD line = AddSegment(u"A", u"B");
    g_pCurPage->SelectCell(line);
    m_frame->SendMessage(UM_SELECTION_CHANGED, 1, line);
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, u"选择线AB");
    HxSetDialogRunner([](CDialog& d) {
        auto& dlg = dynamic_cast<CDlgTransTranslate&>(d);
        dlg.m_choice = 1;
        dlg.m_x = 3.0f;
        return INT_PTR(IDOK);
    });
    m_doc->OnTransTranslate();
    HxSetDialogRunner(nullptr);
    ProcessEvents();
    EXPECT_EQ(info(), u"就绪");
    EXPECT_FALSE(CViewTree::IsChecked(CellItem(line))) << "the original is no longer selected";
    for (WORD copy = WORD(line + 1); copy < g_pCurPage->m_nextId; ++copy)
        EXPECT_TRUE(CViewTree::IsChecked(CellItem(copy))) << copy;
    EXPECT_EQ(g_pCurPage->m_nextId, line + 4) << "A', B' and the copy of AB";

    // A second page, then back to the first through its item; a double click on an empty spot of the
    // view goes on to the second page, and the highlight follows.
    m_doc->OnNewPage();
    const WORD second = g_pCurPage->m_pageId;
    ClickLabel(PageItem(1));
    ASSERT_EQ(g_pCurPage->m_pageId, 1);
    m_tree->setCurrentItem(PageItem(1)); // as the press on the label does
    g_pCurPage->SelectCell(1);
    HxSetStatusText(HX_STATUS_ELEMENT_INFO, u"选择自由点A");
    m_doc->GoToNextPage();
    ASSERT_EQ(g_pCurPage->m_pageId, second);
    m_frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(m_tree->currentItem(), PageItem(second));
    EXPECT_EQ(info(), u"就绪");
    // A cell of the current page keeps the highlight it was given.
    const WORD point = AddPoint(u"P", 0, 0, 0);
    m_tree->setCurrentItem(CellItem(point));
    m_frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(m_tree->currentItem(), CellItem(point));
}

TEST_F(ObjectTreeTest, ACutItemShowsItsWholeTextAsItsToolTip) {
    AddSegment(u"A", u"B");
    const WORD point = AddPoint(u"三棱锥底面三角形的外接圆圆心与内切圆圆心的中点", 0, 0, 0);
    ProcessEvents();
    QTreeWidgetItem* cut = CellItem(point);
    ASSERT_GT(m_tree->fontMetrics().horizontalAdvance(cut->text(0)), m_tree->viewport()->width());
    EXPECT_EQ(m_tree->CutItemToolTip(cut), cut->text(0));
    EXPECT_EQ(m_tree->CutItemToolTip(CellItem(1)), QString()) << "\"  1. A----全自由点\" shows whole";
    EXPECT_EQ(m_tree->CutItemToolTip(nullptr), QString());
}

TEST_F(ObjectTreeTest, PageKeysTurnPageAfterPageWithTheFocusLeftInTheView) {
    m_doc->OnNewPage();
    m_doc->OnNewPage();
    m_doc->SetCurrentPage(m_doc->GetPage(0));
    ProcessEvents();
    QWidget* view = m_frame->GetView();
    QApplication::setActiveWindow(m_frame.get());
    view->setFocus();
    ProcessEvents();
    ASSERT_EQ(QApplication::focusWidget(), view);
    // Each key turns one page and leaves the focus in the view; the tree's highlight follows.
    for (int expected : {1, 2}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        ProcessEvents();
        EXPECT_EQ(g_pCurPage, m_doc->GetPage(expected));
        EXPECT_EQ(QApplication::focusWidget(), view);
        EXPECT_EQ(m_tree->currentItem(), PageItem(g_pCurPage->m_pageId));
    }
    for (int expected : {1, 0}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        ProcessEvents();
        EXPECT_EQ(g_pCurPage, m_doc->GetPage(expected));
        EXPECT_EQ(QApplication::focusWidget(), view);
        EXPECT_EQ(m_tree->currentItem(), PageItem(g_pCurPage->m_pageId));
    }
}
