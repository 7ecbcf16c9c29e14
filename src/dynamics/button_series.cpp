// The series button: its member buttons run all at once or one after another with a pause between
// them, the whole run repeated a fixed number of times or by a loop over an expression counter.
#include "dynamics/buttons.h"

#include "measure/expression_counters.h"
#include "model/page.h"

IMPLEMENT_SERIAL(CGButnPresentat, CGButton, 1)

CGButnPresentat::CGButnPresentat() {
    m_name = u"并行";
}

CGButnPresentat::CGButnPresentat(WORD id, const CString& caption, int kind, float pauseSeconds)
    : CGButton(id, caption) {
    m_kind = BYTE(kind);
    m_extA3 = pauseSeconds;
    m_style = 0;
    m_param4 = 0;
    if (g_pCurPage) {
        for (WORD member : g_pCurPage->m_selButtons)
            AddParent(member);
    }
}

void CGButnPresentat::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring()) {
        if (m_extA1 != kNoLoop)
            ar << m_repeatCount << m_counterNumber << m_start << m_end << m_step;
        return;
    }
    if (m_extA1 != kNoLoop)
        ar >> m_repeatCount >> m_counterNumber >> m_start >> m_end >> m_step;
    if (m_extA1 > kFixedCount)
        m_style = 0;
    // The member now running is an index into the members: one from a damaged record names none.
    if (m_param4 < 0 || m_param4 >= int(m_parents.GetSize()))
        m_param4 = 0;
    m_pauseCount = 0;
    m_runNumber = 1;
}

CString CGButnPresentat::GetDescription() {
    const int count = int(m_parents.GetSize());
    return m_kind != 0 ? HxFormat(u"%d个按钮的串行动作按钮", count)
                       : HxFormat(u"%d个按钮的并行动作按钮", count);
}

CGButton* CGButnPresentat::Member(int i) const {
    if (i < 0 || i >= int(m_parents.GetSize()))
        return nullptr;
    return DYNAMIC_DOWNCAST(CGButton, HxFindCell(m_parents[i]));
}

BOOL CGButnPresentat::CanStart() {
    if (m_extA1 < kForLoop || m_style != 0)
        return TRUE;
    double* counter = HxExpressionCounter(m_counterNumber);
    if (m_extA1 <= kWhileLoop && !counter)
        return FALSE; // a counter number from a damaged record: nothing to loop over
    if (m_extA1 == kForLoop) {
        *counter = m_start;
        if ((m_step > 0.0 && m_start > m_end) || (m_step < 0.0 && m_end > m_start))
            return FALSE;
        m_style = 1;
        return TRUE;
    }
    if (m_extA1 == kWhileLoop) {
        if (*counter <= 0.0)
            return FALSE;
        m_style = 1;
        return TRUE;
    }
    return TRUE;
}

BOOL CGButnPresentat::Step() {
    const int count = int(m_parents.GetSize());
    if (m_kind == 0) {
        for (int i = 0; i < count; ++i) {
            if (const CGButton* member = Member(i); member && member->m_running)
                return FALSE;
        }
        return EndOfRun();
    }
    // One after another: wait for the member now running, then pause, then the next one.
    if (const CGButton* current = Member(m_param4); current && current->m_running)
        return FALSE;
    ++m_pauseCount;
    if (m_pauseCount <= CGButnAnimation::PauseLimit(m_extA3))
        return FALSE;
    m_pauseCount = 0;
    if (m_param4 >= 0 && m_param4 < count - 1) {
        ++m_param4;
        g_buttonsToStart.push_back(m_parents[m_param4]);
        return FALSE;
    }
    return EndOfRun();
}

BOOL CGButnPresentat::Restart() {
    g_buttonsToStart.push_back(m_id);
    return TRUE;
}

BOOL CGButnPresentat::EndOfRun() {
    double* counter = HxExpressionCounter(m_counterNumber);
    auto stop = [this] {
        m_style = 0;
        return TRUE;
    };
    switch (m_extA1) {
    case kNoLoop:
        return TRUE;
    case kFixedCount:
        if (m_runNumber < m_repeatCount) {
            ++m_runNumber;
            return Restart();
        }
        m_runNumber = 1;
        return TRUE;
    case kForLoop:
        if (!counter)
            return stop();
        *counter += m_step;
        if ((m_step > 0.0 && *counter > m_end) || (m_step < 0.0 && *counter < m_end))
            return stop();
        return Restart();
    case kWhileLoop:
        if (!counter || *counter <= 0.0)
            return stop();
        return Restart();
    case kUntilLoop:
        if (!counter || *counter > 0.0)
            return stop();
        return Restart();
    default:
        return TRUE;
    }
}
