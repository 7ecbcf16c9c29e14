// CHxAutoHidePane: the auto-hide mode of a docked pane: the pane folds to a tab on the main window's
// edge and slides out over the window while the pointer is over the tab or the pane.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QAction;
class QDockWidget;
class QFrame;
class QMainWindow;
class QPropertyAnimation;
class QTimer;
class QToolBar;
class CAutoHideTab;

class CHxAutoHidePane : public QObject {
public:
    CHxAutoHidePane(QMainWindow* frame, QDockWidget* dock);
    ~CHxAutoHidePane() override;

    bool IsAutoHide() const { return m_autoHide; }
    // True while the pane is slid out (or sliding out).
    bool IsSlidOut() const { return m_slidOut; }
    // The edge the pane folds to while in auto-hide mode.
    Qt::DockWidgetArea Alignment() const { return m_area; }
    // Whether the pane can fold: it must be docked (a floating pane cannot).
    bool CanAutoHide() const;

    // Folds the pane to its tab at `area` (the side it is docked at for Qt::NoDockWidgetArea); the
    // dock itself is hidden.  False, and nothing changed, when the pane cannot fold.
    bool EnableAutoHide(Qt::DockWidgetArea area = Qt::NoDockWidgetArea);
    // Back into the dock at the edge it folded to, shown.
    void DisableAutoHide();

    // The pane slides out over the window (at once without the animation) and back to its tab.
    void SlideOut(bool animate = true);
    void SlideIn(bool animate = true);

    // The pin button of the pane's toolbar: checked while in auto-hide mode; a click switches.
    QAction* AddPinButton(QToolBar* toolBar);

    QToolBar* TabBar() const { return m_tabBar; }
    QWidget* Tab() const;
    QFrame* Panel() const { return m_panel; }
    // Where the slid-out pane lies in the window, for the size the dock had.
    QRect PanelRect() const;

protected:
    // The tab's hover and click, the window's resizing, and a press outside the slid-out pane.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Slides the pane in once the pointer has left the tab and the pane and the focus is not in it.
    void CheckPointer();
    bool PointerOverPane() const;
    bool FocusInPane() const;
    QRect FoldedRect() const;
    void SyncPin();

    QMainWindow* m_frame;
    QPointer<QDockWidget> m_dock;
    QPointer<QWidget> m_body; // the dock's content while it sits in the slide-out panel
    QToolBar* m_tabBar = nullptr;
    CAutoHideTab* m_tab = nullptr;
    QFrame* m_panel = nullptr;
    QPropertyAnimation* m_animation = nullptr;
    QTimer* m_pointerTimer = nullptr;
    QAction* m_pin = nullptr;
    Qt::DockWidgetArea m_area = Qt::LeftDockWidgetArea;
    QSize m_paneSize{260, 200};
    bool m_autoHide = false;
    bool m_slidOut = false;
};
