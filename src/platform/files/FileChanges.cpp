#include "platform/files/FileChanges.h"

#include "common/HVException.h"
#include "platform/files/FileQueries.h"
#include "platform/files/PathText.h"
#include "platform/system/SystemFile.h"
#include "platform/system/SystemFileSystem.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

namespace {

// Block sizes of the copy where the kernel cannot copy by itself: small files need no
// big buffer, big files profit from fewer calls.
constexpr qint64 kSmallFileLimit = 1000000;
constexpr qint64 kSmallFileBlock = 64000;
constexpr qint64 kLargeFileBlock = 256000;

QString FileError(const char *pattern, const QString &path)
{
    return QString::fromUtf8(pattern).replace(QLatin1String("%s"), path);
}

void ProcessMessagesFor1ms()
{
    if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QThread::msleep(1);
}

QByteArray Utf16LeLine(const QString &text)
{
    const QString line = text + QStringLiteral("\r\n");
    QByteArray bytes;
    bytes.reserve(line.size() * 2);
    for (QChar c : line) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace

bool ForceFolders(const QString &path)
{
    if (path.isEmpty())
        throw HVException(QStringLiteral("Verzeichnis kann nicht erstellt werden"));
    if (FolderExists(path))
        return true; // the common case: one query instead of one per level
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString current = slashed.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    const QStringList parts = slashed.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        current += part;
        if (!FolderExists(current))
            SystemCreateFolder(current); // an error shows in the final check
        current += QLatin1Char('/');
    }
    return FolderExists(slashed);
}

bool DeleteFile(const QString &path)
{
    return SystemDeleteFile(path);
}

bool RemoveFolder(const QString &path)
{
    return SystemRemoveFolder(path);
}

bool RenameFile(const QString &oldPath, const QString &newPath)
{
    return SystemRenamePath(oldPath, newPath);
}

QString GetCurrentFolder()
{
    return SystemCurrentFolder();
}

bool SetCurrentFolder(const QString &path)
{
    return SystemSetCurrentFolder(path);
}

QDateTime RoundToDosTime(const QDateTime &time)
{
    qint64 seconds = time.toSecsSinceEpoch();
    const qint64 local = seconds + SystemUtcOffsetAt(seconds);
    // Days since 1970 to a calendar date (2440588 is the Julian day of 1970-01-01).
    const qint64 days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const int year = QDate::fromJulianDay(days + 2440588).year();
    if (year >= 1980 && year <= 2107)
        seconds -= ((local % 2) + 2) % 2;
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

void CopyFileContents(const QString &source, const QString &target)
{
    QString targetPath = target;
    if (FolderExists(targetPath))
        targetPath = AppendBackslash(targetPath) + ExtractFileName(source);

    SystemFileStatus sourceStatus;
    const bool sourceFound = SystemQueryPath(source, sourceStatus) && sourceStatus.kind == SystemEntryKind::File;
    const qint64 size = sourceFound ? sourceStatus.size : -1;
    const qint64 blockSize = size < kSmallFileLimit ? kSmallFileBlock : kLargeFileBlock;

    // Reading takes a shared lock, so nobody writes the source meanwhile.
    SystemFile input;
    if (!input.Open(source, SystemFile::Mode::Read)) {
        ProcessMessagesFor1ms();
        if (!input.Open(source, SystemFile::Mode::Read))
            throw HVException(FileError("Datei %s kann nicht geöffnet werden", source));
    }

    const QString targetFolder = ExtractFilePath(targetPath);
    if (!targetFolder.isEmpty())
        ForceFolders(targetFolder);

    // The exclusive lock is taken before the target is emptied: a target that another
    // open holds (the source itself among them) fails here and keeps its contents.
    SystemFile output;
    const int permissions = sourceFound ? sourceStatus.permissions : 0666;
    if (!output.Open(targetPath, SystemFile::Mode::CreateTruncate, nullptr, SystemFile::Locking::ByAccess, permissions))
        throw HVException(FileError("Datei %s kann nicht erstellt werden", targetPath));

    bool readFailed = false;
    if (!output.CopyFrom(input, blockSize, &readFailed))
        throw HVException(QString::fromUtf8(readFailed ? "Stream-Lesefehler" : "Stream-Schreibfehler"));

    QDateTime lastWrite;
    if (input.GetLastWriteTime(lastWrite))
        output.SetLastWriteTime(RoundToDosTime(lastWrite));
}

bool AppendTextToFile(const QString &path, const QString &text, bool header, bool emptyLine, qint64 maxSize)
{
    if (maxSize > 0 && GetFileSize64(path) > maxSize) {
        const QString older = RemoveFileExtension(path, false) + QStringLiteral("_2") + ExtractFileExt(path);
        DeleteFile(older);
        RenameFile(path, older);
    }
    SystemFile file;
    if (!file.Open(path, SystemFile::Mode::OpenOrCreate) || !file.SeekToEnd())
        return false;
    QByteArray bytes;
    if (file.Size() == 0)
        bytes.append("\xFF\xFE", 2);
    if (header) {
        bytes += Utf16LeLine(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        bytes += Utf16LeLine(QString(40, QLatin1Char('-')));
    }
    bytes += Utf16LeLine(text);
    if (emptyLine)
        bytes += Utf16LeLine(QString());
    return file.Write(bytes);
}
