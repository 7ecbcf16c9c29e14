// Drawing and picking of the text cells: the glyph string built at draw time (the rendered name
// markup in the item's own lists, then the text font's glyphs), the text at its screen anchor in
// the plane z = -50, the pick areas, and the parameter's slider.
#include "measure/text_items.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "view/glyph_lists.h"
#include "view/texture_text.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

namespace {

constexpr float kScreenZ = -50.0f;

// The character cell of pick areas: the text font's metrics once measured, else 8 by 22.
float CharWidth() {
    return g_textCharWidth > 0 ? float(g_textCharWidth) : 8.0f;
}
float LineHeight() {
    return g_textLineHeight > 0 ? float(g_textLineHeight) : 22.0f;
}

void Quad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex3f(x0, y0, kScreenZ);
    glVertex3f(x1, y0, kScreenZ);
    glVertex3f(x1, y1, kScreenZ);
    glVertex3f(x0, y1, kScreenZ);
    glEnd();
}

void FlushWaitingQuads() {
    if (g_pTextureText)
        g_pTextureText->FlushWaiting();
}

} // namespace

void CGTextmap::BuildGlyphs() {
    const unsigned generation = HxGlContextGeneration();
    const bool formula = FormulaGlyphs();
    if (formula && (m_flag2 || !m_lists.IsValid() || m_glyphContext != generation)) {
        m_pictureMade = false;
        m_nameGlyphs.Empty();
        if (!m_lists.IsValid())
            m_lists.Make(2);
        UINT pair = m_lists.Base();
        // Glyph strings hold 16-bit list ids.
        if (pair != 0 && pair <= 0xFFFE) {
            int height = 0;
            m_nameGlyphs = BuildTextBitmapLists(m_text3, pair, height, FrameKind());
            m_pictureMade = m_nameGlyphs.GetLength() == 1 && m_nameGlyphs[0] == char16_t(pair);
            if (height > 0)
                m_extA2 = int(float(height) / (LineHeight() + 5.0f)) + 1;
        }
        m_flag2 = false;
    }
    if (formula) {
        m_text2 = m_nameGlyphs + GetTextGlyphLists(m_text);
    } else {
        const CString name = PlainNamePart();
        m_text2 =
            name.IsEmpty() ? GetTextGlyphLists(m_text) : GetLabelGlyphLists(name) + GetTextGlyphLists(m_text);
        m_flag2 = false;
    }
    m_glyphContext = generation;
    m_glyphsStale = false;
}

void CGTextmap::ApplyTextColor() const {
    if (g_useObjectColors)
        HxGlColor(m_selected || m_highlighted ? g_colorSelection : m_color);
}

bool CGTextmap::BeginScreen() {
    if (m_hidden != 0 || InThreeView() || !HxHasCurrentGlContext())
        return false;
    // Textured labels waiting in the pass belong to the scene's matrix.
    FlushWaitingQuads();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(g_viewTransX, g_viewTransY, 0.0f);
    if (GlyphsPending() || m_glyphContext != HxGlContextGeneration() ||
        (FormulaGlyphs() && !m_lists.IsValid()))
        BuildGlyphs();
    return true;
}

void CGTextmap::EndScreen() {
    FlushWaitingQuads();
    glPopMatrix();
}

void CGTextmap::DrawTextAtAnchor(bool fromGlyphs) {
    const float x = m_labelPos[0], y = m_labelPos[1];
    if (fromGlyphs) {
        if (HxRasterPosForGlyphs(x, y, kScreenZ, m_text2))
            DrawGlyphString(m_text2);
        return;
    }
    if (!g_pTextureText)
        return;
    g_textPenX = x;
    g_textPenY = y;
    g_textPenZ = kScreenZ;
    g_textQuadHeight = float(g_labelFontHeight);
    const CString name = PlainNamePart();
    if (!name.IsEmpty())
        g_pTextureText->DrawTextQuad(name);
    g_pTextureText->DrawTextQuad2(m_text);
}

void CGTextmap::DrawOnTop() {
    if (!BeginScreen())
        return;
    ApplyTextColor();
    DrawTextAtAnchor(m_style == 1);
    EndScreen();
}

bool CGTextmap::PickFrame() {
    if (m_style != 1 || !m_pictureMade || !m_lists.IsValid())
        return false;
    glPushMatrix();
    glTranslatef(m_labelPos[0], m_labelPos[1], kScreenZ);
    glCallList(m_lists.Base() + 1);
    glPopMatrix();
    return true;
}

void CGTextmap::PickText(unsigned pickClass, int chars) {
    glLoadName(pickClass);
    glPushName(m_id);
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    if (!PickFrame())
        Quad(x, y, x + CharWidth() * u * float(chars), y + LineHeight() * u);
    glPopName();
}

void CGTmSingleline::DrawForPick(int mode) {
    if (!m_valid || mode < 3 || !BeginScreen())
        return;
    PickText(kPickClassText, m_text.GetLength());
    EndScreen();
}

void CGTmVariable::DrawForPick(int mode) {
    if (mode == 2 || !BeginScreen())
        return;
    PickText(kPickClassValue, GlyphCount());
    EndScreen();
}

void CGTmVector::DrawForPick(int mode) {
    if (mode < 3 || !BeginScreen())
        return;
    PickText(kPickClassValue, m_text.GetLength());
    EndScreen();
}

// ---------------------------------------------------------------------------------------------
// The parameter's slider: a track 100 unit lengths long below the text and a knob on it.

void CGTmVarParameter::DrawOnTop() {
    if (!BeginScreen())
        return;
    ApplyTextColor();
    DrawTextAtAnchor(true);
    if (HasSlider()) {
        RepairRange();
        const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
        const float f = SliderFraction();
        if (g_useObjectColors)
            glColor4f(0.2f, 0.2f, 0.8f, 1.0f);
        glLineWidth(0.5f);
        glBegin(GL_LINE_LOOP);
        glVertex3f(x - 10.0f * u, y - 9.0f * u, kScreenZ);
        glVertex3f(x + 90.0f * u, y - 9.0f * u, kScreenZ);
        glVertex3f(x + 90.0f * u, y - 6.0f * u, kScreenZ);
        glVertex3f(x - 10.0f * u, y - 6.0f * u, kScreenZ);
        glEnd();
        if (g_useObjectColors)
            glColor4f(0.8f, 0.2f, 0.2f, 1.0f);
        const float left = x - 10.0f * u + 100.0f * u * f;
        Quad(left, y - 13.0f * u, left + 4.0f * u, y - 2.0f * u);
        glLineWidth(g_lineWidth);
    }
    EndScreen();
}

void CGTmVarParameter::DrawForPick(int mode) {
    if (mode == 2 || !BeginScreen())
        return;
    const float x = m_labelPos[0], y = m_labelPos[1], u = g_unitLength;
    glLoadName(kPickClassValue);
    glPushName(m_id);
    if (!PickFrame())
        Quad(x, y + 5.0f * u, x + 80.0f * u, y + 15.0f * u);
    glPopName();
    if (HasSlider()) {
        RepairRange();
        const float f = SliderFraction();
        glLoadName(kPickClassSlider);
        glPushName(m_id);
        Quad(x + (100.0f * f - 12.0f) * u, y - 10.0f * u, x + (100.0f * f - 6.0f) * u, y - 2.0f * u);
        glPopName();
    }
    EndScreen();
}
