#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Points where the configuration store meets parts that sit above it: the window that
// shows parse errors, the message dialogs, and the clock that the refresh rule reads.
// Each has a plain default so the store works headless; the user interface replaces them.

// Parse errors of a document (the error lines, the file name as last line). The error
// details window installs itself here; the default writes the lines to the Qt log.
using ConfigParseErrorHook = void (*)(const QStringList &lines);
void SetConfigParseErrorHook(ConfigParseErrorHook hook);
void ShowConfigParseErrors(const QStringList &lines);

// Short messages of the store ("Entry cannot be added.", "Nothing to delete", the
// read-only warning). The message dialogs install themselves here.
enum class ConfigMessageKind { Information, Warning, Error };
using ConfigMessageHook = void (*)(ConfigMessageKind kind, const QString &text);
void SetConfigMessageHook(ConfigMessageHook hook);
void ShowConfigMessage(ConfigMessageKind kind, const QString &text);

// Milliseconds since the epoch; the refresh rule of documents reads this clock.
// Tests replace it to step over the refresh interval without waiting.
using ConfigClock = qint64 (*)();
void SetConfigClock(ConfigClock clock);
qint64 ConfigClockNow();
