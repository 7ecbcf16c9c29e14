// CGArc: the tessellation of circles, arcs, discs, sectors, segments and lit tubes, the drawing passes
// of every display style and the pick names.
#include "model/arc.h"
#include "model/cell_draw.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kFullTurnSteps = 62;
constexpr int kTubeRingSteps = 24; // 25 ring positions, the last closing the ring
// More steps than any normalised sweep needs; a damaged record cannot make the drawing run away.
constexpr int kMaxSweepSteps = 1000;

// The steps of a path: a full turn, or the sweep in steps of about 0.1, at least 4.  False when
// the sweep is no number.
bool PathSteps(bool fullTurn, float start, float end, int& steps, double& step) {
    if (fullTurn) {
        steps = kFullTurnSteps;
        step = kTwoPi / kFullTurnSteps;
        return true;
    }
    const double sweep = double(end - start);
    if (!std::isfinite(sweep))
        return false;
    const double count = std::trunc(sweep / 0.1);
    steps = count < 4.0 ? 4 : count > kMaxSweepSteps ? kMaxSweepSteps : int(count);
    step = sweep / steps;
    return true;
}

// (U x V) / |U x V|, or the z axis when U and V span no plane.
void UnitNormal(const float* u, const float* v, double n[3]) {
    n[0] = double(u[1]) * v[2] - double(u[2]) * v[1];
    n[1] = double(u[2]) * v[0] - double(u[0]) * v[2];
    n[2] = double(u[0]) * v[1] - double(u[1]) * v[0];
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0.0 && std::isfinite(length)) {
        for (int i = 0; i < 3; ++i)
            n[i] /= length;
    } else {
        n[0] = n[1] = 0.0;
        n[2] = 1.0;
    }
}

} // namespace

void CGArc::ApplyColor(const CRgba& own) const {
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : own);
}

void CGArc::ApplyLineWidth() const {
    if (m_size != g_lineWidth)
        glLineWidth(m_size);
    if (m_selected)
        glLineWidth(m_size < 8.0f ? m_size + 0.5f : m_size);
}

void CGArc::DrawShape(BYTE mode) const {
    if (mode > kShapeTube)
        return;
    if (mode == kShapeTube) {
        DrawTube();
        return;
    }
    const bool fullTurn = mode == kShapeFullOutline || mode == kShapeDisc;
    int steps;
    double step;
    if (!PathSteps(fullTurn, m_startAngle, m_endAngle, steps, step))
        return;
    const double start = m_startAngle;

    if (mode == kShapeFullOutline || mode == kShapeArcOutline) {
        ApplyLineWidth();
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= steps; ++i) {
            double p[3];
            PointAtAngle(start + i * step, p);
            glVertex3dv(p);
        }
        glEnd();
        glLineWidth(g_lineWidth);
        return;
    }

    // The filled kinds: one normal for the whole area.
    double n[3];
    UnitNormal(m_axisU, m_axisV, n);
    // The texture image is mapped onto the square around the full circle.
    const bool textured = (m_style == kStyleLit || m_style == kStyleTranslucent) && m_param4 > 0;
    glBegin(mode == kShapeSegment ? GL_POLYGON : GL_TRIANGLE_FAN);
    glNormal3dv(n);
    if (mode != kShapeSegment) {
        if (textured)
            glTexCoord2f(0.5f, 0.5f);
        glVertex3fv(m_center);
    }
    for (int i = 0; i <= steps; ++i) {
        const double t = start + i * step;
        if (textured)
            glTexCoord2d((std::cos(t) + 1.0) / 2.0, (std::sin(t) + 1.0) / 2.0);
        double p[3];
        PointAtAngle(t, p);
        glVertex3dv(p);
    }
    glEnd();
}

void CGArc::DrawTube() const {
    const double radius = m_radius;
    if (!(radius > 0.0) || !std::isfinite(radius))
        return; // no ring to lay a tube around
    int steps;
    double step;
    if (!PathSteps(m_kind == kCircle, m_startAngle, m_endAngle, steps, step))
        return;
    const double u[3] = {m_axisU[0], m_axisU[1], m_axisU[2]};
    const double v[3] = {m_axisV[0], m_axisV[1], m_axisV[2]};
    double n[3];
    UnitNormal(m_axisU, m_axisV, n);
    const double r = m_size * 0.06;
    auto ringVertex = [&](double t, double phi) {
        const double ct = std::cos(t) / radius, st = std::sin(t) / radius;
        const double e[3] = {u[0] * ct + v[0] * st, u[1] * ct + v[1] * st, u[2] * ct + v[2] * st};
        const double cp = std::cos(phi), sp = std::sin(phi);
        glNormal3d(cp * e[0] + sp * n[0], cp * e[1] + sp * n[1], cp * e[2] + sp * n[2]);
        glVertex3d(m_center[0] + (radius + r * cp) * e[0] + r * sp * n[0],
                   m_center[1] + (radius + r * cp) * e[1] + r * sp * n[1],
                   m_center[2] + (radius + r * cp) * e[2] + r * sp * n[2]);
    };
    const double start = m_startAngle;
    for (int i = 0; i < steps; ++i) {
        const double t0 = start + i * step;
        const double t1 = start + (i + 1) * step;
        glBegin(GL_QUAD_STRIP);
        for (int k = 1; k <= kTubeRingSteps + 1; ++k) {
            const double phi = k * (std::numbers::pi / 12.0);
            ringVertex(t0, phi);
            ringVertex(t1, phi);
        }
        glEnd();
    }
}

void CGArc::DrawFill() {
    if (!HxIsDrawable(*this) || !IsFilled())
        return;
    if (m_style != kStyleOutline && m_style != kStyleOnTop && m_style != kStyleOnTopDashed &&
        m_style != kStyleVisibleOnly)
        return;
    ApplyColor(m_color);
    DrawShape(m_kind);
}

void CGArc::DrawVisible() {
    if (!HxIsDrawable(*this))
        return;
    if (m_style == kStyleOutline || m_style == kStyleVisibleOnly) {
        ApplyColor(OutlineColor());
        DrawShape(OutlineMode());
    } else if (m_style == kStyleLit || m_style == kStyleTranslucent) {
        DrawCellLabel(*this); // depth-tested beside the lit figure
    }
}

void CGArc::DrawHidden() {
    // The page draws this pass with the depth test reversed and the line stipple on: dashed.
    if (!HxIsDrawable(*this) || m_style != kStyleOutline)
        return;
    ApplyColor(OutlineColor());
    DrawShape(OutlineMode());
}

void CGArc::DrawOnTop() {
    if (!HxIsDrawable(*this))
        return;
    const bool litStyle = m_style == kStyleLit || m_style == kStyleTranslucent;
    if (litStyle && (m_kind == kCircle || m_kind == kArc))
        return;
    if (m_highlighted) {
        HxGlColorInverted(m_color);
        DrawShape(OutlineMode());
    } else if (m_style == kStyleOnTop || m_style == kStyleOnTopDashed) {
        if (m_style == kStyleOnTopDashed)
            glEnable(GL_LINE_STIPPLE);
        ApplyColor(OutlineColor());
        DrawShape(OutlineMode());
        if (m_style == kStyleOnTopDashed)
            glDisable(GL_LINE_STIPPLE);
    }
    DrawCellLabel(*this);
}

void CGArc::DrawShaded(bool allowSelected) const {
    const bool selected = allowSelected && m_selected;
    if (IsFilled()) {
        if (g_useObjectColors)
            HxGlColor(selected ? g_colorSelection : m_color);
        if (m_param4 > 0 && !selected && HxBindTexture(m_param4)) {
            glEnable(GL_TEXTURE_2D);
            DrawShape(m_kind);
            glDisable(GL_TEXTURE_2D);
        } else {
            DrawShape(m_kind);
        }
    } else if (m_kind == kCircle || m_kind == kArc) {
        if (g_useObjectColors) {
            if (selected)
                HxGlColor(g_colorSelection);
            else if (m_highlighted)
                HxGlColorInverted(m_color);
            else
                HxGlColor(m_color);
        }
        DrawShape(kShapeTube);
    }
}

void CGArc::DrawLit() {
    // Translucent circles are drawn lit and opaque while selected.
    if (!HxIsDrawable(*this) || !(m_style == kStyleLit || (m_style == kStyleTranslucent && m_selected)))
        return;
    DrawShaded(true);
}

void CGArc::DrawTranslucent() {
    if (!HxIsDrawable(*this) || m_style != kStyleTranslucent || m_selected)
        return;
    DrawShaded(false);
}

void CGArc::DrawPlain() {
    if (!HxIsDrawable(*this))
        return;
    HxGlColor(OutlineColor());
    DrawShape(OutlineMode());
    if (IsFilled()) {
        HxGlColor(m_color);
        DrawShape(m_kind);
    }
}

void CGArc::DrawForPick(int mode) {
    if (!HxIsDrawable(*this))
        return;
    if (mode > 1) {
        glLoadName(kPickClassCircle);
        glPushName(m_id);
        // Lit, translucent and on-top circles and arcs pick by their tube.
        DrawShape(m_style == kStyleOutline || IsFilled() ? m_kind : kShapeTube);
        glPopName();
    }
    if (mode == 3)
        DrawCellLabelForPick(*this);
}
