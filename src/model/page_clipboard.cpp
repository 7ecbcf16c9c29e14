// CGPage and the clipboard: the block of the selection or of the whole page, and the cells of a block
// pasted into the page with new ids.
#include "model/cell_clipboard.h"

#include "dynamics/buttons.h"
#include "dynamics/iterate.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/view_globals.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

UINT g_cfGraph = 0;

void RegisterCellClipboardFormat() {
    g_cfGraph = HxRegisterClipboardFormat(u"CF_GRAPH");
}

UINT HxCellClipboardFormat() {
    if (g_cfGraph == 0)
        RegisterCellClipboardFormat();
    return g_cfGraph;
}

namespace {

// Points g_cellMap at a page's map while the page works on its cells.
class CPageMapScope {
public:
    explicit CPageMapScope(CCellMap* cells) : m_saved(g_cellMap) { g_cellMap = cells; }
    ~CPageMapScope() { g_cellMap = m_saved; }
    CPageMapScope(const CPageMapScope&) = delete;
    CPageMapScope& operator=(const CPageMapScope&) = delete;

private:
    CCellMap* m_saved;
};

[[noreturn]] void Refuse(int cause) {
    throw CArchiveException(cause);
}

// The colour of the page background as a COLORREF (each channel times 255, cut to a whole number).
COLORREF BackgroundColorRef() {
    auto channel = [](float v) { return BYTE(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    return RGB(channel(g_backgroundColor[0]), channel(g_backgroundColor[1]), channel(g_backgroundColor[2]));
}

} // namespace

void CGPage::WriteClipboardBlock(CArchive& ar) {
    if (m_pageSelected != 0) {
        ar << int(kClipboardPage);
        Serialize(ar);
        return;
    }
    ar << int(kClipboardCells);
    g_draggedId = 0;
    CPageMapScope scope(&m_cells);
    MarkSelectionWithAncestors();
    CollectMarkedIds(m_scratchIds);
    // The cells under their places in id order; the map is written in its own walking order.
    CMapWordToOb block;
    block.InitHashTable(17);
    WORD key = 0;
    for (WORD id : m_scratchIds) {
        if (CGCell* cell = m_cells.Find(id))
            block.SetAt(key++, cell);
    }
    block.Serialize(ar);
    block.RemoveAll(); // the cells stay the page's
}

BOOL CGPage::CopySelection() {
    CMemFile file(4096);
    {
        CArchive ar(&file, CArchive::store, 4096);
        WriteClipboardBlock(ar);
        ar.Close();
    }
    CClipboardBackend& clipboard = HxGetClipboard();
    if (!clipboard.Open())
        return FALSE;
    const bool stored = clipboard.SetData(HxCellClipboardFormat(), file.Detach());
    clipboard.Close();
    return stored ? TRUE : FALSE;
}

int CGPage::PasteFromClipboard(CArchive& ar) {
    // The whole block is read and checked before the page is touched: the cells belong to `owned`
    // until they go into the page, so that a refused block leaves nothing behind.
    std::vector<std::unique_ptr<CGCell>> owned;
    CCellMap block; // by key, walked in the order the block was written
    block.InitHashTable(17);
    const DWORD count = ar.ReadCount();
    ar.CheckCount(count, 4);
    owned.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        WORD key;
        ar >> key;
        auto* cell = static_cast<CGCell*>(ar.ReadObject(RUNTIME_CLASS(CGCell)));
        if (!cell)
            Refuse(CArchiveException::badClass);
        owned.emplace_back(cell);
        if (key >= count || block.Contains(key))
            Refuse(CArchiveException::badIndex);
        block.SetAt(key, cell);
    }
    // The keys are 0 .. n - 1.  Every cell's own id is one of a kind, and every parent is in the
    // block under a smaller key, so that the new ids keep parents before their children.
    std::unordered_map<WORD, WORD> keyOfId;
    for (POSITION pos = block.GetStartPosition(); pos;) {
        WORD key;
        CGCell* cell;
        block.GetNextAssoc(pos, key, cell);
        if (cell->m_id == 0 || cell->m_id > kMaxCellId || !keyOfId.emplace(cell->m_id, key).second)
            Refuse(CArchiveException::badIndex);
    }
    for (POSITION pos = block.GetStartPosition(); pos;) {
        WORD key;
        CGCell* cell;
        block.GetNextAssoc(pos, key, cell);
        for (WORD parentId : cell->m_parents) {
            auto it = keyOfId.find(parentId);
            if (it == keyOfId.end() || it->second >= key)
                Refuse(CArchiveException::badIndex);
        }
    }
    const int n = int(count);
    if (n == 0)
        return 0;
    // Ids never wrap: a page that cannot give every cell a new id takes none of them.
    if (!CanTakeIds(n))
        return -1;

    CPageMapScope scope(&m_cells);
    std::vector<std::pair<WORD, CGCell*>> walk;
    walk.reserve(count);
    for (POSITION pos = block.GetStartPosition(); pos;) {
        WORD key;
        CGCell* cell;
        block.GetNextAssoc(pos, key, cell);
        walk.emplace_back(key, cell);
    }
    CMap<WORD, WORD, WORD, WORD> newIds(10);
    newIds.InitHashTable(17);
    for (auto& [key, cell] : walk) {
        newIds.SetAt(cell->m_id, WORD(m_nextId + key));
        cell->m_children.RemoveAll();
    }
    for (std::unique_ptr<CGCell>& cell : owned)
        (void)cell.release(); // from here on the page owns them
    const COLORREF background = BackgroundColorRef();
    for (auto& [key, cell] : walk) {
        cell->m_id = WORD(m_nextId + key);
        for (int i = 0; i < cell->m_parents.GetSize(); ++i) {
            WORD newId = 0;
            newIds.Lookup(cell->m_parents[i], newId);
            cell->m_parents[i] = newId;
        }
        m_cells.SetAt(cell->m_id, cell);
        if (cell->IsKindOf(RUNTIME_CLASS(CGButton))) {
            PlaceNewButton(cell->m_labelPos[0], cell->m_labelPos[1]);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVector))) {
            PlaceAsNewTextItem(*cell);
        } else if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, cell)) {
            if (formula->m_background != background) {
                formula->m_background = background;
                formula->UpdateTexture();
            }
        } else if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, cell)) {
            // The ids an iteration keeps follow the pasted cells (one outside the block names none).
            iterate->RemapIds(newIds);
        }
    }
    m_nextId = WORD(m_nextId + n);
    for (auto& [key, cell] : walk) {
        for (WORD parentId : cell->m_parents) {
            if (CGCell* parent = m_cells.Find(parentId))
                parent->m_children.AddTail(cell->m_id);
        }
        cell->m_mark = true;
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            ++m_nextVertex;
    }
    RebuildVertexArray();
    CollectMarkedIds(m_scratchIds);
    const std::vector<WORD> ids = m_scratchIds;
    UpdateCellsById(ids);
    return n;
}

void CGPage::PlaceAsNewTextItem(CGCell& cell) {
    const int rows = cell.m_style == 1 ? std::clamp(cell.m_extA2, 1, 64) : 1;
    PlaceNewTextItem(cell.m_labelPos[0], cell.m_labelPos[1], BYTE(rows));
}
