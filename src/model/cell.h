// CGCell: the base of every drawing object of a page (ids, names, colours, flags, parameter blocks,
// parent and child links, the common record), and the number-format and view-direction helpers.
#pragma once

#include "model/model_globals.h"

#include <vector>

class CGCell : public CObject {
    DECLARE_SERIAL(CGCell)
public:
    // The defaults below; links nothing (a constructing subclass adds its parents itself).
    CGCell();
    ~CGCell() override;
    CGCell(const CGCell&) = delete;

    // Copies the common attributes and the child list, not the parents nor the second and most of
    // the third parameter block; clears the selected, highlighted, mark and traced flags.
    CGCell& operator=(const CGCell& other);

    // Virtual operations, in slot order after those of CObject.
    void Serialize(CArchive& ar) override; // the common record; subclasses append their fields
    void AssertValid() const override {}
    void Dump() const override {}
    virtual void RefreshVertexIndices() {}
    virtual void MoveLabel() {}
    virtual void Recompute(); // valid unless a parent is invalid
    virtual void UpdateName() {}
    virtual void SyncVertex() {}
    virtual void DrawFill() {}
    virtual void DrawDepth() {}
    virtual void DrawVisible() {}
    virtual void DrawHidden() {}
    virtual void DrawOnTop() {}
    virtual void DrawLit() {}
    virtual void DrawLit2(BOOL lit); // DrawLit when lit is non-zero
    virtual void DrawTranslucent() {}
    virtual void DrawSpare() {} // a pass slot no class draws in
    virtual void DrawPlain() {}
    virtual void DrawForPick(int mode) {}
    virtual CString GetDescription();
    // Called as the cell is taken out of its page (the undo of its insertion, its deletion, a
    // cancelled construction) while its parents are still there: gives back what the cell changed on
    // them for as long as it is in the page.  Nothing for most cells.
    virtual void LeavePage() {}

    // Marks every cell reachable through the child lists (or the parent arrays), never this cell;
    // returns at once when this cell is marked already.  `marked`, when given, gets the id of every
    // cell marked here, in the order of marking.
    void MarkDescendants(std::vector<WORD>* marked = nullptr);
    void MarkAncestors();

    // Appends a parent id and this cell's id to that parent's child list (the parent is looked up
    // in g_cellMap), as every constructing constructor does for its parents in order.
    void AddParent(WORD parentId);

    WORD m_id = 0;
    CString m_name;
    CRgba m_color;
    CRgba m_labelColor;
    BYTE m_style = 0;
    BYTE m_kind = 0;
    float m_size;
    float m_labelPos[3] = {0.0f, 0.0f, 0.0f};
    CWordArray m_parents;
    CList<WORD, WORD> m_children{10};
    bool m_valid = true;
    int m_hidden = 0;
    int m_labelHidden = 1;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_mark = false;
    bool m_nameFixed = false;
    bool m_traced = false;
    float m_param1 = 0.0f;
    float m_param2 = 0.0f;
    float m_param3 = 0.0f;
    int m_param4 = 0;
    CString m_text1;
    bool m_flag2 = true; // the label's glyph string m_text2 must be rebuilt (not stored)
    CString m_text2;     // the label as glyph display-list ids (not stored)
    int m_extA1 = 0;
    int m_extA2 = 0;
    float m_extA3 = 0.0f;
    CString m_text3;
    int m_extB1 = 0; // label font: 0 textured glyphs, else bitmap glyph lists
    int m_extB2 = 0;
    int m_extB3 = 0;
    int m_extB4 = 0;
    float m_extB5 = 0.0f;
    CString m_text4;
};

// The cell with that id in the current page's map, or null.
CGCell* HxFindCell(WORD id);

// The printf format for a value shown with a precision step: "%.0f" for whole values, else by
// the step ("%.0f" for a step of about 1, "%.2f" above it, one more decimal per tenth below).  The
// value is tested as given: a float widened exactly, or a double (angles in degrees).
CString FormatNumberAuto(float step, double value);

// Unprojects the window point (600, 400) at depths 0 and 1 through the view's kept modelview,
// projection and viewport into g_pickRayNear and g_pickRayFar, and sets g_viewDirX, g_viewDirY,
// g_viewDirZ to near minus far.  Leaves them unchanged when the matrices cannot be inverted.
void ComputeViewDirection();
// The same through another modelview matrix (a cell's own frame inside the camera's), so that the
// direction comes out in that frame's coordinates.
void ComputeViewDirection(const double modelview[16]);
