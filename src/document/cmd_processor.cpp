// Undo history: submission with its limit, undo, redo and the texts of the Undo and Redo items.
#include "document/cmd_processor.h"

IMPLEMENT_DYNAMIC(CCmd, CObject)
IMPLEMENT_DYNAMIC(CCmdProcessor, CObject)

namespace {

CString UndoText(const CString& name, BOOL can) {
    if (can)
        return name.IsEmpty() ? CString(u"撤消(&U)\tCtrl+Z") : HxFormat(u"撤消 %s(&U)\tCtrl+Z", name);
    return name.IsEmpty() ? CString(u"不能撤消(&U)\tCtrl+Z") : HxFormat(u"不能撤消 %s(&U)\tCtrl+Z", name);
}

CString RedoText(const CString& name) {
    return name.IsEmpty() ? CString(u"重做(&R)\tCtrl+R") : HxFormat(u"重做 %s(&R)\tCtrl+R", name);
}

CCmd* CmdAt(const CObList& list, POSITION pos) {
    return static_cast<CCmd*>(list.GetAt(pos));
}

} // namespace

CCmdProcessor::~CCmdProcessor() {
    ClearAll();
}

// The node leaves the list before its command is destroyed, so a destructor that looks at the
// history never meets a dangling entry.
void CCmdProcessor::DeleteAt(CObList& list, POSITION pos) {
    CObject* cmd = list.GetAt(pos);
    list.RemoveAt(pos);
    delete cmd;
}

CCmd* CCmdProcessor::GetCurrent() const {
    return m_current ? CmdAt(m_commands, m_current) : nullptr;
}

BOOL CCmdProcessor::Submit(CCmd* cmd) {
    if (!cmd)
        return FALSE;
    if (m_commands.GetCount() >= m_maxCommands) {
        POSITION head = m_commands.GetHeadPosition();
        if (head == m_current)
            m_current = nullptr;
        DeleteAt(m_commands, head);
    }
    if (!m_current) {
        ClearAll();
    } else {
        POSITION pos = m_current;
        m_commands.GetNext(pos);
        while (pos) {
            POSITION next = pos;
            m_commands.GetNext(next);
            DeleteAt(m_commands, pos);
            pos = next;
        }
    }
    m_current = m_commands.AddTail(cmd);
    UpdateMenu();
    return TRUE;
}

BOOL CCmdProcessor::Undo() {
    if (!m_current)
        return FALSE;
    CCmd* cmd = CmdAt(m_commands, m_current);
    if (!cmd->CanUndo())
        return FALSE;
    if (!cmd->Undo())
        return FALSE;
    m_commands.GetPrev(m_current);
    UpdateMenu();
    return TRUE;
}

BOOL CCmdProcessor::Redo() {
    POSITION pos = m_current;
    if (pos)
        m_commands.GetNext(pos);
    else
        pos = m_commands.GetHeadPosition();
    if (!pos)
        return FALSE;
    if (!CmdAt(m_commands, pos)->Redo())
        return FALSE;
    m_current = pos;
    UpdateMenu();
    return TRUE;
}

BOOL CCmdProcessor::CanUndo() {
    return m_current ? CmdAt(m_commands, m_current)->CanUndo() : FALSE;
}

BOOL CCmdProcessor::CanRedo() {
    return m_current != m_commands.GetTailPosition();
}

void CCmdProcessor::Clear() {
    ClearAll();
    UpdateMenu();
}

void CCmdProcessor::SetMenuOwner(CWnd* owner, UINT undoId, UINT redoId) {
    m_pMenuOwner = owner;
    m_undoId = undoId;
    m_redoId = redoId;
}

CWnd* CCmdProcessor::GetMenuOwner() {
    return m_pMenuOwner;
}

void CCmdProcessor::UpdateMenu() {
    if (!m_pMenuOwner)
        return;
    if (m_current) {
        CCmd* cmd = CmdAt(m_commands, m_current);
        BOOL can = cmd->CanUndo();
        SetMenuItem(m_undoId, UndoText(cmd->GetName(), can), can);
        if (m_current == m_commands.GetTailPosition()) {
            SetMenuItem(m_redoId, RedoText(CString()), FALSE);
        } else {
            POSITION next = m_current;
            m_commands.GetNext(next);
            SetMenuItem(m_redoId, RedoText(CmdAt(m_commands, next)->GetName()), TRUE);
        }
        return;
    }
    SetMenuItem(m_undoId, UndoText(CString(), TRUE), FALSE);
    if (m_commands.IsEmpty())
        SetMenuItem(m_redoId, RedoText(CString()), FALSE);
    else
        SetMenuItem(m_redoId, RedoText(CmdAt(m_commands, m_commands.GetHeadPosition())->GetName()), TRUE);
}

void CCmdProcessor::SetMenuItem(UINT id, const CString& text, BOOL enable) {
    if (!m_pMenuOwner)
        return;
    CMenu* menu = m_pMenuOwner->GetMenu();
    if (!menu)
        return;
    UINT state = menu->GetMenuState(id, MF_BYCOMMAND);
    if (state == 0xFFFFFFFF)
        return;
    menu->ModifyMenu(id, MF_BYCOMMAND | state, id, text);
    menu->EnableMenuItem(id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void CCmdProcessor::ClearAll() {
    while (!m_commands.IsEmpty())
        DeleteAt(m_commands, m_commands.GetHeadPosition());
    m_current = nullptr;
}
