// Geometry routines of the constructions: intersections, feet, distances and angles of points,
// lines and planes, rotation about an axis and plane-frame coordinates.  Points are three floats;
// differences are taken in single precision and the rest is computed in double precision.
#pragma once

#include "platform/types.h"

// A line is given by two of its points, a plane by three, a segment by its ends (parameter 0 at
// the first, 1 at the second).  Angles are in radians.  Scalar outputs may be null.

// Intersection of the lines p0p1 and q0q1; FALSE when they are skew (|w . (d x e)| > 2.0), parallel,
// or the second line has no usable direction.  t and s are the parameters on the two lines.
BOOL IntersectLinesF(const float* p0, const float* p1, const float* q0, const float* q1, float* out, float* t,
                     float* s);
// The foot on the line p0p1 of the common perpendicular with q0q1; FALSE for parallel lines.
BOOL CommonPerpendicularF(const float* p0, const float* p1, const float* q0, const float* q1, float* out);
float DistanceLinesF(const float* p0, const float* p1, const float* q0, const float* q1);
// In [0, pi/2]; 0 for a degenerate line.
float AngleBetweenLinesF(const float* p0, const float* p1, const float* q0, const float* q1);
// Angle of the line p0p1 with the plane abc, in [0, pi/2].
float AngleLinePlaneF(const float* p0, const float* p1, const float* a, const float* b, const float* c);
// pi minus the angle of the normals: equal normals give pi, opposite normals 0.
float DihedralAngleF(const float* a1, const float* b1, const float* c1, const float* a2, const float* b2,
                     const float* c2);
// The foot of p on the line ab; returns its parameter.
double FootOnLineF(const float* p, const float* a, const float* b, float* out);
// The foot of p on the plane abc (on a line of the three points when they are collinear).
BOOL FootOnPlaneF(const float* p, const float* a, const float* b, const float* c, float* out);
float DistancePointPlaneF(const float* p, const float* a, const float* b, const float* c);
// FALSE when the line is parallel to the plane; t is not limited to the segment.
BOOL IntersectLinePlaneF(const float* p0, const float* p1, const float* a, const float* b, const float* c,
                         float* out, float* t);
// The angle from u to w in [0, 2 pi), counted positive about the normal n.
float OrientedAngleF(float ux, float uy, float uz, float wx, float wy, float wz, float nx, float ny,
                     float nz);
// The angle p-o-q in [0, pi].
float AngleThreePointsF(const float* p, const float* o, const float* q);
// The angle a-o-b oriented by the components z, x, y of (a - o) x (b - o): in (0, 2 pi].
float RotationAngleF(const float* a, const float* o, const float* b);
// Turns p about the axis through c with the unit direction u (right-handed), in single precision.
void RotatePointAboutAxisF(const float* u, const float* c, float angle, const float* p, float* out);
// s and t with x - o = s (p - o) + t (q - o); FALSE when the frame is degenerate.
BOOL PlaneCoordinatesF(const float* p, const float* q, const float* o, const float* x, float* s, float* t);
// Where the line p0p1 meets the sphere about x of radius r, on the forward side (side TRUE) or
// the backward side; a line that misses by up to 0.001 touches.  FALSE when it misses.
BOOL IntersectLineSphereF(const float* p0, const float* p1, const float* x, BOOL side, float* out, float* t,
                          double r);
// The point of the segment ab nearest to the line pq, its parameter, and the distance to the line.
double ClampToBorderF(const float* a, const float* b, const float* p, const float* q, float* out, double* t);
// Distance from p to the segment ab, with the parameter of the nearest point.
double DistancePointSegmentF(const float* a, const float* b, const float* p, double* t);
