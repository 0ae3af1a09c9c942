#include "platform/system/SystemProcess.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::HelperProgram;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

QByteArray WaitForFile(const QString &path)
{
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QThread::msleep(10);
    return ReadBytes(path);
}

} // namespace

TEST(SystemProcess, StartsDetachedWithExactArgumentsInTheWorkingFolder)
{
    TempFolder temp;
    const QString report = temp.File("report.txt");
    // A descriptor without close-on-exec, as a careless caller might leak one.
    const int leaked = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaked, 0);
    const QStringList hostile{QStringLiteral("two words"), QStringLiteral("it's"), QStringLiteral("$(touch pwned)"),
                              QStringLiteral("`touch pwned`"), QStringLiteral("line\nbreak"), QStringLiteral("\"q\"")};
    ASSERT_TRUE(StartDetachedProgram(HelperProgram(QStringLiteral("detached_reporter")), QStringList{report} + hostile,
                                     temp.Path()));
    ::close(leaked);

    const QByteArray text = WaitForFile(report);
    QByteArray expectedArgs;
    for (const QString &argument : hostile)
        expectedArgs += argument.toUtf8() + '\0';
    EXPECT_TRUE(text.contains("args=" + expectedArgs + "\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("cwd=" + temp.Path().toUtf8() + "\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("session=" + QByteArray::number(::getsid(0)) + "\n")) << "a session of its own";
    EXPECT_TRUE(text.contains("session=")) << text.toStdString();
    EXPECT_TRUE(text.contains("fds=\n")) << "inherited descriptors: " << text.toStdString();
    EXPECT_FALSE(QFile::exists(temp.File("pwned")));

    // The intermediate process was reaped and the program is not our child.
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(SystemProcess, ReportsWhatCannotStart)
{
    TempFolder temp;
    testsupport::WriteBytes(temp.File("not-executable"), "#!/bin/sh\n");
    EXPECT_FALSE(StartDetachedProgram(temp.File("missing-program"), {}));
    EXPECT_FALSE(StartDetachedProgram(temp.File("not-executable"), {}));
    EXPECT_FALSE(StartDetachedProgram(QString(), {}));
    EXPECT_FALSE(StartDetachedProgram(QStringLiteral("no-such-program-on-path-qx"), {}));
    EXPECT_FALSE(StartDetachedProgram(QStringLiteral("/bin/true"), {}, temp.File("missing-folder")));
    EXPECT_FALSE(StartDetachedProgram(QStringLiteral("/bin/true"), {QStringLiteral("a") + QChar(0)}));
    EXPECT_TRUE(StartDetachedProgram(QStringLiteral("true"), {})) << "a bare name is searched on PATH";
}
