// CGPolyhedron: copying, the record with its checks, and the drawing and picking of its styles.
#include "solids/polyhedron.h"

#include "model/cell_draw.h"
#include "model/page.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CGPolyhedron, CGCell, 1)

namespace {

[[noreturn]] void Refuse() {
    throw CArchiveException(CArchiveException::badIndex);
}

// A count read from the file: not negative, and each entry of at least minBytes must still be there.
int32_t ReadCount(CArchive& ar, size_t minBytes) {
    int32_t n = 0;
    ar >> n;
    if (n < 0)
        Refuse();
    ar.CheckCount(ULONGLONG(n), minBytes);
    return n;
}

bool IsFinite(const PolyPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

} // namespace

bool HxInThreeViewLayout() {
    return g_pCurPage && g_pCurPage->m_threeView != 0;
}

CGPolyhedron::CGPolyhedron() {
    m_color = CRgba{128, 128, 196, 255};
    m_style = kStyleVisible;
}

CGPolyhedron::CGPolyhedron(const CGPolyhedron& other) : CGCell() {
    CopyFigure(other);
}

CGPolyhedron& CGPolyhedron::operator=(const CGPolyhedron& other) {
    if (this != &other)
        CopyFigure(other);
    return *this;
}

void CGPolyhedron::CopyFigure(const CGPolyhedron& other) {
    m_points = other.m_points;
    m_edges = other.m_edges;
    m_faces = other.m_faces;
    m_offsetOrigin = other.m_offsetOrigin;
    m_offsetStep = other.m_offsetStep;
    m_style = other.m_style;
    m_color = other.m_color;
}

void CGPolyhedron::ClearGeometry() {
    m_points.clear();
    m_faces.clear();
    m_edges.clear();
}

void CGPolyhedron::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int32_t(m_points.size());
        for (const PolyPoint& p : m_points)
            ar << p.x << p.y << p.z;
        ar << int32_t(m_edges.size());
        for (PolyEdge& e : m_edges)
            SerializeEdge(e, ar);
        ar << int32_t(m_faces.size());
        for (PolyFace& f : m_faces)
            SerializeFace(f, ar);
        return;
    }
    // Every corner and edge end indexes the points when the figure is drawn, cut or unfolded.
    const int32_t pointCount = ReadCount(ar, 24);
    m_points.reserve(m_points.size() + size_t(pointCount));
    for (int32_t i = 0; i < pointCount; ++i) {
        PolyPoint p;
        ar >> p.x >> p.y >> p.z;
        if (!IsFinite(p))
            Refuse();
        m_points.push_back(p);
    }
    const int32_t total = int32_t(m_points.size());
    auto isPoint = [total](int32_t v) { return v >= 0 && v < total; };
    const int32_t edgeCount = ReadCount(ar, 8);
    m_edges.reserve(m_edges.size() + size_t(edgeCount));
    for (int32_t i = 0; i < edgeCount; ++i) {
        PolyEdge e;
        SerializeEdge(e, ar);
        if (!isPoint(e.first) || !isPoint(e.second))
            Refuse();
        m_edges.push_back(e);
    }
    const int32_t faceCount = ReadCount(ar, 96);
    m_faces.reserve(m_faces.size() + size_t(faceCount));
    for (int32_t i = 0; i < faceCount; ++i) {
        PolyFace f;
        SerializeFace(f, ar);
        if (f.loop.size() < 3)
            Refuse();
        for (int32_t v : f.loop) {
            if (!isPoint(v))
                Refuse();
        }
        m_faces.push_back(std::move(f));
    }
}

CString CGPolyhedron::GetDescription() {
    return CString(u"凸包");
}

PolyPoint CGPolyhedron::Displacement() const {
    return m_offsetOrigin + m_offsetStep * (double(m_param1) - 1.0);
}

void CGPolyhedron::DrawFaces(bool normals) const {
    for (const PolyFace& face : m_faces) {
        if (normals)
            glNormal3d(face.a, face.b, face.c);
        glBegin(GL_POLYGON);
        for (int32_t v : face.loop) {
            const PolyPoint& p = m_points[size_t(v)];
            glVertex3d(p.x, p.y, p.z);
        }
        glEnd();
    }
}

void CGPolyhedron::DrawEdges() const {
    glBegin(GL_LINES);
    for (const PolyEdge& e : m_edges) {
        const PolyPoint& p = m_points[size_t(e.first)];
        const PolyPoint& q = m_points[size_t(e.second)];
        glVertex3d(p.x, p.y, p.z);
        glVertex3d(q.x, q.y, q.z);
    }
    glEnd();
}

void CGPolyhedron::DrawPart(int mode) const {
    if (mode != 0 && mode != 1)
        return;
    const PolyPoint shift = Displacement();
    glPushMatrix();
    glTranslated(shift.x, shift.y, shift.z);
    if (mode == 1)
        DrawFaces(true);
    else if (!m_edges.empty())
        DrawEdges();
    glPopMatrix();
}

void CGPolyhedron::DrawDepth() {
    if (!HxIsDrawable(*this) || m_style == kStyleLit || m_faces.empty())
        return;
    // The page runs this pass with colour writes off.
    DrawPart(1);
}

void CGPolyhedron::DrawLit() {
    if (!HxIsDrawable(*this) || m_style != kStyleLit || m_faces.empty())
        return;
    if (g_useObjectColors)
        HxGlColor(m_color);
    DrawPart(1);
}

void CGPolyhedron::DrawVisible() {
    if (!HxIsDrawable(*this) || m_edges.empty() || (m_style == kStyleLit && !m_selected))
        return;
    if (g_useObjectColors)
        HxGlColor(m_selected ? g_colorSelection : m_color);
    DrawPart(0);
}

void CGPolyhedron::DrawHidden() {
    if (m_style != kStyleAuto)
        return;
    DrawVisible();
}

void CGPolyhedron::DrawOnTop() {
    if (!HxIsDrawable(*this) || m_style != kStyleAuto || m_points.empty())
        return;
    if (g_useObjectColors)
        HxGlColor(m_color);
    const PolyPoint shift = Displacement();
    glPushMatrix();
    glTranslated(shift.x, shift.y, shift.z);
    glBegin(GL_POINTS);
    for (const PolyPoint& p : m_points)
        glVertex3d(p.x, p.y, p.z);
    glEnd();
    glPopMatrix();
}

void CGPolyhedron::DrawForPick(int mode) {
    if (!HxIsDrawable(*this) || HxInThreeViewLayout() || mode < 3)
        return;
    glLoadName(kPickClassPolyhedron);
    glPushName(m_id);
    if (!m_faces.empty())
        DrawPart(1);
    glPopName();
}
