// CGSurface in the page's passes: the display list made from a fresh sampling while a context is
// current, the wire grid, the lit and translucent mesh with its front and back textures, picking.
#include "dynamics/surface.h"

#include "model/cell_draw.h"

#include <GL/gl.h>

namespace {

constexpr GLuint kPickClassSurface = 9;

// The quad strips of the lit mesh: each row after the first joined to the one before it, the new
// row's point first in every pair.
void EmitMesh(const CSurfaceMesh& mesh) {
    for (int i = 1; i < mesh.nv; ++i) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j < mesh.nu; ++j) {
            glTexCoord2d(mesh.s[size_t(j)], mesh.t[size_t(i)]);
            glNormal3dv(mesh.Normal(i, j));
            glVertex3dv(mesh.Point(i, j));
            glTexCoord2d(mesh.s[size_t(j)], mesh.t[size_t(i - 1)]);
            glNormal3dv(mesh.Normal(i - 1, j));
            glVertex3dv(mesh.Point(i - 1, j));
        }
        glEnd();
    }
}

// The wire grid: the first row as a strip; then per row the lines up from the row before, and the
// row as a strip.
void EmitWire(const CSurfaceMesh& mesh) {
    auto strip = [&mesh](int i) {
        glBegin(GL_LINE_STRIP);
        for (int j = 0; j < mesh.nu; ++j)
            glVertex3dv(mesh.Point(i, j));
        glEnd();
    };
    strip(0);
    for (int i = 1; i < mesh.nv; ++i) {
        glBegin(GL_LINES);
        for (int j = 0; j < mesh.nu; ++j) {
            glVertex3dv(mesh.Point(i - 1, j));
            glVertex3dv(mesh.Point(i, j));
        }
        glEnd();
        strip(i);
    }
}

} // namespace

bool CGSurface::CompileList() {
    CSurfaceMesh mesh;
    if (!SampleMesh(mesh))
        return false;
    const GLuint list = m_list.IsValid() ? m_list.Base() : m_list.Make(1);
    if (list == 0)
        return false;
    glNewList(list, GL_COMPILE);
    if (mesh.wire)
        EmitWire(mesh);
    else
        EmitMesh(mesh);
    glEndList();
    m_listStale = false;
    return true;
}

bool CGSurface::CallList() {
    if ((m_listStale || !m_list.IsValid()) && !CompileList())
        return false;
    glCallList(m_list.Base());
    return true;
}

void CGSurface::DrawTextured(bool twoSided) {
    if (!HxBindTexture(m_frontTexture)) {
        CallList();
        return;
    }
    glEnable(GL_TEXTURE_2D);
    if (!twoSided) {
        CallList();
        glDisable(GL_TEXTURE_2D);
        return;
    }
    // The front side with the front texture; the back side with texture 3, or bare when the front
    // already is texture 3.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    CallList();
    glCullFace(GL_FRONT);
    if (m_frontTexture == kBackTexture || !HxBindTexture(kBackTexture))
        glDisable(GL_TEXTURE_2D);
    CallList();
    glDisable(GL_TEXTURE_2D);
    glCullFace(GL_BACK);
    glDisable(GL_CULL_FACE);
}

void CGSurface::DrawVisible() {
    if (!HxIsDrawable(*this) || m_style != kStyleWire)
        return;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    CallList();
}

void CGSurface::DrawLit() {
    if (!HxIsDrawable(*this))
        return;
    if (m_style != kStyleLit && !(m_style == kStyleTranslucent && m_selected))
        return;
    if (m_frontTexture != 0 && !m_selected) {
        if (g_useObjectColors)
            HxGlColor(m_color);
        DrawTextured(m_twoSided != 0);
        return;
    }
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    CallList();
}

void CGSurface::DrawTranslucent() {
    if (!HxIsDrawable(*this) || m_style != kStyleTranslucent || m_selected)
        return;
    if (g_useObjectColors)
        HxGlColor(m_color);
    if (m_frontTexture != 0)
        DrawTextured(false);
    else
        CallList();
}

void CGSurface::DrawForPick(int mode) {
    if (mode < 3 || !HxIsDrawable(*this))
        return;
    glLoadName(kPickClassSurface);
    glPushName(m_id);
    CallList();
    glPopName();
}
