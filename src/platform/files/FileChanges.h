#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// File-system changes.

// Creates every missing folder of path from the root down; true when the folder exists
// afterwards. Raises HVException "Verzeichnis kann nicht erstellt werden" for an empty
// path.
bool ForceFolders(const QString &path);

bool DeleteFile(const QString &path);   // one file (or link); never a folder
bool RemoveFolder(const QString &path); // an empty folder
// Moves or renames; fails (replacing nothing) when newPath exists.
bool RenameFile(const QString &oldPath, const QString &newPath);

QString GetCurrentFolder();             // empty on failure
bool SetCurrentFolder(const QString &path);

// The time as the DOS date-and-time format keeps it: whole seconds, the local time's
// seconds rounded down to an even number (the result is that moment, given in UTC).
// Times outside the format's years 1980-2107 keep their whole seconds.
QDateTime RoundToDosTime(const QDateTime &time);

// Copies source onto target (into it, when target is an existing folder), creating the
// target's folders, replacing an existing file. The target gets the source's last-write
// time rounded by RoundToDosTime; a new target gets the source's permission bits.
// Raises HVException:
//   "Datei %s kann nicht geöffnet werden" (source) when the source cannot be opened,
//   "Datei %s kann nicht erstellt werden" (target) when the target cannot be created
//     (also a read-only target, a running program, a target locked by another process,
//     and the source itself),
//   "Stream-Lesefehler" / "Stream-Schreibfehler" when reading or writing fails.
void CopyFileContents(const QString &source, const QString &target);

// Appends text as a line (UTF-16 little endian, CR LF) to the file at path, created
// with the byte-order mark FF FE when missing. header: first a line with the current
// time "yyyy-MM-dd hh:mm:ss" and a line of 40 dashes; emptyLine: an empty line after
// the text. When maxSize > 0 and the file is larger, it is first renamed to its older
// generation (name + "_2" + extension), replacing that. False when the file could not
// be written.
bool AppendTextToFile(const QString &path, const QString &text, bool header, bool emptyLine, qint64 maxSize);
