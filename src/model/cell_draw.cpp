// Colours, raster positions outside the view, name labels, label pick squares, the texture seam of
// the cells and the places of the numbers beside the plane axes.
#include "model/cell_draw.h"

#include "view/label_hooks.h"
#include "view/view_globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>

namespace {
HxTextureBinderFn s_textureBinder = nullptr;
} // namespace

void HxSetTextureBinder(HxTextureBinderFn binder) {
    s_textureBinder = binder;
}

bool HxBindTexture(int number) {
    return s_textureBinder && number >= 1 && number <= 15 && s_textureBinder(number);
}

void HxGlColor(const CRgba& c) {
    glColor4ub(c.r, c.g, c.b, c.a);
}

void HxGlColorInverted(const CRgba& c) {
    glColor4ub(BYTE(255 - c.r), BYTE(255 - c.g), BYTE(255 - c.b), 255);
}

namespace {

// out = m v for a column-major 4 x 4 matrix.
void Transform(const GLdouble m[16], const double v[4], double out[4]) {
    for (int r = 0; r < 4; ++r)
        out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
}

bool RasterPosValid() {
    GLint valid = 0;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    return valid != 0;
}

// Whether an eye-space point lies on the visible side of every user clip plane that is on.
bool InsideClipPlanes(const double eye[4]) {
    GLint planes = 0;
    glGetIntegerv(GL_MAX_CLIP_PLANES, &planes);
    for (GLint i = 0; i < planes; ++i) {
        if (!glIsEnabled(GLenum(GL_CLIP_PLANE0 + i)))
            continue;
        GLdouble plane[4];
        glGetClipPlane(GLenum(GL_CLIP_PLANE0 + i), plane);
        if (!(plane[0] * eye[0] + plane[1] * eye[1] + plane[2] * eye[2] + plane[3] * eye[3] >= 0.0))
            return false;
    }
    return true;
}

} // namespace

bool HxRasterPosReaching(double x, double y, double z, double left, double bottom, double right, double top) {
    glRasterPos3d(x, y, z);
    if (RasterPosValid())
        return true;
    // In selection and feedback a position set elsewhere would make hits and records of its own.
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode != GL_RENDER)
        return false;
    GLdouble modelview[16], projection[16], depthRange[2];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_DEPTH_RANGE, depthRange);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double point[4] = {x, y, z, 1.0};
    double eye[4], clip[4];
    Transform(modelview, point, eye);
    Transform(projection, eye, clip);
    // Behind the eye, beyond the near or far plane or cut away by a clip plane it stays undrawn.
    const double w = clip[3];
    if (!(w > 0.0) || !InsideClipPlanes(eye))
        return false;
    const double depth = clip[2] / w;
    if (!(depth >= -1.0 && depth <= 1.0))
        return false;
    const double winX = viewport[0] + (clip[0] / w + 1.0) * 0.5 * viewport[2];
    const double winY = viewport[1] + (clip[1] / w + 1.0) * 0.5 * viewport[3];
    const double winZ = depthRange[0] + (depth + 1.0) * 0.5 * (depthRange[1] - depthRange[0]);
    const double x0 = winX + std::min(left, right), x1 = winX + std::max(left, right);
    const double y0 = winY + std::min(bottom, top), y1 = winY + std::max(bottom, top);
    if (!(x1 > viewport[0] && x0 < viewport[0] + viewport[2] && y1 > viewport[1] &&
          y0 < viewport[1] + viewport[3]))
        return false;
    // The middle of the view at the point's depth takes the position (and its colour), which a
    // bitmap of no size then moves by window pixels to where the point falls.
    GLdouble inside[3];
    if (!gluUnProject(viewport[0] + 0.5 * viewport[2], viewport[1] + 0.5 * viewport[3], winZ, modelview,
                      projection, viewport, &inside[0], &inside[1], &inside[2]))
        return false;
    glRasterPos3d(inside[0], inside[1], inside[2]);
    if (!RasterPosValid())
        return false;
    GLdouble raster[4];
    glGetDoublev(GL_CURRENT_RASTER_POSITION, raster);
    glBitmap(0, 0, 0.0f, 0.0f, GLfloat(winX - raster[0]), GLfloat(winY - raster[1]), nullptr);
    return true;
}

bool HxRasterPosAnywhere(double x, double y, double z, double spanX, double spanY) {
    return HxRasterPosReaching(x, y, z, 0.0, 0.0, spanX, spanY);
}

void DrawCellLabel(CGCell& cell) {
    if (cell.m_labelHidden)
        return;
    const float* p = cell.m_labelPos;
    if (cell.m_extB1 == 0) {
        // The colour goes with the label's quads, which may wait for the end of the pass.
        float rgba[4];
        if (g_useObjectColors) {
            const CRgba& c = cell.m_labelColor;
            rgba[0] = float(c.r) / 255.0f;
            rgba[1] = float(c.g) / 255.0f;
            rgba[2] = float(c.b) / 255.0f;
            rgba[3] = float(c.a) / 255.0f;
        } else {
            glGetFloatv(GL_CURRENT_COLOR, rgba);
        }
        HxDrawTexturedLabel(cell.m_name, p[0], p[1], p[2], rgba);
        return;
    }
    if (g_useObjectColors)
        HxGlColor(cell.m_labelColor);
    if (!HxHasLabelGlyphLists())
        return; // no glyph cache yet: keep m_flag2 so the glyphs are built once there is one
    glRasterPos3f(p[0], p[1], p[2]);
    if (cell.m_flag2) {
        cell.m_text2 = HxLabelGlyphLists(cell.m_name);
        cell.m_flag2 = false;
    }
    if (cell.m_text2.GetLength() > 0)
        glCallLists(cell.m_text2.GetLength(), GL_UNSIGNED_SHORT, static_cast<const char16_t*>(cell.m_text2));
}

void DrawCellLabelForPick(const CGCell& cell) {
    if (cell.m_labelHidden)
        return;
    const float* p = cell.m_labelPos;
    const float* a = g_labelPickAxisA;
    const float* b = g_labelPickAxisB;
    glLoadName(kPickClassLabel);
    glPushName(cell.m_id);
    glBegin(GL_QUADS);
    glVertex3f(p[0] + a[0], p[1] + a[1], p[2] + a[2]);
    glVertex3f(p[0] + b[0], p[1] + b[1], p[2] + b[2]);
    glVertex3f(p[0] - a[0], p[1] - a[1], p[2] - a[2]);
    glVertex3f(p[0] - b[0], p[1] - b[1], p[2] - b[2]);
    glEnd();
    glPopName();
}

namespace {
int AxisNumberDigits(int n) {
    const int a = std::abs(n);
    return a < 10 ? 0 : a < 100 ? 1 : a < 1000 ? 2 : 3;
}
} // namespace

double HxAxisNumberShiftX(int n) {
    return (n > 0 ? 0.18 : 0.4) + 0.2 * AxisNumberDigits(n);
}

double HxAxisNumberOffsetY(int n) {
    static const double positive[4] = {-0.8, -1.1, -1.5, -1.9};
    static const double negative[4] = {-1.0, -1.3, -1.9, -2.3};
    return n > 0 ? positive[AxisNumberDigits(n)] : negative[AxisNumberDigits(n)];
}
