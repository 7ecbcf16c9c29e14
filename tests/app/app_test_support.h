// Shared pieces of the main-frame tests: a command target with handlers for test ids, a router
// chain that is put back afterwards, and settings kept in a temporary folder.
#pragma once

#include "platform/afx.h"

#include <QByteArray>

#include <string>
#include <vector>

class CTestCommands : public CCmdTarget {
public:
    CTestCommands();
    void OnRun(UINT id) { m_runs.push_back(id); }
    void OnUpdate200(CCmdUI* ui) { ui->Enable(m_enable200); }
    void OnUpdate300(CCmdUI* ui) {
        ui->SetCheck(m_check300);
        if (!m_text300.IsEmpty())
            ui->SetText(m_text300);
    }
    void OnUpdateRadio(CCmdUI* ui) { ui->SetRadio(ui->m_nID == m_radio); }

    std::vector<UINT> m_runs;
    bool m_enable200 = true;
    int m_check300 = 0;
    CString m_text300;
    UINT m_radio = 401;
};

// Puts targets in front of the router chain for the test's lifetime.
class RouterScope {
public:
    explicit RouterScope(std::vector<CCmdTarget*> targets);
    ~RouterScope();

private:
    std::vector<CCmdTarget*> m_saved;
};

// Sends the application's QSettings to a fresh temporary folder (once per test program).
void UseTemporarySettings();

// Runs the queued events (posted commands, layouts) a few times.
void ProcessEvents();

class HxRibbonBaseElement;
// The element's sub-items as "text#id" (the id left out when 0), children in brackets.
std::string DescribeChildren(HxRibbonBaseElement* element);
