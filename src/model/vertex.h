// CGVertex: the fixed point of a page and the base of every point class: its position, its entry
// in the shared vertex array, its name label, its drawing in each pass, picking and its record.
#pragma once

#include "model/cell.h"

class CGVertex : public CGCell {
    DECLARE_SERIAL(CGVertex)
public:
    // Used by dynamic creation: position, vertex index and label offset zero, label shown, point
    // colour and size.
    CGVertex();
    // A fixed point at (x, y, z), written into the vertex array at vertexIndex (which the caller
    // took from the page's m_nextVertex after making sure the array holds it), with its label
    // 4 unit lengths off in x and z.
    CGVertex(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z);

    // The record: the common record, then x, y, z and the label offset (the index is not stored).
    void Serialize(CArchive& ar) override;
    // Drags the label with the mouse ray in the plane z = point z (y = point y while Ctrl is
    // held), keeping it within 40 unit lengths of the point.
    void MoveLabel() override;
    // Writes the position into the vertex array and moves the label anchor along.
    void SyncVertex() override;
    void DrawVisible() override;
    void DrawOnTop() override;
    void DrawLit() override; // DrawLit2 with FALSE
    void DrawLit2(BOOL lit) override;
    void DrawPlain() override;
    // Mode above 1: the point under pick class 1; modes 3 and 0: the label under class 3.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "固定点"

    // Stores a new position, writes it into the vertex array and moves the label anchor: what
    // every point class's Recompute does once it has computed where the point is.
    void SetPosition(float x, float y, float z);
    void GetPosition(float out[3]) const {
        out[0] = m_x;
        out[1] = m_y;
        out[2] = m_z;
    }

    // Display styles: 2 x shape + visibility.  Shape 0 a disc, 1 no figure (only the label),
    // 2 a lit ball; visibility 0 always visible (drawn on top), 1 hidden where a surface covers it.
    int Shape() const { return m_style / 2; }
    bool HiddenWhenCovered() const { return (m_style & 1) != 0; }

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    DWORD m_vertexIndex = 0;                     // entry in g_vertexArray (0 is never used)
    float m_labelOffset[3] = {0.0f, 0.0f, 0.0f}; // label anchor minus position

protected:
    // The figure's colour when g_useObjectColors is set: selection, highlight (inverted), or own.
    void ApplyFigureColor();
    void DrawDisc();
    void DrawElement() const; // one GL_POINTS primitive of the vertex-array entry
};
