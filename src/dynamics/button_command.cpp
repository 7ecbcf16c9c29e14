// The command button: a recorded sequence of menu commands posted to the main window one after
// another, with the shared wait counter between them and the wait for the end of a playback.
#include "dynamics/buttons.h"

#include "platform/cmdtarget.h"
#include "view/view_globals.h"

IMPLEMENT_SERIAL(CGButnCommand, CGButton, 1)

CGButnCommand::CGButnCommand(WORD id, const CString& caption, std::vector<int> commands, int delay)
    : CGButton(id, caption), m_commands(std::move(commands)), m_delay(delay) {}

void CGButnCommand::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int(m_commands.size()) << m_delay << m_reserved1 << m_reserved2;
        for (int id : m_commands)
            ar << id;
        return;
    }
    int count = 0;
    ar >> count >> m_delay >> m_reserved1 >> m_reserved2;
    if (count < 0 || count > kMaxCommands)
        throw CArchiveException(CArchiveException::badIndex);
    ar.CheckCount(ULONGLONG(count), sizeof(int));
    std::vector<int> commands(size_t(count), 0);
    for (int& id : commands)
        ar >> id;
    m_commands = std::move(commands);
    m_current = 0;
}

CString CGButnCommand::GetDescription() {
    return m_name;
}

BOOL CGButnCommand::Step() {
    const int count = int(m_commands.size());
    if (count <= 0)
        return TRUE;
    const int waited = g_commandWaitTicks;
    g_commandWaitTicks = waited + 1;
    if (m_current < 0 || m_current >= count)
        m_current = 0;
    if (waited != 0) {
        if (g_commandWaitTicks > m_delay)
            g_commandWaitTicks = 0;
        return FALSE;
    }
    const int id = m_commands[size_t(m_current)];
    if (id != kWaitForPlayback) {
        // Posted: the command runs when the message loop delivers it, after this tick.
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(WM_COMMAND, WPARAM(UINT(id)), 0);
        ++m_current;
    } else if (g_pMediaPlayer) {
        // Tested again once the counter has run past the delay and back to 0.
        g_commandWaitTicks = m_delay - 5;
        return FALSE;
    } else {
        ++m_current;
        g_commandWaitTicks = 0;
    }
    if (m_current >= count) {
        m_current = 0;
        return TRUE;
    }
    return FALSE;
}
