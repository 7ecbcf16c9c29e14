// Command routing: command ids to handlers and update handlers, window messages sent and posted,
// timers.  The windows of the program derive from these; tests drive them without a display.
#pragma once

#include "platform/cstring.h"
#include "platform/object.h"

#include <functional>
#include <memory>
#include <vector>

class CMenu;

constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// The state an update handler sets for one command: enabled, checked, text.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE) { m_enabled = on != 0; m_enableChanged = true; }
    virtual void SetCheck(int check = 1) { m_check = check; }
    virtual void SetRadio(BOOL on = TRUE) { m_check = on ? 1 : 0; m_radio = true; }
    virtual void SetText(const CString& text) { m_text = text; m_textSet = true; }
    void ContinueRouting() { m_continueRouting = true; }

    UINT m_nID = 0;
    bool m_enabled = true;
    bool m_enableChanged = false;
    int m_check = 0;
    bool m_radio = false;
    CString m_text;
    bool m_textSet = false;
    bool m_continueRouting = false;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Runs the handler of id (nCode CN_COMMAND) or its update handler (CN_UPDATE_COMMAND_UI).
    // Returns TRUE when this target handled it.
    virtual BOOL OnCmdMsg(UINT id, int code, CCmdUI* ui);
    bool HasCommandHandler(UINT id) const;
    bool HasUpdateHandler(UINT id) const;

protected:
    // The message map, filled by each class's constructor.
    template <class T> void OnCommandId(UINT id, void (T::*fn)()) {
        T* self = static_cast<T*>(this);
        AddEntry(id, id, CN_COMMAND, [self, fn](UINT, CCmdUI*) { (self->*fn)(); });
    }
    template <class T> void OnCommandRange(UINT first, UINT last, void (T::*fn)(UINT)) {
        T* self = static_cast<T*>(this);
        AddEntry(first, last, CN_COMMAND, [self, fn](UINT id, CCmdUI*) { (self->*fn)(id); });
    }
    template <class T> void OnUpdateId(UINT id, void (T::*fn)(CCmdUI*)) {
        T* self = static_cast<T*>(this);
        AddEntry(id, id, CN_UPDATE_COMMAND_UI, [self, fn](UINT, CCmdUI* ui) { (self->*fn)(ui); });
    }
    template <class T> void OnUpdateRange(UINT first, UINT last, void (T::*fn)(CCmdUI*)) {
        T* self = static_cast<T*>(this);
        AddEntry(first, last, CN_UPDATE_COMMAND_UI, [self, fn](UINT, CCmdUI* ui) { (self->*fn)(ui); });
    }

private:
    struct Entry {
        UINT first, last;
        int code;
        std::function<void(UINT, CCmdUI*)> fn;
    };
    void AddEntry(UINT first, UINT last, int code, std::function<void(UINT, CCmdUI*)> fn);
    const Entry* FindEntry(UINT id, int code) const;
    std::vector<Entry> m_map;
};

// The order in which commands are offered to targets: the view, then the document, then the
// frame and the application, as the program's main window routes them.
class CCommandRouter {
public:
    void SetChain(std::vector<CCmdTarget*> chain) { m_chain = std::move(chain); }
    void Remove(CCmdTarget* target);
    const std::vector<CCmdTarget*>& Chain() const { return m_chain; }
    // Runs the first handler of id; FALSE when no target has one.
    BOOL Execute(UINT id);
    // Runs the first handler of id among the targets after `from` in the chain: a handler that takes
    // only some cases of its command hands the others on.  FALSE when none of them has one.
    BOOL ExecuteAfter(const CCmdTarget* from, UINT id);
    // Whether a target after `from` in the chain has a handler of id.
    bool HasHandlerAfter(const CCmdTarget* from, UINT id) const;
    // Runs the first update handler of id.  Without one, a command that has a handler is enabled
    // and a command without a handler is disabled.
    void Update(CCmdUI& ui);

private:
    std::vector<CCmdTarget*> m_chain;
};

CCommandRouter& AfxGetCommandRouter();

// ---------------------------------------------------------------------------------------------
// Windows: message handlers, send (at once) and post (after the current handler), timers.

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Timer `id` calls OnTimer(id) every `elapseMs`; a timer that is set again restarts.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);
    bool IsTimerSet(UINT_PTR id) const;
    virtual void OnTimer(UINT_PTR id) {}

    // WM_COMMAND: runs the command through this window's routing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // The window's menu (not owned), null when it has none.
    CMenu* GetMenu() const { return m_pMenu; }
    BOOL SetMenu(CMenu* menu) { m_pMenu = menu; return TRUE; }

protected:
    template <class T> void OnMessageId(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
        T* self = static_cast<T*>(this);
        m_messages.push_back({message, [self, fn](WPARAM w, LPARAM l) { return (self->*fn)(w, l); }});
    }

private:
    struct MessageEntry {
        UINT message;
        std::function<LRESULT(WPARAM, LPARAM)> fn;
    };
    std::vector<MessageEntry> m_messages;
    CMenu* m_pMenu = nullptr;
    struct TimerImpl;
    std::vector<std::unique_ptr<TimerImpl>> m_timers;
};

CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* wnd);

// Runs the messages posted so far (and those they post in turn).  The program's event loop does
// this by itself; tests without an event loop call it.
void HxPumpPostedMessages();
size_t HxPostedMessageCount();

// Observes every message sent or posted to any window (tests record them).
struct HxMessageRecord {
    CWnd* target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};
void HxSetMessageObserver(std::function<void(const HxMessageRecord&)> observer);

// ---------------------------------------------------------------------------------------------
// Message boxes and the status bar: the windows install handlers, tests install recorders.

using HxMessageBoxHandler = std::function<int(const CString& text, const CString& caption, UINT type)>;
void HxSetMessageBoxHandler(HxMessageBoxHandler handler);
// Shows a modal message box with the program's caption and returns the button chosen.
int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
int HxMessageBox(const CString& text, const CString& caption, UINT type);

// The texts of the status bar panes (0 the information pane).
using HxStatusTextHandler = std::function<void(int pane, const CString& text)>;
void HxSetStatusTextHandler(HxStatusTextHandler handler);
void HxSetStatusText(int pane, const CString& text);
CString HxGetStatusText(int pane);

// The program's name, the caption of its message boxes.
extern const char16_t* const g_appName;
