// Points on objects: on a line, circle, curve or locus at a fixed parameter or at another point's,
// on a polygon's border at another point's parameter, the division point of two points of a
// circle, and the feet of perpendiculars to a line and to a plane as the perpendicular commands
// make them.  Every point keeps its parameter on its carrier in m_param1.
#pragma once

#include "points/constructed_point.h"

// The point a + t (b - a) of a line at t = m_param1, copied from a point's parameter word.
class CGVerInLineFt : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInLineFt)
public:
    CGVerInLineFt() = default;
    CGVerInLineFt(WORD id, DWORD vertexIndex, const CString& name, WORD line, WORD point);
    CString GetDescription() override; // "线AB上与P同参数的点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Line : HxParentRole::Point; }
    bool ComputePosition(float out[3]) override;
};

// The point of a line at its own parameter t = m_param1 (beyond the ends of a segment too).
class CGVerInLineFixedf : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInLineFixedf)
public:
    CGVerInLineFixedf() = default;
    CGVerInLineFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD line, float t);
    CString GetDescription() override; // "线AB上参数0.500000对应点"

protected:
    int ParentCount() const override { return 1; }
    HxParentRole RoleOf(int) const override { return HxParentRole::Line; }
    bool ComputePosition(float out[3]) override;
};

// The point of a circle at its own angle m_param1 (radians, from U towards V; not limited to an
// arc's sweep).
class CGVerInCircleFixedf : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInCircleFixedf)
public:
    CGVerInCircleFixedf() = default;
    CGVerInCircleFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD circle, float angle);
    CString GetDescription() override; // "圆c1上参数1.000000对应点"

protected:
    int ParentCount() const override { return 1; }
    HxParentRole RoleOf(int) const override { return HxParentRole::Circle; }
    bool ComputePosition(float out[3]) override;
};

// The point dividing the circle's way from A to B (in the direction of growing angle) in the ratio
// m_ratio; its angle is kept in m_param1.  The ratio travels in the common record's three-word
// block (the float in the second word, kRatioMark in the third); a record without the mark, as older
// files have, gives 0.5.
class CGVerInCircleScale : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInCircleScale)
public:
    static constexpr float kRatioMark = 1.0f;

    CGVerInCircleScale() = default; // ratio 0.5
    CGVerInCircleScale(WORD id, DWORD vertexIndex, const CString& name, WORD circle, WORD a, WORD b,
                       float ratio);
    void Serialize(CArchive& ar) override;
    CString GetDescription() override; // "圆c1上两点A、 B的分点"

    float m_ratio = 0.5f;

protected:
    int ParentCount() const override { return 3; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Circle : HxParentRole::Point; }
    bool ComputePosition(float out[3]) override;
};

// The point of a curve at its own parameter m_param1, whatever the curve's range.
class CGVerInCurveFixedf : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInCurveFixedf)
public:
    CGVerInCurveFixedf() = default;
    CGVerInCurveFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD curve, float t);
    CString GetDescription() override; // "曲线q1上参数0.500000对应点"

protected:
    int ParentCount() const override { return 1; }
    HxParentRole RoleOf(int) const override { return HxParentRole::Curve; }
    bool ComputePosition(float out[3]) override;
};

// The point of a curve at a point's parameter; none while that parameter lies outside the curve's
// range.
class CGVerInCurveFt : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInCurveFt)
public:
    CGVerInCurveFt() = default;
    CGVerInCurveFt(WORD id, DWORD vertexIndex, const CString& name, WORD curve, WORD point);
    CString GetDescription() override; // "曲线q1上与P同参数的点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Curve : HxParentRole::Point; }
    bool ComputePosition(float out[3]) override;
};

// The point a locus traces at its own driver parameter m_param1: the driver is set there and then
// back where it stood.  None when the traced point does not exist there.
class CGVerInLocusFixedf : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInLocusFixedf)
public:
    CGVerInLocusFixedf() = default;
    CGVerInLocusFixedf(WORD id, DWORD vertexIndex, const CString& name, WORD locus, float t);
    CString GetDescription() override; // "轨迹上与参数0.500000对应的点"

protected:
    int ParentCount() const override { return 1; }
    HxParentRole RoleOf(int) const override { return HxParentRole::Locus; }
    bool ComputePosition(float out[3]) override;
};

// The point a locus traces at a point's parameter, which must lie within the locus's driver range.
class CGVerInLocusFt : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInLocusFt)
public:
    CGVerInLocusFt() = default;
    CGVerInLocusFt(WORD id, DWORD vertexIndex, const CString& name, WORD locus, WORD point);
    CString GetDescription() override; // "轨迹上与P同参数的点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Locus : HxParentRole::Point; }
    bool ComputePosition(float out[3]) override;
};

// The point of a polygon's border at a reference point's parameter: edge k of the m_count vertex
// parents covers [k, k + 1], the parameter wrapped into [0, m_count]; the reference point is the
// last parent.  Only the reference point and the two ends of its edge must be valid.
class CGVerInBorderFt : public CGVerConstructed {
    DECLARE_SERIAL(CGVerInBorderFt)
public:
    CGVerInBorderFt() = default; // three vertices
    CGVerInBorderFt(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& vertices,
                    WORD point);
    // The point record, then the vertex count (32-bit integer).  Loading refuses a count that does
    // not match the parent list.
    void Recompute() override;
    CString GetDescription() override; // "4边形边界线上与P同参数的点"

    int m_count = 3;

protected:
    int ParentCount() const override;
    void SerializeOwn(CArchive& ar) override;
    bool ComputePosition(float out[3]) override;
};

// The foot X of the perpendicular from A to the line BE.  With A on that line: one unit from A,
// horizontal and square to BE (A + (1, 0, 0) when BE is vertical or B and E coincide).  None while
// B and E are too close together to give the line a direction.
class CGVerFootplEx : public CGVerConstructed {
    DECLARE_SERIAL(CGVerFootplEx)
public:
    CGVerFootplEx() = default;
    CGVerFootplEx(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD e);
    CString GetDescription() override; // "线AX⊥线BE"

protected:
    int ParentCount() const override { return 3; }
    bool ComputePosition(float out[3]) override;
};

// The foot X of the perpendicular from A to the plane P1P2P3 (on the line of the three points when
// they are collinear); with A in the plane, one unit off it along the normal.
class CGVerFootpfEx : public CGVerConstructed {
    DECLARE_SERIAL(CGVerFootpfEx)
public:
    CGVerFootpfEx() = default;
    CGVerFootpfEx(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD p1, WORD p2, WORD p3);
    CString GetDescription() override; // "线AX⊥面BCD"

protected:
    int ParentCount() const override { return 4; }
    bool ComputePosition(float out[3]) override;
};
