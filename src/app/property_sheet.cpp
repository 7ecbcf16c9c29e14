// The property sheet: tabs of pages, the modified state behind "应用", and checking and applying
// every page on "应用" and "确定".
#include "app/property_sheet.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertyPage::CPropertyPage(const CString& caption, QWidget* parent) : QWidget(parent), m_caption(caption) {}

void CPropertyPage::SetModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    if (m_pSheet)
        m_pSheet->PageModifiedChanged();
}

CPropertySheet::CPropertySheet(const CString& caption, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()) {
    setWindowTitle(caption.ToQString());
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    m_apply = buttons->addButton(QStringLiteral("应用"), QDialogButtonBox::ApplyRole);
    m_ok->setDefault(true);
    m_apply->setEnabled(false);
    layout->addWidget(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { OnTabChanged(index); });
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->m_pSheet = this;
    m_pages.push_back(page);
    m_switching = true;
    m_tabs->addTab(page, page->Caption().ToQString());
    m_switching = false;
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[size_t(index)] : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(m_activeIndex);
}

void CPropertySheet::SetActivePage(int index) {
    if (index >= 0 && index < GetPageCount())
        m_tabs->setCurrentIndex(index);
}

void CPropertySheet::Initialize() {
    if (m_initialized)
        return;
    m_initialized = true;
    OnInitDialog();
    for (CPropertyPage* page : m_pages) {
        page->OnInitPage();
        page->SetModified(false);
    }
    PageModifiedChanged();
}

INT_PTR CPropertySheet::DoModal() {
    Initialize();
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CPropertySheet::AnyModified() const {
    for (const CPropertyPage* page : m_pages)
        if (page->IsModified())
            return true;
    return false;
}

void CPropertySheet::PageModifiedChanged() {
    m_apply->setEnabled(AnyModified());
}

// Leaving a page checks its controls; a page that refuses stays in front.
void CPropertySheet::OnTabChanged(int index) {
    if (m_switching)
        return;
    CPropertyPage* left = GetPage(m_activeIndex);
    if (left && m_activeIndex != index && m_initialized && !left->OnKillActive()) {
        m_switching = true;
        m_tabs->setCurrentIndex(m_activeIndex);
        m_switching = false;
        return;
    }
    m_activeIndex = index;
}

bool CPropertySheet::Apply() {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (!m_pages[size_t(i)]->OnKillActive()) {
            SetActivePage(i);
            return false;
        }
    }
    for (CPropertyPage* page : m_pages)
        page->OnApply();
    // What the pages posted takes effect now, before the sheet can close.
    HxPumpPostedMessages();
    PageModifiedChanged();
    return true;
}

void CPropertySheet::accept() {
    if (Apply())
        QDialog::accept();
}
