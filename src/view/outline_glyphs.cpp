// Outline glyphs: the character's path from the font, tessellated with GLU for the front and back
// faces, quads along every loop for the sides.
#include "view/outline_glyphs.h"

#include "view/gl_context.h"
#include "view/glyph_font.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace {
constexpr int kMaxCharacters = 16;
constexpr double kExtrusion = 0.2;
constexpr int kPathPixelSize = 256; // fine enough for smooth curves, scaled down to one em

// Vertices the tessellator makes where outlines cross live until the list is compiled.
struct TessState {
    std::deque<std::array<double, 3>> extra;
};

void GLAPIENTRY TessBegin(GLenum type) {
    glBegin(type);
}
void GLAPIENTRY TessVertex(void* data) {
    glVertex3dv(static_cast<const GLdouble*>(data));
}
void GLAPIENTRY TessEnd() {
    glEnd();
}
void GLAPIENTRY TessCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* user) {
    auto* state = static_cast<TessState*>(user);
    state->extra.push_back({coords[0], coords[1], coords[2]});
    *out = state->extra.back().data();
}
void GLAPIENTRY TessError(GLenum) {}

void DrawFace(GLUtesselator* tess, const COutlineGlyph& glyph, double z, bool front) {
    // Vertex storage must outlive gluTessEndPolygon.
    std::vector<std::vector<std::array<double, 3>>> points;
    points.reserve(glyph.loops.size());
    TessState state;
    glNormal3d(0.0, 0.0, front ? 1.0 : -1.0);
    gluTessNormal(tess, 0.0, 0.0, front ? 1.0 : -1.0);
    gluTessBeginPolygon(tess, &state);
    for (const auto& loop : glyph.loops) {
        auto& pts = points.emplace_back();
        for (size_t i = 0; i + 1 < loop.size(); i += 2)
            pts.push_back({loop[i], loop[i + 1], z});
        gluTessBeginContour(tess);
        for (auto& p : pts)
            gluTessVertex(tess, p.data(), p.data());
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
}

// Twice the signed area of a loop (positive when it runs counter-clockwise, y up).
double LoopArea(const std::vector<double>& loop) {
    const size_t n = loop.size() / 2;
    double area = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        area += loop[2 * i] * loop[2 * j + 1] - loop[2 * j] * loop[2 * i + 1];
    }
    return area;
}

// Whether a point lies inside a loop (crossing count).
bool InsideLoop(const std::vector<double>& loop, double x, double y) {
    const size_t n = loop.size() / 2;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = loop[2 * i], yi = loop[2 * i + 1], xj = loop[2 * j], yj = loop[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

// The sides face away from the filled part of the glyph whichever way the font runs its outlines.
void DrawSides(const COutlineGlyph& glyph) {
    for (size_t k = 0; k < glyph.loops.size(); ++k) {
        const std::vector<double>& loop = glyph.loops[k];
        const size_t n = loop.size() / 2;
        if (n < 2)
            continue;
        const bool solidOnLeft = HxOutlineLoopHasSolidOnLeft(glyph, k);
        glBegin(GL_QUADS);
        for (size_t i = 0; i < n; ++i) {
            size_t a = i, b = (i + 1) % n;
            if (!solidOnLeft)
                std::swap(a, b);
            const double x0 = loop[2 * a], y0 = loop[2 * a + 1], x1 = loop[2 * b], y1 = loop[2 * b + 1];
            const double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
            if (len > 0)
                glNormal3d(dy / len, -dx / len, 0.0);
            glVertex3d(x0, y0, 0.0);
            glVertex3d(x0, y0, -kExtrusion);
            glVertex3d(x1, y1, -kExtrusion);
            glVertex3d(x1, y1, 0.0);
        }
        glEnd();
    }
}

// One character, then the move to the next one: what its display list holds.
void DrawOutlineGlyph(const COutlineGlyph& glyph, int format, GLUtesselator* tess) {
    if (format == HX_FONT_LINES) {
        for (const auto& loop : glyph.loops) {
            glBegin(GL_LINE_LOOP);
            for (size_t i = 0; i + 1 < loop.size(); i += 2)
                glVertex3d(loop[i], loop[i + 1], 0.0);
            glEnd();
        }
    } else if (!glyph.loops.empty()) {
        DrawFace(tess, glyph, 0.0, true);
        DrawFace(tess, glyph, -kExtrusion, false);
        DrawSides(glyph);
    }
    glTranslated(glyph.advance, 0.0, 0.0);
}

// The tessellator of the filled faces, its vertices put straight into the GL (into a list being
// compiled, or drawn); null when GLU gives none.
GLUtesselator* NewFaceTessellator() {
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return nullptr;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(TessVertex));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(TessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(TessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(TessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    return tess;
}
} // namespace

bool HxOutlineLoopHasSolidOnLeft(const COutlineGlyph& glyph, size_t loop) {
    const std::vector<double>& points = glyph.loops[loop];
    if (points.size() < 6)
        return true;
    // A loop inside an odd number of others is a hole: the solid lies outside it.
    int depth = 0;
    for (size_t m = 0; m < glyph.loops.size(); ++m)
        if (m != loop && glyph.loops[m].size() >= 6 && InsideLoop(glyph.loops[m], points[0], points[1]))
            ++depth;
    return (LoopArea(points) > 0.0) != (depth % 2 == 1);
}

COutlineGlyph HxOutlineGlyph(const CString& face, char16_t ch) {
    COutlineGlyph glyph;
    QFont font = HxCreateFont(face, -kPathPixelSize, 700, false, true);
    const QString text(QChar{ch});
    glyph.advance = QFontMetricsF(font).horizontalAdvance(text) / kPathPixelSize;
    QPainterPath path;
    path.addText(0.0, 0.0, font, text);
    for (const QPolygonF& polygon : path.toSubpathPolygons()) {
        std::vector<double> loop;
        int count = int(polygon.size());
        // A closed subpath repeats its first point at the end.
        if (count > 1 && polygon.first() == polygon.last())
            --count;
        if (count < 3)
            continue;
        for (int i = 0; i < count; ++i) {
            loop.push_back(polygon[i].x() / kPathPixelSize);
            loop.push_back(-polygon[i].y() / kPathPixelSize);
        }
        glyph.loops.push_back(std::move(loop));
    }
    return glyph;
}

CString BuildOutlineGlyphLists(UINT& base, const CString& text, const CString& face, int format) {
    if (!HxMakeGlCurrent())
        return CString();
    if (base != 0) {
        glDeleteLists(base, kMaxCharacters);
        base = 0;
    }
    GLuint block = glGenLists(kMaxCharacters);
    if (block == 0)
        return CString();
    if (block + kMaxCharacters - 1 > 0xFFFF) {
        glDeleteLists(block, kMaxCharacters);
        return CString();
    }
    base = block;
    return CompileOutlineGlyphLists(block, text, face, format);
}

CString CompileOutlineGlyphLists(UINT block, const CString& text, const CString& face, int format) {
    static_assert(kMaxCharacters == HX_OUTLINE_GLYPH_LISTS);
    // The names are kept as 16-bit units.
    if (block == 0 || block + kMaxCharacters - 1 > 0xFFFF)
        return CString();
    GLUtesselator* tess = NewFaceTessellator();
    if (!tess)
        return CString();
    CString result;
    const int count = std::min(text.GetLength(), kMaxCharacters);
    for (int i = 0; i < count; ++i) {
        glNewList(block + i, GL_COMPILE);
        DrawOutlineGlyph(HxOutlineGlyph(face, text[i]), format, tess);
        glEndList();
        result += char16_t(block + i);
    }
    gluDeleteTess(tess);
    return result;
}

void DrawOutlineGlyphs(const CString& text, const CString& face, int format) {
    GLUtesselator* tess = NewFaceTessellator();
    if (!tess)
        return;
    const int count = std::min(text.GetLength(), kMaxCharacters);
    for (int i = 0; i < count; ++i)
        DrawOutlineGlyph(HxOutlineGlyph(face, text[i]), format, tess);
    gluDeleteTess(tess);
}
