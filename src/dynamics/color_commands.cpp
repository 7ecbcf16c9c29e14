// The colour commands 2000 to 2029 of the document: named, random and custom colours and the
// opacity of the selected objects, and the parameter colour that adds a colour modifier.
#include "construct/construction.h"
#include "construct/input_dialogs.h"
#include "document/display_dialogs.h"
#include "document/display_ids.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "dynamics/color_modifier.h"
#include "measure/text_items.h"
#include "platform/random.h"
#include "view/view_colors.h"

#include <algorithm>
#include <vector>

namespace {

// The sixteen named colours of the commands 2000 to 2015.
constexpr COLORREF kNamedColors[16] = {
    RGB(255, 0, 0),   RGB(0, 255, 0),     RGB(0, 0, 255),     RGB(0, 255, 255),
    RGB(255, 0, 255), RGB(255, 255, 0),   RGB(128, 0, 0),     RGB(0, 128, 0),
    RGB(0, 0, 128),   RGB(0, 128, 128),   RGB(128, 0, 128),   RGB(128, 128, 0),
    RGB(0, 0, 0),     RGB(128, 128, 128), RGB(192, 192, 192), RGB(255, 255, 255),
};

double RandUnit() {
    return double(HxRand()) / double(HX_RAND_MAX);
}

// A formula text shows its colour in its rendered picture, which is made again.
void RenderAgain(CGCell* cell) {
    if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, cell))
        formula->UpdateTexture();
}

void RandomColors(CGPage& page, CHalvixDoc& doc) {
    int n = 0;
    ForEachCell(page.m_cells, [&](CGCell* cell) { n += cell->m_selected ? 1 : 0; });
    if (n == 0)
        return;
    const double saturation = RandUnit() * 0.5 + 0.5;
    const double lightness = RandUnit() * 0.5 + 0.25;
    const double hueOffset = RandUnit();
    // n evenly spaced hues handed out in a random order: each cell takes one of the free slots.
    std::vector<bool> taken(size_t(n), false);
    int remaining = n - 1;
    ForEachCell(page.m_cells, [&](CGCell* cell) {
        if (!cell->m_selected)
            return;
        const int k = int(RandUnit() * remaining + 1.0);
        int slot = 0, free = 0;
        for (int j = 0; j < n; ++j) {
            if (taken[size_t(j)])
                continue;
            if (++free == k) {
                slot = j;
                break;
            }
        }
        taken[size_t(slot)] = true;
        --remaining;
        double hue = double(slot) / double(n) + hueOffset;
        if (hue > 1.0)
            hue -= 1.0;
        double rgb[3];
        HslToRgb(rgb, hue, saturation, lightness);
        cell->m_color.r = HxColorChannel(rgb[0]);
        cell->m_color.g = HxColorChannel(rgb[1]);
        cell->m_color.b = HxColorChannel(rgb[2]);
        RenderAgain(cell);
        doc.SetModifiedFlag();
    });
    page.ClearSelection();
}

void ApplyOpacity(CGPage& page, CHalvixDoc& doc) {
    CDlgAlpha dlg;
    dlg.SetOpacity(g_alphaPercent);
    if (dlg.DoModal() != IDOK)
        return;
    g_alphaPercent = std::clamp(dlg.m_opacity, 0, 100);
    const BYTE alpha = BYTE(g_alphaPercent * 255 / 100);
    ForEachCell(page.m_cells, [&](CGCell* cell) {
        if (!cell->m_selected)
            return;
        cell->m_color.a = alpha;
        RenderAgain(cell);
    });
    doc.SetModifiedFlag();
    page.ClearSelection();
}

void AddParametricColor(CGPage& page, CHalvixDoc& doc) {
    const int values = page.m_selValues.GetCount();
    if (values != 1 && values != 3)
        return;
    for (WORD id : page.m_selValues) {
        if (!DYNAMIC_DOWNCAST(CGTmVariable, page.FindCell(id)))
            return;
    }
    CDlgParametricColor dlg;
    dlg.m_parameters = values;
    if (dlg.DoModal() != IDOK)
        return;
    CConstruction run(doc);
    if (!run.Reserve(1, 0))
        return;
    auto* modifier = run.AddCell<CGMdfColor>(BYTE(dlg.Mode()), dlg.m_to, values, dlg.m_from);
    if (!dlg.m_label.IsEmpty())
        modifier->m_name = dlg.m_label;
    run.CommitCell(u"添加参数颜色");
}

} // namespace

void CHalvixDoc::AddColorCommands() {
    OnCommandRange(ID_COLOR_FIRST, ID_COLOR_LAST, &CHalvixDoc::OnColor);
    OnCommandRange(ID_COLOR26, ID_COLOR29, &CHalvixDoc::OnColor);
    OnUpdateId(ID_COLOR29, &CHalvixDoc::OnUpdateParametricColor);
}

void CHalvixDoc::OnColor(UINT id) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    // The dialogs open with the first selected object's colour and opacity.
    if (!page->m_selAll.IsEmpty()) {
        if (const CGCell* first = page->FindCell(page->m_selAll.GetHead())) {
            g_customColor = first->m_color.ToColorRef();
            g_alphaPercent = (first->m_color.a * 100 + 127) / 255;
        }
    }
    if (id >= ID_COLOR_FIRST && id <= ID_COLOR_LAST) {
        const COLORREF color = kNamedColors[id - ID_COLOR_FIRST];
        if (page->ColorSelection(color)) {
            page->ClearSelection();
            SetModifiedFlag();
        } else {
            // Nothing selected: the colour is the pen's.
            g_currentColor.r = GetRValue(color);
            g_currentColor.g = GetGValue(color);
            g_currentColor.b = GetBValue(color);
        }
    } else if (id == ID_COLOR26) {
        RandomColors(*page, *this);
    } else if (id == ID_COLOR27) {
        CMFCColorDialog dlg(g_customColor);
        if (dlg.DoModal() == IDOK) {
            page->ColorSelection(dlg.GetColor() & 0xFFFFFF);
            page->ClearSelection();
            SetModifiedFlag();
        }
    } else if (id == ID_COLOR28) {
        ApplyOpacity(*page, *this);
    } else if (id == ID_COLOR29) {
        AddParametricColor(*page, *this);
    } else {
        return; // 2016 to 2025 carry no command
    }
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateParametricColor(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    bool enable = false;
    if (page && !page->m_selValues.IsEmpty()) {
        for (const CList<WORD, WORD>* list : {&page->m_selPoints, &page->m_selLines, &page->m_selFaces,
                                              &page->m_selCurves, &page->m_selTexts, &page->m_selSolids})
            enable = enable || !list->IsEmpty();
    }
    pCmdUI->Enable(enable);
}

BOOL CHalvixDoc::EditColorModifier(CGMdfColor& modifier) {
    CDlgParametricColor dlg;
    dlg.m_label = modifier.m_name;
    dlg.m_from = modifier.m_rangeStart;
    dlg.m_to = modifier.m_rangeEnd;
    dlg.m_parameters = modifier.m_kind < CGMdfColor::kRgb ? 1 : 3;
    dlg.m_choice = (modifier.m_kind + 1) % 2;
    const BOOL accepted = dlg.DoModal() == IDOK;
    if (accepted) {
        modifier.m_name = dlg.m_label;
        modifier.m_flag2 = true;
        modifier.m_rangeStart = dlg.m_from;
        modifier.m_rangeEnd = dlg.m_to;
        modifier.m_kind = BYTE(dlg.Mode());
        modifier.Recompute();
    }
    SetModifiedFlag();
    UpdateAllViews();
    return accepted;
}
