// Shared pieces of the main-frame tests.
#include "app_test_support.h"

#include "app/ribbon_elements.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

CTestCommands::CTestCommands() {
    // 100-109 and 200, 300 run; 200 has an update handler that may disable it, 300 one that
    // checks it and may set its text; 401-403 are radio items.  500 has only an update handler.
    OnCommandRange(100, 109, &CTestCommands::OnRun);
    OnCommandRange(200, 200, &CTestCommands::OnRun);
    OnCommandRange(300, 300, &CTestCommands::OnRun);
    OnCommandRange(401, 403, &CTestCommands::OnRun);
    OnCommandRange(20000, 20500, &CTestCommands::OnRun);
    OnUpdateId(200, &CTestCommands::OnUpdate200);
    OnUpdateId(300, &CTestCommands::OnUpdate300);
    OnUpdateRange(401, 403, &CTestCommands::OnUpdateRadio);
    OnUpdateId(500, &CTestCommands::OnUpdate300);
}

RouterScope::RouterScope(std::vector<CCmdTarget*> targets) : m_saved(AfxGetCommandRouter().Chain()) {
    std::vector<CCmdTarget*> chain = targets;
    chain.insert(chain.end(), m_saved.begin(), m_saved.end());
    AfxGetCommandRouter().SetChain(chain);
}

RouterScope::~RouterScope() {
    AfxGetCommandRouter().SetChain(m_saved);
}

void UseTemporarySettings() {
    static QTemporaryDir dir;
    static bool done = false;
    if (done)
        return;
    done = true;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
}

void ProcessEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

std::string DescribeChildren(HxRibbonBaseElement* element) {
    std::string out;
    element->ForEachChild([&](HxRibbonBaseElement* child) {
        out += (out.empty() ? "" : ", ") + child->GetText().ToUtf8();
        if (child->GetID())
            out += "#" + std::to_string(child->GetID());
        std::string below = DescribeChildren(child);
        if (!below.empty())
            out += "[" + below + "]";
    });
    return out;
}
