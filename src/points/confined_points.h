// Free points confined to a surface: the point inside a polygon face, the point in the plane of
// three points, and the point that follows another point at equal height.  Each keeps its place by
// weights or offsets, which a drag with the mouse ray rewrites.
#pragma once

#include "model/face.h"
#include "model/free_points.h"

// A point inside a face: m_weight0 V0 + m_weightK Vk + (1 - m_weight0 - m_weightK) Vk+1 of the face's
// corners, k = m_fanIndex, in the fan triangle (V0, Vk, Vk+1).  The face is its only parent.
class CGVerFreeInFace : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInFace)
public:
    CGVerFreeInFace(); // fan triangle 1, weights 1/3
    CGVerFreeInFace(WORD id, DWORD vertexIndex, const CString& name, WORD face, float weight0, float weightK);

    // The point record, then the fan index (32-bit integer) and the two weights.
    void Serialize(CArchive& ar) override;
    // From the corners and the weights; invalid while the face is, and while the fan index names no
    // triangle of the face (the corners' own flags are not asked).
    void Recompute() override;
    void SyncVertex() override; // Recompute
    // To where the mouse ray meets the plane of the face's first three corners, when that point
    // lies in a fan triangle (which then gives the index and the weights); otherwise, or when the
    // ray runs along the plane, the point stays.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "多边形ABC内的自由点"

    CGFace* GetFace() const;

    int m_fanIndex = 1;
    float m_weight0;
    float m_weightK;
};

// A point in the plane of A, B and C: m_weightA A + m_weightB B + (1 - m_weightA - m_weightB) C,
// the weights not limited to the triangle.
class CGVerFreeInPlane : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInPlane)
public:
    CGVerFreeInPlane(); // weights 1/3
    CGVerFreeInPlane(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c, float weightA,
                     float weightB);

    // The point record, then the two weights.
    void Serialize(CArchive& ar) override;
    void Recompute() override;  // invalid while A, B or C is
    void SyncVertex() override; // Recompute
    // To where the mouse ray meets the plane ABC, the weights solved again (kept when the frame
    // gives no solution); the point stays while the ray runs along the plane.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "三点ABC所在平面内的自由点"

    float m_weightA;
    float m_weightB;
};

// A point that follows its leader (parent 0) at the offset (m_offsetX, m_offsetY) in x and y and at
// the leader's height.
class CGVerFree2dHenchman : public CGVerFree {
    DECLARE_SERIAL(CGVerFree2dHenchman)
public:
    CGVerFree2dHenchman() = default; // offset (8, 0)
    // Starts at (x, y, 0) with the offset from the leader's x and y, then is computed.
    CGVerFree2dHenchman(WORD id, DWORD vertexIndex, const CString& name, float x, float y, WORD leader);

    // The point record, then the two offsets.
    void Serialize(CArchive& ar) override;
    void Recompute() override; // invalid while the leader is
    // Keeps x and y, takes the leader's z, and keeps the offset from the leader (a point moved by
    // other means keeps its new place).
    void SyncVertex() override;
    // In the horizontal plane through the point, x and y from the ray's hit (whole units with
    // g_snapToGrid) and z from the leader; refused when the ray meets the plane too obliquely (its
    // z component below 10) or the hit lies outside the cube of +-200.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "随点A移动且等z值的自由点"

    float m_offsetX = 8.0f;
    float m_offsetY = 0.0f;

private:
    void TakeOffsetFromLeader();
};
