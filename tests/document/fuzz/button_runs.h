// Every action button of a page pressed, as clicks press them, and the animation timer run for a
// while: what a loaded document's buttons do, for the fuzzer and the replay of its kept files.
#pragma once

#include "dynamics/buttons.h"
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
