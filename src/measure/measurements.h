// The scalar measurements of a page: coordinates, distances and angles of points, lines and
// faces; areas of polygons and circles, the tetrahedron's volume, radii and lengths of circles and
// arcs, the surfaces and volumes of solids of revolution, and a point's place on its path, a line
// or an arc.  Each takes its parents in a fixed order, names itself after them (unless its name is
// fixed), recomputes from them in id order and keeps the record of CGTextmap.
#pragma once

#include "measure/text_items.h"

#define HX_DECLARE_MEASUREMENT(c, ...) HX_DECLARE_TEXT_ITEM(c, CGTmVariable, __VA_ARGS__)

// ---- Coordinates, distances and angles ----
// x, y or z of a point: "x (A)", "度量值：A点的X坐标".
HX_DECLARE_MEASUREMENT(CGTmVarCoordX, WORD point)
HX_DECLARE_MEASUREMENT(CGTmVarCoordY, WORD point)
HX_DECLARE_MEASUREMENT(CGTmVarCoordZ, WORD point)
// |AB|.
HX_DECLARE_MEASUREMENT(CGTmVarDistancePP, WORD a, WORD b)
// From a point to the line through a line's two points.
HX_DECLARE_MEASUREMENT(CGTmVarDistancePL, WORD point, WORD line)
// From a point to the plane of a face's first three vertices (to the second vertex when they are
// collinear).
HX_DECLARE_MEASUREMENT(CGTmVarDistancePF, WORD point, WORD face)
// Between the lines through two lines' points.
HX_DECLARE_MEASUREMENT(CGTmVarDistanceLL, WORD line1, WORD line2)
// The angles, shown in degrees: two lines in [0, 90], a line and a plane in [0, 90], two planes in
// [0, 180] (not folded), the angle ABC at B in [0, 180].  A degenerate case measures 0.
HX_DECLARE_MEASUREMENT(CGTmVarAngleLL, WORD line1, WORD line2)
HX_DECLARE_MEASUREMENT(CGTmVarAngleLF, WORD line, WORD face)
HX_DECLARE_MEASUREMENT(CGTmVarAngleFF, WORD face1, WORD face2)
HX_DECLARE_MEASUREMENT(CGTmVarAngleP3, WORD a, WORD b, WORD c)

// ---- Areas, volumes, circles and positions ----
// A polygon's area, as a fan of triangles from its first vertex.
HX_DECLARE_MEASUREMENT(CGTmVarArea, WORD face)
// The volume of the tetrahedron ABCD.
HX_DECLARE_MEASUREMENT(CGTmVarVolume, WORD a, WORD b, WORD c, WORD d)
// The radius, area and length of a circle, or of an arc's sector and arc.
HX_DECLARE_MEASUREMENT(CGTmVarRadius, WORD circle)
HX_DECLARE_MEASUREMENT(CGTmVarAreaCircle, WORD circle)
HX_DECLARE_MEASUREMENT(CGTmVarLenArc, WORD circle)
// The whole surface and the volume of a cylinder, cone, frustum or sphere, from its radius,
// height and top ratio.
HX_DECLARE_MEASUREMENT(CGTmVarAreaCylinder, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarAreaCone, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarAreaFrustum, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarAreaSphere, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarVolumeCylinder, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarVolumeCone, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarVolumeFrustum, WORD solid)
HX_DECLARE_MEASUREMENT(CGTmVarVolumeSphere, WORD solid)
// A point's path parameter (what an animation moves).
HX_DECLARE_MEASUREMENT(CGTmVarPara, WORD point)
// Where a point lies on a line (0 at its first point, 1 at its second, limited to the kind's
// extent) or on a circle or arc (the part of the turn or of the sweep).
HX_DECLARE_MEASUREMENT(CGTmVarParaPInL, WORD point, WORD line)
HX_DECLARE_MEASUREMENT(CGTmVarParaPInY, WORD point, WORD circle)

// The part of a partial arc's sweep at which the angle theta (radians, in [0, 2 pi)) lies, for
// the sweep from `start` to `end`: a / s within the sweep, else 1 nearer its end and 0 nearer its
// start; 0 for a sweep of no width.
double HxArcSweepFraction(double theta, double start, double end);
