// CGVertex: construction, record, label dragging and the drawing and picking passes of points.
#include "model/vertex.h"

#include "model/cell_draw.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CGVertex, CGCell, 1)

namespace {

void SetPointColorAndSize(CGCell& cell) {
    // The alpha stays the one the cell took from the object colour.
    cell.m_color.r = g_colorPoint.r;
    cell.m_color.g = g_colorPoint.g;
    cell.m_color.b = g_colorPoint.b;
    cell.m_size = g_pointSize;
}

} // namespace

CGVertex::CGVertex() {
    m_labelHidden = 0;
    SetPointColorAndSize(*this);
}

CGVertex::CGVertex(WORD id, DWORD vertexIndex, const CString& name, float x, float y, float z) {
    m_id = id;
    m_vertexIndex = vertexIndex;
    m_name = name;
    m_labelHidden = 0;
    m_labelOffset[0] = 4.0f * g_unitLength;
    m_labelOffset[1] = 0.0f;
    m_labelOffset[2] = 4.0f * g_unitLength;
    SetPointColorAndSize(*this);
    SetPosition(x, y, z);
}

void CGVertex::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring())
        ar << m_x << m_y << m_z << m_labelOffset[0] << m_labelOffset[1] << m_labelOffset[2];
    else
        ar >> m_x >> m_y >> m_z >> m_labelOffset[0] >> m_labelOffset[1] >> m_labelOffset[2];
}

void CGVertex::SetPosition(float x, float y, float z) {
    m_x = x;
    m_y = y;
    m_z = z;
    SyncVertex();
}

void CGVertex::SyncVertex() {
    if (float* slot = HxVertexSlot(m_vertexIndex)) {
        slot[0] = m_x;
        slot[1] = m_y;
        slot[2] = m_z;
    }
    m_labelPos[0] = m_x + m_labelOffset[0];
    m_labelPos[1] = m_y + m_labelOffset[1];
    m_labelPos[2] = m_z + m_labelOffset[2];
}

CString CGVertex::GetDescription() {
    return CString(u"固定点");
}

void CGVertex::MoveLabel() {
    const double* far = g_pickRayFar;
    const double dir[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    // Ctrl held: the plane y = point y, else z = point z.
    const int axis = g_dragKeepZ ? 2 : 1;
    if (std::fabs(dir[axis]) < 10.0)
        return;
    const double plane = axis == 2 ? m_z : m_y;
    const double t = (plane - far[axis]) / dir[axis];
    float hit[3];
    for (int i = 0; i < 3; ++i)
        hit[i] = float(far[i] + t * dir[i]);
    double offset[3] = {double(hit[0] - m_x), double(hit[1] - m_y), double(hit[2] - m_z)};
    const double length = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
    const double limit = 40.0 * g_unitLength;
    if (limit < length) {
        for (double& v : offset)
            v *= limit / length;
    }
    for (int i = 0; i < 3; ++i)
        m_labelOffset[i] = float(offset[i]);
    m_labelPos[0] = m_x + m_labelOffset[0];
    m_labelPos[1] = m_y + m_labelOffset[1];
    m_labelPos[2] = m_z + m_labelOffset[2];
}

void CGVertex::ApplyFigureColor() {
    if (!g_useObjectColors)
        return;
    if (m_selected)
        HxGlColor(g_colorSelection);
    else if (m_highlighted)
        HxGlColorInverted(m_color);
    else
        HxGlColor(m_color);
}

void CGVertex::DrawElement() const {
    if (!HxVertexSlot(m_vertexIndex))
        return;
    glBegin(GL_POINTS);
    glArrayElement(GLint(m_vertexIndex));
    glEnd();
}

void CGVertex::DrawDisc() {
    float size = m_size;
    if (g_useObjectColors && m_selected)
        size = m_size < 17.0f ? m_size + 3.0f : 20.0f;
    glPointSize(size);
    ApplyFigureColor();
    DrawElement();
}

void CGVertex::DrawOnTop() {
    if (!HxIsDrawable(*this) || HiddenWhenCovered())
        return;
    if (Shape() == 0)
        DrawDisc();
    DrawCellLabel(*this);
}

void CGVertex::DrawVisible() {
    if (!HxIsDrawable(*this) || !HiddenWhenCovered())
        return;
    if (Shape() == 0)
        DrawDisc();
    DrawCellLabel(*this);
}

void CGVertex::DrawLit() {
    DrawLit2(FALSE);
}

void CGVertex::DrawLit2(BOOL) {
    if (!HxIsDrawable(*this) || m_style < 4 || g_listBase == 0)
        return;
    ApplyFigureColor();
    glPushMatrix();
    glTranslatef(m_x, m_y, m_z);
    // A fixed factor: the ball keeps its size in drawing units whatever the unit length.
    const float scale = m_size * 0.05f;
    glScalef(scale, scale, scale);
    glCallList(g_listBase + 11);
    glPopMatrix();
}

void CGVertex::DrawPlain() {
    if (!HxIsDrawable(*this))
        return;
    HxGlColor(m_color);
    glPointSize(m_size);
    DrawElement();
}

void CGVertex::DrawForPick(int mode) {
    if (!HxIsDrawable(*this))
        return;
    if (mode > 1) {
        glLoadName(kPickClassPoint);
        glPushName(m_id);
        DrawElement();
        glPopName();
    }
    if (mode == 3 || mode == 0)
        DrawCellLabelForPick(*this);
}
