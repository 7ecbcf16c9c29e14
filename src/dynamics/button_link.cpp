// The link button: a page of the document, or a file, folder or web address opened with the
// desktop's handler.
#include "dynamics/buttons.h"

#include "platform/cmdtarget.h"
#include "platform/shell.h"
#include "view/view_globals.h"

IMPLEMENT_SERIAL(CGButnLink, CGButton, 1)

CGButnLink::CGButnLink(WORD id, const CString& caption, BYTE kind, WORD pageId, const CString& target)
    : CGButton(id, caption), m_pageId(pageId), m_target(target) {
    m_kind = kind;
}

void CGButnLink::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring())
        ar << m_pageId << m_target;
    else
        ar >> m_pageId >> m_target;
}

CString CGButnLink::GetDescription() {
    return CString(m_kind == kToPage ? u"页链接按钮" : u"链接按钮");
}

BOOL CGButnLink::Step() {
    if (m_kind == kToPage) {
        // Posted, so that the page switch happens after the tick, not inside it.
        if (CWnd* view = HxDrawingViewWindow())
            view->PostMessage(UM_GOTO_PAGE, 0, LPARAM(m_pageId));
        return TRUE;
    }
    HxShellOpen(m_target);
    return TRUE;
}
