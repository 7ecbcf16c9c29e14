// User-defined tools on a page: a tool made from the selected construction, and tools applied click
// by click with the custom-tool mouse tool (a placeholder for each input follows the mouse) or at
// once to the selected points and values.
#include "document/tool_record.h"

#include "dynamics/buttons.h"
#include "dynamics/iterate.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/free_points.h"
#include "model/page.h"
#include "platform/cmdtarget.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

constexpr int kInfoPane = 0;

// Points g_cellMap at the page's map while tool code works on its cells.
class CToolMapScope {
public:
    explicit CToolMapScope(CCellMap* cells) : m_saved(g_cellMap) { g_cellMap = cells; }
    ~CToolMapScope() { g_cellMap = m_saved; }
    CToolMapScope(const CToolMapScope&) = delete;
    CToolMapScope& operator=(const CToolMapScope&) = delete;

private:
    CCellMap* m_saved;
};

CRecord* WorkingCopy(const CGPage& page) {
    return DYNAMIC_DOWNCAST(CRecord, page.m_toolState);
}

// The inputs of a tool made here are free points and parameters; a tool read from a file may have
// other points as point inputs (the check of a loaded tool lets points and values through).
bool IsPointInput(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGVertex));
}

// Room for `cells` new ids and `points` new vertex slots (the array grows when it must).
bool MakeRoom(CGPage& page, long long cells, long long points) {
    if (cells > CGPage::kMaxCellId || points > CGPage::kMaxCellId || !page.CanTakeIds(int(cells)) ||
        !page.CanTakeVertexIndices(int(points)))
        return false;
    if (int(page.m_nextVertex) + points > g_vertexArrayCapacity) {
        if (!EnsureVertexArray(int(points)))
            return false;
        if (int(page.m_nextVertex) + points > g_vertexArrayCapacity)
            return false;
    }
    return true;
}

// A value placeholder sits at the mouse in the screen plane.
void PutAtMouse(CGCell& cell) {
    const float u = g_unitLength;
    cell.m_labelPos[0] = float((g_mouseX + g_mouseDX - g_clientWidth / 2.0) * u) - g_viewTransX;
    cell.m_labelPos[1] = float((g_clientHeight / 2.0 - g_mouseY - g_mouseDY) * u) - g_viewTransY;
}

// One recorded cell placed in the page as its newest cell: the next id, parents through the id
// map (and the cell in their child lists), a name, vertex slot or screen place as a new cell of
// its kind, then computed.  Values (and, when asked, vectors) take the next text place unless the
// cell is the placeholder of the input being matched.
void PlaceCell(CGPage& page, CGCell* cell, bool vectorsAsText, bool placeholder) {
    const WORD oldId = cell->m_id;
    cell->m_id = page.m_nextId++;
    page.m_toolIdMap.SetAt(oldId, cell->m_id);
    page.m_cells.SetAt(cell->m_id, cell);
    for (int i = 0; i < cell->m_parents.GetSize(); ++i) {
        WORD mapped = 0;
        page.m_toolIdMap.Lookup(cell->m_parents[i], mapped);
        cell->m_parents[i] = mapped;
        if (CGCell* parent = page.FindCell(mapped))
            parent->m_children.AddTail(cell->m_id);
    }
    if (auto* point = DYNAMIC_DOWNCAST(CGVertex, cell)) {
        if (!point->m_nameFixed && point->m_hidden == 0 && point->m_labelHidden == 0)
            point->m_name = page.MakeAutoLabel(CGPage::kAutoLabelPoint);
        point->m_vertexIndex = page.m_nextVertex++;
        point->SyncVertex();
    } else if (cell->IsKindOf(RUNTIME_CLASS(CGButton))) {
        page.PlaceNewButton(cell->m_labelPos[0], cell->m_labelPos[1]);
    } else if (!placeholder && (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) ||
                                (vectorsAsText && cell->IsKindOf(RUNTIME_CLASS(CGTmVector))))) {
        page.PlaceAsNewTextItem(*cell);
    } else if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, cell)) {
        iterate->RemapIds(page.m_toolIdMap);
    }
    cell->UpdateName();
    cell->RefreshVertexIndices();
    cell->Recompute();
}

void CopyPosition(const CGVertex& p, float out[3]) {
    out[0] = p.m_x;
    out[1] = p.m_y;
    out[2] = p.m_z;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Making a tool

CRecord* CGPage::CreateTool() {
    CToolMapScope scope(&m_cells);
    g_draggedId = 0;
    int selected = 0;
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        if (!cell->m_selected)
            continue;
        cell->MarkAncestors();
        cell->m_mark = true;
        ++selected;
    }
    // The roots are the inputs: free points in space and parameters.  A root nothing selected uses
    // is dropped.
    bool failed = false;
    for (POSITION pos = m_cells.GetStartPosition(); pos && !failed;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        if (!cell->m_mark || !cell->m_parents.IsEmpty())
            continue;
        if (!HxIsOfClassNamed(cell, "CGVerFreeXyz") && !HxIsOfClassNamed(cell, "CGTmVarParameter")) {
            failed = true;
            break;
        }
        bool used = false;
        for (WORD childId : cell->m_children) {
            const CGCell* child = FindCell(childId);
            used |= child && child->m_mark;
        }
        if (!used)
            cell->m_mark = false;
    }
    std::vector<WORD> ids;
    CollectMarkedIds(ids);
    m_scratchIds = ids;
    if (failed || ids.empty()) {
        HxMessageBox(u"不合条件。\n\n程序已尝试智能扩减对象，但仍未能创建。\n\n请重新选择一个完整的结构！",
                     u"创建工具失败", MB_OK | MB_ICONERROR);
        return nullptr;
    }
    if (int(ids.size()) != selected &&
        HxMessageBox(u"选取的结构不合条件。\n\n程序已对对象进行智能扩减，现已满足条件。\n\n是否继续？",
                     u"继续创建工具？", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return nullptr;

    // The cells are copied through an archive in memory, in ascending ids.
    auto tool = std::make_unique<CRecord>();
    try {
        CTypedPtrList<CObList, CGCell*> originals;
        for (WORD id : ids)
            originals.AddTail(FindCell(id));
        CMemFile file(1024);
        {
            CArchive store(&file, CArchive::store);
            originals.Serialize(store);
            store.Close();
        }
        file.Seek(0, CFile::begin);
        CArchive load(&file, CArchive::load);
        tool->m_recordedCells.Serialize(load);
    } catch (const CException&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (tool->m_recordedCells.GetCount() != int(ids.size()))
        return nullptr;
    tool->m_cellCount = tool->m_recordedCells.GetCount();

    CMap<WORD, WORD, WORD, WORD> newIds(10);
    newIds.InitHashTable(17);
    WORD next = 0;
    int points = 0;
    for (POSITION pos = tool->m_recordedCells.GetHeadPosition(); pos;) {
        CGCell* cell = tool->m_recordedCells.GetNext(pos);
        if (CGCell* original = FindCell(cell->m_id))
            cell->m_text1 = original->GetDescription();
        newIds.SetAt(cell->m_id, next);
        cell->m_id = next++;
        cell->m_children.RemoveAll();
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            ++points;
    }
    int pointInputs = 0;
    for (POSITION pos = tool->m_recordedCells.GetHeadPosition(); pos;) {
        CGCell* cell = tool->m_recordedCells.GetNext(pos);
        if (!cell->m_parents.IsEmpty()) {
            for (int i = 0; i < cell->m_parents.GetSize(); ++i) {
                WORD mapped = 0;
                newIds.Lookup(cell->m_parents[i], mapped);
                cell->m_parents[i] = mapped;
            }
        } else if (IsPointInput(cell)) {
            tool->m_conditions.Add(new CCondition(cell->m_id, CString(u"点") + cell->m_name, true));
            ++pointInputs;
        } else {
            tool->m_conditions.Add(new CCondition(cell->m_id, CString(u"值") + cell->m_name, false));
        }
        if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, cell))
            iterate->RemapIds(newIds);
    }
    tool->m_inputCount = tool->m_conditions.GetSize();
    tool->m_pointCount = points;
    tool->m_pointInputCount = pointInputs;
    // What was made must be a tool that can be stored and read back.
    if (!tool->Validate()) {
        HxMessageBox(u"不合条件。\n\n程序已尝试智能扩减对象，但仍未能创建。\n\n请重新选择一个完整的结构！",
                     u"创建工具失败", MB_OK | MB_ICONERROR);
        return nullptr;
    }
    return tool.release();
}

// ---------------------------------------------------------------------------------------------
// Applying a tool click by click

bool CGPage::StartToolApplication(float x, float y, float z) {
    m_constructMarker = 0;
    m_toolNextCondition = 0;
    // An empty tool has nothing to apply.
    if (m_toolState || !g_pCurrentTool || g_pCurrentTool->m_recordedCells.IsEmpty())
        return false;
    const CRecord& tool = *g_pCurrentTool;
    if (!MakeRoom(*this, tool.m_cellCount, tool.m_pointCount)) {
        m_constructMarker = -1;
        g_mouseTool = 1;
        return false;
    }
    CRecord* copy = nullptr;
    try {
        copy = tool.Clone();
    } catch (const CException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    copy->ApplyDefaultStyles();
    m_toolState = copy;
    m_toolIdMap.RemoveAll();
    m_toolFirstId = m_nextId;
    m_toolNewCount = 0;
    MatchToolInput(0, nullptr);
    CToolMapScope scope(&m_cells);
    CGCell* placeholder = m_constructMarker > 0 ? FindCell(WORD(m_constructMarker)) : nullptr;
    if (!placeholder)
        return true;
    if (m_toolInputIsValue) {
        PutAtMouse(*placeholder);
    } else if (auto* point = DYNAMIC_DOWNCAST(CGVertex, placeholder)) {
        point->m_x = x;
        point->m_y = y;
        point->m_z = z;
        point->SyncVertex();
        UpdateCellsById(m_scratchIds);
    }
    return true;
}

int CGPage::MatchToolInput(WORD id, CGCell* newCell) {
    CRecord* work = WorkingCopy(*this);
    if (!work) {
        delete newCell;
        return 0;
    }
    CToolMapScope scope(&m_cells);
    CString status = u"匹配";
    float remembered[3] = {0.0f, 0.0f, 0.0f};
    bool hasRemembered = false;
    if (m_constructMarker >= 1) {
        const WORD placeholderId = WORD(m_constructMarker);
        CGCell* placeholder = FindCell(placeholderId);
        if (!placeholder) {
            delete newCell;
            return 0;
        }
        if (newCell) {
            // Only a point input takes a new point, and only under the placeholder's id.
            auto* point = DYNAMIC_DOWNCAST(CGVertex, newCell);
            auto* old = DYNAMIC_DOWNCAST(CGVertex, placeholder);
            if (m_toolInputIsValue || !point || !old || newCell->m_id != placeholderId) {
                delete newCell;
                return 0;
            }
            point->m_name = old->m_name;
            point->m_hidden = old->m_hidden;
            point->m_labelHidden = old->m_labelHidden;
            point->m_nameFixed = old->m_nameFixed;
            point->m_style = old->m_style;
            point->m_size = old->m_size;
            point->m_color = old->m_color;
            point->m_labelColor = old->m_labelColor;
            m_cells.SetAt(placeholderId, point);
            for (WORD childId : old->m_children) {
                point->m_children.AddTail(childId);
                if (CGCell* child = FindCell(childId))
                    child->RefreshVertexIndices();
            }
            std::copy(old->m_labelOffset, old->m_labelOffset + 3, point->m_labelOffset);
            point->Recompute();
            point->SyncVertex();
            for (int i = 0; i < 3; ++i)
                point->m_labelPos[i] = (i == 0   ? point->m_x
                                        : i == 1 ? point->m_y
                                                 : point->m_z) +
                                       point->m_labelOffset[i];
            CopyPosition(*old, remembered);
            hasRemembered = true;
            delete old;
        } else {
            CGCell* matched = id < placeholderId ? FindCell(id) : nullptr;
            // A point input matches a point, a value input a value.
            const bool fits = matched && (m_toolInputIsValue ? matched->IsKindOf(RUNTIME_CLASS(CGTmVariable))
                                                             : matched->IsKindOf(RUNTIME_CLASS(CGVertex)));
            if (!fits)
                return 0;
            m_toolIdMap.SetAt(WORD(m_toolInputOldId), id);
            for (int u = int(placeholderId) + 1; u < int(m_nextId); ++u) {
                CGCell* cell = FindCell(WORD(u));
                if (!cell)
                    continue;
                bool replaced = false;
                for (int i = 0; i < cell->m_parents.GetSize(); ++i) {
                    if (cell->m_parents[i] == placeholderId) {
                        cell->m_parents[i] = id;
                        replaced = true;
                    }
                }
                if (replaced) {
                    matched->m_children.AddTail(WORD(u));
                    cell->RefreshVertexIndices();
                }
                if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, cell))
                    iterate->ReplaceId(placeholderId, id);
            }
            if (auto* old = DYNAMIC_DOWNCAST(CGVertex, placeholder)) {
                CopyPosition(*old, remembered);
                hasRemembered = true;
            }
            m_cells.RemoveKey(placeholderId);
            ForgetId(placeholderId);
            delete placeholder;
        }
        for (WORD cellId : m_scratchIds) {
            if (CGCell* cell = FindCell(cellId))
                cell->Recompute();
        }
        for (WORD cellId : m_scratchIds) {
            if (CGCell* cell = FindCell(cellId))
                cell->UpdateName();
        }
    }

    int result = 0;
    if (work->m_recordedCells.IsEmpty()) {
        // The last recorded cell stands: the application is over, the next mouse move starts another.
        m_constructMarker = -1;
        delete work;
        m_toolState = nullptr;
        result = int(m_nextId) == int(m_toolFirstId) + m_toolNewCount ? m_toolNewCount : -1;
        status = u"要结束请右击鼠标！";
    } else {
        CGCell* head = work->m_recordedCells.GetHead();
        m_toolInputOldId = head->m_id;
        m_constructMarker = m_nextId;
        if (m_toolNextCondition >= 0 && m_toolNextCondition < work->m_conditions.GetSize())
            status += work->m_conditions.GetAt(m_toolNextCondition++)->m_text;
        if (!IsPointInput(head)) {
            m_toolInputIsValue = 1;
            PutAtMouse(*head);
        } else {
            m_toolInputIsValue = 0;
            auto* point = static_cast<CGVertex*>(head);
            if (hasRemembered) {
                point->m_x = remembered[0];
                point->m_y = remembered[1];
                point->m_z = remembered[2];
            }
            for (int i = 0; i < 3; ++i)
                point->m_labelPos[i] = (i == 0   ? point->m_x
                                        : i == 1 ? point->m_y
                                                 : point->m_z) +
                                       point->m_labelOffset[i];
        }
        // The input's placeholder, then every cell that the inputs placed so far determine.
        bool first = true;
        do {
            CGCell* cell = work->m_recordedCells.RemoveHead();
            ++m_toolNewCount;
            PlaceCell(*this, cell, true, first);
            first = false;
        } while (!work->m_recordedCells.IsEmpty() && !work->m_recordedCells.GetHead()->m_parents.IsEmpty());

        if (CGCell* placeholder = FindCell(WORD(m_constructMarker)))
            CollectDescendantIds(*placeholder, m_scratchIds);
    }
    HxSetStatusText(kInfoPane, status);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Applying a tool to the selection

int CGPage::CountToolRepetitions(const CRecord& tool) const {
    const int pointInputs = tool.m_pointInputCount;
    const int valueInputs = tool.m_inputCount - tool.m_pointInputCount;
    if (pointInputs < 0 || valueInputs < 0 || tool.m_inputCount <= 0)
        return 0;
    int n = -1;
    if (pointInputs > 0)
        n = m_selPoints.GetCount() / pointInputs;
    // A tool of values alone is repeated as often as the values allow.
    if (valueInputs > 0) {
        const int byValues = m_selValues.GetCount() / valueInputs;
        n = n < 0 ? byValues : std::min(n, byValues);
    }
    return std::max(n, 0);
}

int CGPage::ApplyCurrentTool() {
    if (!g_pCurrentTool || m_toolState)
        return 0;
    const CRecord& tool = *g_pCurrentTool;
    const int n = CountToolRepetitions(tool);
    if (n == 0)
        return 0;
    CToolMapScope scope(&m_cells);
    // The inputs take the selected points and values in selection order: they must be of their kind.
    for (WORD id : m_selPoints) {
        const CGCell* cell = FindCell(id);
        if (!cell || !cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            return 0;
    }
    for (WORD id : m_selValues) {
        const CGCell* cell = FindCell(id);
        if (tool.m_inputCount > tool.m_pointInputCount &&
            (!cell || !cell->IsKindOf(RUNTIME_CLASS(CGTmVariable))))
            return 0;
    }
    const long long made = (long long)(tool.m_cellCount - tool.m_inputCount) * n;
    const long long points = (long long)(tool.m_pointCount - tool.m_pointInputCount) * n;
    if (made <= 0 || !MakeRoom(*this, made, points))
        return 0;

    POSITION pointPos = m_selPoints.GetHeadPosition();
    POSITION valuePos = m_selValues.GetHeadPosition();
    for (int k = 0; k < n; ++k) {
        std::unique_ptr<CRecord> copy;
        try {
            copy.reset(tool.Clone());
        } catch (...) {
            // The repetitions made so far stand.
            m_toolIdMap.RemoveAll();
            return k * (tool.m_cellCount - tool.m_inputCount);
        }
        copy->ApplyDefaultStyles();
        m_toolIdMap.RemoveAll();
        for (int i = 0; i < copy->m_conditions.GetSize(); ++i) {
            const CCondition* condition = copy->m_conditions.GetAt(i);
            POSITION& pos = condition->m_isPoint ? pointPos : valuePos;
            const CList<WORD, WORD>& list = condition->m_isPoint ? m_selPoints : m_selValues;
            m_toolIdMap.SetAt(condition->m_id, list.GetNext(pos));
        }
        while (!copy->m_recordedCells.IsEmpty()) {
            CGCell* cell = copy->m_recordedCells.RemoveHead();
            if (cell->m_parents.IsEmpty()) {
                delete cell;
                continue;
            }
            PlaceCell(*this, cell, false, false);
        }
    }
    m_toolIdMap.RemoveAll();
    return int(made);
}
