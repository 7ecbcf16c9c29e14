// The hull, net, section and cut commands: a convex hull of the selected points or of a preset vertex
// set, the net of a selected hull with the button that folds it, the section of a hull by a face's
// plane, and a hull cut by planes with the button that cuts it, each as one undo step; and the
// properties of these figures through the same dialogs.
#include "construct/hull_commands.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "model/face.h"
#include "model/model_globals.h"
#include "model/vertex.h"
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/polyhedron.h"
#include "solids/polyhedron_dialogs.h"
#include "solids/section.h"
#include "solids/split.h"

#include <cmath>
#include <memory>
#include <vector>

const char16_t* const kUndoAddHull = u"添加凸包";
const char16_t* const kUndoAddNet = u"添加展开图";
const char16_t* const kUndoAddSection = u"添加截面图";
const char16_t* const kUndoAddCut = u"添加多面体切割图";
const char16_t* const g_tooFewHullPointsMessage = u"至少选择四个不共面的点";
const char16_t* const g_sectionPropertiesMessage =
    u"这是多面体与平面的截面图\n\n改变平面的位置可以动态显示截面图形";

namespace {

// The hull a net, section or cut is built on: the first selected other object, when it is a hull.
CGPolyhedron* SelectedHull(const CGPage* page) {
    return page ? HxSelectedAs<CGPolyhedron>(page->m_selOthers, 0) : nullptr;
}

// The selected points' positions, in selection order, as x, y, z triples.
std::vector<double> SelectedPositions(const CGPage& page) {
    std::vector<double> out;
    for (const CGVertex* point : HxSelectedCells<CGVertex>(page.m_selPoints)) {
        out.push_back(point->m_x);
        out.push_back(point->m_y);
        out.push_back(point->m_z);
    }
    return out;
}

} // namespace

void CHalvixDoc::AddHullCommands() {
    OnCommandId(ID_POLYHEDRON, &CHalvixDoc::OnPolyhedron);
    OnCommandId(ID_FOLD, &CHalvixDoc::OnFold);
    OnUpdateId(ID_FOLD, &CHalvixDoc::OnUpdateFoldOrCut);
    OnCommandId(ID_SECTION, &CHalvixDoc::OnSection);
    OnUpdateId(ID_SECTION, &CHalvixDoc::OnUpdateSection);
    OnCommandId(ID_TI_SPLIT, &CHalvixDoc::OnSplit);
    OnUpdateId(ID_TI_SPLIT, &CHalvixDoc::OnUpdateFoldOrCut);
}

// ---------------------------------------------------------------------------------------------
// Update handlers: only the other objects (and, for the section, the faces) are looked at.

void CHalvixDoc::OnUpdateFoldOrCut(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && page->m_selOthers.GetCount() == 1 && SelectedHull(page));
}

void CHalvixDoc::OnUpdateSection(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && page->m_selOthers.GetCount() == 1 && page->m_selFaces.GetCount() == 1 &&
                   SelectedHull(page));
}

// ---------------------------------------------------------------------------------------------
// Commands

void CHalvixDoc::OnPolyhedron() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgPolyhedron dialog;
    dialog.m_building = true;
    dialog.m_vertexSet = page->m_selPoints.GetCount() < 4 ? 1 : 0;
    dialog.m_style = CGPolyhedron::kStyleLit;
    dialog.m_hidden = FALSE;
    if (dialog.DoModal() != IDOK)
        return;
    std::vector<double> points;
    if (dialog.m_vertexSet == 0) {
        points = SelectedPositions(*page);
        if (points.size() < 4 * 3) {
            AfxMessageBox(g_tooFewHullPointsMessage, MB_OK);
            return;
        }
    } else {
        points = HxHullPresetPoints(dialog.m_vertexSet);
    }
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    // The hull is kept only when the points span a solid (or a flat polygon of four corners or more);
    // otherwise it never takes an id and nothing is recorded.
    auto hull = std::make_unique<CGPolyhedron>();
    hull->m_name = dialog.m_label;
    if (!BuildConvexHull(points.data(), int(points.size() / 3), *hull))
        return;
    hull->m_style = BYTE(dialog.m_style);
    hull->m_hidden = dialog.m_hidden;
    run.Adopt(std::move(hull));
    run.CommitCell(kUndoAddHull);
}

void CHalvixDoc::OnFold() {
    CGPolyhedron* hull = SelectedHull(g_pCurPage);
    if (!hull)
        return;
    CDlgFold dialog;
    dialog.m_style = CGFold::kStyleLit;
    dialog.m_unfoldMode = CGFold::kSpreadByLevel;
    dialog.m_hidden = FALSE;
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(2, 0))
        return;
    auto* net =
        run.AddCell<CGFold>(hull->m_id, dialog.m_label, BYTE(dialog.m_style), int32_t(dialog.m_unfoldMode));
    net->m_hidden = dialog.m_hidden;
    // Up from the base face in its place to the closed solid and back, resting a second at each end.
    auto* button = run.AddCell<CGButnAnimation>(CString(u"折展"), net->m_id, 1.0f, net->ClosedParameter(),
                                                CGButnAnimation::kBackAndForth, BYTE(0), 0.03f, 1.0f);
    button->m_kind = CGButnAnimation::kSweep;
    run.CommitCells(kUndoAddNet);
}

void CHalvixDoc::OnSection() {
    CGPage* page = g_pCurPage;
    CGPolyhedron* hull = SelectedHull(page);
    CGFace* face = page ? HxSelectedAs<CGFace>(page->m_selFaces, 0) : nullptr;
    if (!hull || !face)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGSection>(hull->m_id, face->m_id);
    run.CommitCell(kUndoAddSection);
}

void CHalvixDoc::OnSplit() {
    CGPage* page = g_pCurPage;
    CGPolyhedron* hull = SelectedHull(page);
    if (!hull)
        return;
    const int faces = int(page->m_selFaces.GetCount());
    CDlgSplit dialog;
    dialog.PresetForBuilding(faces);
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(2, 0))
        return;
    auto* cut = run.AddCell<CGSplit>(hull->m_id, int32_t(dialog.m_planeCount), int32_t(faces > 0 ? 1 : 0),
                                     std::abs(dialog.m_shift));
    cut->m_name = dialog.m_label;
    cut->m_style = BYTE(dialog.m_style);
    cut->m_hidden = dialog.m_hidden;
    // One plane for each unit of the parameter, once through.
    auto* button = run.AddCell<CGButnAnimation>(CString(u"切割"), cut->m_id, 0.0f, cut->FullCutParameter(),
                                                CGButnAnimation::kForward, BYTE(0), 0.03f, 0.0f);
    button->m_kind = CGButnAnimation::kSweep;
    run.CommitCells(kUndoAddCut);
}

// ---------------------------------------------------------------------------------------------
// Properties

bool HxIsHullFigure(const CGCell* cell) {
    return cell && (cell->IsKindOf(RUNTIME_CLASS(CGPolyhedron)) || cell->IsKindOf(RUNTIME_CLASS(CGFold)) ||
                    cell->IsKindOf(RUNTIME_CLASS(CGSplit)) || cell->IsKindOf(RUNTIME_CLASS(CGSection)));
}

BOOL CHalvixDoc::EditHullFigure(CGCell* cell) {
    CGPage* page = g_pCurPage;
    if (!page || !cell || page->FindCell(cell->m_id) != cell)
        return FALSE;
    CString name = cell->m_name;
    if (cell->IsKindOf(RUNTIME_CLASS(CGSection))) {
        AfxMessageBox(g_sectionPropertiesMessage, MB_OK);
        return FALSE;
    }
    if (auto* hull = DYNAMIC_DOWNCAST(CGPolyhedron, cell)) {
        CDlgPolyhedron dialog;
        dialog.m_building = false;
        dialog.m_label = name;
        dialog.m_style = hull->m_style;
        dialog.m_hidden = hull->m_hidden;
        if (dialog.DoModal() != IDOK)
            return FALSE;
        hull->m_style = BYTE(dialog.m_style);
        hull->m_hidden = dialog.m_hidden;
        name = dialog.m_label;
    } else if (auto* net = DYNAMIC_DOWNCAST(CGFold, cell)) {
        CDlgFold dialog;
        dialog.m_label = name;
        dialog.m_style = net->m_style;
        dialog.m_unfoldMode = net->m_spreadMode;
        dialog.m_hidden = net->m_hidden;
        if (dialog.DoModal() != IDOK)
            return FALSE;
        net->m_style = BYTE(dialog.m_style);
        net->m_spreadMode = dialog.m_unfoldMode;
        net->m_hidden = dialog.m_hidden;
        name = dialog.m_label;
    } else if (auto* cut = DYNAMIC_DOWNCAST(CGSplit, cell)) {
        CDlgSplit dialog;
        dialog.PresetForProperties(cut->m_useFaces != 0);
        dialog.m_planeCount = cut->m_planeCount;
        dialog.m_label = name;
        dialog.m_style = cut->m_style;
        dialog.m_hidden = cut->m_hidden;
        dialog.m_shift = cut->m_displacement;
        if (dialog.DoModal() != IDOK)
            return FALSE;
        cut->m_style = BYTE(dialog.m_style);
        cut->m_hidden = dialog.m_hidden;
        cut->m_displacement = std::abs(dialog.m_shift);
        name = dialog.m_label;
        // Planes that follow faces keep their number; the fixed planes start again with the new one.
        if (!cut->m_useFaces && dialog.m_planeCount != cut->m_planeCount) {
            cut->m_planeCount = dialog.m_planeCount;
            cut->Recompute();
        }
    } else {
        return FALSE;
    }
    if (name != cell->m_name) {
        cell->m_name = name;
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page->m_pageId));
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return TRUE;
}
