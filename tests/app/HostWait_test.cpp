#include "app/HostWait.h"

#include "app/RecordingReporter.h"
#include "app/UpdateTestFixture.h"
#include "platform/system/ProcessList.h"
#include "ui/translation/Translation.h"

#include <QProcess>

using namespace testsupport;

namespace {

class HostWait : public UpdateFolderFixture
{
protected:
    RecordingReporter reporter;
    TIntList processes;
};

TEST_F(HostWait, EndsAtOnceWhenTheHostHasEndedEvenIfItsIdNowBelongsToAnotherProgram)
{
    WaitForHostExit(state, reporter, processes);
    ASSERT_EQ(reporter.lines.size(), 1);
    EXPECT_EQ(reporter.lines.first().text, TranslateText("!!Anwendung beendet. Update starten..."));
    EXPECT_EQ(reporter.lines.first().level, 0);
}

TEST_F(HostWait, WaitsUntilEveryRunningInstanceOfTheHostProgramHasEnded)
{
    // Two instances started from the host folder: the program file stays busy until both end.
    QProcess first;
    QProcess second;
    first.start(hostProgram, {"--run-ms", "300"});
    second.start(hostProgram, {"--run-ms", "900"});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(second.waitForStarted());
    state.HostProcessId = int32_t(first.processId());
    const int32_t secondPid = int32_t(second.processId());

    WaitForHostExit(state, reporter, processes);

    // The wait ended only after the last instance had ended: its process is gone (the
    // exit of a child cannot be reaped here while this thread sleeps, so ask /proc).
    EXPECT_FALSE(IsProcessAlive(secondPid) && QFile(QString("/proc/%1/exe").arg(secondPid)).exists());
    first.waitForFinished();
    second.waitForFinished();
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(reporter.lines.size(), 1);
}

} // namespace
