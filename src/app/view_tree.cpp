// The object tree: items and their texts, the fills and the incremental updates the document's
// notifications ask for, clicks on check boxes and labels, label edits and page dragging.
#include "app/view_tree.h"

#include "app/frame_ids.h"
#include "app/object_icons.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;

// The classes that have an image of their own, first match wins.  Classes are matched by name
// along the class chain, so the tree needs none of their headers.
struct ClassImage {
    const char* name;
    int image;
};
constexpr ClassImage kClassImages[] = {
    {"CGVerFree", 2},    {"CGVertex", 1},   {"CGLine", 3},     {"CGFace", 4},      {"CGArc", 5},
    {"CGCurve", 6},      {"CGLocus", 7},    {"CGTrack", 7},    {"CGTextbit", 8},   {"CGTmSingleline", 8},
    {"CGTmVariable", 9}, {"CGTmVector", 9}, {"CGButton", 10},  {"CGCylinder", 11}, {"CGCone", 12},
    {"CGFrustum", 13},   {"CGSphere", 14},  {"CGIterate", 15}, {"CGSurface", 16},
};

bool IsKindOfName(const CRuntimeClass* cls, const char* name) {
    for (; cls; cls = cls->m_pBaseClass)
        if (std::strcmp(cls->m_lpszClassName, name) == 0)
            return true;
    return false;
}

// The description up to its first line break.
CString OneLine(const CString& text) {
    const std::u16string& s = text.Str();
    size_t end = s.find_first_of(u"\r\n");
    return end == std::u16string::npos ? text : CString(s.substr(0, end));
}

} // namespace

// The tree's item painting (the drop target of a page drag highlighted) and its label editor,
// which starts from the bare name and hands the result to the tree instead of the item.
class HxViewTreeDelegate : public QStyledItemDelegate {
public:
    explicit HxViewTreeDelegate(CViewTree* tree) : QStyledItemDelegate(tree), m_tree(tree) {}

    void InitOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
        initStyleOption(option, index);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        if (m_tree->m_dropTarget && m_tree->itemFromIndex(index) == m_tree->m_dropTarget) {
            painter->fillRect(opt.rect, opt.palette.highlight().color().lighter(160));
            painter->setPen(opt.palette.highlight().color());
            painter->drawRect(opt.rect.adjusted(0, 0, -1, -1));
        }
        QStyledItemDelegate::paint(painter, opt, index);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(true);
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        edit->setText(m_tree->LabelEditText(m_tree->itemFromIndex(index)));
        edit->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        m_tree->OnEndLabelEdit(m_tree->itemFromIndex(index), static_cast<QLineEdit*>(editor)->text());
    }

private:
    CViewTree* m_tree;
};

CString HxDocumentDisplayName(const CString& title) {
    return title.IsEmpty() ? CString(u"[未命名]") : title;
}

CCellMapScope::CCellMapScope(CGPage* page) : m_saved(g_cellMap) {
    if (page)
        g_cellMap = &page->m_cells;
}

CCellMapScope::~CCellMapScope() {
    g_cellMap = m_saved;
}

// ---------------------------------------------------------------------------------------------

CViewTree::CViewTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("HxObjectTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new HxViewTreeDelegate(this));
    setExpandsOnDoubleClick(true);
    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(40);
    connect(m_scrollTimer, &QTimer::timeout, this, &CViewTree::OnAutoScrollTick);
}

CViewTree::~CViewTree() = default;

UINT CViewTree::GetItemData(const QTreeWidgetItem* item) {
    return item ? item->data(0, kDataRole).toUInt() : 0;
}

int CViewTree::GetItemLevel(const QTreeWidgetItem* item) {
    return item ? item->data(0, kLevelRole).toInt() : -1;
}

bool CViewTree::IsChecked(const QTreeWidgetItem* item) {
    return item && item->checkState(0) == Qt::Checked;
}

void CViewTree::SetChecked(QTreeWidgetItem* item, bool checked) {
    if (item && IsChecked(item) != checked)
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

QTreeWidgetItem* CViewTree::GetRootItem() const {
    return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
}

QTreeWidgetItem* CViewTree::PageItemOf(QTreeWidgetItem* item) const {
    switch (GetItemLevel(item)) {
    case kPageItem:
        return item;
    case kCellItem:
        return item->parent();
    case kParentItem:
        return item->parent() ? item->parent()->parent() : nullptr;
    default:
        return nullptr;
    }
}

UINT CViewTree::GetItemCellId(QTreeWidgetItem* item, HxTreeItemKind* kind) const {
    if (kind)
        *kind = HxTreeItemKind::ByValue;
    const int level = GetItemLevel(item);
    if (level == kPageItem) {
        if (kind)
            *kind = HxTreeItemKind::Page;
        return GetItemData(item);
    }
    QTreeWidgetItem* pageItem = PageItemOf(item);
    if (!pageItem || !g_pCurPage)
        return 0;
    const UINT pageData = GetItemData(pageItem);
    if (pageData == UINT(kPageTreeItemBase) + g_pCurPage->m_pageId) {
        if (kind)
            *kind = HxTreeItemKind::Cell;
        return GetItemData(item);
    }
    if (kind)
        *kind = HxTreeItemKind::Page;
    return pageData;
}

QTreeWidgetItem* CViewTree::FindPageItem(WORD pageId) const {
    QTreeWidgetItem* root = GetRootItem();
    if (!root)
        return nullptr;
    const UINT data = UINT(kPageTreeItemBase) + pageId;
    for (int i = 0; i < root->childCount(); ++i)
        if (GetItemData(root->child(i)) == data)
            return root->child(i);
    return nullptr;
}

QTreeWidgetItem* CViewTree::FindCurrentPageItem() const {
    return g_pCurPage ? FindPageItem(g_pCurPage->m_pageId) : nullptr;
}

QTreeWidgetItem* CViewTree::FindCellItem(QTreeWidgetItem* pageItem, WORD id) {
    if (!pageItem)
        return nullptr;
    for (int i = 0; i < pageItem->childCount(); ++i)
        if (GetItemData(pageItem->child(i)) == id)
            return pageItem->child(i);
    return nullptr;
}

int CViewTree::PagePosition(const CGPage* page) const {
    int position = 0;
    if (m_doc && page)
        m_doc->FindPageByNumber(page->m_pageId, position);
    return position;
}

// ---------------------------------------------------------------------------------------------
// Texts and images

CString CViewTree::PageItemText(int position, const CString& title) {
    return HxFormat(u"【%2d】%s", position, title);
}

CString CViewTree::CellItemText(CGCell* cell) {
    return HxFormat(u"%3d. %s----%s", int(cell->m_id), cell->m_name, OneLine(cell->GetDescription()));
}

CString CViewTree::ParentItemText(CGCell* parent) {
    return HxFormat(u"(%d) %s----%s", int(parent->m_id), parent->m_name, OneLine(parent->GetDescription()));
}

bool CViewTree::ParsePageItemText(const QString& text, int& number, QString& title) {
    const int open = text.indexOf(u'【');
    const int close = text.indexOf(u'】');
    if (open != 0 || close < 2)
        return false;
    bool ok = false;
    number = text.mid(1, close - 1).trimmed().toInt(&ok);
    title = text.mid(close + 1);
    return ok;
}

int CViewTree::ImageOfCell(const CGCell* cell) {
    const CRuntimeClass* cls = cell->GetRuntimeClass();
    for (const ClassImage& entry : kClassImages)
        if (IsKindOfName(cls, entry.name))
            return entry.image;
    return 17;
}

QTreeWidgetItem* CViewTree::NewItem(const CString& text, int image, UINT data, int level) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, text.ToQString());
    item->setIcon(0, HxObjectIcon(image));
    item->setData(0, kDataRole, data);
    item->setData(0, kLevelRole, level);
    item->setCheckState(0, Qt::Unchecked);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (level != kDocumentItem)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

// ---------------------------------------------------------------------------------------------
// Fills

void CViewTree::FillTree() {
    clear();
    m_dropTarget = nullptr;
    m_pressItem = nullptr;
    if (!m_doc)
        return;
    QTreeWidgetItem* root = NewItem(CString(), kImageDocument, 0, kDocumentItem);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    SetChecked(root, true);
    addTopLevelItem(root);
    SetDocumentTitle(m_doc->GetTitle());
    int position = 0;
    for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;) {
        CGPage* page = m_doc->m_pages.GetNext(pos);
        QTreeWidgetItem* item = NewItem(PageItemText(++position, page->m_title), kImagePage,
                                        UINT(kPageTreeItemBase) + page->m_pageId, kPageItem);
        SetChecked(item, page->m_pageSelected != 0);
        root->addChild(item);
        CCellMapScope scope(page);
        FillPageItem(item);
    }
    root->setExpanded(true);
    if (QTreeWidgetItem* current = FindCurrentPageItem())
        current->setExpanded(true);
}

void CViewTree::SetDocumentTitle(const CString& title) {
    if (QTreeWidgetItem* root = GetRootItem())
        root->setText(0, HxDocumentDisplayName(title).ToQString());
}

void CViewTree::FillPageItem(QTreeWidgetItem* pageItem) {
    if (!g_cellMap)
        return;
    for (POSITION pos = g_cellMap->GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        g_cellMap->GetNextAssoc(pos, id, cell);
        InsertCellItem(pageItem, cell, false);
    }
}

QTreeWidgetItem* CViewTree::InsertCellItem(QTreeWidgetItem* pageItem, CGCell* cell, bool checkParents) {
    QTreeWidgetItem* item = NewItem(CellItemText(cell), ImageOfCell(cell), cell->m_id, kCellItem);
    SetChecked(item, cell->m_selected);
    // Sorted by text, ordinally: for ids below 1000 the right-aligned ids sort by number.
    const QString text = item->text(0);
    int low = 0, high = pageItem->childCount();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (QString::compare(pageItem->child(mid)->text(0), text, Qt::CaseSensitive) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    pageItem->insertChild(low, item);
    for (WORD parentId : cell->m_parents) {
        CGCell* parent = g_cellMap ? g_cellMap->Find(parentId) : nullptr;
        if (!parent)
            continue;
        QTreeWidgetItem* sub = NewItem(ParentItemText(parent), ImageOfCell(parent), parentId, kParentItem);
        SetChecked(sub, checkParents && parent->m_selected);
        item->addChild(sub);
    }
    return item;
}

void CViewTree::DeleteCellItem(QTreeWidgetItem* pageItem, WORD id) {
    QTreeWidgetItem* item = FindCellItem(pageItem, id);
    if (!item)
        return;
    if (m_dropTarget == item || m_pressItem == item) {
        m_dropTarget = nullptr;
        m_pressItem = nullptr;
    }
    delete item;
}

void CViewTree::Rebuild() {
    QTreeWidgetItem* pageItem = FindCurrentPageItem();
    if (!pageItem)
        return;
    m_pressItem = nullptr;
    qDeleteAll(pageItem->takeChildren());
    FillPageItem(pageItem);
    pageItem->setExpanded(true);
    setFocus();
}

BOOL CViewTree::AddCellItems(int n) {
    CGPage* page = g_pCurPage;
    QTreeWidgetItem* pageItem = FindCurrentPageItem();
    if (!page || !pageItem)
        return FALSE;
    BOOL found = TRUE;
    const int next = page->m_nextId;
    if (n >= 1) {
        for (int id = std::max(1, next - n); id < next; ++id) {
            if (CGCell* cell = page->FindCell(WORD(id)))
                InsertCellItem(pageItem, cell, true);
            else
                found = FALSE;
        }
    } else {
        for (int id = next - 1; id >= next + n && id >= 1; --id) {
            if (!FindCellItem(pageItem, WORD(id)))
                found = FALSE;
            DeleteCellItem(pageItem, WORD(id));
        }
    }
    pageItem->setExpanded(true);
    return found;
}

void CViewTree::UpdateCellItems(const CList<WORD, WORD>* ids, BOOL add) {
    CGPage* page = g_pCurPage;
    QTreeWidgetItem* pageItem = FindCurrentPageItem();
    if (!page || !pageItem || !ids)
        return;
    if (add) {
        for (POSITION pos = ids->GetHeadPosition(); pos;) {
            const WORD id = ids->GetNext(pos);
            if (CGCell* cell = page->FindCell(id))
                InsertCellItem(pageItem, cell, true);
        }
    } else {
        for (POSITION pos = ids->GetTailPosition(); pos;)
            DeleteCellItem(pageItem, ids->GetPrev(pos));
    }
    pageItem->setExpanded(true);
}

void CViewTree::UpdatePageItems(int code, CGPage* page) {
    QTreeWidgetItem* root = GetRootItem();
    QTreeWidgetItem* current = FindCurrentPageItem();
    if (!root || !current || !m_doc || (code != 1 && code != 2)) {
        setFocus();
        return;
    }
    const int shift = code == 1 ? 1 : -1;
    for (int i = root->indexOfChild(current) + 1; i < root->childCount(); ++i) {
        QTreeWidgetItem* item = root->child(i);
        int position = 0;
        if (CGPage* later = m_doc->FindPageByNumber(WORD(GetItemData(item) - kPageTreeItemBase), position))
            item->setText(0, PageItemText(position + shift, later->m_title).ToQString());
    }
    if (code == 1) {
        if (!page)
            return;
        QTreeWidgetItem* item = NewItem(PageItemText(PagePosition(g_pCurPage) + 1, page->m_title), kImagePage,
                                        UINT(kPageTreeItemBase) + page->m_pageId, kPageItem);
        root->insertChild(root->indexOfChild(current) + 1, item);
        SortPageItems();
        setCurrentItem(item);
    } else {
        setCurrentItem(current);
        if (m_dropTarget == current || m_pressItem == current) {
            m_dropTarget = nullptr;
            m_pressItem = nullptr;
        }
        delete current;
    }
}

void CViewTree::SortPageItems() {
    QTreeWidgetItem* root = GetRootItem();
    if (!root)
        return;
    QTreeWidgetItem* selected = currentItem();
    // Taking the items out forgets which were open.
    std::vector<QTreeWidgetItem*> open;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->isExpanded())
            open.push_back(root->child(i));
    QList<QTreeWidgetItem*> pages = root->takeChildren();
    // By the number the text shows (the same as by text below 100 pages, and right beyond).
    std::stable_sort(pages.begin(), pages.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        int na = 0, nb = 0;
        QString ta, tb;
        ParsePageItemText(a->text(0), na, ta);
        ParsePageItemText(b->text(0), nb, tb);
        return na < nb;
    });
    root->addChildren(pages);
    for (QTreeWidgetItem* item : open)
        item->setExpanded(true);
    if (selected)
        setCurrentItem(selected);
}

void CViewTree::SetChecksBelow(QTreeWidgetItem* item, bool checked) {
    for (int i = 0; i < item->childCount(); ++i) {
        SetChecked(item->child(i), checked);
        SetChecksBelow(item->child(i), checked);
    }
}

void CViewTree::SyncChecks(int code, UINT id) {
    QTreeWidgetItem* pageItem = FindCurrentPageItem();
    if (!pageItem || id == 0)
        return;
    switch (code) {
    case 0:
    case 1:
        SetChecked(FindCellItem(pageItem, WORD(id)), code == 1);
        break;
    case 2:
    case 3:
        if (id == GetItemData(pageItem)) {
            SetChecked(pageItem, code == 3);
            SetChecksBelow(pageItem, code == 3);
        }
        break;
    case 4:
        if (id == GetItemData(pageItem)) {
            setCurrentItem(pageItem);
            setFocus();
        }
        break;
    case 5:
    case 6:
    case 7:
    case 11:
        for (int i = 0; i < pageItem->childCount(); ++i) {
            QTreeWidgetItem* item = pageItem->child(i);
            const CGCell* cell = g_pCurPage->FindCell(WORD(GetItemData(item)));
            SetChecked(item, cell && cell->m_selected);
        }
        break;
    case 9:
    case 10:
        Rebuild();
        break;
    default:
        break;
    }
}

void CViewTree::RewriteCellItem(QTreeWidgetItem* cellItem) {
    CGCell* cell = g_pCurPage ? g_pCurPage->FindCell(WORD(GetItemData(cellItem))) : nullptr;
    if (!cell)
        return;
    cellItem->setText(0, CellItemText(cell).ToQString());
    for (int k = 0; k < cellItem->childCount(); ++k) {
        QTreeWidgetItem* sub = cellItem->child(k);
        if (CGCell* parent = g_pCurPage->FindCell(WORD(GetItemData(sub))))
            sub->setText(0, ParentItemText(parent).ToQString());
    }
}

void CViewTree::UpdateItemTexts(int code, UINT id) {
    CGPage* page = g_pCurPage;
    QTreeWidgetItem* pageItem = FindCurrentPageItem();
    switch (code) {
    case 0:
        if (!page || !pageItem || id != page->m_pageId)
            return;
        for (int i = 0; i < pageItem->childCount(); ++i) {
            QTreeWidgetItem* item = pageItem->child(i);
            if (!page->FindCell(WORD(GetItemData(item))))
                break;
            RewriteCellItem(item);
        }
        break;
    case 1:
        if (QTreeWidgetItem* item = FindCellItem(pageItem, WORD(id)))
            RewriteCellItem(item);
        break;
    case 2:
        if (page && pageItem)
            pageItem->setText(0, PageItemText(int(id), page->m_title).ToQString());
        break;
    case 3:
        if (QTreeWidgetItem* root = GetRootItem())
            for (int k = 1; k <= root->childCount(); ++k)
                root->child(k - 1)->setText(0, PageItemText(k, HxPageTitle(k)).ToQString());
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Page commands

void CViewTree::SelectPrevPage() {
    QTreeWidgetItem* current = FindCurrentPageItem();
    QTreeWidgetItem* root = GetRootItem();
    if (!current || !root || !m_doc)
        return;
    const int index = root->indexOfChild(current);
    if (index <= 0)
        return;
    QTreeWidgetItem* prev = root->child(index - 1);
    // The highlight follows; the keyboard focus stays where the page key was pressed, so that
    // the next key turns the page again.
    setCurrentItem(prev);
    m_doc->GoToPageById(WORD(GetItemData(prev) - kPageTreeItemBase), FALSE);
}

void CViewTree::SelectNextPage() {
    QTreeWidgetItem* current = FindCurrentPageItem();
    QTreeWidgetItem* root = GetRootItem();
    if (!current || !root || !m_doc)
        return;
    const int index = root->indexOfChild(current);
    if (index < 0 || index + 1 >= root->childCount())
        return;
    QTreeWidgetItem* next = root->child(index + 1);
    // The highlight follows; the keyboard focus stays where the page key was pressed, so that
    // the next key turns the page again.
    setCurrentItem(next);
    m_doc->GoToPageById(WORD(GetItemData(next) - kPageTreeItemBase), FALSE);
}

void CViewTree::FollowCurrentPage() {
    QTreeWidgetItem* pageItem = FindCurrentPageItem();
    QTreeWidgetItem* current = currentItem();
    if (!pageItem || !current || m_dragging || state() == QAbstractItemView::EditingState)
        return;
    QTreeWidgetItem* under = PageItemOf(current);
    if (!under || under == pageItem)
        return;
    setCurrentItem(pageItem);
    pageItem->setExpanded(true);
}

void CViewTree::CollapseAll() {
    if (QTreeWidgetItem* root = GetRootItem()) {
        for (int i = 0; i < root->childCount(); ++i)
            root->child(i)->setExpanded(false);
        root->setExpanded(true);
    }
}

bool CViewTree::MovePageItems(int delta) {
    QTreeWidgetItem* current = FindCurrentPageItem();
    QTreeWidgetItem* root = GetRootItem();
    if (!current || !root || !g_pCurPage)
        return false;
    const int index = root->indexOfChild(current);
    const int target = index + delta;
    // Every step must find a page before anything is renumbered.
    if (target < 0 || target >= root->childCount())
        return false;
    const int step = delta > 0 ? 1 : -1;
    for (int i = index + step; i != target + step; i += step) {
        QTreeWidgetItem* item = root->child(i);
        int number = 0;
        QString title;
        if (ParsePageItemText(item->text(0), number, title))
            item->setText(0, PageItemText(number - step, CString::FromQString(title)).ToQString());
    }
    int number = 0;
    QString title;
    ParsePageItemText(current->text(0), number, title);
    current->setText(0, PageItemText(number + delta, g_pCurPage->m_title).ToQString());
    SortPageItems();
    setCurrentItem(current);
    return true;
}

void CViewTree::MovePageUp() {
    if (!m_doc || !MovePageItems(-1))
        return;
    if (m_doc->MoveCurrentPage(-1))
        m_doc->SetModifiedFlag();
    setFocus();
}

void CViewTree::MovePageDown() {
    if (!m_doc || !MovePageItems(1))
        return;
    if (m_doc->MoveCurrentPage(1))
        m_doc->SetModifiedFlag();
    setFocus();
}

// ---------------------------------------------------------------------------------------------
// Clicks

QRect CViewTree::CheckBoxRect(QTreeWidgetItem* item) const {
    if (!item)
        return QRect();
    const QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    static_cast<HxViewTreeDelegate*>(itemDelegate())->InitOption(&option, index);
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QRect CViewTree::LabelRect(QTreeWidgetItem* item) const {
    if (!item)
        return QRect();
    QRect rect = visualRect(indexFromItem(item));
    rect.setLeft(CheckBoxRect(item).right() + 1);
    return rect;
}

bool CViewTree::IsOnCheckBox(QTreeWidgetItem* item, const QPoint& pos) const {
    return item && CheckBoxRect(item).contains(pos);
}

bool CViewTree::IsOnLabel(QTreeWidgetItem* item, const QPoint& pos) const {
    return item && visualRect(indexFromItem(item)).contains(pos) && !IsOnCheckBox(item, pos);
}

void CViewTree::SyncColor() {
    if (m_syncColor)
        m_syncColor();
}

void CViewTree::OnItemClick(const QPoint& pos) {
    QTreeWidgetItem* clicked = itemAt(pos);
    if (!clicked || !m_doc)
        return;
    // The document's answers may rebuild parts of the tree: the item is found again after each.
    const QPersistentModelIndex index(indexFromItem(clicked));
    auto item = [&]() -> QTreeWidgetItem* { return index.isValid() ? itemFromIndex(index) : nullptr; };
    HxTreeItemKind kind;
    if (IsOnCheckBox(clicked, pos)) {
        const bool wasChecked = IsChecked(clicked);
        setCurrentItem(clicked);
        UINT id = GetItemCellId(item(), &kind);
        int result = m_doc->SelectTreeItem(id, TRUE, !wasChecked, kind);
        if (result == 0) {
            SetChecked(item(), !wasChecked);
            return;
        }
        if (result == 5) {
            id = GetItemCellId(item(), &kind);
            result = m_doc->SelectTreeItem(id, TRUE, !wasChecked, kind);
        }
        if (result == 7) {
            // Every object of the page is selected.
            if (QTreeWidgetItem* pageItem = PageItemOf(item())) {
                SetChecksBelow(pageItem, true);
                SetChecked(pageItem, true);
            }
        } else if (result == 8) {
            SetChecked(item(), false);
        } else {
            SetChecked(item(), !wasChecked);
        }
        SyncColor();
        return;
    }
    if (!IsOnLabel(clicked, pos))
        return;
    UINT id = GetItemCellId(item(), &kind);
    int result = m_doc->SelectTreeItem(id, FALSE, TRUE, kind);
    if (result == 5) {
        id = GetItemCellId(item(), &kind);
        if (kind != HxTreeItemKind::Cell) {
            SyncColor();
            return;
        }
        result = m_doc->SelectTreeItem(id, FALSE, TRUE, kind);
    }
    if (QTreeWidgetItem* pageItem = FindCurrentPageItem()) {
        SetChecked(pageItem, false);
        SetChecksBelow(pageItem, false);
    }
    if (result == 1)
        SetChecked(item(), true);
    SyncColor();
}

void CViewTree::OnRightClick(const QPoint& pos) {
    QTreeWidgetItem* item = itemAt(pos);
    if (item && IsOnLabel(item, pos)) {
        const QPersistentModelIndex index(indexFromItem(item));
        OnItemClick(pos);
        if (index.isValid())
            setCurrentItem(itemFromIndex(index));
        AfxGetCommandRouter().Execute(ID_EDIT_PROPERTY);
    }
    setFocus();
}

void CViewTree::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_pressPos = pos;
        m_pressItem = itemAt(pos);
        const bool onBox = IsOnCheckBox(m_pressItem, pos);
        OnItemClick(pos);
        // A check box click is the tree's own: the item must not also begin a label edit.
        if (onBox) {
            setFocus();
            return;
        }
    } else if (event->button() == Qt::RightButton) {
        return; // the context menu event does the work
    }
    QTreeWidget::mousePressEvent(event);
}

void CViewTree::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_dragging) {
        DragMoveTo(pos);
        return;
    }
    if ((event->buttons() & Qt::LeftButton) && m_pressItem &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        // Only the current page's item can be dragged.
        if (m_pressItem == FindCurrentPageItem()) {
            BeginPageDrag(m_pressItem);
            DragMoveTo(pos);
            return;
        }
        m_pressItem = nullptr;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CViewTree::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        EndPageDrag(event->position().toPoint());
        return;
    }
    m_pressItem = nullptr;
    QTreeWidget::mouseReleaseEvent(event);
}

void CViewTree::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse)
        OnRightClick(event->pos());
    else
        setFocus();
    event->accept();
}

QString CViewTree::CutItemToolTip(QTreeWidgetItem* item) const {
    if (!item)
        return QString();
    const QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    static_cast<HxViewTreeDelegate*>(itemDelegate())->InitOption(&option, index);
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // What the viewport shows of it: a long text runs past the right edge or is elided.
    text.setRight(std::min(text.right(), viewport()->width() - 1));
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QString whole = item->text(0);
    if (option.fontMetrics.horizontalAdvance(whole) + 2 * margin <= text.width())
        return QString();
    return whole;
}

bool CViewTree::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = CutItemToolTip(itemAt(help->pos()));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Label edits

bool CViewTree::CanEditLabel(QTreeWidgetItem* item) const {
    if (!m_doc || !item || GetItemData(item) == 0)
        return false;
    const int level = GetItemLevel(item);
    if (level == kPageItem)
        return true;
    // A cell is renamed in the current page only: the document looks its id up there.
    QTreeWidgetItem* pageItem = PageItemOf(item);
    return pageItem && g_pCurPage && GetItemData(pageItem) == UINT(kPageTreeItemBase) + g_pCurPage->m_pageId;
}

QString CViewTree::LabelEditText(QTreeWidgetItem* item) const {
    if (!CanEditLabel(item))
        return QString();
    const HxTreeItemKind kind = GetItemLevel(item) == kPageItem ? HxTreeItemKind::Page : HxTreeItemKind::Cell;
    return m_doc->GetTreeItemName(GetItemData(item), kind).ToQString();
}

bool CViewTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger != QAbstractItemView::NoEditTriggers && !CanEditLabel(itemFromIndex(index)))
        return false;
    return QTreeWidget::edit(index, trigger, event);
}

void CViewTree::OnEndLabelEdit(QTreeWidgetItem* item, const QString& text) {
    if (!item || text.isEmpty() || !CanEditLabel(item))
        return;
    const CString name = CString::FromQString(text);
    const UINT data = GetItemData(item);
    if (GetItemLevel(item) == kPageItem) {
        if (!m_doc->RenameTreeItem(data, name, HxTreeItemKind::Page))
            return;
        int position = 0;
        m_doc->FindPageByNumber(WORD(data - kPageTreeItemBase), position);
        item->setText(0, PageItemText(position, name).ToQString());
        return;
    }
    if (m_doc->RenameTreeItem(data, name, HxTreeItemKind::Cell) && g_pCurPage)
        UpdateItemTexts(0, g_pCurPage->m_pageId);
}

// ---------------------------------------------------------------------------------------------
// Page dragging

void CViewTree::BeginPageDrag(QTreeWidgetItem* item) {
    if (!item || item != FindCurrentPageItem())
        return;
    m_dragging = true;
    m_dragItem = item;
    m_dragPageId = WORD(GetItemData(item) - kPageTreeItemBase);
    m_targetPageId = 0;
    m_dropTarget = nullptr;
    m_tick = 0;
    viewport()->setCursor(Qt::DragMoveCursor);
    m_scrollTimer->start();
}

void CViewTree::DragMoveTo(const QPoint& pos) {
    if (!m_dragging)
        return;
    QTreeWidgetItem* item = itemAt(pos);
    QTreeWidgetItem* target = GetItemLevel(item) == kPageItem ? item : nullptr;
    if (target != m_dropTarget) {
        m_dropTarget = target;
        viewport()->update();
    }
    m_targetPageId = target ? WORD(GetItemData(target) - kPageTreeItemBase) : 0;
}

void CViewTree::EndPageDrag(const QPoint& pos) {
    if (!m_dragging)
        return;
    DragMoveTo(pos);
    m_dragging = false;
    m_scrollTimer->stop();
    viewport()->unsetCursor();
    m_dropTarget = nullptr;
    m_dragItem = nullptr;
    m_pressItem = nullptr;
    viewport()->update();
    if (!m_doc || m_targetPageId == 0 || m_targetPageId == m_dragPageId)
        return;
    int source = 0, target = 0;
    if (!m_doc->FindPageByNumber(m_dragPageId, source) || !m_doc->FindPageByNumber(m_targetPageId, target))
        return;
    const int delta = target - source;
    if (delta != 0 && MovePageItems(delta) && m_doc->MoveCurrentPage(delta))
        m_doc->SetModifiedFlag();
}

int CViewTree::AutoScrollStep(int y, int top, int bottom, int tick) {
    if (y < top + 10) {
        const int period = std::max(1, 6 - (top + 10 - y) / 10);
        return tick % period == 0 ? -1 : 0;
    }
    if (y > bottom - 10) {
        const int period = std::max(1, 6 - (y - bottom + 10) / 10);
        return tick % period == 0 ? 1 : 0;
    }
    return 0;
}

void CViewTree::OnAutoScrollTick() {
    if (!m_dragging) {
        m_scrollTimer->stop();
        return;
    }
    ++m_tick;
    const QPoint pos = viewport()->mapFromGlobal(QCursor::pos());
    const int step = AutoScrollStep(pos.y(), 0, viewport()->height(), m_tick);
    if (step < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (step > 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}
