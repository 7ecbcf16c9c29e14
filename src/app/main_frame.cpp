// The main window.
#include "app/main_frame.h"

#include "view/halvix_view.h"

CMainFrame::CMainFrame() {
    m_view = new CHalvixView(this);
    setCentralWidget(m_view);
    UpdateTitle(CString());
    resize(1024, 768);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::UpdateTitle(const CString& documentTitle) {
    CString title = documentTitle.IsEmpty() ? CString(u"[未命名]") : documentTitle;
    setWindowTitle((title + u" - " + g_appName).ToQString());
}
