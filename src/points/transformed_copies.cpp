// The page's part of the transform commands: widening the selection to the defining points of the
// selected lines, faces and circles, and copying those cells onto the images of their points.
#include "model/arc_circles.h"
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "points/constructed_arcs.h"

namespace {

// How many of a circle's parents are its defining points, by its class; 0 for the circles that are
// not built on points (positioned circles, arcs in circles) and for everything else in the list.
int DefiningPointCount(const CGCell* cell) {
    if (cell->IsKindOf(RUNTIME_CLASS(CGArcCenterP)) || cell->IsKindOf(RUNTIME_CLASS(CGArcCircle3P)) ||
        cell->IsKindOf(RUNTIME_CLASS(CGArcPointN)))
        return 3;
    if (cell->IsKindOf(RUNTIME_CLASS(CGArcPoint2)))
        return 2;
    if (cell->IsKindOf(RUNTIME_CLASS(CGArcCenterR)))
        return 1;
    return 0;
}

// The defining points of a selected line, face or circle: their count among its parents.
int DefiningPointCountOf(const CGCell* cell) {
    if (cell->IsKindOf(RUNTIME_CLASS(CGLine)))
        return 2;
    if (cell->IsKindOf(RUNTIME_CLASS(CGFace)))
        return int(cell->m_parents.GetSize());
    return DefiningPointCount(cell);
}

// The common attributes a copy takes from its source.
void CopyLook(const CGCell& source, CGCell& copy) {
    copy.m_style = source.m_style;
    copy.m_size = source.m_size;
    copy.m_hidden = source.m_hidden;
    copy.m_labelHidden = source.m_labelHidden;
}

} // namespace

int CGPage::CollectTransformTargets() {
    int added = 0;
    auto take = [&](const CGCell* owner) {
        const int count = std::min(DefiningPointCountOf(owner), int(owner->m_parents.GetSize()));
        for (int i = 0; i < count; ++i) {
            CGCell* point = m_cells.Find(owner->m_parents[i]);
            // A parent that is not a point (a damaged document) has no image: the copy is skipped.
            if (!point || point->m_selected || !point->IsKindOf(RUNTIME_CLASS(CGVertex)))
                continue;
            point->m_selected = true;
            m_selPoints.AddTail(point->m_id);
            ++added;
        }
    };
    for (const CList<WORD, WORD>* list : {&m_selLines, &m_selFaces, &m_selCurves}) {
        for (WORD id : *list) {
            if (const CGCell* cell = m_cells.Find(id))
                take(cell);
        }
    }
    return added;
}

int CGPage::CountTransformedCopies() const {
    int count = 0;
    for (WORD id : m_selLines)
        count += m_cells.Find(id) ? 1 : 0;
    for (WORD id : m_selFaces)
        count += m_cells.Find(id) ? 1 : 0;
    for (WORD id : m_selCurves) {
        const CGCell* cell = m_cells.Find(id);
        count += cell && DefiningPointCount(cell) > 0 ? 1 : 0;
    }
    return count;
}

int CGPage::BuildTransformedImages() {
    // The image of the k-th point of the list has the id next - points + k.
    CMap<WORD, WORD, WORD, WORD> images;
    const int pointCount = m_selPoints.GetCount();
    int k = 0;
    for (WORD id : m_selPoints)
        images.SetAt(id, WORD(int(m_nextId) - pointCount + k++));

    // The image of parent i of a cell, or 0 when that parent has none.
    auto image = [&](const CGCell* cell, int i) -> WORD {
        WORD mapped = 0;
        if (i >= cell->m_parents.GetSize() || !images.Lookup(cell->m_parents[i], mapped))
            return 0;
        return m_cells.Find(mapped) ? mapped : 0;
    };
    auto imagesOf = [&](const CGCell* cell, int count, WORD* out) {
        for (int i = 0; i < count; ++i) {
            out[i] = image(cell, i);
            if (out[i] == 0)
                return false;
        }
        return true;
    };

    int made = 0;
    auto store = [&](CGCell* copy) {
        m_cells.SetAt(copy->m_id, copy);
        ++m_nextId;
        ++made;
    };

    for (WORD id : m_selLines) {
        const auto* line = DYNAMIC_DOWNCAST(CGLine, m_cells.Find(id));
        WORD ends[2];
        if (!line || !imagesOf(line, 2, ends) || !CanTakeIds(1))
            continue;
        auto* copy = new CGLine(m_nextId, ends[0], ends[1], line->m_kind);
        CopyLook(*line, *copy);
        copy->m_color = line->m_color;
        store(copy);
    }

    for (WORD id : m_selFaces) {
        const auto* face = DYNAMIC_DOWNCAST(CGFace, m_cells.Find(id));
        if (!face || face->m_parents.GetSize() < 3 || !CanTakeIds(1))
            continue;
        CList<WORD, WORD> corners;
        bool complete = true;
        for (int i = 0; i < face->m_parents.GetSize() && complete; ++i) {
            const WORD corner = image(face, i);
            complete = corner != 0;
            corners.AddTail(corner);
        }
        if (!complete)
            continue;
        auto* copy = new CGFace(m_nextId, corners, face->m_color.ToColorRef());
        copy->m_kind = face->m_kind;
        copy->m_style = face->m_style;
        copy->m_hidden = face->m_hidden;
        copy->m_labelHidden = face->m_labelHidden;
        store(copy);
    }

    for (WORD id : m_selCurves) {
        const auto* arc = DYNAMIC_DOWNCAST(CGArc, m_cells.Find(id));
        const int count = arc ? DefiningPointCount(arc) : 0;
        WORD p[3];
        if (count == 0 || !imagesOf(arc, count, p) || !CanTakeIds(1))
            continue;
        CGArc* copy = nullptr;
        if (arc->IsKindOf(RUNTIME_CLASS(CGArcCenterP)))
            copy = new CGArcCenterP(m_nextId, p[0], p[1], p[2], arc->m_kind);
        else if (arc->IsKindOf(RUNTIME_CLASS(CGArcCircle3P)))
            copy = new CGArcCircle3P(m_nextId, p[0], p[1], p[2], arc->m_kind);
        else if (arc->IsKindOf(RUNTIME_CLASS(CGArcPointN)))
            copy = new CGArcPointN(m_nextId, p[0], p[1], p[2], arc->m_kind, DWORD(arc->m_extA2));
        else if (arc->IsKindOf(RUNTIME_CLASS(CGArcPoint2)))
            copy = new CGArcPoint2(m_nextId, p[0], p[1], arc->m_kind);
        else if (arc->m_parents.GetSize() >= 2)
            // The radius stays the source's own value: both circles change with it.
            copy = new CGArcCenterR(m_nextId, p[0], arc->m_parents[1], arc->m_kind);
        if (!copy)
            continue;
        CopyLook(*arc, *copy);
        copy->m_startAngle = arc->m_startAngle;
        copy->m_endAngle = arc->m_endAngle;
        copy->m_sweepFromPoints = arc->m_sweepFromPoints;
        copy->m_extA2 = arc->m_extA2;
        copy->m_color = arc->m_color;
        // The frame again with the sweep and orientation taken over.
        copy->Recompute();
        store(copy);
    }
    return made;
}
