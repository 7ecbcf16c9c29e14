// Defaults and class records of the text and value cells.
#include "measure/text_items.h"

#include "formula/formula_render.h"
#include "model/page.h"
#include "view/view_globals.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CGTextmap, CGCell)
IMPLEMENT_DYNAMIC(CGTmSingleline, CGTextmap)
IMPLEMENT_DYNAMIC(CGTmVariable, CGTextmap)
IMPLEMENT_DYNAMIC(CGTmVarParameter, CGTmVariable)
IMPLEMENT_DYNAMIC(CGTmVector, CGTextmap)
IMPLEMENT_DYNAMIC(CGTextbit, CGCell)
IMPLEMENT_DYNAMIC(CGTbImage, CGTextbit)
IMPLEMENT_DYNAMIC(CGTbMtfText, CGTextbit)
IMPLEMENT_DYNAMIC(CGTbMhc, CGTbMtfText)

namespace {
void TakeTextColor(CGCell& cell) {
    cell.m_color.r = g_colorText.r;
    cell.m_color.g = g_colorText.g;
    cell.m_color.b = g_colorText.b;
}
} // namespace

CGTextmap::CGTextmap() {
    m_name = u"Text";
    TakeTextColor(*this);
    m_param4 = 17;
    m_extA2 = 1;
    m_size = 0.01f;
    m_labelHidden = 0;
}

CString CGTextmap::GetDescription() {
    return CString(u"单行文本");
}

CGTextbit::CGTextbit() {
    TakeTextColor(*this);
}

CGTbImage::CGTbImage(WORD id, int width, int height, std::vector<BYTE> pixels)
    : m_pixelWidth(width), m_pixelHeight(height), m_pixels(std::move(pixels)) {
    m_id = id;
}

void CGTbMtfText::UpdateTexture() {
    m_texture = RenderFormulaToBitmap(m_color.ToColorRef(), m_background, m_text1, m_color.a, &m_textureWidth,
                                      &m_textureHeight);
    if (m_texture.empty())
        m_textureWidth = m_textureHeight = 0;
    m_flag2 = true;
}

void CGTextmap::MoveByMouse() {
    const float u = g_unitLength;
    m_labelPos[0] += float(g_mouseDX) * u;
    m_labelPos[1] -= float(g_mouseDY) * u;
    if (!g_pCurPage || u <= 0.0f)
        return;
    const float x = m_labelPos[0] / (20.0f * u);
    const float y = m_labelPos[1] / (20.0f * u);
    g_pCurPage->m_lastTextX = x;
    g_pCurPage->m_lastTextY = y;
    g_pCurPage->m_textSlot =
        BYTE(int(std::trunc((19.0f - x) / 12.0f)) * 16 - int(std::trunc((11.0f - y + 0.75f) / -1.5f)) + 1);
}

CGTmVarParameter::CGTmVarParameter(WORD id, const CString& name, float value) {
    m_id = id;
    if (g_pCurPage)
        g_pCurPage->PlaceNewTextItem(m_labelPos[0], m_labelPos[1], 1);
    m_name = name;
    m_param1 = value;
}

void CGTmVarParameter::DragSlider() {
    if (m_kind != 1)
        return;
    const float delta = (m_maximum - m_minimum) * float(g_mouseDX) / 100.0f;
    if (m_integerMode) {
        m_accumulator += delta;
        m_param1 = std::round(m_accumulator);
    } else {
        m_param1 += delta;
    }
    if (m_param1 > m_maximum)
        m_param1 = m_accumulator = m_maximum;
    else if (m_param1 < m_minimum)
        m_param1 = m_accumulator = m_minimum;
    m_flag2 = true; // the text shows the new value
}

void CGTextbit::MoveByMouse() {
    m_labelPos[0] += float(g_mouseDX) * g_unitLength;
    m_labelPos[1] -= float(g_mouseDY) * g_unitLength;
}
