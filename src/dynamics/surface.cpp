// CGSurface: construction and record, compiling the seven texts, the point at (u, v), the ranges
// and the sampling of the grid (lit mesh with its chain of fallback normals, or wire grid).
#include "dynamics/surface.h"

#include "model/page.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGSurface, CGCell, 1)

namespace {

constexpr double kTinyNormal = 1e-6;

struct V3 {
    double x, y, z;
};

V3 Sub(const double* a, const double* b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

V3 Cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Norm2(const V3& v) {
    return v.x * v.x + v.y * v.y + v.z * v.z;
}

void Put(double* out, const V3& v) {
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

// The mapping of one direction over a range: once across the whole range; none (0 and 0) when the
// range has no width, since its ends then give no scale.
void AutomaticMapping(double start, double end, double& scale, double& offset) {
    const double width = end - start;
    scale = 1.0 / width;
    offset = -start / width;
    if (!std::isfinite(scale) || !std::isfinite(offset)) {
        scale = 0.0;
        offset = 0.0;
    }
}

// The number of samples of a range at a step: trunc(|width| / step + 2), or 0 when the step is not
// a positive number or the count would pass the bound.
int SampleCount(double width, double step) {
    if (!(step > 0.0) || !std::isfinite(step))
        return 0;
    const double n = std::trunc(std::fabs(width) / step + 2.0);
    if (!(n <= CGSurface::kMaxGridPoints))
        return 0;
    return int(n);
}

} // namespace

CGSurface::CGSurface() {
    m_name = u"曲面";
    m_color = g_colorArcSolid;
}

CGSurface::CGSurface(WORD id, const std::vector<WORD>& parents, const CString& x, const CString& y,
                     const CString& z, const CString& uStart, const CString& uEnd, const CString& vStart,
                     const CString& vEnd, BYTE style, int frontTexture, int twoSided, int mappingMode,
                     int coordinateKind, double uStep, double vStep, const double mapping[kMappingCount])
    : CGSurface() {
    m_id = id;
    for (WORD parent : parents)
        AddParent(parent);
    const CString* texts[kTextCount] = {&x, &y, &z, &uStart, &uEnd, &vStart, &vEnd};
    for (int i = 0; i < kTextCount; ++i)
        m_texts[i] = *texts[i];
    m_style = style;
    m_frontTexture = frontTexture;
    m_twoSided = twoSided;
    m_mappingMode = mappingMode;
    m_param1 = float(coordinateKind);
    m_uStep = uStep;
    m_vStep = vStep;
    std::copy(mapping, mapping + kMappingCount, m_mapping);
    m_vCount = m_uCount = 0;
    m_compiled = 0;
    Recompute();
    m_color.r = g_colorArcSolid.r;
    m_color.g = g_colorArcSolid.g;
    m_color.b = g_colorArcSolid.b;
}

CGSurface::~CGSurface() = default;

void CGSurface::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        for (const CString& text : m_texts)
            ar << text;
        ar << m_uStep << m_vStep << m_frontTexture << m_twoSided << m_mappingMode;
        for (double v : m_mapping)
            ar << v;
        HxCountTextureUse(m_frontTexture);
        if (m_twoSided && m_frontTexture < kBackTexture)
            HxCountTextureUse(kBackTexture);
    } else {
        for (CString& text : m_texts)
            ar >> text;
        ar >> m_uStep >> m_vStep >> m_frontTexture >> m_twoSided >> m_mappingMode;
        for (double& v : m_mapping)
            ar >> v;
        m_compiled = 0;
        m_uCount = m_vCount = 0;
        m_listStale = true;
    }
}

CString CGSurface::GetDescription() {
    return HxFormat(u"自定义曲面：x=%s,y=%s,z=%s", m_texts[kX].GetString(), m_texts[kY].GetString(),
                    m_texts[kZ].GetString());
}

// ---------------------------------------------------------------------------------------------
// Texts

void CGSurface::Compile() {
    CString values;
    for (int i = 1; i <= int(m_parents.GetSize()); ++i)
        values.AppendFormat(u"No%d,", i);
    const CString coordinates = CString(u"u,v,") + values;
    for (int i = 0; i < kTextCount; ++i) {
        CFunParser& parser = m_parsers[i];
        parser.SetVariables(i <= kZ ? coordinates : values);
        parser.SetText(m_texts[i]);
        parser.m_lastCheck = parser.CheckSyntax();
        parser.Parse();
    }
    for (int i = kX; i <= kZ; ++i) {
        std::vector<double>& v = m_parsers[i].m_values;
        std::fill(v.begin(), v.begin() + std::min<size_t>(2, v.size()), 0.0);
    }
    m_compiled = 1;
}

int CGSurface::FirstBrokenText() {
    if (!m_compiled)
        Compile();
    for (int i = 0; i < kTextCount; ++i) {
        if (m_parsers[i].m_state != HX_PARSER_COMPILED)
            return i;
    }
    return -1;
}

void CGSurface::Recompute() {
    if (!m_compiled)
        Compile();
    const int n = int(m_parents.GetSize());
    for (int i = 1; i <= n; ++i) {
        const CGCell* parent = HxFindCell(m_parents[i - 1]);
        if (!parent || !parent->m_valid) {
            m_valid = false;
            return;
        }
        const double value = parent->m_param1;
        for (int k = 0; k < kTextCount; ++k) {
            std::vector<double>& v = m_parsers[k].m_values;
            const size_t index = size_t(k <= kZ ? i + 1 : i - 1);
            if (index < v.size())
                v[index] = value;
        }
    }
    m_valid = BuildDisplayList() != FALSE;
}

double CGSurface::Direct(int index) {
    CFunParser& parser = m_parsers[index];
    if (parser.m_state != HX_PARSER_COMPILED || !parser.m_pRoot)
        return 0.0;
    return parser.m_pRoot->Evaluate();
}

double CGSurface::Checked(int index) {
    double value = 0.0;
    if (!m_parsers[index].GetValue(&value))
        return 0.0;
    return value;
}

int CGSurface::CoordinateKind() const {
    if (m_param1 >= float(kCartesian) && m_param1 < float(kCylindrical + 1))
        return int(m_param1);
    return kCartesian;
}

void CGSurface::EvalPoint(double out[3], double u, double v) {
    for (int i = kX; i <= kZ; ++i) {
        std::vector<double>& values = m_parsers[i].m_values;
        if (values.size() >= 2) {
            values[0] = u;
            values[1] = v;
        }
    }
    switch (CoordinateKind()) {
    case kCartesian:
        out[0] = Direct(kX);
        out[1] = Direct(kY);
        out[2] = Direct(kZ);
        break;
    case kSpherical: {
        const double rho = Direct(kX), theta = Direct(kY), phi = Direct(kZ);
        out[0] = rho * std::sin(theta) * std::cos(phi);
        out[1] = rho * std::sin(theta) * std::sin(phi);
        out[2] = rho * std::cos(theta);
        break;
    }
    case kCylindrical: {
        const double rho = Checked(kX), theta = Checked(kY);
        out[0] = rho * std::cos(theta);
        out[1] = rho * std::sin(theta);
        out[2] = Checked(kZ);
        break;
    }
    }
}

// ---------------------------------------------------------------------------------------------
// Sampling

bool CGSurface::EvaluateRanges(CRange& u, CRange& v) {
    auto directEnd = [this](int index, double& out) {
        if (m_parsers[index].m_state != HX_PARSER_COMPILED || !m_parsers[index].m_pRoot)
            return false;
        out = Direct(index);
        return std::isfinite(out);
    };
    if (!directEnd(kVStart, v.start) || !directEnd(kVEnd, v.end))
        return false;
    v.count = SampleCount(v.end - v.start, m_vStep);
    if (v.count < 2)
        return false;
    v.step = (v.end - v.start) / double(v.count - 1);

    if (!directEnd(kUStart, u.start) || !m_parsers[kUEnd].GetValue(&u.end))
        return false;
    u.count = SampleCount(u.end - u.start, m_uStep);
    if (u.count < 2 || double(u.count) * double(v.count) > kMaxGridPoints)
        return false;
    u.step = (u.end - u.start) / double(u.count - 1);

    m_vCount = v.count;
    m_uCount = u.count;
    if (m_mappingMode == kMappingAutomatic) {
        AutomaticMapping(u.start, u.end, m_mapping[kSScale], m_mapping[kSOffset]);
        AutomaticMapping(v.start, v.end, m_mapping[kTScale], m_mapping[kTOffset]);
    }
    return true;
}

bool CGSurface::SampleMesh(CSurfaceMesh& mesh) {
    CRange u, v;
    if (!EvaluateRanges(u, v))
        return false;
    mesh.nu = u.count;
    mesh.nv = v.count;
    mesh.wire = m_style >= kStyleWire;
    mesh.points.assign(size_t(u.count) * size_t(v.count) * 3, 0.0);
    mesh.normals.clear();
    mesh.s.assign(size_t(u.count), 0.0);
    mesh.t.assign(size_t(v.count), 0.0);
    // Texture coordinates of the accumulated parameters.
    double uj = u.start;
    for (int j = 0; j < u.count; ++j, uj += u.step)
        mesh.s[size_t(j)] = m_mapping[kSScale] * uj + m_mapping[kSOffset];
    double vi = v.start;
    for (int i = 0; i < v.count; ++i, vi += v.step)
        mesh.t[size_t(i)] = m_mapping[kTScale] * vi + m_mapping[kTOffset];
    if (mesh.wire)
        SampleWire(u, v, mesh);
    else
        SampleLit(u, v, mesh);
    return true;
}

void CGSurface::SampleWire(const CRange& u, const CRange& v, CSurfaceMesh& mesh) {
    double vi = v.start;
    for (int i = 0; i < v.count; ++i, vi += v.step) {
        double uj = u.start;
        for (int j = 0; j < u.count; ++j, uj += u.step)
            EvalPoint(&mesh.points[3 * (size_t(i) * size_t(u.count) + size_t(j))], uj, vi);
    }
}

// One row buffer of nu + 2 points (column 0 lies at u start - du) holds the previous row until each
// column is overwritten by the new one, so the normal at a point comes from its left neighbour in
// the new row and its neighbour below in the previous row; row 0 looks back at a virtual row at
// v start - dv.
void CGSurface::SampleLit(const CRange& u, const CRange& v, CSurfaceMesh& mesh) {
    const int nu = u.count;
    mesh.normals.assign(mesh.points.size(), 0.0);
    std::vector<double> row(3 * size_t(nu + 2), 0.0);
    auto at = [&row](int column) { return &row[3 * size_t(column)]; };

    // The virtual row.
    {
        double uj = u.start - u.step;
        for (int j = 0; j <= nu; ++j, uj += u.step)
            EvalPoint(at(j), uj, v.start - v.step);
    }
    double vi = v.start;
    for (int i = 0; i < v.count; ++i, vi += v.step) {
        EvalPoint(at(0), u.start - u.step, vi);
        double uj = u.start;
        for (int j = 1; j <= nu; ++j, uj += u.step) {
            double c[3];
            EvalPoint(c, uj, vi);
            const V3 b = Sub(c, at(j - 1));
            const V3 a = Sub(c, at(j));
            V3 n = Cross(b, a);
            if (Norm2(n) < kTinyNormal) {
                if (i == 0) {
                    double e[3], f[3];
                    EvalPoint(e, uj + u.step, v.start + v.step);
                    EvalPoint(f, uj, v.start + v.step);
                    n = Cross(Sub(e, c), Sub(f, c));
                } else {
                    double g[3];
                    EvalPoint(g, uj - u.step, vi - v.step);
                    n = Cross(Sub(at(j), g), Sub(at(j - 1), g));
                }
                if (Norm2(n) < kTinyNormal) {
                    const V3 cv{c[0], c[1], c[2]};
                    if (Norm2(cv) > kTinyNormal)
                        n = cv;
                    else
                        n.z = 1.0;
                }
            }
            std::copy(c, c + 3, at(j));
            const size_t k = 3 * (size_t(i) * size_t(nu) + size_t(j - 1));
            std::copy(c, c + 3, &mesh.points[k]);
            Put(&mesh.normals[k], n);
        }
    }
}

BOOL CGSurface::BuildDisplayList() {
    m_listStale = true;
    if (HxHasCurrentGlContext())
        return CompileList() ? TRUE : FALSE;
    CRange u, v;
    return EvaluateRanges(u, v) ? TRUE : FALSE;
}
