// Command routing, window messages, timers, message boxes and status texts.
#include "platform/cmdtarget.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const char16_t* const g_appName = u"Halvix";

// ---------------------------------------------------------------------------------------------

CCmdTarget::CCmdTarget() = default;

CCmdTarget::~CCmdTarget() { AfxGetCommandRouter().Remove(this); }

void CCmdTarget::AddEntry(UINT first, UINT last, int code, std::function<void(UINT, CCmdUI*)> fn) {
    m_map.push_back({first, last, code, std::move(fn)});
}

const CCmdTarget::Entry* CCmdTarget::FindEntry(UINT id, int code) const {
    for (const Entry& e : m_map)
        if (e.code == code && id >= e.first && id <= e.last)
            return &e;
    return nullptr;
}

bool CCmdTarget::HasCommandHandler(UINT id) const { return FindEntry(id, CN_COMMAND) != nullptr; }
bool CCmdTarget::HasUpdateHandler(UINT id) const { return FindEntry(id, CN_UPDATE_COMMAND_UI) != nullptr; }

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, CCmdUI* ui) {
    const Entry* e = FindEntry(id, code);
    if (!e)
        return FALSE;
    if (code == CN_UPDATE_COMMAND_UI) {
        if (!ui)
            return TRUE;
        ui->m_continueRouting = false;
        e->fn(id, ui);
        return ui->m_continueRouting ? FALSE : TRUE;
    }
    // Copy: the handler may change this target's map (or destroy a dialog that owns it).
    auto fn = e->fn;
    fn(id, ui);
    return TRUE;
}

void CCommandRouter::Remove(CCmdTarget* target) {
    std::erase(m_chain, target);
}

BOOL CCommandRouter::Execute(UINT id) {
    auto chain = m_chain;
    for (CCmdTarget* t : chain)
        if (t->HasCommandHandler(id))
            return t->OnCmdMsg(id, CN_COMMAND, nullptr);
    return FALSE;
}

BOOL CCommandRouter::ExecuteAfter(const CCmdTarget* from, UINT id) {
    auto chain = m_chain;
    auto at = std::find(chain.begin(), chain.end(), from);
    if (at == chain.end())
        return FALSE;
    for (++at; at != chain.end(); ++at)
        if ((*at)->HasCommandHandler(id))
            return (*at)->OnCmdMsg(id, CN_COMMAND, nullptr);
    return FALSE;
}

bool CCommandRouter::HasHandlerAfter(const CCmdTarget* from, UINT id) const {
    auto at = std::find(m_chain.begin(), m_chain.end(), from);
    return at != m_chain.end() && std::any_of(at + 1, m_chain.end(), [id](const CCmdTarget* t) {
               return t->HasCommandHandler(id);
           });
}

void CCommandRouter::Update(CCmdUI& ui) {
    ui.m_enableChanged = false;
    for (CCmdTarget* t : m_chain)
        if (t->HasUpdateHandler(ui.m_nID) && t->OnCmdMsg(ui.m_nID, CN_UPDATE_COMMAND_UI, &ui))
            return;
    if (!ui.m_enableChanged) {
        bool handled = std::any_of(m_chain.begin(), m_chain.end(),
                                   [&](CCmdTarget* t) { return t->HasCommandHandler(ui.m_nID); });
        ui.Enable(handled);
    }
}

CCommandRouter& AfxGetCommandRouter() {
    static CCommandRouter router;
    return router;
}

// ---------------------------------------------------------------------------------------------
// Posted messages

namespace {
struct Posted {
    CWnd* target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::deque<Posted>& Queue() {
    static std::deque<Posted> queue;
    return queue;
}
bool g_pumpScheduled = false;
CWnd* g_mainWnd = nullptr;
std::function<void(const HxMessageRecord&)> g_messageObserver;

void SchedulePump() {
    if (g_pumpScheduled || !QCoreApplication::instance())
        return;
    g_pumpScheduled = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { HxPumpPostedMessages(); }, Qt::QueuedConnection);
}
} // namespace

void HxPumpPostedMessages() {
    g_pumpScheduled = false;
    // Messages posted by the handlers run in this pump too, after the ones already queued.
    size_t guard = 0;
    while (!Queue().empty() && guard++ < 100000) {
        Posted p = Queue().front();
        Queue().pop_front();
        if (p.target)
            p.target->WindowProc(p.message, p.wParam, p.lParam);
    }
}

size_t HxPostedMessageCount() { return Queue().size(); }

void HxSetMessageObserver(std::function<void(const HxMessageRecord&)> observer) {
    g_messageObserver = std::move(observer);
}

CWnd* AfxGetMainWnd() { return g_mainWnd; }
void AfxSetMainWnd(CWnd* wnd) { g_mainWnd = wnd; }

// ---------------------------------------------------------------------------------------------

struct CWnd::TimerImpl {
    UINT_PTR id;
    QTimer timer;
};

CWnd::CWnd() = default;

CWnd::~CWnd() {
    for (auto& p : Queue())
        if (p.target == this)
            p.target = nullptr;
    if (g_mainWnd == this)
        g_mainWnd = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (message == WM_TIMER) {
        OnTimer(wParam);
        return 0;
    }
    for (const auto& m : m_messages)
        if (m.message == message) {
            auto fn = m.fn;
            return fn(wParam, lParam);
        }
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    UINT id = LOWORD(DWORD(wParam));
    if (HasCommandHandler(id))
        return OnCmdMsg(id, CN_COMMAND, nullptr);
    return AfxGetCommandRouter().Execute(id);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_messageObserver)
        g_messageObserver({this, message, wParam, lParam, false});
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_messageObserver)
        g_messageObserver({this, message, wParam, lParam, true});
    Queue().push_back({this, message, wParam, lParam});
    SchedulePump();
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) {
    TimerImpl* t = nullptr;
    for (auto& p : m_timers)
        if (p->id == id)
            t = p.get();
    if (!t) {
        m_timers.push_back(std::make_unique<TimerImpl>());
        t = m_timers.back().get();
        t->id = id;
        QObject::connect(&t->timer, &QTimer::timeout, [this, id] { OnTimer(id); });
    }
    t->timer.start(int(std::max(elapseMs, 1u)));
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
        if ((*it)->id == id) {
            (*it)->timer.stop();
            m_timers.erase(it);
            return TRUE;
        }
    return FALSE;
}

bool CWnd::IsTimerSet(UINT_PTR id) const {
    return std::any_of(m_timers.begin(), m_timers.end(), [id](const auto& t) { return t->id == id; });
}

// ---------------------------------------------------------------------------------------------
// Message boxes and status texts

namespace {
HxMessageBoxHandler g_messageBoxHandler;
HxStatusTextHandler g_statusTextHandler;
std::map<int, CString> g_statusTexts;
} // namespace

void HxSetMessageBoxHandler(HxMessageBoxHandler handler) { g_messageBoxHandler = std::move(handler); }

int HxMessageBox(const CString& text, const CString& caption, UINT type) {
    if (g_messageBoxHandler)
        return g_messageBoxHandler(text, caption, type);
    // No window to show it in: report it and take the first button.
    std::fprintf(stderr, "%s: %s\n", caption.ToUtf8().c_str(), text.ToUtf8().c_str());
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
    }
}

int AfxMessageBox(const CString& text, UINT type, UINT) { return HxMessageBox(text, g_appName, type); }

void HxSetStatusTextHandler(HxStatusTextHandler handler) { g_statusTextHandler = std::move(handler); }

void HxSetStatusText(int pane, const CString& text) {
    g_statusTexts[pane] = text;
    if (g_statusTextHandler)
        g_statusTextHandler(pane, text);
}

CString HxGetStatusText(int pane) {
    auto it = g_statusTexts.find(pane);
    return it == g_statusTexts.end() ? CString() : it->second;
}
