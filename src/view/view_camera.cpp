// The view's camera: quaternion arithmetic, projections, the camera matrix, orientations, the
// three-view quadrants, zoom and pan steps and the mouse ray.
#include "view/view_camera.h"

#include "model/page.h"
#include "view/gl_context.h"
#include "view/view_globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kHalfDegreeToRadian = 0.008726646259971648; // pi / 360
constexpr double kTwoRadianToDegree = 114.59155902616465;    // 360 / pi
constexpr double kObliqueOffset = 17.67766952966369;         // 50 cos 45 / 2
constexpr double kObliqueShear = -0.35355339059327373;       // -cos 45 / 2

void SetQuaternion(double* q, double w, double x, double y, double z) {
    q[0] = w;
    q[1] = x;
    q[2] = y;
    q[3] = z;
}

// Column-major 4x4 product out = a b; out may alias neither.
void MultiplyMatrix(const double* a, const double* b, double* out) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double s = 0;
            for (int k = 0; k < 4; ++k)
                s += a[k * 4 + r] * b[c * 4 + k];
            out[c * 4 + r] = s;
        }
}

void Identity(double* m) {
    std::fill(m, m + 16, 0.0);
    m[0] = m[5] = m[10] = m[15] = 1.0;
}

void RightMultiply(double* m, const double* b) {
    double t[16];
    MultiplyMatrix(m, b, t);
    std::copy(t, t + 16, m);
}

void TranslateMatrix(double* m, double x, double y, double z) {
    double t[16];
    Identity(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    RightMultiply(m, t);
}

// The rotation glRotate makes: angle in degrees about the normalised axis; a zero axis turns nothing.
void RotateMatrix(double* m, double angle, double x, double y, double z) {
    double len = std::sqrt(x * x + y * y + z * z);
    if (len <= 0.0 || angle == 0.0)
        return;
    x /= len;
    y /= len;
    z /= len;
    double a = angle * M_PI / 180.0, c = std::cos(a), s = std::sin(a), t = 1.0 - c;
    double r[16];
    Identity(r);
    r[0] = x * x * t + c;
    r[1] = y * x * t + z * s;
    r[2] = x * z * t - y * s;
    r[4] = x * y * t - z * s;
    r[5] = y * y * t + c;
    r[6] = y * z * t + x * s;
    r[8] = x * z * t + y * s;
    r[9] = y * z * t - x * s;
    r[10] = z * z * t + c;
    RightMultiply(m, r);
}

void ScaleMatrix(double* m, double s) {
    double t[16];
    Identity(t);
    t[0] = t[5] = t[10] = s;
    RightMultiply(m, t);
}

void OrthoMatrix(double* m, double l, double r, double b, double t, double n, double f) {
    std::fill(m, m + 16, 0.0);
    m[0] = 2.0 / (r - l);
    m[5] = 2.0 / (t - b);
    m[10] = -2.0 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    m[15] = 1.0;
}

void FrustumMatrix(double* m, double l, double r, double b, double t, double n, double f) {
    std::fill(m, m + 16, 0.0);
    m[0] = 2.0 * n / (r - l);
    m[5] = 2.0 * n / (t - b);
    m[8] = (r + l) / (r - l);
    m[9] = (t + b) / (t - b);
    m[10] = -(f + n) / (f - n);
    m[11] = -1.0;
    m[14] = -2.0 * f * n / (f - n);
}

// The shear of the oblique projection: x and y gain kObliqueShear * z.
void ObliqueShear(double* m) {
    Identity(m);
    m[8] = kObliqueShear;
    m[9] = kObliqueShear;
}

void HalfExtent(double& w, double& h) {
    w = g_clientWidth * 0.5 * g_unitLength;
    h = g_clientHeight * 0.5 * g_unitLength;
}

// The turns of the front, left and top quadrants, applied in this order after the translation.
struct QuadrantTurns {
    double aboutX;
    double aboutZ;
};
constexpr QuadrantTurns kQuadrantTurns[3] = {{-90.0, 180.0}, {-90.0, -90.0}, {0.0, 180.0}};

HxPanSliderHandler& PanSliderHandler() {
    static HxPanSliderHandler handler;
    return handler;
}

bool HasContext() {
    return HxHasCurrentGlContext();
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Quaternions

double* QuaternionMultiply(const double* a, const double* b, double* out) {
    double w = a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3];
    double x = a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2];
    double y = a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1];
    double z = a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0];
    SetQuaternion(out, std::clamp(w, -1.0, 1.0), x, y, z);
    return out;
}

double* QuaternionFromAxisAngle(double* out, double angleRadians, double x, double y, double z) {
    double len2 = x * x + y * y + z * z;
    if (len2 <= 0.0) {
        SetQuaternion(out, 1.0, 0.0, 0.0, 0.0);
        return out;
    }
    double s = std::sin(angleRadians / 2.0) / std::sqrt(len2);
    SetQuaternion(out, std::cos(angleRadians / 2.0), s * x, s * y, s * z);
    return out;
}

double* QuaternionRotationX(double* out, double angle) {
    double h = angle * kHalfDegreeToRadian;
    SetQuaternion(out, std::cos(h), std::sin(h), 0.0, 0.0);
    return out;
}

double* QuaternionRotationY(double* out, double angle) {
    double h = angle * kHalfDegreeToRadian;
    SetQuaternion(out, std::cos(h), 0.0, std::sin(h), 0.0);
    return out;
}

double* QuaternionRotationZ(double* out, double angle) {
    double h = angle * kHalfDegreeToRadian;
    SetQuaternion(out, std::cos(h), 0.0, 0.0, std::sin(h));
    return out;
}

double* EulerToQuaternion(double* out, double a, double b, double c) {
    double qx[4], qy[4], qz[4], t[4];
    QuaternionRotationX(qx, a);
    QuaternionRotationY(qy, b);
    QuaternionRotationZ(qz, c);
    QuaternionMultiply(qx, qy, t);
    return QuaternionMultiply(t, qz, out);
}

void SetViewRotation(double a, double b) {
    double qx[4], qz[4];
    QuaternionRotationX(qx, a);
    QuaternionRotationZ(qz, b);
    QuaternionMultiply(qx, qz, g_viewRotation);
}

void RotateViewPitch(double angle) {
    double q[4];
    QuaternionMultiply(g_viewRotation, QuaternionRotationX(q, angle), g_viewRotation);
}

void RotateViewRoll(double angle) {
    double q[4];
    QuaternionMultiply(g_viewRotation, QuaternionRotationY(q, angle), g_viewRotation);
}

void RotateViewYaw(double angle) {
    double q[4];
    QuaternionMultiply(g_viewRotation, QuaternionRotationZ(q, angle), g_viewRotation);
}

namespace {
// A window point on the trackball's unit sphere; points outside the inscribed circle go to its rim.
void TrackballPoint(int x, int y, float* p) {
    float px = float(x) * g_pixelScaleX - 1.0f;
    float py = 1.0f - float(y) * g_pixelScaleY;
    float d = px * px + py * py;
    float pz = 0.0f;
    if (d > 1.0f) {
        float len = std::sqrt(d);
        px /= len;
        py /= len;
    } else {
        pz = std::sqrt(1.0f - d);
    }
    p[0] = px;
    p[1] = py;
    p[2] = pz;
}
} // namespace

void TrackballRotate(int x, int y) {
    float p0[3], p1[3];
    TrackballPoint(g_mouseX, g_mouseY, p0);
    TrackballPoint(x, y, p1);
    double cosArc = double(p0[0]) * p1[0] + double(p0[1]) * p1[1] + double(p0[2]) * p1[2];
    double angle = 3.0 * std::acos(std::clamp(cosArc, -1.0, 1.0));
    double ax = double(p0[1]) * p1[2] - double(p0[2]) * p1[1];
    double ay = double(p0[2]) * p1[0] - double(p0[0]) * p1[2];
    double az = double(p0[0]) * p1[1] - double(p0[1]) * p1[0];
    double r[4];
    QuaternionFromAxisAngle(r, angle, ax, ay, az);
    QuaternionMultiply(r, g_viewRotation, g_viewRotation);
}

double QuaternionAngleDegrees(const double* q) {
    return std::acos(q[0]) * kTwoRadianToDegree;
}

// ---------------------------------------------------------------------------------------------
// Projections

bool ComputeProjectionMatrix(int type, double* m) {
    double w, h;
    HalfExtent(w, h);
    switch (type) {
    case HX_PROJ_CENTRAL:
        FrustumMatrix(m, -0.4 * w, 0.4 * w, -0.4 * h, 0.4 * h, 20.0, 200.0);
        return true;
    case HX_PROJ_ORTHOGRAPHIC:
        OrthoMatrix(m, -w, w, -h, h, -64.0, 200.0);
        return true;
    case HX_PROJ_OBLIQUE: {
        double k = kObliqueOffset, shear[16];
        OrthoMatrix(m, k - w, k + w, k - h, k + h, -20.0, 200.0);
        ObliqueShear(shear);
        RightMultiply(m, shear);
        return true;
    }
    default:
        return false;
    }
}

void SetProjection(int type) {
    double w, h;
    HalfExtent(w, h);
    switch (type) {
    case HX_PROJ_CENTRAL:
        glFrustum(-0.4 * w, 0.4 * w, -0.4 * h, 0.4 * h, 20.0, 200.0);
        break;
    case HX_PROJ_ORTHOGRAPHIC:
        glOrtho(-w, w, -h, h, -64.0, 200.0);
        break;
    case HX_PROJ_OBLIQUE: {
        double k = kObliqueOffset, shear[16];
        glOrtho(k - w, k + w, k - h, k + h, -20.0, 200.0);
        ObliqueShear(shear);
        glMultMatrixd(shear);
        break;
    }
    default:
        break;
    }
}

void ApplyProjection(int type) {
    g_projectionType = type;
    if (g_pCurPage)
        g_pCurPage->m_projection = type;
    if (!HxMakeGlCurrent()) {
        if (!ComputeProjectionMatrix(type, g_projectionMatrix))
            Identity(g_projectionMatrix);
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetProjection(type);
    glGetDoublev(GL_PROJECTION_MATRIX, g_projectionMatrix);
    glMatrixMode(GL_MODELVIEW);
}

// ---------------------------------------------------------------------------------------------
// Camera

void ComputeViewCameraMatrix(double* m) {
    Identity(m);
    TranslateMatrix(m, g_viewTransX, g_viewTransY, g_viewTransZ);
    RotateMatrix(m, QuaternionAngleDegrees(g_viewRotation), g_viewRotation[1], g_viewRotation[2],
                 g_viewRotation[3]);
    ScaleMatrix(m, g_viewZoom);
}

void ApplyViewCamera() {
    if (!HasContext()) {
        ComputeViewCameraMatrix(g_modelviewMatrix);
        return;
    }
    glTranslatef(g_viewTransX, g_viewTransY, g_viewTransZ);
    double angle = QuaternionAngleDegrees(g_viewRotation);
    const double* q = g_viewRotation;
    // The identity has a zero axis: glRotate must not see it.
    if (angle != 0.0 && q[1] * q[1] + q[2] * q[2] + q[3] * q[3] > 0.0)
        glRotated(angle, q[1], q[2], q[3]);
    glScalef(g_viewZoom, g_viewZoom, g_viewZoom);
    glGetDoublev(GL_MODELVIEW_MATRIX, g_modelviewMatrix);
}

// ---------------------------------------------------------------------------------------------
// Orientations

const CProjectionOrientation g_projectionOrientations[3] = {
    {{-70.0, -20.0}, {-70.0, -20.0}, {-70.0, -110.0}},
    {{-54.73561031724535, -135.0}, {-75.0, -15.0}, {-75.0, -105.0}},
    {{-90.0, 0.0}, {-90.0, 0.0}, {-90.0, -90.0}},
};
const double g_frontViewAngles[2] = {-90.0, 180.0};
const double g_leftViewAngles[2] = {-90.0, -90.0};
const double g_topViewAngles[2] = {0.0, 180.0};

void SetPlaneViewRotation() {
    SetQuaternion(g_viewRotation, 1.0, 0.0, 0.0, 0.0);
}

void ResetViewCamera() {
    g_viewTransX = 0.0f;
    g_viewTransY = 0.0f;
    g_viewTransZ = -50.0f;
    g_viewZoom = 1.0f;
    int type = std::clamp(g_projectionType, 0, 2);
    SetViewRotation(g_projectionOrientations[type].reset[0], g_projectionOrientations[type].reset[1]);
}

// ---------------------------------------------------------------------------------------------
// Three views

const char16_t* const g_viewCaptionTexts[5] = {u"主视图", u"左视图", u"俯视图", u"直观图", u"左击或右击"};

void ThreeViewViewport(int quadrant, int clientWidth, int clientHeight, int* viewport) {
    int hw = clientWidth / 2, hh = clientHeight / 2;
    viewport[0] = (quadrant == HX_VIEW_LEFT || quadrant == HX_VIEW_DIRECT) ? hw : 0;
    viewport[1] = (quadrant == HX_VIEW_FRONT || quadrant == HX_VIEW_LEFT) ? hh : 0;
    viewport[2] = hw;
    viewport[3] = hh;
}

bool ThreeViewCaptionsFit(int clientWidth, int clientHeight) {
    return clientWidth / 2 > 320 && clientHeight / 2 > 240;
}

void ThreeViewCaptionPosition(int clientWidth, int clientHeight, float* pos) {
    int hw = clientWidth / 2, hh = clientHeight / 2;
    pos[0] = float(20 - hw) * g_unitLength;
    pos[1] = float(hh - 80) * g_unitLength;
    pos[2] = 0.0f;
}

void ComputeThreeViewMatrix(int quadrant, double* m) {
    Identity(m);
    TranslateMatrix(m, g_viewTransX, g_viewTransY, g_viewTransZ);
    if (quadrant >= HX_VIEW_FRONT && quadrant <= HX_VIEW_TOP) {
        RotateMatrix(m, kQuadrantTurns[quadrant].aboutX, 1.0, 0.0, 0.0);
        RotateMatrix(m, kQuadrantTurns[quadrant].aboutZ, 0.0, 0.0, 1.0);
    }
    ScaleMatrix(m, g_viewZoom);
}

void ApplyThreeViewCamera(int quadrant) {
    if (quadrant < HX_VIEW_FRONT || quadrant > HX_VIEW_TOP) {
        ApplyViewCamera();
        return;
    }
    if (!HasContext()) {
        ComputeThreeViewMatrix(quadrant, g_modelviewMatrix);
        return;
    }
    glTranslatef(g_viewTransX, g_viewTransY, g_viewTransZ);
    if (kQuadrantTurns[quadrant].aboutX != 0.0)
        glRotated(kQuadrantTurns[quadrant].aboutX, 1.0, 0.0, 0.0);
    glRotated(kQuadrantTurns[quadrant].aboutZ, 0.0, 0.0, 1.0);
    glScalef(g_viewZoom, g_viewZoom, g_viewZoom);
    glGetDoublev(GL_MODELVIEW_MATRIX, g_modelviewMatrix);
}

// ---------------------------------------------------------------------------------------------
// Zoom and pan

bool ZoomViewOut() {
    if (g_viewLocked)
        return false;
    if (double(g_viewZoom) > 0.21)
        g_viewZoom -= 0.2f;
    else
        g_viewZoom = 0.01f;
    return true;
}

bool ZoomViewIn() {
    if (g_viewLocked)
        return false;
    if (g_viewZoom < 100.0f)
        g_viewZoom += 0.2f;
    else
        g_viewZoom = 100.0f;
    return true;
}

bool PanViewUp() {
    if (g_viewLocked)
        return false;
    g_viewTransY += g_viewSpeed;
    return true;
}

bool PanViewDown() {
    if (g_viewLocked)
        return false;
    g_viewTransY -= g_viewSpeed;
    return true;
}

bool PanViewLeft() {
    if (g_viewLocked)
        return false;
    g_viewTransX -= g_viewSpeed;
    return true;
}

bool PanViewRight() {
    if (g_viewLocked)
        return false;
    g_viewTransX += g_viewSpeed;
    return true;
}

void PanSliderValues(int* values) {
    values[0] = int(g_viewTransX * 10.0f);
    values[1] = int(g_viewTransY * 10.0f);
    values[2] = int((g_viewTransZ + 50.0f) * 10.0f);
}

void HxSetPanSliderHandler(HxPanSliderHandler handler) {
    PanSliderHandler() = std::move(handler);
}

void UpdatePanSliders() {
    if (!PanSliderHandler())
        return;
    int v[3];
    PanSliderValues(v);
    PanSliderHandler()(v[0], v[1], v[2]);
}

// ---------------------------------------------------------------------------------------------
// Mouse ray

bool ComputePickRay(int x, int y) {
    double windowY = double(g_clientHeight - y);
    double n[3], f[3];
    if (gluUnProject(x, windowY, 0.0, g_modelviewMatrix, g_projectionMatrix, g_viewport, &n[0], &n[1],
                     &n[2]) != GL_TRUE ||
        gluUnProject(x, windowY, 1.0, g_modelviewMatrix, g_projectionMatrix, g_viewport, &f[0], &f[1],
                     &f[2]) != GL_TRUE)
        return false;
    std::copy(n, n + 3, g_pickRayNear);
    std::copy(f, f + 3, g_pickRayFar);
    g_viewDirX = float(n[0] - f[0]);
    g_viewDirY = float(n[1] - f[1]);
    g_viewDirZ = float(n[2] - f[2]);
    return true;
}
