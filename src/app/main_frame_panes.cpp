// The main window's full screen, its full-screen toolbar, hiding and showing the panes, and the
// quick-help window.
#include "app/main_frame.h"

#include "app/auto_hide_pane.h"
#include "app/object_view.h"
#include "app/quick_help.h"
#include "app/ribbon_bar.h"
#include "app/ribbon_icons.h"
#include "app/status_bar.h"
#include "document/halvix_doc.h"
#include "dynamics/button_press.h"
#include "view/halvix_view.h"
#include "view/media_player.h"
#include "view/view_globals.h"

#include <QAction>
#include <QToolBar>

void CMainFrame::CreateFullScreenToolBar() {
    m_wndFullScreenBar = new QToolBar(QStringLiteral("全屏工具栏"), this);
    m_wndFullScreenBar->setObjectName(QStringLiteral("FullScreenToolBar"));
    m_wndFullScreenBar->setWindowTitle(QStringLiteral("全屏工具栏"));
    m_wndFullScreenBar->setIconSize(QSize(20, 20));
    m_wndFullScreenBar->setAutoFillBackground(true);
    struct Button {
        UINT id;
        const char* icon;
        const char16_t* text;
    };
    static const Button buttons[] = {
        {ID_VIEW_PAGEUP, "page-prev", u"上一页"},
        {ID_VIEW_PAGEDOWN, "page-next", u"下一页"},
        {ID_VIEW_SHOW_PANES, "object-pane", u"显示所有面板"},
        {ID_VIEW_FULLSCREEN_LEAVE, "fullscreen-exit", u"退出全屏"},
    };
    for (const Button& b : buttons) {
        QAction* action = m_wndFullScreenBar->addAction(HxRibbonIcon(QString::fromLatin1(b.icon)),
                                                        CString(b.text).ToQString());
        const UINT id = b.id;
        connect(action, &QAction::triggered, this, [id] { HxExecuteRibbonCommand(id); });
    }
    m_wndFullScreenBar->adjustSize();
    m_wndFullScreenBar->hide();
}

void CMainFrame::OnViewFullScreen() {
    if (!m_bFullScreen && !g_mediaFullScreen)
        EnterFullScreen();
    else
        LeaveFullScreen();
}

void CMainFrame::OnUpdateViewFullScreen(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_bFullScreen || g_mediaFullScreen ? 1 : 0);
}

void CMainFrame::EnterFullScreen() {
    if (m_bFullScreen || g_mediaFullScreen)
        return;
    // With a player open only the player goes to full screen.
    if (g_pMediaPlayer) {
        g_pMediaPlayer->SetFullScreen(true);
        g_mediaFullScreen = true;
        return;
    }
    m_savedMaximized = isMaximized();
    m_savedGeometry = saveGeometry();
    m_bFullScreen = true;
    OnToggleFullScreenToolBar();
    HidePanes();
    if (m_wndRibbonBar)
        m_wndRibbonBar->hide();
    showFullScreen();
}

void CMainFrame::LeaveFullScreen() {
    if (m_bFullScreen && !g_mediaFullScreen) {
        if (m_nPaneMode != kPaneHidden)
            ShowPanes();
        else if (m_bStatusBarVisible && statusBar()->isHidden())
            statusBar()->show(); // the status bar comes back even when the pane stays hidden
        m_bFullScreen = false;
        OnToggleFullScreenToolBar();
        if (m_wndRibbonBar)
            m_wndRibbonBar->show();
        if (m_savedMaximized)
            showMaximized();
        else
            showNormal();
        if (!m_savedGeometry.isEmpty())
            restoreGeometry(m_savedGeometry);
        if (m_wndRibbonBar)
            m_wndRibbonBar->RecalcLayout();
    } else if (g_mediaFullScreen) {
        if (g_pMediaPlayer)
            g_pMediaPlayer->SetFullScreen(false);
        g_mediaFullScreen = false;
    }
}

void CMainFrame::OnEscape() {
    if (m_bFullScreen) {
        if (!g_pMediaPlayer)
            LeaveFullScreen();
        else
            PostMessage(WM_COMMAND, ID_VIEW_MEDIA_CLOSE, 0);
    } else if (g_mediaFullScreen) {
        LeaveFullScreen();
    } else if (g_pMediaPlayer) {
        PostMessage(WM_COMMAND, ID_VIEW_MEDIA_CLOSE, 0);
    } else {
        AfxMessageBox(
            u"ESC键 用于退出全屏或关闭影音\n可用 F4键 切换全屏状态\n\n欲结束绘图工具，请右击鼠标！");
    }
}

void CMainFrame::OnToggleFullScreenToolBar() {
    if (!m_wndFullScreenBar)
        return;
    if (!m_wndFullScreenBar->isHidden()) {
        m_wndFullScreenBar->hide();
        return;
    }
    if (!m_bFullScreen)
        return;
    // It floats over the drawing near the top, kept inside the window.
    m_wndFullScreenBar->adjustSize();
    const int x = std::max(0, std::min(600, width() - m_wndFullScreenBar->width() - 2));
    m_wndFullScreenBar->move(x, 2);
    m_wndFullScreenBar->show();
    m_wndFullScreenBar->raise();
}

bool CMainFrame::IsObjectPaneVisible() const {
    if (!m_wndObjectView)
        return false;
    if (m_paneAutoHide && m_paneAutoHide->IsAutoHide())
        return m_paneAutoHide->IsSlidOut();
    return !m_wndObjectView->isHidden();
}

void CMainFrame::HidePanes() {
    m_bStatusBarVisible = !statusBar()->isHidden();
    statusBar()->hide();
    if (!m_wndObjectView)
        return;
    const bool folded = m_paneAutoHide && m_paneAutoHide->IsAutoHide();
    const Qt::DockWidgetArea area = folded ? m_paneAutoHide->Alignment() : dockWidgetArea(m_wndObjectView);
    if (area != Qt::NoDockWidgetArea)
        m_paneAlignment = area;
    // A folded pane goes back into its dock first and comes back folded.
    if (folded) {
        m_paneAutoHide->DisableAutoHide();
        m_nPaneMode = kPaneAutoHide;
    } else {
        m_nPaneMode = m_wndObjectView->isHidden() ? kPaneHidden : kPaneShown;
    }
    if (m_nPaneMode != kPaneHidden)
        m_wndObjectView->hide();
}

void CMainFrame::ShowPanes() {
    if (statusBar()->isHidden())
        statusBar()->show();
    const bool folded = m_paneAutoHide && m_paneAutoHide->IsAutoHide();
    if (m_wndObjectView && m_wndObjectView->isHidden() && !folded) {
        if (!m_wndObjectView->isFloating() && dockWidgetArea(m_wndObjectView) != m_paneAlignment)
            addDockWidget(m_paneAlignment, m_wndObjectView);
        m_wndObjectView->show();
        if (m_nPaneMode == kPaneAutoHide && m_paneAutoHide && m_paneAutoHide->CanAutoHide())
            m_paneAutoHide->EnableAutoHide(m_paneAlignment);
    }
    if (m_nPaneMode != kPaneAutoHide)
        m_nPaneMode = kPaneShown;
}

void CMainFrame::OnViewPanel() {
    if (!m_wndObjectView)
        return;
    const bool folded = m_paneAutoHide && m_paneAutoHide->IsAutoHide();
    if (IsObjectPaneVisible()) {
        if (folded)
            m_paneAutoHide->DisableAutoHide();
        m_wndObjectView->hide();
    } else if (folded) {
        // A folded pane leaves the auto-hide mode and is docked again.
        m_paneAutoHide->DisableAutoHide();
    } else {
        m_wndObjectView->show();
    }
}

void CMainFrame::OnUpdateViewPanel(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(IsObjectPaneVisible() ? 1 : 0);
}

CDlgFastHelp* CMainFrame::GetQuickHelp() const {
    return m_pQuickHelp.data();
}

void CMainFrame::OnQuickHelp() {
    if (m_pQuickHelp) {
        m_pQuickHelp->show();
        m_pQuickHelp->raise();
        m_pQuickHelp->activateWindow();
        return;
    }
    m_pQuickHelp = new CDlgFastHelp(this, this);
    m_pQuickHelp->show();
    m_pQuickHelp->move(m_pQuickHelp->pos() + QPoint(100, 100));
}

LRESULT CMainFrame::OnQuickHelpClosed(WPARAM wParam, LPARAM) {
    if (m_pQuickHelp && WPARAM(m_pQuickHelp.data()) == wParam) {
        m_pQuickHelp->deleteLater();
        m_pQuickHelp = nullptr;
    }
    return 0;
}

LRESULT CMainFrame::OnPressButton(WPARAM wParam, LPARAM lParam) {
    if (m_view)
        m_view->SendMessage(UM_PRESS_BUTTON, wParam, lParam);
    return 0;
}
