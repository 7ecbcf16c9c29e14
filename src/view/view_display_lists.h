// The view's fixed display lists: a unit circle, the axis arrow head, the coloured rings, the
// coordinate axes, the plain grid, and solid and wire quadrics, 31 consecutive ids from g_listBase.
#pragma once

#include "platform/afx.h"

constexpr int HX_VIEW_LIST_COUNT = 31;
// Offsets from g_listBase.
constexpr int HX_LIST_CIRCLE = 0;     // unit circle in z = 0 (line loop)
constexpr int HX_LIST_ARROW_HEAD = 1; // cone with its apex at the origin, base radius 0.2 at z = -1
constexpr int HX_LIST_COLOR_RINGS = 2;
constexpr int HX_LIST_AXES = 3;      // axes of length 12 with arrow heads and the letters x, y, z, o
constexpr int HX_LIST_GRID = 4;      // lines at every integer from -12 to 12 in z = 0
constexpr int HX_LIST_DISK = 10;     // textured, smooth normals: disk radius 1
constexpr int HX_LIST_SPHERE = 11;   // sphere radius 1
constexpr int HX_LIST_CYLINDER = 12; // radius 1, height 1
constexpr int HX_LIST_CONE = 13;     // radius 1, height 1
constexpr int HX_LIST_WIRE_CYLINDER2 = 14;
constexpr int HX_LIST_WIRE_SPHERE = 16;
constexpr int HX_LIST_WIRE_DISK = 17;
constexpr int HX_LIST_WIRE_CYLINDER = 18;
constexpr int HX_LIST_WIRE_CONE = 19;

// Reserves the 31 lists into g_listBase and the two glyph blocks of the label and text caches, then
// compiles the lists (the axis letters call the label glyph lists, so the glyph blocks come first).
// False, with nothing reserved, when no block of ids can be had or no context can be made current.
bool HxBuildViewDisplayLists();
// Deletes the 31 lists (g_listBase back to 0).
void HxDeleteViewDisplayLists();

// The program's one GLU quadric, made by its first use (no context is needed to make it) and kept
// for the whole run; the shapes that draw through it set its style, normals and texture flag on
// every call.  Null only when GLU could not make it.
struct GLUquadric;
extern GLUquadric* g_gluQuadric;
GLUquadric* HxGluQuadric();
