// The one sequence every construct command follows on the current page: room for the new cells'
// ids and points, the cells made parents first with the page's next ids, vertex indices and
// automatic names, one undo step for exactly the cells of the run, the document modified and its
// views updated.
#pragma once

#include "model/page.h"

#include <memory>
#include <utility>
#include <vector>

class CHalvixDoc;

// Shown when a construction would take the page's id or vertex counter past 65535.
extern const char16_t* const g_pageFullMessage; // "当前页的对象已达上限，不能再添加。"

// The making part of the sequence, shared by the construct commands and the figure builders of the
// page: room for what will be made, then each new cell made with the page's next id (and a point
// with its next vertex index and an automatic name) and stored under its id before the next one is
// made, because later constructors look their parents up in the page.  It records nothing.
class CCellMaker {
public:
    explicit CCellMaker(CGPage& page);
    CCellMaker(const CCellMaker&) = delete;
    CCellMaker& operator=(const CCellMaker&) = delete;

    // Room for `cells` new cells, `points` of them points.  Refused with a message when the page's
    // next id or next vertex index would pass 65535.  When the next vertex index plus `points` exceeds
    // the vertex array's capacity the array grows by 100 points (and, for a larger construction, by
    // as many as it needs).  False when refused or when the array cannot grow: nothing may be made
    // then.
    bool Reserve(int cells, int points);

    // A new point of class T with the next id, the next vertex index and the next automatic name
    // (or the name given), the remaining constructor arguments as given; stored in the page.
    template <class T, class... Args> T* AddPoint(Args&&... args) {
        const WORD id = TakeId();
        const DWORD vertex = TakeVertex();
        const CString name = m_page.MakeAutoLabel(CGPage::kAutoLabelPoint);
        return Store(new T(id, vertex, name, std::forward<Args>(args)...));
    }
    template <class T, class... Args> T* AddNamedPoint(const CString& name, Args&&... args) {
        const WORD id = TakeId();
        const DWORD vertex = TakeVertex();
        return Store(new T(id, vertex, name, std::forward<Args>(args)...));
    }
    // A new cell that is no point: the next id, then the constructor arguments.
    template <class T, class... Args> T* AddCell(Args&&... args) {
        return Store(new T(TakeId(), std::forward<Args>(args)...));
    }
    // A cell made before it was known to be kept (a hull whose points may span no solid): it takes
    // the next id only now and is stored.
    template <class T> T* Adopt(std::unique_ptr<T> cell) {
        cell->m_id = TakeId();
        return Store(cell.release());
    }

    CGPage& Page() { return m_page; }
    // The number of cells made on the page since this maker began, by this maker and by the builders
    // it called: the newest cells of the page, in ascending ids from First().
    int Count() const { return int(m_page.m_nextId) - int(m_firstId); }
    WORD First() const { return m_firstId; }

protected:
    WORD TakeId();
    DWORD TakeVertex();
    template <class T> T* Store(T* cell) {
        m_page.m_cells.SetAt(cell->m_id, cell);
        return cell;
    }

    CGPage& m_page;
    WORD m_firstId;
};

// One run of a construct command.  The command reserves room for what it will make, makes its cells
// one at a time (parents before children), lets the page's figure builders add theirs, and commits
// once; a run that stops before committing must not have made anything.
class CConstruction : public CCellMaker {
public:
    explicit CConstruction(CHalvixDoc& doc);

    // An existing point that a builder of this run may rename: its present name is kept, and when it
    // has another name at the commit the undo step gives it this one back.
    void KeepName(WORD id);

    // The one undo step of the run: CCmdAddCell for a command that always adds one cell,
    // CCmdAddCells with the number of cells made otherwise; then the document is marked modified
    // and its views updated.  A run that made nothing records nothing and changes nothing.
    void CommitCell(const CString& undoName);
    void CommitCells(const CString& undoName);

private:
    void Finish();

    CHalvixDoc& m_doc;
    std::vector<std::pair<WORD, CString>> m_keptNames;
};

// The ids of a selection list in selection order.
std::vector<WORD> HxSelectedIds(const CList<WORD, WORD>& list);
// The cells of a selection list that are of class T, in selection order: a cell that is gone or of
// another class is left out, so that a command never builds on what it cannot use.
template <class T> std::vector<T*> HxSelectedCells(const CList<WORD, WORD>& list) {
    std::vector<T*> cells;
    for (WORD id : list) {
        if (T* cell = DYNAMIC_DOWNCAST(T, HxFindCell(id)))
            cells.push_back(cell);
    }
    return cells;
}
// The selected cell at a place of a selection list as class T, or null when the place is empty,
// the cell is gone or is of another class.
template <class T> T* HxSelectedAs(const CList<WORD, WORD>& list, int index) {
    int i = 0;
    for (WORD id : list) {
        if (i++ == index)
            return DYNAMIC_DOWNCAST(T, HxFindCell(id));
    }
    return nullptr;
}
