// The edit commands of the document: the lighting of the selection switched, lines, faces, circles
// and surfaces reversed, points, circles and solids separated from their parents (one undo step),
// the numbering of pages and cells compacted, screen items aligned, and the message map entries of
// these commands, the view marks, the view buttons and the surface.
#include "document/halvix_doc.h"

#include "document/undo_cmds.h"
#include "dynamics/buttons.h"
#include "dynamics/edit_ids.h"
#include "dynamics/iterate.h"
#include "dynamics/surface.h"
#include "measure/text_items.h"
#include "model/arc_circles.h"
#include "model/face.h"
#include "model/line.h"
#include "points/constructed_arcs.h"
#include "solids/revolution.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;

bool IsSolidOfRevolution(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGSphere)) || cell->IsKindOf(RUNTIME_CLASS(CGCylinder)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGCone)) || cell->IsKindOf(RUNTIME_CLASS(CGFrustum));
}

// The lit style a selected cell switches to (or back from), by the first class that matches.
void SwitchLighting(CGCell& cell) {
    BYTE& style = cell.m_style;
    if (cell.IsKindOf(RUNTIME_CLASS(CGVertex))) {
        switch (style) {
        case 0:
        case 2:
            style = 4;
            break;
        case 1:
        case 3:
            style = 5;
            break;
        case 4:
            style = 0;
            break;
        case 5:
            style = 1;
            break;
        default:
            break;
        }
        return;
    }
    // Leaving the translucent style of a class makes the cell opaque first.
    auto toggle = [&cell, &style](BYTE lit, BYTE off, BYTE translucent) {
        if (style == lit) {
            style = off;
            return;
        }
        if (style == translucent)
            cell.m_color.a = 255;
        style = lit;
    };
    if (cell.IsKindOf(RUNTIME_CLASS(CGLine))) {
        style = style == 4 ? 0 : 4;
    } else if (cell.IsKindOf(RUNTIME_CLASS(CGFace))) {
        toggle(3, 0, 4);
    } else if (cell.IsKindOf(RUNTIME_CLASS(CGArc))) {
        toggle(1, 0, 2);
    } else if (IsSolidOfRevolution(&cell)) {
        toggle(2, 0, 3);
    } else if (auto* surface = DYNAMIC_DOWNCAST(CGSurface, &cell)) {
        if (style == CGSurface::kStyleLit) {
            style = CGSurface::kStyleWire;
        } else {
            if (style == CGSurface::kStyleTranslucent)
                cell.m_color.a = 255;
            style = CGSurface::kStyleLit;
        }
        surface->BuildDisplayList();
    }
}

// An angle brought into [0, 2 pi).
double Reduce(double a) {
    return a - std::floor(a / kTwoPi) * kTwoPi;
}

// The arc's own reversal: false (after the message) for an arc on a circle, which follows its circle.
bool ReverseArc(CGArc& arc) {
    if (arc.IsKindOf(RUNTIME_CLASS(CGArcCenterP))) {
        if (arc.m_parents.GetSize() > 2)
            std::swap(arc.m_parents[1], arc.m_parents[2]);
    } else if (arc.IsKindOf(RUNTIME_CLASS(CGArcCircle3P))) {
        if (arc.m_parents.GetSize() > 2)
            std::swap(arc.m_parents[0], arc.m_parents[2]);
    } else if (arc.IsKindOf(RUNTIME_CLASS(CGArcInCircle))) {
        AfxMessageBox(kArcOnCircleMessage, MB_OK);
        return false;
    } else if (arc.IsKindOf(RUNTIME_CLASS(CGArcPointN)) || arc.IsKindOf(RUNTIME_CLASS(CGArcPoint2)) ||
               arc.IsKindOf(RUNTIME_CLASS(CGArcCenterR))) {
        arc.m_extA2 = 1 - arc.m_extA2;
    } else {
        for (int i = 0; i < 3; ++i)
            std::swap(arc.m_axisU[i], arc.m_axisV[i]);
        const double start = Reduce(kHalfPi - double(arc.m_endAngle));
        double end = Reduce(kHalfPi - double(arc.m_startAngle));
        if (start > end)
            end += kTwoPi;
        arc.m_startAngle = float(start);
        arc.m_endAngle = float(end);
    }
    return true;
}

// The detached copy of a solid of revolution: the base class with the same numbers.
CGCell* DetachedSolid(CGCell& cell) {
    if (auto* sphere = DYNAMIC_DOWNCAST(CGSphere, &cell))
        return new CGSphere(cell.m_id, sphere->m_center[0], sphere->m_center[1], sphere->m_center[2],
                            sphere->m_radius, sphere->m_axis[0], sphere->m_axis[1], sphere->m_axis[2]);
    if (auto* cylinder = DYNAMIC_DOWNCAST(CGCylinder, &cell))
        return new CGCylinder(cell.m_id, cylinder->m_center[0], cylinder->m_center[1], cylinder->m_center[2],
                              cylinder->m_radius, cylinder->m_height, cylinder->m_axis[0],
                              cylinder->m_axis[1], cylinder->m_axis[2]);
    if (auto* cone = DYNAMIC_DOWNCAST(CGCone, &cell))
        return new CGCone(cell.m_id, cone->m_center[0], cone->m_center[1], cone->m_center[2], cone->m_radius,
                          cone->m_height, cone->m_axis[0], cone->m_axis[1], cone->m_axis[2]);
    if (auto* frustum = DYNAMIC_DOWNCAST(CGFrustum, &cell))
        return new CGFrustum(cell.m_id, frustum->m_center[0], frustum->m_center[1], frustum->m_center[2],
                             frustum->m_radius, frustum->m_height, frustum->m_axis[0], frustum->m_axis[1],
                             frustum->m_axis[2], frustum->m_topRatio);
    return nullptr;
}

// The detached copy of a circle: the positioned circle with the same frame, sweep and kind.
CGArc* DetachedCircle(CGArc& arc, CGPage& page) {
    // The positioned circle names itself from the page's counter; the copy keeps the old name, so
    // the counter is left where it was.
    const BYTE counter = page.m_circleCounter;
    auto* copy = new CGArc(arc.m_id, arc.m_center[0], arc.m_center[1], arc.m_center[2], arc.m_axisU[0],
                           arc.m_axisU[1], arc.m_axisU[2], arc.m_axisV[0], arc.m_axisV[1], arc.m_axisV[2],
                           arc.m_startAngle, arc.m_endAngle, arc.m_kind);
    page.m_circleCounter = counter;
    // The sweep exactly as it was: the constructor's normalising would turn a sweep ending at 2 pi
    // into an empty one.
    copy->m_startAngle = arc.m_startAngle;
    copy->m_endAngle = arc.m_endAngle;
    return copy;
}

WORD MapId(const CMap<WORD, WORD, WORD, WORD>& map, WORD id, WORD missing) {
    WORD to = 0;
    return map.Lookup(id, to) ? to : missing;
}

// Everything of a page that holds cell ids besides the cells themselves, emptied before the ids
// change: the selection and walk, the running buttons, the traces and the lists being recomputed,
// the transform marks and any construction or tool in progress.
void ForgetPageIds(CGPage& page) {
    page.RemoveCellsAfterMarker();
    page.ClearSelection();
    page.m_walkList.RemoveAll();
    page.m_walkClass = 0;
    page.ResetButtonStates();
    page.m_runningButtons.RemoveAll();
    page.m_tracedCells.RemoveAll();
    page.m_recomputeIds.clear();
    page.m_scratchIds.clear();
    page.m_transformMarks = CTransformMarks();
    page.m_toolIdMap.RemoveAll();
    page.m_toolFirstId = 0;
    page.m_toolNewCount = 0;
}

// Gives the page's cells the ids 1, 2, ... in the order of their old ids, and every id they hold the
// new number.  pageMap holds the pages' old and new numbers.
void CompactPage(CGPage& page, const CMap<WORD, WORD, WORD, WORD>& pageMap) {
    ForgetPageIds(page);
    CMap<WORD, WORD, WORD, WORD> idMap;
    idMap.InitHashTable(17);
    const int count = page.m_cells.GetCount();
    int met = 0;
    for (int old = 1; old <= 0xFFFF && met < count; ++old) {
        CGCell* cell = page.m_cells.Find(WORD(old));
        if (!cell)
            continue;
        const WORD id = WORD(++met);
        if (id != WORD(old)) {
            page.m_cells.SetAt(id, cell);
            cell->m_id = id;
            page.m_cells.RemoveKey(WORD(old));
        }
        idMap.SetAt(WORD(old), id);
    }
    for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page.m_cells.GetNextAssoc(pos, id, cell);
        for (WORD& parent : cell->m_parents)
            parent = MapId(idMap, parent, parent);
        if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, cell))
            iterate->RemapIds(idMap);
        if (auto* link = DYNAMIC_DOWNCAST(CGButnLink, cell)) {
            if (link->m_kind == CGButnLink::kToPage)
                link->m_pageId = MapId(pageMap, link->m_pageId, 0);
        }
        // A child link to a cell that is gone is dropped.
        CList<WORD, WORD> children;
        for (WORD child : cell->m_children) {
            WORD to = 0;
            if (idMap.Lookup(child, to))
                children.AddTail(to);
        }
        cell->m_children.RemoveAll();
        for (WORD child : children)
            cell->m_children.AddTail(child);
    }
    if (const WORD start = WORD(page.m_autoButton & 0xFFFF))
        page.m_autoButton = (page.m_autoButton & ~0xFFFF) | MapId(idMap, start, 0);
    page.m_nextId = WORD(count + 1);
    page.m_cmdProcessor.ClearAll();
}

// The selected cells of a list as T in selection order.
template <class T> std::vector<T*> Selected(const CList<WORD, WORD>& list) {
    std::vector<T*> cells;
    for (WORD id : list) {
        if (T* cell = DYNAMIC_DOWNCAST(T, HxFindCell(id)))
            cells.push_back(cell);
    }
    return cells;
}

// The column layout of aligned screen items: the selected items in selection order go under the
// last one, evenly spaced from the first one's height to the last one's.  Returns the last item's
// place (x1, y1), or false with fewer than two items.
bool AlignColumn(const std::vector<CGCell*>& items, float& x1, float& y1) {
    if (items.size() < 2)
        return false;
    const float y0 = items.front()->m_labelPos[1];
    x1 = items.back()->m_labelPos[0];
    y1 = items.back()->m_labelPos[1];
    const float step = (y1 - y0) / float(items.size() - 1);
    for (size_t i = 0; i < items.size(); ++i) {
        items[i]->m_labelPos[0] = x1;
        items[i]->m_labelPos[1] = y0 + float(i) * step;
    }
    return true;
}

// The width in pixels of a screen text as it is shown.
float ShownPixelWidth(const CGTextbit& text) {
    if (const auto* image = DYNAMIC_DOWNCAST(CGTbImage, &text))
        return float(image->m_width) * image->m_scaleX;
    return 0.0f;
}

} // namespace

void CHalvixDoc::AddEditCommands() {
    OnCommandId(ID_VIEW_RENDERSOLID, &CHalvixDoc::OnRenderSolid);
    OnUpdateId(ID_VIEW_RENDERSOLID, &CHalvixDoc::OnUpdateRenderSolid);
    OnCommandId(ID_EDIT_REVERSE, &CHalvixDoc::OnEditReverse);
    OnUpdateId(ID_EDIT_REVERSE, &CHalvixDoc::OnUpdateEditReverse);
    OnCommandId(ID_EDIT_SPLIT, &CHalvixDoc::OnEditSplit);
    OnUpdateId(ID_EDIT_SPLIT, &CHalvixDoc::OnUpdateEditSplit);
    OnCommandId(ID_EDIT_COMPACT, &CHalvixDoc::OnCompactDocument);
    OnCommandId(ID_EDIT_BTN_START, &CHalvixDoc::OnMarkViewStart);
    OnCommandId(ID_EDIT_BTN_END, &CHalvixDoc::OnMarkViewTarget);
    OnCommandId(ID_EDIT_BTN_TRANSLATE, &CHalvixDoc::OnAddViewTranslateButton);
    OnCommandId(ID_EDIT_BTN_ROTATE, &CHalvixDoc::OnAddViewRotateButton);
    OnCommandId(ID_EDIT_BTN_ZOOM, &CHalvixDoc::OnAddViewZoomButton);
    OnCommandId(ID_EDIT_FLUSH, &CHalvixDoc::OnAlignPlanarObjects);
    OnUpdateId(ID_EDIT_FLUSH, &CHalvixDoc::OnUpdateAlignPlanarObjects);
    OnCommandId(ID_CREATE_SURFACE, &CHalvixDoc::OnCreateSurface);
}

// ---------------------------------------------------------------------------------------------
// Lighting

void CHalvixDoc::OnRenderSolid() {
    if (!g_pCurPage)
        return;
    for (POSITION pos = g_cellMap->GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        g_cellMap->GetNextAssoc(pos, id, cell);
        if (cell->m_selected)
            SwitchLighting(*cell);
    }
    g_pCurPage->ClearSelection();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnUpdateRenderSolid(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (!page->m_selPoints.IsEmpty() || !page->m_selLines.IsEmpty() ||
                            !page->m_selFaces.IsEmpty() || !page->m_selCurves.IsEmpty() ||
                            !page->m_selSolids.IsEmpty()));
}

// ---------------------------------------------------------------------------------------------
// Reversal

void CHalvixDoc::OnEditReverse() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    auto refresh = [](CGCell& cell) {
        cell.RefreshVertexIndices();
        cell.UpdateName();
        cell.Recompute();
        cell.MarkDescendants();
    };
    for (CGLine* line : Selected<CGLine>(page->m_selLines)) {
        if (line->m_parents.GetSize() >= 2)
            std::swap(line->m_parents[0], line->m_parents[1]);
        refresh(*line);
    }
    for (CGFace* face : Selected<CGFace>(page->m_selFaces)) {
        std::reverse(face->m_parents.begin(), face->m_parents.end());
        refresh(*face);
    }
    for (CGArc* arc : Selected<CGArc>(page->m_selCurves)) {
        if (!ReverseArc(*arc))
            continue;
        arc->Recompute();
        arc->UpdateName();
        arc->MarkDescendants();
    }
    for (CGSurface* surface : Selected<CGSurface>(page->m_selSolids)) {
        std::swap(surface->m_texts[CGSurface::kVStart], surface->m_texts[CGSurface::kVEnd]);
        surface->Invalidate();
        surface->Recompute();
        surface->MarkDescendants();
    }
    page->CollectMarkedIds(page->m_scratchIds);
    page->UpdateCellsById(page->m_scratchIds);
    page->UpdateTextsById(page->m_scratchIds);
    page->ClearSelection();
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page->m_pageId));
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnUpdateEditReverse(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    bool surface = false;
    if (page) {
        for (WORD id : page->m_selSolids)
            surface = surface || DYNAMIC_DOWNCAST(CGSurface, page->FindCell(id)) != nullptr;
    }
    pCmdUI->Enable(page && (surface || !page->m_selLines.IsEmpty() || !page->m_selFaces.IsEmpty() ||
                            !page->m_selCurves.IsEmpty()));
}

// ---------------------------------------------------------------------------------------------
// Separate and locate

void CHalvixDoc::OnEditSplit() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    auto* command = new CCmdSplit(kUndoSplit);
    auto keep = [command](CGCell* copy, CGCell& old) {
        *copy = old;
        command->m_cells.SetAt(old.m_id, copy);
    };
    for (CGVertex* point : Selected<CGVertex>(page->m_selPoints)) {
        auto* copy = new CGVertex;
        keep(copy, *point);
        copy->m_color = g_colorPoint;
        copy->m_x = point->m_x;
        copy->m_y = point->m_y;
        copy->m_z = point->m_z;
        std::copy(point->m_labelOffset, point->m_labelOffset + 3, copy->m_labelOffset);
        copy->m_vertexIndex = point->m_vertexIndex;
    }
    for (CGArc* arc : Selected<CGArc>(page->m_selCurves)) {
        CGArc* copy = DetachedCircle(*arc, *page);
        keep(copy, *arc);
        copy->m_sweepFromPoints = false;
        copy->m_labelAngle = arc->m_labelAngle;
        std::copy(arc->m_labelOffset, arc->m_labelOffset + 3, copy->m_labelOffset);
    }
    for (WORD id : page->m_selSolids) {
        CGCell* solid = page->FindCell(id);
        if (!solid)
            continue;
        if (CGCell* copy = DetachedSolid(*solid))
            keep(copy, *solid);
    }
    if (command->m_cells.IsEmpty()) {
        delete command;
        return;
    }
    page->m_cmdProcessor.Submit(command);
    command->Redo();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnUpdateEditSplit(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (!page->m_selPoints.IsEmpty() || !page->m_selCurves.IsEmpty() ||
                            !page->m_selSolids.IsEmpty()));
}

// ---------------------------------------------------------------------------------------------
// Compaction

void CHalvixDoc::OnCompactDocument() {
    CMap<WORD, WORD, WORD, WORD> pageMap;
    pageMap.InitHashTable(17);
    WORD number = 0;
    for (POSITION pos = m_pages.GetHeadPosition(); pos;) {
        CGPage* page = m_pages.GetNext(pos);
        pageMap.SetAt(page->m_pageId, ++number);
        page->m_pageId = number;
    }
    m_pageCounter = number;
    g_draggedId = 0;
    for (POSITION pos = m_pages.GetHeadPosition(); pos;) {
        CGPage* page = m_pages.GetNext(pos);
        FinishToolOnPage(page);
        CompactPage(*page, pageMap);
    }
    if (g_pCurPage)
        g_pCurPage->RebuildVertexArray();
    SetModifiedFlag(TRUE);
    if (m_onFillObjectTree)
        m_onFillObjectTree();
    UpdateAllViews(nullptr);
    AfxMessageBox(kCompactedMessage, MB_OK);
}

// ---------------------------------------------------------------------------------------------
// Alignment of screen items

void CHalvixDoc::OnAlignPlanarObjects() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const float u = g_unitLength * 20.0f;
    float x1 = 0.0f, y1 = 0.0f;
    if (AlignColumn(Selected<CGCell>(page->m_selButtons), x1, y1) && u > 0.0f) {
        page->m_lastButtonX = x1 / u;
        page->m_lastButtonY = y1 / u;
        page->m_buttonSlot = BYTE(int(std::trunc((x1 / u + 18.0f + 2.5f) / 5.0f)) * 16 -
                                  int(std::trunc((12.0f - y1 / u + 0.75f) / -1.5f)) + 1);
    }
    if (AlignColumn(Selected<CGCell>(page->m_selValues), x1, y1) && u > 0.0f) {
        page->m_lastTextX = x1 / u;
        page->m_lastTextY = y1 / u;
        page->m_textSlot = BYTE(int(std::trunc((19.0f - x1 / u) / 12.0f)) * 16 -
                                int(std::trunc((11.0f - y1 / u + 0.75f) / -1.5f)) + 1);
    }
    const std::vector<CGCell*> texts = Selected<CGCell>(page->m_selTexts);
    if (!texts.empty()) {
        if (const auto* first = DYNAMIC_DOWNCAST(CGTextbit, texts.front())) {
            if (texts.size() == 1)
                texts.front()->m_labelPos[0] = -ShownPixelWidth(*first) * g_unitLength / 2.0f;
            else
                for (CGCell* text : texts)
                    text->m_labelPos[0] = first->m_labelPos[0];
        }
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnUpdateAlignPlanarObjects(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_selButtons.GetCount() > 1 || page->m_selValues.GetCount() > 1 ||
                            !page->m_selTexts.IsEmpty()));
}
