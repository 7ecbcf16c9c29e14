// The mouse position made into a 3D point: on a coordinate plane, on the vertical line through a
// given point, or on the plane of a face being drawn, rounded to the grid.  Pure arithmetic on the
// kept matrices (no OpenGL context is needed); the view's handlers call these.
#pragma once

#include "platform/afx.h"

// A mouse-placed coordinate on the grid: whole units with g_snapToGrid, else tenths; then kept
// within [-200, 200].
double HxRoundToGrid(double v);

// Where the mouse ray at client pixel (x, y) meets a coordinate plane: z = 0 when the ray spans more
// than 10 units in z, else y = 0 when it spans more than 10 in y, else x = 0.  The two computed
// coordinates are rounded to the grid; the plane's own is exactly 0.  With vertical, only *pZ is
// written: the height on the line x = *pX, y = *pY nearest to the mouse ray (left alone for a
// vertical ray or a height of 200 or more).  The pick ray globals hold the mouse ray afterwards.
void HxUnprojectToPlane(int x, int y, BOOL vertical, double* pX, double* pY, double* pZ);

// The point under the mouse of the plane through p0, p1, p2 (taken in single precision), its x and y
// on the grid and lifted back onto the plane along the vertical, with its coordinates s, t in the
// frame q - p2 = s (p0 - p2) + t (p1 - p2).  FALSE when the ray runs along the plane, the plane is
// vertical or the frame is degenerate; the five outputs are zeroed first and may then hold the
// unrounded hit.
BOOL HxDragOnPlane(const double planePoints[3][3], int x, int y, double* pX, double* pY, double* pZ,
                   float* pS, float* pT);
