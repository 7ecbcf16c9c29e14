// The state of a page as its file keeps it, for comparing a page before and after an edit: every
// cell's record (with its class) by id, the child list in id order, and the next id.
#pragma once

#include "model/page.h"
#include "support/archive_helpers.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

struct PageSnapshot {
    WORD nextId = 0;
    std::map<WORD, std::vector<BYTE>> cells;

    bool operator==(const PageSnapshot&) const = default;
};

// The record of one cell, written as an object of its class.  With sortChildren the record is that
// of a copy whose child list is in id order (lists re-linked at their tail may differ in order only).
inline std::vector<BYTE> CellRecordBytes(CGCell* cell, bool sortChildren = true) {
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar.WriteObject(cell); });
    if (!sortChildren)
        return bytes;
    CGCell* copy = nullptr;
    LoadBytes(bytes,
              [&](CArchive& ar) { copy = static_cast<CGCell*>(ar.ReadObject(RUNTIME_CLASS(CGCell))); });
    std::vector<WORD> children;
    for (WORD id : copy->m_children)
        children.push_back(id);
    std::sort(children.begin(), children.end());
    copy->m_children.RemoveAll();
    for (WORD id : children)
        copy->m_children.AddTail(id);
    bytes = StoreBytes([&](CArchive& ar) { ar.WriteObject(copy); });
    delete copy;
    return bytes;
}

inline PageSnapshot TakeSnapshot(CGPage& page) {
    PageSnapshot s;
    s.nextId = page.m_nextId;
    for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page.m_cells.GetNextAssoc(pos, id, cell);
        s.cells[id] = CellRecordBytes(cell);
    }
    return s;
}

// The first difference between two snapshots, for failure messages.
inline std::string SnapshotDifference(const PageSnapshot& a, const PageSnapshot& b) {
    if (a.nextId != b.nextId)
        return "next id " + std::to_string(a.nextId) + " against " + std::to_string(b.nextId);
    for (const auto& [id, bytes] : a.cells) {
        auto it = b.cells.find(id);
        if (it == b.cells.end())
            return "cell " + std::to_string(id) + " only in the first";
        if (it->second != bytes) {
            size_t i = 0;
            while (i < bytes.size() && i < it->second.size() && bytes[i] == it->second[i])
                ++i;
            return "cell " + std::to_string(id) + " differs at byte " + std::to_string(i);
        }
    }
    for (const auto& [id, bytes] : b.cells) {
        if (!a.cells.count(id))
            return "cell " + std::to_string(id) + " only in the second";
    }
    return "no difference";
}

inline void PrintTo(const PageSnapshot& s, std::ostream* os) {
    *os << "{next id " << s.nextId << ", " << s.cells.size() << " cells:";
    for (const auto& [id, bytes] : s.cells)
        *os << ' ' << id << '(' << bytes.size() << ')';
    *os << '}';
}
