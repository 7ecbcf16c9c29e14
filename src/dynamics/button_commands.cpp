// The action-button commands of the document: show/hide, animation, move, series and link buttons
// added from the current page's selection through their dialogs, each as one undo step, and the
// properties of a button through the same dialogs.
#include "document/halvix_doc.h"

#include "construct/construction.h"
#include "dynamics/button_dialogs.h"
#include "dynamics/button_ids.h"
#include "dynamics/buttons.h"
#include "dynamics/curves.h"
#include "dynamics/view_button_dialogs.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "points/confined_points.h"
#include "points/path_points.h"
#include "solids/fold.h"
#include "solids/split.h"

#include <algorithm>

namespace {

constexpr float kFullTurn = 6.2831855f;
constexpr float kFiveDegrees = 0.08726646f;

// The bounds (and for turning points the step) an animation of this cell starts from; the dialog's
// own defaults stay where the cell gives none.
void PresetAnimation(const CGCell& driven, CDlgBtnAnimation& dialog) {
    const CGCell* carrier = driven.m_parents.IsEmpty() ? nullptr : HxFindCell(driven.m_parents[0]);
    if (driven.IsKindOf(RUNTIME_CLASS(CGVerFreeInCircle)) ||
        driven.IsKindOf(RUNTIME_CLASS(CGVerFreeEquilateral)) ||
        driven.IsKindOf(RUNTIME_CLASS(CGVerFreeUprightEquid))) {
        dialog.m_max = kFullTurn;
        dialog.m_step = kFiveDegrees;
    } else if (driven.IsKindOf(RUNTIME_CLASS(CGVerFreePerpen)) ||
               driven.IsKindOf(RUNTIME_CLASS(CGVerFreeParVector))) {
        dialog.m_max = 10.0f;
    } else if (HxIsOfClassNamed(&driven, "CGVerFreeInCurve")) {
        if (const auto* curve = DYNAMIC_DOWNCAST(CGCurve, carrier)) {
            dialog.m_min = float(curve->m_tMin);
            dialog.m_max = float(curve->m_tMax);
            if (curve->m_tMax < curve->m_tMin) {
                dialog.m_min = 0.0f;
                dialog.m_max = 10.0f;
            }
        }
    } else if (HxIsOfClassNamed(&driven, "CGVerFreeInLocus")) {
        if (const auto* locus = DYNAMIC_DOWNCAST(CGLocus, carrier)) {
            dialog.m_min = locus->m_t0;
            dialog.m_max = locus->m_t1;
        }
    } else if (const auto* border = DYNAMIC_DOWNCAST(CGVerFreeInBorder, &driven)) {
        dialog.m_max = float(border->m_pieceCount);
    } else if (const auto* paths = DYNAMIC_DOWNCAST(CGVerFreeInPaths, &driven)) {
        dialog.m_max = float(paths->m_pieceCount);
    } else if (const auto* fold = DYNAMIC_DOWNCAST(CGFold, &driven)) {
        dialog.m_min = 1.0f;
        dialog.m_max = fold->ClosedParameter();
    } else if (const auto* split = DYNAMIC_DOWNCAST(CGSplit, &driven)) {
        dialog.m_min = 0.0f;
        dialog.m_max = split->FullCutParameter();
    }
}

// Free points the animation command does not sweep: they have no parameter of their own.
bool IsUnsweptPoint(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) || cell->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGVerFreeUpright));
}

bool IsNetOrCut(const CGCell* cell) {
    return cell && (cell->IsKindOf(RUNTIME_CLASS(CGFold)) || cell->IsKindOf(RUNTIME_CLASS(CGSplit)));
}

CGCell* OnlySelected(const CList<WORD, WORD>& list) {
    return list.GetCount() == 1 ? HxFindCell(list.GetHead()) : nullptr;
}

// "A： " and the description of a point, as the move dialog shows it.
CString NameAndDescription(CGCell& cell) {
    return cell.m_name + CString(u"： ") + cell.GetDescription();
}

// The series dialog's loop into a series button: the loop kind, then what that kind keeps.
void StoreLoop(const CDlgBtnPresentat& dialog, CGButnPresentat& series) {
    series.m_extA1 = dialog.m_loopKind;
    switch (dialog.m_loopKind) {
    case CGButnPresentat::kFixedCount:
        series.m_repeatCount = dialog.m_repeatCount;
        break;
    case CGButnPresentat::kForLoop:
        series.m_counterNumber = dialog.m_counter + 1;
        series.m_start = dialog.m_start;
        series.m_end = dialog.m_end;
        series.m_step = dialog.m_step;
        break;
    case CGButnPresentat::kWhileLoop:
    case CGButnPresentat::kUntilLoop:
        series.m_counterNumber = dialog.m_counter + 1;
        break;
    default:
        break;
    }
}

// The titles and ids of the document's pages, in document order.
void ListPages(const CHalvixDoc& doc, std::vector<CString>& titles, std::vector<WORD>& ids) {
    for (int i = 0; i < doc.GetPageCount(); ++i) {
        if (const CGPage* page = doc.GetPage(i)) {
            titles.push_back(page->m_title);
            ids.push_back(page->m_pageId);
        }
    }
}

// A caption edited in a dialog: written back when it changed, and then kept from automatic renaming.
void TakeFixedCaption(CGButton& button, const CString& caption) {
    if (caption == button.m_name)
        return;
    button.SetCaption(caption);
    button.m_nameFixed = true;
}

// The play settings of a view button into its dialog and back.
void FillPlay(const CGButnView& button, CDlgViewButton& dialog) {
    dialog.m_caption = button.m_name;
    dialog.m_direction = button.m_backAndForth != 0 ? 1 : 0;
    dialog.m_repeat = button.m_repeat ? 1 : 0;
    dialog.m_seconds = button.m_seconds;
    dialog.m_interval = button.m_extA3;
}

void TakePlay(const CDlgViewButton& dialog, CGButnView& button) {
    TakeFixedCaption(button, dialog.m_caption);
    button.m_backAndForth = dialog.m_direction;
    button.m_repeat = dialog.m_repeat ? 1 : 0;
    button.m_seconds = dialog.m_seconds;
    button.m_extA3 = dialog.m_interval;
    button.Rewind();
}

// A view button's dialog filled from it; on OK its values and play settings written back and its
// pass started afresh.  A turn keeps the start orientation F8 gave it: the dialog only shows it.
BOOL EditViewButton(CGButnView& button) {
    if (auto* rotate = DYNAMIC_DOWNCAST(CGButnRotate, &button)) {
        CDlgViewRotate dialog;
        FillPlay(*rotate, dialog);
        dialog.m_start[0] = rotate->m_param2;
        std::copy(rotate->m_startRotation, rotate->m_startRotation + 3, dialog.m_start + 1);
        std::copy(rotate->m_axis, rotate->m_axis + 3, dialog.m_axis);
        dialog.m_angle = rotate->m_param3;
        dialog.m_startReadOnly = true;
        if (dialog.DoModal() != IDOK)
            return FALSE;
        std::copy(dialog.m_axis, dialog.m_axis + 3, rotate->m_axis);
        rotate->m_param3 = dialog.m_angle;
        TakePlay(dialog, *rotate);
        return TRUE;
    }
    if (auto* translate = DYNAMIC_DOWNCAST(CGButnTranslate, &button)) {
        CDlgViewTrans dialog;
        FillPlay(*translate, dialog);
        std::copy(translate->m_startTrans, translate->m_startTrans + 3, dialog.m_start);
        std::copy(translate->m_endTrans, translate->m_endTrans + 3, dialog.m_end);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        std::copy(dialog.m_start, dialog.m_start + 3, translate->m_startTrans);
        std::copy(dialog.m_end, dialog.m_end + 3, translate->m_endTrans);
        TakePlay(dialog, *translate);
        return TRUE;
    }
    if (auto* scale = DYNAMIC_DOWNCAST(CGButnScale, &button)) {
        CDlgViewScale dialog;
        FillPlay(*scale, dialog);
        dialog.m_startZoom = scale->m_startZoom;
        dialog.m_endZoom = scale->m_endZoom;
        if (dialog.DoModal() != IDOK)
            return FALSE;
        scale->m_startZoom = dialog.m_startZoom;
        scale->m_endZoom = dialog.m_endZoom;
        TakePlay(dialog, *scale);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void CHalvixDoc::AddButtonCommands() {
    OnCommandId(ID_EDIT_BTN_HIDESHOW, &CHalvixDoc::OnButtonHideShow);
    OnUpdateId(ID_EDIT_BTN_HIDESHOW, &CHalvixDoc::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_BTN_ANIMATION, &CHalvixDoc::OnButtonAnimation);
    OnUpdateId(ID_EDIT_BTN_ANIMATION, &CHalvixDoc::OnUpdateButtonAnimation);
    OnCommandId(ID_EDIT_BTN_MOVE, &CHalvixDoc::OnButtonMove);
    OnUpdateId(ID_EDIT_BTN_MOVE, &CHalvixDoc::OnUpdateButtonMove);
    OnCommandId(ID_EDIT_BTN_PRESENTAT, &CHalvixDoc::OnButtonSeries);
    OnUpdateId(ID_EDIT_BTN_PRESENTAT, &CHalvixDoc::OnUpdateButtonSeries);
    OnCommandId(ID_EDIT_BTN_LINK, &CHalvixDoc::OnButtonLink);
}

// ---------------------------------------------------------------------------------------------
// Update handlers

void CHalvixDoc::OnUpdateButtonAnimation(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    bool on = false;
    if (page) {
        const CGCell* point = OnlySelected(page->m_selPoints);
        const CGCell* value = OnlySelected(page->m_selValues);
        const CGCell* other = OnlySelected(page->m_selOthers);
        on = (point && point->IsKindOf(RUNTIME_CLASS(CGVerFree)) && !IsUnsweptPoint(point)) ||
             (value && value->IsKindOf(RUNTIME_CLASS(CGTmVarParameter))) || IsNetOrCut(other);
    }
    pCmdUI->Enable(on);
}

void CHalvixDoc::OnUpdateButtonMove(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    bool on = false;
    if (page && page->m_selPoints.GetCount() == 2) {
        const CGCell* moving = HxFindCell(page->m_selPoints.GetHead());
        on = moving && moving->IsKindOf(RUNTIME_CLASS(CGVerFree)) &&
             !moving->IsKindOf(RUNTIME_CLASS(CGVerFreeUpright)) &&
             !moving->IsKindOf(RUNTIME_CLASS(CGVerFreeInPaths)) &&
             !moving->IsKindOf(RUNTIME_CLASS(CGVerFreeInBorder));
    }
    pCmdUI->Enable(on);
}

void CHalvixDoc::OnUpdateButtonSeries(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_selButtons.GetCount() >= 2);
}

// ---------------------------------------------------------------------------------------------
// Commands

void CHalvixDoc::OnButtonHideShow() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGButnSHide>();
    run.CommitCell(kUndoAddShowHideButton);
}

void CHalvixDoc::OnButtonAnimation() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CGCell* driven = nullptr;
    if (page->m_selPoints.GetCount() == 1)
        driven = HxFindCell(page->m_selPoints.GetHead());
    else if (page->m_selValues.GetCount() == 1)
        driven = HxFindCell(page->m_selValues.GetHead());
    else if (CGCell* other = OnlySelected(page->m_selOthers); IsNetOrCut(other))
        driven = other;
    if (!driven)
        return;
    const bool inFace = driven->IsKindOf(RUNTIME_CLASS(CGVerFreeInFace));
    if (inFace || driven->IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane))) {
        CDlgBtnAnimation2 dialog;
        dialog.m_caption = u"动画";
        dialog.m_driven = driven->GetDescription();
        if (dialog.DoModal() != IDOK)
            return;
        CConstruction run(*this);
        if (!run.Reserve(1, 0))
            return;
        auto* button = run.AddCell<CGButnAnimation>(dialog.m_caption, driven->m_id, 0.0f, dialog.m_frames, 0,
                                                    BYTE(0), dialog.m_step, 0.0f);
        button->m_kind = inFace ? CGButnAnimation::kWalkInFace : CGButnAnimation::kWalkInPlane;
        run.CommitCell(kUndoAddAnimationButton);
        return;
    }
    CDlgBtnAnimation dialog;
    dialog.m_caption = u"动画";
    dialog.m_driven = driven->GetDescription();
    // A new sweep runs up and back, resting a second at the top.
    dialog.m_direction = CGButnAnimation::kBackAndForth;
    dialog.m_repeat = 0;
    dialog.m_pause = 1.0f;
    PresetAnimation(*driven, dialog);
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGButnAnimation>(dialog.m_caption, driven->m_id, dialog.m_min, dialog.m_max,
                                 dialog.m_direction, BYTE(dialog.m_repeat == 1 ? 1 : 0), dialog.m_step,
                                 dialog.m_pause);
    run.CommitCell(kUndoAddAnimationButton);
}

void CHalvixDoc::OnButtonMove() {
    CGPage* page = g_pCurPage;
    if (!page || page->m_selPoints.GetCount() < 2)
        return;
    CGCell* moving = HxFindCell(page->m_selPoints.GetHead());
    CGCell* target = HxFindCell(page->m_selPoints.GetAt(page->m_selPoints.FindIndex(1)));
    if (!moving || !target)
        return;
    CDlgBtnMove dialog;
    dialog.m_moving = NameAndDescription(*moving);
    dialog.m_target = NameAndDescription(*target);
    const CString offered = moving->m_name + CString(u"→") + target->m_name;
    dialog.m_caption = offered;
    if (dialog.DoModal() != IDOK)
        return;
    const int kind = CGButnMove::KindForPoint(moving);
    if (kind < 0) {
        AfxMessageBox(kCannotMovePointMessage, MB_OK);
        return;
    }
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    auto* button =
        run.AddCell<CGButnMove>(dialog.m_caption, moving->m_id, target->m_id, dialog.m_step, BYTE(kind));
    // A caption the user wrote stays when the points are renamed.
    button->m_nameFixed = dialog.m_caption != offered;
    run.CommitCell(kUndoAddMoveButton);
}

void CHalvixDoc::OnButtonSeries() {
    if (!g_pCurPage)
        return;
    CDlgBtnPresentat dialog;
    dialog.m_caption = u"系列动作";
    dialog.m_pause = 1.0f;
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    auto* series = run.AddCell<CGButnPresentat>(dialog.m_caption, dialog.m_mode, dialog.m_pause);
    StoreLoop(dialog, *series);
    run.CommitCell(kUndoAddSeriesButton);
}

void CHalvixDoc::OnButtonLink() {
    if (!g_pCurPage)
        return;
    CDlgBtnLink dialog;
    dialog.m_caption = u"链接";
    std::vector<WORD> pageIds;
    ListPages(*this, dialog.m_pageTitles, pageIds);
    if (dialog.DoModal() != IDOK || pageIds.empty())
        return;
    const int index = std::clamp(dialog.m_pageIndex, 0, int(pageIds.size()) - 1);
    const BYTE kind = dialog.m_kind == 0 ? CGButnLink::kToPage : CGButnLink::kToTarget;
    const CString target =
        kind == CGButnLink::kToPage ? dialog.m_pageTitles[size_t(index)] : dialog.m_hyperlink;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGButnLink>(dialog.m_caption, kind, pageIds[size_t(index)], target);
    run.CommitCell(kUndoAddLinkButton);
}

// ---------------------------------------------------------------------------------------------
// Properties

BOOL CHalvixDoc::EditButtonProperties(CGButton& button) {
    BOOL accepted = FALSE;
    if (auto* animation = DYNAMIC_DOWNCAST(CGButnAnimation, &button)) {
        const CGCell* driven = animation->m_parents.IsEmpty() ? nullptr : HxFindCell(animation->m_parents[0]);
        if (animation->m_kind != CGButnAnimation::kSweep) {
            CDlgBtnAnimation2 dialog;
            dialog.m_caption = animation->m_name;
            dialog.m_driven = driven ? const_cast<CGCell*>(driven)->GetDescription() : CString();
            dialog.m_frames = animation->m_max;
            dialog.m_step = animation->m_speed;
            if ((accepted = dialog.DoModal() == IDOK)) {
                animation->SetCaption(dialog.m_caption);
                animation->m_max = dialog.m_frames;
                animation->m_speed = dialog.m_step;
            }
        } else {
            CDlgBtnAnimation dialog;
            dialog.m_caption = animation->m_name;
            dialog.m_driven = driven ? const_cast<CGCell*>(driven)->GetDescription() : CString();
            dialog.m_min = animation->m_min;
            dialog.m_max = animation->m_max;
            dialog.m_step = animation->m_speed;
            dialog.m_repeat = animation->m_repeat ? 1 : 0;
            dialog.m_pause = animation->m_extA3;
            dialog.m_direction = std::clamp(animation->m_mode, 0, 2);
            if ((accepted = dialog.DoModal() == IDOK)) {
                animation->SetCaption(dialog.m_caption);
                animation->m_min = dialog.m_min;
                animation->m_max = dialog.m_max;
                animation->m_speed = dialog.m_step;
                animation->m_repeat = dialog.m_repeat == 1 ? 1 : 0;
                animation->m_extA3 = dialog.m_pause;
                animation->m_mode = dialog.m_direction;
            }
        }
    } else if (auto* move = DYNAMIC_DOWNCAST(CGButnMove, &button)) {
        CDlgBtnMove dialog;
        CGCell* moving = move->m_parents.GetSize() > 0 ? HxFindCell(move->m_parents[0]) : nullptr;
        CGCell* target = move->m_parents.GetSize() > 1 ? HxFindCell(move->m_parents[1]) : nullptr;
        dialog.m_caption = move->m_name;
        dialog.m_moving = moving ? NameAndDescription(*moving) : CString();
        dialog.m_target = target ? NameAndDescription(*target) : CString();
        dialog.m_step = move->m_speed;
        if ((accepted = dialog.DoModal() == IDOK)) {
            TakeFixedCaption(*move, dialog.m_caption);
            move->m_speed = dialog.m_step;
        }
    } else if (auto* showHide = DYNAMIC_DOWNCAST(CGButnSHide, &button)) {
        CDlgBtnShide dialog;
        dialog.m_info = HxFormat(u"此按钮显示或隐藏 %d个对象", int(showHide->m_parents.GetSize()));
        dialog.m_caption = showHide->m_name;
        dialog.m_action = std::clamp(int(showHide->m_kind), 0, 3);
        if ((accepted = dialog.DoModal() == IDOK)) {
            if (dialog.m_caption.GetLength() >= 2)
                TakeFixedCaption(*showHide, dialog.m_caption);
            showHide->m_kind = BYTE(dialog.m_action);
        }
    } else if (auto* series = DYNAMIC_DOWNCAST(CGButnPresentat, &button)) {
        CDlgBtnPresentat dialog;
        dialog.m_caption = series->m_name;
        dialog.m_mode = series->m_kind != 0 ? 1 : 0;
        dialog.m_pause = series->m_extA3;
        dialog.m_loopKind = std::clamp(series->m_extA1, 0, 4);
        dialog.m_repeatCount = series->m_repeatCount;
        dialog.m_counter = std::clamp(series->m_counterNumber - 1, 0, 5);
        dialog.m_start = series->m_start;
        dialog.m_end = series->m_end;
        dialog.m_step = series->m_step;
        if ((accepted = dialog.DoModal() == IDOK)) {
            series->SetCaption(dialog.m_caption);
            series->m_kind = BYTE(dialog.m_mode);
            series->m_extA3 = dialog.m_pause;
            StoreLoop(dialog, *series);
        }
    } else if (auto* link = DYNAMIC_DOWNCAST(CGButnLink, &button)) {
        CDlgBtnLink dialog;
        std::vector<WORD> pageIds;
        ListPages(*this, dialog.m_pageTitles, pageIds);
        dialog.m_caption = link->m_name;
        dialog.m_kind = link->m_kind == CGButnLink::kToPage ? 0 : 1;
        const auto at = std::find(pageIds.begin(), pageIds.end(), link->m_pageId);
        dialog.m_pageIndex = at == pageIds.end() ? 0 : int(at - pageIds.begin());
        if (link->m_kind != CGButnLink::kToPage)
            dialog.m_hyperlink = link->m_target;
        if ((accepted = dialog.DoModal() == IDOK) && !pageIds.empty()) {
            const int index = std::clamp(dialog.m_pageIndex, 0, int(pageIds.size()) - 1);
            TakeFixedCaption(*link, dialog.m_caption);
            link->m_kind = dialog.m_kind == 0 ? CGButnLink::kToPage : CGButnLink::kToTarget;
            link->m_pageId = pageIds[size_t(index)];
            link->m_target =
                link->m_kind == CGButnLink::kToPage ? dialog.m_pageTitles[size_t(index)] : dialog.m_hyperlink;
        }
    } else if (auto* command = DYNAMIC_DOWNCAST(CGButnCommand, &button)) {
        CDlgCmdBtn dialog;
        dialog.m_caption = command->m_name;
        dialog.m_delay = command->m_delay;
        dialog.m_sequence = command->m_commands;
        dialog.SelectLast();
        // The window accepts no empty sequence; a button keeps at least one command.
        if ((accepted = dialog.DoModal() == IDOK) && !dialog.m_sequence.empty()) {
            TakeFixedCaption(*command, dialog.m_caption);
            command->m_delay = dialog.m_delay;
            command->m_commands = dialog.m_sequence;
            command->m_current = 0;
        }
    } else if (auto* view = DYNAMIC_DOWNCAST(CGButnView, &button)) {
        accepted = EditViewButton(*view);
    } else {
        return FALSE; // a button of a kind that has no dialog here
    }
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(g_pCurPage ? g_pCurPage->m_pageId : 0));
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return accepted;
}
