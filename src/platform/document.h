// CDocument: the program's single document as the framework handles it (path, title, modified
// flag, new, open, save, save as, the save prompt and the recent-file list), the file dialog it
// shows, and the screen size the document records.
#pragma once

#include "platform/cmdtarget.h"
#include "platform/dialog.h"

#include <functional>
#include <vector>

class CArchive;
class CFile;

constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;

// The flags of the file dialogs.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

// An error the user has been told about already: whoever catches it says nothing more.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    const char* What() const override { return "reported to the user"; }
};

// An open or save-as file dialog.  The windows show it with a presenter for this class; tests give
// the chosen path through a dialog runner.  The filter is "description|patterns|...||" with
// patterns separated by ';'.
class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    CFileDialog(BOOL openFileDialog, const CString& defaultExt = CString(),
                const CString& fileName = CString(), DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const CString& filter = CString());

    // The chosen path, with the default extension added when the name has none (save dialogs).
    CString GetPathName() const { return m_strPathName; }
    CString GetFileName() const;
    CString GetFileExt() const;
    // The filter as (description, patterns) pairs.
    std::vector<std::pair<CString, CString>> GetFilters() const;
    // The extension (without the dot) a saved name without one gets when file type `filterIndex`
    // (1 the first) is chosen: the type's first pattern "*.ext", else the default extension.
    CString GetTypeExt(int filterIndex) const;
    // The file a save writes for `path` chosen with file type `filterIndex` (1 the first): GetTypeExt
    // added to a name without an extension (".公式", a hidden file's, has none); with the
    // document's type (m_nDocumentType) chosen, to any name that does not already end with it
    // compared ignoring case; with m_bAlwaysAddTypeExt and another type of the list chosen, to any
    // name that does not already end with it compared case-sensitively.  Open dialogs: the path
    // itself.
    CString GetSavePath(const CString& path, int filterIndex) const;
    // Sets the result as the dialog would: GetSavePath of the path with the chosen file type.
    void SetResult(const CString& path);
    // The same with the file type chosen (1 the first).
    void SetResult(const CString& path, int filterIndex);

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;   // without the dot
    CString m_strFileName; // the suggested name
    DWORD m_dwFlags;
    CString m_strFilter;
    CString m_strPathName;
    int m_nFilterIndex = 1; // the file type chosen, from 1 (the first is offered first)
    CString m_strTitle;     // the window's title; empty: "打开" or "另存为"
    // Save dialogs: "a.txt" saved as type "*.bmp" is "a.txt.bmp", and that file is asked about.
    BOOL m_bAlwaysAddTypeExt = FALSE;
    // Save dialogs: the file type (1 the first) that saves a document, 0 none.  A document is known
    // by its extension whatever its case, so "第1.2节" is saved as "第1.2节.hvx" and "课件.HVX"
    // as it is, and that file is asked about.
    int m_nDocumentType = 0;
};

// The recent files: at most `size` paths, the newest first, kept in the settings under "Recent
// File List" as File1, File2, ...
class CRecentFileList {
public:
    explicit CRecentFileList(int size = 6, const CString& section = u"Recent File List");
    int GetSize() const { return int(m_paths.size()); }
    int GetMaxSize() const { return m_maxSize; }
    const CString& operator[](int i) const { return m_paths.at(size_t(i)); }
    // Puts the path first (removing an earlier entry of the same file) and saves the list.
    void Add(const CString& path);
    void Remove(int index);
    void ReadList();
    void WriteList() const;
    // The menu text of entry i: "&1 name".
    CString GetDisplayName(int i) const;
    // Called after every change of the list.
    void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

private:
    void Changed();
    int m_maxSize;
    CString m_section;
    std::vector<CString> m_paths;
    std::function<void()> m_onChange;
};

// The largest document file that is saved and read (2048 MB): room for dozens of camera photos
// (a 12-megapixel picture is kept as 36 MB of rows), while a huge or padded file is refused before
// it is read.  A save that would pass it is refused, so that whatever is saved opens again.
constexpr ULONGLONG kHxMaxDocumentBytes = 2048ULL << 20;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the file name); addToMru also puts it into the recent files.
    virtual void SetPathName(const CString& path, BOOL addToMru = TRUE);
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const CString& title);
    BOOL IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    // Asks the views to draw again.
    void UpdateAllViews(CObject* sender = nullptr, LPARAM hint = 0, CObject* hintObject = nullptr);

    // The document's life.  OnNewDocument empties it; OnOpenDocument reads a file, and leaves the
    // document as it was when the file cannot be read (the load must replace the contents only once
    // the whole file has been read); OnSaveDocument writes it through a temporary file, so that a
    // failed save leaves the file on disk as it was, and refuses a document longer than
    // kHxMaxDocumentBytes before it writes anything.  Both report their failures to the user.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const CString& path);
    virtual BOOL OnSaveDocument(const CString& path);
    virtual void DeleteContents() {}
    // Reads a whole document from a file (the archive part of OnOpenDocument); FALSE after an
    // error, which has been reported unless report is FALSE.  A file larger than
    // kHxMaxDocumentBytes is refused as too large before it is read.  A document whose files come
    // in more than one layout reads them its own way.
    virtual BOOL ReadDocument(CFile& file, const CString& pathForMessages, BOOL report = TRUE);
    // The document's bytes, as OnSaveDocument writes them; throws what Serialize throws.
    std::vector<BYTE> StoreToBytes();
    // The length of the file OnSaveDocument would write now, counted as it is stored without keeping
    // the bytes; throws what Serialize throws.
    ULONGLONG StoredLength();

    // Asks whether a modified document should be saved first: TRUE to go on (saved, or changes
    // dropped), FALSE when the user cancelled or the save failed.
    virtual BOOL SaveModified();
    // Saves under path, or asks for a path first when it is empty; replace makes the saved file
    // the document's path.
    virtual BOOL DoSave(const CString& path, BOOL replace = TRUE);
    // Save: under the document's path, or through Save As when it has none, when its file is
    // read-only, or when the path was given by the program and a file is there already.
    BOOL DoFileSave();
    // Marks the document's present path as given by the program rather than chosen by the user or
    // read from: until the path changes, a save asks (Save As, with its overwrite question) before
    // it writes over a file already there, and writes without asking when there is none.
    void SetPathNotChosen(BOOL notChosen = TRUE) { m_bPathNotChosen = notChosen; }
    BOOL IsPathNotChosen() const { return m_bPathNotChosen; }
    // Tells the user that the document could not be saved or opened and why: e is the exception
    // met (a CFileException of a failed write gives its cause), or null when memory ran out.
    virtual void ReportSaveLoadException(const CString& path, const CException* e, BOOL saving);
    // TRUE when what is left of the file is beyond kHxMaxDocumentBytes.
    static BOOL IsTooLargeToRead(const CFile& file);
    // Tells the user that the file is beyond kHxMaxDocumentBytes and is not read.
    static void ReportTooLargeToRead(const CString& path);
    // Tells the user that the document would be longer than kHxMaxDocumentBytes and is not saved.
    static void ReportTooLargeToSave(const CString& path);

    // The file commands of the single document.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileMru(UINT id);
    void OnUpdateFileMru(CCmdUI* pCmdUI);
    // Opens a file in place of the present document (after the save prompt, unless askToSave is
    // FALSE because the caller has asked already).
    virtual BOOL OpenDocumentFile(const CString& path, BOOL askToSave = TRUE);
    // A new, untitled document in place of the present one (after the save prompt).
    BOOL NewDocumentFile();

    // What the views do once a document is new or loaded (the view's initial update).
    virtual void OnInitialUpdate() {}
    // After new and open: OnInitialUpdate, the views' own initial update, and a redraw.
    void InitialUpdateAllViews();

    // The file type of the document: its description with pattern, and extension with the dot.
    CString m_strFilterName; // "Halvix文档(*.hvx)"
    CString m_strDefaultExt; // ".hvx"

    // The windows' hooks: views to draw again, views to set themselves up for a new or loaded
    // document, the title to show (the document's title, empty when
    // untitled), and the recent-file list (not owned; none in tests that need none).
    std::function<void()> m_onUpdateViews;
    std::function<void()> m_onInitialUpdateViews;
    std::function<void(const CString& title)> m_onTitleChanged;
    CRecentFileList* m_pRecentFileList = nullptr;

protected:
    CString FilterString() const;
    CString m_strPathName;
    CString m_strTitle;
    BOOL m_bModified = FALSE;
    BOOL m_bPathNotChosen = FALSE;
};

// The size of the primary screen in pixels (SM_CXSCREEN 0, SM_CYSCREEN 1); tests can fix it.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int index);
void HxSetScreenSizeOverride(int width, int height); // 0, 0 removes the override
