// The iteration figure's passes: the depth-first recursion over the branches with a snapshot of the
// images at every level, the colours by depth, the value table drawn beside the name, and picking.
#include "dynamics/iterate.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/texture_text.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr float kScreenZ = -50.0f;

float CharWidth() {
    return g_textCharWidth > 0 ? float(g_textCharWidth) : 8.0f;
}
float LineHeight() {
    return g_textLineHeight > 0 ? float(g_textLineHeight) : 22.0f;
}

// A point item's position and parameter, a value item's parameter, as four floats.
void Capture(const CGCell* cell, bool point, float* out) {
    if (point) {
        const auto* p = static_cast<const CGVertex*>(cell);
        out[0] = p->m_x;
        out[1] = p->m_y;
        out[2] = p->m_z;
    } else {
        out[0] = out[1] = out[2] = 0.0f;
    }
    out[3] = cell->m_param1;
}

// Puts four floats into a pre-image item: a point takes the position (into the vertex array, its
// label following) and the parameter, a value only the parameter.  The point's own placement is
// not run, so that a point on a carrier takes the image's position as it is.
void Apply(CGCell* cell, bool point, const float* in) {
    if (point) {
        auto* p = static_cast<CGVertex*>(cell);
        p->m_x = in[0];
        p->m_y = in[1];
        p->m_z = in[2];
        p->m_param1 = in[3];
        p->CGVertex::SyncVertex();
    } else {
        cell->m_param1 = in[3];
    }
}

void CallPass(CGCell* cell, int mode) {
    switch (mode) {
    case CGIterate::kFill:
        cell->DrawFill();
        break;
    case CGIterate::kDepth:
        cell->DrawDepth();
        break;
    case CGIterate::kHidden:
        cell->DrawHidden();
        break;
    case CGIterate::kVisible:
        cell->DrawVisible();
        break;
    case CGIterate::kOnTop:
        cell->DrawOnTop();
        break;
    case CGIterate::kLit:
        cell->DrawLit();
        break;
    case CGIterate::kTranslucent:
        cell->DrawTranslucent();
        break;
    default:
        break;
    }
}

void ScreenQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex3f(x0, y0, kScreenZ);
    glVertex3f(x1, y0, kScreenZ);
    glVertex3f(x1, y1, kScreenZ);
    glVertex3f(x0, y1, kScreenZ);
    glEnd();
}

void DrawTextAt(const CString& text, float x, float y) {
    const CString glyphs = GetTextGlyphLists(text);
    if (HxRasterPosForGlyphs(x, y, kScreenZ, glyphs))
        DrawGlyphString(glyphs);
}

void FlushTextQuads() {
    if (g_pTextureText)
        g_pTextureText->FlushWaiting();
}

// The identity matrix moved by the view's panning: the plane of the screen items.
void BeginScreenPlane() {
    FlushTextQuads();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(g_viewTransX, g_viewTransY, 0.0f);
}

void EndScreenPlane() {
    FlushTextQuads();
    glPopMatrix();
}

bool InThreeView() {
    return g_pCurPage && g_pCurPage->m_threeView != 0;
}

CString Number(float value) {
    CString text;
    text.Format(u"%.2f", double(value));
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The recursion

bool CGIterate::Resolve(Resolved& r) const {
    if (m_idSets.size() != size_t(m_branchCount) + 1 || m_itemCount < 0 || m_pointCount > m_itemCount)
        return false;
    const size_t n = size_t(m_itemCount);
    auto item = [&](WORD id, size_t i) -> CGCell* {
        CGCell* cell = HxFindCell(id);
        if (!cell || (i < size_t(m_pointCount) && !cell->IsKindOf(RUNTIME_CLASS(CGVertex))))
            return nullptr;
        return cell;
    };
    r.items.clear();
    r.images.clear();
    for (size_t s = 0; s < m_idSets.size(); ++s) {
        if (m_idSets[s].size() != n)
            return false;
        for (size_t i = 0; i < n; ++i) {
            CGCell* cell = item(m_idSets[s][i], i);
            if (!cell)
                return false;
            (s == 0 ? r.items : r.images).push_back(cell);
        }
    }
    auto all = [](const std::vector<WORD>& ids, std::vector<CGCell*>& out) {
        out.clear();
        for (WORD id : ids) {
            CGCell* cell = HxFindCell(id);
            if (!cell)
                return false;
            out.push_back(cell);
        }
        return true;
    };
    return all(m_chain, r.chain) && all(m_drawables, r.drawables) && all(m_values, r.values);
}

void CGIterate::SavePreImage(const Resolved& r) {
    m_savedPreImage.assign(r.items.size() * 4, 0.0f);
    for (size_t i = 0; i < r.items.size(); ++i)
        Capture(r.items[i], i < size_t(m_pointCount), &m_savedPreImage[i * 4]);
}

void CGIterate::RestorePreImage(Resolved& r) {
    if (m_savedPreImage.size() < r.items.size() * 4)
        return;
    for (size_t i = 0; i < r.items.size(); ++i)
        Apply(r.items[i], i < size_t(m_pointCount), &m_savedPreImage[i * 4]);
    for (CGCell* cell : r.chain)
        cell->Recompute();
}

void CGIterate::DrawDrawables(Resolved& r, int mode) {
    // A figure the user hid is still drawn at every level.
    for (CGCell* cell : r.drawables) {
        const int hidden = cell->m_hidden;
        cell->m_hidden = 0;
        CallPass(cell, mode);
        cell->m_hidden = hidden;
    }
}

void CGIterate::RecordTableRow(Resolved& r, int level) {
    const size_t columns = r.values.size() + 1;
    if (m_table.size() < size_t(kTableRows) * columns)
        return;
    m_tableRows = std::clamp(m_tableRows, 1, kLastTableRow);
    float* row = &m_table[size_t(m_tableRows) * columns];
    row[0] = float(level);
    for (size_t v = 0; v < r.values.size(); ++v)
        row[v + 1] = r.values[v]->m_param1;
    ++m_tableRows;
}

void CGIterate::Recurse(Resolved& r, int level, int mode) {
    if (level > m_depth)
        return;
    double rgb[3] = {0.0, 0.0, 0.0};
    if (m_levelColors)
        HslToRgb(rgb, 1.0 - double(level) / double(m_depth + 1), 1.0, 0.5);
    // Every branch starts from the state this level was entered with.
    const size_t n = r.items.size();
    const size_t branches = size_t(m_branchCount);
    std::vector<float> snapshot(branches * n * 4);
    for (size_t k = 0; k < branches; ++k)
        for (size_t i = 0; i < n; ++i)
            Capture(r.images[k * n + i], i < size_t(m_pointCount), &snapshot[(k * n + i) * 4]);
    for (size_t k = 0; k < branches; ++k) {
        for (size_t i = 0; i < n; ++i)
            Apply(r.items[i], i < size_t(m_pointCount), &snapshot[(k * n + i) * 4]);
        for (CGCell* cell : r.chain)
            cell->Recompute();
        if (m_levelColors)
            glColor3dv(rgb);
        if (m_showFull != 0 || level == m_depth)
            DrawDrawables(r, mode);
        if (mode == kOnTop && m_showTable != 0)
            RecordTableRow(r, level);
        Recurse(r, level + 1, mode);
    }
}

void CGIterate::RunPass(int mode) {
    if (m_inPass || !m_valid || m_hidden != 0)
        return;
    Resolved r;
    if (!Resolve(r))
        return;
    m_inPass = true;
    SavePreImage(r);
    const BOOL useObjectColors = g_useObjectColors;
    m_levelColors = false;
    if (useObjectColors) {
        if (m_selected)
            HxGlColor(g_colorSelection);
        else if (m_style == kOwnColor)
            HxGlColor(m_color);
        if (m_selected || m_style != kPreImageColors)
            g_useObjectColors = FALSE;
        m_levelColors = m_style == kDepthColors && !m_selected;
    }
    if (mode == kOnTop) {
        const size_t columns = r.values.size() + 1;
        if (m_table.size() >= columns) {
            m_table[0] = 0.0f;
            for (size_t v = 0; v < r.values.size(); ++v)
                m_table[v + 1] = r.values[v]->m_param1;
        }
    }
    Recurse(r, 1, mode);
    RestorePreImage(r);
    g_useObjectColors = useObjectColors;
    m_levelColors = false;
    m_inPass = false;
}

// ---------------------------------------------------------------------------------------------
// Passes

void CGIterate::DrawFill() {
    if (!m_solidOnly)
        RunPass(kFill);
}

void CGIterate::DrawDepth() {
    if (!m_solidOnly)
        RunPass(kDepth);
}

void CGIterate::DrawHidden() {
    if (!m_solidOnly)
        RunPass(kHidden);
}

void CGIterate::DrawVisible() {
    RunPass(kVisible);
}

void CGIterate::DrawLit() {
    if (!m_solidOnly)
        RunPass(kLit);
}

void CGIterate::DrawTranslucent() {
    if (!m_solidOnly)
        RunPass(kTranslucent);
}

void CGIterate::DrawOnTop() {
    if (!m_valid || m_hidden != 0)
        return;
    m_tableRows = 1;
    if (!m_solidOnly)
        RunPass(kOnTop);
    if (InThreeView() || !HxHasCurrentGlContext())
        return;
    DrawNameAndTable();
}

void CGIterate::DrawNameAndTable() {
    BeginScreenPlane();
    if (m_labelHidden == 0) {
        if (g_useObjectColors)
            HxGlColor(m_selected ? g_colorSelection : m_labelColor);
        // The glyph ids belong to the view's context of the moment: taken again at every drawing
        // from the label cache (a lookup per character).
        m_text2 = GetLabelGlyphLists(m_name);
        m_flag2 = false;
        if (HxRasterPosForGlyphs(m_labelPos[0], m_labelPos[1], kScreenZ, m_text2))
            DrawGlyphString(m_text2);
    }
    if (!m_values.empty() && m_showTable != 0 && m_solidOnly == 0)
        DrawTable();
    EndScreenPlane();
}

std::vector<int> CGIterate::ColumnChars() const {
    std::vector<int> chars;
    const int columns = int(m_values.size()) + 1;
    for (size_t v = 0; v < m_values.size(); ++v) {
        const CGCell* value = HxFindCell(m_values[v]);
        int longest = value ? value->m_name.GetLength() : 0;
        for (int row = 0; row < m_tableRows && row < kTableRows; ++row)
            longest = std::max(longest, Number(m_table[size_t(row * columns) + v + 1]).GetLength());
        chars.push_back(longest);
    }
    return chars;
}

void CGIterate::DrawTable() {
    const float u = g_unitLength;
    const float h = LineHeight() * u;
    const float w = CharWidth() * u;
    const float left = m_labelPos[0];
    const float top = m_labelPos[1] - 0.3f;
    const int rows = std::clamp(m_tableRows, 1, kLastTableRow + 1);
    const int columns = int(m_values.size()) + 1;
    const std::vector<int> chars = ColumnChars();
    std::vector<float> edges{left, left + 3.0f * w};
    for (int c : chars)
        edges.push_back(edges.back() + float(c) * w + 0.2f);
    m_tableRight = edges.back();

    const float header = top - h + 0.2f;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_labelColor);
    DrawTextAt(CString(u"n"), left + 0.6f, header);
    for (size_t v = 0; v < m_values.size(); ++v) {
        const CGCell* value = HxFindCell(m_values[v]);
        DrawTextAt(value ? value->m_name : CString(), edges[v + 1] + 0.3f, header);
    }
    for (int row = 0; row < rows; ++row) {
        const float baseline = header - float(row + 1) * h;
        const float* values = &m_table[size_t(row * columns)];
        CString level;
        level.Format(u"%2d", int(values[0]));
        DrawTextAt(level, left + 0.3f, baseline);
        for (size_t v = 0; v < m_values.size(); ++v)
            DrawTextAt(Number(values[v + 1]), edges[v + 1] + 0.3f, baseline);
    }

    if (g_useObjectColors)
        glColor3ub(64, 64, 64);
    glLineWidth(1.0f);
    const float bottom = top - float(rows + 1) * h;
    glBegin(GL_LINES);
    for (int line = 0; line <= rows + 1; ++line) {
        const float y = top - float(line) * h;
        glVertex3f(left, y, kScreenZ);
        glVertex3f(m_tableRight, y, kScreenZ);
    }
    for (float x : edges) {
        glVertex3f(x, top, kScreenZ);
        glVertex3f(x, bottom, kScreenZ);
    }
    glEnd();
}

void CGIterate::DrawForPick(int mode) {
    if (mode < 3 || !m_valid || m_hidden != 0)
        return;
    glLoadName(kPickClassText);
    glPushName(m_id);
    RunPass(kVisible);
    if (!m_solidOnly) {
        RunPass(kFill);
        RunPass(kHidden);
        m_tableRows = 1;
        RunPass(kOnTop);
        RunPass(kLit);
        RunPass(kTranslucent);
    }
    const bool screen = !InThreeView();
    if (screen && !m_values.empty() && m_showTable != 0 && !m_solidOnly) {
        const float h = LineHeight() * g_unitLength;
        BeginScreenPlane();
        ScreenQuad(m_labelPos[0], m_labelPos[1], std::max(m_tableRight, m_labelPos[0] + 1.0f),
                   m_labelPos[1] - float(m_tableRows + 1) * h);
        EndScreenPlane();
    }
    glPopName();
    if (screen && m_labelHidden == 0) {
        glLoadName(kPickClassLabel);
        glPushName(m_id);
        BeginScreenPlane();
        const float x = m_labelPos[0], y = m_labelPos[1] - 0.3f;
        ScreenQuad(x, y, x + 4.0f, y + 1.5f);
        EndScreenPlane();
        glPopName();
    }
}

void CGIterate::MoveLabel() {
    m_labelPos[0] += float(g_mouseDX) * g_unitLength;
    m_labelPos[1] -= float(g_mouseDY) * g_unitLength;
}
