// The translated and rotated images of a point: by the vector between two points, a vector item or
// a fixed vector; about a fixed axis (point and direction) or about a centre point or an axis line,
// by a fixed angle, the oriented angle of three points or a value.  Angles are in radians.
#pragma once

#include "points/constructed_point.h"

// ---- Translations ----

// P + (B - A).
class CGVerTranslate : public CGVerConstructed {
    DECLARE_SERIAL(CGVerTranslate)
public:
    CGVerTranslate() = default;
    CGVerTranslate(WORD id, DWORD vertexIndex, CString name, WORD p, WORD a, WORD b);
    CString GetDescription() override; // "点P按向量AB平移的点"

protected:
    int ParentCount() const override { return 3; }
    bool ComputePosition(float out[3]) override;
};

// P + the vector of the vector item V.
class CGVerTranslateM : public CGVerConstructed {
    DECLARE_SERIAL(CGVerTranslateM)
public:
    CGVerTranslateM() = default;
    CGVerTranslateM(WORD id, DWORD vertexIndex, CString name, WORD p, WORD v);
    CString GetDescription() override; // "点P按向量v平移的点"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Point : HxParentRole::Vector; }
    bool ComputePosition(float out[3]) override;
};

// P + a fixed vector; its record and its position are those of the point that follows a master at
// a fixed offset.
class CGVerTranslateStc : public CGVerConstructed {
    DECLARE_SERIAL(CGVerTranslateStc)
public:
    CGVerTranslateStc() = default;
    CGVerTranslateStc(WORD id, DWORD vertexIndex, CString name, WORD p, float dx, float dy, float dz);
    CString GetDescription() override; // "点P按向量（1.0000,0.0000,0.0000）平移的点"

    float m_offset[3] = {0.0f, 0.0f, 0.0f};

protected:
    int ParentCount() const override { return 1; }
    void SerializeOwn(CArchive& ar) override; // dx, dy, dz
    bool ComputePosition(float out[3]) override;
};

// ---- Rotations about an axis through a fixed point with a fixed direction ----

// The axis that the three classes below keep: its direction, then a point on it.  The direction
// is stored as given and made a unit vector when used; a zero direction turns nothing (no image).
class CGVerRotateFixedAxis : public CGVerConstructed {
public:
    float m_direction[3] = {0.0f, 0.0f, 1.0f};
    float m_axisPoint[3] = {0.0f, 0.0f, 0.0f};

protected:
    CGVerRotateFixedAxis() = default;
    CGVerRotateFixedAxis(WORD id, DWORD vertexIndex, const CString& name, std::initializer_list<WORD> parents,
                         float dirX, float dirY, float dirZ, float axisX, float axisY, float axisZ);
    void SerializeOwn(CArchive& ar) override; // direction, axis point
    // P turned by the angle about the axis; false for a zero direction.
    bool RotateP(float angle, float out[3]) const;
    // "点P绕过点（axis point）且方向为（direction）的轴旋转" (the axis point before the direction).
    CString DescribeAxis() const;
};

// P turned by a fixed angle.
class CGVerRotate : public CGVerRotateFixedAxis {
    DECLARE_SERIAL(CGVerRotate)
public:
    CGVerRotate() = default;
    CGVerRotate(WORD id, DWORD vertexIndex, CString name, WORD p, float dirX, float dirY, float dirZ,
                float axisX, float axisY, float axisZ, float angle);
    CString GetDescription() override; // "...的轴旋转90.0000度的点"

    float m_angle = 0.0f;

protected:
    int ParentCount() const override { return 1; }
    void SerializeOwn(CArchive& ar) override; // direction, axis point, angle
    bool ComputePosition(float out[3]) override;
};

// P turned by the oriented angle ABC (at B, from BA to BC).
class CGVerRotateA : public CGVerRotateFixedAxis {
    DECLARE_SERIAL(CGVerRotateA)
public:
    CGVerRotateA() = default;
    CGVerRotateA(WORD id, DWORD vertexIndex, CString name, WORD p, float dirX, float dirY, float dirZ,
                 float axisX, float axisY, float axisZ, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "...的轴旋转的点,转角等于∠ABC"

protected:
    int ParentCount() const override { return 4; }
    bool ComputePosition(float out[3]) override;
};

// P turned by the value of M.
class CGVerRotateA2 : public CGVerRotateFixedAxis {
    DECLARE_SERIAL(CGVerRotateA2)
public:
    CGVerRotateA2() = default;
    CGVerRotateA2(WORD id, DWORD vertexIndex, CString name, WORD p, float dirX, float dirY, float dirZ,
                  float axisX, float axisY, float axisZ, WORD m);
    CString GetDescription() override; // "...的轴旋转的点,转角等于度量值m"

protected:
    int ParentCount() const override { return 2; }
    HxParentRole RoleOf(int i) const override { return i == 0 ? HxParentRole::Point : HxParentRole::Value; }
    bool ComputePosition(float out[3]) override;
};

// ---- Rotations about a centre point or an axis line X (the second parent) ----

// The selector in m_extA1 of the common record says what X is: 0 a line, the axis running from its
// first point to its second; anything else a point, the axis the vertical line through it.
class CGVerRotateAboutX : public CGVerConstructed {
public:
    bool AboutCenter() const { return m_extA1 != 0; }

protected:
    CGVerRotateAboutX() = default;
    CGVerRotateAboutX(WORD id, DWORD vertexIndex, const CString& name, std::initializer_list<WORD> parents,
                      BYTE selector);
    HxParentRole RoleOf(int i) const override;
    // P turned by the angle about X; false when X is a line whose points coincide.
    bool RotateP(float angle, float out[3]) const;
    // "点P绕轴X" or "点P绕中心X".
    CString DescribeAxis() const;
};

// P turned about X by a fixed angle.
class CGVerRotateX : public CGVerRotateAboutX {
    DECLARE_SERIAL(CGVerRotateX)
public:
    CGVerRotateX() = default;
    CGVerRotateX(WORD id, DWORD vertexIndex, CString name, WORD p, WORD x, float angle, BYTE selector);
    CString GetDescription() override; // "点P绕轴l旋转90.0000度的点"

    float m_angle = 0.0f;

protected:
    int ParentCount() const override { return 2; }
    void SerializeOwn(CArchive& ar) override; // the angle
    bool ComputePosition(float out[3]) override;
};

// P turned about X by the oriented angle ABC.
class CGVerRotateXA : public CGVerRotateAboutX {
    DECLARE_SERIAL(CGVerRotateXA)
public:
    CGVerRotateXA() = default;
    CGVerRotateXA(WORD id, DWORD vertexIndex, CString name, WORD p, WORD x, WORD a, WORD b, WORD c,
                  BYTE selector);
    CString GetDescription() override; // "点P绕中心O旋转∠ABC的点"

protected:
    int ParentCount() const override { return 5; }
    bool ComputePosition(float out[3]) override;
};

// P turned about X by the value of M.
class CGVerRotateXA2 : public CGVerRotateAboutX {
    DECLARE_SERIAL(CGVerRotateXA2)
public:
    CGVerRotateXA2() = default;
    CGVerRotateXA2(WORD id, DWORD vertexIndex, CString name, WORD p, WORD x, WORD m, BYTE selector);
    CString GetDescription() override; // "点P绕轴l旋转的点,转角为度量值m"

protected:
    int ParentCount() const override { return 3; }
    HxParentRole RoleOf(int i) const override;
    bool ComputePosition(float out[3]) override;
};
