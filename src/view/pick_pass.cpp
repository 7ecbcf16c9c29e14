// The selection pass, the label pick diamond and the choice of a hit by tool.
#include "view/pick_pass.h"

#include "model/cell.h"
#include "model/cell_kinds.h"
#include "model/page.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

void HxLabelPickAxes(const float dir[3], float unitLength, float a[3], float b[3]) {
    const float k = 20.0f * unitLength;
    const float x = dir[0], y = dir[1], z = dir[2];
    if (x == 0.0f && y == 0.0f) {
        a[0] = 0.0f;
        a[1] = 0.5f * k;
        a[2] = 0.0f;
        b[0] = 0.5f * k;
        b[1] = 0.0f;
        b[2] = 0.0f;
        return;
    }
    const float s = 2.0f * std::sqrt(x * x + y * y);
    a[0] = k * (-y / s);
    a[1] = k * (x / s);
    a[2] = 0.0f;
    b[0] = k * (-x * z / s);
    b[1] = k * (-y * z / s);
    b[2] = k * ((x * x + y * y) / s);
}

void HxUpdateLabelPickAxes() {
    ComputeViewDirection();
    float dir[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    const float length = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
    if (length > 0.0f)
        for (float& c : dir)
            c /= length;
    HxLabelPickAxes(dir, g_unitLength, g_labelPickAxisA, g_labelPickAxisB);
}

void HxDecodeHitRecords(const unsigned int* buffer, size_t words, int count, std::vector<CPickHit>& hits) {
    hits.clear();
    size_t at = 0;
    for (int record = 0; count < 0 || record < count; ++record) {
        if (at + 3 > words)
            break;
        const size_t names = buffer[at];
        if (at + 3 + names > words)
            break; // cut off by the end of an overflowing buffer
        if (names >= 2)
            hits.push_back({buffer[at + 3], WORD(buffer[at + 4] & 0xFFFF)});
        at += 3 + names;
    }
}

int HxRunPickPass(CGPage& page, double cx, double cy, double w, double h, int mode, size_t bufferWords,
                  std::vector<CPickHit>& hits) {
    hits.clear();
    std::vector<GLuint> buffer;
    for (size_t words = bufferWords;; words *= 2) {
        buffer.assign(words, 0);
        glSelectBuffer(GLsizei(words), buffer.data());
        glRenderMode(GL_SELECT);

        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix(cx, cy, w, h, g_viewport);
        SetProjection(g_projectionType);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        double camera[16];
        ComputeViewCameraMatrix(camera);
        glMultMatrixd(camera);
        HxBindVertexArray();

        glInitNames();
        glPushName(0xFFFFFFFFu);
        const BOOL colors = g_useObjectColors;
        g_useObjectColors = FALSE;
        page.DrawPickNames(mode);
        g_useObjectColors = colors;
        glPopName();
        const GLint count = glRenderMode(GL_RENDER);

        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);

        if (count >= 0 || words * 2 > kMaxPickBufferWords) {
            HxDecodeHitRecords(buffer.data(), words, count, hits);
            return int(hits.size());
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Choosing a hit

namespace {

int LowestClass(const std::vector<CPickHit>& hits) {
    unsigned int lowest = kPickClassNone;
    for (const CPickHit& hit : hits)
        lowest = std::min(lowest, hit.pickClass);
    return int(lowest);
}

bool RemoveFirstOf(CList<WORD, WORD>& list, WORD id) {
    if (POSITION pos = list.Find(id)) {
        list.RemoveAt(pos);
        return true;
    }
    return false;
}

} // namespace

void HxChooseArrowPick(CGPage& page, const std::vector<CPickHit>& hits, int* pClass, WORD* pId) {
    page.m_walkList.RemoveAll();
    page.m_walkClass = 0;
    const int lowest = LowestClass(hits);
    page.m_walkClass = lowest;
    const CPickHit* best = nullptr;
    for (const CPickHit& hit : hits) {
        if (int(hit.pickClass) != lowest)
            continue;
        page.m_walkList.AddTail(hit.id);
        CGCell* cell = page.FindCell(hit.id);
        switch (lowest) {
        case 1:
        case 2:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 11: {
            CList<WORD, WORD>& kind = *page.KindListOfPickClass(lowest);
            if (RemoveFirstOf(kind, hit.id)) {
                if (cell)
                    cell->m_selected = false;
                *pId = hit.id;
                const bool wasSelected = RemoveFirstOf(page.m_selAll, hit.id);
                // A selected free point clicked again is unselected and still dragged.
                if (lowest == 1 && wasSelected && HxIsFreePoint(cell)) {
                    g_draggedId = hit.id;
                    g_dragMode = 1;
                    g_dragMoved = 0;
                }
                best = nullptr;
                if (CWnd* frame = AfxGetMainWnd())
                    frame->PostMessage(UM_SELECTION_CHANGED, 1, LPARAM(hit.id));
            } else if (!best) {
                best = &hit;
            }
            break;
        }
        case 3:
        case 10:
        case 12:
        case 13:
            best = &hit;
            break;
        default:
            break;
        }
    }
    if (best) {
        *pClass = int(best->pickClass);
        *pId = best->id;
    } else {
        *pClass = 0;
    }
}

void HxChooseDrawingPick(const std::vector<CPickHit>& hits, int* pClass, WORD* pId) {
    int best = kPickClassNone;
    for (const CPickHit& hit : hits) {
        if (int(hit.pickClass) <= best) {
            best = int(hit.pickClass);
            *pId = hit.id;
        }
    }
    *pClass = best;
}

void HxChooseToolPick(const std::vector<CPickHit>& hits, int marker, int* pClass, WORD* pId) {
    int best = kPickClassNone;
    for (const CPickHit& hit : hits) {
        if (int(hit.pickClass) <= best && int(hit.id) < marker) {
            best = int(hit.pickClass);
            *pId = hit.id;
        }
    }
    *pClass = best;
}
