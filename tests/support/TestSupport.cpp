#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace testsupport {

TempFolder::TempFolder()
{
    if (!m_dir.isValid())
        ADD_FAILURE() << "cannot create a temporary folder";
}

EnvGuard::EnvGuard(const char *name, const QByteArray &value)
    : m_name(name), m_old(qgetenv(name)), m_hadValue(qEnvironmentVariableIsSet(name))
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

EnvGuard::~EnvGuard()
{
    if (m_hadValue)
        qputenv(m_name.constData(), m_old);
    else
        qunsetenv(m_name.constData());
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QByteArray Utf16(const QString &text, bool bigEndian)
{
    QByteArray out;
    for (const QChar ch : text) {
        const char hi = char(ch.unicode() >> 8), lo = char(ch.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo);
        out.append(bigEndian ? lo : hi);
    }
    return out;
}

QString HelperProgram(const QString &name)
{
    return QStringLiteral(QX_TEST_HELPER_DIR) + QLatin1Char('/') + name;
}

bool RunningAsRoot()
{
    return geteuid() == 0;
}

int RunAsNobody(const QString &program, const QStringList &arguments, int timeoutMs, QByteArray *output)
{
    // The build folder may sit below a folder that only root can enter (a clone in
    // /root, say), so the unprivileged user runs a copy from a world-readable folder.
    // A program given by bare name (found on PATH) is run as it is.
    QTemporaryDir copyFolder(QDir::tempPath() + QStringLiteral("/qx-nobody-XXXXXX"));
    QString runnable = program;
    if (program.contains(QLatin1Char('/'))) {
        if (!copyFolder.isValid())
            return -1;
        QFile::setPermissions(copyFolder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                     | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                     | QFile::ExeOther);
        runnable = copyFolder.path() + QLatin1Char('/') + QFileInfo(program).fileName();
        if (!QFile::copy(program, runnable))
            return -1;
        QFile::setPermissions(runnable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    QProcess process;
    QStringList args{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"), runnable};
    args += arguments;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("setpriv"), args);
    if (!process.waitForStarted(10000))
        return -1;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace testsupport
