// Special dependent points: the foot of the common perpendicular of two lines, the point whose
// coordinates follow values, and the points of a circle at the parameter of another cell.
#pragma once

#include "model/arc.h"
#include "model/dependent_points.h"

// The point of line a nearest to line b (the foot on a of their common perpendicular); none for
// parallel lines.
class CGVerCommonperpen : public CGVerDependent {
    DECLARE_SERIAL(CGVerCommonperpen)
public:
    CGVerCommonperpen() = default;
    CGVerCommonperpen(WORD id, DWORD vertexIndex, const CString& name, WORD lineA, WORD lineB);
    CString GetDescription() override; // "直线a上与直线b距离最小的点"

protected:
    bool ComputePosition(float out[3]) override;
    bool ParentsUsable() const override; // two lines with their points
};

// A point whose coordinates follow values: m_sourceX, m_sourceY, m_sourceZ are 0 for a coordinate
// that keeps its stored number, or the 1-based place in the parent list of the value (a
// CGTmVariable) that gives it.  Every parent must be valid, also one that gives no coordinate.
class CGVerCoordinates : public CGVerDependent {
    DECLARE_SERIAL(CGVerCoordinates)
public:
    static constexpr int kMaxValues = 3;

    CGVerCoordinates() = default;
    // The values beyond the third are left out.
    CGVerCoordinates(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& values,
                     int sourceX, int sourceY, int sourceZ, float x, float y, float z);

    // The point record, then the three sources (32-bit integers).  Loading refuses more than three
    // parents and a source that names no parent.
    void Serialize(CArchive& ar) override;
    // "根据值绘制点（a,b,1.0000）": the giving value's name, or the kept number.
    CString GetDescription() override;

    int m_sourceX = 0;
    int m_sourceY = 0;
    int m_sourceZ = 0;

protected:
    bool ComputePosition(float out[3]) override;
    bool ParentsUsable() const override; // at most three values, every source in range

private:
    bool SourceUsable(int source) const { return source >= 0 && source <= m_parents.GetSize(); }
};

// The common part of the points of a circle at an angle taken from another cell's parameter word.
class CGVerOnCircleAt : public CGVerDependent {
protected:
    CGVerOnCircleAt() = default;
    CGVerOnCircleAt(WORD id, DWORD vertexIndex, const CString& name, WORD first, WORD second)
        : CGVerDependent(id, vertexIndex, name, {first, second}) {}

    // Parent i as a circle, or null.
    CGArc* CircleParent(int i) const;
    // Any cell present as parent i, or null.
    CGCell* AnyParent(int i) const;
    // O + cos t U + sin t V of the circle, in single precision, not limited to an arc's sweep.
    static void CirclePoint(const CGArc& circle, float t, float out[3]);
};

// The circle point at the parameter of P (a point on a path, or a value) plus m_angle (radians).
// Its own parameter word takes that angle, so that further points can chain on it.
class CGVerInCircleRot : public CGVerOnCircleAt {
    DECLARE_SERIAL(CGVerInCircleRot)
public:
    CGVerInCircleRot() = default;
    CGVerInCircleRot(WORD id, DWORD vertexIndex, const CString& name, WORD p, WORD circle, float angle);

    // The point record, then m_angle (a float).
    void Serialize(CArchive& ar) override;
    // P must be valid; the parameter word takes P's plus m_angle before the circle is asked, then
    // the circle must be valid.
    void Recompute() override;
    CString GetDescription() override; // "在圆c1上绕圆心按点A的参数再旋转90.0000度的点"

    float m_angle = 0.0f;

protected:
    bool ComputePosition(float out[3]) override;
};

// The circle point at the parameter of Q (a point on a circle, or a value); its own parameter word
// takes that parameter.
class CGVerInCircleFt : public CGVerOnCircleAt {
    DECLARE_SERIAL(CGVerInCircleFt)
public:
    CGVerInCircleFt() = default;
    CGVerInCircleFt(WORD id, DWORD vertexIndex, const CString& name, WORD circle, WORD q);
    CString GetDescription() override; // "圆c1上与A同参数的点"

protected:
    bool ComputePosition(float out[3]) override;
    bool ParentsUsable() const override; // a circle, then any cell
};
