// CUndoRedo: markup snapshots of the formula editor.
#include "formula/undo_redo.h"

void CUndoRedo::Push(std::unique_ptr<record> rec) {
    if (!rec)
        return;
    if (Count() >= kMaxRecords) {
        m_records.erase(m_records.begin());
        m_current = m_current == 0 ? -1 : m_current - 1;
    }
    m_records.resize(size_t(m_current + 1));
    m_records.push_back(std::move(rec));
    m_current = Count() - 1;
}

const CUndoRedo::record* CUndoRedo::Undo() {
    if (!CanUndo())
        return nullptr;
    return m_records[size_t(--m_current)].get();
}

const CUndoRedo::record* CUndoRedo::Redo() {
    if (!CanRedo())
        return nullptr;
    return m_records[size_t(++m_current)].get();
}

void CUndoRedo::RemoveAll() {
    m_records.clear();
    m_current = -1;
}
