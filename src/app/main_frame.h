// The main window: title, the drawing view in the client area.
#pragma once

#include "platform/afx.h"

#include <QMainWindow>

class CHalvixView;

class CMainFrame : public QMainWindow, public CWnd {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    CHalvixView* GetView() const { return m_view; }
    // "<title> - Halvix", the untitled document showing as "[未命名]".
    void UpdateTitle(const CString& documentTitle);

private:
    CHalvixView* m_view = nullptr;
};
