// The status bar: panes and separators on the left, extended elements on the right.
#include "app/status_bar.h"

#include <QLabel>

#include <algorithm>

HxStatusBar::HxStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("HxStatusBar"));
    setSizeGripEnabled(false);
    ApplyLook(HxGetLook(HxGetCurrentLook()));
}

HxStatusBar::~HxStatusBar() {
    m_widgets.clear();
}

void HxStatusBar::Attach(HxRibbonBaseElement* e, const CString& label, bool extended) {
    if (!e)
        return;
    e->SetHost(this);
    if (!label.IsEmpty() && !e->HasOwnToolTip())
        e->SetToolTipText(label);
    QWidget* w = HxCreateElementWidget(this, e, this);
    // A pane narrows with the bar, its text cut short.  The first one, which shows the prompts, gives
    // way first: the later ones (the current page) keep the width of the text they start with.
    if (e->GetKind() == HxRibbonKind::Pane && !extended) {
        const bool first = std::none_of(m_elements.begin(), m_elements.end() - 1, [](const auto& other) {
            return other->GetKind() == HxRibbonKind::Pane;
        });
        if (!first) {
            w->ensurePolished();
            w->setMinimumWidth(w->sizeHint().width());
        }
    }
    if (extended)
        addPermanentWidget(w);
    else
        addWidget(w);
    ShowState(e);
}

void HxStatusBar::AddElement(HxRibbonBaseElement* e, const CString& label) {
    m_elements.emplace_back(e);
    Attach(e, label, false);
}

void HxStatusBar::AddSeparator() {
    AddElement(new HxRibbonSeparator);
}

void HxStatusBar::AddExtendedElement(HxRibbonBaseElement* e, const CString& label) {
    m_extended.emplace_back(e);
    Attach(e, label, true);
}

void HxStatusBar::RemoveAll() {
    for (auto& e : m_elements)
        ForgetWidgets(e.get());
    for (auto& e : m_extended)
        ForgetWidgets(e.get());
    m_elements.clear();
    m_extended.clear();
}

void HxStatusBar::Load(std::vector<HxRibbonDefinition::StatusElement>& elements) {
    RemoveAll();
    for (auto& s : elements) {
        HxRibbonBaseElement* e = s.element.release();
        CString label = e->GetKind() == HxRibbonKind::Pane
                            ? static_cast<HxRibbonStatusBarPane*>(e)->GetLabel()
                            : CString();
        if (s.extended)
            AddExtendedElement(e, label);
        else
            AddElement(e, label);
    }
    elements.clear();
}

HxRibbonBaseElement* HxStatusBar::GetElement(int index) const {
    return index >= 0 && index < GetCount() ? m_elements[size_t(index)].get() : nullptr;
}

HxRibbonBaseElement* HxStatusBar::GetExElement(int index) const {
    return index >= 0 && index < GetExCount() ? m_extended[size_t(index)].get() : nullptr;
}

HxRibbonBaseElement* HxStatusBar::FindElement(UINT id) const {
    for (const auto* list : {&m_elements, &m_extended})
        for (const auto& e : *list)
            if (HxRibbonBaseElement* found = e->FindByID(id))
                return found;
    return nullptr;
}

void HxStatusBar::ShowState(HxRibbonBaseElement* e) {
    if (QWidget* w = GetElementWidget(e))
        w->setVisible(e->IsShown());
}

void HxStatusBar::OnIdleUpdate() {
    for (const auto* list : {&m_elements, &m_extended})
        for (const auto& e : *list)
            HxUpdateElementState(e.get(), true);
    RecalcLayout();
}

void HxStatusBar::RecalcLayout() {
    for (const auto* list : {&m_elements, &m_extended})
        for (const auto& e : *list) {
            if (!GetElementWidget(e.get())) {
                // A group whose buttons changed: make its widget again in its place.
                QWidget* w = HxCreateElementWidget(this, e.get(), this);
                if (list == &m_extended)
                    addPermanentWidget(w);
                else
                    insertWidget(int(&e - &m_elements[0]), w);
            }
            ShowState(e.get());
        }
}

void HxStatusBar::OnElementChanged(HxRibbonBaseElement* e, bool structure) {
    HxRibbonBaseElement* top = e;
    while (top->GetParentElement())
        top = top->GetParentElement();
    if (structure && top->GetKind() == HxRibbonKind::Group) {
        ForgetWidgets(top);
        QMetaObject::invokeMethod(
            this, [this] { RecalcLayout(); }, Qt::QueuedConnection);
        return;
    }
    if (QWidget* w = GetElementWidget(e))
        HxSyncElementWidget(this, w, e);
    if (e->GetParentElement() == nullptr)
        ShowState(e);
}

void HxStatusBar::OnElementRemoved(HxRibbonBaseElement* e) {
    ForgetWidgets(e);
}

void HxStatusBar::ApplyLook(const HxLook& look) {
    setStyleSheet(HxStatusBarStyleSheet(look));
    for (auto& [element, widget] : m_widgets)
        if (widget)
            HxSyncElementWidget(this, widget, const_cast<HxRibbonBaseElement*>(element));
}
