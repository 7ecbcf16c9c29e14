// The window of the slide import's dialog: its layout, the range check and its registration as the
// dialog's presenter.
#include "app/slide_import_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QPushButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Text;

// The window that tells how far a slide import has come, with 取消; it blocks the other windows
// while the import runs an event loop of its own.  Closing it is 取消, as Esc is.
class CProgressDialog : public QDialog {
public:
    CProgressDialog(const CString& title, const CString& text, std::function<void()> onCancel)
        : QDialog(QApplication::activeWindow()), m_onCancel(std::move(onCancel)) {
        setObjectName(QStringLiteral("HxProgressWindow"));
        setWindowTitle(Text(title.GetString()));
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        m_label = new QLabel(text.ToQString(), this);
        m_label->setMinimumWidth(320);
        layout->addWidget(m_label);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        auto* cancel = new QPushButton(Text(u"取消"), this);
        cancel->setObjectName(QStringLiteral("HxProgressCancel"));
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
        connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    }
    void SetText(const CString& text) { m_label->setText(text.ToQString()); }
    void reject() override { Cancel(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        Cancel();
    }

private:
    void Cancel() {
        if (m_onCancel)
            m_onCancel();
    }
    QLabel* m_label = nullptr;
    std::function<void()> m_onCancel;
};

class CProgressWindow : public CHxProgressWindow {
public:
    CProgressWindow(const CString& title, const CString& text, std::function<void()> onCancel)
        : m_dialog(title, text, std::move(onCancel)) {
        m_dialog.show();
    }
    void SetText(const CString& text) override { m_dialog.SetText(text); }

private:
    CProgressDialog m_dialog;
};

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
    HxSetProgressWindowMaker([](const CString& title, const CString& text, std::function<void()> onCancel) {
        return std::unique_ptr<CHxProgressWindow>(new CProgressWindow(title, text, std::move(onCancel)));
    });
    return true;
}();

} // namespace
