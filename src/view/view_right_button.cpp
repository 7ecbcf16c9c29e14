// The view's right button: the flat circle and the faces it finishes, the drawings and custom tools
// it ends, the label dialog of a clicked label and the context menus of the arrow tool; the arrow
// tool command; the page-link message; and the Escape key, which ends a construction in progress.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "model/cell_kinds.h"
#include "model/page.h"
#include "view/context_menus.h"
#include "view/label_dialog.h"
#include "view/view_globals.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

#include <QKeyEvent>
#include <QMenu>

namespace {

// Shows a context menu of the view: its items enabled by their update handlers (an item nobody
// handles is disabled), the chosen one run through the command routing.
void RunContextMenu(QWidget* owner, UINT menuId, CPoint screen) {
    QMenu menu(owner);
    menu.setTitle(QString::fromUtf16(HxContextMenuTitle(menuId)));
    for (const CContextMenuItem& item : HxContextMenuItems(menuId)) {
        QAction* action = menu.addAction(QString::fromUtf16(item.text));
        bool enabled = false;
        if (item.id != 0) {
            CCmdUI ui;
            ui.m_nID = item.id;
            AfxGetCommandRouter().Update(ui);
            enabled = ui.m_enabled;
            if (ui.m_check) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            if (ui.m_textSet)
                action->setText(ui.m_text.ToQString());
        }
        action->setEnabled(enabled);
        const UINT id = item.id;
        QObject::connect(action, &QAction::triggered, owner, [id] { AfxGetCommandRouter().Execute(id); });
    }
    menu.exec(QPoint(screen.x, screen.y));
}

} // namespace

void CHalvixView::ShowViewContextMenu(UINT menuId, CPoint clientPoint) {
    const QPointF logical(clientPoint.x / devicePixelRatioF(), clientPoint.y / devicePixelRatioF());
    const QPoint global = mapToGlobal(logical.toPoint());
    HxShowContextMenu(menuId, CPoint(global.x(), global.y()));
}

void CHalvixView::EditLabel(CGCell& cell) {
    CDlgPropertyLabel dlg;
    dlg.FillFrom(cell);
    if (dlg.DoModal() != IDOK)
        return;
    CGPage* page = g_pCurPage;
    HxApplyLabelDialog(*page, cell, dlg);
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page->m_pageId));
    SetModified();
    RenderScene();
}

void CHalvixView::CancelDrawing() {
    ClearHover();
    m_polyVertexCount = 0;
    m_toolStage = 0;
    g_mouseTool = 1;
    UpdateToolCursor();
    RenderScene();
}

void CHalvixView::OnRButtonDown(UINT nFlags, CPoint point) {
    (void)nFlags;
    CGPage* page = g_pCurPage;
    // The right button does nothing at all while the media player is shown.
    if (!page || (g_pMediaPlayer && m_mediaShown))
        return;
    switch (g_mouseTool) {
    case 1: {
        int pickClass = 0;
        WORD id = 0;
        CGCell* cell = nullptr;
        if (PickAt(point.x, point.y, &pickClass, &id, FALSE) && id != 0)
            cell = page->FindCell(id);
        if (cell && pickClass == 3) {
            EditLabel(*cell);
            return;
        }
        UINT menu = IDR_POPUP_EDIT;
        if (cell) {
            page->ClearSelection();
            cell->m_selected = true;
            page->m_selAll.AddTail(id);
            page->KindListOf(cell).AddTail(id);
            if (CWnd* frame = AfxGetMainWnd())
                frame->PostMessage(UM_SELECTION_CHANGED, 1, LPARAM(id));
            switch (HxSelectionKindOf(cell)) {
            case HxSelectionKind::Points:
                menu = IDR_POPUP_POINT;
                break;
            case HxSelectionKind::Lines:
                menu = IDR_POPUP_LINE;
                break;
            case HxSelectionKind::Faces:
                menu = IDR_POPUP_FACE;
                break;
            default:
                break;
            }
            RenderScene();
        }
        ShowViewContextMenu(menu, point);
        return;
    }
    case 2:
    case 3:
        CancelDrawing();
        return;
    case 4:
        if (!m_pDocument)
            return;
        CheckDrawingState();
        FinishFace();
        CancelDrawing();
        return;
    case 5:
        CheckDrawingState();
        if (m_toolStage == 4) {
            FinishFlatCircle();
            RenderScene();
            return;
        }
        CancelDrawing();
        return;
    case 6:
        CloseRunningTool();
        m_toolStage = 0;
        g_mouseTool = 1;
        UpdateToolCursor();
        RenderScene();
        return;
    case 9:
        ShowViewContextMenu(IDR_POPUP_EDIT, point);
        return;
    default:
        return;
    }
}

void CHalvixView::OnArrowTool() {
    CloseRunningTool();
    ClearHover();
    g_mouseTool = 1;
    if (g_pCurPage)
        g_pCurPage->m_timerMode = 5;
    UpdateToolCursor();
    RenderScene();
}

void CHalvixView::OnUpdateArrowTool(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_mouseTool == 1 ? 1 : 0);
}

LRESULT CHalvixView::OnGoToPage(WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    if (!m_pDocument)
        return 0;
    m_pDocument->GoToPageById(WORD(lParam), TRUE);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Escape: a construction in progress ends as the right button ends it, without finishing a face or
// a circle.  Otherwise the key goes on to the main window.

bool CHalvixView::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier &&
            IsConstructionInProgress()) {
            e->accept();
            return true;
        }
    }
    return QOpenGLWidget::event(e);
}

void CHalvixView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && IsConstructionInProgress()) {
        if (g_mouseTool == 6) {
            CloseRunningTool();
            m_toolStage = 0;
            g_mouseTool = 1;
            UpdateToolCursor();
            RenderScene();
        } else {
            CancelDrawing();
        }
        e->accept();
        return;
    }
    QOpenGLWidget::keyPressEvent(e);
}

void HxInstallViewContextMenus(QWidget* owner) {
    HxSetContextMenuPresenter([owner](UINT menuId, CPoint screen) { RunContextMenu(owner, menuId, screen); });
}
