// CFile over QFile and the in-memory CMemFile.
#include "platform/file.h"

#include <QFile>

#include <cstring>

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

CFile::CFile() = default;

CFile::CFile(const CString& path, UINT flags) {
    CFileException e;
    if (!Open(path, flags, &e))
        throw e;
}

CFile::~CFile() { Close(); }

bool CFile::Open(const CString& path, UINT flags, CFileException* error) {
    Close();
    m_path = path;
    m_file = std::make_unique<QFile>(path.ToQString());
    QIODevice::OpenMode mode;
    UINT access = flags & 3;
    if (access == modeRead)
        mode = QIODevice::ReadOnly;
    else if (access == modeWrite)
        mode = QIODevice::WriteOnly;
    else
        mode = QIODevice::ReadWrite;
    if ((flags & modeCreate) && !(flags & modeNoTruncate) && access != modeRead)
        mode |= QIODevice::Truncate;
    if (!(flags & modeCreate) && access != modeRead && !m_file->exists()) {
        if (error)
            *error = CFileException(CFileException::fileNotFound, path);
        m_file.reset();
        return false;
    }
    if (!m_file->open(mode)) {
        if (error) {
            int cause = m_file->exists() ? CFileException::accessDenied : CFileException::fileNotFound;
            *error = CFileException(cause, path);
        }
        m_file.reset();
        return false;
    }
    return true;
}

bool CFile::IsOpen() const { return m_file && m_file->isOpen(); }

UINT CFile::Read(void* buffer, UINT count) {
    if (!IsOpen())
        throw CFileException(CFileException::genericException, m_path);
    qint64 n = m_file->read(static_cast<char*>(buffer), count);
    if (n < 0)
        throw CFileException(CFileException::hardIO, m_path);
    return UINT(n);
}

void CFile::Write(const void* buffer, UINT count) {
    if (!IsOpen())
        throw CFileException(CFileException::genericException, m_path);
    if (m_file->write(static_cast<const char*>(buffer), count) != qint64(count))
        throw CFileException(CFileException::diskFull, m_path);
}

ULONGLONG CFile::GetLength() const { return IsOpen() ? ULONGLONG(m_file->size()) : 0; }
ULONGLONG CFile::GetPosition() const { return IsOpen() ? ULONGLONG(m_file->pos()) : 0; }

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    if (!IsOpen())
        throw CFileException(CFileException::genericException, m_path);
    LONGLONG base = from == begin ? 0 : (from == current ? m_file->pos() : m_file->size());
    LONGLONG target = base + offset;
    if (target < 0 || !m_file->seek(target))
        throw CFileException(CFileException::badSeek, m_path);
    return ULONGLONG(target);
}

void CFile::Flush() {
    if (IsOpen())
        m_file->flush();
}

void CFile::Close() {
    if (m_file) {
        m_file->close();
        m_file.reset();
    }
}

UINT CMemFile::Read(void* buffer, UINT count) {
    size_t left = m_pos < m_data.size() ? m_data.size() - m_pos : 0;
    size_t n = std::min<size_t>(left, count);
    if (n)
        std::memcpy(buffer, m_data.data() + m_pos, n);
    m_pos += n;
    return UINT(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (m_pos + count > m_data.size())
        m_data.resize(m_pos + count);
    if (count)
        std::memcpy(m_data.data() + m_pos, buffer, count);
    m_pos += count;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    LONGLONG base = from == begin ? 0 : (from == current ? LONGLONG(m_pos) : LONGLONG(m_data.size()));
    LONGLONG target = base + offset;
    if (target < 0)
        throw CFileException(CFileException::badSeek);
    m_pos = size_t(target);
    return ULONGLONG(target);
}
