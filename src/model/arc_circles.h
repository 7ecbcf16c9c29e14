// The circles constructed from three points: through three points, by a centre and two points, and
// by a centre, a point and an axis.  Each recomputes its frame from its points and is invalid while
// the points admit no circle.
#pragma once

#include "model/arc.h"

// The circle through P1, P2 and P3; the sweep runs from P1 through P2 to P3.  Invalid for
// (nearly) collinear points and for a radius above 10000.
class CGArcCircle3P : public CGArc {
    DECLARE_SERIAL(CGArcCircle3P)
public:
    CGArcCircle3P() = default;
    CGArcCircle3P(WORD id, WORD p1, WORD p2, WORD p3, BYTE kind);
    void Recompute() override;
    CString GetDescription() override; // "过三点A、B、C的圆"
};

// The circle about O through A in the plane OAB, its sweep from A towards the ray OB.  Invalid
// when A or B is at O or B lies on the line OA.
class CGArcCenterP : public CGArc {
    DECLARE_SERIAL(CGArcCenterP)
public:
    CGArcCenterP() = default;
    CGArcCenterP(WORD id, WORD o, WORD a, WORD b, BYTE kind);
    void Recompute() override;
    CString GetDescription() override; // "以点O为圆心，过点A、B的圆"
};

// The circle about O through A, square to the plane of OA and OP (so its normal points along OP
// when OA is square to OP), running the other way when reversed.  Invalid when A is at O or on
// the axis OP.
class CGArcPointN : public CGArc {
    DECLARE_SERIAL(CGArcPointN)
public:
    CGArcPointN() = default;
    // reversed is kept in m_extA2: above 0 turns V round.
    CGArcPointN(WORD id, WORD o, WORD a, WORD p, BYTE kind, DWORD reversed);
    void Recompute() override;
    CString GetDescription() override; // "以点O为圆心，过点A且垂直于OP的圆"
};
