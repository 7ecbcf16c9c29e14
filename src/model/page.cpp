// CGPage: construction from the view globals, destruction of its cells, and the page record with
// the checks that keep a damaged record from corrupting the page.
#include "model/page.h"

#include "view/view_globals.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

IMPLEMENT_SERIAL(CGPage, CObject, 1)

CGPage::CGPage()
    : m_viewTrans{g_viewTransX, g_viewTransY, g_viewTransZ}, m_viewRot{float(g_viewRotation[1]),
                                                                       float(g_viewRotation[2]),
                                                                       float(g_viewRotation[3]),
                                                                       float(g_viewRotation[0])},
      m_viewZoom(g_viewZoom), m_background{g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2],
                                           g_backgroundColor[3]},
      m_projection(g_projectionType), m_viewLocked(g_viewLocked != 0), m_dragLocked(g_dragLocked != 0) {
    m_toolIdMap.InitHashTable(17);
}

CGPage::~CGPage() {
    DeleteContents();
    // Nobody may keep reaching a page that is gone.
    if (g_pCurPage == this)
        g_pCurPage = nullptr;
    if (g_cellMap == &m_cells)
        g_cellMap = nullptr;
}

void CGPage::DeleteContents() {
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        delete cell;
    }
    m_cells.RemoveAll();
    for (CList<WORD, WORD>* list : {&m_selPoints, &m_selLines, &m_selFaces, &m_selSolids, &m_selCurves,
                                    &m_selTexts, &m_selValues, &m_selButtons, &m_selOthers, &m_selAll})
        list->RemoveAll();
    m_walkList.RemoveAll();
    delete m_toolState;
    m_toolState = nullptr;
    m_toolIdMap.RemoveAll();
    m_tracedCells.RemoveAll();
    m_scratchIds.clear();
    m_recomputeIds.clear();
    m_runningButtons.RemoveAll();
    m_cmdProcessor.ClearAll();
}

BOOL CGPage::CanTakeIds(int count) const {
    return count >= 0 && m_nextId >= 1 && int(m_nextId) + count - 1 <= int(kMaxCellId);
}

BOOL CGPage::CanTakeVertexIndices(int count) const {
    return count >= 0 && int(m_nextVertex) + count - 1 <= int(kMaxCellId);
}

void CGPage::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CGPage::Store(CArchive& ar) {
    m_cells.Serialize(ar);
    SerializeHeader(ar);
}

namespace {

template <class T> void Transfer(CArchive& ar, T& v) {
    if (ar.IsStoring())
        ar << v;
    else
        ar >> v;
}

[[noreturn]] void Refuse(int cause) {
    throw CArchiveException(cause);
}

} // namespace

void CGPage::SerializeHeader(CArchive& ar) {
    Transfer(ar, m_pageId);
    Transfer(ar, m_title);
    Transfer(ar, m_nextId);
    Transfer(ar, m_nextVertex);
    Transfer(ar, m_labelLetter);
    Transfer(ar, m_labelSuffix);
    Transfer(ar, m_circleCounter);
    Transfer(ar, m_threeView);
    Transfer(ar, m_threeViewPersp);
    Transfer(ar, m_buttonSlot);
    Transfer(ar, m_textSlot);
    Transfer(ar, m_pageSelected);
    Transfer(ar, m_snapshot);
    for (int i = 0; i < 3; ++i)
        Transfer(ar, m_viewRot[i]);
    for (float& v : m_viewTrans)
        Transfer(ar, v);
    Transfer(ar, m_viewZoom);
    Transfer(ar, m_projection);
    Transfer(ar, m_viewLocked);
    Transfer(ar, m_dragLocked);
    for (float& v : m_background)
        Transfer(ar, v);
    if (ar.IsStoring())
        m_hasExtBlock = g_saveGfFormat ? 0 : 1;
    Transfer(ar, m_hasExtBlock);
    Transfer(ar, m_autoButton);
    Transfer(ar, m_viewRot[3]);
    Transfer(ar, m_mediaFile);
    if (ar.IsStoring() ? (m_hasExtBlock && !g_saveGfFormat) : m_hasExtBlock != 0) {
        Transfer(ar, m_dashedBehindLit);
        Transfer(ar, m_unitsPerLength);
        Transfer(ar, m_reserved1);
        Transfer(ar, m_reserved2);
        Transfer(ar, m_reserved3);
        Transfer(ar, m_reservedText);
    } else if (ar.IsLoading()) {
        m_hasExtBlock = 1;
    }
}

// The record is read into a fresh staging page, so that a record that fails part-way deletes the
// cells it made and changes nothing here.  Once it has passed every check, the cells and fields
// move over in one step.
void CGPage::Load(CArchive& ar) {
    CGPage staged; // the record's fields
    // The cells in file order (map insertion order decides the map's walking order), owned here
    // until they pass.  No map of their own while they wait: its nodes, freed again, would lie
    // between the cells and leave the heap more broken up with every document read.
    std::vector<std::unique_ptr<CGCell>> fileOrder;
    std::vector<bool> present(size_t(kMaxCellId) + 1, false);

    DWORD count = ar.ReadCount();
    ar.CheckCount(count, 4);
    fileOrder.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        WORD key;
        ar >> key;
        std::unique_ptr<CGCell> cell(static_cast<CGCell*>(ar.ReadObject(RUNTIME_CLASS(CGCell))));
        if (!cell)
            Refuse(CArchiveException::badClass);
        if (key != cell->m_id || key == 0 || key > kMaxCellId || present[key])
            Refuse(CArchiveException::badIndex);
        present[key] = true;
        fileOrder.push_back(std::move(cell));
    }
    staged.SerializeHeader(ar);

    std::vector<CGCell*> byId;
    byId.reserve(fileOrder.size());
    for (const auto& cell : fileOrder)
        byId.push_back(cell.get());
    std::sort(byId.begin(), byId.end(), [](const CGCell* a, const CGCell* b) { return a->m_id < b->m_id; });
    {
        // Parents must exist and come before their children, so that ascending ids are a valid
        // recomputation order and the marking walks always end.
        std::vector<std::pair<WORD, WORD>> links; // parent, child
        for (CGCell* cell : byId) {
            for (WORD parentId : cell->m_parents) {
                if (parentId >= cell->m_id || !present[parentId])
                    Refuse(CArchiveException::badIndex);
                links.emplace_back(parentId, cell->m_id);
            }
        }
        std::sort(links.begin(), links.end());
        // Child lists follow from the parents.  A list that names other cells than those that have
        // this cell as a parent is rebuilt in id order; one that only differs in order is kept.
        std::vector<WORD> stored, expected;
        auto link = links.begin();
        for (CGCell* cell : byId) {
            while (link != links.end() && link->first < cell->m_id)
                ++link;
            expected.clear();
            for (; link != links.end() && link->first == cell->m_id; ++link)
                expected.push_back(link->second);
            stored.clear();
            for (WORD child : cell->m_children)
                stored.push_back(child);
            std::sort(stored.begin(), stored.end());
            if (stored != expected) {
                cell->m_children.RemoveAll();
                for (WORD child : expected)
                    cell->m_children.AddTail(child);
            }
        }
    }
    // New ids continue above every stored id, whatever the record says.
    WORD largestId = byId.empty() ? 0 : byId.back()->m_id;
    if (staged.m_nextId <= largestId)
        staged.m_nextId = WORD(largestId + 1);
    if (staged.m_nextId == 0)
        staged.m_nextId = 1;
    // The unit length is 1 / this value: none is no unit at all, and a huge one would make it too
    // small to turn back into a count of pixels.
    if (staged.m_unitsPerLength < 1)
        staged.m_unitsPerLength = 20;
    else if (staged.m_unitsPerLength > kMaxUnitsPerLength)
        staged.m_unitsPerLength = kMaxUnitsPerLength;

    DeleteContents();
    m_pageId = staged.m_pageId;
    m_title = staged.m_title;
    m_nextId = staged.m_nextId;
    m_nextVertex = staged.m_nextVertex;
    m_pageSelected = staged.m_pageSelected;
    m_labelLetter = staged.m_labelLetter;
    m_labelSuffix = staged.m_labelSuffix;
    m_circleCounter = staged.m_circleCounter;
    m_textSlot = staged.m_textSlot;
    m_buttonSlot = staged.m_buttonSlot;
    m_lastButtonX = staged.m_lastButtonX;
    m_lastButtonY = staged.m_lastButtonY;
    m_lastTextX = staged.m_lastTextX;
    m_lastTextY = staged.m_lastTextY;
    std::copy(std::begin(staged.m_viewTrans), std::end(staged.m_viewTrans), m_viewTrans);
    std::copy(std::begin(staged.m_viewRot), std::end(staged.m_viewRot), m_viewRot);
    m_viewZoom = staged.m_viewZoom;
    std::copy(std::begin(staged.m_background), std::end(staged.m_background), m_background);
    m_projection = staged.m_projection;
    m_viewLocked = staged.m_viewLocked;
    m_dragLocked = staged.m_dragLocked;
    m_hasExtBlock = staged.m_hasExtBlock;
    m_dashedBehindLit = staged.m_dashedBehindLit;
    m_unitsPerLength = staged.m_unitsPerLength;
    m_reserved1 = staged.m_reserved1;
    m_reserved2 = staged.m_reserved2;
    m_reserved3 = staged.m_reserved3;
    m_reservedText = staged.m_reservedText;
    m_autoButton = staged.m_autoButton;
    m_mediaFile = staged.m_mediaFile;
    m_walkClass = staged.m_walkClass;
    m_timerMode = staged.m_timerMode;
    m_threeView = staged.m_threeView;
    m_threeViewPersp = staged.m_threeViewPersp;
    m_transformMarks = staged.m_transformMarks;
    m_constructMarker = staged.m_constructMarker;
    m_toolInputOldId = staged.m_toolInputOldId;
    m_toolInputIsValue = staged.m_toolInputIsValue;
    m_toolFirstId = staged.m_toolFirstId;
    m_toolNewCount = staged.m_toolNewCount;
    m_toolNextCondition = staged.m_toolNextCondition;
    m_snapshot = staged.m_snapshot;
    for (auto& cell : fileOrder) {
        const WORD id = cell->m_id;
        m_cells.SetAt(id, cell.release()); // the cells belong to this page now
    }
}
