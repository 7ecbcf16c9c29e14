// Unprojection of the mouse position onto planes and vertical lines.
#include "view/unprojection.h"

#include "model/geometry.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

double HxRoundToGrid(double v) {
    const double r = g_snapToGrid ? std::floor(v + 0.5) : std::floor(10.0 * v + 0.5) / 10.0;
    return std::clamp(r, -200.0, 200.0);
}

void HxUnprojectToPlane(int x, int y, BOOL vertical, double* pX, double* pY, double* pZ) {
    ComputePickRay(x, y);
    const double* n = g_pickRayNear;
    const double* f = g_pickRayFar;
    const float d[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    if (!vertical) {
        if (std::fabs(d[2]) > 10.0f) {
            const double t = -f[2] / d[2];
            *pX = HxRoundToGrid(f[0] + t * d[0]);
            *pY = HxRoundToGrid(f[1] + t * d[1]);
            *pZ = 0.0;
        } else if (std::fabs(d[1]) > 10.0f) {
            const double t = -f[1] / d[1];
            *pX = HxRoundToGrid(f[0] + t * d[0]);
            *pZ = HxRoundToGrid(f[2] + t * d[2]);
            *pY = 0.0;
        } else {
            const double t = -f[0] / d[0];
            *pY = HxRoundToGrid(f[1] + t * d[1]);
            *pZ = HxRoundToGrid(f[2] + t * d[2]);
            *pX = 0.0;
        }
        return;
    }
    const double px = *pX, py = *pY;
    const float r[3] = {float(f[0] - n[0]), float(f[1] - n[1]), float(f[2] - n[2])};
    const float den = r[0] * r[0] + r[1] * r[1];
    if (std::fabs(den) < 1e-5f)
        return;
    const float z = float(n[2] - r[2] * ((n[0] - px) * r[0] + (n[1] - py) * r[1]) / den);
    if (std::fabs(z) >= 200.0f)
        return;
    *pZ = HxRoundToGrid(z);
}

BOOL HxDragOnPlane(const double planePoints[3][3], int x, int y, double* pX, double* pY, double* pZ,
                   float* pS, float* pT) {
    float p[3][3];
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            p[i][k] = float(planePoints[i][k]);
    ComputePickRay(x, y);
    *pX = *pY = *pZ = 0.0;
    *pS = *pT = 0.0f;
    const double* near = g_pickRayNear;
    const double* far = g_pickRayFar;
    double a[3], b[3], r[3];
    for (int k = 0; k < 3; ++k) {
        a[k] = double(p[0][k]) - p[1][k];
        b[k] = double(p[2][k]) - p[1][k];
        r[k] = far[k] - near[k];
    }
    const double normal[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                              a[0] * b[1] - a[1] * b[0]};
    const double den = r[0] * normal[0] + r[1] * normal[1] + r[2] * normal[2];
    if (std::fabs(den) < 1e-5)
        return FALSE;
    double toNear = 0.0;
    for (int k = 0; k < 3; ++k)
        toNear += (near[k] - p[1][k]) * normal[k];
    const double lambda = -toNear / den;
    *pX = float(near[0] + lambda * r[0]);
    *pY = float(near[1] + lambda * r[1]);
    *pZ = float(near[2] + lambda * r[2]);
    const double gx = HxRoundToGrid(*pX), gy = HxRoundToGrid(*pY);
    const double den2 = 2.0 * normal[2];
    if (std::fabs(den2) < 1e-5)
        return FALSE;
    const double below[3] = {gx - p[1][0], gy - p[1][1], -1.0 - p[1][2]};
    const double mu = -(below[0] * normal[0] + below[1] * normal[1] + below[2] * normal[2]) / den2;
    const float q[3] = {float(gx), float(gy), float(2.0 * mu - 1.0)};
    float s = 0.0f, t = 0.0f;
    if (!PlaneCoordinatesF(p[0], p[1], p[2], q, &s, &t))
        return FALSE;
    *pX = q[0];
    *pY = q[1];
    *pZ = q[2];
    *pS = s;
    *pT = t;
    return TRUE;
}
