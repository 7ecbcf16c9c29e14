// CGArc: the circle cell and base of every circle-like cell: a centre, two radius vectors and a
// sweep drawn as a circle, arc, disc, sector or segment; its record, the positioned circle, the
// tessellation behind every pass, picking, the label, and the point, parameter and nearest-point
// queries of points on circles and paths.
#pragma once

#include "model/vertex.h"

#include <initializer_list>

class CGArc : public CGCell {
    DECLARE_SERIAL(CGArc)
public:
    // m_kind: the figure.
    static constexpr BYTE kCircle = 0;
    static constexpr BYTE kArc = 1;
    static constexpr BYTE kDisc = 2;
    static constexpr BYTE kSector = 3;
    static constexpr BYTE kSegment = 4; // the arc closed by its chord
    // m_style: 0 outline with its hidden part dashed (filled kinds also filled), 1 lit (a tube for
    // circles and arcs), 2 translucent, 3 outline on top, 4 outline on top dashed, 5 outline
    // without a dashed hidden part.
    static constexpr BYTE kStyleOutline = 0;
    static constexpr BYTE kStyleLit = 1;
    static constexpr BYTE kStyleTranslucent = 2;
    static constexpr BYTE kStyleOnTop = 3;
    static constexpr BYTE kStyleOnTopDashed = 4;
    static constexpr BYTE kStyleVisibleOnly = 5;
    // Modes of DrawShape.
    static constexpr BYTE kShapeFullOutline = 0;
    static constexpr BYTE kShapeArcOutline = 1;
    static constexpr BYTE kShapeDisc = 2;
    static constexpr BYTE kShapeSector = 3;
    static constexpr BYTE kShapeSegment = 4;
    static constexpr BYTE kShapeTube = 5;

    // Dynamic creation and base of the constructed circles: centre 0, U = V = (1, 1, 1), sweep 0 to
    // 2 pi, radius 8, circle colour.
    CGArc();
    // The positioned circle: centre, U, V and sweep as given (the angles normalised), named "c%d"
    // by the current page; it has no parents and never changes by itself.
    CGArc(WORD id, float cx, float cy, float cz, float ux, float uy, float uz, float vx, float vy, float vz,
          float start, float end, BYTE kind);

    // The record: the common record, then centre, U, V, start, end, the sweep flag, the label angle
    // and the label offset.  The radius is not stored: loading takes it from U.  Storing counts a
    // document texture's use.
    void Serialize(CArchive& ar) override;
    // Drags the label in the circle's plane: it hangs at the circle point of the angle the mouse
    // points at, at most 40 unit lengths away.
    void MoveLabel() override;
    // The positioned circle only places its label; constructed circles compute their frame first.
    void Recompute() override;
    void DrawFill() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    void DrawPlain() override;
    // Mode 2 and above: the figure under pick class 4 (lit and on-top circles and arcs by their
    // tube); mode 3 also the label under class 3.
    void DrawForPick(int mode) override;
    CString GetDescription() override;

    // The tessellation behind every pass (modes kShape...).
    void DrawShape(BYTE mode) const;
    // The point at the parameter t (limited to 0..1): t of the full turn from angle 0 for circles
    // and discs, t of the sweep for the other kinds.
    void PointAt(double t, double out[3]) const;
    // The point of the figure nearest to the mouse ray (g_pickRayNear, g_pickRayFar), its angle (or,
    // with normalise 1, its parameter in 0..1) and its distance from the ray.  FALSE when the ray
    // runs along the circle's plane.
    BOOL NearestPoint(float point[3], double& param, double& distance, int normalise) const;
    // The parameter in 0..1 of the point of the figure nearest to q.
    float ParameterOfPoint(const float q[3]) const;
    // Start and end into [0, 2 pi), then end raised by 2 pi when it lies below start.
    void NormalizeAngles();

    // An angle reduced into [0, 2 pi).
    static double ReduceAngle(double angle);
    // O + U cos(angle) + V sin(angle).
    void PointAtAngle(double angle, double out[3]) const;
    bool IsFilled() const { return m_kind >= kDisc && m_kind <= kSegment; }
    // The whole circle for circles and discs, the sweep for the other kinds.
    BYTE OutlineMode() const {
        return m_kind == kCircle || m_kind == kDisc ? kShapeFullOutline : kShapeArcOutline;
    }

    float m_center[3] = {0.0f, 0.0f, 0.0f};
    float m_axisU[3] = {1.0f, 1.0f, 1.0f}; // from the centre to the point at angle 0
    float m_axisV[3] = {1.0f, 1.0f, 1.0f}; // to the point at angle pi/2: square to U, as long
    float m_startAngle = 0.0f;
    float m_endAngle = 6.2831855f; // the sweep runs from start to end, from U towards V
    bool m_sweepFromPoints = true; // constructed circles take the sweep from their points
    float m_labelAngle = 1.0f;     // the label hangs at the circle point of this angle ...
    float m_labelOffset[3];        // ... plus this offset
    float m_radius = 8.0f;         // |U|, not stored

protected:
    // The label anchor at the circle point of the label angle plus the label offset.
    void PlaceLabel();
    // Parent i as a point, or null when it is missing or not a point.
    CGVertex* GetPointParent(int i) const;
    // The parents' names in order (empty for a missing one), for descriptions.
    CString ParentName(int i) const;
    // Whether every parent is a valid point; when not, the circle is made invalid.
    bool CheckPointParents();
    // Adds the constructed circle's name, kind and points, as every constructed circle begins.
    void LinkConstructed(WORD id, BYTE kind, std::initializer_list<WORD> points);

private:
    // The outline colour: the circle's colour for circles and arcs, the label colour for the
    // outline of the filled kinds.
    const CRgba& OutlineColor() const { return IsFilled() ? m_labelColor : m_color; }
    void ApplyColor(const CRgba& own) const; // selection or own, when g_useObjectColors is set
    void ApplyLineWidth() const;
    // DrawLit and DrawTranslucent: filled kinds as a lit area (textured unless selected), circles
    // and arcs as a tube.
    void DrawShaded(bool allowSelected) const;
    void DrawTube() const;
};
