// Colours, name labels, label pick squares, the texture seam of the cells and the places of the
// numbers beside the plane axes.
#include "model/cell_draw.h"

#include "view/label_hooks.h"
#include "view/view_globals.h"

#include <GL/gl.h>

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
