// The ticks and numbers of the plane axes: bounds from the parents, spacings that follow the zoom,
// decimal or pi/2 numbering, picking; and the cells of the view's plane-axes command.
#include "measure/scale_line.h"

#include "construct/construction.h"
#include "model/cell_draw.h"
#include "model/constrained_points.h"
#include "model/line.h"
#include "model/page.h"
#include "view/label_hooks.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CGScaleline, CGCell, 1)

namespace {

constexpr float kHalfPi = 1.5707964f;

// A text of the label font at a raster position, in the current colour.
void DrawText(const CString& text, double x, double y, double z) {
    const CString glyphs = HxLabelGlyphLists(text);
    if (glyphs.IsEmpty())
        return;
    glRasterPos3d(x, y, z);
    glCallLists(glyphs.GetLength(), GL_UNSIGNED_SHORT, glyphs.GetString());
}

void Segment(double x0, double y0, double x1, double y1, double z) {
    glVertex3d(x0, y0, z);
    glVertex3d(x1, y1, z);
}

} // namespace

CGScaleline::CGScaleline() = default;

CGScaleline::CGScaleline(WORD id, WORD origin, WORD xMin, WORD xMax, WORD yMin, WORD yMax, int, int, int,
                         float tickSpacing, float valueSpacing)
    : m_tickSpacing(tickSpacing), m_valueSpacing(valueSpacing) {
    m_id = id;
    for (WORD parent : {origin, xMin, xMax, yMin, yMax})
        AddParent(parent);
    m_labelHidden = 0;
    m_autoSpacing = 1;
    m_style = 0;
    m_kind = 0;
    m_color = g_colorObject;
    m_name = u"二维轴部件";
    Recompute();
}

void CGScaleline::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring())
        ar << m_autoSpacing << m_tickSpacing << m_valueSpacing;
    else
        ar >> m_autoSpacing >> m_tickSpacing >> m_valueSpacing;
}

void CGScaleline::Recompute() {
    m_valid = false;
    if (m_parents.GetSize() < 5)
        return;
    const auto* origin = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0]));
    if (!origin || !origin->m_valid)
        return;
    origin->GetPosition(m_origin);
    float* bounds[4] = {&m_xMin, &m_xMax, &m_yMin, &m_yMax};
    for (int i = 0; i < 4; ++i) {
        const CGCell* cell = HxFindCell(m_parents[i + 1]);
        if (!cell || !cell->m_valid)
            return;
        const float v = cell->m_param1;
        // Minima must not lie above 0, maxima not below (a NaN is neither).
        if (i % 2 == 0 ? !(v <= 0.0f) : !(v >= 0.0f))
            return;
        *bounds[i] = v;
    }
    m_valid = true;
}

CString CGScaleline::GetDescription() {
    return CString(u"2维坐标轴上刻度线及刻度值");
}

float CGScaleline::AutoSpacing(float unitLength, float zoom) {
    static const float kSpacings[] = {0.1f,  0.2f,  0.5f,   1.0f,   2.0f,   5.0f,   10.0f,
                                      20.0f, 50.0f, 100.0f, 200.0f, 500.0f, 1000.0f};
    const float s = 50.0f * unitLength / zoom;
    for (float spacing : kSpacings)
        if (s < 1.5f * spacing)
            return spacing;
    return 2000.0f;
}

std::vector<int> CGScaleline::Multiples(double spacing, double low, double high) {
    std::vector<int> ks;
    if (!(spacing > 0.0) || !std::isfinite(low) || !std::isfinite(high))
        return ks;
    // A spacing too small for the range would never end: nothing is drawn then.
    const double marks = (std::max(high, 0.0) - std::min(low, 0.0)) / spacing;
    if (!(marks <= double(kMaxMarks)))
        return ks;
    for (int k = 1; double(k) * spacing < high; ++k)
        ks.push_back(k);
    for (int k = -1; double(k) * spacing > low; --k)
        ks.push_back(k);
    return ks;
}

void CGScaleline::DrawVisible() {
    if (m_hidden != 0 || !m_valid)
        return;
    const double z = g_viewZoom;
    if (!(z > 0.0))
        return;
    const double h = 20.0 * g_unitLength / z;
    if (m_autoSpacing)
        m_tickSpacing = m_valueSpacing = AutoSpacing(g_unitLength, g_viewZoom);
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    DrawTicks(h, m_tickSpacing);
    if (m_labelHidden != 0)
        return;
    if (g_useObjectColors && !m_selected)
        HxGlColor(m_labelColor);
    if (PiNumbers())
        DrawPiNumbers(h);
    else
        DrawNumbers(h, m_valueSpacing);
}

void CGScaleline::DrawTicks(double h, double d) const {
    const double ox = m_origin[0], oy = m_origin[1], oz = m_origin[2];
    const double xLow = m_xMin + 0.2 * h, xHigh = m_xMax - 1.1 * h;
    const double yLow = m_yMin + 0.2 * h, yHigh = m_yMax - 1.1 * h;
    glBegin(GL_LINES);
    const double xStep = PiNumbers() ? double(kHalfPi) : d;
    for (int k : Multiples(xStep, xLow, xHigh)) {
        const double t = k * xStep;
        Segment(ox + t, oy, ox + t, oy + 0.3 * h, oz);
    }
    if (!XAxisOnly()) {
        for (int k : Multiples(d, yLow, yHigh)) {
            const double t = k * d;
            Segment(ox, oy + t, ox + 0.3 * h, oy + t, oz);
        }
    }
    glEnd();
}

void CGScaleline::DrawNumbers(double h, double v) const {
    const double ox = m_origin[0], oy = m_origin[1], oz = m_origin[2];
    const double xLow = m_xMin + 0.2 * h, xHigh = m_xMax - 1.1 * h;
    const double yLow = m_yMin + 0.2 * h, yHigh = m_yMax - 1.1 * h;
    const bool decimal = v <= 0.9999;
    for (int k : Multiples(v, xLow, xHigh)) {
        const double t = k * v;
        if (decimal) {
            DrawText(HxFormat(u"%.1f", t), ox + t - (t > 0 ? 0.58 : 0.8) * h, oy - 0.8 * h, oz);
        } else {
            const int n = int(t);
            DrawText(HxFormat(u"%d", n), ox + n - HxAxisNumberShiftX(n) * h, oy - 0.8 * h, oz);
        }
    }
    if (XAxisOnly())
        return;
    for (int k : Multiples(v, yLow, yHigh)) {
        const double t = k * v;
        if (decimal) {
            DrawText(HxFormat(u"%.1f", t), ox - (t > 0 ? 1.2 : 1.6) * h, oy + t - 0.3 * h, oz);
        } else {
            const int n = int(t);
            DrawText(HxFormat(u"%d", n), ox + HxAxisNumberOffsetY(n) * h, oy + n - 0.3 * h, oz);
        }
    }
}

// x in multiples of pi/2: whole multiples of pi as "kπ" (or "π"), the odd halves as a fraction over
// 2 when the ticks stand far enough apart, minus signs drawn as short strokes; y as whole numbers.
void CGScaleline::DrawPiNumbers(double h) const {
    const double ox = m_origin[0], oy = m_origin[1], oz = m_origin[2];
    const double xLow = m_xMin + 0.2 * h, xHigh = m_xMax - 1.1 * h;
    const bool halves = 30.0 * g_unitLength / g_viewZoom < 1.0;
    for (int k : Multiples(double(kHalfPi), xLow, xHigh)) {
        const double t = k * double(kHalfPi);
        const int a = std::abs(k);
        const double left = ox + t - 0.35 * h;
        double strokeY;
        if (a % 2 == 0) {
            DrawText(a == 2 ? CString(u"π") : HxFormat(u"%dπ", a / 2), left, oy - 1.2 * h, oz);
            strokeY = oy - 0.85 * h;
        } else {
            if (!halves)
                continue;
            DrawText(a == 1 ? CString(u"π") : HxFormat(u"%dπ", a), left, oy - 0.8 * h, oz);
            DrawText(u"2", left + 0.15 * h, oy - 1.8 * h, oz);
            glBegin(GL_LINES);
            Segment(left, oy - 0.95 * h, left + 0.7 * h, oy - 0.95 * h, oz);
            glEnd();
            strokeY = oy - 0.95 * h;
        }
        if (k < 0) {
            glBegin(GL_LINES);
            Segment(left - 0.35 * h, strokeY, left - 0.1 * h, strokeY, oz);
            glEnd();
        }
    }
    if (XAxisOnly())
        return;
    const double v = m_valueSpacing;
    for (int k : Multiples(v, m_yMin + 0.2 * h, m_yMax - 1.1 * h)) {
        const int n = int(k * v);
        DrawText(HxFormat(u"%d", n), ox + HxAxisNumberOffsetY(n) * h, oy + n - 0.3 * h, oz);
    }
}

void CGScaleline::DrawForPick(int mode) {
    if (mode < 3 || m_hidden != 0 || !m_valid || !(g_viewZoom > 0.0f))
        return;
    const float k = g_unitLength / g_viewZoom;
    const float ox = m_origin[0], oy = m_origin[1], oz = m_origin[2];
    glLoadName(kPickClassScale);
    glPushName(m_id);
    glBegin(GL_QUADS);
    glVertex3f(ox + m_xMin, oy - 16.0f * k, oz);
    glVertex3f(ox + m_xMax, oy - 16.0f * k, oz);
    glVertex3f(ox + m_xMax, oy + 8.0f * k, oz);
    glVertex3f(ox + m_xMin, oy + 8.0f * k, oz);
    if (!XAxisOnly()) {
        glVertex3f(ox - 16.0f * k, oy + m_yMin, oz);
        glVertex3f(ox + 8.0f * k, oy + m_yMin, oz);
        glVertex3f(ox + 8.0f * k, oy + m_yMax, oz);
        glVertex3f(ox - 16.0f * k, oy + m_yMax, oz);
    }
    glEnd();
    glPopName();
}

// ---------------------------------------------------------------------------------------------
// The plane axes

int HxBuildAxes2D(CConstruction& run) {
    CGPage& page = run.Page();
    const float s = g_unitLength * 20.0f;
    // Points of the axes: fixed names, no figure but their labels (style 2), labels that keep their
    // size on the screen.
    auto settle = [&](CGVertex& point, float dx, float dy) {
        point.m_nameFixed = true;
        point.m_extB1 = 1;
        point.m_labelOffset[0] = dx;
        point.m_labelOffset[1] = dy;
        point.m_labelOffset[2] = 0.0f;
    };
    CGVertex* origin = nullptr;
    if (page.m_selPoints.GetCount() == 1)
        origin = DYNAMIC_DOWNCAST(CGVertex, page.FindCell(page.m_selPoints.GetHead()));
    if (origin) {
        origin->m_name = u"O";
        origin->m_flag2 = true;
    } else {
        origin = run.AddNamedPoint<CGVertex>(CString(u"O"), 0.0f, 0.0f, 0.0f);
        origin->m_size = 4.0f;
    }
    settle(*origin, -s, -s);
    origin->SyncVertex();

    struct CAxisEnd {
        const char16_t* name;
        float dx, dy, distance, labelX, labelY;
        bool hidden;
    };
    const CAxisEnd ends[4] = {{u"x'", 1, 0, -12 * s, -0.45f * s, -0.8f * s, true},
                              {u"x", 1, 0, 12 * s, -0.45f * s, -0.7f * s, false},
                              {u"y'", 0, 1, -12 * s, -0.7f * s, 0.0f, true},
                              {u"y", 0, 1, 12 * s, -0.7f * s, -0.3f * s, false}};
    WORD endIds[4];
    for (int i = 0; i < 4; ++i) {
        const CAxisEnd& e = ends[i];
        auto* point = run.AddNamedPoint<CGVerFreeParVector>(CString(e.name), e.dx, e.dy, 0.0f, origin->m_id);
        settle(*point, e.labelX, e.labelY);
        point->m_style = 2;
        point->m_size = 4.0f;
        point->m_param1 = e.distance;
        point->m_hidden = e.hidden ? 1 : 0;
        point->Recompute();
        endIds[i] = point->m_id;
    }
    const CRgba colors[2] = {{64, 64, 255, 255}, {96, 96, 192, 255}};
    for (int axis = 0; axis < 2; ++axis) {
        auto* line = run.AddCell<CGLine>(endIds[2 * axis], endIds[2 * axis + 1], CGLine::kSegment);
        line->m_kind = CGLine::kVector;
        line->m_style = 1;
        line->m_color.r = colors[axis].r;
        line->m_color.g = colors[axis].g;
        line->m_color.b = colors[axis].b;
        line->Recompute();
    }
    auto* scale = run.AddCell<CGScaleline>(origin->m_id, endIds[0], endIds[1], endIds[2], endIds[3], 0, 0, 0,
                                           2.0f, 2.0f);
    for (CRgba* c : {&scale->m_color, &scale->m_labelColor}) {
        c->r = c->g = c->b = 96;
    }
    return run.Count();
}
