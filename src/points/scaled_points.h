// The scaled and reflected images of a point: dilations about a centre by the ratio of three
// collinear points, of two line lengths, of a value or a fixed one, a fixed dilation about the
// origin; reflections in the origin, a coordinate axis or plane, a point, a line and a plane.
#pragma once

#include "points/constructed_point.h"

// ---- Dilations: each coordinate P k + (1 - k) O, in single precision ----

// The ratio k = AC : AD, signed, read off the first coordinate in which D differs from A (z, then
// x, then y); 10000 when D = A.
class CGVerScaleP : public CGVerConstructed {
    DECLARE_SERIAL(CGVerScaleP)
public:
    CGVerScaleP() = default;
    CGVerScaleP(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, WORD a, WORD c, WORD d);
    CString GetDescription() override; // "点P以点O为中心，按比 AC：AD 缩放的点"

protected:
    int ParentCount() const override { return 5; }
    bool ComputePosition(float out[3]) override;
};

// The ratio k = length of L1 : length of L2; 10000 when L2 has no length.
class CGVerScaleL : public CGVerConstructed {
    DECLARE_SERIAL(CGVerScaleL)
public:
    CGVerScaleL() = default;
    CGVerScaleL(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, WORD l1, WORD l2);
    CString GetDescription() override; // "点P以点O为中心，按比 |AB|：|CD| 缩放的点"

protected:
    int ParentCount() const override { return 4; }
    HxParentRole RoleOf(int i) const override { return i < 2 ? HxParentRole::Point : HxParentRole::Line; }
    bool ComputePosition(float out[3]) override;
};

// The ratio k = the value of M, whatever it is.
class CGVerScaleM : public CGVerConstructed {
    DECLARE_SERIAL(CGVerScaleM)
public:
    CGVerScaleM() = default;
    CGVerScaleM(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, WORD m);
    CString GetDescription() override; // "点P以点O为中心，以值m为比例缩放的点"

protected:
    int ParentCount() const override { return 3; }
    HxParentRole RoleOf(int i) const override { return i < 2 ? HxParentRole::Point : HxParentRole::Value; }
    bool ComputePosition(float out[3]) override;
};

// A fixed ratio m_ratio about the centre O (division points are made with it too).
class CGVerScale : public CGVerConstructed {
    DECLARE_SERIAL(CGVerScale)
public:
    CGVerScale() = default;
    CGVerScale(WORD id, DWORD vertexIndex, CString name, WORD p, WORD o, float k);
    CString GetDescription() override; // "点P以点O为中心，按比0.5000缩放的点"

    float m_ratio = 0.0f;

protected:
    int ParentCount() const override { return 2; }
    void SerializeOwn(CArchive& ar) override; // the ratio
    bool ComputePosition(float out[3]) override;
};

// P k: a fixed ratio about the origin.
class CGVerScaleO : public CGVerConstructed {
    DECLARE_SERIAL(CGVerScaleO)
public:
    CGVerScaleO() = default;
    CGVerScaleO(WORD id, DWORD vertexIndex, CString name, WORD p, float k);
    CString GetDescription() override; // "点P以原点为中心，按比0.5000缩放的点"

    float m_ratio = 0.0f;

protected:
    int ParentCount() const override { return 1; }
    void SerializeOwn(CArchive& ar) override; // the ratio
    bool ComputePosition(float out[3]) override;
};

// ---- Reflections ----

// P with the coordinates its mask names negated: bit 0 x, bit 1 y, bit 2 z.  So 1, 2 and 4 reflect
// in the planes yoz, xoz and xoy, 6, 5 and 3 about the axes x, y and z, and 7 in the origin.
class CGVerSymmetry : public CGVerConstructed {
    DECLARE_SERIAL(CGVerSymmetry)
public:
    CGVerSymmetry() = default;
    CGVerSymmetry(WORD id, DWORD vertexIndex, CString name, WORD p, BYTE mask);
    CString GetDescription() override; // "点P关于原点对称点"

    // The element a mask reflects in, as the descriptions name it: "" for 0 and above 7.
    static CString ElementName(BYTE mask);

    BYTE m_mask = 0;

protected:
    int ParentCount() const override { return 1; }
    void SerializeOwn(CArchive& ar) override; // the mask
    bool ComputePosition(float out[3]) override;
};

// 2 C - P.
class CGVerSymmetryP : public CGVerConstructed {
    DECLARE_SERIAL(CGVerSymmetryP)
public:
    CGVerSymmetryP() = default;
    CGVerSymmetryP(WORD id, DWORD vertexIndex, CString name, WORD p, WORD c);
    CString GetDescription() override; // "点P关于点C对称点"

protected:
    int ParentCount() const override { return 2; }
    bool ComputePosition(float out[3]) override;
};

// 2 F - P, F the foot of P on the line L; no image while L's points coincide.
class CGVerSymmetryL : public CGVerConstructed {
    DECLARE_SERIAL(CGVerSymmetryL)
public:
    CGVerSymmetryL() = default;
    CGVerSymmetryL(WORD id, DWORD vertexIndex, CString name, WORD p, WORD l);
    CString GetDescription() override; // "点P关于直线AB对称点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Point : HxParentRole::Line; }
    bool ComputePosition(float out[3]) override;
};

// 2 G - P, G the foot of P on the plane of the face F (its first three corners).
class CGVerSymmetryF : public CGVerConstructed {
    DECLARE_SERIAL(CGVerSymmetryF)
public:
    CGVerSymmetryF() = default;
    CGVerSymmetryF(WORD id, DWORD vertexIndex, CString name, WORD p, WORD f);
    CString GetDescription() override; // "点P关于平面ABC对称点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Point : HxParentRole::Face; }
    bool ComputePosition(float out[3]) override;
};
