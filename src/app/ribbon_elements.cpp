// The ribbon's elements, panels and categories, and their idle update through the command router.
#include "app/ribbon_elements.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// HxRibbonBaseElement

HxRibbonBaseElement::HxRibbonBaseElement(UINT id, const CString& text) : m_nID(id), m_text(text) {}

HxRibbonBaseElement::~HxRibbonBaseElement() = default;

void HxRibbonBaseElement::Changed(bool structure) {
    if (m_host)
        m_host->OnElementChanged(this, structure);
}

void HxRibbonBaseElement::SetText(const CString& text) {
    if (text == m_text)
        return;
    m_text = text;
    Changed();
}

CString HxRibbonBaseElement::GetToolTipText() const {
    return m_toolTip.IsEmpty() ? StripText(m_text) : m_toolTip;
}

void HxRibbonBaseElement::SetToolTipText(const CString& text) {
    m_toolTip = text;
    Changed();
}

void HxRibbonBaseElement::SetDescription(const CString& text) {
    m_description = text;
    Changed();
}

void HxRibbonBaseElement::SetImageIndex(int index, BOOL large) {
    (large ? m_largeImage : m_smallImage) = index;
    Changed();
}

void HxRibbonBaseElement::SetIconName(const QString& name) {
    m_icon = name;
    Changed();
}

void HxRibbonBaseElement::SetLarge(bool large) {
    if (m_large == large)
        return;
    m_large = large;
    Changed(true);
}

void HxRibbonBaseElement::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    Changed(true);
}

HxRibbonBaseElement* HxRibbonBaseElement::FindByID(UINT id) {
    return id != 0 && m_nID == id ? this : nullptr;
}

void HxRibbonBaseElement::CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) {
    if (id != 0 && m_nID == id)
        found.push_back(this);
}

HxRibbonPanel* HxRibbonBaseElement::GetParentPanel() const {
    const HxRibbonBaseElement* e = this;
    while (e->m_parent)
        e = e->m_parent;
    return e->m_panel;
}

void HxRibbonBaseElement::SetHost(HxRibbonHost* host) {
    m_host = host;
    ForEachChild([host](HxRibbonBaseElement* child) { child->SetHost(host); });
}

bool HxRibbonBaseElement::ApplyState(bool available, bool enabled, int check, bool radio) {
    bool shownChanged = available != m_available;
    bool changed = shownChanged || enabled != m_enabled || check != m_check || radio != m_radio;
    m_available = available;
    m_enabled = enabled;
    m_check = check;
    m_radio = radio;
    if (changed)
        Changed(shownChanged);
    return changed;
}

CString HxRibbonBaseElement::StripText(const CString& text) {
    std::u16string s(text.GetString());
    if (size_t tab = s.find(u'\t'); tab != std::u16string::npos)
        s.resize(tab);
    std::u16string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        // "蓝色(&B)": a bracketed mnemonic after Chinese text goes as a whole.
        if (c == u'(' && i + 3 < s.size() && s[i + 1] == u'&' && s[i + 2] < 0x80 && s[i + 2] != u'&' &&
            s[i + 3] == u')') {
            i += 3;
            continue;
        }
        if (c == u'&') {
            if (i + 1 < s.size() && s[i + 1] == u'&')
                out += u'&', ++i;
            continue;
        }
        out += c;
    }
    return CString(out);
}

// ---------------------------------------------------------------------------------------------
// HxRibbonButton

HxRibbonButton::HxRibbonButton(UINT id, const CString& text, int smallImage, int largeImage)
    : HxRibbonBaseElement(id, text) {
    m_smallImage = smallImage;
    m_largeImage = largeImage;
    m_large = largeImage >= 0;
}

void HxRibbonButton::AddSubItem(HxRibbonBaseElement* item, int index) {
    if (!item)
        return;
    item->SetParentElement(this);
    item->SetHost(GetHost());
    if (index < 0 || index > int(m_subItems.size()))
        index = int(m_subItems.size());
    m_subItems.insert(m_subItems.begin() + index, std::unique_ptr<HxRibbonBaseElement>(item));
    Changed(true);
}

BOOL HxRibbonButton::RemoveSubItem(int index) {
    if (index < 0 || index >= int(m_subItems.size()))
        return FALSE;
    if (GetHost())
        GetHost()->OnElementRemoved(m_subItems[size_t(index)].get());
    m_subItems.erase(m_subItems.begin() + index);
    Changed(true);
    return TRUE;
}

void HxRibbonButton::RemoveAllSubItems() {
    if (m_subItems.empty())
        return;
    if (GetHost())
        for (auto& item : m_subItems)
            GetHost()->OnElementRemoved(item.get());
    m_subItems.clear();
    Changed(true);
}

HxRibbonBaseElement* HxRibbonButton::GetSubItem(int index) const {
    return index >= 0 && index < int(m_subItems.size()) ? m_subItems[size_t(index)].get() : nullptr;
}

int HxRibbonButton::FindSubItemIndexByID(UINT id) const {
    for (size_t i = 0; i < m_subItems.size(); ++i)
        if (m_subItems[i]->GetID() == id)
            return int(i);
    return -1;
}

void HxRibbonButton::SetDefaultCommand(bool on) {
    m_defaultCommand = on;
    Changed();
}

HxRibbonBaseElement* HxRibbonButton::FindByID(UINT id) {
    if (HxRibbonBaseElement* self = HxRibbonBaseElement::FindByID(id))
        return self;
    for (auto& item : m_subItems)
        if (HxRibbonBaseElement* found = item->FindByID(id))
            return found;
    return nullptr;
}

void HxRibbonButton::CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) {
    HxRibbonBaseElement::CollectByID(id, found);
    for (auto& item : m_subItems)
        item->CollectByID(id, found);
}

void HxRibbonButton::ForEachChild(const std::function<void(HxRibbonBaseElement*)>& fn) {
    for (auto& item : m_subItems)
        fn(item.get());
}

// ---------------------------------------------------------------------------------------------
// Slider, gallery, colour button

HxRibbonSlider::HxRibbonSlider(UINT id, int width) : HxRibbonBaseElement(id), m_width(width) {}

void HxRibbonSlider::SetRange(int min, int max) {
    m_min = std::min(min, max);
    m_max = std::max(min, max);
    m_pos = std::clamp(m_pos, m_min, m_max);
    Changed();
}

void HxRibbonSlider::SetPos(int pos, BOOL) {
    pos = std::clamp(pos, m_min, m_max);
    if (pos == m_pos)
        return;
    m_pos = pos;
    Changed();
}

HxRibbonGallery::HxRibbonGallery(UINT id, const CString& text, int smallImage, int largeImage)
    : HxRibbonButton(id, text, smallImage, largeImage) {}

void HxRibbonGallery::AddItem(const Item& item) {
    m_items.push_back(item);
    Changed(true);
}

void HxRibbonGallery::RemoveItems() {
    m_items.clear();
    m_selected = -1;
    Changed(true);
}

void HxRibbonGallery::SetIconsInRow(int columns) {
    m_columns = std::max(1, columns);
    Changed(true);
}

UINT HxRibbonGallery::PickItem(int index) {
    if (index < 0 || index >= int(m_items.size()))
        return 0;
    m_selected = index;
    return m_items[size_t(index)].id != 0 ? m_items[size_t(index)].id : GetID();
}

HxRibbonBaseElement* HxRibbonGallery::FindByID(UINT id) {
    return HxRibbonButton::FindByID(id);
}

HxRibbonColorButton::HxRibbonColorButton(UINT id, const CString& text, int smallImage, int largeImage,
                                         COLORREF color)
    : HxRibbonGallery(id, text, smallImage, largeImage), m_color(color) {}

void HxRibbonColorButton::RemoveAllColorGroups() {
    m_groups.clear();
    Changed(true);
}

void HxRibbonColorButton::SetColumns(int columns) {
    m_columns = std::max(1, columns);
    Changed(true);
}

void HxRibbonColorButton::EnableAutomaticButton(const CString& label, COLORREF automatic, BOOL enable,
                                                const CString& toolTip, BOOL onTop, BOOL drawBorder) {
    m_autoEnabled = enable != 0;
    m_autoLabel = label;
    m_autoColor = automatic;
    m_autoToolTip = toolTip;
    m_autoOnTop = onTop != 0;
    m_autoBorder = drawBorder != 0;
    Changed(true);
}

void HxRibbonColorButton::AddColorsGroup(const CString& name, const std::vector<Color>& colors) {
    m_groups.push_back({name, colors});
    for (const Color& c : colors)
        if (!c.name.IsEmpty())
            SetColorName(c.color, c.name);
    Changed(true);
}

int HxRibbonColorButton::GetColorCount() const {
    int n = 0;
    for (const Group& g : m_groups)
        n += int(g.colors.size());
    return n;
}

void HxRibbonColorButton::SetColor(COLORREF color) {
    if (color == m_color)
        return;
    m_color = color;
    Changed();
}

CString HxRibbonColorButton::GetColorName(COLORREF color) const {
    for (const auto& [c, name] : m_names)
        if (c == color)
            return name;
    return CString();
}

void HxRibbonColorButton::SetColorName(COLORREF color, const CString& name) {
    for (auto& entry : m_names)
        if (entry.first == color) {
            entry.second = name;
            return;
        }
    m_names.emplace_back(color, name);
}

// ---------------------------------------------------------------------------------------------
// Panels and categories

HxRibbonPanel::HxRibbonPanel(HxRibbonCategory* category, const CString& name, const QString& icon)
    : m_category(category), m_name(name), m_icon(icon) {}

HxRibbonPanel::~HxRibbonPanel() = default;

HxRibbonHost* HxRibbonPanel::GetHost() const {
    return m_category ? m_category->GetHost() : nullptr;
}

void HxRibbonPanel::Add(HxRibbonBaseElement* element, int index) {
    if (!element)
        return;
    element->SetParentPanel(this);
    element->SetHost(GetHost());
    if (index < 0 || index > int(m_elements.size()))
        index = int(m_elements.size());
    m_elements.insert(m_elements.begin() + index, std::unique_ptr<HxRibbonBaseElement>(element));
    if (GetHost())
        GetHost()->OnElementChanged(element, true);
}

BOOL HxRibbonPanel::Remove(int index) {
    if (index < 0 || index >= int(m_elements.size()))
        return FALSE;
    std::unique_ptr<HxRibbonBaseElement> gone = std::move(m_elements[size_t(index)]);
    m_elements.erase(m_elements.begin() + index);
    if (GetHost())
        GetHost()->OnElementRemoved(gone.get());
    return TRUE;
}

HxRibbonBaseElement* HxRibbonPanel::GetElement(int index) const {
    return index >= 0 && index < int(m_elements.size()) ? m_elements[size_t(index)].get() : nullptr;
}

HxRibbonBaseElement* HxRibbonPanel::FindByID(UINT id) const {
    for (auto& e : m_elements)
        if (HxRibbonBaseElement* found = e->FindByID(id))
            return found;
    return nullptr;
}

void HxRibbonPanel::CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) const {
    for (auto& e : m_elements)
        e->CollectByID(id, found);
}

bool HxRibbonPanel::IsShown() const {
    return std::any_of(m_elements.begin(), m_elements.end(), [](const auto& e) {
        return e->IsShown() && e->GetKind() != HxRibbonKind::Separator && e->GetKind() != HxRibbonKind::Label;
    });
}

HxRibbonCategory::HxRibbonCategory(HxRibbonHost* host, const CString& name) : m_host(host), m_name(name) {}

HxRibbonCategory::~HxRibbonCategory() = default;

HxRibbonPanel* HxRibbonCategory::AddPanel(const CString& name, const QString& icon) {
    m_panels.push_back(std::make_unique<HxRibbonPanel>(this, name, icon));
    return m_panels.back().get();
}

HxRibbonPanel* HxRibbonCategory::GetPanel(int index) const {
    return index >= 0 && index < int(m_panels.size()) ? m_panels[size_t(index)].get() : nullptr;
}

HxRibbonBaseElement* HxRibbonCategory::FindByID(UINT id) const {
    for (auto& p : m_panels)
        if (HxRibbonBaseElement* found = p->FindByID(id))
            return found;
    return nullptr;
}

void HxRibbonCategory::CollectByID(UINT id, std::vector<HxRibbonBaseElement*>& found) const {
    for (auto& p : m_panels)
        p->CollectByID(id, found);
}

void HxRibbonCategory::SetVisible(bool visible) {
    m_visible = visible;
}

bool HxRibbonCategory::IsShown() const {
    return m_visible &&
           std::any_of(m_panels.begin(), m_panels.end(), [](const auto& p) { return p->IsShown(); });
}

// ---------------------------------------------------------------------------------------------
// Idle update and execution

namespace {
bool g_showUnhandled = false;
}

void HxSetShowUnhandledCommands(bool show) {
    g_showUnhandled = show;
}

bool HxCommandExists(UINT id) {
    if (id == 0)
        return false;
    for (CCmdTarget* t : AfxGetCommandRouter().Chain())
        if (t->HasCommandHandler(id) || t->HasUpdateHandler(id))
            return true;
    return false;
}

bool HxUpdateElementState(HxRibbonBaseElement* e, bool withCmdUI) {
    bool changed = false;
    bool anyChildShown = false;
    // Sub-items of groups are on show with their group; those of menus are updated when the menu
    // opens, here only whether they exist.
    bool childCmdUI = withCmdUI && e->GetKind() == HxRibbonKind::Group;
    e->ForEachChild([&](HxRibbonBaseElement* child) {
        changed |= HxUpdateElementState(child, childCmdUI);
        HxRibbonKind k = child->GetKind();
        if (child->IsShown() && k != HxRibbonKind::Separator && k != HxRibbonKind::Label)
            anyChildShown = true;
    });

    HxRibbonKind kind = e->GetKind();
    UINT id = e->GetID();
    bool exists = HxCommandExists(id);
    bool available;
    if (kind == HxRibbonKind::Separator || kind == HxRibbonKind::Label || kind == HxRibbonKind::Pane)
        available = true;
    else if (id == 0)
        available = anyChildShown;
    else
        available = exists || anyChildShown;

    bool enabled = true;
    int check = 0;
    bool radio = false;
    if (!available && g_showUnhandled && kind != HxRibbonKind::Group) {
        available = true;
        enabled = false;
    }
    if (available && exists && withCmdUI) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        enabled = ui.m_enabled;
        check = ui.m_check;
        radio = ui.m_radio;
        if (ui.m_textSet && ui.m_text != e->GetText()) {
            e->SetText(ui.m_text);
            changed = true;
        }
    } else if (available && exists) {
        enabled = !e->IsDisabled();
        check = e->GetCheck();
        radio = e->IsRadio();
    }
    changed |= e->ApplyState(available, enabled, check, radio);
    return changed;
}

BOOL HxExecuteRibbonCommand(UINT id) {
    if (id == 0)
        return FALSE;
    CCmdUI ui;
    ui.m_nID = id;
    AfxGetCommandRouter().Update(ui);
    if (!ui.m_enabled)
        return FALSE;
    return AfxGetCommandRouter().Execute(id);
}
