// CGFace: the planar polygon of a page spanned by 3 to 255 point cells in order: its record, name and
// description, the label anchor kept inside the polygon, texture coordinates, the drawing passes of
// its display styles, picking, and the inside and nearest-edge queries of the move button.
#pragma once

#include "model/vertex.h"

#include <vector>

class CGFace : public CGCell {
    DECLARE_SERIAL(CGFace)
public:
    // m_style: the pass a face is drawn in.
    static constexpr BYTE kStyleDepthOnly = 0;   // hides what lies behind it, not visible itself
    static constexpr BYTE kStyleFilled = 1;      // fill pass, in its colour
    static constexpr BYTE kStyleStippled = 2;    // fill pass, through the view's polygon stipple
    static constexpr BYTE kStyleLit = 3;         // lit pass, textured when it has a texture
    static constexpr BYTE kStyleTranslucent = 4; // translucent pass, as the lit style otherwise
    // The most corners a face can have: the record keeps the count in one byte.
    static constexpr int kMaxCorners = 255;

    CGFace(); // dynamic creation: no corners yet
    // A face on its corner points (already in g_cellMap), in order, named after all of them, filled
    // with the R, G, B of colour (red in the low byte; alpha stays the default), computed at once.
    // A list of more than kMaxCorners corners keeps the first kMaxCorners.
    CGFace(WORD id, WORD p1, WORD p2, WORD p3, COLORREF color);
    CGFace(WORD id, WORD p1, WORD p2, WORD p3, WORD p4, COLORREF color);
    CGFace(WORD id, const CList<WORD, WORD>& corners, COLORREF color);

    // The record: the common record, then the corner count and the label's triangle and weights.
    // Loading refuses a count that is not the number of parents or is below 3, and puts a label
    // triangle outside the fan back to its start.  Storing counts a document texture's use.
    void Serialize(CArchive& ar) override;
    void RefreshVertexIndices() override;
    // Drags the label within the polygon: where the mouse ray meets the face's plane, when that
    // point lies in one of the fan triangles; the label then keeps its barycentric place.
    void MoveLabel() override;
    // Invalid when a corner is invalid (or missing, or not a point); otherwise valid whatever the
    // shape, with the label anchor moved along with the corners.
    void Recompute() override;
    // The names of the first five corners at most, unless the name is fixed.
    void UpdateName() override;
    void DrawFill() override;
    void DrawDepth() override;
    void DrawOnTop() override; // the name label only
    void DrawLit() override;
    void DrawTranslucent() override;
    // Mode 3: the polygon under pick class 8; every mode: the label under class 3.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "点A、B、C确定的面"

    // Whether q lies inside or on the boundary of the face, judged by its projection onto the
    // face's plane along the normal of the first three corners.
    bool TestPoint(const float q[3]) const;
    // The point of the boundary nearest to q; on ties the earlier edge.
    void NearestBoundaryPoint(const float q[3], float& x, float& y, float& z) const;

    // m_texCoords from the corners: the polygon unfolded into its own plane by distances alone,
    // its bounding box mapped onto the unit square.  Done before a textured draw when dirty.
    void ComputeTexCoords();

    // Corner i (parent i), or null when it is missing or not a point.
    CGVertex* GetCorner(int i) const;
    int GetCornerCount() const { return m_vertexCount; }

    BYTE m_vertexCount = 0;
    std::vector<DWORD> m_vertexIndices; // per corner, its entry in g_vertexArray
    std::vector<float> m_texCoords;     // u, v per corner; empty until first textured draw
    bool m_texCoordsDirty = true;
    int m_labelTriangle = 1; // the label lies in the fan triangle of corners 0, k, k + 1
    float m_labelWeight0 = 0.7f;
    float m_labelWeightK = 0.1f; // corner k + 1 has 1 - weight0 - weightK

private:
    void Construct(WORD id, const WORD* corners, int count, COLORREF color);
    // The corners' positions, or false when one of them is missing or not a point.
    bool GetCornerPositions(std::vector<const CGVertex*>& corners) const;
    // The label's triangle and weights back to their start when they do not fit the corners.
    void CheckLabelTriangle();
    void PlaceLabel(const std::vector<const CGVertex*>& corners);
    // Whether every corner index has an entry in the vertex array.
    bool IndicesUsable() const;
    // The area from the index list: one triangle, quad or convex polygon.
    void DrawArea() const;
    // DrawLit and DrawTranslucent: with a normal, textured when the face has a texture.
    void DrawShaded();
};
