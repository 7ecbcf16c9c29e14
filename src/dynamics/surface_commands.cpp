// The surface command of the document: a surface over the selected values made from the surface
// dialog as one undo step, and the properties of a surface through the same dialog.
#include "document/halvix_doc.h"

#include "construct/construction.h"
#include "dynamics/edit_ids.h"
#include "dynamics/surface.h"
#include "dynamics/surface_dialog.h"

namespace {

constexpr BYTE kTranslucentAlpha = 90;
constexpr BYTE kOpaqueAlpha = 255;

// Why a surface just made or edited shows nothing: a text it could not compile, named with its
// button's label so the user finds it, or ranges that give no number or too many samples.  A surface
// that is invalid because a value it follows is says nothing: it comes back with the value.
void ReportBrokenText(CGSurface& surface) {
    const int broken = surface.FirstBrokenText();
    if (broken < 0) {
        if (surface.m_valid)
            return;
        for (WORD id : surface.m_parents) {
            const CGCell* parent = HxFindCell(id);
            if (!parent || !parent->m_valid)
                return;
        }
        AfxMessageBox(kSurfaceRangeMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    static const char16_t* const kNames[CGSurface::kTextCount] = {
        u"x[ρ](u,v)=", u"y[θ](u,v)=", u"z[φ](u,v)=", u"u:从", u"u:到", u"v:从", u"v:到"};
    AfxMessageBox(
        HxFormat(u"表达式错误，请修改！\n%s %s", kNames[broken], surface.m_texts[broken].GetString()),
        MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void CHalvixDoc::OnCreateSurface() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgSurface dialog;
    std::vector<WORD> parents;
    for (WORD id : page->m_selValues) {
        if (const CGCell* value = page->FindCell(id)) {
            dialog.OfferValue(*value);
            parents.push_back(id);
        }
    }
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    const double mapping[CGSurface::kMappingCount] = {dialog.m_sScale,      dialog.m_reserved[0],
                                                      dialog.m_reserved[1], dialog.m_tScale,
                                                      dialog.m_sOffset,     dialog.m_tOffset};
    auto* surface = run.AddCell<CGSurface>(
        parents, dialog.m_x, dialog.m_y, dialog.m_z, dialog.m_uFrom, dialog.m_uTo, dialog.m_vFrom,
        dialog.m_vTo, BYTE(dialog.m_displayMode), dialog.m_texture, dialog.m_back ? 1 : 0, dialog.m_mapping,
        dialog.m_system, dialog.m_uStep, dialog.m_vStep, mapping);
    if (surface->m_style == CGSurface::kStyleTranslucent)
        surface->m_color.a = kTranslucentAlpha;
    run.CommitCell(kUndoAddSurface);
    ReportBrokenText(*surface);
}

BOOL CHalvixDoc::EditSurfaceProperties(CGSurface& surface) {
    CDlgSurface dialog;
    for (WORD id : surface.m_parents) {
        if (const CGCell* value = HxFindCell(id))
            dialog.OfferValue(*value);
    }
    dialog.TakeFrom(surface);
    const BOOL accepted = dialog.DoModal() == IDOK;
    if (accepted) {
        const BYTE oldStyle = surface.m_style;
        dialog.WriteTo(surface);
        if (oldStyle == CGSurface::kStyleTranslucent && surface.m_style != CGSurface::kStyleTranslucent)
            surface.m_color.a = kOpaqueAlpha;
        else if (oldStyle != CGSurface::kStyleTranslucent && surface.m_style == CGSurface::kStyleTranslucent)
            surface.m_color.a = kTranslucentAlpha;
        surface.m_uCount = surface.m_vCount = 0;
        surface.Recompute();
        if (CGPage* page = g_pCurPage) {
            std::vector<WORD> ids;
            page->CollectDescendantIds(surface, ids);
            page->UpdateCellsById(ids);
        }
        ReportBrokenText(surface);
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return accepted;
}
