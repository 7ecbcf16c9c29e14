// Rich-text items: made from the editor's result (free or following a point), opened again in the
// editor by the properties command, and the undo step of that edit.
#include "measure/rich_text_items.h"

#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "measure/rich_text_dialog.h"
#include "measure/text_items.h"
#include "model/model_globals.h"
#include "model/page.h"
#include "model/vertex.h"

#include <utility>

IMPLEMENT_DYNAMIC(CCmdEditRichText, CCmd)

const char16_t* const g_undoInsertRichText = u"插入文本";
const char16_t* const g_undoEditRichText = u"修改文本";

namespace {

// The face and size a single-line text opens with in the editor (twips).
constexpr const char16_t* kPlainFace = u"Times New Roman";
constexpr int kPlainTwips = 300;

// Whether the editor's result can become an item: a picture of its stated size.
bool HasPicture(const CDlgRtEdit& dlg) {
    return dlg.m_pictureWidth > 0 && dlg.m_pictureHeight > 0 &&
           static_cast<long long>(dlg.m_picture.size()) >=
               CGTextbit::BitmapRowBytes(dlg.m_pictureWidth) * dlg.m_pictureHeight;
}

void Notify(CGPage& page) {
    if (CWnd* frame = AfxGetMainWnd()) {
        frame->PostMessage(UM_REBUILD_OBJECT_TREE, 0, LPARAM(page.m_pageId));
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page.m_pageId));
    }
}

} // namespace

void HxTakeRichText(CGTextbit& item, const CDlgRtEdit& dlg) {
    item.m_width = dlg.m_pictureWidth;
    item.m_height = dlg.m_pictureHeight;
    item.m_bits = dlg.m_picture;
    item.m_name = dlg.m_name;
    item.m_kind = kRichTextKind;
    item.m_text1 = dlg.m_rtf;
    item.m_param2 = float(dlg.m_editorWidth);
    item.m_param3 = float(dlg.m_editorHeight);
}

void HxOpenRichText(const CGCell& cell, CDlgRtEdit& dlg) {
    if (const auto* line = DYNAMIC_DOWNCAST(CGTmSingleline, &cell)) {
        dlg.m_plainText = 1;
        dlg.m_rtf = line->m_text.IsEmpty() ? line->m_name : line->m_text;
        dlg.m_plainFace = kPlainFace;
        dlg.m_plainTwips = kPlainTwips;
        return;
    }
    dlg.m_plainText = 0;
    dlg.m_rtf = cell.m_text1;
    dlg.m_name = cell.m_name;
}

bool HxIsRichTextCell(const CGCell* cell) {
    if (!cell)
        return false;
    if (cell->IsKindOf(RUNTIME_CLASS(CGTmSingleline)))
        return true;
    return cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) && !cell->IsKindOf(RUNTIME_CLASS(CGTbImage)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGTbMtfText)) && cell->m_kind >= 1 && cell->m_kind <= 3;
}

bool HxEditRichText(CGPage& page, CGCell& cell) {
    if (!HxIsRichTextCell(&cell) || page.FindCell(cell.m_id) != &cell)
        return false;
    CDlgRtEdit dlg;
    HxOpenRichText(cell, dlg);
    if (dlg.DoModal() != IDOK || !HasPicture(dlg))
        return false;
    if (auto* item = DYNAMIC_DOWNCAST(CGTextbit, &cell)) {
        auto* cmd = new CCmdEditRichText(item->m_id, CCmdEditRichText::StateOf(*item), g_undoEditRichText);
        HxTakeRichText(*item, dlg);
        page.m_cmdProcessor.Submit(cmd);
    } else {
        // A single-line text becomes a rich-text item in its place.
        auto made = std::make_unique<CGTextbit>(cell.m_id, 0, 0, std::vector<BYTE>());
        HxTakeRichText(*made, dlg);
        made->m_labelPos[0] = cell.m_labelPos[0];
        made->m_labelPos[1] = cell.m_labelPos[1];
        made->m_labelPos[2] = cell.m_labelPos[2];
        made->m_color = cell.m_color;
        made->m_labelColor = cell.m_labelColor;
        made->m_hidden = cell.m_hidden;
        made->m_labelHidden = cell.m_labelHidden;
        made->m_selected = cell.m_selected;
        made->m_parents.Copy(cell.m_parents);
        for (WORD child : cell.m_children)
            made->m_children.AddTail(child);
        CGCell* replaced = &cell;
        page.m_cells.SetAt(cell.m_id, made.release());
        page.m_cmdProcessor.Submit(
            new CCmdEditRichText(std::unique_ptr<CGCell>(replaced), g_undoEditRichText));
    }
    Notify(page);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The command

void CHalvixDoc::OnCreateText2() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CDlgRtEdit dlg;
    if (dlg.DoModal() != IDOK || !HasPicture(dlg))
        return;
    const CGVertex* point = HxSelectedAs<CGVertex>(page->m_selPoints, 0);
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    CGTextbit* item = nullptr;
    if (point)
        item = run.AddCell<CGTbHenchman>(dlg.m_pictureWidth, dlg.m_pictureHeight, dlg.m_picture, point->m_id);
    else
        item = run.AddCell<CGTextbit>(dlg.m_pictureWidth, dlg.m_pictureHeight, dlg.m_picture);
    HxTakeRichText(*item, dlg);
    run.CommitCell(g_undoInsertRichText);
}

// ---------------------------------------------------------------------------------------------
// Undo

CCmdEditRichText::CCmdEditRichText(WORD id, CState before, const CString& name)
    : CCmd(name), m_id(id), m_state(std::move(before)) {}

CCmdEditRichText::CCmdEditRichText(std::unique_ptr<CGCell> replaced, const CString& name)
    : CCmd(name), m_id(replaced->m_id), m_replaced(std::move(replaced)) {}

CCmdEditRichText::CState CCmdEditRichText::StateOf(const CGTextbit& item) {
    CState s;
    s.m_name = item.m_name;
    s.m_rtf = item.m_text1;
    s.m_width = item.m_width;
    s.m_height = item.m_height;
    s.m_bits = item.m_bits;
    s.m_sizeX = item.m_param2;
    s.m_sizeY = item.m_param3;
    s.m_kind = item.m_kind;
    return s;
}

BOOL CCmdEditRichText::Exchange() {
    CGPage* page = g_pCurPage;
    CGCell* inPage = page ? page->FindCell(m_id) : nullptr;
    if (!inPage)
        return FALSE;
    if (m_replaced) {
        // The kept cell goes back with the links and selection the page's one has now.
        m_replaced->m_selected = inPage->m_selected;
        m_replaced->m_highlighted = inPage->m_highlighted;
        m_replaced->m_children.RemoveAll();
        for (WORD child : inPage->m_children)
            m_replaced->m_children.AddTail(child);
        page->m_cells.SetAt(m_id, m_replaced.release());
        m_replaced.reset(inPage);
    } else {
        auto* item = DYNAMIC_DOWNCAST(CGTextbit, inPage);
        if (!item)
            return FALSE;
        CState now = StateOf(*item);
        item->m_name = m_state.m_name;
        item->m_text1 = m_state.m_rtf;
        item->m_width = m_state.m_width;
        item->m_height = m_state.m_height;
        item->m_bits = std::move(m_state.m_bits);
        item->m_param2 = m_state.m_sizeX;
        item->m_param3 = m_state.m_sizeY;
        item->m_kind = m_state.m_kind;
        m_state = std::move(now);
    }
    Notify(*page);
    return TRUE;
}
