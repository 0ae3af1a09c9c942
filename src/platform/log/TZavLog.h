#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class TUnicodeFileWriter;

// Writes progress lines to dated text files in a log folder. Each line is appended by
// opening, writing and closing the file, so the file is complete after every line. A new
// file starts when the newest one has reached MaxSizeKB; at most MaxFiles files are kept.
class TZavLog
{
public:
    TZavLog();
    ~TZavLog();
    TZavLog(const TZavLog &) = delete;
    TZavLog &operator=(const TZavLog &) = delete;

    QString Folder;                // default: the program's folder + "/Log"
    QString BaseName = QStringLiteral("Log");
    int MaxSizeKB = 500;           // -1: no size limit
    int MaxFiles = 10;             // -1: no limit on the number of files
    bool WarnOnce = true;

    // Called once when the log folder cannot be written. Without a handler the warning
    // goes to the diagnostic output.
    std::function<void(const QString &)> OnWarning;

    // The file of the last write.
    const QString &FileName() const { return m_fileName; }

    // Formats and appends one line. Raises "Fehler beim Schreiben der Logdatei: %s".
    void WriteLine(const QString &text, int level, bool timestamp);

    // The written form of a line (without line break) at the given time.
    static QString FormatLine(const QString &text, int level, bool timestamp, const QDateTime &now);
    // Folder/BaseName_yyyymmdd_hhnnss.log for the given time.
    QString NewFileName(const QDateTime &now) const;

private:
    bool EnsureFolder();
    QString CurrentFileName();
    QStringList LogFiles() const;
    void PruneOldFiles();

    QString m_fileName;
    std::unique_ptr<TUnicodeFileWriter> m_writer;
};
