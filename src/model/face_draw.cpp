// CGFace: the drawing passes of its display styles (fill, stippled fill, depth only, lit, translucent,
// textured), the name label and the pick names.
#include "model/cell_draw.h"
#include "model/face.h"
#include "view/view_globals.h"

#include <GL/gl.h>

static_assert(sizeof(DWORD) == sizeof(GLuint), "face corner indices are handed to OpenGL as they are");

bool CGFace::IndicesUsable() const {
    if (m_vertexCount < 3 || m_vertexIndices.size() != m_vertexCount)
        return false;
    for (DWORD index : m_vertexIndices) {
        if (!HxVertexSlot(index))
            return false;
    }
    return true;
}

void CGFace::DrawArea() const {
    if (!IndicesUsable())
        return;
    const GLenum mode = m_vertexCount == 3 ? GL_TRIANGLES : m_vertexCount == 4 ? GL_QUADS : GL_POLYGON;
    // Element by element: a glDrawElements call on the client array copies every vertex between the
    // lowest and highest index, and the page numbers points in map order, so a face's corners lie
    // far apart in the array.
    glBegin(mode);
    for (DWORD index : m_vertexIndices)
        glArrayElement(GLint(index));
    glEnd();
}

void CGFace::DrawFill() {
    if (!HxIsDrawable(*this))
        return;
    // A selected face shows in the fill pass whatever its style.
    if (m_style == kStyleFilled || m_selected) {
        if (g_useObjectColors)
            HxGlColor(m_selected ? g_colorSelection : m_color);
        DrawArea();
    } else if (m_style == kStyleStippled) {
        glEnable(GL_POLYGON_STIPPLE);
        if (g_useObjectColors)
            HxGlColor(m_color);
        DrawArea();
        glDisable(GL_POLYGON_STIPPLE);
    }
}

void CGFace::DrawDepth() {
    // The page runs this pass with colour writes off: only the depth of the face is written.
    if (!HxIsDrawable(*this) || m_style != kStyleDepthOnly || m_selected)
        return;
    DrawArea();
}

void CGFace::DrawLit() {
    if (!HxIsDrawable(*this) || m_style != kStyleLit || m_selected)
        return;
    DrawShaded();
}

void CGFace::DrawTranslucent() {
    if (!HxIsDrawable(*this) || m_style != kStyleTranslucent || m_selected)
        return;
    DrawShaded();
}

void CGFace::DrawShaded() {
    std::vector<const CGVertex*> corners;
    if (!GetCornerPositions(corners))
        return;
    const CGVertex& p0 = *corners[0];
    const float a[3] = {corners[1]->m_x - p0.m_x, corners[1]->m_y - p0.m_y, corners[1]->m_z - p0.m_z};
    const float b[3] = {corners[2]->m_x - p0.m_x, corners[2]->m_y - p0.m_y, corners[2]->m_z - p0.m_z};
    // Not normalised: the view's lighting set-up takes care of the length.
    glNormal3f(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
    if (g_useObjectColors)
        HxGlColor(m_color);
    if (m_param4 < 1 || m_param4 > 15) {
        DrawArea();
        return;
    }
    if (m_texCoordsDirty || m_texCoords.size() != 2 * corners.size())
        ComputeTexCoords();
    if (m_texCoords.size() != 2 * corners.size() || !HxBindTexture(m_param4)) {
        DrawArea(); // no texture table yet
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_POLYGON);
    for (size_t i = 0; i < corners.size(); ++i) {
        glTexCoord2f(m_texCoords[2 * i], m_texCoords[2 * i + 1]);
        glVertex3f(corners[i]->m_x, corners[i]->m_y, corners[i]->m_z);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void CGFace::DrawOnTop() {
    if (!HxIsDrawable(*this))
        return;
    DrawCellLabel(*this);
}

void CGFace::DrawForPick(int mode) {
    if (!HxIsDrawable(*this))
        return;
    if (mode == 3 && IndicesUsable()) {
        glLoadName(kPickClassFace);
        glPushName(m_id);
        glBegin(GL_POLYGON);
        for (DWORD index : m_vertexIndices)
            glArrayElement(GLint(index));
        glEnd();
        glPopName();
    }
    DrawCellLabelForPick(*this);
}
