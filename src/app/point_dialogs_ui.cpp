// The input dialog windows of the point commands: their layouts, the range checks of OK and their
// registration as presenters.
#include "app/point_dialogs_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Run;

QLineEdit* AddIntEdit(QWidget* parent, int value) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->selectAll();
    return edit;
}

} // namespace

CIntersectionNumWindow::CIntersectionNumWindow(CDlgIntersectionNum& fields, QWidget* parent)
    : CHxExchangeDialog(u"添加交点数", parent), m_fields(fields) {
    using D = CDlgIntersectionNum;
    auto* layout = new QVBoxLayout(this);
    // The prompt as the command wrote it, its line break included.
    auto* prompt = Add(D::kPromptText, new QLabel(D::PromptFor(fields.m_number).ToQString(), this));
    prompt->setTextFormat(Qt::PlainText);
    layout->addWidget(prompt);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("交点数："), this));
    row->addWidget(Add(D::kEditNumber, AddIntEdit(this, fields.m_number)), 1);
    layout->addLayout(row);
    AddOkCancel(layout);
}

void CIntersectionNumWindow::accept() {
    int number;
    if (!GetInt(CDlgIntersectionNum::kEditNumber, number, 0, CDlgIntersectionNum::kMaxNumber))
        return;
    m_fields.m_number = number;
    QDialog::accept();
}

CDivPointWindow::CDivPointWindow(DlgDivPoint& fields, QWidget* parent)
    : CHxExchangeDialog(u"N等分点", parent), m_fields(fields) {
    using D = DlgDivPoint;
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("N："), this));
    row->addWidget(Add(D::kEditN, AddIntEdit(this, fields.m_n)), 1);
    layout->addLayout(row);
    m_onlyFirst = Add(D::kOnlyFirstCheck, new QCheckBox(QStringLiteral("仅添加首个等分点"), this));
    m_onlyFirst->setChecked(fields.m_onlyFirst != FALSE);
    layout->addWidget(m_onlyFirst);
    AddOkCancel(layout);
}

void CDivPointWindow::accept() {
    int n;
    if (!GetInt(DlgDivPoint::kEditN, n, DlgDivPoint::kMinN, DlgDivPoint::kMaxN))
        return;
    m_fields.m_n = n;
    m_fields.m_onlyFirst = m_onlyFirst->isChecked() ? TRUE : FALSE;
    QDialog::accept();
}

INT_PTR HxShowIntersectionNumDialog(CDialog& dialog) {
    return Run<CIntersectionNumWindow, CDlgIntersectionNum>(dialog);
}

INT_PTR HxShowDivPointDialog(CDialog& dialog) {
    return Run<CDivPointWindow, DlgDivPoint>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgIntersectionNum), HxShowIntersectionNumDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(DlgDivPoint), HxShowDivPointDialog);
    return true;
}();
} // namespace
