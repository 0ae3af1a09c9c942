#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IUpdateReporter;
struct UpdateState;

// The whole update run, called once by the main window's start timer: guard, service
// stop, host wait, backup and copy with rollback, then completion (outcome, host restart,
// clean-up of the staging folder, service restart, closing). Reports only through
// reporter; sets state.ExitCode (1 from the start, 0 only after a complete update).
// stagingFolder is the folder of the updater's own program file.
void RunUpdateSequence(UpdateState &state, IUpdateReporter &reporter, const QString &stagingFolder);
void RunUpdateSequence(UpdateState &state, IUpdateReporter &reporter);

// False for the files that are never copied: "Zav.hvk" (any letter case) and
// "qx_update.ini", and only directly in the staging folder.
bool ShouldCopyStagedFile(const QString &relativePath);

// Copies source over target with up to three attempts for deleting the old target and
// three for copying, one second apart, with a warning line before each repeat. Raises
// when the last attempt fails. A source that is not a regular file (a link, a pipe, a
// device) or a target that is a folder fails at once: retrying cannot help, and a pipe
// would block the reader.
void CopyFileWithRetry(const QString &source, const QString &target, IUpdateReporter &reporter);

// The folders of one run.
struct UpdateFolders {
    QString Staging;
    QString Host;
    QString Backup; // Host + "/backup/progupdate"
};
UpdateFolders UpdateFoldersFor(const QString &stagingFolder, const QString &hostProgram);

// One replaced file: where its previous version went, and where the new one is.
struct ReplacedFile {
    QString Backup;
    QString Target;
    bool HadPrevious = false;   // a previous version existed and was backed up
    bool BackupByRename = false; // the previous version was moved, not copied
};

// Empties a backup folder left from an earlier run (its emptied folders are removed).
void EmptyBackupFolder(const UpdateFolders &folders);
// Creates the backup folder, with the progress lines that go with it.
void PrepareBackupFolder(const UpdateFolders &folders, IUpdateReporter &reporter);

// Copies every staged file into the host folder, keeping each replaced file below the
// backup folder. On failure reports it, sets state.CancelRequested and restores every
// file it touched; returns false then.
bool CopyStagedFiles(UpdateState &state, IUpdateReporter &reporter, const UpdateFolders &folders,
                     const QStringList &stagedFiles);
