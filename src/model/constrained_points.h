// Free points held by a relation to other points while they are dragged: the orbit points square to
// a segment (free radius, radius |AB|, equilateral), the points on a line through A (parallel to a
// direction, parallel to BC, square to the plane ABC) and the point that follows a master point.
#pragma once

#include "model/free_points.h"

// ---- Orbit points ----
// The orbit frame is rebuilt from A and B by Recompute: m_dir the unit vector from A towards B
// ((1, 0, 0) for |AB| <= 0.001), m_e1 square to it and parallel to the x-y plane ((0, 1, 0) when AB
// runs along z), m_e2 = m_dir x m_e1 ((-1, 0, 0) when AB runs along z).  The angle runs from m_e1
// towards m_e2, so the point keeps its angle in the new frame when AB turns.

// The common part of the three orbit points: the frame and its record fields.
class CGVerFreeOrbit : public CGVerFree {
public:
    float m_dir[3] = {1.0f, 0.0f, 0.0f};
    float m_e1[3] = {0.0f, 1.0f, 0.0f};
    float m_e2[3] = {0.0f, 0.0f, 1.0f};
    float m_radius = 1.0f; // |AB| at the last Recompute (kept by the fixed-radius classes only)

protected:
    CGVerFreeOrbit() = default;
    // The point part at (0, 0, 0), linked to A and B (the subclass then computes).
    CGVerFreeOrbit(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b);

    // A and B as valid points; FALSE (and the point invalid) when either is missing or invalid.
    BOOL ResolveEnds(const CGVertex*& a, const CGVertex*& b);
    // Rebuilds the frame from A and B; returns |AB| in single precision.
    float RebuildFrame(const CGVertex& a, const CGVertex& b);
    // centre + radius cos(angle) e1 + radius sin(angle) e2, in single precision.
    void OrbitPosition(const float centre[3], float radius, float angle, float out[3]) const;
    // Where the pick ray meets the plane through the centre square to m_dir: FALSE when the ray
    // runs along the plane (den exactly 0), unless zeroDen replaces that den.
    BOOL HitOrbitPlane(const float centre[3], double zeroDen, double hit[3]) const;
    // HitOrbitPlane for a drag; a ray running along the plane turns the point by a small step
    // of the angle instead (the point is stored there) and gives FALSE.
    BOOL HitOrbitPlaneOrTurn(const float centre[3], float radius, float& angle, double hit[3]);
    // The angle of v in the frame: arccos((e1 . v) / |v|), negative when e2 . v < 0, and 0 when
    // it is no number (v at the centre).
    float AngleOf(const double v[3], float length) const;
    // Moves the point onto the circle of this radius about the centre, in the direction of the
    // ray's hit, and takes the hit's angle into the angle parameter.  A hit at the very centre has
    // no direction and leaves the point where it was.
    void DragOnCircle(const float centre[3], float radius, double hit[3]);
    // The fixed-radius classes: radius and frame (10 floats).
    void SerializeRadiusAndFrame(CArchive& ar);
};

// PA square to AB: P moves freely in the plane through A square to AB, at the distance r =
// m_param2 and the angle m_param3.
class CGVerFreeUpright : public CGVerFreeOrbit {
    DECLARE_SERIAL(CGVerFreeUpright)
public:
    CGVerFreeUpright(); // r = 8, angle 0
    CGVerFreeUpright(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b);

    // The point record, then r and the angle once more, and the frame (11 floats).
    void Serialize(CArchive& ar) override;
    void Recompute() override;
    // To where the ray meets the plane: both the distance and the angle change.  A ray running
    // along the plane turns the point by 0.02 radians instead.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "PA⊥AB"
};

// PA square to AB and PA = AB: P moves on the circle about A of radius |AB| in that plane, at the
// angle m_param1.
class CGVerFreeUprightEquid : public CGVerFreeOrbit {
    DECLARE_SERIAL(CGVerFreeUprightEquid)
public:
    CGVerFreeUprightEquid() = default; // angle 0, radius 1
    CGVerFreeUprightEquid(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b);

    // The point record, then the radius and the frame (10 floats).
    void Serialize(CArchive& ar) override;
    void Recompute() override;
    // The kept frame and radius about the current A at the angle (after an animation step).
    void SyncVertex() override;
    // Onto the circle in the direction of the ray's hit in the plane; a ray running along the
    // plane turns the point by 0.02 radians instead.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "PA⊥AB，PA=AB"
};

// PAB equilateral: P moves on the circle about the midpoint M of AB, of radius |AB| sqrt(3)/2, in
// the plane through M square to AB, at the angle m_param1.
class CGVerFreeEquilateral : public CGVerFreeOrbit {
    DECLARE_SERIAL(CGVerFreeEquilateral)
public:
    CGVerFreeEquilateral() = default; // angle 0, radius 1
    CGVerFreeEquilateral(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b);

    void Serialize(CArchive& ar) override; // as CGVerFreeUprightEquid
    void Recompute() override;
    void SyncVertex() override; // about the current midpoint
    // Onto the circle in the direction of the hit; a ray running along the plane meets it far
    // away (den 0.00001), so the point never turns by itself.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "P、A、B成等边"

    static constexpr float kHeightRatio = 0.8660254f; // sqrt(3)/2

private:
    BOOL Midpoint(float out[3]) const;
};

// ---- Points on a line through A ----

// The common part of the points on a line through A: placing at the signed distance s = m_param1
// along an axis, and the drag along the line.
class CGVerFreeOnAxis : public CGVerFree {
protected:
    CGVerFreeOnAxis() = default;
    CGVerFreeOnAxis(WORD id, DWORD vertexIndex, const CString& name)
        : CGVerFree(id, vertexIndex, name, 0, 0, 0) {}

    // A + s axis as a valid point; FALSE (and the point invalid) when A is missing or invalid.
    BOOL PlaceOnAxis(const float axis[3]);
    // The drag along the line through A and the point, to where it passes nearest to the ray; the
    // axis (m_dir or the plane's normal) gives the sign of s.  kAlongRay: the line runs along the
    // ray, or the point sits on A; nothing changed, the caller's fallback follows.
    enum EAxisDrag { kMoved, kNotMoved, kAlongRay };
    EAxisDrag DragAlongAxis(const float axis[3]);
};

// AP parallel to a fixed unit direction m_dir, at the signed distance s = m_param1.
class CGVerFreeParVector : public CGVerFreeOnAxis {
    DECLARE_SERIAL(CGVerFreeParVector)
public:
    CGVerFreeParVector(); // s = 5, direction (1, 0, 0)
    // The direction (dx, dy, dz) is normalised (a zero one stays zero); s = 8.
    CGVerFreeParVector(WORD id, DWORD vertexIndex, const CString& name, float dx, float dy, float dz, WORD a);

    // The point record, then the direction (3 floats).
    void Serialize(CArchive& ar) override;
    // A + s m_dir.
    void Recompute() override;
    void SyncVertex() override; // Recompute
    // Along the line through A and the point, to where it passes nearest to the ray; when the
    // line runs along the ray the point goes to s = 0.1 instead.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "向量AP∥（1.0000,0.0000,0.0000）"

    float m_dir[3] = {1.0f, 0.0f, 0.0f};
};

// AP parallel to BC: the direction is taken from B and C by every Recompute.
class CGVerFreeParVecPP : public CGVerFreeParVector {
    DECLARE_SERIAL(CGVerFreeParVecPP)
public:
    CGVerFreeParVecPP() = default;
    CGVerFreeParVecPP(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);

    // m_dir from BC (zero when B and C coincide), then A + s m_dir.
    void Recompute() override;
    CString GetDescription() override; // "PA∥BC"
};

// AP square to the plane ABC, at the signed distance s = m_param1 along its unit normal.
class CGVerFreePerpen : public CGVerFreeOnAxis {
    DECLARE_SERIAL(CGVerFreePerpen)
public:
    CGVerFreePerpen(); // s = 8
    CGVerFreePerpen(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);

    // The point record, then the normal (3 floats).
    void Serialize(CArchive& ar) override;
    // The normal from ABC (divided by 0.00001 instead of a shorter length), then A + s normal.
    void Recompute() override;
    // A + s normal with the kept normal about the current A.
    void SyncVertex() override;
    // Along the normal through A, as the direction points are dragged; when the line runs along
    // the ray the point is raised by 0.01 instead.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "PA⊥面ABC"

    float m_normal[3] = {0.0f, 0.0f, 1.0f};
};

// ---- The follower ----

// Moves with its master point at the offset m_offset; a drag in space changes the offset.
class CGVerFreeHenchman : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeHenchman)
public:
    CGVerFreeHenchman() = default; // offset (8, 0, 0)
    // Starts at (x, y, z), the offset taken from the master's position; not recomputed.
    CGVerFreeHenchman(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z,
                      WORD master);

    // The point record, then the offset (3 floats).
    void Serialize(CArchive& ar) override;
    void Recompute() override; // master + offset
    // Writes the stored position, then keeps it as the new offset (an edit of the coordinates).
    void SyncVertex() override;
    // The move in space; an accepted move gives the new offset.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "随点A移动的自由点"

    float m_offset[3] = {8.0f, 0.0f, 0.0f};

private:
    void TakeOffsetFromMaster();
};
