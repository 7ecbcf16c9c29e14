// Binary files: CFile over the file system and CMemFile over a byte buffer; opening only regular
// files, and writing a whole file (from bytes or as it is made) so that a failure leaves the old one
// as it was.
#pragma once

#include "platform/cstring.h"
#include "platform/object.h"

#include <functional>
#include <memory>
#include <vector>

class QFile;
class QString;

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum { none = 0, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
           removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation, diskFull,
           endOfFile };
    CFileException(int cause = none, const CString& fileName = CString()) : m_cause(cause), m_strFileName(fileName) {}
    const char* What() const override { return "file error"; }
    int m_cause;
    CString m_strFileName;
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x10000,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    CFile(const CString& path, UINT flags); // throws CFileException when the file cannot be opened
    ~CFile() override;                      // closes without a word (Abort)

    // Only regular files open: a pipe, a device or a socket is refused at once (invalidFile)
    // rather than waited on.
    virtual bool Open(const CString& path, UINT flags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);
    // Writes are buffered: a full disk may show only at Flush or Close.  Each of the three throws
    // CFileException when the bytes did not all reach the file.
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual void Flush();
    virtual void Close();
    // Closes ignoring every error.
    virtual void Abort();
    bool IsOpen() const;
    CString GetFilePath() const { return m_path; }

private:
    std::unique_ptr<QFile> m_file;
    CString m_path;
};

// A file in memory; the archive of the clipboard and of copied records.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024) { (void)growBytes; }
    explicit CMemFile(std::vector<BYTE> data) : m_data(std::move(data)) {}
    CMemFile(const BYTE* data, size_t size) : m_data(data, data + size) {}

    bool Open(const CString&, UINT, CFileException* = nullptr) override { return true; }
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG GetLength() const override { return m_data.size(); }
    ULONGLONG GetPosition() const override { return m_pos; }
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

    const std::vector<BYTE>& Data() const { return m_data; }
    std::vector<BYTE> Detach() { m_pos = 0; return std::move(m_data); }
    void Attach(std::vector<BYTE> data) { m_data = std::move(data); m_pos = 0; }

private:
    std::vector<BYTE> m_data;
    size_t m_pos = 0;
};

// Opens a file for reading only when it is a regular file (a link to one will do); a pipe or a
// device is refused at once instead of blocking.  Returns CFileException::none, or the cause:
// fileNotFound, accessDenied or invalidFile (not a regular file).
int HxOpenRegularFile(QFile& file, const QString& path);

// True when the file or folder exists and may not be written: the user lacks the right, or no one
// has it (a file marked read-only, which stays read-only to the administrator too).
bool HxIsReadOnlyPath(const QString& path);

// Writes `size` bytes as the whole new content of `path`: into a temporary file with a short name
// of its own beside it, written, synced and checked, and only then moved over the old file (whose
// permissions it takes).  False when any step fails (a full disk, a size limit, a folder that
// cannot be written, a target that is read-only or not a regular file): the old file is then as it
// was, the temporary file is gone and `error` (when given) holds the cause: fileNotFound for a
// missing folder, accessDenied, invalidFile (not a regular file), tooManyOpenFiles, diskFull or
// genericException.
bool HxWriteFileSafely(const CString& path, const void* data, size_t size, CFileException* error = nullptr);
inline bool HxWriteFileSafely(const CString& path, const std::vector<BYTE>& bytes,
                              CFileException* error = nullptr) {
    return HxWriteFileSafely(path, bytes.data(), bytes.size(), error);
}
// The same with the content written by `write` into a file open on the temporary file as it is
// made, so that it need not be held in memory first.  A CFileException out of `write` is a failed
// write (its cause in `error`); any other exception removes the temporary file and goes on to the
// caller, the old file as it was.
bool HxWriteFileSafely(const CString& path, const std::function<void(CFile&)>& write,
                       CFileException* error = nullptr);

// Why a file could not be written, for the user, by the cause of a failed write: 找不到文件夹
// (fileNotFound, badPath: the file itself need not exist, so what is missing is its folder),
// 没有写入权限, 不是普通文件 (a folder, a pipe or a device in the file's place), 打开的文件太多,
// 磁盘已满 (the disk, or the size a file may have, is used up), and 写入文件失败 for any other cause.
CString HxWriteFailureReason(int cause);

// A write beyond the process's file-size limit fails (EFBIG) instead of killing the process; set
// once at start-up and before every safe write.
void HxIgnoreFileSizeSignal();
