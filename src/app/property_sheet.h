// CPropertySheet and CPropertyPage: a modal dialog of tabbed pages with "确定", "取消" and "应用".
// A page whose values changed marks itself modified, which enables "应用"; "应用" and "确定" first
// let every page check its controls (a page that refuses is shown and the sheet stays), then apply
// every page, and handle the messages the pages posted before going on, so that "确定" applies too.
#pragma once

#include "platform/afx.h"

#include <QDialog>
#include <QWidget>

#include <vector>

class QPushButton;
class QTabWidget;
class CPropertySheet;

class CPropertyPage : public QWidget, public CWnd {
public:
    explicit CPropertyPage(const CString& caption, QWidget* parent = nullptr);

    CString Caption() const { return m_caption; }
    // Marks the page changed (or not); the sheet's "应用" follows the pages.
    void SetModified(bool modified = true);
    bool IsModified() const { return m_modified; }

    // The controls from the page's values; the sheet calls it once, before it is shown.
    virtual void OnInitPage() {}
    // The controls read back into the values; false, after saying why, keeps the page open.
    virtual bool OnKillActive() { return true; }
    // The values take effect ("应用" or "确定"); the page is no longer modified.
    virtual void OnApply() { SetModified(false); }

    CPropertySheet* m_pSheet = nullptr; // set when the sheet takes the page

private:
    CString m_caption;
    bool m_modified = false;
};

class CPropertySheet : public QDialog, public CWnd {
public:
    explicit CPropertySheet(const CString& caption, QWidget* parent = nullptr);

    // The sheet takes the page (as a child widget: it goes with the sheet).
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    CPropertyPage* GetActivePage() const;
    void SetActivePage(int index);

    // The sheet's own set-up (OnInitDialog), then the pages' controls; shown modally.  IDOK or IDCANCEL.
    INT_PTR DoModal();
    // Fills the pages and the buttons without showing the sheet (DoModal does it first).
    void Initialize();
    // "应用": every page checked, then applied, then the posted messages handled.  False when a page
    // refused its controls.
    bool Apply();
    // Whether any page is modified ("应用" is enabled then).
    bool AnyModified() const;

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* ApplyButton() const { return m_apply; }
    void PageModifiedChanged();

protected:
    // Loads the pages' values (before their controls are filled).
    virtual void OnInitDialog() {}
    void accept() override;

private:
    void OnTabChanged(int index);

    std::vector<CPropertyPage*> m_pages;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
    bool m_initialized = false;
    int m_activeIndex = 0;
    bool m_switching = false;
};
