#include "app/FinishUpdate.h"

#include "app/IUpdateReporter.h"
#include "app/UpdateState.h"
#include "common/HVException.h"
#include "platform/files/FileServices.h"
#include "platform/process/CommandLine.h"
#include "platform/system/SystemProcess.h"
#include "tasks/RefreshConfiguration.h"
#include "tasks/RestartServiceAfterUpdate.h"
#include "tasks/RunExternalInstallers.h"
#include "ui/translation/Translation.h"

#include <QFileInfo>

namespace {

// Configuration refresh and installers after a complete copy. A failure raised by either
// is the error outcome: the update is not complete, but the host restart, the clean-up
// and the service restart that follow must still run.
void DecideCompletedOutcome(UpdateState &state, IUpdateReporter &reporter, const QStringList &stagedFiles)
{
    try {
        RefreshConfiguration(state, reporter, stagedFiles, false);
        if (RunExternalInstallers(state, reporter, stagedFiles)) {
            reporter.ReportResult(false, TranslateText("!!Update durchgeführt"));
            RefreshConfiguration(state, reporter, stagedFiles, true);
            state.ExitCode = 0;
        } else {
            reporter.ReportResult(true, TranslateText("!!Update mit Fehler beendet"));
        }
    } catch (const std::exception &e) {
        state.ExitCode = 1;
        reporter.ReportException(e);
        reporter.ReportResult(true, TranslateText("!!Update mit Fehler beendet"));
    }
}

} // namespace

bool RestartHost(const QString &hostProgram, const QString &hostParameters, const QString &stagingFolder)
{
    // The host inherits the updater's current folder. When that lies in the staging
    // folder, which the clean-up removes right after (Linux removes a folder that is some
    // process's current folder), the host would work in a deleted folder: it starts in
    // its own folder instead.
    QString workingFolder;
    const QString current = GetCurrentFolder();
    if (!stagingFolder.isEmpty() &&
        (current == stagingFolder || current.startsWith(stagingFolder + QLatin1Char('/'))))
        workingFolder = ExtractFileDir(hostProgram);
    return StartDetachedProgram(hostProgram, SplitCommandLine(hostParameters), workingFolder);
}

void FinishUpdate(UpdateState &state, IUpdateReporter &reporter, const QString &stagingFolder,
                  const QStringList &stagedFiles)
{
    if (state.CancelRequested)
        reporter.ReportResult(true, TranslateText("!!Update abgebrochen"));
    else
        DecideCompletedOutcome(state, reporter, stagedFiles);

    // Unattended runs never start the host: no user session would own it.
    if (!state.RunningAsSystemAccount) {
        if (RestartHost(state.HostProgram, state.HostParameters, stagingFolder))
            reporter.CloseUpdater();
        else
            reporter.ReportResult(true, TranslateText("!!Programm konnte nicht gestartet werden"));
    }

    CleanStagingFolder(stagingFolder, stagedFiles);
    RestartServiceAfterUpdate(state, reporter);

    if (state.RunningAsSystemAccount)
        reporter.CloseUpdater();
}

void CleanStagingFolder(const QString &folder, const QStringList &files)
{
    QStringList leftovers;
    for (const QString &relative : files) {
        const QString path = folder + QLatin1Char('/') + relative;
        if (!DeleteFile(path)) {
            const QFileInfo info(path);
            if (info.exists() || info.isSymLink())
                leftovers.append(path);
        }
    }
    if (!leftovers.isEmpty()) {
        DeleteFilesLater(folder, leftovers);
        return;
    }
    // The running updater's own file is deleted at once here (Linux allows it), so the
    // deferred deletion, which would also remove the folder, may have nothing to do:
    // the folder goes now when it is empty.
    RemoveFolder(folder);
}
