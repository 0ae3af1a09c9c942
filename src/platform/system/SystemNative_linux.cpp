#include "platform/system/SystemNative_linux.h"

#include "platform/system/SystemError.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace systemnative {

bool EncodePath(const QString &path, QByteArray &native)
{
    native.clear();
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    native = QFile::encodeName(slashed);
    return !native.isEmpty();
}

QString DecodeName(const char *name)
{
    return QFile::decodeName(QByteArray(name));
}

namespace {

bool ParentFolderExists(const QByteArray &nativePath)
{
    QByteArray parent = nativePath;
    while (parent.size() > 1 && parent.endsWith('/'))
        parent.chop(1);
    const qsizetype slash = parent.lastIndexOf('/');
    if (slash < 0)
        parent = ".";
    else if (slash == 0)
        parent = "/";
    else
        parent.truncate(slash);
    struct stat info {};
    return ::stat(parent.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

int ErrorCodeFor(int nativeError, const QByteArray &nativePath)
{
    switch (nativeError) {
    case 0:
        return SystemErrorCode::Success;
    case ENOENT:
        return ParentFolderExists(nativePath) ? SystemErrorCode::FileNotFound : SystemErrorCode::PathNotFound;
    case ENOTDIR:
        return SystemErrorCode::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return SystemErrorCode::AccessDenied;
    case ETXTBSY:
    case EWOULDBLOCK:
        return SystemErrorCode::SharingViolation;
    case EEXIST:
        return SystemErrorCode::FileExists;
    case ENOTEMPTY:
        return SystemErrorCode::FolderNotEmpty;
    case ENAMETOOLONG:
        return SystemErrorCode::FilenameTooLong;
    case ELOOP:
        return SystemErrorCode::CannotResolveName;
    case ENOSPC:
    case EDQUOT:
        return SystemErrorCode::DiskFull;
    case EMFILE:
    case ENFILE:
        return SystemErrorCode::TooManyOpenFiles;
    case EINVAL:
        return SystemErrorCode::InvalidName;
    case EXDEV:
        return SystemErrorCode::NotSameDevice;
    default:
        return SystemErrorCode::GeneralFailure;
    }
}

} // namespace systemnative
