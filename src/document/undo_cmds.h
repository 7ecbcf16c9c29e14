// The undo commands of the page history: adding one cell or the newest n cells, deleting cells,
// moving one point, separating cells from their parents, and copying a display style onto cells.
// They work on the current page (g_pCurPage, g_cellMap) and keep the cells they take out of it.
#pragma once

#include "document/cmd_processor.h"
#include "model/model_globals.h"

#include <vector>

class CGPage;

// Slots handed out by the format painter to textured faces and circles: 9 to 15, then 9 again.
extern int g_textureCounter; // 8 at start
// The next of those slots (the counter moves on to it).
int HxNextTextureNumber();

// A cell whose name a step changed in passing (a builder naming the top vertex after the base, a
// point's dialog building the names of its descendants again): undo gives the old name back, redo
// the new one.
struct CCellRename {
    WORD m_id;
    CString m_before;
    CString m_after;
};

// Gives the listed cells their names before (undo) or after the step, with the labels and
// descriptions built from them, and tells the main frame.
void HxApplyRenames(const std::vector<CCellRename>& renames, bool undo);

// Records the cell the caller has just added: created with id m_nextId, stored in the map, linked
// to its parents, m_nextId incremented.  Tells the main frame (UM_CELLS_CHANGED, 1).  A text that hid
// the label of the point it follows gives the label back on undo and hides it again on redo.
class CCmdAddCell : public CCmd {
    DECLARE_DYNAMIC(CCmdAddCell)
public:
    explicit CCmdAddCell(const CString& name);
    ~CCmdAddCell() override;
    BOOL Undo() override;
    BOOL Redo() override;

    CGCell* m_pCell = nullptr; // the removed cell while undone (owned), null while done
};

// Records the n newest cells of the page, added as CCmdAddCell's one (labels of followed points
// included).
class CCmdAddCells : public CCmd {
    DECLARE_DYNAMIC(CCmdAddCells)
public:
    CCmdAddCells(int count, const CString& name);
    ~CCmdAddCells() override;
    BOOL Undo() override;
    BOOL Redo() override;

    int m_count;
    CCellMap m_cells;                   // the removed cells by id while undone (owned)
    std::vector<CCellRename> m_renames; // older cells the addition renamed
};

// Deletes the listed cells (descendants included, ascending ids).  Submitted before it acts; its
// first Redo performs the deletion.
class CCmdDelCells : public CCmd {
    DECLARE_DYNAMIC(CCmdDelCells)
public:
    // Takes ownership of the list.
    CCmdDelCells(CList<WORD, WORD>* ids, const CString& name);
    ~CCmdDelCells() override;
    BOOL Undo() override;
    BOOL Redo() override;

    CList<WORD, WORD>* m_pIds;
    CCellMap m_cells; // the removed cells by id while done (owned)
};

// Records a change of one point's position and parameter.  Built before the point changes; undo
// and redo each exchange the kept values with the point's and recompute its descendants.
class CCmdModifiPoint : public CCmd {
    DECLARE_DYNAMIC(CCmdModifiPoint)
public:
    CCmdModifiPoint(WORD id, const CString& name);
    BOOL Undo() override;
    BOOL Redo() override;

    WORD m_id;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_param = 0.0f;
    std::vector<CCellRename> m_renames; // descendants whose names the change refreshed

private:
    BOOL Exchange();
};

// Separates cells from their parents by putting detached replacements (same ids, no parents) in
// their places.  The caller fills m_cells with the replacements and submits; the first Redo
// performs the exchange, after which m_cells holds the cells as they were.
class CCmdSplit : public CCmd {
    DECLARE_DYNAMIC(CCmdSplit)
public:
    explicit CCmdSplit(const CString& name);
    ~CCmdSplit() override;
    BOOL Undo() override;
    BOOL Redo() override;

    CCellMap m_cells;

private:
    void ExchangeCells();
};

// The display style of one cell, kept by the format painter.
class CellStyles : public CObject {
    DECLARE_DYNAMIC(CellStyles)
public:
    CellStyles() = default;
    explicit CellStyles(const CGCell& cell) { Take(cell); }
    void Take(const CGCell& cell);

    WORD m_id = 0;
    CRgba m_color;
    CRgba m_labelColor;
    BYTE m_style = 0;
    BYTE m_kind = 0;
    int m_labelHidden = 0;
    float m_size = 0.0f;
    int m_extB1 = 0;
    int m_param4 = 0; // faces and circles: the texture slot 1 to 15; anything else, no texture
};

// Copies the style of one selected object onto the others of its kind.  Submitted before it acts;
// its first Redo applies the style.
class CCmdMatchprop : public CCmd {
    DECLARE_DYNAMIC(CCmdMatchprop)
public:
    static constexpr int kPoints = 1;
    static constexpr int kLines = 2;
    static constexpr int kFaces = 3;
    static constexpr int kCircles = 4;

    explicit CCmdMatchprop(const CString& name);
    ~CCmdMatchprop() override;
    BOOL Undo() override;
    BOOL Redo() override;

    // From the page's selection: the first of points, lines, faces and circles of which at least
    // two are selected; the last selected of them is the model, the others (in selection order)
    // the targets.  FALSE when no kind has two.
    BOOL TakeSelection(const CGPage& page);

    int m_objectKind = 0;
    CellStyles m_source;
    CTypedPtrArray<CObArray, CellStyles*> m_targets; // snapshots before the change (owned)
};
