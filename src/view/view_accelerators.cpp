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
        {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_M), ID_VIEW_MEDIA_SETTINGS},
        {QKeyCombination(Qt::Key_F7), ID_EDIT_PRINTSCR},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Z), ID_EDIT_UNDO},
        {QKeyCombination(Qt::AltModifier, Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_R), ID_EDIT_REDO},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_P), ID_CREATE_POINT},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_L), ID_CREATE_LINE_TOOL},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_F), ID_CREATE_POLYGON},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_C), ID_CREATE_CIRCLE},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_B), ID_EDIT_COPYBIT},
        {QKeyCombination(Qt::Key_F3), ID_VIEW_PORT},
        {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_W), ID_VIEW_TRACKBALL},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Left), ID_KEY_CTRL_LEFT},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Right), ID_KEY_CTRL_RIGHT},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Up), ID_KEY_CTRL_UP},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Down), ID_KEY_CTRL_DOWN},
        {QKeyCombination(Qt::Key_Space), ID_ANIMA_PLAYSTOP, true},
        {QKeyCombination(Qt::Key_Left), ID_KEY_LEFT, true},
        {QKeyCombination(Qt::Key_Right), ID_KEY_RIGHT, true},
        {QKeyCombination(Qt::Key_Up), ID_KEY_UP, true},
        {QKeyCombination(Qt::Key_Down), ID_KEY_DOWN, true},
    };
    return table;
}

void HxInstallAccelerators(QWidget* owner, CCmdTarget* fallback) {
    for (const CAccelerator& a : HxViewAccelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(a.key), owner);
        shortcut->setContext(a.viewFocusOnly ? Qt::WidgetShortcut : Qt::WindowShortcut);
        // Held arrows and Space repeat as the keys of the original program did.
        shortcut->setAutoRepeat(true);
        const UINT id = a.id;
        QObject::connect(shortcut, &QShortcut::activated, owner, [id, fallback] {
            if (!AfxGetCommandRouter().Execute(id) && fallback)
                fallback->OnCmdMsg(id, CN_COMMAND, nullptr);
        });
    }
}
