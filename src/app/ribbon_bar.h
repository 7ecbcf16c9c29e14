// HxRibbon: the ribbon bar.  Category tabs (after the application button) over the active category's
// panels, each a captioned group of elements or, in a narrow window, a button dropping it down.
// Built from the ribbon definition; refreshed through the command router when the loop goes idle.
#pragma once

#include "app/app_look.h"
#include "app/ribbon_definition.h"
#include "app/ribbon_widgets.h"

#include <QWidget>

#include <memory>
#include <set>
#include <vector>

class QTabBar;
class QStackedWidget;
class QToolButton;
class QFrame;
class QMenu;
class HxRibbonPanelWidget;

class HxRibbon : public QWidget, public HxRibbonWidgetHost {
    Q_OBJECT
public:
    explicit HxRibbon(QWidget* parent = nullptr);
    ~HxRibbon() override;

    // Builds the ribbon from a definition file or resource, replacing what it held; on failure
    // the ribbon stays as it was and *error says why.
    bool LoadFromResource(const QString& path = QString::fromLatin1(HX_RIBBON_RESOURCE),
                          QString* error = nullptr, HxRibbonDefinition* rest = nullptr);
    // Takes the categories, the application button and the image table of a parsed definition.
    void Load(HxRibbonDefinition& definition);

    int GetCategoryCount() const { return int(m_categories.size()); }
    HxRibbonCategory* GetCategory(int index) const;
    int GetCategoryIndex(const HxRibbonCategory* category) const;
    HxRibbonCategory* AddCategory(const CString& name);
    HxRibbonCategory* GetActiveCategory() const;
    BOOL SetActiveCategory(HxRibbonCategory* category);
    HxRibbonButton* GetApplicationButton() const { return m_application.get(); }

    // The first element of id (categories in order, then the application menu).
    HxRibbonBaseElement* FindByID(UINT id, BOOL visibleOnly = FALSE) const;
    template <class T> T* FindByIDAs(UINT id) const { return dynamic_cast<T*>(FindByID(id)); }
    void GetElementsByID(UINT id, std::vector<HxRibbonBaseElement*>& found) const;

    // The minimised ribbon shows only its tabs; a click on a tab drops the panels down.
    bool IsMinimized() const { return m_minimized; }
    void SetMinimized(bool minimized);
    void ToggleMinimizeState() { SetMinimized(!m_minimized); }

    // The idle update: which commands exist, the states of the active category's elements
    // through their update handlers, then the layout.
    void OnIdleUpdate();
    // Lays out the panels whose contents changed.
    void RecalcLayout();

    void ApplyLook(const HxLook& look);
    QTabBar* GetTabBar() const { return m_tabs; }
    QToolButton* GetApplicationButtonWidget() const { return m_appButton; }
    QWidget* GetPanelWidget(const HxRibbonPanel* panel) const;
    // Whether the panel shows as one button that drops the panel down (the window being too
    // narrow for the whole page).
    bool IsPanelCollapsed(const HxRibbonPanel* panel) const;
    // Collapses, right to left, the fewest panels of page index that make it fit the ribbon's
    // width, and expands the others.
    void FitPage(int index);

    // HxRibbonHost
    void OnElementChanged(HxRibbonBaseElement* element, bool structure) override;
    void OnElementRemoved(HxRibbonBaseElement* element) override;

signals:
    void MinimizedChanged(bool minimized);

protected:
    void BeforeCommand() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Clear();
    void BuildCategoryPage(int index);
    void RebuildPanel(HxRibbonPanel* panel);
    void ScheduleLayout(HxRibbonPanel* panel);
    void UpdateTabs();
    void OnTabClicked(int index);
    void ShowDropDown();
    void HideDropDown();
    std::vector<HxRibbonPanelWidget*> PagePanels(int index) const;
    static bool CollapsesAt(const HxRibbonPanelWidget* panel, size_t position, size_t collapsedFrom);

    std::vector<std::unique_ptr<HxRibbonCategory>> m_categories;
    std::unique_ptr<HxRibbonButton> m_application;
    std::map<const HxRibbonPanel*, HxRibbonPanelWidget*> m_panelWidgets;
    std::set<HxRibbonPanel*> m_dirtyPanels;
    bool m_layoutScheduled = false;
    bool m_minimized = false;

    QWidget* m_tabRow = nullptr;
    QToolButton* m_appButton = nullptr;
    QMenu* m_appMenu = nullptr;
    QTabBar* m_tabs = nullptr;
    QToolButton* m_minimizeButton = nullptr;
    QStackedWidget* m_pages = nullptr;
    QFrame* m_dropDown = nullptr;
};
