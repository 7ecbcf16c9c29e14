// Binary files: CFile over the file system and CMemFile over a byte buffer.
#pragma once

#include "platform/cstring.h"
#include "platform/object.h"

#include <memory>
#include <vector>

class QFile;

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
    ~CFile() override;

    virtual bool Open(const CString& path, UINT flags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual void Flush();
    virtual void Close();
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

    const std::vector<BYTE>& Data() const { return m_data; }
    std::vector<BYTE> Detach() { m_pos = 0; return std::move(m_data); }
    void Attach(std::vector<BYTE> data) { m_data = std::move(data); m_pos = 0; }

private:
    std::vector<BYTE> m_data;
    size_t m_pos = 0;
};
