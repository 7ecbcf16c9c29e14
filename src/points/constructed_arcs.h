// Circles and arcs that take their frame from other cells: the horizontal circle about a point
// through a second point, the horizontal circle about a point with a value as radius, and the arc
// of a circle between two points.  All keep the circle record and drawing of CGArc; each names
// itself "c%d" with the current page's circle counter.
#pragma once

#include "model/arc.h"

// The common part of the two horizontal circles: the reversal value m_extA2 (above 0: V turned
// round, so that angles run the other way) and the description by kind.
class CGArcHorizontal : public CGArc {
protected:
    CGArcHorizontal() = default;
    // Named, of that kind, not reversed, linked to the centre and the second parent.
    CGArcHorizontal(WORD id, WORD centre, WORD second, BYTE kind);

    bool IsReversed() const { return m_extA2 > 0; }
    // The centre as a valid point, its position taken as the circle's centre; null (and the
    // circle invalid) when it is missing, not a point, or invalid.
    const CGVertex* TakeCentre();
    // V from U = (ux, uy, 0): (-uy, ux, 0), or (uy, -ux, 0) when reversed.
    void SetHorizontalV(float ux, float uy);
    // The format of the kind (0 to 4) filled with the two parents' names and "反向" when
    // reversed; empty for other kinds.
    CString DescribeKind(const char16_t* const (&formats)[5], const CString& second) const;
};

// The horizontal circle about the centre that passes over the second point: its radius is the
// point's horizontal distance from the centre; invalid while that is below 1e-7.
class CGArcPoint2 : public CGArcHorizontal {
    DECLARE_SERIAL(CGArcPoint2)
public:
    CGArcPoint2() = default;
    CGArcPoint2(WORD id, WORD centre, WORD through, BYTE kind);
    void Recompute() override;
    CString GetDescription() override; // "以点A为圆心，过点B的平置圆"
};

// The horizontal circle about the centre whose radius is the size of a value (a CGTmVariable); a
// value of 0 gives the radius 1e-20.
class CGArcCenterR : public CGArcHorizontal {
    DECLARE_SERIAL(CGArcCenterR)
public:
    CGArcCenterR() = default;
    CGArcCenterR(WORD id, WORD centre, WORD value, BYTE kind);
    void Recompute() override;
    CString GetDescription() override; // "以点A为圆心，r为半径的圆"
};

// The arc of a circle from A to B, in the positive sense about the circle's normal U x V: the
// circle's frame with the angles of A and B projected into its plane.
class CGArcInCircle : public CGArc {
    DECLARE_SERIAL(CGArcInCircle)
public:
    CGArcInCircle(); // an arc
    CGArcInCircle(WORD id, WORD a, WORD b, WORD circle);
    void Recompute() override;
    CString GetDescription() override; // "圆c1上两点A、B间的弧"

private:
    const CGArc* Circle() const;
};
