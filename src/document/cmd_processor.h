// Undo history of a page: CCmd, one recorded edit, and CCmdProcessor, which keeps at most 200 of
// them, undoes and redoes them in turn and writes the Undo and Redo items of the owner's menu.
#pragma once

#include "platform/afx.h"

class CCmd : public CObject {
    DECLARE_DYNAMIC(CCmd)
public:
    explicit CCmd(const CString& name) : m_name(name) {}

    // TRUE when the edit was undone or redone.
    virtual BOOL Undo() = 0;
    virtual BOOL Redo() = 0;
    virtual BOOL CanUndo() const { return m_undoable; }
    virtual CString GetName() const { return m_name; }

    int m_undoable = 1;
    CString m_name; // the description shown in the Undo and Redo items
};

class CCmdProcessor : public CObject {
    DECLARE_DYNAMIC(CCmdProcessor)
public:
    CCmdProcessor() = default;
    ~CCmdProcessor() override;
    CCmdProcessor(const CCmdProcessor&) = delete;
    CCmdProcessor& operator=(const CCmdProcessor&) = delete;

    // Records a command whose edit has just been made; the processor owns it from now on.
    virtual BOOL Submit(CCmd* cmd);
    virtual BOOL Undo();
    virtual BOOL Redo();
    virtual BOOL CanUndo();
    virtual BOOL CanRedo();
    // Deletes every command and refreshes the menu.
    virtual void Clear();
    virtual void SetMenuOwner(CWnd* owner, UINT undoId, UINT redoId);
    virtual CWnd* GetMenuOwner();
    virtual void UpdateMenu();
    virtual void SetMenuItem(UINT id, const CString& text, BOOL enable);
    // Deletes every command; the menu is left alone.
    virtual void ClearAll();

    int GetCount() const { return m_commands.GetCount(); }
    // The most recently done command, or null when none is done.
    CCmd* GetCurrent() const;

    int m_maxCommands = 200;
    CObList m_commands;           // oldest at the head
    POSITION m_current = nullptr; // the most recently done command; null when none is done
    CWnd* m_pMenuOwner = nullptr;
    UINT m_undoId = ID_EDIT_UNDO; // 57643
    UINT m_redoId = ID_EDIT_REDO; // 57644

private:
    static void DeleteAt(CObList& list, POSITION pos);
};
