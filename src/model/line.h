// CGLine: the straight element of a page (segment, ray, line or vector) through two points: its
// record, name and description, label sliding along it, the drawing passes, picking, and the line
// geometry that points dragged along lines and paths use.
#pragma once

#include "model/vertex.h"

class CGLine : public CGCell {
    DECLARE_SERIAL(CGLine)
public:
    // m_kind
    static constexpr BYTE kSegment = 0;
    static constexpr BYTE kRay = 1; // from p1 through p2
    static constexpr BYTE kLine = 2;
    static constexpr BYTE kVector = 3; // from p1 to p2
    // m_style: 0 solid where visible and dashed where hidden behind surfaces, 1 only where
    // visible, 2 solid on top of everything, 3 dashed on top of everything, 4 a lit tube.

    CGLine(); // dynamic creation: no points yet, object colour
    // Through the points p1 and p2 (already in g_cellMap), named after them, label half-way
    // along, computed at once.
    CGLine(WORD id, WORD p1, WORD p2, BYTE kind);

    // The record: the common record, then the label parameter and the label offset.
    void Serialize(CArchive& ar) override;
    void RefreshVertexIndices() override;
    // Slides the label along the line to where the mouse ray passes closest, within the extent of
    // the kind, and keeps it within 40 unit lengths of the line.
    void MoveLabel() override;
    // Invalid when an end is invalid (or missing); otherwise the label anchor follows the ends.
    void Recompute() override;
    void UpdateName() override; // p1's name + p2's name, unless the name is fixed
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawLit() override;
    void DrawPlain() override;
    // Mode 2 and above: the line under pick class 2; mode 3 also the label under class 3.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "点A、B 确定的线段"

    // End 0 (p1) or 1 (p2), or null when it is missing or not a point.
    CGVertex* GetEnd(int i) const;
    float GetLength() const;
    // p1 + t (p2 - p1), not limited to the extent.
    void PointAt(double t, double out[3]) const;
    // The parameter of the projection of q onto the line, limited to the extent of the kind (a
    // segment or vector to 0..1, a ray to 0 and above); 0 for an invalid or degenerate line.
    float ParameterOf(const float q[3]) const;
    // The point P of the line closest to the mouse ray (g_pickRayNear, g_pickRayFar), its parameter
    // t and its distance from the ray; limited to the extent of the kind, or to the segment p1p2
    // when clampToSegment is 1.  FALSE when the line is parallel to the ray.
    BOOL NearestPoint(float point[3], double& t, double& distance, int clampToSegment) const;

    bool IsBounded() const { return m_kind != kRay && m_kind != kLine; } // ends at p2
    bool IsVector() const { return m_kind >= kVector; }

    DWORD m_vertexIndex[2] = {0, 0};             // of p1 and p2, side by side for glDrawElements
    float m_labelT = 0.5f;                       // the label sits at p1 + t (p2 - p1) ...
    float m_labelOffset[3] = {0.0f, 0.0f, 0.0f}; // ... plus this offset

protected:
    // The line's extent from the vertex array: segments and vectors by index, rays and lines out
    // to the edge of the view through homogeneous vertices.
    void DrawGeometry() const;
    // The dart at p2 of a vector, facing the viewer, of constant size on the screen.
    void DrawArrowHead() const;
    void ApplyLineWidth() const;
    void RestoreLineWidth() const;
    void ApplyColor() const; // selection or own colour, when g_useObjectColors is set

private:
    // The point of the line closest to the mouse ray, as floats, and its parameter taken from the
    // coordinate in which the line runs most steeply; false when the line is parallel to the ray.
    bool ClosestToMouseRay(const CGVertex& a, const CGVertex& b, float p[3], double& t) const;
};
