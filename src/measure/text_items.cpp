// The text cells without their drawing: defaults and records, the value and vector texts, the
// shared constructor steps of measurements, the drag of the arrow tool and the parameter's slider.
#include "measure/text_items.h"

#include "formula/formula_render.h"
#include "model/page.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGTextmap, CGCell, 1)
IMPLEMENT_SERIAL(CGTmSingleline, CGTextmap, 1)
IMPLEMENT_SERIAL(CGTmVariable, CGTextmap, 1)
IMPLEMENT_SERIAL(CGTmVarParameter, CGTmVariable, 1)
IMPLEMENT_SERIAL(CGTmVector, CGTextmap, 1)

namespace {

void TakeRgb(CGCell& cell, const CRgba& color) {
    cell.m_color.r = color.r;
    cell.m_color.g = color.g;
    cell.m_color.b = color.b;
}

// Degrees per radian: the single-precision factor chooses the format, the double one gives the
// digits.
constexpr double kDegreesForFormat = 57.29578;
constexpr double kDegreesPerRadian = 57.2957795131;

} // namespace

// ---------------------------------------------------------------------------------------------
// CGTextmap

CGTextmap::CGTextmap() {
    m_name = u"Text";
    TakeRgb(*this, g_colorValue);
    m_param4 = 17;
    m_extA2 = 1;
    m_size = 0.01f;
    m_labelHidden = 0;
}

CGTextmap::~CGTextmap() = default; // the lists go through the deletion queue with m_lists

void CGTextmap::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_text;
    } else {
        ar >> m_text;
        m_glyphsStale = true;
        m_flag2 = true;
    }
}

CString CGTextmap::GetDescription() {
    return CString(u"单行文本");
}

CString CGTextmap::PlainNamePart() const {
    if (m_name.IsEmpty() || m_labelHidden != 0)
        return CString();
    return m_name + u" = ";
}

int CGTextmap::GlyphCount() const {
    if (FormulaGlyphs())
        return 1 + m_text.GetLength();
    return PlainNamePart().GetLength() + m_text.GetLength();
}

bool CGTextmap::InThreeView() {
    return g_pCurPage && g_pCurPage->m_threeView != 0;
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

void CGTextmap::Construct(WORD id, std::initializer_list<WORD> parents) {
    m_id = id;
    if (g_pCurPage)
        g_pCurPage->PlaceNewTextItem(m_labelPos[0], m_labelPos[1], 1);
    for (WORD parent : parents)
        AddParent(parent);
}

CString CGTextmap::ParentName(int i) const {
    if (i >= m_parents.GetSize())
        return CString();
    const CGCell* parent = HxFindCell(m_parents[i]);
    return parent ? parent->m_name : CString();
}

CString CGTextmap::ParentMarkup(int i) const {
    if (i >= m_parents.GetSize())
        return CString();
    const CGCell* parent = HxFindCell(m_parents[i]);
    return parent ? parent->m_text3 : CString();
}

void CGTextmap::SetNames(const CString& name, const CString& markup) {
    if (m_nameFixed)
        return;
    if (m_name != name || m_text3 != markup)
        m_flag2 = true;
    m_name = name;
    m_text3 = markup;
}

// ---------------------------------------------------------------------------------------------
// CGTmVariable

void CGTmVariable::Serialize(CArchive& ar) {
    CGTextmap::Serialize(ar);
    if (ar.IsLoading())
        m_formulaGlyphs = m_style == 1 && m_labelHidden == 0;
}

namespace {
// A number that prints as zero is shown without a sign ("0.00", not "-0.00").
CString WithoutNegativeZero(CString text) {
    if (text.GetLength() > 1 && text[0] == u'-' && text.Mid(1).SpanIncluding(u"0.") == text.Mid(1))
        text.Delete(0);
    return text;
}
} // namespace

CString CGTmVariable::FormatNumber(float value, float step, bool angle) {
    if (angle) {
        // The format is chosen for the degrees as the single-precision factor gives them, tested in
        // double precision, so that a quarter turn of float pi reads 45.00 at two decimals.
        const CString format = FormatNumberAuto(step, double(value) * kDegreesForFormat);
        return WithoutNegativeZero(HxFormat(format.GetString(), double(value) * kDegreesPerRadian)) + u"°";
    }
    const CString format = FormatNumberAuto(step, value);
    return WithoutNegativeZero(HxFormat(format.GetString(), double(value)));
}

void CGTmVariable::FormatValue() {
    const bool formula = m_style == 1 && m_labelHidden == 0;
    // A value that is no number (a damaged file) shows as undefined too.
    const bool shown = m_valid && std::isfinite(m_param1);
    if (formula) {
        if (!shown)
            m_text = m_name.IsEmpty() ? u"? " : u" = ? ";
        else
            m_text = m_name.IsEmpty() ? ValueNumber() : CString(u" =") + ValueNumber();
    } else {
        m_text = shown ? ValueNumber() : CString(u"? ");
    }
    TextChanged(formula);
}

void CGTmVariable::UpdateName() {
    if (m_style == 1)
        m_text = m_valid ? CString(u" =") + ValueNumber() : CString(u" = ? ");
    else
        m_text = m_valid ? ValueNumber() : CString(u"? ");
    TextChanged(m_style == 1 && m_labelHidden == 0);
    m_flag2 = true;
}

void CGTmVariable::FormatAngle() {
    const CString degrees = FormatNumber(m_param1, m_size, true);
    m_text = m_style == 1 ? CString(u"= ") + degrees : degrees;
    m_valid = true;
    TextChanged(m_style == 1);
}

void CGTmVariable::SetValue(bool ok, double value) {
    if (ok && std::isfinite(float(value))) {
        m_param1 = float(value);
        m_valid = true;
    } else {
        m_valid = false;
    }
    FormatValue();
}

// ---------------------------------------------------------------------------------------------
// CGTmVarParameter

CGTmVarParameter::CGTmVarParameter(WORD id, const CString& name, float value) {
    m_id = id;
    if (g_pCurPage)
        g_pCurPage->PlaceNewTextItem(m_labelPos[0], m_labelPos[1], 1);
    m_name = name;
    m_param1 = value;
    CGTmVariable::UpdateName();
}

void CGTmVarParameter::Recompute() {
    // Only a value read from a damaged file can be no number: nothing built on it can use it.
    m_valid = std::isfinite(m_param1);
    FormatValue();
}

void CGTmVarParameter::SyncVertex() {
    FormatValue();
}

CString CGTmVarParameter::GetDescription() {
    return CString(u"自定义参数：") + m_name;
}

void CGTmVarParameter::RepairRange() {
    if (!(m_param3 - m_param2 > 1e-6f)) {
        m_param2 = 0.0f;
        m_param3 = 10.0f;
    }
}

float CGTmVarParameter::SliderFraction() const {
    const float span = m_param3 - m_param2;
    if (!(span > 0.0f))
        return 0.0f;
    const float position = m_extA1 == 1 ? m_extA3 : m_param1;
    const float f = (position - m_param2) / span;
    return std::isfinite(f) ? std::clamp(f, 0.0f, 1.0f) : 0.0f;
}

void CGTmVarParameter::DragSlider() {
    if (!HasSlider())
        return;
    // A knob is dragged only after it was drawn and picked, which repaired the range already.
    RepairRange();
    const float delta = (m_param3 - m_param2) * float(g_mouseDX) / 100.0f;
    if (m_extA1 == 1) {
        m_extA3 += delta;
        m_param1 = std::round(m_extA3);
    } else {
        m_param1 += delta;
    }
    if (m_param1 > m_param3)
        m_param1 = m_extA3 = m_param3;
    else if (m_param1 < m_param2)
        m_param1 = m_extA3 = m_param2;
    FormatValue();
}

// ---------------------------------------------------------------------------------------------
// CGTmVector

CGTmVector::CGTmVector() = default;

void CGTmVector::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_vx << m_vy << m_vz;
    } else {
        ar >> m_vx >> m_vy >> m_vz;
        m_text.Empty();
        m_glyphsStale = true;
        m_flag2 = true;
    }
}

CString CGTmVector::GetDescription() {
    return CString(u"向量：") + m_name;
}

CString CGTmVector::ComponentsText(bool formula) const {
    CString text = formula ? u"=(" : u"(";
    if (!m_valid) {
        text += TwoComponents() ? u" ?, ?)" : u" ?, ?, ?)";
        return text;
    }
    text += CGTmVariable::FormatNumber(m_vx, m_size, false);
    text += u", ";
    text += CGTmVariable::FormatNumber(m_vy, m_size, false);
    if (!TwoComponents()) {
        text += u", ";
        text += CGTmVariable::FormatNumber(m_vz, m_size, false);
    }
    text += u")";
    return text;
}

void CGTmVector::FormatValue() {
    m_text = ComponentsText(m_style == 1);
    m_glyphsStale = true;
}

void CGTmVector::UpdateName() {
    if (m_style == 1) {
        m_text = ComponentsText(true);
        m_glyphsStale = true;
        m_flag2 = true;
    } else {
        FormatValue();
    }
}

void CGTmVector::ConstructVector(WORD id, std::initializer_list<WORD> parents) {
    Construct(id, parents);
    CGTmVector::UpdateName();
}

void CGTmVector::SetVector(bool ok, double x, double y, double z) {
    const float fx = float(x), fy = float(y), fz = float(z);
    if (ok && std::isfinite(fx) && std::isfinite(fy) && std::isfinite(fz)) {
        m_vx = fx;
        m_vy = fy;
        m_vz = fz;
        m_valid = true;
    } else {
        m_valid = false;
    }
    m_param1 = m_vx;
    FormatValue();
}
