#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// File-system queries and changes of the OS layer. "\" in a path is taken as "/".
// Failures return false (or empty text) and record the native error for
// LastSystemError() (SystemError.h).

enum class SystemEntryKind { Missing, File, Folder, Other };

struct SystemFileStatus
{
    SystemEntryKind kind = SystemEntryKind::Missing;
    bool isLink = false;  // the name itself is a symbolic link (kind describes its target)
    qint64 size = -1;     // bytes, for files
    int permissions = 0;  // the permission bits (rwx for owner, group, others)
    QDateTime lastWrite;  // in UTC
};

// What path names; links are followed (status.isLink tells that there was one).
// False, with kind Missing, when nothing can be found there (also a dangling link).
bool SystemQueryPath(const QString &path, SystemFileStatus &status);

struct SystemFolderEntry
{
    QString name;
    SystemEntryKind kind = SystemEntryKind::Other; // of the link's target for a link
    bool isLink = false;
};

// The entries of folder other than "." and "..", in the order the file system
// delivers them. False when the folder cannot be read.
bool SystemListFolder(const QString &folder, QList<SystemFolderEntry> &entries);

bool SystemDeleteFile(const QString &path);     // a file or a link, never a folder
bool SystemRemoveFolder(const QString &path);   // an empty folder
// Creates one folder; fails when the name exists in any form, and never follows a
// link placed at the name: creation is exclusive. *errorCode (when given) receives the
// Windows-style code (0 on success, 80 for an existing name).
bool SystemCreateFolder(const QString &path, int *errorCode = nullptr);
// Moves or renames; fails when newPath exists (nothing is replaced).
bool SystemRenamePath(const QString &oldPath, const QString &newPath);
// Puts the file at source in the place of target in one step (rename over it): target
// names either its old or its new contents at any moment. Both must be on the same file
// system (a temporary file in target's folder). A link at target is replaced, not
// followed.
bool SystemReplaceFile(const QString &source, const QString &target);
// Gives the regular file at existing a second name newPath (a hard link). Fails when
// newPath exists, when existing is a link or no regular file, and where the file system
// has no hard links. *errorCode (when given) receives the Windows-style code (80 when
// newPath exists).
bool SystemLinkFile(const QString &existing, const QString &newPath, int *errorCode = nullptr);
// Makes a folder's entries (a rename, a new file) durable (fsync of the folder).
bool SystemSyncFolder(const QString &folder);
bool SystemSetLastWriteTime(const QString &path, const QDateTime &time);

// The local time's offset from UTC in seconds at the given moment (seconds since 1970).
int SystemUtcOffsetAt(qint64 utcSeconds);

QString SystemCurrentFolder();                  // empty on failure
bool SystemSetCurrentFolder(const QString &path);

// TMPDIR when set and not empty, else "/tmp"; without trailing separators.
QString SystemTempPath();
// A folder that is always present and writable for the system administrator; stands
// in where a Windows program falls back to the Windows folder.
QString SystemFallbackFolder();
// Creates a new folder below parent named prefix + six random characters (mkdtemp),
// readable only by the owner. Empty on failure.
QString SystemCreateTempFolder(const QString &parent, const QString &prefix);

// The environment as "NAME=value" entries, in the process's order (duplicates kept).
QStringList SystemEnvironmentEntries();

// The full path of the running program's file (empty when unknown).
QString SystemOwnProgramPath();
