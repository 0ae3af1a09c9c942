#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// A fresh temporary folder per test; removed with everything in it at the end.
class TempFolder
{
public:
    TempFolder();
    QString Path() const { return m_dir.path(); }
    QString File(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }

private:
    QTemporaryDir m_dir;
};

// Sets (or with a null value, removes) an environment variable for the guard's life.
class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value);
    ~EnvGuard();
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    QByteArray m_name;
    QByteArray m_old;
    bool m_hadValue;
};

// Writes bytes to a file, creating its folders. Fails the test on error.
void WriteBytes(const QString &path, const QByteArray &bytes);
QByteArray ReadBytes(const QString &path);

// The UTF-16 code units of text as bytes, without a byte-order mark.
QByteArray Utf16(const QString &text, bool bigEndian);

// Path of a test helper program built from tests/helpers/<name>.cpp.
QString HelperProgram(const QString &name);

// True when the tests run as root (then an ordinary user is needed for some cases).
bool RunningAsRoot();

// Runs a program as the unprivileged user 65534 through setpriv; returns its exit code,
// or -1 when it could not be started. Only meaningful when RunningAsRoot(). A program
// given by path runs as a copy in a world-readable temporary folder, so it must not
// depend on files beside it.
int RunAsNobody(const QString &program, const QStringList &arguments, int timeoutMs = 60000,
                QByteArray *output = nullptr);

} // namespace testsupport
