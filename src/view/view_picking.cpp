// The view's picking and unprojection: the selection pass under the mouse with the view's context,
// the choice of a hit by tool, and the mouse made into 3D points.
#include "view/halvix_view.h"

#include "model/page.h"
#include "view/pick_pass.h"
#include "view/texture_text.h"
#include "view/unprojection.h"
#include "view/view_globals.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

BOOL CHalvixView::PickAt(int x, int y, int* pClass, WORD* pId, BOOL labelsOnly) {
    CGPage* page = g_pCurPage;
    if (!page || !MakeContextCurrent())
        return FALSE;
    int mode = HX_PICK_GEOMETRY;
    if (g_mouseTool == 1) {
        mode = labelsOnly ? HX_PICK_LABELS : HX_PICK_ALL;
        HxUpdateLabelPickAxes();
    } else if (g_mouseTool == 6) {
        mode = page->m_toolInputIsValue ? HX_PICK_SCREEN_ITEMS : HX_PICK_GEOMETRY;
    }
    std::vector<CPickHit> hits;
    if (HxRunPickPass(*page, x, g_clientHeight - y, 10.0, 10.0, mode, kClickPickBufferWords, hits) <= 0)
        return FALSE;
    if (g_mouseTool == 1)
        HxChooseArrowPick(*page, hits, pClass, pId);
    else if (g_mouseTool == 6)
        HxChooseToolPick(hits, page->m_constructMarker, pClass, pId);
    else if (g_mouseTool >= 2 && g_mouseTool <= 5)
        HxChooseDrawingPick(hits, pClass, pId);
    return TRUE;
}

CGCell* CHalvixView::LabelUnder(int x, int y) const {
    CGPage* page = g_pCurPage;
    if (!page || !g_pTextureText)
        return nullptr;
    const double wx = x, wy = g_clientHeight - y;
    CGCell* found = nullptr;
    double nearest = 0.0;
    for (POSITION pos = page->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page->m_cells.GetNextAssoc(pos, id, cell);
        if (cell->m_labelHidden || cell->m_hidden || !cell->m_valid || cell->m_name.IsEmpty())
            continue;
        float corners[4][3];
        g_pTextureText->LabelCorners(cell->m_name, cell->m_labelPos[0], cell->m_labelPos[1],
                                     cell->m_labelPos[2], corners);
        // The rectangle on the screen round the four corners.
        double left = 1e300, right = -1e300, bottom = 1e300, top = -1e300;
        bool projected = true;
        for (const auto& corner : corners) {
            double sx, sy, sz;
            if (gluProject(corner[0], corner[1], corner[2], g_modelviewMatrix, g_projectionMatrix, g_viewport,
                           &sx, &sy, &sz) != GL_TRUE) {
                projected = false;
                break;
            }
            left = std::min(left, sx);
            right = std::max(right, sx);
            bottom = std::min(bottom, sy);
            top = std::max(top, sy);
        }
        if (!projected || wx < left || wx > right || wy < bottom || wy > top)
            continue;
        // Of overlapping labels, the one whose middle is nearest.
        const double d = std::hypot(wx - (left + right) / 2, wy - (bottom + top) / 2);
        if (!found || d < nearest) {
            found = cell;
            nearest = d;
        }
    }
    return found;
}

void CHalvixView::UnprojectToPlane(int x, int y, BOOL vertical, double* pX, double* pY, double* pZ) {
    HxUnprojectToPlane(x, y, vertical, pX, pY, pZ);
}

BOOL CHalvixView::DragOnPlane(int x, int y, double* pX, double* pY, double* pZ, float* pS, float* pT) {
    return HxDragOnPlane(m_planePoints, x, y, pX, pY, pZ, pS, pT);
}

// The box select's release: everything under the box of the press and the last mouse position,
// labels excepted, joins the selection once.
void CHalvixView::SelectInBox(CPoint point) {
    CGPage* page = g_pCurPage;
    if (!page || !MakeContextCurrent())
        return;
    const double cx = (point.x + g_pressX) * 0.5;
    const double cy = g_clientHeight - (point.y + g_pressY) / 2;
    const double w = std::max(2, std::abs(g_mouseX - g_pressX));
    const double h = std::max(2, std::abs(g_mouseY - g_pressY));
    HxUpdateLabelPickAxes();
    std::vector<CPickHit> hits;
    HxRunPickPass(*page, cx, cy, w, h, HX_PICK_ALL, kBoxPickBufferWords, hits);
    for (const CPickHit& hit : hits) {
        if (hit.pickClass == 3)
            continue; // labels are never box-selected
        CGCell* cell = page->FindCell(hit.id);
        if (!cell || cell->m_selected)
            continue;
        cell->m_selected = true;
        page->m_selAll.AddTail(hit.id);
        if (CList<WORD, WORD>* kind = page->KindListOfPickClass(int(hit.pickClass)))
            kind->AddTail(hit.id);
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(UM_SELECTION_CHANGED, 1, LPARAM(hit.id));
    }
}
