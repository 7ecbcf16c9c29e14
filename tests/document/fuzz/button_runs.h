// Every action button of a page pressed, as clicks press them, and the animation timer run for a
// while; the figures that draw others (iterations, traces) through their passes once, without a
// window: what a loaded document does, for the fuzzer and the replay of its kept files.
#pragma once

#include "dynamics/buttons.h"
#include "dynamics/iterate.h"
#include "dynamics/track.h"
#include "model/page.h"

#include <vector>

inline void HxRunAllButtons(CGPage& page, int ticks = 40) {
    std::vector<WORD> buttons;
    for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page.m_cells.GetNextAssoc(pos, id, cell);
        if (cell->IsKindOf(RUNTIME_CLASS(CGButton)))
            buttons.push_back(id);
    }
    for (WORD id : buttons)
        page.StartButton(TRUE, id);
    page.RefreshButtonAnimations();
    for (int tick = 0; tick < ticks && page.StepButtons(); ++tick) {
    }
    page.ResetButtonStates();
    g_buttonsToStart.clear();
}

// The passes of every iteration and trace whose cost is bounded (how deep and wide a user lets an
// iteration grow is the user's choice, not the fuzzer's); those that draw other such figures are
// left out for the same reason.  Without a window the drawing calls do nothing; what runs is the
// recursion, the sweep, the recomputations and the putting back.
inline void HxRunFigurePasses(CGPage& page) {
    auto drawsFigures = [&](const std::vector<WORD>& ids) {
        for (WORD id : ids) {
            CGCell* cell = page.FindCell(id);
            if (cell && (cell->IsKindOf(RUNTIME_CLASS(CGIterate)) || cell->IsKindOf(RUNTIME_CLASS(CGTrack))))
                return true;
        }
        return false;
    };
    std::vector<CGCell*> figures;
    for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page.m_cells.GetNextAssoc(pos, id, cell);
        if (cell->IsKindOf(RUNTIME_CLASS(CGIterate)) || cell->IsKindOf(RUNTIME_CLASS(CGTrack)))
            figures.push_back(cell);
    }
    for (CGCell* cell : figures) {
        if (auto* it = DYNAMIC_DOWNCAST(CGIterate, cell)) {
            double drawn = 0.0, level = 1.0;
            for (int l = 1; l <= it->m_depth && drawn <= 20000.0; ++l) {
                level *= double(it->m_branchCount);
                drawn += level;
            }
            if (drawn * double(it->m_chain.size() + 1) > 200000.0 || drawsFigures(it->m_drawables))
                continue;
        } else {
            auto* trace = static_cast<CGTrack*>(cell);
            std::vector<WORD> parents(trace->m_parents.GetData(),
                                      trace->m_parents.GetData() + trace->m_parents.GetSize());
            const int steps = trace->StepCount();
            if (double(steps) * double(parents.size() + 1) > 200000.0 || drawsFigures(parents))
                continue;
        }
        cell->DrawVisible();
        cell->DrawOnTop();
        cell->DrawFill();
        cell->DrawForPick(3);
    }
}
