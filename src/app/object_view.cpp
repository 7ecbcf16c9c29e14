// The object pane: its dock, toolbar and commands.
#include "app/object_view.h"

#include "app/app_look.h"
#include "app/frame_ids.h"
#include "app/ribbon_icons.h"

#include <QAction>
#include <QFrame>
#include <QToolBar>
#include <QVBoxLayout>

CObjectView::CObjectView(QWidget* parent) : QDockWidget(QStringLiteral("对象浏览器"), parent) {
    setObjectName(QStringLiteral("ObjectPane"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setWindowIcon(HxRibbonIcon(QStringLiteral("object-pane")));

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(body);
    m_toolBar->setObjectName(QStringLiteral("ObjectPaneToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    layout->addWidget(m_toolBar);
    // The tree sits inside a one-pixel frame.
    auto* frame = new QFrame(body);
    frame->setObjectName(QStringLiteral("ObjectPaneFrame"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Plain);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(1, 1, 1, 1);
    m_tree = new CViewTree(frame);
    m_tree->setFrameShape(QFrame::NoFrame);
    inner->addWidget(m_tree);
    layout->addWidget(frame, 1);
    setWidget(body);

    AddButton(ID_TREE_COLLAPSE, QStringLiteral("collapse"), QStringLiteral("折叠分支到页"));
    AddButton(ID_TREE_REBUILD, QStringLiteral("refresh"), QStringLiteral("刷新并展开当前页对象列表"));
    m_toolBar->addSeparator();
    AddButton(ID_EDIT_CUT, QStringLiteral("cut"), QStringLiteral("剪切"));
    AddButton(ID_EDIT_COPY, QStringLiteral("copy"), QStringLiteral("复制"));
    AddButton(ID_EDIT_DELETE, QStringLiteral("delete"), QStringLiteral("删除"));
    m_toolBar->addSeparator();
    AddButton(ID_SELECT_PAGE, QStringLiteral("select-page"), QStringLiteral("选择当前页"));
    AddButton(ID_EDIT_PROPERTY, QStringLiteral("property"), QStringLiteral("属性"));

    OnCommandId(ID_TREE_COLLAPSE, &CObjectView::OnCollapseAll);
    OnCommandId(ID_TREE_REBUILD, &CObjectView::OnRebuild);
    OnCommandId(ID_EDIT_DELETE, &CObjectView::OnDelete);
    OnUpdateId(ID_EDIT_DELETE, &CObjectView::OnUpdateHasSelection);
    OnCommandId(ID_SELECT_PAGE, &CObjectView::OnSelectPage);
    OnCommandId(ID_PAGE_MOVE_UP, &CObjectView::OnMovePageUp);
    OnCommandId(ID_PAGE_MOVE_DOWN, &CObjectView::OnMovePageDown);
    OnUpdateId(ID_PAGE_MOVE_UP, &CObjectView::OnUpdateMovePageUp);
    OnUpdateId(ID_PAGE_MOVE_DOWN, &CObjectView::OnUpdateMovePageDown);
    OnCommandId(ID_EDIT_CUT, &CObjectView::OnCut);
    OnUpdateId(ID_EDIT_CUT, &CObjectView::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_COPY, &CObjectView::OnCopy);
    OnUpdateId(ID_EDIT_COPY, &CObjectView::OnUpdateHasSelection);
}

CObjectView::~CObjectView() = default;

void CObjectView::SetDocument(CHalvixDoc* doc) {
    m_doc = doc;
    m_tree->SetDocument(doc);
}

void CObjectView::AddButton(UINT id, const QString& icon, const QString& text) {
    QAction* action = m_toolBar->addAction(HxRibbonIcon(icon), text);
    action->setToolTip(text);
    action->setVisible(false);
    connect(action, &QAction::triggered, this, [this, id] {
        CCmdTarget* target = TargetOf(id);
        if (!target)
            return;
        CCmdUI ui;
        ui.m_nID = id;
        target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui);
        if (ui.m_enabled)
            target->OnCmdMsg(id, CN_COMMAND, nullptr);
    });
    m_actions[id] = action;
}

QAction* CObjectView::GetToolBarAction(UINT id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

CCmdTarget* CObjectView::TargetOf(UINT id) const {
    if (HasCommandHandler(id))
        return const_cast<CObjectView*>(this);
    // The properties command is the document's: the pane passes it on.
    if (id == ID_EDIT_PROPERTY && m_doc && m_doc->HasCommandHandler(id))
        return m_doc;
    return nullptr;
}

void CObjectView::OnIdleUpdate() {
    // A page switch made elsewhere (the view, a link button, paste) moves the highlight too.
    if (CViewTree* tree = GetTree())
        tree->FollowCurrentPage();
    for (auto& [id, action] : m_actions) {
        CCmdTarget* target = TargetOf(id);
        if (action->isVisible() != (target != nullptr))
            action->setVisible(target != nullptr);
        if (!target)
            continue;
        CCmdUI ui;
        ui.m_nID = id;
        target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui);
        if (action->isEnabled() != ui.m_enabled)
            action->setEnabled(ui.m_enabled);
    }
}

void CObjectView::ApplyLook(const HxLook& look) {
    setStyleSheet(
        QStringLiteral("QDockWidget#ObjectPane::title { background: %1; color: %2; padding: 4px 6px;"
                       " border-bottom: 1px solid %3; }"
                       "QFrame#ObjectPaneFrame { border: 1px solid %3; }")
            .arg(look.panelArea.name(), look.caption.name(), look.panelBorder.name()));
    // The style draws a check box's outline from the window colour: on dark looks it needs a light
    // one to show against the dark tree.
    QPalette palette;
    if (look.dark) {
        palette = m_tree->palette();
        palette.setColor(QPalette::Window, look.text.darker(150));
    }
    m_tree->setPalette(palette);
}

void CObjectView::FillTree() {
    m_tree->FillTree();
}

void CObjectView::OnCollapseAll() {
    m_tree->CollapseAll();
}

void CObjectView::OnRebuild() {
    m_tree->Rebuild();
}

void CObjectView::OnDelete() {
    if (m_doc)
        m_doc->OnEditDelete();
}

void CObjectView::OnCut() {
    if (m_doc)
        m_doc->OnEditCut();
}

void CObjectView::OnCopy() {
    if (m_doc)
        m_doc->OnEditCopy();
}

void CObjectView::OnUpdateHasSelection(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    bool any = false;
    if (page) {
        any = page->m_pageSelected != 0;
        for (const CList<WORD, WORD>* list : {&page->m_selPoints, &page->m_selLines, &page->m_selFaces,
                                              &page->m_selSolids, &page->m_selCurves, &page->m_selTexts,
                                              &page->m_selValues, &page->m_selButtons, &page->m_selOthers})
            any = any || !list->IsEmpty();
    }
    pCmdUI->Enable(any);
}

void CObjectView::OnSelectPage() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->m_pageSelected = 1;
    if (m_doc)
        m_doc->UpdateAllViews();
    if (QTreeWidgetItem* item = m_tree->FindCurrentPageItem()) {
        m_tree->setCurrentItem(item);
        m_tree->setFocus();
    }
}

void CObjectView::OnMovePageUp() {
    m_tree->MovePageUp();
}

void CObjectView::OnMovePageDown() {
    m_tree->MovePageDown();
}

void CObjectView::OnUpdateMovePageUp(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_doc && !m_doc->m_pages.IsEmpty() && g_pCurPage &&
                   m_doc->m_pages.GetHead() != g_pCurPage);
}

void CObjectView::OnUpdateMovePageDown(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_doc && !m_doc->m_pages.IsEmpty() && g_pCurPage &&
                   m_doc->m_pages.GetTail() != g_pCurPage);
}
