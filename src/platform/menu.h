// CMenu: the command items of a window's menu (text and enabled, greyed and checked state), which
// the undo history rewrites; the windows mirror the items into their own controls.
#pragma once

#include "platform/cstring.h"
#include "platform/object.h"

#include <functional>
#include <vector>

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    // Appends an item; the state bits of flags (grey, disabled, checked) become its state.
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const CString& text = CString());
    int GetMenuItemCount() const { return int(m_items.size()); }
    UINT GetMenuItemID(int position) const;

    // The state bits of an item (by command or by position); 0xFFFFFFFF when there is none.
    UINT GetMenuState(UINT item, UINT flags) const;
    // Gives an item a new id, text and state; FALSE when there is no such item.
    BOOL ModifyMenu(UINT item, UINT flags, UINT_PTR newId, const CString& text);
    // Sets the grey and disabled bits; returns the previous ones, or 0xFFFFFFFF when there is no item.
    UINT EnableMenuItem(UINT item, UINT enable);
    // Copies the item's text; returns its length, 0 when there is no item.
    int GetMenuString(UINT item, CString& text, UINT flags) const;

    // Called with the item's id after every change of an item (the windows refresh their controls).
    void SetChangeHandler(std::function<void(UINT id)> handler) { m_onChange = std::move(handler); }

private:
    struct Item {
        UINT id;
        UINT state;
        CString text;
    };
    int Find(UINT item, UINT flags) const;
    void Changed(UINT id) const;

    std::vector<Item> m_items;
    std::function<void(UINT)> m_onChange;
};
