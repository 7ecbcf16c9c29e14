// Drawing and picking of bitmap texts, pictures and formula texts: one-bit bitmaps and colour pixels
// at raster positions in the screen plane or at a point of the scene, formula pictures as pixels or
// as textures made at draw time, and the pick quads and the picture's resize handle.
#include "measure/text_items.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "view/texture_text.h"
#include "view/view_globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

constexpr float kScreenZ = -50.0f;
constexpr unsigned int kPickClassHandle = 12;
constexpr CRgba kHandleColor{51, 102, 255, 255};

bool InThreeView() {
    return g_pCurPage && g_pCurPage->m_threeView != 0;
}

void SetColor(const CRgba& color) {
    if (g_useObjectColors)
        HxGlColor(color);
}

void LineLoop(float x0, float y0, float x1, float y1, float z) {
    glBegin(GL_LINE_LOOP);
    glVertex3f(x0, y0, z);
    glVertex3f(x1, y0, z);
    glVertex3f(x1, y1, z);
    glVertex3f(x0, y1, z);
    glEnd();
}

void Quad(float x0, float y0, float x1, float y1, float z) {
    glBegin(GL_QUADS);
    glVertex3f(x0, y0, z);
    glVertex3f(x1, y0, z);
    glVertex3f(x1, y1, z);
    glVertex3f(x0, y1, z);
    glEnd();
}

// Whether the item holds all the bytes its size asks for.
bool HasBits(const CGTextbit& item, long long rowBytes) {
    return item.m_width > 0 && item.m_height > 0 &&
           static_cast<long long>(item.m_bits.size()) >= rowBytes * item.m_height;
}

void DrawBitmap(const CGTextbit& item) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glBitmap(item.m_width, item.m_height, 0.0f, 0.0f, 0.0f, 0.0f, item.m_bits.data());
}

// A quad over a rectangle of eye space drawn with an identity modelview under a pick name.
void PickEyeQuad(unsigned pickClass, WORD id, const float eye[3], float width, float height) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLoadName(pickClass);
    glPushName(id);
    Quad(eye[0], eye[1], eye[0] + width, eye[1] + height, eye[2]);
    glPopName();
    glPopMatrix();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The screen plane

bool CGTextbit::BeginScreen(bool withDepth, bool withZoom) {
    if (!HxIsDrawable(*this) || InThreeView() || !HxHasCurrentGlContext())
        return false;
    // Textured labels waiting in the pass belong to the scene's matrix.
    if (g_pTextureText)
        g_pTextureText->FlushWaiting();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(g_viewTransX, g_viewTransY, withDepth ? g_viewTransZ : 0.0f);
    if (withZoom)
        glScalef(g_viewZoom, g_viewZoom, g_viewZoom);
    return true;
}

void CGTextbit::EndScreen() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void CGTextbit::DrawOnTop() {
    if (!HasBits(*this, BitmapRowBytes(m_width)) || !BeginScreen())
        return;
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    // The colour goes with the raster position: set before it.
    if (m_labelHidden == 0) {
        SetColor(m_labelColor);
        if (HxRasterPosAnywhere(x + 3.0f * u, y + 2.0f * u, kScreenZ, m_width, m_height))
            DrawBitmap(*this);
    }
    SetColor(m_color);
    if (HxRasterPosAnywhere(x, y, kScreenZ, m_width, m_height))
        DrawBitmap(*this);
    if (m_selected) {
        SetColor(g_colorSelection);
        const float x0 = x - 0.04f, y0 = y - 0.04f;
        LineLoop(x0, y0, x0 + float(m_width + 2) * u, y0 + float(m_height + 2) * u, kScreenZ);
    }
    EndScreen();
}

void CGTextbit::DrawForPick(int mode) {
    if (mode < 3 || !BeginScreen())
        return;
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    glLoadName(kPickClassText);
    glPushName(m_id);
    Quad(x, y, x + float(m_width) * u, y + float(m_height) * u, kScreenZ);
    glPopName();
    EndScreen();
}

// ---------------------------------------------------------------------------------------------
// The text that follows a point

void CGTbHenchman::DrawOnTop() {
    if (!HxIsDrawable(*this) || InThreeView() || !HasBits(*this, BitmapRowBytes(m_width)))
        return;
    SetColor(m_selected ? g_colorSelection : m_color);
    if (HxRasterPosAnywhere(m_px, m_py, m_pz, m_width, m_height))
        DrawBitmap(*this);
}

void CGTbHenchman::DrawForPick(int mode) {
    float eye[3];
    if (mode < 3 || !HxIsDrawable(*this) || InThreeView() || !HxEyePosition(m_px, m_py, m_pz, eye))
        return;
    const float u = g_unitLength;
    PickEyeQuad(kPickClassText, m_id, eye, float(m_width) * u, float(m_height) * u);
}

// ---------------------------------------------------------------------------------------------
// Pictures

void CGTbImage::DrawFill() {
    if (!HasBits(*this, PictureRowBytes(m_width)) || !BeginScreen())
        return;
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    glPixelZoom(m_scaleX, m_scaleY);
    if (HxRasterPosAnywhere(x, y, kScreenZ, double(m_width) * m_scaleX, double(m_height) * m_scaleY)) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glDrawPixels(m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, m_bits.data());
    }
    glPixelZoom(1.0f, 1.0f);
    if (m_selected) {
        SetColor(g_colorSelection);
        const float x0 = x + (m_scaleX < 0.0f ? 0.04f : -0.04f);
        const float y0 = y + (m_scaleY < 0.0f ? 0.04f : -0.04f);
        const float x1 = x0 + float(m_width + 2) * u * m_scaleX;
        const float y1 = y0 + float(m_height + 2) * u * m_scaleY;
        LineLoop(x0, y0, x1, y1, kScreenZ);
        SetColor(kHandleColor);
        LineLoop(x1 - 0.15f, y1 - 0.15f, x1 + 0.15f, y1 + 0.15f, kScreenZ);
    }
    EndScreen();
}

void CGTbImage::DrawForPick(int mode) {
    if (mode < 3 || !BeginScreen())
        return;
    const float x = m_labelPos[0], y = m_labelPos[1];
    const float farX = x + SpanX(), farY = y + SpanY();
    // The picture's far corner is left to the handle.
    const float pullX = m_scaleX < 0.0f ? 0.3f : -0.3f;
    const float pullY = m_scaleY < 0.0f ? 0.3f : -0.3f;
    glLoadName(kPickClassText);
    glPushName(m_id);
    Quad(x, y, farX + pullX, farY + pullY, kScreenZ);
    glPopName();
    if (m_selected) {
        glLoadName(kPickClassHandle);
        glPushName(m_id);
        Quad(farX - 0.3f, farY - 0.3f, farX + 0.3f, farY + 0.3f, kScreenZ);
        glPopName();
    }
    EndScreen();
}

// ---------------------------------------------------------------------------------------------
// Formula texts

bool CGTbMtfText::BindPictureTexture() {
    if (!HasBits(*this, RgbaRowBytes(m_width)))
        return false;
    if (!m_texture.IsValid()) {
        if (!m_texture.Make())
            return false;
        m_textureStale = true;
    }
    glBindTexture(GL_TEXTURE_2D, m_texture.Name());
    if (m_textureStale) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, m_bits.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        m_textureStale = false;
    }
    return true;
}

void CGTbMtfText::DrawPictureQuad(float x0, float y0, float x1, float y1, float z) {
    if (m_selected) {
        SetColor(g_colorSelection);
        LineLoop(x0, y0, x1, y1, z);
    }
    if (!BindPictureTexture())
        return;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, y0, z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x1, y0, z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x1, y1, z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x0, y1, z);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void CGTbMtfText::DrawOnTop() {
    if (!BeginScreen(true, m_textureMode != 0))
        return;
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    const float x1 = x + float(m_width) * u, y1 = y + float(m_height) * u;
    if (m_textureMode != 0) {
        DrawPictureQuad(x, y, x1, y1, 0.0f);
    } else {
        if (m_selected) {
            SetColor(g_colorSelection);
            LineLoop(x, y, x1, y1, 0.0f);
        }
        if (HasBits(*this, RgbaRowBytes(m_width)) && HxRasterPosAnywhere(x, y, 0.0f, m_width, m_height)) {
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            glDrawPixels(m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, m_bits.data());
        }
    }
    EndScreen();
}

void CGTbMtfText::DrawForPick(int mode) {
    if (mode < 3 || !BeginScreen(true, m_textureMode != 0))
        return;
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    glLoadName(kPickClassText);
    glPushName(m_id);
    Quad(x, y, x + float(m_width) * u, y + float(m_height) * u, 0.0f);
    glPopName();
    EndScreen();
}

void CGTbMhc::DrawOnTop() {
    float eye[3];
    if (!HxIsDrawable(*this) || InThreeView() || !HxHasCurrentGlContext() ||
        !HxEyePosition(m_px, m_py, m_pz, eye))
        return;
    if (g_pTextureText)
        g_pTextureText->FlushWaiting();
    const float u = g_unitLength * g_viewZoom;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    DrawPictureQuad(eye[0], eye[1], eye[0] + float(m_width) * u, eye[1] + float(m_height) * u, eye[2]);
    glPopMatrix();
}

void CGTbMhc::DrawForPick(int mode) {
    float eye[3];
    if (mode < 3 || !HxIsDrawable(*this) || InThreeView() || !HxEyePosition(m_px, m_py, m_pz, eye))
        return;
    const float u = g_unitLength * g_viewZoom;
    PickEyeQuad(kPickClassText, m_id, eye, float(m_width) * u, float(m_height) * u);
}
