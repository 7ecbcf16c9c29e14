// Defaults and class records of the text and value cells.
#include "measure/text_items.h"

IMPLEMENT_DYNAMIC(CGTextmap, CGCell)
IMPLEMENT_DYNAMIC(CGTmSingleline, CGTextmap)
IMPLEMENT_DYNAMIC(CGTmVariable, CGTextmap)
IMPLEMENT_DYNAMIC(CGTmVector, CGTextmap)
IMPLEMENT_DYNAMIC(CGTextbit, CGCell)
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

void CGTbMtfText::UpdateTexture() {
    m_flag2 = true;
}
