// The ribbon bar: tabs, pages of panels (collapsed right to left into drop-down buttons when the
// window is too narrow for them, scrolled sideways when even that is not enough), the application
// button, minimising and the idle update.
#include "app/ribbon_bar.h"

#include "app/ribbon_icons.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <functional>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kContentHeight = 74; // large buttons: icon, text, the drop-down arrow
constexpr int kRowHeight = 24;     // small elements stack three to a column
constexpr int kCaptionHeight = 18;
constexpr int kSmallRows = 3;
constexpr int kGap = 2;
} // namespace

// A page of panels in a window too narrow for it: the page keeps its width and scrolls sideways, by
// the arrows that show at the ends where more of it lies and by the mouse wheel.
class HxRibbonPageScroller : public QScrollArea {
public:
    explicit HxRibbonPageScroller(QWidget* page) {
        setObjectName(QStringLiteral("HxRibbonPageScroller"));
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setWidgetResizable(true);
        setWidget(page);
        for (int i = 0; i < 2; ++i) {
            auto* arrow = new QToolButton(this);
            arrow->setObjectName(QStringLiteral("HxRibbonScrollArrow"));
            arrow->setText(i == 0 ? QStringLiteral("◀") : QStringLiteral("▶"));
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setAutoRepeat(true);
            connect(arrow, &QToolButton::clicked, this, [this, i] { ScrollBy(i == 0 ? -kStep : kStep); });
            m_arrows[i] = arrow;
        }
        connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { PlaceArrows(); });
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceArrows(); });
        PlaceArrows();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        if (m_fit)
            m_fit();
        PlaceArrows();
    }
    void wheelEvent(QWheelEvent* event) override {
        const QPoint delta = event->angleDelta();
        const int steps = delta.x() != 0 ? delta.x() : delta.y();
        if (horizontalScrollBar()->maximum() > 0 && steps != 0) {
            ScrollBy(-steps / 120 * kStep / 2);
            event->accept();
            return;
        }
        QScrollArea::wheelEvent(event);
    }

private:
    static constexpr int kStep = 120;
    void ScrollBy(int dx) { horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx); }
    void PlaceArrows() {
        const QScrollBar* bar = horizontalScrollBar();
        const int w = 14, h = height();
        m_arrows[0]->setGeometry(0, 0, w, h);
        m_arrows[1]->setGeometry(width() - w, 0, w, h);
        m_arrows[0]->setVisible(bar->value() > bar->minimum());
        m_arrows[1]->setVisible(bar->value() < bar->maximum());
        for (QToolButton* arrow : m_arrows)
            arrow->raise();
    }
    QToolButton* m_arrows[2] = {nullptr, nullptr};
    std::function<void()> m_fit;

public:
    // fit runs whenever the scroller changes size, before the arrows are placed.
    void SetFit(std::function<void()> fit) { m_fit = std::move(fit); }
};

// A drop-down of the ribbon (a collapsed panel's, the minimised ribbon's).  It is a window of its
// own, so the status prompts of the elements in it are passed on to the window of the ribbon, where
// the status bar listens.
class HxRibbonPopupFrame : public QFrame {
public:
    explicit HxRibbonPopupFrame(QWidget* owner) : QFrame(owner, Qt::Popup) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::StatusTip && parentWidget()) {
            if (QWidget* target = parentWidget()->window(); target && target != this)
                return QCoreApplication::sendEvent(target, event);
        }
        return QFrame::event(event);
    }
};

// One panel: its element widgets placed in columns (a large element takes a column, small ones
// stack up to three), and its caption below, all on a body widget.  A collapsed panel shows one
// large button with its name instead and moves the body into a drop-down that the button opens;
// the element widgets stay the same widgets either way.
class HxRibbonPanelWidget : public QWidget {
public:
    HxRibbonPanelWidget(HxRibbon* ribbon, HxRibbonPanel* panel, QWidget* parent)
        : QWidget(parent), m_ribbon(ribbon), m_panel(panel) {
        setObjectName(QStringLiteral("HxRibbonPanel"));
        setAttribute(Qt::WA_StyledBackground);
        m_body = new QWidget(this);
        m_body->setObjectName(QStringLiteral("HxRibbonPanelBody"));
        m_caption = new QLabel(panel->GetName().ToQString(), m_body);
        m_caption->setObjectName(QStringLiteral("HxRibbonPanelCaption"));
        m_caption->setAlignment(Qt::AlignCenter);
        m_button = new QToolButton(this);
        m_button->setObjectName(QStringLiteral("HxRibbonPanelButton"));
        m_button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        m_button->setIconSize(QSize(32, 32));
        m_button->setAutoRaise(true);
        m_button->setFocusPolicy(Qt::NoFocus);
        m_button->setText(panel->GetName().ToQString() + QStringLiteral("\n▾"));
        m_button->setToolTip(panel->GetName().ToQString());
        m_button->hide();
        QObject::connect(m_button, &QToolButton::clicked, this, [this] { ShowPopup(); });
        Refresh();
    }

    HxRibbonPanel* GetPanel() const { return m_panel; }
    bool IsCollapsed() const { return m_collapsed; }
    QToolButton* GetCollapsedButton() const { return m_button; }
    QFrame* GetPopup() const { return m_popup; }
    // The widths of the panel laid out in full and collapsed to its button.
    int GetFullWidth() const { return m_body->width(); }
    int GetCollapsedWidth() const { return std::max(m_button->sizeHint().width(), 50); }

    // Creates the widgets of elements that have none, then places the shown ones.
    void Refresh() {
        for (int i = 0; i < m_panel->GetCount(); ++i) {
            HxRibbonBaseElement* e = m_panel->GetElement(i);
            if (!m_ribbon->GetElementWidget(e))
                HxCreateElementWidget(m_ribbon, e, m_body);
        }
        DoLayout();
    }

    void DoLayout() {
        int x = 4;
        std::vector<QWidget*> column;
        auto flush = [&] {
            if (column.empty())
                return;
            int width = 0;
            for (QWidget* w : column)
                width = std::max(width, w->sizeHint().width());
            int y = (kContentHeight - int(column.size()) * kRowHeight) / 2;
            if (column.size() == size_t(kSmallRows))
                y = 1;
            for (QWidget* w : column) {
                w->setGeometry(x, y, width, kRowHeight - 1);
                y += kRowHeight;
            }
            x += width + kGap;
            column.clear();
        };
        for (int i = 0; i < m_panel->GetCount(); ++i) {
            HxRibbonBaseElement* e = m_panel->GetElement(i);
            QWidget* w = m_ribbon->GetElementWidget(e);
            if (!w)
                continue;
            bool shown = e->IsShown();
            w->setVisible(shown);
            if (!shown)
                continue;
            if (e->IsLarge()) {
                flush();
                QSize hint = w->sizeHint();
                int width = std::max(hint.width(), 46);
                w->setGeometry(x, 1, width, kContentHeight - 2);
                x += width + kGap;
            } else {
                column.push_back(w);
                if (column.size() == size_t(kSmallRows))
                    flush();
            }
        }
        flush();
        int captionWidth = m_caption->sizeHint().width() + 8;
        int width = std::max(x + 2, captionWidth);
        m_caption->setGeometry(0, kContentHeight, width, kCaptionHeight);
        m_body->setFixedSize(width, kContentHeight + kCaptionHeight);
        SyncButton();
        PlaceBody();
        setVisible(m_panel->IsShown());
    }

    // Shows the panel in full or as its button; does nothing when it already is so.
    void SetCollapsed(bool collapsed) {
        if (collapsed == m_collapsed)
            return;
        m_collapsed = collapsed;
        if (collapsed) {
            if (!m_popup) {
                m_popup = new HxRibbonPopupFrame(this);
                m_popup->setObjectName(QStringLiteral("HxRibbonPanelPopup"));
                m_popup->setAttribute(Qt::WA_StyledBackground);
                auto* layout = new QVBoxLayout(m_popup);
                layout->setContentsMargins(1, 1, 1, 1);
                layout->setSizeConstraint(QLayout::SetFixedSize);
            }
            m_body->setParent(m_popup);
            m_popup->layout()->addWidget(m_body);
            m_body->show();
        } else {
            if (m_popup)
                m_popup->hide();
            m_body->setParent(this);
            m_body->show();
        }
        m_button->setVisible(collapsed);
        PlaceBody();
    }

    void ShowPopup() {
        if (!m_collapsed || !m_popup)
            return;
        m_popup->setStyleSheet(m_ribbon->styleSheet());
        m_popup->adjustSize();
        QPoint at = mapToGlobal(QPoint(0, height()));
        if (QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - m_popup->width())));
        }
        m_popup->move(at);
        m_popup->show();
    }

    void HidePopup() {
        if (m_popup && m_popup->isVisible())
            m_popup->hide();
    }

private:
    // The button shows the panel's own icon, else its first shown element's, else a generic one.
    void SyncButton() {
        QString icon = m_panel->GetIconName();
        for (int i = 0; icon.isEmpty() && i < m_panel->GetCount(); ++i)
            if (HxRibbonBaseElement* e = m_panel->GetElement(i); e->IsShown())
                icon = m_ribbon->ElementIconName(e, true);
        m_button->setIcon(HxRibbonIcon(icon.isEmpty() ? QStringLiteral("generic") : icon));
    }

    void PlaceBody() {
        if (m_collapsed) {
            m_button->setGeometry(0, 0, GetCollapsedWidth(), kContentHeight + kCaptionHeight);
            setFixedSize(m_button->size());
            if (m_popup && m_popup->isVisible())
                m_popup->adjustSize();
        } else {
            m_body->move(0, 0);
            setFixedSize(m_body->size());
        }
    }

    HxRibbon* m_ribbon;
    HxRibbonPanel* m_panel;
    QWidget* m_body;
    QLabel* m_caption;
    QToolButton* m_button;
    HxRibbonPopupFrame* m_popup = nullptr;
    bool m_collapsed = false;
};

// ---------------------------------------------------------------------------------------------

HxRibbon::HxRibbon(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HxRibbon"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_tabRow = new QWidget(this);
    m_tabRow->setObjectName(QStringLiteral("HxRibbonTabRow"));
    m_tabRow->setAttribute(Qt::WA_StyledBackground);
    auto* row = new QHBoxLayout(m_tabRow);
    row->setContentsMargins(0, 0, 4, 0);
    row->setSpacing(0);
    m_appButton = new QToolButton(m_tabRow);
    m_appButton->setObjectName(QStringLiteral("HxApplicationButton"));
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setFocusPolicy(Qt::NoFocus);
    m_appMenu = new QMenu(m_appButton);
    m_appMenu->setObjectName(QStringLiteral("HxApplicationMenu"));
    m_appButton->setMenu(m_appMenu);
    connect(m_appMenu, &QMenu::aboutToShow, this, [this] {
        if (m_application)
            HxFillMenu(this, m_appMenu, m_application.get());
    });
    m_appButton->hide();
    m_tabs = new QTabBar(m_tabRow);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setDocumentMode(true);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_minimizeButton = new QToolButton(m_tabRow);
    m_minimizeButton->setObjectName(QStringLiteral("HxRibbonMinimize"));
    m_minimizeButton->setFocusPolicy(Qt::NoFocus);
    m_minimizeButton->setAutoRaise(true);
    connect(m_minimizeButton, &QToolButton::clicked, this, [this] { ToggleMinimizeState(); });
    row->addWidget(m_appButton, 0, Qt::AlignBottom);
    row->addWidget(m_tabs, 0, Qt::AlignBottom);
    row->addStretch(1);
    row->addWidget(m_minimizeButton, 0, Qt::AlignVCenter);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("HxRibbonPages"));
    m_pages->setAttribute(Qt::WA_StyledBackground);
    m_pages->setFixedHeight(kContentHeight + kCaptionHeight + 6);
    layout->addWidget(m_tabRow);
    layout->addWidget(m_pages);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < m_pages->count()) {
            m_pages->setCurrentIndex(index);
            // A page that was hidden may still have the size of an earlier window.
            m_pages->currentWidget()->setGeometry(m_pages->contentsRect());
            FitPage(index);
        }
    });
    connect(m_tabs, &QTabBar::tabBarClicked, this, &HxRibbon::OnTabClicked);
    connect(m_tabs, &QTabBar::tabBarDoubleClicked, this, [this](int) { ToggleMinimizeState(); });
    SetMinimized(false);
    ApplyLook(HxGetLook(HxGetCurrentLook()));
}

HxRibbon::~HxRibbon() {
    // The element widgets are children of this widget; only the map has to go first.
    m_widgets.clear();
}

void HxRibbon::Clear() {
    HideDropDown();
    while (m_tabs->count() > 0)
        m_tabs->removeTab(m_tabs->count() - 1);
    while (m_pages->count() > 0) {
        QWidget* page = m_pages->widget(0);
        m_pages->removeWidget(page);
        delete page;
    }
    m_widgets.clear();
    m_panelWidgets.clear();
    m_dirtyPanels.clear();
    m_categories.clear();
    m_application.reset();
}

bool HxRibbon::LoadFromResource(const QString& path, QString* error, HxRibbonDefinition* rest) {
    HxRibbonDefinition def;
    if (!HxLoadRibbonDefinition(path, def, error))
        return false;
    Load(def);
    if (rest)
        *rest = std::move(def);
    return true;
}

void HxRibbon::Load(HxRibbonDefinition& def) {
    Clear();
    SetImages(def.images);
    m_application = std::move(def.application);
    if (m_application) {
        m_application->SetHost(this);
        m_appButton->setText(m_application->GetText().ToQString());
        m_appButton->setToolTip(HxElementToolTip(m_application.get()));
    }
    m_appButton->setVisible(m_application != nullptr);
    for (HxRibbonDefinition::Category& c : def.categories) {
        auto category = std::make_unique<HxRibbonCategory>(this, c.name);
        for (HxRibbonDefinition::Panel& p : c.panels) {
            HxRibbonPanel* panel = category->AddPanel(p.name, p.icon);
            for (auto& e : p.elements)
                panel->Add(e.release());
        }
        m_categories.push_back(std::move(category));
    }
    def.categories.clear();
    m_dirtyPanels.clear();
    for (int i = 0; i < GetCategoryCount(); ++i)
        BuildCategoryPage(i);
    UpdateTabs();
}

void HxRibbon::BuildCategoryPage(int index) {
    HxRibbonCategory* category = GetCategory(index);
    if (!category)
        return;
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("HxRibbonPage"));
    page->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(2, 3, 2, 3);
    layout->setSpacing(0);
    for (int i = 0; i < category->GetPanelCount(); ++i) {
        HxRibbonPanel* panel = category->GetPanel(i);
        // Widgets of a page built again are made anew.
        for (int k = 0; k < panel->GetCount(); ++k)
            ForgetWidgets(panel->GetElement(k));
        auto* w = new HxRibbonPanelWidget(this, panel, page);
        m_panelWidgets[panel] = w;
        layout->addWidget(w, 0, Qt::AlignTop);
    }
    layout->addStretch(1);
    // Panels keep their widths; a page wider than the window scrolls.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    auto* scroller = new HxRibbonPageScroller(page);
    scroller->SetFit([this, scroller] { FitPage(m_pages->indexOf(scroller)); });
    if (index < m_pages->count()) {
        QWidget* old = m_pages->widget(index);
        m_pages->insertWidget(index, scroller);
        m_pages->removeWidget(old);
        old->deleteLater();
        m_tabs->setTabText(index, category->GetName().ToQString());
    } else {
        m_pages->addWidget(scroller);
        m_tabs->addTab(category->GetName().ToQString());
    }
}

HxRibbonCategory* HxRibbon::GetCategory(int index) const {
    return index >= 0 && index < GetCategoryCount() ? m_categories[size_t(index)].get() : nullptr;
}

int HxRibbon::GetCategoryIndex(const HxRibbonCategory* category) const {
    for (int i = 0; i < GetCategoryCount(); ++i)
        if (m_categories[size_t(i)].get() == category)
            return i;
    return -1;
}

HxRibbonCategory* HxRibbon::AddCategory(const CString& name) {
    m_categories.push_back(std::make_unique<HxRibbonCategory>(this, name));
    BuildCategoryPage(GetCategoryCount() - 1);
    UpdateTabs();
    return m_categories.back().get();
}

HxRibbonCategory* HxRibbon::GetActiveCategory() const {
    return GetCategory(m_tabs->currentIndex());
}

BOOL HxRibbon::SetActiveCategory(HxRibbonCategory* category) {
    int index = GetCategoryIndex(category);
    if (index < 0 || !category->IsShown())
        return FALSE;
    m_tabs->setCurrentIndex(index);
    return TRUE;
}

HxRibbonBaseElement* HxRibbon::FindByID(UINT id, BOOL visibleOnly) const {
    std::vector<HxRibbonBaseElement*> found;
    GetElementsByID(id, found);
    for (HxRibbonBaseElement* e : found)
        if (!visibleOnly || e->IsShown())
            return e;
    return nullptr;
}

void HxRibbon::GetElementsByID(UINT id, std::vector<HxRibbonBaseElement*>& found) const {
    for (const auto& c : m_categories)
        c->CollectByID(id, found);
    if (m_application)
        m_application->CollectByID(id, found);
}

QWidget* HxRibbon::GetPanelWidget(const HxRibbonPanel* panel) const {
    auto it = m_panelWidgets.find(panel);
    return it == m_panelWidgets.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------------------------
// Changes

void HxRibbon::OnElementChanged(HxRibbonBaseElement* e, bool structure) {
    QWidget* w = GetElementWidget(e);
    if (w && structure && e->GetKind() == HxRibbonKind::Group) {
        // A group's buttons are its widget's children: make the group anew.
        ForgetWidgets(e);
        w = nullptr;
    }
    if (w)
        HxSyncElementWidget(this, w, e);
    if (HxRibbonBaseElement* parent = e->GetParentElement())
        if (QWidget* pw = GetElementWidget(parent)) {
            if (parent->GetKind() == HxRibbonKind::Group && structure) {
                ForgetWidgets(parent);
            } else {
                HxSyncElementWidget(this, pw, parent);
            }
        }
    if (e == m_application.get()) {
        m_appButton->setText(e->GetText().ToQString());
        return;
    }
    if (HxRibbonPanel* panel = e->GetParentPanel(); panel && (structure || !w))
        ScheduleLayout(panel);
}

void HxRibbon::OnElementRemoved(HxRibbonBaseElement* e) {
    ForgetWidgets(e);
    if (HxRibbonPanel* panel = e->GetParentPanel())
        ScheduleLayout(panel);
}

void HxRibbon::ScheduleLayout(HxRibbonPanel* panel) {
    m_dirtyPanels.insert(panel);
    if (m_layoutScheduled)
        return;
    m_layoutScheduled = true;
    QMetaObject::invokeMethod(
        this, [this] { RecalcLayout(); }, Qt::QueuedConnection);
}

void HxRibbon::RecalcLayout() {
    m_layoutScheduled = false;
    std::set<HxRibbonPanel*> dirty;
    dirty.swap(m_dirtyPanels);
    std::set<int> rebuild;
    for (HxRibbonPanel* panel : dirty) {
        auto it = m_panelWidgets.find(panel);
        if (it != m_panelWidgets.end())
            it->second->Refresh();
        else
            rebuild.insert(GetCategoryIndex(panel->GetParentCategory()));
    }
    for (int index : rebuild)
        BuildCategoryPage(index);
    UpdateTabs();
    FitPage(m_tabs->currentIndex());
}

void HxRibbon::UpdateTabs() {
    int current = m_tabs->currentIndex();
    for (int i = 0; i < GetCategoryCount(); ++i)
        m_tabs->setTabVisible(i, m_categories[size_t(i)]->IsShown());
    if (current < 0 || !m_tabs->isTabVisible(current)) {
        for (int i = 0; i < GetCategoryCount(); ++i)
            if (m_tabs->isTabVisible(i)) {
                m_tabs->setCurrentIndex(i);
                break;
            }
    }
    if (m_tabs->currentIndex() >= 0)
        m_pages->setCurrentIndex(m_tabs->currentIndex());
}

void HxRibbon::OnIdleUpdate() {
    int active = m_tabs->currentIndex();
    for (int i = 0; i < GetCategoryCount(); ++i) {
        HxRibbonCategory* category = m_categories[size_t(i)].get();
        for (int p = 0; p < category->GetPanelCount(); ++p) {
            HxRibbonPanel* panel = category->GetPanel(p);
            for (int k = 0; k < panel->GetCount(); ++k)
                HxUpdateElementState(panel->GetElement(k), i == active);
        }
    }
    if (m_dirtyPanels.empty()) {
        UpdateTabs();
        return;
    }
    RecalcLayout();
    // The active category may have changed with the tabs shown.
    if (m_tabs->currentIndex() != active && GetActiveCategory()) {
        HxRibbonCategory* category = GetActiveCategory();
        for (int p = 0; p < category->GetPanelCount(); ++p)
            for (int k = 0; k < category->GetPanel(p)->GetCount(); ++k)
                HxUpdateElementState(category->GetPanel(p)->GetElement(k), true);
        RecalcLayout();
    }
}

// ---------------------------------------------------------------------------------------------
// Minimised state and the drop-down of a minimised ribbon

void HxRibbon::SetMinimized(bool minimized) {
    bool changed = minimized != m_minimized;
    m_minimized = minimized;
    HideDropDown();
    m_pages->setVisible(!minimized);
    m_minimizeButton->setText(minimized ? QStringLiteral("▾") : QStringLiteral("▴"));
    m_minimizeButton->setToolTip(minimized ? QStringLiteral("展开功能区") : QStringLiteral("最小化功能区"));
    updateGeometry();
    if (changed)
        emit MinimizedChanged(minimized);
}

void HxRibbon::OnTabClicked(int index) {
    if (!m_minimized || index < 0)
        return;
    m_tabs->setCurrentIndex(index);
    m_pages->setCurrentIndex(index);
    ShowDropDown();
}

void HxRibbon::ShowDropDown() {
    if (!m_dropDown) {
        m_dropDown = new HxRibbonPopupFrame(this);
        m_dropDown->setObjectName(QStringLiteral("HxRibbonDropDown"));
        auto* layout = new QVBoxLayout(m_dropDown);
        layout->setContentsMargins(0, 0, 0, 0);
        m_dropDown->installEventFilter(this);
    }
    m_pages->setParent(m_dropDown);
    m_dropDown->layout()->addWidget(m_pages);
    m_pages->show();
    m_dropDown->setStyleSheet(styleSheet());
    m_dropDown->setFixedWidth(width());
    m_dropDown->move(mapToGlobal(QPoint(0, m_tabRow->height())));
    m_dropDown->show();
}

void HxRibbon::HideDropDown() {
    if (!m_dropDown || m_pages->parent() != m_dropDown)
        return;
    m_dropDown->hide();
    m_pages->setParent(this);
    static_cast<QVBoxLayout*>(layout())->addWidget(m_pages);
    m_pages->setVisible(!m_minimized);
}

bool HxRibbon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dropDown && event->type() == QEvent::Hide)
        QMetaObject::invokeMethod(
            this, [this] { HideDropDown(); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void HxRibbon::BeforeCommand() {
    for (auto& [panel, widget] : m_panelWidgets)
        widget->HidePopup();
    if (m_dropDown && m_dropDown->isVisible())
        m_dropDown->hide();
}

// ---------------------------------------------------------------------------------------------
// Fitting a page to the ribbon's width

std::vector<HxRibbonPanelWidget*> HxRibbon::PagePanels(int index) const {
    std::vector<HxRibbonPanelWidget*> panels;
    HxRibbonCategory* category = GetCategory(index);
    if (!category)
        return panels;
    for (int i = 0; i < category->GetPanelCount(); ++i) {
        auto it = m_panelWidgets.find(category->GetPanel(i));
        if (it != m_panelWidgets.end())
            panels.push_back(it->second);
    }
    return panels;
}

void HxRibbon::FitPage(int index) {
    auto* scroller = dynamic_cast<HxRibbonPageScroller*>(m_pages->widget(index));
    if (!scroller || !scroller->widget())
        return;
    const int available = scroller->viewport()->width();
    if (available <= 0)
        return;
    const QMargins margins = scroller->widget()->layout()->contentsMargins();
    std::vector<HxRibbonPanelWidget*> panels;
    for (HxRibbonPanelWidget* w : PagePanels(index))
        if (w->GetPanel()->IsShown())
            panels.push_back(w);
    // Collapse the fewest panels that make the page fit, the right-most first; a panel no wider
    // than its button stays as it is.  When nothing fits, all collapse and the page scrolls.
    const auto width = [&](size_t collapsedFrom) {
        int total = margins.left() + margins.right();
        for (size_t i = 0; i < panels.size(); ++i)
            total += CollapsesAt(panels[i], i, collapsedFrom) ? panels[i]->GetCollapsedWidth()
                                                               : panels[i]->GetFullWidth();
        return total;
    };
    size_t from = panels.size();
    while (from > 0 && width(from) > available)
        --from;
    for (size_t i = 0; i < panels.size(); ++i)
        panels[i]->SetCollapsed(CollapsesAt(panels[i], i, from));
    scroller->widget()->layout()->activate();
}

bool HxRibbon::CollapsesAt(const HxRibbonPanelWidget* panel, size_t position, size_t collapsedFrom) {
    return position >= collapsedFrom && panel->GetFullWidth() > panel->GetCollapsedWidth();
}

bool HxRibbon::IsPanelCollapsed(const HxRibbonPanel* panel) const {
    auto it = m_panelWidgets.find(panel);
    return it != m_panelWidgets.end() && it->second->IsCollapsed();
}

void HxRibbon::ApplyLook(const HxLook& look) {
    setStyleSheet(HxRibbonStyleSheet(look));
    for (auto& [element, widget] : m_widgets)
        if (widget)
            HxSyncElementWidget(this, widget, const_cast<HxRibbonBaseElement*>(element));
    for (auto& [panel, widget] : m_panelWidgets)
        widget->DoLayout();
    FitPage(m_tabs->currentIndex());
    update();
}
