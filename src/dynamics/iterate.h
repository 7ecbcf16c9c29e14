// The iteration figure as far as the parameter-step keys use it: its depth, whether the depth
// follows a value, the number of branches and the cells recomputed at each level, and the
// suggested greatest depth.  Its record, construction, recursion and drawing come with the
// iteration code, which makes it a full cell.
#pragma once

#include "model/cell.h"

#include <vector>

class CGIterate : public CGCell {
    DECLARE_DYNAMIC(CGIterate)
public:
    // Name "迭代", black, one branch, depth 3.
    CGIterate();

    CString GetDescription() override; // "%d个对象的迭代图" with the pre-image item count

    // The greatest depth that keeps the cells drawn within 32000: with one branch 32000 divided by
    // the chain's cells (at most 1000); with b branches trunc(log((b - 1) 32000 / (b cells)) / log b),
    // which is 0 or less for a chain too long for even one level.  An empty chain counts as one cell.
    int DefaultDepth() const;
    // Whether the depth is taken from the last parent, a value (the first parameter word set): the
    // step keys then leave the depth alone.
    bool DepthFromValue() const { return m_param1 != 0.0f; }
    // The step keys: one level more (no upper limit other than the cell's 1000) or one less (never
    // below 1).  Both return whether the depth changed.
    bool RaiseDepth();
    bool LowerDepth();
    // Every cell id the iteration keeps (its chain here) replaced by its entry in the old-to-new map
    // (pasting, tool playback, compaction); an id the map lacks stays.
    void RemapIds(const CMap<WORD, WORD, WORD, WORD>& map);

    static constexpr int kMaxDepth = 1000;

    int m_itemCount = 0;  // pre-image items
    int m_pointCount = 0; // of them points
    int m_branchCount = 1;
    int m_depth = 3;
    std::vector<WORD> m_chain; // the cells recomputed at each level, ascending
};
