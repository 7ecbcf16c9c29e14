// CHalvixDoc and the clipboard: copy and cut of the selection or the page, and paste of a picture, a
// copied page or copied objects.
#include "document/halvix_doc.h"

#include "document/clipboard_picture.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "model/cell_clipboard.h"
#include "view/gl_context.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <memory>

namespace {

constexpr int kPagePane = 2;

const char16_t* const kPictureCaption = u"粘贴图片";
const char16_t* const kNoClipboard = u"不能打开剪贴板!";
const char16_t* const kDamagedBlock = u"剪贴板上的数据已损坏，不能完成粘贴！";
const char16_t* const kNoIdsLeft = u"当前页的对象编号已用完，不能完成粘贴！";

LRESULT SendToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* frame = AfxGetMainWnd())
        return frame->SendMessage(message, wParam, lParam);
    return 0;
}

void PictureMessage(const char16_t* text) {
    HxMessageBox(text, kPictureCaption, MB_OK | MB_ICONINFORMATION);
}

// The clipboard's bytes of a format; false when it could not be opened or does not hold them.
bool ReadClipboardData(UINT format, std::vector<BYTE>& data) {
    CClipboardBackend& clipboard = HxGetClipboard();
    if (!clipboard.Open())
        return false;
    const bool got = clipboard.GetData(format, data);
    clipboard.Close();
    return got;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Copy and cut

void CHalvixDoc::OnEditCopy() {
    if (CGPage* page = g_pCurPage)
        if (!page->CopySelection())
            AfxMessageBox(kNoClipboard, MB_OK | MB_ICONINFORMATION);
}

void CHalvixDoc::OnEditCut() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    // What could not be copied is not deleted either.
    if (!page->CopySelection()) {
        AfxMessageBox(kNoClipboard, MB_OK | MB_ICONINFORMATION);
        return;
    }
    OnEditDelete();
}

// ---------------------------------------------------------------------------------------------
// Paste

bool CHalvixDoc::CanPastePictures() {
    return RUNTIME_CLASS(CGTbImage)->IsSerializable();
}

void CHalvixDoc::OnUpdateEditPaste(CCmdUI* pCmdUI) {
    const CClipboardBackend& clipboard = HxGetClipboard();
    pCmdUI->Enable(clipboard.IsFormatAvailable(HxCellClipboardFormat()) ||
                   (CanPastePictures() && clipboard.HasBitmap()));
}

void CHalvixDoc::OnEditPaste() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CClipboardBackend& clipboard = HxGetClipboard();
    if (CanPastePictures() && clipboard.HasBitmap()) {
        PasteClipboardBitmap();
        return;
    }
    const UINT format = HxCellClipboardFormat();
    if (!clipboard.IsFormatAvailable(format))
        return;
    std::vector<BYTE> data;
    if (!ReadClipboardData(format, data)) {
        AfxMessageBox(kNoClipboard, MB_OK | MB_ICONINFORMATION);
        return;
    }
    try {
        CMemFile file(std::move(data));
        CArchive ar(&file, CArchive::load, 4096);
        int kind = 0;
        ar >> kind;
        if (kind == CGPage::kClipboardPage) {
            PastePage(ar);
        } else if (kind == CGPage::kClipboardCells) {
            const int count = page->PasteFromClipboard(ar);
            if (count > 0) {
                page->m_cmdProcessor.Submit(new CCmdAddCells(count, u"粘贴对象"));
                SetModifiedFlag();
            } else if (count < 0) {
                AfxMessageBox(kNoIdsLeft, MB_OK | MB_ICONINFORMATION);
            }
        }
        ar.Close();
    } catch (const CArchiveException&) {
        AfxMessageBox(kDamagedBlock, MB_OK | MB_ICONINFORMATION);
    }
    UpdateAllViews();
}

void CHalvixDoc::PastePage(CArchive& ar) {
    // The record is read first: a damaged one throws before the document has changed.
    auto page = std::make_unique<CGPage>();
    page->Serialize(ar);
    POSITION current = FindCurrentPagePosition();
    if (!current)
        return;
    ++m_pageCounter;
    page->m_pageId = m_pageCounter;
    page->m_title = HxPageTitle(page->m_pageId);
    g_pCurPage->ResetButtonStates();
    SendToFrame(UM_PAGES_CHANGED, 1, LPARAM(page.get()));
    m_pages.InsertAfter(current, page.get());
    CGPage* pasted = page.release();
    g_pCurPage = pasted;
    g_cellMap = &pasted->m_cells;
    g_mouseTool = 1;
    SendToFrame(UM_REBUILD_OBJECT_TREE, 0, LPARAM(pasted->m_pageId));
    pasted->m_timerMode = 5;
    pasted->RebuildVertexArray();
    for (POSITION pos = pasted->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        pasted->m_cells.GetNextAssoc(pos, id, cell);
        cell->m_mark = true;
    }
    pasted->CollectMarkedIds(pasted->m_scratchIds);
    const std::vector<WORD> ids = pasted->m_scratchIds;
    pasted->UpdateCellsById(ids);
    pasted->m_cmdProcessor.SetMenuOwner(AfxGetMainWnd(), ID_EDIT_UNDO, ID_EDIT_REDO);
    pasted->m_cmdProcessor.UpdateMenu();
    if (HxMakeGlCurrent()) {
        glViewport(0, 0, g_clientWidth, g_clientHeight);
        glGetIntegerv(GL_VIEWPORT, g_viewport);
    } else {
        g_viewport[0] = 0;
        g_viewport[1] = 0;
        g_viewport[2] = g_clientWidth;
        g_viewport[3] = g_clientHeight;
    }
    ApplyPageCamera(pasted);
    UpdatePanSliders();
    ApplyPageLook(pasted);
    HxSetStatusText(kPagePane, CString(u"当前页：") + pasted->m_title);
    SetModifiedFlag();
}

void CHalvixDoc::PasteClipboardBitmap() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CClipboardBackend& clipboard = HxGetClipboard();
    if (!clipboard.Open()) {
        PictureMessage(kNoClipboard);
        return;
    }
    HxClipboardBitmap bitmap;
    if (!clipboard.GetBitmap(bitmap)) {
        clipboard.Close();
        PictureMessage(u"无法取得剪贴板数据,不能完成粘贴!");
        return;
    }
    clipboard.Close();
    std::vector<BYTE> rgb;
    switch (HxConvertClipboardBitmap(bitmap, rgb)) {
    case HxPictureResult::Ok:
        break;
    case HxPictureResult::BadDepth:
        PictureMessage(u"图片格式不合条件,不能完成粘贴!\n请在桌面上右击,修改显示属性：颜色质量!");
        return;
    case HxPictureResult::BadData:
        PictureMessage(u"无法取得剪贴板数据,不能完成粘贴!");
        return;
    case HxPictureResult::TooLarge:
        PictureMessage(u"内存不够,不能完成粘贴!");
        return;
    }
    if (!page->CanTakeIds(1)) {
        PictureMessage(kNoIdsLeft);
        return;
    }
    InsertImage(bitmap.width, bitmap.height, std::move(rgb), u"粘贴图片");
}
