// CGIterate: the iteration figure.  A construction built on some points and values (the pre-image)
// is drawn again and again: each branch's images take the pre-image's place, the construction is
// recomputed and drawn, and the same is repeated from there down to a depth, depth first.  No cell
// is made for the copies; every pass leaves the page as it found it.  A table shows the iterated
// values level by level.
#pragma once

#include "model/cell.h"

#include <vector>

class CGIterate : public CGCell {
    DECLARE_SERIAL(CGIterate)
public:
    static constexpr int kMaxDepth = 1000;
    // The table: row 0 and at most 20 recorded rows (22 rows are kept).
    static constexpr int kTableRows = 22;
    static constexpr int kLastTableRow = 20;
    // The colour modes (the style byte).
    static constexpr BYTE kPreImageColors = 0; // "使用原像颜色"
    static constexpr BYTE kDepthColors = 1;    // "不同深度异色"
    static constexpr BYTE kOwnColor = 2;       // "图元自身颜色"
    // The pass modes of the recursion.
    enum PassMode {
        kFill = 0,
        kDepth = 1,
        kHidden = 2,
        kVisible = 3,
        kOnTop = 4,
        kLit = 5,
        kTranslucent = 6
    };

    // For loading: name "迭代", black, one branch, depth 3, nothing to draw.
    CGIterate();
    // A new iteration of the current page: idSets[0] is the pre-image (itemCount ids, the first
    // pointCount of them points), every further set one branch's images in the same order.  Builds
    // the chain, drawables and values from the pre-image's descendants, takes its parents among them
    // and recomputes.  The depth is kept within 0..1000.
    CGIterate(WORD id, int itemCount, int pointCount, int depth, std::vector<std::vector<WORD>> idSets);

    // The common record, then the counts, the three flags, the id sets, chain, drawables and values.
    // Loading refuses counts that do not fit the record or each other.
    void Serialize(CArchive& ar) override;
    // Moves the label anchor (the name and the table) by the mouse movement of the drag.
    void MoveLabel() override;
    // The depth from the depth value (when it follows one), the pre-image saved and the table's first
    // row.  An id that names no cell of the right kind makes the iteration invalid.
    void Recompute() override;
    void DrawFill() override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    // The recursion of the on-top pass (which fills the table), then the name and the table in the
    // screen plane.
    void DrawOnTop() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    // From pick mode 3: the iterated figures and the table under class 7, the name's handle under
    // class 3.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "%d个对象的迭代图"

    // Every stored id replaced by its entry in the map (ids of pasted, replayed or renumbered cells);
    // an id the map lacks becomes 0, which names no cell and makes the iteration invalid.
    void RemapIds(const CMap<WORD, WORD, WORD, WORD>& newIds);
    // Every occurrence of one id replaced by another.
    void ReplaceId(WORD oldId, WORD newId);

    // The greatest depth that keeps the cells drawn within 32000: with one branch 32000 divided by
    // the chain's cells (at most 1000); with b branches trunc(log((b - 1) 32000 / (b cells)) / log b),
    // which is 0 or less for a chain too long for even one level.  An empty chain counts as one cell.
    int DefaultDepth() const;
    // The depth the iteration's dialog suggests for `mappings` branches over `sources` pre-image
    // objects (the same rule over the pre-image instead of the chain).
    static int SuggestedDepth(int mappings, int sources);
    // Whether the depth is taken from the last parent, a value (the first parameter word set): the
    // step keys then leave the depth alone.
    bool DepthFromValue() const { return m_param1 != 0.0f; }
    // Makes the value the depth's source: its id joins the parents (it must be below this id).
    void FollowDepthValue(WORD valueId);
    // The step keys: one level more (no upper limit other than the cell's 1000) or one less (never
    // below 1).  Both return whether the depth changed.
    bool RaiseDepth();
    bool LowerDepth();
    // A depth within 0..1000.
    void SetDepth(int depth);

    // The cells that can be iterated as the property dialog lists them (the chain without its
    // vectors), and whether one of them is drawn (a drawable) or shown in the table (a value).
    std::vector<WORD> IterableCells() const;
    bool IsCreated(WORD id) const;
    // Adds a cell of the chain to the drawables or the values (by its class), or removes it; the
    // lists stay in ascending order and the table follows the values.
    void SetCreated(WORD id, bool created);
    // The flags of the property dialog: the table and the solid-only display exclude each other.
    void SetShowTable(bool show);
    void SetSolidOnly(bool solidOnly);

    // The value table as recorded by the last on-top pass: row r, column c (0 the level).
    float TableAt(int row, int column) const;
    int TableRows() const { return m_tableRows; }
    float TableRightEdge() const { return m_tableRight; }

    int m_itemCount = 0;  // pre-image items
    int m_pointCount = 0; // of them points
    int m_branchCount = 1;
    int m_depth = 3;
    int m_valueCount = 0;
    int m_tableRows = 1;
    BYTE m_showFull = 1;  // "显示完整迭代": every level, not only the last
    BYTE m_showTable = 0; // "显示数据表"
    BYTE m_solidOnly = 0; // "仅显示实线"
    float m_tableRight = 0.0f;
    // The pre-image (set 0) and one set per branch, m_itemCount ids each.
    std::vector<std::vector<WORD>> m_idSets;
    std::vector<WORD> m_chain;     // the cells recomputed at each level, ascending
    std::vector<WORD> m_drawables; // the chain's figures, drawn at each level
    std::vector<WORD> m_values;    // the chain's values, shown in the table

private:
    // The cells the passes work on, resolved once per pass.
    struct Resolved {
        std::vector<CGCell*> items;  // the pre-image
        std::vector<CGCell*> images; // branch k's item i at (k - 1) * items + i
        std::vector<CGCell*> chain;
        std::vector<CGCell*> drawables;
        std::vector<CGCell*> values;
    };
    // False when an id names no cell, a point item (of the pre-image or an image) is no point, or
    // the sets do not match the counts.
    bool Resolve(Resolved& r) const;
    // One pass: the colours set up, the recursion from level 1, everything put back.
    void RunPass(int mode);
    void Recurse(Resolved& r, int level, int mode);
    void DrawDrawables(Resolved& r, int mode);
    void RecordTableRow(Resolved& r, int level);
    // Saves the pre-image's state, and puts it back with the chain recomputed.
    void SavePreImage(const Resolved& r);
    void RestorePreImage(Resolved& r);
    void ResizeTable();
    // The name and the table in the screen plane (the view's context is current).
    void DrawNameAndTable();
    void DrawTable();
    // The table's cell width in characters for each value column.
    std::vector<int> ColumnChars() const;

    std::vector<float> m_savedPreImage; // x, y, z, parameter per pre-image item
    std::vector<float> m_table;         // kTableRows rows of m_valueCount + 1 columns
    bool m_inPass = false;              // a pass of this iteration is running
    bool m_levelColors = false;         // the running pass colours each level by its depth
};
