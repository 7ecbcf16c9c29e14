// CGPage and the shared vertex array: the points of the page numbered from 1 in map order and
// copied into g_vertexArray, which grows when it cannot hold them.
#include "model/page.h"

#include "model/vertex.h"
#include "view/gl_context.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>
#include <new>

void CGPage::RebuildVertexArray() {
    // The array must hold every point of the page.  m_nextVertex says how many points the page
    // has handed out, but a page read from a damaged file may say less than it holds, so the
    // points are counted as well.
    int points = 0;
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            ++points;
    }
    const int needed = std::max(points + 1, int(m_nextVertex));
    if (!g_vertexArray || needed + 5 > g_vertexArrayCapacity) {
        const int capacity = needed + 50;
        float* block = new (std::nothrow) float[size_t(capacity + 10) * 3]();
        if (!block)
            return; // the old array and numbering stay; the caller's points are not drawn
        delete[] g_vertexArray;
        g_vertexArray = block;
        g_vertexArrayCapacity = capacity;
        if (HxMakeGlCurrent())
            glVertexPointer(3, GL_FLOAT, 0, g_vertexArray);
    }

    DWORD k = 1;
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        auto* point = DYNAMIC_DOWNCAST(CGVertex, cell);
        if (!point)
            continue;
        point->m_vertexIndex = k;
        if (float* slot = HxVertexSlot(k)) {
            slot[0] = point->m_x;
            slot[1] = point->m_y;
            slot[2] = point->m_z;
        }
        ++k;
    }
    m_nextVertex = WORD(k);

    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        cell->RefreshVertexIndices();
    }
}
