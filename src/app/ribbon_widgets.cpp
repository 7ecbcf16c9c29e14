// The element widgets and the menus of sub-items.
#include "app/ribbon_widgets.h"

#include "app/ribbon_icons.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <algorithm>

namespace {

QString Q(const CString& s) {
    return s.ToQString();
}

void SetCheckedLook(QWidget* w, bool checked) {
    if (w->property("hxChecked").toBool() == checked)
        return;
    w->setProperty("hxChecked", checked);
    w->style()->unpolish(w);
    w->style()->polish(w);
    w->update();
}

// The colour button's own icon: the paint bucket over a bar of the current colour.
QIcon ColorButtonIcon(const HxRibbonWidgetHost* host, const HxRibbonColorButton* button, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QString name = host->ElementIconName(button, true);
    HxPaintRibbonIcon(p, QRectF(0, 0, size, size * 0.78), name.isEmpty() ? QStringLiteral("color") : name);
    COLORREF c = button->GetColor();
    QColor bar = c == button->GetAutomaticColor() && button->HasAutomaticButton()
                     ? QColor(0, 0, 0)
                     : QColor(GetRValue(c), GetGValue(c), GetBValue(c));
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(bar);
    p.drawRect(QRectF(size * 0.08, size * 0.8, size * 0.84 - 1, size * 0.18 - 1));
    return QIcon(pm);
}

QWidgetAction* PaletteAction(QMenu* menu, QWidget* palette) {
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(palette);
    menu->addAction(action);
    return action;
}

// A status pane's text: as wide as the text while the bar has room, narrower when it has not, the
// text then cut short with an ellipsis.  However long a prompt or a page title is, the bar (and
// with it the main window) keeps its width.
class CStatusPaneLabel : public QLabel {
public:
    explicit CStatusPaneLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

    QSize minimumSizeHint() const override {
        const QSize hint = QLabel::minimumSizeHint();
        const QMargins margins = contentsMargins();
        const int least = margins.left() + margins.right() + fontMetrics().horizontalAdvance(QChar(0x2026));
        return QSize(std::min(hint.width(), least), hint.height());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const QRect area = contentsRect();
        const QFontMetrics metrics = fontMetrics();
        if (metrics.horizontalAdvance(text()) <= area.width()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(),
                              metrics.elidedText(text(), Qt::ElideRight, area.width()), foregroundRole());
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Host

HxRibbonWidgetHost::~HxRibbonWidgetHost() = default;

QString HxRibbonWidgetHost::ElementIconName(const HxRibbonBaseElement* e, bool large) const {
    int index = e->GetImageIndex(large);
    if (index < 0)
        index = e->GetImageIndex(!large);
    if (index >= 0) {
        auto it = m_images.find(index);
        if (it != m_images.end())
            return it->second;
    }
    return e->GetIconName();
}

QIcon HxRibbonWidgetHost::ElementIcon(const HxRibbonBaseElement* e, bool large) const {
    QString name = ElementIconName(e, large);
    return name.isEmpty() ? QIcon() : HxRibbonIcon(name);
}

void HxRibbonWidgetHost::ExecuteCommand(UINT id, bool keepDropDowns) {
    if (id == 0)
        return;
    if (!keepDropDowns)
        BeforeCommand();
    if (m_sink) {
        m_sink(id);
        return;
    }
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [id] { HxExecuteRibbonCommand(id); }, Qt::QueuedConnection);
}

QWidget* HxRibbonWidgetHost::GetElementWidget(const HxRibbonBaseElement* e) const {
    auto it = m_widgets.find(e);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

void HxRibbonWidgetHost::RegisterWidget(const HxRibbonBaseElement* e, QWidget* w) {
    m_widgets[e] = w;
}

void HxRibbonWidgetHost::ForgetWidgets(HxRibbonBaseElement* e) {
    e->ForEachChild([this](HxRibbonBaseElement* child) { ForgetWidgets(child); });
    auto it = m_widgets.find(e);
    if (it == m_widgets.end())
        return;
    if (QWidget* w = it->second.data()) {
        w->hide();
        w->deleteLater();
    }
    m_widgets.erase(it);
}

QString HxElementToolTip(const HxRibbonBaseElement* e) {
    QString title = Q(e->GetToolTipText()).toHtmlEscaped();
    QString desc = Q(e->GetDescription()).toHtmlEscaped();
    if (desc.isEmpty() || desc == title)
        return title;
    return QStringLiteral("<b>%1</b><br/>%2").arg(title, desc);
}

QString HxElementStatusTip(const HxRibbonBaseElement* e) {
    return Q(e->GetDescription());
}

// ---------------------------------------------------------------------------------------------
// Menus

void HxFillMenu(HxRibbonWidgetHost* host, QMenu* menu, HxRibbonButton* button) {
    menu->clear();
    menu->setToolTipsVisible(true);
    menu->setSeparatorsCollapsible(true);
    // A palette of a gallery or colour button comes first.
    if (auto* colors = dynamic_cast<HxRibbonColorButton*>(button)) {
        auto* palette = new HxColorPalette(colors, menu);
        PaletteAction(menu, palette);
        UINT id = colors->GetID();
        QObject::connect(palette, &HxColorPalette::ColorPicked, menu, [host, colors, id, menu](COLORREF c) {
            colors->SetColor(c);
            menu->close();
            host->ExecuteCommand(id);
        });
    } else if (auto* gallery = dynamic_cast<HxRibbonGallery*>(button); gallery && gallery->GetCount() > 0) {
        auto* palette = new HxGalleryPalette(host, gallery, menu);
        PaletteAction(menu, palette);
        QObject::connect(palette, &HxGalleryPalette::ItemPicked, menu, [host, gallery, menu](int index) {
            UINT cmd = gallery->PickItem(index);
            menu->close();
            host->ExecuteCommand(cmd);
        });
        if (gallery->GetSubItemCount() > 0)
            menu->addSeparator();
    }
    QActionGroup* radios = nullptr;
    for (int i = 0; i < button->GetSubItemCount(); ++i) {
        HxRibbonBaseElement* item = button->GetSubItem(i);
        HxUpdateElementState(item, true);
        if (!item->IsShown())
            continue;
        switch (item->GetKind()) {
        case HxRibbonKind::Separator:
            menu->addSeparator();
            continue;
        case HxRibbonKind::Label: {
            auto* label = new QLabel(Q(HxRibbonBaseElement::StripText(item->GetText())), menu);
            label->setObjectName(QStringLiteral("HxMenuHeading"));
            label->setStyleSheet(QStringLiteral("font-weight: bold; padding: 4px 8px 2px 8px;"));
            PaletteAction(menu, label)->setEnabled(false);
            continue;
        }
        default:
            break;
        }
        auto* sub = dynamic_cast<HxRibbonButton*>(item);
        QString text = Q(item->GetText());
        if (sub && (sub->HasMenu() || sub->GetKind() == HxRibbonKind::ColorButton) &&
            !(sub->GetKind() == HxRibbonKind::Gallery && !sub->HasMenu() &&
              static_cast<HxRibbonGallery*>(sub)->GetCount() == 0)) {
            QMenu* child = menu->addMenu(host->ElementIcon(item, false), text);
            child->setToolTipsVisible(true);
            child->setEnabled(!item->IsDisabled());
            QObject::connect(child, &QMenu::aboutToShow, child,
                             [host, child, sub] { HxFillMenu(host, child, sub); });
            continue;
        }
        QAction* action = menu->addAction(host->ElementIcon(item, false), text);
        action->setToolTip(HxElementToolTip(item));
        action->setStatusTip(HxElementStatusTip(item));
        action->setEnabled(!item->IsDisabled());
        if (item->GetCheck() != 0 || item->GetKind() == HxRibbonKind::CheckBox || item->IsRadio()) {
            action->setCheckable(true);
            action->setChecked(item->IsChecked());
            // Radio items of one menu share a group, which draws them as radio marks.
            if (item->IsRadio()) {
                if (!radios) {
                    radios = new QActionGroup(menu);
                    radios->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
                }
                radios->addAction(action);
            }
        }
        UINT id = item->GetID();
        QObject::connect(action, &QAction::triggered, menu, [host, id] { host->ExecuteCommand(id); });
    }
}

// ---------------------------------------------------------------------------------------------
// Buttons

HxRibbonButtonWidget::HxRibbonButtonWidget(HxRibbonWidgetHost* host, HxRibbonButton* element, Style style,
                                           QWidget* parent)
    : QToolButton(parent), m_host(host), m_element(element), m_style(style) {
    setObjectName(style == Large   ? QStringLiteral("HxRibbonLarge")
                  : style == Small ? QStringLiteral("HxRibbonSmall")
                                   : QStringLiteral("HxRibbonCompact"));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    if (style == Large) {
        setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setIconSize(QSize(32, 32));
    } else if (style == Small) {
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setIconSize(QSize(16, 16));
    } else {
        setToolButtonStyle(Qt::ToolButtonIconOnly);
        setIconSize(QSize(16, 16));
    }
    connect(this, &QToolButton::clicked, this, &HxRibbonButtonWidget::OnClicked);
    Sync();
}

void HxRibbonButtonWidget::Sync() {
    HxRibbonButton* e = m_element;
    bool large = m_style == Large;
    if (auto* colors = dynamic_cast<HxRibbonColorButton*>(e))
        setIcon(ColorButtonIcon(m_host, colors, large ? 32 : 16));
    else
        setIcon(m_host->ElementIcon(e, large));
    QString text = Q(HxRibbonBaseElement::StripText(e->GetText()));
    if (m_style != IconOnly)
        setText(text.isEmpty() ? QString() : text);
    if (m_style != IconOnly && icon().isNull())
        setToolButtonStyle(Qt::ToolButtonTextOnly);
    setToolTip(HxElementToolTip(e));
    setStatusTip(HxElementStatusTip(e));
    setEnabled(!e->IsDisabled());
    SetCheckedLook(this, e->IsChecked());

    bool colorOrGallery =
        e->GetKind() == HxRibbonKind::ColorButton ||
        (e->GetKind() == HxRibbonKind::Gallery && static_cast<HxRibbonGallery*>(e)->GetCount() > 0);
    bool needsMenu = e->HasMenu() || colorOrGallery;
    if (needsMenu && !m_menu) {
        m_menu = new QMenu(this);
        connect(m_menu, &QMenu::aboutToShow, this, &HxRibbonButtonWidget::OnMenuAboutToShow);
        setMenu(m_menu);
    } else if (!needsMenu && m_menu) {
        setMenu(nullptr);
        m_menu->deleteLater();
        m_menu = nullptr;
    }
    if (m_menu) {
        bool split = e->HasDefaultCommand() && HxCommandExists(e->GetID());
        setPopupMode(split ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
    }
}

void HxRibbonButtonWidget::OnClicked() {
    // The look of the check mark follows the update handler, not the click.
    SetCheckedLook(this, m_element->IsChecked());
    if (m_menu && popupMode() == QToolButton::InstantPopup)
        return;
    m_host->ExecuteCommand(m_element->GetID());
}

void HxRibbonButtonWidget::OnMenuAboutToShow() {
    HxFillMenu(m_host, m_menu, m_element);
}

// ---------------------------------------------------------------------------------------------
// Slider

HxRibbonSliderWidget::HxRibbonSliderWidget(HxRibbonWidgetHost* host, HxRibbonSlider* element, QWidget* parent)
    : QWidget(parent), m_host(host), m_element(element) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("HxRibbonSliderLabel"));
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setFixedWidth(element->GetWidth());
    layout->addWidget(m_label);
    layout->addWidget(m_slider);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        if (m_syncing)
            return;
        m_syncing = true;
        m_element->SetPos(value);
        m_syncing = false;
        m_host->ExecuteCommand(m_element->GetID(), true);
    });
    Sync();
}

void HxRibbonSliderWidget::Sync() {
    if (m_syncing)
        return;
    m_syncing = true;
    m_slider->setRange(m_element->GetRangeMin(), m_element->GetRangeMax());
    m_slider->setValue(m_element->GetPos());
    m_syncing = false;
    m_label->setText(Q(HxRibbonBaseElement::StripText(m_element->GetText())));
    m_label->setVisible(!m_element->GetText().IsEmpty());
    setToolTip(HxElementToolTip(m_element));
    setEnabled(!m_element->IsDisabled());
}

// ---------------------------------------------------------------------------------------------
// Palettes

QIcon HxColorSwatchIcon(COLORREF color, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.setBrush(QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    p.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
    return QIcon(pm);
}

HxColorPalette::HxColorPalette(const HxRibbonColorButton* button, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HxColorPalette"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    QToolButton* automatic = nullptr;
    if (button->HasAutomaticButton()) {
        automatic = new QToolButton(this);
        automatic->setObjectName(QStringLiteral("HxColorAutomatic"));
        automatic->setText(Q(button->GetAutomaticButtonLabel()));
        automatic->setToolTip(Q(button->GetAutomaticButtonToolTip()));
        automatic->setIcon(HxColorSwatchIcon(RGB(0, 0, 0), 14));
        automatic->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        automatic->setAutoRaise(!button->IsAutomaticButtonBorder());
        automatic->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        automatic->setCheckable(true);
        automatic->setChecked(button->GetColor() == button->GetAutomaticColor());
        COLORREF autoColor = button->GetAutomaticColor();
        connect(automatic, &QToolButton::clicked, this, [this, autoColor] { emit ColorPicked(autoColor); });
        if (button->IsAutomaticButtonOnTop())
            layout->addWidget(automatic);
    }
    const int columns = std::max(1, button->GetColumns());
    for (int g = 0; g < button->GetGroupCount(); ++g) {
        const HxRibbonColorButton::Group& group = button->GetGroup(g);
        if (!group.name.IsEmpty()) {
            auto* title = new QLabel(Q(group.name), this);
            title->setStyleSheet(QStringLiteral("font-weight: bold;"));
            layout->addWidget(title);
        }
        auto* grid = new QGridLayout;
        grid->setSpacing(2);
        for (size_t i = 0; i < group.colors.size(); ++i) {
            const HxRibbonColorButton::Color& c = group.colors[i];
            auto* swatch = new QToolButton(this);
            swatch->setObjectName(QStringLiteral("HxColorSwatch"));
            swatch->setAutoRaise(true);
            swatch->setIcon(HxColorSwatchIcon(c.color, 16));
            swatch->setIconSize(QSize(16, 16));
            swatch->setFixedSize(22, 22);
            swatch->setToolTip(Q(c.name));
            swatch->setProperty("hxColor", uint(c.color));
            swatch->setCheckable(true);
            swatch->setChecked(c.color == button->GetColor());
            COLORREF value = c.color;
            connect(swatch, &QToolButton::clicked, this, [this, value] { emit ColorPicked(value); });
            grid->addWidget(swatch, int(i) / columns, int(i) % columns);
        }
        layout->addLayout(grid);
    }
    if (automatic && !button->IsAutomaticButtonOnTop())
        layout->addWidget(automatic);
}

HxGalleryPalette::HxGalleryPalette(const HxRibbonWidgetHost* host, const HxRibbonGallery* gallery,
                                   QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("HxGalleryPalette"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    const int columns = std::max(1, gallery->GetIconsInRow());
    for (int i = 0; i < gallery->GetCount(); ++i) {
        const HxRibbonGallery::Item& item = gallery->GetItem(i);
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("HxGalleryItem"));
        b->setAutoRaise(true);
        QString icon = item.icon;
        if (icon.isEmpty() && item.image >= 0) {
            auto it = host->GetImages().find(item.image);
            if (it != host->GetImages().end())
                icon = it->second;
        }
        b->setIcon(HxRibbonIcon(icon.isEmpty() ? QStringLiteral("generic") : icon));
        b->setIconSize(QSize(32, 32));
        b->setText(Q(item.text));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setToolTip(Q(item.text));
        b->setMinimumWidth(56);
        connect(b, &QToolButton::clicked, this, [this, i] { emit ItemPicked(i); });
        grid->addWidget(b, i / columns, i % columns);
    }
}

// ---------------------------------------------------------------------------------------------
// Creation and update by kind

QWidget* HxCreateElementWidget(HxRibbonWidgetHost* host, HxRibbonBaseElement* e, QWidget* parent) {
    QWidget* w = nullptr;
    switch (e->GetKind()) {
    case HxRibbonKind::Label: {
        auto* label = new QLabel(parent);
        label->setObjectName(QStringLiteral("HxRibbonLabel"));
        w = label;
        break;
    }
    case HxRibbonKind::Pane: {
        auto* label = new CStatusPaneLabel(parent);
        label->setObjectName(QStringLiteral("HxStatusPane"));
        w = label;
        break;
    }
    case HxRibbonKind::CheckBox: {
        auto* box = new QCheckBox(parent);
        box->setFocusPolicy(Qt::NoFocus);
        UINT id = e->GetID();
        QObject::connect(box, &QCheckBox::clicked, box, [host, e, box, id] {
            box->setChecked(e->IsChecked());
            host->ExecuteCommand(id);
        });
        w = box;
        break;
    }
    case HxRibbonKind::Separator: {
        auto* line = new QFrame(parent);
        line->setObjectName(QStringLiteral("HxStatusSeparator"));
        line->setFrameShape(QFrame::VLine);
        w = line;
        break;
    }
    case HxRibbonKind::Slider:
        w = new HxRibbonSliderWidget(host, static_cast<HxRibbonSlider*>(e), parent);
        break;
    case HxRibbonKind::Group: {
        auto* box = new QWidget(parent);
        box->setObjectName(QStringLiteral("HxRibbonGroup"));
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(1);
        auto* group = static_cast<HxRibbonButtonsGroup*>(e);
        for (int i = 0; i < group->GetCount(); ++i) {
            HxRibbonBaseElement* item = group->GetButton(i);
            if (auto* b = dynamic_cast<HxRibbonButton*>(item); b && item->GetKind() == HxRibbonKind::Button) {
                auto* bw = new HxRibbonButtonWidget(host, b, HxRibbonButtonWidget::IconOnly, box);
                host->RegisterWidget(item, bw);
                layout->addWidget(bw);
                bw->setVisible(item->IsShown());
            } else {
                QWidget* iw = HxCreateElementWidget(host, item, box);
                layout->addWidget(iw);
            }
        }
        w = box;
        break;
    }
    case HxRibbonKind::Link: {
        auto* b = new HxRibbonButtonWidget(host, static_cast<HxRibbonButton*>(e), HxRibbonButtonWidget::Small,
                                           parent);
        b->setObjectName(QStringLiteral("HxRibbonLink"));
        // A link that leads nowhere (no address set) reads as plain grey text.
        b->setStyleSheet(QStringLiteral("QToolButton { text-decoration: underline; border: none; }"
                                        "QToolButton:disabled { text-decoration: none; color: #9aa0a8; }"));
        b->setCursor(Qt::PointingHandCursor);
        w = b;
        break;
    }
    case HxRibbonKind::Button:
    case HxRibbonKind::Gallery:
    case HxRibbonKind::ColorButton:
        w = new HxRibbonButtonWidget(host, static_cast<HxRibbonButton*>(e),
                                     e->IsLarge() ? HxRibbonButtonWidget::Large : HxRibbonButtonWidget::Small,
                                     parent);
        break;
    }
    host->RegisterWidget(e, w);
    HxSyncElementWidget(host, w, e);
    return w;
}

void HxSyncElementWidget(HxRibbonWidgetHost* host, QWidget* w, HxRibbonBaseElement* e) {
    if (!w)
        return;
    if (auto* b = qobject_cast<HxRibbonButtonWidget*>(w)) {
        b->Sync();
    } else if (auto* s = qobject_cast<HxRibbonSliderWidget*>(w)) {
        s->Sync();
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        box->setText(Q(HxRibbonBaseElement::StripText(e->GetText())));
        box->setChecked(e->IsChecked());
        box->setToolTip(HxElementToolTip(e));
        box->setStatusTip(HxElementStatusTip(e));
        box->setEnabled(!e->IsDisabled());
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(Q(e->GetKind() == HxRibbonKind::Pane ? e->GetText()
                                                            : HxRibbonBaseElement::StripText(e->GetText())));
        if (!e->GetDescription().IsEmpty() || !e->GetToolTipText().IsEmpty())
            label->setToolTip(HxElementToolTip(e));
    } else if (e->GetKind() == HxRibbonKind::Group) {
        e->ForEachChild([host](HxRibbonBaseElement* child) {
            if (QWidget* cw = host->GetElementWidget(child)) {
                HxSyncElementWidget(host, cw, child);
                cw->setVisible(child->IsShown());
            }
        });
    }
}
