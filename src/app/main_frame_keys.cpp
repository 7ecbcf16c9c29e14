// The frame's keyboard bindings (the file and clipboard commands, Delete, Ctrl+G, Ctrl+K, F1, F4,
// Esc and the page keys) and the keys shown in the tool tips of the ribbon and status-bar buttons.
#include "app/main_frame.h"

#include "app/frame_ids.h"
#include "app/ribbon_bar.h"
#include "app/status_bar.h"
#include "document/halvix_doc.h"
#include "document/option_ids.h"
#include "dynamics/edit_ids.h"
#include "measure/calc_commands.h"
#include "view/halvix_view.h"
#include "view/view_ids.h"

#include <QShortcut>

#include <set>

const std::vector<CAccelerator>& HxFrameAccelerators() {
    // Esc and the page keys belong to the drawing view; the others work anywhere in the window (an
    // edit box, such as the tree's label editor, keeps its own editing keys).
    static const std::vector<CAccelerator> table = {
        {QKeyCombination(Qt::ControlModifier, Qt::Key_N), ID_FILE_NEW},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_O), ID_FILE_OPEN},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_S), ID_FILE_SAVE},
        {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O), ID_FILE_OPEN_ALL},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_C), ID_EDIT_COPY},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_X), ID_EDIT_CUT},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_V), ID_EDIT_PASTE},
        {QKeyCombination(Qt::Key_Delete), ID_EDIT_DELETE},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_G), ID_SELECT_PAGE},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_A), ID_EDIT_SELECT_ALL},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_P), ID_SELECT_POINT},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_L), ID_SELECT_LINE},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_F), ID_SELECT_FACE},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_U), ID_SELECT_PARENTS},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_D), ID_SELECT_CHILDREN},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_K), ID_AUTOBTNDEL},
        // No help file comes with the program: F1 opens the quick help, as the help finder does.
        {QKeyCombination(Qt::Key_F1), ID_HELP_FINDER},
        {QKeyCombination(Qt::Key_F4), ID_VIEW_FULLSCREEN},
        // The current custom tool applied to the selection.
        {QKeyCombination(Qt::Key_F5), ID_TOOL_AUTODO},
        // The two view states of the view buttons, and the compaction of the numbering.
        {QKeyCombination(Qt::Key_F8), ID_EDIT_BTN_START},
        {QKeyCombination(Qt::Key_F9), ID_EDIT_BTN_END},
        {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Z), ID_EDIT_COMPACT},
        {QKeyCombination(Qt::Key_Escape), ID_VIEW_ESCAPE, true},
        {QKeyCombination(Qt::Key_PageUp), ID_VIEW_PAGEUP, true},
        {QKeyCombination(Qt::Key_PageDown), ID_VIEW_PAGEDOWN, true},
        // The calculation, and the plus and minus keys of the keypad and the main keyboard that step
        // the selected parameter or walk the selection.
        {QKeyCombination(Qt::AltModifier, Qt::Key_Equal), ID_MEASURE_FUN},
        {QKeyCombination(Qt::KeypadModifier, Qt::Key_Plus), ID_PARAMETER_STEP_UP, true},
        {QKeyCombination(Qt::Key_Equal), ID_PARAMETER_STEP_UP, true},
        {QKeyCombination(Qt::Key_Plus), ID_PARAMETER_STEP_UP, true},
        {QKeyCombination(Qt::KeypadModifier, Qt::Key_Minus), ID_PARAMETER_STEP_DOWN, true},
        {QKeyCombination(Qt::Key_Minus), ID_PARAMETER_STEP_DOWN, true},
    };
    return table;
}

bool HxCommandKey(UINT id, QKeyCombination* key) {
    for (const auto* table : {&HxFrameAccelerators(), &HxViewAccelerators()})
        for (const CAccelerator& a : *table)
            if (a.id == id) {
                if (key)
                    *key = a.key;
                return true;
            }
    return false;
}

CString HxKeyText(QKeyCombination key) {
    if (key.key() == Qt::Key_Space && key.keyboardModifiers() == Qt::NoModifier)
        return u"空格";
    // The portable names, with the words the keyboard shows where Qt abbreviates them.
    QString text = QKeySequence(key).toString(QKeySequence::PortableText);
    text.replace(QStringLiteral("PgUp"), QStringLiteral("PageUp"));
    text.replace(QStringLiteral("PgDown"), QStringLiteral("PageDown"));
    if (text.endsWith(QStringLiteral("Del")))
        text += QStringLiteral("ete");
    return CString::FromQString(text);
}

void CMainFrame::InstallAccelerators() {
    for (const CAccelerator& k : HxFrameAccelerators()) {
        QWidget* scope = k.viewFocusOnly ? static_cast<QWidget*>(m_view) : static_cast<QWidget*>(this);
        auto* shortcut = new QShortcut(QKeySequence(k.key), scope);
        shortcut->setContext(k.viewFocusOnly ? Qt::WidgetWithChildrenShortcut : Qt::WindowShortcut);
        const UINT id = k.id;
        connect(shortcut, &QShortcut::activated, this, [id] { HxExecuteRibbonCommand(id); });
    }
    ShowKeysInToolTips();
}

void CMainFrame::ShowKeysInToolTips() {
    std::set<UINT> ids;
    for (const auto* table : {&HxFrameAccelerators(), &HxViewAccelerators()})
        for (const CAccelerator& a : *table)
            ids.insert(a.id);
    for (UINT id : ids) {
        QKeyCombination key;
        if (!HxCommandKey(id, &key))
            continue;
        std::vector<HxRibbonBaseElement*> found;
        if (m_wndRibbonBar)
            m_wndRibbonBar->GetElementsByID(id, found);
        if (m_wndStatusBar)
            for (int i = 0; i < m_wndStatusBar->GetExCount(); ++i)
                m_wndStatusBar->GetExElement(i)->CollectByID(id, found);
        const CString named = u"(" + HxKeyText(key) + u")";
        for (HxRibbonBaseElement* e : found) {
            const CString tip = e->GetToolTipText();
            if (tip.Find(named.GetString()) < 0)
                e->SetToolTipText(tip + u" " + named);
        }
        // The application menu shows the key beside the item's text, as menus do.
        std::vector<HxRibbonBaseElement*> items;
        if (m_wndRibbonBar && m_wndRibbonBar->GetApplicationButton())
            m_wndRibbonBar->GetApplicationButton()->CollectByID(id, items);
        for (HxRibbonBaseElement* e : items)
            if (e->GetText().Find(u'\t') < 0)
                e->SetText(e->GetText() + u"\t" + HxKeyText(key));
    }
}
