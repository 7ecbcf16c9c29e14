// CGPage and its running action buttons: starting and stopping them, one animation tick, the
// recomputation list of the points they drive, and the list of traced cells.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "view/view_globals.h"

#include <algorithm>

namespace {

// The animation and move buttons drive their first parent.
bool DrivesFirstParent(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGButnAnimation)) || cell->IsKindOf(RUNTIME_CLASS(CGButnMove));
}

bool Contains(const CList<WORD, WORD>& list, WORD id) {
    return list.Find(id) != nullptr;
}

} // namespace

void CGPage::MarkButtonDrivenCells() {
    for (WORD id : m_runningButtons) {
        CGCell* button = m_cells.Find(id);
        if (!button || !DrivesFirstParent(button) || button->m_parents.IsEmpty())
            continue;
        if (CGCell* driven = m_cells.Find(button->m_parents[0]))
            driven->MarkDescendants();
    }
}

void CGPage::RefreshButtonAnimations() {
    MarkButtonDrivenCells();
    CollectMarkedIds(m_recomputeIds);
    RebuildTraceList(1);
}

void CGPage::RebuildTraceList(int mode) {
    m_tracedCells.RemoveAll();
    if (m_threeView) {
        g_tracing = FALSE;
        return;
    }
    auto isTraced = [&](WORD id) {
        CGCell* cell = m_cells.Find(id);
        return cell && cell->m_traced;
    };
    if (mode == 1) {
        for (WORD id : m_recomputeIds) {
            if (isTraced(id))
                m_tracedCells.AddTail(id);
        }
        for (WORD id : m_runningButtons) {
            CGCell* button = m_cells.Find(id);
            if (!button || !DrivesFirstParent(button) || button->m_parents.IsEmpty())
                continue;
            WORD driven = button->m_parents[0];
            if (isTraced(driven) && !Contains(m_tracedCells, driven))
                m_tracedCells.AddTail(driven);
        }
    } else {
        for (WORD id : m_scratchIds) {
            if (isTraced(id))
                m_tracedCells.AddTail(id);
        }
        if (isTraced(g_draggedId) && !Contains(m_tracedCells, g_draggedId))
            m_tracedCells.AddTail(g_draggedId);
    }
    g_tracing = !m_tracedCells.IsEmpty();
}

void CGPage::ResetButtonStates() {
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        if (auto* button = DYNAMIC_DOWNCAST(CGButton, cell))
            button->m_running = false;
    }
    m_recomputeIds.clear();
    m_runningButtons.RemoveAll();
    m_timerMode = 5;
}

BOOL CGPage::StartButton(BOOL start, WORD id) {
    auto* button = DYNAMIC_DOWNCAST(CGButton, m_cells.Find(id));
    if (!button)
        return FALSE;
    auto* series = DYNAMIC_DOWNCAST(CGButnPresentat, button);
    const int memberCount = button->m_parents.GetSize();
    if (!start) {
        if (!button->m_running)
            return FALSE;
        button->m_running = false;
        if (POSITION pos = m_runningButtons.Find(id))
            m_runningButtons.RemoveAt(pos);
        if (series) {
            if (series->m_kind != 0) {
                if (series->m_param4 >= 0 && series->m_param4 < memberCount)
                    StartButton(FALSE, series->m_parents[series->m_param4]);
            } else {
                for (int i = 0; i < memberCount; ++i)
                    StartButton(FALSE, series->m_parents[i]);
            }
        }
        return TRUE;
    }
    if (button->m_running)
        return FALSE;
    if (series) {
        if (!series->CanStart())
            return FALSE;
        if (series->m_kind != 0) {
            if (memberCount > 0)
                StartButton(TRUE, series->m_parents[0]);
            series->m_param4 = 0;
        } else {
            for (int i = 0; i < memberCount; ++i)
                StartButton(TRUE, series->m_parents[i]);
        }
    }
    button->m_running = true;
    m_runningButtons.AddTail(id);
    return TRUE;
}

BOOL CGPage::StepButtons() {
    bool changed = false;
    // 1. Step every running button in start order.  A listed id whose button is gone (an edit
    // removed it while it ran) finishes too, so that the timer does not run for nothing.
    std::vector<WORD> running;
    running.reserve(size_t(m_runningButtons.GetCount()));
    for (WORD id : m_runningButtons)
        running.push_back(id);
    for (WORD id : running) {
        auto* button = DYNAMIC_DOWNCAST(CGButton, m_cells.Find(id));
        if (!button) {
            g_finishedButtons.push_back(id);
            changed = true;
            continue;
        }
        if (button->Step()) {
            g_finishedButtons.push_back(id);
            changed = true;
        }
        // The driven point reaches the vertex array however the step went.
        if (DrivesFirstParent(button) && !button->m_parents.IsEmpty()) {
            if (CGCell* driven = m_cells.Find(button->m_parents[0]))
                driven->SyncVertex();
        }
    }
    // 2. What depends on the driven points.
    UpdateCellsById(m_recomputeIds);
    // 3. Buttons that completed leave the running list.
    if (!g_finishedButtons.empty()) {
        for (WORD id : g_finishedButtons) {
            POSITION pos = m_runningButtons.Find(id);
            if (!pos)
                continue;
            if (auto* button = DYNAMIC_DOWNCAST(CGButton, m_cells.Find(id)))
                button->m_running = false;
            m_runningButtons.RemoveAt(pos);
        }
        g_finishedButtons.clear();
    }
    // 4. Buttons that others asked for start now.
    if (!g_buttonsToStart.empty()) {
        std::vector<WORD> toStart;
        toStart.swap(g_buttonsToStart);
        for (WORD id : toStart)
            StartButton(TRUE, id);
        changed = true;
    }
    if (m_runningButtons.IsEmpty())
        return FALSE;
    if (changed)
        RefreshButtonAnimations();
    return TRUE;
}

BOOL CGPage::RestartButtonsAfterEdit() {
    m_recomputeIds.clear();
    m_runningButtons.RemoveAll();
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        auto* button = DYNAMIC_DOWNCAST(CGButton, cell);
        if (button && button->m_running)
            m_runningButtons.AddTail(id);
    }
    if (m_runningButtons.IsEmpty()) {
        // The trace list may still name cells the edit removed: it follows the running set.
        RebuildTraceList(1);
        return FALSE;
    }
    RefreshButtonAnimations();
    return TRUE;
}
