// A polygon cell for rendering tests: corners on points of the page, drawn from the shared vertex
// array in the pass of its style (0 depth only, 1 filled, 3 lit, 4 lit and translucent), the way a
// face of the program is.
#pragma once

#include "model/cell_draw.h"
#include "model/vertex.h"

#include <GL/gl.h>

#include <initializer_list>
#include <vector>

class CTestFace : public CGCell {
public:
    CTestFace(WORD id, std::initializer_list<WORD> corners, CRgba color, BYTE style) {
        m_id = id;
        m_color = color;
        m_style = style;
        for (WORD c : corners)
            AddParent(c);
        RefreshVertexIndices();
    }
    void RefreshVertexIndices() override {
        m_indices.clear();
        for (WORD c : m_parents)
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(c)))
                m_indices.push_back(GLuint(p->m_vertexIndex));
    }
    void DrawFill() override {
        if (HxIsDrawable(*this) && m_style == 1)
            Polygon(true);
    }
    void DrawDepth() override {
        if (HxIsDrawable(*this) && m_style == 0)
            Polygon(false);
    }
    void DrawLit() override {
        if (HxIsDrawable(*this) && m_style == 3)
            Polygon(true);
    }
    void DrawTranslucent() override {
        if (HxIsDrawable(*this) && m_style == 4)
            Polygon(true);
    }

    std::vector<GLuint> m_indices;

private:
    void Polygon(bool colored) {
        if (colored && g_useObjectColors)
            HxGlColor(m_color);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glDrawElements(GL_POLYGON, GLsizei(m_indices.size()), GL_UNSIGNED_INT, m_indices.data());
    }
};
