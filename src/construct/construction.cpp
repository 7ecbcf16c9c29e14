// The construction sequence: reserving ids and vertex slots, taking them one cell at a time, and
// the one undo step with the modified flag and the view update.
#include "construct/construction.h"

#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"

const char16_t* const g_pageFullMessage = u"当前页的对象已达上限，不能再添加。";

CCellMaker::CCellMaker(CGPage& page) : m_page(page), m_firstId(page.m_nextId) {}

bool CCellMaker::Reserve(int cells, int points) {
    // The counters are 16-bit and never wrap.
    if (cells < 0 || points < 0 || points > cells || !m_page.CanTakeIds(cells) ||
        !m_page.CanTakeVertexIndices(points)) {
        AfxMessageBox(g_pageFullMessage, MB_OK);
        return false;
    }
    if (points > 0 && int(m_page.m_nextVertex) + points > g_vertexArrayCapacity) {
        if (!EnsureVertexArray(100))
            return false;
        // One step of 100 is too little for a large construction (a long pasted list of points):
        // every new point must find its slot in the array.
        if (int(m_page.m_nextVertex) + points > g_vertexArrayCapacity && !EnsureVertexArray(points))
            return false;
    }
    return true;
}

WORD CCellMaker::TakeId() {
    return m_page.m_nextId++;
}

DWORD CCellMaker::TakeVertex() {
    return m_page.m_nextVertex++;
}

CConstruction::CConstruction(CHalvixDoc& doc) : CCellMaker(*g_pCurPage), m_doc(doc) {}

void CConstruction::KeepName(WORD id) {
    if (const CGCell* cell = m_page.FindCell(id))
        m_keptNames.emplace_back(id, cell->m_name);
}

void CConstruction::CommitCell(const CString& undoName) {
    if (Count() <= 0)
        return;
    // One cell only: a command that made more records them all.
    if (Count() > 1) {
        CommitCells(undoName);
        return;
    }
    m_page.m_cmdProcessor.Submit(new CCmdAddCell(undoName));
    Finish();
}

void CConstruction::CommitCells(const CString& undoName) {
    if (Count() <= 0)
        return;
    auto* cmd = new CCmdAddCells(Count(), undoName);
    for (const auto& [id, name] : m_keptNames) {
        const CGCell* cell = m_page.FindCell(id);
        if (cell && cell->m_name != name)
            cmd->m_renames.push_back({id, name, cell->m_name});
    }
    m_page.m_cmdProcessor.Submit(cmd);
    Finish();
}

void CConstruction::Finish() {
    m_doc.SetModifiedFlag(TRUE);
    m_doc.UpdateAllViews(nullptr);
}

std::vector<WORD> HxSelectedIds(const CList<WORD, WORD>& list) {
    std::vector<WORD> ids;
    ids.reserve(size_t(list.GetCount()));
    for (WORD id : list)
        ids.push_back(id);
    return ids;
}
