// The trace of figures: its construction, record, the sweep run inside each drawing pass and its
// pick names.
#include "dynamics/track.h"

#include "model/cell_draw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGTrack, CGCell, 1)

CGTrack::CGTrack() {
    m_name = u"形迹";
    m_color = {g_colorArcSolid.r, g_colorArcSolid.g, g_colorArcSolid.b, 255};
}

CGTrack::CGTrack(WORD id, const std::vector<WORD>& parents, const std::vector<WORD>& flags, int dynamicRange,
                 float a, float b, float step, BYTE displayMode, BYTE colorMode)
    : CGTrack() {
    m_id = id;
    m_dynamicRange = dynamicRange != 0 ? 1 : 0;
    m_firstRecompute = m_dynamicRange ? 3 : 1;
    m_kind = displayMode;
    m_style = colorMode;
    for (WORD parent : parents)
        AddParent(parent);
    SetTracedFlags(flags);
    SetRange(a, b, step);
    Recompute();
}

void CGTrack::SetRange(float a, float b, float step) {
    m_tMin = std::min(a, b);
    m_tMax = std::max(a, b);
    m_step = step;
    m_sweepStart = m_tMin;
    m_sweepEnd = m_tMax;
}

void CGTrack::SetTracedFlags(const std::vector<WORD>& flags) {
    m_traced.clear();
    const size_t parents = size_t(m_parents.GetSize());
    for (size_t i = 0; i < flags.size() && i < parents; ++i) {
        if (flags[i] == 1)
            m_traced.push_back(WORD(i));
    }
}

std::vector<WORD> CGTrack::TracedFlags() const {
    std::vector<WORD> flags(size_t(m_parents.GetSize()), 0);
    for (WORD index : m_traced) {
        if (index < flags.size())
            flags[index] = 1;
    }
    return flags;
}

// ---------------------------------------------------------------------------------------------
// Record

void CGTrack::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_tMin << m_tMax << m_step << m_dynamicRange << int(m_traced.size());
        for (WORD index : m_traced)
            ar << index;
        return;
    }
    int count = 0;
    ar >> m_tMin >> m_tMax >> m_step >> m_dynamicRange >> count;
    if (count < 0)
        throw CArchiveException(CArchiveException::badIndex);
    ar.CheckCount(ULONGLONG(count), sizeof(WORD));
    m_traced.assign(size_t(count), 0);
    for (WORD& index : m_traced)
        ar >> index;
    m_firstRecompute = m_dynamicRange ? 3 : 1;
    // The driver, the range values and every traced figure must be among the parents.
    const int parents = int(m_parents.GetSize());
    if (parents < m_firstRecompute)
        throw CArchiveException(CArchiveException::badIndex);
    for (WORD index : m_traced) {
        if (int(index) >= parents)
            throw CArchiveException(CArchiveException::badIndex);
    }
    m_sweepStart = m_tMin;
    m_sweepEnd = m_tMax;
}

CString CGTrack::GetDescription() {
    return CString(m_dynamicRange ? u"含参数范围的图形轨迹" : u"图形的轨迹");
}

// ---------------------------------------------------------------------------------------------
// Recomputation and the sweep

void CGTrack::Recompute() {
    for (WORD parent : m_parents) {
        if (!HxFindCell(parent)) {
            m_valid = false;
            return;
        }
    }
    if (!m_dynamicRange) {
        m_valid = true;
        return;
    }
    if (m_parents.GetSize() < 3) {
        m_valid = false;
        return;
    }
    m_sweepStart = HxFindCell(m_parents[1])->m_param1;
    m_sweepEnd = HxFindCell(m_parents[2])->m_param1;
    m_valid = !(m_tMin > m_sweepStart || m_sweepEnd > m_tMax) && std::isfinite(m_sweepStart) &&
              std::isfinite(m_sweepEnd);
}

int CGTrack::StepCount() const {
    if (!(m_step > 0.0f) || !std::isfinite(m_step) || !std::isfinite(m_sweepStart) ||
        !std::isfinite(m_sweepEnd))
        return -1;
    if (!(m_sweepStart < m_sweepEnd))
        return 0;
    const double steps = std::ceil((double(m_sweepEnd) - double(m_sweepStart)) / double(m_step));
    if (steps > double(kMaxSteps))
        return -1;
    // The float steps decide where the sweep ends (rounding may add a step or a few to the count
    // above); a step too small to move t on ends the sweep before it starts.
    int count = 0;
    for (float t = m_sweepStart; t < m_sweepEnd; t += m_step) {
        if (++count > 2 * kMaxSteps || t + m_step <= t)
            return -1;
    }
    return count;
}

template <class Op> void CGTrack::Sweep(Op op) {
    if (m_inSweep || !m_valid || m_hidden != 0 || m_parents.GetSize() < m_firstRecompute)
        return;
    const int steps = StepCount();
    if (steps <= 0)
        return;
    std::vector<CGCell*> parents;
    for (WORD id : m_parents) {
        CGCell* cell = HxFindCell(id);
        if (!cell)
            return;
        parents.push_back(cell);
    }
    m_inSweep = true;
    const BOOL useObjectColors = g_useObjectColors;
    if (useObjectColors) {
        if (m_selected)
            HxGlColor(g_colorSelection);
        else if (m_style == kTraceColor)
            HxGlColor(m_color);
        if (m_selected || m_style == kTraceColor)
            g_useObjectColors = FALSE;
    }
    CGCell* driver = parents[0];
    const float saved = driver->m_param1;
    auto recompute = [&] {
        for (size_t i = size_t(m_firstRecompute); i < parents.size(); ++i)
            parents[i]->Recompute();
    };
    float t = m_sweepStart;
    for (int step = 0; step < steps && t < m_sweepEnd; ++step, t += m_step) {
        driver->m_param1 = t;
        driver->SyncVertex();
        recompute();
        // A traced figure shows at every step, without its label, whether the user hid it or not.
        for (WORD index : m_traced) {
            CGCell* figure = parents[index];
            const int labelHidden = figure->m_labelHidden;
            const int hidden = figure->m_hidden;
            figure->m_labelHidden = 1;
            figure->m_hidden = 0;
            op(figure);
            figure->m_labelHidden = labelHidden;
            figure->m_hidden = hidden;
        }
    }
    driver->m_param1 = saved;
    driver->SyncVertex();
    recompute();
    g_useObjectColors = useObjectColors;
    m_inSweep = false;
}

void CGTrack::DrawVisible() {
    Sweep([](CGCell* c) { c->DrawVisible(); });
}

void CGTrack::DrawHidden() {
    if (m_kind >= kAutoDashed)
        Sweep([](CGCell* c) { c->DrawHidden(); });
}

void CGTrack::DrawOnTop() {
    Sweep([](CGCell* c) { c->DrawOnTop(); });
}

void CGTrack::DrawFill() {
    if (m_kind >= kAutoDashed)
        Sweep([](CGCell* c) { c->DrawFill(); });
}

void CGTrack::DrawDepth() {
    if (m_kind >= kAutoDashed)
        Sweep([](CGCell* c) { c->DrawDepth(); });
}

void CGTrack::DrawLit() {
    if (m_kind >= kShowAll)
        Sweep([](CGCell* c) { c->DrawLit(); });
}

void CGTrack::DrawTranslucent() {
    if (m_kind >= kShowAll)
        Sweep([](CGCell* c) { c->DrawTranslucent(); });
}

void CGTrack::DrawForPick(int mode) {
    if (mode < 3 || !m_valid || m_hidden != 0)
        return;
    glLoadName(9);
    glPushName(m_id);
    const BYTE display = m_kind;
    Sweep([display](CGCell* c) {
        c->DrawVisible();
        c->DrawOnTop();
        if (display == kAutoDashed) {
            c->DrawFill();
        } else if (display == kShowAll) {
            c->DrawLit();
            c->DrawTranslucent();
        }
    });
    glPopName();
}
