// Dialog presenters by class.
#include "platform/dialog.h"

#include <cstdio>
#include <map>
#include <utility>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {
std::map<const CRuntimeClass*, HxDialogPresenter>& Presenters() {
    static std::map<const CRuntimeClass*, HxDialogPresenter> presenters;
    return presenters;
}
HxDialogPresenter g_runner;
} // namespace

void HxRegisterDialogPresenter(const CRuntimeClass* cls, HxDialogPresenter presenter) {
    Presenters()[cls] = std::move(presenter);
}

void HxSetDialogRunner(HxDialogPresenter runner) {
    g_runner = std::move(runner);
}

INT_PTR CDialog::DoModal() {
    if (g_runner)
        return g_runner(*this);
    for (const CRuntimeClass* c = GetRuntimeClass(); c; c = c->m_pBaseClass) {
        auto it = Presenters().find(c);
        if (it != Presenters().end())
            return it->second(*this);
    }
    std::fprintf(stderr, "no presenter for dialog %s\n", GetRuntimeClass()->m_lpszClassName);
    return IDCANCEL;
}

namespace {

HxProgressWindowMaker& ProgressWindowMaker() {
    static HxProgressWindowMaker maker;
    return maker;
}

} // namespace

HxProgressWindowMaker HxSetProgressWindowMaker(HxProgressWindowMaker maker) {
    return std::exchange(ProgressWindowMaker(), std::move(maker));
}

std::unique_ptr<CHxProgressWindow> HxMakeProgressWindow(const CString& title, const CString& text,
                                                        std::function<void()> onCancel) {
    if (!ProgressWindowMaker())
        return nullptr;
    return ProgressWindowMaker()(title, text, std::move(onCancel));
}
