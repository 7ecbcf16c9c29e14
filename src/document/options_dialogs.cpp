// The option dialogs' fields filled from the document.
#include "document/options_dialogs.h"

#include "document/halvix_doc.h"

IMPLEMENT_DYNAMIC(CDlgPage, CDialog)
IMPLEMENT_DYNAMIC(CDlgWeight, CDialog)
IMPLEMENT_DYNAMIC(CDlgTable, CDialog)

void CDlgPage::FillFromDocument() {
    m_pageTitles.clear();
    m_selectedPage = 0;
    if (!m_pDoc)
        return;
    m_author = m_pDoc->m_author;
    m_description = m_pDoc->m_description;
    m_storeFormulaGraphics = m_pDoc->m_storeMtfImages != 0;
    for (int i = 0; i < m_pDoc->GetPageCount(); ++i) {
        if (const CGPage* page = m_pDoc->GetPage(i))
            m_pageTitles.push_back(page->m_title);
    }
}
