// Points of a triangle ABC: centroid, circumcentre, incentre, orthocentre, the excentre
// in the angle at B, and the points where the internal and external bisectors at B meet line AC.
// Each is a dependent point with the point record; the arithmetic is in single precision.
#pragma once

#include "model/dependent_points.h"

// The common part of the points of a triangle: parents A, B, C (points), in that order.
class CGVerTriangle : public CGVerDependent {
protected:
    CGVerTriangle() = default;
    CGVerTriangle(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c)
        : CGVerDependent(id, vertexIndex, name, {a, b, c}) {}

    bool ParentsUsable() const override; // exactly three points
    // The positions of A, B and C.
    void Corners(float a[3], float b[3], float c[3]) const;
    // "△ABC" followed by the text.
    CString TriangleText(const char16_t* what) const;
};

// (A + B + C) / 3.
class CGVerBarycenter : public CGVerTriangle {
    DECLARE_SERIAL(CGVerBarycenter)
public:
    CGVerBarycenter() = default;
    CGVerBarycenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "△ABC的重心"

protected:
    bool ComputePosition(float out[3]) override;
};

// The circumcentre; none while every component of (A - B) x (C - B) is below 0.01 in size.
class CGVerExcenter : public CGVerTriangle {
    DECLARE_SERIAL(CGVerExcenter)
public:
    CGVerExcenter() = default;
    CGVerExcenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "△ABC的外心"

protected:
    bool ComputePosition(float out[3]) override;
};

// The incentre (|BC| A + |CA| B + |AB| C) / perimeter; none while the perimeter is below 1e-6.
class CGVerIncenter : public CGVerTriangle {
    DECLARE_SERIAL(CGVerIncenter)
public:
    CGVerIncenter() = default;
    CGVerIncenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "△ABC的内心"

protected:
    bool ComputePosition(float out[3]) override;
};

// The orthocentre; none for the triangles the circumcentre has none for.
class CGVerOrthocenter : public CGVerTriangle {
    DECLARE_SERIAL(CGVerOrthocenter)
public:
    CGVerOrthocenter() = default;
    CGVerOrthocenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "△ABC的垂心"

protected:
    bool ComputePosition(float out[3]) override;
};

// The excentre in the angle at B (tangent to AC and to the extensions of BA and BC); none while B
// lies on the segment AC (|BC| - |CA| + |AB| below 1e-6).
class CGVerEscenter : public CGVerTriangle {
    DECLARE_SERIAL(CGVerEscenter)
public:
    CGVerEscenter() = default;
    CGVerEscenter(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "△ABC的旁心"

protected:
    bool ComputePosition(float out[3]) override;
};

// The point of AC on the bisector of the angle ABC: it divides AC in the ratio |BA| : |BC| (C
// when A, B and C coincide).  Always there once the parents are.
class CGVerBisectorA : public CGVerTriangle {
    DECLARE_SERIAL(CGVerBisectorA)
public:
    CGVerBisectorA() = default;
    CGVerBisectorA(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "角ABC的平分线上点"

protected:
    bool ComputePosition(float out[3]) override;
};

// The point of line AC on the external bisector at B: it divides AC externally in the ratio
// |BA| : |BC|; B + (C - A) when |BA| = |BC| (the bisector then runs parallel to AC).
class CGVerBisectorEA : public CGVerTriangle {
    DECLARE_SERIAL(CGVerBisectorEA)
public:
    CGVerBisectorEA() = default;
    CGVerBisectorEA(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b, WORD c);
    CString GetDescription() override; // "角ABC的外角平分线上点"

protected:
    bool ComputePosition(float out[3]) override;
};
