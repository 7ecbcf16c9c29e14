// What the dialog windows share: a UTF-16 text as a QString, and the presenter that shows a
// CDialog's fields in the window made for them.
#pragma once

#include "platform/dialog.h"

#include <QApplication>
#include <QDialog>
#include <QString>

namespace HxDialogUi {

inline QString Text(const char16_t* text) {
    return QString::fromUtf16(text);
}

// Shows the fields of dialog in a Window (modal, over the active window); IDCANCEL when the dialog
// is not of the class the window shows.
template <class Window, class Fields> INT_PTR Run(CDialog& dialog) {
    auto* fields = dynamic_cast<Fields*>(&dialog);
    if (!fields)
        return IDCANCEL;
    Window window(*fields, QApplication::activeWindow());
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

} // namespace HxDialogUi
