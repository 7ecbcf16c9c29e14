// Drawing and picking of the solids of revolution: which shape each pass draws in which colour (one
// table for the four classes), and the shapes themselves: the view's unit display lists placed by one
// translation, rotation and scaling, the silhouettes computed from the viewing direction in the
// solid's own frame, and the frustum's surfaces tessellated per call.
#include "solids/revolution.h"

#include "model/cell_draw.h"
#include "view/view_display_lists.h"
#include "view/view_globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

enum class CRevPass { Depth, Visible, Hidden, Lit, Translucent, Plain };

bool IsOwnColorPass() {
    return g_useObjectColors != 0;
}

// The table every solid of revolution follows.  A selected solid shows only its wire mesh in the
// selection colour (dashed behind surfaces), set whatever the pass's colour rule; its own colour is
// set only while cells colour themselves, except in the plain drawing.
template <class Solid> void RunPass(Solid& solid, CRevPass pass) {
    if (!HxIsDrawable(solid))
        return;
    const BYTE style = solid.m_style;
    const bool selected = solid.m_selected;
    switch (pass) {
    case CRevPass::Depth:
        if (style == kRevStyleOutline || style == kRevStyleWire || selected)
            solid.DrawShape(CRevShape::Depth, false);
        return;
    case CRevPass::Visible:
    case CRevPass::Hidden:
        if (selected) {
            HxGlColor(g_colorSelection);
            solid.DrawShape(CRevShape::Wire, false);
        } else if (style == kRevStyleOutline || (style == kRevStyleWire && pass == CRevPass::Visible)) {
            if (IsOwnColorPass())
                HxGlColor(solid.m_color);
            solid.DrawShape(style == kRevStyleOutline ? CRevShape::Outline : CRevShape::Wire, false);
        }
        return;
    case CRevPass::Lit:
    case CRevPass::Translucent: {
        const BYTE wanted = pass == CRevPass::Lit ? kRevStyleLit : kRevStyleTranslucent;
        if (style != wanted || selected)
            return;
        if (IsOwnColorPass())
            HxGlColor(solid.m_color);
        if (solid.m_param4 >= 1 && HxBindTexture(solid.m_param4)) {
            glEnable(GL_TEXTURE_2D);
            solid.DrawShape(CRevShape::Surface, true);
            glDisable(GL_TEXTURE_2D);
        } else {
            solid.DrawShape(CRevShape::Surface, false);
        }
        return;
    }
    case CRevPass::Plain:
        HxGlColor(solid.m_color);
        solid.DrawShape(CRevShape::Outline, false);
        return;
    }
}

template <class Solid> void RunPick(Solid& solid, int mode) {
    if (mode < 3 || !HxIsDrawable(solid))
        return;
    glLoadName(kPickClassSolid);
    glPushName(solid.m_id);
    solid.DrawShape(solid.m_style == kRevStyleOutline ? CRevShape::Outline : CRevShape::PickSurface, false);
    glPopName();
}

bool HasLists() {
    return g_listBase != 0;
}

void CallList(int offset) {
    glCallList(g_listBase + GLuint(offset));
}

bool AllFinite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// Translates to the base centre, turns z onto the axis and scales the unit frame; false (with nothing
// pushed) when a field is no number.
bool PlaceFrame(const CRevFrame& f, float sx, float sy, float sz) {
    if (!AllFinite(
            {f.m_center[0], f.m_center[1], f.m_center[2], f.m_axis[0], f.m_axis[1], f.m_axis[2], sx, sy, sz}))
        return false;
    glPushMatrix();
    glTranslatef(f.m_center[0], f.m_center[1], f.m_center[2]);
    HxOrientAlongAxis(f.m_axis);
    glScalef(sx, sy, sz);
    return true;
}

void DrawSegments(const std::vector<CRevSegment>& segments) {
    if (segments.empty())
        return;
    glBegin(GL_LINES);
    for (const CRevSegment& s : segments) {
        glVertex3dv(s.top);
        glVertex3dv(s.base);
    }
    glEnd();
}

// The two generators of the unit cylinder where its side turns away from the viewer; the normalised
// direction across the axis is left in the view-direction globals.
void DrawCylinderSilhouette() {
    HxViewDirectionHere();
    double dx = g_viewDirX, dy = g_viewDirY;
    double n = std::sqrt(dx * dx + dy * dy);
    if (n == 0.0)
        n = 1.0;
    const double u = dx / n, v = dy / n;
    g_viewDirX = float(u);
    g_viewDirY = float(v);
    glBegin(GL_LINES);
    glVertex3d(v, -u, 1.0);
    glVertex3d(v, -u, 0.0);
    glVertex3d(-v, u, 1.0);
    glVertex3d(-v, u, 0.0);
    glEnd();
}

void DrawTaperedSilhouette(double k) {
    HxViewDirectionHere();
    DrawSegments(HxTaperedSilhouette(k, g_viewDirX, g_viewDirY, g_viewDirZ));
}

} // namespace

// ---- Shared geometry ----

void HxOrientAlongAxis(const float axis[3]) {
    const float ax = axis[0], ay = axis[1], az = axis[2];
    if (ax == 0.0f && ay == 0.0f) {
        if (az < 0.0f)
            glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
        return;
    }
    const double length = std::sqrt(double(ax) * ax + double(ay) * ay + double(az) * az);
    double c = az / length;
    c = c < -1.0 ? -1.0 : (c > 1.0 ? 1.0 : c);
    float angle = float(std::acos(c) * 180.0 / 3.1415927);
    if (!std::isfinite(angle))
        angle = 0.0f;
    glRotatef(angle, -ay, ax, 0.0f);
}

void HxViewDirectionHere() {
    double modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    ComputeViewDirection(modelview);
}

std::vector<CRevSegment> HxTaperedSilhouette(double k, double dx, double dy, double dz) {
    std::vector<CRevSegment> out;
    auto add = [&](double tx, double ty) { out.push_back({{k * tx, k * ty, 1.0}, {tx, ty, 0.0}}); };
    const double m = (1.0 - k) * dz;
    const double across = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(m) || !std::isfinite(across))
        return out;
    if (std::fabs(m) < 1e-12 * std::max(1.0, across)) {
        // Seen square to the axis: the generators touch the base circle across the line of sight.
        if (across > 0.0) {
            add(-dy / across, dx / across);
            add(dy / across, -dx / across);
        }
        return out;
    }
    // The apex of the completed cone projected along the line of sight onto the base plane, and the
    // points where the tangents from it touch the base circle.
    const double px = -dx / m, py = -dy / m;
    const double s = px * px + py * py;
    if (!(s > 1.0))
        return out;
    const double q = std::sqrt(s - 1.0);
    add((px + q * py) / s, (py - q * px) / s);
    add((px - q * py) / s, (py + q * px) / s);
    return out;
}

// ---- Sphere ----

void CGSphere::DrawShape(CRevShape shape, bool) {
    if (!HasLists() ||
        !AllFinite({m_center[0], m_center[1], m_center[2], m_radius, m_axis[0], m_axis[1], m_axis[2]}))
        return;
    glPushMatrix();
    glTranslatef(m_center[0], m_center[1], m_center[2]);
    switch (shape) {
    case CRevShape::Outline: {
        // The unit circle turned square to the line of sight is the silhouette.
        HxViewDirectionHere();
        const double dx = g_viewDirX, dy = g_viewDirY, dz = g_viewDirZ;
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (length > 0.0 && (dx != 0.0 || dy != 0.0))
            glRotatef(float(std::acos(std::clamp(dz / length, -1.0, 1.0)) * 180.0 / 3.1415927), float(-dy),
                      float(dx), 0.0f);
        glScalef(m_radius, m_radius, m_radius);
        CallList(HX_LIST_CIRCLE);
        break;
    }
    case CRevShape::Wire:
        HxOrientAlongAxis(m_axis);
        glScalef(m_radius, m_radius, m_radius);
        CallList(HX_LIST_WIRE_SPHERE);
        break;
    case CRevShape::Surface:
    case CRevShape::PickSurface:
        HxOrientAlongAxis(m_axis);
        glScalef(m_radius, m_radius, m_radius);
        CallList(HX_LIST_SPHERE);
        break;
    case CRevShape::Depth: {
        const float r = 0.99f * m_radius;
        glScalef(r, r, r);
        CallList(HX_LIST_SPHERE);
        break;
    }
    }
    glPopMatrix();
}

void CGSphere::DrawDepth() {
    RunPass(*this, CRevPass::Depth);
}
void CGSphere::DrawVisible() {
    RunPass(*this, CRevPass::Visible);
}
void CGSphere::DrawHidden() {
    RunPass(*this, CRevPass::Hidden);
}
void CGSphere::DrawLit() {
    RunPass(*this, CRevPass::Lit);
}
void CGSphere::DrawTranslucent() {
    RunPass(*this, CRevPass::Translucent);
}
void CGSphere::DrawPlain() {
    RunPass(*this, CRevPass::Plain);
}
void CGSphere::DrawForPick(int mode) {
    RunPick(*this, mode);
}

// ---- Cylinder ----

void CGCylinder::DrawShape(CRevShape shape, bool) {
    const bool depth = shape == CRevShape::Depth;
    if ((shape != CRevShape::Outline && !HasLists()) ||
        !PlaceFrame(*this, depth ? 0.99f * m_radius : m_radius, depth ? 0.99f * m_radius : m_radius,
                    m_height))
        return;
    switch (shape) {
    case CRevShape::Outline:
        DrawCylinderSilhouette();
        break;
    case CRevShape::Wire:
        CallList(HX_LIST_WIRE_CYLINDER);
        break;
    case CRevShape::Surface:
    case CRevShape::PickSurface:
        CallList(HX_LIST_CYLINDER);
        break;
    case CRevShape::Depth:
        CallList(HX_LIST_DISK);
        CallList(HX_LIST_CYLINDER);
        glTranslatef(0.0f, 0.0f, 1.0f);
        CallList(HX_LIST_DISK);
        break;
    }
    glPopMatrix();
}

void CGCylinder::DrawDepth() {
    RunPass(*this, CRevPass::Depth);
}
void CGCylinder::DrawVisible() {
    RunPass(*this, CRevPass::Visible);
}
void CGCylinder::DrawHidden() {
    RunPass(*this, CRevPass::Hidden);
}
void CGCylinder::DrawLit() {
    RunPass(*this, CRevPass::Lit);
}
void CGCylinder::DrawTranslucent() {
    RunPass(*this, CRevPass::Translucent);
}
void CGCylinder::DrawPlain() {
    RunPass(*this, CRevPass::Plain);
}
void CGCylinder::DrawForPick(int mode) {
    RunPick(*this, mode);
}

// ---- Cone ----

void CGCone::DrawShape(CRevShape shape, bool) {
    const bool depth = shape == CRevShape::Depth;
    if ((shape != CRevShape::Outline && !HasLists()) ||
        !PlaceFrame(*this, depth ? 0.99f * m_radius : m_radius, depth ? 0.99f * m_radius : m_radius,
                    m_height))
        return;
    switch (shape) {
    case CRevShape::Outline:
        DrawTaperedSilhouette(0.0);
        break;
    case CRevShape::Wire:
        CallList(HX_LIST_WIRE_CONE);
        break;
    case CRevShape::Surface:
    case CRevShape::PickSurface:
        CallList(HX_LIST_CONE);
        break;
    case CRevShape::Depth:
        CallList(HX_LIST_DISK);
        CallList(HX_LIST_CONE);
        break;
    }
    glPopMatrix();
}

void CGCone::DrawDepth() {
    RunPass(*this, CRevPass::Depth);
}
void CGCone::DrawVisible() {
    RunPass(*this, CRevPass::Visible);
}
void CGCone::DrawHidden() {
    RunPass(*this, CRevPass::Hidden);
}
void CGCone::DrawLit() {
    RunPass(*this, CRevPass::Lit);
}
void CGCone::DrawTranslucent() {
    RunPass(*this, CRevPass::Translucent);
}
void CGCone::DrawPlain() {
    RunPass(*this, CRevPass::Plain);
}
void CGCone::DrawForPick(int mode) {
    RunPick(*this, mode);
}

// ---- Frustum ----

void CGFrustum::DrawShape(CRevShape shape, bool textured) {
    if (shape == CRevShape::Outline) {
        if (m_topRatio == 1.0f)
            m_topRatio = 0.999f;
        else if (m_topRatio == 0.0f)
            m_topRatio = 0.0001f;
    }
    const float k = m_topRatio;
    const bool depth = shape == CRevShape::Depth;
    const float shrink = depth ? 0.999f : 1.0f;
    if (!std::isfinite(k) || (depth && !HasLists()) ||
        !PlaceFrame(*this, shrink * m_radius, shrink * m_radius, shrink * m_height))
        return;
    if (shape == CRevShape::Outline) {
        DrawTaperedSilhouette(k);
        glPopMatrix();
        return;
    }
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) {
        glPopMatrix();
        return;
    }
    switch (shape) {
    case CRevShape::Wire:
        gluQuadricDrawStyle(quadric, GLU_LINE);
        gluCylinder(quadric, 1.0, k, 1.0, 24, 10);
        break;
    case CRevShape::Surface:
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluQuadricTexture(quadric, textured ? GL_TRUE : GL_FALSE);
        gluCylinder(quadric, 1.0, k, 1.0, 48, 12);
        break;
    case CRevShape::Depth:
        CallList(HX_LIST_DISK);
        [[fallthrough]];
    case CRevShape::PickSurface:
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluCylinder(quadric, 1.0, k, 1.0, 24, 5);
        if (depth) {
            glTranslatef(0.0f, 0.0f, 1.0f);
            glScalef(k, k, 1.0f);
            CallList(HX_LIST_DISK);
        }
        break;
    case CRevShape::Outline:
        break;
    }
    gluDeleteQuadric(quadric);
    glPopMatrix();
}

void CGFrustum::DrawDepth() {
    RunPass(*this, CRevPass::Depth);
}
void CGFrustum::DrawVisible() {
    RunPass(*this, CRevPass::Visible);
}
void CGFrustum::DrawHidden() {
    RunPass(*this, CRevPass::Hidden);
}
void CGFrustum::DrawLit() {
    RunPass(*this, CRevPass::Lit);
}
void CGFrustum::DrawTranslucent() {
    RunPass(*this, CRevPass::Translucent);
}
void CGFrustum::DrawPlain() {
    RunPass(*this, CRevPass::Plain);
}
void CGFrustum::DrawForPick(int mode) {
    RunPick(*this, mode);
}
