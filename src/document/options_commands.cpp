// The document's option and display commands: the document options, the line width, point size and
// value precision of the selected objects, the translucent material, tables, the page's automatic
// button, the command-sequence button, and the insertion of formula texts and pictures.
#include "document/halvix_doc.h"

#include "construct/construction.h"
#include "document/clipboard_picture.h"
#include "document/option_ids.h"
#include "document/options_dialogs.h"
#include "document/undo_cmds.h"
#include "dynamics/button_dialogs.h"
#include "dynamics/buttons.h"
#include "dynamics/ink.h"
#include "formula/mtf_dialogs.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/cell_kinds.h"
#include "model/face.h"
#include "model/vertex.h"
#include "solids/revolution.h"
#include "view/view_globals.h"
#include "view/view_services.h"

#include <algorithm>

namespace {

// The largest point size or line width the increase command reaches, and the least the decrease
// command leaves.
constexpr float kMostWeight = 19.5f;
constexpr float kLeastWeight = 1.0f;
constexpr float kDefaultPrecision = 0.01f;
constexpr float kInkWidth = 2.5f;
// Alpha of a translucent material.
constexpr BYTE kTranslucentAlpha = 90;

// Every selected cell of the page, in map order.
template <class F> void ForEachSelected(CGPage& page, F&& f) {
    ForEachCell(page.m_cells, [&](CGCell* cell) {
        if (cell->m_selected)
            f(*cell);
    });
}

// A value's text shown with a new precision step: computed and drawn again.
void TakePrecision(CGCell& cell, float step) {
    cell.m_size = step;
    cell.Recompute();
    cell.m_flag2 = true;
}

float Plus(float size, double delta) {
    return float(double(size) + delta);
}

COLORREF PageBackground() {
    return RGB(BYTE(g_backgroundColor[0] * 255.0f), BYTE(g_backgroundColor[1] * 255.0f),
               BYTE(g_backgroundColor[2] * 255.0f));
}

// The first cell of the first non-empty list among those given, or null.
CGCell* FirstOf(std::initializer_list<const CList<WORD, WORD>*> lists) {
    for (const CList<WORD, WORD>* list : lists) {
        if (!list->IsEmpty())
            return HxFindCell(list->GetHead());
    }
    return nullptr;
}

// The colour formula text is the document's to insert wherever the view asks for one.
const bool g_installed = [] {
    HxGetViewServices().insertMtfColourText = [](CHalvixDoc& doc, CPoint at, int flag) {
        doc.InsertMtfColourText(flag, int(at.x), int(at.y));
    };
    return true;
}();

} // namespace

void CHalvixDoc::AddOptionsCommands() {
    OnCommandId(ID_FILE_OPTIONS, &CHalvixDoc::OnFileOptions);
    OnCommandId(ID_VIEW_WEIGHT_JIA, &CHalvixDoc::OnWeightIncrease);
    OnCommandId(ID_VIEW_WEIGHT_JIAN, &CHalvixDoc::OnWeightDecrease);
    OnCommandId(ID_VIEW_WEIGHT_MOREN, &CHalvixDoc::OnWeightDefault);
    OnCommandId(ID_VIEW_WEIGHT_SHURU, &CHalvixDoc::OnWeightInput);
    for (UINT id : {ID_VIEW_WEIGHT_JIA, ID_VIEW_WEIGHT_JIAN, ID_VIEW_WEIGHT_MOREN, ID_VIEW_WEIGHT_SHURU})
        OnUpdateId(id, &CHalvixDoc::OnUpdateWeight);
    OnCommandId(ID_VIEW_TRANSLUCENT, &CHalvixDoc::OnTranslucent);
    OnUpdateId(ID_VIEW_TRANSLUCENT, &CHalvixDoc::OnUpdateTranslucent);
    OnCommandId(ID_CREATE_TABLE, &CHalvixDoc::OnCreateTable);
    OnCommandId(ID_AUTOBTN, &CHalvixDoc::OnSetAutoButton);
    OnUpdateId(ID_AUTOBTN, &CHalvixDoc::OnUpdateSetAutoButton);
    OnCommandId(ID_AUTOBTNDEL, &CHalvixDoc::OnClearAutoButton);
    OnUpdateId(ID_AUTOBTNDEL, &CHalvixDoc::OnUpdateClearAutoButton);
    OnCommandId(ID_AUTODELALL, &CHalvixDoc::OnClearAllAutoButtons);
    OnCommandId(ID_EDIT_BTN_MEDIA, &CHalvixDoc::OnCommandButton);
    OnCommandId(ID_CREATE_CUBOIDXYZ, &CHalvixDoc::OnCreateCuboidAxis);
}

// ---------------------------------------------------------------------------------------------
// Document options

void CHalvixDoc::OnFileOptions() {
    CDlgPage dialog(this);
    dialog.FillFromDocument();
    if (dialog.DoModal() != IDOK)
        return;
    m_description = dialog.m_description;
    m_storeMtfImages = dialog.m_storeFormulaGraphics ? 1 : 0;
    if (dialog.m_renamePages) {
        int place = 0;
        for (POSITION pos = m_pages.GetHeadPosition(); pos;)
            m_pages.GetNext(pos)->m_title = HxPageTitle(++place);
        if (CWnd* frame = AfxGetMainWnd())
            frame->PostMessage(UM_CELL_TEXTS_CHANGED, 3, LPARAM(g_pCurPage ? g_pCurPage->m_pageId : 0));
    }
    SetModifiedFlag(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Line width, point size and value precision

void CHalvixDoc::OnUpdateWeight(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (!page->m_selPoints.IsEmpty() || !page->m_selLines.IsEmpty() ||
                            !page->m_selCurves.IsEmpty() || !page->m_selValues.IsEmpty()));
}

void CHalvixDoc::OnWeightIncrease() {
    if (!g_pCurPage)
        return;
    ForEachSelected(*g_pCurPage, [](CGCell& cell) {
        if (cell.IsKindOf(RUNTIME_CLASS(CGTextmap)) && cell.m_size > 9.99e-5f) {
            TakePrecision(cell, cell.m_size / 10.0f);
        } else if (cell.m_size < kMostWeight) {
            cell.m_size = Plus(cell.m_size, 0.5);
        }
    });
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnWeightDecrease() {
    if (!g_pCurPage)
        return;
    ForEachSelected(*g_pCurPage, [](CGCell& cell) {
        if (cell.IsKindOf(RUNTIME_CLASS(CGTextmap)) && cell.m_size < 0.10001f) {
            TakePrecision(cell, cell.m_size * 10.0f);
        } else if (cell.m_size > kLeastWeight) {
            cell.m_size = Plus(cell.m_size, -0.5);
        }
    });
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnWeightDefault() {
    if (!g_pCurPage)
        return;
    ForEachSelected(*g_pCurPage, [](CGCell& cell) {
        if (cell.IsKindOf(RUNTIME_CLASS(CGTextmap)))
            TakePrecision(cell, kDefaultPrecision);
        else if (cell.IsKindOf(RUNTIME_CLASS(CGVertex)))
            cell.m_size = g_pointSize;
        else if (cell.IsKindOf(RUNTIME_CLASS(CGInkmarks)))
            cell.m_size = kInkWidth;
        else
            cell.m_size = g_lineWidth;
    });
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHalvixDoc::OnWeightInput() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CGCell* reference =
        FirstOf({&page->m_selPoints, &page->m_selLines, &page->m_selCurves, &page->m_selValues});
    if (!reference)
        return;
    if (reference->IsKindOf(RUNTIME_CLASS(CGTextmap)) && reference->m_size > 1.0001f)
        reference->m_size = kDefaultPrecision;
    CDlgWeight dialog;
    dialog.m_value = reference->m_size;
    if (dialog.DoModal() != IDOK)
        return;
    const float value = std::clamp(dialog.m_value, CDlgWeight::kMin, CDlgWeight::kMax);
    ForEachSelected(*page, [value](CGCell& cell) {
        if (cell.IsKindOf(RUNTIME_CLASS(CGTextmap)))
            TakePrecision(cell, value > 1.0001f ? kDefaultPrecision : value);
        else
            cell.m_size = value;
    });
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Translucent material

void CHalvixDoc::OnUpdateTranslucent(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (!page->m_selFaces.IsEmpty() || !page->m_selCurves.IsEmpty() ||
                            !page->m_selSolids.IsEmpty()));
}

void CHalvixDoc::OnTranslucent() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    // The style that means translucent for each family, and the style it goes back to.
    auto toggle = [](CGCell& cell, BYTE translucent, BYTE opaque) {
        const bool isTranslucent = cell.m_style == translucent;
        cell.m_style = isTranslucent ? opaque : translucent;
        cell.m_color.a = isTranslucent ? 255 : kTranslucentAlpha;
    };
    ForEachSelected(*page, [&](CGCell& cell) {
        if (cell.IsKindOf(RUNTIME_CLASS(CGFace))) {
            toggle(cell, 4, 3);
        } else if (cell.IsKindOf(RUNTIME_CLASS(CGArc))) {
            toggle(cell, 2, 1);
        } else if (cell.IsKindOf(RUNTIME_CLASS(CGSphere)) || cell.IsKindOf(RUNTIME_CLASS(CGCylinder)) ||
                   cell.IsKindOf(RUNTIME_CLASS(CGCone)) || cell.IsKindOf(RUNTIME_CLASS(CGFrustum))) {
            toggle(cell, 3, 2);
        } else if (HxIsOfClassNamed(&cell, "CGSurface")) {
            // A surface keeps its look in its display list, which its recomputation makes again.
            const bool wasTranslucent = cell.m_style == 1;
            cell.m_style = wasTranslucent ? 0 : 1;
            cell.m_color.a = wasTranslucent ? 255 : kTranslucentAlpha;
            cell.Recompute();
        }
    });
    page->ClearSelection();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Tables

void CHalvixDoc::OnCreateTable() {
    if (!g_pCurPage)
        return;
    CDlgTable dialog;
    if (dialog.DoModal() != IDOK)
        return;
    // The builder makes its room (refused with the page-full message) and its cells; the run records
    // them as one step, or nothing when none were made.
    CConstruction run(*this);
    g_pCurPage->BuildTable(dialog.m_rows, dialog.m_columns, FALSE, -10.0f, 10.0f, nullptr, nullptr);
    run.CommitCells(kUndoAddTable);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------------
// The page's automatic button

void CHalvixDoc::OnUpdateSetAutoButton(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_selButtons.GetCount() == 1);
}

void CHalvixDoc::OnSetAutoButton() {
    CGPage* page = g_pCurPage;
    if (!page || page->m_selButtons.IsEmpty())
        return;
    page->m_autoButton = page->m_selButtons.GetHead();
    SetModifiedFlag(TRUE);
}

void CHalvixDoc::OnUpdateClearAutoButton(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_autoButton != 0);
}

void CHalvixDoc::OnClearAutoButton() {
    if (!g_pCurPage)
        return;
    g_pCurPage->m_autoButton = 0;
    SetModifiedFlag(TRUE);
}

void CHalvixDoc::OnClearAllAutoButtons() {
    for (POSITION pos = m_pages.GetHeadPosition(); pos;)
        m_pages.GetNext(pos)->m_autoButton = 0;
    SetModifiedFlag(TRUE);
}

// ---------------------------------------------------------------------------------------------
// The command-sequence button

void CHalvixDoc::OnCommandButton() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgCmdBtn dialog;
    dialog.SelectLast();
    if (dialog.DoModal() == IDOK && !dialog.m_sequence.empty()) {
        if (!page->CanTakeIds(1)) {
            AfxMessageBox(g_pageFullMessage, MB_OK | MB_ICONINFORMATION);
            return;
        }
        auto* button = new CGButnCommand(page->m_nextId, dialog.m_caption, dialog.m_sequence, dialog.m_delay);
        ++page->m_nextId;
        page->m_cells.SetAt(button->m_id, button);
        page->m_cmdProcessor.Submit(new CCmdAddCell(CString(u"添加") + dialog.m_caption + u"命令按钮"));
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Insertions

// The axis cuboid on the first selected point, or on a new origin when no point is selected.
void CHalvixDoc::OnCreateCuboidAxis() {
    const CGPage* page = g_pCurPage;
    if (!page)
        return;
    OnCuboidAxis(page->m_selPoints.IsEmpty() ? WORD(0) : page->m_selPoints.GetHead());
}

void CHalvixDoc::InsertMtfColourText(int flag, int x, int y) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CMtfDlg dialog;
    dialog.m_backColor = PageBackground();
    // The editor shows the colour the item will be drawn in.
    dialog.m_textColor = g_colorText.ToColorRef();
    dialog.m_openAt = CPoint(x, y);
    if (dialog.DoModal() != IDOK || dialog.m_empty)
        return;
    if (!page->CanTakeIds(1)) {
        AfxMessageBox(g_pageFullMessage, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const CGCell* point = page->m_selPoints.IsEmpty() ? nullptr : page->FindCell(page->m_selPoints.GetHead());
    CGTbMtfText* item = nullptr;
    if (point && point->IsKindOf(RUNTIME_CLASS(CGVertex)))
        item = new CGTbMhc(page->m_nextId, dialog.m_markup, dialog.m_backColor, point->m_id);
    else
        item = new CGTbMtfText(page->m_nextId, dialog.m_markup, dialog.m_backColor, flag);
    ++page->m_nextId;
    page->m_cells.SetAt(item->m_id, item);
    item->m_kind = 4;
    page->m_cmdProcessor.Submit(new CCmdAddCell(kUndoInsertMtfText));
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

BOOL CHalvixDoc::InsertImage(int width, int height, std::vector<BYTE> pixels, const CString& undoName) {
    CGPage* page = g_pCurPage;
    if (!page || width <= 0 || height <= 0 ||
        static_cast<long long>(pixels.size()) < CGTextbit::PictureRowBytes(width) * height)
        return FALSE;
    if (!page->CanTakeIds(1)) {
        AfxMessageBox(g_pageFullMessage, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    auto* picture = new CGTbImage(page->m_nextId, width, height, std::move(pixels));
    ++page->m_nextId;
    page->m_cells.SetAt(picture->m_id, picture);
    // A picture larger than 98% of the drawing area is scaled down to fit it, then centred.
    const double scale = HxPictureFitScale(width, height, g_clientWidth, g_clientHeight);
    picture->m_scaleX = picture->m_scaleY = float(scale);
    const double w = width * scale, h = height * scale;
    picture->m_labelPos[0] = float(-0.5 * w * g_unitLength);
    picture->m_labelPos[1] = float(-0.5 * h * g_unitLength);
    page->m_cmdProcessor.Submit(new CCmdAddCell(undoName));
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return TRUE;
}
