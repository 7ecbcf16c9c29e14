// HxStatusBar: the status bar as an ordered list of ribbon elements addressed by index (text panes,
// separators), with extended elements on the right (button groups, links).
#pragma once

#include "app/app_look.h"
#include "app/ribbon_definition.h"
#include "app/ribbon_widgets.h"

#include <QStatusBar>

#include <memory>
#include <vector>

class HxStatusBar : public QStatusBar, public HxRibbonWidgetHost {
    Q_OBJECT
public:
    explicit HxStatusBar(QWidget* parent = nullptr);
    ~HxStatusBar() override;

    // Takes ownership.  label names the element (its tooltip when it has none of its own).
    void AddElement(HxRibbonBaseElement* element, const CString& label = CString());
    void AddSeparator();
    void AddExtendedElement(HxRibbonBaseElement* element, const CString& label = CString());
    void RemoveAll();
    // The status bar part of a ribbon definition, in its order.
    void Load(std::vector<HxRibbonDefinition::StatusElement>& elements);

    int GetCount() const { return int(m_elements.size()); }
    HxRibbonBaseElement* GetElement(int index) const;
    int GetExCount() const { return int(m_extended.size()); }
    HxRibbonBaseElement* GetExElement(int index) const;
    HxRibbonBaseElement* FindElement(UINT id) const;

    // Which commands exist and their states, through the command router.
    void OnIdleUpdate();
    void RecalcLayout();
    void ApplyLook(const HxLook& look);

    // HxRibbonHost
    void OnElementChanged(HxRibbonBaseElement* element, bool structure) override;
    void OnElementRemoved(HxRibbonBaseElement* element) override;

private:
    void Attach(HxRibbonBaseElement* element, const CString& label, bool extended);
    void ShowState(HxRibbonBaseElement* element);

    std::vector<std::unique_ptr<HxRibbonBaseElement>> m_elements;
    std::vector<std::unique_ptr<HxRibbonBaseElement>> m_extended;
};
