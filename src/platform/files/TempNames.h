#pragma once

#include <QString>
#include <QtGlobal>

class SystemFile;

// Unique names and temporary folders.
//
// Every name handed out here is created exclusively at the moment it is chosen (never
// through an existing file, folder or planted symbolic link), so another local user
// cannot redirect what the program writes there by guessing the name first.

// Seeds the generator behind the unique names (it seeds itself from the clock on first
// use). Tests seed it to know which names come next.
void SeedUniqueNameGenerator(quint32 seed);

// Creates a new empty file folder + "/" + twelve digits + "." + ext, exclusively and
// readable only by its owner, and returns its name. The empty file is a placeholder:
// the caller writes to it (or deletes it). Empty text when no file could be created
// (missing or unwritable folder).
QString MakeUniqueFileName(const QString &folder, const QString &ext);
// The same, handing back the created file open for reading and writing, so the caller
// writes through exactly the file that was created.
QString CreateUniqueFile(const QString &folder, const QString &ext, SystemFile &file);
// The same for a new folder.
QString CreateUniqueFolder(const QString &folder, const QString &ext);
// MakeUniqueFileName(GetTempFolder(), ext). Raises like GetTempFolder.
QString MakeUniqueTempFileName(const QString &ext);

// The system temporary folder (TMPDIR, else /tmp) without trailing separators, checked
// once by creating and deleting a file in it, then cached for the process's life.
// Raises HVException "Cannot write to temp-directory: " + folder when it is missing or
// not writable.
QString GetTempFolder();
// Drops the cached temporary folder (tests that change TMPDIR).
void ForgetTempFolder();

// TMP, else TEMP, else the system temporary folder (the fallback folder when that is
// the program's own folder); the fallback folder when no file can be created there.
QString GetWritableTempFolder();

// Whether a folder and a file can be created inside folder, which is created first
// when missing. Probes with a new folder and file, removed again.
bool IsFolderWritable(const QString &folder);
// False for an empty folder text; otherwise IsFolderWritable and, when true, the folder
// made to exist.
bool CreateWritableFolder(const QString &folder);
