// The widgets that show ribbon elements: buttons (large, small, split, menu), check boxes, labels,
// sliders, galleries and the colour button with their palettes, links and button groups, and the
// menus built from sub-items.  The ribbon and the status bar share them through HxRibbonWidgetHost.
#pragma once

#include "app/ribbon_elements.h"

#include <QIcon>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <map>

class QMenu;
class QSlider;
class QLabel;

// A host that shows elements as widgets: keeps element -> widget, resolves images and runs the
// commands of clicked elements (posted, so that a command may remove the element it came from).
class HxRibbonWidgetHost : public HxRibbonHost {
public:
    ~HxRibbonWidgetHost() override;

    // Image number -> icon name.
    void SetImages(const std::map<int, QString>& images) { m_images = images; }
    const std::map<int, QString>& GetImages() const { return m_images; }
    QIcon ElementIcon(const HxRibbonBaseElement* element, bool large) const;
    QString ElementIconName(const HxRibbonBaseElement* element, bool large) const;

    // Runs id through the command router after the current event; tests may replace the sink.
    // The drop-downs the element was in close first, unless keepDropDowns (a slider being moved).
    void ExecuteCommand(UINT id, bool keepDropDowns = false);
    void SetCommandSink(std::function<void(UINT)> sink) { m_sink = std::move(sink); }

    QWidget* GetElementWidget(const HxRibbonBaseElement* element) const;
    void RegisterWidget(const HxRibbonBaseElement* element, QWidget* widget);
    // Drops (and deletes) the widgets of element and of its sub-items.
    void ForgetWidgets(HxRibbonBaseElement* element);

protected:
    virtual void BeforeCommand() {}
    std::map<const HxRibbonBaseElement*, QPointer<QWidget>> m_widgets;

private:
    std::map<int, QString> m_images;
    std::function<void(UINT)> m_sink;
};

// The tooltip of an element: its title in bold, its description below.
QString HxElementToolTip(const HxRibbonBaseElement* element);
// The element's prompt for the status bar while the pointer is on it (its description), empty when
// it has none.
QString HxElementStatusTip(const HxRibbonBaseElement* element);

// Fills menu from the sub-items of button (updating their states first).
void HxFillMenu(HxRibbonWidgetHost* host, QMenu* menu, HxRibbonButton* button);

// Creates the widget of an element (registered with the host) and brings it up to date.
QWidget* HxCreateElementWidget(HxRibbonWidgetHost* host, HxRibbonBaseElement* element, QWidget* parent);
// Brings an element's widget up to date with the element.
void HxSyncElementWidget(HxRibbonWidgetHost* host, QWidget* widget, HxRibbonBaseElement* element);

// A button of the ribbon or the status bar.
class HxRibbonButtonWidget : public QToolButton {
    Q_OBJECT
public:
    enum Style { Large, Small, IconOnly };
    HxRibbonButtonWidget(HxRibbonWidgetHost* host, HxRibbonButton* element, Style style, QWidget* parent);
    void Sync();
    HxRibbonButton* GetElement() const { return m_element; }
    QMenu* GetMenu() const { return m_menu; }

private:
    void OnClicked();
    void OnMenuAboutToShow();

    HxRibbonWidgetHost* m_host;
    HxRibbonButton* m_element;
    Style m_style;
    QMenu* m_menu = nullptr;
};

// A slider with its caption.
class HxRibbonSliderWidget : public QWidget {
    Q_OBJECT
public:
    HxRibbonSliderWidget(HxRibbonWidgetHost* host, HxRibbonSlider* element, QWidget* parent);
    void Sync();
    QSlider* GetSlider() const { return m_slider; }

private:
    HxRibbonWidgetHost* m_host;
    HxRibbonSlider* m_element;
    QLabel* m_label;
    QSlider* m_slider;
    bool m_syncing = false;
};

// The drop-down palette of a colour button: the automatic button, then the colour groups.
class HxColorPalette : public QWidget {
    Q_OBJECT
public:
    explicit HxColorPalette(const HxRibbonColorButton* button, QWidget* parent = nullptr);
signals:
    void ColorPicked(COLORREF color);
};

// The drop-down palette of a gallery: its items as icon buttons in rows.
class HxGalleryPalette : public QWidget {
    Q_OBJECT
public:
    HxGalleryPalette(const HxRibbonWidgetHost* host, const HxRibbonGallery* gallery,
                     QWidget* parent = nullptr);
signals:
    void ItemPicked(int index);
};

// A colour swatch: the colour in a thin frame.
QIcon HxColorSwatchIcon(COLORREF color, int size);
