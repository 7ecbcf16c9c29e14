// Defaults, the base step and the series button's start check.
#include "dynamics/buttons.h"

#include "measure/expression_counters.h"
#include "model/page.h"
#include "view/view_globals.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CGButton, CGCell)
IMPLEMENT_DYNAMIC(CGButnAnimation, CGButton)
IMPLEMENT_DYNAMIC(CGButnMove, CGButton)
IMPLEMENT_DYNAMIC(CGButnPresentat, CGButton)
IMPLEMENT_DYNAMIC(CGButnRotate, CGButton)

CGButton::CGButton() {
    m_color = CRgba{51, 102, 255, 255};
    m_labelColor.r = m_labelColor.g = m_labelColor.b = 0;
    m_labelHidden = 0;
}

BOOL CGButton::Step() {
    return TRUE;
}

CString CGButton::GetDescription() {
    return CString(u"动作按钮");
}

BOOL CGButnPresentat::CanStart() {
    if (m_extA1 < 2 || m_style != 0)
        return TRUE;
    double* counter = HxExpressionCounter(m_counterNumber);
    if (m_extA1 <= 3 && !counter)
        return FALSE; // a counter number from a damaged record: nothing to loop over
    if (m_extA1 == 2) {
        *counter = m_start;
        if ((m_step > 0.0 && m_start > m_end) || (m_step < 0.0 && m_end > m_start))
            return FALSE;
        m_style = 1;
        return TRUE;
    }
    if (m_extA1 == 3) {
        if (*counter <= 0.0)
            return FALSE;
        m_style = 1;
        return TRUE;
    }
    return TRUE;
}

void CGButton::DragBy() {
    const float u = g_unitLength;
    m_labelPos[1] -= float(g_mouseDY) * u;
    m_labelPos[0] += float(g_mouseDX) * u;
    if (!g_pCurPage || u <= 0.0f)
        return;
    const float k = 1.0f / (20.0f * u);
    const float x = m_labelPos[0] * k, y = m_labelPos[1] * k;
    g_pCurPage->m_lastButtonX = x;
    g_pCurPage->m_lastButtonY = y;
    g_pCurPage->m_buttonSlot = BYTE(int(std::trunc((12.0f - y + 0.75f) / 1.5f)) -
                                    16 * int(std::trunc((x + 18.0f + 2.5f) / -5.0f)) + 1);
}
