#pragma once

// "The other program" of the file-service tests: helper processes that hold a lock or
// keep a program file busy until the test lets them go.

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

namespace testprocesses {

// A helper started with arguments that prints one line when it is ready and runs until
// its standard input closes. The destructor closes the input and waits for its end.
class HeldProcess
{
public:
    HeldProcess(const QString &program, const QStringList &arguments, const QByteArray &readyLine)
    {
        m_process.start(program, arguments);
        if (!m_process.waitForStarted(10000)) {
            ADD_FAILURE() << "cannot start " << program.toStdString();
            return;
        }
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(10000);
        m_firstLine = m_process.readLine().trimmed();
        if (m_firstLine != readyLine)
            ADD_FAILURE() << program.toStdString() << " answered '" << m_firstLine.toStdString() << "'";
    }
    ~HeldProcess()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    HeldProcess(const HeldProcess &) = delete;
    HeldProcess &operator=(const HeldProcess &) = delete;

private:
    QProcess m_process;
    QByteArray m_firstLine;
};

// Another process holding a shared or exclusive lock on path.
inline std::unique_ptr<HeldProcess> HoldLock(const QString &path, bool shared)
{
    return std::make_unique<HeldProcess>(testsupport::HelperProgram(QStringLiteral("lock_holder")),
                                         QStringList{path, shared ? QStringLiteral("shared") : QStringLiteral("exclusive")},
                                         QByteArray("locked"));
}

// Copies the busy_program helper to path and runs that copy, so path is a running
// program's file.
inline std::unique_ptr<HeldProcess> RunProgramFrom(const QString &path)
{
    QFile::remove(path);
    if (!QFile::copy(testsupport::HelperProgram(QStringLiteral("busy_program")), path))
        ADD_FAILURE() << "cannot copy busy_program to " << path.toStdString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                              | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    return std::make_unique<HeldProcess>(path, QStringList(), QByteArray("ready"));
}

// Runs the file_services_runner helper as an unprivileged user (or directly when the
// tests do not run as root) and gives its answer line.
inline QByteArray RunUnprivileged(const QStringList &arguments)
{
    const QString runner = testsupport::HelperProgram(QStringLiteral("file_services_runner"));
    QByteArray output;
    if (testsupport::RunningAsRoot()) {
        if (testsupport::RunAsNobody(runner, arguments, 60000, &output) != 0)
            return QByteArray("<runner failed: ") + output + ">";
    } else {
        QProcess process;
        process.start(runner, arguments);
        process.waitForFinished(60000);
        output = process.readAllStandardOutput();
    }
    return output.trimmed();
}

} // namespace testprocesses
