// The shell's "open" through the desktop services.
#include "platform/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
HxShellOpenHandler g_shellOpenHandler;
} // namespace

void HxSetShellOpenHandler(HxShellOpenHandler handler) {
    g_shellOpenHandler = std::move(handler);
}

BOOL HxShellOpen(const CString& target, const CString& workingDir) {
    if (target.IsEmpty())
        return FALSE;
    if (g_shellOpenHandler)
        return g_shellOpenHandler(target, workingDir) ? TRUE : FALSE;
    const QUrl url = QUrl::fromUserInput(target.ToQString(), workingDir.ToQString(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url) ? TRUE : FALSE;
}
