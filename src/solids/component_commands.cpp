// The right triangle, component and 3D text commands, the edit of a component through its dialog as
// one undo step, and that undo step.
#include "solids/component_commands.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/confined_points.h"
#include "points/constructed_arcs.h"
#include "points/scaled_points.h"
#include "solids/subassembly_dlg.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

IMPLEMENT_DYNAMIC(CCmdModifySubassembly, CCmd)

namespace {

void PostTextsChanged(const CGPage& page) {
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page.m_pageId));
}

// The only selected other object, when it is a component.
CGSubassembly* SelectedComponent(const CGPage& page) {
    if (page.m_selOthers.GetCount() != 1)
        return nullptr;
    return HxSelectedAs<CGSubassembly>(page.m_selOthers, 0);
}

} // namespace

CCmdModifySubassembly::CCmdModifySubassembly(WORD id, const CGSubassembly& before, const CString& name)
    : CCmd(name), m_id(id), m_fields(std::make_unique<CGSubassembly>()) {
    m_fields->CopyComponentFields(before);
}

BOOL CCmdModifySubassembly::Exchange() {
    auto* cell = DYNAMIC_DOWNCAST(CGSubassembly, HxFindCell(m_id));
    if (!cell)
        return FALSE;
    CGSubassembly now;
    now.CopyComponentFields(*cell);
    if (cell->m_kind != m_fields->m_kind)
        cell->DropDisplayLists();
    cell->CopyComponentFields(*m_fields);
    cell->InvalidateGlyphs();
    m_fields->CopyComponentFields(now);
    if (g_pCurPage && now.m_name != cell->m_name)
        PostTextsChanged(*g_pCurPage);
    return TRUE;
}

void CHalvixDoc::AddComponentCommands() {
    OnCommandId(ID_CREATE_RIGHTTRIANGLE, &CHalvixDoc::OnCreateRightTriangle);
    OnUpdateId(ID_CREATE_RIGHTTRIANGLE, &CHalvixDoc::OnUpdateRightTriangle);
    OnCommandId(ID_CREATE_SUBA, &CHalvixDoc::OnCreateSuba);
    OnCommandId(ID_CREATE_3DTEXT, &CHalvixDoc::OnCreate3DText);
}

// ---------------------------------------------------------------------------------------------
// Right triangle

void CHalvixDoc::OnUpdateRightTriangle(CCmdUI* pCmdUI) {
    const int points = g_pCurPage ? g_pCurPage->m_selPoints.GetCount() : -1;
    pCmdUI->Enable(points == 0 || points == 2);
}

void CHalvixDoc::OnCreateRightTriangle() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const std::vector<CGVertex*> selected = HxSelectedCells<CGVertex>(page->m_selPoints);
    const int pointCount = page->m_selPoints.GetCount();
    if (pointCount != 0 && (pointCount != 2 || selected.size() != 2))
        return;
    CConstruction run(*this);
    const bool twoPoints = pointCount == 2;
    if (!run.Reserve(twoPoints ? 4 : 9, twoPoints ? 1 : 4))
        return;
    if (twoPoints) {
        // The right angle at the first point: P with PA square to AB.
        const WORD a = selected[0]->m_id, b = selected[1]->m_id;
        const WORD p = run.AddPoint<CGVerFreeUpright>(a, b)->m_id;
        run.AddCell<CGLine>(b, p, CGLine::kSegment);
        run.AddCell<CGLine>(p, a, CGLine::kSegment);
        run.AddCell<CGLine>(a, b, CGLine::kSegment);
        run.CommitCells(u"添加直角三角形");
        return;
    }
    const float k = g_unitLength * 20.0f;
    auto* a = run.AddNamedPoint<CGVerFreeXyz>(u"A", -8.0f * k, -5.0f * k, 0.0f);
    a->m_labelOffset[0] = -1.1f * k;
    a->m_labelOffset[1] = -0.8f * k;
    a->SyncVertex();
    auto* b = run.AddNamedPoint<CGVerFree2dHenchman>(u"B", 8.0f * k, -5.0f * k, a->m_id);
    b->m_labelOffset[1] = -0.8f * k;
    b->SyncVertex();
    // D, the midpoint of AB, carries the circle on which C keeps the right angle.
    auto* d = run.AddNamedPoint<CGVerScale>(u"D", b->m_id, a->m_id, 0.5f);
    d->m_hidden = 1;
    d->m_labelOffset[1] = -1.2f * k;
    d->SyncVertex();
    auto* circle = run.AddCell<CGArcPoint2>(d->m_id, b->m_id, BYTE(0));
    circle->m_hidden = 1;
    const WORD c = run.AddNamedPoint<CGVerFreeInCircle>(u"C", circle->m_id, 1.2f)->m_id;
    run.AddCell<CGFace>(a->m_id, b->m_id, c, NextAutoColor());
    run.AddCell<CGLine>(b->m_id, c, CGLine::kSegment);
    run.AddCell<CGLine>(c, a->m_id, CGLine::kSegment);
    run.AddCell<CGLine>(a->m_id, b->m_id, CGLine::kSegment);
    run.CommitCells(u"添加直角三角形");
}

// ---------------------------------------------------------------------------------------------
// Components

void CHalvixDoc::OnCreateSuba() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    if (CGSubassembly* selected = SelectedComponent(*page)) {
        // The properties command opens it; until the document has one, its dialog opens here.
        if (!AfxGetCommandRouter().Execute(ID_EDIT_PROPERTY_COMMAND))
            EditComponent(selected);
        return;
    }
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    CCreateSubaDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;
    auto* cell = run.AddCell<CGSubassembly>(
        BYTE(dlg.m_kind), BYTE(dlg.m_style), dlg.m_coloring, dlg.m_texture, dlg.m_dragLock, dlg.m_center[0],
        dlg.m_center[1], dlg.m_center[2], dlg.m_axis[0], dlg.m_axis[1], dlg.m_axis[2], dlg.m_spin,
        dlg.m_scale[0], dlg.m_scale[1], dlg.m_scale[2], dlg.ClipMode(), dlg.m_plane1, dlg.m_plane2);
    // The text of a new 3D text is its kind's name; only the font is taken from the dialog.
    if (dlg.m_kind == kSubassemblyText)
        cell->m_text1 = dlg.m_fontName;
    if (dlg.m_coloring == 1)
        cell->TakeCurrentMaterial();
    run.CommitCell(CString(u"添加组件") + cell->m_name);
}

void CHalvixDoc::OnCreate3DText() {
    if (!g_pCurPage)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    const double plane1[4] = {0.0, 0.0, 1.0, 0.0};
    const double plane2[4] = {0.0, -1.0, 0.0, 0.0};
    auto* cell =
        run.AddCell<CGSubassembly>(kSubassemblyText, BYTE(0), 0, 0, 0, -20.0f, 0.0f, 0.0f, 0.0f, 1.0f, 3.0f,
                                   0.0f, 10.0f, 10.0f, 10.0f, CGSubassembly::kClipNone, plane1, plane2);
    cell->m_text1 = u"楷体";
    cell->m_name = u"Halvix";
    cell->m_color.r = 0;
    cell->m_color.g = 128;
    cell->m_color.b = 0;
    run.CommitCell(u"添加3D文字");
    // Seen face on.
    AfxGetCommandRouter().Execute(ID_VIEW_PLANE_COMMAND);
}

BOOL CHalvixDoc::EditComponent(CGSubassembly* cell) {
    CGPage* page = g_pCurPage;
    if (!cell || !page || page->FindCell(cell->m_id) != cell)
        return FALSE;
    // The fields as they were before the dialog: a preset material chosen in it reaches the selected
    // component at once, and belongs to the edit's undo step.
    const WORD id = cell->m_id;
    CGSubassembly before;
    before.CopyComponentFields(*cell);
    CCreateSubaDlg dlg;
    dlg.FillFrom(*cell);
    if (dlg.DoModal() != IDOK) {
        // Cancelled after a material was given at once: that change can still be undone.
        if (page->FindCell(id) == cell && !cell->SameComponentFields(before)) {
            page->m_cmdProcessor.Submit(new CCmdModifySubassembly(id, before, u"修改组件属性"));
            SetModifiedFlag(TRUE);
            UpdateAllViews(nullptr);
        }
        return FALSE;
    }

    if (dlg.m_kind != cell->m_kind) {
        cell->DropDisplayLists();
        cell->m_kind = BYTE(dlg.m_kind);
    }
    // A style of any value but 0 is the wire frame: it changes only between the two.
    const BYTE style = dlg.m_style == 0 ? 0 : (cell->m_style != 0 ? cell->m_style : 1);
    if (style != cell->m_style || dlg.m_text != cell->m_name || dlg.m_fontName != cell->m_text1) {
        cell->m_style = style;
        cell->m_name = dlg.m_text;
        cell->m_text1 = dlg.m_fontName;
        cell->InvalidateGlyphs();
    }
    cell->m_texture = dlg.m_texture;
    cell->m_fixed = dlg.m_dragLock != 0;
    for (int i = 0; i < 3; ++i) {
        cell->m_center[i] = dlg.m_center[i];
        cell->m_axis[i] = dlg.m_axis[i];
        cell->m_scale[i] = dlg.m_scale[i];
    }
    cell->m_spin = dlg.m_spin;
    cell->m_ownMaterial = dlg.m_coloring;
    if (dlg.m_coloring == 1)
        cell->TakeCurrentMaterial();
    // Clipping unticked leaves the clip mode and the planes as they were.
    if (dlg.m_clip) {
        cell->m_clipMode = dlg.ClipMode();
        for (int i = 0; i < 4; ++i) {
            cell->m_plane1[i] = dlg.m_plane1[i];
            cell->m_plane2[i] = dlg.m_plane2[i];
        }
    }
    if (cell->SameComponentFields(before))
        return FALSE;
    page->m_cmdProcessor.Submit(new CCmdModifySubassembly(cell->m_id, before, u"修改组件属性"));
    if (before.m_name != cell->m_name)
        PostTextsChanged(*page);
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return TRUE;
}
