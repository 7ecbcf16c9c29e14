// Mouse rays and point checks shared by the model tests.
#pragma once

#include "model/cell.h"

#include <gtest/gtest.h>

#include <vector>

// The mouse ray from a near point to a far one.
inline void SetPickRay(double nx, double ny, double nz, double fx, double fy, double fz) {
    g_pickRayNear[0] = nx;
    g_pickRayNear[1] = ny;
    g_pickRayNear[2] = nz;
    g_pickRayFar[0] = fx;
    g_pickRayFar[1] = fy;
    g_pickRayFar[2] = fz;
}

// A mouse ray straight down the z axis through (x, y).
inline void RayThrough(double x, double y) {
    g_pickRayNear[0] = g_pickRayFar[0] = x;
    g_pickRayNear[1] = g_pickRayFar[1] = y;
    g_pickRayNear[2] = 10.0;
    g_pickRayFar[2] = -10.0;
}

// A mouse ray along x in the plane z = 0: edge-on to every figure lying in that plane.
inline void RayInPlaneZ0() {
    g_pickRayNear[0] = -5;
    g_pickRayFar[0] = 5;
    g_pickRayNear[1] = g_pickRayFar[1] = 1;
    g_pickRayNear[2] = g_pickRayFar[2] = 0;
}

inline void ExpectNear3(double x, double y, double z, const float* p, double tolerance = 1e-5) {
    EXPECT_NEAR(p[0], x, tolerance);
    EXPECT_NEAR(p[1], y, tolerance);
    EXPECT_NEAR(p[2], z, tolerance);
}

// The ids of a list or array, in its order.
template <class C> std::vector<WORD> Ids(const C& ids) {
    std::vector<WORD> out;
    for (WORD id : ids)
        out.push_back(id);
    return out;
}

// The cause of the archive exception a call throws, -1 when it throws none.
template <class F> int ArchiveCause(F&& f) {
    try {
        f();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}
