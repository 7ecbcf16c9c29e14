// The fixed shapes of the component solids, drawn in immediate mode in their own unit frame:
// quadric spheres, cones, cylinders and disks, cubes, the torus, the five regular solids, the
// square, the teapot and the C60 ball-and-stick model, each solid (normals, texture coordinates)
// or as a wire frame.  Also the corner and face tables of the regular solids.
#pragma once

#include <GL/gl.h>

#include <array>
#include <vector>

using CShapeVec = std::array<double, 3>;

// Quadric shapes through g_gluQuadric: line style for the wire forms, fill style with texture
// coordinates (switched on for the call only) for the solid ones, smooth normals always.  The wire
// cone and both disks always have 24 slices.
void DrawWireSphere(double radius, int slices, int stacks);
void DrawSolidSphere(double radius, int slices, int stacks);
void DrawWireCone(double base, double height, int stacks);
void DrawSolidCone(double base, double height, int slices, int stacks);
void DrawWireCylinder(double base, double top, double height, int slices, int stacks);
void DrawSolidCylinder(double base, double top, double height, int slices, int stacks);
void DrawWireDisk(double inner, double outer, int loops);
void DrawSolidDisk(double inner, double outer, int loops);

// A cube of edge `size` about the origin, one primitive of `type` per face with its normal.
void DrawCube(float size, GLenum type);
// The same with a colour, one of the view's first three textures and texture coordinates per face;
// 2D texturing is on for the call.
void DrawTexturedCube(float size);
// A torus about the z axis: 36 rings of 12 sides, with normals and texture coordinates.
void DrawTorus(float tube, float ring);
// The regular solids on the unit sphere (the dodecahedron at radius sqrt 3), one primitive of
// `type` per face, faces from the last to the first, each counter-clockwise seen from outside.
void DrawTetrahedron(GLenum type);
void DrawOctahedron(GLenum type);
void DrawIcosahedron(GLenum type);
void DrawDodecahedron(GLenum type);
// The square of corners (+-half, +-half, 0) with normal +z and texture coordinates.
void DrawSquare(float half, GLenum type);
// The teapot as evaluated Bezier patches (its mirror copies included), standing on its z axis and
// centred: grid x grid steps per patch, filled (GL_FILL) or lines (GL_LINE).
void DrawTeapot(int grid, double scale, GLenum mode);
// The C60 molecule: 60 atoms in the current colour, 90 blue bonds.
void DrawC60(bool wire);
// One bond of the C60 model from p to q.
void DrawBond(const CShapeVec& p, const CShapeVec& q, bool wire);

// ---------------------------------------------------------------------------------------------
// The tables behind the drawings.

// A regular solid: its corners as the published tables give them, and its faces as corner numbers
// in the order the drawing walks them (triangles clockwise seen from outside, as the tables list
// them; pentagons counter-clockwise).
struct CShapeSolid {
    std::vector<CShapeVec> corners;
    std::vector<std::vector<int>> faces;
};
enum class HxRegularSolid { Tetrahedron, Octahedron, Icosahedron, Dodecahedron };
const CShapeSolid& HxRegularSolidTable(HxRegularSolid which);

// The normal a triangle face is drawn with: (a - c) x (c - b) made unit length, (1, 0, 0) when it
// has none; the corners are those of the table put on the unit sphere.
CShapeVec HxTriangleFaceNormal(const CShapeVec& a, const CShapeVec& b, const CShapeVec& c);
// The normal of a pentagon: (a - b) x (b - c) made unit length, (1, 0, 0) when it has none.
CShapeVec HxPentagonFaceNormal(const CShapeVec& a, const CShapeVec& b, const CShapeVec& c);
// The icosahedron's 30 edges (corner pairs in the order the faces first name them).
const std::vector<std::array<int, 2>>& HxIcosahedronEdges();

// The C60 model as it is drawn: the 60 atom centres, and the 90 bonds (60 round the pentagons,
// then 30 between hexagons).
struct CC60Model {
    std::vector<CShapeVec> atoms;
    std::vector<std::array<CShapeVec, 2>> bonds;
};
const CC60Model& HxC60Model();

// The teapot's published patch data: 10 patches of 16 control point numbers, 127 control points.
constexpr int kTeapotPatchCount = 10;
constexpr int kTeapotPointCount = 127;
extern const int g_teapotPatches[kTeapotPatchCount][16];
extern const float g_teapotPoints[kTeapotPointCount][3];
// The 4 x 4 control points of one drawn copy of a patch: copy 0 as given, 1 mirrored in y, 2
// mirrored in x, 3 mirrored in x and y (the last two only for the first six patches).  The mirror
// copies in one coordinate run their columns the other way, so that every copy faces outwards.
void HxTeapotPatchCopy(int patch, int copy, float out[4][4][3]);
// The number of drawn copies of a patch: 4 for the first six, 2 for the others.
int HxTeapotCopyCount(int patch);
