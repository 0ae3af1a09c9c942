#pragma once

#include <QString>
#include <QStringList>

// Starts program in a new session with the given arguments (each passed exactly as it
// stands, never through a shell) and does not wait for it. The program's standard
// input and outputs are /dev/null; it inherits no other open files. workingFolder
// (when not empty) becomes its current folder. A program given without a folder is
// searched on PATH; a relative path is taken from the current folder of the caller.
// The result says whether the program was started (it ran exec). The started program
// is not a child of the caller, so no zombie remains when it ends.
bool StartDetachedProgram(const QString &program, const QStringList &arguments,
                          const QString &workingFolder = QString());
