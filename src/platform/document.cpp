// CDocument and the single-document file commands, the file dialog's fields, the recent-file list
// and the screen size.
#include "platform/document.h"

#include "platform/archive.h"
#include "platform/file.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <new>

IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileDialog, CDialog)
IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace {

CString FileNameOf(const CString& path) {
    int slash = std::max(path.ReverseFind(u'/'), path.ReverseFind(u'\\'));
    return path.Mid(slash + 1);
}

int g_screenWidthOverride = 0;
int g_screenHeightOverride = 0;

} // namespace

// ---------------------------------------------------------------------------------------------
// File dialog

CFileDialog::CFileDialog(BOOL openFileDialog, const CString& defaultExt, const CString& fileName, DWORD flags,
                         const CString& filter)
    : m_bOpenFileDialog(openFileDialog), m_strDefExt(defaultExt), m_strFileName(fileName), m_dwFlags(flags),
      m_strFilter(filter) {}

CString CFileDialog::GetFileName() const {
    return FileNameOf(m_strPathName);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind(u'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

std::vector<std::pair<CString, CString>> CFileDialog::GetFilters() const {
    std::vector<std::pair<CString, CString>> filters;
    std::vector<CString> parts;
    int start = 0;
    const CString& f = m_strFilter;
    for (int i = 0; i <= f.GetLength(); ++i) {
        if (i == f.GetLength() || f[i] == u'|') {
            parts.push_back(f.Mid(start, i - start));
            start = i + 1;
        }
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].IsEmpty())
            break;
        filters.emplace_back(parts[i], parts[i + 1]);
    }
    return filters;
}

CString CFileDialog::GetTypeExt(int filterIndex) const {
    // The type's extension, when its first pattern names one.
    const auto filters = GetFilters();
    if (filterIndex >= 1 && size_t(filterIndex) <= filters.size()) {
        CString pattern = filters[size_t(filterIndex - 1)].second;
        if (int semicolon = pattern.Find(u';'); semicolon >= 0)
            pattern = pattern.Left(semicolon);
        if (pattern.GetLength() > 2 && pattern[0] == u'*' && pattern[1] == u'.' &&
            pattern.Find(u'*', 1) < 0 && pattern.Find(u'?') < 0)
            return pattern.Mid(2);
    }
    return m_strDefExt;
}

CString CFileDialog::GetSavePath(const CString& path, int filterIndex) const {
    const CString ext = GetTypeExt(filterIndex);
    if (m_bOpenFileDialog || path.IsEmpty() || ext.IsEmpty())
        return path;
    const CString name = FileNameOf(path);
    const CString dotExt = CString(u".") + ext;
    const bool typeChosen = filterIndex >= 1 && size_t(filterIndex) <= GetFilters().size();
    const CString nameEnd = name.Right(std::min(name.GetLength(), dotExt.GetLength()));
    bool keep;
    if (typeChosen && filterIndex == m_nDocumentType)
        keep = nameEnd.CompareNoCase(dotExt) == 0;
    else if (typeChosen && m_bAlwaysAddTypeExt)
        keep = nameEnd == dotExt;
    else
        keep = name.Find(u'.', 1) >= 0; // the dot of a hidden file's name starts no extension
    return keep ? path : path + dotExt;
}

void CFileDialog::SetResult(const CString& path) {
    m_strPathName = GetSavePath(path, m_nFilterIndex);
}

void CFileDialog::SetResult(const CString& path, int filterIndex) {
    m_nFilterIndex = filterIndex;
    SetResult(path);
}

// ---------------------------------------------------------------------------------------------
// Recent files

CRecentFileList::CRecentFileList(int size, const CString& section) : m_maxSize(size), m_section(section) {}

void CRecentFileList::Add(const CString& path) {
    if (path.IsEmpty())
        return;
    std::erase(m_paths, path);
    m_paths.insert(m_paths.begin(), path);
    if (int(m_paths.size()) > m_maxSize)
        m_paths.resize(size_t(m_maxSize));
    WriteList();
    Changed();
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= GetSize())
        return;
    m_paths.erase(m_paths.begin() + index);
    WriteList();
    Changed();
}

void CRecentFileList::ReadList() {
    m_paths.clear();
    QSettings settings;
    settings.beginGroup(m_section.ToQString());
    for (int i = 1; i <= m_maxSize; ++i) {
        QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_paths.push_back(CString::FromQString(path));
    }
    Changed();
}

void CRecentFileList::WriteList() const {
    QSettings settings;
    settings.beginGroup(m_section.ToQString());
    for (int i = 1; i <= m_maxSize; ++i) {
        QString key = QStringLiteral("File%1").arg(i);
        if (i <= GetSize())
            settings.setValue(key, m_paths[size_t(i - 1)].ToQString());
        else
            settings.remove(key);
    }
}

CString CRecentFileList::GetDisplayName(int i) const {
    if (i < 0 || i >= GetSize())
        return CString();
    return HxFormat(u"&%d %s", i + 1, FileNameOf(m_paths[size_t(i)]));
}

void CRecentFileList::Changed() {
    if (m_onChange)
        m_onChange();
}

// ---------------------------------------------------------------------------------------------
// Document

CDocument::CDocument() {
    OnCommandId(ID_FILE_NEW, &CDocument::OnFileNew);
    OnCommandId(ID_FILE_OPEN, &CDocument::OnFileOpen);
    OnCommandId(ID_FILE_SAVE, &CDocument::OnFileSave);
    OnCommandId(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs);
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 5, &CDocument::OnFileMru);
    OnUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 5, &CDocument::OnUpdateFileMru);
}

CDocument::~CDocument() = default;

void CDocument::SetPathName(const CString& path, BOOL addToMru) {
    m_bPathNotChosen = FALSE;
    if (path.IsEmpty()) {
        m_strPathName.Empty();
        SetTitle(CString());
        return;
    }
    m_strPathName = CString::FromQString(QFileInfo(path.ToQString()).absoluteFilePath());
    SetTitle(FileNameOf(m_strPathName));
    if (addToMru && m_pRecentFileList)
        m_pRecentFileList->Add(m_strPathName);
}

void CDocument::SetTitle(const CString& title) {
    m_strTitle = title;
    if (m_onTitleChanged)
        m_onTitleChanged(title);
}

void CDocument::UpdateAllViews(CObject*, LPARAM, CObject*) {
    if (m_onUpdateViews)
        m_onUpdateViews();
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const CString& path) {
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        ReportSaveLoadException(path, &error, FALSE);
        return FALSE;
    }
    if (!ReadDocument(file, path))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::IsTooLargeToRead(const CFile& file) {
    const ULONGLONG length = file.GetLength(), position = file.GetPosition();
    return length > position && length - position > kHxMaxDocumentBytes;
}

void CDocument::ReportTooLargeToRead(const CString& path) {
    AfxMessageBox(HxFormat(u"无法打开文档“%s”：文件太大（超过%dMB）。", path, int(kHxMaxDocumentBytes >> 20)),
                  MB_ICONEXCLAMATION);
}

BOOL CDocument::ReadDocument(CFile& file, const CString& pathForMessages, BOOL report) {
    if (IsTooLargeToRead(file)) {
        if (report)
            ReportTooLargeToRead(pathForMessages);
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        return TRUE;
    } catch (const CUserException&) {
        return FALSE;
    } catch (const CException& e) {
        if (report)
            ReportSaveLoadException(pathForMessages, &e, FALSE);
    } catch (const std::bad_alloc&) {
        if (report)
            ReportSaveLoadException(pathForMessages, nullptr, FALSE);
    }
    return FALSE;
}

std::vector<BYTE> CDocument::StoreToBytes() {
    CMemFile file(4096);
    CArchive ar(&file, CArchive::store);
    Serialize(ar);
    ar.Close();
    return file.Detach();
}

namespace {

// A file that only counts what is written to it.
class CCountingFile : public CFile {
public:
    bool Open(const CString&, UINT, CFileException* = nullptr) override { return true; }
    UINT Read(void*, UINT) override { return 0; }
    void Write(const void*, UINT count) override { m_length += count; }
    ULONGLONG GetLength() const override { return m_length; }
    ULONGLONG GetPosition() const override { return m_length; }
    ULONGLONG Seek(LONGLONG, UINT) override { return m_length; }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

private:
    ULONGLONG m_length = 0;
};

} // namespace

ULONGLONG CDocument::StoredLength() {
    CCountingFile file;
    CArchive ar(&file, CArchive::store);
    Serialize(ar);
    ar.Close();
    return file.GetLength();
}

void CDocument::ReportTooLargeToSave(const CString& path) {
    AfxMessageBox(HxFormat(u"无法保存文档“%s”：文档太大（超过%dMB），请删去一些图片或页面后再保存。", path,
                           int(kHxMaxDocumentBytes >> 20)),
                  MB_ICONEXCLAMATION);
}

BOOL CDocument::OnSaveDocument(const CString& path) {
    CFileException error;
    try {
        // A document the open would refuse is not written at all: its length is counted first, so
        // that neither the old file nor its folder is touched.
        if (StoredLength() > kHxMaxDocumentBytes) {
            ReportTooLargeToSave(path);
            return FALSE;
        }
        // Stored straight into a temporary file beside the old one, which takes the old file's place
        // only once the whole document is written; the message says what stopped the write.
        const bool written = HxWriteFileSafely(
            path,
            [this](CFile& file) {
                CArchive ar(&file, CArchive::store);
                Serialize(ar);
                ar.Close();
            },
            &error);
        if (!written) {
            ReportSaveLoadException(path, &error, TRUE);
            return FALSE;
        }
    } catch (const CUserException&) {
        return FALSE;
    } catch (const CException& e) {
        ReportSaveLoadException(path, &e, TRUE);
        return FALSE;
    } catch (const std::bad_alloc&) {
        ReportSaveLoadException(path, nullptr, TRUE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(const CString& path, const CException* e, BOOL saving) {
    CString text;
    if (saving) {
        // The reason follows the name: out of memory while storing, or why the file could not be
        // written, in the words the picture saves use.
        auto* fe = DYNAMIC_DOWNCAST(CFileException, e);
        if (!e)
            text = HxFormat(u"无法保存文档“%s”：内存不足。", path);
        else if (fe && fe->m_cause != CFileException::none)
            text = HxFormat(u"无法保存文档“%s”：%s。", path, HxWriteFailureReason(fe->m_cause));
        else
            text = HxFormat(u"无法保存文档“%s”。", path);
    } else if (!e) {
        text = HxFormat(u"无法打开文档“%s”：内存不足。", path);
    } else if (auto* fe = DYNAMIC_DOWNCAST(CFileException, e)) {
        // A pipe, a device, a socket or a folder: no document can be read from it.
        text = fe->m_cause == CFileException::invalidFile
                   ? HxFormat(u"无法打开文件“%s”：它不是普通文件（可能是文件夹、管道或设备）。", path)
                   : HxFormat(u"无法打开文件“%s”。", path);
    } else if (auto* ae = DYNAMIC_DOWNCAST(CArchiveException, e)) {
        switch (ae->m_cause) {
        case CArchiveException::endOfFile:
            text = HxFormat(u"无法打开文档“%s”：文件不完整或已损坏。", path);
            break;
        case CArchiveException::badClass:
            text = HxFormat(u"无法打开文档“%s”：文件中有本程序不认识的对象。", path);
            break;
        case CArchiveException::badSchema:
            text = HxFormat(u"无法打开文档“%s”：文件中对象的版本不受支持。", path);
            break;
        default:
            text = HxFormat(u"无法打开文档“%s”：文件已损坏。", path);
            break;
        }
    } else {
        text = HxFormat(u"无法打开文档“%s”。", path);
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString name = m_strTitle.IsEmpty() ? CString(u"[未命名]") : m_strTitle;
    switch (AfxMessageBox(HxFormat(u"是否保存对 %s 的更改？", name), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

CString CDocument::FilterString() const {
    return m_strFilterName + u"|*" + m_strDefaultExt + u"||";
}

BOOL CDocument::DoSave(const CString& path, BOOL replace) {
    CString newName = path;
    if (newName.IsEmpty()) {
        CString suggested = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        CFileDialog dlg(FALSE, m_strDefaultExt.Mid(1), suggested, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        FilterString());
        dlg.m_nDocumentType = 1;
        if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
            return FALSE;
        newName = dlg.GetPathName();
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (replace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    // A document without a file, or whose file is read-only (a sample in the program's folder),
    // goes through Save As; the read-only file stays as it is.  So does a path the program made up
    // where another file lies already: that file is not the document's own.
    if (m_strPathName.IsEmpty() || HxIsReadOnlyPath(m_strPathName.ToQString()) ||
        (m_bPathNotChosen && QFileInfo::exists(m_strPathName.ToQString())))
        return DoSave(CString());
    return DoSave(m_strPathName);
}

void CDocument::InitialUpdateAllViews() {
    OnInitialUpdate();
    if (m_onInitialUpdateViews)
        m_onInitialUpdateViews();
    UpdateAllViews();
}

BOOL CDocument::NewDocumentFile() {
    if (!SaveModified())
        return FALSE;
    if (!OnNewDocument())
        return FALSE;
    SetPathName(CString());
    SetModifiedFlag(FALSE);
    InitialUpdateAllViews();
    return TRUE;
}

BOOL CDocument::OpenDocumentFile(const CString& path, BOOL askToSave) {
    if (askToSave && !SaveModified())
        return FALSE;
    if (!OnOpenDocument(path))
        return FALSE;
    SetPathName(path);
    InitialUpdateAllViews();
    return TRUE;
}

void CDocument::OnFileNew() {
    NewDocumentFile();
}

void CDocument::OnFileOpen() {
    CFileDialog dlg(TRUE, m_strDefaultExt.Mid(1), CString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    FilterString());
    if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
        return;
    OpenDocumentFile(dlg.GetPathName());
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(CString());
}

void CDocument::OnFileMru(UINT id) {
    if (!m_pRecentFileList)
        return;
    int index = int(id - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetSize())
        return;
    CString path = (*m_pRecentFileList)[index];
    if (!SaveModified())
        return;
    // An entry whose file has gone leaves the list.
    if (!OpenDocumentFile(path, FALSE) && !QFileInfo::exists(path.ToQString()))
        m_pRecentFileList->Remove(index);
}

void CDocument::OnUpdateFileMru(CCmdUI* pCmdUI) {
    int index = int(pCmdUI->m_nID - ID_FILE_MRU_FILE1);
    if (!m_pRecentFileList || index >= m_pRecentFileList->GetSize()) {
        pCmdUI->SetText(index == 0 ? CString(u"最近的文件") : CString());
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->SetText(m_pRecentFileList->GetDisplayName(index));
    pCmdUI->Enable(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Screen size

int GetSystemMetrics(int index) {
    if (g_screenWidthOverride > 0 && g_screenHeightOverride > 0)
        return index == SM_CXSCREEN   ? g_screenWidthOverride
               : index == SM_CYSCREEN ? g_screenHeightOverride
                                      : 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect r = screen->geometry();
            return index == SM_CXSCREEN ? r.width() : index == SM_CYSCREEN ? r.height() : 0;
        }
    }
    return 0;
}

void HxSetScreenSizeOverride(int width, int height) {
    g_screenWidthOverride = width;
    g_screenHeightOverride = height;
}
