// The elements of the ribbon and of the status bar, kept apart from their widgets: buttons with
// sub-items, labels, check boxes, sliders, galleries, the colour button, links and button groups,
// and the panels and categories that hold them.  Every element carries its command id.
#pragma once

#include "platform/afx.h"

#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class HxRibbonBaseElement;
class HxRibbonPanel;
class HxRibbonCategory;

// What shows the elements (the ribbon or the status bar): told when an element changes, so that
// its widget follows, and before an element is deleted.
class HxRibbonHost {
public:
    virtual ~HxRibbonHost() = default;
    // structure: sub-items or panel contents changed, not only texts or states.
    virtual void OnElementChanged(HxRibbonBaseElement* element, bool structure) = 0;
    virtual void OnElementRemoved(HxRibbonBaseElement* element) = 0;
};

enum class HxRibbonKind {
    Button,
    Label,
    CheckBox,
    Slider,
    Gallery,
    ColorButton,
    Link,
    Group,
    Separator,
    Pane
};

class HxRibbonBaseElement {
public:
    explicit HxRibbonBaseElement(UINT id = 0, const CString& text = CString());
    virtual ~HxRibbonBaseElement();
    HxRibbonBaseElement(const HxRibbonBaseElement&) = delete;
    HxRibbonBaseElement& operator=(const HxRibbonBaseElement&) = delete;

    virtual HxRibbonKind GetKind() const = 0;

    UINT GetID() const { return m_nID; }
    void SetID(UINT id) {
        m_nID = id;
        Changed();
    }
    const CString& GetText() const { return m_text; }
    virtual void SetText(const CString& text);
    // The tooltip title; the text (without mnemonic and accelerator) when none was given.
    CString GetToolTipText() const;
    void SetToolTipText(const CString& text);
    bool HasOwnToolTip() const { return !m_toolTip.IsEmpty(); }
    const CString& GetDescription() const { return m_description; }
    void SetDescription(const CString& text);

    // Image numbers of the ribbon's image table (-1: none), and an icon named directly.
    int GetImageIndex(BOOL large) const { return large ? m_largeImage : m_smallImage; }
    void SetImageIndex(int index, BOOL large);
    const QString& GetIconName() const { return m_icon; }
    void SetIconName(const QString& name);

    // Large elements take a whole column of their panel (icon above text); small ones stack.
    bool IsLarge() const { return m_large; }
    void SetLarge(bool large);

    // Shown or hidden by the program (full screen, a command's own choice).
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible);

    // The state of the last idle update: whether a handler exists for the command at all (an
    // element without one is not shown), enabled, checked (0, 1, 2 indeterminate), radio.
    bool IsAvailable() const { return m_available; }
    bool IsShown() const { return m_visible && m_available; }
    bool IsDisabled() const { return !m_enabled; }
    int GetCheck() const { return m_check; }
    bool IsChecked() const { return m_check != 0; }
    bool IsRadio() const { return m_radio; }

    // The element of id: this one or one of its sub-items (depth first).
    virtual HxRibbonBaseElement* FindByID(UINT id);
    virtual void CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found);

    HxRibbonBaseElement* GetParentElement() const { return m_parent; }
    HxRibbonPanel* GetParentPanel() const;
    HxRibbonHost* GetHost() const { return m_host; }

    // Display text: mnemonic markers and the accelerator after a tab removed.
    static CString StripText(const CString& text);

    // Used by the idle update (HxUpdateElementState) and the hosts.
    void SetHost(HxRibbonHost* host);
    void SetParentElement(HxRibbonBaseElement* parent) { m_parent = parent; }
    void SetParentPanel(HxRibbonPanel* panel) { m_panel = panel; }
    // Returns true when anything changed.
    bool ApplyState(bool available, bool enabled, int check, bool radio);
    virtual void ForEachChild(const std::function<void(HxRibbonBaseElement*)>&) {}

protected:
    void Changed(bool structure = false);

    UINT m_nID = 0;
    CString m_text;
    CString m_toolTip;
    CString m_description;
    int m_smallImage = -1;
    int m_largeImage = -1;
    QString m_icon;
    bool m_large = false;
    bool m_visible = true;
    bool m_available = true;
    bool m_enabled = true;
    int m_check = 0;
    bool m_radio = false;

private:
    HxRibbonHost* m_host = nullptr;
    HxRibbonBaseElement* m_parent = nullptr;
    HxRibbonPanel* m_panel = nullptr;
};

// A button: large or small, with sub-items that drop down.  With sub-items and a command of its
// own it is a split button (its main part runs the command); with sub-items and no command (or
// SetDefaultCommand(false)) it is a menu button.
class HxRibbonButton : public HxRibbonBaseElement {
public:
    explicit HxRibbonButton(UINT id = 0, const CString& text = CString(), int smallImage = -1,
                            int largeImage = -1);
    HxRibbonKind GetKind() const override { return HxRibbonKind::Button; }

    // Takes ownership; index -1 appends.
    void AddSubItem(HxRibbonBaseElement* item, int index = -1);
    BOOL RemoveSubItem(int index);
    void RemoveAllSubItems();
    int GetSubItemCount() const { return int(m_subItems.size()); }
    HxRibbonBaseElement* GetSubItem(int index) const;
    int FindSubItemIndexByID(UINT id) const;
    bool HasMenu() const { return !m_subItems.empty(); }

    bool HasDefaultCommand() const { return m_defaultCommand && m_nID != 0; }
    void SetDefaultCommand(bool on = true);

    HxRibbonBaseElement* FindByID(UINT id) override;
    void CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) override;
    void ForEachChild(const std::function<void(HxRibbonBaseElement*)>& fn) override;

private:
    std::vector<std::unique_ptr<HxRibbonBaseElement>> m_subItems;
    bool m_defaultCommand = true;
};

// A text without command: in a panel a caption line, in a menu a group heading.
class HxRibbonLabel : public HxRibbonButton {
public:
    explicit HxRibbonLabel(const CString& text) : HxRibbonButton(0, text) {}
    HxRibbonKind GetKind() const override { return HxRibbonKind::Label; }
};

// A check box; its check mark comes from the command's update handler.
class HxRibbonCheckBox : public HxRibbonButton {
public:
    HxRibbonCheckBox(UINT id, const CString& text) : HxRibbonButton(id, text) {}
    HxRibbonKind GetKind() const override { return HxRibbonKind::CheckBox; }
};

// A separator between menu items or status bar elements.
class HxRibbonSeparator : public HxRibbonBaseElement {
public:
    HxRibbonSeparator() = default;
    HxRibbonKind GetKind() const override { return HxRibbonKind::Separator; }
};

// A horizontal slider; moving it runs its command, which reads GetPos.  SetPos from the program
// runs nothing.
class HxRibbonSlider : public HxRibbonBaseElement {
public:
    explicit HxRibbonSlider(UINT id = 0, int width = 100);
    HxRibbonKind GetKind() const override { return HxRibbonKind::Slider; }
    void SetRange(int min, int max);
    int GetRangeMin() const { return m_min; }
    int GetRangeMax() const { return m_max; }
    void SetPos(int pos, BOOL redraw = TRUE);
    int GetPos() const { return m_pos; }
    int GetWidth() const { return m_width; }

private:
    int m_min = 0, m_max = 100, m_pos = 0, m_width = 100;
};

// A button that opens a palette of icon items (then its sub-items, as a menu).  Picking an item
// with a command of its own runs that; otherwise the gallery's command runs with the item as the
// last selected one.
class HxRibbonGallery : public HxRibbonButton {
public:
    struct Item {
        UINT id = 0;
        CString text;
        QString icon;
        int image = -1;
    };
    HxRibbonGallery(UINT id = 0, const CString& text = CString(), int smallImage = -1, int largeImage = -1);
    HxRibbonKind GetKind() const override { return HxRibbonKind::Gallery; }

    void AddItem(const Item& item);
    void RemoveItems();
    int GetCount() const { return int(m_items.size()); }
    const Item& GetItem(int index) const { return m_items.at(size_t(index)); }
    int GetIconsInRow() const { return m_columns; }
    void SetIconsInRow(int columns);
    int GetSelectedItem() const { return m_selected; }
    void SelectItem(int index) { m_selected = index; }
    // The command to run when item `index` is picked (after which GetSelectedItem is `index`).
    UINT PickItem(int index);

    HxRibbonBaseElement* FindByID(UINT id) override;

private:
    std::vector<Item> m_items;
    int m_columns = 4;
    int m_selected = -1;
};

// The colour button: groups of named colours in columns, an optional automatic button.  Picking a
// colour sets it and runs the button's command, which reads GetColor; the automatic button gives
// the automatic colour (all bits set, by convention).
class HxRibbonColorButton : public HxRibbonGallery {
public:
    struct Color {
        COLORREF color;
        CString name;
    };
    struct Group {
        CString name;
        std::vector<Color> colors;
    };
    explicit HxRibbonColorButton(UINT id = 0, const CString& text = CString(), int smallImage = -1,
                                 int largeImage = -1, COLORREF color = RGB(0, 0, 0));
    HxRibbonKind GetKind() const override { return HxRibbonKind::ColorButton; }

    void RemoveAllColorGroups();
    void SetColumns(int columns);
    int GetColumns() const { return m_columns; }
    void EnableAutomaticButton(const CString& label, COLORREF automatic, BOOL enable = TRUE,
                               const CString& toolTip = CString(), BOOL onTop = TRUE,
                               BOOL drawBorder = FALSE);
    bool HasAutomaticButton() const { return m_autoEnabled; }
    const CString& GetAutomaticButtonLabel() const { return m_autoLabel; }
    const CString& GetAutomaticButtonToolTip() const { return m_autoToolTip; }
    COLORREF GetAutomaticColor() const { return m_autoColor; }
    bool IsAutomaticButtonOnTop() const { return m_autoOnTop; }
    bool IsAutomaticButtonBorder() const { return m_autoBorder; }

    // Adds a group of colours; their names are registered as the colours' tooltip names.
    void AddColorsGroup(const CString& name, const std::vector<Color>& colors);
    int GetGroupCount() const { return int(m_groups.size()); }
    const Group& GetGroup(int index) const { return m_groups.at(size_t(index)); }
    int GetColorCount() const;

    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color);
    // The registered name of a colour ("" when it has none).
    CString GetColorName(COLORREF color) const;
    void SetColorName(COLORREF color, const CString& name);

private:
    std::vector<Group> m_groups;
    std::vector<std::pair<COLORREF, CString>> m_names;
    int m_columns = 8;
    COLORREF m_color;
    bool m_autoEnabled = false;
    CString m_autoLabel, m_autoToolTip;
    COLORREF m_autoColor = 0xFFFFFFFF;
    bool m_autoOnTop = true, m_autoBorder = false;
};

// A link: its command opens the address.
class HxRibbonLinkCtrl : public HxRibbonButton {
public:
    HxRibbonLinkCtrl(UINT id, const CString& text, const CString& link)
        : HxRibbonButton(id, text), m_link(link) {}
    HxRibbonKind GetKind() const override { return HxRibbonKind::Link; }
    const CString& GetLink() const { return m_link; }
    void SetLink(const CString& link) {
        m_link = link;
        Changed();
    }

private:
    CString m_link;
};

// A row of small image buttons (its sub-items), shown side by side.
class HxRibbonButtonsGroup : public HxRibbonButton {
public:
    explicit HxRibbonButtonsGroup(UINT id = 0) : HxRibbonButton(id) { SetDefaultCommand(false); }
    HxRibbonKind GetKind() const override { return HxRibbonKind::Group; }
    void AddButton(HxRibbonBaseElement* button) { AddSubItem(button); }
    int GetCount() const { return GetSubItemCount(); }
    HxRibbonBaseElement* GetButton(int index) const { return GetSubItem(index); }
};

// A text pane of the status bar, with the label naming it.
class HxRibbonStatusBarPane : public HxRibbonButton {
public:
    HxRibbonStatusBarPane(UINT id, const CString& text, const CString& label = CString())
        : HxRibbonButton(id, text), m_label(label) {}
    HxRibbonKind GetKind() const override { return HxRibbonKind::Pane; }
    const CString& GetLabel() const { return m_label; }

private:
    CString m_label;
};

// A panel: a captioned group of elements in one category.
class HxRibbonPanel {
public:
    HxRibbonPanel(HxRibbonCategory* category, const CString& name, const QString& icon = QString());
    ~HxRibbonPanel();
    HxRibbonPanel(const HxRibbonPanel&) = delete;
    HxRibbonPanel& operator=(const HxRibbonPanel&) = delete;

    const CString& GetName() const { return m_name; }
    const QString& GetIconName() const { return m_icon; }
    HxRibbonCategory* GetParentCategory() const { return m_category; }

    // Takes ownership; index -1 appends.
    void Add(HxRibbonBaseElement* element, int index = -1);
    BOOL Remove(int index);
    int GetCount() const { return int(m_elements.size()); }
    HxRibbonBaseElement* GetElement(int index) const;
    HxRibbonBaseElement* FindByID(UINT id) const;
    void CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) const;
    // Shown when one of its elements is.
    bool IsShown() const;
    HxRibbonHost* GetHost() const;

private:
    HxRibbonCategory* m_category;
    CString m_name;
    QString m_icon;
    std::vector<std::unique_ptr<HxRibbonBaseElement>> m_elements;
};

// A category: one tab of the ribbon, a row of panels.
class HxRibbonCategory {
public:
    HxRibbonCategory(HxRibbonHost* host, const CString& name);
    ~HxRibbonCategory();
    HxRibbonCategory(const HxRibbonCategory&) = delete;
    HxRibbonCategory& operator=(const HxRibbonCategory&) = delete;

    const CString& GetName() const { return m_name; }
    HxRibbonPanel* AddPanel(const CString& name, const QString& icon = QString());
    int GetPanelCount() const { return int(m_panels.size()); }
    HxRibbonPanel* GetPanel(int index) const;
    HxRibbonBaseElement* FindByID(UINT id) const;
    void CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) const;

    // Shown by the program's choice, and when one of its panels has something to show.
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible);
    bool IsShown() const;
    HxRibbonHost* GetHost() const { return m_host; }

private:
    HxRibbonHost* m_host;
    CString m_name;
    std::vector<std::unique_ptr<HxRibbonPanel>> m_panels;
    bool m_visible = true;
};

// The idle update of one element and its sub-items: whether its command exists, then (when
// withCmdUI) its update handler through the command router.  Containers without a command of
// their own are shown while one of their sub-items is.  Returns true when anything changed.
bool HxUpdateElementState(HxRibbonBaseElement* element, bool withCmdUI);
// Whether some target of the command router handles or updates id.
bool HxCommandExists(UINT id);
// For looking at the layout: shows elements whose command has no handler yet (disabled).
void HxSetShowUnhandledCommands(bool show);
// Runs the command of an element through the router, unless its update handler disables it now.
BOOL HxExecuteRibbonCommand(UINT id);
