// The shape-trace command (the figures built on a selected path point or parameter, swept over a
// range chosen in the trace dialog) and the properties of a trace.
#include "construct/construction.h"
#include "document/doc_construct_ids.h"
#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "dynamics/curves.h"
#include "dynamics/iterate_dialogs.h"
#include "dynamics/track.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "points/confined_points.h"
#include "points/path_points.h"

#include <algorithm>
#include <unordered_set>

namespace {

// A point the animation can drive along a path: a free point that is not free in space, not a
// follower and not confined to a face or plane.
bool IsPathPoint(const CGCell* cell) {
    return cell && cell->IsKindOf(RUNTIME_CLASS(CGVerFree)) && !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeUpright)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeInFace)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane));
}

bool IsParameter(const CGCell* cell) {
    return cell && cell->IsKindOf(RUNTIME_CLASS(CGTmVarParameter));
}

// Cells the trace does not draw.
bool IsNotDrawn(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGTextmap)) || cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGButton)) || HxIsOfClassNamed(cell, "CGModifier");
}

// The range and step the dialog offers for a driver.
void PresetRange(const CGCell& driver, CDlgTrack& dlg) {
    if (driver.IsKindOf(RUNTIME_CLASS(CGVerFreeInCircle)) ||
        driver.IsKindOf(RUNTIME_CLASS(CGVerFreeEquilateral)) ||
        driver.IsKindOf(RUNTIME_CLASS(CGVerFreeUprightEquid))) {
        dlg.m_end = 6.2831855f;
        dlg.m_step = 0.05235988f;
    } else if (HxIsOfClassNamed(&driver, "CGVerFreeInCurve")) {
        const auto* curve = driver.m_parents.GetSize() > 0
                                ? DYNAMIC_DOWNCAST(CGCurve, HxFindCell(driver.m_parents[0]))
                                : nullptr;
        if (curve) {
            dlg.m_start = float(curve->m_tMin);
            dlg.m_end = float(curve->m_tMax);
            if (dlg.m_start > dlg.m_end) {
                dlg.m_start = 0.0f;
                dlg.m_end = 1.0f;
            }
        }
    } else if (HxIsOfClassNamed(&driver, "CGVerFreeInLocus")) {
        const auto* locus = driver.m_parents.GetSize() > 0
                                ? DYNAMIC_DOWNCAST(CGLocus, HxFindCell(driver.m_parents[0]))
                                : nullptr;
        if (locus) {
            dlg.m_start = locus->m_t0;
            dlg.m_end = locus->m_t1;
        }
    } else if (const auto* border = DYNAMIC_DOWNCAST(CGVerFreeInBorder, &driver)) {
        dlg.m_end = float(border->m_pieceCount);
    }
}

} // namespace

void CHalvixDoc::OnUpdateCreateTrack(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    if (!page) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const int points = page->m_selPoints.GetCount();
    const int values = page->m_selValues.GetCount();
    const bool onPoint = points == 1 && (values == 0 || values == 2) &&
                         IsPathPoint(page->FindCell(page->m_selPoints.GetHead()));
    const bool onParameter = points == 0 && (values == 1 || values == 3) &&
                             IsParameter(page->FindCell(page->m_selValues.GetHead()));
    pCmdUI->Enable(onPoint || onParameter);
}

void CHalvixDoc::OnCreateTrack() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    std::vector<WORD> scratch;
    auto refuse = [&](const char16_t* text) {
        page->CollectMarkedIds(scratch); // clears every mark
        HxMessageBox(CString(text), CString(kTrackCaption), MB_OK | MB_ICONERROR);
    };
    const int values = page->m_selValues.GetCount();
    const std::vector<WORD> valueIds = HxSelectedIds(page->m_selValues);
    CGCell* driver = nullptr;
    int rangeFlag = 0;
    WORD rangeA = 0, rangeB = 0;
    if (!page->m_selPoints.IsEmpty()) {
        driver = page->FindCell(page->m_selPoints.GetHead());
        if (!IsPathPoint(driver)) {
            refuse(kTrackNotPathPoint);
            return;
        }
        driver->MarkDescendants();
        if (values == 2) {
            rangeFlag = 1;
            rangeA = valueIds[0];
            rangeB = valueIds[1];
        } else if (values != 0) {
            refuse(kTrackTwoValues);
            return;
        }
    } else {
        if (values == 0) {
            refuse(kTrackNothing);
            return;
        }
        driver = page->FindCell(valueIds[0]);
        if (!IsParameter(driver)) {
            refuse(kTrackNotParameter);
            return;
        }
        driver->MarkDescendants();
        if (values == 3) {
            rangeFlag = 1;
            rangeA = valueIds[1];
            rangeB = valueIds[2];
        } else if (values != 1) {
            refuse(kTrackThreeValues);
            return;
        }
    }
    // The range values must be values the sweep can read.
    if (rangeFlag && (!page->FindCell(rangeA) || !page->FindCell(rangeB))) {
        refuse(kTrackNothing);
        return;
    }

    // The drawable descendants and what they are built from below the driver.
    std::vector<WORD> descendants;
    page->CollectMarkedIds(descendants);
    int drawable = 0;
    for (WORD id : descendants) {
        CGCell* cell = page->FindCell(id);
        if (!cell || IsNotDrawn(cell))
            continue;
        cell->MarkAncestors();
        cell->m_mark = true;
        ++drawable;
    }
    std::vector<WORD> built;
    page->CollectMarkedIds(built);
    if (drawable == 0) {
        HxMessageBox(CString(kTrackNoFigure), CString(kTrackCaption), MB_OK | MB_ICONERROR);
        return;
    }
    const std::unordered_set<WORD> inBuilt(built.begin(), built.end());
    std::vector<WORD> ids{driver->m_id};
    if (rangeFlag) {
        ids.push_back(rangeA);
        ids.push_back(rangeB);
    }
    for (WORD id : descendants) {
        if (inBuilt.count(id) != 0)
            ids.push_back(id);
    }

    CDlgTrack dlg;
    dlg.m_ids = ids;
    dlg.m_flags.assign(ids.size(), 0);
    dlg.m_dynamic = rangeFlag != 0;
    dlg.m_newTrace = true;
    PresetRange(*driver, dlg);
    dlg.BuildList();
    if (dlg.DoModal() != IDOK)
        return;
    if (!CDlgTrack::StepAcceptable(dlg.m_start, dlg.m_end, dlg.m_step))
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGTrack>(ids, dlg.m_flags, rangeFlag, dlg.m_start, dlg.m_end, dlg.m_step,
                         BYTE(std::clamp(dlg.m_displayMode, 0, 2)), BYTE(std::clamp(dlg.m_colorMode, 0, 1)));
    run.CommitCell(u"添加形迹");
}

// ---------------------------------------------------------------------------------------------
// Properties

BOOL CHalvixDoc::EditTrackProperties(CGTrack& track) {
    CDlgTrack dlg;
    for (WORD id : track.m_parents)
        dlg.m_ids.push_back(id);
    dlg.m_flags = track.TracedFlags();
    dlg.m_start = track.m_tMin;
    dlg.m_end = track.m_tMax;
    dlg.m_step = track.m_step;
    dlg.m_dynamic = track.DynamicRange();
    dlg.m_displayMode = track.m_kind;
    dlg.m_colorMode = track.m_style;
    dlg.m_newTrace = false;
    dlg.BuildList();
    if (dlg.DoModal() != IDOK || !CDlgTrack::StepAcceptable(dlg.m_start, dlg.m_end, dlg.m_step))
        return FALSE;
    track.SetRange(dlg.m_start, dlg.m_end, dlg.m_step);
    track.m_kind = BYTE(std::clamp(dlg.m_displayMode, 0, 2));
    track.m_style = BYTE(std::clamp(dlg.m_colorMode, 0, 1));
    track.SetTracedFlags(dlg.m_flags);
    track.Recompute();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return TRUE;
}
