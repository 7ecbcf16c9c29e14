// CGCell: defaults, the common record, copying, validity from the parents and the marking walks.
#include "model/cell.h"

#include "view/view_globals.h"

#include <GL/glu.h>

#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CGCell, CObject, 1)

CGCell::CGCell() : m_color(g_colorObject), m_labelColor(g_colorLabel), m_size(g_lineWidth) {}

CGCell::~CGCell() = default;

CGCell& CGCell::operator=(const CGCell& other) {
    if (this == &other)
        return *this;
    m_id = other.m_id;
    m_name = other.m_name;
    m_color = other.m_color;
    m_labelColor = other.m_labelColor;
    m_style = other.m_style;
    m_kind = other.m_kind;
    m_size = other.m_size;
    for (int i = 0; i < 3; ++i)
        m_labelPos[i] = other.m_labelPos[i];
    m_children.RemoveAll();
    for (WORD child : other.m_children)
        m_children.AddTail(child);
    m_valid = other.m_valid;
    m_hidden = other.m_hidden;
    m_labelHidden = other.m_labelHidden;
    m_nameFixed = other.m_nameFixed;
    m_param1 = other.m_param1;
    m_param2 = other.m_param2;
    m_param3 = other.m_param3;
    m_param4 = other.m_param4;
    m_text1 = other.m_text1;
    m_flag2 = other.m_flag2;
    m_text2 = other.m_text2;
    m_extB1 = other.m_extB1;
    m_selected = false;
    m_highlighted = false;
    m_mark = false;
    m_traced = false;
    return *this;
}

namespace {

void Transfer(CArchive& ar, CString& s) {
    if (ar.IsStoring())
        ar << s;
    else
        ar >> s;
}

template <class T> void Transfer(CArchive& ar, T& v) {
    if (ar.IsStoring())
        ar << v;
    else
        ar >> v;
}

void Transfer(CArchive& ar, CRgba& c) {
    Transfer(ar, c.r);
    Transfer(ar, c.g);
    Transfer(ar, c.b);
    Transfer(ar, c.a);
}

} // namespace

void CGCell::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    Transfer(ar, m_id);
    Transfer(ar, m_name);
    Transfer(ar, m_valid);
    Transfer(ar, m_hidden);
    Transfer(ar, m_labelHidden);
    Transfer(ar, m_style);
    Transfer(ar, m_kind);
    for (float& v : m_labelPos)
        Transfer(ar, v);
    Transfer(ar, m_color);
    Transfer(ar, m_labelColor);
    Transfer(ar, m_param1);
    Transfer(ar, m_param2);
    Transfer(ar, m_param3);
    Transfer(ar, m_param4);
    Transfer(ar, m_text1);
    Transfer(ar, m_nameFixed);
    Transfer(ar, m_size);
    Transfer(ar, m_traced);
    Transfer(ar, m_extA1);
    Transfer(ar, m_extA2);
    Transfer(ar, m_extA3);
    Transfer(ar, m_text3);
    if (!g_saveGfFormat) {
        Transfer(ar, m_extB1);
        Transfer(ar, m_extB2);
        Transfer(ar, m_extB3);
        Transfer(ar, m_extB4);
        Transfer(ar, m_extB5);
        Transfer(ar, m_text4);
    }
    if (ar.IsLoading()) {
        m_parents.RemoveAll();
        m_children.RemoveAll();
    }
    m_parents.Serialize(ar);
    m_children.Serialize(ar);
}

CGCell* HxFindCell(WORD id) {
    return g_cellMap ? g_cellMap->Find(id) : nullptr;
}

void CGCell::Recompute() {
    // A parent that cannot be found counts as invalid: the cell has nothing to stand on.
    for (WORD parentId : m_parents) {
        CGCell* parent = HxFindCell(parentId);
        if (!parent || !parent->m_valid) {
            m_valid = false;
            return;
        }
    }
    m_valid = true;
}

void CGCell::DrawLit2(BOOL lit) {
    if (lit)
        DrawLit();
}

CString CGCell::GetDescription() {
    return CString();
}

void CGCell::AddParent(WORD parentId) {
    m_parents.Add(parentId);
    if (CGCell* parent = HxFindCell(parentId))
        parent->m_children.AddTail(m_id);
}

// Both walks mark in depth-first order with an explicit stack, so that a long chain of
// constructions cannot exhaust the call stack.  A cell already marked is neither walked nor
// walked through, as a recursive walk that returns at once on a marked cell would do.
void CGCell::MarkDescendants(std::vector<WORD>* marked) {
    if (m_mark)
        return;
    std::vector<CGCell*> pending{this};
    while (!pending.empty()) {
        CGCell* cell = pending.back();
        pending.pop_back();
        for (WORD childId : cell->m_children) {
            CGCell* child = HxFindCell(childId);
            if (child && !child->m_mark) {
                child->m_mark = true;
                pending.push_back(child);
                if (marked)
                    marked->push_back(childId);
            }
        }
    }
}

void CGCell::MarkAncestors() {
    if (m_mark)
        return;
    std::vector<CGCell*> pending{this};
    while (!pending.empty()) {
        CGCell* cell = pending.back();
        pending.pop_back();
        for (WORD parentId : cell->m_parents) {
            CGCell* parent = HxFindCell(parentId);
            if (parent && !parent->m_mark) {
                parent->m_mark = true;
                pending.push_back(parent);
            }
        }
    }
}

CString FormatNumberAuto(float step, double value) {
    const double v = value;
    if (std::fabs(v - std::trunc(v)) < 0.000001)
        return CString(u"%.0f");
    double s = step;
    if (s > 1.001)
        return CString(u"%.2f");
    if (s > 0.999)
        return CString(u"%.0f");
    if (s > 0.0999)
        return CString(u"%.1f");
    if (s > 0.00999)
        return CString(u"%.2f");
    if (s > 0.000999)
        return CString(u"%.3f");
    if (s > 0.0000999)
        return CString(u"%.4f");
    return CString(u"%.5f");
}

void ComputeViewDirection() {
    ComputeViewDirection(g_modelviewMatrix);
}

void ComputeViewDirection(const double modelview[16]) {
    double nearPt[3], farPt[3];
    if (gluUnProject(600.0, 400.0, 0.0, modelview, g_projectionMatrix, g_viewport, &nearPt[0], &nearPt[1],
                     &nearPt[2]) != GL_TRUE)
        return;
    if (gluUnProject(600.0, 400.0, 1.0, modelview, g_projectionMatrix, g_viewport, &farPt[0], &farPt[1],
                     &farPt[2]) != GL_TRUE)
        return;
    for (int i = 0; i < 3; ++i) {
        g_pickRayNear[i] = nearPt[i];
        g_pickRayFar[i] = farPt[i];
    }
    g_viewDirX = float(nearPt[0] - farPt[0]);
    g_viewDirY = float(nearPt[1] - farPt[1]);
    g_viewDirZ = float(nearPt[2] - farPt[2]);
}
