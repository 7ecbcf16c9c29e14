// The properties command (ID_EDIT_PROPERTY) as far as the dialogs of its objects exist: one selected
// action button, trace or iteration, or one selected component, 3DS model, hull, net, section or
// cut; every other selection is handed on down the routing.
#include "document/halvix_doc.h"

#include "construct/hull_commands.h"
#include "dynamics/buttons.h"
#include "dynamics/iterate.h"
#include "dynamics/track.h"
#include "solids/model3ds.h"
#include "solids/subassembly.h"

namespace {

// What the command looks at first (points, lines, faces, curves) is not selected.
bool NoElementSelected(const CGPage& page) {
    return page.m_selPoints.IsEmpty() && page.m_selLines.IsEmpty() && page.m_selFaces.IsEmpty() &&
           page.m_selCurves.IsEmpty();
}

// The one selected button, when the command goes to a button.
CGButton* ButtonForProperties(const CGPage* page) {
    if (!page || page->m_selButtons.GetCount() != 1 || !NoElementSelected(*page))
        return nullptr;
    return DYNAMIC_DOWNCAST(CGButton, page->FindCell(page->m_selButtons.GetHead()));
}

// The one selected other object, when nothing before it in the command's order is selected and it
// is a component, a 3DS model, or a hull or a figure on one.
CGCell* OtherForProperties(const CGPage* page) {
    if (!page || !NoElementSelected(*page) || !page->m_selButtons.IsEmpty() || !page->m_selValues.IsEmpty() ||
        !page->m_selSolids.IsEmpty() || !page->m_selTexts.IsEmpty() || page->m_selOthers.GetCount() != 1)
        return nullptr;
    CGCell* cell = page->FindCell(page->m_selOthers.GetHead());
    return DYNAMIC_DOWNCAST(CGSubassembly, cell) || DYNAMIC_DOWNCAST(CGModel3ds, cell) || HxIsHullFigure(cell)
               ? cell
               : nullptr;
}

// Whether one of the command's rules for points, lines, faces and circles takes the selection (one
// or two points, lines or faces, one circle), or a single value without texts (the value rule).
bool EarlierRuleApplies(const CGPage& page) {
    const int p = page.m_selPoints.GetCount(), l = page.m_selLines.GetCount(), f = page.m_selFaces.GetCount();
    return p == 1 || p == 2 || l == 1 || l == 2 || f == 1 || f == 2 || page.m_selCurves.GetCount() == 1 ||
           page.m_selButtons.GetCount() == 1 ||
           (page.m_selValues.GetCount() == 1 && page.m_selTexts.IsEmpty());
}

// The one selected solid, when it is a trace of figures and comes first in the command's order.
CGTrack* TrackForProperties(const CGPage* page) {
    if (!page || EarlierRuleApplies(*page) || page->m_selSolids.GetCount() != 1)
        return nullptr;
    return DYNAMIC_DOWNCAST(CGTrack, page->FindCell(page->m_selSolids.GetHead()));
}

// The one selected text, when it is an iteration and comes first in the command's order.
CGIterate* IterateForProperties(const CGPage* page) {
    if (!page || EarlierRuleApplies(*page) || page->m_selSolids.GetCount() == 1 ||
        page->m_selTexts.GetCount() != 1)
        return nullptr;
    return DYNAMIC_DOWNCAST(CGIterate, page->FindCell(page->m_selTexts.GetHead()));
}

} // namespace

void CHalvixDoc::OnEditProperties() {
    if (CGButton* button = ButtonForProperties(g_pCurPage)) {
        EditButtonProperties(*button);
        return;
    }
    if (CGTrack* track = TrackForProperties(g_pCurPage)) {
        EditTrackProperties(*track);
        return;
    }
    if (CGIterate* iterate = IterateForProperties(g_pCurPage)) {
        EditIterateProperties(*iterate);
        return;
    }
    if (CGCell* other = OtherForProperties(g_pCurPage)) {
        if (auto* component = DYNAMIC_DOWNCAST(CGSubassembly, other))
            EditComponent(component);
        else if (auto* model = DYNAMIC_DOWNCAST(CGModel3ds, other))
            EditModel3ds(model);
        else
            EditHullFigure(other);
        return;
    }
    AfxGetCommandRouter().ExecuteAfter(this, ID_EDIT_PROPERTY);
}

void CHalvixDoc::OnUpdateEditProperties(CCmdUI* pCmdUI) {
    if (ButtonForProperties(g_pCurPage) || OtherForProperties(g_pCurPage) || TrackForProperties(g_pCurPage) ||
        IterateForProperties(g_pCurPage))
        pCmdUI->Enable(TRUE);
    else if (AfxGetCommandRouter().HasHandlerAfter(this, ID_EDIT_PROPERTY))
        pCmdUI->ContinueRouting();
    else
        pCmdUI->Enable(FALSE);
}
