// The iteration figure: building it from the pre-image's descendants, its record, the depth (its
// own, a value's, the suggestions), the ids it keeps and how they are renumbered.
#include "dynamics/iterate.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/page.h"
#include "model/vertex.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

IMPLEMENT_SERIAL(CGIterate, CGCell, 1)

namespace {

// Cells a construction's text, button or colour modifier: they are neither recomputed nor drawn by
// the iteration.
bool IsDroppedFromChain(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) || cell->IsKindOf(RUNTIME_CLASS(CGTmSingleline)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGButton)) || HxIsOfClassNamed(cell, "CGModifier");
}

// A depth taken from a value: its whole part within 0..1000 (no number gives 0).
int DepthOfValue(float value) {
    if (!(value >= 0.0f))
        return 0;
    if (value >= float(CGIterate::kMaxDepth))
        return CGIterate::kMaxDepth;
    return int(std::trunc(value));
}

void ReadIds(CArchive& ar, std::vector<WORD>& ids) {
    int count = 0;
    ar >> count;
    if (count < 0)
        throw CArchiveException(CArchiveException::badIndex);
    ar.CheckCount(ULONGLONG(count), sizeof(WORD));
    ids.resize(size_t(count));
    for (WORD& id : ids)
        ar >> id;
}

void WriteIds(CArchive& ar, const std::vector<WORD>& ids) {
    ar << int(ids.size());
    for (WORD id : ids)
        ar << id;
}

void InsertSorted(std::vector<WORD>& ids, WORD id) {
    auto it = std::lower_bound(ids.begin(), ids.end(), id);
    if (it == ids.end() || *it != id)
        ids.insert(it, id);
}

} // namespace

CGIterate::CGIterate() {
    m_name = u"迭代";
    m_color = {0, 0, 0, 255};
    m_labelPos[0] = -15.0f;
    m_labelPos[1] = 8.0f;
    ResizeTable();
}

CGIterate::CGIterate(WORD id, int itemCount, int pointCount, int depth, std::vector<std::vector<WORD>> idSets)
    : CGIterate() {
    m_id = id;
    m_itemCount = std::max(0, itemCount);
    m_pointCount = std::clamp(pointCount, 0, m_itemCount);
    m_idSets = std::move(idSets);
    for (std::vector<WORD>& set : m_idSets)
        set.resize(size_t(m_itemCount), 0);
    m_branchCount = std::max(0, int(m_idSets.size()) - 1);
    SetDepth(depth);

    CGPage* page = g_pCurPage;
    if (page && !m_idSets.empty()) {
        const std::vector<WORD>& preImage = m_idSets[0];
        // The pre-image's descendants, marked and taken in ascending order (the marks stay).
        for (WORD item : preImage) {
            if (CGCell* cell = HxFindCell(item))
                cell->MarkDescendants();
        }
        std::vector<WORD> marked;
        ForEachCell(page->m_cells, [&](CGCell* cell) {
            if (cell->m_mark)
                marked.push_back(cell->m_id);
        });
        std::sort(marked.begin(), marked.end());
        for (WORD cellId : marked) {
            CGCell* cell = HxFindCell(cellId);
            if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable))) {
                m_values.push_back(cellId);
                m_chain.push_back(cellId);
            } else if (IsDroppedFromChain(cell)) {
                cell->m_mark = false;
            } else if (cell->IsKindOf(RUNTIME_CLASS(CGTmVector))) {
                m_chain.push_back(cellId);
            } else {
                m_drawables.push_back(cellId);
                m_chain.push_back(cellId);
                cell->m_labelHidden = 1;
            }
        }
        // The parents: the pre-image and the chain, less every cell whose first child is among
        // them (that child stands for it).
        for (WORD item : preImage) {
            if (CGCell* cell = HxFindCell(item))
                cell->m_mark = true;
        }
        std::vector<WORD> set;
        page->CollectMarkedIds(set);
        const std::unordered_set<WORD> inSet(set.begin(), set.end());
        for (WORD cellId : set) {
            CGCell* cell = HxFindCell(cellId);
            if (!cell)
                continue;
            const bool covered = !cell->m_children.IsEmpty() && inSet.count(cell->m_children.GetHead()) != 0;
            if (!covered)
                AddParent(cellId);
        }
    }

    m_valueCount = int(m_values.size());
    ResizeTable();
    m_showFull = 1;
    if (m_valueCount > 0) {
        m_showTable = 1;
        m_labelHidden = 0;
    } else {
        m_showTable = 0;
        m_labelHidden = 1;
    }
    m_solidOnly = 0;
    m_param1 = 0.0f;
    Recompute();
}

// ---------------------------------------------------------------------------------------------
// Record

void CGIterate::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_itemCount << m_pointCount << m_branchCount << m_depth << int(m_values.size());
        ar << m_showFull << m_showTable << m_solidOnly;
        for (int s = 0; s <= m_branchCount; ++s) {
            for (int i = 0; i < m_itemCount; ++i) {
                const bool present = size_t(s) < m_idSets.size() && size_t(i) < m_idSets[size_t(s)].size();
                ar << WORD(present ? m_idSets[size_t(s)][size_t(i)] : 0);
            }
        }
        WriteIds(ar, m_chain);
        WriteIds(ar, m_drawables);
        WriteIds(ar, m_values);
        return;
    }
    int items = 0, points = 0, branches = 0, depth = 0, values = 0;
    ar >> items >> points >> branches >> depth >> values;
    if (items < 0 || points < 0 || points > items || branches < 0 || values < 0)
        throw CArchiveException(CArchiveException::badIndex);
    ar >> m_showFull >> m_showTable >> m_solidOnly;
    // Every set holds one id per item: the sets must fit in what is left of the record.  Sets of no
    // items take no bytes, so their number says nothing: such an iteration has nothing to map and
    // loads without branches.
    const ULONGLONG ids = ULONGLONG(branches + 1ULL) * ULONGLONG(items);
    ar.CheckCount(ids, sizeof(WORD));
    if (items == 0)
        branches = 0;
    m_itemCount = items;
    m_pointCount = points;
    m_branchCount = branches;
    m_idSets.assign(size_t(branches) + 1, std::vector<WORD>(size_t(items), 0));
    for (std::vector<WORD>& set : m_idSets) {
        for (WORD& id : set)
            ar >> id;
    }
    ReadIds(ar, m_chain);
    ReadIds(ar, m_drawables);
    ReadIds(ar, m_values);
    // A depth beyond the figure's limit is brought back within it; the value count follows the
    // values actually listed.
    SetDepth(depth);
    m_valueCount = int(m_values.size());
    m_tableRows = 1;
    ResizeTable();
    m_savedPreImage.assign(size_t(m_itemCount) * 4, 0.0f);
}

CString CGIterate::GetDescription() {
    CString text;
    text.Format(u"%d个对象的迭代图", m_itemCount);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Depth

int CGIterate::DefaultDepth() const {
    const int objects = std::max<int>(1, int(m_chain.size()));
    if (m_branchCount <= 1)
        return std::min(32000 / objects, kMaxDepth);
    const double b = m_branchCount;
    const double depth = std::log((b - 1.0) * 32000.0 / (b * objects)) / std::log(b);
    // The depth is never beyond 1000, and the logarithm of a ratio below 1 is negative.
    return int(std::trunc(std::clamp(depth, -1.0, double(kMaxDepth))));
}

int CGIterate::SuggestedDepth(int mappings, int sources) {
    sources = std::max(1, sources);
    if (mappings <= 1)
        return std::min(32000 / sources, kMaxDepth);
    const double m = mappings;
    const double depth = std::log((m - 1.0) * 32000.0 / (m * sources)) / std::log(m);
    return int(std::trunc(std::clamp(depth, -1.0, double(kMaxDepth))));
}

void CGIterate::SetDepth(int depth) {
    m_depth = std::clamp(depth, 0, kMaxDepth);
}

void CGIterate::FollowDepthValue(WORD valueId) {
    AddParent(valueId);
    m_param1 = 1.0f;
    if (const CGCell* value = HxFindCell(valueId))
        m_depth = DepthOfValue(value->m_param1);
}

bool CGIterate::RaiseDepth() {
    if (m_depth >= kMaxDepth)
        return false;
    ++m_depth;
    return true;
}

bool CGIterate::LowerDepth() {
    if (m_depth <= 1)
        return false;
    --m_depth;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Recomputation

void CGIterate::Recompute() {
    Resolved r;
    if (!Resolve(r)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    if (DepthFromValue() && m_parents.GetSize() > 0) {
        if (const CGCell* value = HxFindCell(m_parents[m_parents.GetSize() - 1]))
            m_depth = DepthOfValue(value->m_param1);
    }
    SavePreImage(r);
    m_table[0] = 0.0f;
    for (size_t v = 0; v < r.values.size(); ++v)
        m_table[v + 1] = r.values[v]->m_param1;
    m_tableRows = 1;
}

// ---------------------------------------------------------------------------------------------
// Ids

void CGIterate::RemapIds(const CMap<WORD, WORD, WORD, WORD>& newIds) {
    auto remap = [&](WORD& id) {
        WORD mapped = 0;
        id = newIds.Lookup(id, mapped) ? mapped : WORD(0);
    };
    for (std::vector<WORD>& set : m_idSets)
        std::for_each(set.begin(), set.end(), remap);
    for (std::vector<WORD>* list : {&m_chain, &m_drawables, &m_values})
        std::for_each(list->begin(), list->end(), remap);
}

void CGIterate::ReplaceId(WORD oldId, WORD newId) {
    for (std::vector<WORD>& set : m_idSets)
        std::replace(set.begin(), set.end(), oldId, newId);
    for (std::vector<WORD>* list : {&m_chain, &m_drawables, &m_values})
        std::replace(list->begin(), list->end(), oldId, newId);
}

// ---------------------------------------------------------------------------------------------
// What the property dialog changes

std::vector<WORD> CGIterate::IterableCells() const {
    std::vector<WORD> cells;
    for (WORD id : m_chain) {
        const CGCell* cell = HxFindCell(id);
        if (cell && !cell->IsKindOf(RUNTIME_CLASS(CGTmVector)))
            cells.push_back(id);
    }
    return cells;
}

bool CGIterate::IsCreated(WORD id) const {
    return std::find(m_drawables.begin(), m_drawables.end(), id) != m_drawables.end() ||
           std::find(m_values.begin(), m_values.end(), id) != m_values.end();
}

void CGIterate::SetCreated(WORD id, bool created) {
    const CGCell* cell = HxFindCell(id);
    if (!cell || std::find(m_chain.begin(), m_chain.end(), id) == m_chain.end())
        return;
    std::vector<WORD>& list = cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) ? m_values : m_drawables;
    if (created)
        InsertSorted(list, id);
    else
        list.erase(std::remove(list.begin(), list.end(), id), list.end());
    m_valueCount = int(m_values.size());
    ResizeTable();
    Recompute();
}

void CGIterate::SetShowTable(bool show) {
    m_showTable = show ? 1 : 0;
    if (show)
        m_solidOnly = 0;
}

void CGIterate::SetSolidOnly(bool solidOnly) {
    m_solidOnly = solidOnly ? 1 : 0;
    if (solidOnly)
        m_showTable = 0;
}

void CGIterate::ResizeTable() {
    m_table.assign(size_t(kTableRows) * size_t(m_values.size() + 1), 0.0f);
    m_tableRows = 1;
}

float CGIterate::TableAt(int row, int column) const {
    const int columns = int(m_values.size()) + 1;
    if (row < 0 || row >= kTableRows || column < 0 || column >= columns)
        return 0.0f;
    return m_table[size_t(row) * size_t(columns) + size_t(column)];
}
