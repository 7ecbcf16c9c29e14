// The property dialogs' classes: the spacing list of the plane axes and its two cross checks.
#include "document/property_dialogs.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CDlgPropertyPoint, CDialog)
IMPLEMENT_DYNAMIC(CDlgPropertyLine, CDialog)
IMPLEMENT_DYNAMIC(CDlgPropertyFace, CDialog)
IMPLEMENT_DYNAMIC(CDlgPropertyCircle, CDialog)
IMPLEMENT_DYNAMIC(CDlgPropertySolid, CDialog)
IMPLEMENT_DYNAMIC(CDlgTrace, CDialog)
IMPLEMENT_DYNAMIC(CDlgProScaleLine, CDialog)
IMPLEMENT_DYNAMIC(CDlgPageProperty, CDialog)
IMPLEMENT_DYNAMIC(CDlgImagePropy, CDialog)

const char16_t* const CDlgImagePropy::kZeroFactor = u"缩放比不能为0！";

bool CDlgImagePropy::FactorAccepted(float factor) {
    return std::isfinite(factor) && std::fabs(factor) >= 1e-6f;
}

const float CDlgProScaleLine::kSpacings[kSpacingCount] = {0.1f,  0.2f,  0.5f,   1.0f,   2.0f,   5.0f,   10.0f,
                                                          20.0f, 50.0f, 100.0f, 200.0f, 500.0f, 1000.0f};
const char16_t* const CDlgProScaleLine::kSpacingTexts[kSpacingCount] = {
    u"0.1", u"0.2", u"0.5", u"1", u"2", u"5", u"10", u"20", u"50", u"100", u"200", u"500", u"1000"};
const char16_t* const CDlgProScaleLine::kTickTooWide = u"刻度线间距不能大于刻度值间距！";
const char16_t* const CDlgProScaleLine::kValueTooNarrow = u"刻度值间距不能小于刻度线间距！";

int CDlgProScaleLine::SpacingIndex(float spacing) {
    int index = 0;
    for (int i = 0; i < kSpacingCount; ++i) {
        if (double(kSpacings[i]) - 1e-6 <= double(spacing))
            index = i;
    }
    return index;
}

const char16_t* CDlgProScaleLine::ChooseTickSpacing(int index) {
    if (index < 0 || index >= kSpacingCount)
        return nullptr;
    m_tickIndex = index;
    if (m_tickIndex <= m_valueIndex)
        return nullptr;
    m_tickIndex = m_valueIndex;
    return kTickTooWide;
}

const char16_t* CDlgProScaleLine::ChooseValueSpacing(int index) {
    if (index < 0 || index >= kSpacingCount)
        return nullptr;
    m_valueIndex = index;
    if (m_valueIndex >= m_tickIndex)
        return nullptr;
    m_valueIndex = m_tickIndex;
    return kValueTooNarrow;
}
