// CUndoRedo: the formula editor's own undo list, snapshots of the formula's markup with the caret
// path, at most 50 of them.
#pragma once

#include "formula/node.h"

#include <memory>
#include <vector>

class CUndoRedo {
public:
    static constexpr int kMaxRecords = 50;
    static constexpr const char16_t* kRecordName = u"格式文本编辑";

    struct record {
        CString m_name = kRecordName;
        CString m_markup;
        CCaretPath m_caretPath;
    };

    // Stores a record as the current one: the oldest goes when 50 are held, and every record after
    // the current one (all of them when there is none) is dropped first.
    void Push(std::unique_ptr<record> rec);
    // Moves one record back or forward; null (and nothing moves) at the first or last record or
    // without a current one.
    const record* Undo();
    const record* Redo();
    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current >= 0 && m_current + 1 < Count(); }
    void RemoveAll();

    int Count() const { return int(m_records.size()); }
    // The position of the current record, -1 when there is none.
    int Current() const { return m_current; }
    const record* At(int i) const { return i >= 0 && i < Count() ? m_records[size_t(i)].get() : nullptr; }

private:
    std::vector<std::unique_ptr<record>> m_records;
    int m_current = -1;
};
