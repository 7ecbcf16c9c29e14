// The vector items (a point's position vector, the vector of two points, the unit normal of a
// plane, sums, differences, cross products and multiples of vectors) and the scalar measurements
// of vectors (length, dot and mixed products, components).
#pragma once

#include "measure/text_items.h"

#define HX_DECLARE_VECTOR_ITEM(c, ...) HX_DECLARE_TEXT_ITEM(c, CGTmVector, __VA_ARGS__)

// (P.x, P.y, P.z), named after the point.
HX_DECLARE_VECTOR_ITEM(CGTmVectorPoint, WORD point)
// B - A, "AB".
HX_DECLARE_VECTOR_ITEM(CGTmVectorPP, WORD a, WORD b)
// The unit normal (B - A) x (C - A) of the plane ABC; invalid while the points are collinear.
HX_DECLARE_VECTOR_ITEM(CGTmVectorNface, WORD a, WORD b, WORD c)
// u + v, u - v, u x v of two vector items.
HX_DECLARE_VECTOR_ITEM(CGTmVectorAdd, WORD u, WORD v)
HX_DECLARE_VECTOR_ITEM(CGTmVectorMinus, WORD u, WORD v)
HX_DECLARE_VECTOR_ITEM(CGTmVectorCross, WORD u, WORD v)
// k v: the value of a measurement times a vector item.
HX_DECLARE_VECTOR_ITEM(CGTmVectorScaled, WORD k, WORD v)

// Scalar measurements of vector items.
#define HX_DECLARE_VECTOR_MEASUREMENT(c, ...) HX_DECLARE_TEXT_ITEM(c, CGTmVariable, __VA_ARGS__)

// |v|, u . v, u . (v x w), and the components of v.
HX_DECLARE_VECTOR_MEASUREMENT(CGTmVarVectorLength, WORD v)
HX_DECLARE_VECTOR_MEASUREMENT(CGTmVarVectorDot, WORD u, WORD v)
HX_DECLARE_VECTOR_MEASUREMENT(CGTmVarVecProduct, WORD u, WORD v, WORD w)
HX_DECLARE_VECTOR_MEASUREMENT(CGTmVarVectorComponentX, WORD v)
HX_DECLARE_VECTOR_MEASUREMENT(CGTmVarVectorComponentY, WORD v)
HX_DECLARE_VECTOR_MEASUREMENT(CGTmVarVectorComponentZ, WORD v)
