// Pieces of a test run in a child process, under conditions the test program should not live with:
// a file-size limit, a small file system that is full, an open that might block.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <functional>

#include <fcntl.h>
#include <malloc.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// What a child returns when it could not make its file system: the test is skipped.
constexpr int kNoFileSystem = 77;

// What a child returns when an exception left its body.
constexpr int kChildThrew = 126;

// Runs `body` in a child and returns what it returned (0 to 125), kChildThrew when an exception left
// it (the child never goes back into the test program, whose other tests would then run in it), or
// -1 when the child was killed (a signal, or the alarm after `seconds`: an open that blocks).  With
// fileSizeLimit >= 0 the child may write no file larger than that many bytes.
inline int HxRunInChild(const std::function<int()>& body, long fileSizeLimit = -1, unsigned seconds = 20) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(seconds);
        if (fileSizeLimit >= 0) {
            rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        int result = kChildThrew;
        try {
            result = body();
        } catch (...) {
        }
        _exit(result);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The address space the calling process maps now, in bytes.
inline long long HxMappedBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    long long pages = 0;
    if (statm.open(QIODevice::ReadOnly))
        pages = statm.readAll().split(' ').value(0).toLongLong();
    return pages * sysconf(_SC_PAGESIZE);
}

// Caps the address space of the calling process (a child) so that it can take `bytes` more: a read
// without end then fails soon instead of taking the machine's memory.  What the test program freed
// before the fork stays mapped in its heap, where the child could take it without mapping more: with
// the address space held where it is, the heap's free blocks are taken first (and kept, as the child
// ends soon), so that only the room given is left.
inline void HxCapChildMemory(long long bytes) {
    rlimit before{};
    getrlimit(RLIMIT_AS, &before);
    // Large blocks mapped on their own, whatever the program freed before (which raises glibc's
    // threshold): what the child frees of them is room again at once.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    malloc_trim(0);
    const rlimit hold{rlim_t(HxMappedBytes()), before.rlim_max};
    setrlimit(RLIMIT_AS, &hold);
    // (Kept through a volatile pointer, or the compiler may leave out allocations it sees unused.)
    for (size_t block = size_t(64) << 20; block >= 4096; block /= 2)
        while (void* volatile taken = malloc(block))
            (void)taken;
    setrlimit(RLIMIT_AS, &before);
    const rlim_t cap = rlim_t(HxMappedBytes() + bytes);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
}

// Mounts a tmpfs of `kibibytes` at `folder` (an existing folder) in a mount namespace of the
// calling process only.  False when this machine does not allow it.
inline bool HxMountSmallFileSystem(const QString& folder, int kibibytes) {
    if (unshare(CLONE_NEWNS) != 0) {
        // Without the right to make one, a user namespace of our own may give it.
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        auto write = [](const char* path, const QByteArray& text) {
            QFile f(QString::fromLatin1(path));
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        write("/proc/self/setgroups", "deny");
        if (!write("/proc/self/uid_map", QByteArray::number(uid) + " " + QByteArray::number(uid) + " 1") ||
            !write("/proc/self/gid_map", QByteArray::number(gid) + " " + QByteArray::number(gid) + " 1"))
            return false;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    return mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
}

// Fills the file system holding `folder` to the last byte with a file of its own.
inline void HxFillFileSystem(const QString& folder) {
    QFile filler(QDir(folder).filePath(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
}
