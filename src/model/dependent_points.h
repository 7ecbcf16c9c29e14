// Points whose position follows from their parents: the midpoint of a segment, the point square to
// a plane at a given distance, and the feet of a point on a line and on a plane.  Each keeps the
// point record and drawing of CGVertex and adds its construction and description.
#pragma once

#include "model/vertex.h"

#include <initializer_list>

// The common frame of the dependent points: the parents are resolved in order; a missing one, one
// of the wrong class or an invalid one makes the point invalid and keeps its last position; so
// does a construction without a solution.  Otherwise the position goes into the vertex array and
// the label follows.
class CGVerDependent : public CGVertex {
public:
    void Recompute() override;

protected:
    CGVerDependent() = default;
    // The point part at (0, 0, 0), linked to its parents in order (the subclass then computes).
    CGVerDependent(WORD id, DWORD vertexIndex, const CString& name, std::initializer_list<WORD> parents);
    // The position from the parents, which Recompute has found present and valid; false when the
    // construction has no solution.
    virtual bool ComputePosition(float out[3]) = 0;
    // Whether the parents are of the classes the construction needs (points, by default).
    virtual bool ParentsUsable() const;
    // Parent i as a point, or null.
    CGVertex* PointParent(int i) const;
    CString PointParentName(int i) const;
};

// The midpoint of a line's two points.
class CGVerMid : public CGVerDependent {
    DECLARE_SERIAL(CGVerMid)
public:
    CGVerMid() = default;
    CGVerMid(WORD id, DWORD vertexIndex, const CString& name, WORD line);
    CString GetDescription() override; // "线段AB的中点"

protected:
    bool ComputePosition(float out[3]) override;
    bool ParentsUsable() const override;
};

// P with PA square to the plane ABC and PA = AB (on A itself when A, B and C are collinear).
class CGVerPerpenEquid : public CGVerDependent {
    DECLARE_SERIAL(CGVerPerpenEquid)
public:
    CGVerPerpenEquid() = default;
    CGVerPerpenEquid(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "PA⊥面ABC，PA=AB"

protected:
    bool ComputePosition(float out[3]) override;
};

// The foot of P on the line AB; no foot when A and B coincide.
class CGVerFootpl : public CGVerDependent {
    DECLARE_SERIAL(CGVerFootpl)
public:
    CGVerFootpl() = default;
    CGVerFootpl(WORD id, DWORD vertexIndex, const CString& name, WORD p, WORD a, WORD b);
    CString GetDescription() override; // "点P在直线AB的投影"

protected:
    bool ComputePosition(float out[3]) override;
};

// The foot of P on the plane ABC (on a line of the three points when they are collinear).
class CGVerFootpf : public CGVerDependent {
    DECLARE_SERIAL(CGVerFootpf)
public:
    CGVerFootpf() = default;
    CGVerFootpf(WORD id, DWORD vertexIndex, const CString& name, WORD p, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "点P在面ABC的投影"

protected:
    bool ComputePosition(float out[3]) override;
};
