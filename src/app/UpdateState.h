#pragma once

#include <QString>
#include <cstdint>

// The update job's settings and the flags that the update sequence and the
// post-update tasks share. Held by the main window, passed to each step.
struct UpdateState {
    // From the job file, section "COMMON".
    QString HostProgram;       // ORGEXE
    QString HostParameters;    // ORGPARAM
    QString ConfigurationFile; // USEHVK
    int32_t HostProcessId = 0; // PROGID
    QString UpdateNumber;      // UPDATENR

    bool CancelRequested = false;
    bool InstallerRunning = false;
    bool InstallerSucceeded = true;
    bool ServiceStopped = false;
    bool RunningAsSystemAccount = false;

    // The process exit code: 1 from the start of the update sequence, 0 only on success.
    int ExitCode = 0;
};
