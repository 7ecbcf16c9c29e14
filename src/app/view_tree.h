// CViewTree: the object tree: the document, its pages, each page's cells (sorted by their text) and
// under each cell the cells it is built on.  Check boxes show and change the selection, a click
// selects a cell or switches pages, labels are edited to rename, and the current page's item is
// dragged to move the page.  It follows the document through the frame's notification messages.
#pragma once

#include "document/halvix_doc.h"

#include <QPointer>
#include <QTreeWidget>

#include <functional>

class QTimer;
class QStyleOptionViewItem;

class CViewTree : public QTreeWidget {
    Q_OBJECT
public:
    // The levels of the tree, kept with each item (an item's kind never depends on its value).
    enum Level { kDocumentItem = 0, kPageItem = 1, kCellItem = 2, kParentItem = 3 };
    // The image numbers of the document and page items; cells take theirs by class.
    static constexpr int kImagePage = 0;
    static constexpr int kImageDocument = 20;

    explicit CViewTree(QWidget* parent = nullptr);
    ~CViewTree() override;

    void SetDocument(CHalvixDoc* doc) { m_doc = doc; }
    CHalvixDoc* GetDocument() const { return m_doc; }
    // Called after every selection change the tree makes (the frame's SyncColorButton).
    void SetColorSync(std::function<void()> sync) { m_syncColor = std::move(sync); }

    // ---- Items ----
    static UINT GetItemData(const QTreeWidgetItem* item);
    static int GetItemLevel(const QTreeWidgetItem* item);
    static bool IsChecked(const QTreeWidgetItem* item);
    static void SetChecked(QTreeWidgetItem* item, bool checked);
    QTreeWidgetItem* GetRootItem() const;
    // The id the document resolves an item by: a page item's data; a cell item's own id when its
    // page is current, else its page's data (a click on another page's object switches pages);
    // 0 for the document item and anything else.  kind tells pages from cells.
    UINT GetItemCellId(QTreeWidgetItem* item, HxTreeItemKind* kind = nullptr) const;
    // The item of the current page, or of page number pageId; null when there is none.
    QTreeWidgetItem* FindCurrentPageItem() const;
    QTreeWidgetItem* FindPageItem(WORD pageId) const;
    // The cell item of id under a page item.
    static QTreeWidgetItem* FindCellItem(QTreeWidgetItem* pageItem, WORD id);
    // The page an item lies under (its own page for a page item), or null.
    QTreeWidgetItem* PageItemOf(QTreeWidgetItem* item) const;

    // ---- Texts ----
    static CString PageItemText(int position, const CString& title);
    static CString CellItemText(CGCell* cell);
    static CString ParentItemText(CGCell* parent);
    // The number and title a page item's text holds ("【%2d】%s").
    static bool ParsePageItemText(const QString& text, int& number, QString& title);
    // The image number of a cell's class.
    static int ImageOfCell(const CGCell* cell);

    // ---- The document and its notifications ----
    // Everything again: the document, every page in list order with its cells.
    void FillTree();
    // The current page's cells again; its item expanded, the tree focused.
    void Rebuild();
    // n >= 1: items for the n newest cells of the current page; n < 1: the items of the -n newest
    // ids removed.  FALSE when an id was not in the page.
    BOOL AddCellItems(int n);
    // Items for the listed cells (add) or their items removed.
    void UpdateCellItems(const CList<WORD, WORD>* ids, BOOL add);
    // Code 1: a page is inserted after the current one; code 2: the current page goes.
    void UpdatePageItems(int code, CGPage* page);
    // The check boxes after a selection change (codes of UM_SELECTION_CHANGED).
    void SyncChecks(int code, UINT id);
    // Texts after names changed (codes of UM_CELL_TEXTS_CHANGED).
    void UpdateItemTexts(int code, UINT id);
    // The document's title on the root item.
    void SetDocumentTitle(const CString& title);

    // The highlighted item moves to the current page's item when it lies under another page (the
    // document switched pages without the tree: a double click in the view, a link button).
    void FollowCurrentPage();
    // The whole text of an item whose text the tree cuts short; empty when it shows whole.
    QString CutItemToolTip(QTreeWidgetItem* item) const;

    // ---- Commands ----
    // The page item before (after) the current page's item is highlighted and its page made
    // current; the keyboard focus stays where it was.
    void SelectPrevPage();
    void SelectNextPage();
    void CollapseAll();
    void MovePageUp();
    void MovePageDown();
    // Renumbers the page items passed when the current page moves delta places and gives the current
    // page item its new number; FALSE (nothing changed) when the walk leaves the pages.
    bool MovePageItems(int delta);

    // ---- Clicks and label edits (public for the tests) ----
    // A left click at a point of the viewport: on a check box, on a label or icon, or elsewhere.
    void OnItemClick(const QPoint& pos);
    // A right click: on a label or icon, the click, then the properties command.
    void OnRightClick(const QPoint& pos);
    bool IsOnCheckBox(QTreeWidgetItem* item, const QPoint& pos) const;
    // Where an item's check box and label lie in the viewport.
    QRect CheckBoxRect(QTreeWidgetItem* item) const;
    QRect LabelRect(QTreeWidgetItem* item) const;
    bool IsOnLabel(QTreeWidgetItem* item, const QPoint& pos) const;
    // Whether an item's label may be edited, and the text the edit box starts with.
    bool CanEditLabel(QTreeWidgetItem* item) const;
    QString LabelEditText(QTreeWidgetItem* item) const;
    // The end of a label edit with a new text: renames through the document; the item texts are
    // written by the tree, never taken over from the edit box.
    void OnEndLabelEdit(QTreeWidgetItem* item, const QString& text);

    // ---- Page dragging (public for the tests) ----
    bool IsDragging() const { return m_dragging; }
    QTreeWidgetItem* GetDropTarget() const { return m_dropTarget; }
    void BeginPageDrag(QTreeWidgetItem* item);
    void DragMoveTo(const QPoint& pos);
    void EndPageDrag(const QPoint& pos);
    // The scroll of one auto-scroll tick: -1 up, 1 down, 0 none, for a cursor at y with tick n.
    static int AutoScrollStep(int y, int top, int bottom, int tick);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class HxViewTreeDelegate;
    QTreeWidgetItem* NewItem(const CString& text, int image, UINT data, int level);
    QTreeWidgetItem* InsertCellItem(QTreeWidgetItem* pageItem, CGCell* cell, bool checkParents);
    void FillPageItem(QTreeWidgetItem* pageItem);
    void DeleteCellItem(QTreeWidgetItem* pageItem, WORD id);
    void SetChecksBelow(QTreeWidgetItem* item, bool checked);
    void RewriteCellItem(QTreeWidgetItem* cellItem);
    void SortPageItems();
    int PagePosition(const CGPage* page) const;
    void SyncColor();
    void OnAutoScrollTick();

    CHalvixDoc* m_doc = nullptr;
    std::function<void()> m_syncColor;
    // Page dragging.
    QPoint m_pressPos;
    QTreeWidgetItem* m_pressItem = nullptr;
    bool m_dragging = false;
    QTreeWidgetItem* m_dragItem = nullptr;
    QTreeWidgetItem* m_dropTarget = nullptr;
    WORD m_dragPageId = 0;
    WORD m_targetPageId = 0;
    QTimer* m_scrollTimer = nullptr;
    int m_tick = 0;
};

// The name a document goes by in the title bar and at the root of the tree: its title, "[未命名]"
// while it has none.
CString HxDocumentDisplayName(const CString& title);

// Points g_cellMap at another page's map for the scope's lifetime.
class CCellMapScope {
public:
    explicit CCellMapScope(CGPage* page);
    ~CCellMapScope();
    CCellMapScope(const CCellMapScope&) = delete;
    CCellMapScope& operator=(const CCellMapScope&) = delete;

private:
    CCellMap* m_saved;
};
