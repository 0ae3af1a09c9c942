#include "platform/system/SystemFile.h"

#include "platform/system/SystemError.h"
#include "platform/system/SystemNative_linux.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A save that replaces the file by a rename between our open and our lock makes us
// start over; a path that keeps changing this often is treated as busy.
constexpr int kMaxOpenAttempts = 20;

// Upper bound of one in-kernel copy request; the kernel copies it in one piece where
// the file system can (reflink or server-side copy), else in its own chunks.
constexpr size_t kKernelCopyChunk = size_t(1) << 30;

int OpenFlags(SystemFile::Mode mode)
{
    // O_NONBLOCK keeps an open of a pipe from hanging; it is cleared again once the
    // file is known to be a regular file.
    const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (mode) {
    case SystemFile::Mode::Read:
        return common | O_RDONLY;
    case SystemFile::Mode::Write:
        return common | O_WRONLY;
    case SystemFile::Mode::ReadWrite:
        return common | O_RDWR;
    case SystemFile::Mode::CreateTruncate:
    case SystemFile::Mode::OpenOrCreate:
        // Truncation waits until the lock is held: emptying a file that another
        // process holds open would destroy its data.
        return common | O_RDWR | O_CREAT;
    case SystemFile::Mode::CreateNew:
        return common | O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
    }
    return common | O_RDONLY;
}

int RetryOpen(const char *path, int flags, int permissions)
{
    int fd;
    do {
        fd = ::open(path, flags, permissions);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// 0 when the lock is held (or the file system has no locks), else the errno.
int TryLock(int fd, int operation)
{
    int result;
    do {
        result = ::flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return 0;
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL)
        return 0; // a file system without flock: sharing cannot be enforced there
    return errno;
}

// Whether path still names the open file; *size receives the file's size.
bool SamePathAndFile(const char *path, int fd, off_t *size)
{
    struct stat byPath {};
    struct stat byHandle {};
    if (::stat(path, &byPath) != 0 || ::fstat(fd, &byHandle) != 0)
        return false;
    *size = byHandle.st_size;
    return byPath.st_dev == byHandle.st_dev && byPath.st_ino == byHandle.st_ino;
}

timespec ToTimespec(const QDateTime &time)
{
    const qint64 ms = time.toMSecsSinceEpoch();
    timespec spec {};
    spec.tv_sec = ms / 1000;
    spec.tv_nsec = (ms % 1000) * 1000000;
    if (spec.tv_nsec < 0) {
        spec.tv_sec -= 1;
        spec.tv_nsec += 1000000000;
    }
    return spec;
}

} // namespace

SystemFile::~SystemFile()
{
    Close();
}

SystemFile::SystemFile(SystemFile &&other) noexcept
    : m_fd(other.m_fd), m_lastError(other.m_lastError), m_path(std::move(other.m_path))
{
    other.m_fd = -1;
}

SystemFile &SystemFile::operator=(SystemFile &&other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        m_lastError = other.m_lastError;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

bool SystemFile::Fail(int nativeError)
{
    QByteArray native;
    systemnative::EncodePath(m_path, native);
    SetLastSystemError(nativeError);
    m_lastError = systemnative::ErrorCodeFor(nativeError, native);
    return false;
}

bool SystemFile::Open(const QString &path, Mode mode, int *errorCode, Locking locking, int createPermissions)
{
    Close();
    m_path = path;
    m_lastError = 0;
    const bool ok = [&] {
        QByteArray native;
        if (!systemnative::EncodePath(path, native))
            return Fail(EINVAL);
        const int flags = OpenFlags(mode);
        const int lockOperation = mode == Mode::Read ? LOCK_SH : LOCK_EX;
        for (int attempt = 0; attempt < kMaxOpenAttempts; ++attempt) {
            const int fd = RetryOpen(native.constData(), flags, createPermissions);
            if (fd < 0)
                return Fail(errno);
            struct stat info {};
            if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
                const int error = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
                ::close(fd);
                return Fail(error);
            }
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            off_t size = info.st_size;
            if (locking == Locking::ByAccess) {
                if (const int error = TryLock(fd, lockOperation)) {
                    ::close(fd);
                    return Fail(error);
                }
                if (!SamePathAndFile(native.constData(), fd, &size)) {
                    ::close(fd); // replaced meanwhile: lock the file the path names now
                    continue;
                }
            }
            // An empty file is not truncated: on ext4 a truncation to zero makes the
            // close start write-back at once, which costs a new file's copy dearly.
            if (mode == Mode::CreateTruncate && size > 0 && ::ftruncate(fd, 0) != 0) {
                const int error = errno;
                ::close(fd);
                return Fail(error);
            }
            m_fd = fd;
            return true;
        }
        return Fail(EWOULDBLOCK);
    }();
    if (errorCode)
        *errorCode = m_lastError;
    return ok;
}

void SystemFile::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd); // releases the flock with the last descriptor of this open
        m_fd = -1;
    }
}

qint64 SystemFile::Read(char *data, qint64 size)
{
    if (m_fd < 0) {
        Fail(EBADF);
        return -1;
    }
    qint64 total = 0;
    while (total < size) {
        const ssize_t n = ::read(m_fd, data + total, size_t(size - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
            return -1;
        }
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

bool SystemFile::Write(const char *data, qint64 size)
{
    if (m_fd < 0)
        return Fail(EBADF);
    qint64 total = 0;
    while (total < size) {
        const ssize_t n = ::write(m_fd, data + total, size_t(size - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        if (n == 0)
            return Fail(ENOSPC);
        total += n;
    }
    return true;
}

bool SystemFile::ReadAll(QByteArray &bytes)
{
    bytes.clear();
    constexpr qint64 kBlock = 65536;
    for (;;) {
        const qsizetype old = bytes.size();
        bytes.resize(old + kBlock);
        const qint64 n = Read(bytes.data() + old, kBlock);
        if (n < 0) {
            bytes.clear();
            return false;
        }
        bytes.resize(old + n);
        if (n < kBlock)
            return true;
    }
}

qint64 SystemFile::Size() const
{
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return -1;
    return info.st_size;
}

bool SystemFile::Seek(qint64 position)
{
    if (m_fd < 0)
        return Fail(EBADF);
    return ::lseek(m_fd, off_t(position), SEEK_SET) >= 0 || Fail(errno);
}

bool SystemFile::SeekToEnd()
{
    if (m_fd < 0)
        return Fail(EBADF);
    return ::lseek(m_fd, 0, SEEK_END) >= 0 || Fail(errno);
}

bool SystemFile::Resize(qint64 size)
{
    if (m_fd < 0)
        return Fail(EBADF);
    return ::ftruncate(m_fd, off_t(size)) == 0 || Fail(errno);
}

bool SystemFile::Sync()
{
    if (m_fd < 0)
        return Fail(EBADF);
    return ::fsync(m_fd) == 0 || Fail(errno);
}

bool SystemFile::SetLastWriteTime(const QDateTime &time)
{
    if (m_fd < 0)
        return Fail(EBADF);
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT; // only the last-write time changes
    times[1] = ToTimespec(time);
    return ::futimens(m_fd, times) == 0 || Fail(errno);
}

bool SystemFile::GetLastWriteTime(QDateTime &time) const
{
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return false;
    time = QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000, Qt::UTC);
    return true;
}

bool SystemFile::CopyFrom(SystemFile &source, qint64 blockSize, bool *readFailed)
{
    auto failed = [&](bool onRead) {
        if (readFailed)
            *readFailed = onRead;
        return false;
    };
    if (m_fd < 0) {
        Fail(EBADF);
        return failed(false);
    }
    if (source.m_fd < 0) {
        source.Fail(EBADF);
        return failed(true);
    }

    // First let the kernel copy without passing the data through user space. Any
    // failure there (file systems that cannot, cross-device copies on old kernels,
    // I/O errors) hands over to plain reads and writes from the offsets reached,
    // which also tell a read error from a write error.
    for (;;) {
        const ssize_t n = ::copy_file_range(source.m_fd, nullptr, m_fd, nullptr, kKernelCopyChunk, 0);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) {
            // Some file systems answer 0 before the end; only trust it at the end.
            const off_t position = ::lseek(source.m_fd, 0, SEEK_CUR);
            if (position >= 0 && position >= source.Size())
                return true;
        }
        break;
    }

    const qint64 block = std::max<qint64>(blockSize, 4096);
    std::vector<char> buffer(static_cast<size_t>(block));
    for (;;) {
        const qint64 n = source.Read(buffer.data(), block);
        if (n < 0)
            return failed(true);
        if (n > 0 && !Write(buffer.data(), n))
            return failed(false);
        if (n < block)
            return true;
    }
}
