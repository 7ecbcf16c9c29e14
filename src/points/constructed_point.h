// CGVerConstructed: the frame of the points built from parents with fixed roles (points, lines,
// faces, circles, values, vectors): the class test of every role before a recomputation, and a
// record that refuses a parent list of the wrong length.
#pragma once

#include "model/arc.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/line.h"

#include <initializer_list>

class CGCurve;
class CGLocus;
class CGTmVariable;
class CGTmVector;

// What a parent must be for the construction to use it.
enum class HxParentRole {
    Point,  // a CGVertex
    Line,   // a CGLine with both of its points
    Face,   // a CGFace with at least its first three corners (they span its plane)
    Circle, // a CGArc of any kind
    Value,  // a CGTmVariable (its value is m_param1)
    Vector, // a CGTmVector
    Curve,  // a CGCurve
    Locus,  // a CGLocus
};

class CGVerConstructed : public CGVerDependent {
public:
    // The point record, then the class's own fields.  Loading refuses (badIndex) a record whose
    // parent list is not as long as the construction needs: such a record is damaged.
    void Serialize(CArchive& ar) override;

protected:
    CGVerConstructed() = default;
    CGVerConstructed(WORD id, DWORD vertexIndex, const CString& name, std::initializer_list<WORD> parents)
        : CGVerDependent(id, vertexIndex, name, parents) {}

    virtual int ParentCount() const = 0;
    virtual HxParentRole RoleOf(int) const { return HxParentRole::Point; }
    // The fields a class appends to the point record.
    virtual void SerializeOwn(CArchive&) {}
    // Every parent present and of its role's class: a missing parent or one of another class counts
    // as an invalid one.
    bool ParentsUsable() const override;

    // Parent i in its role, or null when it is missing or does not fill the role.
    CGLine* LineParent(int i) const;
    CGFace* FaceParent(int i) const;
    CGArc* CircleParent(int i) const;
    CGTmVariable* ValueParent(int i) const;
    CGTmVector* VectorParent(int i) const;
    CGCurve* CurveParent(int i) const;
    CGLocus* LocusParent(int i) const;
    // The name of parent i whatever its class, or "" when it is missing: descriptions show what
    // is there.
    CString ParentName(int i) const;
};

// The positions of a line's first and second points.
void HxLineEnds(const CGLine& line, float a[3], float b[3]);
// The first three corners of a face.
void HxPlanePoints(const CGFace& face, float p0[3], float p1[3], float p2[3]);
