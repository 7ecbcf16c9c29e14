// The drawing of curves and loci: the polyline with its gaps, the passes of the four draw levels, the
// selection, the name at the end of the path and the pick names; the mouse ray they measure against.
#include "dynamics/curves.h"
#include "dynamics/curves_shared.h"

#include "model/cell_draw.h"
#include "view/view_globals.h"

#include <GL/gl.h>

CHxPickRay CHxPickRay::Current() {
    CHxPickRay ray;
    for (int i = 0; i < 3; ++i) {
        ray.a[i] = g_pickRayNear[i];
        ray.w[i] = g_pickRayFar[i] - g_pickRayNear[i];
    }
    ray.ww = ray.w[0] * ray.w[0] + ray.w[1] * ray.w[1] + ray.w[2] * ray.w[2];
    return ray;
}

namespace {

template <class T> bool Skipped(const T* s) {
    // A locus marks where its point does not exist with 3e38; a curve can meet values that are no
    // numbers (1/t at 0): neither is drawn.
    return !(std::isfinite(s[0]) && std::isfinite(s[1]) && std::isfinite(s[2])) || s[0] > T(1e30);
}

template <class T> void DrawSamples(const CGCell& cell, const T* samples, int count) {
    if (!samples || count <= 0)
        return;
    if (cell.m_size != g_lineWidth)
        glLineWidth(cell.m_size);
    const double limit = cell.m_param3 > 1e-6f ? double(cell.m_param3) : 4.0;
    const double limit2 = limit * limit;
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < count; ++i) {
        const T* s = samples + 3 * i;
        if (Skipped(s))
            continue;
        if (i > 0) {
            const T* p = s - 3;
            const double dx = double(s[0]) - double(p[0]);
            const double dy = double(s[1]) - double(p[1]);
            const double dz = double(s[2]) - double(p[2]);
            // Compared as "not below", so that a step that is no number breaks the line too.
            if (!(dx * dx + dy * dy + dz * dz < limit2)) {
                glEnd();
                glBegin(GL_LINE_STRIP);
            }
        }
        glVertex3d(double(s[0]), double(s[1]), double(s[2]));
    }
    glEnd();
    if (cell.m_size != g_lineWidth)
        glLineWidth(g_lineWidth);
}

void OwnColor(const CGCell& cell) {
    if (g_useObjectColors)
        HxGlColor(cell.m_color);
}

} // namespace

void HxDrawPathSamples(const CGCell& cell, const float* samples, int count) {
    DrawSamples(cell, samples, count);
}

void HxDrawPathSamples(const CGCell& cell, const double* samples, int count) {
    DrawSamples(cell, samples, count);
}

template <class T>
void HxDrawPathPass(CGCell& cell, HxPathPass pass, const T* samples, int count, bool selectedOnTopOnly,
                    int pickMode) {
    if (!HxIsDrawable(cell))
        return;
    const BYTE level = cell.m_style;
    switch (pass) {
    case HxPathPass::Visible:
    case HxPathPass::Hidden: {
        const bool drawn = pass == HxPathPass::Visible ? (level == kCurveVisibleOnly || level == kCurveAuto)
                                                       : level == kCurveAuto;
        if (!drawn || (selectedOnTopOnly && cell.m_selected))
            return;
        OwnColor(cell);
        DrawSamples(cell, samples, count);
        return;
    }
    case HxPathPass::OnTop:
        if (cell.m_selected) {
            if (g_useObjectColors)
                HxGlColor(g_colorSelection);
            DrawSamples(cell, samples, count);
        } else if (level == kCurveOnTop || level == kCurveOnTopDashed) {
            OwnColor(cell);
            if (level == kCurveOnTopDashed)
                glEnable(GL_LINE_STIPPLE);
            DrawSamples(cell, samples, count);
            if (level == kCurveOnTopDashed)
                glDisable(GL_LINE_STIPPLE);
        }
        if (count > 0)
            DrawCellLabel(cell);
        return;
    case HxPathPass::Plain:
        HxGlColor(cell.m_color);
        DrawSamples(cell, samples, count);
        return;
    case HxPathPass::Pick:
        if (pickMode < 3)
            return;
        glLoadName(kPickClassCircle);
        glPushName(cell.m_id);
        DrawSamples(cell, samples, count);
        glPopName();
        return;
    }
}

template void HxDrawPathPass<float>(CGCell&, HxPathPass, const float*, int, bool, int);
template void HxDrawPathPass<double>(CGCell&, HxPathPass, const double*, int, bool, int);

// ---------------------------------------------------------------------------------------------
// The curve

void CGCurve::DrawVisible() {
    HxDrawPathPass(*this, HxPathPass::Visible, m_samples.data(), m_sampleCount, true);
}

void CGCurve::DrawHidden() {
    HxDrawPathPass(*this, HxPathPass::Hidden, m_samples.data(), m_sampleCount, true);
}

void CGCurve::DrawOnTop() {
    HxDrawPathPass(*this, HxPathPass::OnTop, m_samples.data(), m_sampleCount, true);
}

void CGCurve::DrawPlain() {
    HxDrawPathPass(*this, HxPathPass::Plain, m_samples.data(), m_sampleCount, true);
}

void CGCurve::DrawForPick(int mode) {
    HxDrawPathPass(*this, HxPathPass::Pick, m_samples.data(), m_sampleCount, true, mode);
}

// ---------------------------------------------------------------------------------------------
// The locus

void CGLocus::DrawVisible() {
    HxDrawPathPass(*this, HxPathPass::Visible, m_samples.data(), m_sampleCount, false);
}

void CGLocus::DrawHidden() {
    HxDrawPathPass(*this, HxPathPass::Hidden, m_samples.data(), m_sampleCount, false);
}

void CGLocus::DrawOnTop() {
    HxDrawPathPass(*this, HxPathPass::OnTop, m_samples.data(), m_sampleCount, false);
}

void CGLocus::DrawPlain() {
    HxDrawPathPass(*this, HxPathPass::Plain, m_samples.data(), m_sampleCount, false);
}

void CGLocus::DrawForPick(int mode) {
    HxDrawPathPass(*this, HxPathPass::Pick, m_samples.data(), m_sampleCount, false, mode);
}
