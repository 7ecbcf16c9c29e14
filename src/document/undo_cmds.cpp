// The undo commands: what each takes out of the page and puts back, in which order, and what it
// tells the object tree.
#include "document/undo_cmds.h"

#include "document/neighbour_services.h"
#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"

IMPLEMENT_DYNAMIC(CCmdAddCell, CCmd)
IMPLEMENT_DYNAMIC(CCmdAddCells, CCmd)
IMPLEMENT_DYNAMIC(CCmdDelCells, CCmd)
IMPLEMENT_DYNAMIC(CCmdModifiPoint, CCmd)
IMPLEMENT_DYNAMIC(CCmdSplit, CCmd)
IMPLEMENT_DYNAMIC(CellStyles, CObject)
IMPLEMENT_DYNAMIC(CCmdMatchprop, CCmd)

int g_textureCounter = 8;

int HxNextTextureNumber() {
    g_textureCounter = g_textureCounter + 1 > 15 ? 9 : g_textureCounter + 1;
    return g_textureCounter;
}

namespace {

LRESULT SendToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* frame = AfxGetMainWnd())
        return frame->SendMessage(message, wParam, lParam);
    return 0;
}

void PostRebuildTree() {
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_REBUILD_OBJECT_TREE, 0, g_pCurPage ? LPARAM(g_pCurPage->m_pageId) : 0);
}

// Removes the first occurrence of the id from the child list of each of the cell's parents.
void UnlinkFromParents(const CGCell* cell, WORD id) {
    for (WORD parentId : cell->m_parents) {
        if (CGCell* parent = HxFindCell(parentId)) {
            if (POSITION pos = parent->m_children.Find(id))
                parent->m_children.RemoveAt(pos);
        }
    }
}

// Appends the id to the child list of each of the cell's parents.
void LinkToParents(const CGCell* cell, WORD id) {
    for (WORD parentId : cell->m_parents) {
        if (CGCell* parent = HxFindCell(parentId))
            parent->m_children.AddTail(id);
    }
}

bool UsesVertexArray(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGVertex)) || cell->IsKindOf(RUNTIME_CLASS(CGLine)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGFace));
}

// Clears a button's running flag; true when it was running.
bool StopButton(CGCell* cell) {
    auto* button = DYNAMIC_DOWNCAST(CGButton, cell);
    if (!button || !button->m_running)
        return false;
    button->m_running = false;
    return true;
}

void DeleteCells(CCellMap& cells) {
    for (POSITION pos = cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        cells.GetNextAssoc(pos, id, cell);
        delete cell;
    }
    cells.RemoveAll();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Adding cells

CCmdAddCell::CCmdAddCell(const CString& name) : CCmd(name) {
    SendToFrame(UM_CELLS_CHANGED, WPARAM(1), 0);
}

CCmdAddCell::~CCmdAddCell() {
    delete m_pCell;
}

BOOL CCmdAddCell::Undo() {
    CGPage* page = g_pCurPage;
    page->ClearSelection();
    SendToFrame(UM_CELLS_CHANGED, WPARAM(-1), 0);
    WORD id = --page->m_nextId;
    CGCell* cell = page->FindCell(id);
    if (!cell)
        return TRUE; // nothing under that id (a construction was cancelled in between)
    m_pCell = cell;
    page->m_cells.RemoveKey(id);
    UnlinkFromParents(cell, id);
    HxRestoreFollowedLabel(*cell);
    cell->LeavePage();
    page->ForgetId(id);
    if (UsesVertexArray(cell))
        page->RebuildVertexArray();
    else if (StopButton(cell))
        page->RestartButtonsAfterEdit();
    return TRUE;
}

BOOL CCmdAddCell::Redo() {
    CGPage* page = g_pCurPage;
    if (CGCell* cell = m_pCell) {
        page->m_cells.SetAt(cell->m_id, cell);
        LinkToParents(cell, cell->m_id);
        HxHideFollowedLabel(*cell);
        ++page->m_nextId;
        if (UsesVertexArray(cell))
            page->RebuildVertexArray();
        cell->Recompute();
        m_pCell = nullptr;
    } else {
        ++page->m_nextId;
    }
    SendToFrame(UM_CELLS_CHANGED, WPARAM(1), 0);
    return TRUE;
}

CCmdAddCells::CCmdAddCells(int count, const CString& name) : CCmd(name), m_count(count) {
    SendToFrame(UM_CELLS_CHANGED, WPARAM(count), 0);
}

CCmdAddCells::~CCmdAddCells() {
    DeleteCells(m_cells);
}

BOOL CCmdAddCells::Undo() {
    CGPage* page = g_pCurPage;
    page->ClearSelection();
    SendToFrame(UM_CELLS_CHANGED, WPARAM(-m_count), 0);
    bool stoppedButton = false;
    for (int k = 0; k < m_count; ++k) {
        WORD id = WORD(page->m_nextId - 1 - k);
        CGCell* cell = page->FindCell(id);
        if (!cell)
            continue;
        UnlinkFromParents(cell, id);
        HxRestoreFollowedLabel(*cell);
        cell->LeavePage();
        stoppedButton |= StopButton(cell);
        page->m_cells.RemoveKey(id);
        page->ForgetId(id);
        m_cells.SetAt(id, cell);
    }
    page->m_nextId = WORD(page->m_nextId - m_count);
    HxApplyRenames(m_renames, true);
    page->RebuildVertexArray();
    if (stoppedButton)
        page->RestartButtonsAfterEdit();
    return TRUE;
}

void HxApplyRenames(const std::vector<CCellRename>& renames, bool undo) {
    if (renames.empty())
        return;
    CGPage* page = g_pCurPage;
    for (const CCellRename& r : renames) {
        CGCell* cell = page->FindCell(r.m_id);
        if (!cell)
            continue;
        cell->m_name = undo ? r.m_before : r.m_after;
        cell->m_flag2 = true;
        // The labels and descriptions built from the name follow it.
        page->CollectDescendantIds(*cell, page->m_scratchIds);
        const std::vector<WORD> ids = page->m_scratchIds;
        page->UpdateTextsById(ids);
    }
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page->m_pageId));
}

BOOL CCmdAddCells::Redo() {
    CGPage* page = g_pCurPage;
    for (int k = 0; k < m_count; ++k) {
        WORD id = WORD(page->m_nextId + k);
        CGCell* cell = m_cells.Find(id);
        if (!cell)
            continue;
        page->m_cells.SetAt(id, cell);
        LinkToParents(cell, id);
        HxHideFollowedLabel(*cell);
        cell->Recompute();
    }
    m_cells.RemoveAll(); // the page owns them again
    page->m_nextId = WORD(page->m_nextId + m_count);
    HxApplyRenames(m_renames, false);
    page->RebuildVertexArray();
    SendToFrame(UM_CELLS_CHANGED, WPARAM(m_count), 0);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Deleting cells

CCmdDelCells::CCmdDelCells(CList<WORD, WORD>* ids, const CString& name)
    : CCmd(name), m_pIds(ids ? ids : new CList<WORD, WORD>) {}

CCmdDelCells::~CCmdDelCells() {
    DeleteCells(m_cells);
    delete m_pIds;
}

BOOL CCmdDelCells::Redo() {
    CGPage* page = g_pCurPage;
    page->ClearSelection();
    SendToFrame(UM_CELLS_CHANGED, 0, LPARAM(m_pIds));
    // Children before parents.
    for (POSITION pos = m_pIds->GetTailPosition(); pos;) {
        WORD id = m_pIds->GetPrev(pos);
        CGCell* cell = page->FindCell(id);
        if (!cell)
            continue;
        UnlinkFromParents(cell, id);
        cell->LeavePage();
        if (auto* button = DYNAMIC_DOWNCAST(CGButton, cell))
            button->m_running = false;
        page->m_cells.RemoveKey(id);
        page->ForgetId(id);
        m_cells.SetAt(id, cell);
    }
    page->RebuildVertexArray();
    page->RestartButtonsAfterEdit();
    return TRUE;
}

BOOL CCmdDelCells::Undo() {
    CGPage* page = g_pCurPage;
    // Parents before children.
    for (POSITION pos = m_pIds->GetHeadPosition(); pos;) {
        WORD id = m_pIds->GetNext(pos);
        CGCell* cell = m_cells.Find(id);
        if (!cell)
            continue;
        page->m_cells.SetAt(id, cell);
        LinkToParents(cell, id);
        cell->Recompute();
    }
    m_cells.RemoveAll();
    page->RebuildVertexArray();
    SendToFrame(UM_CELLS_CHANGED, 1, LPARAM(m_pIds));
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Moving a point

CCmdModifiPoint::CCmdModifiPoint(WORD id, const CString& name) : CCmd(name), m_id(id) {
    if (auto* point = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(id))) {
        m_param = point->m_param1;
        m_x = point->m_x;
        m_y = point->m_y;
        m_z = point->m_z;
    }
}

BOOL CCmdModifiPoint::Undo() {
    const BOOL done = Exchange();
    HxApplyRenames(m_renames, true);
    return done;
}

BOOL CCmdModifiPoint::Redo() {
    const BOOL done = Exchange();
    HxApplyRenames(m_renames, false);
    return done;
}

BOOL CCmdModifiPoint::Exchange() {
    CGPage* page = g_pCurPage;
    auto* point = DYNAMIC_DOWNCAST(CGVertex, page->FindCell(m_id));
    if (!point)
        return TRUE;
    std::swap(point->m_param1, m_param);
    std::swap(point->m_x, m_x);
    std::swap(point->m_y, m_y);
    std::swap(point->m_z, m_z);
    point->SyncVertex();
    page->CollectDescendantIds(*point, page->m_scratchIds);
    page->UpdateCellsById(page->m_scratchIds);
    g_traceImageStale = 1;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Separating cells from their parents

CCmdSplit::CCmdSplit(const CString& name) : CCmd(name) {}

CCmdSplit::~CCmdSplit() {
    DeleteCells(m_cells);
}

// Puts each cell of m_cells in the page under its id and keeps the one it replaces.
void CCmdSplit::ExchangeCells() {
    CCellMap& pageCells = g_pCurPage->m_cells;
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        CGCell* inPage = pageCells.Find(id);
        if (!inPage)
            continue;
        pageCells.SetAt(id, cell);
        m_cells.SetAt(id, inPage);
    }
}

BOOL CCmdSplit::Redo() {
    g_pCurPage->ClearSelection();
    ExchangeCells();
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* dependent;
        m_cells.GetNextAssoc(pos, id, dependent);
        UnlinkFromParents(dependent, id);
    }
    PostRebuildTree();
    return TRUE;
}

BOOL CCmdSplit::Undo() {
    g_pCurPage->ClearSelection();
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* dependent;
        m_cells.GetNextAssoc(pos, id, dependent);
        LinkToParents(dependent, id);
    }
    ExchangeCells();
    PostRebuildTree();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The format painter

void CellStyles::Take(const CGCell& cell) {
    m_id = cell.m_id;
    m_color = cell.m_color;
    m_labelColor = cell.m_labelColor;
    m_style = cell.m_style;
    m_kind = cell.m_kind;
    m_labelHidden = cell.m_labelHidden;
    m_size = cell.m_size;
    m_extB1 = cell.m_extB1;
    m_param4 = cell.m_param4;
}

CCmdMatchprop::CCmdMatchprop(const CString& name) : CCmd(name) {}

CCmdMatchprop::~CCmdMatchprop() {
    for (int i = 0; i < m_targets.GetSize(); ++i)
        delete m_targets.GetAt(i);
    m_targets.RemoveAll();
}

BOOL CCmdMatchprop::TakeSelection(const CGPage& page) {
    std::vector<WORD> circles;
    for (WORD id : page.m_selCurves) {
        if (HxIsOfClassNamed(page.FindCell(id), "CGArc"))
            circles.push_back(id);
    }
    auto toVector = [](const CList<WORD, WORD>& list) {
        std::vector<WORD> ids;
        for (WORD id : list)
            ids.push_back(id);
        return ids;
    };
    const std::vector<WORD> kinds[4] = {toVector(page.m_selPoints), toVector(page.m_selLines),
                                        toVector(page.m_selFaces), circles};
    for (int k = 0; k < 4; ++k) {
        const std::vector<WORD>& ids = kinds[k];
        if (ids.size() < 2)
            continue;
        const CGCell* model = page.FindCell(ids.back());
        if (!model)
            return FALSE;
        m_objectKind = k + 1;
        m_source.Take(*model);
        for (size_t i = 0; i + 1 < ids.size(); ++i) {
            if (const CGCell* target = page.FindCell(ids[i]))
                m_targets.Add(new CellStyles(*target));
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CCmdMatchprop::Redo() {
    const CellStyles& s = m_source;
    for (int i = 0; i < m_targets.GetSize(); ++i) {
        CGCell* cell = HxFindCell(m_targets.GetAt(i)->m_id);
        if (!cell)
            continue;
        cell->m_labelHidden = s.m_labelHidden;
        cell->m_size = s.m_size;
        cell->m_kind = s.m_kind;
        cell->m_style = s.m_style;
        cell->m_extB1 = s.m_extB1;
        // A face keeps its own colour and takes only the opacity.
        if (m_objectKind != kFaces) {
            cell->m_color.r = s.m_color.r;
            cell->m_color.g = s.m_color.g;
            cell->m_color.b = s.m_color.b;
        }
        cell->m_color.a = s.m_color.a;
        cell->m_labelColor = s.m_labelColor;
        if (m_objectKind == kFaces || m_objectKind == kCircles) {
            if (s.m_param4 != 0 && cell->m_param4 == 0) {
                cell->m_param4 = HxNextTextureNumber();
                if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell))
                    face->m_texCoordsDirty = true;
            } else if (s.m_param4 == 0) {
                cell->m_param4 = 0;
            }
        }
    }
    return TRUE;
}

BOOL CCmdMatchprop::Undo() {
    for (int i = 0; i < m_targets.GetSize(); ++i) {
        const CellStyles& t = *m_targets.GetAt(i);
        CGCell* cell = HxFindCell(t.m_id);
        if (!cell)
            continue;
        cell->m_labelHidden = t.m_labelHidden;
        cell->m_size = t.m_size;
        cell->m_kind = t.m_kind;
        cell->m_style = t.m_style;
        cell->m_extB1 = t.m_extB1;
        cell->m_param4 = t.m_param4;
        cell->m_color = t.m_color;
        cell->m_labelColor = t.m_labelColor;
    }
    return TRUE;
}
