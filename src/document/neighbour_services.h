// Services of the view and of the application shell that the document and the page code use: the
// OpenGL context test, the camera's rotations and projections, two view flags and the per-user
// settings file.  The view and the shell define them; until they do, the definitions beside this
// header stand in (as weak symbols, so that the owners' definitions replace them).
#pragma once

#include "platform/afx.h"

// ---- View (camera and OpenGL state) ----

// True when some OpenGL context is current on this thread; GL calls outside painting are made
// only then (a headless run has none).
bool HxHasCurrentGlContext();
// out = qX(a) x qY(b) x qZ(c) for three angles in degrees, as w, x, y, z; every product keeps its
// scalar part within [-1, 1].  Returns out.
double* EulerToQuaternion(double* out, double a, double b, double c);
// g_viewRotation = qX(a) x qZ(b), angles in degrees.
void SetViewRotation(double a, double b);
// The projection matrix (column-major) of a projection type for the drawing area and unit length:
// 0 central, 1 orthographic, 2 oblique.  False for any other type.
bool ComputeProjectionMatrix(int type, double* m);
// Multiplies that projection onto the current OpenGL matrix (the caller has selected the
// projection matrix and loaded the identity).
void SetProjection(int type);

// The view keeps its picture of the traces drawn so far while this is 0; edits that discard the
// traces set it to 1.
extern int g_traceImageStale;
// Coordinate-system display bits read by the page's render passes: 1 spatial axes, 2 plane axes
// with ticks, 4 grid.
extern int g_coordSystemFlags;

// ---- Application shell ----

// The per-user settings file (fonts, sizes, colours, light): flag 0 reads it, 1 writes it.  Until
// the shell provides the file, reading gives the built-in defaults and writing keeps nothing.
void LoadSaveSettings(int store);
