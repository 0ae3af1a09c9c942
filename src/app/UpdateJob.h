#pragma once

#include <QString>
#include <QStringList>

struct UpdateState;

// The job file: with at least two command-line arguments (after the program name) the
// first one; otherwise "qx_update.ini" in the updater's own folder. A single argument
// is therefore ignored.
QString JobFilePath(const QStringList &arguments, const QString &ownFolder);

// Reads section "COMMON" of the job file in its fixed order (ORGEXECAPTION, ORGEXE,
// ORGPARAM, USEHVK, LANGUAGE, PROGID, UPDATENR) into the state, setting the language
// right after LANGUAGE. Returns ORGEXECAPTION. A missing file gives the defaults; a file
// that cannot be read raises HVException.
QString ReadUpdateJob(const QString &jobFile, UpdateState &state);
