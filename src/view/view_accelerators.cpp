// The view's keyboard bindings.
#include "view/view_accelerators.h"

#include "view/halvix_view.h"
#include "view/view_ids.h"

#include <QShortcut>
#include <QWidget>

const std::vector<CAccelerator>& HxViewAccelerators() {
    static const std::vector<CAccelerator> table = {
        {QKeyCombination(Qt::Key_Home), ID_VIEW_TSFM_RESET},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_Down), ID_VIEW_PAN_DOWN},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_Up), ID_VIEW_PAN_UP},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_Left), ID_VIEW_PAN_LEFT},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_Right), ID_VIEW_PAN_RIGHT},
        {QKeyCombination(Qt::AltModifier, Qt::Key_Down), ID_VIEW_ZOOM_OUT},
        {QKeyCombination(Qt::AltModifier, Qt::Key_Up), ID_VIEW_ZOOM_IN},
        {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_C), ID_VIEW_COLOR_RINGS},
        {QKeyCombination(Qt::Key_F7), ID_EDIT_PRINTSCR},
    };
    return table;
}

void HxInstallAccelerators(QWidget* owner, CCmdTarget* fallback) {
    for (const CAccelerator& a : HxViewAccelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(a.key), owner);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT id = a.id;
        QObject::connect(shortcut, &QShortcut::activated, owner, [id, fallback] {
            if (!AfxGetCommandRouter().Execute(id) && fallback)
                fallback->OnCmdMsg(id, CN_COMMAND, nullptr);
        });
    }
}
