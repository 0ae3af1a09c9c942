#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QDateTime>

#include "common/HVException.h"
#include "config/ConfigHooks.h"
#include "support/TestSupport.h"

#include <functional>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Shared pieces of the configuration store tests.
namespace configtest {

// The message of the HVException that action raises; empty when it raises none.
inline QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const HVException &e) {
        return e.WideMessage();
    }
    return QString();
}

// True when the real xmllint accepts the file; the message goes to *output.
bool XmllintAccepts(const QString &path, QString *output = nullptr);

// A second process holding the file with a shared or exclusive lock for holdMs.
// Start() returns once the lock is held.
class LockHolder
{
public:
    // marker: a file the holder creates just before it lets go (optional).
    LockHolder(const QString &path, bool exclusive, int holdMs, const QString &marker = QString());
    ~LockHolder();
    bool Started() const { return m_started; }
    bool WaitFinished(int ms) { return m_process.waitForFinished(ms); }

private:
    QProcess m_process;
    bool m_started = false;
};

// Replaces the clock of the refresh rule for the guard's life.
class ClockGuard
{
public:
    ClockGuard();
    ~ClockGuard();
    static void Set(qint64 ms);
    static void Advance(qint64 ms);
};

// Records parse errors and messages of the store while alive.
class HookRecorder
{
public:
    HookRecorder();
    ~HookRecorder();
    static inline QStringList errorLines;
    static inline QStringList messages;
};



inline bool XmllintAccepts(const QString &path, QString *output)
{
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
    if (!lint.waitForFinished(60000))
        return false;
    if (output)
        *output = QString::fromLocal8Bit(lint.readAllStandardError());
    return lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0;
}

inline LockHolder::LockHolder(const QString &path, bool exclusive, int holdMs, const QString &marker)
{
    QStringList args{path, exclusive ? QStringLiteral("exclusive") : QStringLiteral("shared"), QString::number(holdMs)};
    if (!marker.isEmpty())
        args.append(marker);
    m_process.start(testsupport::HelperProgram(QStringLiteral("config_lock_holder")), args);
    m_started = m_process.waitForReadyRead(10000) && m_process.readLine().startsWith("locked");
}

inline LockHolder::~LockHolder()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

inline qint64 g_now = 0;
inline qint64 FakeClock() { return g_now; }

inline ClockGuard::ClockGuard()
{
    g_now = QDateTime::currentMSecsSinceEpoch();
    SetConfigClock(&FakeClock);
}

inline ClockGuard::~ClockGuard()
{
    SetConfigClock(nullptr);
}

inline void ClockGuard::Set(qint64 ms)
{
    g_now = ms;
}

inline void ClockGuard::Advance(qint64 ms)
{
    g_now += ms;
}


inline HookRecorder::HookRecorder()
{
    errorLines.clear();
    messages.clear();
    SetConfigParseErrorHook([](const QStringList &lines) { errorLines = lines; });
    SetConfigMessageHook([](ConfigMessageKind, const QString &text) { messages.append(text); });
}

inline HookRecorder::~HookRecorder()
{
    SetConfigParseErrorHook(nullptr);
    SetConfigMessageHook(nullptr);
}

} // namespace configtest
