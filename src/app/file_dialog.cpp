// The file dialogs of the program: CFileDialog shown as a Qt file dialog, with its file types, the
// suggested name, the default extension, the overwrite question and the folder it starts in.
#include "app/file_dialog.h"

#include "document/doc_globals.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

QString g_lastChosenFolder;

QStringList Patterns(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
}

bool SamePatterns(QStringList a, QStringList b) {
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
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
    const QStringList filters = HxFileDialogFilters(dlg);
    box.setNameFilters(filters);
    if (dlg.m_nFilterIndex >= 1 && dlg.m_nFilterIndex <= filters.size())
        box.selectNameFilter(filters[dlg.m_nFilterIndex - 1]);
    if (!dlg.m_bOpenFileDialog && !(dlg.m_dwFlags & OFN_OVERWRITEPROMPT))
        box.setOption(QFileDialog::DontConfirmOverwrite);
    box.setDirectory(HxFileDialogStartFolder());
    if (!dlg.m_strFileName.IsEmpty()) {
        // "folder/*.ext" opens the folder with that file type; a plain name is suggested (in the
        // start folder unless it names its own).
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
    const QString chosen = box.selectedFiles().first();
    g_lastChosenFolder = QFileInfo(chosen).absolutePath();
    // The chosen type gives the extension of a name typed without one (SetResult).
    dlg.SetResult(CString::FromQString(chosen), int(filters.indexOf(box.selectedNameFilter())) + 1);
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CFileDialog), ShowFileDialog);
    return true;
}();

} // namespace

QStringList HxFileDialogFilters(const CFileDialog& dlg) {
    QStringList filters;
    for (const auto& [description, patterns] : dlg.GetFilters()) {
        const QString text = description.ToQString().trimmed();
        const QString p = patterns.ToQString();
        // Qt reads the patterns from the last brackets of the text.
        const int open = text.lastIndexOf(QLatin1Char('('));
        if (text.endsWith(QLatin1Char(')')) && open >= 0 &&
            SamePatterns(Patterns(text.mid(open + 1, text.size() - open - 2)), Patterns(p))) {
            filters << text.left(open + 1) + Patterns(p).join(QLatin1Char(' ')) + QLatin1Char(')');
            continue;
        }
        filters << QStringLiteral("%1 (%2)").arg(text, Patterns(p).join(QLatin1Char(' ')));
    }
    return filters;
}

QString HxFileDialogStartFolder() {
    if (!g_lastDocumentPath.IsEmpty()) {
        const QFileInfo document(g_lastDocumentPath.ToQString());
        if (document.absoluteDir().exists())
            return document.absolutePath();
    }
    if (!g_lastChosenFolder.isEmpty() && QDir(g_lastChosenFolder).exists())
        return g_lastChosenFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

void HxResetFileDialogFolder() {
    g_lastChosenFolder.clear();
}
