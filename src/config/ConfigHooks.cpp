#include "config/ConfigHooks.h"

#include <QDateTime>
#include <QDebug>

namespace {

void LogParseErrors(const QStringList &lines)
{
    for (const QString &line : lines)
        qWarning().noquote() << line;
}

void LogMessage(ConfigMessageKind, const QString &text)
{
    qWarning().noquote() << text;
}

qint64 SystemClock()
{
    return QDateTime::currentMSecsSinceEpoch();
}

ConfigParseErrorHook g_parseErrorHook = &LogParseErrors;
ConfigMessageHook g_messageHook = &LogMessage;
ConfigClock g_clock = &SystemClock;

} // namespace

void SetConfigParseErrorHook(ConfigParseErrorHook hook)
{
    g_parseErrorHook = hook ? hook : &LogParseErrors;
}

void ShowConfigParseErrors(const QStringList &lines)
{
    g_parseErrorHook(lines);
}

void SetConfigMessageHook(ConfigMessageHook hook)
{
    g_messageHook = hook ? hook : &LogMessage;
}

void ShowConfigMessage(ConfigMessageKind kind, const QString &text)
{
    g_messageHook(kind, text);
}

void SetConfigClock(ConfigClock clock)
{
    g_clock = clock ? clock : &SystemClock;
}

qint64 ConfigClockNow()
{
    return g_clock();
}
