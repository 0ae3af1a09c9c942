#include "platform/system/SystemProcess.h"

#include "platform/system/SystemError.h"
#include "platform/system/SystemNative_linux.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

QString ResolveProgram(const QString &program)
{
    QString slashed = program;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!slashed.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(slashed);
    return QFileInfo(slashed).absoluteFilePath();
}

// Everything below runs between fork and exec of a process that may have had other
// threads: only async-signal-safe calls.
[[noreturn]] void RunGrandchild(const char *program, char *const *argv, const char *folder, int reportFd)
{
    int error = 0;
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP)
            ::signal(signal, SIG_DFL);
    }
    if (folder && ::chdir(folder) != 0)
        error = errno;
    if (error == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
            if (null > 2)
                ::close(null);
        }
        // Descriptors the caller let leak (pipes of a test runner, locked files) must
        // not stay open for the detached program's whole life.
        ::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
        ::execve(program, argv, environ);
        error = errno;
    }
    ssize_t ignored = ::write(reportFd, &error, sizeof error);
    (void)ignored;
    ::_exit(127);
}

} // namespace

bool StartDetachedProgram(const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    const QString resolved = ResolveProgram(program);
    QByteArray nativeProgram;
    if (resolved.isEmpty() || !systemnative::EncodePath(resolved, nativeProgram)) {
        SetLastSystemError(ENOENT);
        return false;
    }
    QByteArray nativeFolder;
    if (!workingFolder.isEmpty() && !systemnative::EncodePath(workingFolder, nativeFolder)) {
        SetLastSystemError(EINVAL);
        return false;
    }

    // Everything the child needs is prepared before fork.
    std::vector<QByteArray> argumentBytes;
    argumentBytes.push_back(nativeProgram);
    for (const QString &argument : arguments) {
        if (argument.contains(QChar(0))) {
            SetLastSystemError(EINVAL);
            return false;
        }
        argumentBytes.push_back(argument.toLocal8Bit());
    }
    std::vector<char *> argv;
    for (QByteArray &bytes : argumentBytes)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        SetLastSystemError(errno);
        return false;
    }

    // Double fork: the intermediate child starts the new session and the program, then
    // ends at once; we reap it here, and the program is adopted by init.
    const pid_t child = ::fork();
    if (child < 0) {
        SetLastSystemError(errno);
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            RunGrandchild(nativeProgram.constData(), argv.data(),
                          nativeFolder.isEmpty() ? nullptr : nativeFolder.constData(), report[1]);
        if (grandchild < 0) {
            const int error = errno;
            ssize_t ignored = ::write(report[1], &error, sizeof error);
            (void)ignored;
        }
        ::_exit(0);
    }

    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes when exec succeeds (close-on-exec) or after an error was written.
    int error = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (n == ssize_t(sizeof error)) {
        SetLastSystemError(error);
        return false;
    }
    return true;
}
