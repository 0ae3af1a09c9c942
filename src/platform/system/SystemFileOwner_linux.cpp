#include "platform/system/SystemFileOwner.h"

#include "platform/system/SystemError.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool SystemCopyOwnerAndMode(const QString &path, int handle)
{
    const QByteArray native = QFile::encodeName(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    struct stat old {};
    if (::stat(native.constData(), &old) != 0)
        return errno == ENOENT;
    // Owner first: a change of owner may clear set-id bits that the mode then restores.
    if (::fchown(handle, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
        SetLastSystemError(errno);
        return false;
    }
    if (::fchmod(handle, old.st_mode & 07777) != 0) {
        SetLastSystemError(errno);
        return false;
    }
    return true;
}
