// The colour modifier: its record, the colour it writes into its targets, and its handle at the
// lower-left corner of the view.
#include "dynamics/color_modifier.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "view/label_hooks.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CGModifier, CGCell, 1)
IMPLEMENT_SERIAL(CGMdfColor, CGModifier, 1)

CGModifier::CGModifier() {
    m_name = u"Modifier";
}

CGModifier::CGModifier(WORD id) : CGModifier() {
    m_id = id;
}

void CGModifier::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring())
        ar << m_value1 << m_value2;
    else
        ar >> m_value1 >> m_value2;
}

CGMdfColor::CGMdfColor() {
    m_name = u"Parametric Color";
}

CGMdfColor::CGMdfColor(WORD id, BYTE mode, float rangeEnd, int handedOver, float rangeStart) : CGMdfColor() {
    m_id = id;
    m_kind = mode;
    m_rangeEnd = rangeEnd;
    m_handedOver = handedOver;
    m_rangeStart = rangeStart;
    if (CGPage* page = g_pCurPage) {
        int values = 0;
        for (WORD value : page->m_selValues) {
            if (values++ >= ValueCount())
                break;
            AddParent(value);
        }
        for (const CList<WORD, WORD>* list : {&page->m_selPoints, &page->m_selLines, &page->m_selFaces,
                                              &page->m_selCurves, &page->m_selTexts, &page->m_selSolids}) {
            for (WORD target : *list)
                AddParent(target);
        }
    }
    Recompute();
}

double CGMdfColor::Wrap(double value, float rangeStart, float rangeEnd, BYTE mode) {
    const double q = (value - double(rangeStart)) / (double(rangeEnd) - double(rangeStart) + 1e-6);
    // A value or range that gives no number (an empty range, an infinite value) starts the cycle.
    if (!std::isfinite(q))
        return 0.0;
    if (mode == kRgb) {
        double t = q - std::trunc(q);
        if (q < 0.0)
            t += 1.0;
        return t;
    }
    double k = std::trunc(q);
    if (q < 0.0)
        k -= 1.0;
    return q - k;
}

CRgba CGMdfColor::ColourOf(BYTE mode, const double t[3]) {
    double rgb[3] = {t[0], t[0], t[0]};
    switch (mode) {
    case kHue:
        HslToRgb(rgb, t[0], 1.0, 0.5);
        break;
    case kRgb:
        rgb[0] = t[0];
        rgb[1] = t[1];
        rgb[2] = t[2];
        break;
    case kHsl:
        HslToRgb(rgb, t[0], t[1], t[2]);
        break;
    default: // grey
        break;
    }
    return CRgba{HxColorChannel(rgb[0]), HxColorChannel(rgb[1]), HxColorChannel(rgb[2]), 255};
}

void CGMdfColor::Recompute() {
    m_valid = true;
    const int values = ValueCount();
    if (m_parents.GetSize() < values)
        return;
    double t[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < values; ++i) {
        const CGCell* value = HxFindCell(m_parents[i]);
        if (!value)
            return;
        t[i] = Wrap(value->m_param1, m_rangeStart, m_rangeEnd, m_kind);
    }
    const CRgba colour = ColourOf(m_kind, t);
    // The targets keep their alpha: only red, green and blue follow the values.
    for (int i = values; i < m_parents.GetSize(); ++i) {
        if (CGCell* target = HxFindCell(m_parents[i])) {
            target->m_color.r = colour.r;
            target->m_color.g = colour.g;
            target->m_color.b = colour.b;
        }
    }
}

void CGMdfColor::DrawOnTop() {
    if (!m_selected || !HxHasLabelGlyphLists())
        return;
    HxGlColor(g_colorSelection);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos3f(0.1f - float(g_clientWidth) * g_unitLength * 0.5f,
                  0.1f - float(g_clientHeight) * g_unitLength * 0.5f, -50.0f);
    if (m_flag2) {
        m_text2 = HxLabelGlyphLists(m_name);
        m_flag2 = false;
    }
    if (m_text2.GetLength() > 0)
        glCallLists(m_text2.GetLength(), GL_UNSIGNED_SHORT, static_cast<const char16_t*>(m_text2));
    glPopMatrix();
}

void CGMdfColor::DrawForPick(int mode) {
    if (mode < 3 || m_hidden != 0 || (g_pCurPage && g_pCurPage->m_threeView != 0))
        return;
    const float left = -float(g_clientWidth) * g_unitLength / 2.0f;
    const float bottom = -float(g_clientHeight) * g_unitLength / 2.0f;
    const float right = 0.1f - float(g_clientWidth) * g_unitLength * 0.5f + 10.0f;
    const float top = 0.1f - float(g_clientHeight) * g_unitLength * 0.5f + 2.0f;
    glPushMatrix();
    glLoadIdentity();
    glLoadName(11);
    glPushName(m_id);
    glBegin(GL_QUADS);
    glVertex3f(left, bottom, -50.0f);
    glVertex3f(right, bottom, -50.0f);
    glVertex3f(right, top, -50.0f);
    glVertex3f(left, top, -50.0f);
    glEnd();
    glPopName();
    glPopMatrix();
}

CString CGMdfColor::GetDescription() {
    return CString(u"颜色修改器") + m_name;
}

void CGMdfColor::Serialize(CArchive& ar) {
    CGModifier::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_rangeStart << m_rangeEnd << m_handedOver;
    } else {
        ar >> m_rangeStart >> m_rangeEnd >> m_handedOver;
        m_flag2 = true;
    }
}
