// Command ids of the construct commands (the 构造 category of the ribbon) and their undo texts.
#pragma once

#include "platform/types.h"

// Lines, perpendiculars and points on perpendiculars and parallels to the axes.
constexpr UINT ID_CREATE_LINE_SEGMENT = 32834;
constexpr UINT ID_CREATE_LINE_HALF = 32835;
constexpr UINT ID_CREATE_LINE_STRAIGHT = 32836;
constexpr UINT ID_CREATE_LINE_VECTOR = 32837;
constexpr UINT ID_CREATE_LINE_PERPENDICULAR = 33132;
constexpr UINT ID_CREATE_POINT_PER_SC = 33056;
constexpr UINT ID_CREATE_POINT_PER_EQ = 33057;
constexpr UINT ID_CREATE_POINT_PAR_X = 33058;
constexpr UINT ID_CREATE_POINT_PAR_Y = 33059;
constexpr UINT ID_CREATE_POINT_PAR_Z = 33060;
constexpr UINT ID_CREATE_POINT_VECTOR = 33063;
constexpr UINT ID_CREATE_POINT_2DZ = 34179;

// Parallels and perpendiculars.
constexpr UINT ID_CREATE_POINT_PAR_L = 33062;
constexpr UINT ID_CREATE_POINT_PAR_V = 33061;
constexpr UINT ID_CREATE_LINE_PARALLEL = 32803;
constexpr UINT ID_CREATE_LINE_COMMON = 32802;
constexpr UINT ID_CREATE_FACE_PARFACE = 33075;
constexpr UINT ID_CREATE_FACE_PERLINE = 33073;

// Triangle centres, coordinate points and the point turned on a circle.
constexpr UINT ID_CREATE_POINT_TRIANGLE_G = 33066;
constexpr UINT ID_CREATE_POINT_TRIANGLE_O = 33067;
constexpr UINT ID_CREATE_POINT_TRIANGLE_I = 33068;
constexpr UINT ID_CREATE_POINT_TRIANGLE_H = 33069;
constexpr UINT ID_CREATE_POINT_TRIANGLE_E = 33070;
constexpr UINT ID_CREATE_POINT_COORDINATES = 33143;
constexpr UINT ID_CREATE_POINT_ROT_INCIRCLE = 33065;

// The arc of a circle between two of its points and the angle bisectors.
constexpr UINT ID_CREATE_CIRCLE_ARC = 33076;
constexpr UINT ID_CREATE_LINE_ANGLE = 32848;
constexpr UINT ID_CREATE_LINE_ANGLE_E = 33072;

// Loci, curves and the point on an object.
constexpr UINT ID_CREATE_LOCUS = 32977;
constexpr UINT ID_CREATE_CURVE = 32823;
constexpr UINT ID_CREATE_POINT_ONOBJECT = 32820;

// Solids of revolution on the corners of a right triangle or trapezium.
constexpr UINT ID_CREATE_CYLINDER = 32956;
constexpr UINT ID_CREATE_CONE = 32957;
constexpr UINT ID_CREATE_PLATFORM = 32958;

// Polygons (构造/多边形).
constexpr UINT ID_CREATE_PLANE_EQUILATERAL = 33080;
constexpr UINT ID_CREATE_PLANE_SQUARE = 33078;
constexpr UINT ID_CREATE_PLANE_RECT = 33077;
constexpr UINT ID_CREATE_PLANE_FIVE = 33085;
constexpr UINT ID_CREATE_PLANE_SIX = 33087;
constexpr UINT ID_CREATE_PLANE_POLY = 33088;
constexpr UINT ID_CREATE_PLANE_ISOCELES = 33083;
constexpr UINT ID_CREATE_PLANE_PARALL = 33084;

// Faces, circles, spheres and the axes.
constexpr UINT ID_CREATE_FACE = 32805;
constexpr UINT ID_CREATE_CIRCLE_3P = 32806;
constexpr UINT ID_CREATE_CIRCLE_CP = 32875;
constexpr UINT ID_CREATE_CIRCLE_PN = 32877; // 心向圆: our own name, the menu gives none
constexpr UINT ID_CREATE_CIRCLE_PNZ2 = 33677;
constexpr UINT ID_CREATE_CIRCLE_CR = 34181; // 心径圆: our own name
constexpr UINT ID_CREATE_BALL = 32808;      // 球体: our own name
constexpr UINT ID_CREATE_GEO = 33230;
constexpr UINT ID_CREATE_BASE = 32880;

// Intersection, midpoints and division points.
constexpr UINT ID_CREATE_POINT_INTER = 32797;
constexpr UINT ID_CREATE_POINT_MIDDLE = 32796;
constexpr UINT ID_CREATE_POINT_DIV3 = 33699;
constexpr UINT ID_CREATE_POINT_DIVN = 33700;

// Prisms, pyramids, frustums and the tetrahedron.
constexpr UINT ID_CREATE_CUBOID = 32831;
constexpr UINT ID_CREATE_BOX = 32830;
constexpr UINT ID_CREATE_SOLID_PARALL = 33093;
constexpr UINT ID_CREATE_SOLID_PRISM = 33090;
constexpr UINT ID_CREATE_SOLID_FIVEPRISM = 33098;
constexpr UINT ID_CREATE_SOLID_PYRAMID = 33096;
constexpr UINT ID_CREATE_SOLID_TRUN = 33092;
constexpr UINT ID_CREATE_SOLID_TETRAHEDRON = 33095; // the regular square pyramid
constexpr UINT ID_CREATE_SOLID_SIXTRUN = 33099;
