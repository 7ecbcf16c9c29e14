// Modal dialogs: the model keeps a dialog's fields in a CDialog class; the windows register how
// each class is shown, and tests replace that with a scripted runner.
#pragma once

#include "platform/cmdtarget.h"

#include <functional>
#include <memory>

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT templateId = 0) : m_nIDTemplate(templateId) {}
    // Shows the dialog and returns IDOK or IDCANCEL; the fields hold the values chosen.
    virtual INT_PTR DoModal();

    UINT m_nIDTemplate;
};

// Shows one class of dialog (and the classes derived from it that have no presenter of their own).
using HxDialogPresenter = std::function<INT_PTR(CDialog&)>;
void HxRegisterDialogPresenter(const CRuntimeClass* cls, HxDialogPresenter presenter);
// Replaces every presenter (tests): null restores them.
void HxSetDialogRunner(HxDialogPresenter runner);

// A window that tells how far a long task has come and offers 取消, shown while the task's caller
// runs an event loop of its own; it blocks the other windows and closes when it is destroyed.  The
// user interface registers how one is made; without a maker (tests that set none) nothing shows
// and the task cannot be cancelled from a window.
class CHxProgressWindow {
public:
    virtual ~CHxProgressWindow() = default;
    virtual void SetText(const CString& text) = 0;
};
using HxProgressWindowMaker = std::function<std::unique_ptr<CHxProgressWindow>(
    const CString& title, const CString& text, std::function<void()> onCancel)>;
// The maker it replaces is returned (tests put it back).
HxProgressWindowMaker HxSetProgressWindowMaker(HxProgressWindowMaker maker);
// A progress window, or null without a maker; `onCancel` runs when the user presses 取消.
std::unique_ptr<CHxProgressWindow> HxMakeProgressWindow(const CString& title, const CString& text,
                                                        std::function<void()> onCancel);
