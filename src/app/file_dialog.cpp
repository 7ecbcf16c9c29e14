// The file dialogs of the program: CFileDialog shown as a Qt file dialog, with its file types, the
// suggested name, the default extension and the overwrite question.
#include "platform/afx.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {

// "Halvix文档(*.hvx)" with patterns "*.hvx;*.gf" becomes "Halvix文档(*.hvx) (*.hvx *.gf)".
QStringList NameFilters(const CFileDialog& dlg) {
    QStringList filters;
    for (const auto& [description, patterns] : dlg.GetFilters()) {
        QString p = patterns.ToQString();
        p.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(description.ToQString(), p);
    }
    return filters;
}

INT_PTR ShowFileDialog(CDialog& d) {
    auto& dlg = static_cast<CFileDialog&>(d);
    QFileDialog box(QApplication::activeWindow());
    if (!dlg.m_strTitle.IsEmpty())
        box.setWindowTitle(dlg.m_strTitle.ToQString());
    else
        box.setWindowTitle(dlg.m_bOpenFileDialog ? QStringLiteral("打开") : QStringLiteral("另存为"));
    box.setAcceptMode(dlg.m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    box.setFileMode(dlg.m_bOpenFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = NameFilters(dlg);
    box.setNameFilters(filters);
    if (dlg.m_nFilterIndex >= 1 && dlg.m_nFilterIndex <= filters.size())
        box.selectNameFilter(filters[dlg.m_nFilterIndex - 1]);
    if (!dlg.m_bOpenFileDialog && !(dlg.m_dwFlags & OFN_OVERWRITEPROMPT))
        box.setOption(QFileDialog::DontConfirmOverwrite);
    if (!dlg.m_strFileName.IsEmpty()) {
        // "folder/*.ext" opens the folder with that file type; a plain name is suggested.
        const QString name = dlg.m_strFileName.ToQString();
        const QFileInfo info(name);
        if (info.fileName().contains(QLatin1Char('*'))) {
            if (QFileInfo(info.path()).isDir())
                box.setDirectory(info.path());
        } else {
            box.selectFile(name);
        }
    }
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return IDCANCEL;
    // The chosen type gives the extension of a name typed without one (SetResult).
    dlg.SetResult(CString::FromQString(box.selectedFiles().first()),
                  int(filters.indexOf(box.selectedNameFilter())) + 1);
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CFileDialog), ShowFileDialog);
    return true;
}();

} // namespace
