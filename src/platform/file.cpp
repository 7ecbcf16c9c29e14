// CFile over QFile and the in-memory CMemFile; regular files opened without blocking, and whole
// files written through a temporary file.
#include "platform/file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

CFile::CFile() = default;

CFile::CFile(const CString& path, UINT flags) {
    CFileException e;
    if (!Open(path, flags, &e))
        throw e;
}

CFile::~CFile() { Abort(); }

namespace {

int CauseOfErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return CFileException::fileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CFileException::accessDenied;
    case ENXIO: // a pipe without a reader, a device without its hardware
        return CFileException::invalidFile;
    case EMFILE:
    case ENFILE:
        return CFileException::tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CFileException::diskFull;
    default:
        return CFileException::genericException;
    }
}

// A descriptor of a regular file, or -1 with the cause.  Opened without blocking, so that a pipe
// or a device cannot hold the program up before it is seen for what it is.
int OpenRegularDescriptor(const QString& path, int flags, int& cause) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        cause = CauseOfErrno(errno);
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        cause = CFileException::invalidFile;
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status != -1)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    cause = CFileException::none;
    return fd;
}

} // namespace

bool CFile::Open(const CString& path, UINT flags, CFileException* error) {
    Abort();
    m_path = path;
    QIODevice::OpenMode mode;
    int posixFlags;
    UINT access = flags & 3;
    if (access == modeRead) {
        mode = QIODevice::ReadOnly;
        posixFlags = O_RDONLY;
    } else if (access == modeWrite) {
        mode = QIODevice::WriteOnly;
        posixFlags = O_WRONLY;
    } else {
        mode = QIODevice::ReadWrite;
        posixFlags = O_RDWR;
    }
    if ((flags & modeCreate) && access != modeRead)
        posixFlags |= O_CREAT;
    if ((flags & modeCreate) && !(flags & modeNoTruncate) && access != modeRead) {
        mode |= QIODevice::Truncate;
        posixFlags |= O_TRUNC;
    }
    int cause = CFileException::none;
    const int fd = OpenRegularDescriptor(path.ToQString(), posixFlags, cause);
    if (fd >= 0) {
        m_file = std::make_unique<QFile>(path.ToQString());
        if (m_file->open(fd, mode, QFileDevice::AutoCloseHandle))
            return true;
        m_file.reset();
        cause = CFileException::genericException;
    }
    if (error)
        *error = CFileException(cause, path);
    return false;
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
    if (IsOpen() && m_file->isWritable() && !m_file->flush())
        throw CFileException(CFileException::diskFull, m_path);
}

void CFile::Close() {
    if (!m_file)
        return;
    // The buffer goes out first; an error of an earlier write or of the flush is kept by the file.
    const bool writing = m_file->isOpen() && m_file->isWritable();
    bool ok = !writing || m_file->flush();
    ok = ok && m_file->error() == QFileDevice::NoError;
    m_file->close();
    ok = ok && m_file->error() == QFileDevice::NoError;
    m_file.reset();
    if (!ok)
        throw CFileException(CFileException::diskFull, m_path);
}

void CFile::Abort() {
    if (!m_file)
        return;
    m_file->close();
    m_file.reset();
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

// ---------------------------------------------------------------------------------------------
// Regular files and safe writes

int HxOpenRegularFile(QFile& file, const QString& path) {
    file.close();
    file.setFileName(path);
    int cause = CFileException::none;
    const int fd = OpenRegularDescriptor(path, O_RDONLY, cause);
    if (fd < 0)
        return cause;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return CFileException::genericException;
    return CFileException::none;
}

void HxIgnoreFileSizeSignal() {
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

bool HxWriteFileSafely(const CString& path, const void* data, size_t size, CString* reason) {
    HxIgnoreFileSizeSignal();
    const QString name = path.ToQString();
    auto fail = [&](const QString& why) {
        if (reason)
            *reason = CString::FromQString(why);
        return false;
    };
    // A pipe or a device in the file's place is not replaced by a file of ours.
    const QFileInfo target(name);
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("not a regular file"));
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const qint64 chunk = qint64(std::min<size_t>(size - done, size_t(1) << 24));
        if (out.write(bytes + done, chunk) != chunk)
            return fail(out.errorString()); // the temporary file goes with `out`
        done += size_t(chunk);
    }
    // The buffered bytes are written here, where a full disk or a size limit shows; committing
    // with them still pending could put a cut file in place of the old one.
    if (!out.flush() || out.error() != QFileDevice::NoError)
        return fail(out.errorString());
    // Some file systems report a full disk only when the data reach it.
    if (::fsync(out.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!out.commit())
        return fail(out.errorString());
    return true;
}
