// CHalvixDoc: new pages, the switch of the current page, moving pages in the list, and what the
// object tree asks of the document: selecting, naming, renaming and finding items, and deleting
// the selection or the current page.
#include "document/halvix_doc.h"

#include "document/neighbour_services.h"
#include "document/tool_record.h"
#include "document/undo_cmds.h"
#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "view/gl_context.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_tool_globals.h"

#include <GL/gl.h>

namespace {

constexpr int kPagePane = 2;

LRESULT SendToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* frame = AfxGetMainWnd())
        return frame->SendMessage(message, wParam, lParam);
    return 0;
}

bool IsPageItem(UINT itemId, HxTreeItemKind kind) {
    if (kind == HxTreeItemKind::ByValue)
        return itemId >= UINT(kPageTreeItemBase);
    return kind == HxTreeItemKind::Page;
}

} // namespace

CString HxPageTitle(int number) {
    static const char16_t* const numerals[] = {u"0",  u"一", u"二", u"三", u"四", u"五",
                                               u"六", u"七", u"八", u"九", u"十"};
    if (number >= 0 && number < 11)
        return HxFormat(u"第%s页", numerals[number]);
    return HxFormat(u"第%d页", number);
}

POSITION CHalvixDoc::FindCurrentPagePosition() const {
    return g_pCurPage ? m_pages.Find(g_pCurPage) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// New pages and the page switch

void CHalvixDoc::OnNewPage() {
    // The place comes first: the tree is told only of a page that really goes into the list.
    POSITION current = FindCurrentPagePosition();
    if (!current)
        return;
    auto* page = new CGPage;
    ++m_pageCounter;
    page->m_pageId = m_pageCounter;
    page->m_title = HxPageTitle(page->m_pageId);
    SendToFrame(UM_PAGES_CHANGED, 1, LPARAM(page));
    m_pages.InsertAfter(current, page);
    SetCurrentPage(page);
}

bool CHalvixDoc::TakeBackNewPage(bool holdingObjects) {
    CGPage* page = g_pCurPage;
    const POSITION position = FindCurrentPagePosition();
    if (!position || page->m_pageId != m_pageCounter || (!holdingObjects && !page->m_cells.IsEmpty()))
        return false;
    POSITION before = position;
    m_pages.GetPrev(before);
    if (!before)
        return false;
    SendToFrame(UM_PAGES_CHANGED, 2, 0);
    SetCurrentPage(m_pages.GetAt(before));
    m_pages.RemoveAt(position);
    delete page;
    --m_pageCounter;
    return true;
}

// The steps keep their order: the old page is left (buttons stopped, camera kept, ink erased, a tool
// in progress closed, selection cleared) before anything of the new page is set.
void CHalvixDoc::SetCurrentPage(CGPage* page) {
    if (!page)
        return;
    if (CGPage* old = g_pCurPage) {
        old->ResetButtonStates();
        KeepPageView(old);
        g_tracing = FALSE;
        g_traceImageStale = 1;
        AfxGetCommandRouter().Execute(ID_INK_ERASE);
        FinishToolOnPage(old);
        old->ClearSelection();
    }
    EnterPage(page, false);
}

void CHalvixDoc::ShowPageForPrinting(CGPage* page) {
    if (page && page != g_pCurPage)
        EnterPage(page, true);
}

void CHalvixDoc::KeepCurrentPageView() {
    if (g_pCurPage)
        KeepPageView(g_pCurPage);
}

void CHalvixDoc::EnterPage(CGPage* page, bool pressStartNow) {
    MakePageCurrent(page);
    g_mouseTool = 1;
    page->m_cmdProcessor.SetMenuOwner(AfxGetMainWnd(), ID_EDIT_UNDO, ID_EDIT_REDO);
    page->m_cmdProcessor.UpdateMenu();
    if (page->m_threeView == 0) {
        if (HxMakeGlCurrent()) {
            glViewport(0, 0, g_clientWidth, g_clientHeight);
            glGetIntegerv(GL_VIEWPORT, g_viewport);
        } else {
            g_viewport[0] = 0;
            g_viewport[1] = 0;
            g_viewport[2] = g_clientWidth;
            g_viewport[3] = g_clientHeight;
        }
    }
    HxSetStatusText(kPagePane, CString(u"当前页：") + page->m_title);
    ApplyPageCamera(page);
    UpdatePanSliders();
    ApplyPageLook(page);
    page->m_timerMode = 5;
    UpdateAllViews();
    if (const WORD start = WORD(page->m_autoButton & 0xFFFF)) {
        if (!DYNAMIC_DOWNCAST(CGButton, page->FindCell(start)))
            page->m_autoButton = 0;
        else if (!pressStartNow)
            HxPostButtonPress(AfxGetMainWnd(), start);
        else if (CWnd* view = HxDrawingViewWindow())
            view->SendMessage(UM_PRESS_BUTTON, 0, LPARAM(start));
    }
}

void CHalvixDoc::FinishToolOnPage(CGPage* page) {
    if (!g_pCurrentTool)
        return;
    const int made = page->RemoveCellsAfterMarker();
    if (made > 0) {
        page->m_cmdProcessor.Submit(new CCmdAddCells(made, CString(u"使用工具：") + g_pCurrentTool->m_name));
        SetModifiedFlag();
    } else if (made == -1) {
        // The tool's inputs start again, and the step before the cancelled construction can no
        // longer be undone (when there is one).
        page->m_toolNextCondition = 0;
        if (CCmd* last = page->m_cmdProcessor.GetCurrent()) {
            last->m_undoable = 0;
            page->m_cmdProcessor.UpdateMenu();
        }
    }
}

bool CHalvixDoc::FocusViewForPageSwitch() {
    if (HxFocusDrawingView())
        return true;
    AfxMessageBox(u"当前正打开对话框，不能切换页！", MB_OK);
    return false;
}

void CHalvixDoc::GoToNextPage() {
    POSITION pos = FindCurrentPagePosition();
    if (!pos)
        return;
    m_pages.GetNext(pos);
    if (pos && FocusViewForPageSwitch())
        SetCurrentPage(m_pages.GetAt(pos));
}

void CHalvixDoc::GoToPrevPage() {
    POSITION pos = FindCurrentPagePosition();
    if (!pos)
        return;
    m_pages.GetPrev(pos);
    if (pos && FocusViewForPageSwitch())
        SetCurrentPage(m_pages.GetAt(pos));
}

void CHalvixDoc::OnUpdateNextPage(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_pages.IsEmpty() && g_pCurPage && m_pages.GetTail() != g_pCurPage);
}

void CHalvixDoc::OnUpdatePrevPage(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_pages.IsEmpty() && g_pCurPage && m_pages.GetHead() != g_pCurPage);
}

BOOL CHalvixDoc::GoToPageById(WORD pageId, BOOL report) {
    if (report && !HxDrawingViewHasFocus()) {
        AfxMessageBox(u"当前正打开对话框，链接按钮未能切换页！", MB_OK);
        return FALSE;
    }
    int position = 0;
    CGPage* page = FindPageByNumber(pageId, position);
    if (!page) {
        if (report)
            HxMessageBox(u"链接页不存在，请检查修改链接按钮！", u"链接无效！", MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (page != g_pCurPage)
        SetCurrentPage(page);
    return TRUE;
}

CGPage* CHalvixDoc::FindPageByNumber(WORD number, int& position) const {
    position = 0;
    for (POSITION pos = m_pages.GetHeadPosition(); pos;) {
        CGPage* page = m_pages.GetNext(pos);
        ++position;
        if (page->m_pageId == number)
            return page;
    }
    return nullptr;
}

bool CHalvixDoc::MoveCurrentPage(int places) {
    POSITION current = FindCurrentPagePosition();
    if (!current || places == 0)
        return false;
    POSITION target = current;
    for (int step = 0; step < (places < 0 ? -places : places); ++step) {
        if (places < 0)
            m_pages.GetPrev(target);
        else
            m_pages.GetNext(target);
        if (!target)
            return false;
    }
    CGPage* page = m_pages.GetAt(current);
    if (places < 0)
        m_pages.InsertBefore(target, page);
    else
        m_pages.InsertAfter(target, page);
    m_pages.RemoveAt(current);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The object tree's items

int CHalvixDoc::SelectTreeItem(UINT itemId, BOOL fromCheckBox, BOOL checked, HxTreeItemKind kind) {
    if (itemId == 0 || !g_pCurPage)
        return 0;
    CGPage* page = g_pCurPage;
    int result;
    if (IsPageItem(itemId, kind)) {
        const WORD number = WORD(itemId - kPageTreeItemBase);
        if (number == page->m_pageId) {
            if (fromCheckBox && checked) {
                page->SelectAllOfKind(0);
                page->m_pageSelected = 0;
                result = 7;
            } else {
                page->ClearSelection();
                result = 8;
            }
        } else {
            GoToPageById(number, FALSE);
            result = 5;
        }
    } else {
        CGCell* cell = page->FindCell(WORD(itemId));
        if (!cell) {
            result = 0;
        } else if (fromCheckBox) {
            if (cell->m_selected == (checked != 0)) {
                result = 4;
            } else if (checked) {
                page->SelectCell(cell->m_id);
                result = 2;
            } else {
                page->DeselectCell(cell->m_id);
                result = 3;
            }
        } else {
            page->ClearSelection();
            page->SelectCell(cell->m_id);
            result = 1;
        }
    }
    UpdateAllViews();
    return result;
}

CString CHalvixDoc::GetTreeItemName(UINT itemId, HxTreeItemKind kind) const {
    if (IsPageItem(itemId, kind)) {
        int position = 0;
        if (CGPage* page = FindPageByNumber(WORD(itemId - kPageTreeItemBase), position))
            return page->m_title;
        return CString();
    }
    if (g_pCurPage)
        if (CGCell* cell = g_pCurPage->FindCell(WORD(itemId)))
            return cell->m_name;
    return CString();
}

BOOL CHalvixDoc::RenameTreeItem(UINT itemId, const CString& name, HxTreeItemKind kind) {
    if (IsPageItem(itemId, kind)) {
        int position = 0;
        CGPage* page = FindPageByNumber(WORD(itemId - kPageTreeItemBase), position);
        if (!page)
            return FALSE;
        page->m_title = name;
        HxSetStatusText(kPagePane, CString(u"当前页：") + name);
        // The new name must reach the file: closing asks to save.
        SetModifiedFlag();
        UpdateAllViews();
        return TRUE;
    }
    CGPage* page = g_pCurPage;
    CGCell* cell = page ? page->FindCell(WORD(itemId)) : nullptr;
    if (!cell || cell->m_name == name)
        return FALSE;
    cell->m_nameFixed = true;
    cell->m_name = name;
    cell->m_flag2 = true;
    if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVector)))
        cell->Recompute();
    page->CollectDescendantIds(*cell, page->m_scratchIds);
    const std::vector<WORD> ids = page->m_scratchIds;
    page->UpdateTextsById(ids);
    page->UpdateCellsById(ids);
    SetModifiedFlag();
    UpdateAllViews();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Deleting the selection or the page

void CHalvixDoc::OnEditDelete() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    if (page->m_pageSelected == 0) {
        auto* ids = new CList<WORD, WORD>(10);
        page->CollectDeletionIds(*ids);
        if (ids->IsEmpty()) {
            delete ids; // nothing selected: no empty step in the history
        } else {
            auto* cmd = new CCmdDelCells(ids, u"清除对象");
            page->m_cmdProcessor.Submit(cmd);
            cmd->Redo();
        }
    } else if (HxMessageBox(u"您的操作将使当前页被删除。删除的页面无法恢复。您真的想执行删除？",
                            u"页面被删除", MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        if (m_pages.GetCount() == 1) {
            delete m_pages.RemoveHead();
            g_traceImageStale = 1;
            g_tracing = FALSE;
            m_pageCounter = 1;
            auto* first = new CGPage;
            first->m_pageId = 1;
            first->m_title = u"第一页";
            m_pages.AddTail(first);
            MakePageCurrent(first);
            first->m_cmdProcessor.SetMenuOwner(AfxGetMainWnd(), ID_EDIT_UNDO, ID_EDIT_REDO);
            first->m_cmdProcessor.UpdateMenu();
            HxSetStatusText(kPagePane, CString(u"当前页：") + first->m_title);
            if (m_onFillObjectTree)
                m_onFillObjectTree();
        } else {
            // The neighbour becomes current before the page goes; when a dialog keeps the focus the
            // switch is refused and the page stays, untouched.
            POSITION doomedPos = FindCurrentPagePosition();
            CGPage* doomed = g_pCurPage;
            if (!doomedPos)
                return;
            POSITION neighbourPos = doomedPos;
            if (doomed == m_pages.GetTail())
                m_pages.GetPrev(neighbourPos);
            else
                m_pages.GetNext(neighbourPos);
            if (!neighbourPos || !FocusViewForPageSwitch())
                return;
            SendToFrame(UM_PAGES_CHANGED, 2, 0);
            SetCurrentPage(m_pages.GetAt(neighbourPos));
            m_pages.RemoveAt(doomedPos);
            delete doomed;
        }
    }
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateHasSelection(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_pageSelected != 0 || !page->m_selAll.IsEmpty()));
}
