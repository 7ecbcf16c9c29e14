// CGPage operations on its cells: collecting marked ids and recomputing them in id order, the
// selection marks and deletion sets, clearing the selection, automatic names, the places of new
// screen items, point picking and the cancelling of a construction in progress.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/vertex.h"
#include "view/view_globals.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

void RemoveAllOf(CList<WORD, WORD>& list, WORD id) {
    while (POSITION pos = list.Find(id))
        list.RemoveAt(pos);
}

void RemoveAllOf(std::vector<WORD>& ids, WORD id) {
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
}

// The suffixes of automatic point names, in their order.
constexpr char kSuffixCycle[] = " 123456789'0";

bool IsNameSuffix(char c) {
    return std::find(std::begin(kSuffixCycle), std::end(kSuffixCycle) - 1, c) != std::end(kSuffixCycle) - 1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Dependency order and recomputation

void CGPage::CollectMarkedIds(std::vector<WORD>& ids) {
    ids.clear();
    ForEachCell(m_cells, [&](CGCell* cell) {
        if (cell->m_mark) {
            ids.push_back(cell->m_id);
            cell->m_mark = false;
        }
    });
    std::sort(ids.begin(), ids.end());
}

void CGPage::CollectDescendantIds(CGCell& cell, std::vector<WORD>& ids) {
    ids.clear();
    cell.MarkDescendants(&ids);
    // Ascending through a bit per possible id: linear in the descendants, where sorting is not.
    std::vector<uint64_t> present(size_t(65536 / 64), 0);
    for (WORD id : ids)
        present[id >> 6] |= uint64_t(1) << (id & 63);
    size_t n = 0;
    for (size_t word = 0; word < present.size(); ++word)
        for (uint64_t bits = present[word]; bits != 0; bits &= bits - 1)
            ids[n++] = WORD(word * 64 + size_t(std::countr_zero(bits)));
    for (WORD id : ids) {
        if (CGCell* marked = m_cells.Find(id))
            marked->m_mark = false;
    }
}

void CGPage::UpdateCellsById(const std::vector<WORD>& ids) {
    HxBeginRecomputePass();
    for (WORD id : ids) {
        if (CGCell* cell = m_cells.Find(id))
            cell->Recompute();
    }
}

void CGPage::UpdateTextsById(const std::vector<WORD>& ids) {
    for (WORD id : ids) {
        if (CGCell* cell = m_cells.Find(id))
            cell->UpdateName();
    }
}

void CGPage::MarkSelectionWithDescendants() {
    ForEachCell(m_cells, [&](CGCell* cell) {
        if (!cell->m_selected)
            return;
        if (!cell->m_mark) {
            for (WORD childId : cell->m_children) {
                if (CGCell* child = m_cells.Find(childId)) {
                    child->MarkDescendants();
                    child->m_mark = true;
                }
            }
        }
        cell->m_mark = true;
    });
}

void CGPage::MarkSelectionWithAncestors() {
    ForEachCell(m_cells, [&](CGCell* cell) {
        if (!cell->m_selected)
            return;
        if (!cell->m_mark) {
            for (WORD parentId : cell->m_parents) {
                if (CGCell* parent = m_cells.Find(parentId)) {
                    parent->MarkAncestors();
                    parent->m_mark = true;
                }
            }
        }
        cell->m_mark = true;
    });
}

void CGPage::CollectDeletionIds(CList<WORD, WORD>& ids) {
    g_draggedId = 0;
    MarkSelectionWithDescendants();
    CollectMarkedIds(m_scratchIds);
    for (WORD id : m_scratchIds)
        ids.AddTail(id);
}

// ---------------------------------------------------------------------------------------------
// Selection

void CGPage::ClearSelection() {
    for (CList<WORD, WORD>* list : {&m_selPoints, &m_selLines, &m_selFaces, &m_selCurves, &m_selTexts,
                                    &m_selButtons, &m_selValues, &m_selSolids, &m_selOthers}) {
        for (WORD id : *list) {
            if (CGCell* cell = m_cells.Find(id))
                cell->m_selected = false;
        }
    }
    for (CList<WORD, WORD>* list : {&m_selPoints, &m_selLines, &m_selFaces, &m_selSolids, &m_selCurves,
                                    &m_selTexts, &m_selValues, &m_selButtons, &m_selOthers, &m_selAll})
        list->RemoveAll();
    m_walkList.RemoveAll();
    m_pageSelected = 0;
    const CGPage* current = g_pCurPage ? g_pCurPage : this;
    if (CWnd* frame = AfxGetMainWnd())
        frame->SendMessage(UM_SELECTION_CHANGED, 2, kPageTreeItemBase + current->m_pageId);
}

int CGPage::CountSelectedVariables() const {
    int count = 0;
    for (WORD id : m_selValues) {
        if (DYNAMIC_DOWNCAST(CGTmVariable, m_cells.Find(id)))
            ++count;
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// Automatic names

CString CGPage::MakeAutoLabel(int kind) {
    CString name;
    if (kind != kAutoLabelPoint) {
        name.Format(u"c%d", int(m_circleCounter));
        ++m_circleCounter; // an 8-bit counter: after 255 comes 0
        return name;
    }
    // Counters read from a damaged record start the cycle afresh rather than make odd names.
    if (m_labelLetter < 'A' || m_labelLetter > 'Z' + 1)
        m_labelLetter = 'A';
    if (!IsNameSuffix(m_labelSuffix))
        m_labelSuffix = ' ';
    if (m_labelLetter > 'Z') {
        // The next suffix: ' ' -> '1' .. '9' -> '\'' -> '0' -> ' '.
        ++m_labelSuffix;
        m_labelLetter = 'A';
        switch (m_labelSuffix) {
        case '!':
            m_labelSuffix = '1';
            break;
        case ':':
            m_labelSuffix = '\'';
            break;
        case '(':
            m_labelSuffix = '0';
            break;
        case '1':
            m_labelSuffix = ' ';
            break;
        default:
            break;
        }
    }
    if (m_labelSuffix == ' ')
        name.Format(u"%c", m_labelLetter);
    else
        name.Format(u"%c%c", m_labelLetter, m_labelSuffix);
    ++m_labelLetter;
    return name;
}

const CString& CGPage::MakeAutoLabel(CString& name, int kind) {
    name = MakeAutoLabel(kind);
    return name;
}

void CGPage::StepAutoLabelBack() {
    --m_labelLetter;
    if (m_labelLetter >= 'A')
        return;
    m_labelLetter = 'Z';
    // The previous suffix: ' ' -> '0' -> '\'' -> '9' .. '1' -> ' '.
    --m_labelSuffix;
    switch (m_labelSuffix) {
    case '/':
        m_labelSuffix = '\'';
        break;
    case '&':
        m_labelSuffix = '9';
        break;
    case '0':
        m_labelSuffix = ' ';
        break;
    case ' ' - 1:
        m_labelSuffix = '0';
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Places of new screen items

void CGPage::PlaceNewTextItem(float& x, float& y, BYTE rows) {
    float px, py;
    if (m_lastTextX < 800.0f) {
        py = m_lastTextY - rows * 1.5f;
        px = m_lastTextX;
        if (py < -11.0f) {
            py = 11.0f;
            px -= 12.0f;
            if (px < -18.0f)
                px = 13.0f;
        }
        m_textSlot = BYTE(int(std::trunc((13.0f - px + 6.0f) / 12.0f)) * 16 +
                          int(std::trunc((11.0f - py + 0.75f) / 1.5f)) + rows);
    } else {
        m_textSlot = BYTE(m_textSlot + rows);
        if (m_textSlot > 64)
            m_textSlot = 1;
        int k = m_textSlot - 1;
        px = 13.0f - float(k / 16) * 12.0f;
        py = 11.0f - float(k % 16) * 1.5f;
    }
    m_lastTextX = px;
    m_lastTextY = py;
    const float scale = 20.0f * g_unitLength;
    x = px * scale;
    y = py * scale;
}

void CGPage::PlaceNewButton(float& x, float& y) {
    float px, py;
    if (m_lastButtonX > -800.0f) {
        py = m_lastButtonY - 1.5f;
        px = m_lastButtonX;
        if (py < -11.0f) {
            px += 5.0f;
            py = 12.0f;
            if (px > 17.0f)
                px = -18.0f;
        }
        m_buttonSlot = BYTE(int(std::trunc((12.0f - py + 0.75f) / 1.5f)) +
                            int(std::trunc((px + 18.0f + 2.5f) / 5.0f)) * 16 + 1);
    } else {
        if (m_buttonSlot >= 128)
            m_buttonSlot = 0;
        int k = m_buttonSlot;
        m_buttonSlot = BYTE(k + 1);
        px = float(k / 16) * 5.0f - 18.0f;
        py = float(8 - k % 16) * 1.5f;
    }
    m_lastButtonX = px;
    m_lastButtonY = py;
    const float scale = 20.0f * g_unitLength;
    x = px * scale;
    y = py * scale;
}

int CGPage::BringFlatObjectsIntoView(float halfWidth, float halfHeight) {
    int moved = 0;
    ForEachCell(m_cells, [&](CGCell* cell) {
        if (!cell->IsKindOf(RUNTIME_CLASS(CGTextmap)) && !cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) &&
            !cell->IsKindOf(RUNTIME_CLASS(CGButton)))
            return;
        float& x = cell->m_labelPos[0];
        float& y = cell->m_labelPos[1];
        const float oldX = x, oldY = y;
        if (x < -halfWidth)
            x = 4.0f - halfWidth;
        else if (x > halfWidth)
            x = halfWidth - 4.0f;
        if (y < -halfHeight)
            y = 4.0f - halfHeight;
        else if (y > halfHeight)
            y = halfHeight - 4.0f;
        if (x != oldX || y != oldY)
            ++moved;
    });
    return moved;
}

// ---------------------------------------------------------------------------------------------
// Picking and cancelling

void CGPage::DrawPickNamesVertices() {
    ForEachCell(m_cells, [](CGCell* cell) {
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            cell->DrawForPick(0);
    });
}

void CGPage::ForgetId(WORD id) {
    for (CList<WORD, WORD>* list :
         {&m_selPoints, &m_selLines, &m_selFaces, &m_selSolids, &m_selCurves, &m_selTexts, &m_selValues,
          &m_selButtons, &m_selOthers, &m_selAll, &m_walkList, &m_runningButtons, &m_tracedCells})
        RemoveAllOf(*list, id);
    RemoveAllOf(m_scratchIds, id);
    RemoveAllOf(m_recomputeIds, id);
    if (g_draggedId == id)
        g_draggedId = 0;
}

int CGPage::RemoveCellsAfterMarker() {
    if (m_constructMarker < 1)
        return 0;
    int result = int(m_nextId) == int(m_toolFirstId) + m_toolNewCount ? m_toolNewCount : -1;
    for (int id = int(m_nextId) - 1; id >= m_constructMarker; --id) {
        CGCell* cell = m_cells.Find(WORD(id));
        if (!cell)
            continue;
        for (WORD parentId : cell->m_parents) {
            if (CGCell* parent = m_cells.Find(parentId))
                RemoveAllOf(parent->m_children, WORD(id));
        }
        {
            // The cell finds its parents through g_cellMap: this page's map while it leaves.
            CCellMap* const current = std::exchange(g_cellMap, &m_cells);
            cell->LeavePage();
            g_cellMap = current;
        }
        m_cells.RemoveKey(WORD(id));
        // The name of a point the user could see goes back to the automatic names.
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)) && !cell->m_nameFixed && cell->m_hidden == 0 &&
            cell->m_labelHidden == 0)
            StepAutoLabelBack();
        ForgetId(WORD(id));
        delete cell;
    }
    m_nextId = WORD(m_constructMarker);
    m_constructMarker = 0;
    delete m_toolState;
    m_toolState = nullptr;
    if (result > 0) {
        result = int(m_nextId) - int(m_toolFirstId);
        m_toolNewCount = result;
    }
    ForEachCell(m_cells, [](CGCell* cell) { cell->m_highlighted = false; });
    return result;
}
