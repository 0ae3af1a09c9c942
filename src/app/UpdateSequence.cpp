#include "app/UpdateSequence.h"

#include "app/FinishUpdate.h"
#include "app/HostWait.h"
#include "app/IUpdateReporter.h"
#include "app/UpdateGuard.h"
#include "app/UpdateState.h"
#include "common/HVException.h"
#include "common/TIntList.h"
#include "platform/files/FileServices.h"
#include "tasks/StopServiceBeforeUpdate.h"
#include "ui/translation/Translation.h"

#include <QFileInfo>
#include <QThread>
#include <optional>

namespace {

// Pause between two attempts to delete or copy a file; long enough for a virus scanner
// or an indexer to let go of a file it has just opened.
constexpr unsigned long kRetryPauseMs = 1000;
constexpr int kAttempts = 3;

// Fills the placeholders "%s" and "%d" of a translated text in order; text inserted for
// one placeholder is never searched for the next.
QString FormatText(QString pattern, const QStringList &values)
{
    qsizetype from = 0;
    for (const QString &value : values) {
        const qsizetype s = pattern.indexOf(QLatin1String("%s"), from);
        const qsizetype d = pattern.indexOf(QLatin1String("%d"), from);
        qsizetype at = s < 0 ? d : (d < 0 ? s : std::min(s, d));
        if (at < 0)
            break;
        pattern.replace(at, 2, value);
        from = at + value.size();
    }
    return pattern;
}

// An entry of any kind except a real folder: a file, a link (also a dangling one), a pipe.
bool NonFolderEntryExists(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return true;
    return info.exists() && !info.isDir();
}

bool IsRealFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

// Only regular files are copied. A link could lead anywhere (the updater may run as
// root), and opening a pipe or a device for reading could block for ever.
bool IsRegularFile(const QString &path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
}

QString RetryLine(const QString &source)
{
    return FormatText(TranslateText("!!Datei %s kann nicht kopiert werden. Nochmaliger Versuch"),
                      {ExtractFileName(source)});
}

// The deletion step of CopyFileWithRetry: removes an existing target (never a folder,
// and a link itself rather than what it points to), with up to three attempts.
void DeleteTargetWithRetry(const QString &target, const QString &lineName, IUpdateReporter &reporter)
{
    if (!NonFolderEntryExists(target) || DeleteFile(target))
        return;
    for (int attempt = 2; attempt <= kAttempts; ++attempt) {
        reporter.AddProgressLine(RetryLine(lineName), 1);
        QThread::msleep(kRetryPauseMs);
        if (DeleteFile(target) || !NonFolderEntryExists(target))
            return;
    }
    throw HVException(QString());
}

// Keeps the version about to be replaced below the backup folder. Moving it is as safe as
// copying it (the new version is written to a fresh file either way) and costs nothing,
// since the backup folder lies in the host folder; a copy is the fallback where the move
// is refused (another file system mounted in between, for example).
ReplacedFile BackupPrevious(const QString &target, const QString &backup, IUpdateReporter &reporter)
{
    ReplacedFile row;
    row.Backup = backup;
    row.Target = target;
    if (!NonFolderEntryExists(target))
        return row;
    DeleteTargetWithRetry(backup, target, reporter);
    const QString backupFolder = ExtractFileDir(backup);
    if (!IsRealFolder(backupFolder))
        ForceFolders(backupFolder);
    if (!NonFolderEntryExists(backup) && !IsRealFolder(backup) && RenameFile(target, backup)) {
        row.HadPrevious = true;
        row.BackupByRename = true;
        return row;
    }
    CopyFileWithRetry(target, backup, reporter);
    row.HadPrevious = true;
    return row;
}

// Puts back the state before one file was replaced: the previous version, or no file
// when the file is new with this update.
void RestoreFile(const ReplacedFile &row, IUpdateReporter &reporter)
{
    if (!row.HadPrevious) {
        DeleteTargetWithRetry(row.Target, row.Target, reporter);
        return;
    }
    const bool backupThere = row.BackupByRename ? NonFolderEntryExists(row.Backup) : IsRegularFile(row.Backup);
    if (!backupThere)
        // Without the previous version, the new one stays: better than no file at all.
        throw HVException(FormatText(QStringLiteral("Datei %s kann nicht geöffnet werden"), {row.Backup}));
    if (row.BackupByRename) {
        DeleteTargetWithRetry(row.Target, row.Target, reporter);
        if (RenameFile(row.Backup, row.Target))
            return;
    }
    CopyFileWithRetry(row.Backup, row.Target, reporter);
}

// Reporting on the failure path must not keep the rollback from running: a run log that
// cannot be written makes every progress line raise.
template <typename Report>
void ReportDuringRollback(Report report)
{
    try {
        report();
    } catch (const std::exception &) {
    }
}

void Rollback(const QList<ReplacedFile> &rows, IUpdateReporter &reporter)
{
    for (const ReplacedFile &row : rows) {
        try {
            RestoreFile(row, reporter);
        } catch (const std::exception &e) {
            // A failed restore must not stop the others: report it and go on.
            QString line = FormatText(TranslateText("!!Datei %s konnte nicht wiederhergestellt werden"), {row.Target});
            const QString reason = ExceptionMessageText(e);
            if (!reason.isEmpty())
                line += QStringLiteral(": ") + reason;
            ReportDuringRollback([&] { reporter.AddProgressLine(line, 2); });
        }
    }
}

bool GuardPasses(const UpdateState &state, const QString &stagingFolder)
{
    // A folder is no program: the host wait could never see it unlocked and would last
    // for ever, and its parent folder is not the host's folder.
    // The host's folder must exist: for a missing one the lock test never turns false, so
    // the wait would never end, and a program named without any folder would make the
    // copy target the file system's root.
    return UpdateJobIsValid(state, stagingFolder) && !IsRealFolder(state.HostProgram)
        && IsRealFolder(ExtractFileDir(state.HostProgram));
}

} // namespace

bool ShouldCopyStagedFile(const QString &relativePath)
{
    const QString lower = relativePath.toLower();
    return lower != QStringLiteral("zav.hvk") && lower != QStringLiteral("qx_update.ini");
}

void CopyFileWithRetry(const QString &source, const QString &target, IUpdateReporter &reporter)
{
    DeleteTargetWithRetry(target, source, reporter);
    // Copying into a folder that stands where the file belongs would put the file one
    // level too deep, out of reach of the rollback.
    if (IsRealFolder(target))
        throw HVException(FormatText(QStringLiteral("Datei %s kann nicht erstellt werden"), {target}));
    if (!IsRegularFile(source))
        throw HVException(FormatText(QStringLiteral("Datei %s kann nicht geöffnet werden"), {source}));
    for (int attempt = 1;; ++attempt) {
        try {
            CopyFileContents(source, target);
            return;
        } catch (const std::exception &) {
            if (attempt == kAttempts)
                throw;
        }
        reporter.AddProgressLine(RetryLine(source), 1);
        QThread::msleep(kRetryPauseMs);
    }
}

UpdateFolders UpdateFoldersFor(const QString &stagingFolder, const QString &hostProgram)
{
    UpdateFolders folders;
    folders.Staging = stagingFolder;
    folders.Host = ExtractFileDir(hostProgram);
    folders.Backup = folders.Host + QStringLiteral("/backup/progupdate");
    return folders;
}

void EmptyBackupFolder(const UpdateFolders &folders)
{
    if (IsRealFolder(folders.Backup))
        DeleteFolderContents(folders.Backup, QStringLiteral("*.*"), true, true);
}

void PrepareBackupFolder(const UpdateFolders &folders, IUpdateReporter &reporter)
{
    reporter.AddProgressLine(TranslateText("!!Backupverzeichnis anlegen"), 0);
    ForceFolders(folders.Backup);
    reporter.AddProgressLine(FormatText(TranslateText("!!Verzeichnis %s angelegt"), {folders.Backup}), 0);
}

bool CopyStagedFiles(UpdateState &state, IUpdateReporter &reporter, const UpdateFolders &folders,
                     const QStringList &stagedFiles)
{
    QList<ReplacedFile> replaced;
    // The file being replaced when a copy fails: its previous version has already moved
    // to the backup and a half-written new one may stand in its place, so it is restored
    // with the others.
    std::optional<ReplacedFile> current;
    try {
        for (qsizetype i = 0; i < stagedFiles.size(); ++i) {
            const QString &relative = stagedFiles.at(i);
            if (!ShouldCopyStagedFile(relative))
                continue;
            const QString source = folders.Staging + QLatin1Char('/') + relative;
            const QString target = folders.Host + QLatin1Char('/') + relative;
            const QString backup = folders.Backup + QLatin1Char('/') + relative;
            current = BackupPrevious(target, backup, reporter);
            CopyFileWithRetry(source, target, reporter);
            replaced.append(*current);
            current.reset();
            reporter.SetProgressPosition(int(i));
        }
        return true;
    } catch (const std::exception &e) {
        state.CancelRequested = true;
        ReportDuringRollback([&] { reporter.AddProgressLine(TranslateText("!!Fehler beim Kopieren"), 0); });
        ReportDuringRollback([&] {
            if (!ExceptionMessageText(e).isEmpty())
                reporter.ReportException(e);
            else
                reporter.ReportResult(true, TranslateText("!!Fehler beim Kopieren"));
        });
        ReportDuringRollback([&] { reporter.AddProgressLine(TranslateText("!!Update wird zurückgesetzt"), 0); });
        if (current)
            replaced.append(*current);
        Rollback(replaced, reporter);
        return false;
    }
}

void RunUpdateSequence(UpdateState &state, IUpdateReporter &reporter)
{
    RunUpdateSequence(state, reporter, GetOwnFolder());
}

void RunUpdateSequence(UpdateState &state, IUpdateReporter &reporter, const QString &stagingFolder)
{
    state.ExitCode = 1;
    TIntList hostProcesses;
    QStringList stagedFiles;

    if (!GuardPasses(state, stagingFolder)) {
        reporter.ReportResult(true, TranslateText("!!Kein Updateinformationen gefunden!"));
        reporter.CloseUpdater();
        return;
    }

    reporter.AddProgressLine(
        FormatText(TranslateText("!!Aktualisiere Anwendung \"%s\""), {ExtractFileName(state.HostProgram)}), 0);
    StopServiceBeforeUpdate(state, reporter);
    reporter.AddProgressLine(TranslateText("!!Warte auf Programmende..."), 0);
    const WaitCursor cursor(Qt::WaitCursor);
    WaitForHostExit(state, reporter, hostProcesses);

    const UpdateFolders folders = UpdateFoldersFor(stagingFolder, state.HostProgram);
    EmptyBackupFolder(folders);
    ListFiles(stagedFiles, folders.Staging, QStringLiteral("*.*"), false, true, false);
    reporter.AddProgressLine(
        FormatText(TranslateText("!!%d Dateien aktualisieren"), {QString::number(stagedFiles.size())}), 0);
    PrepareBackupFolder(folders, reporter);
    reporter.SetProgressMax(int(stagedFiles.size()));
    reporter.SetProgressPosition(0);

    // A cancel the user confirmed before the copy (before the start, during the service
    // stop) keeps the installed version as it is: copying anyway would leave new program
    // files behind an outcome that says "cancelled" and a configuration never refreshed.
    if (!state.CancelRequested)
        CopyStagedFiles(state, reporter, folders, stagedFiles);
    FinishUpdate(state, reporter, folders.Staging, stagedFiles);
}
