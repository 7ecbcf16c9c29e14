// CDlgFastHelp: the modeless quick-help window "多功能绘图工具快捷帮助", one tab per drawing tool
// with its read-only help text.  When it closes it tells its frame (UM_QUICKHELP_CLOSED), which
// deletes it.
#pragma once

#include "platform/afx.h"

#include <QDialog>

class QTabWidget;

class CDlgFastHelp : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 276 };
    static constexpr int kPageCount = 16;
    static const char16_t* const kTabTitles[kPageCount];
    static const char16_t* const kTexts[kPageCount];

    // owner: the frame told when the window closes (may be null).
    CDlgFastHelp(CWnd* owner, QWidget* parent);

    QTabWidget* GetTabs() const { return m_tabs; }
    int GetCurrentPage() const { return m_current; }
    // The text of a page as its edit shows it.
    QString GetPageText(int index) const;

    void done(int result) override;

private:
    CWnd* m_owner;
    QTabWidget* m_tabs = nullptr;
    int m_current = 0;
};
