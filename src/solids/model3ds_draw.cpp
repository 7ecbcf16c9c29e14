// CGModel3ds in the page's passes: the display list and its textures made at draw time, the model
// placed and turned, lit or as a wire frame, its box when selected, and the box faces it is picked by.
#include "solids/model3ds.h"

#include "model/cell_draw.h"
#include "view/texture_loading.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

namespace {

// Compiles the model into the list being made: per object white with its texture bound, or white
// with the material colour given at each corner.
class CGlMeshSink {
public:
    explicit CGlMeshSink(const CHxGlTexture* textures) : m_textures(textures) {}
    void BeginObject(bool textured, int material) {
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            glColor3ub(255, 255, 255);
            glBindTexture(GL_TEXTURE_2D, m_textures[material].Name());
        } else {
            glDisable(GL_TEXTURE_2D);
            glColor3ub(255, 255, 255);
        }
        glBegin(GL_TRIANGLES);
    }
    void Corner(const float* normal, const float* texCoord, const BYTE* color, const float* position) {
        glNormal3fv(normal);
        if (texCoord)
            glTexCoord2fv(texCoord);
        else if (color)
            glColor3ubv(color);
        glVertex3fv(position);
    }
    void EndObject() { glEnd(); }

private:
    const CHxGlTexture* m_textures;
};

} // namespace

void CGModel3ds::DropGlObjects() {
    for (CHxGlTexture& texture : m_textures)
        texture.Release();
    m_listStale = true;
}

bool CGModel3ds::EnsureList() {
    if (!HxHasCurrentGlContext())
        return false;
    if (m_list.IsValid() && !m_listStale)
        return true;
    // The textures first: an upload inside the list would be compiled into it.
    for (size_t i = 0; i < m_images.size(); ++i) {
        const CTextureImage& image = m_images[i];
        if (!image.pixels) {
            m_textures[i].Release();
            continue;
        }
        const GLuint name = m_textures[i].Make();
        if (name == 0)
            continue;
        HxUploadPackedTexture(name, image.pixels.get(), image.width, image.height);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    // The list's name is kept from one read of the model to the next.
    const GLuint list = m_list.IsValid() ? m_list.Base() : m_list.Make(1);
    if (list == 0)
        return false;
    glNewList(list, GL_COMPILE);
    CGlMeshSink sink(m_textures);
    EmitMesh(sink);
    glDisable(GL_TEXTURE_2D);
    glEndList();
    m_listStale = false;
    return true;
}

bool CGModel3ds::PushPlacement() const {
    const double s = m_scale;
    const double values[] = {m_center[0],      m_center[1],      m_center[2],      s,
                             m_modelCenter[0], m_modelCenter[1], m_modelCenter[2], m_param1};
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    glPushMatrix();
    glTranslated(m_center[0] - s * m_modelCenter[0], m_center[1] - s * m_modelCenter[1],
                 m_center[2] - s * m_modelCenter[2]);
    glRotated(double(m_param1) * 180.0 / std::numbers::pi, 0.0, 0.0, 1.0);
    glScaled(s, s, s);
    return true;
}

void CGModel3ds::DrawLit() {
    if (!HxIsDrawable(*this) || m_style == kStyleWire || !EnsureList())
        return;
    if (!PushPlacement())
        return;
    glCallList(m_list.Base());
    glPopMatrix();
}

void CGModel3ds::DrawVisible() {
    if (!HxIsDrawable(*this) || (m_style != kStyleWire && !m_selected))
        return;
    const bool wire = m_style == kStyleWire && EnsureList();
    if (!PushPlacement())
        return;
    if (m_selected) {
        glColor3f(1.0f, 0.0f, 1.0f);
        DrawBoxGL(m_box, false);
    }
    if (wire) {
        // The lines take the colours compiled into the list.
        glLineWidth(0.5f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glCallList(m_list.Base());
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glLineWidth(2.0f);
    }
    glPopMatrix();
}

void CGModel3ds::DrawForPick(int mode) {
    if (mode < 3 || !HxIsDrawable(*this))
        return;
    glLoadName(kPickClassModel3ds);
    glPushName(m_id);
    if (PushPlacement()) {
        DrawBoxGL(m_box, true);
        glPopMatrix();
    }
    glPopName();
}

void CGModel3ds::DrawBoxGL(const double box[6], bool filled) {
    const double x0 = box[0], x1 = box[1], y0 = box[2], y1 = box[3], z0 = box[4], z1 = box[5];
    if (filled) {
        glBegin(GL_QUADS);
        glVertex3d(x0, y0, z0);
        glVertex3d(x1, y0, z0);
        glVertex3d(x1, y1, z0);
        glVertex3d(x0, y1, z0);

        glVertex3d(x0, y0, z0);
        glVertex3d(x0, y1, z0);
        glVertex3d(x0, y1, z1);
        glVertex3d(x0, y0, z1);

        glVertex3d(x0, y1, z0);
        glVertex3d(x1, y1, z0);
        glVertex3d(x1, y1, z1);
        glVertex3d(x0, y1, z1);
        glEnd();
        return;
    }
    glBegin(GL_LINES);
    for (double y : {y0, y1})
        for (double z : {z0, z1}) {
            glVertex3d(x0, y, z);
            glVertex3d(x1, y, z);
        }
    glEnd();
    for (double x : {x0, x1}) {
        glBegin(GL_LINE_LOOP);
        glVertex3d(x, y0, z0);
        glVertex3d(x, y1, z0);
        glVertex3d(x, y1, z1);
        glVertex3d(x, y0, z1);
        glEnd();
    }
}
