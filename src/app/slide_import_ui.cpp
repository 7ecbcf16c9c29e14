// The window of the slide import's dialog: its layout, the range check and its registration as the
// dialog's presenter.
#include "app/slide_import_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Text;

} // namespace

CSlideImportWindow::CSlideImportWindow(CDlgPPT& fields, QWidget* parent)
    : CHxExchangeDialog(u"从PPT导入文本", parent), m_fields(fields) {
    using D = CDlgPPT;
    auto* layout = new QVBoxLayout(this);
    auto* source = new QHBoxLayout;
    source->addWidget(new QLabel(Text(u"源文稿："), this));
    auto* path = Add(D::kSource, new QLineEdit(fields.m_source.ToQString(), this));
    path->setReadOnly(true);
    source->addWidget(path, 1);
    layout->addLayout(source);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(Text(u"范  围： 从第"), this));
    range->addWidget(AddNumberEdit(D::kFrom, QString::number(fields.m_from)));
    range->addWidget(new QLabel(Text(u"张 到 第"), this));
    range->addWidget(AddNumberEdit(D::kTo, QString::number(fields.m_to)));
    range->addWidget(new QLabel(Text(u"张幻灯片"), this));
    layout->addLayout(range);
    layout->addWidget(AddCheck(D::kConvert, u" 转换为Halvix中可编辑文本", fields.m_convert));
    auto* help = Add(
        D::kHelp, new QPlainTextEdit(
                      fields.m_help.ToQString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this));
    help->setReadOnly(true);
    help->setMinimumSize(420, 190);
    layout->addWidget(help);
    AddOkCancel(layout);
}

void CSlideImportWindow::accept() {
    using D = CDlgPPT;
    int from = 0, to = 0;
    if (!GetInt(D::kFrom, from, D::kMinSlide, D::kMaxSlide) ||
        !GetInt(D::kTo, to, D::kMinSlide, D::kMaxSlide))
        return;
    m_fields.m_from = from;
    m_fields.m_to = to;
    m_fields.m_convert = Checked(D::kConvert);
    QDialog::accept();
}

namespace {

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPPT), [](CDialog& dialog) -> INT_PTR {
        auto* fields = dynamic_cast<CDlgPPT*>(&dialog);
        if (!fields)
            return IDCANCEL;
        CSlideImportWindow window(*fields, QApplication::activeWindow());
        return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
    return true;
}();

} // namespace
