// What the curve and the locus share: the distance of a point from the mouse ray, the fine search
// around the nearest sample, the label anchor at the end of the path and the polyline drawing.
#pragma once

#include "model/cell.h"

#include <cmath>

// The mouse ray as the view left it: from A (near) to B (far).
struct CHxPickRay {
    double a[3];
    double w[3]; // B - A
    double ww;   // |w|^2

    static CHxPickRay Current();
    // The distance of a point from the ray's line: sqrt(|u|^2 - (u.w)^2 / |w|^2) with u = P - A, or
    // |u| when the ray has (almost) no length.  NaN for a point that is no number.
    double Distance(double x, double y, double z) const {
        const double u[3] = {x - a[0], y - a[1], z - a[2]};
        double d2 = u[0] * u[0] + u[1] * u[1] + u[2] * u[2];
        if (ww > 1e-5) {
            const double uw = u[0] * w[0] + u[1] * w[1] + u[2] * w[2];
            d2 -= uw * uw / ww;
        }
        return std::sqrt(d2 > 0.0 ? d2 : (d2 == d2 ? 0.0 : d2));
    }
};

// The fine search of a nearest parameter: probe(t) for t from the low end of the window
// [t* - |dt|, t* + |dt|] (clipped to the range between ends a and b) while below its high end, in
// steps of |dt| / 100.  Counted, so that a step too small to move t (or none) cannot run forever.
template <class Probe> void HxFineSearch(double tStar, double dt, double a, double b, Probe&& probe) {
    const double step = std::fabs(dt) / 100.0;
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(tStar))
        return;
    double low = tStar - std::fabs(dt), high = tStar + std::fabs(dt);
    const double lower = a < b ? a : b, upper = a < b ? b : a;
    if (low < lower)
        low = lower;
    if (high > upper)
        high = upper;
    for (int k = 0; k <= 200; ++k) {
        const double t = low + double(k) * step;
        if (!(t < high))
            break;
        probe(t);
    }
}

// The label of a path sits at its last point.
template <class T> void HxSetPathLabelAnchor(CGCell& cell, const T* last) {
    for (int i = 0; i < 3; ++i)
        cell.m_labelPos[i] = float(last[i]);
}

// The polyline through the samples (three values each): a sample that is no number, or (for a locus)
// above 1e30 in x, is skipped; a sample at least the break distance from the one before it (as
// stored, even when that one was skipped) starts a new strip.  The line width is the cell's size
// while drawing.
void HxDrawPathSamples(const CGCell& cell, const float* samples, int count);
void HxDrawPathSamples(const CGCell& cell, const double* samples, int count);

// The passes of a path by its draw level (the style byte), valid and shown cells only:
// visible: levels 2 and 3 solid; hidden (the page's dashed pass): level 3; on top: level 0 solid,
// level 1 dashed, and a selected path in the selection colour whatever its level, then the name.
// Curves leave a selected path to the on-top pass; loci draw it in every pass.
enum class HxPathPass { Visible, Hidden, OnTop, Plain, Pick };
template <class T>
void HxDrawPathPass(CGCell& cell, HxPathPass pass, const T* samples, int count, bool selectedOnTopOnly,
                    int pickMode = 0);
