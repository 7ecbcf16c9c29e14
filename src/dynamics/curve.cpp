// CGCurve: compiling the five expressions over the parents' values, evaluating the range and sampling
// it, the point at a parameter in the three coordinate systems, the parameter nearest to the mouse
// ray, the record and the description.
#include "dynamics/curves.h"

#include "dynamics/curves_shared.h"

#include <cmath>

IMPLEMENT_SERIAL(CGCurve, CGCell, 1)

CGCurve::CGCurve() {
    m_color.r = g_colorArcSolid.r;
    m_color.g = g_colorArcSolid.g;
    m_color.b = g_colorArcSolid.b;
    SetBreakDistance(kDefaultBreak);
}

CGCurve::CGCurve(WORD id, const CList<WORD, WORD>& parents, const CString& x, const CString& y,
                 const CString& z, const CString& from, const CString& to, float step, int kind) {
    m_id = id;
    for (WORD parent : parents)
        AddParent(parent);
    m_expressions[kX] = x;
    m_expressions[kY] = y;
    m_expressions[kZ] = z;
    m_expressions[kFrom] = from;
    m_expressions[kTo] = to;
    m_step = step;
    SetCoordinateKind(kind);
    SetBreakDistance(kDefaultBreak);
    Recompute();
    m_color.r = g_colorArcSolid.r;
    m_color.g = g_colorArcSolid.g;
    m_color.b = g_colorArcSolid.b;
    m_name = y;
}

void CGCurve::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        for (const CString& text : m_expressions)
            ar << text;
        ar << m_step;
        return;
    }
    for (CString& text : m_expressions)
        ar >> text;
    ar >> m_step;
    m_compiled = 0;
    ClearSamples();
}

int CGCurve::CoordinateKind() const {
    // The kind is kept as a float: anything but a whole 0, 1 or 2 is a kind of no coordinates.
    const float kind = m_param1;
    if (kind == 0.0f)
        return kCartesian;
    if (kind == 1.0f)
        return kSpherical;
    if (kind == 2.0f)
        return kCylindrical;
    return -1;
}

float CGCurve::EffectiveStep() const {
    return m_step > 0.0f ? m_step : kDefaultStep;
}

void CGCurve::SetExpressions(const CString texts[kExpressionCount]) {
    for (int i = 0; i < kExpressionCount; ++i)
        m_expressions[i] = texts[i];
    m_compiled = 0;
    ClearSamples();
}

void CGCurve::ClearSamples() {
    m_sampleCount = 0;
    m_samples.clear();
    m_samples.shrink_to_fit();
}

void CGCurve::Compile() {
    CString values;
    for (int i = 1; i <= int(m_parents.GetSize()); ++i) {
        CString name;
        name.Format(u"No%d,", i);
        values += name;
    }
    for (int i = 0; i < kExpressionCount; ++i) {
        CFunParser& parser = m_parsers[i];
        parser.SetVariables(i == kFrom || i == kTo ? values : CString(u"t,") + values);
        parser.SetText(m_expressions[i]);
        parser.m_lastCheck = parser.CheckSyntax();
        parser.Parse();
    }
    for (int i = kX; i <= kZ; ++i) {
        if (!m_parsers[i].m_values.empty())
            m_parsers[i].m_values[0] = 0.0;
    }
    m_compiled = 1;
}

bool CGCurve::Evaluate(int which, double& value) {
    CFunParser& parser = m_parsers[which];
    if (parser.m_state != HX_PARSER_COMPILED || !parser.m_pRoot)
        return false;
    value = parser.m_pRoot->Evaluate();
    return true;
}

void CGCurve::Recompute() {
    if (!m_compiled)
        Compile();
    const auto fail = [this] {
        m_valid = false;
        ClearSamples();
    };
    // The parents' values: No(i+1) is variable i of the range and i + 1 of the coordinates.
    const int parents = int(m_parents.GetSize());
    for (int i = 0; i < parents; ++i) {
        const CGCell* parent = HxFindCell(m_parents[i]);
        if (!parent || !parent->m_valid) {
            fail();
            return;
        }
        const double value = parent->m_param1;
        for (int which = 0; which < kExpressionCount; ++which) {
            std::vector<double>& variables = m_parsers[which].m_values;
            const size_t index = size_t(which == kFrom || which == kTo ? i : i + 1);
            if (index < variables.size())
                variables[index] = value;
        }
    }
    double from = 0.0, to = 0.0;
    const bool haveFrom = Evaluate(kFrom, from);
    m_tMin = haveFrom ? from : 0.0;
    const bool haveTo = Evaluate(kTo, to);
    m_tMax = haveTo ? to : 0.0;
    if (!haveFrom || !haveTo || !std::isfinite(m_tMin) || !std::isfinite(m_tMax) || !(m_tMax > m_tMin)) {
        fail();
        return;
    }
    const double range = m_tMax - m_tMin;
    const double count = std::trunc(std::fabs(range) / double(EffectiveStep()) + 2.0);
    // A range that would take more samples than a curve holds (or a step too fine to count them).
    if (!(count <= double(kMaxPathSamples))) {
        fail();
        return;
    }
    const int n = int(count);
    const double dt = range / double(n - 1);
    m_samples.assign(size_t(n + 1) * 3, 0.0);
    double t = m_tMin;
    for (int i = 0; i < n; ++i) {
        if (i == n - 1)
            t = m_tMax;
        double p[3] = {0.0, 0.0, 0.0};
        PointAt(t, p);
        double* s = &m_samples[size_t(i) * 3];
        s[0] = p[0];
        s[1] = p[1];
        s[2] = p[2];
        t += dt;
    }
    m_sampleCount = n;
    HxSetPathLabelAnchor(*this, &m_samples[size_t(n - 1) * 3]);
    m_valid = true;
}

void CGCurve::PointAt(double t, double out[3]) {
    for (int i = kX; i <= kZ; ++i) {
        if (!m_parsers[i].m_values.empty())
            m_parsers[i].m_values[0] = t;
    }
    const int kind = CoordinateKind();
    if (kind == kCylindrical) {
        double c[3];
        for (int i = 0; i < 3; ++i) {
            if (!m_parsers[i].GetValue(&c[i]))
                c[i] = 0.0;
        }
        out[0] = c[0] * std::cos(c[1]);
        out[1] = c[0] * std::sin(c[1]);
        out[2] = c[2];
        return;
    }
    if (kind != kCartesian && kind != kSpherical)
        return;
    double c[3];
    for (int i = 0; i < 3; ++i) {
        if (!Evaluate(i, c[i]))
            c[i] = 0.0;
    }
    if (kind == kCartesian) {
        out[0] = c[0];
        out[1] = c[1];
        out[2] = c[2];
        return;
    }
    // r, theta from the z axis, phi about it.
    out[0] = c[0] * std::sin(c[1]) * std::cos(c[2]);
    out[1] = c[0] * std::sin(c[1]) * std::sin(c[2]);
    out[2] = c[0] * std::cos(c[1]);
}

void CGCurve::PointAtRatio(double out[3], double f) {
    if (f >= 0.0 && f <= 1.0 && m_tMin < m_tMax)
        PointAt(m_tMin + f * (m_tMax - m_tMin), out);
    else
        PointAt(m_tMax, out);
}

const double* CGCurve::Sample(int i) const {
    if (i < 0 || i >= m_sampleCount || size_t(i) * 3 + 3 > m_samples.size())
        return nullptr;
    return &m_samples[size_t(i) * 3];
}

BOOL CGCurve::NearestParameter(float point[3], double& f, double& distance, int mode) {
    if (m_sampleCount < 2)
        return FALSE;
    const CHxPickRay ray = CHxPickRay::Current();
    double best = 1e30;
    int index = -1;
    for (int i = 0; i < m_sampleCount; ++i) {
        const double* s = Sample(i);
        if (!s)
            break;
        const double d = ray.Distance(s[0], s[1], s[2]);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    if (index < 0)
        return FALSE;
    const double dt = (m_tMax - m_tMin) / double(m_sampleCount - 1);
    double tBest = double(index) * dt + m_tMin;
    HxFineSearch(tBest, dt, m_tMin, m_tMax, [&](double t) {
        double p[3];
        PointAt(t, p);
        const double d = ray.Distance(p[0], p[1], p[2]);
        if (d < best) {
            best = d;
            tBest = t;
        }
    });
    double p[3];
    PointAt(tBest, p);
    for (int i = 0; i < 3; ++i)
        point[i] = float(p[i]);
    f = mode == 1 ? (tBest - m_tMin) / (m_tMax - m_tMin) : tBest;
    distance = best;
    return TRUE;
}

CString CGCurve::GetDescription() {
    CString text;
    text.Format(u"自定义曲线：x=%s,y=%s,z=%s", m_expressions[kX], m_expressions[kY], m_expressions[kZ]);
    return text;
}
