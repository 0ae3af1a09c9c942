#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// One open file of the OS layer, with the sharing rules of the program:
//
// - Every open takes an advisory lock on the file itself, without ever blocking:
//   read-only access takes a shared lock, any write access an exclusive one. A lock
//   held by another open (this or another process) makes the open fail with
//   SystemErrorCode::SharingViolation (32), as does opening a running program's file
//   for writing.
// - After locking, the open checks that the path still names the file it locked (a
//   save may have replaced it by a rename meanwhile) and starts over otherwise.
// - Only regular files are opened; a folder, device or pipe gives AccessDenied (5).
// - A failed open reports a Windows-style code (see SystemError.h): 2 missing file,
//   3 missing folder on the path, 5 no permission or read-only file system, 32 locked,
//   80 exists (exclusive creation), 123 invalid name.
//
// "\" in a path is taken as "/". The object closes its file (and so its lock) when it
// is destroyed. Movable, not copyable.
class SystemFile
{
public:
    enum class Mode {
        Read,           // existing file, read only, shared lock
        Write,          // existing file, write only, exclusive lock
        ReadWrite,      // existing file, read and write, exclusive lock
        CreateTruncate, // create or empty an existing file (emptied only once locked), read and write
        OpenOrCreate,   // open or create, keep the contents, read and write
        CreateNew       // create exclusively: fails with 80 for any existing name, also a
                        // symbolic link, and never writes through one (O_EXCL|O_NOFOLLOW)
    };

    enum class Locking {
        ByAccess, // shared for Read, exclusive otherwise (the rule above)
        None      // no lock at all: for callers that deliberately share with everyone
    };

    SystemFile() = default;
    ~SystemFile();
    SystemFile(SystemFile &&other) noexcept;
    SystemFile &operator=(SystemFile &&other) noexcept;
    SystemFile(const SystemFile &) = delete;
    SystemFile &operator=(const SystemFile &) = delete;

    // Opens path (closing a file this object held before). On failure returns false and
    // stores the Windows-style code in *errorCode (when given) and in LastError();
    // the native error goes to LastSystemError(). createPermissions is used when a file
    // is created (before the process umask applies).
    bool Open(const QString &path, Mode mode, int *errorCode = nullptr,
              Locking locking = Locking::ByAccess, int createPermissions = 0666);

    bool IsOpen() const { return m_fd >= 0; }
    void Close();

    // Reads up to size bytes, continuing after short reads until size bytes or the end
    // of the file: a result below size means the end was reached. -1 on error.
    qint64 Read(char *data, qint64 size);
    // Writes all bytes; false on error (disk full, I/O error).
    bool Write(const char *data, qint64 size);
    bool Write(const QByteArray &bytes) { return Write(bytes.constData(), bytes.size()); }
    // Reads the rest of the file from the current position.
    bool ReadAll(QByteArray &bytes);

    qint64 Size() const;           // -1 on error
    bool Seek(qint64 position);    // from the start
    bool SeekToEnd();
    bool Resize(qint64 size);      // truncate or extend
    bool Sync();                   // data and metadata on disk (fsync)
    bool SetLastWriteTime(const QDateTime &time);
    bool GetLastWriteTime(QDateTime &time) const; // in UTC

    // Copies from source's current position to this file's current position until the
    // end of source, in blocks of blockSize bytes when the kernel cannot copy the data
    // itself. On failure returns false and sets *readFailed to whether reading the
    // source (true) or writing this file (false) failed.
    bool CopyFrom(SystemFile &source, qint64 blockSize, bool *readFailed);

    int LastError() const { return m_lastError; } // Windows-style code of the last failure
    int Handle() const { return m_fd; }           // the native descriptor, -1 when closed
    const QString &Path() const { return m_path; }

private:
    bool Fail(int nativeError);

    int m_fd = -1;
    int m_lastError = 0;
    QString m_path;
};
