// Modal dialogs: the model keeps a dialog's fields in a CDialog class; the windows register how
// each class is shown, and tests replace that with a scripted runner.
#pragma once

#include "platform/cmdtarget.h"

#include <functional>

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
