#include "platform/system/SystemFileSystem.h"

#include "platform/system/SystemError.h"
#include "platform/system/SystemNative_linux.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

bool Fail(int nativeError)
{
    SetLastSystemError(nativeError);
    return false;
}

bool Encode(const QString &path, QByteArray &native)
{
    return systemnative::EncodePath(path, native) || Fail(EINVAL);
}

SystemEntryKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return SystemEntryKind::File;
    if (S_ISDIR(mode))
        return SystemEntryKind::Folder;
    return SystemEntryKind::Other;
}

// In UTC: a local-time value costs a time-zone lookup per file, paid only by the
// callers that show or format the time.
QDateTime UtcTime(const timespec &spec)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(spec.tv_sec) * 1000 + spec.tv_nsec / 1000000, Qt::UTC);
}

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};

} // namespace

bool SystemQueryPath(const QString &path, SystemFileStatus &status)
{
    status = SystemFileStatus();
    QByteArray native;
    if (!Encode(path, native))
        return false;
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        return Fail(errno);
    if (S_ISLNK(info.st_mode)) {
        status.isLink = true;
        if (::stat(native.constData(), &info) != 0)
            return Fail(errno);
    }
    status.kind = KindOf(info.st_mode);
    status.size = info.st_size;
    status.permissions = int(info.st_mode & 0777);
    status.lastWrite = UtcTime(info.st_mtim);
    return true;
}

bool SystemListFolder(const QString &folder, QList<SystemFolderEntry> &entries)
{
    entries.clear();
    QByteArray native;
    if (!Encode(folder, native))
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return Fail(error);
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return Fail(errno);
            return true;
        }
        const char *name = entry->d_name;
        if ((name[0] == '.' && name[1] == 0) || (name[0] == '.' && name[1] == '.' && name[2] == 0))
            continue;
        SystemFolderEntry item;
        item.name = systemnative::DecodeName(name);
        struct stat info {};
        if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone meanwhile
        if (S_ISLNK(info.st_mode)) {
            item.isLink = true;
            if (::fstatat(fd, name, &info, 0) == 0)
                item.kind = KindOf(info.st_mode);
            else
                item.kind = SystemEntryKind::Missing; // a dangling link
        } else {
            item.kind = KindOf(info.st_mode);
        }
        entries.append(item);
    }
}

bool SystemDeleteFile(const QString &path)
{
    QByteArray native;
    if (!Encode(path, native))
        return false;
    return ::unlink(native.constData()) == 0 || Fail(errno);
}

bool SystemRemoveFolder(const QString &path)
{
    QByteArray native;
    if (!Encode(path, native))
        return false;
    return ::rmdir(native.constData()) == 0 || Fail(errno);
}

bool SystemCreateFolder(const QString &path, int *errorCode)
{
    QByteArray native;
    int error = 0;
    if (!Encode(path, native))
        error = EINVAL;
    else if (::mkdir(native.constData(), 0777) != 0)
        error = errno;
    if (errorCode)
        *errorCode = systemnative::ErrorCodeFor(error, native);
    return error == 0 || Fail(error);
}

bool SystemRenamePath(const QString &oldPath, const QString &newPath)
{
    QByteArray from;
    QByteArray to;
    if (!Encode(oldPath, from) || !Encode(newPath, to))
        return false;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return Fail(errno);
    // A file system without the no-replace flag: check first, as well as it can be done.
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0)
        return Fail(EEXIST);
    return ::rename(from.constData(), to.constData()) == 0 || Fail(errno);
}

bool SystemReplaceFile(const QString &source, const QString &target)
{
    QByteArray from;
    QByteArray to;
    if (!Encode(source, from) || !Encode(target, to))
        return false;
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return Fail(EISDIR); // never put a file in a folder's place
    return ::rename(from.constData(), to.constData()) == 0 || Fail(errno);
}

bool SystemLinkFile(const QString &existing, const QString &newPath, int *errorCode)
{
    QByteArray from;
    QByteArray to;
    if (!Encode(existing, from) || !Encode(newPath, to))
        return false;
    struct stat info {};
    int error = 0;
    if (::lstat(from.constData(), &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    // link() does not follow a link at existing and never replaces newPath.
    else if (::link(from.constData(), to.constData()) != 0)
        error = errno;
    if (errorCode)
        *errorCode = error == 0 ? SystemErrorCode::Success : systemnative::ErrorCodeFor(error, to);
    return error == 0 || Fail(error);
}

bool SystemSyncFolder(const QString &folder)
{
    QByteArray native;
    if (!Encode(folder, native))
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    const bool synced = ::fsync(fd) == 0 || Fail(errno);
    ::close(fd);
    return synced;
}

bool SystemSetLastWriteTime(const QString &path, const QDateTime &time)
{
    QByteArray native;
    if (!Encode(path, native))
        return false;
    const qint64 ms = time.toMSecsSinceEpoch();
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
    times[1].tv_nsec = ((ms % 1000 + 1000) % 1000) * 1000000;
    return ::utimensat(AT_FDCWD, native.constData(), times, 0) == 0 || Fail(errno);
}

int SystemUtcOffsetAt(qint64 utcSeconds)
{
    // localtime_r, unlike Qt's local-time conversion, does not look at the time-zone
    // file again on every call.
    const time_t moment = time_t(utcSeconds);
    struct tm local {};
    if (!::localtime_r(&moment, &local))
        return 0;
    return int(local.tm_gmtoff);
}

QString SystemCurrentFolder()
{
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return systemnative::DecodeName(buffer.data());
        if (errno != ERANGE || buffer.size() > (size_t(1) << 20)) {
            Fail(errno);
            return QString();
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool SystemSetCurrentFolder(const QString &path)
{
    QByteArray native;
    if (!Encode(path, native))
        return false;
    return ::chdir(native.constData()) == 0 || Fail(errno);
}

QString SystemTempPath()
{
    QString path = QFile::decodeName(qgetenv("TMPDIR"));
    while (path.size() > 1 && (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'))))
        path.chop(1);
    if (path.isEmpty())
        path = QStringLiteral("/tmp");
    return path;
}

QString SystemFallbackFolder()
{
    return QStringLiteral("/var/tmp");
}

QString SystemCreateTempFolder(const QString &parent, const QString &prefix)
{
    QByteArray native;
    if (!Encode(parent + QLatin1Char('/') + prefix + QLatin1String("XXXXXX"), native))
        return QString();
    if (!::mkdtemp(native.data())) {
        Fail(errno);
        return QString();
    }
    return QFile::decodeName(native);
}

QStringList SystemEnvironmentEntries()
{
    QStringList entries;
    for (char **entry = environ; entry && *entry; ++entry)
        entries.append(QString::fromLocal8Bit(*entry));
    return entries;
}

QString SystemOwnProgramPath()
{
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) {
        Fail(errno);
        return QString();
    }
    QString path = QFile::decodeName(QByteArray(buffer.data(), n));
    // A program file replaced while it runs is reported with this suffix.
    const QLatin1String deleted(" (deleted)");
    if (path.endsWith(deleted))
        path.chop(deleted.size());
    return path;
}
