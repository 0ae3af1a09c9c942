#include "platform/system/ProcessList.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

namespace {

bool ParseProcessId(const char *text, int32_t &pid)
{
    if (*text == '\0')
        return false;
    long value = 0;
    for (const char *c = text; *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + (*c - '0');
        if (value > INT32_MAX)
            return false;
    }
    pid = int32_t(value);
    return true;
}

// The bare file name of /proc/<pid>/exe. Kernel threads have no program, and the program
// of another user's process cannot be read without privileges: both give an empty name.
QString ProgramNameOf(const char *pidText)
{
    char linkPath[64];
    snprintf(linkPath, sizeof linkPath, "/proc/%s/exe", pidText);
    char target[PATH_MAX];
    const ssize_t length = readlink(linkPath, target, sizeof target - 1);
    if (length <= 0)
        return QString();
    QByteArray path(target, length);
    // A program file deleted while it runs (an update replaced it) reads "<path> (deleted)".
    static const QByteArray deletedMark(" (deleted)");
    if (path.endsWith(deletedMark))
        path.chop(deletedMark.size());
    const qsizetype cut = path.lastIndexOf('/');
    return QFile::decodeName(cut < 0 ? path : path.mid(cut + 1));
}

} // namespace

QList<ProcessEntry> TakeProcessSnapshot()
{
    QList<ProcessEntry> snapshot;
    DIR *proc = opendir("/proc");
    if (!proc)
        return snapshot;
    while (const dirent *entry = readdir(proc)) {
        int32_t pid = 0;
        if (!ParseProcessId(entry->d_name, pid))
            continue;
        const QString name = ProgramNameOf(entry->d_name);
        if (!name.isEmpty())
            snapshot.append(ProcessEntry{pid, name});
    }
    closedir(proc);
    return snapshot;
}

bool IsProcessAlive(int32_t processId)
{
    if (processId <= 0)
        return false;
    // EPERM: the process exists but belongs to someone else.
    return kill(processId, 0) == 0 || errno == EPERM;
}
