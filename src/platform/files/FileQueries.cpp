#include "platform/files/FileQueries.h"

#include "platform/files/PathText.h"
#include "platform/files/TempNames.h"
#include "platform/system/SystemError.h"
#include "platform/system/SystemFile.h"
#include "platform/system/SystemFileSystem.h"
#include "platform/system/SystemVersionInfo.h"

#include <QIODevice>

#include <vector>
#include <zlib.h>

namespace {

// The block size of the checksum reads (the largest prime below 65536).
constexpr qint64 kCrcBlockSize = 65521;

} // namespace

bool FileExists(const QString &path)
{
    SystemFileStatus status;
    return SystemQueryPath(path, status) && status.kind == SystemEntryKind::File;
}

bool GetFileDateTime(const QString &path, QDateTime &time)
{
    SystemFileStatus status;
    if (!SystemQueryPath(path, status) || status.kind != SystemEntryKind::File)
        return false;
    time = status.lastWrite.toLocalTime();
    return true;
}

bool FolderExists(const QString &path)
{
    SystemFileStatus status;
    return SystemQueryPath(path, status) && status.kind == SystemEntryKind::Folder;
}

qint64 GetFileSize64(const QString &path)
{
    SystemFileStatus status;
    if (!SystemQueryPath(path, status) || status.kind != SystemEntryKind::File)
        return -1;
    return status.size;
}

bool IsFileLocked(const QString &path, bool sharingIsFree)
{
    SystemFile file;
    int error = 0;
    if (file.Open(path, SystemFile::Mode::Write, &error))
        return false;
    if (error == SystemErrorCode::FileNotFound)
        return !IsFolderWritable(ExtractFileDir(path));
    if (sharingIsFree
        && (error == SystemErrorCode::SharingViolation || error == SystemErrorCode::LockViolation
            || error == SystemErrorCode::SharingBufferExceeded))
        return false;
    return true;
}

quint32 FileCRC32(const QString &path)
{
    SystemFile file;
    if (!file.Open(path, SystemFile::Mode::Read))
        return 0;
    std::vector<char> buffer(kCrcBlockSize);
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        const qint64 n = file.Read(buffer.data(), kCrcBlockSize);
        if (n < 0)
            return 0;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(buffer.data()), uInt(n));
        if (n < kCrcBlockSize)
            return quint32(crc);
    }
}

bool IsXmlStream(QIODevice *stream)
{
    if (!stream || !stream->isOpen() || !stream->seek(0))
        return false;
    const QByteArray head = stream->read(40);
    stream->seek(0);
    return head.contains("<?xml");
}

QString GetFileVersionText(const QString &path)
{
    const QString file = path.isEmpty() ? SystemOwnProgramPath() : path;
    const QByteArray section = ReadElfSection(file, ".qxversion", 4096);
    // The section holds "FileVersion=<x.y.z.w>", possibly among other lines and padded
    // with NUL bytes.
    for (QByteArray line : section.split('\n')) {
        line = line.left(line.indexOf('\0') >= 0 ? line.indexOf('\0') : line.size()).trimmed();
        if (line.startsWith("FileVersion="))
            return QString::fromUtf8(line.mid(12)).trimmed();
    }
    return QString();
}

QString GetLastErrorText()
{
    const int error = LastSystemError();
    if (error <= 0)
        return QString();
    const QString code = QStringLiteral("%1").arg(uint(error), 8, 16, QLatin1Char('0')).toUpper();
    const QString message = SystemErrorMessage(error);
    if (message.isEmpty())
        return QStringLiteral("ErrorCode: ") + code;
    return message + QStringLiteral(" ErrorCode: ") + code;
}
