// CGPage: numbering the points into the shared vertex array, the render passes of a frame, the
// coordinate system, the traces and the pick names.
#include "model/page.h"
#include "model/cell_draw.h"
#include "model/vertex.h"
#include "view/label_hooks.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The cells in map order, walked once per frame and then pass by pass.
std::vector<CGCell*> CellsInMapOrder(const CCellMap& cells) {
    std::vector<CGCell*> out;
    out.reserve(size_t(cells.GetCount()));
    for (POSITION pos = cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        cells.GetNextAssoc(pos, id, cell);
        out.push_back(cell);
    }
    return out;
}

// The traced cells still in the page, in list order.
std::vector<CGCell*> TracedCells(const CGPage& page) {
    std::vector<CGCell*> out;
    for (POSITION pos = page.m_tracedCells.GetHeadPosition(); pos;) {
        if (CGCell* cell = page.FindCell(page.m_tracedCells.GetNext(pos)))
            out.push_back(cell);
    }
    return out;
}

template <class F> void Each(const std::vector<CGCell*>& cells, F&& f) {
    for (CGCell* cell : cells)
        f(*cell);
}

void BeginLit() {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
}

void EndLit() {
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
}

// Which cells each pass walks: the frame draws every cell in every pass; the snapshot of traces
// draws only the traced cells in the fill, hidden-edge and visible-edge passes.
struct CPassCells {
    const std::vector<CGCell*>* all;
    const std::vector<CGCell*>* edges; // passes 1, 5 and 6
    bool snapshot;
};

// The textured labels of the visible-edge and on-top passes wait for the end of their pass and are
// drawn together in the pass's depth test.
//
// Passes 1 to 6: fills with polygon offset, lit solids first when edges behind them must come out
// dashed, translucent surfaces seen through each other, the depth of every surface without colour,
// the edges behind surfaces dashed, and the visible edges solid.
void DrawSurfacesAndEdges(CGPage& page, const CPassCells& cells) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    Each(*cells.edges, [](CGCell& c) { c.DrawFill(); });

    glShadeModel(GL_SMOOTH);
    if (page.m_dashedBehindLit) {
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
        Each(*cells.all, [](CGCell& c) { c.DrawLit(); });
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHTING);
    }

    glDepthMask(GL_FALSE);
    Each(*cells.all, [](CGCell& c) { c.DrawTranslucent(); });
    glDepthMask(GL_TRUE);

    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    if (cells.snapshot)
        Each(*cells.all, [](CGCell& c) {
            c.DrawFill();
            c.DrawDepth();
        });
    else
        Each(*cells.all, [](CGCell& c) { c.DrawDepth(); });
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_POLYGON_OFFSET_FILL);

    glDepthFunc(GL_GREATER);
    glEnable(GL_LINE_STIPPLE);
    Each(*cells.edges, [](CGCell& c) { c.DrawHidden(); });
    glDisable(GL_LINE_STIPPLE);
    glDepthFunc(GL_LEQUAL);

    CLabelBatchScope labels;
    Each(*cells.edges, [](CGCell& c) { c.DrawVisible(); });
}

// Passes 8 to 11: lit solids (when not drawn before the edges), the depth of translucent surfaces,
// the translucent surfaces lit from both sides over it, and last what stays on top.
void DrawSolidsAndOnTop(CGPage& page, const CPassCells& cells) {
    BeginLit();
    const BOOL lit = page.m_dashedBehindLit == 0 ? TRUE : FALSE;
    Each(*cells.all, [lit](CGCell& c) { c.DrawLit2(lit); });
    EndLit();

    // The depth of the translucent surfaces is laid in the state their colour is then drawn in (lit,
    // the colour on both sides), only the colour writes off: the colour walk passes its depth test
    // only where it meets the depth the first walk wrote, and OpenGL promises a surface the same
    // depths twice only when nothing but such settings as the colour mask changed in between.  Laid
    // with the lighting off, a slanted face comes out a little nearer at some pixels (Mesa), and rows
    // of them are left without the face's lit colour: light dots.
    BeginLit();
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    Each(*cells.all, [](CGCell& c) { c.DrawTranslucent(); });
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    Each(*cells.all, [](CGCell& c) { c.DrawTranslucent(); });
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    if (!cells.snapshot) {
        static const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
        static const GLfloat diffuse[4] = {0.6f, 0.6f, 0.6f, 1.0f};
        glMaterialfv(GL_BACK, GL_AMBIENT, ambient);
        glMaterialfv(GL_BACK, GL_DIFFUSE, diffuse);
    }
    EndLit();

    glDepthFunc(GL_ALWAYS);
    {
        CLabelBatchScope labels;
        Each(*cells.all, [](CGCell& c) { c.DrawOnTop(); });
    }
    glDepthFunc(GL_LEQUAL);
}

// A text of the coordinate system in the label glyphs at a raster position (in the current colour).
void DrawAxisText(const CString& text, double x, double y, double z) {
    glRasterPos3d(x, y, z);
    CString glyphs = HxLabelGlyphLists(text);
    if (!glyphs.IsEmpty())
        glCallLists(glyphs.GetLength(), GL_UNSIGNED_SHORT, glyphs.GetString());
}

// A filled arrow head and its outline through four corners.
void DrawArrowHead(const double corners[4][3]) {
    glBegin(GL_POLYGON);
    for (int i = 0; i < 4; ++i)
        glVertex3dv(corners[i]);
    glEnd();
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 4; ++i)
        glVertex3dv(corners[i]);
    glEnd();
}

// Tick and number spacings of the plane axes for q = zoom / (20 unit lengths).
void PlaneAxisSpacing(double q, float& tick, int& number) {
    struct Row {
        double below;
        float tick;
        int number;
    };
    static const Row rows[] = {{0.025, 200.0f, 200}, {0.05, 100.0f, 100}, {0.1, 50.0f, 50},
                               {0.25, 20.0f, 20},    {0.5, 10.0f, 10},    {0.75, 5.0f, 5},
                               {2.0, 2.0f, 2},       {5.0, 1.0f, 1},      {15.0, 0.5f, 1}};
    for (const Row& r : rows)
        if (q < r.below) {
            tick = r.tick;
            number = r.number;
            return;
        }
    tick = 0.1f;
    number = 1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Vertex array

void CGPage::RebuildVertexArray() {
    std::vector<CGCell*> cells = CellsInMapOrder(m_cells);
    long long points = 0;
    for (CGCell* cell : cells)
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            ++points;
    // The array must hold every point, whatever the stored next index says.
    const long long needed = std::max<long long>(points + 1, m_nextVertex);
    if (!g_vertexArray || needed + 5 > g_vertexArrayCapacity) {
        const long long capacity = needed + 5 > g_vertexArrayCapacity ? needed + 50 : g_vertexArrayCapacity;
        if (!HxReplaceVertexArray(capacity))
            AfxMessageBox(g_vertexArrayMemoryMessage, MB_OK);
    }
    DWORD k = 1;
    for (CGCell* cell : cells) {
        auto* point = DYNAMIC_DOWNCAST(CGVertex, cell);
        if (!point)
            continue;
        if (float* slot = HxVertexSlot(k)) {
            slot[0] = point->m_x;
            slot[1] = point->m_y;
            slot[2] = point->m_z;
        }
        point->m_vertexIndex = k++;
    }
    m_nextVertex = WORD(k);
    for (CGCell* cell : cells)
        cell->RefreshVertexIndices();
}

// ---------------------------------------------------------------------------------------------
// Frame

void CGPage::Draw() {
    const std::vector<CGCell*> cells = CellsInMapOrder(m_cells);
    const CPassCells pass{&cells, &cells, false};
    DrawSurfacesAndEdges(*this, pass);

    const float* bg = g_backgroundColor;
    if (g_coordDisplayFlags & 4) {
        glColor3f(0.3f * bg[0] + 0.35f, 0.3f * bg[1] + 0.35f, 0.3f * bg[2] + 0.35f);
        if (g_listBase != 0)
            glCallList(g_listBase + 4);
    }
    if (g_coordDisplayFlags & 2) {
        glColor3f(0.8f - 0.6f * bg[0], 0.8f - 0.6f * bg[1], 0.8f - 0.6f * bg[2]);
        if (g_clientWidth > 64)
            DrawPlaneAxes();
    } else if (g_coordDisplayFlags & 1) {
        DrawAxes();
    }
    glDepthFunc(GL_LEQUAL);

    DrawSolidsAndOnTop(*this, pass);
}

void CGPage::DrawTraces() {
    if (m_snapshot == 0) {
        glDisable(GL_DEPTH_TEST);
        for (CGCell* cell : TracedCells(*this))
            cell->DrawPlain();
        glEnable(GL_DEPTH_TEST);
        return;
    }
    const std::vector<CGCell*> cells = CellsInMapOrder(m_cells);
    const std::vector<CGCell*> traced = TracedCells(*this);
    const CPassCells pass{&cells, &traced, true};
    DrawSurfacesAndEdges(*this, pass);
    DrawSolidsAndOnTop(*this, pass);
}

void CGPage::DrawPickNames(int mode) {
    if (mode == 0)
        DrawPickNamesVertices();
    for (CGCell* cell : CellsInMapOrder(m_cells))
        cell->DrawForPick(mode);
}

// ---------------------------------------------------------------------------------------------
// Coordinate system

void CGPage::DrawAxes() {
    const double s = 20.0 * g_unitLength / g_viewZoom;
    // The eye's z axis in world coordinates: arrow heads spread square to it.
    const double v[3] = {g_modelviewMatrix[2], g_modelviewMatrix[6], g_modelviewMatrix[10]};
    struct Axis {
        int along;
        float color[3];
        const char16_t* letter;
        double letterAt[3];
    };
    static const Axis axes[3] = {{0, {1, 0, 0}, u"x", {12, 0, 0.2}},
                                 {1, {0, 1, 0}, u"y", {0, 12, 0.2}},
                                 {2, {0, 0, 1}, u"z", {0, 0, 12}}};
    for (const Axis& axis : axes) {
        glColor3fv(axis.color);
        // Across: perpendicular to the axis and to the line of sight.
        double across[3] = {0, 0, 0};
        const int a = axis.along, b = (a + 1) % 3, c = (a + 2) % 3;
        across[b] = v[c];
        across[c] = -v[b];
        if (a == 1) { // for y the across vector is (vz, 0, -vx)
            across[0] = v[2];
            across[2] = -v[0];
        }
        const double length =
            std::sqrt(across[0] * across[0] + across[1] * across[1] + across[2] * across[2]);
        if (length > 1e-12) {
            for (double& x : across)
                x /= length;
            double corners[4][3] = {};
            corners[0][a] = 12.0;
            corners[2][a] = 12.0 - 0.75 * s;
            for (int i = 0; i < 3; ++i) {
                corners[1][i] = 0.32 * s * across[i];
                corners[3][i] = -0.32 * s * across[i];
            }
            corners[1][a] += 12.0 - s;
            corners[3][a] += 12.0 - s;
            DrawArrowHead(corners);
        }
        DrawAxisText(axis.letter, axis.letterAt[0], axis.letterAt[1], axis.letterAt[2]);
    }
    glColor3f(0.5f, 0.5f, 0.0f);
    DrawAxisText(u"o", 0.0, 0.0, 0.2);
    glLineWidth(g_lineWidth);
    glBegin(GL_LINES);
    for (const Axis& axis : axes) {
        glColor3fv(axis.color);
        double end[3] = {0, 0, 0};
        end[axis.along] = 12.0;
        glVertex3d(0.0, 0.0, 0.0);
        glVertex3dv(end);
    }
    glEnd();
}

void CGPage::DrawPlaneAxes() {
    if (g_clientHeight < 65)
        return;
    const double zoom = g_viewZoom;
    const double u = g_unitLength;
    const double s = 20.0 * u / zoom;
    const double hw = (g_clientWidth - 20) * u / (2.0 * zoom);
    const double hh = (g_clientHeight - 20) * u / (2.0 * zoom);
    const double xmin = -hw - g_viewTransX / zoom, xmax = hw - g_viewTransX / zoom;
    const double ymin = -hh - g_viewTransY / zoom, ymax = hh - g_viewTransY / zoom;
    float tick = 1.0f;
    int number = 1;
    PlaneAxisSpacing(zoom / (20.0 * u), tick, number);

    const bool xAxis = ymin < 0 && ymax > s;
    const bool yAxis = xmin < 0 && xmax > s;
    const double xend = xmax - 1.2 * s, yend = ymax - 1.2 * s;
    const double xTickStart = double(long(xmin / tick)) * tick;
    const double yTickStart = double(long(ymin / tick)) * tick;

    glLineWidth(2.0f);
    glBegin(GL_LINES);
    if (xAxis) {
        glVertex3d(xmin, 0, 0);
        glVertex3d(xmax, 0, 0);
        for (long i = 0;; ++i) {
            const double x = xTickStart + double(i) * tick;
            if (x > xend)
                break;
            if (std::fabs(x) > 0.000001) {
                glVertex3d(x, 0, 0);
                glVertex3d(x, 0.3 * s, 0);
            }
        }
    }
    if (yAxis) {
        glVertex3d(0, ymin, 0);
        glVertex3d(0, ymax, 0);
        for (long j = 0;; ++j) {
            const double y = yTickStart + double(j) * tick;
            if (y > yend)
                break;
            if (std::fabs(y) > 0.000001) {
                glVertex3d(0, y, 0);
                glVertex3d(0.3 * s, y, 0);
            }
        }
    }
    glEnd();

    if (xAxis) {
        const double head[4][3] = {
            {xmax, 0, 0}, {xmax - s, 0.25 * s, 0}, {xmax - 0.75 * s, 0, 0}, {xmax - s, -0.25 * s, 0}};
        DrawArrowHead(head);
        DrawAxisText(u"x", xmax - 0.2 * s, -0.8 * s, 0);
    }
    if (yAxis) {
        const double head[4][3] = {
            {0, ymax, 0}, {0.25 * s, ymax - s, 0}, {0, ymax - 0.75 * s, 0}, {-0.25 * s, ymax - s, 0}};
        DrawArrowHead(head);
        DrawAxisText(u"y", -0.8 * s, ymax - 0.2 * s, 0);
    }
    glLineWidth(g_lineWidth);
    if (xAxis && yAxis)
        DrawAxisText(u"o", -0.68 * s, -0.68 * s, 0);

    if (xAxis) {
        for (long i = long(xmin / number) * number; i <= xend; i += number)
            if (i != 0)
                DrawAxisText(HxFormat(u"%d", int(i)), i - HxAxisNumberShiftX(int(i)) * s, -0.8 * s, 0);
    }
    if (yAxis) {
        for (long j = long(ymin / number) * number; j <= yend; j += number)
            if (j != 0)
                DrawAxisText(HxFormat(u"%d", int(j)), HxAxisNumberOffsetY(int(j)) * s, j - 0.3 * s, 0);
    }
    if (zoom >= 20.0) {
        if (xAxis) {
            const double start = double(long(xmin * 10.0)) / 10.0;
            for (long i = 0;; ++i) {
                const double x = start + 0.1 * double(i);
                if (x > xend)
                    break;
                if (std::fabs(x - std::round(x)) < 0.001)
                    continue;
                DrawAxisText(HxFormat(u"%.1f", x), x - (x <= 0 ? 0.8 : 0.58) * s, -0.8 * s, 0);
            }
        }
        if (yAxis) {
            const double start = double(long(ymin * 10.0)) / 10.0;
            for (long j = 0;; ++j) {
                const double y = start + 0.1 * double(j);
                if (y > yend)
                    break;
                if (std::fabs(y - std::round(y)) < 0.001)
                    continue;
                DrawAxisText(HxFormat(u"%.1f", y), (y <= 0 ? -1.6 : -1.2) * s, y - 0.3 * s, 0);
            }
        }
    }
}
