// The auto-hide mode of a docked pane: the tab on the window's edge (a one-button tool bar at the
// side the pane folded to), the panel the pane's content slides out in, and the pointer watch that
// slides it back.
#include "app/auto_hide_pane.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDockWidget>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

// The tab of a folded pane: its icon and title, written downwards on a side edge.
class CAutoHideTab : public QAbstractButton {
public:
    explicit CAutoHideTab(QWidget* parent) : QAbstractButton(parent) {
        setObjectName(QStringLiteral("AutoHideTab"));
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }
    void SetVertical(bool vertical) {
        m_vertical = vertical;
        updateGeometry();
        update();
    }
    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        const int length = metrics.horizontalAdvance(text()) + 16 + 6 + 16;
        const int thickness = std::max(metrics.height(), 16) + 8;
        return m_vertical ? QSize(thickness, length) : QSize(length, thickness);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette pal = palette();
        QColor fill = pal.color(QPalette::Button);
        if (underMouse() || isDown())
            fill = pal.color(QPalette::Highlight).lighter(170);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(pal.color(QPalette::Mid));
        painter.setBrush(fill);
        painter.drawRoundedRect(frame, 3, 3);
        painter.setPen(pal.color(QPalette::ButtonText));
        if (m_vertical) {
            // Read from top to bottom, as the tabs of folded panes are.
            painter.translate(width(), 0);
            painter.rotate(90);
        }
        const int length = m_vertical ? height() : width();
        const int thickness = m_vertical ? width() : height();
        const QIcon pic = icon();
        int x = 8;
        if (!pic.isNull()) {
            pic.paint(&painter, QRect(x, (thickness - 16) / 2, 16, 16));
            x += 16 + 6;
        }
        painter.drawText(QRect(x, 0, length - x - 4, thickness), Qt::AlignVCenter | Qt::AlignLeft, text());
    }

private:
    bool m_vertical = true;
};

namespace {

constexpr int kSlideMilliseconds = 160;
constexpr int kPointerCheckMilliseconds = 150;

Qt::ToolBarArea ToolBarAreaOf(Qt::DockWidgetArea area) {
    switch (area) {
    case Qt::RightDockWidgetArea:
        return Qt::RightToolBarArea;
    case Qt::TopDockWidgetArea:
        return Qt::TopToolBarArea;
    case Qt::BottomDockWidgetArea:
        return Qt::BottomToolBarArea;
    default:
        return Qt::LeftToolBarArea;
    }
}

bool IsSide(Qt::DockWidgetArea area) {
    return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
}

// A drawing pin: upright while the pane is docked, lying while it folds away.
QIcon PinIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1.2));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRect(QRectF(5.5, 1.5, 5, 7));
    painter.drawLine(QPointF(3.5, 8.5), QPointF(12.5, 8.5));
    painter.drawLine(QPointF(8, 8.5), QPointF(8, 14.5));
    painter.setPen(QPen(QColor(60, 60, 60), 1.0));
    painter.drawLine(QPointF(9.5, 2), QPointF(9.5, 8));
    return QIcon(pixmap);
}

bool IsInside(const QWidget* widget, const QWidget* container) {
    for (; widget; widget = widget->parentWidget())
        if (widget == container)
            return true;
    return false;
}

} // namespace

CHxAutoHidePane::CHxAutoHidePane(QMainWindow* frame, QDockWidget* dock)
    : QObject(frame), m_frame(frame), m_dock(dock) {
    m_tabBar = new QToolBar(QStringLiteral("自动隐藏"), frame);
    m_tabBar->setObjectName(QStringLiteral("AutoHideTabBar"));
    m_tabBar->setMovable(false);
    m_tabBar->setFloatable(false);
    m_tabBar->toggleViewAction()->setVisible(false);
    m_tabBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_tab = new CAutoHideTab(m_tabBar);
    m_tab->setText(dock->windowTitle());
    m_tab->setIcon(dock->windowIcon());
    m_tab->setToolTip(dock->windowTitle());
    m_tabBar->addWidget(m_tab);
    m_tabBar->hide();
    m_tab->installEventFilter(this);
    connect(m_tab, &QAbstractButton::clicked, this, [this] {
        if (m_slidOut) {
            SlideIn();
        } else {
            SlideOut();
            if (m_body)
                m_body->setFocus(Qt::OtherFocusReason);
        }
    });

    m_panel = new QFrame(frame);
    m_panel->setObjectName(QStringLiteral("AutoHidePanel"));
    m_panel->setFrameShape(QFrame::Box);
    m_panel->setFrameShadow(QFrame::Plain);
    m_panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto* title = new QLabel(dock->windowTitle(), m_panel);
    title->setObjectName(QStringLiteral("AutoHidePanelTitle"));
    title->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(title);
    m_panel->hide();

    m_animation = new QPropertyAnimation(m_panel, "geometry", this);
    m_animation->setDuration(kSlideMilliseconds);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QPropertyAnimation::finished, this, [this] {
        if (!m_slidOut)
            m_panel->hide();
    });

    m_pointerTimer = new QTimer(this);
    m_pointerTimer->setInterval(kPointerCheckMilliseconds);
    connect(m_pointerTimer, &QTimer::timeout, this, [this] { CheckPointer(); });
    frame->installEventFilter(this);
}

CHxAutoHidePane::~CHxAutoHidePane() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool CHxAutoHidePane::CanAutoHide() const {
    return m_dock && !m_dock->isFloating() && m_dock->widget() &&
           (m_frame->dockWidgetArea(m_dock) != Qt::NoDockWidgetArea);
}

QWidget* CHxAutoHidePane::Tab() const {
    return m_tab;
}

bool CHxAutoHidePane::EnableAutoHide(Qt::DockWidgetArea area) {
    if (m_autoHide)
        return true;
    if (!CanAutoHide())
        return false;
    if (area == Qt::NoDockWidgetArea || area == Qt::AllDockWidgetAreas)
        area = m_frame->dockWidgetArea(m_dock);
    m_area = area;
    if (!m_dock->isHidden() && m_dock->width() > 40 && m_dock->height() > 40)
        m_paneSize = m_dock->size();
    m_paneSize = m_paneSize.expandedTo(QSize(180, 160));
    // The content moves into the panel; the dock keeps its place in the window's layout, hidden.
    m_body = m_dock->widget();
    m_body->setParent(m_panel);
    m_panel->layout()->addWidget(m_body);
    m_body->show();
    m_panel->setStyleSheet(m_dock->styleSheet());
    m_dock->hide();
    m_tab->SetVertical(IsSide(area));
    m_tabBar->setOrientation(IsSide(area) ? Qt::Vertical : Qt::Horizontal);
    m_frame->addToolBar(ToolBarAreaOf(area), m_tabBar);
    m_tabBar->show();
    m_autoHide = true;
    m_slidOut = false;
    m_panel->hide();
    SyncPin();
    return true;
}

void CHxAutoHidePane::DisableAutoHide() {
    if (!m_autoHide)
        return;
    SlideIn(false);
    m_autoHide = false;
    m_tabBar->hide();
    m_frame->removeToolBar(m_tabBar);
    if (m_dock && m_body) {
        m_dock->setWidget(m_body);
        m_body->show();
        if (m_frame->dockWidgetArea(m_dock) != m_area)
            m_frame->addDockWidget(m_area, m_dock);
        m_dock->show();
        if (IsSide(m_area))
            m_frame->resizeDocks({m_dock}, {m_paneSize.width()}, Qt::Horizontal);
        else
            m_frame->resizeDocks({m_dock}, {m_paneSize.height()}, Qt::Vertical);
    }
    m_body = nullptr;
    SyncPin();
}

QRect CHxAutoHidePane::PanelRect() const {
    const QWidget* central = m_frame->centralWidget();
    const QRect region = central ? central->geometry() : m_frame->rect();
    const int w = std::min(m_paneSize.width(), std::max(region.width() - 20, 120));
    const int h = std::min(m_paneSize.height(), std::max(region.height() - 20, 100));
    switch (m_area) {
    case Qt::RightDockWidgetArea:
        return QRect(region.right() - w + 1, region.top(), w, region.height());
    case Qt::TopDockWidgetArea:
        return QRect(region.left(), region.top(), region.width(), h);
    case Qt::BottomDockWidgetArea:
        return QRect(region.left(), region.bottom() - h + 1, region.width(), h);
    default:
        return QRect(region.left(), region.top(), w, region.height());
    }
}

QRect CHxAutoHidePane::FoldedRect() const {
    const QRect full = PanelRect();
    switch (m_area) {
    case Qt::RightDockWidgetArea:
        return QRect(full.right(), full.top(), 1, full.height());
    case Qt::TopDockWidgetArea:
        return QRect(full.left(), full.top(), full.width(), 1);
    case Qt::BottomDockWidgetArea:
        return QRect(full.left(), full.bottom(), full.width(), 1);
    default:
        return QRect(full.left(), full.top(), 1, full.height());
    }
}

void CHxAutoHidePane::SlideOut(bool animate) {
    if (!m_autoHide || m_slidOut)
        return;
    m_slidOut = true;
    m_animation->stop();
    m_panel->show();
    m_panel->raise();
    if (animate) {
        m_animation->setStartValue(FoldedRect());
        m_animation->setEndValue(PanelRect());
        m_animation->start();
    } else {
        m_panel->setGeometry(PanelRect());
    }
    qApp->installEventFilter(this);
    m_pointerTimer->start();
}

void CHxAutoHidePane::SlideIn(bool animate) {
    if (!m_slidOut)
        return;
    m_slidOut = false;
    m_pointerTimer->stop();
    qApp->removeEventFilter(this);
    m_animation->stop();
    // The focus leaves with the pane, back to the window's main widget.
    if (FocusInPane()) {
        if (QWidget* central = m_frame->centralWidget())
            central->setFocus(Qt::OtherFocusReason);
    }
    if (animate && m_panel->isVisible()) {
        m_animation->setStartValue(m_panel->geometry());
        m_animation->setEndValue(FoldedRect());
        m_animation->start();
    } else {
        m_panel->hide();
    }
}

bool CHxAutoHidePane::PointerOverPane() const {
    const QPoint pointer = QCursor::pos();
    const QRect panel(m_panel->mapToGlobal(QPoint(0, 0)), m_panel->size());
    const QRect tab(m_tab->mapToGlobal(QPoint(0, 0)), m_tab->size());
    return panel.contains(pointer) || tab.contains(pointer);
}

bool CHxAutoHidePane::FocusInPane() const {
    return IsInside(QApplication::focusWidget(), m_panel);
}

void CHxAutoHidePane::CheckPointer() {
    if (!m_slidOut)
        return;
    // A menu or dialog opened from the pane keeps it out until it closes.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return;
    if (!PointerOverPane() && !FocusInPane())
        SlideIn();
}

bool CHxAutoHidePane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tab && event->type() == QEvent::Enter && m_autoHide) {
        SlideOut();
    } else if (watched == m_frame && event->type() == QEvent::Resize && m_slidOut) {
        m_animation->stop();
        m_panel->setGeometry(PanelRect());
    } else if (event->type() == QEvent::MouseButtonPress && m_slidOut) {
        // A press elsewhere in the window folds the pane away, focus or not.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == m_frame && !IsInside(widget, m_panel) && !IsInside(widget, m_tab))
            SlideIn();
    }
    return QObject::eventFilter(watched, event);
}

QAction* CHxAutoHidePane::AddPinButton(QToolBar* toolBar) {
    auto* spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    m_pin = toolBar->addAction(PinIcon(), QStringLiteral("自动隐藏"));
    m_pin->setObjectName(QStringLiteral("AutoHidePin"));
    m_pin->setCheckable(true);
    m_pin->setToolTip(QStringLiteral("自动隐藏"));
    connect(m_pin, &QAction::triggered, this, [this](bool on) {
        if (on && !EnableAutoHide())
            SyncPin();
        else if (!on)
            DisableAutoHide();
    });
    SyncPin();
    return m_pin;
}

void CHxAutoHidePane::SyncPin() {
    // The window's own menu of panes must not show the emptied dock while the pane is folded.
    if (m_dock)
        m_dock->toggleViewAction()->setEnabled(!m_autoHide);
    if (!m_pin)
        return;
    m_pin->setChecked(m_autoHide);
    m_pin->setToolTip(m_autoHide ? QStringLiteral("停靠") : QStringLiteral("自动隐藏"));
}
