#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

class QIODevice;

// File-system queries. None of them raises; failures give false, -1, 0 or empty text.

// True when path names an existing file (a link to one counts), not a folder.
bool FileExists(const QString &path);
// False for a missing file or a folder; otherwise true and the last-write time (local).
bool GetFileDateTime(const QString &path, QDateTime &time);
bool FolderExists(const QString &path);
// Size in bytes; -1 when missing or a folder.
qint64 GetFileSize64(const QString &path);

// Whether the file cannot be opened for exclusive writing now. A missing file counts as
// locked exactly when its folder is not writable; a missing folder as locked. With
// sharingIsFree, a file that is only in use by another process (locked, or a running
// program) does not count as locked; missing permission still does.
bool IsFileLocked(const QString &path, bool sharingIsFree);

// CRC-32 (IEEE 802.3) of the whole file; 0 for a file that cannot be read.
quint32 FileCRC32(const QString &path);

// Whether the first 40 bytes of stream contain "<?xml"; the position is set back to 0.
bool IsXmlStream(QIODevice *stream);

// The "FileVersion" text a program or library carries (the running program's own when
// path is empty); empty when it carries none.
QString GetFileVersionText(const QString &path = QString());

// "<message> ErrorCode: <8 hex digits>" for the thread's last system error, or
// "ErrorCode: <8 hex digits>" when the system has no message for it; empty for none.
QString GetLastErrorText();
