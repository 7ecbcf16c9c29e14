// The properties command (ID_EDIT_PROPERTY): the relation report of two selected points, lines or
// faces, or the dialog of the one selected object by its kind (point, line, face, circle, locus,
// curve, value, solid of revolution, surface, trace of figures, iteration, picture, formula text,
// plane axes, component, 3DS model, hull figure, colour modifier, button), else the page's own
// dialog or, while traces are kept on screen, the trace dialog.
#include "document/halvix_doc.h"

#include "construct/hull_commands.h"
#include "document/element_properties.h"
#include "document/relation_report.h"
#include "document/text_item_properties.h"
#include "dynamics/buttons.h"
#include "dynamics/color_modifier.h"
#include "dynamics/ink.h"
#include "dynamics/curves.h"
#include "dynamics/iterate.h"
#include "dynamics/surface.h"
#include "dynamics/track.h"
#include "measure/scale_line.h"
#include "model/arc.h"
#include "model/cell_kinds.h"
#include "model/face.h"
#include "model/line.h"
#include "solids/model3ds.h"
#include "solids/subassembly.h"
#include "view/gl_context.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// The n-th entry (0-based) of a selection list.
WORD SelectedEntry(const CList<WORD, WORD>& list, int n) {
    POSITION pos = list.GetHeadPosition();
    for (int i = 0; i < n && pos; ++i)
        list.GetNext(pos);
    return pos ? list.GetAt(pos) : 0;
}

} // namespace

HxPropertiesRule HxFindPropertiesRule(const CGPage& page) {
    const int p = page.m_selPoints.GetCount(), l = page.m_selLines.GetCount(), f = page.m_selFaces.GetCount();
    const int a = page.m_selCurves.GetCount(), s = page.m_selSolids.GetCount(),
              t = page.m_selTexts.GetCount();
    const int v = page.m_selValues.GetCount(), b = page.m_selButtons.GetCount(),
              o = page.m_selOthers.GetCount();
    using R = HxPropertiesRule;
    if (p == 1 && l == 1)
        return R::PointLine;
    if (p == 1 && f == 1)
        return R::PointPlane;
    if (p == 1)
        return R::Point;
    if (p == 2)
        return R::TwoPoints;
    if (l == 1 && f == 1)
        return R::LinePlane;
    if (l == 1)
        return R::Line;
    if (l == 2)
        return R::TwoLines;
    if (f == 1)
        return R::Face;
    if (f == 2)
        return R::TwoPlanes;
    if (a == 1)
        return R::Curve;
    if (b == 1)
        return R::Button;
    if (v == 1 && t == 0)
        return R::Value;
    if (s == 1)
        return R::Solid;
    if (t == 1)
        return R::Text;
    if (o != 1)
        return R::Page;
    return R::Other;
}

void CHalvixDoc::OnEditProperties() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    using R = HxPropertiesRule;
    const R rule = HxFindPropertiesRule(*page);
    const auto report = [&](HxRelation relation, const CList<WORD, WORD>& firstList,
                            const CList<WORD, WORD>& second, int secondIndex) {
        CString text, title;
        if (!HxRelationReport(relation, SelectedEntry(firstList, 0), SelectedEntry(second, secondIndex), text,
                              title))
            return false;
        HxMessageBox(text, title, MB_OK | MB_ICONEXCLAMATION);
        return true;
    };
    switch (rule) {
    case R::PointLine:
        if (!report(HxRelation::PointLine, page->m_selPoints, page->m_selLines, 0))
            return;
        break;
    case R::PointPlane:
        if (!report(HxRelation::PointPlane, page->m_selPoints, page->m_selFaces, 0))
            return;
        break;
    case R::TwoPoints:
        if (!report(HxRelation::TwoPoints, page->m_selPoints, page->m_selPoints, 1))
            return;
        break;
    case R::LinePlane:
        if (!report(HxRelation::LinePlane, page->m_selLines, page->m_selFaces, 0))
            return;
        break;
    case R::TwoLines:
        if (!report(HxRelation::TwoLines, page->m_selLines, page->m_selLines, 1))
            return;
        break;
    case R::TwoPlanes:
        if (!report(HxRelation::TwoPlanes, page->m_selFaces, page->m_selFaces, 1))
            return;
        break;
    case R::Point:
        if (auto* point = DYNAMIC_DOWNCAST(CGVertex, page->FindCell(SelectedEntry(page->m_selPoints, 0))))
            HxEditPointProperties(*page, *point);
        break;
    case R::Line:
        if (auto* line = DYNAMIC_DOWNCAST(CGLine, page->FindCell(SelectedEntry(page->m_selLines, 0))))
            HxEditLineProperties(*page, *line);
        break;
    case R::Face:
        if (auto* face = DYNAMIC_DOWNCAST(CGFace, page->FindCell(SelectedEntry(page->m_selFaces, 0))))
            HxEditFaceProperties(*page, *face);
        break;
    case R::Curve: {
        CGCell* cell = page->FindCell(SelectedEntry(page->m_selCurves, 0));
        if (auto* circle = DYNAMIC_DOWNCAST(CGArc, cell))
            HxEditCircleProperties(*page, *circle);
        else if (auto* locus = DYNAMIC_DOWNCAST(CGLocus, cell))
            EditLocusProperties(*locus);
        else if (auto* curve = DYNAMIC_DOWNCAST(CGCurve, cell))
            EditCurveProperties(*curve);
        else if (DYNAMIC_DOWNCAST(CGInkmarks, cell))
            AfxMessageBox(u"这是画笔留下的墨迹！", MB_OK);
        break;
    }
    case R::Value:
        if (CGCell* value = page->FindCell(SelectedEntry(page->m_selValues, 0)))
            HxEditValueProperties(*page, *value);
        break;
    case R::Solid: {
        CGCell* cell = page->FindCell(SelectedEntry(page->m_selSolids, 0));
        if (auto* track = DYNAMIC_DOWNCAST(CGTrack, cell)) {
            EditTrackProperties(*track);
            return;
        }
        if (auto* surface = DYNAMIC_DOWNCAST(CGSurface, cell)) {
            EditSurfaceProperties(*surface);
            return;
        }
        if (cell)
            HxEditSolidProperties(*cell);
        break;
    }
    case R::Text:
        if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, page->FindCell(SelectedEntry(page->m_selTexts, 0)))) {
            EditIterateProperties(*iterate);
            return;
        }
        if (CGCell* item = page->FindCell(SelectedEntry(page->m_selTexts, 0)))
            HxEditPictureOrFormulaItem(*item, [this] { UpdateAllViews(nullptr); });
        break;
    case R::Page:
        if (g_traceImageEmpty == 0)
            HxEditTraceProperties(*page);
        else
            EditPageProperties(*page);
        break;
    case R::Other: {
        CGCell* cell = page->FindCell(SelectedEntry(page->m_selOthers, 0));
        if (auto* component = DYNAMIC_DOWNCAST(CGSubassembly, cell)) {
            EditComponent(component);
            return;
        }
        if (auto* model = DYNAMIC_DOWNCAST(CGModel3ds, cell)) {
            EditModel3ds(model);
            return;
        }
        if (HxIsHullFigure(cell)) {
            EditHullFigure(cell);
            return;
        }
        if (auto* modifier = DYNAMIC_DOWNCAST(CGMdfColor, cell)) {
            EditColorModifier(*modifier);
            return;
        }
        if (auto* axes = DYNAMIC_DOWNCAST(CGScaleline, cell))
            HxEditScaleLineProperties(*axes);
        break;
    }
    case R::Button:
        if (auto* button = DYNAMIC_DOWNCAST(CGButton, page->FindCell(SelectedEntry(page->m_selButtons, 0))))
            EditButtonProperties(*button);
        return;
    }
    // Cancel too: the dialog may have changed what it shows.
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnUpdateEditProperties(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage ? TRUE : FALSE);
}

BOOL CHalvixDoc::EditPageProperties(CGPage& page) {
    CDlgPageProperty dlg;
    HxFillPageDialog(page, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    page.m_title = dlg.m_title;
    page.m_dashedBehindLit = dlg.m_dashedBehindLit ? 1 : 0;
    g_backgroundColor[0] = float(GetRValue(dlg.m_background) / 255.0);
    g_backgroundColor[1] = float(GetGValue(dlg.m_background) / 255.0);
    g_backgroundColor[2] = float(GetBValue(dlg.m_background) / 255.0);
    // The page keeps its background, so that it comes back with the page and is saved with it.
    std::copy(g_backgroundColor, g_backgroundColor + 4, page.m_background);
    if (HxMakeGlCurrent())
        glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
    // A unit of no pixels would make every length infinite: the page keeps at least one.
    const int units = std::max(dlg.m_unitPixels, 1);
    if (units != page.m_unitsPerLength) {
        page.m_unitsPerLength = units;
        g_unitLength = 1.0f / float(unsigned(units));
        ReloadProjection(g_projectionType);
    }
    int position = 0;
    FindPageByNumber(page.m_pageId, position);
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 2, LPARAM(position));
    return TRUE;
}

void HxFillPageDialog(const CGPage& page, CDlgPageProperty& dlg) {
    dlg.m_title = page.m_title;
    dlg.m_unitPixels = int(std::lround(1.0 / double(g_unitLength)));
    dlg.m_dashedBehindLit = page.m_dashedBehindLit ? TRUE : FALSE;
    dlg.m_background = RGB(BYTE(g_backgroundColor[0] * 255.0f), BYTE(g_backgroundColor[1] * 255.0f),
                           BYTE(g_backgroundColor[2] * 255.0f));
}
