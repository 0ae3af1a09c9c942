#include "platform/system/SystemReplaceFile.h"

#include "platform/system/SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Fail(QString *error, const QString &step, int nativeError)
{
    SetLastSystemError(nativeError);
    if (error)
        *error = step + QStringLiteral(": ") + SystemErrorMessage(nativeError);
    return false;
}

bool WriteAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(qMin<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

bool SystemReplaceFileContent(const QString &target, const char *data, qint64 size, QString *error)
{
    const QString slashed = QString(target).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo info(slashed);
    const QString folder = info.absolutePath();
    const QByteArray folderBytes = QFile::encodeName(folder);
    const QByteArray targetBytes = QFile::encodeName(info.absoluteFilePath());

    // A name of our own beside the target, created exclusively and never through a link.
    int fd = -1;
    QByteArray tempBytes;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempBytes = QFile::encodeName(folder + QStringLiteral("/.") + info.fileName() +
                                      QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::open(tempBytes.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Fail(error, QStringLiteral("create ") + QFile::decodeName(tempBytes), errno);
    }
    if (fd < 0)
        return Fail(error, QStringLiteral("create temporary file in ") + folder, EEXIST);

    auto abandon = [&](const QString &step) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tempBytes.constData());
        return Fail(error, step, saved);
    };
    if (!WriteAll(fd, data, size))
        return abandon(QStringLiteral("write ") + QFile::decodeName(tempBytes));
    struct stat old {};
    if (::stat(targetBytes.constData(), &old) == 0) {
        // Owner first: changing it may clear set-id bits that the mode then restores.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            return abandon(QStringLiteral("chown ") + QFile::decodeName(tempBytes));
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return abandon(QStringLiteral("chmod ") + QFile::decodeName(tempBytes));
    }
    if (::fsync(fd) != 0)
        return abandon(QStringLiteral("fsync ") + QFile::decodeName(tempBytes));
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(tempBytes.constData());
        return Fail(error, QStringLiteral("close ") + QFile::decodeName(tempBytes), saved);
    }
    if (std::rename(tempBytes.constData(), targetBytes.constData()) != 0) {
        const int saved = errno;
        ::unlink(tempBytes.constData());
        return Fail(error, QStringLiteral("rename to ") + slashed, saved);
    }
    // The rename itself reaches the disk with the folder's entry.
    const int dirFd = ::open(folderBytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
