#include "app/HostWait.h"

#include "app/IUpdateReporter.h"
#include "app/UpdateState.h"
#include "platform/files/FileServices.h"
#include "platform/system/ProcessList.h"
#include "ui/translation/Translation.h"

#include <QThread>

namespace {

// One pass costs a 5 ms sleep, a process list and one open attempt; no back-off, so the
// update starts within a few milliseconds of the host's end.
constexpr unsigned long kPassSleepMs = 5;
// Pauses around the "ended" line, giving the host's last file handles time to close.
constexpr unsigned long kSettleMs = 500;

bool HostStillRuns(const UpdateState &state, TIntList &hostProcesses)
{
    ListProcessesByProgram(state.HostProgram, hostProcesses);
    if (hostProcesses.IndexOf(state.HostProcessId) >= 0)
        return true;
    return IsFileLocked(state.HostProgram, false);
}

} // namespace

void WaitForHostExit(const UpdateState &state, IUpdateReporter &reporter, TIntList &hostProcesses)
{
    do {
        QThread::msleep(kPassSleepMs);
    } while (HostStillRuns(state, hostProcesses));

    QThread::msleep(kSettleMs);
    reporter.AddProgressLine(TranslateText("!!Anwendung beendet. Update starten..."), 0);
    QThread::msleep(kSettleMs);
}
