// CGTrack: the trace of figures ("形迹").  A driver (a point on a path, or a parameter) is swept over
// a range inside every drawing pass; at each step the figures built on it are recomputed and the
// chosen ones drawn, so that all their positions show at once.  Nothing is kept per step, and the
// driver and the figures are put back before the pass ends.
#pragma once

#include "model/cell.h"

#include <vector>

class CGTrack : public CGCell {
    DECLARE_SERIAL(CGTrack)
public:
    // The display modes (the kind byte) and colour modes (the style byte).
    static constexpr BYTE kSolidMode = 0;  // "实线模式": visible edges only
    static constexpr BYTE kAutoDashed = 1; // "虚实自动": also hidden edges, fills and depth
    static constexpr BYTE kShowAll = 2;    // "全部显示": also lit and translucent surfaces
    static constexpr BYTE kOwnColors = 0;  // "使用原形颜色"
    static constexpr BYTE kTraceColor = 1; // "形迹自身颜色"
    // A sweep of more steps than this (a step of no width, or far too small for its range) draws
    // nothing: every pass would otherwise take practically forever.
    static constexpr int kMaxSteps = 100000;

    // For loading: name "形迹", step 0.5, sweep 0 to 1.
    CGTrack();
    // parents[0] is the driver; with the dynamic range the next two are the range values; then every
    // cell recomputed at each step, ascending.  flags has an entry per parent: 1 marks a figure drawn
    // at every step.  The range is a to b in either order.
    CGTrack(WORD id, const std::vector<WORD>& parents, const std::vector<WORD>& flags, int dynamicRange,
            float a, float b, float step, BYTE displayMode, BYTE colorMode);

    // The common record, then tmin, tmax, the step, the dynamic-range flag and the traced indices.
    // Loading refuses an index past the parents, or a dynamic range without its two values.
    void Serialize(CArchive& ar) override;
    // With the dynamic range, the sweep's ends from the two values: invalid while they leave
    // [tmin, tmax].  Invalid too while a parent is missing.
    void Recompute() override;
    void DrawFill() override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    // From pick mode 3: the swept figures under class 9.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "含参数范围的图形轨迹" or "图形的轨迹"

    // The number of steps a sweep takes: the t = start, start + step, ... below the end; -1 when the
    // step is not positive, a bound is no number, or the steps would pass kMaxSteps.
    int StepCount() const;
    bool DynamicRange() const { return m_dynamicRange != 0; }
    // The traced indices again from one flag per parent.
    void SetTracedFlags(const std::vector<WORD>& flags);
    // One flag per parent: 1 for the traced ones.
    std::vector<WORD> TracedFlags() const;
    // The range (either order) and step written, the sweep following unless the values give it.
    void SetRange(float a, float b, float step);

    float m_tMin = 0.0f;
    float m_tMax = 1.0f;
    float m_step = 0.5f;
    int m_dynamicRange = 0;
    std::vector<WORD> m_traced; // positions in the parent array (from 0) of the figures drawn
    int m_firstRecompute = 1;   // parents from here on are recomputed at every step
    float m_sweepStart = 0.0f;
    float m_sweepEnd = 1.0f;

private:
    // Runs one pass's operation on the traced figures at every step, with the colours set up and
    // the driver and figures put back afterwards.
    template <class Op> void Sweep(Op op);
    bool m_inSweep = false;
};
