// The About dialog and its presenter.
#include "app/about_dlg.h"

#include "app/ribbon_icons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

const char16_t* const CAboutDlg::kTitle = u"关于 Halvix";
const char16_t* const CAboutDlg::kText = u" Halvix V6.05";

INT_PTR HxShowAboutDialog(CDialog&) {
    QDialog box;
    box.setWindowTitle(CString(CAboutDlg::kTitle).ToQString());
    box.setWindowIcon(HxRibbonIcon(QStringLiteral("app")));
    auto* layout = new QVBoxLayout(&box);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(&box);
    icon->setPixmap(HxRibbonIcon(QStringLiteral("app")).pixmap(48, 48));
    auto* text = new QLabel(CString(CAboutDlg::kText).ToQString(), &box);
    QFont f = text->font();
    f.setPointSizeF(f.pointSizeF() * 1.2);
    text->setFont(f);
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    buttons->button(QDialogButtonBox::Ok)->setIcon(QIcon());
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.setMinimumWidth(280);
    box.exec();
    return IDOK;
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CAboutDlg), HxShowAboutDialog);
    return true;
}();
} // namespace
