// The view's camera: rotation quaternions, the central, orthographic and oblique projections, the
// camera applied to the modelview matrix, the standard orientations, the three-view quadrants,
// the zoom and pan steps and the mouse ray.  The arithmetic needs no OpenGL context; the few
// functions that load OpenGL matrices say so.
#pragma once

#include "platform/afx.h"

#include <functional>

// Quaternions are four doubles w (scalar), x, y, z.  Every product clamps w to [-1, 1] and is never
// renormalised.  Angles are in degrees unless a name says otherwise.

// out = a (x) b (Hamilton product); out may alias a or b.  Returns out.
double* QuaternionMultiply(const double* a, const double* b, double* out);
// (cos(angle/2), sin(angle/2) axis/|axis|), angle in radians; the identity for a zero axis.
double* QuaternionFromAxisAngle(double* out, double angleRadians, double x, double y, double z);
// The elementary turns q_X, q_Y, q_Z by an angle in degrees.
double* QuaternionRotationX(double* out, double angle);
double* QuaternionRotationY(double* out, double angle);
double* QuaternionRotationZ(double* out, double angle);
// q_X(a) (x) q_Y(b) (x) q_Z(c).  Returns out.
double* EulerToQuaternion(double* out, double a, double b, double c);

// g_viewRotation := q_X(a) (x) q_Z(b): turn about Z by b, then about X by a.
void SetViewRotation(double a, double b);
// g_viewRotation := V (x) q_X, V (x) q_Y, V (x) q_Z: turns about the scene's own axes.
void RotateViewPitch(double angle);
void RotateViewRoll(double angle);
void RotateViewYaw(double angle);
// The virtual trackball from the last mouse position (g_mouseX, g_mouseY) to (x, y), turned about an
// axis fixed to the screen (r (x) V).  The caller updates the last position.
void TrackballRotate(int x, int y);
// The turn of a rotation quaternion in degrees, 2 acos(w).
double QuaternionAngleDegrees(const double* q);

// Projection types.
constexpr int HX_PROJ_CENTRAL = 0;
constexpr int HX_PROJ_ORTHOGRAPHIC = 1;
constexpr int HX_PROJ_OBLIQUE = 2;

// The column-major matrix of a projection type for the current drawing area and unit length (the zoom
// is not part of it).  False, with m untouched, for an unknown type.
bool ComputeProjectionMatrix(int type, double* m);
// Multiplies the current OpenGL matrix by the projection of `type` (the caller has selected
// GL_PROJECTION and loaded the identity); any other type leaves it unchanged.  Needs a context.
void SetProjection(int type);
// A projection change: g_projectionType and the current page's projection become `type`, the
// projection matrix is loaded and read back into g_projectionMatrix, and GL_MODELVIEW is selected.
// Without an OpenGL context only the state and g_projectionMatrix are set.
void ApplyProjection(int type);

// The camera: translate by g_viewTrans*, turn by g_viewRotation, scale by g_viewZoom.
// ApplyViewCamera multiplies the current modelview by it (inside the caller's push and pop) and reads
// the result back into g_modelviewMatrix; without a current context it only stores T R S there.
void ComputeViewCameraMatrix(double* m);
void ApplyViewCamera();

// The rotations the projection commands, the reset (Home) and the switched-on axes give, per
// projection type, as the angle pairs of SetViewRotation.
struct CProjectionOrientation {
    double command[2];
    double reset[2];
    double axes[2];
};
extern const CProjectionOrientation g_projectionOrientations[3];
// Standard orientations (SetViewRotation angle pairs); the plane view is the identity quaternion.
extern const double g_frontViewAngles[2]; // -90, 180
extern const double g_leftViewAngles[2];  // -90, -90
extern const double g_topViewAngles[2];   // 0, 180
void SetPlaneViewRotation();
// The camera of the reset: translation (0, 0, -50), zoom 1 and the reset rotation of the current
// projection.  (What else the reset does belongs to the view.)
void ResetViewCamera();

// Three-view mode: the quadrants in drawing order and their captions.
enum EThreeViewQuadrant { HX_VIEW_FRONT = 0, HX_VIEW_LEFT = 1, HX_VIEW_TOP = 2, HX_VIEW_DIRECT = 3 };
// "主视图", "左视图", "俯视图", "直观图", and the prompt "左击或右击"; the view keeps them as glyph strings.
extern const char16_t* const g_viewCaptionTexts[5];
// The viewport (x, y, width, height) of a quadrant of a clientWidth x clientHeight area.
void ThreeViewViewport(int quadrant, int clientWidth, int clientHeight, int* viewport);
// Captions are drawn only when a quadrant is wider than 320 and taller than 240 pixels.
bool ThreeViewCaptionsFit(int clientWidth, int clientHeight);
// The raster position of a quadrant's caption, in world units.
void ThreeViewCaptionPosition(int clientWidth, int clientHeight, float* pos);
// The fixed camera of the front, left and top quadrants: translation, the quadrant's turns, zoom.
void ComputeThreeViewMatrix(int quadrant, double* m);
// Applies it to the current modelview and reads it back into g_modelviewMatrix (like ApplyViewCamera).
void ApplyThreeViewCamera(int quadrant);

// Zoom and pan steps of the view commands.  Each returns false, changing nothing, while the view is
// locked (g_viewLocked); true means the frame must be redrawn.
bool ZoomViewOut(); // above 0.21: minus 0.2, else 0.01
bool ZoomViewIn();  // below 100: plus 0.2 (may pass 100 once), else 100
bool PanViewUp();   // g_viewTransY += g_viewSpeed
bool PanViewDown();
bool PanViewLeft(); // g_viewTransX -= g_viewSpeed
bool PanViewRight();

// The main frame's three pan sliders show x * 10, y * 10 and (z + 50) * 10 of the translation, each
// truncated.  The frame installs the handler that moves them.
void PanSliderValues(int* values);
using HxPanSliderHandler = std::function<void(int x, int y, int z)>;
void HxSetPanSliderHandler(HxPanSliderHandler handler);
void UpdatePanSliders();

// The mouse ray at client pixel (x, y): g_pickRayNear and g_pickRayFar are the window point at depth
// 0 and 1 unprojected with the kept matrices and viewport (window y = g_clientHeight - y), and
// g_viewDir* = near - far as floats.  False, with the ray untouched, for a singular matrix.
bool ComputePickRay(int x, int y);
