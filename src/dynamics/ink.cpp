// Strokes and the ink cell.
#include "dynamics/ink.h"

#include "model/cell_draw.h"

#include <GL/gl.h>

#include <algorithm>


IMPLEMENT_DYNAMIC(CStroke, CObject)
IMPLEMENT_DYNAMIC(CGInkmarks, CGCell)

CStroke::CStroke(int count, const float* points) : m_color(g_currentColor) {
    m_points.reserve(size_t(std::max(count, 0)) * 3);
    for (int i = 0; i < count; ++i) {
        m_points.push_back(points[3 * i]);
        m_points.push_back(points[3 * i + 1]);
        m_points.push_back(-50.0f);
    }
}

void CStroke::Draw() const {
    HxGlColor(m_color);
    glBegin(GL_LINE_STRIP);
    for (size_t i = 0; i + 2 < m_points.size(); i += 3)
        glVertex3f(m_points[i], m_points[i + 1], m_points[i + 2]);
    glEnd();
}

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
}

void CGInkmarks::AddStroke(CStroke* stroke) {
    if (!stroke)
        return;
    m_strokes.push_back(stroke);
    for (size_t i = 0; i + 2 < stroke->m_points.size(); i += 3) {
        m_box[0] = std::min(m_box[0], stroke->m_points[i]);
        m_box[1] = std::min(m_box[1], stroke->m_points[i + 1]);
        m_box[2] = std::max(m_box[2], stroke->m_points[i]);
        m_box[3] = std::max(m_box[3], stroke->m_points[i + 1]);
    }
}
