// CGLine: the drawing passes (visible, hidden and dashed, on top, lit tube, plain), the vector's
// arrow head and the pick names.
#include "model/cell_draw.h"
#include "model/line.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// A far vertex of a ray: p + d / w, given as the homogeneous vertex (p w + d, w) so that it lies
// on the ray whatever the size of d, and OpenGL clips the line at the edge of the view.
constexpr float kFarW = 0.0001f;

void FarVertex(const float* p, float dx, float dy, float dz) {
    glVertex4f(p[0] * kFarW + dx, p[1] * kFarW + dy, p[2] * kFarW + dz, kFarW);
}

} // namespace

void CGLine::ApplyLineWidth() const {
    if (m_size != g_lineWidth)
        glLineWidth(m_size);
}

// Every pass starts and ends at the view's width: a line of that width leaves it alone.
void CGLine::RestoreLineWidth() const {
    if (m_size != g_lineWidth)
        glLineWidth(g_lineWidth);
}

void CGLine::ApplyColor() const {
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
}

void CGLine::DrawGeometry() const {
    const float* a = HxVertexSlot(m_vertexIndex[0]);
    const float* b = HxVertexSlot(m_vertexIndex[1]);
    if (!a || !b)
        return;
    if (IsBounded()) {
        // Element by element, as faces draw (a glDrawElements call copies the whole index range).
        glBegin(GL_LINES);
        glArrayElement(GLint(m_vertexIndex[0]));
        glArrayElement(GLint(m_vertexIndex[1]));
        glEnd();
        return;
    }
    const float dx = b[0] - a[0], dy = b[1] - a[1], dz = b[2] - a[2];
    if (dx * dx + dy * dy + dz * dz < 1e-8f)
        return;
    glBegin(GL_LINES);
    glVertex4f(a[0], a[1], a[2], 1.0f);
    FarVertex(a, dx, dy, dz);
    if (m_kind == kLine) {
        glVertex4f(a[0], a[1], a[2], 1.0f);
        FarVertex(a, -dx, -dy, -dz);
    }
    glEnd();
}

void CGLine::DrawArrowHead() const {
    const float* a = HxVertexSlot(m_vertexIndex[0]);
    const float* b = HxVertexSlot(m_vertexIndex[1]);
    if (!a || !b)
        return;
    const double d[3] = {double(b[0] - a[0]), double(b[1] - a[1]), double(b[2] - a[2])};
    // Constant size on the screen.  The squared length is compared with s itself, not with s².
    const double s = 20.0 * g_unitLength / g_viewZoom;
    const double length2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    if (length2 < s)
        return;
    const double length = std::sqrt(length2);
    const double n[3] = {d[0] / length, d[1] / length, d[2] / length};
    // The eye's z axis in world coordinates: the head spreads square to the shaft and to the line
    // of sight, so that it is seen at its full width.
    const double v[3] = {g_modelviewMatrix[2], g_modelviewMatrix[6], g_modelviewMatrix[10]};
    double w[3] = {n[1] * v[2] - n[2] * v[1], n[2] * v[0] - n[0] * v[2], n[0] * v[1] - n[1] * v[0]};
    const double w2 = w[0] * w[0] + w[1] * w[1] + w[2] * w[2];
    if (w2 < 0.00001)
        return; // the vector points at the viewer
    const double wl = std::sqrt(w2);
    for (double& c : w)
        c /= wl;
    double corners[4][3];
    for (int i = 0; i < 3; ++i) {
        corners[0][i] = b[i];
        corners[1][i] = b[i] + (0.35 * w[i] - 1.15 * n[i]) * s;
        corners[2][i] = b[i] - 0.95 * n[i] * s;
        corners[3][i] = b[i] - (1.15 * n[i] + 0.35 * w[i]) * s;
    }
    glBegin(GL_POLYGON);
    for (const auto& c : corners)
        glVertex3dv(c);
    glEnd();
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    for (const auto& c : corners)
        glVertex3dv(c);
    glEnd();
    glLineWidth(g_lineWidth);
}

void CGLine::DrawVisible() {
    if (!HxIsDrawable(*this) || m_style > 1)
        return;
    ApplyLineWidth();
    ApplyColor();
    DrawGeometry();
    RestoreLineWidth();
    if (IsVector() && m_style == 1)
        DrawArrowHead();
}

void CGLine::DrawHidden() {
    if (!HxIsDrawable(*this) || m_style != 0)
        return;
    ApplyLineWidth();
    ApplyColor();
    DrawGeometry();
    RestoreLineWidth();
}

void CGLine::DrawOnTop() {
    if (!HxIsDrawable(*this))
        return;
    ApplyLineWidth();
    const bool highlightedLook = m_highlighted && m_style != 4;
    const bool dashed = m_style == 3 && !highlightedLook;
    // The look of step 2 and of the arrow head: a highlight shows whatever the pass's colour rule.
    auto applyTopColor = [&] {
        if (highlightedLook)
            HxGlColorInverted(m_color);
        else
            ApplyColor();
    };
    if (highlightedLook || m_style == 2 || m_style == 3) {
        applyTopColor();
        if (dashed)
            glEnable(GL_LINE_STIPPLE);
        DrawGeometry();
    }
    RestoreLineWidth();
    if (m_style == 3)
        glDisable(GL_LINE_STIPPLE);
    if (IsVector() && m_style != 1 && m_style != 4) {
        applyTopColor();
        DrawArrowHead();
    }
    DrawCellLabel(*this);
}

void CGLine::DrawLit() {
    if (!HxIsDrawable(*this) || m_style != 4 || g_listBase == 0)
        return;
    const float* a = HxVertexSlot(m_vertexIndex[0]);
    const float* b = HxVertexSlot(m_vertexIndex[1]);
    if (!a || !b)
        return;
    const float d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 1e-6f))
        return; // no direction to lay a tube along
    if (g_useObjectColors) {
        if (m_highlighted)
            HxGlColorInverted(m_color);
        else
            HxGlColor(m_selected ? g_colorSelection : m_color);
    }
    float start[3] = {a[0], a[1], a[2]};
    float height = length;
    if (m_kind == kRay) {
        height = length < 20.0f ? 60.0f : 3.0f * length;
    } else if (m_kind == kLine) {
        if (length < 20.0f) {
            // A tube of length 60 centred on the midpoint.
            const float f = 0.5f - 30.0f / length;
            for (int i = 0; i < 3; ++i)
                start[i] = a[i] + f * d[i];
            height = 60.0f;
        } else {
            for (int i = 0; i < 3; ++i)
                start[i] = a[i] - d[i];
            height = 3.0f * length;
        }
    }
    glPushMatrix();
    glTranslatef(start[0], start[1], start[2]);
    // Turn the local z axis onto d.
    if (std::fabs(d[0]) < 1.1920929e-07f && std::fabs(d[1]) < 1.1920929e-07f) {
        if (d[2] < 0.0f)
            glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
    } else {
        glRotatef(std::acos(d[2] / length) * 57.29578f, -d[1], d[0], 0.0f);
    }
    const float r = m_size * 0.06f;
    if (IsVector() && length > 2.0f) {
        // A shaft up to L - 1.8 and a cone of height 2 and radius 2.6 r up to the tip, closed by a disk.
        glScalef(r, r, length - 1.8f);
        glCallList(g_listBase + 12);
        glScalef(2.6f, 2.6f, 2.0f / (length - 1.8f));
        glTranslatef(0.0f, 0.0f, length * 0.5f - 1.0f);
        glCallList(g_listBase + 13);
        glCallList(g_listBase + 10);
    } else {
        glScalef(r, r, height);
        glCallList(g_listBase + 12);
    }
    glPopMatrix();
}

void CGLine::DrawPlain() {
    if (!HxIsDrawable(*this))
        return;
    ApplyLineWidth();
    HxGlColor(m_color);
    DrawGeometry();
    RestoreLineWidth();
    if (IsVector())
        DrawArrowHead();
}

void CGLine::DrawForPick(int mode) {
    if (!HxIsDrawable(*this))
        return;
    if (mode >= 2) {
        glLoadName(kPickClassLine);
        glPushName(m_id);
        DrawGeometry();
        glPopName();
    }
    if (mode == 3)
        DrawCellLabelForPick(*this);
}
