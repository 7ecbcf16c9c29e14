// CMenu: command items with texts and states.
#include "platform/menu.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR;
constexpr UINT kNoItem = 0xFFFFFFFF;
} // namespace

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const CString& text) {
    m_items.push_back(Item{UINT(id), flags & kStateBits, text});
    Changed(UINT(id));
    return TRUE;
}

UINT CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= int(m_items.size()))
        return kNoItem;
    return m_items[size_t(position)].id;
}

int CMenu::Find(UINT item, UINT flags) const {
    if (flags & MF_BYPOSITION)
        return item < m_items.size() ? int(item) : -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].id == item && !(m_items[i].state & MF_SEPARATOR))
            return int(i);
    return -1;
}

void CMenu::Changed(UINT id) const {
    if (m_onChange)
        m_onChange(id);
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
    int i = Find(item, flags);
    return i < 0 ? kNoItem : m_items[size_t(i)].state;
}

BOOL CMenu::ModifyMenu(UINT item, UINT flags, UINT_PTR newId, const CString& text) {
    int i = Find(item, flags);
    if (i < 0)
        return FALSE;
    Item& it = m_items[size_t(i)];
    it.id = UINT(newId);
    it.state = flags & kStateBits;
    it.text = text;
    Changed(it.id);
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
    int i = Find(item, enable);
    if (i < 0)
        return kNoItem;
    Item& it = m_items[size_t(i)];
    UINT previous = it.state & (MF_GRAYED | MF_DISABLED);
    it.state = (it.state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    Changed(it.id);
    return previous;
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    int i = Find(item, flags);
    if (i < 0) {
        text.Empty();
        return 0;
    }
    text = m_items[size_t(i)].text;
    return text.GetLength();
}
