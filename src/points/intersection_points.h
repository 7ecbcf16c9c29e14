// The intersection points of straight lines, planes and circles: two lines, a line and a plane, and
// the two-root crossings of a line and a circle, two circles, and a circle and a plane.  A circle
// parent stands for its whole circle and a face for its whole plane.
#pragma once

#include "points/constructed_point.h"

// Where two lines cross, within the extent of each line's kind; m_param1 keeps the parameter on
// the first line (0 at its first point, 1 at its second).
class CGVerIntersection : public CGVerConstructed {
    DECLARE_SERIAL(CGVerIntersection)
public:
    CGVerIntersection() = default;
    CGVerIntersection(WORD id, DWORD vertexIndex, CString name, WORD line1, WORD line2);
    CString GetDescription() override; // "线AB与线CD的交点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int) const override { return HxParentRole::Line; }
    bool ComputePosition(float out[3]) override;
};

// Where a line meets the plane of a face (the first three corners), within the line's extent;
// m_param1 keeps the parameter on the line.
class CGVerIntersectionLF : public CGVerConstructed {
    DECLARE_SERIAL(CGVerIntersectionLF)
public:
    CGVerIntersectionLF() = default;
    CGVerIntersectionLF(WORD id, DWORD vertexIndex, CString name, WORD line, WORD face);
    CString GetDescription() override; // "线AB与平面ABC的交点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Line : HxParentRole::Face; }
    bool ComputePosition(float out[3]) override;
};

// One of the two points where a line meets a circle: root 1 (m_kind) the one farther along the
// line's direction, root 0 the nearer; a touching line gives both the same point.
class CGVerIntersectionLS : public CGVerConstructed {
    DECLARE_SERIAL(CGVerIntersectionLS)
public:
    CGVerIntersectionLS() = default;
    CGVerIntersectionLS(WORD id, DWORD vertexIndex, CString name, BYTE root, WORD line, WORD circle);
    CString GetDescription() override; // "线AB与圆c1的交点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Line : HxParentRole::Circle; }
    bool ComputePosition(float out[3]) override;
};

// One of the two points where two circles meet (root 0 or 1 in m_kind), in one plane or in two.
class CGVerIntersectionSS : public CGVerConstructed {
    DECLARE_SERIAL(CGVerIntersectionSS)
public:
    CGVerIntersectionSS() = default;
    CGVerIntersectionSS(WORD id, DWORD vertexIndex, CString name, BYTE root, WORD circle1, WORD circle2);
    CString GetDescription() override; // "圆c1与圆c2的交点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int) const override { return HxParentRole::Circle; }
    bool ComputePosition(float out[3]) override;
};

// One of the two points where a circle meets the plane of a face (root 0 or 1 in m_kind): root 1
// lies along the direction face normal x circle normal from the middle of the chord.
class CGVerIntersectionCF : public CGVerConstructed {
    DECLARE_SERIAL(CGVerIntersectionCF)
public:
    CGVerIntersectionCF() = default;
    CGVerIntersectionCF(WORD id, DWORD vertexIndex, CString name, BYTE root, WORD circle, WORD face);
    CString GetDescription() override; // "圆c1与平面ABC的交点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Circle : HxParentRole::Face; }
    bool ComputePosition(float out[3]) override;
};
