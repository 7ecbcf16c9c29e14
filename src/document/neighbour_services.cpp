// Stand-ins for the services of the view and the shell declared in neighbour_services.h, weak so
// that the view's camera code and the shell's settings file replace them when they are linked.
#include "document/neighbour_services.h"

#include "document/doc_globals.h"
#include "model/model_globals.h"
#include "view/view_globals.h"

#include <QOpenGLContext>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#define HX_WEAK __attribute__((weak))

int g_traceImageStale = 1;
int g_coordSystemFlags = 0;

namespace {

constexpr double kHalfDegreeToRadian = 0.008726646259971648; // pi / 360

void Multiply(const double* a, const double* b, double* out) {
    double w = a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3];
    double x = a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2];
    double y = a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1];
    double z = a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0];
    out[0] = std::clamp(w, -1.0, 1.0);
    out[1] = x;
    out[2] = y;
    out[3] = z;
}

// A turn about one axis (0 x, 1 y, 2 z) by an angle in degrees.
void AxisQuaternion(double* q, int axis, double angle) {
    double h = angle * kHalfDegreeToRadian;
    q[0] = std::cos(h);
    q[1] = q[2] = q[3] = 0.0;
    q[1 + axis] = std::sin(h);
}

void Ortho(double* m, double l, double r, double b, double t, double n, double f) {
    std::fill(m, m + 16, 0.0);
    m[0] = 2.0 / (r - l);
    m[5] = 2.0 / (t - b);
    m[10] = -2.0 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    m[15] = 1.0;
}

constexpr double kObliqueOffset = 17.67766952966369; // 50 cos 45 / 2
constexpr double kObliqueShear = -0.35355339059327373;

} // namespace

HX_WEAK bool HxHasCurrentGlContext() {
    return QOpenGLContext::currentContext() != nullptr;
}

HX_WEAK double* EulerToQuaternion(double* out, double a, double b, double c) {
    double qx[4], qy[4], qz[4], t[4];
    AxisQuaternion(qx, 0, a);
    AxisQuaternion(qy, 1, b);
    AxisQuaternion(qz, 2, c);
    Multiply(qx, qy, t);
    Multiply(t, qz, out);
    return out;
}

HX_WEAK void SetViewRotation(double a, double b) {
    double qx[4], qz[4];
    AxisQuaternion(qx, 0, a);
    AxisQuaternion(qz, 2, b);
    Multiply(qx, qz, g_viewRotation);
}

HX_WEAK bool ComputeProjectionMatrix(int type, double* m) {
    const double w = g_clientWidth * 0.5 * g_unitLength;
    const double h = g_clientHeight * 0.5 * g_unitLength;
    if (w <= 0.0 || h <= 0.0)
        return false;
    switch (type) {
    case 0: {
        const double l = -0.4 * w, r = 0.4 * w, b = -0.4 * h, t = 0.4 * h, n = 20.0, f = 200.0;
        std::fill(m, m + 16, 0.0);
        m[0] = 2.0 * n / (r - l);
        m[5] = 2.0 * n / (t - b);
        m[8] = (r + l) / (r - l);
        m[9] = (t + b) / (t - b);
        m[10] = -(f + n) / (f - n);
        m[11] = -1.0;
        m[14] = -2.0 * f * n / (f - n);
        return true;
    }
    case 1:
        Ortho(m, -w, w, -h, h, -64.0, 200.0);
        return true;
    case 2: {
        const double k = kObliqueOffset;
        Ortho(m, k - w, k + w, k - h, k + h, -20.0, 200.0);
        // Right-multiplied by the shear that adds kObliqueShear * z to x and y.
        m[8] = m[0] * kObliqueShear;
        m[9] = m[5] * kObliqueShear;
        return true;
    }
    default:
        return false;
    }
}

HX_WEAK void SetProjection(int type) {
    double m[16];
    if (ComputeProjectionMatrix(type, m))
        glMultMatrixd(m);
}

HX_WEAK void LoadSaveSettings(int store) {
    if (store == 0)
        HxResetDocumentSettings();
}
