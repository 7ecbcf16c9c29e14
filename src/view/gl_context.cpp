// The view's OpenGL context for work outside painting, and deferred message boxes.
#include "view/gl_context.h"

#include <QCoreApplication>
#include <QOpenGLContext>

#include <vector>

namespace {
HxGlContextProvider& Provider() {
    static HxGlContextProvider provider;
    return provider;
}

std::vector<CString>& WaitingTexts() {
    static std::vector<CString> texts;
    return texts;
}
} // namespace

void HxSetGlContextProvider(HxGlContextProvider provider) {
    Provider() = std::move(provider);
}

bool HxHasCurrentGlContext() {
    return QOpenGLContext::currentContext() != nullptr;
}

bool HxMakeGlCurrent() {
    if (Provider())
        return Provider()();
    return HxHasCurrentGlContext();
}

void HxMessageBoxLater(const CString& text, UINT type) {
    auto& waiting = WaitingTexts();
    for (const CString& t : waiting)
        if (t == text)
            return;
    waiting.push_back(text);
    auto show = [text, type] {
        auto& list = WaitingTexts();
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (*it == text) {
                list.erase(it);
                break;
            }
        }
        AfxMessageBox(text, type);
    };
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), show, Qt::QueuedConnection);
    else
        show();
}
