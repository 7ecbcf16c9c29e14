// The file dialogs of the program: CFileDialog shown as a Qt file dialog, with its file types, the
// suggested name, the default extension, the overwrite question and the folder it starts in.
#include "app/file_dialog.h"

#include "document/doc_globals.h"

#include "platform/file.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTreeView>

#include <algorithm>
#include <optional>
#include <utility>

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

// The extension a pattern names, "bmp" for "*.bmp"; empty for any other pattern ("*", "a*.txt").
QString PatternExtension(const QString& pattern) {
    const QString ext = pattern.mid(2);
    if (!pattern.startsWith(QStringLiteral("*.")) || ext.isEmpty() ||
        std::any_of(ext.begin(), ext.end(), [](QChar c) { return c == u'*' || c == u'?' || c == u'['; }))
        return QString();
    return ext;
}

// The file list as the program's Chinese locale writes it: dates and sizes in the default locale
// (Qt's file model uses the machine's), and "文件夹" for the folders' type, which Qt's own
// translations leave in English.
class CLocalFileListModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale locale;
        switch (index.column()) {
        case 1:
            if (!files->isDir(source))
                return locale.formattedDataSize(files->size(source));
            break;
        case 2:
            if (files->isDir(source))
                return QStringLiteral("文件夹");
            break;
        case 3: {
            const QDateTime when = files->lastModified(source);
            if (when.isValid())
                return locale.toString(when, QLocale::ShortFormat);
            break;
        }
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Qt's dialog for a CFileDialog.  A save writes the name typed, with the file type chosen last
// (CFileDialog::GetSavePath: "第1.2节" saved as a document is "第1.2节.hvx", "a.txt" saved as BMP
// is "a.txt.bmp"), whatever file of the list Qt selected while the name was typed; that file is the
// one asked about, with Qt's own question, and "No" keeps the dialog open.  A folder typed is
// entered.  Another file type chosen after the name replaces only an extension of the dialog's
// types ("k.hvx" as PNG is "k.png", "第1.2节" is "第1.2节.png").  Open dialogs are Qt's own.
class CProgramFileBox : public QFileDialog {
public:
    CProgramFileBox(QWidget* parent, const CFileDialog& dlg, const QStringList& filters)
        : QFileDialog(parent), m_dlg(dlg), m_filters(filters) {
        for (const auto& [description, patterns] : dlg.GetFilters()) {
            const QStringList list = Patterns(patterns.ToQString());
            m_ownExtensions << PatternExtension(list.value(0));
            for (const QString& pattern : list) {
                if (const QString ext = PatternExtension(pattern); !ext.isEmpty())
                    m_typeExtensions << ext;
            }
        }
    }

    // Once a save is accepted: the file it writes, and the file type chosen (1 the first).
    const QString& SavedPath() const { return m_savedPath; }
    int SavedType() const { return m_savedType; }

    void accept() override {
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (acceptMode() != AcceptSave || !edit)
            return QFileDialog::accept();
        // Nothing typed, or ".." for the folder above: Qt's own way.
        const QString typed = TypedPath(edit->text());
        if (typed.isEmpty() || edit->text() == QStringLiteral(".."))
            return QFileDialog::accept();
        if (QFileInfo(typed).isDir())
            return EnterFolder(typed);
        const int type = int(m_filters.indexOf(selectedNameFilter())) + 1;
        const QString savedPath = m_dlg.GetSavePath(CString::FromQString(typed), type).ToQString();
        const QFileInfo saved(savedPath);
        if (saved.isDir())
            return EnterFolder(savedPath);
        if (saved.exists() && !testOption(DontConfirmOverwrite) &&
            QMessageBox::warning(
                this, windowTitle(),
                QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(saved.fileName()),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        m_savedPath = savedPath;
        m_savedType = type;
        // Not Qt's accept: it takes the file it selected in the list, and asks about that one.
        QDialog::accept();
    }

    // Save dialogs: the name in the box follows the file type chosen without losing what it has.
    // Qt puts the new type's extension in place of whatever follows the last dot before the
    // program hears of the change ("第1.2节" would become "第1.png"), so the name is taken as it is
    // when the user turns to the list of types, and set again once the type is chosen.
    void KeepNamesAcrossTypes() {
        m_types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (!m_types)
            return;
        m_types->installEventFilter(this);
        connect(this, &QFileDialog::filterSelected, this, &CProgramFileBox::NameForChosenType);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Every way of choosing a type starts with one of these on the list of types: its keys,
        // its wheel, or the press that opens it.
        const QEvent::Type type = event->type();
        if (watched == m_types &&
            (type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Wheel)) {
            if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                m_nameBeforeType = edit->text();
        }
        return QFileDialog::eventFilter(watched, event);
    }

private:
    // The name of the box for the file type just chosen, from the name before Qt changed it.
    void NameForChosenType(const QString& filter) {
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit || !m_nameBeforeType)
            return;
        const QString before = *std::exchange(m_nameBeforeType, std::nullopt);
        const QString name = NameWithType(before, m_ownExtensions.value(m_filters.indexOf(filter)));
        if (edit->text() != name)
            edit->setText(name);
    }
    // `name` with the extension `typeExt` of the type chosen: an extension of one of the dialog's
    // types is replaced by it; any other name with a dot keeps all it has and gets it after (a
    // leading dot hides a file, it starts no extension).  A name without a dot, or ending with
    // one, stays as it is: the save adds the type's extension.
    QString NameWithType(const QString& name, const QString& typeExt) const {
        const qsizetype start = name.lastIndexOf(u'/') + 1;
        const qsizetype dot = name.lastIndexOf(u'.');
        if (typeExt.isEmpty() || dot < start || dot == name.size() - 1)
            return name;
        if (dot > start && m_typeExtensions.contains(name.mid(dot + 1), Qt::CaseInsensitive))
            return name.left(dot + 1) + typeExt;
        return name + u'.' + typeExt;
    }
    // The path of the name typed: a path relative to the folder shown, or an absolute one; "~" for
    // the home folder when no file of that name is there; of names typed in quotes, as Qt reads
    // them, the first.  Empty when no name is typed.
    QString TypedPath(const QString& text) const {
        QString name = text.contains(QLatin1Char('"')) ? text.split(QLatin1Char('"')).value(1) : text;
        if (name.isEmpty())
            return QString();
        const QDir folder = directory();
        if (!QFileInfo::exists(folder.filePath(name))) {
            if (name == QStringLiteral("~"))
                name = QDir::homePath();
            else if (name.startsWith(QStringLiteral("~/")))
                name = QDir::homePath() + name.mid(1);
        }
        return QDir::cleanPath(folder.absoluteFilePath(name));
    }
    // Shows the folder, with the name box emptied for the name to be saved there.
    void EnterFolder(const QString& path) {
        setDirectory(path);
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->clear();
    }

    const CFileDialog& m_dlg;
    const QStringList m_filters;
    QStringList m_ownExtensions;  // of each file type's first pattern "*.ext", else empty
    QStringList m_typeExtensions; // of every pattern "*.ext" of every file type
    QComboBox* m_types = nullptr;
    std::optional<QString> m_nameBeforeType;
    QString m_savedPath;
    int m_savedType = 0;
};

INT_PTR ShowFileDialog(CDialog& d) {
    auto& dlg = static_cast<CFileDialog&>(d);
    const QStringList filters = HxFileDialogFilters(dlg);
    CProgramFileBox box(QApplication::activeWindow(), dlg, filters);
    // Qt's own dialog, not the desktop's: it adds the chosen type's extension before it asks about
    // replacing a file, its texts follow the program's Chinese, and its file list is the program's.
    box.setOption(QFileDialog::DontUseNativeDialog);
    HxDressFileDialog(box);
    if (!dlg.m_strTitle.IsEmpty())
        box.setWindowTitle(dlg.m_strTitle.ToQString());
    else
        box.setWindowTitle(dlg.m_bOpenFileDialog ? QStringLiteral("打开") : QStringLiteral("另存为"));
    box.setAcceptMode(dlg.m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    box.setFileMode(dlg.m_bOpenFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    box.setNameFilters(filters);
    if (dlg.m_nFilterIndex >= 1 && dlg.m_nFilterIndex <= filters.size())
        box.selectNameFilter(filters[dlg.m_nFilterIndex - 1]);
    if (!dlg.m_bOpenFileDialog && !(dlg.m_dwFlags & OFN_OVERWRITEPROMPT))
        box.setOption(QFileDialog::DontConfirmOverwrite);
    if (!dlg.m_bOpenFileDialog) {
        // While a name is typed, Qt selects the file of that name in the list, with its default
        // suffix added to a name without a dot: the suffix follows the chosen type.  What is saved
        // is the name typed (CProgramFileBox::accept), whatever is selected.
        auto followType = [&box, &dlg, &filters](const QString& filter) {
            box.setDefaultSuffix(dlg.GetTypeExt(int(filters.indexOf(filter)) + 1).ToQString());
        };
        followType(box.selectedNameFilter());
        QObject::connect(&box, &QFileDialog::filterSelected, &box, followType);
        box.KeepNamesAcrossTypes();
    }
    const HxFileDialogStart start = HxFileDialogStartOf(dlg);
    box.setDirectory(start.folder);
    if (!start.selected.isEmpty())
        box.selectFile(start.selected);
    if (box.exec() != QDialog::Accepted)
        return IDCANCEL;
    QString chosen;
    int type = 0;
    if (dlg.m_bOpenFileDialog) {
        if (box.selectedFiles().isEmpty())
            return IDCANCEL;
        chosen = box.selectedFiles().first();
        type = int(filters.indexOf(box.selectedNameFilter())) + 1;
    } else {
        // The file the dialog asked about: the name typed with the type chosen last.
        chosen = box.SavedPath();
        type = box.SavedType();
        if (chosen.isEmpty())
            return IDCANCEL;
    }
    g_lastChosenFolder = QFileInfo(chosen).absolutePath();
    dlg.SetResult(CString::FromQString(chosen), type);
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

QString HxFileDialogStartFolder(bool forSaving) {
    // A save starts only where it can write: not in a read-only folder such as the samples'.
    auto usable = [forSaving](const QString& folder) {
        return !folder.isEmpty() && QDir(folder).exists() && !(forSaving && HxIsReadOnlyPath(folder));
    };
    if (!g_lastDocumentPath.IsEmpty()) {
        const QString folder = QFileInfo(g_lastDocumentPath.ToQString()).absolutePath();
        if (usable(folder))
            return folder;
    }
    if (usable(g_lastChosenFolder))
        return g_lastChosenFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (usable(documents))
        return documents;
    return QDir::homePath();
}

HxFileDialogStart HxFileDialogStartOf(const CFileDialog& dlg) {
    const bool saving = !dlg.m_bOpenFileDialog;
    HxFileDialogStart start{HxFileDialogStartFolder(saving), QString()};
    if (dlg.m_strFileName.IsEmpty())
        return start;
    // "folder/*.ext" opens the folder with that file type; a plain name is suggested in the start
    // folder, a path in its own folder, unless a save could not write there: then its name alone
    // is suggested in the start folder.
    const QString name = dlg.m_strFileName.ToQString();
    const QFileInfo info(name);
    if (info.fileName().contains(QLatin1Char('*'))) {
        if (QFileInfo(info.path()).isDir() && !(saving && HxIsReadOnlyPath(info.path())))
            start.folder = info.path();
    } else if (saving && name.contains(QLatin1Char('/')) && HxIsReadOnlyPath(info.absolutePath())) {
        start.selected = info.fileName();
    } else {
        start.selected = name;
    }
    return start;
}

void HxDressFileDialog(QFileDialog& box) {
    box.setProxyModel(new CLocalFileListModel(&box));
    // Room for the whole of a size and a date.
    box.resize(std::max(box.width(), 760), std::max(box.height(), 460));
    if (auto* list = box.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        const QFontMetrics metrics(list->font());
        const QLocale locale;
        list->header()->resizeSection(1, metrics.horizontalAdvance(locale.formattedDataSize(999999999)) + 24);
        list->header()->resizeSection(
            3, metrics.horizontalAdvance(
                   locale.toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59)), QLocale::ShortFormat)) +
                   24);
    }
}

void HxResetFileDialogFolder() {
    g_lastChosenFolder.clear();
}
