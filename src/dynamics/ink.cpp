// Strokes and the ink cell: records with checked counts, drawing and picking in the screen plane.
#include "dynamics/ink.h"

#include "model/cell_draw.h"
#include "model/model_globals.h"
#include "model/page.h"
#include "view/gl_context.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>

CRgba g_inkColor{255, 0, 0, 255};

CRgba HxInkPenColor() {
    return g_inkColor;
}

IMPLEMENT_SERIAL(CStroke, CObject, 1)
IMPLEMENT_SERIAL(CGInkmarks, CGCell, 1)

CStroke::CStroke() = default;

CStroke::CStroke(int count, const float* points) : m_color(HxInkPenColor()) {
    m_points.reserve(size_t(std::max(count, 0)) * 3);
    for (int i = 0; i < count; ++i) {
        m_points.push_back(points[3 * i]);
        m_points.push_back(points[3 * i + 1]);
        m_points.push_back(-50.0f);
    }
}

void CStroke::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int(GetCount());
        for (size_t i = 0; i + 2 < m_points.size(); i += 3)
            ar << m_points[i] << m_points[i + 1];
        return;
    }
    int count = 0;
    ar >> count;
    if (count < 0)
        throw CArchiveException(CArchiveException::badIndex);
    ar.CheckCount(ULONGLONG(count), 8);
    m_points.assign(size_t(count) * 3, -50.0f);
    for (int i = 0; i < count; ++i)
        ar >> m_points[size_t(i) * 3] >> m_points[size_t(i) * 3 + 1];
}

void CStroke::Draw() const {
    glBegin(GL_LINE_STRIP);
    for (size_t i = 0; i + 2 < m_points.size(); i += 3)
        glVertex3f(m_points[i], m_points[i + 1], m_points[i + 2]);
    glEnd();
}

void CStroke::DrawColored() const {
    HxGlColor(m_color);
    Draw();
}

CGInkmarks::CGInkmarks() = default;

CGInkmarks::CGInkmarks(WORD id, CStroke* first) {
    m_id = id;
    m_name = u"Ink Marks";
    m_size = 3.0f;
    if (first) {
        m_color = first->m_color;
        AddStroke(first);
    }
}

CGInkmarks::~CGInkmarks() {
    for (CStroke* stroke : m_strokes)
        delete stroke;
    m_strokes.clear();
}

void CGInkmarks::AddStroke(CStroke* stroke) {
    if (!stroke)
        return;
    m_strokes.push_back(stroke);
    for (size_t i = 0; i + 2 < stroke->m_points.size(); i += 3) {
        m_box[0] = std::min(m_box[0], stroke->m_points[i]);
        m_box[1] = std::max(m_box[1], stroke->m_points[i]);
        m_box[2] = std::min(m_box[2], stroke->m_points[i + 1]);
        m_box[3] = std::max(m_box[3], stroke->m_points[i + 1]);
    }
}

void CGInkmarks::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        for (float v : m_box)
            ar << v;
        ar.WriteCount(ULONGLONG(m_strokes.size()));
        for (const CStroke* stroke : m_strokes)
            ar.WriteObject(stroke);
        return;
    }
    for (float& v : m_box)
        ar >> v;
    for (CStroke* stroke : m_strokes)
        delete stroke;
    m_strokes.clear();
    const DWORD count = ar.ReadCount();
    // Each stroke takes at least a class reference and its count.
    ar.CheckCount(count, 6);
    m_strokes.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        CObject* object = ar.ReadObject(RUNTIME_CLASS(CStroke));
        if (!object)
            throw CArchiveException(CArchiveException::badIndex);
        m_strokes.push_back(static_cast<CStroke*>(object));
    }
}

bool CGInkmarks::BeginScreen() const {
    if (m_hidden != 0 || (g_pCurPage && g_pCurPage->m_threeView != 0))
        return false;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(g_viewTransX, g_viewTransY, 0.0f);
    glTranslatef(m_labelPos[0], m_labelPos[1], 0.0f);
    return true;
}

void CGInkmarks::DrawOnTop() {
    if (!BeginScreen())
        return;
    if (m_selected) {
        HxGlColor(g_colorSelection);
        glBegin(GL_LINE_LOOP);
        glVertex3f(m_box[0], m_box[2], -50.0f);
        glVertex3f(m_box[0], m_box[3], -50.0f);
        glVertex3f(m_box[1], m_box[3], -50.0f);
        glVertex3f(m_box[1], m_box[2], -50.0f);
        glEnd();
    }
    HxGlColor(m_color);
    glLineWidth(m_size);
    for (const CStroke* stroke : m_strokes)
        stroke->Draw();
    glPopMatrix();
    glLineWidth(g_lineWidth);
}

void CGInkmarks::DrawForPick(int mode) {
    if (mode < 3 || !BeginScreen())
        return;
    glLoadName(kPickClassCircle);
    glPushName(m_id);
    for (const CStroke* stroke : m_strokes)
        stroke->Draw();
    glPopName();
    glPopMatrix();
}

CString CGInkmarks::GetDescription() {
    return CString(u"画笔留下的墨迹");
}
