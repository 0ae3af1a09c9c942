#pragma once

#include <QString>
#include <QStringList>

// Hands files that cannot be deleted now (a running program among them) to a small
// /bin/sh script in the temporary folder, started detached: it deletes each file as
// soon as it can, pausing briefly between rounds and giving up after about ten minutes,
// then removes folder when it has become empty and deletes itself. Every path reaches
// the script as a single-quoted literal, so no name is ever read as shell syntax.
// Relative paths are taken from the current folder. False when the script could not be
// written or started (nothing is raised).
bool DeleteFilesLater(const QString &folder, const QStringList &files);

// The script text for the given (absolute) paths: exposed so that its quoting can be
// checked without running it.
QByteArray DeleteFilesLaterScript(const QString &folder, const QStringList &files, const QString &scriptPath);
