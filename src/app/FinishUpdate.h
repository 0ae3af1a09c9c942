#pragma once

#include <QString>
#include <QStringList>

class IUpdateReporter;
struct UpdateState;

// The tail of the update run, whatever the outcome: reports the outcome (running the
// configuration refresh and the installers after a complete copy), sets the exit code,
// restarts the host when a user is present, deletes the staged files, restarts the
// service and closes the window.
void FinishUpdate(UpdateState &state, IUpdateReporter &reporter, const QString &stagingFolder,
                  const QStringList &stagedFiles);

// Deletes every staged file (relative paths below folder), including those not copied,
// and then the folder itself once it is empty. Files that cannot be deleted now are
// handed to the deferred deletion, which also removes the folder afterwards.
void CleanStagingFolder(const QString &folder, const QStringList &files);

// Starts the host program detached, its parameters split by the Windows rules (never
// through a shell), in the updater's current folder unless that lies in the staging
// folder (then in the host's folder). True when it was started.
bool RestartHost(const QString &hostProgram, const QString &hostParameters, const QString &stagingFolder);
