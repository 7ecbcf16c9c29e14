// CFile over QFile and the in-memory CMemFile; regular files opened without blocking, and whole
// files written through a temporary file.
#include "platform/file.h"

#include <QFile>
#include <QFileInfo>

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

namespace {

// Writes all of `size` bytes to the descriptor; false (errno set) when any write fails.
bool WriteAll(int fd, const char* bytes, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, std::min<size_t>(size - done, size_t(1) << 24));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

// The permissions a new file gets from open(): 0666 less the process's mask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool HxIsReadOnlyPath(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0)
        return false;
    // No write permission for anyone reads as read-only even to the administrator, whom access()
    // lets write anything.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(name.constData(), W_OK) != 0 && errno != ENOENT;
}

CString HxWriteFailureReason(int cause) {
    switch (cause) {
    case CFileException::fileNotFound:
    case CFileException::badPath:
        return u"找不到文件夹";
    case CFileException::accessDenied:
        return u"没有写入权限";
    case CFileException::invalidFile:
        return u"不是普通文件";
    case CFileException::tooManyOpenFiles:
        return u"打开的文件太多";
    case CFileException::diskFull:
        return u"磁盘已满";
    default:
        return u"写入文件失败";
    }
}

namespace {

// A file over the descriptor of a temporary file: each write goes straight to it, and one that
// fails throws the cause of its error.
class CDescriptorFile : public CFile {
public:
    explicit CDescriptorFile(int fd) : m_fd(fd) {}
    bool Open(const CString&, UINT, CFileException* = nullptr) override { return false; }
    UINT Read(void*, UINT) override { throw CFileException(CFileException::genericException); }
    void Write(const void* buffer, UINT count) override {
        if (!WriteAll(m_fd, static_cast<const char*>(buffer), count))
            throw CFileException(CauseOfErrno(errno));
        m_length += count;
    }
    ULONGLONG GetLength() const override { return m_length; }
    ULONGLONG GetPosition() const override { return m_length; }
    ULONGLONG Seek(LONGLONG, UINT) override { throw CFileException(CFileException::badSeek); }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

private:
    int m_fd;
    ULONGLONG m_length = 0;
};

// The steps of a safe write around `write`, which fills the temporary file through its descriptor
// and returns CFileException::none or the cause of its failure.
bool WriteSafely(const CString& path, const std::function<int(int fd)>& write, CFileException* error) {
    HxIgnoreFileSizeSignal();
    auto fail = [&](int cause) {
        if (error) {
            error->m_cause = cause;
            error->m_strFileName = path;
        }
        return false;
    };
    QString name = path.ToQString();
    if (name.isEmpty())
        return fail(CFileException::fileNotFound);
    // A link is followed: the file it names takes the new content, the link stays.
    QFileInfo target(name);
    if (target.isSymLink()) {
        const QString resolved = target.canonicalFilePath();
        if (!resolved.isEmpty()) {
            name = resolved;
            target = QFileInfo(name);
        }
    }
    const QByteArray encoded = QFile::encodeName(name);
    struct stat old;
    const bool exists = ::stat(encoded.constData(), &old) == 0;
    // A pipe or a device in the file's place is not replaced by a file of ours, and a file the
    // user may not write (a read-only sample) is not replaced either.
    if (exists && !S_ISREG(old.st_mode))
        return fail(CFileException::invalidFile);
    if (exists && HxIsReadOnlyPath(name))
        return fail(CFileException::accessDenied);
    if (HxIsReadOnlyPath(target.absolutePath()))
        return fail(CFileException::accessDenied);

    // The temporary file has a short name of its own in the same folder (so that the move cannot
    // cross file systems), whatever the length of the document's name: a name near the file
    // system's limit would not take a suffix.
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    QByteArray temporary = folder + "/.hx-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(CauseOfErrno(errno));
    auto remove = [&] {
        ::close(fd);
        ::unlink(temporary.constData());
    };
    auto discard = [&](int errorNumber) {
        remove();
        return fail(CauseOfErrno(errorNumber));
    };
    int cause = CFileException::none;
    try {
        cause = write(fd);
    } catch (...) {
        remove();
        throw;
    }
    if (cause != CFileException::none) {
        remove();
        return fail(cause);
    }
    // Some file systems report a full disk only when the data reach it.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return discard(errno);
    // The new file keeps the old one's permissions, or gets those of any new file.
    if (::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode()) != 0)
        return discard(errno);
    if (::close(fd) != 0) {
        const int errorNumber = errno;
        ::unlink(temporary.constData());
        return fail(CauseOfErrno(errorNumber));
    }
    if (::rename(temporary.constData(), encoded.constData()) != 0) {
        const int errorNumber = errno;
        ::unlink(temporary.constData());
        return fail(CauseOfErrno(errorNumber));
    }
    // The move itself reaches the disk with the folder.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

} // namespace

bool HxWriteFileSafely(const CString& path, const void* data, size_t size, CFileException* error) {
    return WriteSafely(
        path,
        [&](int fd) {
            return WriteAll(fd, static_cast<const char*>(data), size) ? int(CFileException::none)
                                                                      : CauseOfErrno(errno);
        },
        error);
}

bool HxWriteFileSafely(const CString& path, const std::function<void(CFile&)>& write, CFileException* error) {
    return WriteSafely(
        path,
        [&](int fd) {
            CDescriptorFile file(fd);
            try {
                write(file);
            } catch (const CFileException& e) {
                return e.m_cause != CFileException::none ? e.m_cause : int(CFileException::genericException);
            }
            return int(CFileException::none);
        },
        error);
}
