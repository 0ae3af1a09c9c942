#include "platform/log/TZavLog.h"

#include "common/HVException.h"
#include "platform/files/FileServices.h"
#include "platform/files/TextFileWriter.h"

#include <QFileInfo>
#include <QStringList>
#include <QtGlobal>

namespace {

const QString kSeparatorLine = QStringLiteral("----------");

QString LevelMark(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("[W] ");
    case 2:
        return QStringLiteral("[E] ");
    default:
        return QString();
    }
}

} // namespace

TZavLog::TZavLog()
    : Folder(GetOwnFolder() + QStringLiteral("/Log"))
{
}

TZavLog::~TZavLog() = default;

QString TZavLog::FormatLine(const QString &text, int level, bool timestamp, const QDateTime &now)
{
    // Empty lines and the dash line separate runs; they carry neither time nor level.
    if (text.isEmpty() || text == kSeparatorLine)
        return text;
    if (timestamp)
        return QStringLiteral("[%1] %2%3").arg(now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), LevelMark(level), text);
    return LevelMark(level) + text;
}

QString TZavLog::NewFileName(const QDateTime &now) const
{
    return QStringLiteral("%1/%2%3.log").arg(Folder, BaseName, now.toString(QStringLiteral("_yyyyMMdd_hhmmss")));
}

void TZavLog::WriteLine(const QString &text, int level, bool timestamp)
{
    const QString line = FormatLine(text, level, timestamp, QDateTime::currentDateTime());
    try {
        if (!EnsureFolder())
            return;
        m_fileName = CurrentFileName();
        // Settings for a new file: UTF-8 with byte-order mark; an existing file keeps the
        // encoding its mark shows. They are set again on every line, because appending to
        // an 8-bit file switched the writer to 8-bit text, and the next file may be new.
        if (!m_writer)
            m_writer = std::make_unique<TUnicodeFileWriter>();
        m_writer->SetUnicode(true);
        m_writer->SetUtf8(true);
        m_writer->SetByteOrderMark(true);
        m_writer->SetBigEndian(false);
        m_writer->Open(m_fileName, true);
        m_writer->WriteLine(line);
        m_writer->Close();
        PruneOldFiles();
    } catch (const std::exception &e) {
        if (m_writer)
            m_writer->Close();
        throw HVException(QStringLiteral("Fehler beim Schreiben der Logdatei: %1").arg(ExceptionMessageText(e)));
    }
}

bool TZavLog::EnsureFolder()
{
    const bool ok = QFileInfo(Folder).isDir() ? IsFolderWritable(Folder) : CreateWritableFolder(Folder);
    if (!ok && WarnOnce) {
        WarnOnce = false;
        const QString warning = QStringLiteral("Cannot write log file!");
        // The run log serves the unattended mode, where nobody could answer a dialog: the
        // owner decides how the warning is shown.
        if (OnWarning)
            OnWarning(warning);
        else
            qWarning("%s %s", qPrintable(warning), qPrintable(Folder));
    }
    return ok;
}

QStringList TZavLog::LogFiles() const
{
    QStringList files;
    ListFilesByKind(files, Folder, BaseName + QStringLiteral("_*.log"), 3);
    return files;
}

QString TZavLog::CurrentFileName()
{
    QStringList files = LogFiles();
    SortFilesByDate(files, true);
    const QString newest = files.isEmpty() ? QString() : files.first();
    const QDateTime now = QDateTime::currentDateTime();
    if (newest.isEmpty() || !QFileInfo(newest).isFile())
        return NewFileName(now);
    if (MaxSizeKB != -1 && QFileInfo(newest).size() / 1024 >= MaxSizeKB)
        return NewFileName(now);
    return newest;
}

void TZavLog::PruneOldFiles()
{
    try {
        QStringList files = LogFiles();
        if (MaxFiles == -1)
            return;
        SortFilesByDate(files, false);
        while (files.size() > MaxFiles) {
            DeleteFile(files.first()); // a failed deletion still drops the entry
            files.removeFirst();
        }
    } catch (const std::exception &e) {
        throw HVException(QStringLiteral("Fehler beim Löschen von alten Logdateien: %1").arg(ExceptionMessageText(e)));
    }
}
